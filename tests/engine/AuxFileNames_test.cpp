#include "engine/AuxFileNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// The names of one input under the naming settings a test gives.
class AuxFileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override { fc.AttachContext(&ctx); }
  void Derive(const char* input, const char* inputPattern = "", const char* outputPattern = "") {
    DeriveAuxFileNames(input, inputPattern, outputPattern, fc, ctx, names);
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  CommandSettings& commands = ctx.Commands;
  AuxFileNames names;
};

}  // namespace

TEST_F(AuxFileNamesTest, OutputBesideTheInputWithTheDefaultExtension) {
  Derive("/data/in/report.txt");
  EXPECT_STREQ(names.inputFolder.GetText(), "/data/in/");
  EXPECT_STREQ(names.outputFolder.GetText(), "/data/in/");
  EXPECT_STREQ(names.outputBaseName.GetText(), "report");
  EXPECT_STREQ(names.outputExtension.GetText(), ".rtf");
  EXPECT_TRUE(names.analysisListName.IsEmpty());
  EXPECT_TRUE(names.outputListName.IsEmpty());
  EXPECT_TRUE(names.statisticsName.IsEmpty());
}

TEST_F(AuxFileNamesTest, BaseNameAndExtension) {
  const struct {
    const char* input;
    const char* baseSetting;     // the output base-name setting
    const char* specification;   // the output specification
    const char* outputPattern;
    const char* base;
    const char* extension;
  } kCases[] = {
      {"in.asc", "", "", "", "out", ".rtf"},
      {"IN.ASC", "report", "", "", "out", ".rtf"},
      {"/d/in.asc", "", "", "", "in", ".rtf"},  // only the bare name
      {"ins.asc", "", "", "", "ins", ".rtf"},
      {"a.txt", "*", "", "", "a", ".rtf"},
      {"a.txt", "report", "", "", "report", ".rtf"},
      {"a.txt", "", "/o/x.doc", "", "a", ".doc"},
      {"a.txt", "", "/o/x.*", "", "a", ".rtf"},          // ".*" leaves the default
      {"a.txt", "", "/o/x.*", "/o/*.wri", "a", ".wri"},  // ... or the pattern's
      {"a.txt", "report", "", "/o/*.rtf", "report", ".rtf"},  // "*" keeps the base
      {"a.txt", "report", "", "/o/final.rtf", "final", ".rtf"},
      {"a.txt", "", "/o/x.doc", "/o/y.*", "y", ".doc"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.input << " " << c.baseSetting << " "
                                    << c.specification << " " << c.outputPattern);
    commands.outputBaseName = c.baseSetting;
    commands.outputSpec = c.specification;
    Derive(c.input, "", c.outputPattern);
    EXPECT_STREQ(names.outputBaseName.GetText(), c.base);
    EXPECT_STREQ(names.outputExtension.GetText(), c.extension);
  }
}

TEST_F(AuxFileNamesTest, ListAndStatisticsNamesFollowTheInput) {
  const struct {
    int listFiles, listAndStatistics, diagnostics, shortNames;
    const char* list1;
    const char* list2;
    const char* statistics;
  } kCases[] = {
      {1, 0, 0, 0, "/o/in.lis1", "/o/in.lis", ""},
      {0, 1, 0, 0, "/o/in.lis1", "/o/in.lis", "/o/in.stats"},
      {0, 0, 1, 0, "/o/in.lis1", "/o/in.lis", "/o/in.stats"},
      {0, 1, 0, 1, "/o/in.ls1", "/o/in.lis", "/o/in.sts"},
      {1, 0, 0, 1, "/o/in.ls1", "/o/in.lis", ""},
      {0, 0, 0, 1, "", "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.listFiles << c.listAndStatistics << c.diagnostics
                                    << c.shortNames);
    commands.listFiles = c.listFiles;
    commands.listAndStatisticsFiles = c.listAndStatistics;
    commands.dosNames = c.shortNames;
    fc.Bool(PolicyId::GenerateDiagnosticsFiles).value = c.diagnostics;
    commands.outputFolder = "/o/";
    Derive("in.asc");  // the output is "out"; the diagnostics stay named after the input
    EXPECT_STREQ(names.outputBaseName.GetText(), "out");
    EXPECT_STREQ(names.analysisListName.GetText(), c.list1);
    EXPECT_STREQ(names.outputListName.GetText(), c.list2);
    EXPECT_STREQ(names.statisticsName.GetText(), c.statistics);
  }
}

