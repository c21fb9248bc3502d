// The analysis of a pre-formatted region: classing its lines, the statistics of its
// character positions, finding its columns and the tests that tell a table from code, a
// mail header, a diagram or indented text.

#include <algorithm>
#include <memory>

#include "analysis/LineClassTests.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tables/PreForm.h"
#include "policy/TableLayout.h"
#include "text/StatementTypes.h"

namespace {
// Lines longer than this are no ruler, however they are made.
constexpr int kRulerMinimumLength = 15;
// A common indent at or beyond this is left in place.
constexpr int kMaxRemovedIndent = 80;
}  // namespace

static bool IsRuleChar(char c) { return c == '+' || c == '-' || c == '=' || c == '_' || c == '~'; }

// The fewest ticks of a bit diagram's ruler: "+-+-+-+-+" marks four bits.
constexpr int kMinimumTicks = 5;

// A ruler of '+' ticks at every other column ("+-+-+-+-+") marks the bits of a packet or
// register diagram: its columns are one character wide, so it draws rather than frames cells.
static bool IsTickRuler(const TextString& text) {
  int at = 0;
  while (at < text.GetLength() && text.CharAt(at) == ' ')
    ++at;
  int ticks = 0;
  while (at < text.GetLength() && text.CharAt(at) == '+') {
    ++ticks;
    const bool tickFollows = at + 1 < text.GetLength() && text.CharAt(at + 1) == '-';
    at += tickFollows ? 2 : 1;
    if (!tickFollows)
      break;
  }
  for (; at < text.GetLength(); ++at) {
    if (text.CharAt(at) != ' ')
      return false;
  }
  return ticks >= kMinimumTicks;
}

void PreForm::ClassifyLines() {
  codeLineCount = blankLineCount = rulerLineCount = tickRulerCount = policyLineCount = 0;
  leadingBlankLines = trailingBlankLines = 0;
  firstRuler = secondRuler = lastRuler = -1;
  const int n = GetLineCount();
  for (int i = 0; i < n; ++i) {
    PreFormLine& l = *lines_[static_cast<size_t>(i)];
    l.ruler = 0;
    l.blank = 0;
    if (i >= headerLineCount && LooksLikeSourceCode(l.work, false))
      ++codeLineCount;
    if (l.type == kTagChangePolicy && !l.work.IsEmpty()) {
      ++policyLineCount;
      continue;
    }
    const int length = l.work.GetLength();
    int blanks = 0;
    int rules = 0;
    int separators = 0;
    for (int j = 0; j < length; ++j) {
      const char c = l.work.CharAt(j);
      if (c == ' ')
        ++blanks;
      else if (IsRuleChar(c))
        ++rules;
      else if (c == ':' || c == '|')
        ++separators;
    }
    if (blanks == length) {
      l.blank = 1;
      if (i >= headerLineCount)
        ++blankLineCount;
      continue;
    }
    const bool ruler = (blanks + rules + separators) * 100 > length * 95 &&
                       rules * 100 > length * 30 && length > kRulerMinimumLength;
    if (!ruler)
      continue;
    l.ruler = 1;
    if (i >= headerLineCount)
      ++rulerLineCount;
    if (IsTickRuler(l.work))
      ++tickRulerCount;
    if (firstRuler < 0)
      firstRuler = i;
    else if (secondRuler < 0)
      secondRuler = i;
    lastRuler = i;
  }
  int i = headerLineCount;
  while (i < n && lines_[static_cast<size_t>(i)]->blank) {
    ++leadingBlankLines;
    ++i;
  }
  // A region of blank lines counts them as leading only, so the blank count never goes
  // below 0.
  const int firstCounted = i;
  for (int k = n - 1; k >= firstCounted && lines_[static_cast<size_t>(k)]->blank; --k)
    ++trailingBlankLines;
  blankLineCount -= leadingBlankLines + trailingBlankLines;
}

// A ruler with a junction in it ("----+----") marks column boundaries more surely than the
// text lines, so it weighs more.
static int RulerWeight(const PreFormLine& l) {
  if (!l.ruler)
    return 1;
  const TextString& text = l.output;
  for (int j = 1; j < text.GetLength(); ++j) {
    const char c = text.CharAt(j);
    const char before = text.CharAt(j - 1);
    if (c != before && c != ' ' && before != ' ')
      return 5;
  }
  return 1;
}

