#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"

// A Context of the RTF product with a policy set attached and every message it reports.
struct RtfSetup {
  RtfSetup() : ctx(2, kOutputRtf) {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { messages.emplace_back(t); });
  }

  // Applies one "key: value" policy line; fails the test when the line is refused.
  void Set(const std::string& line) {
    TextString text(line.c_str());
    int category = 0;
    EXPECT_EQ(fc.LoadPolicyLine(text, category, 0), FileControl::kPolicyLineDone) << line;
  }

  Context ctx;
  FileControl fc;
  std::vector<std::string> messages;
};

inline std::string Str(const TextString& text) { return {text.GetText(), static_cast<size_t>(text.GetLength())}; }
