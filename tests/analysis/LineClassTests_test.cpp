#include "analysis/LineClassTests.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/EmphasisMarks.h"
#include "analysis/LineContext.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "support/ContextFixture.h"
#include "text/Statement.h"
#include "text/StatementTypes.h"

namespace {

// A chain of linked lines, as the window links them, in the analysis pass unless a test says
// otherwise.
class LineClassTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(1, 0, 0);
    // RTF output justifies by default; the scores are shown for left-aligned text.
    fc.Align(PolicyId::TextJustification).value = kAlignLeft;
  }
  PreHTML& Add(const char* text, int type = kTypeUntyped) {
    auto line = lines.empty() ? std::make_unique<PreHTML>()
                              : std::make_unique<PreHTML>(lines.back().get());
    line->SetText(text);
    line->SetLineType(type);
    lines.push_back(std::move(line));
    return *lines.back();
  }
  LineContext Record(PreHTML* line) {
    LineContext record;
    FillLineContext(fc, record, line);
    return record;
  }
  // The underline test on line with the records the analysis builds.
  int Underline(PreHTML* beforePrevious, PreHTML* previous, PreHTML& line, PreHTML* next) {
    LineContext before = Record(beforePrevious);
    LineContext above = Record(previous);
    LineContext current = Record(&line);
    LineContext below = Record(next);
    std::string_view text(line.GetText());
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const int firstWordLength = static_cast<int>(std::min(text.find(' '), text.size()));
    return TestUnderlineLine(fc, ctx.Statistics, line, before, above, current, below,
                             firstWordLength);
  }
  CalculationStatistics Counts() { return CalculationStatistics(ctx.Statistics); }

  std::vector<std::unique_ptr<PreHTML>> lines;
};

}  // namespace

// ---- Type codes and line records ----

TEST_F(LineClassTest, TaggedTypesAreTheContentsListAndTheDirectiveTags) {
  struct Case {
    int type;
    bool tagged;
  };
  const Case kCases[] = {
      {kTypeContentsList, true}, {kTagLine, true},  {kTagInsertFragment, true},
      {kTypeNavigationBar, false}, {kTagLine - 1, false}, {kTypeUntyped, false},
      {kTagNone, false},          {kTypeMailHeader, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(IsTaggedType(&ctx.GetLogErrorHandler(), c.type), c.tagged);
  }
  EXPECT_TRUE(messages.empty());

  // A type beyond the known tags is most likely a tag as well, and said so.
  EXPECT_TRUE(IsTaggedType(&ctx.GetLogErrorHandler(), kTagInsertFragment + 1));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "UNSUPPORTED CASE: Probably tagged type in IsTaggedType");
  EXPECT_TRUE(IsTaggedType(nullptr, kTagInsertFragment + 1));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(LineClassTest, LineRecordSummarisesTheLine) {
  PreHTML& line = Add("   Some text");
  line.SetLineType(kTypeUnderlinedHeading2);
  line.GetTidy().Assign("   Some text   ");
  line.SetFlag(kFlagCentred | kFlagChangeBar, true);
  line.SetSpecialFormat(3);

  const LineContext record = Record(&line);
  EXPECT_EQ(record.line, &line);
  EXPECT_EQ(record.type, kTypeUnderlinedHeading2);
  EXPECT_EQ(record.indent, 3);
  EXPECT_EQ(record.length, 12);
  EXPECT_EQ(record.lastNonBlankColumn, 12);
  EXPECT_EQ(record.tidyLength, 15);
  EXPECT_TRUE(record.centred);
  EXPECT_TRUE(record.changeBar);
  EXPECT_FALSE(record.rollOut);
  EXPECT_TRUE(record.isHeading);
  EXPECT_FALSE(record.isBullet);
  EXPECT_EQ(record.specialFormat, 3);

  const LineContext none = Record(nullptr);
  EXPECT_EQ(none.line, nullptr);
  EXPECT_EQ(none.type, kTypeBlank);
  EXPECT_EQ(none.indent, -1);
  EXPECT_EQ(none.length, -1);
  EXPECT_EQ(none.lastNonBlankColumn, -1);
  EXPECT_EQ(none.tidyLength, -1);
  EXPECT_FALSE(none.isHeading || none.isBullet || none.isBulletBlankLine || none.isListLine);
}

TEST_F(LineClassTest, LineRecordClassTests) {
  struct Case {
    int type;
    bool heading, bullet, bulletBlank, list;
  };
  const Case kCases[] = {
      {kTypeHeading1, true, false, false, false},
      {kTypeEmbeddedHeading, true, false, false, false},
      {kTypeKeyPhraseHeading6, true, false, false, false},
      {kTypeContentsHeading1, false, false, false, false},
      {kTypeBullet, false, true, false, false},
      {kTypeBulletContinuation, false, true, false, false},
      {kTypeBulletBlank, false, false, true, false},
      {kTypeBulletBlankWithTags, false, false, true, false},
      {kTypeBulletBlankWithComment, false, true, false, false},
      {kTagBeginList, false, false, false, true},
      {kTagListItem, false, false, false, true},
      {kTagEndList, false, false, false, false},  // no list open
  };
  PreHTML& line = Add("x");
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.type);
    line.SetLineType(c.type);
    const LineContext record = Record(&line);
    EXPECT_EQ(record.isHeading, c.heading);
    EXPECT_EQ(record.isBullet, c.bullet);
    EXPECT_EQ(record.isBulletBlankLine, c.bulletBlank);
    EXPECT_EQ(record.isListLine, c.list);
  }
  // The end of a list is a list line while a list is open in the pass at work.
  ctx.GetPassTracker(kLocationAnalysis).openListCount = 1;
  line.SetLineType(kTagEndList);
  EXPECT_TRUE(Record(&line).isListLine);
}

// ---- Embedded headings ----

