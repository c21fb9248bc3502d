#include "policy/CorePolicy.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/PolicyEntry.h"
#include "text/FontSpec.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

struct Message {
  std::string text;
  int level;
};

// Records every report with its level, whatever the filter would do.
class RecordingHandler : public ErrorHandler {
 public:
  void Report(const char* text, int level) override { messages.push_back({text, level}); }
  std::vector<Message> messages;
};

// A TextFile writing into a list in memory.
class MemoryFile {
 public:
  MemoryFile() {
    file.SetSink(&lines);
    EXPECT_TRUE(file.OpenForWrite("memory", 0, 0));
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < lines.GetCount(); ++i) out.emplace_back(lines.GetItem(i)->text.GetText());
    return out;
  }
  StringList lines;
  TextFile file;
};

std::string Str(const TextString& text) { return std::string(text.GetText(), text.GetLength()); }

// A policy of the kind, defined with a key and a default.
std::unique_ptr<CorePolicy> MakeDefined(PolicyType type, const char* key, int number,
                                        const char* text, const char* choices = nullptr) {
  std::unique_ptr<CorePolicy> policy;
  switch (type) {
    case kIntPolicy: policy = std::make_unique<IntPolicy>(); break;
    case kBoolPolicy: policy = std::make_unique<BoolPolicy>(); break;
    case kTextPolicy: policy = std::make_unique<TextPolicy>(); break;
    case kAlignPolicy: policy = std::make_unique<AlignPolicy>(); break;
    case kColourPolicy: policy = std::make_unique<ColourPolicy>(); break;
    case kFontPolicy: policy = std::make_unique<FontPolicy>(); break;
    case kListPolicy: policy = std::make_unique<ListPolicy>(); break;
  }
  policy->Define(0, type, 0, 3, number, text, choices, key);
  return policy;
}

// Applies a raw line to a policy through the line splitter, as the readers do.
int Apply(CorePolicy& policy, const char* raw, KeyValueLine& line, ErrorHandler* handler,
          int repeatCheck = 0) {
  ParseKeyValueLine(line, handler, repeatCheck, TextString(raw));
  return policy.ParsePolicyValue(line);
}

std::string ValueOf(const CorePolicy& policy) {
  if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&policy))
    return std::to_string(scalar->value);
  return Str(dynamic_cast<const TextValuePolicy&>(policy).value);
}

constexpr const char* kSizes = "A3,A3 Extra,A4,A4 Extra,A5";

}  // namespace

// ---- Writing ----

TEST(PolicyLine, PadsKeyToColumn42OrTwoBlanksAfterLongKeys) {
  struct Case {
    int keyLength;
    int colonColumn;  // 0-based position of ':'
  };
  constexpr Case kCases[] = {{10, 42}, {41, 42}, {42, 44}, {45, 47}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.keyLength);
    const TextString key(std::string(c.keyLength, 'k').c_str());
    TextString line;
    FormatPolicyLine(key, "v", line);
    const std::string text = Str(line);
    EXPECT_EQ(text.find(':'), static_cast<std::size_t>(c.colonColumn));
    EXPECT_EQ(text.substr(c.keyLength, c.colonColumn - c.keyLength),
              std::string(c.colonColumn - c.keyLength, ' '));
    EXPECT_EQ(text.substr(c.colonColumn), ": v");
  }
}

TEST(PolicyLine, WritesEachKindsValueForm) {
  struct Case {
    PolicyType type;
    int number;
    const char* text;
    const char* written;  // after "key<pad>: "
  };
  const Case kCases[] = {
      {kIntPolicy, 80, nullptr, "80 "},
      {kIntPolicy, -1, nullptr, "-1 "},
      {kBoolPolicy, 1, nullptr, "Yes"},
      {kBoolPolicy, 0, nullptr, "No"},
      {kTextPolicy, 0, "abc, def", "abc, def"},
      {kTextPolicy, 0, "", "(none)"},
      {kAlignPolicy, 1, nullptr, "left"},
      {kAlignPolicy, 2, nullptr, "center"},
      {kAlignPolicy, 3, nullptr, "right"},
      {kAlignPolicy, 4, nullptr, "justified"},
      {kAlignPolicy, 0, nullptr, "(none)"},
      {kColourPolicy, 0, "#123ABC", "#123ABC"},
      {kColourPolicy, 0, "", "(none)"},
      {kFontPolicy, 0, "Arial, Bold, 10", "Arial, Bold, 10"},
      {kFontPolicy, 0, "", "(none)"},
      {kListPolicy, 4, nullptr, "A4 Extra"},
      {kListPolicy, -1, nullptr, "(none)"},
      {kListPolicy, 9, nullptr, "(none)"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.written);
    auto policy = MakeDefined(c.type, "Key", c.number, c.text, kSizes);
    MemoryFile out;
    EXPECT_EQ(policy->WritePolicyLine(out.file, 1), 1);
    ASSERT_EQ(out.Lines().size(), 1u);
    EXPECT_EQ(out.Lines()[0], "Key" + std::string(39, ' ') + ": " + c.written);
  }
}

