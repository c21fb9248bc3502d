#include "policy/ErrorHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

// Collects what reaches the callbacks and the log of one handler.
struct Capture {
  std::vector<std::string> messages;
  std::vector<std::string> diagnostics;
  StringList logLines;
  TextFile log;

  Capture() { logLines.SetDuplicatesAllowed(true); }

  void Install(ErrorHandler& handler) {
    handler.SetMessageCallback([this](const char* text) { messages.emplace_back(text); });
    handler.SetDiagnosticCallback([this](const char* text) { diagnostics.emplace_back(text); });
  }
  void AttachLog(LogErrorHandler& handler) {
    log.SetSink(&logLines);
    ASSERT_TRUE(log.OpenForWrite("log", 0, 0));
    handler.SetLogFile(&log);
  }
  std::string Log() const {
    TextString joined;
    logLines.Join(joined, "|");
    return joined.GetText();
  }
};

struct LevelCase {
  int reportingLevel;
  int messageLevel;
  bool shown;
};

TEST(ErrorHandler, DropsMessagesBelowTenMinusReportingLevel) {
  constexpr LevelCase kCases[] = {
      {5, 4, false}, {5, 5, true},  {5, 10, true}, {0, 9, false}, {0, 10, true},
      {10, 0, true}, {10, -1, false}, {7, 2, false}, {7, 3, true},
  };
  for (const LevelCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << "reporting " << c.reportingLevel << " message "
                                    << c.messageLevel);
    LogErrorHandler handler;
    Capture capture;
    capture.Install(handler);
    handler.SetLevel(c.reportingLevel);
    handler.Report("ERROR: something", c.messageLevel);
    EXPECT_EQ(capture.messages.size(), c.shown ? 1u : 0u);
    EXPECT_EQ(handler.IsBelowLevel(c.messageLevel), c.shown ? 0 : 1);
  }
}

struct KindCase {
  const char* text;
  int flagIndex;  // which of the five flags is on (-1: none)
  bool suppressed;
};

TEST(ErrorHandler, SuppressesByMarkerAnywhereIgnoringCase) {
  constexpr KindCase kCases[] = {
      {"URL: http://x", 0, true},
      {"Line 12 - info: in the middle", 1, true},
      {"INFO: plain", 1, true},
      {"INFO without colon", 1, false},
      {"WARNING: doubtful", 2, true},
      {"PROGRAM ERROR: FC::Method", 3, true},
      {"TAG ERROR: bad tag", 4, true},
      {"ERROR: not a tag error", 4, false},
      {"INFO: flag off", 2, false},
      {"WARNING: nothing on", -1, false},
  };
  for (const KindCase& c : kCases) {
    SCOPED_TRACE(c.text);
    LogErrorHandler handler;
    int flags[5] = {0, 0, 0, 0, 0};
    if (c.flagIndex >= 0)
      flags[c.flagIndex] = 1;
    handler.SetSuppression(1, flags[0], flags[1], flags[2], flags[3], flags[4]);
    EXPECT_EQ(handler.IsSuppressed(TextString(c.text)) != 0, c.suppressed);

    Capture capture;
    capture.Install(handler);
    capture.AttachLog(handler);
    handler.SetLevel(10);
    handler.Report(c.text, 10);
    // A suppressed kind reaches neither the callback nor the log.
    EXPECT_EQ(capture.messages.size(), c.suppressed ? 0u : 1u);
    EXPECT_EQ(capture.Log().empty(), c.suppressed);
  }
}

TEST(LogErrorHandler, LogKeepsEveryUnsuppressedMessageWhateverLevelOrDisplay) {
  LogErrorHandler handler;
  Capture capture;
  capture.Install(handler);
  capture.AttachLog(handler);
  handler.SetLevel(5);
  handler.SetSuppression(1, 0, 1, 0, 0, 0);
  handler.Report("ERROR: low level", 1);    // below the level: log only
  handler.Report("INFO: suppressed", 10);  // suppressed: nowhere
  handler.SetSuppression(0, 0, 1, 0, 0, 0);
  handler.Report("ERROR: display off", 10);  // display off: log only
  handler.SetSuppression(1, 0, 1, 0, 0, 0);
  handler.Report("ERROR: shown", 10);
  EXPECT_EQ(capture.Log(), "ERROR: low level|ERROR: display off|ERROR: shown");
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], "ERROR: shown");
}

