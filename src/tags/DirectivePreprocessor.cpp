#include "tags/DirectivePreprocessor.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "analysis/PreHTML.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "engine/DefinitionList.h"
#include "engine/Tracker.h"
#include "policy/BaseDefinition.h"
#include "policy/TableAnalysisPolicies.h"
#include "analysis/TagServices.h"
#include "text/StatementTypes.h"

// ---- Reader state ----

DirectiveReaderState::DirectiveReaderState() = default;

DirectiveReaderState::~DirectiveReaderState() = default;

FileControl& DirectiveReaderState::Scratch() {
  if (!scratch_)
    scratch_ = std::make_unique<FileControl>();
  return *scratch_;
}

// ---- Matching and removal ----

bool StartsWithDirectivePrefix(const Context& ctx, const TextString& line) {
  return line.StartsWith(ctx.DirectiveNames.GetPrefix().GetText(), 0);
}

bool MatchDirective(const Context& ctx, const TextString& line, Directive& out) {
  if (!StartsWithDirectivePrefix(ctx, line))
    return false;
  int bestLength = 0;
  for (int i = 0; i < kDirectiveCount; ++i) {
    const auto d = static_cast<Directive>(i);
    const TextString& name = ctx.GetDirectiveName(d);
    if (name.GetLength() <= bestLength || !line.StartsWith(name.GetText(), 0))
      continue;
    bestLength = name.GetLength();
    out = d;
  }
  return bestLength > 0;
}

// Removes the first occurrence of what from text, case ignored; false when there is none.
static bool RemoveFirstIgnoringCase(TextString& text, const TextString& what) {
  int at = -1;
  if (!text.Find(0, what.GetText(), &at, 0, 0))
    return false;
  text.ReplaceSpan(at, what.GetLength(), "");
  return true;
}

void RemoveDirective(FileControl& fc, TextString& text, const TextString& directive) {
  if (RemoveFirstIgnoringCase(text, directive))
    return;
  const Context* ctx = fc.pGetContext();
  if (ctx == nullptr || ctx->OutputPass == 0)
    return;
  TextString message("TAG ERROR: Failed to remove directive \"");
  message.Append(directive);
  message.Append("\" from input line (may be case sensitive)");
  fc.ReportMessage(message.GetText(), 10);
}

void GetDirectiveValue(FileControl& fc, const TextString& text, const TextString& directive,
                       TextString& value) {
  value.Assign(text);
  RemoveDirective(fc, value, directive);
  value.Trim();
}

void RecordDirectiveTag(FileControl& fc, const char* name, const TextString& text) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return;
  TextString directive(ctx->DirectiveNames.GetPrefix());
  directive.Append(name);
  TextString arguments(text);
  (void)RemoveFirstIgnoringCase(arguments, directive);
  if (!ParseTagArguments(fc, arguments, nullptr))
    return;
  TextPosition position = ctx->pGetTracker()->currentPosition;
  if (position.GetLine() != 0)
    position.SetColumn(position.GetColumn() + 1);
  (void)ctx->Tags.Add(fc, TextString(name), arguments, 0, position, 0);
}

void CheckMissingEndTable(FileControl& fc, PreHTML& line, const char* tagName) {
  if (fc.InRegion == 0)
    return;
  if (Context* ctx = fc.pGetContext(); ctx != nullptr) {
    TextString message("TAG ERROR: Missing \"End Table\" tag detected at ");
    message.Append(tagName);
    message.Append(" tag");
    line.ReportLineMessage(*ctx, message.GetText(), 10);
  }
  fc.InRegion = 0;
  fc.RegionCode = 0;
}

// ---- The directive table ----

