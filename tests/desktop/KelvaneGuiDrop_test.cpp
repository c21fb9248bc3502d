// The real desktop program under a virtual display: files dropped on its main dialog are
// converted, and View starts the viewer the desktop associates with ".rtf".
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "GuiRun.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A desktop of the test's own: home, data and config folders inside the test's folder, so
// the machine's settings and associations play no part. Its ".rtf" files open in a script
// that writes its arguments, one per line, to "viewer-args.txt".
std::vector<std::pair<std::string, std::string>> PrivateDesktop(const TempFolder& folder) {
  const auto write = [&folder](const std::string& name, const std::string& text) {
    fs::create_directories((folder.path / name).parent_path());
    WriteBytes(folder.File(name), text);
  };
  write("data/mime/globs2", "50:text/rtf:*.rtf\n");
  write("data/applications/kv-record.desktop",
        "[Desktop Entry]\nType=Application\nName=Recorder\nExec=kv-record-args --view %f\n");
  write("config/mimeapps.list", "[Default Applications]\ntext/rtf=kv-record.desktop\n");
  // The record is written whole under another name first, so a reader never sees half.
  write("bin/kv-record-args", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + folder.File("args.part") +
                                  "\"\nmv \"" + folder.File("args.part") + "\" \"" +
                                  folder.File("viewer-args.txt") + "\"\n");
  fs::permissions(folder.path / "bin" / "kv-record-args", fs::perms::owner_all);
  fs::create_directories(folder.path / "home");
  const char* path = std::getenv("PATH");
  return {
      {"HOME", folder.File("home")},
      {"XDG_DATA_HOME", folder.File("data")},
      {"XDG_DATA_DIRS", folder.File("no-system-data")},
      {"XDG_CONFIG_DIRS", folder.File("no-system-config")},
      {"PATH", folder.File("bin") + ":" + (path != nullptr ? path : "/usr/bin:/bin")},
  };
}

// The started viewer runs on its own: its record is awaited, for a minute at the most.
std::string AwaitViewerRecord(const TempFolder& folder) {
  const std::string record = folder.File("viewer-args.txt");
  for (int i = 0; i < 3000 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return ReadBytes(record);
}

}  // namespace

TEST(KelvaneGuiDrop, DroppedFileIsConvertedAndViewOpensTheAssociatedViewer) {
  REQUIRE_GUI();
  TempFolder folder("guidrop");
  // Results are viewed only when View is clicked.
  gui::WriteSettings(folder, "SOFTWARE\\Norvane\\Kelvane\\BrowserCommand\t/bin/true\n"
                        "SOFTWARE\\Norvane\\Kelvane\\AutoDDEUpdates\tNo\n"
                        "SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup\tNo\n");
  const std::string input = folder.File("in put/doc.txt");
  fs::create_directories(folder.path / "in put");
  WriteBytes(input, ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt"));
  auto environment = PrivateDesktop(folder);
  environment.emplace_back("KELVANE_TEST_ACTIONS", "drop\t" + input + "\nclick\t1198\nclose\n");

  const gui::GuiRun run = gui::RunKelvane(folder, {}, gui::EnvironmentWords(environment));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string output = folder.File("in put/doc.rtf");
  EXPECT_EQ(ReadBytes(output).rfind("{\\rtf", 0), 0u) << run.err;
  EXPECT_EQ(AwaitViewerRecord(folder), output + "\n") << run.err;
  // No message box was shown (each would be a line "[caption] text").
  EXPECT_NE(run.err.rfind('[', 0), 0u) << run.err;
  EXPECT_EQ(run.err.find("\n["), std::string::npos) << run.err;
}

TEST(KelvaneGuiDrop, FilesOfSeveralFoldersAreEachConvertedInTheirOwn) {
  REQUIRE_GUI();
  TempFolder folder("guidrop");
  gui::WriteSettings(folder, "SOFTWARE\\Norvane\\Kelvane\\BrowserCommand\t/bin/true\n"
                        "SOFTWARE\\Norvane\\Kelvane\\AutoDDEUpdates\tNo\n");
  const std::string text = ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt");
  for (const char* sub : {"one", "two"})
    fs::create_directories(folder.path / sub);
  WriteBytes(folder.File("one/a.txt"), text);
  WriteBytes(folder.File("two/b.txt"), text);
  auto environment = PrivateDesktop(folder);
  environment.emplace_back("KELVANE_TEST_ACTIONS", "drop\t" + folder.File("one/a.txt") + "\t" +
                                                       folder.File("two/b.txt") + "\nclose\n");
  const gui::GuiRun run = gui::RunKelvane(folder, {}, gui::EnvironmentWords(environment));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("one/a.rtf")).rfind("{\\rtf", 0), 0u) << run.err;
  EXPECT_EQ(ReadBytes(folder.File("two/b.rtf")).rfind("{\\rtf", 0), 0u) << run.err;
}
