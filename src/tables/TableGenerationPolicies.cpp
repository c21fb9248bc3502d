#include "tables/TableGenerationPolicies.h"

TableGenerationPolicies::TableGenerationPolicies(const TextString& name) : name_(name) {
  RegisterPolicies();
}

TableGenerationPolicies::~TableGenerationPolicies() = default;

// The group holds no policies of its own yet; the name survives a reset.
void TableGenerationPolicies::RegisterPolicies() {}
