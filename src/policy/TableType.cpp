#include "policy/TableType.h"

TableType::TableType(const TextString& name) : name_(name) { Reset(); }

TableType::~TableType() = default;

void TableType::Reset() {
  content_.Clear();
  formatName_.Assign("Default");
  structureName_.Assign("Default");
}
