#include "app/PolicyFileDialogs.h"

#include <iterator>

#include "app/BaseDialog.h"
#include "pages/ComboHelpers.h"
#include "engine/Context.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"
#include "text/TextFile.h"

using CK = ControlKind;

static constexpr ControlTemplate kPolicyFileControls[] = {
    {1018, CK::Label, 0, "Get options from a policy file", 0},
    {1391, CK::Label, 0, "Load policy file", 0},
    {kPolicyFileCombo, CK::ComboEdit, kControlEditable, "", 0},
    {kPolicyFileBrowse, CK::Button, 0, "Browse...", 0},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {2, CK::Button, kControlButtonRow, "Cancel", 0},
};
static constexpr DialogTemplate kPolicyFileTemplate = {kDialogPolicyFile, "Qvarnel Policy File",
                                                       kPolicyFileControls, 60, 0};

static constexpr ControlTemplate kSavePoliciesControls[] = {
    {1393, CK::Label, 0, "File name", 0},
    {kSavePoliciesName, CK::Edit, 0, "", 0},
    {kSavePoliciesBrowse, CK::Button, 0, "Browse...", 0},
    {kSavePoliciesChanged, CK::Radio, 0, "Save changed policies only (recommended)", 0},
    {kSavePoliciesAll, CK::Radio, 0, "Save all policies (useful for creating a sample policy file)", 0},
    {1, CK::Button, kControlButtonRow | kControlDefault, "Save", 0},
    {2, CK::Button, kControlButtonRow, "Cancel", 0},
};
static constexpr DialogTemplate kSavePoliciesTemplate = {kDialogSavePolicies, "Save policies to file",
                                                         kSavePoliciesControls, 60, 0};

static constexpr DialogTemplate kPolicyFileTemplates[] = {kPolicyFileTemplate, kSavePoliciesTemplate};
std::span<const DialogTemplate> PolicyFileTemplates() { return kPolicyFileTemplates; }

// Dialog text of the policy-file dialog's caption, whose "Qvarnel" names the product.
static constexpr int kTextPolicyFileCaption = 300;

// ---- OxvOptions ----

OxvOptions::OxvOptions(BaseDialog& owner) : policyFile_(owner.GetPolicyFileName()), owner_(owner) {}

OxvOptions::~OxvOptions() = default;

int OxvOptions::RunModal() {
  window_ = owner_.GetPlatform().CreateDialog(kPolicyFileTemplate, nullptr);
  window_->SetEventHandler(this);
  InitDialog();
  const int result = window_->RunModal();
  window_->SetEventHandler(nullptr);
  window_.reset();
  return result;
}

void OxvOptions::InitDialog() {
  if (owner_.GetLanguage() != language_) {
    language_ = owner_.GetLanguage();
    SetLanguage();
  }
  // A quarter of the window's size down and to the right, kept on the desktop.
  const WindowRect rect = window_->GetRect();
  const WindowRect desk = owner_.GetPlatform().GetWorkArea();
  int left = rect.left + rect.width / 4;
  int top = rect.top + rect.height / 4;
  left = left < 0 ? 1 : left;
  top = top < 0 ? 1 : top;
  if (left + rect.width > desk.width)
    left = desk.width - rect.width - 1;
  if (top + rect.height + 30 > desk.height)
    top = desk.height - rect.height - 31;
  window_->Move(left, top);
  FillComboBox(window_.get(), kPolicyFileCombo, kRecentNames,
               owner_.Settings().Recent(RecentList::Policy).data());
  RefreshControls();
  RefreshTitle();
}

void OxvOptions::SetLanguage() {
  if (window_ == nullptr)
    return;
  ApplyDialogTexts(window_.get(), kDialogPolicyFile);
  RefreshTitle();
}

