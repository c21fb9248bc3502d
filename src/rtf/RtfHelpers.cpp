#include "rtf/RtfHelpers.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "policy/StyleSheet.h"
#include "text/CharacterUtils.h"
#include "text/StatementTypes.h"

namespace {

// ---- Page ----

struct PaperSize {
  int width;
  int height;
};

// Twips of the "Paper size" choices 1-14, in the order of the policy's list.
constexpr PaperSize kPaperSizes[] = {
    {16838, 23811},  // A3
    {18259, 25229},  // A3 Extra
    {11906, 16838},  // A4
    {13349, 18274},  // A4 Extra
    {8395, 11909},   // A5
    {9864, 13320},   // A5 Extra
    {10438, 15122},  // Executive
    {12240, 18720},  // Folio
    {12240, 20160},  // Legal
    {13680, 21600},  // Legal Extra
    {12240, 15840},  // Letter
    {13680, 17280},  // Letter Extra
    {15840, 24480},  // Tabloid
    {17280, 25920},  // Tabloid Extra
};
constexpr PaperSize kDefaultPaper = {11906, 16838};  // A4

int MarginOrDefault(const FileControl& fc, PolicyId id, int fallback) {
  int twips = fallback;
  if (fc.IsSet(id) && CentimetresToTwips(fc.GetText(id), twips)) return twips;
  return fallback;
}

// ---- Numbers ----

int ClampToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void AppendInt(TextString& out, long long value) { out.AppendNumber('1', ClampToInt(value), 0); }

// ---- Paragraphs ----

bool IsHelpOutput(const FileControl& fc) {
  return fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0;
}

// A style record of the Context's sheet; a blank record without a Context.
const StyleRecord& RecordOf(FileControl& fc, int styleIndex, const StyleRecord& blank) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr ? ctx->Styles.GetRecord(styleIndex) : blank;
}

// The style index and the control words after the format of a paragraph kind; unknown
// kinds are reported and become Body.
int OpeningStyle(FileControl& fc, int kind, const char*& extra) {
  extra = "";
  switch (kind) {
    case kParagraphBody:
    case kParagraphHeadingText: return StyleSheet::kBody;
    case kParagraphBullet: return StyleSheet::kBullet;
    case kParagraphQuotes: extra = "\\i"; return StyleSheet::kQuotes;
    case kParagraphDefinition: return StyleSheet::kDefinition;
    case kParagraphHangingList: return StyleSheet::kHangingList;
    case kParagraphPreformatted: return StyleSheet::kPreformatted;
    case kParagraphTable: return StyleSheet::kTable;
    case kParagraphShortLine: return StyleSheet::kShortLine;
    case kParagraphCentred: extra = "\\qc"; return StyleSheet::kBody;
    default: break;
  }
  TextString message(kind == kParagraphCustom ? "CUSTOM STYLE: " : "UNSUPPORTED CASE: style : ");
  message.AppendNumber('1', kind, 0);
  fc.ReportMessage(message.GetText(), 10);
  return StyleSheet::kBody;
}

}  // namespace

// ---- Page ----

void GetPaperSize(FileControl& fc, int& width, int& height) {
  const int choice = fc.GetInt(PolicyId::PaperSize);
  const bool listed = choice >= 1 && choice <= static_cast<int>(std::size(kPaperSizes));
  const PaperSize& paper = listed ? kPaperSizes[choice - 1] : kDefaultPaper;
  width = paper.width;
  height = paper.height;
  if (fc.GetInt(PolicyId::UseLandscapeMode)) std::swap(width, height);
}

void GetPageMargins(FileControl& fc, int& top, int& bottom, int& left, int& right) {
  top = MarginOrDefault(fc, PolicyId::TopMarginInCm, 1440);
  bottom = MarginOrDefault(fc, PolicyId::BottomMarginInCm, 1440);
  left = MarginOrDefault(fc, PolicyId::LeftMarginInCm, 1800);
  right = MarginOrDefault(fc, PolicyId::RightMarginInCm, 1800);
}

// ---- Contents field ----

int WriteTocField(FileControl& fc, RTFFile& writer, int level, int b) {
  if (IsHelpOutput(fc) || b != 1) return 0;
  int shown = level;
  if (shown <= 0 && fc.IsSet(PolicyId::MaximumLevelToShowInContents))
    shown = fc.GetInt(PolicyId::MaximumLevelToShowInContents);
  // The switches are text of the field instruction: their backslash is an escaped one, or a
  // reader takes it for a control word and drops the switch.
  TextString field("{\\field{\\*\\fldinst {\\kerning0 TOC ");
  if (shown > 0) {
    field.Append("\\\\o \"1-");
    field.AppendNumber('1', shown, 0);
    field.Append("\" ");
  }
  field.Append("\\\\* MERGEFORMAT }}");
  field.Append("{\\fldrslt {\\b (Update this field (F9) to get Contents list) }}");
  field.Append("}\\par ");
  return writer.WriteLine(fc, &writer, field.GetText(), 1) ? 1 : 0;
}

