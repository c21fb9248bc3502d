#include "policy/HeadDetails.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const TextString& t) { return std::string(t.GetText(), t.GetLength()); }

std::string FormatOf(const HeadDetails& d, int levels) {
  TextString out("stale");
  EXPECT_EQ(d.Format(levels, out), 1);
  return Bytes(out);
}

// The fields the text form carries.
void ExpectSameForm(const HeadDetails& a, const HeadDetails& b) {
  EXPECT_EQ(a.style, b.style);
  EXPECT_EQ(a.indent, b.indent);
  EXPECT_EQ(Bytes(a.prefixWords), Bytes(b.prefixWords));
  EXPECT_EQ(a.wordCount, b.wordCount);
  EXPECT_EQ(a.prefixGiven, b.prefixGiven);
  EXPECT_EQ(a.numberedParagraph, b.numberedParagraph);
  EXPECT_EQ(Bytes(a.before), Bytes(b.before));
  EXPECT_EQ(Bytes(a.after), Bytes(b.after));
  EXPECT_EQ(a.trailingX, b.trailingX);
  EXPECT_EQ(a.separator, b.separator);
}

}  // namespace

TEST(HeadDetails, FormatsEachStyle) {
  struct Case {
    int style;
    int levels;
    const char* before;
    const char* after;
    int trailingX;
    int indent;
    const char* expected;
  };
  const Case cases[] = {
      {1, 0, "", "", 0, -1, "\"\" N at indent -1"},
      {1, 1, "[", "]", 0, 4, "\"\" [N.N] at indent 4"},
      {1, 2, "", ")", 1, 0, "\"\" N.N.N)x at indent 0"},
      {2, 3, "(", ")", 0, 2, "\"\" (a) at indent 2"},  // letters ignore the level count
      {3, 0, "", ".", 0, 8, "\"\" i. at indent 8"},
      {4, 0, "", "", 1, 1, "\"\" Ax at indent 1"},
      {5, 0, "", " -", 0, 12, "\"\" I - at indent 12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    HeadDetails d;
    d.style = c.style;
    d.before = c.before;
    d.after = c.after;
    d.trailingX = c.trailingX;
    d.indent = c.indent;
    EXPECT_EQ(FormatOf(d, c.levels), c.expected);
  }
}

TEST(HeadDetails, FormatsPrefixAndNumberedParagraph) {
  HeadDetails d;
  d.prefixWords = "Chapter";
  EXPECT_EQ(FormatOf(d, 0), "\"\" N at indent -1");  // words only when given or counted
  d.prefixGiven = 1;
  EXPECT_EQ(FormatOf(d, 0), "\"Chapter\" N at indent -1");
  d.prefixGiven = 0;
  d.wordCount = 2;
  EXPECT_EQ(FormatOf(d, 0), "\"Chapter\" N at indent -1");
  d.separator = '-';
  EXPECT_EQ(FormatOf(d, 1), "\"Chapter\" N-N at indent -1");
  d.numberedParagraph = 1;
  EXPECT_EQ(FormatOf(d, 3), "\"\" Numbered Paragraph");
}

TEST(HeadDetails, ParsesTextForms) {
  struct Case {
    const char* text;
    int result;
    int style;
    int indent;
    const char* prefix;
    int wordCount;
    int prefixGiven;
    const char* before;
    const char* after;
    int trailingX;
    int numberedParagraph;
  };
  const Case cases[] = {
      {"\"Chapter\" N at indent 0", 1, 1, 0, "Chapter", 1, 1, "", "", 0, 0},
      {"  \"\" [N.N] at indent 4  ", 1, 1, 4, "", 1, 0, "[", "]", 0, 0},
      {"\"\" (a)x at indent 2", 1, 2, 2, "", 1, 0, "(", ")", 1, 0},
      {"\"\" i. at indent -1", 1, 3, -1, "", 1, 0, "", ".", 0, 0},
      {"\"Part One\" <A> at indent 6", 1, 4, 6, "Part One", 2, 1, "<", ">", 0, 0},
      {"\"\" I at indent\t7", 1, 5, 7, "", 1, 0, "", "", 0, 0},
      {"\"a b c d e f g h i j k\" N at indent 0", 1, 1, 0, "a b c d e f g h i j k", 9, 1, "", "",
       0, 0},
      {"\"\" Numbered Paragraph", 1, 1, -1, "", 1, 0, "", "", 0, 1},
      {"\"Sec\" x Numbered Paragraph N at indent 3", 1, 1, 3, "Sec", 1, 1, "", "", 0, 1},
      {"N", 1, 1, -1, "", 1, 0, "", "", 0, 0},   // no "at indent": indent stays unset
      {"\"\" 1.2 at indent 4", 0, 1, -1, "", 1, 0, "", "", 0, 0},
      {"\"\" x at indent 4", 0, 1, -1, "", 1, 0, "", "", 1, 0},
      {"\"Chapter\" at indent 4", 0, 1, -1, "Chapter", 1, 1, "", "", 0, 0},
      {"", 0, 1, -1, "", 1, 0, "", "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HeadDetails d;
    d.indent = 99;
    d.separator = ':';
    EXPECT_EQ(d.Parse(0, TextString(c.text)), c.result);
    EXPECT_EQ(d.defined, c.result);
    EXPECT_EQ(d.style, c.style);
    EXPECT_EQ(d.indent, c.indent);
    EXPECT_EQ(Bytes(d.prefixWords), c.prefix);
    EXPECT_EQ(d.wordCount, c.wordCount);
    EXPECT_EQ(d.prefixGiven, c.prefixGiven);
    EXPECT_EQ(Bytes(d.before), c.before);
    EXPECT_EQ(Bytes(d.after), c.after);
    EXPECT_EQ(d.trailingX, c.trailingX);
    EXPECT_EQ(d.numberedParagraph, c.numberedParagraph);
    EXPECT_EQ(d.separator, '.');  // never read from the text
  }
}

TEST(HeadDetails, TextFormRoundTrips) {
  struct Case {
    const char* text;
    int levels;
  };
  // Each is exactly what Format writes for the record Parse builds from it.
  const Case cases[] = {
      {"\"\" N at indent -1", 0},
      {"\"Chapter\" N at indent 0", 0},
      {"\"\" [N.N] at indent 4", 1},
      {"\"Section\" N.N.N) at indent 2", 2},
      {"\"\" (a)x at indent 3", 0},
      {"\"Part\" i. at indent 0", 0},
      {"\"Appendix A\" A: at indent 5", 0},
      {"\"\" <I> at indent 10", 0},
      {"\"\" Numbered Paragraph", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HeadDetails parsed;
    ASSERT_EQ(parsed.Parse(c.levels, TextString(c.text)), 1);
    const std::string written = FormatOf(parsed, c.levels);
    EXPECT_EQ(written, c.text);
    HeadDetails again;
    ASSERT_EQ(again.Parse(c.levels, TextString(written.c_str())), 1);
    ExpectSameForm(parsed, again);
  }
}

TEST(HeadDetails, MergeKeepsTargetValuesWhereSourceIsUnset) {
  HeadDetails target;
  target.indent = 6;
  target.furtherValue1 = 3;
  target.furtherValue2 = 4;
  target.after = ")";

  HeadDetails source;
  source.style = HeadDetails::kUpperRoman;
  source.furtherValue2 = 9;
  source.numberingWords[1] = "Article";
  source.numberingWordEnabled[1] = 1;
  source.noJoin = 1;
  target.MergeFrom(source);
  EXPECT_EQ(target.indent, 6);
  EXPECT_EQ(target.furtherValue1, 3);
  EXPECT_EQ(target.furtherValue2, 9);
  EXPECT_EQ(target.style, HeadDetails::kUpperRoman);
  EXPECT_EQ(Bytes(target.after), "");  // every other field is taken
  EXPECT_EQ(Bytes(target.numberingWords[1]), "Article");
  EXPECT_EQ(target.numberingWordEnabled[1], 1);
  EXPECT_EQ(target.noJoin, 1);

  source.indent = 2;
  target.MergeFrom(source);
  EXPECT_EQ(target.indent, 2);

  HeadDetails copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.indent, 2);
  EXPECT_EQ(copy.furtherValue1, -1);
  ExpectSameForm(copy, source);

  copy.Reset();
  ExpectSameForm(copy, HeadDetails());
  EXPECT_EQ(copy.noJoin, 0);
  EXPECT_EQ(copy.numberingWordEnabled[1], 0);
  EXPECT_EQ(Bytes(copy.numberingWords[1]), "");
}
