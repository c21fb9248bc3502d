#include "engine/LinkText.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "policy/ConversionOptions.h"
#include "policy/FileControl.h"
#include "support/Growth.h"
#include "text/StringList.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// ---- DetectUrls ----

struct UrlCase {
  int mode;
  const char* word;
  int html;
  int found;
  const char* link;  // the link text when found
};

TEST(DetectUrls, CutsTheLinkTextOutOfAWord) {
  constexpr int kWeb = kDetectWebAddress;
  constexpr int kMail = kDetectEmailAddress;
  constexpr int kNews = kDetectNewsGroup;
  const UrlCase kCases[] = {
      {kWeb, "http://www.example.com/", 0, 1, "http://www.example.com/"},
      // Possessive and full stop after the address.
      {kWeb, "http://www.example.com's.", 0, 1, "http://www.example.com"},
      {kWeb, "(http://www.example.com/a),", 0, 1, "http://www.example.com/a"},
      {kWeb, "<URL:http://www.example.com/>", 0, 1, "http://www.example.com/"},
      {kWeb, "&lt;http://www.example.com/&gt;", 0, 1, "http://www.example.com/"},
      {kWeb, "HREF=\"http://www.example.com/", 0, 1, "http://www.example.com/"},
      {kMail, "mailto:someone@example.com.", 0, 1, "someone@example.com"},
      {kNews, "news:comp.lang.misc", 0, 1, "comp.lang.misc"},
      {kNews, "snews:comp.lang.misc", 0, 1, "comp.lang.misc"},
      // Only the first line counts.
      {kWeb, "http://www.example.com/\nmore", 0, 1, "http://www.example.com/"},
      // Square brackets inside: web addresses keep them, other kinds are refused.
      {kWeb, "http://www.example.com/[1]/x", 0, 1, "http://www.example.com/[1]/x"},
      {kMail, "a[1]@example.com", 0, 0, ""},
      {kNews, "comp.[lang]", 0, 0, ""},
      // Too short for the scheme.
      {kWeb, "ftp.abc", 0, 0, ""},
      {kWeb, "ftp.abcd", 0, 1, "ftp.abcd"},
      {kWeb, "http://a", 0, 0, ""},
      {kWeb, "http://ab", 0, 1, "http://ab"},
      {kWeb, "telnet://a", 0, 0, ""},
      {kWeb, "telnet://ab", 0, 1, "telnet://ab"},
      // Refused characters.
      {kWeb, "http://example.com/a!b", 0, 0, ""},
      {kWeb, "http://example.com/a*b", 0, 0, ""},
      {kWeb, "http://example.com/(a)", 0, 0, ""},
      {kWeb, "http://example.com/a&lt;b", 0, 0, ""},
      // Quotes: a pair at both ends goes; one quote keeps the longer side.
      {kWeb, "\"http://www.example.com/\"", 0, 1, "http://www.example.com/"},
      {kWeb, "\"http://www.example.com/", 0, 1, "http://www.example.com/"},
      {kWeb, "http://www.example.com/\"x", 0, 1, "http://www.example.com/"},
      {kWeb, "http://a.com/\"x\"y", 0, 1, "http://a.com/\"x\"y"},
      {kMail, "\"x\"y@example.com", 0, 1, "\"x\"y@example.com"},
      {kMail, "\"x\"y", 0, 0, ""},  // a quoted start needs one "@"
      // Nothing left.
      {kWeb, "...", 0, 0, ""},
      // Markup in HTML output.
      {kWeb, "<a href=\"x\">http://www.example.com/</a>", 1, 1, "http://www.example.com/"},
      {kWeb, "http://www.example.com/<br>", 1, 1, "http://www.example.com/"},
  };
  for (const UrlCase& c : kCases) {
    SCOPED_TRACE(c.word);
    TextString link("untouched");
    EXPECT_EQ(DetectUrls(c.mode, TextString(c.word), link, c.html), c.found);
    EXPECT_EQ(Str(link), c.found ? c.link : "untouched");
  }
}

TEST(DetectUrls, AnEmptyWordIsFoundWithoutChange) {
  TextString link("untouched");
  EXPECT_EQ(DetectUrls(kDetectWebAddress, TextString(), link, 0), 1);
  EXPECT_EQ(Str(link), "untouched");
}

// ---- ExtractInputLinks ----

