// The table writer: cells are filled, column widths measured, the table fitted to the page
// and written as RTF rows over a grid of the cells and their spans.
#include "tables/PreForm.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <set>
#include <utility>
#include <vector>

#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/TextClassification.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "tables/TableCell.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tags/TagTextFilters.h"
#include "tags/TextCommandTags.h"
#include "text/ProductIdentity.h"

void PreForm::WriteTableLine(const char* text) {
  if (rtf_ != nullptr) (void)rtf_->WriteRaw(*fc_, rtf_, text);
}

// ---- Filling cells ----

// Calls ParseCellTags for every in-line tag of line from position 0 on; each call says where
// the search goes on, so text a tag put in its place is never scanned again.
void PreForm::ScanCellTags(int pass, TableCell& cell, PreHTML& line) {
  const TextString& opener = TableCtx().InlineCommands.GetStartDelimiter();
  const TextString& closer = TableCtx().InlineCommands.GetEndDelimiter();
  if (opener.IsEmpty() || closer.IsEmpty()) return;
  int from = 0;
  while (from < line.GetLength()) {
    int start = -1;
    if (!line.Find(from, opener.GetText(), &start, 1, 0)) return;
    int close = -1;
    if (!line.Find(start + opener.GetLength(), closer.GetText(), &close, 1, 0)) return;
    const int end = close + closer.GetLength();
    TextString tagText;
    tagText.AssignBytes(line.GetText() + start, end - start);
    int position = end;
    int handled = 0;
    ParseCellTags(pass, cell, line, position, start, end, tagText, handled);
    from = position;
  }
}

void PreForm::AddCellText(TableCell& cell, const TextString& text) {
  if (fc_ == nullptr || ctx_ == nullptr) return;
  if (!cell.rawText.IsEmpty()) cell.rawText.AppendChar(' ');
  cell.rawText.Append(text);
  PreHTML& line = *workLine2;
  line.Assign(text);
  if (rtfOutput != 0) {
    EscapeRtfText(TableFc(), line);
    line.ReplaceChar(0, '\t', ' ', 0);
    line.CollapseBlanks();
  }
  ScanCellTags(1, cell, line);
  line.Trim();
  if (line.IsEmpty()) return;
  line.ConvertFragment(TableFc(), TableCtx(), nullptr, true, true, true, false, true, true);
  if (line.IsEmpty()) return;
  if (!cell.text.IsEmpty()) cell.text.AppendChar(' ');
  cell.text.Append(line);
}

void PreForm::AddCellLine(TableCell* cell, const TextString& line) {
  if (fc_ == nullptr || ctx_ == nullptr) return;
  if (cell == nullptr) {
    TextString text("PROGRAM ERROR: No cell definition for \"");
    text.Append(line);
    text.AppendChar('"');
    if (reporting != 0) Report(text.GetText(), 10);
    return;
  }
  const TextString& opener = TableCtx().InlineCommands.GetStartDelimiter();
  const TextString& closer = TableCtx().InlineCommands.GetEndDelimiter();
  int split = line.GetLength();
  int found = -1;
  if (!opener.IsEmpty() && line.Find(0, opener.GetText(), &found, 1, 0)) split = found;
  TextString before;
  before.AssignBytes(line.GetText(), split);
  const TextString& delimiter = TableFc().GetText(PolicyId::DirectiveDelimiter);
  if (!delimiter.IsEmpty()) before.ReplaceAll(delimiter.GetText(), "", 0, 1);
  TextString wrapped(opener);
  wrapped.Append(before);
  wrapped.Append(closer);
  AddCellText(*cell, wrapped);
  if (split + opener.GetLength() >= line.GetLength()) return;
  TextString rest(opener);
  rest.AppendBytes(line.GetText() + split + opener.GetLength(),
                   line.GetLength() - split - opener.GetLength());
  if (reporting != 0) Report("WARNING: Inline tags found on directive line", 10);
  AddCellText(*cell, rest);
}

// ---- Column widths ----

// Twips to whole points, rounded up so that a measured text is never cut.
static int TwipsToPoints(int twips) { return twips <= 0 ? twips : (twips + 19) / 20; }

// A cell text as it is measured: tags out, the output's line breaks as blanks.
void PreForm::PrepareMeasuredText(const TextString& text, TextString& out) {
  FilterInlineTags(TableFc(), TableCtx(), nullptr, nullptr, text, out);
  if (htmlOutput != 0) {
    out.ReplaceAll("<BR>", " ", 0, 0);
    out.ReplaceAll("&nbsp;", " ", 0, 0);
  }
  if (rtfOutput != 0) {
    out.ReplaceAll("\\par", " ", 0, 1);
    out.ReplaceAll("\\line", " ", 0, 1);
  }
}

