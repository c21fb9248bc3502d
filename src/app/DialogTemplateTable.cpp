#include "app/DialogTemplates.h"

#include "app/LanguageDialogs.h"
#include "app/PolicyFileDialogs.h"

#include <iterator>

using CK = ControlKind;

static constexpr ControlTemplate kStatusControls[] = {
    {kStatusText, CK::MultiLineEdit, 0, "", 0},
    {kStatusAutoClose, CK::CheckBox, 0, "Close automatically on completion", 0},
    {kStatusSave, CK::Button, kControlButtonRow, "Save to file", 0},
    {kStatusClear, CK::Button, kControlButtonRow, "Clear", 0},
    {kStatusClose, CK::Button, kControlButtonRow | kControlDefault, "Close", 0},
};

static constexpr ControlTemplate kMainControls[] = {
    {9101, CK::Group, 0, "Input", 0},
    {1349, CK::Label, 0, "File(s) to convert", 9101},
    {1122, CK::ComboEdit, kControlEditable, "", 9101},
    {1001, CK::Button, 0, "Browse...", 9101},
    {9007, CK::CheckBox, 0, "Search sub-folders", 9101},
    {1005, CK::Label, 0, "Input File type", 9101},
    {9104, CK::DropList, 0, "", 9101},
    {1620, CK::Label, kControlHidden, "Delimiter", 9101},
    {9108, CK::Edit, kControlHidden, "", 9101},
    {9102, CK::Group, 0, "Conversion", 0},
    {1589, CK::Label, 0, "Conversion Type", 9102},
    {1590, CK::DropList, 0, "", 9102},
    {9103, CK::Group, 0, "Output", 0},
    {1350, CK::Label, 0, "Output filename", 9103},
    {1080, CK::Edit, 0, "", 9103},
    {1077, CK::Radio, kControlHidden, ".html", 9103},
    {1078, CK::Radio, kControlHidden, ".htm", 9103},
    {1352, CK::Group, 0, "Output Directory", 0},
    {9110, CK::CheckBox, 0, "Use the source directories", 1352},
    {1012, CK::ComboEdit, kControlEditable, "", 1352},
    {1291, CK::Button, 0, "...", 1352},
    {9109, CK::CheckBox, 0, "Keep tree structure found in source folders", 1352},
    {1508, CK::Group, 0, "Policy files", 0},
    {1507, CK::Label, 0, "Load policy file", 1508},
    {1505, CK::ComboEdit, kControlEditable, "", 1508},
    {1506, CK::Button, 0, "...", 1508},
    {1520, CK::Button, 0, "Reset", 1508},
    {1016, CK::CheckBox, 0, "Perform simple conversion", 0},
    {9100, CK::CheckBox, 0, "May overwrite existing files", 0},
    {1015, CK::Button, kControlButtonRow | kControlDefault, "Convert File(s)...", 0},
    {1198, CK::Button, kControlButtonRow, "View Results...", 0},
};

static constexpr DialogTemplate kTemplates[] = {
    {kDialogMain, "Kelvane", kMainControls, 0, 0},
    {kDialogStatus, "Status window", kStatusControls, 80, 20},
};

const DialogTemplate* FindDialogTemplate(int dialogId) {
  const std::span<const DialogTemplate> tables[] = {kTemplates, TipsAboutTemplates(),
                                                    LanguageTemplates(), PolicyFileTemplates()};
  for (const std::span<const DialogTemplate> table : tables) {
    for (const DialogTemplate& dialog : table) {
      if (dialog.id == dialogId)
        return &dialog;
    }
  }
  return nullptr;
}
