#include "engine/InputSpecs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A small tree: root/{a.txt, B.TXT, my file.txt, notes.dat, empty.txt (0 bytes)},
// root/sub/{c.txt, deeper/d.txt}.
class InputSpecs : public testing::Test {
 protected:
  void SetUp() override {
    root_ = TempPath("inputspecs", "dir");
    fs::remove_all(root_);
    fs::create_directories(root_ / "sub" / "deeper");
    WriteBytes((root_ / "a.txt").string(), "a\n");
    WriteBytes((root_ / "B.TXT").string(), "b\n");
    WriteBytes((root_ / "my file.txt").string(), "m\n");
    WriteBytes((root_ / "notes.dat").string(), "n\n");
    WriteBytes((root_ / "empty.txt").string(), "");
    WriteBytes((root_ / "sub" / "c.txt").string(), "c\n");
    WriteBytes((root_ / "sub" / "deeper" / "d.txt").string(), "d\n");
    ctx_.Commands.displayMessages = 0;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Path(const std::string& name) const { return root_.string() + "/" + name; }

  // The four lists, one line per entry: file | specification | policy | steering line.
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < ctx_.InputFiles.GetCount(); ++i) {
      out.push_back(std::string(ctx_.InputFiles.GetItem(i)->text.GetText()) + " | " +
                    ctx_.InputSpecs.GetItem(i)->text.GetText() + " | " +
                    ctx_.InputPolicyFiles.GetItem(i)->text.GetText() + " | " +
                    ctx_.InputSteeringLines.GetItem(i)->text.GetText());
    }
    EXPECT_EQ(ctx_.InputSpecs.GetCount(), ctx_.InputFiles.GetCount());
    EXPECT_EQ(ctx_.InputPolicyFiles.GetCount(), ctx_.InputFiles.GetCount());
    EXPECT_EQ(ctx_.InputSteeringLines.GetCount(), ctx_.InputFiles.GetCount());
    return out;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> out;
    for (int i = 0; i < ctx_.InputFiles.GetCount(); ++i)
      out.push_back(ctx_.InputFiles.GetItem(i)->text.GetText());
    return out;
  }
  std::string Messages() const { return ctx_.PendingSessionText.GetText(); }

  fs::path root_;
  Context ctx_{2, kOutputRtf};
};

}  // namespace

TEST_F(InputSpecs, WildcardsMatchSortedAndSkipEmptyFiles) {
  ExpandFileSpec(ctx_, TextString(Path("*.txt").c_str()), TextString("p.pol"), TextString());
  EXPECT_EQ(Entries(), (std::vector<std::string>{
                           Path("a.txt") + " | " + Path("*.txt") + " | p.pol | ",
                           Path("B.TXT") + " | " + Path("*.txt") + " | p.pol | ",
                           Path("my file.txt") + " | " + Path("*.txt") + " | p.pol | ",
                       }));
  EXPECT_EQ(Messages(), "");

  ctx_.ResetRunState();
  ExpandFileSpec(ctx_, TextString(Path("%.dat").c_str()), TextString(), TextString());
  EXPECT_TRUE(Files().empty());  // "%" is exactly one character
  ExpandFileSpec(ctx_, TextString(Path("notes.%%%").c_str()), TextString(), TextString());
  EXPECT_EQ(Files(), std::vector<std::string>{Path("notes.dat")});
}

TEST_F(InputSpecs, SubFoldersAreSearchedOnlyWhenAsked) {
  const TextString spec(Path("*.txt").c_str());
  ctx_.Commands.searchSubfolders = 1;
  ExpandFileSpec(ctx_, spec, TextString(), TextString());
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("a.txt"), Path("B.TXT"), Path("my file.txt"),
                                               Path("sub/c.txt"), Path("sub/deeper/d.txt")}));
}

TEST_F(InputSpecs, MissingFilesAddNothingSilently) {
  ExpandFileSpec(ctx_, TextString(Path("none*.txt").c_str()), TextString(), TextString());
  ExpandFileSpec(ctx_, TextString(Path("absent/a.txt").c_str()), TextString(), TextString());
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Messages(), "");
}

TEST_F(InputSpecs, UnreadableFirstMatchIsReported) {
  const fs::path locked = root_ / "locked.txt";
  WriteBytes(locked.string(), "x\n");
  fs::permissions(locked, fs::perms::none);
  if (std::ifstream(locked).good()) GTEST_SKIP() << "permissions do not bind this user";
  const TextString spec(Path("lock*.txt").c_str());
  ExpandFileSpec(ctx_, spec, TextString(), TextString());
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Messages(), "SESSION: ERROR: Can't find or open " + Path("lock*.txt"));
}