TEST(PolicyLine, OptionalIntWritesNoneAtOrBelowZero) {
  IntPolicy policy;
  InitScalarPolicy(policy, 1, 0, "Split level");
  for (const int value : {-3, 0, 1}) {
    SCOPED_TRACE(value);
    policy.value = value;
    MemoryFile out;
    WriteOptionalIntPolicyLine(out.file, 1, policy);
    const std::string expected = value > 0 ? "1 " : "(none)";
    EXPECT_EQ(out.Lines().at(0).substr(44), expected);
  }
}

TEST(PolicyLine, OnlySetPoliciesAreWrittenUnlessAllAreAsked) {
  BoolPolicy policy;
  InitScalarPolicy(policy, 1, 1, "Display messages");
  MemoryFile out;
  policy.WritePolicyLine(out.file, 0);
  EXPECT_TRUE(out.Lines().empty());
  policy.set = 1;
  policy.WritePolicyLine(out.file, 0);
  policy.set = 0;
  policy.WritePolicyLine(out.file, 1);
  EXPECT_EQ(out.Lines().size(), 2u);
}

// ---- Round trip ----

TEST(PolicyLine, WrittenLineReadsBackToTheSameValue) {
  struct Case {
    PolicyType type;
    int number;
    const char* text;
  };
  const Case kCases[] = {
      {kIntPolicy, 80, nullptr},          {kIntPolicy, -1, nullptr},
      {kIntPolicy, 0, nullptr},           {kBoolPolicy, 1, nullptr},
      {kBoolPolicy, 0, nullptr},          {kTextPolicy, 0, "x: y, z"},
      {kTextPolicy, 0, ""},               {kAlignPolicy, 1, nullptr},
      {kAlignPolicy, 2, nullptr},         {kAlignPolicy, 3, nullptr},
      {kAlignPolicy, 4, nullptr},         {kColourPolicy, 0, "Red"},
      {kColourPolicy, 0, "#123ABC"},      {kColourPolicy, 0, ""},
      {kFontPolicy, 0, "Courier New, Bold Italic, 9"},
      {kFontPolicy, 0, ""},               {kListPolicy, 2, nullptr},
      {kListPolicy, 5, nullptr},          {kListPolicy, -1, nullptr},
  };
  for (const Case& c : kCases) {
    auto written = MakeDefined(c.type, "Some Policy", c.number, c.text, kSizes);
    SCOPED_TRACE(ValueOf(*written));
    MemoryFile out;
    written->WritePolicyLine(out.file, 1);
    ASSERT_EQ(out.Lines().size(), 1u);

    // The reader starts from a different value, so the value must come from the line.
    auto read = MakeDefined(c.type, "some policy", c.type == kTextPolicy ? 7 : 3,
                            c.type == kFontPolicy ? "Arial, Regular, 11" : "Blue", kSizes);
    RecordingHandler handler;
    KeyValueLine line;
    EXPECT_EQ(Apply(*read, out.Lines()[0].c_str(), line, &handler), 1);
    EXPECT_EQ(ValueOf(*read), ValueOf(*written));
    EXPECT_TRUE(handler.messages.empty());
    // "(none)" for an alignment applies the value without marking the policy set.
    if (!(c.type == kAlignPolicy && c.number == 0)) {
      EXPECT_EQ(read->set, 1);
    }
  }
}

// ---- Reading: values, refusals and their messages ----

struct ParseCase {
  const char* name;
  PolicyType type;
  int number;        // default
  const char* text;  // default
  int presetMark;    // set mark before the line
  const char* raw;
  const char* value; // expected value afterwards (as ValueOf)
  int result;
  int set;
  const char* message;  // expected single message, or null for none
  int level;
};

