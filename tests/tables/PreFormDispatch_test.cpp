#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "policy/StyleSheet.h"
#include "policy/TableGenerationPolicies.h"
#include "tables/PreForm.h"
#include "policy/TableType.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextPosition.h"

namespace {

// A region written through an open RTF document of the output pass: lines are made, added to
// a PreForm, and what the region writes is read back from the document's lines.
struct RegionRun {
  RegionRun() : ctx(2, kOutputRtf), rtf(ctx) {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { messages.emplace_back(t); });
    rtf.SetSink(&out);
    ctx.AnalysisPass = 0;
    ctx.ContentsPass = 0;
    ctx.OutputPass = 1;
    ctx.Styles.PrepareForOutput(fc);
    ctx.RtfPass = 1;
    rtf.SetBraceTracking(1);
    EXPECT_EQ(rtf.Open("doc", fc, 0), 1);
    EXPECT_EQ(rtf.FlushBuffer(fc, &rtf, 0), 1);
    first = out.GetCount();
  }

  // A region line of type with text.
  PreHTML& Line(const char* text, int type = kTypeUntyped, unsigned flags = kFlagTableLine) {
    lines.push_back(std::make_unique<PreHTML>());
    PreHTML& line = *lines.back();
    line.SetText(text);
    line.SetLineType(type);
    line.SetFlag(flags, true);
    line.SetIndent(static_cast<int>(std::string(text).find_first_not_of(' ')));
    line.SetStartPosition(fc, TextPosition(0, static_cast<int>(lines.size())));
    return line;
  }

  // A region holding the given lines.
  PreForm& Region(const std::vector<const char*>& texts) {
    for (const char* text : texts)
      Line(text);
    return Collect();
  }
  // A region of the lines made so far.
  PreForm& Collect() {
    region = std::make_unique<PreForm>(&rtf, &fc, nullptr, lines.front().get());
    for (auto& line : lines)
      region->AddLine(line.get());
    return *region;
  }

  // What was written since the document's prologue.
  std::string Written() {
    EXPECT_EQ(rtf.FlushBuffer(fc, &rtf, 0), 1);
    std::string text;
    for (int i = first; i < out.GetCount(); ++i) {
      text += out.GetItem(i)->text.GetText();
      text += '\n';
    }
    return text;
  }
  bool HasMessage(const std::string& text) const {
    for (const std::string& message : messages)
      if (message.find(text) != std::string::npos)
        return true;
    return false;
  }
  std::string Report() const { return region->reportText.GetText(); }

  Context ctx;
  FileControl fc;
  RTFFile rtf;
  StringList out;
  int first = 0;
  std::vector<std::unique_ptr<PreHTML>> lines;
  std::unique_ptr<PreForm> region;
  std::vector<std::string> messages;
};

// Group braces of RTF text, escaped ones not counted: opened less closed.
int BraceBalance(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\')
      ++i;
    else if (rtf[i] == '{')
      ++depth;
    else if (rtf[i] == '}')
      --depth;
  }
  return depth;
}

}  // namespace

// ---- Decisions on counts ----

TEST(TabDelimitedRegion, NeedsMoreTabsForAWiderSpread) {
  struct Case {
    int minTabs, maxTabs;
    bool delimited;
  };
  const Case cases[] = {
      {3, 3, true},   {2, 2, false},  {3, 4, false},  // no spread needs 3
      {5, 6, true},   {4, 5, false},  {5, 7, false},  // a spread of 1 needs 5
      {9, 11, true},  {8, 10, false}, {9, 12, false}, // a spread of 2 needs 9
      {11, 14, true}, {10, 13, false}, {11, 15, false},
      {500, 0, false},  // no line with text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.minTabs) + "/" + std::to_string(c.maxTabs));
    EXPECT_EQ(IsTabDelimitedRegion(c.minTabs, c.maxTabs), c.delimited);
  }
}

