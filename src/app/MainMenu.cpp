#include "app/MainMenu.h"

// Removes the item and the separator just before it.
static void RemoveWithSeparatorBefore(Menu& menu, int commandId) {
  const int position = FindCommandPosition(menu, commandId);
  if (position < 0)
    return;
  MenuEntryKind kind = MenuEntryKind::Item;
  if (position > 0 && menu.GetEntryKind(position - 1, kind) && kind == MenuEntryKind::Separator)
    (void)menu.RemoveEntry(position - 1);
  (void)menu.RemoveCommand(commandId);
}

void PruneMainMenu(Menu& bar) {
  Menu* conversion = bar.GetDropDown(kBarConversionPosition);
  if (conversion == nullptr)
    return;
  // Both found before either changes: removing entries of one shifts no position of the
  // conversion menu itself.
  Menu* output = conversion->GetDropDown(kConversionOutputPosition);
  Menu* config = conversion->GetDropDown(kConversionConfigPosition);
  if (output != nullptr) {
    RemoveWithSeparatorBefore(*output, kCmdPdfFormatting);
    (void)output->RemoveCommand(kCmdPdfOutput);
    RemoveWithSeparatorBefore(*output, kCmdPembrelle);
    for (int id : {kCmdHtmlStyling, kCmdStyleSheets, kCmdOutputLinkDictionary, kCmdOutputTables,
                   kCmdHeadersFooters, kCmdFrames})
      (void)output->RemoveCommand(id);
    RemoveWithSeparatorBefore(*output, kCmdContentsList);
    (void)output->RemoveCommand(kCmdDocumentColours);
    (void)output->RemoveCommand(kCmdTitleDescription);
    if (Menu* generation = output->GetDropDown(kOutputFileGenerationPosition)) {
      for (int position = generation->GetEntryCount() - 1; position >= 0; --position) {
        if (generation->GetEntryId(position) != kCmdFileGenerationGeneral)
          (void)generation->RemoveEntry(position);
      }
    }
  }
  if (config != nullptr)
    (void)config->RemoveEntry(0);
}