// Points of text in the cell's font.
int PreForm::MeasuredWidth(const TableCell& cell, const TextString& text) {
  return TwipsToPoints(MeasureTableText(TableFc(), TableCtx(), cell.font, text));
}

void PreForm::PrepareTable(TableCellList& header, TableCellList& data, int& laidOut) {
  if (!CanWriteTable()) return;
  for (TableCellList* list : {&header, &data}) {
    for (int i = 0; i < list->GetCount(); ++i) list->GetCell(i)->CountLineBreaks(TableCtx());
  }
  ComputeColumnWidths(header, data);
  laidOut = 1;
}

// A cell's widest line raises its column's widest text width; it also becomes the widest
// word when the column is narrow enough for it to count as one.
static void RaiseByLine(TableColumn& column, int columnNumber, int width, int outputType) {
  column.widestTextWidth = std::max(column.widestTextWidth, width);
  if (width <= column.widestWordWidth) return;
  const int available = column.Width(outputType);
  const double ratio = available == 0 ? 1.0 : static_cast<double>(width) / available;
  const double limit = columnNumber == 1 ? 1.25 : 1.5;
  if (ratio < limit && available < 120) column.widestWordWidth = width;
}

void PreForm::ComputeColumnWidths(TableCellList& header, TableCellList& data) {
  if (!CanWriteTable()) return;
  TableLayout& layout = TableLayoutOf();
  const int outputType = TableCtx().GetOutputType();
  for (int c = 1; c <= layout.GetColumnCount(); ++c) {
    TableColumn& column = *layout.GetColumn(c);
    column.widestWordWidth = -1;
    column.widestTextWidth = -1;
    column.widestWord.SetEmpty();
    column.widestSecondWidth = -1;
    column.widestSecondText.SetEmpty();
    column.widestSecondRow = -1;
  }
  TextString plain;
  TextString word;
  // Words of every one-column cell, header first.
  for (TableCellList* list : {&header, &data}) {
    for (int i = 0; i < list->GetCount(); ++i) {
      const TableCell& cell = *list->GetCell(i);
      TableColumn* column = layout.GetColumn(cell.column);
      if (column == nullptr || cell.columnSpan != 1) continue;
      PrepareMeasuredText(cell.text, plain);
      int pos = 0;
      while (plain.GetNextField(&pos, ' ', word)) {
        if (word.IsEmpty()) continue;
        const int width = MeasuredWidth(cell, word);
        column->widestTextWidth = std::max(column->widestTextWidth, width);
        if (width <= column->widestWordWidth) continue;
        column->widestWordWidth = width;
        column->widestWord = word;
        column->widestWordRow = cell.row;
      }
    }
  }
  // Multi-line one-column cells, header first.
  TextString widestLine;
  for (TableCellList* list : {&header, &data}) {
    for (int i = 0; i < list->GetCount(); ++i) {
      const TableCell& cell = *list->GetCell(i);
      TableColumn* column = layout.GetColumn(cell.column);
      if (column == nullptr || cell.columnSpan != 1 || cell.lineBreaks == 0) continue;
      const int width = TwipsToPoints(cell.MeasureCellWidth(TableFc(), TableCtx(), widestLine));
      RaiseByLine(*column, cell.column, width, outputType);
    }
  }
  // Second texts widen the column to the right; single-line cells their own.
  for (int i = 0; i < data.GetCount(); ++i) {
    const TableCell& cell = *data.GetCell(i);
    if (!cell.secondText.IsEmpty()) {
      TableColumn* next = layout.GetColumn(cell.column + 1);
      int widest = -1;
      TextString widestPart;
      TextString part;
      int pos = 0;
      while (cell.secondText.GetNextField(&pos, '\xBF', part)) {
        PrepareMeasuredText(part, plain);
        const int width = MeasuredWidth(cell, plain);
        if (width <= widest) continue;
        widest = width;
        widestPart = plain;
      }
      if (next != nullptr && widest > next->widestSecondWidth) {
        next->widestSecondWidth = widest;
        next->widestSecondText = widestPart;
        next->widestSecondRow = cell.row;
      }
    }
    TableColumn* column = layout.GetColumn(cell.column);
    if (column == nullptr || cell.columnSpan != 1 || cell.rowSpan != 1 || cell.lineBreaks != 0)
      continue;
    PrepareMeasuredText(cell.text, plain);
    RaiseByLine(*column, cell.column, MeasuredWidth(cell, plain), outputType);
  }
  const bool html = htmlOutput != 0;
  for (int c = 1; c <= layout.GetColumnCount(); ++c) {
    TableColumn& column = *layout.GetColumn(c);
    const int available = column.Width(outputType);
    if (available > 0 && available - column.extraWidth < column.widestWordWidth) {
      const int width = column.widestWordWidth + column.extraWidth + 5;
      column.width = html ? width * 100 / 134 : width;
    }
    if (column.secondWidth < column.widestSecondWidth)
      column.secondWidth =
          html ? column.widestSecondWidth * 100 / 134 : column.widestSecondWidth;
    if (rtfOutput != 0) {
      column.widestWordWidth += 16;
      column.widestTextWidth += 16;
    }
  }
}

