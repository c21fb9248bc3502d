#include "policy/StatementReading.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "tags/TextCommandTags.h"

namespace {

using Lines = std::vector<std::string>;

// Reads through a policy set attached to a Context, as the conversion passes do, and keeps
// the messages shown.
struct PolicyRead {
  Context ctx{2, kOutputRtf};
  FileControl fc;
  Lines messages;
  PolicyRead() {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }

  Lines ReadFile(const std::string& path) {
    StatementFile file;
    EXPECT_TRUE(file.OpenForRead(path.c_str(), 0));
    Lines out;
    Statement s;
    TextCommandTags textCommands;
    while (ReadStatement(file, s, fc, ctx, &textCommands)) {
      out.emplace_back(s.GetText(), s.GetLength());
      s.SetEmpty();
    }
    return out;
  }

  Lines Read(const std::string& bytes) {
    const std::string path = TempPath("statementreading", "policy-read.txt");
    WriteBytes(path, bytes);
    return ReadFile(path);
  }
};

TEST(StatementReading, ReadsWithThePoliciesOfItsPolicySet) {
  const std::string longLine(45, 'm');
  PolicyRead plain;
  EXPECT_EQ(plain.Read("a\tb\n\nc\n" + longLine + "=\nrest\n"),
            (Lines{"a       b", "", "c", longLine + "=", "rest"}));

  PolicyRead set;
  set.fc.Int(PolicyId::TABSize).value = 4;
  set.fc.Bool(PolicyId::InputFileIsDoubleSpaced).value = 1;
  set.fc.Bool(PolicyId::PreserveFileStructureUsingPRE).value = 1;
  set.fc.Bool(PolicyId::InputFileContainsMIMEEncoding).value = 1;
  set.ctx.AnalysisPass = 0;
  // The blank-line state carries from one statement to the next.
  EXPECT_EQ(set.Read("a\tb\n\nc\n\n\nd\n" + longLine + "=\nrest\n"),
            (Lines{"a   b", "c", "", "d", longLine + "rest", "$_$_END_PRE"}));
}

TEST(StatementReading, DirectivesTheReaderMakesUseTheDelimiterInForce) {
  PolicyRead set;
  set.fc.Text(PolicyId::DirectiveDelimiter).value = "@@";
  set.fc.Bool(PolicyId::PreserveFileStructureUsingPRE).value = 1;
  set.ctx.Commands.sourceIsHtml = 1;
  EXPECT_EQ(set.Read("a\n<pre>\nb\n</pre>\n"),
            (Lines{"a", "@@END_HTML", "@@BEGIN_TABLE", "b", "@@END_TABLE", "@@BEGIN_HTML",
                   "@@END_PRE"}));
}

TEST(StatementReading, CountsBytePairsInTheAnalysisPass) {
  PolicyRead analysis;
  analysis.fc.Bool(PolicyId::LookForCharacterEncodings).value = 1;
  analysis.Read("\xD3\xD4 text\n");
  EXPECT_EQ(analysis.ctx.Statistics.census.koi8r, 1);
}

TEST(StatementReading, ReportsWhatTheReaderMet) {
  // A UTF-16 file whose last byte is half a character.
  PolicyRead odd;
  const std::string oddPath = TempPath("statementreading", "odd16.txt");
  WriteBytes(oddPath, std::string("\xFF\xFE" "A\0\n\0B\0C", 9));
  EXPECT_EQ(odd.ReadFile(oddPath), (Lines{"A", "B"}));
  EXPECT_EQ(odd.messages,
            Lines{"WARNING: " + oddPath + " ends in half a UTF-16 character: its last byte is ignored"});

  // A line longer than the longest statement: one warning, every byte kept.
  PolicyRead huge;
  const std::string line(static_cast<std::size_t>(StatementFile::kMaxStatementLength) + 3, 'q');
  const std::string hugePath = TempPath("statementreading", "huge.txt");
  WriteBytes(hugePath, line + "\nnext\n");
  const Lines read = huge.ReadFile(hugePath);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0] + read[1], line);
  EXPECT_EQ(read[2], "next");
  EXPECT_EQ(huge.messages,
            Lines{"WARNING: A line of " + hugePath +
                  " is longer than 1000000 bytes: it is read as several lines"});
}

}  // namespace
