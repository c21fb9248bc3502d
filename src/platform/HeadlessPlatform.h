#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"
#include "platform/Menu.h"
#include "platform/SettingsStore.h"

// The desktop without a screen: dialogs and their controls live in memory, questions take
// scripted answers, and everything shown, started or put on the clipboard is recorded. The
// behaviour tests drive the application through it.

// One control of a headless dialog.
struct HeadlessControl {
  ControlKind kind = ControlKind::Label;
  std::string text;
  int check = 0;
  bool enabled = true;
  bool shown = true;
  std::vector<std::string> items;
  int selection = -1;
  int low = 0;
  int high = 100;
  int value = 0;
  bool hasTool = false;
  std::string toolTip;  // the tool's text
  int scrolledToEnd = 0;  // how often ScrollToEnd ran
  Painter* painter = nullptr;
  int paintWidth = 0;
  int paintHeight = 0;
  int invalidated = 0;  // how often Invalidate ran
  int coloured = 0;       // how often SetColours ran; the last colours (0xRRGGBB) below
  unsigned background = 0;
  unsigned textColour = 0;
};

// One drawing operation of a painter, as a headless area records it: Fill (x, y, width,
// height, colour), Font (family, bold, height) or Text (x, y, text).
enum class DrawKind : int { Fill, Font, Text };
struct DrawOp {
  DrawKind kind = DrawKind::Fill;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  unsigned colour = 0;
  FontFamily family = FontFamily::Sans;
  bool bold = false;
  std::string text;
};
// The headless width of a text: half the font's height per byte.
int HeadlessTextExtent(const std::string& text, int fontHeight);
// A menu in memory; tests read its entries.
class HeadlessMenu : public Menu {
 public:
  struct Entry {
    MenuEntryKind kind = MenuEntryKind::Item;
    int id = 0;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool rightJustified = false;
    std::unique_ptr<HeadlessMenu> dropDown;
  };

  void AppendItem(int commandId, const std::string& text, MenuEntryKind kind) override;
  void AppendSeparator() override;
  Menu* AppendDropDown(const std::string& text) override;
  int GetEntryCount() const override { return static_cast<int>(entries.size()); }
  bool GetEntryKind(int position, MenuEntryKind& kind) const override;
  int GetEntryId(int position) const override;
  std::string GetEntryText(int position) const override;
  bool SetEntryText(int position, const std::string& text) override;
  Menu* GetDropDown(int position) override;
  bool RemoveEntry(int position) override;
  bool SetRightJustified(int position) override;
  bool HasCommand(int commandId) const override { return FindItem(commandId) != nullptr; }
  bool SetCommandText(int commandId, const std::string& text) override;
  std::string GetCommandText(int commandId) const override;
  bool CheckCommand(int commandId, bool checked) override;
  bool IsCommandChecked(int commandId) const override;
  bool EnableCommand(int commandId, bool enable) override;
  bool IsCommandEnabled(int commandId) const override;
  bool RemoveCommand(int commandId) override;

  // The item with commandId here or in a nested menu; null when none.
  const Entry* FindItem(int commandId) const;
  // The entry at position; null outside the menu.
  const Entry* At(int position) const;

  std::vector<Entry> entries;

 private:
  Entry* FindItem(int commandId);
};

class HeadlessPlatform;

class HeadlessDialog : public DialogWindow {
 public:
  // modalScript answers RunModal (given the dialog); null: RunModal returns 2 (Cancel).
  // owner (may be null) keeps a record of the dialog while it lives.
  HeadlessDialog(const DialogTemplate& dialog, std::function<int(HeadlessDialog&)> modalScript,
                 HeadlessPlatform* owner);
  ~HeadlessDialog() override;
  HeadlessDialog(const HeadlessDialog&) = delete;
  HeadlessDialog& operator=(const HeadlessDialog&) = delete;

  int GetTemplateId() const override { return templateId_; }
  void SetEventHandler(DialogEventHandler* handler) override { handler_ = handler; }
  void Show(bool show) override;
  bool IsShown() const override { return shown_; }
  void BringToTop() override { ++broughtToTop_; }
  void SetTitle(const std::string& title) override { title_ = title; }
  std::string GetTitle() const override { return title_; }
  WindowRect GetRect() const override { return rect_; }
  void Move(int left, int top) override;
  void RepaintNow() override { ++repaints_; }
  int RunModal() override;
  void EndModal(int code) override;
  void AcceptDroppedFiles(bool accept) override { acceptsDrops_ = accept; }