TEST(PolicyLine, AppliesValuesAndRefusesWithExactMessages) {
  const ParseCase kCases[] = {
      {"int", kIntPolicy, 5, nullptr, 0, "Key : 80", "80", 1, 1, nullptr, 0},
      {"int none", kIntPolicy, 5, nullptr, 0, "Key: (none)", "-1", 1, 1, nullptr, 0},
      {"int negative", kIntPolicy, 5, nullptr, 0, "Key: -12", "-12", 1, 1, nullptr, 0},
      {"int unreadable", kIntPolicy, 5, nullptr, 1, "Key: many", "5", 0, 0, nullptr, 0},
      {"int overflow", kIntPolicy, 5, nullptr, 1, "Key: 99999999999", "5", 0, 0, nullptr, 0},
      {"bool yes", kBoolPolicy, 0, nullptr, 0, "Key: Yes", "1", 1, 1, nullptr, 0},
      {"bool true", kBoolPolicy, 0, nullptr, 0, "Key: TRUE", "1", 1, 1, nullptr, 0},
      {"bool no", kBoolPolicy, 1, nullptr, 0, "Key: no", "0", 1, 1, nullptr, 0},
      {"bool false", kBoolPolicy, 1, nullptr, 0, "Key: False", "0", 1, 1, nullptr, 0},
      {"bool neither", kBoolPolicy, 1, nullptr, 1, "Key: maybe", "1", 0, 1,
       "ERROR: Don't understand policy value : maybe", 10},
      {"bool none word", kBoolPolicy, 1, nullptr, 0, "Key: none", "1", 0, 0,
       "ERROR: Don't understand policy value : none", 10},
      {"text", kTextPolicy, 0, "old", 0, "Key:  a:b  ", "a:b", 1, 1, nullptr, 0},
      {"text none", kTextPolicy, 0, "old", 0, "Key: NONE", "", 1, 1, nullptr, 0},
      {"align word", kAlignPolicy, 1, nullptr, 0, "Key: Justified", "4", 1, 1, nullptr, 0},
      {"align letter", kAlignPolicy, 1, nullptr, 0, "Key: r", "3", 1, 1, nullptr, 0},
      {"align bad", kAlignPolicy, 2, nullptr, 1, "Key: xyz", "0", 0, 0, nullptr, 0},
      {"align none keeps mark", kAlignPolicy, 2, nullptr, 1, "Key: (none)", "0", 1, 1, nullptr,
       0},
      {"colour name", kColourPolicy, 0, "", 0, "Key: navy", "navy", 1, 1, nullptr, 0},
      {"colour hex", kColourPolicy, 0, "", 0, "Key: ff0000", "Red", 1, 1, nullptr, 0},
      {"colour none", kColourPolicy, 0, "Red", 0, "Key: (none)", "", 1, 1, nullptr, 0},
      {"colour bad", kColourPolicy, 0, "Red", 1, "Key: puce", "puce", 0, 0,
       "WARNING: \"puce\" is not a standard HTML colour", 7},
      {"font", kFontPolicy, 0, "Arial, Regular, 12", 0, "Key: Verdana, italic", "Verdana, italic",
       1, 1, nullptr, 0},
      {"font bad style", kFontPolicy, 0, "Arial, Regular, 12", 1, "Key: Arial, heavy, 9",
       "Arial, Regular, 12", 0, 0, "WARNING: \"Arial, heavy, 9\" is not a valid font specification",
       10},
      {"list", kListPolicy, 1, nullptr, 0, "Key:  a4   EXTRA ", "4", 1, 1, nullptr, 0},
      {"list none", kListPolicy, 1, nullptr, 0, "Key: (none)", "-1", 1, 1, nullptr, 0},
      {"list unknown", kListPolicy, 3, nullptr, 1, "Key: B5", "3", 0, 0, nullptr, 0},
  };
  for (const ParseCase& c : kCases) {
    SCOPED_TRACE(c.name);
    auto policy = MakeDefined(c.type, "Key", c.number, c.text, kSizes);
    policy->set = c.presetMark;
    RecordingHandler handler;
    KeyValueLine line;
    EXPECT_EQ(Apply(*policy, c.raw, line, &handler), 1);
    EXPECT_EQ(line.consumed, 1);
    EXPECT_EQ(line.category, 3);
    EXPECT_EQ(ValueOf(*policy), c.value);
    EXPECT_EQ(line.result, c.result);
    EXPECT_EQ(policy->set, c.set);
    if (c.message == nullptr) {
      EXPECT_TRUE(handler.messages.empty()) << handler.messages[0].text;
      continue;
    }
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].text, c.message);
    EXPECT_EQ(handler.messages[0].level, c.level);
  }
}

TEST(PolicyLine, IntRangeRefusesNumbersOutsideIt) {
  IntPolicy policy;
  InitScalarPolicy(policy, 2, 5, "Error reporting level");
  struct Case {
    const char* raw;
    int value;
    int result;
  };
  constexpr Case kCases[] = {{"Error reporting level: 0", 0, 1},
                             {"Error reporting level: 10", 10, 1},
                             {"Error reporting level: 11", 10, 0},
                             {"Error reporting level: -1", 10, 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.raw);
    RecordingHandler handler;
    KeyValueLine line;
    ParseKeyValueLine(line, &handler, 0, TextString(c.raw));
    EXPECT_EQ(ParseIntPolicyLine(line, policy, 0, 10), 1);
    EXPECT_EQ(policy.value, c.value);
    EXPECT_EQ(line.result, c.result);
    if (c.result == 1) {
      EXPECT_TRUE(handler.messages.empty());
      continue;
    }
    EXPECT_EQ(policy.set, 0);
    ASSERT_EQ(handler.messages.size(), 1u);
    const std::string number = std::string(c.raw).substr(23);
    EXPECT_EQ(handler.messages[0].text,
              "POLICY: Ignored - Value " + number + " is outside allowed range (0:10)");
    EXPECT_EQ(handler.messages[0].level, 10);
  }
}

