#include "pages/OptionPage.h"

#include <charconv>

#include "lang/DialogTexts.h"
#include "lang/ToolTips.h"
#include "pages/BaseSheet.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"

static bool IsNumberKind(PageValueKind kind) {
  return kind == PageValueKind::Number || kind == PageValueKind::NumberUnset ||
         kind == PageValueKind::NumberFloored;
}

static bool IsClickKind(PageValueKind kind) {
  return kind == PageValueKind::Check || kind == PageValueKind::InvertedCheck ||
         kind == PageValueKind::Radio || kind == PageValueKind::RadioFirstYes;
}

static bool IsRadioKind(PageValueKind kind) {
  return kind == PageValueKind::Radio || kind == PageValueKind::RadioFirstYes;
}

// Buttons of a radio group value.
static int RadioButtons(const PageValue& value) {
  return value.kind == PageValueKind::RadioFirstYes ? 2 : value.high;
}

bool ParsePageInteger(const std::string& text, int& value) {
  std::size_t begin = text.find_first_not_of(" \t");
  std::size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos)
    return false;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  if (*first == '+')
    ++first;
  const auto [at, error] = std::from_chars(first, last, value);
  return error == std::errc() && at == last;
}

std::string NumberFieldMessage(bool parsed, int low, int high) {
  if (!parsed)
    return "Please enter an integer.";
  return "Please enter an integer between " + std::to_string(low) + " and " +
         std::to_string(high) + ".";
}

static const TablePolicyRow* FindTablePolicyRow(std::string_view key) {
  for (const TablePolicyRow& row : TablePolicyRows()) {
    if (row.key == key)
      return &row;
  }
  return nullptr;
}

CorePolicy* FindValuePolicy(FileControl& policies, const PageValue& value) {
  if (value.policyKey.empty())
    return nullptr;
  if (value.flags & kValueTablePolicy) {
    TableAnalysisPolicies* table = policies.pGetDefaultTablePolicies();
    const TablePolicyRow* row = FindTablePolicyRow(value.policyKey);
    return table != nullptr && row != nullptr ? &table->GetPolicy(row->id) : nullptr;
  }
  const PolicyRow* row = FindPolicyRow(value.policyKey);
  return row != nullptr ? &policies.Policy(row->id) : nullptr;
}

OptionPage::OptionPage(const PageDefinition& definition, BaseSheet* sheet)
    : definition_(definition), sheet_(sheet), numbers_(definition.values.size(), 0),
      texts_(definition.values.size()), changed_(definition.values.size(), 0) {
  for (std::size_t i = 0; i < definition.values.size(); ++i) {
    // A radio group starts with no button selected.
    if (IsRadioKind(definition.values[i].kind) || definition.values[i].kind == PageValueKind::DropList)
      numbers_[i] = -1;
  }
}

int OptionPage::FindValue(int controlId) const {
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    const PageValue& value = definition_.values[i];
    if (value.controlId == controlId)
      return static_cast<int>(i);
    if (IsRadioKind(value.kind) && controlId > value.controlId &&
        controlId < value.controlId + RadioButtons(value))
      return static_cast<int>(i);
  }
  return -1;
}

int OptionPage::GetNumber(int controlId) const {
  const int index = FindValue(controlId);
  return index < 0 ? 0 : numbers_[static_cast<std::size_t>(index)];
}

std::string OptionPage::GetString(int controlId) const {
  const int index = FindValue(controlId);
  return index < 0 ? std::string() : texts_[static_cast<std::size_t>(index)];
}

int OptionPage::IsChanged(int controlId) const {
  const int index = FindValue(controlId);
  return index < 0 ? 0 : changed_[static_cast<std::size_t>(index)];
}

void OptionPage::SetFromOutside(int controlId, int number) {
  const int index = FindValue(controlId);
  if (index < 0)
    return;
  numbers_[static_cast<std::size_t>(index)] = number;
  MarkChanged(index);
  UpdateControls();
  PutToControls();
}

void OptionPage::ResetChangeFlags() { std::fill(changed_.begin(), changed_.end(), 0); }

void OptionPage::EnableApply(int markModified) {
  if (sheet_ != nullptr)
    sheet_->EnableApply(markModified);
}

int OptionPage::ListIndexFromValue(int /*controlId*/, int value) const { return value; }
int OptionPage::ValueFromListIndex(int /*controlId*/, int index) const { return index; }