// ---- Page fitting ----

// The page of the document: paper size and margins, in twips.
struct PageGeometry {
  int width = 0;
  int height = 0;
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;
};

static PageGeometry GetPageGeometry(FileControl& fc) {
  PageGeometry page;
  GetPaperSize(fc, page.width, page.height);
  GetPageMargins(fc, page.top, page.bottom, page.left, page.right);
  return page;
}

// The line that opens a section on a page of width x height twips with the document's
// margins: prefix, the "\pgwsxn" ... "\margbsxn" codes, suffix.
static void MakeSectionLine(TextString& out, const char* prefix, const PageGeometry& page,
                            int width, int height, const char* suffix) {
  out.Assign(prefix);
  const std::pair<const char*, int> codes[] = {
      {"\\pgwsxn", width},         {"\\pghsxn", height},    {"\\marglsxn", page.left},
      {"\\margrsxn", page.right}, {"\\margtsxn", page.top}, {"\\margbsxn", page.bottom},
  };
  for (const auto& [code, value] : codes) {
    out.Append(code);
    out.AppendNumber('1', value, 0);
  }
  out.Append(suffix);
}

int PreForm::TableWidthTwips(int indentLevel) {
  const int indent = TableGenerationOf().GetTableIndent();
  int width = indent != 0 ? std::max(indent, 0) * 20 : indentLevel * 360 - 108;
  for (int c = 1; c <= TableLayoutOf().GetColumnCount(); ++c)
    width += GetCellWidth(nullptr, 0, c, 1) * 20;
  return width;
}

void PreForm::FitToPage(int indentLevel) {
  FileControl& fc = TableFc();
  TableGenerationPolicies& generation = TableGenerationOf();
  const int tableWidth = TableWidthTwips(indentLevel);
  const PageGeometry page = GetPageGeometry(fc);
  const int paperWidth = page.width;
  const int paperHeight = page.height;
  const int left = page.left;
  const int right = page.right;
  if (tableWidth <= paperWidth - left - right) return;
  const int indent = generation.GetTableIndent();
  const char* message = nullptr;
  if (tableWidth < paperWidth) {
    generation.SetTableIndent(indent + ((paperWidth - 2 * left - tableWidth) / 20) / 2);
    message = "WARNING: Adjusting margin to fit table";
  } else if (fc.GetInt(PolicyId::UseLandscapeMode) != 0) {
    generation.SetTableIndent(108 - left);
    message = "ERROR: Table won't fit, even in Landscape.  Choose a smaller table font";
  } else {
    landscape = 1;
    if (tableWidth < paperHeight - left) {
      message = "WARNING: Setting table in Landscape mode";
    } else if (tableWidth < paperHeight) {
      generation.SetTableIndent(indent + ((paperHeight - left - right - tableWidth) / 20) / 2);
      message = "WARNING: Switch to Landscape and adjusting margin to fit table";
    } else {
      generation.SetTableIndent(108 - left);
      message = "ERROR: Table won't fit, even in Landscape.  Choose a smaller table font";
    }
  }
  Report(message, 10);
}

void PreForm::MoveUnplacedText(int started, TableCellList& header, TableCellList& data) {
  TableCell* spare = unplacedCell.get();
  if (spare == nullptr || spare->text.IsEmpty()) return;
  // The table's end is the last cell of the rows about to be written; earlier rows are
  // already out.
  TableCell* last = nullptr;
  if (data.GetCount() > 0)
    last = data.GetCell(data.GetCount() - 1);
  else if (header.GetCount() > 0)
    last = header.GetCell(header.GetCount() - 1);
  if (started != 0 && last != nullptr) {
    Report("INFO: Moving unplaced text to end to table", 10);
    if (!last->text.IsEmpty()) last->text.AppendChar(' ');
    last->text.Append(spare->text);
  }
  spare->text.SetEmpty();
}

