#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "support/Growth.h"
#include "tables/PreForm.h"
#include "tables/TableCell.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "text/StringList.h"

namespace {

// A region writing its table into an in-memory RTF file, with every message shown.
struct TableRun {
  explicit TableRun(int columns) : ctx(2, kOutputRtf), rtf(ctx) {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* t) { messages.emplace_back(t); });
    rtf.SetSink(&lines);
    rtf.SetBraceTracking(1);
    EXPECT_TRUE(rtf.OpenForWrite("table", 0, 0));
    form = std::make_unique<PreForm>(&rtf, &fc, nullptr, nullptr);
    auto layout = std::make_unique<TableLayout>(TextString(""));
    layout->SetColumns(columns, nullptr);
    form->SetLayout(std::move(layout));
    form->SetGenerationPolicies(std::make_unique<TableGenerationPolicies>(TextString("")));
  }

  TableLayout& Layout() { return *form->pGetLayout(); }
  TableGenerationPolicies& Generation() { return *form->pGetGenerationPolicies(); }
  void SetColumnWidths(int points) {
    for (int c = 1; c <= Layout().GetColumnCount(); ++c) Layout().GetColumn(c)->width = points;
  }

  TableCell& Add(TableCellList& list, int row, int column, const char* text, int rowSpan = 1,
                 int columnSpan = 1) {
    TableCell& cell = list.AddNew(fc, form.get(), TextPosition(row, 0));
    cell.row = row;
    cell.column = column;
    cell.rowSpan = rowSpan;
    cell.columnSpan = columnSpan;
    cell.text = text;
    return cell;
  }
  TableCell& Data(int row, int column, const char* text, int rowSpan = 1, int columnSpan = 1) {
    return Add(data, row, column, text, rowSpan, columnSpan);
  }

  // Fits and writes the table as one group, then closes it.
  void Write(int indentLevel = 0) {
    int started = 0;
    int laidOut = 0;
    form->FitTableToPage(started, indentLevel, header, data, laidOut);
    form->CloseTable();
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < lines.GetCount(); ++i) out.emplace_back(lines.GetItem(i)->text.GetText());
    return out;
  }
  std::string Report() const { return form->reportText.GetText(); }
  bool Reported(const std::string& text) const {
    return Report().find(text) != std::string::npos;
  }
  // The rows written: for each, the number of "\cellx" boundaries and of cells.
  struct RowShape {
    int boundaries = 0;
    int cells = 0;
    std::string boundaryText;
  };
  std::vector<RowShape> Rows() const {
    std::vector<RowShape> rows;
    const std::vector<std::string> all = Lines();
    for (std::size_t i = 0; i < all.size(); ++i) {
      const std::string& line = all[i];
      if (line.rfind("\\trowd", 0) == 0) {
        rows.emplace_back();
        const std::string& bounds = all[i + 1];
        rows.back().boundaryText = bounds;
        for (std::size_t at = bounds.find("\\cellx"); at != std::string::npos;
             at = bounds.find("\\cellx", at + 1))
          ++rows.back().boundaries;
        continue;
      }
      if (rows.empty()) continue;
      if (line == "\\cell" || (line.size() >= 6 && line.compare(line.size() - 6, 6, "\\cell}") == 0))
        ++rows.back().cells;
    }
    return rows;
  }

  Context ctx;
  FileControl fc;
  RTFFile rtf;
  StringList lines;
  std::vector<std::string> messages;
  std::unique_ptr<PreForm> form;
  TableCellList header;
  TableCellList data;
};

int CountOf(const std::vector<std::string>& lines, const std::string& text) {
  int n = 0;
  for (const std::string& line : lines) n += line == text ? 1 : 0;
  return n;
}

}  // namespace

// ---- Page fitting ----

