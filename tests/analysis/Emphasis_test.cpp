#include "analysis/Emphasis.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/EmphasisMarks.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "text/StatementTypes.h"

namespace {

// Lines linked as the window links them, in the output pass, every message shown.
class EmphasisTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
    ctx.GetLogErrorHandler().SetLevel(10);
    ctx.GetLogErrorHandler().SetSuppression(1, 0, 0, 0, 0, 0);
  }
  PreHTML& Add(const char* text, int type = kTypeUntyped) {
    auto line = lines.empty() ? std::make_unique<PreHTML>()
                              : std::make_unique<PreHTML>(lines.back().get());
    line->SetText(text);
    line->SetLineType(type);
    lines.push_back(std::move(line));
    return *lines.back();
  }
  // Runs the line emphasis over the newest line.
  std::string Tidy(PreHTML& line) {
    TidyEmphasisLine(fc, ctx, line, &line);
    return line.GetText();
  }
  bool Said(const char* text) const {
    for (const std::string& m : messages)
      if (m.find(text) != std::string::npos)
        return true;
    return false;
  }

  std::vector<std::unique_ptr<PreHTML>> lines;
};

struct WordCase {
  const char* in;
  const char* out;  // null: the word is left alone
};

// ---- Words ----

TEST_F(EmphasisTest, WordsInRtf) {
  const WordCase kCases[] = {
      {"*bold*", "{\\b bold\\b0}"},
      {"\"*quoted*\"", "\"{\\b quoted\\b0}\""},
      {"'*quoted*'", "'{\\b quoted\\b0}'"},
      {"*a*b*", nullptr},  // three "*": no word of its own
      {"*x*", "{\\b x\\b0}"},
      {"**", nullptr},
      {"_italic_", "{\\i italic\\i0}"},
      {"_a_", nullptr},  // too short to be italic
      {"__init__", nullptr},
      {"_init__", nullptr},
      {"_under_score_", "{\\ul under score\\ul0}"},
      {"\"_a_b_c_\"", "\"{\\ul a b c\\ul0}\""},
      {"*_both_*", "{\\b\\i both\\i0\\b0}"},
      {"_*both*_", "{\\b\\i both\\i0\\b0}"},
      {"*_a*b_*", nullptr},  // a "*" before the "_" of the closing pair
      {"*_ab_*", "{\\b _ab_\\b0}"},  // too short for bold italic
      {"ab", nullptr},
      {"plain", nullptr},
  };
  for (const WordCase& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString word(c.in);
    TextString out("untouched");
    int changed = 0;
    TidyEmphasisWord(fc, word, changed, out);
    if (c.out == nullptr) {
      EXPECT_EQ(changed, 0);
      EXPECT_STREQ(out.GetText(), "untouched");
      continue;
    }
    EXPECT_EQ(changed, 1);
    EXPECT_STREQ(out.GetText(), c.out);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(EmphasisTest, WordAlreadyChangedOrSwitchedOffIsLeftAlone) {
  TextString word("*bold*");
  TextString out;
  int changed = 1;
  TidyEmphasisWord(fc, word, changed, out);
  EXPECT_TRUE(out.IsEmpty());

  fc.Bool(PolicyId::LookForThisAndThatEmphasis).value = 0;
  changed = 0;
  TidyEmphasisWord(fc, word, changed, out);
  EXPECT_EQ(changed, 0);

  fc.Bool(PolicyId::LookForThisAndThatEmphasis).value = 1;
  fc.GetHeadingState().inContentsList = 1;
  TidyEmphasisWord(fc, word, changed, out);
  EXPECT_EQ(changed, 0);
}

struct FormatCase {
  int outputType;
  int em;
  const char* word;
  const char* out;
};

TEST(EmphasisFormats, WordMarkupFollowsTheOutputFormat) {
  const FormatCase kCases[] = {
      {kOutputHtml, 1, "*bold*", "<STRONG>bold</STRONG>"},
      {kOutputHtml, 0, "*bold*", "<B>bold</B>"},
      {kOutputHtml, 1, "*_bi_word_*", "<STRONG><EM>bi_word</EM></STRONG>"},
      {kOutputHtml, 0, "_it_", "<I>it</I>"},
      {kOutputHtml, 1, "_a_b_", "<U>a b</U>"},
      {kOutputTextMarkersDropped, 1, "*bold*", "bold"},
      {kOutputTextMarkersDropped, 1, "_a_b_", "a b"},
  };
  for (const FormatCase& c : kCases) {
    SCOPED_TRACE(c.word);
    Context ctx(2, c.outputType);
    FileControl fc;
    fc.AttachContext(&ctx);
    fc.Bool(PolicyId::UseEMAndSTRONGMarkup).value = c.em;
    fc.ApplyDerivedDefaults(0, 0);
    TextString word(c.word);
    TextString out;
    int changed = 0;
    TidyEmphasisWord(fc, word, changed, out);
    EXPECT_EQ(changed, 1);
    EXPECT_STREQ(out.GetText(), c.out);
  }
}

TEST(EmphasisFormats, PlainTextOutputIsReportedAsUnsupported) {
  Context ctx(2, kOutputPlainText);
  FileControl fc;
  fc.AttachContext(&ctx);
  fc.Int(PolicyId::ErrorReportingLevel).value = 10;
  std::vector<std::string> messages;
  ctx.GetLogErrorHandler().SetMessageCallback(
      [&messages](const char* text) { messages.emplace_back(text); });
  TextString word("_under_");
  TextString out;
  int changed = 0;
  TidyEmphasisWord(fc, word, changed, out);
  EXPECT_EQ(changed, 1);
  EXPECT_STREQ(out.GetText(), "_under_");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("UNSUPPORTED CASE: Output Format in TidyEmphasisWord (4)"),
            std::string::npos);
}

// ---- One line ----

TEST_F(EmphasisTest, LinePhrasesAndWords) {
  const WordCase kCases[] = {
      {"this is *two words* here", "this is {\\b two words\\b0} here"},
      {"a*b and c*d", "a*b and c*d"},  // a "*" after a letter never opens
      {"5*3 is *fifteen*.", "5*3 is {\\b fifteen\\b0}."},
      {"see _under_score_ now", "see {\\ul under score\\ul0} now"},
      {"an _italic phrase_ here", "an {\\i italic phrase\\i0} here"},
      {"(*bold in brackets*)", "({\\b bold in brackets\\b0})"},
      {"*_bold italic phrase_*!", "{\\b\\i bold italic phrase\\b0\\i0}!"},
      {"*outer _inner_ words*", "{\\b outer {\\i inner\\i0} words\\b0}"},
      {"x *a *b* c* y", "x *a {\\b b\\b0} c* y"},  // the phrase would hold markup
      {"* *", "* *"},                                // nothing between the marks
      {"$*not* a *$start", "$*not* a *$start"},
      {"keep [[TAG *x* _y_]] and *this*", "keep [[TAG *x* _y_]] and {\\b this\\b0}"},
      {"{\\field{\\*\\fldinst {HYPERLINK \"a_b_c\"}}}{\\fldrslt {a_b_c}}} _it_",
       "{\\field{\\*\\fldinst {HYPERLINK \"a_b_c\"}}}{\\fldrslt {a_b_c}}} {\\i it\\i0}"},
      {"snake_case_name", "snake_case_name"},
  };
  for (const WordCase& c : kCases) {
    SCOPED_TRACE(c.in);
    Add("", kTypeHeading1);  // no case reaches back into an earlier one
    PreHTML& line = Add(c.in);
    EXPECT_EQ(Tidy(line), c.out);
    EXPECT_EQ(line.GetOutputMark(kEmphasisEndMark), 0);
  }
  EXPECT_TRUE(Said("INFO: Ignoring potential emphasis phrase because it contains other markup"));
}

TEST_F(EmphasisTest, LineIsLeftAloneOutsideAPassAndInATaggedUserTable) {
  SetPass(0, 0, 0);
  PreHTML& outside = Add("*two words*");
  EXPECT_EQ(Tidy(outside), "*two words*");

  SetPass(1, 0, 0);
  fc.InTaggedUserTable = 1;
  PreHTML& table = Add("*two words*");
  EXPECT_EQ(Tidy(table), "*two words*");

  SetPass(0, 0, 1);
  PreHTML& output = Add("*two words*");
  EXPECT_EQ(Tidy(output), "{\\b two words\\b0}");

  fc.Bool(PolicyId::LookForThisAndThatEmphasis).value = 0;
  PreHTML& off = Add("*two words* and *one*");
  EXPECT_EQ(Tidy(off), "*two words* and *one*");
}

// ---- Phrases over several lines ----

TEST_F(EmphasisTest, PhraseClosingLaterIsMatchedBack) {
  PreHTML& first = Add("start of *a phrase");
  PreHTML& middle = Add("middle words");
  PreHTML& last = Add("ends here* now");
  EXPECT_EQ(Tidy(last), "ends here\\b0} now");
  // The earlier line keeps its text; its opening markup comes from the record on output.
  EXPECT_STREQ(first.GetText(), "start of *a phrase");
  EXPECT_STREQ(middle.GetText(), "middle words");
  EXPECT_EQ(first.GetOutputMark(kEmphasisStartMark), 1);
  EXPECT_EQ(first.GetOutputMark(kEmphasisStartColumn), 9);
  EXPECT_STREQ(first.pGetOwnedText(kEmphasisStartText)->GetText(), "*");
  EXPECT_STREQ(first.pGetOwnedText(kEmphasisOpeningText)->GetText(), "{\\b ");
  EXPECT_EQ(last.GetOutputMark(kEmphasisEndMark), 1);
  EXPECT_EQ(last.GetOutputMark(kEmphasisEndColumn), 9);
  EXPECT_STREQ(last.pGetOwnedText(kEmphasisClosingText)->GetText(), "\\b0}");

  // Converting the closing line again (as its output does) leaves the paired end mark to
  // its record instead of searching back a second time.
  messages.clear();
  TextString copy("ends here* now");
  TidyEmphasisLine(fc, ctx, copy, &last);
  EXPECT_STREQ(copy.GetText(), "ends here* now");
  EXPECT_TRUE(messages.empty());

  // Rolling the closing line out withdraws the pair.
  last.SetRollOut(fc, true);
  EXPECT_EQ(first.GetOutputMark(kEmphasisStartMark), 0);
  EXPECT_EQ(last.GetOutputMark(kEmphasisEndMark), 0);
  EXPECT_STREQ(first.GetText(), "start of *a phrase");
  EXPECT_STREQ(last.GetText(), "ends here* now");
}

TEST_F(EmphasisTest, SearchBackStops) {
  struct Case {
    const char* name;
    int blankType;    // type of the line between start and end
    bool rollOutGap;  // the line between is rolled out
    int startType;
    const char* message;
  } kCases[] = {
      {"blank line between", kTypeBlank, false, kTypeUntyped,
       "INFO: Ignoring potential emphasis because cannot locate start"},
      {"heading above", kTypeUntyped, false, kTypeHeading1,
       "INFO: Ignoring potential emphasis because cannot locate start"},
      {"roll-out line between", kTypeUntyped, true, kTypeUntyped,
       "INFO: Ignoring potential emphasis because cannot locate start"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    PreHTML& start = Add("start of *a phrase", c.startType);
    PreHTML& gap = Add(c.blankType == kTypeBlank ? "" : "words", c.blankType);
    gap.SetFlag(kFlagRollOut, c.rollOutGap);
    PreHTML& end = Add("ends here* now");
    EXPECT_EQ(Tidy(end), "ends here* now");
    EXPECT_STREQ(start.GetText(), "start of *a phrase");
    EXPECT_TRUE(Said(c.message));
    Add("", kTypeHeading1);  // no later case reaches back into this one
  }
}

TEST_F(EmphasisTest, SearchBackRefusals) {
  // A start found on a blank line.
  Add("x", kTypeHeading1);
  Add("*", kTypeBlank);
  PreHTML& end = Add("words end* here");
  EXPECT_EQ(Tidy(end), "words end* here");
  EXPECT_TRUE(Said("INFO: Ignoring potential emphasis phrase because it spans blank lines"));

  // The closing line is pre-formatted.
  Add("x", kTypeHeading1);
  PreHTML& start = Add("a *phrase");
  PreHTML& rolled = Add("ends* here");
  rolled.SetFlag(kFlagRollOut, true);
  EXPECT_EQ(Tidy(rolled), "ends* here");
  EXPECT_STREQ(start.GetText(), "a *phrase");
  EXPECT_TRUE(Said("INFO: Ignoring potential emphasis in pre-formatted region"));

  // An end mark that cannot close.
  PreHTML& inner = Add("a*b");
  EXPECT_EQ(Tidy(inner), "a*b");
  EXPECT_TRUE(Said("INFO: Ignoring potential emphasis markup, start not found"));
}

TEST_F(EmphasisTest, SearchBackReachesTwentyLines) {
  for (int distance : {20, 21}) {
    SCOPED_TRACE(distance);
    Add("x", kTypeHeading1);
    PreHTML& start = Add("a *phrase");
    for (int i = 1; i < distance; ++i)
      Add("more words");
    PreHTML& end = Add("end* here");
    Tidy(end);
    EXPECT_EQ(start.GetOutputMark(kEmphasisStartMark), distance <= 20 ? 1 : 0);
  }
}

TEST_F(EmphasisTest, SearchBackSkipsOpenedLinesAndStopsAtMarkup) {
  // A line that opens a phrase already is passed over.
  Add("x", kTypeHeading1);
  PreHTML& older = Add("an *older start");
  PreHTML& opened = Add("one *two");
  opened.SetOutputMark(kEmphasisStartMark, 1);
  Tidy(Add("three* four"));
  EXPECT_STREQ(opened.GetText(), "one *two");
  EXPECT_EQ(older.GetOutputMark(kEmphasisStartMark), 1);
  EXPECT_STREQ(older.GetText(), "an *older start");

  // A line holding markup is searched after its last group end only.
  Add("x", kTypeHeading1);
  PreHTML& marked = Add("*early {\\b done\\b0} late");
  PreHTML& end = Add("closing* here");
  EXPECT_EQ(Tidy(end), "closing* here");
  EXPECT_EQ(marked.GetOutputMark(kEmphasisStartMark), 0);
}

TEST_F(EmphasisTest, StartClosedOnItsOwnLineIsNotTakenByALaterEnd) {
  // "_really_" is its own line's phrase; pairing its start with a later end would write a
  // closing whose opening the earlier line never gets (an unbalanced group in RTF).
  Add("x", kTypeHeading1);
  PreHTML& phrase = Add("and _really_ worth it");
  Add("$_before");
  PreHTML& end = Add("d_! Links of the manual");
  EXPECT_EQ(Tidy(end), "d_! Links of the manual");
  EXPECT_EQ(phrase.GetOutputMark(kEmphasisStartMark), 0);
  EXPECT_EQ(end.GetOutputMark(kEmphasisEndMark), 0);

  // A start after the line's own phrase is still found.
  Add("x", kTypeHeading1);
  PreHTML& later = Add("and _really_ worth _more");
  PreHTML& close = Add("words_ here");
  EXPECT_EQ(Tidy(close), "words\\i0} here");
  EXPECT_EQ(later.GetOutputMark(kEmphasisStartMark), 1);
}

TEST_F(EmphasisTest, SecondPhraseClosingOnALineReplacesTheFirstRecord) {
  Add("x", kTypeHeading1);
  Add("first *one");
  Add("second _two");
  PreHTML& end = Add("ends_ and* here");
  EXPECT_EQ(Tidy(end), "ends\\i0} and\\b0} here");
  EXPECT_TRUE(Said("WARNING: Overlapping emphasis discarded"));
  EXPECT_STREQ(end.pGetOwnedText(kEmphasisEndText)->GetText(), "*");
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using EmphasisGrowth = EmphasisTest;

TEST_F(EmphasisGrowth, ManyMarksCostLinearWork) {
  const auto work = [this](int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
      text += (i % 3 == 0) ? "*w* " : (i % 3 == 1) ? "a*b " : "_x y_ ";
    PreHTML line;
    line.SetText(text.c_str());
    return TimeOf([&] { TidyEmphasisLine(fc, ctx, line, &line); });
  };
  ctx.GetLogErrorHandler().SetLevel(0);
  EXPECT_LT(SixteenfoldGrowth(2000, work), kQuadraticGrowth);
}

}  // namespace
