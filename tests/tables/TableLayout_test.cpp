#include "policy/TableLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "policy/KeyValueLine.h"
#include "support/ContextFixture.h"
#include "policy/BaseDefinition.h"
#include "tables/TableTags.h"

class TableLayoutTest : public ContextFixture {
 protected:
  // The line's result when a layout policy took it, -1 when none did.
  int Apply(TableLayout& layout, const char* text) {
    KeyValueLine line;
    ParseKeyValueLine(line, nullptr, 0, TextString(text));
    return layout.ApplyPolicyLine(fc, line) ? line.result : -1;
  }
  // Column positions as "first/hidden" pairs, e.g. "0/0 11/0".
  static std::string Columns(const TableLayout& layout) {
    std::string out;
    for (int i = 1; i <= layout.GetColumnCount(); ++i) {
      const TableColumn* c = layout.GetColumn(i);
      if (!out.empty()) out += ' ';
      out += std::to_string(c->firstPosition) + "/" + std::to_string(c->hidden);
    }
    return out;
  }
};

TEST_F(TableLayoutTest, DefaultsAfterConstructionAndReset) {
  TableLayout layout("Default");
  EXPECT_EQ(layout.blankLineSeparated.value, 1);
  EXPECT_EQ(layout.extendingFactor.value, 5);
  EXPECT_EQ(layout.columnMergingFactor.value, 5);
  EXPECT_EQ(layout.minimumColumnSeparation.value, 1);
  EXPECT_EQ(layout.delimiterCharacter.category, 4);
  EXPECT_STREQ(layout.multipleColspan.key.GetText(), "Expect mutiple COLSPAN values");
  EXPECT_EQ(layout.levelThreshold, 6);

  layout.headerRows.value = 3;
  layout.headerRows.set = 1;
  layout.centred = 1;
  layout.levelThreshold = 2;
  layout.AddColumn();
  layout.AddDefinition(std::make_unique<TableDataDefinition>(TextString("cell")));
  layout.Reset();
  EXPECT_EQ(layout.headerRows.value, 0);
  EXPECT_EQ(layout.headerRows.set, 0);
  EXPECT_EQ(layout.centred, 0);
  EXPECT_EQ(layout.levelThreshold, 6);
  EXPECT_EQ(layout.GetColumnCount(), 0);
  EXPECT_EQ(layout.GetDefinitionCount(), 0);
}

TEST_F(TableLayoutTest, PolicyLinesByKeyAndAlias) {
  struct Case {
    const char* line;
    LayoutPolicyId id;
    int number;        // scalar value, or -1 for a text policy
    const char* text;  // text value
  };
  const Case cases[] = {
      {"header rows: 2", LayoutPolicyId::HeaderRows, 2, ""},
      {"Default TABLE header rows: 3", LayoutPolicyId::HeaderRows, 3, ""},
      {"DEFAULT table HEADER cols : 4", LayoutPolicyId::HeaderCols, 4, ""},
      {"Table extending factor: 9", LayoutPolicyId::ExtendingFactor, 9, ""},
      {"Default TABLE layout: 3,1,12,30", LayoutPolicyId::Layout, -1, "3,1,12,30"},
      {"delimiter character: (none)", LayoutPolicyId::DelimiterCharacter, -1, ""},
      {"Default TABLE delimiter character: ;", LayoutPolicyId::DelimiterCharacter, -1, ";"},
      {"Expect mutiple COLSPAN values: yes", LayoutPolicyId::MultipleColspan, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TableLayout layout("s");
    EXPECT_EQ(Apply(layout, c.line), 1);
    const CorePolicy& policy = layout.GetPolicy(c.id);
    EXPECT_EQ(policy.set, 1);
    if (c.number >= 0)
      EXPECT_EQ(dynamic_cast<const ScalarPolicy&>(policy).value, c.number);
    else
      EXPECT_STREQ(dynamic_cast<const TextValuePolicy&>(policy).value.GetText(), c.text);
  }
  // The layout's own spelling only; other keys are left for the caller.
  TableLayout layout("s");
  EXPECT_EQ(Apply(layout, "Expect multiple COLSPAN values: yes"), -1);
  EXPECT_EQ(Apply(layout, "Border size: 2"), -1);
  EXPECT_EQ(layout.GetDelimiter(), '\0');
}

TEST_F(TableLayoutTest, ColumnWidths) {
  TableColumn column;
  column.widestTextWidth = 0;
  EXPECT_EQ(column.Width(1), 50);
  column.widestTextWidth = 70;
  EXPECT_EQ(column.Width(1), 70);
  column.width = 99;
  EXPECT_EQ(column.Width(1), 99);
  EXPECT_EQ(column.Width(0), 132);
  EXPECT_EQ(column.Width(2), 99);
  column.secondWidth = 99;
  column.extraWidth = 10;
  EXPECT_EQ(column.SecondWidth(1), 99);
  EXPECT_EQ(column.SecondWidth(0), 132);
  EXPECT_EQ(column.ExtraWidth(0), 13);
}

TEST_F(TableLayoutTest, TableLayoutTagReplacesColumnsOnlyWhenEveryFieldReads) {
  struct Case {
    const char* text;
    const char* columns;  // after the tag, starting from one column at 5
    const char* message;  // expected report, or empty
  };
  const Case cases[] = {
      {"TABLE_LAYOUT 3,1,12,30", "0/0 11/0 29/0", ""},
      {"3, 1, 12, 30", "0/0 11/0 29/0", ""},
      {"TABLE_LAYOUT 0", "", ""},
      {"TABLE_LAYOUT 2,1,x", "4/0", "TAG ERROR: Failed to parse table layout"},
      {"TABLE_LAYOUT 2,1", "4/0", "TAG ERROR: Failed to parse table layout"},
      {"TABLE_LAYOUT x,1", "4/0", "TAG ERROR: Failed to parse TABLE_LAYOUT"},
      {"TABLE_LAYOUT -1", "4/0", "TAG ERROR: Failed to parse TABLE_LAYOUT"},
      {"", "4/0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    messages.clear();
    TableLayout layout("t");
    ASSERT_EQ(layout.AddColumn().SetFromText("5"), 1);
    ParseTableLayout(fc, layout, c.text);
    EXPECT_EQ(Columns(layout), c.columns);
    if (c.message[0] == '\0') {
      EXPECT_TRUE(messages.empty());
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], c.message);
    }
  }
  TableLayout layout("t");
  ParseTableLayout(fc, layout, "TABLE_LAYOUT 1,7");
  EXPECT_EQ(layout.GetColumn(1)->configured, 1);
  EXPECT_EQ(layout.GetColumn(1)->lastPosition, 6);
}

