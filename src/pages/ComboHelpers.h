#pragma once

#include <string>

class DialogWindow;

// The recent-name combo boxes: a combo is the control id of a window (a null window means
// no combo); array holds count names, most recent first.

// Deletes the item equal to text (ASCII case ignored) and inserts text as the first item.
void MoveComboStringToTop(DialogWindow* window, int combo, const std::string& text);
// 0 without a combo; else the items become the non-empty names of the array, in order.
int FillComboBox(DialogWindow* window, int combo, int count, const std::string* array);
// Item i into array[i] for each i below count and the item count; the rest of the first
// count entries become empty.
void ReadComboStrings(DialogWindow* window, int combo, int count, std::string* array);
// A non-empty text goes to the top of the combo and the array is read back from it; an
// empty text changes nothing. Without a combo the array itself is updated the same way.
void PushComboValue(DialogWindow* window, int combo, int count, std::string* array,
                    const std::string& text);
