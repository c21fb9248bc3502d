// The real desktop program under a virtual display: converts a file named on its command
// line, shows the status window and leaves a picture of it in the build folder; without
// arguments opens the main dialog, whose controls and menu bar are read back through the
// window backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "GuiRun.h"
#include "Inspection.h"
#include "app/DialogTemplates.h"

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

TEST(KelvaneGui, WithoutArgumentsTheMainDialogShowsItsControlsAndMenu) {
  REQUIRE_GUI();
  TempFolder folder("gui");
  WriteSettings(folder, kQuietSettings);
  const std::string picture = std::string(KELVANE_BINARY_DIR) + "/kelvane-main-dialog.png";
  fs::remove(picture);
  const std::string report = folder.File("inspection.txt");

  // "Messages from last conversion" is chosen as a click would.
  const gui::GuiRun run =
      RunKelvane(folder, {}, gui::PictureEnvironment(picture, kDialogMain) +
                                 " KELVANE_INSPECT=" + gui::Quote(report) +
                                 " KELVANE_INSPECT_COMMAND=32775");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(fs::exists(report)) << "the main dialog did not open: " << run.err;
  const gui::Inspection shown = gui::ReadInspection(report);
  EXPECT_EQ(shown.title, "Kelvane");

  for (const ControlTemplate& row : FindDialogTemplate(kDialogMain)->controls)
    EXPECT_EQ(shown.controls.count(row.id), 1u) << "no control " << row.id;
  struct Expected {
    int id;
    bool shown;
    const char* text;
  };
  const Expected expected[] = {
      {9101, true, "Input"},
      {1349, true, "File(s) to convert"},
      {1122, true, ""},
      {1001, true, "Browse..."},
      {9007, true, "Search sub-folders"},
      {1005, true, "Input File type"},
      {9104, true, "Plain text file"},
      {9108, false, "\t"},  // the stored delimiter, a tab at first
      {1620, false, "Delimiter"},
      {9102, true, "Conversion"},
      {1589, true, "Conversion Type"},
      {1590, true, "Output RTF to file"},
      {9103, true, "Output"},
      {1350, true, "Output filename"},
      {1080, true, ""},
      {1077, false, ".html"},
      {1078, false, ".htm"},
      {1352, true, "Output Directory"},
      {9110, true, "Use the source directories"},
      {1012, true, ""},
      {1291, true, "..."},
      {9109, true, "Keep tree structure found in source folders"},
      {1508, true, "Policy files"},
      {1507, true, "Load policy file"},
      {1505, true, ""},
      {1506, true, "..."},
      {1520, true, "Reset"},
      {1016, true, "Perform simple conversion"},
      {1015, true, "Convert File(s)..."},
      {1198, true, "View Results..."},
      {9100, true, "May overwrite existing files"},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    const auto found = shown.controls.find(e.id);
    ASSERT_NE(found, shown.controls.end());
    EXPECT_EQ(found->second.first, e.shown);
    EXPECT_EQ(found->second.second, e.text);
  }
  const std::vector<std::string> inputTypes = {"Plain text file", "Text table file",
                                               "Tab delimited data file",
                                               "Comma delimited data file",
                                               "Other delimited data file"};
  EXPECT_EQ(shown.items.at(9104), inputTypes);
  EXPECT_EQ(shown.items.at(1590), std::vector<std::string>{"Output RTF to file"});
  EXPECT_EQ(shown.menu, (std::vector<std::string>{"&File", "&Conversion options", "&Settings",
                                                  "&Language", "&View", "&Help", "&Updates"}));
  EXPECT_EQ(shown.chosen, std::vector<int>{32775}) << "a chosen item did not reach the program";

  SCOPED_TRACE(run.err);
  gui::ExpectPictureOfAWindow(picture, 300, 400);
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

// Each option sheet opened on the real program: its tabs are its pages in order, and its
// picture (in the build folder) shows the window.
struct SheetOnScreen {
  const char* name;
  int command;  // the menu command that opens the sheet
  int sheetId;
  const char* listing;
  int activeTab;  // the page of the command
};
const SheetOnScreen kSheetsOnScreen[] = {
    {"analysis", 32801, 685,
     "sheet: Analysis policies for input text file(s)\n"
     "tab: What to look for\ntab: Analysis\ntab: Bullets\ntab: Contents List\n"
     "tab: File structure\ntab: Headings\ntab: Pre-formatted text\ntab: Table analysis\n",
     3},
    {"output", 32807, 686,
     "sheet: Output policies for generated RTF file(s)\n"
     "tab: Document details\ntab: File Generation\ntab: Fonts\ntab: Formatting\n"
     "tab: Hyperlinks\ntab: Preprocessor\ntab: RTF Settings\n",
     2},
    {"config", 32862, 687,
     "sheet: Configuration Files\n"
     "tab: Link Dictionary\ntab: Style Definition\ntab: Table Definitions\ntab: Text Commands\n",
     2},
    {"settings", 32823, 688,
     "sheet: Program Settings\n"
     "tab: Documentation\ntab: Drag'n'Drop\ntab: Messages\ntab: Policy files\ntab: Viewers\n",
     0},
};

// The windows that the inspection found shown beside the dialog after its command: per
// window "sheet: <title>" and a line "tab: <caption>" per tab, and the selected tab of each.
struct OtherWindows {
  std::string listing;
  std::vector<int> active;
};

OtherWindows ReadOtherWindows(const std::string& path) {
  OtherWindows windows;
  std::istringstream in(ReadBytes(path));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("window\t", 0) == 0) {
      windows.listing += "sheet: " + line.substr(7) + "\n";
    } else if (line.rfind("tab\t", 0) == 0) {
      const std::size_t text = line.find('\t', 4);
      windows.listing += "tab: " + line.substr(text + 1) + "\n";
    } else if (line.rfind("active\t", 0) == 0) {
      windows.active.push_back(std::stoi(line.substr(7)));
    }
  }
  return windows;
}

