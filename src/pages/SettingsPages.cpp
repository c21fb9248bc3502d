#include "pages/SettingsPages.h"

#include <iterator>
#include <string_view>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/PageServices.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"

// The main menu's "Automatically display results" item.
static constexpr int kCmdDisplayResults = 32855;

// Message texts of the choosers' filters.
enum : int {
  kFilterPolicyFiles = 87,
  kFilterHtmlFiles = 88,
  kFilterProgramFiles = 89,
};

PageServices* SettingsPage::Services() {
  return sheet_ != nullptr ? sheet_->GetHost().GetPageServices() : nullptr;
}

bool SettingsPage::BrowseForFile(int filterText, std::string& path) {
  if (sheet_ == nullptr)
    return false;
  FileChooserRequest request;
  request.filter = GetMessageText(filterText);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!sheet_->GetHost().GetPlatform().ChooseFiles(request, paths) || paths.empty())
    return false;
  path = paths.front();
  return true;
}

// ---- SettingsDragPage ----

struct DragBox {
  int controlId;
  SettingFlag setting;
};
static constexpr DragBox kDragBoxes[] = {
    {1130, SettingFlag::DropViewStatusWindow},
    {1129, SettingFlag::DropViewResults},
    {1237, SettingFlag::DropStartProgram},
};

SettingsDragPage::SettingsDragPage(const PageDefinition& definition, BaseSheet* sheet)
    : SettingsPage(definition, sheet) {}

void SettingsDragPage::ResetChangeFlags() { flags_.fill(0); }

void SettingsDragPage::LoadPolicies(FileControl& /*policies*/) {
  if (PageServices* services = Services()) {
    for (std::size_t i = 0; i < std::size(kDragBoxes); ++i)
      values_[i] = services->GetSettingFlag(kDragBoxes[i].setting);
  }
  PutToControls();
}

void SettingsDragPage::SavePolicies(FileControl& /*policies*/) {
  PageServices* services = Services();
  if (services == nullptr)
    return;
  for (std::size_t i = 0; i < std::size(kDragBoxes); ++i) {
    if (flags_[i])
      services->SetSettingFlag(kDragBoxes[i].setting, values_[i]);
  }
}

void SettingsDragPage::PutToControls() {
  if (window_ == nullptr)
    return;
  for (std::size_t i = 0; i < std::size(kDragBoxes); ++i)
    window_->SetCheck(kDragBoxes[i].controlId, values_[i]);
}

bool SettingsDragPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  for (std::size_t i = 0; i < std::size(kDragBoxes); ++i)
    values_[i] = window_->GetCheck(kDragBoxes[i].controlId) != 0 ? 1 : 0;
  return true;
}

bool SettingsDragPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event != DialogEvent::Click)
    return OptionPage::OnDialogEvent(controlId, event);
  for (std::size_t i = 0; i < std::size(kDragBoxes); ++i) {
    if (kDragBoxes[i].controlId != controlId)
      continue;
    (void)TakeFromControls();
    flags_[i] = 1;
    NoteChange();
  }
  return true;
}

// ---- SettingsDocoPage ----

enum : int { kDocoPath = 1128, kDocoBrowse = 1076 };

SettingsDocoPage::SettingsDocoPage(const PageDefinition& definition, BaseSheet* sheet)
    : SettingsPage(definition, sheet) {}

void SettingsDocoPage::LoadPolicies(FileControl& /*policies*/) {
  if (PageServices* services = Services()) {
    path_ = services->GetSettingText(SettingText::HtmlDoco);
    if (path_.empty())
      path_ = services->GetLocalHelpPath();
  }
  PutToControls();
}

void SettingsDocoPage::SavePolicies(FileControl& /*policies*/) {
  if (PageServices* services = Services())
    services->SetSettingText(SettingText::HtmlDoco, path_);
}

void SettingsDocoPage::PutToControls() {
  if (window_ != nullptr)
    window_->SetText(kDocoPath, path_);
}

