#include "app/ProgramSettings.h"

#include <span>

#include "app/RegistryAccess.h"
#include "platform/SettingsStore.h"
#include "text/ProductIdentity.h"
#include "text/TextString.h"

void ProgramSettings::SetDefaults() {
  auto lists = std::move(recent);
  *this = ProgramSettings();
  recent = std::move(lists);
}

std::string ProductSettingsKey() {
  TextString name, shortVersion, fullVersion;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  return std::string("SOFTWARE\\Norvane\\") + name.GetText();
}

static constexpr const char* kRecentListKeys[] = {
    "\\Policy", "\\Files", "\\OutDir", "\\InDir", "\\HTMLFragment", "\\StyleDefinitionFile",
    "\\TableDefinitionFile", "\\TextSubstitutionFile", "\\LinkDictionaryFile", "\\BGImage",
    "\\ShortcutIcon", "\\HTMLHeader", "\\HTMLFooter", "\\HTMLScript",
};
static_assert(std::size(kRecentListKeys) == kRecentListCount);

const char* RecentListKey(RecentList list) {
  return kRecentListKeys[static_cast<std::size_t>(list)];
}

// ---- The stored values: one row per value, in the order SaveSettings writes them ----

enum class SettingKind : int { Text, Integer, YesNo };

struct SettingRow {
  const char* valuePath;
  SettingKind kind;
  std::string ProgramSettings::*text;
  int ProgramSettings::*number;
};

static constexpr SettingRow Text(const char* path, std::string ProgramSettings::*member) {
  return {path, SettingKind::Text, member, nullptr};
}
static constexpr SettingRow Integer(const char* path, int ProgramSettings::*member) {
  return {path, SettingKind::Integer, nullptr, member};
}
static constexpr SettingRow YesNo(const char* path, int ProgramSettings::*member) {
  return {path, SettingKind::YesNo, nullptr, member};
}

using PS = ProgramSettings;
static const SettingRow kSavedTexts[] = {
    Text("\\CurrentDir", &PS::currentDir),
    Text("\\DDEServerName", &PS::ddeServerName),
    Text("\\DDEWorking", &PS::ddeWorking),
    Text("\\BrowserCommand", &PS::browserCommand),
    Text("\\ViewPDFCommand", &PS::viewPdfCommand),
    Text("\\ViewRTFCommand", &PS::viewRtfCommand),
    Text("\\ViewTextCommand", &PS::viewTextCommand),
    Text("\\HTMLDoco", &PS::htmlDoco),
    Text("\\DefaultPolicy\\File", &PS::defaultPolicyFile),
    Text("\\Languages\\Language", &PS::language),
    Text("\\Languages\\LanguageFile", &PS::languageFile),
};

struct PositionRow {
  const char* name;
  WindowPosition ProgramSettings::*position;
};
static const PositionRow kPositions[] = {
    {"Main", &PS::mainDialog},       {"Analysis", &PS::analysisSheet},
    {"Config", &PS::configSheet},    {"Output", &PS::outputSheet},
    {"Settings", &PS::settingsSheet}, {"Status", &PS::statusWindow},
};

static const SettingRow kSavedRest[] = {
    YesNo("\\DefaultPolicy\\AlwaysReload", &PS::alwaysReloadPolicy),
    YesNo("\\DefaultPolicy\\Used", &PS::useDefaultPolicy),
    YesNo("\\UseDDEToViewHTML", &PS::useDdeToViewHtml),
    YesNo("\\AddURLPrefix", &PS::addUrlPrefix),
    YesNo("\\AutoDDEUpdates", &PS::autoDdeUpdates),
    YesNo("\\RememberSettings", &PS::rememberSettings),
    YesNo("\\DragAndDrop\\ViewResults", &PS::dropViewResults),
    YesNo("\\DragAndDrop\\ViewStatusWindow", &PS::dropViewStatusWindow),
    YesNo("\\DragAndDrop\\StartProgram", &PS::dropStartProgram),
    YesNo("\\Dialogs\\DisplayToolTips", &PS::displayToolTips),
    YesNo("\\Dialogs\\DisplayStatusDialog", &PS::displayStatusDialog),
    YesNo("\\Dialogs\\AutoDismissStatusDialog", &PS::autoDismissStatusDialog),
    YesNo("\\Dialogs\\ShowTipsOnStartup", &PS::showTipsOnStartup),
    Integer("\\Dialogs\\LastTipNumber", &PS::lastTipNumber),
    Integer("\\InputFile\\Type", &PS::inputFileType),
    Text("\\InputFile\\Delimter", &PS::inputDelimiter),
    YesNo("\\InputFile\\IsBinary", &PS::inputIsBinary),
    YesNo("\\OutputFile\\OutputToSource", &PS::outputToSource),
    YesNo("\\OutputFile\\OutputToTree", &PS::outputToTree),
    YesNo("\\Languages\\UseLanguageFile", &PS::useLanguageFile),
    YesNo("\\Languages\\SelectedLanguage", &PS::selectedLanguage),
    Integer("\\Options\\ConversionType", &PS::conversionType),
    Integer("\\Options\\TextEncoding", &PS::textEncoding),
    Integer("\\Options\\OutputType", &PS::outputType),
};

