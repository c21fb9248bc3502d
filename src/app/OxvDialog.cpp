#include "app/OxvDialog.h"

#include "pages/ComboHelpers.h"
#include "app/DialogTemplates.h"
#include "app/LanguageDialogs.h"
#include "app/MainDialogSheets.h"
#include "app/MainMenu.h"
#include "app/RegistryAccess.h"
#include "app/StatusDialog.h"
#include "engine/Context.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/MenuTexts.h"
#include "lang/Messages.h"
#include "lang/ToolTips.h"
#include "platform/DesktopPlatform.h"
#include "platform/Menu.h"
#include "platform/SettingsStore.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"

#include <span>
#include <string_view>

// Controls of the main dialog that its fields are bound to.
enum MainControl : int {
  kMainOutputDir = 1012,
  kMainSimpleConversion = 1016,
  kMainOutputFile = 1080,
  kMainInputFile = 1122,
  kMainPolicyFile = 1505,
  kMainConversionType = 1590,
  kMainIncludeSubfolders = 9007,
  kMainMayOverwrite = 9100,
  kMainReplicateTree = 9109,
  kMainOutputToSource = 9110,
  kMainInputType = 9104,
  kMainDelimiter = 9108,
  kMainDelimiterLabel = 1620,
  kMainOutputFolderButton = 1291,
  kMainOutputHtml = 1077,
  kMainOutputHtm = 1078,
};

OxvDialog::OxvDialog(DesktopPlatform& platform, StatusDialog& status)
    : BaseDialog(platform, status) {
  CreateContext();
  for (FileControl* set : {&AnalysisPassPolicies(), &ContentsPassPolicies(), &SheetChanges(),
                           &PolicyFilePolicies(), &OutputPassPolicies()})
    set->AttachContext(GetContext());
  LoadSettings();
  outputToSource_ = settings_.outputToSource;
  replicateTree_ = settings_.outputToTree;
  inputType_ = settings_.inputFileType;
  delimiter_ = settings_.inputDelimiter;
}

OxvDialog::~OxvDialog() {
  if (window_ != nullptr)
    SetDialogToolTips(kToolTipRemove, window_.get(), kDialogMain, settings_.displayToolTips != 0);
  settings_.outputToSource = outputToSource_;
  settings_.outputToTree = replicateTree_;
  settings_.inputFileType = inputType_;
  settings_.inputDelimiter = delimiter_;
  SaveSettings();
}

void OxvDialog::SetOutputFile(const std::string& name) {
  outputFile_ = name;
  PutToControls();
}

void OxvDialog::SetInputFile(const std::string& text) {
  inputFile_ = text;
  PutToControls();
}

std::string OxvDialog::GetOutputDir() const { return outputToSource_ ? inputDir_ : outputDir_; }

bool OxvDialog::MayOverwrite() const {
  return conversionType_ == kConversionToClipboard || mayOverwrite_ != 0;
}

void OxvDialog::ApplyToContext() {
  Context* ctx = GetContext();
  if (ctx == nullptr)
    return;
  ctx->Commands.overwrite = mayOverwrite_;
  ctx->Commands.searchSubfolders = includeSubfolders_;
  if (!outputToSource_ && !outputDir_.empty())
    ctx->Commands.outputFolder = outputDir_.c_str();
}

void OxvDialog::ApplyToPolicies(FileControl& set) {
  set.Bool(PolicyId::UseHTMExtension).value = outputType_ != 0 ? 1 : 0;
  if (simpleConversion_) {
    set.Bool(PolicyId::KeepItSimple).value = 1;
    set.Bool(PolicyId::KeepItSimple).set = 1;
  }
  ApplyInputType(set);
  set.ApplyDerivedDefaults(0, 0);
}

void OxvDialog::TakeFromPolicies(FileControl& set) {
  const TextString& extension = set.GetText(PolicyId::OutputFileExtension);
  if (set.IsSet(PolicyId::OutputFileExtension) && !extension.IsEmpty())
    SetOutputType(2);
  else if (set.IsSet(PolicyId::UseHTMExtension) && set.GetInt(PolicyId::UseHTMExtension))
    SetOutputType(1);
  conversionType_ = set.GetInt(PolicyId::MakeWindowsHelpSourceFile) ? kConversionWithHelpSource
                                                                     : kConversionToFile;
  simpleConversion_ = set.GetInt(PolicyId::KeepItSimple);
}

