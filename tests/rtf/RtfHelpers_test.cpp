#include "rtf/RtfHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfTestSetup.h"
#include "policy/StyleSheet.h"
#include "text/StatementTypes.h"

namespace {

// A policy set with its Context and a writer whose lines are kept in memory.
struct WriterSetup : RtfSetup {
  WriterSetup() : writer(ctx) {
    writer.SetSink(&written);
    (void)writer.OpenForWrite("sink", 0, 0);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < written.GetCount(); ++i) lines.push_back(Str(written.GetItem(i)->text));
    return lines;
  }
  std::string Format(int styleIndex, unsigned mask = kAllParts) {
    TextString out;
    BuildParagraphFormat(fc, writer, styleIndex, ctx.Styles.GetRecord(styleIndex), out, mask);
    return Str(out);
  }
  std::string Opening(int kind, int level, unsigned mask = kAllParts) {
    TextString out;
    BuildParagraphOpening(fc, writer, kind, level, out, mask);
    return Str(out);
  }

  RTFFile writer;
  StringList written;
};

}  // namespace

// ---- Page ----

TEST(GetPaperSize, GivesEachListedSizeAndA4ForAnyOther) {
  struct Case {
    int choice;
    int width;
    int height;
  };
  const Case cases[] = {
      {1, 16838, 23811}, {2, 18259, 25229}, {3, 11906, 16838},  {4, 13349, 18274},
      {5, 8395, 11909},  {6, 9864, 13320},  {7, 10438, 15122},  {8, 12240, 18720},
      {9, 12240, 20160}, {10, 13680, 21600}, {11, 12240, 15840}, {12, 13680, 17280},
      {13, 15840, 24480}, {14, 17280, 25920}, {0, 11906, 16838}, {15, 11906, 16838},
      {-1, 11906, 16838},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    RtfSetup s;
    s.fc.List(PolicyId::PaperSize).value = c.choice;
    int width = 0;
    int height = 0;
    GetPaperSize(s.fc, width, height);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
  }
}

TEST(GetPaperSize, LandscapeSwapsWidthAndHeight) {
  RtfSetup s;
  s.Set("Paper size: Tabloid Extra");
  s.Set("Use Landscape mode: yes");
  int width = 0;
  int height = 0;
  GetPaperSize(s.fc, width, height);
  EXPECT_EQ(width, 25920);
  EXPECT_EQ(height, 17280);
}

TEST(GetPageMargins, TakesTheSetMarginsThatAreNumbers) {
  RtfSetup s;
  int top = 0, bottom = 0, left = 0, right = 0;
  GetPageMargins(s.fc, top, bottom, left, right);
  EXPECT_EQ(std::vector<int>({top, bottom, left, right}), std::vector<int>({1440, 1440, 1800, 1800}));

  s.Set("Top margin (in cm): abc");
  s.Set("Bottom margin (in cm): 2");
  s.Set("Left margin (in cm): 1.27");
  GetPageMargins(s.fc, top, bottom, left, right);
  EXPECT_EQ(std::vector<int>({top, bottom, left, right}), std::vector<int>({1440, 1134, 720, 1800}));
}

// ---- Contents field ----

TEST(WriteTocField, WritesTheFieldWithTheLevelsToShow) {
  const std::string start = "{\\field{\\*\\fldinst {\\kerning0 TOC ";
  const std::string end =
      "\\\\* MERGEFORMAT }}{\\fldrslt {\\b (Update this field (F9) to get Contents list) }}}\\par ";
  struct Case {
    const char* policy;  // "Maximum level to show in contents", empty: not set
    int level;
    std::string field;
  };
  const Case cases[] = {
      {"", 3, start + "\\\\o \"1-3\" " + end},
      {"", 0, start + end},
      {"4", 4, start + "\\\\o \"1-4\" " + end},  // the driver passes the policy's value
      {"2", 0, start + "\\\\o \"1-2\" " + end},  // the contents tag's default
      {"5", 2, start + "\\\\o \"1-2\" " + end},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    WriterSetup s;
    if (*c.policy) s.Set(std::string("Maximum level to show in contents: ") + c.policy);
    EXPECT_EQ(WriteTocField(s.fc, s.writer, c.level, 1), 1);
    EXPECT_EQ(s.Lines(), std::vector<std::string>{c.field});
  }
}

