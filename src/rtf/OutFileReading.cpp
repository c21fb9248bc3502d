// The statement reader of the passes: OutFile::GetNextStatement with the directive
// preprocessor's own steps (ignored blocks, sections, INCLUDE and CHANGE_POLICY); the other
// directives are acted on in tags/DirectivePreprocessor.cpp.

#include "rtf/OutFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/LinkText.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "platform/FileSystem.h"
#include "policy/ConversionOptions.h"
#include "policy/FileControl.h"
#include "tags/DirectivePreprocessor.h"
#include "tags/TagTextFilters.h"
#include "text/PathUtils.h"
#include "text/StatementTypes.h"

// More files open at once than this (the document and its includes) is taken for a runaway
// nesting: every file open costs a handle and a read buffer.
static constexpr int kMaxIncludeDepth = 16;

// ---- Small helpers ----

static void SetLineType(PreHTML& line, int type) {
  line.SetLineType(type);
  line.SetTaggedType(type);
}

// The second blank-separated word of text (empty when there is none).
static void GetSecondWord(const TextString& text, TextString& word) {
  TextString words(text);
  words.CollapseBlanks();
  words.Trim();
  if (!words.GetField(2, ' ', word))
    word.SetEmpty();
}

// Under a rule set every rendering of a line ends in a blank.
static void AppendBlankToRenderings(PreHTML& line) {
  line.Append(" ");
  line.GetMarkup().Append(" ");
  line.GetTidy().Append(" ");
  line.GetPlain().Append(" ");
  line.GetRawCopy().Append(" ");
}

// The flags and region code that tell the passes where a delivered line stands.
static void SetReadFlags(PreHTML& line, const FileControl& fc, const Context& ctx,
                         int rawHtml) {
  line.SetFlag(kFlagUserRegion, fc.RegionCode != 0);
  line.SetFlag(kFlagUserHtml, line.GetLineType() != kTagBeginHtml &&
                                  (ctx.InHtmlSection != 0 || rawHtml != 0));
  line.SetFlag(kFlagIncluded, fc.SectionIncluded != 0);
  line.SetFlag(kFlagUserIgnore, fc.IgnoreDepth > 0);
  line.SetFlag(kFlagContentsList, fc.InContents != 0);
  line.SetSpecialFormat(fc.RegionCode);
}

// The in-line tags of a line are expanded for titles and for the analysis's measuring: in the
// analysis pass, and in the contents pass once the document is known to use them (its tagged
// headings are registered there). The output pass reads its lines with their tags intact: the
// writer's tag interpreter turns them into their RTF. Fragment definitions keep their tags for
// where they are inserted; ignored blocks are never expanded.
static bool WantsTitleTags(const PreHTML& line, const FileControl& fc, const Context& ctx) {
  if (ctx.OutputPass != 0)
    return false;
  if (ctx.AnalysisPass == 0 && ctx.InlineTagSeen == 0)
    return false;
  if (fc.InHtmlFragmentDefinition != 0 || fc.InTextFragmentDefinition != 0 || fc.IgnoreDepth > 0)
    return false;
  const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc.GetText(PolicyId::EndTagDelimiter);
  return line.Find(0, opener.GetText(), nullptr, 1, 0) &&
         line.Find(0, closer.GetText(), nullptr, 1, 0);
}

// ---- The statement reader ----

void OutFile::CountIncludeLine() {
  std::vector<int>& lines = preprocessor_.includeLines;
  lines.resize(static_cast<std::size_t>(std::max(GetFileCount(), 1)));
  ++lines.back();
}

void OutFile::StripInputMarkup(PreHTML& line, FileControl& fc, Context& ctx) {
  TextString& text = preprocessor_.text;
  TextString& stripped = preprocessor_.value;
  ExtractInputLinks(fc, line, text);
  (void)FilterDelimitedTags(fc, ctx, "<", ">", nullptr, nullptr, text, stripped);
  if (stripped.ContainsChar('&') && stripped.ContainsChar(';')) {
    const ConversionOptions options =
        ConversionOptions::ConversionOptionsFromPolicies(fc.GetPolicyList());
    (void)DecodeEntities(ctx.Entities, options, stripped, text);
  } else {
    text.Assign(stripped);
  }
  line.SetText(text.GetText());
}

