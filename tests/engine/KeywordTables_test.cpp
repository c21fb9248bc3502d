#include "engine/KeywordTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "policy/FileControl.h"

// The keyword lists as published for document authors, in table order.
static constexpr const char* kDirectiveList =
    "ALARM_DEFINITION, BASEHREF, BEGIN_ASCII, BEGIN_CODE, BEGIN_CONTENTS, "
    "BEGIN_COMMA_DELIMITED_TABLE, BEGIN_DELIMITED_TABLE, BEGIN_DIAGRAM, BEGIN_HTML, "
    "BEGIN_IGNORE, BEGIN_INV_PYRAMID, BEGIN_LIST, BEGIN_PRE, BEGIN_TABLE, BEGIN_TAGGED_TABLE, "
    "BEGIN_USER_TABLE, BEGIN_UNDERWRITER, AUTHOR_URL, BOOKMARK_URL, COPYRIGHT_URL, "
    "CHANGE_INDENT, CHANGE_POLICY, COL_DEFN, COMPOSITION_UNIT, CONTENTS_LIST, DATA_CELL, "
    "DEFINE_BLOCK, DEFINE_HTML_FRAGMENT, DEFINE_TEXT_FRAGMENT, DEFINE_VARIABLE, DESCRIPTION, "
    "ALLOW, DISALLOW, EMBED_BLOCK, END_ASCII, END_BLOCK, END_CODE, END_CONTENTS, "
    "END_COMMA_DELIMITED_TABLE, END_DELIMITED_TABLE, END_DIAGRAM, END_HTML, END_IGNORE, "
    "END_INV_PYRAMID, END_LIST, END_PRE, END_TABLE, END_TAGGED_TABLE, END_USER_TABLE, "
    "END_UNDERWRITER, FILENAME, FORMAT_DEFINITION, GRAPH_DEFINITION, HEAD_CELL, HELP_CHAPTER, "
    "HELP_SUBJECT, HELP_TOPIC_ID, HELP_TOPIC_KEYWORDS, HTML_LINE, INCLUDE, INSERT_BLOCK, "
    "INSERT_FRAGMENT, KEYWORDS, LINERULE, LINKPOINT, LIST_ITEM, META_TAG, NAVIGATION_BAR, "
    "NEWFILE, PAGE, PARA, RESET_BLOCK, RESET_HTML_FRAGMENT, RESET_TEXT_FRAGMENT, "
    "RESTORE_CONTEXT, SAVE_CONTEXT, SECTION, SHORTCUT_ICON, STYLE_SHEET, TABLE_ADD_TOTAL_WIDTH, "
    "TABLE_ALIGN, TABLE_BGCOLOR, TABLE_BORDER, TABLE_BORDERCOLOR, TABLE_CAPTION, "
    "TABLE_DATA_DEFINITION, TABLE_DELIMITER, TABLE_CELLPADDING, TABLE_CELLSPACING, "
    "TABLE_CELL_ALIGN, TABLE_COLOR_ROWS, TABLE_COLOUR_ROWS, TABLE_CONVERT_XREFS, "
    "TABLE_COLUMN_ALIGNMENTS, TABLE_COLUMN_FORMATS, TABLE_COLUMN_HEADERS, TABLE_COLUMN_WIDTHS, "
    "TABLE_EVEN_ROW_COLOR, TABLE_EVEN_ROW_COLOUR, TABLE_HEADER_COLS, TABLE_HEADER_ROWS, "
    "TABLE_HIDE_COLUMN, TABLE_LAYOUT, TABLE_MAY_BE_SPARSE, TABLE_MIN_COLUMN_SEPARATION, "
    "TABLE_ODD_ROW_COLOR, TABLE_ODD_ROW_COLOUR, TABLE_OF_CONTENTS, TABLE_SHOW_COLUMNS, "
    "TABLE_USE_PERCENTAGES, TABLE_WIDTH, NEW_ROW, NEW_CELL, COLUMN_DETAILS, TITLE, TOC";

