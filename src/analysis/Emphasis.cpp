#include "analysis/Emphasis.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "analysis/EmphasisMarks.h"
#include "analysis/PreHTML.h"
#include "text/ProtectedSpans.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"
#include "text/StackList.h"
#include "text/StatementTypes.h"

// ---- Markup texts ----

namespace {
struct EmphasisMarkupRow {
  EmphasisKind kind;
  const char* htmlOpen;        // with "Use <EM> and <STRONG> markup" on
  const char* htmlClose;
  const char* htmlPlainOpen;   // with it off
  const char* htmlPlainClose;
  bool inBoldTexts;            // HTML: wrapped in the policy set's bold start and end texts
  const char* rtfOpen;
  const char* rtfClose;
};
}  // namespace

static constexpr EmphasisMarkupRow kMarkupRows[] = {
    {EmphasisKind::BoldItalicWord, "<STRONG><EM>", "</EM></STRONG>", "<B><I>", "</I></B>", false,
     "{\\b\\i ", "\\i0\\b0}"},
    {EmphasisKind::BoldItalicPhrase, "<EM>", "</EM>", "<I>", "</I>", true, "{\\b\\i ",
     "\\b0\\i0}"},
    {EmphasisKind::BoldWord, "<STRONG>", "</STRONG>", "<B>", "</B>", false, "{\\b ", "\\b0}"},
    {EmphasisKind::BoldPhrase, "", "", "", "", true, "{\\b ", "\\b0}"},
    {EmphasisKind::Italic, "<EM>", "</EM>", "<I>", "</I>", false, "{\\i ", "\\i0}"},
    {EmphasisKind::Underline, "<U>", "</U>", "<U>", "</U>", false, "{\\ul ", "\\ul0}"},
};

static int OutputFormatOf(const FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr ? ctx->GetOutputType() : GetOutputFormat();
}

bool GetEmphasisMarkup(const FileControl& fc, EmphasisKind kind, TextString& opening,
                       TextString& closing) {
  opening.SetEmpty();
  closing.SetEmpty();
  const int format = OutputFormatOf(fc);
  if (format == kOutputTextMarkersDropped)
    return true;
  if (format != kOutputHtml && format != kOutputRtf)
    return false;
  for (const EmphasisMarkupRow& row : kMarkupRows) {
    if (row.kind != kind)
      continue;
    if (format == kOutputRtf) {
      opening.Assign(row.rtfOpen);
      closing.Assign(row.rtfClose);
      return true;
    }
    const bool em = fc.GetInt(PolicyId::UseEMAndSTRONGMarkup) != 0;
    if (row.inBoldTexts)
      opening.Assign(fc.GetBoldOpenTag());
    opening.Append(em ? row.htmlOpen : row.htmlPlainOpen);
    closing.Assign(em ? row.htmlClose : row.htmlPlainClose);
    if (row.inBoldTexts)
      closing.Append(fc.GetBoldCloseTag());
    return true;
  }
  return false;
}

// ---- Messages ----

// A message about line: on it when there is one (noted for the list file, shown in the
// output pass), else through the policy set.
static void Report(FileControl& fc, PreHTML* line, const char* text, int level) {
  Context* ctx = fc.pGetContext();
  if (line != nullptr && ctx != nullptr) {
    line->ReportLineMessage(*ctx, text, level);
    return;
  }
  fc.ReportMessage(text, level);
}

static void ReportUnsupportedFormat(FileControl& fc, PreHTML* line, const char* where, int n) {
  TextString message("UNSUPPORTED CASE: Output Format in ");
  message.Append(where);
  message.Append(" (");
  message.AppendNumber('1', n, 0);
  message.AppendChar(')');
  Report(fc, line, message.GetText(), 10);
}

// ---- Words ----

static bool IsQuote(char c) { return c == '"' || c == '\''; }

static bool InContentsList(const FileControl& fc) {
  if (fc.GetHeadingState().inContentsList != 0)
    return true;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr || ctx->CodeLocation < kLocationAnalysis || ctx->CodeLocation > kLocationOutput)
    return false;
  return ctx->GetPassTracker(ctx->CodeLocation).inContents != 0;
}

