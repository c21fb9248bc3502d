// The road of every engine message: through the line a pass is working on, or through the
// Context's handler with this policy set's message policies, or to the console.
#include "policy/FileControl.h"

#include <cstdio>

#include "policy/PolicyContext.h"

// The handler keeps no policies of its own: each message first gets the current ones.
void FileControl::ApplyHandlerSettings() {
  if (context_ == nullptr) return;
  LogErrorHandler& handler = context_->GetLogErrorHandler();
  handler.SetLevel(GetInt(PolicyId::ErrorReportingLevel));
  handler.SetSuppression(GetInt(PolicyId::DisplayMessages), GetInt(PolicyId::SuppressURLMessages),
                         GetInt(PolicyId::SuppressINFOMessages),
                         GetInt(PolicyId::SuppressWARNINGMessages),
                         GetInt(PolicyId::SuppressProgramERRORMessages),
                         GetInt(PolicyId::SuppressTAGERRORMessages));
}

void FileControl::ReportMessage(const char* text, int level) {
  if (text == nullptr) return;
  ++messageCount_;
  if (context_ == nullptr) {
    ReportToHandler(text, level);
    return;
  }
  const int location = context_->CodeLocation;
  // Between passes no tracker applies; unlike pGetTracker this road stays quiet about it.
  if (location < kLocationAnalysis || location > kLocationOutput) {
    ReportToHandler(text, level);
    return;
  }
  if (context_->ReportOnPassLine(location, text, level)) return;
  ReportToHandler(text, level);
}

void FileControl::ReportToHandler(const char* text, int level) {
  if (text == nullptr) return;
  if (text != lastMessage_.GetText()) lastMessage_.Assign(text);
  if (context_ != nullptr) {
    ApplyHandlerSettings();
    context_->GetLogErrorHandler().Report(lastMessage_.GetText(), level);
    return;
  }
  if (!GetInt(PolicyId::DisplayMessages)) return;
  std::fprintf(stderr, "%s\n", lastMessage_.GetText());
  std::fflush(stderr);
}

void FileControl::ReportProgress(const char* text) {
  if (context_ != nullptr) {
    ApplyHandlerSettings();
    context_->GetLogErrorHandler().Diagnostic(text);
    return;
  }
  if (!GetInt(PolicyId::DisplayMessages) || text == nullptr) return;
  std::fprintf(stdout, "%s\n", text);
  std::fflush(stdout);
}
