#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConsoleRun.h"
#include "support/RtfHeadings.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// How many lines of each type the list file of the analysis pass shows.
std::map<int, int> TypeCounts(const std::string& listed) {
  std::map<int, int> counts;
  std::size_t from = 0;
  while (from < listed.size()) {
    std::size_t end = listed.find('\n', from);
    if (end == std::string::npos)
      end = listed.size();
    const std::string_view line(listed.data() + from, end - from);
    from = end + 1;
    if (line.size() < 20 || line[11] != ':' || line[19] != '|')
      continue;
    const std::string type(line.substr(12, 6));
    if (type.find_first_not_of(' ') == std::string::npos)
      continue;  // untyped
    ++counts[std::stoi(type)];
  }
  return counts;
}

int CountRange(const std::map<int, int>& counts, int low, int high) {
  int n = 0;
  for (const auto& [type, count] : counts)
    n += type >= low && type <= high ? count : 0;
  return n;
}

struct Analysed {
  std::string messages;
  std::map<int, int> types;            // line types of the analysis pass
  std::vector<RtfHeading> headings;    // heading paragraphs of the RTF
};

// Heading paragraphs at level whose text begins with a section number, e.g. "3.2".
int NumberedAtLevel(const Analysed& a, int level) {
  int n = 0;
  for (const RtfHeading& heading : a.headings) {
    const std::string number = SectionNumberOf(heading);
    const bool numbered = !number.empty() && number[0] >= '0' && number[0] <= '9';
    if (numbered && heading.level == level &&
        static_cast<int>(std::count(number.begin(), number.end(), '.')) == level - 1)
      ++n;
  }
  return n;
}

Analysed Analyse(const fs::path& input, const TempFolder& dir) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  (void)RunConversion({input.string(), "/LIST", "/OUTPUT=" + (dir.path / "*.rtf").string()});
  Analysed result;
  result.messages = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  result.types = TypeCounts(ReadBytes((dir.path / (input.stem().string() + ".lis1")).string()));
  result.headings =
      HeadingParagraphs(ReadBytes((dir.path / (input.stem().string() + ".rtf")).string()));
  return result;
}

}  // namespace

// Every document of the corpus is analysed without a program error or an unsupported case,
// and its list file shows the blank lines it has.
TEST(CorpusAnalysis, EveryDocumentGetsLineTypes) {
  const fs::path corpus(KELVANE_CORPUS_DIR);
  if (!fs::is_directory(corpus))
    GTEST_SKIP() << "no corpus at " << corpus;
  TempFolder dir("corpus");
  int documents = 0;
  for (const char* folder : {"rfc", "misc"}) {
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus / folder)) {
      if (!entry.is_regular_file() || entry.path().extension() != ".txt")
        continue;
      SCOPED_TRACE(entry.path().string());
      ++documents;
      const Analysed a = Analyse(entry.path(), dir);
      EXPECT_EQ(a.messages.find("PROGRAM ERROR"), std::string::npos);
      EXPECT_EQ(a.messages.find("UNSUPPORTED CASE"), std::string::npos);
      EXPECT_GT(a.types.count(1), 0u);  // blank lines
    }
  }
  EXPECT_GT(documents, 0);
}

// The structure of two RFCs as their authors laid it out.
TEST(CorpusAnalysis, RfcHeadingsBulletsAndContentsAreFound) {
  const fs::path rfc = fs::path(KELVANE_CORPUS_DIR) / "rfc";
  if (!fs::is_directory(rfc))
    GTEST_SKIP() << "no corpus at " << rfc;
  TempFolder dir("corpus");
  {
    SCOPED_TRACE("rfc1855: contents list, numbered sections, many dash bullets");
    const Analysed a = Analyse(rfc / "rfc1855.txt", dir);
    EXPECT_GE(CountRange(a.types, 101, 101), 5);   // 1.0 to 5.0 at least
    EXPECT_GE(CountRange(a.types, 151, 156), 7);   // their contents entries
    EXPECT_GE(CountRange(a.types, 210, 210), 50);  // "-" and "o" bullets
    EXPECT_GT(CountRange(a.types, 216, 216), 50);  // their continuation lines
  }
  {
    SCOPED_TRACE("rfc2616: numbered headings to four levels");
    const Analysed a = Analyse(rfc / "rfc2616.txt", dir);
    for (int level = 101; level <= 104; ++level) {
      SCOPED_TRACE(level);
      EXPECT_GT(CountRange(a.types, level, level), 0);
    }
    EXPECT_GT(CountRange(a.types, 2, 2), 100);  // the form feeds between pages
    // The RTF has them as heading paragraphs at the level of their number: 214 sections,
    // 256 with those whose number stands in the middle of a title line.
    EXPECT_GE(NumberedAtLevel(a, 1), 19);
    EXPECT_GE(NumberedAtLevel(a, 2), 110);
    EXPECT_GE(NumberedAtLevel(a, 3), 100);
    EXPECT_GE(NumberedAtLevel(a, 4), 1);
    for (const RtfHeading& heading : a.headings) {
      SCOPED_TRACE(heading.text);
      EXPECT_EQ(heading.text.find("....."), std::string::npos);  // no contents entry
    }
  }
}

// Documents whose numbered sections were lost, or whose references or contents entries
// became headings: the heading paragraphs of the RTF, counted by level.
TEST(CorpusAnalysis, RfcSectionsBecomeHeadingParagraphs) {
  const fs::path rfc = fs::path(KELVANE_CORPUS_DIR) / "rfc";
  if (!fs::is_directory(rfc))
    GTEST_SKIP() << "no corpus at " << rfc;
  struct Case {
    const char* file;
    const char* shows;
    int atLevel[3];  // at least this many numbered headings at levels 1, 2, 3
  } const kCases[] = {
      {"rfc1035.txt", "a chapter 1 before the centred contents list", {7, 22, 33}},
      {"rfc2119.txt", "numbered definitions (no headings) before the numbered sections",
       {4, 0, 0}},
      {"rfc3261.txt", "a contents list across page breaks", {27, 110, 110}},
      {"rfc5322.txt", "appendix entries with dot leaders in the contents list", {6, 16, 26}},
      {"rfc793.txt", "a reference list with numbers in brackets", {0, 20, 0}},
  };
  TempFolder dir("corpus");
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.shows);
    const Analysed a = Analyse(rfc / c.file, dir);
    for (int level = 1; level <= 3; ++level) {
      SCOPED_TRACE(level);
      EXPECT_GE(NumberedAtLevel(a, level), c.atLevel[level - 1]);
    }
    for (const RtfHeading& heading : a.headings) {
      SCOPED_TRACE(heading.text);
      EXPECT_NE(heading.text.rfind('[', 0), 0u);  // no reference "[3] Author, ..."
    }
  }
}
