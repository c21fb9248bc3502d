#include "tables/PreForm.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/TextClassification.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "text/StatementTypes.h"

void PreFormColumn::Renew(int startPosition, int gapEndPosition, int boundaryPosition,
                          int columnScore) {
  static_cast<PreFormColumnFields&>(*this) = PreFormColumnFields();
  start = startPosition;
  gapEnd = gapEndPosition;
  boundary = boundaryPosition;
  score = columnScore;
  ClearStatistics();
}

void PreFormColumn::ClearStatistics() {
  alignmentKinds.Clear();
  spans.Clear();
  emptiness.Clear();
  alphanumeric.Clear();
  symbolLike.Clear();
  numeric.Clear();
  width = 0;
}

PreForm::PreForm(RTFFile* rtf, FileControl* fc, void* data, PreHTML* firstLine)
    : rtf_(rtf), fc_(nullptr), ctx_(nullptr), data_(nullptr) {
  Begin(fc, data, firstLine);
  workLine = TakeWorkLine();
  workLine2 = TakeWorkLine();
}

void PreForm::Begin(FileControl* fc, void* data, PreHTML* firstLine) {
  fc_ = fc;
  data_ = data;
  ctx_ = nullptr;
  if (rtf_ != nullptr)
    ctx_ = &rtf_->GetContext();
  else if (fc_ != nullptr)
    ctx_ = fc_->pGetContext();
  if (ctx_ != nullptr) {
    rtfOutput = ctx_->GetOutputType() == 1 ? 1 : 0;
    htmlOutput = ctx_->GetOutputType() == 0 ? 1 : 0;
  }
  firstEnd_ = TextPosition();
  if (firstLine != nullptr)
    firstEnd_ = firstLine->GetEndPosition();
}

void PreForm::Restart(FileControl* fc, void* data, PreHTML* firstLine) {
  static_cast<PreFormFindings&>(*this) = PreFormFindings();
  indentRemoved_ = 0;
  splitWork_.SetEmpty();
  for (auto& line : lines_)
    spareLines_.push_back(std::move(line));
  lines_.clear();
  positionStats_.clear();
  DropColumns(0, GetColumnCount());
  row_.Free();
  headerCells.Free();
  dataCells.Free();
  workRow.Free();
  unplacedCell.reset();
  for (auto* line : {&workLine, &workLine2, &cellTagLine_}) {
    if (*line)
      spareWorkLines_.push_back(std::move(*line));
  }
  if (layout_ && layout_->GetName().IsEmpty())
    spareLayout_ = std::move(layout_);
  layout_.reset();
  if (generation_ && generation_->GetName().IsEmpty())
    spareGeneration_ = std::move(generation_);
  generation_.reset();
  Begin(fc, data, firstLine);
  workLine = TakeWorkLine();
  workLine2 = TakeWorkLine();
}

std::unique_ptr<PreHTML> PreForm::TakeWorkLine() {
  if (spareWorkLines_.empty())
    return std::make_unique<PreHTML>();
  std::unique_ptr<PreHTML> line = std::move(spareWorkLines_.back());
  spareWorkLines_.pop_back();
  line->Renew();
  return line;
}

std::unique_ptr<PreFormColumn> PreForm::MakeColumn(int start, int gapEnd, int boundary,
                                                   int score) {
  if (spareColumns_.empty())
    return std::make_unique<PreFormColumn>(start, gapEnd, boundary, score);
  std::unique_ptr<PreFormColumn> column = std::move(spareColumns_.back());
  spareColumns_.pop_back();
  column->Renew(start, gapEnd, boundary, score);
  return column;
}

void PreForm::DropColumns(int first, int end) {
  if (first >= end)
    return;
  for (int k = first; k < end; ++k)
    spareColumns_.push_back(std::move(columns_[static_cast<size_t>(k)]));
  columns_.erase(columns_.begin() + first, columns_.begin() + end);
}

PreForm::~PreForm() = default;

