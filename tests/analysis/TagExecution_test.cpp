// The tags a line executes itself, the tag fallback of the output and the output conversions
// of a piece of text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "tags/LineTags.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

class TagExecutionTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
    line.SetStartPosition(fc, TextPosition(0, 3));
  }
  // The messages about lines, without their "Line <n> - " prefix.
  std::vector<std::string> Reported() const {
    std::vector<std::string> texts;
    for (const std::string& m : messages) {
      const std::size_t dash = m.find(" - ");
      texts.push_back(m.rfind("Line ", 0) == 0 ? m.substr(dash + 3) : m);
    }
    return texts;
  }
  PreHTML line;
};

TEST_F(TagExecutionTest, TagsTakeTheirPlaceInTheTextAndRenderings) {
  const struct {
    int analysis;  // else the output pass
    const char* text;
    const char* tag;
    const char* result;
  } kCases[] = {
      {1, "x[[SUPER 2]]y", "[[SUPER 2]]", "x 2y"},
      {0, "go [[GOTO _Next_page]] on", "[[GOTO _Next_page]]", "go Next page on"},
      {0, "go [[GOTO Top, Back to the top]]", "[[GOTO Top, Back to the top]]",
       "go Back to the top"},
      {0, "[[HYPERLINK http://a.example, Site]]", "[[HYPERLINK http://a.example, Site]]",
       "Site"},
      {0, "[[HYPERLINK http://a.example]]", "[[HYPERLINK http://a.example]]", "[HYPERLINK]"},
      {1, "v [[VERSION]]", "[[VERSION]]", "v qvarnel n.n"},
      {0, "v [[VERSION]]", "[[VERSION]]", "v [[VERSION]]"},  // kept for the output stage
      {1, "[[OT]]x[[CT]]", "[[OT]]", "++x[[CT]]"},
      {0, "a [[ENTITY 169]] b", "[[ENTITY 169]]", "a ? b"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    SetPass(c.analysis, 0, 1 - c.analysis);
    line.SetText(c.text);
    (void)ExecuteLineTag(line, fc, ctx, TextString(c.tag));
    EXPECT_EQ(Str(line), c.result);
    EXPECT_EQ(Str(line.GetTidy()), c.result);
    EXPECT_EQ(Str(line.GetPlain()), c.result);
    EXPECT_EQ(line.GetLineLength(), line.GetTidy().GetLength());
  }
}

TEST_F(TagExecutionTest, UnrecognisedTagsAreReportedInTheOutputPassOnly) {
  for (const int analysis : {1, 0}) {
    SCOPED_TRACE(analysis);
    messages.clear();
    SetPass(analysis, 0, 1 - analysis);
    line.SetText("a [[NOSUCH 1]] b");
    EXPECT_EQ(ExecuteLineTag(line, fc, ctx, TextString("[[NOSUCH 1]]")), 0);
    EXPECT_EQ(Str(line), "a   b");
    if (analysis) {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(ctx.InlineTagSeen, 0);
    } else {
      EXPECT_EQ(Reported(),
                std::vector<std::string>{"TAG ERROR: Unrecognised tag \"NOSUCH\" : [[NOSUCH 1]]"});
    }
  }
}

TEST_F(TagExecutionTest, AnalysisPassKeepsTheDocumentsTagsFontsAndFolios) {
  SetPass(1, 0, 0);
  ctx.GetPassTracker(kLocationAnalysis).currentPosition = TextPosition(0, 4);
  line.SetText("[[FONT 0, Arial, 12, 1, 2]] [[FONT 0, Arial, 12, 1, 2]] [[COLOUR red]]");
  (void)ExecuteLineTag(line, fc, ctx, TextString("[[FONT 0, Arial, 12, 1, 2]]"));
  (void)ExecuteLineTag(line, fc, ctx, TextString("[[FONT 0, Arial, 12, 1, 2]]"));
  (void)ExecuteLineTag(line, fc, ctx, TextString("[[COLOUR red]]"));
  EXPECT_EQ(ctx.InlineTagSeen, 1);
  EXPECT_EQ(ctx.ColourOrFontSeen, 1);
  ASSERT_EQ(ctx.FontKeys.GetCount(), 1);  // listed once
  EXPECT_EQ(Str(ctx.FontKeys.GetItem(0)->text).rfind("Arial-", 0), 0u);

  line.SetText("[[FOLIO Page, 7, 1]]");
  (void)ExecuteLineTag(line, fc, ctx, TextString("[[FOLIO Page, 7, 1]]"));
  EXPECT_EQ(ctx.FolioDefinitions, 2);
  EXPECT_EQ(ctx.Tags.GetCount(), 1);
  EXPECT_TRUE(messages.empty());
  // The later passes count the definitions again but make none.
  SetPass(0, 0, 1);
  (void)ExecuteLineTag(line, fc, ctx, TextString("[[FOLIO Page, 7, 1]]"));
  EXPECT_EQ(ctx.FolioDefinitions, 4);
  EXPECT_EQ(ctx.Tags.GetCount(), 1);
}

TEST_F(TagExecutionTest, FallbackReportsUnknownAndUnimplementedTags) {
  line.SetText("a [[NOSUCH]] b [[DEFINE_VARIABLE x, 1]] c");
  TextString message;
  int level = -1;
  EXPECT_EQ(HandleTagFallback(line, 0, TextString("[[NOSUCH]]"), fc, ctx, message, level), 0);
  EXPECT_EQ(level, 10);
  EXPECT_EQ(Str(message), "TAG ERROR: Unrecognised tag \"NOSUCH\" : [[NOSUCH]]");
  level = -1;
  (void)HandleTagFallback(line, 0, TextString("[[DEFINE_VARIABLE x, 1]]"), fc, ctx, message,
                          level);
  EXPECT_EQ(level, 4);
  EXPECT_EQ(Str(message),
            "TAG ERROR: Unrecognised tag \"NOSUCH\" : [[NOSUCH]]\n"
            "          WARNING: Unimplemented tag \"DEFINE_VARIABLE\" - [[DEFINE_VARIABLE x, 1]]");
}

TEST_F(TagExecutionTest, FallbackPutsTheInterpretersOutputInPlace) {
  line.SetText("H[[SUPER 2]]O");
  line.SetLineType(kTypeBlank);
  TextString message;
  int level = -1;
  EXPECT_EQ(HandleTagFallback(line, 0, TextString("[[SUPER 2]]"), fc, ctx, message, level), 1);
  EXPECT_EQ(Str(line), "H{\\super\\kerning0 2}O");
  EXPECT_EQ(line.GetLineType(), kTypeUntyped);
  EXPECT_TRUE(message.IsEmpty());
}

// ---- Fragment conversion ----

class FragmentTest : public TagExecutionTest {
 protected:
  void SetUp() override {
    TagExecutionTest::SetUp();
    ctx.LineStage = kLineStageOutput;
  }
  std::string Convert(const char* text) {
    fragment.SetText(text);
    fragment.ConvertFragment(fc, ctx, &line, true, true, true, true, true, true);
    return Str(fragment);
  }
  PreHTML fragment;
};

TEST_F(FragmentTest, RunsTheOutputConversionsOnlyAtTheOutputStage) {
  fc.Bool(PolicyId::LookForThisAndThatEmphasis).value = 1;
  const std::string converted = Convert("  see http://www.example.com/a and *this*  ");
  EXPECT_NE(converted.find("HYPERLINK"), std::string::npos) << converted;
  EXPECT_NE(converted.find("{\\b this\\b0}"), std::string::npos) << converted;
  EXPECT_EQ(converted.front(), 's');  // trimmed

  ctx.LineStage = kLineStageAnalysis;
  EXPECT_EQ(Convert("see http://www.example.com/a"), "see http://www.example.com/a");
}

TEST_F(FragmentTest, AClosingFieldGetsABlankInRtfOnly) {
  EXPECT_EQ(Convert("x}}}"), "x}}} ");
  EXPECT_EQ(Convert("}}}"), "}}}");
}

// A policy set converting to HTML in its output pass, at the output stage.
struct HtmlOutput {
  HtmlOutput() {
    fc.AttachContext(&ctx);
    ctx.OutputPass = 1;
    ctx.CodeLocation = kLocationOutput;
    ctx.LineStage = kLineStageOutput;
  }
  Context ctx{2, kOutputHtml};
  FileControl fc;
};

TEST(Fragment, AClosingFieldIsLeftAloneInHtml) {
  HtmlOutput html;
  PreHTML fragment;
  fragment.SetText("x}}}");
  fragment.ConvertFragment(html.fc, html.ctx, nullptr, false, false, false, false, false, false);
  EXPECT_EQ(Str(fragment), "x}}}");
}

TEST_F(FragmentTest, AnEmptyLinkDictionaryChangesNothing) {
  EXPECT_EQ(Convert("the Widget Guide"), "the Widget Guide");
  EXPECT_FALSE(fragment.HasFlag(kFlagUrl));
}

// A phrase of the policy set's dictionary becomes a link in the fragment, also when it was
// defined after the dictionary had linked other text, and the line is marked as holding one.
TEST_F(FragmentTest, DictionaryPhrasesBecomeLinks) {
  auto define = [this](const char* match, const char* address) {
    return fc.AddLinkDefinition(TextString(match), TextString(match), TextString(address),
                                TextString(), -1, -1);
  };
  ASSERT_EQ(define("Widget Guide", "http://www.example.com/guide"), 1);
  std::string converted = Convert("read the Widget Guide now");
  EXPECT_EQ(converted.rfind("read the {\\field{\\*\\fldinst {\\fs20  HYPERLINK "
                            "http://www.example.com/guide }", 0),
            0u)
      << converted;
  EXPECT_NE(converted.find("{\\fldrslt {\\cs32\\ul\\cf2\\fs20 Widget Guide}}} now"),
            std::string::npos)
      << converted;
  EXPECT_TRUE(fragment.HasFlag(kFlagUrl));

  ASSERT_EQ(define("Gadget", "http://www.example.com/gadget"), 1);
  converted = Convert("a Gadget and the Widget Guide");
  EXPECT_NE(converted.find("HYPERLINK http://www.example.com/gadget "), std::string::npos)
      << converted;
  EXPECT_NE(converted.find("HYPERLINK http://www.example.com/guide "), std::string::npos)
      << converted;
}

}  // namespace

