#include "wx/WxDesktop.h"

#include <dlfcn.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#include <wx/hyperlink.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/mimetype.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>
#include <wx/utils.h>

#include "platform/DesktopAssociations.h"
#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"
#include "platform/FileSystem.h"
#include "platform/Menu.h"
#include "platform/PropertySheetWindow.h"
#include "platform/SettingsStore.h"
#include "wx/WxCanvas.h"
#include "wx/InterfaceEncoding.h"
#include "wx/WxFileDrop.h"

namespace {

wxString ToWx(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }
std::string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}
// An interface text of the program (a code page text, or UTF-8 where it carries a file name).
wxString UiText(std::string_view text, int codePage) {
  return ToWx(InterfaceTextToUtf8(text, codePage));
}

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// An entry of the gallery the tests asked for (KELVANE_GALLERY=<folder>): the path
// <folder>/<name><extension>; empty without a gallery.
std::string GalleryPath(const std::string& name, const char* extension) {
  const char* folder = Env("KELVANE_GALLERY");
  return folder == nullptr ? std::string() : std::string(folder) + "/" + name + extension;
}
bool GalleryWanted() { return Env("KELVANE_GALLERY") != nullptr; }

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

// A chooser the tests asked to see (KELVANE_SCREENSHOT_DIALOG=font or colour): pictured once
// it shows, then cancelled.
static void PictureChooserIfAsked(wxDialog& chooser, const char* name) {
  const char* dialog = Env("KELVANE_SCREENSHOT_DIALOG");
  const char* path = Env("KELVANE_SCREENSHOT");
  if (dialog == nullptr || path == nullptr || std::strcmp(dialog, name) != 0)
    return;
  const std::string picture = path;
  chooser.CallAfter([&chooser, picture] {
    // The window system maps and paints the chooser in its own time: give it a moment.
    for (int i = 0; i < 20; ++i) {
      chooser.Update();
      PaintPending();
      wxMilliSleep(50);
    }
    if (!SaveWindowPicture(&chooser, picture.c_str()))
      std::fprintf(stderr, "kelvane: could not save the picture %s\n", picture.c_str());
    chooser.EndModal(wxID_CANCEL);
  });
}

// ---- Menus ----

class WxMenu;

// The menus of one window's menu bar: wrappers made on demand, the code page of their texts
// and the way a chosen item reaches the window.
struct WxMenuSet : std::enable_shared_from_this<WxMenuSet> {
  WxMenuSet(const int& page, std::function<void(int)> send)
      : codePage(page), deliver(std::move(send)) {}
  ~WxMenuSet() {
    for (const auto& [command, id] : frameworkIds)
      wxWindow::UnreserveControlId(id);
  }
  WxMenuSet(const WxMenuSet&) = delete;  // the menus' handlers reach this very set
  WxMenuSet& operator=(const WxMenuSet&) = delete;

  const int& codePage;
  std::function<void(int)> deliver;
  std::map<wxMenu*, std::unique_ptr<WxMenu>> wrappers;
  // The framework takes item ids below 0x7FFF, the program's command ids go above: each
  // command gets an id of the framework's own.
  std::map<int, int> frameworkIds;
  std::map<int, int> commandIds;

  // The framework's id of a command, made on first use.
  int FrameworkId(int commandId) {
    const auto found = frameworkIds.find(commandId);
    if (found != frameworkIds.end())
      return found->second;
    const int id = wxWindow::NewControlId();
    frameworkIds[commandId] = id;
    commandIds[id] = commandId;
    return id;
  }
  // The framework's id of a command that has one; wxID_NONE otherwise.
  int FindFrameworkId(int commandId) const {
    const auto found = frameworkIds.find(commandId);
    return found != frameworkIds.end() ? found->second : wxID_NONE;
  }
  int CommandId(int frameworkId) const {
    const auto found = commandIds.find(frameworkId);
    return found != commandIds.end() ? found->second : 0;
  }

  wxString Text(const std::string& text) const { return UiText(text, codePage); }
  Menu* Wrap(wxMenu* menu);
  // A menu about to be deleted, with the menus nested in it.
  void Forget(wxMenu* menu);
  // A new menu: its chosen items go to the window.
  wxMenu* MakeMenu();
};

// A drop-down menu (bar_ null) or the menu bar itself (menu_ null).
class WxMenu : public Menu {
 public:
  WxMenu(wxMenuBar* bar, wxMenu* menu, WxMenuSet& set) : bar_(bar), menu_(menu), set_(set) {}

