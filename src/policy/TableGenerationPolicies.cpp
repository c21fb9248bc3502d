#include "policy/TableGenerationPolicies.h"

#include <iterator>

#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"

using G = GenerationPolicyId;

static constexpr GenerationPolicyRow IntRow(G id, std::string_view key, int value) {
  return {id, key, PolicyKind::Int, value, {}, 0};
}
static constexpr GenerationPolicyRow BoolRow(G id, std::string_view key, int value) {
  return {id, key, PolicyKind::Bool, value, {}, 0};
}
static constexpr GenerationPolicyRow AlignRow(G id, std::string_view key) {
  return {id, key, PolicyKind::Align, 0, {}, 0};
}
static constexpr GenerationPolicyRow TextRow(G id, std::string_view key) {
  return {id, key, PolicyKind::Text, 0, "", 0};
}
static constexpr GenerationPolicyRow ColourRow(G id, std::string_view key,
                                               std::string_view text) {
  return {id, key, PolicyKind::Colour, 0, text, 0};
}

// Keys and defaults are string literals, so their data() is NUL-terminated.
static constexpr GenerationPolicyRow kRawGenerationRows[] = {
    BoolRow(G::ColourDataRows, "Colour data rows", kNo),
    ColourRow(G::OddRowColour, "Odd row colour", "F0F0F0"),
    ColourRow(G::EvenRowColour, "Even row colour", "E0F0E0"),
    ColourRow(G::TableColour, "Table colour", ""),
    ColourRow(G::BorderColour, "Border colour", ""),
    BoolRow(G::ColourDotLeaders, "Colour tables with DOT_LEADERS", kNo),
    AlignRow(G::CellAlignment, "Cell alignment"),
    AlignRow(G::Alignment, "Alignment"),
    IntRow(G::BorderSize, "Border size", 0),
    IntRow(G::CellSpacing, "Cell spacing", 2),
    IntRow(G::CellPadding, "Cell padding", 2),
    TextRow(G::Caption, "Caption"),
    TextRow(G::Width, "Width"),
    TextRow(G::HtmlAttributes, "HTML attributes"),
    TextRow(G::HtmlCellAttributes, "HTML cell attributes"),
    BoolRow(G::UseCodeMarkup, "Use <CODE>..</CODE> markup", kNo),
    BoolRow(G::ConvertXrefs, "Convert TABLE X-refs to links", kNo),
    BoolRow(G::AddWidthMarkup, "Add TABLE WIDTH markup", kNo),
    BoolRow(G::PercentageWidths, "Use percentage widths in tables", kNo),
    BoolRow(G::KeepOriginalLines, "Keep original table lines in output", kYes),
    BoolRow(G::DataAsSeparateRows, "Output table data as separate rows", kYes),
    TextRow(G::CssId, "Table CSS ID"),
    TextRow(G::ColumnNames, "column names"),
    TextRow(G::ColumnHeaders, "column headers"),
    TextRow(G::ShowColumns, "show columns"),
    TextRow(G::ColumnWidths, "column widths"),
    TextRow(G::ColumnAlignments, "column alignments"),
    TextRow(G::HtmlFragments, "HTML fragments"),
};
static_assert(std::size(kRawGenerationRows) == kGenerationPolicyCount,
              "one row per GenerationPolicyId");

static constexpr std::array<GenerationPolicyRow, kGenerationPolicyCount> kGenerationRows =
    AssignKindSlots(std::to_array(kRawGenerationRows));

static constexpr bool GenerationRowsFollowIds() {
  for (std::size_t i = 0; i < kGenerationRows.size(); ++i) {
    if (static_cast<std::size_t>(kGenerationRows[i].id) != i) return false;
  }
  return true;
}
static_assert(GenerationRowsFollowIds(), "rows must be in GenerationPolicyId order");
// The member arrays are sized by these counts.
static_assert(CountKind(kGenerationRows, PolicyKind::Bool) == 8);
static_assert(CountKind(kGenerationRows, PolicyKind::Colour) == 4);
static_assert(CountKind(kGenerationRows, PolicyKind::Align) == 2);
static_assert(CountKind(kGenerationRows, PolicyKind::Int) == 3);
static_assert(CountKind(kGenerationRows, PolicyKind::Text) == 11);

