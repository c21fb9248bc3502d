#include "text/StatementFile.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <chrono>
#include <iostream>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>


namespace {

const std::string kFixtures = std::string(KELVANE_FIXTURES_DIR) + "/text/";

std::string TempPath(const std::string& name) { return ::TempPath("statementfile", name); }

std::vector<std::string> ReadStatements(StatementFile& file, const StatementReadRules& rules) {
  std::vector<std::string> out;
  InputRuleState state;
  Statement s;
  while (file.ReadStatementWith(s, rules, state)) {
    out.emplace_back(s.GetText(), s.GetLength());
    s.SetEmpty();
  }
  return out;
}

std::vector<std::string> ReadBytesAsStatements(const std::string& bytes,
                                               const StatementReadRules& rules = {}) {
  const std::string path = TempPath("input.txt");
  WriteBytes(path, bytes);
  StatementFile file;
  EXPECT_TRUE(file.OpenForRead(path.c_str(), 0));
  return ReadStatements(file, rules);
}

using Lines = std::vector<std::string>;

struct ReadCase {
  const char* name;
  std::string bytes;
  Lines expected;
};

TEST(StatementFile, ReadsStatementsFromLines) {
  const std::string longLine(45, 'm');
  const std::vector<ReadCase> cases = {
      {"form feed splits a line", "abc\fdef\n", {"abc", "\f", "def"}},
      {"form feed first", "\fpage two\n", {"\f", "page two"}},
      {"lone form feed", "a\n\f\nb\n", {"a", "\f", "b"}},
      {"pieces of an over-long line are joined", std::string(25000, 'x') + "\nnext\n",
       {std::string(25000, 'x'), "next"}},
      {"a lone CR becomes a blank", "x\ry\r\n", {"x y"}},
      {"tabs are expanded", "a\tb\n", {"a       b"}},
      {"no final line end", "one\ntwo", {"one", "two"}},
      {"soft breaks stay without MIME", longLine + "=\nrest\n", {longLine + "=", "rest"}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadBytesAsStatements(c.bytes), c.expected);
  }
}

TEST(StatementFile, SurrogatePairAtThePieceEndStaysWhole) {
  // The mark and 4,998 letters leave room for the high half alone in the first piece.
  for (const int letters : {4997, 4998}) {
    SCOPED_TRACE(letters);
    std::string bytes = "\xFF\xFE";
    for (int i = 0; i < letters; ++i) bytes += std::string("x\0", 2);
    bytes += std::string("\x34\xD8\x1E\xDD\r\0\n\0", 8);
    EXPECT_EQ(ReadBytesAsStatements(bytes),
              Lines{std::string(static_cast<std::size_t>(letters), 'x') + "\xF0\x9D\x84\x9E"});
  }
}

// The pair census of reading one line of length letters x in the analysis pass.
CharacterPairCounts CensusOfLine(int length) {
  const std::string path = TempPath("census-line.txt");
  WriteBytes(path, std::string(static_cast<std::size_t>(length), 'x') + "\nab\n");
  StatementFile file;
  EXPECT_TRUE(file.OpenForRead(path.c_str(), 0));
  StatementReadRules rules;
  rules.input.countPairs = true;
  rules.input.analysisPass = true;
  CharacterPairCounts census;
  InputRuleState state;
  state.census = &census;
  Statement s;
  while (file.ReadStatementWith(s, rules, state)) s.SetEmpty();
  return census;
}

TEST(StatementFile, CountsEveryBytePairOfALongLineOnce) {
  // Pieces of 10,000 bytes: each pair, those across piece ends too, is counted once.
  for (const int length : {9999, 10000, 30000, 30001}) {
    SCOPED_TRACE(length);
    const CharacterPairCounts census = CensusOfLine(length);
    // length - 1 pairs of the long line and the one of "ab".
    EXPECT_EQ(census.nonBlank, length);
    EXPECT_EQ(census.pairs, length);
  }
  // The work grows with the line, not with its square.
  EXPECT_LE(CensusOfLine(160000).pairs, 4 * CensusOfLine(40000).pairs);
}

TEST(StatementFile, FormFeedsCostInProportionToTheLine) {
  // Every statement split off a line of form feeds is handed its own part only: the bytes
  // all statements hold grow in step with the line (they grew with its square).
  const auto bytesHeld = [](int formFeeds) {
    const std::string path = TempPath("form-feeds.txt");
    WriteBytes(path, std::string(static_cast<std::size_t>(formFeeds), '\f') + "end\n");
    StatementFile file;
    EXPECT_TRUE(file.OpenForRead(path.c_str(), 0));
    InputRuleState state;
    long long held = 0;
    int statements = 0;
    for (;;) {
      Statement s;
      if (!file.ReadStatementWith(s, {}, state)) break;
      EXPECT_STREQ(s.GetText(), statements < formFeeds ? "\f" : "end");
      held += s.GetCapacity();
      ++statements;
    }
    EXPECT_EQ(statements, formFeeds + 1);
    return held;
  };
  EXPECT_LE(bytesHeld(8000), 5 * bytesHeld(2000));
}

TEST(StatementFile, LinesBeyondTheLongestStatementArriveInParts) {
  constexpr int kMax = StatementFile::kMaxStatementLength;
  const std::string path = TempPath("huge-line.txt");
  std::string line(static_cast<std::size_t>(2 * kMax + 5), 'y');
  line[static_cast<std::size_t>(kMax)] = 'A';
  WriteBytes(path, "first\n" + line + "\nlast\n");
  StatementFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  InputRuleState state;
  Statement s;
  std::vector<std::string> read;
  std::vector<unsigned> notices;
  while (file.ReadStatementWith(s, {}, state)) {
    read.emplace_back(s.GetText(), s.GetLength());
    notices.push_back(file.TakeNotices());
    s.SetEmpty();
  }
  ASSERT_EQ(read.size(), 5u);
  EXPECT_EQ(read[0], "first");
  EXPECT_EQ(read[1] + read[2] + read[3], line) << "nothing of the line is lost";
  EXPECT_EQ(read[1].size(), static_cast<std::size_t>(kMax));
  EXPECT_EQ(read[2][0], 'A');
  EXPECT_EQ(read[4], "last");
  // Raised once for the line.
  EXPECT_EQ(notices, (std::vector<unsigned>{0, kNoticeLineCut, 0, 0, 0}));
}

TEST(StatementFile, JoinsSoftLineBreaksWithMimeEncoding) {
  const std::string longLine(45, 'm');
  StatementReadRules rules;
  rules.input.mimeEncoding = true;
  EXPECT_EQ(ReadBytesAsStatements(longLine + "=\nrest\n", rules), Lines{longLine + "rest"});
  // A soft break on the last line must not lose the line.
  EXPECT_EQ(ReadBytesAsStatements("a\n" + longLine + "=\n", rules), (Lines{"a", longLine}));
}

TEST(StatementFile, PageMarkersAndDoubleSpacingDropLines) {
  StatementReadRules pages;
  pages.input.pageMarkers = true;
  pages.input.pageMarkerSize = 3;
  EXPECT_EQ(ReadBytesAsStatements("a\n\f\nhead\nhead\nb\n", pages), (Lines{"a", "b"}));
  StatementReadRules spaced;
  spaced.input.doubleSpaced = true;
  EXPECT_EQ(ReadBytesAsStatements("a\n\nb\n\n\nc\n", spaced), (Lines{"a", "b", "", "c"}));
}

TEST(StatementFile, PreTagsBecomeDirectivesInHtmlInput) {
  StatementReadRules rules;
  rules.htmlInput = true;
  EXPECT_EQ(ReadBytesAsStatements("see <PRE> below\ncode\n</pre>\nafter\n", rules),
            (Lines{"$_$_END_HTML", "$_$_BEGIN_TABLE", "code", "$_$_END_TABLE", "$_$_BEGIN_HTML",
                   "after"}));
  EXPECT_EQ(ReadBytesAsStatements("see <PRE> below\n"), Lines{"see <PRE> below"});
}

TEST(StatementFile, EndPreFollowsTheLastLine) {
  StatementReadRules rules;
  rules.preserveStructureWithPre = true;
  EXPECT_EQ(ReadBytesAsStatements("a\nb\n", rules), (Lines{"a", "b", "$_$_END_PRE"}));
}

TEST(StatementFile, SkipsLinesAndSplitsLongLines) {
  const std::string path = TempPath("split.txt");
  WriteBytes(path, "skip me\nskip me too\naaaa bbbb cccc dddd\nshort\n");
  StatementFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  file.SetSkipCount(2);
  file.SetSplit(12, ' ');
  EXPECT_EQ(ReadStatements(file, {}), (Lines{"aaaa bbbb ", "cccc dddd", "short"}));
}

TEST(StatementFile, RawCopyIsTheLineBeforeTabExpansion) {
  const std::string path = TempPath("raw.txt");
  WriteBytes(path, "a\tb\r\n");
  StatementFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  InputRuleState state;
  Statement s;
  ASSERT_TRUE(file.ReadStatementWith(s, {}, state));
  EXPECT_STREQ(s.GetText(), "a       b");
  EXPECT_STREQ(s.GetRawCopy().GetText(), "a\tb");
}

TEST(StatementFile, EveryEncodingFixtureGivesTheSameStatements) {
  const Lines expected = {"Alpha beta", "Z\xC3\xBCrich caf\xC3\xA9", "", "  indented      line",
                          "last line"};
  for (const char* fixture :
       {"utf8-lf.txt", "utf8-crlf.txt", "utf8-no-final-lf.txt", "utf8-bom-lf.txt",
        "utf8-bom-crlf.txt", "utf16le-bom-crlf.txt", "utf16le-bom-no-final-lf.txt",
        "utf16be-bom-crlf.txt", "utf16be-bom-lf.txt"}) {
    SCOPED_TRACE(fixture);
    StatementFile file;
    ASSERT_TRUE(file.OpenForRead((kFixtures + fixture).c_str(), 0));
    EXPECT_EQ(ReadStatements(file, {}), expected);
  }
}

Lines WrittenLines(const std::string& text, int width) {
  StringList sink;
  StatementFile file;
  file.SetSink(&sink);
  file.SetWidth(width);
  EXPECT_TRUE(file.OpenForWrite(nullptr, 0, 0));
  Statement s;
  s.Assign(text.c_str());
  EXPECT_TRUE(file.WriteStatement(s));
  Lines out;
  for (int i = 0; i < sink.GetCount(); ++i) out.emplace_back(sink.GetItem(i)->text.GetText());
  return out;
}

TEST(StatementFile, WritesStatementsWrappedAtTheWidth) {
  EXPECT_EQ(WrittenLines(std::string(200, 'w'), 80),
            (Lines{std::string(80, 'w'), std::string(80, 'w'), std::string(40, 'w')}));
  EXPECT_EQ(WrittenLines("    one two three four five", 12),
            (Lines{"    one two", "    three four", "    five"}));
  EXPECT_EQ(WrittenLines("", 80), Lines{""});
}

TEST(StatementFile, ShortStatementsAreWrittenWhole) {
  for (const char* text : {"five six", "  indented words here", "a b c d e f g"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(WrittenLines(text, 80), Lines{text});
  }
  // Exactly the width still fits on one line.
  const std::string full = std::string(39, 'x') + " " + std::string(40, 'y');
  EXPECT_EQ(WrittenLines(full, 80), Lines{full});
}

TEST(StatementFile, LongStatementsWrapAtTheLastBlankWithinTheWidth) {
  // 16 words of five letters: 95 bytes, so the first line ends at the 14th word (83 > 80).
  std::string text;
  for (int i = 0; i < 16; ++i) text += (i ? " " : "") + std::string(5, static_cast<char>('a' + i));
  const Lines lines = WrittenLines(text, 80);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], text.substr(0, 77));
  EXPECT_EQ(lines[1], text.substr(78));
  EXPECT_EQ(lines[0] + " " + lines[1], text) << "only the break blank goes";
}