TEST(TableWriterPage, WideTablesMoveTheirIndentOrTurnTheSection) {
  struct Case {
    int columnWidth;  // points; with a 10-point indent the table is 200 + 20 x this twips
    int landscapePolicy;
    const char* message;  // "" for none
    int indent;           // the table indent afterwards
    int landscape;
  };
  const Case cases[] = {
      {390, 0, "", 10, 0},                                                 // 8000 fits
      {440, 0, "WARNING: Adjusting margin to fit table", 10 - 17, 0},      // 9000
      {640, 0, "WARNING: Setting table in Landscape mode", 10, 1},         // 13000
      {765, 0, "WARNING: Switch to Landscape and adjusting margin to fit table", 10 - 56, 1},
      {840, 0, "ERROR: Table won't fit, even in Landscape.  Choose a smaller table font",
       108 - 1800, 1},                                                      // 17000
      {840, 1, "ERROR: Table won't fit, even in Landscape.  Choose a smaller table font",
       108 - 1800, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.columnWidth);
    TableRun run(1);
    run.fc.Bool(PolicyId::UseLandscapeMode).value = c.landscapePolicy;
    run.Generation().SetTableIndent(10);
    run.SetColumnWidths(c.columnWidth);
    run.Data(1, 1, "x");
    run.Write();
    if (*c.message == '\0')
      EXPECT_EQ(run.Report(), "");
    else
      EXPECT_TRUE(run.Reported(c.message)) << run.Report();
    EXPECT_EQ(run.Generation().GetTableIndent(), c.indent);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
    const std::vector<std::string> lines = run.Lines();
    // A landscape table is set in a section of its own and the page comes back after it.
    EXPECT_EQ(CountOf(lines, "\\par \\sect"), c.landscape ? 2 : 0);
    if (c.landscape) {
      EXPECT_EQ(lines[1],
                "\\sectd \\lndscpsxn\\psz9\\pgwsxn16838\\pghsxn11906\\marglsxn1800\\margrsxn1800"
                "\\margtsxn1440\\margbsxn1440\\linex0\\headery709\\footery709\\colsx709\\endnhere");
      EXPECT_EQ(lines.back(),
                "\\sectd \\pgwsxn11906\\pghsxn16838\\marglsxn1800\\margrsxn1800\\margtsxn1440"
                "\\margbsxn1440\\psz9\\linex0\\headery709\\footery709\\colsx709\\endnhere");
      EXPECT_EQ(run.form->landscape, 0);
    }
  }
}

TEST(TableWriterPage, IndentLevelSetsTheLeftEdgeAndMarginBoundsIt) {
  TableRun run(2);
  run.SetColumnWidths(100);
  run.Data(1, 1, "a");
  run.Data(1, 2, "b");
  run.Write();
  std::vector<std::string> lines = run.Lines();
  EXPECT_EQ(CountOf(lines, "\\trowd \\trgaph108\\trleft-108"), 1);

  TableRun shifted(1);
  shifted.SetColumnWidths(100);
  shifted.Generation().SetTableIndent(-200);  // further left than the margin allows
  shifted.Data(1, 1, "a");
  shifted.Write();
  EXPECT_EQ(CountOf(shifted.Lines(), "\\trowd \\trgaph108\\trleft-1692"), 1);
}

// ---- Grid ----

TEST(TableWriterGrid, SpanOfTwoByTwoMergesTheRowBelow) {
  TableRun run(3);
  run.SetColumnWidths(100);
  run.Data(1, 1, "big", 2, 2);
  run.Data(1, 3, "right");
  run.Data(2, 3, "below");
  run.Write();
  EXPECT_EQ(run.Report(), "");
  const auto rows = run.Rows();
  ASSERT_EQ(rows.size(), 2u);
  // Row 1: the big cell stands for both its columns with one boundary.
  EXPECT_EQ(rows[0].boundaries, 2);
  EXPECT_EQ(rows[0].cells, 2);
  EXPECT_EQ(rows[0].boundaryText, "\\clvmgf\\cellx3892\\cellx5892");
  // Row 2: the covered slot continues the merge and is written as a bare cell.
  EXPECT_EQ(rows[1].boundaries, 2);
  EXPECT_EQ(rows[1].cells, 2);
  EXPECT_EQ(rows[1].boundaryText, "\\clvmrg\\cellx3892\\cellx5892");
  EXPECT_EQ(CountOf(run.Lines(), "\\cell"), 1);
  EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
}