void OxvDialog::LoadFromPolicies(FileControl& set, FileControl& /*defaults*/) {
  outputType_ = set.GetInt(PolicyId::UseHTMExtension);
  inputDir_ = set.GetText(PolicyId::InputDirectory).GetText();
  outputDir_ = set.GetText(PolicyId::OutputDirectory).GetText();
  if (!inputDir_.empty())
    settings_.currentDir = inputDir_;
  Sheets().LoadPolicies(set);
  if (const Context* ctx = GetContext())
    mayOverwrite_ = ctx->Commands.overwrite;
}

void OxvDialog::ResetPolicies() {
  PolicyFilePolicies().ResetPolicies(0);
  SheetChanges().ResetPolicies(0);
  OutputPassPolicies().ResetPolicies(0);
  convertedOnce_ = 0;
  policyFileLoaded_ = 0;
  sheetChangesPending_ = 0;
  const bool hadPolicyFile = !policyFileName_.empty();
  policyFileName_.clear();
  PutToControls();
  Sheets().ResetChangeFlags();
  Sheets().LoadPolicies(SheetChanges());
  if (hadPolicyFile)
    ShowMessageText(platform_, kMsgResetDone, kMsgCaptionResetToDefaults);
}

void OxvDialog::NoteOption(const CommandSettings& options) {
  if (options.overwrite)
    mayOverwrite_ = 1;
}

void OxvDialog::PushInputFile(const std::string& name) {
  PushComboValue(window_.get(), kMainInputFile, kRecentNames,
                 settings_.Recent(RecentList::Files).data(), name);
  PutToControls();
}

void OxvDialog::PushPolicyFile(const std::string& name) {
  PushComboValue(window_.get(), kMainPolicyFile, kRecentNames,
                 settings_.Recent(RecentList::Policy).data(), name);
  PutToControls();
}

void OxvDialog::TakeFromControls() {
  if (window_ == nullptr)
    return;
  outputDir_ = window_->GetText(kMainOutputDir);
  outputFile_ = window_->GetText(kMainOutputFile);
  inputFile_ = window_->GetText(kMainInputFile);
  simpleConversion_ = window_->GetCheck(kMainSimpleConversion);
  policyFileName_ = window_->GetText(kMainPolicyFile);
  conversionType_ = std::max(0, window_->GetSelection(kMainConversionType));
  includeSubfolders_ = window_->GetCheck(kMainIncludeSubfolders);
  replicateTree_ = window_->GetCheck(kMainReplicateTree);
  outputToSource_ = window_->GetCheck(kMainOutputToSource);
  mayOverwrite_ = window_->GetCheck(kMainMayOverwrite);
  delimiter_ = window_->GetText(kMainDelimiter);
  inputType_ = std::max(0, window_->GetSelection(kMainInputType));
}

void OxvDialog::PutToControls() {
  if (window_ == nullptr)
    return;
  window_->SetText(kMainOutputDir, outputDir_);
  window_->SetText(kMainOutputFile, outputFile_);
  window_->SetText(kMainInputFile, inputFile_);
  window_->SetCheck(kMainSimpleConversion, simpleConversion_);
  window_->SetText(kMainPolicyFile, policyFileName_);
  window_->SetCheck(kMainIncludeSubfolders, includeSubfolders_);
  window_->SetCheck(kMainReplicateTree, replicateTree_);
  window_->SetCheck(kMainOutputToSource, outputToSource_);
  window_->SetCheck(kMainMayOverwrite, mayOverwrite_);
  window_->SetText(kMainDelimiter, delimiter_);
  window_->SetSelection(kMainInputType, inputType_);
  window_->SetSelection(kMainConversionType, conversionType_);
}

