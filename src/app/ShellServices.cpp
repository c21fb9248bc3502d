#include "app/ShellServices.h"

#include <cstdio>

#include "app/StatusDialog.h"
#include "policy/ErrorHandler.h"
#include "text/TextFile.h"

void LogToStatusWindow(const char* text) {
  if (text == nullptr)
    return;
  StatusDialog& status = GlobalStatusWindow();
  if (status.Exists()) {
    status.AppendStatusLines(text);
    return;
  }
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

int OpenRunLog(LogErrorHandler& handler, TextFile& log, const char* name) {
  if (name == nullptr || name[0] == '\0')
    return 0;
  if (!log.OpenForWrite(name, 0, 0))
    return 0;
  TextString progress("Generating log file ");
  progress.Append(name);
  handler.Diagnostic(progress.GetText());
  handler.SetLogFile(&log);
  handler.SetLogFileName(name);
  return 1;
}

void CloseRunLog(LogErrorHandler& handler, TextFile& log) {
  // Detached first, so no message reaches a closed file.
  handler.SetLogFile(nullptr);
  log.CloseAll();
}
