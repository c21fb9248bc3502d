// Section-number cross-references: PreHTML::ConvertReferences.

#include "engine/HelpLinks.h"
#include <algorithm>
#include <array>
#include <cstring>

#include "engine/HeadingLinks.h"
#include "analysis/PreHTML.h"
#include "text/ProtectedSpans.h"
#include "engine/SectionNumbers.h"
#include "analysis/UrlWords.h"
#include "policy/ValueConversions.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "text/ProductIdentity.h"
#include "text/StatementTypes.h"

static bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }

// Reads reference as a section number: its level (depth + 1) must be one the document numbers
// its headings at, no higher than "Cross-refs at level" asks, and each of its numbers must lie
// within the range the analysis pass saw at its level. The parser's note on the heading-number
// state (a chapter form opens its level at 0) is undone: a reference is no heading.
static bool IsReferenceInRange(Context& ctx, FileControl& fc, const TextString& reference,
                               char separator) {
  std::array<int, kSectionLevels> lowest{};
  for (int i = 0; i < kSectionLevels; ++i) lowest[i] = SectionLevelState(ctx, i).lowestNumber;
  int depth = 0;
  int valid = 0;
  SectionNumberFields numbers{};
  ParseSectionNumber(ctx, fc, reference, separator, depth, valid, numbers);
  for (int i = 0; i < kSectionLevels; ++i) SectionLevelState(ctx, i).lowestNumber = lowest[i];
  if (valid == 0 || depth < 0 || depth > kMaxSectionDepth) return false;
  const int lowestLevel = fc.GetInt(PolicyId::CrossRefsAtLevel);
  if (depth + 1 < lowestLevel) return false;
  for (int i = 0; i <= depth; ++i) {
    const HeadingLevelStats& level = SectionLevelState(ctx, i);
    const int n = numbers[static_cast<std::size_t>(i)];
    if (level.lowestNumber < 0 || level.highestNumber < 0) return false;
    if (n < level.lowestNumber || n > level.highestNumber) return false;
  }
  return true;
}

// The link to the heading a reference names, in the output format; false when the format
// keeps the reference as it is.
static bool BuildReferenceLink(FileControl& fc, Context& ctx, int format, int kind,
                               const TextString& reference, const TextString& filePart,
                               const TextString& extension, TextString& markup) {
  TextString anchor;
  GetHeadingLinkName(reference, kind, fc, ctx, 0, anchor);
  switch (format) {
    case kOutputHtml:
      markup.Assign("<A HREF=\"");
      if (!filePart.Equals(ctx.CurrentOutputFileName)) {
        markup.Append(filePart);
        markup.Append(extension);
      }
      markup.AppendChar('#');
      markup.Append(anchor);
      markup.Append("\">");
      markup.Append(reference);
      markup.Append("</A>");
      return true;
    case kOutputRtf:
      if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0)
        BuildHelpLink(fc, 1, false, anchor, reference, markup);
      else
        BuildHyperlinkField(fc, 1, anchor, reference, markup);
      return true;
    default: return false;
  }
}

int PreHTML::ConvertReferences(FileControl& fc, Context& ctx) {
  if (fc.GetInt(PolicyId::ExpectNumberedHeadings) == 0 || ctx.OutputPass == 0) return 0;
  const int format = ctx.GetOutputType();
  if (format < kOutputHtml || format > kOutputTextMarkersDropped) {
    fc.ReportMessage("UNSUPPORTED CASE: Output Format in ConvertReferences", 10);
    return 0;
  }
  if (format == kOutputPlainText || !ContainsChar('.')) return 0;

  UrlWorkTexts& work = WordObjectOf(ctx).UrlWork();
  TextString& word = work.candidate;
  TextString& reference = work.linkText;
  TextString& out = work.lineOut;
  out.SetEmpty();
  ProtectedSpanFinder spans(*this, fc.GetText(PolicyId::StartTagDelimiter),
                            fc.GetText(PolicyId::EndTagDelimiter));
  const int length = GetLength();
  int spanStart = length;
  int spanEnd = length;
  if (!spans.Next(0, spanStart, spanEnd)) spanStart = length;
  int copied = 0;
  int links = 0;
  for (int pos = 0; pos < length;) {
    if (pos >= spanStart) {
      // Words inside in-line tags, anchors and fields are never references.
      pos = spanEnd > pos ? spanEnd : pos + 1;
      if (!spans.Next(pos, spanStart, spanEnd)) spanStart = spanEnd = length;
      continue;
    }
    if (IsBlankByte(CharAt(pos))) {
      ++pos;
      continue;
    }
    // Only a word with a dot can name a section: the walk goes straight to the word that
    // holds the next dot before the span.
    const char* const text = GetText();
    const int limit = std::min(length, spanStart);
    const void* dot = std::memchr(text + pos, '.', static_cast<std::size_t>(limit - pos));
    if (dot == nullptr) {
      pos = limit;
      continue;
    }
    const int dotAt = static_cast<int>(static_cast<const char*>(dot) - text);
    int wordStart = dotAt;
    while (wordStart > pos && !IsBlankByte(text[wordStart - 1])) --wordStart;
    int end = dotAt;
    while (end < limit && !IsBlankByte(text[end])) ++end;
    pos = end;
    word.AssignBytes(text + wordStart, end - wordStart);
    if (!word.ContainsChar('.')) continue;
    TrimReferenceWord(word, reference);
    if (reference.IsEmpty()) continue;
    const char separator = reference.ContainsChar('-') ? '-' : '.';
    if (!IsReferenceInRange(ctx, fc, reference, separator)) continue;

    const int kind = kTypeHeading1 + reference.CountChar(separator);
    if (kind > kTypeHeading6) continue;
    if (ctx.FindSectionReference(fc, kind, reference, work.localPart, work.domainPart) == 0) {
      work.message.Assign("WARNING: Can't find section for possible hyperlink \"");
      work.message.Append(reference);
      work.message.AppendChar('"');
      fc.ReportMessage(work.message.GetText(), 10);
      continue;
    }
    if (!BuildReferenceLink(fc, ctx, format, kind, reference, work.localPart, work.domainPart,
                            work.linkMarkup))
      continue;
    int at = -1;
    if (!word.Find(0, reference.GetText(), &at, 1, 0) || at < 0) continue;
    work.rewritten.AssignBytes(GetText() + copied, wordStart + at - copied);
    out.Append(work.rewritten);
    out.Append(work.linkMarkup);
    copied = wordStart + at + reference.GetLength();
    ++links;
  }
  if (links == 0) return 0;
  work.rewritten.Assign(GetText() + copied);
  out.Append(work.rewritten);
  Assign(out);
  return links;
}
