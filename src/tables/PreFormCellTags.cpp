// The in-line tags of table cells: each changes the table's layout, the cell or the cell's
// text, or is run by the general tag execution.
#include "tables/PreForm.h"

#include <algorithm>
#include <array>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tables/TableCell.h"
#include "policy/TableLayout.h"
#include "tags/LineTags.h"
#include "tags/TagInterpreter.h"
#include "analysis/TagServices.h"
#include "text/StatementTypes.h"

namespace {

enum class CellTag : int {
  Font,
  Tu,
  Tu2,
  DotLeaders,
  Quad,
  Leading,
  LineRule,
  Br,
  Currency,
  Gutter,
  Em,
  VerticalAlignment,
  StubIndent,
  Super,
  Sub,
  Ws,
  NullChar,
  Valign,
  TocLink,
  CancelHang,
  CancelLead,
  Color,
  Colour,
  Folio,
  Baseline,
  Ot,
  Ct,
  Version,
  Text,
};

struct CellTagRow {
  const char* keyword;
  CellTag tag;
};

// Compared in this order, ASCII case ignored; the first match applies.
constexpr CellTagRow kCellTags[] = {
    {"FONT", CellTag::Font},
    {"TU", CellTag::Tu},
    {"TU2", CellTag::Tu2},
    {"DOT_LEADERS", CellTag::DotLeaders},
    {"QUAD", CellTag::Quad},
    {"LEADING", CellTag::Leading},
    {"LINERULE", CellTag::LineRule},
    {"BR", CellTag::Br},
    {"CURRENCY", CellTag::Currency},
    {"GUTTER", CellTag::Gutter},
    {"EM", CellTag::Em},
    {"VERTICAL_ALIGNMENT", CellTag::VerticalAlignment},
    {"STUB_INDENT", CellTag::StubIndent},
    {"SUPER", CellTag::Super},
    {"SUB", CellTag::Sub},
    {"WS", CellTag::Ws},
    {"NULL_CHAR", CellTag::NullChar},
    {"VALIGN", CellTag::Valign},
    {"TOCLINK", CellTag::TocLink},
    {"CANCEL_HANG", CellTag::CancelHang},
    {"CANCEL_LEAD", CellTag::CancelLead},
    {"COLOR", CellTag::Color},
    {"COLOUR", CellTag::Colour},
    {"FOLIO", CellTag::Folio},
    {"BASELINE", CellTag::Baseline},
    {"OT", CellTag::Ot},
    {"CT", CellTag::Ct},
    {"VERSION", CellTag::Version},
    {"TEXT", CellTag::Text},
};

const CellTagRow* FindCellTag(const TextString& keyword) {
  for (const CellTagRow& row : kCellTags) {
    if (keyword.Compare(row.keyword, 0, 0)) return &row;
  }
  return nullptr;
}

}  // namespace

// What becomes of a tag in the cell text.
enum class TagFate : int { MoveOn, Remove, Replace, Execute, Unhandled };

// The rule of a cell's LINERULE: a right tab at stop twips, struck through.
static void MakeCellLineRule(FileControl& fc, const TextString& arguments, TextString& out) {
  int stop = 0;
  if (ReadTagNumber(arguments, 1, stop))
    stop *= 20;
  else
    stop = fc.GetInt(PolicyId::UseLandscapeMode) != 0 ? 15704 : 8280;
  out.Assign("{\\pard\\plain \\s1\\tqr\\intbl\\tx");
  out.AppendNumber('1', stop, 0);
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters) != 0)
    out.Append("\\loch\\af5\\hich\\af5\\dbch\\f16");
  out.Append("\\line {\\strike\\tab}\\par}");
}

void PreForm::ReportCellTag(const char* message, const TextString& tagText) {
  work.Assign(message);
  work.Append(tagText);
  Report(work.GetText(), 10);
}

