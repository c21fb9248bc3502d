// The main dialog's menu commands: the option sheets on their pages, the policy-file
// commands and controls, the Settings toggles, the Language menu, help and web links, the
// about box and Exit.
#include "app/OxvDialog.h"

#include "app/AboutDialog.h"
#include "pages/ComboHelpers.h"
#include "app/DialogTemplates.h"
#include "app/LanguageDialogs.h"
#include "app/MainDialogSheets.h"
#include "app/MainMenu.h"
#include "app/PolicyFileDialogs.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "engine/Context.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "lang/ToolTips.h"
#include "platform/DesktopPlatform.h"
#include "platform/DialogWindow.h"
#include "platform/Menu.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"
#include "text/TextString.h"

// Commands that the handlers below name; the sheet and language commands are in their
// tables.
enum DialogCommand : int {
  kCommandMessages = 32775,
  kCommandResults = 32776,
  kCommandHelpContents = 32777,
  kCommandAbout = 32778,
  kCommandReset = 32781,
  kCommandLocalDocumentation = 32785,
  kCommandWebDocumentation = 32786,
  kCommandReanalyse = 32789,
  kCommandReloadPolicies = 32830,
  kCommandLoadPolicyFileList = 32831,
  kCommandCheckVersion = 32850,
  kCommandFrameworkFileOpen = 57601,
};

enum PolicyFieldControl : int {
  kPolicyField = 1505,
  kPolicyFieldBrowse = 1506,
};

// ---- The option sheets ----

enum class SheetKind : int { Analysis, Output, Config, Settings };

struct SheetCommand {
  int command;
  SheetKind sheet;
  int pageCode;
  const char* caption;
};

static constexpr const char* kAnalysisCaption = "Analysis Policies";
static constexpr const char* kOutputCaption = "Output Policies";
static constexpr const char* kConfigCaption = "Configuartion files";
static constexpr const char* kSettingsCaption = "Program Settings";

// Every command that opens a sheet, with its page code. Commands of entries that start-up
// removes keep their rows, as do the ids that no entry carries (32773, 32774, 32814, 32827).
static constexpr SheetCommand kSheetCommands[] = {
    {32797, SheetKind::Analysis, 20, kAnalysisCaption},
    {32773, SheetKind::Analysis, 20, kAnalysisCaption},
    {32798, SheetKind::Analysis, 2, kAnalysisCaption},
    {32800, SheetKind::Analysis, 3, kAnalysisCaption},
    {32801, SheetKind::Analysis, 5, kAnalysisCaption},
    {32838, SheetKind::Analysis, 14, kAnalysisCaption},
    {32799, SheetKind::Analysis, 17, kAnalysisCaption},
    {32802, SheetKind::Analysis, 27, kAnalysisCaption},
    {32803, SheetKind::Analysis, 39, kAnalysisCaption},
    {32774, SheetKind::Output, 1, kOutputCaption},
    {32821, SheetKind::Output, 1, kOutputCaption},
    {32816, SheetKind::Output, 1, kOutputCaption},
    {32806, SheetKind::Output, 4, kOutputCaption},
    {32826, SheetKind::Output, 5, kOutputCaption},
    {32808, SheetKind::Output, 6, kOutputCaption},
    {32809, SheetKind::Output, 9, kOutputCaption},
    {32828, SheetKind::Output, 10, kOutputCaption},
    {32832, SheetKind::Output, 12, kOutputCaption},
    {32819, SheetKind::Output, 12, kOutputCaption},
    {32818, SheetKind::Output, 13, kOutputCaption},
    {32807, SheetKind::Output, 15, kOutputCaption},
    {32847, SheetKind::Output, 16, kOutputCaption},
    {32810, SheetKind::Output, 19, kOutputCaption},
    {32811, SheetKind::Output, 21, kOutputCaption},
    {32827, SheetKind::Output, 21, kOutputCaption},
    {32851, SheetKind::Output, 23, kOutputCaption},
    {32839, SheetKind::Output, 24, kOutputCaption},
    {32869, SheetKind::Output, 25, kOutputCaption},
    {32868, SheetKind::Output, 26, kOutputCaption},
    {32812, SheetKind::Output, 28, kOutputCaption},
    {32864, SheetKind::Output, 29, kOutputCaption},
    {32845, SheetKind::Output, 30, kOutputCaption},
    {32813, SheetKind::Output, 38, kOutputCaption},
    {32814, SheetKind::Output, 38, kOutputCaption},
    {32815, SheetKind::Output, 40, kOutputCaption},
    {32860, SheetKind::Config, 18, kConfigCaption},
    {32861, SheetKind::Config, 21, "Configurtion files"},
    {32859, SheetKind::Config, 31, kConfigCaption},
    {32862, SheetKind::Config, 42, kConfigCaption},
    {32863, SheetKind::Config, 51, kConfigCaption},
    {32796, SheetKind::Settings, 32, kSettingsCaption},
    {32823, SheetKind::Settings, 33, kSettingsCaption},
    {32782, SheetKind::Settings, 34, kSettingsCaption},
    {32824, SheetKind::Settings, 36, kSettingsCaption},
    {32822, SheetKind::Settings, 37, kSettingsCaption},
};

