#include "text/Statement.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr const char* kBlanks = "\n\t ";
constexpr const char* kBreakAfter = ")]}>,;";
constexpr const char* kBreakBefore = "([{<!=+-\"";

std::vector<std::string> Segments(const std::string& text, int width, int utf8 = 0) {
  Statement s;
  s.Assign(text.c_str());
  std::vector<std::string> out;
  TextString segment;
  int start = 0;
  while (start < s.GetLength()) {
    int next = -1;
    if (!s.GetWrappedSegment(width, start, kBlanks, kBreakAfter, kBreakBefore, segment, &next,
                             utf8)) {
      break;
    }
    out.emplace_back(segment.GetText(), segment.GetLength());
    EXPECT_GT(next, start) << "wrapping must move on";
    if (next <= start) break;
    start = next;
  }
  return out;
}

struct WrapCase {
  const char* text;
  int width;
  std::vector<std::string> segments;
};

TEST(Statement, WrapsAtTheBestBreak) {
  const std::vector<WrapCase> cases = {
      // The byte at the window end is examined too; the final blank is dropped.
      {"alpha beta gamma", 10, {"alpha beta", "gamma"}},
      // A comma inside a number is no break: hard cut at the window end.
      {"1,000,000 units", 5, {"1,000", ",000", "units"}},
      // A break-after byte followed by '.' is no break.
      {"aaaaaaaaaaaaaaaaaaaaf(x).bbbbbbbbbbbbbbbbbbbbbb", 25,
       {"aaaaaaaaaaaaaaaaaaaaf", "(x).bbbbbbbbbbbbbbbbbbbbb", "b"}},
      // Without a blank near the end, after a break-after byte...
      {"aaaaaaaaaaaaaaaaaaaaaa;bbbbbbbbbbbbbbbbbbbbbbbbbbb", 30,
       {"aaaaaaaaaaaaaaaaaaaaaa;", "bbbbbbbbbbbbbbbbbbbbbbbbbbb"}},
      // ... or before a break-before byte.
      {"aaaaaaaaaaaaaaaaaaaaaaaa[bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", 30,
       {"aaaaaaaaaaaaaaaaaaaaaaaa", "[bbbbbbbbbbbbbbbbbbbbbbbbbbbbb", "bb"}},
      // A blank more than 15 bytes before the window end loses to a later break byte.
      {"aa bbbbbbbbbbbbbbbbbbbbbbbb,cccccccccc", 30, {"aa bbbbbbbbbbbbbbbbbbbbbbbb,", "cccccccccc"}},
      // A rest that fits is one segment, blanks and all, even when it ends in a blank.
      {"five six", 80, {"five six"}},
      {"alpha beta", 10, {"alpha beta"}},
      {"one two ", 8, {"one two "}},
      // One byte more than the width: cut at the last blank, which is dropped.
      {"alpha beta g", 10, {"alpha beta", "g"}},
      // The hard cut of the last segment stops at the end of the text.
      {"abcdefghijklmnopqrstuvwxyzabcdefghijklm", 10,
       {"abcdefghij", "klmnopqrst", "uvwxyzabcd", "efghijklm"}},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Segments(c.text, c.width), c.segments);
  }
}

TEST(Statement, LettersWithoutBreaksAreCutAtTheWidth) {
  const std::vector<std::string> segments = Segments(std::string(60, 'q'), 10);
  ASSERT_EQ(segments.size(), 6u);
  for (const std::string& segment : segments) EXPECT_EQ(segment, std::string(10, 'q'));
}

TEST(Statement, SegmentNeverReadsPastTheText) {
  Statement s;
  s.Assign("abcdefghijklm");
  int breakAt = -1;
  s.FindBreakPosition(10, 10, kBlanks, kBreakAfter, kBreakBefore, &breakAt, 0);
  EXPECT_EQ(breakAt, 12);
  TextString segment;
  int next = 0;
  EXPECT_FALSE(s.GetWrappedSegment(10, 14, kBlanks, kBreakAfter, kBreakBefore, segment, &next, 0));
  EXPECT_EQ(next, -1);
  EXPECT_TRUE(segment.IsEmpty());
}

