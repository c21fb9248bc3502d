#include "text/PathUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TestFiles.h"

namespace {

struct SplitCase {
  const char* path;
  const char* folder;
  const char* baseName;
  const char* extension;
};

TEST(SplitPath, SplitsFolderBaseAndExtension) {
  constexpr SplitCase kCases[] = {
      {"C:\\docs\\report.final.txt", "C:\\docs\\", "report.final", ".txt"},
      {"/home/me/report.final.txt", "/home/me/", "report.final", ".txt"},
      {"README", "", "README", ""},
      {"", "", "", ""},
      {".profile", "", "", ".profile"},
      {"dir/name.", "dir/", "name.", ""},
      {"mixed\\sub/a.b", "mixed\\sub/", "a", ".b"},
      {"/x.txt", "/", "x", ".txt"},  // the root is a folder too
      {"dir.d/file", "dir.d/", "file", ""},
  };
  for (const SplitCase& c : kCases) {
    SCOPED_TRACE(c.path);
    TextString folder("old");
    TextString baseName("old");
    TextString extension("old");
    SplitPath(TextString(c.path), folder, baseName, extension);
    EXPECT_STREQ(folder.GetText(), c.folder);
    EXPECT_STREQ(baseName.GetText(), c.baseName);
    EXPECT_STREQ(extension.GetText(), c.extension);
  }
}

TEST(ExtractFolder, KeepsThroughTheLastSeparatorOrBracket) {
  const struct {
    const char* path;
    const char* folder;
  } kCases[] = {
      {"/a/b/c.txt", "/a/b/"}, {"C:\\a\\c.txt", "C:\\a\\"}, {"DISK:[dir]file", "DISK:[dir]"},
      {"file.txt", ""},         {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    TextString folder("old");
    ExtractFolder(c.path, folder);
    EXPECT_STREQ(folder.GetText(), c.folder);
    ExtractFolder(TextString(c.path), folder);
    EXPECT_STREQ(folder.GetText(), c.folder);
  }
  TextString folder("old");
  ExtractFolder(static_cast<const char*>(nullptr), folder);
  EXPECT_TRUE(folder.IsEmpty());
}

TEST(IsRelativePath, AbsoluteMeansRootOrDrive) {
  const struct {
    const char* path;
    bool relative;
  } kCases[] = {
      {"/etc/x", false}, {"C:\\x", false}, {"c:/x", false}, {"\\\\server\\x", false},
      {"x/y", true},     {"../y", true},   {"", true},      {"a:b", true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IsRelativePath(TextString(c.path)), c.relative);
  }
}

struct ResolveCase {
  const char* base;
  const char* path;
  const char* expected;
};

TEST(ResolveRelativePath, ResolvesAgainstTheBaseFolder) {
  constexpr ResolveCase kCases[] = {
      {"C:\\one\\two\\three\\", "..\\..\\x\\a.txt", "C:\\one\\x\\a.txt"},
      {"/one/two/three/", "../../x/a.txt", "/one/x/a.txt"},
      {"/one/two/", "a.txt", "/one/two/a.txt"},
      {"/one/two/", "sub/a.txt", "/one/two/sub/a.txt"},
      {"/one/two/", "/abs/a.txt", "/abs/a.txt"},
      {"/one/two/", "C:\\abs\\a.txt", "C:\\abs\\a.txt"},
      {"/one/two/", "../a.txt", "/one/a.txt"},
      {"C:\\one\\", "../x/a.txt", "C:\\x/a.txt"},
      // A step after a folder of the path cancels that folder, not one of the base.
      {"/one/two/", "sub/../a.txt", "/one/two/a.txt"},
      {"/one/two/", "sub/deeper/../../../a.txt", "/one/a.txt"},
      {"/one/two/", "../sub/../a.txt", "/one/a.txt"},
      {"/one/two/", "/abs/sub/../a.txt", "/abs/a.txt"},
      {"C:\\one\\", "C:\\abs\\..\\a.txt", "C:\\a.txt"},
  };
  for (const ResolveCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.base << " + " << c.path);
    TextString out;
    ResolveRelativePath(TextString(c.base), TextString(c.path), out);
    EXPECT_STREQ(out.GetText(), c.expected);
  }
}

TEST(ResolveRelativePath, MoreParentStepsThanFoldersStopAtTheRoot) {
  constexpr ResolveCase kCases[] = {
      {"/one/", "../../../x/a.txt", "/x/a.txt"},
      {"C:\\one\\", "..\\..\\..\\a.txt", "C:\\a.txt"},
      {"/", "../a.txt", "/a.txt"},
      {"rel/", "../../a.txt", "a.txt"},  // a relative base climbs to its start only
      {"", "../a.txt", "a.txt"},
  };
  for (const ResolveCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.base << " + " << c.path);
    TextString out;
    ResolveRelativePath(TextString(c.base), TextString(c.path), out);
    EXPECT_STREQ(out.GetText(), c.expected);
  }
}

// A scratch folder removed at the end of the test.
class CreateFolderPathTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = TempPath("folders", "dir");
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string Path(const std::string& rest) const { return (root_ / rest).string(); }

  std::filesystem::path root_;
};

TEST_F(CreateFolderPathTest, MakesMissingParentsAndAcceptsExistingFolders) {
  const std::string deep = Path("a/b/c");
  EXPECT_EQ(CreateFolderPath(TextString(deep.c_str())), 1);
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  EXPECT_EQ(CreateFolderPath(TextString(deep.c_str())), 1);  // exists: still success
  const std::string trailing = Path("x//y/");
  EXPECT_EQ(CreateFolderPath(TextString(trailing.c_str())), 1);
  EXPECT_TRUE(std::filesystem::is_directory(Path("x/y")));
}

TEST_F(CreateFolderPathTest, FailsWhenAFileStandsInTheWay) {
  std::ofstream(Path("file")) << "x";
  EXPECT_EQ(CreateFolderPath(TextString(Path("file").c_str())), 0);
  EXPECT_EQ(CreateFolderPath(TextString(Path("file/sub").c_str())), 0);
  EXPECT_EQ(CreateFolderPath(TextString("")), 0);
}

TEST(MakeSafeFileName, LowersAndReplacesUnsafeBytes) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"My File!.TXT", "my_file_.txt"},
      {"a\"%&'*:<>?b", "a_________b"},
      {"dir/sub\\name-1.2", "dir/sub\\name-1.2"},
      // Windows-1252 accented vowels, then bytes with no plain form.
      {"\xC0\xC1\xC2\xC4\xE0\xE4", "aaaaaa"},
      {"\xC8\xCB\xE8\xEB\xCC\xCF\xEC\xEF", "eeeeiiii"},
      {"\xD2\xD4\xD6\xF2\xF6\xD9\xDC\xF9\xFC", "ooooouuuu"},
      {"\xC3\xC5\xD5\xD8\x80\xFF", "______"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString name(c.in);
    MakeSafeFileName(name);
    EXPECT_STREQ(name.GetText(), c.out);
  }
}

TEST(ShortenName, LongNamesBecomeThreeCharactersAndFiveDigits) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"abcdefgh", "abcdefgh"},   // 8 characters stay
      {"abcdefghi", "abc00324"},  // sum of (byte - 65) = 32 * 9 + 36 = 324
      {"AAAAAAAAA", "AAA00000"},  // sum 0: ((0 - 1) % 10000) + 1 = 0
      {"!!!!!!!!!", "!!!-0028"},  // sum -288 keeps its sign: "-00288", cut to five
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString name(c.in);
    ShortenName(name);
    EXPECT_STREQ(name.GetText(), c.out);
  }
}

}  // namespace