TEST(RegionHeaderLines, FollowTheRegionSize) {
  struct Case {
    int lines, policyLines, header;
  };
  const Case cases[] = {
      {51, 1, 10}, {26, 0, 5}, {25, 0, 5}, {8, 0, 5}, {7, 0, 5}, {7, 1, 4}, {2, 0, 0}, {1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    EXPECT_EQ(RegionHeaderLineCount(c.lines, c.policyLines), c.header);
  }
}

TEST(CodeComment, StartsAtTheFirstSlashesThatAreNoLink) {
  struct Case {
    const char* text;
    const char* styled;
  };
  const Case cases[] = {
      {"x = 1; // one", "x = 1; //{\\b\\i  one\\i0\\b0}"},
      {"// whole line", "//{\\b\\i  whole line\\i0\\b0}"},
      {"see http://example.com/a", "see http://example.com/a"},
      {"get(\"http://a.b\"); // fetch", "get(\"http://a.b\"); //{\\b\\i  fetch\\i0\\b0}"},
      {"a // b // c", "a //{\\b\\i  b // c\\i0\\b0}"},
      {"no comment", "no comment"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TextString text(c.text);
    SetCodeCommentStyle(text);
    EXPECT_STREQ(text.GetText(), c.styled);
  }
}

// ---- Special formats ----

TEST(PreFormProcess, UnknownSpecialFormatIsReportedAndSetsNoFlag) {
  RegionRun run;
  PreForm& region = run.Region({"  a   b"});
  region.userPre = 1;
  region.SetSpecialFormat(11);
  EXPECT_EQ(region.userPre, 0);
  EXPECT_EQ(region.specialFormat, kFormatNone);
  EXPECT_NE(run.Report().find("UNSUPPORTED CASE: Special Format Code 11"), std::string::npos);

  region.SetSpecialFormat(kFormatCommaDelimited);
  EXPECT_EQ(region.delimited, 1);
  EXPECT_EQ(region.delimiter, ',');
  region.SetSpecialFormat(kFormatUserTagged2);
  EXPECT_EQ(region.userTagged, 1);
  EXPECT_EQ(region.delimited, 0);
  EXPECT_EQ(region.delimiter, '\t');
}

// An underwriter section cannot be written as such; its text is written as it stands after
// the message instead of being lost.
TEST(PreFormProcess, UnderwriterSectionKeepsItsText) {
  RegionRun run;
  PreForm& region = run.Region({"  Premium   {due}", "  Term      12 months"});
  region.Process(kFormatUnderwriter);
  const std::string written = run.Written();
  EXPECT_NE(run.Report().find("PROGRAM ERROR : Underwriter sections not supported in this variant"),
            std::string::npos);
  EXPECT_EQ(region.reportLevel, 10);
  EXPECT_NE(written.find("  Premium   \\'7bdue\\'7d\\par"), std::string::npos) << written;
  EXPECT_NE(written.find("  Term      12 months\\par"), std::string::npos) << written;
  EXPECT_EQ(BraceBalance(written), 0) << written;
  EXPECT_EQ(run.ctx.InPreformattedRegion, 0);
}

// User regions are written in their own style, each line kept with its blanks; CODE lines get
// their comments in bold italic.
TEST(PreFormProcess, UserRegionsUseTheirStyles) {
  struct Case {
    int format;
    int style;  // the style sheet index of the opening
    const char* line;
    const char* written;
  };
  const Case cases[] = {
      {kFormatUserPre, StyleSheet::kPreformatted, "   keep   the   blanks", "   keep   the   blanks\\par"},
      {kFormatUserDiagram, StyleSheet::kDiagram, "  +--+  +--+", "  +--+  +--+\\par"},
      {kFormatUserCode, StyleSheet::kCode, "  i++; // next", "  i++; //{\\b\\i  next\\i0\\b0}\\par"},
      {kFormatInvertedPyramid, StyleSheet::kPreformatted, "      apex", "      apex\\par"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    RegionRun run;
    PreForm& region = run.Region({c.line, "  second line"});
    region.Process(c.format);
    const std::string written = run.Written();
    const std::string style =
        "\\s" + std::to_string(run.ctx.Styles.GetRecord(c.style).styleNumber);
    ASSERT_NE(written.find(style), std::string::npos) << written;
    EXPECT_EQ(written[0], '{') << written;
    EXPECT_NE(written.find(c.written), std::string::npos) << written;
    EXPECT_LT(written.find(c.written), written.find("  second line\\par")) << written;
    EXPECT_EQ(BraceBalance(written), 0) << written;
  }
}

TEST(PreFormProcess, PolicyLinesAreAppliedNotWritten) {
  RegionRun run;
  run.Line("  first");
  run.Line("$_$_CHANGE_POLICY Use <CODE>..</CODE> markup: Yes", kTagChangePolicy);
  run.Line("  second");
  PreForm& region = run.Collect();
  region.Process(kFormatUserPre);
  const std::string written = run.Written();
  EXPECT_EQ(written.find("CHANGE_POLICY"), std::string::npos) << written;
  EXPECT_TRUE(run.HasMessage("POLICY: Changed - Use <CODE>..</CODE> markup: Yes"));
  EXPECT_EQ(region.pGetGenerationPolicies()->Bool(GenerationPolicyId::UseCodeMarkup).value, 1);
}

// ---- Table type ----

TEST(PreFormProcess, TableTypeIsTheFirstWhoseContentALineHolds) {
  {
    RegionRun run;
    TableType* prices = run.ctx.TableDefinitions.AddType(TextString("Prices"));
    prices->SetContent(TextString("unit price"));
    TableType* stock = run.ctx.TableDefinitions.AddType(TextString("Stock"));
    stock->SetContent(TextString("in stock"));
    PreForm& region = run.Region({"  Item     In\t  STOCK", "  Bolt     12"});
    region.MatchTableType();
    ASSERT_NE(region.tableType, nullptr);
    EXPECT_EQ(region.tableType, stock);
    EXPECT_NE(run.Report().find("INFO: Table is of type \"Stock\""), std::string::npos);
  }
  {
    RegionRun run;
    run.ctx.TableDefinitions.AddType(TextString("Prices"))->SetContent(TextString("unit price"));
    PreForm& region = run.Region({"  Item     Count"});
    region.MatchTableType();
    EXPECT_EQ(region.tableType, &run.ctx.TableDefinitions.GetDefaultType());
    EXPECT_NE(run.Report().find("WARNING: Table fails to match any known type"), std::string::npos);
  }
}

// ---- Mail headers ----

// The header keeps the order of its lines and loses none: the subject as a heading, the
// sender and the date in italics, any other line as it stands.
TEST(PreFormOutput, MailHeaderShowsSubjectSenderAndDate) {
  RegionRun run;
  PreForm& region = run.Region({"From: Alice   Example <alice@example.com>", "To: Bob {B}",
                                "Subject: Widget   delivery", "Date: Mon, 7 Dec 2026"});
  region.OutputMailHeader();
  const std::string written = run.Written();
  const size_t from = written.find(" From: Alice Example");
  const size_t to = written.find("To: Bob \\'7bB\\'7d\\par");
  const size_t subject = written.find(" Subject: Widget delivery\\par}");
  const size_t date = written.find(" Date: Mon, 7 Dec 2026\\i0\\par}");
  ASSERT_NE(from, std::string::npos) << written;
  ASSERT_NE(to, std::string::npos) << written;
  ASSERT_NE(subject, std::string::npos) << written;
  ASSERT_NE(date, std::string::npos) << written;
  EXPECT_LT(from, to);
  EXPECT_LT(to, subject);
  EXPECT_LT(subject, date);
  const std::string heading2 =
      "\\s" + std::to_string(run.ctx.Styles.GetRecord(StyleSheet::kHeading1 + 1).styleNumber);
  EXPECT_NE(written.rfind(heading2, subject), std::string::npos) << written;
  EXPECT_EQ(BraceBalance(written), 0) << written;
}

TEST(PreFormOutput, MailHeaderWithoutSenderIsNormalText) {
  struct Case {
    std::vector<const char*> lines;
    bool announced;  // more than 2 lines: the normal-text message comes first
  };
  const Case cases[] = {
      {{"Subject: Widgets", "Date: today"}, false},
      {{"Subject: Widgets", "Date: today", "To: Bob"}, true},
  };
  for (const Case& c : cases) {
    RegionRun run;
    PreForm& region = run.Region(c.lines);
    region.OutputMailHeader();
    const std::string written = run.Written();
    EXPECT_NE(written.find("Subject: Widgets\\par"), std::string::npos) << written;
    EXPECT_NE(written.find("Date: today\\par"), std::string::npos) << written;
    EXPECT_EQ(run.Report().find("INFO: Outputing \"table\" as normal text") != std::string::npos,
              c.announced);
    EXPECT_EQ(run.rtf.GetStyleCode(), kParagraphBody);
  }
}

// ---- The decision ----

// A region that is no table, code, diagram, mail header or text block becomes body text; one
// of more than 2 lines says so first.
TEST(PreFormProcess, RegionOfNoKindIsNormalText) {
  struct Case {
    std::vector<const char*> lines;
    bool announced;
  };
  const Case cases[] = {
      {{"  alpha", "  beta"}, false},
      {{"  alpha", "  beta", "  gamma"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.size());
    RegionRun run;
    PreForm& region = run.Region(c.lines);
    region.Process(kFormatNone);
    const std::string written = run.Written();
    EXPECT_NE(written.find("  alpha\\par\n"), std::string::npos) << written;
    EXPECT_NE(written.find("  beta\\par\n"), std::string::npos) << written;
    EXPECT_EQ(run.Report().find("INFO: Outputing \"table\" as normal text") != std::string::npos,
              c.announced)
        << run.Report();
    EXPECT_EQ(run.rtf.GetStyleCode(), kParagraphBody);
  }
}

// ---- Restart ----

// A region restarted after writing another writes what a new region writes: nothing of the
// earlier region's lines, columns, cells or findings carries over. Both runs write the earlier
// region first, so that the writer stands in the same state for the later one.
TEST(PreFormRestart, WritesAsANewRegion) {
  const std::vector<const char*> earlier = {
      "  Name      Size    Kind    Owner", "  --------  ------  ------  -----",
      "  alpha     12      file    root",  "  beta      7       link    adm",
      "  gamma     130     file    root",  "  delta     4       pipe    adm",
  };
  const std::vector<const char*> later = {"  one    1", "  two    2", "  three  3", "  four   4"};
  // Writes the earlier region with region, then the later one with the region that
  // makeLater gives; returns what the later one wrote and reported.
  const auto writeBoth = [&](RegionRun& run, const auto& makeLater) {
    run.Region(earlier).Process(kFormatNone);
    (void)run.Written();
    run.first = run.out.GetCount();
    run.lines.clear();
    for (const char* text : later)
      run.Line(text);
    PreForm& region = makeLater(run);
    for (auto& line : run.lines)
      region.AddLine(line.get());
    region.Process(kFormatNone);
    return run.Written() + "|" + region.reportText.GetText();
  };
  RegionRun fresh;
  const std::string expected = writeBoth(fresh, [](RegionRun& run) -> PreForm& {
    run.region = std::make_unique<PreForm>(&run.rtf, &run.fc, nullptr, run.lines.front().get());
    return *run.region;
  });
  RegionRun restarted;
  const std::string written = writeBoth(restarted, [](RegionRun& run) -> PreForm& {
    run.region->Restart(&run.fc, nullptr, run.lines.front().get());
    return *run.region;
  });
  EXPECT_EQ(written, expected);
  EXPECT_NE(expected.find("three"), std::string::npos) << expected;
}
