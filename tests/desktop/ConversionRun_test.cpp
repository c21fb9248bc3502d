#include "app/BaseDialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopFixture.h"
#include "engine/Context.h"
#include "policy/FileControl.h"

namespace fs = std::filesystem;

using ConversionRun = DesktopTest;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(ConversionRun, ConvertsAFileAndShowsTheEngineMessages) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.SetInputFile(input);
  ASSERT_EQ(main.RunConversion(), 1);
  const std::string rtf = ReadBytes(folder.File("doc.rtf"));
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
  const std::string lines = StatusLines();
  EXPECT_TRUE(Contains(lines, "---- Making First Pass ----")) << lines;
  EXPECT_TRUE(Contains(lines, "---- Starting Output pass ----")) << lines;
  EXPECT_TRUE(Contains(lines, "Conversion complete")) << lines;
  EXPECT_TRUE(status().IsShown());
  EXPECT_EQ(main.GetLastOutputFile(), "doc.rtf");
  EXPECT_EQ(main.GetInputDir(), Dir());
  EXPECT_EQ(platform.waitCursorDepth, 0);
  EXPECT_TRUE(platform.messages.empty());
  // The settings were saved at the start of the run.
  std::string saved;
  EXPECT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Dialogs\\DisplayStatusDialog",
                                     saved));
}

TEST_F(ConversionRun, ExistingOutputIsNotOverwrittenUnlessAllowed) {
  const std::string input = WriteText("doc.txt", kSampleText);
  const std::string output = WriteText("doc.rtf", "keep me");
  OxvDialog& main = MakeDialog();
  main.SetInputFile(input);
  EXPECT_EQ(main.RunConversion(), 0);
  EXPECT_EQ(ReadBytes(output), "keep me");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Output File Error");
  EXPECT_EQ(platform.messages[0].text,
            "File already exists.\nEither enable 'May overwrite existing files', or "
            "change the output name or folder");
  const std::string lines = StatusLines();
  EXPECT_TRUE(Contains(lines, "ERROR: File already exists - " + output)) << lines;
  EXPECT_TRUE(Contains(lines, "======: Enable 'May overwrite existing files'")) << lines;

  main.SetMayOverwrite(1);
  EXPECT_EQ(main.RunConversion(), 1);
  EXPECT_EQ(ReadBytes(output).rfind("{\\rtf", 0), 0u);
}

TEST_F(ConversionRun, PatternOutputNameIsCheckedAgainstTheInputName) {
  const std::string input = WriteText("doc.txt", kSampleText);
  WriteText("doc.rtf", "keep me");
  OxvDialog& main = MakeDialog();
  main.SetInputFile(input);
  main.SetOutputFile("*.rtf");
  EXPECT_EQ(main.RunConversion(), 0);
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")), "keep me");
}

TEST_F(ConversionRun, ClipboardOutputSkipsTheOverwriteCheckAndWritesNoFile) {
  const std::string input = WriteText("doc.txt", kSampleText);
  const std::string output = WriteText("doc.rtf", "keep me");
  OxvDialog& main = MakeDialog();
  main.SetInputFile(input);
  main.SetConversionType(kConversionToClipboard);
  ASSERT_EQ(main.RunConversion(), 1);
  EXPECT_EQ(platform.clipboard.rfind("{\\rtf", 0), 0u);
  EXPECT_TRUE(Contains(platform.clipboard, "first paragraph"));
  EXPECT_EQ(ReadBytes(output), "keep me");
}

TEST_F(ConversionRun, ClipboardThatFailsIsAnErrorAndTheFileFails) {
  const std::string input = WriteText("doc.txt", kSampleText);
  platform.clipboardWorks = false;
  OxvDialog& main = MakeDialog();
  main.SetInputFile(input);
  main.SetConversionType(kConversionToClipboard);
  EXPECT_EQ(main.RunConversion(), 0);
  EXPECT_TRUE(Contains(StatusLines(), "ERROR: Can't put the output of doc.txt on the clipboard"))
      << StatusLines();
}

