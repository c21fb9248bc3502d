#include "rtf/RTFFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/TestFiles.h"
#include "text/StatementFile.h"
#include "text/StringList.h"

namespace {

const std::string kFixtures = std::string(KELVANE_FIXTURES_DIR) + "/rtf/";

// A writer over an in-memory line list, with the messages and progress it reports.
struct WriterRun {
  WriterRun() : ctx(2, kOutputRtf), rtf(ctx) {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { messages.emplace_back(t); });
    ctx.GetLogErrorHandler().SetDiagnosticCallback([this](const char* t) { progress.emplace_back(t); });
    rtf.SetSink(&lines);
  }
  // The writer as the output pass has it: a document open, the RTF pass collecting.
  void OpenDocument() {
    ctx.RtfPass = 1;
    rtf.SetBraceTracking(1);
    ASSERT_EQ(rtf.Open("doc", fc, 0), 1);
    ASSERT_EQ(rtf.FlushBuffer(fc, &rtf, 0), 1);
    firstBodyLine = lines.GetCount();
  }
  // The file open for writing without a document: lines are written as they come.
  void OpenPlain() {
    rtf.SetBraceTracking(1);
    ASSERT_TRUE(rtf.OpenForWrite("plain", 0, 0));
  }
  std::vector<std::string> Lines(int from = 0) const {
    std::vector<std::string> out;
    for (int i = from; i < lines.GetCount(); ++i)
      out.emplace_back(lines.GetItem(i)->text.GetText());
    return out;
  }
  void SetText(PolicyId id, const char* value) { fc.Text(id).value.Assign(value); }
  void SetBool(PolicyId id, int value) { fc.Bool(id).value = value; }

  Context ctx;
  FileControl fc;
  RTFFile rtf;
  StringList lines;
  std::vector<std::string> messages;
  std::vector<std::string> progress;
  int firstBodyLine = 0;
};

using Lines = std::vector<std::string>;

}  // namespace

// ---- Brace balance ----

