#include "pages/ConfigPages.h"

#include <vector>

#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/ComboHelpers.h"
#include "pages/LinkDictEdit.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "platform/PropertySheetWindow.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "text/PathUtils.h"
#include "text/TextFile.h"

enum : int {
  kFilterStyleFiles = 93,
  kFilterIncludeFiles = 109,
  kRecentCount = 10,
};

enum : int {
  kLinkDictCombo = 1098,
  kLinkDictBrowse = 1099,
  kLinkDictEdit = 1762,
  kLinkDictCreate = 1793,
  kScopeFirst = 1745,
  kScopeButtons = 3,
};

static constexpr ConfigPageKind kLinkDictKind = {
    kLinkDictCombo, kLinkDictBrowse, "Link Dictionary file", ConfigFile::LinkDictionary,
    kFilterIncludeFiles, false, false};
static constexpr ConfigPageKind kSDFKind = {
    1736, 1737, "Style file", ConfigFile::StyleDefinition, kFilterStyleFiles, false, false};
static constexpr ConfigPageKind kTDFKind = {
    1739, 1740, "Definitions file", ConfigFile::TableDefinition, kFilterIncludeFiles, false,
    false};
static constexpr ConfigPageKind kTextSubsKind = {
    1742, 1743, "Text command file", ConfigFile::TextSubstitution, kFilterIncludeFiles, true,
    true};

// The program-wide editor-open flag.
static int linkDictEditorOpen = 0;

// ---- ConfigFilePage ----

ConfigFilePage::ConfigFilePage(const PageDefinition& definition, BaseSheet* sheet,
                               const ConfigPageKind& kind)
    : OptionPage(definition, sheet), kind_(kind) {}

PageServices* ConfigFilePage::Services() {
  return sheet_ != nullptr ? sheet_->GetHost().GetPageServices() : nullptr;
}

void ConfigFilePage::LoadPolicies(FileControl& policies) {
  const PolicyRow* row = FindPolicyRow(kind_.policyKey);
  if (row != nullptr && (kind_.loadAlways || !nameFlag_))
    name_ = policies.GetText(row->id).GetText();
  if (window_ == nullptr)
    return;
  UpdateControls();
  PutToControls();
}

void ConfigFilePage::SavePolicies(FileControl& policies) {
  (void)TakeFromControls();
  if (!nameFlag_)
    return;
  const PolicyRow* row = FindPolicyRow(kind_.policyKey);
  if (row == nullptr)
    return;
  CorePolicy& policy = policies.Policy(row->id);
  static_cast<TextValuePolicy&>(policy).value = name_.c_str();
  policy.set = 1;
  TextString folder;
  TextString baseName;
  TextString extension;
  SplitPath(TextString(name_.c_str()), folder, baseName, extension);
  // A file that fails to load is reported by the loading itself; the name stays chosen.
  TextString result;
  (void)policies.LoadConfigFiles(folder, result);
  AdoptName();
}

void ConfigFilePage::PutToControls() {
  if (window_ != nullptr)
    window_->SetText(kind_.combo, name_);
}

bool ConfigFilePage::TakeFromControls() {
  if (window_ != nullptr)
    name_ = window_->GetText(kind_.combo);
  return true;
}

void ConfigFilePage::AdoptName() {
  nameFlag_ = 1;
  if (PageServices* services = Services()) {
    std::span<std::string> recent = services->RecentNames(kind_.file);
    PushComboValue(window_, kind_.combo, static_cast<int>(recent.size()), recent.data(), name_);
    services->SetCurrentName(kind_.file, name_);
  }
  if (window_ != nullptr) {
    PutToControls();
    UpdateControls();
  }
  EnableApply(1);
  (void)TakeFromControls();
  UpdateControls();
}

void ConfigFilePage::Browse() {
  FileChooserRequest request;
  request.filter = GetMessageText(kind_.filterText);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (sheet_ != nullptr && sheet_->GetHost().GetPlatform().ChooseFiles(request, paths) &&
      !paths.empty() && !paths.front().empty()) {
    name_ = paths.front();
    PutToControls();
  }
  // Cancelled too: the shown name goes to the top of the recent list.
  AdoptName();
}

void ConfigFilePage::Activate() {
  OptionPage::Activate();
  if (window_ == nullptr)
    return;
  if (PageServices* services = Services()) {
    std::span<std::string> recent = services->RecentNames(kind_.file);
    (void)FillComboBox(window_, kind_.combo, kRecentCount, recent.data());
  }
  PutToControls();
  UpdateControls();
}

bool ConfigFilePage::Deactivate() {
  const std::string previous = name_;
  (void)TakeFromControls();
  if (name_ == previous)
    return true;
  nameFlag_ = 1;
  EnableApply(1);
  if (kind_.adoptOnLeave)
    AdoptName();
  return true;
}

bool ConfigFilePage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId == kind_.browse && event == DialogEvent::Click) {
    Browse();
    return true;
  }
  if (controlId != kind_.combo)
    return OptionPage::OnDialogEvent(controlId, event);
  switch (event) {
    case DialogEvent::KillFocus: {
      const std::string previous = name_;
      (void)TakeFromControls();
      if (name_ != previous) {
        nameFlag_ = 1;
        EnableApply(1);
        UpdateControls();
        AdoptName();
      }
      return true;
    }
    case DialogEvent::EditChange:
      nameFlag_ = 1;
      (void)TakeFromControls();
      EnableApply(1);
      return true;
    case DialogEvent::SelectionEnd: {
      const int item = window_ != nullptr ? window_->GetSelection(kind_.combo) : -1;
      if (item < 0)
        return true;
      name_ = window_->GetItemText(kind_.combo, item);
      PutToControls();
      AdoptName();
      return true;
    }
    default:
      return OptionPage::OnDialogEvent(controlId, event);
  }
}