std::span<const GenerationPolicyRow> GenerationPolicyRows() { return kGenerationRows; }

static const GenerationPolicyRow& RowOf(G id) {
  return kGenerationRows[static_cast<std::size_t>(id)];
}

// Registration order (the order of the format's option page).
static constexpr G kRegistrationOrder[] = {
    G::UseCodeMarkup,     G::ConvertXrefs,       G::BorderSize,       G::CellSpacing,
    G::CellPadding,       G::CellAlignment,      G::Alignment,        G::AddWidthMarkup,
    G::PercentageWidths,  G::Caption,            G::Width,            G::HtmlAttributes,
    G::HtmlCellAttributes, G::ColourDataRows,    G::TableColour,      G::BorderColour,
    G::OddRowColour,      G::EvenRowColour,      G::ColourDotLeaders, G::KeepOriginalLines,
    G::DataAsSeparateRows, G::CssId,             G::ColumnNames,      G::HtmlFragments,
    G::ColumnHeaders,     G::ShowColumns,        G::ColumnWidths,     G::ColumnAlignments,
};
static_assert(std::size(kRegistrationOrder) == kGenerationPolicyCount);

// Order in which a policy line is offered by own key.
static constexpr G kParseOrder[] = {
    G::UseCodeMarkup,     G::BorderSize,         G::CellSpacing,      G::CellPadding,
    G::CellAlignment,     G::Alignment,          G::AddWidthMarkup,   G::PercentageWidths,
    G::Caption,           G::Width,              G::HtmlAttributes,   G::HtmlCellAttributes,
    G::ConvertXrefs,      G::ColourDataRows,     G::TableColour,      G::BorderColour,
    G::OddRowColour,      G::EvenRowColour,      G::ColourDotLeaders, G::KeepOriginalLines,
    G::DataAsSeparateRows, G::CssId,             G::ColumnNames,      G::HtmlFragments,
    G::ColumnHeaders,     G::ShowColumns,        G::ColumnWidths,     G::ColumnAlignments,
};
static_assert(std::size(kParseOrder) == kGenerationPolicyCount);

struct GenerationAlias {
  std::string_view key;
  G id;
};
// Tried after the own keys: American spellings and the keys of the policy-file form.
static constexpr GenerationAlias kAliases[] = {
    {"Color data rows", G::ColourDataRows},
    {"Default TABLE color", G::TableColour},
    {"Default TABLE colour", G::TableColour},
    {"Table colour", G::TableColour},
    {"Default TABLE border color", G::BorderColour},
    {"Default TABLE border colour", G::BorderColour},
    {"Border color", G::BorderColour},
    {"Default TABLE odd row color", G::OddRowColour},
    {"Default TABLE odd row colour", G::OddRowColour},
    {"Odd row color", G::OddRowColour},
    {"Default TABLE even row color", G::EvenRowColour},
    {"Default TABLE even row colour", G::EvenRowColour},
    {"Even row color", G::EvenRowColour},
    {"Default TABLE caption", G::Caption},
    {"Default TABLE cell alignment", G::CellAlignment},
    {"Default TABLE cell padding", G::CellPadding},
    {"Default TABLE cell spacing", G::CellSpacing},
    {"Default TABLE alignment", G::Alignment},
    {"Default TABLE width", G::Width},
    {"Default TABLE HTML attributes", G::HtmlAttributes},
    {"Default TABLE HTML cell attributes", G::HtmlCellAttributes},
    {"Default TABLE border size", G::BorderSize},
};

// ---- Construction, access ----

TableGenerationPolicies::TableGenerationPolicies(const TextString& name) : name_(name) {
  RegisterPolicies();
}

TableGenerationPolicies::~TableGenerationPolicies() = default;

