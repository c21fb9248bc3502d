#include "policy/PolicyCalculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StatementReading.h"
#include "text/NameIndex.h"
#include "text/StatementFile.h"

namespace {

void AddMany(TextStats& stats, int value, int times) {
  for (int i = 0; i < times; ++i) stats.Add(value);
}

// A policy set attached to an RTF Context whose statistics a test fills by hand; every
// message reaches `messages` (the reporting level lets everything through).
class PolicyCalculationTest : public ::testing::Test {
 protected:
  PolicyCalculationTest() : ctx_(2, kOutputRtf), st_(ctx_.Statistics) {
    fc_.AttachContext(&ctx_);
    fc_.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx_.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages_.emplace_back(text); });
  }

  // L lines of one length.
  void Lines(int length, int count) {
    AddMany(st_.lineLengths, length, count);
    st_.numLines += count;
  }
  bool Said(const std::string& text) const {
    for (const std::string& m : messages_)
      if (m == text) return true;
    return false;
  }
  std::vector<int> Positions(int count, const int* positions) const {
    return std::vector<int>(positions, positions + count);
  }
  std::string Encoding() const { return fc_.GetText(PolicyId::CharacterEncoding).GetText(); }

  Context ctx_;
  FileControl fc_;
  CalculationStatistics st_;
  std::vector<std::string> messages_;
};

// ---- Indent positions ----

struct IndentCase {
  const char* name;
  std::vector<int> start;  // the list before
  int column;
  int accepted;
  std::vector<int> after;
  const char* message;  // nullptr: silent
};

const IndentCase kIndentCases[] = {
    {"adds in order", {0, 8}, 4, 1, {0, 4, 8}, nullptr},
    {"already present", {0, 4}, 4, 1, {0, 4}, nullptr},
    {"empty list gets column 0 first", {}, 4, 1, {0, 4}, nullptr},
    {"empty list takes column 0 alone", {}, 0, 1, {0}, nullptr},
    {"one right of a neighbour", {0, 4}, 5, 0, {0, 4}, "Policy calculation: Rejecting indent of 5 "},
    {"one left of a neighbour", {0, 4}, 3, 0, {0, 4}, "Policy calculation: Rejecting indent of 3 "},
    {"12 right of its left neighbour", {0, 4}, 16, 0, {0, 4}, "Policy calculation: Rejecting indent of 16"},
    {"far right", {0, 4}, 20, 0, {0, 4}, "Policy calculation: Rejecting indent of 20"},
    {"11 right is still fine", {0, 4}, 15, 1, {0, 4, 15}, nullptr},
    {"seventh refused silently", {0, 3, 6, 9, 12, 15}, 18, 0, {0, 3, 6, 9, 12, 15}, nullptr},
};

TEST_F(PolicyCalculationTest, AcceptIndentPositionKeepsAnOrderedSpreadList) {
  for (const IndentCase& c : kIndentCases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    int positions[FileControl::kMaxPositions] = {-1, -1, -1, -1, -1, -1};
    int count = static_cast<int>(c.start.size());
    for (int i = 0; i < count; ++i) positions[i] = c.start[static_cast<std::size_t>(i)];
    EXPECT_EQ(fc_.AcceptIndentPosition(c.column, count, positions), c.accepted);
    EXPECT_EQ(Positions(count, positions), c.after);
    if (c.message) {
      ASSERT_EQ(messages_.size(), 1u);
      EXPECT_EQ(messages_[0], c.message);
    } else {
      EXPECT_TRUE(messages_.empty());
    }
  }
}

TEST_F(PolicyCalculationTest, AcceptIndentPositionRefusesEverythingUnderARuleSet) {
  fc_.SetRuleSet(1, 0);
  int positions[FileControl::kMaxPositions] = {0, -1, -1, -1, -1, -1};
  int count = 1;
  EXPECT_EQ(fc_.AcceptIndentPosition(0, count, positions), 0);
  EXPECT_EQ(fc_.AcceptIndentPosition(4, count, positions), 0);
  EXPECT_EQ(count, 1);
}

// ---- Page width ----

TEST_F(PolicyCalculationTest, PageWidthFollowsThe99thPercentileWithinLimits) {
  struct Case { int length; int width; };
  const Case cases[] = {{47, 80}, {48, 80}, {49, 50}, {75, 76}, {131, 132}, {132, 80}, {140, 80}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    ctx_.Statistics.Reset();
    Lines(c.length, 120);
    fc_.CalculatePolicies(1);
    EXPECT_EQ(fc_.GetInt(PolicyId::PageWidth), c.width);
  }
}