TEST(PolicyLine, RepeatedSettingIsRefusedUnlessExpectedOrFromARuleSet) {
  struct Case {
    PolicyType type;
    const char* key;
    int setByRuleSet;
    const char* message;  // null: silent
    int result;
    const char* value;
  };
  const Case kCases[] = {
      {kBoolPolicy, "Remove all tags", 0, nullptr, 1, "0"},
      {kBoolPolicy, "USE .htm EXTENSION", 0, nullptr, 1, "0"},
      {kBoolPolicy, "Concatenate results into one file", 0, nullptr, 1, "0"},
      {kBoolPolicy, "Make Directory", 0, nullptr, 1, "0"},
      {kTextPolicy, "Directory filename", 0, nullptr, 1, "0"},
      {kBoolPolicy, "Keep it simple", 0, "POLICY: Ignoring repeated policy \\Keep it simple\\", 0,
       "0"},
      {kTextPolicy, "Make Directory", 0, "POLICY: Ignoring repeated policy \\Make Directory\\", 0,
       "0"},
      {kBoolPolicy, "Keep it simple", 1, "INFO: Ruleset overrided : Keep it simple: Yes", 1, "1"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.key);
    auto policy = MakeDefined(c.type, c.key, 0, "0");
    policy->set = 1;
    policy->setByRuleSet = c.setByRuleSet;
    RecordingHandler handler;
    KeyValueLine line;
    const std::string raw = std::string(c.key) + ": Yes";
    EXPECT_EQ(Apply(*policy, raw.c_str(), line, &handler, 1), 1);
    EXPECT_EQ(line.result, c.result);
    EXPECT_EQ(ValueOf(*policy), c.value);
    if (c.message == nullptr) {
      EXPECT_TRUE(handler.messages.empty());
      continue;
    }
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].text, c.message);
    EXPECT_EQ(handler.messages[0].level, 10);
  }
}

TEST(PolicyLine, WithoutRepeatCheckASetPolicyIsSetAgain) {
  BoolPolicy policy;
  InitScalarPolicy(policy, 1, 0, "Keep it simple");
  policy.set = 1;
  RecordingHandler handler;
  KeyValueLine line;
  Apply(policy, "Keep it simple: yes", line, &handler, 0);
  EXPECT_EQ(policy.value, 1);
  EXPECT_TRUE(handler.messages.empty());
}

TEST(PolicyLine, EmptyKeyReportsAProgramErrorPerKind) {
  struct Case {
    PolicyType type;
    const char* message;
  };
  const Case kCases[] = {
      {kIntPolicy, "PROGRAM ERROR: Missing Int policy text"},
      {kBoolPolicy, "PROGRAM ERROR: Missing Bool policy text"},
      {kTextPolicy, "PROGRAM ERROR: Missing text policy text"},
      {kAlignPolicy, "PROGRAM ERROR: Missing text policy text"},
      {kColourPolicy, "PROGRAM ERROR: Missing text policy text"},
      {kFontPolicy, "PROGRAM ERROR: Missing text policy text"},
      {kListPolicy, "PROGRAM ERROR: Missing text policy text"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.message);
    auto policy = MakeDefined(c.type, "", 0, "");
    RecordingHandler handler;
    KeyValueLine line;
    EXPECT_EQ(Apply(*policy, "Other: 1", line, &handler), 0);
    EXPECT_EQ(line.consumed, 0);
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0].text, c.message);
    EXPECT_EQ(handler.messages[0].level, 10);
  }
}

TEST(PolicyLine, LineWithoutValueIsRefusedNamingTheKey) {
  IntPolicy policy;
  InitScalarPolicy(policy, 1, 76, "Page width");
  RecordingHandler handler;
  KeyValueLine line;
  ParseKeyValueLine(line, &handler, 0, TextString("Page width: 80"));
  line.hasValue = 0;
  EXPECT_EQ(policy.ParsePolicyValue(line), 1);
  EXPECT_EQ(line.missingValue, 1);
  EXPECT_EQ(line.result, 0);
  EXPECT_EQ(policy.value, 76);
  ASSERT_EQ(handler.messages.size(), 1u);
  EXPECT_NE(handler.messages[0].text.find("Page width"), std::string::npos);
  EXPECT_EQ(handler.messages[0].text.find("xxxx"), std::string::npos);
  EXPECT_EQ(handler.messages[0].level, 10);
}

