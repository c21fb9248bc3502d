#include "engine/HeadingRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/HeadingRegistration.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "policy/FileControl.h"

namespace {

class HeadingRegistrationTest : public ::testing::Test {
 protected:
  explicit HeadingRegistrationTest(int outputType = kOutputRtf)
      : ctx(2, outputType), control(ctx.GetFileControl()) {
    control.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }

  void Register(int type, const char* text, int line, const char* text2 = nullptr) {
    const TextString none;
    RegisterHeading(ctx, control, type, text, text2 == nullptr ? text : text2, text,
                    TextPosition(line, 1), none, none, none);
  }

  Context ctx;
  FileControl& control;
  std::vector<std::string> messages;
};

TEST_F(HeadingRegistrationTest, SendsEachLineTypeToItsList) {
  struct Case {
    int type;
    const HeadingList* list;
  };
  const Case cases[] = {
      {101, &ctx.Headings}, {106, &ctx.Headings}, {111, &ctx.Headings},  {116, &ctx.Headings},
      {120, &ctx.Headings}, {121, &ctx.Headings}, {131, &ctx.Headings},  {136, &ctx.Headings},
      {250, &ctx.Headings}, {151, &ctx.ContentsLines}, {156, &ctx.ContentsLines},
  };
  int line = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const int before = c.list->GetCount();
    Register(c.type, ("Heading " + std::to_string(line)).c_str(), line);
    ++line;
    ASSERT_EQ(c.list->GetCount(), before + 1);
    EXPECT_EQ(c.list->GetEntry(before)->kind, c.type);
  }
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ctx.Anchors.GetCount(), 0);
}

TEST_F(HeadingRegistrationTest, RefusesOtherLineTypes) {
  for (int type : {241, 100, 107, 150, 157, -3}) {
    SCOPED_TRACE(type);
    messages.clear();
    Register(type, "Contents", 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "UNSUPPORTED CASE: Unexpected contents line type : " + std::to_string(type));
  }
  EXPECT_EQ(ctx.Headings.GetCount(), 0);
  EXPECT_EQ(ctx.ContentsLines.GetCount(), 0);
}

TEST_F(HeadingRegistrationTest, TracksLowestAndHighestLevel) {
  EXPECT_EQ(ctx.Headings.lowestLevel, -1);
  Register(101, "One", 1);
  Register(103, "Three", 2);
  EXPECT_EQ(ctx.Headings.lowestLevel, 1);
  EXPECT_EQ(ctx.Headings.highestLevel, 3);
  Register(250, "From: someone", 3);  // mail headers count as level 2
  Register(152, "Contents two", 4);
  EXPECT_EQ(ctx.Headings.lowestLevel, 1);
  EXPECT_EQ(ctx.Headings.highestLevel, 3);
  EXPECT_EQ(ctx.ContentsLines.lowestLevel, 2);
  EXPECT_EQ(ctx.ContentsLines.highestLevel, 2);

  ResetHeadingList(ctx.Headings);
  EXPECT_EQ(ctx.Headings.GetCount(), 0);
  EXPECT_EQ(ctx.Headings.lowestLevel, -1);
  EXPECT_EQ(ctx.Headings.highestLevel, -1);
  EXPECT_EQ(ctx.Headings.levelFirst[0], -1);
  EXPECT_EQ(ctx.Headings.levelSecond[5], -1);
}

TEST_F(HeadingRegistrationTest, RtfOutputUnescapesTheHeadingText) {
  Register(101, "x", 1, "Braces \\'7bin\\'7d and \\\\ here");
  EXPECT_STREQ(ctx.Headings.GetEntry(0)->headingText.GetText(), "Braces {in} and \\ here");
}

class HtmlRegistrationTest : public HeadingRegistrationTest {
 protected:
  HtmlRegistrationTest() : HeadingRegistrationTest(kOutputHtml) {}
};

TEST_F(HtmlRegistrationTest, OtherOutputKeepsEscapes) {
  Register(101, "x", 1, "Braces \\'7bin\\'7d");
  EXPECT_STREQ(ctx.Headings.GetEntry(0)->headingText.GetText(), "Braces \\'7bin\\'7d");
}

