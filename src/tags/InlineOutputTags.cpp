#include "tags/InlineOutputTags.h"

#include <string_view>

#include "engine/HeadingLinks.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "tags/TagInterpreter.h"
#include "text/CharacterUtils.h"
#include "text/ProductIdentity.h"

// A message on line when there is one, else through the policy set.
static void Report(FileControl& fc, Context& ctx, PreHTML* line, const char* text, int level) {
  if (line != nullptr) {
    line->ReportLineMessage(ctx, text, level);
    return;
  }
  fc.ReportMessage(text, level);
}

// ---- Page links ----

void GetPageLinks(FileControl& fc, Context& ctx, const TextString& fileName,
                  const HeadingEntry* heading, int& fileIndex, TextString& previous,
                  TextString& current, TextString& next, TextString& contentsTop,
                  TextString& contentsNext) {
  previous.SetEmpty();
  current.SetEmpty();
  next.SetEmpty();
  contentsTop.SetEmpty();
  contentsNext.SetEmpty();
  const SplitFileList& files = ctx.SplitFiles;
  if (fileIndex < 0 && !files.Find(fileName, &fileIndex)) {
    TextString message("PROGRAM ERROR: Can't locate file \"");
    message.Append(fileName);
    message.Append("\" in file list");
    fc.ReportMessage(message.GetText(), 10);
  }
  auto nameAt = [&files](int i, TextString& out) {
    if (const SplitFileRecord* record = files.GetItem(i))
      out.Assign(record->fileName);
  };
  if (fileIndex >= 0) {
    nameAt(fileIndex - 1, previous);
    nameAt(fileIndex, current);
    nameAt(fileIndex + 1, next);
  }
  if (current.IsEmpty())
    current.Assign(fileName);
  if (fc.GetInt(PolicyId::GenerateExternalContentsFile) != 0)
    contentsTop.Assign(fc.GetContentsFileName());
  else
    nameAt(0, contentsTop);
  if (contentsTop.EqualsText(current, 1, 0))
    contentsTop.SetEmpty();
  for (TextString* name : {&previous, &next, &contentsTop}) {
    if (name->IsEmpty())
      name->Assign(current);
    name->Append(fc.LinkSuffix);
  }
  current.Append(fc.LinkSuffix);
  contentsNext.Assign(contentsTop);
  TextString linkName;
  GetHeadingEntryLinkName(heading, fc, ctx, 0, linkName);
  if (linkName.IsEmpty())
    return;
  contentsNext.Append("#TOC_");
  contentsNext.Append(linkName);
}

// The heading of the section the current line stands in: the last one before it.
static const HeadingEntry* CurrentSectionHeading(Context& ctx, PreHTML* line) {
  TextPosition position = ctx.GetPassTracker(ctx.CodeLocation).currentPosition;
  if (line != nullptr && line->GetStartPosition().IsSet())
    position = line->GetStartPosition();
  for (int i = ctx.Headings.GetCount() - 1; i >= 0; --i) {
    const HeadingEntry* entry = ctx.Headings.GetEntry(i);
    if (entry != nullptr && entry->position.Compare(position) <= 0)
      return entry;
  }
  return nullptr;
}

// ---- Document data ----

static bool IsNamed(const TextString& word, const char* name) { return word.Compare(name, 0, 0); }

// The rest of the tag's inner text after its name and sub-type, trimmed.
static void CommentOf(const TextString& inner, TextString& out) {
  out.SetEmpty();
  TextString rest(inner);
  rest.Trim();
  for (int word = 0; word < 2; ++word) {
    int blank = -1;
    if (!rest.FindChar(0, ' ', &blank, 1)) {
      rest.SetEmpty();
      break;
    }
    rest.KeepFrom(blank);
    rest.Trim();
  }
  out.Assign(rest);
}

// The title with blank runs made one and line ends made blanks.
static void TitleText(Context& ctx, TextString& out) {
  out.Assign(ctx.GetDocInfo(DocInfo::Title));
  out.CollapseBlanks();
  out.ReplaceAll("\r\n", " ", 0, 1);
  out.ReplaceChar(0, '\n', ' ', 0);
  out.ReplaceChar(0, '\r', ' ', 0);
}

