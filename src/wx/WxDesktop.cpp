#include "wx/WxDesktop.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/colordlg.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/dialog.h>
#include <wx/dirdlg.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/fontdlg.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/listbox.h>
#include <wx/mimetype.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace {

// Names of files and what the user typed are UTF-8; the interface texts are single bytes of
// the Windows code page ("\xCFnvalid link details"), which are no valid UTF-8 once they leave
// ASCII, and are read as that code page then.
wxString ToWx(std::string_view text) {
  const wxString utf8 = wxString::FromUTF8(text.data(), text.size());
  if (!utf8.empty() || text.empty())
    return utf8;
  return wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
}
wxString ToWx(const std::string& text) { return ToWx(std::string_view(text)); }
std::string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// Lets the window system paint what changed, without running the program's own events: a
// conversion runs on this thread and must not be re-entered.
void PaintPending() {
  constexpr long kAllButInput = wxEVT_CATEGORY_ALL & ~wxEVT_CATEGORY_USER_INPUT;
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    (void)loop->YieldFor(kAllButInput);
    return;
  }
  // Outside every event loop (a command-line run) a loop is made for the moment.
  wxEventLoop loop;
  wxEventLoopActivator active(&loop);
  (void)loop.YieldFor(kAllButInput);
}

// Saves a PNG picture of what a top-level window shows on the screen. The toolkit's drawing
// contexts cannot read a window back, so the picture comes from the toolkit's own window
// reader, looked up in the libraries the framework already loaded. false when that reader
// is not there or the picture could not be written.
bool SaveWindowPicture(wxWindow* window, const char* path) {
  using GetWindow = void* (*)(void*);
  using GetSize = int (*)(void*);
  using ReadWindow = void* (*)(void*, int, int, int, int);
  using SavePicture = int (*)(void*, const char*, const char*, void**, ...);
  using Release = void (*)(void*);
  auto getWindow = reinterpret_cast<GetWindow>(dlsym(RTLD_DEFAULT, "gtk_widget_get_window"));
  auto getWidth = reinterpret_cast<GetSize>(dlsym(RTLD_DEFAULT, "gdk_window_get_width"));
  auto getHeight = reinterpret_cast<GetSize>(dlsym(RTLD_DEFAULT, "gdk_window_get_height"));
  auto readWindow = reinterpret_cast<ReadWindow>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_from_window"));
  auto save = reinterpret_cast<SavePicture>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_save"));
  auto release = reinterpret_cast<Release>(dlsym(RTLD_DEFAULT, "g_object_unref"));
  if (!getWindow || !getWidth || !getHeight || !readWindow || !save || !release)
    return false;
  void* screenWindow = getWindow(window->GetHandle());
  if (screenWindow == nullptr)
    return false;
  void* picture = readWindow(screenWindow, 0, 0, getWidth(screenWindow), getHeight(screenWindow));
  if (picture == nullptr)
    return false;
  void* error = nullptr;
  const int saved = save(picture, path, "png", &error, nullptr);
  release(picture);
  return saved != 0 && error == nullptr;
}

// ---- A dialog window built from its template ----

class WxDialog : public DialogWindow {
 public:
  WxDialog(const DialogTemplate& dialog, wxWindow* parent);
  ~WxDialog() override;

  int GetTemplateId() const override { return templateId_; }
  void SetEventHandler(DialogEventHandler* handler) override { handler_ = handler; }
  void Show(bool show) override;
  bool IsShown() const override { return window_->IsShown(); }
  void BringToTop() override { window_->Raise(); }
  void SetTitle(const std::string& title) override { window_->SetTitle(ToWx(title)); }
  std::string GetTitle() const override { return FromWx(window_->GetTitle()); }
  WindowRect GetRect() const override;
  void Move(int left, int top) override { window_->Move(left, top); }
  void RepaintNow() override;
  int RunModal() override;
  void EndModal(int code) override;

