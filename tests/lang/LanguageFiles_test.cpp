// The eight other languages' texts, compiled from the language files of data/lang: each
// language against the English tables, and the compiler langc on files that must stop the
// build.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

struct LanguageFile {
  int language;
  const char* name;  // data/lang/<name>.lng
  const char* codePage;
};

void PrintTo(const LanguageFile& file, std::ostream* out) { *out << file.name; }

constexpr LanguageFile kLanguageFiles[] = {
    {kLanguageGerman, "german", "WINDOWS-1252"},
    {kLanguageSpanish, "spanish", "WINDOWS-1252"},
    {kLanguageFrench, "french", "WINDOWS-1252"},
    {kLanguagePortuguese, "portuguese", "WINDOWS-1252"},
    {kLanguageItalian, "italian", "WINDOWS-1252"},
    {kLanguageSwedish, "swedish", "WINDOWS-1252"},
    {kLanguageRussian, "russian", "WINDOWS-1251"},
    {kLanguageDutch, "dutch", "WINDOWS-1252"},
};

struct TableCase {
  TextTableKind table;
  const char* name;
  int firstId;  // language-file id of index 0
};

constexpr TableCase kTables[] = {
    {TextTableKind::Messages, "messages", kMessageTextFirstId},
    {TextTableKind::Dialog, "dialog texts", 0},
    {TextTableKind::ToolTips, "tooltips", kToolTipTextFirstId},
    {TextTableKind::Menus, "menus", kMenuTextFirstId},
};

// Entries that a language's filler leaves alone.
bool IsGap(int language, TextTableKind table, int index) {
  const std::span<const int> gaps = FillerGaps(language, table);
  return std::find(gaps.begin(), gaps.end(), index) != gaps.end();
}

std::map<int, std::string_view> ByIndex(std::span<const TextRow> rows) {
  std::map<int, std::string_view> texts;
  for (const TextRow& row : rows)
    texts.emplace(row.index, row.text);
  return texts;
}

std::string LanguageFilePath(const LanguageFile& file) {
  return std::string(KELVANE_LANGUAGE_DIR) + "/" + file.name + ".lng";
}

// The text decoded from a single-byte code page; false when a byte has no character there.
bool Decode(std::string_view bytes, const char* codePage, std::u32string& out) {
  iconv_t cd = iconv_open("UTF-32LE", codePage);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return false;
  std::string wide(bytes.size() * 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* to = wide.data();
  std::size_t toLeft = wide.size();
  const bool ok = iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out.clear();
  for (std::size_t i = 0; ok && i + 4 <= wide.size() - toLeft; i += 4) {
    const auto* b = reinterpret_cast<const unsigned char*>(wide.data() + i);
    out.push_back(static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24));
  }
  return ok;
}

bool IsCyrillicLetter(char32_t c) { return c >= 0x400 && c <= 0x4FF; }

bool IsLetterOrDigit(char32_t c) {
  const bool ascii = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  const bool latin = c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
  return ascii || latin || IsCyrillicLetter(c);
}

// Lower case for the letters the nine languages use, so "&S" and "&s" count as one key.
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z')
    return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
    return c + 0x20;
  if (c >= 0x410 && c <= 0x42F)
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F)
    return c + 0x50;
  return c;
}

// The character after the text's single "&" ("&&" is a literal ampersand): 0 without one,
// -1 when "&" ends the text or stands more than once.
long AcceleratorOf(const std::u32string& text) {
  long key = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'&')
      continue;
    if (i + 1 < text.size() && text[i + 1] == U'&') {
      ++i;
      continue;
    }
    if (key != 0 || i + 1 == text.size())
      return -1;
    key = static_cast<long>(text[i + 1]);
  }
  return key;
}

// The menus as the main dialog shows them (after pruning), by menu-text index: within one
// menu no two entries may share an access key that their English texts do not share.
struct ShownMenu {
  const char* name;
  std::vector<int> entries;
};

const std::vector<ShownMenu>& ShownMenus() {
  static const std::vector<ShownMenu> menus = {
      {"menu bar", {10, 20, 110, 130, 150, 160, 190}},
      {"File", {11, 12, 13, 14}},
      {"Conversion options", {40, 50, 200, 23, 24, 25, 26, 27}},
      {"Analysis policies", {41, 42, 43, 44, 45, 46, 47, 48}},
      {"Output policies", {100, 54, 55, 56, 57, 62, 64, 66}},
      {"File generation", {101}},
      {"Config files", {71, 72, 73, 74}},
      {"Settings", {111, 112, 113, 114, 115, 117, 118, 119, 120, 121}},
      {"Language", {131, 132, 133, 134, 135, 136, 137, 138, 139, 141, 142}},
      {"View", {151, 152}},
      {"Help", {161, 170, 180, 165}},
      {"HTML Documentation", {171, 172}},
      {"Other products", {181, 182, 183, 184, 185}},
      {"Updates", {191}},
  };
  return menus;
}

