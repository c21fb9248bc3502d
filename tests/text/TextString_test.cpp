#include "text/TextString.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/Growth.h"

namespace {

std::string Bytes(const TextString& s) { return std::string(s.GetText(), static_cast<size_t>(s.GetLength())); }

TextString FromBytes(std::string_view bytes) {
  TextString s;
  EXPECT_TRUE(s.AssignBytes(bytes.data(), static_cast<int>(bytes.size())));
  return s;
}

}  // namespace

// ---- Growth ----

TEST(TextString, ReserveFollowsTheGrowthRule) {
  TextString s;
  EXPECT_EQ(s.GetCapacity(), 254);
  struct Step {
    int request;
    int capacity;
  };
  constexpr Step kSteps[] = {
      {254, 254},   // already there
      {600, 766},   // a large increase takes exactly what is asked
      {700, 766},   // fits
      {800, 1534},  // under a fifth more: doubles to 1,532
  };
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.request);
    EXPECT_TRUE(s.Reserve(step.request));
    EXPECT_EQ(s.GetCapacity(), step.capacity);
  }
  TextString t;
  EXPECT_TRUE(t.Reserve(255));  // one past the initial buffer: the next 256-byte block
  EXPECT_EQ(t.GetCapacity(), 510);
  EXPECT_TRUE(t.Reserve(600));  // 5 x (600 - 510) < 600: a small increase doubles
  EXPECT_EQ(t.GetCapacity(), 1022);
}

TEST(TextString, ReserveGrowsByHalfOnVeryLargeTexts) {
  TextString s;
  ASSERT_TRUE(s.Reserve(599999));
  EXPECT_EQ(s.GetCapacity(), 600062);
  ASSERT_TRUE(s.Reserve(610000));  // target 600,062 x 3 / 2 = 900,093
  EXPECT_EQ(s.GetCapacity(), 900094);
}

TEST(TextString, ReserveKeepsTheText) {
  TextString s("keep me");
  ASSERT_TRUE(s.Reserve(5000));
  EXPECT_EQ(Bytes(s), "keep me");
  EXPECT_EQ(s.GetText()[s.GetLength()], '\0');
}

TEST(TextStringGrowth, AppendingByteByByteStaysAmortised) {
  const auto append = [](int bytes) {
    TextString s;
    const GrowthClock::duration time = TimeOf([&] {
      for (int i = 0; i < bytes; ++i) s.AppendChar(static_cast<char>('a' + i % 26));
    });
    EXPECT_EQ(s.GetLength(), bytes);
    EXPECT_EQ(s.CharAt(bytes - 1), 'a' + (bytes - 1) % 26);
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(250000, append), kQuadraticGrowth);
}

// ---- Construction and assignment ----

TEST(TextString, ConstructorsAndCopiesAreDeep) {
  const TextString fromNull(static_cast<const char*>(nullptr));
  EXPECT_EQ(Bytes(fromNull), "");
  EXPECT_GE(fromNull.GetCapacity(), 0);
  EXPECT_EQ(Bytes(TextString(-42)), "-42");

  TextString original(FromBytes(std::string_view("a\0b", 3)));
  TextString copy(original);
  original.ToUpper();
  EXPECT_EQ(Bytes(copy), std::string("a\0b", 3));  // NUL bytes survive, nothing shared
  TextString assigned;
  assigned = copy;
  EXPECT_EQ(Bytes(assigned), std::string("a\0b", 3));

  TextString big(std::string(1000, 'x').c_str());
  EXPECT_EQ(big.GetLength(), 1000);
  EXPECT_GE(big.GetCapacity(), 1000);
}