static constexpr const char* kInlineList =
    "BR, CAAD, CAD, CANCEL_HANG, CANCEL_LEAD, COLOR, COLOUR, CURRENCY, DOT_LEADERS, EM, "
    "END_HEADING, END_REDLINE, ENTITY, EXTRA_LEADING, FONT, FRACTION, GOTO, GUTTER, HEADING, "
    "HTML, HTML_COMMENT, HYPERLINK, IGNORE_THIS, IMAGE, LEADING, LINERULE, LINKPOINT, NB, "
    "NULL_CHAR, PAGE, PAGE_MARKER, PARA, QUAD, SOURCE_FILE, SPACES, START_REDLINE, STUB_INDENT, "
    "SUB, SUPER, TEXT, TIMESTAMP, TOCLINK, TU, TU2, VALIGN, VERSION, VERTICAL_ALIGNMENT, WS";

static constexpr const char* kHtmlList =
    "B, BLOCKQUOTE, CENTER, DD, DIV, DL, DT, EM, FONT, I, LI, OL, P, SPAN, STRONG, TABLE, TD, "
    "TH, TR, UL";

static std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t comma = list.find(", ", start);
    if (comma == std::string::npos) comma = list.size();
    out.push_back(list.substr(start, comma - start));
    start = comma + 2;
  }
  return out;
}

static void ExpectSameKeywords(std::span<const std::string_view> table, const char* list) {
  const std::vector<std::string> expected = SplitList(list);
  ASSERT_EQ(table.size(), expected.size());
  std::set<std::string_view> seen;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i]);
    EXPECT_EQ(table[i], expected[i]);
    EXPECT_TRUE(seen.insert(table[i]).second) << "duplicate";
  }
}

TEST(KeywordTables, DirectiveKeywordsAreThe116InOrder) {
  EXPECT_EQ(DirectiveKeywords().size(), 116u);
  ExpectSameKeywords(DirectiveKeywords(), kDirectiveList);
  EXPECT_EQ(DirectiveKeywords()[static_cast<int>(Directive::Allow)], "ALLOW");
  EXPECT_EQ(DirectiveKeywords()[static_cast<int>(Directive::Disallow)], "DISALLOW");
  EXPECT_EQ(DirectiveKeywords()[static_cast<int>(Directive::Toc)], "TOC");
  EXPECT_EQ(DirectiveKeywords()[static_cast<int>(Directive::TableOfContents)],
            "TABLE_OF_CONTENTS");
}

TEST(KeywordTables, InlineAndHtmlKeywordsInOrder) {
  EXPECT_EQ(InlineCommandKeywords().size(), 48u);
  ExpectSameKeywords(InlineCommandKeywords(), kInlineList);
  EXPECT_EQ(HtmlTagNameKeywords().size(), 20u);
  ExpectSameKeywords(HtmlTagNameKeywords(), kHtmlList);
}

TEST(DirectiveNameTable, PrefixOnEveryEntryAndRebuiltOnlyWithANewPrefix) {
  DirectiveNameTable table;
  table.Build(nullptr, nullptr);
  EXPECT_EQ(table.IsBuilt(), 1);
  EXPECT_STREQ(table.GetPrefix().GetText(), "$_$_");
  EXPECT_STREQ(table.Get(Directive::AlarmDefinition).GetText(), "$_$_ALARM_DEFINITION");
  EXPECT_STREQ(table.Get(Directive::Toc).GetText(), "$_$_TOC");

  table.Build(nullptr, "##");
  for (std::size_t i = 0; i < DirectiveKeywords().size(); ++i) {
    const std::string expected = "##" + std::string(DirectiveKeywords()[i]);
    EXPECT_STREQ(table.Get(static_cast<Directive>(i)).GetText(), expected.c_str());
  }

  // A built table ignores a call without prefix, even with a policy set that says otherwise.
  FileControl fc;
  fc.Text(PolicyId::DirectiveDelimiter).value = "@@";
  table.Build(&fc, nullptr);
  EXPECT_STREQ(table.Get(Directive::Include).GetText(), "##INCLUDE");
}

TEST(DirectiveNameTable, FirstBuildTakesThePolicySetsDelimiter) {
  FileControl fc;
  fc.Text(PolicyId::DirectiveDelimiter).value = "@@";
  DirectiveNameTable table;
  table.Build(&fc, nullptr);
  EXPECT_STREQ(table.Get(Directive::BeginHtml).GetText(), "@@BEGIN_HTML");
}

