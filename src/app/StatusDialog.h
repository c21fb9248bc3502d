#pragma once

#include <memory>
#include <string>

#include "platform/DialogWindow.h"
#include "text/StringList.h"

class BaseDialog;
class DesktopPlatform;

// The modeless status window: shows every message of a conversion as it is reported. It
// keeps every line it was given since the last clear (for "Save to file") and shows a
// bounded tail of them, so appending stays cheap during long runs.
class StatusDialog : public DialogEventHandler {
 public:
  // The shown text is rebuilt from the newest lines once it is longer than this.
  static constexpr int kShownLimit = 19999;
  static constexpr int kTailLines = 50;
  // Pieces of one message that are shown; the rest are kept for saving only.
  static constexpr int kShownPieces = 9;
  // Pixels between the default position and the work area's right and bottom edges.
  static constexpr int kCornerMargin = 30;

  StatusDialog() = default;
  ~StatusDialog() override;
  // One window, one line history: never copied.
  StatusDialog(const StatusDialog&) = delete;
  StatusDialog& operator=(const StatusDialog&) = delete;

  // Makes the window (hidden) on the platform and binds it to the main dialog (borrowed, may
  // be null); the check box takes "\Dialogs\AutoDismissStatusDialog".
  void Create(DesktopPlatform& platform, BaseDialog* mainDialog);
  // Forgets the window and the main dialog (before either goes away).
  void Destroy();
  bool Exists() const { return window_ != nullptr; }
  DialogWindow* GetWindow() { return window_.get(); }
  void SetMainDialog(BaseDialog* mainDialog) { main_ = mainDialog; }

  // Adds the lines of a message: the text split at line feeds, each piece trimmed of blanks
  // and tabs, empty pieces skipped. Every piece is kept; the first nine are shown.
  void AppendStatusLines(const char* text);
  // Forgets every line and the shown text.
  void ClearStatus();
  // "Save to file": asks for a name and writes every kept line. 1 when written.
  int SaveStatusLog();
  // Applies the dialog texts of a language (the language last applied is remembered).
  void SetLanguage(int code);

  void Show();
  void Hide();
  void BringToTop();
  bool IsShown() const { return window_ != nullptr && window_->IsShown(); }

  const std::string& GetShownText() const { return shown_; }
  int GetShownLineCount() const { return shownLines_; }
  const StringList& GetLines() const { return lines_; }
  int GetAutoClose() const { return autoClose_; }

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  // Default corner, or the saved position when both coordinates are 0 or more.
  void PlaceWindow();
  void PutText();
  void RememberPosition();

  std::unique_ptr<DialogWindow> window_;
  DesktopPlatform* platform_ = nullptr;
  BaseDialog* main_ = nullptr;
  std::string shown_;
  int autoClose_ = 0;
  int language_ = -1;
  StringList lines_;
  int shownLines_ = 0;
};

// The process's status window; LogToStatusWindow feeds it while it exists.
StatusDialog& GlobalStatusWindow();
