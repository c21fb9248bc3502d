// The program-settings and configuration-file pages on the real desktop program under a
// virtual display: each page opened by its code and pictured in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GuiRun.h"

namespace fs = std::filesystem;

namespace {

struct PageOnScreen {
  const char* sheet;
  int sheetId;
  int code;
  int activeTab;
  const char* picture;
};
const PageOnScreen kPagesOnScreen[] = {
    {"settings", 688, 33, 0, "settings-documentation"},
    {"settings", 688, 32, 1, "settings-drag"},
    {"settings", 688, 36, 2, "settings-messages"},
    {"settings", 688, 37, 3, "settings-policy"},
    {"settings", 688, 35, 4, "settings-viewers"},
    {"config", 687, 21, 0, "config-link-dictionary"},
    {"config", 687, 31, 1, "config-styles"},
    {"config", 687, 42, 2, "config-table-definitions"},
    {"config", 687, 51, 3, "config-text-commands"},
};

TEST(SettingsConfigGui, EveryPageIsPictured) {
  REQUIRE_GUI();
  for (const PageOnScreen& page : kPagesOnScreen) {
    SCOPED_TRACE(page.picture);
    TempFolder folder(std::string("gui-page-") + page.picture);
    gui::WriteSettings(folder, gui::kQuietSettings +
                                   "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n");
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-page-" + page.picture + ".png";
    fs::remove(picture);
    const gui::GuiRun run = gui::RunKelvane(
        folder, {},
        gui::PictureEnvironment(picture, page.sheetId) + " KELVANE_PREVIEW_SHEET=" +
            page.sheet + ":" + std::to_string(page.code));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("active: " + std::to_string(page.activeTab)), std::string::npos)
        << run.out;
    gui::ExpectPictureOfAWindow(picture, 300, 150, 1000);
  }
}

}  // namespace
