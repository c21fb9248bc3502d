#include "tables/PreForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/DefineList.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "policy/BaseDefinition.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tables/TableTags.h"
#include "text/StatementTypes.h"

// A region built from text lines, with its own layout and generation policies.
class PreFormTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    region = std::make_unique<PreForm>(nullptr, &fc, nullptr, nullptr);
    auto layout = std::make_unique<TableLayout>(TextString("test"));
    layout->minimumColumnSeparation.value = 1;
    layout->columnMergingFactor.value = 5;
    region->SetLayout(std::move(layout));
    region->SetGenerationPolicies(std::make_unique<TableGenerationPolicies>(TextString("")));
  }

  void Add(const char* text, unsigned flags = 0, int type = 0) {
    auto line = std::make_unique<PreHTML>();
    line->SetText(text);
    line->SetLineType(type);
    if (flags != 0)
      line->SetFlag(flags, true);
    line->SetEndPosition(fc, TextPosition(static_cast<int>(lines.size()) + 1, 1));
    region->AddLine(line.get());
    lines.push_back(std::move(line));
  }
  void AddAll(const std::vector<const char*>& texts) {
    for (const char* text : texts)
      Add(text);
  }
  // The texts of the template row after a raw split of line i.
  std::vector<std::string> Cells(int i) {
    region->SplitLine(region->GetRow(), i, 1);
    std::vector<std::string> out;
    for (int k = 0; k < region->GetRow().GetCount(); ++k)
      out.emplace_back(region->GetRow().GetCell(k)->text.GetText());
    return out;
  }
  std::vector<int> Boundaries() const {
    std::vector<int> out;
    for (int k = 0; k < region->GetColumnCount(); ++k)
      out.push_back(region->GetColumn(k)->boundary);
    return out;
  }
  bool Reported(const std::string& start) const {
    if (region->reportText.Find(0, start.c_str(), &found_, 1, 0))
      return true;
    for (const std::string& m : messages)
      if (m.find(start) != std::string::npos)
        return true;
    return false;
  }

  std::unique_ptr<PreForm> region;
  std::vector<std::unique_ptr<PreHTML>> lines;
  mutable int found_ = -1;
};

// ---- Adding lines ----

TEST_F(PreFormTest, AddLineKeepsRegionStatistics) {
  Add("    alpha\tbeta\tgamma");
  Add("  x\ty");
  Add("          ");                      // blank: no length, no indent, no tabs
  Add("      mail\tx", kFlagMailHeader);
  EXPECT_EQ(region->GetLineCount(), 4);
  EXPECT_EQ(region->minIndent, 2);
  EXPECT_EQ(region->minTabCount, 1);
  EXPECT_EQ(region->maxTabCount, 2);
  EXPECT_EQ(region->mailHeaderLineCount, 1);
  EXPECT_EQ(region->maxLineLength, region->GetLine(0)->workLength);
  EXPECT_EQ(region->minLineLength, region->GetLine(1)->workLength);
}

// Tabs that set a line in delimit no field: a drawing indented by tabs is no tab-delimited
// data.
TEST_F(PreFormTest, TabsThatIndentALineAreNotCountedAsDelimiters) {
  Add("\t\t\t     0 1 2 3 4 5 6 7");
  Add("\t\t\t    +-+-+-+-+-+-+-+-+");
  Add("\t \t\t    |1 0 1 0\t1 0 1 0|");
  EXPECT_EQ(region->minTabCount, 0);
  EXPECT_EQ(region->maxTabCount, 1);
}

TEST_F(PreFormTest, AddLineTakesTheFontMarkerOutOfTheRawText) {
  Add("a [[font x]] b [[font x]]");
  EXPECT_STREQ(ctx.RegionFontMarker.GetText(), "[[font x]]");
  EXPECT_STREQ(region->GetLine(0)->raw.GetText(), "a  b");
}

TEST_F(PreFormTest, RuleLinesDoNotSetTheIndent) {
  Add(" ----------------------");
  Add("      text");
  EXPECT_EQ(region->minIndent, 6);
}