void PreForm::FitTableToPage(int& started, int indentLevel, TableCellList& header,
                             TableCellList& data, int& laidOut) {
  if (!CanWriteTable()) return;
  const bool hasCells = header.GetCount() > 0 || data.GetCount() > 0;
  if (!laidOut) PrepareTable(header, data, laidOut);
  if (hasCells && started == 0) FitToPage(indentLevel);
  MoveUnplacedText(started, header, data);
  if (started == 0 && rtfOutput != 0) {
    if (landscape != 0) WriteSectionBreak(1);
    WriteTableLine("{");
  }
  started = 1;
  WriteTable(header, data);
}

// A section break to a landscape page (the paper turned) or back to the document's page.
void PreForm::WriteSectionBreak(int landscapePage) {
  const PageGeometry page = GetPageGeometry(TableFc());
  TextString section;
  if (landscapePage)
    MakeSectionLine(section, "\\sectd \\lndscpsxn\\psz9", page, page.height, page.width,
                    "\\linex0\\headery709\\footery709\\colsx709\\endnhere");
  else
    MakeSectionLine(section, "\\sectd ", page, page.width, page.height,
                    "\\psz9\\linex0\\headery709\\footery709\\colsx709\\endnhere");
  WriteTableLine("\\par \\sect");
  WriteTableLine(section.GetText());
}

void PreForm::CloseTable() {
  if (fc_ == nullptr) return;
  if (rtfOutput == 0) return;
  WriteTableLine("}");
  if (landscape == 0) return;
  WriteSectionBreak(0);
  landscape = 0;
}

// ---- Writing ----

void PreForm::WriteTable(TableCellList& header, TableCellList& data) {
  if (!CanWriteTable()) return;
  if (header.GetCount() == 0 && data.GetCount() == 0) return;
  SetCellAlignments(header, 1);
  SetCellAlignments(data, 0);
  if (header.GetCount() > 0) CheckTableData(header, 1);
  int outsideFirst = 0;
  verticalAlignment = ChooseVerticalAlignment(data, outsideFirst);
  multiLineOutsideFirst = outsideFirst;
  CheckTableData(data, 0);
  header.Free();
  data.Free();
}

void PreForm::SetCellAlignments(TableCellList& list, int header) {
  if (!CanWriteTable()) return;
  TableLayout& layout = TableLayoutOf();
  for (int i = 0; i < list.GetCount(); ++i) {
    TableCell& cell = *list.GetCell(i);
    const TableColumn* column = layout.GetColumn(cell.column);
    int alignment = 1;
    if (header && numericTable != 0) {
      alignment = 2;
    } else if (column != nullptr && column->configured && column->alignment != 0) {
      alignment = column->alignment;
    } else if (cell.classOverride) {
      alignment = 1;
    } else if (cell.valueClass == kCellRatio || cell.valueClass == kCellCurrencyRatio) {
      alignment = 2;
    } else if (cell.valueClass >= kCellNumber && cell.valueClass <= kCellTime) {
      alignment = 3;
    }
    if (cell.explicitAlignment != 0) alignment = cell.explicitAlignment;
    cell.alignment = alignment;
  }
}

// The cells of one section placed on a grid of rows first .. last and columns 1 .. columns.
// A slot holds 0 when free, -1 for a cell's own slot and row span + 256 x column span of the
// cell whose span covers it; cells[] holds the cell of each own slot.
struct PreForm::CellGrid {
  int first = 1;
  int last = 0;
  int columns = 0;
  std::vector<int> slots;
  std::vector<TableCell*> cells;
  std::size_t Index(int row, int column) const {
    return static_cast<std::size_t>(row - first) * static_cast<std::size_t>(columns) +
           static_cast<std::size_t>(column - 1);
  }
  int Slot(int row, int column) const { return slots[Index(row, column)]; }
  TableCell* CellAt(int row, int column) const { return cells[Index(row, column)]; }
};

