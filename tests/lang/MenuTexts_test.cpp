#include "lang/MenuTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Menu.h"
#include "support/TestFiles.h"
#include "text/TextFile.h"

// Every test starts from the menu table as the program starts with it.
class MenuTextsTest : public ::testing::Test {
 protected:
  MenuTextsTest() { Reset(); }
  ~MenuTextsTest() override { Reset(); }
  static void Reset() { MenuTexts() = TextTable(kMenuTextCount, kTableNoLanguage); }
};

TEST(EnglishMenuTexts, IndicesAreUniqueAndInsideTheTable) {
  std::set<int> seen;
  for (const TextRow& row : EnglishMenuTexts()) {
    EXPECT_TRUE(seen.insert(row.index).second) << "duplicate " << row.index;
    EXPECT_GE(row.index, 0);
    EXPECT_LT(row.index, kMenuTextCount);
    EXPECT_FALSE(row.text.empty()) << row.index;
  }
  EXPECT_EQ(seen.size(), 91u);
}

TEST_F(MenuTextsTest, LookupsAtTheEdgesOfTheTable) {
  SelectMenuLanguage(kLanguageEnglish);
  const struct {
    int index;
    const char* text;
  } cases[] = {
      {0, ""},
      {10, "&File"},
      {141, "Use language \"skin\"..."},
      {185, "Strivelle - HTML to text converter and markup remover"},
      {191, "Check for &newer versions"},
      {209, ""},
      {210, "???"},
      {5000, "???"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_STREQ(GetMenuText(c.index), c.text);
  }
}

TEST_F(MenuTextsTest, LookupNeverFillsTheTable) {
  EXPECT_STREQ(GetMenuText(10), "");
  EXPECT_EQ(MenuTexts().GetLanguage(), kTableNoLanguage);
}

TEST_F(MenuTextsTest, SetterTakesOnlyMenuIdsAndKeepsTheTextAsItIs) {
  SelectMenuLanguage(kLanguageEnglish);
  SetMenuEntry(10150, "An\\nsicht fr: x");
  SetMenuEntry(9999, "before");
  SetMenuEntry(10210, "after");
  EXPECT_STREQ(GetMenuText(150), "An\\nsicht fr: x");
  EXPECT_STREQ(GetMenuText(209), "");
  // The language in force does not load again over a language file's text.
  SelectMenuLanguage(kLanguageEnglish);
  EXPECT_STREQ(GetMenuText(150), "An\\nsicht fr: x");
  // Another language fills the entry again from its own texts.
  SelectMenuLanguage(kLanguageGerman);
  EXPECT_STRNE(GetMenuText(150), "An\\nsicht fr: x");
  EXPECT_STRNE(GetMenuText(150), "");
}

TEST_F(MenuTextsTest, WritesTheMenuSectionGroupByGroup) {
  SelectMenuLanguage(kLanguageEnglish);
  SetMenuEntry(10011, "Kon&vertieren");
  TempFolder folder("menus");
  const std::string path = folder.File("section.lng");
  {
    TextFile file;
    ASSERT_TRUE(file.OpenForWrite(path.c_str(), 0, 0));
    WriteMenuSection(file);
    file.CloseAll();
  }
  std::vector<std::string> lines;
  std::istringstream in(ReadBytes(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 14u * 3 + 91);
  const std::vector<std::string> head = {"!", "!- Main menu", "!", "10010  : &File",
                                         "10020  : &Conversion options"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), head);
  EXPECT_EQ(lines[10], "!");
  EXPECT_EQ(lines[11], "!- File Menu");
  EXPECT_EQ(lines[13], "10011  : Kon&vertieren");
  EXPECT_EQ(lines.back(), "10191  : Check for &newer versions");
  EXPECT_EQ(lines[lines.size() - 2], "!");
  EXPECT_EQ(lines[lines.size() - 3], "!- Updates menu");
}

// A bar with the menus that the retitling names, and some items of each.
static void BuildRetitledMenu(Menu& bar) {
  using K = MenuEntryKind;
  static constexpr MenuRow kRows[] = {
      {0, K::DropDown, 0, "F"},
      {1, K::Item, 32772, "c"},
      {1, K::Item, 32780, "s"},
      {0, K::DropDown, 0, "C"},
      {1, K::DropDown, 0, "A"},
      {2, K::Item, 32797, "w"},
      {1, K::Separator, 0, ""},
      {1, K::DropDown, 0, "O"},
      {2, K::DropDown, 0, "G"},
      {3, K::Item, 32832, "g"},
      {2, K::Item, 32807, "f"},
      {1, K::Separator, 0, ""},
      {1, K::DropDown, 0, "X"},
      {2, K::Item, 32861, "l"},
      {1, K::Item, 32780, "s..."},
      {0, K::DropDown, 0, "S"},
      {1, K::CheckItem, 32853, "t"},
      {0, K::DropDown, 0, "L"},
      {0, K::DropDown, 0, "V"},
      {0, K::DropDown, 0, "H"},
      {1, K::Item, 32777, "c"},
      {1, K::Separator, 0, ""},
      {1, K::DropDown, 0, "D"},
      {2, K::Item, 32786, "w"},
      {1, K::Separator, 0, ""},
      {1, K::DropDown, 0, "P"},
      {0, K::DropDown, 0, "U"},
      {1, K::Item, 32850, "n"},
  };
  BuildMenu(bar, kRows);
}

TEST_F(MenuTextsTest, RetitlesBarMenusAndItemsFromTheTable) {
  SelectMenuLanguage(kLanguageEnglish);
  HeadlessDialog window({1, "", {}}, nullptr, nullptr);
  BuildRetitledMenu(window.CreateMenuBar());
  ASSERT_TRUE(window.GetMenuBar()->CheckCommand(32853, true));
  ApplyMenuTexts(&window);
  Menu& bar = *window.GetMenuBar();
  const char* barTexts[] = {"&File", "&Conversion options", "&Settings", "&Language",
                            "&View", "&Help", "&Updates"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(bar.GetEntryText(i), barTexts[i]) << i;
  Menu& conversion = *bar.GetDropDown(1);
  EXPECT_EQ(conversion.GetEntryText(0), "&Analysis policies for input text file(s)");
  EXPECT_EQ(conversion.GetEntryText(2), "&Output policies for generated RTF file(s)");
  EXPECT_EQ(conversion.GetEntryText(4), "Configuration &Files");
  // One command id in two menus: each menu gives it its own text.
  EXPECT_EQ(bar.GetDropDown(0)->GetCommandText(32780), "&Save policies to file");
  EXPECT_EQ(conversion.GetCommandText(32780), "&Save policies to file...");
  EXPECT_EQ(conversion.GetDropDown(2)->GetEntryText(0), "&File generation");
  EXPECT_EQ(bar.GetCommandText(32832), "&General");
  EXPECT_EQ(bar.GetCommandText(32807), "F&onts");
  EXPECT_EQ(bar.GetCommandText(32861), "&Link Dictionary");
  EXPECT_EQ(bar.GetDropDown(5)->GetEntryText(2), "&HTML Documentation");
  EXPECT_EQ(bar.GetDropDown(5)->GetEntryText(4), "Other products");
  EXPECT_EQ(bar.GetCommandText(32786), "On the &web (online)");
  EXPECT_EQ(bar.GetCommandText(32850), "Check for &newer versions");
  // Retitled items lose their check marks; the Updates entry stands at the right end.
  EXPECT_FALSE(bar.IsCommandChecked(32853));
  EXPECT_TRUE(window.MenuBarEntries()->At(6)->rightJustified);
  EXPECT_FALSE(window.MenuBarEntries()->At(5)->rightJustified);
}

TEST_F(MenuTextsTest, MissingMenusAndItemsAreSkipped) {
  SelectMenuLanguage(kLanguageEnglish);
  HeadlessDialog window({1, "", {}}, nullptr, nullptr);
  ApplyMenuTexts(&window);  // no menu bar at all
  ApplyMenuTexts(nullptr);
  using K = MenuEntryKind;
  // A bar of two entries, the second without its drop-down menu's items.
  static constexpr MenuRow kRows[] = {
      {0, K::DropDown, 0, "F"},
      {1, K::Item, 32784, "x"},
      {0, K::DropDown, 0, "C"},
  };
  BuildMenu(window.CreateMenuBar(), kRows);
  ApplyMenuTexts(&window);
  Menu& bar = *window.GetMenuBar();
  EXPECT_EQ(bar.GetEntryCount(), 2);
  EXPECT_EQ(bar.GetEntryText(0), "&File");
  EXPECT_EQ(bar.GetEntryText(1), "&Conversion options");
  EXPECT_EQ(bar.GetCommandText(32784), "E&xit");
  EXPECT_EQ(bar.GetDropDown(1)->GetEntryCount(), 0);
}

TEST_F(MenuTextsTest, ALanguageWithoutAnEntryLeavesTheTextOfTheOneBefore) {
  SelectMenuLanguage(kLanguageEnglish);
  HeadlessDialog window({1, "", {}}, nullptr, nullptr);
  BuildRetitledMenu(window.CreateMenuBar());
  ApplyMenuTexts(&window);
  // Rows of a language that leaves the File entry (10) out.
  std::vector<TextRow> rows;
  for (const TextRow& row : EnglishMenuTexts()) {
    if (row.index != 10)
      rows.push_back(row);
  }
  MenuTexts().Select(kLanguageFrench, rows, UntranslatedMarker(kLanguageFrench));
  ApplyMenuTexts(&window);
  EXPECT_EQ(window.GetMenuBar()->GetEntryText(0), "&File");
  EXPECT_EQ(window.GetMenuBar()->GetEntryText(1), "**: &Conversion options");
  // A language file's text for the View entry shows after the next retitling.
  SetMenuEntry(10150, "Ansicht");
  EXPECT_EQ(window.GetMenuBar()->GetEntryText(4), "**: &View");
  ApplyMenuTexts(&window);
  EXPECT_EQ(window.GetMenuBar()->GetEntryText(4), "Ansicht");
}