  bool HasControl(int id) const override { return controls_.count(id) != 0; }
  void SetText(int id, const std::string& text) override;
  std::string GetText(int id) const override;
  void SetCheck(int id, int state) override;
  int GetCheck(int id) const override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void ShowControl(int id, bool show) override;
  bool IsControlShown(int id) const override;
  void SetFocus(int id) override;
  bool CanScrollVertically(int id) const override;
  void ScrollToEnd(int id) override;
  int GetItemCount(int id) const override;
  std::string GetItemText(int id, int index) const override;
  void ClearItems(int id) override;
  void AddItem(int id, const std::string& text) override;
  void InsertItem(int id, int index, const std::string& text) override;
  void DeleteItem(int id, int index) override;
  int GetSelection(int id) const override;
  void SetSelection(int id, int index) override;
  void SetRange(int id, int low, int high) override;
  void SetValue(int id, int value) override;
  int GetValue(int id) const override;
  void SetToolTip(int id, const std::string& text) override;
  int ToolCount() const override;
  void SetColours(int id, unsigned background, unsigned text) override {
    wxWindow* w = Find(id);
    if (w == nullptr)
      return;
    auto toColour = [](unsigned rgb) {
      return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    };
    w->SetBackgroundColour(toColour(background));
    w->SetForegroundColour(toColour(text));
    w->Refresh();
  }

  wxDialog* GetWxWindow() { return window_; }

 private:
  struct Control {
    ControlKind kind;
    wxWindow* window;
  };
  wxWindow* Find(int id) const;
  const Control* FindControl(int id) const;
  void Build(const DialogTemplate& dialog);
  wxWindow* MakeControl(const ControlTemplate& row, wxWindow* parent);
  void Deliver(int id, DialogEvent event);
  void OnClose(wxCloseEvent& event);
  void SaveScreenshotIfAsked();

  int templateId_;
  wxDialog* window_;
  DialogEventHandler* handler_ = nullptr;
  std::map<int, Control> controls_;
  bool modal_ = false;
  // Text put by the program raises no change event of its own.
  int quiet_ = 0;
  std::shared_ptr<WxDialog*> self_ = std::make_shared<WxDialog*>(this);
};

WxDialog::WxDialog(const DialogTemplate& dialog, wxWindow* parent)
    : templateId_(dialog.id),
      window_(new wxDialog(parent, wxID_ANY, ToWx(dialog.caption), wxDefaultPosition,
                           wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)) {
  Build(dialog);
  window_->Bind(wxEVT_CLOSE_WINDOW, &WxDialog::OnClose, this);
}

WxDialog::~WxDialog() {
  SaveScreenshotIfAsked();
  *self_ = nullptr;
  handler_ = nullptr;
  window_->Unbind(wxEVT_CLOSE_WINDOW, &WxDialog::OnClose, this);
  window_->Destroy();
}

wxWindow* WxDialog::MakeControl(const ControlTemplate& row, wxWindow* parent) {
  const wxString text = ToWx(row.text);
  switch (row.kind) {
    case ControlKind::Label:
      return new wxStaticText(parent, row.id, text);
    case ControlKind::Edit:
      return new wxTextCtrl(parent, row.id, text);
    case ControlKind::MultiLineEdit: {
      long style = wxTE_MULTILINE | wxTE_DONTWRAP | wxHSCROLL;
      if ((row.flags & kControlEditable) == 0)
        style |= wxTE_READONLY;
      return new wxTextCtrl(parent, row.id, text, wxDefaultPosition, wxDefaultSize, style);
    }
    case ControlKind::Button:
      return new wxButton(parent, row.id, text);
    case ControlKind::CheckBox:
      return new wxCheckBox(parent, row.id, text);
    case ControlKind::Radio:
      return new wxRadioButton(parent, row.id, text);
    case ControlKind::Group:
      return nullptr;  // made by the layout
    case ControlKind::ComboEdit:
      return new wxComboBox(parent, row.id, text, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                            (row.flags & kControlSorted) ? wxCB_SORT : 0);
    case ControlKind::DropList:
      return new wxChoice(parent, row.id);
    case ControlKind::ListBox:
      return new wxListBox(parent, row.id, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                           (row.flags & kControlSorted) ? wxLB_SORT : 0);
    case ControlKind::Slider:
      return new wxSlider(parent, row.id, 0, 0, 100);
  }
  return nullptr;
}

