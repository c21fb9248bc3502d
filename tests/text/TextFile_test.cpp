#include "text/TextFile.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <fstream>
#include <string>
#include <vector>

#include "text/Statement.h"

namespace {

const std::string kFixtures = std::string(KELVANE_FIXTURES_DIR) + "/text/";

// The lines every encoding fixture holds, as UTF-8.
const std::vector<std::string> kFixtureLines = {"Alpha beta", "Z\xC3\xBCrich caf\xC3\xA9", "",
                                                "  indented\tline", "last line"};

std::string TempPath(const std::string& name) { return ::TempPath("textfile", name); }

struct Piece {
  std::string text;
  int overLong;
};

std::vector<Piece> ReadPieces(TextFile& file) {
  std::vector<Piece> pieces;
  TextString line;
  int overLong = 0;
  while (file.ReadLine(line, &overLong)) {
    pieces.push_back({std::string(line.GetText(), line.GetLength()), overLong});
  }
  return pieces;
}

std::vector<std::string> ReadAll(const std::string& path) {
  TextFile file;
  EXPECT_TRUE(file.OpenForRead(path.c_str(), 0)) << path;
  std::vector<std::string> lines;
  for (const Piece& piece : ReadPieces(file)) {
    EXPECT_EQ(piece.overLong, 0);
    lines.push_back(piece.text);
  }
  return lines;
}

struct EncodingCase {
  const char* fixture;
  bool utf16LE;
  bool utf16BE;
  bool utf8Mark;
  bool sevenBit;
};

constexpr EncodingCase kEncodingCases[] = {
    {"utf8-lf.txt", false, false, false, true},
    {"utf8-crlf.txt", false, false, false, true},
    {"utf8-no-final-lf.txt", false, false, false, true},
    {"utf8-bom-lf.txt", false, false, true, false},
    {"utf8-bom-crlf.txt", false, false, true, false},
    {"utf16le-bom-crlf.txt", true, false, false, false},
    {"utf16le-bom-no-final-lf.txt", true, false, false, false},
    {"utf16be-bom-crlf.txt", false, true, false, false},
    {"utf16be-bom-lf.txt", false, true, false, false},
};

TEST(TextFile, EveryEncodingReadsTheSameLines) {
  for (const EncodingCase& c : kEncodingCases) {
    SCOPED_TRACE(c.fixture);
    TextFile file;
    ASSERT_TRUE(file.OpenForRead((kFixtures + c.fixture).c_str(), 0));
    std::vector<std::string> lines;
    for (const Piece& piece : ReadPieces(file)) lines.push_back(piece.text);
    EXPECT_EQ(lines, kFixtureLines);
    EXPECT_EQ(file.IsUtf16LE(), c.utf16LE);
    EXPECT_EQ(file.IsUtf16BE(), c.utf16BE);
    EXPECT_EQ(file.IsUtf8(), c.utf8Mark);
    // A plain file is never marked eight-bit by the reader, whatever its bytes.
    EXPECT_EQ(file.IsSevenBit(), c.sevenBit);
    EXPECT_EQ(file.GetLinesRead(), 5);
  }
}

TEST(TextFile, SingleByteTextStaysBytes) {
  const std::vector<std::string> expected = {"Alpha beta", "Z\xFCrich caf\xE9", "",
                                             "  indented\tline", "last line"};
  EXPECT_EQ(ReadAll(kFixtures + "cp1252-crlf.txt"), expected);
}

TEST(TextFile, NulBecomesBlankLoneCrStaysAndLastLineGainsNothing) {
  const std::vector<std::string> expected = {"a b", "x\ry", "end"};
  EXPECT_EQ(ReadAll(kFixtures + "nul-and-lone-cr.txt"), expected);
}

TEST(TextFile, TinyUtf16LeExample) {
  const std::string path = TempPath("tiny16.txt");
  WriteBytes(path, std::string("\xFF\xFE" "A\0\r\0\n\0B\0", 10));
  EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"A", "B"}));
}

