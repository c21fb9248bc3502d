#pragma once

#include <memory>
#include <vector>

#include "text/FontSpec.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class FileControl;
class PreForm;

// One cell of a table being written. Row and column are 1-based once the cell is placed
// (-1 before). Alignment codes: 1 left, 2 centre, 3 right.
class TableCell {
 public:
  // Empty texts and the initial values (Reset); the font is the given one, else the
  // font of a new FontSpec.
  TableCell(FileControl& fc, PreForm* owner, const TextPosition& position,
            const FontSpec* font = nullptr);
  // A cell belongs to one list, which frees it.
  TableCell(const TableCell&) = delete;
  TableCell& operator=(const TableCell&) = delete;

  // Every text emptied and every field back to its initial value; the font and the source
  // position stay.
  void Reset();

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

// The cells of a table in order of addition. The list owns its cells.
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
  void Free() { cells_.clear(); }

  int GetCount() const { return static_cast<int>(cells_.size()); }
  // Cell i (0-based), or null.
  TableCell* GetCell(int i) const;

 private:
  std::vector<std::unique_ptr<TableCell>> cells_;
};
