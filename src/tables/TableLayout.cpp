#include "tables/TableLayout.h"

TableLayout::TableLayout(const TextString& name) : name_(name) {}

TableLayout::~TableLayout() = default;

// The layout keeps no columns: a reset leaves the name as it is.
void TableLayout::Reset(int /*keep*/) {}