TEST_F(HeadingRegistrationTest, RegistersALineAtItsPosition) {
  RegisterHeadingLine(ctx, control, nullptr);
  EXPECT_EQ(ctx.Headings.GetCount(), 0);

  PreHTML line;
  line.SetText("Setup {advanced}");
  line.SetLineType(111);
  ctx.CodeLocation = kLocationAnalysis;
  ctx.pGetTracker()->currentPosition.Set(12, 3);
  RegisterHeadingLine(ctx, control, &line);
  ASSERT_EQ(ctx.Headings.GetCount(), 1);
  const HeadingEntry& e = *ctx.Headings.GetEntry(0);
  EXPECT_EQ(e.kind, 111);
  EXPECT_EQ(e.position.GetLine(), 12);
  EXPECT_EQ(e.position.GetColumn(), 4);  // the tracker's column plus 1
  EXPECT_STREQ(e.lineText.GetText(), "Setup \\'7badvanced\\'7d");
  EXPECT_STREQ(e.headingText.GetText(), "Setup {advanced}");

  PreHTML placed;
  placed.SetText("Placed");
  placed.SetLineType(101);
  placed.SetStartPosition(control, TextPosition(40, 2));
  RegisterHeadingLine(ctx, control, &placed);
  ASSERT_EQ(ctx.Headings.GetCount(), 2);
  EXPECT_EQ(ctx.Headings.GetEntry(1)->position.GetLine(), 40);
  EXPECT_EQ(ctx.Headings.GetEntry(1)->position.GetColumn(), 2);
  EXPECT_TRUE(messages.empty());
}

TEST_F(HeadingRegistrationTest, AddsAnchorEntries) {
  ctx.AddAnchorEntry(control, "Target", TextPosition(3, 7));
  AddTableAnchorEntry(ctx, control, nullptr, "Ignored");
  PreHTML line;
  line.SetStartPosition(control, TextPosition(9, 1));
  AddTableAnchorEntry(ctx, control, &line, "Cell anchor");
  ASSERT_EQ(ctx.Anchors.GetCount(), 2);
  EXPECT_EQ(ctx.Anchors.GetEntry(0)->kind, kAnchorEntryKind);
  EXPECT_STREQ(ctx.Anchors.GetEntry(0)->linkName.GetText(), "Target");
  EXPECT_EQ(ctx.Anchors.GetEntry(0)->position.GetColumn(), 7);
  EXPECT_STREQ(ctx.Anchors.GetEntry(1)->headingText.GetText(), "Cell anchor");
  EXPECT_EQ(ctx.Anchors.GetEntry(1)->position.GetLine(), 9);
  EXPECT_EQ(ctx.Headings.GetCount(), 0);
}

TEST_F(HeadingRegistrationTest, FindsSectionReferences) {
  TextString filePart("stale");
  TextString extension("stale");
  EXPECT_EQ(ctx.FindSectionReference(control, 101, "3.", filePart, extension), 0);
  EXPECT_TRUE(filePart.IsEmpty());
  EXPECT_TRUE(extension.IsEmpty());

  ctx.InputBaseName.Assign("guide");
  Register(101, "3. Scope", 1);
  Register(102, "3.1 Limits", 2);
  Register(102, "3.0 Defaults", 3);
  Register(101, "Chapter 7 Results", 4);
  struct Case {
    int kind;
    const char* reference;
    int found;
  };
  const Case cases[] = {
      {102, "3.", 1},    // trailing full stop: one kind up, the number without it
      {101, "3.", 0},
      {102, "3.1", 1},   // no trailing form: same kind
      {101, "3.1", 0},
      {103, "3.0", 1},   // ".0" is a trailing form (three characters or more): 3.0 of kind 102
      {102, "3.0", 1},   // chapter 3
      {102, "3-00", 1},  // "-00" trailing form: chapter 3
      {102, "4-00", 0},
      {102, "3.00", 0},  // not a trailing form: kind 102 has no 3.00
      {101, "7", 0},     // second words only when asked for
      {101, "Chapter", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.reference);
    EXPECT_EQ(ctx.FindSectionReference(control, c.kind, c.reference, filePart, extension),
              c.found);
    if (c.found == 0)
      continue;
    EXPECT_STREQ(filePart.GetText(), "guide");
    EXPECT_STREQ(extension.GetText(), control.GetWorkingExtension().GetText());
  }

  control.Bool(PolicyId::ExpectSecondWordHeadings).value = 1;
  EXPECT_EQ(ctx.FindSectionReference(control, 101, "7", filePart, extension), 1);
}

