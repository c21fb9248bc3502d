#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "rtf/RTFFile.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "support/TestFiles.h"
#include "tables/PreForm.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"

// A region whose output collects in memory.
class TableParserTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    writer = std::make_unique<RTFFile>(ctx);
    writer->SetSink(&written);
    (void)writer->OpenForWrite("sink", 0, 0);
    region = std::make_unique<PreForm>(writer.get(), &fc, nullptr, nullptr);
    auto layout = std::make_unique<TableLayout>(TextString("test"));
    layout->minimumColumnSeparation.value = 2;
    region->SetLayout(std::move(layout));
    region->SetGenerationPolicies(std::make_unique<TableGenerationPolicies>(TextString("")));
  }

  void AddAll(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      auto line = std::make_unique<PreHTML>();
      line->SetText(text.c_str());
      line->SetEndPosition(fc, TextPosition(static_cast<int>(lines.size()) + 1, 1));
      region->AddLine(line.get());
      lines.push_back(std::move(line));
    }
  }
  // Everything written since the last call, one entry a line.
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    for (int i = 0; i < written.GetCount(); ++i)
      out.emplace_back(written.GetItem(i)->text.GetText());
    written.Clear();
    return out;
  }
  static int CountStarting(const std::vector<std::string>& out, const std::string& start) {
    int n = 0;
    for (const std::string& line : out)
      n += line.rfind(start, 0) == 0 ? 1 : 0;
    return n;
  }
  // Unescaped braces of the output: opened less closed, never below zero on the way.
  static int Balance(const std::vector<std::string>& out) {
    int depth = 0;
    for (const std::string& line : out) {
      for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
          ++i;
          continue;
        }
        depth += line[i] == '{' ? 1 : line[i] == '}' ? -1 : 0;
        if (depth < 0)
          return -1000;
      }
    }
    return depth;
  }
  bool Reported(const std::string& start) const {
    int found = -1;
    if (region->reportText.Find(0, start.c_str(), &found, 1, 0))
      return true;
    for (const std::string& m : messages)
      if (m.find(start) != std::string::npos)
        return true;
    return false;
  }
  TableGenerationPolicies& Generation() { return *region->pGetGenerationPolicies(); }

  std::unique_ptr<RTFFile> writer;
  StringList written;
  std::unique_ptr<PreForm> region;
  std::vector<std::unique_ptr<PreHTML>> lines;
};

const std::vector<std::string> kHeaderedTable = {
    "Name      Size    Kind",
    "----------------------",
    "alpha     10      file",
    "beta      20      dir",
};

TEST_F(TableParserTest, HeaderRulerAndDataLinesGiveThreeRowsWithABoldHeader) {
  AddAll(kHeaderedTable);
  region->Analyse();
  ASSERT_EQ(region->GetColumnCount(), 3);
  (void)Take();
  region->ParseTable(PreForm::kParseRtfTable);
  const std::vector<std::string> out = Take();
  EXPECT_EQ(CountStarting(out, "\\trowd "), 3);
  EXPECT_EQ(CountStarting(out, "}\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row }"), 3);
  EXPECT_EQ(Balance(out), 0);
  // The header row's cells are bold, the data rows' are not.
  int bold = 0;
  std::vector<std::string> cells;
  for (const std::string& line : out) {
    if (line.find("\\cell") != std::string::npos && line.find("\\cellx") == std::string::npos)
      cells.push_back(line);
  }
  ASSERT_EQ(cells.size(), 9u);
  for (size_t i = 0; i < cells.size(); ++i) {
    const bool isBold = cells[i].find("\\b ") != std::string::npos;
    bold += isBold ? 1 : 0;
    EXPECT_EQ(isBold, i < 3) << cells[i];
  }
  EXPECT_EQ(bold, 3);
  EXPECT_NE(cells[0].find("Name"), std::string::npos);
  EXPECT_NE(cells[3].find("alpha"), std::string::npos);
  EXPECT_NE(cells[6].find("beta"), std::string::npos);
  EXPECT_EQ(ctx.TableCounter, 1);
}