  void AppendItem(int commandId, const std::string& text, MenuEntryKind kind) override {
    if (menu_ == nullptr)
      return;  // the bar holds drop-down entries only
    const int id = set_.FrameworkId(commandId);
    if (kind == MenuEntryKind::CheckItem)
      menu_->AppendCheckItem(id, set_.Text(text));
    else
      menu_->Append(id, set_.Text(text));
  }
  void AppendSeparator() override {
    if (menu_ != nullptr)
      menu_->AppendSeparator();
  }
  Menu* AppendDropDown(const std::string& text) override {
    wxMenu* dropDown = set_.MakeMenu();
    if (bar_ != nullptr)
      bar_->Append(dropDown, set_.Text(text));
    else
      menu_->AppendSubMenu(dropDown, set_.Text(text));
    return set_.Wrap(dropDown);
  }
  int GetEntryCount() const override {
    return static_cast<int>(bar_ != nullptr ? bar_->GetMenuCount() : menu_->GetMenuItemCount());
  }
  bool GetEntryKind(int position, MenuEntryKind& kind) const override {
    if (!Inside(position))
      return false;
    if (bar_ != nullptr) {
      kind = MenuEntryKind::DropDown;
      return true;
    }
    const wxMenuItem* item = ItemAt(position);
    kind = item->IsSeparator()   ? MenuEntryKind::Separator
           : item->IsSubMenu()   ? MenuEntryKind::DropDown
           : item->IsCheckable() ? MenuEntryKind::CheckItem
                                 : MenuEntryKind::Item;
    return true;
  }
  int GetEntryId(int position) const override {
    if (bar_ != nullptr || !Inside(position))
      return 0;
    const wxMenuItem* item = ItemAt(position);
    return item->IsSeparator() || item->IsSubMenu() ? 0 : set_.CommandId(item->GetId());
  }
  std::string GetEntryText(int position) const override {
    if (!Inside(position))
      return {};
    if (bar_ != nullptr)
      return FromWx(bar_->GetMenuLabel(static_cast<size_t>(position)));
    const wxMenuItem* item = ItemAt(position);
    return item->IsSeparator() ? std::string() : FromWx(item->GetItemLabel());
  }
  bool SetEntryText(int position, const std::string& text) override {
    if (!Inside(position))
      return false;
    if (bar_ != nullptr) {
      bar_->SetMenuLabel(static_cast<size_t>(position), set_.Text(text));
      return true;
    }
    wxMenuItem* item = ItemAt(position);
    if (item->IsSeparator())
      return false;
    item->SetItemLabel(set_.Text(text));
    return true;
  }
  Menu* GetDropDown(int position) override {
    if (!Inside(position))
      return nullptr;
    if (bar_ != nullptr)
      return set_.Wrap(bar_->GetMenu(static_cast<size_t>(position)));
    wxMenuItem* item = ItemAt(position);
    return item->IsSubMenu() ? set_.Wrap(item->GetSubMenu()) : nullptr;
  }
  bool RemoveEntry(int position) override {
    if (!Inside(position))
      return false;
    if (bar_ != nullptr) {
      wxMenu* removed = bar_->Remove(static_cast<size_t>(position));
      set_.Forget(removed);
      delete removed;
      return true;
    }
    wxMenuItem* item = ItemAt(position);
    if (item->IsSubMenu())
      set_.Forget(item->GetSubMenu());
    menu_->Destroy(item);
    return true;
  }
  bool SetRightJustified(int position) override;
  bool HasCommand(int commandId) const override { return FindItem(commandId) != nullptr; }
  bool SetCommandText(int commandId, const std::string& text) override {
    wxMenuItem* item = FindItem(commandId);
    if (item == nullptr)
      return false;
    item->SetItemLabel(set_.Text(text));
    return true;
  }
  std::string GetCommandText(int commandId) const override {
    const wxMenuItem* item = FindItem(commandId);
    return item != nullptr ? FromWx(item->GetItemLabel()) : std::string();
  }
  bool CheckCommand(int commandId, bool checked) override {
    wxMenuItem* item = FindItem(commandId);
    if (item == nullptr || !item->IsCheckable())
      return false;
    item->Check(checked);
    return true;
  }
  bool IsCommandChecked(int commandId) const override {
    const wxMenuItem* item = FindItem(commandId);
    return item != nullptr && item->IsCheckable() && item->IsChecked();
  }
  bool EnableCommand(int commandId, bool enable) override {
    wxMenuItem* item = FindItem(commandId);
    if (item == nullptr)
      return false;
    item->Enable(enable);
    return true;
  }
  bool IsCommandEnabled(int commandId) const override {
    const wxMenuItem* item = FindItem(commandId);
    return item != nullptr && item->IsEnabled();
  }
  bool RemoveCommand(int commandId) override {
    const int id = set_.FindFrameworkId(commandId);
    if (id == wxID_NONE)
      return false;
    wxMenu* owner = nullptr;
    wxMenuItem* item = bar_ != nullptr ? bar_->FindItem(id, &owner) : menu_->FindItem(id, &owner);
    if (item == nullptr || owner == nullptr || item->IsSubMenu())
      return false;
    owner->Destroy(item);
    return true;
  }

 private:
  bool Inside(int position) const { return position >= 0 && position < GetEntryCount(); }
  wxMenuItem* ItemAt(int position) const {
    return menu_->FindItemByPosition(static_cast<size_t>(position));
  }
  // The item (not a drop-down entry) with the id here or in a nested menu.
  wxMenuItem* FindItem(int commandId) const {
    const int id = set_.FindFrameworkId(commandId);
    if (id == wxID_NONE)
      return nullptr;
    wxMenuItem* item = bar_ != nullptr ? bar_->FindItem(id) : menu_->FindItem(id);
    return item != nullptr && !item->IsSubMenu() && !item->IsSeparator() ? item : nullptr;
  }

  wxMenuBar* bar_;
  wxMenu* menu_;
  WxMenuSet& set_;
};

Menu* WxMenuSet::Wrap(wxMenu* menu) {
  if (menu == nullptr)
    return nullptr;
  std::unique_ptr<WxMenu>& wrapper = wrappers[menu];
  if (wrapper == nullptr)
    wrapper = std::make_unique<WxMenu>(nullptr, menu, *this);
  return wrapper.get();
}

void WxMenuSet::Forget(wxMenu* menu) {
  if (menu == nullptr)
    return;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSubMenu())
      Forget(item->GetSubMenu());
  }
  wrappers.erase(menu);
}

wxMenu* WxMenuSet::MakeMenu() {
  auto* menu = new wxMenu();
  // A chosen item is handled by the menu that holds it, so each menu passes its own on.
  // The menus go with the window, which the framework destroys after this set is gone.
  const std::weak_ptr<WxMenuSet> set = weak_from_this();
  menu->Bind(wxEVT_MENU, [set](wxCommandEvent& event) {
    const std::shared_ptr<WxMenuSet> alive = set.lock();
    if (alive == nullptr)
      return;
    if (const int command = alive->CommandId(event.GetId()))
      alive->deliver(command);
  });
  return menu;
}

// The toolkit's menu bar packs its entries from the left; its own right-justify flag, looked
// up in the libraries the framework loaded, moves an entry to the right end. Where the flag is
// not there the entry stays last on the bar.
bool WxMenu::SetRightJustified(int position) {
  if (bar_ == nullptr || !Inside(position))
    return false;
  using SetRight = void (*)(void*, int);
  auto setRight =
      reinterpret_cast<SetRight>(dlsym(RTLD_DEFAULT, "gtk_menu_item_set_right_justified"));
  wxMenu* menu = bar_->GetMenu(static_cast<size_t>(position));
  if (setRight == nullptr || menu == nullptr || menu->m_owner == nullptr)
    return false;
  setRight(menu->m_owner, 1);
  return true;
}

// ---- A dialog window built from its template ----

class WxDialog : public DialogWindow {
 public:
  // codePage: the platform's code page of interface texts, read whenever a text is shown.
  WxDialog(const DialogTemplate& dialog, wxWindow* parent, const int& codePage);
  // A page of a property sheet: the controls on a panel that the sheet's tabs own.
  struct PageOf {
    wxWindow* tabs;
  };
  WxDialog(const DialogTemplate& dialog, PageOf page, const int& codePage);
  ~WxDialog() override;