// The first byte of text that is a or b; 0 when neither occurs.
static char FirstOf(std::string_view text, char a, char b) {
  for (const char c : text)
    if (c == a || c == b)
      return c;
  return '\0';
}

// The marked-up form of a word whose kind is known: prefix quote, opening, body, closing,
// suffix quote.
static void BuildMarkedWord(std::string_view prefix, const TextString& opening,
                            std::string_view body, const TextString& closing,
                            std::string_view suffix, TextString& out) {
  out.AssignBytes(prefix.data(), static_cast<int>(prefix.size()));
  out.Append(opening);
  TextString piece;
  piece.AssignBytes(body.data(), static_cast<int>(body.size()));
  out.Append(piece);
  out.Append(closing);
  piece.AssignBytes(suffix.data(), static_cast<int>(suffix.size()));
  out.Append(piece);
}

// Marks the word up as kind; an unsupported output format is reported as n.
static void MarkWord(FileControl& fc, EmphasisKind kind, int n, const TextString& word,
                     std::string_view prefix, std::string_view body, std::string_view suffix,
                     int& changed, TextString& out) {
  TextString opening;
  TextString closing;
  changed = 1;
  if (!GetEmphasisMarkup(fc, kind, opening, closing)) {
    ReportUnsupportedFormat(fc, nullptr, "TidyEmphasisWord", n);
    out.Assign(word);
    return;
  }
  BuildMarkedWord(prefix, opening, body, closing, suffix, out);
}

void TidyEmphasisWord(FileControl& fc, TextString& word, int& changed, TextString& out) {
  if (changed != 0 || word.GetLength() <= 2)
    return;
  if (fc.GetInt(PolicyId::LookForThisAndThatEmphasis) == 0 || InContentsList(fc))
    return;
  const std::string_view whole(word.GetText(), static_cast<std::size_t>(word.GetLength()));
  std::size_t first = IsQuote(whole.front()) ? 1 : 0;
  std::size_t last = whole.size();
  if (last > first + 1 && IsQuote(whole.back()))
    --last;
  const std::string_view prefix = whole.substr(0, first);
  const std::string_view inner = whole.substr(first, last - first);
  const std::string_view suffix = whole.substr(last);
  const std::size_t n = inner.size();

  // Bold italic: "*_" ... "_*" with a "_" first after the opening pair, or the mirror form.
  if (n >= 7) {
    const bool starUnder = inner.starts_with("*_") && inner.ends_with("_*") &&
                           FirstOf(inner.substr(2), '_', '*') == '_';
    const bool underStar = inner.starts_with("_*") && inner.ends_with("*_") &&
                           FirstOf(inner.substr(2), '*', '_') == '*';
    if (starUnder || underStar) {
      MarkWord(fc, EmphasisKind::BoldItalicWord, 1, word, prefix, inner.substr(2, n - 4), suffix,
               changed, out);
      return;
    }
  }
  // Bold: exactly the two "*" that enclose the word.
  if (n >= 3 && inner.front() == '*' && inner.back() == '*' &&
      std::count(whole.begin(), whole.end(), '*') == 2) {
    MarkWord(fc, EmphasisKind::BoldWord, 2, word, prefix, inner.substr(1, n - 2), suffix, changed,
             out);
    return;
  }
  if (n < 4 || inner.front() != '_' || inner.back() != '_' || inner[1] == '_' || inner[n - 2] == '_')
    return;
  const auto underscores = std::count(whole.begin(), whole.end(), '_');
  if (underscores == 2) {
    MarkWord(fc, EmphasisKind::Italic, 4, word, prefix, inner.substr(1, n - 2), suffix, changed,
             out);
    return;
  }
  // Underline: every "_" a blank, the blanks at the ends trimmed away.
  TextString body;
  body.AssignBytes(inner.data(), static_cast<int>(n));
  body.ReplaceChar(0, '_', ' ', 0);
  body.Trim();
  if (body.IsEmpty())
    return;
  MarkWord(fc, EmphasisKind::Underline, 3, word, prefix,
           std::string_view(body.GetText(), static_cast<std::size_t>(body.GetLength())), suffix,
           changed, out);
}

