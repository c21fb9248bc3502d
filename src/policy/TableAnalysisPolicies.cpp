#include "policy/TableAnalysisPolicies.h"

#include <array>
#include <cassert>
#include <iterator>

#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/BaseDefinition.h"
#include "text/TextFile.h"

using T = TablePolicyId;

static constexpr TablePolicyRow IntRow(T id, std::string_view key, int category, int value) {
  return {id, key, PolicyKind::Int, category, value, {}, 0};
}
static constexpr TablePolicyRow BoolRow(T id, std::string_view key, int category, int value) {
  return {id, key, PolicyKind::Bool, category, value, {}, 0};
}
static constexpr TablePolicyRow AlignRow(T id, std::string_view key, int category, int value) {
  return {id, key, PolicyKind::Align, category, value, {}, 0};
}
static constexpr TablePolicyRow TextRow(T id, std::string_view key, int category,
                                        std::string_view text) {
  return {id, key, PolicyKind::Text, category, 0, text, 0};
}
static constexpr TablePolicyRow ColourRow(T id, std::string_view key, int category,
                                          std::string_view text) {
  return {id, key, PolicyKind::Colour, category, 0, text, 0};
}

// Keys and defaults are string literals, so their data() is NUL-terminated.
static constexpr TablePolicyRow kRawTablePolicyRows[] = {
    AlignRow(T::CellAlignment, "Default TABLE cell alignment", 4, 0),
    AlignRow(T::Alignment, "Default TABLE alignment", 4, 0),
    IntRow(T::BorderSize, "Default TABLE border size", 4, 0),
    IntRow(T::HeaderRows, "Default TABLE header rows", 2, 0),
    IntRow(T::HeaderCols, "Default TABLE header cols", 2, 0),
    IntRow(T::CellSpacing, "Default TABLE cell spacing", 4, 2),
    IntRow(T::CellPadding, "Default TABLE cell padding", 4, 2),
    TextRow(T::Caption, "Default TABLE caption", 4, ""),
    TextRow(T::Width, "Default TABLE width", 4, ""),
    TextRow(T::HtmlAttributes, "Default TABLE HTML attributes", 4, ""),
    TextRow(T::HtmlCellAttributes, "Default TABLE HTML cell attributes", 4, ""),
    TextRow(T::DelimiterCharacter, "Default TABLE delimiter character", 4, ""),
    BoolRow(T::UseCodeMarkup, "Use <CODE>..</CODE> markup", 4, kNo),
    BoolRow(T::ConvertXrefs, "Convert TABLE X-refs to links", 4, kNo),
    BoolRow(T::ExpectSparseTables, "Expect sparse tables", 2, kNo),
    IntRow(T::MinimumColumnSeparation, "Minimum TABLE column separation", 2, 1),
    IntRow(T::ExtendingFactor, "Table extending factor", 2, 5),
    IntRow(T::ColumnMergingFactor, "Column merging factor", 2, 5),
    BoolRow(T::BlankLineSeparated, "Could be blank line separated", 4, kYes),
    BoolRow(T::AddWidthMarkup, "Add TABLE WIDTH markup", 3, kNo),
    BoolRow(T::PercentageWidths, "Use percentage widths in tables", 3, kNo),
    BoolRow(T::IgnoreHeader, "Ignore table header during analysis", 2, kNo),
    TextRow(T::Layout, "Default table layout", 2, ""),
    BoolRow(T::ZeroWidthBoundaries, "Column boundaries have zero width", 2, kNo),
    BoolRow(T::MultipleColspan, "Expect multiple COLSPAN values", 2, kNo),
    BoolRow(T::ColourDataRows, "Colour data rows", 4, kNo),
    ColourRow(T::OddRowColour, "Default TABLE odd row colour", 4, "F0F0F0"),
    ColourRow(T::EvenRowColour, "Default TABLE even row colour", 4, "E0F0E0"),
    ColourRow(T::TableColour, "Default TABLE colour", 4, ""),
    ColourRow(T::BorderColour, "Default TABLE border colour", 4, ""),
    BoolRow(T::ColourDotLeaders, "Colour tables with DOT_LEADERS", 3, kNo),
    BoolRow(T::KeepOriginalLines, "Keep original table lines in output", 4, kYes),
    BoolRow(T::DataAsSeparateRows, "Output table data as separate rows", 4, kYes),
    TextRow(T::CssId, "Table CSS ID", 4, ""),
    TextRow(T::ColumnNames, "column names", 4, ""),
    TextRow(T::ColumnHeaders, "column headers", 4, ""),
    TextRow(T::ShowColumns, "show columns", 4, ""),
    TextRow(T::ColumnWidths, "column widths", 4, ""),
    TextRow(T::ColumnAlignments, "column alignments", 4, ""),
    TextRow(T::HtmlFragments, "HTML fragments", 4, ""),
};
static_assert(std::size(kRawTablePolicyRows) == kTablePolicyCount, "one row per TablePolicyId");