TEST(TextFile, StrayLastByteOfUtf16IsNoticed) {
  const std::string path = TempPath("odd16.txt");
  for (const bool odd : {false, true}) {
    SCOPED_TRACE(odd);
    WriteBytes(path, std::string("\xFF\xFE" "A\0\n\0B\0C", odd ? 9 : 8));
    TextFile file;
    ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
    std::vector<std::string> lines;
    for (const Piece& piece : ReadPieces(file)) lines.push_back(piece.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(file.TakeNotices(), odd ? kNoticeStrayByte : 0u);
    EXPECT_EQ(file.TakeNotices(), 0u) << "taking clears them";
  }
}

std::string Xs(int n) { return std::string(static_cast<std::size_t>(n), 'x'); }

std::string Utf16LE(const std::string& bytes) {
  std::string wide = "\xFF\xFE";
  for (const char ch : bytes) wide += std::string{ch, '\0'};
  return wide;
}

// A UTF-16 file with its mark: n letters x, then the given units.
std::string XsThenUnits(int n, const std::vector<int>& units, bool bigEndian) {
  std::vector<int> all(static_cast<std::size_t>(n), 'x');
  all.insert(all.end(), units.begin(), units.end());
  std::string wide = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const int unit : all) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    wide += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return wide;
}

// U+1D11E in UTF-8.
const std::string kClef = "\xF0\x9D\x84\x9E";

struct LongLineCase {
  const char* name;
  std::string bytes;
  std::vector<Piece> expected;
};

TEST(TextFile, LongLinesArriveInPiecesOfTenThousandBytes) {
  const std::vector<LongLineCase> cases = {
      {"plain 9999", Xs(9999) + "\r\n", {{Xs(9999), 0}}},
      {"plain 10000", Xs(10000) + "\n", {{Xs(10000), 1}, {"", 0}}},
      // Nothing follows the piece, so it must not wait for another one.
      {"plain 10000 at end", Xs(10000), {{Xs(10000), 0}}},
      {"plain 25000", Xs(25000) + "\n" + "next\n",
       {{Xs(10000), 1}, {Xs(10000), 1}, {Xs(5000), 0}, {"next", 0}}},
      // The mark takes its bytes of the first piece.
      {"utf8 25000", "\xEF\xBB\xBF" + Xs(25000) + "\r\n",
       {{Xs(9997), 1}, {Xs(10000), 1}, {Xs(5003), 0}}},
      // A CR LF that straddles the end of a piece still ends the line.
      {"utf8 CR at piece end", "\xEF\xBB\xBF" + Xs(9996) + "\r\nnext\n",
       {{Xs(9996), 0}, {"next", 0}}},
      {"utf16 12000", Utf16LE(Xs(12000) + "\r\n"),
       {{Xs(4999), 1}, {Xs(5000), 1}, {Xs(2001), 0}}},
      {"utf16 CR at piece end", Utf16LE(Xs(4998) + "\r\nnext"), {{Xs(4998), 0}, {"next", 0}}},
      // A surrogate pair that straddles the end of a piece stays whole (U+1D11E).
      {"utf16 pair at piece end", XsThenUnits(4998, {0xD834, 0xDD1E, '\r', '\n'}, false),
       {{Xs(4998) + kClef, 1}, {"", 0}}},
      {"utf16 pair before piece end", XsThenUnits(4997, {0xD834, 0xDD1E, '\r', '\n'}, false),
       {{Xs(4997) + kClef, 1}, {"", 0}}},
      {"utf16 pair at piece end, file end", XsThenUnits(4998, {0xD834, 0xDD1E}, false),
       {{Xs(4998) + kClef, 0}}},
      {"utf16be pair at piece end", XsThenUnits(4998, {0xD834, 0xDD1E, 'm', '\n'}, true),
       {{Xs(4998) + kClef, 1}, {"m", 0}}},
      // A high surrogate without its second half stays a lone one.
      {"utf16 lone high surrogate at piece end", XsThenUnits(4998, {0xD834, 'y'}, false),
       {{Xs(4998) + "\xEF\xBF\xBD", 1}, {"y", 0}}},
  };
  for (const LongLineCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = TempPath("long.txt");
    WriteBytes(path, c.bytes);
    TextFile file;
    ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
    const std::vector<Piece> pieces = ReadPieces(file);
    ASSERT_EQ(pieces.size(), c.expected.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].text, c.expected[i].text) << "piece " << i;
      EXPECT_EQ(pieces[i].overLong, c.expected[i].overLong) << "piece " << i;
    }
  }
}

