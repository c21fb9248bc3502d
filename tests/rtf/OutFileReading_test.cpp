#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfTestSetup.h"
#include "support/TestFiles.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/StatementTypes.h"
#include "text/TextFile.h"

namespace {

struct Read {
  std::string text;
  int type;
  bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Read& r) {
  return out << "{\"" << r.text << "\", " << r.type << "}";
}

struct ReadWithFlags {
  std::string text;
  int type;
  unsigned flags;
  int region;
};

std::string Fixture(const std::string& name) {
  return std::string(KELVANE_FIXTURES_DIR) + "/rtf/include/" + name;
}

// Reads documents through the statement reader of the passes, as the driver does.
class StatementReader : public ::testing::Test {
 protected:
  void SetUp() override {
    s.fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    // Line messages go straight to the handler, which the passes set up from the policies.
    s.ctx.GetLogErrorHandler().SetLevel(10);
    s.ctx.GetLogErrorHandler().SetDiagnosticCallback(
        [this](const char* text) { progress.emplace_back(text); });
  }

  void SetPass(int pass) {
    s.ctx.AnalysisPass = pass == 1;
    s.ctx.ContentsPass = pass == 2;
    s.ctx.OutputPass = pass == 3;
  }

  std::vector<ReadWithFlags> ReadFileWithFlags(const std::string& path, int pass) {
    SetPass(pass);
    RTFFile reader(s.ctx);
    EXPECT_TRUE(reader.OpenForRead(path.c_str(), 0)) << path;
    PreHTML line;
    std::vector<ReadWithFlags> out;
    while (reader.GetNextStatement(line, s.fc, s.ctx, 0)) {
      out.push_back({Str(line), line.GetLineType(), line.GetFlags(), line.GetSpecialFormat()});
      EXPECT_EQ(s.ctx.CodeLocation, kLocationNone);
    }
    reader.CloseAll();
    return out;
  }

  std::vector<Read> ReadFile(const std::string& path, int pass = 3) {
    std::vector<Read> out;
    for (const ReadWithFlags& r : ReadFileWithFlags(path, pass))
      out.push_back({r.text, r.type});
    return out;
  }

  std::string Write(const std::string& text) {
    const std::string path = folder.File("document-" + std::to_string(++documents) + ".txt");
    WriteBytes(path, text);
    return path;
  }

  std::vector<Read> ReadText(const std::string& text, int pass = 3) {
    return ReadFile(Write(text), pass);
  }

  int CountMessages(const std::string& part) const {
    return static_cast<int>(std::count_if(s.messages.begin(), s.messages.end(),
        [&part](const std::string& m) { return m.find(part) != std::string::npos; }));
  }