static constexpr std::array<TablePolicyRow, kTablePolicyCount> kTablePolicyRows =
    AssignKindSlots(std::to_array(kRawTablePolicyRows));

static constexpr bool TableRowsFollowIds() {
  for (std::size_t i = 0; i < kTablePolicyRows.size(); ++i) {
    if (static_cast<std::size_t>(kTablePolicyRows[i].id) != i) return false;
  }
  return true;
}
static_assert(TableRowsFollowIds(), "table policy rows must be in TablePolicyId order");
static_assert(CountKind(kTablePolicyRows, PolicyKind::Align) == 2);
static_assert(CountKind(kTablePolicyRows, PolicyKind::Int) == 8);
static_assert(CountKind(kTablePolicyRows, PolicyKind::Text) == 13);
static_assert(CountKind(kTablePolicyRows, PolicyKind::Bool) == 13);
static_assert(CountKind(kTablePolicyRows, PolicyKind::Colour) == 4);

std::span<const TablePolicyRow> TablePolicyRows() { return kTablePolicyRows; }

static const TablePolicyRow& RowOf(T id) { return kTablePolicyRows[static_cast<std::size_t>(id)]; }

// Registration order of the group (the order of its option page).
static constexpr T kRegistrationOrder[] = {
    T::ExpectSparseTables, T::ExtendingFactor,    T::ColumnMergingFactor, T::IgnoreHeader,
    T::Layout,             T::ZeroWidthBoundaries, T::MultipleColspan,    T::HeaderRows,
    T::HeaderCols,         T::MinimumColumnSeparation, T::BlankLineSeparated,
    T::DelimiterCharacter, T::UseCodeMarkup,      T::ConvertXrefs,        T::BorderSize,
    T::CellSpacing,        T::CellPadding,        T::CellAlignment,       T::Alignment,
    T::AddWidthMarkup,     T::PercentageWidths,   T::Caption,             T::Width,
    T::HtmlAttributes,     T::HtmlCellAttributes, T::KeepOriginalLines,   T::DataAsSeparateRows,
    T::CssId,              T::ColumnNames,        T::HtmlFragments,       T::ColumnHeaders,
    T::ShowColumns,        T::ColumnWidths,       T::ColumnAlignments,    T::ColourDataRows,
    T::TableColour,        T::BorderColour,       T::OddRowColour,        T::EvenRowColour,
    T::ColourDotLeaders,
};
static_assert(std::size(kRegistrationOrder) == kTablePolicyCount);

