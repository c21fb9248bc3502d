#include "analysis/HeadingDetection.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "text/StatementTypes.h"
#include "text/TextString.h"

namespace {

// A pass over a few linked lines, with every message the handler shows collected.
class HeadingDetection : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { shown.emplace_back(text); });
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;  // every level shown
    fc.ReportToHandler("settings in force", 10);
    shown.clear();
    // The levels the policy calculation found: every heading and contents line at column 0.
    for (HeadDetails& details : fc.GetRecognisedHeadings().headings) details.indent = 0;
    for (HeadDetails& details : fc.GetRecognisedHeadings().contents) details.indent = 0;
    SetPass(1, 0, 0);
  }

  void SetPass(int analysis, int contents, int output) {
    ctx.AnalysisPass = analysis;
    ctx.ContentsPass = contents;
    ctx.OutputPass = output;
    ctx.CodeLocation = analysis != 0 ? kLocationAnalysis
                                     : (contents != 0 ? kLocationContents : kLocationOutput);
  }
  // A heading was found before: the line analysis keeps its type.
  void AfterHeading(std::initializer_list<int> last) {
    std::size_t i = 0;
    for (HeadingLevelStats& level : ctx.Statistics.headings) level.lastNumber = -1;
    for (const int n : last) ctx.Statistics.headings[i++].lastNumber = n;
    fc.GetHeadingState().headingAccepted = 1;
    fc.GetHeadingState().lastHeadingType = kTypeHeading1;
  }
  // Appends a line of the given type at line number lineNumber of the main text.
  PreHTML& AddLine(const char* text, int type, int lineNumber) {
    lines.push_back(lines.empty() ? std::make_unique<PreHTML>()
                                  : std::make_unique<PreHTML>(lines.back().get()));
    PreHTML& line = *lines.back();
    line.SetText(text);
    line.SetLineType(type);
    line.SetStartPosition(fc, TextPosition(0, lineNumber));
    return line;
  }
  // TestHeadingCandidate with the line's word at wordIndex.
  int Test(PreHTML& line, int wordIndex = 1, int breakBefore = 1) {
    TextString word;
    const TextString& text = line;
    TextString trimmed(text);
    trimmed.Trim();
    (void)trimmed.GetField(wordIndex, ' ', word);
    return line.TestHeadingCandidate(fc, ctx, word, wordIndex, -1, breakBefore);
  }
  int LastNumber(int level) const { return ctx.Statistics.headings[level].lastNumber; }
  // The handler showed exactly message (null: nothing).
  void ExpectShown(const char* message) const {
    if (message != nullptr) {
      EXPECT_EQ(shown, std::vector<std::string>{message});
    } else {
      EXPECT_TRUE(shown.empty()) << shown.front();
    }
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> shown;
  std::vector<std::unique_ptr<PreHTML>> lines;
};

}  // namespace

