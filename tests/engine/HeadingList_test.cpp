#include "engine/HeadingList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/Growth.h"

namespace {

class HeadingListTest : public ::testing::Test {
 protected:
  HeadingListTest() : ctx(2, kOutputRtf) {
    ctx.GetFileControl().AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }

  int Add(int type, const char* text, int line, int column, const char* link = nullptr) {
    const TextString t(text);
    const TextString none;
    return list.AddHeading(ctx, type, t, t, link == nullptr ? t : TextString(link),
                           TextPosition(line, column), none, none, none);
  }

  HeadingEntry* Match(const char* text, const char* alternative, int usePosition,
                      TextPosition position, int& index, int& count) {
    return list.FindBestMatch(ctx, text, alternative, usePosition, position, index, count);
  }

  Context ctx;
  HeadingList list;
  std::vector<std::string> messages;
};

struct KeyCase {
  int outputType;
  const char* text;
  const char* key;
};
const KeyCase kKeyCases[] = {
    {kOutputRtf, "  The *Big*  (Red) Dog's Home ", "the big red dogs home"},
    {kOutputRtf, "Dog's_Home", "dogshome"},
    {kOutputRtf, "", ""},
    {kOutputRtf, "   ", ""},
    {kOutputRtf, "<B>[Note]</B> & `this`", "bnote/b this"},
    {kOutputRtf, "\x93Quoted\x94 \x91single\x92", "quoted single"},
    // Dashes become ASCII except for HTML output.
    {kOutputRtf, "A\x96" "B", "a-b"},
    {kOutputHtml, "A\x96" "B", "a\x96" "b"},
    {kOutputRtf, "Caf\xC9 ONE", "caf\xC9 one"},  // bytes above 0x7F keep their case
};

TEST(MakeHeadingKey, NormalisesPunctuationBlanksAndCase) {
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(c.text);
    TextString key("stale");
    MakeHeadingKey(c.outputType, c.text, key);
    EXPECT_STREQ(key.GetText(), c.key);
  }
}

