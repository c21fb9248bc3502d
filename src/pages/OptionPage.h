#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogWindow.h"

class BaseSheet;
class CorePolicy;
class FileControl;
class OptionPage;
struct DialogTemplate;
struct PageDefinition;

// One option page: a page window built from its template, one value per edited control with
// one change flag each, and the protocol every page follows (load the values whose flag is
// clear, save the flagged ones as set explicitly, report each change, enable the sheet's
// Apply as soon as anything changes). What a page edits is a table of PageValue rows, so a
// page is mostly data; a page with more to do derives and overrides.

// How a control's value maps onto its policy.
enum class PageValueKind : std::uint8_t {
  Check,          // check box: the policy's value, 1 checked
  InvertedCheck,  // check box: checked when the policy is 0
  Number,         // numeric edit: the value unchanged
  NumberUnset,    // numeric edit: shows 0 for a value of 0 or below; 0 is saved as -1
  Text,           // text edit: the policy's text
  Radio,          // radio group of `high` buttons from controlId on: the policy's value minus low
  RadioFirstYes,  // radio group of two buttons from controlId on: the first button is Yes
  NumberFloored,  // numeric edit: shows low for a value of low or below; saved unchanged
  Slider,         // slider: the position is the value
  DropList,       // drop-down list: the selection, mapped by the page's list maps
};

// Flags of a PageValue row.
enum PageValueFlag : unsigned {
  kValueUpdatesControls = 1u << 0,  // a change runs UpdateControls
  kValueMarksOnLeave = 1u << 1,     // a text found changed on leaving the page calls EnableApply(1)
  kValueRanged = 1u << 2,           // a number must lie between low and high
  kValueTablePolicy = 1u << 3,      // the key names a policy of the default table policies
};

struct PageValue {
  int controlId;
  // The policy's key; empty for a value the page keeps for itself (or saves in a way of its
  // own).
  std::string_view policyKey;
  PageValueKind kind;
  int low;
  int high;
  unsigned flags;
};

// A page as data: the page class's name, the code it records as the sheet's last page when
// it becomes active, the dialog text of its tab, the dialog id whose texts it takes, its
// template and its values in the order SavePolicies writes them.
class OptionPage;
// Makes the page object of a definition; a definition without one gets a plain OptionPage.
using PageFactory = std::unique_ptr<OptionPage> (*)(const PageDefinition& definition,
                                                   BaseSheet* sheet);

struct PageDefinition {
  std::string_view className;
  int pageCode;
  int tabTextId;
  int textsId;
  const DialogTemplate* dialog;
  std::span<const PageValue> values;
  PageFactory create = nullptr;
};

// The whole text as a decimal integer (blanks around it allowed).
bool ParsePageInteger(const std::string& text, int& value);
// The framework's message for a number field that holds no integer (parsed false) or one
// outside low to high.
std::string NumberFieldMessage(bool parsed, int low, int high);
// The policy a value edits in the set; null for a value without one.
CorePolicy* FindValuePolicy(FileControl& policies, const PageValue& value);

class OptionPage : public DialogEventHandler {
 public:
  // sheet may be null: a page that is never shown.
  OptionPage(const PageDefinition& definition, BaseSheet* sheet);
  ~OptionPage() override = default;
  // Pages are members of their sheet and keep a reference to it.
  OptionPage(const OptionPage&) = delete;
  OptionPage& operator=(const OptionPage&) = delete;

  const PageDefinition& Definition() const { return definition_; }

  // Every value whose change flag is clear from the set (values without a policy keep theirs);
  // with a window, UpdateControls and the controls refreshed.
  virtual void LoadPolicies(FileControl& policies);
  // Every flagged value into its policy, set explicitly and reported to the main dialog. The
  // flags stay set.
  virtual void SavePolicies(FileControl& policies);
  // The page's own step after the sheet's Apply saved the pages.
  virtual void OnApply() {}
  // Enables and disables the controls that depend on others; nothing without a window.
  virtual void UpdateControls() {}
  // The page's control texts and tooltip texts in the current language; nothing without a
  // window.
  virtual void SetLanguage();
  // The page's tooltips registered with their texts (on) or removed; nothing without a
  // window.
  virtual void EnableTooltips(int on);
  virtual void ResetChangeFlags();

  // The page's window while the sheet window exists (null detaches). Attaching puts the
  // values on the controls.
  virtual void Attach(DialogWindow* window);
  DialogWindow* GetWindow() { return window_; }
  // Values onto the controls, and back. TakeFromControls refuses a number that is no number
  // or out of its range with a message, keeps the value it had and returns false.
  virtual void PutToControls();
  virtual bool TakeFromControls();

  // The page is leaving the activation (another tab, OK, Apply): the changed texts are
  // flagged, then the values are checked. false keeps the page active.
  virtual bool Deactivate();
  virtual void Activate();

  // Values by control id (0 or an empty text for an id the page has no value for).
  int GetNumber(int controlId) const;
  std::string GetString(int controlId) const;
  int IsChanged(int controlId) const;
  // Sets a value from outside (a mirrored value of another page), marking it changed.
  void SetFromOutside(int controlId, int number);

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 protected:
  // Index of the value of a control (a radio group answers for each of its buttons); -1.
  int FindValue(int controlId) const;
  void EnableApply(int markModified);
  // The main dialog's "Show tool tips" setting; false for a page without a sheet.
  bool AreToolTipsShown();
  void MarkChanged(int index) { changed_[static_cast<std::size_t>(index)] = 1; }
  // Value index into its policy when its change flag is set, reported to the main dialog.
  void SaveValue(FileControl& policies, std::size_t index);
  // The list maps of DropList values: list index from a policy value, and back.
  virtual int ListIndexFromValue(int controlId, int value) const;
  virtual int ValueFromListIndex(int controlId, int index) const;
  BaseSheet* Sheet() { return sheet_; }

  const PageDefinition& definition_;
  BaseSheet* sheet_;
  DialogWindow* window_ = nullptr;
  std::vector<int> numbers_;
  std::vector<std::string> texts_;
  std::vector<int> changed_;
};
