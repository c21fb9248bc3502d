#include "policy/StyleSheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf/RtfTestSetup.h"
#include "support/TestFiles.h"

namespace {

const std::string kFixtures = std::string(KELVANE_FIXTURES_DIR) + "/rtf/";

struct StyleCase {
  int index;
  int number;
  int basedOn;
  const char* name;
  int fontNumber;
  int plain, inTable, keep, before, after, group;
};

// The 25 styles as the style sheet writes them.
constexpr StyleCase kStyles[] = {
    {0, 0, -1, "Normal", 100, 1, 0, 0, 60, 60, 1},
    {1, 1, -1, "Body", 101, 1, 0, 0, 60, 60, 1},
    {2, 11, 1, "Short line", 111, 1, 0, 0, 0, 0, 9},
    {3, 12, 1, "Bullet", 112, 1, 0, 0, 30, 0, 9},
    {4, 13, 1, "Quotes", 113, 1, 0, 0, 0, 0, 5},
    {5, 14, 1, "Hanging list", 114, 1, 0, 0, 60, 60, 9},
    {6, 15, 1, "Definition", 115, 1, 0, 0, 120, 120, 9},
    {7, 2, -1, "Table", 102, 0, 1, 1, 0, 0, 11},
    {8, 3, -1, "Preformatted", 103, 1, 0, 1, 0, 0, 6},
    {9, 4, -1, "Diagram", 104, 1, 0, 1, 0, 0, 6},
    {10, 5, -1, "Code", 105, 1, 0, 1, 0, 0, 6},
    {11, 6, -1, "All Headings", 106, 1, 0, 1, 240, 120, 14},
    {12, 61, 6, "Heading 1", 161, 1, 0, 1, 240, 120, 14},
    {13, 62, 6, "Heading 2", 162, 1, 0, 1, 180, 120, 14},
    {14, 63, 6, "Heading 3", 163, 1, 0, 1, 180, 120, 14},
    {15, 64, 6, "Heading 4", 164, 1, 0, 1, 180, 60, 14},
    {16, 65, 6, "Heading 5", 165, 1, 0, 1, 180, 60, 14},
    {17, 66, 6, "Heading 6", 166, 1, 0, 1, 180, 60, 14},
    {18, 7, -1, "All TOC", 107, 1, 0, 1, 0, 0, 14},
    {19, 71, 7, "TOC 1", 171, 1, 0, 1, 60, 0, 14},
    {20, 72, 7, "TOC 2", 172, 1, 0, 1, 30, 0, 14},
    {21, 73, 7, "TOC 3", 173, 1, 0, 1, 0, 0, 14},
    {22, 74, 7, "TOC 4", 174, 1, 0, 1, 0, 0, 14},
    {23, 75, 7, "TOC 5", 175, 1, 0, 1, 0, 0, 14},
    {24, 76, 7, "TOC 6", 176, 1, 0, 1, 0, 0, 14},
};

struct FontCase {
  int index;
  const char* face;
  int size;
  int bold;
  int italic;
};

void ExpectFonts(const StyleSheet& sheet, const std::vector<FontCase>& cases) {
  for (const FontCase& c : cases) {
    SCOPED_TRACE(c.index);
    const StyleRecord& record = sheet.GetRecord(c.index);
    EXPECT_EQ(Str(sheet.GetFont(c.index).GetFace()), c.face);
    EXPECT_EQ(record.pointSize, c.size);
    EXPECT_EQ(record.halfPointSize, 2 * c.size);
    EXPECT_EQ(record.bold, c.bold);
    EXPECT_EQ(record.italic, c.italic);
  }
}

}  // namespace

