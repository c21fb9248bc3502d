#include "text/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Growth.h"

namespace {

std::vector<std::string> Texts(const StringList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.GetCount(); ++i)
    out.emplace_back(list.GetItem(i)->text.GetText());
  return out;
}

StringList MakeList(const std::vector<std::string>& texts, bool indexed) {
  StringList list;
  list.KeepIndex(indexed);
  for (const std::string& t : texts)
    list.Append(t.c_str());
  return list;
}

int FindPos(const StringList& list, const char* text) {
  int pos = -2;
  const bool found = list.Find(TextString(text), &pos);
  EXPECT_EQ(found, pos >= 0) << text;
  return pos;
}

// Every Find answer must match a plain scan for the first entry of equal text; with unique
// texts that holds whether or not the index is used.
void ExpectFindsEveryEntry(const StringList& list) {
  for (int i = 0; i < list.GetCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(FindPos(list, list.GetItem(i)->text.GetText()), i);
  }
}

class StringListBothModes : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST(StringHash, MatchesTheSumOfSquares) {
  struct Case {
    const char* text;
    int hash;
  };
  const std::string longText(3000, 'z');
  const Case cases[] = {
      {"", 0},
      {"a", 65 * 65},                // folded to 'A'
      {"A", 65 * 65},
      {"ab", 65 * 65 + 68 * 68},     // second byte offset by 2
      {"Abc", 13890},
      {"\xE4", 28 * 28},             // high bytes count as negative
      {longText.c_str(), -1028943664},  // wraps at 32 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StringHash(c.text), c.hash);
  }
  EXPECT_EQ(StringHash(nullptr), 0);
}

TEST_P(StringListBothModes, CountingSetFoldsCaseButNotBlanks) {
  StringList list;
  list.KeepIndex(GetParam());
  list.SetDuplicatesAllowed(false);
  list.Append("Abc");
  list.Append("ABC");
  list.Append("abc");
  list.Append("Abc ");
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetItem(0)->count, 3);
  EXPECT_STREQ(list.GetItem(0)->text.GetText(), "Abc");
  EXPECT_EQ(list.GetItem(1)->count, 1);
  EXPECT_EQ(list.GetTotalLength(), 7);
  EXPECT_EQ(FindPos(list, "aBc"), 0);
  EXPECT_EQ(FindPos(list, "abc "), 1);
  EXPECT_EQ(FindPos(list, "ab"), -1);
}

TEST_P(StringListBothModes, DuplicatesAllowedByDefault) {
  StringList list;
  list.KeepIndex(GetParam());
  list.Append("x");
  EXPECT_EQ(list.Append("X"), 1);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetItem(1)->count, 1);
  EXPECT_EQ(list.GetItem(2), nullptr);
  EXPECT_EQ(list.GetItem(-1), nullptr);
}

TEST(StringList, CapacityGrowsInBlocksLeavingAFreeSlot) {
  StringList list;
  EXPECT_EQ(list.GetCapacity(), 0);
  list.Append("e");
  EXPECT_EQ(list.GetCapacity(), 256);
  for (int i = 1; i < 255; ++i)
    list.Append("e");
  EXPECT_EQ(list.GetCount(), 255);
  EXPECT_EQ(list.GetCapacity(), 256);
  list.Append("e");
  EXPECT_EQ(list.GetCapacity(), 512);
  list.Clear();
  EXPECT_EQ(list.GetCapacity(), 0);
  EXPECT_EQ(list.GetTotalLength(), 0);
}

