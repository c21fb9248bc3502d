// Every page of the analysis sheet pictured on the real program under a display server.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GuiRun.h"

namespace fs = std::filesystem;

namespace {

struct PageOnScreen {
  const char* name;
  int pageCode;
  const char* activeLine;  // the tab the sheet opened on
};
const PageOnScreen kPagesOnScreen[] = {
    {"look-for", 20, "active: 0"},   {"analysis", 2, "active: 1"},
    {"bullets", 3, "active: 2"},     {"contents", 5, "active: 3"},
    {"file-structure", 14, "active: 4"}, {"headings", 17, "active: 5"},
    {"pre-formatted", 27, "active: 6"},  {"table-analysis", 39, "active: 7"},
};

TEST(AnalysisPagesGui, EveryPageIsPictured) {
  REQUIRE_GUI();
  for (const PageOnScreen& page : kPagesOnScreen) {
    SCOPED_TRACE(page.name);
    TempFolder folder(std::string("gui-analysis-page-") + page.name);
    gui::WriteSettings(folder, gui::kQuietSettings +
                                   "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n");
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-analysis-page-" + page.name + ".png";
    fs::remove(picture);
    const gui::GuiRun run = gui::RunKelvane(
        folder, {},
        gui::PictureEnvironment(picture, 685) + " KELVANE_PREVIEW_SHEET=analysis:" +
            std::to_string(page.pageCode));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(page.activeLine), std::string::npos) << run.out;
    SCOPED_TRACE(run.err);
    gui::ExpectPictureOfAWindow(picture, 300, 150, 1000);
  }
}

}  // namespace
