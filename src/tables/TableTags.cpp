#include "tables/TableTags.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/BaseDefinition.h"
#include "policy/TableAnalysisPolicies.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tags/TagInterpreter.h"
#include "analysis/TagServices.h"

using T = TablePolicyId;
using G = GenerationPolicyId;

bool RecogniseTableTag(FileControl& fc, const TextString& text, TextString& arguments) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return false;
  TextString name;
  TextString message;
  int level = -1;
  return RecogniseTag(fc, *ctx, text, name, arguments, message, level) != 0;
}

bool ReadTableTagArguments(FileControl& fc, const char* keyword, const TextString& text,
                           TextString& arguments) {
  TextString tag(text);
  if (!tag.ContainsNoCase(keyword)) {
    (void)tag.Insert(0, " ");
    (void)tag.Insert(0, keyword);
  }
  return RecogniseTableTag(fc, tag, arguments);
}

bool IsBeginTableTag(const TextString& tagName) {
  for (const char* name : {"BEGIN_DELIMITED_TABLE", "BEGIN_COMMA_DELIMITED_TABLE", "BEGIN_USER_TABLE"}) {
    if (tagName.Compare(name, 1, 0)) return true;
  }
  return false;
}

void ReportTableTagRefused(FileControl& fc, const TextString& tagName, const TextString& tagText) {
  TextString message("TAG ERROR: Setting table config from tag ");
  message.Append(tagName);
  message.Append("\n\t");
  message.Append(tagText);
  fc.ReportMessage(message.GetText(), 10);
}

// ---- Table policies applied to one table ----

// A set policy goes over unless the target was set already and override is 0.
static void CopySetPolicy(int override, const CorePolicy& source, CorePolicy& target) {
  if (!source.set || (!override && target.set)) return;
  target.CopyValue(source);
}

struct LayoutTarget {
  T id;
  LayoutPolicyId target;
};
static constexpr LayoutTarget kLayoutTargets[] = {
    {T::BlankLineSeparated, LayoutPolicyId::BlankLineSeparated},
    {T::DelimiterCharacter, LayoutPolicyId::DelimiterCharacter},
    {T::HeaderRows, LayoutPolicyId::HeaderRows},
    {T::HeaderCols, LayoutPolicyId::HeaderCols},
    {T::MinimumColumnSeparation, LayoutPolicyId::MinimumColumnSeparation},
    {T::ExpectSparseTables, LayoutPolicyId::ExpectSparseTables},
    {T::ExtendingFactor, LayoutPolicyId::ExtendingFactor},
    {T::ColumnMergingFactor, LayoutPolicyId::ColumnMergingFactor},
    {T::IgnoreHeader, LayoutPolicyId::IgnoreHeader},
    {T::Layout, LayoutPolicyId::Layout},
    {T::ZeroWidthBoundaries, LayoutPolicyId::ZeroWidthBoundaries},
    {T::MultipleColspan, LayoutPolicyId::MultipleColspan},
};

struct GenerationTarget {
  T id;
  G target;
};
static constexpr GenerationTarget kGenerationTargets[] = {
    {T::UseCodeMarkup, G::UseCodeMarkup},
    {T::BorderSize, G::BorderSize},
    {T::CellSpacing, G::CellSpacing},
    {T::CellPadding, G::CellPadding},
    {T::CellAlignment, G::CellAlignment},
    {T::Alignment, G::Alignment},
    {T::AddWidthMarkup, G::AddWidthMarkup},
    {T::PercentageWidths, G::PercentageWidths},
    {T::Caption, G::Caption},
    {T::Width, G::Width},
    {T::HtmlAttributes, G::HtmlAttributes},
    {T::HtmlCellAttributes, G::HtmlCellAttributes},
    {T::ConvertXrefs, G::ConvertXrefs},
    {T::ColourDataRows, G::ColourDataRows},
    {T::TableColour, G::TableColour},
    {T::BorderColour, G::BorderColour},
    {T::OddRowColour, G::OddRowColour},
    {T::EvenRowColour, G::EvenRowColour},
    {T::ColourDotLeaders, G::ColourDotLeaders},
    {T::KeepOriginalLines, G::KeepOriginalLines},
    {T::DataAsSeparateRows, G::DataAsSeparateRows},
    {T::CssId, G::CssId},
    {T::ColumnNames, G::ColumnNames},
    {T::HtmlFragments, G::HtmlFragments},
    {T::ColumnHeaders, G::ColumnHeaders},
    {T::ShowColumns, G::ShowColumns},
    {T::ColumnWidths, G::ColumnWidths},
    {T::ColumnAlignments, G::ColumnAlignments},
};
static_assert(std::size(kGenerationTargets) + std::size(kLayoutTargets) == kTablePolicyCount,
              "every table policy has one target");