int OxvDialog::RunModal() {
  if (window_ == nullptr) {
    window_ = platform_.CreateDialog(*FindDialogTemplate(kDialogMain), nullptr);
    window_->SetEventHandler(this);
    window_->AcceptDroppedFiles(true);
    OnInitDialog();
    if (settings_.mainDialog.IsSaved())
      window_->Move(settings_.mainDialog.left, settings_.mainDialog.top);
  }
  if (!shownOnce_) {
    shownOnce_ = true;
    OnFirstShow();
  }
  PutToControls();
  RefreshTitle();
  RefreshDependentControls();
  const int result = window_->RunModal();
  WritePreviousSettings();
  const WindowRect rect = window_->GetRect();
  settings_.mainDialog = {rect.left, rect.top};
  TakeFromControls();
  return result;
}

void OxvDialog::OnInitDialog() {
  if (!IsCommandLineRun()) {
    policyFileLoaded_ = 0;
    convertedOnce_ = 0;
    sheetChangesPending_ = 0;
  }
  const int stored = LanguageIdFromName(settings_.language);
  outputToSource_ = settings_.outputToSource;
  replicateTree_ = settings_.outputToTree;
  if (Context* ctx = GetContext())
    ctx->Commands.treeMatchesInput = replicateTree_;
  FillComboBox(window_.get(), kMainInputFile, kRecentNames,
               settings_.Recent(RecentList::Files).data());
  FillComboBox(window_.get(), kMainOutputDir, kRecentNames,
               settings_.Recent(RecentList::OutDir).data());
  FillComboBox(window_.get(), kMainPolicyFile, kRecentNames,
               settings_.Recent(RecentList::Policy).data());
  if (settings_.useDefaultPolicy)
    policyFileName_ = settings_.defaultPolicyFile;

  Menu& menuBar = window_->CreateMenuBar();
  BuildMenu(menuBar, MainMenuRows());
  PruneMainMenu(menuBar);
  window_->ShowControl(kMainOutputHtml, false);
  window_->ShowControl(kMainOutputHtm, false);

  SetLanguage(kLanguageEnglish);
  settings_.useLanguageFile = stored == kLanguageOther ? 1 : 0;
  // The first start asks for the language once; the chooser applies a built-in language
  // itself, or names a language file to read below.
  const bool chooserRan = settings_.selectedLanguage == 0;
  if (chooserRan) {
    (void)ChooseInterfaceLanguage(*this);
    settings_.selectedLanguage = 1;
  }
  // "Other": the texts of the stored language file lie over the English ones. A file that
  // cannot be read leaves the English texts, and "Other" stays the stored choice for a start
  // that finds the file again.
  if (settings_.useLanguageFile != 0) {
    if (!LoadLanguageFile(*this, settings_.languageFile))
      SetLanguage(kLanguageOther);
  } else if (!chooserRan) {
    SetLanguage(stored);
  }
  CheckSettingsItems();
  if (settings_.rememberSettings)
    ReadPreviousSettings();
  const Context* policyContext = PolicyFilePolicies().pGetContext();
  if (policyContext != nullptr && policyContext->Commands.overwrite)
    mayOverwrite_ = 1;
  SetCommandLineRun(0);
  RefreshTitle();
  if (Context* ctx = GetContext())
    ctx->Commands.analysisPassEnabled = 1;
  RefreshDependentControls();
}

void OxvDialog::OnFirstShow() {
  if (!policyFileName_.empty())
    (void)LoadPolicyFile(1);
  window_->CreateToolTipControl();
  if (settings_.displayToolTips) {
    SetDialogToolTips(kToolTipAdd, window_.get(), kDialogMain, true);
    SetDialogToolTips(kToolTipSetTexts, window_.get(), kDialogMain, true);
  }
  conversionType_ = PolicyFilePolicies().GetInt(PolicyId::MakeWindowsHelpSourceFile)
                        ? kConversionWithHelpSource
                        : kConversionToFile;
  PutToControls();
}

bool OxvDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::MenuCommand) {
    (void)OnMenuCommand(controlId);
    return true;
  }
  if (OnPolicyFieldEvent(controlId, event) || OnFileFieldEvent(controlId, event))
    return true;
  const bool closing = event == DialogEvent::Ok || event == DialogEvent::Cancel ||
                       event == DialogEvent::CloseRequest;
  if (closing || (event == DialogEvent::Click && (controlId == 1 || controlId == 2))) {
    PrepareToClose();
    window_->EndModal(controlId == 1 || event == DialogEvent::Ok ? 1 : 2);
  }
  return true;
}

