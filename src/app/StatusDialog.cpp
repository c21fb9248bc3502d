#include "app/StatusDialog.h"

#include <algorithm>
#include <vector>

#include "app/BaseDialog.h"
#include "app/DialogTemplates.h"
#include "engine/Context.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "text/PathUtils.h"
#include "text/TextFile.h"

// The line end of the shown text (the edit control of this platform breaks lines at LF).
static constexpr const char* kShownLineEnd = "\n";

StatusDialog& GlobalStatusWindow() {
  static StatusDialog window;
  return window;
}

StatusDialog::~StatusDialog() = default;

void StatusDialog::Create(DesktopPlatform& platform, BaseDialog* mainDialog) {
  platform_ = &platform;
  main_ = mainDialog;
  const DialogTemplate* dialog = FindDialogTemplate(kDialogStatus);
  window_ = platform.CreateDialog(*dialog, nullptr);
  window_->SetEventHandler(this);
  autoClose_ = main_ != nullptr ? main_->Settings().autoDismissStatusDialog : 0;
  window_->SetCheck(kStatusAutoClose, autoClose_);
  PutText();
  PlaceWindow();
}

void StatusDialog::Destroy() {
  window_.reset();
  main_ = nullptr;
  platform_ = nullptr;
}

// One kept piece of a message and its place among the message's lines.
struct MessagePiece {
  int line;
  std::string text;
};

// The pieces of a message: split at line feeds, trimmed of blanks and tabs, empty ones
// dropped.
static void SplitMessage(const char* text, std::vector<MessagePiece>& pieces) {
  pieces.clear();
  const std::string_view all(text);
  std::size_t from = 0;
  int line = 0;
  while (from <= all.size()) {
    std::size_t end = all.find('\n', from);
    if (end == std::string_view::npos)
      end = all.size();
    std::string_view piece = all.substr(from, end - from);
    const std::size_t first = piece.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      const std::size_t last = piece.find_last_not_of(" \t");
      pieces.push_back({line, std::string(piece.substr(first, last - first + 1))});
    }
    ++line;
    from = end + 1;
  }
}

void StatusDialog::AppendStatusLines(const char* text) {
  if (text == nullptr)
    return;
  std::vector<MessagePiece> pieces;
  SplitMessage(text, pieces);
  std::string block;
  for (const MessagePiece& piece : pieces) {
    lines_.Append(piece.text.c_str());
    // Only the message's first lines are shown; every piece is kept for saving.
    if (piece.line >= kShownPieces)
      continue;
    if (!block.empty())
      block += kShownLineEnd;
    block += piece.text;
  }
  if (static_cast<int>(shown_.size()) > kShownLimit) {
    // Rebuilt from the newest lines: the shown text stays short however long the run.
    shown_.clear();
    const int count = lines_.GetCount();
    const int first = std::max(0, count - kTailLines);
    for (int i = first; i < count; ++i) {
      shown_ += lines_.GetItem(i)->text.GetText();
      shown_ += kShownLineEnd;
    }
    shownLines_ = count - first;
  } else {
    shown_ += block;
    shown_ += kShownLineEnd;
    ++shownLines_;
  }
  if (window_ == nullptr)
    return;
  PutText();
  if (window_->CanScrollVertically(kStatusText))
    window_->ScrollToEnd(kStatusText);
  window_->RepaintNow();
}

void StatusDialog::ClearStatus() {
  lines_.Clear();
  shown_.clear();
  shownLines_ = 0;
}

void StatusDialog::PutText() {
  if (window_ != nullptr)
    window_->SetText(kStatusText, shown_);
}

int StatusDialog::SaveStatusLog() {
  if (platform_ == nullptr)
    return 0;
  if (window_ != nullptr)
    autoClose_ = window_->GetCheck(kStatusAutoClose);
  FileChooserRequest request;
  request.save = true;
  request.mustExist = false;
  request.filter = GetMessageText(kMsgFilterLogFiles);
  const Context* ctx = main_ != nullptr ? main_->GetContext() : nullptr;
  if (ctx != nullptr && !ctx->FirstOutputFileName.IsEmpty()) {
    TextString folder, baseName, extension;
    SplitPath(ctx->FirstOutputFileName, folder, baseName, extension);
    request.folder = folder.GetText();
    request.proposedName = std::string(folder.GetText()) + baseName.GetText() + ".log";
  }
  std::vector<std::string> chosen;
  if (!platform_->ChooseFiles(request, chosen) || chosen.empty())
    return 0;
  std::string path = chosen.front();
  // A name without an extension gets ".log" (a "." in a folder name does not count).
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (path.empty() || dot == std::string::npos)
    path += ".log";
  TextFile file;
  if (!file.OpenForWrite(path.c_str(), 0, 0)) {
    ShowMessageText(*platform_, MessageWithPlaceholder(kMsgLogFileFailed, "ffffff", path),
                    kMsgCaptionOutputFile);
    return 0;
  }
  int written = 1;
  for (int i = 0; i < lines_.GetCount(); ++i) {
    if (!file.WriteText(lines_.GetItem(i)->text.GetText()))
      written = 0;
  }
  file.CloseAll();
  if (!written) {
    platform_->ShowMessageBox("*** Failed to write log file : " + path + " ***",
                              GetMessageText(kMsgCaptionOutputFile), MessageIcon::Warning,
                              MessageButtons::Ok);
  }
  if (window_ != nullptr)
    window_->SetCheck(kStatusAutoClose, autoClose_);
  return written;
}

void StatusDialog::SetLanguage(int code) {
  if (window_ == nullptr)
    return;
  language_ = code;
  ApplyDialogTexts(window_.get(), kDialogStatus);
}

void StatusDialog::PlaceWindow() {
  if (window_ == nullptr || platform_ == nullptr)
    return;
  if (main_ != nullptr && main_->Settings().statusWindow.IsSaved()) {
    window_->Move(main_->Settings().statusWindow.left, main_->Settings().statusWindow.top);
  } else {
    const WindowRect area = platform_->GetWorkArea();
    const WindowRect rect = window_->GetRect();
    window_->Move(area.left + area.width - rect.width - kCornerMargin,
                  area.top + area.height - rect.height - kCornerMargin);
  }
  if (main_ != nullptr && main_->GetLanguage() != language_)
    SetLanguage(main_->GetLanguage());
}

void StatusDialog::Show() {
  if (window_ == nullptr)
    return;
  PlaceWindow();
  window_->Show(true);
}

void StatusDialog::Hide() {
  if (window_ == nullptr)
    return;
  window_->Show(false);
  PlaceWindow();
}

void StatusDialog::BringToTop() {
  if (window_ != nullptr)
    window_->BringToTop();
}

void StatusDialog::RememberPosition() {
  if (window_ == nullptr || main_ == nullptr)
    return;
  const WindowRect rect = window_->GetRect();
  main_->Settings().statusWindow = {rect.left, rect.top};
}

bool StatusDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::CloseRequest ||
      (event == DialogEvent::Click && controlId == kStatusClose)) {
    RememberPosition();
    window_->Show(false);
    // The window stays; a close request is answered by hiding.
    return event != DialogEvent::CloseRequest;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kStatusClear:
      ClearStatus();
      PutText();
      return true;
    case kStatusSave:
      (void)SaveStatusLog();
      return true;
    case kStatusAutoClose:
      autoClose_ = window_->GetCheck(kStatusAutoClose);
      if (main_ != nullptr)
        main_->Settings().autoDismissStatusDialog = autoClose_;
      return true;
    default:
      return true;
  }
}
