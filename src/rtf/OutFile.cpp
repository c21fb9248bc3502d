#include "rtf/OutFile.h"

#include <algorithm>

#include "analysis/LineContext.h"
#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Entities.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/StatementReading.h"
#include "tags/DirectivePreprocessor.h"
#include "tags/LineTags.h"
#include "tags/TextCommandTags.h"
#include "tags/TagTextFilters.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StatementTypes.h"

OutFile::OutFile() = default;

OutFile::~OutFile() = default;

bool OutFile::ReadStatement(Statement& line, FileControl& fc, Context& ctx,
                            int applyTextCommands) {
  TextCommandTags host;
  return ReadStatementKeepingNotices(*this, line, fc, ctx,
                                     applyTextCommands != 0 ? &host : nullptr);
}

int OutFile::Open(const char* name, FileControl& fc, int console) {
  return OpenFile(name, fc, 0, nullptr, console);
}

int OutFile::WriteOut(Statement& line, FileControl& fc, Context& ctx) {
  return WriteOutStatement(line, fc, ctx);
}

int OutFile::WriteLine(FileControl& /*fc*/, TextFile* /*file*/, const char* text, int noWrap) {
  lineWork_.Assign(text);
  return WriteWrappedStatement(this, lineWork_, noWrap, 0) ? 1 : 0;
}

int OutFile::WriteRaw(FileControl& fc, TextFile* file, const char* text) {
  (void)FlushBuffer(fc, file, 0);
  return ::WriteLine(this, text) ? 1 : 0;
}

int OutFile::FlushBuffer(FileControl& /*fc*/, TextFile* /*file*/, int /*ignored*/) {
  if (pending_.IsEmpty())
    return 1;
  lineWork_.Assign(pending_);
  pending_.SetEmpty();
  return WriteWrappedStatement(this, lineWork_, 0, 0) ? 1 : 0;
}

// ---- Output preparation of a line ----

// The most characters of the unscanned text an unbalanced-delimiter message shows.
static constexpr int kUnbalancedShown = 30;

// Appends count bytes of text from at to out.
static void AppendSpan(TextString& out, const TextString& text, int at, int count) {
  if (count <= 0)
    return;
  TextString piece;
  (void)piece.AssignBytes(text.GetText() + at, count);
  (void)out.Append(piece);
}

namespace {
// One start ... end delimiter pair of a text: where the start and the end delimiter begin.
struct TagSpan {
  int start = -1;
  int end = -1;  // of the end delimiter
};
// What the next pair search found.
enum class PairFound { Tag, StrayEnd, Unbalanced, None };
}  // namespace

// The next pair in text from position from, by the scan of in-line tags: a start delimiter
// before an end delimiter is a tag; an end delimiter first is stray; one alone is unbalanced.
static PairFound FindTagPair(const TextString& text, int from, const TextString& opener,
                             const TextString& closer, TagSpan& span) {
  int o = -1;
  int c = -1;
  const bool haveOpener = !opener.IsEmpty() && text.Find(from, opener.GetText(), &o, 1, 0);
  const bool haveCloser = !closer.IsEmpty() && text.Find(from, closer.GetText(), &c, 1, 0);
  if (!haveOpener && !haveCloser)
    return PairFound::None;
  if (!haveOpener || !haveCloser)
    return PairFound::Unbalanced;
  span.start = o;
  span.end = c;
  return o < c ? PairFound::Tag : PairFound::StrayEnd;
}

void OutFile::ScanInlineTags(int kind, int /*mode*/, PreHTML& line, FileControl& fc,
                             Context& ctx, TextString& message, int& level) {
  if (ctx.InlineTagSeen == 0 && kind != kInlineTagsOfDocumentTitle)
    return;
  const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc.GetText(PolicyId::EndTagDelimiter);
  // The text is scanned as it was: a tag the fallback takes out of the line leaves the scan
  // behind it, so every byte is looked at once however many tags the line holds.
  scanWork_ = line;
  const TextString& text = scanWork_;
  int from = 0;
  int keptUpTo = 0;  // the text before this, less its executed tags, is in scanKept_
  scanKept_.SetEmpty();
  TagSpan span;
  while (true) {
    const PairFound found = FindTagPair(text, from, opener, closer, span);
    if (found == PairFound::None)
      return;
    if (found == PairFound::StrayEnd) {
      from = span.end + closer.GetLength();
      continue;
    }
    if (found == PairFound::Unbalanced) {
      // The line as the scan left it: its executed tags taken out.
      AppendSpan(scanKept_, text, keptUpTo, text.GetLength() - keptUpTo);
      TextString report("TAG ERROR: Unbalanced in-line tag delimiters - ");
      AppendSpan(report, scanKept_, 0, std::min(scanKept_.GetLength(), kUnbalancedShown));
      if (scanKept_.GetLength() > kUnbalancedShown)
        report.Append(" ...");
      line.ReportLineMessage(ctx, report.GetText(), 10);
      return;
    }
    const int end = span.end + closer.GetLength();
    (void)tagWork_.AssignSubstring(text.GetText(), span.start, end - span.start);
    AppendSpan(scanKept_, text, keptUpTo, span.start - keptUpTo);
    keptUpTo = end;
    int tagLevel = -1;
    (void)HandleLineTag(kind, tagWork_, line, fc, ctx, message, tagLevel);
    level = std::max(level, tagLevel);
    from = end;
  }
}

