#include "platform/HeadlessPlatform.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/FileSystem.h"

// ---- HeadlessMenu ----

void HeadlessMenu::AppendItem(int commandId, const std::string& text, MenuEntryKind kind) {
  Entry entry;
  entry.kind = kind;
  entry.id = commandId;
  entry.text = text;
  entries.push_back(std::move(entry));
}

void HeadlessMenu::AppendSeparator() {
  Entry entry;
  entry.kind = MenuEntryKind::Separator;
  entries.push_back(std::move(entry));
}

Menu* HeadlessMenu::AppendDropDown(const std::string& text) {
  Entry entry;
  entry.kind = MenuEntryKind::DropDown;
  entry.text = text;
  entry.dropDown = std::make_unique<HeadlessMenu>();
  entries.push_back(std::move(entry));
  return entries.back().dropDown.get();
}

const HeadlessMenu::Entry* HeadlessMenu::At(int position) const {
  if (position < 0 || position >= GetEntryCount())
    return nullptr;
  return &entries[static_cast<std::size_t>(position)];
}

bool HeadlessMenu::GetEntryKind(int position, MenuEntryKind& kind) const {
  const Entry* entry = At(position);
  if (entry == nullptr)
    return false;
  kind = entry->kind;
  return true;
}

int HeadlessMenu::GetEntryId(int position) const {
  const Entry* entry = At(position);
  return entry != nullptr ? entry->id : 0;
}

std::string HeadlessMenu::GetEntryText(int position) const {
  const Entry* entry = At(position);
  return entry != nullptr ? entry->text : std::string();
}

bool HeadlessMenu::SetEntryText(int position, const std::string& text) {
  const Entry* entry = At(position);
  if (entry == nullptr || entry->kind == MenuEntryKind::Separator)
    return false;
  entries[static_cast<std::size_t>(position)].text = text;
  return true;
}

Menu* HeadlessMenu::GetDropDown(int position) {
  if (At(position) == nullptr)
    return nullptr;
  return entries[static_cast<std::size_t>(position)].dropDown.get();
}

bool HeadlessMenu::RemoveEntry(int position) {
  if (At(position) == nullptr)
    return false;
  entries.erase(entries.begin() + position);
  return true;
}

bool HeadlessMenu::SetRightJustified(int position) {
  if (At(position) == nullptr)
    return false;
  entries[static_cast<std::size_t>(position)].rightJustified = true;
  return true;
}

const HeadlessMenu::Entry* HeadlessMenu::FindItem(int commandId) const {
  for (const Entry& entry : entries) {
    if (entry.dropDown != nullptr) {
      if (const Entry* found = entry.dropDown->FindItem(commandId))
        return found;
      continue;
    }
    if (entry.kind != MenuEntryKind::Separator && entry.id == commandId)
      return &entry;
  }
  return nullptr;
}

HeadlessMenu::Entry* HeadlessMenu::FindItem(int commandId) {
  return const_cast<Entry*>(std::as_const(*this).FindItem(commandId));
}

bool HeadlessMenu::SetCommandText(int commandId, const std::string& text) {
  Entry* entry = FindItem(commandId);
  if (entry == nullptr)
    return false;
  entry->text = text;
  return true;
}

std::string HeadlessMenu::GetCommandText(int commandId) const {
  const Entry* entry = FindItem(commandId);
  return entry != nullptr ? entry->text : std::string();
}

bool HeadlessMenu::CheckCommand(int commandId, bool checked) {
  Entry* entry = FindItem(commandId);
  if (entry == nullptr || entry->kind != MenuEntryKind::CheckItem)
    return false;
  entry->checked = checked;
  return true;
}

bool HeadlessMenu::IsCommandChecked(int commandId) const {
  const Entry* entry = FindItem(commandId);
  return entry != nullptr && entry->checked;
}

bool HeadlessMenu::EnableCommand(int commandId, bool enable) {
  Entry* entry = FindItem(commandId);
  if (entry == nullptr)
    return false;
  entry->enabled = enable;
  return true;
}

bool HeadlessMenu::IsCommandEnabled(int commandId) const {
  const Entry* entry = FindItem(commandId);
  return entry != nullptr && entry->enabled;
}

bool HeadlessMenu::RemoveCommand(int commandId) {
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->dropDown != nullptr) {
      if (it->dropDown->RemoveCommand(commandId))
        return true;
      continue;
    }
    if (it->kind != MenuEntryKind::Separator && it->id == commandId) {
      entries.erase(it);
      return true;
    }
  }
  return false;
}