  int GetTemplateId() const override { return templateId_; }
  void SetEventHandler(DialogEventHandler* handler) override { handler_ = handler; }
  void Show(bool show) override;
  bool IsShown() const override { return window_->IsShown(); }
  void BringToTop() override { window_->Raise(); }
  void SetTitle(const std::string& title) override { window_->SetLabel(Text(title)); }
  std::string GetTitle() const override { return FromWx(window_->GetLabel()); }
  WindowRect GetRect() const override;
  void Move(int left, int top) override { window_->Move(left, top); }
  void RepaintNow() override;
  int RunModal() override;
  void EndModal(int code) override;
  void AcceptDroppedFiles(bool accept) override;

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
  void CreateToolTipControl() override { toolTipControl_ = true; }
  bool HasToolTipControl() const override { return toolTipControl_; }
  void AddTool(int id) override;
  void SetToolText(int id, const std::string& text) override;
  bool HasTool(int id) const override { return FindTool(id) != nullptr; }
  std::string GetToolText(int id) const override;
  void RemoveTool(int id) override;
  int ToolCount() const override;
  void SetPainter(int id, Painter* painter, int width, int height) override;
  void Invalidate(int id) override;
  Menu& CreateMenuBar() override;
  Menu* GetMenuBar() override { return barMenu_.get(); }
  void RedrawMenuBar() override;
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

  wxWindow* GetWxWindow() { return window_; }

 protected:
  // Delivers an event to the handler; its answer (true without a handler).
  bool Ask(int id, DialogEvent event) {
    return handler_ == nullptr || handler_->OnDialogEvent(id, event);
  }
  wxWindow* window_;
  // The top-level window; null for a page.
  wxDialog* dialog_;

 private:
  struct Control {
    ControlKind kind;
    wxWindow* window;
  };
  wxWindow* Find(int id) const;
  const Control* FindControl(int id) const;
  wxToolTip* FindTool(int id) const;
  void Build(const DialogTemplate& dialog);
  wxWindow* MakeControl(const ControlTemplate& row, wxWindow* parent);
  void Deliver(int id, DialogEvent event);
  void OnClose(wxCloseEvent& event);
  void SaveScreenshotIfAsked();
  // The picture of the window, after the window system had settleRounds moments to paint it.
  void SavePicture(const char* path, int settleRounds = 20);
  // The picture and the inspection report of the window into the gallery, as <name>.png and
  // <name>.txt.
  void AddToGallery(const std::string& name);
  // The sheet pictures its pages and reports their controls.
  friend class WxSheet;
  // The report takes the other shown windows: a line "window" with the title of each and,
  // for a sheet, a line "tab" per tab and a line "active" with the selected tab.
  void WriteOtherWindows(const std::string& report);
  // What the window shows, one line per control and per menu bar entry, into a file.
  void WriteInspection(const char* path);
  static void WriteMenuEntries(std::FILE* file, Menu& menu, const std::string& path);
  // Chooses a menu item through the toolkit, as a click does; a command that reaches the
  // window's handler is added to the report as "chosen".
  void ChooseForInspection(int commandId, const std::string& report);
  wxString Text(std::string_view text) const { return UiText(text, codePage_); }

  int templateId_;
  const int& codePage_;
  DialogEventHandler* handler_ = nullptr;
  std::map<int, Control> controls_;
  bool modal_ = false;
  wxGUIEventLoop* modalLoop_ = nullptr;  // the loop of a modal run with a menu bar
  std::string chosenReport_;             // where ChooseForInspection notes a delivered command
  // Text put by the program raises no change event of its own.
  int quiet_ = 0;
  // The toolkit gives each control its own tooltip object; these objects are the tools of
  // the window's tooltip control, which exists from CreateToolTipControl on.
  bool toolTipControl_ = false;
  std::shared_ptr<WxDialog*> self_ = std::make_shared<WxDialog*>(this);
  // The menu bar's wrappers; the bar and its menus belong to the window.
  std::shared_ptr<WxMenuSet> menuSet_;
  std::unique_ptr<WxMenu> barMenu_;
  wxMenuBar* menuBar_ = nullptr;
};

WxDialog::WxDialog(const DialogTemplate& dialog, wxWindow* parent, const int& codePage)
    : window_(new wxDialog(parent, wxID_ANY, UiText(dialog.caption, codePage), wxDefaultPosition,
                           wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)),
      dialog_(static_cast<wxDialog*>(window_)),
      templateId_(dialog.id),
      codePage_(codePage) {
  Build(dialog);
  window_->Bind(wxEVT_CLOSE_WINDOW, &WxDialog::OnClose, this);
}

WxDialog::WxDialog(const DialogTemplate& dialog, PageOf page, const int& codePage)
    : window_(new wxPanel(page.tabs)), dialog_(nullptr), templateId_(dialog.id), codePage_(codePage) {
  Build(dialog);
}

WxDialog::~WxDialog() {
  SaveScreenshotIfAsked();
  *self_ = nullptr;
  handler_ = nullptr;
  // A page's panel belongs to the tabs of its sheet, which destroy it.
  if (dialog_ == nullptr)
    return;
  window_->Unbind(wxEVT_CLOSE_WINDOW, &WxDialog::OnClose, this);
  window_->Destroy();
}

wxWindow* WxDialog::MakeControl(const ControlTemplate& row, wxWindow* parent) {
  const wxString text = Text(row.text);
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
    case ControlKind::Button: {
      // A button that only opens a chooser ("...") is little wider than its text.
      if (row.text != "...")
        return new wxButton(parent, row.id, text);
      auto* button = new wxButton(parent, row.id, text, wxDefaultPosition, wxDefaultSize,
                                  wxBU_EXACTFIT);
      button->SetMinSize(wxSize(window_->FromDIP(36), -1));
      return button;
    }
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
    case ControlKind::Canvas:
      return MakeCanvas(parent, row.id);
    case ControlKind::Link:
      return MakeLink(parent, row.id, std::string(row.text));
  }
  return nullptr;
}

// Fields take the width of their line; labels sit beside the field that follows them.
static bool IsField(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ComboEdit ||
         kind == ControlKind::DropList || kind == ControlKind::Slider ||
         kind == ControlKind::Link;
}

