#pragma once

#include <span>

#include "platform/DialogTemplate.h"

// The program's dialog templates: one row per control, by resource id. Both window backends
// build from these rows.

enum DialogId : int {
  kDialogAbout = 100,
  kDialogMain = 102,
  kDialogStatus = 132,
  kDialogTips = 233,
};

// Controls of the status window.
enum StatusControl : int {
  kStatusClose = 1,
  kStatusText = 1044,
  kStatusClear = 1058,
  kStatusSave = 1266,
  kStatusAutoClose = 1280,
};

// The templates of the tips dialog and the about box (TipsAboutTemplates.cpp).
std::span<const DialogTemplate> TipsAboutTemplates();

// The template of a dialog id; null for an id without one.
const DialogTemplate* FindDialogTemplate(int dialogId);
