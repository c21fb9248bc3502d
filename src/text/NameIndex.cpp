#include "text/NameIndex.h"

#include <cstdint>

static constexpr int kHashModulus = 1000000;

static int FoldUpper(char c) {
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 'A';
  return static_cast<signed char>(c);
}

int HashName(const char* name) {
  if (name == nullptr)
    return 0;
  // The running sum wraps at 32 bits; unsigned arithmetic keeps that well defined.
  std::uint32_t sum = 0;
  int prev = 'Z';
  for (const char* p = name; *p != '\0'; ++p) {
    const int c = FoldUpper(*p);
    sum += static_cast<std::uint32_t>((c + 1000) * (prev + 1000));
    prev = c;
  }
  return static_cast<int>(sum) % kHashModulus;
}

const NameIndexEntry* NameIndex::GetEntry(int i) const {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return entries_[static_cast<size_t>(i)].get();
}

static bool SameName(const TextString& stored, const char* name) {
  return stored.Compare(name, 0, 0);
}

// Interpolation search on the hash; returns the position of some entry with that hash, or -1.
static int FindHash(const std::vector<std::unique_ptr<NameIndexEntry>>& entries, int hash) {
  if (entries.empty())
    return -1;
  auto at = [&entries](int i) { return entries[static_cast<size_t>(i)]->hash; };
  int lo = 0;
  int hi = static_cast<int>(entries.size()) - 1;
  for (;;) {
    if (at(lo) == hash)
      return lo;
    if (at(hi) == hash)
      return hi;
    if (at(hi) < hash || at(lo) > hash)
      return -1;
    int mid;
    if (at(hi) > at(lo)) {
      // Hashes lie within +-999,999, so the product needs more than 32 bits on large indexes.
      const std::int64_t step = static_cast<std::int64_t>(hash - at(lo)) * (hi - lo) /
                                (static_cast<std::int64_t>(at(hi)) - at(lo));
      mid = lo + static_cast<int>(step);
      if (mid == lo && lo < hi)
        mid = lo + 1;
    } else {
      mid = lo + (hi - lo) / 2;
    }
    const bool stop = (mid == lo || mid == hi) && lo >= hi - 1;
    if (at(mid) == hash)
      return mid;
    if (at(mid) > hash)
      hi = mid;
    else
      lo = mid;
    if (stop)
      return -1;
  }
}

int NameIndex::Search(const char* name, int hash) const {
  int candidate = FindHash(entries_, hash);
  if (candidate < 0)
    return -1;
  while (candidate > 0 && entries_[static_cast<size_t>(candidate - 1)]->hash == hash)
    --candidate;
  for (int i = candidate; i < GetCount(); ++i) {
    const NameIndexEntry& entry = *entries_[static_cast<size_t>(i)];
    if (entry.hash != hash)
      break;
    if (SameName(entry.name, name))
      return i;
  }
  return -1;
}

int NameIndex::Find(const char* name) {
  if (name == nullptr)
    name = "";
  if (cacheValid_ && SameName(cachedName_, name))
    return cachedResult_;
  cachedResult_ = Search(name, HashName(name));
  cachedName_.Assign(name);
  cacheValid_ = true;
  return cachedResult_;
}

void NameIndex::InvalidateCache() {
  cacheValid_ = false;
  cachedName_.SetEmpty();
  cachedResult_ = -1;
}

void NameIndex::Insert(const char* name) {
  if (name == nullptr)
    name = "";
  if (Find(name) >= 0)
    return;
  auto entry = std::make_unique<NameIndexEntry>();
  entry->hash = HashName(name);
  entry->name.Assign(name);
  // Before the first entry whose hash is not below: the newest goes first among equals.
  size_t pos = 0;
  while (pos < entries_.size() && entries_[pos]->hash < entry->hash)
    ++pos;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(entry));
  InvalidateCache();
}