TEST(TextFile, IncludedFileIsReadInsideItsIncluder) {
  const std::string outer = TempPath("outer.txt");
  const std::string inner = TempPath("inner.txt");
  WriteBytes(outer, "o1\no2\no3\n");
  WriteBytes(inner, "i1\ni2\n");
  TextFile file;
  ASSERT_TRUE(file.OpenForRead(outer.c_str(), 0));
  TextString line;
  int overLong = 0;
  ASSERT_TRUE(file.ReadLine(line, &overLong));
  EXPECT_STREQ(line.GetText(), "o1");
  // An include of a file being read is refused.
  EXPECT_FALSE(file.OpenForRead(outer.c_str(), 0));
  ASSERT_TRUE(file.OpenForRead(inner.c_str(), 0));
  EXPECT_TRUE(file.IsFileOpen(inner.c_str()));
  EXPECT_EQ(file.GetFileCount(), 2);
  std::vector<std::string> rest;
  while (file.ReadLine(line, &overLong)) rest.push_back(line.GetText());
  EXPECT_EQ(rest, (std::vector<std::string>{"i1", "i2", "o2", "o3"}));
  EXPECT_EQ(file.GetMaxDepth(), 2);
  EXPECT_FALSE(file.IsFileOpen(inner.c_str()));
  // Once popped, the same name may be opened again.
  EXPECT_TRUE(file.OpenForRead(inner.c_str(), 0));
  file.CloseAll();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.GetFileCount(), 0);
}

TEST(TextFile, OpenFailuresAreReported) {
  TextFile file;
  EXPECT_FALSE(file.OpenForRead(nullptr, 0));
  EXPECT_FALSE(file.OpenForRead("", 0));
  EXPECT_FALSE(file.OpenForRead(TempPath("does-not-exist").c_str(), 0));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.OpenForAppend("", 1));
  EXPECT_FALSE(file.OpenForWrite((TempPath("no-such-dir") + "/x.txt").c_str(), 0, 0));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(WriteLine(&file, "nothing open"));
  EXPECT_FALSE(WriteLine(nullptr, "no file"));
}

TEST(TextFile, ReopenTopRefusesAfterNineReopens) {
  const std::string path = TempPath("reopen.txt");
  WriteBytes(path, "line\n");
  TextFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  for (int i = 1; i <= 9; ++i) EXPECT_TRUE(file.ReopenTop(path.c_str())) << i;
  EXPECT_FALSE(file.ReopenTop(path.c_str()));
}

TEST(TextFile, KeepsTheNewestLinesInBlocks) {
  const std::string path = TempPath("recent.txt");
  std::string text;
  for (int i = 1; i <= 101; ++i) text += "line " + std::to_string(i) + "\n";
  WriteBytes(path, text);
  TextFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  int overLong = 0;
  for (int i = 1; i <= 100; ++i) ASSERT_TRUE(file.ReadNextLine(&overLong));
  EXPECT_EQ(file.GetRecentLines().GetCount(), 100);
  ASSERT_TRUE(file.ReadNextLine(&overLong));
  EXPECT_EQ(file.GetRecentLines().GetCount(), 10);
  EXPECT_STREQ(file.GetRecentLine(1), "line 92");
  EXPECT_STREQ(file.GetRecentLine(10), "line 101");
  EXPECT_EQ(file.GetRecentLine(0), nullptr);
  EXPECT_EQ(file.GetRecentLine(11), nullptr);
  EXPECT_FALSE(file.ReadNextLine(&overLong));
}

TEST(TextFile, InMemorySourceAndSink) {
  Statement first;
  first.Assign("from memory");
  Statement second;
  second.Assign("second");
  const StatementSource source = {&first, &second};
  TextFile reader;
  reader.SetSource(&source);
  ASSERT_TRUE(reader.OpenForRead(nullptr, 0));
  std::vector<std::string> lines;
  for (const Piece& piece : ReadPieces(reader)) lines.push_back(piece.text);
  EXPECT_EQ(lines, (std::vector<std::string>{"from memory", "second"}));

  StringList sink;
  TextFile writer;
  writer.SetSink(&sink);
  ASSERT_TRUE(writer.OpenForWrite(nullptr, 0, 0));
  EXPECT_TRUE(writer.WriteText("one"));
  EXPECT_TRUE(writer.WriteString(TextString("two")));
  ASSERT_EQ(sink.GetCount(), 2);
  EXPECT_STREQ(sink.GetItem(1)->text.GetText(), "two");
}

TEST(TextFile, WritesLinesWithLineFeedsAndAppends) {
  const std::string path = TempPath("written.txt");
  {
    TextFile file;
    ASSERT_TRUE(file.OpenForWrite(path.c_str(), 0, 0));
    EXPECT_TRUE(file.WriteText("first"));
    EXPECT_TRUE(file.WriteText(""));
    file.CloseAll();
  }
  {
    TextFile file;
    ASSERT_TRUE(file.OpenForAppend(path.c_str(), 0));
    EXPECT_TRUE(file.WriteText("appended"));
  }
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "first\n\nappended\n");
}

}  // namespace
