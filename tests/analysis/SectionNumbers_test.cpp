#include "engine/SectionNumbers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "text/TextString.h"

namespace {

// A policy set attached to a Context in the pass chosen by the test.
class SectionNumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    SetPass(1, 0, 0);
  }
  void SetPass(int analysis, int contents, int output) {
    ctx.AnalysisPass = analysis;
    ctx.ContentsPass = contents;
    ctx.OutputPass = output;
  }
  // The last numbers of levels 1, 2, ...; the deeper levels unset.
  void SetLast(std::initializer_list<int> numbers) {
    for (HeadingLevelStats& level : ctx.Statistics.headings) level.lastNumber = -1;
    std::size_t i = 0;
    for (const int n : numbers) ctx.Statistics.headings[i++].lastNumber = n;
  }
  static SectionNumberFields Numbers(std::initializer_list<int> numbers) {
    SectionNumberFields fields;
    fields.fill(-1);
    std::size_t i = 0;
    for (const int n : numbers) fields[i++] = n;
    return fields;
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
};

using SectionFieldValueTest = SectionNumbersTest;
using ParseSectionNumberTest = SectionNumbersTest;
using TrimSectionWordTest = SectionNumbersTest;
using CompareSectionNumberTest = SectionNumbersTest;
using SectionProgressionTest = SectionNumbersTest;

}  // namespace

TEST(SectionFieldValue, ReadsDigitsAfterLeadingZerosAndRefusesOtherCharacters) {
  const struct {
    const char* word;
    int field;
    char separator;
    int value;
  } kCases[] = {
      {"12)", 1, '.', 12},  {"07", 1, '.', 7},    {"00", 1, '.', 0},     {"2:", 1, '.', 2},
      {"1x2", 1, '.', -1},  {"3.", 1, '.', 3},    {"3.", 2, '.', 0},     {"3.a", 2, '.', -1},
      {"4-2-1", 3, '-', 1}, {"4-2-1", 4, '-', 0}, {"4-2-1", 1, '.', -1}, {"2.10.3", 2, '.', 10},
      {"1.2", 0, '.', -1},
      // Past the int range the value stops growing instead of overflowing.
      {"99999999999999999999", 1, '.', kSaturatedSectionNumber},
      {"123456789", 1, '.', 123456789},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.word) + " field " + std::to_string(c.field));
    EXPECT_EQ(SectionFieldValue(TextString(c.word), c.field, c.separator), c.value);
  }
}

TEST_F(ParseSectionNumberTest, AcceptsUpToSixLevelsWithoutEmptyFields) {
  const struct {
    const char* word;
    char separator;
    int valid;
    int depth;
    SectionNumberFields numbers;
  } kCases[] = {
      {"3", '.', 1, 0, Numbers({3})},
      {"2.1", '.', 1, 1, Numbers({2, 1})},
      {"4-2-1", '-', 1, 2, Numbers({4, 2, 1})},
      {"1.2.3.4.5.6", '.', 1, 5, Numbers({1, 2, 3, 4, 5, 6})},
      {"1x2", '.', 1, 0, Numbers({-1})},  // valid, but no number: the caller refuses it
      {"2.x.3", '.', 1, 2, Numbers({2, -1, 3})},
      {"1.2.3.4.5.6.7", '.', 0, -1, {}},
      // The separator that closes the deepest number adds no level.
      {"1.2.3.4.5.6.", '.', 1, 5, Numbers({1, 2, 3, 4, 5, 6})},
      {"1.2.3.4.5.6.7.", '.', 0, -1, {}},
      {"2..1", '.', 0, -1, {}},
      {"x1", '.', 0, 7, {}},  // not begun by a digit: the depth keeps its value
      {"", '.', 0, 7, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.word);
    int depth = 7;
    int valid = -1;
    SectionNumberFields numbers = Numbers({8, 8, 8, 8, 8, 8});
    ParseSectionNumber(ctx, fc, TextString(c.word), c.separator, depth, valid, numbers);
    EXPECT_EQ(valid, c.valid);
    if (c.depth >= 0) {
      EXPECT_EQ(depth, c.depth);
    }
    if (valid != 0) {
      EXPECT_EQ(numbers, c.numbers);
    }
  }
}

TEST_F(ParseSectionNumberTest, NothingIsValidWhenNumberedHeadingsAreNotExpected) {
  fc.Bool(PolicyId::ExpectNumberedHeadings).value = 0;
  int depth = 4;
  int valid = -1;
  SectionNumberFields numbers = Numbers({});
  ParseSectionNumber(ctx, fc, TextString("2.1"), '.', depth, valid, numbers);
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(depth, 4);
}