TEST(WriteTocField, WritesNothingForHelpOutputOrAnotherSecondValue) {
  WriterSetup help;
  help.Set("Make Windows Help source file: yes");
  EXPECT_EQ(WriteTocField(help.fc, help.writer, 3, 1), 0);
  EXPECT_TRUE(help.Lines().empty());

  WriterSetup other;
  EXPECT_EQ(WriteTocField(other.fc, other.writer, 0, 0), 0);
  EXPECT_EQ(WriteTocField(other.fc, other.writer, 0, 2), 0);
  EXPECT_TRUE(other.Lines().empty());
}

// ---- Fonts of FONT tags ----

TEST(WriteFontTable, WritesOneEntryPerFontKeyClearOfTheStyleFonts) {
  WriterSetup s;
  for (const char* key : {"Helvetica-x-1-2", "Garamond-y-0-0", "Odd-z-sans-1", "Short"})
    s.ctx.FontKeys.Append(key);
  WriteFontTable(s.fc, s.writer);
  EXPECT_EQ(s.Lines(), (std::vector<std::string>{
                           "{\\f1000 \\fswiss\\fcharset0\\fprq2 Arial;{\\*\\falt Geneva;}}",
                           "{\\f1001 \\froman\\fcharset0\\fprq2 Times;{\\*\\falt Times;}}",
                           "{\\f1002 \\froman\\fcharset0\\fprq2 Times;{\\*\\falt Times;}}",
                           "{\\f1003 \\froman\\fcharset0\\fprq2 Times;{\\*\\falt Times;}}",
                       }));

  EXPECT_EQ(FindFontKeyNumber(s.ctx, "Garamond-y-0-0"), 1001);
  EXPECT_EQ(FindFontKeyNumber(s.ctx, "Missing-a-0-0"), -1);
  // The style fonts end at 176 and the styles file's fonts at 200 + 799.
  EXPECT_GT(FontKeyNumber(0), kFirstUserFontNumber + kMaxUserFonts - 1);
}

// ---- Tidying ----

TEST(TidyRtfText, MakesEachReplacementInOrder) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"{\\b bold\\b0}\nnext", "{\\b bold\\b0} \nnext"},
      {"{\\i it\\i0}\n", "{\\i it\\i0} \n"},
      {"a\\line\\cell b", "a\\cell b"},
      {"a\\par\\cell b", "a\\cell b"},
      {"end  \n", "end \n"},
      {"end    \n", "end   \n"},  // one pass takes one blank
      {"\\par \nx", "\\par\nx"},
      // A field's end is kept from the next line, not from what follows on its own line.
      {"{\\field{a}}}x", "{\\field{a}}}x"},
      {"{\\field{a}}}.", "{\\field{a}}}."},
      {"{\\field{\\*\\fldinst {x}{y}}}{\\fldrslt {z}}}", "{\\field{\\*\\fldinst {x}{y}}}{\\fldrslt {z}}}"},
      {"{\\field{a}}}\n", "{\\field{a}}} \n"},
      {"\\B0}\n\\PAR \n", "\\B0}\n\\PAR \n"},  // case-sensitive
      // A double blank made single leaves a paragraph end before the line feed.
      {"\\par  \n", "\\par\n"},
      {"\nfirst\nx\\i0}\ny  \n{\\field{a}}}\n",
       "\nfirst\nx\\i0} \ny \n{\\field{a}}} \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    RtfSetup s;
    TextString text(c.in);
    EXPECT_EQ(TidyRtfText(s.fc, text), 1);
    EXPECT_EQ(Str(text), c.out);
  }
}

// ---- Paragraphs ----

TEST(GetParagraphStyleCode, MapsEachKindToItsStyle) {
  RtfSetup s;
  const int expected[] = {-1, 1, 11, 3, 4, 6, 5, 8, 7, 2, 1, 1, 1};
  for (int kind = 0; kind < static_cast<int>(std::size(expected)); ++kind)
    EXPECT_EQ(GetParagraphStyleCode(s.fc, kind), expected[kind]) << kind;
  EXPECT_EQ(GetParagraphStyleCode(s.fc, -5), 1);
}