static void AuthorText(Context& ctx, TextString& out) {
  out.Assign(ctx.GetDocInfo(DocInfo::Author));
  if (out.IsEmpty() || out.Compare(kUnknownDocInfo, 1, 0))
    out.Assign(ctx.GetDocInfo(DocInfo::SecondAuthor));
}

namespace {
// A document datum of the DATA and TEXT_HEADER tags: its sub-type, the TEXT_HEADER label
// (null: DATA only) and where the value comes from.
enum class DatumSource {
  Title, Author, Info, InputPath, Timestamp, Comment, None,
};
struct DatumRow {
  const char* subType;
  const char* label;  // null: no TEXT_HEADER line of this sub-type
  bool inData;        // a DATA sub-type
  DatumSource source;
  DocInfo info;
};
}  // namespace

static constexpr DatumRow kDatumRows[] = {
    {"TITLE", "Title        : ", true, DatumSource::Title, DocInfo::Title},
    {"AUTHOR", "Author       : ", true, DatumSource::Author, DocInfo::Author},
    {"DESCRIPTION", "Description  : ", true, DatumSource::Info, DocInfo::Description},
    {"KEYWORDS", "Keywords     : ", true, DatumSource::Info, DocInfo::Keywords},
    {"TOP_EMAIL", "Email        : ", false, DatumSource::Info, DocInfo::FirstEmail},
    {"LAST_EMAIL", "Email        : ", false, DatumSource::Info, DocInfo::LastEmail},
    {"TOP_URL", "URL          : ", false, DatumSource::Info, DocInfo::FirstUrl},
    {"LAST_URL", "URL          : ", false, DatumSource::Info, DocInfo::LastUrl},
    {"IN_FILENAME", "File name    : ", true, DatumSource::Info, DocInfo::InputFileName},
    {"OUT_FILENAME", "File name    : ", true, DatumSource::Info, DocInfo::OutputFileName},
    {"IN_PATH", "File path    : ", true, DatumSource::InputPath, DocInfo::Title},
    {"IN_FILESIZE", "File size    : ", true, DatumSource::Info, DocInfo::InputFileSize},
    {"OUT_FILESIZE", "File size    : ", true, DatumSource::Info, DocInfo::OutputFileSize},
    {"URL", "URL          : ", false, DatumSource::None, DocInfo::Title},
    {"IN_FILEDATE", "Create date  : ", true, DatumSource::Info, DocInfo::InputFileDate},
    {"TIMESTAMP", "Create date  : ", true, DatumSource::Timestamp, DocInfo::Title},
    {"COMMENT", "", true, DatumSource::Comment, DocInfo::Title},
};

static const DatumRow* FindDatum(const TextString& subType) {
  for (const DatumRow& row : kDatumRows)
    if (IsNamed(subType, row.subType))
      return &row;
  return nullptr;
}

static void DatumValue(Context& ctx, const DatumRow& row, const TextString& inner,
                       TextString& out) {
  out.SetEmpty();
  switch (row.source) {
    case DatumSource::Title:
      TitleText(ctx, out);
      return;
    case DatumSource::Author:
      AuthorText(ctx, out);
      return;
    case DatumSource::Info:
      out.Assign(ctx.GetDocInfo(row.info));
      return;
    case DatumSource::InputPath:
      out.Assign(ctx.InputFolder);
      return;
    case DatumSource::Timestamp:
      FormatCurrentDate(out);
      return;
    case DatumSource::Comment:
      CommentOf(inner, out);
      return;
    case DatumSource::None:
      return;
  }
}

static void ReportTagType(FileControl& fc, Context& ctx, PreHTML* line, const char* what,
                          const TextString& tag) {
  TextString message(what);
  message.AppendChar('"');
  message.Append(tag);
  message.AppendChar('"');
  Report(fc, ctx, line, message.GetText(), 10);
}

// ---- Boxed header lines ----

