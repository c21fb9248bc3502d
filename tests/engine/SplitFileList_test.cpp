#include "engine/SplitFileList.h"

#include <gtest/gtest.h>

#include "engine/Context.h"

namespace {

TEST(SplitFileList, EachFileEndsJustBeforeTheNextBegins) {
  Context ctx(2, kOutputRtf);
  ctx.CodeLocation = kLocationContents;
  Tracker& tracker = ctx.Trackers[1];
  SplitFileList files;
  tracker.currentPosition.Set(0, 1);
  ASSERT_EQ(files.Add(ctx, "part1.rtf"), 1);
  tracker.currentPosition.Set(40, 3);
  ASSERT_EQ(files.Add(ctx, "part2.rtf"), 1);
  tracker.currentPosition.Set(-1, -1);
  ASSERT_EQ(files.Add(ctx, "PART1.RTF"), 1);

  ASSERT_EQ(files.GetCount(), 3);
  const SplitFileRecord& first = *files.GetItem(0);
  const SplitFileRecord& second = *files.GetItem(1);
  const SplitFileRecord& third = *files.GetItem(2);
  EXPECT_EQ(first.start.GetLine(), 0);
  EXPECT_EQ(first.start.GetColumn(), 1);
  EXPECT_EQ(first.end.GetLine(), 40);
  EXPECT_EQ(first.end.GetColumn(), 2);
  EXPECT_EQ(second.start.GetLine(), 40);
  EXPECT_EQ(second.start.GetColumn(), 3);
  EXPECT_EQ(third.start.GetLine(), 0);  // a tracker at no line starts at (0, 0)
  EXPECT_EQ(third.start.GetColumn(), 0);
  EXPECT_FALSE(third.end.IsSet());

  int index = -2;
  EXPECT_TRUE(files.Find("Part1.rtf", &index));
  EXPECT_EQ(index, 0);  // the first of two equal names
  EXPECT_TRUE(files.Find("part2.RTF", &index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(files.Find("part1.rt", &index));
  EXPECT_EQ(index, -1);

  files.Clear();
  EXPECT_EQ(files.GetCount(), 0);
  EXPECT_FALSE(files.Find("part2.rtf", &index));
}

}  // namespace