// What a directive of the table below does besides giving its line a type.
enum class RowAction : std::uint8_t {
  None,
  OpenRegion,          // InRegion 1, RegionCode, new table policies
  OpenRecordedRegion,  // OpenRegion, and the line is kept among the table's tag lines
  BeginTable,          // closes an HTML section first
  BeginUserTable,      // refuses a second user table, closes another region first
  CloseRegion,
  Title,
  AuthorUrl,
  BookmarkUrl,
  CopyrightUrl,
  ShortcutIcon,
  StyleSheet,
  Keywords,
  BaseAddress,
  Description,
  BeginContents,
  EndContents,
  BeginHtml,
  EndHtml,
  HtmlLine,
  OpenHtmlFragment,
  OpenTextFragment,
  EndBlock,
  Definition,
  MetaTag,
  Toc,
  ContentsList,
  NewFile,
  RecordTag,
};

struct DirectiveRow {
  Directive directive;
  RowAction action;
  int type;  // the StatementType handed on; kTypeUntyped: the line keeps the type it has
  int regionCode;
  bool consumed;
  bool closesOpenRegion;  // CheckMissingEndTable with the keyword first
};

// Region codes of the regions that directives open (the special formats of a region).
enum : int {
  kRegionNone = 0,
  kRegionTable = 1,
  kRegionCode = 2,
  kRegionDiagram = 3,
  kRegionPre = 4,
  kRegionUserTable = 6,
  kRegionDelimited = 7,
  kRegionCommaDelimited = 8,
};

using D = Directive;
using A = RowAction;
static constexpr DirectiveRow kDirectiveRows[] = {
    {D::BeginPre, A::OpenRegion, kTagBeginPre, kRegionPre, false, false},
    {D::EndPre, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::Title, A::Title, kTypeUntyped, 0, true, false},
    {D::AuthorUrl, A::AuthorUrl, kTypeUntyped, 0, true, false},
    {D::BookmarkUrl, A::BookmarkUrl, kTypeUntyped, 0, true, false},
    {D::CopyrightUrl, A::CopyrightUrl, kTypeUntyped, 0, true, false},
    {D::ShortcutIcon, A::ShortcutIcon, kTypeUntyped, 0, true, false},
    {D::StyleSheet, A::StyleSheet, kTypeUntyped, 0, true, false},
    {D::Keywords, A::Keywords, kTypeUntyped, 0, true, false},
    {D::Basehref, A::BaseAddress, kTypeUntyped, 0, true, false},
    {D::Description, A::Description, kTypeUntyped, 0, true, false},
    {D::BeginContents, A::BeginContents, kTagBeginContents, 0, false, false},
    {D::EndContents, A::EndContents, kTagEndContents, 0, false, false},
    {D::BeginHtml, A::BeginHtml, kTagBeginHtml, 0, false, false},
    {D::EndHtml, A::EndHtml, kTagEndHtml, 0, false, false},
    {D::HtmlLine, A::HtmlLine, kTypeUntyped, 0, false, false},
    {D::BeginCode, A::OpenRegion, kTagBeginCode, kRegionCode, false, false},
    {D::EndCode, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::BeginDiagram, A::OpenRegion, kTagBeginDiagram, kRegionDiagram, false, false},
    {D::EndDiagram, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::DefineVariable, A::None, kTagDefineVariable, 0, false, false},
    {D::DefineBlock, A::None, kTagDefineBlock, 0, false, false},
    {D::DefineHtmlFragment, A::OpenHtmlFragment, kTagDefineHtmlFragment, 0, false, false},
    {D::DefineTextFragment, A::OpenTextFragment, kTagDefineTextFragment, 0, false, false},
    {D::EndBlock, A::EndBlock, kTagEndBlock, 0, false, false},
    {D::InsertBlock, A::None, kTagInsertBlock, 0, false, false},
    {D::InsertFragment, A::None, kTagInsertFragment, 0, false, false},
    {D::EmbedBlock, A::None, kTagEmbedBlock, 0, false, false},
    {D::ResetBlock, A::None, kTagResetBlock, 0, false, false},
    {D::ResetHtmlFragment, A::None, kTagResetHtmlFragment, 0, false, false},
    {D::ResetTextFragment, A::None, kTagResetTextFragment, 0, false, false},
    {D::SaveContext, A::None, kTagSaveContext, 0, false, false},
    {D::RestoreContext, A::None, kTagRestoreContext, 0, false, false},
    {D::BeginTable, A::BeginTable, kTagBeginTableRegion, kRegionTable, false, false},
    {D::EndTable, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::AlarmDefinition, A::Definition, kTagAlarmDefinition, 0, true, false},
    {D::FormatDefinition, A::Definition, kTagFormatDefinition, 0, true, false},
    {D::GraphDefinition, A::Definition, kTagGraphDefinition, 0, true, false},
    {D::EndTaggedTable, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::BeginUserTable, A::BeginUserTable, kTagBeginUserTable, kRegionUserTable, false, false},
    {D::EndUserTable, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::BeginDelimitedTable, A::OpenRecordedRegion, kTagBeginDelimitedTable, kRegionDelimited,
     false, false},
    {D::EndDelimitedTable, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::BeginCommaDelimitedTable, A::OpenRecordedRegion, kTagBeginCommaDelimitedTable,
     kRegionCommaDelimited, false, false},
    {D::EndCommaDelimitedTable, A::CloseRegion, kTagEndRegion, 0, false, false},
    {D::Para, A::None, kTagPara, 0, false, true},
    {D::Linkpoint, A::None, kTagLinkPoint, 0, false, true},
    {D::MetaTag, A::MetaTag, kTagMetaTag, 0, true, false},
    {D::Allow, A::None, kTagAllow, 0, false, true},
    {D::Disallow, A::None, kTagDisallow, 0, false, true},
    {D::Toc, A::Toc, kTagToc, 0, false, true},
    {D::ContentsList, A::ContentsList, kTypeContentsList, 0, false, true},
    {D::HelpChapter, A::RecordTag, kTypeUntyped, 0, true, false},
    {D::HelpSubject, A::RecordTag, kTypeUntyped, 0, true, false},
    {D::HelpTopicId, A::RecordTag, kTypeUntyped, 0, true, false},
    {D::HelpTopicKeywords, A::RecordTag, kTypeUntyped, 0, true, false},
    {D::NavigationBar, A::None, kTypeNavigationBar, 0, false, true},
    {D::Linerule, A::None, kTagLine, 0, false, false},
    {D::ChangeIndent, A::None, kTagChangeIndent, 0, false, false},
    {D::Newfile, A::NewFile, kTagNewFile, 0, false, false},
    {D::Filename, A::RecordTag, kTypeUntyped, 0, true, false},
    {D::BeginList, A::None, kTagBeginList, 0, false, true},
    {D::EndList, A::None, kTagEndList, 0, false, true},
    {D::ListItem, A::None, kTagListItem, 0, false, true},
    {D::Page, A::None, kTagNewPage, 0, false, true},
    {D::NewRow, A::None, kTypeUntyped, 0, false, false},
    {D::NewCell, A::None, kTypeUntyped, 0, false, false},
    {D::ColumnDetails, A::None, kTypeUntyped, 0, false, false},
};