// The box is as wide as a page line; a width too small to hold its frame gets the usual page
// width instead, so that no repeat count goes negative.
static constexpr int kDefaultHeaderWidth = 80;
static constexpr int kSmallestHeaderWidth = 6;
// The label of a header line is this wide; a continuation line stands behind a blank label.
static constexpr int kLabelWidth = 14;
static constexpr const char* kContinuationLabel = "             : ";

static int HeaderWidth(const FileControl& fc) {
  const int width = fc.GetInt(PolicyId::PageWidth);
  return width < kSmallestHeaderWidth ? kDefaultHeaderWidth : width;
}

// Appends "| " + piece padded to width - 4 + " |" and a line end before it when out holds
// lines already.
static void AppendBoxLine(TextString& out, std::string_view piece, int width) {
  if (!out.IsEmpty())
    out.AppendChar('\n');
  out.Append("| ");
  out.AppendBytes(piece.data(), static_cast<int>(piece.size()));
  for (int i = static_cast<int>(piece.size()); i < width - 4; ++i)
    out.AppendChar(' ');
  out.Append(" |");
}

// One piece of a header value boxed, broken at blanks into lines of the box.
static void BoxPiece(TextString& out, std::string_view piece, int width) {
  const std::size_t inside = static_cast<std::size_t>(width - 4);
  TextString rest;
  // Each break takes at least the blank it breaks at (the continuation label is shorter than
  // what it follows), so the loop ends.
  while (piece.size() >= inside) {
    const std::size_t blank = piece.rfind(' ', inside);
    if (blank == std::string_view::npos)
      break;
    AppendBoxLine(out, piece.substr(0, blank), width);
    std::string_view remainder = piece.substr(blank);
    const std::size_t first = remainder.find_first_not_of(" \t");
    const std::size_t last = remainder.find_last_not_of(" \t");
    if (first == std::string_view::npos)
      return;
    remainder = remainder.substr(first, last - first + 1);
    TextString next;
    if (blank > static_cast<std::size_t>(kLabelWidth))
      next.Append(kContinuationLabel);
    next.AppendBytes(remainder.data(), static_cast<int>(remainder.size()));
    rest = std::move(next);
    piece = std::string_view(rest.GetText(), static_cast<std::size_t>(rest.GetLength()));
  }
  AppendBoxLine(out, piece, width);
}

static void FrameHeader(const TextString& subType, const TextString& value, int width,
                        TextString& out) {
  out.SetEmpty();
  const bool top = IsNamed(subType, "BOX_TOP");
  if (top || IsNamed(subType, "BOX_BOTTOM")) {
    out.AppendChar(top ? '/' : '\\');
    out.Append(value);
    out.AppendChar(top ? '\\' : '/');
    return;
  }
  const std::string_view text(value.GetText(), static_cast<std::size_t>(value.GetLength()));
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view piece = text.substr(from, end - from);
    if (!piece.empty() && piece.back() == '\r')
      piece.remove_suffix(1);
    BoxPiece(out, piece, width);
    from = end + 1;
  }
}

// The TEXT_HEADER line of subType; false (reported) for an unknown sub-type.
static bool TextHeader(FileControl& fc, Context& ctx, PreHTML* line, const TextString& tag,
                       const TextString& inner, const TextString& subType, TextString& out) {
  const int width = HeaderWidth(fc);
  TextString value;
  if (IsNamed(subType, "BOX_TOP") || IsNamed(subType, "BOX_BOTTOM")) {
    for (int i = 0; i < width - 2; ++i)
      value.AppendChar('-');
  } else if (IsNamed(subType, "BOX_MIDDLE")) {
    value.Assign("                                        ");
  } else if (const DatumRow* row = FindDatum(subType); row != nullptr && row->label != nullptr) {
    value.Assign(row->label);
    TextString datum;
    DatumValue(ctx, *row, inner, datum);
    value.Append(datum);
  } else {
    ReportTagType(fc, ctx, line, "TAG ERROR: Unknown TEXT_HEADER tag type ", tag);
    out.SetEmpty();
    return false;
  }
  FrameHeader(subType, value, width, out);
  return true;
}

// ---- One tag ----