// ---- Classing lines ----

TEST_F(PreFormTest, RulersNeedSixteenCharacters) {
  Add("---------------");    // 15
  Add("----------------");   // 16
  Add("---- ---- ----: |");  // blanks and separators count with the rule characters
  Add("abc-------------");   // letters spoil it
  Add("   ");
  region->ClassifyLines();
  EXPECT_EQ(region->GetLine(0)->ruler, 0);
  EXPECT_EQ(region->GetLine(1)->ruler, 1);
  EXPECT_EQ(region->GetLine(2)->ruler, 1);
  EXPECT_EQ(region->GetLine(3)->ruler, 0);
  EXPECT_EQ(region->rulerLineCount, 2);
  EXPECT_EQ(region->firstRuler, 1);
  EXPECT_EQ(region->secondRuler, 2);
  EXPECT_EQ(region->lastRuler, 2);
  EXPECT_EQ(region->trailingBlankLines, 1);
  EXPECT_EQ(region->blankLineCount, 0);
}

TEST_F(PreFormTest, LeadingAndTrailingBlanksAreNotCounted) {
  AddAll({"", "a  b", "", "c  d", "", ""});
  region->ClassifyLines();
  EXPECT_EQ(region->leadingBlankLines, 1);
  EXPECT_EQ(region->trailingBlankLines, 2);
  EXPECT_EQ(region->blankLineCount, 1);
}

TEST_F(PreFormTest, ARegionOfBlankLinesCountsThemOnce) {
  AddAll({"", " ", ""});
  region->ClassifyLines();
  EXPECT_EQ(region->leadingBlankLines, 3);
  EXPECT_EQ(region->trailingBlankLines, 0);
  EXPECT_EQ(region->blankLineCount, 0);
}

TEST_F(PreFormTest, PolicyLinesCountApart) {
  Add("Page Width: 60", 0, kTagChangePolicy);
  Add("a  b");
  region->ClassifyLines();
  EXPECT_EQ(region->policyLineCount, 1);
  EXPECT_EQ(region->GetLine(0)->blank, 0);
}

// ---- Position statistics ----

TEST_F(PreFormTest, RulersWithJunctionsWeighFive) {
  Add("-------+--------");  // 16 with a junction
  region->ClassifyLines();
  region->CollectPositionStatistics();
  const ColumnPositionStats* plus = region->GetPositionStats(7);
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->separatorCount[1], 5);
  EXPECT_EQ(region->GetPositionStats(0)->separatorCount[0], 5);

  PreForm plain(nullptr, &fc, nullptr, nullptr);
  auto line = std::make_unique<PreHTML>();
  line->SetText("----------------");
  plain.AddLine(line.get());
  plain.ClassifyLines();
  plain.CollectPositionStatistics();
  EXPECT_EQ(plain.GetPositionStats(0)->separatorCount[0], 1);
}

TEST_F(PreFormTest, ColonsInAddressesAndTimesSeparateNothing) {
  struct Case {
    const char* text;
    int colon;  // position of the ':' looked at
    int separator;
  };
  const Case cases[] = {
      {"name: value of it here", 4, 1},
      {"see ftp:file now and then", 7, 0},      // after "tp"
      {"go x://host/path now etc", 4, 0},        // before "//"
      {"at 12:30:45 the end came", 5, 0},        // hh:mm:ss, first colon
      {"at 12:30:45 the end came", 8, 0},        // second colon
      {"a | b * c + d", 2, 1},                    // '|' (position 2)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PreForm one(nullptr, &fc, nullptr, nullptr);
    auto line = std::make_unique<PreHTML>();
    line->SetText(c.text);
    one.AddLine(line.get());
    one.ClassifyLines();
    one.CollectPositionStatistics();
    ASSERT_NE(one.GetPositionStats(c.colon), nullptr);
    EXPECT_EQ(one.GetPositionStats(c.colon)->separatorCount[1], c.separator);
  }
}