TEST_F(HeadingRegistrationTest, DeferredFontChangesReplaceEachOther) {
  FontSpec first;
  first.SetFace("Arial");
  FontSpec second;
  second.SetFace("Courier New");
  ctx.ChangeFont(control, first, 1);
  EXPECT_TRUE(messages.empty());
  ctx.ChangeFont(control, second, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "INFO: Unimplemented font change being discarded");
  EXPECT_EQ(ctx.PendingFontChange, 1);
  EXPECT_STREQ(ctx.PendingFont.GetFace().GetText(), "Courier New");
  EXPECT_EQ(ctx.GetActiveFont(), nullptr);  // nothing in force yet
}

TEST_F(HeadingRegistrationTest, ImmediateFontChangeReachesEveryBlock) {
  EXPECT_EQ(ctx.GetActiveFont(), nullptr);
  ctx.Blocks.Push(1, "<BODY>");
  ctx.Blocks.Push(7, "<P>");
  ctx.SecondBlocks.Push(2, "<OL>");
  EXPECT_EQ(ctx.GetActiveFont(), nullptr);

  FontSpec pending;
  pending.SetFace("Arial");
  ctx.ChangeFont(control, pending, 1);
  FontSpec font;
  font.SetFace("Georgia");
  font.SetBold(1);
  ctx.ChangeFont(control, font, 0);
  EXPECT_EQ(ctx.PendingFontChange, 0);
  EXPECT_TRUE(ctx.PendingFont.GetFace().IsEmpty());
  EXPECT_STREQ(ctx.CurrentFont.GetFace().GetText(), "Georgia");
  EXPECT_EQ(ctx.CurrentBold, 1);
  EXPECT_EQ(ctx.CurrentItalic, 0);
  for (BlockList* blocks : {&ctx.Blocks, &ctx.SecondBlocks}) {
    for (int i = 0; i < blocks->GetCount(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(blocks->GetItem(i)->handOutward, 1);
      EXPECT_STREQ(blocks->GetItem(i)->font.GetFace().GetText(), "Georgia");
    }
  }
  const FontSpec* active = ctx.GetActiveFont();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active, &ctx.Blocks.pGetInnermost()->font);

  // A block without a font of its own leaves the current font in force.
  ctx.Blocks.Push(5, "<LI>");
  EXPECT_EQ(ctx.GetActiveFont(), &ctx.CurrentFont);
}

TEST_F(HeadingRegistrationTest, OutputStageIgnoresFontChangesWithoutFontTags) {
  ctx.OutputPass = 1;
  FontSpec font;
  font.SetFace("Georgia");
  ctx.ChangeFont(control, font, 0);
  ctx.ChangeFont(control, font, 1);
  EXPECT_EQ(ctx.PendingFontChange, 0);
  EXPECT_TRUE(ctx.CurrentFont.GetFace().IsEmpty());
  ctx.OutputPass = 0;
  ctx.StageFlag3 = 1;
  ctx.ChangeFont(control, font, 0);
  EXPECT_TRUE(ctx.CurrentFont.GetFace().IsEmpty());
  // Once the text's own font tags run, their changes take effect; the next file forgets them.
  ctx.FontTagsExecuted = 1;
  ctx.ChangeFont(control, font, 0);
  EXPECT_STREQ(ctx.CurrentFont.GetFace().GetText(), "Georgia");
  ctx.ResetForFile(TextString("next.txt"));
  EXPECT_EQ(ctx.FontTagsExecuted, 0);
}

}  // namespace
