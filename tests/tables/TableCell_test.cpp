#include "tables/TableCell.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"

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

// ---- Measurements ----

class TableCellMeasure : public ContextFixture {
 protected:
  TableCell& Cell(const char* text) {
    cell_ = std::make_unique<TableCell>(fc, nullptr, TextPosition(0, 0));
    cell_->text = text;
    return *cell_;
  }
  std::unique_ptr<TableCell> cell_;
};

TEST_F(TableCellMeasure, CountsNonEmptyPiecesAfterBreakTags) {
  struct Case {
    const char* text;
    int breaks;
  };
  const Case cases[] = {
      {"a[[BR]]b[[BR]]c", 2},
      {"a[[br]]b", 1},           // case ignored
      {"a[[PARA]]b", 1},
      {"a[[BR]]", 0},            // nothing follows
      {"a[[BR]]  [[BR]]b", 1},   // a blank piece is no line
      {"a\\par b\\par c", 2},     // the output's own breaks, as the cell tags leave them
      {"[[BR]]a", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TableCell& cell = Cell(c.text);
    cell.CountLineBreaks(ctx);
    EXPECT_EQ(cell.lineBreaks, c.breaks);
  }
}

TEST_F(TableCellMeasure, MeasuresTheWidestLineWithoutTags) {
  TableCell& cell = Cell("short[[BR]][[FONT Arial]]a much longer line\\par mid one");
  TextString widest;
  const int width = cell.MeasureCellWidth(fc, ctx, widest);
  EXPECT_STREQ(widest.GetText(), "a much longer line");
  EXPECT_EQ(width, MeasureTableText(fc, ctx, cell.font, TextString("a much longer line")));
  EXPECT_GT(width, MeasureTableText(fc, ctx, cell.font, TextString("mid one")));

  // Lines past the counted breaks still count.
  TableCell& more = Cell("a\\par b\\par a much longer line");
  more.lineBreaks = 0;
  more.MeasureCellWidth(fc, ctx, widest);
  EXPECT_STREQ(widest.GetText(), "a much longer line");
}

TEST_F(TableCellMeasure, TableFontPolicyWidensTheMeasure) {
  TableCell& cell = Cell("some words here");
  TextString widest;
  const int plain = cell.MeasureCellWidth(fc, ctx, widest);
  TextString line("Table font: Arial, Bold, 24");
  int category = 0;
  ASSERT_EQ(fc.LoadPolicyLine(line, category, 0), FileControl::kPolicyLineDone);
  EXPECT_GT(cell.MeasureCellWidth(fc, ctx, widest), plain);
}

TEST_F(TableCellMeasure, EmptyWhenOnlyFontAndSpacingTagsRemain) {
  struct Case {
    const char* text;
    bool empty;
  };
  const Case cases[] = {
      {"", true},
      {"   ", true},
      {"[[FONT Arial, 12]] [[COLOUR red]]", true},
      {"[[LEADING 14]][[WS]][[EXTRA_LEADING 2]][[FOLIO x]][[COLOR blue]]", true},
      {"[[FONT Arial]]x", false},
      {"[[SUPER 2]]", false},
      {"0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Cell(c.text).IsEmpty(fc, ctx, 6), c.empty);
  }
  TableCell& levelled = Cell("");
  levelled.level = 6;
  EXPECT_FALSE(levelled.IsEmpty(fc, ctx, 6));
  levelled.level = 5;
  EXPECT_TRUE(levelled.IsEmpty(fc, ctx, 6));
  levelled.attributes[kCellTuMark] = 1;  // a leader line shows without text
  EXPECT_FALSE(levelled.IsEmpty(fc, ctx, 6));
  TableCell& prefixed = Cell("");
  prefixed.prefixText = "1.";
  EXPECT_FALSE(prefixed.IsEmpty(fc, ctx, 6));
}

TEST_F(TableCellMeasure, MergesLinesSideBySide) {
  struct Case {
    const char* mine;
    const char* theirs;
    const char* merged;
  };
  const Case cases[] = {
      {"a\\par b", "1\\par 2", "a 1\\par b 2"},
      {"a\\par b\\par c", "1", "a 1\\par b \\par c "},
      {"a", "1\\par 2", "a 1"},  // this cell's lines decide the count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mine);
    TableCell& cell = Cell(c.mine);
    TableCell other(fc, nullptr, TextPosition(0, 0));
    other.text = c.theirs;
    cell.MergeLinesFrom(ctx, &other);
    EXPECT_STREQ(cell.text.GetText(), c.merged);
    EXPECT_TRUE(other.text.IsEmpty());
  }
  TableCell& alone = Cell("x");
  alone.MergeLinesFrom(ctx, nullptr);
  EXPECT_STREQ(alone.text.GetText(), "x");
}

TEST_F(TableCellMeasure, EstimatesLinesFromBreaksCharactersOrWidth) {
  TableCell& broken = Cell("one[[BR]]two[[BR]]three");
  broken.CountLineBreaks(ctx);
  EXPECT_EQ(broken.EstimateLines(fc, ctx, 3, 0, 1, 0), 3);

  // Without a width: 20 characters a line in column 1, at most a line per word.
  TableCell& first = Cell("aaaa bbbb cccc dddd eeee ffff gggg hhhh");  // 39 characters
  first.column = 1;
  EXPECT_EQ(first.EstimateLines(fc, ctx, 3, 0, 0, 0), 2);
  TableCell& oneWord = Cell("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
  oneWord.column = 1;
  EXPECT_EQ(oneWord.EstimateLines(fc, ctx, 3, 0, 0, 0), 2);

  // With a width: a short text fits one line, a long one wraps.
  TableCell& shortText = Cell("fits");
  EXPECT_EQ(shortText.EstimateLines(fc, ctx, 2, 100, 0, 10), 1);
  TableCell& longText = Cell("the quick brown fox jumps over the lazy dog again and again");
  const int lines = longText.EstimateLines(fc, ctx, 2, 60, 0, 10);
  EXPECT_GE(lines, 3);
  EXPECT_LE(lines, 12);
}

// Hostile cells: one of 100,000 bytes and one of many break tags are measured in full.
TEST_F(TableCellMeasure, HugeCellsAreMeasuredToTheEnd) {
  std::string big(100000, 'x');
  big[50000] = ' ';
  TableCell& cell = Cell(big.c_str());
  TextString widest;
  EXPECT_GT(cell.MeasureCellWidth(fc, ctx, widest), 0);
  EXPECT_EQ(widest.GetLength(), 100000);
  EXPECT_GE(cell.EstimateLines(fc, ctx, 2, 100, 0, 10), 2);

  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += "ab[[BR]]";
  TableCell& many = Cell(lines.c_str());
  many.CountLineBreaks(ctx);
  EXPECT_EQ(many.lineBreaks, 19999);
  EXPECT_EQ(many.EstimateLines(fc, ctx, 2, 100, 1, 10), 20000);
}

TEST(TableCellListGrowth, AddingCellsGrowsLinearly) {
  FileControl fc;
  auto add = [&fc](int n) {
    TableCellList list;
    return TimeOf([&] {
      for (int i = 0; i < n; ++i)
        list.Add(std::make_unique<TableCell>(fc, nullptr, TextPosition(i, 0)));
    });
  };
  EXPECT_LT(SixteenfoldGrowth(2000, add), kQuadraticGrowth);
}