// ---- Lines ----

// The length of the word separator at pos (tab, blank, ",", ";", "<", ">", "&lt;", "&gt;"),
// 0 when there is none.
static int SeparatorLength(std::string_view text, std::size_t pos) {
  const char c = text[pos];
  if (c == '\t' || c == ' ' || c == ',' || c == ';' || c == '<' || c == '>')
    return 1;
  if (c == '&') {
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("&lt;") || rest.starts_with("&gt;"))
      return 4;
  }
  return 0;
}

// Every word of line outside the protected spans through TidyEmphasisWord. The result is
// built in one pass, so a line of many marked words costs no more than its length.
static void TidyEmphasisWords(FileControl& fc, TextString& line) {
  const TextString& tagStart = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& tagEnd = fc.GetText(PolicyId::EndTagDelimiter);
  ProtectedSpanFinder spans(line, tagStart, tagEnd);
  const std::string_view text(line.GetText(), static_cast<std::size_t>(line.GetLength()));
  int spanStart = -1;
  int spanEnd = -1;
  bool haveSpan = spans.Next(0, spanStart, spanEnd);
  TextString result;
  TextString word;
  TextString marked;
  std::size_t copied = 0;
  bool anyChanged = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (haveSpan && static_cast<int>(pos) >= spanStart) {
      pos = std::max(pos, static_cast<std::size_t>(spanEnd));
      haveSpan = spans.Next(static_cast<int>(pos), spanStart, spanEnd);
      continue;
    }
    const int separator = SeparatorLength(text, pos);
    if (separator > 0) {
      pos += static_cast<std::size_t>(separator);
      continue;
    }
    std::size_t end = pos;
    while (end < text.size() && SeparatorLength(text, end) == 0 &&
           !(haveSpan && static_cast<int>(end) >= spanStart))
      ++end;
    const std::string_view piece = text.substr(pos, end - pos);
    if (piece.find_first_of("*_") != std::string_view::npos) {
      word.AssignBytes(piece.data(), static_cast<int>(piece.size()));
      int changed = 0;
      TidyEmphasisWord(fc, word, changed, marked);
      if (changed != 0 && !marked.EqualsText(word, 1, 0)) {
        result.AppendBytes(text.data() + copied, static_cast<int>(pos - copied));
        result.Append(marked);
        copied = end;
        anyChanged = true;
      }
    }
    pos = end;
  }
  if (!anyChanged)
    return;
  result.AppendBytes(text.data() + copied, static_cast<int>(text.size() - copied));
  line = std::move(result);
}

void TidyEmphasisLine(FileControl& fc, Context& ctx, TextString& line, PreHTML* lineObject) {
  if (!line.ContainsChar('*') && !line.ContainsChar('_'))
    return;
  const bool inPass = ctx.CodeLocation >= kLocationAnalysis && ctx.CodeLocation <= kLocationOutput;
  if (!inPass || (ctx.AnalysisPass != 0 && fc.InTaggedUserTable != 0))
    return;
  if (line.CountChar('*') > 1 || line.CountChar('_') > 1)
    TidyEmphasisWords(fc, line);
  if (fc.GetInt(PolicyId::LookForThisAndThatEmphasis) == 0)
    return;
  struct PairRun {
    const char* start;
    const char* end;
    EmphasisKind kind;
    int n;
  };
  static constexpr PairRun kPairs[] = {
      {"*_", "_*", EmphasisKind::BoldItalicPhrase, 1},
      {"_*", "*_", EmphasisKind::BoldItalicPhrase, 2},
      {"_", "_", EmphasisKind::Italic, 3},
      {"*", "*", EmphasisKind::BoldPhrase, 4},
  };
  TextString opening;
  TextString closing;
  for (const PairRun& pair : kPairs) {
    const bool hasStar = line.ContainsChar('*');
    const bool hasUnderscore = line.ContainsChar('_');
    const bool wanted = pair.n <= 2 ? (hasStar && hasUnderscore)
                        : pair.n == 3 ? hasUnderscore
                                      : hasStar;
    if (!wanted)
      continue;
    if (!GetEmphasisMarkup(fc, pair.kind, opening, closing)) {
      ReportUnsupportedFormat(fc, lineObject, "TidyEmphasisLine", pair.n);
      continue;
    }
    ApplyEmphasisPair(fc, pair.start, pair.end, opening, closing, line, lineObject);
  }
}

