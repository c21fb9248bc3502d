// Reading and writing language files: one line at a time into the four tables, whole files
// (single-byte and UTF-8), the exported sections, and the round trip of every built-in
// language.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "lang/LanguageFiles.h"
#include "lang/MenuTexts.h"
#include "lang/ToolTips.h"
#include "support/TestFiles.h"

namespace {

// Every text of the four tables, to see what a line changed.
struct TableSnapshot {
  std::vector<std::string> messages, dialog, toolTips, menus;
  bool operator==(const TableSnapshot&) const = default;
};

std::vector<std::string> TextsOf(const TextTable& table) {
  std::vector<std::string> texts;
  for (int i = 0; i < table.Count(); ++i)
    texts.emplace_back(table.Get(i));
  return texts;
}

TableSnapshot Snapshot() {
  return {TextsOf(MessageTexts()), TextsOf(DialogTexts()), TextsOf(ToolTipTexts()),
          TextsOf(MenuTexts())};
}

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SelectInterfaceLanguage(kLanguageEnglish); }
  void TearDown() override { SelectInterfaceLanguage(kLanguageEnglish); }
};

}  // namespace

// ---- Lines ----

struct LineCase {
  const char* line;
  TextTableKind table;
  int index;
  const char* text;
};
const LineCase kLineCases[] = {
    {"15002  : Keine Analyse notwendig", TextTableKind::Messages, 2, "Keine Analyse notwendig"},
    {"  61 :  text  ", TextTableKind::Dialog, 61, "text"},
    {"\t62\t:\tTabs around\t", TextTableKind::Dialog, 62, "Tabs around"},
    {"60  : first!second", TextTableKind::Dialog, 60, "first"},
    {"63  : a: b :c", TextTableKind::Dialog, 63, "a: b :c"},
    {"15003  : one\\ntwo\\rthree", TextTableKind::Messages, 3, "one\ntwo\rthree"},
    {"64  : one\\ntwo", TextTableKind::Dialog, 64, "one\\ntwo"},
    {"5001  : A tip", TextTableKind::ToolTips, 1, "A tip"},
    {"10010  : &Datei", TextTableKind::Menus, 10, "&Datei"},
    {"999  : last dialog entry", TextTableKind::Dialog, 999, "last dialog entry"},
    {"15119  : last message", TextTableKind::Messages, 119, "last message"},
};

static const char* TextOf(TextTableKind table, int index) {
  switch (table) {
    case TextTableKind::Messages:
      return MessageTexts().Get(index);
    case TextTableKind::Dialog:
      return DialogTexts().Get(index);
    case TextTableKind::ToolTips:
      return ToolTipTexts().Get(index);
    case TextTableKind::Menus:
      return MenuTexts().Get(index);
  }
  return "";
}

TEST_F(LanguageFileTest, LineSetsTheEntryItsIdSelects) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.line);
    ApplyLanguageFileLine(c.line);
    EXPECT_STREQ(TextOf(c.table, c.index), c.text);
  }
}

TEST_F(LanguageFileTest, LinesWithoutAUsableIdChangeNothing) {
  const char* const lines[] = {
      "1200  : beyond the dialog texts", "4999  : x", "9999  : beyond the tooltips",
      "15120  : beyond the messages",    "word  : x", "  : no id",
      "-5  : negative",                  "0  : zero", "61 no colon",
      "! 61 : a comment",                "",          "6x1 : mixed",
      "99999999999999999999 : too big",
  };
  const TableSnapshot before = Snapshot();
  for (const char* line : lines)
    ApplyLanguageFileLine(line);
  EXPECT_TRUE(Snapshot() == before);
}

// ---- Files ----