TEST_F(LineClassTest, EmbeddedHeadingIsTheCapitalRunBeforeTheText) {
  struct Case {
    const char* line;
    int found;
    const char* heading;
  };
  const Case kCases[] = {
      {"INTRODUCTION TO THE SYSTEM. This part explains", 1, "INTRODUCTION TO THE SYSTEM."},
      {"ABCDEFGHIJ text", 1, "ABCDEFGHIJ"},
      {"ABCDEFGHI text", 0, ""},  // nine bytes are too short
      // 'A' and 'Z' alone are no capitals, unless a tag follows the run.
      {"AAAA ZZZZ AAAA. then", 0, ""},
      {"123 456 789 0<B>bold", 1, "123 456 789"},
      // Without a blank or '.' in the run there is nowhere to cut.
      {"ABCDEFGHIJKLMNOPx", 0, ""},
      // A line without lower case is cut at its last blank.
      {"ALL CAPITALS LINE HERE", 1, "ALL CAPITALS LINE"},
      {"lower case first", 0, ""},
      {"", 0, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    PreHTML& line = Add(c.line);
    Statement out;
    EXPECT_EQ(GetEmbeddedHeadingText(fc, line, out), c.found);
    EXPECT_STREQ(out.GetText(), c.heading);
  }
}

TEST_F(LineClassTest, QuotedLineHasNoEmbeddedHeadingInTheAnalysisPass) {
  PreHTML& line = Add("\"QUOTED HEADING TEXT\" said the man");
  Statement out;
  EXPECT_EQ(GetEmbeddedHeadingText(fc, line, out), 0);
  SetPass(0, 0, 1);
  EXPECT_EQ(GetEmbeddedHeadingText(fc, line, out), 1);
  EXPECT_STREQ(out.GetText(), "\"QUOTED HEADING TEXT\"");
}

// ---- Definitions ----

namespace {
// RTF output searches for no definitions by default: these tests switch the search on, with
// '-' and ':' accepted as weak separators.
class DefinitionTest : public LineClassTest {
 protected:
  void SetUp() override {
    LineClassTest::SetUp();
    fc.Bool(PolicyId::SearchForDefinitions).value = 1;
    fc.GetDefinitionChars().dashAccepted = 1;
    fc.GetDefinitionChars().colonAccepted = 1;
  }
};
}  // namespace

TEST_F(DefinitionTest, DefinitionSeparatorColumnsAndPreviousLines) {
  struct Case {
    const char* line;
    int previousType;
    int expected;
  };
  // "Page Width" 80: a weak separator must stand before column 20.
  const Case kCases[] = {
      {"term - a description", kTypeBlank, kTypeDefinition},
      {"term: a description", kTypeBlank, kTypeDefinition},
      {"x = a value", kTypeBlank, kTypeDefinition},
      {"abcdefghijklmnopqr - column 18", kTypeBlank, kTypeDefinition},
      {"abcdefghijklmnopqrs - column 19", kTypeBlank, kTypeDefinition},
      {"abcdefghijklmnopqrst - column 20", kTypeBlank, kNotClassified},
      // The separator must follow a term that starts with a letter or digit ...
      {"(term) - a description", kTypeBlank, kNotClassified},
      // ... except "= ", which always counts.
      {"(x) = a value", kTypeBlank, kTypeDefinition},
      {"no separator here", kTypeBlank, kNotClassified},
      // After a heading or a definition the test runs; after running text or a bullet not
      // (no strong separator is set).
      {"term - a description", kTypeHeading2, kTypeDefinition},
      {"term - a description", kTypeCapitalisedHeading, kTypeDefinition},
      {"term - a description", kTypeDefinition, kTypeDefinition},
      {"term - a description", kTypeUntyped, kNotClassified},
      {"term - a description", kTypeBullet, kNotClassified},
      {"term - a description", kTypeContentsHeading1, kNotClassified},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.line) + " after " + std::to_string(c.previousType));
    PreHTML& line = Add(c.line);
    EXPECT_EQ(TestDefinitionLine(fc, line, c.previousType), c.expected);
    EXPECT_EQ(line.HasFlag(kFlagDefinitionCandidate), c.expected == kTypeDefinition);
  }
}

TEST_F(DefinitionTest, StrongSeparatorReachesFurtherAndFollowsRunningText) {
  PreHTML& far = Add("a somewhat longer term here - text");  // column 27
  EXPECT_EQ(TestDefinitionLine(fc, far, kTypeBlank), kNotClassified);
  fc.GetDefinitionChars().dashStrong = 1;
  EXPECT_EQ(TestDefinitionLine(fc, far, kTypeBlank), kTypeDefinition);

  // After running text: only with a strong character and no blank lines expected.
  PreHTML& line = Add("term - a description");
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeUntyped), kNotClassified);
  fc.Bool(PolicyId::ExpectBlankLinesBetweenParas).value = 0;
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeUntyped), kTypeDefinition);
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeBullet), kTypeDefinition);
}

TEST_F(DefinitionTest, DefinitionNeedsAnUntypedLineAndTheSwitches) {
  PreHTML& line = Add("term - a description");
  line.SetLineType(kTypeNewParagraph);
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeBlank), kNotClassified);
  line.SetLineType(kTypeUntyped);

  fc.Bool(PolicyId::SearchForDefinitions).value = 0;
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeBlank), kNotClassified);
  fc.Bool(PolicyId::SearchForDefinitions).value = 1;

  // A separator character that is not accepted is no separator; the earliest one counts.
  fc.GetDefinitionChars().dashAccepted = 0;
  EXPECT_EQ(TestDefinitionLine(fc, line, kTypeBlank), kNotClassified);
  fc.GetDefinitionChars().dashAccepted = 1;
  PreHTML& colon = Add("a: b - c");
  EXPECT_EQ(TestDefinitionLine(fc, colon, kTypeBlank), kTypeDefinition);
  EXPECT_EQ(Counts().colonInText, 1);
  EXPECT_EQ(Counts().dashInText, 0);

  // Inside a user region only when definitions are allowed there; the mark stays.
  PreHTML& region = Add("x = a value");
  region.SetFlag(kFlagUserRegion, true);
  EXPECT_EQ(TestDefinitionLine(fc, region, kTypeBlank), kTypeDefinition);
  fc.Bool(PolicyId::AllowDefinitionsInsidePRE).value = 0;
  EXPECT_EQ(TestDefinitionLine(fc, region, kTypeBlank), kNotClassified);
  EXPECT_TRUE(region.HasFlag(kFlagDefinitionCandidate));
}

