#pragma once

// Running the real desktop program under a virtual display, and reading the pictures it
// takes of its windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifdef KELVANE_HAVE_PNG
#include <png.h>
#endif

#include "support/TestFiles.h"

namespace gui {

// Skips when the program or the virtual display is missing; under CI that is a failure.
inline bool GuiCanRun(std::string& why) {
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
    if (!gui::GuiCanRun(why)) {                                             \
      if (std::getenv("CI") != nullptr) FAIL() << "GUI test cannot run under CI: " << why; \
      GTEST_SKIP() << why;                                                  \
    }                                                                       \
  } while (false)

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted.push_back(c);
  }
  return quoted + "'";
}

struct GuiRun {
  int status;
  std::string err;
  std::string out;
};

// The environment words that make the program save a picture of a dialog at path.
inline std::string PictureEnvironment(const std::string& path, int dialogId) {
  return "KELVANE_SCREENSHOT=" + Quote(path) +
         " KELVANE_SCREENSHOT_DIALOG=" + std::to_string(dialogId);
}

// The environment words that set each name to its value.
inline std::string EnvironmentWords(
    const std::vector<std::pair<std::string, std::string>>& variables) {
  std::string words;
  for (const auto& [name, value] : variables)
    words += " " + name + "=" + Quote(value);
  return words;
}

// Runs the program with its own settings folder and the extra environment words; message
// boxes are answered and written to standard error.
inline GuiRun RunKelvane(const TempFolder& folder, const std::vector<std::string>& args,
                         const std::string& environment) {
#ifdef KELVANE_DESKTOP_PROGRAM
  const std::string errors = folder.File("stderr.txt");
  std::string command = "XDG_CONFIG_HOME=" + Quote(folder.File("config")) +
                        " KELVANE_NONINTERACTIVE=1 LSAN_OPTIONS=suppressions=" +
                        Quote(std::string(KELVANE_FIXTURES_DIR) + "/../desktop/lsan-desktop.supp") +
                        ":print_suppressions=0 " + environment;
  // Tests run in parallel: each starts its search for a free display at a number of its own,
  // so two servers do not race for one.
  const int firstDisplay = 100 + static_cast<int>(std::hash<std::string>{}(folder.path.string()) % 800);
  // The display's authority file lives in the test's folder: left to itself, xvfb-run makes
  // and removes a folder of its own, and a failed removal under load turns the program's exit
  // status into its own.
  command += " xvfb-run -a -n " + std::to_string(firstDisplay) + " -f " +
             Quote(folder.File("Xauthority")) + " -s '-screen 0 1280x1024x24' " +
             Quote(KELVANE_DESKTOP_PROGRAM);
  for (const std::string& arg : args)
    command += " " + Quote(arg);
  const std::string output = folder.File("stdout.txt");
  command += " >" + Quote(output) + " 2>" + Quote(errors);
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadBytes(errors), ReadBytes(output)};
#else
  (void)folder;
  (void)args;
  (void)environment;
  return {-1, "", ""};
#endif
}

// The settings file of a run: the language was chosen before and the tips do not show at
// start (both modal dialogs would wait for a user), then the test's own lines, which win.
inline void WriteSettings(const TempFolder& folder, const std::string& lines) {
  std::filesystem::create_directories(folder.path / "config" / "kelvane");
  WriteBytes(folder.File("config/kelvane/settings"),
             "# Kelvane settings 1\n"
             "SOFTWARE\\Norvane\\Kelvane\\Languages\\SelectedLanguage\tYes\n"
             "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n" +
                 lines);
}

inline const std::string kQuietSettings =
    "SOFTWARE\\Norvane\\Kelvane\\BrowserCommand\t/bin/true\n"
    "SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewResults\tNo\n";

// The picture exists, is at least minWidth x minHeight, and is not blank: the window's
// background and text of its own, not one colour.
// textShare: at least one pixel in textShare is dark.
inline void ExpectPictureOfAWindow(const std::string& picture, unsigned minWidth,
                                   unsigned minHeight, std::size_t textShare = 200) {
  ASSERT_TRUE(std::filesystem::exists(picture)) << picture;
#ifdef KELVANE_HAVE_PNG
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, picture.c_str())) << image.message;
  image.format = PNG_FORMAT_GRAY;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
  EXPECT_GT(image.width, minWidth);
  EXPECT_GT(image.height, minHeight);
  std::set<unsigned char> shades(pixels.begin(), pixels.end());
  std::size_t dark = 0;
  for (unsigned char p : pixels)
    dark += p < 96 ? 1 : 0;
  EXPECT_GT(shades.size(), 8u);
  EXPECT_GT(dark, pixels.size() / textShare) << "no text in the picture";
  EXPECT_LT(dark, pixels.size() / 2) << "the picture is mostly dark";
#else
  (void)minWidth;
  (void)minHeight;
  (void)textShare;
#endif
}

}  // namespace gui