TEST_F(PolicyCalculationTest, EmptyStatisticsLeaveAnEightyColumnPage) {
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::PageWidth), 80);
  EXPECT_EQ(fc_.GenerateContents, 1);
}

// ---- A plain indented memo ----

TEST_F(PolicyCalculationTest, ShortPlainMemoIsSimpleWithTwoIndents) {
  Lines(70, 45);
  Lines(30, 15);
  AddMany(st_.indents, 0, 40);
  AddMany(st_.indents, 4, 20);
  st_.numBlankLines = 12;
  fc_.CalculatePolicies(1);

  EXPECT_EQ(fc_.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_TRUE(Said("INFO: Policy: Treating as a \"simple\" file.  Ignoring any headings, etc."));
  // Interpolated between 30 (25% of the lines) and 70: 69, plus one.
  EXPECT_EQ(fc_.GetInt(PolicyId::PageWidth), 70);
  const FileControl::IndentPositions& indent = fc_.GetIndentPositions();
  EXPECT_EQ(Positions(indent.count, indent.positions), (std::vector<int>{0, 4}));
  EXPECT_EQ(indent.present, 1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectBlankLinesBetweenParas), 1);
}

// RTF output is justified whatever the text looks like, so this looks at HTML output.
TEST(PolicyCalculation, JustifiedWhenManyLinesShareOneLongLength) {
  struct Case { const char* name; int commonLength; int commonCount; int otherCount; int align; };
  const Case cases[] = {
      {"just over a third", 70, 21, 40, 4},
      {"exactly a third", 70, 20, 40, kAlignLeft},
      {"common but 40 columns", 40, 45, 15, kAlignLeft},
      {"common at 41 columns", 41, 45, 15, 4},
      {"wide page", 95, 45, 15, kAlignLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Context ctx(2, kOutputHtml);
    FileControl fc;
    fc.AttachContext(&ctx);
    CalculationStatistics st(ctx.Statistics);
    AddMany(st.lineLengths, c.commonLength, c.commonCount);
    for (int i = 1; i <= c.otherCount; ++i) st.lineLengths.Add(i % 35);  // short, scattered
    fc.CalculatePolicies(0);
    EXPECT_EQ(fc.GetInt(PolicyId::TextJustification), c.align);
  }
}

TEST_F(PolicyCalculationTest, HundredLineMemoIsNotSimple) {
  Lines(70, 100);
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::KeepItSimple), 0);
  EXPECT_FALSE(Said("INFO: Policy: Treating as a \"simple\" file.  Ignoring any headings, etc."));
  // Fewer than one blank line per twenty lines: paragraphs are not blank-separated.
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectBlankLinesBetweenParas), 0);
}

TEST_F(PolicyCalculationTest, SimpleChoiceOfTheCommandLineWins) {
  Lines(70, 200);
  ctx_.Commands.simpleFile = 1;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_EQ(fc_.IsSet(PolicyId::KeepItSimple), 1);
  EXPECT_FALSE(Said("INFO: Policy: Treating as a \"simple\" file.  Ignoring any headings, etc."));
}

TEST_F(PolicyCalculationTest, ReportOffKeepsTheCalculationSilent) {
  Lines(70, 30);
  st_.codeLines = 5;
  AddMany(st_.bulletChars, ':', 9);
  fc_.CalculatePolicies(0);
  EXPECT_EQ(fc_.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectCodeSamples), 1);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PolicyCalculationTest, DoubleSpacedFileAndCodeSamples) {
  Lines(60, 150);
  st_.numLines = 150;
  st_.numDoubleSpaceLines = 60;
  st_.codeLines = 6;  // 150 < 30 x 6
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileIsDoubleSpaced), 1);
  EXPECT_TRUE(Said("INFO: Treating file as double spaced"));
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectCodeSamples), 1);
  EXPECT_TRUE(Said("INFO: Policy: Detected \"C\" code samples"));
}

// ---- Numbered headings at several levels ----