TEST(PolicyLine, ConsumedOrOtherKeyedLinesAreLeftAlone) {
  IntPolicy policy;
  InitScalarPolicy(policy, 1, 76, "Page width");
  KeyValueLine line;
  Apply(policy, "Page widths: 80", line, nullptr);
  EXPECT_EQ(line.consumed, 0);
  ParseKeyValueLine(line, nullptr, 0, TextString("Page width: 80"));
  line.consumed = 1;
  EXPECT_EQ(policy.ParsePolicyValue(line), 0);
  EXPECT_EQ(policy.value, 76);
  // No handler: refusals are silent and do not crash.
  Apply(policy, "Page width: lots", line, nullptr);
  EXPECT_EQ(line.result, 0);
}

TEST(MatchPolicyKey, ComparesTrimmedKeysIgnoringCaseAndTheAlternative) {
  struct Case {
    const char* lineText;
    const char* alternative;
    const char* key;
    int match;
  };
  constexpr Case kCases[] = {
      {"  text COLOR  : red", "", "Text color", 1},
      {"Text color: red", "", " Text color ", 1},
      {"Text color: red", "", "Text colour", 0},
      {"Text color: red", "Text colour: red", "Text colour", 1},
      {"Text color", "", "Text color", 1},
      {"Text colo: red", "", "Text color", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.lineText);
    KeyValueLine line;
    line.lineText = c.lineText;
    line.alternativeText = c.alternative;
    EXPECT_EQ(MatchPolicyKey(line, TextString(c.key)), c.match);
  }
}

TEST(PolicyLine, QueryGivesTheWrittenFormWithoutTrailingBlank) {
  struct Case {
    PolicyType type;
    int number;
    const char* text;
    const char* expected;
  };
  const Case kCases[] = {
      {kIntPolicy, 80, nullptr, "80"},       {kBoolPolicy, 1, nullptr, "Yes"},
      {kTextPolicy, 0, "", "(none)"},        {kAlignPolicy, 2, nullptr, "center"},
      {kColourPolicy, 0, "Teal", "Teal"},    {kFontPolicy, 0, "Arial, Bold, 9", "Arial, Bold, 9"},
      {kListPolicy, 3, nullptr, "A4"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.expected);
    auto policy = MakeDefined(c.type, "Key", c.number, c.text, kSizes);
    KeyValueLine line;
    ParseKeyValueLine(line, nullptr, 0, TextString("key: whatever"));
    TextString out;
    EXPECT_EQ(policy->QueryValueText(line, out), 1);
    EXPECT_EQ(Str(out), c.expected);
    EXPECT_EQ(line.consumed, 1);
    EXPECT_EQ(policy->set, 0);
  }
}

// ---- Marks: copy, merge, reset ----

TEST(CorePolicy, MergeCopiesOnlyFromSetSourcesAndMarksOnlyWithALevel) {
  struct Case {
    int sourceSet;
    int level;
    int value;
    int set;
    int setByRuleSet;
  };
  constexpr Case kCases[] = {
      {0, 1, 5, 0, 0},  // unset source: nothing
      {1, 0, 9, 0, 0},  // level 0: value only
      {1, 1, 9, 1, 1},  // level 1: value and both marks
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.sourceSet * 10 + c.level);
    IntPolicy target;
    IntPolicy source;
    InitScalarPolicy(target, 1, 5, "Key");
    InitScalarPolicy(source, 1, 9, "Key");
    source.set = c.sourceSet;
    source.setByRuleSet = 1;
    target.Merge(c.level, source);
    EXPECT_EQ(target.value, c.value);
    EXPECT_EQ(target.set, c.set);
    EXPECT_EQ(target.setByRuleSet, c.setByRuleSet);

    TextPolicy textTarget;
    TextPolicy textSource;
    InitTextPolicy(textTarget, 1, "5", "Key");
    InitTextPolicy(textSource, 1, "9", "Key");
    textSource.set = c.sourceSet;
    textSource.setByRuleSet = 1;
    textTarget.Merge(c.level, textSource);
    EXPECT_EQ(Str(textTarget.value), std::to_string(c.value));
    EXPECT_EQ(textTarget.set, c.set);
    EXPECT_EQ(textTarget.setByRuleSet, c.setByRuleSet);
  }
}

