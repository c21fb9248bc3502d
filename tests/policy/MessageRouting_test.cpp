#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/TextFile.h"

namespace {

// A policy set attached to a Context whose handler's output is collected.
class MessageRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    LogErrorHandler& handler = ctx.GetLogErrorHandler();
    handler.SetMessageCallback([this](const char* text) { shown.emplace_back(text); });
    handler.SetDiagnosticCallback([this](const char* text) { progress.emplace_back(text); });
  }
  // Puts the pass at work on line, in the main text.
  Tracker& WorkOn(int location, PreHTML* line) {
    ctx.CodeLocation = location;
    Tracker& t = ctx.GetPassTracker(location);
    t.currentPosition.Set(0, 41);
    t.currentLine = line;
    return t;
  }
  void SetPass(int analysis, int contents, int output) {
    ctx.AnalysisPass = analysis;
    ctx.ContentsPass = contents;
    ctx.OutputPass = output;
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> shown;
  std::vector<std::string> progress;
};

}  // namespace

TEST_F(MessageRouting, BetweenPassesEveryMessageGoesToTheHandler) {
  ctx.CodeLocation = kLocationNone;
  fc.ReportMessage("ERROR: Can't open \"x\"", 10);
  fc.ReportMessage("INFO: minor", 1);  // below 10 - 5
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "ERROR: Can't open \"x\"");
  EXPECT_STREQ(fc.GetLastMessage().GetText(), "INFO: minor");
  // No "Unknown Code location" on this road.
  EXPECT_EQ(ctx.GetLogErrorHandler().GetMessageText().GetText(), std::string("INFO: minor"));
}

TEST_F(MessageRouting, HandlerTakesTheMessagePoliciesAtEachMessage) {
  fc.ReportMessage("INFO: first", 10);
  fc.Bool(PolicyId::SuppressINFOMessages).value = 1;
  fc.ReportMessage("INFO: second", 10);
  fc.ReportMessage("WARNING: third", 10);
  fc.Int(PolicyId::ErrorReportingLevel).value = 10;
  fc.ReportMessage("WARNING: fourth", 1);
  fc.Bool(PolicyId::DisplayMessages).value = 0;
  fc.ReportMessage("ERROR: fifth", 10);
  EXPECT_EQ(shown, (std::vector<std::string>{"INFO: first", "WARNING: third", "WARNING: fourth"}));
}

TEST_F(MessageRouting, LineMessagesAreNotedInEveryPassAndShownOnlyInTheOutputPass) {
  TextFile listFile;
  ctx.ListFile = &listFile;
  PreHTML line;
  line.SetStartPosition(fc, TextPosition(0, 17));  // main text (block 0), line 17
  fc.ReportToHandler("INFO: settings in force", 1);  // the line road uses the last settings

  SetPass(1, 0, 0);
  WorkOn(kLocationAnalysis, &line);
  fc.ReportMessage("WARNING: odd line", 10);
  SetPass(0, 1, 0);
  WorkOn(kLocationContents, &line);
  fc.ReportMessage("WARNING: odd line", 10);
  EXPECT_TRUE(shown.empty());
  ASSERT_NE(line.pGetNote(), nullptr);
  EXPECT_STREQ(line.pGetNote()->GetText(), "*** WARNING: odd line\n*** WARNING: odd line");

  SetPass(0, 0, 1);
  WorkOn(kLocationOutput, &line);
  fc.ReportMessage("WARNING: odd line", 10);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Line 17 - WARNING: odd line");
}

TEST_F(MessageRouting, WithoutALineObjectOrOutsideTheMainTextTheHandlerReports) {
  PreHTML line;
  SetPass(1, 0, 0);
  WorkOn(kLocationAnalysis, nullptr);
  fc.ReportMessage("ERROR: no line", 10);
  Tracker& t = WorkOn(kLocationAnalysis, &line);
  t.currentPosition.Set(2, 5);
  fc.ReportMessage("ERROR: in a block", 10);
  EXPECT_EQ(shown, (std::vector<std::string>{"ERROR: no line", "ERROR: in a block"}));
  EXPECT_EQ(line.pGetNote(), nullptr);
}

TEST_F(MessageRouting, ProgressGoesToTheDiagnosticStream) {
  fc.ReportProgress("---- Making First Pass ----");
  EXPECT_EQ(progress, (std::vector<std::string>{"---- Making First Pass ----"}));
  fc.Int(PolicyId::ErrorReportingLevel).value = 0;  // progress needs a level above 0
  fc.ReportProgress("---- Making Second Pass ----");
  EXPECT_EQ(progress.size(), 1u);
}

TEST(MessageRoutingAlone, WithoutAContextDisplayMessagesDecidesAlone) {
  FileControl fc;
  fc.Int(PolicyId::ErrorReportingLevel).value = 0;
  fc.Bool(PolicyId::SuppressINFOMessages).value = 1;
  testing::internal::CaptureStderr();
  fc.ReportMessage("INFO: low and suppressed", 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "INFO: low and suppressed\n");

  fc.Bool(PolicyId::DisplayMessages).value = 0;
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  fc.ReportMessage("ERROR: hidden", 10);
  fc.ReportProgress("---- hidden ----");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  fc.Bool(PolicyId::DisplayMessages).value = 1;
  testing::internal::CaptureStdout();
  fc.ReportProgress("---- Starting Output pass ----");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "---- Starting Output pass ----\n");
}
