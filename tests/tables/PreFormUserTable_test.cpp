#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "tables/PreForm.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "support/Growth.h"

namespace {

// A user-tagged region of the output pass written into an open RTF document: each source
// line is given as it was read; directive lines keep the type the reader gives them.
class UserTable {
 public:
  explicit UserTable(const std::vector<std::string>& source) : ctx_(2, kOutputRtf), rtf_(ctx_) {
    fc_.AttachContext(&ctx_);
    fc_.Int(PolicyId::ErrorReportingLevel).value = 10;
    rtf_.SetSink(&out_);
    ctx_.OutputPass = 1;
    ctx_.RtfPass = 1;
    ctx_.Styles.PrepareForOutput(fc_);
    rtf_.SetBraceTracking(1);
    EXPECT_EQ(rtf_.Open("doc", fc_, 0), 1);
    EXPECT_EQ(rtf_.FlushBuffer(fc_, &rtf_, 0), 1);
    first_ = out_.GetCount();
    level_ = rtf_.GetBraceLevel();
    for (const std::string& text : source) {
      auto line = std::make_unique<PreHTML>();
      line->SetText(text.c_str());
      line->SetRawCopy(TextString(text.c_str()));
      line->SetLineType(TypeOf(text));
      line->SetFlag(kFlagTableLine, true);
      line->SetStartPosition(fc_, TextPosition(static_cast<int>(lines_.size()) + 1, 0));
      line->SetEndPosition(fc_, TextPosition(static_cast<int>(lines_.size()) + 1, 0));
      lines_.push_back(std::move(line));
    }
    region_ = std::make_unique<PreForm>(&rtf_, &fc_, nullptr, lines_.front().get());
    for (auto& line : lines_) region_->AddLine(line.get());
  }

  // Processes the region as a user-tagged table and returns what it wrote.
  std::string Write() {
    region_->Process(kFormatUserTagged2);
    EXPECT_EQ(rtf_.FlushBuffer(fc_, &rtf_, 0), 1);
    std::string text;
    for (int i = first_; i < out_.GetCount(); ++i) {
      text += out_.GetItem(i)->text.GetText();
      text += '\n';
    }
    return text;
  }

  // Group braces the region opened and left open (negative: closed more than it opened).
  int BraceBalance() const { return rtf_.GetBraceLevel() - level_; }
  PreForm& Region() { return *region_; }
  std::string Report() const { return region_->reportText.GetText(); }
  bool Reported(const std::string& text) const { return Report().find(text) != std::string::npos; }
  FileControl& Fc() { return fc_; }

 private:
  static int TypeOf(const std::string& text) {
    if (text.rfind("$_$_CHANGE_POLICY", 0) == 0) return kTagChangePolicy;
    if (text.rfind("$_$_LINERULE", 0) == 0) return kTagLine;
    if (text.rfind("$_$_BEGIN_USER_TABLE", 0) == 0) return kTagBeginUserTable;
    return kTypeUntyped;
  }

  Context ctx_;
  FileControl fc_;
  RTFFile rtf_;
  StringList out_;
  int first_ = 0;
  int level_ = 0;
  std::vector<std::unique_ptr<PreHTML>> lines_;
  std::unique_ptr<PreForm> region_;
};

// One table row as written: its cell boundaries and the texts of its cells.
struct Row {
  std::string boundaries;
  std::vector<std::string> cells;
};

// The rows of the RTF text, in order. A cell's text is what stands between its opening
// codes (up to the first blank) and "\cell}"; a covered slot is an empty cell.
std::vector<Row> RowsOf(const std::string& rtf) {
  std::vector<Row> rows;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < rtf.size();) {
    const std::size_t end = rtf.find('\n', at);
    lines.push_back(rtf.substr(at, end - at));
    at = end == std::string::npos ? rtf.size() : end + 1;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.rfind("\\trowd", 0) == 0) {
      rows.push_back({i + 1 < lines.size() ? lines[i + 1] : "", {}});
      continue;
    }
    if (rows.empty()) continue;
    if (line == "\\cell") {
      rows.back().cells.emplace_back();
    } else if (line.size() > 6 && line.compare(line.size() - 6, 6, "\\cell}") == 0) {
      const std::size_t blank = line.find(' ');
      const std::size_t from = blank == std::string::npos ? 0 : blank + 1;
      rows.back().cells.push_back(line.substr(from, line.size() - 6 - from));
    }
  }
  return rows;
}

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