void OutFile::SplitInlineLineRule(PreHTML& line, Context& ctx) {
  const TextString& tag = ctx.InlineCommands.GetOpening(InlineCommand::Linerule);
  if (tag.IsEmpty())
    return;
  // Looked for in every line, and mostly absent: the library's search of a fixed text costs
  // least.
  const std::string_view text(line.GetText(), static_cast<std::size_t>(line.GetLength()));
  const std::size_t found = text.find(std::string_view(tag.GetText()));
  if (found == std::string_view::npos)
    return;
  const int at = static_cast<int>(found);
  TextString& work = preprocessor_.text;
  work.Assign(line);
  work.ReplaceSpan(at, tag.GetLength(), ctx.GetDirectiveName(Directive::Linerule).GetText());

  const TextString& end = ctx.InlineCommands.GetEndDelimiter();
  int close = -1;
  if (end.IsEmpty() || !work.Find(at, end.GetText(), &close, 1, 0))
    close = work.GetLength();
  const int restStart = std::min(close + end.GetLength(), work.GetLength());
  TextString before;
  TextString directive;
  TextString rest;
  before.AssignSubstring(work.GetText(), 0, at);
  directive.AssignSubstring(work.GetText(), at, close - at);
  rest.AssignSubstring(work.GetText(), restStart, work.GetLength() - restStart);
  for (TextString* piece : {&before, &directive, &rest}) {
    if (!piece->IsEmpty())
      piece->Append(" ");
  }

  // The pieces after the first are the next statements read, in their order.
  int queued = 0;
  if (!before.IsEmpty())
    InsertPendingPiece(queued++, directive.GetText());
  if (!rest.IsEmpty())
    InsertPendingPiece(queued, rest.GetText());
  line.SetText(before.IsEmpty() ? directive.GetText() : before.GetText());
}

int OutFile::GetNextStatement(PreHTML& line, FileControl& fc, Context& ctx,
                              int applyTextCommands) {
  // Whatever the preprocessor records takes its position from the analysis tracker.
  ctx.CodeLocation = kLocationAnalysis;
  ctx.BuildTagNames(&fc, nullptr);
  if (ctx.InlineCommands.GetStartDelimiter().IsEmpty())
    ctx.BuildTextCommands(&fc);

  int rawHtml = 0;
  int result = 0;
  for (;;) {
    line.Reset(0);
    rawHtml = 0;
    result = ReadStatement(line, fc, ctx, applyTextCommands) ? 1 : 0;
    if (result == 0)
      break;
    CountIncludeLine();
    if (fc.GetRuleSet() != 0)
      AppendBlankToRenderings(line);
    if (ctx.InHtmlSection == 0 &&
        (ctx.StripInputMarkup != 0 || (fc.InRegion != 0 && ctx.PreSectionInput != 0)))
      StripInputMarkup(line, fc, ctx);
    SplitInlineLineRule(line, ctx);
    if (WantsTitleTags(line, fc, ctx))
      ExpandTitleTags(line, fc, kInlineTagsOfTitleText);
    if (StartsWithDirectivePrefix(ctx, line)) {
      TextString& text = preprocessor_.text;
      text.Assign(line);
      if (PreprocessDirective(line, fc, ctx, text, rawHtml) != 0)
        continue;
    }
    // Inside an ignored block or a section left out every line is read past.
    if (fc.SectionIncluded == 0 || fc.IgnoreDepth > 0)
      continue;
    break;
  }
  SetReadFlags(line, fc, ctx, rawHtml);
  ctx.CodeLocation = kLocationNone;
  return result;
}

// ---- The preprocessor's own directives ----

// An END_IGNORE or END_ASCII: closes the innermost ignored block, or reports that none is
// open. The line goes on as the end of an ignored block either way.
static int EndIgnoredBlock(FileControl& fc, Context& ctx, PreHTML& line, const char* report) {
  if (fc.IgnoreDepth >= 1)
    --fc.IgnoreDepth;
  else
    line.ReportLineMessage(ctx, report, 10);
  SetLineType(line, kTagEndIgnore);
  return kDirectiveHandedOn;
}

// SECTION: the named section becomes the current one; while it is left out everything up
// to the next SECTION is read past.
static void ChangeSection(FileControl& fc, Context& ctx, PreHTML& line, const TextString& text) {
  TextString name;
  GetSecondWord(text, name);
  fc.SetCurrentSection(name);
  fc.SectionIncluded = fc.IsSectionIncluded();
  if (ctx.OutputPass == 0 || fc.SectionIncluded != 0)
    return;
  TextString message("INFO: Preprocessor is ignoring \"");
  message.Append(name);
  message.Append("\" section");
  line.ReportLineMessage(ctx, message.GetText(), 9);
}

