#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"

// A Context with a policy set attached whose handler's messages are collected in messages.
// Every message is shown ("Error reporting level" 10).
class ContextFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }
  // Sets the three pass flags and the code location of the pass that is on.
  void SetPass(int analysis, int contents, int output) {
    ctx.AnalysisPass = analysis;
    ctx.ContentsPass = contents;
    ctx.OutputPass = output;
    ctx.CodeLocation = analysis   ? kLocationAnalysis
                       : contents ? kLocationContents
                       : output   ? kLocationOutput
                                  : kLocationNone;
  }

  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> messages;
};
