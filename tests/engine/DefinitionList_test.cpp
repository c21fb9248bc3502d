#include "engine/DefinitionList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"

namespace {

// Counts destructions, to show the list frees what it owns and what it refuses.
class CountedDefinition : public AlarmDefinition {
 public:
  CountedDefinition(const char* name, int* destroyed)
      : AlarmDefinition(name), destroyed_(destroyed) {}
  ~CountedDefinition() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

class DefinitionListTest : public ::testing::Test {
 protected:
  DefinitionListTest() : ctx(2, kOutputRtf) {
    control.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
    ctx.CodeLocation = kLocationAnalysis;
  }
  int Add(const char* name, int force = 0) {
    return list.Add(control, std::make_unique<CountedDefinition>(name, &destroyed), force);
  }

  Context ctx;
  FileControl control;
  DefinitionList list;
  int destroyed = 0;
  std::vector<std::string> messages;
};

TEST_F(DefinitionListTest, RefusesOutsideAnalysisAndWithoutAName) {
  ctx.AnalysisPass = 0;
  EXPECT_EQ(Add("ALARM1"), 0);
  EXPECT_EQ(Add("ALARM1", 1), 1);
  ctx.AnalysisPass = 1;
  EXPECT_EQ(Add(""), 0);
  EXPECT_EQ(list.Add(control, nullptr, 0), 0);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(destroyed, 2);  // the refused ones
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "PROGRAM ERROR: DefinitionList::Add called during non-analysis pass");
  EXPECT_EQ(messages[1], "TAG ERROR: Definition has no NAME value - ignored");
}

TEST_F(DefinitionListTest, FindAnswersTheFirstDefinitionOfAName) {
  ASSERT_EQ(Add("Red"), 1);
  ASSERT_EQ(Add("GREEN"), 1);
  ASSERT_EQ(Add("RED"), 1);
  struct Case {
    const char* name;
    int index;
  };
  const Case cases[] = {{"red", 0}, {"RED", 0}, {"green", 1}, {"RED ", -1}, {"RE", -1}, {"", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(list.Find(c.name), c.index < 0 ? nullptr : list.GetItem(c.index));
  }
}

TEST_F(DefinitionListTest, ClearDestroysEveryDefinitionAndForgetsTheNames) {
  ASSERT_EQ(Add("A"), 1);
  ASSERT_EQ(Add("B"), 1);
  list.Clear();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.Find("A"), nullptr);
  ASSERT_EQ(Add("B"), 1);
  EXPECT_EQ(list.Find("b"), list.GetItem(0));
}

}  // namespace