TEST_F(AuxFileNamesTest, OutputFolder) {
  const struct {
    const char* input;
    const char* inputPattern;
    int tree;
    const char* folderSetting;
    int useAlternative;
    const char* outputPattern;
    const char* folder;
    const char* listFolder;  // the pattern's folder is not the list files'
  } kCases[] = {
      {"/in/a/x.txt", "/in/*.txt", 0, "", 0, "", "/in/a/", "/in/a/"},
      {"/in/a/x.txt", "/in/*.txt", 0, "/out/", 0, "", "/out/", "/out/"},
      {"/in/a/x.txt", "/in/*.txt", 0, "/out/", 1, "", "/alt/", "/alt/"},
      {"/in/a/x.txt", "/in/*.txt", 0, "/out/", 0, "/pat/*.rtf", "/pat/", "/out/"},
      {"/in/a/x.txt", "/in/*.txt", 0, "/out/", 0, "*/*.rtf", "/out/", "/out/"},
      // The sub-folder below the input pattern's folder is kept.
      {"/in/a/b/x.txt", "/in/*.txt", 1, "/out/", 0, "", "/out/a/b/", "/out/a/b/"},
      {"/in/a/b/x.txt", "\"/in/\"*.txt", 1, "/out/", 0, "", "/out/a/b/", "/out/a/b/"},
      {"/in/a/b/x.txt", "/in/*.txt", 1, "", 0, "", "/in/a/b/", "/in/a/b/"},
      {"/in/a/b/x.txt", "/in/*.txt", 1, "/out/", 1, "", "/alt/a/b/", "/alt/a/b/"},
      {"/in/a/b/x.txt", "/in/*.txt", 1, "/out/", 0, "/out/*.rtf", "/out/a/b/", "/out/a/b/"},
      {"in/a/x.txt", "*.txt", 1, "out/", 0, "", "out/in/a/", "out/in/a/"},
      // A list of quoted names has its folder before the first quote; a file outside the
      // pattern's folder keeps no sub-folder.
      {"/in/a/x.txt", "/in/\"a/x.txt\" \"b/y.txt\"", 1, "/out/", 0, "", "/out/a/", "/out/a/"},
      {"/in/x.txt", "/in/\"/x.txt\" \"/y.txt\"", 1, "/out/", 0, "", "/out/", "/out/"},
      {"/else/x.txt", "/in/*.txt", 1, "/out/", 0, "", "/out/", "/out/"},
      // Names written with backslashes and drives are understood.
      {"C:\\in\\a\\b\\x.txt", "C:\\in\\*.txt", 1, "D:\\out\\", 0, "", "D:\\out\\a\\b\\",
       "D:\\out\\a\\b\\"},
      {"C:\\in\\a\\b\\x.txt", "C:\\in\\*.txt", 0, "", 0, "", "C:\\in\\a\\b\\", "C:\\in\\a\\b\\"},
  };
  commands.alternativeOutputFolder = "/alt/";
  commands.listFiles = 1;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.input << " " << c.inputPattern << " tree " << c.tree
                                    << " " << c.folderSetting << " " << c.useAlternative << " "
                                    << c.outputPattern);
    commands.treeMatchesInput = c.tree;
    commands.outputFolder = c.folderSetting;
    commands.useAlternativeOutputFolder = c.useAlternative;
    Derive(c.input, c.inputPattern, c.outputPattern);
    EXPECT_STREQ(names.outputFolder.GetText(), c.folder);
    EXPECT_STREQ(names.outputBaseName.GetText(), "x");
    EXPECT_EQ(std::string(names.outputListName.GetText()), std::string(c.listFolder) + "x.lis");
  }
}

TEST_F(AuxFileNamesTest, MakingTheNamesCreatesTheOutputTree) {
  const fs::path root = TempPath("aux", "tree");
  fs::create_directories(root / "in" / "a" / "b");
  const std::string input = (root / "in" / "a" / "b" / "x.txt").string();
  const std::string pattern = (root / "in" / "*.txt").string();
  commands.treeMatchesInput = 1;
  commands.listFiles = 1;
  commands.outputFolder = ((root / "out").string() + "/").c_str();
  MakeAuxFileNames(input.c_str(), pattern.c_str(), "", fc, ctx, names);
  const fs::path made = root / "out" / "a" / "b";
  EXPECT_EQ(std::string(names.outputFolder.GetText()), made.string() + "/");
  EXPECT_EQ(std::string(names.outputListName.GetText()), (made / "x.lis").string());
  EXPECT_TRUE(fs::is_directory(made));
  fs::remove_all(root);
}