TEST_F(DefinitionTest, DefinitionSeparatorsAreCountedInTheAnalysisPass) {
  EXPECT_EQ(TestDefinitionLine(fc, Add("term - a description"), kTypeBlank), kTypeDefinition);
  EXPECT_EQ(TestDefinitionLine(fc, Add("a rather long running sentence - text"), kTypeBlank),
            kNotClassified);
  EXPECT_EQ(TestDefinitionLine(fc, Add("name: value"), kTypeBlank), kTypeDefinition);
  EXPECT_EQ(Counts().dashInText, 2);
  EXPECT_EQ(Counts().dashInDefinitions, 1);
  EXPECT_EQ(Counts().colonInText, 1);
  EXPECT_EQ(Counts().colonInDefinitions, 1);

  SetPass(0, 0, 1);
  EXPECT_EQ(TestDefinitionLine(fc, Add("term - a description"), kTypeBlank), kTypeDefinition);
  EXPECT_EQ(Counts().dashInText, 2);
}

// ---- Underlines ----

TEST_F(LineClassTest, UnderlineCharacterGivesTheHeadingLevel) {
  struct Case {
    const char* underline;
    int heading;
  };
  const Case kCases[] = {
      {"************", kTypeUnderlinedHeading1},
      {"============", kTypeUnderlinedHeading2},
      {"------------", kTypeUnderlinedHeading3},
      {"~~~~~~~~~~~~", kTypeUnderlinedHeading3},
      {"____________", kTypeUnderlinedHeading3},
      {"............", kTypeUnderlinedHeading4},
      {"++++++++++++", kTypeUnderlinedHeading2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.underline);
    lines.clear();
    Add("", kTypeBlank);
    PreHTML& heading = Add("Introduction");
    PreHTML& underline = Add(c.underline);
    PreHTML& next = Add("The text begins here.");
    EXPECT_EQ(Underline(lines[0].get(), &heading, underline, &next), kUnderlinesPrevious);
    EXPECT_EQ(heading.GetLineType(), c.heading);
    EXPECT_TRUE(heading.HasFlag(kFlagUnderlined));
    EXPECT_TRUE(underline.HasFlag(kFlagRuleLine));
    EXPECT_FALSE(underline.HasFlag(kFlagRollOut));
  }
  EXPECT_EQ(Counts().underlinedHeadings, 7);
}

TEST_F(LineClassTest, UnderlineOfMixedCharactersIsMarkedPreformatted) {
  PreHTML& heading = Add("Some heading");
  PreHTML& underline = Add("- - - - - -");
  EXPECT_EQ(Underline(nullptr, &heading, underline, nullptr), kUnderlinesPrevious);
  EXPECT_EQ(heading.GetLineType(), kTypeUnderlinedHeading3);
  EXPECT_FALSE(underline.HasFlag(kFlagRuleLine));
  EXPECT_TRUE(underline.HasFlag(kFlagPreformatted));
  EXPECT_TRUE(underline.HasFlag(kFlagRollOut));
  EXPECT_EQ(underline.GetPreformattedKind(), 10);
}

// The edges of a box and the tick rulers of a bit diagram underline nothing and are no rule:
// either would drop their characters. They stay pre-formatted lines of their drawing, and the
// line above keeps its type.
TEST_F(LineClassTest, BoxEdgesAndTickRulersStayPartOfTheirDrawing) {
  struct Case {
    const char* above;
    const char* line;
  };
  const Case kCases[] = {
      {"   0 1 2 3 4 5 6 7 8 9 0 1 2 3", "   +-+-+-+-+-+-+-+-+-+-+-+-+-+-+"},
      {"   |Version|  IHL  |Type of Service|", "   +-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+"},
      {"Heading", "+-+-+-+"},
      {"   | Type | Length |", "   +------+--------+"},
      {"Introduction", "+============+"},
      {"A long line of ordinary running text", "+-----+"},
  };
  for (const bool lookForUnderlines : {true, false}) {
    fc.Bool(PolicyId::LookForUnderlinedText).value = lookForUnderlines ? 1 : 0;
    for (const Case& c : kCases) {
      SCOPED_TRACE(std::string(c.line) + (lookForUnderlines ? " (underlines)" : ""));
      lines.clear();
      PreHTML& above = Add(c.above);
      PreHTML& line = Add(c.line);
      EXPECT_EQ(Underline(nullptr, &above, line, nullptr), kNotClassified);
      EXPECT_EQ(above.GetLineType(), kTypeUntyped);
      EXPECT_FALSE(above.HasFlag(kFlagUnderlined));
      EXPECT_TRUE(line.HasFlag(kFlagPreformatted));
      EXPECT_TRUE(line.HasFlag(kFlagRollOut));
      EXPECT_FALSE(line.HasFlag(kFlagRuleLine));
    }
  }
}

TEST_F(LineClassTest, LinesThatAreNoUnderline) {
  struct Case {
    const char* line;
    int type;
  };
  const Case kCases[] = {
      {"=== x ===", kTypeUntyped},      // other characters
      {"==", kTypeUntyped},             // a first word of two bytes
      {"= = = =", kTypeUntyped},        // words of one byte, no "- "
      {"....", kTypeUntyped},           // dots need five
      {".-.-.-.-", kTypeUntyped},       // dots must not be mixed
      {"============", kTypeNewParagraph},  // typed already
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    lines.clear();
    PreHTML& heading = Add("Heading");
    PreHTML& line = Add(c.line, c.type);
    EXPECT_EQ(Underline(nullptr, &heading, line, nullptr), kNotClassified);
    EXPECT_EQ(heading.GetLineType(), kTypeUntyped);
    EXPECT_EQ(line.GetFlags() & (kFlagRuleLine | kFlagPreformatted), 0u);
  }
}

