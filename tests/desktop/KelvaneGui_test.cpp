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

#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// Skips when the program or the virtual display is missing; under CI that is a failure.
bool GuiCanRun(std::string& why) {
#ifndef KELVANE_DESKTOP_PROGRAM
  why = "the desktop program was not built (wxWidgets not found)";
  return false;
#else
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    why = "xvfb-run is not installed";
    return false;
  }
  return true;
#endif
}

#define REQUIRE_GUI()                                                       \
  do {                                                                      \
    std::string why;                                                        \
    if (!GuiCanRun(why)) {                                                  \
      if (std::getenv("CI") != nullptr) FAIL() << "GUI test cannot run under CI: " << why; \
      GTEST_SKIP() << why;                                                  \
    }                                                                       \
  } while (false)

#ifdef KELVANE_DESKTOP_PROGRAM
std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted.push_back(c);
  }
  return quoted + "'";
}
#endif

struct GuiRun {
  int status;
  std::string err;
};

// Runs the program with its own settings folder; message boxes are answered and written to
// standard error. A picture is taken of dialog screenshotDialog; environment ("NAME=value
// ...") is set for the program besides.
GuiRun RunKelvane(const TempFolder& folder, const std::vector<std::string>& args,
                  const std::string& screenshot, int screenshotDialog = 132,
                  const std::string& environment = "") {
#ifdef KELVANE_DESKTOP_PROGRAM
  const std::string errors = folder.File("stderr.txt");
  std::string command = "XDG_CONFIG_HOME=" + Quote(folder.File("config")) +
                        " KELVANE_NONINTERACTIVE=1 LSAN_OPTIONS=suppressions=" +
                        Quote(std::string(KELVANE_FIXTURES_DIR) + "/../desktop/lsan-desktop.supp") +
                        ":print_suppressions=0";
  if (!screenshot.empty())
    command += " KELVANE_SCREENSHOT=" + Quote(screenshot) +
               " KELVANE_SCREENSHOT_DIALOG=" + std::to_string(screenshotDialog);
  if (!environment.empty())
    command += " " + environment;
  // Tests run in parallel: each starts its search for a free display at a number of its own,
  // so two servers do not race for one.
  const int firstDisplay = 100 + static_cast<int>(std::hash<std::string>{}(folder.path.string()) % 800);
  command += " xvfb-run -a -n " + std::to_string(firstDisplay) +
             " -s '-screen 0 1280x1024x24' " + Quote(KELVANE_DESKTOP_PROGRAM);
  for (const std::string& arg : args)
    command += " " + Quote(arg);
  command += " >/dev/null 2>" + Quote(errors);
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadBytes(errors)};
#else
  (void)folder;
  (void)args;
  (void)screenshot;
  (void)screenshotDialog;
  (void)environment;
  return {-1, ""};
#endif
}

// The picture is a window of its own: large enough, with a background and text.
void ExpectWindowPicture(const std::string& picture, const std::string& err) {
  ASSERT_TRUE(fs::exists(picture)) << err;
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

void WriteSettings(const TempFolder& folder, const std::string& lines) {
  fs::create_directories(folder.path / "config" / "kelvane");
  WriteBytes(folder.File("config/kelvane/settings"), "# Kelvane settings 1\n" + lines);
}

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

  const GuiRun run = RunKelvane(folder, {input}, picture);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")).rfind("{\\rtf", 0), 0u);
  // The settings were saved in the test's own folder, the input at the top of the recent list.
  const std::string settings = ReadBytes(folder.File("config/kelvane/settings"));
  EXPECT_NE(settings.find("\\Files\\MRU00\t" + input), std::string::npos) << settings;

  ExpectWindowPicture(picture, run.err);
}

TEST(KelvaneGui, CommandLineRunThatFindsNoFileExitsNonZero) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings);
  const std::string input = folder.File("empty.txt");
  WriteBytes(input, "");
  const GuiRun run = RunKelvane(folder, {input}, "");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("[File selection error] Files are all empty"), std::string::npos)
      << run.err;
}

TEST(KelvaneGui, LinkDictionaryEditorShownOnItsOwnIsPictured) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings);
  const std::string dictionary = folder.File("links.txt");
  const std::string definitions =
      "Link definition: \"Kelvane\" = \"Kelvane home\" + \"http://www.kelvane.com/\"\n"
      "Link definition: \"manual\" = \"the manual\" + \"http://www.kelvane.com/manual\"\n";
  WriteBytes(dictionary, definitions);
  const std::string picture = std::string(KELVANE_BINARY_DIR) + "/kelvane-link-dictionary-editor.png";
  fs::remove(picture);

  const GuiRun run = RunKelvane(folder, {dictionary}, picture, 231, "KELVANE_SHOW_DIALOG=231");
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectWindowPicture(picture, run.err);
  // Shown on its own, the editor changes nothing.
  EXPECT_EQ(ReadBytes(dictionary), definitions);
}
