// The handlers of the link, font, style, contents and raw-markup tags, run the way the line's
// tag handling runs them: recognised, then executed with one blank as the replacement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "policy/StyleSheet.h"
#include "support/ContextFixture.h"
#include "tags/TagInterpreter.h"
#include "text/FontSpec.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

struct TagRun {
  int result = -1;
  int replace = 0;
  std::string output;
};

class OutputTagHandlersTest : public ContextFixture {
 protected:
  TagRun Run(const char* tag, int mode = kTagModeLine, TagOutput* file = nullptr) {
    TextString keyword;
    TextString arguments;
    TextString message;
    int level = 0;
    const TextString tagText(tag);
    EXPECT_EQ(RecogniseTag(fc, ctx, tagText, keyword, arguments, message, level), 1) << tag;
    return Execute(tagText, keyword, arguments, mode, file);
  }
  // Executes a tag whose arguments are given as the recogniser leaves them.
  TagRun Execute(const TextString& tagText, const TextString& keyword,
                 const TextString& arguments, int mode = kTagModeLine,
                 TagOutput* file = nullptr) {
    TagRun run;
    TextString output(" ");
    run.result =
        ExecuteTag(mode, &line, tagText, keyword, arguments, file, fc, ctx, run.replace, output);
    run.output = Str(output);
    return run;
  }
  // The text that takes the tag's place, "<kept>" when the tag is not replaced.
  std::string Output(const char* tag, int mode = kTagModeLine) {
    const TagRun run = Run(tag, mode);
    if (run.result != kTagHandled || run.replace != 1)
      return "<kept>";
    return run.output;
  }
  // Messages about lines carry the line number; this is the text after it.
  std::vector<std::string> Reported() const {
    std::vector<std::string> texts;
    for (const std::string& m : messages) {
      const std::size_t dash = m.find(" - ");
      texts.push_back(m.rfind("Line ", 0) == 0 && dash != std::string::npos ? m.substr(dash + 3)
                                                                            : m);
    }
    return texts;
  }
  bool Reports(const std::string& text) const {
    for (const std::string& m : Reported()) {
      if (m == text)
        return true;
    }
    return false;
  }
  void AddHeading(const char* text, const char* linkName) {
    TextPosition position(3, 1);
    ASSERT_EQ(ctx.Headings.AddHeading(ctx, kTypeUnderlinedHeading1, TextString(text),
                                      TextString(text), TextString(linkName), position,
                                      TextString(), TextString(), TextString()),
              1);
  }

  PreHTML line;
};

// ---- Raw markup, images, indents, source file ----

TEST_F(OutputTagHandlersTest, RawMarkupGoesInTheOutputPassAndStaysBefore) {
  SetPass(1, 0, 0);
  EXPECT_EQ(Output("[[HTML <hr>]]"), "<kept>");
  EXPECT_EQ(Run("[[HTML_COMMENT note]]").result, kTagHandled);
  SetPass(0, 0, 1);
  EXPECT_EQ(Output("[[HTML <hr>]]"), "");
  EXPECT_EQ(Output("[[HTML_COMMENT note]]"), "");
}

TEST_F(OutputTagHandlersTest, ImageBreaksTheParagraphOnlyInALineOfTheOutputPass) {
  const struct {
    int output;
    int mode;
    int result;
    int replace;
    const char* text;
  } kCases[] = {
      {1, kTagModeLine, kTagHandled, 1, "\\par"},
      {0, kTagModeLine, kTagNotHandled, 0, " "},
      {1, kTagModeLeaveInPlace, kTagHandled, 0, " "},
      {0, kTagModeLeaveInPlace, kTagHandled, 0, " "},
      {1, kTagModeKeepText, kTagNotHandled, 0, " "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mode * 10 + c.output);
    SetPass(c.output == 0 ? 1 : 0, 0, c.output);
    const TagRun run = Run("[[IMAGE picture.gif]]", c.mode);
    EXPECT_EQ(run.result, c.result);
    EXPECT_EQ(run.replace, c.replace);
    EXPECT_EQ(run.output, c.text);
  }
}

