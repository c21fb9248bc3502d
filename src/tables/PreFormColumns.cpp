// The columns of a pre-formatted region: their statistics and widths, merging, and columns
// given by a table layout.

#include <algorithm>
#include <memory>
#include <vector>

#include "policy/TextClassification.h"
#include "policy/FileControl.h"
#include "tables/PreForm.h"
#include "policy/TableLayout.h"
#include "text/FontSpec.h"
#include "text/StackList.h"
#include "text/StatementTypes.h"
#include "text/TextMeasure.h"

namespace {
// Twips that RTF adds around the text of every cell.
constexpr int kCellMargin = 108;

// What one cell of a line holds.
struct CellClass {
  bool empty = true;
  int alphanumeric = 0;
  int symbolLike = 0;
  int valueKind = kCellText;
};

// A cell spanning several columns, measured once the single cells have set the widths.
struct SpanningCell {
  int first = 0;
  int span = 0;
  int width = 0;
};
}  // namespace

static bool IsBlankText(const TextString& text) {
  for (int j = 0; j < text.GetLength(); ++j) {
    const char c = text.CharAt(j);
    if (c != ' ' && c != '\t')
      return false;
  }
  return true;
}

static bool HoldsDataField(const TextString& text) {
  int at = -1;
  return text.Find(0, "{\\*\\datafield", &at, 1, 0);
}

