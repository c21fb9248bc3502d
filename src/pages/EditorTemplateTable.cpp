#include "pages/EditorTemplates.h"

using CK = ControlKind;

// The resource texts; the dialog texts of the interface language replace them when shown.
static constexpr ControlTemplate kLinkDictEditControls[] = {
    {kLinkEditList, CK::ListBox, 0, "", 0},
    {kLinkEditMatchLabel, CK::Label, 0, "Text to be matched", 0},
    {kLinkEditMatch, CK::Edit, 0, "", 0},
    {kLinkEditReplacementLabel, CK::Label, 0, "Replacement text", 0},
    {kLinkEditReplacement, CK::Edit, 0, "", 0},
    {kLinkEditUrlLabel, CK::Label, 0, "URL del enalce", 0},
    {kLinkEditUrl, CK::Edit, 0, "", 0},
    {kLinkEditStatus, CK::Label, 0, "Static", 0},
    {kLinkEditAdd, CK::Button, kControlButtonRow, "Add new link", 0},
    {kLinkEditUpdate, CK::Button, kControlButtonRow, "Update Link", 0},
    {kLinkEditRemove, CK::Button, kControlButtonRow, "Remove Link", 0},
    {kLinkEditCancel, CK::Button, kControlButtonRow, "Cancel", 0},
    {kLinkEditSave, CK::Button, kControlButtonRow | kControlDefault, "Save", 0},
};

static constexpr DialogTemplate kEditorTemplates[] = {
    {kDialogLinkDictEdit, "Link Dictionary Edit", kLinkDictEditControls, 60, 12},
};

const DialogTemplate* FindEditorTemplate(int dialogId) {
  for (const DialogTemplate& dialog : kEditorTemplates) {
    if (dialog.id == dialogId)
      return &dialog;
  }
  return nullptr;
}