TEST_F(LineClassTest, UnderlineUnderAHeadingDecoratesIt) {
  PreHTML& overline = Add("=========", kTypeLine);
  PreHTML& heading = Add("1 Chapter", kTypeHeading1);
  PreHTML& underline = Add("=========");
  EXPECT_EQ(Underline(&overline, &heading, underline, nullptr), kUnderlinesPrevious);
  EXPECT_EQ(heading.GetLineType(), kTypeHeading1);
  EXPECT_TRUE(heading.HasFlag(kFlagUnderlined));
  EXPECT_EQ(overline.GetLineType(), kTypeHeaderNull);
  EXPECT_EQ(Counts().underlinedHeadings, 0);
}

TEST_F(LineClassTest, UnderlinedHeadingTakesOverlineAndFirstTitle) {
  fc.Bool(PolicyId::UseFirstHeadingAsTitle).value = 1;
  PreHTML& overline = Add("==========", kTypeLine);
  PreHTML& heading = Add("  Overview  ");
  PreHTML& underline = Add("  ========");
  EXPECT_EQ(Underline(&overline, &heading, underline, nullptr), kUnderlinesPrevious);
  EXPECT_EQ(heading.GetLineType(), kTypeUnderlinedHeading2);
  EXPECT_EQ(overline.GetLineType(), kTypeHeaderNull);
  EXPECT_STREQ(ctx.FirstHeadingText.GetText(), "Overview");

  // The first heading's text is kept.
  PreHTML& second = Add("Another one");
  PreHTML& secondUnderline = Add("===========");
  EXPECT_EQ(Underline(nullptr, &second, secondUnderline, nullptr), kUnderlinesPrevious);
  EXPECT_STREQ(ctx.FirstHeadingText.GetText(), "Overview");
}

TEST_F(LineClassTest, UnderlineFarFromTheLineAboveIsARule) {
  PreHTML& text = Add("A long line of ordinary running text");
  PreHTML& underline = Add("==========");
  EXPECT_EQ(Underline(nullptr, &text, underline, nullptr), kTypeLine);
  EXPECT_EQ(text.GetLineType(), kTypeUntyped);
  EXPECT_FALSE(text.HasFlag(kFlagUnderlined));
  EXPECT_TRUE(underline.HasFlag(kFlagRuleLine));
  // With nothing above, the same.
  PreHTML& alone = Add("==========");
  EXPECT_EQ(Underline(nullptr, nullptr, alone, nullptr), kTypeLine);
}

TEST_F(LineClassTest, UnderlinedTextWithoutHeadings) {
  fc.Bool(PolicyId::ExpectUnderlinedHeadings).value = 0;
  PreHTML& text = Add("Important");
  PreHTML& underline = Add("=========");
  EXPECT_EQ(Underline(nullptr, &text, underline, nullptr), kUnderlinesPrevious);
  EXPECT_EQ(text.GetLineType(), kTypeUntyped);
  EXPECT_TRUE(text.HasFlag(kFlagUnderlined));

  // Underlines not looked for: a rule.
  fc.Bool(PolicyId::LookForUnderlinedText).value = 0;
  PreHTML& other = Add("Important");
  PreHTML& rule = Add("=========");
  EXPECT_EQ(Underline(nullptr, &other, rule, nullptr), kTypeLine);
  EXPECT_FALSE(other.HasFlag(kFlagUnderlined));
}

TEST_F(LineClassTest, UnderlineAcrossThePageIsARule) {
  fc.Bool(PolicyId::ExpectUnderlinedHeadings).value = 0;
  fc.Int(PolicyId::PageWidth).value = 20;
  PreHTML& text = Add("abcdefghijklmnopqr");
  PreHTML& underline = Add("==================");  // 18: within 2 of the page width
  EXPECT_EQ(Underline(nullptr, &text, underline, nullptr), kTypeLine);
  PreHTML& shorter = Add("abcdefghijklmnopq");
  PreHTML& under = Add("=================");  // 17
  EXPECT_EQ(Underline(nullptr, &shorter, under, nullptr), kUnderlinesPrevious);
}

TEST_F(LineClassTest, UnderlinedHeadingNeedsThePermissionAndAPlainNeighbour) {
  ctx.GetPassTracker(kLocationAnalysis).SetPermission(Permission::UnderlinedHeadings, 0);
  PreHTML& heading = Add("Introduction");
  PreHTML& underline = Add("============");
  EXPECT_EQ(Underline(nullptr, &heading, underline, nullptr), kUnderlinesPrevious);
  EXPECT_EQ(heading.GetLineType(), kTypeUntyped);
  ctx.GetPassTracker(kLocationAnalysis).SetPermission(Permission::UnderlinedHeadings, 1);

  // A next line that is surely a table keeps the line above from being a heading, unless the
  // table is a user region and the underline is not.
  PreHTML& second = Add("Introduction");
  PreHTML& secondUnderline = Add("============");
  PreHTML& table = Add("Name        Value");
  EXPECT_EQ(Underline(nullptr, &second, secondUnderline, &table), kUnderlinesPrevious);
  EXPECT_EQ(second.GetLineType(), kTypeUntyped);
  table.SetFlag(kFlagUserRegion, true);
  EXPECT_EQ(Underline(nullptr, &second, secondUnderline, &table), kUnderlinesPrevious);
  EXPECT_EQ(second.GetLineType(), kTypeUnderlinedHeading2);
}

// ---- Blank alignment ----

