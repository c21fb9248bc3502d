#include "policy/TextClassification.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/Context.h"
#include "text/JReplaceParser.h"
#include "text/TextString.h"

namespace {

struct CellCase {
  int kind;
  const char* text;
  int expected;
};

constexpr CellCase kCellCases[] = {
    // Numbers.
    {0, "1,234", kCellNumber},
    {0, "12.5", kCellNumber},
    {1, "12.5", kCellText},  // the dot is not good enough under the strict rule
    {1, "1234", kCellNumber},
    {0, "1.2.3", kCellText},
    {0, "192.168.1.1", kCellDottedNumber},
    {0, "10.1.1.1", kCellDottedNumber},
    {0, "1.1.1.1", kCellText},            // 4 good of 7 is below 60%
    {0, "1.1.1.", kCellText},
    {0, "12%", kCellNumber},
    {0, "abc", kCellText},
    {0, "-5", kCellText},                 // the sign is good only under the strict rule
    {1, "-5", kCellNumber},
    // Currency.
    {0, "$12", kCellCurrency},
    {1, "\xA3" "12", kCellCurrency},
    {0, "$1/2", kCellText},
    {0, "$12:30", kCellText},
    {0, "12$/5", kCellCurrencyRatio},
    {0, "12$", kCellText},
    // Dates, times, ratios.
    {0, "12/05/2011", kCellDate},
    {0, "10:30", kCellTime},
    {0, "10:30:15", kCellTime},
    {0, "1:2:3:4", kCellText},
    {0, "10:30/2", kCellText},
    {0, "3/4", kCellRatio},
    {0, "1/2/3/4", kCellText},
};

TEST(ClassifyCellValue, Codes) {
  for (const CellCase& c : kCellCases) {
    SCOPED_TRACE(std::string(c.text) + " kind " + std::to_string(c.kind));
    EXPECT_EQ(ClassifyCellValue(c.kind, 99, c.text), c.expected);
  }
}

TEST(ClassifyCellValue, EmptyTextGivesDefault) {
  EXPECT_EQ(ClassifyCellValue(0, 42, ""), 42);
  EXPECT_EQ(ClassifyCellValue(1, 7, nullptr), 7);
}

TEST(CountCharacterClasses, CountsEachClass) {
  const CharacterClassCounts c = CountCharacterClasses("  aab 1-x  ");
  EXPECT_EQ(c.total, 11);
  EXPECT_EQ(c.span, 7);
  EXPECT_EQ(c.blanks, 5);
  EXPECT_EQ(c.innerBlanks, 1);
  EXPECT_EQ(c.ruleChars, 1);
  EXPECT_EQ(c.symbols, 1);
  EXPECT_EQ(c.letters, 4);
  EXPECT_EQ(c.digits, 1);
  EXPECT_EQ(c.doubledLetters, 1);
  // "a" after a blank, "b" after "a", a blank after "b", a blank after "x".
  EXPECT_EQ(c.changes, 4);
  EXPECT_EQ(CountCharacterClasses("a.b/c:").markupChars, 3);
  EXPECT_EQ(CountCharacterClasses("\xE9").symbols, 1);  // bytes from 128 are symbols
}

struct SymbolCase {
  const char* text;
  bool expected;
};

constexpr SymbolCase kSymbolCases[] = {
    {"", false},
    {"***", true},
    {"a", false},
    {"ab", false},
    {"* *", true},
    {"word", false},
    {"=-=-=-=-", true},
    {"Hello world", false},
    {"http://a.b/c", false},
    {"This is an ordinary sentence of text", false},
    {"*** *** *** *** *** *** ***", true},
    // Blanks around the text are outside its span; only the blanks between words weigh.
    {"   ***   ", true},
    {"  aa bb  ", false},
    {"    x    ", false},
    // A long text whose symbols weigh in: doubled letters tip it to decoration.
    {"aa-bb-cc-dd-ee-ff-gg", true},
    {"ab-cd-ef-gh-ij-kl-mn", false},
};

TEST(IsMostlySymbols, Decides) {
  for (const SymbolCase& c : kSymbolCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsMostlySymbols(c.text), c.expected);
  }
}

constexpr SymbolCase kRuleCases[] = {
    {"--", true},
    {" -", true},
    {"-- ", true},
    {"----------", true},
    {"=== ===", true},
    {"--- ===", true},
    {"___", true},
    {"-", false},
    {"- ", false},
    {"-=", false},
    {"--  --", false},
    {"  --", false},
    {"--  ", false},
    {"", false},
    {" ", false},
    {"--a", false},
    {"**", false},
    {"-\t-", false},
};

