#include "convert/LineWindow.h"

#include <string_view>

#include "analysis/HeadingRegistration.h"
#include "analysis/LineClassTests.h"
#include "analysis/LineContext.h"
#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StatementReading.h"
#include "rtf/OutFile.h"
#include "analysis/TagServices.h"
#include "tags/LineTags.h"
#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextFile.h"

// ---- LineWindow ----

LineWindow::LineWindow() { slots_[0] = std::make_unique<PreHTML>(); }

LineWindow::~LineWindow() = default;

PreHTML* LineWindow::Previous() const { return Slot(current_ - 1); }

static bool IsOutputPass(const Context& ctx) { return ctx.OutputPass != 0; }
static bool IsContentsPass(const Context& ctx) { return ctx.ContentsPass != 0; }

// ---- Lines leaving the window ----

// The writes of one leaving line: the writer first (output pass), then the list file. Returns
// 0 when one failed; nothing is written once the pass has failed.
static int WriteLeavingLine(LineWindow& window, PreHTML& line, FileControl& fc, Context& ctx,
                            TextFile* listFile, OutFile* lineSink) {
  if (window.Failed)
    return 0;
  if (lineSink != nullptr && IsOutputPass(ctx) && !lineSink->WriteOut(line, fc, ctx)) {
    window.Failed = 1;
    return 0;
  }
  if (!WriteListFile(listFile, line, fc, window.ListFlags)) {
    window.Failed = 1;
    return 0;
  }
  return 1;
}

int AdvanceLineWindow(int analysis, LineWindow& window, FileControl& fc, Context& ctx,
                      TextFile* listFile, OutFile* lineSink) {
  if (!window.full_) {
    PreHTML* remembered = window.slots_[static_cast<std::size_t>(window.current_)].get();
    ++window.current_;
    auto& slot = window.slots_[static_cast<std::size_t>(window.current_)];
    if (slot)
      slot->LinkAfter(remembered);
    else
      slot = std::make_unique<PreHTML>(remembered);
    if (window.current_ == kWindowSize - 1)
      window.full_ = 1;
    return 1;
  }

  const int next = LineWindow::Wrap(window.current_ + 1);
  PreHTML& leaving = *window.slots_[static_cast<std::size_t>(next)];
  const int result = WriteLeavingLine(window, leaving, fc, ctx, listFile, lineSink);
  if (IsContentsPass(ctx))
    ProcessContentsLine(leaving, fc, ctx);
  if (analysis)
    (void)leaving.AddToStatistics(fc, ctx.Statistics);
  // The oldest lines are always input lines: closing lines are appended after all of them.
  if (window.InputLinesHeld > 0)
    --window.InputLinesHeld;

  if (PreHTML* after = window.Slot(next + 1); after != nullptr)
    after->SetPrevious(nullptr);
  PreHTML* remembered = window.slots_[static_cast<std::size_t>(window.current_)].get();
  window.current_ = next;
  leaving.Reset(0);
  leaving.SetText(nullptr);
  leaving.LinkAfter(remembered);
  return result;
}

int IgnoreEndLines(int count, LineWindow& window) {
  // Only the input lines still held may be blanked: a larger count would reach empty slots
  // or lines that already left.
  if (count > window.InputLinesHeld)
    count = window.InputLinesHeld;
  if (count < 0)
    count = 0;
  for (int i = 0; i < count; ++i) {
    PreHTML* line = window.Slot(window.GetCurrentIndex() - 1 - i);
    if (line == nullptr)
      break;
    line->SetLineType(kTypeUntyped);
    line->SetText(nullptr);
  }
  window.IgnoredLines = count;
  return count;
}

// ---- Per-statement step ----

static void GivePositions(FileControl& fc, PreHTML& line, const PassCounters& counters) {
  line.SetStartPosition(fc, counters.StartPosition());
  line.SetEndPosition(fc, counters.EndPosition());
}