void WxDialog::Build(const DialogTemplate& dialog) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  std::map<int, wxStaticBoxSizer*> groups;
  wxBoxSizer* line = nullptr;  // the open line of a label and its field
  int lineGroup = -1;
  ControlKind lineLast = ControlKind::Label;  // the last control put on the open line
  wxBoxSizer* buttonLine = nullptr;           // the open line of buttons standing alone
  int buttonGroup = -1;
  const int gap = window_->FromDIP(6);
  for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
    const ControlTemplate& row = dialog.controls[index];
    if (row.kind == ControlKind::Group) {
      // The box carries the group's id, so that its caption is a control text like others.
      auto* frame = new wxStaticBox(window_, row.id, Text(row.text));
      controls_[row.id] = {row.kind, frame};
      auto* box = new wxStaticBoxSizer(frame, wxVERTICAL);
      groups[row.id] = box;
      top->Add(box, 0, wxEXPAND | wxALL, gap);
      if (row.flags & kControlHidden)
        top->Hide(box);
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
    if (row.flags & kControlDisabled)
      control->Disable();
    if (row.flags & kControlButtonRow) {
      buttons->Add(control, 0, wxLEFT, gap);
      if (row.flags & kControlDefault)
        static_cast<wxButton*>(control)->SetDefault();
      continue;
    }
    // A number takes a few digits' width, not the line's.
    const bool number = row.kind == ControlKind::Edit && (row.flags & kControlNumber) != 0;
    if (number)
      control->SetMinSize(wxSize(window_->GetTextExtent("0000000").x, -1));
    const int stretch = IsField(row.kind) && !number ? 1 : 0;
    // A slider's end labels stand either side of it; a label that closes its group after a
    // field ends the field's sentence ("Headings at [n] different levels").
    const bool closesGroup = index + 1 == dialog.controls.size() ||
                             dialog.controls[index + 1].kind == ControlKind::Group ||
                             dialog.controls[index + 1].group != row.group;
    const bool endLabel = row.kind == ControlKind::Label &&
                          (lineLast == ControlKind::Slider || (IsField(lineLast) && closesGroup));
    const bool continuesLine = line != nullptr && lineGroup == row.group &&
                               (IsField(row.kind) || row.kind == ControlKind::Button || endLabel);
    lineLast = row.kind;
    if (row.kind != ControlKind::Button || continuesLine)
      buttonLine = nullptr;
    if (continuesLine && row.kind == ControlKind::Button) {
      // A button beside a field is as tall as the field.
      line->Add(control, 0, wxEXPAND | wxLEFT, gap);
      line = nullptr;
      continue;
    }
    if (continuesLine) {
      line->Add(control, stretch, wxALIGN_CENTER_VERTICAL | wxLEFT, gap);
      if (endLabel)
        line = nullptr;
      continue;
    }
    if (row.kind == ControlKind::Label || IsField(row.kind)) {
      line = new wxBoxSizer(wxHORIZONTAL);
      lineGroup = row.group;
      line->Add(control, stretch, wxALIGN_CENTER_VERTICAL);
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
    // Buttons that stand on their own line share it.
    if (row.kind == ControlKind::Button) {
      if (buttonLine == nullptr || buttonGroup != row.group) {
        buttonLine = new wxBoxSizer(wxHORIZONTAL);
        buttonGroup = row.group;
        parentSizer->Add(buttonLine, 0, wxALL, gap);
        buttonLine->Add(control, 0, wxALIGN_CENTER_VERTICAL);
        continue;
      }
      buttonLine->Add(control, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, gap);
      continue;
    }
    parentSizer->Add(control, 0, wxALL, gap);
  }
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, gap);
  // The template's least room, in characters of the dialog font; the fields take what the
  // controls leave.
  const wxSize chars = window_->GetTextExtent("M");
  top->SetMinSize(wxSize(chars.x * dialog.minWidthChars, chars.y * dialog.minHeightLines));
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
        // Positions on the way of a drag are not reported: only where the slider ends up.
        for (const auto type : {wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN,
                                wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_TOP,
                                wxEVT_SCROLL_BOTTOM, wxEVT_SCROLL_CHANGED})
          w->Bind(type, [deliver, controlId](wxScrollEvent& event) {
            event.Skip();
            deliver(controlId, DialogEvent::Scroll);
          });
        break;
      case ControlKind::Link:
        // Handled here, so the link opens nothing of its own.
        w->Bind(wxEVT_HYPERLINK, [deliver, controlId](wxHyperlinkEvent&) { deliver(controlId, DialogEvent::Click); });
        break;
      case ControlKind::Label:
      case ControlKind::Group:
      case ControlKind::Canvas:
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

void WxDialog::AcceptDroppedFiles(bool accept) {
  // Files are dropped on a dialog, not on a page of a sheet.
  if (dialog_ == nullptr)
    return;
  if (!accept) {
    SetFileDropHandler(dialog_, {});
    return;
  }
  const std::shared_ptr<WxDialog*> self = self_;
  SetFileDropHandler(dialog_, [self](const std::vector<std::string>& paths) {
    if (*self != nullptr && (*self)->handler_ != nullptr)
      (*self)->handler_->OnFilesDropped(paths);
  });
}

int WxDialog::RunModal() {
  if (dialog_ == nullptr)
    return 2;
  // A modal dialog waits for the user: once it shows, it is pictured (and inspected) when
  // the tests ask for it, and it closes as if cancelled.
  const char* inspect = Env("KELVANE_INSPECT");
  const char* dialog = Env("KELVANE_SCREENSHOT_DIALOG");
  const bool pictured = dialog != nullptr && std::atoi(dialog) == templateId_;
  // A command chosen in a dialog with a menu may open another window to be pictured.
  const bool commanded =
      inspect != nullptr && Env("KELVANE_INSPECT_COMMAND") != nullptr && menuBar_ != nullptr;
  const bool galleried = GalleryWanted();
  if ((pictured && (inspect != nullptr || Env("KELVANE_SCREENSHOT") != nullptr)) || commanded ||
      galleried) {
    const std::shared_ptr<WxDialog*> self = self_;
    const std::string report = inspect != nullptr ? inspect : "";
    window_->CallAfter([self, report, pictured, galleried] {
      if (*self == nullptr)
        return;
      if (galleried)
        (*self)->AddToGallery("dialog-" + std::to_string((*self)->templateId_));
      const char* picture = Env("KELVANE_SCREENSHOT");
      if (pictured && picture != nullptr)
        (*self)->SavePicture(picture);
      if (!report.empty()) {
        (*self)->WriteInspection(report.c_str());
        if (const char* command = Env("KELVANE_INSPECT_COMMAND"))
          (*self)->ChooseForInspection(std::atoi(command), report);
      }
      if (*self != nullptr)
        (*self)->EndModal(2);
    });
  }
  if (window_->GetDropTarget() != nullptr)
    StartTestActions(dialog_);
  modal_ = true;
  int result = 0;
  if (menuBar_ == nullptr) {
    result = dialog_->ShowModal();
  } else {
    // In the toolkit's own modal state the items of a menu bar inside the dialog cannot be
    // chosen: the dialog is shown with every other window disabled, and runs a loop of its
    // own until EndModal.
    wxWindowDisabler others(window_);
    window_->Show();
    wxGUIEventLoop loop;
    modalLoop_ = &loop;
    result = loop.Run();
    modalLoop_ = nullptr;
    window_->Hide();
  }
  modal_ = false;
  return result;
}

