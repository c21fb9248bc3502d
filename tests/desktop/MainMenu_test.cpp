// The main dialog's menu bar as the window opens: the product's entries, their texts from the
// menu table, the check marks that follow the settings and the language, and the first-show
// and output-name steps of the dialog.
#include "app/MainMenu.h"

#include <gtest/gtest.h>

#include <vector>

#include "DesktopFixture.h"
#include "lang/InterfaceTexts.h"
#include "lang/MenuTexts.h"
#include "policy/FileControl.h"

using MainMenuTest = DesktopTest;

namespace {

struct Entry {
  MenuEntryKind kind;
  int id;
};

std::vector<Entry> Entries(const Menu& menu) {
  std::vector<Entry> entries;
  for (int i = 0; i < menu.GetEntryCount(); ++i) {
    MenuEntryKind kind = MenuEntryKind::Item;
    (void)menu.GetEntryKind(i, kind);
    entries.push_back({kind, menu.GetEntryId(i)});
  }
  return entries;
}

void ExpectEntries(const Menu* menu, const std::vector<Entry>& expected) {
  ASSERT_NE(menu, nullptr);
  const std::vector<Entry> entries = Entries(*menu);
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].kind, expected[i].kind);
    EXPECT_EQ(entries[i].id, expected[i].id);
  }
}

constexpr Entry kSep{MenuEntryKind::Separator, 0};
constexpr Entry kDrop{MenuEntryKind::DropDown, 0};
constexpr Entry Item(int id) { return {MenuEntryKind::Item, id}; }
constexpr Entry Check(int id) { return {MenuEntryKind::CheckItem, id}; }

// The language items that carry a check mark.
std::vector<int> CheckedLanguages(const Menu& bar) {
  std::vector<int> checked;
  for (int id : {kCmdEnglish, kCmdDutch, kCmdSpanish, kCmdPortuguese, kCmdGerman, kCmdItalian,
                 kCmdSwedish, kCmdFrench, kCmdOtherLanguage, kCmdLoadLanguage}) {
    if (bar.IsCommandChecked(id))
      checked.push_back(id);
  }
  return checked;
}

}  // namespace

TEST_F(MainMenuTest, OpensWithTheProductsEntriesOnly) {
  OxvDialog& main = MakeDialog();
  platform.modalScripts[kDialogMain] = [](HeadlessDialog& window) {
    const Menu* bar = window.GetMenuBar();
    ExpectEntries(bar, {kDrop, kDrop, kDrop, kDrop, kDrop, kDrop, kDrop});
    Menu* menus = window.GetMenuBar();
    ExpectEntries(menus->GetDropDown(0), {Item(32772), kSep, Item(32779), Item(32780), kSep,
                                         Item(32784)});
    Menu* conversion = menus->GetDropDown(1);
    ExpectEntries(conversion, {kDrop, kSep, kDrop, kSep, kDrop, kSep, Item(32831), Item(32830),
                               Item(32780), kSep, Item(32789), Item(32781)});
    ExpectEntries(conversion->GetDropDown(0),
                  {Item(32797), kSep, Item(32800), Item(32801), Item(32838), Item(32799),
                   Item(32798), Item(32802), Item(32803)});
    Menu* output = conversion->GetDropDown(2);
    ExpectEntries(output, {kDrop, kSep, Item(32828), Item(32864), Item(32845), Item(32851), kSep,
                           Item(32810), Item(32812), kSep, Item(32807)});
    ExpectEntries(output->GetDropDown(0), {Item(32832)});
    ExpectEntries(conversion->GetDropDown(4), {Item(32861), Item(32859), Item(32862), Item(32863)});
    ExpectEntries(menus->GetDropDown(2), {Item(32823), Item(32824), Item(32796), Item(32782),
                                         Item(32822), kSep, Check(32853), Check(32854),
                                         Check(32855), Check(9020), Check(9111)});
    ExpectEntries(menus->GetDropDown(3), {Check(32840), Check(9112), Check(32842), Check(32844),
                                         Check(32841), Check(32848), Check(32852), Check(32849),
                                         Check(32843), kSep, Check(32846)});
    ExpectEntries(menus->GetDropDown(4), {Item(32775), Item(32776)});
    Menu* help = menus->GetDropDown(5);
    ExpectEntries(help, {Item(32777), kSep, kDrop, kSep, kDrop, kSep, Item(32778)});
    ExpectEntries(help->GetDropDown(2), {Item(32785), Item(32786)});
    ExpectEntries(help->GetDropDown(4), {Item(32834), kSep, Item(32835), Item(32836),
                                         Item(32837), Item(32857)});
    ExpectEntries(menus->GetDropDown(6), {Item(32850)});
    for (int removed : {32869, 32868, 32839, 32813, 32808, 32811, 32815, 32816, 32847, 32826,
                        32806, 32821, 32809, 32819, 32818, 32860}) {
      SCOPED_TRACE(removed);
      EXPECT_FALSE(menus->HasCommand(removed));
    }
    EXPECT_FALSE(window.IsControlShown(1077));
    EXPECT_FALSE(window.IsControlShown(1078));
    return 2;
  };
  (void)main.RunModal();
}

