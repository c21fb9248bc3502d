#include "app/OxvApp.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopFixture.h"

namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Start-up on the headless desktop: every run of the main dialog is recorded with the input
// it showed.
class StartUp : public DesktopTest {
 protected:
  StartUp() {
    platform.modalScripts[kDialogMain] = [this](HeadlessDialog& window) {
      mainDialogInputs.push_back(window.GetText(1122));
      return 2;
    };
  }
  int Run(const std::vector<std::string>& args) {
    OxvApp app(platform);
    return app.InitInstance(args);
  }
  std::vector<std::string> mainDialogInputs;
};

}  // namespace

TEST_F(StartUp, WithoutArgumentsTheMainDialogRuns) {
  EXPECT_EQ(Run({}), 0);
  ASSERT_EQ(mainDialogInputs.size(), 1u);
  EXPECT_EQ(mainDialogInputs[0], "");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartUp, DdeThatHungLastTimeIsSwitchedOff) {
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\DDEWorking", "No");
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\UseDDEToViewHTML", "Yes");
  EXPECT_EQ(Run({}), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Problems using DDE detected");
  std::string stored;
  ASSERT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\UseDDEToViewHTML", stored));
  EXPECT_EQ(stored, "No") << "saved when the main dialog went away";
}

TEST_F(StartUp, HelpQualifierConvertsNothingAndShowsNoDialog) {
  const std::string input = WriteText("doc.txt", kSampleText);
  testing::internal::CaptureStdout();
  const int status = Run({input, "/?"});
  const std::string usage = testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(mainDialogInputs.empty());
  EXPECT_FALSE(fs::exists(folder.File("doc.rtf")));
  EXPECT_FALSE(usage.empty());
}

TEST_F(StartUp, OneFileIsConvertedWithoutTheMainDialog) {
  const std::string input = WriteText("doc.txt", kSampleText);
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewStatusWindow",
                                "Yes");
  EXPECT_EQ(Run({input}), 0);
  EXPECT_TRUE(mainDialogInputs.empty());
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")).rfind("{\\rtf", 0), 0u);
  EXPECT_TRUE(Contains(StatusLines(), "---- Starting Output pass ----")) << StatusLines();
  EXPECT_TRUE(platform.messages.empty());
  std::string recent;
  ASSERT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Files\\MRU00", recent));
  EXPECT_EQ(recent, input);
}

TEST_F(StartUp, StartProgramOpensTheMainDialogAfterASuccessfulRun) {
  const std::string input = WriteText("doc.txt", kSampleText);
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\StartProgram", "Yes");
  EXPECT_EQ(Run({input}), 0);
  ASSERT_EQ(mainDialogInputs.size(), 1u);
  EXPECT_EQ(mainDialogInputs[0], input);
}

TEST_F(StartUp, FailedConversionIsToldAndOpensTheMainDialog) {
  const std::string input = WriteText("doc.txt", kSampleText);
  WriteText("doc.rtf", "keep me");
  EXPECT_EQ(Run({input}), 1);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].caption, "Output File Error");
  EXPECT_EQ(platform.messages[1].text, "Conversion failed");
  EXPECT_EQ(platform.messages[1].caption, "Convert Error");
  ASSERT_EQ(mainDialogInputs.size(), 1u);
  EXPECT_EQ(mainDialogInputs[0], input) << "the arguments are already filled in";
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")), "keep me");
}

TEST_F(StartUp, RunThatFindsNoFileExitsNonZero) {
  const std::string input = WriteText("empty.txt", "");
  EXPECT_EQ(Run({input}), 1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Files are all empty");
  EXPECT_TRUE(mainDialogInputs.empty());
}

TEST_F(StartUp, FilesOfSeveralFoldersAreEachConvertedInTheirOwnFolder) {
  const std::string a = WriteText("one/a.txt", kSampleText);
  const std::string b = WriteText("two/b.txt", kSampleText);
  const std::string c = WriteText("two/c.txt", kSampleText);
  EXPECT_EQ(Run({a, b, c}), 0) << StatusLines();
  EXPECT_TRUE(fs::exists(folder.File("one/a.rtf")));
  EXPECT_TRUE(fs::exists(folder.File("two/b.rtf")));
  EXPECT_TRUE(fs::exists(folder.File("two/c.rtf")));
  EXPECT_FALSE(fs::exists(folder.File("one/b.rtf")));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartUp, ArgumentFormsThatAreNotInputFiles) {
  const std::string input = WriteText("doc.txt", kSampleText);
  const std::string policy = WriteText("Settings.POL", "Document Author: Somebody\n");
  EXPECT_EQ(Run({policy, "name@host", folder.File("absent.txt"), "/NOSUCHQUALIFIER", input}), 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "Steering files not yet supported");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(platform.messages[1].text, "Unable to locate file \"" + folder.File("absent.txt") + "\"");
  EXPECT_TRUE(Contains(StatusLines(), "Failed to parse - /NOSUCHQUALIFIER")) << StatusLines();
  EXPECT_TRUE(Contains(StatusLines(), "Loading policy file " + policy)) << StatusLines();
  EXPECT_TRUE(Contains(ReadBytes(folder.File("doc.rtf")), "Somebody"));
  std::string recent;
  ASSERT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Policy\\MRU00", recent));
  EXPECT_EQ(recent, policy);
}

TEST_F(StartUp, WildcardFirstArgumentKeepsItsPattern) {
  WriteText("w/a.txt", kSampleText);
  WriteText("w/b.txt", kSampleText);
  EXPECT_EQ(Run({folder.File("w/*.txt")}), 0) << StatusLines();
  EXPECT_TRUE(fs::exists(folder.File("w/a.rtf")));
  EXPECT_TRUE(fs::exists(folder.File("w/b.rtf")));
}

TEST(LanguageIdFromName, NamesMapToTheirIdsAndAnythingElseToEnglish) {
  struct Case {
    const char* name;
    int code;
  };
  const Case cases[] = {
      {"Dutch", 9},   {"English", 1}, {"French", 4},     {"German", 2},  {"Italian", 6},
      {"Spanish", 3}, {"Swedish", 7}, {"Portuguese", 5}, {"Russian", 8}, {"Other", -1},
      {"german", 1},  {"", 1},        {"Klingon", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LanguageIdFromName(c.name), c.code);
  }
}