TEST(StyleSheet, BuildsTheTwentyFiveStyles) {
  RtfSetup s;
  s.ctx.Styles.PrepareForOutput(s.fc);
  for (const StyleCase& c : kStyles) {
    SCOPED_TRACE(c.name);
    const StyleRecord& r = s.ctx.Styles.GetRecord(c.index);
    EXPECT_EQ(r.styleNumber, c.number);
    EXPECT_EQ(r.basedOn, c.basedOn);
    EXPECT_EQ(Str(r.name), c.name);
    EXPECT_EQ(r.fontNumber, c.fontNumber);
    EXPECT_EQ(s.ctx.Styles.GetFont(c.index).GetStyleCode(), c.fontNumber);
    EXPECT_EQ(r.plain, c.plain);
    EXPECT_EQ(r.inTable, c.inTable);
    EXPECT_EQ(r.keepWithNext, c.keep);
    EXPECT_EQ(r.spaceBefore, c.before);
    EXPECT_EQ(r.spaceAfter, c.after);
    EXPECT_EQ(r.groupCode, c.group);
  }
}

TEST(StyleSheet, DefaultFontsFollowTheBaseSize) {
  RtfSetup s;
  s.Set("Base FONT Size in pts: 12");
  s.ctx.Styles.PrepareForOutput(s.fc);
  ExpectFonts(s.ctx.Styles, {{0, "Times New Roman", 12, 0, 0},
                             {1, "Times New Roman", 12, 0, 0},
                             {4, "Times New Roman", 12, 0, 1},
                             {7, "Times New Roman", 12, 0, 0},
                             {8, "Courier New", 8, 0, 0},
                             {9, "Courier New", 8, 0, 0},
                             {10, "Courier New", 8, 0, 0},
                             {11, "Arial", 12, 1, 0},
                             {12, "Arial", 16, 1, 0},
                             {13, "Arial", 14, 1, 1},
                             {14, "Arial", 14, 1, 0},
                             {15, "Arial", 12, 1, 1},
                             {17, "Arial", 12, 1, 1},
                             {18, "Times New Roman", 12, 0, 0},
                             {19, "Times New Roman", 13, 1, 0},
                             {20, "Times New Roman", 12, 0, 1},
                             {21, "Times New Roman", 12, 0, 0},
                             {22, "Times New Roman", 11, 0, 0},
                             {24, "Times New Roman", 11, 0, 0}});

  RtfSetup small;
  small.Set("Base FONT Size in pts: 6");
  small.ctx.Styles.PrepareForOutput(small.fc);
  ExpectFonts(small.ctx.Styles, {{0, "Times New Roman", 6, 0, 0}, {10, "Courier New", 6, 0, 0}});

  RtfSetup unset;  // without the policy the base is 10
  unset.ctx.Styles.PrepareForOutput(unset.fc);
  ExpectFonts(unset.ctx.Styles, {{0, "Times New Roman", 10, 0, 0}, {12, "Arial", 14, 1, 0}});
}

TEST(StyleSheet, FontPoliciesReplaceTheDefaults) {
  RtfSetup s;
  s.Set("Base FONT Size in pts: 12");
  s.Set("Default font: Georgia, Italic, 11");
  s.Set("Heading font: Verdana, Regular, 14");
  s.Set("Fixed font: Lucida Console, Bold, 9");
  s.Set("Table font: Tahoma, Regular, 10");
  s.Set("Table of Contents font: Garamond, Bold, 13");
  s.ctx.Styles.PrepareForOutput(s.fc);
  ExpectFonts(s.ctx.Styles, {{0, "Georgia", 11, 0, 1},
                             {6, "Georgia", 11, 0, 1},
                             {7, "Tahoma", 10, 0, 0},
                             {9, "Lucida Console", 9, 1, 0},
                             {11, "Verdana", 14, 0, 0},
                             {12, "Verdana", 18, 1, 0},
                             {15, "Verdana", 14, 0, 1},
                             {18, "Garamond", 13, 1, 0},
                             {19, "Garamond", 12, 1, 0},  // the text size 11 plus 1
                             {23, "Garamond", 10, 1, 0}});
}

