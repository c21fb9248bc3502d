// The language chooser, the language files dialog and the translations dialog on the
// headless backend, and the first start that asks for the language.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/LanguageDialogs.h"
#include "lang/InterfaceTexts.h"

namespace {

constexpr int kRadios[] = {1514, 1515, 1516, 1517, 1577, 1579, 1578, 1580, 1518, 1220};

// A click on a radio button: it becomes the only one checked.
void ClickRadio(HeadlessDialog& dialog, int id) {
  for (int radio : kRadios)
    dialog.SetCheck(radio, radio == id ? 1 : 0);
  (void)dialog.Fire(id, DialogEvent::Click);
}

// The main dialog's window is open while the dialogs run, as when the menu opens them; the
// language was chosen at an earlier start.
class LanguageDialogsTest : public DesktopTest {
 protected:
  LanguageDialogsTest() {
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Languages\\SelectedLanguage", "Yes");
  }
  void TearDown() override { SelectInterfaceLanguage(kLanguageEnglish); }
  void WithMainWindow(OxvDialog& main, const std::function<void()>& body) {
    platform.modalScripts[kDialogMain] = [&body](HeadlessDialog&) {
      body();
      return 2;
    };
    (void)main.RunModal();
  }
};

}  // namespace

TEST(LanguageChooser, IndexGivesTheLanguageOfItsRadio) {
  struct Case {
    int index;
    int language;
  };
  const Case cases[] = {{0, kLanguageEnglish}, {1, kLanguageGerman},   {2, kLanguageSpanish},
                        {3, kLanguagePortuguese}, {4, kLanguageItalian}, {5, kLanguageSwedish},
                        {6, kLanguageFrench},  {7, kLanguageRussian},  {8, kLanguageDutch},
                        {9, kLanguageEnglish}, {-1, kLanguageEnglish}, {10, kLanguageEnglish}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(LanguageOfChooserIndex(c.index), c.language);
  }
}

TEST_F(LanguageDialogsTest, ChosenRadioSwitchesTheMainDialogsLanguage) {
  struct Case {
    int radio;
    int language;
  };
  const Case cases[] = {{1578, kLanguageFrench}, {1517, kLanguagePortuguese}, {1518, kLanguageDutch}};
  OxvDialog& main = MakeDialog();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radio);
    bool russianEnabled = true;
    platform.modalScripts[kDialogSelectLanguage] = [&](HeadlessDialog& dialog) {
      russianEnabled = dialog.IsEnabled(1580);
      // Always English, whatever the language in force.
      EXPECT_EQ(dialog.GetTitle(), "Choose your language");
      ClickRadio(dialog, c.radio);
      (void)dialog.Fire(1, DialogEvent::Click);
      return 1;
    };
    WithMainWindow(main, [&] {
      EXPECT_EQ(ChooseInterfaceLanguage(main), 1);
      EXPECT_EQ(main.GetLanguage(), c.language);
    });
    EXPECT_FALSE(russianEnabled);
  }
}

TEST_F(LanguageDialogsTest, CancelledFileChooserKeepsTheEarlierRadio) {
  OxvDialog& main = MakeDialog();
  platform.fileAnswers.push_back({});
  platform.modalScripts[kDialogSelectLanguage] = [&](HeadlessDialog& dialog) {
    ClickRadio(dialog, 1515);
    ClickRadio(dialog, 1220);
    EXPECT_EQ(dialog.GetCheck(1515), 1);
    EXPECT_EQ(dialog.GetCheck(1220), 0);
    (void)dialog.Fire(1, DialogEvent::Click);
    return 1;
  };
  WithMainWindow(main, [&] {
    (void)ChooseInterfaceLanguage(main);
    EXPECT_EQ(main.GetLanguage(), kLanguageGerman);
  });
  ASSERT_EQ(platform.fileRequests.size(), 1u);
  // The program's installed data folder.
  EXPECT_EQ(platform.fileRequests[0].folder, "/usr/share/kelvane/lang");
}

TEST_F(LanguageDialogsTest, ChosenFileIsNamedToTheMainDialogWithoutSwitching) {
  OxvDialog& main = MakeDialog();
  platform.fileAnswers.push_back({"/somewhere/mine.lng"});
  platform.modalScripts[kDialogSelectLanguage] = [&](HeadlessDialog& dialog) {
    ClickRadio(dialog, 1220);
    EXPECT_EQ(dialog.GetText(1519), "/somewhere/mine.lng");
    (void)dialog.Fire(1, DialogEvent::Click);
    return 1;
  };
  WithMainWindow(main, [&] {
    main.SetLanguage(kLanguageSpanish);
    (void)ChooseInterfaceLanguage(main);
    EXPECT_EQ(main.GetLanguage(), kLanguageSpanish);
  });
  EXPECT_EQ(main.Settings().useLanguageFile, 1);
  EXPECT_EQ(main.Settings().languageFile, "/somewhere/mine.lng");
}

TEST(LanguageFileFolder, InstalledBesideBinElseBesideTheProgram) {
  EXPECT_EQ(LanguageFileFolder("/usr/local/bin/kelvane"), "/usr/local/share/kelvane/lang");
  EXPECT_EQ(LanguageFileFolder("/home/me/build/kelvane"), "/home/me/build/lang");
  EXPECT_EQ(LanguageFileFolder("kelvane"), "./lang");
}