TEST_F(ParseSectionNumberTest, TrailingSeparatorOrZeroMakesAChapterOfANewParent) {
  const struct {
    const char* word;
    char separator;
    int lastChapter;  // -1: none seen
    int depth;
    bool lowestOfLeftLevelSet;
  } kCases[] = {
      {"2.", '.', 2, 0, true},     // a trailing separator always
      {"2.", '.', -1, 0, true},
      {"3.0", '.', 2, 0, true},    // another parent: a chapter
      {"3.00", '.', 2, 0, true},
      {"2.0", '.', 2, 1, false},   // under chapter 2 it stays a sub-section
      {"2.00", '.', 2, 1, false},
      {"3.0", '.', -1, 0, true},   // no chapter seen yet
      {"3-0", '-', 2, 0, true},
      {"3.10", '.', 2, 1, false},  // "10" is a number, not a trailing zero
      {"30", '.', 2, 0, false},
      {"3-0", '.', 2, 0, false},   // a '-' that is not the separator: no parent to compare
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.word) + " after " + std::to_string(c.lastChapter));
    ctx.Statistics.Reset();
    SetLast({c.lastChapter});
    int depth = -1;
    int valid = 0;
    SectionNumberFields numbers = Numbers({});
    ParseSectionNumber(ctx, fc, TextString(c.word), c.separator, depth, valid, numbers);
    ASSERT_EQ(valid, 1);
    EXPECT_EQ(depth, c.depth);
    EXPECT_EQ(ctx.Statistics.headings[1].lowestNumber, c.lowestOfLeftLevelSet ? 0 : -1);
  }
}

TEST_F(ParseSectionNumberTest, ALowestNumberAlreadySeenIsKept) {
  ctx.Statistics.headings[1].lowestNumber = 2;
  int depth = -1;
  int valid = 0;
  SectionNumberFields numbers = Numbers({});
  ParseSectionNumber(ctx, fc, TextString("4."), '.', depth, valid, numbers);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(ctx.Statistics.headings[1].lowestNumber, 2);
}

TEST_F(TrimSectionWordTest, AnalysisPassRemovesBracketsEntitiesAndTrailingLetters) {
  const struct {
    const char* in;
    const char* out;
    char separator;
  } kCases[] = {
      {"3", "3", '.'},
      {"(3)", "3", '.'},
      {"[2.1]", "2.1", '.'},
      {"{*4-2*}", "4-2", '-'},
      {"&lt;2.1&gt;", "2.1", '.'},
      {"&lt;&lt;5&gt;", "5", '.'},
      {"3a", "3", '.'},
      {"2.1b)", "2.1", '.'},
      {"(a)", "(a)", '.'},  // nothing would remain: unchanged
      {"&lt;", "&lt;", '.'},
      {"3)x(", "3)x(", '.'},  // '(' closes nothing
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString word(c.in);
    char separator = 0;
    TrimSectionWord(ctx, fc, word, separator, 0);
    EXPECT_STREQ(word.GetText(), c.out);
    EXPECT_EQ(separator, c.separator);
  }
}

TEST_F(TrimSectionWordTest, CountingAddsEachTrimmedCharacterToTheStatistics) {
  CalculationStatistics named(ctx.Statistics);
  TextString word("&lt;(3ab)&gt;");
  char separator = 0;
  TrimSectionWord(ctx, fc, word, separator, 1);
  EXPECT_STREQ(word.GetText(), "3");
  EXPECT_EQ(named.preHeaderChars.GetSamples(), 2);  // '<' and '('
  EXPECT_EQ(named.postHeaderChars.GetSamples(), 2);  // '>' and ')'
  EXPECT_EQ(named.preHeaderChars.GetMin(), '(');
  EXPECT_EQ(named.preHeaderChars.GetMax(), '<');
  EXPECT_EQ(named.alphaAfterHeadings, 2);

  TextString again("(4)");
  TrimSectionWord(ctx, fc, again, separator, 0);  // without counting
  EXPECT_EQ(named.preHeaderChars.GetSamples(), 2);
}

