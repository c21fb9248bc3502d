// The table parser: the lines of a region become rows of its template row, written as RTF
// table rows or as two-column paragraphs, or only tried for the two-column verdict.

#include <algorithm>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "tables/PreForm.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tags/TextCommandTags.h"
#include "text/StatementTypes.h"

namespace {

// Rows of at most this many lines keep together with the next row.
constexpr int kKeepRowsBelow = 40;

void WriteLine(PreForm& form, const char* text) {
  RTFFile* rtf = form.pGetRTFFile();
  FileControl* fc = form.pGetFileControl();
  if (rtf != nullptr && fc != nullptr)
    (void)rtf->WriteRaw(*fc, rtf, text);
}

void WriteLine(PreForm& form, const TextString& text) { WriteLine(form, text.GetText()); }

void ReportUnsupportedParseType(PreForm& form, int parseType) {
  TextString message("UNSUPPORTED CASE: Parse type ");
  message.AppendNumber('1', parseType, 0);
  form.Report(message.GetText(), 10);
}

bool IsRuleOrRuler(const PreFormLine* line) {
  return line != nullptr && (line->type == kTypeLine || line->ruler != 0);
}

// The generation policies' text commands applied to text.
void ApplyTextCommands(PreForm& form, TextString& text) {
  TableGenerationPolicies* generation = form.pGetGenerationPolicies();
  FileControl* fc = form.pGetFileControl();
  if (generation == nullptr || fc == nullptr || generation->GetTextCommands().GetCount() == 0)
    return;
  TextString result;
  TextCommandTags host;
  (void)generation->GetTextCommands().Apply(*fc, &host, *form.workLine2, text, result);
  text.Assign(result);
}

// The paragraph codes of a paragraph kind's style.
void AppendStyleFormat(FileControl& fc, RTFFile& rtf, int kind, TextString& out) {
  const int styleIndex = GetParagraphStyleCode(fc, kind);
  if (styleIndex < 0)
    return;
  TextString format;
  BuildParagraphFormat(fc, rtf, styleIndex, rtf.GetContext().Styles.GetRecord(styleIndex),
                       format);
  out.Append(format);
}

}  // namespace

void PreForm::SetRowLineCounts(TableCellList& row, int value) {
  for (int k = 0; k < row.GetCount(); ++k)
    row.GetCell(k)->lineBreaks = value;
}

int PreForm::HeaderRulerTest() {
  if (layout_ != nullptr && layout_->headerRows.value > 0)
    return 1;
  const int r = rulerLineCount;
  const int f = firstRuler;
  const int s = secondRuler;
  const int l = lastRuler;
  const int n = GetLineCount();
  if ((r == 1 && f == 1 && n == 3) || (r == 1 && f < 4 && f < n - 2) ||
      (r == 2 && f < 4 && f < n - 2 && l == n - 1) ||
      (r == 3 && s < 4 && s < n - 2 && l == n - 1))
    return 1;
  auto isRuler = [this](int i) {
    const PreFormLine* line = GetLine(i);
    return line != nullptr && line->ruler != 0;
  };
  if (r == 3 && (isRuler(0) || isRuler(1)) && (isRuler(2) || isRuler(3) || isRuler(4)) &&
      (isRuler(n - 1) || isRuler(n - 2))) {
    for (int i = 4; i >= 2; --i) {
      if (isRuler(i)) {
        firstRuler = i;
        break;
      }
    }
    return 1;
  }
  return 0;
}

void PreForm::OpenTable(int& border, int& headerRuler) {
  headerRuler = HeaderRulerTest();
  if (ctx_ != nullptr)
    ++ctx_->TableCounter;
  const int n = GetLineCount();
  const int keepLines =
      generation_ != nullptr && generation_->Bool(GenerationPolicyId::KeepOriginalLines).value;
  const IntPolicy* borderSize =
      generation_ != nullptr ? &generation_->Int(GenerationPolicyId::BorderSize) : nullptr;
  const int contentLines =
      n - headerLineCount - policyLineCount - blankLineCount - rulerLineCount;
  if (borderSize != nullptr && borderSize->set)
    border = borderSize->value >= 1 ? 1 : 0;
  else if (headerRuler && n > 3 && !keepLines)
    border = 1;
  else if (rulerLineCount > 1 || firstRuler >= 4 || contentLines < 4)
    border = 0;
  else if (GetColumnCount() == 2 && columns_[0]->mostlyEmpty)
    border = 0;
  else
    border = keepLines ? 0 : 1;
  if (rtfOutput)
    WriteLine(*this, "{");
}