TEST(BlankAlignmentRatio, CountsTheBlankRunsThatMeetABlank) {
  struct Case {
    const char* a;
    const char* b;
    int runs;
    double ratio;
  };
  const Case kCases[] = {
      {"ab  cd  ef", "xy  zw  uv", 2, 1.0},
      {"ab  cd  ef", "xyzzwwquvv", 2, 0.0},
      {"ab  cd  ef", "xyz zwwq v", 2, 0.5},  // the second run meets no blank
      {"ab  cd  ef", "x  yzw uvw", 2, 1.0},  // a blank anywhere in the run counts
      {"abcdef", "ab  cd", 0, 0.0},
      {"ab cd ef gh", "ab cd", 1, 1.0},      // only the common length counts
      {"  ab  ", "x   ", 1, 1.0},            // a run at the start; the last lies past b
      {"", "x y", 0, 0.0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    double ratio = -1.0;
    int runs = -1;
    BlankAlignmentRatio(c.a, c.b, ratio, runs);
    EXPECT_EQ(runs, c.runs);
    EXPECT_DOUBLE_EQ(ratio, c.ratio);
  }
}

// ---- Program source ----

TEST(LooksLikeSourceCode, RecognisesSourceLines) {
  struct Case {
    const char* text;
    bool normal;
    bool strict;
  };
  const Case kCases[] = {
      // Statements and declarations.
      {"int x;", true, true},
      {"  x = 1;  ", true, true},
      {"i++;", true, true},
      {"print(a, b);", true, true},
      {"RETURN;", true, true},
      {"class Foo;", false, true},
      {"Don't stop;", false, true},
      // An entity at the end takes the ';' for itself.
      {"x = a &lt;", false, false},
      {"int a &amp;", false, false},
      // Blocks and control lines.
      {"}", true, true},
      {"while (x) {", true, true},
      {"  case 1:", true, true},
      {"if x > 0 then", true, true},
      {"CASE colour OF", true, true},
      {"until done or", true, true},
      {"end */", true, true},
      {"function area(r)", true, true},
      {"Begin", true, true},
      {"repeat", true, true},
      // Preprocessor lines.
      {"#include <stdio.h>", true, true},
      {"#include \"x.h\"", true, true},
      {"#define X 1", true, true},
      {"#ifdef X", true, true},
      {"# A heading", false, false},
      // Comparisons and comments.
      {"if (x)", true, true},
      {"a == b", true, true},
      {"a === b", false, false},
      {"// a comment", true, true},
      {"x /* a comment", true, true},
      {"see http://example.com for more", false, false},
      {"http://example.com // the site", true, true},
      // Only the strict test.
      {"call(x)", false, true},
      {"public void run", false, true},
      {"a != b", false, true},
      {"std::string", false, true},
      {"p-&gt;next", false, true},
      {"char *p", false, true},
      // Text.
      {"An ordinary sentence.", false, false},
      {"", false, false},
      {"    ", false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const TextString text(c.text);
    EXPECT_EQ(LooksLikeSourceCode(text, false), c.normal);
    EXPECT_EQ(LooksLikeSourceCode(text, true), c.strict);
  }
}

// ---- Bullets ----

TEST_F(LineClassTest, BulletsInTheAnalysisPass) {
  struct Case {
    const char* line;
    int type;
  };
  const Case kCases[] = {
      {"- item", kTypeBullet},
      {"   - indented item", kTypeBullet},
      {"- - x", kTypeUntyped},
      {"- - - - - -", kTypeUntyped},
      {"o item", kTypeBullet},
      {"\xB7 item", kTypeBullet},
      // A one-byte first word that may be a bullet: once in a line with a letter or digit.
      {"* item", kTypeBullet},
      {"* item * more", kTypeUntyped},
      {"- well-known - item", kTypeBullet},
      {"* * *", kTypeUntyped},
      {"# 1", kTypeBullet},
      {"a item", kTypeUntyped},  // a letter without a closing mark
      // Bullet words.
      {"1. First", kTypeNumberedBullet},
      {"b) Second", kTypeLowerAlphaBullet},
      {"iv. Fourth", kTypeLowerRomanBullet},
      {"C. Third", kTypeUpperAlphaBullet},
      {"IV. Fourth", kTypeUpperRomanBullet},
      {"Plain text", kTypeUntyped},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    PreHTML& line = Add(c.line);
    EXPECT_EQ(line.DetectBullet(fc, ctx.Statistics), c.type);
  }
}

TEST_F(LineClassTest, BulletsAfterTheAnalysisPass) {
  SetPass(0, 0, 1);
  EXPECT_EQ(Add("- item").DetectBullet(fc, ctx.Statistics), kTypeBullet);
  EXPECT_EQ(Add("- - x").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
  // Any symbol may start a bullet only while the analysis pass learns the bullet characters.
  EXPECT_EQ(Add("* item").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
  fc.Text(PolicyId::BulletPointCharacters).value.Assign("*+");
  EXPECT_EQ(Add("* item").DetectBullet(fc, ctx.Statistics), kTypeBullet);
  EXPECT_EQ(Add("+ item").DetectBullet(fc, ctx.Statistics), kTypeBullet);
  // Beyond the last indent position + 6 a line is no bullet.
  EXPECT_EQ(Add("      - six").DetectBullet(fc, ctx.Statistics), kTypeBullet);
  EXPECT_EQ(Add("       - seven").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
  EXPECT_EQ(Add("       1. seven").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
}

TEST_F(LineClassTest, BulletsFollowPermissionsAndPolicies) {
  Tracker& tracker = ctx.GetPassTracker(kLocationAnalysis);
  tracker.SetPermission(Permission::Lists, 0);
  EXPECT_EQ(Add("- item").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
  EXPECT_EQ(Add("1. First").DetectBullet(fc, ctx.Statistics), kTypeNumberedBullet);
  tracker.SetPermission(Permission::Lists, 1);

  fc.Bool(PolicyId::ExpectNumberedBullets).value = 0;
  EXPECT_EQ(Add("1. First").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
  EXPECT_EQ(Add("- item").DetectBullet(fc, ctx.Statistics), kTypeBullet);

  fc.Bool(PolicyId::LookForBullets).value = 0;
  EXPECT_EQ(Add("- item").DetectBullet(fc, ctx.Statistics), kTypeUntyped);
}

TEST_F(LineClassTest, BulletsAreCountedInTheAnalysisPass) {
  for (const char* text : {"- a", "- b", "o c", "* d", "1. e", "2. f", "b) g", "iv. h"})
    (void)Add(text).DetectBullet(fc, ctx.Statistics);
  CalculationStatistics counts = Counts();
  EXPECT_EQ(counts.bulletChars.GetSamples(), 4);
  EXPECT_EQ(counts.dashBullets, 2);
  EXPECT_EQ(counts.oBullets, 1);
  EXPECT_EQ(counts.numberBullets, 2);
  EXPECT_EQ(counts.alphaBullets, 1);
  EXPECT_EQ(counts.romanBullets, 1);

  SetPass(0, 0, 1);
  (void)Add("- a").DetectBullet(fc, ctx.Statistics);
  (void)Add("1. e").DetectBullet(fc, ctx.Statistics);
  EXPECT_EQ(Counts().dashBullets, 2);
  EXPECT_EQ(Counts().numberBullets, 2);
}

TEST_F(LineClassTest, BlankLinesBetweenBulletsBecomeBulletBlankLines) {
  PreHTML& first = Add("- one", kTypeBullet);
  PreHTML& blank1 = Add("", kTypeBlank);
  PreHTML& blank2 = Add("", kTypeBlank);
  PreHTML& second = Add("- two", kTypeBullet);
  EXPECT_EQ(MarkBulletBlankLines(fc, second), &blank2);
  EXPECT_EQ(blank1.GetLineType(), kTypeBulletBlank);
  EXPECT_EQ(blank2.GetLineType(), kTypeBulletBlank);
  EXPECT_EQ(first.GetLineType(), kTypeBullet);

  // Four blank lines part two lists.
  lines.clear();
  Add("- one", kTypeBullet);
  for (int i = 0; i < 4; ++i)
    Add("", kTypeBlank);
  PreHTML& far = Add("- two", kTypeBullet);
  (void)MarkBulletBlankLines(fc, far);
  for (int i = 1; i <= 4; ++i)
    EXPECT_EQ(lines[static_cast<std::size_t>(i)]->GetLineType(), kTypeBlank) << i;

  // After text, or for a line that is no marked bullet, nothing changes.
  lines.clear();
  Add("text");
  PreHTML& blank = Add("", kTypeBlank);
  PreHTML& bullet = Add("- two", kTypeBullet);
  (void)MarkBulletBlankLines(fc, bullet);
  EXPECT_EQ(blank.GetLineType(), kTypeBlank);
  lines.clear();
  Add("- one", kTypeBulletContinuation);
  PreHTML& between = Add("", kTypeBlank);
  PreHTML& continuation = Add("more", kTypeBulletContinuation);
  (void)MarkBulletBlankLines(fc, continuation);
  EXPECT_EQ(between.GetLineType(), kTypeBlank);
  EXPECT_EQ(MarkBulletBlankLines(fc, *lines[0]), nullptr);
}

// ---- Pre-formatted score ----

TEST_F(LineClassTest, PreformattedScoreOfALineAlone) {
  struct Case {
    const char* line;
    int mode;
    int score;
  };
  const Case kCases[] = {
      {"An ordinary sentence of text.", 0, 0},
      {"Name      Age", 0, 9},                // a gap of six blanks
      {"a  b  c  d  e  f", 0, 7},             // five gaps of two
      {"a  b  c  d  e", 0, 3},                // four
      {"a  b", 0, 0},
      {"a   b   c   d", 0, 7},                // three gaps of three
      {"|a|b|c|d|", 0, 7},                    // bars
      {"| a | b |", 0, 0},
      {"                                                  indented", 0, 2},
      {"                      indented", 0, 1},
      {"a   b", 1, 7},
      {"a  b", 1, 0},
      {"a  b  c  d", 1, 0},
      {"a  b  c  d  e", 1, 7},
      {"                                                  indented", 1, 4},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Add(c.line).PreformattedScore(fc, nullptr, c.mode), c.score);
  }
}

TEST_F(LineClassTest, PreformattedScoreIsZeroForLinesNeverPreformatted) {
  fc.Int(PolicyId::MaxLengthOfCandidateTableLines).value = 12;
  EXPECT_EQ(Add("Name      Age").PreformattedScore(fc, nullptr, 0), 0);   // 13 bytes
  EXPECT_EQ(Add("Name      Ag").PreformattedScore(fc, nullptr, 0), 9);    // 12 bytes
  PreHTML& html = Add("Name      Ag");
  html.SetFlag(kFlagUserHtml, true);
  EXPECT_EQ(html.PreformattedScore(fc, nullptr, 0), 0);
  PreHTML& tag = Add("Name      Ag");
  tag.SetTaggedType(kTagFormatDefinition);
  EXPECT_EQ(tag.PreformattedScore(fc, nullptr, 0), 0);
}

TEST_F(LineClassTest, PreformattedScoreJustifiedTextHasWiderGaps) {
  fc.Align(PolicyId::TextJustification).value = 4;
  EXPECT_EQ(Add("a  b  c  d  e  f").PreformattedScore(fc, nullptr, 0), 0);
  EXPECT_EQ(Add("a     b     c     d").PreformattedScore(fc, nullptr, 0), 7);
}

TEST_F(LineClassTest, PreformattedScoreAfterTheLineAbove) {
  // Blank runs that line up with those above.
  PreHTML& above = Add("a b c d e f");
  PreHTML& aligned = Add("g h i j k l");
  EXPECT_EQ(aligned.PreformattedScore(fc, &above, 0), 3);
  PreHTML& fewer = Add("g h i j kl");
  EXPECT_EQ(fewer.PreformattedScore(fc, &aligned, 0), 0);

  // Two blank lines.
  PreHTML& blank1 = Add("", kTypeBlank);
  PreHTML& blank2 = Add("", kTypeBlank);
  EXPECT_EQ(blank2.PreformattedScore(fc, &blank1, 0), 0);

  // After a roll-out line its kind, less 2, carries on ...
  PreHTML& rollOut = Add("x    y");
  rollOut.SetFlag(kFlagRollOut, true);
  rollOut.SetPreformattedKind(10);
  EXPECT_EQ(Add("plain words").PreformattedScore(fc, &rollOut, 0), 8);
  rollOut.SetPreformattedKind(1);
  EXPECT_EQ(Add("plain words").PreformattedScore(fc, &rollOut, 0), 0);
  // ... and a deeply indented line at the same indent continues it.
  PreHTML& deep = Add("        x    y");
  deep.SetFlag(kFlagRollOut, true);
  deep.SetPreformattedKind(3);
  EXPECT_EQ(Add("        plain words").PreformattedScore(fc, &deep, 0), 7);
  EXPECT_EQ(Add("         plain words").PreformattedScore(fc, &deep, 0), 1);
  EXPECT_EQ(Add("        typed words", kTypeDefinition).PreformattedScore(fc, &deep, 0), 3);
}

TEST_F(LineClassTest, PreformattedScoreAfterTheUnderlineOfAHeading) {
  PreHTML& heading = Add("Heading", kTypeUnderlinedHeading2);
  heading.SetFlag(kFlagUnderlined, true);
  PreHTML& underline = Add("=-=-=-=", kTypeHeaderNull);
  underline.SetFlag(kFlagRollOut, true);
  underline.SetPreformattedKind(10);
  EXPECT_EQ(Add("plain words").PreformattedScore(fc, &underline, 0), 0);
}

TEST_F(LineClassTest, PreformattedScoreContinuesARollOutBlock) {
  PreHTML& rollOut = Add("        x    y");
  rollOut.SetFlag(kFlagRollOut, true);
  PreHTML& middle = Add("        plain words");
  PreHTML& after = Add("        more words");
  EXPECT_EQ(Add("next").PreformattedScore(fc, &middle, 0), 3);
  // One line further back as well.
  EXPECT_EQ(Add("next").PreformattedScore(fc, &after, 0), 3);
  // Both lines must be deeply indented.
  middle.SetIndent(2);
  EXPECT_EQ(Add("next").PreformattedScore(fc, &middle, 0), 0);
  EXPECT_EQ(Add("next").PreformattedScore(fc, &after, 0), 0);
}

TEST_F(LineClassTest, PreformattedScoreOfDiagramLines) {
  PreHTML& top = Add("+----+");
  EXPECT_EQ(Add("|  |").PreformattedScore(fc, &top, 0), 7);
  EXPECT_EQ(Add("x").PreformattedScore(fc, &top, 0), 5);
  EXPECT_EQ(Add("Some words").PreformattedScore(fc, &top, 0), 0);
  fc.Bool(PolicyId::LookForDiagrams).value = 0;
  EXPECT_EQ(Add("|  |").PreformattedScore(fc, &top, 0), 0);
}

TEST_F(LineClassTest, PreformattedScoreReadsItsMeasureOnlyAgainstTheSameLineAbove) {
  PreHTML& diagram = Add("+----+");
  PreHTML& words = Add("Some plain words");
  PreHTML& line = Add("x");
  PreformattedMeasure measure;
  EXPECT_EQ(line.PreformattedScore(fc, &diagram, 0, &measure), 5);
  EXPECT_EQ(line.PreformattedScore(fc, &diagram, 0, &measure), 5);
  EXPECT_EQ(line.PreformattedScore(fc, &words, 0, &measure), 0);

  PreHTML& above = Add("a b c d e f");
  PreHTML& aligned = Add("g h i j k l");
  PreformattedMeasure alignment;
  EXPECT_EQ(aligned.PreformattedScore(fc, &above, 0, &alignment), 3);
  EXPECT_EQ(aligned.PreformattedScore(fc, &words, 0, &alignment), 0);
  EXPECT_EQ(aligned.PreformattedScore(fc, &above, 0, &alignment), 3);

  // The layout of the line itself serves every line above.
  PreHTML& table = Add("Name      Age");
  PreformattedMeasure layout;
  EXPECT_EQ(table.PreformattedScore(fc, nullptr, 0, &layout), 9);
  EXPECT_EQ(table.PreformattedScore(fc, &words, 0, &layout), 9);
}

// ---- Roll-out mark and review ----

TEST_F(LineClassTest, RollOutMarkEndsABulletContinuation) {
  PreHTML& line = Add("continued", kTypeBulletContinuation);
  line.SetRollOut(fc, true);
  EXPECT_TRUE(line.HasFlag(kFlagRollOut));
  EXPECT_EQ(line.GetLineType(), kTypeUntyped);
  line.SetRollOut(fc, false);
  EXPECT_FALSE(line.HasFlag(kFlagRollOut));
}

TEST_F(LineClassTest, RollOutMarkWithdrawsAnEmphasisPhraseThatEndsOnTheLine) {
  SetPass(0, 0, 1);
  // The handler shows every message (the policy set copies its settings in only when it
  // reports itself).
  ctx.GetLogErrorHandler().SetLevel(10);
  ctx.GetLogErrorHandler().SetSuppression(1, 0, 0, 0, 0, 0);
  PreHTML& start = Add("some {\\b bold");
  start.SetOutputMark(kEmphasisStartMark, 1);
  start.SetOutputMark(kEmphasisStartColumn, 5);
  start.SetOwnedText(kEmphasisStartText, "*");
  start.SetOwnedText(kEmphasisOpeningText, "{\\b ");
  PreHTML& middle = Add("words");
  PreHTML& end = Add("text\\b0} here");
  end.SetOutputMark(kEmphasisEndMark, 1);
  end.SetOutputMark(kEmphasisEndColumn, 4);
  end.SetOwnedText(kEmphasisEndText, "*");
  end.SetOwnedText(kEmphasisClosingText, "\\b0}");

  end.SetRollOut(fc, true);
  EXPECT_STREQ(start.GetText(), "some *bold");
  EXPECT_STREQ(middle.GetText(), "words");
  EXPECT_STREQ(end.GetText(), "text* here");
  EXPECT_EQ(start.GetOutputMark(kEmphasisStartMark), 0);
  EXPECT_EQ(end.GetOutputMark(kEmphasisEndMark), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(
                "INFO: Ignoring potential emphasis phrase because it overlaps preformatted text"),
            std::string::npos);

  // Nothing is left to withdraw.
  end.SetRollOut(fc, true);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(LineClassTest, ReviewActsOnlyWhileTheLineIsAnalysed) {
  PreHTML& line = Add("Name      Age");
  ReviewPreformattedMark(fc, line, nullptr);
  EXPECT_FALSE(line.HasFlag(kFlagRollOut));
  ctx.LineStage = kLineStageAnalysis;
  ReviewPreformattedMark(fc, line, nullptr);
  EXPECT_TRUE(line.HasFlag(kFlagRollOut));
  EXPECT_TRUE(line.HasFlag(kFlagPreformatted));
  EXPECT_EQ(line.GetPreformattedKind(), 9);
}

TEST_F(LineClassTest, ReviewScoresUntypedLinesAgain) {
  ctx.LineStage = kLineStageAnalysis;
  struct Case {
    int type;
    bool rollOut;
  };
  const Case kCases[] = {
      {kTypeUntyped, true},  {kTagNone, true},        {kTypeNewParagraph, true},
      {kTypeSeparator, true}, {kTypeDefinition, true}, {kTagNewPage, true},
      {kTypeBullet, false},  {kTypeHeading1, false},  {kTypeQuoted, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.type);
    PreHTML& line = Add("Name      Age", c.type);
    line.SetFlag(kFlagRollOut, !c.rollOut);
    ReviewPreformattedMark(fc, line, nullptr);
    EXPECT_EQ(line.HasFlag(kFlagRollOut), c.rollOut);
  }

  // A line already marked keeps the mark whatever its score.
  PreHTML& marked = Add("plain words");
  marked.SetFlag(kFlagPreformatted, true);
  ReviewPreformattedMark(fc, marked, nullptr);
  EXPECT_TRUE(marked.HasFlag(kFlagRollOut));
  EXPECT_EQ(marked.GetPreformattedKind(), 0);
  // Change bars and the switch keep the score away.
  PreHTML& changed = Add("Name      Age");
  changed.SetFlag(kFlagChangeBar, true);
  ReviewPreformattedMark(fc, changed, nullptr);
  EXPECT_FALSE(changed.HasFlag(kFlagRollOut));
  fc.Bool(PolicyId::LookForPreformattedText).value = 0;
  PreHTML& off = Add("Name      Age");
  ReviewPreformattedMark(fc, off, nullptr);
  EXPECT_FALSE(off.HasFlag(kFlagRollOut));
}

TEST_F(LineClassTest, ReviewTakesTheMarkFromContinuationsAndTheirLineAbove) {
  ctx.LineStage = kLineStageAnalysis;
  for (const int type : {kTypeHangingContinuation, kTypeDefinitionContinuation}) {
    SCOPED_TRACE(type);
    PreHTML& above = Add("term    text", kTypeDefinition);
    above.SetFlag(kFlagRollOut, true);
    PreHTML& line = Add("        more", type);
    line.SetFlag(kFlagRollOut, true);
    ReviewPreformattedMark(fc, line, &above);
    EXPECT_FALSE(line.HasFlag(kFlagRollOut));
    EXPECT_FALSE(above.HasFlag(kFlagRollOut));
  }
}

TEST_F(LineClassTest, ReviewDropsTheMarkOfLongLinesAndHtmlSections) {
  ctx.LineStage = kLineStageAnalysis;
  PreHTML& longLine = Add(std::string(111, 'x').c_str());
  longLine.SetFlag(kFlagRollOut, true);
  longLine.SetPreformattedKind(7);
  ReviewPreformattedMark(fc, longLine, nullptr);
  EXPECT_FALSE(longLine.HasFlag(kFlagRollOut));
  EXPECT_EQ(longLine.GetPreformattedKind(), 0);

  ctx.GetPassTracker(kLocationAnalysis).inHtml = 1;
  PreHTML& html = Add("x", kTypeQuoted);
  html.SetPreformattedKind(7);
  ReviewPreformattedMark(fc, html, nullptr);
  EXPECT_EQ(html.GetPreformattedKind(), 0);
}

// ---- Without a Context ----

TEST(LineClassTestsWithoutContext, TestsThatNeedTheRunFindNothing) {
  FileControl fc;
  PreHTML line;
  line.SetText("- item");
  AnalysisStatistics statistics;
  EXPECT_EQ(line.DetectBullet(fc, statistics), kTypeUntyped);
  PreHTML heading;
  heading.SetText("Introduction");
  PreHTML underline(&heading);
  underline.SetText("============");
  LineContext none = LineContext::Blank();
  LineContext above;
  LineContext current;
  FillLineContext(fc, above, &heading);
  FillLineContext(fc, current, &underline);
  EXPECT_EQ(TestUnderlineLine(fc, statistics, underline, none, above, current, none, 12),
            kUnderlinesPrevious);
  EXPECT_EQ(heading.GetLineType(), kTypeUntyped);
  EXPECT_TRUE(heading.HasFlag(kFlagUnderlined));
  ReviewPreformattedMark(fc, line, nullptr);
  EXPECT_FALSE(line.HasFlag(kFlagRollOut));
}
