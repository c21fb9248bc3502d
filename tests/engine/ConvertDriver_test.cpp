#include "convert/ConvertDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "support/BoundedRun.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const std::string kFixture = std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt";

std::string ReadAll(const fs::path& path) { return ReadBytes(path.string()); }

// One conversion with its own Context, policy sets, temp folder and captured messages.
struct Conversion {
  Conversion() : ctx(2, kOutputRtf), writer(ctx) {
    user.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { lines.emplace_back(t); });
    ctx.GetLogErrorHandler().SetDiagnosticCallback([this](const char* t) { lines.emplace_back(t); });
  }

  // output is the output name pattern, as an /OUTPUT value gives it; with is the writer of
  // the output pass (the conversion's own when null).
  int Run(const std::string& input, const std::string& output, RTFFile* with = nullptr) {
    return ConvertInputFile(user, policyFile, analysis, contents, outputSet, ctx,
                            TextString(input.c_str()), TextString(input.c_str()),
                            TextString(output.c_str()), 0, with != nullptr ? *with : writer,
                            nullptr, nullptr, 0);
  }
  bool Said(const std::string& text) const {
    for (const std::string& line : lines)
      if (line.find(text) != std::string::npos)
        return true;
    return false;
  }
  int Count(const std::string& text) const {
    int count = 0;
    for (const std::string& line : lines)
      count += line == text;
    return count;
  }
  int IndexOf(const std::string& text) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == text)
        return static_cast<int>(i);
    return -1;
  }

  TempFolder folder{"driver"};
  fs::path dir = folder.path;
  Context ctx;
  FileControl user, policyFile, analysis, contents, outputSet;
  RTFFile writer;
  std::vector<std::string> lines;
};

// A writer that opens its file and refuses every line.
class FailingWriter : public RTFFile {
 public:
  explicit FailingWriter(Context& ctx) : RTFFile(ctx) {}
  int WriteOut(Statement&, FileControl&, Context&) override { return 0; }
};

}  // namespace

TEST(ConvertInputFile, AnnouncesFileAndPassesInOrder) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
  const int banner = c.IndexOf(std::string(50, '%'));
  const int processing = c.IndexOf("Processing : \"doc.txt\"");
  const int first = c.IndexOf("---- Making First Pass ----");
  const int second = c.IndexOf("---- Making Second Pass ----");
  const int output = c.IndexOf("---- Starting Output pass ----");
  EXPECT_GE(banner, 0);
  EXPECT_EQ(processing, banner + 1);  // the input folder is the output folder: not repeated
  EXPECT_GT(first, processing);
  EXPECT_GT(second, first);
  EXPECT_GT(output, second);
}

TEST(ConvertInputFile, FailedWriterLeavesNoOutputAndReportsFailure) {
  // A writer that fails: the conversion says so and leaves no partial file.
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  const fs::path output = c.dir / "doc.rtf";
  FailingWriter failing(c.ctx);
  EXPECT_EQ(c.Run(input.string(), output.string(), &failing), 0);
  EXPECT_TRUE(c.Said("ERROR: Failed to complete output pass"));
  EXPECT_FALSE(fs::exists(output));
}

TEST(ConvertInputFile, MissingInputFailsTheAnalysisPass) {
  Conversion c;
  const std::string input = (c.dir / "absent.txt").string();
  EXPECT_EQ(c.Run(input, (c.dir / "absent.rtf").string()), 0);
  EXPECT_TRUE(c.Said("ERROR: Can't find file " + input));
  EXPECT_TRUE(c.Said("ERROR: Failed to complete analysis pass"));
  EXPECT_FALSE(c.Said("---- Making Second Pass ----"));
}

