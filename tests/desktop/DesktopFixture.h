#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/DialogTemplates.h"
#include "app/OxvDialog.h"
#include "app/StatusDialog.h"
#include "platform/HeadlessPlatform.h"
#include "support/TestFiles.h"
#include "text/StringList.h"

// The desktop program on the headless backend: a main dialog over settings in memory, the
// process's status window bound to it, and a folder of the test's own for files.
class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() : folder("desktop") {
    // Results are not opened in a viewer unless a test asks for it.
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\BrowserCommand", "/bin/true");
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\AutoDDEUpdates", "No");
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\DragAndDrop\\ViewResults", "No");
  }
  ~DesktopTest() override {
    status().Destroy();
    status().ClearStatus();
  }

  // Builds the main dialog (reading the settings) and binds the status window to it.
  OxvDialog& MakeDialog() {
    dialog = std::make_unique<OxvDialog>(platform, status());
    status().Create(platform, dialog.get());
    return *dialog;
  }
  static StatusDialog& status() { return GlobalStatusWindow(); }

  // Every line the status window kept, one per line.
  static std::string StatusLines() {
    std::string all;
    const StringList& lines = status().GetLines();
    for (int i = 0; i < lines.GetCount(); ++i) {
      all += lines.GetItem(i)->text.GetText();
      all += '\n';
    }
    return all;
  }

  std::string WriteText(const std::string& name, const std::string& text) {
    const std::string path = folder.File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, text);
    return path;
  }

  // The folder with its trailing separator.
  std::string Dir() const { return folder.path.string() + "/"; }

  HeadlessPlatform platform;
  TempFolder folder;
  std::unique_ptr<OxvDialog> dialog;
};

inline const char* kSampleText =
    "A SHORT DOCUMENT\n"
    "\n"
    "This is the first paragraph of a short document. It has two sentences.\n"
    "\n"
    "1. Introduction\n"
    "\n"
    "The introduction says what the document is about.\n";