static const char* const kPageLinkTags[] = {"PREV_PAGE", "CURRENT_PAGE", "NEXT_PAGE",
                                            "CONTENTS_TOP", "CONTENTS_NEXT_SECTION"};
static const char* const kInterpreterTags[] = {"LINERULE", "TIMESTAMP", "VERSION", "VARIABLE",
                                               "SOURCE_FILE"};

// The tag's text without its delimiters, trimmed.
static void InnerText(const FileControl& fc, const TextString& tag, TextString& inner) {
  inner.Assign(tag);
  const TextString& start = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& end = fc.GetText(PolicyId::EndTagDelimiter);
  if (!start.IsEmpty() && inner.StartsWith(start.GetText(), 1))
    inner.KeepFrom(start.GetLength());
  if (!end.IsEmpty() && inner.EndsWith(end.GetText(), 1))
    inner.Truncate(inner.GetLength() - end.GetLength());
  inner.Trim();
}

// The result of tag in result; false when the tag is not one of the output tags (or the
// interpreter left it).
static bool ExpandTag(FileControl& fc, Context& ctx, PreHTML* line, const TextString& tag,
                      TextString& result) {
  TextString inner;
  InnerText(fc, tag, inner);
  TextString name;
  TextString subType;
  (void)inner.GetField(1, ' ', name);
  (void)inner.GetField(2, ' ', subType);
  result.SetEmpty();
  for (int i = 0; i < static_cast<int>(std::size(kPageLinkTags)); ++i) {
    if (!IsNamed(name, kPageLinkTags[i]))
      continue;
    TextString links[5];
    int fileIndex = -1;
    GetPageLinks(fc, ctx, ctx.CurrentOutputFileName, CurrentSectionHeading(ctx, line), fileIndex,
                 links[0], links[1], links[2], links[3], links[4]);
    result.Assign(links[i]);
    return true;
  }
  const struct {
    const char* name;
    const TextString& value;
  } kRuleTags[] = {{"RULEWIDTH", ctx.RuleWidth},
                   {"RULEWIDTHPC", ctx.RuleWidthPercent},
                   {"RULEHEIGHT", ctx.RuleHeight},
                   {"RULEALIGN", ctx.RuleAlignment}};
  for (const auto& rule : kRuleTags) {
    if (!IsNamed(name, rule.name))
      continue;
    result.Assign(rule.value);
    return true;
  }
  if (IsNamed(name, "NOFRAMES_URL")) {
    const TextString& url = fc.GetText(PolicyId::NOFRAMESLinkURL);
    result.Assign(url.IsEmpty() ? ctx.NoFramesAddress : url);
    return true;
  }
  for (const char* interpreted : kInterpreterTags) {
    if (!IsNamed(name, interpreted))
      continue;
    TextString keyword;
    TextString arguments;
    TextString message;
    int level = -1;
    if (RecogniseTag(fc, ctx, tag, keyword, arguments, message, level) == 0)
      return false;
    int replace = 0;
    result.Assign(" ");
    (void)ExecuteTag(kTagModeLine, line, tag, keyword, arguments, nullptr, fc, ctx, replace,
                     result);
    return replace != 0;
  }
  if (IsNamed(name, "OUTPUT")) {
    result.Assign(tag);
    result.ReplaceAll("[[", "[-[-", 0, 1);
    result.ReplaceAll("]]", "-]-]", 0, 1);
    return true;
  }
  if (IsNamed(name, "DATA")) {
    const DatumRow* row = FindDatum(subType);
    if (row == nullptr || !row->inData) {
      ReportTagType(fc, ctx, line, "TAG ERROR: Unsupported DATA tag type ", tag);
      return true;
    }
    DatumValue(ctx, *row, inner, result);
    return true;
  }
  if (IsNamed(name, "TEXT_HEADER")) {
    (void)TextHeader(fc, ctx, line, tag, inner, subType, result);
    return true;
  }
  return false;
}

int ExpandOutputTag(FileControl& fc, Context& ctx, PreHTML* line, TextString& text,
                    const TextString& tag) {
  int at = -1;
  if (tag.IsEmpty() || !text.Find(0, tag.GetText(), &at, 1, 0))
    return 0;
  TextString result;
  if (!ExpandTag(fc, ctx, line, tag, result))
    return 0;
  (void)text.ReplaceSpan(at, tag.GetLength(), result.GetText());
  return 1;
}