// Texts that the program replaces or relies on, which every translation keeps as often as
// the English text holds them.
constexpr std::string_view kKeptPieces[] = {
    "xxxxxx", "ffffff", "hhhhhh", "nnn", "ccc", "%1", "\n", "\r", "Qvarnel", "Kelvane",
};

std::size_t Occurrences(std::string_view text, std::string_view piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + piece.size()))
    ++count;
  return count;
}

std::vector<std::string_view> SplitBars(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|')) {
    fields.push_back(text.substr(0, bar));
    text.remove_prefix(bar + 1);
  }
  fields.push_back(text);
  return fields;
}

}  // namespace

// ---- The files present and the fillers built from them ----

TEST(LanguageFiles, EveryFilePresentIsBuiltIn) {
  for (const LanguageFile& file : kLanguageFiles) {
    SCOPED_TRACE(file.name);
    EXPECT_EQ(fs::exists(LanguageFilePath(file)), HasBuiltInTranslation(file.language))
        << LanguageFilePath(file) << ": configure again when a file is added or removed";
  }
  EXPECT_FALSE(HasBuiltInTranslation(kLanguageEnglish));
  EXPECT_FALSE(HasBuiltInTranslation(kLanguageOther));
  EXPECT_FALSE(HasBuiltInTranslation(10));
}

// Fails until the translators' eight files are in data/lang; the lead turns the check on with
// -DKELVANE_REQUIRE_ALL_LANGUAGES=ON once they are merged.
TEST(LanguageFiles, AllEightLanguagesAreBuiltIn) {
  if (!KELVANE_REQUIRE_ALL_LANGUAGES)
    GTEST_SKIP() << "configure with -DKELVANE_REQUIRE_ALL_LANGUAGES=ON to require the files";
  for (const LanguageFile& file : kLanguageFiles) {
    SCOPED_TRACE(file.name);
    EXPECT_TRUE(fs::exists(LanguageFilePath(file))) << LanguageFilePath(file);
    EXPECT_TRUE(HasBuiltInTranslation(file.language));
  }
}

TEST(LanguageFiles, UntranslatedLanguageFillsEnglishBehindItsMarker) {
  for (const LanguageFile& file : kLanguageFiles) {
    if (HasBuiltInTranslation(file.language))
      continue;
    SCOPED_TRACE(file.name);
    const TextFiller filler = FillerOf(file.language, TextTableKind::Dialog);
    EXPECT_EQ(filler.rows.data(), EnglishDialogTexts().data());
    EXPECT_EQ(filler.prefix, UntranslatedMarker(file.language));
  }
  const TextFiller english = FillerOf(kLanguageEnglish, TextTableKind::ToolTips);
  EXPECT_EQ(english.rows.data(), EnglishToolTipTexts().data());
  EXPECT_EQ(english.prefix, "");
}

// ---- Each translated language against the English texts ----

class LanguageTexts : public ::testing::TestWithParam<LanguageFile> {
 protected:
  void SetUp() override {
    if (!HasBuiltInTranslation(GetParam().language))
      GTEST_SKIP() << LanguageFilePath(GetParam()) << " is not in the source tree";
  }
  std::span<const TextRow> Rows(TextTableKind table) const {
    return TranslatedTextRows(GetParam().language, table);
  }
};

TEST_P(LanguageTexts, DefinesEveryEnglishEntryExceptItsGaps) {
  const int language = GetParam().language;
  for (const TableCase& table : kTables) {
    SCOPED_TRACE(table.name);
    if (EnglishTexts(table.table).empty())
      continue;  // no English texts built in to compare with
    const std::map<int, std::string_view> english = ByIndex(EnglishTexts(table.table));
    const std::map<int, std::string_view> own = ByIndex(Rows(table.table));
    EXPECT_EQ(own.size(), Rows(table.table).size()) << "an index defined twice";
    for (const auto& [index, text] : english) {
      const int id = table.firstId + index;
      if (IsGap(language, table.table, index)) {
        EXPECT_EQ(own.count(index), 0u) << "id " << id << " is a gap the filler must leave";
        continue;
      }
      EXPECT_EQ(own.count(index), 1u) << "id " << id << " is missing";
    }
    for (const auto& [index, text] : own)
      EXPECT_EQ(english.count(index), 1u) << "id " << table.firstId + index << " has no English";
  }
}