TEST(RTFFileBraces, CountsOnlyBracesThatAreNotEscaped) {
  struct Case {
    const char* text;
    int level;
  };
  constexpr Case kCases[] = {
      {"{", 1},          {"{\\b bold}", 0},   {"\\{", 0},       {"\\\\{", 1},
      {"\\\\\\{", 0},    {"\\'7b\\'7d", 0},   {"{{\\}", 2},     {"text\\", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    WriterRun run;
    run.rtf.TrackBraces(run.fc, c.text);
    EXPECT_EQ(run.rtf.GetBraceLevel(), c.level);
    EXPECT_TRUE(run.messages.empty());
  }
}

TEST(RTFFileBraces, TooManyCloseBracesAreRepairedAheadOfTheText) {
  for (const int showTags : {0, 1}) {
    SCOPED_TRACE(showTags);
    WriterRun run;
    run.SetBool(PolicyId::ShowTagsInOutput, showTags);
    run.OpenPlain();
    run.rtf.WriteRaw(run.fc, &run.rtf, "{");
    run.rtf.WriteRaw(run.fc, &run.rtf, "}}");
    const std::string repair = showTags ? "{{(extra braces added here) " : "{{";
    EXPECT_EQ(run.Lines(), (Lines{"{", repair, "}}"}));
    EXPECT_EQ(run.rtf.GetBraceLevel(), 1);
    EXPECT_EQ(run.messages,
              (Lines{"ERROR: Too many close braces.  Level = -1",
                     "WARNING: Inserting extra braces \"{{\".  Results may not be as expected",
                     "PROGRAM ERROR: Brace level reached zero.  Document will terminate prematurely"}));
  }
}

TEST(RTFFileBraces, EndDocumentClosesWhatIsLeftOpen) {
  {
    WriterRun run;
    run.OpenDocument();
    EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
    EXPECT_EQ(run.Lines(run.firstBodyLine), (Lines{"\\par}", "}}"}));
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
    EXPECT_TRUE(run.messages.empty());
  }
  for (const int showTags : {0, 1}) {
    SCOPED_TRACE(showTags);
    WriterRun run;
    run.SetBool(PolicyId::ShowTagsInOutput, showTags);
    run.OpenDocument();
    run.rtf.WriteRaw(run.fc, &run.rtf, "{\\b");
    run.rtf.WriteRaw(run.fc, &run.rtf, "{\\i");
    EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
    Lines expected{"{\\b", "{\\i", "\\par}", "}}"};
    if (showTags)
      expected.emplace_back("(Added extra close braces here)");
    expected.insert(expected.end(), {"}", "}"});
    EXPECT_EQ(run.Lines(run.firstBodyLine), expected);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
    EXPECT_EQ(run.messages, (Lines{"PROGRAM ERROR: 2 missing close braces.  Adding extra, but "
                                   "file may not be correct"}));
  }
}

// ---- Buffering ----

TEST(RTFFileBuffer, TheRtfPassWritesInBatchesOfJustOver1024Characters) {
  WriterRun run;
  run.OpenDocument();
  const std::string line(10, 'x');  // 11 characters in the buffer with its newline
  int written = 0;
  for (int i = 1; i <= 200; ++i) {
    run.rtf.WriteLine(run.fc, &run.rtf, line.c_str(), 0);
    const int now = run.lines.GetCount() - run.firstBodyLine;
    if (now == written)
      continue;
    // The buffer went past 1024 characters with its 94th line: the 95th line flushes it.
    EXPECT_EQ(i % 94, 1) << "flushed at line " << i;
    EXPECT_EQ(now - written, 94);
    EXPECT_EQ(run.rtf.GetPending().GetLength(), 11);
    written = now;
  }
  EXPECT_EQ(written, 188);
  EXPECT_EQ(run.rtf.FlushBuffer(run.fc, &run.rtf, 0), 1);
  EXPECT_EQ(run.lines.GetCount() - run.firstBodyLine, 200);
  EXPECT_TRUE(run.rtf.GetPending().IsEmpty());
}

TEST(RTFFileBuffer, OutsideTheRtfPassEachLineIsWrittenAtOnceAndWrapped) {
  WriterRun run;
  run.OpenPlain();
  std::string words;
  for (int i = 0; i < 12; ++i)
    words += "\\word{x} ";
  run.rtf.WriteLine(run.fc, &run.rtf, words.c_str(), 0);
  const Lines out = run.Lines();
  ASSERT_GE(out.size(), 2u);
  for (const std::string& piece : out) {
    EXPECT_LE(piece.size(), 80u);
    EXPECT_NE(piece.back(), '\\') << "a control word is never cut from its backslash";
  }
  run.rtf.WriteLine(run.fc, &run.rtf, words.c_str(), 1);
  EXPECT_EQ(run.Lines().back(), words);
}

// ---- Characters ----

TEST(RTFFileCharacters, LinesArePreparedByEncodingAndCodePage) {
  struct Case {
    const char* encoding;
    int dos;
    int tables;
    int japanese;
    const char* input;
    const char* expected;
  };
  constexpr Case kCases[] = {
      // every encoding escapes bytes above 127, in lower-case hex: RTF is 7-bit
      {"", 0, 1, 0, "caf\xE9", "caf\\'e9"},
      {"ISO-8859-1", 0, 1, 0, "caf\xE9", "caf\\'e9"},
      {"ASCII", 0, 1, 0, "caf\xE9", "caf\\'e9"},
      {"windows-1252", 0, 1, 0, "caf\xE9\xFF", "caf\\'e9\\'ff"},
      {"windows-1251", 0, 1, 0, "\xCF", "\\'cf"},
      {"", 0, 1, 1, "\x82\xA0", "\\'82\\'a0"},
      // KOI8-R is recoded to Windows-1251 first (Pe)
      {"KOI8-R", 0, 1, 0, "\xF0", "\\'cf"},
      // UTF-8 becomes Unicode escapes
      {"UTF-8", 0, 1, 0, "caf\xC3\xA9", "caf\\u233\\'e9"},
      // DOS box drawing, with tables off
      {"", 1, 0, 0, "\xB3x\x9D", "\\u9474\\'a6x\\u9472\\'2d"},
      {"", 1, 0, 0, "\xC4pfel", "\\'c4pfel"},
      {"windows-1252", 1, 0, 0, "\xB3\xC4", "\\u9474\\'a6\\'c4"},
      {"", 1, 1, 0, "\xB3", "\\'b3"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.encoding) + " / " + c.input);
    WriterRun run;
    run.SetText(PolicyId::CharacterEncoding, c.encoding);
    run.SetBool(PolicyId::InputFileContainsDOSCharacters, c.dos);
    run.SetBool(PolicyId::AttemptTABLEGeneration, c.tables);
    run.SetBool(PolicyId::InputFileContainsJapaneseCharacters, c.japanese);
    run.OpenPlain();
    run.rtf.WriteLine(run.fc, &run.rtf, c.input, 1);
    EXPECT_EQ(run.Lines(), Lines{c.expected});
  }
}

