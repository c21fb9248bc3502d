// The handlers of the tags whose output is fixed text or a short piece of RTF.
#include "tags/TagHandlers.h"

#include <algorithm>

#include "engine/HelpLinks.h"
#include "analysis/PreHTML.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "engine/FontKeys.h"
#include "policy/FileControl.h"
#include "analysis/TagServices.h"
#include "text/CharacterUtils.h"
#include "text/FontSpec.h"
#include "text/ProductIdentity.h"

// The most blanks an NB or SPACES tag writes.
static constexpr int kMaxTagBlanks = 80;
// The rule of LINERULE ends at a right tab: where it stands without a width (twips), on an
// upright and on a landscape page.
static constexpr int kRuleTabUpright = 8280;
static constexpr int kRuleTabLandscape = 15704;
// Under a rule set a width from this value on counts as none.
static constexpr int kRuleSetWidthLimit = 420;
// The widest tab position RTF readers accept (22 inches in twips).
static constexpr long long kMaxTabPosition = 31680;

static bool IsOutputPass(const TagCall& call) { return call.ctx.OutputPass != 0; }
static bool IsRtfOutput(const TagCall& call) {
  return call.ctx.GetOutputType() == kOutputRtf;
}

// The tag's place takes text.
static int Replace(TagCall& call, const char* text) {
  call.output.Assign(text);
  call.replace = 1;
  return kTagHandled;
}
static int Replace(TagCall& call, const TextString& text) { return Replace(call, text.GetText()); }

// The tag's place takes what the caller put into the output.
static int ReplaceAsSet(TagCall& call) {
  call.replace = 1;
  return kTagHandled;
}

// "TAG ERROR: Failed to parse: <arguments>" on the line; the fallback sees the tag.
static int ParseFailure(TagCall& call) {
  TextString message("TAG ERROR: Failed to parse: ");
  message.Append(call.arguments);
  ReportTagMessage(call.fc, call.line, message.GetText(), 10);
  return kTagNotHandled;
}

static void AppendBlanks(TextString& out, int count) {
  for (int i = 0; i < count; ++i)
    out.AppendChar(' ');
}

// count blanks, at most kMaxTagBlanks, none for a negative count.
static int ReplaceByBlanks(TagCall& call, int count) {
  call.output.SetEmpty();
  AppendBlanks(call.output, std::clamp(count, 0, kMaxTagBlanks));
  call.replace = 1;
  return kTagHandled;
}

// ---- Colours, delimiters and tags left to the line ----

int ExecuteColourTag(TagCall& call) {
  TextString colour;
  (void)ParseColourArguments(call.fc, call.ctx, call.line, call.keyword, call.arguments, colour);
  return Replace(call, "");
}

// CT and OT: their delimiter in the output pass in mode 5, "||" in the other passes.
static int ExecuteDelimiterTag(TagCall& call, PolicyId delimiter) {
  if (!IsOutputPass(call))
    return Replace(call, "||");
  if (call.mode != kTagModeKeepText)
    return kTagNotHandled;
  return Replace(call, call.fc.GetText(delimiter));
}

int ExecuteCloseDelimiterTag(TagCall& call) {
  return ExecuteDelimiterTag(call, PolicyId::EndTagDelimiter);
}

int ExecuteOpenDelimiterTag(TagCall& call) {
  return ExecuteDelimiterTag(call, PolicyId::StartTagDelimiter);
}

int ExecuteLeftToLineTag(TagCall& call) {
  call.output.SetEmpty();
  call.replace = 1;
  return kTagNotHandled;
}

int ExecuteEntityTag(TagCall& call) {
  int code = -1;
  if (!ReadTagNumber(call.arguments, 1, code)) {
    ReportTagParseError(call.fc, call.line, call.keyword, call.arguments, 1);
    return ReplaceAsSet(call);
  }
  // The line's own tag execution puts the character in.
  if (IsOutputPass(call))
    call.output.SetEmpty();
  return kTagNotHandled;
}

