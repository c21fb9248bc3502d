#include "pages/LinkDictEdit.h"

#include <cstring>

#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "pages/EditorTemplates.h"
#include "platform/DesktopPlatform.h"
#include "text/PathUtils.h"
#include "text/TextFile.h"

// Message texts of the editor.
enum LinkEditMessage : int {
  kMsgAddLinkItem = 60,
  kMsgMatchPrompt = 61,
  kMsgReplacementPrompt = 62,
  kMsgUrlPrompt = 63,
  kMsgTextFilesFilter = 86,
};

// Status texts; fixed, not translated. The first letter of kStatusInvalid is the code-page
// character 0xCF.
static constexpr const char* kStatusLoadOk = "Dictionary load OK";
static constexpr const char* kStatusLoadFailed = "Dictionary load failed";
static constexpr const char* kStatusAdded = "Link added ok";
static constexpr const char* kStatusAddFailed = "Link added failed";
static constexpr const char* kStatusInvalid = "\xCFnvalid link details";
static constexpr const char* kStatusUpdated = "Link updated Okay";
static constexpr const char* kStatusUpdateFailed = "Failed to update Dictionary";
static constexpr const char* kStatusRemoved = "Okay";
static constexpr const char* kStatusRemoveFailed = "Delete failed";

// The report of a dictionary file that could not be opened; other reports of the load
// concern single lines of a file that was read.
static constexpr const char* kOpenFailedReport = "** Failed to open Link Dictionary file ";

// What the editing state enables or disables as a whole.
static constexpr int kEditingControls[] = {
    kLinkEditMatchLabel, kLinkEditReplacementLabel, kLinkEditUrlLabel, kLinkEditMatch,
    kLinkEditReplacement, kLinkEditUrl, kLinkEditAdd, kLinkEditUpdate, kLinkEditRemove,
    kLinkEditList, kLinkEditSave,
};

LinkDictEdit::LinkDictEdit(DesktopPlatform& platform) : platform_(platform) {}

LinkDictEdit::~LinkDictEdit() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

void LinkDictEdit::Init(const std::string& inputDir, FileControl* policies,
                        const TextString& name) {
  inputDir_ = inputDir;
  policies_ = policies;
  fileName_ = name;
  EmptyTexts();
  listFilled_ = 0;
  itemEntries_.clear();
  dictionary_.Clear();
  modified_ = 0;
}

int LinkDictEdit::DoModal(DialogWindow* parent) {
  Create(parent);
  return window_->RunModal();
}

void LinkDictEdit::Create(DialogWindow* parent) {
  window_ = platform_.CreateDialog(*FindEditorTemplate(kDialogLinkDictEdit), parent);
  window_->SetEventHandler(this);
  StartDialog();
}

void LinkDictEdit::EnableEditing(bool enable) {
  for (const int id : kEditingControls)
    window_->Enable(id, enable);
}

static bool CouldNotOpen(const TextString& report) {
  return std::strncmp(report.GetText(), kOpenFailedReport, std::strlen(kOpenFailedReport)) == 0;
}

void LinkDictEdit::StartDialog() {
  ready_ = policies_ != nullptr && !fileName_.IsEmpty() ? 1 : 0;
  EnableEditing(ready_ != 0);
  ApplyDialogTexts(window_.get(), kDialogLinkDictEdit);
  if (ready_ == 0)
    return;
  ResolveRelativePath(TextString(inputDir_.c_str()), fileName_, loadedPath_);
  TextString report;
  // A file that opened is loaded even when some of its lines were refused: those lines are
  // reported and the rest can be edited.
  if (dictionary_.LoadFile(*policies_, loadedPath_, &report) == 0 && CouldNotOpen(report)) {
    SetStatus(kStatusLoadFailed);
    ready_ = 0;
    EnableEditing(false);
    return;
  }
  SetStatus(kStatusLoadOk);
  EmptyTexts();
  if (listFilled_ == 0) {
    listFilled_ = 1;
    FillList();
  }
  PutValues();
  UpdateControls();
}