void WxDialog::EndModal(int code) {
  if (modalLoop_ != nullptr) {
    // The first request decides the result; later ones while the loop winds up do nothing.
    modalLoop_->Exit(code);
    modalLoop_ = nullptr;
    return;
  }
  if (dialog_ != nullptr && dialog_->IsModal())
    dialog_->EndModal(code);
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
    edit->ChangeValue(Text(text));
  else if (auto* combo = dynamic_cast<wxComboBox*>(w))
    combo->ChangeValue(Text(text));
  else if (auto* link = dynamic_cast<wxHyperlinkCtrl*>(w))
    SetLinkText(link, text);
  else
    w->SetLabel(Text(text));
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
    items->Append(Text(text));
}

void WxDialog::InsertItem(int id, int index, const std::string& text) {
  wxItemContainer* items = Items(Find(id));
  if (items == nullptr)
    return;
  const int count = static_cast<int>(items->GetCount());
  index = index < 0 ? 0 : (index > count ? count : index);
  items->Insert(Text(text), static_cast<unsigned>(index));
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

wxToolTip* WxDialog::FindTool(int id) const {
  wxWindow* w = Find(id);
  return w != nullptr ? w->GetToolTip() : nullptr;
}

void WxDialog::AddTool(int id) {
  if (!toolTipControl_)
    return;
  wxWindow* w = Find(id);
  if (w == nullptr || w->GetToolTip() != nullptr)
    return;
  // An empty tip shows nothing until the text is set.
  w->SetToolTip(new wxToolTip(wxString()));
}

void WxDialog::SetToolText(int id, const std::string& text) {
  if (wxToolTip* tool = FindTool(id))
    tool->SetTip(Text(text));
}

std::string WxDialog::GetToolText(int id) const {
  const wxToolTip* tool = FindTool(id);
  return tool != nullptr ? FromWx(tool->GetTip()) : std::string();
}

void WxDialog::RemoveTool(int id) {
  if (wxWindow* w = Find(id))
    w->UnsetToolTip();
}

int WxDialog::ToolCount() const {
  int count = 0;
  for (const auto& [id, control] : controls_)
    count += control.window->GetToolTip() != nullptr ? 1 : 0;
  return count;
}

void WxDialog::SetPainter(int id, Painter* painter, int width, int height) {
  wxWindow* w = Find(id);
  if (w == nullptr)
    return;
  SetCanvasPainter(w, painter, width, height);
  window_->GetSizer()->SetSizeHints(window_);
}

void WxDialog::Invalidate(int id) {
  if (wxWindow* w = Find(id))
    w->Refresh();
}

// The room the bar's entries need. The framework sizes a menu bar only inside a frame, so
// the toolkit is asked directly, through its size query looked up in the libraries the
// framework loaded; without it the bar takes two text lines.
static wxSize MenuBarSize(wxMenuBar* bar) {
  struct Requisition {
    int width;
    int height;
  };
  using GetPreferred = void (*)(void*, Requisition*, Requisition*);
  auto getPreferred =
      reinterpret_cast<GetPreferred>(dlsym(RTLD_DEFAULT, "gtk_widget_get_preferred_size"));
  if (getPreferred != nullptr && bar->GetHandle() != nullptr) {
    Requisition least{0, 0}, natural{0, 0};
    getPreferred(bar->GetHandle(), &least, &natural);
    if (natural.height > 0)
      return wxSize(natural.width, natural.height);
  }
  return wxSize(-1, bar->GetCharHeight() * 2);
}

Menu& WxDialog::CreateMenuBar() {
  if (barMenu_ != nullptr)
    return *barMenu_;
  // A dialog has no menu bar of its own in the framework: the bar is a child window at the
  // top of the dialog's layout, and each of its menus hands a chosen item to the window.
  const std::shared_ptr<WxDialog*> self = self_;
  auto deliver = [self](int commandId) {
    if (*self == nullptr)
      return;
    if (!(*self)->chosenReport_.empty()) {
      if (std::FILE* file = std::fopen((*self)->chosenReport_.c_str(), "a")) {
        std::fprintf(file, "chosen\t%d\n", commandId);
        std::fclose(file);
      }
    }
    (*self)->Deliver(commandId, DialogEvent::MenuCommand);
  };
  menuSet_ = std::make_shared<WxMenuSet>(codePage_, deliver);
  menuBar_ = new wxMenuBar();
  menuBar_->Reparent(window_);
  if (wxSizer* sizer = window_->GetSizer())
    sizer->Insert(0, menuBar_, 0, wxEXPAND);
  barMenu_ = std::make_unique<WxMenu>(menuBar_, nullptr, *menuSet_);
  return *barMenu_;
}

void WxDialog::RedrawMenuBar() {
  if (menuBar_ == nullptr)
    return;
  menuBar_->Refresh();
  // The bar's entries may need more room than the controls.
  menuBar_->SetMinSize(MenuBarSize(menuBar_));
  if (wxSizer* sizer = window_->GetSizer())
    sizer->SetSizeHints(window_);
}

void WxDialog::SaveScreenshotIfAsked() {
  if (dialog_ != nullptr && window_->IsShown() && GalleryWanted())
    AddToGallery("dialog-" + std::to_string(templateId_));
  const char* path = Env("KELVANE_SCREENSHOT");
  const char* dialog = Env("KELVANE_SCREENSHOT_DIALOG");
  if (path == nullptr || dialog == nullptr || std::atoi(dialog) != templateId_ ||
      dialog_ == nullptr || !window_->IsShown())
    return;
  SavePicture(path);
}

void WxDialog::WriteInspection(const char* path) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr)
    return;
  std::fprintf(file, "title\t%s\n", GetTitle().c_str());
  for (const auto& [id, control] : controls_) {
    std::fprintf(file, "control\t%d\t%d\t%s\n", id, IsControlShown(id) ? 1 : 0,
                 GetText(id).c_str());
    std::fprintf(file, "class\t%d\t%s\n", id,
                 FromWx(control.window->GetClassInfo()->GetClassName()).c_str());
    for (int i = 0; i < GetItemCount(id); ++i)
      std::fprintf(file, "item\t%d\t%d\t%s\n", id, i, GetItemText(id, i).c_str());
  }
  if (barMenu_ != nullptr) {
    for (int i = 0; i < barMenu_->GetEntryCount(); ++i)
      std::fprintf(file, "menu\t%d\t%s\n", i, barMenu_->GetEntryText(i).c_str());
    WriteMenuEntries(file, *barMenu_, "");
  }
  std::fclose(file);
}

