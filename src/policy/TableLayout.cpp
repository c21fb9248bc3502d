#include "policy/TableLayout.h"

#include <memory>
#include <utility>
#include <vector>

#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/BaseDefinition.h"

// ---- TableColumn ----

TableColumn::TableColumn(const TableColumn& other)
    : configured(other.configured),
      firstPosition(other.firstPosition),
      lastPosition(other.lastPosition),
      alignment(other.alignment),
      verticalAlignment(other.verticalAlignment),
      font(other.font ? std::make_unique<FontSpec>(*other.font) : nullptr),
      hidden(other.hidden),
      widestWordWidth(other.widestWordWidth),
      widestTextWidth(other.widestTextWidth),
      widestWord(other.widestWord),
      widestWordRow(other.widestWordRow),
      widestSecondWidth(other.widestSecondWidth),
      widestSecondText(other.widestSecondText),
      widestSecondRow(other.widestSecondRow),
      writerValue1(other.writerValue1),
      writerValue2(other.writerValue2),
      smallestStubIndent(other.smallestStubIndent),
      largestStubIndent(other.largestStubIndent),
      width(other.width),
      secondWidth(other.secondWidth),
      extraWidth(other.extraWidth) {
  if (font) font->Assign(*other.font);
}

int TableColumn::SetFromText(const TextString& text) {
  TextString trimmed(text);
  trimmed.Trim();
  int n = -1;
  const int read = trimmed.ParseNumber('1', &n) ? 1 : 0;
  // Everything else back to the values of a new column.
  *this = TableColumn();
  configured = read;
  firstPosition = n - 1;
  lastPosition = n - 1;
  return configured;
}

// Widths for HTML output are a third wider than the RTF measure.
static int Widened(int value) { return value * 134 / 100; }

int TableColumn::Width(int outputType) const {
  if (outputType == 1) {
    const int chosen = width != 0 ? width : widestTextWidth;
    return chosen > 0 ? chosen : 50;
  }
  if (outputType == 0) return Widened(width);
  return width;
}

int TableColumn::SecondWidth(int flag) const { return flag ? secondWidth : Widened(secondWidth); }

int TableColumn::ExtraWidth(int flag) const { return flag ? extraWidth : Widened(extraWidth); }

// ---- TableLayout ----

using L = LayoutPolicyId;

struct LayoutPolicyRow {
  L id;
  const char* key;
  int category;
  int defaultValue;  // integer kinds
};
// Registration order; text defaults are all empty.
static constexpr LayoutPolicyRow kLayoutRows[] = {
    {L::ExpectSparseTables, "Expect sparse tables", 2, kNo},
    {L::ExtendingFactor, "Table extending factor", 2, 5},
    {L::ColumnMergingFactor, "Column merging factor", 2, 5},
    {L::IgnoreHeader, "Ignore table header during analysis", 2, kNo},
    {L::Layout, "layout", 2, 0},
    {L::ZeroWidthBoundaries, "Column boundaries have zero width", 2, kNo},
    {L::MultipleColspan, "Expect mutiple COLSPAN values", 2, kNo},
    {L::BlankLineSeparated, "Could be blank line separated", 2, kYes},
    {L::HeaderRows, "header rows", 2, 0},
    {L::HeaderCols, "header cols", 2, 0},
    {L::MinimumColumnSeparation, "Minimum TABLE column separation", 2, 1},
    {L::DelimiterCharacter, "delimiter character", 4, 0},
};
static_assert(std::size(kLayoutRows) == kLayoutPolicyCount);

// Order in which a policy line is offered by own key.
static constexpr L kLayoutParseOrder[] = {
    L::BlankLineSeparated, L::DelimiterCharacter, L::MinimumColumnSeparation,
    L::ExpectSparseTables, L::ExtendingFactor,    L::ColumnMergingFactor,
    L::IgnoreHeader,       L::HeaderRows,         L::HeaderCols,
    L::Layout,             L::ZeroWidthBoundaries, L::MultipleColspan,
};
static_assert(std::size(kLayoutParseOrder) == kLayoutPolicyCount);

struct LayoutAlias {
  const char* key;
  L id;
};
static constexpr LayoutAlias kLayoutAliases[] = {
    {"Default TABLE header cols", L::HeaderCols},
    {"Default TABLE header rows", L::HeaderRows},
    {"Default TABLE layout", L::Layout},
    {"Default TABLE delimiter character", L::DelimiterCharacter},
};