// The directive keyword and message name of a definition's tagged type.
struct DefinitionDirective {
  int taggedType;
  Directive directive;
  const char* parseError;
  const char* recursiveError;
  int kind;
};
static constexpr DefinitionDirective kDefinitionDirectives[] = {
    {kTagDefineBlock, Directive::DefineBlock, "TAG ERROR: Failed to parse DEFINE_BLOCK",
     "TAG ERROR: recursive DEFINE_BLOCK detected.", kDefineBlock},
    {kTagResetBlock, Directive::ResetBlock, "TAG ERROR: Failed to parse RESET_BLOCK",
     "TAG ERROR: recursive RESET_BLOCK detected.", kDefineBlock},
    {kTagDefineHtmlFragment, Directive::DefineHtmlFragment,
     "TAG ERROR: Failed to parse DEFINE_HTML_FRAGMENT",
     "TAG ERROR: recursive DEFINE_HTML_FRAGMENT detected.", kDefineFragment},
    {kTagDefineTextFragment, Directive::DefineTextFragment,
     "TAG ERROR: Failed to parse DEFINE_TEXT_FRAGMENT",
     "TAG ERROR: recursive DEFINE_TEXT_FRAGMENT detected.", kDefineFragment},
    {kTagResetHtmlFragment, Directive::ResetHtmlFragment,
     "TAG ERROR: Failed to parse RESET_HTML_FRAGMENT",
     "TAG ERROR: recursive RESET_HTML_FRAGMENT detected.", kDefineFragment},
    {kTagResetTextFragment, Directive::ResetTextFragment,
     "TAG ERROR: Failed to parse RESET_TEXT_FRAGMENT",
     "TAG ERROR: recursive RESET_TEXT_FRAGMENT detected.", kDefineFragment},
};

static const DefinitionDirective* FindDefinitionDirective(int taggedType) {
  for (const DefinitionDirective& d : kDefinitionDirectives)
    if (d.taggedType == taggedType)
      return &d;
  return nullptr;
}

static bool ClosesDefinition(int taggedType) {
  return taggedType == kTagEndBlock || taggedType == kTagResetBlock ||
         taggedType == kTagResetHtmlFragment || taggedType == kTagResetTextFragment;
}

// Lines that open or close a definition keep their own type inside it.
static bool KeepsTypeInsideDefinition(int taggedType) {
  return taggedType == kTagDefineBlock || taggedType == kTagEndBlock ||
         taggedType == kTagDefineHtmlFragment || taggedType == kTagDefineTextFragment;
}

// Only the output pass reports, so each problem is reported once.
static void ReportInOutputPass(Context& ctx, PreHTML& line, const char* text, int level) {
  if (IsOutputPass(ctx))
    line.ReportLineMessage(ctx, text, level);
}

static void OpenDefinition(FileControl& fc, Context& ctx, PreHTML& line, PassCounters& counters,
                           const DefinitionDirective& d) {
  const int taggedType = line.GetTaggedType();
  TextString arguments(line.GetRawCopy());
  TextString name;
  TextString scope;
  bool parsed = ParseTagArguments(fc, arguments, ctx.GetDirectiveName(d.directive).GetText());
  if (parsed)
    parsed = GetTagText(fc, arguments, 1, name) != 0;
  ctx.Defines.OpenDefinition(ctx, taggedType, name);
  if (!parsed) {
    ReportInOutputPass(ctx, line, d.parseError, 10);
    return;
  }
  GetTagTextOrDefault(fc, arguments, 2, scope, "");
  TextPosition position = counters.StartPosition();
  int page = 0;
  int global = 1;
  TextString message;
  int level = 10;
  if (!scope.IsEmpty() && !ParsePageScope(fc, scope, position, page, global, message, level)) {
    if (!message.IsEmpty())
      ReportInOutputPass(ctx, line, message.GetText(), level);
    ReportInOutputPass(ctx, line, d.parseError, 10);
    return;
  }
  if (line.GetTaggedType() == taggedType && ctx.AnalysisPass != 0)
    (void)ctx.Defines.Add(fc, d.kind, name, counters.StartPosition(), page, global, nullptr, 0);
  ++counters.definitionCounter;
  --counters.mainLine;
  counters.blockNumber = counters.definitionCounter;
  counters.lineInBlock = 1;
  GivePositions(fc, line, counters);
}