// Fields take the width of their line; labels sit beside the field that follows them.
static bool IsField(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ComboEdit ||
         kind == ControlKind::DropList || kind == ControlKind::Slider;
}

void WxDialog::Build(const DialogTemplate& dialog) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  std::map<int, wxStaticBoxSizer*> groups;
  wxBoxSizer* line = nullptr;  // the open line of a label and its field
  int lineGroup = -1;
  const int gap = window_->FromDIP(6);
  for (const ControlTemplate& row : dialog.controls) {
    if (row.kind == ControlKind::Group) {
      auto* box = new wxStaticBoxSizer(wxVERTICAL, window_, ToWx(row.text));
      groups[row.id] = box;
      top->Add(box, 0, wxEXPAND | wxALL, gap);
      line = nullptr;
      continue;
    }
    wxSizer* parentSizer = top;
    wxWindow* parent = window_;
    const auto group = groups.find(row.group);
    if (group != groups.end()) {
      parentSizer = group->second;
      parent = group->second->GetStaticBox();
    }
    wxWindow* control = MakeControl(row, parent);
    if (control == nullptr)
      continue;
    controls_[row.id] = {row.kind, control};
    if (row.flags & kControlHidden)
      control->Hide();
    if (row.flags & kControlButtonRow) {
      buttons->Add(control, 0, wxLEFT, gap);
      if (row.flags & kControlDefault)
        static_cast<wxButton*>(control)->SetDefault();
      continue;
    }
    const bool continuesLine = line != nullptr && lineGroup == row.group &&
                               (IsField(row.kind) || row.kind == ControlKind::Button);
    if (continuesLine) {
      line->Add(control, IsField(row.kind) ? 1 : 0, wxALIGN_CENTER_VERTICAL | wxLEFT, gap);
      if (row.kind == ControlKind::Button)
        line = nullptr;
      continue;
    }
    if (row.kind == ControlKind::Label || IsField(row.kind)) {
      line = new wxBoxSizer(wxHORIZONTAL);
      lineGroup = row.group;
      line->Add(control, IsField(row.kind) ? 1 : 0, wxALIGN_CENTER_VERTICAL);
      parentSizer->Add(line, 0, wxEXPAND | wxALL, gap);
      continue;
    }
    line = nullptr;
    if (row.kind == ControlKind::MultiLineEdit || row.kind == ControlKind::ListBox) {
      const wxSize chars = window_->GetTextExtent("M");
      const int width = dialog.minWidthChars > 0 ? dialog.minWidthChars : 40;
      const int height = dialog.minHeightLines > 0 ? dialog.minHeightLines : 8;
      control->SetMinSize(wxSize(chars.x * width, chars.y * height));
      parentSizer->Add(control, 1, wxEXPAND | wxALL, gap);
      continue;
    }
    parentSizer->Add(control, 0, wxALL, gap);
  }
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, gap);
  window_->SetSizerAndFit(top);

  // The toolkit may deliver events (a focus change) while the window is being destroyed,
  // after this object is gone: the handlers reach it through a slot that the destructor
  // empties.
  const std::shared_ptr<WxDialog*> self = self_;
  auto deliver = [self](int id, DialogEvent event) {
    if (*self != nullptr)
      (*self)->Deliver(id, event);
  };
  auto deliverEdit = [self](int id) {
    if (*self != nullptr && (*self)->quiet_ == 0)
      (*self)->Deliver(id, DialogEvent::EditChange);
  };
  for (const auto& [id, control] : controls_) {
    const int controlId = id;
    wxWindow* w = control.window;
    switch (control.kind) {
      case ControlKind::Button:
      case ControlKind::CheckBox:
      case ControlKind::Radio:
        w->Bind(wxEVT_BUTTON, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::Click); });
        w->Bind(wxEVT_CHECKBOX, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::Click); });
        w->Bind(wxEVT_RADIOBUTTON, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::Click); });
        break;
      case ControlKind::Edit:
      case ControlKind::MultiLineEdit:
        w->Bind(wxEVT_TEXT, [deliverEdit, controlId](wxCommandEvent&) { deliverEdit(controlId); });
        break;
      case ControlKind::ComboEdit:
        w->Bind(wxEVT_TEXT, [deliverEdit, controlId](wxCommandEvent&) { deliverEdit(controlId); });
        w->Bind(wxEVT_COMBOBOX, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::SelectionChange); });
        w->Bind(wxEVT_COMBOBOX_CLOSEUP, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::CloseUp); });
        break;
      case ControlKind::DropList:
        w->Bind(wxEVT_CHOICE, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::SelectionChange); });
        break;
      case ControlKind::ListBox:
        w->Bind(wxEVT_LISTBOX, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::SelectionChange); });
        break;
      case ControlKind::Slider:
        w->Bind(wxEVT_SLIDER, [deliver, controlId](wxCommandEvent&) { deliver(controlId, DialogEvent::Scroll); });
        break;
      case ControlKind::Label:
      case ControlKind::Group:
        break;
    }
    w->Bind(wxEVT_KILL_FOCUS, [deliver, controlId](wxFocusEvent& event) {
      event.Skip();
      deliver(controlId, DialogEvent::KillFocus);
    });
  }
}