// Short texts live inside the object and long ones on the heap: a move must carry either,
// into a target of either kind, and leave the source without a buffer.
TEST(TextString, MovesCarryShortAndLongTexts) {
  const std::string shortText = "short";
  const std::string longText(600, 'y');
  struct Case {
    const std::string* source;
    const std::string* target;
    int capacity;  // the source's, which the target takes
  };
  const Case cases[] = {
      {&shortText, &shortText, 254}, {&shortText, &longText, 254},
      {&longText, &shortText, 766},  {&longText, &longText, 766},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.source->size() << " into " << c.target->size());
    TextString source(c.source->c_str());
    TextString constructed(std::move(source));
    EXPECT_EQ(Bytes(constructed), *c.source);
    EXPECT_EQ(constructed.GetCapacity(), c.capacity);
    EXPECT_EQ(source.GetCapacity(), -1);  // no buffer, as after any move
    EXPECT_EQ(Bytes(source), "");

    TextString assigned(c.target->c_str());
    assigned = std::move(constructed);
    EXPECT_EQ(Bytes(assigned), *c.source);
    EXPECT_EQ(assigned.GetCapacity(), c.capacity);
    EXPECT_EQ(constructed.GetCapacity(), -1);
    // The moved-to text is its own: it grows and changes without touching anything else.
    assigned.Append(longText.c_str());
    EXPECT_EQ(Bytes(assigned), *c.source + longText);
    constructed.Assign("again");
    EXPECT_EQ(Bytes(constructed), "again");
    EXPECT_EQ(constructed.GetCapacity(), 254);
  }
}

TEST(TextString, AssignHandlesItsOwnBuffer) {
  TextString s("abcdef");
  EXPECT_TRUE(s.Assign(s.GetText()));
  EXPECT_EQ(Bytes(s), "abcdef");
  EXPECT_TRUE(s.Assign(s.GetText() + 2));  // overlapping source
  EXPECT_EQ(Bytes(s), "cdef");
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(Bytes(s), "");
  s.Append("xyz");
  s.Append(s);  // self-append
  EXPECT_EQ(Bytes(s), "xyzxyz");
}

TEST(TextString, SelfAppendAcrossGrowth) {
  TextString s(std::string(200, 'q').c_str());
  s.Append(s.GetText());  // the source is freed by the growth unless re-pointed
  EXPECT_EQ(Bytes(s), std::string(400, 'q'));
}

TEST(TextString, AssignSubstringClampsPositions) {
  struct Case {
    const char* source;
    int offset;
    int count;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"abcdef", 2, 3, "cde"},
      {"abcdef", 2, -1, "cdef"},
      {"abcdef", 0, 0, ""},
      {"abcdef", -4, 2, "ab"},   // before the start: from the start
      {"abcdef", 50, 3, ""},     // past the end: nothing, and nothing read beyond it
      {"abcdef", 4, 100, "ef"},  // count past the end: up to the end
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.source) + " " + std::to_string(c.offset) + " " + std::to_string(c.count));
    TextString s("old");
    s.AssignSubstring(c.source, c.offset, c.count);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextString, KeepSubstringAndTruncate) {
  struct Case {
    int start;
    int count;
    int result;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {3, 100, 1, "def"}, {0, 2, 1, "ab"},      {6, 1, 1, ""},
      {7, 1, 0, "abcdef"}, {2, -3, 1, ""},       {-1, 2, 0, "abcdef"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(c.count));
    TextString s("abcdef");
    EXPECT_EQ(s.KeepSubstring(c.start, c.count), c.result);
    EXPECT_EQ(Bytes(s), c.expected);
    EXPECT_EQ(s.GetLength(), static_cast<int>(std::string_view(c.expected).size()));
  }
  TextString s("abcdef");
  s.KeepFrom(4);
  EXPECT_EQ(Bytes(s), "ef");
  s.Truncate(1);
  EXPECT_EQ(Bytes(s), "e");
  s.Truncate(5);
  EXPECT_EQ(Bytes(s), "e");
}

// ---- Inserting and replacing spans ----

