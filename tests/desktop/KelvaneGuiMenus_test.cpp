// The real desktop program under a virtual display: each menu of the main dialog's menu bar,
// opened as a click on its title opens it, is pictured in English and in Russian; the
// pictures stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GuiRun.h"
#include "app/DialogTemplates.h"
#include "app/MainMenu.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Menu.h"

namespace {

// The number of menus on the main dialog's bar.
int MainMenuCount() {
  HeadlessPlatform platform;
  std::unique_ptr<DialogWindow> window =
      platform.CreateDialog(*FindDialogTemplate(kDialogMain), nullptr);
  Menu& bar = window->CreateMenuBar();
  BuildMenu(bar, MainMenuRows());
  PruneMainMenu(bar);
  return bar.GetEntryCount();
}

}  // namespace

TEST(KelvaneGuiMenus, EveryMenuOfTheMainDialogIsPicturedOpenInEachLanguage) {
  REQUIRE_GUI();
  const int menus = MainMenuCount();
  ASSERT_GT(menus, 1);
  std::vector<std::string> pictures;
  for (const char* language : {"English", "Russian"}) {
    SCOPED_TRACE(language);
    TempFolder folder(std::string("gui-menus-") + language);
    gui::WriteSettings(folder, gui::kQuietSettings +
                                   "SOFTWARE\\Norvane\\Kelvane\\Languages\\Language\t" +
                                   language + "\n");
    std::string steps;
    std::vector<std::string> shots;
    for (int i = 0; i < menus; ++i) {
      shots.push_back(std::string(KELVANE_BINARY_DIR) + "/kelvane-menu-" + language + "-" +
                      std::to_string(i) + ".png");
      std::filesystem::remove(shots.back());
      steps += "menu\t" + std::to_string(i) + "\t" + shots.back() + "\n";
    }
    steps += "close\n";
    const gui::GuiRun run = gui::RunKelvane(
        folder, {}, gui::EnvironmentWords({{"KELVANE_TEST_ACTIONS", steps}}));
    ASSERT_EQ(run.status, 0) << run.err;
    // Each menu opened and was pictured: the program says when one did not.
    EXPECT_EQ(run.err.find("kelvane:"), std::string::npos) << run.err;
    for (const std::string& shot : shots) {
      SCOPED_TRACE(shot);
      gui::ExpectPictureOfAWindow(shot, 300, 400);
      pictures.push_back(shot);
    }
  }
  // Each picture shows something of its own: another menu, or the other language's texts.
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    for (std::size_t k = i + 1; k < pictures.size(); ++k) {
      EXPECT_NE(ReadBytes(pictures[i]), ReadBytes(pictures[k]))
          << pictures[i] << " and " << pictures[k];
    }
  }
}
