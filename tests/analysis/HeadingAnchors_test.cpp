#include "tags/HeadingAnchors.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "support/ContextFixture.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"

namespace {

class HeadingAnchorsTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 1, 0);
  }
  int Add(int type, const TextPosition& at, const char* anchor, const char* number,
          const char* heading, int stripTags = 0) {
    const TextString none;
    return AddHeadingAnchor(fc, ctx, type, at, anchor, number, heading, none, none, none,
                            stripTags);
  }
  std::string AnchorText(int i) const {
    const HeadingEntry* entry = ctx.Anchors.GetEntry(i);
    return entry != nullptr ? entry->lineText.GetText() : "";
  }
};

TEST_F(HeadingAnchorsTest, ANumberTextOtherThanTheAnchorGivesASecondAnchor) {
  EXPECT_EQ(Add(kTypeCapitalisedHeading, TextPosition(0, 4), "INTRODUCTION", "INTRODUCTION",
                "INTRODUCTION"),
            1);
  EXPECT_EQ(ctx.Anchors.GetCount(), 1);
  EXPECT_EQ(ctx.Headings.GetCount(), 1);

  EXPECT_EQ(Add(kTypeHeading2, TextPosition(0, 40), "Scope of work", "2.1 Scope of work",
                "Scope of work"),
            1);
  ASSERT_EQ(ctx.Anchors.GetCount(), 3);
  EXPECT_EQ(AnchorText(1), "Scope of work");
  EXPECT_EQ(AnchorText(2), "Section_2.1");
  const HeadingEntry* heading = ctx.Headings.GetEntry(1);
  ASSERT_NE(heading, nullptr);
  EXPECT_STREQ(heading->sectionNumber.GetText(), "2.1");
  EXPECT_EQ(heading->position.GetColumn(), 40);
}

TEST_F(HeadingAnchorsTest, TheSameHeadingNearItsPlaceIsRegisteredOnce) {
  Add(kTypeCapitalisedHeading, TextPosition(0, 10), "RESULTS", "RESULTS", "RESULTS");
  EXPECT_EQ(Add(kTypeCapitalisedHeading, TextPosition(0, 15), "RESULTS", "RESULTS", "RESULTS"),
            0);
  EXPECT_EQ(ctx.Headings.GetCount(), 1);
  EXPECT_EQ(Add(kTypeCapitalisedHeading, TextPosition(0, 16), "RESULTS", "RESULTS", "RESULTS"),
            1);
  EXPECT_EQ(ctx.Anchors.GetCount(), 2);
}

TEST_F(HeadingAnchorsTest, LongAnchorsTakeTheirLinkNameAndTagsGo) {
  const std::string sixty(60, 'A');
  const std::string longer = sixty + "B";
  Add(kTypeCapitalisedHeading, TextPosition(0, 10), sixty.c_str(), sixty.c_str(), sixty.c_str());
  EXPECT_EQ(AnchorText(0), sixty);
  Add(kTypeCapitalisedHeading, TextPosition(0, 30), longer.c_str(), longer.c_str(),
      longer.c_str());
  EXPECT_EQ(AnchorText(1).substr(0, 32), std::string(30, 'A') + "__");
  EXPECT_LT(AnchorText(1).size(), longer.size());

  Add(kTypeCapitalisedHeading, TextPosition(0, 50), "<B>FINAL</B>   WORDS",
      "<B>FINAL</B> WORDS", "<B>FINAL</B> WORDS", 1);
  EXPECT_EQ(AnchorText(ctx.Anchors.GetCount() - 1), "FINAL WORDS");
}

TEST_F(HeadingAnchorsTest, AnUnsetPositionIsTheLineAfterTheTrackersPlace) {
  ctx.pGetTracker()->currentPosition = TextPosition(0, 9);
  Add(kTypeCapitalisedHeading, TextPosition(), "SUMMARY", "SUMMARY", "SUMMARY");
  ASSERT_EQ(ctx.Anchors.GetCount(), 1);
  EXPECT_EQ(ctx.Anchors.GetEntry(0)->position.GetColumn(), 10);
}

}  // namespace
