#include "policy/PolicyFileWriter.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <cstdio>
#include <string>
#include <vector>

#include "policy/LinkDictionary.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/StatementFile.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// Writes fc into memory; the lines written.
std::vector<std::string> WriteToLines(FileControl& fc, int all) {
  StringList sink;
  TextFile out;
  out.SetSink(&sink);
  EXPECT_TRUE(out.OpenForWrite("memory", 0, 0));
  fc.WritePolicyFile(out, all);
  std::vector<std::string> lines;
  for (int i = 0; i < sink.GetCount(); ++i) lines.emplace_back(sink.GetItem(i)->text.GetText());
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

void Load(FileControl& fc, const char* text) {
  TextString line(text);
  int category = 0;
  ASSERT_EQ(fc.LoadPolicyLine(line, category, 0), 0) << text;
}

std::string Padded(const std::string& key, std::size_t width) {
  std::string out = key;
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

// Every value, mark and special setting of a set as lines of text, so that two sets can be
// compared entry by entry.
std::vector<std::string> Describe(const FileControl& fc) {
  std::vector<std::string> out;
  auto describe = [&](const CorePolicy& policy) {
    std::string text = std::string(policy.key.GetText()) + "=";
    if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&policy)) {
      text += std::to_string(scalar->value);
    } else if (const auto* value = dynamic_cast<const TextValuePolicy*>(&policy)) {
      text += value->value.GetText();
    }
    text += policy.set ? " set" : "";
    out.push_back(text);
  };
  for (const PolicyRow& row : PolicyRows()) describe(fc.Policy(row.id));
  for (int s = 0; s < kPolicySectionCount; ++s) {
    const PolicySection& section = fc.GetPolicyList().GetSectionAt(s);
    for (int i = 0; i < section.GetCount(); ++i) describe(*section.pGetPolicyAt(i));
  }
  out.push_back("rule set " + std::to_string(fc.GetRuleSet()) + " " +
                std::to_string(fc.IsRuleSetSet()));
  const auto& indent = fc.GetIndentPositions();
  std::string positions = "indent " + std::to_string(indent.present) + " " +
                          std::to_string(indent.count) + " " +
                          std::to_string(indent.setExplicitly);
  for (int p : indent.positions) positions += " " + std::to_string(p);
  out.push_back(positions);
  const auto& hanging = fc.GetHangingPositions();
  positions = "hanging " + std::to_string(hanging.count) + " " +
              std::to_string(hanging.setExplicitly);
  for (int p : hanging.positions) positions += " " + std::to_string(p);
  out.push_back(positions);
  const auto& chars = fc.GetDefinitionChars();
  out.push_back("definition " + std::to_string(chars.dashAccepted) +
                std::to_string(chars.dashStrong) + std::to_string(chars.colonAccepted) +
                std::to_string(chars.colonStrong) + std::to_string(chars.setExplicitly));
  for (const StringList* list : {&fc.GetUsenetGroups(), &fc.GetDocumentSections()}) {
    std::string names = "list";
    for (int i = 0; i < list->GetCount(); ++i) names += " " + std::string(list->GetItem(i)->text.GetText());
    out.push_back(names);
  }
  const auto& headings = fc.GetRecognisedHeadings();
  out.push_back("headings " + std::to_string(headings.count) + " " +
                std::to_string(headings.setExplicitly));
  for (int i = 0; i < FileControl::kHeadingLevels; ++i) {
    TextString heading, contents;
    (void)headings.headings[i].Format(i, heading);
    (void)headings.contents[i].Format(i, contents);
    out.push_back(std::string(heading.GetText()) + " | " + contents.GetText());
  }
  const LinkDictionary* dictionary = fc.pGetLinkDictionary();
  for (int i = 0; i < dictionary->GetCount(); ++i) {
    const LinkEntry* entry = dictionary->pGetEntry(i);
    out.push_back("link " + std::string(entry->match.GetText()) + " " + entry->replacement.GetText() +
                  " " + entry->address.GetText());
  }
  return out;
}