static void DefineVariable(FileControl& fc, Context& ctx, PreHTML& line,
                           PassCounters& counters) {
  TextString arguments(line.GetRawCopy());
  TextString name;
  TextString value;
  TextString scope;
  const bool parsed =
      ParseTagArguments(fc, arguments, ctx.GetDirectiveName(Directive::DefineVariable).GetText()) &&
      GetTagText(fc, arguments, 1, name) != 0 && GetTagText(fc, arguments, 2, value) != 0;
  TextPosition position = counters.StartPosition();
  int page = 0;
  int global = 1;
  TextString message;
  int level = 10;
  bool scopeValid = true;
  if (parsed) {
    GetTagTextOrDefault(fc, arguments, 3, scope, "");
    scopeValid = ParsePageScope(fc, scope, position, page, global, message, level);
  }
  if (parsed && scopeValid) {
    ++counters.definitionCounter;
    if (ctx.AnalysisPass != 0)
      (void)ctx.Defines.Add(fc, kDefineVariable, name, TextPosition(), page, global, &value, 0);
  } else {
    if (!scopeValid && !message.IsEmpty())
      ReportInOutputPass(ctx, line, message.GetText(), level);
    ReportInOutputPass(ctx, line, "TAG ERROR: Failed to parse DEFINE_VARIABLE", 10);
  }
  line.SetLineType(kTagDefineVariable);
}

void ProcessDefinitionTag(FileControl& fc, Context& ctx, PreHTML& line, PassCounters& counters) {
  ctx.CodeLocation = kLocationAnalysis;
  ++counters.lineInBlock;
  ++counters.statementsRead;
  if (counters.blockNumber == 0)
    ++counters.mainLine;
  GivePositions(fc, line, counters);
  // Messages raised while the statement is taken in are tied to it.
  Tracker& tracker = ctx.GetPassTracker(kLocationAnalysis);
  tracker.currentLine = &line;
  tracker.currentPosition = counters.StartPosition();

  const int taggedType = line.GetTaggedType();
  if (const DefinitionDirective* d = FindDefinitionDirective(taggedType); d != nullptr) {
    if (!ctx.Defines.IsDefinitionOpen())
      OpenDefinition(fc, ctx, line, counters, *d);
    else
      ReportInOutputPass(ctx, line, d->recursiveError, 10);
    line.SetLineType(taggedType);
  }
  if (ClosesDefinition(taggedType)) {
    if (ctx.Defines.IsDefinitionOpen()) {
      ctx.Defines.CloseDefinition();
      counters.blockNumber = counters.mainBlock;
      counters.lineInBlock = counters.mainLine;
    } else {
      ReportInOutputPass(ctx, line, "TAG ERROR: END_BLOCK not expected here.", 10);
    }
    line.SetLineType(taggedType);
  }
  if (ctx.Defines.IsDefinitionOpen() && !KeepsTypeInsideDefinition(taggedType)) {
    if (ctx.AnalysisPass != 0)
      (void)ctx.Defines.AppendLine(line.GetRawCopy());
    line.SetLineType(kTypeNull);
  }
  if (taggedType == kTagDefineVariable)
    DefineVariable(fc, ctx, line, counters);
  ctx.CodeLocation = kLocationNone;
}

// ---- Contents pass ----

// Embedded headings register the heading text found inside the line instead.
static bool IsRegisteredHeadingType(int type) {
  return IsHeadingType(type) && type != kTypeEmbeddedHeading;
}

