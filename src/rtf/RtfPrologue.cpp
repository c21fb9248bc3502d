#include "rtf/RtfPrologue.h"

#include <initializer_list>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "platform/LocalTime.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "policy/StyleSheet.h"
#include "text/CharacterUtils.h"
#include "text/FontSpec.h"

void AppendRtfEscaped(TextString& out, const TextString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '\\') {
      out.Append("\\\\");
      continue;
    }
    if (c == '{') {
      out.Append("\\'7b");
      continue;
    }
    if (c == '}') {
      out.Append("\\'7d");
      continue;
    }
    out.AppendChar(c);
  }
}

// A font name ends at its ";" in the font table, so a ";" of the name is escaped as well.
static void AppendFontName(TextString& out, const TextString& name) {
  TextString escaped;
  AppendRtfEscaped(escaped, name);
  escaped.ReplaceAll(";", "\\'3b", 0, 1);
  out.Append(escaped);
}

// ---- Font table ----

// The first word of "Character encoding": the character set the fonts are declared with.
static void CharsetName(FileControl& fc, TextString& name) {
  TextString encoding(fc.GetText(PolicyId::CharacterEncoding));
  encoding.Trim();
  if (!encoding.GetField(1, ' ', name))
    name.SetEmpty();
  name.Trim();
}

static bool IsOneOf(const TextString& name, std::initializer_list<const char*> names) {
  for (const char* candidate : names) {
    if (name.Compare(candidate, 0, 0))
      return true;
  }
  return false;
}

struct CharsetRow {
  const char* name;
  const char* text;
};
static constexpr CharsetRow kCharsets[] = {
    {"big5", "\\fcharset136 "},         {"gb2312", "\\fcharset134 "},
    {"iso-2022-kr", "\\fcharset129 "},  {"tis-620", "\\fcharset222 "},
    {"shift_jis", "\\fcharset128 "},    {"x-sjis", "\\fcharset128 "},
    {"ms_Kanji", "\\fcharset128 "},     {"iso-2022-jp", "\\fcharset128 "},
    {"x-euc-jp", "\\fcharset128 "},     {"windows-1253", "\\fcharset161 "},
    {"iso-8859-7", "\\fcharset161 "},   {"windows-1254", "\\fcharset162 "},
    {"iso-8859-9", "\\fcharset162 "},   {"iso-8859-8", "\\fcharset177 "},
    {"ar-sy", "\\fcharset178 "},        {"windows-1256", "\\fcharset178 "},
    {"iso-8859-6", "\\fcharset178 "},   {"windows-1251", "\\fcharset204 "},
    {"koi8-r", "\\fcharset204 "},       {"iso-8859-5", "\\fcharset204 "},
    {"iso-8859-4", "\\fcharset238 "},
};

static const char* CharsetText(const TextString& name) {
  for (const CharsetRow& row : kCharsets) {
    if (name.Compare(row.name, 0, 0))
      return row.text;
  }
  return "\\fcharset0 ";
}

static const char* FamilyText(const TextString& charset, bool japanese, const FontSpec& font) {
  const bool fixedPitch = font.GetPitch() == 0;
  const bool sansSerif = font.IsSansSerif() != 0;
  if (japanese || IsOneOf(charset, {"big5", "gb2312", "iso-2022-kr"}))
    return "\\fmodern\\fprq1";
  if (IsOneOf(charset, {"ar-sy", "windows-1256"})) {
    if (fixedPitch)
      return "\\fbidi \\fmodern\\fprq1";
    return sansSerif ? "\\fbidi \\fswiss\\fprq2" : "\\fbidi \\froman\\fprq2";
  }
  if (charset.Compare("tis-620", 0, 0))
    return "\\fswiss\\fprq2";
  if (fixedPitch)
    return "\\fmodern\\fprq1";
  return sansSerif ? "\\fswiss\\fprq2" : "\\froman\\fprq2";
}

// The face a character set needs, or null for the font's own.
static const char* CharsetFace(const TextString& charset, bool japanese) {
  if (japanese || charset.Compare("iso-2022-jp", 0, 0))
    return "MS Gothic";
  if (charset.Compare("gb2312", 0, 0))
    return "MS Hei{\\*\\falt SimSun}";
  if (charset.Compare("big5", 0, 0))
    return "MingLiU";
  if (charset.Compare("iso-2022-kr", 0, 0))
    return "GulimChe";
  if (charset.Compare("tis-620", 0, 0))
    return "Tahoma";
  return nullptr;
}