// ---- Input type, language, previous settings, title ----

// The input-type list in InputFileType order.
static constexpr int kInputTypeTexts[] = {
    kMsgInputPlainText, kMsgInputTextTable, kMsgInputTabDelimited, kMsgInputCommaDelimited,
    kMsgInputOtherDelimited,
};

void OxvDialog::ApplyInputType(FileControl& set) {
  set.Text(PolicyId::InputDirectory).value = inputDir_.c_str();
  set.Text(PolicyId::OutputDirectory).value = outputDir_.c_str();
  if (Context* ctx = set.pGetContext())
    ctx->Commands.overwrite = mayOverwrite_;
  const TextString current(settings_.currentDir.c_str());
  set.MakeContentsFileName(current);
  set.MakePolicyFileName(current);
  UserPolicies().ResetPolicies(0);
  UserPolicies().MergePolicies(SheetChanges(), 1);
  BoolPolicy& htm = set.Bool(PolicyId::UseHTMExtension);
  htm.value = outputType_ == 1 ? 1 : 0;
  htm.set = outputType_ == 1 ? 1 : htm.set;

  const char* typeText = "plain text";
  std::string delimiter = " ";
  switch (inputType_) {
    case 1: typeText = "text table"; break;
    case 2: typeText = "tab-delimited table"; delimiter = "\t"; break;
    case 3: typeText = "comma-delimited table"; delimiter = ","; break;
    case 4: typeText = "tab-delimited table"; delimiter = delimiter_; break;
    default: break;
  }
  TextPolicy& type = set.Text(PolicyId::InputFileType);
  type.value = typeText;
  if (inputType_ >= 2 && inputType_ <= 4)
    type.set = 1;
  const int tableType = inputType_ >= 1 && inputType_ <= 4;
  set.SetTableDelimiter(TextString(delimiter.c_str()), tableType);

  const int helpSource = conversionType_ == kConversionWithHelpSource;
  set.Bool(PolicyId::MakeWindowsHelpSourceFile).value = helpSource;
  set.Bool(PolicyId::MakeWindowsHelpSourceFile).set = 1;
  UserPolicies().Bool(PolicyId::MakeWindowsHelpSourceFile).value = helpSource;
  UserPolicies().Bool(PolicyId::MakeWindowsHelpSourceFile).set = helpSource;
  if (conversionType_ == kConversionConcatenated) {
    UserPolicies().Bool(PolicyId::ConcatenateResultsIntoOneFile).value = 1;
    UserPolicies().Bool(PolicyId::ConcatenateResultsIntoOneFile).set = 1;
  }
  set.ApplyDerivedDefaults(0, 0);
}

int LanguageIdFromName(const std::string& name) {
  struct Row {
    std::string_view name;
    int id;
  };
  static constexpr Row kNames[] = {
      {"Dutch", kLanguageDutch},       {"English", kLanguageEnglish},
      {"French", kLanguageFrench},     {"German", kLanguageGerman},
      {"Italian", kLanguageItalian},   {"Spanish", kLanguageSpanish},
      {"Swedish", kLanguageSwedish},   {"Portuguese", kLanguagePortuguese},
      {"Russian", kLanguageRussian},   {"Other", kLanguageOther},
  };
  for (const Row& row : kNames) {
    if (row.name == name)
      return row.id;
  }
  return kLanguageEnglish;
}

// Refills a list with message texts, keeping its selection.
static void FillMessageList(DialogWindow& window, int id, std::span<const int> texts) {
  const int selection = window.GetSelection(id);
  window.ClearItems(id);
  for (int index : texts)
    window.AddItem(id, GetMessageText(index));
  window.SetSelection(id, selection);
}

// The code page of a language's interface texts.
static int InterfaceCodePageOf(int language) {
  return language == kLanguageRussian ? kCodePageCyrillic : kCodePageWesternEurope;
}