TEST(ConvertInputFile, NeverWritesOverTheInput) {
  struct Case {
    const char* inputName;   // in the test folder
    const char* outputName;  // in the test folder
    bool linkToInput;        // create the output name as a symbolic link to the input
  };
  constexpr Case kCases[] = {
      // The output name is the input's, in its spelling or another case.
      {"doc.txt", "doc.txt", false},
      {"doc.txt", "DOC.TXT", false},
      // The name derived from the input (its extension replaced) is the input itself.
      {"same.rtf", "other.rtf", false},
      // Another name of the input: only the file's identity tells them apart.
      {"doc.txt", "link.rtf", true},
      {"doc.txt", "sub/../doc.txt", false},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.outputName);
    Conversion c;
    const fs::path input = c.dir / k.inputName;
    fs::copy_file(kFixture, input);
    fs::create_directories(c.dir / "sub");
    const std::string before = ReadAll(input);
    const fs::path output = c.dir / k.outputName;
    if (k.linkToInput)
      fs::create_symlink(input, output);
    // In a child process with bounded file sizes (BoundedRun.h): an output written into its
    // own input would grow it without end. The child gives back the result and the messages.
    const BoundedRunResult run = RunBounded([&] {
      std::string said = std::to_string(c.Run(input.string(), output.string()));
      for (const std::string& line : c.lines)
        said += "\n" + line;
      return said;
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_EQ(OutputLines(run, 1)[0], "0");
    EXPECT_NE(run.output.find("ERROR: Output file has same name as input file - " + input.string()),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(ReadAll(input) == before) << "the input was written over";
  }
}

TEST(ConvertInputFile, PolicyFileThatCannotBeOpenedIsReportedNotAnnounced) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  const std::string target = (c.dir / "no-such-folder" / "out.pol").string();
  c.ctx.Commands.createPolicyFile = 1;
  c.ctx.Commands.policyOutputFileName = TextString(target.c_str());
  (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
  EXPECT_TRUE(c.Said("ERROR: Can't open policy file " + target));
  EXPECT_FALSE(c.Said("Generating policy file"));
}

TEST(ConvertInputFile, PolicyFileIsWrittenWhenAsked) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  const fs::path target = c.dir / "made.pol";
  c.ctx.Commands.createPolicyFile = 1;
  c.ctx.Commands.policyOutputFileName = TextString(target.string().c_str());
  (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
  EXPECT_TRUE(c.Said("Generating policy file " + target.string()));
  EXPECT_FALSE(ReadAll(target).empty());
}

TEST(ConvertInputFile, DisabledAnalysisPassStillRunsTheLaterPasses) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  c.ctx.Commands.analysisPassEnabled = 0;
  (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
  EXPECT_FALSE(c.Said("---- Making First Pass ----"));
  EXPECT_TRUE(c.Said("---- Making Second Pass ----"));
  EXPECT_TRUE(c.Said("---- Starting Output pass ----"));
}

TEST(ConvertInputFile, OutputGoesToTheOutputNameWithoutSplitFiles) {
  // No split file is registered: the output name is the file opened. A folder standing where
  // a name points makes that name unopenable, which tells which name the pass opened.
  struct Case {
    const char* outputName;  // in the test folder
    const char* folder;      // made in the test folder before the run
    bool openFails;
  };
  constexpr Case kCases[] = {
      {"out.rtf", "out.rtf", true},    // the output name cannot be opened
      {"out.rtf", "doc.rtf", false},   // the name the input would give is not used
      {"made/out.rtf", "", false},     // a missing output folder is made first
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.outputName);
    SCOPED_TRACE(k.folder);
    Conversion c;
    const fs::path input = c.dir / "doc.txt";
    fs::copy_file(kFixture, input);
    if (k.folder[0] != '\0')
      fs::create_directories(c.dir / k.folder);
    (void)c.Run(input.string(), (c.dir / k.outputName).string());
    EXPECT_EQ(c.Said("ERROR: Can't open output file : check file isn't already open"),
              k.openFails);
  }
}

TEST(ConvertInputFile, PolicyDecisionsAreReportedOncePerFile) {
  struct Case {
    const char* fixture;  // under the fixtures folder
    const char* message;  // a decision of the policy calculation
  };
  const Case kCases[] = {
      {"/driver/short-document.txt",
       "INFO: Policy: Treating as a \"simple\" file.  Ignoring any headings, etc."},
      {"/policy/koi8r-russian.txt", "INFO: Cyrillic (koi8-r) characters detected"},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.fixture);
    Conversion c;
    const fs::path input = c.dir / "doc.txt";
    fs::copy_file(std::string(KELVANE_FIXTURES_DIR) + k.fixture, input);
    c.user.Int(PolicyId::ErrorReportingLevel).value = 10;
    c.user.Bool(PolicyId::LookForCharacterEncodings).value = 1;
    (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
    EXPECT_EQ(c.Count(k.message), 1);
  }
}

TEST(ConvertInputFile, ListFilesAnnotateTheInputLines) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  c.ctx.Commands.listFiles = 1;
  (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
  const std::string listed = ReadAll(c.dir / "doc.lis1");
  EXPECT_NE(listed.find("    1:       |Title line\n"), std::string::npos);
  EXPECT_NE(listed.find("    5:       |   Some text here.\n"), std::string::npos);
  EXPECT_NE(listed.find("Line Type codes"), std::string::npos);
}

TEST(ConvertInputFile, DiagnosticsFileNamedLikeTheInputIsRefused) {
  // The list and statistics files are named after the input: an input that already carries
  // such a name must survive the conversion.
  struct Case {
    const char* inputName;
    int listFiles;
    int listAndStatistics;
  };
  constexpr Case kCases[] = {{"doc.lis", 1, 0}, {"doc.lis1", 1, 0}, {"doc.stats", 0, 1}};
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.inputName);
    Conversion c;
    const fs::path input = c.dir / k.inputName;
    fs::copy_file(kFixture, input);
    const std::string before = ReadAll(input);
    c.ctx.Commands.listFiles = k.listFiles;
    c.ctx.Commands.listAndStatisticsFiles = k.listAndStatistics;
    (void)c.Run(input.string(), (c.dir / "*.rtf").string());
    EXPECT_TRUE(c.Said("ERROR: Output file has same name as input file - " + input.string()));
    EXPECT_EQ(ReadAll(input), before);
  }
}

TEST(ConvertInputFile, DiagnosticsFilesGoToTheOutputFolder) {
  Conversion c;
  const fs::path input = c.dir / "doc.txt";
  fs::copy_file(kFixture, input);
  c.ctx.Commands.listAndStatisticsFiles = 1;
  const fs::path out = c.dir / "out" / "deeper";
  c.ctx.Commands.outputFolder = TextString((out.string() + "/").c_str());
  (void)c.Run(input.string(), "");
  EXPECT_TRUE(fs::exists(out / "doc.lis1"));
  EXPECT_TRUE(fs::exists(out / "doc.stats"));
  EXPECT_TRUE(c.Said("Generating diagnostics file " + (out / "doc.lis1").string()));
}

TEST(ConvertInputFile, NotesInputThatArrivesAsUtf8) {
  struct Case {
    const char* fixture;
    int utf8;
  };
  constexpr Case kCases[] = {{"rtf/utf8-bom-mixed.txt", 1},
                             {"rtf/utf16le-bom-mixed.txt", 1},
                             {"rtf/cp437-box-and-accents.txt", 0}};
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.fixture);
    Conversion c;
    const fs::path input = c.dir / "doc.txt";
    fs::copy_file(std::string(KELVANE_FIXTURES_DIR) + "/" + k.fixture, input);
    (void)c.Run(input.string(), (c.dir / "doc.rtf").string());
    EXPECT_EQ(c.ctx.Utf8Input, k.utf8);
  }
}
