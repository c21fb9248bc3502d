#include "analysis/LineServices.h"

#include <gtest/gtest.h>

#include "analysis/LinkDictionary.h"
#include "policy/FileControl.h"
#include "tags/TagServices.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

TEST(HeadingLevelFromType, EachFamilyAtItsEdges) {
  const struct {
    int type;
    int level;
    bool levelHeading;
  } kCases[] = {
      {100, 0, false}, {101, 1, true},  {106, 6, true},  {107, 0, false}, {110, 0, false},
      {111, 1, false}, {116, 6, false}, {117, 0, false}, {120, 2, false}, {121, 2, false},
      {122, 0, false}, {130, 0, false}, {131, 1, false}, {136, 6, false}, {150, 0, false},
      {151, 1, false}, {156, 6, false}, {157, 0, false}, {250, 2, false}, {241, 0, false},
      {-1, 0, false},  {0, 0, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(HeadingLevelFromType(c.type), c.level);
    EXPECT_EQ(IsLevelHeadingType(c.type), c.levelHeading);
  }
}

TEST(PointSizeToHtmlSize, MapsEachBandAtItsEdges) {
  const struct {
    int points;
    int size;
  } kCases[] = {
      {0, 1},  {8, 1},  {9, 2},  {11, 2}, {12, 3}, {13, 3},
      {14, 4}, {16, 4}, {17, 5}, {22, 5}, {23, 6}, {72, 6},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.points);
    EXPECT_EQ(PointSizeToHtmlSize(c.points), c.size);
  }
}

TEST(EscapeRtfText, EscapesOnceOnly) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"plain", "plain"},
      {"a\\b {c}", "a\\\\b \\'7bc\\'7d"},
      {"already \\\\ escaped {x}", "already \\\\ escaped {x}"},
      {"has \\'7b escape \\x", "has \\'7b escape \\x"},
      {"}{", "\\'7d\\'7b"},
      {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    EscapeRtfText(text);
    EXPECT_STREQ(text.GetText(), c.out);
    EscapeRtfText(text);  // a second pass changes nothing
    EXPECT_STREQ(text.GetText(), c.out);
  }
}

struct ArgumentCase {
  const char* args;
  const char* delimiters;
  int dropNames;
  const char* out;
};

TEST(NormaliseArgumentList, RedelimitsWithAFreeSeparator) {
  constexpr ArgumentCase kCases[] = {
      {" a, b, c", ",", 0, "\xA1" "a\xA1" "b\xA1" "c"},
      {" \"x, y\", z", ",", 0, "\xA1x, y\xA1z"},            // quotes protect the delimiter
      {" name=value, url=http://h/a=b", ",", 1, "\xA1value\xA1url=http://h/a=b"},
      {" name=value", ",", 0, "\xA1name=value"},
      {" \"say \"\"hi\"\"\"", ",", 0, "\xA1say \"hi\""},    // doubled quotes made single
      {" a;b, c", ";,", 0, "\xA1" "a\xA1" "b, c"},          // the first delimiter found wins
      {" a b", ";", 0, "\xA1" "a b"},
      {" a,,b", ",", 0, "\xA1" "a\xA1\xA1" "b"},            // empty fields stay
      {" \xA1 x", ",", 0, "\xB1\xA1 x"},                    // separator taken: next one
      {"", ",", 0, ""},
  };
  for (const ArgumentCase& c : kCases) {
    SCOPED_TRACE(c.args);
    TextString out("old");
    EXPECT_EQ(NormaliseArgumentList(TextString(c.args), c.delimiters, c.dropNames, out), 1);
    EXPECT_STREQ(out.GetText(), c.out);
  }
}

TEST(NormaliseArgumentList, FailsWhenEverySeparatorIsTaken) {
  TextString args(" \xA1\xB1|=~#?/\\+^&*");
  TextString out("old");
  EXPECT_EQ(NormaliseArgumentList(args, ",", 0, out), 0);
  EXPECT_STREQ(out.GetText(), "old");
}

TEST(LinkDictionary, ParsesUpdatesAndWritesDefinitions) {
  FileControl policies;
  LinkDictionary dictionary;
  EXPECT_NE(dictionary.ParseDefinition(policies,
                                       TextString("Link definition: \"Kel\" = \"Kelvane\" + "
                                                  "\"http://k.example/\""),
                                       0),
            0);
  EXPECT_NE(dictionary.ParseDefinition(policies,
                                       TextString("Link definition: \"Kel\" = \"K2\" + "
                                                  "\"http://k2.example/\""),
                                       0),
            0);
  EXPECT_EQ(dictionary.ParseDefinition(policies, TextString("Link definition: \"a\""), 0),
            0);
  EXPECT_EQ(dictionary.ParseDefinition(policies,
                                       TextString("Link definition: \"a\" = \"b\" + \"\""), 0),
            0);  // no address
  ASSERT_EQ(dictionary.GetCount(), 1);

  StringList lines;
  TextFile writer;
  writer.SetSink(&lines);
  EXPECT_EQ(dictionary.Write(TextString("unused"), writer), 1);
  ASSERT_EQ(lines.GetCount(), 1);
  TextString written;
  lines.Join(written, "|");
  EXPECT_STREQ(written.GetText(), "Link definition: \"Kel\" = \"K2\" + \"http://k2.example/\"");

  TextString result;
  EXPECT_EQ(dictionary.Apply(policies, TextString("Kel"), result), 0);  // not linked yet
  dictionary.Clear();
  EXPECT_EQ(dictionary.Apply(policies, TextString("Kel"), result), 1);
  EXPECT_STREQ(result.GetText(), "Kel");
}

TEST(LinkDictionary, ReportsAFileThatCannotBeOpened) {
  FileControl policies;
  LinkDictionary dictionary;
  TextString error;
  EXPECT_EQ(dictionary.LoadFile(policies, TextString("/nonexistent/links.txt"), error), 0);
  EXPECT_STREQ(error.GetText(),
               "** Failed to open Link Dictionary file /nonexistent/links.txt ***");
}

TEST(TagServices, ParsesAndReadsTagArguments) {
  FileControl policies;
  TextString text("FONT  face=Arial, size=\"12\", \"\"");
  ASSERT_TRUE(ParseTagArguments(policies, text, "FONT"));
  EXPECT_STREQ(text.GetText(), "\xA1" "Arial\xA1" "12\xA1");
  EXPECT_EQ(CountTagFields(text), 3);
  TextString field;
  EXPECT_EQ(GetTagText(policies, text, 1, field), 1);
  EXPECT_STREQ(field.GetText(), "Arial");
  EXPECT_EQ(GetTagText(policies, text, 2, field), 1);
  EXPECT_STREQ(field.GetText(), "12");
  EXPECT_EQ(GetTagText(policies, text, 3, field), 0);  // empty
  EXPECT_EQ(GetTagText(policies, text, 4, field), 0);  // missing
  EXPECT_EQ(GetTagText(policies, text, 0, field), 0);
  EXPECT_EQ(GetTagTextOrDefault(policies, text, 3, field, "dflt"), 1);
  EXPECT_STREQ(field.GetText(), "dflt");
}

}  // namespace