void PreForm::CheckTableData(TableCellList& list, int header) {
  if (!CanWriteTable()) return;
  const int n = list.GetCount();
  if (n == 0) return;
  int highest = list.GetCell(0)->row;
  int lowest = highest;
  bool allEmpty = true;
  for (int i = 0; i < n; ++i) {
    const TableCell& cell = *list.GetCell(i);
    highest = std::max(highest, cell.row);
    lowest = std::min(lowest, cell.row);
    if (!cell.text.IsEmpty()) allEmpty = false;
  }
  // The columns the cells reach with their spans; a span past both the layout's columns
  // and every cell's own column is cut there (PlaceCells reports it).
  int ownColumns = 0;
  for (int i = 0; i < n; ++i) ownColumns = std::max(ownColumns, list.GetCell(i)->column);
  int columns = std::min(list.LastColumn(),
                         std::max(TableLayoutOf().GetColumnCount(), ownColumns));
  TextString& text = TableFc().GetMessageText();
  if (allEmpty) {
    text.Assign("WARNING: Empty data section detected - discarding (");
    text.AppendNumber('1', n, 0);
    text.Append(" cells)");
    Report(text.GetText(), 10);
    return;
  }
  const int expected = TableLayoutOf().GetColumnCount();
  if (columns < expected) {
    text.Assign("WARNING: Only found data for ");
    text.AppendNumber('1', columns, 0);
    text.Append(" of the expected ");
    text.AppendNumber('1', expected, 0);
    text.Append(" columns");
    Report(text.GetText(), 10);
    columns = expected;
  }
  if (lowest < 1 && reporting != 0 && TableCtx().StageFlag2 == 0 && TableCtx().StageFlag3 == 0) {
    text.Assign("WARNING: Negative row numbers ");
    text.AppendNumber('1', lowest, 0);
    text.Append(":0 will be discarded!!");
    Report(text.GetText(), 10);
  }
  for (int i = 0; i < n; ++i) list.GetCell(i)->output = 0;
  CellGrid grid;
  grid.first = std::max(lowest, 1);
  grid.last = highest;
  grid.columns = columns;
  if (grid.last >= grid.first && grid.columns > 0) {
    const long long size = static_cast<long long>(grid.last - grid.first + 1) * grid.columns;
    if (size > kMaxGridSlots) {
      text.Assign("ERROR: Table too large to write (");
      text.AppendNumber('1', grid.last - grid.first + 1, 0);
      text.Append(" rows of ");
      text.AppendNumber('1', grid.columns, 0);
      text.Append(" columns) - discarding ");
      text.AppendNumber('1', n, 0);
      text.Append(" cells");
      Report(text.GetText(), 10);
      return;
    }
    grid.slots.assign(static_cast<std::size_t>(size), 0);
    grid.cells.assign(static_cast<std::size_t>(size), nullptr);
    PlaceCells(list, grid);
    if (rtfOutput != 0) WriteTableRows(grid, header);
  }
  for (int i = 0; i < n; ++i) {
    const TableCell& cell = *list.GetCell(i);
    if (cell.output != 0) continue;
    text.Assign("PROGRAM ERROR: Failed to output cell at (");
    text.AppendNumber('1', cell.row, 0);
    text.AppendChar(',');
    text.AppendNumber('1', cell.column, 0);
    text.Append(").\n                Text = \"");
    text.Append(cell.text);
    text.AppendChar('"');
    if (reporting != 0) Report(text.GetText(), 10);
  }
}

void PreForm::PlaceCells(TableCellList& list, CellGrid& grid) {
  // Row by row, column by column: a span only reaches slots that come later.
  std::vector<TableCell*> order;
  order.reserve(static_cast<std::size_t>(list.GetCount()));
  for (int i = 0; i < list.GetCount(); ++i) order.push_back(list.GetCell(i));
  std::stable_sort(order.begin(), order.end(), [](const TableCell* a, const TableCell* b) {
    return a->row != b->row ? a->row < b->row : a->column < b->column;
  });
  TextString& text = TableFc().GetMessageText();
  for (TableCell* cell : order) {
    if (cell->row < grid.first || cell->row > grid.last || cell->column < 1 ||
        cell->column > grid.columns)
      continue;
    // A span that runs past the table is cut at its edge.
    const long long spanRows = std::max(cell->rowSpan, 1);
    const long long spanColumns = std::max(cell->columnSpan, 1);
    const int lastRow = static_cast<int>(std::min<long long>(grid.last, cell->row + spanRows - 1));
    const int lastColumn =
        static_cast<int>(std::min<long long>(grid.columns, cell->column + spanColumns - 1));
    if (lastRow - cell->row + 1 < spanRows || lastColumn - cell->column + 1 < spanColumns) {
      text.Assign("WARNING: Span of cell at (");
      text.AppendNumber('1', cell->row, 0);
      text.AppendChar(',');
      text.AppendNumber('1', cell->column, 0);
      text.Append(") runs past the table - cut at its edge");
      if (reporting != 0) Report(text.GetText(), 10);
    }
    const int cover = (lastRow - cell->row + 1) + 256 * (lastColumn - cell->column + 1);
    for (int r = cell->row; r <= lastRow; ++r) {
      for (int c = cell->column; c <= lastColumn; ++c) {
        if (r == cell->row && c == cell->column) continue;
        grid.slots[grid.Index(r, c)] = cover;
      }
    }
    int& own = grid.slots[grid.Index(cell->row, cell->column)];
    if (own != 0 && reporting != 0) {
      text.Assign("ERROR: Data overlap at cell (");
      text.AppendNumber('1', cell->row, 0);
      text.AppendChar(',');
      text.AppendNumber('1', cell->column, 0);
      text.AppendChar(')');
      Report(text.GetText(), 10);
    }
    own = -1;
    grid.cells[grid.Index(cell->row, cell->column)] = cell;
  }
}

