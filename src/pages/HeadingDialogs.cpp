#include "pages/HeadingDialogs.h"

#include "lang/DialogTexts.h"
#include "pages/BaseSheet.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "policy/FileControl.h"
#include "policy/HeadDetails.h"

// ---- HeadingLevels ----

enum : int {
  kLevelsOk = 1,
  kLevelsCancel = 2,
  kLevelsNumbered = 2015,
  kLevelsCount = 2028,
  kLevelsContentsCount = 1400,
  kLevelsMaximum = FileControl::kHeadingLevels,
};

// One level's controls in both lists: its label, its text and its edit button.
struct LevelRow {
  int label;
  int text;
  int button;
};
static constexpr LevelRow kHeadingRows[HeadingLevelValues::kLevels] = {
    {1031, 1035, 1165}, {1032, 2036, 1166}, {1033, 1037, 1167}, {1034, 1038, 9001}};
static constexpr LevelRow kContentsRows[HeadingLevelValues::kLevels] = {
    {1042, 1046, 9002}, {1043, 1047, 9003}, {1044, 1048, 9004}, {1045, 1049, 9005}};

// The program-wide mark of an open heading-levels dialog.
static bool gHeadingLevelsOpen = false;

HeadingLevels::HeadingLevels(BaseSheet& sheet, FileControl* policies,
                             const HeadingLevelValues& values)
    : sheet_(sheet), policies_(policies), values_(values) {}

HeadingLevels::~HeadingLevels() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

bool HeadingLevels::IsOpen() { return gHeadingLevelsOpen; }

int HeadingLevels::DoModal(DialogWindow* parent) {
  window_ = sheet_.GetHost().GetPlatform().CreateDialog(*FindEditorTemplate(kDialogHeadingLevels),
                                                         parent);
  window_->SetEventHandler(this);
  ApplyDialogTexts(window_.get(), kDialogHeadingLevels);
  UpdateControls();
  PutToControls();
  gHeadingLevelsOpen = true;
  const int result = window_->RunModal();
  gHeadingLevelsOpen = false;
  window_->SetEventHandler(nullptr);
  return result;
}

void HeadingLevels::UpdateControls() {
  const bool numbered = values_.numbered != 0;
  window_->Enable(kLevelsCount, numbered);
  window_->Enable(kLevelsContentsCount, numbered);
  for (int k = 1; k <= HeadingLevelValues::kLevels; ++k) {
    const bool enabled = numbered && values_.levels >= k;
    for (const LevelRow* rows : {kHeadingRows, kContentsRows}) {
      const LevelRow& row = rows[k - 1];
      window_->Enable(row.label, enabled);
      window_->Enable(row.button, enabled);
      window_->Enable(row.text, false);
    }
  }
}

void HeadingLevels::PutToControls() {
  window_->SetCheck(kLevelsNumbered, values_.numbered);
  window_->SetText(kLevelsCount, std::to_string(values_.levels));
  window_->SetText(kLevelsContentsCount, values_.contentsCount);
  for (std::size_t i = 0; i < HeadingLevelValues::kLevels; ++i) {
    window_->SetText(kHeadingRows[i].text, values_.headings[i]);
    window_->SetText(kContentsRows[i].text, values_.contents[i]);
  }
}

void HeadingLevels::TakeFromControls() {
  values_.numbered = window_->GetCheck(kLevelsNumbered) != 0 ? 1 : 0;
  values_.contentsCount = window_->GetText(kLevelsContentsCount);
  for (std::size_t i = 0; i < HeadingLevelValues::kLevels; ++i) {
    values_.headings[i] = window_->GetText(kHeadingRows[i].text);
    values_.contents[i] = window_->GetText(kContentsRows[i].text);
  }
  int levels = 0;
  if (ParsePageInteger(window_->GetText(kLevelsCount), levels))
    values_.levels = levels;
}

bool HeadingLevels::TakeLevelCount() {
  int levels = 0;
  const bool parsed = ParsePageInteger(window_->GetText(kLevelsCount), levels);
  if (parsed && levels >= 0 && levels <= kLevelsMaximum) {
    values_.levels = levels;
    return true;
  }
  (void)sheet_.GetHost().GetPlatform().ShowMessageBox(
      NumberFieldMessage(parsed, 0, kLevelsMaximum), window_->GetTitle(), MessageIcon::Warning,
      MessageButtons::Ok);
  window_->SetFocus(kLevelsCount);
  return false;
}