// ---- Pairs ----

static bool FollowsStart(unsigned char c) {
  switch (c) {
    case ' ': case '"': case '\'': case '(': case ',': case '-': case '<': case '[': case '{':
    case 0xA1: case 0xBF:
      return true;
    default:
      return false;
  }
}

static bool EndsPhrase(char c) {
  switch (c) {
    case '\t': case ' ': case '!': case '"': case '\'': case ')': case ',': case '-': case '.':
    case ':': case ';': case '>': case '?': case ']': case '}':
      return true;
    default:
      return false;
  }
}

static bool IsMarkByte(char c) { return c == '$' || c == '*' || c == '_'; }

static bool IsValidStart(std::string_view text, std::size_t at, std::size_t markLength) {
  if (at > 0 && !FollowsStart(static_cast<unsigned char>(text[at - 1])))
    return false;
  const std::size_t after = at + markLength;
  return after >= text.size() || !IsMarkByte(text[after]);
}

static bool IsValidEnd(std::string_view text, std::size_t at, std::size_t markLength) {
  if (at > 0 && IsMarkByte(text[at - 1]))
    return false;
  const std::size_t after = at + markLength;
  return after >= text.size() || EndsPhrase(text[after]);
}

// The places of a mark on a line: the first 64 stay off the heap.
using MarkPlaces = StackList<int, 64>;

// The places of mark in text from from on, outside protected spans, ascending.
static void FindMarks(FileControl& fc, const TextString& text, int from, const char* mark,
                      std::pmr::vector<int>& places) {
  places.clear();
  const TextString& tagStart = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& tagEnd = fc.GetText(PolicyId::EndTagDelimiter);
  ProtectedSpanFinder spans(text, tagStart, tagEnd);
  int spanStart = -1;
  int spanEnd = -1;
  // Most lines hold no mark: the spans are looked for once one is found.
  bool spansSought = false;
  bool haveSpan = false;
  int at = from;
  int found = -1;
  while (text.Find(at, mark, &found, 1, 0) && found >= 0) {
    if (!spansSought) {
      haveSpan = spans.Next(from, spanStart, spanEnd);
      spansSought = true;
    }
    while (haveSpan && spanEnd <= found)
      haveSpan = spans.Next(spanEnd, spanStart, spanEnd);
    if (haveSpan && found >= spanStart) {
      at = spanEnd;
      continue;
    }
    places.push_back(found);
    at = found + 1;
  }
}

static bool HoldsMarkup(std::string_view text, const TextString& opening,
                        const TextString& closing) {
  const std::string_view open(opening.GetText(), static_cast<std::size_t>(opening.GetLength()));
  const std::string_view close(closing.GetText(), static_cast<std::size_t>(closing.GetLength()));
  return (!open.empty() && text.find(open) != std::string_view::npos) ||
         (!close.empty() && text.find(close) != std::string_view::npos);
}

static std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What the search back for the start of a phrase found.
enum class BackSearch { kFound, kNoStart, kBlankLine };

// A search back stays within the lines an analysis may see in the window.
static constexpr int kBackSearchLines = 20;

static bool IsSearchedType(int type) {
  return type == kTypeUntyped || type == kTypeBlank || type == kTypeNewParagraph;
}