void OxvDialog::SetLanguage(int language) {
  if (window_ != nullptr && language != kLanguageOther && language == GetLanguage())
    return;
  SelectInterfaceLanguage(language);
  // Texts of a language file lie over those of the language loaded before and keep its
  // code page.
  if (language != kLanguageOther)
    platform_.SetInterfaceCodePage(InterfaceCodePageOf(language));
  if (window_ == nullptr)
    return;
  BaseDialog::SetLanguage(language);
  // The tooltips take the language's texts, and the dialog its texts.
  SetDialogToolTips(kToolTipSetTexts, window_.get(), kDialogMain, settings_.displayToolTips != 0);
  ApplyMenuTexts(window_.get());
  window_->RedrawMenuBar();
  RefreshTitle();
  ApplyDialogTexts(status_.GetWindow(), kDialogStatus);
  static constexpr int kConversionTexts[] = {kMsgOutputRtfToFile};
  FillMessageList(*window_, kMainConversionType, kConversionTexts);
  Sheets().SetLanguage(language);
  CheckSettingsItems();
  CheckLanguageItem(language);
  FillMessageList(*window_, kMainInputType, kInputTypeTexts);
  RefreshDependentControls();
}

void OxvDialog::CheckSettingsItems() {
  Menu* menu = window_ != nullptr ? window_->GetMenuBar() : nullptr;
  if (menu == nullptr)
    return;
  (void)menu->CheckCommand(kCmdShowToolTips, settings_.displayToolTips != 0);
  (void)menu->CheckCommand(kCmdShowStatusDialog, settings_.displayStatusDialog != 0);
  (void)menu->CheckCommand(kCmdDisplayResults, settings_.dropViewResults != 0);
  (void)menu->CheckCommand(kCmdRememberSettings, settings_.rememberSettings != 0);
  (void)menu->CheckCommand(kCmdTipOfTheDay, settings_.showTipsOnStartup != 0);
}

void OxvDialog::CheckLanguageItem(int language) {
  struct LanguageEntry {
    int language;
    int command;  // 0: no menu entry
    const char* name;
  };
  static constexpr LanguageEntry kEntries[] = {
      {kLanguageEnglish, kCmdEnglish, "English"},     {kLanguageGerman, kCmdGerman, "German"},
      {kLanguageSpanish, kCmdSpanish, "Spanish"},     {kLanguageFrench, kCmdFrench, "French"},
      {kLanguagePortuguese, kCmdPortuguese, "Portuguese"},
      {kLanguageItalian, kCmdItalian, "Italian"},     {kLanguageSwedish, kCmdSwedish, "Swedish"},
      {kLanguageRussian, 0, "Russian"},               {kLanguageDutch, kCmdDutch, "Dutch"},
      {kLanguageOther, kCmdLoadLanguage, "Other"},
  };
  static constexpr int kLanguageItems[] = {
      kCmdEnglish, kCmdDutch,   kCmdSpanish, kCmdPortuguese,    kCmdGerman, kCmdItalian,
      kCmdSwedish, kCmdFrench, kCmdOtherLanguage, kCmdLoadLanguage,
  };
  Menu* menu = window_->GetMenuBar();
  if (language != kLanguageOther)
    settings_.useLanguageFile = 0;
  for (int item : kLanguageItems)
    (void)menu->CheckCommand(item, false);
  for (const LanguageEntry& entry : kEntries) {
    if (entry.language != language)
      continue;
    // Russian has no entry of its own; its name is kept all the same, so that the next start
    // speaks it again.
    if (entry.command != 0)
      (void)menu->CheckCommand(entry.command, true);
    settings_.language = entry.name;
  }
}

// Values of "\PreviousSettings" below the product's key.
static const char* const kPrevInputFile = "\\PreviousSettings\\InputFile";
static const char* const kPrevOutputFile = "\\PreviousSettings\\OutputFile";
static const char* const kPrevOutputDirectory = "\\PreviousSettings\\OutputDirectory";
static const char* const kPrevPolicyFile = "\\PreviousSettings\\PolicyFile";
static const char* const kPrevOverwriteFiles = "\\PreviousSettings\\OverwriteFiles";
static const char* const kPrevSearchFolders = "\\PreviousSettings\\SearchFolders";

// "Yes" sets the flag, "No" clears it, anything else leaves it.
static void ReadYesNo(const SettingsStore& store, const std::string& key, const char* value,
                      int& flag) {
  std::string text = "No";
  RegReadString(store, RegistryRoot::CurrentUser, key, value, text);
  if (text == "Yes")
    flag = 1;
  else if (text == "No")
    flag = 0;
}

