#pragma once

#include <memory>

#include "pages/EditorTemplates.h"
#include "pages/HeadingPage.h"
#include "platform/DialogWindow.h"

class BaseSheet;
class FileControl;
class HeadDetails;

// The modal heading-levels dialog over a copy of the page's heading-level values. One is open
// at a time in the program.
class HeadingLevels : public DialogEventHandler {
 public:
  HeadingLevels(BaseSheet& sheet, FileControl* policies, const HeadingLevelValues& values);
  ~HeadingLevels() override;
  // Owns its window, which points back to it.
  HeadingLevels(const HeadingLevels&) = delete;
  HeadingLevels& operator=(const HeadingLevels&) = delete;

  // Shows the dialog modally over parent; 1 for OK (the values are then those to keep).
  int DoModal(DialogWindow* parent);
  const HeadingLevelValues& Values() const { return values_; }
  // Whether a heading-levels dialog is open anywhere in the program.
  static bool IsOpen();

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void UpdateControls();
  void PutToControls();
  // Takes the texts and the switch; the level count only when it is an integer.
  void TakeFromControls();
  // The level count checked against 0 to 6 with the framework's message; false refuses.
  bool TakeLevelCount();
  void EditLevel(int level, bool contents);

  BaseSheet& sheet_;
  FileControl* policies_;
  HeadingLevelValues values_;
  std::unique_ptr<DialogWindow> window_;
};

// The modal heading-details dialog: edits one HeadDetails field by field.
class HeadDtlsDialog : public DialogEventHandler {
 public:
  HeadDtlsDialog(HeadDetails& details, BaseSheet& sheet);
  ~HeadDtlsDialog() override;
  HeadDtlsDialog(const HeadDtlsDialog&) = delete;
  HeadDtlsDialog& operator=(const HeadDtlsDialog&) = delete;

  // 1 for OK: the details then hold the dialog's fields.
  int DoModal(DialogWindow* parent);
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void TakeFromControls();

  HeadDetails& details_;
  BaseSheet& sheet_;
  std::unique_ptr<DialogWindow> window_;
};