// ---- HeadlessDialog ----

HeadlessDialog::HeadlessDialog(const DialogTemplate& dialog,
                               std::function<int(HeadlessDialog&)> modalScript,
                               HeadlessPlatform* owner)
    : templateId_(dialog.id), owner_(owner), title_(dialog.caption),
      modalScript_(std::move(modalScript)) {
  for (const ControlTemplate& row : dialog.controls) {
    HeadlessControl& control = controls_[row.id];
    control.kind = row.kind;
    control.text = std::string(row.text);
    control.shown = (row.flags & kControlHidden) == 0;
    control.enabled = (row.flags & kControlDisabled) == 0;
  }
  if (owner_ != nullptr)
    owner_->dialogs.push_back(this);
}

HeadlessDialog::~HeadlessDialog() {
  if (owner_ == nullptr)
    return;
  auto& list = owner_->dialogs;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

HeadlessControl* HeadlessDialog::Find(int id) {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

const HeadlessControl* HeadlessDialog::Control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

void HeadlessDialog::Show(bool show) {
  if (shown_ == show)
    return;
  shown_ = show;
  if (handler_ != nullptr)
    (void)handler_->OnDialogEvent(0, show ? DialogEvent::Shown : DialogEvent::Hidden);
}

void HeadlessDialog::Move(int left, int top) {
  rect_.left = left;
  rect_.top = top;
}

int HeadlessDialog::RunModal() {
  inModal_ = true;
  shown_ = true;
  modalCode_ = 2;
  if (modalScript_)
    modalCode_ = modalScript_(*this);
  inModal_ = false;
  shown_ = false;
  return modalCode_;
}

void HeadlessDialog::EndModal(int code) {
  modalCode_ = code;
  inModal_ = false;
}

void HeadlessDialog::SetText(int id, const std::string& text) {
  if (HeadlessControl* control = Find(id))
    control->text = text;
}

std::string HeadlessDialog::GetText(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr ? control->text : std::string();
}

void HeadlessDialog::SetCheck(int id, int state) {
  if (HeadlessControl* control = Find(id))
    control->check = state;
}

int HeadlessDialog::GetCheck(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr ? control->check : 0;
}

void HeadlessDialog::Enable(int id, bool enable) {
  if (HeadlessControl* control = Find(id))
    control->enabled = enable;
}

bool HeadlessDialog::IsEnabled(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr && control->enabled;
}

void HeadlessDialog::ShowControl(int id, bool show) {
  if (HeadlessControl* control = Find(id))
    control->shown = show;
}

bool HeadlessDialog::IsControlShown(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr && control->shown;
}

bool HeadlessDialog::CanScrollVertically(int id) const {
  const HeadlessControl* control = Control(id);
  if (control == nullptr || control->kind != ControlKind::MultiLineEdit)
    return false;
  return std::count(control->text.begin(), control->text.end(), '\n') > kVisibleLines;
}

void HeadlessDialog::ScrollToEnd(int id) {
  if (HeadlessControl* control = Find(id))
    ++control->scrolledToEnd;
}

int HeadlessDialog::GetItemCount(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr ? static_cast<int>(control->items.size()) : 0;
}

std::string HeadlessDialog::GetItemText(int id, int index) const {
  const HeadlessControl* control = Control(id);
  if (control == nullptr || index < 0 || index >= static_cast<int>(control->items.size()))
    return {};
  return control->items[static_cast<std::size_t>(index)];
}

void HeadlessDialog::ClearItems(int id) {
  if (HeadlessControl* control = Find(id)) {
    control->items.clear();
    control->selection = -1;
  }
}

void HeadlessDialog::AddItem(int id, const std::string& text) {
  HeadlessControl* control = Find(id);
  if (control == nullptr)
    return;
  control->items.push_back(text);
}

void HeadlessDialog::InsertItem(int id, int index, const std::string& text) {
  HeadlessControl* control = Find(id);
  if (control == nullptr)
    return;
  const int count = static_cast<int>(control->items.size());
  index = std::clamp(index, 0, count);
  control->items.insert(control->items.begin() + index, text);
}

void HeadlessDialog::DeleteItem(int id, int index) {
  HeadlessControl* control = Find(id);
  if (control == nullptr || index < 0 || index >= static_cast<int>(control->items.size()))
    return;
  control->items.erase(control->items.begin() + index);
  if (control->selection >= static_cast<int>(control->items.size()))
    control->selection = -1;
}

int HeadlessDialog::GetSelection(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr ? control->selection : -1;
}

void HeadlessDialog::SetSelection(int id, int index) {
  HeadlessControl* control = Find(id);
  if (control == nullptr)
    return;
  control->selection = index >= 0 && index < static_cast<int>(control->items.size()) ? index : -1;
}

void HeadlessDialog::SetRange(int id, int low, int high) {
  if (HeadlessControl* control = Find(id)) {
    control->low = low;
    control->high = high;
  }
}

void HeadlessDialog::SetValue(int id, int value) {
  if (HeadlessControl* control = Find(id))
    control->value = value;
}

int HeadlessDialog::GetValue(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr ? control->value : 0;
}

// A tool exists only while the dialog has its tooltip control and the control it belongs to.
HeadlessControl* HeadlessDialog::FindTool(int id) {
  HeadlessControl* control = Find(id);
  return control != nullptr && control->hasTool ? control : nullptr;
}

void HeadlessDialog::AddTool(int id) {
  if (!toolTipControl_)
    return;
  HeadlessControl* control = Find(id);
  if (control == nullptr || control->hasTool)
    return;
  control->hasTool = true;
  control->toolTip.clear();
}

void HeadlessDialog::SetToolText(int id, const std::string& text) {
  if (HeadlessControl* control = FindTool(id))
    control->toolTip = text;
}

bool HeadlessDialog::HasTool(int id) const {
  const HeadlessControl* control = Control(id);
  return control != nullptr && control->hasTool;
}

std::string HeadlessDialog::GetToolText(int id) const {
  return HasTool(id) ? Control(id)->toolTip : std::string();
}

void HeadlessDialog::RemoveTool(int id) {
  if (HeadlessControl* control = FindTool(id)) {
    control->hasTool = false;
    control->toolTip.clear();
  }
}

void HeadlessDialog::SetColours(int id, unsigned background, unsigned text) {
  HeadlessControl* control = Find(id);
  if (control == nullptr)
    return;
  ++control->coloured;
  control->background = background;
  control->textColour = text;
}

int HeadlessDialog::ToolCount() const {
  int count = 0;
  for (const auto& [id, control] : controls_)
    count += control.hasTool ? 1 : 0;
  return count;
}

void HeadlessDialog::SetPainter(int id, Painter* painter, int width, int height) {
  HeadlessControl* control = Find(id);
  if (control == nullptr)
    return;
  control->painter = painter;
  control->paintWidth = width;
  control->paintHeight = height;
}

void HeadlessDialog::Invalidate(int id) {
  if (HeadlessControl* control = Find(id))
    ++control->invalidated;
}

int HeadlessTextExtent(const std::string& text, int fontHeight) {
  return static_cast<int>(text.size()) * fontHeight / 2;
}

namespace {

// Records what a painter draws.
class RecordingContext : public DrawingContext {
 public:
  RecordingContext(int width, int height, std::vector<DrawOp>& ops)
      : width_(width), height_(height), ops_(ops) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRect(int left, int top, int width, int height, unsigned colour) override {
    DrawOp op;
    op.x = left;
    op.y = top;
    op.width = width;
    op.height = height;
    op.colour = colour;
    ops_.push_back(op);
  }
  void SetFont(FontFamily family, bool bold, int pixelHeight) override {
    DrawOp op;
    op.kind = DrawKind::Font;
    op.family = family;
    op.bold = bold;
    op.height = pixelHeight;
    ops_.push_back(op);
    fontHeight_ = pixelHeight;
  }
  int TextExtent(const std::string& text) override { return HeadlessTextExtent(text, fontHeight_); }
  void DrawText(int x, int y, const std::string& text) override {
    DrawOp op;
    op.kind = DrawKind::Text;
    op.x = x;
    op.y = y;
    op.text = text;
    ops_.push_back(op);
  }

 private:
  int width_;
  int height_;
  int fontHeight_ = 16;
  std::vector<DrawOp>& ops_;
};

}  // namespace

std::vector<DrawOp> HeadlessDialog::Paint(int id) {
  std::vector<DrawOp> ops;
  HeadlessControl* control = Find(id);
  if (control == nullptr || control->painter == nullptr)
    return ops;
  RecordingContext dc(control->paintWidth, control->paintHeight, ops);
  control->painter->Paint(id, dc);
  return ops;
}

Menu& HeadlessDialog::CreateMenuBar() {
  if (menuBar_ == nullptr)
    menuBar_ = std::make_unique<HeadlessMenu>();
  return *menuBar_;
}

bool HeadlessDialog::ChooseMenuCommand(int commandId) {
  if (menuBar_ == nullptr || !menuBar_->IsCommandEnabled(commandId))
    return false;
  return Fire(commandId, DialogEvent::MenuCommand);
}

bool HeadlessDialog::Fire(int controlId, DialogEvent event) {
  if (handler_ == nullptr)
    return true;
  return handler_->OnDialogEvent(controlId, event);
}

bool HeadlessDialog::DropFiles(const std::vector<std::string>& paths) {
  if (!acceptsDrops_)
    return false;
  if (handler_ != nullptr)
    handler_->OnFilesDropped(paths);
  return true;
}

bool HeadlessDialog::ClickCheck(int id) {
  if (HeadlessControl* control = Find(id))
    control->check = control->check ? 0 : 1;
  return Fire(id, DialogEvent::Click);
}

// ---- HeadlessSheet ----

HeadlessSheet::HeadlessSheet(const DialogTemplate& sheet, HeadlessPlatform* owner)
    : frame_(sheet, nullptr, nullptr), owner_(owner) {
  if (owner_ != nullptr)
    owner_->sheets.push_back(this);
}

HeadlessSheet::~HeadlessSheet() {
  if (owner_ == nullptr)
    return;
  auto& list = owner_->sheets;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void HeadlessSheet::Show(bool show) {
  if (show && active_ < 0 && !pages_.empty())
    (void)SetActivePage(0);
  frame_.Show(show);
}

DialogWindow& HeadlessSheet::AddPage(const DialogTemplate& page, const std::string& caption) {
  pages_.push_back(std::make_unique<HeadlessDialog>(page, nullptr, nullptr));
  captions_.push_back(caption);
  return *pages_.back();
}

HeadlessDialog* HeadlessSheet::Page(int index) const {
  if (index < 0 || index >= static_cast<int>(pages_.size()))
    return nullptr;
  return pages_[static_cast<std::size_t>(index)].get();
}

std::string HeadlessSheet::GetPageCaption(int index) const {
  if (index < 0 || index >= static_cast<int>(captions_.size()))
    return {};
  return captions_[static_cast<std::size_t>(index)];
}

void HeadlessSheet::SetPageCaption(int index, const std::string& caption) {
  if (index >= 0 && index < static_cast<int>(captions_.size()))
    captions_[static_cast<std::size_t>(index)] = caption;
}

bool HeadlessSheet::SetActivePage(int index) {
  HeadlessDialog* next = Page(index);
  if (next == nullptr)
    return false;
  if (index == active_)
    return true;
  if (HeadlessDialog* current = ActivePage()) {
    if (!current->Fire(0, DialogEvent::PageDeactivate))
      return false;
  }
  active_ = index;
  (void)next->Fire(0, DialogEvent::PageActivate);
  return true;
}

void HeadlessSheet::LeaveFocusedControl() {
  HeadlessDialog* page = ActivePage();
  if (page == nullptr || page->FocusedControl() == 0)
    return;
  const int focused = page->FocusedControl();
  page->SetFocus(0);
  (void)page->Fire(focused, DialogEvent::KillFocus);
}

void HeadlessSheet::Press(int buttonId) {
  LeaveFocusedControl();
  (void)frame_.Fire(buttonId, DialogEvent::Click);
}

bool HeadlessSheet::ClickTab(int index) {
  LeaveFocusedControl();
  return SetActivePage(index);
}

// ---- HeadlessPlatform ----

std::unique_ptr<DialogWindow> HeadlessPlatform::CreateDialog(const DialogTemplate& dialog,
                                                             DialogWindow* /*parent*/) {
  std::function<int(HeadlessDialog&)> script;
  const auto found = modalScripts.find(dialog.id);
  if (found != modalScripts.end())
    script = found->second;
  return std::make_unique<HeadlessDialog>(dialog, std::move(script), this);
}

std::unique_ptr<PropertySheetWindow> HeadlessPlatform::CreatePropertySheet(
    const DialogTemplate& sheet, DialogWindow* /*parent*/) {
  return std::make_unique<HeadlessSheet>(sheet, this);
}

HeadlessSheet* HeadlessPlatform::FindSheet(int templateId) const {
  for (auto it = sheets.rbegin(); it != sheets.rend(); ++it) {
    if ((*it)->GetTemplateId() == templateId)
      return *it;
  }
  return nullptr;
}

HeadlessDialog* HeadlessPlatform::FindDialog(int templateId) const {
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if ((*it)->GetTemplateId() == templateId)
      return *it;
  }
  return nullptr;
}

void HeadlessPlatform::SetWaitCursor(bool on) { waitCursorDepth += on ? 1 : -1; }

int HeadlessPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
  messages.push_back({text, caption, icon, buttons});
  if (messageAnswers.empty())
    return buttons == MessageButtons::YesNoDefaultNo ? kAnswerNo : kAnswerOk;
  const int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

bool HeadlessPlatform::ChooseFiles(const FileChooserRequest& request,
                                   std::vector<std::string>& paths) {
  fileRequests.push_back(request);
  paths.clear();
  if (fileAnswers.empty())
    return false;
  paths = fileAnswers.front();
  fileAnswers.pop_front();
  return !paths.empty();
}

bool HeadlessPlatform::ChooseFolder(const std::string& /*title*/, std::string& folder) {
  if (folderAnswers.empty())
    return false;
  folder = folderAnswers.front();
  folderAnswers.pop_front();
  return !folder.empty();
}

// Both choosers answer from their scripts; an empty script cancels.
bool HeadlessPlatform::ChooseFont(FontChoice& font) {
  fontRequests.push_back(font);
  if (fontAnswers.empty())
    return false;
  const FontChoice answer = fontAnswers.front();
  fontAnswers.pop_front();
  if (answer.face.empty())
    return false;
  font = answer;
  return true;
}

bool HeadlessPlatform::ChooseColour(unsigned& colour) {
  colourRequests.push_back(colour);
  if (colourAnswers.empty())
    return false;
  const int answer = colourAnswers.front();
  colourAnswers.pop_front();
  if (answer < 0)
    return false;
  colour = static_cast<unsigned>(answer) & 0xFFFFFFu;
  return true;
}

bool HeadlessPlatform::SetClipboardText(const std::string& text) {
  if (!clipboardWorks)
    return false;
  clipboard = text;
  clipboardWrites.push_back(text);
  return true;
}

bool HeadlessPlatform::StartProcess(const std::string& program, const std::string& argument,
                                    int& errorCode) {
  if (!processStartWorks) {
    errorCode = processErrorCode;
    return false;
  }
  errorCode = 0;
  processes.push_back({program, argument});
  return true;
}

bool HeadlessPlatform::ShellOpen(const std::string& target) {
  shellOpened.push_back(target);
  return processStartWorks;
}

std::string HeadlessPlatform::ExpandEnvironment(const std::string& text) const {
  // %NAME% references, as registered command lines write them.
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
    if (end == std::string::npos) {
      out.push_back(text[i++]);
      continue;
    }
    const std::string name = text.substr(i + 1, end - i - 1);
    const auto found = environment.find(name);
    if (found != environment.end()) {
      out += found->second;
    } else if (const char* value = std::getenv(name.c_str())) {
      out += value;
    } else {
      out += text.substr(i, end - i + 1);
    }
    i = end + 1;
  }
  return out;
}

bool HeadlessPlatform::FindFileType(const std::string& extension, std::string& fileType) const {
  const auto found = fileTypes.find(extension);
  if (found == fileTypes.end())
    return false;
  fileType = found->second;
  return true;
}

std::string HeadlessPlatform::FindFileTypeCommand(const std::string& fileType,
                                                  const std::string& verb) const {
  const auto found = typeCommands.find({fileType, verb});
  return found == typeCommands.end() ? std::string() : found->second;
}

DdeResult HeadlessPlatform::DdeRequest(const std::string& service, const std::string& topic,
                                       const std::string& item, int timeoutMs, int& error) {
  ddeCalls.push_back({service, topic, item, timeoutMs});
  if (duringDdeRequest)
    duringDdeRequest();
  error = ddeAnswer == DdeResult::Shown ? kDdeNoError : ddeError;
  return ddeAnswer;
}

bool HeadlessPlatform::FileExists(const std::string& path) const {
  return GetFileKind(path.c_str()) == FileKind::Regular;
}
