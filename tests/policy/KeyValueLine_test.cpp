#include "policy/KeyValueLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policy/ErrorHandler.h"

namespace {

// Records every report with its level, whatever the filter would do.
class LineHandler : public ErrorHandler {
 public:
  void Report(const char* text, int level) override {
    texts.emplace_back(text);
    levels.push_back(level);
  }
  std::vector<std::string> texts;
  std::vector<int> levels;
};

std::string Str(const TextString& text) { return std::string(text.GetText(), text.GetLength()); }

}  // namespace

TEST(ParseKeyValueLine, SplitsValueAndSetsTheWordMarks) {
  struct Case {
    const char* raw;
    int consumed;
    const char* value;
    int none;
    int yes;
    int no;
  };
  constexpr Case kCases[] = {
      {"", 1, "", 0, 0, 0},
      {"! a comment: with colon", 1, "", 0, 0, 0},
      {"# another", 1, "", 0, 0, 0},
      {"Key: value", 0, "value", 0, 0, 0},
      {"Key:   spaced value \t", 0, "spaced value", 0, 0, 0},
      {"Key: a: b", 0, "a: b", 0, 0, 0},
      {"Key:", 0, "", 0, 0, 0},
      {"Key: (NONE)", 0, "(NONE)", 1, 0, 0},
      {"Key: none", 0, "none", 1, 0, 0},
      {"Key: nonE ", 0, "nonE", 1, 0, 0},
      {"Key: yes", 0, "yes", 0, 1, 0},
      {"Key: True", 0, "True", 0, 1, 0},
      {"Key: NO", 0, "NO", 0, 0, 1},
      {"Key: false", 0, "false", 0, 0, 1},
      {"Key: yesno", 0, "yesno", 0, 0, 0},
      {"Key: nothing", 0, "nothing", 0, 0, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.raw);
    LineHandler handler;
    KeyValueLine line;
    line.consumed = 1;  // stale state must not survive
    line.result = 0;
    line.category = 9;
    line.alternativeText = "old";
    ParseKeyValueLine(line, &handler, 1, TextString(c.raw));
    EXPECT_EQ(line.handler, &handler);
    EXPECT_EQ(line.repeatCheck, 1);
    EXPECT_EQ(line.result, 1);
    EXPECT_EQ(line.hasValue, 1);
    EXPECT_EQ(line.category, 0);
    EXPECT_TRUE(line.alternativeText.IsEmpty());
    EXPECT_EQ(Str(line.lineText), c.raw);
    EXPECT_EQ(line.consumed, c.consumed);
    EXPECT_EQ(Str(line.valueText), c.value);
    EXPECT_EQ(line.none, c.none);
    EXPECT_EQ(line.yes, c.yes);
    EXPECT_EQ(line.no, c.no);
    EXPECT_TRUE(handler.texts.empty());
  }
}

TEST(ParseKeyValueLine, ReportsAMissingColonUnlessTheLineIsExpectedWithoutOne) {
  struct Case {
    const char* raw;
    bool reported;
  };
  constexpr Case kCases[] = {
      {"Page width 80", true},
      {"!", false},
      {"[Anything at all]", false},
      {"closing] only", false},
      {"[STYLE]", false},
      {"------", false},
      {"Use 3 recognised headings", false},
      {"Heading level 1 = x", false},
      {"Contents level 2", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.raw);
    LineHandler handler;
    KeyValueLine line;
    ParseKeyValueLine(line, &handler, 0, TextString(c.raw));
    EXPECT_TRUE(line.valueText.IsEmpty());
    if (!c.reported) {
      EXPECT_TRUE(handler.texts.empty());
      continue;
    }
    ASSERT_EQ(handler.texts.size(), 1u);
    EXPECT_EQ(handler.texts[0], std::string("POLICY: Ignored - Missing colon in \"") + c.raw + "\"");
    EXPECT_EQ(handler.levels[0], 10);
  }
  // Without a handler the line is still split, silently.
  KeyValueLine line;
  ParseKeyValueLine(line, nullptr, 0, TextString("Page width 80"));
  EXPECT_EQ(line.consumed, 0);
}

TEST(KeyValueLine, ResetRestoresTheFreshState) {
  KeyValueLine line;
  line.lineText = "a";
  line.valueText = "b";
  line.alternativeText = "c";
  line.repeatCheck = line.none = line.yes = line.no = line.consumed = 1;
  line.hasValue = line.result = 0;
  line.category = 3;
  line.missingValue = 1;
  line.Reset();
  EXPECT_TRUE(line.lineText.IsEmpty() && line.valueText.IsEmpty() && line.alternativeText.IsEmpty());
  EXPECT_EQ(line.repeatCheck + line.none + line.yes + line.no + line.consumed, 0);
  EXPECT_EQ(line.hasValue, 1);
  EXPECT_EQ(line.result, 1);
  EXPECT_EQ(line.category, 0);
  EXPECT_EQ(line.missingValue, 0);
}
