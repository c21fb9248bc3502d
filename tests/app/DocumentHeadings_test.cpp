#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ConsoleRun.h"
#include "support/RtfHeadings.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(KELVANE_FIXTURES_DIR) / "headings";

// The RTF that the console program makes of fixture with its default settings.
std::string Convert(const std::string& fixture, const TempFolder& dir) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  (void)RunConversion({(kFixtures / fixture).string(), "/OUTPUT=" + (dir.path / "*.rtf").string()});
  (void)testing::internal::GetCapturedStdout();
  (void)testing::internal::GetCapturedStderr();
  return ReadBytes((dir.path / (fs::path(fixture).stem().string() + ".rtf")).string());
}

// "level number" for each heading paragraph, e.g. "2 3.1".
std::vector<std::string> Outline(const std::string& rtf) {
  std::vector<std::string> outline;
  for (const RtfHeading& heading : HeadingParagraphs(rtf))
    outline.push_back(std::to_string(heading.level) + " " + SectionNumberOf(heading));
  return outline;
}

struct OutlineCase {
  const char* fixture;
  const char* shows;
  std::vector<std::string> outline;
};

const std::vector<std::string> kLabelsOutline = {"1 1", "1 2",   "2 2.1", "2 2.2",
                                                 "1 3", "2 3.1", "2 3.2", "1 4"};

const OutlineCase kOutlineCases[] = {
    {"numbered-sections.txt", "numbered sections alone are found without being asked for",
     kLabelsOutline},
    {"contents-page-break.txt",
     "a contents list goes on across a page break and an appendix entry; its entries are no "
     "headings and the body's are",
     {"1 1", "1 2", "2 2.1", "2 2.2", "1 3", "2 3.1", "2 3.2", "1 4", "2 Appendix"}},
    {"early-chapter-one.txt",
     "a lone chapter 1 before a centred contents list does not use up the contents list",
     {"1 2", "2 2.1", "2 2.2", "1 3", "2 3.1", "2 3.2", "1 4"}},
    {"numbered-definitions.txt",
     "a numbered definition whose text runs on is no heading, and the chapters after it are "
     "still found",
     {"1 5", "1 6", "1 7", "1 8"}},
    {"lettered-appendices.txt",
     "lettered appendices after numbered chapters are headings at the depth of their label; a "
     "lettered line out of order is not",
     {"1 1", "1 2", "2 2.1", "2 2.2", "1 3", "2 3.1", "2 3.2", "1 4", "1 Appendix", "2 A.1",
      "2 A.2", "3 A.2.1", "1 APPENDIX", "2 B.1"}},
    {"definitions-before-contents-end.txt",
     "chapters that go on after a contents list has ended are not refused as contents lines",
     {"1 6", "1 7", "1 8", "1 9"}},
    {"unnumbered-chapters.txt",
     "where the chapters are unnumbered titles under a numbered contents list, the appendices "
     "that name themselves on lines of their own are headings",
     {"1 Appendix", "1 Appendix"}},
    {"table-row-labels.txt",
     "titles in capitals are headings; the labels in capitals over a table's rows are not",
     {"2 INTRODUCTION", "2 NAMES", "2 DATES", "2 NUMBERS", "2 COLOURS", "2 READING", "2 OLDER",
      "2 SECURITY", "2 REFERENCES"}},
};

}  // namespace

// The heading paragraphs of the RTF, level and number, for documents whose structure the
// default settings must find.
TEST(DocumentHeadings, NumberedSectionsBecomeHeadingParagraphsAtTheirLevel) {
  TempFolder dir("headings");
  for (const OutlineCase& c : kOutlineCases) {
    SCOPED_TRACE(std::string(c.fixture) + ": " + c.shows);
    EXPECT_EQ(Outline(Convert(c.fixture, dir)), c.outline);
  }
}

// Each entry of a contents list, the unnumbered and lettered ones included, ends its own
// paragraph.
TEST(DocumentHeadings, ContentsEntriesStandOnLinesOfTheirOwn) {
  TempFolder dir("headings");
  const struct {
    const char* fixture;
    std::vector<const char*> entries;
  } kCases[] = {
      {"contents-page-break.txt",
       {"Introduction ....", "Names ....", "From Afar ....", "Security Considerations ....",
        "Appendix A.1. Label Samples ...."}},
      {"lettered-contents-entries.txt", {"A.  Label Samples ....", "B.  Older Labels ...."}},
  };
  for (const auto& c : kCases) {
    const std::string rtf = Convert(c.fixture, dir);
    for (const char* entry : c.entries) {
      SCOPED_TRACE(std::string(c.fixture) + ": " + entry);
      const std::size_t at = rtf.find(entry);
      ASSERT_NE(at, std::string::npos);
      const std::size_t lineEnd = rtf.find('\n', at);
      const std::string rest = rtf.substr(at, lineEnd - at);
      EXPECT_NE(rest.find("\\par"), std::string::npos) << rest;
    }
  }
}

// An underlined line that is no heading ends its paragraph: the text after it starts a new
// one.
TEST(DocumentHeadings, UnderlinedTextThatIsNoHeadingEndsItsParagraph) {
  TempFolder dir("headings");
  const std::string rtf = Convert("underlined-title.txt", dir);
  const std::string title = "A Worked Example of Reading a Label from the End of a Row";
  const std::size_t at = rtf.find(title);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(rtf.compare(at + title.size(), 4, "\\par"), 0)
      << rtf.substr(at, title.size() + 40);
  EXPECT_EQ(Outline(rtf), kLabelsOutline);
}

// The input's page ends inside its contents list: the list goes on in the RTF without a page
// break, which would follow an output page the entries had already filled.
TEST(DocumentHeadings, APageEndInsideTheContentsListBreaksNoPage) {
  TempFolder dir("headings");
  const std::string rtf = Convert("contents-page-break.txt", dir);
  const std::size_t before = rtf.find("From Near ....");
  const std::size_t after = rtf.find("From Afar ....");
  ASSERT_NE(before, std::string::npos);
  ASSERT_NE(after, std::string::npos);
  EXPECT_EQ(rtf.substr(before, after - before).find("\\page"), std::string::npos);
}
