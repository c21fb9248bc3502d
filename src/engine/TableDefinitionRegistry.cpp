#include "engine/TableDefinitionRegistry.h"

#include <memory>
#include <vector>

TableDefinitionRegistry::TableDefinitionRegistry()
    : defaultFormat_(std::make_unique<TableGenerationPolicies>("Default")),
      defaultType_(std::make_unique<TableType>("Default")),
      defaultStructure_(std::make_unique<TableLayout>("Default")) {}

TableDefinitionRegistry::~TableDefinitionRegistry() = default;

// The definitions file names a handful of formats, types and structures and they are looked
// up once per table, so a walk in order of addition is enough.
template <typename Entry>
static Entry* FindNamed(const std::vector<std::unique_ptr<Entry>>& entries,
                        const TextString& name) {
  for (const auto& entry : entries) {
    if (entry->GetName().EqualsText(name, 0, 0)) return entry.get();
  }
  return nullptr;
}

template <typename Entry>
static Entry* AddNamed(std::vector<std::unique_ptr<Entry>>& entries, const TextString& name) {
  if (FindNamed(entries, name) != nullptr) return nullptr;
  entries.push_back(std::make_unique<Entry>(name));
  return entries.back().get();
}

TableGenerationPolicies* TableDefinitionRegistry::FindFormat(const TextString& name) const {
  return FindNamed(formats_, name);
}

TableType* TableDefinitionRegistry::FindType(const TextString& name) const {
  return FindNamed(types_, name);
}

TableLayout* TableDefinitionRegistry::FindStructure(const TextString& name) const {
  return FindNamed(structures_, name);
}

TableGenerationPolicies* TableDefinitionRegistry::AddFormat(const TextString& name) {
  return AddNamed(formats_, name);
}

TableType* TableDefinitionRegistry::AddType(const TextString& name) {
  return AddNamed(types_, name);
}

TableLayout* TableDefinitionRegistry::AddStructure(const TextString& name) {
  return AddNamed(structures_, name);
}

void TableDefinitionRegistry::Clear() {
  formats_.clear();
  types_.clear();
  structures_.clear();
  defaultFormat_->RegisterPolicies();
  defaultType_->Reset();
  defaultStructure_->Reset(0);
}

int TableDefinitionRegistry::ReadDefinitionsFile(FileControl& /*control*/, const TextString& fileName,
                                                 int /*reportErrors*/, TextString& result) {
  result = "** Failed to open Definitions file ";
  result.Append(fileName);
  result.Append(" ***");
  return 0;
}