TEST_F(MainMenuTest, MenuShowsTheTableTexts) {
  OxvDialog& main = MakeDialog();
  platform.modalScripts[kDialogMain] = [](HeadlessDialog& window) {
    Menu& bar = *window.GetMenuBar();
    const char* barTexts[] = {"&File", "&Conversion options", "&Settings", "&Language",
                              "&View", "&Help", "&Updates"};
    for (int i = 0; i < 7; ++i)
      EXPECT_EQ(bar.GetEntryText(i), barTexts[i]) << i;
    const struct {
      int id;
      const char* text;
    } items[] = {
        {32845, "&RTF Settings"},
        {32864, "&Formatting"},
        {32822, "Use of &Policy files..."},
        {32846, "Use language \"skin\"..."},
        {32863, "Text &Commands File"},
        {32857, "Strivelle - HTML to text converter and markup remover"},
        {32850, "Check for &newer versions"},
    };
    for (const auto& item : items)
      EXPECT_EQ(bar.GetCommandText(item.id), item.text) << item.id;
    EXPECT_EQ(bar.GetDropDown(1)->GetEntryText(4), "Configuration &Files");
    EXPECT_TRUE(window.MenuBarEntries()->At(6)->rightJustified);
    return 2;
  };
  (void)main.RunModal();
}

TEST_F(MainMenuTest, CheckMarksFollowTheSettingsAndTheLanguage) {
  OxvDialog& main = MakeDialog();
  ProgramSettings& settings = main.Settings();
  settings.displayToolTips = 0;
  settings.displayStatusDialog = 1;
  settings.dropViewResults = 1;
  settings.rememberSettings = 0;
  settings.showTipsOnStartup = 0;
  platform.modalScripts[kDialogMain] = [&main, &settings, this](HeadlessDialog& window) {
    Menu& bar = *window.GetMenuBar();
    const auto expectSettings = [&bar] {
      EXPECT_FALSE(bar.IsCommandChecked(kCmdShowToolTips));
      EXPECT_TRUE(bar.IsCommandChecked(kCmdShowStatusDialog));
      EXPECT_TRUE(bar.IsCommandChecked(kCmdDisplayResults));
      EXPECT_FALSE(bar.IsCommandChecked(kCmdRememberSettings));
      EXPECT_FALSE(bar.IsCommandChecked(kCmdTipOfTheDay));
    };
    expectSettings();
    EXPECT_EQ(CheckedLanguages(bar), std::vector<int>{kCmdEnglish});

    main.SetLanguage(kLanguageGerman);
    expectSettings();  // set again after the retitling cleared them
    EXPECT_EQ(CheckedLanguages(bar), std::vector<int>{kCmdGerman});
    EXPECT_EQ(settings.language, "German");
    EXPECT_EQ(bar.GetEntryText(0), GetMenuText(10));
    EXPECT_STRNE(GetMenuText(10), "&File");
    EXPECT_EQ(platform.interfaceCodePage, kCodePageWesternEurope);

    // The language in force changes nothing, not even the check marks.
    (void)bar.CheckCommand(kCmdGerman, false);
    main.SetLanguage(kLanguageGerman);
    EXPECT_TRUE(CheckedLanguages(bar).empty());

    // Russian has no entry: nothing is checked, its name is kept and its code page is used.
    main.SetLanguage(kLanguageRussian);
    EXPECT_TRUE(CheckedLanguages(bar).empty());
    EXPECT_EQ(settings.language, "Russian");
    EXPECT_EQ(platform.interfaceCodePage, kCodePageCyrillic);
    main.SetLanguage(kLanguageEnglish);
    EXPECT_EQ(CheckedLanguages(bar), std::vector<int>{kCmdEnglish});
    EXPECT_EQ(platform.interfaceCodePage, kCodePageWesternEurope);
    EXPECT_EQ(bar.GetEntryText(0), "&File");
    return 2;
  };
  (void)main.RunModal();
}