// Searches the lines before closingLine for a valid start mark: found is the line and at the
// mark's place on kFound.
static BackSearch SearchStartBack(FileControl& fc, PreHTML& closingLine, const char* startMark,
                                  const char* endMark, const TextString& opening,
                                  const TextString& closing, PreHTML*& found, int& at) {
  const std::size_t markLength = std::strlen(startMark);
  const std::size_t endLength = std::strlen(endMark);
  MarkPlaces endMarks;
  std::pmr::vector<int>& endPlaces = endMarks.Items();
  const char markupEnd = OutputFormatOf(fc) == kOutputHtml ? '>' : '}';
  MarkPlaces startMarks;
  std::pmr::vector<int>& places = startMarks.Items();
  PreHTML* line = AsLine(closingLine.GetPrevious());
  for (int i = 0; line != nullptr && i < kBackSearchLines;
       ++i, line = AsLine(line->GetPrevious())) {
    const int type = line->GetLineType();
    if (!IsSearchedType(type) || line->HasFlag(kFlagRollOut))
      return BackSearch::kNoStart;
    if (line->GetOutputMark(kEmphasisStartMark) != 0)
      continue;
    const std::string_view text(line->GetText(), static_cast<std::size_t>(line->GetLength()));
    const bool markedUp = HoldsMarkup(text, opening, closing);
    int from = 0;
    if (markedUp) {
      const std::size_t lastEnd = text.rfind(markupEnd);
      from = lastEnd == std::string_view::npos ? 0 : static_cast<int>(lastEnd) + 1;
    }
    FindMarks(fc, *line, from, startMark, places);
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
      if (!IsValidStart(text, static_cast<std::size_t>(*place), markLength))
        continue;
      if (type == kTypeBlank)
        return BackSearch::kBlankLine;
      // A start that a valid end on its own line closes is that line's phrase: taking it
      // too would write a closing whose opening the line never gets.
      FindMarks(fc, *line, *place + static_cast<int>(markLength), endMark, endPlaces);
      for (const int end : endPlaces) {
        if (IsValidEnd(text, static_cast<std::size_t>(end), endLength))
          return BackSearch::kNoStart;
      }
      found = line;
      at = *place;
      return BackSearch::kFound;
    }
    if (markedUp || type == kTypeBlank)
      return BackSearch::kNoStart;
  }
  return BackSearch::kNoStart;
}

// Pairs the end mark at column of line (being rebuilt in result) with a start on an earlier
// line. True when the phrase was made: the start is replaced there and both records set; the
// caller writes the closing markup.
static bool CloseFromEarlierLine(FileControl& fc, const char* startMark, const char* endMark,
                                 const TextString& opening, const TextString& closing,
                                 PreHTML* lineObject, int closingColumn) {
  if (lineObject == nullptr) {
    Report(fc, lineObject, "INFO: Ignoring potential emphasis because cannot locate start", 1);
    return false;
  }
  // A phrase paired while its lines were analysed is marked up from the two lines' records
  // when each is written (the earlier line may be written already by then).
  const TextString* pairedEnd = lineObject->pGetOwnedText(kEmphasisEndText);
  if (lineObject->GetOutputMark(kEmphasisEndMark) != 0 && pairedEnd != nullptr &&
      std::strcmp(pairedEnd->GetText(), endMark) == 0)
    return false;
  if (lineObject->HasFlag(kFlagRollOut)) {
    Report(fc, lineObject, "INFO: Ignoring potential emphasis in pre-formatted region", 7);
    return false;
  }
  PreHTML* startLine = nullptr;
  int at = -1;
  switch (SearchStartBack(fc, *lineObject, startMark, endMark, opening, closing, startLine,
                          at)) {
    case BackSearch::kNoStart:
      Report(fc, lineObject, "INFO: Ignoring potential emphasis because cannot locate start", 1);
      return false;
    case BackSearch::kBlankLine:
      Report(fc, lineObject,
             "INFO: Ignoring potential emphasis phrase because it spans blank lines", 7);
      return false;
    case BackSearch::kFound:
      break;
  }
  // The earlier line keeps its mark: its text is escaped for the output before the opening
  // markup is put in from its record.
  startLine->SetOutputMark(kEmphasisStartMark, 1);
  startLine->SetOutputMark(kEmphasisStartColumn, at);
  startLine->SetOwnedText(kEmphasisStartText, startMark);
  startLine->SetOwnedText(kEmphasisOpeningText, opening);
  if (lineObject->GetOutputMark(kEmphasisEndMark) != 0)
    Report(fc, lineObject, "WARNING: Overlapping emphasis discarded", 10);
  lineObject->SetOutputMark(kEmphasisEndMark, 1);
  lineObject->SetOutputMark(kEmphasisEndColumn, closingColumn);
  lineObject->SetOwnedText(kEmphasisEndText, endMark);
  lineObject->SetOwnedText(kEmphasisClosingText, closing);
  return true;
}