TEST(KelvaneGui, EachOptionSheetOpensFromItsMenuCommandWithItsPagesInOrder) {
  REQUIRE_GUI();
  for (const SheetOnScreen& sheet : kSheetsOnScreen) {
    SCOPED_TRACE(sheet.name);
    TempFolder folder(std::string("gui-sheet-command-") + sheet.name);
    WriteSettings(folder, kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n");
    const std::string picture =
        std::string(KELVANE_BINARY_DIR) + "/kelvane-sheet-" + sheet.name + ".png";
    fs::remove(picture);
    const std::string report = folder.File("inspection.txt");
    const gui::GuiRun run =
        RunKelvane(folder, {}, gui::PictureEnvironment(picture, sheet.sheetId) +
                                   " KELVANE_INSPECT=" + gui::Quote(report) +
                                   " KELVANE_INSPECT_COMMAND=" + std::to_string(sheet.command));
    ASSERT_EQ(run.status, 0) << run.err;
    SCOPED_TRACE(run.err);
    ASSERT_EQ(gui::ReadInspection(report).chosen, std::vector<int>{sheet.command});
    const OtherWindows shown = ReadOtherWindows(report);
    EXPECT_EQ(shown.listing, sheet.listing);
    EXPECT_EQ(shown.active, std::vector<int>{sheet.activeTab});
    // Pages of empty fields hold less text than the status window.
    gui::ExpectPictureOfAWindow(picture, 300, 150, 1000);
  }
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

  const gui::GuiRun run = RunKelvane(
      folder, {dictionary}, gui::PictureEnvironment(picture, 231) + " KELVANE_SHOW_DIALOG=231");
  ASSERT_EQ(run.status, 0) << run.err;
  SCOPED_TRACE(run.err);
  gui::ExpectPictureOfAWindow(picture, 300, 150);
  // Shown on its own, the editor changes nothing.
  EXPECT_EQ(ReadBytes(dictionary), definitions);
}
