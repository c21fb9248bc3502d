#include "app/OxvDialog.h"

#include "app/ComboHelpers.h"
#include "app/DialogTemplates.h"
#include "engine/Context.h"
#include "platform/DesktopPlatform.h"
#include "policy/FileControl.h"

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
};

OxvDialog::OxvDialog(DesktopPlatform& platform, StatusDialog& status)
    : BaseDialog(platform, status) {
  CreateContext();
  LoadSettings();
  outputToSource_ = settings_.outputToSource;
  replicateTree_ = settings_.outputToTree;
}

OxvDialog::~OxvDialog() {
  settings_.outputToSource = outputToSource_;
  settings_.outputToTree = replicateTree_;
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
  set.ApplyDerivedDefaults(0, 0);
}

void OxvDialog::TakeFromPolicies(FileControl& set) {
  conversionType_ = set.GetInt(PolicyId::MakeWindowsHelpSourceFile) ? kConversionWithHelpSource
                                                                     : kConversionToFile;
  simpleConversion_ = set.GetInt(PolicyId::KeepItSimple);
}

void OxvDialog::LoadFromPolicies(FileControl& set, FileControl& /*defaults*/) {
  const TextString& input = set.GetText(PolicyId::InputDirectory);
  if (!input.IsEmpty())
    settings_.currentDir = input.GetText();
  if (const Context* ctx = GetContext())
    mayOverwrite_ = ctx->Commands.overwrite;
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
}

int OxvDialog::RunModal() {
  if (window_ == nullptr) {
    window_ = platform_.CreateDialog(*FindDialogTemplate(kDialogMain), nullptr);
    window_->SetEventHandler(this);
    FillComboBox(window_.get(), kMainInputFile, kRecentNames,
                 settings_.Recent(RecentList::Files).data());
    FillComboBox(window_.get(), kMainPolicyFile, kRecentNames,
                 settings_.Recent(RecentList::Policy).data());
    FillComboBox(window_.get(), kMainOutputDir, kRecentNames,
                 settings_.Recent(RecentList::OutDir).data());
    window_->AddItem(kMainConversionType, "Output RTF to file");
    window_->SetSelection(kMainConversionType, 0);
    if (settings_.mainDialog.IsSaved())
      window_->Move(settings_.mainDialog.left, settings_.mainDialog.top);
  }
  PutToControls();
  const int result = window_->RunModal();
  const WindowRect rect = window_->GetRect();
  settings_.mainDialog = {rect.left, rect.top};
  TakeFromControls();
  return result;
}

bool OxvDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  const bool closing = event == DialogEvent::Ok || event == DialogEvent::Cancel ||
                       event == DialogEvent::CloseRequest;
  if (closing || (event == DialogEvent::Click && (controlId == 1 || controlId == 2)))
    window_->EndModal(controlId == 1 || event == DialogEvent::Ok ? 1 : 2);
  return true;
}
