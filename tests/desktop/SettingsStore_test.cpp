#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestFiles.h"

namespace fs = std::filesystem;

TEST(SettingsStore, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  MemorySettingsStore store;
  ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\TextSubstitutionFile\\MRU00", "a.txt"));
  std::string value;
  EXPECT_TRUE(store.Read("software\\norvane\\kelvane\\TextsubstitutionFile\\mru00", value));
  EXPECT_EQ(value, "a.txt");
  ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\Options\\outputType", "1 "));
  ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\Options\\OutputType", "2 "));
  EXPECT_EQ(store.Count(), 2);
  EXPECT_TRUE(store.Read("SOFTWARE/Norvane/Kelvane/Options/OUTPUTTYPE", value));
  EXPECT_EQ(value, "2 ");
  EXPECT_FALSE(store.Read("SOFTWARE\\Norvane\\Kelvane\\Options", value)) << "a parent key holds no value";
  EXPECT_FALSE(store.Write("", "x"));
  EXPECT_FALSE(store.Write("a\nb", "x"));
}

TEST(SettingsStore, FileKeepsEveryByteOfItsValuesAcrossARestart) {
  TempFolder folder("settings");
  const std::string path = folder.File("kelvane/settings");
  const std::string awkward = std::string("tab\there\nline\\back\r") + '\0' + "end";
  {
    FileSettingsStore store(path);
    EXPECT_TRUE(store.GetLoadProblem().empty());
    ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\InputFile\\Delimter", "\t"));
    ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\Odd", awkward));
    ASSERT_TRUE(store.Write("SOFTWARE\\Norvane\\Kelvane\\Empty", ""));
  }
  FileSettingsStore again(path);
  EXPECT_TRUE(again.GetLoadProblem().empty());
  std::string value;
  ASSERT_TRUE(again.Read("software\\norvane\\kelvane\\inputfile\\delimter", value));
  EXPECT_EQ(value, "\t");
  ASSERT_TRUE(again.Read("SOFTWARE\\Norvane\\Kelvane\\Odd", value));
  EXPECT_EQ(value, awkward);
  ASSERT_TRUE(again.Read("SOFTWARE\\Norvane\\Kelvane\\Empty", value));
  EXPECT_EQ(value, "");
  // Only the settings file is left: the temporary file was renamed over it.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder.path / "kelvane")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(SettingsStore, BatchWritesTheFileOnceAtItsEnd) {
  TempFolder folder("settings");
  const std::string path = folder.File("settings");
  FileSettingsStore store(path);
  store.BeginBatch();
  ASSERT_TRUE(store.Write("K\\A", "1"));
  EXPECT_FALSE(fs::exists(path)) << "nothing is written inside a batch";
  store.EndBatch();
  EXPECT_TRUE(fs::exists(path));
}

TEST(SettingsStore, DamagedFileGivesDefaultsAMessageAndIsKept) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"no header", "SOFTWARE\\K\\A\tvalue\n"},
      {"line without a value", "# Kelvane settings 1\nSOFTWARE\\K\\A\n"},
      {"unknown escape", "# Kelvane settings 1\nSOFTWARE\\K\\A\tbad\\q\n"},
      {"binary", std::string("\x7f" "ELF\0\0\0", 7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder("settings");
    const std::string path = folder.File("settings");
    WriteBytes(path, c.bytes);
    FileSettingsStore store(path);
    EXPECT_EQ(store.Count(), 0);
    EXPECT_NE(store.GetLoadProblem().find(path), std::string::npos) << store.GetLoadProblem();
    EXPECT_EQ(ReadBytes(path + ".damaged"), c.bytes);
    ASSERT_TRUE(store.Write("SOFTWARE\\K\\A", "fresh"));
    FileSettingsStore again(path);
    EXPECT_TRUE(again.GetLoadProblem().empty());
  }
}

TEST(SettingsStore, FileWriteIntoAFolderThatCannotBeMadeFails) {
  TempFolder folder("settings");
  WriteBytes(folder.File("blocker"), "a file where a folder should be");
  FileSettingsStore store(folder.File("blocker/settings"));
  EXPECT_FALSE(store.Write("K\\A", "1"));
}

TEST(SettingsStore, DefaultPathFollowsTheConfigFolder) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = savedConfig != nullptr ? savedConfig : "";
  setenv("XDG_CONFIG_HOME", "/tmp/own-config", 1);
  EXPECT_EQ(FileSettingsStore::DefaultPath(), "/tmp/own-config/kelvane/settings");
  unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(FileSettingsStore::DefaultPath(), std::string(home) + "/.config/kelvane/settings");
  if (savedConfig != nullptr)
    setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}