TEST_P(StringListBothModes, InsertAtKeepsPositionsFindable) {
  struct Case {
    int index;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {0, {"t", "a", "b"}},
      {1, {"a", "t", "b"}},
      {2, {"a", "b", "t"}},
      {-5, {"t", "a", "b"}},  // outside the list: nearest end
      {9, {"a", "b", "t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    StringList list = MakeList({"a", "b"}, GetParam());
    list.InsertAt(c.index, "t");
    EXPECT_EQ(Texts(list), c.expected);
    EXPECT_EQ(list.GetTotalLength(), 3);
    ExpectFindsEveryEntry(list);
  }
}

TEST_P(StringListBothModes, SortOrders) {
  struct Case {
    const char* name;
    std::vector<std::string> input;
    bool foldCase;
    bool descending;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"ascending", {"b", "ab", "a"}, false, false, {"a", "ab", "b"}},
      {"descending keeps prefix first", {"b", "ab", "a"}, false, true, {"b", "a", "ab"}},
      {"exact case: upper before lower", {"b", "B", "a", "A"}, false, false, {"A", "B", "a", "b"}},
      {"folded, equal texts keep order", {"b", "B", "a", "A"}, true, false, {"a", "A", "b", "B"}},
      {"high bytes sort below ASCII", {"a", "\xE4", "Z"}, false, false, {"\xE4", "Z", "a"}},
      {"folded descending", {"apple", "Banana", "cherry"}, true, true, {"cherry", "Banana", "apple"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StringList list = MakeList(c.input, GetParam());
    list.Sort(c.foldCase, false, c.descending);
    EXPECT_EQ(Texts(list), c.expected);
  }
}

TEST_P(StringListBothModes, SortByCountIsStableAndKeepsIndexInStep) {
  StringList list;
  list.KeepIndex(GetParam());
  list.SetDuplicatesAllowed(false);
  for (const char* t : {"one", "two", "two", "three", "three", "three", "uno", "dos", "dos"})
    list.Append(t);
  list.Sort(false, true, true);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"three", "two", "dos", "one", "uno"}));
  // Positions moved: lookups and further counting must follow them.
  ExpectFindsEveryEntry(list);
  list.Append("ONE");
  EXPECT_EQ(list.GetItem(3)->count, 2);
  list.Sort(false, true, false);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"uno", "two", "dos", "one", "three"}));
  ExpectFindsEveryEntry(list);
}

TEST_P(StringListBothModes, RemoveRangeClampsAndKeepsTotals) {
  struct Case {
    int count;
    int start;
    int end;
    int first;  // number in the first remaining entry
    int left;
  };
  const Case cases[] = {
      {101, 0, 90, 91, 10},
      {10, 5, 200, 0, 5},
      {10, -3, 2, 3, 7},
      {10, 4, 3, 0, 10},  // empty range
      {10, 0, 9, 0, 0},
      {10, 3, 3, 0, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end << " of " << c.count);
    std::vector<std::string> texts;
    for (int i = 0; i < c.count; ++i)
      texts.push_back("n" + std::to_string(i));
    StringList list = MakeList(texts, GetParam());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(list.RemoveRange(c.start, c.end), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(list.GetCount(), c.left);
    int total = 0;
    for (int i = 0; i < list.GetCount(); ++i)
      total += list.GetItem(i)->text.GetLength();
    EXPECT_EQ(list.GetTotalLength(), total);
    if (c.left > 0) {
      EXPECT_EQ(list.GetItem(0)->text.GetText(), "n" + std::to_string(c.first));
    }
    ExpectFindsEveryEntry(list);
    if (c.start >= 0 && c.start <= c.end && c.start < c.count) {
      EXPECT_EQ(FindPos(list, ("n" + std::to_string(c.start)).c_str()), -1);
    }
  }
}

// Removed entries are reused by later appends: each reused entry starts afresh.
TEST_P(StringListBothModes, AppendsAfterRemovalStartAfresh) {
  StringList list = MakeList({"old one", "old two", "old three"}, GetParam());
  list.SetDuplicatesAllowed(false);
  list.Append("old one");
  ASSERT_EQ(list.GetItem(0)->count, 2);
  EXPECT_EQ(list.RemoveRange(0, 1), 1);
  list.Append("new");
  list.Append("old three");  // a duplicate: no entry is taken
  list.Append(std::string(400, 'z').c_str());
  list.Append("x");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"old three", "new", std::string(400, 'z'), "x"}));
  EXPECT_EQ(list.GetItem(0)->count, 2);
  for (int i = 1; i < list.GetCount(); ++i)
    EXPECT_EQ(list.GetItem(i)->count, 1) << i;
  EXPECT_EQ(list.GetTotalLength(), 9 + 3 + 400 + 1);
  ExpectFindsEveryEntry(list);
}

TEST(StringList, JoinPutsSeparatorOnlyBetween) {
  TextString out("stale");
  StringList list = MakeList({"x", "y", "z"}, false);
  list.Join(out, ", ");
  EXPECT_STREQ(out.GetText(), "x, y, z");
  StringList empty;
  empty.Join(out, ", ");
  EXPECT_STREQ(out.GetText(), "");
  StringList one = MakeList({"only"}, false);
  one.Join(out, nullptr);
  EXPECT_STREQ(out.GetText(), "only");
}