void PreForm::SetLayout(std::unique_ptr<TableLayout> layout) { layout_ = std::move(layout); }

void PreForm::SetGenerationPolicies(std::unique_ptr<TableGenerationPolicies> generation) {
  generation_ = std::move(generation);
}

void PreForm::Report(const char* message, int level) {
  if (fc_ == nullptr) {
    std::fprintf(stderr, "%s\n", message);
    return;
  }
  if (ctx_ != nullptr && (ctx_->RegionQuiet != 0 || ctx_->RegionQuiet2 != 0))
    return;
  if (level < 10 - fc_->GetInt(PolicyId::ErrorReportingLevel))
    return;
  reportLevel = std::max(reportLevel, level);
  if (!reportText.IsEmpty())
    reportText.Append("\n           ");
  reportText.Append(message);
}

// ---- Adding lines ----

// The "[[fo" ... "]]" font marker of a raw line goes to the Context; the line keeps none of
// it.
static void TakeFontMarker(Context* ctx, TextString& raw) {
  int open = -1;
  if (!raw.Find(0, "[[fo", &open, 1, 0))
    return;
  int close = -1;
  if (!raw.Find(open, "]]", &close, 1, 0))
    return;
  TextString marker;
  marker.AssignSubstring(raw.GetText(), open, close + 2 - open);
  raw.ReplaceAll(marker.GetText(), "", 0, 1);
  if (ctx != nullptr)
    ctx->RegionFontMarker.Assign(marker);
}

// The tabs that may delimit fields: those after the line's first text. Tabs that indent the
// line (a drawing set in by tabs) delimit nothing.
static int CountTabs(const TextString& text) {
  int tabs = 0;
  bool inText = false;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    inText = inText || (c != ' ' && c != '\t');
    if (inText && c == '\t')
      ++tabs;
  }
  return tabs;
}

void PreForm::AddLine(PreHTML* line) {
  if (line == nullptr)
    return;
  std::unique_ptr<PreFormLine> added;
  if (spareLines_.empty()) {
    added = std::make_unique<PreFormLine>();
  } else {
    added = std::move(spareLines_.back());
    spareLines_.pop_back();
    *added = PreFormLine();
  }
  PreFormLine& l = *added;
  l.raw.Assign(line->GetRawCopy());
  TakeFontMarker(ctx_, l.raw);
  l.output.Assign(line->GetMarkup());
  l.work.Assign(line->GetTidy());
  l.output.Trim(1);
  l.work.Trim(1);
  l.raw.Trim(1);
  l.workLength = l.work.GetLength();
  l.indent = std::max(0, line->GetIndent());
  l.type = line->GetLineType();
  l.start = line->GetStartPosition();
  l.end = line->GetEndPosition();
  if (lines_.empty() && !firstEnd_.IsSet())
    firstEnd_ = l.end;

  // The line's text is its rendering after in-line tags were run.
  TextString tagged(*line);
  tagged.Trim();
  if (l.workLength - l.indent > 0) {
    maxLineLength = std::max(maxLineLength, l.workLength);
    minLineLength = minLineLength < 0 ? l.workLength : std::min(minLineLength, l.workLength);
    if (!tagged.IsEmpty() && l.workLength > 0 && !IsRuleLine(line->GetText()))
      minIndent = std::min(minIndent, l.indent);
  }
  if (line->HasFlag(kFlagMailHeader))
    ++mailHeaderLineCount;
  if (!tagged.IsEmpty()) {
    const int tabs = CountTabs(l.raw);
    minTabCount = std::min(minTabCount, tabs);
    maxTabCount = std::max(maxTabCount, tabs);
  }
  lines_.push_back(std::move(added));
}

std::unique_ptr<RegionWriter> MakePreFormRegion(RTFFile* writer, FileControl* fc, void* data,
                                                PreHTML* firstLine) {
  return std::make_unique<PreForm>(writer, fc, data, firstLine);
}