TEST_F(ConversionRun, NoFileFoundIsToldAndTheRunStillSucceeds) {
  WriteText("empty.txt", "");
  struct Case {
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {folder.File("missing*.txt"), "No files found \"" + folder.File("missing*.txt") + "\""},
      {folder.File("empty.txt"), "Files are all empty"},
  };
  OxvDialog& main = MakeDialog();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    platform.messages.clear();
    main.SetInputFile(c.input);
    EXPECT_EQ(main.RunConversion(), 1);
    EXPECT_EQ(main.FoundNoFiles(), 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "File selection error");
    EXPECT_EQ(platform.messages[0].text, c.message);
    EXPECT_TRUE(Contains(StatusLines(), "ERROR: " + c.message)) << StatusLines();
    EXPECT_FALSE(status().IsShown());
  }
}

TEST_F(ConversionRun, ManyFilesQuietenTheMessagesUnlessThePolicyFileSetTheLevel) {
  for (int i = 0; i < 101; ++i)
    WriteText("many/f" + std::to_string(1000 + i) + ".txt", "text\n");
  // The first file's output exists: the run stops at once, after the list was made.
  WriteText("many/f1000.rtf", "keep");
  const std::string levelPolicy = WriteText("level.pol", "Error reporting level: 7\n");
  for (const bool policyFileSetsLevel : {false, true}) {
    SCOPED_TRACE(policyFileSetsLevel);
    OxvDialog& main = MakeDialog();
    if (policyFileSetsLevel) {
      main.SetPolicyFileName(levelPolicy);
      ASSERT_EQ(main.LoadPolicyFile(1), 1);
    }
    main.SetInputFile(folder.File("many/*.txt"));
    EXPECT_EQ(main.RunConversion(), 0);
    EXPECT_EQ(main.GetContext()->InputFiles.GetCount(), 101);
    EXPECT_EQ(main.PolicyFilePolicies().GetInt(PolicyId::ErrorReportingLevel),
              policyFileSetsLevel ? 7 : 1);
    EXPECT_EQ(main.PolicyFilePolicies().GetInt(PolicyId::SuppressINFOMessages),
              policyFileSetsLevel ? 0 : 1);
    status().Destroy();
    dialog.reset();
  }
}

TEST_F(ConversionRun, PolicyFileSheetChangesAndUserLayerAreLaidInOrder) {
  const std::string input = WriteText("doc.txt", kSampleText);
  const std::string policy = WriteText("layers.pol",
                                       "Document Author: From the policy file\n"
                                       "Document Subject: From the policy file\n");
  OxvDialog& main = MakeDialog();
  main.SetPolicyFileName(policy);
  ASSERT_EQ(main.LoadPolicyFile(1), 1);
  EXPECT_TRUE(main.IsPolicyFileLoaded());
  TextPolicy& subject = main.SheetChanges().Text(PolicyId::DocumentSubject);
  subject.value = "From the sheet";
  subject.set = 1;
  main.SetSheetChangesPending(1);
  main.SetInputFile(input);
  main.SetMayOverwrite(1);
  ASSERT_EQ(main.RunConversion(), 1);
  EXPECT_STREQ(main.OutputPassPolicies().GetText(PolicyId::DocumentAuthor).GetText(),
               "From the policy file");
  EXPECT_STREQ(main.OutputPassPolicies().GetText(PolicyId::DocumentSubject).GetText(),
               "From the sheet");
  EXPECT_TRUE(main.UserPolicies().IsSet(PolicyId::DocumentSubject)) << "the user layer accumulates";
  EXPECT_FALSE(main.UserPolicies().IsSet(PolicyId::DocumentAuthor));
  const std::string rtf = ReadBytes(folder.File("doc.rtf"));
  EXPECT_TRUE(Contains(rtf, "From the sheet")) << rtf.substr(0, 600);
  EXPECT_TRUE(Contains(rtf, "From the policy file"));

  // Loading the policy file again forgets the sheet changes.
  ASSERT_EQ(main.LoadPolicyFile(1), 1);
  EXPECT_FALSE(main.SheetChanges().IsSet(PolicyId::DocumentSubject));
}