TEST_F(PreFormTest, PositionsPastTheEndOfALineReadAsBlank) {
  AddAll({"abcdefgh", "ab"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  const ColumnPositionStats* p = region->GetPositionStats(5);
  EXPECT_EQ(p->blankCount[1], 1);
  EXPECT_EQ(p->blankCount[0], 1);
  EXPECT_EQ(p->samples, 2);
}

// ---- Columns ----

TEST_F(PreFormTest, GapsMakeColumns) {
  AddAll({"Name     Age   Town", "Alice    31    Leeds", "Bob      4     York",
          "Carol    27    Hull", "Dan      19    Ely", "Eve      52    Bath"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(2);
  ASSERT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(region->separatorDelimited, 0);
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"Alice", "31", "Leeds"}));
  EXPECT_EQ(Cells(2), (std::vector<std::string>{"Bob", "4", "York"}));
}

TEST_F(PreFormTest, BarsSplitCellsAndAreDropped) {
  AddAll({"one | two | three", "a   | b   | c", "xx  | yy  | zz", "p   | q   | r"});
  region->AnalyseFixedWidth();
  ASSERT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(Cells(0), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(PreFormTest, ManySeparatorRunsMakeSeparatorColumns) {
  AddAll({"|a |b |c |", "|dd|ee|ff|", "|g |h |i |"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(1);
  EXPECT_EQ(region->separatorDelimited, 1);
  EXPECT_EQ(Boundaries(), (std::vector<int>{3, 6, 9}));
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"dd", "ee", "ff"}));
}

TEST_F(PreFormTest, AWordAcrossABoundarySpansTwoColumns) {
  AddAll({"aaa  bbb  ccc", "ddd  eee  fff", "ggg  hhh  iii", "ab cdefg  xyz"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(1);
  ASSERT_EQ(region->GetColumnCount(), 3);
  region->SplitLine(region->GetRow(), 3, 1);
  const TableCellList& row = region->GetRow();
  EXPECT_STREQ(row.GetCell(0)->text.GetText(), "ab cdefg");
  EXPECT_EQ(row.GetCell(0)->columnSpan, 2);
  EXPECT_EQ(row.GetCell(1)->columnSpan, 0);  // covered
  EXPECT_STREQ(row.GetCell(2)->text.GetText(), "xyz");
  EXPECT_EQ(row.GetCell(2)->columnSpan, 1);
}

// A '-', '*', '+' or ':' at a column boundary is a table line only inside a run drawn with
// such characters; touching text it stays with the text: spanning the boundary inside a word,
// in the cell before when it ends a word, in the cell after when it starts one. '|' and rule
// runs between the columns are still dropped.
TEST_F(PreFormTest, TextAtAColumnBoundaryIsKept) {
  struct Case {
    const char* line;  // the boundary at position 8, the gap ending at 9
    std::vector<std::string> cells;
    int firstSpan;
  };
  const Case cases[] = {
      {"weight(n--);", {"weight(n--);", ""}, 2},  // inside a word: the word crosses
      {"nineteen::x", {"nineteen::x", ""}, 2},
      {"subtotal: 12", {"subtotal:", "12"}, 1},   // ends a word
      {"count+++ two", {"count+++", "two"}, 1},
      {"x       -5", {"x", "-5"}, 1},             // starts a word
      {"deref   *ptr", {"deref", "*ptr"}, 1},
      {"alpha   |-5", {"alpha", "-5"}, 1},        // in the gap after a rule
      {"alpha   | one", {"alpha", "one"}, 1},     // rules and rule runs are dropped
      {"alpha   |one|", {"alpha", "one"}, 1},
      {"total   - one", {"total", "one"}, 1},
      {"--------+-----", {"--------", "----"}, 1},
      {"=======++=====", {"=======+", "====="}, 1},
  };
  for (const Case& c : cases)
    Add(c.line);
  region->AddColumn(0, 9, 8, 0);
  region->AddColumn(10, 20, 20, -1);
  for (int k = 0; k < static_cast<int>(std::size(cases)); ++k) {
    SCOPED_TRACE(cases[k].line);
    EXPECT_EQ(Cells(k), cases[k].cells);
    EXPECT_EQ(region->GetRow().GetCell(0)->columnSpan, cases[k].firstSpan);
  }
}

// In-line tags stay in their cell and never end it, wherever the column boundaries fall.
TEST_F(PreFormTest, TagsStayInsideTheirCells) {
  AddAll({"aaaa    bb", "cccc    dd", "eeee    ff", "[[x]]a  bb", "aaa[[long tag]] bb",
          "aa]]    bb"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(2);
  ASSERT_EQ(Boundaries(), (std::vector<int>{7, 17}));  // the last ends with the longest line
  EXPECT_EQ(Cells(3), (std::vector<std::string>{"[[x]]a", "bb"}));
  EXPECT_EQ(Cells(4), (std::vector<std::string>{"aaa[[long tag]]", "bb"}));
  EXPECT_EQ(Cells(5), (std::vector<std::string>{"aa]]", "bb"}));
  Cells(5);
  const std::string unbalanced = "INFO: Unbalanced tag delimiter inside table cell :\"aa]]    bb\"";
  EXPECT_STREQ(region->reportText.GetText(), unbalanced.c_str());  // once, however often split
}

TEST_F(PreFormTest, OutputSplitsEscapeTheirCells) {
  SetPass(0, 0, 1);
  AddAll({"a{b     c}d", "efg     hij", "klm     nop"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(2);
  ASSERT_EQ(region->GetColumnCount(), 2);
  region->SplitLine(region->GetRow(), 0, 0);
  EXPECT_STREQ(region->GetRow().GetCell(0)->text.GetText(), "a\\'7bb");
  EXPECT_STREQ(region->GetRow().GetCell(1)->text.GetText(), "c\\'7dd");
  EXPECT_EQ(Cells(0), (std::vector<std::string>{"a{b", "c}d"}));  // raw splits keep the text
}

TEST_F(PreFormTest, ColumnStatisticsClassColumns) {
  AddAll({"Alice    31    ###", "Bob      4     ##", "Carol    27    ####",
          "Dan      19    #", "Eve      52"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(2);
  ASSERT_EQ(region->GetColumnCount(), 3);
  region->ComputeColumnStatistics();
  const PreFormColumn& names = *region->GetColumn(0);
  const PreFormColumn& ages = *region->GetColumn(1);
  const PreFormColumn& bars = *region->GetColumn(2);
  EXPECT_EQ(names.textLike, 1);
  EXPECT_EQ(names.isNumeric, 0);
  EXPECT_EQ(ages.isNumeric, 1);
  EXPECT_EQ(ages.alignment, 3);
  EXPECT_EQ(bars.symbolic, 1);
  EXPECT_EQ(bars.textLike, 0);
  EXPECT_EQ(bars.mostlyEmpty, 0);
  EXPECT_GT(names.width, 108);
  const PreFormLine& last = *region->GetLine(4);
  EXPECT_EQ(last.nonEmptyCells, 2);
  EXPECT_EQ(last.lastCellEmpty, 1);
  EXPECT_EQ(last.firstNonEmptyCell, 0);
}

TEST_F(PreFormTest, MergingColumns) {
  AddAll({"aa bb cc dd", "ee ff gg hh"});
  region->ClassifyLines();
  region->CollectPositionStatistics();
  region->DetectColumns(1);
  ASSERT_EQ(region->GetColumnCount(), 4);
  region->GetColumn(1)->width = 100;
  region->GetColumn(2)->width = 50;
  EXPECT_EQ(region->MergeColumns(1, 3), 0);  // the final column is not merged this way
  EXPECT_EQ(region->GetColumn(1)->spanMode, 1);
  EXPECT_EQ(region->MergeColumns(1, 2), 1);
  ASSERT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(region->GetRow().GetCount(), 3);
  EXPECT_EQ(region->GetColumn(1)->width, 150);
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"ee", "ff gg", "hh"}));
  region->MergeLastColumn();
  ASSERT_EQ(region->GetColumnCount(), 2);
  EXPECT_EQ(region->GetColumn(1)->spanMark, 1);
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"ee", "ff gg hh"}));
}

// Long values (addresses) that run on into the note column make the value column one of
// spanning cells, but it cannot merge with the final column. A round in which nothing merged
// ends the merging: were the refused merge counted as one, every round would repeat it up to
// the cap.
TEST_F(PreFormTest, ARefusedMergeEndsTheRounds) {
  AddAll({"name      value                   note",
          "alpha     1                       first",
          "beta      22                      second",
          "gamma     http://example.com/a/long/path/to/a/page",
          "delta     4                       fourth",
          "epsilon   ftp://files.example.org/pub/archive.tar.gz",
          "zeta      6                       sixth",
          "eta       7                       seventh"});
  region->AnalyseFixedWidth();
  EXPECT_FALSE(Reported("WARNING: Column merging stopped")) << region->reportText.GetText();
  EXPECT_EQ(region->GetColumnCount(), 3);
}

// A layout names where each column starts (1-based, on the lines as written): the lines are
// cut before each start, the indent that the region removes counted in.
TEST_F(PreFormTest, LayoutColumnsStartAtTheirPositions) {
  AddAll({"  Train      Platform    Destination", "  Express    North 1     Glasgow",
          "  Local      North 2     Carlisle"});
  TableLayout& layout = *region->pGetLayout();
  layout.layout.value = TextString("3,3,14,26");
  layout.layout.set = 1;
  ParseTableLayout(fc, layout, layout.layout.value);
  region->AnalyseFixedWidth();
  ASSERT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(Cells(0), (std::vector<std::string>{"Train", "Platform", "Destination"}));
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"Express", "North 1", "Glasgow"}));
  EXPECT_EQ(Cells(2), (std::vector<std::string>{"Local", "North 2", "Carlisle"}));
}

// Layout positions at or before the removed indent, or out of order, must not give columns
// of negative width or boundaries that go back.
TEST_F(PreFormTest, LayoutColumnsAreClampedAndKeptInOrder) {
  AddAll({"    aaa bbb ccc ddd", "    eee fff ggg hhh"});
  fc.Int(PolicyId::PageWidth).value = 200;
  TableLayout& layout = *region->pGetLayout();
  // Source positions 2, 0, 12, 9 and 14 on lines indented by 4.
  ParseTableLayout(fc, layout, TextString("5,2,0,12,9,14"));
  ASSERT_EQ(layout.GetColumnCount(), 5);
  layout.layout.value = TextString("5,2,0,12,9,14");
  layout.layout.set = 1;
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->fixedColumns, 1);
  const std::vector<int> b = Boundaries();
  ASSERT_EQ(b.size(), 5u);
  for (size_t k = 0; k < b.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_GE(b[k], 0);
    if (k > 0) {
      EXPECT_GE(b[k], b[k - 1]);
    }
  }
  EXPECT_EQ(b, (std::vector<int>{0, 6, 6, 8, 14}));
  EXPECT_TRUE(Reported("TAG_ERROR: TABLE_LAYOUT columns 1 and 2 overlap"));
  EXPECT_TRUE(Reported("TAG_ERROR: TABLE_LAYOUT columns 3 and 4 overlap"));
  for (int i = 0; i < region->GetLineCount(); ++i)
    Cells(i);  // splitting at such columns stays in bounds
}

