#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "text/TextString.h"

class FileControl;

// The keywords the scanner, the preprocessor and the tag interpreter compare against,
// spelled out once per conversion with the delimiters in force. The keyword lists are
// constant data; the tables below hold the ready-made texts.

// Directive keywords, in table order. Each has its own entry in DirectiveNameTable.
enum class Directive : int {
  AlarmDefinition,
  Basehref,
  BeginAscii,
  BeginCode,
  BeginContents,
  BeginCommaDelimitedTable,
  BeginDelimitedTable,
  BeginDiagram,
  BeginHtml,
  BeginIgnore,
  BeginInvPyramid,
  BeginList,
  BeginPre,
  BeginTable,
  BeginTaggedTable,
  BeginUserTable,
  BeginUnderwriter,
  AuthorUrl,
  BookmarkUrl,
  CopyrightUrl,
  ChangeIndent,
  ChangePolicy,
  ColDefn,
  CompositionUnit,
  ContentsList,
  DataCell,
  DefineBlock,
  DefineHtmlFragment,
  DefineTextFragment,
  DefineVariable,
  Description,
  Allow,
  Disallow,
  EmbedBlock,
  EndAscii,
  EndBlock,
  EndCode,
  EndContents,
  EndCommaDelimitedTable,
  EndDelimitedTable,
  EndDiagram,
  EndHtml,
  EndIgnore,
  EndInvPyramid,
  EndList,
  EndPre,
  EndTable,
  EndTaggedTable,
  EndUserTable,
  EndUnderwriter,
  Filename,
  FormatDefinition,
  GraphDefinition,
  HeadCell,
  HelpChapter,
  HelpSubject,
  HelpTopicId,
  HelpTopicKeywords,
  HtmlLine,
  Include,
  InsertBlock,
  InsertFragment,
  Keywords,
  Linerule,
  Linkpoint,
  ListItem,
  MetaTag,
  NavigationBar,
  Newfile,
  Page,
  Para,
  ResetBlock,
  ResetHtmlFragment,
  ResetTextFragment,
  RestoreContext,
  SaveContext,
  Section,
  ShortcutIcon,
  StyleSheet,
  TableAddTotalWidth,
  TableAlign,
  TableBgcolor,
  TableBorder,
  TableBordercolor,
  TableCaption,
  TableDataDefinition,
  TableDelimiter,
  TableCellpadding,
  TableCellspacing,
  TableCellAlign,
  TableColorRows,
  TableColourRows,
  TableConvertXrefs,
  TableColumnAlignments,
  TableColumnFormats,
  TableColumnHeaders,
  TableColumnWidths,
  TableEvenRowColor,
  TableEvenRowColour,
  TableHeaderCols,
  TableHeaderRows,
  TableHideColumn,
  TableLayout,
  TableMayBeSparse,
  TableMinColumnSeparation,
  TableOddRowColor,
  TableOddRowColour,
  TableOfContents,
  TableShowColumns,
  TableUsePercentages,
  TableWidth,
  NewRow,
  NewCell,
  ColumnDetails,
  Title,
  Toc,
};
inline constexpr int kDirectiveCount = 116;
// Keyword texts without prefix, indexed by Directive.
std::span<const std::string_view> DirectiveKeywords();

// In-line command keywords, in table order.
enum class InlineCommand : int {
  Br,
  Caad,
  Cad,
  CancelHang,
  CancelLead,
  Color,
  Colour,
  Currency,
  DotLeaders,
  Em,
  EndHeading,
  EndRedline,
  Entity,
  ExtraLeading,
  Font,
  Fraction,
  Goto,
  Gutter,
  Heading,
  Html,
  HtmlComment,
  Hyperlink,
  IgnoreThis,
  Image,
  Leading,
  Linerule,
  Linkpoint,
  Nb,
  NullChar,
  Page,
  PageMarker,
  Para,
  Quad,
  SourceFile,
  Spaces,
  StartRedline,
  StubIndent,
  Sub,
  Super,
  Text,
  Timestamp,
  Toclink,
  Tu,
  Tu2,
  Valign,
  Version,
  VerticalAlignment,
  Ws,
};
inline constexpr int kInlineCommandCount = 48;
std::span<const std::string_view> InlineCommandKeywords();

// HTML tags whose bare, opening and closing forms are kept ready.
enum class HtmlTagName : int {
  B,
  Blockquote,
  Center,
  Dd,
  Div,
  Dl,
  Dt,
  Em,
  Font,
  I,
  Li,
  Ol,
  P,
  Span,
  Strong,
  Table,
  Td,
  Th,
  Tr,
  Ul,
};
inline constexpr int kHtmlTagNameCount = 20;
std::span<const std::string_view> HtmlTagNameKeywords();