// Every entry of the drop-down menus below menu, as "entry\t<path>\t<text>" with the path of
// positions from the bar ("2.0" is the first entry of the bar's third menu).
void WxDialog::WriteMenuEntries(std::FILE* file, Menu& menu, const std::string& path) {
  for (int i = 0; i < menu.GetEntryCount(); ++i) {
    const std::string position = path.empty() ? std::to_string(i) : path + "." + std::to_string(i);
    if (!path.empty())
      std::fprintf(file, "entry\t%s\t%s\n", position.c_str(), menu.GetEntryText(i).c_str());
    if (Menu* dropDown = menu.GetDropDown(i))
      WriteMenuEntries(file, *dropDown, position);
  }
}

void WxDialog::ChooseForInspection(int commandId, const std::string& report) {
  if (menuBar_ == nullptr)
    return;
  wxMenuItem* item = menuBar_->FindItem(menuSet_->FindFrameworkId(commandId));
  using Activate = void (*)(void*);
  auto activate = reinterpret_cast<Activate>(dlsym(RTLD_DEFAULT, "gtk_menu_item_activate"));
  if (item == nullptr || activate == nullptr || item->GetMenuItem() == nullptr)
    return;
  chosenReport_ = report;
  activate(item->GetMenuItem());
  chosenReport_.clear();
  WriteOtherWindows(report);
}

void WxDialog::WriteOtherWindows(const std::string& report) {
  std::FILE* file = std::fopen(report.c_str(), "a");
  if (file == nullptr)
    return;
  for (wxWindow* top : wxTopLevelWindows) {
    if (top == window_ || !top->IsShown())
      continue;
    std::fprintf(file, "window\t%s\n", FromWx(top->GetLabel()).c_str());
    wxNotebook* tabs = nullptr;
    for (wxWindow* child : top->GetChildren()) {
      if ((tabs = dynamic_cast<wxNotebook*>(child)) != nullptr)
        break;
    }
    if (tabs == nullptr)
      continue;
    for (std::size_t i = 0; i < tabs->GetPageCount(); ++i)
      std::fprintf(file, "tab\t%zu\t%s\n", i, FromWx(tabs->GetPageText(i)).c_str());
    std::fprintf(file, "active\t%d\n", tabs->GetSelection());
  }
  std::fclose(file);
}

void WxDialog::SavePicture(const char* path, int settleRounds) {
  window_->Raise();
  // The pointer goes to the screen's corner, so that no tooltip it raises lies over the window.
  const wxPoint corner = window_->ScreenToClient(wxPoint(0, 0));
  window_->WarpPointer(corner.x, corner.y);
  // The window system maps and paints the window in its own time: give it a moment.
  for (int i = 0; i < settleRounds; ++i) {
    window_->Update();
    PaintPending();
    wxMilliSleep(50);
  }
  if (!SaveWindowPicture(window_, path))
    std::fprintf(stderr, "kelvane: could not save the picture %s\n", path);
}

void WxDialog::AddToGallery(const std::string& name) {
  SavePicture(GalleryPath(name, ".png").c_str());
  WriteInspection(GalleryPath(name, ".txt").c_str());
}

// A page of a sheet: a panel of controls whose handler also hears of its activation.
class WxSheetPage : public WxDialog {
 public:
  WxSheetPage(const DialogTemplate& page, wxWindow* tabs, const int& codePage)
      : WxDialog(page, PageOf{tabs}, codePage) {}
  bool AskHandler(DialogEvent event) { return Ask(0, event); }
};

// ---- A property sheet ----

// The sheet's template gives the closing row; the tabs sit above it. Page changes are
// delivered to the pages as PageDeactivate (which may veto) and PageActivate, whether the
// user or the program changes the tab.
class WxSheet : public PropertySheetWindow {
 public:
  WxSheet(const DialogTemplate& sheet, wxWindow* parent, const int& codePage);
  ~WxSheet() override;

  int GetTemplateId() const override { return frame_->GetTemplateId(); }
  void SetEventHandler(DialogEventHandler* handler) override { frame_->SetEventHandler(handler); }
  void Show(bool show) override;
  bool IsShown() const override { return frame_->IsShown(); }
  void BringToTop() override { frame_->BringToTop(); }
  void SetTitle(const std::string& title) override { frame_->SetTitle(title); }
  std::string GetTitle() const override { return frame_->GetTitle(); }
  WindowRect GetRect() const override { return frame_->GetRect(); }
  void Move(int left, int top) override { frame_->Move(left, top); }
  void RepaintNow() override { frame_->RepaintNow(); }
  int RunModal() override { return frame_->RunModal(); }
  void EndModal(int code) override { frame_->EndModal(code); }
  bool HasControl(int id) const override { return frame_->HasControl(id); }
  void SetText(int id, const std::string& text) override { frame_->SetText(id, text); }
  std::string GetText(int id) const override { return frame_->GetText(id); }
  void SetCheck(int id, int state) override { frame_->SetCheck(id, state); }
  int GetCheck(int id) const override { return frame_->GetCheck(id); }
  void Enable(int id, bool enable) override { frame_->Enable(id, enable); }
  bool IsEnabled(int id) const override { return frame_->IsEnabled(id); }
  void ShowControl(int id, bool show) override { frame_->ShowControl(id, show); }
  bool IsControlShown(int id) const override { return frame_->IsControlShown(id); }
  void SetFocus(int id) override { frame_->SetFocus(id); }
  bool CanScrollVertically(int id) const override { return frame_->CanScrollVertically(id); }
  void ScrollToEnd(int id) override { frame_->ScrollToEnd(id); }
  int GetItemCount(int id) const override { return frame_->GetItemCount(id); }
  std::string GetItemText(int id, int index) const override {
    return frame_->GetItemText(id, index);
  }
  void ClearItems(int id) override { frame_->ClearItems(id); }
  void AddItem(int id, const std::string& text) override { frame_->AddItem(id, text); }
  void InsertItem(int id, int index, const std::string& text) override {
    frame_->InsertItem(id, index, text);
  }
  void DeleteItem(int id, int index) override { frame_->DeleteItem(id, index); }
  int GetSelection(int id) const override { return frame_->GetSelection(id); }
  void SetSelection(int id, int index) override { frame_->SetSelection(id, index); }
  void SetRange(int id, int low, int high) override { frame_->SetRange(id, low, high); }
  void SetValue(int id, int value) override { frame_->SetValue(id, value); }
  int GetValue(int id) const override { return frame_->GetValue(id); }
  void AcceptDroppedFiles(bool accept) override { frame_->AcceptDroppedFiles(accept); }
  void CreateToolTipControl() override { frame_->CreateToolTipControl(); }
  bool HasToolTipControl() const override { return frame_->HasToolTipControl(); }
  void AddTool(int id) override { frame_->AddTool(id); }
  void SetToolText(int id, const std::string& text) override { frame_->SetToolText(id, text); }
  bool HasTool(int id) const override { return frame_->HasTool(id); }
  std::string GetToolText(int id) const override { return frame_->GetToolText(id); }
  void RemoveTool(int id) override { frame_->RemoveTool(id); }
  int ToolCount() const override { return frame_->ToolCount(); }
  void SetPainter(int id, Painter* painter, int width, int height) override {
    frame_->SetPainter(id, painter, width, height);
  }
  void Invalidate(int id) override { frame_->Invalidate(id); }
  Menu& CreateMenuBar() override { return frame_->CreateMenuBar(); }
  Menu* GetMenuBar() override { return frame_->GetMenuBar(); }
  void RedrawMenuBar() override { frame_->RedrawMenuBar(); }
  void SetColours(int id, unsigned background, unsigned text) override {
    frame_->SetColours(id, background, text);
  }

