#include "engine/EntityTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

TEST(EntityTable, RowsAreTheHtmlEntitiesThenFourUpperCaseForms) {
  const auto rows = EntityRows();
  ASSERT_EQ(rows.size(), 256u);
  std::set<std::string_view> names;
  for (const EntityRow& row : rows) {
    EXPECT_TRUE(names.insert(row.name).second) << "duplicate: " << row.name;
    EXPECT_GE(row.name.size(), 4u) << row.name;
    EXPECT_EQ(row.name.front(), '&') << row.name;
    EXPECT_EQ(row.name.back(), ';') << row.name;
  }
  for (std::size_t i = 1; i < 252; ++i)
    EXPECT_LT(rows[i - 1].name, rows[i].name) << "out of order at " << i;
  EXPECT_EQ(rows[0].name, "&AElig;");
  EXPECT_EQ(rows[251].name, "&zwnj;");
  EXPECT_EQ(rows[252].name, "&LT;");
  EXPECT_EQ(rows[255].name, "&NBSP;");

  // The Latin-1 set covers 160..255 once each.
  std::set<int> latin1;
  for (const EntityRow& row : rows.first(252)) {
    if (row.code >= 160 && row.code <= 255) {
      EXPECT_TRUE(latin1.insert(row.code).second) << row.name;
    }
  }
  EXPECT_EQ(latin1.size(), 96u);
}

TEST(EntityTable, BothOrdersAreSortedAfterFill) {
  EntityTable table;
  table.Fill();
  ASSERT_EQ(table.GetCount(), 256);
  const auto& byName = table.GetByName();
  const auto& byCode = table.GetByCode();
  ASSERT_EQ(byName.size(), 256u);
  ASSERT_EQ(byCode.size(), 256u);
  for (std::size_t i = 1; i < byName.size(); ++i) {
    EXPECT_LT(std::string(byName[i - 1].name.GetText()), std::string(byName[i].name.GetText()));
    EXPECT_LE(byCode[i - 1].code, byCode[i].code);
  }
}

TEST(EntityTable, FindsByName) {
  struct Case {
    const char* name;
    int code;  // -1: not found
  };
  const Case cases[] = {
      {"&amp;", 38},      {"&AMP;", 38},      {"&lt;", 60},        {"&LT;", 60},
      {"&nbsp;", 160},    {"&NBSP;", 160},    {"&eacute;", 233},   {"&Eacute;", 201},
      {"&EACUTE;", -1},   {"&amp", -1},       {"amp;", -1},        {"&thetasym;", 977},
      {"&theta;", 952},   {"&Theta;", 920},   {"&euro;", 8364},    {"&hearts;", 9829},
      {"&diams;", 9830},  {"&quot;", 34},     {"&AElig;", 198},    {"&zwnj;", 8204},
      {"&yuml;", 255},    {"&Yuml;", 376},    {"&sigmaf;", 962},   {"&Prime;", 8243},
      {"&", -1},          {"", -1},           {"&zzzz;", -1},      {"&AAAA;", -1},
  };
  EntityTable table;
  table.Fill();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EntityEntry* entry = table.FindByName(c.name);
    if (c.code < 0) {
      EXPECT_EQ(entry, nullptr);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->code, c.code);
    EXPECT_STREQ(entry->name.GetText(), c.name);
  }
  EXPECT_NE(table.FindByName(TextString("&copy;")), nullptr);
}

TEST(EntityTable, FindsByCodeTheNameAddedLast) {
  struct Case {
    int code;
    const char* name;  // null: not found
  };
  const Case cases[] = {
      {60, "&LT;"},       {62, "&GT;"},       {38, "&AMP;"},     {160, "&NBSP;"},
      {34, "&quot;"},     {8364, "&euro;"},   {9830, "&diams;"}, {9829, "&hearts;"},
      {198, "&AElig;"},   {402, "&fnof;"},    {8204, "&zwnj;"},  {255, "&yuml;"},
      {65, nullptr},      {10000, nullptr},   {0, nullptr},      {-1, nullptr},
      {930, nullptr},  // no capital final sigma
  };
  EntityTable table;
  table.Fill();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const EntityEntry* entry = table.FindByCode(c.code);
    if (c.name == nullptr) {
      EXPECT_EQ(entry, nullptr);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->name.GetText(), c.name);
  }
}

TEST(EntityTable, AddKeepsNewestFirstAndSmallTablesWork) {
  EntityTable table;
  EXPECT_EQ(table.FindByCode(1), nullptr);
  EXPECT_EQ(table.FindByName("&a;"), nullptr);
  EXPECT_EQ(table.Add("&a;", 1), 1);
  // A one-entry table is found too.
  ASSERT_NE(table.FindByCode(1), nullptr);
  ASSERT_NE(table.FindByName("&a;"), nullptr);
  EXPECT_EQ(table.Add("&b;", 1), 1);
  EXPECT_STREQ(table.FindByCode(1)->name.GetText(), "&b;");
  EXPECT_EQ(table.FindByName("&a;")->code, 1);
}

TEST(EntityTable, ClearEmptiesEverySearch) {
  EntityTable table;
  table.Fill();
  table.Clear();
  EXPECT_EQ(table.GetCount(), 0);
  EXPECT_EQ(table.FindByCode(38), nullptr);
  EXPECT_EQ(table.FindByName("&amp;"), nullptr);
  table.Fill();
  EXPECT_EQ(table.GetCount(), 256);
}
