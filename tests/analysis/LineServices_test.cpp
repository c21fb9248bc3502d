#include "analysis/LineServices.h"

#include <gtest/gtest.h>

#include "policy/FileControl.h"

namespace {

TEST(EscapeRtfText, EscapesOnceOnly) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"plain", "plain"},
      {"a\\b {c}", "a\\\\b \\'7bc\\'7d"},
      {"already \\\\ escaped {x}", "already \\\\ escaped {x}"},
      {"has \\'7b escape \\x", "has \\'7b escape \\x"},
      {"}{", "\\'7d\\'7b"},
      {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    EscapeRtfText(text);
    EXPECT_STREQ(text.GetText(), c.out);
    EscapeRtfText(text);  // a second pass changes nothing
    EXPECT_STREQ(text.GetText(), c.out);
  }
}

}  // namespace
