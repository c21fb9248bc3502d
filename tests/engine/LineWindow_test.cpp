#include "convert/LineWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "text/StringList.h"
#include "support/TestFiles.h"
#include "text/TextFile.h"

namespace {

// A writer that records what reaches it and can be told to fail from a given line on.
class RecordingWriter : public RTFFile {
 public:
  explicit RecordingWriter(Context& ctx) : RTFFile(ctx) {}
  int WriteOut(Statement& line, FileControl&, Context&) override {
    ++calls;
    if (failFrom >= 0 && calls > failFrom)
      return 0;
    types.push_back(line.GetLineType());
    texts.emplace_back(line.GetText());
    return 1;
  }
  int calls = 0;
  int failFrom = -1;
  std::vector<int> types;
  std::vector<std::string> texts;
};

std::string TempFileWithLines(const std::string& name, int count) {
  const std::string path = TempPath("window", name);
  std::ofstream out(path);
  for (int i = 1; i <= count; ++i)
    out << "line " << i << "\n";
  return path;
}

struct WindowRun {
  WindowRun() : ctx(2, kOutputRtf) {
    fc.AttachContext(&ctx);
    listFile.SetSink(&listed);
    (void)listFile.OpenForWrite("sink", 0, 0);
  }
  // One pass of the given kind over a file of count lines.
  int Run(int count, int pass, RecordingWriter* writer = nullptr) {
    ctx.AnalysisPass = pass == 1;
    ctx.ContentsPass = pass == 2;
    ctx.OutputPass = pass == 3;
    RTFFile reader(ctx);
    const std::string path = TempFileWithLines(std::to_string(count), count);
    EXPECT_TRUE(reader.OpenForRead(path.c_str(), 0));
    const int result = RunLineWindow(pass == 1, reader, fc, ctx, &listFile, writer);
    reader.CloseAll();
    std::remove(path.c_str());
    return result;
  }
  // The texts of the annotated lines (the 20-column prefix removed), legend excluded.
  std::vector<std::string> ListedTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < listed.GetCount(); ++i) {
      const std::string line(listed.GetItem(i)->text.GetText());
      if (line.size() >= 20 && line[19] == '|')
        texts.push_back(line.substr(20));
    }
    return texts;
  }

  Context ctx;
  FileControl fc;
  StringList listed;
  TextFile listFile;
};

constexpr int kSizes[] = {0, 1, 2, 37, 38, 39, 40, 41, 78, 79, 80, 200};

}  // namespace

TEST(LineWindow, AnalysisPassListsEveryInputLineOnceInOrder) {
  for (const int count : kSizes) {
    SCOPED_TRACE(count);
    WindowRun run;
    EXPECT_EQ(run.Run(count, 1), 1);
    const std::vector<std::string> texts = run.ListedTexts();
    ASSERT_EQ(static_cast<int>(texts.size()), count);
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(texts[static_cast<std::size_t>(i)], "line " + std::to_string(i + 1));
  }
}

TEST(LineWindow, OutputPassWritesInputThenTwoBlanksAndEndOfFile) {
  for (const int count : kSizes) {
    SCOPED_TRACE(count);
    WindowRun run;
    RecordingWriter writer(run.ctx);
    EXPECT_EQ(run.Run(count, 3, &writer), 1);
    ASSERT_EQ(static_cast<int>(writer.texts.size()), count + 3);
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(writer.texts[static_cast<std::size_t>(i)], "line " + std::to_string(i + 1));
    const std::size_t n = static_cast<std::size_t>(count);
    EXPECT_EQ(writer.types[n], 1);
    EXPECT_EQ(writer.types[n + 1], 1);
    EXPECT_EQ(writer.types[n + 2], -5);
    EXPECT_EQ(writer.texts[n + 2], "");
    // The output list file carries the same lines as the writer.
    EXPECT_EQ(static_cast<int>(run.ListedTexts().size()), count + 3);
  }
}

TEST(LineWindow, IgnoredEndLinesAreBlankedAndNotListedInAnalysis) {
  struct Case {
    int lines;
    int ignore;
    int blanked;  // what can be blanked: never more than the lines read
  };
  constexpr Case kCases[] = {{10, 3, 3}, {50, 3, 3}, {2, 3, 2}, {0, 5, 0}, {50, 25, 20}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.lines << " lines, ignore " << c.ignore);
    WindowRun analysis;
    analysis.fc.Int(PolicyId::LinesToIgnoreAtEndOfFile).value = c.ignore;
    EXPECT_EQ(analysis.Run(c.lines, 1), 1);
    EXPECT_EQ(static_cast<int>(analysis.ListedTexts().size()), c.lines - c.blanked);

    WindowRun output;
    output.fc.Int(PolicyId::LinesToIgnoreAtEndOfFile).value = c.ignore;
    RecordingWriter writer(output.ctx);
    EXPECT_EQ(output.Run(c.lines, 3, &writer), 1);
    ASSERT_EQ(static_cast<int>(writer.texts.size()), c.lines + 3);
    for (int i = c.lines - c.blanked; i < c.lines; ++i) {
      EXPECT_EQ(writer.types[static_cast<std::size_t>(i)], 0);
      EXPECT_EQ(writer.texts[static_cast<std::size_t>(i)], "");
    }
  }
}

