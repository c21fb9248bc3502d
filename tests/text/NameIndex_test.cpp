#include "text/NameIndex.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

void ExpectSortedByHash(const NameIndex& index) {
  for (int i = 1; i < index.GetCount(); ++i)
    ASSERT_LE(index.GetEntry(i - 1)->hash, index.GetEntry(i)->hash) << "at " << i;
}

}  // namespace

TEST(HashName, FoldsCaseAndStaysWithinAMillion) {
  struct Case {
    const char* name;
    int hash;
  };
  const std::string longName(3000, 'z');
  const Case cases[] = {
      {"", 0},
      {"A", 160850},  // (65 + 1000) * ('Z' + 1000) mod 1,000,000
      {"a", 160850},
      {"table", 768570},
      {"TABLE", 768570},
      {"E2", 287660},  // these two collide
      {"F0", 287660},
      {"\xFF\xFE", 85912},
      {longName.c_str(), -667296},  // the sum wraps negative; the remainder keeps the sign
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HashName(c.name), c.hash);
  }
}

TEST(NameIndex, CaseVariantsShareOneEntry) {
  NameIndex index;
  index.Insert("table");
  index.Insert("TABLE");
  index.Insert("Table");
  EXPECT_EQ(index.GetCount(), 1);
  for (const char* name : {"table", "TABLE", "Table", "tAbLe"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(index.Find(name), 0);
  }
  EXPECT_STREQ(index.GetEntry(0)->name.GetText(), "table");
  EXPECT_EQ(index.Find("table "), -1);
  EXPECT_EQ(index.Find("tabl"), -1);
}

TEST(NameIndex, CachedMissDoesNotBlockInsertion) {
  NameIndex index;
  EXPECT_EQ(index.Find("td"), -1);
  EXPECT_EQ(index.Find("TD"), -1);  // answered from the cache
  index.Insert("td");
  EXPECT_EQ(index.GetCount(), 1);
  EXPECT_EQ(index.Find("td"), 0);
  index.Insert("a");  // moves td when "a" sorts first: the cache must not say 0 any more
  const int expected = HashName("a") < HashName("td") ? 1 : 0;
  EXPECT_EQ(index.Find("TD"), expected);
}

TEST(NameIndex, CollidingNamesAreEachFound) {
  NameIndex index;
  index.Insert("E2");
  index.Insert("F0");
  index.Insert("AAC");
  index.Insert("ABA");
  ASSERT_EQ(index.GetCount(), 4);
  ExpectSortedByHash(index);
  // The newest of equal hashes comes first.
  EXPECT_EQ(index.Find("F0") + 1, index.Find("E2"));
  EXPECT_EQ(index.Find("ABA") + 1, index.Find("AAC"));
  EXPECT_STREQ(index.GetEntry(index.Find("e2"))->name.GetText(), "E2");
  EXPECT_STREQ(index.GetEntry(index.Find("aba"))->name.GetText(), "ABA");
}

TEST(NameIndex, AbsentNameWithTheLastEntrysHash) {
  // "F0" shares the hash of "E2", which is the only and therefore last entry.
  NameIndex index;
  index.Insert("E2");
  EXPECT_EQ(index.Find("F0"), -1);
  index.Insert("A");
  index.Insert("B");
  ASSERT_EQ(index.GetEntry(index.GetCount() - 1)->hash, HashName("F0"));
  EXPECT_EQ(index.Find("F0"), -1);
}

TEST(NameIndex, AgreesWithASetOverManyNames) {
  // A spread of tag-like and domain-like names, with every odd one left out of the index.
  NameIndex index;
  std::set<std::string> inserted;
  std::vector<std::string> all;
  for (int i = 0; i < 3000; ++i) {
    std::string name;
    int v = i * 7919 + 13;
    do {
      name += static_cast<char>('a' + v % 26);
      v /= 26;
    } while (v > 0);
    if (i % 3 == 0)
      name += std::to_string(i);
    all.push_back(name);
    if (i % 2 == 0) {
      index.Insert(name.c_str());
      inserted.insert(Upper(name));
    }
  }
  EXPECT_EQ(index.GetCount(), static_cast<int>(inserted.size()));
  ExpectSortedByHash(index);
  for (const std::string& name : all) {
    const int pos = index.Find(Upper(name).c_str());
    const bool present = inserted.count(Upper(name)) > 0;
    ASSERT_EQ(pos >= 0, present) << name;
    if (present) {
      ASSERT_EQ(Upper(index.GetEntry(pos)->name.GetText()), Upper(name));
    }
  }
}