// A ':' separates columns unless it is part of an address ("http:", "://") or of a time
// ("12:30:45").
static bool IsColonSeparator(const TextString& text, int j, int maxLength) {
  if (j > 2 && text.CharAt(j - 2) == 't' && text.CharAt(j - 1) == 'p')
    return false;
  if (j < maxLength - 6 && text.CharAt(j + 1) == '/' && text.CharAt(j + 2) == '/')
    return false;
  if (j > 2 && text.CharAt(j - 3) == ':')
    return false;
  if (j < maxLength - 3 && text.CharAt(j + 3) == ':')
    return false;
  return true;
}

void PreForm::CollectPositionStatistics() {
  if (!positionStats_.empty() || maxLineLength <= 0)
    return;
  const int maxLength = maxLineLength;
  positionStats_.assign(static_cast<size_t>(maxLength), ColumnPositionStats{});
  // Positions past a line's end read as blank; they are counted once per line at the
  // line's end and summed afterwards, so the work stays linear in the region's text.
  std::vector<int>& blankTail = blankTail_;
  blankTail.assign(static_cast<size_t>(maxLength) + 1, 0);
  int totalWeight = 0;
  const int n = GetLineCount();
  for (int i = std::max(0, headerLineCount + policyLineCount); i < n; ++i) {
    const PreFormLine& l = *lines_[static_cast<size_t>(i)];
    if (l.blank)
      continue;
    const int weight = RulerWeight(l);
    totalWeight += weight;
    const TextString& text = l.work;
    const int end = std::min(text.GetLength(), maxLength);
    for (int j = 0; j < end; ++j) {
      ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
      const char c = text.CharAt(j);
      int blank = 0;
      int separator = 0;
      if (c == ' ' || c == '\t') {
        blank = 1;
      } else if (c == '+') {
        separator = j > 0 && (text.CharAt(j - 1) == '-' || text.CharAt(j - 1) == '=') ? 1 : 0;
      } else if (c == ':') {
        separator = IsColonSeparator(text, j, maxLength) ? 1 : 0;
      } else if (c == '*' || c == '|') {
        separator = 1;
      }
      p.blankCount[blank] += weight;
      p.separatorCount[separator] += weight;
    }
    blankTail[static_cast<size_t>(end)] += weight;
  }
  int tail = 0;
  for (int j = 0; j < maxLength; ++j) {
    tail += blankTail[static_cast<size_t>(j)];
    ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
    p.blankCount[1] += tail;
    p.separatorCount[0] += tail;
    p.samples = totalWeight;
  }
}

// The most frequent of two values counted in count; on a tie the lower value, as in a
// frequency table kept in value order; emptyValue when nothing was counted.
static int MostFrequent(const int (&count)[2], int emptyValue) {
  if (count[0] == 0 && count[1] == 0)
    return emptyValue;
  return count[1] > count[0] ? 1 : 0;
}

void PreForm::AddColumn(int start, int gapEnd, int boundary, int score) {
  columns_.push_back(MakeColumn(start, gapEnd, boundary, score));
  if (fc_ != nullptr)
    row_.AddNew(*fc_, this, FirstEndPosition());
}

