// The structure Kelvane finds in real documents, as a user sees it in LibreOffice: every corpus
// RFC is converted with default settings, each RTF opened in LibreOffice (headless, saved as
// flat OpenDocument text), and its heading paragraphs and contents list compared with the
// input's own.
//
// The reference (see StructureEvaluation.h): the numbered section headings at column 0 outside
// the contents list, with the depth of their number as level. The columns of the table:
//   refs     numbered section headings of the input
//   @level   of them, found as heading paragraphs at the level of their depth (the outline
//            level LibreOffice gives the paragraph; its "Heading N" style when it gives none)
//   wrong    found as heading paragraphs at another level
//   missing  not found as heading paragraphs
//   heads    heading paragraphs in the output
//   other    heading paragraphs that are no reference heading but a heading of the input all
//            the same: an unnumbered title at column 0 alone on its line ("Abstract"), a
//            numbered heading set in from the margin or centred, a centred title line, a
//            short title set in from the margin over its section's text set in further
//            ("    LISTEN STATE" over "      If active ...")
//   false    heading paragraphs that are neither: table rows, diagram lines, list items,
//            contents entries, prose
//   nooutl   heading paragraphs that LibreOffice holds without an outline level (they keep
//            their "Heading N" style but stay out of the navigator and of generated indexes)
//   toc      contents entries of the input (lines of the contents list that end in a page
//            number, and first lines of entries run over several lines)
//   own%     of them, those that begin a paragraph or a line of one, not merged into prose
// The test fails where a document misses a target of kTargets. With
// KELVANE_STRUCTURE_REPORT_ONLY set it prints the table without failing;
// KELVANE_STRUCTURE_DETAIL prints each document's reference headings, contents entries and
// heading paragraphs (R reference, O other, F false); KELVANE_STRUCTURE_DOCUMENTS
// ("rfc2616,rfc791") limits the run to those documents; KELVANE_STRUCTURE_POLICY names a
// policy file to convert with in place of the default settings.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "structure/StructureEvaluation.h"
#include "support/Kvlcons.h"
#include "support/Soffice.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(KELVANE_CORPUS_DIR);

enum class Measure { FoundAtLevel, FalseHeadings, ContentsOnOwnLine, WithOutlineLevel };

// A target a document must meet. It applies to documents with at least minCount items of
// what it measures (reference headings, heading paragraphs, contents entries).
struct Target {
  const char* name;
  Measure measure;
  bool atLeast;  // the percentage must reach percent; otherwise stay below it
  int percent;
  int minCount;
};

constexpr Target kTargets[] = {
    {"numbered headings found at their level", Measure::FoundAtLevel, true, 95, 5},
    {"false headings among heading paragraphs", Measure::FalseHeadings, false, 5, 1},
    {"contents entries that begin a line", Measure::ContentsOnOwnLine, true, 100, 1},
    {"heading paragraphs with an outline level", Measure::WithOutlineLevel, true, 100, 1},
};

// The links of a flat ODT that jump inside the document ("#name"), and how many of them name a
// bookmark the document does not hold.
struct InDocumentJumps {
  int links = 0;
  int withoutBookmark = 0;
  std::string firstWithout;
};

InDocumentJumps CountInDocumentJumps(const std::string& fodt) {
  std::set<std::string> bookmarks;
  const std::string bookmarkName = "text:name=\"";
  for (const char* element : {"<text:bookmark ", "<text:bookmark-start "}) {
    for (std::size_t at = fodt.find(element); at != std::string::npos;
         at = fodt.find(element, at + 1)) {
      const std::size_t name = fodt.find(bookmarkName, at);
      const std::size_t close = fodt.find('>', at);
      if (name == std::string::npos || name > close)
        continue;
      const std::size_t from = name + bookmarkName.size();
      bookmarks.insert(fodt.substr(from, fodt.find('"', from) - from));
    }
  }
  InDocumentJumps jumps;
  const std::string href = "xlink:href=\"#";
  for (std::size_t at = fodt.find(href); at != std::string::npos; at = fodt.find(href, at + 1)) {
    const std::size_t from = at + href.size();
    const std::string target = fodt.substr(from, fodt.find('"', from) - from);
    ++jumps.links;
    if (bookmarks.count(target) == 0 && ++jumps.withoutBookmark == 1)
      jumps.firstWithout = target;
  }
  return jumps;
}

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' && std::string(value) != "0";
}

