// Splitting the lines of a pre-formatted region into the cells of its template row: lines
// cut at the column boundaries, and delimited lines cut at their delimiter.

#include <algorithm>

#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tables/PreForm.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tags/LineTags.h"

int ReadCsvField(int& pos, const TextString& text, char delimiter, TextString& out) {
  out.SetEmpty();
  const int length = text.GetLength();
  if (pos < 0)
    pos = 0;
  if (pos >= length)
    return 0;
  const int start = pos;
  bool quoted = false;
  bool wasQuoted = false;
  int end = pos;
  while (end < length) {
    const char c = text.CharAt(end);
    if (quoted) {
      if (c == '"' && text.CharAt(end + 1) == '"') {
        end += 2;
        continue;
      }
      if (c == '"')
        quoted = false;
      ++end;
      continue;
    }
    if (c == delimiter)
      break;
    if (c == '"') {
      quoted = true;
      wasQuoted = true;
    }
    ++end;
  }
  pos = end < length ? end + 1 : length;
  if (end == start)
    return 1;
  out.AssignSubstring(text, start, end - start);
  out.Trim();
  const int n = out.GetLength();
  if (wasQuoted && n >= 2 && out.CharAt(0) == '"' && out.CharAt(n - 1) == '"') {
    out.KeepSubstring(1, n - 2);
    out.ReplaceAll("\"\"", "\"", 0, 1);
  }
  return 1;
}

void PreForm::PrepareRow(TableCellList& row, int lineIndex) {
  const PreFormLine* line = GetLine(lineIndex);
  const TextPosition& position = line != nullptr ? line->end : firstEnd_;
  for (int k = 0; k < row.GetCount(); ++k) {
    TableCell& cell = *row.GetCell(k);
    cell.Reset();
    cell.lineBreaks = 0;
    if (const PreFormColumn* column = GetColumn(k); column != nullptr)
      cell.alignment = column->alignment;
    cell.position = position;
    ++cell.lineBreaks;
  }
}

void PreForm::SplitLine(TableCellList& row, int lineIndex, int raw) {
  if (row.GetCount() == 0 || GetLine(lineIndex) == nullptr || fc_ == nullptr)
    return;
  if (delimited)
    SplitDelimitedLine(row, lineIndex, raw);
  else
    SplitFixedWidthLine(row, lineIndex, raw);
}

// Cross-references are made in the cells of a table, not in code or diagrams.
int PreForm::CellCrossReferences() const {
  if (userCode || code || userDiagram || diagram)
    return 0;
  return generation_ != nullptr && generation_->Bool(GenerationPolicyId::ConvertXrefs).value ? 1
                                                                                             : 0;
}

void PreForm::ConvertCellText(TextString& text, int xrefs) {
  if (fc_ == nullptr || ctx_ == nullptr)
    return;
  PreHTML& line = *workLine;
  line.SetText(text.GetText());
  const int stage = ctx_->LineStage;
  ctx_->LineStage = kLineStageOutput;
  line.ConvertFragment(*fc_, *ctx_, nullptr, true, xrefs != 0, true, false, true, true);
  ctx_->LineStage = stage;
  if (fc_->RestoreLinkAnchors(line, text) <= 0)
    text.Assign(line);
}

int PreForm::ChooseCellAlignment(int column, int width, const TextString& text, int analyse,
                                 int span) const {
  if (generation_ != nullptr) {
    const AlignPolicy& given = generation_->Align(GenerationPolicyId::CellAlignment);
    if (given.set)
      return given.value;
  }
  if (!analyse && span == 1) {
    if (const PreFormColumn* c = GetColumn(column); c != nullptr)
      return c->alignment;
  }
  return TableCell::GuessAlignment(width, text, numericTable, 0);
}

// Characters that may stand at a column boundary without joining the cells on either side.
static bool IsBoundaryChar(char c) {
  return c == ' ' || c == '*' || c == '+' || c == '-' || c == ':' || c == '|';
}

// Characters that draw the lines of a table or a diagram ("+----+", "|====|", "::").
static bool IsRuleChar(char c) {
  return c == '*' || c == '+' || c == '-' || c == ':' || c == '|' || c == '=' || c == '_' ||
         c == '~';
}