TEST(GetParagraphStyleCode, AHeadingLineGivesTheStyleOfItsLevel) {
  struct Case {
    int type;
    int style;
  };
  const Case cases[] = {
      {kTypeHeading1, 12},           {kTypeHeading6, 17},
      {kTypeUnderlinedHeading3, 14}, {kTypeKeyPhraseHeading2, 13},
      {kTypeCapitalisedHeading, 3},  {kTypeContentsHeading1, 3},
      {kTypeBullet, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    RtfSetup s;
    PreHTML line;
    line.SetLineType(c.type);
    s.ctx.CodeLocation = kLocationOutput;
    s.ctx.GetPassTracker(kLocationOutput).currentLine = &line;
    EXPECT_EQ(GetParagraphStyleCode(s.fc, kParagraphBullet), c.style);
    // Outside a pass no line is current, and nothing is reported.
    s.ctx.CodeLocation = kLocationNone;
    EXPECT_EQ(GetParagraphStyleCode(s.fc, kParagraphBullet), 3);
    EXPECT_TRUE(s.messages.empty());
  }
}

TEST(GetStyleFont, AppliesTheFontChangeByMode) {
  StyleRecord style;
  style.fontNumber = 101;
  style.pointSize = 10;
  style.bold = 0;
  style.italic = 1;
  struct Case {
    int face, sizeMode, styleMode;
    int sizeValue;
    int font, size, bold, italic;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 101, 10, 0, 1},
      {1, 0, 0, 0, 205, 10, 0, 1},
      {0, 1, 0, 0, 101, 18, 0, 1},
      {0, 2, 0, 14, 101, 14, 0, 1},
      {0, 3, 0, 4, 101, 14, 0, 1},
      {0, 3, 0, -6, 101, 10, 0, 1},  // a sum of 4 keeps the style's size
      {0, 3, 0, -5, 101, 5, 0, 1},
      {0, 3, 0, 2147483647, 101, kMaxPointSize, 0, 1},
      {0, 0, 1, 0, 101, 10, 1, 0},
      {0, 0, 2, 0, 101, 10, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.face << c.sizeMode << c.styleMode << " " << c.sizeValue);
    RtfSetup s;
    FontChange& change = s.ctx.CurrentFontChange;
    change.changeFlags = {1, c.face, c.sizeMode, c.styleMode};
    change.font.SetStyleCode(205);
    change.font.SetPointSize(18);
    change.font.SetBold(1);
    change.sizeValue = c.sizeValue;
    change.firstExtraFlag = 1;   // italic
    change.secondExtraFlag = 1;  // bold
    int font = 0, size = 0, bold = 0, italic = 0;
    GetStyleFont(s.fc, style, true, font, size, bold, italic);
    EXPECT_EQ(font, c.font);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(bold, c.bold);
    EXPECT_EQ(italic, c.italic);
    // The saved change is untouched, so the style's own values come back.
    GetStyleFont(s.fc, style, false, font, size, bold, italic);
    EXPECT_EQ(font, 101);
    EXPECT_EQ(size, 10);
  }
}

TEST(GetStyleFont, AChangeFontWithoutANumberKeepsTheStylesFont) {
  RtfSetup s;
  StyleRecord style;
  style.fontNumber = 101;
  s.ctx.SavedFontChange.changeFlags = {1, 1, 0, 0};
  int font = 0, size = 0, bold = 0, italic = 0;
  GetStyleFont(s.fc, style, false, font, size, bold, italic);
  EXPECT_EQ(font, 101);
}

TEST(BuildParagraphFormat, WritesTheStyleAsControlWords) {
  WriterSetup s;  // RTF output justifies text unless told otherwise
  s.ctx.Styles.PrepareForOutput(s.fc);
  EXPECT_EQ(s.Format(StyleSheet::kBody), "\\pard\\plain \\s1\\sb60\\sa60 \\f101\\fs20\\b0\\i0\\qj");
  EXPECT_EQ(s.Format(StyleSheet::kTable), "\\pard\\intbl \\s2\\keepn\\widctlpar \\f102\\fs20\\b0\\i0");
  EXPECT_EQ(s.Format(StyleSheet::kHeading1),
            "\\pard\\plain \\s61\\outlinelevel0\\sb240\\sa120\\keepn\\widctlpar \\f161\\fs28\\b\\i0");
  EXPECT_EQ(s.Format(StyleSheet::kQuotes), "\\pard\\plain \\s13 \\f113\\fs20\\b0\\i");
  EXPECT_EQ(s.Format(StyleSheet::kHeading6, kPartStyle), "\\s66\\outlinelevel5");
  EXPECT_EQ(s.Format(StyleSheet::kBody, kPartStyle), "\\s1");
  EXPECT_EQ(s.Format(StyleSheet::kBody, kPartStyle | kPartFont), "\\s1\\f101\\fs20\\b0\\i0");
  EXPECT_EQ(s.Format(StyleSheet::kBody, kPartKeep), " ");
}

