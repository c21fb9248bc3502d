#include "analysis/PreHTML.h"

#include <utility>

#include "engine/Context.h"
#include "policy/ErrorHandler.h"

PreHTML::PreHTML() { Reset(1); }

PreHTML::PreHTML(Statement* previous) : Statement(previous) { Reset(1); }

PreHTML::~PreHTML() = default;

void PreHTML::Reset(int /*fromConstructor*/) {
  lineType_ = 0;
  start_.Reset();
  end_.Reset();
  taggedType_ = kTagNone;
  flags_ = (flags_ & kDriverFlagsMask) | kFlagIncluded;
  specialFormat_ = 0;
  preformattedCount_ = 0;
  note_.reset();
}

void PreHTML::SetText(const char* text) {
  if (text == nullptr) {
    SetEmpty();
    rawCopy_.SetEmpty();
    return;
  }
  Assign(text);
}

void PreHTML::SetStartPosition(FileControl& /*fc*/, const TextPosition& position) {
  if (position.IsSet())
    start_ = position;
}

void PreHTML::SetEndPosition(FileControl& /*fc*/, const TextPosition& position) {
  if (position.IsSet())
    end_ = position;
}

int PreHTML::AnalyseLine(FileControl& /*fc*/, Context& /*ctx*/) { return 0; }

int PreHTML::AddToStatistics(FileControl& /*fc*/, Context& /*ctx*/) { return 0; }

int PreHTML::ExecuteTag(FileControl& /*fc*/, Context& /*ctx*/, const TextString& /*command*/) {
  return 0;
}

int PreHTML::TidyUnixWord(TextString& /*workLine*/, FileControl& /*fc*/, int& changed,
                          TextString& /*out*/, int /*flag*/) {
  changed = 0;
  return 0;
}

int PreHTML::ConvertReferences(FileControl& /*fc*/, Context& /*ctx*/) { return 0; }

void PreHTML::ReportLineMessage(Context& ctx, const char* text, int level) {
  const Tracker& tracker = ctx.GetPassTracker(ctx.CodeLocation);
  const int analysisOrContents = (ctx.AnalysisPass != 0 || ctx.ContentsPass != 0) ? 1 : 0;
  ReportLineMessageTo(ctx.GetLogErrorHandler(), ctx.ListFile != nullptr ? 1 : 0,
                      analysisOrContents, MessageLineNumber(tracker.currentPosition),
                      text, level);
}

int PreHTML::MessageLineNumber(const TextPosition& trackerPosition) const {
  // Positions hold (block, line within the block); the user knows the line, the number the
  // list file prints beside it.
  if (start_.IsSet())
    return start_.GetColumn();
  return trackerPosition.GetColumn() + 1;
}

void PreHTML::ReportLineMessageTo(LogErrorHandler& handler, int keepNotes,
                                  int analysisOrContentsPass, int lineNumber, const char* text,
                                  int level) {
  if (text == nullptr)
    return;
  const TextString message(text);
  if (handler.IsSuppressed(message) != 0)
    return;
  if (keepNotes != 0) {
    if (!note_)
      note_ = std::make_unique<TextString>();
    else if (!note_->IsEmpty())
      note_->AppendChar('\n');
    note_->Append("*** ");
    note_->Append(message);
  }
  // Every pass raises the same messages; only the output pass shows them.
  if (analysisOrContentsPass != 0)
    return;
  TextString shown("Line ");
  shown.AppendNumber('1', lineNumber, 0);
  shown.Append(" - ");
  shown.Append(message);
  handler.Report(shown.GetText(), level);
}
