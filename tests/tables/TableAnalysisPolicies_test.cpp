#include "tables/TableAnalysisPolicies.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "policy/ErrorHandler.h"
#include "policy/KeyValueLine.h"
#include "text/StringList.h"
#include "text/TextFile.h"

static int Apply(TableAnalysisPolicies& group, const char* text, int repeatCheck = 0,
                 ErrorHandler* handler = nullptr) {
  KeyValueLine line;
  ParseKeyValueLine(line, handler, repeatCheck, TextString(text));
  const int taken = group.ParsePolicyLine(line);
  return taken ? line.result : -1;
}

TEST(TableAnalysisPolicies, KeysAreUniqueAndDefaultsRegistered) {
  TableAnalysisPolicies group("Default");
  std::set<std::string> keys;
  for (const TablePolicyRow& row : TablePolicyRows()) {
    SCOPED_TRACE(std::string(row.key));
    EXPECT_TRUE(keys.insert(std::string(row.key)).second);
    const CorePolicy& policy = group.GetPolicy(row.id);
    EXPECT_STREQ(policy.key.GetText(), std::string(row.key).c_str());
    EXPECT_EQ(policy.category, row.category);
    EXPECT_EQ(policy.set, 0);
  }
  EXPECT_EQ(group.Int(TablePolicyId::CellSpacing).value, 2);
  EXPECT_EQ(group.Int(TablePolicyId::ExtendingFactor).value, 5);
  EXPECT_EQ(group.Bool(TablePolicyId::BlankLineSeparated).value, 1);
  EXPECT_STREQ(group.TextValue(TablePolicyId::OddRowColour).value.GetText(), "F0F0F0");
  EXPECT_STREQ(group.TextValue(TablePolicyId::EvenRowColour).value.GetText(), "E0F0E0");
}

TEST(TableAnalysisPolicies, LinesByOwnKeyAndAlias) {
  struct Case {
    const char* line;
    TablePolicyId id;
    const char* value;  // text form, or the number
  };
  const Case cases[] = {
      {"Default TABLE border size : 4", TablePolicyId::BorderSize, "4"},
      {"border size: 5", TablePolicyId::BorderSize, "5"},
      {"odd row colour: Red", TablePolicyId::OddRowColour, "Red"},
      {"Default TABLE odd row colour: Red", TablePolicyId::OddRowColour, "Red"},
      {"table color: Blue", TablePolicyId::TableColour, "Blue"},
      {"header rows: 2", TablePolicyId::HeaderRows, "2"},
      {"caption: Results", TablePolicyId::Caption, "Results"},
      {"cell alignment: right", TablePolicyId::CellAlignment, "3"},
      {"Color data rows: yes", TablePolicyId::ColourDataRows, "1"},
      {"Expect multiple COLSPAN values: Yes", TablePolicyId::MultipleColspan, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TableAnalysisPolicies group("table");
    EXPECT_EQ(Apply(group, c.line), 1);
    const CorePolicy& policy = group.GetPolicy(c.id);
    EXPECT_EQ(policy.set, 1);
    if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&policy)) {
      EXPECT_EQ(std::to_string(scalar->value), c.value);
    } else {
      EXPECT_STREQ(dynamic_cast<const TextValuePolicy&>(policy).value.GetText(), c.value);
    }
  }
  TableAnalysisPolicies group("table");
  EXPECT_EQ(Apply(group, "Page Width: 80"), -1);
}

TEST(TableAnalysisPolicies, DelimiterForms) {
  struct Case {
    const char* line;
    const char* value;
  };
  const Case cases[] = {
      {"Default TABLE delimiter character: '|'", "|"},
      {"Default TABLE delimiter character: 'TAB'", "\t"},
      {"Default TABLE delimiter character: TAB", "\t"},
      {"Default TABLE delimiter character: (none)", ""},
      {"Default TABLE delimiter character: ;", ";"},
      {"delimiter character: 'TAB'", "'TAB'"},  // the alias takes the value as written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TableAnalysisPolicies group("table");
    EXPECT_EQ(Apply(group, c.line), 1);
    EXPECT_STREQ(group.Text(TablePolicyId::DelimiterCharacter).value.GetText(), c.value);
    EXPECT_EQ(group.Text(TablePolicyId::DelimiterCharacter).set, 1);
  }
}