TEST_F(TrimSectionWordTest, LaterPassesTrimWhatTheFirstLevelDetailsName) {
  SetPass(0, 0, 1);
  HeadDetails& first = fc.GetRecognisedHeadings().headings[0];
  first.before.Assign("[");
  first.after.Assign("].");
  const struct {
    int trailingLetter;
    const char* in;
    const char* out;
  } kCases[] = {
      {0, "[3]", "3"},      {0, "(3)", "(3)"},   {0, "3].", "3"},  {0, "3a", "3a"},
      {1, "3a", "3"},       {0, "[2.1c]", "2.1c"}, {1, "[2.1c]", "2.1"},
      {0, "&lt;3&gt;", "3"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    first.trailingX = c.trailingLetter;
    TextString word(c.in);
    char separator = 0;
    TrimSectionWord(ctx, fc, word, separator, 1);
    EXPECT_STREQ(word.GetText(), c.out);
  }
  CalculationStatistics named(ctx.Statistics);
  EXPECT_EQ(named.preHeaderChars.GetSamples(), 0);  // counted only in the analysis pass
}

TEST_F(CompareSectionNumberTest, AnswersAgainstTheLastAndLowestNumbers) {
  // Nothing seen yet.
  SectionComparison a = CompareSectionNumber(ctx, fc, Numbers({1}), 0);
  EXPECT_TRUE(a.noneSeen);
  EXPECT_TRUE(a.someUnset);
  EXPECT_TRUE(a.startsLow);
  EXPECT_TRUE(a.firstForm);
  EXPECT_TRUE(a.sameParent);
  EXPECT_TRUE(a.notAboveLowest);

  a = CompareSectionNumber(ctx, fc, Numbers({2}), 0);
  EXPECT_FALSE(a.startsLow);  // above "First Section Number"
  EXPECT_FALSE(a.firstForm);
  fc.Int(PolicyId::FirstSectionNumber).value = 2;
  EXPECT_TRUE(CompareSectionNumber(ctx, fc, Numbers({2}), 0).startsLow);

  // After 2.1, with level 2 having started at 1.
  SetLast({2, 1});
  ctx.Statistics.headings[1].lowestNumber = 1;
  a = CompareSectionNumber(ctx, fc, Numbers({2, 3}), 1);
  EXPECT_FALSE(a.noneSeen);
  EXPECT_FALSE(a.someUnset);
  EXPECT_TRUE(a.sameParent);
  EXPECT_FALSE(a.notAboveLowest);  // 3 lies above the lowest 1
  EXPECT_FALSE(a.startsLow);
  EXPECT_FALSE(a.firstForm);

  a = CompareSectionNumber(ctx, fc, Numbers({3, 1}), 1);
  EXPECT_FALSE(a.sameParent);
  EXPECT_TRUE(a.notAboveLowest);
  EXPECT_TRUE(a.firstForm);

  // A chapter at most the last one is in first form.
  SetLast({4});
  EXPECT_TRUE(CompareSectionNumber(ctx, fc, Numbers({2}), 0).firstForm);
  EXPECT_FALSE(CompareSectionNumber(ctx, fc, Numbers({2, 1}), 1).noneSeen);
  EXPECT_TRUE(CompareSectionNumber(ctx, fc, Numbers({2, 1}), 1).someUnset);
}

TEST_F(SectionProgressionTest, ComparesEachLevelWithTheLastNumbers) {
  const struct {
    std::initializer_list<int> last;
    std::initializer_list<int> number;
    int depth;
    int contentsLike;
    int result;
  } kCases[] = {
      // Chapters after chapter 3: a step of 2 passes, more is too large, back is too small.
      {{3}, {4}, 0, 0, kHeadingNoObjection},
      {{3}, {5}, 0, 0, kHeadingNoObjection},
      {{3}, {6}, 0, 0, kHeadingChapterTooLarge},
      {{3}, {2}, 0, 0, kHeadingChapterTooSmall},
      {{3}, {2}, 0, 1, kHeadingChangeTooSmall},  // contents-like
      {{3}, {3}, 0, 0, kHeadingRepeatedNumber},
      {{}, {1}, 0, 0, kHeadingNoObjection},
      {{}, {7}, 0, 0, kHeadingNoObjection},
      // Sub-sections after 2.1.
      {{2, 1}, {2, 2}, 1, 0, kHeadingNoObjection},
      {{2, 1}, {2, 3}, 1, 0, kHeadingMissingNumber},
      {{2, 1}, {2, 4}, 1, 0, kHeadingChangeTooLarge},
      {{2, 1}, {2, 1}, 1, 0, kHeadingRepeatedNumber},
      {{2, 1}, {2, 0}, 1, 0, kHeadingChangeTooSmall},
      {{2, 1}, {3, 1}, 1, 0, kHeadingNoObjection},
      {{2, 1}, {3, 5}, 1, 0, kHeadingNoObjection},  // stepped: deeper levels are not compared
      {{2, 1}, {2, 1, 1}, 2, 0, kHeadingNoObjection},
      // A step of two above the deepest level is too large, not a missing number.
      {{1, 4}, {3, 1}, 1, 0, kHeadingChangeTooLarge},
      {{4, 4}, {2, 1}, 1, 0, kHeadingChangeTooSmall},
      // The first sub-section after a chapter without sub-sections.
      {{1}, {2, 3}, 1, 0, kHeadingFirstSubheadingNotOne},
      {{1}, {2, 1}, 1, 0, kHeadingNoObjection},
      {{1}, {1, 3}, 1, 0, kHeadingNoObjection},  // not stepped: only the parent's step counts
      {{1}, {1, 0}, 1, 0, kHeadingNoObjection},
  };
  for (const auto& c : kCases) {
    SectionNumberFields number = Numbers(c.number);
    SCOPED_TRACE(testing::Message() << "number " << number[0] << "." << number[1] << " depth "
                                    << c.depth);
    SetLast(c.last);
    EXPECT_EQ(SectionProgression(ctx, fc, number, c.contentsLike, c.depth), c.result);
  }
}

TEST_F(SectionProgressionTest, LaterPassesCompareTheRecognisedLevels) {
  fc.GetRecognisedHeadings().count = 3;
  SetLast({2, 1, 4});
  // In the analysis pass only the line's own levels count: 2.1 repeats.
  EXPECT_EQ(SectionProgression(ctx, fc, Numbers({2, 1}), 0, 1), kHeadingRepeatedNumber);
  // Later, level 3 is compared too: the line has none there, which is no objection.
  SetPass(0, 1, 0);
  EXPECT_EQ(SectionProgression(ctx, fc, Numbers({2, 1}), 0, 1), kHeadingNoObjection);
  SetPass(0, 0, 1);
  SetLast({2, 1});
  EXPECT_EQ(SectionProgression(ctx, fc, Numbers({2, 1}), 0, 1), kHeadingRepeatedNumber);
}

TEST_F(SectionProgressionTest, MessagesNameTheNumberAndTheLastOne) {
  SetLast({2, 1});
  const struct {
    int result;
    std::initializer_list<int> number;
    int depth;
    const char* text;  // null: no message
  } kCases[] = {
      {kHeadingNoObjection, {2, 2}, 1, nullptr},
      {kHeadingChangeTooLarge, {2, 4}, 1,
       "INFO: Ignoring \"heading\" (change too large) : \"2.4\" in 2.1"},
      {kHeadingChangeTooSmall, {2, 0}, 1,
       "INFO: Ignoring \"heading\" (change too small) : \"2.0\" in 2.1"},
      {kHeadingFirstSubheadingNotOne, {2, 3}, 1, "INFO: Reject first sub-header of 2.3"},
      {kHeadingChapterTooSmall, {1}, 0,
       "INFO: Ignoring \"heading\" (chapter number too small): \"1\" in 2"},
      {kHeadingChapterTooLarge, {5}, 0,
       "INFO: Ignoring \"heading\" (chapter number too large): \"5\" in 2"},
      {kHeadingRepeatedNumber, {2, 1}, 1,
       "INFO: Repeated section number detected : \"2.1\" in 2.1"},
      {kHeadingRepeatedNumber, {2}, 0, nullptr},
      {kHeadingMissingNumber, {2, 3}, 1,
       "WARNING: Missing section number detected between 2.1 and \"2.3\""},
      {kHeadingChaptersTooClose, {2, 3}, 1, "PROGRAM ERROR: Unknown progression error for 2.3"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.result);
    TextString text("left over");
    const int has = ComposeProgressionMessage(ctx, c.result, Numbers(c.number), c.depth, text);
    EXPECT_EQ(has, c.text != nullptr ? 1 : 0);
    EXPECT_STREQ(text.GetText(), c.text != nullptr ? c.text : "");
  }
}

TEST_F(SectionProgressionTest, UnsetLastNumbersAreSkippedInMessages) {
  SetLast({3});
  TextString text;
  (void)ComposeProgressionMessage(ctx, kHeadingChangeTooSmall, Numbers({3, 0, 2}), 2, text);
  EXPECT_STREQ(text.GetText(), "INFO: Ignoring \"heading\" (change too small) : \"3.0.2\" in 3");
}

TEST(HeadingCheckResult, OnlyNoObjectionAndTheContentsCodesAccept) {
  for (int code = 0; code <= 15; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(IsAcceptingCheckResult(code), code == 0 || (code >= 6 && code <= 10));
  }
}
