#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "policy/CorePolicy.h"
#include "policy/PolicyTable.h"
#include "text/StringList.h"
#include "text/TextString.h"

class TextFile;
struct KeyValueLine;

// The table policies of a policy set, in their numbering (enumerator value = number - 1).
enum class TablePolicyId : std::uint8_t {
  CellAlignment,            // "Default TABLE cell alignment"
  Alignment,                // "Default TABLE alignment"
  BorderSize,               // "Default TABLE border size"
  HeaderRows,               // "Default TABLE header rows"
  HeaderCols,               // "Default TABLE header cols"
  CellSpacing,              // "Default TABLE cell spacing"
  CellPadding,              // "Default TABLE cell padding"
  Caption,                  // "Default TABLE caption"
  Width,                    // "Default TABLE width"
  HtmlAttributes,           // "Default TABLE HTML attributes"
  HtmlCellAttributes,       // "Default TABLE HTML cell attributes"
  DelimiterCharacter,       // "Default TABLE delimiter character"
  UseCodeMarkup,            // "Use <CODE>..</CODE> markup"
  ConvertXrefs,             // "Convert TABLE X-refs to links"
  ExpectSparseTables,       // "Expect sparse tables"
  MinimumColumnSeparation,  // "Minimum TABLE column separation"
  ExtendingFactor,          // "Table extending factor"
  ColumnMergingFactor,      // "Column merging factor"
  BlankLineSeparated,       // "Could be blank line separated"
  AddWidthMarkup,           // "Add TABLE WIDTH markup"
  PercentageWidths,         // "Use percentage widths in tables"
  IgnoreHeader,             // "Ignore table header during analysis"
  Layout,                   // "Default table layout"
  ZeroWidthBoundaries,      // "Column boundaries have zero width"
  MultipleColspan,          // "Expect multiple COLSPAN values"
  ColourDataRows,           // "Colour data rows"
  OddRowColour,             // "Default TABLE odd row colour"
  EvenRowColour,            // "Default TABLE even row colour"
  TableColour,              // "Default TABLE colour"
  BorderColour,             // "Default TABLE border colour"
  ColourDotLeaders,         // "Colour tables with DOT_LEADERS"
  KeepOriginalLines,        // "Keep original table lines in output"
  DataAsSeparateRows,       // "Output table data as separate rows"
  CssId,                    // "Table CSS ID"
  ColumnNames,              // "column names"
  ColumnHeaders,            // "column headers"
  ShowColumns,              // "show columns"
  ColumnWidths,             // "column widths"
  ColumnAlignments,         // "column alignments"
  HtmlFragments,            // "HTML fragments"
};
inline constexpr std::size_t kTablePolicyCount = 40;

struct TablePolicyRow {
  TablePolicyId id;
  std::string_view key;
  PolicyKind kind;
  int category;
  int defaultValue;              // Int, Bool, Align
  std::string_view defaultText;  // Text, Colour
  std::uint16_t slot;            // position among the group's policies of the same kind
};

// The 40 table policies in their numbering.
std::span<const TablePolicyRow> TablePolicyRows();

// A named group of table policies as a policy file holds them ("[Table generation]"), with
// the table tag lines met in the text. A policy set owns one group named "Default" and a
// queue of groups named "table", one per table announced in the text.
class TableAnalysisPolicies {
 public:
  // Builds the policies and registers them (ResetPolicies).
  explicit TableAnalysisPolicies(const char* name);
  virtual ~TableAnalysisPolicies();
  // A group owns its policies; copying it would share nothing sensible (use CopyFrom).
  TableAnalysisPolicies(const TableAnalysisPolicies&) = delete;
  TableAnalysisPolicies& operator=(const TableAnalysisPolicies&) = delete;

  // Registers every policy afresh (value := default, both marks cleared). The stored tag
  // lines are kept. keep is not read.
  void ResetPolicies(int keep);
  // Value and set mark of every policy, and the tag lines, from other.
  void CopyFrom(const TableAnalysisPolicies& other);
  // Every policy that other has set explicitly: its value and, with a non-zero level, its
  // marks. Tag lines are not merged.
  void MergeFrom(int level, const TableAnalysisPolicies& other);

  // Offers one policy-file line to the group: own keys, then the delimiter in its quoted
  // form, then the alias keys. 1 when a policy of the group took the line (the line's
  // result tells whether it was applied), 0 when the line is left for the caller.
  int ParsePolicyLine(KeyValueLine& line);
  // Writes the "[Table generation]" section with attemptTables among its lines. With all 0
  // and nothing set, writes nothing. 0 when a write failed.
  int WritePolicies(TextFile& out, int all, const BoolPolicy& attemptTables) const;

  // Appends a table tag line (duplicates counted).
  void AddTagLine(const char* line);
  const StringList& GetTagLines() const { return tagLines_; }

  const TextString& GetName() const { return name_; }
  CorePolicy& GetPolicy(TablePolicyId id);
  const CorePolicy& GetPolicy(TablePolicyId id) const;
  // Typed access; the id must name a policy of that kind.
  IntPolicy& Int(TablePolicyId id);
  BoolPolicy& Bool(TablePolicyId id);
  AlignPolicy& Align(TablePolicyId id);
  TextPolicy& Text(TablePolicyId id);
  ColourPolicy& Colour(TablePolicyId id);
  const IntPolicy& Int(TablePolicyId id) const;
  const BoolPolicy& Bool(TablePolicyId id) const;
  const TextValuePolicy& TextValue(TablePolicyId id) const;

 private:
  TextString name_;
  std::array<AlignPolicy, 2> aligns_;
  std::array<IntPolicy, 8> ints_;
  std::array<TextPolicy, 13> texts_;
  std::array<BoolPolicy, 13> bools_;
  std::array<ColourPolicy, 4> colours_;
  StringList tagLines_;
};