TEST(LogErrorHandler, DiagnosticsNeedAReportingLevelAboveZero) {
  LogErrorHandler handler;
  Capture capture;
  capture.Install(handler);
  capture.AttachLog(handler);
  handler.SetLevel(0);
  handler.Diagnostic("---- Making First Pass ----");
  EXPECT_TRUE(capture.diagnostics.empty());
  EXPECT_EQ(capture.Log(), "");

  handler.SetLevel(1);
  handler.Diagnostic("---- Making Second Pass ----");
  handler.SetSuppression(0, 0, 0, 0, 0, 0);
  handler.Diagnostic("display off");
  handler.SetSuppression(1, 0, 1, 0, 0, 0);
  handler.Diagnostic("INFO: suppressed");
  ASSERT_EQ(capture.diagnostics.size(), 1u);
  EXPECT_EQ(capture.diagnostics[0], "---- Making Second Pass ----");
  EXPECT_EQ(capture.Log(), "---- Making Second Pass ----");
  EXPECT_TRUE(capture.messages.empty());
}

TEST(ErrorHandler, WithoutCallbacksMessagesGoToStderrAndDiagnosticsToStdout) {
  ErrorHandler handler;
  handler.SetLevel(5);
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  handler.Report("ERROR: to stderr", 10);
  handler.Report("ERROR: dropped", 1);
  handler.Diagnostic("progress");
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "ERROR: to stderr\n");
  EXPECT_EQ(out, "progress\n");
}

TEST(LogErrorHandler, NullTextsAreIgnored) {
  LogErrorHandler handler;
  Capture capture;
  capture.Install(handler);
  capture.AttachLog(handler);
  handler.SetLevel(10);
  handler.SetMessageText("kept");
  handler.Report(nullptr, 10);
  handler.Diagnostic(nullptr);
  EXPECT_TRUE(capture.messages.empty());
  EXPECT_TRUE(capture.diagnostics.empty());
  EXPECT_EQ(capture.Log(), "");
  EXPECT_STREQ(handler.GetMessageText().GetText(), "kept");
}

TEST(ErrorHandler, ReportBufferSendsTheComposedText) {
  LogErrorHandler handler;
  Capture capture;
  capture.Install(handler);
  handler.SetLevel(5);
  handler.SetMessageText("POLICY: Ignored - ");
  handler.AppendMessageText("line");
  handler.AppendMessageText(nullptr);
  handler.ReportBuffer(10);
  handler.DiagnoseBuffer();
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], "POLICY: Ignored - line");
  ASSERT_EQ(capture.diagnostics.size(), 1u);
  EXPECT_EQ(capture.diagnostics[0], "POLICY: Ignored - line");
}

TEST(LogErrorHandler, CopySettingsTakesFiltersAndCallbacksButNotTextOrLog) {
  LogErrorHandler source;
  Capture capture;
  capture.Install(source);
  capture.AttachLog(source);
  source.SetLogFileName("run.log");
  source.SetLevel(3);
  source.SetSuppression(1, 1, 0, 1, 0, 0);
  source.SetMessageText("source text");

  LogErrorHandler copy;
  copy.SetMessageText("own text");
  copy.CopySettings(source);
  EXPECT_EQ(copy.GetLevel(), 3);
  EXPECT_EQ(copy.pGetLogFile(), nullptr);
  EXPECT_TRUE(copy.GetLogFileName().IsEmpty());
  EXPECT_EQ(copy.IsLogOpen(), 0);
  EXPECT_STREQ(copy.GetMessageText().GetText(), "own text");
  EXPECT_NE(copy.IsSuppressed(TextString("URL: x")), 0);
  EXPECT_NE(copy.IsSuppressed(TextString("WARNING: x")), 0);
  EXPECT_EQ(copy.IsSuppressed(TextString("INFO: x")), 0);
  copy.Report("ERROR: through the copied callback", 10);
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.Log(), "");  // the copy has no log

  copy.Init();
  EXPECT_EQ(copy.GetLevel(), 0);
  EXPECT_EQ(copy.IsEnabled(), 1);
  EXPECT_EQ(copy.IsSuppressed(TextString("URL: x")), 0);
}

TEST(LogErrorHandler, WritesNothingToAClosedOrMissingLog) {
  LogErrorHandler handler;
  EXPECT_EQ(handler.WriteLogLine("x"), 0);
  TextFile closed;
  EXPECT_EQ(handler.SetLogFile(&closed), 1);
  EXPECT_EQ(handler.IsLogOpen(), 0);
  EXPECT_EQ(handler.WriteLogLine("x"), 0);
  EXPECT_EQ(handler.SetLogFile(nullptr), 1);
}

}  // namespace