// Command-line qualifiers, in table order.
enum class Qualifier : int {
  Comma,
  Concat,
  Console,
  Contents,
  CtxIn,
  CtxOut,
  Cu,
  Debug,
  Detag,
  DeleteSource,
  Dos,
  Frames,
  Help,
  Html,
  Index,
  Links,
  List,
  Log,
  Output,
  Overwrite,
  Rtf,
  Ruleset,
  CreatePolicy,
  Silent,
  Simple,
  Subfolders,
  Question,
  Tabbed,
  Table,
  Tags,
  TocOut,
  Tree,
};
inline constexpr int kQualifierCount = 32;
struct QualifierRow {
  std::string_view name;  // without the qualifier character
  int minLength;          // of the search form, the qualifier character counted
};
std::span<const QualifierRow> QualifierRows();

inline constexpr const char* kDefaultDirectivePrefix = "$_$_";
inline constexpr const char* kDefaultStartDelimiter = "[[";
inline constexpr const char* kDefaultEndDelimiter = "]]";
inline constexpr char kDefaultQualifierChar = '/';

// The prefix and every directive keyword behind it. Built once; rebuilt only when a new
// prefix is given, so that a prefix changed by the text stays in force.
class DirectiveNameTable {
 public:
  DirectiveNameTable() = default;
  DirectiveNameTable(const DirectiveNameTable&) = delete;  // one per context
  DirectiveNameTable& operator=(const DirectiveNameTable&) = delete;

  // Without a prefix an already built table is left as it is. Otherwise the prefix is the
  // given one, else the control's "Directive delimiter", else "$_$_".
  void Build(const FileControl* control, const char* prefix);

  int IsBuilt() const { return built_; }
  const TextString& GetPrefix() const { return prefix_; }
  const TextString& Get(Directive directive) const {
    return names_[static_cast<std::size_t>(directive)];
  }

 private:
  int built_ = 0;
  TextString prefix_;
  std::array<TextString, kDirectiveCount> names_;
};

// The in-line commands with the tag delimiters in force: the opening form ("[[BR"), the
// complete form ("[[BR]]") and the closing form ("BR]]"). The closing forms also hold
// "FO" + end delimiter, kept apart as GetClosingFo.
class InlineCommandTable {
 public:
  InlineCommandTable() = default;
  InlineCommandTable(const InlineCommandTable&) = delete;  // one per context
  InlineCommandTable& operator=(const InlineCommandTable&) = delete;

  // Delimiters from the control's "Start tag delimiter" and "End tag delimiter", or "[["
  // and "]]" without one.
  void Build(const FileControl* control);

  const TextString& GetStartDelimiter() const { return start_; }
  const TextString& GetEndDelimiter() const { return end_; }
  const TextString& GetOpening(InlineCommand c) const { return opening_[Index(c)]; }
  const TextString& GetComplete(InlineCommand c) const { return complete_[Index(c)]; }
  const TextString& GetClosing(InlineCommand c) const { return closing_[Index(c)]; }
  const TextString& GetClosingFo() const { return closingFo_; }

 private:
  static std::size_t Index(InlineCommand c) { return static_cast<std::size_t>(c); }

  TextString start_;
  TextString end_;
  std::array<TextString, kInlineCommandCount> opening_;
  std::array<TextString, kInlineCommandCount> complete_;
  std::array<TextString, kInlineCommandCount> closing_;
  TextString closingFo_;
};

// The bare ("UL"), opening ("<UL", open for attributes; "<B>" for B so that it does not
// match BR, BLOCKQUOTE ...) and closing ("</UL>") forms of the HTML tags. Fixed texts.
class HtmlTagNameTable {
 public:
  HtmlTagNameTable() = default;
  HtmlTagNameTable(const HtmlTagNameTable&) = delete;  // one per context
  HtmlTagNameTable& operator=(const HtmlTagNameTable&) = delete;

  void Build();

  const TextString& GetBare(HtmlTagName t) const { return bare_[Index(t)]; }
  const TextString& GetOpening(HtmlTagName t) const { return opening_[Index(t)]; }
  const TextString& GetClosing(HtmlTagName t) const { return closing_[Index(t)]; }

 private:
  static std::size_t Index(HtmlTagName t) { return static_cast<std::size_t>(t); }

  std::array<TextString, kHtmlTagNameCount> bare_;
  std::array<TextString, kHtmlTagNameCount> opening_;
  std::array<TextString, kHtmlTagNameCount> closing_;
};

// One command-line qualifier as the parser searches for it.
struct QualifierEntry {
  TextString fullForm;    // qualifier character + name: "/LOG"
  TextString searchForm;  // the full form cut to the minimum length: "/LO"
  int minLength = 0;
  int enabled = 1;
};

class QualifierTable {
 public:
  QualifierTable() = default;
  QualifierTable(const QualifierTable&) = delete;  // one per context
  QualifierTable& operator=(const QualifierTable&) = delete;

  // Qualifier character "/", every entry filled from QualifierRows and enabled.
  void Build();

  char GetQualifierChar() const { return qualifierChar_; }
  QualifierEntry& Get(Qualifier q) { return entries_[static_cast<std::size_t>(q)]; }
  const QualifierEntry& Get(Qualifier q) const { return entries_[static_cast<std::size_t>(q)]; }

 private:
  char qualifierChar_ = kDefaultQualifierChar;
  std::array<QualifierEntry, kQualifierCount> entries_;
};