void ProcessContentsLine(PreHTML& line, FileControl& fc, Context& ctx) {
  if (ctx.CodeLocation == kLocationNone)
    ctx.CodeLocation = kLocationOutput;
  Tracker* tracker = ctx.pGetTracker();
  if (IsContentsPass(ctx) && line.GetStartPosition().IsSet())
    tracker->currentPosition = line.GetStartPosition();

  const int type = line.GetLineType();
  if (IsRegisteredHeadingType(type) && fc.pGetContext() != nullptr) {
    RegisterHeadingLine(ctx, fc, &line);
  } else if (type == kTypeEmbeddedHeading) {
    Statement heading;
    if (GetEmbeddedHeadingText(fc, line, heading) != 0) {
      TextPosition position = line.GetStartPosition();
      if (!position.IsSet())
        position.Set(tracker->currentPosition.GetLine(), tracker->currentPosition.GetColumn() + 1);
      const TextString text(heading);
      const TextString empty;
      RegisterHeading(ctx, fc, type, text, text, TextString(text), position, empty, empty, empty);
    }
  }
  ScanInlineCommands(fc, ctx, line);
  ctx.CodeLocation = kLocationNone;
}

// The in-line commands that must be known before output.
static bool IsEarlyCommand(std::string_view command, std::string_view start) {
  const std::string_view body = command.substr(start.size());
  return body.starts_with("LINKPOINT") || body.starts_with("PAGE_MARKER");
}

void ScanInlineCommands(FileControl& fc, Context& ctx, PreHTML& line) {
  const TextString& startText = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& endText = fc.GetText(PolicyId::EndTagDelimiter);
  if (startText.IsEmpty() || endText.IsEmpty())
    return;
  const std::string_view start(startText.GetText(), static_cast<std::size_t>(startText.GetLength()));
  const std::string_view end(endText.GetText(), static_cast<std::size_t>(endText.GetLength()));
  const TextString& input = line.GetRawCopy();
  const std::string_view text(input.GetText(), static_cast<std::size_t>(input.GetLength()));
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t open = text.find(start, from);
    if (open == std::string_view::npos)
      return;
    const std::size_t close = text.find(end, open + start.size());
    if (close == std::string_view::npos)
      return;
    const std::string_view command = text.substr(open, close + end.size() - open);
    if (IsEarlyCommand(command, start))
      (void)ExecuteLineTag(line, fc, ctx, TextString(std::string(command).c_str()));
    from = close + end.size();
  }
}

// ---- The window loop ----

// The location whose tracker follows the lines of this pass.
static int PassLocation(int analysis, const Context& ctx) {
  if (analysis)
    return kLocationAnalysis;
  return IsContentsPass(ctx) ? kLocationContents : kLocationOutput;
}

static void AnalysePrevious(LineWindow& window, FileControl& fc, Context& ctx, int location) {
  PreHTML* previous = window.Previous();
  if (previous == nullptr)
    return;
  Tracker& tracker = ctx.GetPassTracker(location);
  tracker.currentLine = previous;
  tracker.currentPosition = previous->GetStartPosition();
  // The conversion stage comes first: the analysis sees the text as the output will hold it.
  LineContext before;
  FillLineContext(fc, before, static_cast<PreHTML*>(previous->GetPrevious()));
  ctx.LineStage = kLineStageConversion;
  previous->TidyLine(&before, fc, ctx);
  ctx.LineStage = kLineStageNone;
  (void)previous->AnalyseLine(fc, ctx);
}

// One closing line after the input: a new slot, then the line before it gets type and no text.
static void AppendClosingLine(int analysis, LineWindow& window, FileControl& fc, Context& ctx,
                              TextFile* listFile, OutFile* lineSink, int type) {
  // After a failure the window does not move, and the last input line must not be overwritten.
  if (window.Failed)
    return;
  if (!AdvanceLineWindow(analysis, window, fc, ctx, listFile, lineSink))
    window.Failed = 1;
  PreHTML* line = window.Previous();
  if (line == nullptr)
    return;
  line->SetLineType(type);
  line->SetText(nullptr);
  ++window.ClosingLines;
}

