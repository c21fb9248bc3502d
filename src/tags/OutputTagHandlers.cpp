// The handlers of the tags that make links, font changes, styles, contents fields and
// raw-markup replacements.
#include <algorithm>
#include <string>

#include "engine/HeadingLinks.h"
#include "engine/HelpLinks.h"
#include "analysis/ParagraphStyles.h"
#include "analysis/PreHTML.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StyleSheet.h"
#include "tags/TagHandlers.h"
#include "analysis/TagServices.h"
#include "tags/TagTextFilters.h"
#include "text/ProductIdentity.h"
#include "text/StatementTypes.h"

static bool IsOutputPass(const TagCall& call) { return call.ctx.OutputPass != 0; }
// The analysis or the contents pass is running.
static bool IsEarlierPass(const TagCall& call) {
  return call.ctx.AnalysisPass != 0 || call.ctx.ContentsPass != 0;
}
static bool IsAnyPass(const TagCall& call) { return IsEarlierPass(call) || IsOutputPass(call); }
static bool IsHelpOutput(const TagCall& call) {
  return call.fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0;
}

// The tag's place takes text.
static int Replace(TagCall& call, const TextString& text) {
  call.output = text;
  call.replace = 1;
  return kTagHandled;
}
static int Replace(TagCall& call, const char* text) { return Replace(call, TextString(text)); }

// ---- Raw markup, images, indents and contents fields ----

int ExecuteHtmlTag(TagCall& call) {
  if (!IsOutputPass(call))
    return kTagHandled;
  return Replace(call, "");
}

int ExecuteImageTag(TagCall& call) {
  TextString source;
  (void)ReadTagText(call.arguments, 1, source, "");
  if (call.mode == kTagModeLeaveInPlace) {
    call.replace = 0;
    return kTagHandled;
  }
  if (call.mode != kTagModeLine || !IsOutputPass(call))
    return kTagNotHandled;
  // RTF output shows no image: the paragraph breaks where it stood.
  return Replace(call, "\\par");
}

int ExecuteChangeIndentTag(TagCall& call) {
  const int none = 0;
  int first = 0;
  int second = 0;
  (void)ReadTagNumber(call.arguments, 1, first, &none);
  (void)ReadTagNumber(call.arguments, 2, second, &none);
  return Replace(call, "");
}

int ExecuteContentsListTag(TagCall& call) {
  if (IsEarlierPass(call))
    return kTagHandled;
  int level = 0;
  int write = 1;
  int spare = 0;
  (void)GetTagNumberOrDefault(call.fc, call.arguments, 1, level, 0);
  (void)GetTagNumberOrDefault(call.fc, call.arguments, 2, write, 1);
  (void)GetTagNumberOrDefault(call.fc, call.arguments, 3, spare, 0);
  if (IsOutputPass(call)) {
    // The field goes straight into the document, ahead of the line that holds the tag.
    if (call.outputFile != nullptr)
      (void)call.outputFile->WriteContentsField(call.fc, level, write);
  }
  return Replace(call, "");
}

// ---- Document data ----

int ExecuteSourceFileTag(TagCall& call) {
  if (!IsAnyPass(call))
    return kTagHandled;
  TextString name;
  (void)ReadTagText(call.arguments, 1, name, "source file");
  return Replace(call, name);
}

// Where the line of a tag ends, for what was defined up to there.
static TextPosition LineEndPosition(const TagCall& call) {
  if (call.line != nullptr && call.line->GetEndPosition().IsSet())
    return call.line->GetEndPosition();
  return call.ctx.GetPassTracker(call.ctx.CodeLocation).currentPosition;
}

int ExecuteVariableTag(TagCall& call) {
  TextString name;
  if (!ReadTagText(call.arguments, 1, name)) {
    call.fc.ReportMessage("TAG_ERROR: Failed to parse DEFINE_VARIABLE tag", 10);
    return Replace(call, "");
  }
  TextString value;
  (void)call.ctx.Defines.ResolveVariable(call.fc, name, LineEndPosition(call), value);
  return Replace(call, value);
}

// ---- Links ----

namespace {
// The target a GOTO or POPUP tag links to and the text it shows.
struct JumpTexts {
  TextString target;
  TextString display;
};
}  // namespace