// ---- Comma fields ----

TEST(ReadCsvField, ReadsQuotedAndEmptyFields) {
  struct Case {
    const char* line;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"\"x,\"\"y\"\"\"", {"x,\"y\""}},
      {"a,,b", {"a", "", "b"}},
      {" a , b ", {"a", "b"}},
      {"\"q\" ,z", {"q", "z"}},
      {",", {""}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TextString text(c.line);
    TextString field;
    std::vector<std::string> got;
    int pos = 0;
    while (ReadCsvField(pos, text, ',', field) && got.size() < 10)
      got.emplace_back(field.GetText());
    EXPECT_EQ(got, c.fields);
  }
}

// ---- Fixed-width analysis ----

TEST_F(PreFormTest, ShortRegionsUseASeparationOfTwo) {
  AddAll({"ab cd  ef", "gh ij  kl", "mn op  qr"});
  region->AnalyseFixedWidth();
  // With a separation of 1 the single blanks would split "ab cd" too.
  EXPECT_EQ(region->GetColumnCount(), 2);
}

TEST_F(PreFormTest, CodeAndMailHeadersAreNoTables) {
  fc.Bool(PolicyId::ExpectCodeSamples).value = 1;
  AddAll({"int main() {", "  int x = 0;", "  return x;", "}"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->code, 1);
  EXPECT_EQ(region->tableLike, 0);
  EXPECT_TRUE(Reported("INFO: Code sample detected"));

  PreForm mail(nullptr, &fc, nullptr, nullptr);
  std::vector<std::unique_ptr<PreHTML>> held;
  for (const char* text : {"From: a@b.c", "Date: today", "Subject: hello"}) {
    held.push_back(std::make_unique<PreHTML>());
    held.back()->SetText(text);
    held.back()->SetFlag(kFlagMailHeader, true);
    mail.AddLine(held.back().get());
  }
  mail.AnalyseFixedWidth();
  EXPECT_EQ(mail.mailHeader, 1);
  EXPECT_EQ(mail.tableLike, 0);
}

TEST_F(PreFormTest, CommonIndentIsRemovedBelowEighty) {
  AddAll({"      aa   bb", "      cc   dd"});
  region->AnalyseFixedWidth();
  EXPECT_STREQ(region->GetLine(0)->work.GetText(), "aa   bb");
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"cc", "dd"}));

  PreForm deep(nullptr, &fc, nullptr, nullptr);
  const std::string indent(80, ' ');
  std::vector<std::unique_ptr<PreHTML>> held;
  for (const char* text : {"aa   bb", "cc   dd"}) {
    held.push_back(std::make_unique<PreHTML>());
    held.back()->SetText((indent + text).c_str());
    deep.AddLine(held.back().get());
  }
  deep.AnalyseFixedWidth();
  EXPECT_EQ(deep.GetLine(0)->work.GetLength(), 87);
}

