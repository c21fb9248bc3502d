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
#include "policy/TextCommandSet.h"
#include "text/TextString.h"

class AlarmDefinition;
class FileControl;
struct KeyValueLine;

// The policies of a table format, in their numbering (enumerator value = number - 1).
enum class GenerationPolicyId : std::uint8_t {
  ColourDataRows,      // "Colour data rows"
  OddRowColour,        // "Odd row colour"
  EvenRowColour,       // "Even row colour"
  TableColour,         // "Table colour"
  BorderColour,        // "Border colour"
  ColourDotLeaders,    // "Colour tables with DOT_LEADERS"
  CellAlignment,       // "Cell alignment"
  Alignment,           // "Alignment"
  BorderSize,          // "Border size"
  CellSpacing,         // "Cell spacing"
  CellPadding,         // "Cell padding"
  Caption,             // "Caption"
  Width,               // "Width"
  HtmlAttributes,      // "HTML attributes"
  HtmlCellAttributes,  // "HTML cell attributes"
  UseCodeMarkup,       // "Use <CODE>..</CODE> markup"
  ConvertXrefs,        // "Convert TABLE X-refs to links"
  AddWidthMarkup,      // "Add TABLE WIDTH markup"
  PercentageWidths,    // "Use percentage widths in tables"
  KeepOriginalLines,   // "Keep original table lines in output"
  DataAsSeparateRows,  // "Output table data as separate rows"
  CssId,               // "Table CSS ID"
  ColumnNames,         // "column names"
  ColumnHeaders,       // "column headers"
  ShowColumns,         // "show columns"
  ColumnWidths,        // "column widths"
  ColumnAlignments,    // "column alignments"
  HtmlFragments,       // "HTML fragments"
};
inline constexpr std::size_t kGenerationPolicyCount = 28;

// Every policy of a table format has category 4.
inline constexpr int kGenerationPolicyCategory = 4;

struct GenerationPolicyRow {
  GenerationPolicyId id;
  std::string_view key;
  PolicyKind kind;
  int defaultValue;              // Int, Bool, Align
  std::string_view defaultText;  // Text, Colour
  std::uint16_t slot;            // position among the group's policies of the same kind
};

// The 28 policies in their numbering.
std::span<const GenerationPolicyRow> GenerationPolicyRows();

// Where a column's value is shown beside its bar.
enum ValueLocation : int {
  kValueNone = 0,
  kValueLeft = 1,
  kValueMiddle = 2,
  kValueRight = 3,
};

// The settings of one table column, built by the column tags (position in the group = column
// number - 1). The barchart fields come from the "Barchart" definition that the column's
// format names, the alarms from the format's alarm names.
struct ColumnFormat {
  TextString header;
  TextString formatName;  // a "Column format" definition
  int alignment = 0;      // AlignPolicy codes; 0 none
  TextString width;       // as written
  TextString cssId;
  int hasBarchart = 0;
  double barWidth = 200.0;
  double barMinimum = 0.0;
  double barOrigin = 0.0;
  double barMaximum = 0.0;
  int hasMinimum = 0;
  int hasOrigin = 0;
  int hasMaximum = 0;
  int barSetting = 20;  // carried with the column; no reader of its own
  int valueLocation = kValueLeft;
  TextString barColour{"blue"};
  TextString barBackgroundColour{"white"};
  TextString nullValue;
  TextString nullDisplay;
  // The alarms that apply to the column; the Context's definition list owns them.
  std::vector<const AlarmDefinition*> alarms;
  // What the table's cells showed: the lowest and highest numbers and the widest label (in
  // points, with a margin of 10) of a barchart column.
  double lowestValue = 0.0;
  double highestValue = 0.0;
  int lowestSet = 0;
  int highestSet = 0;
  int widestLabel = 0;
};

// A named group of the policies that say how one table is written, with the column settings
// that the column tags build, the text commands applied inside such tables and a table
// indent. The table definitions registry holds a "Default" group and one per table format of
// the definitions file; each table gets a private, empty-named copy.
class TableGenerationPolicies {
 public:
  // The policies registered with their defaults (RegisterPolicies), no columns, no text
  // commands, headers-given flag and table indent 0.
  explicit TableGenerationPolicies(const TextString& name);
  ~TableGenerationPolicies();
  // A registry entry; tables take private copies through CopyFrom.
  TableGenerationPolicies(const TableGenerationPolicies&) = delete;
  TableGenerationPolicies& operator=(const TableGenerationPolicies&) = delete;

  // Registers every policy afresh (value := default, both marks cleared), deletes every
  // column and clears the text commands. The name, the headers-given flag and the table indent
  // stay.
  void RegisterPolicies();
  // Back to what the constructor made (the name stays): RegisterPolicies, the headers-given
  // flag and the table indent 0.
  void Reset();
  // Value and set mark of every policy from source, then a copy of each of source's text
  // commands appended; the result is that of the text command copy. Columns, headers-given
  // flag and table indent are not copied.
  int CopyFrom(FileControl& fc, const TableGenerationPolicies& source);
  // Offers one policy line to the group: own keys, then the alias keys (American spellings,
  // "Default TABLE ..." keys), then a "Text command" line to the group's text commands. The
  // line's consumed mark tells whether the group took it. The line's alternative text is left
  // holding the last alias tried; callers reset the line before the next one.
  void ApplyPolicyLine(FileControl& fc, KeyValueLine& line);

  // Appends a column with its initial settings; the new column.
  ColumnFormat& AddColumn();

  const TextString& GetName() const { return name_; }
  CorePolicy& GetPolicy(GenerationPolicyId id);
  const CorePolicy& GetPolicy(GenerationPolicyId id) const;
  // Typed access; the id must name a policy of that kind.
  IntPolicy& Int(GenerationPolicyId id);
  BoolPolicy& Bool(GenerationPolicyId id);
  AlignPolicy& Align(GenerationPolicyId id);
  TextPolicy& Text(GenerationPolicyId id);
  ColourPolicy& Colour(GenerationPolicyId id);
  const IntPolicy& Int(GenerationPolicyId id) const;
  const BoolPolicy& Bool(GenerationPolicyId id) const;
  const AlignPolicy& Align(GenerationPolicyId id) const;
  const TextPolicy& Text(GenerationPolicyId id) const;
  const ColourPolicy& Colour(GenerationPolicyId id) const;

  TextCommandSet& GetTextCommands() { return textCommands_; }
  const TextCommandSet& GetTextCommands() const { return textCommands_; }
  int GetHeadersGiven() const { return headersGiven_; }
  void SetHeadersGiven(int given) { headersGiven_ = given; }
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  // The column at index (from 0), or null outside 0 .. count - 1.
  ColumnFormat* GetColumn(int index);
  const ColumnFormat* GetColumn(int index) const;
  // Points; 0 when not set.
  int GetTableIndent() const { return tableIndent_; }
  void SetTableIndent(int points) { tableIndent_ = points; }

 private:
  // Ints, Bools, Aligns, Texts, Colours: the counts of the rows' kinds.
  PolicyGroup<3, 8, 2, 11, 4> policies_;
  TextCommandSet textCommands_;
  TextString name_;
  int headersGiven_ = 0;
  std::vector<std::unique_ptr<ColumnFormat>> columns_;
  int tableIndent_ = 0;
};