// Head rows, a rule row and data rows (a NEW_ROW without a kind starts a data row) make one
// table: as many columns as the widest row has cells, each cell holding the lines after
// its NEW_CELL, and the rule a cell across every column.
TEST(UserTable, RowsAndCellsFollowTheDirectives) {
  UserTable table({"$_$_BEGIN_USER_TABLE",
                   "$_$_NEW_ROW HEAD",
                   "$_$_NEW_CELL",
                   "Part",
                   "$_$_NEW_CELL",
                   "Count",
                   "$_$_NEW_ROW LINE",
                   "$_$_NEW_ROW",
                   "$_$_NEW_CELL",
                   "Hinge",
                   "$_$_NEW_CELL",
                   "12",
                   "$_$_NEW_ROW data",
                   "$_$_NEW_CELL",
                   "4",
                   "$_$_NEW_CELL",
                   "Frame of oak",
                   "with {four} legs"});
  const std::string written = table.Write();
  EXPECT_EQ(table.BraceBalance(), 0) << written;
  EXPECT_EQ(table.Region().GetColumnCount(), 2);
  const std::vector<Row> rows = RowsOf(written);
  ASSERT_EQ(rows.size(), 4u) << written;
  // The head row: its cells aligned at the bottom, as header cells are.
  ASSERT_EQ(rows[0].cells.size(), 2u) << written;
  EXPECT_TRUE(Holds(rows[0].cells[0], "Part")) << written;
  EXPECT_TRUE(Holds(rows[0].cells[1], "Count")) << written;
  EXPECT_TRUE(Holds(rows[0].boundaries, "\\clvertalb")) << written;
  // The rule: one cell over both columns.
  ASSERT_EQ(rows[1].cells.size(), 1u) << written;
  EXPECT_TRUE(Holds(rows[1].cells[0], "-------")) << written;
  EXPECT_EQ(rows[1].boundaries.find("\\cellx"), rows[1].boundaries.rfind("\\cellx")) << written;
  // The data rows; the lines of a cell stay in it, in order and escaped.
  ASSERT_EQ(rows[2].cells.size(), 2u) << written;
  EXPECT_TRUE(Holds(rows[2].cells[0], "Hinge")) << written;
  EXPECT_TRUE(Holds(rows[2].cells[1], "12")) << written;
  EXPECT_FALSE(Holds(rows[2].boundaries, "\\clvertalb")) << written;
  ASSERT_EQ(rows[3].cells.size(), 2u) << written;
  const std::string& frame = rows[3].cells[1];
  ASSERT_TRUE(Holds(frame, "Frame of oak")) << written;
  ASSERT_TRUE(Holds(frame, "with \\'7bfour\\'7d legs")) << written;
  EXPECT_LT(frame.find("Frame of oak"), frame.find("with")) << written;
  EXPECT_FALSE(Holds(written, "NEW_CELL")) << written;
  EXPECT_FALSE(Holds(written, "NEW_ROW")) << written;
  EXPECT_FALSE(Holds(table.Report(), "ERROR")) << table.Report();
}

// Each change to head rows starts a new group of rows; the groups stay in their order inside
// one table group.
TEST(UserTable, HeadRowsAfterDataStartANewGroupOfTheSameTable) {
  UserTable table({"$_$_NEW_ROW HEAD", "$_$_NEW_CELL", "First head", "$_$_NEW_ROW",
                   "$_$_NEW_CELL", "first data", "$_$_NEW_ROW HEAD", "$_$_NEW_CELL",
                   "Second head", "$_$_NEW_ROW HEAD", "$_$_NEW_CELL", "Second head more",
                   "$_$_NEW_ROW DATA", "$_$_NEW_CELL", "second data"});
  const std::string written = table.Write();
  EXPECT_EQ(table.BraceBalance(), 0) << written;
  const std::vector<Row> rows = RowsOf(written);
  ASSERT_EQ(rows.size(), 5u) << written;
  const char* texts[] = {"First head", "first data", "Second head", "Second head more",
                         "second data"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].cells.size(), 1u) << written;
    EXPECT_TRUE(Holds(rows[i].cells[0], texts[i])) << i << "\n" << written;
  }
  // One table: the table group opens once, before the first row.
  EXPECT_EQ(written.find("{\n"), written.rfind("{\n", written.find("\\trowd"))) << written;
}