// Order in which a policy line is offered to the group by own key; the delimiter comes
// after these in its own form.
static constexpr T kParseOrder[] = {
    T::UseCodeMarkup,    T::BorderSize,       T::CellSpacing,       T::CellPadding,
    T::CellAlignment,    T::Alignment,        T::AddWidthMarkup,    T::PercentageWidths,
    T::TableColour,      T::BorderColour,     T::ColourDataRows,    T::OddRowColour,
    T::EvenRowColour,    T::ColourDotLeaders, T::Caption,           T::KeepOriginalLines,
    T::DataAsSeparateRows, T::CssId,          T::ColumnNames,       T::ColumnHeaders,
    T::ShowColumns,      T::ColumnWidths,     T::ColumnAlignments,  T::HtmlFragments,
    T::BlankLineSeparated, T::Width,          T::HtmlAttributes,    T::HtmlCellAttributes,
    T::ConvertXrefs,     T::HeaderRows,       T::HeaderCols,        T::MinimumColumnSeparation,
    T::ExpectSparseTables, T::ExtendingFactor, T::ColumnMergingFactor, T::IgnoreHeader,
    T::Layout,           T::ZeroWidthBoundaries, T::MultipleColspan,
};
static_assert(std::size(kParseOrder) == kTablePolicyCount - 1);

struct TablePolicyAlias {
  std::string_view key;
  T id;
};
// Tried last: American spellings, short keys. The delimiter alias takes the value as written.
static constexpr TablePolicyAlias kAliases[] = {
    {"Default TABLE color", T::TableColour},
    {"table color", T::TableColour},
    {"table colour", T::TableColour},
    {"Default TABLE border color", T::BorderColour},
    {"border color", T::BorderColour},
    {"border colour", T::BorderColour},
    {"Color data rows", T::ColourDataRows},
    {"Default TABLE odd row color", T::OddRowColour},
    {"odd row color", T::OddRowColour},
    {"odd row colour", T::OddRowColour},
    {"Default TABLE even row color", T::EvenRowColour},
    {"even row color", T::EvenRowColour},
    {"even row colour", T::EvenRowColour},
    {"header cols", T::HeaderCols},
    {"header rows", T::HeaderRows},
    {"layout", T::Layout},
    {"border size", T::BorderSize},
    {"delimiter character", T::DelimiterCharacter},
    {"caption", T::Caption},
    {"cell alignment", T::CellAlignment},
    {"cell padding", T::CellPadding},
    {"cell spacing", T::CellSpacing},
    {"alignment", T::Alignment},
    {"width", T::Width},
    {"HTML attributes", T::HtmlAttributes},
    {"HTML cell attributes", T::HtmlCellAttributes},
};

// How a line of the "[Table generation]" section is written.
enum class TableLineForm : std::uint8_t { Plain, OptionalInt, Delimiter };
struct TableWriteStep {
  T id;
  TableLineForm form;
};
// After the "Attempt TABLE generation" line.
static constexpr TableWriteStep kWriteOrder[] = {
    {T::UseCodeMarkup, TableLineForm::Plain},
    {T::BorderSize, TableLineForm::OptionalInt},
    {T::CellSpacing, TableLineForm::OptionalInt},
    {T::CellPadding, TableLineForm::OptionalInt},
    {T::CellAlignment, TableLineForm::Plain},
    {T::Alignment, TableLineForm::Plain},
    {T::AddWidthMarkup, TableLineForm::Plain},
    {T::PercentageWidths, TableLineForm::Plain},
    {T::Caption, TableLineForm::Plain},
    {T::Width, TableLineForm::Plain},
    {T::HtmlAttributes, TableLineForm::Plain},
    {T::HtmlCellAttributes, TableLineForm::Plain},
    {T::ConvertXrefs, TableLineForm::Plain},
    {T::TableColour, TableLineForm::Plain},
    {T::BorderColour, TableLineForm::Plain},
    {T::ColourDataRows, TableLineForm::Plain},
    {T::OddRowColour, TableLineForm::Plain},
    {T::EvenRowColour, TableLineForm::Plain},
    {T::ColourDotLeaders, TableLineForm::Plain},
    {T::BlankLineSeparated, TableLineForm::Plain},
    {T::DelimiterCharacter, TableLineForm::Delimiter},
    {T::HeaderRows, TableLineForm::OptionalInt},
    {T::HeaderCols, TableLineForm::OptionalInt},
    {T::MinimumColumnSeparation, TableLineForm::OptionalInt},
    {T::ExpectSparseTables, TableLineForm::Plain},
    {T::ExtendingFactor, TableLineForm::Plain},
    {T::ColumnMergingFactor, TableLineForm::Plain},
    {T::IgnoreHeader, TableLineForm::Plain},
    {T::Layout, TableLineForm::Plain},
    {T::ZeroWidthBoundaries, TableLineForm::Plain},
    {T::MultipleColspan, TableLineForm::Plain},
};
static_assert(std::size(kWriteOrder) == 31);