// Without separate rows, lines gather into a row until a blank line, but only while each
// line's text comes after the text gathered: a row is written cell after cell, and a line
// with text left of it would be written before the lines above it.
TEST_F(TableParserTest, DataLinesGatherIntoOneRowOnlyInTheirOrder) {
  AddAll({"alpha     one     file", "                  more", "beta      two", "          three   dir",
          "", "gamma     four    link"});
  region->Analyse();
  ASSERT_EQ(region->GetColumnCount(), 3);
  Generation().Bool(GenerationPolicyId::DataAsSeparateRows).value = 0;
  region->sparseTable = 0;
  (void)Take();
  region->ParseTable(PreForm::kParseRtfTable);
  const std::vector<std::string> out = Take();
  // alpha (with more), beta (with three), gamma.
  EXPECT_EQ(CountStarting(out, "\\trowd "), 3);
  EXPECT_EQ(Balance(out), 0);
  // The words as written, in the order of the lines they came from.
  std::string text;
  for (const std::string& line : out)
    text += line + " ";
  std::size_t at = 0;
  for (const char* word :
       {"alpha", "one", "file", "more", "beta", "two", "three", "dir", "gamma", "four"}) {
    SCOPED_TRACE(word);
    const std::size_t found = text.find(word, at);
    ASSERT_NE(found, std::string::npos) << text;
    at = found;
  }
}

TEST_F(TableParserTest, TableAlignmentChoosesTheRowOpening) {
  struct Case {
    int alignment;
    const char* opening;
  };
  const Case cases[] = {
      {0, "\\trowd \\trgaph108\\trleft"},
      {2, "\\trowd \\trqc\\trgaph108\\trleft"},
      {3, "\\trowd \\trqr\\trgaph108\\trleft"},
      {4, "\\trowd \\trqc\\trgaph108\\trleft"},
  };
  for (const Case& c : cases) {
    SetUp();
    AddAll(kHeaderedTable);
    region->Analyse();
    if (c.alignment != 0) {
      Generation().Align(GenerationPolicyId::Alignment).value = c.alignment;
      Generation().Align(GenerationPolicyId::Alignment).set = 1;
    }
    (void)Take();
    region->ParseTable(PreForm::kParseRtfTable);
    const std::vector<std::string> out = Take();
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(CountStarting(out, c.opening), 3) << c.alignment;
  }
}

TEST_F(TableParserTest, ShortTablesKeepRowsTogetherAndLongOnesDoNot) {
  for (const int n : {10, 40}) {
    SetUp();
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i)
      texts.push_back("row" + std::to_string(i) + "      " + std::to_string(i * 7) + "      x");
    AddAll(texts);
    region->Analyse();
    ASSERT_GE(region->GetColumnCount(), 2);
    (void)Take();
    region->ParseTable(PreForm::kParseRtfTable);
    const std::vector<std::string> out = Take();
    const int rows = CountStarting(out, "\\trowd ");
    EXPECT_EQ(rows, n);
    EXPECT_EQ(CountStarting(out, "\\keepn\\widctlpar\\intbl\\adjustright"), n < 40 ? n - 1 : 0);
    EXPECT_EQ(Balance(out), 0);
  }
}

TEST_F(TableParserTest, TwoColumnTextWritesHangingParagraphs) {
  AddAll({"-a        all files", "-l        long listing", "          with sizes"});
  region->Analyse();
  ASSERT_EQ(region->GetColumnCount(), 2);
  (void)Take();
  region->twoColumnText = 1;
  region->ParseTable(PreForm::kParseTwoColumn);
  const std::vector<std::string> out = Take();
  EXPECT_EQ(Balance(out), 0);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0].rfind("{", 0), 0u);
  EXPECT_NE(out[0].find("\\li"), std::string::npos);
  EXPECT_NE(out[0].find("\\fi-"), std::string::npos);
  // The continuation line joins the second cell with a blank.
  bool joined = false;
  for (const std::string& line : out)
    joined = joined || line.find("{long listing} with sizes") != std::string::npos;
  EXPECT_TRUE(joined);
  EXPECT_EQ(CountStarting(out, "\\par}"), 2);
}