static void SaveRow(const ProgramSettings& settings, SettingsStore& store,
                    const std::string& key, const SettingRow& row) {
  constexpr RegistryRoot user = RegistryRoot::CurrentUser;
  switch (row.kind) {
    case SettingKind::Text:
      (void)RegWriteString(store, user, key, row.valuePath, settings.*row.text);
      return;
    case SettingKind::Integer:
      (void)RegWriteInt(store, user, key, row.valuePath, settings.*row.number);
      return;
    case SettingKind::YesNo:
      (void)RegWriteString(store, user, key, row.valuePath, settings.*row.number ? "Yes" : "No");
      return;
  }
}

void SaveProgramSettings(const ProgramSettings& settings, SettingsStore& store) {
  constexpr RegistryRoot user = RegistryRoot::CurrentUser;
  const std::string key = ProductSettingsKey();
  store.BeginBatch();
  for (const SettingRow& row : kSavedTexts)
    SaveRow(settings, store, key, row);
  for (const PositionRow& row : kPositions) {
    const std::string path = std::string("\\Dialogs\\") + row.name;
    (void)RegWriteInt(store, user, key, path + "\\Left", (settings.*row.position).left);
    (void)RegWriteInt(store, user, key, path + "\\Top", (settings.*row.position).top);
  }
  for (const SettingRow& row : kSavedRest)
    SaveRow(settings, store, key, row);
  for (int list = 0; list < kRecentListCount; ++list) {
    (void)RegWriteRecentList(store, user, key + kRecentListKeys[list], kRecentNames,
                             settings.recent[static_cast<std::size_t>(list)].data());
  }
  store.EndBatch();
}

// ---- Loading ----

BrowserFallbacks BrowserFallbacksFor(const std::string& browserCommand) {
  if (browserCommand.empty())
    return {"No", "No", "IExplore"};
  std::string lower(browserCommand);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  struct Known {
    const char* program;
    BrowserFallbacks fallbacks;
  };
  static constexpr Known kKnown[] = {
      {"iexplore.exe", {"Yes", "Yes", "IExplore"}},
      {"netscape.exe", {"Yes", "Yes", "NETSCAPE"}},
      {"netscp6.exe", {"No", "No", "Mozilla"}},
      {"netscp.exe", {"No", "No", "Mozilla"}},
      {"opera.exe", {"Yes", "Yes", "Opera"}},
      {"firefox.exe", {"Yes", "Yes", "Firefox"}},
      {"firebird.exe", {"Yes", "Yes", "Mozilla Firebird"}},
  };
  for (const Known& known : kKnown) {
    if (lower.find(known.program) != std::string::npos)
      return known.fallbacks;
  }
  return {"Yes", "Yes", "IExplore"};
}

// A Yes/No value: the stored text, else the fallback (null: none), sets the member when it
// is exactly "Yes" or "No"; any other text leaves it.
static void ReadYesNo(const SettingsStore& store, const std::string& key, const char* valuePath,
                      const char* fallback, int& member) {
  std::string text;
  if (!RegReadString(store, RegistryRoot::CurrentUser, key, valuePath, text)) {
    if (fallback == nullptr)
      return;
    text = fallback;
  }
  if (text == "Yes")
    member = 1;
  else if (text == "No")
    member = 0;
}