TEST_F(ConversionRun, MissingMasterPolicyFileIsAnErrorLineAndTheRunGoesOn) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.SetPolicyFileName(folder.File("gone.pol"));
  main.SetInputFile(input);
  EXPECT_EQ(main.RunConversion(), 1);
  EXPECT_TRUE(Contains(StatusLines(), "ERROR: Can't find master policy file " +
                                          folder.File("gone.pol")));
  EXPECT_EQ(main.LoadPolicyFile(0), 0);
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_EQ(platform.messages.back().caption, "Policy File Error");
  EXPECT_EQ(platform.messages.back().text,
            "Can't find policy file \"" + folder.File("gone.pol") + "\"");
}

TEST_F(ConversionRun, LogFallsBackToTheProgramsNameInTheOutputFolder) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  Context& ctx = *main.GetContext();
  ctx.Commands.logRequested = 1;
  ctx.Commands.logFileName = folder.File("no-such-folder/run.log").c_str();
  main.SetInputFile(input);
  ASSERT_EQ(main.RunConversion(), 1);
  const std::string log = ReadBytes(folder.File("kelvane.log"));
  EXPECT_TRUE(Contains(log, "---- Making First Pass ----")) << log;
  const std::string lines = StatusLines();
  EXPECT_TRUE(Contains(lines, "*** Failed to open log file : " +
                                  folder.File("no-such-folder/run.log") + " ***"))
      << lines;
  EXPECT_TRUE(Contains(lines, "Opening " + folder.File("kelvane.log") + " instead")) << lines;
}

TEST_F(ConversionRun, AutoCloseHidesTheWindowAfterASuccessfulRun) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.Settings().autoDismissStatusDialog = 1;
  main.SetInputFile(input);
  ASSERT_EQ(main.RunConversion(), 1);
  EXPECT_FALSE(status().IsShown());
}

TEST_F(ConversionRun, ResultIsViewedWhenTheSettingAsks) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.Settings().autoDdeUpdates = 1;
  main.Settings().viewRtfCommand = "/usr/bin/viewer";
  main.SetInputFile(input);
  ASSERT_EQ(main.RunConversion(), 1);
  ASSERT_EQ(platform.processes.size(), 1u);
  EXPECT_EQ(platform.processes[0].program, "/usr/bin/viewer");
  EXPECT_EQ(platform.processes[0].argument, folder.File("doc.rtf"));
}

TEST(BaseDialogRules, MakeOutputNameKeepsNameAndExtension) {
  HeadlessPlatform platform;
  OxvDialog main(platform, GlobalStatusWindow());
  struct Case {
    const char* inputDir;
    const char* input;
    const char* output;
    int result;
  };
  const Case cases[] = {
      {"/data/in/", "report.txt", "report.rtf", 1},
      {"", "/data/in/report", "report.rtf", 1},
      {"/data/v1.2/", "readme", "readme.rtf", 1},
      {"/data/in/", "*.txt", "*.rtf", 0},
      {"/data/in/", "\"a.txt\" \"b.txt\"", "*.rtf", 0},
      {"", " a.txt", "*.rtf", 0},
      {"", "", "*.rtf", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.inputDir) + c.input);
    main.SetInputDir(c.inputDir);
    std::string output;
    EXPECT_EQ(main.MakeOutputName(c.input, output), c.result);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(main.GetDerivedOutputName(), c.output);
  }
}

TEST(BaseDialogRules, PolicyChangeMarksThePassesItsCategoryNeeds) {
  HeadlessPlatform platform;
  OxvDialog main(platform, GlobalStatusWindow());
  CommandSettings& commands = main.GetContext()->Commands;
  struct Case {
    int category;
    int result;
    int analysis, contents, output;
  };
  const Case cases[] = {
      {1, 0, 0, 0, 0}, {2, 0, 1, 0, 0}, {3, 0, 0, 0, 0}, {4, 1, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category);
    commands.analysisPassEnabled = commands.contentsPassEnabled = commands.outputPassEnabled = 0;
    EXPECT_EQ(main.NotePolicyChange(c.category), c.result);
    EXPECT_EQ(commands.analysisPassEnabled, c.analysis);
    EXPECT_EQ(commands.contentsPassEnabled, c.contents);
    EXPECT_EQ(commands.outputPassEnabled, c.output);
  }
}