TEST(IsRuleLine, Decides) {
  for (const SymbolCase& c : kRuleCases) {
    SCOPED_TRACE(std::string("[") + c.text + "]");
    EXPECT_EQ(IsRuleLine(c.text), c.expected);
  }
  EXPECT_FALSE(IsRuleLine(nullptr));
}

TEST(FindBetween, TextBetweenPatterns) {
  JReplaceParser parser;
  TextString out("stale");
  EXPECT_TRUE(FindBetween(parser, "key: [value] rest", "[", "]", out));
  EXPECT_STREQ(out.GetText(), "value");

  EXPECT_FALSE(FindBetween(parser, "no brackets here", "[", "]", out));
  EXPECT_TRUE(out.IsEmpty());
  // The end must come after the start.
  EXPECT_FALSE(FindBetween(parser, "] before [", "[", "]", out));
  EXPECT_TRUE(out.IsEmpty());
  // A one-character start pattern ends the scan.
  EXPECT_TRUE(FindBetween(parser, "x[[y]", "[", "]", out));
  EXPECT_STREQ(out.GetText(), "[y");
  // The parser is left without patterns.
  EXPECT_EQ(parser.GetPatternCount(), 0);
}

class TagAttributeTest : public ::testing::Test {
 protected:
  Context ctx{2, kOutputRtf};
};

TEST_F(TagAttributeTest, ReadsQuotedAndPlainValues) {
  struct Case {
    const char* name;
    bool found;
    const char* value;
  };
  const Case cases[] = {
      {"ALIGN", true, "left"},
      {"align", true, "left"},
      {"WIDTH", true, "20"},
      {"HEIGHT", false, ""},
      {"TITLE", true, "a b"},
      {"CLASS", true, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextString tag("<TD ALIGN=\"left\" WIDTH=20 TITLE='a b' CLASS=x,>");
    TextString value;
    EXPECT_EQ(GetTagAttribute(ctx, c.name, tag, value, false), c.found);
    EXPECT_STREQ(value.GetText(), c.value);
    EXPECT_STREQ(tag.GetText(), "<TD ALIGN=\"left\" WIDTH=20 TITLE='a b' CLASS=x,>");
  }
}

TEST_F(TagAttributeTest, UnclosedQuoteRunsToTheTagEnd) {
  TextString tag("<IMG ALT=\"broken>");
  TextString value;
  EXPECT_TRUE(GetTagAttribute(ctx, "ALT", tag, value, false));
  EXPECT_STREQ(value.GetText(), "broken");
}

TEST_F(TagAttributeTest, AttributeWithoutValue) {
  struct Case {
    const char* tag;
    const char* value;
  };
  // The value of a bare attribute is the rest of the tag after it.
  const Case cases[] = {
      {"TD NOWRAP", ""},
      {"TD NOWRAP CLASS=x", "CLASS=x"},
      {"<TD NOWRAP CLASS=x>", "CLASS=x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    TextString tag(c.tag);
    TextString value("stale");
    EXPECT_TRUE(GetTagAttribute(ctx, "NOWRAP", tag, value, true));
    EXPECT_STREQ(value.GetText(), c.value);
    EXPECT_STREQ(tag.GetText(), c.tag);  // left in the tag
  }
}

TEST_F(TagAttributeTest, RemovesAttributeWithItsValue) {
  TextString tag("<TD ALIGN=\"left\" WIDTH=20>");
  TextString value;
  EXPECT_TRUE(GetTagAttribute(ctx, "WIDTH", tag, value, true));
  EXPECT_STREQ(value.GetText(), "20");
  EXPECT_EQ(std::string(tag.GetText()).find("WIDTH"), std::string::npos);
  EXPECT_NE(std::string(tag.GetText()).find("ALIGN=\"left\""), std::string::npos);

  TextString quoted("<P TITLE=\"50% *off*\" ID=p1>");
  EXPECT_TRUE(GetTagAttribute(ctx, "TITLE", quoted, value, true));
  EXPECT_STREQ(value.GetText(), "50% *off*");
  EXPECT_EQ(std::string(quoted.GetText()).find("TITLE"), std::string::npos);
  EXPECT_NE(std::string(quoted.GetText()).find("ID=p1"), std::string::npos);
}

}  // namespace