// The contents pass hands a TOC directive to the tag fallback of file as well; what that
// reports is reported on the line.
static void RunTocFollowUp(OutFile& file, PreHTML& line, FileControl& fc, Context& ctx,
                           const TextString& text) {
  TextString message;
  int level = -1;
  (void)file.HandleLineTag(kInlineTagsOfLine, text, line, fc, ctx, message, level);
  if (level >= 0)
    line.ReportLineMessage(ctx, message.GetText(), level);
}

int OutFile::PreprocessDirective(PreHTML& line, FileControl& fc, Context& ctx,
                                 const TextString& text, int& rawHtml) {
  if (fc.GetInt(PolicyId::UsePreprocessor) == 0)
    return kDirectiveHandedOn;
  Directive d = Directive::Section;
  const bool matched = MatchDirective(ctx, text, d);
  const bool textOutput = ctx.GetOutputType() == kOutputPlainText;
  int result = kDirectiveConsumed;
  bool recognised = true;
  bool tocFollowUp = false;

  if (matched && d == Directive::Section && fc.IgnoreDepth == 0) {
    ChangeSection(fc, ctx, line, text);
  } else if (matched && d == Directive::BeginIgnore) {
    ++fc.IgnoreDepth;
  } else if (matched && d == Directive::EndIgnore) {
    result = EndIgnoredBlock(fc, ctx, line, "TAG ERROR: Too many END_IGNORE directives");
  } else if (matched && d == Directive::BeginAscii) {
    // Text output keeps what the block holds; every other output hides it.
    if (!textOutput)
      ++fc.IgnoreDepth;
  } else if (matched && d == Directive::EndAscii) {
    if (!textOutput)
      result = EndIgnoredBlock(fc, ctx, line, "TAG ERROR: Too many END_ASCII directives");
  } else if (fc.SectionIncluded == 0 || fc.IgnoreDepth > 0) {
    // Nothing is recognised inside an ignored block or a section left out.
  } else if (!matched) {
    recognised = false;
  } else if (d == Directive::Include) {
    result = IncludeFile(line, fc, ctx, text);
  } else if (d == Directive::ChangePolicy) {
    result = ChangePolicy(line, fc, ctx, text);
  } else {
    result = ApplyDirective(fc, ctx, line, d, text, rawHtml, &recognised);
    tocFollowUp = d == Directive::Toc && ctx.ContentsPass != 0;
  }

  UpdateTrackerForLine(fc, &ctx.GetPassTracker(kLocationAnalysis), text, line.GetLineType());
  if (tocFollowUp)
    RunTocFollowUp(*this, line, fc, ctx, text);
  if (recognised)
    return result;
  // The analysis and contents passes read the same line again later: one report is enough.
  if (ctx.AnalysisPass == 0 && ctx.ContentsPass == 0) {
    TextString message("ERROR: Unknown command /");
    message.Append(text);
    message.Append("/");
    line.ReportLineMessage(ctx, message.GetText(), 10);
  }
  return kDirectiveConsumed;
}

// ---- INCLUDE ----

// Why an include file was not opened.
enum class IncludeOutcome { kOpened, kNotFound, kNotRegular, kLoop, kTooDeep };

static const char* IncludeReason(IncludeOutcome outcome) {
  switch (outcome) {
    case IncludeOutcome::kOpened: return "";
    case IncludeOutcome::kNotFound: return "not found";
    case IncludeOutcome::kNotRegular: return "not a regular file";
    case IncludeOutcome::kLoop: return "already being read (an include loop)";
    case IncludeOutcome::kTooDeep: return "includes nested too deep";
  }
  return "";
}

// name resolved against folder, with "\" read as a folder separator.
static void ResolveIncludeName(const TextString& folder, const TextString& name,
                               TextString& resolved) {
  ResolveRelativePath(folder, name, resolved);
  (void)resolved.ReplaceChar(0, '\\', '/', 0);
}

// True when name is a file on the stack of files being read, under this spelling or
// another one (a relative form, a link): reading it again would never end.
static bool IsOnStack(const TextFile& file, const std::vector<TextString>& stack,
                      const TextString& name) {
  if (file.IsFileOpen(name.GetText()))
    return true;
  return std::any_of(stack.begin(), stack.end(), [&name](const TextString& open) {
    return IsSameExistingFile(open.GetText(), name.GetText());
  });
}

