// The desktop program: converts the files named on its command line, or opens its main
// dialog. Its settings live in the settings file of the user's configuration folder.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DialogPreview.h"
#include "app/DialogTemplates.h"
#include "app/DialogOnItsOwn.h"
#include "app/OxvApp.h"
#include "platform/SettingsStore.h"
#include "wx/WxDesktop.h"

int main(int argc, char** argv) {
  FileSettingsStore settings(FileSettingsStore::DefaultPath());
  return RunWithWxDesktop(argc, argv, settings,
                          [&settings](DesktopPlatform& platform,
                                      const std::vector<std::string>& args) {
                            // KELVANE_SHOW_DIALOG=<template id>: that dialog alone, for
                            // pictures of it.
                            // "all": every window in turn.
                            if (const char* shown = std::getenv("KELVANE_SHOW_DIALOG")) {
                              if (std::string(shown) == "all")
                                return ShowEveryDialog(platform, args);
                              const int id = std::atoi(shown);
                              if (CanShowDialogAlone(id))
                                return ShowDialogAlone(platform, id);
                              return ShowDialogOnItsOwn(platform, id, args);
                            }
                            OxvApp app(platform);
                            return app.InitInstance(args, settings.GetLoadProblem());
                          });
}