TEST_F(OutputTagHandlersTest, ChangeIndentAndSourceFile) {
  for (int pass = 0; pass < 3; ++pass) {
    SCOPED_TRACE(pass);
    SetPass(pass == 0, pass == 1, pass == 2);
    EXPECT_EQ(Output("[[CHANGE_INDENT 2, 4]]"), "");
    EXPECT_EQ(Output("[[CHANGE_INDENT]]"), "");
    EXPECT_EQ(Output("[[SOURCE_FILE]]"), "source file");
    EXPECT_EQ(Output("[[SOURCE_FILE \"main.c\"]]"), "main.c");
  }
  SetPass(0, 0, 0);
  EXPECT_EQ(Output("[[SOURCE_FILE main.c]]"), "<kept>");
  EXPECT_EQ(Output("[[CHANGE_INDENT 2]]"), "");
  EXPECT_TRUE(messages.empty());
}

TEST_F(OutputTagHandlersTest, VariableGivesItsValueOrReportsItsMissingName) {
  SetPass(1, 0, 0);
  const TextString value("Release 3");
  ASSERT_EQ(ctx.Defines.Add(fc, kDefineVariable, TextString("RELEASE"), TextPosition(0, 2), 0, 1,
                            &value, 0),
            1);
  SetPass(0, 0, 1);
  line.SetEndPosition(fc, TextPosition(0, 10));
  EXPECT_EQ(Output("[[VARIABLE RELEASE]]"), "Release 3");
  EXPECT_TRUE(messages.empty());
  // Without a name the tag goes: an empty field cannot name a variable.
  const TagRun run = Execute(TextString("[[VARIABLE]]"), TextString("VARIABLE"), TextString(""));
  EXPECT_EQ(run.replace, 1);
  EXPECT_EQ(run.output, "");
  EXPECT_TRUE(Reports("TAG_ERROR: Failed to parse DEFINE_VARIABLE tag"));
}

// ---- Contents field ----

TEST_F(OutputTagHandlersTest, ContentsListWritesTheFieldInTheOutputPass) {
  RTFFile writer(ctx);
  StringList lines;
  writer.SetSink(&lines);
  ctx.RtfPass = 1;
  ASSERT_EQ(writer.Open("doc", fc, 0), 1);
  ASSERT_EQ(writer.FlushBuffer(fc, &writer, 0), 1);
  const int before = lines.GetCount();
  messages.clear();

  SetPass(0, 1, 0);
  EXPECT_EQ(Run("[[CONTENTS_LIST]]", kTagModeLine, &writer).replace, 0);
  // Field 2 other than 1 asks for no field.
  SetPass(0, 0, 1);
  EXPECT_EQ(Run("[[CONTENTS_LIST 3, 0]]", kTagModeLine, &writer).output, "");
  EXPECT_TRUE(writer.GetPending().IsEmpty());

  const TagRun run = Run("[[CONTENTS_LIST]]", kTagModeLine, &writer);
  EXPECT_EQ(run.replace, 1);
  EXPECT_EQ(run.output, "");
  ASSERT_EQ(writer.FlushBuffer(fc, &writer, 0), 1);
  ASSERT_EQ(lines.GetCount(), before + 1);
  const std::string field = lines.GetItem(before)->text.GetText();
  EXPECT_EQ(field.rfind("{\\field{\\*\\fldinst {\\kerning0 TOC \\\\* MERGEFORMAT }}", 0), 0u)
      << field;
  // Without a document to write into the tag still goes.
  EXPECT_EQ(Output("[[CONTENTS_LIST]]"), "");
  EXPECT_TRUE(messages.empty());
}

// ---- GOTO and POPUP ----

TEST_F(OutputTagHandlersTest, BareJumpTurnsItsSeparatorsIntoBlanks) {
  // "_" is the separator of this argument text, so the one word is "Next page".
  SetPass(0, 0, 0);
  TagRun run = Execute(TextString("[[GOTO _Next_page]]"), TextString("GOTO"),
                       TextString("_Next_page"));
  EXPECT_EQ(run.output, "<Next page>");
  SetPass(0, 0, 1);
  run = Execute(TextString("[[GOTO _Next_page]]"), TextString("GOTO"), TextString("_Next_page"));
  EXPECT_EQ(run.replace, 1);
  EXPECT_EQ(run.output, "Next page");
  EXPECT_TRUE(Reports("TAG ERROR: Unable to locate GOTO target \"Next page\""));
}