void WriteCharsetFont(FileControl& fc, RTFFile& writer, const FontSpec& font) {
  TextString charset;
  CharsetName(fc, charset);
  const bool japanese = fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters) != 0;
  TextString line("{\\f");
  line.AppendNumber('1', font.GetStyleCode(), 0);
  line.Append(FamilyText(charset, japanese, font));
  line.Append(CharsetText(charset));
  if (const char* charsetFace = CharsetFace(charset, japanese)) {
    line.Append(charsetFace);
  } else {
    TextString face;
    if (!font.GetFace().GetField(1, ',', face))
      face.SetEmpty();
    AppendFontName(line, face);
  }
  line.Append(";}");
  (void)writer.WriteRaw(fc, &writer, line.GetText());
}

// ---- The prologue, piece by piece ----

static void WriteHeader(FileControl& fc, RTFFile& writer, int language) {
  const bool japanese = fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters) != 0;
  (void)writer.WriteRaw(fc, &writer, japanese ? "{\\rtf1\\ansi" : "{\\rtf1\\ansi\\ansicpg1252\\uc1");
  TextString line("\\deff100\\deflang");
  line.AppendNumber('1', language, 0);
  line.Append("\\deflangfe1033");
  (void)writer.WriteRaw(fc, &writer, line.GetText());
}

static constexpr const char* kFixedFonts[] = {
    "{\\f1\\froman\\fcharset2\\fprq2 Symbol;}",
    "{\\f2\\fmodern Courier New;}",
    "{\\f4\\froman\\fcharset0\\fprq2 Times New Roman;}",
    "{\\f5\\fswiss\\fcharset0\\fprq2 Arial;}",
};

static void WriteFonts(FileControl& fc, RTFFile& writer, const StyleSheet& styles) {
  (void)writer.WriteRaw(fc, &writer, "{\\fonttbl");
  for (const char* font : kFixedFonts)
    (void)writer.WriteRaw(fc, &writer, font);
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters))
    (void)writer.WriteRaw(fc, &writer, "{\\f16\\fmodern\\fcharset128\\fprq1 MS Gothic;}");
  for (int i = 0; i < StyleSheet::kStyleCount; ++i)
    WriteCharsetFont(fc, writer, styles.GetFont(i));
  // The styles file's fonts carry their numbers from the moment they were defined.
  for (int i = 0; i < styles.GetUserFontCount(); ++i)
    WriteCharsetFont(fc, writer, styles.GetUserFont(i));
  WriteFontTable(fc, writer);
  (void)writer.WriteRaw(fc, &writer, "}");
}

static constexpr const char* kColourTable[] = {
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;",
    "\\red0\\green255\\blue255;\\red0\\green255\\blue0;",
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;",
    "\\red255\\green255\\blue0;\\red255\\green255\\blue255;",
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;",
    "\\red0\\green128\\blue0;\\red128\\green0\\blue128;",
    "\\red128\\green0\\blue0;\\red128\\green128\\blue0;",
    "\\red128\\green128\\blue128;\\red192\\green192\\blue192;}",
};

static bool IsRightToLeftCharset(FileControl& fc) {
  const TextString& encoding = fc.GetText(PolicyId::CharacterEncoding);
  return encoding.Compare("ar-sy", 0, 0) || encoding.Compare("windows-1256", 0, 0);
}

static void AppendNumbered(TextString& out, const char* word, int value) {
  out.Append(word);
  out.AppendNumber('1', value, 0);
}

// Left indents of the contents entries TOC 2 to TOC 6 (indexes 20-24).
static constexpr int kTocIndents[] = {200, 400, 600, 800, 1000};

static bool IsMonospaceStyle(int index) {
  return index == StyleSheet::kPreformatted || index == StyleSheet::kDiagram ||
         index == StyleSheet::kCode;
}