  bool HasControl(int id) const override { return controls_.count(id) != 0; }
  void SetText(int id, const std::string& text) override;
  std::string GetText(int id) const override;
  void SetCheck(int id, int state) override;
  int GetCheck(int id) const override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void ShowControl(int id, bool show) override;
  bool IsControlShown(int id) const override;
  void SetFocus(int id) override { focus_ = id; }
  // A multi-line edit scrolls once it holds more lines than VisibleLines.
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
  bool HasTool(int id) const override;
  std::string GetToolText(int id) const override;
  void RemoveTool(int id) override;
  int ToolCount() const override;
  void SetPainter(int id, Painter* painter, int width, int height) override;
  void Invalidate(int id) override;
  Menu& CreateMenuBar() override;
  Menu* GetMenuBar() override { return menuBar_.get(); }
  void RedrawMenuBar() override { ++menuRedraws_; }
  void SetColours(int id, unsigned background, unsigned text) override;

  // ---- What a test does and reads ----
  // Runs the painter of an area as the window system would; its drawing operations.
  std::vector<DrawOp> Paint(int id);
  // Delivers an event as the user's action would; false when the handler vetoed it.
  bool Fire(int controlId, DialogEvent event);
  // A user's click on a check box: toggles it, then fires Click.
  bool ClickCheck(int id);
  // Files dropped on the window; false when the window does not accept drops.
  bool DropFiles(const std::vector<std::string>& paths);
  bool AcceptsDroppedFiles() const { return acceptsDrops_; }
  const HeadlessControl* Control(int id) const;
  // The menu bar; null without one.
  const HeadlessMenu* MenuBarEntries() const { return menuBar_.get(); }
  int MenuRedraws() const { return menuRedraws_; }
  // A user's choice of a menu item: fires MenuCommand when the item exists and is enabled.
  bool ChooseMenuCommand(int commandId);
  int Repaints() const { return repaints_; }
  int TimesBroughtToTop() const { return broughtToTop_; }
  int FocusedControl() const { return focus_; }
  bool IsInModalLoop() const { return inModal_; }
  static constexpr int kVisibleLines = 20;

 private:
  HeadlessControl* Find(int id);
  HeadlessControl* FindTool(int id);

  int templateId_;
  HeadlessPlatform* owner_;
  std::string title_;
  std::map<int, HeadlessControl> controls_;
  std::unique_ptr<HeadlessMenu> menuBar_;
  int menuRedraws_ = 0;
  DialogEventHandler* handler_ = nullptr;
  std::function<int(HeadlessDialog&)> modalScript_;
  WindowRect rect_{0, 0, 400, 300};
  bool shown_ = false;
  bool inModal_ = false;
  bool acceptsDrops_ = false;
  int modalCode_ = 0;
  int repaints_ = 0;
  int broughtToTop_ = 0;
  int focus_ = 0;
  bool toolTipControl_ = false;
};

// A property sheet without a screen. Its pages are headless dialogs; a test presses the
// buttons of the closing row and changes tabs as a user does (Press, ClickTab), which first
// takes the focus away from the focused control of the active page.
class HeadlessSheet : public PropertySheetWindow {
 public:
  HeadlessSheet(const DialogTemplate& sheet, HeadlessPlatform* owner);
  ~HeadlessSheet() override;