int OutFile::IncludeFile(PreHTML& line, FileControl& fc, Context& ctx, const TextString& text) {
  TextString written;
  GetSecondWord(text, written);
  // The names of the files being read, the includer on top.
  std::vector<TextString> stack;
  for (const auto& name : names_)
    stack.emplace_back(name.get());
  TextString includer(stack.empty() ? "" : stack.back().GetText());
  const int includerLine = preprocessor_.includeLines.empty() ? 0 : preprocessor_.includeLines.back();

  auto tryOpen = [&](const TextString& name) {
    if (written.IsEmpty() || GetSource() != nullptr)
      return IncludeOutcome::kNotFound;
    if (GetFileCount() >= kMaxIncludeDepth)
      return IncludeOutcome::kTooDeep;
    if (IsOnStack(*this, stack, name))
      return IncludeOutcome::kLoop;
    // A folder, a device or a pipe is refused before it is opened: reading a pipe could
    // block, a folder holds no lines.
    switch (GetFileKind(name.GetText())) {
      case FileKind::Missing: return IncludeOutcome::kNotFound;
      case FileKind::Other: return IncludeOutcome::kNotRegular;
      case FileKind::Regular: break;
    }
    return OpenForRead(name.GetText(), 0) ? IncludeOutcome::kOpened : IncludeOutcome::kNotFound;
  };

  TextString folder;
  ExtractFolder(includer, folder);
  TextString resolved;
  ResolveIncludeName(folder, written, resolved);
  TextString shown(written);
  IncludeOutcome outcome = tryOpen(resolved);
  if (outcome == IncludeOutcome::kNotFound && !ctx.IncludeSearchFolder.IsEmpty()) {
    TextString second(ctx.IncludeSearchFolder);
    const char last = second.CharAt(second.GetLength() - 1);
    if (last != '/' && last != '\\')
      second.Append("/");
    ResolveIncludeName(second, written, resolved);
    shown = resolved;
    outcome = tryOpen(resolved);
  }

  // Every pass opens the file again; the output pass tells the user.
  if (ctx.OutputPass == 0)
    return kDirectiveConsumed;
  if (outcome == IncludeOutcome::kOpened) {
    TextString progress("INFO: Opened include file \"");
    progress.Append(shown);
    progress.Append("\"");
    fc.ReportProgress(progress.GetText());
    return kDirectiveConsumed;
  }
  TextString message("ERROR: Failed to open include file \"");
  message.Append(shown);
  message.Append("\" - ");
  message.Append(IncludeReason(outcome));
  if (!includer.IsEmpty()) {
    message.Append(" (INCLUDE at line ");
    message.AppendNumber('1', includerLine, 0);
    message.Append(" of ");
    message.Append(includer);
    message.Append(")");
  }
  line.ReportLineMessage(ctx, message.GetText(), 10);
  return kDirectiveConsumed;
}

// ---- CHANGE_POLICY ----

int OutFile::ChangePolicy(PreHTML& line, FileControl& fc, Context& ctx, const TextString& text) {
  TextString& value = preprocessor_.value;
  GetDirectiveValue(fc, text, ctx.GetDirectiveName(Directive::ChangePolicy), value);
  // The line is first tried on a policy set of its own, so that a refused line changes
  // nothing that matters and its category is known before it is applied.
  TextString work(value);
  int category = 0;
  if (preprocessor_.Scratch().LoadPolicyLine(work, category, 0) != FileControl::kPolicyLineDone) {
    TextString message("WARNING: Ignored CHANGE_POLICY line \"");
    message.Append(value);
    message.Append("\"");
    line.ReportLineMessage(ctx, message.GetText(), 10);
    return kDirectiveConsumed;
  }
  if (category < 1 || category > 4) {
    fc.ReportMessage("UNSUPPORTED CASE : Valid Policy Type", 10);
    return kDirectiveConsumed;
  }
  if (ctx.AnalysisPass != 0 && category <= 3) {
    TextString message("POLICY: Changed - ");
    message.Append(value);
    fc.ReportMessage(message.GetText(), 7);
    if (ctx.SecondControl != nullptr) {
      work.Assign(value);
      int ignored = 0;
      (void)ctx.SecondControl->LoadPolicyLine(work, ignored, 0);
    }
  }
  if (category >= 3) {
    // Output policies change where the writer meets the line.
    SetLineType(line, kTagChangePolicy);
    return kDirectiveHandedOn;
  }
  work.Assign(value);
  (void)fc.LoadPolicyLine(work, category, 0);
  fc.ApplyDerivedDefaults(0, 0);
  return kDirectiveConsumed;
}