void PreForm::ParseCellTags(int pass, TableCell& cell, PreHTML& cellText, int& position,
                            int tagStart, int tagEnd, const TextString& tagText, int& handled) {
  handled = 0;
  if (!CanWriteTable()) return;
  FileControl& fc = TableFc();
  Context& ctx = TableCtx();
  TableLayout& layout = TableLayoutOf();
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = -1;
  TagFate fate = TagFate::Unhandled;
  TextString replacement;
  int executeMode = pass;
  const int recognised = RecogniseTag(fc, ctx, tagText, keyword, arguments, message, level);
  // The keywords of cells count as known here, also those the general list does not hold.
  const CellTagRow* row = FindCellTag(keyword);
  if (recognised == 0 && (row == nullptr || level < 0 || !message.StartsWith("Unrecognised", 1))) {
    if (!(TableCtx().RegionQuiet != 0 || TableCtx().RegionQuiet2 != 0)) {
      TextString text("TAG ERROR: ");
      text.Append(message);
      Report(text.GetText(), level);
    }
    fate = TagFate::Remove;
  } else {
    const CellTag tag = row ? row->tag : CellTag::Text;
    const bool layoutPass = pass == 1;
    const bool headCell = cell.attributes[kCellHeader] != 0;
    if (row == nullptr) {
      fate = TagFate::Execute;
    } else {
      switch (tag) {
        case CellTag::Font: {
          FontSpec scratch(layout.font);
          FontSpec& target = layoutPass ? layout.font : scratch;
          if (ParseFontArguments(fc, ctx, nullptr, keyword, arguments, target) == 0)
            ReportCellTag("TAG ERROR: Invalid FONT tag in table cell: ", tagText);
          fate = layoutPass ? TagFate::MoveOn : TagFate::Execute;
          break;
        }
        case CellTag::Tu:
        case CellTag::Tu2:
          cell.attributes[kCellTuMark] = tag == CellTag::Tu ? 1 : 2;
          fate = layoutPass ? TagFate::MoveOn : TagFate::Remove;
          break;
        case CellTag::DotLeaders:
          layout.dotLeadersUsed = 1;
          cell.attributes[kCellDotLeader] = 1;
          fate = TagFate::Remove;
          break;
        case CellTag::Quad: {
          int alignment = 0;
          if (!GetTagAlignment(fc, arguments, 1, alignment)) {
            ReportCellTag("TAG ERROR: Invalid QUAD tag in table cell: ", tagText);
          } else {
            if (cell.attributes[kCellQuadAlignment] != -1)
              ReportCellTag("TAG ERROR: Duplicate QUAD tag in table cell: ", tagText);
            cell.attributes[kCellQuadAlignment] = alignment;
          }
          replacement.Assign("\\par ");
          cell.attributes[kCellLineBreak] = 1;
          fate = TagFate::Replace;
          break;
        }
        case CellTag::Leading:
          if (layoutPass) {
            int height = 0;
            if (ReadTagNumber(arguments, 1, height) && height > 0) layout.font.SetLineHeight(height);
            fate = TagFate::MoveOn;
          } else {
            fate = TagFate::Execute;
          }
          break;
        case CellTag::LineRule:
          if (layoutPass) {
            fate = TagFate::MoveOn;
          } else {
            MakeCellLineRule(fc, arguments, replacement);
            fate = TagFate::Replace;
          }
          break;
        case CellTag::Br:
          replacement.Assign("\\par ");
          cell.attributes[kCellLineBreak] = 1;
          fate = TagFate::Replace;
          break;
        case CellTag::Currency:
        case CellTag::Gutter:
          fate = TagFate::MoveOn;
          break;
        case CellTag::Em:
          replacement.Assign("--");
          fate = TagFate::Replace;
          break;
        case CellTag::VerticalAlignment: {
          if (!headCell) {
            Report("TAG ERROR: VERTICAL_ALIGNMMENT tag only allowed in header cells", 10);
          } else {
            int value = 0;
            if (!ReadTagNumber(arguments, 1, value)) {
              ReportCellTag("TAG ERROR: Failed to parse - ", tagText);
            } else {
              if (cell.attributes[kCellVerticalAlignment] != 0)
                Report("WARNING: Vertical alignment multiply defined for header cell", 9);
              cell.attributes[kCellVerticalAlignment] = value;
            }
          }
          fate = TagFate::Remove;
          break;
        }
        case CellTag::StubIndent:
          layout.stubIndentUsed = 1;
          ParseStubIndent(cell, arguments, tagText);
          fate = TagFate::Remove;
          break;
        case CellTag::Super:
        case CellTag::Sub:
        case CellTag::Folio:
          fate = layoutPass ? TagFate::MoveOn : TagFate::Execute;
          break;
        case CellTag::Ws:
          fate = layoutPass ? TagFate::MoveOn : TagFate::Remove;
          break;
        case CellTag::NullChar:
          cell.attributes[kCellNullChar] = 1;
          fate = TagFate::Remove;
          break;
        case CellTag::Valign: {
          int alignment = 0;
          if (!GetTagVerticalAlignment(fc, arguments, 1, alignment)) {
            ReportCellTag("TAG ERROR: Invalid VALIGN tag in table cell: ", tagText);
          } else {
            if (cell.attributes[kCellVerticalAlignment] != 0)
              ReportCellTag("TAG ERROR: Duplicate VALIGN tag in table cell: ", tagText);
            cell.attributes[kCellVerticalAlignment] = alignment;
          }
          fate = TagFate::Remove;
          break;
        }
        case CellTag::TocLink: {
          TextString value;
          (void)ReadTagText(arguments, 1, value, "yes");
          value.ToLower();
          if (value.Find(0, "no", nullptr, 1, 0)) {
            cell.attributes[kCellTocLink] = 2;
          } else if (value.Find(0, "yes", nullptr, 1, 0)) {
            cell.attributes[kCellTocLink] = 1;
          } else {
            TextString text("TAG_ERROR: Invalid TOCLINK value \"");
            text.Append(value);
            text.Append("\" in row ");
            text.AppendNumber('1', cell.row, 0);
            fc.ReportMessage(text.GetText(), 10);
          }
          fate = TagFate::Remove;
          break;
        }
        case CellTag::CancelHang:
        case CellTag::CancelLead:
          fate = TagFate::Remove;
          break;
        case CellTag::Color:
        case CellTag::Colour:
          if (layoutPass) {
            TextString colour;
            (void)ParseColourArguments(fc, ctx, nullptr, keyword, arguments, colour);
            layout.font.SetColour(colour);
            fate = TagFate::MoveOn;
          } else {
            fate = TagFate::Execute;
          }
          break;
        case CellTag::Baseline:
          if (headCell)
            cell.attributes[kCellBaseline] = 1;
          else
            Report("TAG ERROR: BASELINE tag is only valid inside a HEAD_CELL", 10);
          fate = TagFate::Remove;
          break;
        case CellTag::Ot:
        case CellTag::Ct:
        case CellTag::Version:
        case CellTag::Text:
          executeMode = kTagModeKeepText;
          fate = TagFate::Execute;
          break;
      }
    }
  }
  ApplyTagFate(static_cast<int>(fate), executeMode, cellText, position, tagStart, tagEnd, tagText, replacement,
               handled);
}