static void WriteStyleLine(FileControl& fc, RTFFile& writer, int index, const StyleRecord& style) {
  TextString line;
  AppendNumbered(line, "{\\s", style.styleNumber);
  if (index >= StyleSheet::kToc1 + 1 && index <= StyleSheet::kToc6)
    AppendNumbered(line, "\\li", kTocIndents[index - StyleSheet::kToc1 - 1]);
  if (style.spaceBefore != 0)
    AppendNumbered(line, "\\sb", style.spaceBefore);
  if (style.spaceAfter != 0)
    AppendNumbered(line, "\\sa", style.spaceAfter);
  const bool heading = index >= StyleSheet::kHeading1 && index <= StyleSheet::kHeading6;
  // Heading 1-6 are outline levels 0-5, so a reader lists them as the document's outline.
  if (heading)
    AppendNumbered(line, "\\outlinelevel", index - StyleSheet::kHeading1);
  const bool keep =
      fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) ? style.keepWithNext != 0 : heading;
  if (keep)
    line.Append("\\keepn");
  line.Append("\\widctlpar ");
  if (IsRightToLeftCharset(fc)) {
    AppendNumbered(line, "\\ltrch \\af", style.fontNumber);
    line.Append(" \\rltch ");
  }
  if (style.bold)
    line.Append("\\b");
  if (style.italic)
    line.Append("\\i");
  // A reader that takes the font of a monospace style from the style sheet lays its lines
  // out off their columns: those paragraphs carry their font in their own codes alone.
  if (!IsMonospaceStyle(index))
    AppendNumbered(line, "\\f", style.fontNumber);
  AppendNumbered(line, "\\fs", style.halfPointSize);
  line.Append("\\kerning28");
  if (!style.leftEdge)
    line.Append(style.rightEdge ? "\\qr" : "\\qc");
  else if (style.rightEdge)
    line.Append("\\qj");
  AppendNumbered(line, " \\sbasedon", style.basedOn < 1 ? 0 : style.basedOn);
  line.AppendChar(' ');
  AppendRtfEscaped(line, style.name);
  line.Append(";}");
  (void)writer.WriteRaw(fc, &writer, line.GetText());
}

static void WriteStyleSheet(FileControl& fc, RTFFile& writer, const StyleSheet& styles,
                            int language) {
  TextString opening("{\\stylesheet{\\widctlpar \\f4\\fs20\\lang");
  opening.AppendNumber('1', language, 0);
  opening.Append(" \\snext0 Normal;}");
  (void)writer.WriteRaw(fc, &writer, opening.GetText());
  for (int i = 0; i < StyleSheet::kStyleCount; ++i)
    WriteStyleLine(fc, writer, i, styles.GetRecord(i));
  (void)writer.WriteRaw(fc, &writer, "{\\*\\cs10 \\additive Default Paragraph Font;}");
  // Link text has the size of the body text round it: without a size of its own the style
  // would give readers their default size.
  TextString hyperlink("{\\*\\cs32 \\additive \\ul\\cf2");
  AppendNumbered(hyperlink, "\\fs", styles.GetRecord(StyleSheet::kBody).halfPointSize);
  hyperlink.Append(" \\sbasedon10 Hyperlink;}");
  (void)writer.WriteRaw(fc, &writer, hyperlink.GetText());
  (void)writer.WriteRaw(fc, &writer,
                        "{\\*\\cs33 \\additive \\f5\\fs20\\sbasedon10 footnote reference;}");
  (void)writer.WriteRaw(fc, &writer, "}");
}

// "{\<word> " + the escaped text + "}".
static void WriteInfoLine(FileControl& fc, RTFFile& writer, const char* word,
                          const TextString& text) {
  TextString line("{\\");
  line.Append(word);
  line.AppendChar(' ');
  AppendRtfEscaped(line, text);
  line.AppendChar('}');
  (void)writer.WriteRaw(fc, &writer, line.GetText());
}

struct InfoRow {
  PolicyId policy;
  const char* word;
};
static constexpr InfoRow kOptionalInfo[] = {
    {PolicyId::DocumentManager, "manager"},     {PolicyId::DocumentCompanyName, "company"},
    {PolicyId::DocumentCategory, "category"},   {PolicyId::DocumentKeywords, "keywords"},
    {PolicyId::DocumentComments, "comment"},
};

// text with its in-line tags executed as a document title's (the default title names the
// file, the date and the program by tags); what the tags report is reported.
static void ExecuteInfoTags(FileControl& fc, RTFFile& writer, Context& ctx, TextString& text) {
  PreHTML line;
  line.SetText(text.GetText());
  TextString message;
  int level = -1;
  writer.ScanInlineTags(kInlineTagsOfDocumentTitle, 0, line, fc, ctx, message, level);
  if (level >= 0 && !message.IsEmpty())
    fc.ReportMessage(message.GetText(), level);
  text.Assign(line);
}