// Raw text (the prologue's document information) is 7-bit too: UTF-8 input as its characters.
TEST(RTFFileCharacters, RawTextEscapesBytesAbove127) {
  struct Case {
    const char* encoding;
    const char* input;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"", "{\\title caf\xE9}", "{\\title caf\\'e9}"},
      {"UTF-8", "{\\title caf\xC3\xA9}", "{\\title caf\\u233\\'e9}"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.encoding);
    WriterRun run;
    run.SetText(PolicyId::CharacterEncoding, c.encoding);
    run.OpenPlain();
    run.rtf.WriteRaw(run.fc, &run.rtf, c.input);
    EXPECT_EQ(run.Lines(), Lines{c.expected});
  }
}

// Code page 437 text converted as the output pass converts it (box drawing marked): the box
// comes out as Unicode box drawing, the accented capitals as the letters they are.
TEST(RTFFileCharacters, DosBoxDrawingAroundAccentedCapitals) {
  WriterRun run;
  run.SetBool(PolicyId::InputFileContainsDOSCharacters, 1);
  run.SetBool(PolicyId::AttemptTABLEGeneration, 0);
  run.OpenPlain();
  StatementFile input;
  ASSERT_TRUE(input.OpenForRead((kFixtures + "cp437-box-and-accents.txt").c_str(), 0));
  TextString line;
  while (input.ReadLine(line, nullptr)) {
    line.ConvertOemCharacters(0, 0, 0, nullptr, 1);
    run.rtf.WriteLine(run.fc, &run.rtf, line.GetText(), 1);
  }
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
      out += s;
    return out;
  };
  const std::string bar = "\\u9474\\'a6";
  EXPECT_EQ(run.Lines(),
            (Lines{"\\u9484\\'2b" + repeat("\\u9472\\'2d", 7) + "\\u9488\\'2b",
                   bar + " \\'c4pfel " + bar, bar + " \\'c9cole " + bar,
                   bar + " \\'c7a \\'d6l " + bar,
                   "\\u9562\\'2b" + repeat("\\u9552\\'2d", 7) + "\\u9565\\'2b"}));
}

// UTF-8 and UTF-16 input reach the writer as UTF-8: every character outside ASCII becomes a
// Unicode escape, whatever "Character encoding" says.
TEST(RTFFileCharacters, Utf8AndUtf16InputBecomeUnicodeEscapes) {
  const Lines expected{"caf\\u233\\'e9 \\u224\\'e0 la cr\\u232\\'e8me \\u8364\\'805",
                       "\\u917?\\u955?\\u955?\\u940?\\u948?\\u945?", "\\u20013?\\u25991?",
                       "smile \\u-10179?\\u-8704? end"};
  for (const char* fixture : {"utf8-bom-mixed.txt", "utf16le-bom-mixed.txt"}) {
    SCOPED_TRACE(fixture);
    WriterRun run;
    StatementFile input;
    ASSERT_TRUE(input.OpenForRead((kFixtures + fixture).c_str(), 0));
    TextString line;
    Lines read;
    while (input.ReadLine(line, nullptr))
      read.emplace_back(line.GetText());
    ASSERT_TRUE(input.IsUtf8() || input.IsUtf16());
    run.ctx.Utf8Input = 1;
    run.OpenPlain();
    for (const std::string& text : read)
      run.rtf.WriteLine(run.fc, &run.rtf, text.c_str(), 1);
    EXPECT_EQ(run.Lines(), expected);
  }
}

// ---- Names and opening ----