TEST(TableAnalysisPolicies, RepeatedDelimiterIsRefused) {
  ErrorHandler handler;
  std::string shown;
  handler.SetLevel(10);
  handler.SetMessageCallback([&shown](const char* text) { shown = text; });
  TableAnalysisPolicies group("table");
  EXPECT_EQ(Apply(group, "Default TABLE delimiter character: ','", 1, &handler), 1);
  EXPECT_EQ(Apply(group, "Default TABLE delimiter character: ';'", 1, &handler), 0);
  EXPECT_STREQ(group.Text(TablePolicyId::DelimiterCharacter).value.GetText(), ",");
  EXPECT_EQ(shown, "POLICY: Ignoring repeated policy \\Default TABLE delimiter character\\");
}

TEST(TableAnalysisPolicies, MergeTakesOnlySetPoliciesAndCopyTakesAll) {
  TableAnalysisPolicies source("table");
  source.Int(TablePolicyId::BorderSize).value = 7;
  source.Int(TablePolicyId::BorderSize).set = 1;
  source.Int(TablePolicyId::CellPadding).value = 9;  // not set
  source.AddTagLine("[[TABLE_BORDER 2]]");
  for (int level : {0, 1}) {
    SCOPED_TRACE(level);
    TableAnalysisPolicies target("Default");
    target.MergeFrom(level, source);
    EXPECT_EQ(target.Int(TablePolicyId::BorderSize).value, 7);
    EXPECT_EQ(target.Int(TablePolicyId::BorderSize).set, level);
    EXPECT_EQ(target.Int(TablePolicyId::CellPadding).value, 2);
    EXPECT_EQ(target.GetTagLines().GetCount(), 0);
  }
  TableAnalysisPolicies copy("Default");
  copy.CopyFrom(source);
  EXPECT_EQ(copy.Int(TablePolicyId::CellPadding).value, 9);
  EXPECT_EQ(copy.Int(TablePolicyId::BorderSize).set, 1);
  EXPECT_EQ(copy.GetTagLines().GetCount(), 1);
  copy.ResetPolicies(0);
  EXPECT_EQ(copy.Int(TablePolicyId::BorderSize).value, 0);
  EXPECT_EQ(copy.GetTagLines().GetCount(), 1);  // tag lines survive a reset
}

TEST(TableAnalysisPolicies, WritesSectionOnlyWhenSomethingIsSet) {
  BoolPolicy attempt;
  InitScalarPolicy(attempt, 4, 1, "Attempt TABLE generation");
  TableAnalysisPolicies group("Default");
  StringList lines;
  TextFile out;
  out.SetSink(&lines);
  EXPECT_EQ(group.WritePolicies(out, 0, attempt), 1);
  EXPECT_EQ(lines.GetCount(), 0);

  group.Text(TablePolicyId::DelimiterCharacter).value = "\t";
  group.Text(TablePolicyId::DelimiterCharacter).set = 1;
  EXPECT_EQ(group.WritePolicies(out, 0, attempt), 1);
  ASSERT_EQ(lines.GetCount(), 5);
  EXPECT_STREQ(lines.GetItem(2)->text.GetText(), "[Table generation]");
  EXPECT_STREQ(lines.GetItem(4)->text.GetText(), "Default TABLE delimiter character         : 'TAB'");

  lines.Clear();
  EXPECT_EQ(group.WritePolicies(out, 1, attempt), 1);
  EXPECT_EQ(lines.GetCount(), 4 + 1 + 31);
  EXPECT_STREQ(lines.GetItem(4)->text.GetText(), "Attempt TABLE generation                  : Yes");
}