// The pairs of emphasis markup that a link target must not keep, in the order they are
// taken out.
static constexpr const char* kEmphasisPairs[][2] = {
    {"{\\b\\i ", "\\b0\\i0}"},
    {"{\\b ", "\\b0}"},
    {"{\\i ", "\\i0}"},
};

// Removes the first occurrence of what (case ignored); false when there is none.
static bool RemoveFirstNoCase(TextString& text, const char* what) {
  const char* found = text.FindNoCase(what);
  if (found == nullptr)
    return false;
  const int at = static_cast<int>(found - text.GetText());
  return text.ReplaceSpan(at, static_cast<int>(std::char_traits<char>::length(what)), "") != 0;
}

// The target as a heading's text reads: the escapes of the line's RTF undone and the
// emphasis markup taken out.
static void PlainLinkTarget(TextString& target) {
  (void)target.ReplaceAll("\\'7b", "{", 0, 1);
  (void)target.ReplaceAll("\\'7d", "}", 0, 1);
  (void)target.ReplaceAll("\\\\", "\\", 0, 1);
  for (const auto& pair : kEmphasisPairs) {
    while (target.ContainsNoCase(pair[0]) && target.ContainsNoCase(pair[1])) {
      (void)RemoveFirstNoCase(target, pair[0]);
      (void)RemoveFirstNoCase(target, pair[1]);
    }
  }
}

// A one-word argument is target and text at once; otherwise field 1 is the target and
// field 2 (default the target) the text.
static void ReadJumpTexts(TagCall& call, JumpTexts& texts) {
  const TextString& arguments = call.arguments;
  if (!arguments.ContainsChar(' ')) {
    texts.target = arguments;
    if (!arguments.IsEmpty())
      (void)texts.target.ReplaceChar(0, arguments.CharAt(0), ' ', 0);
    texts.target.Trim();
    texts.display = texts.target;
  } else {
    (void)ReadTagText(arguments, 1, texts.target, "");
    (void)ReadTagText(arguments, 2, texts.display, texts.target.GetText());
  }
  PlainLinkTarget(texts.target);
  EscapeKeepingEmphasis(call.fc, call.ctx, texts.display);
}

// The anchor name of the heading that target names, looked up from the line's position as
// an underlined heading of level 1 would be; false when no heading matches.
static bool FindJumpHeading(TagCall& call, const TextString& target, TextString& anchor) {
  TextPosition position;
  if (call.line != nullptr)
    position = call.line->GetStartPosition();
  ContentsMatch match;
  if (!MatchContentsLine(target, kTypeUnderlinedHeading1, call.fc, call.ctx, 1, position, match))
    return false;
  anchor = match.linkName;
  return true;
}

// The output pass of GOTO and POPUP: a link to the heading, or the text with a message.
static int WriteJump(TagCall& call, const JumpTexts& texts, bool popup) {
  TextString anchor;
  if (!FindJumpHeading(call, texts.target, anchor)) {
    TextString message(popup ? "TAG ERROR: Unable to locate POPUP target \""
                             : "TAG ERROR: Unable to locate GOTO target \"");
    message.Append(texts.target);
    message.AppendChar('"');
    ReportTagMessage(call.fc, call.line, message.GetText(), 10);
    return Replace(call, texts.display);
  }
  TextString link;
  if (IsHelpOutput(call))
    BuildHelpLink(call.fc, 1, popup, anchor, texts.display, link);
  else
    BuildHyperlinkField(call.fc, 1, anchor, texts.display, link);
  return Replace(call, link);
}

int ExecuteGotoTag(TagCall& call) {
  if (IsEarlierPass(call))
    return kTagHandled;
  JumpTexts texts;
  ReadJumpTexts(call, texts);
  if (IsOutputPass(call))
    return WriteJump(call, texts, false);
  TextString shown("<");
  shown.Append(texts.display);
  shown.AppendChar('>');
  return Replace(call, shown);
}

int ExecutePopupTag(TagCall& call) {
  // Pop-ups exist only in the help file; elsewhere the tag is a jump.
  if (!IsHelpOutput(call))
    return ExecuteGotoTag(call);
  if (!IsOutputPass(call))
    return kTagHandled;
  JumpTexts texts;
  ReadJumpTexts(call, texts);
  return WriteJump(call, texts, true);
}