void OutFile::ExpandTitleTags(PreHTML& line, FileControl& fc, int /*mode*/) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr || fc.IgnoreDepth > 0)
    return;
  const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc.GetText(PolicyId::EndTagDelimiter);
  scanWork_ = line;
  const TextString& text = scanWork_;
  int from = 0;
  TagSpan span;
  while (true) {
    const PairFound found = FindTagPair(text, from, opener, closer, span);
    if (found == PairFound::None || found == PairFound::Unbalanced)
      return;
    if (found == PairFound::StrayEnd) {
      from = span.end + closer.GetLength();
      continue;
    }
    const int end = span.end + closer.GetLength();
    (void)tagWork_.AssignSubstring(text.GetText(), span.start, end - span.start);
    (void)ExecuteLineTag(line, fc, *ctx, tagWork_);
    from = end;
  }
}

int OutFile::HandleLineTag(int mode, const TextString& tag, PreHTML& line, FileControl& fc,
                           Context& ctx, TextString& message, int& level) {
  return HandleTagFallback(line, mode, tag, fc, ctx, message, level);
}

// Tagged types whose line holds a directive, not text with in-line tags to execute.
static bool IsDirectiveTextType(int taggedType) {
  return (taggedType >= kTagLine && taggedType <= kTagEndHtml) ||
         (taggedType >= kTagLinkPoint && taggedType <= kTagMetaTag);
}

// The copy's text escaped for the output (entities for HTML, RTF escapes otherwise), unless
// the line's conversion stage escaped it already: a text is escaped once.
static void EscapeForOutput(FileControl& fc, Context& ctx, PreHTML& copy) {
  if (copy.IsTextEscaped())
    return;
  if (ctx.GetOutputType() == kOutputHtml)
    EncodeEntities(fc, ctx, copy);
  else
    EscapeRtfText(fc, copy);
  copy.SetTextEscaped(true);
}

// Region kinds whose lines are converted like running text while a region is collected:
// none given, a table, a user PRE region.
static bool IsConvertedRegionKind(int kind) { return kind == 0 || kind == 1 || kind == 4; }

// The type a blank-looking line gets: in FOLIO mode an empty one stays a bullet blank, one
// that is only a comment or one that holds tags becomes the matching kind.
static int FolioBlankType(const TextString& text, const TextString& commentCopy) {
  if (text.IsEmpty())
    return kTypeBulletBlank;
  return commentCopy.IsEmpty() ? kTypeBulletBlankWithComment : kTypeBulletBlankWithTags;
}

