#include "engine/BlockList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "text/StringList.h"

namespace {

class BlockListTest : public ::testing::Test {
 protected:
  BlockListTest() : ctx(2, kOutputRtf), out(ctx) {
    control.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.CodeLocation = kLocationOutput;
    out.SetSink(&written);
    (void)out.OpenForWrite("sink", 0, 0);
  }
  std::string Written(int i) const { return written.GetItem(i)->text.GetText(); }
  std::string IndentOpen() const {
    return std::string("<") + control.GetIndentOpenMarkup().GetText() + ">";
  }
  std::string IndentClose() const {
    return std::string("</") + control.GetIndentCloseMarkup().GetText() + ">";
  }

  Context ctx;
  FileControl control;
  BlockList blocks;
  RTFFile out;
  StringList written;
  std::vector<std::string> messages;
};

TEST_F(BlockListTest, ClassifiesOpeningAndClosingTags) {
  struct Case {
    std::string opening;  // "-" for none
    std::string closing;  // "-" for none
    int code;
  };
  const std::vector<Case> cases = {
      {"<BODY BGCOLOR=white>", "-", kBlockBody},
      {"<ol type=a>", "-", kBlockOrderedList},
      {"<UL>", "-", kBlockUnorderedList},
      {"<DL COMPACT>", "-", kBlockDefinitionList},
      {"<li>", "-", kBlockListItem},
      {"<TABLE BORDER=1>", "-", kBlockTable},
      {"<p align=center>", "-", kBlockParagraph},
      {"<PRE>", "-", kBlockParagraph},  // a substring test
      {"<H2>", "-", kBlockHeading},
      {"<TABLE><H1>", "-", kBlockHeading},
      {IndentOpen(), "-", kBlockIndent},
      {"<SPAN>", "-", kBlockNone},
      {"<SPAN>", "</TABLE>", kBlockTable},  // no opening match: the closing text decides
      {"-", "</Body>", kBlockBody},
      {"-", "</OL>", kBlockOrderedList},
      {"-", "</ul>", kBlockUnorderedList},
      {"-", "</DL>", kBlockDefinitionList},
      {"-", "</LI>", kBlockListItem},
      {"-", "</P>", kBlockParagraph},
      {"-", "</H3>", kBlockHeading},
      {"-", IndentClose(), kBlockIndent},
      {"-", "</SPAN>", kBlockNone},
      {"-", "-", kBlockNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opening + " / " + c.closing);
    const TextString opening(c.opening.c_str());
    const TextString closing(c.closing.c_str());
    EXPECT_EQ(ClassifyBlockTag(control, blocks, c.opening == "-" ? nullptr : &opening,
                               c.closing == "-" ? nullptr : &closing),
              c.code);
  }
  EXPECT_EQ(std::string(blocks.GetIndentOpenText().GetText()) + ">", IndentOpen());
}

TEST_F(BlockListTest, EndTagClosesTheInnermostBlockAndIsWritten) {
  blocks.Push(kBlockBody, "<BODY>");
  blocks.Push(kBlockOrderedList, "<OL>");
  blocks.Push(kBlockListItem, "<LI>");
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</LI>"), 1);
  EXPECT_EQ(ctx.EndTagWritten, 1);
  // A mismatch is reported with the open block's markup, and the block is closed anyway.
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</UL>"), 1);
  ASSERT_EQ(blocks.GetCount(), 1);
  EXPECT_EQ(blocks.pGetInnermost()->code, kBlockBody);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: Requested end tag </UL> doesn't match block tag :<OL>");
  ASSERT_EQ(written.GetCount(), 2);
  EXPECT_EQ(Written(0), "</LI>");
  EXPECT_EQ(Written(1), "</UL>");
}

TEST_F(BlockListTest, RightToLeftBodiesCloseTheirDivFirst) {
  struct Case {
    const char* encoding;
    const char* line;
  };
  const Case cases[] = {
      {"ar-sy", "</DIV></BODY>"},        {"AR-SY", "</DIV></BODY>"},
      {"Windows-1256", "</DIV></BODY>"}, {"iso-8859-8", "</DIV></BODY>"},
      {"iso-8859-1", "</BODY>"},         {"", "</BODY>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    written.Clear();
    control.Text(PolicyId::CharacterEncoding).value.Assign(c.encoding);
    blocks.Push(kBlockBody, "<BODY>");
    EXPECT_EQ(blocks.Add(control, nullptr, &out, "</BODY>"), 1);
    ASSERT_EQ(written.GetCount(), 1);
    EXPECT_EQ(Written(0), c.line);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(BlockListTest, DummyListEndTagsBecomePlainWhenIndentMarkupIsOff) {
  control.Int(PolicyId::IndentationMarkupCode).value = -1;
  blocks.Push(kBlockUnorderedList, "<UL>");
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</UL DUMMY>"), 1);
  ASSERT_EQ(written.GetCount(), 1);
  EXPECT_EQ(Written(0), "</UL>");
  EXPECT_TRUE(messages.empty());
}

TEST_F(BlockListTest, APlainListEndTagMayCloseADummyListIndent) {
  control.Int(PolicyId::IndentationMarkupCode).value = -1;
  control.Int(PolicyId::IndentationMarkupCode).set = 1;
  control.ApplyDerivedDefaults(0, 0);
  ASSERT_STREQ(control.GetIndentOpenMarkup().GetText(), "UL DUMMY");
  blocks.Push(kBlockIndent, "<UL DUMMY>");
  blocks.Push(kBlockIndent, "<UL DUMMY>");
  EXPECT_EQ(blocks.Decrement(control, nullptr, &out, "</UL DUMMY>"), 1);
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</UL>"), 1);
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(written.GetCount(), 2);
  EXPECT_EQ(Written(0), "</UL>");
  EXPECT_EQ(Written(1), "</UL>");
  // Any other pairing is still a mismatch.
  blocks.Push(kBlockIndent, "<UL DUMMY>");
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</OL>"), 1);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(BlockListTest, DecrementHandsAFontOutwardBeforeClosing) {
  blocks.Push(kBlockBody, "<BODY>");
  blocks.Push(kBlockTable, "<TABLE>");
  BlockRecord& inner = blocks.Push(kBlockParagraph, "<P>");
  inner.handOutward = 1;
  inner.font.SetFace("Arial");
  inner.font.SetPointSize(9);
  EXPECT_EQ(blocks.Decrement(control, nullptr, &out, "</P>"), 1);
  ASSERT_EQ(blocks.GetCount(), 2);
  const BlockRecord& table = *blocks.pGetInnermost();
  EXPECT_EQ(table.handOutward, 1);
  EXPECT_STREQ(table.font.GetFace().GetText(), "Arial");
  EXPECT_EQ(table.font.GetPointSize(), 9);
  EXPECT_EQ(table.font.WasSet(), 1);
  // The table took the flag as well, so the font moves on to the body.
  EXPECT_EQ(blocks.Decrement(control, nullptr, &out, "</TABLE>"), 1);
  EXPECT_EQ(blocks.pGetInnermost()->font.WasSet(), 1);
  EXPECT_EQ(blocks.pGetInnermost()->handOutward, 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(BlockListTest, DecrementReportsAMismatchTwice) {
  blocks.Push(kBlockOrderedList, "<OL>");
  EXPECT_EQ(blocks.Decrement(control, nullptr, &out, "</DL>"), 1);
  EXPECT_EQ(blocks.GetCount(), 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], messages[1]);
}

TEST_F(BlockListTest, NothingChangesWithoutAFileOrABlock) {
  EXPECT_EQ(blocks.Add(control, nullptr, &out, "</P>"), 0);
  EXPECT_EQ(blocks.Decrement(control, nullptr, &out, "</P>"), 0);
  EXPECT_TRUE(messages.empty());
  blocks.Push(kBlockParagraph, "<P>");
  EXPECT_EQ(blocks.Add(control, nullptr, nullptr, "</P>"), 0);
  EXPECT_EQ(blocks.Decrement(control, nullptr, nullptr, "</P>"), 0);
  EXPECT_EQ(blocks.GetCount(), 1);
  EXPECT_EQ(written.GetCount(), 0);
  EXPECT_EQ(ctx.EndTagWritten, 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: File pointer null in BlockList::Add");
  EXPECT_EQ(messages[1], "PROGRAM ERROR: File pointer null in BlockList::Decrement");
  blocks.Clear();
  EXPECT_EQ(blocks.GetCount(), 0);
  EXPECT_EQ(blocks.pGetInnermost(), nullptr);
}

}  // namespace
