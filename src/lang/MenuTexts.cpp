#include "lang/MenuTexts.h"

#include <array>
#include <cstddef>
#include <string>

#include "lang/InterfaceTexts.h"
#include "platform/DialogWindow.h"
#include "platform/Menu.h"
#include "text/TextFile.h"

const char* GetMenuText(int index) { return MenuTexts().Get(index); }

void SetMenuEntry(int id, std::string_view text) {
  const int index = id - kMenuTextFirstId;
  if (index < 0 || index >= kMenuTextCount)
    return;
  MenuTexts().Set(index, text);
}

void RetitleMenuItem(Menu* menu, int commandId, int index) {
  if (menu == nullptr || !menu->SetCommandText(commandId, GetMenuText(index)))
    return;
  (void)menu->EnableCommand(commandId, true);
  (void)menu->CheckCommand(commandId, false);
}

void RetitleMenuPosition(Menu* menu, int position, int index) {
  if (menu == nullptr || position < 0 || index < 0)
    return;
  (void)menu->SetEntryText(position, GetMenuText(index));
}

namespace {

// The menus of the main dialog's menu bar that carry texts.
enum MainMenu : int {
  kMenuBar,
  kMenuFile,
  kMenuConversion,
  kMenuAnalysis,
  kMenuOutput,
  kMenuFileGeneration,
  kMenuConfigFiles,
  kMenuSettings,
  kMenuLanguage,
  kMenuView,
  kMenuHelp,
  kMenuHtmlDocumentation,
  kMenuOtherProducts,
  kMenuUpdates,
  kMainMenuCount,
};

// Where a drop-down menu sits: the position of its entry in its parent menu.
struct MenuPlace {
  MainMenu menu;
  MainMenu parent;
  int position;
};

// One retitling step: in menu, the entry at a position (byPosition) or the item with a
// command id takes a menu text.
struct RetitleStep {
  MainMenu menu;
  bool byPosition;
  int positionOrId;
  int textIndex;
};

}  // namespace

// Parents come before the menus in them.
static constexpr MenuPlace kMenuPlaces[] = {
    {kMenuFile, kMenuBar, 0},           {kMenuConversion, kMenuBar, 1},
    {kMenuSettings, kMenuBar, 2},       {kMenuLanguage, kMenuBar, 3},
    {kMenuView, kMenuBar, 4},           {kMenuHelp, kMenuBar, 5},
    {kMenuUpdates, kMenuBar, 6},        {kMenuAnalysis, kMenuConversion, 0},
    {kMenuOutput, kMenuConversion, 2},  {kMenuConfigFiles, kMenuConversion, 4},
    {kMenuFileGeneration, kMenuOutput, 0}, {kMenuHtmlDocumentation, kMenuHelp, 2},
    {kMenuOtherProducts, kMenuHelp, 4},
};

static constexpr int kUpdatesPosition = 6;