TEST_F(HeadingDetection, ChaptersAfterChapterThree) {
  SetPass(0, 0, 1);
  const struct {
    const char* text;
    int type;
    bool ambiguous;
    const char* message;  // shown in the output pass; null: none
  } kCases[] = {
      {"4 Next", kTypeHeading1, false, nullptr},
      {"5 Step of two", kTypeHeading1, false, nullptr},
      {"6 Too far", 0, true, nullptr},
      {"2 Back", 0, true, "Line 3 - INFO: Ignoring \"heading\" (chapter number too small): 2"},
      {"1750 was a year", 0, false, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    shown.clear();
    AfterHeading({3});
    AddLine("Text of chapter three.", kTypeUntyped, 1);
    AddLine("", kTypeBlank, 2);
    PreHTML& line = AddLine(c.text, kTypeUntyped, 3);
    EXPECT_EQ(Test(line), c.type);
    EXPECT_EQ(line.HasFlag(kFlagAmbiguous), c.ambiguous);
    ExpectShown(c.message);
    EXPECT_EQ(LastNumber(0), c.type != 0 ? std::stoi(c.text) : 3);
  }
}

TEST_F(HeadingDetection, SubSectionsAfterTwoPointOne) {
  SetPass(0, 0, 1);
  const struct {
    std::initializer_list<int> last;
    const char* text;
    int type;
    bool ambiguous;
    const char* message;
  } kCases[] = {
      {{2, 1}, "2.2 Next", kTypeHeading2, false, nullptr},
      {{2, 1}, "2.3 Skips one", kTypeHeading2, false,
       "Line 2 - WARNING: Missing section number detected between 2.1 and \"2.3\""},
      {{2, 1}, "2.4 Skips two", 0, true, nullptr},
      {{2, 1}, "2.1 Again", kTypeHeading2, false,
       "Line 2 - INFO: Repeated section number detected : \"2.1\" in 2.1"},
      {{2, 1}, "2.1.1 Deeper", kTypeHeading3, false, nullptr},
      {{2, 1}, "3.1 Next chapter", kTypeHeading2, false, nullptr},
      {{1}, "2.3 First of chapter two", 0, true, "Line 2 - INFO: Reject first sub-header of 2.3"},
      {{1}, "2.1 First of chapter two", kTypeHeading2, false, nullptr},
      {{2, 1}, "2.1750 a year", 0, false, nullptr},
      // A field with letters, as in a hardware address row, makes no section number.
      {{2, 1}, "2-1E-2 Hex field", 0, false, nullptr},
      {{2, 1}, "2-2-0D Hex deepest field", 0, false, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    shown.clear();
    AfterHeading(c.last);
    AddLine("text", kTypeUntyped, 1);
    PreHTML& line = AddLine(c.text, kTypeUntyped, 2);
    EXPECT_EQ(Test(line), c.type);
    EXPECT_EQ(line.HasFlag(kFlagAmbiguous), c.ambiguous);
    ExpectShown(c.message);
  }
}

TEST_F(HeadingDetection, AnAcceptedHeadingMovesTheNumberStateOn) {
  SetPass(0, 0, 1);
  AfterHeading({2, 1, 4});
  ctx.Statistics.headings[0].previousNumber = 1;
  AddLine("text", kTypeUntyped, 1);
  PreHTML& line = AddLine("2.2 Next", kTypeUntyped, 2);
  ASSERT_EQ(Test(line), kTypeHeading2);
  EXPECT_EQ(LastNumber(0), 2);
  EXPECT_EQ(LastNumber(1), 2);
  EXPECT_EQ(LastNumber(2), -1);
  EXPECT_EQ(ctx.Statistics.headings[1].previousNumber, 1);
  EXPECT_EQ(ctx.Statistics.headings[2].previousNumber, -1);
  EXPECT_EQ(ctx.Statistics.headings[0].contentsMark, 0);
  EXPECT_EQ(ctx.Statistics.headings[1].lowestNumber, 2);
  EXPECT_EQ(ctx.Statistics.headings[1].highestNumber, 2);
  EXPECT_EQ(line.GetSectionDepth(), 1);
  EXPECT_EQ(line.GetSectionNumber(0), 2);
  EXPECT_EQ(line.GetSectionNumber(1), 2);
  EXPECT_EQ(line.GetSectionNumber(2), -1);
}

TEST_F(HeadingDetection, ConsecutiveChaptersWithdrawTheEarlierOne) {
  SetPass(0, 0, 1);
  AfterHeading({1});
  ctx.Statistics.headings[0].previousNumber = -1;
  PreHTML& first = AddLine("1 Apples", kTypeHeading1, 1);
  AddLine("", kTypeBlank, 2);
  PreHTML& second = AddLine("1 Pears", kTypeUntyped, 3);
  EXPECT_EQ(Test(second), 0);
  EXPECT_TRUE(second.HasFlag(kFlagAmbiguous));
  EXPECT_EQ(first.GetLineType(), kTypeNumberedBullet);
  EXPECT_EQ(LastNumber(0), -1);  // back to before the first
  // The two texts differ: the typo and the missing bracket are the program's own.
  EXPECT_EQ(shown,
            (std::vector<std::string>{
                "Line 1 - INFO: Ignoring \"heading\" (\"chapters\" too close (consecutive)) : ",
                "Line 3 - INFO: Ignoring \"heading\" (\"chapters\" too close (consectutive): ",
            }));
}

TEST_F(HeadingDetection, ChaptersFarEnoughApartOrAtAnotherIndentStay) {
  const struct {
    const char* firstText;
    int blanks;
    const char* secondText;
    bool withdrawn;
  } kCases[] = {
      {"1 Apples", 2, "1 Pears", true},
      {"1 Apples", 3, "1 Pears", false},    // three lines passed over
      {"1 Apples", 1, "  1 Pears", false},  // another indent
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.blanks);
    lines.clear();
    fc.Bool(PolicyId::ExpectNumberedBullets).value = 0;
    AfterHeading({1});
    PreHTML& first = AddLine(c.firstText, kTypeHeading1, 1);
    int n = 2;
    for (int i = 0; i < c.blanks; ++i) AddLine("", kTypeBlank, n++);
    PreHTML& second = AddLine(c.secondText, kTypeUntyped, n);
    const int result = CheckChaptersTooClose(ctx, fc, second, 0, 0, 0,
                                             static_cast<PreHTML*>(second.GetPrevious()));
    EXPECT_EQ(result, c.withdrawn ? kHeadingConsecutiveChapters : kHeadingNoObjection);
    EXPECT_EQ(first.GetLineType(), c.withdrawn ? kTypeUntyped : kTypeHeading1);
  }
}

// A line joined into the chapter above is dropped but is the chapter's own text: the next
// chapter does not follow an empty one. A dropped line without text is passed over.
TEST_F(HeadingDetection, AChapterWhoseTitleRunsOnIsNotWithdrawn) {
  const struct {
    const char* what;
    const char* dropped;  // the raw text of the dropped line between the chapters
    bool withdrawn;
  } kCases[] = {
      {"line joined into the chapter", "   the words that run on", false},
      {"dropped blank line", "   ", true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    fc.Bool(PolicyId::ExpectNumberedBullets).value = 0;
    AfterHeading({1});
    PreHTML& first = AddLine("1. MUST   This word means that the", kTypeHeading1, 1);
    PreHTML& joined = AddLine(c.dropped, kTypeNull, 2);
    joined.SetEmpty();  // the text went into the heading; the raw copy stays
    AddLine("", kTypeBlank, 3);
    PreHTML& second = AddLine("2. MAY   This word means that the", kTypeUntyped, 4);
    const int result = CheckChaptersTooClose(ctx, fc, second, 0, 0, 0,
                                             static_cast<PreHTML*>(second.GetPrevious()));
    EXPECT_EQ(result, c.withdrawn ? kHeadingConsecutiveChapters : kHeadingNoObjection);
    EXPECT_EQ(first.GetLineType(), c.withdrawn ? kTypeUntyped : kTypeHeading1);
  }
}

TEST_F(HeadingDetection, ChaptersTooCloseInTheAnalysisPass) {
  fc.GetHeadingState().lastLevel1Heading = TextPosition(0, 20);
  const struct {
    int lineNumber;
    int result;
  } kCases[] = {
      {27, kHeadingChaptersTooClose},  // 7 lines after: fewer than 8
      {28, kHeadingNoObjection},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lineNumber);
    lines.clear();
    fc.GetHeadingState().lastLevel1Heading = TextPosition(0, 20);
    AddLine("text", kTypeUntyped, c.lineNumber - 1);
    PreHTML& line = AddLine("4 Short", kTypeUntyped, c.lineNumber);
    EXPECT_EQ(CheckChaptersTooClose(ctx, fc, line, 0, 0, 1,
                                    static_cast<PreHTML*>(line.GetPrevious())),
              c.result);
    const int expectedLast = c.result == kHeadingChaptersTooClose ? c.lineNumber : 20;
    EXPECT_EQ(fc.GetHeadingState().lastLevel1Heading.GetColumn(), expectedLast);
  }
  // Early lines and other passes are never too close.
  lines.clear();
  fc.GetHeadingState().lastLevel1Heading = TextPosition(0, 10);
  PreHTML& early = AddLine("2 Early", kTypeUntyped, 15);
  EXPECT_EQ(CheckChaptersTooClose(ctx, fc, early, 0, 0, 1, nullptr), kHeadingNoObjection);
  SetPass(0, 0, 1);
  PreHTML& later = AddLine("3 Later", kTypeUntyped, 16);
  EXPECT_EQ(CheckChaptersTooClose(ctx, fc, later, 0, 0, 1, nullptr), kHeadingNoObjection);
}

TEST_F(HeadingDetection, AContentsListBeginsAndTheChaptersEndIt) {
  // Analysis pass, nothing seen: the numbers before the first chapter are contents lines.
  const struct {
    const char* text;
    int type;
  } kCases[] = {
      {"1 Introduction ........ 1", kTypeContentsHeading1},
      {"1.1 Scope ........ 1", kTypeContentsHeading2},
      {"2 Method ........ 4", kTypeContentsHeading1},
      {"1 Introduction", kTypeHeading1},  // the number went back: the list ends
      {"1.1 Scope", kTypeHeading2},
  };
  int n = 1;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    AddLine("", kTypeBlank, n++);
    PreHTML& line = AddLine(c.text, kTypeUntyped, n++);
    const int type = Test(line);
    EXPECT_EQ(type, c.type);
    if (type != 0) fc.GetHeadingState().lastHeadingType = type;
  }
  EXPECT_EQ(fc.GetHeadingState().inContentsList, 0);
  EXPECT_EQ(fc.GetHeadingState().contentsListEnded, 1);
  EXPECT_EQ(fc.GetHeadingState().headingAccepted, 1);
  EXPECT_EQ(fc.GetHeadingState().lastContentsLine.GetColumn(), 6);
}

