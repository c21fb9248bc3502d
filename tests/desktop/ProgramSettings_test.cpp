#include "app/ProgramSettings.h"

#include <gtest/gtest.h>

#include "pages/ComboHelpers.h"
#include "app/RegistryAccess.h"
#include "platform/HeadlessPlatform.h"
#include "platform/SettingsStore.h"

namespace {

const std::string kKey = "SOFTWARE\\Norvane\\Kelvane";

std::string Stored(const SettingsStore& store, const std::string& path) {
  std::string value = "<missing>";
  (void)store.Read(kKey + path, value);
  return value;
}

void Store(SettingsStore& store, const std::string& path, const std::string& value) {
  ASSERT_TRUE(store.Write(kKey + path, value));
}

}  // namespace

TEST(ProgramSettings, ProductKeyNamesMakerAndProduct) { EXPECT_EQ(ProductSettingsKey(), kKey); }

TEST(ProgramSettings, FirstStartTakesDefaultsDetectionAndFirstStartFallbacks) {
  MemorySettingsStore store;
  ProgramSettings settings;
  settings.viewRtfCommand = "left over";
  int detections = 0;
  SettingsLoadHooks hooks;
  hooks.findBrowserCommand = [&] {
    ++detections;
    return std::string("C:\\Program Files\\Opera\\opera.exe");
  };
  LoadProgramSettings(settings, store, hooks);
  EXPECT_EQ(detections, 1);
  EXPECT_EQ(settings.browserCommand, "C:\\Program Files\\Opera\\opera.exe");
  EXPECT_EQ(settings.ddeServerName, "Opera");
  EXPECT_EQ(settings.useDdeToViewHtml, 1);
  EXPECT_EQ(settings.autoDdeUpdates, 1);
  EXPECT_EQ(settings.ddeWorking, "Yes");
  EXPECT_EQ(settings.addUrlPrefix, 1);
  EXPECT_EQ(settings.rememberSettings, 1);
  EXPECT_EQ(settings.outputToTree, 1);
  EXPECT_EQ(settings.viewRtfCommand, "");
  EXPECT_EQ(settings.language, "English");
  EXPECT_EQ(settings.inputDelimiter, "\t");
  EXPECT_EQ(settings.mainDialog.left, -1);
  EXPECT_EQ(settings.statusWindow.top, -1);
  EXPECT_EQ(settings.alwaysReloadPolicy, 1);
  EXPECT_EQ(settings.displayStatusDialog, 1);
  EXPECT_EQ(settings.dropViewResults, 1);
  EXPECT_EQ(settings.dropViewStatusWindow, 0);
}

TEST(ProgramSettings, StoredBrowserSkipsDetectionAndReadsMissingChoicesAsNo) {
  MemorySettingsStore store;
  Store(store, "\\BrowserCommand", "/usr/bin/firefox");
  ProgramSettings settings;
  SettingsLoadHooks hooks;
  hooks.findBrowserCommand = [] {
    ADD_FAILURE() << "detection ran although a browser is stored";
    return std::string();
  };
  LoadProgramSettings(settings, store, hooks);
  EXPECT_EQ(settings.browserCommand, "/usr/bin/firefox");
  EXPECT_EQ(settings.useDdeToViewHtml, 0);
  EXPECT_EQ(settings.autoDdeUpdates, 0);
  EXPECT_EQ(settings.ddeServerName, "IExplore");
}