void WxDialog::Deliver(int id, DialogEvent event) {
  if (handler_ != nullptr)
    (void)handler_->OnDialogEvent(id, event);
}

void WxDialog::OnClose(wxCloseEvent& event) {
  const bool allowed = handler_ == nullptr || handler_->OnDialogEvent(0, DialogEvent::CloseRequest);
  if (!allowed && event.CanVeto()) {
    event.Veto();
    return;
  }
  if (modal_) {
    EndModal(2);
    return;
  }
  window_->Hide();
}

void WxDialog::Show(bool show) {
  window_->Show(show);
  Deliver(0, show ? DialogEvent::Shown : DialogEvent::Hidden);
  if (show)
    PaintPending();
}

WindowRect WxDialog::GetRect() const {
  const wxRect rect = window_->GetRect();
  return {rect.x, rect.y, rect.width, rect.height};
}

void WxDialog::RepaintNow() {
  window_->Refresh();
  window_->Update();
  PaintPending();
}

int WxDialog::RunModal() {
  modal_ = true;
  const int result = window_->ShowModal();
  modal_ = false;
  return result;
}

void WxDialog::EndModal(int code) {
  if (window_->IsModal())
    window_->EndModal(code);
}

wxWindow* WxDialog::Find(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second.window;
}

const WxDialog::Control* WxDialog::FindControl(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

void WxDialog::SetText(int id, const std::string& text) {
  wxWindow* w = Find(id);
  if (w == nullptr)
    return;
  ++quiet_;
  if (auto* edit = dynamic_cast<wxTextCtrl*>(w))
    edit->ChangeValue(ToWx(text));
  else if (auto* combo = dynamic_cast<wxComboBox*>(w))
    combo->ChangeValue(ToWx(text));
  else
    w->SetLabel(ToWx(text));
  --quiet_;
}

std::string WxDialog::GetText(int id) const {
  wxWindow* w = Find(id);
  if (w == nullptr)
    return {};
  if (auto* edit = dynamic_cast<wxTextCtrl*>(w))
    return FromWx(edit->GetValue());
  if (auto* combo = dynamic_cast<wxComboBox*>(w))
    return FromWx(combo->GetValue());
  if (auto* choice = dynamic_cast<wxChoice*>(w))
    return FromWx(choice->GetStringSelection());
  return FromWx(w->GetLabel());
}

void WxDialog::SetCheck(int id, int state) {
  wxWindow* w = Find(id);
  if (auto* check = dynamic_cast<wxCheckBox*>(w))
    check->SetValue(state != 0);
  else if (auto* radio = dynamic_cast<wxRadioButton*>(w))
    radio->SetValue(state != 0);
}

int WxDialog::GetCheck(int id) const {
  wxWindow* w = Find(id);
  if (auto* check = dynamic_cast<wxCheckBox*>(w))
    return check->GetValue() ? 1 : 0;
  if (auto* radio = dynamic_cast<wxRadioButton*>(w))
    return radio->GetValue() ? 1 : 0;
  return 0;
}

void WxDialog::Enable(int id, bool enable) {
  if (wxWindow* w = Find(id))
    w->Enable(enable);
}

bool WxDialog::IsEnabled(int id) const {
  wxWindow* w = Find(id);
  return w != nullptr && w->IsEnabled();
}

void WxDialog::ShowControl(int id, bool show) {
  if (wxWindow* w = Find(id)) {
    w->Show(show);
    window_->Layout();
  }
}

bool WxDialog::IsControlShown(int id) const {
  wxWindow* w = Find(id);
  return w != nullptr && w->IsShown();
}

void WxDialog::SetFocus(int id) {
  if (wxWindow* w = Find(id))
    w->SetFocus();
}

bool WxDialog::CanScrollVertically(int id) const {
  const Control* control = FindControl(id);
  return control != nullptr && control->kind == ControlKind::MultiLineEdit;
}

void WxDialog::ScrollToEnd(int id) {
  if (auto* edit = dynamic_cast<wxTextCtrl*>(Find(id))) {
    edit->SetInsertionPointEnd();
    edit->ShowPosition(edit->GetLastPosition());
  }
}

// The item container of a list, combo or drop-down list.
static wxItemContainer* Items(wxWindow* w) { return dynamic_cast<wxItemContainer*>(w); }

int WxDialog::GetItemCount(int id) const {
  wxItemContainer* items = Items(Find(id));
  return items != nullptr ? static_cast<int>(items->GetCount()) : 0;
}

std::string WxDialog::GetItemText(int id, int index) const {
  wxItemContainer* items = Items(Find(id));
  if (items == nullptr || index < 0 || index >= static_cast<int>(items->GetCount()))
    return {};
  return FromWx(items->GetString(static_cast<unsigned>(index)));
}

void WxDialog::ClearItems(int id) {
  if (wxItemContainer* items = Items(Find(id))) {
    ++quiet_;
    // A combo's edit text is its own: clearing the list keeps it.
    auto* combo = dynamic_cast<wxComboBox*>(Find(id));
    const wxString text = combo != nullptr ? combo->GetValue() : wxString();
    items->Clear();
    if (combo != nullptr)
      combo->ChangeValue(text);
    --quiet_;
  }
}

void WxDialog::AddItem(int id, const std::string& text) {
  if (wxItemContainer* items = Items(Find(id)))
    items->Append(ToWx(text));
}

void WxDialog::InsertItem(int id, int index, const std::string& text) {
  wxItemContainer* items = Items(Find(id));
  if (items == nullptr)
    return;
  const int count = static_cast<int>(items->GetCount());
  index = index < 0 ? 0 : (index > count ? count : index);
  items->Insert(ToWx(text), static_cast<unsigned>(index));
}

void WxDialog::DeleteItem(int id, int index) {
  wxItemContainer* items = Items(Find(id));
  if (items == nullptr || index < 0 || index >= static_cast<int>(items->GetCount()))
    return;
  ++quiet_;
  auto* combo = dynamic_cast<wxComboBox*>(Find(id));
  const wxString text = combo != nullptr ? combo->GetValue() : wxString();
  items->Delete(static_cast<unsigned>(index));
  if (combo != nullptr)
    combo->ChangeValue(text);
  --quiet_;
}

int WxDialog::GetSelection(int id) const {
  wxItemContainer* items = Items(Find(id));
  return items != nullptr ? items->GetSelection() : -1;
}

void WxDialog::SetSelection(int id, int index) {
  if (wxItemContainer* items = Items(Find(id)))
    items->SetSelection(index);
}

void WxDialog::SetRange(int id, int low, int high) {
  if (auto* slider = dynamic_cast<wxSlider*>(Find(id)))
    slider->SetRange(low, high);
}

void WxDialog::SetValue(int id, int value) {
  if (auto* slider = dynamic_cast<wxSlider*>(Find(id))) {
    slider->SetValue(value);
    return;
  }
  SetText(id, std::to_string(value));
}

int WxDialog::GetValue(int id) const {
  if (auto* slider = dynamic_cast<wxSlider*>(Find(id)))
    return slider->GetValue();
  return std::atoi(GetText(id).c_str());
}

void WxDialog::SetToolTip(int id, const std::string& text) {
  wxWindow* w = Find(id);
  if (w == nullptr)
    return;
  if (text.empty())
    w->UnsetToolTip();
  else
    w->SetToolTip(ToWx(text));
}

int WxDialog::ToolCount() const {
  int count = 0;
  for (const auto& [id, control] : controls_)
    count += control.window->GetToolTip() != nullptr ? 1 : 0;
  return count;
}

void WxDialog::SaveScreenshotIfAsked() {
  const char* path = Env("KELVANE_SCREENSHOT");
  const char* dialog = Env("KELVANE_SCREENSHOT_DIALOG");
  if (path == nullptr || dialog == nullptr || std::atoi(dialog) != templateId_ ||
      !window_->IsShown())
    return;
  window_->Raise();
  // The window system maps and paints the window in its own time: give it a moment.
  for (int i = 0; i < 20; ++i) {
    window_->Update();
    PaintPending();
    wxMilliSleep(50);
  }
  if (!SaveWindowPicture(window_, path))
    std::fprintf(stderr, "kelvane: could not save the picture %s\n", path);
}

// ---- The platform ----

class WxPlatform : public DesktopPlatform {
 public:
  explicit WxPlatform(SettingsStore& settings) : settings_(settings) {}

  std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                             DialogWindow* parent) override {
    wxWindow* parentWindow = nullptr;
    if (auto* wxParent = dynamic_cast<WxDialog*>(parent))
      parentWindow = wxParent->GetWxWindow();
    return std::make_unique<WxDialog>(dialog, parentWindow);
  }
  WindowRect GetWorkArea() const override {
    const wxRect area = wxDisplay(0u).GetClientArea();
    return {area.x, area.y, area.width, area.height};
  }
  void SetWaitCursor(bool on) override {
    if (on)
      wxBeginBusyCursor();
    else if (wxIsBusy())
      wxEndBusyCursor();
  }
  int ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override;
  bool ChooseFiles(const FileChooserRequest& request, std::vector<std::string>& paths) override;
  bool ChooseFolder(const std::string& title, std::string& folder) override {
    wxDirDialog chooser(nullptr, ToWx(title), ToWx(folder));
    if (chooser.ShowModal() != wxID_OK)
      return false;
    folder = FromWx(chooser.GetPath());
    return true;
  }
  // The toolkit's chooser lists the fonts installed on this system.
  bool ChooseFont(FontChoice& font) override {
    wxFontData data;
    data.EnableEffects(false);
    const double points = font.pointTenths > 0 ? font.pointTenths / 10.0
                                                : wxNORMAL_FONT->GetFractionalPointSize();
    wxFont initial(wxFontInfo(points).FaceName(ToWx(font.face)).Italic(font.italic));
    initial.SetNumericWeight(font.weight);
    data.SetInitialFont(initial);
    wxFontDialog chooser(nullptr, data);
    if (chooser.ShowModal() != wxID_OK)
      return false;
    const wxFont chosen = chooser.GetFontData().GetChosenFont();
    font.face = FromWx(chosen.GetFaceName());
    font.weight = chosen.GetNumericWeight();
    font.italic = chosen.GetStyle() != wxFONTSTYLE_NORMAL;
    font.pointTenths = static_cast<int>(chosen.GetFractionalPointSize() * 10.0 + 0.5);
    return true;
  }
  bool ChooseColour(unsigned& colour) override {
    wxColourData data;
    data.SetColour(wxColour((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    wxColourDialog chooser(nullptr, &data);
    if (chooser.ShowModal() != wxID_OK)
      return false;
    const wxColour chosen = chooser.GetColourData().GetColour();
    colour = (static_cast<unsigned>(chosen.Red()) << 16) |
             (static_cast<unsigned>(chosen.Green()) << 8) | chosen.Blue();
    return true;
  }
  bool SetClipboardText(const std::string& text) override {
    if (!wxTheClipboard->Open())
      return false;
    const bool taken = wxTheClipboard->SetData(new wxTextDataObject(ToWx(text)));
    // The text stays available after the program ends.
    wxTheClipboard->Flush();
    wxTheClipboard->Close();
    return taken;
  }
  bool StartProcess(const std::string& program, const std::string& argument,
                    int& errorCode) override {
    const wxString programText = ToWx(program);
    const wxString argumentText = ToWx(argument);
    const wchar_t* argv[] = {programText.wc_str(), argumentText.wc_str(), nullptr};
    errno = 0;
    const long pid = wxExecute(argv, wxEXEC_ASYNC);
    errorCode = pid > 0 ? 0 : (errno != 0 ? errno : ENOENT);
    return pid > 0;
  }
  bool ShellOpen(const std::string& target) override {
    if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0)
      return wxLaunchDefaultBrowser(ToWx(target));
    return wxLaunchDefaultApplication(ToWx(target));
  }
  std::string ExpandEnvironment(const std::string& text) const override;
  std::string FindAssociation(const std::string& extensionOrScheme) const override;
  DdeResult DdeRequest(const std::string&, const std::string&, const std::string&, int) override {
    // No program on this desktop answers DDE: the caller falls back to starting the browser.
    return DdeResult::NoConversation;
  }
  std::string ModuleFileName() const override {
    return FromWx(wxStandardPaths::Get().GetExecutablePath());
  }
  bool FileExists(const std::string& path) const override {
    return GetFileKind(path.c_str()) == FileKind::Regular;
  }
  SettingsStore& Settings() override { return settings_; }

 private:
  SettingsStore& settings_;
};

int WxPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons) {
  if (Env("KELVANE_NONINTERACTIVE") != nullptr) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? kAnswerYes
                                                                                       : kAnswerOk;
  }
  long style = 0;
  switch (buttons) {
    case MessageButtons::Ok: style = wxOK; break;
    case MessageButtons::OkCancel: style = wxOK | wxCANCEL; break;
    case MessageButtons::YesNo: style = wxYES_NO; break;
    case MessageButtons::YesNoCancel: style = wxYES_NO | wxCANCEL; break;
  }
  switch (icon) {
    case MessageIcon::None: break;
    case MessageIcon::Warning: style |= wxICON_EXCLAMATION; break;
    case MessageIcon::Error: style |= wxICON_ERROR; break;
    case MessageIcon::Information: style |= wxICON_INFORMATION; break;
    case MessageIcon::Question: style |= wxICON_QUESTION; break;
  }
  wxMessageDialog box(nullptr, ToWx(text), ToWx(caption), style);
  switch (box.ShowModal()) {
    case wxID_YES: return kAnswerYes;
    case wxID_NO: return kAnswerNo;
    case wxID_CANCEL: return kAnswerCancel;
    default: return kAnswerOk;
  }
}

