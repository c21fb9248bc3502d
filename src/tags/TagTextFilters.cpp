#include "tags/TagTextFilters.h"

#include <cstring>

#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "policy/FileControl.h"
#include "tags/TagInterpreter.h"
#include "analysis/TagServices.h"
#include "text/JParser.h"

// ---- Escaping that spares emphasis ----

namespace {
struct EmphasisMarker {
  const char* markup;
  const char* placeholder;
};
}  // namespace

// Longer markers first: "\i0}" ends "\b0\i0}", so the bold-italic closer goes before it.
static constexpr EmphasisMarker kEmphasisMarkers[] = {
    {"{\\b\\i ", "$_$_BI_$_$"}, {"\\b0\\i0}", "$_$_/BI_$_$"},
    {"{\\b ", "$_$_B_$_$"},     {"\\b0}", "$_$_/B_$_$"},
    {"{\\i ", "$_$_I_$_$"},     {"\\i0}", "$_$_/I_$_$"},
};

static bool HoldsEmphasisMarker(const TextString& text) {
  for (const EmphasisMarker& marker : kEmphasisMarkers) {
    if (text.ContainsNoCase(marker.markup))
      return true;
  }
  return false;
}

void EscapeKeepingEmphasis(FileControl& /*fc*/, Context& /*ctx*/, TextString& text) {
  // The text comes from a tag of a line whose text the output has escaped already.
  if (!HoldsEmphasisMarker(text)) {
    EscapeRtfBraces(text);
    return;
  }
  for (const EmphasisMarker& marker : kEmphasisMarkers)
    (void)text.ReplaceAll(marker.markup, marker.placeholder, 0, 1);
  EscapeRtfBraces(text);
  for (const EmphasisMarker& marker : kEmphasisMarkers)
    (void)text.ReplaceAll(marker.placeholder, marker.markup, 0, 1);
}

// ---- Tagged heading text ----

// Appends text to a scanner pattern with the pattern language's special characters written
// as literals.
static void AppendPatternLiteral(TextString& pattern, const TextString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '|' || c == '*' || c == '%' || c == '?')
      pattern.AppendChar('|');
    pattern.AppendChar(c);
  }
}

namespace {
struct HeadingTagScan {
  FileControl* fc;
  Context* ctx;
};
}  // namespace

// The text that takes a heading tag's place; false when the tag stays as written.
static bool HeadingTagReplacement(FileControl& fc, Context& ctx, const TextString& tag,
                                  TextString& replacement) {
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = -1;
  (void)RecogniseTag(fc, ctx, tag, keyword, arguments, message, level);
  const bool script = keyword.Compare("SUPER", 0, 0) || keyword.Compare("SUB", 0, 0);
  const bool kept = keyword.Compare("CAD", 0, 0) || keyword.Compare("CAAD", 0, 0);
  if (!script && !kept) {
    replacement.Assign(" ");
    return true;
  }
  // Executed on a line of their own, so that nothing they report lands on a real line.
  PreHTML scratch;
  scratch.SetText(tag.GetText());
  int replace = 0;
  replacement.Assign(" ");
  (void)ExecuteTag(script ? kTagModeHeadingText : kTagModeLine, &scratch, tag, keyword,
                   arguments, nullptr, fc, ctx, replace, replacement);
  return replace != 0;
}

static int OnHeadingTag(JParser& /*parser*/, JPattern& /*pattern*/, JMatchState& state,
                        ParseBuffer& text, int& position, void* userData) {
  auto& scan = *static_cast<HeadingTagScan*>(userData);
  if (state.start < 0 || state.start > state.end || state.end > text.GetLength() - 1)
    return kJNothingDone;
  TextString tag;
  (void)tag.AssignBytes(text.GetText() + state.start, state.end - state.start + 1);
  TextString replacement;
  if (!HeadingTagReplacement(*scan.fc, *scan.ctx, tag, replacement))
    return kJNothingDone;
  if (!text.Replace(state.start, tag.GetLength(), replacement.GetText()))
    return kJNothingDone;
  // The scanner continues one past this, so just after the replacement; an empty
  // replacement at the first byte gives -1, which the scanner takes as its first byte.
  position = state.start + replacement.GetLength() - 1;
  return kJTextChanged;
}

void CleanHeadingTags(FileControl& fc, Context& ctx, int noEscape, const TextString& text,
                      TextString& out) {
  TextString copy(text);
  if (noEscape == 0)
    EscapeRtfText(fc, copy);
  TextString pattern;
  AppendPatternLiteral(pattern, fc.GetText(PolicyId::StartTagDelimiter));
  pattern.Append("**");
  AppendPatternLiteral(pattern, fc.GetText(PolicyId::EndTagDelimiter));
  JParser parser;
  HeadingTagScan scan{&fc, &ctx};
  if (parser.AddPattern(kJCallback, pattern.GetText(), "", 0, OnHeadingTag, &scan) != nullptr &&
      parser.Scan(copy.GetText(), nullptr, copy.GetLength()) > 0)
    (void)copy.AssignBytes(parser.GetResultText(), parser.GetResult().GetLength());
  copy.Trim();
  out = std::move(copy);
}

