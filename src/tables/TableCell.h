#pragma once

#include <memory>
#include <vector>

#include "text/FontSpec.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreForm;

// The attribute values a cell keeps for the cell-tag parser and the cell writer (indices into
// TableCell::attributes; slots 0 and 3 have no reader).
enum TableCellAttribute : int {
  kCellHeader = 1,             // a head cell: set in bold
  kCellTuMark = 2,             // 0 none, 1 single (TU), 2 double (TU2) underlined leader tab
  kCellVerticalAlignment = 4,  // from VALIGN or VERTICAL_ALIGNMENT; 0 none
  kCellTocLink = 5,            // 0 unset, 1 yes, 2 no
  kCellDotLeader = 6,
  kCellBaseline = 7,
  kCellNullChar = 8,
  kCellLineBreak = 9,          // a BR or QUAD tag broke the cell's text
  kCellQuadAlignment = 10,     // from QUAD; -1 none
  kCellStubIndent = 11,        // from STUB_INDENT; -1 none
};
inline constexpr int kCellAttributeCount = 12;

// One cell of a table being written. Row and column are 1-based once the cell is placed
// (-1 before). Alignment codes: 1 left, 2 centre, 3 right.
class TableCell {
 public:
  // Empty texts and the initial values (Reset); the font is the given one, else the
  // default cell font of the policy set's Context (a new FontSpec's without a Context).
  TableCell(FileControl& fc, PreForm* owner, const TextPosition& position,
            const FontSpec* font = nullptr);
  // A cell belongs to one list, which frees it.
  TableCell(const TableCell&) = delete;
  TableCell& operator=(const TableCell&) = delete;

  // Every text emptied and every field back to its initial value; the font and the source
  // position stay.
  void Reset();
  // The cell as the constructor makes it with these arguments, its texts keeping their room.
  void Renew(FileControl& fc, PreForm* owner, const TextPosition& position,
             const FontSpec* font = nullptr);

  // The alignment the layout of text suggests within width characters: numbers go right;
  // text with blanks on one side only goes to the other side; text with about as many blanks
  // on each side is centred; anything else goes left. numericTable lets currency signs,
  // brackets and signs count as part of a number; keepFullWidth keeps a text that is all
  // blanks in width from counting as left-aligned.
  static int GuessAlignment(int width, const TextString& text, int numericTable,
                            int keepFullWidth);
  // Delimited data written as a quoted text ("a ""b"" c") loses its outer quotes and its
  // doubled quotes become single.
  void StripQuotes();
  static void StripQuotes(TextString& text);

  // Stores in lineBreaks the number of non-empty pieces of the trimmed text that follow a
  // BR or PARA in-line tag (the Context's in-line commands with their closer) or the
  // output's own line break ("\par " in RTF, "<BR>" in HTML).
  void CountLineBreaks(const Context& ctx);
  // The width in twips of the cell's widest line, that line (tags filtered) in widestLine.
  // Lines end at the BR and PARA tags and, in RTF output, at "\par " ("<BR>" in HTML). The
  // font is the cell's with the "Default font" and then the "Table font" policy laid over it
  // where they are set.
  int MeasureCellWidth(FileControl& fc, Context& ctx, TextString& widestLine) const;
  // The lines the cell needs in width points of a table of columnCount columns. With useBreaks
  // and counted line breaks: lineBreaks + 1. Without a width: a character estimate (20 a line
  // in column 1, else 65 / columnCount but at least 10), at most one line per word. With a
  // width: the words laid out greedily at fontSize points (when positive; else the base font
  // size policies, snapped). Never fewer than lineBreaks + 1.
  int EstimateLines(FileControl& fc, Context& ctx, int columnCount, int width, int useBreaks,
                    int fontSize) const;
  // True when the cell has nothing to show: its level is below levelThreshold, it carries no
  // leader or null-character mark, and its texts hold nothing but blanks and the tags that
  // only change fonts, colours and spacing.
  bool IsEmpty(FileControl& fc, Context& ctx, int levelThreshold) const;
  // Joins other's lines to this cell's side by side (line i + " " + other's line i); other's
  // text is emptied. Nothing without other.
  void MergeLinesFrom(const Context& ctx, TableCell* other);
  // Takes other's texts, font and every field; the first attribute slot becomes 0.
  void CopyFrom(const TableCell& other);

  PreForm* owner;
  TextString rawText;
  TextString text;
  TextString prefixText;
  TextString secondText;

  FontSpec font;
  TextPosition position;
  int valueClass;
  int classOverride;
  int row;
  int rowSpan;
  // Values the cell-tag parser and the cell writer keep with the cell.
  int attributes[12];
  int column;
  int columnSpan;
  int alignment;
  int explicitAlignment;
  int width;
  int lineBreaks;
  int level;
  int output;
  int ruleCell;
  int perCellSetting;
  int contentFlags[4];
};

// The width in twips of text written in font: the snapped point size, the font's bold and
// italic and its width factor with the "Font stretch factor (in percent)" policy; x 134 / 100
// for HTML output.
int MeasureTableText(FileControl& fc, const Context& ctx, const FontSpec& font,
                     const TextString& text);

// The cells of a table in order of addition. The list owns its cells. The cells it frees or
// removes are kept and renewed for the cells it makes next, so that a list filled row after
// row allocates only for more cells than it ever held at once.
class TableCellList {
 public:
  TableCellList() = default;
  TableCellList(const TableCellList&) = delete;
  TableCellList& operator=(const TableCellList&) = delete;

  void Add(std::unique_ptr<TableCell> cell);
  // A new cell at position, appended; returns it.
  TableCell& AddNew(FileControl& fc, PreForm* owner, const TextPosition& position);
  // Frees the list, then makes n new cells.
  void MakeCells(FileControl& fc, PreForm* owner, int n);
  // Deletes the cells after first up to and including last (0-based) and closes the gap.
  void RemoveRange(int first, int last);
  void Free();

  int GetCount() const { return static_cast<int>(cells_.size()); }
  // Cell i (0-based), or null.
  TableCell* GetCell(int i) const;
  // The highest column + column span - 1 over the cells; -1 for an empty list.
  int LastColumn() const;
  // The first cell placed at row and column, or null.
  TableCell* FindCell(int row, int column) const;

 private:
  std::vector<std::unique_ptr<TableCell>> cells_;
  std::vector<std::unique_ptr<TableCell>> spare_;  // freed cells, renewed by AddNew
};
