#pragma once

#include "platform/DialogTemplate.h"

// The program's dialog templates: one row per control, by resource id. Both window backends
// build from these rows.

enum DialogId : int {
  kDialogMain = 102,
  kDialogStatus = 132,
};

// Controls of the status window.
enum StatusControl : int {
  kStatusClose = 1,
  kStatusText = 1044,
  kStatusClear = 1058,
  kStatusSave = 1266,
  kStatusAutoClose = 1280,
};

// The template of a dialog id; null for an id without one.
const DialogTemplate* FindDialogTemplate(int dialogId);
