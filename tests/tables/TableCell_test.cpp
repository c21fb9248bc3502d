#include "tables/TableCell.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "policy/FileControl.h"

TEST(TableCell, GuessAlignmentFromBlanks) {
  struct Case {
    int width;
    const char* text;
    int numericTable;
    int keepFullWidth;
    int expected;
  };
  const Case cases[] = {
      {0, "   42", 0, 0, 3},          // a number goes right
      {0, "1,234.50", 0, 0, 3},
      {0, "1.2.3", 0, 0, 1},          // two points: not a number
      {0, "$12", 0, 0, 1},            // a currency sign only in numeric tables
      {0, "$12", 1, 0, 3},
      {0, "  word  ", 0, 0, 2},       // blanks on both sides
      {0, "word", 0, 0, 1},
      {0, "   word", 0, 0, 3},        // blanks before only
      {0, " word", 0, 0, 1},          // one blank is not enough to move it
      {10, "  word", 0, 0, 1},        // the width adds trailing blanks
      {8, "  word", 0, 0, 2},
      {0, "", 0, 0, 1},
      {0, "[[FONT x]]   42", 0, 0, 3},  // font markers do not count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\" width " + std::to_string(c.width));
    EXPECT_EQ(TableCell::GuessAlignment(c.width, c.text, c.numericTable, c.keepFullWidth),
              c.expected);
  }
}

TEST(TableCell, StripQuotesOfDelimitedData) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"\"say \"\"hi\"\" now\"", "say \"hi\" now"},
      {"\"plain\"", "plain"},
      {"\"", "\""},
      {"\"open only", "\"open only"},
      {"not \"quoted\"", "not \"quoted\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    TableCell::StripQuotes(text);
    EXPECT_STREQ(text.GetText(), c.out);
  }
}

TEST(TableCellList, KeepsOrderAndRemovesRanges) {
  FileControl fc;
  TableCellList list;
  for (int i = 0; i < 5; ++i) {
    auto cell = std::make_unique<TableCell>(fc, nullptr, TextPosition(i, 0));
    cell->text = std::to_string(i).c_str();
    list.Add(std::move(cell));
  }
  EXPECT_EQ(list.GetCell(0)->row, -1);
  EXPECT_EQ(list.GetCell(0)->rowSpan, 1);
  EXPECT_EQ(list.GetCell(0)->alignment, 1);
  list.RemoveRange(0, 2);  // the cells after 0, up to 2
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_STREQ(list.GetCell(0)->text.GetText(), "0");
  EXPECT_STREQ(list.GetCell(1)->text.GetText(), "3");
  EXPECT_STREQ(list.GetCell(2)->text.GetText(), "4");
  list.RemoveRange(1, 99);
  EXPECT_EQ(list.GetCount(), 2);
  list.MakeCells(fc, nullptr, 3);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_TRUE(list.GetCell(2)->text.IsEmpty());
  EXPECT_EQ(list.GetCell(3), nullptr);
}
