#include "text/TextStats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/TextFile.h"

namespace {

class RecordingFile : public TextFile {
 public:
  bool WriteText(const char* text) override {
    lines.emplace_back(text);
    return true;
  }
  std::vector<std::string> lines;
};

void AddAll(TextStats& stats, std::initializer_list<int> values) {
  for (const int v : values) stats.Add(v);
}

}  // namespace

TEST(TextStats, AddKeepsValueOrderAndCounters) {
  TextStats stats;
  AddAll(stats, {5, 3, 5, 9});
  ASSERT_EQ(stats.GetCount(), 3);
  const int values[] = {3, 5, 9};
  const int frequencies[] = {1, 2, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(stats.GetEntry(i)->value, values[i]);
    EXPECT_EQ(stats.GetEntry(i)->frequency, frequencies[i]);
  }
  EXPECT_EQ(stats.GetSamples(), 4);
  EXPECT_EQ(stats.GetTotal(), 22);
  EXPECT_EQ(stats.GetMin(), 3);
  EXPECT_EQ(stats.GetMax(), 9);
  stats.Clear();
  EXPECT_EQ(stats.GetCount() + stats.GetSamples() + stats.GetTotal() + stats.GetMax(), 0);
}

TEST(TextStats, NewValueAfterFrequencySortGoesLast) {
  TextStats stats;
  AddAll(stats, {5, 3, 5, 9});
  stats.SortByFrequency();
  stats.Add(1);
  EXPECT_EQ(stats.GetEntry(stats.GetCount() - 1)->value, 1);
  stats.Add(9);  // a known value found by the linear path
  stats.SortByValue();
  const int values[] = {1, 3, 5, 9};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(stats.GetEntry(i)->value, values[i]);
  EXPECT_EQ(stats.GetEntry(3)->frequency, 2);
  EXPECT_EQ(stats.GetMin(), 1);
}

TEST(TextStats, FrequencySortOrdersTiesByTheExchangeLoop) {
  // Equal frequencies fall in the order the exchange loop gives, not in value order.
  TextStats stats;
  AddAll(stats, {1, 2, 3, 4, 5, 5});
  stats.SortByFrequency();
  const int expected[] = {5, 2, 3, 4, 1};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(stats.GetEntry(i)->value, expected[i]);
  }
}

TEST(TextStats, RanksAndTopSums) {
  TextStats stats;
  AddAll(stats, {5, 3, 5, 9});
  ASSERT_NE(stats.GetByRank(1), nullptr);
  EXPECT_EQ(stats.GetByRank(1)->value, 5);
  EXPECT_EQ(stats.GetByRank(0), nullptr);
  EXPECT_EQ(stats.GetByRank(4), nullptr);
  EXPECT_EQ(stats.TopFrequencySum(5), 4);
  EXPECT_EQ(stats.TopFrequencySum(1), 2);
  EXPECT_EQ(stats.TopFrequencySum(0), 0);
  TextStats empty;
  EXPECT_EQ(empty.TopFrequencySum(1), 0);
  EXPECT_EQ(empty.GetByRank(1), nullptr);
}

TEST(TextStats, Percentiles) {
  TextStats empty;
  EXPECT_EQ(empty.Percentile(99), -1);
  TextStats one;
  one.Add(42);
  one.Add(42);
  EXPECT_EQ(one.Percentile(99), 42);
  TextStats two;
  AddAll(two, {20, 10});
  two.SortByFrequency();  // the percentile sorts back by value itself
  EXPECT_EQ(two.Percentile(50), 10);
  EXPECT_EQ(two.Percentile(75), 15);
  EXPECT_EQ(two.Percentile(100), 20);
  TextStats many;
  for (int i = 1; i <= 100; ++i) many.Add(i);
  EXPECT_EQ(many.Percentile(99), 99);
}

TEST(TextStats, ReportLines) {
  TextStats stats;
  stats.Add(5, "five");
  stats.Add(3);
  stats.Add(5, "ignored");
  stats.Add(65);
  RecordingFile file;
  stats.Report(file);
  const std::vector<std::string> plain = {
      "4  values in range 3  to 65 ",
      "Rank 1 Value = 3 Frequency = 1",
      "Rank 2 Value = 5 Frequency = 2",
      "Rank 3 Value = 65 Frequency = 1",
  };
  EXPECT_EQ(file.lines, plain);

  file.lines.clear();
  stats.SortByFrequency();
  stats.ReportLabelled(file);
  const std::vector<std::string> labelled = {
      "4  values in range 3  to 65 ",
      "Rank 1 \"five \" Frequency = 2",
      "Rank 2 \"\x03 \" Frequency = 1",
      "Rank 3 \"A \" Frequency = 1",
  };
  EXPECT_EQ(file.lines, labelled);
}