static const SheetCommand* FindSheetCommand(int command) {
  for (const SheetCommand& row : kSheetCommands) {
    if (row.command == command)
      return &row;
  }
  return nullptr;
}

static void OpenSheet(OxvDialog& dialog, const SheetCommand& row) {
  switch (row.sheet) {
    case SheetKind::Analysis: ShowAnalysisPolicies(dialog, row.pageCode, row.caption); return;
    case SheetKind::Output: ShowOutputPolicies(dialog, row.pageCode, row.caption); return;
    case SheetKind::Config: ShowConfigurationFiles(dialog, row.pageCode, row.caption); return;
    case SheetKind::Settings: ShowSettingsSheet(dialog, row.pageCode, row.caption); return;
  }
}

// ---- Languages ----

struct LanguageCommand {
  int command;
  int language;
};

// The built-in languages of the menu; every one but English is followed by the
// translations dialog.
static constexpr LanguageCommand kLanguageCommands[] = {
    {kCmdEnglish, kLanguageEnglish},   {kCmdGerman, kLanguageGerman},
    {kCmdDutch, kLanguageDutch},       {kCmdFrench, kLanguageFrench},
    {kCmdItalian, kLanguageItalian},   {kCmdSpanish, kLanguageSpanish},
    {kCmdPortuguese, kLanguagePortuguese}, {kCmdSwedish, kLanguageSwedish},
};

// ---- Pages of the maker's site ----

struct SiteCommand {
  int command;
  const char* path;
};

static constexpr SiteCommand kSiteCommands[] = {
    {32835, "/doralith/?prod=oxv"},
    {32837, "/kelvane/?prod=kvl"},
    {32857, "/strivelle/?prod=zdt"},
    {32836, "/tessaway/index.html?prod=wqe"},
    {32834, "/?prod=nrv"},
};

