#include "analysis/TagServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "text/FontSpec.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// The normalised argument text of a tag body with its keyword (fields shown after "|").
std::string Arguments(FileControl& fc, const char* body, const char* keyword) {
  TextString text(body);
  if (!ParseTagArguments(fc, text, keyword))
    return "<failed>";
  std::string shown = Str(text);
  const char separator = shown.empty() ? '\0' : shown[0];
  for (char& c : shown) {
    if (c == separator)
      c = '|';
  }
  return shown;
}

using TagServicesTest = ContextFixture;

// ---- Argument lists ----

TEST_F(TagServicesTest, ParseTagArgumentsSplitsWhateverFollowsTheKeyword) {
  const struct {
    const char* body;
    const char* keyword;
    const char* fields;
  } kCases[] = {
      // The character after the keyword only opens the list.
      {"NB 3", "NB", "|3"},
      {"NB,3", "NB", "|3"},
      {"NB=3", "NB", "|3"},
      {"NB", "NB", ""},
      // Fields are split at commas outside quotes, trimmed, their names dropped.
      {"FONT 0,  Arial ,size=12", "FONT", "|0|Arial|12"},
      {"SUPER \"a, b\", c", "SUPER", "|a, b|c"},
      {"SUPER \"say \"\"hi\"\" now\"", "SUPER", "|say \"hi\" now"},
      {"SUPER \"open, quote", "SUPER", "|open, quote"},  // an unclosed quote holds the rest
      // Runs of blanks collapse; a directive keeps its name after the delimiter.
      {"$_$_DEFINE_VARIABLE   name,   two  words", "$_$_DEFINE_VARIABLE", "|name|two words"},
      {"$_$_ LINERULE 50%", "LINERULE", "|50%"},
      // Keywords are matched ignoring case, and removed so.
      {"$_$_define_variable name, value", "$_$_DEFINE_VARIABLE", "|name|value"},
      {"nb 3", "NB", "|3"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(Arguments(fc, c.body, c.keyword), c.fields);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(TagServicesTest, ParseTagArgumentsReportsAListWithNoFreeSeparator) {
  TextString text("X \xA1\xB1|=~#?/\\+^&*");
  const TextString before(text);
  EXPECT_FALSE(ParseTagArguments(fc, text, "X"));
  EXPECT_EQ(Str(text), Str(before));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: Can't parse tag X=" + Str(before));
}

// ---- Field readers ----

TEST_F(TagServicesTest, TextFieldsWithAndWithoutDefaults) {
  TextString args("\xA1one\xA1\xA1\"quoted \"\"word\"\"\"");
  EXPECT_EQ(CountTagFields(args), 3);
  EXPECT_EQ(CountTagFields(TextString()), 0);
  TextString out;
  EXPECT_EQ(GetTagText(fc, args, 1, out), 1);
  EXPECT_EQ(Str(out), "one");
  EXPECT_EQ(GetTagText(fc, args, 2, out), 0);  // empty
  EXPECT_EQ(GetTagText(fc, args, 4, out), 0);  // missing
  EXPECT_EQ(GetTagText(fc, args, 0, out), 0);
  EXPECT_EQ(GetTagText(fc, args, 3, out), 1);
  EXPECT_EQ(Str(out), "quoted \"word\"");
  EXPECT_EQ(GetTagTextOrDefault(fc, args, 2, out, "dflt"), 1);
  EXPECT_EQ(Str(out), "dflt");
  EXPECT_TRUE(ReadTagText(args, 9, out, ""));
  EXPECT_EQ(Str(out), "");
}

TEST_F(TagServicesTest, NumberFieldsReadDecimalIntegersOnly) {
  const struct {
    const char* field;
    bool read;
    int value;
  } kCases[] = {
      {"3", true, 3},
      {" 42 ", true, 42},
      {"size=12", true, 12},
      {"-7", true, -7},
      {"2147483647", true, 2147483647},
      {"2147483648", false, -1},  // beyond an int
      {"99999999999999999999", false, -1},
      {"many", false, -1},
      {"", false, -1},
      {"size=", false, -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.field);
    TextString args("\xA1");
    args.Append(c.field);
    int value = 0;
    EXPECT_EQ(GetTagNumber(fc, args, 1, value), c.read);
    EXPECT_EQ(value, c.value);
    EXPECT_TRUE(GetTagNumberOrDefault(fc, args, 1, value, 5));
    EXPECT_EQ(value, c.read ? c.value : 5);
  }
  int value = 0;
  EXPECT_FALSE(GetTagNumber(fc, TextString("\xA1" "1"), 2, value));  // missing field
  double real = 0;
  EXPECT_TRUE(ReadTagReal(TextString("\xA1 w=2.5"), 1, real));
  EXPECT_DOUBLE_EQ(real, 2.5);
  EXPECT_FALSE(ReadTagReal(TextString("\xA1x"), 1, real));
  EXPECT_TRUE(ReadTagRealOrDefault(fc, TextString("\xA1x"), 1, real, 0.5));
  EXPECT_DOUBLE_EQ(real, 0.5);
}

TEST_F(TagServicesTest, AlignmentFieldsKnowTheirLettersInEitherCase) {
  const struct {
    const char* field;
    int horizontal;  // 0: a bad code
    int vertical;
  } kCases[] = {
      {"L", 1, 0}, {"center", 2, 3}, {"r", 3, 0}, {"Justify", 4, 0},
      {"top", 0, 1}, {"b", 0, 2}, {"align=R", 3, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.field);
    TextString args("\xA1");
    args.Append(c.field);
    int value = -1;
    EXPECT_EQ(GetTagAlignment(fc, args, 1, value), c.horizontal != 0);
    if (c.horizontal != 0) {
      EXPECT_EQ(value, c.horizontal);
    }
    EXPECT_EQ(GetTagVerticalAlignment(fc, args, 1, value), c.vertical != 0);
    if (c.vertical != 0) {
      EXPECT_EQ(value, c.vertical);
    }
  }
}

TEST_F(TagServicesTest, BadAlignmentCodeIsReportedAndTheDefaultTaken) {
  const TextString args("\xA1x\xA1q");
  int value = -1;
  EXPECT_FALSE(GetTagAlignment(fc, args, 1, value));
  EXPECT_TRUE(GetTagAlignmentOrDefault(fc, args, 1, value, kTagAlignCentre));
  EXPECT_EQ(value, kTagAlignCentre);
  EXPECT_FALSE(GetTagVerticalAlignment(fc, args, 2, value));
  EXPECT_TRUE(GetTagVerticalAlignmentOrDefault(fc, args, 2, value, kTagAlignTop));
  EXPECT_EQ(value, kTagAlignTop);
  // A missing field is no bad code: no message.
  EXPECT_FALSE(GetTagAlignment(fc, args, 3, value));
  EXPECT_TRUE(GetTagAlignmentOrDefault(fc, args, 3, value, kTagAlignRight));
  EXPECT_EQ(value, kTagAlignRight);
  const std::vector<std::string> expected = {
      "TAG ERROR: Bad alignment code 'x' ",
      "TAG ERROR: Bad alignment code 'x' using default value instead",
      "TAG ERROR: Bad vertical alignment code 'q' ",
      "TAG ERROR: Bad vertical alignment code 'q' using default value instead",
  };
  EXPECT_EQ(messages, expected);
}

TEST_F(TagServicesTest, ParseErrorNamesTheArgumentWhenGiven) {
  ReportTagParseError(fc, nullptr, TextString("FONT"), TextString("|x"), 2);
  ReportTagParseError(fc, nullptr, TextString("FONT"), TextString("|x"), 0);
  const std::vector<std::string> expected = {
      "TAG ERROR: Failed to parse Arg#2 in \"FONT |x\"",
      "TAG ERROR: Failed to parse \"FONT |x\"",
  };
  EXPECT_EQ(messages, expected);
}

// ---- Fonts ----

TEST_F(TagServicesTest, FontArgumentsMakeAFontAndItsKey) {
  FontSpec font;
  ASSERT_EQ(ParseFontArguments(fc, ctx, nullptr, TextString("FONT"),
                               TextString("|0|Garamond|14|1|3"), font),
            1);
  EXPECT_EQ(Str(font.GetFace()), "Garamond");
  EXPECT_EQ(font.GetPointSize(), 14);
  EXPECT_EQ(font.GetLineHeight(), 16);
  EXPECT_EQ(font.IsSansSerif(), 1);
  EXPECT_EQ(font.IsBold(), 1);
  EXPECT_EQ(font.IsItalic(), 1);
  TextString key;
  MakeFontKey(font, key);
  EXPECT_EQ(Str(key), "Garamond--1-3");

  FontSpec second;
  ASSERT_EQ(ParseFontArguments(fc, ctx, nullptr, TextString("FONT"), TextString("|1|Heading"),
                               second),
            1);
  EXPECT_EQ(Str(second.GetSecondName()), "Heading");
  EXPECT_EQ(second.GetPointSize(), 10);
  MakeFontKey(second, key);
  EXPECT_EQ(Str(key), "-Heading-0-0");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TagServicesTest, FontArgumentsThatDoNotReadAreReported) {
  const struct {
    const char* arguments;
    const char* message;
  } kCases[] = {
      {"|x|Arial", "TAG ERROR: Failed to parse Arg#1 in \"FONT |x|Arial\""},
      {"|0", "TAG ERROR: Failed to parse Arg#2 in \"FONT |0\""},
      {"|0|Arial|0", "TAG ERROR: Failed to parse Arg#3 in \"FONT |0|Arial|0\""},
      {"|0|Arial|2000000000", "TAG ERROR: Failed to parse Arg#3 in \"FONT |0|Arial|2000000000\""},
      {"|2|Arial", "UNSUPPORTED CASE: Tagged font type"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.arguments);
    messages.clear();
    FontSpec font;
    EXPECT_EQ(ParseFontArguments(fc, ctx, nullptr, TextString("FONT"), TextString(c.arguments),
                                 font),
              0);
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
  }
}

// ---- Page scope ----

TEST_F(TagServicesTest, PageScopeReadsPageAndFolioWords) {
  const struct {
    const char* scope;
    bool valid;
    int page;
    int global;
    const char* message;
  } kCases[] = {
      {"", true, 0, 1, ""},
      {"ODD_PAGES_ONLY", true, 1, 1, ""},
      {"even_pages_only, from_next_folio", true, 2, 0, ""},
      {"GLOBAL ALL_PAGES", true, 0, 1, ""},
      {"ODD_PAGES_ONLY EVEN_PAGES_ONLY", false, 1, 1,
       "TAG ERROR: Page scope conflict \"EVEN_PAGES_ONLY\""},
      {"GLOBAL, FROM_NEXT_FOLIO", false, 0, 1,
       "TAG ERROR: Folio scope conflict \"FROM_NEXT_FOLIO\""},
      {"SOMETIMES, GLOBAL", false, 0, 1,
       "TAG ERROR: Unknown scope attribute \"SOMETIMES\""
       "TAG ERROR: Unknown scope attribute \"GLOBAL\""},
  };
  SetPass(1, 0, 0);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.scope);
    TextPosition position;
    int page = -1;
    int global = -1;
    TextString message;
    int level = -1;
    EXPECT_EQ(ParsePageScope(fc, TextString(c.scope), position, page, global, message, level),
              c.valid);
    EXPECT_EQ(page, c.page);
    EXPECT_EQ(global, c.global);
    EXPECT_EQ(Str(message), c.message);
    EXPECT_EQ(level, c.valid ? -1 : 10);
  }
}

TEST_F(TagServicesTest, FromLastFolioTakesThePositionOfTheFolioDefinition) {
  SetPass(1, 0, 0);
  ctx.pGetTracker()->currentPosition = TextPosition(0, 20);
  TextPosition position;
  int page = 0;
  int global = 0;
  TextString message;
  int level = -1;
  ASSERT_TRUE(ParsePageScope(fc, TextString("FROM_LAST_FOLIO"), position, page, global, message,
                             level));
  EXPECT_EQ(global, 0);
  EXPECT_EQ(position.GetLine(), 0);  // no folio defined: (0, 1)
  EXPECT_EQ(position.GetColumn(), 1);
  EXPECT_EQ(Str(ctx.FolioName), "FOLIO");

  ASSERT_EQ(ctx.Defines.Add(fc, kDefineBlock, TextString("FOLIO"), TextPosition(0, 8), 0, 1,
                            nullptr, 0),
            1);
  ASSERT_TRUE(ParsePageScope(fc, TextString("FROM_LAST_FOLIO"), position, page, global, message,
                             level));
  EXPECT_EQ(position.GetLine(), 0);
  EXPECT_EQ(position.GetColumn(), 8);
}

}  // namespace
