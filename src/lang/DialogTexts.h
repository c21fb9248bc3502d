#pragma once

#include <span>

class DialogWindow;

// Putting the dialog-text table onto windows. A null window is a dialog whose window does not
// exist; every operation then does nothing.

// The step list of ApplyDialogTexts: the caption (kCaptionStep) or one control of a dialog
// takes a dialog text.
inline constexpr int kCaptionStep = -1;
struct DialogTextStep {
  int dialogId;
  int controlId;
  int textIndex;
};
// Every dialog's steps, grouped by dialog id in the order they run.
std::span<const DialogTextStep> DialogTextSteps();

// The shared buttons that SetDialogTexts names.
enum SharedButton : int {
  kButtonOk = 1,
  kButtonCancel = 2,
  kButtonHelp = 9,
  kButtonApply = 12321,
};

// Caption of the window from dialog text index. 0 when nothing was done.
int SetDialogCaption(DialogWindow* dialog, int index);
// Control controlId from dialog text index. 0 when the window or the control is missing.
int SetControlText(DialogWindow* dialog, int controlId, int index);
// The caption from dialog text captionIndex, then the buttons OK, Cancel, Help and Apply that
// the window has take the texts 689, 690, 692 and 691. 0 without a window.
int SetDialogTexts(DialogWindow* dialog, int captionIndex);
// The current texts of dialog dialogId onto the window; a step whose control the window lacks
// is skipped, and an id without steps changes nothing.
void ApplyDialogTexts(DialogWindow* dialog, int dialogId);