TEST_F(LanguageFileTest, UnopenableFileChangesNothing) {
  const TableSnapshot before = Snapshot();
  const LanguageFileRead read = ReadLanguageFile("/nonexistent/kelvane/none.lng", 1252);
  EXPECT_FALSE(read.opened);
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(LanguageFileTest, Utf8FileIsConvertedToTheCodePageThatHoldsIt) {
  TempFolder folder("language-file-utf8");
  const std::string german = folder.File("german.lng");
  WriteBytes(german, "\xEF\xBB\xBF" "15002  : Schlie\xC3\x9F" "en\n61  : Gr\xC3\xBC\xC3\x9F" "e\n");
  LanguageFileRead read = ReadLanguageFile(german, 1252);
  EXPECT_TRUE(read.utf8);
  EXPECT_EQ(read.codePage, 1252);
  EXPECT_STREQ(MessageTexts().Get(2), "Schlie\xDF" "en");
  EXPECT_STREQ(DialogTexts().Get(61), "Gr\xFC\xDF" "e");

  // Cyrillic has no place in 1252: the texts come in 1251, which the reader reports.
  const std::string russian = folder.File("russian.lng");
  WriteBytes(russian, "62  : \xD0\x9F\xD1\x80\xD0\xB8\n");
  read = ReadLanguageFile(russian, 1252);
  EXPECT_EQ(read.codePage, 1251);
  EXPECT_STREQ(DialogTexts().Get(62), "\xCF\xF0\xE8");

  // A single-byte file is taken as it is.
  const std::string single = folder.File("single.lng");
  WriteBytes(single, "63  : Gr\xFC\xDF" "e\n");
  read = ReadLanguageFile(single, 1252);
  EXPECT_FALSE(read.utf8);
  EXPECT_STREQ(DialogTexts().Get(63), "Gr\xFC\xDF" "e");
}

TEST_F(LanguageFileTest, EnglishRestoresEveryBuiltInEntryAfterAFile) {
  TempFolder folder("language-file-restore");
  const std::string name = folder.File("german.lng");
  SelectInterfaceLanguage(kLanguageGerman);
  ASSERT_TRUE(WriteLanguageFile(name));
  SelectInterfaceLanguage(kLanguageEnglish);
  ASSERT_TRUE(ReadLanguageFile(name, 1252).opened);
  SelectInterfaceLanguage(kLanguageOther);
  ASSERT_STRNE(DialogTexts().Get(30), "Browse...");  // the file's text is in force
  SelectInterfaceLanguage(kLanguageEnglish);
  for (TextTableKind table : {TextTableKind::Messages, TextTableKind::Dialog,
                              TextTableKind::ToolTips, TextTableKind::Menus}) {
    for (const TextRow& row : EnglishTexts(table)) {
      SCOPED_TRACE(row.index);
      EXPECT_EQ(std::string(TextOf(table, row.index)), row.text);
    }
  }
}

// ---- Export ----

TEST(LanguageFileExportName, AddsTheExtensionOnlyToANameWithoutADot) {
  EXPECT_EQ(LanguageFileExportName("/tmp/mine"), "/tmp/mine.lng");
  EXPECT_EQ(LanguageFileExportName("/tmp/mine.txt"), "/tmp/mine.txt");
  EXPECT_EQ(LanguageFileExportName("/tmp/mine."), "/tmp/mine.");
  EXPECT_EQ(LanguageFileExportName(""), ".lng");
}

TEST_F(LanguageFileTest, ExportWritesTheSectionsInOrder) {
  TempFolder folder("language-file-sections");
  const std::string name = folder.File("english.lng");
  ASSERT_TRUE(WriteLanguageFile(name));
  const std::string text = ReadBytes(name);
  EXPECT_EQ(text.rfind("!\n!- [All] About box\n!\n3  : ", 0), 0u) << text.substr(0, 80);
  // Dialog texts, tooltips, menus, messages: each table's ids after the one before.
  std::istringstream in(text);
  int table = 0;
  int tablesSeen = 1;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '!')
      continue;
    const int id = std::stoi(line);
    const int tableOfId = id >= 15000 ? 3 : id >= 10000 ? 2 : id >= 5000 ? 1 : 0;
    EXPECT_GE(tableOfId, table) << line;
    tablesSeen += tableOfId != table ? 1 : 0;
    table = tableOfId;
  }
  EXPECT_EQ(tablesSeen, 4);
  // The formatting group writes 274 and 283 twice; messages keep line breaks escaped.
  EXPECT_NE(text.find("\n!- [Kelvane] Output->RTF formatting page\n!\n290  : "), std::string::npos);
  int count274 = 0;
  for (std::size_t at = text.find("\n274  : "); at != std::string::npos; at = text.find("\n274  : ", at + 1))
    ++count274;
  EXPECT_EQ(count274, 2);
  EXPECT_NE(text.find("\n15025  : Problems detected using DDE last time.\\n\\rDisabling DDE."),
            std::string::npos);
  EXPECT_NE(text.find("\n!- file conversion types\n!\n15104  : "), std::string::npos);
}