TEST_F(TableLayoutTest, ShowColumnsHidesNoAndAddsColumns) {
  TableLayout layout("t");
  ParseShowColumns(fc, layout, "TABLE_SHOW_COLUMNS Y,N,,n");
  EXPECT_EQ(Columns(layout), "-1/0 -1/1 -1/0 -1/1");
  ParseShowColumns(fc, layout, "no,yes");
  EXPECT_EQ(Columns(layout), "-1/1 -1/0 -1/0 -1/1");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TableLayoutTest, CopyKeepsTargetColumnsAndClonesDefinitions) {
  TableLayout source("s");
  source.headerCols.value = 2;
  source.headerCols.set = 1;
  source.centred = 1;
  source.font.SetPointSize(9);
  ParseTableLayout(fc, source, "2,1,10");
  auto definition = std::make_unique<TableDataDefinition>(TextString("total"));
  definition->row = 3;
  source.AddDefinition(std::move(definition));

  TableLayout fresh("");
  fresh.CopyFrom(source);
  EXPECT_EQ(fresh.headerCols.value, 2);
  EXPECT_EQ(fresh.headerCols.set, 1);
  EXPECT_EQ(fresh.centred, 1);
  EXPECT_EQ(fresh.font.GetPointSize(), 9);
  EXPECT_EQ(Columns(fresh), "0/0 9/0");
  ASSERT_EQ(fresh.GetDefinitionCount(), 1);
  EXPECT_NE(fresh.GetDefinition(0), source.GetDefinition(0));
  EXPECT_EQ(fresh.GetDefinition(0)->row, 3);

  TableLayout withColumns("");
  ParseTableLayout(fc, withColumns, "1,4");
  withColumns.AddDefinition(std::make_unique<TableDataDefinition>(TextString("a")));
  withColumns.AddDefinition(std::make_unique<TableDataDefinition>(TextString("b")));
  withColumns.CopyFrom(source);
  EXPECT_EQ(Columns(withColumns), "3/0");
  EXPECT_EQ(withColumns.GetDefinitionCount(), 1);
}

TEST_F(TableLayoutTest, TableTagsOtherThanBeginAreReported) {
  TableLayout layout("t");
  ApplyTableTag(fc, layout, "BEGIN_USER_TABLE", "BEGIN_USER_TABLE C,2in");
  ApplyTableTag(fc, layout, "TABLE_BORDER", "");
  EXPECT_TRUE(messages.empty());
  ApplyTableTag(fc, layout, "begin_user_table", "begin_user_table C");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "TAG ERROR: Setting table config from tag begin_user_table\n\tbegin_user_table C");
}