TEST(CorePolicy, CopyTakesValueAndSetMarkButNotTheRuleSetMark) {
  ColourPolicy target;
  ColourPolicy source;
  InitTextPolicy(target, 3, "Red", "Key");
  InitTextPolicy(source, 3, "Blue", "Key");
  target.setByRuleSet = 1;
  source.set = 0;
  target.set = 1;
  target.CopyValue(source);
  EXPECT_EQ(Str(target.value), "Blue");
  EXPECT_EQ(target.set, 0);
  EXPECT_EQ(target.setByRuleSet, 1);

  // Lists copy the index only; their choices stay their own.
  ListPolicy list;
  ListPolicy other;
  InitListPolicy(list, 4, 1, "a,b,c", "Key");
  InitListPolicy(other, 4, 3, "x,y,z", "Key");
  other.set = 1;
  list.CopyValue(other);
  EXPECT_EQ(list.value, 3);
  EXPECT_EQ(list.set, 1);
  EXPECT_EQ(Str(list.choices), "a,b,c");
}

TEST(CorePolicy, CopyAndMergeIgnoreASourceOfAnotherKind) {
  IntPolicy number;
  TextPolicy text;
  InitScalarPolicy(number, 1, 5, "Key");
  InitTextPolicy(text, 1, "9", "Key");
  text.set = 1;
  number.CopyValue(text);
  number.Merge(1, text);
  EXPECT_EQ(number.value, 5);
  EXPECT_EQ(number.set, 0);
}

TEST(CorePolicy, ResetRestoresDefaultAndClearsMarks) {
  ListPolicy list;
  list.Define(3, kListPolicy, 1, 4, 2, nullptr, "a,b,c", "Key");
  list.value = 3;
  list.choices = "p,q,r";
  list.set = 1;
  list.setByRuleSet = 1;
  EXPECT_EQ(list.Reset(), 0);
  EXPECT_EQ(list.value, 2);
  EXPECT_EQ(Str(list.choices), "a,b,c");
  EXPECT_EQ(list.set, 0);
  EXPECT_EQ(list.setByRuleSet, 0);

  FontPolicy font;
  InitFontPolicy(font, 3, "Arial, Bold, 10", "Font");
  font.value = "Times, Italic, 8";
  font.set = 1;
  font.Reset();
  EXPECT_EQ(Str(font.value), "Arial, Bold, 10");
  EXPECT_EQ(font.set, 0);
}

TEST(CorePolicy, DefineStoresIdentityAndDefault) {
  IntPolicy policy;
  policy.set = 1;
  policy.setByRuleSet = 1;
  EXPECT_EQ(policy.Define(106, kIntPolicy, 10, 4, 76, nullptr, nullptr, "Target Page width"), 0);
  EXPECT_EQ(policy.id, 106);
  EXPECT_EQ(policy.typeCode, kIntPolicy);
  EXPECT_EQ(policy.sectionId, 10);
  EXPECT_EQ(policy.category, 4);
  EXPECT_EQ(policy.defaultValue, 76);
  EXPECT_EQ(policy.value, 76);
  EXPECT_EQ(Str(policy.key), "Target Page width");
  EXPECT_EQ(policy.set, 0);
  EXPECT_EQ(policy.setByRuleSet, 0);
  EXPECT_EQ(policy.readCount, 0);
}

TEST(FontPolicy, InvalidDefaultGivesEmptyDefaultAndValue) {
  FontPolicy defined;
  defined.Define(1, kFontPolicy, 1, 4, 0, "Arial, Heavy, 10", nullptr, "Font");
  EXPECT_TRUE(defined.defaultValue.IsEmpty());
  EXPECT_TRUE(defined.value.IsEmpty());

  FontPolicy registered;
  InitFontPolicy(registered, 3, "Arial, Regular, abc", "Font");
  EXPECT_TRUE(registered.defaultValue.IsEmpty());
  EXPECT_TRUE(registered.value.IsEmpty());
}

TEST(FontPolicy, AppliesAValidSpecificationToAFont) {
  FontPolicy policy;
  InitFontPolicy(policy, 3, "Courier New, Bold Italic, 9", "Font");
  FontSpec font;
  policy.ApplyToFontSpec(font);
  EXPECT_EQ(Str(font.GetFace()), "Courier New");
  EXPECT_EQ(font.GetPointSize(), 9);
  EXPECT_EQ(font.IsBold(), 1);
  EXPECT_EQ(font.IsItalic(), 1);

  policy.value = "Arial, heavy";
  policy.ApplyToFontSpec(font);
  EXPECT_EQ(Str(font.GetFace()), "Courier New");
}

// ---- Font specifications ----