TEST(TableWriterGrid, ReportsOverlapsGapsAndLostCells) {
  {
    TableRun run(3);
    run.Data(1, 1, "a");
    run.Data(2, 3, "first");
    run.Data(2, 3, "second");
    run.Write();
    EXPECT_TRUE(run.Reported("ERROR: Data overlap at cell (2,3)"));
    // The later cell keeps the slot; the earlier one is reported, text and all.
    EXPECT_TRUE(run.Reported("PROGRAM ERROR: Failed to output cell at (2,3).\n"
                             "                Text = \"first\""));
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
  {
    TableRun run(3);
    run.Data(1, 1, "a");
    run.Data(1, 2, "b");
    run.Write();
    EXPECT_TRUE(run.Reported("WARNING: Only found data for 2 of the expected 3 columns"));
    ASSERT_EQ(run.Rows().size(), 1u);
    EXPECT_EQ(run.Rows()[0].boundaries, 3);  // the missing cell is written empty
    EXPECT_EQ(run.Rows()[0].cells, 3);
  }
  {
    TableRun run(1);
    run.Data(1, 1, "");
    run.Data(2, 1, "");
    run.Write();
    EXPECT_TRUE(run.Reported("WARNING: Empty data section detected - discarding (2 cells)"));
    EXPECT_TRUE(run.Rows().empty());
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
  {
    TableRun run(1);
    run.Data(0, 1, "early");
    run.Data(1, 1, "a");
    run.Write();
    EXPECT_TRUE(run.Reported("WARNING: Negative row numbers 0:0 will be discarded!!"));
    EXPECT_EQ(run.Rows().size(), 1u);
  }
}

TEST(TableWriterGrid, RowsOfFontTagsOnlyAreDiscarded) {
  TableRun run(2);
  run.Data(1, 1, "a");
  run.Data(1, 2, "b");
  run.Data(2, 1, "[[FONT Arial, 12]]");
  run.Data(2, 2, "[[COLOUR red]]");
  run.Data(3, 1, "c");
  run.Write();
  EXPECT_TRUE(run.Reported("INFO: Discarding empty data row No.2"));
  EXPECT_EQ(run.Rows().size(), 2u);
}

TEST(TableWriterGrid, ShortRegionsKeepTheirRowsTogether) {
  struct Case {
    int regionLines;
    int keptRows;  // rows written with \keepn
  };
  const Case cases[] = {{10, 8}, {50, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.regionLines);
    TableRun run(1);
    std::vector<std::unique_ptr<PreHTML>> regionLines;
    for (int i = 0; i < c.regionLines; ++i) {
      regionLines.push_back(std::make_unique<PreHTML>());
      run.form->AddLine(regionLines.back().get());
    }
    for (int r = 1; r <= 10; ++r) run.Data(r, 1, "v");
    run.Write();
    EXPECT_EQ(CountOf(run.Lines(), "\\keepn\\widctlpar\\intbl\\adjustright"), c.keptRows);
    EXPECT_EQ(CountOf(run.Lines(), "\\widctlpar\\intbl\\adjustright"), 10 - c.keptRows);
  }
}

// Hostile tables finish, stay balanced and allocate no more than the table needs.
TEST(TableWriterGrid, HostileTablesAreWrittenOrRefused) {
  {
    // 2,000 columns: far wider than any page.
    TableRun run(2000);
    for (int c = 1; c <= 2000; ++c) run.Data(1, c, "w");
    run.Write();
    EXPECT_TRUE(run.Reported("ERROR: Table won't fit, even in Landscape"));
    ASSERT_EQ(run.Rows().size(), 1u);
    EXPECT_EQ(run.Rows()[0].cells, 2000);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
  {
    // A span reaching far past the table is cut at its edge.
    TableRun run(2);
    run.Data(1, 1, "a");
    run.Data(2, 1, "huge", 1000000, 2000000000);
    run.Write();
    EXPECT_TRUE(run.Reported("WARNING: Span of cell at (2,1) runs past the table - cut at its edge"));
    const auto rows = run.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].boundaries, 2);
    EXPECT_EQ(rows[0].cells, 2);
    EXPECT_EQ(rows[1].boundaries, 1);
    EXPECT_EQ(rows[1].cells, 1);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
  {
    // A row number far beyond the table's rows: the grid is refused, not built.
    TableRun run(2000);
    run.Data(1, 1, "a");
    run.Data(100000000, 2, "far");
    run.Write();
    EXPECT_TRUE(run.Reported("ERROR: Table too large to write (100000000 rows of 2000 columns)"));
    EXPECT_TRUE(run.Rows().empty());
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
  {
    // A cell of 100,000 bytes is written whole.
    TableRun run(1);
    const std::string big(100000, 'x');
    run.Data(1, 1, big.c_str());
    run.Write();
    bool found = false;
    for (const std::string& line : run.Lines()) found = found || line.find(big) != std::string::npos;
    EXPECT_TRUE(found);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  }
}

// ---- Cells ----

TEST(TableWriterCells, AlignmentFollowsHeaderValueColumnAndTag) {
  TableRun run(2);
  run.Layout().GetColumn(2)->configured = 1;
  run.Layout().GetColumn(2)->alignment = 2;
  TableCell& number = run.Data(1, 1, "42");
  number.valueClass = 2;
  TableCell& overridden = run.Data(2, 1, "43");
  overridden.valueClass = 2;
  overridden.classOverride = 1;
  TableCell& tagged = run.Data(3, 1, "44");
  tagged.valueClass = 2;
  tagged.explicitAlignment = 2;
  TableCell& inColumn = run.Data(1, 2, "x");
  run.form->SetCellAlignments(run.data, 0);
  EXPECT_EQ(number.alignment, 3);
  EXPECT_EQ(overridden.alignment, 1);
  EXPECT_EQ(tagged.alignment, 2);
  EXPECT_EQ(inColumn.alignment, 2);

  run.form->numericTable = 1;
  TableCell& head = run.Add(run.header, 1, 1, "Amount");
  run.form->SetCellAlignments(run.header, 1);
  EXPECT_EQ(head.alignment, 2);

  // The written cell keeps the right alignment its value chose; a CURRENCY mark prints
  // nothing.
  number.text = "[[CURRENCY]]42";
  run.Write();
  bool right = false;
  for (const std::string& line : run.Lines()) right = right || line == "{\\fs20 \\qr 42\\cell}";
  EXPECT_TRUE(right);
}

TEST(TableWriterCells, CellWidthSumsColumnsWithTheirGaps) {
  TableRun run(3);
  run.SetColumnWidths(100);
  run.Layout().GetColumn(2)->secondWidth = 7;
  run.Layout().GetColumn(3)->secondWidth = 11;
  run.Layout().GetColumn(1)->extraWidth = 5;
  EXPECT_EQ(run.form->GetCellWidth(nullptr, 0, 1, 1), 100 - 5 + 7);  // next column's gap
  EXPECT_EQ(run.form->GetCellWidth(nullptr, 1, 1, 1), 100 + 7);      // headers keep extra
  EXPECT_EQ(run.form->GetCellWidth(nullptr, 1, 1, 2), 200 + 7 + 11);
  run.Layout().GetColumn(2)->hidden = 1;
  EXPECT_EQ(run.form->GetCellWidth(nullptr, 1, 1, 3), 200 + 11);
  TableRun empty(0);
  EXPECT_EQ(empty.form->GetCellWidth(nullptr, 0, 1, 1), 0);
}

TEST(TableWriterCells, VerticalAlignmentFollowsWhereMultiLineCellsLie) {
  struct Case {
    int inFirst;   // multi-line cells in column 1
    int elsewhere; // multi-line cells in column 2
    int code;
    int outsideFirst;
  };
  const Case cases[] = {{8, 2, 2, 1}, {6, 4, 1, 1}, {0, 0, 1, 0}, {3, 0, 2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inFirst);
    TableRun run(2);
    run.SetColumnWidths(100);
    for (int r = 1; r <= 10; ++r) {
      run.Data(r, 1, r <= c.inFirst ? "a[[BR]]b" : "a");
      run.Data(r, 2, r <= c.elsewhere ? "a[[BR]]b" : "a");
    }
    for (int i = 0; i < run.data.GetCount(); ++i) run.data.GetCell(i)->CountLineBreaks(run.ctx);
    int outside = -1;
    EXPECT_EQ(run.form->ChooseVerticalAlignment(run.data, outside), c.code);
    EXPECT_EQ(outside, c.outsideFirst);
  }
}

TEST(TableWriterCells, ColumnWidthsGrowToTheWidestWord) {
  TableRun run(2);
  run.Layout().GetColumn(1)->width = 10;  // too narrow for its word
  run.Data(1, 1, "short extraordinarily");
  run.Data(1, 2, "b");
  int laidOut = 0;
  run.form->PrepareTable(run.header, run.data, laidOut);
  EXPECT_EQ(laidOut, 1);
  const TableColumn& first = *run.Layout().GetColumn(1);
  EXPECT_STREQ(first.widestWord.GetText(), "extraordinarily");
  EXPECT_EQ(first.widestWordRow, 1);
  EXPECT_GT(first.width, 10);
  EXPECT_LT(first.width, 200);  // points, not twips
  // A column without a width is as wide as its text.
  const TableColumn& second = *run.Layout().GetColumn(2);
  EXPECT_EQ(second.width, 0);
  EXPECT_GT(second.Width(kOutputRtf), 0);
  EXPECT_LT(second.Width(kOutputRtf), first.width);
}

// ---- Filling cells and cell tags ----

TEST(TableWriterCells, AddCellLineWrapsTheDirectiveAsATag) {
  TableRun run(1);
  run.form->AddCellLine(nullptr, TextString("orphan"));
  EXPECT_TRUE(run.Reported("PROGRAM ERROR: No cell definition for \"orphan\""));

  TableCell& cell = run.Data(1, 1, "");
  run.form->AddCellLine(&cell, TextString("$_$_LINERULE 100[[EM]]"));
  EXPECT_TRUE(run.Reported("WARNING: Inline tags found on directive line"));
  // The layout pass leaves LINERULE for the output; EM becomes its dash at once.
  EXPECT_STREQ(cell.text.GetText(), "[[LINERULE 100]] --");
  EXPECT_STREQ(cell.rawText.GetText(), "[[LINERULE 100]] [[EM]]");
}

TEST(TableWriterCells, AddCellTextEscapesAndJoins) {
  TableRun run(1);
  TableCell& cell = run.Data(1, 1, "");
  run.form->AddCellText(cell, TextString("a {b}\t\t c"));
  run.form->AddCellText(cell, TextString("next[[BR]]line"));
  EXPECT_STREQ(cell.text.GetText(), "a \\'7bb\\'7d c next\\par line");
  EXPECT_EQ(cell.attributes[kCellLineBreak], 1);
}

struct CellTagCase {
  int pass;
  const char* text;
  const char* result;
  const char* message;  // expected in the report, "" for none
};

TEST(TableWriterCellTags, EachKeywordChangesTextOrCell) {
  const CellTagCase cases[] = {
      {2, "a[[BR]]b", "a\\par b", ""},
      {2, "a [[EM]] b", "a -- b", ""},
      {2, "[[WS]] x", "x", ""},
      {1, "[[WS]] x", "[[WS]] x", ""},
      {2, "1[[CURRENCY]]", "1[[CURRENCY]]", ""},
      {2, "[[CANCEL_HANG]]x", "x", ""},
      {2, "[[LINERULE]]", "{\\pard\\plain \\s1\\tqr\\intbl\\tx8280\\line {\\strike\\tab}\\par}", ""},
      {2, "[[LINERULE 100]]", "{\\pard\\plain \\s1\\tqr\\intbl\\tx2000\\line {\\strike\\tab}\\par}",
       ""},
      {2, "[[NOSUCHTAG]]x", "x", "TAG ERROR: Unrecognised tag"},
      {2, "[[BASELINE]]x", "x", "TAG ERROR: BASELINE tag is only valid inside a HEAD_CELL"},
      {2, "[[VERTICAL_ALIGNMENT 2]]x", "x",
       "TAG ERROR: VERTICAL_ALIGNMMENT tag only allowed in header cells"},
      {2, "[[STUB_INDENT 3]]x", "x",
       "TAG ERROR: STUB_INDENT tag only allowed in column 1, not at [1,2]"},
      {2, "[[QUAD X]]x", "\\par x", "TAG ERROR: Invalid QUAD tag in table cell: [[QUAD X]]"},
      // Keywords known only in cells are taken as tags there, without an unknown-tag report.
      {2, "a[[QUAD C]]b", "a\\par b", ""},
  };
  for (const CellTagCase& c : cases) {
    SCOPED_TRACE(c.text);
    TableRun run(2);
    TableCell& cell = run.Data(1, 2, "");
    PreHTML line;
    line.Assign(c.text);
    if (c.pass == 1) {
      run.form->AddCellText(cell, TextString(c.text));
      EXPECT_STREQ(cell.text.GetText(), c.result);
    } else {
      TextString text(c.text);
      EXPECT_EQ(run.form->ApplyCellTags(&cell, text, TextPosition(1, 0)), 1);
      EXPECT_STREQ(text.GetText(), c.result);
    }
    if (*c.message == '\0')
      EXPECT_EQ(run.Report(), "");
    else
      EXPECT_TRUE(run.Reported(c.message)) << run.Report();
  }
}

TEST(TableWriterCellTags, TagsSetTheCellAndTheLayout) {
  TableRun run(2);
  TableCell& cell = run.Data(1, 1, "");
  TextString text("[[VALIGN T]][[VALIGN B]][[TOCLINK No]][[DOT_LEADERS]][[NULL_CHAR]][[TU2]]x");
  (void)run.form->ApplyCellTags(&cell, text, TextPosition(1, 0));
  EXPECT_STREQ(text.GetText(), "x");
  EXPECT_TRUE(run.Reported("TAG ERROR: Duplicate VALIGN tag in table cell: [[VALIGN B]]"));
  EXPECT_EQ(cell.attributes[kCellVerticalAlignment], 2);  // the second one counts
  EXPECT_EQ(cell.attributes[kCellTocLink], 2);
  EXPECT_EQ(cell.attributes[kCellDotLeader], 1);
  EXPECT_EQ(cell.attributes[kCellNullChar], 1);
  EXPECT_EQ(cell.attributes[kCellTuMark], 2);
  EXPECT_EQ(run.Layout().dotLeadersUsed, 1);

  TextString yes("[[TOCLINK YES]]");
  (void)run.form->ApplyCellTags(&cell, yes, TextPosition(1, 0));
  EXPECT_EQ(cell.attributes[kCellTocLink], 1);
  TextString odd("[[TOCLINK maybe]]");
  (void)run.form->ApplyCellTags(&cell, odd, TextPosition(1, 0));
  ASSERT_FALSE(run.messages.empty());
  EXPECT_NE(run.messages.back().find("TAG_ERROR: Invalid TOCLINK value \"maybe\" in row 1"),
            std::string::npos);

  // Stub indents of column 1 widen its range; a second one is a warning.
  TextString stub("[[STUB_INDENT 4]][[STUB_INDENT 2]]");
  (void)run.form->ApplyCellTags(&cell, stub, TextPosition(1, 0));
  EXPECT_TRUE(run.Reported("WARNING: STUB_INDENT multiply defined"));
  EXPECT_EQ(run.Layout().GetColumn(1)->smallestStubIndent, 2);
  EXPECT_EQ(run.Layout().GetColumn(1)->largestStubIndent, 4);
  EXPECT_EQ(run.Layout().stubIndentUsed, 1);

  // The layout pass reads fonts into the layout and leaves the tag for the output.
  TableCell& fonted = run.Data(2, 1, "");
  run.form->AddCellText(fonted, TextString("[[FONT 0, Arial, 14]]big"));
  EXPECT_EQ(run.Layout().font.GetPointSize(), 14);
  EXPECT_STREQ(fonted.text.GetText(), "[[FONT 0, Arial, 14]]big");
}

// A cell of many tags is worked through to its end; replacements are not scanned again.
TEST(TableWriterCellTags, ManyTagsFinish) {
  TableRun run(1);
  TableCell& cell = run.Data(1, 1, "");
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "ab[[BR]][[WS]][[EM]]";
  TextString cellText(text.c_str());
  (void)run.form->ApplyCellTags(&cell, cellText, TextPosition(1, 0));
  EXPECT_EQ(cellText.GetLength(), 5000 * static_cast<int>(std::string("ab\\par --").size()));
}

// Tags that run in the output pass leave every written row balanced.
TEST(TableWriterCellTags, ExecutedTagsKeepTheRowsBalanced) {
  const char* texts[] = {"[[FONT 0, Arial, 14]]big", "x[[SUPER 2]]", "[[COLOUR red]]red",
                         "[[LEADING 14]]y", "{braces} \\ and [[FOLIO a]]"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    TableRun run(1);
    TableCell& cell = run.Data(1, 1, "");
    run.form->AddCellText(cell, TextString(text));
    run.Write();
    ASSERT_EQ(run.Rows().size(), 1u);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
    int depth = 0;
    for (const std::string& line : run.Lines()) {
      for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
          ++i;
          continue;
        }
        depth += line[i] == '{' ? 1 : line[i] == '}' ? -1 : 0;
        EXPECT_GE(depth, 0) << line;
      }
    }
    EXPECT_EQ(depth, 0);
  }
}

TEST(TableWriterPage, LaterGroupsShareTheTableAndTakeUnplacedText) {
  TableRun run(1);
  run.form->unplacedCell = std::make_unique<TableCell>(run.fc, run.form.get(), TextPosition(1, 0));
  run.form->unplacedCell->text = "early";
  int started = 0;
  int laidOut = 0;
  run.Data(1, 1, "first");
  run.form->FitTableToPage(started, 0, run.header, run.data, laidOut);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(run.form->unplacedCell->text.IsEmpty());  // no cell has been defined to take it
  EXPECT_FALSE(run.Reported("Moving unplaced"));

  run.form->unplacedCell->text = "late";
  TableCell& second = run.Data(1, 1, "second");
  int laidOutAgain = 0;
  run.form->FitTableToPage(started, 0, run.header, run.data, laidOutAgain);
  EXPECT_TRUE(run.Reported("INFO: Moving unplaced text to end to table"));
  (void)second;
  run.form->CloseTable();
  const auto lines = run.Lines();
  EXPECT_EQ(CountOf(lines, "{"), 3);  // the table's group and each row's cells
  EXPECT_EQ(run.Rows().size(), 2u);
  bool moved = false;
  for (const std::string& line : lines) moved = moved || line.find("second late") != std::string::npos;
  EXPECT_TRUE(moved);
  EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
}

TEST(TableWriterGridGrowth, WritingGrowsLinearlyWithColumnsAndCellLength) {
  const double growth = SixteenfoldGrowth(200, [](int n) {
    // Three rows of n columns; a cell of 50 n bytes and one spanning the second row.
    TableRun run(n);
    const std::string big(static_cast<size_t>(n) * 50, 'x');
    for (int c = 1; c <= n; ++c) run.Data(1, c, c == 1 ? big.c_str() : "w");
    run.Data(2, 1, "across", 1, n);
    for (int c = 1; c <= n; ++c) run.Data(3, c, "w");
    return TimeOf([&] { run.Write(); });
  });
  EXPECT_LT(growth, kQuadraticGrowth);
}