int ExecuteFileNameTag(TagCall& call) {
  return Replace(call, call.ctx.GetDocInfo(DocInfo::OutputFileName));
}

int ExecuteDebugTag(TagCall& call) { return Replace(call, ""); }

// ---- Fonts ----

// "\f<n>\fs<half-points>\b..\i.." of a tagged font; the font number when the analysis listed
// the font among those used.
static void AppendTagFontSettings(const Context& ctx, const FontSpec& font, TextString& out) {
  TextString key;
  MakeFontKey(font, key);
  const int number = FindFontKeyNumber(ctx, key);
  if (number >= 0) {
    out.Append("\\f");
    out.AppendNumber('1', number, 0);
  }
  out.Append("\\fs");
  out.AppendNumber('1', 2 * font.GetPointSize(), 0);
  out.Append(font.IsBold() != 0 ? "\\b" : "\\b0");
  out.Append(font.IsItalic() != 0 ? "\\i" : "\\i0");
}

int ExecuteFontTag(TagCall& call) {
  if (call.fc.GetInt(PolicyId::AddFONTMarkup) == 0 &&
      call.fc.GetInt(PolicyId::AddEmphasisAndBoldMarkup) == 0)
    return Replace(call, "");
  FontSpec font;
  if (!ParseFontArguments(call.fc, call.ctx, call.line, call.keyword, call.arguments, font))
    return kTagNotHandled;
  if (!IsOutputPass(call))
    return ReplaceAsSet(call);
  call.ctx.FontTagsExecuted = 1;
  call.ctx.ChangeFont(call.fc, font, 0);
  // The text before the tag keeps its group; the new font opens one of its own, so the
  // braces stay balanced whatever follows.
  call.output.Assign("}{");
  AppendTagFontSettings(call.ctx, font, call.output);
  call.output.AppendChar(' ');
  call.replace = 1;
  return kTagHandled;
}

// ---- Fractions, super- and subscripts ----

int ExecuteFractionTag(TagCall& call) {
  TextString text;
  (void)ReadTagText(call.arguments, 1, text);
  TextString numerator(text);
  TextString denominator;
  int slash = -1;
  if (text.FindChar(0, '/', &slash, 1) && slash >= 0) {
    numerator.Truncate(slash);
    denominator.AssignSubstring(text.GetText(), slash + 1, -1);
  }
  numerator.Trim();
  denominator.Trim();
  const char* missing = numerator.IsEmpty()     ? "numerator"
                        : denominator.IsEmpty() ? "denominator"
                                                : nullptr;
  if (missing != nullptr) {
    TextString message("TAG ERROR: FRACTION has no ");
    message.Append(missing);
    message.Append(" - ");
    message.Append(text);
    call.fc.ReportMessage(message.GetText(), 10);
    return kTagNotHandled;
  }
  if (!IsRtfOutput(call) || !IsOutputPass(call))
    return kTagNotHandled;
  call.output.Assign("{\\super\\kerning0 ");
  call.output.Append(numerator);
  call.output.Append("}{\\sub\\kerning0 /");
  call.output.Append(denominator);
  call.output.AppendChar('}');
  call.replace = 1;
  return kTagHandled;
}

// SUPER and SUB: field 1 in a group that raises or lowers it.
static int ExecuteScriptTag(TagCall& call, const char* opening) {
  TextString text;
  if (!ReadTagText(call.arguments, 1, text))
    return ParseFailure(call);
  if (call.mode == kTagModeHeadingText)
    return Replace(call, text);
  if (!IsOutputPass(call))
    return kTagNotHandled;
  call.output.Assign(opening);
  call.output.Append(text);
  call.output.AppendChar('}');
  call.replace = 1;
  return kTagHandled;
}

int ExecuteSuperscriptTag(TagCall& call) { return ExecuteScriptTag(call, "{\\super\\kerning0 "); }

int ExecuteSubscriptTag(TagCall& call) { return ExecuteScriptTag(call, "{\\sub\\kerning0 "); }