TEST_F(PolicyCalculationTest, NumberedHeadingsGiveLevelColumns) {
  Lines(72, 400);
  AddMany(st_.headings[0].indents, 0, 6);
  AddMany(st_.headings[1].indents, 2, 8);
  AddMany(st_.headings[2].indents, 4, 5);
  st_.numberedHeadings = 19;
  fc_.CalculatePolicies(1);

  EXPECT_EQ(fc_.GetInt(PolicyId::KeepItSimple), 0);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectNumberedHeadings), 1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectUnderlinedHeadings), 0);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectContentsList), 0);
  const FileControl::RecognisedHeadings& h = fc_.GetRecognisedHeadings();
  EXPECT_EQ(h.count, 3);
  EXPECT_EQ(h.headings[0].indent, 0);
  EXPECT_EQ(h.headings[1].indent, 2);
  EXPECT_EQ(h.headings[2].indent, 4);
  EXPECT_EQ(h.headings[2].defined, 1);
  EXPECT_EQ(h.headings[3].indent, -1);
}

// Chapters that all begin with the same word ("Chapter 2. ...") are second-word headings
// however many chapters "2" after a blank line were counted: the count starts at -1, and one
// such chapter must not weigh less than none.
TEST(PolicyCalculation, ChaptersAfterALeadingWordAreSecondWordHeadings) {
  for (const int chaptersTwo : {-1, 0, 1, 2}) {
    SCOPED_TRACE(chaptersTwo);
    Context ctx(2, kOutputRtf);
    FileControl fc;
    fc.AttachContext(&ctx);
    CalculationStatistics st(ctx.Statistics);
    AddMany(st.lineLengths, 72, 400);
    st.numLines = 400;
    AddMany(st.headings[0].indents, 0, 16);
    st.headings[0].secondWordCount = 16;
    (void)st.headings[0].secondWords.Add(HashName("Chapter"), "Chapter");
    AddMany(st.headings[1].indents, 0, 100);
    st.numberedHeadings = 116;
    st.levelZeroSections[0] = chaptersTwo;
    fc.CalculatePolicies(1);
    EXPECT_EQ(fc.GetInt(PolicyId::ExpectSecondWordHeadings), 1);
    EXPECT_STREQ(fc.GetRecognisedHeadings().headings[0].prefixWords.GetText(), "Chapter");
  }
}

TEST_F(PolicyCalculationTest, ExplicitHeadingChoiceIsKept) {
  Lines(72, 400);
  AddMany(st_.headings[0].indents, 0, 6);
  st_.numberedHeadings = 19;
  fc_.Bool(PolicyId::ExpectNumberedHeadings).value = 0;
  fc_.Bool(PolicyId::ExpectNumberedHeadings).set = 1;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectNumberedHeadings), 0);
}

TEST_F(PolicyCalculationTest, FirstLevelRightOfSecondIsReChosen) {
  Lines(72, 400);
  AddMany(st_.headings[0].indents, 4, 6);
  AddMany(st_.headings[0].indents, 0, 3);
  AddMany(st_.headings[1].indents, 2, 8);
  st_.numberedHeadings = 17;
  fc_.CalculatePolicies(1);
  EXPECT_TRUE(Said("Policy calculation: Rejecting header level [0] value = 4"));
  EXPECT_EQ(fc_.GetRecognisedHeadings().headings[0].indent, 0);
}

TEST_F(PolicyCalculationTest, DeeperLevelOutOfOrderIsAmbiguous) {
  Lines(72, 400);
  AddMany(st_.headings[0].indents, 0, 6);
  AddMany(st_.headings[1].indents, 6, 8);
  AddMany(st_.headings[2].indents, 3, 8);
  st_.numberedHeadings = 22;
  fc_.CalculatePolicies(1);
  EXPECT_TRUE(Said("Policy Calculation: *** Ambiguity detected for header level 2"));
}

// The characters trimmed from heading numbers become the heading form ("[N]") only when they
// are common among the numbered headings, not merely among the characters trimmed.
TEST_F(PolicyCalculationTest, BracketsAroundHeadingNumbersNeedManyHeadings) {
  struct Case {
    const char* what;
    int bracketed;  // headings whose number stood in brackets
    int numbered;   // numbered headings in all
    const char* before;
    const char* after;
  } const kCases[] = {
      {"one reference among many headings", 1, 40, "", ""},
      {"a few references", 13, 40, "", ""},
      {"a third and more of the headings", 14, 40, "[", "]"},
      {"every heading", 12, 12, "[", "]"},
      {"counted brackets, no headings counted", 2, 0, "[", "]"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    ctx_.Statistics.Reset();
    Lines(72, 400);
    AddMany(st_.headings[0].indents, 0, 6);
    AddMany(st_.preHeaderChars, '[', c.bracketed);
    AddMany(st_.postHeaderChars, ']', c.bracketed);
    st_.numberedHeadings = c.numbered;
    fc_.CalculatePolicies(0);
    const FileControl::RecognisedHeadings& h = fc_.GetRecognisedHeadings();
    for (const HeadDetails* records : {h.headings, h.contents}) {
      EXPECT_STREQ(records[0].before.GetText(), c.before);
      EXPECT_STREQ(records[0].after.GetText(), c.after);
      EXPECT_STREQ(records[5].before.GetText(), c.before);
    }
  }
}

TEST_F(PolicyCalculationTest, MailHeadersOutnumberingEverythingElse) {
  Lines(72, 400);
  st_.mailHeadings = 12;
  st_.numberedHeadings = 1;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::AddMailHeadersToContentsList), 1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectNumberedHeadings), 0);
}