// A filter in the form "Description|patterns|...|" as the file chooser takes it; "*.*"
// means every file here.
static wxString ChooserFilter(const std::string& filter) {
  std::string text = filter;
  while (!text.empty() && text.back() == '|')
    text.pop_back();
  for (std::size_t at = text.find("|*.*"); at != std::string::npos; at = text.find("|*.*", at + 1)) {
    const std::size_t end = at + 4;
    if (end == text.size() || text[end] == '|' || text[end] == ';')
      text.replace(at, 4, "|*");
  }
  return ToWx(text);
}

bool WxPlatform::ChooseFiles(const FileChooserRequest& request, std::vector<std::string>& paths) {
  long style = request.save ? wxFD_SAVE : wxFD_OPEN;
  if (request.multiple)
    style |= wxFD_MULTIPLE;
  if (request.mustExist)
    style |= wxFD_FILE_MUST_EXIST;
  wxFileName proposed(ToWx(request.proposedName));
  wxFileDialog chooser(nullptr, ToWx(request.title),
                       request.folder.empty() ? proposed.GetPath() : ToWx(request.folder),
                       proposed.GetFullName(), ChooserFilter(request.filter), style);
  paths.clear();
  if (chooser.ShowModal() != wxID_OK)
    return false;
  wxArrayString chosen;
  if (request.multiple)
    chooser.GetPaths(chosen);
  else
    chosen.Add(chooser.GetPath());
  for (const wxString& path : chosen)
    paths.push_back(FromWx(path));
  return !paths.empty();
}