TEST(TextString, InsertClampsThePosition) {
  struct Case {
    int pos;
    const char* expected;
  };
  constexpr Case kCases[] = {{0, "XYabc"}, {2, "abXYc"}, {3, "abcXY"}, {-5, "XYabc"}, {99, "abcXY"}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pos);
    TextString s("abc");
    EXPECT_TRUE(s.Insert(c.pos, "XY"));
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextString, InsertCharAndReplaceSpanRejectOutsidePositions) {
  TextString s("abc");
  EXPECT_FALSE(s.InsertChar(4, 'x'));
  EXPECT_FALSE(s.InsertChar(-1, 'x'));
  EXPECT_TRUE(s.InsertChar(3, 'd'));
  EXPECT_EQ(Bytes(s), "abcd");

  struct Case {
    int pos;
    int count;
    const char* text;
    int result;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {4, 6, "X", 1, "abcdX"},   // count clipped to the end
      {0, 0, "12", 1, "12abcdef"},
      {1, 4, "", 1, "af"},
      {2, 1, "LONGER", 1, "abLONGERdef"},
      {7, 0, "X", 0, "abcdef"},
      {-1, 0, "X", 0, "abcdef"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.pos) + " " + std::to_string(c.count) + " " + c.text);
    TextString t("abcdef");
    EXPECT_EQ(t.ReplaceSpan(c.pos, c.count, c.text), c.result);
    EXPECT_EQ(Bytes(t), c.expected);
  }
}

// ---- Comparison ----

TEST(TextString, CompareAndEquality) {
  struct Case {
    const char* text;
    const char* other;
    int caseSensitive;
    int ignoreBlanks;
    bool expected;
  };
  constexpr Case kCases[] = {
      {"Hello", "hello", 0, 0, true},  {"Hello", "hello", 1, 0, false}, {"Hello", "Hello", 1, 0, true},
      {"Hello", "Hell", 0, 0, false},  {"He llo", "Hello", 0, 0, false}, {"He llo", "h\te l l o ", 0, 1, true},
      {"  ", "", 1, 1, true},          {"ab", "abc", 0, 1, false},      {"\xC9", "\xE9", 0, 0, false},
      {"", "", 1, 0, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + "|" + c.other);
    EXPECT_EQ(TextString(c.text).Compare(c.other, c.caseSensitive, c.ignoreBlanks), c.expected);
  }
  EXPECT_FALSE(TextString("x").Compare(nullptr, 0, 0));
  EXPECT_TRUE(TextString("MiXed").Equals(TextString("mixed")));
  EXPECT_FALSE(TextString("mixed").Equals(TextString("mixed ")));
  EXPECT_FALSE(TextString("a b").EqualsText(TextString("ab"), 0, 1));  // lengths differ
  EXPECT_TRUE(TextString("a b").EqualsText(TextString("A\tB"), 0, 1));
}

TEST(TextString, StartsWithAndEndsWith) {
  const TextString s("Report.TXT");
  EXPECT_TRUE(s.StartsWith("rep", 0));
  EXPECT_FALSE(s.StartsWith("rep", 1));
  EXPECT_TRUE(s.EndsWith(".txt", 0));
  EXPECT_FALSE(s.EndsWith(".txt", 1));
  EXPECT_FALSE(s.StartsWith("", 0));
  EXPECT_FALSE(s.EndsWith("a longer text than it", 0));
  EXPECT_FALSE(TextString("").StartsWith("a", 0));
}

TEST(CompareChars, OrdersBytesAsSignedValues) {
  struct Case {
    const char* a;
    const char* b;
    int n;
    int ignoreCase;
    int expected;
  };
  constexpr Case kCases[] = {
      {"abc", "abd", 3, 0, -1}, {"abd", "abc", 3, 0, 1},  {"abc", "abd", 2, 0, 0},
      {"ab", "abc", 5, 0, -1},  {"abc", "ab", 5, 0, 1},   {"ABC", "abc", 3, 1, 0},
      {"ABC", "abc", 3, 0, -1}, {"a", "b", 0, 0, 0},      {nullptr, "a", 1, 0, -1},
      {"a", nullptr, 1, 0, 1},  {nullptr, nullptr, 1, 0, 0},
      {"\xE9", "a", 1, 0, -1},  // 0xE9 is negative as a signed byte
      {"same", "same", 10, 0, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.a ? c.a : "(null)") + "|" + (c.b ? c.b : "(null)"));
    EXPECT_EQ(CompareChars(c.a, c.b, c.n, c.ignoreCase), c.expected);
  }
}