void PreForm::DetectColumns(int minSeparation) {
  DropColumns(0, GetColumnCount());
  row_.Free();
  separatorDelimited = 0;
  const int maxLength = std::max(maxLineLength, 0);
  const int s = minSeparation;
  CollectPositionStatistics();
  const int positions = static_cast<int>(positionStats_.size());
  const bool sparse = layout_ != nullptr && layout_->expectSparseTables.value != 0;
  const int bodyLines = GetLineCount() - headerLineCount - policyLineCount;
  const double threshold = bodyLines < 6 ? 0.5 : (bodyLines < 100 ? 0.8 : 0.9);
  int separatorRuns = 0;
  for (int j = 0; j < positions; ++j) {
    ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
    p.mostlySeparator = MostFrequent(p.separatorCount, 0);
    p.mostlyBlank = MostFrequent(p.blankCount, 1);
    p.samples = p.separatorCount[0] + p.separatorCount[1];
    p.blankSamples = p.blankCount[1];
    p.separatorSamples = p.separatorCount[1];
    if (p.mostlySeparator && (j == 0 || !positionStats_[static_cast<size_t>(j - 1)].mostlySeparator))
      ++separatorRuns;
    if (!sparse) {
      p.gap = p.mostlyBlank || p.mostlySeparator ? 1 : 0;
      continue;
    }
    const int divisor = p.samples - rulerLineCount;
    int numerator = p.blankCount[1];
    if (numerator == 0)
      numerator = p.mostlySeparator ? p.separatorSamples : 0;
    const double ratio = divisor != 0 ? static_cast<double>(numerator) / divisor : 0.0;
    p.gap = ratio > threshold ? 1 : 0;
  }
  auto qualifies = [this, positions](int j) {
    if (j < 0 || j >= positions)
      return false;
    const ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
    return p.gap != 0 || p.mostlySeparator != 0;
  };
  const int limit = std::min(maxLength - s - 1, positions - 1);

  if (separatorRuns > 2) {
    separatorDelimited = 1;
    int start = 1;
    int lastSeparator = -1;
    for (int j = 1; j <= limit; ++j) {
      const ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
      if (!p.mostlySeparator)
        continue;
      AddColumn(start, j, j, p.separatorSamples);
      start = j + 1;
      lastSeparator = j;
    }
    AddColumn(lastSeparator + 1, maxLength - 1, maxLength - 1, -1);
    return;
  }

  int columnStart = -1;
  int lastGapEnd = -1;
  int bestScore = 0;
  int bestSamples = 0;
  int bestPosition = 0;
  int bestSeparator = 0;
  // Qualifying positions in a row up to j: a gap is wide when the last s of them qualify.
  int run = qualifies(0) ? 1 : 0;
  for (int j = 1; j <= limit; ++j) {
    if (!qualifies(j)) {
      run = 0;
      continue;
    }
    ++run;
    const ColumnPositionStats& p = positionStats_[static_cast<size_t>(j)];
    if (j == 1 || !qualifies(j - 1)) {
      if (columnStart < 0)
        columnStart = j;
      bestScore = bestSamples = bestPosition = bestSeparator = 0;
    }
    const int score = p.blankSamples + p.separatorSamples;
    if (score > bestScore || (score == bestScore && (!bestSeparator || p.mostlySeparator))) {
      bestScore = score;
      bestSamples = p.samples;
      bestPosition = j;
      bestSeparator = p.mostlySeparator;
    }
    if (qualifies(j + 1))
      continue;
    const bool wide = run >= s;
    const bool clear =
        bestSamples == 0 || static_cast<double>(bestScore) / bestSamples > 0.6;
    if (!wide || !clear)
      continue;
    AddColumn(columnStart, j, bestPosition, bestScore);
    columnStart = j + 1;
    lastGapEnd = j;
  }
  AddColumn(lastGapEnd + 1, maxLength - 1, maxLength - 1, -1);
}

// ---- The fixed-width analysis ----

void PreForm::RemoveCommonIndent() {
  const int m = minIndent;
  if (m <= 0 || m >= kMaxRemovedIndent)
    return;
  for (auto& line : lines_) {
    if (line->type == kTagChangePolicy)
      continue;
    if (line->work.GetLength() < m)
      line->work.SetEmpty();
    else
      line->work.KeepFrom(m);
    line->workLength = line->work.GetLength();
  }
  maxLineLength = std::max(maxLineLength - m, 1);
  minLineLength = std::max(minLineLength - m, 1);
  indentRemoved_ = 1;
}

int PreForm::BodyLines() const {
  return GetLineCount() - headerLineCount - policyLineCount - rulerLineCount - blankLineCount;
}

void PreForm::PlaceColumns(int minSeparation) {
  const int layoutColumns = layout_->GetColumnCount();
  const TableColumn* first = layout_->GetColumn(1);
  if (layoutColumns == 0 || first == nullptr || first->firstPosition < 0) {
    DetectColumns(minSeparation);
    if (layoutColumns > 0)
      CheckLayoutColumns();
    return;
  }
  ColumnsFromLayout();
}

