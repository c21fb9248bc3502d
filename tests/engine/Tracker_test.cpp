#include "engine/Tracker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"

namespace {

// A Context with a policy set attached, its handler's messages collected.
class TrackerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }
  Tracker& Analysis() { return ctx.GetPassTracker(kLocationAnalysis); }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> messages;
};

void ExpectAll(const Tracker& t, int value) {
  for (int p = 0; p < kPermissionCount; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(t.permissions[static_cast<std::size_t>(p)], value);
  }
}

}  // namespace

TEST_F(TrackerTest, ResetGivesThePerPassStartValues) {
  Tracker t;
  t.openListCount = 3;
  t.listDepth = 4;
  t.permissions.fill(0);
  t.inDefinitionBlock = 1;
  t.currentPosition.Set(0, 7);
  t.secondPosition.Set(2, 3);
  t.inContents = t.inHtml = t.inBulletList = t.suppressOutput = 1;
  Statement* dangling = reinterpret_cast<Statement*>(&t);
  t.currentLine = dangling;
  ResetTracker(t);
  EXPECT_EQ(t.openListCount, 0);
  EXPECT_EQ(t.listDepth, 1);
  ExpectAll(t, 1);
  EXPECT_EQ(t.inDefinitionBlock, 0);
  EXPECT_FALSE(t.currentPosition.IsSet());
  EXPECT_EQ(t.currentPosition.GetLine(), -1);
  EXPECT_FALSE(t.secondPosition.IsSet());
  EXPECT_EQ(t.inContents + t.inHtml + t.inBulletList + t.suppressOutput, 0);
  EXPECT_EQ(t.currentLine, nullptr);
}

TEST_F(TrackerTest, AllowWordsSetTheirGroups) {
  struct Case {
    const char* line;
    int value;
    std::vector<int> expected;  // eleven flags after the line, starting from all allowed
  };
  const std::vector<Case> cases = {
      {"$_$_DISALLOW Headings", 0, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"$_$_DISALLOW Lists", 0, {1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1}},
      {"$_$_DISALLOW All", 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"$_$_ALLOW Reset", 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"$_$_DISALLOW  headings , LISTS ", 0, {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}},
      {"$_$_DISALLOW Heading", 0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"$_$_DISALLOW Tables, Lists", 0, {1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1}},
      {"$_$_DISALLOW", 0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Tracker t;
    ApplyAllowList(fc, t, TextString(c.line), c.value);
    EXPECT_EQ(std::vector<int>(t.permissions.begin(), t.permissions.end()), c.expected);
  }
}

TEST_F(TrackerTest, DisallowResetAllowsEverythingAgain) {
  Tracker& t = Analysis();
  UpdateTrackerForLine(fc, &t, TextString("$_$_DISALLOW Headings, Lists"), 1031);
  EXPECT_EQ(t.Allows(Permission::NumberedHeadings), 0);
  EXPECT_EQ(t.Allows(Permission::RomanLists), 0);
  UpdateTrackerForLine(fc, &t, TextString("$_$_DISALLOW Reset"), 1031);
  ExpectAll(t, 1);
}

TEST_F(TrackerTest, TheDirectiveNameInForceIsRemovedFirst) {
  ctx.BuildTagNames(nullptr, "##");
  Tracker t;
  // The word list follows the directive name even without a blank.
  ApplyAllowList(fc, t, TextString("##DISALLOWLists"), 0);
  EXPECT_EQ(t.Allows(Permission::Lists), 0);
  EXPECT_EQ(t.Allows(Permission::NumberedHeadings), 1);
}

TEST_F(TrackerTest, UnknownWordIsToldOnlyInTheContentsLocationOfAnOutputStage) {
  Tracker t;
  ctx.CodeLocation = kLocationAnalysis;
  ApplyAllowList(fc, t, TextString("$_$_ALLOW Tables"), 1);
  ctx.CodeLocation = kLocationContents;
  ApplyAllowList(fc, t, TextString("$_$_ALLOW Tables"), 1);
  EXPECT_TRUE(messages.empty());

  ctx.OutputPass = 1;
  ApplyAllowList(fc, t, TextString("$_$_ALLOW Tables, Headings"), 1);
  ApplyAllowList(fc, t, TextString("$_$_DISALLOW Tables"), 0);
  ctx.OutputPass = 0;
  ctx.StageFlag3 = 1;
  ApplyAllowList(fc, t, TextString("$_$_DISALLOW Graphs"), 0);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], "TAG ERROR: Unknown ALLOW command : \"Tables\"");
  EXPECT_EQ(messages[1], "TAG ERROR: Unknown DISALLOW command : \"Tables\"");
  EXPECT_EQ(messages[2], "TAG ERROR: Unknown DISALLOW command : \"Graphs\"");
}

TEST_F(TrackerTest, DirectiveTypesSetAndClearTheirFlags) {
  Tracker t;
  const TextString line("$_$_BEGIN_CONTENTS");
  UpdateTrackerForLine(fc, &t, line, 1013);
  EXPECT_EQ(t.inContents, 1);
  UpdateTrackerForLine(fc, &t, line, 1015);
  EXPECT_EQ(t.inHtml, 1);
  UpdateTrackerForLine(fc, &t, TextString("$_$_ALLOW Headings"), 1004);  // not ALLOW's type
  UpdateTrackerForLine(fc, &t, line, 1014);
  UpdateTrackerForLine(fc, &t, line, 1016);
  EXPECT_EQ(t.inContents, 0);
  EXPECT_EQ(t.inHtml, 0);
  ExpectAll(t, 1);
  UpdateTrackerForLine(fc, nullptr, line, 1013);  // nothing to update, nothing breaks
}

TEST_F(TrackerTest, UnknownCodeLocationReportsOnceAndGivesTheOutputTracker) {
  for (int location : {0, 4, -1}) {
    SCOPED_TRACE(location);
    messages.clear();
    ctx.CodeLocation = location;
    EXPECT_EQ(ctx.pGetTracker(), &ctx.Trackers[2]);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "PROGRAM ERROR: Unknown Code location in Context::pGetTracker");
  }
  messages.clear();
  for (int location : {1, 2, 3}) {
    ctx.CodeLocation = location;
    EXPECT_EQ(ctx.pGetTracker(), &ctx.Trackers[static_cast<std::size_t>(location - 1)]);
  }
  EXPECT_TRUE(messages.empty());
}