// The page of the policy manual; a policy's link name follows it as the fragment.
static void PolicyManualAddress(TextString& address) {
  TextString page;
  GetDocumentationAddress(address, page);
  address.Append(page);
  address.AppendChar('#');
}

int ExecuteHyperlinkTag(TagCall& call) {
  if (!IsOutputPass(call))
    return kTagHandled;
  TextString kind;
  TextString target;
  TextString display;
  (void)ReadTagText(call.arguments, 1, kind, "");
  (void)ReadTagText(call.arguments, 2, target, "");
  (void)ReadTagText(call.arguments, 3, display, target.GetText());
  TextString link;
  if (kind.Compare("POLICY", 0, 0)) {
    TextString name;
    GetHeadingLinkName(target, kTypeUnderlinedHeading1, call.fc, call.ctx, 0, name);
    PolicyManualAddress(target);
    target.Append(name);
  }
  if (kind.Compare("URL", 0, 0) || kind.Compare("POLICY", 0, 0)) {
    if (IsHelpOutput(call))
      BuildHelpLink(call.fc, 2, false, target, display, link);
    else
      BuildHyperlinkField(call.fc, 2, target, display, link);
    return Replace(call, link);
  }
  if (kind.Compare("LINK", 0, 0)) {
    TextString bookmark;
    MakeBookmarkName(target, bookmark);
    BuildHyperlinkField(call.fc, 1, bookmark, display, link);
    return Replace(call, link);
  }
  return Replace(call, display);
}

// ---- Font changes ----

// Applies the font field of an FO tag to the change.
static void ApplyFontName(TagCall& call, FontChange& change, const TextString& name) {
  if (name.IsEmpty())
    return;
  if (name.Compare("-", 1, 0)) {
    change.Cancel();
    return;
  }
  const FontSpec* found = call.ctx.Styles.FindFont(name);
  if (found == nullptr) {
    TextString message("TAG ERROR: font \"");
    message.Append(name);
    message.Append("\" not found in the style table");
    ReportTagMessage(call.fc, call.line, message.GetText(), 10);
    change.Cancel();
    return;
  }
  change.changeFlags[FontChange::kFaceMode] = 1;
  change.changeFlags[FontChange::kSizeMode] = 1;
  change.changeFlags[FontChange::kStyleMode] = 1;
  change.font.CopyFrom(*found);
}

// "-" and "d" (either case) undo a size or weight change.
static bool IsDefaultWord(const TextString& text) {
  return text.Compare("-", 1, 0) || text.Compare("d", 0, 0);
}

// Applies the size field of an FO tag: "+n", "-n" and "0" change the style's size, another
// number replaces it.
static void ApplyFontSize(TagCall& call, FontChange& change, TextString size) {
  size.Trim();
  if (size.IsEmpty())
    return;
  int& mode = change.changeFlags[FontChange::kSizeMode];
  if (IsDefaultWord(size)) {
    change.sizeValue = -1;
    mode = 0;
    return;
  }
  int value = 0;
  if (!size.ParseNumber('1', &value)) {
    TextString message("TAG ERROR: Unknown font size - ");
    message.Append(size);
    call.fc.ReportMessage(message.GetText(), 10);
    change.sizeValue = -1;
    mode = 0;
    return;
  }
  const bool relative = size.Compare("0", 1, 0) || size.ContainsChar('+') || size.ContainsChar('-');
  change.sizeValue = value;
  mode = relative ? 3 : 2;
}

namespace {
struct FontWeight {
  const char* word;
  int bold;
  int italic;
};
}  // namespace

static constexpr FontWeight kFontWeights[] = {
    {"bo", 1, 0},
    {"it", 0, 1},
    {"bi", 1, 1},
    {"no", 0, 0},
};

// Applies the weight field of an FO tag.
static void ApplyFontWeight(TagCall& call, FontChange& change, const TextString& weight) {
  if (weight.IsEmpty())
    return;
  int& mode = change.changeFlags[FontChange::kStyleMode];
  for (const FontWeight& row : kFontWeights) {
    if (!weight.Compare(row.word, 0, 0))
      continue;
    mode = 2;
    change.secondExtraFlag = row.bold;
    change.firstExtraFlag = row.italic;
    return;
  }
  if (!IsDefaultWord(weight)) {
    TextString message("TAG ERROR: Unknown font weight - ");
    message.Append(weight);
    call.fc.ReportMessage(message.GetText(), 10);
  }
  mode = 0;
  change.secondExtraFlag = 0;
  change.firstExtraFlag = 0;
}