TEST(StatementFile, ZeroWidthStillWritesEveryByte) {
  // Without the guard the segment at width 0 would be empty and wrapping would stand still.
  Statement s;
  s.Assign("abc");
  TextString segment;
  int next = -1;
  ASSERT_TRUE(s.GetWrappedSegment(0, 1, "\n\t ", ")]}>,;", "([{<!=+-\"", segment, &next, 0));
  ASSERT_EQ(next, 2) << "wrapping at width 0 must move on";
  EXPECT_STREQ(segment.GetText(), "b");
  for (const int width : {0, -3}) {
    SCOPED_TRACE(width);
    EXPECT_EQ(WrittenLines("abc", width), (Lines{"a", "b", "c"}));
  }
}

TEST(StatementFile, WritingFailsWhenClosedOrReading) {
  Statement s;
  s.Assign("text");
  StatementFile closed;
  EXPECT_FALSE(closed.WriteStatement(s));
  EXPECT_FALSE(WriteWrappedStatement(nullptr, s, 0, 0));

  const std::string path = TempPath("reading.txt");
  WriteBytes(path, "x\n");
  StatementFile reader;
  ASSERT_TRUE(reader.OpenForRead(path.c_str(), 0));
  EXPECT_FALSE(reader.WriteStatement(s));

  const std::string out = TempPath("written.txt");
  StatementFile writer;
  ASSERT_TRUE(writer.OpenForWrite(out.c_str(), 0, 0));
  writer.SetWidth(10);
  s.Assign("alpha beta gamma");
  EXPECT_TRUE(writer.WriteStatement(s));
  writer.CloseAll();
  EXPECT_EQ(ReadBytes(out), "alpha beta\ngamma\n");
}