void PreForm::TestRegionKind() {
  const int v = BodyLines();
  if (fc_->GetInt(PolicyId::ExpectCodeSamples) && v >= 1 &&
      static_cast<double>(codeLineCount) / v > 0.7) {
    Report("INFO: Code sample detected", 4);
    code = 1;
    tableLike = 0;
  }
  if (v >= 1 && static_cast<double>(mailHeaderLineCount) / v > 0.7) {
    Report("INFO: Mail header detected", 4);
    mailHeader = 1;
    tableLike = 0;
  }
  const int p = GetLineCount() - headerLineCount - policyLineCount;
  const double h =
      p >= 1 && blankLineCount >= rulerLineCount ? static_cast<double>(blankLineCount) / p : 0.0;
  if (layout_->blankLineSeparated.value &&
      ((h > 0.15 && blankLineCount > 2) || (h > 0.1 && blankLineCount >= 1)))
    sparseTable = 1;
}

// One round of merging; returns 1 when columns were merged.
int PreForm::MergeRound(int& mergeCount) {
  ComputeColumnParts(kColumnStatistics);
  const int factor = layout_->columnMergingFactor.value;
  const bool sparse = layout_->expectSparseTables.value != 0;
  const bool movable = !separatorDelimited && !fixedColumns;
  int merged = 0;
  if (movable && !sparse && GetColumnCount() > 1 && columns_.back()->mostlyEmpty) {
    MergeLastColumn();
    ++mergeCount;
    merged = 1;
  }
  if (factor > 4 && movable && !merged) {
    for (int j = 0; j < GetColumnCount() - 1; ++j) {
      if (columns_[static_cast<size_t>(j)]->spanMode > 1 && MergeColumns(j, j + 1))
        merged = 1;
    }
  }
  if (factor > 4 && movable && !sparse && !merged) {
    for (int i = 1; i <= GetColumnCount() - 3; ++i) {
      if (!columns_[static_cast<size_t>(i)]->mostlyEmpty)
        continue;
      if (MergeColumns(i - 1, i)) {
        mergeCount = 0;
        merged = 1;
      }
      break;
    }
  }
  if (!merged && factor >= 5 && sparseTable && movable && MergeSparseSpans()) {
    mergeCount = 0;
    merged = 1;
  }
  if (!merged)
    ComputeColumnParts(kColumnWidths);
  return merged;
}

// Every round splits every line again, and a round may merge a single pair of columns, so
// a region of thousands of columns would take thousands of rounds over all its text. The
// rounds stop at a fixed number instead: no table of ordinary width gets near it.
void PreForm::MergeUntilSettled(int& mergeCount) {
  for (int round = 1; MergeRound(mergeCount); ++round) {
    if (round < kMaxMergeRounds)
      continue;
    TextString message("WARNING: Column merging stopped after ");
    message.AppendNumber('1', kMaxMergeRounds, 0);
    message.Append(" rounds with ");
    message.AppendNumber('1', GetColumnCount(), 0);
    message.Append(" columns");
    Report(message.GetText(), 10);
    ComputeColumnStatistics();
    return;
  }
}

// In a table whose rows are separated by blank lines, a cell that spans two columns of
// which one is not numeric shows that the two are one column.
int PreForm::MergeSparseSpans() {
  const int n = GetLineCount();
  for (int i = std::max(0, headerLineCount); i < n; ++i) {
    const bool previousBlank = i == 0 || lines_[static_cast<size_t>(i - 1)]->blank;
    const bool nextText = i + 1 < n && !lines_[static_cast<size_t>(i + 1)]->blank;
    if (!nextText && previousBlank)
      continue;
    SplitLine(row_, i, 1);
    const int columns = GetColumnCount();
    for (int k = 0; k <= columns - 3; ++k) {
      const TableCell* cell = row_.GetCell(k);
      if (cell == nullptr || cell->columnSpan <= 1)
        continue;
      if (columns_[static_cast<size_t>(k)]->isNumeric && columns_[static_cast<size_t>(k + 1)]->isNumeric)
        continue;
      return MergeColumns(k, k + 1);
    }
  }
  return 0;
}

void PreForm::MarkTextBlocks() {
  const int columns = GetColumnCount();
  if (columns == 2 && columns_[0]->alwaysEmpty) {
    textBlock = 1;
    tableLike = 0;
  }
  if (columns == 1) {
    const bool framed = GetLineCount() == 3 && rulerLineCount == 1 && lines_[1]->ruler;
    if (!framed) {
      tableLike = 0;
      if (minIndent >= fc_->GetInt(PolicyId::PageWidth) / 4) {
        textBlock = 1;
        if (minIndent > 0)
          IndentTextBlock(minIndent);
      }
    }
  }
  if (textBlock)
    ComputeColumnStatistics();
}

