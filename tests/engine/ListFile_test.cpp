#include "convert/ListFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/TestFiles.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// A list file whose lines land in memory, with the policy set's messages collected.
class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    file.SetSink(&lines);
    ASSERT_TRUE(file.OpenForWrite("memory", 0, 0));
  }

  std::string Line(int i) const {
    const StringListEntry* entry = lines.GetItem(i);
    return entry ? entry->text.GetText() : "<missing>";
  }
  std::string Prefix(const PreHTML& line, const ListFileFlags& flags = {}) {
    TextString out;
    BuildListPrefix(line, flags, fc, out);
    return out.GetText();
  }

  // A line of the main text (block 0) or of a block, with its type and text.
  void Prepare(PreHTML& line, int block, int number, int type, const char* text = "") {
    line.SetStartPosition(fc, TextPosition(block, number));
    line.SetLineType(type);
    line.SetRawCopy(TextString(text));
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  StringList lines;
  TextFile file;
  std::vector<std::string> messages;
};

}  // namespace

TEST_F(ListFileTest, LegendMatchesFixtureByteForByte) {
  const std::string path = TempPath("listfile", "legend.lis");
  TextFile real;
  ASSERT_TRUE(real.OpenForWrite(path.c_str(), 0, 0));
  WriteListLegend(&real);
  real.CloseAll();
  const std::string expected =
      ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/engine/legend.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadBytes(path), expected);
  std::remove(path.c_str());
}

TEST_F(ListFileTest, LegendNeedsAnOpenFile) {
  WriteListLegend(nullptr);
  TextFile closed;
  closed.SetSink(&lines);
  WriteListLegend(&closed);
  EXPECT_EQ(lines.GetCount(), 0);
}

struct PrefixCase {
  const char* what;
  unsigned flags;
  int block;
  int number;
  int type;
  int preformattedKind;
  int specialFormat;
  const char* expected;
};

constexpr PrefixCase kPrefixCases[] = {
    // Main text shows blanks for the block and its slash.
    {"main text", 0, 0, 12, 3, 0, 0, "         12:    3  |"},
    {"block line", 0, 3, 7, 1001, 0, 0, "    3/    7: 1001  |"},
    {"unset position", 0, -1, -1, 4, 0, 0, "           :    4  |"},
    {"null line", 0, 0, 5, -1, 0, 0, "          5:      n|"},
    {"ignored", 0, 0, 5, -4, 0, 0, "          5:      i|"},
    {"header null", 0, 0, 5, -2, 0, 0, "          5:      l|"},
    {"end of file", 0, 0, 5, -5, 0, 0, "          5:      *|"},
    {"ambiguous wins", kFlagAmbiguous, 0, 5, -5, 0, 0, "          5:      a|"},
    {"centred", kFlagCentred, 0, 1, 3, 0, 0, "c         1:    3  |"},
    // Column 1: each later rule overrides the earlier ones.
    {"roll-out", kFlagRollOut, 0, 1, 3, 0, 0, " |        1:    3  |"},
    {"count 5 is not pre-formatted", 0, 0, 1, 3, 5, 0, "          1:    3  |"},
    {"count 6 is pre-formatted", kFlagRollOut, 0, 1, 3, 6, 0,
     " +        1:    3  |"},
    {"mail over pre-formatted", kFlagMailHeader, 0, 1, 3, 6, 0,
     " m        1:    3  |"},
    {"code over mail", kFlagMailHeader | kFlagSampleCode, 0, 1, 3, 0, 0,
     " C        1:    3  |"},
    {"end of define block is F", 0, 0, 1, 1018, 0, 0, " F        1: 1018  |"},
    {"reset block", kFlagSampleCode, 0, 1, 1021, 0, 0, " R        1: 1021  |"},
    {"reset fragment", 0, 0, 1, 1028, 0, 0, " R        1: 1028  |"},
    {"html over reset", kFlagUserHtml, 0, 1, 1027, 0, 0, " H        1: 1027  |"},
    {"table format", kFlagUserHtml | kFlagUserRegion, 0, 1, 3, 0, 1,
     " T        1:    3  |"},
    {"format 10", kFlagUserRegion, 0, 1, 3, 0, 10, " v        1:    3  |"},
    {"format 0 keeps", kFlagUserRegion | kFlagSampleCode, 0, 1, 3, 0, 0,
     " C        1:    3  |"},
    {"ignore over format", kFlagUserRegion | kFlagUserIgnore, 0, 1, 3, 0, 5,
     " I        1:    3  |"},
    // Column 2.
    {"change bar", kFlagChangeBar, 0, 1, 3, 0, 0, "  b       1:    3  |"},
    {"url over change bar", kFlagChangeBar | kFlagUrl, 0, 1, 3, 0, 0,
     "  u       1:    3  |"},
    {"contents list last", kFlagUrl | kFlagContentsList, 0, 1, 3, 0, 0,
     "  l       1:    3  |"},
};