// ---- Fonts of FONT tags ----

void WriteFontTable(FileControl& fc, RTFFile& writer) {
  const Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return;
  TextString line;
  TextString field;
  for (int i = 0; i < ctx->FontKeys.GetCount(); ++i) {
    const TextString& key = ctx->FontKeys.GetItem(i)->text;
    int sansSerif = 0;
    if (!key.GetField(3, '-', field) || !field.ParseNumber('1', &sansSerif)) sansSerif = 0;
    const bool sans = sansSerif != 0;
    line.Assign("{\\f");
    line.AppendNumber('1', FontKeyNumber(i), 0);
    line.Append(sans ? " \\fswiss" : " \\froman");
    line.Append("\\fcharset0\\fprq2");
    line.Append(sans ? " Arial;{\\*\\falt Geneva;}" : " Times;{\\*\\falt Times;}");
    line.AppendChar('}');
    writer.WriteLine(fc, &writer, line.GetText(), 1);
  }
}

// ---- Tidying ----

int TidyRtfText(FileControl& /*fc*/, TextString& text) {
  // Which of the line-end patterns the text holds, learnt in one walk over its line feeds
  // instead of one search of the whole text per pattern.
  enum LineEnd { kBoldEnd, kItalicEnd, kDoubleBlank, kParBlank, kFieldEnd, kLineEnds };
  static constexpr std::string_view kBefore[kLineEnds] = {"\\b0}", "\\i0}", "  ", "\\par ",
                                                          "}}}"};
  bool ends[kLineEnds] = {};
  const std::string_view all(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  for (std::size_t at = all.find('\n'); at != std::string_view::npos;
       at = all.find('\n', at + 1)) {
    const std::string_view head = all.substr(0, at);
    for (int k = 0; k < kLineEnds; ++k)
      ends[k] = ends[k] || head.ends_with(kBefore[k]);
  }
  int at = -1;
  const bool cells = text.Find(0, "\\cell", &at, 1, 0);
  if (ends[kBoldEnd]) text.ReplaceAll("\\b0}\n", "\\b0} \n", 0, 1);
  if (ends[kItalicEnd]) text.ReplaceAll("\\i0}\n", "\\i0} \n", 0, 1);
  if (cells) {
    text.ReplaceAll("\\line\\cell", "\\cell", 0, 1);
    text.ReplaceAll("\\par\\cell", "\\cell", 0, 1);
  }
  // No replacement makes a line end that a later one looks for, except that a double blank
  // made single can leave "\par " before the line feed.
  if (ends[kDoubleBlank]) text.ReplaceAll("  \n", " \n", 0, 1);
  if (ends[kParBlank] || ends[kDoubleBlank]) text.ReplaceAll("\\par \n", "\\par\n", 0, 1);
  // A closing field keeps its blank before a line end only: a blank after every "}}}" would
  // stand inside link fields and between a link and the punctuation after it.
  if (ends[kFieldEnd]) text.ReplaceAll("}}}\n", "}}} \n", 0, 1);
  return 1;
}

// ---- Paragraphs ----

void GetStyleFont(FileControl& fc, const StyleRecord& style, bool current, int& font,
                  int& size, int& bold, int& italic) {
  font = style.fontNumber;
  size = style.pointSize;
  bold = style.bold;
  italic = style.italic;
  const Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return;
  const FontChange& change = current ? ctx->CurrentFontChange : ctx->SavedFontChange;
  const auto mode = [&change](int flag) { return change.changeFlags[static_cast<size_t>(flag)]; };

  // A change font that never got a font number keeps the style's: "\f-1" names no font.
  if (mode(FontChange::kFaceMode) == 1 && change.font.GetStyleCode() >= 0)
    font = change.font.GetStyleCode();
  switch (mode(FontChange::kSizeMode)) {
    case 1: size = change.font.GetPointSize(); break;
    case 2: size = change.sizeValue; break;
    case 3: {
      const long long sum = static_cast<long long>(size) + change.sizeValue;
      if (sum > 4) size = ClampToInt(sum);
      break;
    }
    default: break;
  }
  size = std::clamp(size, kMinPointSize, kMaxPointSize);
  switch (mode(FontChange::kStyleMode)) {
    case 1:
      bold = change.font.IsBold();
      italic = change.font.IsItalic();
      break;
    case 2:
      italic = change.firstExtraFlag;
      bold = change.secondExtraFlag;
      break;
    default: break;
  }
}

void BuildParagraphFormat(FileControl& fc, RTFFile& /*writer*/, int styleIndex,
                          const StyleRecord& style, TextString& out, unsigned mask) {
  out.SetEmpty();
  if (mask & kPartReset) {
    out.Append("\\pard");
    if (style.plain) out.Append("\\plain");
    if (style.inTable) out.Append("\\intbl");
    out.AppendChar(' ');
  }
  if (mask & kPartStyle) {
    out.Append("\\s");
    out.AppendNumber('1', style.styleNumber, 0);
    // Readers that do not take the outline level from the style sheet need it here too.
    if (styleIndex >= StyleSheet::kHeading1 && styleIndex <= StyleSheet::kHeading6) {
      out.Append("\\outlinelevel");
      out.AppendNumber('1', styleIndex - StyleSheet::kHeading1, 0);
    }
  }
  if (mask & kPartSpacing) {
    if (style.spaceBefore != 0) {
      out.Append("\\sb");
      out.AppendNumber('1', style.spaceBefore, 0);
    }
    if (style.spaceAfter != 0) {
      out.Append("\\sa");
      out.AppendNumber('1', style.spaceAfter, 0);
    }
  }
  if (mask & kPartKeep) {
    // A help file keeps only headings with what follows them.
    const bool heading = styleIndex >= StyleSheet::kHeading1 && styleIndex <= StyleSheet::kHeading6;
    if (style.keepWithNext && (!IsHelpOutput(fc) || heading)) out.Append("\\keepn\\widctlpar");
  }
  if (mask & (kPartKeep | kPartSpacing)) out.AppendChar(' ');
  if (mask & kPartFont) {
    int font = 0;
    int size = 0;
    int bold = 0;
    int italic = 0;
    GetStyleFont(fc, style, true, font, size, bold, italic);
    if (fc.GetText(PolicyId::CharacterEncoding).Compare("windows-1256", 0, 0)) {
      out.Append("\\ltrch \\af");
      out.AppendNumber('1', font, 0);
      out.Append(" \\rltch ");
    }
    out.Append("\\f");
    out.AppendNumber('1', font, 0);
    out.Append("\\fs");
    out.AppendNumber('1', size * 2, 0);
    out.Append(bold ? "\\b" : "\\b0");
    out.Append(italic ? "\\i" : "\\i0");
  }
  if (mask & kPartAlign) {
    // Left only is the RTF default and needs no word.
    if (style.rightEdge)
      out.Append(style.leftEdge ? "\\qj" : "\\qr");
    else if (!style.leftEdge)
      out.Append("\\qc");
  }
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters))
    out.Append("\\loch\\af100\\hich\\af100\\dbch\\f16 ");
}