TEST_P(LanguageTexts, KeepsPlaceholdersAndFileFilterPatterns) {
  for (const TableCase& table : kTables) {
    SCOPED_TRACE(table.name);
    const std::map<int, std::string_view> english = ByIndex(EnglishTexts(table.table));
    for (const TextRow& row : Rows(table.table)) {
      const auto found = english.find(row.index);
      if (found == english.end())
        continue;
      SCOPED_TRACE(table.firstId + row.index);
      const std::string_view original = found->second;
      for (std::string_view piece : kKeptPieces)
        EXPECT_EQ(Occurrences(row.text, piece), Occurrences(original, piece)) << piece;
      EXPECT_EQ(row.text.find('\\'), std::string_view::npos) << "an escape left in the text";
      if (original.find('|') == std::string_view::npos)
        continue;
      // Filters: descriptions may be translated; the patterns and the ending stay.
      const std::vector<std::string_view> fields = SplitBars(row.text);
      const std::vector<std::string_view> englishFields = SplitBars(original);
      ASSERT_EQ(fields.size(), englishFields.size()) << row.text;
      for (std::size_t i = 1; i < fields.size(); i += 2)
        EXPECT_EQ(fields[i], englishFields[i]);
      EXPECT_EQ(fields.back(), englishFields.back());
    }
  }
}

TEST_P(LanguageTexts, UntranslatedTextsCarryOnlyTheirOwnMarker) {
  const std::string_view own = UntranslatedMarker(GetParam().language);
  for (const TableCase& table : kTables) {
    SCOPED_TRACE(table.name);
    const std::map<int, std::string_view> english = ByIndex(EnglishTexts(table.table));
    for (const TextRow& row : Rows(table.table)) {
      SCOPED_TRACE(table.firstId + row.index);
      for (int other = kLanguageGerman; other <= kLanguageDutch; ++other) {
        const std::string_view marker = UntranslatedMarker(other);
        const std::size_t at = row.text.find(marker);
        if (at == std::string_view::npos)
          continue;
        EXPECT_EQ(marker, own) << row.text;
        EXPECT_EQ(at, 0u) << row.text;
        const auto found = english.find(row.index);
        if (found != english.end()) {
          EXPECT_EQ(row.text.substr(marker.size()), found->second) << "marker before a translation";
        }
      }
    }
  }
}

TEST_P(LanguageTexts, DecodeInTheirCodePage) {
  const LanguageFile& file = GetParam();
  std::u32string text;
  for (const TableCase& table : kTables) {
    SCOPED_TRACE(table.name);
    const std::map<int, std::string_view> english = ByIndex(EnglishTexts(table.table));
    for (const TextRow& row : Rows(table.table)) {
      SCOPED_TRACE(table.firstId + row.index);
      ASSERT_TRUE(Decode(row.text, file.codePage, text));
      if (file.language != kLanguageRussian)
        continue;
      // Russian shows Cyrillic wherever the English text is a phrase.
      const auto found = english.find(row.index);
      const bool phrase = found != english.end() && found->second.find(' ') != std::string_view::npos;
      if (phrase) {
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), IsCyrillicLetter)) << row.text;
      }
    }
  }
}

