#pragma once

#include <string>

#include "platform/DialogWindow.h"

struct DialogTemplate;

// The buttons of a property sheet's closing row, as controls of the sheet window.
enum SheetButton : int {
  kSheetOk = 1,
  kSheetCancel = 2,
  kSheetApply = 12321,
};

// A dialog with tabs: each tab holds a page window built from a template, and the closing row
// holds the buttons of the sheet's own template (OK, Cancel, Apply). The sheet's handler gets
// the clicks of those buttons and its close request; each page's handler gets the events of
// its controls and its PageActivate and PageDeactivate (a false answer to PageDeactivate
// keeps the page active).
//
// Ordering: whatever the user does to leave a page or press a button of the closing row, the
// control that had the focus gets its KillFocus first.
class PropertySheetWindow : public DialogWindow {
 public:
  // Adds a tab at the end holding a page built from the template; the page window belongs to
  // the sheet window and lives as long as it.
  virtual DialogWindow& AddPage(const DialogTemplate& page, const std::string& caption) = 0;
  virtual int GetPageCount() const = 0;
  // Null for an index outside the tabs.
  virtual DialogWindow* GetPage(int index) = 0;
  virtual std::string GetPageCaption(int index) const = 0;
  virtual void SetPageCaption(int index, const std::string& caption) = 0;
  // -1 while no tab was made active.
  virtual int GetActivePage() const = 0;
  // Makes tab index active: the active page gets PageDeactivate first and, when it vetoes,
  // stays active; then the new page gets PageActivate. true when index is active afterwards.
  virtual bool SetActivePage(int index) = 0;
};
