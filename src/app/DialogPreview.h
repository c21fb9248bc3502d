#pragma once

#include <string>
#include <vector>

class DesktopPlatform;

// Runs one dialog of the program alone, over the stored settings and in the stored
// language: the tips dialog (template 233), the about box (100), the translations dialog (191), the
// language files dialog (195) or the language chooser (196). The desktop program does
// this when KELVANE_SHOW_DIALOG names one of them, so that tests can picture each on the
// real screen. 0, or 2 for any other id.
int ShowDialogAlone(DesktopPlatform& platform, int templateId);
// True for the ids that ShowDialogAlone runs.
bool CanShowDialogAlone(int templateId);

// Runs every window of the program in turn, in the stored language, so that tests can
// picture all of them in one start (KELVANE_SHOW_DIALOG=all): the dialogs ShowDialogAlone
// runs, the main dialog, the policy-file dialogs, each option sheet with the heading-levels
// and heading-details dialogs over the analysis sheet, the link dictionary editor on the
// dictionary file args[1] names, and last the status window of the conversion of the file
// args[0] names. Modal windows wait for the user unless the window backend closes them. 0.
int ShowEveryDialog(DesktopPlatform& platform, const std::vector<std::string>& args);
