#pragma once

#include <string>
#include <vector>

class DesktopPlatform;
class OxvDialog;

// The desktop program's start: builds the main dialog and the status window, takes the
// command line, and runs the program once, interactively or as a command-line conversion.
class OxvApp {
 public:
  explicit OxvApp(DesktopPlatform& platform) : platform_(platform) {}

  // Runs the program with its arguments (without the program name). settingsProblem, when
  // not empty, says why the stored settings could not be read; it is shown once. Returns
  // the process's exit status: 0, or 1 when a command-line conversion failed or found no
  // file.
  int InitInstance(const std::vector<std::string>& args, const std::string& settingsProblem = {});

  DesktopPlatform& GetPlatform() { return platform_; }

 private:
  DesktopPlatform& platform_;
};

// The interactive main dialog, or the conversion of the command line's files. The exit
// status as InitInstance gives it.
int RunApplication(OxvApp& app, OxvDialog& dialog);

// Takes the program's arguments one by one into the main dialog.
class CommandLine {
 public:
  CommandLine(OxvApp& app, OxvDialog& dialog) : app_(app), dialog_(dialog) {}

  // Every argument in order. An argument is a flag when it starts with "-", or with "/" and
  // names no existing file or folder (absolute paths start with "/" here).
  void ParseAll(const std::vector<std::string>& args);
  // One argument; for a flag, text is the argument without its "/" or "-".
  void ParseParam(const std::string& text, bool isFlag, bool isLast);

 private:
  OxvApp& app_;
  OxvDialog& dialog_;
};