TEST(InlineCommandTable, FormsFollowTheDelimiters) {
  InlineCommandTable table;
  table.Build(nullptr);
  EXPECT_STREQ(table.GetOpening(InlineCommand::Br).GetText(), "[[BR");
  EXPECT_STREQ(table.GetComplete(InlineCommand::Br).GetText(), "[[BR]]");
  EXPECT_STREQ(table.GetClosing(InlineCommand::Br).GetText(), "BR]]");
  EXPECT_STREQ(table.GetClosingFo().GetText(), "FO]]");

  FileControl fc;
  fc.Text(PolicyId::StartTagDelimiter).value = "<%";
  fc.Text(PolicyId::EndTagDelimiter).value = "%>";
  table.Build(&fc);
  EXPECT_STREQ(table.GetStartDelimiter().GetText(), "<%");
  EXPECT_STREQ(table.GetEndDelimiter().GetText(), "%>");
  for (std::size_t i = 0; i < InlineCommandKeywords().size(); ++i) {
    const std::string keyword(InlineCommandKeywords()[i]);
    SCOPED_TRACE(keyword);
    const auto c = static_cast<InlineCommand>(i);
    EXPECT_EQ(std::string(table.GetOpening(c).GetText()), "<%" + keyword);
    EXPECT_EQ(std::string(table.GetComplete(c).GetText()), "<%" + keyword + "%>");
    EXPECT_EQ(std::string(table.GetClosing(c).GetText()), keyword + "%>");
  }
  EXPECT_STREQ(table.GetClosingFo().GetText(), "FO%>");
}

TEST(HtmlTagNameTable, OpeningOfBDoesNotMatchLongerNames) {
  HtmlTagNameTable table;
  table.Build();
  EXPECT_STREQ(table.GetBare(HtmlTagName::Blockquote).GetText(), "BLOCKQUOTE");
  EXPECT_STREQ(table.GetOpening(HtmlTagName::B).GetText(), "<B>");
  EXPECT_STREQ(table.GetOpening(HtmlTagName::Ul).GetText(), "<UL");
  EXPECT_STREQ(table.GetClosing(HtmlTagName::B).GetText(), "</B>");
  EXPECT_STREQ(table.GetClosing(HtmlTagName::Ul).GetText(), "</UL>");

  const TextString br("<BR>");
  EXPECT_FALSE(br.StartsWith(table.GetOpening(HtmlTagName::B).GetText(), 0));
  const TextString quote("<BLOCKQUOTE CLASS=\"x\">");
  EXPECT_TRUE(quote.StartsWith(table.GetOpening(HtmlTagName::Blockquote).GetText(), 0));
  for (std::size_t i = 1; i < HtmlTagNameKeywords().size(); ++i) {
    const std::string name(HtmlTagNameKeywords()[i]);
    EXPECT_EQ(std::string(table.GetOpening(static_cast<HtmlTagName>(i)).GetText()), "<" + name);
  }
}

TEST(QualifierTable, SearchFormsAreCutToTheMinimumLength) {
  QualifierTable table;
  table.Build();
  EXPECT_EQ(QualifierRows().size(), 32u);
  EXPECT_EQ(table.GetQualifierChar(), '/');
  struct Case {
    Qualifier q;
    const char* full;
    const char* search;
  };
  const Case cases[] = {
      {Qualifier::Log, "/LOG", "/LO"},
      {Qualifier::Question, "/?", "/?"},
      {Qualifier::DeleteSource, "/DELETE_SOURCE", "/DELETE_SOURCE"},
      {Qualifier::CreatePolicy, "/CREATE_POLICY", "/CRE"},
      {Qualifier::Frames, "/FRAMES", "/F"},
      {Qualifier::Tree, "/TREE", "/TRE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.full);
    const QualifierEntry& e = table.Get(c.q);
    EXPECT_STREQ(e.fullForm.GetText(), c.full);
    EXPECT_STREQ(e.searchForm.GetText(), c.search);
    EXPECT_EQ(e.enabled, 1);
  }
  std::set<std::string_view> names;
  for (const QualifierRow& row : QualifierRows()) EXPECT_TRUE(names.insert(row.name).second);
}
