#include "app/ConsoleRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/BoundedRun.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const std::string kFixture = std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt";

std::string ReadAll(const fs::path& path) { return ReadBytes(path.string()); }

struct ConsoleResult {
  int status;
  std::string out;
  std::string err;
};

ConsoleResult RunConsole(const std::vector<std::string>& args) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = RunConversion(args);
  ConsoleResult result{status, testing::internal::GetCapturedStdout(),
                       testing::internal::GetCapturedStderr()};
  return result;
}

// RunConsole in a child process with bounded processor time and file sizes (BoundedRun.h):
// where a refusal fails, the conversion that follows it would read a device that never ends,
// or write into its own input and grow it, and the test would hang instead of failing. ended
// tells how the child ended.
ConsoleResult RunConsoleBounded(const std::vector<std::string>& args, std::string& ended) {
  const BoundedRunResult run = RunBounded([&args] {
    const ConsoleResult r = RunConsole(args);
    return std::to_string(r.status) + '\0' + r.out + '\0' + r.err;
  });
  ended = run.Describe();
  const std::size_t outStart = run.output.find('\0');
  const std::size_t errStart = run.output.find('\0', outStart + 1);
  if (!run.finished || errStart == std::string::npos)
    return {-1, "", ""};
  return {std::stoi(run.output.substr(0, outStart)),
          run.output.substr(outStart + 1, errStart - outStart - 1),
          run.output.substr(errStart + 1)};
}

// Lines of a list file that annotate an input line (the legend excluded).
int AnnotatedLines(const std::string& listed) {
  int count = 0;
  std::size_t from = 0;
  while (from < listed.size()) {
    std::size_t end = listed.find('\n', from);
    if (end == std::string::npos)
      end = listed.size();
    const std::string_view line(listed.data() + from, end - from);
    if (line.size() >= 20 && line[11] == ':' && line[19] == '|')
      ++count;
    from = end + 1;
  }
  return count;
}

// The RTF's group braces balance and never close more than is open; an escaped brace or
// backslash counts nothing.
bool IsBalancedRtf(const std::string& rtf) {
  int level = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
      continue;
    }
    if (rtf[i] == '{')
      ++level;
    if (rtf[i] == '}' && --level < 0)
      return false;
  }
  return level == 0;
}

int PhysicalLines(const std::string& text) {
  int count = 0;
  for (const char c : text)
    count += c == '\n';
  return count;
}

}  // namespace

TEST(Kvlcons, HelpPrintsTheUsage) {
  for (const char* help : {"/?", "/HELP", "/hel"}) {
    SCOPED_TRACE(help);
    const ConsoleResult r = RunConsole({help});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage : kvlcons filespec1 filespec2 [policy_file.pol] [/qualifiers]"),
              std::string::npos);
    EXPECT_NE(r.out.find("   /LIST"), std::string::npos);
  }
}