TEST(LineWindow, IgnoreEndLinesNeverReachesEmptySlots) {
  LineWindow window;
  window.Current().Assign("only");
  window.InputLinesHeld = 1;
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  ASSERT_EQ(AdvanceLineWindow(1, window, fc, ctx, nullptr, nullptr), 1);
  EXPECT_EQ(IgnoreEndLines(20, window), 1);
  EXPECT_EQ(window.Slot(0)->GetLineType(), 0);
  EXPECT_TRUE(window.Slot(0)->IsEmpty());
  EXPECT_EQ(IgnoreEndLines(-4, window), 0);
}

TEST(LineWindow, FailedWriteStopsWritingButReadsToTheEnd) {
  WindowRun run;
  RecordingWriter writer(run.ctx);
  writer.failFrom = 5;
  EXPECT_EQ(run.Run(120, 3, &writer), 0);
  EXPECT_EQ(writer.calls, 6);  // five written, the sixth failed, none after
  EXPECT_EQ(static_cast<int>(run.ListedTexts().size()), 5);
}

TEST(LineWindow, OversizedIgnoreCountIsReported) {
  WindowRun run;
  std::vector<std::string> messages;
  run.ctx.GetLogErrorHandler().SetMessageCallback(
      [&](const char* text) { messages.emplace_back(text); });
  run.fc.Int(PolicyId::LinesToIgnoreAtEndOfFile).value = 21;
  EXPECT_EQ(run.Run(5, 1), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "ERROR: Ignore end of file cannot be larger than 20");
}

// ---- Definition directives ----

namespace {

struct DirectiveLine {
  int taggedType;
  const char* text;
};

// Runs the per-statement step over lines in the given pass; returns their line types.
std::vector<int> StepThrough(Context& ctx, FileControl& fc, const std::vector<DirectiveLine>& lines,
                             int pass, std::vector<TextPosition>* starts = nullptr) {
  ctx.AnalysisPass = pass == 1;
  ctx.ContentsPass = pass == 2;
  ctx.OutputPass = pass == 3;
  ctx.ResetPassState();
  PassCounters counters;
  std::vector<int> types;
  for (const DirectiveLine& d : lines) {
    PreHTML line;
    line.Assign(d.text);
    line.SetRawCopy(TextString(d.text));
    line.SetTaggedType(d.taggedType);
    ProcessDefinitionTag(fc, ctx, line, counters);
    types.push_back(line.GetLineType());
    if (starts != nullptr)
      starts->push_back(line.GetStartPosition());
  }
  for (Tracker& tracker : ctx.Trackers)
    tracker.currentLine = nullptr;
  return types;
}

}  // namespace

TEST(ProcessDefinitionTag, BlockBodyBecomesNullLinesAndKeepsMainLineNumbers) {
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  const std::vector<DirectiveLine> lines = {
      {-3, "before"},
      {1017, "$_$_DEFINE_BLOCK name"},
      {-3, "inside one"},
      {-3, "inside two"},
      {1018, "$_$_END_BLOCK"},
      {-3, "after"},
  };
  std::vector<TextPosition> starts;
  EXPECT_EQ(StepThrough(ctx, fc, lines, 1, &starts),
            (std::vector<int>{0, 1017, -1, -1, 1018, 0}));
  // Main text in block 0; the block's lines numbered inside block 1; main numbering resumes.
  EXPECT_EQ(starts[0].GetLine(), 0);
  EXPECT_EQ(starts[0].GetColumn(), 1);
  EXPECT_EQ(starts[2].GetLine(), 1);
  EXPECT_EQ(starts[2].GetColumn(), 2);
  EXPECT_EQ(starts[5].GetLine(), 0);
  EXPECT_EQ(starts[5].GetColumn(), 2);
  // The analysis pass recorded the block and its body.
  bool found = false;
  for (int i = 0; i < ctx.Defines.GetCount(); ++i) {
    const DefineEntry* entry = ctx.Defines.GetEntry(i);
    if (entry->name.Equals(TextString("name"))) {
      found = true;
      EXPECT_EQ(entry->lines.GetCount(), 2);
    }
  }
  EXPECT_TRUE(found);
}

TEST(ProcessDefinitionTag, ResetBlockOpensAndClosesOnItsOwnLine) {
  Context ctx(2, kOutputRtf);
  FileControl fc;
  fc.AttachContext(&ctx);
  EXPECT_EQ(StepThrough(ctx, fc, {{1021, "$_$_RESET_BLOCK name"}, {-3, "main again"}}, 1),
            (std::vector<int>{1021, 0}));
  EXPECT_FALSE(ctx.Defines.IsDefinitionOpen());
}