// A one-column text block gets its indent back as an empty first column.
void PreForm::IndentTextBlock(int m) {
  // An indent left on the lines (80 or more) stays there: the new column covers it.
  if (GetColumnCount() != 1 || (!indentRemoved_ && maxLineLength <= m))
    return;
  const int shift = indentRemoved_ ? m : 0;
  columns_.insert(columns_.begin(), MakeColumn(0, m - 1, m - 1, m - 1));
  PreFormColumn& text = *columns_[1];
  text.gapEnd += shift;
  text.boundary += shift;
  positionStats_.clear();
  if (shift > 0) {
    maxLineLength += shift;
    minLineLength += shift;
    TextString blanks;
    for (int k = 0; k < shift; ++k)
      blanks.AppendChar(' ');
    for (auto& line : lines_) {
      if (line->type == kTagChangePolicy)
        continue;
      line->work.Insert(0, blanks.GetText());
      line->workLength += shift;
      if (line->firstNonEmptyCell >= 0)
        ++line->firstNonEmptyCell;
    }
  }
  PreFormColumn& indent = *columns_[0];
  indent.mostlyEmpty = 1;
  indent.alwaysEmpty = 1;
  minIndent = 0;
  if (fc_ != nullptr)
    row_.AddNew(*fc_, this, FirstEndPosition());
}

void PreForm::TestForDiagram() {
  int textWidth = 0;
  int symbolWidth = 0;
  int allWidth = 0;
  const int columns = GetColumnCount();
  for (int k = 0; k < columns; ++k) {
    const PreFormColumn& c = *columns_[static_cast<size_t>(k)];
    const int from = k == 0 ? 0 : columns_[static_cast<size_t>(k - 1)]->boundary + 1;
    const int to = k == columns - 1 ? maxLineLength : c.boundary;
    const int width = to - from;
    if (c.textLike)
      textWidth += width;
    if (c.symbolic)
      symbolWidth += width;
    allWidth += width;
  }
  if (!fc_->GetInt(PolicyId::LookForDiagrams) || fixedColumns)
    return;
  // Split at its ticks, a bit diagram would become a table of one-character columns whose
  // rulers vanish as borders, its '|' fields cut apart; drawn as it stands it keeps every
  // tick and label in place.
  const bool bitDiagram = tickRulerCount > 0;
  if (textWidth != 0 && separatorDelimited && !bitDiagram)
    return;
  if (textWidth < symbolWidth || 4 * textWidth < allWidth || bitDiagram) {
    Report("INFO: Diagram detected", 4);
    diagram = 1;
    tableLike = 0;
  }
}

namespace {
struct MalformedLimit {
  int maxLines;  // the limits hold up to this many body lines
  double spanExcess;
  double spanningShare;
};
constexpr MalformedLimit kMalformedLimits[] = {
    {4, 1.5, 0.67},
    {9, 0.7, 0.5},
    {19, 0.5, 0.25},
    {1 << 30, 0.4, 0.2},
};
}  // namespace

// Many cells that span columns mean the columns found do not fit the text.
bool PreForm::IsMalformed() const {
  const int v = BodyLines();
  if (v <= 0)
    return false;
  const int cells = v >= 20 ? windowSpanningCells : spanningCells;
  const int excess = v >= 20 ? windowSpanningSum : spanningSum;
  const double g = static_cast<double>(excess) / v;
  const double f = static_cast<double>(cells) / v;
  for (const MalformedLimit& limit : kMalformedLimits) {
    if (v <= limit.maxLines)
      return g > limit.spanExcess && f > limit.spanningShare;
  }
  return false;
}

void PreForm::TestForMalformedTable() {
  if (!IsMalformed())
    return;
  if (!fc_->GetInt(PolicyId::LookForDiagrams) || layout_->columnMergingFactor.value <= 1 ||
      separatorDelimited || fixedColumns)
    return;
  Report("WARNING: Mal-formed table", 7);
  diagram = 1;
  tableLike = 0;
}

void PreForm::OfferAllCells() {
  const int n = GetLineCount();
  for (int i = 0; i < n; ++i) {
    if (lines_[static_cast<size_t>(i)]->type == kTagChangePolicy)
      continue;
    SplitLine(row_, i, 1);
    const int inHeader = i < fixedHeaderIndex ? 1 : 0;
    for (int k = 0; k < row_.GetCount(); ++k)
      OfferCellValue(i, k, inHeader, row_.GetCell(k)->text);
  }
}

