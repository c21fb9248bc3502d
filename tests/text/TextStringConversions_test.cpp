#include "text/TextString.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

std::string Bytes(const TextString& s) { return std::string(s.GetText(), static_cast<size_t>(s.GetLength())); }

TextString FromBytes(std::string_view bytes) {
  TextString s;
  EXPECT_TRUE(s.AssignBytes(bytes.data(), static_cast<int>(bytes.size())));
  return s;
}

std::string ReadFixture(const char* name) {
  std::ifstream in(std::string(KELVANE_FIXTURES_DIR) + "/text/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// ---- Code pages ----

TEST(TextStringConversions, MacPunctuation) {
  TextString s("\x92\xD5\x96\xA5\xAE\xB4\xD2\xD3\xD4\xE9x");
  s.ConvertMacCharacters();
  EXPECT_EQ(Bytes(s), "''-->*\"\"`\xE9x");
}

TEST(TextStringConversions, WindowsPunctuation) {
  struct Case {
    const char* text;
    int keepDashes;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"\x91q\x92 \x93q\x94 \x95 \xA0", 0, "`q' \"q\" -  "},
      {"a\x96" "b\x97" "c", 0, "a-b--c"},  // the long dash grows the text by one
      {"a\x96" "b\x97" "c", 1, "a\x96" "b\x97" "c"},
      {"plain", 0, "plain"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    s.ConvertWindowsPunctuation(c.keepDashes);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextStringConversions, OemToWindows) {
  struct Case {
    const char* text;
    int store;
    int unknownToQuestion;
    int convertBox;
    const char* expected;
    int runs;
  };
  constexpr Case kCases[] = {
      // letters and signs; 0x98, 0x9E, 0xA7, 0xAA, 0xF9, 0xFA, 0xFC have their own forms
      {"\x80\x81\x82\x9B\xA8\xAE\xF1\xF8\xFD", 0, 0, 0, "\xC7\xFC\xE9\xA2\xBF\xAB\xB1\xB0\xB2", 0},
      {"\x98\x9E\xA7\xAA\xF9\xFA\xFC", 0, 0, 0, "\xFD.\xB0\xCA\x95.n", 0},
      // unknown bytes: kept, or '?' on request
      {"\xA9\xB0\xDB\xFE", 0, 0, 0, "\xA9\xB0\xDB\xFE", 0},
      {"\xA9\xB0\xDB\xFE", 0, 1, 0, "????", 0},
      // box drawing: left alone unless asked, replaced only when stored
      {"\xDA\xC4\xBF", 0, 0, 0, "\xDA\xC4\xBF", 0},
      {"\xDA\xC4\xC4\xBF", 0, 0, 1, "\xDA\xC4\xC4\xBF", 2},
      {"\xDA\xC4\xC4\xBF\xB3\xBA\xCD", 1, 0, 1, "+--+||=", 2},
      {"\xC9\xCD\xBB", 1, 1, 0, "+=+", 1},
      {"\xC4\xCD", 1, 0, 1, "-=", 0},  // a single line followed by a double one
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    int runs = 0;
    s.ConvertOemCharacters(c.store, c.unknownToQuestion, c.convertBox, &runs);
    EXPECT_EQ(Bytes(s), c.expected);
    EXPECT_EQ(runs, c.runs);
  }
}

TEST(TextStringConversions, Koi8rToWindows1251) {
  // "Privet, Mir" in Cyrillic, then yo in both cases, box drawing and signs
  TextString s("\xF0\xD2\xC9\xD7\xC5\xD4, \xED\xC9\xD2 \xA3\xB3 \x80\x81\xA0\x9D\x9F\x95\x9A\x9C\xBF \x8B\x9E");
  s.ConvertKoi8rToCp1251();
  EXPECT_EQ(Bytes(s), "\xCF\xF0\xE8\xE2\xE5\xF2, \xCC\xE8\xF0 \xB8\xA8 -|=2/\x9E\xA0\xB0\xA9 ??");
}

TEST(TextStringConversions, Utf16ToUtf8) {
  struct Case {
    std::string_view input;
    int bigEndian;
    std::string_view expected;
    bool allAscii;
  };
  const Case kCases[] = {
      {{"A\0B\0", 4}, 0, "AB", true},
      {{"\0A\0B", 4}, 1, "AB", true},
      {{"\xE9\0", 2}, 0, "\xC3\xA9", false},
      {{"\xAC\x20", 2}, 0, "\xE2\x82\xAC", false},
      {{"A\0B", 3}, 0, "A", true},  // a trailing odd byte is dropped
      // a surrogate pair is one four-byte character
      {{"\x34\xD8\x1E\xDD", 4}, 0, "\xF0\x9D\x84\x9E", false},
      {{"\xD8\x34\xDD\x1E", 4}, 1, "\xF0\x9D\x84\x9E", false},
      // lone surrogates have no UTF-8 form
      {{"\x34\xD8" "A\0", 4}, 0, "\xEF\xBF\xBD" "A", false},
      {{"\x1E\xDD\x34\xD8", 4}, 0, "\xEF\xBF\xBD\xEF\xBF\xBD", false},
      {{"", 0}, 0, "", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.input)));
    TextString s = FromBytes(c.input);
    EXPECT_EQ(s.Utf16ToUtf8(c.bigEndian), c.allAscii);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextStringConversions, Utf16FileWithSurrogatePairs) {
  const std::string raw = ReadFixture("utf16le-surrogate-pair.txt");
  ASSERT_FALSE(raw.empty());
  TextString s = FromBytes(raw);
  EXPECT_FALSE(s.Utf16ToUtf8(0));
  // byte-order mark, "Clef ", G clef, " and ", face, a lone high surrogate, newline
  EXPECT_EQ(Bytes(s), "\xEF\xBB\xBF" "Clef \xF0\x9D\x84\x9E and \xF0\x9F\x98\x80 \xEF\xBF\xBD\n");
}

TEST(TextStringConversions, ByteEscapes) {
  struct Case {
    const char* text;
    int printableOnly;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"=41=0D=42", 1, "A=0DB"},  // 13 is outside 32-127
      {"=41=0D", 0, "A\r"},
      {"=3D41", 0, "=41"},        // scanning goes on after the new byte
      {"a=4", 0, "a=4"},           // too short
      {"=4G=", 0, "=4G="},
      {"=e9", 0, "\xE9"},
      {"=e9", 1, "=e9"},
      {"no escapes", 0, "no escapes"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    s.DecodeQuotedPrintable(c.printableOnly);
    EXPECT_EQ(Bytes(s), c.expected);
  }
  TextString url("a%20b%0Ac%7e%zz%4");
  url.DecodePercentEscapes();
  EXPECT_EQ(Bytes(url), "a b%0Ac~%zz%4");

  TextString high("a\xE9\x80z\xFF");
  high.EscapeHighCharacters();
  EXPECT_EQ(Bytes(high), "a\\'e9\\'80z\\'ff");
}

TEST(TextStringConversions, EscapeSequences) {
  struct Case {
    const char* text;
    int modeBefore;
    const char* expected;
    int modeAfter;
    bool escapeSeen;
    const char* message;
  };
  constexpr Case kCases[] = {
      {"plain lqqk", 0, "plain lqqk", 0, false, ""},
      {"\x1B(0lqqk\x1B(B lqqk", 0, "+--+ lqqk", 0, true, ""},
      {"x\x1B(0", 0, "x", 1, true, ""},
      {"tqu n", 1, "+-+ n", 1, false, ""},  // the mode carries over from the last line
      {"lq\x1B[3;4 Gqq", 1, "+-qq", 0, true, ""},
      {"a\x1B[1mb", 0, "ab", 0, true, "Unknown Escape sequence : ESC [1m"},
      {"\x1B[", 0, "", 0, true, "Unknown Escape sequence : ESC ["},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    TextString message;
    int mode = c.modeBefore;
    int seen = 0;
    s.ConvertEscapeSequences(&mode, &seen, message);
    EXPECT_EQ(Bytes(s), c.expected);
    EXPECT_EQ(mode, c.modeAfter);
    EXPECT_EQ(seen != 0, c.escapeSeen);
    EXPECT_EQ(Bytes(message), c.message);
  }
}

// ---- Number forms ----

TEST(TextStringNumbers, AppendNumber) {
  struct Case {
    char style;
    int n;
    int trailingBlank;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {'a', 1, 0, "a"},        {'a', 26, 0, "z"},        {'a', 27, 0, "aa"},
      {'a', 52, 0, "az"},      {'a', 53, 0, "ba"},       {'a', 702, 0, "zz"},
      {'a', 703, 0, "aaa"},    {'A', 18278, 0, "ZZZ"},   {'a', 18279, 0, ""},
      {'a', 0, 0, ""},         {'a', -3, 1, " "},
      {'I', 1994, 1, "MCMXCIV "}, {'i', 3999, 0, "mmmcmxcix"}, {'i', 4, 0, "iv"},
      {'i', 4012, 0, "xii"},   // no thousands from 4,000
      {'i', 0, 0, ""},
      {'1', -5, 0, "-5"},      {'1', INT_MIN, 0, "-2147483648"}, {'x', 42, 1, "42 "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(1, c.style) + " " + std::to_string(c.n));
    TextString s("#");
    s.AppendNumber(c.style, c.n, c.trailingBlank);
    EXPECT_EQ(Bytes(s), std::string("#") + c.expected);
  }
  TextString s("n=");
  s += 7;
  EXPECT_EQ(Bytes(s), "n=7");
}

TEST(TextStringNumbers, ParseNumber) {
  struct Case {
    const char* text;
    char style;
    bool ok;
    int value;
  };
  constexpr Case kCases[] = {
      {" +12 ", '1', true, 12},
      {"-7", '1', true, -7},
      {"(12)", '1', true, 12},
      {"Section 12", '1', false, -1},  // a letter before the number
      {"12a", '1', false, -1},
      {"1.5", '1', false, -1},
      {"1-2", '1', false, -1},
      {"", '1', false, -1},
      {"+", '1', false, -1},
      {"2147483647", '1', true, INT_MAX},
      {"-2147483648", '1', true, INT_MIN},
      {"2147483648", '1', false, -1},  // out of the int range
      {"99999999999999999999999999999999999999999999", '1', false, -1},
      {"17", 'O', true, 15},
      {"18", 'O', false, -1},
      {"c", 'a', true, 3},
      {"  C2", 'A', true, 3},
      {"12", 'a', false, -1},
      {"xiv", 'i', true, 14},
      {"XLIX", 'I', true, 49},
      {"lxxxix", 'i', true, 89},
      {"nothing", 'i', true, 1},  // parts are found anywhere: the i of "nothing"
      {"empty", 'i', true, 0},
      {"ff", 'X', true, 255},
      {"7FFFFFFF", 'X', true, INT_MAX},
      {"80000000", 'X', false, -1},
      {"fg", 'X', false, -1},
      {"", 'X', false, -1},
      {"12", 'z', false, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " as " + c.style);
    int value = 99;
    EXPECT_EQ(TextString(c.text).ParseNumber(c.style, &value), c.ok);
    EXPECT_EQ(value, c.value);
  }
}

TEST(TextStringNumbers, ParseNumberOfAHugeRunOfDigits) {
  const std::string digits(100000, '9');
  int value = 0;
  EXPECT_FALSE(TextString(digits.c_str()).ParseNumber('1', &value));
  EXPECT_EQ(value, -1);
}

TEST(TextStringNumbers, Doubles) {
  TextString s("x=");
  s.AppendDouble(3.14159, 1);
  s.AppendDouble(-0.5, 0);
  EXPECT_EQ(Bytes(s), "x=3.142 -0.500");
  TextString huge;
  huge.AppendDouble(1e300, 0);
  EXPECT_EQ(huge.GetLength(), 305);
  // The widest double there is: a sign, 309 digits, the point and three decimals.
  TextString widest;
  widest.AppendDouble(-1.7976931348623157e308, 0);
  EXPECT_EQ(widest.GetLength(), 314);
  EXPECT_EQ(Bytes(widest).substr(0, 6), "-17976");
  EXPECT_EQ(Bytes(widest).substr(310), ".000");

  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  constexpr Case kCases[] = {
      {" 2.5 ", true, 2.5},    {"-.25", true, -0.25}, {"7.", true, 7.0},  {"(3)", true, 3.0},
      {"1.2.3", false, -1},    {"1e5", false, -1},    {"pi 3", false, -1}, {".", false, -1},
      {"", false, -1},         {"1-2", false, -1},    {"+", false, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    double value = 99;
    EXPECT_EQ(TextString(c.text).ParseDouble(&value), c.ok);
    EXPECT_DOUBLE_EQ(value, c.value);
  }
}

// ---- Scrambling ----

TEST(TextStringScramble, RoundTrips) {
  constexpr const char* kTexts[] = {
      "", "a", "Hello, World! 123", "\xE9 bytes outside the alphabet \t stay",
      "Registration key: ABCD-1234-efgh", "~^|\\`{}[]<>=+*&%$#@\"'()/_-?!:;.,",
  };
  for (const char* text : kTexts) {
    SCOPED_TRACE(text);
    TextString s(text);
    s.Unscramble(1);
    if (std::string_view(text).find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string_view::npos) {
      EXPECT_NE(Bytes(s), text);
    }
    TextString restored;
    restored.AssignUnscrambled(s.GetText());
    EXPECT_EQ(Bytes(restored), text);
  }
}

TEST(TextStringScramble, KeepsBytesOutsideTheAlphabet) {
  TextString s("a \t\xE9");
  s.Unscramble(1);
  EXPECT_EQ(Bytes(s).substr(1), " \t\xE9");
  EXPECT_NE(s.CharAt(0), 'a');
}