CorePolicy& TableGenerationPolicies::GetPolicy(G id) {
  return policies_.At(RowOf(id).kind, RowOf(id).slot);
}
const CorePolicy& TableGenerationPolicies::GetPolicy(G id) const {
  return policies_.At(RowOf(id).kind, RowOf(id).slot);
}
IntPolicy& TableGenerationPolicies::Int(G id) {
  return policies_.Int(RowOf(id).kind, RowOf(id).slot);
}
BoolPolicy& TableGenerationPolicies::Bool(G id) {
  return policies_.Bool(RowOf(id).kind, RowOf(id).slot);
}
AlignPolicy& TableGenerationPolicies::Align(G id) {
  return policies_.Align(RowOf(id).kind, RowOf(id).slot);
}
TextPolicy& TableGenerationPolicies::Text(G id) {
  return policies_.Text(RowOf(id).kind, RowOf(id).slot);
}
ColourPolicy& TableGenerationPolicies::Colour(G id) {
  return policies_.Colour(RowOf(id).kind, RowOf(id).slot);
}
const IntPolicy& TableGenerationPolicies::Int(G id) const {
  return const_cast<TableGenerationPolicies*>(this)->Int(id);
}
const BoolPolicy& TableGenerationPolicies::Bool(G id) const {
  return const_cast<TableGenerationPolicies*>(this)->Bool(id);
}
const AlignPolicy& TableGenerationPolicies::Align(G id) const {
  return const_cast<TableGenerationPolicies*>(this)->Align(id);
}
const TextPolicy& TableGenerationPolicies::Text(G id) const {
  return const_cast<TableGenerationPolicies*>(this)->Text(id);
}
const ColourPolicy& TableGenerationPolicies::Colour(G id) const {
  return const_cast<TableGenerationPolicies*>(this)->Colour(id);
}

ColumnFormat* TableGenerationPolicies::GetColumn(int index) {
  if (index < 0 || index >= GetColumnCount()) return nullptr;
  return columns_[static_cast<std::size_t>(index)].get();
}

const ColumnFormat* TableGenerationPolicies::GetColumn(int index) const {
  return const_cast<TableGenerationPolicies*>(this)->GetColumn(index);
}

ColumnFormat& TableGenerationPolicies::AddColumn() {
  columns_.push_back(std::make_unique<ColumnFormat>());
  return *columns_.back();
}

// ---- Registration, copy, policy lines ----

void TableGenerationPolicies::RegisterPolicies() {
  for (const G id : kRegistrationOrder) {
    const GenerationPolicyRow& row = RowOf(id);
    policies_.Register(row.kind, row.slot, kGenerationPolicyCategory, row.defaultValue,
                       row.defaultText.data(), row.key.data());
  }
  columns_.clear();
  textCommands_.Clear();
}

void TableGenerationPolicies::Reset() {
  RegisterPolicies();
  headersGiven_ = 0;
  tableIndent_ = 0;
}

int TableGenerationPolicies::CopyFrom(FileControl& fc, const TableGenerationPolicies& source) {
  for (const GenerationPolicyRow& row : kGenerationRows)
    GetPolicy(row.id).CopyValue(source.GetPolicy(row.id));
  return textCommands_.CopyCommandsFrom(fc, source.textCommands_);
}

void TableGenerationPolicies::ApplyPolicyLine(FileControl& fc, KeyValueLine& line) {
  for (const G id : kParseOrder) {
    if (line.consumed) return;
    (void)GetPolicy(id).ParsePolicyValue(line);
  }
  for (const GenerationAlias& alias : kAliases) {
    if (line.consumed) return;
    (void)ParsePolicyLineUnderAlias(line, GetPolicy(alias.id), alias.key);
  }
  if (line.consumed || !IsTextCommandLine(line.lineText)) return;
  if (textCommands_.AddCommandLine(fc, line.lineText) == 0) return;
  line.consumed = 1;
  line.category = kGenerationPolicyCategory;
  line.result = 1;
}