static const DirectiveRow* FindDirectiveRow(Directive d) {
  for (const DirectiveRow& row : kDirectiveRows)
    if (row.directive == d)
      return &row;
  return nullptr;
}

// ---- Table attribute directives ----

enum class AttributeKind : std::uint8_t {
  Alignment,       // L, C, R, J by the first letter; "(none)" 0
  Number,          // a decimal number; another value changes nothing
  Flag,            // no value: sets 1
  YesNo,           // 0 for "no" (any case), else 1
  Text,            // the value as it is
  Delimiter,       // a text that is marked set
  DataDefinition,  // a table data definition
  HideColumn,
};

using NumberSetter = TableAnalysisPolicies* (FileControl::*)(int);
using TextSetter = TableAnalysisPolicies* (FileControl::*)(const TextString&);
using AlignmentSetter = TableAnalysisPolicies* (FileControl::*)(const int*);

struct AttributeRow {
  Directive directive;
  AttributeKind kind;
  const char* noneValue;  // what "(none)" stands for; null: nothing special
  NumberSetter number;
  TextSetter text;
  AlignmentSetter alignment;
};

using K = AttributeKind;
using F = FileControl;
static constexpr AttributeRow kAttributeRows[] = {
    {D::TableAlign, K::Alignment, "0", nullptr, nullptr, &F::SetTableAlignment},
    {D::TableBorder, K::Number, "0", &F::SetTableBorderSize, nullptr, nullptr},
    {D::TableDataDefinition, K::DataDefinition, nullptr, nullptr, nullptr, nullptr},
    {D::TableHeaderRows, K::Number, "0", &F::SetTableHeaderRows, nullptr, nullptr},
    {D::TableHeaderCols, K::Number, "0", &F::SetTableHeaderCols, nullptr, nullptr},
    {D::TableHideColumn, K::HideColumn, nullptr, nullptr, nullptr, nullptr},
    {D::TableCellpadding, K::Number, "0", &F::SetTableCellPadding, nullptr, nullptr},
    {D::TableCellspacing, K::Number, "0", &F::SetTableCellSpacing, nullptr, nullptr},
    {D::TableCellAlign, K::Alignment, "0", nullptr, nullptr, &F::SetTableCellAlignment},
    {D::TableMinColumnSeparation, K::Number, "1", &F::SetTableColumnSeparation, nullptr,
     nullptr},
    {D::TableMayBeSparse, K::Flag, nullptr, &F::SetExpectSparseTables, nullptr, nullptr},
    {D::TableConvertXrefs, K::Flag, nullptr, &F::SetConvertTableXrefs, nullptr, nullptr},
    {D::TableBgcolor, K::Text, "", nullptr, &F::SetTableColour, nullptr},
    {D::TableColourRows, K::YesNo, nullptr, &F::SetColourDataRows, nullptr, nullptr},
    {D::TableColorRows, K::YesNo, nullptr, &F::SetColourDataRows, nullptr, nullptr},
    {D::TableBordercolor, K::Text, "", nullptr, &F::SetTableBorderColour, nullptr},
    {D::TableOddRowColour, K::Text, "F0F0F0", nullptr, &F::SetTableOddRowColour, nullptr},
    {D::TableOddRowColor, K::Text, "F0F0F0", nullptr, &F::SetTableOddRowColour, nullptr},
    {D::TableEvenRowColour, K::Text, "E0F0E0", nullptr, &F::SetTableEvenRowColour, nullptr},
    {D::TableEvenRowColor, K::Text, "E0F0E0", nullptr, &F::SetTableEvenRowColour, nullptr},
    {D::TableUsePercentages, K::YesNo, nullptr, &F::SetPercentageWidths, nullptr, nullptr},
    {D::TableAddTotalWidth, K::YesNo, nullptr, &F::SetAddTableWidth, nullptr, nullptr},
    {D::TableCaption, K::Text, "", nullptr, &F::SetTableCaption, nullptr},
    {D::TableDelimiter, K::Delimiter, "", nullptr, nullptr, nullptr},
    {D::TableWidth, K::Text, "", nullptr, &F::SetTableWidth, nullptr},
    {D::TableLayout, K::Text, "", nullptr, &F::SetTableLayout, nullptr},
};

