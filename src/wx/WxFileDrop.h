#pragma once

#include <functional>
#include <string>
#include <vector>

class wxDialog;

// Files dropped from the desktop onto a dialog window.

using DroppedFilesHandler = std::function<void(const std::vector<std::string>& paths)>;

// Makes the window a target for dropped files: each drop hands its full paths, in drop order,
// to the handler once the drop itself is over (a conversion started by it does not hold the
// program the files came from). An empty handler removes the target.
void SetFileDropHandler(wxDialog* window, DroppedFilesHandler handler);

// For the tests that run the real program under a virtual display: the environment variable
// KELVANE_TEST_ACTIONS holds steps, one per line, run in order once the window's modal loop
// is going, each after what the one before it set off has finished: "drop" followed by
// tab-separated paths hands them to the window's drop target as a drop does, "click" and a
// tab and a control id clicks that button, "menu", a tab, the position of a menu of the
// window's menu bar (0 the first), a tab and a path opens that menu and saves a PNG picture
// of the window with the menu open at the path (PictureOpenMenu), "close" closes the window.
// The variable is removed once read, so only the first window that asks runs the steps, and
// programs started later do not see it.
void StartTestActions(wxDialog* window);