TEST(StyleSheet, OutOfRangeSizesAreKeptOnThePage) {
  RtfSetup s;
  s.Set("Base FONT Size in pts: 2000000000");
  s.Set("Heading font: Arial, Bold, 2147483647");
  s.ctx.Styles.PrepareForOutput(s.fc);
  ExpectFonts(s.ctx.Styles, {{0, "Times New Roman", kMaxPointSize, 0, 0},
                             {12, "Arial", kMaxPointSize, 1, 0}});
}

struct AlignmentCase {
  const char* justification;
  const char* encoding;  // empty: not set
  bool japanese;
  int left;
  int right;
};

TEST(StyleSheet, BuildTakesTheAlignmentFromJustificationAndEncoding) {
  const AlignmentCase cases[] = {
      {"left", "", false, 1, 0},
      {"center", "", false, 0, 0},
      {"right", "", false, 0, 1},
      {"justified", "", false, 1, 1},
      {"justified", "iso-8859-8", false, 0, 1},
      {"center", "ISO-8859-8", false, 0, 1},
      {"left", "ar-sy", false, 0, 1},
      {"justified", "windows-1252", false, 1, 1},
      {"justified", "", true, 1, 0},
      {"center", "windows-1256", true, 0, 1},  // right-to-left wins over Japanese
  };
  for (const AlignmentCase& c : cases) {
    SCOPED_TRACE(std::string(c.justification) + " " + c.encoding);
    RtfSetup s;
    s.Set(std::string("Text justification: ") + c.justification);
    if (*c.encoding) s.Set(std::string("Character encoding: ") + c.encoding);
    if (c.japanese) s.Set("Input file contains Japanese characters: yes");
    s.ctx.Styles.PrepareForOutput(s.fc);
    const StyleSheet& sheet = s.ctx.Styles;
    for (int index : {0, 1, 2, 3, 5, 6}) {
      EXPECT_EQ(sheet.GetRecord(index).leftEdge, c.left) << index;
      EXPECT_EQ(sheet.GetRecord(index).rightEdge, c.right) << index;
    }
    for (int index : {4, 7, 8, 11, 12, 18, 24}) {  // these stay left-aligned
      EXPECT_EQ(sheet.GetRecord(index).leftEdge, 1) << index;
      EXPECT_EQ(sheet.GetRecord(index).rightEdge, 0) << index;
    }
  }
}

TEST(StyleSheet, BuildWithoutAContextChangesNothing) {
  StyleSheet sheet;
  FileControl lone;
  sheet.Build(lone);
  EXPECT_TRUE(sheet.GetRecord(0).name.IsEmpty());
  EXPECT_EQ(sheet.GetRecord(12).styleNumber, 0);
}

TEST(StyleSheet, BuildAloneNeverLeavesAStyleWithoutItsFontNumber) {
  // A justification line rebuilds the sheet before any default fonts were set.
  RtfSetup s;
  s.Set("Text justification: right");
  for (const StyleCase& c : kStyles) EXPECT_EQ(s.ctx.Styles.GetRecord(c.index).fontNumber, c.fontNumber);
}

TEST(StyleSheet, SetStyleFontFindsTheStyleIgnoringCaseAndKeepsItsNumber) {
  RtfSetup s;
  s.ctx.Styles.PrepareForOutput(s.fc);
  FontSpec font;
  font.SetFace("Verdana");
  font.SetPointSize(11);
  font.SetStyleCode(-1);
  EXPECT_TRUE(s.ctx.Styles.SetStyleFont(s.fc, "toc3", font));
  EXPECT_EQ(Str(s.ctx.Styles.GetFont(21).GetFace()), "Verdana");
  EXPECT_EQ(s.ctx.Styles.GetFont(21).GetStyleCode(), 173);

  EXPECT_FALSE(s.ctx.Styles.SetStyleFont(s.fc, "TOC 3", font));
  EXPECT_FALSE(s.ctx.Styles.SetStyleFont(s.fc, "Heading7", font));
  EXPECT_EQ(s.messages, (std::vector<std::string>{"ERROR: Unknown Style \"TOC 3\"",
                                                  "ERROR: Unknown Style \"Heading7\""}));
}