TEST(ParseFontSpec, ReadsFaceStyleAndSize) {
  struct Case {
    const char* spec;
    int valid;
    const char* face;
    int bold;
    int italic;
    int size;
  };
  constexpr Case kCases[] = {
      {"Arial", 1, "Arial", 0, 0, 12},
      {"Arial, bold italic", 1, "Arial", 1, 1, 12},
      {"Arial,ITALIC BOLD,8", 1, "Arial", 1, 1, 8},
      {" Times New Roman , Regular , 10 ", 1, "Times New Roman", 0, 0, 10},
      {"Arial, normal, 14", 1, "Arial", 0, 0, 14},
      {"Arial, , 14", 1, "Arial", 0, 0, 14},
      {"Arial, Bold", 1, "Arial", 1, 0, 12},
      {"Arial, Italic, 7", 1, "Arial", 0, 1, 7},
      {"\"Face, with comma\", bold, 11", 1, "Face, with comma", 1, 0, 11},
      {"Arial, heavy", 0, "", 0, 0, 0},
      {"Arial, bold, big", 0, "", 0, 0, 0},
      {"Arial, bold, ", 0, "", 0, 0, 0},
      {", bold, 10", 0, "", 0, 0, 0},
      {"", 0, "", 0, 0, 0},
      // Every separator the list form could use already occurs: refused.
      {"\xA1\xB1|=~#?/\\+^&*", 0, "", 0, 0, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.spec);
    TextString face("untouched");
    int bold = -5;
    int italic = -5;
    int size = -5;
    EXPECT_EQ(ParseFontSpec(face, bold, italic, size, TextString(c.spec)), c.valid);
    EXPECT_EQ(IsValidFontSpec(c.spec), c.valid);
    if (!c.valid) {
      EXPECT_EQ(Str(face), "untouched");
      EXPECT_EQ(size, -5);
      continue;
    }
    EXPECT_EQ(Str(face), c.face);
    EXPECT_EQ(bold, c.bold);
    EXPECT_EQ(italic, c.italic);
    EXPECT_EQ(size, c.size);
  }
  EXPECT_EQ(IsValidFontSpec(nullptr), 0);
}

// ---- Choices ----

TEST(ListPolicy, LooksUpChoicesByIndex) {
  struct Case {
    int index;
    bool ok;
    const char* text;
  };
  constexpr Case kCases[] = {{1, true, "a"}, {2, true, "b"},       {3, true, "c"},
                             {4, false, "(none)"}, {0, false, "(none)"}, {-2, false, "(none)"},
                             {-1, true, "(none)"}};
  ListPolicy policy;
  InitListPolicy(policy, 4, 1, "a,b,c", "Key");
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.index);
    policy.value = c.index;
    TextString out;
    EXPECT_EQ(policy.GetValueText(out), c.ok);
    EXPECT_EQ(Str(out), c.text);
  }
}

TEST(ListPolicy, FindsChoicesIgnoringCaseAndBlankRuns) {
  struct Case {
    const char* text;
    int index;
  };
  constexpr Case kCases[] = {{"A3", 1},         {"a3 extra", 2}, {"  A4\t  Extra ", 4},
                             {"A5", 5},         {"A4Extra", -1}, {"", -1},
                             {"A", -1}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FindChoice(TextString(" A3 , A3  Extra,A4,A4 Extra,A5"), TextString(c.text)),
              c.index);
  }
}

// ---- Registry entries ----

TEST(PolicyEntry, DispatchesByKind) {
  IntPolicy number;
  TextPolicy text;
  InitScalarPolicy(number, 1, 5, "Number");
  InitTextPolicy(text, 2, "old", "Words");
  const PolicyEntry numberEntry(number);
  const PolicyEntry textEntry(text);
  EXPECT_EQ(numberEntry.type, kIntPolicy);
  EXPECT_EQ(textEntry.type, kTextPolicy);

  KeyValueLine line;
  ParseKeyValueLine(line, nullptr, 0, TextString("words: new"));
  EXPECT_EQ(numberEntry.ParseLine(line), 0);
  EXPECT_EQ(textEntry.ParseLine(line), 1);
  EXPECT_EQ(Str(text.value), "new");
  EXPECT_EQ(line.category, 2);

  // An Int entry parses without range.
  ParseKeyValueLine(line, nullptr, 0, TextString("Number: -70000"));
  EXPECT_EQ(numberEntry.ParseLine(line), 1);
  EXPECT_EQ(number.value, -70000);

  MemoryFile out;
  EXPECT_EQ(textEntry.Write(out.file, 0), 1);
  ASSERT_EQ(out.Lines().size(), 1u);
  EXPECT_EQ(out.Lines()[0].substr(42), ": new");

  TextPolicy copy;
  InitTextPolicy(copy, 2, "", "Words");
  const PolicyEntry copyEntry(copy);
  copyEntry.CopyFrom(numberEntry);  // another kind: nothing
  EXPECT_TRUE(copy.value.IsEmpty());
  copyEntry.CopyFrom(textEntry);
  EXPECT_EQ(Str(copy.value), "new");
  EXPECT_EQ(copy.set, 1);

  TextPolicy merged;
  InitTextPolicy(merged, 2, "", "Words");
  const PolicyEntry mergedEntry(merged);
  mergedEntry.MergeFrom(0, textEntry);
  EXPECT_EQ(Str(merged.value), "new");
  EXPECT_EQ(merged.set, 0);
}