TEST(BuildParagraphFormat, HelpOutputKeepsOnlyHeadingsWithTheNextParagraph) {
  WriterSetup s;
  s.Set("Make Windows Help source file: yes");
  s.ctx.Styles.PrepareForOutput(s.fc);
  EXPECT_EQ(s.Format(StyleSheet::kHeading1),
            "\\pard\\plain \\s61\\outlinelevel0\\sb240\\sa120\\keepn\\widctlpar \\f161\\fs28\\b\\i0");
  EXPECT_EQ(s.Format(StyleSheet::kCode), "\\pard\\plain \\s5 \\f105\\fs16\\b0\\i0");
}

TEST(BuildParagraphFormat, AlignsByTheEdgeFlags) {
  struct Case {
    const char* justification;
    const char* end;
  };
  const Case cases[] = {{"left", "\\i0"}, {"right", "\\i0\\qr"}, {"justified", "\\i0\\qj"},
                        {"center", "\\i0\\qc"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.justification);
    WriterSetup s;
    s.Set(std::string("Text justification: ") + c.justification);
    s.ctx.Styles.PrepareForOutput(s.fc);
    EXPECT_EQ(s.Format(StyleSheet::kBody), std::string("\\pard\\plain \\s1\\sb60\\sa60 \\f101\\fs20\\b0") + c.end);
  }
}

TEST(BuildParagraphFormat, AddsTheRightToLeftAndJapaneseWords) {
  WriterSetup arabic;
  arabic.Set("Character encoding: windows-1256");
  arabic.ctx.Styles.PrepareForOutput(arabic.fc);
  EXPECT_EQ(arabic.Format(StyleSheet::kBody),
            "\\pard\\plain \\s1\\sb60\\sa60 \\ltrch \\af101 \\rltch \\f101\\fs20\\b0\\i0\\qr");

  WriterSetup japanese;
  japanese.Set("Input file contains Japanese characters: yes");
  japanese.ctx.Styles.PrepareForOutput(japanese.fc);
  EXPECT_EQ(japanese.Format(StyleSheet::kBody),
            "\\pard\\plain \\s1\\sb60\\sa60 \\f101\\fs20\\b0\\i0\\loch\\af100\\hich\\af100\\dbch\\f16 ");
}

TEST(BuildParagraphOpening, OpensEachKindWithItsStyle) {
  WriterSetup s;
  s.Set("Text justification: justified");
  s.ctx.Styles.PrepareForOutput(s.fc);
  const std::string body = "{\\pard\\plain \\s1\\sb60\\sa60 \\f101\\fs20\\b0\\i0\\qj";
  EXPECT_EQ(s.Opening(kParagraphBody, 0), body);
  EXPECT_EQ(s.Opening(kParagraphHeadingText, 0), body);
  EXPECT_EQ(s.Opening(kParagraphCentred, 0), body + "\\qc");
  EXPECT_EQ(s.Opening(kParagraphQuotes, 0), "{\\pard\\plain \\s13 \\f113\\fs20\\b0\\i\\i");
  EXPECT_EQ(s.Opening(kParagraphTable, 0), "{\\pard\\intbl \\s2\\keepn\\widctlpar \\f102\\fs20\\b0\\i0");
  EXPECT_EQ(s.Opening(kParagraphShortLine, 2), "{\\pard\\plain \\s11 \\f111\\fs20\\b0\\i0\\qj\\li720");
  EXPECT_EQ(s.Opening(kParagraphShortLine, 2, kAllParts & ~kPartIndent),
            "{\\pard\\plain \\s11 \\f111\\fs20\\b0\\i0\\qj");
  EXPECT_TRUE(s.messages.empty());

  EXPECT_EQ(s.Opening(kParagraphCustom, 0), body);
  EXPECT_EQ(s.Opening(42, 0), body);
  EXPECT_EQ(s.messages, (std::vector<std::string>{"CUSTOM STYLE: 11", "UNSUPPORTED CASE: style : 42"}));
}