TEST(ExtractInputLinks, KeepsTheLinkTextAndDropsTheAnchors) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"see <a href=\"x.html\">the page</a> now", "see the page now"},
      {"<A HREF=x>one</A> and <a name=y>two</a>", "one and two"},
      {"no closing <a href=x>text", "no closing <a href=x>text"},
      {"no end <a href=x", "no end <a href=x"},
      // Other tags that begin with "a" are not anchors.
      {"<abbr title=t>ab</abbr> <a href=x>link</a>", "<abbr title=t>ab</abbr> link"},
      // A stray closing tag before the anchor stays where it is.
      {"x</a> <a href=1>y</a>", "x</a> y"},
      // An anchor inside another's link text is taken out too.
      {"<a href=1>x <a href=2>y</a> z</a>!", "x y z!"},
      {"plain", "plain"},
  };
  FileControl fc;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString out;
    ExtractInputLinks(fc, TextString(c.in), out);
    EXPECT_EQ(Str(out), c.out);
  }
}

TEST(ExtractInputLinksGrowth, ManyAnchorsOnOneLineTakeLinearTime) {
  // A fresh run state for every measurement: the anchors of one run would otherwise be in the
  // dictionary when the next is timed, and the sizes would be measured against different work.
  auto work = [](int n) {
    Context ctx(kProductKelvane, kOutputRtf);
    FileControl& fc = ctx.GetFileControl();
    fc.AttachContext(&ctx);
    std::string text;
    for (int i = 0; i < n; ++i)
      text += "<a href=x>link" + std::to_string(i) + "</a> ";
    const TextString in(text.c_str());
    TextString out;
    return TimeOf([&] { ExtractInputLinks(fc, in, out); });
  };
  EXPECT_LT(SixteenfoldGrowth(500, work, 5), kQuadraticGrowth);
}

TEST(ExtractInputLinks, TheDictionaryKeepsNoAnchorDuringAPass) {
  Context ctx(kProductKelvane, kOutputRtf);
  FileControl& fc = ctx.GetFileControl();
  fc.AttachContext(&ctx);
  const int before = fc.GetLinkCount();
  TextString out;
  ExtractInputLinks(fc, TextString("<a href=x><b>bold</b> link</a> bold link"), out);
  EXPECT_EQ(Str(out), "<b>bold</b> link bold link");
  EXPECT_EQ(fc.GetLinkCount(), before);
}

// ---- Argument lists ----

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

TEST(GetArgumentField, ReadsFieldsOfANormalisedList) {
  const TextString args("|one|\"two\"||four");
  const struct {
    int field;
    bool found;
    const char* text;
  } kCases[] = {{1, true, "one"}, {2, true, "two"}, {3, false, ""}, {4, true, "four"},
                {5, false, ""},   {0, false, ""},   {-1, false, ""}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.field);
    TextString out("stale");
    EXPECT_EQ(GetArgumentField(args, c.field, out), c.found);
    EXPECT_EQ(Str(out), c.text);
  }
}

// ---- EntityToUtf8 ----

