#pragma once

#include <string>
#include <vector>

class DesktopPlatform;

// Shows one dialog of the program by itself, without the main dialog: the real program does
// this when KELVANE_SHOW_DIALOG names a dialog id, so that a dialog which is otherwise
// reached through several windows can be looked at and pictured on its own. With
// KELVANE_NONINTERACTIVE set the dialog is shown and closed again at once (a picture asked
// for with KELVANE_SCREENSHOT is taken as it closes); otherwise it runs until the user
// closes it.
//
// 231, the link dictionary editor: args[0] names the dictionary file.
//
// Returns 0 when the dialog was shown, 1 for an id this cannot show.
int ShowDialogOnItsOwn(DesktopPlatform& platform, int dialogId,
                       const std::vector<std::string>& args);

// The link dictionary editor alone, in the interface language in force, on the dictionary
// file of that full name (none: the editor's fields stay disabled), shown as
// ShowDialogOnItsOwn shows it. 0.
int ShowLinkDictEditOnItsOwn(DesktopPlatform& platform, const std::string& dictionary);