TEST(ContentsTypeToHeadingType, MapsOnlyContentsTypes) {
  const int cases[][2] = {{150, 150}, {151, 101}, {153, 103}, {156, 106},
                          {157, 157}, {101, 101}, {-3, -3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(ContentsTypeToHeadingType(c[0]), c[1]);
  }
}

TEST_F(HeadingListTest, EntryKeepsTidiedTextsAndKeys) {
  ASSERT_EQ(Add(102, "  2.1   Getting  *Started* ", 4, 1, "GS Link"), 1);
  const HeadingEntry& e = *list.GetEntry(0);
  EXPECT_EQ(e.kind, 102);
  EXPECT_EQ(e.id, 1);
  EXPECT_STREQ(e.headingText.GetText(), "2.1 Getting *Started*");
  EXPECT_STREQ(e.unnumberedText.GetText(), "Getting *Started*");
  EXPECT_STREQ(e.textKey.GetText(), "2.1 getting started");
  EXPECT_STREQ(e.unnumberedKey.GetText(), "getting started");
  EXPECT_STREQ(e.linkName.GetText(), "GS Link");
  EXPECT_STREQ(e.linkKey.GetText(), "gs link");
  EXPECT_STREQ(e.sectionNumber.GetText(), "2.1");
  EXPECT_STREQ(e.secondWord.GetText(), "Getting");
  EXPECT_EQ(e.lineKeySame, 1);
  EXPECT_EQ(e.unnumberedKeySame, 0);
  EXPECT_EQ(e.linkKeySame, 0);
  EXPECT_EQ(e.plainKeySame, 1);
  EXPECT_EQ(e.position.GetLine(), 4);
  EXPECT_EQ(e.position.GetColumn(), 1);
  EXPECT_EQ(e.duplicateCount, 0);

  // Only numbered headings lose their first word.
  ASSERT_EQ(Add(111, "2.2 Underlined", 9, 1), 1);
  EXPECT_STREQ(list.GetEntry(1)->unnumberedText.GetText(), "2.2 Underlined");
  EXPECT_EQ(list.GetEntry(1)->id, 2);
}

TEST_F(HeadingListTest, RuleSetPrefixesLinkWithFilePart) {
  ctx.InputBaseName.Assign("manual");
  ctx.GetFileControl().SetRuleSet(1, 1);
  ASSERT_EQ(Add(101, "Intro", 1, 1, "intro"), 1);
  EXPECT_STREQ(list.GetEntry(0)->linkName.GetText(), "manual_intro");
  EXPECT_STREQ(list.GetEntry(0)->filePart.GetText(), "manual");
}

TEST_F(HeadingListTest, ContentsLineMatchesHeadingIgnoringCaseAndSpacing) {
  Add(101, "1. Overview", 3, 1);
  Add(101, "2. INSTALLING  THE PROGRAM", 10, 1);
  int index = -1;
  int count = -1;
  const HeadingEntry* found =
      Match("2. Installing the Program", "", 0, TextPosition(), index, count);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(found->position.GetLine(), 10);
}

TEST_F(HeadingListTest, HeadingWithTagsMatchesThroughItsTagFreeKey) {
  Add(101, "3. <B>Setup</B> <!-- old --> caf&eacute;", 7, 1);
  const HeadingEntry& e = *list.GetEntry(0);
  EXPECT_STREQ(e.plainKey.GetText(), "3. setup caf\xe9");
  EXPECT_EQ(e.plainKeySame, 0);
  int index = -1;
  int count = -1;
  ASSERT_NE(Match("3. Setup caf\xe9", "", 0, TextPosition(), index, count), nullptr);
  EXPECT_EQ(index, 0);
}

TEST_F(HeadingListTest, LooseMatchOnlyForThreeWordsOrMore) {
  HeadingEntry entry;
  entry.textKey.Assign("ab c de");
  entry.lineKeySame = entry.plainKeySame = entry.linkKeySame = 1;
  const TextString none;
  EXPECT_EQ(entry.MatchText(1, 0, none, "a bc de"), 1);
  EXPECT_EQ(entry.MatchText(0, 0, none, "a bc de"), 0);
  EXPECT_EQ(entry.MatchText(1, 0, none, "AB C DE"), 1);
  EXPECT_EQ(entry.MatchText(1, 0, none, "abc de"), 0);  // lengths differ
  EXPECT_EQ(entry.MatchText(1, 1, none, ""), 0);

  Add(101, "ab c de", 1, 1);
  Add(101, "ab c", 2, 1);
  int index = -1;
  int count = -1;
  EXPECT_NE(Match("a bc de", "", 0, TextPosition(), index, count), nullptr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(Match("a bc", "", 0, TextPosition(), index, count), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(count, 0);
}

TEST_F(HeadingListTest, FurtherKeysCountOnlyWhereTheyDiffer) {
  HeadingEntry entry;
  entry.textKey.Assign("intro");
  entry.lineKey.Assign("1 intro");
  entry.plainKey.Assign("1 plain");
  entry.linkKey.Assign("start");
  const TextString none;
  EXPECT_EQ(entry.MatchText(0, 0, none, "1 intro"), 1);
  EXPECT_EQ(entry.MatchText(0, 0, none, "1 plain"), 1);
  EXPECT_EQ(entry.MatchText(0, 0, none, "start"), 0);  // link key only at level 1
  EXPECT_EQ(entry.MatchText(0, 1, none, "start"), 1);
  entry.lineKeySame = 1;
  entry.linkKeySame = 1;
  EXPECT_EQ(entry.MatchText(0, 1, none, "1 intro"), 0);
  EXPECT_EQ(entry.MatchText(0, 1, none, "start"), 0);
}

TEST_F(HeadingListTest, AlternativeTextIsTriedSecond) {
  list.duplicateCheckOff = 1;
  Add(101, "Overview", 1, 1, "ovw");
  int index = -1;
  int count = -1;
  // With an alternative the first scan ignores link keys; the second finds "ovw" by link.
  EXPECT_EQ(Match("ovw", "zzz", 0, TextPosition(), index, count), nullptr);
  EXPECT_NE(Match("zzz", "ovw", 0, TextPosition(), index, count), nullptr);
  EXPECT_EQ(count, 1);
  EXPECT_NE(Match("ovw", "", 0, TextPosition(), index, count), nullptr);
}

TEST_F(HeadingListTest, PrefersNearMatchAndSkipsDistantColumns) {
  list.duplicateCheckOff = 1;
  Add(101, "Summary", 10, 40);
  Add(101, "Summary", 20, 1);
  Add(101, "Summary", 30, 1);
  struct Case {
    TextPosition position;
    int index;
    int count;
  };
  const Case cases[] = {
      {TextPosition(10, 1), 1, 3},    // same line, 39 columns off: far
      {TextPosition(10, 38), 0, 3},   // within 6 columns: near and first
      {TextPosition(10, 200), 1, 2},  // more than 100 columns off: not tested
      {TextPosition(20, 30), 0, 3},   // the entry on line 20 is far, the earlier one near
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position.GetColumn());
    int index = -1;
    int count = -1;
    Match("summary", "", 1, c.position, index, count);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(count, c.count);
  }
  // Without positions every match is near.
  int index = -1;
  int count = -1;
  Match("summary", "", 0, TextPosition(10, 1), index, count);
  EXPECT_EQ(index, 0);
}

TEST_F(HeadingListTest, FarMatchServesWhenNothingIsNear) {
  list.duplicateCheckOff = 1;
  Add(101, "Summary", 10, 20);
  Add(101, "Summary", 10, 60);
  int index = -1;
  int count = -1;
  EXPECT_NE(Match("summary", "", 1, TextPosition(10, 1), index, count), nullptr);
  EXPECT_EQ(index, 1);  // the last far match
  // The count is that of the last scan, here the one with the empty alternative.
  EXPECT_EQ(count, 0);
}

TEST_F(HeadingListTest, DuplicateIsReportedAndNamedApart) {
  ASSERT_EQ(Add(101, "Introduction", 1, 1, "intro"), 1);
  ASSERT_EQ(Add(101, "Introduction", 5, 1, "intro"), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "WARNING: 1 duplicate heading(s) \"Introduction\" found at 1/1 and 5/1");
  EXPECT_STREQ(list.GetEntry(1)->linkName.GetText(), "intro_1");
  EXPECT_STREQ(list.GetEntry(1)->linkKey.GetText(), "intro");
  EXPECT_EQ(list.GetEntry(1)->duplicateCount, 1);

  // The same heading at a registered position is not added again, silently.
  EXPECT_EQ(Add(101, "Introduction", 1, 1, "intro"), 0);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(messages.size(), 1u);

  ASSERT_EQ(Add(101, "Introduction", 9, 1, "intro"), 1);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "WARNING: 2 duplicate heading(s) \"Introduction\" found at 1/1 and 9/1");
  EXPECT_STREQ(list.GetEntry(2)->linkName.GetText(), "intro_2");
}

TEST_F(HeadingListTest, LongHeadingIsShortenedInTheWarning) {
  const char* text = "abcdefghijklmnopqrstuvwxy";  // 25 characters
  Add(101, text, 1, 1);
  Add(101, text, 2, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "WARNING: 1 duplicate heading(s) \"abcdefghijklmnopq...\" found at 1/1 and 2/1");
  messages.clear();
  const char* twenty = "abcdefghijklmnopqrst";
  Add(101, twenty, 3, 1);
  Add(101, twenty, 4, 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"abcdefghijklmnopqrst\""), std::string::npos);
}

