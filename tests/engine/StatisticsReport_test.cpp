#include "engine/StatisticsReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "policy/AnalysisStatistics.h"
#include "policy/PolicyCalculation.h"
#include "support/TestFiles.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// The lines a report writes, collected in memory.
class ReportSink {
 public:
  ReportSink() {
    file.SetSink(&lines);
    EXPECT_TRUE(file.OpenForWrite("memory", 0, 0));
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < lines.GetCount(); ++i) out.emplace_back(lines.GetItem(i)->text.GetText());
    return out;
  }
  // The lines after the first line equal to title (exclusive), up to count of them.
  std::vector<std::string> After(const std::string& title, std::size_t count) const {
    const std::vector<std::string> all = Lines();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] != title) continue;
      const std::size_t end = std::min(all.size(), i + 1 + count);
      return {all.begin() + static_cast<long>(i) + 1, all.begin() + static_cast<long>(end)};
    }
    return {};
  }

  StringList lines;
  TextFile file;
};

}  // namespace

TEST(StatisticsReport, EmptyRecordMatchesFixture) {
  AnalysisStatistics statistics;
  const std::string path = TempPath("statistics", "empty.stats");
  TextFile file;
  ASSERT_TRUE(file.OpenForWrite(path.c_str(), 0, 0));
  WriteStatistics(statistics, file);
  file.CloseAll();
  const std::string expected =
      ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/engine/statistics-empty.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadBytes(path), expected);
  std::remove(path.c_str());
}

TEST(StatisticsReport, HeadingLevelBlock) {
  AnalysisStatistics statistics;
  HeadingLevelStats& level2 = statistics.headings[1];
  level2.indents.Add(4);
  level2.indents.Add(4);
  level2.numberedParagraphCount = 3;
  statistics.underlinedHeadings[1].indents.Add(0);
  HeadingLevelStats& hanging2 = statistics.contents[1];
  hanging2.indents.Add(8);
  hanging2.kinds.Add(102);
  hanging2.secondWordCount = 1;
  hanging2.secondWords.Add(1, "Scope");
  // Level 3 has second words but no numbered paragraphs.
  statistics.headings[2].indents.Add(2);
  statistics.headings[2].secondWordCount = 2;
  statistics.headings[2].secondWords.Add(7, "Use");
  statistics.headings[2].secondWords.Add(7, "Use");

  ReportSink sink;
  WriteHeadingStatistics(statistics, statistics.headings, sink.file);
  const std::vector<std::string> expected = {
      "",
      "No headers found at level 1 ",
      "",
      "Header Indents 2 ",
      "----------------",
      "2  values in range 4  to 4 ",
      "Rank 1 Value = 4 Frequency = 2",
      "",
      "Underlined heads",
      "1  values in range 0  to 0 ",
      "Rank 1 Value = 0 Frequency = 1",
      "",
      "Hanging heads",
      "1  values in range 8  to 8 ",
      "Rank 1 Value = 8 Frequency = 1",
      "",
      "Num Second Word at level 2  = 0",
      "",
      "Num Numbered Paras at level 2  = 3 ",
      "Num Hang Second Word at level 2  = 1 ",
  };
  const std::vector<std::string> lines = sink.Lines();
  ASSERT_GE(lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i], expected[i]);
  }
  // The hanging second words follow as a labelled report, then the kinds of the level.
  const std::vector<std::string> types = sink.After("Header Types 2 ", 2);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0], "1  values in range 102  to 102 ");
  EXPECT_EQ(types[1], "Rank 1 Value = 102 Frequency = 1");

  const std::vector<std::string> level3 = sink.After("Hanging heads", 1000);
  bool sawSecondWords = false;
  for (const std::string& line : level3)
    if (line == "Num Second Word at level 3  = 2 ") sawSecondWords = true;
  EXPECT_TRUE(sawSecondWords);
  // No numbered-paragraph line at a level without them.
  for (const std::string& line : sink.Lines())
    EXPECT_EQ(line.find("Num Numbered Paras at level 3"), std::string::npos);
  EXPECT_EQ(sink.Lines().back(), "No headers found at level 6 ");
}

TEST(StatisticsReport, BulletCharsMostFrequentFirst) {
  AnalysisStatistics statistics;
  CalculationStatistics named(statistics);
  for (const char c : {'o', '-', '-', '-', '*', '-', 'o'}) named.bulletChars.Add(c);

  ReportSink sink;
  WriteStatistics(statistics, sink.file);
  const std::vector<std::string> lines = sink.After("Bullet Chars", 5);
  const std::vector<std::string> expected = {
      "------------",
      "3  values in range 42  to 111 ",
      "Rank 1  Value = - Frequency = 4 ",
      "Rank 2  Value = o Frequency = 2 ",
      "Rank 3  Value = * Frequency = 1 ",
  };
  EXPECT_EQ(lines, expected);
}

TEST(StatisticsReport, CountsLandOnTheirLabels) {
  AnalysisStatistics statistics;
  CalculationStatistics named(statistics);
  named.pairs.korean = 1;
  named.pairs.turkishChars = 9;
  named.pairs.dos = 20;
  named.pairs.total = 21;
  named.hangingParas = 5;
  named.codeLines = 6;
  named.levelZeroSections = {1, 2, 3, 4, 5, 6};
  named.numBlankLines = 7;
  named.dashInDefinitions = 3;
  named.dashInText = 4;
  named.romanBullets = 8;

  ReportSink sink;
  WriteStatistics(statistics, sink.file);
  const std::vector<std::string> pairs = sink.After("Character pairs", 22);
  ASSERT_EQ(pairs.size(), 22u);
  EXPECT_EQ(pairs[1], "Korean  : 1");
  EXPECT_EQ(pairs[2], "Thai               : 0");
  EXPECT_EQ(pairs[9], "   (chars)\t        : 9");
  EXPECT_EQ(pairs[20], "DOS                : 20");
  EXPECT_EQ(pairs[21], "Total              : 21");

  struct Expect {
    const char* title;
    std::size_t offset;
    const char* line;
  };
  const Expect expects[] = {
      {"Num Sections", 1, "Num level 0 sections : 1 2 3 4 5 6 "},
      {"Hanging Para", 1, "Hanging Para : 5"},
      {"Code lines", 1, "\"C\" Code lines : 6"},
      {"General", 3, "Num blank lines         : 7 "},
      {"General", 16, "Bullets of type (i)     : 8 "},
      {"General", 17, "Use of \"-\" in defn/text : 3 /4 "},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.line);
    const std::vector<std::string> lines = sink.After(e.title, e.offset + 1);
    ASSERT_EQ(lines.size(), e.offset + 1);
    EXPECT_EQ(lines[e.offset], e.line);
  }
}