double Percent(int part, int whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

// The count a target applies to and the percentage it measures.
std::pair<int, double> Measured(const StructureScore& s, Measure measure) {
  switch (measure) {
    case Measure::FoundAtLevel:
      return {s.references, Percent(s.foundAtLevel, s.references)};
    case Measure::FalseHeadings:
      return {s.headingParagraphs, Percent(s.falseHeadings, s.headingParagraphs)};
    case Measure::ContentsOnOwnLine:
      return {s.contentsEntries, Percent(s.contentsOnOwnLine, s.contentsEntries)};
    case Measure::WithOutlineLevel:
      return {s.headingParagraphs,
              Percent(s.headingParagraphs - s.withoutOutline, s.headingParagraphs)};
  }
  return {0, 0.0};
}

// The texts behind a measure, for the failure message.
const std::vector<std::string>& Examples(const StructureScore& s, Measure measure) {
  switch (measure) {
    case Measure::FoundAtLevel:
      return s.missingTexts.empty() ? s.wrongLevelTexts : s.missingTexts;
    case Measure::FalseHeadings:
      return s.falseTexts;
    case Measure::ContentsOnOwnLine:
      return s.mergedContentsTexts;
    case Measure::WithOutlineLevel:
      return s.withoutOutlineTexts;
  }
  return s.falseTexts;
}

std::string Row(const std::string& name, const StructureScore& s) {
  char row[200];
  std::snprintf(row, sizeof row,
                "%-9s %5d %6d %5d %7d %5d %5d %5d %6d %5d  %5.1f%% %5.1f%% %5.1f%%",
                name.c_str(), s.references, s.foundAtLevel, s.wrongLevel, s.missing,
                s.headingParagraphs, s.otherHeadings, s.falseHeadings, s.withoutOutline,
                s.contentsEntries, Percent(s.foundAtLevel, s.references),
                Percent(s.falseHeadings, s.headingParagraphs),
                Percent(s.contentsOnOwnLine, s.contentsEntries));
  return row;
}

std::vector<fs::path> CorpusRfcs() {
  std::vector<std::string> only;
  if (const char* names = std::getenv("KELVANE_STRUCTURE_DOCUMENTS")) {
    std::string list = names;
    for (std::size_t from = 0; from <= list.size();) {
      const std::size_t end = std::min(list.find(',', from), list.size());
      if (end > from)
        only.push_back(list.substr(from, end - from));
      from = end + 1;
    }
  }
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(kCorpus / "rfc")) {
    const fs::path& path = entry.path();
    if (path.extension() != ".txt")
      continue;
    if (!only.empty() && std::find(only.begin(), only.end(), path.stem().string()) == only.end())
      continue;
    inputs.push_back(path);
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

void PrintDetail(const std::string& name, const InputStructure& input,
                 const std::vector<OutputParagraph>& output, const StructureScore& score) {
  std::cout << "== " << name << ": " << input.headings.size() << " reference headings\n";
  for (const ReferenceHeading& h : input.headings)
    std::cout << "  ref " << h.line << " L" << h.level << " " << h.text << "\n";
  for (const ContentsEntry& e : input.contents)
    std::cout << "  toc " << e.line << " [" << e.key << "] page [" << e.pageKey << "]\n";
  std::size_t n = 0;
  for (const OutputParagraph& p : output) {
    if (p.IsHeading())
      std::cout << "  head " << static_cast<char>(score.headingKinds[n++]) << " L" << p.Level()
                << " (style " << p.styleLevel << ", outline " << p.outlineLevel << ") "
                << p.key.substr(0, 100) << "\n";
  }
}

}  // namespace

// Every corpus RFC converts with default settings into RTF whose heading paragraphs, as
// LibreOffice reads them, are the document's numbered sections at the level of their number,
// with few other paragraphs taken for headings, and whose contents list keeps one entry per
// line.
TEST(CorpusStructure, NumberedSectionsArriveAsHeadingsAtTheirLevel) {
  if (!fs::is_directory(kCorpus / "rfc"))
    GTEST_SKIP() << "the shared corpus is not beside the checkout: " << kCorpus;
  const std::vector<fs::path> inputs = CorpusRfcs();
  ASSERT_FALSE(inputs.empty());

  TempFolder dir("structure");
  const char* policy = std::getenv("KELVANE_STRUCTURE_POLICY");
  const RunResult run = RunKvlconsInto(inputs, dir.path, policy != nullptr ? policy : "");
  EXPECT_EQ(run.status, 0) << run.messages;
  std::vector<std::string> rtfs;
  for (const fs::path& input : inputs) {
    rtfs.push_back(dir.File(input.stem().string() + ".rtf"));
    ASSERT_TRUE(fs::exists(rtfs.back())) << "kvlcons wrote no " << rtfs.back();
  }

  REQUIRE_SOFFICE(soffice);
  ConvertWithSoffice(soffice, rtfs, "fodt", dir.path.string());

  const bool detail = EnvironmentSet("KELVANE_STRUCTURE_DETAIL");
  const bool reportOnly = EnvironmentSet("KELVANE_STRUCTURE_REPORT_ONLY");
  std::vector<StructureScore> scores;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string fodt = SofficeOutput(rtfs[i], dir.path.string(), ".fodt");
    ASSERT_TRUE(fs::exists(fodt)) << "LibreOffice could not open " << rtfs[i];
    const InputStructure input = ReadInputStructure(ReadBytes(inputs[i].string()));
    const std::string fodtText = ReadBytes(fodt);
    const std::vector<OutputParagraph> output = ReadOutputParagraphs(fodtText);
    // A section number in the running text is a link that jumps to its heading's bookmark.
    const InDocumentJumps jumps = CountInDocumentJumps(fodtText);
    EXPECT_EQ(jumps.withoutBookmark, 0)
        << inputs[i].filename().string() << ": " << jumps.withoutBookmark << " of "
        << jumps.links << " in-document links name no bookmark, e.g. " << jumps.firstWithout;
    if (inputs[i].stem() == "rfc2616") {
      EXPECT_GE(jumps.links, 500) << "rfc2616's section references are not in-document links";
    }
    scores.push_back(ScoreStructure(input, output));
    if (detail)
      PrintDetail(inputs[i].stem().string(), input, output, scores.back());
  }

  std::cout << "document   refs @level wrong missing heads other false nooutl   toc  "
               "recall  false   own%\n";
  StructureScore total;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const StructureScore& s = scores[i];
    std::cout << Row(inputs[i].stem().string(), s) << "\n";
    total.references += s.references;
    total.foundAtLevel += s.foundAtLevel;
    total.wrongLevel += s.wrongLevel;
    total.missing += s.missing;
    total.headingParagraphs += s.headingParagraphs;
    total.otherHeadings += s.otherHeadings;
    total.falseHeadings += s.falseHeadings;
    total.withoutOutline += s.withoutOutline;
    total.contentsEntries += s.contentsEntries;
    total.contentsOnOwnLine += s.contentsOnOwnLine;
  }
  std::cout << Row("all", total) << std::endl;

  if (reportOnly)
    return;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    for (const Target& target : kTargets) {
      const auto [count, percent] = Measured(scores[i], target.measure);
      if (count < target.minCount)
        continue;
      const bool met = target.atLeast ? percent >= target.percent : percent < target.percent;
      std::string examples;
      for (const std::string& text : Examples(scores[i], target.measure))
        examples += "\n  " + text;
      EXPECT_TRUE(met) << inputs[i].filename().string() << ": " << target.name << " "
                       << percent << "%, target " << (target.atLeast ? ">= " : "< ")
                       << target.percent << "%; for example:" << examples;
    }
  }
}
