#include "tables/TableLayout.h"

TableLayout::TableLayout(const TextString& name) : name_(name) {}

TableLayout::~TableLayout() = default;

// No columns are kept yet; the name survives a reset.
void TableLayout::Reset(int /*keep*/) {}
