#include "policy/TableAnalysisPolicies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "policy/ErrorHandler.h"
#include "policy/KeyValueLine.h"
#include "support/ContextFixture.h"
#include "policy/BaseDefinition.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tables/TableTags.h"
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

// Every policy of a group as "key=value/set" lines.
static std::string Describe(const TableAnalysisPolicies& group) {
  std::string out;
  for (const TablePolicyRow& row : TablePolicyRows()) {
    const CorePolicy& policy = group.GetPolicy(row.id);
    out += std::string(row.key) + "=";
    if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&policy))
      out += std::to_string(scalar->value);
    else
      out += dynamic_cast<const TextValuePolicy&>(policy).value.GetText();
    out += "/" + std::to_string(policy.set) + "\n";
  }
  return out;
}

TEST(TableAnalysisPolicies, WrittenSectionReadsBackTheSame) {
  const char* settings[] = {
      "Use <CODE>..</CODE> markup: Yes",
      "Default TABLE border size: 2",
      "Default TABLE cell spacing: 4",
      "Default TABLE cell alignment: right",
      "Default TABLE alignment: centre",
      "Default TABLE caption: Quarterly figures",
      "Default TABLE colour: Silver",
      "Colour data rows: Yes",
      "Default TABLE odd row colour: Yellow",
      "Could be blank line separated: No",
      "Default TABLE delimiter character: '|'",
      "Default TABLE header rows: 1",
      "Minimum TABLE column separation: 3",
      "Table extending factor: 7",
      "Default table layout: 2,1,20",
      "Expect multiple COLSPAN values: Yes",
  };
  for (const char* delimiter : {"'|'", "'TAB'", "(none)"}) {
    SCOPED_TRACE(delimiter);
    TableAnalysisPolicies written("Default");
    for (const char* line : settings) ASSERT_EQ(Apply(written, line), 1) << line;
    written.Text(TablePolicyId::DelimiterCharacter).value =
        std::string(delimiter) == "'|'" ? "|" : std::string(delimiter) == "'TAB'" ? "\t" : "";

    BoolPolicy attempt;
    InitScalarPolicy(attempt, 4, 1, "Attempt TABLE generation");
    StringList lines;
    TextFile out;
    out.SetSink(&lines);
    ASSERT_EQ(written.WritePolicies(out, 0, attempt), 1);

    TableAnalysisPolicies read("Default");
    for (int i = 4; i < lines.GetCount(); ++i) {
      const std::string text = lines.GetItem(i)->text.GetText();
      if (text.rfind("Default TABLE delimiter", 0) == 0) {
        EXPECT_NE(text.find(delimiter), std::string::npos) << text;
      }
      EXPECT_EQ(Apply(read, text.c_str()), 1) << text;
    }
    EXPECT_EQ(Describe(read), Describe(written));
  }
}

class TableAnalysisApply : public ContextFixture {};

TEST_F(TableAnalysisApply, OverrideDecidesOverTargetsAlreadySet) {
  TableAnalysisPolicies group("Default");
  ASSERT_EQ(Apply(group, "Default TABLE border size: 5"), 1);
  ASSERT_EQ(Apply(group, "header rows: 2"), 1);
  ASSERT_EQ(Apply(group, "Default TABLE cell padding: 9"), 1);

  for (int override : {0, 1}) {
    SCOPED_TRACE(override);
    TableLayout layout("");
    TableGenerationPolicies generation("");
    IntPolicy& border = generation.Int(GenerationPolicyId::BorderSize);
    border.value = 1;
    border.set = 1;  // the table's format set it
    layout.headerRows.value = 4;
    layout.headerRows.set = 1;
    ApplyTablePolicies(group, fc, override, &layout, &generation);
    EXPECT_EQ(border.value, override ? 5 : 1);
    EXPECT_EQ(layout.headerRows.value, override ? 2 : 4);
    EXPECT_EQ(generation.Int(GenerationPolicyId::CellPadding).value, 9);
    EXPECT_EQ(generation.Int(GenerationPolicyId::CellPadding).set, 1);
    // Unset policies of the group leave the defaults of the table.
    EXPECT_EQ(generation.Int(GenerationPolicyId::CellSpacing).set, 0);
    EXPECT_EQ(layout.extendingFactor.set, 0);
  }
}