TEST_F(InputSpecs, NameListsTakeBracketedNamesFirst) {
  const std::string list = Path("a.txt") + "   <" + Path("my file.txt") + "> " + Path("B.TXT") +
                           " <" + Path("sub/c.txt") + ">";
  ASSERT_EQ(ConvertFileSpecs(0, TextString(), TextString(list.c_str()), TextString(), ctx_, 1), 1);
  EXPECT_EQ(Files(), (std::vector<std::string>{Path("my file.txt"), Path("sub/c.txt"),
                                               Path("a.txt"), Path("B.TXT")}));

  // Without the list flag the whole specification is one name.
  ctx_.ResetRunState();
  const std::string one = Path("my file.txt");
  ASSERT_EQ(ConvertFileSpecs(0, TextString(), TextString(one.c_str()), TextString(), ctx_, 0), 1);
  EXPECT_EQ(Files(), std::vector<std::string>{one});
}

TEST_F(InputSpecs, QuotedListsExpandEveryItemOnce) {
  struct Case {
    std::string spec;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      // A folder glued to the first quote goes in front of every quoted name.
      {root_.string() + "/\"my file.txt\" \"a.txt\"", {Path("my file.txt"), Path("a.txt")}},
      // Entries that begin with a separator (a list of dropped files) join it once.
      {root_.string() + "/\"/my file.txt\" \"\\a.txt\"", {Path("my file.txt"), Path("a.txt")}},
      // Names outside the quotes are kept.
      {"\"" + Path("my file.txt") + "\" " + Path("B.TXT") + " \"" + Path("a.txt") + "\"",
       {Path("my file.txt"), Path("B.TXT"), Path("a.txt")}},
      {Path("B.TXT") + " \"" + Path("a.txt") + "\"", {Path("B.TXT"), Path("a.txt")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec);
    ctx_.ResetRunState();
    ASSERT_EQ(ConvertFileSpecs(0, TextString(), TextString(c.spec.c_str()), TextString(), ctx_, 1),
              1);
    EXPECT_EQ(Files(), c.files);
  }
}

TEST_F(InputSpecs, SteeringFileLinesCarryTheirOwnPolicyFiles) {
  const std::string steering = Path("steer.lst");
  const std::string line2 = Path("a.txt") + " first.pol /DOS";
  const std::string line3 = "<" + Path("my file.txt") + "> " + Path("B.TXT");
  const std::string line4 = "\"" + Path("sub/c.txt") + "\"  /L";
  WriteBytes(steering,
             "# the files of this run\n" + line2 + "\n" + line3 + "\n\n" + line4 + "\n");

  ASSERT_EQ(ConvertFileSpecs(1, TextString(steering.c_str()), TextString(), TextString(), ctx_, 1),
            1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{
                           Path("a.txt") + " | " + Path("a.txt") + " | first.pol | " + line2,
                           Path("my file.txt") + " | " + Path("my file.txt") + " |  | " + line3,
                           Path("B.TXT") + " | " + Path("B.TXT") + " |  | " + line3,
                           Path("sub/c.txt") + " | " + Path("sub/c.txt") + " |  | " + line4,
                       }));
  // Qualifiers of a line act on that line only; its messages reach the run.
  EXPECT_EQ(ctx_.Commands.dosNames, 0);
  EXPECT_EQ(Messages(),
            "SESSION: INFO: Steering file: Ignoring comment line \"# the files of this run\"\n"
            "SESSION: *** Unrecognised, ambiguous or repeated qualifiers : /L ");
}

TEST_F(InputSpecs, SteeringFileOfCommentsYieldsNoFiles) {
  const std::string fixture = std::string(KELVANE_FIXTURES_DIR) + "/engine/steering-comments.txt";
  ASSERT_EQ(ConvertFileSpecs(1, TextString(fixture.c_str()), TextString(), TextString(), ctx_, 1),
            1);
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Messages(),
            "SESSION: INFO: Steering file: Ignoring comment line \"! nothing to convert here\"\n"
            "SESSION: INFO: Steering file: Ignoring comment line \"#a.txt /DOS\"");
}

TEST_F(InputSpecs, MissingSteeringFileIsReported) {
  const std::string missing = Path("no-such-steering.lst");
  EXPECT_EQ(ConvertFileSpecs(1, TextString(missing.c_str()), TextString(), TextString(), ctx_, 1),
            0);
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Messages(), "SESSION: ERROR: Can't open \"" + missing + "\"");
}