  int GetTemplateId() const override { return frame_.GetTemplateId(); }
  void SetEventHandler(DialogEventHandler* handler) override { frame_.SetEventHandler(handler); }
  // The first showing activates the first tab when no tab is active.
  void Show(bool show) override;
  bool IsShown() const override { return frame_.IsShown(); }
  void BringToTop() override { frame_.BringToTop(); }
  void SetTitle(const std::string& title) override { frame_.SetTitle(title); }
  std::string GetTitle() const override { return frame_.GetTitle(); }
  WindowRect GetRect() const override { return frame_.GetRect(); }
  void Move(int left, int top) override { frame_.Move(left, top); }
  void RepaintNow() override { frame_.RepaintNow(); }
  int RunModal() override { return frame_.RunModal(); }
  void EndModal(int code) override { frame_.EndModal(code); }
  bool HasControl(int id) const override { return frame_.HasControl(id); }
  void SetText(int id, const std::string& text) override { frame_.SetText(id, text); }
  std::string GetText(int id) const override { return frame_.GetText(id); }
  void SetCheck(int id, int state) override { frame_.SetCheck(id, state); }
  int GetCheck(int id) const override { return frame_.GetCheck(id); }
  void Enable(int id, bool enable) override { frame_.Enable(id, enable); }
  bool IsEnabled(int id) const override { return frame_.IsEnabled(id); }
  void ShowControl(int id, bool show) override { frame_.ShowControl(id, show); }
  bool IsControlShown(int id) const override { return frame_.IsControlShown(id); }
  void SetFocus(int id) override { frame_.SetFocus(id); }
  bool CanScrollVertically(int id) const override { return frame_.CanScrollVertically(id); }
  void ScrollToEnd(int id) override { frame_.ScrollToEnd(id); }
  int GetItemCount(int id) const override { return frame_.GetItemCount(id); }
  std::string GetItemText(int id, int index) const override { return frame_.GetItemText(id, index); }
  void ClearItems(int id) override { frame_.ClearItems(id); }
  void AddItem(int id, const std::string& text) override { frame_.AddItem(id, text); }
  void InsertItem(int id, int index, const std::string& text) override {
    frame_.InsertItem(id, index, text);
  }
  void DeleteItem(int id, int index) override { frame_.DeleteItem(id, index); }
  int GetSelection(int id) const override { return frame_.GetSelection(id); }
  void SetSelection(int id, int index) override { frame_.SetSelection(id, index); }
  void SetRange(int id, int low, int high) override { frame_.SetRange(id, low, high); }
  void SetValue(int id, int value) override { frame_.SetValue(id, value); }
  int GetValue(int id) const override { return frame_.GetValue(id); }
  void AcceptDroppedFiles(bool accept) override { frame_.AcceptDroppedFiles(accept); }
  void CreateToolTipControl() override { frame_.CreateToolTipControl(); }
  bool HasToolTipControl() const override { return frame_.HasToolTipControl(); }
  void AddTool(int id) override { frame_.AddTool(id); }
  void SetToolText(int id, const std::string& text) override { frame_.SetToolText(id, text); }
  bool HasTool(int id) const override { return frame_.HasTool(id); }
  std::string GetToolText(int id) const override { return frame_.GetToolText(id); }
  void RemoveTool(int id) override { frame_.RemoveTool(id); }
  int ToolCount() const override { return frame_.ToolCount(); }
  void SetPainter(int id, Painter* painter, int width, int height) override {
    frame_.SetPainter(id, painter, width, height);
  }
  void Invalidate(int id) override { frame_.Invalidate(id); }
  Menu& CreateMenuBar() override { return frame_.CreateMenuBar(); }
  Menu* GetMenuBar() override { return frame_.GetMenuBar(); }
  void RedrawMenuBar() override { frame_.RedrawMenuBar(); }
  void SetColours(int id, unsigned background, unsigned text) override {
    frame_.SetColours(id, background, text);
  }

  DialogWindow& AddPage(const DialogTemplate& page, const std::string& caption) override;
  int GetPageCount() const override { return static_cast<int>(pages_.size()); }
  DialogWindow* GetPage(int index) override { return Page(index); }
  std::string GetPageCaption(int index) const override;
  void SetPageCaption(int index, const std::string& caption) override;
  int GetActivePage() const override { return active_; }
  bool SetActivePage(int index) override;

  // ---- What a test does and reads ----
  HeadlessDialog* Page(int index) const;
  HeadlessDialog* ActivePage() const { return Page(active_); }
  int TimesBroughtToTop() const { return frame_.TimesBroughtToTop(); }
  // A button of the closing row pressed: the focused control of the active page loses the
  // focus, then the sheet gets the click.
  void Press(int buttonId);
  // A tab chosen by the user: the focused control loses the focus, then the tab changes.
  bool ClickTab(int index);
  // The window's own close button.
  bool Close() { return frame_.Fire(0, DialogEvent::CloseRequest); }

 private:
  void LeaveFocusedControl();

  HeadlessDialog frame_;
  HeadlessPlatform* owner_;
  std::vector<std::unique_ptr<HeadlessDialog>> pages_;
  std::vector<std::string> captions_;
  int active_ = -1;
};

// A message box the program showed.
struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};