void PreForm::OpenTwoColumnText(int& headerRuler) {
  headerRuler = HeaderRulerTest();
  if (!rtfOutput || rtf_ == nullptr || fc_ == nullptr)
    return;
  const int firstWidth = GetColumnCount() > 0 ? columns_[0]->width : 0;
  int hang = (firstWidth / 360) * 360 + 360;
  if (fc_->GetInt(PolicyId::MakeWindowsHelpSourceFile))
    hang += 360;
  const int left = hang + ((indentColumn + 3) / 6) * rtf_->GetIndentStep();
  TextString opening("{");
  AppendStyleFormat(*fc_, *rtf_, kParagraphDefinition, opening);
  opening.Append("\\li");
  opening.AppendNumber('1', left, 0);
  opening.Append("\\fi");
  opening.AppendNumber('1', -hang, 0);
  opening.Append("\\widctlpar\\jclisttab\\tx");
  opening.AppendNumber('1', left, 0);
  WriteLine(*this, opening);
}

void PreForm::OpenParsedTable(int parseType, int& border, int& headerRuler) {
  border = 0;
  headerRuler = 0;
  switch (parseType) {
    case kParseTrial:
      if (GetColumnCount() != 2 || columns_[0]->mostlyEmpty)
        twoColumnText = 0;
      break;
    case kParseRtfTable:
      OpenTable(border, headerRuler);
      break;
    case kParseTwoColumn:
      OpenTwoColumnText(headerRuler);
      break;
    default:
      if (parseType > 3)
        ReportUnsupportedParseType(*this, parseType);
      break;
  }
}

void PreForm::CloseParsedTable(int parseType) {
  if (parseType == kParseRtfTable || parseType == kParseTwoColumn) {
    if (rtfOutput)
      WriteLine(*this, "}");
  } else if (parseType > 3) {
    ReportUnsupportedParseType(*this, parseType);
  }
}

void PreForm::WriteParsedRow(int parseType, int lineIndex, int force) {
  switch (parseType) {
    case kParseTrial: {
      const TableCell* first = row_.GetCell(0);
      if (first == nullptr)
        return;
      // A header line above a ruler near the top may take two lines.
      const int limit =
          lineIndex < 4 && lineIndex < GetLineCount() - 1 && GetLine(lineIndex + 1)->ruler
              ? 2
              : 1;
      if (first->lineBreaks > limit)
        twoColumnText = 0;
      break;
    }
    case kParseRtfTable:
      WriteParsedTableRow(lineIndex, force);
      break;
    case kParseTwoColumn:
      WriteTwoColumnRow(lineIndex);
      break;
    default:
      if (parseType > 3)
        ReportUnsupportedParseType(*this, parseType);
      break;
  }
}

void PreForm::AddCellLineBreak(int parseType, int column) {
  if (parseType == kParseTrial)
    return;
  TableCell* cell = row_.GetCell(column);
  if (cell == nullptr || cell->lineBreaks == 0)
    return;
  if (twoColumnText)
    cell->text.Append(" ");
  else if (rtfOutput)
    cell->text.Append("\\par ");
}

