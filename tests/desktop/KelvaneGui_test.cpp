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
  std::string out;
};

// Runs the program with its own settings folder; message boxes are answered and written to
// standard error. environment holds more "NAME=value " settings for the program; the
// picture is taken of the window of template screenshotDialog.
GuiRun RunKelvane(const TempFolder& folder, const std::vector<std::string>& args,
                  const std::string& screenshot, const std::string& environment = "",
                  int screenshotDialog = 132) {
#ifdef KELVANE_DESKTOP_PROGRAM
  const std::string errors = folder.File("stderr.txt");
  const std::string output = folder.File("stdout.txt");
  std::string command = environment + "XDG_CONFIG_HOME=" + Quote(folder.File("config")) +
                        " KELVANE_NONINTERACTIVE=1 LSAN_OPTIONS=suppressions=" +
                        Quote(std::string(KELVANE_FIXTURES_DIR) + "/../desktop/lsan-desktop.supp") +
                        ":print_suppressions=0";
  if (!screenshot.empty())
    command += " KELVANE_SCREENSHOT=" + Quote(screenshot) +
               " KELVANE_SCREENSHOT_DIALOG=" + std::to_string(screenshotDialog);
  // Tests run in parallel: each starts its search for a free display at a number of its own,
  // so two servers do not race for one.
  const int firstDisplay = 100 + static_cast<int>(std::hash<std::string>{}(folder.path.string()) % 800);
  command += " xvfb-run -a -n " + std::to_string(firstDisplay) +
             " -s '-screen 0 1280x1024x24' " + Quote(KELVANE_DESKTOP_PROGRAM);
  for (const std::string& arg : args)
    command += " " + Quote(arg);
  command += " >" + Quote(output) + " 2>" + Quote(errors);
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadBytes(errors), ReadBytes(output)};
#else
  (void)folder;
  (void)args;
  (void)screenshot;
  (void)environment;
  (void)screenshotDialog;
  return {-1, "", ""};
#endif
}

void WriteSettings(const TempFolder& folder, const std::string& lines) {
  fs::create_directories(folder.path / "config" / "kelvane");
  WriteBytes(folder.File("config/kelvane/settings"), "# Kelvane settings 1\n" + lines);
}

const std::string kQuietSettings =
    "SOFTWARE\\Norvane\\Kelvane\\BrowserCommand\t/bin/true\n"
    "SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewResults\tNo\n";

// The picture shows a window with text: not one colour, not blank, not mostly dark; at
// least one pixel in textShare is dark.
void ExpectWindowPicture(const std::string& picture, std::size_t textShare = 200) {
#ifdef KELVANE_HAVE_PNG
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, picture.c_str())) << image.message;
  image.format = PNG_FORMAT_GRAY;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
  EXPECT_GT(image.width, 300u);
  EXPECT_GT(image.height, 150u);
  std::set<unsigned char> shades(pixels.begin(), pixels.end());
  std::size_t dark = 0;
  for (unsigned char p : pixels)
    dark += p < 96 ? 1 : 0;
  EXPECT_GT(shades.size(), 8u);
  EXPECT_GT(dark, pixels.size() / textShare) << "no text in the picture";
  EXPECT_LT(dark, pixels.size() / 2) << "the picture is mostly dark";
#else
  (void)picture;
  (void)textShare;
#endif
}

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

  ASSERT_TRUE(fs::exists(picture)) << run.err;
  ExpectWindowPicture(picture);
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

// Each option sheet opened on the real program: its tabs are its pages in order, and its
// picture (in the build folder) shows the window.
struct SheetOnScreen {
  const char* name;
  int sheetId;
  const char* listing;
};
const SheetOnScreen kSheetsOnScreen[] = {
    {"analysis", 685,
     "sheet: Analysis policies for input text file(s)\n"
     "tab: What to look for\ntab: Analysis\ntab: Bullets\ntab: Contents List\n"
     "tab: File structure\ntab: Headings\ntab: Pre-formatted text\ntab: Table analysis\n"},
    {"output", 686,
     "sheet: Output policies for generated RTF file(s)\n"
     "tab: Document details\ntab: File Generation\ntab: Fonts\ntab: Formatting\n"
     "tab: Hyperlinks\ntab: Preprocessor\ntab: RTF Settings\n"},
    {"config", 687,
     "sheet: Configuration Files\n"
     "tab: Link Dictionary\ntab: Style Definition\ntab: Table Definitions\ntab: Text Commands\n"},
    {"settings", 688,
     "sheet: Program Settings\n"
     "tab: Documentation\ntab: Drag'n'Drop\ntab: Messages\ntab: Policy files\ntab: Viewers\n"},
};

TEST(KelvaneGui, EachOptionSheetShowsItsPagesInOrder) {
  REQUIRE_GUI();
  for (const SheetOnScreen& sheet : kSheetsOnScreen) {
    SCOPED_TRACE(sheet.name);
    TempFolder folder(std::string("gui-sheet-") + sheet.name);
    WriteSettings(folder, kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n");
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-sheet-" + sheet.name + ".png";
    fs::remove(picture);
    const GuiRun run = RunKelvane(folder, {}, picture,
                                  std::string("KELVANE_PREVIEW_SHEET=") + sheet.name + " ",
                                  sheet.sheetId);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("active:")), sheet.listing);
    ASSERT_TRUE(fs::exists(picture)) << run.err;
    // Pages of empty fields hold less text than the status window.
    ExpectWindowPicture(picture, 1000);
  }
}