void ExpectSame(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i], b[i]) << "entry " << i;
}

std::string TempPath(const std::string& name) { return ::TempPath("polfile", name); }

// Writes fc to a file and reads it back into a fresh set. Only-set files read back without a
// complaint; a file of all policies holds "Output file extension", which the reader refuses.
void WriteAndReadBack(FileControl& fc, int all, FileControl& back) {
  const std::string path = TempPath("roundtrip.pol");
  {
    TextFile out;
    ASSERT_TRUE(out.OpenForWrite(path.c_str(), 0, 0));
    fc.WritePolicyFile(out, all);
    out.CloseAll();
  }
  StatementFile in;
  ASSERT_TRUE(in.OpenForRead(path.c_str(), 0));
  ::testing::internal::CaptureStderr();
  const int result = back.ReadPolicyFile(in, nullptr, 0);
  const std::string console = ::testing::internal::GetCapturedStderr();
  in.CloseAll();
  std::remove(path.c_str());
  if (all) {
    EXPECT_EQ(console, "POLICY: Ignored - \\Output file extension : (none)\\\n");
    return;
  }
  EXPECT_EQ(result, 1) << console;
  EXPECT_TRUE(console.empty()) << console;
}

// ---- Layout ----

TEST(PolicyFileWriter, FreshSetWritesNothingWhenOnlySetIsAsked) {
  FileControl fc;
  EXPECT_TRUE(WriteToLines(fc, 0).empty()) << Joined(WriteToLines(fc, 0));
}

TEST(PolicyFileWriter, OnePolicySetGivesItsSectionAndLine) {
  FileControl fc;
  Load(fc, "Page Width: 72");
  const std::vector<std::string> expected = {
      "", "[General Analysis]", "", Padded("Page Width", 42) + ": 72 "};
  EXPECT_EQ(WriteToLines(fc, 0), expected);
}

TEST(PolicyFileWriter, SpecialLinesPadTheirKeyTo33) {
  struct Case {
    const char* line;
    const char* written;
  };
  const Case cases[] = {
      {"Indent position(s): 0 4 8", "Indent position(s)               : 0 4 8 "},
      {"Indent position(s): none", "Indent position(s)               : (none)"},
      {"Hanging paragraph position(s): 5", "Hanging paragraph position(s)    : 5 "},
      {"Definition Char: '-' (strong)", "Definition Char                  : '-' (strong) "},
      {"Rule set to be used: ZUR", "Rule set to be used              : ZUR"},
      {"Recognised USENET groups: a.b c.d", "Recognised USENET groups         : a.b c.d"},
      {"Include document section(s): none", "Include document section(s)      : (none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    FileControl fc;
    Load(fc, c.line);
    const std::vector<std::string> lines = WriteToLines(fc, 0);
    bool found = false;
    for (const std::string& line : lines) found = found || line == c.written;
    EXPECT_TRUE(found) << Joined(lines);
  }
}

TEST(PolicyFileWriter, HeadingsAreWrittenWithTheirCount) {
  FileControl fc;
  Load(fc, "We have 2  recognised headings");
  Load(fc, "Heading level 0 = \"Chapter\" N at indent 0");
  Load(fc, "Heading level 1 = \"\" (N.N) at indent 4");
  Load(fc, "Contents level 1 = \"\" N.N at indent 2");
  const std::vector<std::string> expected = {
      "", "", "[Headings]", "",
      Padded("Expect Second Word Headings", 42) + ": No",
      "",
      "We have 2  recognised headings",
      "    Heading level 0 = \"Chapter\" N at indent 0",
      "    Heading level 1 = \"\" (N.N) at indent 4",
      "    Contents level 0 = \"\" N at indent -1",
      "    Contents level 1 = \"\" N.N at indent 2",
  };
  EXPECT_EQ(WriteToLines(fc, 0), expected);
}

TEST(PolicyFileWriter, UnexpectedRuleSetWritesHeaderOnlyAndIsReported) {
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  std::vector<std::string> messages;
  ctx.GetLogErrorHandler().SetMessageCallback([&](const char* t) { messages.emplace_back(t); });
  fc.SetRuleSet(3, 1);
  const std::vector<std::string> expected = {"", "[Rule Set]", ""};
  EXPECT_EQ(WriteToLines(fc, 0), expected);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "UNSUPPORTED CASE: Unexpected Rule Set");
}