// The style whose font an FO tag changes: that of the paragraph being written (Body when
// the tag is executed outside the statement output).
static int FontChangeStyle(const TagCall& call) {
  int kind = kParagraphBody;
  if (call.outputFile != nullptr)
    kind = call.outputFile->GetStyleCode();
  const int index = GetParagraphStyleCode(call.fc, kind);
  return index >= 0 && index < StyleSheet::kStyleCount ? index : StyleSheet::kBody;
}

// "}{" and the font settings of the style with the change applied.
static void BuildFontChange(TagCall& call, const StyleRecord& style, const FontChange& change,
                            TextString& out) {
  int font = style.fontNumber;
  int size = style.pointSize;
  int bold = style.bold;
  int italic = style.italic;
  if (change.changeFlags[FontChange::kFaceMode] == 1)
    font = change.font.GetStyleCode();
  switch (change.changeFlags[FontChange::kSizeMode]) {
    case 1:
      size = change.font.GetPointSize();
      break;
    case 2:
      size = change.sizeValue;
      break;
    case 3:
      if (static_cast<long long>(size) + change.sizeValue > 0)
        size += change.sizeValue;
      break;
  }
  // Twice the size is written: a size past what a page can show would overflow it.
  size = std::min(size, kMaxPointSize);
  switch (change.changeFlags[FontChange::kStyleMode]) {
    case 1:
      bold = change.font.IsBold();
      italic = change.font.IsItalic();
      break;
    case 2:
      bold = change.secondExtraFlag;
      italic = change.firstExtraFlag;
      break;
  }
  out.Assign("}{");
  if (call.fc.GetText(PolicyId::CharacterEncoding).Compare("windows-1256", 0, 0)) {
    out.Append("\\ltrch \\af");
    out.AppendNumber('1', font, 0);
    out.Append(" \\rltch ");
  }
  out.Append("\\f");
  out.AppendNumber('1', font, 0);
  if (size > 0) {
    out.Append("\\fs");
    out.AppendNumber('1', 2 * size, 0);
  }
  out.Append(bold != 0 ? "\\b" : "\\b0");
  out.Append(italic != 0 ? "\\i" : "\\i0");
  out.AppendChar(' ');
}

int ExecuteFontChangeTag(TagCall& call) {
  call.replace = 1;
  TextString name;
  TextString size;
  TextString weight;
  (void)ReadTagText(call.arguments, 1, name, "");
  (void)ReadTagText(call.arguments, 2, size, "");
  (void)ReadTagText(call.arguments, 3, weight, "");
  if (!IsOutputPass(call))
    return kTagHandled;
  const StyleRecord& style = call.ctx.Styles.GetRecord(FontChangeStyle(call));
  FontChange& change = call.ctx.CurrentFontChange;
  ApplyFontName(call, change, name);
  ApplyFontSize(call, change, size);
  ApplyFontWeight(call, change, weight);
  BuildFontChange(call, style, change, call.output);
  return kTagHandled;
}

// ---- Paragraph styles ----

int ExecuteStyleTag(TagCall& call) {
  call.replace = 1;
  TextString name;
  TextString second;
  TextString third;
  const bool named = ReadTagText(call.arguments, 1, name);
  (void)ReadTagText(call.arguments, 2, second, "");
  (void)ReadTagText(call.arguments, 3, third, "");
  if (!named) {
    ReportTagParseError(call.fc, call.line, call.keyword, call.arguments, 1);
    return kTagHandled;
  }
  call.replace = 0;
  if (!IsOutputPass(call))
    return kTagHandled;
  // The statement output takes the style at the next paragraph; one not taken by then is
  // lost.
  TextString& pending = call.ctx.PendingCustomStyleText;
  if (!pending.IsEmpty()) {
    TextString message("TAG ERROR: Unimplemented STYLE tag discarded ");
    message.Append(pending);
    ReportTagMessage(call.fc, call.line, message.GetText(), 10);
  }
  pending = call.tagText;
  call.ctx.PendingCustomStyle = 1;
  return Replace(call, "");
}