static constexpr RetitleStep kRetitleSteps[] = {
    {kMenuBar, true, 0, 10}, {kMenuBar, true, 1, 20}, {kMenuBar, true, 2, 110},
    {kMenuBar, true, 3, 130}, {kMenuBar, true, 4, 150}, {kMenuBar, true, 5, 160},
    {kMenuBar, true, 6, 190},
    {kMenuFile, false, 32772, 11}, {kMenuFile, false, 32779, 12},
    {kMenuFile, false, 32780, 13}, {kMenuFile, false, 32784, 14},
    {kMenuConversion, true, 0, 40}, {kMenuConversion, true, 2, 50},
    {kMenuConversion, true, 4, 200}, {kMenuConversion, false, 32831, 23},
    {kMenuConversion, false, 32830, 24}, {kMenuConversion, false, 32780, 25},
    {kMenuConversion, false, 32789, 26}, {kMenuConversion, false, 32781, 27},
    {kMenuAnalysis, false, 32797, 41}, {kMenuAnalysis, false, 32800, 42},
    {kMenuAnalysis, false, 32801, 43}, {kMenuAnalysis, false, 32838, 44},
    {kMenuAnalysis, false, 32799, 45}, {kMenuAnalysis, false, 32798, 46},
    {kMenuAnalysis, false, 32802, 47}, {kMenuAnalysis, false, 32803, 48},
    {kMenuOutput, true, 0, 100}, {kMenuOutput, false, 32821, 52},
    {kMenuOutput, false, 32806, 53}, {kMenuOutput, false, 32828, 54},
    {kMenuOutput, false, 32864, 55}, {kMenuOutput, false, 32845, 56},
    {kMenuOutput, false, 32851, 57}, {kMenuOutput, false, 32826, 58},
    {kMenuOutput, false, 32847, 59}, {kMenuOutput, false, 32816, 60},
    {kMenuOutput, false, 32815, 61}, {kMenuOutput, false, 32810, 62},
    {kMenuOutput, false, 32811, 63}, {kMenuOutput, false, 32812, 64},
    {kMenuOutput, false, 32808, 65}, {kMenuOutput, false, 32807, 66},
    {kMenuOutput, false, 32813, 67}, {kMenuOutput, false, 32839, 68},
    {kMenuFileGeneration, false, 32832, 101}, {kMenuFileGeneration, false, 32809, 102},
    {kMenuFileGeneration, false, 32819, 103}, {kMenuFileGeneration, false, 32818, 104},
    {kMenuConfigFiles, false, 32860, 70}, {kMenuConfigFiles, false, 32861, 71},
    {kMenuConfigFiles, false, 32859, 72}, {kMenuConfigFiles, false, 32862, 73},
    {kMenuConfigFiles, false, 32863, 74},
    {kMenuSettings, false, 32823, 111}, {kMenuSettings, false, 32824, 112},
    {kMenuSettings, false, 32796, 113}, {kMenuSettings, false, 32782, 114},
    {kMenuSettings, false, 32822, 115}, {kMenuSettings, false, 32853, 117},
    {kMenuSettings, false, 32854, 118}, {kMenuSettings, false, 32855, 119},
    {kMenuSettings, false, 9020, 120}, {kMenuSettings, false, 9111, 121},
    {kMenuLanguage, false, 32840, 131}, {kMenuLanguage, false, 9112, 142},
    {kMenuLanguage, false, 32841, 134}, {kMenuLanguage, false, 32849, 137},
    {kMenuLanguage, false, 32848, 135}, {kMenuLanguage, false, 32842, 132},
    {kMenuLanguage, false, 32852, 136}, {kMenuLanguage, false, 32844, 133},
    {kMenuLanguage, false, 32843, 139}, {kMenuLanguage, false, 32846, 141},
    {kMenuView, false, 32775, 151}, {kMenuView, false, 32776, 152},
    {kMenuHelp, true, 2, 170}, {kMenuHelp, true, 4, 180},
    {kMenuHelp, false, 32777, 161}, {kMenuHelp, false, 32778, 165},
    {kMenuHtmlDocumentation, false, 32785, 171}, {kMenuHtmlDocumentation, false, 32786, 172},
    {kMenuOtherProducts, false, 32834, 181}, {kMenuOtherProducts, false, 32835, 182},
    {kMenuOtherProducts, false, 32836, 183}, {kMenuOtherProducts, false, 32837, 184},
    {kMenuOtherProducts, false, 32857, 185},
    {kMenuUpdates, false, 32850, 191},
};

void ApplyMenuTexts(DialogWindow* mainWindow) {
  if (mainWindow == nullptr)
    return;
  // Every drop-down menu is found before anything changes; a missing one leaves its own
  // menus missing too.
  std::array<Menu*, kMainMenuCount> menus{};
  menus[kMenuBar] = mainWindow->GetMenuBar();
  for (const MenuPlace& place : kMenuPlaces) {
    Menu* parent = menus[place.parent];
    menus[place.menu] = parent != nullptr ? parent->GetDropDown(place.position) : nullptr;
  }
  for (const RetitleStep& step : kRetitleSteps) {
    Menu* menu = menus[step.menu];
    if (step.byPosition)
      RetitleMenuPosition(menu, step.positionOrId, step.textIndex);
    else
      RetitleMenuItem(menu, step.positionOrId, step.textIndex);
  }
  if (menus[kMenuBar] != nullptr)
    (void)menus[kMenuBar]->SetRightJustified(kUpdatesPosition);
}

void WriteMenuEntry(TextFile& file, int index) {
  std::string line = std::to_string(kMenuTextFirstId + index);
  line += "  : ";
  line += GetMenuText(index);
  (void)file.WriteText(line.c_str());
}

void WriteMenuSection(TextFile& file) {
  const std::span<const TextRow> rows = EnglishMenuTexts();
  std::size_t next = 0;
  for (const MenuTextGroup& group : MenuTextGroups()) {
    (void)file.WriteText("!");
    (void)file.WriteText(std::string(group.heading).c_str());
    (void)file.WriteText("!");
    for (int i = 0; i < group.rowCount && next < rows.size(); ++i, ++next)
      WriteMenuEntry(file, rows[next].index);
  }
}