std::string WxPlatform::ExpandEnvironment(const std::string& text) const {
  // %NAME% as registered command lines write it, then $NAME and ${NAME}.
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
    const char* value = end != std::string::npos
                            ? std::getenv(text.substr(i + 1, end - i - 1).c_str())
                            : nullptr;
    if (value == nullptr) {
      out.push_back(text[i++]);
      continue;
    }
    out += value;
    i = end + 1;
  }
  return FromWx(wxExpandEnvVars(ToWx(out)));
}

std::string WxPlatform::FindAssociation(const std::string& extensionOrScheme) const {
  std::unique_ptr<wxFileType> type;
  if (!extensionOrScheme.empty() && extensionOrScheme[0] == '.')
    type.reset(wxTheMimeTypesManager->GetFileTypeFromExtension(ToWx(extensionOrScheme.substr(1))));
  else
    type.reset(wxTheMimeTypesManager->GetFileTypeFromMimeType(
        ToWx("x-scheme-handler/" + extensionOrScheme)));
  if (type == nullptr)
    return {};
  wxString command;
  if (!type->GetOpenCommand(&command, wxFileType::MessageParameters(wxS("%1"))))
    return {};
  return FromWx(command);
}

}  // namespace

int RunWithWxDesktop(
    int argc, char** argv, SettingsStore& settings,
    const std::function<int(DesktopPlatform& platform, const std::vector<std::string>& args)>&
        body) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.emplace_back(argv[i]);
  // A plain application object: the program runs its own road and each modal dialog its
  // own event loop.
  wxApp::SetInstance(new wxApp());
  // The program reads its own arguments; the framework sees only the program's name.
  int frameworkArgc = argc > 0 ? 1 : 0;
  if (!wxEntryStart(frameworkArgc, argv)) {
    std::fprintf(stderr, "kelvane: the window system cannot be started (is a display set?)\n");
    return 2;
  }
  wxInitAllImageHandlers();
  int result = 2;
  if (wxTheApp->CallOnInit()) {
    WxPlatform platform(settings);
    result = body(platform, args);
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return result;
}