void OxvDialog::ReadPreviousSettings() {
  const SettingsStore& store = platform_.Settings();
  const std::string key = ProductSettingsKey();
  constexpr RegistryRoot user = RegistryRoot::CurrentUser;
  if (!IsCommandLineRun()) {
    RegReadString(store, user, key, kPrevInputFile, inputFile_);
    if (RegReadString(store, user, key, kPrevOutputFile, outputFile_))
      outputFileFromPrevious_ = 1;
    if (RegReadString(store, user, key, kPrevOutputDirectory, outputDir_))
      outputDirFromPrevious_ = 1;
    RegReadString(store, user, key, kPrevPolicyFile, policyFileName_);
    ReadYesNo(store, key, kPrevOverwriteFiles, mayOverwrite_);
  }
  ReadYesNo(store, key, kPrevSearchFolders, includeSubfolders_);
  PutToControls();
  if (policyFileName_.empty())
    return;
  if (LoadPolicyFile(1))
    PushPolicyFile(policyFileName_);
  else
    policyFileName_.clear();
  PutToControls();
}

void OxvDialog::WritePreviousSettings() {
  ReadComboStrings(window_.get(), kMainInputFile, kRecentNames,
                   settings_.Recent(RecentList::Files).data());
  ReadComboStrings(window_.get(), kMainOutputDir, kRecentNames,
                   settings_.Recent(RecentList::OutDir).data());
  if (!settings_.rememberSettings)
    return;
  TakeFromControls();
  SettingsStore& store = platform_.Settings();
  const std::string key = ProductSettingsKey();
  constexpr RegistryRoot user = RegistryRoot::CurrentUser;
  RegWriteString(store, user, key, kPrevInputFile, inputFile_);
  RegWriteString(store, user, key, kPrevOutputFile, outputFile_);
  RegWriteString(store, user, key, kPrevOutputDirectory, outputDir_);
  RegWriteString(store, user, key, kPrevPolicyFile, policyFileName_);
  RegWriteString(store, user, key, kPrevSearchFolders, includeSubfolders_ ? "Yes" : "No");
  RegWriteString(store, user, key, kPrevOverwriteFiles, mayOverwrite_ ? "Yes" : "No");
}

// The name part of the input text: from its first double quote on (a list), else after its
// last folder separator.
static std::string InputNamePart(const std::string& inputText) {
  std::string folder, name;
  SplitInputText(inputText, folder, name);
  return name;
}

void OxvDialog::SetOutputType(int type) {
  outputType_ = type;
  (void)MakeOutputName(InputNamePart(inputFile_), outputFile_);
  PutToControls();
}

std::string MainDialogTitle(const std::string& inputText, const std::string& product) {
  if (inputText.empty())
    return product;
  const std::string name = InputNamePart(inputText);
  if (!name.empty() && name.front() == '"')
    return name.substr(0, name.find(' ')) + "... - " + product;
  return name + " - " + product;
}

void OxvDialog::RefreshTitle() {
  if (window_ == nullptr)
    return;
  TextString product, shortVersion, fullVersion;
  GetProductNameAndVersion(product, shortVersion, fullVersion);
  window_->SetTitle(MainDialogTitle(inputFile_, product.GetText()));
}

void OxvDialog::RefreshDependentControls() {
  if (window_ == nullptr)
    return;
  const bool toFiles = conversionType_ != kConversionToClipboard;
  for (int id : {kMainOutputFile, kMainOutputDir, kMainOutputFolderButton, kMainOutputHtml,
                 kMainOutputHtm})
    window_->Enable(id, toFiles);
  const bool custom = inputType_ == 4;
  window_->ShowControl(kMainDelimiterLabel, custom);
  window_->ShowControl(kMainDelimiter, custom);
  if (outputToSource_) {
    for (int id : {kMainOutputDir, kMainOutputFolderButton, kMainReplicateTree})
      window_->Enable(id, false);
  } else {
    window_->Enable(kMainReplicateTree, true);
  }
  window_->Enable(kMainMayOverwrite, toFiles);
}