TEST(BuildParagraphOpening, IndentsTheFirstLineByTheOffsetPolicies) {
  struct Case {
    const char* preserve;
    int blocks;
    int offset;  // "New Paragraph Offset", 0: not set
    int kind;
    int level;
    const char* indents;
  };
  const Case cases[] = {
      {"yes", 0, 0, kParagraphBody, 0, ""},
      {"yes", 0, 0, kParagraphBody, 1, "\\li360"},
      {"yes", 1, 0, kParagraphBody, 1, "\\li360\\fi720"},
      {"yes", 0, 3, kParagraphBody, 0, "\\fi360"},
      {"yes", 0, 3, kParagraphBody, 1, "\\li360"},
      {"no", 0, 3, kParagraphBody, 0, ""},
      {"no", 2, 0, kParagraphBullet, 1, "\\li360\\fi1080"},
      {"no", 2, 0, kParagraphShortLine, 0, "\\fi720"},
      {"no", 2, 0, kParagraphDefinition, 1, "\\li360"},
      {"yes", -1, 0, kParagraphBody, 1, "\\li360\\fi0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.preserve << " " << c.blocks << " " << c.offset << " "
                                    << c.kind << " " << c.level);
    WriterSetup s;
    s.Set(std::string("Preserve new paragraph offset: ") + c.preserve);
    s.Set("First line indentation (in blocks): " + std::to_string(c.blocks));
    if (c.offset != 0) s.Set("New Paragraph Offset: " + std::to_string(c.offset));
    s.ctx.Styles.PrepareForOutput(s.fc);
    const std::string opening = s.Opening(c.kind, c.level);
    const std::string format = s.Opening(c.kind, c.level, kAllParts & ~kPartIndent);
    EXPECT_EQ(opening.substr(format.size()), c.indents);
  }
}

TEST(BuildBulletPrefix, OpensABulletItemAtItsLevel) {
  WriterSetup s;
  s.ctx.Styles.PrepareForOutput(s.fc);
  const std::string bullet = "{\\pard\\plain \\s12\\sb30 \\f112\\fs20\\b0\\i0\\qj";
  TextString out;
  BuildBulletPrefix(s.fc, s.writer, 0, true, out);
  EXPECT_EQ(Str(out), bullet + "\\li360\\fi-360\\widctlpar\\jclisttab\\tx360{");
  BuildBulletPrefix(s.fc, s.writer, 2, false, out);
  EXPECT_EQ(Str(out), bullet + "\\li1080\\fi0\\widctlpar\\jclisttab\\tx1080{");
}

// ---- Help topics and links ----