static void WriteInfo(FileControl& fc, RTFFile& writer, Context& ctx) {
  (void)writer.WriteRaw(fc, &writer, "{\\info");
  TextString title(fc.GetText(PolicyId::DocumentTitle));
  for (const TextString& candidate : ctx.TitleTexts) {
    if (candidate.IsEmpty())
      continue;
    title = candidate;
    break;
  }
  ExecuteInfoTags(fc, writer, ctx, title);
  WriteInfoLine(fc, writer, "title", title);
  if (fc.IsSet(PolicyId::DocumentAuthor))
    WriteInfoLine(fc, writer, "author", fc.GetText(PolicyId::DocumentAuthor));
  else
    (void)writer.WriteRaw(fc, &writer, "{\\author Norvane limited's text-to-RTF converter}");
  (void)writer.WriteRaw(fc, &writer, "{\\operator Kelvane auto-convert}");
  TextString subject;
  if (fc.IsSet(PolicyId::DocumentDescription))
    subject = fc.GetText(PolicyId::DocumentDescription);
  if (fc.IsSet(PolicyId::DocumentSubject))
    subject = fc.GetText(PolicyId::DocumentSubject);
  ExecuteInfoTags(fc, writer, ctx, subject);
  if (!subject.IsEmpty())
    WriteInfoLine(fc, writer, "subject", subject);
  for (const InfoRow& row : kOptionalInfo) {
    if (fc.IsSet(row.policy))
      WriteInfoLine(fc, writer, row.word, fc.GetText(row.policy));
  }
  const LocalDateTime now = CurrentLocalTime();
  TextString created("{\\creatim");
  AppendNumbered(created, "\\yr", now.year);
  AppendNumbered(created, "\\mo", now.month);
  AppendNumbered(created, "\\dy", now.day);
  AppendNumbered(created, "\\hr", now.hour);
  AppendNumbered(created, "\\min", now.minute);
  created.AppendChar('}');
  (void)writer.WriteRaw(fc, &writer, created.GetText());
  (void)writer.WriteRaw(fc, &writer, "{\\version1}{\\edmins0}{\\nofpages1}");
  (void)writer.WriteRaw(fc, &writer, "}");
}

static void WritePageSetup(FileControl& fc, RTFFile& writer) {
  int width = 0, height = 0, top = 0, bottom = 0, left = 0, right = 0;
  GetPaperSize(fc, width, height);
  GetPageMargins(fc, top, bottom, left, right);
  TextString paper;
  AppendNumbered(paper, "\\paperw", width);
  AppendNumbered(paper, "\\paperh", height);
  AppendNumbered(paper, "\\margl", left);
  AppendNumbered(paper, "\\margr", right);
  AppendNumbered(paper, "\\margt", top);
  AppendNumbered(paper, "\\margb", bottom);
  paper.Append("\\gutter0");
  (void)writer.WriteRaw(fc, &writer, paper.GetText());
  TextString document("\\widowctrl\\ftnbj\\aenddoc");
  if (fc.GetInt(PolicyId::MirrorMargins))
    document.Append("\\margmirror");
  document.Append("\\formshade");
  (void)writer.WriteRaw(fc, &writer, document.GetText());
  (void)writer.WriteRaw(fc, &writer, "\\fet0\\sectd");
  TextString section(fc.GetInt(PolicyId::UseLandscapeMode) ? "\\lndscpsxn\\psz9" : "");
  section.Append("\\linex0\\headery709\\footery709\\colsx709\\endnhere");
  (void)writer.WriteRaw(fc, &writer, section.GetText());
}

static constexpr const char* kListLevels[] = {
    "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
    "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
    "{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
    "{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta )}}",
    "{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
    "{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
    "{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
    "{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
    "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}",
};

void RTFFile::WritePrologue(FileControl& fc) {
  TextString languageName;
  (void)fc.List(PolicyId::LanguageForProofing).GetValueText(languageName);
  int language = 1033;
  (void)GetLanguageCode(languageName, language);
  const StyleSheet& styles = ctx_.Styles;

  WriteHeader(fc, *this, language);
  WriteFonts(fc, *this, styles);
  for (const char* colours : kColourTable)
    (void)WriteRaw(fc, this, colours);
  WriteStyleSheet(fc, *this, styles, language);
  WriteInfo(fc, *this, ctx_);
  WritePageSetup(fc, *this);
  for (const char* level : kListLevels)
    (void)WriteRaw(fc, this, level);
  // The document's outer group and this paragraph's two groups stay open until EndDocument.
  TextString opening;
  BuildParagraphOpening(fc, *this, kParagraphBody, 0, opening);
  opening.AppendChar('{');
  (void)WriteRaw(fc, this, opening.GetText());
}