// ---- Blanks and text ----

int ExecuteNonBreakingTag(TagCall& call) {
  int count = 0;
  if (!ReadTagNumber(call.arguments, 1, count))
    return ParseFailure(call);
  if (call.ctx.GetOutputType() == kOutputHtml)
    return kTagNotHandled;
  return ReplaceByBlanks(call, count);
}

int ExecuteSpacesTag(TagCall& call) {
  int given = 0;
  if (!ReadTagNumber(call.arguments, 1, given))
    return ParseFailure(call);
  int measured = 0;
  const int none = 0;
  (void)ReadTagNumber(call.arguments, 2, measured, &none);
  // The second field is a width in fifths of a blank.
  const int count = measured > 0 ? measured / 5 : given;
  if (given > 0 && (given - count > 2 || count - given > 2))
    ReportTagMessage(call.fc, call.line, "WARNING: SPACES tag has radically different sizes", 7);
  if (call.ctx.GetOutputType() == kOutputHtml)
    return kTagNotHandled;
  return ReplaceByBlanks(call, count);
}

int ExecuteTextTag(TagCall& call) {
  if (IsOutputPass(call) && call.mode != kTagModeKeepText)
    return Replace(call, "");
  call.output = call.arguments;
  if (!call.arguments.IsEmpty())
    call.output.ReplaceChar(0, call.arguments.CharAt(0), ' ', 0);
  call.replace = 1;
  return kTagHandled;
}

// ---- Rules, anchors and breaks ----

// The right tab that ends the rule: width points in twips, else the page default.
static long long RuleTabPosition(const TagCall& call, bool haveWidth, int width) {
  if (!haveWidth)
    return call.fc.GetInt(PolicyId::UseLandscapeMode) != 0 ? kRuleTabLandscape : kRuleTabUpright;
  return std::clamp(static_cast<long long>(width) * 20, 0LL, kMaxTabPosition);
}

int ExecuteLineRuleTag(TagCall& call) {
  TextString width;
  (void)ReadTagText(call.arguments, 1, width, "");
  int widthValue = -1;
  bool haveWidth =
      !width.IsEmpty() && !width.ContainsChar('%') && ReadTagNumber(call.arguments, 1, widthValue);
  if (haveWidth && call.fc.GetRuleSet() != 0 && widthValue >= kRuleSetWidthLimit)
    haveWidth = false;
  TextString colour;
  TextString canonical;
  if (ReadTagText(call.arguments, 5, colour) && !CanonicaliseColour(colour, canonical)) {
    TextString message("WARNING: \"");
    message.Append(colour);
    message.Append("\" is not a standard HTML colour");
    call.fc.ReportMessage(message.GetText(), 7);
  }
  if (call.mode == kTagModeLeaveInPlace) {
    call.replace = 0;
    return kTagHandled;
  }
  if (call.mode != kTagModeLine || !IsOutputPass(call))
    return kTagNotHandled;
  TextString& out = call.output;
  out.Assign("\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx");
  out.AppendNumber('1', static_cast<int>(RuleTabPosition(call, haveWidth, widthValue)), 0);
  if (call.fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters) != 0)
    out.Append("\\loch\\af5\\hich\\af5\\dbch\\f16");
  out.Append(" \\par{\\strike\\tab}\\par}");
  call.replace = 1;
  return kTagHandled;
}

// Where a tag of the line stands: the line's start, else the current position one column on.
static TextPosition TagPosition(const TagCall& call) {
  if (call.line != nullptr && call.line->GetStartPosition().IsSet())
    return call.line->GetStartPosition();
  TextPosition position = call.ctx.GetPassTracker(call.ctx.CodeLocation).currentPosition;
  position.SetColumn(position.GetColumn() + 1);
  return position;
}