bool LinkDictEdit::AreValidTexts(const TextString& match, const TextString& replacement,
                                 const TextString& url) {
  if (match.IsEmpty() || replacement.IsEmpty() || url.IsEmpty())
    return false;
  return std::strcmp(match.GetText(), GetMessageText(kMsgMatchPrompt)) != 0 &&
         std::strcmp(replacement.GetText(), GetMessageText(kMsgReplacementPrompt)) != 0 &&
         std::strcmp(url.GetText(), GetMessageText(kMsgUrlPrompt)) != 0;
}

// The list is read straight from the entries: an entry the add step would refuse gets no
// item, and the status shows the last entry's verdict as the add step gives it.
void LinkDictEdit::FillList() {
  window_->ClearItems(kLinkEditList);
  itemEntries_.clear();
  window_->AddItem(kLinkEditList, GetMessageText(kMsgAddLinkItem));
  for (int i = 0; i < dictionary_.GetCount(); ++i) {
    const LinkEntry& entry = *dictionary_.pGetEntry(i);
    if (!AreValidTexts(entry.match, entry.replacement, entry.address)) {
      SetStatus(kStatusInvalid);
      continue;
    }
    SetStatus(kStatusAdded);
    window_->AddItem(kLinkEditList, entry.match.GetText());
    itemEntries_.push_back(i);
  }
}

int LinkDictEdit::EntryOfItem(int item) const {
  if (item < 1 || item > static_cast<int>(itemEntries_.size()))
    return -1;
  return itemEntries_[static_cast<std::size_t>(item - 1)];
}

int LinkDictEdit::ItemOfEntry(int entry) const {
  for (std::size_t i = 0; i < itemEntries_.size(); ++i) {
    if (itemEntries_[i] == entry)
      return static_cast<int>(i) + 1;
  }
  return -1;
}

void LinkDictEdit::UpdateControls() {
  const int selected = window_->GetSelection(kLinkEditList);
  window_->Enable(kLinkEditSave, ready_ != 0);
  window_->Enable(kLinkEditAdd, selected == 0);
  window_->Enable(kLinkEditUpdate, selected > 0);
  window_->Enable(kLinkEditRemove, selected > 0);
  window_->Enable(kLinkEditMatch, selected >= 0);
  window_->Enable(kLinkEditReplacement, selected >= 0);
  window_->Enable(kLinkEditUrl, selected >= 0);
}

bool LinkDictEdit::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::SelectionChange && controlId == kLinkEditList) {
    OnSelectionChange();
    return true;
  }
  const bool clicked = event == DialogEvent::Click;
  if ((clicked && controlId == kLinkEditSave) || event == DialogEvent::Ok) {
    OnSave();
    return true;
  }
  if ((clicked && controlId == kLinkEditCancel) || event == DialogEvent::Cancel) {
    window_->EndModal(kAnswerCancel);
    return true;
  }
  if (!clicked || ready_ == 0)
    return true;
  switch (controlId) {
    case kLinkEditAdd: OnAddLink(); break;
    case kLinkEditUpdate: OnUpdateLink(); break;
    case kLinkEditRemove: OnRemoveLink(); break;
    default: break;
  }
  return true;
}

void LinkDictEdit::OnSelectionChange() {
  const int selected = window_->GetSelection(kLinkEditList);
  const int entryIndex = EntryOfItem(selected);
  if (selected == 0) {
    match_.Assign(GetMessageText(kMsgMatchPrompt));
    replacement_.Assign(GetMessageText(kMsgReplacementPrompt));
    url_.Assign(GetMessageText(kMsgUrlPrompt));
  } else if (const LinkEntry* entry = dictionary_.pGetEntry(entryIndex)) {
    match_ = entry->match;
    replacement_ = entry->replacement;
    url_ = entry->address;
  } else {
    EmptyTexts();
  }
  SetStatus("");
  PutValues();
  UpdateControls();
}