// ---- Classification ----

TEST(TextString, VirtualTests) {
  struct Case {
    const char* text;
    bool noLetters;
    bool noLettersOrDigits;
    bool noLowerCase;
    bool isNumber;
  };
  constexpr Case kCases[] = {
      {"a", false, false, false, false}, {"z", false, false, false, false},
      {"A", false, false, true, false},  {"Z", false, false, true, false},
      {"0", true, false, true, true},    {"9", true, false, true, true},
      {"@[`{", true, true, true, false},  // the bytes around the letter ranges
      {"\xE9\xC9\xDF", true, true, true, false},  // high bytes are not letters
      {"", true, true, true, true},      {"-", true, true, true, true},
      {"+12.5", true, false, true, true}, {"1.2.3", true, false, true, false},
      {"12-", true, false, true, false}, {" 12", true, false, true, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const TextString s(c.text);
    EXPECT_EQ(s.HasNoLetters(), c.noLetters);
    EXPECT_EQ(s.HasNoLettersOrDigits(), c.noLettersOrDigits);
    EXPECT_EQ(s.HasNoLowerCase(), c.noLowerCase);
    EXPECT_EQ(s.IsNumber(), c.isNumber);
  }
  EXPECT_TRUE(TextString("abc").ContainsNoneOf("xyz"));
  EXPECT_FALSE(TextString("abc").ContainsNoneOf("xyc"));
}

TEST(TextString, CaseMappingLeavesHighBytes) {
  TextString s("Ab\xE9\xC9z");
  s.ToUpper();
  EXPECT_EQ(Bytes(s), "AB\xE9\xC9Z");
  s.ToLower();
  EXPECT_EQ(Bytes(s), "ab\xE9\xC9z");
}

TEST(TextString, FilterCharacters) {
  struct Case {
    int kind;
    const char* expected;
  };
  const std::string input("a1 \tB2\r\n\xE9\x7F~");
  constexpr Case kCases[] = {
      {1, "1 \t2\r\n\xE9\x7F~"},
      {2, "a \tB\r\n\xE9\x7F~"},
      {3, "a1 \tB2"},
      {4, "a1B2\xE9\x7F~"},
      {5, "a1 \tB2\r\n~"},
      {0, "a1 \tB2\r\n\xE9\x7F~"},
      {6, "a1 \tB2\r\n\xE9\x7F~"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.kind);
    TextString s(input.c_str());
    s.FilterCharacters(c.kind);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

// ---- Searching ----

TEST(TextString, Find) {
  struct Case {
    const char* text;
    int start;
    const char* find;
    int caseSensitive;
    int span;
    bool found;
    int pos;
  };
  constexpr Case kCases[] = {
      {"abcabc", 0, "bc", 1, 0, true, 1},  {"abcabc", 2, "bc", 1, 0, true, 4},
      {"abcabc", 5, "bc", 1, 0, false, -1}, {"aAB", 0, "ab", 0, 0, true, 1},
      {"aAB", 0, "ab", 1, 0, false, -1},   {"aaab", 0, "aab", 1, 0, true, 1},  // partial match restarts
      {"xxabc", 0, "abc", 1, 4, false, -1}, {"xxabc", 0, "abc", 1, 5, true, 2},
      {"xxabc", 2, "abc", 1, 3, true, 2},  {"abc", 4, "a", 1, 0, false, -1},
      {"abc", -1, "a", 1, 0, false, -1},   {"abc", 0, "", 1, 0, false, -1},
      {"", 0, "a", 1, 0, false, -1},       {"ab", 0, "abc", 1, 0, false, -1},
      // Ignoring case, a failed candidate of one spelling gives way to the other's.
      {"AxaB", 0, "ab", 0, 0, true, 2},    {"aXAb", 0, "ab", 0, 0, true, 2},
      {"x-a-B", 0, "-b", 0, 0, true, 3},   {"aXAx", 0, "ab", 0, 0, false, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " find " + c.find + " from " + std::to_string(c.start));
    int pos = 99;
    EXPECT_EQ(TextString(c.text).Find(c.start, c.find, &pos, c.caseSensitive, c.span), c.found);
    EXPECT_EQ(pos, c.pos);
  }
}

TEST(TextString, FindInLongTexts) {
  // Long texts take the skip-table search; partial matches sit right before the occurrence.
  const std::string text = std::string(1000, 'a') + "AB" + std::string(500, 'b');
  struct Case {
    const char* find;
    int caseSensitive;
    int pos;
  };
  constexpr Case kCases[] = {
      {"aab", 0, 999}, {"aab", 1, -1}, {"aAB", 1, 999}, {"ABb", 1, 1000},
      {"abbb", 0, 1000}, {"bbbbbc", 0, -1}, {"a", 1, 0}, {"B", 1, 1001},
  };
  const TextString s(text.c_str());
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.find);
    int pos = 99;
    EXPECT_EQ(s.Find(0, c.find, &pos, c.caseSensitive, 0), c.pos >= 0);
    EXPECT_EQ(pos, c.pos);
  }
  TextString replaced(text.c_str());
  EXPECT_TRUE(replaced.ReplaceAll("aab", "#", 0, 0));
  EXPECT_EQ(Bytes(replaced), std::string(999, 'a') + "#" + std::string(500, 'b'));
}

TEST(TextString, FindCharAndFriends) {
  const TextString s("xAbA");
  int pos = 0;
  EXPECT_TRUE(s.FindChar(0, 'a', &pos, 0));  // lower case also finds the capital
  EXPECT_EQ(pos, 1);
  EXPECT_FALSE(s.FindChar(0, 'a', &pos, 1));
  EXPECT_EQ(pos, -1);
  EXPECT_FALSE(s.FindChar(0, 'B', &pos, 0));  // a capital matches only itself
  EXPECT_TRUE(s.FindChar(2, 'A', &pos, 1));
  EXPECT_EQ(pos, 3);
  EXPECT_TRUE(s.ContainsChar('a'));
  EXPECT_EQ(s.CountChar('A'), 2);

  const TextString t("aAB");
  EXPECT_EQ(t.FindNoCase("ab"), t.GetText() + 1);
  EXPECT_EQ(t.FindNoCase("abc"), nullptr);
  EXPECT_TRUE(t.ContainsNoCase("Ab"));
  EXPECT_FALSE(t.ContainsNoCase("ba"));
}

// ---- ReplaceFrom ----

TEST(TextString, ReplaceAll) {
  struct Case {
    const char* text;
    const char* find;
    const char* replacement;
    int maxCount;
    int caseSensitive;
    bool result;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"aAB", "ab", "x", 0, 0, true, "ax"},
      {"aAB", "ab", "x", 0, 1, true, "aAB"},
      {"aab", "ab", "X", 0, 1, true, "aX"},      // failed partial match at 0 does not hide 1
      {"AAB", "ab", "X", 0, 0, true, "AX"},      // the same without case
      {"aaaa", "aa", "b", 0, 1, true, "bb"},     // non-overlapping, leftmost first
      {"aaa", "aa", "b", 0, 1, true, "ba"},
      {"a.b.c", ".", "::", 0, 1, true, "a::b::c"},
      {"a.b.c", ".", "", 0, 1, true, "abc"},
      {"a.b.c", ".", "-", 1, 1, true, "a-b.c"},
      {"a.b.c", ".", "-", 3, 1, false, "a-b-c"},  // fewer than asked
      {"abab", "ab", "abab", 0, 1, true, "abababab"},  // inserted text is not rescanned
      {"", "a", "b", 1, 1, true, ""},
      {"xyz", "q", "r", 0, 1, true, "xyz"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " " + c.find + " -> " + c.replacement);
    TextString s(c.text);
    EXPECT_EQ(s.ReplaceAll(c.find, c.replacement, c.maxCount, c.caseSensitive), c.result);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextString, ReplaceFromRejectsBadArguments) {
  TextString s("abc");
  EXPECT_FALSE(s.ReplaceFrom(-1, "a", "b", 0, 1, nullptr, nullptr, 0));
  EXPECT_FALSE(s.ReplaceFrom(4, "a", "b", 0, 1, nullptr, nullptr, 0));
  EXPECT_FALSE(s.ReplaceFrom(0, nullptr, "b", 0, 1, nullptr, nullptr, 0));
  EXPECT_FALSE(s.ReplaceFrom(0, "", "b", 0, 1, nullptr, nullptr, 0));
  EXPECT_FALSE(s.ReplaceFrom(0, "a", nullptr, 0, 1, nullptr, nullptr, 0));
  EXPECT_EQ(Bytes(s), "abc");
}

TEST(TextString, ReplaceFromStartFillCounterAndGuard) {
  TextString s("ab ab ab");
  int count = 5;
  EXPECT_TRUE(s.ReplaceFrom(1, "ab", "X", 0, 1, nullptr, &count, 0));
  EXPECT_EQ(Bytes(s), "ab X X");
  EXPECT_EQ(count, 7);  // the counter adds to what it held

  const char fill = '*';
  TextString f("secret and SECRET");
  count = 0;
  EXPECT_TRUE(f.ReplaceFrom(0, "secret", nullptr, 0, 0, &fill, &count, 0));
  EXPECT_EQ(Bytes(f), "****** and ******");
  EXPECT_EQ(count, 2);

  // The guard skips an occurrence right after a byte 0x80-0xEF (a multi-byte tail).
  struct Case {
    const char* text;
    const char* replacement;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"\xC3\xA9 a\xA9", "\xE9", "\xC3\xA9 a\xE9"},  // same size: only the one after 'a'
      {"x\xA9 \xA9", "[c]", "x[c] [c]"},
      {"\xC3\xA9\xA9", "(c)", "\xC3\xA9\xA9"},  // each follows a guarded byte
      {"\xA9\xA9", "(c)", "(c)(c)"},            // the second follows the inserted ')'
      {"\xF0\xA9", "(c)", "\xF0(c)"},            // 0xF0 is above the guarded range
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString g(c.text);
    EXPECT_TRUE(g.ReplaceAllCounted("\xA9", c.replacement, 0, 1, nullptr, 1));
    EXPECT_EQ(Bytes(g), c.expected);
  }
  // The same with a replacement shorter than the pattern: the byte before an occurrence is
  // read from the text as it stands after the earlier replacements.
  constexpr Case kShorterCases[] = {
      {"a\xA9\xA9\xA9\xA9", "\xE9", "a\xE9\xA9\xA9"},  // the second follows the inserted 0xE9
      {"a\xA9\xA9\xA9\xA9", "", "a"},                  // it follows the 'a' again
      {"\xC3\xA9\xA9 \xA9\xA9", "-", "\xC3\xA9\xA9 -"},
  };
  for (const Case& c : kShorterCases) {
    SCOPED_TRACE(c.text);
    TextString g(c.text);
    int count = 0;
    EXPECT_TRUE(g.ReplaceAllCounted("\xA9\xA9", c.replacement, 0, 1, &count, 1));
    EXPECT_EQ(Bytes(g), c.expected);
  }
}