bool OxvDialog::OnMenuCommand(int commandId) {
  if (const SheetCommand* row = FindSheetCommand(commandId)) {
    OpenSheet(*this, *row);
    return true;
  }
  for (const LanguageCommand& row : kLanguageCommands) {
    if (row.command != commandId)
      continue;
    SetLanguage(row.language);
    if (row.language != kLanguageEnglish)
      OnLanguageOther();
    return true;
  }
  for (const SiteCommand& row : kSiteCommands) {
    if (row.command == commandId) {
      OpenSiteAddress(std::string(kMakerWebSite) + row.path, false);
      return true;
    }
  }
  switch (commandId) {
    case kCmdConvert:
      if (ChooseInputFiles())
        (void)Convert();
      return true;
    case kCommandResults:
      ViewResults();
      return true;
    case kCommandMessages:
      if (status_.IsShown()) {
        status_.Hide();
      } else {
        status_.Show();
        status_.BringToTop();
      }
      return true;
    case kCmdLoadPolicyFile: {
      OxvOptions options(*this);
      (void)options.RunModal();
      PushPolicyFile(policyFileName_);
      PutToControls();
      return true;
    }
    case kCommandLoadPolicyFileList: {
      OxvOptions options(*this);
      (void)options.RunModal();
      FillComboBox(window_.get(), kPolicyField, kRecentNames,
                   settings_.Recent(RecentList::Policy).data());
      PutToControls();
      return true;
    }
    case kCommandReloadPolicies:
      if (policyFileName_.empty())
        (void)OnMenuCommand(kCmdLoadPolicyFile);
      ReloadPolicyFile();
      ShowMessageText(platform_, kMsgReloadDone, kMsgCaptionReloadPolicies);
      return true;
    case kCmdSavePolicies:
      ShowSavePolicyDialog(*this);
      return true;
    case kCommandReanalyse:
      platform_.SetWaitCursor(true);
      TakeFromControls();
      AnalyseInput(inputFile_);
      convertedOnce_ = 1;
      AnalysisPassPolicies().CopyPolicies(OutputPassPolicies());
      platform_.SetWaitCursor(false);
      ShowMessageText(platform_, kMsgReanalyseDone, kMsgCaptionReanalyse);
      return true;
    case kCommandReset:
      ResetPolicies();
      return true;
    case kCmdShowToolTips:
      ToggleSetting(commandId, settings_.displayToolTips);
      EnableTooltips(settings_.displayToolTips);
      return true;
    case kCmdShowStatusDialog:
      ToggleSetting(commandId, settings_.displayStatusDialog);
      return true;
    case kCmdDisplayResults:
      ToggleSetting(commandId, settings_.dropViewResults);
      return true;
    case kCmdRememberSettings:
      ToggleSetting(commandId, settings_.rememberSettings);
      return true;
    case kCmdTipOfTheDay: {
      TipsDialog tips(*this, window_.get());
      (void)tips.RunModal();
      if (Menu* menu = window_->GetMenuBar())
        (void)menu->CheckCommand(kCmdTipOfTheDay, settings_.showTipsOnStartup != 0);
      return true;
    }
    case kCmdOtherLanguage:
      SetLanguage(kLanguageEnglish);
      OnLanguageOther();
      return true;
    case kCmdLoadLanguage:
      OnLanguageLoad();
      return true;
    case kCommandHelpContents:
      // This system has no help-file viewer; the documentation commands show the manual.
      return true;
    case kCommandLocalDocumentation:
      OpenLocalDocumentation();
      return true;
    case kCommandWebDocumentation: {
      TextString base, page;
      GetDocumentationAddress(base, page);
      OpenSiteAddress(std::string(base.GetText()) + page.GetText() + "?from=help", true);
      return true;
    }
    case kCommandCheckVersion: {
      TextString product, shortVersion, fullVersion;
      GetProductNameAndVersion(product, shortVersion, fullVersion);
      OpenSiteAddress(std::string(kMakerWebSite) + "/cgi-local/checkversion.pl?p=" +
                          product.GetText() + "&v=" + fullVersion.GetText(),
                      true);
      return true;
    }
    case kCommandAbout: {
      MainDialogLinks links(*this);
      AboutDialog about(*this, links, window_.get());
      (void)about.RunModal();
      return true;
    }
    case kCmdExit:
      PrepareToClose();
      window_->EndModal(1);
      return true;
    case kCommandFrameworkFileOpen:
      ShowMessageText(platform_, kMsgBetaRelease, kMsgCaptionNoFunction);
      return true;
    default:
      return false;
  }
}

void OxvDialog::ToggleSetting(int commandId, int& setting) {
  setting = setting != 0 ? 0 : 1;
  if (Menu* menu = window_ != nullptr ? window_->GetMenuBar() : nullptr)
    (void)menu->CheckCommand(commandId, setting != 0);
}

void OxvDialog::OnLanguageOther() { (void)RunTranslationsDialog(*this); }

void OxvDialog::OnLanguageLoad() { (void)RunLanguageFilesDialog(*this); }

void OxvDialog::OpenSiteAddress(const std::string& address, bool mustHaveBrowser) {
  std::string browser;
  (void)GetBrowserCommand(browser);
  if (mustHaveBrowser && browser.empty())
    return;
  OpenUrlInBrowser(address, browser, true);
}