void OutFile::PrepareOutputLine(FileControl& fc, Context& ctx, PreHTML& line, int& type,
                                PreHTML& copy, int& level) {
  commentCopy_.SetEmpty();
  policyWork_.SetEmpty();
  if (!ctx.DirectiveNames.IsBuilt())
    ctx.BuildTagNames(&fc, nullptr);
  copy.CopyFrom(&line);
  // What the copy's note holds now came from the line; only what is added here goes back.
  const int inheritedNote = copy.pGetNote() != nullptr ? copy.pGetNote()->GetLength() : 0;
  const bool raw = line.HasFlag(kFlagRawOutput);
  const bool collecting = fc.CollectingRegion != 0;

  // The output conversions of the line run at the output stage of the line.
  const int stage = ctx.LineStage;
  ctx.LineStage = kLineStageOutput;
  if (raw) {
    copy.Assign(line.GetRawCopy());
    copy.SetTextEscaped(false);
  } else if (collecting && !IsConvertedRegionKind(line.GetSpecialFormat())) {
    copy.Assign(line.GetRawCopy());
    copy.SetTextEscaped(false);
  } else {
    copy.Assign(line);
    EscapeForOutput(fc, ctx, copy);
    // A pre-formatted line keeps its leading blanks: they are its layout.
    const bool trim = fc.GetRuleSet() == 0 && !collecting;
    copy.ConvertFragment(fc, ctx, &line, true, true, true, true, true, trim);
  }

  if (!raw && !collecting) {
    TextString message;
    int tagLevel = -1;
    if (!IsDirectiveTextType(line.GetTaggedType()))
      ScanInlineTags(kInlineTagsOfLine, 0, copy, fc, ctx, message, tagLevel);
    const int outputType = ctx.GetOutputType();
    if (fc.GetRuleSet() == 0 && outputType != kOutputRtf && outputType != kOutputPlainText)
      copy.Trim();
    if (outputType == kOutputRtf || outputType == kOutputTextMarkersDropped)
      commentCopy_ = copy;
    else
      (void)FilterDelimitedTags(fc, ctx, "<!--", "-->", nullptr, nullptr, copy, commentCopy_);

    const bool folio = ctx.FolioMode != 0;
    if (folio && type == kTypeBulletBlankWithTags && copy.ContainsNoCase("FOLIO")) {
      type = kTypeBulletBlankWithComment;
      level = fc.ListLevel;
    } else if (type == kTypeBlank && folio) {
      type = FolioBlankType(copy, commentCopy_);
      level = fc.ListLevel;
    } else if (type == kTypeBlank && !copy.IsEmpty()) {
      type = kTypeUntyped;
    } else if (type == kTypeBulletBlank && !copy.IsEmpty()) {
      type = FolioBlankType(copy, commentCopy_);
    }
    // A tag that turned the line into something else (END_HEADING: a heading).
    const int tagType = copy.GetLineType();
    if (tagType != kTagNone && tagType != line.GetLineType()) {
      TextString note("INFO: Changing statement type to ");
      note.AppendNumber('1', tagType, 0);
      line.ReportLineMessage(ctx, note.GetText(), 4);
      line.SetLineType(tagType);
      line.SetTaggedType(tagType);
      type = tagType;
    }
    if (tagLevel >= 0 && !message.IsEmpty())
      line.ReportLineMessage(ctx, message.GetText(), tagLevel);
  }
  ctx.LineStage = stage;
  copy.SetStartPosition(fc, line.GetStartPosition());

  const int tagged = line.GetTaggedType();
  if (tagged == kTagAllow || tagged == kTagDisallow)
    ApplyAllowList(fc, ctx.GetPassTracker(kLocationOutput), line.GetPlain(),
                   tagged == kTagAllow ? 1 : 0);
  if (tagged == kTagChangePolicy && !collecting) {
    GetDirectiveValue(fc, line.GetPlain(), ctx.GetDirectiveName(Directive::ChangePolicy),
                      policyWork_);
    TextString report("POLICY: Changed - ");
    report.Append(policyWork_);
    fc.ReportMessage(report.GetText(), 7);
    int category = 0;
    (void)fc.LoadPolicyLine(policyWork_, category, 0);
    fc.ApplyDerivedDefaults(0, 0);
  }

  const TextString* note = copy.pGetNote();
  if (note != nullptr && note->GetLength() > inheritedNote)
    line.AppendNote(note->GetText() + inheritedNote + (inheritedNote > 0 ? 1 : 0));
}

void OutFile::UpdateLineContexts(PreHTML& line, FileControl& fc, LineContext& lastReal,
                                 LineContext& lastNonBlank, LineContext& nextNonBlank,
                                 LineContext& previous, LineContext& current,
                                 LineContext& next) {
  if (previousInRegion_ == 0) {
    previous = current;
    previous.line = nullptr;
  }
  previousInRegion_ = fc.CollectingRegion;
  if (fc.CollectingRegion == 0) {
    const int type = previous.type;
    const bool nothing = type == kTypeBlank || type == kTypeIgnored ||
                         type == kTypeHeaderNull || type == kTypeNull;
    if (!nothing)
      lastNonBlank = previous;
    if (!nothing && type != kTypeUntyped)
      lastReal = previous;
  }
  FillLineContext(fc, current, &line);
  auto* following = static_cast<PreHTML*>(line.GetNext());
  FillLineContext(fc, next, following);
  // The window holds the lines ahead, so this walk is bounded by its size.
  while (following != nullptr) {
    const int type = following->GetLineType();
    if (type != kTypeBlank && type != kTypeIgnored && type != kTypeNull)
      break;
    following = static_cast<PreHTML*>(following->GetNext());
  }
  FillLineContext(fc, nextNonBlank, following);
}

const FontSpec* OutFile::GetActiveFont(FileControl& fc) const {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr ? ctx->GetActiveFont() : nullptr;
}
