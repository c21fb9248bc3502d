#pragma once

class DesktopPlatform;

// Runs one dialog of the program alone, over the stored settings and in the stored
// language: the tips dialog (template 233), the about box (100), the translations dialog (191), the
// language files dialog (195) or the language chooser (196). The desktop program does
// this when KELVANE_SHOW_DIALOG names one of them, so that tests can picture each on the
// real screen. 0, or 2 for any other id.
int ShowDialogAlone(DesktopPlatform& platform, int templateId);
// True for the ids that ShowDialogAlone runs.
bool CanShowDialogAlone(int templateId);