  RtfSetup s;
  TempFolder folder{"reader"};
  std::vector<std::string> progress;
  int documents = 0;
};

// ---- Ignored blocks and sections ----

struct BlockCase {
  const char* name;
  const char* text;
  std::vector<Read> expected;
};

TEST_F(StatementReader, IgnoredBlocksAndSectionsAreReadPast) {
  const BlockCase cases[] = {
      {"nested ignore hands on only the outer end",
       "a\n$_$_BEGIN_IGNORE\nb\n$_$_BEGIN_IGNORE\nc\n$_$_END_IGNORE\nd\n$_$_END_IGNORE\ne\n",
       {{"a", 0}, {"$_$_END_IGNORE", kTagEndIgnore}, {"e", 0}}},
      {"an ASCII block is hidden from RTF output",
       "a\n$_$_BEGIN_ASCII\nb\n$_$_END_ASCII\nc\n",
       {{"a", 0}, {"$_$_END_ASCII", kTagEndIgnore}, {"c", 0}}},
      {"ASCII and IGNORE share one counter",
       "$_$_BEGIN_ASCII\nb\n$_$_END_IGNORE\nc\n", {{"$_$_END_IGNORE", kTagEndIgnore}, {"c", 0}}},
      {"directives inside an ignored block do nothing",
       "$_$_BEGIN_IGNORE\n$_$_BEGIN_PRE\n$_$_TITLE x\n$_$_END_IGNORE\nc\n",
       {{"$_$_END_IGNORE", kTagEndIgnore}, {"c", 0}}},
      {"a section left out hides lines and directives up to the next section",
       "a\n$_$_SECTION secret\nb\n$_$_PARA\n$_$_SECTION all\nc\n", {{"a", 0}, {"c", 0}}},
      {"ignore blocks still count inside a section left out",
       "$_$_SECTION secret\n$_$_BEGIN_IGNORE\n$_$_SECTION all\nb\n$_$_END_IGNORE\n"
       "$_$_SECTION all\nc\n",
       {{"c", 0}}},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    s.fc.ResetFileState(0);
    EXPECT_EQ(ReadText(c.text), c.expected);
  }
  EXPECT_EQ(CountMessages("TAG ERROR"), 0);
  EXPECT_EQ(CountMessages("INFO: Preprocessor is ignoring \"secret\" section"), 2);
}

TEST_F(StatementReader, ExtraEndIgnoreIsReportedAndHandedOn) {
  EXPECT_EQ(ReadText("a\n$_$_END_IGNORE\nb\n$_$_END_ASCII\n"),
            (std::vector<Read>{{"a", 0},
                               {"$_$_END_IGNORE", kTagEndIgnore},
                               {"b", 0},
                               {"$_$_END_ASCII", kTagEndIgnore}}));
  EXPECT_EQ(CountMessages("TAG ERROR: Too many END_IGNORE directives"), 1);
  EXPECT_EQ(CountMessages("TAG ERROR: Too many END_ASCII directives"), 1);
}

TEST_F(StatementReader, WithThePreprocessorOffDirectivesAreText) {
  s.Set("Use Preprocessor: no");
  EXPECT_EQ(ReadText("$_$_BEGIN_TABLE\n$_$_BEGIN_IGNORE\nx\n"),
            (std::vector<Read>{{"$_$_BEGIN_TABLE", 0}, {"$_$_BEGIN_IGNORE", 0}, {"x", 0}}));
}

// ---- In-line LINERULE ----

TEST_F(StatementReader, InlineLineRuleBecomesThreeStatements) {
  EXPECT_EQ(ReadText("a [[LINERULE]] b\nnext\n[[LINERULE 50%]] tail\n"),
            (std::vector<Read>{{"a  ", 0},
                               {"$_$_LINERULE ", kTagLine},
                               {" b ", 0},
                               {"next", 0},
                               {"$_$_LINERULE 50% ", kTagLine},
                               {" tail ", 0}}));
}

// ---- Input markup ----

TEST_F(StatementReader, InputMarkupIsTakenOutWhereAsked) {
  const std::string path = Write(
      "<b>bold</b> &amp; <a href=\"http://x.org/\">link</a>\n$_$_BEGIN_PRE\n<i>pre</i>\n"
      "$_$_END_PRE\n<i>after</i>\n");
  s.ctx.PreSectionInput = 1;
  EXPECT_EQ(ReadFile(path),
            (std::vector<Read>{{"<b>bold</b> &amp; <a href=\"http://x.org/\">link</a>", 0},
                               {"$_$_BEGIN_PRE", kTagBeginPre},
                               {"pre", 0},
                               {"$_$_END_PRE", kTagEndRegion},
                               {"<i>after</i>", 0}}));
  s.ctx.StripInputMarkup = 1;
  EXPECT_EQ(ReadFile(path), (std::vector<Read>{{"bold & link", 0},
                                               {"$_$_BEGIN_PRE", kTagBeginPre},
                                               {"pre", 0},
                                               {"$_$_END_PRE", kTagEndRegion},
                                               {"after", 0}}));
}

// ---- Unknown directives ----

TEST_F(StatementReader, UnknownDirectiveIsReportedInTheOutputPassOnly) {
  const std::string path = Write("a\n$_$_NO_SUCH_THING 1\n$_$_TABLE_SHOW_COLUMNS 2\nb\n");
  for (int pass : {1, 2}) {
    SCOPED_TRACE(pass);
    EXPECT_EQ(ReadFile(path, pass), (std::vector<Read>{{"a", 0}, {"b", 0}}));
    EXPECT_TRUE(s.messages.empty());
  }
  EXPECT_EQ(ReadFile(path, 3), (std::vector<Read>{{"a", 0}, {"b", 0}}));
  EXPECT_EQ(CountMessages("ERROR: Unknown command /$_$_NO_SUCH_THING 1/"), 1);
  EXPECT_EQ(CountMessages("ERROR: Unknown command /$_$_TABLE_SHOW_COLUMNS 2/"), 1);
}

// ---- Directives handed on and consumed ----

TEST_F(StatementReader, DirectivesHandedOnCarryTheirTypes) {
  const std::vector<Read> expected = {
      {"$_$_PARA", kTagPara},
      {"$_$_toc", kTagToc},
      {"$_$_CONTENTS_LIST", kTypeContentsList},
      {"$_$_NAVIGATION_BAR", kTypeNavigationBar},
      {"$_$_BEGIN_LIST", kTagBeginList},
      {"$_$_LIST_ITEM", kTagListItem},
      {"$_$_END_LIST", kTagEndList},
      {"$_$_PAGE", kTagNewPage},
      {"$_$_DEFINE_VARIABLE x, 1", kTagDefineVariable},
      {"$_$_INSERT_BLOCK b", kTagInsertBlock},
      {"$_$_NEW_ROW", 0},
  };
  std::string text;
  for (const Read& r : expected)
    text += r.text + "\n";
  EXPECT_EQ(ReadText(text), expected);
  EXPECT_EQ(s.ctx.TocDirectiveSeen, 1);
  EXPECT_EQ(s.ctx.ContentsListDirectiveSeen, 1);
  EXPECT_EQ(s.ctx.ContentsListSwitch, 1);
}

TEST_F(StatementReader, LowerCaseDirectiveGivesOnlyItsValue) {
  s.ctx.TitleTexts[0].SetEmpty();
  EXPECT_TRUE(ReadText("$_$_title  My   Title \n$_$_TITLE second\n$_$_keywords a\n"
                       "$_$_KEYWORDS b\n",
                       1)
                  .empty());
  EXPECT_EQ(Str(s.ctx.TitleTexts[0]), "My   Title second");
  EXPECT_EQ(Str(s.ctx.GetDocInfo(DocInfo::Keywords)), "a,b");
  EXPECT_TRUE(ReadText("$_$_title again\n", 3).empty());
  EXPECT_EQ(CountMessages("TAG ERROR"), 0);
}

TEST_F(StatementReader, RegionsCarryTheirFlagsAndCode) {
  const auto lines = ReadFileWithFlags(
      Write("$_$_BEGIN_PRE\n  x  y\n$_$_END_PRE\nplain\n$_$_BEGIN_CONTENTS\n1. One\n"
            "$_$_END_CONTENTS\n$_$_HTML_LINE <b>raw</b>\n"),
      3);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].type, kTagBeginPre);
  for (int i : {0, 1}) {
    EXPECT_TRUE(lines[i].flags & kFlagUserRegion) << i;
    EXPECT_EQ(lines[i].region, 4) << i;
  }
  EXPECT_EQ(lines[2].type, kTagEndRegion);
  for (int i : {2, 3}) {
    EXPECT_FALSE(lines[i].flags & kFlagUserRegion) << i;
    EXPECT_EQ(lines[i].region, 0) << i;
  }
  EXPECT_EQ(lines[4].type, kTagBeginContents);
  EXPECT_TRUE(lines[5].flags & kFlagContentsList);
  EXPECT_FALSE(lines[6].flags & kFlagContentsList);
  EXPECT_EQ(lines[7].text, "<b>raw</b>");
  EXPECT_TRUE(lines[7].flags & kFlagUserHtml);
  EXPECT_FALSE(lines[3].flags & kFlagUserHtml);
}

