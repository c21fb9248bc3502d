#include "analysis/LineServices.h"

#include <gtest/gtest.h>

#include "analysis/LinkDictionary.h"
#include "policy/FileControl.h"
#include "tags/TagServices.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

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
