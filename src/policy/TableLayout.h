#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "policy/CorePolicy.h"
#include "text/FontSpec.h"
#include "text/TextString.h"

class FileControl;
class TableDataDefinition;
struct KeyValueLine;

// One column of a table's layout (1-based by position in the layout). Positions are
// character columns of the source, 0-based, -1 when unset. Widths are in points.
struct TableColumn {
  TableColumn() = default;
  // A copy with its own font.
  TableColumn(const TableColumn& other);
  TableColumn& operator=(const TableColumn& other) = delete;
  TableColumn& operator=(TableColumn&& other) = default;

  // Reads a decimal number n: the column is configured at position n - 1 when it reads, and
  // every other field goes back to its initial value. Returns the configured flag.
  int SetFromText(const TextString& text);

  // The width the table is written with. RTF (1): the width when set, else the widest text
  // width, 50 when that is 0 or less; HTML (0): width x 134 / 100; other types: the width.
  int Width(int outputType) const;
  // The value itself when flag is non-zero, else value x 134 / 100.
  int SecondWidth(int flag) const;
  int ExtraWidth(int flag) const;

  int configured = 0;  // given by TABLE_LAYOUT
  int firstPosition = -1;
  int lastPosition = -1;
  int alignment = 0;          // 0 none, 1 left, 2 centre, 3 right, 4 justified
  int verticalAlignment = 0;  // 0 none
  std::unique_ptr<FontSpec> font;
  int hidden = 0;
  int widestWordWidth = -1;
  int widestTextWidth = -1;
  TextString widestWord;
  int widestWordRow = -1;
  int widestSecondWidth = -1;
  TextString widestSecondText;
  int widestSecondRow = -1;
  int writerValue1 = 0;
  int writerValue2 = 0;
  // The smallest and largest STUB_INDENT of the column's cells (0 while none).
  int smallestStubIndent = 0;
  int largestStubIndent = 0;
  int width = 0;  // 0 = not set
  int secondWidth = 0;
  int extraWidth = 0;
};

// The analysis policies of a table layout, in their numbering (enumerator = number - 1).
enum class LayoutPolicyId : std::uint8_t {
  HeaderRows,               // "header rows"
  HeaderCols,               // "header cols"
  DelimiterCharacter,       // "delimiter character"
  ExpectSparseTables,       // "Expect sparse tables"
  MinimumColumnSeparation,  // "Minimum TABLE column separation"
  ExtendingFactor,          // "Table extending factor"
  ColumnMergingFactor,      // "Column merging factor"
  BlankLineSeparated,       // "Could be blank line separated"
  IgnoreHeader,             // "Ignore table header during analysis"
  Layout,                   // "layout"
  ZeroWidthBoundaries,      // "Column boundaries have zero width"
  MultipleColspan,          // "Expect mutiple COLSPAN values"
};
inline constexpr int kLayoutPolicyCount = 12;

// What the analysis of one table needs to know about its shape: twelve analysis policies,
// the table-data definitions that apply to it, its columns and its font. The table
// definitions registry holds a "Default" layout and one per named table structure; each
// table gets a private copy (CopyFrom) that the table policies, policy lines and the
// TABLE_SHOW_COLUMNS and TABLE_LAYOUT tags then change.
class TableLayout {
 public:
  // The policies registered, no definitions, no columns.
  explicit TableLayout(const TextString& name);
  ~TableLayout();
  // A registry entry or a table's private layout; copies go through CopyFrom.
  TableLayout(const TableLayout&) = delete;
  TableLayout& operator=(const TableLayout&) = delete;

  // Every policy back to its default with both marks cleared, the font reset, definitions
  // and columns deleted, the flags and line numbers 0 and the level threshold 6. keep is
  // not read.
  void Reset(int keep = 0);
  // Value and set mark of the policies, the flags, level threshold, line numbers and font
  // from source; the definitions become clones of the source's. Columns are taken from the
  // source only when this layout has none.
  void CopyFrom(const TableLayout& source);
  // Offers one policy line (own keys, then the "Default TABLE ..." aliases). 1 when a policy
  // took the line (see the line's result), 0 when it is left for the caller.
  int ApplyPolicyLine(FileControl& fc, KeyValueLine& line);

  // Takes ownership; returns 1.
  int AddDefinition(std::unique_ptr<TableDataDefinition> definition);
  // Appends a new column; returns it.
  TableColumn& AddColumn();
  // Replaces the columns by n copies of source's first n columns, or n new ones without a
  // source (or past the source's last column).
  void SetColumns(int n, const TableLayout* source);

  // Replaces the columns by these (the TABLE_LAYOUT tag, tables/TableTags.h).
  void TakeColumns(std::vector<std::unique_ptr<TableColumn>> columns) {
    columns_ = std::move(columns);
  }

  CorePolicy& GetPolicy(LayoutPolicyId id);
  const CorePolicy& GetPolicy(LayoutPolicyId id) const;
  // The delimiter in use: the first character of "delimiter character", '\0' when empty.
  char GetDelimiter() const { return delimiterCharacter.value.CharAt(0); }

  const TextString& GetName() const { return name_; }
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  // Column i (1-based), or null outside 1 .. count.
  TableColumn* GetColumn(int i) const;
  int GetDefinitionCount() const { return static_cast<int>(definitions_.size()); }
  TableDataDefinition* GetDefinition(int i) const;

  IntPolicy headerRows;
  IntPolicy headerCols;
  TextPolicy delimiterCharacter;
  BoolPolicy expectSparseTables;
  IntPolicy minimumColumnSeparation;
  IntPolicy extendingFactor;
  IntPolicy columnMergingFactor;
  BoolPolicy blankLineSeparated;
  BoolPolicy ignoreHeader;
  TextPolicy layout;
  BoolPolicy zeroWidthBoundaries;
  BoolPolicy multipleColspan;

  int centred = 0;  // centre the table when its "Alignment" is unset or 0
  int dotLeadersUsed = 0;
  int stubIndentUsed = 0;
  int levelThreshold = 6;  // cell levels below it count as 0
  int firstLineNumber = 0;
  int secondLineNumber = 0;
  FontSpec font;

 private:
  std::vector<std::unique_ptr<TableDataDefinition>> definitions_;
  TextString name_;
  std::vector<std::unique_ptr<TableColumn>> columns_;
};
