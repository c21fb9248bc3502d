#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "policy/CorePolicy.h"
#include "policy/PolicyGroup.h"
#include "policy/PolicyTable.h"
#include "text/StringList.h"
#include "text/TextString.h"

class FileControl;
class TableDataDefinition;
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

  // Registers every policy afresh (value := default, both marks cleared) and deletes the
  // table-data definitions. The stored tag lines are kept. keep is not read.
  void ResetPolicies(int keep);
  // Value and set mark of every policy, the tag lines and clones of the definitions from
  // other (a group without definitions leaves none here).
  void CopyFrom(const TableAnalysisPolicies& other);
  // Every policy that other has set explicitly: its value and, with a non-zero level, its
  // marks. When other has definitions, clones of them replace this group's. Tag lines are
  // not merged.
  void MergeFrom(int level, const TableAnalysisPolicies& other);

  // Appends a table-data definition and takes ownership; returns 1.
  int AddDefinition(std::unique_ptr<TableDataDefinition> definition);
  int GetDefinitionCount() const { return static_cast<int>(definitions_.size()); }
  // Definition i (0-based), or null.
  const TableDataDefinition* GetDefinition(int i) const;

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
  // Ints, Bools, Aligns, Texts, Colours: the counts of the rows' kinds.
  PolicyGroup<8, 13, 2, 13, 4> policies_;
  StringList tagLines_;
  std::vector<std::unique_ptr<TableDataDefinition>> definitions_;
};
