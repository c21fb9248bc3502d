#include "engine/TableDefinitionRegistry.h"

#include <gtest/gtest.h>

namespace {

TEST(TableDefinitionRegistry, NamesAreUniqueIgnoringCaseAndDefaultsAreNotFound) {
  TableDefinitionRegistry registry;
  EXPECT_EQ(registry.FindFormat("Default"), nullptr);
  EXPECT_EQ(registry.FindType("Default"), nullptr);
  EXPECT_EQ(registry.FindStructure("Default"), nullptr);
  EXPECT_STREQ(registry.GetDefaultFormat().GetName().GetText(), "Default");

  TableGenerationPolicies* format = registry.AddFormat("Prices");
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(registry.AddFormat("PRICES"), nullptr);
  EXPECT_EQ(registry.GetFormatCount(), 1);
  EXPECT_EQ(registry.FindFormat("prices"), format);
  EXPECT_EQ(registry.FindFormat("prices "), nullptr);

  TableType* type = registry.AddType("Ledger");
  ASSERT_NE(type, nullptr);
  EXPECT_STREQ(type->GetFormatName().GetText(), "Default");
  EXPECT_STREQ(type->GetStructureName().GetText(), "Default");
  EXPECT_EQ(registry.AddType("LEDGER"), nullptr);
  EXPECT_EQ(registry.FindType("ledger"), type);

  TableLayout* structure = registry.AddStructure("Wide");
  ASSERT_NE(structure, nullptr);
  EXPECT_EQ(registry.AddStructure("wide"), nullptr);
  EXPECT_EQ(registry.FindStructure("WIDE"), structure);
  // A name of one kind is free in another.
  EXPECT_NE(registry.AddStructure("Prices"), nullptr);
}

TEST(TableDefinitionRegistry, ClearEmptiesTheNamedEntriesAndResetsTheDefaults) {
  TableDefinitionRegistry registry;
  ASSERT_NE(registry.AddFormat("F"), nullptr);
  ASSERT_NE(registry.AddType("T"), nullptr);
  ASSERT_NE(registry.AddStructure("S"), nullptr);
  registry.GetDefaultType().SetFormatName("F");
  registry.GetDefaultType().SetStructureName("S");
  registry.Clear();
  EXPECT_EQ(registry.GetFormatCount(), 0);
  EXPECT_EQ(registry.GetTypeCount(), 0);
  EXPECT_EQ(registry.GetStructureCount(), 0);
  EXPECT_EQ(registry.FindType("T"), nullptr);
  EXPECT_STREQ(registry.GetDefaultType().GetFormatName().GetText(), "Default");
  EXPECT_STREQ(registry.GetDefaultType().GetStructureName().GetText(), "Default");
  EXPECT_NE(registry.AddFormat("F"), nullptr);
}

}  // namespace
