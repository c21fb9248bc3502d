#pragma once

#include <functional>

class wxDialog;
class wxString;

// For the tests that picture the program: opens the menu at position (0 the first) of the
// menu bar inside window by a click on its title, as the user's pointer gives it, saves a PNG
// picture of the screen area that the window and the open menu cover at path, closes the menu
// and then calls done from the event loop. When there is no such menu, or it does not open,
// or the picture cannot be written, standard error says so and done is called all the same.
void PictureOpenMenu(wxDialog* window, int position, const wxString& path,
                     std::function<void()> done);
