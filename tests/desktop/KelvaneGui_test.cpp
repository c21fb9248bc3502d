// The real desktop program under a virtual display: converts a file named on its command
// line, shows the status window and leaves a picture of it in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GuiRun.h"

namespace fs = std::filesystem;
using gui::kQuietSettings;
using gui::RunKelvane;
using gui::WriteSettings;

TEST(KelvaneGui, CommandLineRunShowsTheStatusWindowAndWritesTheRtf) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewStatusWindow\tYes\n");
  const std::string input = folder.File("doc.txt");
  WriteBytes(input, ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt"));
  const std::string picture = std::string(KELVANE_BINARY_DIR) + "/kelvane-status-window.png";
  fs::remove(picture);

  const gui::GuiRun run = RunKelvane(folder, {input}, gui::PictureEnvironment(picture, 132));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")).rfind("{\\rtf", 0), 0u);
  // The settings were saved in the test's own folder, the input at the top of the recent list.
  const std::string settings = ReadBytes(folder.File("config/kelvane/settings"));
  EXPECT_NE(settings.find("\\Files\\MRU00\t" + input), std::string::npos) << settings;

  SCOPED_TRACE(run.err);
  gui::ExpectPictureOfAWindow(picture, 300, 150);
}

TEST(KelvaneGui, CommandLineRunThatFindsNoFileExitsNonZero) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings);
  const std::string input = folder.File("empty.txt");
  WriteBytes(input, "");
  const gui::GuiRun run = RunKelvane(folder, {input}, "");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("[File selection error] Files are all empty"), std::string::npos)
      << run.err;
}