  DialogWindow& AddPage(const DialogTemplate& page, const std::string& caption) override;
  int GetPageCount() const override { return static_cast<int>(pages_.size()); }
  DialogWindow* GetPage(int index) override {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)].get()
                                                : nullptr;
  }
  std::string GetPageCaption(int index) const override;
  void SetPageCaption(int index, const std::string& caption) override;
  int GetActivePage() const override { return active_; }
  bool SetActivePage(int index) override;

 private:
  bool AskPage(int index, DialogEvent event);
  void FitTabs();
  // Each page in turn brought to the front for the gallery: the sheet's picture as
  // page-<page id>.png and the page's controls as page-<page id>.txt; the sheet's own
  // controls as dialog-<sheet id>.txt.
  void AddPagesToGallery();
  // The room a tab takes beside its caption.
  static constexpr int kTabPadding = 36;

  const int& codePage_;
  std::unique_ptr<WxDialog> frame_;
  wxNotebook* tabs_;
  std::vector<std::unique_ptr<WxDialog>> pages_;
  int active_ = -1;
  // Set while the program itself changes the tab.
  bool changing_ = false;
  // The room the largest page needs, tabs included.
  wxSize pageRoom_{0, 0};
  std::shared_ptr<WxSheet*> self_ = std::make_shared<WxSheet*>(this);
};

WxSheet::WxSheet(const DialogTemplate& sheet, wxWindow* parent, const int& codePage)
    : codePage_(codePage), frame_(std::make_unique<WxDialog>(sheet, parent, codePage)) {
  wxWindow* window = frame_->GetWxWindow();
  tabs_ = new wxNotebook(window, wxID_ANY);
  const int gap = window->FromDIP(6);
  window->GetSizer()->Insert(0, tabs_, 1, wxEXPAND | wxALL, gap);
  const std::shared_ptr<WxSheet*> self = self_;
  tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGING, [self](wxBookCtrlEvent& event) {
    WxSheet* sheet = *self;
    if (sheet == nullptr || sheet->changing_)
      return;
    if (!sheet->AskPage(sheet->active_, DialogEvent::PageDeactivate))
      event.Veto();
  });
  tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [self](wxBookCtrlEvent& event) {
    WxSheet* sheet = *self;
    if (sheet == nullptr || sheet->changing_)
      return;
    sheet->active_ = event.GetSelection();
    (void)sheet->AskPage(sheet->active_, DialogEvent::PageActivate);
  });
}

WxSheet::~WxSheet() {
  *self_ = nullptr;
  // The page objects go before the window whose tabs own their panels.
  pages_.clear();
  frame_.reset();
}

bool WxSheet::AskPage(int index, DialogEvent event) {
  DialogWindow* page = GetPage(index);
  if (page == nullptr)
    return true;
  return static_cast<WxSheetPage*>(page)->AskHandler(event);
}

DialogWindow& WxSheet::AddPage(const DialogTemplate& page, const std::string& caption) {
  auto window = std::make_unique<WxSheetPage>(page, tabs_, codePage_);
  // The tabs grow to hold the page before they lay it out: a page squeezed into less room
  // than its controls need upsets the toolkit.
  pageRoom_.IncTo(tabs_->CalcSizeFromPage(window->GetWxWindow()->GetBestSize()));
  FitTabs();
  changing_ = true;
  tabs_->AddPage(window->GetWxWindow(), UiText(caption, codePage_), false);
  changing_ = false;
  pages_.push_back(std::move(window));
  FitTabs();
  return *pages_.back();
}

void WxSheet::FitTabs() {
  // Every tab in view: the tabs scroll instead of showing all when they are wider than
  // the pages.
  wxWindow* frame = frame_->GetWxWindow();
  int width = 0;
  for (std::size_t i = 0; i < tabs_->GetPageCount(); ++i)
    width += frame->GetTextExtent(tabs_->GetPageText(i)).x + frame->FromDIP(kTabPadding);
  tabs_->SetMinSize(wxSize(std::max(width, pageRoom_.x), pageRoom_.y));
  frame->GetSizer()->SetSizeHints(frame);
}

std::string WxSheet::GetPageCaption(int index) const {
  if (index < 0 || index >= static_cast<int>(tabs_->GetPageCount()))
    return {};
  return FromWx(tabs_->GetPageText(static_cast<std::size_t>(index)));
}

void WxSheet::SetPageCaption(int index, const std::string& caption) {
  if (index < 0 || index >= static_cast<int>(tabs_->GetPageCount()))
    return;
  tabs_->SetPageText(static_cast<std::size_t>(index), UiText(caption, codePage_));
  FitTabs();
}

bool WxSheet::SetActivePage(int index) {
  if (GetPage(index) == nullptr)
    return false;
  if (index == active_)
    return true;
  if (!AskPage(active_, DialogEvent::PageDeactivate))
    return false;
  changing_ = true;
  (void)tabs_->ChangeSelection(static_cast<std::size_t>(index));
  changing_ = false;
  active_ = index;
  (void)AskPage(active_, DialogEvent::PageActivate);
  return true;
}

