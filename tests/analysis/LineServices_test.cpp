#include "analysis/LineServices.h"

#include <gtest/gtest.h>

#include <string>

#include "policy/FileControl.h"

namespace {

// Empty when every group brace of text is matched, escaped braces and backslash pairs not
// counted; else what is wrong.
std::string BraceFault(const std::string& text) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
      continue;
    }
    if (text[i] == '{')
      ++depth;
    else if (text[i] == '}' && --depth < 0)
      return "unmatched } at " + std::to_string(i);
  }
  return depth == 0 ? std::string() : std::to_string(depth) + " open";
}

// Lines an author may type that look like RTF or like its escapes.
const struct {
  const char* in;
  const char* escaped;  // EscapeRtfText
} kHostileLines[] = {
    {"plain", "plain"},
    {"", ""},
    {"a\\b {c}", "a\\\\b \\'7bc\\'7d"},
    {"\\\\srv\\share {x}", "\\\\\\\\srv\\\\share \\'7bx\\'7d"},
    {"has \\'7b typed \\x", "has \\\\'7b typed \\\\x"},
    {"lone {", "lone \\'7b"},
    {"}{", "\\'7d\\'7b"},
    {"\\{not a brace\\}", "\\\\\\'7bnot a brace\\\\\\'7d"},
    {"ends in \\", "ends in \\\\"},
    {"{\\b bold\\b0}", "\\'7b\\\\b bold\\\\b0\\'7d"},
};

TEST(EscapeRtfText, EscapesEveryTextWhateverItHolds) {
  for (const auto& c : kHostileLines) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    EscapeRtfText(text);
    EXPECT_STREQ(text.GetText(), c.escaped);
    // Written in a group and followed by the writer's own markup, it stays balanced.
    EXPECT_EQ(BraceFault(std::string("{") + text.GetText() + "\\par}"), "");
  }
}

TEST(EscapeRtfBraces, LeavesAnEscapedTextAloneAndMakesAnyOtherBalanced) {
  for (const auto& c : kHostileLines) {
    SCOPED_TRACE(c.in);
    TextString escaped(c.escaped);
    EscapeRtfBraces(escaped);
    EXPECT_STREQ(escaped.GetText(), c.escaped);  // escaping again is harmless

    TextString raw(c.in);
    EscapeRtfBraces(raw);
    EXPECT_EQ(BraceFault(std::string("{") + raw.GetText() + "}"), "");
  }
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"\\{kept\\}", "\\{kept\\}"},          // braces a backslash escapes
      {"\\\\{x", "\\\\\\'7bx"},              // an escaped backslash, then a real brace
      {"end \\", "end \\\\"},                // a final backslash cannot escape what follows
      {"end \\\\", "end \\\\"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    EscapeRtfBraces(text);
    EXPECT_STREQ(text.GetText(), c.out);
  }
}

}  // namespace
