#include "engine/FontChange.h"

#include <gtest/gtest.h>

namespace {

FontChange MakeActive() {
  FontChange change;
  change.changeFlags = {1, 1, 1, 2};
  change.font.SetFace("Arial");
  change.font.SetPointSize(20);
  change.fontIndex = 3;
  change.firstExtraFlag = 1;
  change.secondExtraFlag = 1;
  return change;
}

TEST(FontChange, NewRecordIsInactiveWithoutIndex) {
  const FontChange change;
  EXPECT_FALSE(change.IsActive());
  EXPECT_EQ(change.fontIndex, -1);
}

TEST(FontChange, AnyChangeFlagMakesItActive) {
  for (int i = 0; i < FontChange::kChangeFlags; ++i) {
    SCOPED_TRACE(i);
    FontChange change;
    change.changeFlags[static_cast<std::size_t>(i)] = 1;
    EXPECT_TRUE(change.IsActive());
  }
  FontChange extraOnly;
  extraOnly.firstExtraFlag = 1;
  EXPECT_FALSE(extraOnly.IsActive());
}

TEST(FontChange, ResetClearsEverything) {
  FontChange change = MakeActive();
  EXPECT_EQ(change.Reset(), 1);
  EXPECT_FALSE(change.IsActive());
  EXPECT_EQ(change.firstExtraFlag, 0);
  EXPECT_EQ(change.secondExtraFlag, 0);
  EXPECT_EQ(change.fontIndex, -1);
  EXPECT_TRUE(change.font.GetFace().IsEmpty());
  EXPECT_EQ(change.font.GetPointSize(), 12);
}

TEST(FontChange, CancelKeepsFlagsThatAreNotOne) {
  FontChange change = MakeActive();
  change.Cancel();
  EXPECT_EQ(change.changeFlags[0], 1);
  EXPECT_EQ(change.changeFlags[1], 0);
  EXPECT_EQ(change.changeFlags[2], 0);
  EXPECT_EQ(change.changeFlags[3], 2);
  EXPECT_EQ(change.fontIndex, 3);
  EXPECT_TRUE(change.font.GetFace().IsEmpty());
}

TEST(FontChange, ClearPendingResetsOnlyAnActiveRecord) {
  FontChange active = MakeActive();
  ClearPendingFontChange(active);
  EXPECT_FALSE(active.IsActive());
  EXPECT_EQ(active.fontIndex, -1);

  FontChange idle;
  idle.fontIndex = 4;
  ClearPendingFontChange(idle);
  EXPECT_EQ(idle.fontIndex, 4);
}

}  // namespace
