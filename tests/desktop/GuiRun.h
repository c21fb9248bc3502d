#pragma once

// Running the real desktop program under a virtual display.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/TestFiles.h"

// false, with the reason, when the program or the virtual display is missing.
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

// Skips when the program cannot run; under CI that is a failure.
#define REQUIRE_GUI()                                                                      \
  do {                                                                                     \
    std::string why;                                                                       \
    if (!GuiCanRun(why)) {                                                                 \
      if (std::getenv("CI") != nullptr) FAIL() << "GUI test cannot run under CI: " << why; \
      GTEST_SKIP() << why;                                                                 \
    }                                                                                      \
  } while (false)

// A text as one word of a shell command.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted.push_back(c);
  }
  return quoted + "'";
}

// The program's settings file in the folder's "config": the header line and the lines given
// (key path, a tab, the value).
inline void WriteSettings(const TempFolder& folder, const std::string& lines) {
  std::filesystem::create_directories(folder.path / "config" / "kelvane");
  WriteBytes(folder.File("config/kelvane/settings"), "# Kelvane settings 1\n" + lines);
}

struct GuiRun {
  int status;
  std::string err;
};

// Runs the program with its settings in the folder's "config" and the environment's
// additions; message boxes are answered and written to standard error.
inline GuiRun RunKelvane(const TempFolder& folder, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
#ifdef KELVANE_DESKTOP_PROGRAM
  const std::string errors = folder.File("stderr.txt");
  std::string command = "XDG_CONFIG_HOME=" + ShellQuote(folder.File("config")) +
                        " KELVANE_NONINTERACTIVE=1 LSAN_OPTIONS=suppressions=" +
                        ShellQuote(std::string(KELVANE_FIXTURES_DIR) + "/../desktop/lsan-desktop.supp") +
                        ":print_suppressions=0";
  for (const auto& [name, value] : environment)
    command += " " + name + "=" + ShellQuote(value);
  // Tests run in parallel: each starts its search for a free display at a number of its own,
  // so two servers do not race for one.
  const int firstDisplay = 100 + static_cast<int>(std::hash<std::string>{}(folder.path.string()) % 800);
  command += " xvfb-run -a -n " + std::to_string(firstDisplay) +
             " -s '-screen 0 1280x1024x24' " + ShellQuote(KELVANE_DESKTOP_PROGRAM);
  for (const std::string& arg : args)
    command += " " + ShellQuote(arg);
  command += " >/dev/null 2>" + ShellQuote(errors);
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadBytes(errors)};
#else
  (void)folder;
  (void)args;
  (void)environment;
  return {-1, ""};
#endif
}
