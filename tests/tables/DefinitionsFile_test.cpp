#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/TableDefinitionRegistry.h"
#include "support/ContextFixture.h"
#include "support/TestFiles.h"
#include "policy/BaseDefinition.h"
#include "policy/TableAnalysisPolicies.h"

class DefinitionsFileTest : public ContextFixture {
 protected:
  bool Reported(const std::string& text) const {
    return std::find(messages.begin(), messages.end(), text) != messages.end();
  }
  TableDefinitionRegistry& Registry() { return ctx.TableDefinitions; }
};

TEST_F(DefinitionsFileTest, ReadsSectionsDefinitionsAndReportsBadLines) {
  TextString result;
  const std::string file = std::string(KELVANE_FIXTURES_DIR) + "/tables/definitions.txt";
  EXPECT_EQ(Registry().ReadDefinitionsFile(fc, file.c_str(), 1, result), 0);
  EXPECT_STREQ(result.GetText(), "POLICY: Definition Ignored - \\this line has no colon\\");

  // Before the first section: the defaults and the definitions.
  EXPECT_EQ(Registry().GetDefaultFormat().Int(GenerationPolicyId::BorderSize).value, 3);
  ASSERT_EQ(ctx.AlarmDefinitions.GetCount(), 1);
  EXPECT_STREQ(ctx.AlarmDefinitions.GetItem(0)->GetName().GetText(), "low");
  EXPECT_EQ(ctx.GraphDefinitions.GetCount(), 0);
  EXPECT_TRUE(Reported("TAG ERROR: MIN is not less than MAX"));
  EXPECT_EQ(ctx.FormatDefinitions.GetCount(), 0);
  EXPECT_TRUE(Reported("TAG ERROR: unknown column format attributes - shade=grey"));
  const TableAnalysisPolicies* defaults = fc.pGetDefaultTablePolicies();
  ASSERT_EQ(defaults->GetDefinitionCount(), 1);
  EXPECT_EQ(defaults->GetDefinition(0)->row, 4);

  // A format named twice is one format; its lines add up.
  ASSERT_EQ(Registry().GetFormatCount(), 1);
  const TableGenerationPolicies* ledger = Registry().FindFormat("Ledger");
  ASSERT_NE(ledger, nullptr);
  EXPECT_EQ(ledger->Int(GenerationPolicyId::CellPadding).value, 6);
  EXPECT_STREQ(ledger->Colour(GenerationPolicyId::OddRowColour).value.GetText(), "Red");
  EXPECT_STREQ(ledger->Text(GenerationPolicyId::Caption).value.GetText(), "Totals");

  const TableType* type = Registry().FindType("Accounts");
  ASSERT_NE(type, nullptr);
  EXPECT_STREQ(type->GetContent().GetText(), "Debit Credit");
  EXPECT_STREQ(type->GetFormatName().GetText(), "Ledger");
  EXPECT_STREQ(type->GetStructureName().GetText(), "Default");

  const TableLayout* narrow = Registry().FindStructure("Narrow");
  ASSERT_NE(narrow, nullptr);
  EXPECT_EQ(narrow->headerRows.value, 1);
  EXPECT_EQ(narrow->headerCols.value, 2);
  // A structure has no border size.
  EXPECT_TRUE(Reported("POLICY: Definition Ignored - \\Border size: 4\\"));
  EXPECT_TRUE(Reported("POLICY: Ignored - Missing colon in \"this line has no colon\""));
}

TEST_F(DefinitionsFileTest, DefaultSectionChangesTheDefaults) {
  TempFolder folder("defs");
  const std::string file = folder.File("defaults.txt");
  WriteBytes(file, "table structure: Default\nheader rows: 2\ntable format: DEFAULT\nCell spacing: 7\n");
  TextString result;
  EXPECT_EQ(Registry().ReadDefinitionsFile(fc, file.c_str(), 1, result), 1);
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_EQ(Registry().GetStructureCount(), 0);
  EXPECT_EQ(Registry().GetFormatCount(), 0);
  EXPECT_EQ(Registry().GetDefaultStructure().headerRows.value, 2);
  EXPECT_EQ(Registry().GetDefaultFormat().Int(GenerationPolicyId::CellSpacing).value, 7);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DefinitionsFileTest, MissingFileIsReported) {
  TempFolder folder("defs");
  const std::string file = folder.File("absent.txt");
  TextString result;
  EXPECT_EQ(Registry().ReadDefinitionsFile(fc, file.c_str(), 1, result), 0);
  const std::string expected = "ERROR: Failed to open definitions file " + file;
  EXPECT_EQ(std::string(result.GetText()), expected);
  EXPECT_TRUE(Reported(expected));
}