TEST(PolicyFileWriter, AllWritesTheSectionsInTheirOrder) {
  FileControl fc;
  std::vector<std::string> headers;
  for (const std::string& line : WriteToLines(fc, 1))
    if (!line.empty() && line[0] == '[') headers.push_back(line);
  const std::vector<std::string> expected = {
      "[RTF Help files]", "[Rule Set]", "[Messages]", "[Tagging]", "[General Analysis]",
      "[Bullets]", "[Headings]", "[Pre-formatted text]", "[Config files]", "[Added RTF]",
      "[Composition Units]", "[Hyperlinks]", "[File generation]", "[Contents]",
      "[Preprocessor]", "[Style]", "[Page Formatting]", "[Table generation]",
      "[Link Dictionary]"};
  EXPECT_EQ(headers, expected);
}

TEST(PolicyFileWriter, OnlySetSectionsStayQuietUnlessSomethingIsSet) {
  FileControl fc;
  Load(fc, "Place document in frames: Yes");
  Load(fc, "Document Keywords: alpha beta");
  const std::string all = Joined(WriteToLines(fc, 1));
  EXPECT_NE(all.find("\n\n\n[Frames]\n\n" + Padded("Place document in frames", 42) + ": Yes\n"),
            std::string::npos)
      << all;
  EXPECT_EQ(all.find("Output frame name"), std::string::npos);
  EXPECT_NE(all.find("[Added HTML]"), std::string::npos);
  EXPECT_EQ(all.find("Document Title"), std::string::npos);
  EXPECT_EQ(all.find("[Directory Page]"), std::string::npos);
}

TEST(PolicyFileWriter, NoneForOptionalNumbersAtOrBelowZero) {
  FileControl fc;
  Load(fc, "Split level: 0");
  Load(fc, "Min chapter size: 12");
  const std::string all = Joined(WriteToLines(fc, 0));
  EXPECT_NE(all.find(Padded("Split level", 42) + ": (none)\n"), std::string::npos) << all;
  EXPECT_NE(all.find(Padded("Min chapter size", 42) + ": 12 \n"), std::string::npos) << all;
}

// ---- Round trip ----

// One line for each kind of policy and each special line.
constexpr const char* kRoundTripLines[] = {
    // Int, plain and optional form
    "Page Width: 72",
    "TAB size: 4",
    "Min chapter size: 12",
    "Error reporting level: 7",
    "Input file has page markers: Yes",
    "Page marker size (in lines): 60",
    // Bool
    "Keep it simple: Yes",
    "Create hyperlinks: No",
    // Text, with a colon in the value
    "Document Title: Part 2: the sequel",
    "Input file type: text table",
    "Fragments file: frags.txt",
    // Align, Colour, Font, List
    "Text justification: justified",
    "Text Colour: Red",
    "Background Colour: #123456",
    "Default font: Arial, Bold Italic, 14",
    "Paper size: Letter",
    "HTML version to be targeted: HTML 3.2",
    "Language (for proofing): Swedish",
    // sectioned policies
    "Remove all tags: Yes",
    "Text to replace Unicode characters by in output: ?",
    "Level of header details wanted (0-10): 3",
    "Help title background colour: Navy",
    // special lines
    "Indent position(s): 0 4 8",
    "Hanging paragraph position(s): 6 10",
    "Definition Char: (none)",
    "Definition Char: '-' (strong)",
    "Recognised USENET groups: comp.lang.c alt.test",
    "Include document section(s): intro appendix",
    "Use Preprocessor: No",
    "We have 2  recognised headings",
    "Heading level 0 = \"Chapter\" N at indent 0",
    "Heading level 1 = \"\" (N.N) at indent 4",
    "Contents level 0 = \"\" N at indent 2",
    "Contents level 1 = \"\" N.N at indent 6",
    "Expect Second Word Headings: Yes",
    "Link definition: \"home\" = \"Home page\" + \"http://example.org/\"",
    "Attempt TABLE generation: No",
    "Max length of candidate table lines: 200",
    "Minimum automatic <PRE> size: 5",
    "Use DOS filenames: Yes",
    "DOS filename root: abc",
    "Preserve line structure: Yes",
    "Directory Title: Index",
    "CENTER whole document: Yes",
};