TableAnalysisPolicies::TableAnalysisPolicies(const char* name) : name_(name) { ResetPolicies(0); }

TableAnalysisPolicies::~TableAnalysisPolicies() = default;

CorePolicy& TableAnalysisPolicies::GetPolicy(T id) {
  return policies_.At(RowOf(id).kind, RowOf(id).slot);
}
const CorePolicy& TableAnalysisPolicies::GetPolicy(T id) const {
  return policies_.At(RowOf(id).kind, RowOf(id).slot);
}
IntPolicy& TableAnalysisPolicies::Int(T id) { return policies_.Int(RowOf(id).kind, RowOf(id).slot); }
BoolPolicy& TableAnalysisPolicies::Bool(T id) {
  return policies_.Bool(RowOf(id).kind, RowOf(id).slot);
}
AlignPolicy& TableAnalysisPolicies::Align(T id) {
  return policies_.Align(RowOf(id).kind, RowOf(id).slot);
}
TextPolicy& TableAnalysisPolicies::Text(T id) {
  return policies_.Text(RowOf(id).kind, RowOf(id).slot);
}
ColourPolicy& TableAnalysisPolicies::Colour(T id) {
  return policies_.Colour(RowOf(id).kind, RowOf(id).slot);
}
const IntPolicy& TableAnalysisPolicies::Int(T id) const {
  return const_cast<TableAnalysisPolicies*>(this)->Int(id);
}
const BoolPolicy& TableAnalysisPolicies::Bool(T id) const {
  return const_cast<TableAnalysisPolicies*>(this)->Bool(id);
}
const TextValuePolicy& TableAnalysisPolicies::TextValue(T id) const {
  const TablePolicyRow& row = RowOf(id);
  assert((row.kind == PolicyKind::Text || row.kind == PolicyKind::Colour) &&
         "not a text-valued policy");
  return static_cast<const TextValuePolicy&>(policies_.At(row.kind, row.slot));
}

void TableAnalysisPolicies::ResetPolicies(int /*keep*/) {
  for (const T id : kRegistrationOrder) {
    const TablePolicyRow& row = RowOf(id);
    policies_.Register(row.kind, row.slot, row.category, row.defaultValue,
                       row.defaultText.data(), row.key.data());
  }
  definitions_.clear();
}

static void CloneDefinitions(const std::vector<std::unique_ptr<TableDataDefinition>>& from,
                             std::vector<std::unique_ptr<TableDataDefinition>>& to) {
  if (&from == &to) return;
  to.clear();
  for (const auto& definition : from) to.push_back(definition->Clone());
}

void TableAnalysisPolicies::CopyFrom(const TableAnalysisPolicies& other) {
  for (const TablePolicyRow& row : kTablePolicyRows) GetPolicy(row.id).CopyValue(other.GetPolicy(row.id));
  if (&other == this) return;
  tagLines_.CopyFrom(other.tagLines_);
  CloneDefinitions(other.definitions_, definitions_);
}

void TableAnalysisPolicies::MergeFrom(int level, const TableAnalysisPolicies& other) {
  for (const TablePolicyRow& row : kTablePolicyRows) GetPolicy(row.id).Merge(level, other.GetPolicy(row.id));
  if (!other.definitions_.empty()) CloneDefinitions(other.definitions_, definitions_);
}

int TableAnalysisPolicies::AddDefinition(std::unique_ptr<TableDataDefinition> definition) {
  if (definition) definitions_.push_back(std::move(definition));
  return 1;
}

