#include "platform/HeadlessPlatform.h"

#include <algorithm>
#include <cstdlib>

#include "platform/FileSystem.h"

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

void HeadlessDialog::SetToolTip(int id, const std::string& text) {
  if (HeadlessControl* control = Find(id))
    control->toolTip = text;
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
    count += control.toolTip.empty() ? 0 : 1;
  return count;
}

bool HeadlessDialog::Fire(int controlId, DialogEvent event) {
  if (handler_ == nullptr)
    return true;
  return handler_->OnDialogEvent(controlId, event);
}

bool HeadlessDialog::ClickCheck(int id) {
  if (HeadlessControl* control = Find(id))
    control->check = control->check ? 0 : 1;
  return Fire(id, DialogEvent::Click);
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
    return kAnswerOk;
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

std::string HeadlessPlatform::FindAssociation(const std::string& extensionOrScheme) const {
  const auto found = associations.find(extensionOrScheme);
  return found == associations.end() ? std::string() : found->second;
}

DdeResult HeadlessPlatform::DdeRequest(const std::string& /*service*/,
                                       const std::string& /*topic*/,
                                       const std::string& /*item*/, int /*timeoutMs*/) {
  return ddeAnswer;
}

bool HeadlessPlatform::FileExists(const std::string& path) const {
  return GetFileKind(path.c_str()) == FileKind::Regular;
}