bool PreForm::IsRowEmpty(const CellGrid& grid, int row) {
  for (int c = 1; c <= grid.columns; ++c) {
    const TableCell* cell = grid.CellAt(row, c);
    if (cell != nullptr && !cell->IsEmpty(TableFc(), TableCtx(), TableLayoutOf().levelThreshold))
      return false;
  }
  return true;
}

// The column span a covered slot stands for: the covering cell's, at least 1.
static int CoveredSpan(int slot) { return std::max(slot / 256, 1); }

void PreForm::WriteTableRows(const CellGrid& grid, int header) {
  FileControl& fc = TableFc();
  const int left = GetPageGeometry(fc).left;
  const int indent = TableGenerationOf().GetTableIndent();
  int x = fc.GetIndentLevel(indentColumn) * 360 - 108;
  if (indent != 0) x = std::max(indent * 20, 108 - left);
  const int lines = GetLineCount();
  const bool helpSource = fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0;
  TextString& text = fc.GetMessageText();
  TextString boundaries;
  TextString line;
  for (int r = grid.first; r <= grid.last; ++r) {
    if (IsRowEmpty(grid, r)) {
      text.Assign("INFO: Discarding empty ");
      text.Append(header ? "header row No." : "data row No.");
      text.AppendNumber('1', r, 0);
      Report(text.GetText(), 4);
      continue;
    }
    boundaries.SetEmpty();
    int running = 0;
    for (int e = 1; e <= grid.columns;) {
      const TableCell* cell = grid.CellAt(r, e);
      const int slot = grid.Slot(r, e);
      int span = cell != nullptr ? std::max(cell->columnSpan, 1) : 1;
      if (slot > 0) {
        boundaries.Append("\\clvmrg");
        span = CoveredSpan(slot);
      }
      span = std::min(span, grid.columns - e + 1);
      if (cell != nullptr && cell->rowSpan > 1) boundaries.Append("\\clvmgf");
      AppendVerticalAlignment(header, boundaries);
      running += GetCellWidth(cell, header, e, span) * 20;
      boundaries.Append("\\cellx");
      boundaries.AppendNumber('1', running + x, 0);
      e += span;
    }
    WriteTableLine("");
    line.Assign("\\trowd \\trgaph108\\trleft");
    line.AppendNumber('1', x, 0);
    WriteTableLine(line.GetText());
    WriteTableLine(boundaries.GetText());
    if (r < lines - 1 && lines < 40 && !helpSource)
      WriteTableLine("\\keepn\\widctlpar\\intbl\\adjustright");
    else
      WriteTableLine("\\widctlpar\\intbl\\adjustright");
    WriteTableLine("{");
    WriteTableCell(grid, r);
    WriteTableLine("}\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row }");
  }
}

void PreForm::AppendVerticalAlignment(int header, TextString& boundaries) {
  if (header) {
    boundaries.Append("\\clvertalb");
    return;
  }
  const int code = verticalAlignment;
  if (code == 2) boundaries.Append("\\clvertalb");
  if (code == 3) boundaries.Append("\\clvertalc");
  if (code > 3 && reporting != 0) {
    TextString text("UNSUPPORTED CASE: Vertical alignment code");
    text.AppendNumber('1', code, 0);
    Report(text.GetText(), 10);
  }
}