void PreForm::EnsureLayout() {
  if (layout_ == nullptr)
    layout_ = std::make_unique<TableLayout>(TextString("Default"));
}

void PreForm::AnalyseFixedWidth() {
  if (fc_ == nullptr)
    return;
  EnsureLayout();
  RemoveCommonIndent();
  if (fixedColumns)
    return;
  ClassifyLines();
  CollectPositionStatistics();
  const int policySeparation = layout_->minimumColumnSeparation.value;
  int s = policySeparation;
  if (GetLineCount() <= 5 && s < 2)
    s = 2;
  int mergeCount = 0;
  for (;;) {
    if (s == policySeparation || s < 8)
      PlaceColumns(s);
    TestRegionKind();
    if (GetColumnCount() == 2) {
      ComputeColumnStatistics();
      twoColumnText = 1;
      TryTwoColumnText();
    }
    MergeUntilSettled(mergeCount);
    MarkTextBlocks();
    TestForDiagram();
    TestForMalformedTable();
    if (!tableLike || fixedColumns)
      break;
    const int factor = layout_->columnMergingFactor.value;
    if (mergeCount == 0) {
      if (factor < 2 || GetColumnCount() < 3 || s > 1)
        break;
      const int before = GetColumnCount();
      DetectColumns(2);
      if (GetColumnCount() < 2) {
        DetectColumns(1);
        break;
      }
      s = 2;
      TextString message("INFO: Increasing min column separation in table to ");
      message.AppendNumber('1', 2, 0);
      message.Append(" spaces.");
      int level = 2;
      if (GetColumnCount() != before) {
        message.Append(" Changes No. Cols from ");
        message.AppendNumber('1', before, 0);
        message.Append(" to ");
        message.AppendNumber('1', GetColumnCount(), 0);
        level = 10;
      }
      Report(message.GetText(), level);
      ComputeColumnStatistics();
      continue;
    }
    if (factor > 1 && !layout_->minimumColumnSeparation.set && separatorDelimited) {
      s *= 2;
      mergeCount = 0;
      TextString message("INFO: Increasing min column separation in table to ");
      message.AppendNumber('1', s, 0);
      message.Append(" spaces");
      Report(message.GetText(), 10);
      continue;
    }
    break;
  }
  if (GetColumnCount() > 0 && columns_[0]->width == 0)
    ComputeColumnStatistics();
  OfferAllCells();
}

// ---- Delimited data ----

void PreForm::AnalyseDelimited() {
  if (fc_ == nullptr)
    return;
  EnsureLayout();
  minIndent = maxLineLength = minLineLength = -1;
  ClassifyLines();
  const int n = GetLineCount();
  int widest = 0;
  TextString field;
  for (int i = 0; i < n; ++i) {
    const PreFormLine& l = *lines_[static_cast<size_t>(i)];
    if (l.type == kTagChangePolicy)
      continue;
    const int inHeader = i < fixedHeaderIndex ? 1 : 0;
    int fields = 0;
    int pos = 0;
    if (delimiter == ',') {
      while (ReadCsvField(pos, l.raw, delimiter, field))
        OfferCellValue(i, fields++, inHeader, field);
    } else {
      while (l.raw.GetNextField(&pos, delimiter, field))
        OfferCellValue(i, fields++, inHeader, field);
    }
    widest = std::max(widest, fields);
  }
  DropColumns(0, GetColumnCount());
  row_.Free();
  for (int k = 0; k < widest; ++k)
    AddColumn(-1, -1, -1, -1);
  if (layout_->GetColumnCount() > 0) {
    while (layout_->GetColumnCount() < widest)
      layout_->AddColumn();
  }
  ComputeColumnStatistics();
  const int p = n - headerLineCount - policyLineCount;
  const double h = p != 0 && blankLineCount >= rulerLineCount
                       ? static_cast<double>(blankLineCount) / p
                       : 0.0;
  if (layout_->blankLineSeparated.value && h > 0.1)
    sparseTable = 1;
}

void PreForm::Analyse() {
  if (userPre || userCode || userDiagram || userTagged || underwriter || invertedPyramid)
    return;
  if (delimited) {
    AnalyseDelimited();
    return;
  }
  AnalyseFixedWidth();
}
