#include "tables/TableGenerationPolicies.h"

TableGenerationPolicies::TableGenerationPolicies(const TextString& name) : name_(name) {
  RegisterPolicies();
}

TableGenerationPolicies::~TableGenerationPolicies() = default;

// The group registers no policies of its own; a reset leaves the name as it is.
void TableGenerationPolicies::RegisterPolicies() {}