TEST(TextString, ReplaceWithOwnText) {
  TextString s("ab");
  EXPECT_TRUE(s.ReplaceAll("a", s.GetText(), 0, 1));  // replacement aliases the buffer
  EXPECT_EQ(Bytes(s), "abb");
}

TEST(TextStringGrowth, ReplaceAllOnLargeTextsIsLinear) {
  struct Case {
    const char* name;
    const char* find;
    const char* replacement;
    char filler;
  };
  constexpr Case kCases[] = {
      {"shrink every byte", "a", "", 'a'},
      {"grow every byte", "a", "bb", 'a'},
      {"almost-matches everywhere", "aaaaaaaaaaaaaaab", "x", 'a'},
      {"case folded", "AB", "c", 'b'},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto replace = [&c](int length) {
      TextString s(std::string(static_cast<std::size_t>(length), c.filler).c_str());
      bool replaced = false;
      const GrowthClock::duration time =
          TimeOf([&] { replaced = s.ReplaceAll(c.find, c.replacement, 0, 0); });
      EXPECT_TRUE(replaced);
      return time;
    };
    EXPECT_LT(SixteenfoldGrowth(1 << 18, replace), kQuadraticGrowth);
  }
  TextString s(std::string(1 << 20, 'a').c_str());
  ASSERT_TRUE(s.ReplaceAll("a", "", 0, 1));
  EXPECT_EQ(s.GetLength(), 0);
  TextString t(std::string(1 << 20, 'a').c_str());
  ASSERT_TRUE(t.ReplaceAll("aa", "b", 0, 1));
  EXPECT_EQ(Bytes(t), std::string(1 << 19, 'b'));
}