TEST_F(OutputTagHandlersTest, JumpLinksTheHeadingItNames) {
  AddHeading("Getting started", "Getting_started");
  SetPass(1, 0, 0);
  EXPECT_EQ(Output("[[GOTO Getting started, see here]]"), "<kept>");
  SetPass(0, 0, 1);
  const std::string link = Output("[[GOTO Getting started, see here]]");
  EXPECT_NE(link.find("HYPERLINK  \\\\l \"Getting_started\""), std::string::npos) << link;
  EXPECT_NE(link.find("see here}}}"), std::string::npos) << link;
  // The display defaults to the target, and the target is looked up without its emphasis.
  const std::string bold = Output("[[GOTO {\\b Getting started\\b0}]]");
  EXPECT_NE(bold.find("\"Getting_started\""), std::string::npos) << bold;
  EXPECT_NE(bold.find("{\\b Getting started\\b0}}}}"), std::string::npos) << bold;
  EXPECT_TRUE(messages.empty());
}

TEST_F(OutputTagHandlersTest, JumpTextIsEscapedButKeepsItsEmphasis) {
  SetPass(0, 0, 1);
  const TagRun run = Execute(TextString("[[GOTO x]]"), TextString("GOTO"),
                             TextString("|Nowhere|{\\i a} b\\b0}"));
  EXPECT_EQ(run.output, "{\\i a\\'7d b\\b0}");
}

TEST_F(OutputTagHandlersTest, PopupIsAJumpExceptInTheHelpFile) {
  AddHeading("Getting started", "Getting_started");
  SetPass(0, 0, 1);
  const std::string jump = Output("[[POPUP Getting started, more]]");
  EXPECT_NE(jump.find("HYPERLINK"), std::string::npos) << jump;

  fc.Bool(PolicyId::MakeWindowsHelpSourceFile).value = 1;
  EXPECT_EQ(Output("[[POPUP Getting started, more]]"), "{\\ul more}{\\v ID_Getting_started}");
  EXPECT_EQ(Output("[[GOTO Getting started, more]]"), "{\\uldb more}{\\v ID_Getting_started}");
  EXPECT_EQ(Output("[[POPUP Missing heading, more]]"), "more");
  EXPECT_TRUE(Reports("TAG ERROR: Unable to locate POPUP target \"Missing heading\""));
  SetPass(0, 0, 0);
  EXPECT_EQ(Output("[[POPUP Getting started, more]]"), "<kept>");
}

// ---- HYPERLINK ----

TEST_F(OutputTagHandlersTest, HyperlinkByKind) {
  SetPass(0, 1, 0);
  EXPECT_EQ(Output("[[HYPERLINK URL, http://www.example.com/, Example]]"), "<kept>");
  SetPass(0, 0, 1);
  const std::string url = Output("[[HYPERLINK url, http://www.example.com/, Example]]");
  EXPECT_NE(url.find(" HYPERLINK http://www.example.com/ }"), std::string::npos) << url;
  EXPECT_NE(url.find(" Example}}}"), std::string::npos) << url;

  const std::string link = Output("[[HYPERLINK LINK, Part two]]");
  EXPECT_NE(link.find(" \\\\l \"part_two\""), std::string::npos) << link;
  EXPECT_NE(link.find(" Part two}}}"), std::string::npos) << link;

  // The policy manual's address is the maker's, which the host check does not take for a
  // link: the text alone.
  EXPECT_EQ(Output("[[HYPERLINK POLICY, Page Width, the width]]"), "the width");

  EXPECT_EQ(Output("[[HYPERLINK FTP, somewhere, shown]]"), "shown");
}

// ---- FO ----

class FontChangeTagTest : public OutputTagHandlersTest {
 protected:
  void SetUp() override {
    OutputTagHandlersTest::SetUp();
    ctx.Styles.PrepareForOutput(fc);
    SetPass(0, 0, 1);
  }
  // "\fs" of the body style as the tags find it.
  int BodyHalfPoints() const { return ctx.Styles.GetRecord(StyleSheet::kBody).pointSize * 2; }
};