TEST(Kvlcons, CommandLineMistakesFailClearly) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "doc.txt";
  fs::copy_file(kFixture, input);
  const fs::path converted = dir.path / "good.txt";
  fs::copy_file(kFixture, converted);
  fs::create_directories(dir.path / "folder.txt");
  std::ofstream(dir.path / "empty.txt").close();
  // Policy files that are no files: a folder, and a device that never ends.
  fs::create_directories(dir.path / "rules.pol");
  fs::create_symlink("/dev/zero", dir.path / "zero.pol");
  struct Case {
    std::vector<std::string> args;
    const char* message;  // expected on standard error
  };
  const Case kCases[] = {
      {{(dir.path / "missing.txt").string()}, "ERROR: Can't find or open "},
      // A run that converted one file but not the other did not succeed.
      {{converted.string(), (dir.path / "missing.txt").string()}, "ERROR: Can't find or open "},
      {{(dir.path / "folder.txt").string()}, "ERROR: Can't find or open "},
      {{(dir.path / "empty.txt").string()}, "ERROR: File is empty "},
      {{input.string(), "/BOGUS"}, "ERROR: Unrecognised or invalid qualifiers"},
      {{input.string(), "/L"}, "*** Unrecognised, ambiguous or repeated qualifiers : /L "},
      {{input.string(), "/LOG="}, "Missing value after \"=\" for qualifier /LOG"},
      {{input.string(), "/OUTPUT=<x"}, "Missing end-quote in qualifier value /OUTPUT"},
      {{}, "ERROR: No input file given"},
      {{input.string(), (dir.path / "rules.pol").string()},
       "ERROR: Policy file is not a regular file: "},
      {{input.string(), (dir.path / "zero.pol").string()},
       "ERROR: Policy file is not a regular file: "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.message);
    std::string ended;
    const ConsoleResult r = RunConsoleBounded(c.args, ended);
    EXPECT_EQ(ended, "finished");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    // Standard output may carry the document itself (/CONSOLE): no message goes there.
    EXPECT_EQ(r.out.find("Unrecognised"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Missing"), std::string::npos) << r.out;
  }
  EXPECT_FALSE(fs::exists(dir.path / "doc.rtf"));
  // The file found beside the missing one is still converted.
  EXPECT_TRUE(fs::exists(dir.path / "good.rtf"));
}

TEST(Kvlcons, UnreadableFileFails) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "locked.txt";
  fs::copy_file(kFixture, input);
  fs::permissions(input, fs::perms::none);
  if (std::ifstream(input).good())
    GTEST_SKIP() << "running with rights that read any file";
  const ConsoleResult r = RunConsole({input.string()});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("ERROR: Can't find or open "), std::string::npos) << r.err;
}

TEST(Kvlcons, OutputThroughALinkToTheInputIsRefused) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "doc.txt";
  fs::copy_file(kFixture, input);
  const std::string before = ReadAll(input);
  const fs::path link = dir.path / "link.rtf";
  fs::create_symlink(input, link);
  std::string ended;
  const ConsoleResult r = RunConsoleBounded({input.string(), "/OUTPUT=" + link.string()}, ended);
  EXPECT_EQ(ended, "finished");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("ERROR: Output file has same name as input file - "), std::string::npos)
      << r.err;
  EXPECT_TRUE(ReadAll(input) == before) << "the input was written over";
}

