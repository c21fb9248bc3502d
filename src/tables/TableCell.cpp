#include "tables/TableCell.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tags/TagTextFilters.h"
#include "text/TextMeasure.h"

TableCell::TableCell(FileControl& fc, PreForm* cellOwner, const TextPosition& cellPosition,
                     const FontSpec* cellFont)
    : owner(cellOwner), position(cellPosition) {
  Renew(fc, cellOwner, cellPosition, cellFont);
}

void TableCell::Renew(FileControl& fc, PreForm* cellOwner, const TextPosition& cellPosition,
                      const FontSpec* cellFont) {
  owner = cellOwner;
  position = cellPosition;
  Reset();
  if (cellFont != nullptr)
    font.Assign(*cellFont);
  else if (fc.pGetContext() != nullptr)
    font.Assign(fc.pGetContext()->DefaultCellFont);
  else
    font = FontSpec();
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

void TableCell::CopyFrom(const TableCell& other) {
  if (&other == this) return;
  rawText.Assign(other.rawText);
  text.Assign(other.text);
  prefixText.Assign(other.prefixText);
  secondText.Assign(other.secondText);
  font = other.font;
  position = other.position;
  valueClass = other.valueClass;
  classOverride = other.classOverride;
  row = other.row;
  rowSpan = other.rowSpan;
  for (int i = 0; i < kCellAttributeCount; ++i) attributes[i] = other.attributes[i];
  attributes[0] = 0;
  column = other.column;
  columnSpan = other.columnSpan;
  alignment = other.alignment;
  explicitAlignment = other.explicitAlignment;
  width = other.width;
  lineBreaks = other.lineBreaks;
  level = other.level;
  output = other.output;
  ruleCell = other.ruleCell;
  perCellSetting = other.perCellSetting;
  for (int i = 0; i < 4; ++i) contentFlags[i] = other.contentFlags[i];
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
  // A text without font markers is read in place.
  TextString withoutMarkers;
  std::string_view plain(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  if (plain.find("[[") != std::string_view::npos) {
    RemoveFontMarkers(text, withoutMarkers);
    plain = {withoutMarkers.GetText(), static_cast<std::size_t>(withoutMarkers.GetLength())};
  }
  const int length = static_cast<int>(plain.size());
  const int w = width > 0 ? std::max(width, length) : width;
  int leading = 0;
  while (leading < length && IsBlankOrTab(plain[static_cast<std::size_t>(leading)])) ++leading;
  int trailing = 0;
  while (trailing < length - leading &&
         IsBlankOrTab(plain[static_cast<std::size_t>(length - 1 - trailing)]))
    ++trailing;
  const int middle = length - leading - trailing;
  if (length < w) trailing += w - length;
  if (middle <= 0) return 1;
  if (!keepFullWidth && w > 0 && leading + trailing >= w) return 1;
  if (IsNumericText(plain.data() + leading, middle, numericTable)) return 3;
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
  if (spare_.empty()) {
    cells_.push_back(std::make_unique<TableCell>(fc, owner, position));
    return *cells_.back();
  }
  cells_.push_back(std::move(spare_.back()));
  spare_.pop_back();
  cells_.back()->Renew(fc, owner, position);
  return *cells_.back();
}

void TableCellList::Free() {
  for (auto& cell : cells_) spare_.push_back(std::move(cell));
  cells_.clear();
}

void TableCellList::MakeCells(FileControl& fc, PreForm* owner, int n) {
  Free();
  for (int i = 0; i < n; ++i) AddNew(fc, owner, TextPosition());
}

void TableCellList::RemoveRange(int first, int last) {
  const int from = std::max(first + 1, 0);
  const int to = std::min(last, GetCount() - 1);
  if (from > to) return;
  for (int i = from; i <= to; ++i) spare_.push_back(std::move(cells_[static_cast<std::size_t>(i)]));
  cells_.erase(cells_.begin() + from, cells_.begin() + to + 1);
}

TableCell* TableCellList::GetCell(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return cells_[static_cast<std::size_t>(i)].get();
}

int TableCellList::LastColumn() const {
  long long last = -1;
  for (const auto& cell : cells_)
    last = std::max(last, static_cast<long long>(cell->column) + cell->columnSpan - 1);
  return static_cast<int>(std::min<long long>(last, INT_MAX));
}

TableCell* TableCellList::FindCell(int row, int column) const {
  for (const auto& cell : cells_) {
    if (cell->row == row && cell->column == column) return cell.get();
  }
  return nullptr;
}

// ---- Measurements ----

static bool IsHtmlOutput(const Context& ctx) { return ctx.GetOutputType() == kOutputHtml; }
// RTF cells keep their lines apart with paragraph breaks.
static bool HasRtfParagraphBreaks(const Context& ctx) {
  return ctx.GetOutputType() == kOutputRtf;
}

// Every BR and PARA in-line tag of text (ASCII case ignored) becomes a line feed; with
// outputBreaks also the output's own line breaks ("<BR>" in HTML, "\par " in RTF).
static void MarkLineBreaks(const Context& ctx, int outputBreaks, TextString& text) {
  const TextString& br = ctx.InlineCommands.GetComplete(InlineCommand::Br);
  const TextString& para = ctx.InlineCommands.GetComplete(InlineCommand::Para);
  if (!br.IsEmpty()) text.ReplaceAll(br.GetText(), "\n", 0, 0);
  if (!para.IsEmpty()) text.ReplaceAll(para.GetText(), "\n", 0, 0);
  if (!outputBreaks) return;
  if (IsHtmlOutput(ctx)) text.ReplaceAll("<BR>", "\n", 0, 0);
  if (HasRtfParagraphBreaks(ctx)) text.ReplaceAll("\\par ", "\n", 0, 1);
}

// Calls body(line) for each line-feed separated piece of text, in order.
template <typename Body>
static void ForEachLine(const TextString& text, Body&& body) {
  TextString line;
  int from = 0;
  const int length = text.GetLength();
  while (from <= length) {
    int end = length;
    if (from >= length || !text.FindChar(from, '\n', &end, 1)) end = length;
    line.AssignBytes(text.GetText() + from, end - from);
    body(line);
    from = end + 1;
  }
}

// A line as it is measured: in-line tags out, the output's own markup that prints nothing
// out or blank.
static void PrepareForMeasure(FileControl& fc, Context& ctx, const TextString& line,
                              TextString& out) {
  FilterInlineTags(fc, ctx, nullptr, nullptr, line, out);
  if (IsHtmlOutput(ctx)) out.ReplaceAll("&nbsp;", " ", 0, 0);
  if (HasRtfParagraphBreaks(ctx)) {
    out.ReplaceAll("\\par", "", 0, 1);
    out.ReplaceAll("\\line", "", 0, 1);
  }
}

void TableCell::CountLineBreaks(const Context& ctx) {
  TextString marked(text);
  marked.Trim();
  // The cell tags turn BR into the output's own break, so those count as well.
  MarkLineBreaks(ctx, 1, marked);
  int breaks = 0;
  int first = 1;
  ForEachLine(marked, [&](TextString& line) {
    if (first) {
      first = 0;
      return;
    }
    line.Trim();
    if (!line.IsEmpty()) ++breaks;
  });
  lineBreaks = breaks;
}

int MeasureTableText(FileControl& fc, const Context& ctx, const FontSpec& font,
                     const TextString& text) {
  const int points = SnapPointSizeToHtmlSize(fc, font.GetPointSize());
  const int stretch = fc.GetInt(PolicyId::FontStretchFactorInPercent);
  const int percent =
      static_cast<int>(((stretch + 100) / 100.0 * font.GetWidthFactor() - 1.0) * 100.0);
  const int width = TextWidthTwips(text, points, percent, 0, font.IsBold(), font.IsItalic(), 0);
  return IsHtmlOutput(ctx) ? width * 134 / 100 : width;
}

// The cell's font with the "Default font" and "Table font" policies laid over it where set.
static void MeasuringFont(FileControl& fc, const FontSpec& cellFont, FontSpec& font) {
  font.Assign(cellFont);
  if (fc.IsSet(PolicyId::DefaultFont)) fc.Font(PolicyId::DefaultFont).ApplyToFontSpec(font);
  if (fc.IsSet(PolicyId::TableFont)) fc.Font(PolicyId::TableFont).ApplyToFontSpec(font);
}

int TableCell::MeasureCellWidth(FileControl& fc, Context& ctx, TextString& widestLine) const {
  FontSpec measuring;
  MeasuringFont(fc, font, measuring);
  TextString marked(text);
  MarkLineBreaks(ctx, 1, marked);
  // Every line is measured, also past the counted breaks: a line left out would make the
  // column too narrow for it.
  int widest = 0;
  widestLine.SetEmpty();
  TextString plain;
  ForEachLine(marked, [&](const TextString& line) {
    PrepareForMeasure(fc, ctx, line, plain);
    const int width = MeasureTableText(fc, ctx, measuring, plain);
    if (width <= widest) return;
    widest = width;
    widestLine = plain;
  });
  return widest;
}

static int CountWords(const TextString& text) {
  int words = 0;
  bool inWord = false;
  for (int i = 0; i < text.GetLength(); ++i) {
    const bool blank = IsBlankOrTab(text.CharAt(i));
    if (!blank && !inWord) ++words;
    inWord = !blank;
  }
  return words;
}

int TableCell::EstimateLines(FileControl& fc, Context& ctx, int columnCount, int width,
                             int useBreaks, int fontSize) const {
  const int least = lineBreaks + 1;
  if (useBreaks && lineBreaks > 0) return least;
  TextString plain;
  PrepareForMeasure(fc, ctx, text, plain);
  plain.Trim();
  const int words = CountWords(plain);
  int lines = 1;
  if (width <= 0) {
    const int perLine = column == 1 ? 20 : std::max(65 / std::max(columnCount, 1), 10);
    const long long perCell = static_cast<long long>(perLine) * std::max(columnSpan, 1);
    lines = static_cast<int>(plain.GetLength() / perCell) + 1;
    lines = std::min(lines, words + 1);
    return std::max(lines, least);
  }
  FontSpec measuring;
  MeasuringFont(fc, font, measuring);
  int points = fontSize;
  if (points <= 0)
    points = SnapPointSizeToHtmlSize(fc, fc.GetInt(PolicyId::BaseFONTSizeInPts) +
                                             fc.GetInt(PolicyId::DeltaFONTSizeInPts));
  measuring.SetPointSize(points);
  const int available = width * 20;
  if (MeasureTableText(fc, ctx, measuring, plain) <= available) return least;
  // Greedy layout, a word at a time; a line may run over by a small allowance that grows
  // with the words placed, so that rounding in the estimates does not break a line early.
  TextString word;
  int running = 0;
  int index = 0;
  int pos = 0;
  while (plain.GetNextField(&pos, ' ', word)) {
    if (word.IsEmpty()) continue;
    word.AppendChar(' ');
    const int wordWidth = MeasureTableText(fc, ctx, measuring, word);
    if (running > 0 && running + wordWidth > available + points + index) {
      ++lines;
      running = 0;
    }
    running += wordWidth;
    ++index;
  }
  return std::max(lines, least);
}

bool TableCell::IsEmpty(FileControl& fc, Context& ctx, int levelThreshold) const {
  if (level >= levelThreshold) return false;
  if (attributes[kCellTuMark] != 0 || attributes[kCellDotLeader] != 0 ||
      attributes[kCellNullChar] != 0)
    return false;
  TextString joined(prefixText);
  joined.Append(text);
  joined.Append(secondText);
  joined.Trim();
  if (joined.IsEmpty()) return true;
  TextString rest;
  FilterInlineTags(fc, ctx, nullptr, "EXTRA_LEADING,FOLIO,FONT,COLOR,COLOUR,LEADING,WS", joined,
                   rest);
  if (IsHtmlOutput(ctx)) rest.ReplaceAll("<BR>", "", 0, 0);
  rest.Trim();
  return rest.IsEmpty();
}

void TableCell::MergeLinesFrom(const Context& ctx, TableCell* other) {
  if (other == nullptr) return;
  const char* separator = IsHtmlOutput(ctx) ? "<BR>" : "\\par ";
  TextString mine(text);
  TextString theirs(other->text);
  if (IsHtmlOutput(ctx)) {
    mine.ReplaceAll("<BR>", "\n", 0, 0);
    theirs.ReplaceAll("<BR>", "\n", 0, 0);
  } else if (HasRtfParagraphBreaks(ctx)) {
    mine.ReplaceAll("\\par ", "\n", 0, 1);
    theirs.ReplaceAll("\\par ", "\n", 0, 1);
  }
  // The other's lines in order, taken one by one beside this cell's lines.
  int theirPos = 0;
  TextString theirLine;
  TextString merged;
  int first = 1;
  ForEachLine(mine, [&](const TextString& line) {
    theirLine.SetEmpty();
    if (theirPos <= theirs.GetLength()) {
      int end = theirs.GetLength();
      if (theirPos >= theirs.GetLength() || !theirs.FindChar(theirPos, '\n', &end, 1))
        end = theirs.GetLength();
      theirLine.AssignBytes(theirs.GetText() + theirPos, end - theirPos);
      theirPos = end + 1;
    }
    if (!first) merged.Append(separator);
    first = 0;
    merged.Append(line);
    merged.AppendChar(' ');
    merged.Append(theirLine);
  });
  text = merged;
  other->text.SetEmpty();
}