namespace {
// Tells whether a character at or after a column boundary belongs to a table's lines, and so
// may be dropped, or to its text, and so must stay in a cell. A blank or a '|' is a column's
// edge. '*', '+', '-' and ':' are lines only inside a run of non-blank characters drawn with
// rule characters alone: in "n--", "-5", "*p" or "a::b" they are text. The run last looked at
// is remembered, so the split of a line reads each run once however many boundaries fall in
// it.
class BorderTest {
 public:
  explicit BorderTest(const TextString& text) : text_(text), length_(text.GetLength()) {}

  bool IsBorder(int pos) {
    const char c = text_.CharAt(pos);
    if (c == ' ' || c == '|')
      return true;
    if (!IsBoundaryChar(c))
      return false;
    if (pos < runStart_ || pos >= runEnd_)
      ReadRun(pos);
    return ruleRun_;
  }

 private:
  void ReadRun(int pos) {
    runStart_ = pos;
    while (runStart_ > 0 && text_.CharAt(runStart_ - 1) != ' ')
      --runStart_;
    runEnd_ = pos;
    while (runEnd_ < length_ && text_.CharAt(runEnd_) != ' ')
      ++runEnd_;
    ruleRun_ = true;
    for (int k = runStart_; k < runEnd_ && ruleRun_; ++k)
      ruleRun_ = IsRuleChar(text_.CharAt(k));
  }

  const TextString& text_;
  int length_;
  int runStart_ = 0;
  int runEnd_ = 0;  // empty: nothing read
  bool ruleRun_ = false;
};
}  // namespace

// The cell text from..to without the runs of '|' at either end.
static void CutCellText(const TextString& text, int from, int to, TextString& out) {
  while (from < to && text.CharAt(from) == '|')
    ++from;
  while (to > from && text.CharAt(to - 1) == '|')
    --to;
  out.AssignSubstring(text, from, to - from);
}