void LinkDictEdit::OnAddLink() {
  if (window_->GetSelection(kLinkEditList) != 0)
    return;
  TakeValues();
  if (!AreValidTexts(match_, replacement_, url_)) {
    SetStatus(kStatusInvalid);
    UpdateControls();
    return;
  }
  const int before = dictionary_.GetCount();
  if (dictionary_.AddOrUpdate(*policies_, match_, replacement_, url_, TextString(), -1, -1) == 0) {
    // Nothing was stored (a match of blanks only): no item for it, the texts stay to mend.
    SetStatus(kStatusAddFailed);
    UpdateControls();
    return;
  }
  SetStatus(kStatusAdded);
  // A match the dictionary holds already updates that entry; its item, when it has one,
  // stays its only item.
  const int entryIndex = dictionary_.GetCount() > before
                             ? dictionary_.GetCount() - 1
                             : dictionary_.Find(match_, replacement_, url_);
  const int item = ItemOfEntry(entryIndex);
  const LinkEntry* entry = dictionary_.pGetEntry(entryIndex);
  if (item < 0 && entry != nullptr) {
    window_->AddItem(kLinkEditList, entry->match.GetText());
    itemEntries_.push_back(entryIndex);
  }
  EmptyTexts();
  modified_ = 1;
  PutValues();
  UpdateControls();
}

void LinkDictEdit::OnUpdateLink() {
  const int selected = window_->GetSelection(kLinkEditList);
  const int entryIndex = EntryOfItem(selected);
  if (entryIndex < 0) {
    SetStatus(kStatusUpdateFailed);
    UpdateControls();
    return;
  }
  TakeValues();
  if (dictionary_.SetEntryTexts(*policies_, entryIndex, match_, replacement_, url_) == 0) {
    SetStatus(kStatusUpdateFailed);
    UpdateControls();
    return;
  }
  // The item shows its entry's match text, which may just have changed.
  window_->DeleteItem(kLinkEditList, selected);
  window_->InsertItem(kLinkEditList, selected, dictionary_.pGetEntry(entryIndex)->match.GetText());
  window_->SetSelection(kLinkEditList, selected);
  SetStatus(kStatusUpdated);
  modified_ = 1;
  UpdateControls();
}

void LinkDictEdit::OnRemoveLink() {
  const int selected = window_->GetSelection(kLinkEditList);
  if (selected < 1)
    return;
  TakeValues();
  const int entryIndex = EntryOfItem(selected);
  // The entry tied to the item goes, whatever the fields show now; when it cannot, the item
  // stays and the status says so.
  if (dictionary_.RemoveAt(entryIndex) == 0) {
    SetStatus(kStatusRemoveFailed);
    UpdateControls();
    return;
  }
  window_->DeleteItem(kLinkEditList, selected);
  itemEntries_.erase(itemEntries_.begin() + (selected - 1));
  for (int& entry : itemEntries_) {
    if (entry > entryIndex)
      --entry;
  }
  SetStatus(kStatusRemoved);
  PutValues();
  modified_ = 1;
  window_->SetSelection(kLinkEditList, -1);
  OnSelectionChange();
}

void LinkDictEdit::OnSave() {
  if (modified_ == 0) {
    window_->EndModal(kAnswerOk);
    return;
  }
  FileChooserRequest request;
  request.proposedName = loadedPath_.GetText();
  request.filter = GetMessageText(kMsgTextFilesFilter);
  request.save = true;
  std::vector<std::string> paths;
  if (platform_.ChooseFiles(request, paths) && !paths.empty() && !paths.front().empty()) {
    TextFile writer;
    // A file that cannot be written keeps the editor open, so the edits are not lost.
    if (dictionary_.Write(TextString(paths.front().c_str()), writer) == 0) {
      SetStatus(kStatusUpdateFailed);
      return;
    }
  }
  window_->EndModal(kAnswerOk);
}

void LinkDictEdit::TakeValues() {
  replacement_.Assign(window_->GetText(kLinkEditReplacement).c_str());
  url_.Assign(window_->GetText(kLinkEditUrl).c_str());
  match_.Assign(window_->GetText(kLinkEditMatch).c_str());
}

void LinkDictEdit::PutValues() {
  window_->SetText(kLinkEditReplacement, replacement_.GetText());
  window_->SetText(kLinkEditUrl, url_.GetText());
  window_->SetText(kLinkEditMatch, match_.GetText());
}

void LinkDictEdit::EmptyTexts() {
  replacement_.Assign("");
  url_.Assign("");
  match_.Assign("");
}

void LinkDictEdit::SetStatus(const char* text) {
  window_->SetText(kLinkEditStatus, text);
}