// COLUMN_DETAILS widths in points whatever their unit, the alignment of the column's cells,
// and what is not a width or not a column.
TEST(UserTable, ColumnDetailsSetWidthAndAlignment) {
  UserTable table({"$_$_COLUMN_DETAILS 1,,,L,2.54cm",
                   "$_$_COLUMN_DETAILS 2,,,R,1in",
                   "$_$_COLUMN_DETAILS 3,,,C,72pt",
                   "$_$_COLUMN_DETAILS 4,,,R,wide",
                   "$_$_COLUMN_DETAILS 9,,,R,3in",
                   "$_$_NEW_ROW",
                   "$_$_NEW_CELL", "a", "$_$_NEW_CELL", "b", "$_$_NEW_CELL", "c",
                   "$_$_NEW_CELL", "d"});
  const std::string written = table.Write();
  const TableLayout& layout = *table.Region().pGetLayout();
  ASSERT_EQ(layout.GetColumnCount(), 4);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(layout.GetColumn(c)->width, 72) << c;
  EXPECT_EQ(layout.GetColumn(4)->alignment, 3);
  EXPECT_TRUE(table.Reported("TAG ERROR: Unable to read column width")) << table.Report();
  // Three columns of an inch each: boundaries one inch apart from the left edge -108.
  const std::vector<Row> rows = RowsOf(written);
  ASSERT_EQ(rows.size(), 1u) << written;
  EXPECT_TRUE(Holds(rows[0].boundaries, "\\cellx1332\\cellx2772\\cellx4212")) << written;
  ASSERT_EQ(rows[0].cells.size(), 4u) << written;
  EXPECT_FALSE(Holds(written, "\\qr a")) << written;
  EXPECT_TRUE(Holds(written, "\\qr b")) << written;
  EXPECT_TRUE(Holds(written, "\\qc c")) << written;
  EXPECT_TRUE(Holds(written, "\\qr d")) << written;
}