TEST_F(MainMenuTest, StoredLanguageIsAppliedAtStart) {
  struct Case {
    const char* stored;
    int language;
    int checked;  // 0: none
    int codePage;
    int useLanguageFile;
    const char* saved;  // the name kept for the next start
  };
  const Case cases[] = {
      {"Dutch", kLanguageDutch, kCmdDutch, kCodePageWesternEurope, 0, "Dutch"},
      {"Russian", kLanguageRussian, 0, kCodePageCyrillic, 0, "Russian"},
      {"Other", kLanguageOther, kCmdLoadLanguage, kCodePageWesternEurope, 1, "Other"},
      {"Klingon", kLanguageEnglish, kCmdEnglish, kCodePageWesternEurope, 0, "English"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    dialog.reset();
    OxvDialog& main = MakeDialog();
    main.Settings().language = c.stored;
    main.Settings().useLanguageFile = 1 - c.useLanguageFile;
    main.Settings().selectedLanguage = 1;  // not the first start
    std::vector<int> checked;
    platform.modalScripts[kDialogMain] = [&checked](HeadlessDialog& window) {
      checked = CheckedLanguages(*window.GetMenuBar());
      return 2;
    };
    (void)main.RunModal();
    EXPECT_EQ(main.GetLanguage(), c.language);
    EXPECT_EQ(checked, c.checked != 0 ? std::vector<int>{c.checked} : std::vector<int>{});
    EXPECT_EQ(platform.interfaceCodePage, c.codePage);
    EXPECT_EQ(main.Settings().useLanguageFile, c.useLanguageFile);
    // "Other" has read no language file: its texts are the English ones.
    const bool builtIn = c.language == kLanguageDutch || c.language == kLanguageRussian;
    if (builtIn)
      EXPECT_STRNE(GetMenuText(10), "&File");
    else
      EXPECT_STREQ(GetMenuText(10), "&File");
    dialog.reset();
    std::string saved;
    EXPECT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Languages\\Language", saved));
    EXPECT_EQ(saved, c.saved);
  }
}

TEST_F(MainMenuTest, PruningWithoutTheConversionMenuChangesNothing) {
  HeadlessDialog window({1, "", {}}, nullptr, nullptr);
  Menu& bar = window.CreateMenuBar();
  (void)bar.AppendDropDown("&File");
  PruneMainMenu(bar);
  EXPECT_EQ(bar.GetEntryCount(), 1);
}

TEST_F(MainMenuTest, OutputTypeDerivesTheOutputNameFromTheInput) {
  OxvDialog& main = MakeDialog();
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {"/data/docs/report.txt", "report.rtf"},
      {"C:\\docs\\notes.text", "notes.rtf"},
      {"/data/docs/README", "README.rtf"},
      {"/data/\"a.txt\" \"b.txt\"", "*.rtf"},
      {"/data/*.txt", "*.rtf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    main.SetInputFile(c.input);
    main.SetOutputType(1);
    EXPECT_EQ(main.GetOutputType(), 1);
    EXPECT_EQ(main.GetOutputFile(), c.output);
  }
}

TEST_F(MainMenuTest, FirstShowLoadsThePolicyFileAndTakesItsConversionType) {
  const std::string policy = WriteText("help.pol", "Make Windows Help source file: Yes\n");
  OxvDialog& main = MakeDialog();
  main.Settings().rememberSettings = 0;
  main.SetPolicyFileName(policy);
  int conversionType = -1;
  platform.modalScripts[kDialogMain] = [&main, &conversionType](HeadlessDialog&) {
    conversionType = main.GetConversionType();
    return 2;
  };
  (void)main.RunModal();
  EXPECT_TRUE(main.IsPolicyFileLoaded());
  EXPECT_EQ(conversionType, kConversionWithHelpSource);
}