bool SettingsDocoPage::TakeFromControls() {
  if (window_ != nullptr)
    path_ = window_->GetText(kDocoPath);
  return true;
}

bool SettingsDocoPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId == kDocoPath && event == DialogEvent::KillFocus) {
    const std::string previous = path_;
    (void)TakeFromControls();
    if (path_ != previous) {
      flag_ = 1;
      NoteChange();
    }
    return true;
  }
  if (controlId == kDocoBrowse && event == DialogEvent::Click) {
    std::string chosen;
    if (!BrowseForFile(kFilterHtmlFiles, chosen))
      return true;
    flag_ = 1;
    NoteChange();
    path_ = chosen;
    PutToControls();
    return true;
  }
  return OptionPage::OnDialogEvent(controlId, event);
}

// ---- SettingsViewerPage ----

enum : int {
  kViewerAuto = 1288,
  kViewerHtml = 1127,
  kViewerHtmlBrowse = 1075,
  kViewerUseDde = 1283,
  kViewerServiceLabel = 1287,
  kViewerService = 1286,
  kViewerServiceName = 1289,
  kViewerUrlPrefix = 1452,
  kViewerRtf = 1131,
  kViewerRtfBrowse = 2077,
};

struct DdeService {
  std::string_view entry;    // the list's text
  std::string_view service;  // the name it stands for
};
static constexpr DdeService kDdeServices[] = {
    {"IExplore (Internet Explorer)", "IExplore"},
    {"Netscape (or Communicator)", "NETSCAPE"},
    {"Opera", "Opera"},
    {"Mozilla (Netscape 6)", "Mozilla"},
    {"Mozilla Firebird", "Mozilla Firebird"},
    {"Mozilla Firefox", "Firefox"},
    {"Other", ""},
};
static_assert(std::size(kDdeServices) == kServiceOther + 1);

int ServiceIndexOf(const std::string& name) {
  if (name.empty())
    return 0;
  for (int i = 0; i < kServiceOther; ++i) {
    if (kDdeServices[i].service == name)
      return i;
  }
  return kServiceOther;
}

SettingsViewerPage::SettingsViewerPage(const PageDefinition& definition, BaseSheet* sheet)
    : SettingsPage(definition, sheet) {
  SettingsViewerPage::ResetChangeFlags();
}

void SettingsViewerPage::ResetChangeFlags() { flags_.fill(1); }

void SettingsViewerPage::LoadPolicies(FileControl& /*policies*/) {
  if (PageServices* services = Services()) {
    html_ = services->GetSettingText(SettingText::BrowserCommand);
    if (html_.empty())
      html_ = services->FindBrowserCommand();
    rtf_ = services->GetSettingText(SettingText::ViewRtfCommand);
    if (rtf_.empty())
      rtf_ = services->FindRtfViewerCommand();
    useDde_ = services->GetSettingFlag(SettingFlag::UseDdeToViewHtml);
    autoView_ = services->GetSettingFlag(SettingFlag::AutoDdeUpdates);
    urlPrefix_ = services->GetSettingFlag(SettingFlag::AddUrlPrefix);
    const std::string name = services->GetSettingText(SettingText::DdeServerName);
    service_ = ServiceIndexOf(name);
    serviceName_ = service_ == kServiceOther ? name : std::string();
  }
  UpdateControls();
  PutToControls();
}

void SettingsViewerPage::SavePolicies(FileControl& /*policies*/) {
  PageServices* services = Services();
  if (services == nullptr)
    return;
  if (flags_[kUseDde])
    services->SetSettingFlag(SettingFlag::UseDdeToViewHtml, useDde_);
  if (flags_[kAuto])
    services->SetSettingFlag(SettingFlag::AutoDdeUpdates, autoView_);
  if (flags_[kHtml])
    services->SetSettingText(SettingText::BrowserCommand, html_);
  if (flags_[kRtf])
    services->SetSettingText(SettingText::ViewRtfCommand, rtf_);
  if (flags_[kPrefix])
    services->SetSettingFlag(SettingFlag::AddUrlPrefix, urlPrefix_);
  if (flags_[kService] || flags_[kServiceName]) {
    std::string name(kDdeServices[0].service);
    if (service_ == kServiceOther)
      name = serviceName_;
    else if (service_ >= 1 && service_ < kServiceOther)
      name = kDdeServices[static_cast<std::size_t>(service_)].service;
    services->SetSettingText(SettingText::DdeServerName, name);
  }
  services->CheckMenuCommand(kCmdDisplayResults,
                             services->GetSettingFlag(SettingFlag::AutoDdeUpdates) != 0);
}

void SettingsViewerPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  window_->Enable(kViewerServiceLabel, useDde_ != 0);
  window_->Enable(kViewerService, useDde_ != 0);
  window_->Enable(kViewerServiceName, useDde_ != 0 && service_ == kServiceOther);
}

void SettingsViewerPage::Attach(DialogWindow* window) {
  // The list's entries belong to the page's window, whatever language it shows.
  if (window != nullptr && window->GetItemCount(kViewerService) == 0) {
    for (const DdeService& service : kDdeServices)
      window->AddItem(kViewerService, std::string(service.entry));
  }
  OptionPage::Attach(window);
}

void SettingsViewerPage::PutToControls() {
  if (window_ == nullptr)
    return;
  window_->SetCheck(kViewerAuto, autoView_);
  window_->SetText(kViewerHtml, html_);
  window_->SetCheck(kViewerUseDde, useDde_);
  window_->SetSelection(kViewerService, service_);
  window_->SetText(kViewerServiceName, serviceName_);
  window_->SetCheck(kViewerUrlPrefix, urlPrefix_);
  window_->SetText(kViewerRtf, rtf_);
}

bool SettingsViewerPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  autoView_ = window_->GetCheck(kViewerAuto) != 0 ? 1 : 0;
  html_ = window_->GetText(kViewerHtml);
  useDde_ = window_->GetCheck(kViewerUseDde) != 0 ? 1 : 0;
  service_ = window_->GetSelection(kViewerService);
  serviceName_ = window_->GetText(kViewerServiceName);
  urlPrefix_ = window_->GetCheck(kViewerUrlPrefix) != 0 ? 1 : 0;
  rtf_ = window_->GetText(kViewerRtf);
  return true;
}

void SettingsViewerPage::Changed(Flag flag) {
  flags_[flag] = 1;
  NoteChange();
  UpdateControls();
  PutToControls();
}

bool SettingsViewerPage::OnDialogEvent(int controlId, DialogEvent event) {
  const bool click = event == DialogEvent::Click;
  const bool left = event == DialogEvent::KillFocus;
  if (click && controlId == kViewerAuto) {
    (void)TakeFromControls();
    Changed(kAuto);
  } else if (event == DialogEvent::SelectionChange && controlId == kViewerService) {
    (void)TakeFromControls();
    Changed(kService);
  } else if (left && controlId == kViewerHtml) {
    (void)TakeFromControls();
    Changed(kHtml);
  } else if (left && (controlId == kViewerRtf || controlId == kViewerServiceName)) {
    std::string& text = controlId == kViewerRtf ? rtf_ : serviceName_;
    const std::string previous = text;
    (void)TakeFromControls();
    if (text != previous)
      Changed(controlId == kViewerRtf ? kRtf : kServiceName);
  } else if (click && controlId == kViewerUrlPrefix) {
    const int previous = urlPrefix_;
    (void)TakeFromControls();
    if (urlPrefix_ != previous)
      Changed(kPrefix);
  } else if (click && controlId == kViewerUseDde) {
    (void)TakeFromControls();
    // A user who touches the box wants DDE tried again, whatever happens to the sheet.
    if (PageServices* services = Services())
      services->SetSettingText(SettingText::DdeWorking, "Yes");
    Changed(kUseDde);
  } else if (click && (controlId == kViewerHtmlBrowse || controlId == kViewerRtfBrowse)) {
    std::string chosen;
    if (BrowseForFile(kFilterProgramFiles, chosen)) {
      (void)TakeFromControls();
      (controlId == kViewerHtmlBrowse ? html_ : rtf_) = chosen;
      Changed(controlId == kViewerHtmlBrowse ? kHtml : kRtf);
    }
    UpdateControls();
  } else {
    return OptionPage::OnDialogEvent(controlId, event);
  }
  return true;
}