// ---- The language files dialog ----

TEST_F(LanguageDialogsTest, LanguageFileOfTheDialogIsLoadedAndKept) {
  OxvDialog& main = MakeDialog();
  const std::string file = WriteText("mine.lng", "! mine\n30  : Durchsuchen...\n15053  : Fertig\n");
  platform.modalScripts[kDialogLanguageFiles] = [&](HeadlessDialog& dialog) {
    EXPECT_FALSE(dialog.IsEnabled(1501));
    EXPECT_FALSE(dialog.IsEnabled(1502));
    (void)dialog.ClickCheck(1499);
    EXPECT_TRUE(dialog.IsEnabled(1501));
    dialog.SetText(1501, file);
    (void)dialog.Fire(1, DialogEvent::Click);
    return 1;
  };
  WithMainWindow(main, [&] {
    EXPECT_EQ(RunLanguageFilesDialog(main), 1);
    EXPECT_EQ(main.GetLanguage(), kLanguageOther);
  });
  EXPECT_STREQ(GetDialogText(30), "Durchsuchen...");
  EXPECT_STREQ(GetMessageText(53), "Fertig");
  EXPECT_EQ(main.Settings().useLanguageFile, 1);
  EXPECT_EQ(main.Settings().languageFile, file);
}

TEST_F(LanguageDialogsTest, CancelChangesNothing) {
  OxvDialog& main = MakeDialog();
  platform.modalScripts[kDialogLanguageFiles] = [&](HeadlessDialog& dialog) {
    (void)dialog.ClickCheck(1499);
    dialog.SetText(1501, "/somewhere/mine.lng");
    (void)dialog.Fire(2, DialogEvent::Click);
    return 2;
  };
  WithMainWindow(main, [&] { (void)RunLanguageFilesDialog(main); });
  EXPECT_EQ(main.Settings().useLanguageFile, 0);
  EXPECT_EQ(main.Settings().languageFile, "");
}

TEST_F(LanguageDialogsTest, ExportAddsTheExtensionAndReportsAFileItCannotWrite) {
  OxvDialog& main = MakeDialog();
  platform.fileAnswers.push_back({folder.File("exported")});
  platform.fileAnswers.push_back({folder.File("no such folder/exported")});
  platform.modalScripts[kDialogLanguageFiles] = [&](HeadlessDialog& dialog) {
    (void)dialog.Fire(1504, DialogEvent::Click);
    (void)dialog.Fire(1504, DialogEvent::Click);
    return 2;
  };
  WithMainWindow(main, [&] { (void)RunLanguageFilesDialog(main); });
  EXPECT_TRUE(std::filesystem::exists(folder.File("exported.lng")));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find(folder.File("no such folder/exported.lng")),
            std::string::npos)
      << platform.messages[0].text;
  ASSERT_EQ(platform.fileRequests.size(), 2u);
  EXPECT_TRUE(platform.fileRequests[0].save);
  EXPECT_EQ(platform.fileRequests[0].filter, "Language files (*.lng)|*.lng|All files (*.*)|*.*|");
}

// ---- The translations dialog ----

TEST_F(LanguageDialogsTest, TranslationsDialogSpeaksTheLanguageAndOpensThePage) {
  OxvDialog& main = MakeDialog();
  std::string title;
  platform.modalScripts[kDialogTranslations] = [&](HeadlessDialog& dialog) {
    title = dialog.GetTitle();
    (void)dialog.Fire(1447, DialogEvent::Click);
    return 1;
  };
  WithMainWindow(main, [&] {
    main.SetLanguage(kLanguageGerman);
    (void)RunTranslationsDialog(main);
  });
  EXPECT_EQ(title, GetDialogText(675));
  ASSERT_FALSE(platform.processes.empty());
  EXPECT_NE(platform.processes.back().argument.find(GetDialogText(680)), std::string::npos);
}

// ---- The first start ----

TEST_F(LanguageDialogsTest, FirstStartAsksForTheLanguageOnce) {
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Languages\\SelectedLanguage", "No");
  int asked = 0;
  platform.modalScripts[kDialogSelectLanguage] = [&](HeadlessDialog& dialog) {
    ++asked;
    ClickRadio(dialog, 1577);
    (void)dialog.Fire(1, DialogEvent::Click);
    return 1;
  };
  OxvDialog& main = MakeDialog();
  (void)main.RunModal();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(main.GetLanguage(), kLanguageItalian);
  EXPECT_EQ(main.Settings().selectedLanguage, 1);
  EXPECT_EQ(main.Settings().language, "Italian");
}

TEST_F(LanguageDialogsTest, StoredLanguageFileIsReadAtStart) {
  const std::string file = WriteText("mine.lng", "30  : Parcourir...\n");
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Languages\\Language", "Other");
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Languages\\LanguageFile", file);
  int asked = 0;
  platform.modalScripts[kDialogSelectLanguage] = [&](HeadlessDialog&) { return ++asked; };
  OxvDialog& main = MakeDialog();
  (void)main.RunModal();
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(main.GetLanguage(), kLanguageOther);
  EXPECT_STREQ(GetDialogText(30), "Parcourir...");
}