void OptionPage::LoadPolicies(FileControl& policies) {
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    const PageValue& value = definition_.values[i];
    if (changed_[i])
      continue;
    const CorePolicy* policy = FindValuePolicy(policies, value);
    if (policy == nullptr)
      continue;
    if (value.kind == PageValueKind::Text) {
      texts_[i] = static_cast<const TextValuePolicy*>(policy)->value.GetText();
      continue;
    }
    const int policyValue = static_cast<const ScalarPolicy*>(policy)->value;
    switch (value.kind) {
      case PageValueKind::Check: numbers_[i] = policyValue != 0 ? 1 : 0; break;
      case PageValueKind::InvertedCheck: numbers_[i] = policyValue != 0 ? 0 : 1; break;
      case PageValueKind::Number: numbers_[i] = policyValue; break;
      case PageValueKind::NumberUnset: numbers_[i] = policyValue > 0 ? policyValue : 0; break;
      case PageValueKind::NumberFloored:
        numbers_[i] = policyValue > value.low ? policyValue : value.low;
        break;
      case PageValueKind::Radio: numbers_[i] = policyValue - value.low; break;
      case PageValueKind::RadioFirstYes: numbers_[i] = policyValue != 0 ? 0 : 1; break;
      case PageValueKind::Slider: numbers_[i] = policyValue; break;
      case PageValueKind::DropList:
        numbers_[i] = ListIndexFromValue(value.controlId, policyValue);
        break;
      case PageValueKind::Text: break;
    }
  }
  if (window_ == nullptr)
    return;
  UpdateControls();
  PutToControls();
}

void OptionPage::SaveValue(FileControl& policies, std::size_t index) {
  const PageValue& value = definition_.values[index];
  if (!changed_[index])
    return;
  CorePolicy* policy = FindValuePolicy(policies, value);
  if (policy == nullptr)
    return;
  if (value.kind == PageValueKind::Text) {
    static_cast<TextValuePolicy*>(policy)->value = texts_[index].c_str();
  } else {
    int number = numbers_[index];
    switch (value.kind) {
      case PageValueKind::Check: break;
      case PageValueKind::InvertedCheck: number = number != 0 ? 0 : 1; break;
      case PageValueKind::Number: break;
      case PageValueKind::NumberUnset: number = number == 0 ? -1 : number; break;
      case PageValueKind::NumberFloored: break;
      case PageValueKind::Radio: number += value.low; break;
      case PageValueKind::RadioFirstYes: number = number == 0 ? 1 : 0; break;
      case PageValueKind::Slider: break;
      case PageValueKind::DropList: number = ValueFromListIndex(value.controlId, number); break;
      case PageValueKind::Text: break;
    }
    static_cast<ScalarPolicy*>(policy)->value = number;
  }
  policy->set = 1;
  if (sheet_ == nullptr)
    return;
  // A table policy is no policy of the set's own: its change is noted by its category.
  if (value.flags & kValueTablePolicy)
    (void)sheet_->GetHost().NotePolicyChange(policy->category);
  else
    sheet_->GetHost().OnPolicyChanged(*policy);
}

void OptionPage::SavePolicies(FileControl& policies) {
  for (std::size_t i = 0; i < definition_.values.size(); ++i)
    SaveValue(policies, i);
}

bool OptionPage::AreToolTipsShown() {
  return sheet_ != nullptr && sheet_->GetHost().AreToolTipsShown() != 0;
}

void OptionPage::SetLanguage() {
  if (window_ == nullptr)
    return;
  // The control texts and the tooltips' texts of the language.
  SetDialogToolTips(kToolTipSetTexts, window_, definition_.textsId, AreToolTipsShown());
}

void OptionPage::EnableTooltips(int on) {
  if (window_ == nullptr)
    return;
  SetDialogToolTips(on ? kToolTipSetTexts : kToolTipRemove, window_, definition_.textsId,
                    on != 0);
}

void OptionPage::Attach(DialogWindow* window) {
  window_ = window;
  if (window_ == nullptr)
    return;
  window_->SetEventHandler(this);
  PutToControls();
  UpdateControls();
}

void OptionPage::PutToControls() {
  if (window_ == nullptr)
    return;
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    const PageValue& value = definition_.values[i];
    const int number = numbers_[i];
    switch (value.kind) {
      case PageValueKind::Check:
      case PageValueKind::InvertedCheck:
        window_->SetCheck(value.controlId, number);
        break;
      case PageValueKind::Number:
      case PageValueKind::NumberUnset:
      case PageValueKind::NumberFloored:
        window_->SetText(value.controlId, std::to_string(number));
        break;
      case PageValueKind::Text:
        window_->SetText(value.controlId, texts_[i]);
        break;
      case PageValueKind::Radio:
      case PageValueKind::RadioFirstYes:
        for (int button = 0; button < RadioButtons(value); ++button)
          window_->SetCheck(value.controlId + button, button == number ? 1 : 0);
        break;
      case PageValueKind::Slider:
        window_->SetValue(value.controlId, number);
        break;
      case PageValueKind::DropList:
        // An index the list does not hold (an unfilled list) selects nothing.
        window_->SetSelection(value.controlId,
                              number < window_->GetItemCount(value.controlId) ? number : -1);
        break;
    }
  }
}

