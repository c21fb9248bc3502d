#include "policy/ErrorHandler.h"

#include <cstdio>
#include <utility>

#include "text/TextFile.h"

ErrorHandler::ErrorHandler() { ErrorHandler::Init(); }

ErrorHandler::~ErrorHandler() = default;

void ErrorHandler::SetLevel(int level) { level_ = level; }

void ErrorHandler::SetSuppression(int enabled, int url, int info, int warning, int programError,
                                  int tagError) {
  enabled_ = enabled;
  suppressUrl_ = url;
  suppressInfo_ = info;
  suppressWarning_ = warning;
  suppressProgramError_ = programError;
  suppressTagError_ = tagError;
}

void ErrorHandler::SetMessageCallback(MessageCallback callback) {
  messageCallback_ = std::move(callback);
}

void ErrorHandler::SetDiagnosticCallback(MessageCallback callback) {
  diagnosticCallback_ = std::move(callback);
}

void ErrorHandler::SetMessageText(const char* text) { messageText_.Assign(text); }

void ErrorHandler::AppendMessageText(const char* text) {
  if (text != nullptr)
    messageText_.Append(text);
}

void ErrorHandler::CopySettings(const ErrorHandler& other) {
  Init();
  messageCallback_ = other.messageCallback_;
  diagnosticCallback_ = other.diagnosticCallback_;
  level_ = other.level_;
  enabled_ = other.enabled_;
  suppressUrl_ = other.suppressUrl_;
  suppressInfo_ = other.suppressInfo_;
  suppressWarning_ = other.suppressWarning_;
  suppressProgramError_ = other.suppressProgramError_;
  suppressTagError_ = other.suppressTagError_;
}

void ErrorHandler::Init() {
  messageCallback_ = nullptr;
  diagnosticCallback_ = nullptr;
  level_ = 0;
  enabled_ = 1;
  suppressUrl_ = 0;
  suppressInfo_ = 0;
  suppressWarning_ = 0;
  suppressProgramError_ = 0;
  suppressTagError_ = 0;
}

void ErrorHandler::ReportBuffer(int level) { Report(messageText_.GetText(), level); }

// ReportBuffer and DiagnoseBuffer hand in the handler's own buffer: assigning it to itself
// would read freed memory if the buffer were replaced, so that case keeps the text as it is.
static void StoreText(TextString& store, const char* text) {
  if (text == store.GetText())
    return;
  store.Assign(text);
}

void ErrorHandler::Report(const char* text, int level) {
  StoreText(messageText_, text);
  // Both tests always run, in this order (a derived test may watch them).
  const int below = IsBelowLevel(level);
  const int suppressed = IsSuppressed(messageText_);
  if (below != 0 || suppressed != 0)
    return;
  ShowMessage(messageText_.GetText());
}

void ErrorHandler::DiagnoseBuffer() { Diagnostic(messageText_.GetText()); }

bool ErrorHandler::AcceptDiagnostic(const char* text) {
  if (level_ <= 0)
    return false;
  StoreText(messageText_, text);
  return IsSuppressed(messageText_) == 0 && enabled_ != 0;
}

void ErrorHandler::Diagnostic(const char* text) {
  if (!AcceptDiagnostic(text))
    return;
  ShowDiagnostic(messageText_.GetText());
}


int ErrorHandler::IsSuppressed(const TextString& text) const {
  // Tested in this order; the marker may stand anywhere ("Line 12 - INFO: ...").
  const struct {
    int flag;
    const char* marker;
  } filters[] = {
      {suppressUrl_, "URL:"},
      {suppressInfo_, "INFO:"},
      {suppressWarning_, "WARNING:"},
      {suppressProgramError_, "PROGRAM ERROR:"},
      {suppressTagError_, "TAG ERROR:"},
  };
  for (const auto& filter : filters) {
    if (filter.flag == 0)
      continue;
    if (text.ContainsNoCase(filter.marker))
      return 1;
  }
  return 0;
}

int ErrorHandler::IsBelowLevel(int level) const {
  if (level < 10 - level_)
    return 1;
  return enabled_ == 0 ? 1 : 0;
}

static void WriteLineTo(std::FILE* stream, const char* text) {
  std::fputs(text, stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

void ErrorHandler::ShowMessage(const char* text) const {
  if (messageCallback_) {
    messageCallback_(text);
    return;
  }
  WriteLineTo(stderr, text);
}

void ErrorHandler::ShowDiagnostic(const char* text) const {
  if (diagnosticCallback_) {
    diagnosticCallback_(text);
    return;
  }
  WriteLineTo(stdout, text);
}

// ---- LogErrorHandler ----

LogErrorHandler::LogErrorHandler() { LogErrorHandler::Init(); }

// The log file belongs to whoever opened it: it is forgotten, not closed.
LogErrorHandler::~LogErrorHandler() = default;

int LogErrorHandler::SetLogFileName(const char* name) {
  logFileName_.Assign(name);
  return 1;
}

int LogErrorHandler::SetLogFile(TextFile* file) {
  logFile_ = file;
  return 1;
}

void LogErrorHandler::Init() {
  ErrorHandler::Init();
  logFileName_.SetEmpty();
  logFile_ = nullptr;
}

void LogErrorHandler::Report(const char* text, int level) {
  if (text == nullptr)
    return;
  StoreText(messageText_, text);
  const int below = IsBelowLevel(level);
  const int suppressed = IsSuppressed(messageText_);
  // The log keeps every message of a shown kind, whatever its level or the display flag.
  if (suppressed == 0 && logFile_ != nullptr)
    WriteLogLine(messageText_.GetText());
  if (below != 0 || suppressed != 0)
    return;
  ShowMessage(messageText_.GetText());
}

void LogErrorHandler::Diagnostic(const char* text) {
  if (text == nullptr)
    return;
  if (!AcceptDiagnostic(text))
    return;
  if (logFile_ != nullptr)
    WriteLogLine(messageText_.GetText());
  ShowDiagnostic(messageText_.GetText());
}

int LogErrorHandler::IsLogOpen() const {
  if (logFile_ == nullptr)
    return 0;
  return logFile_->IsOpen() ? 1 : 0;
}

int LogErrorHandler::WriteLogLine(const char* text) {
  if (IsLogOpen() == 0)
    return 0;
  return logFile_->WriteText(text) ? 1 : 0;
}
