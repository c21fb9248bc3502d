#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// A window's menu bar and its drop-down menus. Entries are addressed by their position in
// their own menu (drop-down entries, separators and items alike) or, for items, by their
// command id, which is searched in the nested drop-down menus too. A position or id that the
// menu does not have makes an operation do nothing and report false; nothing fails loudly.
// Texts carry "&" before the letter of the access key. Choosing an item reaches the window's
// event handler as DialogEvent::MenuCommand with the item's command id.

// What stands at a position of a menu.
enum class MenuEntryKind : std::uint8_t {
  Item,       // a command
  CheckItem,  // a command that carries a check mark
  Separator,
  DropDown,   // opens a nested menu
};

class Menu {
 public:
  virtual ~Menu() = default;

  // ---- Building ----
  // A menu bar holds drop-down entries: a backend whose bar cannot hold items or separators
  // leaves them out.
  virtual void AppendItem(int commandId, const std::string& text, MenuEntryKind kind) = 0;
  virtual void AppendSeparator() = 0;
  // Appends a drop-down entry and returns its (empty) menu, owned by this menu.
  virtual Menu* AppendDropDown(const std::string& text) = 0;

  // ---- By position ----
  virtual int GetEntryCount() const = 0;
  // Item, CheckItem, Separator or DropDown; false outside the menu.
  virtual bool GetEntryKind(int position, MenuEntryKind& kind) const = 0;
  // The command id of the item at position; 0 for a separator or drop-down entry or outside.
  virtual int GetEntryId(int position) const = 0;
  // The text at position; empty for a separator or outside the menu.
  virtual std::string GetEntryText(int position) const = 0;
  // A drop-down entry keeps its menu; false for a separator or outside the menu.
  virtual bool SetEntryText(int position, const std::string& text) = 0;
  // The menu of the drop-down entry at position; null for any other entry.
  virtual Menu* GetDropDown(int position) = 0;
  // Removes the entry at position, a drop-down entry with its menu.
  virtual bool RemoveEntry(int position) = 0;
  // Places the entry at position apart at the right end of a menu bar.
  virtual bool SetRightJustified(int position) = 0;

  // ---- By command id (nested menus searched) ----
  virtual bool HasCommand(int commandId) const = 0;
  virtual bool SetCommandText(int commandId, const std::string& text) = 0;
  virtual std::string GetCommandText(int commandId) const = 0;
  // A check mark on a CheckItem; false for an item without one.
  virtual bool CheckCommand(int commandId, bool checked) = 0;
  virtual bool IsCommandChecked(int commandId) const = 0;
  virtual bool EnableCommand(int commandId, bool enable) = 0;
  virtual bool IsCommandEnabled(int commandId) const = 0;
  virtual bool RemoveCommand(int commandId) = 0;
};

// A menu described as data, one row per entry in display order: a DropDown row opens a
// menu that holds the rows after it that are one level deeper.
struct MenuRow {
  int level;  // 0 on the bar
  MenuEntryKind kind;
  int commandId;  // 0 for separators and drop-down entries
  std::string_view text;
};

// Appends the rows to an empty menu bar.
void BuildMenu(Menu& bar, std::span<const MenuRow> rows);
// The position of the item with commandId in menu (not searched below it); -1 when absent.
int FindCommandPosition(const Menu& menu, int commandId);
