// User-tagged tables: rows and cells marked by NEW_ROW, NEW_CELL and COLUMN_DETAILS directive
// lines are gathered into groups of cells and written by the table writer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tables/PreForm.h"
#include "tables/TableCell.h"
#include "policy/TableLayout.h"
#include "tags/DirectivePreprocessor.h"
#include "tags/TagInterpreter.h"
#include "analysis/TagServices.h"
#include "text/StatementTypes.h"

// One group of a user table: header cells and data cells, written as one call of the table
// writer. A new group starts with the first row and with every change to head rows.
struct PreForm::UserTableGroup {
  TableCellList header;
  TableCellList data;
  int laidOut = 0;
};

namespace {

// The width text of a column that is not a plausible width: above this many points (22
// inches, the widest page word processors set up), or below 0.
constexpr double kMaxColumnWidthPoints = 1584.0;

// The unit a width text ends with, removed from it, and what one of it is in points.
struct WidthUnit {
  const char* suffix;
  double points;
};
// Longer suffixes first, so that "pts" is not read as "pt" followed by "s".
constexpr WidthUnit kWidthUnits[] = {
    {"pts", 1.0}, {"pt", 1.0}, {"px", 1.0}, {"ins", 72.0}, {"in", 72.0}, {"cm", 72.0 / 2.54},
};

}  // namespace

int ReadUserColumnWidth(const TextString& text, int& points) {
  TextString number(text);
  number.Trim();
  double scale = 1.0;
  for (const WidthUnit& unit : kWidthUnits) {
    if (!number.EndsWith(unit.suffix, 0))
      continue;
    number.SetLength(number.GetLength() - static_cast<int>(std::strlen(unit.suffix)));
    number.Trim();
    scale = unit.points;
    break;
  }
  if (number.IsEmpty())
    return 0;
  double value = 0;
  if (!number.ParseDouble(&value) || !std::isfinite(value))
    return 0;
  const double width = value * scale;
  if (width < 0.0 || width > kMaxColumnWidthPoints)
    return 0;
  points = static_cast<int>(std::lround(width));
  return 1;
}

bool PreForm::IsUserTableDirective(const PreFormLine& line, Directive& directive) const {
  if (line.type == kTagChangePolicy) {
    directive = Directive::ChangePolicy;
    return true;
  }
  // As the reader, which takes a line for a directive only when the prefix begins it.
  if (!StartsWithDirectivePrefix(*ctx_, line.raw))
    return false;
  if (!MatchDirective(*ctx_, line.raw, directive))
    directive = Directive::Title;  // a prefix without a known keyword: ignored below
  return true;
}

bool PreForm::ReadUserDirectiveArguments(const PreFormLine& line, TextString& arguments,
                                         bool report) {
  TextString keyword;
  TextString message;
  int level = -1;
  if (RecogniseTag(*fc_, *ctx_, line.raw, keyword, arguments, message, level))
    return true;
  if (report && !message.IsEmpty() && level >= 0)
    Report(message.GetText(), level);
  return false;
}

int PreForm::ReadUserRowKind(const PreFormLine& line, int kind, bool report) {
  TextString arguments;
  if (!ReadUserDirectiveArguments(line, arguments, report))
    return kind;
  TextString value;
  (void)GetTagTextOrDefault(*fc_, arguments, 1, value, "DATA");
  if (value.Compare("data", 0, 0))
    return kUserRowData;
  if (value.Compare("line", 0, 0))
    return kUserRowLine;
  if (value.Compare("head", 0, 0))
    return kUserRowHead;
  return kind;
}

void PreForm::ReadUserColumnDetails(const PreFormLine& line) {
  TextString arguments;
  if (!ReadUserDirectiveArguments(line, arguments, true))
    return;
  TableLayout& layout = *layout_;
  int number = -1;
  if (!GetTagNumber(*fc_, arguments, 1, number) || number < 1 ||
      number > layout.GetColumnCount())
    return;
  TableColumn& column = *layout.GetColumn(number);
  int alignment = 0;
  if (GetTagAlignment(*fc_, arguments, 4, alignment) && alignment != 0) {
    // A column given an alignment is configured, so that its cells are written with it.
    column.alignment = alignment;
    column.configured = 1;
  }
  TextString widthText;
  if (GetTagText(*fc_, arguments, 5, widthText) == 0)
    return;
  int points = 0;
  if (ReadUserColumnWidth(widthText, points) == 0) {
    Report("TAG ERROR: Unable to read column width", 10);
    return;
  }
  column.width = points;
}

