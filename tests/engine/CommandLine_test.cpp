#include "engine/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "support/TestFiles.h"
#include "text/TextFile.h"

namespace {

// A Context whose session lines stay in its pending text (no log), not shown.
struct Quiet {
  Context ctx{2, kOutputRtf};
  Quiet() { ctx.Commands.displayMessages = 0; }
  // Parses text; display stays off so the test output stays clean.
  int Parse(const char* text) {
    TextString command(text);
    return ParseCommandLine(command, ctx);
  }
  std::string Messages() const { return ctx.PendingSessionText.GetText(); }
};

}  // namespace

TEST(CommandLine, UsageTextMatchesFixtureByteForByte) {
  const std::string expected =
      ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/engine/usage.txt");
  ASSERT_FALSE(expected.empty());
  Context ctx(2, kOutputRtf);
  SetProgramQualifiers(ctx);
  TextString usage;
  BuildUsageText(ctx, usage);
  EXPECT_EQ(std::string(usage.GetText(), static_cast<std::size_t>(usage.GetLength())), expected);

  // Help asked for on the command line prints exactly that text.
  for (const char* help : {"/?", "/help", "/HE"}) {
    SCOPED_TRACE(help);
    Quiet q;
    testing::internal::CaptureStdout();
    q.Parse(help);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_EQ(q.ctx.Commands.helpRequested, 1);
  }
}

