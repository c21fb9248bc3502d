#include "engine/TagList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/Growth.h"

namespace {

class TagListTest : public ::testing::Test {
 protected:
  TagListTest() : ctx(2, kOutputRtf) {
    control.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.CodeLocation = kLocationAnalysis;
  }
  Tracker& AnalysisTracker() { return ctx.Trackers[0]; }
  void AddAt(const char* name, int line, int column) {
    ASSERT_EQ(tags.Add(control, name, "v", 0, TextPosition(line, column), 0), 1);
  }

  Context ctx;
  FileControl control;
  TagList tags;
  std::vector<std::string> messages;
};

TEST_F(TagListTest, RefusesAdditionsOutsideTheAnalysisPassUnlessForced) {
  ctx.AnalysisPass = 0;
  ctx.ContentsPass = 1;
  EXPECT_EQ(tags.Add(control, "NAME", "value", 3, TextPosition(1, 1), 0), 0);
  EXPECT_EQ(tags.GetCount(), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: TagList::Add called during non-analysis pass");

  EXPECT_EQ(tags.Add(control, "NAME", "value", 3, TextPosition(1, 1), 1), 1);
  ASSERT_EQ(tags.GetCount(), 1);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_STREQ(tags.GetItem(0)->value.GetText(), "value");
  EXPECT_EQ(tags.GetItem(0)->kind, 3);
}

TEST_F(TagListTest, TakesTheTrackerPositionWhenNoColumnIsGiven) {
  struct Case {
    TextPosition given;
    TextPosition tracker;
    TextPosition expected;
  };
  const Case cases[] = {
      {{4, 2}, {9, 9}, {4, 2}},      // a column of its own wins
      {{4, 0}, {9, 9}, {4, 0}},      // column 0 is a column
      {{4, -1}, {9, 5}, {9, 6}},     // tracker column plus 1
      {{-1, -1}, {0, 0}, {0, 1}},    // tracker at the very start
      {{-1, -1}, {-1, -1}, {0, 0}},  // tracker at no line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.given.GetLine() << "," << c.given.GetColumn() << " tracker "
                 << c.tracker.GetLine() << "," << c.tracker.GetColumn());
    tags.Clear();
    AnalysisTracker().currentPosition = c.tracker;
    ASSERT_EQ(tags.Add(control, "T", "", 0, c.given, 0), 1);
    EXPECT_EQ(tags.GetItem(0)->position.GetLine(), c.expected.GetLine());
    EXPECT_EQ(tags.GetItem(0)->position.GetColumn(), c.expected.GetColumn());
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(TagListTest, FindsTagsLeftAndRightOfAColumnOnTheSameLine) {
  AddAt("A", 1, 5);   // 0: another line
  AddAt("A", 2, 3);   // 1
  AddAt("b", 3, 7);   // 2: another line, between the tags of line 2
  AddAt("B", 2, 7);   // 3
  AddAt("a", 2, 12);  // 4
  struct Case {
    const char* name;
    int column;
    int inclusive;
    int after;   // FindFirstAfter
    int before;  // FindLastBefore
  };
  const Case cases[] = {
      {"", 10, 0, 4, 3},  {"", 7, 0, 4, 1},   {"", 7, 1, 3, 3},     {"", 2, 0, 1, -1},
      {"", 12, 0, -1, 3}, {"", 12, 1, 4, 4},  {"A", 3, 0, 4, -1},   {"A", 3, 1, 1, 1},
      {"a", 11, 0, 4, 1}, {"b", 1, 0, 3, -1}, {"AA", 1, 0, -1, -1},  // same letters, other length
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "name '" << c.name << "' column " << c.column << " inclusive " << c.inclusive);
    int index = -2;
    EXPECT_EQ(tags.FindFirstAfter(c.name, TextPosition(2, c.column), &index, c.inclusive),
              c.after >= 0);
    EXPECT_EQ(index, c.after);
    EXPECT_EQ(tags.FindLastBefore(c.name, TextPosition(2, c.column), &index, c.inclusive),
              c.before >= 0);
    EXPECT_EQ(index, c.before);
  }
  int index = -2;
  EXPECT_FALSE(tags.FindFirstAfter("", TextPosition(8, 0), &index, 1));
  EXPECT_EQ(index, -1);
}

TEST_F(TagListTest, FindNextWalksTheRecordsOfOneName) {
  AddAt("X", 1, 1);
  AddAt("y", 1, 2);
  AddAt("x", 2, 1);
  AddAt("X", 3, 1);
  struct Case {
    const char* name;
    int from;
    int expected;
  };
  const Case cases[] = {
      {"X", -1, 0}, {"X", 0, 2}, {"x", 2, 3}, {"X", 3, -1},  {"Y", 0, 1},
      {"", 0, 1},   {"", 2, 3},  {"", 3, -1}, {"Z", -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " after " << c.from);
    int out = -2;
    EXPECT_EQ(tags.FindNext(c.name, c.from, &out), c.expected >= 0);
    EXPECT_EQ(out, c.expected);
  }
}

TEST_F(TagListTest, ClearForgetsTheIndexesToo) {
  AddAt("X", 1, 1);
  tags.Clear();
  EXPECT_EQ(tags.GetCount(), 0);
  EXPECT_EQ(tags.GetItem(0), nullptr);
  int index = -2;
  EXPECT_FALSE(tags.FindFirstAfter("X", TextPosition(1, 0), &index, 1));
  EXPECT_FALSE(tags.FindNext("X", -1, &index));
  AddAt("X", 1, 4);
  EXPECT_TRUE(tags.FindLastBefore("X", TextPosition(1, 9), &index, 0));
  EXPECT_EQ(index, 0);
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using TagListGrowth = TagListTest;

// A document's worth of tags looked up once per line must not cost a walk over all of them
// per lookup.
TEST_F(TagListGrowth, LookupsPerLineGrowLinearlyWithTheDocument) {
  const auto lookups = [this](int lines) {
    tags.Clear();
    for (int line = 0; line < lines; ++line) {
      AddAt("TAG", line, 3);
      AddAt("OTHER", line, 9);
    }
    int found = 0;
    const GrowthClock::duration time = TimeOf([&] {
      for (int line = 0; line < lines; ++line) {
        int index = -1;
        found += tags.FindLastBefore("tag", TextPosition(line, 8), &index, 1) ? 1 : 0;
        found += tags.FindFirstAfter("", TextPosition(line, 3), &index, 0) ? 1 : 0;
        found += tags.FindNext("OTHER", index, &index) ? 1 : 0;
      }
    });
    EXPECT_EQ(found, 2 * lines + lines - 1);
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(2000, lookups), kQuadraticGrowth);
}

}  // namespace
