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

// The heading-levels dialog (202): heading rows, then contents rows, each level a label, its
// always-disabled text and its edit button.
static constexpr ControlTemplate kHeadingLevelsControls[] = {
    {2015, CK::CheckBox, 0, "Numbered headings", 0},
    {1029, CK::Label, 0, "Headings at", 0},
    {2028, CK::Edit, kControlNumber, "", 0},
    {1030, CK::Label, 0, "different levels", 0},
    {1410, CK::Group, 0, "Section heading lines", 0},
    {1031, CK::Label, 0, "Level 1", 1410},
    {1035, CK::Edit, 0, "", 1410},
    {1165, CK::Button, 0, "Edit level 1", 1410},
    {1032, CK::Label, 0, "Level 2", 1410},
    {2036, CK::Edit, 0, "", 1410},
    {1166, CK::Button, 0, "Edit level 2", 1410},
    {1033, CK::Label, 0, "Level 3", 1410},
    {1037, CK::Edit, 0, "", 1410},
    {1167, CK::Button, 0, "Edit level 3", 1410},
    {1034, CK::Label, 0, "Level 4", 1410},
    {1038, CK::Edit, 0, "", 1410},
    {9001, CK::Button, 0, "Edit level 4", 1410},
    {1039, CK::Label, 0, "Contents at", 0},
    {1400, CK::Edit, 0, "", 0},
    {1041, CK::Label, 0, "different levels", 0},
    {1411, CK::Group, 0, "Contents lines", 0},
    {1042, CK::Label, 0, "Level 1", 1411},
    {1046, CK::Edit, 0, "", 1411},
    {9002, CK::Button, 0, "Edit level 1", 1411},
    {1043, CK::Label, 0, "Level 2", 1411},
    {1047, CK::Edit, 0, "", 1411},
    {9003, CK::Button, 0, "Edit level 2", 1411},
    {1044, CK::Label, 0, "Level 3", 1411},
    {1048, CK::Edit, 0, "", 1411},
    {9004, CK::Button, 0, "Edit level 3", 1411},
    {1045, CK::Label, 0, "Level 4", 1411},
    {1049, CK::Edit, 0, "", 1411},
    {9005, CK::Button, 0, "Edit level 4", 1411},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {2, CK::Button, kControlButtonRow, "Cancel", 0},
};

// The heading-details dialog (159).
static constexpr ControlTemplate kHeadDetailsControls[] = {
    {1422, CK::Group, 0, "Position of section number on the line", 0},
    {1378, CK::Label, 0, "Indentation on section line", 1422},
    {1153, CK::Edit, kControlNumber, "", 1422},
    {1379, CK::Label, 0, "Prefix word (e.g. Chapter, Section)", 1422},
    {1154, CK::Edit, 0, "", 1422},
    {1423, CK::Group, 0, "Section number formatting", 0},
    {1380, CK::Label, 0, "Numbering type", 1423},
    {1160, CK::Radio, 0, "Numeric", 1423},
    {1161, CK::Radio, 0, "alphabetic", 1423},
    {1162, CK::Radio, 0, "roman numeral", 1423},
    {1163, CK::Radio, 0, "ALPHABETIC", 1423},
    {1164, CK::Radio, 0, "ROMAN NUMERAL", 1423},
    {1381, CK::Label, 0, "Separator character", 1423},
    {1157, CK::Edit, 0, "", 1423},
    {1159, CK::CheckBox, 0, "Do we expect trailing letters?", 1423},
    {1424, CK::Group, 0, "Bracketing", 0},
    {1382, CK::Label, 0, "Leading bracket characters", 1424},
    {1155, CK::Edit, 0, "", 1424},
    {1383, CK::Label, 0, "Trailing bracket characters", 1424},
    {1158, CK::Edit, 0, "", 1424},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {2, CK::Button, kControlButtonRow, "Cancel", 0},
};

static constexpr DialogTemplate kEditorTemplates[] = {
    {kDialogLinkDictEdit, "Link Dictionary Edit", kLinkDictEditControls, 60, 12},
    {kDialogHeadDetails, "Heading details", kHeadDetailsControls},
    {kDialogHeadingLevels, "Heading levels", kHeadingLevelsControls, 60, 0},
};

const DialogTemplate* FindEditorTemplate(int dialogId) {
  for (const DialogTemplate& dialog : kEditorTemplates) {
    if (dialog.id == dialogId)
      return &dialog;
  }
  return nullptr;
}
