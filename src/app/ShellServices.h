#pragma once

class LogErrorHandler;
class TextFile;

// What the application shell gives the conversion engine: the status output that the
// handler's callbacks feed, and the run log.

// The message and diagnostic callback: each text goes to the status window while its window
// exists (the desktop program), else to standard error as one line (standard output may
// carry the document).
void LogToStatusWindow(const char* text);

// Opens the log file name for writing, reports "Generating log file <name>" through the
// handler's diagnostic stream and attaches the file (and its name) to the handler.
// 0 when the log cannot be opened (nothing is attached).
[[nodiscard]] int OpenRunLog(LogErrorHandler& handler, TextFile& log, const char* name);
// Detaches the log from the handler, then closes it.
void CloseRunLog(LogErrorHandler& handler, TextFile& log);