void LoadProgramSettings(ProgramSettings& s, const SettingsStore& store,
                         const SettingsLoadHooks& hooks) {
  constexpr RegistryRoot user = RegistryRoot::CurrentUser;
  s.SetDefaults();
  const std::string key = ProductSettingsKey();
  (void)RegReadString(store, user, key, "\\CurrentDir", s.currentDir);
  const bool browserStored = RegReadString(store, user, key, "\\BrowserCommand", s.browserCommand);
  BrowserFallbacks fallbacks{"No", "No", "IExplore"};
  if (!browserStored) {
    if (hooks.findBrowserCommand)
      s.browserCommand = hooks.findBrowserCommand();
    fallbacks = BrowserFallbacksFor(s.browserCommand);
  }

  if (!RegReadString(store, user, key, "\\DDEServerName", s.ddeServerName))
    s.ddeServerName = fallbacks.service;
  if (!RegReadString(store, user, key, "\\DDEWorking", s.ddeWorking))
    s.ddeWorking = "Yes";
  (void)RegReadString(store, user, key, "\\ViewPDFCommand", s.viewPdfCommand);
  (void)RegReadString(store, user, key, "\\ViewRTFCommand", s.viewRtfCommand);
  (void)RegReadString(store, user, key, "\\ViewTextCommand", s.viewTextCommand);
  (void)RegReadString(store, user, key, "\\HTMLDoco", s.htmlDoco);
  (void)RegReadString(store, user, key, "\\DefaultPolicy\\File", s.defaultPolicyFile);
  (void)RegReadString(store, user, key, "\\Languages\\Language", s.language);
  (void)RegReadString(store, user, key, "\\Languages\\LanguageFile", s.languageFile);
  for (const PositionRow& row : kPositions) {
    const std::string path = std::string("\\Dialogs\\") + row.name;
    (void)RegReadInt(store, user, key, path + "\\Left", (s.*row.position).left);
    (void)RegReadInt(store, user, key, path + "\\Top", (s.*row.position).top);
  }

  ReadYesNo(store, key, "\\DefaultPolicy\\AlwaysReload", "Yes", s.alwaysReloadPolicy);
  ReadYesNo(store, key, "\\UseDDEToViewHTML", fallbacks.dde, s.useDdeToViewHtml);
  ReadYesNo(store, key, "\\AddURLPrefix", "Yes", s.addUrlPrefix);
  ReadYesNo(store, key, "\\AutoDDEUpdates", fallbacks.update, s.autoDdeUpdates);
  ReadYesNo(store, key, "\\RememberSettings", "Yes", s.rememberSettings);
  ReadYesNo(store, key, "\\DefaultPolicy\\Used", "No", s.useDefaultPolicy);
  ReadYesNo(store, key, "\\DragAndDrop\\ViewResults", nullptr, s.dropViewResults);
  ReadYesNo(store, key, "\\DragAndDrop\\ViewStatusWindow", nullptr, s.dropViewStatusWindow);
  ReadYesNo(store, key, "\\DragAndDrop\\StartProgram", "No", s.dropStartProgram);
  ReadYesNo(store, key, "\\Dialogs\\AutoDismissStatusDialog", "No", s.autoDismissStatusDialog);
  ReadYesNo(store, key, "\\Dialogs\\ShowTipsOnStartup", "Yes", s.showTipsOnStartup);
  (void)RegReadInt(store, user, key, "\\Dialogs\\LastTipNumber", s.lastTipNumber);
  ReadYesNo(store, key, "\\Dialogs\\DisplayToolTips", "Yes", s.displayToolTips);
  ReadYesNo(store, key, "\\Dialogs\\DisplayStatusDialog", "Yes", s.displayStatusDialog);
  (void)RegReadInt(store, user, key, "\\InputFile\\Type", s.inputFileType);
  (void)RegReadString(store, user, key, "\\InputFile\\Delimter", s.inputDelimiter);
  ReadYesNo(store, key, "\\InputFile\\IsBinary", "No", s.inputIsBinary);
  ReadYesNo(store, key, "\\OutputFile\\OutputToSource", "Yes", s.outputToSource);
  ReadYesNo(store, key, "\\OutputFile\\OutputToTree", "Yes", s.outputToTree);
  ReadYesNo(store, key, "\\Languages\\UseLanguageFile", "No", s.useLanguageFile);
  ReadYesNo(store, key, "\\Languages\\SelectedLanguage", "No", s.selectedLanguage);
  (void)RegReadInt(store, user, key, "\\Options\\ConversionType", s.conversionType);
  (void)RegReadInt(store, user, key, "\\Options\\TextEncoding", s.textEncoding);
  (void)RegReadInt(store, user, key, "\\Options\\outputType", s.outputType);

  s.alwaysReloadPolicy = 1;
  if (hooks.contextReplicatesTree)
    s.outputToTree = 1;

  // The lists in their reading order; key names compare without regard to case.
  static constexpr struct {
    RecentList list;
    const char* key;
  } kReadOrder[] = {
      {RecentList::Policy, "\\Policy"},
      {RecentList::Files, "\\Files"},
      {RecentList::OutDir, "\\OutDir"},
      {RecentList::HtmlFragment, "\\HTMLFragment"},
      {RecentList::StyleDefinitionFile, "\\StyleDefinitionFile"},
      {RecentList::TableDefinitionFile, "\\TableDefinitionFile"},
      {RecentList::TextSubstitutionFile, "\\TextsubstitutionFile"},
      {RecentList::LinkDictionaryFile, "\\LinkDictionaryFile"},
      {RecentList::BgImage, "\\BGImage"},
      {RecentList::ShortcutIcon, "\\ShortcutIcon"},
      {RecentList::InDir, "\\InDir"},
      {RecentList::HtmlHeader, "\\HTMLHeader"},
      {RecentList::HtmlFooter, "\\HTMLFooter"},
      {RecentList::HtmlScript, "\\HTMLScript"},
  };
  for (const auto& row : kReadOrder)
    (void)RegReadRecentList(store, user, key + row.key, kRecentNames, s.Recent(row.list).data());
}
