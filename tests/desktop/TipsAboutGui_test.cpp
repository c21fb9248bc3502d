// The tips dialog and the about box on the real screen of a virtual display: each is opened
// alone by the desktop program and leaves a picture in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GuiRun.h"

namespace {

struct DialogPicture {
  int dialogId;
  const char* language;
  const char* picture;  // in the build folder
};

// Opens the dialog alone in a language and checks the picture it leaves; savedSettings
// receives the settings the program wrote back.
void PictureDialog(const DialogPicture& shot, const std::string& extraSettings,
                   std::string& savedSettings) {
  TempFolder folder("tipsaboutgui");
  gui::WriteSettings(folder, gui::kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Languages\\Language\t" +
                                 shot.language + "\n" + extraSettings);
  const std::string picture = std::string(KELVANE_BINARY_DIR) + "/" + shot.picture;
  std::filesystem::remove(picture);
  const gui::GuiRun run =
      gui::RunKelvane(folder, {},
                      "KELVANE_SHOW_DIALOG=" + std::to_string(shot.dialogId) + " " +
                          gui::PictureEnvironment(picture, shot.dialogId));
  ASSERT_EQ(run.status, 0) << run.err;
  savedSettings = ReadBytes(folder.File("config/kelvane/settings"));
  SCOPED_TRACE(run.err);
  gui::ExpectPictureOfAWindow(picture, 300, 150);
}

}  // namespace

TEST(TipsAboutGui, TipsDialogShowsTheNextTipAndKeepsItsNumber) {
  REQUIRE_GUI();
  std::string settings;
  PictureDialog({233, "English", "kelvane-tips-dialog.png"},
                "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\LastTipNumber\t5\n", settings);
  EXPECT_NE(settings.find("\\Dialogs\\LastTipNumber\t6"), std::string::npos) << settings;
}

TEST(TipsAboutGui, AboutBoxInEnglishAndRussian) {
  REQUIRE_GUI();
  const DialogPicture shots[] = {
      {100, "English", "kelvane-about-box.png"},
      {100, "Russian", "kelvane-about-box-russian.png"},
  };
  for (const DialogPicture& shot : shots) {
    SCOPED_TRACE(shot.language);
    std::string settings;
    PictureDialog(shot, "", settings);
  }
}