TEST_F(TableParserTest, TrialKeepsTwoColumnTextOnlyWithOneLineFirstCells) {
  struct Case {
    std::vector<std::string> texts;
    int kept;
  };
  const Case cases[] = {
      {{"-a        all files", "-l        long listing", "-s        sizes"}, 1},
      // The first column gathers two lines into one row.
      {{"-a        all files", "more", "", "-l        long listing", "-s        sizes"}, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    AddAll(c.texts);
    region->ClassifyLines();
    region->CollectPositionStatistics();
    region->DetectColumns(2);
    ASSERT_EQ(region->GetColumnCount(), 2);
    region->ComputeColumnStatistics();
    region->twoColumnText = 1;
    (void)Take();
    region->TryTwoColumnText();
    EXPECT_EQ(region->twoColumnText, c.kept) << c.texts[1];
    EXPECT_TRUE(Take().empty());
    // The analysis goes on with one cell per column.
    EXPECT_EQ(region->GetRow().GetCount(), 2);
  }
}

TEST_F(TableParserTest, HeaderRulerTest) {
  struct Case {
    int lineCount;
    std::vector<int> rulers;
    int expected;
    int firstAfter;
  };
  const Case cases[] = {
      {3, {1}, 1, 1},
      {6, {1}, 1, 1},
      {6, {4}, 0, 4},
      {6, {1, 5}, 1, 1},
      {6, {1, 3}, 0, 1},
      {8, {0, 2, 7}, 1, 0},
      {9, {0, 6, 8}, 0, 0},
      // The second ruler lies too low for the direct test; it becomes the header's ruler.
      {9, {1, 4, 8}, 1, 4},
      {9, {0, 3, 7}, 1, 3},
  };
  for (const Case& c : cases) {
    SetUp();
    std::vector<std::string> texts(static_cast<size_t>(c.lineCount), "a    b");
    for (int r : c.rulers)
      texts[static_cast<size_t>(r)] = "----------------------";
    AddAll(texts);
    region->ClassifyLines();
    EXPECT_EQ(region->HeaderRulerTest(), c.expected) << c.lineCount << " " << c.rulers[0];
    EXPECT_EQ(region->firstRuler, c.firstAfter);
  }
}

TEST_F(TableParserTest, UnsupportedParseTypesWriteNothing) {
  AddAll(kHeaderedTable);
  region->Analyse();
  (void)Take();
  region->ParseTable(7);
  EXPECT_TRUE(Take().empty());
  EXPECT_TRUE(Reported("UNSUPPORTED CASE: Parse type 7"));
}

TEST_F(TableParserTest, NoWriterIsAProgramError) {
  PreForm bare(nullptr, &fc, nullptr, nullptr);
  bare.SetLayout(std::make_unique<TableLayout>(TextString("t")));
  bare.SetGenerationPolicies(std::make_unique<TableGenerationPolicies>(TextString("")));
  bare.ParseTable(PreForm::kParseRtfTable);
  int found = -1;
  EXPECT_TRUE(bare.reportText.Find(0, "PROGRAM ERROR : No RTFFile inside ParseTable", &found, 1, 0));
}

TEST_F(TableParserTest, SparseRowsWithChangedSpansAreSplitAndReported) {
  for (const int expectMultiple : {0, 1}) {
    SetUp();
    AddAll({"alpha     10      file", "a spanning text of words", "gamma     30      link"});
    region->ClassifyLines();
    region->AddColumn(0, 9, 9, 1);
    region->AddColumn(10, 17, 17, 1);
    region->AddColumn(18, 22, 22, 1);
    region->sparseTable = 1;
    region->pGetLayout()->multipleColspan.value = expectMultiple;
    Generation().Bool(GenerationPolicyId::DataAsSeparateRows).value = 0;
    (void)Take();
    region->ParseTable(PreForm::kParseRtfTable);
    const std::vector<std::string> out = Take();
    EXPECT_EQ(Reported("WARNING: Ambiguous ColSpan Creating new row at (1,0) was 1 now "),
              expectMultiple == 0);
    EXPECT_EQ(CountStarting(out, "\\trowd "), 3);
    EXPECT_EQ(Balance(out), 0);
  }
}

TEST_F(TableParserTest, HugeCellsAndManyColumnsStayBalanced) {
  // 2,000 columns of five characters and a blank, and a cell of 100,000 bytes.
  std::string wide;
  for (int k = 0; k < 2000; ++k)
    wide += "c" + std::string(4 - std::to_string(k).size(), '0') + std::to_string(k) + " ";
  const std::string big(100000, 'x');
  AddAll({wide, wide, big, "{brace}  }  {"});
  region->ClassifyLines();
  for (int k = 0; k < 2000; ++k)
    region->AddColumn(k * 6, k * 6 + 5, k * 6 + 5, 1);
  (void)Take();
  region->ParseTable(PreForm::kParseRtfTable);
  const std::vector<std::string> out = Take();
  EXPECT_EQ(Balance(out), 0);
  bool bigWritten = false;
  int cells = 0;
  for (const std::string& line : out) {
    bigWritten = bigWritten || line.find(big) != std::string::npos;
    cells += line.find("c1999") != std::string::npos ? 1 : 0;
  }
  EXPECT_TRUE(bigWritten);
  EXPECT_EQ(cells, 2);
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using TableParserGrowth = TableParserTest;

// Lines growing with n on fixed columns six characters apart: many short cells, a few long
// ones, and a line without blanks that spans every column.
TEST_F(TableParserGrowth, ParsingAndWritingGrowLinearlyWithLineLengthAndColumns) {
  struct Shape {
    const char* name;
    bool narrow;  // n / 6 columns six characters wide, else four columns n wide
    std::string (*line)(int n, int i);
  };
  const Shape shapes[] = {
      {"many short cells", true, [](int n, int) {
         std::string out;
         for (int k = 0; k < n / 6; ++k)
           out += "abcd  ";
         return out;
       }},
      {"four long cells", false, [](int n, int) {
         std::string out;
         for (int k = 0; k < 4; ++k)
           out += std::string(static_cast<size_t>(n) - 2, 'x') + "  ";
         return out;
       }},
      {"a line across every column", true, [](int n, int i) {
         if (i == 2)
           return std::string(static_cast<size_t>(n), 'x');
         std::string out;
         for (int k = 0; k < n / 6; ++k)
           out += "w" + std::to_string(k % 10) + "    ";
         return out;
       }},
  };
  const std::string output = TempPath("parse", "table.rtf");
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    const double growth = SixteenfoldGrowth(600, [&](int n) {
      // A file, as in a conversion: a sink would keep every line apart.
      RTFFile sizedWriter(ctx);
      EXPECT_TRUE(sizedWriter.OpenForWrite(output.c_str(), 0, 0));
      PreForm sized(&sizedWriter, &fc, nullptr, nullptr);
      sized.SetLayout(std::make_unique<TableLayout>(TextString("test")));
      sized.SetGenerationPolicies(std::make_unique<TableGenerationPolicies>(TextString("")));
      std::vector<std::unique_ptr<PreHTML>> kept;
      for (int i = 0; i < 4; ++i) {
        auto line = std::make_unique<PreHTML>();
        line->SetText(shape.line(n, i).c_str());
        line->SetEndPosition(fc, TextPosition(i + 1, 1));
        sized.AddLine(line.get());
        kept.push_back(std::move(line));
      }
      sized.ClassifyLines();
      const int width = shape.narrow ? 6 : n;
      const int columns = shape.narrow ? n / 6 : 4;
      for (int k = 0; k < columns; ++k)
        sized.AddColumn(k * width, k * width + width - 1, k * width + width - 1, 1);
      const auto time = TimeOf([&] { sized.ParseTable(PreForm::kParseRtfTable); });
      sizedWriter.Close();
      return time;
    });
    EXPECT_LT(growth, kQuadraticGrowth);
    EXPECT_GT(ReadBytes(output).size(), 1000u);
  }
  std::filesystem::remove(output);
}