void PreForm::WriteParsedTableRow(int index, int force) {
  const int count = std::min(row_.GetCount(), GetColumnCount());
  if (count == 0 || fc_ == nullptr)
    return;
  if (!force) {
    bool any = false;
    for (int k = 0; k < count && !any; ++k)
      any = !row_.GetCell(k)->text.IsEmpty();
    if (!any)
      return;
  }
  const int lines = GetLineCount();
  const int help = fc_->GetInt(PolicyId::MakeWindowsHelpSourceFile);

  int edge = 0;
  for (int k = 0; k < count; ++k) {
    edge += columns_[static_cast<size_t>(k)]->width + 216;
    columns_[static_cast<size_t>(k)]->rightEdge = edge;
  }

  int left = 0;
  const int tableIndent = generation_ != nullptr ? generation_->GetTableIndent() : 0;
  if (tableIndent != 0)
    left = std::max(0, tableIndent * 20);
  else
    left = fc_->GetIndentLevel(indentColumn) * 360 - 108;

  TextString borders;
  if (!help) {
    if (index < lines - 1 && IsRuleOrRuler(GetLine(index + 1)))
      borders.Append("\\clbrdrb\\brdrs");
    if (index > 0 && IsRuleOrRuler(GetLine(index - 1)))
      borders.Append("\\clbrdrt\\brdrs");
  }

  TextString text("\\trowd ");
  if (generation_ != nullptr && generation_->Align(GenerationPolicyId::Alignment).set) {
    const int alignment = generation_->Align(GenerationPolicyId::Alignment).value;
    if (alignment == 2 || alignment == 4)
      text.Append("\\trqc");
    else if (alignment == 3)
      text.Append("\\trqr");
  }
  text.Append("\\trgaph108\\trleft");
  text.AppendNumber('1', left, 0);
  WriteLine(*this, text);

  text.SetEmpty();
  for (int k = 0; k < count;) {
    const int span = std::max(1, row_.GetCell(k)->columnSpan);
    const int last = std::min(count - 1, k + span - 1);
    text.Append(borders);
    text.Append("\\cellx");
    text.AppendNumber('1', left + columns_[static_cast<size_t>(last)]->rightEdge, 0);
    k += span;
  }
  WriteLine(*this, text);

  const bool keepable = lines >= 2 && lines < kKeepRowsBelow && !help;
  text.SetEmpty();
  if (index < lines - 1 || (lines == 1 && index == 0)) {
    text.Assign(keepable ? "\\keepn\\widctlpar\\intbl\\adjustright"
                         : "\\widctlpar\\intbl\\adjustright");
    if (rtf_ != nullptr)
      AppendStyleFormat(*fc_, *rtf_, kParagraphPreformatted, text);
  } else {
    text.Assign("\\widctlpar\\intbl\\adjustright");
  }
  WriteLine(*this, text);
  WriteLine(*this, "{");

  const int headerLimit = parseLeadingBlanks + fixedHeaderIndex;
  for (int k = 0; k < count;) {
    TableCell& cell = *row_.GetCell(k);
    const int span = std::max(1, cell.columnSpan);
    cellLine.Assign(cell.text);
    if (cellLine.IsEmpty())
      cellLine.Assign(" ");
    cellCodes.SetEmpty();
    const bool bold = cell.attributes[kCellHeader] != 0 || index < headerLimit ||
                      k < headerColumnCount;
    if (bold)
      cellCodes.Append("\\b ");
    (void)ApplyCellTags(&cell, cellLine, cell.position);
    ApplyTextCommands(*this, cellLine);
    if (k == 0)
      cellLine.Insert(0, keepable && index < lines - 1 ? "\\keepn\\intbl " : "\\intbl ");
    if (cell.alignment == 2)
      cellCodes.Append("\\qc ");
    else if (cell.alignment == 3)
      cellCodes.Append("\\qr ");
    if (cellCodes.IsEmpty()) {
      cellLine.Append("\\cell");
    } else {
      cellLine.Insert(0, cellCodes.GetText());
      cellLine.Insert(0, "{");
      if (bold)
        cellLine.Append("\\b0 ");
      cellLine.Append("\\cell}");
    }
    WriteLine(*this, cellLine);
    k += span;
  }
  WriteLine(*this, "}\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row }");
}

void PreForm::WriteTwoColumnRow(int /*index*/) {
  TableCell* first = row_.GetCell(0);
  if (first == nullptr)
    return;
  TableCell* second = row_.GetCell(1);
  (void)ApplyCellTags(first, first->text, first->position);
  if (second != nullptr)
    (void)ApplyCellTags(second, second->text, second->position);
  ApplyTextCommands(*this, first->text);
  if (second != nullptr)
    ApplyTextCommands(*this, second->text);
  if (!rtfOutput)
    return;
  if (second != nullptr && first->lineBreaks == 0 && second->lineBreaks == 0)
    return;
  first->text.Trim();
  WriteLine(*this, "{");
  cellLine.Assign(first->text);
  cellLine.Append("\\tab");
  WriteLine(*this, cellLine);
  if (second != nullptr) {
    second->text.Trim();
    WriteLine(*this, second->text);
  } else {
    WriteLine(*this, "");
  }
  WriteLine(*this, "\\par}");
}

// ---- The parser ----