// ---- SettingsPolicyPage ----

enum : int { kPolicyUse = 1124, kPolicyFile = 1125, kPolicyBrowse = 1126, kPolicyReload = 1310 };

SettingsPolicyPage::SettingsPolicyPage(const PageDefinition& definition, BaseSheet* sheet)
    : SettingsPage(definition, sheet) {}

void SettingsPolicyPage::LoadPolicies(FileControl& /*policies*/) {
  if (PageServices* services = Services()) {
    reload_ = services->GetSettingFlag(SettingFlag::AlwaysReloadPolicy);
    use_ = services->GetSettingFlag(SettingFlag::UseDefaultPolicy);
    file_ = use_ ? services->GetSettingText(SettingText::DefaultPolicyFile) : std::string();
  }
  UpdateControls();
  PutToControls();
}

void SettingsPolicyPage::SavePolicies(FileControl& /*policies*/) {
  PageServices* services = Services();
  if (services == nullptr)
    return;
  // The reload setting is stored before a policy file is loaded: the load reloads the sheets,
  // this page included, from the settings.
  if (reloadFlag_)
    services->SetSettingFlag(SettingFlag::AlwaysReloadPolicy, reload_);
  if (useFlag_ || fileFlag_) {
    services->SetSettingFlag(SettingFlag::UseDefaultPolicy, use_);
    const std::string previous = services->GetPolicyFileName();
    if (!use_) {
      services->SetSettingText(SettingText::DefaultPolicyFile, "");
    } else if (file_ == previous) {
      services->SetSettingText(SettingText::DefaultPolicyFile, file_);
    } else {
      services->SetPolicyFileName(file_);
      services->SetSettingText(SettingText::DefaultPolicyFile, file_);
      if (!services->LoadPolicyFile(1)) {
        // The file that failed is no default: the setting goes back with the name.
        file_ = previous;
        services->SetPolicyFileName(previous);
        services->SetSettingText(SettingText::DefaultPolicyFile, previous);
        PutToControls();
      }
    }
  }
}

void SettingsPolicyPage::OnApply() {
  PageServices* services = Services();
  if (services == nullptr)
    return;
  (void)TakeFromControls();
  if (fileFlag_ || useFlag_) {
    const std::string previous = services->GetPolicyFileName();
    services->SetPolicyFileName(file_);
    if (!services->LoadPolicyFile(0)) {
      file_ = previous;
      services->SetPolicyFileName(previous);
      PutToControls();
      return;
    }
    services->SetSettingText(SettingText::DefaultPolicyFile, file_);
  }
  if (reloadFlag_)
    services->SetSettingFlag(SettingFlag::AlwaysReloadPolicy, reload_);
}

void SettingsPolicyPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  window_->Enable(kPolicyFile, use_ != 0);
  window_->Enable(kPolicyBrowse, use_ != 0);
}

void SettingsPolicyPage::PutToControls() {
  if (window_ == nullptr)
    return;
  window_->SetCheck(kPolicyUse, use_);
  window_->SetText(kPolicyFile, file_);
  window_->SetCheck(kPolicyReload, reload_);
}

bool SettingsPolicyPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  use_ = window_->GetCheck(kPolicyUse) != 0 ? 1 : 0;
  file_ = window_->GetText(kPolicyFile);
  reload_ = window_->GetCheck(kPolicyReload) != 0 ? 1 : 0;
  return true;
}