TEST(StyleSheet, AddFontKeepsTheFirstDefinitionOfAName) {
  StyleSheet sheet;
  FontSpec first;
  first.SetFace("Garamond");
  first.SetSecondName("Fancy");
  FontSpec second;
  second.SetFace("Courier New");
  second.SetSecondName("FANCY");
  FontSpec other;
  other.SetFace("Arial");
  other.SetSecondName("Plain");

  EXPECT_TRUE(sheet.AddFont(first));
  EXPECT_FALSE(sheet.AddFont(second));
  EXPECT_TRUE(sheet.AddFont(other));
  ASSERT_EQ(sheet.GetUserFontCount(), 2);
  const FontSpec* found = sheet.FindFont("fancy");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(Str(found->GetFace()), "Garamond");
  EXPECT_EQ(found->GetStyleCode(), kFirstUserFontNumber);
  EXPECT_EQ(sheet.FindFont("Plain")->GetStyleCode(), kFirstUserFontNumber + 1);
  EXPECT_EQ(sheet.FindFont("Fanc"), nullptr);

  sheet.ClearFonts();
  EXPECT_EQ(sheet.GetUserFontCount(), 0);
  EXPECT_EQ(sheet.FindFont("Fancy"), nullptr);
}

TEST(StyleSheet, AddFontStopsBeforeTheNumbersOfFontTags) {
  StyleSheet sheet;
  FontSpec font;
  for (int i = 0; i < kMaxUserFonts; ++i) {
    font.SetSecondName(TextString(i));
    ASSERT_TRUE(sheet.AddFont(font));
  }
  font.SetSecondName("one too many");
  EXPECT_FALSE(sheet.AddFont(font));
  EXPECT_EQ(sheet.GetUserFont(kMaxUserFonts - 1).GetStyleCode(), 999);
}

TEST(StylesFile, DefinesFontsAndStyleFonts) {
  RtfSetup s;
  s.Set("Style file: " + kFixtures + "styles-good.sty");
  s.ctx.Styles.ReadStylesFile(s.fc);
  EXPECT_TRUE(s.messages.empty()) << s.messages.front();
  EXPECT_EQ(s.ctx.Styles.IsStylesFileRead(), 1);

  const StyleSheet& sheet = s.ctx.Styles;
  ASSERT_EQ(sheet.GetUserFontCount(), 2);
  const FontSpec* fancy = sheet.FindFont("FANCY");
  ASSERT_NE(fancy, nullptr);
  EXPECT_EQ(Str(fancy->GetFace()), "Garamond");  // the later "fancy" does not replace it
  EXPECT_EQ(fancy->GetPointSize(), 14);
  EXPECT_EQ(fancy->IsBold(), 1);
  const FontSpec* plain = sheet.FindFont("Plain");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(Str(plain->GetFace()), "Arial");
  EXPECT_EQ(plain->GetPointSize(), 12);

  s.ctx.Styles.PrepareForOutput(s.fc);
  ExpectFonts(sheet, {{0, "Georgia", 11, 0, 0},
                      {1, "Times New Roman", 10, 0, 0},  // copied from Normal's defaults
                      {12, "Garamond", 20, 1, 1},
                      {21, "Verdana", 11, 0, 1}});
}

TEST(StylesFile, StyleFontsOutliveTheDefaultFontsOfEveryOutputPass) {
  RtfSetup s;
  s.Set("Style file: " + kFixtures + "styles-good.sty");
  s.Set("Base FONT Size in pts: 12");
  s.ctx.Styles.ReadStylesFile(s.fc);  // as when the policies are loaded

  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    s.ctx.Styles.PrepareForOutput(s.fc);
    ExpectFonts(s.ctx.Styles, {{12, "Garamond", 20, 1, 1}, {13, "Arial", 14, 1, 1}});
    EXPECT_EQ(s.ctx.Styles.GetRecord(12).fontNumber, 161);
    EXPECT_EQ(s.ctx.Styles.GetRecord(21).fontNumber, 173);
    // The next file starts from an empty sheet and reads the file again.
    s.ctx.ResetStyleSheet();
  }
  EXPECT_TRUE(s.messages.empty());
}