TEST_F(HeadingDetection, WithoutContentsListTheFirstChapterEndsTheSearch) {
  fc.Bool(PolicyId::ExpectContentsList).value = 0;
  AddLine("", kTypeBlank, 1);
  PreHTML& line = AddLine("1 Introduction", kTypeUntyped, 2);
  EXPECT_EQ(Test(line), kTypeHeading1);
  EXPECT_EQ(fc.GetHeadingState().contentsListEnded, 1);
}

TEST_F(HeadingDetection, LevelCheckResults) {
  SetPass(0, 0, 1);
  const struct {
    std::initializer_list<int> last;
    std::initializer_list<int> number;
    int depth;
    int contentsLike;
    int tooSmall;
    int inContentsList;
    int result;
    const char* message;
  } kCases[] = {
      {{4}, {1}, 0, 1, 0, 1, kHeadingContentsEndsAtOne,
       "Line 1 - INFO: End Contents at section 1"},
      {{4}, {2}, 0, 1, 1, 1, kHeadingContentsEndsNumberBack, nullptr},
      {{4}, {9}, 0, 0, 0, 0, kHeadingChapterTooLarge,
       "Line 1 - INFO: Ignoring \"heading\" (number too large): 9"},
      {{}, {3}, 0, 0, 0, 0, kHeadingFirstRejected, "Line 1 - INFO: Reject first header of 3."},
      {{}, {2, 4}, 1, 0, 0, 0, kHeadingFirstRejected,
       "Line 1 - INFO: Reject first header of 2.4."},
      {{}, {1, 2}, 1, 1, 0, 0, kHeadingFirstRejected,  // contents-like, no list in progress
       "Line 1 - INFO: Reject first header of 1.2."},
      {{}, {1}, 0, 0, 0, 0, kHeadingContentsBegins, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "result " << c.result);
    lines.clear();
    shown.clear();
    AfterHeading(c.last);
    fc.GetHeadingState() = FileControl::HeadingState();
    fc.GetHeadingState().inContentsList = c.inContentsList;
    fc.GetHeadingState().headingAccepted = 1;
    SectionNumberFields numbers;
    numbers.fill(-1);
    std::size_t i = 0;
    for (const int n : c.number) numbers[i++] = n;
    PreHTML& line = AddLine("x", kTypeUntyped, 1);
    line.SetFlag(kFlagContentsList, true);
    const SectionComparison comparison = CompareSectionNumber(ctx, fc, numbers, c.depth);
    EXPECT_EQ(CheckHeadingLevel(ctx, fc, line, numbers, c.depth, c.contentsLike, c.tooSmall,
                                comparison, 1),
              c.result);
    ExpectShown(c.message);
    const bool ends = c.result == kHeadingContentsEndsAtOne ||
                      c.result == kHeadingContentsEndsNumberBack;
    EXPECT_EQ(line.HasFlag(kFlagContentsList), !ends);
    EXPECT_EQ(fc.GetHeadingState().contentsListEnded, ends ? 1 : 0);
  }
}