// ---- List items ----

int GetListItemNumber(FileControl& fc, Context& ctx, const TextString& tagText) {
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = -1;
  (void)RecogniseTag(fc, ctx, tagText, keyword, arguments, message, level);
  // LIST_ITEM is a directive, not one of the in-line tags the recogniser knows, so its
  // keyword counts whether or not the recogniser accepted it.
  if (keyword.Compare("LIST_ITEM", 0, 0)) {
    int number = -1;
    if (ReadTagNumber(arguments, 1, number))
      return number;
    TextString failure("TAG ERROR: Failed to parse: ");
    failure.Append(arguments);
    fc.ReportMessage(failure.GetText(), 10);
    return -1;
  }
  TextString report("TAG ERROR: ");
  report.Append(message);
  fc.ReportMessage(report.GetText(), level);
  return 0;
}

// ---- Keeping and dropping tags ----

// list wrapped in commas into out; false when no list is given.
static bool WrapList(const char* list, TextString& out) {
  if (list == nullptr || list[0] == '\0')
    return false;
  out.Assign(",");
  out.Append(list);
  out.AppendChar(',');
  return true;
}

// The keyword of a tag, wrapped in commas.
static void TagKeyword(FileControl& fc, Context& ctx, const TextString& tag, bool markupTag,
                       TextString& wrapped) {
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = -1;
  (void)RecogniseTag(fc, ctx, tag, keyword, arguments, message, level);
  if (markupTag) {
    (void)keyword.ReplaceAll("</", "", 1, 1);
    (void)keyword.ReplaceAll("<", "", 1, 1);
    (void)keyword.ReplaceAll(">", "", 1, 1);
  }
  wrapped.Assign(",");
  wrapped.Append(keyword);
  wrapped.AppendChar(',');
}

// The next occurrence of what at or after from, remembered in found so that a later search
// from a position not past it costs nothing; -1 when there is none.
static int FindFrom(const TextString& text, const char* what, int from, int& found) {
  if (found == -2 || (found >= 0 && found >= from))
    return found;
  int at = -1;
  found = text.Find(from, what, &at, 0, 0) ? at : -2;
  return found;
}

int FilterDelimitedTags(FileControl& fc, Context& ctx, const char* opener, const char* closer,
                        const char* keepList, const char* dropList, const TextString& text,
                        TextString& out) {
  if (opener == nullptr || closer == nullptr || opener[0] == '\0' || closer[0] == '\0' ||
      !text.ContainsChar(opener[0])) {
    out = text;
    return 0;
  }
  TextString keep;
  TextString drop;
  const bool haveKeep = WrapList(keepList, keep);
  const bool haveDrop = WrapList(dropList, drop);
  const bool markupTags = opener[0] == '<' && closer[0] == '>';
  const int closerLength = static_cast<int>(std::strlen(closer));

  // out starts as the text; a dropped tag is squeezed out by moving what follows it down,
  // each byte once.
  out = text;
  char* buffer = out.GetBuffer();
  const char* source = text.GetText();
  int written = 0;  // out's bytes before this are final
  int copied = 0;   // text before this is in out (or dropped)
  TextString tag;
  TextString wrapped;
  int kept = 0;
  int position = 0;
  int openerAt = -1;
  int closerAt = -1;
  while (true) {
    const int o = FindFrom(text, opener, position, openerAt);
    const int c = FindFrom(text, closer, position, closerAt);
    if (o < 0 || c < 0)
      break;
    if (c <= o) {
      position = c + 1;
      continue;
    }
    const int end = c + closerLength;
    (void)tag.AssignSubstring(source, o, end - o);
    TagKeyword(fc, ctx, tag, markupTags, wrapped);
    const bool dropped = haveKeep   ? !keep.ContainsNoCase(wrapped.GetText())
                         : haveDrop ? drop.ContainsNoCase(wrapped.GetText())
                                    : true;
    if (!dropped) {
      ++kept;
      position = c + 1;
      continue;
    }
    std::memmove(buffer + written, source + copied, static_cast<std::size_t>(o - copied));
    written += o - copied;
    copied = end;
    position = end;
  }
  if (copied > 0) {
    std::memmove(buffer + written, source + copied,
                 static_cast<std::size_t>(text.GetLength() - copied));
    out.SetLength(written + text.GetLength() - copied);
  }
  return kept;
}

int FilterInlineTags(FileControl& fc, Context& ctx, const char* keepList, const char* dropList,
                     const TextString& text, TextString& out) {
  return FilterDelimitedTags(fc, ctx, fc.GetText(PolicyId::StartTagDelimiter).GetText(),
                             fc.GetText(PolicyId::EndTagDelimiter).GetText(), keepList,
                             dropList, text, out);
}
