#include "pages/BaseSheet.h"

#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"

BaseSheet::BaseSheet(SheetHost& host, const SheetDefinition& definition, std::string caption)
    : host_(host), definition_(definition), caption_(std::move(caption)) {
  pages_.reserve(definition.members.size());
  for (const PageDefinition* member : definition.members) {
    // A page without a tab is never shown and gets no way back to the sheet.
    BaseSheet* sheet = TabOf(member) >= 0 ? this : nullptr;
    pages_.push_back(member->make != nullptr ? member->make(*member, sheet)
                                             : std::make_unique<OptionPage>(*member, sheet));
  }
}

BaseSheet::~BaseSheet() {
  // The window's pages point at the page objects: the windows go first.
  window_.reset();
  closedWindow_.reset();
  while (!pages_.empty())
    pages_.pop_back();
}

int BaseSheet::GetSheetId() const { return definition_.dialog->id; }

std::string BaseSheet::GetCaption() const {
  return window_ != nullptr ? window_->GetTitle() : caption_;
}

int BaseSheet::TabOf(const PageDefinition* page) const {
  for (std::size_t i = 0; i < definition_.tabs.size(); ++i) {
    if (definition_.tabs[i] == page)
      return static_cast<int>(i);
  }
  return -1;
}

OptionPage* BaseSheet::PageOf(const PageDefinition* definition) {
  for (const auto& page : pages_) {
    if (&page->Definition() == definition)
      return page.get();
  }
  return nullptr;
}

OptionPage* BaseSheet::FindPage(std::string_view className) {
  for (const auto& page : pages_) {
    if (page->Definition().className == className)
      return page.get();
  }
  return nullptr;
}

void BaseSheet::EnableApply(int markModified) {
  if (window_ != nullptr)
    window_->Enable(kSheetApply, true);
  if (markModified)
    modified_ = 1;
}

void BaseSheet::LoadPolicies(FileControl& policies) {
  for (const PageDefinition* definition : definition_.loadOrder) {
    if (OptionPage* page = PageOf(definition))
      page->LoadPolicies(policies);
  }
  if (window_ == nullptr)
    return;
  for (const auto& page : pages_)
    page->UpdateControls();
  for (const auto& page : pages_)
    page->PutToControls();
}

void BaseSheet::SavePolicies(FileControl& policies) {
  for (const PageDefinition* definition : definition_.saveOrder) {
    if (OptionPage* page = PageOf(definition))
      page->SavePolicies(policies);
  }
  host_.SetOptionsChanged(modified_);
}

void BaseSheet::SetLanguage(int /*language*/) {
  if (window_ == nullptr)
    return;
  for (std::size_t tab = 0; tab < definition_.tabs.size(); ++tab) {
    const PageDefinition* definition = definition_.tabs[tab];
    if (OptionPage* page = PageOf(definition))
      page->SetLanguage();
    window_->SetPageCaption(static_cast<int>(tab), GetDialogText(definition->tabTextId));
  }
  (void)SetDialogTexts(window_.get(), definition_.captionTextId);
}

void BaseSheet::EnableTooltips(int on) {
  if (window_ == nullptr)
    return;
  for (const auto& page : pages_)
    page->EnableTooltips(on);
}

void BaseSheet::ResetChangeFlags() {
  for (const auto& page : pages_)
    page->ResetChangeFlags();
  if (definition_.resetClearsModified)
    modified_ = 0;
}

void BaseSheet::ShowPage(int pageCode) {
  if (window_ == nullptr)
    return;
  const PageDefinition* target = definition_.defaultPage;
  for (const PageCodeTarget& entry : definition_.showPage) {
    if (entry.pageCode == pageCode)
      target = entry.page;
  }
  if (target == nullptr)
    return;
  const int tab = TabOf(target);
  if (tab >= 0)
    (void)window_->SetActivePage(tab);
}

void BaseSheet::Open() {
  if (window_ != nullptr) {
    window_->Show(true);
    window_->BringToTop();
    return;
  }
  CreateWindow();
}

void BaseSheet::CreateWindow() {
  closedWindow_.reset();
  // Activating the first tab records its code: the page to reopen on is read before.
  const int reopenCode = lastPageCode_;
  window_ = host_.GetPlatform().CreatePropertySheet(*definition_.dialog, host_.GetHostWindow());
  window_->SetTitle(caption_);
  window_->SetEventHandler(this);
  for (const PageDefinition* tab : definition_.tabs) {
    DialogWindow& pageWindow = window_->AddPage(*tab->dialog, GetDialogText(tab->tabTextId));
    if (OptionPage* page = PageOf(tab))
      page->Attach(&pageWindow);
  }
  // A new window has nothing to apply until a page reports a change.
  window_->Enable(kSheetApply, false);
  (void)window_->SetActivePage(0);
  SetLanguage(host_.GetInterfaceLanguage());
  PlaceWindow();
  ShowPage(reopenCode);
  window_->Show(true);
}

void BaseSheet::PlaceWindow() {
  int left = -1;
  int top = -1;
  host_.GetSheetPosition(GetSheetId(), left, top);
  if (left >= 0 && top >= 0) {
    window_->Move(left, top);
    return;
  }
  const WindowRect desk = host_.GetPlatform().GetWorkArea();
  const WindowRect own = window_->GetRect();
  constexpr int kInset = 30;
  switch (definition_.placement) {
    case SheetPlacement::BottomRight:
      window_->Move(desk.left + desk.width - own.width - kInset,
                    desk.top + desk.height - own.height - kInset);
      return;
    case SheetPlacement::BottomLeft:
      window_->Move(desk.left + kInset, desk.top + desk.height - own.height - kInset);
      return;
    case SheetPlacement::NearCentre:
      window_->Move(desk.left + (desk.width - own.width) / 2 + 100,
                    desk.top + (desk.height - own.height) / 2 + 50);
      return;
  }
}

void BaseSheet::CloseWindow() {
  if (window_ == nullptr)
    return;
  const WindowRect rect = window_->GetRect();
  host_.SetSheetPosition(GetSheetId(), rect.left, rect.top);
  window_->Show(false);
  // A window taken down tells nobody of what still happens to it.
  window_->SetEventHandler(nullptr);
  for (int tab = 0; tab < window_->GetPageCount(); ++tab)
    window_->GetPage(tab)->SetEventHandler(nullptr);
  for (const auto& page : pages_)
    page->Attach(nullptr);
  closedWindow_ = std::move(window_);
}

bool BaseSheet::ActivePageLeaves() {
  const int active = window_->GetActivePage();
  if (active < 0 || active >= static_cast<int>(definition_.tabs.size()))
    return true;
  OptionPage* page = PageOf(definition_.tabs[static_cast<std::size_t>(active)]);
  return page == nullptr || page->Deactivate();
}

bool BaseSheet::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::CloseRequest) {
    CloseWindow();
    // Taken down already: the backend has nothing more to do.
    return false;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kSheetOk:
      if (!ActivePageLeaves())
        return true;
      if (target_ != nullptr && modified_)
        SavePolicies(*target_);
      CloseWindow();
      return true;
    case kSheetCancel:
      CloseWindow();
      return true;
    case kSheetApply:
      if (!ActivePageLeaves())
        return true;
      if (target_ != nullptr)
        SavePolicies(*target_);
      // As the framework does after Apply: nothing is left to apply.
      window_->Enable(kSheetApply, false);
      return true;
    default:
      return true;
  }
}