// ---- Rule-set assignment ----

namespace {

// A policy set attached to a Context whose handler records what it shows.
class RuleSetFixture : public ::testing::Test {
 protected:
  RuleSetFixture() : context(1, 1) {
    context.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { shown.emplace_back(text); });
    control.AttachContext(&context);
    context.CodeLocation = kLocationOutput;
  }
  Context context;
  FileControl control;
  std::vector<std::string> shown;
};

}  // namespace

TEST_F(RuleSetFixture, SecondRuleSetValueWithoutForceIsIgnoredSilently) {
  IntPolicy policy;
  InitScalarPolicy(policy, 1, 76, "Page width");
  SetIntByRuleSet(control, policy, 60, 0);
  EXPECT_EQ(policy.value, 60);
  EXPECT_EQ(policy.set, 1);
  EXPECT_EQ(policy.setByRuleSet, 1);
  policy.SetRuleSetValue(control, 50, nullptr, 0);
  EXPECT_EQ(policy.value, 60);
  policy.SetRuleSetValue(control, 50, nullptr, 1);
  EXPECT_EQ(policy.value, 50);
  EXPECT_TRUE(shown.empty());
}

TEST_F(RuleSetFixture, ExplicitValueStaysAndIsNamedDuringAPass) {
  struct Case {
    std::unique_ptr<CorePolicy> policy;
    const char* expected;
  };
  Case cases[] = {
      {MakeDefined(kIntPolicy, "Page width", 80, nullptr), "INFO: Ruleset overrided - Page width : 80"},
      {MakeDefined(kBoolPolicy, "Keep it simple", 1, nullptr),
       "INFO: Ruleset overrided - Keep it simple : Yes"},
      {MakeDefined(kTextPolicy, "Title", 0, "Mine"), "INFO: Ruleset overrided - Title : \"Mine\""},
      {MakeDefined(kAlignPolicy, "Text justification", 2, nullptr),
       "INFO: Ruleset overrided - Text justification : \"2\""},
      {MakeDefined(kListPolicy, "Paper size", 3, nullptr, kSizes),
       "INFO: Ruleset overrided - Paper size : \"3\""},
      {MakeDefined(kColourPolicy, "Text Colour", 0, "Navy"),
       "INFO: Ruleset overrided - Text Colour : \"Navy\""},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.expected);
    shown.clear();
    const std::string before = ValueOf(*c.policy);
    c.policy->set = 1;
    c.policy->SetRuleSetValue(control, 1, "Other", 0);
    EXPECT_EQ(ValueOf(*c.policy), before);
    EXPECT_EQ(c.policy->setByRuleSet, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], c.expected);
  }

  // Between passes the explicit value still wins, without a word.
  context.CodeLocation = kLocationNone;
  shown.clear();
  IntPolicy quiet;
  InitScalarPolicy(quiet, 1, 80, "Page width");
  quiet.set = 1;
  SetIntByRuleSet(control, quiet, 60, 0);
  EXPECT_EQ(quiet.value, 80);
  EXPECT_TRUE(shown.empty());
}

TEST_F(RuleSetFixture, BadColourIsKeptAndBadFontRefusedWithWarnings) {
  ColourPolicy colour;
  InitTextPolicy(colour, 3, "", "Text Colour");
  SetColourByRuleSet(control, colour, "00ff00", 0);
  EXPECT_EQ(Str(colour.value), "Lime");
  SetColourByRuleSet(control, colour, "puce", 1);
  EXPECT_EQ(Str(colour.value), "puce");
  EXPECT_EQ(colour.set, 1);

  FontPolicy font;
  InitFontPolicy(font, 3, "Arial, Regular, 10", "Default font");
  SetFontByRuleSet(control, font, "Arial, heavy, 10", 0);
  EXPECT_EQ(Str(font.value), "Arial, Regular, 10");
  EXPECT_EQ(font.set, 1);
  EXPECT_EQ(font.setByRuleSet, 1);
  SetFontByRuleSet(control, font, "Verdana, Bold, 9", 1);
  EXPECT_EQ(Str(font.value), "Verdana, Bold, 9");

  TextPolicy text;
  InitTextPolicy(text, 3, "a", "Title");
  SetTextByRuleSet(control, text, "b", 0);
  EXPECT_EQ(Str(text.value), "b");

  const std::vector<std::string> expected = {
      "WARNING: \"puce\" is not a standard HTML colour",
      "WARNING: \"Arial, heavy, 10\" is not a valid font specification"};
  EXPECT_EQ(shown, expected);
}