TEST(UserTable, WidthTextsReadAsPoints) {
  struct Case {
    const char* text;
    int read;
    int points;
  };
  const Case cases[] = {
      {"2.54cm", 1, 72}, {"1in", 1, 72},     {"1 ins", 1, 72},  {"72pt", 1, 72},
      {"12pt", 1, 12},   {"12pts", 1, 12},   {"12px", 1, 12},   {"12", 1, 12},
      {"5.08 CM", 1, 144}, {"0.5in", 1, 36}, {"0", 1, 0},       {"22in", 1, 1584},
      {"wide", 0, 0},    {"cm", 0, 0},       {"", 0, 0},        {"-1in", 0, 0},
      {"23in", 0, 0},    {"99999999999999999999pt", 0, 0},     {"1 1/2in", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int points = -7;
    EXPECT_EQ(ReadUserColumnWidth(TextString(c.text), points), c.read);
    if (c.read) {
      EXPECT_EQ(points, c.points);
    }
  }
}

// Directives out of place and text outside a cell are reported; the text is kept at the
// table's end.
TEST(UserTable, MisplacedDirectivesAndTextAreReported) {
  UserTable table({"$_$_BEGIN_USER_TABLE",
                   "Stray opening words",
                   "$_$_NEW_CELL",
                   "$_$_NEW_ROW",
                   "",
                   "Between row and cell",
                   "$_$_NEW_CELL",
                   "Kept in its cell",
                   "$_$_PARA",
                   "$_$_CHANGE_POLICY Use Landscape mode: No",
                   "$_$_NEW_ROW LINE",
                   "$_$_NEW_CELL",
                   "After a rule",
                   "$_$_NEW_ROW [[HEAD [[BR]]"});
  const std::string written = table.Write();
  EXPECT_EQ(table.BraceBalance(), 0) << written;
  const std::string report = table.Report();
  const char* messages[] = {
      "TAG ERROR: No NEW_CELL definition for \"Stray opening words\"",
      "TAG ERROR: Can't place NEW_CELL tag here",
      "TAG ERROR: No NEW_CELL definition for \"Between row and cell\"",
      "TAG ERROR: Ignoring directive in user table - $_$_PARA",
      "TAG ERROR: No NEW_CELL definition for \"After a rule\"",
      "INFO: Moving unplaced text to end to table",
  };
  for (const char* message : messages) EXPECT_TRUE(Holds(report, message)) << message << "\n" << report;
  // Two misplaced NEW_CELL lines; a blank line outside a cell is no stray text.
  EXPECT_NE(report.find("Can't place"), report.rfind("Can't place")) << report;
  EXPECT_FALSE(Holds(report, "\"\"")) << report;
  EXPECT_FALSE(Holds(report, "CHANGE_POLICY")) << report;
  // A row the tag recogniser refuses is reported once, though both passes read it.
  const std::size_t refused = report.find("Incomplete tag, or nested tag");
  EXPECT_NE(refused, std::string::npos) << report;
  EXPECT_EQ(refused, report.rfind("Incomplete tag, or nested tag")) << report;
  // Nothing is lost: the stray text follows the table's last cell.
  const std::size_t kept = written.find("Kept in its cell");
  const std::size_t stray = written.find("Stray opening words");
  ASSERT_NE(kept, std::string::npos) << written;
  ASSERT_NE(stray, std::string::npos) << written;
  EXPECT_LT(kept, stray) << written;
  EXPECT_LT(written.find("Between row and cell"), written.find("After a rule")) << written;
  EXPECT_TRUE(Holds(written, "After a rule")) << written;
}

// A region without a cell opens no table: its text is kept as pre-formatted text, and a
// region of directives alone writes nothing.
TEST(UserTable, RegionWithoutCellsOpensNoTable) {
  {
    UserTable table({"$_$_BEGIN_USER_TABLE", "Just a line of text", "$_$_NEW_ROW HEAD"});
    const std::string written = table.Write();
    EXPECT_EQ(table.BraceBalance(), 0) << written;
    EXPECT_FALSE(Holds(written, "\\trowd")) << written;
    EXPECT_TRUE(Holds(written, "Just a line of text")) << written;
  }
  {
    UserTable table({"$_$_BEGIN_USER_TABLE", "$_$_NEW_ROW", "$_$_NEW_ROW LINE"});
    const std::string written = table.Write();
    EXPECT_EQ(table.BraceBalance(), 0) << written;
    EXPECT_FALSE(Holds(written, "\\trowd")) << written;
  }
}

// LINERULE lines go to the cell they stand in; in-line tags on a directive line are warned
// about.
TEST(UserTable, LineRuleLinesJoinTheCurrentCell) {
  UserTable table({"$_$_NEW_ROW", "$_$_NEW_CELL", "Above", "$_$_LINERULE", "Below",
                   "$_$_NEW_CELL", "$_$_LINERULE [[FONT 0,Arial,12]]", "Other"});
  const std::string written = table.Write();
  EXPECT_EQ(table.BraceBalance(), 0) << written;
  const std::vector<Row> rows = RowsOf(written);
  ASSERT_EQ(rows.size(), 1u) << written;
  ASSERT_EQ(rows[0].cells.size(), 2u) << written;
  EXPECT_LT(rows[0].cells[0].find("Above"), rows[0].cells[0].find("Below")) << written;
  EXPECT_TRUE(table.Reported("WARNING: Inline tags found on directive line")) << table.Report();
  EXPECT_FALSE(table.Reported("Ignoring directive")) << table.Report();
}

// The work grows with the table, not with its square: many rows, and one cell of many lines.
TEST(UserTableGrowth, WorkGrowsWithTheTable) {
  struct Case {
    const char* name;
    bool tallCell;
  };
  for (const Case c : {Case{"rows", false}, Case{"tall cell", true}}) {
    SCOPED_TRACE(c.name);
    const double growth = SixteenfoldGrowth(200, [&](int n) {
      std::vector<std::string> source;
      if (c.tallCell) source = {"$_$_NEW_ROW", "$_$_NEW_CELL"};
      for (int i = 0; i < n; ++i) {
        if (!c.tallCell) {
          source.push_back("$_$_NEW_ROW");
          source.push_back("$_$_NEW_CELL");
        }
        source.push_back("Line " + std::to_string(i) + " of the text");
      }
      UserTable table(source);
      std::string written;
      const auto time = TimeOf([&] { written = table.Write(); });
      EXPECT_TRUE(Holds(written, "Line " + std::to_string(n - 1) + " of the text"));
      return time;
    });
    EXPECT_LT(growth, kQuadraticGrowth);
  }
}