void PreForm::ParseStubIndent(TableCell& cell, const TextString& arguments,
                              const TextString& tagText) {
  if (cell.attributes[kCellHeader] != 0) {
    Report("TAG ERROR: STUB_INDENT tag only allowed in data cells", 10);
    return;
  }
  if (cell.column != 1) {
    TextString text("TAG ERROR: STUB_INDENT tag only allowed in column 1, not at [");
    text.AppendNumber('1', cell.row, 0);
    text.AppendChar(',');
    text.AppendNumber('1', cell.column, 0);
    text.AppendChar(']');
    Report(text.GetText(), 10);
    return;
  }
  int value = 0;
  if (!ReadTagNumber(arguments, 1, value)) {
    ReportCellTag("TAG ERROR: Failed to parse - ", tagText);
    return;
  }
  if (cell.attributes[kCellStubIndent] != -1) Report("WARNING: STUB_INDENT multiply defined", 9);
  cell.attributes[kCellStubIndent] = value;
  TableColumn* first = TableLayoutOf().GetColumn(1);
  if (value <= 0 || first == nullptr) return;
  // 0 marks a column that has met no stub indent.
  if (first->smallestStubIndent == 0 || value < first->smallestStubIndent)
    first->smallestStubIndent = value;
  first->largestStubIndent = std::max(first->largestStubIndent, value);
}

void PreForm::ApplyTagFate(int fateCode, int executeMode, PreHTML& cellText, int& position,
                           int tagStart, int tagEnd, const TextString& tagText,
                           const TextString& replacement, int& handled) {
  const auto fate = static_cast<TagFate>(fateCode);
  const int tagLength = tagEnd - tagStart;
  switch (fate) {
    case TagFate::MoveOn:
      position = tagEnd;
      handled = 1;
      return;
    case TagFate::Replace:
      cellText.ReplaceSpan(tagStart, tagLength, replacement.GetText());
      position = tagStart + replacement.GetLength();
      handled = 1;
      return;
    case TagFate::Execute: {
      // The tag runs on a line of its own, so that what it puts in its place is spliced in
      // where the tag stands and is never scanned again.
      if (!cellTagLine_) cellTagLine_ = std::make_unique<PreHTML>();
      PreHTML& scratch = *cellTagLine_;
      scratch.Assign(tagText);
      TextString message;
      int level = -1;
      handled = HandleTagFallback(scratch, executeMode, tagText, TableFc(), TableCtx(), message,
                                  level) != 0
                    ? 1
                    : 0;
      if (level >= 0 && !message.IsEmpty()) Report(message.GetText(), level);
      // A tag that put nothing in its place leaves the cell: its text is no output.
      if (handled && !scratch.Compare(tagText.GetText(), 1, 0)) {
        cellText.ReplaceSpan(tagStart, tagLength, scratch.GetText());
        position = tagStart + scratch.GetLength();
        return;
      }
      break;
    }
    case TagFate::Remove:
    case TagFate::Unhandled:
      handled = 0;
      break;
  }
  // Removed, or not handled: the tag leaves the cell text, which is trimmed.
  cellText.ReplaceSpan(tagStart, tagLength, "");
  const int before = cellText.GetLength();
  int leading = 0;
  while (leading < before && (cellText.CharAt(leading) == ' ' || cellText.CharAt(leading) == '\t'))
    ++leading;
  cellText.Trim();
  position = std::max(tagStart - leading, 0);
  position = std::min(position, cellText.GetLength());
  if (fate == TagFate::Remove) handled = 1;
}