static bool IsAsciiAlphanumeric(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A cell is text unless fewer than a fifth of its characters are ASCII letters or digits,
// or they are outnumbered by its other non-blank characters; then it is symbol-like.
static CellClass ClassifyCell(const TextString& text, bool textLine) {
  CellClass result;
  result.empty = IsBlankText(text);
  if (result.empty || !textLine)
    return result;
  int alphanumeric = 0;
  int others = 0;
  const int length = text.GetLength();
  for (int j = 0; j < length; ++j) {
    const char c = text.CharAt(j);
    if (IsAsciiAlphanumeric(c))
      ++alphanumeric;
    else if (c != ' ' && c != '\t')
      ++others;
  }
  const bool symbols = alphanumeric * 5 < length || alphanumeric < others;
  result.alphanumeric = symbols ? 0 : 1;
  result.symbolLike = symbols ? 1 : 0;
  result.valueKind = ClassifyCellValue(2, kCellText, text.GetText());
  return result;
}

// The value that most samples of table have, with its frequency; emptyValue and 0 when the
// table is empty.
static int TopValue(TextStats& table, int emptyValue, int* frequency = nullptr) {
  const TextStatsEntry* top = table.GetByRank(1);
  if (frequency != nullptr)
    *frequency = top != nullptr ? top->frequency : 0;
  return top != nullptr ? top->value : emptyValue;
}

// The cell text as it will be printed, for measuring: in-line tags take no room.
static void TextForMeasure(const TextString& text, const TextString& opener,
                           const TextString& closer, TextString& out) {
  out.SetEmpty();
  if (opener.IsEmpty() || closer.IsEmpty()) {
    out.Assign(text);
    return;
  }
  int from = 0;
  int open = -1;
  while (text.Find(from, opener.GetText(), &open, 1, 0)) {
    int close = -1;
    if (!text.Find(open + opener.GetLength(), closer.GetText(), &close, 1, 0))
      break;
    out.AppendBytes(text.GetText() + from, open - from);
    from = close + closer.GetLength();
  }
  out.AppendBytes(text.GetText() + from, text.GetLength() - from);
  out.Trim();
}

void PreForm::ComputeColumnStatistics() { ComputeColumnParts(kColumnStatistics | kColumnWidths); }

void PreForm::ComputeColumnParts(int parts) {
  if (fc_ == nullptr)
    return;
  // The table font: its size and width factor set the measure of every cell.
  int fontSize = 10;
  double widthFactor = 1.0;
  if (fc_->IsSet(PolicyId::BaseFONTSizeInPts))
    fontSize = fc_->GetInt(PolicyId::BaseFONTSizeInPts);
  for (const PolicyId id : {PolicyId::DefaultFont, PolicyId::TableFont}) {
    if (!fc_->IsSet(id))
      continue;
    FontSpec font;
    fc_->Font(id).ApplyToFontSpec(font);
    fontSize = font.GetPointSize();
    widthFactor = font.GetWidthFactor();
  }
  const int stretch = fc_->GetInt(PolicyId::FontStretchFactorInPercent);
  const int percent =
      static_cast<int>(((stretch + 100) / 100.0 * widthFactor - 1.0) * 100.0);
  MeasureColumnWidths(fontSize, percent, parts);
}

void PreForm::MeasureColumnWidths(int fontSize, int percent, int parts) {
  const int columns = GetColumnCount();
  const bool statistics = (parts & kColumnStatistics) != 0;
  const bool widths = (parts & kColumnWidths) != 0;
  RebuildRow(row_);
  for (auto& column : columns_) {
    if (statistics)
      column->ClearStatistics();
    else
      column->width = 0;
  }
  if (statistics) {
    spanningCells = spanningSum = spanningLines = 0;
    windowSpanningCells = windowSpanningSum = windowSpanningLines = 0;
  }

  const int n = GetLineCount();
  int headerRuler = 0;
  if (fixedHeaderIndex >= 0) {
    headerRuler = fixedHeaderIndex;
  } else if (rulerLineCount > 0 && n > 15) {
    for (int i = 0; i < 5 && i < n; ++i) {
      if (lines_[static_cast<size_t>(i)]->ruler)
        headerRuler = i;
    }
  }

  const TextString& opener = fc_->GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc_->GetText(PolicyId::EndTagDelimiter);
  StackList<CellClass, 64> classList;
  std::pmr::vector<CellClass>& classes = classList.Items();
  classes.assign(static_cast<size_t>(columns), CellClass{});
  StackList<SpanningCell, 32> spanningList;
  std::pmr::vector<SpanningCell>& spanning = spanningList.Items();
  TextString measured;

  for (int i = 0; i < n; ++i) {
    PreFormLine& l = *lines_[static_cast<size_t>(i)];
    if (l.type == kTagChangePolicy)
      continue;
    SplitLine(row_, i, 1);
    const int cells = std::min(row_.GetCount(), columns);
    if (statistics) {
      const bool textLine = !l.ruler && !l.blank;
      bool lineSpans = false;
      bool windowSpans = false;
      const bool inWindow = i >= headerRuler && i < n - 4;
      int nonEmpty = 0;
      int firstNonEmpty = -1;
      bool restEmpty = true;
      bool filledFromFirst = true;
      bool beforeLastEmpty = true;
      bool hasSpanning = false;
      bool coveringEmpty = true;  // the cell that covers the column being read
      bool firstEmpty = true;
      for (int k = 0; k < cells; ++k) {
        const TableCell& cell = *row_.GetCell(k);
        CellClass& cls = classes[static_cast<size_t>(k)];
        if (cell.columnSpan <= 0) {  // covered by a cell to its left
          cls = CellClass{};
          continue;
        }
        cls = ClassifyCell(cell.text, textLine);
        coveringEmpty = cls.empty;
        if (k == 0)
          firstEmpty = cls.empty;
        if (cell.columnSpan > 1) {
          hasSpanning = true;
          if (k < cells - 1 && !l.ruler) {
            if (i >= headerLineCount) {
              ++spanningCells;
              spanningSum += cell.columnSpan - 1;
              lineSpans = true;
            }
            if (inWindow) {
              ++windowSpanningCells;
              windowSpanningSum += cell.columnSpan - 1;
              windowSpans = true;
            }
          }
        }
        if (cls.empty) {
          if (firstNonEmpty >= 0)
            filledFromFirst = false;
          continue;
        }
        ++nonEmpty;
        if (firstNonEmpty < 0)
          firstNonEmpty = k;
        if (k > 0)
          restEmpty = false;
        if (k < cells - 1)
          beforeLastEmpty = false;
      }
      if (lineSpans)
        ++spanningLines;
      if (windowSpans)
        ++windowSpanningLines;
      l.nonEmptyCells = nonEmpty;
      l.firstNonEmptyCell = firstNonEmpty;
      l.restEmpty = restEmpty ? 1 : 0;
      l.filledFromFirst = filledFromFirst && firstNonEmpty >= 0 ? 1 : 0;
      l.allBeforeLastEmpty = beforeLastEmpty ? 1 : 0;
      l.hasSpanningCell = hasSpanning ? 1 : 0;
      l.firstCellEmpty = firstEmpty ? 1 : 0;
      l.lastCellEmpty = coveringEmpty ? 1 : 0;

      if (i >= headerLineCount && !l.ruler && !(restEmpty && firstEmpty)) {
        for (int k = 0; k < cells; ++k) {
          const TableCell& cell = *row_.GetCell(k);
          if (cell.columnSpan <= 0)
            continue;
          PreFormColumn& column = *columns_[static_cast<size_t>(k)];
          const CellClass& cls = classes[static_cast<size_t>(k)];
          column.spans.Add(cell.columnSpan);
          if (cls.empty) {
            column.emptiness.Add(1);
            continue;
          }
          column.emptiness.Add(0);
          column.alphanumeric.Add(cls.alphanumeric);
          column.symbolLike.Add(cls.symbolLike);
          const bool number = cls.valueKind == kCellNumber;
          column.numeric.Add(number ? 1 : 0);
          column.alignmentKinds.Add(number ? 3 : cell.alignment);
        }
      }
    }

    if (!widths || l.ruler || l.type == kTypeLine)
      continue;
    for (int k = 0; k < cells; ++k) {
      const TableCell& cell = *row_.GetCell(k);
      if (cell.columnSpan <= 0)
        continue;
      if (cell.columnSpan > 1 && HoldsDataField(cell.text))
        continue;
      TextForMeasure(cell.text, opener, closer, measured);
      const int width = EstimateTextWidth(1, measured, fontSize, percent);
      if (cell.columnSpan == 1) {
        PreFormColumn& column = *columns_[static_cast<size_t>(k)];
        column.width = std::max(column.width, width + kCellMargin);
      } else {
        spanning.push_back({k, std::min(cell.columnSpan, columns - k), width});
      }
    }
  }

  if (statistics) {
    for (auto& columnPointer : columns_) {
      PreFormColumn& column = *columnPointer;
      column.alignment =
          column.givenAlignment > 0 ? column.givenAlignment : TopValue(column.alignmentKinds, 1);
      int spanFrequency = 0;
      column.spanMode = TopValue(column.spans, 1, &spanFrequency);
      const int spanSamples = column.spans.GetSamples();
      if (column.spanMode == 1 && spanSamples > 0 && spanFrequency < 0.8 * spanSamples)
        column.spanMode = 2;
      int emptyFrequency = 0;
      const int emptySamples = column.emptiness.GetSamples();
      const int emptiest = TopValue(column.emptiness, 0, &emptyFrequency);
      column.mostlyEmpty = emptiest == 1 && emptyFrequency > 0.75 * emptySamples ? 1 : 0;
      column.alwaysEmpty = column.mostlyEmpty && emptyFrequency == emptySamples ? 1 : 0;
      column.symbolic = TopValue(column.symbolLike, 0);
      int textFrequency = 0;
      column.textLike = TopValue(column.alphanumeric, 0, &textFrequency);
      if (column.mostlyEmpty || column.symbolic ||
          (column.textLike && textFrequency < 0.8 * column.alphanumeric.GetSamples()))
        column.textLike = 0;
      column.isNumeric = column.mostlyEmpty ? 0 : TopValue(column.numeric, 0);
    }
  }

  if (!widths)
    return;

  if (columns == 2 && columns_[0]->mostlyEmpty) {
    const int blank = EstimateTextWidth(1, TextString(" "), fontSize, percent);
    PreFormColumn& first = *columns_[0];
    first.width = std::max(first.width, blank * first.boundary + kCellMargin);
  }

  // A spanning cell wider than the columns it covers widens them in proportion to their
  // widths (evenly when they have none).
  for (const SpanningCell& cell : spanning) {
    const int needed = cell.width + kCellMargin - cell.span * kCellMargin;
    int sum = 0;
    for (int k = cell.first; k < cell.first + cell.span; ++k)
      sum += columns_[static_cast<size_t>(k)]->width;
    if (sum >= needed + kCellMargin)
      continue;
    const int shortfall = needed - sum;
    if (shortfall <= 0)
      continue;
    int given = 0;
    for (int k = cell.first; k < cell.first + cell.span; ++k) {
      PreFormColumn& column = *columns_[static_cast<size_t>(k)];
      const bool last = k == cell.first + cell.span - 1;
      int share = 0;
      if (last)
        share = shortfall - given;
      else if (sum > 0)
        share = static_cast<int>(static_cast<long long>(shortfall) * column.width / sum);
      else
        share = shortfall / cell.span;
      column.width += share;
      given += share;
    }
  }
}

void PreForm::RebuildRow(TableCellList& row) {
  if (fc_ == nullptr)
    return;
  row.MakeCells(*fc_, this, GetColumnCount());
  for (int k = 0; k < row.GetCount(); ++k)
    row.GetCell(k)->position = firstEnd_;
}

// ---- Merging ----

int PreForm::MergeColumns(int first, int last) {
  const int count = GetColumnCount();
  if (first < 0 || first >= count)
    return 0;
  PreFormColumn& into = *columns_[static_cast<size_t>(first)];
  if (last >= count - 1 || last <= first) {
    into.spanMode = 1;
    return 0;
  }
  const PreFormColumn& from = *columns_[static_cast<size_t>(last)];
  into.start = from.start;
  into.gapEnd = from.gapEnd;
  into.boundary = from.boundary;
  into.score = from.score;
  for (int k = first + 1; k <= last; ++k)
    into.width += columns_[static_cast<size_t>(k)]->width;
  into.spanMode = std::max(1, into.spanMode - (last - first));
  DropColumns(first + 1, last + 1);
  if (row_.GetCount() > first)
    row_.RemoveRange(first, std::min(last, row_.GetCount() - 1));
  return 1;
}

void PreForm::MergeLastColumn() {
  const int count = GetColumnCount();
  if (count == 0)
    return;
  if (count == 1) {
    columns_[0]->spanMark = 0;
    return;
  }
  PreFormColumn& into = *columns_[static_cast<size_t>(count - 2)];
  const PreFormColumn& last = *columns_.back();
  into.gapEnd = last.gapEnd;
  into.boundary = last.boundary;
  into.score = last.score;
  into.width += last.width;
  into.spanMark = 1;
  DropColumns(count - 1, count);
  RebuildRow(row_);
}

// ---- Columns from a table layout ----

int PreForm::RemovedIndent() const { return indentRemoved_ && minIndent > 0 ? minIndent : 0; }

void PreForm::ReportLayoutOverlaps() {
  if (layout_ == nullptr || !layout_->layout.set)
    return;
  for (int i = 2; i <= layout_->GetColumnCount(); ++i) {
    if (layout_->GetColumn(i)->firstPosition >= layout_->GetColumn(i - 1)->firstPosition)
      continue;
    TextString message("TAG_ERROR: TABLE_LAYOUT columns ");
    message.AppendNumber('1', i - 1, 0);
    message.Append(" and ");
    message.AppendNumber('1', i, 0);
    message.Append(" overlap");
    Report(message.GetText(), 10);
  }
}

void PreForm::ColumnsFromLayout() {
  if (layout_ == nullptr)
    return;
  DropColumns(0, GetColumnCount());
  row_.Free();
  const int count = layout_->GetColumnCount();
  const int indent = RemovedIndent();
  // The layout gives the position where each column starts, so a column's text ends at the
  // blank before the next column's start. Positions at or before the indent, or out of
  // order, would make columns of negative width: they are held at 0 and at the boundary
  // before them.
  int previous = 0;
  for (int i = 2; i <= count; ++i) {
    const int p = std::max(layout_->GetColumn(i)->firstPosition - indent - 1, previous);
    AddColumn(p, p, p, -1);
    previous = p;
  }
  const int end = std::max(maxLineLength - 1, previous);
  AddColumn(end, end, end, -1);
  ReportLayoutOverlaps();
  fixedColumns = 1;
}

void PreForm::CheckLayoutColumns() {
  if (layout_ == nullptr)
    return;
  const int layoutCount = layout_->GetColumnCount();
  const int detected = GetColumnCount();
  const int indent = RemovedIndent();
  for (int i = 0; i < layoutCount && i < detected; ++i) {
    const TableColumn& given = *layout_->GetColumn(i + 1);
    PreFormColumn& column = *columns_[static_cast<size_t>(i)];
    if (given.firstPosition > 0) {
      const int p = std::max(given.firstPosition - indent, 0);
      column.start = column.gapEnd = column.boundary = p;
    }
    if (given.alignment > 0)
      column.alignment = column.givenAlignment = given.alignment;
    if (given.verticalAlignment > 0)
      column.verticalAlignment = given.verticalAlignment;
  }
  if (layoutCount != detected) {
    TextString message("WARNING: Calculated and specified column numbers disagree : ");
    message.AppendNumber('1', detected, 0);
    message.Append(" vs ");
    message.AppendNumber('1', layoutCount, 0);
    Report(message.GetText(), 10);
  }
  ReportLayoutOverlaps();
  fixedColumns = 1;
}
