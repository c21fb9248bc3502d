#include "lang/DialogTexts.h"

#include "lang/InterfaceTexts.h"
#include "platform/DialogWindow.h"

// Dialog texts of the shared buttons.
enum SharedButtonText : int {
  kTextOk = 689,
  kTextCancel = 690,
  kTextApply = 691,
  kTextHelp = 692,
};

int SetDialogCaption(DialogWindow* dialog, int index) {
  if (dialog == nullptr)
    return 0;
  dialog->SetTitle(GetDialogText(index));
  return 1;
}

int SetControlText(DialogWindow* dialog, int controlId, int index) {
  if (dialog == nullptr || !dialog->HasControl(controlId))
    return 0;
  dialog->SetText(controlId, GetDialogText(index));
  return 1;
}

int SetDialogTexts(DialogWindow* dialog, int captionIndex) {
  if (dialog == nullptr)
    return 0;
  SetDialogCaption(dialog, captionIndex);
  SetControlText(dialog, kButtonOk, kTextOk);
  SetControlText(dialog, kButtonCancel, kTextCancel);
  SetControlText(dialog, kButtonHelp, kTextHelp);
  SetControlText(dialog, kButtonApply, kTextApply);
  return 1;
}

void ApplyDialogTexts(DialogWindow* dialog, int dialogId) {
  if (dialog == nullptr)
    return;
  for (const DialogTextStep& step : DialogTextSteps()) {
    if (step.dialogId != dialogId)
      continue;
    if (step.controlId == kCaptionStep)
      SetDialogCaption(dialog, step.textIndex);
    else
      SetControlText(dialog, step.controlId, step.textIndex);
  }
}