TEST(TextString, ReplaceCharAndCollapseBlanks) {
  TextString s("a-b-c-d");
  EXPECT_TRUE(s.ReplaceChar(2, '-', '+', 2));
  EXPECT_EQ(Bytes(s), "a-b+c+d");
  EXPECT_FALSE(s.ReplaceChar(0, '-', '+', 5));
  EXPECT_EQ(Bytes(s), "a+b+c+d");
  EXPECT_FALSE(s.ReplaceChar(8, '-', '+', 0));
  EXPECT_TRUE(TextString("").ReplaceChar(3, '-', '+', 1));

  TextString blanks("\t a  \t b c\t");
  blanks.CollapseBlanks();
  EXPECT_EQ(Bytes(blanks), "\ta b c\t");
}

TEST(TextString, Trim) {
  struct Case {
    const char* text;
    int trailingOnly;
    const char* set;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"   ", 1, nullptr, ""},       {"\t a \t", 0, nullptr, "a"}, {"\t a \t", 1, nullptr, "\t a"},
      {"--x-y--", 0, "-", "x-y"},   {"\tx\t", 0, "-", "\tx\t"},   {"", 0, nullptr, ""},
      {"x.,", 1, ",.", "x"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    s.Trim(c.trailingOnly, c.set);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

TEST(TextString, ExpandTabs) {
  struct Case {
    const char* text;
    int width;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"ab\tc", 8, "ab      c"},
      {"\tx", 4, "    x"},
      {"abcd\tx", 4, "abcd    x"},
      {"a\tb\tc", 4, "a   b   c"},
      {"\t", 20, "                 "},  // at most 17 blanks
      {"a\tb", 1, "a b"},
      {"a\tb", 0, "a\tb"},              // no tab stops: left alone
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString s(c.text);
    s.ExpandTabs(c.width);
    EXPECT_EQ(Bytes(s), c.expected);
  }
}

// ---- Fields ----

TEST(TextString, GetField) {
  struct Case {
    const char* text;
    int n;
    char separator;
    bool found;
    const char* field;
    int offset;
  };
  constexpr Case kCases[] = {
      {"  a  b", 1, ' ', true, "", 0},
      {"  a  b", 2, ' ', true, "a", 2},
      {"  a  b", 3, ' ', true, "b", 5},
      {"a \t b", 2, ' ', true, "b", 4},
      {"a  ", 2, ' ', false, "", -1},
      {"a,,b", 1, ',', true, "a", 0},
      {"a,,b", 2, ',', true, "", 2},
      {"a,,b", 3, ',', true, "b", 3},
      {"a,,b", 4, ',', false, "", -1},
      {"a,", 2, ',', false, "", -1},
      {"abc", 1, ',', true, "abc", 0},
      {"abc", 0, ',', false, "", -1},
      {"", 1, ',', false, "", -1},
      {"word&lt;more", 1, '\xBF', true, "word", 0},
      {"wo;rd", 1, '\xBF', true, "wo", 0},
      {"x\xBFy z", 2, '\xBF', true, "y", 2},
      {"a&b c", 1, '\xBF', true, "a&b", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.text) + " field " + std::to_string(c.n));
    TextString out("stale");
    int offset = -1;
    EXPECT_EQ(TextString(c.text).GetFieldAndOffset(c.n, c.separator, out, &offset), c.found);
    EXPECT_EQ(Bytes(out), c.field);
    EXPECT_EQ(offset, c.offset);
  }
}