void ApplyEmphasisPair(FileControl& fc, const char* startMark, const char* endMark,
                       const TextString& opening, const TextString& closing, TextString& line,
                       PreHTML* lineObject) {
  const std::size_t startLength = std::strlen(startMark);
  const std::size_t endLength = std::strlen(endMark);
  if (startLength == 0 || endLength == 0)
    return;
  const bool sameMarks = std::strcmp(startMark, endMark) == 0;
  MarkPlaces startMarks;
  MarkPlaces endMarks;
  std::pmr::vector<int>& starts = startMarks.Items();
  std::pmr::vector<int>& ends = endMarks.Items();
  FindMarks(fc, line, 0, startMark, starts);
  if (sameMarks)
    ends.assign(starts.begin(), starts.end());
  else
    FindMarks(fc, line, 0, endMark, ends);
  if (starts.empty() && ends.empty())
    return;

  // The marked-up line is built in result as the marks are met; the line itself stays as it
  // was until the end, so the places found above hold throughout.
  const std::string_view text(line.GetText(), static_cast<std::size_t>(line.GetLength()));
  TextString result;
  std::size_t copied = 0;
  bool changed = false;
  auto copyUpTo = [&](std::size_t to) {
    result.AppendBytes(text.data() + copied, static_cast<int>(to - copied));
    copied = to;
  };
  std::size_t si = 0;
  std::size_t ei = 0;
  std::size_t pos = 0;
  for (;;) {
    while (si < starts.size() && static_cast<std::size_t>(starts[si]) < pos)
      ++si;
    while (ei < ends.size() && static_cast<std::size_t>(ends[ei]) < pos)
      ++ei;
    const bool haveStart = si < starts.size();
    const bool haveEnd = ei < ends.size();
    if (!haveStart && !haveEnd)
      break;
    const std::size_t startAt = haveStart ? static_cast<std::size_t>(starts[si]) : text.size();
    const std::size_t endAt = haveEnd ? static_cast<std::size_t>(ends[ei]) : text.size();
    if (haveStart && startAt <= endAt && IsValidStart(text, startAt, startLength)) {
      // The next valid end closes the phrase on this line.
      std::size_t ej = ei;
      while (ej < ends.size() && (static_cast<std::size_t>(ends[ej]) < startAt + startLength ||
                                  !IsValidEnd(text, static_cast<std::size_t>(ends[ej]), endLength)))
        ++ej;
      if (ej >= ends.size())
        break;  // no end follows: nothing else can close on this line
      const std::size_t closeAt = static_cast<std::size_t>(ends[ej]);
      pos = closeAt + endLength;
      const std::string_view between =
          Trimmed(text.substr(startAt + startLength, closeAt - startAt - startLength));
      if (HoldsMarkup(between, opening, closing)) {
        Report(fc, lineObject,
               "INFO: Ignoring potential emphasis phrase because it contains other markup", 7);
        continue;
      }
      if (between.empty())
        continue;
      copyUpTo(startAt);
      result.Append(opening);
      copied = startAt + startLength;
      copyUpTo(closeAt);
      result.Append(closing);
      copied = pos;
      changed = true;
      continue;
    }
    if (!sameMarks && haveStart && startAt < endAt) {
      pos = startAt + 1;  // a start mark that cannot open
      continue;
    }
    // An end mark without a start before it on this line.
    pos = endAt + endLength;
    if (!IsValidEnd(text, endAt, endLength)) {
      Report(fc, lineObject, "INFO: Ignoring potential emphasis markup, start not found", 1);
      continue;
    }
    copyUpTo(endAt);
    if (CloseFromEarlierLine(fc, startMark, endMark, opening, closing, lineObject,
                             result.GetLength())) {
      result.Append(closing);
      copied = pos;
      changed = true;
    }
  }
  if (!changed)
    return;
  copyUpTo(text.size());
  line = std::move(result);
}
