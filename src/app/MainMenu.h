#pragma once

#include <span>

#include "platform/Menu.h"

// The main dialog's menu bar (menu 162): its entries as data, and the entries of other
// products that start-up removes.

// Command ids that the program names; the other items carry theirs in the menu table alone.
enum MainMenuCommand : int {
  kCmdConvert = 32772,
  kCmdLoadPolicyFile = 32779,
  kCmdSavePolicies = 32780,
  kCmdExit = 32784,
  // Output policies of other products.
  kCmdPdfFormatting = 32869,
  kCmdPdfOutput = 32868,
  kCmdPembrelle = 32839,
  kCmdHtmlStyling = 32813,
  kCmdStyleSheets = 32808,
  kCmdOutputLinkDictionary = 32811,
  kCmdOutputTables = 32815,
  kCmdHeadersFooters = 32816,
  kCmdFrames = 32847,
  kCmdContentsList = 32826,
  kCmdDocumentColours = 32806,
  kCmdTitleDescription = 32821,
  // File generation: the one entry this product keeps.
  kCmdFileGenerationGeneral = 32832,
  // The Settings menu's check items.
  kCmdShowToolTips = 32853,
  kCmdShowStatusDialog = 32854,
  kCmdDisplayResults = 32855,
  kCmdRememberSettings = 9020,
  kCmdTipOfTheDay = 9111,
  // The Language menu.
  kCmdEnglish = 32840,
  kCmdGerman = 32841,
  kCmdSpanish = 32842,
  kCmdOtherLanguage = 32843,
  kCmdPortuguese = 32844,
  kCmdLoadLanguage = 32846,
  kCmdItalian = 32848,
  kCmdFrench = 32849,
  kCmdSwedish = 32852,
  kCmdDutch = 9112,
};

// Where the drop-down menus that pruning changes stand.
inline constexpr int kBarConversionPosition = 1;
inline constexpr int kConversionOutputPosition = 2;
inline constexpr int kConversionConfigPosition = 4;
inline constexpr int kOutputFileGenerationPosition = 0;

// The menu before the entries of other products are removed.
std::span<const MenuRow> MainMenuRows();
// Removes what this product does not offer: in Output policies the PDF entries and the
// separator before them, the Pembrelle entry and the separator before it, the HTML entries,
// the contents list and the separator before it, document colours and title; in File
// generation every entry but General; in the configuration files the HTML fragments file.
// A menu that is missing is skipped.
void PruneMainMenu(Menu& bar);