TEST(Statement, Utf8WrapCountsCharactersAndKeepsSequencesWhole) {
  // 30 two-byte characters and blanks: every segment is valid UTF-8 of at most 12 characters.
  std::string text;
  for (int i = 0; i < 6; ++i) text += "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9 ";
  for (const std::string& segment : Segments(text, 12, 1)) {
    SCOPED_TRACE(segment);
    TextString t(segment.c_str());
    EXPECT_LE(t.Utf8CharCount(-1, -1), 12);
    EXPECT_NE(static_cast<unsigned char>(segment.back()), 0xC3);
  }
}

TEST(Statement, Utf8RestThatFitsInCharactersIsOneSegment) {
  // 10 characters in 14 bytes: more bytes than the width of 12, but fewer characters.
  const std::string text = "\xC3\xA9t\xC3\xA9 \xC3\xA0 m\xC3\xA9" "di";
  EXPECT_EQ(Segments(text, 12, 1), std::vector<std::string>{text});
  EXPECT_EQ(Segments(text, 10, 1), std::vector<std::string>{text});
  EXPECT_EQ(Segments(text, 9, 1).size(), 2u);
}

TEST(Statement, CopyKeepsTextAndAnalysisNotTheChain) {
  Statement first;
  Statement second(&first);
  EXPECT_EQ(first.GetNext(), &second);
  EXPECT_EQ(second.GetPrevious(), &first);
  second.Assign("text");
  second.SetLineType(235);
  const Statement copy(second);
  EXPECT_STREQ(copy.GetText(), "text");
  EXPECT_EQ(copy.GetLineType(), 235);
  EXPECT_EQ(copy.GetPrevious(), nullptr);
  second.Reset(1);
  EXPECT_EQ(second.GetLineType(), 0);
  EXPECT_STREQ(second.GetText(), "text");
  second.Reset(0);
  EXPECT_TRUE(second.IsEmpty());
}

TEST(Statement, DropTrailingCrSetsTheRawCopy) {
  Statement s;
  s.Assign("line\r");
  s.DropTrailingCR();
  EXPECT_STREQ(s.GetText(), "line");
  EXPECT_STREQ(s.GetRawCopy().GetText(), "line");
}

// Feeds lines through the input rules as the reader does: a false result means the next line
// is appended (or the line was dropped). Returns the statements delivered.
std::vector<std::string> Feed(const std::vector<std::string>& lines, const InputRules& rules,
                              InputRuleState& state) {
  std::vector<std::string> delivered;
  Statement s;
  for (const std::string& line : lines) {
    s.Append(line.c_str());
    if (!s.CountCharacterPairs(rules, state)) continue;
    delivered.emplace_back(s.GetText());
    s.SetEmpty();
  }
  return delivered;
}