int ExecuteLinkPointTag(TagCall& call) {
  TextString name;
  if (!ReadTagText(call.arguments, 1, name))
    return ParseFailure(call);
  if (call.ctx.AnalysisPass != 0)
    return kTagHandled;
  if (call.ctx.ContentsPass != 0) {
    call.ctx.AddAnchorEntry(call.fc, name, TagPosition(call));
    return kTagHandled;
  }
  if (!IsOutputPass(call) || !IsRtfOutput(call))
    return kTagNotHandled;
  // Named as a link to it names its target (a help topic identifier of the bookmark name), and
  // ended where it starts: readers make no bookmark of a start without an end.
  TextString bookmark;
  MakeBookmarkName(name, bookmark);
  MakeHelpTopicId(bookmark);
  call.output.Assign("{\\*\\bkmkstart ");
  call.output.Append(bookmark);
  call.output.Append("}{\\*\\bkmkend ");
  call.output.Append(bookmark);
  call.output.AppendChar('}');
  call.replace = 1;
  return kTagHandled;
}

// The mark a BR tag leaves in an open tagged heading.
static constexpr int kHeadingBreakMark = -12;

int ExecuteBreakTag(TagCall& call) {
  FileControl::TaggedHeading& heading = call.fc.GetTaggedHeading();
  if (heading.open != 0)
    heading.breakMark = kHeadingBreakMark;
  if (IsOutputPass(call) && IsRtfOutput(call))
    return Replace(call, "\\par ");
  return ReplaceAsSet(call);
}

// ---- Pages ----

static constexpr const char* kPageTagNote = "INFO: The Page tag is not currently implemented";

int ExecutePageTag(TagCall& call) {
  if (IsOutputPass(call))
    call.fc.ReportMessage(kPageTagNote, 1);
  return Replace(call, "");
}

int ExecutePageMarkerTag(TagCall& call) {
  call.fc.ReportMessage("PROGRAM ERROR: call to ExecutePageMarker", 10);
  return kTagNotHandled;
}

int ExecuteNewPageTag(TagCall& call) {
  if (!IsOutputPass(call))
    return Replace(call, " ");
  call.fc.ReportMessage(kPageTagNote, 1);
  return Replace(call, "");
}

// ---- Document data ----

int ExecuteTimestampTag(TagCall& call) {
  FormatCurrentDate(call.output);
  call.replace = 1;
  return kTagHandled;
}

int ExecuteTocTag(TagCall& call) {
  if (call.ctx.AnalysisPass != 0)
    return kTagHandled;
  TextString link;
  TextString display;
  if (!ReadTagText(call.arguments, 1, link) && !ReadTagText(call.arguments, 2, display))
    ReportTagMessage(call.fc, call.line, "TAG ERROR: Must supply link or display text in TOC tag",
                     10);
  if (call.ctx.ContentsPass != 0)
    return kTagHandled;
  if (!IsOutputPass(call))
    return kTagNotHandled;
  call.fc.ReportMessage("INFO: Ignoring TOC tag in RTF conversion", 1);
  return Replace(call, "");
}

int ExecuteRuleSetTag(TagCall& call) {
  switch (call.fc.GetRuleSet()) {
    case 1:
      return Replace(call, "Pembrelle Ruleset");
    case 2:
      return Replace(call, "ZUR Ruleset");
  }
  return Replace(call, "no Ruleset");
}

int ExecuteVersionTag(TagCall& call) {
  if (!IsOutputPass(call) || call.mode == kTagModeKeepText || call.mode == kTagModeTitle)
    return Replace(call, call.fc.GetVersionText());
  return Replace(call, "");
}

// ---- Table-only tags ----

int ExecuteValignTag(TagCall& call) {
  ReportTagMessage(call.fc, call.line, "TAG ERROR: VALIGN tag only valid inside tables", 10);
  return Replace(call, "");
}

int ExecuteVerticalAlignmentTag(TagCall& call) {
  ReportTagMessage(call.fc, call.line,
                   "TAG ERROR: VERTICAL_ALIGNMENT tag only valid inside tables", 10);
  return Replace(call, "");
}