TEST(ProgramSettings, BrowserFallbacksTakeTheFirstProgramThatMatches) {
  struct Case {
    const char* command;
    const char* dde;
    const char* service;
  };
  const Case cases[] = {
      {"", "No", "IExplore"},
      {"C:\\x\\IEXPLORE.EXE -nohome", "Yes", "IExplore"},
      {"netscape.exe", "Yes", "NETSCAPE"},
      {"c:\\n\\netscp6.exe", "No", "Mozilla"},
      {"c:\\n\\netscp.exe", "No", "Mozilla"},
      {"opera.exe", "Yes", "Opera"},
      {"firefox.exe", "Yes", "Firefox"},
      {"firebird.exe", "Yes", "Mozilla Firebird"},
      {"iexplore.exe opera.exe", "Yes", "IExplore"},
      {"/usr/bin/epiphany", "Yes", "IExplore"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const BrowserFallbacks fallbacks = BrowserFallbacksFor(c.command);
    EXPECT_STREQ(fallbacks.dde, c.dde);
    EXPECT_STREQ(fallbacks.update, c.dde);
    EXPECT_STREQ(fallbacks.service, c.service);
  }
}

TEST(ProgramSettings, StoredTextsAreTakenOnlyInTheirExactForm) {
  struct Case {
    const char* path;
    const char* stored;
    int ProgramSettings::*member;
    int expected;
  };
  const Case cases[] = {
      {"\\Dialogs\\Main\\Left", "120 ", nullptr, 120},
      {"\\Dialogs\\Main\\Left", "abc", nullptr, -1},
      {"\\Dialogs\\ShowTipsOnStartup", "No", &ProgramSettings::showTipsOnStartup, 0},
      {"\\Dialogs\\ShowTipsOnStartup", "no", &ProgramSettings::showTipsOnStartup, 1},
      {"\\Dialogs\\DisplayToolTips", "yes", &ProgramSettings::displayToolTips, 1},
      {"\\DragAndDrop\\ViewResults", "No", &ProgramSettings::dropViewResults, 0},
      {"\\DragAndDrop\\ViewResults", "Nein", &ProgramSettings::dropViewResults, 1},
      {"\\DefaultPolicy\\AlwaysReload", "No", &ProgramSettings::alwaysReloadPolicy, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " = " + c.stored);
    MemorySettingsStore store;
    Store(store, "\\BrowserCommand", "b");
    Store(store, c.path, c.stored);
    ProgramSettings settings;
    LoadProgramSettings(settings, store, {});
    const int value = c.member != nullptr ? settings.*c.member : settings.mainDialog.left;
    EXPECT_EQ(value, c.expected);
  }
}

TEST(ProgramSettings, TextsLongerThanTheReadLimitAreNotRead) {
  MemorySettingsStore store;
  Store(store, "\\ViewRTFCommand", std::string(259, 'v'));
  Store(store, "\\ViewPDFCommand", std::string(260, 'p'));
  ProgramSettings settings;
  LoadProgramSettings(settings, store, {});
  EXPECT_EQ(settings.viewRtfCommand, std::string(259, 'v'));
  EXPECT_EQ(settings.viewPdfCommand, "");
  std::string text = "unchanged";
  EXPECT_EQ(RegReadString(store, RegistryRoot::CurrentUser, kKey, "\\ViewPDFCommand", text), 0);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(RegReadString(store, RegistryRoot::ClassesRoot, kKey, "\\ViewRTFCommand", text), 0);
}

TEST(ProgramSettings, SaveWritesEveryValueInItsFormAndLoadReadsThemBack) {
  MemorySettingsStore store;
  ProgramSettings saved;
  saved.browserCommand = "/usr/bin/b";
  saved.statusWindow = {12, 34};
  saved.inputDelimiter = ";";
  saved.textEncoding = 3;
  saved.dropStartProgram = 1;
  saved.outputToTree = 0;
  saved.Recent(RecentList::Policy)[0] = "/p/one.pol";
  saved.Recent(RecentList::Policy)[2] = "/p/three.pol";
  saved.Recent(RecentList::TextSubstitutionFile)[0] = "/t/subs.txt";
  saved.Recent(RecentList::Files)[10] = "never stored";
  SaveProgramSettings(saved, store);

  EXPECT_EQ(Stored(store, "\\Dialogs\\Main\\Left"), "-1 ");
  EXPECT_EQ(Stored(store, "\\Dialogs\\Status\\Top"), "34 ");
  EXPECT_EQ(Stored(store, "\\DragAndDrop\\StartProgram"), "Yes");
  EXPECT_EQ(Stored(store, "\\OutputFile\\OutputToTree"), "No");
  EXPECT_EQ(Stored(store, "\\InputFile\\Delimter"), ";");
  EXPECT_EQ(Stored(store, "\\Options\\OutputType"), "0 ");
  for (int i = 0; i < 10; ++i) {
    const std::string entry = "\\Policy\\MRU0" + std::to_string(i);
    SCOPED_TRACE(entry);
    EXPECT_EQ(Stored(store, entry), saved.Recent(RecentList::Policy)[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(Stored(store, "\\Policy\\MRU10"), "<missing>");
  EXPECT_EQ(Stored(store, "\\Files\\MRU10"), "<missing>");

  ProgramSettings loaded;
  LoadProgramSettings(loaded, store, {});
  EXPECT_EQ(loaded.browserCommand, "/usr/bin/b");
  EXPECT_EQ(loaded.statusWindow.left, 12);
  EXPECT_EQ(loaded.statusWindow.top, 34);
  EXPECT_EQ(loaded.inputDelimiter, ";");
  EXPECT_EQ(loaded.textEncoding, 3);
  EXPECT_EQ(loaded.dropStartProgram, 1);
  EXPECT_EQ(loaded.outputToTree, 0);
  EXPECT_EQ(loaded.Recent(RecentList::Policy)[2], "/p/three.pol");
  EXPECT_EQ(loaded.Recent(RecentList::TextSubstitutionFile)[0], "/t/subs.txt");
}

TEST(ProgramSettings, ContextAskingForTheFolderTreeTurnsTreeOutputOn) {
  MemorySettingsStore store;
  Store(store, "\\OutputFile\\OutputToTree", "No");
  ProgramSettings settings;
  SettingsLoadHooks hooks;
  hooks.contextReplicatesTree = true;
  LoadProgramSettings(settings, store, hooks);
  EXPECT_EQ(settings.outputToTree, 1);
}

// ---- Recent-name combos ----

namespace {

constexpr int kCombo = 1122;
constexpr ControlTemplate kComboRows[] = {{kCombo, ControlKind::ComboEdit, 0, "", 0}};
constexpr DialogTemplate kComboDialog{900, "combo", kComboRows};

}  // namespace

TEST(ComboHelpers, PushMovesAKnownNameToTheTopWithoutDuplicates) {
  HeadlessDialog window(kComboDialog, nullptr, nullptr);
  std::string names[kRecentPlaces] = {"a", "b", "C", "d", "e", "f", "g", "h", "i", "j"};
  ASSERT_EQ(FillComboBox(&window, kCombo, kRecentNames, names), 1);
  PushComboValue(&window, kCombo, kRecentNames, names, "c");
  const std::string expected[] = {"c", "a", "b", "d", "e", "f", "g", "h", "i", "j"};
  for (int i = 0; i < kRecentNames; ++i)
    EXPECT_EQ(names[i], expected[i]) << i;

  PushComboValue(&window, kCombo, kRecentNames, names, "new");
  EXPECT_EQ(names[0], "new");
  EXPECT_EQ(names[9], "i") << "the eleventh name drops out";
  EXPECT_EQ(window.GetItemCount(kCombo), 11);

  PushComboValue(&window, kCombo, kRecentNames, names, "");
  EXPECT_EQ(names[0], "new");
}

TEST(ComboHelpers, WithoutAComboTheListKeepsTheSameOrder) {
  std::string names[kRecentPlaces] = {"a", "b", "c"};
  PushComboValue(nullptr, kCombo, kRecentNames, names, "C");
  EXPECT_EQ(names[0], "C");
  EXPECT_EQ(names[1], "a");
  EXPECT_EQ(names[2], "b");
  EXPECT_EQ(names[3], "");
  EXPECT_EQ(FillComboBox(nullptr, kCombo, kRecentNames, names), 0);
}

TEST(ComboHelpers, FillSkipsEmptyNamesAndReadEmptiesThePlacesBeyondTheItems) {
  HeadlessDialog window(kComboDialog, nullptr, nullptr);
  std::string names[kRecentPlaces] = {"a", "", "b"};
  ASSERT_EQ(FillComboBox(&window, kCombo, kRecentNames, names), 1);
  EXPECT_EQ(window.GetItemCount(kCombo), 2);
  std::string back[kRecentPlaces] = {"x", "x", "x", "x"};
  ReadComboStrings(&window, kCombo, kRecentNames, back);
  EXPECT_EQ(back[0], "a");
  EXPECT_EQ(back[1], "b");
  EXPECT_EQ(back[2], "");
  EXPECT_EQ(back[3], "");
}
