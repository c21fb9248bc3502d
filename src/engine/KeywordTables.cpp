#include "engine/KeywordTables.h"

#include <iterator>

#include "policy/FileControl.h"

static constexpr std::string_view kDirectiveKeywords[] = {
    "ALARM_DEFINITION",
    "BASEHREF",
    "BEGIN_ASCII",
    "BEGIN_CODE",
    "BEGIN_CONTENTS",
    "BEGIN_COMMA_DELIMITED_TABLE",
    "BEGIN_DELIMITED_TABLE",
    "BEGIN_DIAGRAM",
    "BEGIN_HTML",
    "BEGIN_IGNORE",
    "BEGIN_INV_PYRAMID",
    "BEGIN_LIST",
    "BEGIN_PRE",
    "BEGIN_TABLE",
    "BEGIN_TAGGED_TABLE",
    "BEGIN_USER_TABLE",
    "BEGIN_UNDERWRITER",
    "AUTHOR_URL",
    "BOOKMARK_URL",
    "COPYRIGHT_URL",
    "CHANGE_INDENT",
    "CHANGE_POLICY",
    "COL_DEFN",
    "COMPOSITION_UNIT",
    "CONTENTS_LIST",
    "DATA_CELL",
    "DEFINE_BLOCK",
    "DEFINE_HTML_FRAGMENT",
    "DEFINE_TEXT_FRAGMENT",
    "DEFINE_VARIABLE",
    "DESCRIPTION",
    "ALLOW",
    "DISALLOW",
    "EMBED_BLOCK",
    "END_ASCII",
    "END_BLOCK",
    "END_CODE",
    "END_CONTENTS",
    "END_COMMA_DELIMITED_TABLE",
    "END_DELIMITED_TABLE",
    "END_DIAGRAM",
    "END_HTML",
    "END_IGNORE",
    "END_INV_PYRAMID",
    "END_LIST",
    "END_PRE",
    "END_TABLE",
    "END_TAGGED_TABLE",
    "END_USER_TABLE",
    "END_UNDERWRITER",
    "FILENAME",
    "FORMAT_DEFINITION",
    "GRAPH_DEFINITION",
    "HEAD_CELL",
    "HELP_CHAPTER",
    "HELP_SUBJECT",
    "HELP_TOPIC_ID",
    "HELP_TOPIC_KEYWORDS",
    "HTML_LINE",
    "INCLUDE",
    "INSERT_BLOCK",
    "INSERT_FRAGMENT",
    "KEYWORDS",
    "LINERULE",
    "LINKPOINT",
    "LIST_ITEM",
    "META_TAG",
    "NAVIGATION_BAR",
    "NEWFILE",
    "PAGE",
    "PARA",
    "RESET_BLOCK",
    "RESET_HTML_FRAGMENT",
    "RESET_TEXT_FRAGMENT",
    "RESTORE_CONTEXT",
    "SAVE_CONTEXT",
    "SECTION",
    "SHORTCUT_ICON",
    "STYLE_SHEET",
    "TABLE_ADD_TOTAL_WIDTH",
    "TABLE_ALIGN",
    "TABLE_BGCOLOR",
    "TABLE_BORDER",
    "TABLE_BORDERCOLOR",
    "TABLE_CAPTION",
    "TABLE_DATA_DEFINITION",
    "TABLE_DELIMITER",
    "TABLE_CELLPADDING",
    "TABLE_CELLSPACING",
    "TABLE_CELL_ALIGN",
    "TABLE_COLOR_ROWS",
    "TABLE_COLOUR_ROWS",
    "TABLE_CONVERT_XREFS",
    "TABLE_COLUMN_ALIGNMENTS",
    "TABLE_COLUMN_FORMATS",
    "TABLE_COLUMN_HEADERS",
    "TABLE_COLUMN_WIDTHS",
    "TABLE_EVEN_ROW_COLOR",
    "TABLE_EVEN_ROW_COLOUR",
    "TABLE_HEADER_COLS",
    "TABLE_HEADER_ROWS",
    "TABLE_HIDE_COLUMN",
    "TABLE_LAYOUT",
    "TABLE_MAY_BE_SPARSE",
    "TABLE_MIN_COLUMN_SEPARATION",
    "TABLE_ODD_ROW_COLOR",
    "TABLE_ODD_ROW_COLOUR",
    "TABLE_OF_CONTENTS",
    "TABLE_SHOW_COLUMNS",
    "TABLE_USE_PERCENTAGES",
    "TABLE_WIDTH",
    "NEW_ROW",
    "NEW_CELL",
    "COLUMN_DETAILS",
    "TITLE",
    "TOC",
};
static_assert(std::size(kDirectiveKeywords) == kDirectiveCount, "Keep in sync with Directive");

static constexpr std::string_view kInlineCommandKeywords[] = {
    "BR",
    "CAAD",
    "CAD",
    "CANCEL_HANG",
    "CANCEL_LEAD",
    "COLOR",
    "COLOUR",
    "CURRENCY",
    "DOT_LEADERS",
    "EM",
    "END_HEADING",
    "END_REDLINE",
    "ENTITY",
    "EXTRA_LEADING",
    "FONT",
    "FRACTION",
    "GOTO",
    "GUTTER",
    "HEADING",
    "HTML",
    "HTML_COMMENT",
    "HYPERLINK",
    "IGNORE_THIS",
    "IMAGE",
    "LEADING",
    "LINERULE",
    "LINKPOINT",
    "NB",
    "NULL_CHAR",
    "PAGE",
    "PAGE_MARKER",
    "PARA",
    "QUAD",
    "SOURCE_FILE",
    "SPACES",
    "START_REDLINE",
    "STUB_INDENT",
    "SUB",
    "SUPER",
    "TEXT",
    "TIMESTAMP",
    "TOCLINK",
    "TU",
    "TU2",
    "VALIGN",
    "VERSION",
    "VERTICAL_ALIGNMENT",
    "WS",
};
static_assert(std::size(kInlineCommandKeywords) == kInlineCommandCount,
              "Keep in sync with InlineCommand");

