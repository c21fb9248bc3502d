#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DesktopPlatform.h"
#include "platform/DialogTemplate.h"
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
  std::string toolTip;
  int scrolledToEnd = 0;  // how often ScrollToEnd ran
  int coloured = 0;       // how often SetColours ran; the last colours (0xRRGGBB) below
  unsigned background = 0;
  unsigned textColour = 0;
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
  void SetToolTip(int id, const std::string& text) override;
  int ToolCount() const override;
  void SetColours(int id, unsigned background, unsigned text) override;

  // ---- What a test does and reads ----
  // Delivers an event as the user's action would; false when the handler vetoed it.
  bool Fire(int controlId, DialogEvent event);
  // A user's click on a check box: toggles it, then fires Click.
  bool ClickCheck(int id);
  const HeadlessControl* Control(int id) const;
  int Repaints() const { return repaints_; }
  int TimesBroughtToTop() const { return broughtToTop_; }
  int FocusedControl() const { return focus_; }
  bool IsInModalLoop() const { return inModal_; }
  static constexpr int kVisibleLines = 20;

 private:
  HeadlessControl* Find(int id);

  int templateId_;
  HeadlessPlatform* owner_;
  std::string title_;
  std::map<int, HeadlessControl> controls_;
  DialogEventHandler* handler_ = nullptr;
  std::function<int(HeadlessDialog&)> modalScript_;
  WindowRect rect_{0, 0, 400, 300};
  bool shown_ = false;
  bool inModal_ = false;
  int modalCode_ = 0;
  int repaints_ = 0;
  int broughtToTop_ = 0;
  int focus_ = 0;
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

class HeadlessPlatform : public DesktopPlatform {
 public:
  HeadlessPlatform() = default;

  std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
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
  std::string FindAssociation(const std::string& extensionOrScheme) const override;
  DdeResult DdeRequest(const std::string& service, const std::string& topic,
                       const std::string& item, int timeoutMs) override;
  std::string ModuleFileName() const override { return moduleFileName; }
  bool FileExists(const std::string& path) const override;
  SettingsStore& Settings() override { return settings; }

  // ---- Script ----
  WindowRect workArea{0, 0, 1280, 1024};
  // Answers of message boxes, in order; kAnswerOk when the queue is empty.
  std::deque<int> messageAnswers;
  // Answers of file choosers: empty vector = cancelled.
  std::deque<std::vector<std::string>> fileAnswers;
  std::deque<std::string> folderAnswers;  // empty text = cancelled
  std::deque<FontChoice> fontAnswers;     // empty face = cancelled
  std::deque<int> colourAnswers;          // 0xRRGGBB; -1 = cancelled
  bool clipboardWorks = true;
  bool processStartWorks = true;
  int processErrorCode = 2;
  std::map<std::string, std::string> associations;  // extension or scheme -> command
  std::map<std::string, std::string> environment;   // consulted before the real one
  DdeResult ddeAnswer = DdeResult::NoConversation;
  std::string moduleFileName = "/usr/bin/kelvane";
  // Nested modal dialogs: the answer of RunModal by template id.
  std::map<int, std::function<int(HeadlessDialog&)>> modalScripts;
  MemorySettingsStore settings;

  // ---- Record ----
  std::vector<ShownMessage> messages;
  std::vector<FileChooserRequest> fileRequests;
  std::vector<FontChoice> fontRequests;    // what each font chooser started from
  std::vector<unsigned> colourRequests;    // what each colour chooser started from
  std::vector<StartedProcess> processes;
  std::vector<std::string> shellOpened;
  std::vector<std::string> clipboardWrites;
  std::string clipboard;
  // The living dialogs, in the order they were made (owned by the program).
  std::vector<HeadlessDialog*> dialogs;
  // The newest living dialog of a template; null when none.
  HeadlessDialog* FindDialog(int templateId) const;
  int waitCursorDepth = 0;
};