// ---- Bullets, definitions, paragraphs ----

TEST_F(PolicyCalculationTest, FrequentBulletCharactersAreKeptAndOddOnesRefused) {
  Lines(70, 300);
  AddMany(st_.bulletChars, '*', 10);
  AddMany(st_.bulletChars, '-', 8);
  AddMany(st_.bulletChars, ':', 6);
  AddMany(st_.bulletChars, 'O', 5);
  AddMany(st_.bulletChars, '+', 3);  // too rare
  st_.numberBullets = 3;
  st_.alphaBullets = 2;
  fc_.Text(PolicyId::BulletPointCharacters).value.Assign("#");
  fc_.CalculatePolicies(1);

  const FileControl::BulletChars& bullets = fc_.GetBulletChars();
  ASSERT_EQ(bullets.count, 2);
  EXPECT_EQ(bullets.chars[0], '*');
  EXPECT_EQ(bullets.chars[1], '-');
  EXPECT_TRUE(Said("INFO: Policy: Ignoring \"bullet\" : ':'"));
  EXPECT_TRUE(Said("INFO: Policy: Ignoring \"bullet\" : 'O'"));
  EXPECT_FALSE(Said("INFO: Policy: Ignoring \"bullet\" : '+'"));
  EXPECT_STREQ(fc_.GetText(PolicyId::BulletPointCharacters).GetText(), "");
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectNumberedBullets), 1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectAlphabeticBullets), 0);
  EXPECT_EQ(fc_.AreBulletsActive(), 1);
}

TEST_F(PolicyCalculationTest, NumberedSectionsMakeNumberedBullets) {
  Lines(70, 300);
  st_.levelZeroSections = {3, 3, 3, -1, -1, -1};
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::ExpectNumberedBullets), 1);
}

TEST_F(PolicyCalculationTest, DefinitionMarkersByTheirShareOfUses) {
  struct Case { int inDefinitions; int inText; int marker; };
  const Case cases[] = {
      {9, 0, 0},       // never seen in text: nothing decided
      {4, 4, 0},       // always in definitions, but only four uses
      {9, 10, 0},      // 0.9 is not above 0.9
      {10, 11, 1},     // 0.909
      {11, 13, 0},     // 0.846: more than ten uses need above 0.85
      {20, 22, 1},     // 0.909
      {101, 127, 0},   // 0.795: more than a hundred need above 0.8
      {200, 240, 1},   // 0.833
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inDefinitions);
    fc_.GetDefinitionChars().colonStrong = 0;
    ctx_.Statistics.Reset();
    Lines(70, 300);
    st_.colonInDefinitions = c.inDefinitions;
    st_.colonInText = c.inText;
    fc_.CalculatePolicies(1);
    EXPECT_EQ(fc_.GetDefinitionChars().colonStrong, c.marker);
    // The RTF output never looks for definitions, so the used flag ends up cleared.
    EXPECT_EQ(fc_.GetDefinitionChars().colonAccepted, 0);
  }
}

TEST_F(PolicyCalculationTest, ParagraphOffsetAndHangingPositions) {
  Lines(70, 300);
  AddMany(st_.paraIndents, 3, 12);  // 30 x 12 >= 300
  st_.hangingParas = 9;
  AddMany(st_.hangingIndents, 8, 6);
  AddMany(st_.hangingIndents, 4, 5);  // left of 6: not a hanging position
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::NewParagraphOffset), 3);
  const FileControl::HangingPositions& hanging = fc_.GetHangingPositions();
  EXPECT_EQ(Positions(hanging.count, hanging.positions), (std::vector<int>{0, 8}));
  EXPECT_EQ(fc_.GetInt(PolicyId::LookForHangingParagraphs), 1);
}

TEST_F(PolicyCalculationTest, FewHangingParagraphsStopTheSearch) {
  Lines(70, 300);
  st_.hangingParas = 4;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::LookForHangingParagraphs), 0);
}