TEST_F(HeadingDetection, IndentationIsCheckedOutsideTheAnalysisPass) {
  fc.GetRecognisedHeadings().headings[0].indent = 2;
  fc.GetRecognisedHeadings().headings[1].indent = 4;
  const struct {
    const char* text;
    int type;
  } kCases[] = {
      {" 2 One left", kTypeHeading1},  {"  2 At the column", kTypeHeading1},
      {"   2 One right", 0},           {"2 Two left", 0},
      {"  1.2 Two left", kTypeHeading2}, {"     1.2 One right", kTypeHeading2},
      {"      1.2 Two right", 0},
  };
  for (const int output : {0, 1}) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(testing::Message() << c.text << " output " << output);
      lines.clear();
      shown.clear();
      SetPass(0, output != 0 ? 0 : 1, output);
      AfterHeading({1, 1});
      AddLine("text", kTypeUntyped, 1);
      PreHTML& line = AddLine(c.text, kTypeUntyped, 2);
      EXPECT_EQ(Test(line), c.type);
      // Only the output pass explains.
      EXPECT_EQ(shown.size(), c.type == 0 && output != 0 ? 1u : 0u);
    }
  }
  lines.clear();
  shown.clear();
  AfterHeading({1});
  AddLine("text", kTypeUntyped, 1);
  PreHTML& line = AddLine("2 Two left", kTypeUntyped, 2);
  EXPECT_EQ(Test(line), 0);
  EXPECT_EQ(shown, std::vector<std::string>{
                       "Line 2 - INFO: Ignoring \"heading\" at \"wrong\" indentation : \"2\" in 1 "
                       "at 0 instead of 2"});
  fc.Bool(PolicyId::CheckIndentationForConsistency).value = 0;
  EXPECT_EQ(Test(line), kTypeHeading1);
}