// The tag name of a stored tag line: its first blank-separated word without the tag opener,
// or without the directive prefix when the line is a directive line.
static void TagLineName(const TextString& line, const TextString& opener,
                        const TextString& prefix, TextString& name) {
  int end = -1;
  if (!line.FindChar(0, ' ', &end, 1)) end = line.GetLength();
  name.AssignSubstring(line.GetText(), 0, end);
  if (!opener.IsEmpty()) name.ReplaceAll(opener.GetText(), "", 0, 1);
  if (!prefix.IsEmpty() && name.StartsWith(prefix.GetText(), 1))
    name.KeepFrom(prefix.GetLength());
}

void ApplyTablePolicies(const TableAnalysisPolicies& group, FileControl& fc, int override,
                        TableLayout* layout, TableGenerationPolicies* generation) {
  if (layout != nullptr) {
    for (const LayoutTarget& t : kLayoutTargets)
      CopySetPolicy(override, group.GetPolicy(t.id), layout->GetPolicy(t.target));
    const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
    const TextString& prefix = fc.GetText(PolicyId::DirectiveDelimiter);
    TextString line;
    TextString name;
    const StringList& tagLines = group.GetTagLines();
    for (int i = 0; i < tagLines.GetCount(); ++i) {
      const StringListEntry* entry = tagLines.GetItem(i);
      if (entry == nullptr) continue;
      line = entry->text;
      line.Trim();
      TagLineName(line, opener, prefix, name);
      ApplyTableTag(fc, *layout, name, line);
      if (generation != nullptr) ApplyTableTag(fc, *generation, name, line);
    }
    for (int i = 0; i < group.GetDefinitionCount(); ++i)
      layout->AddDefinition(group.GetDefinition(i)->Clone());
  }
  if (generation == nullptr) return;
  for (const GenerationTarget& t : kGenerationTargets)
    CopySetPolicy(override, group.GetPolicy(t.id), generation->GetPolicy(t.target));
}

void ParseShowColumns(FileControl& fc, TableLayout& layout, const TextString& text) {
  if (text.IsEmpty()) return;
  TextString arguments;
  if (!ReadTableTagArguments(fc, "TABLE_SHOW_COLUMNS", text, arguments)) {
    fc.ReportMessage("TAG ERROR: Failed to parse TABLE_SHOW_COLUMNS", 10);
    return;
  }
  const int n = CountTagFields(arguments);
  TextString field;
  for (int i = 1; i <= n; ++i) {
    if (i > layout.GetColumnCount()) layout.AddColumn();
    if (!ReadTagText(arguments, i, field)) continue;
    layout.GetColumn(i)->hidden = field.Compare("No", 0, 0) || field.Compare("N", 0, 0) ? 1 : 0;
  }
}

void ParseTableLayout(FileControl& fc, TableLayout& layout, const TextString& text) {
  if (text.IsEmpty()) return;
  TextString arguments;
  int n = -1;
  if (!ReadTableTagArguments(fc, "TABLE_LAYOUT", text, arguments) ||
      !ReadTagNumber(arguments, 1, n) || n < 0) {
    // A negative count declares no columns that could be built: refused like a bad list.
    fc.ReportMessage("TAG ERROR: Failed to parse TABLE_LAYOUT", 10);
    return;
  }
  std::vector<std::unique_ptr<TableColumn>> made;
  TextString field;
  for (int k = 1; k <= n; ++k) {
    auto column = std::make_unique<TableColumn>();
    if (!ReadTagText(arguments, k + 1, field) || !column->SetFromText(field)) {
      fc.ReportMessage("TAG ERROR: Failed to parse table layout", 10);
      return;
    }
    made.push_back(std::move(column));
  }
  layout.TakeColumns(std::move(made));
}

void ApplyTableTag(FileControl& fc, TableLayout& /*layout*/, const TextString& tagName,
                   const TextString& tagText) {
  if (tagText.IsEmpty()) return;
  if (IsBeginTableTag(tagName)) return;
  ReportTableTagRefused(fc, tagName, tagText);
}

// ---- Column tags ----

// What a column tag stores in one column.
enum class ColumnField : std::uint8_t { Header, Alignment, FormatName, Width };