static const AttributeRow* FindAttributeRow(Directive d) {
  for (const AttributeRow& row : kAttributeRows)
    if (row.directive == d)
      return &row;
  return nullptr;
}

static bool IsNoneValue(const TextString& value) { return value.Compare("(none)", 0, 0); }

// Where a definition read now was made: the current tracker's position, unset without one.
static TextPosition DefinitionPosition(Context& ctx) {
  const Tracker* tracker = ctx.pGetTracker();
  return tracker != nullptr ? tracker->currentPosition : TextPosition();
}

// A TABLE_DATA_DEFINITION (analysis pass only) goes to the "Default" table policies; one
// without a name is dropped after the definition's own report.
static void AddTableDataDefinition(FileControl& fc, const TextString& attributes) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr || ctx->AnalysisPass == 0) return;
  PolicySetReporter reporter(fc);
  auto definition =
      std::make_unique<TableDataDefinition>(*ctx, reporter, DefinitionPosition(*ctx), attributes);
  if (definition->GetName().IsEmpty()) return;
  (void)fc.AddTableDataDefinition(std::move(definition));
}

// An ALARM_DEFINITION, FORMAT_DEFINITION or GRAPH_DEFINITION goes to the Context's list of
// its kind; one without a name (an alarm without a type, a barchart whose range is empty) is
// dropped quietly, since its parse has said what was wrong.
static void AddNamedDefinition(FileControl& fc, Context& ctx, Directive d,
                               const TextString& attributes) {
  PolicySetReporter reporter(fc);
  const TextPosition position = DefinitionPosition(ctx);
  std::unique_ptr<BaseDefinition> definition;
  DefinitionList* list = nullptr;
  if (d == Directive::AlarmDefinition) {
    definition = std::make_unique<AlarmDefinition>(ctx, reporter, position, attributes);
    list = &ctx.AlarmDefinitions;
  } else if (d == Directive::FormatDefinition) {
    definition = std::make_unique<FormatDefinition>(ctx, reporter, position, attributes);
    list = &ctx.FormatDefinitions;
  } else {
    definition = std::make_unique<GraphDefinition>(ctx, reporter, position, attributes);
    list = &ctx.GraphDefinitions;
  }
  if (definition->GetName().IsEmpty()) return;
  (void)list->Add(fc, std::move(definition), 0);
}