void PreForm::WriteTableCell(const CellGrid& grid, int r) {
  int level = 0;
  TextPosition position;
  for (int c = 1; c <= grid.columns; ++c) {
    const TableCell* cell = grid.CellAt(r, c);
    if (cell == nullptr) continue;
    level = std::max(level, cell->level);
    position = cell->position;
  }
  if (level > 0 && level < TableLayoutOf().levelThreshold) level = 0;
  TableLayout& layout = TableLayoutOf();
  for (int e = 1; e <= grid.columns;) {
    const int slot = grid.Slot(r, e);
    if (slot >= 1) {
      if (rtfOutput != 0) {
        WriteTableLine("\\cell");
        e += CoveredSpan(slot);
      } else {
        TextString text("ERROR: Cell overlap detected at (");
        text.AppendNumber('1', r, 0);
        text.AppendChar(',');
        text.AppendNumber('1', e, 0);
        text.AppendChar(')');
        if (reporting != 0) Report(text.GetText(), 10);
        e += 1;
      }
      continue;
    }
    TableCell* cell = grid.CellAt(r, e);
    std::unique_ptr<TableCell> placeholder;
    if (cell == nullptr) {
      placeholder = std::make_unique<TableCell>(TableFc(), this, position, &TableCtx().DefaultCellFont);
      placeholder->row = r;
      placeholder->column = e;
      cell = placeholder.get();
    }
    if (cell->text.GetLength() > 3 && IsRuleLine(cell->text.GetText())) cell->ruleCell = 1;
    const TableColumn* column = layout.GetColumn(e);
    if (column != nullptr && column->configured) cell->width = column->secondWidth;
    WriteCell(*cell, level, cellLine);
    e += std::min(std::max(cell->columnSpan, 1), grid.columns - e + 1);
  }
}

// ---- Cells ----

int PreForm::GetCellWidth(const TableCell* cell, int header, int firstColumn, int span) {
  if (!CanWriteTable()) return 0;
  TableLayout& layout = TableLayoutOf();
  if (layout.GetColumnCount() == 0) return 0;
  const int outputType = TableCtx().GetOutputType();
  const int n = span > 0 ? span : (cell != nullptr ? std::max(cell->columnSpan, 1) : 1);
  // Columns past the layout's add nothing, so the walk stops at its last column.
  const int last = static_cast<int>(
      std::min<long long>(static_cast<long long>(firstColumn) + n - 1, layout.GetColumnCount()));
  int width = 0;
  for (int c = std::max(firstColumn, 1); c <= last; ++c) {
    const TableColumn* column = layout.GetColumn(c);
    if (column == nullptr || column->hidden) continue;
    width += column->Width(outputType);
    if (c != firstColumn) width += column->SecondWidth(1);
  }
  const TableColumn* first = layout.GetColumn(firstColumn);
  const int tuMark = cell != nullptr ? cell->attributes[kCellTuMark] : 0;
  if (first != nullptr && first->extraWidth > 0 && header == 0 && tuMark == 0)
    width -= first->ExtraWidth(1);
  if (rtfOutput != 0) {
    const TableColumn* after = layout.GetColumn(last + 1);
    if (after != nullptr) width += after->SecondWidth(1);
  }
  return width;
}

int PreForm::ChooseVerticalAlignment(const TableCellList& dataCells, int& multiLineOutsideFirst) {
  multiLineOutsideFirst = 0;
  if (!CanWriteTable()) return 1;
  const int lastColumn = dataCells.LastColumn();
  const int columnCount = TableLayoutOf().GetColumnCount();
  // The first cell at each (row, column) is measured once; cells are visited in list order,
  // so a later cell at a taken slot is the one FindCell would not find.
  std::set<std::pair<int, int>> seen;
  int multiLine = 0;
  int multiLineFirst = 0;
  for (int i = 0; i < dataCells.GetCount(); ++i) {
    const TableCell& cell = *dataCells.GetCell(i);
    if (cell.column < 1 || cell.column > lastColumn) continue;
    if (!seen.insert({cell.row, cell.column}).second) continue;
    const int width = GetCellWidth(&cell, 0, cell.column, -1);
    if (cell.EstimateLines(TableFc(), TableCtx(), columnCount, width, 1, 0) <= 1) continue;
    ++multiLine;
    if (cell.column == 1) ++multiLineFirst;
  }
  if (multiLine == 0) return 1;
  if (multiLine == multiLineFirst) return 2;
  multiLineOutsideFirst = 1;
  return static_cast<double>(multiLineFirst) / multiLine > 0.7 ? 2 : 1;
}

