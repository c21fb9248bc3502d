#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "text/TextString.h"

// One row of the built-in entity list.
struct EntityRow {
  std::string_view name;  // with "&" and ";", in its own letter case
  int code;               // Unicode code point
};

// The 252 character entities of HTML 4.01 in byte order of their names, then "&LT;", "&GT;",
// "&AMP;" and "&NBSP;".
std::span<const EntityRow> EntityRows();

// The HTML 4 name of a Latin-1 code 160-255 ("&nbsp;" .. "&yuml;"); empty for any other code.
std::string_view Latin1EntityName(int code);
// The code 160-255 of an HTML 4 Latin-1 entity name (exact case, "&" and ";" included), or -1.
int Latin1EntityCode(std::string_view name);

struct EntityEntry {
  TextString name;  // the whole entity text, "&eacute;"
  int code = 0;
};

// HTML character entities by name and by code point. Names compare case-sensitively, so "&LT;"
// and "&lt;" are separate entries; where two names share a code, the one added later is the
// one found by code.
class EntityTable {
 public:
  EntityTable() = default;

  // Empties the table and adds every row of EntityRows().
  void Fill();
  // Adds one entity to both orders. Always 1.
  int Add(std::string_view name, int code);
  void Clear();

  // The entry with that code point, or null.
  const EntityEntry* FindByCode(int code) const;
  // The entry whose name equals name exactly (case and length), or null.
  const EntityEntry* FindByName(std::string_view name) const;
  const EntityEntry* FindByName(const char* name) const {
    return name ? FindByName(std::string_view(name)) : nullptr;
  }
  const EntityEntry* FindByName(const TextString& name) const {
    return FindByName(std::string_view(name.GetText(), name.GetLength()));
  }

  int GetCount() const { return static_cast<int>(byName_.size()); }
  // Both orders, for inspection; each holds its own copy of every entry.
  const std::vector<EntityEntry>& GetByName() const { return byName_; }
  const std::vector<EntityEntry>& GetByCode() const { return byCode_; }

 private:
  std::vector<EntityEntry> byName_;  // ascending byte order of the names
  std::vector<EntityEntry> byCode_;  // ascending code; equal codes newest first
};