void HeadingLevels::EditLevel(int level, bool contents) {
  if (policies_ == nullptr)
    return;
  FileControl::RecognisedHeadings& headings = policies_->GetRecognisedHeadings();
  HeadDetails copy = contents ? headings.contents[level - 1] : headings.headings[level - 1];
  HeadDtlsDialog details(copy, sheet_);
  if (details.DoModal(window_.get()) != 1)
    return;
  TextString form;
  (void)copy.Format(level - 1, form);
  std::string& text = (contents ? values_.contents : values_.headings)[static_cast<std::size_t>(level - 1)];
  text = form.GetText();
  values_.levelTextsChanged = 1;
  sheet_.EnableApply(1);
  PutToControls();
}

bool HeadingLevels::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::CloseRequest) {
    window_->EndModal(kLevelsCancel);
    return false;
  }
  if (event == DialogEvent::Click) {
    if (controlId == kLevelsOk) {
      TakeFromControls();
      if (TakeLevelCount())
        window_->EndModal(kLevelsOk);
      return true;
    }
    if (controlId == kLevelsCancel) {
      window_->EndModal(kLevelsCancel);
      return true;
    }
    for (int k = 1; k <= HeadingLevelValues::kLevels; ++k) {
      if (controlId == kHeadingRows[k - 1].button)
        EditLevel(k, false);
      if (controlId == kContentsRows[k - 1].button)
        EditLevel(k, true);
    }
    if (controlId != kLevelsNumbered)
      return true;
    values_.numberedChanged = 1;
  } else if (event == DialogEvent::EditChange) {
    if (controlId == kLevelsCount)
      values_.levelCountChanged = 1;
    else if (controlId != kLevelsContentsCount)
      values_.levelTextsChanged = 1;
  } else {
    return true;
  }
  sheet_.EnableApply(1);
  TakeFromControls();
  UpdateControls();
  return true;
}

// ---- HeadDtlsDialog ----

enum : int {
  kDetailsOk = 1,
  kDetailsCancel = 2,
  kDetailsIndent = 1153,
  kDetailsPrefix = 1154,
  kDetailsBefore = 1155,
  kDetailsSeparator = 1157,
  kDetailsAfter = 1158,
  kDetailsTrailing = 1159,
};

// Each numbering button with the style its label names.
struct StyleButton {
  int id;
  int style;
};
static constexpr StyleButton kStyleButtons[] = {
    {1160, HeadDetails::kDecimal},   {1161, HeadDetails::kLowerAlpha},
    {1162, HeadDetails::kLowerRoman}, {1163, HeadDetails::kUpperAlpha},
    {1164, HeadDetails::kUpperRoman},
};

HeadDtlsDialog::HeadDtlsDialog(HeadDetails& details, BaseSheet& sheet)
    : details_(details), sheet_(sheet) {}

HeadDtlsDialog::~HeadDtlsDialog() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int HeadDtlsDialog::DoModal(DialogWindow* parent) {
  window_ = sheet_.GetHost().GetPlatform().CreateDialog(*FindEditorTemplate(kDialogHeadDetails),
                                                         parent);
  window_->SetEventHandler(this);
  ApplyDialogTexts(window_.get(), kDialogHeadDetails);
  window_->SetText(kDetailsIndent, std::to_string(details_.indent));
  window_->SetText(kDetailsPrefix, details_.prefixWords.GetText());
  window_->SetText(kDetailsBefore, details_.before.GetText());
  window_->SetText(kDetailsAfter, details_.after.GetText());
  window_->SetText(kDetailsSeparator, "");
  window_->SetCheck(kDetailsTrailing, details_.trailingX);
  for (const StyleButton& button : kStyleButtons)
    window_->SetCheck(button.id, button.style == details_.style ? 1 : 0);
  const int result = window_->RunModal();
  window_->SetEventHandler(nullptr);
  return result;
}

void HeadDtlsDialog::TakeFromControls() {
  const std::string prefix = window_->GetText(kDetailsPrefix);
  details_.prefixWords = prefix.c_str();
  details_.before = window_->GetText(kDetailsBefore).c_str();
  details_.after = window_->GetText(kDetailsAfter).c_str();
  int indent = 0;
  if (ParsePageInteger(window_->GetText(kDetailsIndent), indent))
    details_.indent = indent;
  details_.trailingX = window_->GetCheck(kDetailsTrailing) != 0 ? 1 : 0;
  for (const StyleButton& button : kStyleButtons) {
    if (window_->GetCheck(button.id))
      details_.style = button.style;
  }
  details_.wordCount = prefix.empty() ? 1 : 2;
}

bool HeadDtlsDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::CloseRequest) {
    window_->EndModal(kDetailsCancel);
    return false;
  }
  if (event != DialogEvent::Click)
    return true;
  if (controlId == kDetailsOk) {
    TakeFromControls();
    window_->EndModal(kDetailsOk);
  } else if (controlId == kDetailsCancel) {
    window_->EndModal(kDetailsCancel);
  }
  return true;
}
