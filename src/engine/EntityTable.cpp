#include "engine/EntityTable.h"

#include <algorithm>

static std::string_view NameOf(const EntityEntry& entry) {
  return {entry.name.GetText(), static_cast<std::size_t>(entry.name.GetLength())};
}

void EntityTable::Fill() {
  Clear();
  const auto rows = EntityRows();
  byName_.reserve(rows.size());
  byCode_.reserve(rows.size());
  for (const EntityRow& row : rows)
    Add(row.name, row.code);
}

int EntityTable::Add(std::string_view name, int code) {
  EntityEntry entry;
  entry.name.AssignBytes(name.data(), static_cast<int>(name.size()));
  entry.code = code;
  // Each new entry goes before the first one that is not smaller, so among equal keys the
  // newest comes first and a lower-bound search finds it.
  const auto nameAt = std::lower_bound(
      byName_.begin(), byName_.end(), name,
      [](const EntityEntry& e, std::string_view n) { return NameOf(e) < n; });
  byName_.insert(nameAt, entry);
  const auto codeAt = std::lower_bound(
      byCode_.begin(), byCode_.end(), code,
      [](const EntityEntry& e, int c) { return e.code < c; });
  byCode_.insert(codeAt, std::move(entry));
  return 1;
}

void EntityTable::Clear() {
  byName_.clear();
  byCode_.clear();
}

const EntityEntry* EntityTable::FindByCode(int code) const {
  const auto at = std::lower_bound(
      byCode_.begin(), byCode_.end(), code,
      [](const EntityEntry& e, int c) { return e.code < c; });
  if (at == byCode_.end() || at->code != code)
    return nullptr;
  return &*at;
}

const EntityEntry* EntityTable::FindByName(std::string_view name) const {
  const auto at = std::lower_bound(
      byName_.begin(), byName_.end(), name,
      [](const EntityEntry& e, std::string_view n) { return NameOf(e) < n; });
  if (at == byName_.end() || NameOf(*at) != name)
    return nullptr;
  return &*at;
}