TEST_F(TableAnalysisApply, TagLinesAndDefinitionsGoToTheTable) {
  TableAnalysisPolicies group("table");
  group.AddTagLine("  [[BEGIN_USER_TABLE R,1in");
  group.AddTagLine("[[TABLE_BORDER 2");
  auto definition = std::make_unique<TableDataDefinition>(TextString("sum"));
  definition->column = 3;
  group.AddDefinition(std::move(definition));

  TableLayout layout("");
  TableGenerationPolicies generation("");
  ApplyTablePolicies(group, fc, 1, &layout, &generation);
  EXPECT_EQ(generation.Align(GenerationPolicyId::Alignment).value, 3);
  EXPECT_EQ(generation.GetTableIndent(), 72);
  // Layout and generation policies each refuse the tag that is not a BEGIN_ table tag.
  const std::string refused = "TAG ERROR: Setting table config from tag TABLE_BORDER\n\t[[TABLE_BORDER 2";
  EXPECT_EQ(std::count(messages.begin(), messages.end(), refused), 2);
  ASSERT_EQ(layout.GetDefinitionCount(), 1);
  EXPECT_EQ(layout.GetDefinition(0)->column, 3);
  EXPECT_EQ(group.GetDefinitionCount(), 1);

  // The opening directive line of a table, as the reader keeps it, is taken the same way.
  TableAnalysisPolicies opened("table");
  opened.AddTagLine("$_$_BEGIN_USER_TABLE C,2in");
  messages.clear();
  ApplyTablePolicies(opened, fc, 1, &layout, &generation);
  EXPECT_EQ(generation.Align(GenerationPolicyId::Alignment).value, 2);
  EXPECT_EQ(generation.GetTableIndent(), 144);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

// The opening line of a table that a directive announced keeps the directive delimiter in
// front of its name; the table tags are known by their names all the same.
TEST_F(TableAnalysisApply, DirectiveTableLinesAreKnownTableTags) {
  for (const char* line : {"$_$_BEGIN_DELIMITED_TABLE", "$_$_BEGIN_COMMA_DELIMITED_TABLE",
                           "  $_$_BEGIN_USER_TABLE R,1in"}) {
    SCOPED_TRACE(line);
    messages.clear();
    TableAnalysisPolicies group("table");
    group.AddTagLine(line);
    TableLayout layout("");
    TableGenerationPolicies generation("");
    ApplyTablePolicies(group, fc, 1, &layout, &generation);
    EXPECT_TRUE(messages.empty()) << messages.front();
  }
}

TEST(TableAnalysisPolicies, DefinitionsAreClonedOnCopyAndReplacedOnlyByAMergeThatHasSome) {
  TableAnalysisPolicies empty("Default");
  TableAnalysisPolicies two("Default");
  two.AddDefinition(std::make_unique<TableDataDefinition>(TextString("a")));
  two.AddDefinition(std::make_unique<TableDataDefinition>(TextString("b")));

  TableAnalysisPolicies target("Default");
  target.CopyFrom(two);
  ASSERT_EQ(target.GetDefinitionCount(), 2);
  EXPECT_NE(target.GetDefinition(0), two.GetDefinition(0));
  target.MergeFrom(1, empty);
  EXPECT_EQ(target.GetDefinitionCount(), 2);
  target.CopyFrom(empty);
  EXPECT_EQ(target.GetDefinitionCount(), 0);
  target.MergeFrom(0, two);
  EXPECT_EQ(target.GetDefinitionCount(), 2);
  target.ResetPolicies(0);
  EXPECT_EQ(target.GetDefinitionCount(), 0);
}