TEST(ProcessDefinitionTag, ProblemsAreReportedOnlyInTheOutputPass) {
  const std::vector<DirectiveLine> lines = {
      {1017, "$_$_DEFINE_BLOCK outer"},
      {1017, "$_$_DEFINE_BLOCK inner"},
      {1018, "$_$_END_BLOCK"},
      {1018, "$_$_END_BLOCK"},
  };
  for (const int pass : {1, 2, 3}) {
    SCOPED_TRACE(pass);
    Context ctx(2, kOutputRtf);
    FileControl fc;
    fc.AttachContext(&ctx);
    std::vector<std::string> messages;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [&](const char* text) { messages.emplace_back(text); });
    const std::vector<int> types = StepThrough(ctx, fc, lines, pass);
    EXPECT_EQ(types, (std::vector<int>{1017, 1017, 1018, 1018}));
    if (pass != 3) {
      EXPECT_TRUE(messages.empty());
      continue;
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("TAG ERROR: recursive DEFINE_BLOCK detected."), std::string::npos);
    EXPECT_NE(messages[1].find("TAG ERROR: END_BLOCK not expected here."), std::string::npos);
  }
}

// ---- Line messages ----

namespace {

// Gives definition directive lines the tagged type the preprocessor would give them.
class DirectiveReader : public RTFFile {
 public:
  explicit DirectiveReader(Context& ctx) : RTFFile(ctx) {}
  bool ReadStatement(Statement& out, FileControl& fc, Context& ctx, int apply) override {
    if (!RTFFile::ReadStatement(out, fc, ctx, apply))
      return false;
    auto* line = dynamic_cast<PreHTML*>(&out);
    if (line == nullptr)
      return true;
    line->SetRawCopy(TextString(out.GetText()));
    const std::string text(out.GetText());
    if (text.starts_with("$_$_DEFINE_BLOCK"))
      line->SetTaggedType(1017);
    else if (text.starts_with("$_$_END_BLOCK"))
      line->SetTaggedType(1018);
    return true;
  }
};

// The number the list file prints beside the line whose text starts with text (columns 6-10).
int ListedNumber(const StringList& listed, const std::string& text) {
  for (int i = 0; i < listed.GetCount(); ++i) {
    const std::string line(listed.GetItem(i)->text.GetText());
    if (line.size() > 20 && line[19] == '|' && line.compare(20, text.size(), text) == 0)
      return std::stoi(line.substr(6, 5));
  }
  return -1;
}

}  // namespace

// A message about a line carries the number the list file shows beside that line: the input
// line number in the main text.
TEST(LineWindow, LineMessagesCarryTheListedLineNumber) {
  struct Case {
    const char* name;
    int blockAt;   // first line of a three-line defined block before the stray END_BLOCK; 0: none
    int expected;  // the number shown for line 57
  };
  // Lines inside a defined block are numbered within their block, so the main text after
  // one skips its lines.
  constexpr Case kCases[] = {{"plain text", 0, 57}, {"after a defined block", 10, 54}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path path = TempPath("window", "messages.txt");
    {
      std::ofstream out(path);
      for (int i = 1; i <= 100; ++i) {
        if (i == 57)
          out << "$_$_END_BLOCK stray\n";
        else if (c.blockAt != 0 && i == c.blockAt)
          out << "$_$_DEFINE_BLOCK name\n";
        else if (c.blockAt != 0 && i == c.blockAt + 2)
          out << "$_$_END_BLOCK\n";
        else
          out << "line " << i << "\n";
      }
    }
    WindowRun run;
    std::vector<std::string> messages;
    run.ctx.GetLogErrorHandler().SetMessageCallback(
        [&](const char* text) { messages.emplace_back(text); });
    run.ctx.ListFile = &run.listFile;  // notes are kept while a list file is open
    run.ctx.AnalysisPass = 0;
    run.ctx.ContentsPass = 0;
    run.ctx.OutputPass = 1;
    run.ctx.ResetPassState();
    RecordingWriter writer(run.ctx);
    DirectiveReader reader(run.ctx);
    ASSERT_TRUE(reader.OpenForRead(path.string().c_str(), 0));
    EXPECT_EQ(RunLineWindow(0, reader, run.fc, run.ctx, &run.listFile, &writer), 1);
    reader.CloseAll();
    run.ctx.ListFile = nullptr;
    std::filesystem::remove(path);

    const std::string expected =
        "Line " + std::to_string(c.expected) + " - TAG ERROR: END_BLOCK not expected here.";
    EXPECT_EQ(messages, std::vector<std::string>{expected});
    EXPECT_EQ(ListedNumber(run.listed, "$_$_END_BLOCK stray"), c.expected);
    EXPECT_EQ(ListedNumber(run.listed, "line 56"), c.expected - 1);
  }
}