TEST(Kvlcons, WritesTheRtfAndTheAnnotatedList) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "doc.txt";
  fs::copy_file(kFixture, input);
  const fs::path out = dir.path / "out";
  const ConsoleResult r = RunConsole({input.string(), "/LIST", "/OUTPUT=" + (out / "*.rtf").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("---- Starting Output pass ----"), std::string::npos);
  const std::string rtf = ReadAll(out / "doc.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_TRUE(IsBalancedRtf(rtf));
  EXPECT_NE(rtf.find("Title line"), std::string::npos);
  const std::string listed = ReadAll(out / "doc.lis1");
  EXPECT_EQ(AnnotatedLines(listed), PhysicalLines(ReadAll(input)));
  EXPECT_NE(listed.find("|Title line\n"), std::string::npos);
}

TEST(Kvlcons, ConvertsEveryCorpusDocument) {
  const fs::path corpus = fs::path(KELVANE_CORPUS_DIR) / "rfc";
  if (!fs::is_directory(corpus))
    GTEST_SKIP() << "no corpus at " << corpus;
  TempFolder dir("cons");
  int documents = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".txt")
      continue;
    SCOPED_TRACE(entry.path().string());
    ++documents;
    const ConsoleResult r = RunConsole(
        {entry.path().string(), "/LIST", "/OUTPUT=" + (dir.path / "*.rtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("UNSUPPORTED CASE"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("PROGRAM ERROR"), std::string::npos) << r.err;
    EXPECT_TRUE(IsBalancedRtf(ReadAll(dir.path / (entry.path().stem().string() + ".rtf"))));
    const std::string listed = ReadAll(dir.path / (entry.path().stem().string() + ".lis1"));
    // Form feeds split a line into two statements, so there may be more statements than lines.
    EXPECT_GE(AnnotatedLines(listed), PhysicalLines(ReadAll(entry.path())) - 1);
    EXPECT_NE(listed.find("Line Type codes"), std::string::npos);
  }
  EXPECT_GT(documents, 0);
}

TEST(Kvlcons, DirectivesAreActedOnAndAFailedIncludeDoesNotFailTheConversion) {
  TempFolder dir("cons");
  const std::string input = std::string(KELVANE_FIXTURES_DIR) + "/rtf/include/directives.txt";
  const ConsoleResult r =
      RunConsole({input, "/LIST", "/OUTPUT=" + (dir.path / "*.rtf").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ERROR: Failed to open include file \"no-such-part.txt\" - not found"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("ERROR: Unknown command /$_$_unknown_directive here/"),
            std::string::npos)
      << r.err;
  const std::string rtf = ReadAll(dir.path / "directives.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  EXPECT_NE(rtf.find("{\\title Preprocessed Document}"), std::string::npos);
  for (const char* shown : {"Visible first line.", "included line", "Visible last line."})
    EXPECT_NE(rtf.find(shown), std::string::npos) << shown;
  for (const char* hidden : {"Hidden line.", "Secret line.", "$_$_"})
    EXPECT_EQ(rtf.find(hidden), std::string::npos) << hidden;
}

TEST(Kvlcons, TreeKeepsSameNamedInputsOfSubFoldersApart) {
  const fs::path root = TempPath("kvl_cons", "tree");
  for (const char* sub : {"a", "b"}) {
    fs::create_directories(root / "in" / sub);
    fs::copy_file(kFixture, root / "in" / sub / "doc.txt");
  }
  const fs::path out = root / "out";
  const ConsoleResult r =
      RunConsole({(root / "in" / "*.txt").string(), "/SUBFOLDERS", "/TREE", "/LIST",
                  "/OUTPUT=" + (out / "*.rtf").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* sub : {"a", "b"}) {
    SCOPED_TRACE(sub);
    EXPECT_NE(ReadAll(out / sub / "doc.lis1").find("|Title line\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(out / sub / "doc.rtf"));
  }
  EXPECT_FALSE(fs::exists(out / "doc.lis1"));
  fs::remove_all(root);
}

// The style sheet of every output file is made from the default fonts, then the styles file,
// then built: a style font of the styles file reaches the prologue and the first paragraph of
// each document of a run.
TEST(Kvlcons, StylesFileFontsReachEveryFileOfARun) {
  TempFolder dir("cons");
  const fs::path styles = dir.path / "house.sty";
  WriteBytes(styles.string(), "define style: Body, Georgia, Regular, 11\n");
  const fs::path policies = dir.path / "run.pol";
  WriteBytes(policies.string(), "Style file: " + styles.string() + "\n");
  for (const char* name : {"a", "b"})
    WriteBytes((dir.path / (std::string(name) + ".txt")).string(), "Some text of the file.\n");
  const ConsoleResult r = RunConsole({(dir.path / "a.txt").string(), (dir.path / "b.txt").string(),
                                      policies.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* name : {"a", "b"}) {
    SCOPED_TRACE(name);
    const std::string rtf = ReadAll(dir.path / (std::string(name) + ".rtf"));
    EXPECT_NE(rtf.find("Georgia;}"), std::string::npos);
    // The first paragraph opens in the Body style at 11 points.
    const size_t first = rtf.find("{\\pard\\plain \\s1\\");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(rtf.substr(first, rtf.find('{', first + 1) - first).find("\\fs22"),
              std::string::npos)
        << rtf.substr(first, 80);
  }
}

// An underlined heading and two paragraphs: the heading in the Heading 2 style ("=" under it),
// nothing for its underline and the blank line after it, the text after it, and a document
// that ends balanced without an error.
TEST(Kvlcons, UnderlinedHeadingAndParagraphsEndToEnd) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "intro.txt";
  WriteBytes(input.string(),
             "Introduction\n============\n\nThis is the first paragraph\nof plain text.\n\n"
             "This is the second paragraph.\n");
  const ConsoleResult r = RunConsole({input.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
  const std::string rtf = ReadAll(dir.path / "intro.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  const size_t heading = rtf.find("\\s62");
  ASSERT_NE(heading, std::string::npos) << rtf;
  const size_t title = rtf.find("Introduction\\par}}", heading);
  ASSERT_NE(title, std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("===="), std::string::npos) << rtf;
  // The heading's bookmark pair stands right before its paragraph, once.
  const size_t mark = rtf.find("{\\*\\bkmkstart Introduction}\n{\\*\\bkmkend Introduction}\n");
  ASSERT_NE(mark, std::string::npos) << rtf;
  const std::string opening = "{\\pard\\plain \\s62";
  EXPECT_EQ(rtf.compare(rtf.find("{\\pard", mark), opening.size(), opening), 0) << rtf;
  EXPECT_EQ(rtf.find("bkmkstart", mark + opening.size()), std::string::npos) << rtf;
  const size_t first = rtf.find("This is the first paragraph", title);
  const size_t second = rtf.find("This is the second paragraph.", first);
  ASSERT_NE(first, std::string::npos) << rtf;
  ASSERT_NE(second, std::string::npos) << rtf;
  EXPECT_NE(rtf.find("of plain text.", first), std::string::npos);
  // The last paragraph is body text.
  EXPECT_NE(rtf.rfind("\\s1\\", second), std::string::npos);
  EXPECT_GT(rtf.rfind("\\s1\\", second), rtf.rfind("{\\pard", second) - 1) << rtf;
}

// With help source asked for, every heading starts a help topic with its footnotes, and the
// help project and contents files are written beside the RTF, named after it.
TEST(Kvlcons, HelpSourceComesWithItsProjectAndContentsFiles) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "guide.txt";
  WriteBytes(input.string(),
             "Overview\n========\n\nWidgets do one job well.\n\n"
             "Care\n====\n\nKeep them dry.\n");
  const fs::path policies = dir.path / "help.pol";
  WriteBytes(policies.string(), "Make Windows Help source file: Yes\n");
  const fs::path out = dir.path / "out";
  fs::create_directories(out);
  const ConsoleResult r =
      RunConsole({input.string(), policies.string(), "/OUTPUT=" + (out / "*.rtf").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("WARNING"), std::string::npos) << r.err;

  const std::string rtf = ReadAll(out / "guide.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  for (const char* part : {"{\\*\\bkmkstart Overview}", "{\\footnote topics:1000}",
                           "{\\footnote topics:1001}", "\n {ID_Care}}", "Keep them dry"})
    EXPECT_NE(rtf.find(part), std::string::npos) << part;
  const std::string project = ReadAll(out / "guide.hpj");
  EXPECT_NE(project.find("\nTITLE=guide Help File\n"), std::string::npos) << project;
  EXPECT_NE(project.find("\n[FILES]\nguide.rtf\n"), std::string::npos) << project;
  EXPECT_EQ(ReadAll(out / "guide.cnt"),
            ":Base guide.HLP\n:Title Contents for guide\n1 Overview=ID_Overview\n"
            "1 Care=ID_Care\n");
  EXPECT_FALSE(fs::exists(dir.path / "guide.hpj"));
}

// Text commands from the policy file, and from a text command file it names, rewrite and drop
// input lines before the analysis sees them; a faulty command is reported and the rest work.
TEST(Kvlcons, TextCommandsRewriteTheInput) {
  TempFolder dir("cons");
  const fs::path input = dir.path / "notes.txt";
  WriteBytes(input.string(),
             "DRAFT - not for release\nThe colour of the sky.\n\nSummary of results\n\n"
             "A second paragraph.\n");
  const fs::path inline_policies = dir.path / "inline.pol";
  WriteBytes(inline_policies.string(),
             "Text command : ignore_line starting_with exact_string \"DRAFT\"\n"
             "Text command : replace_text string \"colour\" by_string \"color\"\n"
             "Text command : replace_text strung \"sky\" by_string \"sea\"\n"
             "Text command : treat_line starting_with phrase \"summary\" as_Heading_2\n");
  ConsoleResult r = RunConsole({input.string(), inline_policies.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("POLICY: Unknown text data type \"strung\""), std::string::npos) << r.err;
  std::string rtf = ReadAll(dir.path / "notes.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  EXPECT_NE(rtf.find("The color of the sky."), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("A second paragraph."), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("colour"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("DRAFT"), std::string::npos) << rtf;
  // The line made a heading is written in the Heading 2 style.
  const size_t summary = rtf.find("Summary of results");
  ASSERT_NE(summary, std::string::npos) << rtf;
  const size_t paragraph = rtf.rfind("{\\pard", summary);
  ASSERT_NE(paragraph, std::string::npos) << rtf;
  EXPECT_NE(rtf.substr(paragraph, summary - paragraph).find("\\s62"), std::string::npos) << rtf;

  const fs::path commands = dir.path / "commands.txt";
  WriteBytes(commands.string(), "! house rules\nreplace_text phrase \"sky\" by_string \"sea\"\n");
  const fs::path file_policies = dir.path / "file.pol";
  WriteBytes(file_policies.string(), "Text command file: " + commands.string() + "\n");
  r = RunConsole({input.string(), file_policies.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  rtf = ReadAll(dir.path / "notes.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  EXPECT_NE(rtf.find("The colour of the sea."), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("DRAFT"), std::string::npos) << rtf;
}

// Converts <name>.txt holding text in dir with a policy file holding policyLines; the RTF
// written, after checking that the run succeeded without errors and left the RTF balanced.
static std::string ConvertWithPolicies(const TempFolder& dir, const std::string& name,
                                       const std::string& text, const std::string& policyLines) {
  const fs::path input = dir.path / (name + ".txt");
  WriteBytes(input.string(), text);
  const fs::path policies = dir.path / (name + ".pol");
  WriteBytes(policies.string(), policyLines);
  const ConsoleResult r = RunConsole({input.string(), policies.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
  const std::string rtf = ReadAll(dir.path / (name + ".rtf"));
  EXPECT_TRUE(IsBalancedRtf(rtf)) << rtf;
  return rtf;
}

// A link dictionary file named by the policy file turns its phrases into links.
TEST(Kvlcons, LinkDictionaryPhrasesBecomeLinks) {
  TempFolder dir("cons");
  const fs::path dictionary = dir.path / "links.dic";
  WriteBytes(dictionary.string(),
             "! New dictionary\n"
             "Link definition: \"Widget Guide\" = \"Widget Guide\" + \"http://www.example.com/guide\"\n");
  const std::string rtf = ConvertWithPolicies(
      dir, "links", "Read the Widget Guide before you start.\n\nNothing to link here.\n",
      "Link Dictionary file: " + dictionary.string() + "\n");
  const size_t link = rtf.find(" HYPERLINK http://www.example.com/guide }");
  ASSERT_NE(link, std::string::npos) << rtf;
  EXPECT_LT(link, rtf.find("before you start")) << rtf;
  EXPECT_EQ(rtf.find("Read the Widget Guide before"), std::string::npos) << rtf;
}

// A bold phrase that starts on one line and ends on the next is marked up over both, and the
// RTF stays balanced.
TEST(Kvlcons, EmphasisOverTwoLines) {
  TempFolder dir("cons");
  const std::string rtf = ConvertWithPolicies(
      dir, "bold",
      "Some text before it.\n\n"
      "This paragraph has *a bold phrase\nthat ends here* and more text.\n\n"
      "The last paragraph.\n",
      "Look for *this* and _that_ emphasis: Yes\n");
  const size_t open = rtf.find("{\\b a bold phrase");
  ASSERT_NE(open, std::string::npos) << rtf;
  EXPECT_NE(rtf.find("that ends here\\b0}", open), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("*a bold"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("here*"), std::string::npos) << rtf;
}

// A BEGIN_PRE that is never closed makes the whole 5 MB file one region: the region is
// still written at the end of the input, every line of it, and the RTF balances.
TEST(Kvlcons, UnclosedRegionOfALargeFileIsWrittenWhole) {
  TempFolder dir("cons");
  constexpr int kLines = 64000;
  std::string text = "$_$_BEGIN_PRE\n";
  for (int i = 0; i < kLines; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%06d  column {one}   column two   column three and a fourth that fills the line\n", i);
    text += line;
  }
  ASSERT_GT(text.size(), 5u * 1000 * 1000);
  const std::string input = dir.File("unclosed.txt");
  WriteBytes(input, text);
  const ConsoleResult r = RunConsole({input, "/OUTPUT=" + (dir.path / "*.rtf").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string rtf = ReadAll(dir.path / "unclosed.rtf");
  EXPECT_TRUE(IsBalancedRtf(rtf));
  for (const int i : {0, kLines / 2, kLines - 1}) {
    char line[128];
    std::snprintf(line, sizeof line, "%06d  column \\'7bone\\'7d   column two   column three and a fourth that fills the line\\par", i);
    EXPECT_NE(rtf.find(line), std::string::npos) << line;
  }
  std::size_t count = 0;
  for (std::size_t at = rtf.find("column three"); at != std::string::npos;
       at = rtf.find("column three", at + 1))
    ++count;
  EXPECT_EQ(count, static_cast<std::size_t>(kLines));
}

static int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// A line longer than the longest statement is reported once, from the output pass, with its
// own line number, wherever it stands.
TEST(Kvlcons, OverLongLineIsReportedOnceWithItsNumber) {
  TempFolder dir("cons");
  const std::string longLine(1000500, 'x');
  struct Case {
    const char* name;
    std::string text;
    const char* expected;
  };
  const Case kCases[] = {
      {"first", longLine + "\nThe second line.\n", "Line 1 - WARNING: A line of "},
      {"fourth", "The first line.\n\nThe third line.\n" + longLine + "\nThe last line.\n",
       "Line 4 - WARNING: A line of "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string input = dir.File(std::string(c.name) + ".txt");
    WriteBytes(input, c.text);
    const ConsoleResult r = RunConsole({input});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Occurrences(r.err, " is longer than 1000000 bytes: it is read as several lines"), 1)
        << r.err;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
  }
}

// Each refused line of a policy file gives one message, and it says what happened: a file
// that includes itself is a loop, not a file that failed to open.
TEST(Kvlcons, PolicyFileRefusalsAreReportedOnceEach) {
  TempFolder dir("cons");
  const std::string input = dir.File("doc.txt");
  fs::copy_file(kFixture, input);
  const std::string self = dir.File("self.pol");
  WriteBytes(self, "Include file: self.pol\nPage Width: 72\nPage Width: 90\n"
                   "No colon on this line\nKeep it simple: maybe\nBogus key: 3\n");
  const ConsoleResult r = RunConsole({input, self});
  EXPECT_EQ(r.status, 0) << r.err;
  struct Expected {
    const char* text;
    int count;
  };
  const Expected kMessages[] = {
      {"** Policy file includes itself (an include loop), not read again: ", 1},
      {"Failed to open", 0},
      {"POLICY: Ignoring repeated policy \\Page Width\\", 1},
      {"Page Width: 90", 0},
      {"POLICY: Ignored - Missing colon in \"No colon on this line\"", 1},
      {"No colon on this line", 1},
      {"ERROR: Don't understand policy value : maybe", 1},
      {"Keep it simple: maybe", 0},
      {"POLICY: Ignored - \\Bogus key: 3\\", 1},
  };
  for (const Expected& e : kMessages) {
    SCOPED_TRACE(e.text);
    EXPECT_EQ(Occurrences(r.err, e.text), e.count) << r.err;
  }
}
