#include "engine/DefineList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/Growth.h"

namespace {

class DefineListTest : public ::testing::Test {
 protected:
  DefineListTest() : ctx(2, kOutputRtf) {
    control.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.CodeLocation = kLocationAnalysis;
    ctx.Trackers[0].currentPosition.Set(5, 0);
  }
  void Variable(const char* name, const char* value, TextPosition at = TextPosition(0, 1)) {
    const TextString text(value);
    ASSERT_EQ(defines.Add(control, kDefineVariable, name, at, 0, 1, &text, 0), 1);
  }
  std::string Resolve(const char* name, int* result, TextPosition at = TextPosition(0, 1)) {
    TextString value;
    *result = defines.ResolveVariable(control, name, at, value);
    return value.GetText();
  }

  Context ctx;
  FileControl control;
  DefineList defines;
  std::vector<std::string> messages;
};

TEST_F(DefineListTest, RefusesAdditionsOutsideTheAnalysisPassUnlessForced) {
  ctx.AnalysisPass = 0;
  ctx.OutputPass = 1;
  EXPECT_EQ(defines.Add(control, kDefineBlock, "B", TextPosition(1, 1), 0, 0, nullptr, 0), 0);
  EXPECT_EQ(defines.GetCount(), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: DefineList::Add called during non-analysis pass");
  EXPECT_EQ(defines.Add(control, kDefineBlock, "B", TextPosition(1, 1), 0, 0, nullptr, 1), 1);
  EXPECT_EQ(defines.GetCount(), 1);
}

TEST_F(DefineListTest, PlacesADefinitionWithoutAColumnRightOfTheTracker) {
  struct Case {
    TextPosition given;
    TextPosition tracker;
    TextPosition expected;
  };
  const Case cases[] = {
      {{3, 4}, {7, 7}, {3, 4}},
      {{3, 0}, {7, 7}, {7, 8}},  // column 0 is no column here
      {{-1, -1}, {7, 0}, {7, 1}},
      {{-1, -1}, {0, 1}, {0, 1}},  // the tracker's start place is kept as it is
      {{-1, -1}, {0, 0}, {0, 1}},
      {{-1, -1}, {-1, -1}, {0, 1}},  // nothing read yet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.given.GetLine() << "," << c.given.GetColumn() << " tracker "
                 << c.tracker.GetLine() << "," << c.tracker.GetColumn());
    defines.Clear();
    ctx.Trackers[0].currentPosition = c.tracker;
    ASSERT_EQ(defines.Add(control, kDefineBlock, "B", c.given, 0, 0, nullptr, 0), 1);
    const TextPosition& at = defines.GetEntry(0)->scope.GetPosition();
    EXPECT_EQ(at.GetLine(), c.expected.GetLine());
    EXPECT_EQ(at.GetColumn(), c.expected.GetColumn());
  }
}

TEST_F(DefineListTest, AppendLineFeedsOnlyBlocksAndFragments) {
  EXPECT_EQ(defines.AppendLine("orphan"), 0);
  ASSERT_EQ(defines.Add(control, kDefineFragment, "F", TextPosition(1, 1), 0, 0, nullptr, 0), 1);
  EXPECT_EQ(defines.AppendLine("first"), 1);
  EXPECT_EQ(defines.AppendLine("second"), 1);
  Variable("V", "x");
  EXPECT_EQ(defines.AppendLine("lost"), 0);
  const DefineEntry& fragment = *defines.GetEntry(0);
  ASSERT_EQ(fragment.lines.GetCount(), 2);
  EXPECT_STREQ(fragment.lines.GetItem(1)->text.GetText(), "second");
  EXPECT_EQ(defines.GetEntry(1)->lines.GetCount(), 0);
  EXPECT_STREQ(defines.GetEntry(1)->value.GetText(), "x");
}

TEST_F(DefineListTest, FindsTheNearestVisibleDefinitionOfAKindAndName) {
  // Line 2: "V" at columns 2, 6, 6 (a later twin), 10; a block "V" at 4; "V" on line 3.
  Variable("V", "a", TextPosition(2, 2));
  Variable("V", "b", TextPosition(2, 6));
  Variable("v", "c", TextPosition(2, 6));
  Variable("V", "d", TextPosition(2, 10));
  ASSERT_EQ(defines.Add(control, kDefineBlock, "V", TextPosition(2, 4), 0, 0, nullptr, 0), 1);
  Variable("V", "e", TextPosition(3, 5));
  struct Case {
    int column;
    int inclusive;
    int before;
    int after;
  };
  const Case cases[] = {
      {5, 1, 0, 2},  {6, 1, 2, 2},  {6, 0, 0, 3},   {7, 0, 2, 3},
      {1, 1, -1, 0}, {2, 0, -1, 2}, {11, 1, 3, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.column << " inclusive " << c.inclusive);
    int index = -2;
    EXPECT_EQ(defines.FindAtOrBefore(kDefineVariable, "v", TextPosition(2, c.column), 0, &index,
                                     c.inclusive),
              c.before >= 0);
    EXPECT_EQ(index, c.before);
    EXPECT_EQ(defines.FindAtOrAfter(kDefineVariable, "V", TextPosition(2, c.column), 0, &index,
                                    c.inclusive),
              c.after >= 0);
    EXPECT_EQ(index, c.after);
  }
  int index = -2;
  EXPECT_TRUE(defines.FindAtOrBefore(kDefineBlock, "V", TextPosition(2, 5), 0, &index, 1));
  EXPECT_EQ(index, 4);
  EXPECT_FALSE(defines.FindAtOrBefore(kDefineVariable, "VV", TextPosition(2, 5), 0, &index, 1));
  EXPECT_EQ(index, -1);
}

TEST_F(DefineListTest, VisibilityFollowsTheScopeTypeAndTheQueryKind) {
  const TextString value("x");
  ASSERT_EQ(defines.Add(control, kDefineVariable, "ONE", TextPosition(1, 1), 1, 0, &value, 0), 1);
  ASSERT_EQ(defines.Add(control, kDefineVariable, "TWO", TextPosition(1, 1), 2, 0, &value, 0), 1);
  struct Case {
    const char* name;
    int queryKind;
    bool found;
  };
  const Case cases[] = {
      {"ONE", 1, true}, {"ONE", 2, false}, {"ONE", 0, false},
      {"TWO", 2, true}, {"TWO", 1, false}, {"TWO", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " kind " << c.queryKind);
    int index = -2;
    EXPECT_EQ(
        defines.FindAtOrBefore(kDefineVariable, c.name, TextPosition(1, 3), c.queryKind, &index, 1),
        c.found);
  }
}

TEST_F(DefineListTest, ResolvesVariablesAsOfAPosition) {
  Variable("COLOUR", "red", TextPosition(4, 2));
  Variable("COLOUR", "blue", TextPosition(4, 8));
  Variable("LATE", "later", TextPosition(4, 20));
  struct Case {
    const char* name;
    int column;
    const char* value;
  };
  const Case cases[] = {
      {"COLOUR", 5, "red"}, {"colour", 8, "blue"}, {"COLOUR", 30, "blue"},
      {"COLOUR", 1, "red"},  // only defined later on the line: the second search finds it
      {"LATE", 3, "later"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " at column " << c.column);
    int result = -1;
    EXPECT_EQ(Resolve(c.name, &result, TextPosition(4, c.column)), c.value);
    EXPECT_EQ(result, 1);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(DefineListTest, SynthesisesTheFolioVariables) {
  struct Case {
    const char* pageNumber;  // null: no PAGE_NUMBER defined
    const char* formatCode;  // null: the default
    const char* folioTemplate;
    const char* name;
    const char* value;
    int result;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, "FOLIO_TEMPLATE", "[folio]", 1},
      {nullptr, nullptr, nullptr, "folio_format_code", "0", 1},
      {nullptr, nullptr, nullptr, "FOLIO_HEADER_TEMPLATE", "[folio]", 1},
      {nullptr, "3", nullptr, "FOLIO_HEADER_FORMAT_CODE", "3", 1},
      {"3", "2", "Page [folio]", "FOLIO_FOOTER_PAGE_NUMBER", "Page III", 1},
      {"3", "2", "Page [folio]", "FOLIO_HEADER_PAGE_NUMBER", "Page IV", 1},
      {"3", "1", "[FOLIO]-[folio]", "FOLIO_FOOTER_PAGE_NUMBER", "iii-iii", 1},
      {"2", "3", "[folio]", "FOLIO_FOOTER_PAGE_NUMBER", "b", 1},
      {"2", "4", "[folio]", "FOLIO_HEADER_PAGE_NUMBER", "C", 1},
      {"12", nullptr, "p. [folio]", "FOLIO_FOOTER_PAGE_NUMBER", "p. 12", 1},
      {"blank", nullptr, "Page [folio]", "FOLIO_FOOTER_PAGE_NUMBER", "", 1},
      {"BLANK", nullptr, "Page [folio]", "FOLIO_HEADER_PAGE_NUMBER", "", 1},
      {"0", nullptr, "Page [folio]", "FOLIO_FOOTER_PAGE_NUMBER", "", 1},
      {"0", nullptr, "Page [folio]", "FOLIO_HEADER_PAGE_NUMBER", "Page 1", 1},
      {"-4", nullptr, "Page [folio]", "FOLIO_HEADER_PAGE_NUMBER", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " page " << (c.pageNumber ? c.pageNumber : "-")
                                    << " code " << (c.formatCode ? c.formatCode : "-"));
    defines.Clear();
    messages.clear();
    if (c.pageNumber) Variable("PAGE_NUMBER", c.pageNumber);
    if (c.formatCode) Variable("FOLIO_FORMAT_CODE", c.formatCode);
    if (c.folioTemplate) Variable("FOLIO_TEMPLATE", c.folioTemplate);
    int result = -1;
    EXPECT_EQ(Resolve(c.name, &result), c.value);
    EXPECT_EQ(result, c.result);
    EXPECT_TRUE(messages.empty()) << messages.front();
  }
}

TEST_F(DefineListTest, AnUnresolvedNameStandsForItselfAndIsReported) {
  int result = -1;
  EXPECT_EQ(Resolve("NOWHERE", &result), "NOWHERE");
  EXPECT_EQ(result, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "TAG_ERROR: Failed to resolve variable NOWHERE");

  // A page number without a usable PAGE_NUMBER fails as a whole; the inner lookup reports
  // its own failure first.
  messages.clear();
  EXPECT_EQ(Resolve("FOLIO_FOOTER_PAGE_NUMBER", &result), "FOLIO_FOOTER_PAGE_NUMBER");
  EXPECT_EQ(result, 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "TAG_ERROR: Failed to resolve variable PAGE_NUMBER");
  EXPECT_EQ(messages[1], "TAG_ERROR: Failed to resolve variable FOLIO_FOOTER_PAGE_NUMBER");

  messages.clear();
  Variable("PAGE_NUMBER", "seven");
  EXPECT_EQ(Resolve("FOLIO_HEADER_PAGE_NUMBER", &result), "FOLIO_HEADER_PAGE_NUMBER");
  EXPECT_EQ(result, 0);
  ASSERT_EQ(messages.size(), 1u);

  messages.clear();
  defines.Clear();
  Variable("PAGE_NUMBER", "2");
  Variable("FOLIO_FORMAT_CODE", "roman");
  EXPECT_EQ(Resolve("FOLIO_FOOTER_PAGE_NUMBER", &result), "FOLIO_FOOTER_PAGE_NUMBER");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(messages.size(), 1u);
}

// An input that ends inside DEFINE_BLOCK must not leave the next pass or file inside it.
TEST_F(DefineListTest, AnOpenDefinitionIsClosedAndReportedOncePerFile) {
  EXPECT_EQ(defines.CloseOpenDefinition(ctx), 0);

  ctx.AnalysisPass = 1;
  defines.OpenDefinition(ctx, 1017, "FOOTER");
  EXPECT_TRUE(defines.IsDefinitionOpen());
  EXPECT_EQ(defines.CloseOpenDefinition(ctx), 1);
  EXPECT_FALSE(defines.IsDefinitionOpen());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "TAG ERROR: Missing END_BLOCK detected at end of input for DEFINE_BLOCK FOOTER");

  // The contents and output passes read the same input and leave the same block open.
  ctx.AnalysisPass = 0;
  ctx.ContentsPass = 1;
  defines.OpenDefinition(ctx, 1017, "FOOTER");
  EXPECT_EQ(defines.CloseOpenDefinition(ctx), 1);
  EXPECT_FALSE(defines.IsDefinitionOpen());
  EXPECT_EQ(messages.size(), 1u);

  ctx.AnalysisPass = 1;
  defines.OpenDefinition(ctx, 1025, "SNIPPET");
  defines.CloseDefinition();
  EXPECT_EQ(defines.CloseOpenDefinition(ctx), 0);
  defines.OpenDefinition(ctx, 1026, "NOTE");
  EXPECT_EQ(defines.CloseOpenDefinition(ctx), 1);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1],
            "TAG ERROR: Missing END_BLOCK detected at end of input for DEFINE_TEXT_FRAGMENT NOTE");
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using DefineListGrowth = DefineListTest;

// One lookup per line over thousands of definitions must not walk all of them each time.
TEST_F(DefineListGrowth, LookupsGrowLinearlyWithTheDefinitions) {
  const auto lookups = [this](int count) {
    defines.Clear();
    for (int i = 0; i < count; ++i) {
      TextString name("VAR");
      name.AppendNumber('1', i, 0);
      Variable(name.GetText(), "v", TextPosition(i, 1));
    }
    int resolved = 0;
    const GrowthClock::duration time = TimeOf([&] {
      for (int i = 0; i < count; ++i) {
        TextString name("var");
        name.AppendNumber('1', i, 0);
        TextString value;
        resolved += defines.ResolveVariable(control, name, TextPosition(i, 5), value);
      }
    });
    EXPECT_EQ(resolved, count);
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(2000, lookups), kQuadraticGrowth);
}

}  // namespace
