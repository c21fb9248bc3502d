#pragma once

#include <array>
#include <functional>
#include <string>

class SettingsStore;

// The program settings the main dialog keeps: viewer and browser commands, browser-control
// choices, window positions, the interface language, start-up and drag-and-drop behaviour,
// the input-file kind, a few remembered options and fourteen lists of recent names. Each
// member is stored under the product key (ProductSettingsKey) at the value path named beside
// it; Yes/No members are 0 or 1.

// The recent-name lists, in the order SaveSettings writes them.
enum class RecentList : int {
  Policy,
  Files,
  OutDir,
  InDir,
  HtmlFragment,
  StyleDefinitionFile,
  TableDefinitionFile,
  TextSubstitutionFile,
  LinkDictionaryFile,
  BgImage,
  ShortcutIcon,
  HtmlHeader,
  HtmlFooter,
  HtmlScript,
};
inline constexpr int kRecentListCount = 14;
// Names used of a recent list; the lists other than the policy list keep an eleventh place
// that is never stored.
inline constexpr int kRecentNames = 10;
inline constexpr int kRecentPlaces = 11;

struct WindowPosition {
  int left = -1;
  int top = -1;
  // Both coordinates are 0 or more.
  bool IsSaved() const { return left >= 0 && top >= 0; }
};

struct ProgramSettings {
  std::string currentDir;         // "\CurrentDir"
  std::string ddeServerName;      // "\DDEServerName"
  std::string ddeWorking;         // "\DDEWorking"
  std::string browserCommand;     // "\BrowserCommand"
  std::string viewPdfCommand;     // "\ViewPDFCommand"
  std::string viewRtfCommand;     // "\ViewRTFCommand"
  std::string viewTextCommand;    // "\ViewTextCommand"
  std::string htmlDoco;           // "\HTMLDoco"
  std::string defaultPolicyFile;  // "\DefaultPolicy\File"
  std::string language = "English";  // "\Languages\Language"
  std::string languageFile;          // "\Languages\LanguageFile"
  WindowPosition mainDialog;      // "\Dialogs\Main\Left", "...\Top"
  WindowPosition analysisSheet;   // "\Dialogs\Analysis\..."
  WindowPosition configSheet;     // "\Dialogs\Config\..."
  WindowPosition outputSheet;     // "\Dialogs\Output\..."
  WindowPosition settingsSheet;   // "\Dialogs\Settings\..."
  WindowPosition statusWindow;    // "\Dialogs\Status\..."
  int alwaysReloadPolicy = 1;     // "\DefaultPolicy\AlwaysReload"
  int useDefaultPolicy = 0;       // "\DefaultPolicy\Used"
  int useDdeToViewHtml = 1;       // "\UseDDEToViewHTML"
  int addUrlPrefix = 0;           // "\AddURLPrefix"
  int autoDdeUpdates = 1;         // "\AutoDDEUpdates"
  int rememberSettings = 0;       // "\RememberSettings"
  int dropViewResults = 1;        // "\DragAndDrop\ViewResults"
  int dropViewStatusWindow = 0;   // "\DragAndDrop\ViewStatusWindow"
  int dropStartProgram = 0;       // "\DragAndDrop\StartProgram"
  int displayToolTips = 1;        // "\Dialogs\DisplayToolTips"
  int displayStatusDialog = 1;    // "\Dialogs\DisplayStatusDialog"
  int autoDismissStatusDialog = 0;  // "\Dialogs\AutoDismissStatusDialog"
  int showTipsOnStartup = 1;      // "\Dialogs\ShowTipsOnStartup"
  int lastTipNumber = 0;          // "\Dialogs\LastTipNumber"
  int inputFileType = 0;          // "\InputFile\Type"
  std::string inputDelimiter = "\t";  // "\InputFile\Delimter"
  int inputIsBinary = 0;          // "\InputFile\IsBinary"
  int outputToSource = 1;         // "\OutputFile\OutputToSource"
  int outputToTree = 0;           // "\OutputFile\OutputToTree"
  int useLanguageFile = 0;        // "\Languages\UseLanguageFile"
  int selectedLanguage = 0;       // "\Languages\SelectedLanguage"
  int conversionType = 0;         // "\Options\ConversionType"
  int textEncoding = 0;           // "\Options\TextEncoding"
  int outputType = 0;             // "\Options\OutputType"
  std::array<std::array<std::string, kRecentPlaces>, kRecentListCount> recent;

  std::array<std::string, kRecentPlaces>& Recent(RecentList list) {
    return recent[static_cast<std::size_t>(list)];
  }
  const std::array<std::string, kRecentPlaces>& Recent(RecentList list) const {
    return recent[static_cast<std::size_t>(list)];
  }
  // Every member back to the default of the table; the recent lists are kept.
  void SetDefaults();
};

// "SOFTWARE\Norvane\" + the product name.
std::string ProductSettingsKey();
// The registry key of a recent list ("\Policy", "\Files" ...), in SaveSettings' spelling.
const char* RecentListKey(RecentList list);

// Writes every member, in the fixed order; a failed write is skipped.
void SaveProgramSettings(const ProgramSettings& settings, SettingsStore& store);

// What LoadProgramSettings needs from outside: the browser command found when none is
// stored (GetBrowserCommand), and whether the engine already asks for output into a copy
// of the source folder tree.
struct SettingsLoadHooks {
  std::function<std::string()> findBrowserCommand;
  bool contextReplicatesTree = false;
};

// Sets the defaults, then reads what is stored with the fallbacks of a first start.
void LoadProgramSettings(ProgramSettings& settings, const SettingsStore& store,
                         const SettingsLoadHooks& hooks);

// The DDE and update fallbacks and the DDE service that a browser command implies.
struct BrowserFallbacks {
  const char* dde;
  const char* update;
  const char* service;
};
BrowserFallbacks BrowserFallbacksFor(const std::string& browserCommand);