static void ReportOnLine(FileControl& fc, PreHTML& line, const char* text, int level) {
  if (Context* ctx = fc.pGetContext(); ctx != nullptr)
    line.ReportLineMessage(*ctx, text, level);
  else
    fc.ReportMessage(text, level);
}

static void ApplyAttribute(FileControl& fc, PreHTML& line, const AttributeRow& row,
                           TextString& value) {
  const bool none = row.noneValue != nullptr && IsNoneValue(value);
  if (none)
    value.Assign(row.noneValue);
  switch (row.kind) {
    case K::Alignment: {
      const int alignment = none ? 0 : ParseAlignmentLetter(value);
      if (!none && alignment == 0) {
        TextString message("TAG ERROR: Invalid value - \"");
        message.Append(value);
        ReportOnLine(fc, line, message.GetText(), 10);
        return;
      }
      (void)(fc.*row.alignment)(&alignment);
      return;
    }
    case K::Number: {
      int number = 0;
      if (value.ParseNumber('1', &number))
        (void)(fc.*row.number)(number);
      return;
    }
    case K::Flag:
      (void)(fc.*row.number)(1);
      return;
    case K::YesNo:
      (void)(fc.*row.number)(value.Compare("no", 0, 0) ? 0 : 1);
      return;
    case K::Text:
      (void)(fc.*row.text)(value);
      return;
    case K::Delimiter:
      (void)fc.SetTableDelimiter(value, 1);
      return;
    case K::DataDefinition:
      AddTableDataDefinition(fc, value);
      return;
    case K::HideColumn: {
      TextString& message = fc.GetMessageText();
      message.SetEmpty();
      fc.HideTableColumn();
      if (!message.IsEmpty()) {
        const TextString text(message);
        message.SetEmpty();
        ReportOnLine(fc, line, text.GetText(), 10);
      }
      return;
    }
  }
}

// ---- Row actions ----

static bool IsAnalysisPass(const Context& ctx) { return ctx.AnalysisPass != 0; }

// Appends value to text, separated by separator when text already holds something; the
// "unknown" mark of the document information counts as nothing.
static void AppendSeparated(TextString& text, const TextString& value, const char* separator) {
  if (text.Compare(kUnknownDocInfo, 1, 0))
    text.SetEmpty();
  if (!text.IsEmpty())
    text.Append(separator);
  text.Append(value);
}

static TextString& DocInfoText(Context& ctx, DocInfo which) {
  return ctx.DocumentInfo[static_cast<std::size_t>(which)];
}

