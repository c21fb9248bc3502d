#include "tags/DirectivePreprocessor.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ContextFixture.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

class DirectivePreprocessor : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    ctx.BuildTagNames(&fc, nullptr);
  }
};

struct MatchCase {
  const char* line;
  bool matched;
  Directive directive;
};

TEST_F(DirectivePreprocessor, MatchTakesTheLongestDirectiveIgnoringCase) {
  const MatchCase cases[] = {
      {"$_$_TABLE_BORDER 2", true, Directive::TableBorder},
      {"$_$_TABLE_BORDERCOLOR red", true, Directive::TableBordercolor},
      {"$_$_begin_table_x", true, Directive::BeginTable},
      {"$_$_TOC", true, Directive::Toc},
      {"$_$_KEYWORDS a", true, Directive::Keywords},
      {"$_$_HELP_TOPIC_KEYWORDS a", true, Directive::HelpTopicKeywords},
      {"$_$_NOTHING", false, Directive::Toc},
      {"$_$", false, Directive::Toc},
      {"text $_$_PARA", false, Directive::Toc},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.line);
    Directive d = Directive::Toc;
    EXPECT_EQ(MatchDirective(ctx, TextString(c.line), d), c.matched);
    if (c.matched) {
      EXPECT_EQ(d, c.directive);
    }
  }
}

TEST_F(DirectivePreprocessor, RemoveDirectiveIgnoresCaseAndReportsOnlyInTheOutputPass) {
  TextString text("$_$_title My Title");
  RemoveDirective(fc, text, ctx.GetDirectiveName(Directive::Title));
  EXPECT_EQ(Str(text), " My Title");

  SetPass(1, 0, 0);
  TextString other("no directive here");
  RemoveDirective(fc, other, ctx.GetDirectiveName(Directive::Title));
  EXPECT_TRUE(messages.empty());
  SetPass(0, 0, 1);
  RemoveDirective(fc, other, ctx.GetDirectiveName(Directive::Title));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "TAG ERROR: Failed to remove directive \"$_$_TITLE\" from input line "
                         "(may be case sensitive)");
  EXPECT_EQ(Str(other), "no directive here");
}

TEST_F(DirectivePreprocessor, RecordDirectiveTagKeepsArgumentsAndTrackerPosition) {
  SetPass(1, 0, 0);
  ctx.Trackers[0].currentPosition = TextPosition(2, 7);
  RecordDirectiveTag(fc, "HELP_CHAPTER", TextString("$_$_help_chapter Start"));
  ctx.Trackers[0].currentPosition = TextPosition(0, 4);
  RecordDirectiveTag(fc, "FILENAME", TextString("$_$_FILENAME part-two"));
  ASSERT_EQ(ctx.Tags.GetCount(), 2);
  const TagRecord* chapter = ctx.Tags.GetItem(0);
  EXPECT_EQ(Str(chapter->name), "HELP_CHAPTER");
  EXPECT_NE(Str(chapter->value).find("Start"), std::string::npos);
  EXPECT_EQ(Str(chapter->value).find("help_chapter"), std::string::npos);
  EXPECT_EQ(chapter->position.GetLine(), 2);
  EXPECT_EQ(chapter->position.GetColumn(), 8);
  EXPECT_EQ(ctx.Tags.GetItem(1)->position.GetColumn(), 4);
}

}  // namespace