// Bytes that carry text: everything but blanks, line ends and form feeds.
int CountTextBytes(const char* text, int length) {
  int count = 0;
  for (int i = 0; i < length; ++i) {
    const char c = text[i];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f') ++count;
  }
  return count;
}

TEST(StatementFile, CorpusReadsWithoutLosingText) {
  const std::filesystem::path dir = std::filesystem::path(KELVANE_CORPUS_DIR) / "rfc";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "corpus not found at " << dir;
  int documents = 0;
  long long totalBytes = 0;
  const auto started = std::chrono::steady_clock::now();
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    const std::string bytes = ReadBytes(path);
    StatementFile file;
    ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
    InputRuleState state;
    Statement s;
    long long textBytes = 0;
    while (file.ReadStatementWith(s, {}, state)) {
      textBytes += CountTextBytes(s.GetText(), s.GetLength());
      s.SetEmpty();
    }
    EXPECT_EQ(textBytes, CountTextBytes(bytes.data(), static_cast<int>(bytes.size())));
    ++documents;
    totalBytes += static_cast<long long>(bytes.size());
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  std::cout << "[ corpus   ] " << documents << " documents, " << totalBytes << " bytes in "
            << elapsed.count() << " ms\n";
  EXPECT_GT(documents, 0);
}

}  // namespace