void OxvDialog::OpenLocalDocumentation() {
  const std::string path = UserGuidePath();
  if (platform_.FileExists(path)) {
    OpenUrlInBrowser(MakeFileUrl(path), std::string(), true);
    return;
  }
  std::string text = GetMessageText(kMsgRequestedFileNotFound);
  const std::size_t at = text.find("hhhhhh");
  if (at != std::string::npos)
    text.replace(at, 6, path);
  ShowMessageText(platform_, text, kMsgCaptionFileLocation);
  ShowProgramSettings(33);
}

void OxvDialog::PrepareToClose() {
  if (!sheetChangesPending_)
    return;
  const int answer = platform_.ShowMessageBox(GetMessageText(kMsgSaveChangesQuestion),
                                              GetMessageText(kMsgCaptionSaveChanges),
                                              MessageIcon::Question,
                                              MessageButtons::YesNoDefaultNo);
  if (answer == kAnswerYes)
    ShowSavePolicyDialog(*this);
}

// ---- The policy-file field and its button ----

bool OxvDialog::OnPolicyFieldEvent(int controlId, DialogEvent event) {
  if (controlId == kPolicyFieldBrowse && event == DialogEvent::Click) {
    BrowsePolicyFile();
    return true;
  }
  if (controlId != kPolicyField)
    return false;
  // The window backends report a chosen entry as either event.
  if (event == DialogEvent::SelectionEnd || event == DialogEvent::SelectionChange) {
    ChoosePolicyEntry();
    return true;
  }
  if (event != DialogEvent::KillFocus || applyingPolicySelection_)
    return false;
  const std::string before = policyFileName_;
  TakeFromControls();
  if (policyFileName_ != before)
    LoadFieldPolicyFile(before);
  return true;
}

void OxvDialog::LoadFieldPolicyFile(const std::string& fallback) {
  if (LoadPolicyFile(0))
    PushPolicyFile(policyFileName_);
  else
    policyFileName_ = fallback;
  PutToControls();
}

void OxvDialog::BrowsePolicyFile() {
  TakeFromControls();
  FileChooserRequest request;
  const std::size_t cut = policyFileName_.find_last_of("\\/");
  request.folder = cut == std::string::npos ? settings_.currentDir : policyFileName_.substr(0, cut);
  if (!request.folder.empty() && request.folder.back() != '/' && request.folder.back() != '\\')
    request.folder += '/';
  request.proposedName = "*.pol";
  request.filter = GetMessageText(kMsgFilterPolicyFiles);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!platform_.ChooseFiles(request, paths) || paths.empty())
    return;
  const std::string before = policyFileName_;
  policyFileName_ = paths.front();
  LoadFieldPolicyFile(before);
}

void OxvDialog::ChoosePolicyEntry() {
  const int index = window_->GetSelection(kPolicyField);
  if (index < 0)
    return;
  applyingPolicySelection_ = 1;
  TakeFromControls();
  policyFileName_ = window_->GetItemText(kPolicyField, index);
  PolicyFilePolicies().ResetPolicies(0);
  SheetChanges().ResetPolicies(0);
  OutputPassPolicies().ResetPolicies(0);
  policyFileLoaded_ = 0;
  sheetChangesPending_ = 0;
  LoadFieldPolicyFile(std::string());
  ReadComboStrings(window_.get(), kPolicyField, kRecentNames,
                   settings_.Recent(RecentList::Policy).data());
  applyingPolicySelection_ = 0;
}

// ---- Tooltips and the sheets ----

void OxvDialog::EnableTooltips(int on) {
  if (window_ != nullptr)
    SetDialogToolTips(on ? kToolTipSetTexts : kToolTipRemove, window_.get(), kDialogMain,
                      on != 0);
  Sheets().EnableTooltips(on);
}

void OxvDialog::RefreshAnalysisSheet() { Sheets().RefreshAnalysisSheet(); }

void OxvDialog::ShowProgramSettings(int page) { ::ShowProgramSettings(*this, page); }
