#pragma once

#include <memory>
#include <vector>

#include "text/TextString.h"

// One name of a NameIndex with its hash.
struct NameIndexEntry {
  int hash;
  TextString name;  // as inserted
};

// The index's hash: over the bytes c (signed 8-bit, a-z folded to A-Z) with prev starting at
// 'Z', sum += (c + 1000) * (prev + 1000), prev = c; 32-bit wrapping sum, then the truncating
// remainder by 1,000,000 (so -999,999 .. 999,999). The empty name (and null) hashes to 0.
int HashName(const char* name);

// A set of names with a case-insensitive membership lookup that answers with the name's
// position. Names are only ever added; entries stay in ascending hash order, the most
// recently inserted first among equal hashes. A lookup that repeats the previous one is
// answered from a one-entry cache. Not copyable: the tables that hold one are built once.
class NameIndex {
 public:
  NameIndex() = default;
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;
  ~NameIndex() = default;

  // Position of the name in the entries (ASCII case ignored, same length), or -1.
  int Find(const char* name);
  // Adds the name unless Find already knows it.
  void Insert(const char* name);

  int GetCount() const { return static_cast<int>(entries_.size()); }
  // The entry at i, or null outside 0 .. count - 1.
  const NameIndexEntry* GetEntry(int i) const;

 private:
  int Search(const char* name, int hash) const;
  void InvalidateCache();

  std::vector<std::unique_ptr<NameIndexEntry>> entries_;
  bool cacheValid_ = false;
  TextString cachedName_;
  int cachedResult_ = -1;
};
