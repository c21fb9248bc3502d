#include "policy/TableGenerationPolicies.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "policy/KeyValueLine.h"
#include "support/ContextFixture.h"
#include "tables/TableTags.h"

namespace {

using G = GenerationPolicyId;

// A policy line as the loader hands it on (no handler: refusals are not reported).
KeyValueLine LineOf(const char* text, int repeatCheck = 0) {
  KeyValueLine line;
  ParseKeyValueLine(line, nullptr, repeatCheck, TextString(text));
  return line;
}

std::string ValueText(const TableGenerationPolicies& group, G id) {
  const CorePolicy& policy = group.GetPolicy(id);
  if (const auto* text = dynamic_cast<const TextValuePolicy*>(&policy))
    return text->value.GetText();
  return std::to_string(static_cast<const ScalarPolicy&>(policy).value);
}

TEST(TableGenerationPolicies, RegistersEveryPolicyWithItsDefault) {
  TableGenerationPolicies group("Default");
  std::set<std::string> keys;
  for (const GenerationPolicyRow& row : GenerationPolicyRows()) {
    SCOPED_TRACE(row.key);
    const CorePolicy& policy = group.GetPolicy(row.id);
    EXPECT_EQ(std::string_view(policy.key.GetText()), row.key);
    EXPECT_EQ(policy.category, 4);
    EXPECT_EQ(policy.set, 0);
    EXPECT_TRUE(keys.insert(std::string(row.key)).second) << "duplicate key";
  }
  EXPECT_EQ(ValueText(group, G::OddRowColour), "F0F0F0");
  EXPECT_EQ(ValueText(group, G::EvenRowColour), "E0F0E0");
  EXPECT_EQ(ValueText(group, G::CellSpacing), "2");
  EXPECT_EQ(ValueText(group, G::CellPadding), "2");
  EXPECT_EQ(ValueText(group, G::KeepOriginalLines), "1");
  EXPECT_EQ(ValueText(group, G::DataAsSeparateRows), "1");
  EXPECT_EQ(ValueText(group, G::ColourDataRows), "0");
  EXPECT_EQ(ValueText(group, G::Alignment), "0");
  EXPECT_EQ(group.GetColumnCount(), 0);
  EXPECT_EQ(group.GetTableIndent(), 0);
  EXPECT_STREQ(group.GetName().GetText(), "Default");
}

struct PolicyLineCase {
  const char* line;
  G id;
  const char* value;
};
constexpr PolicyLineCase kPolicyLineCases[] = {
    // Own keys, any case; integers without a range.
    {"Border size: 3", G::BorderSize, "3"},
    {"cell SPACING: -7", G::CellSpacing, "-7"},
    {"Alignment: right", G::Alignment, "3"},
    {"Caption: Prices of 2024", G::Caption, "Prices of 2024"},
    {"column headers: \"A\",\"B\"", G::ColumnHeaders, "\"A\",\"B\""},
    {"Use <CODE>..</CODE> markup: yes", G::UseCodeMarkup, "1"},
    {"Keep original table lines in output: no", G::KeepOriginalLines, "0"},
    // Aliases: American spellings and the keys of the policy-file form.
    {"Default TABLE odd row color: red", G::OddRowColour, "red"},
    {"default table CELL padding: 5", G::CellPadding, "5"},
    {"Color data rows: yes", G::ColourDataRows, "1"},
    {"Border color: blue", G::BorderColour, "blue"},
    {"Default TABLE border size: 4", G::BorderSize, "4"},
    {"Default TABLE alignment: center", G::Alignment, "2"},
    {"Default TABLE width: 80%", G::Width, "80%"},
    {"Default TABLE HTML cell attributes: nowrap", G::HtmlCellAttributes, "nowrap"},
};

TEST(TableGenerationPolicies, PolicyLinesReachTheirPolicyByKeyOrAlias) {
  for (const PolicyLineCase& c : kPolicyLineCases) {
    SCOPED_TRACE(c.line);
    TableGenerationPolicies group("");
    FileControl fc;
    KeyValueLine line = LineOf(c.line);
    group.ApplyPolicyLine(fc, line);
    EXPECT_EQ(line.consumed, 1);
    EXPECT_EQ(group.GetPolicy(c.id).set, 1);
    EXPECT_EQ(ValueText(group, c.id), c.value);
  }
}

TEST(TableGenerationPolicies, LeavesLinesOfOtherKeysUntouched) {
  for (const char* text : {"Page Width: 60", "Default TABLE header rows: 2", "Border: 3"}) {
    SCOPED_TRACE(text);
    TableGenerationPolicies group("");
    FileControl fc;
    KeyValueLine line = LineOf(text);
    group.ApplyPolicyLine(fc, line);
    EXPECT_EQ(line.consumed, 0);
    for (const GenerationPolicyRow& row : GenerationPolicyRows())
      EXPECT_EQ(group.GetPolicy(row.id).set, 0) << row.key;
  }
}

TEST(TableGenerationPolicies, CopyTakesPoliciesButNotColumnsOrIndent) {
  FileControl fc;
  TableGenerationPolicies source("Prices");
  source.Int(G::BorderSize).value = 3;
  source.Int(G::BorderSize).set = 1;
  source.Text(G::Caption).value = "Money";
  (void)source.AddColumn();
  source.SetTableIndent(72);
  source.SetHeadersGiven(1);

  TableGenerationPolicies copy("");
  copy.Int(G::CellPadding).value = 9;
  copy.Int(G::CellPadding).set = 1;
  EXPECT_EQ(copy.CopyFrom(fc, source), 1);
  EXPECT_EQ(ValueText(copy, G::BorderSize), "3");
  EXPECT_EQ(copy.GetPolicy(G::BorderSize).set, 1);
  EXPECT_EQ(ValueText(copy, G::Caption), "Money");
  EXPECT_EQ(copy.GetPolicy(G::Caption).set, 0);
  // Every policy is copied, an unset one included.
  EXPECT_EQ(ValueText(copy, G::CellPadding), "2");
  EXPECT_EQ(copy.GetPolicy(G::CellPadding).set, 0);
  EXPECT_EQ(copy.GetColumnCount(), 0);
  EXPECT_EQ(copy.GetTableIndent(), 0);
  EXPECT_EQ(copy.GetHeadersGiven(), 0);
  EXPECT_STREQ(copy.GetName().GetText(), "");
}

TEST(TableGenerationPolicies, RegisterPoliciesResetsValuesAndColumnsButKeepsIndentAndHeaders) {
  TableGenerationPolicies group("Default");
  group.Bool(G::ColourDataRows).value = 1;
  group.Bool(G::ColourDataRows).set = 1;
  (void)group.AddColumn();
  group.SetTableIndent(36);
  group.SetHeadersGiven(1);
  group.RegisterPolicies();
  EXPECT_EQ(ValueText(group, G::ColourDataRows), "0");
  EXPECT_EQ(group.GetPolicy(G::ColourDataRows).set, 0);
  EXPECT_EQ(group.GetColumnCount(), 0);
  EXPECT_EQ(group.GetTableIndent(), 36);
  EXPECT_EQ(group.GetHeadersGiven(), 1);
}

// A "Text command" line goes to the format's own commands, which copies carry along.
TEST(TableGenerationPolicies, TextCommandLinesJoinTheFormatsCommands) {
  FileControl fc;
  TableGenerationPolicies format("Prices");
  KeyValueLine line = LineOf("Text command : replace_text string \"EUR\" by_string \"\x80\"");
  format.ApplyPolicyLine(fc, line);
  EXPECT_EQ(line.consumed, 1);
  ASSERT_EQ(format.GetTextCommands().GetCount(), 1);
  // A refused command leaves the line to the caller.
  KeyValueLine bad = LineOf("Text command : replace_text strung \"x\" by_string \"y\"");
  format.ApplyPolicyLine(fc, bad);
  EXPECT_EQ(bad.consumed, 0);
  // Only the key "Text command" is one.
  KeyValueLine file = LineOf("Text command file: cmds.txt");
  format.ApplyPolicyLine(fc, file);
  EXPECT_EQ(file.consumed, 0);

  TableGenerationPolicies table("");
  EXPECT_EQ(table.CopyFrom(fc, format), 1);
  ASSERT_EQ(table.GetTextCommands().GetCount(), 1);
  format.RegisterPolicies();
  EXPECT_EQ(format.GetTextCommands().GetCount(), 0);
  EXPECT_EQ(table.GetTextCommands().GetCount(), 1);
}

// ---- Column tags and table tags: these read the tag through the Context ----

class TableGenerationTags : public ContextFixture {};

TEST_F(TableGenerationTags, HeadersAddColumnsAndKeepWhatTheFirstColumnHad) {
  TableGenerationPolicies group("");
  ColumnFormat& first = group.AddColumn();
  first.alignment = 3;
  first.formatName = "Money";
  first.width = "20%";
  ParseColumnHeaders(fc, group, "\"Item\", \"Price\", \"Count\"");
  ASSERT_EQ(group.GetColumnCount(), 3);
  EXPECT_STREQ(group.GetColumn(0)->header.GetText(), "Item");
  EXPECT_STREQ(group.GetColumn(1)->header.GetText(), "Price");
  EXPECT_STREQ(group.GetColumn(2)->header.GetText(), "Count");
  EXPECT_EQ(group.GetColumn(0)->alignment, 3);
  EXPECT_STREQ(group.GetColumn(0)->formatName.GetText(), "Money");
  EXPECT_STREQ(group.GetColumn(0)->width.GetText(), "20%");
  EXPECT_EQ(group.GetHeadersGiven(), 1);
  // A new column starts with its initial settings.
  const ColumnFormat& added = *group.GetColumn(2);
  EXPECT_EQ(added.alignment, 0);
  EXPECT_EQ(added.barWidth, 200.0);
  EXPECT_EQ(added.barSetting, 20);
  EXPECT_EQ(added.valueLocation, kValueLeft);
  EXPECT_STREQ(added.barColour.GetText(), "blue");
  EXPECT_STREQ(added.barBackgroundColour.GetText(), "white");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TableGenerationTags, EmptyOrBadFieldsLeaveTheirColumnAlone) {
  TableGenerationPolicies group("");
  ParseColumnWidths(fc, group, "TABLE_COLUMN_WIDTHS 10,20,30");
  ParseColumnWidths(fc, group, "table_column_widths 11,,33");
  ASSERT_EQ(group.GetColumnCount(), 3);
  EXPECT_STREQ(group.GetColumn(0)->width.GetText(), "11");
  EXPECT_STREQ(group.GetColumn(1)->width.GetText(), "20");
  EXPECT_STREQ(group.GetColumn(2)->width.GetText(), "33");

  ParseColumnAlignments(fc, group, "L,x,r");
  EXPECT_EQ(group.GetColumn(0)->alignment, 1);
  EXPECT_EQ(group.GetColumn(1)->alignment, 0);
  EXPECT_EQ(group.GetColumn(2)->alignment, 3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("TAG ERROR: Bad alignment code 'x'"), std::string::npos)
      << messages[0];

  ParseColumnFormats(fc, group, "Money");
  EXPECT_STREQ(group.GetColumn(0)->formatName.GetText(), "Money");
  EXPECT_EQ(group.GetHeadersGiven(), 0);
}

TEST(TableGenerationPolicies, ColumnTagsWithoutATagReaderReportAndChangeNothing) {
  FileControl fc;  // no Context
  TableGenerationPolicies group("");
  ParseColumnWidths(fc, group, "10,20");
  EXPECT_EQ(group.GetColumnCount(), 0);
  EXPECT_STREQ(fc.GetLastMessage().GetText(), "TAG ERROR: Failed to parse TABLE_COLUMN_WIDTHS");
}

struct MarginCase {
  const char* tag;
  int indent;  // -1: reported as unreadable, the indent keeps 5
};
constexpr MarginCase kMarginCases[] = {
    {"$_$_BEGIN_USER_TABLE L,1in", 72},
    {"$_$_BEGIN_USER_TABLE L,2.54cm", 72},
    {"$_$_BEGIN_USER_TABLE L,36pt", 36},
    {"$_$_BEGIN_USER_TABLE L,36pts", 36},
    {"$_$_BEGIN_USER_TABLE L,36px", 36},
    {"$_$_BEGIN_USER_TABLE L,1.5ins", 108},
    {"$_$_BEGIN_USER_TABLE L,40", 40},
    {"$_$_BEGIN_USER_TABLE L,40.9", 40},
    {"[[BEGIN_USER_TABLE L,0.5in]]", 36},
    // The unit is found whatever its case but removed only in lower case.
    {"$_$_BEGIN_USER_TABLE L,36PT", -1},
    {"$_$_BEGIN_USER_TABLE L,wide", -1},
    {"$_$_BEGIN_USER_TABLE L,99999999999in", -1},
    // No margin: the indent stays.
    {"$_$_BEGIN_USER_TABLE L", 5},
    {"$_$_BEGIN_USER_TABLE L,", 5},
};

TEST_F(TableGenerationTags, TableTagReadsTheMarginInItsUnit) {
  for (const MarginCase& c : kMarginCases) {
    SCOPED_TRACE(c.tag);
    messages.clear();
    TableGenerationPolicies group("");
    group.SetTableIndent(5);
    ApplyTableTag(fc, group, "BEGIN_USER_TABLE", c.tag);
    EXPECT_EQ(ValueText(group, G::Alignment), "1");
    EXPECT_EQ(group.GetPolicy(G::Alignment).set, 1);
    if (c.indent >= 0) {
      EXPECT_EQ(group.GetTableIndent(), c.indent);
      EXPECT_TRUE(messages.empty()) << messages.front();
      continue;
    }
    EXPECT_EQ(group.GetTableIndent(), 5);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "TAG ERROR: Unable to read table margin");
  }
}

TEST_F(TableGenerationTags, TableTagNamesAreComparedExactly) {
  TableGenerationPolicies group("");
  ApplyTableTag(fc, group, "BEGIN_DELIMITED_TABLE", "");
  EXPECT_TRUE(messages.empty());
  ApplyTableTag(fc, group, "BEGIN_COMMA_DELIMITED_TABLE", "$_$_BEGIN_COMMA_DELIMITED_TABLE c");
  EXPECT_EQ(ValueText(group, G::Alignment), "2");
  EXPECT_TRUE(messages.empty());
  for (const char* name : {"begin_user_table", "BEGIN_TABLE"}) {
    SCOPED_TRACE(name);
    messages.clear();
    ApplyTableTag(fc, group, name, "$_$_BEGIN_USER_TABLE r,1in");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::string("TAG ERROR: Setting table config from tag ") + name +
                               "\n\t$_$_BEGIN_USER_TABLE r,1in");
  }
  EXPECT_EQ(ValueText(group, G::Alignment), "2");
  EXPECT_EQ(group.GetTableIndent(), 0);
}

}  // namespace