TEST_F(StatementReader, DirectiveInsideAnOpenRegionClosesIt) {
  EXPECT_EQ(ReadText("$_$_BEGIN_TABLE\na b\n$_$_PARA\nafter\n"),
            (std::vector<Read>{{"$_$_BEGIN_TABLE", kTagBeginTableRegion},
                               {"a b", 0},
                               {"$_$_PARA", kTagPara},
                               {"after", 0}}));
  EXPECT_EQ(CountMessages("TAG ERROR: Missing \"End Table\" tag detected at PARA tag"), 1);
  EXPECT_EQ(s.fc.InRegion, 0);

  EXPECT_EQ(ReadText("$_$_BEGIN_USER_TABLE\n$_$_BEGIN_USER_TABLE\nx\n"),
            (std::vector<Read>{{"$_$_BEGIN_USER_TABLE", kTagBeginUserTable}, {"x", 0}}));
  EXPECT_EQ(CountMessages("TAG ERROR: Ignoring BEGIN_USER_TABLE inside table.\n"
                          "           - could be a duplicate\n"
                          "           - could be a missing END tag"),
            1);
}

TEST_F(StatementReader, TableAttributesSetTheNewestTablePolicies) {
  SetPass(3);
  EXPECT_EQ(ReadText("$_$_BEGIN_TABLE\n$_$_TABLE_BORDERCOLOR red\n$_$_TABLE_ODD_ROW_COLOUR (none)\n"
                     "$_$_TABLE_ALIGN centre\n$_$_TABLE_CELL_ALIGN X\n$_$_TABLE_HEADER_ROWS 2\n"
                     "$_$_TABLE_BORDER thick\n$_$_END_TABLE\n"),
            (std::vector<Read>{{"$_$_BEGIN_TABLE", kTagBeginTableRegion},
                               {"$_$_END_TABLE", kTagEndRegion}}));
  ASSERT_EQ(s.fc.NumTabPolicy(), 1);
  TableAnalysisPolicies* table = s.fc.GetNewTabPolicy();
  const TableAnalysisPolicies* defaults = s.fc.GetDefaultTabPolicy();
  EXPECT_FALSE(table->TextValue(TablePolicyId::BorderColour).value.IsEmpty());
  EXPECT_EQ(table->Int(TablePolicyId::BorderSize).value,
            defaults->Int(TablePolicyId::BorderSize).value);
  EXPECT_EQ(Str(table->TextValue(TablePolicyId::OddRowColour).value), "#F0F0F0");
  EXPECT_EQ(table->Align(TablePolicyId::Alignment).value, 2);
  EXPECT_EQ(table->Int(TablePolicyId::HeaderRows).value, 2);
  EXPECT_EQ(CountMessages("TAG ERROR: Invalid value - \"X"), 1);
}

