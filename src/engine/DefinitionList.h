#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "policy/BaseDefinition.h"
#include "text/TextString.h"

class FileControl;

// Table definitions of one kind (alarms, column formats or graphs), in order of addition.
// The list owns its definitions. Lookups by name go through an index of first occurrences.
class DefinitionList {
 public:
  DefinitionList() = default;
  DefinitionList(const DefinitionList&) = delete;
  DefinitionList& operator=(const DefinitionList&) = delete;
  ~DefinitionList();

  // Appends definition and takes it over; result 1. Refused (result 0, the definition is
  // destroyed here) outside the analysis pass without force: "PROGRAM ERROR:
  // DefinitionList::Add called during non-analysis pass", level 10; and for an empty name:
  // "TAG ERROR: Definition has no NAME value - ignored", level 10. A null definition gives 0.
  int Add(FileControl& control, std::unique_ptr<BaseDefinition> definition, int force);
  // The first definition whose name equals name (same length, ASCII case ignored), or null.
  BaseDefinition* Find(const TextString& name) const;
  // Destroys every definition; count 0.
  void Clear();

  int GetCount() const { return static_cast<int>(definitions_.size()); }
  // The definition at i, or null outside 0 .. count - 1.
  BaseDefinition* GetItem(int i) const;

 private:
  std::vector<std::unique_ptr<BaseDefinition>> definitions_;
  std::unordered_map<std::string, int> firstByName_;
};