TEST_F(LanguageFileTest, EachBuiltInLanguageReadsBackAsItWasExported) {
  TempFolder folder("language-file-roundtrip");
  for (int language = kLanguageEnglish; language <= kLanguageDutch; ++language) {
    SCOPED_TRACE(language);
    SelectInterfaceLanguage(language);
    const TableSnapshot exported = Snapshot();
    const std::string name = folder.File("language" + std::to_string(language) + ".lng");
    ASSERT_TRUE(WriteLanguageFile(name));
    // Another language in force, then the file over it.
    SelectInterfaceLanguage(language == kLanguageGerman ? kLanguageFrench : kLanguageGerman);
    ASSERT_TRUE(ReadLanguageFile(name, 1252).opened);
    std::istringstream in(ReadBytes(name));
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '!')
        continue;
      const int id = std::stoi(line);
      const auto [table, index, texts] =
          id >= 15000   ? std::tuple(TextTableKind::Messages, id - 15000, &exported.messages)
          : id >= 10000 ? std::tuple(TextTableKind::Menus, id - 10000, &exported.menus)
          : id >= 5000  ? std::tuple(TextTableKind::ToolTips, id - 5000, &exported.toolTips)
                        : std::tuple(TextTableKind::Dialog, id, &exported.dialog);
      std::string expected = (*texts)[static_cast<std::size_t>(index)];
      // The format's limits: a "!" starts a comment, blanks at the ends are lost, and a line
      // break in a text that is not a message ends its line.
      expected = expected.substr(0, expected.find('!'));
      if (table != TextTableKind::Messages)
        expected = expected.substr(0, expected.find_first_of("\r\n"));
      const std::size_t first = expected.find_first_not_of(" \t");
      const std::size_t last = expected.find_last_not_of(" \t");
      expected = first == std::string::npos ? "" : expected.substr(first, last - first + 1);
      EXPECT_EQ(TextOf(table, index), expected) << line;
    }
  }
}

// The language files the program ships are UTF-8: read over English, each gives the texts
// of its built-in language, in its code page.
TEST_F(LanguageFileTest, ShippedFilesReadAsTheirBuiltInLanguage) {
  struct Shipped {
    const char* name;
    int language;
    int codePage;
  };
  const Shipped files[] = {{"german", kLanguageGerman, 1252}, {"french", kLanguageFrench, 1252},
                           {"russian", kLanguageRussian, 1251}, {"swedish", kLanguageSwedish, 1252}};
  for (const Shipped& file : files) {
    SCOPED_TRACE(file.name);
    if (!HasBuiltInTranslation(file.language))
      continue;
    SelectInterfaceLanguage(kLanguageEnglish);
    SelectInterfaceLanguage(file.language);
    const std::vector<std::string> builtIn = TextsOf(DialogTexts());
    SelectInterfaceLanguage(kLanguageEnglish);
    const LanguageFileRead read =
        ReadLanguageFile(std::string(KELVANE_LANGUAGE_DIR) + "/" + file.name + ".lng", 1252);
    ASSERT_TRUE(read.opened);
    EXPECT_TRUE(read.utf8);
    EXPECT_EQ(read.codePage, file.codePage);
    for (const TextRow& row : TranslatedTextRows(file.language, TextTableKind::Dialog)) {
      SCOPED_TRACE(row.index);
      EXPECT_EQ(DialogTexts().Get(row.index), builtIn[static_cast<std::size_t>(row.index)]);
    }
  }
}