bool OptionPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    const PageValue& value = definition_.values[i];
    switch (value.kind) {
      case PageValueKind::Check:
      case PageValueKind::InvertedCheck:
        numbers_[i] = window_->GetCheck(value.controlId) != 0 ? 1 : 0;
        break;
      case PageValueKind::Text:
        texts_[i] = window_->GetText(value.controlId);
        break;
      case PageValueKind::Radio:
      case PageValueKind::RadioFirstYes:
        numbers_[i] = -1;
        for (int button = 0; button < RadioButtons(value); ++button) {
          if (window_->GetCheck(value.controlId + button))
            numbers_[i] = button;
        }
        break;
      case PageValueKind::Slider:
        // A slider's position is taken by its own scroll handling, which compares it.
        break;
      case PageValueKind::DropList:
        numbers_[i] = window_->GetSelection(value.controlId);
        break;
      case PageValueKind::Number:
      case PageValueKind::NumberUnset:
      case PageValueKind::NumberFloored: {
        int number = 0;
        const bool parsed = ParsePageInteger(window_->GetText(value.controlId), number);
        const bool ranged = (value.flags & kValueRanged) != 0;
        if (parsed && (!ranged || (number >= value.low && number <= value.high))) {
          numbers_[i] = number;
          break;
        }
        const std::string text = NumberFieldMessage(parsed, value.low, value.high);
        if (sheet_ != nullptr) {
          (void)sheet_->GetHost().GetPlatform().ShowMessageBox(
              text, sheet_->GetCaption(), MessageIcon::Warning, MessageButtons::Ok);
        }
        window_->SetFocus(value.controlId);
        return false;
      }
    }
  }
  return true;
}

void OptionPage::Activate() {
  if (sheet_ != nullptr)
    sheet_->SetLastPageCode(definition_.pageCode);
  UpdateControls();
  // The first activation of each page window: a sheet window made again after OK or Cancel
  // has new page windows, which need their tooltips as the first ones did.
  if (window_ == nullptr || window_->HasToolTipControl())
    return;
  window_->CreateToolTipControl();
  if (!AreToolTipsShown())
    return;
  SetDialogToolTips(kToolTipAdd, window_, definition_.textsId, true);
  SetDialogToolTips(kToolTipSetTexts, window_, definition_.textsId, true);
}

bool OptionPage::Deactivate() {
  std::vector<std::string> remembered = texts_;
  const bool valid = TakeFromControls();
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    const PageValue& value = definition_.values[i];
    if (value.kind != PageValueKind::Text || texts_[i] == remembered[i])
      continue;
    changed_[i] = 1;
    if (value.flags & kValueMarksOnLeave)
      EnableApply(1);
  }
  return valid;
}

bool OptionPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::PageActivate) {
    Activate();
    return true;
  }
  if (event == DialogEvent::PageDeactivate)
    return Deactivate();
  const int index = FindValue(controlId);
  if (index < 0)
    return true;
  const PageValue& value = definition_.values[static_cast<std::size_t>(index)];
  const bool updates = (value.flags & kValueUpdatesControls) != 0;
  if (event == DialogEvent::Click && IsClickKind(value.kind)) {
    MarkChanged(index);
    EnableApply(1);
    (void)TakeFromControls();
    if (updates)
      UpdateControls();
    return true;
  }
  if (event == DialogEvent::Scroll && value.kind == PageValueKind::Slider && window_ != nullptr) {
    // Only a position other than the one held is a change: a slider moved and put back
    // changes nothing.
    const int position = window_->GetValue(controlId);
    if (position != numbers_[static_cast<std::size_t>(index)]) {
      numbers_[static_cast<std::size_t>(index)] = position;
      MarkChanged(index);
      EnableApply(1);
    }
    return true;
  }
  if (event == DialogEvent::SelectionChange && value.kind == PageValueKind::DropList) {
    MarkChanged(index);
    EnableApply(1);
    (void)TakeFromControls();
    return true;
  }
  if (event == DialogEvent::EditChange && value.kind == PageValueKind::Text) {
    MarkChanged(index);
    EnableApply(1);
    (void)TakeFromControls();
    return true;
  }
  if (event == DialogEvent::EditChange && IsNumberKind(value.kind)) {
    // Apply becomes possible; only the loss of the focus marks the sheet modified.
    MarkChanged(index);
    EnableApply(0);
    return true;
  }
  if (event == DialogEvent::KillFocus && IsNumberKind(value.kind)) {
    const int before = numbers_[static_cast<std::size_t>(index)];
    if (!TakeFromControls())
      return true;
    if (numbers_[static_cast<std::size_t>(index)] != before) {
      MarkChanged(index);
      EnableApply(1);
      UpdateControls();
    }
  }
  return true;
}