static void ParseColumnTag(FileControl& fc, TableGenerationPolicies& group, const TextString& text,
                           const char* tagName, ColumnField field) {
  TextString arguments;
  if (!ReadTableTagArguments(fc, tagName, text, arguments)) {
    TextString message("TAG ERROR: Failed to parse ");
    message.Append(tagName);
    fc.ReportMessage(message.GetText(), 10);
    return;
  }
  const int count = CountTagFields(arguments);
  TextString value;
  for (int i = 1; i <= count; ++i) {
    if (i > group.GetColumnCount()) (void)group.AddColumn();
    ColumnFormat& column = *group.GetColumn(i - 1);
    switch (field) {
      case ColumnField::Header:
        if (ReadTagText(arguments, i, value)) column.header = value;
        break;
      case ColumnField::FormatName:
        if (ReadTagText(arguments, i, value)) column.formatName = value;
        break;
      case ColumnField::Width:
        if (ReadTagText(arguments, i, value)) column.width = value;
        break;
      case ColumnField::Alignment: {
        int code = 0;
        if (GetTagAlignment(fc, arguments, i, code)) column.alignment = code;
        break;
      }
    }
  }
}

void ParseColumnHeaders(FileControl& fc, TableGenerationPolicies& group, const TextString& text) {
  ParseColumnTag(fc, group, text, "TABLE_COLUMN_HEADERS", ColumnField::Header);
  group.SetHeadersGiven(1);
}

void ParseColumnAlignments(FileControl& fc, TableGenerationPolicies& group, const TextString& text) {
  ParseColumnTag(fc, group, text, "TABLE_COLUMN_ALIGNMENTS", ColumnField::Alignment);
}

void ParseColumnFormats(FileControl& fc, TableGenerationPolicies& group, const TextString& text) {
  ParseColumnTag(fc, group, text, "TABLE_COLUMN_FORMATS", ColumnField::FormatName);
}

void ParseColumnWidths(FileControl& fc, TableGenerationPolicies& group, const TextString& text) {
  ParseColumnTag(fc, group, text, "TABLE_COLUMN_WIDTHS", ColumnField::Width);
}

// ---- Table tag arguments ----

// Removes the first occurrence of unit, exactly as written.
static void RemoveFirst(TextString& text, const char* unit) {
  int at = -1;
  if (text.Find(0, unit, &at, 1, 0))
    (void)text.ReplaceSpan(at, static_cast<int>(std::strlen(unit)), "");
}

// The table indent in points (truncated toward zero) from a margin with an optional unit;
// false when the number cannot be read or lies beyond the int range. A unit is found whatever its case but removed only as written in lower
// case, so "36PT" does not read.
static bool ReadTableMargin(TextString margin, int& points) {
  enum class Unit : std::uint8_t { Points, Inches, Centimetres };
  Unit unit = Unit::Points;
  if (margin.ContainsNoCase("pt")) {
    RemoveFirst(margin, "pts");
    RemoveFirst(margin, "pt");
  }
  if (margin.ContainsNoCase("px")) RemoveFirst(margin, "px");
  if (margin.ContainsNoCase("in")) {
    RemoveFirst(margin, "ins");
    RemoveFirst(margin, "in");
    unit = Unit::Inches;
  }
  if (margin.ContainsNoCase("cm")) {
    RemoveFirst(margin, "cm");
    unit = Unit::Centimetres;
  }
  double number = 0.0;
  if (!margin.ParseDouble(&number)) return false;
  switch (unit) {
    case Unit::Points: break;
    case Unit::Inches: number = number * 72.0; break;
    case Unit::Centimetres: number = number * 72.0 / 2.54; break;
  }
  // A margin beyond the int range has no indent to give; it reads as no number.
  if (!(number > static_cast<double>(INT_MIN) - 1.0 && number < static_cast<double>(INT_MAX) + 1.0))
    return false;
  points = static_cast<int>(number);
  return true;
}

void ApplyTableTag(FileControl& fc, TableGenerationPolicies& group, const TextString& tagName,
                   const TextString& tagText) {
  if (tagText.IsEmpty()) return;
  if (!IsBeginTableTag(tagName)) {
    ReportTableTagRefused(fc, tagName, tagText);
    return;
  }
  TextString arguments;
  const bool recognised = RecogniseTableTag(fc, tagText, arguments);
  int code = 0;
  if (GetTagAlignment(fc, arguments, 1, code)) {
    AlignPolicy& alignment = group.Align(GenerationPolicyId::Alignment);
    alignment.value = code;
    alignment.set = 1;
  }
  TextString margin;
  if (!recognised || !ReadTagText(arguments, 2, margin)) return;
  int points = 0;
  if (!ReadTableMargin(margin, points)) {
    fc.ReportMessage("TAG ERROR: Unable to read table margin", 10);
    return;
  }
  group.SetTableIndent(points);
}