const TableDataDefinition* TableAnalysisPolicies::GetDefinition(int i) const {
  if (i < 0 || i >= GetDefinitionCount()) return nullptr;
  return definitions_[static_cast<std::size_t>(i)].get();
}

void TableAnalysisPolicies::AddTagLine(const char* line) { tagLines_.Append(line); }

static void ReportRepeated(const KeyValueLine& line, const TextString& key) {
  if (line.handler == nullptr) return;
  line.handler->SetMessageText("POLICY: Ignoring repeated policy \\");
  line.handler->AppendMessageText(key.GetText());
  line.handler->AppendMessageText("\\");
  line.handler->ReportBuffer(10);
}

// The delimiter in its policy-file form: "(none)", a quoted character, or TAB for a tab.
static int ParseDelimiterLine(KeyValueLine& line, TextPolicy& policy) {
  if (line.consumed || !MatchPolicyKey(line, policy.key)) return 0;
  line.consumed = 1;
  line.category = policy.category;
  if (policy.set && line.repeatCheck) {
    ReportRepeated(line, policy.key);
    line.result = 0;
    return 1;
  }
  TextString value(line.valueText);
  if (line.none) {
    value.SetEmpty();
  } else if (value.GetLength() >= 2 && value.CharAt(0) == '\'' &&
             value.CharAt(value.GetLength() - 1) == '\'') {
    value.KeepSubstring(1, value.GetLength() - 2);
  }
  if (value.Compare("TAB", 1, 0)) value = "\t";
  policy.value = value;
  policy.set = 1;
  line.result = 1;
  return 1;
}

int TableAnalysisPolicies::ParsePolicyLine(KeyValueLine& line) {
  if (line.consumed) return 0;
  for (const T id : kParseOrder) {
    if (GetPolicy(id).ParsePolicyValue(line)) return 1;
  }
  if (ParseDelimiterLine(line, Text(T::DelimiterCharacter))) return 1;
  for (const TablePolicyAlias& alias : kAliases) {
    if (ParsePolicyLineUnderAlias(line, GetPolicy(alias.id), alias.key)) return 1;
  }
  return 0;
}

static bool AnyWrittenPolicySet(const TableAnalysisPolicies& group, const BoolPolicy& attempt) {
  if (attempt.set) return true;
  for (const TableWriteStep& step : kWriteOrder) {
    if (group.GetPolicy(step.id).set) return true;
  }
  return false;
}

static int WriteDelimiterLine(TextFile& out, int all, const TextValuePolicy& policy) {
  if (!all && !policy.set) return 1;
  TextString value;
  if (policy.value.IsEmpty()) {
    value = "(none)";
  } else {
    value = "'";
    value.Append(policy.value.Compare("\t", 1, 0) ? "TAB" : policy.value.GetText());
    value.AppendChar('\'');
  }
  TextString text;
  FormatPolicyLine(policy.key, value.GetText(), text);
  return out.WriteString(text) ? 1 : 0;
}

int TableAnalysisPolicies::WritePolicies(TextFile& out, int all, const BoolPolicy& attemptTables) const {
  if (!all && !AnyWrittenPolicySet(*this, attemptTables)) return 1;
  int ok = 1;
  for (const char* text : {"", "", "[Table generation]", ""}) ok &= out.WriteText(text) ? 1 : 0;
  ok &= WriteBoolPolicyLine(out, all, attemptTables);
  for (const TableWriteStep& step : kWriteOrder) {
    switch (step.form) {
      case TableLineForm::Plain:
        ok &= GetPolicy(step.id).WritePolicyLine(out, all) ? 1 : 0;
        break;
      case TableLineForm::OptionalInt:
        ok &= WriteOptionalIntPolicyLine(out, all, Int(step.id)) ? 1 : 0;
        break;
      case TableLineForm::Delimiter:
        ok &= WriteDelimiterLine(out, all, TextValue(step.id));
        break;
    }
  }
  return ok;
}
