#include "text/FontMetricTable.h"

#include <gtest/gtest.h>

namespace {

const FontMetrics& Record(int index) { return *GetFontMetricTable().GetRecord(index); }

}  // namespace

TEST(FontMetricTable, RecordsInIndexOrder) {
  const FontMetricTable& table = GetFontMetricTable();
  ASSERT_EQ(table.GetCount(), 5);
  const char* names[] = {"Times Roman", "Times Roman-Bold", "Times Roman-Italic",
                         "Times Roman-BoldItalic", "Helvetica-Bold"};
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(table.GetRecord(i), nullptr);
    EXPECT_STREQ(table.GetRecord(i)->GetName().GetText(), names[i]);
    EXPECT_EQ(table.GetRecord(i)->GetDefaultWidth(), 56);
  }
  EXPECT_EQ(table.GetRecord(-1), nullptr);
  EXPECT_EQ(table.GetRecord(5), nullptr);
}

TEST(FontMetricTable, TellingWidths) {
  struct Row {
    int code;
    int widths[5];
  };
  const Row rows[] = {
      {32, {250, 250, 250, 250, 278}},      {48, {500, 500, 500, 500, 556}},
      {65, {722, 722, 611, 667, 722}},      {87, {944, 1000, 833, 889, 944}},
      {97, {444, 500, 500, 500, 556}},      {105, {278, 278, 278, 278, 278}},
      {109, {778, 833, 722, 778, 889}},     {208, {1000, 1000, 889, 1000, 1000}},
      {10, {70, 70, 70, 70, 10}},           {13, {70, 70, 70, 70, 10}},
      {27, {70, 70, 70, 70, 10}},           {128, {0, 0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    for (int r = 0; r < 5; ++r) {
      SCOPED_TRACE(testing::Message() << "code " << row.code << " record " << r);
      EXPECT_EQ(Record(r).GetWidth(static_cast<unsigned char>(row.code)), row.widths[r]);
    }
  }
}

TEST(FontMetricTable, EveryRecordHasWidthsAtTheSame152Codes) {
  for (int r = 0; r < 5; ++r) {
    SCOPED_TRACE(r);
    int count = 0;
    for (int code = 0; code < 256; ++code) {
      const bool expected = (code >= 32 && code <= 126) || code == 10 || code == 13 ||
                            code == 27 || (code >= 161 && code <= 251 &&
                                           Record(0).GetWidth(static_cast<unsigned char>(code)));
      EXPECT_EQ(Record(r).GetWidth(static_cast<unsigned char>(code)) > 0, expected) << code;
      count += Record(r).GetWidth(static_cast<unsigned char>(code)) > 0;
    }
    EXPECT_EQ(count, 152);
  }
}

TEST(FontMetricTable, PairCountsAndOrder) {
  for (int r = 0; r < 4; ++r) EXPECT_EQ(Record(r).GetPairCount(), 173) << r;
  EXPECT_EQ(Record(4).GetPairCount(), 1162);
  for (int r = 0; r < 5; ++r) {
    const FontMetrics& record = Record(r);
    for (int i = 1; i < record.GetPairCount(); ++i)
      ASSERT_LE(record.GetPair(i - 1).key, record.GetPair(i).key) << r << " at " << i;
  }
}

TEST(FontMetricTable, TellingKerningPairs) {
  struct Pair {
    int record;
    int first;
    int second;
    int adjustment;
  };
  const Pair pairs[] = {
      {0, ' ', 'A', -55},  {0, 'A', 'V', -135}, {1, 'A', 'V', -135}, {3, 'A', 'V', -135},
      {0, 'V', 'A', -135}, {0, 'A', 'T', -111}, {0, 'T', 'o', -80},  {2, 'V', ',', -129},
      {0, 'f', 39, 55},    {0, 170, 'A', -80},  {0, 'f', 254, -50},  {0, 'A', 'B', 0},
      {4, 'A', 'C', -40},  {4, 'A', 199, -40},  {4, 'A', 'Y', -110}, {4, 'A', 221, -110},
      {4, 'z', 'e', 10},   {4, 'A', 'V', -80},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(testing::Message() << p.record << ": " << p.first << "," << p.second);
    EXPECT_EQ(Record(p.record).GetKerning(static_cast<char>(p.first),
                                          static_cast<char>(p.second)),
              p.adjustment);
  }
  int positive = 0;
  for (int i = 0; i < Record(0).GetPairCount(); ++i) positive += Record(0).GetPair(i).adjustment > 0;
  EXPECT_EQ(positive, 1);
}

TEST(FontMetrics, EveryStoredPairIsFound) {
  for (int r = 0; r < 5; ++r) {
    const FontMetrics& record = Record(r);
    for (int i = 0; i < record.GetPairCount(); ++i) {
      const int key = record.GetPair(i).key;
      const char first = static_cast<char>(key / 256);
      const char second = static_cast<char>(key % 256);
      EXPECT_NE(record.GetKerning(first, second), 0) << r << " key " << key;
    }
  }
}

TEST(FontMetrics, KeysOfHighBytesArePositive) {
  EXPECT_EQ(FontMetrics::MakeKey(static_cast<char>(170), 'A'), 43585);
  EXPECT_EQ(FontMetrics::MakeKey(static_cast<char>(255), static_cast<char>(255)), 65535);
}

TEST(FontMetrics, SmallRecordsAndRepeatedKeys) {
  FontMetrics none("none");
  EXPECT_EQ(none.GetKerning('A', 'V'), 0);
  FontMetrics one("one");
  one.AddKerningPair('A', 'V', -7);
  EXPECT_EQ(one.GetKerning('A', 'V'), -7);
  EXPECT_EQ(one.GetKerning('A', 'W'), 0);

  FontMetrics twice("twice");
  twice.AddKerningPair('B', 'B', 1);
  twice.AddKerningPair('A', 'A', -1);
  twice.AddKerningPair('A', 'A', -2);  // stored ahead of the earlier one, nothing replaced
  ASSERT_EQ(twice.GetPairCount(), 3);
  EXPECT_EQ(twice.GetPair(0).adjustment, -2);
  EXPECT_EQ(twice.GetPair(1).adjustment, -1);
  EXPECT_NE(twice.GetKerning('A', 'A'), 0);
  EXPECT_EQ(twice.GetKerning('B', 'B'), 1);
}

TEST(FontMetrics, ScaledAndPlainWidths) {
  FontMetrics metrics("m");
  metrics.SetScaledWidth(256 + 65, 10);
  EXPECT_EQ(metrics.GetWidth('A'), 70);
  metrics.SetWidth(300, 5);  // out of range: ignored
  metrics.SetWidth(66, 5);
  EXPECT_EQ(metrics.GetWidth('B'), 5);
}
