// The real desktop program in each interface language: the main dialog, started with the
// language stored in its settings, shows its controls and menus with the texts of the tables
// of that language, and leaves a picture of itself in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "GuiRun.h"
#include "Inspection.h"
#include "app/DialogTemplates.h"
#include "app/MainMenu.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/MenuTexts.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Menu.h"
#include "text/CodePageText.h"

namespace {

struct ShownLanguage {
  const char* name;  // as the settings store it
  int id;
};
constexpr ShownLanguage kShownLanguages[] = {
    {"English", kLanguageEnglish}, {"German", kLanguageGerman},
    {"Spanish", kLanguageSpanish}, {"French", kLanguageFrench},
    {"Portuguese", kLanguagePortuguese}, {"Italian", kLanguageItalian},
    {"Swedish", kLanguageSwedish}, {"Russian", kLanguageRussian},
    {"Dutch", kLanguageDutch},
};

int CodePageOf(int language) { return language == kLanguageRussian ? 1251 : 1252; }

// Every entry of the drop-down menus below menu by its path of positions, in UTF-8.
void CollectEntries(Menu& menu, const std::string& path, int codePage,
                    std::map<std::string, std::string>& entries) {
  for (int i = 0; i < menu.GetEntryCount(); ++i) {
    const std::string position = path.empty() ? std::to_string(i) : path + "." + std::to_string(i);
    if (!path.empty())
      entries[position] = CodePageToUtf8(menu.GetEntryText(i), codePage);
    if (Menu* dropDown = menu.GetDropDown(i))
      CollectEntries(*dropDown, position, codePage, entries);
  }
}

// The main dialog's menu as the tables of the language in force make it.
std::map<std::string, std::string> ExpectedMenuEntries(int codePage, std::vector<std::string>& bar) {
  HeadlessPlatform platform;
  std::unique_ptr<DialogWindow> window = platform.CreateDialog(*FindDialogTemplate(kDialogMain), nullptr);
  Menu& menuBar = window->CreateMenuBar();
  BuildMenu(menuBar, MainMenuRows());
  PruneMainMenu(menuBar);
  ApplyMenuTexts(window.get());
  for (int i = 0; i < menuBar.GetEntryCount(); ++i)
    bar.push_back(CodePageToUtf8(menuBar.GetEntryText(i), codePage));
  std::map<std::string, std::string> entries;
  CollectEntries(menuBar, "", codePage, entries);
  return entries;
}

}  // namespace

TEST(KelvaneGuiLanguages, MainDialogShowsTheTextsOfEachLanguage) {
  REQUIRE_GUI();
  for (const ShownLanguage& language : kShownLanguages) {
    SCOPED_TRACE(language.name);
    TempFolder folder(std::string("gui-language-") + language.name);
    gui::WriteSettings(folder, gui::kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Languages\\Language\t" +
                                   language.name + "\n");
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-main-dialog-" + language.name + ".png";
    std::filesystem::remove(picture);
    const std::string report = folder.File("inspection.txt");
    const gui::GuiRun run = gui::RunKelvane(
        folder, {}, gui::PictureEnvironment(picture, kDialogMain) + " KELVANE_INSPECT=" + gui::Quote(report));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(report)) << "the main dialog did not open: " << run.err;
    const gui::Inspection shown = gui::ReadInspection(report);

    // The program starts in English, then switches: a gap of a language's filler keeps the
    // English text.
    SelectInterfaceLanguage(kLanguageEnglish);
    SelectInterfaceLanguage(language.id);
    const int codePage = CodePageOf(language.id);
    for (const DialogTextStep& step : DialogTextSteps()) {
      if (step.dialogId != kDialogMain || step.controlId == kCaptionStep)
        continue;
      const auto found = shown.controls.find(step.controlId);
      if (found == shown.controls.end())
        continue;
      EXPECT_EQ(found->second.second, CodePageToUtf8(GetDialogText(step.textIndex), codePage))
          << "control " << step.controlId;
    }
    std::vector<std::string> bar;
    const std::map<std::string, std::string> entries = ExpectedMenuEntries(codePage, bar);
    EXPECT_EQ(shown.menu, bar);
    for (const auto& [path, text] : entries) {
      const auto found = shown.entries.find(path);
      ASSERT_NE(found, shown.entries.end()) << "no menu entry " << path;
      EXPECT_EQ(found->second, text) << "menu entry " << path;
    }
    EXPECT_EQ(shown.entries.size(), entries.size());
    gui::ExpectPictureOfAWindow(picture, 300, 400);
  }
}

// The language dialogs on the real screen in German: the language files and translations
// dialogs take the German texts; the chooser keeps its English ones.
struct LanguageDialogOnScreen {
  int dialogId;
  const char* picture;  // in the build folder
  bool texted;          // shows the dialog texts of the language
};
const LanguageDialogOnScreen kLanguageDialogsOnScreen[] = {
    {191, "kelvane-translations-German.png", true},
    {195, "kelvane-language-files-German.png", true},
    {196, "kelvane-language-chooser.png", false},
};

TEST(KelvaneGuiLanguages, LanguageDialogsArePicturedWithTheirTexts) {
  REQUIRE_GUI();
  for (const LanguageDialogOnScreen& shot : kLanguageDialogsOnScreen) {
    SCOPED_TRACE(shot.dialogId);
    TempFolder folder("gui-language-dialog-" + std::to_string(shot.dialogId));
    gui::WriteSettings(folder, gui::kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Languages\\Language\tGerman\n");
    const std::string picture = std::string(KELVANE_BINARY_DIR) + "/" + shot.picture;
    std::filesystem::remove(picture);
    const std::string report = folder.File("inspection.txt");
    const gui::GuiRun run = gui::RunKelvane(
        folder, {},
        "KELVANE_SHOW_DIALOG=" + std::to_string(shot.dialogId) + " " +
            gui::PictureEnvironment(picture, shot.dialogId) + " KELVANE_INSPECT=" + gui::Quote(report));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(report)) << run.err;
    const gui::Inspection shown = gui::ReadInspection(report);
    const DialogTemplate* dialog = FindDialogTemplate(shot.dialogId);
    ASSERT_NE(dialog, nullptr);
    for (const ControlTemplate& row : dialog->controls)
      EXPECT_EQ(shown.controls.count(row.id), 1u) << "no control " << row.id;

    SelectInterfaceLanguage(kLanguageEnglish);
    SelectInterfaceLanguage(kLanguageGerman);
    for (const DialogTextStep& step : DialogTextSteps()) {
      if (step.dialogId != shot.dialogId)
        continue;
      const std::string text = CodePageToUtf8(GetDialogText(step.textIndex), 1252);
      if (step.controlId == kCaptionStep) {
        EXPECT_EQ(shown.title, text);
        continue;
      }
      const auto found = shown.controls.find(step.controlId);
      ASSERT_NE(found, shown.controls.end()) << step.controlId;
      EXPECT_EQ(found->second.second, text) << "control " << step.controlId;
    }
    if (!shot.texted) {
      EXPECT_EQ(shown.title, dialog->caption);
      for (const ControlTemplate& row : dialog->controls)
        EXPECT_EQ(shown.controls.at(row.id).second, row.text) << row.id;
    }
    SCOPED_TRACE(run.err);
    gui::ExpectPictureOfAWindow(picture, 200, 100, 1000);
  }
}