TEST(TextString, GetFieldFromInsideTheText) {
  const TextString s("a,b,c");
  TextString out;
  int offset = -1;
  EXPECT_TRUE(s.GetFieldFrom(s.GetText() + 2, 2, ',', out, &offset));
  EXPECT_EQ(Bytes(out), "c");
  EXPECT_EQ(offset, 2);
  EXPECT_FALSE(s.GetFieldFrom(s.GetText() + 5, 1, ',', out, &offset));  // at the terminator
  const char elsewhere[] = "x,y";
  EXPECT_FALSE(s.GetFieldFrom(elsewhere, 1, ',', out, &offset));
  TextString self("p,q");
  EXPECT_TRUE(self.GetField(2, ',', self));  // the output may be the string itself
  EXPECT_EQ(Bytes(self), "q");
}

TEST(TextString, GetNextFieldWalksTheText) {
  const TextString s("one;;three;");
  const char* const kExpected[] = {"one", "", "three"};
  int pos = 0;
  TextString out;
  for (const char* expected : kExpected) {
    SCOPED_TRACE(expected);
    EXPECT_TRUE(s.GetNextField(&pos, ';', out));
    EXPECT_EQ(Bytes(out), expected);
  }
  EXPECT_EQ(pos, s.GetLength());
  EXPECT_FALSE(s.GetNextField(&pos, ';', out));
  EXPECT_EQ(Bytes(out), "");
}