void SettingsPolicyPage::OnFileLeft() {
  const std::string previous = file_;
  (void)TakeFromControls();
  PageServices* services = Services();
  if (file_ == previous || services == nullptr || file_ == services->GetPolicyFileName())
    return;
  services->SetPolicyFileName(file_);
  services->SetSettingText(SettingText::DefaultPolicyFile, file_);
  if (services->LoadPolicyFile(1))
    return;
  file_ = previous;
  services->SetPolicyFileName(previous);
  services->SetSettingText(SettingText::DefaultPolicyFile, previous);
  fileFlag_ = 1;
  NoteChange();
  UpdateControls();
  PutToControls();
}

void SettingsPolicyPage::OnBrowse() {
  std::string chosen;
  if (BrowseForFile(kFilterPolicyFiles, chosen) && chosen != file_) {
    (void)TakeFromControls();
    file_ = chosen;
    fileFlag_ = 1;
    NoteChange();
    UpdateControls();
    PutToControls();
  }
  UpdateControls();
}

bool SettingsPolicyPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::Click && (controlId == kPolicyUse || controlId == kPolicyReload)) {
    (controlId == kPolicyUse ? useFlag_ : reloadFlag_) = 1;
    NoteChange();
    (void)TakeFromControls();
    UpdateControls();
    PutToControls();
    return true;
  }
  if (event == DialogEvent::Click && controlId == kPolicyBrowse) {
    OnBrowse();
    return true;
  }
  if (event == DialogEvent::KillFocus && controlId == kPolicyFile) {
    OnFileLeft();
    return true;
  }
  return OptionPage::OnDialogEvent(controlId, event);
}

// ---- SettingsMessagesPage ----

enum : int { kMessagesLevel = 1217 };

SettingsMessagesPage::SettingsMessagesPage(const PageDefinition& definition, BaseSheet* sheet)
    : OptionPage(definition, sheet) {}

void SettingsMessagesPage::ResetChangeFlags() {
  OptionPage::ResetChangeFlags();
  levelFlag_ = 0;
}

void SettingsMessagesPage::LoadPolicies(FileControl& policies) {
  if (!levelFlag_)
    level_ = policies.GetInt(PolicyId::ErrorReportingLevel);
  OptionPage::LoadPolicies(policies);
}

void SettingsMessagesPage::SavePolicies(FileControl& policies) {
  if (levelFlag_) {
    CorePolicy& policy = policies.Policy(PolicyId::ErrorReportingLevel);
    static_cast<ScalarPolicy&>(policy).value = level_;
    policy.set = 1;
    if (sheet_ != nullptr)
      sheet_->GetHost().OnPolicyChanged(policy);
  }
  OptionPage::SavePolicies(policies);
}

void SettingsMessagesPage::Activate() {
  OptionPage::Activate();
  if (window_ == nullptr)
    return;
  window_->SetRange(kMessagesLevel, 0, 10);
  window_->SetValue(kMessagesLevel, level_);
}

bool SettingsMessagesPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId != kMessagesLevel || event != DialogEvent::Scroll || window_ == nullptr)
    return OptionPage::OnDialogEvent(controlId, event);
  (void)TakeFromControls();
  const int position = window_->GetValue(kMessagesLevel);
  if (position != level_) {
    level_ = position;
    levelFlag_ = 1;
    EnableApply(1);
  }
  return true;
}

// ---- Factories ----

std::unique_ptr<OptionPage> CreateSettingsDragPage(const PageDefinition& definition,
                                                   BaseSheet* sheet) {
  return std::make_unique<SettingsDragPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateSettingsDocoPage(const PageDefinition& definition,
                                                   BaseSheet* sheet) {
  return std::make_unique<SettingsDocoPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateSettingsViewerPage(const PageDefinition& definition,
                                                     BaseSheet* sheet) {
  return std::make_unique<SettingsViewerPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateSettingsPolicyPage(const PageDefinition& definition,
                                                     BaseSheet* sheet) {
  return std::make_unique<SettingsPolicyPage>(definition, sheet);
}
std::unique_ptr<OptionPage> CreateSettingsMessagesPage(const PageDefinition& definition,
                                                       BaseSheet* sheet) {
  return std::make_unique<SettingsMessagesPage>(definition, sheet);
}