TEST(StylesFile, RefusesWhatItCannotTakeAndSaysWhere) {
  RtfSetup s;
  const std::string path = kFixtures + "styles-faults.sty";
  s.Set("Style file: " + path);
  s.ctx.Styles.PrepareForOutput(s.fc);

  const std::string at = "ERROR: Styles file " + path + " line ";
  const std::vector<std::string> expected = {
      "ERROR: Unknown Style \"Heading7\"",
      at + "2 - invalid font specification \"Arial, Bolt, 12\" (face, style, size)",
      at + "3 - invalid font specification \"Arial, Regular, 99999999999\" (face, style, size)",
      at + "4 - font size 5000 is outside 1 to 1638",
      at + "5 - a double quote is not closed",
      at + "6 - the name \"Br{ace\" holds one of { } \\ ; and is ignored",
      at + "7 - the name \"Ar;ial\" holds one of { } \\ ; and is ignored",
      at + "8 - a name is missing before the font specification",
      at + "9 - the name \"Back\\slash\" holds one of { } \\ ; and is ignored",
  };
  EXPECT_EQ(s.messages, expected);

  const StyleSheet& sheet = s.ctx.Styles;
  ASSERT_EQ(sheet.GetUserFontCount(), 1);
  EXPECT_NE(sheet.FindFont("Good"), nullptr);
  ExpectFonts(sheet, {{1, "Times New Roman", 10, 0, 0}});
  EXPECT_EQ(sheet.IsStylesFileRead(), 1);
}

TEST(StylesFile, AMissingFileIsReportedAndTriedAgain) {
  RtfSetup s;
  s.Set("Style file: no-such-styles.sty");
  s.ctx.Styles.ReadStylesFile(s.fc);
  s.ctx.Styles.PrepareForOutput(s.fc);
  const std::string message = "** Failed to open styles file no-such-styles.sty ***";
  EXPECT_EQ(s.messages, (std::vector<std::string>{message, message}));
  EXPECT_EQ(s.ctx.Styles.IsStylesFileRead(), 0);
  ExpectFonts(s.ctx.Styles, {{0, "Times New Roman", 10, 0, 0}});
}

TEST(StylesFile, ANameIsLookedForInTheInputFolderThenThePolicyFolder) {
  RtfSetup s;
  s.Set("Style file: styles-good.sty");
  s.fc.Text(PolicyId::InputDirectory).value = kFixtures.c_str();
  s.ctx.Styles.ReadStylesFile(s.fc);
  EXPECT_EQ(s.ctx.Styles.GetUserFontCount(), 2);

  RtfSetup second;
  second.Set("Style file: styles-good.sty");
  second.fc.Text(PolicyId::InputDirectory).value = "/no/such/folder/";
  second.ctx.Commands.policyFolder = kFixtures.c_str();
  second.ctx.Styles.ReadStylesFile(second.fc);
  EXPECT_EQ(second.ctx.Styles.GetUserFontCount(), 2);
  EXPECT_TRUE(second.messages.empty());
}

TEST(StylesFile, AnOverLongLineIsReadWhole) {
  RtfSetup s;
  const std::string path = TempPath("rtf", "long.sty");
  WriteBytes(path, "define style: Heading2," + std::string(25000, ' ') + "Arial, Bold, 30\n" +
                       "define font: " + std::string(100000, 'N') + ", Arial\n");
  s.Set("Style file: " + path);
  s.ctx.Styles.PrepareForOutput(s.fc);
  EXPECT_TRUE(s.messages.empty());
  ExpectFonts(s.ctx.Styles, {{13, "Arial", 30, 1, 0}});
  EXPECT_EQ(s.ctx.Styles.GetUserFontCount(), 1);
}