TEST(MakeHelpTopicId, KeepsLettersAndDigitsAndShortensLongNames) {
  struct Case {
    std::string in;
    const char* out;
  };
  const Case cases[] = {
      {"Chapter 1.2 Getting started", "Chapter_1_2_Getting_started"},
      {"a\\'7bb\\'7dc\\\\d", "a_b_c__d"},
      {"caf\xe9 au lait", "caf__au_lait"},
      {std::string(40, 'A'), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"},
      {std::string(41, 'A'), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA_4024765"},
      {"The quick brown fox jumps over the lazy dog again and again",
       "The_quick_brown_fox_jumps_over__12644176"},
      {std::string(300, 'x'), "xxxxxxxxxxxxxxxxxxxxxxxxxxxxx_1206285050"},
      // The sum passes 2^31: read as a signed number it is negative.
      {std::string(400, 'x'), "xxxxxxxxxxxxxxxxxxxxxxxxxxxx_-1506873896"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in.c_str());
    MakeHelpTopicId(text);
    EXPECT_EQ(Str(text), c.out);
  }
}

TEST(BuildHyperlinkField, BuildsTheBookmarkAndAddressFields) {
  RtfSetup s;
  s.Set("Base FONT Size in pts: 12");
  TextString out;
  BuildHyperlinkField(s.fc, 1, "Intro", "Introduction", out);
  EXPECT_EQ(Str(out),
            "{\\field{\\*\\fldinst {\\fs24  HYPERLINK  \\\\l \"Intro\" }{\\kerning0 "
            "{\\*\\datafield "
            "08d0c9ea79f9bace118c8200aa004ba90b02000000080000000600000049006e00740072006f00000000"
            "0000}}}{\\fldrslt {\\cs32\\ul\\cf2\\fs24 Introduction}}}");

  BuildHyperlinkField(s.fc, 3, "http://www.example.com/", "Example", out);
  EXPECT_EQ(Str(out),
            "{\\field{\\*\\fldinst {\\fs24  HYPERLINK http://www.example.com/ }{\\kerning0 "
            "{\\*\\datafield 00d0c9ea79f9bace118c8200aa004ba90b0200000017000000080000004500780061"
            "006d0070006c0065000000e0c9ea79f9bace118c8200aa004ba90b3000000068007400740070003a002f"
            "002f007700770077002e006500780061006d0070006c0065002e0063006f006d002f000000000000}}}"
            "{\\fldrslt {\\cs32\\ul\\cf2\\fs24 Example}}}");
}

TEST(BuildHyperlinkField, BookmarkTargetsBecomeTopicIdentifiers) {
  RtfSetup s;
  TextString out;
  BuildHyperlinkField(s.fc, 1, "1.2 Scope", "Scope", out);
  EXPECT_NE(Str(out).find(" HYPERLINK  \\\\l \"1_2_Scope\" }"), std::string::npos);
  EXPECT_NE(Str(out).find("0000000a0000" "0031005f0032005f00530063006f00700065"), std::string::npos);
}

TEST(BuildHyperlinkField, SizesTheTextByTheDefaultFontAndDelta) {
  RtfSetup s;
  s.Set("Default font: Arial, Regular, 9");
  s.Set("Delta FONT size in pts: 2");
  TextString out;
  BuildHyperlinkField(s.fc, 4, "x", "y", out);
  EXPECT_EQ(Str(out).rfind("{\\field{\\*\\fldinst {\\fs22 ", 0), 0u);
  EXPECT_NE(Str(out).find("{\\fldrslt {\\cs32\\ul\\cf2\\fs22 y}}}"), std::string::npos);
}

TEST(BuildHyperlinkField, LongTextsKeepOnlyTheLowByteOfTheirLength) {
  RtfSetup s;
  const std::string text(300, 'a');
  TextString out;
  BuildHyperlinkField(s.fc, 3, "t", text.c_str(), out);
  // 301 is 0x12d: the length word is 0x2d. The target's word is 2 x 1 + 2818 = 0x0b04.
  EXPECT_NE(Str(out).find("0b0200000017" "0000" "002d" "0000" "0061"), std::string::npos);
  EXPECT_NE(Str(out).find("aa004ba9" "0b04" "0000" "0074" "000000000000}"), std::string::npos);
}

TEST(BuildHyperlinkField, AnAddressThatIsNoHostGivesTheTextAlone) {
  RtfSetup s;
  TextString out;
  BuildHyperlinkField(s.fc, 2, "not a host", "the text", out);
  EXPECT_EQ(Str(out), "the text");
  BuildHyperlinkField(s.fc, 2, "www.example.com", "the text", out);
  EXPECT_NE(Str(out).find(" HYPERLINK www.example.com }"), std::string::npos);
  BuildHyperlinkField(s.fc, 7, "www.example.com", "the text", out);
  EXPECT_EQ(Str(out), "the text");
}

TEST(BuildHelpLink, BuildsJumpsMacrosAndFields) {
  RtfSetup s;
  TextString out;
  BuildHelpLink(s.fc, 1, false, "1.2 Scope", "  Scope ", out);
  EXPECT_EQ(Str(out), "{\\uldb Scope}{\\v ID_1_2_Scope}");
  BuildHelpLink(s.fc, 1, true, "Scope", "Scope", out);
  EXPECT_EQ(Str(out), "{\\ul Scope}{\\v ID_Scope}");

  BuildHelpLink(s.fc, 2, false, "www.example.com", "Example", out);
  EXPECT_EQ(Str(out), "{\\ul\\cf2 Example}{\\v *!EF(`www.example.com}{\\v\\cf1 ',}{\\v `',1,`')}");
  BuildHelpLink(s.fc, 2, false, "nowhere", "Example", out);
  EXPECT_EQ(Str(out), "Example");

  TextString field;
  BuildHyperlinkField(s.fc, 3, "nowhere", "Example", field);
  BuildHelpLink(s.fc, 3, false, "nowhere", "Example", out);
  EXPECT_EQ(Str(out), Str(field));
}