// A region opened by a directive: its kind, and in the output pass a fresh set of table
// policies for it (while its section is output). Returns whether that set was made.
static bool OpenRegion(FileControl& fc, Context& ctx, int regionCode) {
  fc.InRegion = 1;
  fc.RegionCode = regionCode;
  if (ctx.OutputPass == 0 || !fc.IsSectionIncluded())
    return false;
  fc.CreateNewTabPolicy();
  return true;
}

// Keeps a table's opening line among the tag lines of the policies made for it. Only a set
// made for this table takes it: in the passes that make none the lines would pile up in the
// default set, which every table reads.
static void RecordTableLine(FileControl& fc, bool policiesMade, const char* name,
                            const TextString& text) {
  if (policiesMade)
    fc.AddTableTagLine(text, TextString(name), text);
}

// The text of a meta tag line after its directive: the name in double quotes (when a quote
// follows the first character) or the first word, and the rest as the value.
static void SplitMetaTag(TextString& rest, TextString& name, TextString& value) {
  int quote = -1;
  int close = -1;
  if (rest.FindChar(1, '"', nullptr, 1) && rest.FindChar(0, '"', &quote, 1) &&
      rest.FindChar(quote + 1, '"', &close, 1)) {
    name.AssignSubstring(rest.GetText(), quote + 1, close - quote - 1);
    rest.ReplaceSpan(quote, close - quote + 1, "");
  } else {
    int blank = -1;
    const int end = rest.FindChar(0, ' ', &blank, 1) ? blank : rest.GetLength();
    name.AssignSubstring(rest.GetText(), 0, end);
    rest.KeepFrom(end);
  }
  rest.Trim();
  value.Assign(rest);
}

static void AddMetaTag(FileControl& fc, Context& ctx, const TextString& text,
                       const TextString& directive) {
  TextString rest;
  GetDirectiveValue(fc, text, directive, rest);
  TextString name;
  TextString value;
  SplitMetaTag(rest, name, value);
  // The trace goes to the standard output, unless the document itself is written there.
  std::FILE* trace = ctx.Commands.consoleOutput ? stderr : stdout;
  std::fprintf(trace, "Meta Tag line - %s=%s\n", name.GetText(), value.GetText());
  std::fflush(trace);
  (void)ctx.MetaTags.Add(ctx, name, value);
}

static void SetLineType(PreHTML& line, int type) {
  line.SetLineType(type);
  line.SetTaggedType(type);
}

