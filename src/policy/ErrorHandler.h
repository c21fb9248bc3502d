#pragma once

#include <functional>

#include "text/TextString.h"

class TextFile;

// Receives one message or diagnostic text (never null). Installed by the user interface;
// an empty callback means console output.
using MessageCallback = std::function<void(const char*)>;

// The end of every message of a conversion: decides whether a text is shown (by its level
// and by the kind named in it) and where it goes (the installed callback, else the console).
// It knows nothing of policies: the caller copies the message policies in with SetLevel and
// SetSuppression before each message. Nothing here fails.
class ErrorHandler {
 public:
  // Set up as Init does.
  ErrorHandler();
  virtual ~ErrorHandler();

  // ---- Settings ----
  // The "Error reporting level": a message of level L is dropped when L < 10 - level.
  void SetLevel(int level);
  // The "Display messages" flag (0 drops everything shown) and the five kind filters.
  void SetSuppression(int enabled, int url, int info, int warning, int programError,
                      int tagError);
  // An empty callback restores console output.
  void SetMessageCallback(MessageCallback callback);
  void SetDiagnosticCallback(MessageCallback callback);
  // Compose a message in the handler's own text, then send it with ReportBuffer or
  // DiagnoseBuffer. A null text counts as empty.
  void SetMessageText(const char* text);
  void AppendMessageText(const char* text);

  int GetLevel() const { return level_; }
  int IsEnabled() const { return enabled_; }
  // The last text handed to Report or Diagnostic (or composed with SetMessageText).
  const TextString& GetMessageText() const { return messageText_; }

  // ---- Virtual operations ----
  // Init, then the callbacks, level, enabled flag and suppression flags of other
  // (not its message text nor, for a log handler, its log).
  virtual void CopySettings(const ErrorHandler& other);
  // No callbacks, level 0, enabled, no suppression.
  virtual void Init();
  // Report(message text, level).
  virtual void ReportBuffer(int level);
  // Shows text unless it is below the level or suppressed: through the message callback,
  // else on standard error with a newline. The text becomes the message text.
  virtual void Report(const char* text, int level);
  // Diagnostic(message text).
  virtual void DiagnoseBuffer();
  // A progress line: only when the level is above 0, the kind is not suppressed and display
  // is on; through the diagnostic callback, else on standard output with a newline.
  virtual void Diagnostic(const char* text);
  // Non-zero when a suppression flag is on and its marker ("URL:", "INFO:", "WARNING:",
  // "PROGRAM ERROR:", "TAG ERROR:") occurs anywhere in the text, case ignored.
  virtual int IsSuppressed(const TextString& text) const;
  // 1 when a message of this level must not be shown (below the reporting level, or display
  // is off).
  virtual int IsBelowLevel(int level) const;

 protected:
  // Shows a message that passed the filter: callback or standard error.
  void ShowMessage(const char* text) const;
  // Shows a diagnostic that passed the filter: callback or standard output.
  void ShowDiagnostic(const char* text) const;
  // Steps 1 and 2 of a diagnostic: stores the text and tells whether it goes on.
  bool AcceptDiagnostic(const char* text);

  MessageCallback messageCallback_;
  MessageCallback diagnosticCallback_;
  TextString messageText_;
  int level_ = 0;
  int enabled_ = 1;
  int suppressUrl_ = 0;
  int suppressInfo_ = 0;
  int suppressWarning_ = 0;
  int suppressProgramError_ = 0;
  int suppressTagError_ = 0;
};

// The handler of the conversion context: as ErrorHandler, and also copies into a log file
// every message that no suppression flag matches, whatever its level or the display flag.
// The log file is not owned: whoever opens it closes it and detaches it with
// SetLogFile(nullptr) first.
class LogErrorHandler : public ErrorHandler {
 public:
  LogErrorHandler();
  ~LogErrorHandler() override;

  // Kept for the user interface; the handler never opens a file by this name. Returns 1.
  int SetLogFileName(const char* name);
  // Attaches (or with null detaches) the open log. Returns 1.
  int SetLogFile(TextFile* file);
  const TextString& GetLogFileName() const { return logFileName_; }
  TextFile* pGetLogFile() const { return logFile_; }

  // Also forgets the log name and file (without closing the file).
  void Init() override;
  // A null text does nothing.
  void Report(const char* text, int level) override;
  // A null text does nothing; an accepted diagnostic also goes to the log.
  void Diagnostic(const char* text) override;
  // 1 when a log file is attached and open.
  virtual int IsLogOpen() const;
  // Writes text as one line of the log; the write's result, or 0 when no log is open.
  virtual int WriteLogLine(const char* text);

 private:
  TextString logFileName_;
  TextFile* logFile_ = nullptr;
};