TEST_F(StatementReader, ChangePolicyIsCheckedThenAppliedOrHandedOn) {
  EXPECT_EQ(ReadText("$_$_CHANGE_POLICY Look for bullets: no\n"
                     "$_$_CHANGE_POLICY No such policy: 3\n"
                     "$_$_CHANGE_POLICY Text justification: centre\n",
                     1),
            (std::vector<Read>{{"$_$_CHANGE_POLICY Text justification: centre", kTagChangePolicy}}));
  EXPECT_EQ(s.fc.GetInt(PolicyId::LookForBullets), 0);
  EXPECT_EQ(CountMessages("WARNING: Ignored CHANGE_POLICY line \"No such policy: 3\""), 0);
  EXPECT_EQ(CountMessages("POLICY: Changed - Look for bullets: no"), 1);
  EXPECT_TRUE(ReadText("$_$_CHANGE_POLICY No such policy: 3\n", 3).empty());
  EXPECT_EQ(CountMessages("WARNING: Ignored CHANGE_POLICY line \"No such policy: 3\""), 1);
}

TEST_F(StatementReader, MetaTagsAndHelpTagsAreRecordedInTheAnalysisPass) {
  testing::internal::CaptureStdout();
  EXPECT_TRUE(ReadText("$_$_META_TAG \"Content Type\" text/plain\n$_$_META_TAG robots none\n"
                       "$_$_HELP_CHAPTER Start, 3\n",
                       1)
                  .empty());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Meta Tag line - Content Type=text/plain\nMeta Tag line - robots=none\n");
  ASSERT_EQ(s.ctx.MetaTags.GetCount(), 2);
  EXPECT_EQ(Str(s.ctx.MetaTags.GetItem(0)->name), "Content Type");
  EXPECT_EQ(Str(s.ctx.MetaTags.GetItem(1)->value), "none");
  ASSERT_EQ(s.ctx.Tags.GetCount(), 1);
  EXPECT_EQ(Str(s.ctx.Tags.GetItem(0)->name), "HELP_CHAPTER");

  // The other passes read the same lines past without recording them again.
  testing::internal::CaptureStdout();
  EXPECT_TRUE(ReadText("$_$_META_TAG a b\n$_$_HELP_CHAPTER x\n", 3).empty());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(s.ctx.MetaTags.GetCount(), 2);
  EXPECT_EQ(s.ctx.Tags.GetCount(), 1);
}

// ---- INCLUDE ----

TEST_F(StatementReader, IncludeReadsTheFileNamedBesideTheIncluder) {
  EXPECT_EQ(ReadFile(Fixture("include-backslash.txt")),
            (std::vector<Read>{{"before", 0}, {"included line", 0}, {"after", 0}}));
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0], "INFO: Opened include file \"sub\\included.txt\"");
  EXPECT_TRUE(s.messages.empty());
}

struct IncludeCase {
  const char* fixture;
  std::vector<Read> expected;
  const char* report;
};