void PreForm::SplitFixedWidthLine(TableCellList& row, int lineIndex, int raw) {
  if (fc_ == nullptr || GetLine(lineIndex) == nullptr)
    return;
  PrepareRow(row, lineIndex);
  PreFormLine& line = *GetLine(lineIndex);
  TextString& text = splitWork_;
  text.Assign(line.raw);
  text.ExpandTabs(std::max(1, fc_->GetInt(PolicyId::TABSize)));
  const int indent = RemovedIndent();
  if (indent > 0 && text.GetLength() >= indent)
    text.KeepFrom(indent);

  const int columns = std::min(GetColumnCount(), row.GetCount());
  if (columns == 0)
    return;
  const int length = text.GetLength();
  const bool zeroWidth = layout_ != nullptr && layout_->zeroWidthBoundaries.value != 0;
  const TextString& opener = fc_->GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc_->GetText(PolicyId::EndTagDelimiter);
  const int xrefs = raw ? 0 : CellCrossReferences();
  // The first byte is compared here: it differs at nearly every position of a line.
  auto startsAt = [&text](int pos, const TextString& what) {
    return !what.IsEmpty() && text.GetText()[pos] == what.GetText()[0] &&
           CompareChars(text.GetText() + pos, what.GetText(), what.GetLength(), 0) == 0;
  };

  // Bytes that may start a delimiter; any other byte before the column's boundary is passed.
  const char openerFirst = opener.IsEmpty() ? '\0' : opener.GetText()[0];
  const char closerFirst = closer.IsEmpty() ? '\0' : closer.GetText()[0];

  BorderTest borders(text);
  int cellStart = 0;  // j
  int current = 0;    // i
  int first = 0;      // d
  int pos = 0;
  bool inTag = false;
  int tagStart = 0;
  for (;;) {
    if (!inTag && pos < length) {
      const int stop = current >= columns - 1
                           ? length
                           : std::min(columns_[static_cast<size_t>(current)]->boundary, length);
      const char* bytes = text.GetText();
      while (pos < stop && bytes[pos] != openerFirst && bytes[pos] != closerFirst)
        ++pos;
    }
    if (pos < length) {
      if (inTag) {
        if (startsAt(pos, closer)) {
          pos += closer.GetLength();
          inTag = false;
          // Raw splits are repeated by every statistics pass; the tags act once, when
          // the cells are converted for output.
          if (!raw && ctx_ != nullptr) {
            TextString tag;
            tag.AssignSubstring(text, tagStart, pos - tagStart);
            workLine2->SetText(text.GetText());
            (void)ExecuteLineTag(*workLine2, *fc_, *ctx_, tag);
          }
        } else {
          ++pos;
        }
        continue;
      }
      if (startsAt(pos, opener)) {
        inTag = true;
        tagStart = pos;
        pos += opener.GetLength() + 1;
        continue;
      }
      if (startsAt(pos, closer)) {
        if (!line.tagReported) {  // once per line, however often it is split
          TextString message("INFO: Unbalanced tag delimiter inside table cell :\"");
          message.Append(line.raw);
          message.AppendChar('"');
          Report(message.GetText(), 10);
          line.tagReported = 1;
        }
        ++pos;
        continue;
      }
    }
    const bool lastColumn = current >= columns - 1;
    const int boundary = columns_[static_cast<size_t>(current)]->boundary;
    if (pos < length && (lastColumn || pos < boundary)) {
      ++pos;
      continue;
    }
    // At the column's boundary or at the end of the text. A character of text there that
    // joins words on both sides makes the word cross the boundary; one that only ends a word
    // stays with it in this cell, and one that only starts a word begins the next cell.
    const bool textAtBoundary = pos < length && !borders.IsBorder(pos);
    const bool endsWord = textAtBoundary && pos > 0 && text.CharAt(pos - 1) != ' ';
    const bool startsWord = textAtBoundary && pos + 1 < length && text.CharAt(pos + 1) != ' ';
    if (!lastColumn && !zeroWidth && textAtBoundary &&
        (!IsBoundaryChar(text.CharAt(pos)) || (endsWord && startsWord))) {
      ++current;  // a word crosses the boundary: the cell spans the next column too
      continue;
    }
    const bool keepLeft = textAtBoundary && endsWord && !zeroWidth;
    const int end = std::min(lastColumn ? length : pos + (keepLeft ? 1 : 0), length);
    TableCell& cell = *row.GetCell(first);
    TextString& cellText = cell.text;
    CutCellText(text, std::min(cellStart, end), end, cellText);
    cell.columnSpan = current - first + 1;
    for (int k = first + 1; k <= current; ++k)
      row.GetCell(k)->columnSpan = 0;
    const int from = first == 0 ? 0 : columns_[static_cast<size_t>(first - 1)]->boundary + 1;
    const int to = lastColumn ? maxLineLength - 1 : boundary;
    cell.alignment = ChooseCellAlignment(first, to - from, cellText, raw, cell.columnSpan);
    cellText.Trim();
    if (!raw) {
      EscapeRtfText(*fc_, cellText);
      ConvertCellText(cellText, xrefs);
    }
    if (lastColumn || pos >= length)
      break;
    int next = zeroWidth || (textAtBoundary && !keepLeft) ? boundary : boundary + 1;
    const PreFormColumn& column = *columns_[static_cast<size_t>(current)];
    if (column.boundary < column.gapEnd) {
      const int skip = column.gapEnd - column.boundary;
      for (int k = 0; k < skip && next < length && borders.IsBorder(next); ++k)
        ++next;
    }
    next = std::max(next, pos);
    cellStart = pos = next;
    ++current;
    first = current;
  }
}

void PreForm::SplitDelimitedLine(TableCellList& row, int lineIndex, int raw) {
  if (fc_ == nullptr || GetLine(lineIndex) == nullptr)
    return;
  PrepareRow(row, lineIndex);
  const PreFormLine& line = *GetLine(lineIndex);
  const int xrefs = raw ? 0 : CellCrossReferences();
  TextString& field = splitWork_;
  int pos = 0;
  bool seenText = false;
  for (int k = 0; k < row.GetCount(); ++k) {
    const bool more = delimiter == ',' ? ReadCsvField(pos, line.raw, delimiter, field) != 0
                                       : line.raw.GetNextField(&pos, delimiter, field);
    if (!more)
      break;
    TableCell& cell = *row.GetCell(k);
    cell.columnSpan = 1;
    cell.text.Assign(field);
    if (!raw) {
      EscapeRtfText(*fc_, cell.text);
      cell.text.CollapseBlanks();
      ConvertCellText(cell.text, xrefs);
    }
    cell.alignment = ChooseCellAlignment(k, -1, cell.text, raw, 1);
    if (field.IsEmpty() && seenText)
      cell.alignment = ChooseCellAlignment(k, -1, cell.text, 1, 1);
    if (!field.IsEmpty())
      seenText = true;
  }
}