void OxvOptions::RefreshTitle() {
  if (window_ == nullptr)
    return;
  std::string title = GetDialogText(kTextPolicyFileCaption);
  TextString product, shortVersion, fullVersion;
  GetProductNameAndVersion(product, shortVersion, fullVersion);
  const std::size_t at = title.find("Qvarnel");
  if (at != std::string::npos)
    title.replace(at, 7, product.GetText());
  window_->SetTitle(title);
}

void OxvOptions::RefreshControls() {
  if (window_ != nullptr)
    window_->SetText(kPolicyFileCombo, policyFile_);
}

void OxvOptions::SetPolicyFile(const std::string& name) {
  auto& recent = owner_.Settings().Recent(RecentList::Policy);
  if (window_ != nullptr) {
    MoveComboStringToTop(window_.get(), kPolicyFileCombo, name);
    ReadComboStrings(window_.get(), kPolicyFileCombo, kRecentNames, recent.data());
  } else {
    PushComboValue(nullptr, kPolicyFileCombo, kRecentNames, recent.data(), name);
  }
  policyFile_ = name;
  owner_.SetPolicyFileName(name);
}

void OxvOptions::LoadTyped(const std::string& name, std::string previous) {
  policyFile_ = name;
  owner_.SetPolicyFileName(policyFile_);
  if (owner_.LoadPolicyFile(0))
    SetPolicyFile(name);
  else
    policyFile_ = previous;
  owner_.SetPolicyFileName(policyFile_);
  RefreshControls();
}

void OxvOptions::Browse() {
  FileChooserRequest request;
  request.filter = GetMessageText(kMsgFilterPolicyFiles);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!owner_.GetPlatform().ChooseFiles(request, paths) || paths.empty())
    return;
  LoadTyped(paths.front(), policyFile_);
}

void OxvOptions::ChooseListEntry() {
  const int index = window_->GetSelection(kPolicyFileCombo);
  if (index < 0)
    return;
  const std::string name = window_->GetItemText(kPolicyFileCombo, index);
  policyFile_ = name;
  owner_.SetPolicyFileName(name);
  owner_.PolicyFilePolicies().ResetPolicies(0);
  owner_.SheetChanges().ResetPolicies(0);
  owner_.OutputPassPolicies().ResetPolicies(0);
  owner_.SetPolicyFileLoaded(0);
  owner_.SetSheetChangesPending(0);
  loading_ = 1;
  if (owner_.LoadPolicyFile(0))
    SetPolicyFile(name);
  else
    policyFile_.clear();
  owner_.SetPolicyFileName(policyFile_);
  loading_ = 0;
  RefreshControls();
  owner_.PutToControls();
}

void OxvOptions::LeaveCombo() {
  if (loading_)
    return;
  const std::string remembered = policyFile_;
  const std::string typed = window_->GetText(kPolicyFileCombo);
  if (typed == remembered)
    return;
  LoadTyped(typed, remembered);
}

bool OxvOptions::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::Shown || event == DialogEvent::Hidden) {
    RefreshTitle();
    return true;
  }
  if (controlId == kPolicyFileCombo) {
    if (event == DialogEvent::SelectionEnd || event == DialogEvent::SelectionChange)
      ChooseListEntry();
    else if (event == DialogEvent::KillFocus)
      LeaveCombo();
    return true;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kPolicyFileBrowse:
      Browse();
      return true;
    case 1:
      ReadComboStrings(window_.get(), kPolicyFileCombo, kRecentNames,
                       owner_.Settings().Recent(RecentList::Policy).data());
      window_->EndModal(1);
      return true;
    case 2:
      window_->EndModal(2);
      return true;
    default:
      return true;
  }
}

// ---- SavePolicyFile ----

SavePolicyFile::SavePolicyFile(BaseDialog& owner)
    : fileName_(owner.GetPolicyFileName()), owner_(owner) {}

SavePolicyFile::~SavePolicyFile() = default;