int ApplyDirective(FileControl& fc, Context& ctx, PreHTML& line, Directive d,
                   const TextString& text, int& rawHtml, bool* recognised) {
  if (recognised != nullptr)
    *recognised = true;
  const TextString& directive = ctx.GetDirectiveName(d);
  if (const AttributeRow* attribute = FindAttributeRow(d); attribute != nullptr) {
    TextString value;
    GetDirectiveValue(fc, text, directive, value);
    ApplyAttribute(fc, line, *attribute, value);
    return kDirectiveConsumed;
  }
  const DirectiveRow* row = FindDirectiveRow(d);
  if (row == nullptr) {
    if (recognised != nullptr)
      *recognised = false;
    return kDirectiveConsumed;
  }
  const char* keyword = DirectiveKeywords()[static_cast<std::size_t>(d)].data();
  if (row->closesOpenRegion)
    CheckMissingEndTable(fc, line, keyword);

  const bool analysis = IsAnalysisPass(ctx);
  TextString value;
  switch (row->action) {
    case A::None:
      break;
    case A::OpenRegion:
      (void)OpenRegion(fc, ctx, row->regionCode);
      break;
    case A::OpenRecordedRegion:
      RecordTableLine(fc, OpenRegion(fc, ctx, row->regionCode), keyword, text);
      break;
    case A::BeginTable:
      if (ctx.InHtmlSection != 0) {
        ReportOnLine(fc, line, "TAG ERROR: END_HTML not seen before BEGIN_TABLE", 10);
        ctx.InHtmlSection = 0;
      }
      (void)OpenRegion(fc, ctx, row->regionCode);
      break;
    case A::BeginUserTable:
      if (fc.InRegion != 0 && fc.RegionCode == kRegionUserTable) {
        ReportOnLine(fc, line,
                     "TAG ERROR: Ignoring BEGIN_USER_TABLE inside table."
                     "\n           - could be a duplicate"
                     "\n           - could be a missing END tag",
                     10);
        return kDirectiveConsumed;
      }
      CheckMissingEndTable(fc, line, keyword);
      RecordTableLine(fc, OpenRegion(fc, ctx, row->regionCode), keyword, text);
      break;
    case A::CloseRegion:
      fc.InRegion = 0;
      fc.RegionCode = kRegionNone;
      break;
    case A::Title:
      if (analysis) {
        GetDirectiveValue(fc, text, directive, value);
        AppendSeparated(ctx.TitleTexts[0], value, " ");
      }
      break;
    case A::AuthorUrl:
    case A::BookmarkUrl:
    case A::CopyrightUrl:
    case A::ShortcutIcon:
    case A::BaseAddress:
      if (analysis) {
        TextString& target = row->action == A::AuthorUrl      ? ctx.AuthorUrl
                             : row->action == A::BookmarkUrl  ? ctx.BookmarkUrl
                             : row->action == A::CopyrightUrl ? ctx.CopyrightUrl
                             : row->action == A::ShortcutIcon ? ctx.ShortcutIcon
                                                              : ctx.BaseAddress;
        GetDirectiveValue(fc, text, directive, target);
      }
      break;
    case A::StyleSheet:
      GetDirectiveValue(fc, text, directive, ctx.DocumentStyleSheet);
      break;
    case A::Keywords:
      if (analysis) {
        GetDirectiveValue(fc, text, directive, value);
        AppendSeparated(DocInfoText(ctx, DocInfo::Keywords), value, ",");
      }
      break;
    case A::Description:
      if (analysis) {
        GetDirectiveValue(fc, text, directive, value);
        AppendSeparated(DocInfoText(ctx, DocInfo::Description), value, " ");
      }
      break;
    case A::BeginContents:
      if (fc.ContentsBegun == 0) {
        fc.InContents = 1;
        fc.ContentsEnded = 0;
      }
      fc.ContentsBegun = 1;
      ctx.InContentsSection = 1;
      break;
    case A::EndContents:
      fc.InContents = 0;
      fc.ContentsEnded = 1;
      ctx.InContentsSection = 0;
      break;
    case A::BeginHtml:
      ctx.InHtmlSection = 1;
      break;
    case A::EndHtml:
      ctx.InHtmlSection = 0;
      break;
    case A::HtmlLine:
      GetDirectiveValue(fc, text, directive, value);
      line.SetText(value.GetText());
      rawHtml = 1;
      break;
    case A::OpenHtmlFragment:
      fc.InHtmlFragmentDefinition = 1;
      break;
    case A::OpenTextFragment:
      fc.InTextFragmentDefinition = 1;
      break;
    case A::EndBlock:
      fc.InHtmlFragmentDefinition = 0;
      fc.InTextFragmentDefinition = 0;
      break;
    case A::Definition:
      // Read in the analysis pass; the line is done with in every pass.
      if (analysis) {
        GetDirectiveValue(fc, text, directive, value);
        AddNamedDefinition(fc, ctx, d, value);
      }
      break;
    case A::MetaTag:
      if (analysis)
        AddMetaTag(fc, ctx, text, directive);
      break;
    case A::Toc:
      ctx.TocDirectiveSeen = 1;
      break;
    case A::ContentsList:
      ctx.ContentsListDirectiveSeen = 1;
      // The writer runs the line's tag, which writes the contents field where the line stands.
      ctx.ContentsListSwitch = 1;
      break;
    case A::NewFile:
      ctx.NewFileRequested = 1;
      if (analysis)
        RecordDirectiveTag(fc, keyword, text);
      break;
    case A::RecordTag:
      if (analysis)
        RecordDirectiveTag(fc, keyword, text);
      break;
  }
  if (row->consumed)
    return kDirectiveConsumed;
  if (row->type != kTypeUntyped)
    SetLineType(line, row->type);
  return kDirectiveHandedOn;
}
