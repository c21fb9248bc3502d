#include "analysis/PreHTML.h"

#include <climits>
#include <utility>

#include "analysis/UrlWords.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "policy/PolicyTable.h"
#include "text/ProductIdentity.h"

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// a + b + c without overflow: a sum beyond INT_MAX is INT_MAX.
static int SaturatingSum(int a, int b, int c) {
  const long long sum = static_cast<long long>(a) + b + c;
  return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

PreHTML::PreHTML() { Reset(1); }

PreHTML::PreHTML(Statement* previous) : Statement(previous) { Reset(1); }

PreHTML::~PreHTML() = default;

// ---- Virtual operations ----

bool PreHTML::HasNoLowerCase() const {
  const char* text = GetText();
  for (int i = 0; i < length_; ++i) {
    if (text[i] == 'a' && text[i + 1] == 'm' && text[i + 2] == 'p' && text[i + 3] == ';') {
      i += 3;
      continue;
    }
    if (text[i] >= 'a' && text[i] <= 'z')
      return false;
  }
  return true;
}

void PreHTML::AfterRead(StatementFile& /*file*/, FileControl& /*fc*/, PolicyContext& /*ctx*/) {
  TakeTextAsRenderings();
}

bool PreHTML::GetWrappedSegment(int width, int start, const char* blanks,
                                const char* breakAfter, const char* breakBefore,
                                TextString& out, int* next, int utf8) const {
  if (HasFlag(kFlagRollOut)) {
    const int rest = start >= 0 && start < length_ ? length_ - start : 1;
    width = rest;
  } else if (widthOffset_ > 0) {
    width = SaturatingSum(width, widthOffset_, 15);
  }
  return Statement::GetWrappedSegment(width, start, blanks, breakAfter, breakBefore, out, next,
                                      utf8);
}

void PreHTML::FindBreak(int start, int width, const char* blanks, const char* breakAfter,
                        const char* breakBefore, int* breakAt, int utf8, int respectMarkup,
                        int* insideTag) const {
  FindBreakPosition(start, width, blanks, breakAfter, breakBefore, breakAt, utf8);
  if (insideTag == nullptr)
    return;
  *insideTag = 0;
  if (respectMarkup == 0)
    return;
  const int from = start < 0 ? 0 : start;
  const int to = *breakAt >= length_ ? length_ - 1 : *breakAt;
  int lastOpen = -1;
  int lastClose = -1;
  for (int i = from; i <= to; ++i) {
    const char c = CharAt(i);
    if (c == '<')
      lastOpen = i;
    else if (c == '>')
      lastClose = i;
  }
  if (lastOpen > lastClose)
    *insideTag = 1;
}

// ---- Life cycle ----

void PreHTML::Reset(int fromConstructor) {
  Statement::Reset(fromConstructor);
  lineLength_ = -1;
  indent_ = -1;
  start_.Reset();
  end_.Reset();
  taggedType_ = kTagNone;
  markup_.SetEmpty();
  tidy_.SetEmpty();
  widthOffset_ = 0;
  specialFormat_ = 0;
  preformattedKind_ = 0;
  anchorPositions_.fill(-1);
  flags_ = (flags_ & kDriverFlagsMask) | kFlagIncluded;
  outputMarks_ = {0, -1, 0, -1};
  note_.reset();
  for (auto& text : ownedTexts_)
    text.reset();
  sectionNumbers_.fill(-1);
  sectionDepth_ = 0;
  sectionSeparator_ = '\0';
  textEscaped_ = false;
}

void PreHTML::Renew() {
  SetEmpty();
  rawCopy_.SetEmpty();
  SetPrevious(nullptr);
  SetNext(nullptr);
  flags_ = 0;
  Reset(1);
  plain_.SetEmpty();
  analysisWork_ = AnalysisWork();
  messageText_.SetEmpty();
  escapeMessages_.SetEmpty();
  tagWork_.SetEmpty();
  tagRest_.SetEmpty();
  linkWork_.SetEmpty();
}

void PreHTML::TakeTextAsRenderings() {
  markup_.Assign(*this);
  tidy_.Assign(*this);
  plain_.Assign(*this);
  TakeGeometry();
}

void PreHTML::TakeGeometry() {
  const char* text = GetText();
  int end = length_;
  while (end > 0 && IsBlank(text[end - 1]))
    --end;
  lineLength_ = end;
  int indent = 0;
  while (indent < end && IsBlank(text[indent]))
    ++indent;
  indent_ = end == 0 ? 0 : indent;
}

void PreHTML::SetText(const char* text) {
  if (text == nullptr) {
    SetEmpty();
    rawCopy_.SetEmpty();
    markup_.SetEmpty();
    tidy_.SetEmpty();
    plain_.SetEmpty();
    indent_ = 0;
    lineLength_ = 0;
    return;
  }
  // The line's own text (as ConvertEscapeSequences passes it) needs no copy onto itself.
  if (text != GetText())
    Assign(text);
  TakeTextAsRenderings();
  rawCopy_.Assign(*this);
}

void PreHTML::CopyFrom(const PreHTML* other) {
  if (other == nullptr || other == this)
    return;
  Reset(0);
  lineType_ = other->lineType_;
  rawCopy_.Assign(other->rawCopy_);
  SetFirstWordLength(other->GetFirstWordLength());
  lineLength_ = other->lineLength_;
  indent_ = other->indent_;
  start_ = other->start_;
  end_ = other->end_;
  taggedType_ = other->taggedType_;
  markup_.Assign(other->markup_);
  tidy_.Assign(other->tidy_);
  plain_.Assign(other->plain_);
  widthOffset_ = other->widthOffset_;
  specialFormat_ = other->specialFormat_;
  flags_ = (flags_ & kDriverFlagsMask) | (other->flags_ & kLineFlagsMask);
  preformattedKind_ = other->preformattedKind_;
  anchorPositions_ = other->anchorPositions_;
  outputMarks_ = other->outputMarks_;
  textEscaped_ = other->textEscaped_;
  if (other->note_)
    note_ = std::make_unique<TextString>(*other->note_);
  for (std::size_t i = 0; i < ownedTexts_.size(); ++i) {
    if (other->ownedTexts_[i])
      ownedTexts_[i] = std::make_unique<TextString>(*other->ownedTexts_[i]);
  }
}

void PreHTML::SetOwnedText(int i, const TextString& text) {
  if (!InRange(i, kOwnedTexts))
    return;
  auto& owned = ownedTexts_[static_cast<std::size_t>(i)];
  if (owned)
    owned->Assign(text);
  else
    owned = std::make_unique<TextString>(text);
}

void PreHTML::SetStartPosition(FileControl& fc, const TextPosition& position) {
  if (!position.IsSet())
    return;
  start_ = position;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return;
  // Between passes no tracker applies.
  if (ctx->CodeLocation < kLocationAnalysis || ctx->CodeLocation > kLocationOutput)
    return;
  ctx->GetPassTracker(ctx->CodeLocation).currentPosition = position;
}

void PreHTML::SetEndPosition(FileControl& /*fc*/, const TextPosition& position) {
  if (position.IsSet())
    end_ = position;
}

// ---- Analysis ----

// The previous line leaves room for a paragraph indent after it: unindented and untyped,
// blank or a blank bullet line.
static bool OpensParagraphIndent(int previousIndent, int previousType) {
  return previousIndent == 0 &&
         (previousType == kTypeUntyped || previousType == kTypeBlank ||
          IsBulletBlankType(previousType));
}

int PreHTML::AddToStatistics(FileControl& fc, AnalysisStatistics& statistics) {
  const int type = GetLineType();
  if (type == kTypeEndOfFile)
    return 0;
  CalculationStatistics named(statistics);
  const int indent = indent_ < 0 ? 0 : indent_;
  const int length = lineLength_ < 0 ? 0 : lineLength_;
  const bool inUserRegion = HasFlag(kFlagUserRegion);

  if (!inUserRegion) {
    if (IsLevelHeadingType(type)) {
      HeadingLevelStats& level = statistics.headings[static_cast<std::size_t>(type - kTypeHeading1)];
      level.indents.Add(indent);
      ++level.headingCount;
      // The policy calculation decides from this count whether numbered headings are used.
      ++named.numberedHeadings;
    } else if (IsUnderlinedHeadingType(type)) {
      HeadingLevelStats& level =
          statistics.underlinedHeadings[static_cast<std::size_t>(type - kTypeUnderlinedHeading1)];
      level.indents.Add(indent);
      ++level.headingCount;
    } else if (IsContentsHeadingType(type)) {
      statistics.contents[static_cast<std::size_t>(type - kTypeContentsHeading1)].indents.Add(
          indent);
    } else if (type == kTypeCapitalisedHeading || type == kTypeEmbeddedHeading ||
               IsKeyPhraseHeadingType(type) ||
               (IsMarkedBulletType(type) && type != kTypeBullet)) {
      // Their indents say nothing about the body text's indentation.
    } else {
      named.indents.Add(fc.GetInt(PolicyId::LookForIndentation) != 0 ? indent : 0);
    }
    named.lineLengths.Add(length);
  }
  // The roll-out lengths are kept in the second length table.
  if (HasFlag(kFlagRollOut))
    named.secondLengths.Add(length);

  if (fc.GetRuleSet() == 0 && !inUserRegion &&
      OpensParagraphIndent(statistics.previousIndent, statistics.previousType) &&
      (type == kTypeUntyped || type == kTypeNewParagraph) && indent >= 1 && indent <= 9) {
    const PreHTML* next = AsLine(GetNext());
    if (next == nullptr || (next->GetLineType() == kTypeUntyped && next->indent_ < indent))
      named.paraIndents.Add(indent);
  }
  statistics.previousIndent = indent;
  statistics.previousType = type;
  return 0;
}

// Lines whose indent is where a hanging line above them continues.
static bool ContinuesHangingText(int type) {
  return type == kTypeUntyped || type == kTypeHangingContinuation ||
         type == kTypeBulletContinuation || type == kTypeBulletBlankWithComment ||
         type == kTypeDefinitionContinuation;
}

int PreHTML::GetHangingIndent() const {
  const int indent = indent_ < 0 ? 0 : indent_;
  const PreHTML* next = AsLine(GetNext());
  if (next != nullptr && ContinuesHangingText(next->GetLineType()))
    return next->indent_ < 0 ? 0 : next->indent_;
  // The second word starts after the first run of non-blanks and the blanks after it,
  // counted from the first non-blank byte.
  const char* text = GetText();
  int i = indent;
  while (i < length_ && !IsBlank(text[i]))
    ++i;
  while (i < length_ && IsBlank(text[i]))
    ++i;
  if (i >= length_)
    return indent;
  return SaturatingSum(indent, i - indent, 0);
}

void PreHTML::ConvertLine(FileControl& fc, Context& ctx, int stopEarly, int trim) {
  if (ctx.LineStage != kLineStageConversion)
    return;
  const int outputType = ctx.GetOutputType();
  if (outputType == kOutputPlainText)
    return;
  if (outputType == kOutputHtml && fc.IsNonLatin1Encoding() == 0)
    ConvertMacCharacters();
  if (outputType < kOutputHtml || outputType > kOutputTextMarkersDropped)
    fc.ReportMessage("UNSUPPORTED CASE: Output Format in ConvertLine (1)", 10);
  if (ctx.AnalysisPass != 0 || ctx.ConvertEscapesInEveryPass != 0)
    ConvertEscapeSequences(fc, ctx);
  if (stopEarly != 0 && fc.GetStopMark() != 0)
    return;
  plain_.Assign(*this);
  if (trim != 0)
    plain_.Trim();
  const char* text = plain_.GetText();
  int start = 0;
  while (start < plain_.GetLength() && IsBlank(text[start]))
    ++start;
  int end = start;
  while (end < plain_.GetLength() && !IsBlank(text[end]))
    ++end;
  SetFirstWordLength(end - start);
}

void PreHTML::ConvertEscapeSequences(FileControl& fc, Context& ctx) {
  // Most lines hold no escape character: no conversion and no copy for them, unless a
  // line-drawing mode carried over from an earlier line changes their letters.
  if (!ContainsChar('\x1B') && ctx.EscapeLineDrawing == 0)
    return;
  int converted = 0;
  escapeMessages_.SetEmpty();
  TextString::ConvertEscapeSequences(&ctx.EscapeLineDrawing, &converted, escapeMessages_);
  if (converted != 0) {
    SetText(GetText());
    ctx.ScreenShotSeen = 1;
  }
  if (escapeMessages_.IsEmpty() || ctx.AnalysisPass != 0 || ctx.ContentsPass != 0)
    return;
  fc.ReportMessage(escapeMessages_.GetText(), 10);
}

// ---- Messages ----

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
  return SaturatingSum(trackerPosition.GetColumn(), 1, 0);
}

void PreHTML::AppendNote(const char* text) {
  if (!note_)
    note_ = std::make_unique<TextString>();
  else if (!note_->IsEmpty())
    note_->AppendChar('\n');
  note_->Append(text);
}

void PreHTML::ReportLineMessageTo(LogErrorHandler& handler, int keepNotes,
                                  int analysisOrContentsPass, int lineNumber, const char* text,
                                  int level) {
  if (text == nullptr)
    return;
  // The text may lie in this line's own work text; the copy keeps it while that is reused.
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
  messageText_.Assign("Line ");
  messageText_.AppendNumber('1', lineNumber, 0);
  messageText_.Append(" - ");
  messageText_.Append(message);
  handler.Report(messageText_.GetText(), level);
}