TEST(PolicyFileRoundTrip, OnlySetPoliciesComeBackTheSame) {
  FileControl fc;
  for (const char* line : kRoundTripLines) Load(fc, line);
  // The reader ends with the derived defaults; the source gets them too.
  fc.ApplyDerivedDefaults(1, 0);
  FileControl back;
  WriteAndReadBack(fc, 0, back);
  ExpectSame(Describe(fc), Describe(back));
}

TEST(PolicyFileRoundTrip, RuleSetAndItsSectionComeBack) {
  FileControl fc;
  Load(fc, "Rule set to be used: Pembrelle");
  Load(fc, "Add FONT markup: Yes");
  Load(fc, "List markup code: 2");
  FileControl back;
  WriteAndReadBack(fc, 0, back);
  EXPECT_EQ(back.GetRuleSet(), 1);
  EXPECT_TRUE(back.IsRuleSetSet());
  EXPECT_EQ(back.GetInt(PolicyId::AddFONTMarkup), 1);
  EXPECT_EQ(back.GetInt(PolicyId::ListMarkupCode), 2);
}

TEST(PolicyFileRoundTrip, OneDefinitionCharacterStaysAlone) {
  for (const char* line : {"Definition Char: ':' (weak)", "Definition Char: '-' (weak)"}) {
    SCOPED_TRACE(line);
    FileControl fc;
    Load(fc, "Definition Char: (none)");
    Load(fc, line);
    FileControl back;
    WriteAndReadBack(fc, 0, back);
    ExpectSame(Describe(fc), Describe(back));
  }
}

TEST(PolicyFileRoundTrip, AllPoliciesComeBackWithTheirValues) {
  FileControl fc;
  for (const char* line : kRoundTripLines) Load(fc, line);
  // The reader ends with the derived defaults; the source gets them too.
  fc.ApplyDerivedDefaults(1, 0);
  FileControl back;
  WriteAndReadBack(fc, 1, back);
  for (const PolicyRow& row : PolicyRows()) {
    SCOPED_TRACE(row.key);
    // Values of 0 and below in the optional form are read back as none (-1).
    if (row.writeRule == PolicyWriteRule::NoneAtOrBelowZero && fc.GetInt(row.id) <= 0) {
      EXPECT_EQ(back.GetInt(row.id), -1);
      continue;
    }
    const CorePolicy& a = fc.Policy(row.id);
    const CorePolicy& b = back.Policy(row.id);
    if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&a)) {
      EXPECT_EQ(scalar->value, dynamic_cast<const ScalarPolicy&>(b).value);
    } else {
      EXPECT_STREQ(dynamic_cast<const TextValuePolicy&>(a).value.GetText(),
                   dynamic_cast<const TextValuePolicy&>(b).value.GetText());
    }
  }
  // After one trip the file is stable (colours have taken their canonical form by then).
  FileControl again;
  WriteAndReadBack(back, 1, again);
  EXPECT_EQ(WriteToLines(back, 1), WriteToLines(again, 1));
}

}  // namespace
