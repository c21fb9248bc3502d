#include "pages/HeadingPage.h"

#include <algorithm>

#include "pages/BaseSheet.h"
#include "pages/HeadingDialogs.h"
#include "pages/SheetHost.h"
#include "policy/FileControl.h"

void HeadingPage::LoadPolicies(FileControl& policies) {
  policies_ = &policies;
  OptionPage::LoadPolicies(policies);
  secondWord_ = policies.GetInt(PolicyId::ExpectSecondWordHeadings);
  const FileControl::RecognisedHeadings& headings = policies.GetRecognisedHeadings();
  levels_.levels = headings.count;
  for (int i = 0; i < HeadingLevelValues::kLevels; ++i) {
    std::string& text = levels_.headings[static_cast<std::size_t>(i)];
    text.clear();
    if (i + 1 > headings.count)
      continue;
    TextString form;
    (void)headings.headings[i].Format(i, form);
    text = form.GetText();
  }
  PutToControls();
}

void HeadingPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  if (!levels_.levelTextsChanged && !levels_.levelCountChanged)
    return;
  FileControl::RecognisedHeadings& headings = policies.GetRecognisedHeadings();
  headings.setExplicitly = 1;
  BoolPolicy& secondWord = policies.Bool(PolicyId::ExpectSecondWordHeadings);
  secondWord.value = secondWord_;
  secondWord.set = 1;
  headings.count = levels_.levels;
  const int parsed = std::min(headings.count, HeadingLevelValues::kLevels);
  for (int i = 0; i < parsed; ++i) {
    const TextString text(levels_.headings[static_cast<std::size_t>(i)].c_str());
    // A text not understood keeps what was read of it: the dialog shows the same.
    (void)headings.headings[i].Parse(i, text);
  }
  if (sheet_ != nullptr)
    sheet_->GetHost().OnPolicyChanged(secondWord);
}

void HeadingPage::OpenHeadingLevels() {
  if (sheet_ == nullptr || HeadingLevels::IsOpen())
    return;
  HeadingLevelValues given = levels_;
  given.numbered = GetNumber(kHeadingNumbered);
  given.numberedChanged = IsChanged(kHeadingNumbered);
  HeadingLevels dialog(*sheet_, policies_, given);
  if (dialog.DoModal(window_) != 1)
    return;
  levels_ = dialog.Values();
  const int numbered = FindValue(kHeadingNumbered);
  numbers_[static_cast<std::size_t>(numbered)] = levels_.numbered;
  changed_[static_cast<std::size_t>(numbered)] = levels_.numberedChanged;
  PutToControls();
}

bool HeadingPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId == kHeadingAdvanced && event == DialogEvent::Click) {
    OpenHeadingLevels();
    return true;
  }
  return OptionPage::OnDialogEvent(controlId, event);
}