TEST(RTFFileNames, MakeFileNameFromFoldersAndPattern) {
  struct Case {
    const char* outputDirectory;
    const char* inputDirectory;
    const char* pattern;
    const char* name;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"", "", "", "/in/doc.txt", "/in/doc.rtf"},
      {"", "", "", "doc", "doc.rtf"},
      {"/out/", "", "", "/in/doc.txt", "/out/doc.rtf"},
      {"/out/", "/in/", "", "/in/doc.txt", "/out/doc.rtf"},
      // sub-folders below the input folder are kept
      {"/out/", "/in/", "", "/in/sub/doc.txt", "/out/sub/doc.rtf"},
      // the input folder counts only at the start
      {"/out/", "/in/", "", "/out/in/doc.rtf", "/out/in/doc.rtf"},
      // an output name given whole stays in its folder, below the input folder or not
      {"/in/made/", "/in/", "", "/in/made/out.rtf", "/in/made/out.rtf"},
      {"/out/", "/out/x/", "", "/out/x/doc.txt", "/out/doc.rtf"},
      // pattern parts win; "[*]", "*" and ".*" stand for nothing
      {"/out/", "", "/p/name.doc", "/in/doc.txt", "/p/name.doc"},
      {"/out/", "", "*.htm", "/in/doc.txt", "/out/doc.htm"},
      {"/out/", "", "[*]/*.*", "/in/doc.txt", "/out/doc.rtf"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    WriterRun run;
    run.SetText(PolicyId::OutputDirectory, c.outputDirectory);
    run.SetText(PolicyId::InputDirectory, c.inputDirectory);
    run.ctx.Commands.outputSpec.Assign(c.pattern);
    TextString out;
    EXPECT_EQ(run.rtf.MakeFileName(TextString(c.name), run.fc, out), 1);
    EXPECT_STREQ(out.GetText(), c.expected);
    // One policy set names the outputs of many inputs: it is left as it was.
    EXPECT_STREQ(run.fc.GetText(PolicyId::OutputDirectory).GetText(), c.outputDirectory);
  }
  WriterRun run;
  TextString out;
  EXPECT_EQ(run.rtf.MakeFileName(TextString(""), run.fc, out), 0);
}

TEST(RTFFileOpen, OpensReportsAndRecordsTheFile) {
  WriterRun run;
  run.rtf.SetSink(nullptr);
  const std::string name = TempPath("rtf", "doc.rtf");
  run.ctx.RtfPass = 1;
  run.rtf.SetBraceTracking(1);
  ASSERT_EQ(run.rtf.Open(name.c_str(), run.fc, 0), 1);
  EXPECT_EQ(run.progress, Lines{"Generating RTF file " + name});
  EXPECT_EQ(name.substr(name.size() - std::strlen(run.ctx.CurrentOutputFileName.GetText())),
            run.ctx.CurrentOutputFileName.GetText());
  EXPECT_TRUE(std::string(run.ctx.CurrentOutputFileName.GetText()).find('/') == std::string::npos);
  EXPECT_STREQ(run.ctx.FirstOutputFileName.GetText(), name.c_str());
  EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
  run.rtf.Close();
  const std::string bytes = ReadBytes(name);
  EXPECT_EQ(bytes.rfind("\\par}\n}}\n"), bytes.size() - 9);
  EXPECT_EQ(bytes.find('\r'), std::string::npos) << "lines end in LF alone";
  EXPECT_TRUE(run.messages.empty());
  std::filesystem::remove(name);
}

TEST(RTFFileOpen, AFileThatCannotBeOpenedIsReported) {
  WriterRun run;
  run.rtf.SetSink(nullptr);
  const std::string name = TempPath("rtf", "no-such-folder") + "/doc.rtf";
  EXPECT_EQ(run.rtf.Open(name.c_str(), run.fc, 0), 0);
  EXPECT_EQ(run.messages, Lines{"ERROR: Can't open file \"" + name + "\""});
  EXPECT_FALSE(run.rtf.IsDocumentOpen());
}

TEST(RTFFileOpen, ConsoleOutputGoesToStandardOutput) {
  WriterRun run;
  run.rtf.SetSink(nullptr);
  run.ctx.RtfPass = 1;
  testing::internal::CaptureStdout();
  const int opened = run.rtf.Open("doc", run.fc, 1);
  const int ended = opened ? run.rtf.EndDocument(run.fc) : 0;
  run.rtf.Close();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(out.rfind("{\\rtf1", 0), 0u) << out;
  EXPECT_EQ(out.rfind("\\par}\n}}\n"), out.size() - 9);
}

TEST(RTFFileOpen, OpeningAgainStartsAFreshDocument) {
  WriterRun run;
  run.OpenDocument();
  run.rtf.WriteRaw(run.fc, &run.rtf, "{\\b");
  (void)run.rtf.EndDocument(run.fc);
  run.messages.clear();
  ASSERT_EQ(run.rtf.Open("second", run.fc, 0), 1);
  EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(run.rtf.GetStyleCode(), 1);
  EXPECT_EQ(run.rtf.GetLineContexts().previous.type, kTypeBlank);
}
