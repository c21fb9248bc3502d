#include "tags/TagTextFilters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

using TagTextFiltersTest = ContextFixture;

TEST_F(TagTextFiltersTest, EscapingKeepsEmphasisMarkup) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"a{b}c", "a\\'7bb\\'7dc"},
      {"{\\b bold\\b0} {x}", "{\\b bold\\b0} \\'7bx\\'7d"},
      {"{\\b\\i both\\b0\\i0} and {\\i it\\i0}", "{\\b\\i both\\b0\\i0} and {\\i it\\i0}"},
      // The text comes from an escaped line: its escapes stay as they are.
      {"c:\\\\dir \\'7b{\\i x\\i0}\\'7d", "c:\\\\dir \\'7b{\\i x\\i0}\\'7d"},
      {"plain", "plain"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    EscapeKeepingEmphasis(fc, ctx, text);
    EXPECT_EQ(Str(text), c.out);
  }
}

TEST_F(TagTextFiltersTest, HeadingTagsResolveToTextOrABlank) {
  const struct {
    const char* in;
    int noEscape;
    const char* out;
  } kCases[] = {
      {"E = mc[[SUPER 2]] today", 1, "E = mc2 today"},
      {"H[[sub 2]]O", 1, "H2O"},
      {"[[BR]]Title[[FO , +2]] text", 1, "Title  text"},
      {"[[NOSUCH 1]] x", 1, "x"},  // unknown tags become a blank, unreported
      {"[[CAD 3]] y", 1, "[[CAD 3]] y"},
      {"a {b} [[SUPER 2]]", 0, "a \\'7bb\\'7d 2"},
      {"[[BR]][[BR]][[SUPER 3]]", 1, "3"},
      {"no tags", 1, "no tags"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString out;
    CleanHeadingTags(fc, ctx, c.noEscape, TextString(c.in), out);
    EXPECT_EQ(Str(out), c.out);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(TagTextFiltersTest, ListItemNumber) {
  EXPECT_EQ(GetListItemNumber(fc, ctx, TextString("$_$_LIST_ITEM 3")), 3);
  EXPECT_EQ(GetListItemNumber(fc, ctx, TextString("[[list_item 12]]")), 12);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(GetListItemNumber(fc, ctx, TextString("$_$_LIST_ITEM x")), -1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].substr(0, 28), "TAG ERROR: Failed to parse: ");
  EXPECT_EQ(GetListItemNumber(fc, ctx, TextString("[[FOO 3]]")), 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "TAG ERROR: Unrecognised tag \"FOO\" : [[FOO 3]]");
}

TEST_F(TagTextFiltersTest, FilterKeepsOrDropsTagsByKeyword) {
  const struct {
    const char* keep;
    const char* drop;
    const char* in;
    const char* out;
    int kept;
  } kCases[] = {
      {nullptr, nullptr, "a[[SUPER 2]]b[[SUB 3]]c", "abc", 0},
      {"SUPER", nullptr, "a[[SUPER 2]]b[[SUB 3]]c", "a[[SUPER 2]]bc", 1},
      {"super,BR", "SUPER", "[[BR]]a[[SUPER 2]]b[[SUB 3]]c", "[[BR]]a[[SUPER 2]]bc", 2},
      {nullptr, "SUB", "a[[SUPER 2]]b[[sub 3]]c", "a[[SUPER 2]]bc", 1},
      {"", "", "x[[NB 1]]y", "xy", 0},  // empty lists count as none
      {nullptr, nullptr, "a]] b [[BR]] c", "a]] b  c", 0},
      {nullptr, nullptr, "open [[BR only", "open [[BR only", 0},
      {nullptr, nullptr, "no tags", "no tags", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString out;
    EXPECT_EQ(FilterInlineTags(fc, ctx, c.keep, c.drop, TextString(c.in), out), c.kept);
    EXPECT_EQ(Str(out), c.out);
  }
}

TEST_F(TagTextFiltersTest, FilterOfMarkupTagsNamesThemWithoutBrackets) {
  TextString out;
  EXPECT_EQ(FilterDelimitedTags(fc, ctx, "<", ">", "b", nullptr,
                                TextString("<p>Some <b>bold</b> <i>text</i></p>"), out),
            2);
  EXPECT_EQ(Str(out), "Some <b>bold</b> text");
  EXPECT_EQ(FilterDelimitedTags(fc, ctx, "<!--", "-->", nullptr, nullptr,
                                TextString("a <!-- one --> b <!-- two -->"), out),
            0);
  EXPECT_EQ(Str(out), "a  b ");
  // The text may be its own output.
  TextString same("x<y>z");
  EXPECT_EQ(FilterDelimitedTags(fc, ctx, "<", ">", nullptr, nullptr, same, same), 0);
  EXPECT_EQ(Str(same), "xz");
}

}  // namespace
