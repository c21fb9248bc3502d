#include "pages/ComboHelpers.h"

#include <vector>

#include "platform/DialogWindow.h"

static bool HasCombo(const DialogWindow* window, int combo) {
  return window != nullptr && window->HasControl(combo);
}

void MoveComboStringToTop(DialogWindow* window, int combo, const std::string& text) {
  if (!HasCombo(window, combo))
    return;
  const int found = FindItemNoCase(*window, combo, text);
  if (found >= 0)
    window->DeleteItem(combo, found);
  window->InsertItem(combo, 0, text);
}

int FillComboBox(DialogWindow* window, int combo, int count, const std::string* array) {
  if (!HasCombo(window, combo))
    return 0;
  window->ClearItems(combo);
  for (int i = 0; i < count; ++i) {
    if (!array[i].empty())
      window->AddItem(combo, array[i]);
  }
  return 1;
}

void ReadComboStrings(DialogWindow* window, int combo, int count, std::string* array) {
  if (!HasCombo(window, combo))
    return;
  const int items = window->GetItemCount(combo);
  for (int i = 0; i < count; ++i)
    array[i] = i < items ? window->GetItemText(combo, i) : std::string();
}

void PushComboValue(DialogWindow* window, int combo, int count, std::string* array,
                    const std::string& text) {
  if (text.empty())
    return;
  if (HasCombo(window, combo)) {
    MoveComboStringToTop(window, combo, text);
    ReadComboStrings(window, combo, count, array);
    return;
  }
  // Without a window (a command-line start): the list keeps the same order a combo would.
  std::vector<std::string> names;
  names.push_back(text);
  for (int i = 0; i < count; ++i) {
    if (!array[i].empty() && !EqualsNoCase(array[i], text))
      names.push_back(array[i]);
  }
  for (int i = 0; i < count; ++i)
    array[i] = i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)] : "";
}
