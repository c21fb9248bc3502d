#pragma once

#include "platform/DialogTemplate.h"

// Templates of the small dialogs that option pages open, one row per control by resource
// id. Both window backends build from these rows.

enum EditorDialogId : int {
  kDialogLinkDictEdit = 231,
  kDialogHeadDetails = 159,
  kDialogHeadingLevels = 202,
};

// Controls of the link dictionary editor.
enum LinkDictEditControl : int {
  kLinkEditSave = 1,
  kLinkEditCancel = 2,
  kLinkEditList = 1100,
  kLinkEditReplacement = 1101,
  kLinkEditUrl = 1102,
  kLinkEditMatch = 1103,
  kLinkEditAdd = 1104,
  kLinkEditRemove = 1105,
  kLinkEditUpdate = 1106,
  kLinkEditMatchLabel = 1439,
  kLinkEditReplacementLabel = 1440,
  kLinkEditUrlLabel = 1441,
  kLinkEditStatus = 1764,
};

// The template of an editor dialog id; null for an id without one.
const DialogTemplate* FindEditorTemplate(int dialogId);
