#include "platform/DialogWindow.h"

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y)
      return false;
  }
  return true;
}

int FindItemNoCase(const DialogWindow& window, int id, const std::string& text) {
  const int count = window.GetItemCount(id);
  for (int i = 0; i < count; ++i) {
    if (EqualsNoCase(window.GetItemText(id, i), text))
      return i;
  }
  return -1;
}