// ---- Character sets ----

TEST_F(PolicyCalculationTest, AsciiOnlyFileHasNoHighCharactersToDivideBy) {
  Lines(70, 300);
  st_.pairs.total = 5000;
  st_.pairs.highChars = 0;
  st_.pairs.chinese = 40;  // nonsense counts must not matter without high characters
  st_.pairs.japanese = 40;
  st_.pairs.utf8Pairs = 40;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(Encoding(), "");
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsDOSCharacters), 0);
  for (const std::string& m : messages_) EXPECT_EQ(m.find("characters detected"), std::string::npos) << m;
}

TEST_F(PolicyCalculationTest, CodePage437TextIsConvertedFromDos) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 150;
  st_.pairs.dos = 60;  // 6% box drawing
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsDOSCharacters), 1);
  EXPECT_TRUE(Said("INFO: DOS characters detected.  Converting to ANSI"));
  EXPECT_EQ(Encoding(), "");
}

TEST_F(PolicyCalculationTest, Windows1252TextKeepsItsEncoding) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 150;  // accented letters, no pair of any other set
  st_.pairs.dos = 3;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsDOSCharacters), 0);
  EXPECT_EQ(Encoding(), "");
  EXPECT_FALSE(Said("INFO: DOS characters detected.  Converting to ANSI"));
}

struct EncodingCase {
  const char* name;
  void (*fill)(CharacterPairTotals&);
  const char* encoding;
  const char* message;
};

const EncodingCase kEncodingCases[] = {
    {"koi8-r", [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 600; p.koi8r = 100; },
     "koi8-r", "INFO: Cyrillic (koi8-r) characters detected"},
    {"windows-1250", [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 300; p.win1250 = 50; },
     "windows-1250", "INFO: East Eurpean (windows-1250) characters detected"},
    {"windows-1254 by its letters",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 300; p.win1254 = 25; p.turkishChars = 10; },
     "windows-1254", "INFO: Turkish (windows-1254) characters detected"},
    {"UTF-8", [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 100; p.utf8Pairs = 40; },
     "UTF-8", "INFO: Unicode (UTF-8) characters detected"},
    {"big5",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 400; p.chinese = 100; p.big5 = 60; p.gb2312 = 20; p.ks5601 = 5; },
     "big5", "INFO: Chinese (big5) characters detected"},
    {"gb2312",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 400; p.chinese = 100; p.big5 = 10; p.gb2312 = 60; p.ks5601 = 5; },
     "gb2312", "INFO: Chinese (gb2312) characters detected"},
    {"euc-kr",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 400; p.chinese = 100; p.big5 = 10; p.gb2312 = 20; p.ks5601 = 60; },
     "euc-kr", "INFO: Korean (euc-kr) characters detected"},
    {"x-sjis", [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 400; p.japanese = 100; },
     "x-sjis", "INFO: Japanese (x-sjis) characters detected"},
    {"too few pairs", [](CharacterPairTotals& p) { p.total = 100; p.highChars = 60; p.koi8r = 30; },
     "", nullptr},
    // Too few characters beyond ASCII for any share, each in a well-formed UTF-8 sequence.
    {"one UTF-8 sequence",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 2; p.utf8Pairs = 1; p.utf8Sequences = 1; },
     "UTF-8", "INFO: Unicode (UTF-8) characters detected"},
    {"UTF-8 with one forbidden byte",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 67; p.utf8Sequences = 33; p.utf8Forbidden = 1; },
     "", nullptr},
    {"Latin-1 letters", [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 12; p.utf8Forbidden = 12; },
     "", nullptr},
    {"a winner beats the UTF-8 sequences",
     [](CharacterPairTotals& p) { p.total = 1000; p.highChars = 600; p.koi8r = 100; p.utf8Sequences = 5; },
     "koi8-r", "INFO: Cyrillic (koi8-r) characters detected"},
};

TEST_F(PolicyCalculationTest, CharacterSetIsNamedByItsPairs) {
  for (const EncodingCase& c : kEncodingCases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    ctx_.Statistics.Reset();
    fc_.Text(PolicyId::CharacterEncoding).value.Assign("");
    Lines(70, 300);
    c.fill(st_.pairs);
    fc_.CalculatePolicies(1);
    EXPECT_EQ(Encoding(), c.encoding);
    if (c.message) {
      EXPECT_TRUE(Said(c.message));
    }
  }
}