void PreForm::ParseUserTable() {
  if (fc_ == nullptr || ctx_ == nullptr || rtf_ == nullptr)
    return;
  if (layout_ == nullptr)
    MakeLayout();
  if (generation_ == nullptr)
    MakeGenerationPolicies();
  if (!CanWriteTable())
    return;
  FileControl& fc = *fc_;
  Context& ctx = *ctx_;
  if (!ctx.DirectiveNames.IsBuilt())
    ctx.BuildTagNames(&fc, nullptr);
  const int lineCount = GetLineCount();

  // First pass: the number of groups, the widest row and whether columns are described.
  int kind = kUserRowNone;
  int groupCount = 0;
  int cells = 0;
  int widestRow = 0;
  bool details = false;
  for (int i = 0; i < lineCount; ++i) {
    const PreFormLine& line = *GetLine(i);
    Directive directive = Directive::Title;
    if (!IsUserTableDirective(line, directive))
      continue;
    if (directive == Directive::NewRow) {
      // The second pass reports what does not read.
      const int next = ReadUserRowKind(line, kind, false);
      if (kind == kUserRowNone || (next == kUserRowHead && kind != kUserRowHead))
        ++groupCount;
      kind = next;
      cells = 0;
    } else if (directive == Directive::NewCell) {
      widestRow = std::max(widestRow, ++cells);
    } else if (directive == Directive::ColumnDetails) {
      details = true;
    }
  }

  TableLayout& layout = *layout_;
  layout.SetColumns(widestRow, nullptr);
  if (details) {
    for (int i = 0; i < lineCount; ++i) {
      const PreFormLine& line = *GetLine(i);
      Directive directive = Directive::Title;
      if (IsUserTableDirective(line, directive) && directive == Directive::ColumnDetails)
        ReadUserColumnDetails(line);
    }
  }
  for (int c = 0; c < widestRow; ++c)
    AddColumn(-1, -1, -1, 0);
  for (int i = 0; i < lineCount; ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy)
      ApplyRegionPolicyLine(line);
  }

  // Second pass: the cells, each filled with the lines that follow it.
  std::vector<std::unique_ptr<UserTableGroup>> groups;
  groups.reserve(static_cast<std::size_t>(groupCount));
  if (!unplacedCell)
    unplacedCell = std::make_unique<TableCell>(fc, this, FirstEndPosition(), &layout.font);
  const TextString& opener = ctx.InlineCommands.GetStartDelimiter();
  const TextString& closer = ctx.InlineCommands.GetEndDelimiter();
  TextString lineBreak(opener);
  lineBreak.Append("BR");
  lineBreak.Append(closer);
  TextString text;
  int row = 0;
  int column = 0;
  kind = kUserRowNone;
  TableCell* current = nullptr;
  int tagged = 0;  // cells made by NEW_CELL
  for (int i = 0; i < lineCount; ++i) {
    const PreFormLine& line = *GetLine(i);
    Directive directive = Directive::Title;
    if (!IsUserTableDirective(line, directive)) {
      if (current != nullptr) {
        text.Assign(line.raw);
        text.Append(lineBreak);
        AddCellText(*current, text);
        continue;
      }
      text.Assign(line.raw);
      text.CollapseBlanks();
      text.Trim();
      // A blank line outside a cell holds nothing to place.
      if (text.IsEmpty())
        continue;
      TextString message("TAG ERROR: No NEW_CELL definition for \"");
      message.Append(text);
      message.AppendChar('"');
      Report(message.GetText(), 10);
      text.Append(lineBreak);
      AddCellText(*unplacedCell, text);
      continue;
    }
    switch (directive) {
      case Directive::NewRow: {
        ++row;
        column = 0;
        const int next = ReadUserRowKind(line, kind, true);
        if (kind == kUserRowNone || (next == kUserRowHead && kind != kUserRowHead)) {
          groups.push_back(std::make_unique<UserTableGroup>());
          row = 1;
        }
        kind = next;
        if (kind == kUserRowLine) {
          TableCell& rule = groups.back()->data.AddNew(fc, this, line.end);
          rule.font.Assign(layout.font);
          rule.row = row;
          rule.column = 1;
          rule.columnSpan = std::max(widestRow, 1);
          rule.text.Assign("-------");
          rule.rawText.Assign(rule.text);
          rule.ruleCell = 1;
          ++row;
        }
        current = nullptr;
        break;
      }
      case Directive::NewCell: {
        ++column;
        if (kind != kUserRowHead && kind != kUserRowData) {
          Report("TAG ERROR: Can't place NEW_CELL tag here", 10);
          // The lines that follow have no cell: they are kept as unplaced text.
          current = nullptr;
          break;
        }
        UserTableGroup& group = *groups.back();
        TableCell& cell =
            (kind == kUserRowHead ? group.header : group.data).AddNew(fc, this, line.end);
        cell.font.Assign(layout.font);
        cell.row = row;
        cell.column = column;
        cell.perCellSetting = 1;  // made by a NEW_CELL directive
        current = &cell;
        ++tagged;
        break;
      }
      case Directive::ChangePolicy:
      case Directive::ColumnDetails:
      case Directive::BeginUserTable:
      case Directive::EndUserTable:
        break;
      case Directive::Linerule:
        AddCellLine(current, line.raw);
        break;
      default: {
        TextString message("TAG ERROR: Ignoring directive in user table - ");
        message.Append(line.raw);
        Report(message.GetText(), 10);
        break;
      }
    }
  }

  if (tagged == 0) {
    // Without a cell there is no table, not even of rules: the region's text is kept as it
    // stands.
    if (!unplacedCell->text.IsEmpty())
      OutputPreformatted();
    unplacedCell->Reset();
    return;
  }
  // Text that found no cell goes to the end of the table rather than being dropped.
  UserTableGroup* last = nullptr;
  for (const auto& group : groups)
    if (group->header.GetCount() > 0 || group->data.GetCount() > 0)
      last = group.get();
  MoveUnplacedText(1, last->header, last->data);

  int started = 0;
  for (const auto& group : groups)
    FitTableToPage(started, 0, group->header, group->data, group->laidOut);
  CloseTable();
}