TEST_P(LanguageTexts, MenuAccessKeysAreLettersAndDistinctWithinAMenu) {
  const char* codePage = GetParam().codePage;
  const std::map<int, std::string_view> english = ByIndex(EnglishMenuTexts());
  if (english.empty())
    GTEST_SKIP() << "no English menu texts built in";
  const std::map<int, std::string_view> own = ByIndex(Rows(TextTableKind::Menus));
  std::u32string text;
  std::u32string englishText;
  for (const ShownMenu& menu : ShownMenus()) {
    SCOPED_TRACE(menu.name);
    std::map<long, int> entryOfKey;
    for (int index : menu.entries) {
      const auto found = own.find(index);
      if (found == own.end() || english.count(index) == 0)
        continue;
      SCOPED_TRACE(kMenuTextFirstId + index);
      ASSERT_TRUE(Decode(found->second, codePage, text));
      ASSERT_TRUE(Decode(english.at(index), "WINDOWS-1252", englishText));
      const long key = AcceleratorOf(text);
      const long englishKey = AcceleratorOf(englishText);
      EXPECT_NE(key, -1) << found->second;
      EXPECT_EQ(key != 0, englishKey != 0) << found->second;
      if (key <= 0)
        continue;
      EXPECT_TRUE(IsLetterOrDigit(static_cast<char32_t>(key))) << found->second;
      const long folded = static_cast<long>(FoldCase(static_cast<char32_t>(key)));
      const auto [clash, isNew] = entryOfKey.emplace(folded, index);
      if (isNew)
        continue;
      // A clash that the English menu has too is the menu's own.
      ASSERT_TRUE(Decode(english.at(clash->second), "WINDOWS-1252", englishText));
      const long otherEnglishKey = AcceleratorOf(englishText);
      EXPECT_EQ(FoldCase(static_cast<char32_t>(otherEnglishKey)),
                FoldCase(static_cast<char32_t>(englishKey)))
          << found->second << " has the access key of id " << kMenuTextFirstId + clash->second;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EightLanguages, LanguageTexts, ::testing::ValuesIn(kLanguageFiles),
                         [](const ::testing::TestParamInfo<LanguageFile>& info) {
                           return std::string(info.param.name);
                         });

// ---- The compiler ----

namespace {

struct LangcRun {
  int status;
  std::string errors;
  std::string output;
};

LangcRun RunLangc(const TempFolder& folder, const std::string& language, const std::string& text) {
  const std::string input = folder.File(language + ".lng");
  const std::string output = folder.File("out.cpp");
  const std::string errors = folder.File("errors.txt");
  WriteBytes(input, text);
  const std::string command = std::string("'") + KELVANE_LANGC + "' '" + output + "' " +
                              language + "='" + input + "' 2>'" + errors + "'";
  const int status = std::system(command.c_str());
  return {status, ReadBytes(errors), ReadBytes(output)};
}

}  // namespace

TEST(Langc, StopsAtALineItCannotTake) {
  struct Case {
    const char* language;
    const char* text;
    const char* message;  // after "<file>:<line>: "
  };
  const Case cases[] = {
      {"german", "60 : Aufz\xC3\xA4hlungen\nno colon here\n", ":2: no \":\" after the id"},
      {"german", "sixty : Text\n", ":1: \"sixty\" is not a decimal id"},
      {"german", " : Text\n", ":1: \"\" is not a decimal id"},
      {"german", "-5 : Text\n", ":1: \"-5\" is not a decimal id"},
      {"german", "1000 : Text\n", ":1: id 1000 belongs to no text table"},
      {"german", "5550 : Text\n", ":1: id 5550 belongs to no text table"},
      {"german", "15120 : Text\n", ":1: id 15120 belongs to no text table"},
      {"german", "0 : Text\n", ":1: id 0 belongs to no text table"},
      {"german", "! comment\n60 : a\n60 : b\n", ":3: id 60 was given on line 2 already"},
      {"german", "60 : \xD0\x94\n", ":1: the text of id 60 is not UTF-8 or cannot be written in "
                                    "code page WINDOWS-1252"},
      {"russian", "60 : caf\xC3\xA9\n", ":1: the text of id 60 is not UTF-8 or cannot be "
                                        "written in code page WINDOWS-1251"},
      {"french", "60 : caf\xE9\n", ":1: the text of id 60 is not UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TempFolder folder("langc");
    const LangcRun run = RunLangc(folder, c.language, c.text);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find(folder.File(std::string(c.language) + ".lng") + c.message),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.output, "") << "nothing is written after a failure";
  }
}

TEST(Langc, WritesSingleByteRowsWithTheEscapesDecoded) {
  struct Case {
    const char* language;
    const char* text;
    const char* row;  // as written in the generated source
  };
  const Case cases[] = {
      // Comments, blanks around id and text, CR LF line ends and a byte-order mark.
      {"french", "\xEF\xBB\xBF! en-t\xC3\xAAte\n\t61 :  Caf\xC3\xA9 ! comment\r\n", "{61, \"Caf\\xE9\"}"},
      {"french", "7 : Page : accueil\n", "{7, \"Page : accueil\"}"},
      {"russian", "10010 : &\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\n", "{10, \"&\\xD4\\xE0\\xE9\\xEB\"}"},
      // A hex escape followed by a hex digit is closed first.
      {"german", "60 : \xC3\xA4" "b\n", "{60, \"\\xE4\" \"b\"}"},
      {"german", "15025 : a\\nb\\rc\n", "{25, \"a\\nb\\rc\"}"},
      {"german", "5054 : Ist \\\"-\\\" da?\n", "{54, \"Ist \\\"-\\\" da?\"}"},
      // Line-break escapes are decoded in message texts only.
      {"german", "67 : a\\nb\n", "{67, \"a\\\\nb\"}"},
      {"german", "33 :\n", "{33, \"\"}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TempFolder folder("langc");
    const LangcRun run = RunLangc(folder, c.language, c.text);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find(c.row), std::string::npos) << run.output;
  }
}