static constexpr std::string_view kHtmlTagNameKeywords[] = {
    "B",
    "BLOCKQUOTE",
    "CENTER",
    "DD",
    "DIV",
    "DL",
    "DT",
    "EM",
    "FONT",
    "I",
    "LI",
    "OL",
    "P",
    "SPAN",
    "STRONG",
    "TABLE",
    "TD",
    "TH",
    "TR",
    "UL",
};
static_assert(std::size(kHtmlTagNameKeywords) == kHtmlTagNameCount,
              "Keep in sync with HtmlTagName");

static constexpr QualifierRow kQualifierRows[] = {
    {"COMMA", 4},     {"CONCAT", 5},     {"CONSOLE", 5},    {"CONTENTS", 5},
    {"CTX_IN", 6},    {"CTX_OUT", 6},    {"CU", 3},         {"DEBUG", 4},
    {"DETAG", 4},     {"DELETE_SOURCE", 14}, {"DOS", 3},    {"FRAMES", 2},
    {"HELP", 3},      {"HTML", 3},       {"INDEX", 2},      {"LINKS", 4},
    {"LIST", 4},      {"LOG", 3},        {"OUTPUT", 3},     {"OVERWRITE", 3},
    {"RTF", 3},       {"RULESET", 3},    {"CREATE_POLICY", 4}, {"SILENT", 4},
    {"SIMPLE", 4},    {"SUBFOLDERS", 4}, {"?", 2},          {"TABBED", 5},
    {"TABLE", 5},     {"TAGS", 4},       {"TOC_OUT", 3},    {"TREE", 4},
};
static_assert(std::size(kQualifierRows) == kQualifierCount, "Keep in sync with Qualifier");

std::span<const std::string_view> DirectiveKeywords() { return kDirectiveKeywords; }
std::span<const std::string_view> InlineCommandKeywords() { return kInlineCommandKeywords; }
std::span<const std::string_view> HtmlTagNameKeywords() { return kHtmlTagNameKeywords; }
std::span<const QualifierRow> QualifierRows() { return kQualifierRows; }

// Table keywords are string literals, so their data() is NUL-terminated.
static void AssignJoined(TextString& out, const TextString& before, std::string_view keyword,
                         const char* after) {
  out.Assign(before);
  out.Append(keyword.data());
  if (after != nullptr) out.Append(after);
}

void DirectiveNameTable::Build(const FileControl* control, const char* prefix) {
  if (built_ && prefix == nullptr) return;
  built_ = 1;
  if (prefix != nullptr)
    prefix_.Assign(prefix);
  else if (control != nullptr)
    prefix_.Assign(control->GetText(PolicyId::DirectiveDelimiter));
  else
    prefix_.Assign(kDefaultDirectivePrefix);
  for (std::size_t i = 0; i < names_.size(); ++i)
    AssignJoined(names_[i], prefix_, kDirectiveKeywords[i], nullptr);
}

void InlineCommandTable::Build(const FileControl* control) {
  if (control != nullptr) {
    start_.Assign(control->GetText(PolicyId::StartTagDelimiter));
    end_.Assign(control->GetText(PolicyId::EndTagDelimiter));
  } else {
    start_.Assign(kDefaultStartDelimiter);
    end_.Assign(kDefaultEndDelimiter);
  }
  const TextString none;
  for (std::size_t i = 0; i < opening_.size(); ++i) {
    const std::string_view keyword = kInlineCommandKeywords[i];
    AssignJoined(opening_[i], start_, keyword, nullptr);
    AssignJoined(complete_[i], start_, keyword, end_.GetText());
    AssignJoined(closing_[i], none, keyword, end_.GetText());
  }
  AssignJoined(closingFo_, none, "FO", end_.GetText());
}

void HtmlTagNameTable::Build() {
  for (std::size_t i = 0; i < bare_.size(); ++i) {
    const std::string_view name = kHtmlTagNameKeywords[i];
    bare_[i].Assign(name.data());
    // "<B" would also match BR, BLOCKQUOTE and BODY: only B is written closed.
    const char* end = (i == static_cast<std::size_t>(HtmlTagName::B)) ? ">" : nullptr;
    AssignJoined(opening_[i], "<", name, end);
    AssignJoined(closing_[i], "</", name, ">");
  }
}

void QualifierTable::Build() {
  qualifierChar_ = kDefaultQualifierChar;
  const char prefix[2] = {qualifierChar_, '\0'};
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    QualifierEntry& entry = entries_[i];
    const QualifierRow& row = kQualifierRows[i];
    AssignJoined(entry.fullForm, prefix, row.name, nullptr);
    entry.searchForm.AssignSubstring(entry.fullForm.GetText(), 0, row.minLength);
    entry.minLength = row.minLength;
    entry.enabled = 1;
  }
}