TEST_F(PreFormTest, IndentedTextBecomesATextBlock) {
  fc.Int(PolicyId::PageWidth).value = 72;
  AddAll({"                    This paragraph is set well to the right",
          "                    and it keeps going on the next line too"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->textBlock, 1);
  EXPECT_EQ(region->tableLike, 0);
  ASSERT_EQ(region->GetColumnCount(), 2);
  EXPECT_EQ(region->GetColumn(0)->alwaysEmpty, 1);
  EXPECT_EQ(region->minIndent, 0);
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"", "and it keeps going on the next line too"}));
}

TEST_F(PreFormTest, DiagramsAreFoundBySymbolColumns) {
  fc.Bool(PolicyId::LookForDiagrams).value = 1;
  AddAll({"+-----+     +-----+", "| A   |---->| B   |", "+-----+     +-----+",
          "   |           |", "   v           v", "+-----+     +-----+", "| C   |<----| D   |",
          "+-----+     +-----+"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->diagram, 1);
  EXPECT_EQ(region->tableLike, 0);
}

TEST_F(PreFormTest, ATableStaysATable) {
  fc.Bool(PolicyId::LookForDiagrams).value = 1;
  AddAll({"Name     Age   Town", "Alice    31    Leeds", "Bob      4     York",
          "Carol    27    Hull", "Dan      19    Ely"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->tableLike, 1);
  EXPECT_EQ(region->diagram, 0);
  EXPECT_EQ(region->GetColumnCount(), 3);
}

TEST_F(PreFormTest, ASeparationOfOneGrowsToTwoWhenWordsFallApart) {
  AddAll({"New York      12   ab", "Old Bath      4    cd", "Low Moor      27   ef",
          "Far End       19   gh", "Red Hill      52   ij", "Ash Vale      8    kl"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(Cells(0), (std::vector<std::string>{"New York", "12", "ab"}));
  EXPECT_TRUE(Reported("INFO: Increasing min column separation in table to 2 spaces."
                       " Changes No. Cols from 4 to 3"));
  EXPECT_EQ(region->reportLevel, 10);
}

TEST_F(PreFormTest, ManySpanningCellsMakeAMalformedTable) {
  fc.Bool(PolicyId::LookForDiagrams).value = 1;
  region->pGetLayout()->columnMergingFactor.value = 2;  // no merging of spanned columns
  AddAll({"aa  bb  cc  dd", "a long line of text", "ee  ff  gg  hh", "another line of words",
          "ii  jj  kk  ll", "yet more words go here"});
  region->AnalyseFixedWidth();
  EXPECT_TRUE(Reported("WARNING: Mal-formed table"));
  EXPECT_EQ(region->diagram, 1);
  EXPECT_EQ(region->tableLike, 0);
}

TEST_F(PreFormTest, BlankLinesBetweenRowsMakeASparseTable) {
  region->pGetLayout()->blankLineSeparated.value = 1;
  AddAll({"one    1", "", "two    2", "", "three  3", "four   4"});
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->sparseTable, 1);

  PreForm dense(nullptr, &fc, nullptr, nullptr);
  auto layout = std::make_unique<TableLayout>(TextString("dense"));
  layout->blankLineSeparated.value = 1;
  dense.SetLayout(std::move(layout));
  PreHTML line;
  for (const char* text : {"one    1", "two    2", "three  3", "four   4"}) {
    line.SetText(text);
    dense.AddLine(&line);
  }
  dense.AnalyseFixedWidth();
  EXPECT_EQ(dense.sparseTable, 0);
}

// ---- Delimited data ----

TEST_F(PreFormTest, DelimitedDataHasAColumnPerField) {
  region->delimited = 1;
  region->delimiter = ',';
  AddAll({"a,b", "\"c,d\",e,f", "g"});
  region->Analyse();
  EXPECT_EQ(region->GetColumnCount(), 3);
  EXPECT_EQ(Cells(1), (std::vector<std::string>{"c,d", "e", "f"}));
  EXPECT_EQ(Cells(2), (std::vector<std::string>{"g", "", ""}));
}

// ---- Definitions ----

TEST_F(PreFormTest, TableDataDefinitionsCaptureCells) {
  auto definition = std::make_unique<TableDataDefinition>(TextString("price"));
  definition->row = 3;
  definition->column = 2;
  TableDataDefinition* kept = definition.get();
  region->pGetLayout()->AddDefinition(std::move(definition));
  SetPass(0, 0, 1);
  region->OfferCellValue(3, 0, 0, TextString("first"));
  region->OfferCellValue(2, 1, 0, TextString("wrong line"));
  region->OfferCellValue(3, 1, 0, TextString("12.50"));
  EXPECT_STREQ(kept->cellText.GetText(), "12.50");
  EXPECT_EQ(ctx.CodeLocation, kLocationOutput);
  ASSERT_EQ(ctx.Defines.GetCount(), 1);
  EXPECT_STREQ(ctx.Defines.GetEntry(0)->name.GetText(), "price");
  EXPECT_STREQ(ctx.Defines.GetEntry(0)->value.GetText(), "12.50");
}

TEST_F(PreFormTest, BarchartColumnsCollectTheirRange) {
  ColumnFormat& format = region->pGetGenerationPolicies()->AddColumn();
  format.hasBarchart = 1;
  region->OfferCellValue(1, 0, 0, TextString("12"));
  const int numberLabel = format.widestLabel;
  region->OfferCellValue(2, 0, 0, TextString(" 3.5 "));
  region->OfferCellValue(3, 0, 0, TextString("a much longer word<BR>"));
  region->OfferCellValue(0, 0, 1, TextString("999"));  // header cells do not count
  EXPECT_EQ(format.lowestSet, 1);
  EXPECT_DOUBLE_EQ(format.lowestValue, 3.5);
  EXPECT_DOUBLE_EQ(format.highestValue, 12.0);
  EXPECT_GT(format.widestLabel, numberLabel);
}

TEST_F(PreFormTest, MissingDefinitionsAreReported) {
  region->pGetGenerationPolicies()->AddColumn().formatName = TextString("nosuch");
  region->UseDefinitions();
  EXPECT_TRUE(Reported("TAG ERROR: Failed to locate column format definition \"nosuch\""));
  region->reportText.SetEmpty();
  region->UseDefinitions();  // once per region
  EXPECT_TRUE(region->reportText.IsEmpty());
}

// ---- Size ----

// A region is analysed as a whole when it ends; the analysis must stay linear in its lines.
static void FillTable(PreForm& region, int n) {
  PreHTML line;  // the region keeps copies
  for (int i = 0; i < n; ++i) {
    const std::string text = "row" + std::to_string(i % 100000) + "    " +
                             std::to_string(i * 7 % 1000) + "    text " + std::to_string(i % 13);
    line.SetText(text.c_str());
    region.AddLine(&line);
  }
}

TEST_F(PreFormTest, AHundredThousandLinesAreAnalysed) {
  FillTable(*region, 100000);
  region->AnalyseFixedWidth();
  EXPECT_EQ(region->GetLineCount(), 100000);
  EXPECT_GE(region->GetColumnCount(), 3);
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using PreFormGrowth = PreFormTest;

TEST_F(PreFormGrowth, AnalysisGrowsLinearly) {
  const double growth = SixteenfoldGrowth(500, [&](int n) {
    PreForm sized(nullptr, &fc, nullptr, nullptr);
    FillTable(sized, n);
    return TimeOf([&] { sized.AnalyseFixedWidth(); });
  });
  EXPECT_LT(growth, kQuadraticGrowth);
}

// ---- Long lines and many columns ----

// Regions whose lines grow with n: in the length of their cells, in the number of their
// columns, and both at once with a line that crosses every column.
struct RegionShape {
  const char* name;
  std::vector<std::string> (*lines)(int n);
};

static std::string Repeated(int count, const std::string& piece) {
  std::string out;
  for (int k = 0; k < count; ++k)
    out += piece;
  return out;
}

const RegionShape kWideRegions[] = {
    {"four columns of long cells",
     [](int n) {
       const std::string cell(static_cast<size_t>(n), 'x');
       return std::vector<std::string>(6, Repeated(4, cell + "    "));
     }},
    {"aligned columns of short words",
     [](int n) { return std::vector<std::string>(6, Repeated(n / 6, "abcd  ")); }},
    {"ragged words over a line without blanks",
     [](int n) {
       // Short words after runs of one to three blanks; the third line, one long word,
       // spans every column found.
       std::string words;
       for (int k = 0; k < n / 3; ++k)
         words += std::string(1, static_cast<char>('a' + k % 26)) +
                  std::string(static_cast<size_t>(1 + k % 3), ' ');
       return std::vector<std::string>{words, words, std::string(static_cast<size_t>(n) * 50, 'x')};
     }},
};

TEST_F(PreFormGrowth, AnalysisGrowsLinearlyWithLineLengthAndColumns) {
  for (const RegionShape& shape : kWideRegions) {
    SCOPED_TRACE(shape.name);
    const double growth = SixteenfoldGrowth(600, [&](int n) {
      PreForm sized(nullptr, &fc, nullptr, nullptr);
      PreHTML line;
      for (const std::string& text : shape.lines(n)) {
        line.SetText(text.c_str());
        sized.AddLine(&line);
      }
      return TimeOf([&] { sized.Analyse(); });
    });
    EXPECT_LT(growth, kQuadraticGrowth);
  }
}