TEST_F(PolicyCalculationTest, JapaneseSetsTheJapanesePolicy) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 400;
  st_.pairs.japanese = 100;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsJapaneseCharacters), 1);
}

TEST_F(PolicyCalculationTest, BeatenCandidateIsNamedInTheAmbiguityWarning) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 600;
  st_.pairs.koi8r = 40;     // 4%: first best
  st_.pairs.win1251 = 100;  // 10%: beats it
  fc_.CalculatePolicies(1);
  EXPECT_EQ(Encoding(), "windows-1251");
  EXPECT_TRUE(Said("INFO: Cyrillic (windows-1251) characters detected"));
  EXPECT_TRUE(Said("WARNING: Character set calculation ambiguous - could be koi8-r"));
}

TEST_F(PolicyCalculationTest, ExplicitEncodingIsNotReplacedByUtf8Sequences) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 2;
  st_.pairs.utf8Sequences = 1;
  fc_.Text(PolicyId::CharacterEncoding).value.Assign("windows-1252");
  fc_.Text(PolicyId::CharacterEncoding).set = 1;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(Encoding(), "windows-1252");
}

TEST_F(PolicyCalculationTest, ExplicitEncodingIsNotReplaced) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 600;
  st_.pairs.koi8r = 100;
  fc_.Text(PolicyId::CharacterEncoding).value.Assign("iso-8859-5");
  fc_.Text(PolicyId::CharacterEncoding).set = 1;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(Encoding(), "iso-8859-5");
  EXPECT_FALSE(Said("INFO: Cyrillic (koi8-r) characters detected"));
}

TEST_F(PolicyCalculationTest, MimeEncodingDetected) {
  Lines(70, 300);
  st_.mimeCharacters = 31;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsMIMEEncoding), 1);
  EXPECT_TRUE(Said("INFO: Mime encoding detected.  Converting to ANSI"));
}

TEST_F(PolicyCalculationTest, NoGuessWhenEncodingsAreNotLookedFor) {
  Lines(70, 300);
  st_.pairs.total = 1000;
  st_.pairs.highChars = 600;
  st_.pairs.koi8r = 100;
  st_.mimeCharacters = 50;
  fc_.Bool(PolicyId::LookForCharacterEncodings).value = 0;
  fc_.CalculatePolicies(1);
  EXPECT_EQ(Encoding(), "");
  EXPECT_EQ(fc_.GetInt(PolicyId::InputFileContainsMIMEEncoding), 0);
}

// ---- Character sets from a real reading ----

// What the analysis pass counts while it reads a file is what the guess decides by.
struct ReadEncodingCase {
  const char* fixture;
  const char* encoding;  // "Character encoding" afterwards
  const char* message;   // the INFO message of the decision
  int dos;               // "Input file contains DOS characters" afterwards
};

const ReadEncodingCase kReadEncodingCases[] = {
    {"koi8r-russian.txt", "koi8-r", "INFO: Cyrillic (koi8-r) characters detected", 0},
    {"cp1251-russian.txt", "windows-1251", "INFO: Cyrillic (windows-1251) characters detected",
     0},
    {"cp437-box-drawing.txt", "", "INFO: DOS characters detected.  Converting to ANSI", 1},
};

TEST_F(PolicyCalculationTest, ReadingInTheAnalysisPassDecidesTheEncoding) {
  for (const ReadEncodingCase& c : kReadEncodingCases) {
    SCOPED_TRACE(c.fixture);
    ctx_.ResetForFile(TextString(c.fixture));
    ASSERT_EQ(ctx_.AnalysisPass, 1);
    FileControl fc;  // each file its own policy set, as the driver has it
    fc.AttachContext(&ctx_);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    fc.Bool(PolicyId::LookForCharacterEncodings).value = 1;
    messages_.clear();

    const std::string path = std::string(KELVANE_FIXTURES_DIR) + "/policy/" + c.fixture;
    StatementFile file;
    ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
    Statement s;
    while (ReadStatement(file, s, fc, ctx_, nullptr)) {
      st_.lineLengths.Add(s.GetLength());
      ++st_.numLines;
      s.SetEmpty();
    }
    EXPECT_GT(st_.pairs.total, 0) << "the reading counted no pairs";

    fc.CalculatePolicies(1);
    EXPECT_STREQ(fc.GetText(PolicyId::CharacterEncoding).GetText(), c.encoding);
    EXPECT_TRUE(Said(c.message));
    EXPECT_EQ(fc.GetInt(PolicyId::InputFileContainsDOSCharacters), c.dos);
  }
}

}  // namespace