int SavePolicyFile::RunModal() {
  window_ = owner_.GetPlatform().CreateDialog(kSavePoliciesTemplate, nullptr);
  window_->SetEventHandler(this);
  if (owner_.GetLanguage() != language_) {
    language_ = owner_.GetLanguage();
    SetLanguage();
  }
  PutToControls();
  const int result = window_->RunModal();
  window_->SetEventHandler(nullptr);
  window_.reset();
  return result;
}

void SavePolicyFile::SetLanguage() {
  if (window_ != nullptr)
    ApplyDialogTexts(window_.get(), kDialogSavePolicies);
}

void SavePolicyFile::TakeFromControls() {
  if (window_ == nullptr)
    return;
  fileName_ = window_->GetText(kSavePoliciesName);
  choice_ = window_->GetCheck(kSavePoliciesAll) ? 1 : 0;
}

void SavePolicyFile::PutToControls() {
  if (window_ == nullptr)
    return;
  window_->SetText(kSavePoliciesName, fileName_);
  window_->SetCheck(kSavePoliciesChanged, choice_ == 0 ? 1 : 0);
  window_->SetCheck(kSavePoliciesAll, choice_ == 1 ? 1 : 0);
}

void SavePolicyFile::Browse() {
  TakeFromControls();
  FileChooserRequest request;
  request.proposedName = fileName_;
  request.filter = GetMessageText(kMsgFilterPolicyFiles);
  request.save = true;
  std::vector<std::string> paths;
  if (!owner_.GetPlatform().ChooseFiles(request, paths) || paths.empty())
    return;
  fileName_ = paths.front();
  if (fileName_.find('.') == std::string::npos)
    fileName_ += ".pol";
  PutToControls();
}

static bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

int SavePolicyFile::Save() {
  DesktopPlatform& platform = owner_.GetPlatform();
  TakeFromControls();
  if (fileName_.empty()) {
    ShowMessageText(platform, kMsgChooseFileName, kMsgCaptionOutputFile);
    Browse();
    if (fileName_.empty())
      return 0;
  }
  TextString folder, base, extension;
  SplitPath(TextString(fileName_.c_str()), folder, base, extension);
  std::string folderText = folder.GetText();
  if (folderText.empty()) {
    folderText = owner_.GetInputDir();
    if (!folderText.empty() && !EndsWithSeparator(folderText))
      folderText += '/';
    fileName_ = folderText + base.GetText() + extension.GetText();
    PutToControls();
  }
  if (extension.IsEmpty()) {
    fileName_ = folderText + base.GetText() + ".pol";
    PutToControls();
  }
  TextFile file;
  if (!file.OpenForWrite(fileName_.c_str(), 0, 0)) {
    ShowMessageText(platform, kMsgInvalidOutputDirectory, kMsgCaptionOutputFile);
    return 0;
  }
  auto policies = std::make_unique<FileControl>();
  if (choice_ == 1 && owner_.IsConvertedOnce())
    policies->CopyPolicies(owner_.AnalysisPassPolicies());
  if (owner_.IsPolicyFileLoaded())
    policies->MergePolicies(owner_.PolicyFilePolicies(), 1);
  if (owner_.AreSheetChangesPending())
    policies->MergePolicies(owner_.SheetChanges(), 1);
  policies->MergePolicies(owner_.UserPolicies(), 1);
  policies->AttachContext(owner_.GetContext());
  policies->WritePolicyFile(file, choice_ == 1 ? 1 : 0);
  file.CloseAll();
  owner_.SetPolicyFileName(fileName_);
  owner_.PushPolicyFile(fileName_);
  owner_.PutToControls();
  return 1;
}

bool SavePolicyFile::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr || event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kSavePoliciesBrowse:
      Browse();
      return true;
    case 1:
      if (Save())
        window_->EndModal(1);
      return true;
    case 2:
      window_->EndModal(2);
      return true;
    default:
      return true;
  }
}

void ShowSavePolicyDialog(BaseDialog& owner) {
  SavePolicyFile dialog(owner);
  (void)dialog.RunModal();
}