void WxSheet::Show(bool show) {
  if (show && active_ < 0 && !pages_.empty())
    (void)SetActivePage(0);
  frame_->Show(show);
  if (show && GalleryWanted())
    AddPagesToGallery();
}

void WxSheet::AddPagesToGallery() {
  frame_->WriteInspection(
      GalleryPath("dialog-" + std::to_string(GetTemplateId()), ".txt").c_str());
  const int shown = active_;
  for (int i = 0; i < GetPageCount(); ++i) {
    if (!SetActivePage(i))
      continue;
    WxDialog& page = *pages_[static_cast<std::size_t>(i)];
    const std::string name = "page-" + std::to_string(page.GetTemplateId());
    // The window is on the screen already once the first page is taken.
    frame_->SavePicture(GalleryPath(name, ".png").c_str(), i == 0 ? 20 : 6);
    page.WriteInspection(GalleryPath(name, ".txt").c_str());
  }
  (void)SetActivePage(shown);
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
    return std::make_unique<WxDialog>(dialog, parentWindow, codePage_);
  }
  std::unique_ptr<PropertySheetWindow> CreatePropertySheet(const DialogTemplate& sheet,
                                                           DialogWindow* parent) override {
    wxWindow* parentWindow = nullptr;
    if (auto* wxParent = dynamic_cast<WxDialog*>(parent))
      parentWindow = wxParent->GetWxWindow();
    return std::make_unique<WxSheet>(sheet, parentWindow, codePage_);
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
    wxDirDialog chooser(nullptr, UiText(title, codePage_), ToWx(folder));
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
    PictureChooserIfAsked(chooser, "font");
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
    PictureChooserIfAsked(chooser, "colour");
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
    // The argument as a command line writes it: its quotes are no part of the file's name.
    std::string unquoted = argument;
    if (unquoted.size() >= 2 && unquoted.front() == '"' && unquoted.back() == '"')
      unquoted = unquoted.substr(1, unquoted.size() - 2);
    const wxString argumentText = ToWx(unquoted);
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
  // The desktop's MIME database: an extension's MIME type is its file type, whose one verb
  // is "open" (its default application).
  bool FindFileType(const std::string& extension, std::string& fileType) const override {
    fileType = XdgMimeTypeOfExtension(XdgFolders::FromEnvironment(), extension);
    return !fileType.empty();
  }
  std::string FindFileTypeCommand(const std::string& fileType,
                                  const std::string& verb) const override {
    if (verb != "open")
      return {};
    const std::string mimeType =
        fileType.find('/') == std::string::npos ? "x-scheme-handler/" + fileType : fileType;
    return XdgOpenCommand(XdgFolders::FromEnvironment(), mimeType);
  }
  DdeResult DdeRequest(const std::string&, const std::string&, const std::string&, int,
                       int& error) override {
    // No program on this desktop answers DDE: the caller falls back to starting the browser.
    error = kDdeNoConversationEstablished;
    return DdeResult::NoConversation;
  }
  std::string ModuleFileName() const override {
    return FromWx(wxStandardPaths::Get().GetExecutablePath());
  }
  bool FileExists(const std::string& path) const override {
    return GetFileKind(path.c_str()) == FileKind::Regular;
  }
  SettingsStore& Settings() override { return settings_; }
  void SetInterfaceCodePage(int codePage) override { codePage_ = codePage; }
  int GetInterfaceCodePage() const override { return codePage_; }

 private:
  SettingsStore& settings_;
  int codePage_ = kCodePageWesternEurope;
};

int WxPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons) {
  if (Env("KELVANE_NONINTERACTIVE") != nullptr) {
    std::fprintf(stderr, "[%s] %s\n", InterfaceTextToUtf8(caption, codePage_).c_str(),
                 InterfaceTextToUtf8(text, codePage_).c_str());
    if (buttons == MessageButtons::YesNoDefaultNo)
      return kAnswerNo;
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? kAnswerYes
                                                                                       : kAnswerOk;
  }
  long style = 0;
  switch (buttons) {
    case MessageButtons::Ok: style = wxOK; break;
    case MessageButtons::OkCancel: style = wxOK | wxCANCEL; break;
    case MessageButtons::YesNo: style = wxYES_NO; break;
    case MessageButtons::YesNoCancel: style = wxYES_NO | wxCANCEL; break;
    case MessageButtons::YesNoDefaultNo: style = wxYES_NO | wxNO_DEFAULT; break;
  }
  switch (icon) {
    case MessageIcon::None: break;
    case MessageIcon::Warning: style |= wxICON_EXCLAMATION; break;
    case MessageIcon::Error: style |= wxICON_ERROR; break;
    case MessageIcon::Information: style |= wxICON_INFORMATION; break;
    case MessageIcon::Question: style |= wxICON_QUESTION; break;
  }
  wxMessageDialog box(nullptr, UiText(text, codePage_), UiText(caption, codePage_), style);
  switch (box.ShowModal()) {
    case wxID_YES: return kAnswerYes;
    case wxID_NO: return kAnswerNo;
    case wxID_CANCEL: return kAnswerCancel;
    default: return kAnswerOk;
  }
}

// A filter in the form "Description|patterns|...|" as the file chooser takes it; "*.*"
// means every file here.
static wxString ChooserFilter(const std::string& filter, int codePage) {
  std::string text = filter;
  while (!text.empty() && text.back() == '|')
    text.pop_back();
  for (std::size_t at = text.find("|*.*"); at != std::string::npos; at = text.find("|*.*", at + 1)) {
    const std::size_t end = at + 4;
    if (end == text.size() || text[end] == '|' || text[end] == ';')
      text.replace(at, 4, "|*");
  }
  return UiText(text, codePage);
}

bool WxPlatform::ChooseFiles(const FileChooserRequest& request, std::vector<std::string>& paths) {
  long style = request.save ? wxFD_SAVE : wxFD_OPEN;
  if (request.multiple)
    style |= wxFD_MULTIPLE;
  if (request.mustExist)
    style |= wxFD_FILE_MUST_EXIST;
  wxFileName proposed(ToWx(request.proposedName));
  wxFileDialog chooser(nullptr, UiText(request.title, codePage_),
                       request.folder.empty() ? proposed.GetPath() : ToWx(request.folder),
                       proposed.GetFullName(), ChooserFilter(request.filter, codePage_), style);
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
