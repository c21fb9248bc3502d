#include "engine/DefinitionList.h"

#include "engine/TagList.h"
#include "policy/FileControl.h"

DefinitionList::~DefinitionList() = default;

int DefinitionList::Add(FileControl& control, std::unique_ptr<BaseDefinition> definition,
                        int force) {
  if (!AcceptsAnalysisAddition(control, force)) {
    control.ReportMessage("PROGRAM ERROR: DefinitionList::Add called during non-analysis pass", 10);
    return 0;
  }
  if (definition == nullptr) return 0;
  if (definition->GetName().IsEmpty()) {
    control.ReportMessage("TAG ERROR: Definition has no NAME value - ignored", 10);
    return 0;
  }
  // Find answers the first definition of a name, so a later one does not displace it.
  firstByName_.emplace(RegistryNameKey(definition->GetName()), GetCount());
  definitions_.push_back(std::move(definition));
  return 1;
}

BaseDefinition* DefinitionList::Find(const TextString& name) const {
  const auto found = firstByName_.find(RegistryNameKey(name));
  if (found == firstByName_.end()) return nullptr;
  return definitions_[static_cast<std::size_t>(found->second)].get();
}

void DefinitionList::Clear() {
  definitions_.clear();
  firstByName_.clear();
}

BaseDefinition* DefinitionList::GetItem(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return definitions_[static_cast<std::size_t>(i)].get();
}