// ---- UTF-8 ----

TEST(TextString, Utf8StepsOverEveryCharacterWidth) {
  // 'a', e-acute (2 bytes), euro sign (3), a musical symbol outside the BMP (4), 'z'
  const TextString s("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9Ez");
  struct Case {
    int count;
    int start;
    int offset;
  };
  constexpr Case kCases[] = {
      {0, 0, 0}, {1, 0, 1}, {2, 0, 3}, {3, 0, 6}, {4, 0, 10},  // four-byte sequence as one
      {5, 0, 11}, {6, 0, -1}, {1, 6, 10}, {2, -3, 3}, {1, 11, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.count) + " from " + std::to_string(c.start));
    EXPECT_EQ(s.Utf8ByteOffset(c.count, c.start), c.offset);
  }
  EXPECT_EQ(s.Utf8CharCount(0, -1), 5);
  EXPECT_EQ(s.Utf8CharCount(-5, 9), 4);
  EXPECT_EQ(s.Utf8CharCount(6, 10), 2);
  EXPECT_EQ(s.Utf8CharCount(3, 3), 1);
}

TEST(TextString, Utf8StepsStayInsideBrokenText) {
  struct Case {
    std::string_view bytes;
    int characters;
  };
  const Case kCases[] = {
      {"\xE2\x82", 1},       // truncated three-byte sequence
      {"\xF0\x9D", 1},       // truncated four-byte sequence
      {"\xE2z\x82", 3},      // a lead without continuation counts as one byte
      {"\xC0\x80", 2},       // 0xC0 is a single byte
      {"\x80\xBF", 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.bytes));
    const TextString s = FromBytes(c.bytes);
    EXPECT_EQ(s.Utf8CharCount(0, -1), c.characters);
    EXPECT_EQ(s.Utf8ByteOffset(c.characters, 0), static_cast<int>(c.bytes.size()));
  }
}