// ---- LinkDictPage ----

LinkDictPage::LinkDictPage(const PageDefinition& definition, BaseSheet* sheet)
    : ConfigFilePage(definition, sheet, kLinkDictKind) {}

int LinkDictPage::IsEditorOpen() { return linkDictEditorOpen; }

void LinkDictPage::LoadPolicies(FileControl& policies) {
  policies_ = &policies;
  ConfigFilePage::LoadPolicies(policies);
}

void LinkDictPage::UpdateControls() {
  if (window_ != nullptr)
    window_->Enable(kLinkDictEdit, !name_.empty());
}

bool LinkDictPage::Deactivate() {
  if (linkDictEditorOpen)
    return false;
  const std::string previous = name_;
  (void)TakeFromControls();
  if (name_ != previous)
    EnableApply(1);
  return true;
}

void LinkDictPage::CreateNew() {
  FileChooserRequest request;
  request.filter = GetMessageText(kFilterIncludeFiles);
  request.save = true;
  std::vector<std::string> paths;
  if (sheet_ != nullptr && sheet_->GetHost().GetPlatform().ChooseFiles(request, paths) &&
      !paths.empty() && !paths.front().empty()) {
    name_ = paths.front();
    PutToControls();
  }
  if (name_.empty())
    return;
  TextFile probe;
  const bool exists = probe.OpenForRead(name_.c_str(), 0);
  probe.CloseAll();
  if (!exists) {
    TextFile file;
    if (file.OpenForWrite(name_.c_str(), 0, 0))
      (void)WriteLine(&file, "! New dictionary");
    file.CloseAll();
  }
  AdoptName();
  Edit();
}

void LinkDictPage::Edit() {
  if (linkDictEditorOpen)
    return;
  linkDictEditorOpen = 1;
  (void)TakeFromControls();
  if (!name_.empty() && sheet_ != nullptr) {
    PageServices* services = Services();
    LinkDictEdit editor(sheet_->GetHost().GetPlatform());
    editor.Init(services != nullptr ? services->GetInputDir() : std::string(), policies_,
                TextString(name_.c_str()));
    if (window_ != nullptr)
      window_->Enable(kLinkDictEdit, false);
    PropertySheetWindow* sheetWindow = sheet_->GetWindow();
    if (sheetWindow != nullptr)
      sheetWindow->Show(false);
    (void)editor.DoModal(nullptr);
    sheetWindow = sheet_->GetWindow();
    if (sheetWindow != nullptr)
      sheetWindow->Show(true);
    if (window_ != nullptr && sheetWindow != nullptr) {
      window_->Enable(kLinkDictEdit, true);
      sheetWindow->BringToTop();
    }
  }
  UpdateControls();
  linkDictEditorOpen = 0;
}

bool LinkDictPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::Click && controlId == kLinkDictEdit) {
    Edit();
    return true;
  }
  if (event == DialogEvent::Click && controlId == kLinkDictCreate) {
    CreateNew();
    return true;
  }
  return ConfigFilePage::OnDialogEvent(controlId, event);
}

// ---- SDFPage ----

SDFPage::SDFPage(const PageDefinition& definition, BaseSheet* sheet)
    : ConfigFilePage(definition, sheet, kSDFKind) {}

void SDFPage::ResetChangeFlags() {
  ConfigFilePage::ResetChangeFlags();
  scopeFlag_ = 0;
}

void SDFPage::LoadPolicies(FileControl& policies) {
  if (!scopeFlag_)
    scope_ = policies.GetInt(PolicyId::ScopeForFontTags) - 1;
  ConfigFilePage::LoadPolicies(policies);
}

void SDFPage::SavePolicies(FileControl& policies) {
  ConfigFilePage::SavePolicies(policies);
  if (!scopeFlag_)
    return;
  CorePolicy& policy = policies.Policy(PolicyId::ScopeForFontTags);
  static_cast<ScalarPolicy&>(policy).value = scope_ + 1;
  policy.set = 1;
}

void SDFPage::PutToControls() {
  ConfigFilePage::PutToControls();
  if (window_ == nullptr)
    return;
  for (int button = 0; button < kScopeButtons; ++button)
    window_->SetCheck(kScopeFirst + button, button == scope_ ? 1 : 0);
}

bool SDFPage::TakeFromControls() {
  (void)ConfigFilePage::TakeFromControls();
  if (window_ == nullptr)
    return true;
  scope_ = -1;
  for (int button = 0; button < kScopeButtons; ++button) {
    if (window_->GetCheck(kScopeFirst + button))
      scope_ = button;
  }
  return true;
}

bool SDFPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::Click && controlId >= kScopeFirst &&
      controlId < kScopeFirst + kScopeButtons) {
    (void)TakeFromControls();
    scopeFlag_ = 1;
    EnableApply(1);
    return true;
  }
  return ConfigFilePage::OnDialogEvent(controlId, event);
}

// ---- Factories ----

std::unique_ptr<OptionPage> CreateLinkDictPage(const PageDefinition& definition,
                                               BaseSheet* sheet) {
  return std::make_unique<LinkDictPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateSDFPage(const PageDefinition& definition, BaseSheet* sheet) {
  return std::make_unique<SDFPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateTDFPage(const PageDefinition& definition, BaseSheet* sheet) {
  return std::make_unique<ConfigFilePage>(definition, sheet, kTDFKind);
}
std::unique_ptr<OptionPage> CreateTextSubsPage(const PageDefinition& definition,
                                               BaseSheet* sheet) {
  return std::make_unique<ConfigFilePage>(definition, sheet, kTextSubsKind);
}
