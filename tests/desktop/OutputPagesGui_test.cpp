// The output sheet's pages and the choosers they open, pictured on the real program under a
// virtual screen. The pictures stay in the build folder to be looked at.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GuiRun.h"

namespace fs = std::filesystem;

namespace {

struct PagePicture {
  const char* name;  // of the picture
  int pageCode;
  const char* activeLine;
};

constexpr PagePicture kPagePictures[] = {
    {"document", 9, "active: 0"},   {"filegen", 12, "active: 1"},
    {"fonts", 15, "active: 2"},     {"format", 29, "active: 3"},
    {"hyperlinks", 19, "active: 4"}, {"prepro", 28, "active: 5"},
    {"settings", 30, "active: 6"},
};

TEST(OutputPagesGui, EveryPageIsPictured) {
  REQUIRE_GUI();
  for (const PagePicture& page : kPagePictures) {
    SCOPED_TRACE(page.name);
    TempFolder folder(std::string("gui-output-") + page.name);
    gui::WriteSettings(folder, gui::kQuietSettings);
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-output-" + page.name + ".png";
    fs::remove(picture);
    const gui::GuiRun run = gui::RunKelvane(
        folder, {},
        gui::PictureEnvironment(picture, 686) +
            " KELVANE_PREVIEW_SHEET=output:" + std::to_string(page.pageCode));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(page.activeLine), std::string::npos) << run.out;
    gui::ExpectPictureOfAWindow(picture, 300, 150, 1000);
  }
}

TEST(OutputPagesGui, TheFontAndColourChoosersArePictured) {
  REQUIRE_GUI();
  for (const char* chooser : {"font", "colour"}) {
    SCOPED_TRACE(chooser);
    TempFolder folder(std::string("gui-chooser-") + chooser);
    gui::WriteSettings(folder, gui::kQuietSettings);
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-chooser-" + chooser + ".png";
    fs::remove(picture);
    const gui::GuiRun run = gui::RunKelvane(
        folder, {},
        gui::EnvironmentWords({{"KELVANE_SCREENSHOT", picture},
                               {"KELVANE_SCREENSHOT_DIALOG", chooser},
                               {"KELVANE_PREVIEW_SHEET", "output:15"},
                               {"KELVANE_PREVIEW_CHOOSER", chooser}}));
    ASSERT_EQ(run.status, 0) << run.err;
    gui::ExpectPictureOfAWindow(picture, 200, 150, 1000);
  }
}

}  // namespace