void BuildParagraphOpening(FileControl& fc, RTFFile& writer, int kind, int level,
                           TextString& out, unsigned mask) {
  const char* extra = "";
  const int styleIndex = OpeningStyle(fc, kind, extra);
  const StyleRecord blank;
  TextString format;
  BuildParagraphFormat(fc, writer, styleIndex, RecordOf(fc, styleIndex, blank), format, mask);
  out.Assign("{");
  out.Append(format);
  out.Append(extra);
  if (!(mask & kPartIndent)) return;

  const int step = writer.GetIndentStep();
  const long long indent = static_cast<long long>(level) * step;
  long long firstLine = indent;
  const long long blocks = fc.GetInt(PolicyId::FirstLineIndentationInBlocks);
  if (fc.GetInt(PolicyId::PreserveNewParagraphOffset) || blocks != 0) {
    if (kind == kParagraphBody) {
      firstLine = indent + step * blocks;
      if (firstLine == 0 && fc.GetInt(PolicyId::NewParagraphOffset) > 0) firstLine = step;
    } else if (kind == kParagraphBullet || kind == kParagraphShortLine) {
      firstLine = indent + step * blocks;
    }
  }
  if (indent != 0) {
    out.Append("\\li");
    AppendInt(out, indent);
  }
  if (firstLine != indent) {
    out.Append("\\fi");
    AppendInt(out, firstLine);
  }
}

void BuildBulletPrefix(FileControl& fc, RTFFile& writer, int level, bool hanging,
                       TextString& out) {
  const StyleRecord blank;
  TextString format;
  BuildParagraphFormat(fc, writer, StyleSheet::kBullet, RecordOf(fc, StyleSheet::kBullet, blank),
                       format);
  const long long indent = (static_cast<long long>(level) + 1) * writer.GetIndentStep();
  out.Assign("{");
  out.Append(format);
  out.Append("\\li");
  AppendInt(out, indent);
  out.Append("\\fi");
  AppendInt(out, hanging ? -writer.GetIndentStep() : 0);
  out.Append("\\widctlpar\\jclisttab\\tx");
  AppendInt(out, indent);
  out.AppendChar('{');
}