void PreForm::ParseTable(int parseType) {
  if (parseType != kParseTrial && rtfOutput && rtf_ == nullptr) {
    Report("PROGRAM ERROR : No RTFFile inside ParseTable", 10);
    return;
  }
  if (fc_ == nullptr)
    return;
  int border = 0;
  int headerRuler = 0;
  OpenParsedTable(parseType, border, headerRuler);
  RebuildRow(row_);
  RebuildRow(workRow);
  const int lines = GetLineCount();

  if (headerRuler) {
    if (layout_ != nullptr && layout_->headerRows.value >= 1) {
      fixedHeaderIndex = layout_->headerRows.value;
    } else {
      const int f = firstRuler;
      fixedHeaderIndex = f == 0 ? secondRuler : (f < lines - 1 ? f : 0);
    }
    if (fixedHeaderIndex > lines / 2)
      fixedHeaderIndex = 0;
  }
  if (layout_ != nullptr && layout_->headerCols.value > 0)
    headerColumnCount = layout_->headerCols.value;

  const bool keepLines =
      generation_ != nullptr && generation_->Bool(GenerationPolicyId::KeepOriginalLines).value;
  const bool separateRows =
      generation_ != nullptr && generation_->Bool(GenerationPolicyId::DataAsSeparateRows).value;
  const bool multipleSpans = layout_ != nullptr && layout_->multipleColspan.value;
  const int count = std::min(row_.GetCount(), workRow.GetCount());

  if (parseType != kParseTrial && generation_ != nullptr &&
      generation_->Text(GenerationPolicyId::ColumnHeaders).set) {
    for (int k = 0; k < count; ++k) {
      TableCell& cell = *row_.GetCell(k);
      const ColumnFormat* format = generation_->GetColumn(k);
      cell.text.Assign(format != nullptr ? format->header.GetText() : "");
      cell.text.ReplaceAll("\\n", "\\par", 0, 1);
      cell.attributes[kCellHeader] = 1;
      cell.columnSpan = 1;
      cell.alignment = 2;
      cell.explicitAlignment = 2;
    }
    SetRowLineCounts(row_, 1);
    WriteParsedRow(parseType, 0, 0);
  }

  // The highest column holding text of a line gathered into the row, -1 for none. A row is
  // written cell after cell, so a line joins it only where its text comes after all of that:
  // text put in a column left of it would be written before the lines above it.
  int lastFilled = -1;
  auto noteFilled = [&]() {
    for (int k = count - 1; k > lastFilled; --k) {
      if (!workRow.GetCell(k)->text.IsEmpty()) {
        lastFilled = k;
        return;
      }
    }
  };
  // The line in the work row would put text left of what the row holds. The trial writes
  // nothing, and its verdict counts the lines a first cell gathers.
  auto outOfOrder = [&]() {
    if (parseType == kParseTrial)
      return false;
    for (int k = 0; k < lastFilled; ++k) {
      if (!workRow.GetCell(k)->text.IsEmpty())
        return true;
    }
    return false;
  };
  // The template row gathers lines from no line at all.
  auto prepare = [this, &lastFilled](int lineIndex) {
    PrepareRow(row_, lineIndex);
    SetRowLineCounts(row_, 0);
    lastFilled = -1;
  };
  auto flush = [&](int i) {
    WriteParsedRow(parseType, i - 1, 0);
    prepare(i);
  };
  auto copyWorkRow = [&]() {
    for (int k = 0; k < count; ++k)
      row_.GetCell(k)->CopyFrom(*workRow.GetCell(k));
  };
  prepare(-1);
  parseLeadingBlanks = 0;
  int lastWritten = -1;
  bool seen = false;

  for (int i = 0; i < lines; ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type != kTagChangePolicy)
      SplitLine(workRow, i, 0);
    if (line.blank && !seen)
      ++parseLeadingBlanks;
    if (!line.blank)
      seen = true;
    const int headerEnd = fixedHeaderIndex + parseLeadingBlanks;

    if (line.type == kTagChangePolicy) {
      if (parseType > 3)
        fc_->ReportMessage("UNSUPPORTED CASE: Policy line inside ParseTable", 10);
      else if (parseType != kParseTrial)
        ApplyRegionPolicyLine(line);
    } else if (line.blank && sparseTable) {
      WriteParsedRow(parseType, i - 1, 0);
      prepare(i);
      WriteParsedRow(parseType, i, 1);
      prepare(i);
      lastWritten = i - 1;
    } else if (line.blank && border == 0) {
      flush(i);
      lastWritten = i - 1;
    } else if (line.blank) {
      for (int k = 0; k < count; ++k) {
        AddCellLineBreak(parseType, k);
        if (parseType != kParseTrial || !workRow.GetCell(k)->text.IsEmpty())
          ++row_.GetCell(k)->lineBreaks;
      }
    } else if (line.ruler && sparseTable) {
      flush(i);
      lastWritten = i;
    } else if (line.ruler && (border == 0 || keepLines)) {
      if (i > headerEnd || keepLines) {
        WriteParsedRow(parseType, i - 1, 0);
        for (int k = 0; k < row_.GetCount(); ++k) {
          row_.GetCell(k)->Reset();
          row_.GetCell(k)->position = FirstEndPosition();
        }
        lastFilled = -1;
        lastWritten = i - 1;
      } else {
        flush(i);
        lastWritten = i;
      }
    } else if (line.ruler) {
      flush(i);
      lastWritten = i - 1;
    } else if (sparseTable) {
      const bool newRow = i > headerEnd && (delimited || separateRows);
      bool ambiguous = false;
      for (int k = 0; k < count && parseType != kParseTrial; ++k) {
        const int was = row_.GetCell(k)->columnSpan;
        const int now = workRow.GetCell(k)->columnSpan;
        if (was == now)
          continue;
        ambiguous = true;
        if (!multipleSpans) {
          TextString message("WARNING: Ambiguous ColSpan Creating new row at (");
          message.AppendNumber('1', i, 0);
          message.Append(",");
          message.AppendNumber('1', k, 0);
          message.Append(") was ");
          message.AppendNumber('1', was, 0);
          message.Append(" now ");
          message.AppendNumber('1', now, 0);
          Report(message.GetText(), 10);
        }
      }
      if (newRow || ambiguous || outOfOrder())
        flush(i);
      noteFilled();
      for (int k = 0; k < count; ++k) {
        AddCellLineBreak(parseType, k);
        TableCell& cell = *row_.GetCell(k);
        const TableCell& work = *workRow.GetCell(k);
        if (parseType == kParseTrial) {
          if (!work.text.IsEmpty())
            ++cell.lineBreaks;
          continue;
        }
        if (cell.lineBreaks == 0 && work.columnSpan > 1)
          cell.columnSpan = work.columnSpan;
        if (!work.text.IsEmpty())
          cell.text.Append(work.text);
        ++cell.lineBreaks;
        if (cell.columnSpan == work.columnSpan)
          continue;
        if (work.columnSpan < cell.columnSpan) {
          for (int m = k + 1; m < std::min(count, k + cell.columnSpan); ++m) {
            cell.text.Append(" ");
            cell.text.Append(workRow.GetCell(m)->text);
          }
        } else if (k + 1 < count && ctx_ != nullptr) {
          const int nextSpan = workRow.GetCell(k + 1)->columnSpan + 1;
          const int span = std::max(work.columnSpan, nextSpan);
          cell.MergeLinesFrom(*ctx_, row_.GetCell(k + 1));
          cell.columnSpan = span;
          row_.GetCell(k + 1)->columnSpan = 1;
        }
      }
    } else if (line.hasSpanningCell) {
      WriteParsedRow(parseType, i - 1, 0);
      prepare(i);
      copyWorkRow();
      SetRowLineCounts(row_, 1);
      WriteParsedRow(parseType, i, 0);
      prepare(i + 1);
      lastWritten = i;
    } else if (!delimited && line.nonEmptyCells == 1 && line.firstNonEmptyCell >= 0 &&
               line.firstNonEmptyCell < count) {
      const int f = line.firstNonEmptyCell;
      if (outOfOrder()) {
        flush(i);
        lastWritten = i - 1;
      }
      noteFilled();
      AddCellLineBreak(parseType, f);
      row_.GetCell(f)->text.Append(workRow.GetCell(f)->text);
      ++row_.GetCell(f)->lineBreaks;
    } else if (!delimited && line.allBeforeLastEmpty && line.lastCellEmpty) {
      flush(i);
      lastWritten = i;
    } else if (i > headerEnd && (delimited || separateRows)) {
      WriteParsedRow(parseType, i - 1, 0);
      prepare(i);
      copyWorkRow();
      noteFilled();
      if (rtfOutput) {
        for (int k = 0; k < count; ++k) {
          TableCell& cell = *row_.GetCell(k);
          cell.text.Insert(0, "{");
          cell.text.Append("}");
        }
      }
      SetRowLineCounts(row_, 1);
      lastWritten = i - 1;
    } else {
      if (outOfOrder()) {
        flush(i);
        lastWritten = i - 1;
      }
      noteFilled();
      for (int k = 0; k < count; ++k) {
        TableCell& cell = *row_.GetCell(k);
        if (!cell.text.IsEmpty())
          cell.text.Append(rtfOutput ? "\\par" : " ");
        if (rtfOutput)
          cell.text.Append("{");
        cell.text.Append(workRow.GetCell(k)->text);
        if (rtfOutput)
          cell.text.Append("}");
        ++cell.lineBreaks;
      }
    }
    PrepareRow(workRow, i);
  }
  if (lastWritten != lines - 1) {
    WriteParsedRow(parseType, lastWritten + 1, 0);
    prepare(lastWritten + 2);
  }
  CloseParsedTable(parseType);
  // The trial runs inside the analysis, which goes on with one empty cell per column.
  if (parseType == kParseTrial)
    RebuildRow(row_);
  else
    row_.Free();
  workRow.Free();
}