TEST(StringList, AppendFieldsMatchesFieldByFieldSplit) {
  struct Case {
    const char* text;
    const char* separator;
  };
  const Case cases[] = {
      {"alt.a comp.b  sci.c", " "}, {"  lead  trail  ", " "}, {"a\tb", " "},
      {"a,,b", ","},                {"a,b,", ","},            {",a", ","},
      {"", ","},                    {"single", ";"},          {"x;y;z", ";;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' at '" << c.separator << "'");
    const TextString text(c.text);
    std::vector<std::string> expected;
    TextString field;
    for (int n = 1; text.GetField(n, c.separator[0], field); ++n)
      expected.emplace_back(field.GetText());
    StringList list;
    EXPECT_EQ(list.AppendFields(text, c.separator), 1);
    EXPECT_EQ(Texts(list), expected);
  }
}

TEST(StringList, AppendListAppliesReceiverDuplicateRule) {
  StringList source = MakeList({"a", "A", "b"}, false);
  source.GetItem(0)->count = 7;
  StringList set;
  set.SetDuplicatesAllowed(false);
  set.Append("B");
  set.AppendList(source);
  EXPECT_EQ(Texts(set), (std::vector<std::string>{"B", "a"}));
  EXPECT_EQ(set.GetItem(0)->count, 2);
  EXPECT_EQ(set.GetItem(1)->count, 2);

  set.CopyFrom(source);
  EXPECT_EQ(Texts(set), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(set.GetItem(0)->count, 2);  // "a" and "A"
  EXPECT_FALSE(set.AreDuplicatesAllowed());
  set.CopyFrom(set);
  EXPECT_EQ(set.GetCount(), 2);
  set.AppendList(set);
  EXPECT_EQ(set.GetCount(), 2);
  EXPECT_EQ(set.GetItem(0)->count, 3);
  EXPECT_EQ(set.GetItem(1)->count, 2);
}

TEST(StringList, IndexGivesSameAnswersAsScan) {
  // Texts chosen so that several share a hash ("ab " vs "AB " fold equal, "ba" etc. differ).
  const std::vector<std::string> texts = {"ab", "ba", "AB ", "cd", "dc", "e", "",
                                          "\xE4", "\xC4", "zz", "Zz ", "q"};
  StringList plain = MakeList(texts, false);
  StringList indexed = MakeList(texts, true);
  plain.InsertAt(3, "mid");
  indexed.InsertAt(3, "mid");
  for (const std::string& t : texts) {
    SCOPED_TRACE(t);
    EXPECT_EQ(FindPos(plain, t.c_str()), FindPos(indexed, t.c_str()));
  }
  EXPECT_EQ(FindPos(indexed, "\xE4"), 8);  // high bytes are not folded
  indexed.SetFindThroughIndex(false);
  EXPECT_EQ(FindPos(indexed, "MID"), 3);
  indexed.KeepIndex(false);
  indexed.KeepIndex(true);
  ExpectFindsEveryEntry(indexed);
}

// The sizes stay small enough for the larger set to fit the processor's caches: a set of
// hundreds of thousands of entries spends its time waiting for memory at every look-up, which
// makes each look-up several times slower without any more work. Each size is built several
// times over to be timed well above the clock's grain.
TEST(StringListGrowth, CountingLargeSetWithIndexGrowsLinearly) {
  constexpr int kBuilds = 16;
  const auto count = [](int distinct) {
    GrowthClock::duration time {};
    for (int build = 0; build < kBuilds; ++build) {
      StringList set;
      set.KeepIndex(true);
      set.SetDuplicatesAllowed(false);
      time += TimeOf([&] {
        for (int round = 0; round < 2; ++round) {
          for (int i = 0; i < distinct; ++i)
            set.Append(("word" + std::to_string(i)).c_str());
        }
      });
      EXPECT_EQ(set.GetCount(), distinct);
      EXPECT_EQ(set.GetItem(distinct - 1)->count, 2);
    }
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(1000, count, 3, 16000), kQuadraticGrowth);
}

INSTANTIATE_TEST_SUITE_P(Index, StringListBothModes, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Indexed" : "Plain"; });