TEST_F(HeadingListTest, DuplicateCheckCanBeTurnedOff) {
  list.duplicateCheckOff = 1;
  Add(101, "Same", 1, 1);
  EXPECT_EQ(Add(101, "Same", 1, 1), 1);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_TRUE(messages.empty());
  EXPECT_STREQ(list.GetEntry(1)->linkName.GetText(), "Same");
}

TEST_F(HeadingListTest, FindsEntriesByPosition) {
  list.duplicateCheckOff = 1;
  Add(-3, "a", 7, 5);
  Add(-3, "b", 7, 12);
  Add(-3, "c", 7, 12);
  Add(-3, "d", 8, 1);
  int index = -2;
  EXPECT_EQ(list.FindAtPosition(ctx, TextPosition(7, 12), index), list.GetEntry(1));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(list.FindAtPosition(ctx, TextPosition(7, 6), index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(list.FindAtPosition(ctx, TextPosition(8, 0), index), nullptr);
  EXPECT_EQ(list.FindAtPosition(ctx, TextPosition(-1, 5), index), nullptr);

  struct Case {
    int line;
    int column;
    int index;
  };
  const Case cases[] = {{7, 4, -1}, {7, 5, 0}, {7, 11, 0}, {7, 12, 2}, {7, 99, 2},
                        {8, 1, 3},  {9, 1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line * 100 + c.column);
    EXPECT_EQ(list.FindLastBefore(TextPosition(c.line, c.column), index), list.GetEntry(c.index));
    EXPECT_EQ(index, c.index);
  }
}

TEST_F(HeadingListTest, EmptyListFindsNothing) {
  int index = 5;
  int count = 5;
  EXPECT_EQ(Match("x", "y", 1, TextPosition(1, 1), index, count), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list.FindLastBefore(TextPosition(1, 1), index), nullptr);
  EXPECT_EQ(list.GetEntry(0), nullptr);
}

TEST_F(HeadingListTest, CapacityGrowsOneEntryAhead) {
  list.duplicateCheckOff = 1;
  EXPECT_EQ(list.GetCapacity(), 0);
  Add(101, "h", 1, 1);
  EXPECT_EQ(list.GetCapacity(), 256);
  for (int i = 1; i < 255; ++i)
    Add(101, "h", i + 1, 1);
  EXPECT_EQ(list.GetCount(), 255);
  EXPECT_EQ(list.GetCapacity(), 256);
  Add(101, "h", 300, 1);
  EXPECT_EQ(list.GetCapacity(), 512);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);
  int index = 0;
  EXPECT_EQ(list.FindAtPosition(ctx, TextPosition(1, 1), index), nullptr);
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using HeadingListGrowth = HeadingListTest;

TEST_F(HeadingListGrowth, ManyHeadingsMatchInLinearTime) {
  const auto addAndMatch = [this](int headings) {
    list.Clear();
    int matched = 0;
    const GrowthClock::duration time = TimeOf([&] {
      for (int i = 0; i < headings; ++i) {
        const std::string text = std::to_string(i) + ". Section about topic " + std::to_string(i);
        Add(101, text.c_str(), i + 1, 1);
      }
      for (int i = 0; i < headings; ++i) {
        const std::string text = std::to_string(i) + ". SECTION ABOUT TOPIC " + std::to_string(i);
        int index = -1;
        int count = -1;
        Match(text.c_str(), "", 1, TextPosition(), index, count);
        matched += index == i;
      }
    });
    EXPECT_EQ(matched, headings);
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(2000, addAndMatch), kQuadraticGrowth);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
