#include "lang/ToolTips.h"

#include <string>

#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "platform/DialogWindow.h"
#include "text/TextFile.h"

static bool HasControlWindow(const DialogWindow* dialog, int controlId) {
  return dialog != nullptr && dialog->HasControl(controlId);
}

void AddControlTool(DialogWindow* dialog, int controlId) {
  if (HasControlWindow(dialog, controlId))
    dialog->AddTool(controlId);
}

void UpdateControlTool(DialogWindow* dialog, int controlId) {
  if (!HasControlWindow(dialog, controlId) || !dialog->HasToolTipControl())
    return;
  if (dialog->HasTool(controlId))
    dialog->SetToolText(controlId, GetToolTipText(controlId));
}

void RemoveControlTool(DialogWindow* dialog, int controlId) {
  if (!HasControlWindow(dialog, controlId) || !dialog->HasToolTipControl())
    return;
  if (dialog->HasTool(controlId))
    dialog->RemoveTool(controlId);
}

void ApplyControlTool(int mode, DialogWindow* dialog, int controlId) {
  switch (mode) {
    case kToolTipAdd: AddControlTool(dialog, controlId); return;
    case kToolTipSetTexts: UpdateControlTool(dialog, controlId); return;
    case kToolTipRemove: RemoveControlTool(dialog, controlId); return;
    default: return;
  }
}

void SetDialogToolTips(int mode, DialogWindow* dialog, int dialogId, bool showToolTips) {
  if (dialog == nullptr)
    return;
  if (mode == kToolTipSetTexts) {
    // Every tool must exist before its text is set; with tooltips switched off there are
    // none to set, and none are made.
    if (showToolTips && dialog->HasToolTipControl() && dialog->ToolCount() == 0)
      SetDialogToolTips(kToolTipAdd, dialog, dialogId, showToolTips);
    ApplyDialogTexts(dialog, dialogId);
  }
  for (const ToolTipRegistration& row : ToolTipRegistrations()) {
    if (row.dialogId == dialogId)
      ApplyControlTool(mode, dialog, row.controlId);
  }
}

const char* GetToolTipText(int controlId) {
  if (ToolTipTexts().GetLanguage() < kLanguageOther)
    SelectToolTipLanguage(kLanguageEnglish);
  for (const ToolTipRegistration& row : ToolTipRegistrations()) {
    if (row.controlId == controlId)
      return ToolTipTexts().Get(row.textId - kToolTipTextFirstId);
  }
  return kNoToolTipText;
}

void SetToolTipEntry(int id, std::string_view text) {
  const int index = id - kToolTipTextFirstId;
  if (index < 0 || index >= kToolTipTextCount)
    return;
  ToolTipTexts().Set(index, text);
}

void WriteToolTipEntry(TextFile& file, int index) {
  std::string line = std::to_string(kToolTipTextFirstId + index);
  line += "  : ";
  line += ToolTipTexts().Get(index);
  file.WriteText(line.c_str());
}

void WriteToolTipSection(TextFile& file) {
  for (const ToolTipSectionLine& line : ToolTipSection()) {
    if (line.id != 0) {
      WriteToolTipEntry(file, line.id - kToolTipTextFirstId);
      continue;
    }
    const std::string heading(line.heading);
    file.WriteText("!");
    file.WriteText(heading.c_str());
    file.WriteText("!");
  }
}
