#pragma once

#include "text/TextString.h"

// A named group of table-generation policies. The table definitions registry holds a
// "Default" group and one per named table format, and finds formats by this name. The
// policies themselves arrive with the table writer; RegisterPolicies is the reset point.
class TableGenerationPolicies {
 public:
  explicit TableGenerationPolicies(const TextString& name);
  ~TableGenerationPolicies();
  // A registry entry; tables take private copies through their own operations.
  TableGenerationPolicies(const TableGenerationPolicies&) = delete;
  TableGenerationPolicies& operator=(const TableGenerationPolicies&) = delete;

  // Registers every policy of the group afresh with its default.
  void RegisterPolicies();
  const TextString& GetName() const { return name_; }

 private:
  TextString name_;
};