TEST_F(StatementReader, FailedIncludeIsReportedWithItsPlaceAndSkipped) {
  const IncludeCase cases[] = {
      {"include-missing.txt", {{"before", 0}, {"after", 0}},
       "ERROR: Failed to open include file \"no-such-file.txt\" - not found (INCLUDE at line 2 of "},
      {"include-folder.txt", {{"before", 0}, {"after", 0}},
       "ERROR: Failed to open include file \"sub\" - not a regular file (INCLUDE at line 2 of "},
      {"include-loop-a.txt",
       {{"loop a", 0}, {"loop b", 0}, {"end of b", 0}, {"end of a", 0}},
       "ERROR: Failed to open include file \"./include-loop-a.txt\" - already being read (an "
       "include loop) (INCLUDE at line 2 of "},
  };
  for (const IncludeCase& c : cases) {
    SCOPED_TRACE(c.fixture);
    s.messages.clear();
    EXPECT_EQ(ReadFile(Fixture(c.fixture)), c.expected);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_NE(s.messages[0].find(c.report), std::string::npos) << s.messages[0];
  }
  // The analysis pass skips the include as well, silently.
  s.messages.clear();
  EXPECT_EQ(ReadFile(Fixture("include-missing.txt"), 1),
            (std::vector<Read>{{"before", 0}, {"after", 0}}));
  EXPECT_TRUE(s.messages.empty());
}

// A device or a named pipe is refused before it is opened: a device may never end, and
// opening or reading a pipe may wait for ever. Here both have an end (an empty device, a pipe
// whose writer writes a line and closes it), so that an include that is not refused shows at
// once as lines read, not as a read that never ends.
TEST_F(StatementReader, IncludeOfADeviceOrAPipeIsRefused) {
  const std::string pipe = folder.File("pipe.txt");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // The writer's open waits for a reader of the pipe.
  std::thread writer([&pipe] {
    const int end = open(pipe.c_str(), O_WRONLY);
    if (end < 0)
      return;
    const std::string line = "read from the pipe\n";
    (void)!write(end, line.data(), line.size());
    close(end);
  });
  for (const std::string& name : {std::string("/dev/null"), pipe}) {
    SCOPED_TRACE(name);
    s.messages.clear();
    EXPECT_EQ(ReadText("before\n$_$_INCLUDE " + name + "\nafter\n"),
              (std::vector<Read>{{"before", 0}, {"after", 0}}));
    EXPECT_EQ(CountMessages("ERROR: Failed to open include file \"" + name +
                            "\" - not a regular file (INCLUDE at line 2 of "),
              1);
  }
  // The refused pipe was never opened: a reader opened here lets the writer finish.
  const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  writer.join();
  if (reader >= 0)
    close(reader);
}

TEST_F(StatementReader, IncludesNestedTooDeepAreRefused) {
  // Each file includes the next one: a chain longer than any reasonable nesting.
  constexpr int kFiles = 30;
  for (int i = 0; i < kFiles; ++i) {
    WriteBytes(folder.File("chain-" + std::to_string(i) + ".txt"),
               "in " + std::to_string(i) + "\n$_$_INCLUDE chain-" + std::to_string(i + 1) +
                   ".txt\nout " + std::to_string(i) + "\n");
  }
  const std::vector<Read> read = ReadFile(folder.File("chain-0.txt"));
  ASSERT_EQ(read.size(), 32u);
  EXPECT_EQ(read.front().text, "in 0");
  EXPECT_EQ(read[15].text, "in 15");
  EXPECT_EQ(read[16].text, "out 15");
  EXPECT_EQ(read.back().text, "out 0");
  EXPECT_EQ(CountMessages("ERROR: Failed to open include file \"chain-16.txt\" - includes nested "
                          "too deep (INCLUDE at line 2 of "),
            1);
}

// ---- Title tags and the TOC follow-up ----

// A reader that records the lines whose in-line tags it is asked to expand.
class TitleRecordingReader : public RTFFile {
 public:
  using RTFFile::RTFFile;
  void ExpandTitleTags(PreHTML& line, FileControl& /*fc*/, int /*mode*/) override {
    expanded.push_back(Str(line));
  }
  std::vector<std::string> expanded;
};

// A reader that records what reaches its tag fallback and answers with a message.
class FallbackRecordingReader : public RTFFile {
 public:
  using RTFFile::RTFFile;
  int HandleLineTag(int /*mode*/, const TextString& tag, PreHTML& /*line*/, FileControl& /*fc*/,
                    Context& /*ctx*/, TextString& message, int& level) override {
    tags.push_back(Str(tag));
    message.Assign("INFO: contents tag seen");
    level = answerLevel;
    return 1;
  }
  std::vector<std::string> tags;
  int answerLevel = 3;
};

