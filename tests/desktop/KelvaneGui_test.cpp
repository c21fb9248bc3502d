// The real desktop program under a virtual display: converts a file named on its command
// line, shows the status window and leaves a picture of it in the build folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#ifdef KELVANE_HAVE_PNG
#include <png.h>
#endif

#include "GuiRun.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const std::string kQuietSettings =
    "SOFTWARE\\Norvane\\Kelvane\\BrowserCommand\t/bin/true\n"
    "SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewResults\tNo\n";

}  // namespace

TEST(KelvaneGui, CommandLineRunShowsTheStatusWindowAndWritesTheRtf) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewStatusWindow\tYes\n");
  const std::string input = folder.File("doc.txt");
  WriteBytes(input, ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt"));
  const std::string picture = std::string(KELVANE_BINARY_DIR) + "/kelvane-status-window.png";
  fs::remove(picture);

  const GuiRun run = RunKelvane(folder, {input},
                                {{"KELVANE_SCREENSHOT", picture}, {"KELVANE_SCREENSHOT_DIALOG", "132"}});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")).rfind("{\\rtf", 0), 0u);
  // The settings were saved in the test's own folder, the input at the top of the recent list.
  const std::string settings = ReadBytes(folder.File("config/kelvane/settings"));
  EXPECT_NE(settings.find("\\Files\\MRU00\t" + input), std::string::npos) << settings;

  ASSERT_TRUE(fs::exists(picture)) << run.err;
#ifdef KELVANE_HAVE_PNG
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, picture.c_str())) << image.message;
  image.format = PNG_FORMAT_GRAY;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
  EXPECT_GT(image.width, 300u);
  EXPECT_GT(image.height, 150u);
  // Not blank: the window's background and text of its own, not one colour.
  std::set<unsigned char> shades(pixels.begin(), pixels.end());
  std::size_t dark = 0;
  for (unsigned char p : pixels)
    dark += p < 96 ? 1 : 0;
  EXPECT_GT(shades.size(), 8u);
  EXPECT_GT(dark, pixels.size() / 200) << "no text in the picture";
  EXPECT_LT(dark, pixels.size() / 2) << "the picture is mostly dark";
#endif
}

TEST(KelvaneGui, CommandLineRunThatFindsNoFileExitsNonZero) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings);
  const std::string input = folder.File("empty.txt");
  WriteBytes(input, "");
  const GuiRun run = RunKelvane(folder, {input}, {});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("[File selection error] Files are all empty"), std::string::npos)
      << run.err;
}