// A result that holds its own tag again would be expanded for ever; after this many
// expansions at one place the scan moves on.
static constexpr int kExpansionsAtOnePlace = 16;

void ExpandInlineTags(FileControl& fc, Context& ctx, PreHTML* line, TextString& text,
                      int keepProtected) {
  const TextString& start = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& end = fc.GetText(PolicyId::EndTagDelimiter);
  if (!start.IsEmpty() && !end.IsEmpty()) {
    TextString tag;
    TextString result;
    int pos = 0;
    int expansionsHere = 0;
    int open = -1;
    int close = -1;
    while (text.Find(pos, start.GetText(), &open, 1, 0) &&
           text.Find(open + start.GetLength(), end.GetText(), &close, 1, 0)) {
      tag.AssignSubstring(text.GetText(), open, close + end.GetLength() - open);
      if (expansionsHere >= kExpansionsAtOnePlace || !ExpandTag(fc, ctx, line, tag, result)) {
        pos = open + 1;
        expansionsHere = 0;
        continue;
      }
      (void)text.ReplaceSpan(open, tag.GetLength(), result.GetText());
      expansionsHere = open == pos ? expansionsHere + 1 : 1;
      pos = open;
    }
  }
  if (keepProtected != 0)
    return;
  text.ReplaceAll("[-[-", "[[", 0, 1);
  text.ReplaceAll("-]-]", "]]", 0, 1);
}

// ---- Small services ----

const HeadingEntry* FindLinkedHeading(FileControl& fc, Context& ctx, const TextString& linkText,
                                      const TextPosition& position, int type, int& headingType,
                                      TextString& anchorName) {
  headingType = 0;
  anchorName.SetEmpty();
  TextPosition where = position;
  ContentsMatch match;
  if (!MatchContentsLine(linkText, type, fc, ctx, 1, where, match) || match.entry == nullptr)
    return nullptr;
  headingType = match.entry->kind;
  anchorName.Assign(match.linkName);
  return match.entry;
}

// Removes everything from each "<" to the next ">" (an unclosed "<" to the end).
static void RemoveMarkup(TextString& text) {
  if (!text.ContainsChar('<'))
    return;
  const std::string_view in(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  TextString out;
  std::size_t pos = 0;
  while (pos < in.size()) {
    const std::size_t open = in.find('<', pos);
    if (open == std::string_view::npos) {
      out.AppendBytes(in.data() + pos, static_cast<int>(in.size() - pos));
      break;
    }
    out.AppendBytes(in.data() + pos, static_cast<int>(open - pos));
    const std::size_t close = in.find('>', open);
    if (close == std::string_view::npos)
      break;
    pos = close + 1;
  }
  text = std::move(out);
}

void MakePlainText(TextString& text, int decode, int collapse) {
  RemoveMarkup(text);
  if (decode != 0) {
    text.ReplaceAll("&nbsp;", " ", 0, 1);
    text.ReplaceAll("&lt;", "<", 0, 1);
    text.ReplaceAll("&gt;", ">", 0, 1);
    text.ReplaceAll("&amp;", "&", 0, 1);
  }
  text.Trim();
  if (collapse != 0)
    text.CollapseBlanks();
}

void CleanHelpTopicText(const Context& ctx, TextString& text) {
  if (ctx.GetOutputType() == kOutputHtml) {
    if (text.ContainsChar('&'))
      text.ReplaceAll("&nbsp;", " ", 0, 1);
    text.ReplaceChar(0, '<', '_', 0);
    text.ReplaceChar(0, '>', '_', 0);
  } else {
    text.ReplaceChar(0, '{', '_', 0);
    text.ReplaceChar(0, '}', '_', 0);
  }
  RemoveMarkup(text);
  text.CollapseBlanks();
  text.Trim();
}

int TwipsToPoints(int twips) {
  if (twips <= 0)
    return 0;
  return static_cast<int>((static_cast<long long>(twips) + 10) / 20);
}
