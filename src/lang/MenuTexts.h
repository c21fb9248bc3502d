#pragma once

#include <span>
#include <string_view>

class DialogWindow;
class Menu;
class TextFile;

// The menu-text table put onto the main dialog's menu bar, and its section of a language
// file. The table itself, its English rows and SelectMenuLanguage are in InterfaceTexts.h.

// A group of the menu section of a language file: its heading line and how many rows of
// EnglishMenuTexts, in order, belong to it.
struct MenuTextGroup {
  std::string_view heading;
  int rowCount;
};
std::span<const MenuTextGroup> MenuTextGroups();

// Menu text 0-209 as a C string owned by the table; "???" above 209. Never fills the table.
const char* GetMenuText(int index);
// Language-file setter: ids 10000-10209 set entry id - 10000 to a copy of the text, taken as
// it is (no escapes decoded, no markers replaced); other ids are ignored.
void SetMenuEntry(int id, std::string_view text);

// The item with commandId in menu or a menu nested in it becomes an enabled, unchecked item
// with menu text index. Nothing happens without the menu or the item.
void RetitleMenuItem(Menu* menu, int commandId, int index);
// The entry at position (a drop-down entry keeps its menu) takes menu text index. Nothing
// happens without the menu, for a negative position or index, or without an entry there.
void RetitleMenuPosition(Menu* menu, int position, int index);
// Retitles the main dialog's menu bar and its drop-down menus from the table, and places the
// bar's last entry (Updates) apart at the right end. A missing menu is skipped with all
// below it, and so is an item that the dialog removed. Check marks are cleared: the caller
// sets them again.
void ApplyMenuTexts(DialogWindow* mainWindow);

// The menu section of a language file: per group the lines "!", the heading, "!", then one
// line per entry ("10010  : &File").
void WriteMenuSection(TextFile& file);
void WriteMenuEntry(TextFile& file, int index);
