#include "text/TextPosition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/PositionTextList.h"

TEST(TextPosition, CompareWeighsLinesAboveColumns) {
  struct Case {
    TextPosition a;
    TextPosition b;
    int expected;
  };
  const Case cases[] = {
      {{3, 9}, {4, 1}, -2}, {{4, 1}, {3, 9}, 2},  {{4, 1}, {4, 9}, -1},
      {{4, 9}, {4, 1}, 1},  {{4, 4}, {4, 4}, 0},  {{-1, -1}, {0, 0}, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a.GetLine() << "," << c.a.GetColumn() << " vs "
                                    << c.b.GetLine() << "," << c.b.GetColumn());
    EXPECT_EQ(c.a.Compare(c.b), c.expected);
  }
}

TEST(TextPosition, SetOnlyWithBothPartsNonNegative) {
  EXPECT_FALSE(TextPosition().IsSet());
  EXPECT_FALSE(TextPosition(0, -1).IsSet());
  EXPECT_FALSE(TextPosition(-1, 0).IsSet());
  EXPECT_TRUE(TextPosition(0, 0).IsSet());
  TextPosition p(5, 6);
  p.Reset();
  EXPECT_EQ(p.GetLine(), -1);
  EXPECT_EQ(p.GetColumn(), -1);
  p.Assign(TextPosition(7, 8));
  EXPECT_EQ(p.Compare(TextPosition(7, 8)), 0);
}

TEST(DefineScope, NewScopeIsVisibleToBothAtLineZeroColumnOne) {
  const DefineScope scope;
  EXPECT_TRUE(scope.IsVisibleToKind1());
  EXPECT_TRUE(scope.IsVisibleToKind2());
  EXPECT_EQ(scope.GetPosition().Compare(TextPosition(0, 1)), 0);
  EXPECT_TRUE(scope.Covers(ScopeQuery(TextPosition(0, 1), 0, 2)));
}

TEST(DefineScope, CoversByKindAndPlace) {
  struct Case {
    int scopeType;
    TextPosition at;
    int kind;
    int inclusion;
    bool covered;
  };
  const Case cases[] = {
      // kind test
      {1, {10, 5}, 1, 0, true},
      {1, {10, 5}, 2, 0, false},
      {1, {10, 5}, 0, 0, false},
      {2, {10, 5}, 2, 0, true},
      {2, {10, 5}, 1, 0, false},
      {0, {10, 5}, 0, 0, true},
      {7, {10, 5}, 2, 0, true},
      {0, {10, 5}, 3, 0, false},
      {0, {10, 5}, -1, 0, false},
      // place test, scope column 5, each inclusion type on both sides of it
      {1, {10, 4}, 1, 1, true},
      {1, {10, 5}, 1, 1, false},
      {1, {10, 5}, 1, 2, true},
      {1, {10, 6}, 1, 2, false},
      {1, {10, 6}, 1, 3, true},
      {1, {10, 5}, 1, 3, false},
      {1, {10, 5}, 1, 4, true},
      {1, {10, 4}, 1, 4, false},
      {1, {11, 4}, 1, 1, false},  // other line
      {1, {9, 4}, 1, 4, false},
      {1, {9, 4}, 1, 0, true},    // type 0 ignores the place
      {1, {10, 5}, 1, 5, false},  // unknown inclusion type
      {1, {-1, -1}, 1, 5, true},  // unset position passes the place test
      {1, {3, -1}, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.scopeType << " query " << c.at.GetLine()
                                    << "," << c.at.GetColumn() << " kind " << c.kind
                                    << " inclusion " << c.inclusion);
    DefineScope scope;
    scope.Set(TextPosition(10, 5), c.scopeType, 42);
    EXPECT_EQ(scope.GetValue(), 42);
    EXPECT_EQ(scope.Covers(ScopeQuery(c.at, c.kind, c.inclusion)), c.covered);
  }
}

TEST(PositionTextList, SortsByPositionKeepingTiesInOrder) {
  PositionTextList list;
  list.Add(TextPosition(2, 1), TextString("c"));
  list.Add(TextPosition(1, 5), TextString("b"));
  list.Add(TextPosition(), TextString("unset"));
  list.Add(TextPosition(-3, 9), TextString("negative line"));
  list.Add(TextPosition(1, 5), TextString("b2"));
  list.Add(TextPosition(1, 0), TextString("a"));
  list.Add(TextPosition(0, 7), TextString("line0"));
  EXPECT_EQ(list.GetItem(2)->position.Compare(TextPosition(0, 0)), 0);
  list.SortByPosition();
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetCount(); ++i)
    texts.emplace_back(list.GetItem(i)->text.GetText());
  EXPECT_EQ(texts, (std::vector<std::string>{"unset", "negative line", "line0", "a", "b", "b2",
                                             "c"}));
  EXPECT_EQ(list.GetItem(7), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
}
