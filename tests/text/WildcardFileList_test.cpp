#include "text/WildcardFileList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A folder tree made fresh for each test and removed afterwards.
class WildcardFileListTree : public testing::Test {
 protected:
  void SetUp() override {
    root_ = TempPath("wildcard", "dir");
    fs::remove_all(root_);
    fs::create_directories(root_ / "sub" / "deeper");
    Write("notes.txt", "a");
    Write("NOTES.TXT", "b");
    Write("notes.txt.bak", "c");
    Write("empty.txt", "");
    Write("other.doc", "d");
    Write("sub/inner.txt", "e");
    Write("sub/deeper/deep.TXT", "f");
    Write(".hidden/skipped.txt", "g");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& name, const std::string& content) {
    fs::create_directories((root_ / name).parent_path());
    std::ofstream(root_ / name, std::ios::binary) << content;
  }

  std::vector<std::string> List(const std::string& spec, int subFolders) {
    int folderCount = 0;
    TextString out;
    const std::string full = root_.string() + "/" + spec;
    list_.ListMatchingFiles(TextString(full.c_str()), subFolders, 0, folderCount, out);
    folders_ = folderCount;
    std::vector<std::string> names;
    const std::string prefix = root_.string() + "/";
    for (int i = 0; i < list_.GetFileCount(); ++i) {
      std::string name = list_.GetFileName(i);
      EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
      names.push_back(name.substr(prefix.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
  WildcardFileList list_;
  int folders_ = 0;
};

}  // namespace

TEST(WildcardFileList, MatchName) {
  struct Case {
    const char* wildcard;
    const char* name;
    int match;
  };
  const Case cases[] = {
      {"*.txt", "notes.txt", 1},     {"*.txt", "NOTES.TXT", 1},
      {"*.txt", "notes.txt.bak", 0}, {"*.txt", ".txt", 1},
      {"a%c.txt", "abc.txt", 1},     {"a%c.txt", "ac.txt", 0},
      {"a%c.txt", "abbc.txt", 0},    {"a?c.txt", "abc.txt", 0},
      {"notes.txt", "Notes.Txt", 1}, {"notes.txt", "notes.txt2", 0},
      {"*", "anything.at.all", 1},   {"", "x", 0},
      {"x", "", 0},                  {nullptr, "x", 0},
  };
  WildcardFileList list;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.wildcard ? c.wildcard : "(null)") << " ~ " << c.name);
    EXPECT_EQ(list.MatchName(c.wildcard, c.name), c.match);
  }
  EXPECT_EQ(list.MatchPath("/some/where/*.TXT", "other/place/x.txt"), 1);
  EXPECT_EQ(list.MatchPath("/some/where/*.TXT", "x.doc"), 0);
}

TEST_F(WildcardFileListTree, ListsMatchingFilesAndKeepsTheEmptyOnesApart) {
  const std::vector<std::string> expected = {"NOTES.TXT", "notes.txt"};
  EXPECT_EQ(List("*.txt", 0), expected);
  EXPECT_EQ(list_.GetEmptyFileCount(), 1);
  EXPECT_EQ(folders_, 0);
  ASSERT_EQ(list_.GetEmptyFiles().GetCount(), 1);
  EXPECT_STREQ(list_.GetEmptyFiles().GetItem(0)->text.GetText(), "empty.txt");
}

TEST_F(WildcardFileListTree, DescendsIntoSubFoldersButNotDotFolders) {
  const std::vector<std::string> expected = {"NOTES.TXT", "notes.txt", "sub/deeper/deep.TXT",
                                             "sub/inner.txt"};
  EXPECT_EQ(List("*.txt", 1), expected);
  EXPECT_EQ(folders_, 2);
  EXPECT_EQ(list_.GetEmptyFileCount(), 1);
}

TEST_F(WildcardFileListTree, SymbolicLinkLoopIsNotFollowed) {
  fs::create_directory_symlink(root_, root_ / "sub" / "loop");
  fs::create_symlink(root_ / "notes.txt", root_ / "link.txt");
  const std::vector<std::string> expected = {"NOTES.TXT", "link.txt", "notes.txt",
                                             "sub/deeper/deep.TXT", "sub/inner.txt"};
  EXPECT_EQ(List("*.txt", 1), expected);
}

TEST_F(WildcardFileListTree, FetchesByIndexAndStartsAfreshEachOutermostCall) {
  List("*.txt", 0);
  int folderCount = 0;
  TextString out;
  list_.ListMatchingFiles(TextString(""), 0, 1, folderCount, out);
  EXPECT_FALSE(out.IsEmpty());
  list_.ListMatchingFiles(TextString(""), 0, 2, folderCount, out);
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(List("*.doc", 0), std::vector<std::string>{"other.doc"});
  EXPECT_EQ(list_.GetEmptyFileCount(), 0);
}

TEST_F(WildcardFileListTree, ShortNameTakesTheNamedFile) {
  Write("REPORT~1.TXT", "r");
  EXPECT_EQ(List("report~1.txt", 0), std::vector<std::string>{"REPORT~1.TXT"});
}

TEST_F(WildcardFileListTree, MissingFolderGivesNothing) {
  EXPECT_TRUE(List("nowhere/*.txt", 1).empty());
  EXPECT_EQ(list_.GetEmptyFileCount(), 0);
}