// A contents entry keeps to the column learnt for its level; a level too rare for a column to
// be learnt has none to keep to, and its entries stay contents lines.
TEST_F(HeadingDetection, ContentsLineKeepsToALearntColumnOnly) {
  const struct {
    int column;
    int type;
  } kCases[] = {
      {-1, kTypeContentsHeading2},
      {6, kTypeContentsHeading2},
      {5, kTypeContentsHeading2},
      {3, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.column);
    lines.clear();
    SetPass(0, 0, 1);
    fc.GetHeadingState() = FileControl::HeadingState();
    fc.GetHeadingState().BeginContentsList(1);
    AfterHeading({7});
    fc.GetHeadingState().lastHeadingType = kTypeContentsHeading1;
    fc.GetRecognisedHeadings().contents[1].indent = c.column;
    AddLine("   7. References ...................... 6", kTypeContentsHeading1, 1);
    PreHTML& line = AddLine("      7.1. Normative References ........ 6", kTypeUntyped, 2);
    EXPECT_EQ(Test(line), c.type);
  }
}

// Numbered lines before the contents list ("(1)", "(2)") leave the numbering at 2; in the
// analysis pass the list's first entry "1." that ends in its page number is an entry all the
// same and the list goes on, while a "1." without a page number numbers back: the list ends
// there and the line is a chapter.
TEST_F(HeadingDetection, AnEntryWithItsPageNumberGoesOnWithTheContentsList) {
  const struct {
    const char* text;
    int type;
    int listOpen;
  } kCases[] = {
      {"   1. Introduction ....................................3", kTypeContentsHeading1, 1},
      {"   1. Introduction", kTypeHeading1, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    fc.GetHeadingState() = FileControl::HeadingState();
    AfterHeading({2});
    fc.GetHeadingState().BeginContentsList(1);
    AddLine("Table of Contents", kTypeUntyped, 77);
    AddLine("", kTypeBlank, 78);
    PreHTML& line = AddLine(c.text, kTypeUntyped, 79);
    EXPECT_EQ(Test(line), c.type);
    EXPECT_EQ(fc.GetHeadingState().inContentsList, c.listOpen);
    EXPECT_EQ(LastNumber(0), 1);
  }
}

TEST_F(HeadingDetection, AChapterInRunningTextIsNoHeading) {
  // Later passes refuse it before anything moves.
  SetPass(0, 0, 1);
  AfterHeading({1});
  AddLine("text", kTypeUntyped, 1);
  PreHTML& line = AddLine("2 apples were left.", kTypeUntyped, 2);
  EXPECT_EQ(Test(line, 1, 0), 0);
  EXPECT_EQ(LastNumber(0), 1);
  EXPECT_EQ(shown,
            std::vector<std::string>{"Line 2 - INFO: Ignoring \"heading\" embedded in text"});
  // The analysis pass moves the number on all the same.
  SetPass(1, 0, 0);
  EXPECT_EQ(Test(line, 1, 0), 0);
  EXPECT_EQ(LastNumber(0), 2);
  EXPECT_FALSE(fc.GetHeadingState().lastLevel1Heading.IsSet());
  // Sub-sections may follow text directly.
  EXPECT_EQ(Test(AddLine("2.1 Part", kTypeUntyped, 3), 1, 0), kTypeHeading2);
}

TEST_F(HeadingDetection, TheAnalysisPassCountsNumbersAndPrefixWords) {
  CalculationStatistics named(ctx.Statistics);
  const int chapterTwosBefore = named.levelZeroSections[0];
  AfterHeading({1});
  AddLine("", kTypeBlank, 1);
  PreHTML& line = AddLine("Chapter (2a) Results", kTypeUntyped, 2);
  EXPECT_EQ(Test(line, 2), kTypeHeading1);
  HeadingLevelStats& level = ctx.Statistics.headings[0];
  EXPECT_EQ(level.secondWordCount, 1);
  ASSERT_NE(level.secondWords.GetByRank(1), nullptr);
  EXPECT_STREQ(level.secondWords.GetByRank(1)->label.get(), "Chapter");
  EXPECT_EQ(named.preHeaderChars.GetSamples(), 1);
  EXPECT_EQ(named.postHeaderChars.GetSamples(), 1);
  EXPECT_EQ(named.alphaAfterHeadings, 1);
  EXPECT_EQ(named.levelZeroSections[0], chapterTwosBefore + 1);
  EXPECT_EQ(fc.GetHeadingState().lastLevel1Heading.GetColumn(), 2);
  EXPECT_EQ(ctx.Statistics.headings[0].contentsMark, 0);  // marks move only in later passes
}

TEST_F(HeadingDetection, InsideAContentsSectionEveryNumberIsAContentsLine) {
  ctx.pGetTracker()->inContents = 1;
  AfterHeading({5});
  AddLine("text", kTypeUntyped, 1);
  EXPECT_EQ(Test(AddLine("2 Method", kTypeUntyped, 2)), kTypeContentsHeading1);
  EXPECT_EQ(Test(AddLine("9.3 Far", kTypeUntyped, 3)), kTypeContentsHeading2);
  EXPECT_EQ(LastNumber(0), 5);  // the section's numbers leave the state alone
}

TEST_F(HeadingDetection, ForbiddenHeadingsAreNeverFound) {
  AddLine("text", kTypeUntyped, 1);
  PreHTML& line = AddLine("1 Introduction", kTypeUntyped, 2);
  ctx.pGetTracker()->SetPermission(Permission::NumberedHeadings, 0);
  EXPECT_EQ(Test(line), 0);
  fc.Bool(PolicyId::ExpectNumberedHeadings).value = 0;
  ctx.pGetTracker()->SetPermission(Permission::NumberedHeadings, 1);
  EXPECT_EQ(Test(line), 0);
}

TEST_F(HeadingDetection, RecognisedLevelsLimitTheDepthInLaterPasses) {
  fc.GetRecognisedHeadings().count = 2;
  AfterHeading({1, 1});
  AddLine("text", kTypeUntyped, 1);
  PreHTML& line = AddLine("1.1.1 Deep", kTypeUntyped, 2);
  EXPECT_EQ(Test(line), kTypeHeading3);  // the analysis pass knows no limit
  AfterHeading({1, 1});
  SetPass(0, 1, 0);
  EXPECT_EQ(Test(line), 0);
}

TEST_F(HeadingDetection, UnderlinedHeadingsAreJudgedByTheirIndent) {
  SetPass(0, 0, 1);
  const struct {
    int indent;
    int length;  // of the text after the indent
    bool centred;
    bool explicitlyExpected;
    int type;
  } kCases[] = {
      // Off centre by |(80 - length - indent) / 2|.
      {4, 10, false, false, kTypeUnderlinedHeading1},  // indent at most 4
      {5, 10, false, false, 0},                       // off centre by 30
      {5, 10, true, false, kTypeUnderlinedHeading1},  // centred
      {30, 10, false, false, kTypeUnderlinedHeading1},  // off centre by 5
      {28, 10, false, false, 0},                      // off centre by 7
      {28, 10, false, true, kTypeUnderlinedHeading1},  // below 8 when expected explicitly
      {6, 10, false, true, kTypeUnderlinedHeading1},
      {7, 10, false, true, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "indent " << c.indent << " centred " << c.centred);
    lines.clear();
    shown.clear();
    fc.Bool(PolicyId::ExpectUnderlinedHeadings).set = c.explicitlyExpected ? 1 : 0;
    std::string text(static_cast<std::size_t>(c.indent), ' ');
    text += std::string(static_cast<std::size_t>(c.length), 'T');
    PreHTML& line = AddLine(text.c_str(), kTypeUntyped, 1);
    line.SetFlag(kFlagCentred, c.centred);
    TextString word("TTTT");
    EXPECT_EQ(line.TestHeadingCandidate(fc, ctx, word, 1, 0, 1), c.type);
    EXPECT_EQ(shown.size(), c.type == 0 ? 1u : 0u);
  }
  EXPECT_EQ(shown, std::vector<std::string>{
                       "Line 1 - INFO: rejecting underlined heading (wrong indent)"});
}

TEST_F(HeadingDetection, UnderlinedIndentsSeenOftenDecide) {
  SetPass(0, 0, 1);
  TextStats& indents = ctx.Statistics.underlinedHeadings[1].indents;
  for (int i = 0; i < 3; ++i) (void)indents.Add(8);
  PreHTML& atColumn = AddLine("        Title", kTypeUntyped, 1);
  TextString word("Title");
  EXPECT_EQ(atColumn.TestHeadingCandidate(fc, ctx, word, 1, 1, 1), kTypeUnderlinedHeading2);
  PreHTML& elsewhere = AddLine("    Title", kTypeUntyped, 2);
  EXPECT_EQ(elsewhere.TestHeadingCandidate(fc, ctx, word, 1, 1, 1), 0);
  // The analysis pass takes every indent; DISALLOW refuses every line.
  SetPass(1, 0, 0);
  EXPECT_EQ(elsewhere.TestHeadingCandidate(fc, ctx, word, 1, 1, 1), kTypeUnderlinedHeading2);
  ctx.pGetTracker()->SetPermission(Permission::UnderlinedHeadings, 0);
  EXPECT_EQ(elsewhere.TestHeadingCandidate(fc, ctx, word, 1, 1, 1), 0);
}