int PreForm::ApplyCellTags(TableCell* cell, TextString& text, const TextPosition& position) {
  if (!CanWriteTable()) return 0;
  const TextString& opener = TableCtx().InlineCommands.GetStartDelimiter();
  if (opener.IsEmpty() || !text.ContainsChar(opener.CharAt(0))) return 0;
  PreHTML& line = *workLine2;
  line.Assign(text);
  line.SetStartPosition(TableFc(), position);
  line.SetEndPosition(TableFc(), position);
  if (cell != nullptr) ScanCellTags(2, *cell, line);
  const TextString& note = noteText;
  if (!note.IsEmpty()) {
    if (!reportText.IsEmpty()) reportText.Append("\n           ");
    reportText.Append(note);
  }
  text.Assign(line);
  return 1;
}

void PreForm::WriteCell(TableCell& cell, int level, TextString& commandText) {
  if (!CanWriteTable()) return;
  TableLayout& layout = TableLayoutOf();
  const int c = cell.column;
  const TableColumn* column = layout.GetColumn(c);
  const int tuMark = cell.attributes[kCellTuMark];
  const bool leader = tuMark == 0 && level == 0 && column != nullptr && column->extraWidth > 0;
  // The cell line is built in the writer's work text, where the text commands act on it.
  TextString& cellLine = commandText;
  if (leader) {
    cellLine.Assign(cell.prefixText);
    cellLine.Append("\\tab ");
    cellLine.Append(cell.text);
    cellLine.Append("\\tab ");
  } else {
    cellLine.Assign(cell.text);
  }
  cellLine.Trim();
  const int width = GetCellWidth(&cell, level, c, -1);
  const TableColumn* next = layout.GetColumn(c + 1);
  int gap = next != nullptr ? next->SecondWidth(1) : 0;
  gap = std::max(gap, 10);
  const int tabStop = (width - gap) * 20 - 30;
  if (ApplyCellTags(&cell, cellLine, cell.position) != 0) {
    // CURRENCY and GUTTER only mark where a cell's figures stand; they print nothing.
    TextString kept;
    FilterInlineTags(TableFc(), TableCtx(), nullptr, "CURRENCY,GUTTER", cellLine, kept);
    cellLine = kept;
  }
  TextCommandSet& commands = TableGenerationOf().GetTextCommands();
  if (commands.GetCount() > 0) {
    TextString result;
    TextCommandTags host;
    (void)commands.Apply(TableFc(), &host, *workLine2, cellLine, result);
    cellLine = result;
  }
  const FontSpec& cellFont = TableCtx().DefaultCellFont;
  TextString open("\\fs");
  open.AppendNumber('1', cellFont.GetPointSize() * 2, 0);
  // A blank ends the font size, so that a cell text beginning with a digit stays text.
  open.AppendChar(' ');
  TextString close;
  if (tuMark == 1 || tuMark == 2) {
    if (!cellLine.IsEmpty()) cellLine.Append("\\par");
    cellLine.Append(tuMark == 1 ? "{\\ul\\tab}" : "{\\uldb\\tab}");
    TextString stop("\\tqr\\tx");
    stop.AppendNumber('1', width * 20 - 216, 0);
    cellLine.Insert(0, stop.GetText());
  }
  if (level != 0 || cellFont.IsBold()) {
    open.Append("\\b ");
    close.Append("\\b0 ");
  }
  if (cellFont.IsItalic()) {
    open.Append("\\i ");
    close.Append("\\i0 ");
  }
  if (leader) {
    open.Append("\\tqr\\tx");
    open.AppendNumber('1', tabStop, 0);
    open.Append("\\tx");
    open.AppendNumber('1', tabStop + 30, 0);
    open.AppendChar(' ');
  } else if (level != 0 || tuMark == 0) {
    const int cellAlignment = TableGenerationOf().Align(GenerationPolicyId::CellAlignment).value;
    if (cellAlignment != 0) cell.alignment = cellAlignment;
    // A column's own alignment replaces the cell's only where the column was given one, so
    // that the alignment a cell tag or the cell's value chose is kept otherwise.
    if (column != nullptr && column->configured && column->alignment != 0)
      cell.alignment = column->alignment;
    if (cell.alignment == 2) open.Append("\\qc ");
    if (cell.alignment == 3) open.Append("\\qr ");
  } else {
    open.Append("\\tqr\\tx");
    open.AppendNumber('1', tabStop, 0);
    open.AppendChar(' ');
  }
  TextString out("{");
  out.Append(open);
  out.Append(cellLine);
  out.Append(close);
  out.Append("\\cell}");
  WriteTableLine(out.GetText());
  cell.output = 1;
}