struct StartedProcess {
  std::string program;
  std::string argument;
};

// A DDE request the program made.
struct DdeCall {
  std::string service;
  std::string topic;
  std::string item;
  int timeoutMs;
};

class HeadlessPlatform : public DesktopPlatform {
 public:
  HeadlessPlatform() = default;

  std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                             DialogWindow* parent) override;
  std::unique_ptr<PropertySheetWindow> CreatePropertySheet(const DialogTemplate& sheet,
                                                           DialogWindow* parent) override;
  WindowRect GetWorkArea() const override { return workArea; }
  void SetWaitCursor(bool on) override;
  int ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override;
  bool ChooseFiles(const FileChooserRequest& request, std::vector<std::string>& paths) override;
  bool ChooseFolder(const std::string& title, std::string& folder) override;
  bool ChooseFont(FontChoice& font) override;
  bool ChooseColour(unsigned& colour) override;
  bool SetClipboardText(const std::string& text) override;
  bool StartProcess(const std::string& program, const std::string& argument,
                    int& errorCode) override;
  bool ShellOpen(const std::string& target) override;
  std::string ExpandEnvironment(const std::string& text) const override;
  bool FindFileType(const std::string& extension, std::string& fileType) const override;
  std::string FindFileTypeCommand(const std::string& fileType,
                                  const std::string& verb) const override;
  DdeResult DdeRequest(const std::string& service, const std::string& topic,
                       const std::string& item, int timeoutMs, int& error) override;
  std::string ModuleFileName() const override { return moduleFileName; }
  bool FileExists(const std::string& path) const override;
  SettingsStore& Settings() override { return settings; }
  void SetInterfaceCodePage(int codePage) override { interfaceCodePage = codePage; }
  int GetInterfaceCodePage() const override { return interfaceCodePage; }

  // ---- Script ----
  WindowRect workArea{0, 0, 1280, 1024};
  // Answers of message boxes, in order; the default button (kAnswerOk, kAnswerNo for
  // YesNoDefaultNo) when the queue is empty.
  std::deque<int> messageAnswers;
  // Answers of file choosers: empty vector = cancelled.
  std::deque<std::vector<std::string>> fileAnswers;
  std::deque<std::string> folderAnswers;  // empty text = cancelled
  std::deque<FontChoice> fontAnswers;     // empty face = cancelled
  std::deque<int> colourAnswers;          // 0xRRGGBB; -1 = cancelled
  bool clipboardWorks = true;
  bool processStartWorks = true;
  int processErrorCode = 2;
  // The registry's associations as Windows keeps them: an extension names a file type (an
  // empty name is registered without one), a file type's verbs name command lines.
  std::map<std::string, std::string> fileTypes;  // extension -> file type
  std::map<std::pair<std::string, std::string>, std::string> typeCommands;  // (type, verb)
  std::map<std::string, std::string> environment;   // consulted before the real one
  DdeResult ddeAnswer = DdeResult::NoConversation;
  int ddeError = kDdeNoConversationEstablished;
  std::function<void()> duringDdeRequest;  // runs inside each request
  std::string moduleFileName = "/usr/bin/kelvane";
  // Nested modal dialogs: the answer of RunModal by template id.
  std::map<int, std::function<int(HeadlessDialog&)>> modalScripts;
  MemorySettingsStore settings;
  int interfaceCodePage = kCodePageWesternEurope;

  // ---- Record ----
  std::vector<ShownMessage> messages;
  std::vector<FileChooserRequest> fileRequests;
  std::vector<FontChoice> fontRequests;    // what each font chooser started from
  std::vector<unsigned> colourRequests;    // what each colour chooser started from
  std::vector<StartedProcess> processes;
  std::vector<DdeCall> ddeCalls;
  std::vector<std::string> shellOpened;
  std::vector<std::string> clipboardWrites;
  std::string clipboard;
  // The living dialogs, in the order they were made (owned by the program).
  std::vector<HeadlessDialog*> dialogs;
  // The newest living dialog of a template; null when none.
  HeadlessDialog* FindDialog(int templateId) const;
  // The living property sheets, in the order they were made (owned by the program).
  std::vector<HeadlessSheet*> sheets;
  // The newest living sheet of a template; null when none.
  HeadlessSheet* FindSheet(int templateId) const;
  int waitCursorDepth = 0;
};