TEST_F(StatementReader, TitleTagsAreExpandedWhereTheDocumentCanHoldThem) {
  const std::string path = Write(
      "plain line\n"
      "a [[NB x]] b\n"
      "only [[ open\n"
      "only ]] close\n"
      "$_$_TITLE The [[VERSION]] guide\n"
      "$_$_DEFINE_TEXT_FRAGMENT part\n"
      "inside [[NB fragment]]\n"
      "$_$_END_BLOCK\n"
      "$_$_BEGIN_IGNORE\n"
      "hidden [[NB ignored]]\n"
      "$_$_END_IGNORE\n"
      "after [[NB end]]\n");
  const std::vector<std::string> everyTaggedLine = {
      "a [[NB x]] b", "$_$_TITLE The [[VERSION]] guide", "after [[NB end]]"};
  const struct {
    const char* name;
    int pass;
    int inlineTagSeen;
    std::vector<std::string> expanded;
  } cases[] = {
      {"the analysis pass looks at every line", 1, 0, everyTaggedLine},
      {"the contents pass only once tags were seen", 2, 0, {}},
      {"the contents pass of a document with tags", 2, 1, everyTaggedLine},
      // The output pass leaves the tags to the writer's tag interpreter.
      {"the output pass never", 3, 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.fc.ResetFileState(0);
    s.ctx.InlineTagSeen = c.inlineTagSeen;
    SetPass(c.pass);
    TitleRecordingReader reader(s.ctx);
    ASSERT_TRUE(reader.OpenForRead(path.c_str(), 0));
    PreHTML line;
    while (reader.GetNextStatement(line, s.fc, s.ctx, 0)) {
    }
    reader.CloseAll();
    EXPECT_EQ(reader.expanded, c.expanded);
  }
}

TEST_F(StatementReader, TocDirectiveGoesToTheLineTagsInTheContentsPass) {
  const std::string path = Write(
      "a\n$_$_TOC 2\n$_$_BEGIN_IGNORE\n$_$_TOC 3\n$_$_END_IGNORE\n$_$_toc 4\nb\n");
  // Line notes are kept while a list file is written.
  TextFile listFile;
  s.ctx.ListFile = &listFile;
  for (int pass : {1, 2, 3}) {
    SCOPED_TRACE(pass);
    s.fc.ResetFileState(0);
    SetPass(pass);
    FallbackRecordingReader reader(s.ctx);
    ASSERT_TRUE(reader.OpenForRead(path.c_str(), 0));
    PreHTML line;
    std::vector<Read> read;
    std::vector<std::string> notes;
    while (reader.GetNextStatement(line, s.fc, s.ctx, 0)) {
      read.push_back({Str(line), line.GetLineType()});
      if (line.pGetNote() != nullptr)
        notes.push_back(Str(*line.pGetNote()));
    }
    reader.CloseAll();
    EXPECT_EQ(read, (std::vector<Read>{{"a", 0},
                                       {"$_$_TOC 2", kTagToc},
                                       {"$_$_END_IGNORE", kTagEndIgnore},
                                       {"$_$_toc 4", kTagToc},
                                       {"b", 0}}));
    if (pass != 2) {
      EXPECT_TRUE(reader.tags.empty());
      EXPECT_TRUE(notes.empty());
      continue;
    }
    // The TOC inside the ignored block is read past without being acted on. What the tag
    // handling reports is noted on the line for the list file, as every message of the
    // contents pass.
    EXPECT_EQ(reader.tags, (std::vector<std::string>{"$_$_TOC 2", "$_$_toc 4"}));
    EXPECT_EQ(notes, (std::vector<std::string>{"*** INFO: contents tag seen",
                                               "*** INFO: contents tag seen"}));
  }
}

TEST_F(StatementReader, TocFollowUpWithoutALevelReportsNothing) {
  const std::string path = Write("$_$_TOC\n");
  TextFile listFile;
  s.ctx.ListFile = &listFile;
  SetPass(2);
  FallbackRecordingReader reader(s.ctx);
  ASSERT_TRUE(reader.OpenForRead(path.c_str(), 0));
  PreHTML line;
  reader.answerLevel = -1;
  while (reader.GetNextStatement(line, s.fc, s.ctx, 0)) {
  }
  reader.CloseAll();
  EXPECT_EQ(reader.tags, std::vector<std::string>{"$_$_TOC"});
  EXPECT_EQ(line.pGetNote(), nullptr);
}

}  // namespace
