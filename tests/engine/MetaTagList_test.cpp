#include "engine/MetaTagList.h"

#include <gtest/gtest.h>

#include "engine/Context.h"

namespace {

TEST(MetaTagList, TidiesBlanksAndTakesTheTrackerPosition) {
  Context ctx(2, kOutputRtf);
  ctx.CodeLocation = kLocationContents;
  Tracker& tracker = ctx.Trackers[1];
  struct Case {
    TextPosition current;
    TextPosition second;
    TextPosition expected;
  };
  const Case cases[] = {
      {{0, 4}, {9, 9}, {0, 5}},    // main text: the current position
      {{3, 4}, {9, 9}, {9, 10}},   // inside a block: the second position
      {{3, 4}, {-1, -1}, {0, 0}},  // no second position
      {{-1, -1}, {8, 1}, {8, 2}},
  };
  MetaTagList list;
  for (const Case& c : cases) {
    tracker.currentPosition = c.current;
    tracker.secondPosition = c.second;
    EXPECT_EQ(list.Add(ctx, "  author \t\t name ", "\tJ.  \t Smith  "), 1);
  }
  ASSERT_EQ(list.GetCount(), 4);
  for (int i = 0; i < list.GetCount(); ++i) {
    SCOPED_TRACE(i);
    const MetaTagRecord& record = *list.GetItem(i);
    EXPECT_STREQ(record.name.GetText(), "author name");
    EXPECT_STREQ(record.value.GetText(), "J. Smith");
    EXPECT_EQ(record.position.GetLine(), cases[i].expected.GetLine());
    EXPECT_EQ(record.position.GetColumn(), cases[i].expected.GetColumn());
  }
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetItem(0), nullptr);
}

}  // namespace
