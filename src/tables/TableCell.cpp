#include "tables/TableCell.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

TableCell::TableCell(FileControl& /*fc*/, PreForm* cellOwner, const TextPosition& cellPosition,
                     const FontSpec* cellFont)
    : owner(cellOwner), position(cellPosition) {
  Reset();
  if (cellFont != nullptr) font.Assign(*cellFont);
}

void TableCell::Reset() {
  rawText.SetEmpty();
  text.SetEmpty();
  prefixText.SetEmpty();
  secondText.SetEmpty();
  valueClass = 0;
  classOverride = 0;
  row = -1;
  rowSpan = 1;
  static constexpr int kInitialAttributes[12] = {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, -1, -1};
  for (int i = 0; i < 12; ++i) attributes[i] = kInitialAttributes[i];
  column = -1;
  columnSpan = 1;
  alignment = 1;
  explicitAlignment = 0;
  width = 0;
  lineBreaks = 0;
  level = 0;
  output = 0;
  ruleCell = 0;
  perCellSetting = 0;
  for (int& flag : contentFlags) flag = 1;
}

static bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The text without its "[[" ... "]]" font markers.
static void RemoveFontMarkers(const TextString& text, TextString& out) {
  out.SetEmpty();
  int from = 0;
  int open = -1;
  while (text.Find(from, "[[", &open, 1, 0)) {
    int close = -1;
    if (!text.Find(open + 2, "]]", &close, 1, 0)) break;
    out.AppendBytes(text.GetText() + from, open - from);
    from = close + 2;
  }
  out.AppendBytes(text.GetText() + from, text.GetLength() - from);
}

// Digits and the characters that numbers carry; with numericTable also currency signs,
// brackets and signs. Fewer than two decimal points.
static bool IsNumericText(const char* text, int length, int numericTable) {
  int points = 0;
  for (int i = 0; i < length; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '.') {
      ++points;
      continue;
    }
    if (c == '%' || c == '*' || c == ',' || c == ':') continue;
    if (numericTable && (c == '$' || c == '(' || c == ')' || c == '+' || c == '-' || c == '\xA3'))
      continue;
    return false;
  }
  return points < 2;
}

int TableCell::GuessAlignment(int width, const TextString& text, int numericTable,
                              int keepFullWidth) {
  TextString plain;
  RemoveFontMarkers(text, plain);
  const int length = plain.GetLength();
  const int w = width > 0 ? std::max(width, length) : width;
  int leading = 0;
  while (leading < length && IsBlankOrTab(plain.CharAt(leading))) ++leading;
  int trailing = 0;
  while (trailing < length - leading && IsBlankOrTab(plain.CharAt(length - 1 - trailing)))
    ++trailing;
  const int middle = length - leading - trailing;
  if (length < w) trailing += w - length;
  if (middle <= 0) return 1;
  if (!keepFullWidth && w > 0 && leading + trailing >= w) return 1;
  if (IsNumericText(plain.GetText() + leading, middle, numericTable)) return 3;
  if (leading == 0) return 1;
  if (trailing == 0 && leading > 1) return 3;
  if (leading + trailing >= length) return 1;
  if (std::abs(leading - trailing) < 2 && leading > 1) return 2;
  if (trailing < leading && leading > 1) return 3;
  return 1;
}

void TableCell::StripQuotes(TextString& value) {
  if (value.GetLength() < 2 || value.CharAt(0) != '"') return;
  int second = -1;
  if (!value.FindChar(1, '"', &second, 1)) return;
  value.KeepSubstring(1, value.GetLength() - 2);
  value.ReplaceAll("\"\"", "\"", 0, 1);
}

void TableCell::StripQuotes() { StripQuotes(text); }

void TableCellList::Add(std::unique_ptr<TableCell> cell) {
  if (cell) cells_.push_back(std::move(cell));
}

TableCell& TableCellList::AddNew(FileControl& fc, PreForm* owner, const TextPosition& position) {
  cells_.push_back(std::make_unique<TableCell>(fc, owner, position));
  return *cells_.back();
}

void TableCellList::MakeCells(FileControl& fc, PreForm* owner, int n) {
  Free();
  for (int i = 0; i < n; ++i) AddNew(fc, owner, TextPosition());
}

void TableCellList::RemoveRange(int first, int last) {
  const int from = std::max(first + 1, 0);
  const int to = std::min(last, GetCount() - 1);
  if (from > to) return;
  cells_.erase(cells_.begin() + from, cells_.begin() + to + 1);
}

TableCell* TableCellList::GetCell(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return cells_[static_cast<std::size_t>(i)].get();
}