TEST_F(FontChangeTagTest, SizeIsRelativeWithASignAndAbsoluteWithout) {
  ASSERT_EQ(ctx.Styles.GetRecord(StyleSheet::kBody).pointSize, 10);
  const struct {
    const char* tag;
    const char* size;  // what follows "\fs", "" when no size is written
  } kCases[] = {
      {"[[FO , +2]]", "\\fs24\\b0\\i0 "},
      {"[[FO , -2]]", "\\fs16\\b0\\i0 "},
      {"[[FO , -20]]", "\\fs20\\b0\\i0 "},  // nothing would be left: the style's size
      {"[[FO , 0]]", "\\fs20\\b0\\i0 "},
      {"[[FO , 14]]", "\\fs28\\b0\\i0 "},
      {"[[FO , 99999]]", "\\fs3276\\b0\\i0 "},  // held to what a page shows
      {"[[FO , d]]", "\\fs20\\b0\\i0 "},
      {"[[FO , big]]", "\\fs20\\b0\\i0 "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.tag);
    ctx.CurrentFontChange.Reset();
    const std::string out = Output(c.tag);
    ASSERT_EQ(out.rfind("}{\\f", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.find("\\fs")), c.size);
  }
  EXPECT_TRUE(Reports("TAG ERROR: Unknown font size - big"));
}

TEST_F(FontChangeTagTest, WeightWordsAreTwoLetters) {
  const struct {
    const char* weight;
    const char* end;
  } kCases[] = {
      {"bo", "\\b\\i0 "}, {"IT", "\\b0\\i "}, {"bi", "\\b\\i "},
      {"no", "\\b0\\i0 "}, {"-", "\\b0\\i0 "}, {"bold", "\\b0\\i0 "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.weight);
    ctx.CurrentFontChange.Reset();
    const std::string tag = std::string("[[FO , , ") + c.weight + "]]";
    const std::string out = Output(tag.c_str());
    EXPECT_EQ(out.substr(out.size() - std::string(c.end).size()), c.end) << out;
  }
  EXPECT_EQ(Reported(), std::vector<std::string>{"TAG ERROR: Unknown font weight - bold"});
}

TEST_F(FontChangeTagTest, FontNamesComeFromTheStyleTable) {
  FontSpec courier;
  (void)courier.SetFace(TextString("Courier New"));
  courier.SetSecondName(TextString("code"));
  courier.SetPointSize(9);
  courier.SetBold(1);
  ASSERT_TRUE(ctx.Styles.AddFont(courier));
  EXPECT_EQ(Output("[[FO code]]"), "}{\\f200\\fs18\\b\\i0 ");
  // The change stays until "-" cancels it.
  EXPECT_EQ(Output("[[FO , , it]]"), "}{\\f200\\fs18\\b0\\i ");
  const std::string cancelled = Output("[[FO -]]");
  EXPECT_EQ(cancelled.find("\\f200"), std::string::npos) << cancelled;
  EXPECT_EQ(ctx.CurrentFontChange.changeFlags[FontChange::kFaceMode], 0);

  EXPECT_EQ(Output("[[FO nosuch]]").find("\\f200"), std::string::npos);
  EXPECT_TRUE(Reports("TAG ERROR: font \"nosuch\" not found in the style table"));
}

TEST_F(FontChangeTagTest, OnlyTheOutputPassChangesTheFont) {
  SetPass(1, 0, 0);
  EXPECT_EQ(Output("[[FO , +2]]"), " ");
  EXPECT_FALSE(ctx.CurrentFontChange.IsActive());
}

// ---- STYLE ----

TEST_F(OutputTagHandlersTest, StyleWaitsForTheNextParagraph) {
  SetPass(1, 0, 0);
  TagRun run = Run("[[STYLE Quote]]");
  EXPECT_EQ(run.result, kTagHandled);
  EXPECT_EQ(run.replace, 0);
  EXPECT_EQ(ctx.PendingCustomStyle, 0);
  EXPECT_TRUE(ctx.PendingCustomStyleText.IsEmpty());

  SetPass(0, 0, 1);
  EXPECT_EQ(Output("[[STYLE Quote]]"), "");
  EXPECT_EQ(ctx.PendingCustomStyle, 1);
  EXPECT_EQ(Str(ctx.PendingCustomStyleText), "[[STYLE Quote]]");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Output("[[STYLE Note, x]]"), "");
  EXPECT_EQ(Str(ctx.PendingCustomStyleText), "[[STYLE Note, x]]");
  EXPECT_TRUE(Reports("TAG ERROR: Unimplemented STYLE tag discarded [[STYLE Quote]]"));

  messages.clear();
  run = Execute(TextString("[[STYLE]]"), TextString("STYLE"), TextString(""));
  EXPECT_EQ(run.replace, 1);
  EXPECT_EQ(Reported(), std::vector<std::string>{"TAG ERROR: Failed to parse Arg#1 in \"STYLE \""});
}

}  // namespace
