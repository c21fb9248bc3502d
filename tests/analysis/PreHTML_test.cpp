#include "analysis/PreHTML.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "policy/PolicyTable.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// ---- Geometry and renderings ----

TEST(PreHTML, SetTextMeasuresIndentAndLength) {
  const struct {
    const char* text;
    int indent;
    int length;
  } kCases[] = {
      {"   abc  ", 3, 6},
      {"", 0, 0},
      {"abc", 0, 3},
      {"     ", 0, 0},  // nothing but blanks: no indent
      {" a b ", 1, 4},
      {"\tx\t", 1, 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    PreHTML line;
    line.SetText(c.text);
    EXPECT_EQ(line.GetIndent(), c.indent);
    EXPECT_EQ(line.GetLineLength(), c.length);
    EXPECT_STREQ(line.GetText(), c.text);
    EXPECT_STREQ(line.GetMarkup().GetText(), c.text);
    EXPECT_STREQ(line.GetTidy().GetText(), c.text);
    EXPECT_STREQ(line.GetPlain().GetText(), c.text);
    EXPECT_STREQ(line.GetRawCopy().GetText(), c.text);
  }
}

TEST(PreHTML, SetTextOfNullEmptiesEverything) {
  PreHTML line;
  line.SetText("  old text");
  line.SetText(nullptr);
  EXPECT_TRUE(line.IsEmpty());
  EXPECT_TRUE(line.GetMarkup().IsEmpty());
  EXPECT_TRUE(line.GetTidy().IsEmpty());
  EXPECT_TRUE(line.GetPlain().IsEmpty());
  EXPECT_TRUE(line.GetRawCopy().IsEmpty());
  EXPECT_EQ(line.GetIndent(), 0);
  EXPECT_EQ(line.GetLineLength(), 0);
}

// ---- Reset and copy ----

TEST(PreHTML, ResetKeepsTheDriverBitsAndSetsIncluded) {
  PreHTML line;
  EXPECT_EQ(line.GetFlags(), static_cast<unsigned>(kFlagIncluded));

  line.SetText("  text");
  line.SetLineType(kTypeHeading2);
  line.SetTaggedType(kTagLine);
  line.SetFlag(0xFFFFFFFFu, true);
  line.SetWidthOffset(4);
  line.SetSpecialFormat(3);
  line.SetPreformattedKind(7);
  line.SetAnchorPosition(5, 12);
  line.SetOutputMark(1, 9);
  line.SetSectionNumber(0, 3);
  line.SetOwnedText(2, TextString("attached"));
  FileControl fc;
  LogErrorHandler quiet;
  line.SetStartPosition(fc, TextPosition(0, 4));
  line.SetEndPosition(fc, TextPosition(0, 5));
  line.ReportLineMessageTo(quiet, 1, 1, 4, "INFO: note", 1);
  ASSERT_NE(line.pGetNote(), nullptr);

  line.Reset(0);
  EXPECT_EQ(line.GetFlags(), kDriverFlagsMask | kFlagIncluded);
  EXPECT_TRUE(line.IsEmpty());
  EXPECT_EQ(line.GetLineType(), kTypeUntyped);
  EXPECT_EQ(line.GetTaggedType(), kTagNone);
  EXPECT_EQ(line.GetIndent(), -1);
  EXPECT_EQ(line.GetLineLength(), -1);
  EXPECT_EQ(line.GetWidthOffset(), 0);
  EXPECT_EQ(line.GetSpecialFormat(), 0);
  EXPECT_EQ(line.GetPreformattedKind(), 0);
  EXPECT_EQ(line.GetFirstWordLength(), -1);
  EXPECT_TRUE(line.GetMarkup().IsEmpty());
  EXPECT_TRUE(line.GetTidy().IsEmpty());
  EXPECT_FALSE(line.GetStartPosition().IsSet());
  EXPECT_FALSE(line.GetEndPosition().IsSet());
  EXPECT_EQ(line.GetAnchorPosition(5), -1);
  EXPECT_EQ(line.GetSectionNumber(0), -1);
  const int marks[] = {0, -1, 0, -1};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(line.GetOutputMark(i), marks[i]) << i;
  EXPECT_EQ(line.pGetNote(), nullptr);
  EXPECT_EQ(line.pGetOwnedText(2), nullptr);
}

TEST(PreHTML, IndexedFieldsIgnoreIndexesOutOfRange) {
  PreHTML line;
  for (const int i : {-1, 6, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(i);
    line.SetAnchorPosition(i, 5);
    line.SetSectionNumber(i, 5);
    line.SetOutputMark(i == 6 ? 4 : i, 5);
    line.SetOwnedText(i == 6 ? 4 : i, TextString("x"));
    EXPECT_EQ(line.GetAnchorPosition(i), -1);
    EXPECT_EQ(line.GetSectionNumber(i), -1);
    EXPECT_EQ(line.GetOutputMark(i == 6 ? 4 : i), -1);
    EXPECT_EQ(line.pGetOwnedText(i == 6 ? 4 : i), nullptr);
  }
  for (int i = 0; i < PreHTML::kAnchorPositions; ++i)
    EXPECT_EQ(line.GetAnchorPosition(i), -1);
}

TEST(PreHTML, CopyFromTakesTheAnalysisAndDeepCopiesOwnedTexts) {
  FileControl fc;
  LogErrorHandler quiet;
  PreHTML source;
  source.SetText("  Heading words");
  source.SetLineType(kTypeHeading1);
  source.SetTaggedType(kTagLinkPoint);
  source.SetFirstWordLength(7);
  source.SetStartPosition(fc, TextPosition(2, 8));
  source.SetEndPosition(fc, TextPosition(2, 9));
  source.GetTidy().Assign("tidy");
  source.SetWidthOffset(3);
  source.SetSpecialFormat(2);
  source.SetPreformattedKind(10);
  source.SetAnchorPosition(0, 11);
  source.SetOutputMark(3, 21);
  source.SetFlag(kFlagCentred | kFlagHeadingTag | 0x80000u, true);
  source.SetOwnedText(0, TextString("owned"));
  source.ReportLineMessageTo(quiet, 1, 1, 8, "INFO: copied", 1);

  PreHTML copy;
  copy.SetFlag(0x100000u, true);  // the copy's own driver bit
  copy.CopyFrom(&source);

  EXPECT_EQ(copy.GetLineType(), kTypeHeading1);
  EXPECT_EQ(copy.GetTaggedType(), kTagLinkPoint);
  EXPECT_EQ(copy.GetFirstWordLength(), 7);
  EXPECT_STREQ(copy.GetRawCopy().GetText(), "  Heading words");
  EXPECT_STREQ(copy.GetMarkup().GetText(), "  Heading words");
  EXPECT_STREQ(copy.GetTidy().GetText(), "tidy");
  EXPECT_STREQ(copy.GetPlain().GetText(), "  Heading words");
  EXPECT_EQ(copy.GetIndent(), 2);
  EXPECT_EQ(copy.GetLineLength(), 15);
  EXPECT_EQ(copy.GetStartPosition().GetColumn(), 8);
  EXPECT_EQ(copy.GetEndPosition().GetColumn(), 9);
  EXPECT_EQ(copy.GetWidthOffset(), 3);
  EXPECT_EQ(copy.GetSpecialFormat(), 2);
  EXPECT_EQ(copy.GetPreformattedKind(), 10);
  EXPECT_EQ(copy.GetAnchorPosition(0), 11);
  EXPECT_EQ(copy.GetOutputMark(3), 21);
  // The analysis bits come over, the driver's bits stay the copy's own.
  EXPECT_EQ(copy.GetFlags(),
            static_cast<unsigned>(kFlagCentred | kFlagHeadingTag | kFlagIncluded) | 0x100000u);

  ASSERT_NE(copy.pGetOwnedText(0), nullptr);
  ASSERT_NE(copy.pGetNote(), nullptr);
  EXPECT_NE(copy.pGetOwnedText(0), source.pGetOwnedText(0));
  EXPECT_NE(copy.pGetNote(), source.pGetNote());
  source.SetOwnedText(0, TextString("changed"));
  source.ReportLineMessageTo(quiet, 1, 1, 8, "INFO: later", 1);
  EXPECT_STREQ(copy.pGetOwnedText(0)->GetText(), "owned");
  EXPECT_STREQ(copy.pGetNote()->GetText(), "*** INFO: copied");

  // Copying onto itself or from nothing changes nothing.
  copy.CopyFrom(&copy);
  copy.CopyFrom(nullptr);
  EXPECT_EQ(copy.GetLineType(), kTypeHeading1);
}

TEST(PreHTML, LinksAfterTheGivenLine) {
  PreHTML first;
  PreHTML second(&first);
  EXPECT_EQ(second.GetPrevious(), &first);
  EXPECT_EQ(first.GetNext(), &second);
}

// ---- Text tests ----

TEST(PreHTML, UpperCaseSkipsTheAmpersandEntity) {
  const struct {
    const char* text;
    bool upper;
  } kCases[] = {
      {"FISH &amp; CHIPS", true},
      {"FISH &lt; CHIPS", false},
      {"FISH &amp CHIPS", false},  // no ';': the letters count
      {"AMP; amp;", true},
      {"ABC 123 -", true},
      {"ABc", false},
      {"\xC9T\xC9", true},  // bytes above 0x7F are not letters
      {"", true},
      {"amp", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    PreHTML line;
    line.SetText(c.text);
    EXPECT_EQ(line.HasNoLowerCase(), c.upper);
    const TextString& asText = line;
    EXPECT_EQ(asText.HasNoLowerCase(), c.upper);  // through the virtual
  }
}

TEST(PreHTML, MaxLineLengthIsShorterThanAStatements) {
  PreHTML line;
  const Statement& statement = line;
  EXPECT_EQ(statement.MaxLineLength(), 255);
  EXPECT_EQ(Statement().MaxLineLength(), 1024);
}

// ---- Wrapping ----

TEST(PreHTML, RollOutLinesAreOneSegmentAndWidthOffsetsWiden) {
  const std::string text = "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk";
  PreHTML line;
  line.SetText(text.c_str());
  TextString out;
  int next = 0;

  ASSERT_TRUE(line.GetWrappedSegment(10, 0, " ", "", "", out, &next, 0));
  EXPECT_STREQ(out.GetText(), "aaaa bbbb");

  line.SetWidthOffset(10);  // 10 + 10 + 15 = 35
  ASSERT_TRUE(line.GetWrappedSegment(10, 0, " ", "", "", out, &next, 0));
  EXPECT_STREQ(out.GetText(), "aaaa bbbb cccc dddd eeee ffff gggg");

  line.SetWidthOffset(INT_MAX);  // no overflow: the whole rest fits
  ASSERT_TRUE(line.GetWrappedSegment(INT_MAX, 5, " ", "", "", out, &next, 0));
  EXPECT_STREQ(out.GetText(), text.c_str() + 5);

  line.SetWidthOffset(0);
  line.SetFlag(kFlagRollOut, true);
  ASSERT_TRUE(line.GetWrappedSegment(10, 5, " ", "", "", out, &next, 0));
  EXPECT_STREQ(out.GetText(), text.c_str() + 5);
  EXPECT_EQ(next, static_cast<int>(text.size()));
  EXPECT_FALSE(line.GetWrappedSegment(10, next + 1, " ", "", "", out, &next, 0));
}

TEST(PreHTML, FindBreakTellsWhenTheBreakFallsInsideATag) {
  const struct {
    const char* text;
    int width;
    int respectMarkup;
    int inside;
  } kCases[] = {
      {"see <a href=x>link</a> and more words here", 10, 1, 1},
      {"see <a href=x>link</a> and more words here", 10, 0, 0},
      {"see <b>bold</b> then plain words follow on", 25, 1, 0},
      {"plain words only and nothing else at all", 10, 1, 0},
      {"a > b and c > d but never an opener here", 10, 1, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    PreHTML line;
    line.SetText(c.text);
    int breakAt = -1;
    int plainBreak = -1;
    int inside = -1;
    line.FindBreak(0, c.width, " ", "", "", &breakAt, 0, c.respectMarkup, &inside);
    line.FindBreakPosition(0, c.width, " ", "", "", &plainBreak, 0);
    EXPECT_EQ(breakAt, plainBreak);
    EXPECT_EQ(inside, c.inside);
  }
}

// ---- Hanging indent ----

TEST(PreHTML, HangingIndentFollowsContinuationsOrTheSecondWord) {
  const struct {
    const char* what;
    const char* text;
    int nextType;  // kTypeEndOfFile: no next line
    const char* nextText;
    int expected;
  } kCases[] = {
      {"untyped next", "  Term   the text", kTypeUntyped, "      more", 6},
      {"hanging continuation", "  Term   the text", kTypeHangingContinuation, "     x", 5},
      {"bullet continuation", "  Term   the text", kTypeBulletContinuation, "    x", 4},
      {"bullet with comment", "  Term   the text", kTypeBulletBlankWithComment, "   x", 3},
      {"definition continuation", "  Term   the text", kTypeDefinitionContinuation, " x", 1},
      {"blank next: second word", "  Term   the text", kTypeBlank, "", 9},
      {"no next line: second word", "  Term   the text", kTypeEndOfFile, "", 9},
      {"one word: own indent", "    Term", kTypeBlank, "", 4},
      {"one word, trailing blanks", "    Term   ", kTypeBlank, "", 4},
      {"empty line", "", kTypeBlank, "", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    PreHTML line;
    line.SetText(c.text);
    std::unique_ptr<PreHTML> next;
    if (c.nextType != kTypeEndOfFile) {
      next = std::make_unique<PreHTML>(&line);
      next->SetText(c.nextText);
      next->SetLineType(c.nextType);
    }
    EXPECT_EQ(line.GetHangingIndent(), c.expected);
  }
}

// ---- Statistics ----

class PreHTMLStatistics : public ::testing::Test {
 protected:
  // Adds lines of (type, text, flags) in order, linked as the window links them.
  void AddLines(std::initializer_list<std::tuple<int, const char*, unsigned>> rows) {
    std::vector<std::unique_ptr<PreHTML>> lines;
    for (const auto& [type, text, flags] : rows) {
      lines.push_back(lines.empty() ? std::make_unique<PreHTML>()
                                    : std::make_unique<PreHTML>(lines.back().get()));
      lines.back()->SetText(text);
      lines.back()->SetLineType(type);
      lines.back()->SetFlag(flags, true);
    }
    for (auto& line : lines)
      EXPECT_EQ(line->AddToStatistics(fc, statistics), 0);
  }

  FileControl fc;
  AnalysisStatistics statistics;
  CalculationStatistics named{statistics};
};

TEST_F(PreHTMLStatistics, HeadingsGoToTheirLevelTables) {
  AddLines({{kTypeHeading2, "    2 Second", 0},
            {kTypeUnderlinedHeading1, "  Title", 0},
            {kTypeContentsHeading3, "      3.1.1 Entry", 0},
            {kTypeHeading6, "6 Six", kFlagUserRegion}});  // inside a user region: nothing
  EXPECT_EQ(statistics.headings[1].indents.GetSamples(), 1);
  EXPECT_EQ(statistics.headings[1].indents.GetMax(), 4);
  EXPECT_EQ(statistics.headings[1].headingCount, 1);
  EXPECT_EQ(statistics.headings[5].indents.GetSamples(), 0);
  EXPECT_EQ(statistics.underlinedHeadings[0].indents.GetMax(), 2);
  EXPECT_EQ(statistics.underlinedHeadings[0].headingCount, 1);
  EXPECT_EQ(statistics.contents[2].indents.GetMax(), 6);
  EXPECT_EQ(named.indents.GetSamples(), 0);
  EXPECT_EQ(named.lineLengths.GetSamples(), 3);
}

// The count the policy calculation reads to decide whether numbered headings are used: every
// level heading outside a user region, and nothing else.
TEST_F(PreHTMLStatistics, LevelHeadingsMakeTheNumberedHeadingCount) {
  AddLines({{kTypeHeading1, "1 One", 0},
            {kTypeHeading2, "  1.1 Part", 0},
            {kTypeHeading6, "1.1.1.1.1.1 Deep", 0},
            {kTypeHeading1, "2 Two", kFlagUserRegion},
            {kTypeUnderlinedHeading1, "Title", 0},
            {kTypeContentsHeading1, "1 One", 0},
            {kTypeNumberedBullet, "1. item", 0}});
  EXPECT_EQ(named.numberedHeadings, 3);
}

TEST_F(PreHTMLStatistics, GeneralIndentsLineLengthsAndRollOutLengths) {
  AddLines({{kTypeUntyped, "   body text", 0},
            {kTypeCapitalisedHeading, "  CAPITALS", 0},
            {kTypeKeyPhraseHeading2, "  Key phrase", 0},
            {kTypeNumberedBullet, "  1. item", 0},
            {kTypeBullet, "  * item", 0},
            {kTypeQuoted, " > x", kFlagRollOut},
            {kTypeEndOfFile, "", 0}});
  // Body, bullet character and quoted line give their indents; the others none.
  EXPECT_EQ(named.indents.GetSamples(), 3);
  EXPECT_EQ(named.indents.GetMin(), 1);
  EXPECT_EQ(named.indents.GetMax(), 3);
  // Every line but the end of file gives its length.
  EXPECT_EQ(named.lineLengths.GetSamples(), 6);
  EXPECT_EQ(named.secondLengths.GetSamples(), 1);
  EXPECT_EQ(named.secondLengths.GetMax(), 4);
}

TEST_F(PreHTMLStatistics, IndentsCountAsZeroWithoutLookingForIndentation) {
  fc.Bool(PolicyId::LookForIndentation).value = 0;
  AddLines({{kTypeUntyped, "     body", 0}});
  EXPECT_EQ(named.indents.GetSamples(), 1);
  EXPECT_EQ(named.indents.GetMax(), 0);
}

TEST_F(PreHTMLStatistics, ParagraphIndents) {
  const struct {
    const char* what;
    int previousType;
    const char* previousText;
    int type;
    const char* text;
    int nextType;  // kTypeEndOfFile: the line is the last one
    const char* nextText;
    int ruleSet;
    bool counted;
  } kCases[] = {
      {"after a blank, less indented next", kTypeBlank, "", kTypeUntyped, "   Para", kTypeUntyped,
       "text", 0, true},
      {"new paragraph type", kTypeBlank, "", kTypeNewParagraph, "   Para", kTypeUntyped, "text",
       0, true},
      {"after a blank bullet line", kTypeBulletBlankWithTags, "", kTypeUntyped, "  Para",
       kTypeUntyped, "text", 0, true},
      {"last line", kTypeBlank, "", kTypeUntyped, "   Para", kTypeEndOfFile, "", 0, true},
      {"indent 9", kTypeBlank, "", kTypeUntyped, "         Para", kTypeUntyped, "text", 0,
       true},
      {"indent 10", kTypeBlank, "", kTypeUntyped, "          Para", kTypeUntyped, "text", 0,
       false},
      {"next as indented", kTypeBlank, "", kTypeUntyped, "   Para", kTypeUntyped, "   text", 0,
       false},
      {"next typed", kTypeBlank, "", kTypeUntyped, "   Para", kTypeBlank, "", 0, false},
      {"indented previous", kTypeUntyped, " prev", kTypeUntyped, "   Para", kTypeUntyped,
       "text", 0, false},
      {"heading previous", kTypeHeading1, "1 Title", kTypeUntyped, "   Para", kTypeUntyped,
       "text", 0, false},
      {"rule set in force", kTypeBlank, "", kTypeUntyped, "   Para", kTypeUntyped, "text", 1,
       false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    FileControl policies;
    policies.SetRuleSet(c.ruleSet, 1);
    AnalysisStatistics counts;
    PreHTML previous;
    previous.SetText(c.previousText);
    previous.SetLineType(c.previousType);
    PreHTML line(&previous);
    line.SetText(c.text);
    line.SetLineType(c.type);
    std::unique_ptr<PreHTML> next;
    if (c.nextType != kTypeEndOfFile) {
      next = std::make_unique<PreHTML>(&line);
      next->SetText(c.nextText);
      next->SetLineType(c.nextType);
    }
    (void)previous.AddToStatistics(policies, counts);
    (void)line.AddToStatistics(policies, counts);
    EXPECT_EQ(CalculationStatistics(counts).paraIndents.GetSamples(), c.counted ? 1 : 0);
  }
}

// ---- Messages ----

struct LineMessage {
  std::vector<std::string> shown;
  LogErrorHandler handler;

  LineMessage() {
    handler.SetLevel(10);
    handler.SetMessageCallback([this](const char* text) { shown.emplace_back(text); });
  }
};

TEST(PreHTML, LineMessagesGoToTheNoteAndAreShownInTheOutputPassOnly) {
  LineMessage road;
  PreHTML line;
  line.ReportLineMessageTo(road.handler, 1, 1, 7, "WARNING: first", 10);
  EXPECT_TRUE(road.shown.empty());
  line.ReportLineMessageTo(road.handler, 1, 0, 7, "WARNING: second", 10);
  ASSERT_NE(line.pGetNote(), nullptr);
  EXPECT_STREQ(line.pGetNote()->GetText(), "*** WARNING: first\n*** WARNING: second");
  ASSERT_EQ(road.shown.size(), 1u);
  EXPECT_EQ(road.shown[0], "Line 7 - WARNING: second");

  road.handler.SetSuppression(1, 0, 0, 1, 0, 0);
  line.ReportLineMessageTo(road.handler, 1, 0, 7, "WARNING: suppressed", 10);
  EXPECT_EQ(road.shown.size(), 1u);
  EXPECT_STREQ(line.pGetNote()->GetText(), "*** WARNING: first\n*** WARNING: second");

  PreHTML noNotes;
  noNotes.ReportLineMessageTo(road.handler, 0, 0, 3, "ERROR: x", 10);
  EXPECT_EQ(noNotes.pGetNote(), nullptr);
  EXPECT_EQ(road.shown.back(), "Line 3 - ERROR: x");
}

// The road through a Context: its pass flags decide whether the message is shown, its list
// file whether the note is kept.
TEST(PreHTML, LineMessagesThroughTheContextByPass) {
  const struct {
    const char* what;
    int analysis, contents, output;
    bool listFile;
    bool shown;
    bool noted;
  } kCases[] = {
      {"analysis, no list file", 1, 0, 0, false, false, false},
      {"analysis with list file", 1, 0, 0, true, false, true},
      {"contents", 0, 1, 0, false, false, false},
      {"output", 0, 0, 1, false, true, false},
      {"output with list file", 0, 0, 1, true, true, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Context ctx{2, kOutputRtf};
    std::vector<std::string> shown;
    ctx.GetLogErrorHandler().SetLevel(10);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [&shown](const char* text) { shown.emplace_back(text); });
    ctx.AnalysisPass = c.analysis;
    ctx.ContentsPass = c.contents;
    ctx.OutputPass = c.output;
    ctx.CodeLocation = c.analysis ? kLocationAnalysis : c.contents ? kLocationContents
                                                                   : kLocationOutput;
    StringList sinkLines;
    TextFile listFile;
    listFile.SetSink(&sinkLines);
    ctx.ListFile = c.listFile ? &listFile : nullptr;

    PreHTML line;
    FileControl fc;
    fc.AttachContext(&ctx);
    line.SetStartPosition(fc, TextPosition(0, 12));
    line.ReportLineMessage(ctx, "WARNING: odd", 10);
    if (c.shown) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0], "Line 12 - WARNING: odd");
    } else {
      EXPECT_TRUE(shown.empty());
    }
    EXPECT_EQ(line.pGetNote() != nullptr, c.noted);
  }
}

TEST(PreHTML, MessageLineNumberIsTheLineWithinTheBlock) {
  PreHTML line;
  const TextPosition tracker(0, 41);
  EXPECT_EQ(line.MessageLineNumber(tracker), 42);
  EXPECT_EQ(line.MessageLineNumber(TextPosition(0, INT_MAX)), INT_MAX);  // no overflow
  FileControl policies;
  line.SetStartPosition(policies, TextPosition(-1, 3));  // unset: ignored
  EXPECT_EQ(line.MessageLineNumber(tracker), 42);
  line.SetStartPosition(policies, TextPosition(0, 3));
  EXPECT_EQ(line.MessageLineNumber(tracker), 3);
  line.SetStartPosition(policies, TextPosition(2, 5));
  EXPECT_EQ(line.MessageLineNumber(tracker), 5);
}

TEST(PreHTML, StartPositionBecomesTheTrackersPosition) {
  Context ctx{2, kOutputRtf};
  FileControl fc;
  fc.AttachContext(&ctx);
  ctx.CodeLocation = kLocationOutput;
  PreHTML line;
  line.SetStartPosition(fc, TextPosition(1, 17));
  EXPECT_EQ(ctx.GetPassTracker(kLocationOutput).currentPosition.GetColumn(), 17);
  line.SetStartPosition(fc, TextPosition(-1, -1));
  EXPECT_EQ(ctx.GetPassTracker(kLocationOutput).currentPosition.GetColumn(), 17);
}

// ---- Conversion before analysis ----

class PreHTMLConvertLine : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.LineStage = kLineStageConversion;
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> messages;
};

TEST_F(PreHTMLConvertLine, SetsThePlainRenderingAndTheFirstWordLength) {
  const struct {
    const char* text;
    int trim;
    const char* plain;
    int firstWord;
  } kCases[] = {
      {"  first second  ", 1, "first second", 5},
      {"  first second  ", 0, "  first second  ", 5},
      {"word", 1, "word", 4},
      {"   ", 1, "", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    PreHTML line;
    line.SetText(c.text);
    line.ConvertLine(fc, ctx, 0, c.trim);
    EXPECT_STREQ(line.GetPlain().GetText(), c.plain);
    EXPECT_EQ(line.GetFirstWordLength(), c.firstWord);
  }
}

TEST_F(PreHTMLConvertLine, ActsOnlyAtTheConversionStage) {
  PreHTML line;
  line.SetText("  word more");
  line.GetPlain().Assign("untouched");
  for (const int stage : {kLineStageNone, kLineStageAnalysis, kLineStageOutput}) {
    ctx.LineStage = stage;
    line.ConvertLine(fc, ctx, 0, 1);
    EXPECT_STREQ(line.GetPlain().GetText(), "untouched");
    EXPECT_EQ(line.GetFirstWordLength(), -1);
  }
}

TEST_F(PreHTMLConvertLine, StopsEarlyOnlyWhileTheStopMarkIsSet) {
  PreHTML line;
  line.SetText("word more");
  line.GetPlain().Assign("untouched");
  line.ConvertLine(fc, ctx, 1, 1);
  EXPECT_STREQ(line.GetPlain().GetText(), "word more");
  line.GetPlain().Assign("untouched");
  fc.SetStopMark(1);
  line.ConvertLine(fc, ctx, 1, 1);
  EXPECT_STREQ(line.GetPlain().GetText(), "untouched");
}

TEST_F(PreHTMLConvertLine, ConvertsEscapeSequencesInTheAnalysisPass) {
  ctx.AnalysisPass = 1;
  PreHTML line;
  line.SetText("\x1B[1mBold\x1B[0m text");
  line.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(line.GetText(), "Bold text");
  EXPECT_STREQ(line.GetTidy().GetText(), "Bold text");
  EXPECT_EQ(line.GetLineLength(), 9);
  EXPECT_EQ(line.GetFirstWordLength(), 4);
  EXPECT_TRUE(messages.empty());  // the analysis pass reports nothing

  // Outside the analysis pass the text stays, unless the Context asks for it.
  ctx.AnalysisPass = 0;
  ctx.OutputPass = 1;
  PreHTML later;
  later.SetText("\x1B[1mBold");
  later.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(later.GetText(), "\x1B[1mBold");
  ctx.ConvertEscapesInEveryPass = 1;
  later.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(later.GetText(), "Bold");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Unknown Escape sequence : ESC [1m");
}

TEST_F(PreHTMLConvertLine, LineDrawingModeCarriesToTheNextLine) {
  ctx.AnalysisPass = 1;
  PreHTML first;
  first.SetText("\x1B(0lqqk");
  first.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(first.GetText(), "+--+");
  PreHTML second;
  second.SetText("x  x");
  second.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(second.GetText(), "|  |");
  PreHTML third;
  third.SetText("\x1B(Bx  x");
  third.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(third.GetText(), "x  x");
}

TEST_F(PreHTMLConvertLine, PlainTextOutputIsLeftAlone) {
  Context text{2, kOutputPlainText};
  FileControl policies;
  policies.AttachContext(&text);
  text.LineStage = kLineStageConversion;
  text.AnalysisPass = 1;
  PreHTML line;
  line.SetText("\x1B[1mword");
  line.ConvertLine(policies, text, 0, 1);
  EXPECT_STREQ(line.GetText(), "\x1B[1mword");
  EXPECT_EQ(line.GetFirstWordLength(), -1);
}

TEST_F(PreHTMLConvertLine, HtmlOutputConvertsMacPunctuation) {
  Context html{2, kOutputHtml};
  FileControl policies;
  policies.AttachContext(&html);
  html.LineStage = kLineStageConversion;
  PreHTML line;
  line.SetText("\xD2quoted\xD3");
  line.ConvertLine(policies, html, 0, 1);
  EXPECT_STREQ(line.GetText(), "\"quoted\"");

  PreHTML rtf;
  rtf.SetText("\xD2quoted\xD3");
  rtf.ConvertLine(fc, ctx, 0, 1);
  EXPECT_STREQ(rtf.GetText(), "\xD2quoted\xD3");
}

}  // namespace
