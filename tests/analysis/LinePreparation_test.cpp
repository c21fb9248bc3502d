// A line just read prepares itself; its conversion stage tidies and escapes it once.
#include <gtest/gtest.h>

#include <string>

#include "analysis/LineContext.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

class LinePreparationTest : public ContextFixture {
 protected:
  std::string Prepare(const char* text) {
    line.Reset(0);
    line.Assign(text);
    line.PrepareLine(fc);
    return Str(line);
  }
  PreHTML line;
};

TEST_F(LinePreparationTest, FormFeedsAndCarriageReturns) {
  EXPECT_EQ(Prepare("text\r"), "text");
  EXPECT_EQ(Prepare("\f"), "\f");  // a page break line of its own
  EXPECT_EQ(Prepare("\fPage 2\f"), "[[NEW_PAGE]]Page 2[[NEW_PAGE]]");
  EXPECT_EQ(Prepare("a\fb"), "a\fb");
  EXPECT_EQ(line.GetLineType(), kTypeUntyped);
}

TEST_F(LinePreparationTest, RuleSetMarkupIsRewritten) {
  EXPECT_EQ(Prepare("  <Page>  "), "  <Page>  ");  // no rule set: nothing changes
  fc.SetRuleSet(1, 1);
  EXPECT_EQ(Prepare("  <Page>  "), "");
  EXPECT_EQ(line.GetLineType(), kTypeNull);
  EXPECT_EQ(Prepare(" <S>a <r>b</R> c<C> "), "a [[START_REDLINE]]b[[END_REDLINE]] c");
  EXPECT_EQ(line.GetLineType(), kTypeUntyped);
}

class TidyLineTest : public ContextFixture {
 protected:
  void Tidy(const char* text, const LineContext* previous = nullptr) {
    line.Reset(0);
    line.SetText(text);
    ctx.LineStage = kLineStageConversion;
    line.TidyLine(previous, fc, ctx);
    ctx.LineStage = kLineStageNone;
  }
  PreHTML line;
};

TEST_F(TidyLineTest, EscapesTheTextOnceAndMarksIt) {
  SetPass(1, 0, 0);
  Tidy("  a {b} \\c");
  EXPECT_EQ(Str(line), "  a \\'7bb\\'7d \\\\c");
  EXPECT_TRUE(line.IsTextEscaped());
  EXPECT_EQ(Str(line.GetTidy()), "  a {b} \\c");  // measured as typed
  EXPECT_EQ(Str(line.GetPlain()), "a \\'7bb\\'7d \\\\c");  // trimmed
  EXPECT_EQ(line.GetIndent(), 2);
  // The stage runs once per line: a second call leaves the text as it is.
  ctx.LineStage = kLineStageConversion;
  line.TidyLine(nullptr, fc, ctx);
  ctx.LineStage = kLineStageNone;
  EXPECT_EQ(Str(line), "  a \\'7bb\\'7d \\\\c");
  // Outside the conversion stage nothing happens.
  line.Reset(0);
  line.SetText("{x}");
  line.TidyLine(nullptr, fc, ctx);
  EXPECT_EQ(Str(line), "{x}");
  EXPECT_FALSE(line.IsTextEscaped());
}

TEST_F(TidyLineTest, DosCharactersAreConvertedInTheOutputPass) {
  fc.Bool(PolicyId::InputFileContainsDOSCharacters).value = 1;
  SetPass(1, 0, 0);
  Tidy("\x8E" "pfel");
  EXPECT_EQ(Str(line), "\x8E" "pfel");  // the analysis counts them; the text stays
  SetPass(0, 0, 1);
  Tidy("\x8E" "pfel \x99l \x90lan \x80" "a");
  EXPECT_EQ(Str(line), "\xC4" "pfel \xD6l \xC9lan \xC7" "a");
  EXPECT_EQ(Str(line.GetRawCopy()), Str(line));
}

TEST_F(TidyLineTest, WindowsPunctuationOutsideTheAnalysisPass) {
  SetPass(0, 0, 1);
  Tidy("\x93quoted\x94");
  EXPECT_EQ(Str(line), "\"quoted\"");
  // After a heading the characters stay as typed.
  LineContext heading;
  heading.isHeading = true;
  Tidy("\x93quoted\x94", &heading);
  EXPECT_EQ(Str(line), "\x93quoted\x94");
}

}  // namespace