TEST(EntityToUtf8, EncodesWindows1252AndUnicodeCodes) {
  EntityTable table;
  table.Fill();
  const struct {
    const char* entity;
    int result;
    int code;
    int bytes[3];
  } kCases[] = {
      {"&euro;", 1, 8364, {0xE2, 0x82, 0xAC}},
      {"&#128;", 1, 8364, {0xE2, 0x82, 0xAC}},  // read as Windows-1252
      {"&#150;", 1, 8211, {0xE2, 0x80, 0x93}},
      {"&#129;", 1, 129, {0xC2, 0x81, 0}},      // unassigned: stands for itself
      {"&#159;", 1, 376, {0xC5, 0xB8, 0}},
      {"&amp;", 1, 38, {38, 0, 0}},
      {"&#127;", 1, 127, {127, 0, 0}},
      {"&eacute;", 1, 233, {0xC3, 0xA9, 0}},
      {"&#2047;", 1, 2047, {0xDF, 0xBF, 0}},
      {"&#2048;", 1, 2048, {0xE0, 0xA0, 0x80}},
      {"&#xFFFF;", 1, 0xFFFF, {0xEF, 0xBF, 0xBF}},
      {"&#x10000;", 0, 0x10000, {0, 0, 0}},
      {"&nosuch;", 0, -1, {0, 0, 0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.entity);
    int code = 0;
    int b1 = 9;
    int b2 = 9;
    int b3 = 9;
    EXPECT_EQ(EntityToUtf8(table, c.entity, code, b1, b2, b3), c.result);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(b1, c.bytes[0]);
    EXPECT_EQ(b2, c.bytes[1]);
    EXPECT_EQ(b3, c.bytes[2]);
  }
}

// ---- DecodeEntities ----

class DecodeEntitiesTest : public ::testing::Test {
 protected:
  DecodeEntitiesTest() {
    table.Fill();
    options.plainCharacters = 0;
  }

  std::string Decode(const char* text, int* count = nullptr) {
    TextString out("stale");
    const int n = DecodeEntities(table, options, TextString(text), out, &names, &converted);
    if (count != nullptr)
      *count = n;
    return Str(out);
  }

  EntityTable table;
  ConversionOptions options;
  StringList names;
  int converted = 0;
};

TEST_F(DecodeEntitiesTest, SingleByteOutput) {
  const struct {
    int plain;
    const char* in;
    const char* out;
    int count;
  } kCases[] = {
      {0, "caf&eacute; &amp; bar", "caf\xE9 & bar", 2},
      // A decoded "&amp;" is not read again.
      {0, "&amp;lt; stays", "&lt; stays", 1},
      {0, "&#65;&#x42;", "AB", 2},
      {0, "&euro; &#256; &#255;", "&euro; &#256; \xFF", 1},  // no byte above 255
      {0, "&#0; &nosuch; &", "&#0; &nosuch; &", 0},
      {0, "&nbsp;", "\xA0", 1},
      {1, "a&nbsp;b&#160;c", "a b c", 2},
      // All capitals are read in lower case, unless the capitals name a character.
      {0, "&EACUTE; &ETH; &AMP;", "\xE9 \xD0 &", 3},
      // ";" too far from "&".
      {0, "&thetasym; &abcdefgh;", "&thetasym; &abcdefgh;", 0},
      {0, "no entities;", "no entities;", 0},
      {0, "&", "&", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    options.plainCharacters = c.plain;
    int count = -1;
    EXPECT_EQ(Decode(c.in, &count), c.out);
    EXPECT_EQ(count, c.count);
  }
  EXPECT_EQ(converted, 0);
  EXPECT_EQ(names.GetCount(), 0);
}

TEST_F(DecodeEntitiesTest, MultiByteOutputPrefersSingleBytesUntilOneCharacterNeedsMore) {
  options.multiByteOutput = 1;
  options.latin1Output = 1;
  // Latin-1 and ASCII go out as single bytes; the euro needs three bytes, and from then on
  // every character is UTF-8.
  EXPECT_EQ(Decode("&eacute;&amp;&euro;&eacute;&euro;"),
            "\xE9&\xE2\x82\xAC\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(converted, 1);
  ASSERT_EQ(names.GetCount(), 2);  // each name once
  EXPECT_STREQ(names.GetItem(0)->text.GetText(), "&euro;");
  EXPECT_STREQ(names.GetItem(1)->text.GetText(), "&eacute;");
}

TEST_F(DecodeEntitiesTest, MultiByteOutputWithPlainCharactersAndSubstitute) {
  options.multiByteOutput = 1;
  options.plainCharacters = 1;
  options.suppressUnicode = 1;
  options.unicodeReplacement.Assign("#");
  // The dash has a single-byte form; the Greek letter and, without the Latin-1 setting, the
  // accented letter have none: the substitute stands in, and the text does not turn to UTF-8.
  EXPECT_EQ(Decode("&ndash;&alpha;&alpha;&amp;&eacute;"), "-##&#");
  EXPECT_EQ(names.GetCount(), 2);
  EXPECT_EQ(converted, 1);
}

TEST_F(DecodeEntitiesTest, FixedCharacterSetWritesUtf8) {
  options.multiByteOutput = 1;
  options.latin1Output = 1;
  options.characterSetName.Assign("utf-8");
  EXPECT_EQ(Decode("&eacute;"), "\xC3\xA9");
  options.characterSetName.Assign("AUTO");
  EXPECT_EQ(Decode("&eacute;"), "\xE9");
}

TEST_F(DecodeEntitiesTest, DecodesInPlace) {
  TextString text("&lt;tag&gt;");
  EXPECT_EQ(DecodeEntities(table, options, text, text), 2);
  EXPECT_EQ(Str(text), "<tag>");
}

// ---- Safe names ----

TEST(MakeSafeSplitName, PlainVowelsUnderscoresAndNoTrailingUnderscore) {
  EntityTable table;
  table.Fill();
  FileControl fc;
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"Caf&eacute; Cr\xE8me", "Cafe_Creme"},
      {"What? (Part 1)!!", "What___Part_1"},
      {"a;b$c-d_e~f", "a;b$c-d_e~f"},
      {"\xA3" "5 \xDF", "_5"},
      {"all gone: !?", "all_gone"},
      {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString out("stale");
    MakeSafeSplitName(fc, table, TextString(c.in), out);
    EXPECT_EQ(Str(out), c.out);
  }
}

TEST(MakeSafeAnchorText, DecodesThenMakesASafeFileName) {
  EntityTable table;
  table.Fill();
  FileControl fc;
  TextString out;
  MakeSafeAnchorText(fc, table, TextString("Caf&eacute; &amp; Bar&alpha;"), out);
  // Single-byte output by default: &alpha; has no byte and stays an entity.
  EXPECT_EQ(Str(out), "cafe___bar_alpha;");
}

}  // namespace