// Every switch qualifier at its shortest form, one character less, and in full.
TEST(CommandLine, RecognisesShortestUniqueFormsOnly) {
  struct Case {
    const char* text;
    int CommandSettings::*setting;
    int expected;
    const char* messages;  // pending session text
  };
  const Case cases[] = {
      {"/lo", &CommandSettings::logRequested, 1, ""},
      {"/LOG", &CommandSettings::logRequested, 1, ""},
      {"/L", &CommandSettings::logRequested, 0,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /L "},
      {"/do", &CommandSettings::dosNames, 1, ""},
      {"/D", &CommandSettings::dosNames, 0,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /D "},
      {"/LIS", &CommandSettings::listFiles, 1, ""},
      {"/CREA", &CommandSettings::createPolicyFile, 1, ""},
      {"/Simp", &CommandSettings::simpleFile, 1, ""},
      {"/SUB", &CommandSettings::searchSubfolders, 1, ""},
      {"/SIL", &CommandSettings::displayMessages, 0, ""},
      {"/COM", &CommandSettings::commaDelimited, 1, ""},
      {"/CO", &CommandSettings::commaDelimited, 0,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /CO "},
      {"/CONS", &CommandSettings::consoleOutput, 1, ""},
      {"/TABB", &CommandSettings::tabDelimited, 1, ""},
      {"/TABL", &CommandSettings::plainTable, 1, ""},
      {"/TAB", &CommandSettings::plainTable, 0,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /TAB "},
      {"/TAG", &CommandSettings::debugTags, 1, ""},
      {"/HT", &CommandSettings::sourceIsHtml, 1, ""},  // recognised though not listed
      {"/TRE /SUB", &CommandSettings::treeMatchesInput, 1, ""},
      // Known to the table but not to this program.
      {"/OVERWRITE", &CommandSettings::overwrite, 0,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /OVERWRITE "},
      {"/DOSX", &CommandSettings::dosNames, 0,
       "SESSION: Illegal Qualifier : /DOSX\n"
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /DOSX "},
      {"/DOS /dos", &CommandSettings::dosNames, 1,
       "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /dos "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Quiet q;
    EXPECT_EQ(q.Parse(c.text), 1);
    EXPECT_EQ(q.ctx.Commands.*c.setting, c.expected);
    EXPECT_EQ(q.Messages(), c.messages);
    EXPECT_TRUE(q.ctx.Commands.inputList.IsEmpty());
  }
}

TEST(CommandLine, TakesQualifierValues) {
  struct Case {
    const char* text;
    TextString CommandSettings::*field;
    const char* expected;
    const char* messages;
  };
  const Case cases[] = {
      {"/LOG", &CommandSettings::logFileName, "Carvaleen.RTF.log", ""},
      {"/LOG=run.log", &CommandSettings::logFileName, "run.log", ""},
      {"/log=/var/tmp/run.txt", &CommandSettings::logFileName, "/var/tmp/run.log",
       "SESSION: Can't use \".txt\" for a log file.  Changing to \".log\""},
      {"/LOG=a.DAT", &CommandSettings::logFileName, "a.log",
       "SESSION: Can't use \".DAT\" for a log file.  Changing to \".log\""},
      {"/LOG =spaced.log", &CommandSettings::logFileName, "spaced.log", ""},
      {"/LOG=", &CommandSettings::logFileName, "Carvaleen.RTF.log",
       "SESSION: Missing value after \"=\" for qualifier /LOG"},
      {"/OUTPUT=<out dir/result file.rtf>", &CommandSettings::outputSpec,
       "out dir/result file.rtf", ""},
      {"/OU=\"quoted name.rtf\"", &CommandSettings::outputSpec, "quoted name.rtf", ""},
      {"/OUTPUT=<open ended", &CommandSettings::outputSpec, "open ended",
       "SESSION: Missing end-quote in qualifier value /OUTPUT"},
      // A policy file is never the output, and the output keeps this program's extension.
      {"/OUTPUT=/data/settings.pol", &CommandSettings::outputSpec, "/data/settings.rtf",
       "SESSION: Can't use \".pol\" for an output file.  Changing to \".rtf\""},
      {"/CREATE_POLICY=made.pol", &CommandSettings::policyOutputFileName, "made.pol", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Quiet q;
    EXPECT_EQ(q.Parse(c.text), 1);
    EXPECT_STREQ((q.ctx.Commands.*c.field).GetText(), c.expected);
    EXPECT_EQ(q.Messages(), c.messages);
    EXPECT_TRUE(q.ctx.Commands.inputList.IsEmpty());
  }

  Quiet q;
  q.Parse("/OUTPUT=/data/out/report.rtf");
  EXPECT_STREQ(q.ctx.Commands.outputFolder.GetText(), "/data/out/");
  EXPECT_STREQ(q.ctx.Commands.outputBaseName.GetText(), "report");
  EXPECT_STREQ(q.ctx.Commands.outputExtension.GetText(), ".rtf");
}

TEST(CommandLine, CombinationsOfQualifiers) {
  Quiet tree;
  tree.Parse("/TREE");
  EXPECT_EQ(tree.ctx.Commands.treeMatchesInput, 0);
  EXPECT_EQ(tree.Messages(), "SESSION: /tree has no effect unless /subfolders is set");

  Quiet console;
  console.ctx.Commands.displayMessages = 1;  // to see it cleared
  console.Parse("/OUTPUT=x.rtf /CONSOLE");
  EXPECT_EQ(console.ctx.Commands.displayMessages, 0);
  EXPECT_TRUE(console.ctx.Commands.outputSpec.IsEmpty());
}

TEST(CommandLine, SplitsFileSpecificationsAndPolicyFile) {
  struct Case {
    const char* text;
    const char* inputList;
    const char* policyFile;
    const char* left;  // what stays in the command text
  };
  const Case cases[] = {
      {"report.txt settings.pol", "report.txt", "settings.pol", "report.txt settings.pol"},
      {"a.txt <b c.txt> /DOS d.txt <first.pol> last.POL", "<b c.txt> a.txt d.txt", "last.POL",
       "a.txt <b c.txt> d.txt <first.pol> last.POL"},
      {"\"my file.txt\"   docs/readme.txt", "\"my file.txt\" docs/readme.txt", "",
       "\"my file.txt\" docs/readme.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Quiet q;
    TextString command(c.text);
    EXPECT_EQ(ParseCommandLine(command, q.ctx), 1);
    EXPECT_STREQ(q.ctx.Commands.inputList.GetText(), c.inputList);
    EXPECT_STREQ(q.ctx.Commands.policyFileName.GetText(), c.policyFile);
    EXPECT_STREQ(command.GetText(), c.left);
    EXPECT_EQ(q.Messages(), "");
  }
}

TEST(CommandLine, CommentLinesAreReportedAndYieldNothing) {
  for (const char* text : {"! a.txt /DOS", "#a.txt"}) {
    SCOPED_TRACE(text);
    Quiet q;
    EXPECT_EQ(q.Parse(text), 0);
    EXPECT_EQ(q.Messages(), std::string("SESSION: INFO: Steering file: Ignoring comment line \"") +
                                text + "\"");
    EXPECT_EQ(q.ctx.Commands.dosNames, 0);
    EXPECT_TRUE(q.ctx.Commands.inputList.IsEmpty());
  }
}

// Paths on this system begin with the qualifier character; none of them may set a switch.
TEST(CommandLine, AbsolutePathsAreNotQualifiers) {
  const std::vector<std::string> args = {"/usr/share/doc/x.txt", "/logs/out.txt", "/tmp/*.txt",
                                         "/LIST", "docs/DOS/a.txt"};
  Quiet q;
  EXPECT_EQ(ParseCommandLine(q.ctx, args), 0);
  EXPECT_EQ(q.ctx.Commands.dosNames, 0);
  EXPECT_EQ(q.ctx.Commands.logRequested, 0);
  EXPECT_EQ(q.ctx.Commands.plainTable + q.ctx.Commands.debugTags, 0);
  EXPECT_EQ(q.ctx.Commands.listFiles, 1);
  EXPECT_STREQ(q.ctx.Commands.inputList.GetText(),
               "/usr/share/doc/x.txt /logs/out.txt /tmp/*.txt docs/DOS/a.txt");
  EXPECT_EQ(q.Messages(), "");

  // An existing folder spelled like a qualifier is a path as well.
  if (!std::filesystem::is_directory("/usr")) GTEST_SKIP() << "no /usr on this machine";
  Quiet existing;
  EXPECT_EQ(ParseCommandLine(existing.ctx, {"/usr"}), 0);
  EXPECT_STREQ(existing.ctx.Commands.inputList.GetText(), "/usr");
  EXPECT_EQ(existing.Messages(), "");
}

TEST(CommandLine, ArgumentsKeepTheirBlanks) {
  Quiet q;
  EXPECT_EQ(ParseCommandLine(q.ctx, {"/tmp/my notes.txt", "/OUTPUT=/tmp/out dir/x.rtf",
                                     "plain.txt", "/LOG", "=run.log"}),
            0);
  EXPECT_STREQ(q.ctx.Commands.inputList.GetText(), "</tmp/my notes.txt> plain.txt");
  EXPECT_STREQ(q.ctx.Commands.outputSpec.GetText(), "/tmp/out dir/x.rtf");
  EXPECT_STREQ(q.ctx.Commands.logFileName.GetText(), "run.log");
  EXPECT_EQ(q.Messages(), "");
}

// The console run decides on this count alone whether the command line was wrong; fix-ups
// (a log renamed to ".log", /TREE without /SUBFOLDERS) are reported but not rejected.
TEST(CommandLine, CountsRejectedQualifiers) {
  struct Case {
    std::vector<std::string> args;
    int rejected;
  };
  const Case cases[] = {
      {{"doc.txt", "/LIST", "/LOG=run.txt", "/TREE"}, 0},
      {{"doc.txt", "/BOGUS"}, 1},
      {{"doc.txt", "/L"}, 1},                   // shorter than every candidate
      {{"doc.txt", "/LIST", "/LIST"}, 1},       // repeated
      {{"doc.txt", "/LOGGING"}, 1},             // illegal: not a prefix of /LOG
      {{"doc.txt", "/LOG="}, 1},                // missing value
      {{"doc.txt", "/OUTPUT=<open"}, 1},        // missing end-quote
      {{"/BOGUS", "/L", "/OUTPUT=<open"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    Quiet q;
    EXPECT_EQ(ParseCommandLine(q.ctx, c.args), c.rejected) << q.Messages();
  }
}

TEST(CommandLine, SplitCommandWordsKeepsQuotedAndBracketedRuns) {
  std::vector<TextString> words;
  SplitCommandWords(TextString(" a\t\"b c\"  <d e>f /X=\"g h\" <open end"), words);
  const std::vector<std::string> expected = {"a", "\"b c\"", "<d e>f", "/X=\"g h\"",
                                             "<open end"};
  ASSERT_EQ(words.size(), expected.size());
  for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(words[i].GetText(), expected[i]);
}

TEST(CommandLine, SessionMessagesWaitForTheLog) {
  Context ctx(2, kOutputRtf);
  ctx.Commands.displayMessages = 0;
  ctx.SessionMessage("first");
  ctx.SessionMessage("second");
  EXPECT_STREQ(ctx.PendingSessionText.GetText(), "SESSION: first\nSESSION: second");

  const std::string logName = TempPath("commandline", "session.log");
  TextFile log;
  ASSERT_TRUE(log.OpenForWrite(logName.c_str(), 0, 0));
  ctx.GetLogErrorHandler().SetLogFile(&log);
  ctx.SessionMessage("third");
  EXPECT_TRUE(ctx.PendingSessionText.IsEmpty());
  ctx.GetLogErrorHandler().SetLogFile(nullptr);
  log.CloseAll();
  const std::string written = ReadBytes(logName);
  EXPECT_NE(written.find("SESSION: first\nSESSION: second\nSESSION: third"), std::string::npos)
      << written;
  std::filesystem::remove(logName);

  // Shown on standard error while display messages is on: standard output may carry the
  // converted document.
  Context shown(2, kOutputRtf);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  shown.SessionMessage("visible");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "visible\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
