#include "platform/Menu.h"

#include <vector>

void BuildMenu(Menu& bar, std::span<const MenuRow> rows) {
  // open[level] is the menu that takes the rows of that level.
  std::vector<Menu*> open{&bar};
  for (const MenuRow& row : rows) {
    if (row.level < 0 || row.level >= static_cast<int>(open.size()))
      continue;  // a row deeper than any open drop-down has no menu to go to
    open.resize(static_cast<std::size_t>(row.level) + 1);
    Menu& menu = *open.back();
    switch (row.kind) {
      case MenuEntryKind::Item:
      case MenuEntryKind::CheckItem:
        menu.AppendItem(row.commandId, std::string(row.text), row.kind);
        break;
      case MenuEntryKind::Separator:
        menu.AppendSeparator();
        break;
      case MenuEntryKind::DropDown:
        open.push_back(menu.AppendDropDown(std::string(row.text)));
        break;
    }
  }
}

int FindCommandPosition(const Menu& menu, int commandId) {
  for (int position = 0; position < menu.GetEntryCount(); ++position) {
    if (menu.GetEntryId(position) == commandId)
      return position;
  }
  return -1;
}