TEST_F(ListFileTest, PrefixColumns) {
  for (const PrefixCase& c : kPrefixCases) {
    SCOPED_TRACE(c.what);
    PreHTML line;
    Prepare(line, c.block, c.number, c.type);
    line.SetFlag(c.flags, true);
    line.SetPreformattedKind(c.preformattedKind);
    line.SetSpecialFormat(c.specialFormat);
    const std::string prefix = Prefix(line);
    EXPECT_EQ(prefix.size(), 20u);
    EXPECT_EQ(prefix, c.expected);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(ListFileTest, UnknownSpecialFormatIsReportedAndMarked) {
  PreHTML line;
  Prepare(line, 0, 4, 3);
  line.SetFlag(kFlagUserRegion, true);
  line.SetSpecialFormat(11);
  EXPECT_EQ(Prefix(line), " ?        4:    3  |");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("UNSUPPORTED CASE: Unsupported Format code in WriteListFile"),
            std::string::npos);

  line.SetFlag(kFlagUserIgnore, true);
  EXPECT_EQ(Prefix(line), " I        4:    3  |");
}

// Numbers too wide for their columns widen their field: every digit stays, the separators
// follow, and nothing is written past the text built.
TEST_F(ListFileTest, WideNumbersWidenTheirFields) {
  struct Case {
    int block;
    int number;
    int type;
    const char* expected;
  };
  const Case cases[] = {
      {99, 99999, 99999, "   99/99999:99999  |"},
      {100, 1, 3, "   100/    1:    3  |"},
      {0, 123456, 3, "      123456:    3  |"},
      {0, 1, 1234567, "          1:1234567  |"},
      {INT_MAX, INT_MAX, INT_MAX, "   2147483647/2147483647:2147483647  |"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    PreHTML line;
    Prepare(line, c.block, c.number, c.type);
    EXPECT_EQ(Prefix(line), c.expected);
  }
}

TEST_F(ListFileTest, WritesNoteThenLineWithTextCutAt60) {
  const std::string longText(75, 'x');
  PreHTML line;
  Prepare(line, 0, 9, 3, longText.c_str());
  line.ReportLineMessageTo(ctx.GetLogErrorHandler(), 1, 1, 9, "WARNING: odd line", 5);
  ASSERT_NE(line.pGetNote(), nullptr);

  ListFileFlags flags;
  ASSERT_EQ(WriteListFile(&file, line, fc, flags), 1);
  ASSERT_EQ(lines.GetCount(), 4);
  EXPECT_EQ(Line(0), "");
  EXPECT_EQ(Line(1), "*** WARNING: odd line");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), "          9:    3  |" + std::string(60, 'x'));
  EXPECT_EQ(line.pGetNote(), nullptr);

  PreHTML shortLine;
  Prepare(shortLine, 0, 10, 1, "short");
  ASSERT_EQ(WriteListFile(&file, shortLine, fc, flags), 1);
  EXPECT_EQ(Line(4), "         10:    1  |short");
}

TEST_F(ListFileTest, DefineAndFragmentFlagsCarryFromLineToLine) {
  struct Step {
    int taggedType;
    int lineType;
    char expected;
  };
  const Step steps[] = {
      {-3, 3, ' '},      {1017, 1017, 'B'}, {-3, 3, 'B'},   {1025, 1025, 'F'},
      {-3, 3, 'F'},      {1018, 1018, 'F'}, {-3, 3, ' '},   {1026, 1026, 'F'},
      {1018, 1018, 'F'}, {-3, 3, ' '},
  };
  ListFileFlags flags;
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i);
    PreHTML line;
    Prepare(line, 0, ++i, s.lineType);
    line.SetTaggedType(s.taggedType);
    ASSERT_EQ(WriteListFile(&file, line, fc, flags), 1);
    ASSERT_EQ(lines.GetCount(), i);
    EXPECT_EQ(Line(i - 1)[1], s.expected);
  }
}

TEST_F(ListFileTest, FlagsFollowTheLinesWithoutAnOpenFile) {
  ListFileFlags flags;
  PreHTML start;
  start.SetTaggedType(1017);
  EXPECT_EQ(WriteListFile(nullptr, start, fc, flags), 1);
  EXPECT_EQ(flags.insideDefineBlock, 1);
  TextFile closed;
  PreHTML end;
  end.SetTaggedType(1018);
  EXPECT_EQ(WriteListFile(&closed, end, fc, flags), 1);
  EXPECT_EQ(flags.insideDefineBlock, 0);
}

namespace {
// A list file whose every write fails, as on a full disk.
class FailingFile : public TextFile {
 public:
  FailingFile() { open_ = 1; }
  bool WriteText(const char*) override { return false; }
};
}  // namespace

TEST_F(ListFileTest, FailedWriteReturnsZero) {
  FailingFile failing;
  ListFileFlags flags;
  PreHTML line;
  Prepare(line, 0, 1, 3, "text");
  EXPECT_EQ(WriteListFile(&failing, line, fc, flags), 0);
  line.ReportLineMessageTo(ctx.GetLogErrorHandler(), 1, 1, 1, "INFO: noted", 5);
  EXPECT_EQ(WriteListFile(&failing, line, fc, flags), 0);
}