TEST(Statement, PageMarkersDropTheFormFeedAndTheLinesAfterIt) {
  InputRules rules;
  rules.pageMarkers = true;
  rules.pageMarkerSize = 3;
  InputRuleState state;
  EXPECT_EQ(Feed({"a", "\f", "head 1", "head 2", "b"}, rules, state),
            (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(state.droppedLine);
}

TEST(Statement, DoubleSpacingDropsSingleBlankLines) {
  InputRules rules;
  rules.doubleSpaced = true;
  InputRuleState state;
  EXPECT_EQ(Feed({"a", "", "b", "", "", "c"}, rules, state),
            (std::vector<std::string>{"a", "b", "", "c"}));
}

TEST(Statement, SoftLineBreaksJoinOutsideTheAnalysisPass) {
  const std::string longLine(45, 'm');
  InputRules rules;
  rules.mimeEncoding = true;
  CharacterPairCounts census;
  InputRuleState state;
  state.census = &census;
  EXPECT_EQ(Feed({longLine + "=", "rest", "short=", "next", longLine + "==", "x"}, rules, state),
            (std::vector<std::string>{longLine + "rest", "short=", "next", longLine + "==",
                                      "x"}));
  EXPECT_EQ(census.softLineBreaks, 0);

  InputRules analysis;
  analysis.analysisPass = true;
  CharacterPairCounts counts;
  InputRuleState counted;
  counted.census = &counts;
  EXPECT_EQ(Feed({longLine + "=", "rest"}, analysis, counted),
            (std::vector<std::string>{longLine + "=", "rest"}));
  EXPECT_EQ(counts.softLineBreaks, 1);
  // Without a census the line is still delivered whole; nothing is counted anywhere.
  InputRuleState uncounted;
  EXPECT_EQ(Feed({longLine + "=", "rest"}, analysis, uncounted),
            (std::vector<std::string>{longLine + "=", "rest"}));
}

struct PairCase {
  const char* name;
  std::string text;
  int CharacterPairCounts::*counter;
  int expected;
};

TEST(Statement, CountsBytePairsForTheCharacterSetGuess) {
  const std::vector<PairCase> cases = {
      {"non-blank", "ab c", &CharacterPairCounts::nonBlank, 2},
      {"distinct", "aab c", &CharacterPairCounts::distinctPairs, 1},
      {"utf8 two-byte", "\xC3\xA9\xC3\xA9", &CharacterPairCounts::utf8TwoByte, 2},
      {"utf8 three-byte", "\xE2\x80\x94x", &CharacterPairCounts::utf8ThreeByte, 1},
      {"utf8 is not double-byte", "\xC3\xA9\xC3\xA9", &CharacterPairCounts::doubleByteNonUtf8, 0},
      {"double-byte upper skips", "\xB0\xA1\xB0\xA1", &CharacterPairCounts::doubleByteUpper, 2},
      {"double-byte lower", "\x82\xA0", &CharacterPairCounts::doubleByteLower, 1},
      {"koi8-r", "\xD3\xD4", &CharacterPairCounts::koi8r, 1},
      {"turkish pair", "l\xFD", &CharacterPairCounts::turkish, 1},
      {"turkish letter", "\xFDx", &CharacterPairCounts::turkishLetters, 1},
      {"iso-2022-jp", "\x1B$B", &CharacterPairCounts::iso2022jp, 2},
      {"oem box", "\xCD\xCD\xCD", &CharacterPairCounts::oemBoxDrawing, 2},
      {"last byte begins no pair", "a\xD0", &CharacterPairCounts::singleByteSet1, 0},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.name);
    CharacterPairCounts counts;
    CountBytePairs(c.text.data(), static_cast<int>(c.text.size()), counts);
    EXPECT_EQ(counts.*c.counter, c.expected);
  }
}

TEST(Statement, CountsWellFormedUtf8SequencesAndForbiddenBytes) {
  struct Case {
    const char* name;
    std::string text;
    int sequences;
    int forbidden;
  };
  const Case cases[] = {
      {"ascii", "plain text", 0, 0},
      {"section sign and e acute", "\xC2\xA7 4 caf\xC3\xA9", 2, 0},
      {"three and four bytes", "\xE2\x80\x94\xF0\x9F\x98\x80", 2, 0},
      {"latin-1 sharp s", "Stra\xDF" "e", 0, 1},
      {"stray continuation", "a\x80" "b", 0, 1},
      {"lead without continuation at the end", "ab\xC3", 0, 1},
      {"overlong form", "\xC0\xAF", 0, 2},
      {"surrogate", "\xED\xA0\x80", 0, 3},
      {"windows-1252 quotes", "\x93quoted\x94", 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CharacterPairCounts counts;
    CountUtf8Sequences(c.text.data(), static_cast<int>(c.text.size()), counts);
    EXPECT_EQ(counts.utf8Sequences, c.sequences);
    EXPECT_EQ(counts.utf8Forbidden, c.forbidden);
  }
}

TEST(Statement, PairCensusStopsBeforeItsCountersOverflow) {
  CharacterPairCounts counts;
  counts.pairs = INT_MAX - 3;
  counts.nonBlank = INT_MAX - 3;
  CountBytePairs("abcdef", 6, counts);
  EXPECT_EQ(counts.nonBlank, INT_MAX - 3) << "five pairs would overflow";
  CountBytePairs("abcd", 4, counts);
  EXPECT_EQ(counts.nonBlank, INT_MAX);
  EXPECT_EQ(counts.pairs, INT_MAX);
  CountBytePairs("ab", 2, counts);
  EXPECT_EQ(counts.nonBlank, INT_MAX);
}

TEST(Statement, PairCensusRunsOnlyInTheAnalysisPassAndStops) {
  InputRules rules;
  rules.countPairs = true;
  CharacterPairCounts census;
  InputRuleState state;
  state.census = &census;
  Feed({"abcdef"}, rules, state);
  EXPECT_EQ(census.nonBlank, 0);
  rules.analysisPass = true;
  Feed({"abcdef"}, rules, state);
  EXPECT_EQ(census.nonBlank, 5);
  census.distinctPairs = CharacterPairCounts::kMaxDistinctPairs;
  Feed({"abcdef"}, rules, state);
  EXPECT_EQ(census.nonBlank, 5);
}

}  // namespace