TableLayout::TableLayout(const TextString& name) : name_(name) { Reset(); }

TableLayout::~TableLayout() = default;

CorePolicy& TableLayout::GetPolicy(L id) {
  switch (id) {
    case L::HeaderRows: return headerRows;
    case L::HeaderCols: return headerCols;
    case L::DelimiterCharacter: return delimiterCharacter;
    case L::ExpectSparseTables: return expectSparseTables;
    case L::MinimumColumnSeparation: return minimumColumnSeparation;
    case L::ExtendingFactor: return extendingFactor;
    case L::ColumnMergingFactor: return columnMergingFactor;
    case L::BlankLineSeparated: return blankLineSeparated;
    case L::IgnoreHeader: return ignoreHeader;
    case L::Layout: return layout;
    case L::ZeroWidthBoundaries: return zeroWidthBoundaries;
    case L::MultipleColspan: return multipleColspan;
  }
  return headerRows;
}

const CorePolicy& TableLayout::GetPolicy(L id) const {
  return const_cast<TableLayout*>(this)->GetPolicy(id);
}

void TableLayout::Reset(int /*keep*/) {
  for (const LayoutPolicyRow& row : kLayoutRows) {
    CorePolicy& policy = GetPolicy(row.id);
    if (auto* text = dynamic_cast<TextValuePolicy*>(&policy))
      InitTextPolicy(*text, row.category, "", row.key);
    else
      InitScalarPolicy(static_cast<ScalarPolicy&>(policy), row.category, row.defaultValue,
                       row.key);
  }
  font.Reset();
  definitions_.clear();
  columns_.clear();
  centred = 0;
  dotLeadersUsed = 0;
  stubIndentUsed = 0;
  firstLineNumber = 0;
  secondLineNumber = 0;
  levelThreshold = 6;
}

void TableLayout::CopyFrom(const TableLayout& source) {
  for (const LayoutPolicyRow& row : kLayoutRows) GetPolicy(row.id).CopyValue(source.GetPolicy(row.id));
  centred = source.centred;
  dotLeadersUsed = source.dotLeadersUsed;
  stubIndentUsed = source.stubIndentUsed;
  levelThreshold = source.levelThreshold;
  firstLineNumber = source.firstLineNumber;
  secondLineNumber = source.secondLineNumber;
  font.Assign(source.font);
  if (&source == this) return;
  definitions_.clear();
  for (const auto& definition : source.definitions_) definitions_.push_back(definition->Clone());
  if (columns_.empty() && !source.columns_.empty()) SetColumns(source.GetColumnCount(), &source);
}

int TableLayout::ApplyPolicyLine(FileControl& /*fc*/, KeyValueLine& line) {
  if (line.consumed) return 0;
  for (const L id : kLayoutParseOrder) {
    if (GetPolicy(id).ParsePolicyValue(line)) return 1;
  }
  for (const LayoutAlias& alias : kLayoutAliases) {
    if (ParsePolicyLineUnderAlias(line, GetPolicy(alias.id), alias.key)) return 1;
  }
  return 0;
}

int TableLayout::AddDefinition(std::unique_ptr<TableDataDefinition> definition) {
  if (definition) definitions_.push_back(std::move(definition));
  return 1;
}

TableColumn& TableLayout::AddColumn() {
  columns_.push_back(std::make_unique<TableColumn>());
  return *columns_.back();
}

void TableLayout::SetColumns(int n, const TableLayout* source) {
  std::vector<std::unique_ptr<TableColumn>> made;
  made.reserve(n > 0 ? static_cast<std::size_t>(n) : 0);
  for (int i = 1; i <= n; ++i) {
    const TableColumn* from = source != nullptr ? source->GetColumn(i) : nullptr;
    made.push_back(from != nullptr ? std::make_unique<TableColumn>(*from)
                                   : std::make_unique<TableColumn>());
  }
  columns_ = std::move(made);
}

TableColumn* TableLayout::GetColumn(int i) const {
  if (i < 1 || i > GetColumnCount()) return nullptr;
  return columns_[static_cast<std::size_t>(i - 1)].get();
}

TableDataDefinition* TableLayout::GetDefinition(int i) const {
  if (i < 0 || i >= GetDefinitionCount()) return nullptr;
  return definitions_[static_cast<std::size_t>(i)].get();
}