static void FlushWindow(int analysis, LineWindow& window, FileControl& fc, Context& ctx,
                        TextFile* listFile, OutFile* lineSink) {
  const int held = window.HeldLines();
  const int oldest = window.OldestIndex();
  if (IsOutputPass(ctx) && !analysis) {
    // Every line still held, ignored and closing lines included, reaches the writer.
    for (int i = 0; i < held; ++i) {
      PreHTML* line = window.Slot(oldest + i);
      if (line == nullptr || window.Failed)
        break;
      (void)WriteLeavingLine(window, *line, fc, ctx, listFile, lineSink);
    }
    return;
  }
  // Analysis and contents: only the input lines that were not ignored.
  const int count = window.InputLinesHeld - window.IgnoredLines;
  for (int i = 0; i < count; ++i) {
    PreHTML* line = window.Slot(oldest + i);
    if (line == nullptr)
      break;
    if (analysis) {
      if (!window.Failed)
        (void)WriteLeavingLine(window, *line, fc, ctx, listFile, nullptr);
      (void)line->AddToStatistics(fc, ctx.Statistics);
    } else {
      ProcessContentsLine(*line, fc, ctx);
    }
  }
}

// What the reader met while reading line (null after the last line): a line cut at the
// longest statement is reported on the line itself, so that the message names its own number
// and shows once, from the output pass; a fault of the whole file shows once, from the
// analysis pass.
static void ReportReadNotices(int analysis, OutFile& reader, FileControl& fc, Context& ctx,
                              PreHTML* line) {
  const unsigned notices = reader.TakeNotices();
  TextString message;
  for (const unsigned notice : {kNoticeLineCut, kNoticeStrayByte}) {
    if ((notices & notice) == 0)
      continue;
    const int level = ReadNoticeMessage(notice, reader.GetTopFileName(), message);
    if (line != nullptr && notice == kNoticeLineCut)
      line->ReportLineMessage(ctx, message.GetText(), level);
    else if (analysis)
      fc.ReportMessage(message.GetText(), level);
  }
}

static void ForgetWindowLines(Context& ctx) {
  for (Tracker& tracker : ctx.Trackers)
    tracker.currentLine = nullptr;
}

int RunLineWindow(int analysis, OutFile& reader, FileControl& fc, Context& ctx,
                  TextFile* listFile, OutFile* lineSink) {
  LineWindow window;
  const int location = PassLocation(analysis, ctx);
  while (reader.GetNextStatement(window.Current(), fc, ctx, 1)) {
    ++window.InputLinesHeld;
    ProcessDefinitionTag(fc, ctx, window.Current(), window.Counters);
    ReportReadNotices(analysis, reader, fc, ctx, &window.Current());
    if (window.Counters.statementsRead > 1)
      AnalysePrevious(window, fc, ctx, location);
    if (!AdvanceLineWindow(analysis, window, fc, ctx, listFile, lineSink))
      window.Failed = 1;
  }
  ReportReadNotices(analysis, reader, fc, ctx, nullptr);
  // The current slot received nothing: its predecessor is the last input line.
  AnalysePrevious(window, fc, ctx, location);

  int ignore = fc.GetInt(PolicyId::LinesToIgnoreAtEndOfFile);
  if (ignore > kMaxIgnoreEndLines) {
    fc.ReportMessage("ERROR: Ignore end of file cannot be larger than 20", 10);
    ignore = kMaxIgnoreEndLines;
  }
  if (ignore > 0)
    (void)IgnoreEndLines(ignore, window);

  AppendClosingLine(analysis, window, fc, ctx, listFile, lineSink, kTypeBlank);
  if (IsOutputPass(ctx) && !analysis)
    AppendClosingLine(analysis, window, fc, ctx, listFile, lineSink, kTypeBlank);
  AppendClosingLine(analysis, window, fc, ctx, listFile, lineSink, kTypeEndOfFile);

  FlushWindow(analysis, window, fc, ctx, listFile, lineSink);
  // The lines are freed with the window; no tracker may keep pointing at them.
  ForgetWindowLines(ctx);
  return window.Failed ? 0 : 1;
}
