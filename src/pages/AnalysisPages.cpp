#include "pages/AnalysisPages.h"

#include <array>
#include <string>

#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/SheetHost.h"
#include "policy/FileControl.h"

// Kind of change a page notes for a value it keeps outside the policies.
static constexpr int kNotedKind = 2;

static void EnableAll(DialogWindow& window, std::span<const int> ids, bool enable) {
  for (const int id : ids)
    window.Enable(id, enable);
}

// Sets a switch of another page of the sheet, marked changed there.
static void MirrorTo(BaseSheet* sheet, std::string_view pageClass, int controlId, int value) {
  if (sheet == nullptr)
    return;
  if (OptionPage* page = sheet->FindPage(pageClass))
    page->SetFromOutside(controlId, value);
}

static void NoteChange(BaseSheet* sheet) {
  if (sheet != nullptr)
    (void)sheet->GetHost().NotePolicyChange(kNotedKind);
}

// ---- AnalysisPage ----

enum : int {
  kAnalysisSearchDefinitions = 1200,
  kAnalysisHyphen = 1051,
  kAnalysisHyphenStrong = 1053,
  kAnalysisColon = 1052,
  kAnalysisColonStrong = 1054,
  kAnalysisOtherChars = 1055,
  kAnalysisIndentLevels = 1024,
  kAnalysisIndentPositions = 2022,
};

// The positions of the record as the text shows them: each number followed by a blank.
static std::string IndentPositionsText(const FileControl::IndentPositions& record) {
  std::string text;
  for (int i = 0; i < record.count && i < FileControl::kMaxPositions; ++i)
    text += std::to_string(record.positions[i]) + " ";
  return text;
}

// Up to six blank-separated words into the record: a word that is no number leaves -1 in
// its slot.
static void ReadIndentPositions(const std::string& text, FileControl::IndentPositions& record) {
  record.count = 0;
  for (int& position : record.positions)
    position = -1;
  std::size_t at = 0;
  while (record.count < FileControl::kMaxPositions) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string::npos)
      break;
    const std::size_t end = std::min(text.find(' ', at), text.size());
    int number = -1;
    if (!ParsePageInteger(text.substr(at, end - at), number))
      number = -1;
    record.positions[record.count++] = number;
    at = end;
  }
  record.present = 1;
  record.setExplicitly = 1;
}

void AnalysisPage::LoadPolicies(FileControl& policies) {
  const FileControl::DefinitionChars& chars = policies.GetDefinitionChars();
  const std::pair<int, int> fields[] = {
      {kAnalysisHyphen, chars.dashAccepted},
      {kAnalysisHyphenStrong, chars.dashStrong},
      {kAnalysisColon, chars.colonAccepted},
      {kAnalysisColonStrong, chars.colonStrong},
  };
  for (const auto& [id, field] : fields) {
    if (!IsChanged(id))
      numbers_[static_cast<std::size_t>(FindValue(id))] = field != 0 ? 1 : 0;
  }
  if (!IsChanged(kAnalysisIndentPositions))
    texts_[static_cast<std::size_t>(FindValue(kAnalysisIndentPositions))] =
        IndentPositionsText(policies.GetIndentPositions());
  OptionPage::LoadPolicies(policies);
}

void AnalysisPage::SavePolicies(FileControl& policies) {
  const std::size_t definitions = static_cast<std::size_t>(FindValue(kAnalysisSearchDefinitions));
  for (std::size_t i = 0; i < definitions; ++i)
    SaveValue(policies, i);
  if (IsChanged(kAnalysisIndentPositions)) {
    ReadIndentPositions(GetString(kAnalysisIndentPositions), policies.GetIndentPositions());
    NoteChange(sheet_);
  }
  SaveValue(policies, definitions);
  FileControl::DefinitionChars& chars = policies.GetDefinitionChars();
  const std::pair<int, int*> fields[] = {
      {kAnalysisColon, &chars.colonAccepted},
      {kAnalysisColonStrong, &chars.colonStrong},
      {kAnalysisHyphen, &chars.dashAccepted},
      {kAnalysisHyphenStrong, &chars.dashStrong},
  };
  for (const auto& [id, field] : fields) {
    if (!IsChanged(id))
      continue;
    *field = GetNumber(id);
    chars.setExplicitly = 1;
    NoteChange(sheet_);
  }
  if (IsChanged(kAnalysisOtherChars))
    NoteChange(sheet_);
}

void AnalysisPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool definitions = GetNumber(kAnalysisSearchDefinitions) != 0;
  static constexpr int kDependants[] = {1201, 1068, kAnalysisOtherChars, kAnalysisIndentLevels,
                                        kAnalysisHyphen, kAnalysisColon};
  EnableAll(*window_, kDependants, definitions);
  window_->Enable(kAnalysisHyphenStrong, definitions && GetNumber(kAnalysisHyphen) != 0);
  window_->Enable(kAnalysisColonStrong, definitions && GetNumber(kAnalysisColon) != 0);
}

bool AnalysisPage::OnDialogEvent(int controlId, DialogEvent event) {
  const bool result = OptionPage::OnDialogEvent(controlId, event);
  if (controlId == kAnalysisSearchDefinitions && event == DialogEvent::Click) {
    MirrorTo(sheet_, "LookForPage", 1245, GetNumber(kAnalysisSearchDefinitions));
    PutToControls();
  }
  return result;
}

// ---- BulletsPage ----

enum : int {
  kBulletsLookFor = 1246,
  kBulletsCharacters = 2024,
  kBulletsMaxCharacters = 6,
};

void BulletsPage::LoadPolicies(FileControl& policies) {
  if (!IsChanged(kBulletsCharacters)) {
    const FileControl::BulletChars& record = policies.GetBulletChars();
    std::string text;
    for (int i = 0; i < record.count && i < FileControl::kMaxBulletChars; ++i)
      text += static_cast<char>(record.chars[i]);
    texts_[static_cast<std::size_t>(FindValue(kBulletsCharacters))] = text;
  }
  OptionPage::LoadPolicies(policies);
}

void BulletsPage::SavePolicies(FileControl& policies) {
  const std::size_t characters = static_cast<std::size_t>(FindValue(kBulletsCharacters));
  for (std::size_t i = 0; i < characters; ++i)
    SaveValue(policies, i);
  if (changed_[characters]) {
    // The field takes at most six characters.
    const std::string text = texts_[characters].substr(0, kBulletsMaxCharacters);
    FileControl::BulletChars& record = policies.GetBulletChars();
    record.count = static_cast<int>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
      record.chars[i] = static_cast<unsigned char>(text[i]);
    record.given = 1;
    record.setExplicitly = 1;
    NoteChange(sheet_);
  }
  for (std::size_t i = characters + 1; i < definition_.values.size(); ++i)
    SaveValue(policies, i);
}

void BulletsPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  static constexpr int kDependants[] = {1019, 1020, 2021, 1022, 1023, kBulletsCharacters,
                                        1247, 1248, 1069};
  EnableAll(*window_, kDependants, GetNumber(kBulletsLookFor) != 0);
}

bool BulletsPage::OnDialogEvent(int controlId, DialogEvent event) {
  const bool result = OptionPage::OnDialogEvent(controlId, event);
  if (controlId == kBulletsLookFor && event == DialogEvent::Click) {
    MirrorTo(sheet_, "LookForPage", 1244, GetNumber(kBulletsLookFor));
    PutToControls();
  }
  return result;
}

// ---- ContentsPage ----

enum : int {
  kContentsExisting = 1057,
  kContentsGenerate = 1058,
  kContentsFileName = 1082,
  kContentsCalculate = 1187,
};

void ContentsPage::LoadPolicies(FileControl& policies) {
  OptionPage::LoadPolicies(policies);
  const std::size_t name = static_cast<std::size_t>(FindValue(kContentsFileName));
  if (changed_[name] || !texts_[name].empty())
    return;
  texts_[name] = policies.GetContentsFileName().GetText();
  PutToControls();
}

void ContentsPage::UpdateControls() {
  const bool existing = GetNumber(kContentsExisting) != 0;
  if (!existing) {
    // Not a change of the user's: nothing about the choice is saved.
    numbers_[static_cast<std::size_t>(FindValue(kContentsCalculate))] = 0;
  }
  if (window_ == nullptr)
    return;
  if (!existing) {
    window_->SetCheck(kContentsCalculate, 1);
    window_->SetCheck(kContentsCalculate + 1, 0);
  }
  window_->Enable(kContentsExisting, true);
  window_->Enable(kContentsGenerate, true);
  static constexpr int kDisabled[] = {1189, 1187, 1188, 1190, kContentsFileName, 1223, 1119, 1120};
  EnableAll(*window_, kDisabled, false);
  const bool generate = GetNumber(kContentsGenerate) != 0;
  window_->Enable(1251, generate);
  window_->Enable(1250, generate);
  static constexpr int kHidden[] = {1407, 1058, 1189, 1187, 1188, 1250, 1251,
                                    1190, 1082, 1223, 1119, 1120};
  for (const int id : kHidden)
    window_->ShowControl(id, false);
}

// ---- FileStructPage ----

enum : int {
  kFileStructPageMarkers = 1316,
  kFileStructMarkerSize = 1318,
  kFileStructJustification = 1042,
};

// "Text justification" value of each list index (1 left, 2 center, 3 right, 4 justified).
static constexpr std::array<int, 5> kJustificationValues = {0, 1, 3, 4, 2};

int FileStructPage::ListIndexFromValue(int /*controlId*/, int value) const {
  for (std::size_t i = 1; i < kJustificationValues.size(); ++i) {
    if (kJustificationValues[i] == value)
      return static_cast<int>(i);
  }
  return 0;
}

int FileStructPage::ValueFromListIndex(int /*controlId*/, int index) const {
  if (index < 0 || index >= static_cast<int>(kJustificationValues.size()))
    return 0;
  return kJustificationValues[static_cast<std::size_t>(index)];
}

void FileStructPage::SavePolicies(FileControl& policies) {
  const std::size_t justification = static_cast<std::size_t>(FindValue(kFileStructJustification));
  for (std::size_t i = 0; i < definition_.values.size(); ++i) {
    if (i != justification) {
      SaveValue(policies, i);
      continue;
    }
    if (!changed_[i])
      continue;
    CorePolicy* policy = FindValuePolicy(policies, definition_.values[i]);
    if (policy == nullptr)
      continue;
    static_cast<ScalarPolicy*>(policy)->value =
        ValueFromListIndex(kFileStructJustification, numbers_[i]);
    policy->set = 1;
    NoteChange(sheet_);
  }
}

void FileStructPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool markers = GetNumber(kFileStructPageMarkers) != 0;
  window_->Enable(kFileStructMarkerSize, markers);
  window_->Enable(1317, markers);
}

void FileStructPage::SetLanguage() {
  OptionPage::SetLanguage();
  if (window_ == nullptr)
    return;
  window_->ClearItems(kFileStructJustification);
  for (const int text : kJustificationTexts)
    window_->AddItem(kFileStructJustification, GetMessageText(text));
  PutToControls();
}

bool FileStructPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::EditChange) {
    // Typing alone changes nothing; the loss of the focus compares the number.
    if (controlId == kFileStructMarkerSize)
      EnableApply(0);
    if (controlId == kFileStructMarkerSize || controlId == 1724 || controlId == 1726)
      return true;
  }
  if (event == DialogEvent::KillFocus && controlId == kFileStructJustification) {
    const int before = GetNumber(controlId);
    (void)TakeFromControls();
    if (GetNumber(controlId) != before) {
      MarkChanged(FindValue(controlId));
      EnableApply(1);
      UpdateControls();
    }
    return true;
  }
  const bool result = OptionPage::OnDialogEvent(controlId, event);
  if (controlId == kFileStructPageMarkers && event == DialogEvent::Click)
    PutToControls();
  return result;
}

// ---- LookForPage ----

enum : int {
  kLookForRulers = 1241,
  kLookForPreformatted = 1257,
  kLookForNote = 1387,
};

// The switches shared with other pages: this page's control, the page and its control.
struct MirroredSwitch {
  int controlId;
  std::string_view pageClass;
  int pageControlId;
};
static constexpr MirroredSwitch kMirroredSwitches[] = {
    {1244, "BulletsPage", kBulletsLookFor},
    {1245, "AnalysisPage", kAnalysisSearchDefinitions},
    {1249, "TabAnalPage", 1132},
};

void LookForPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool rulers = GetNumber(kLookForRulers) != 0;
  window_->Enable(1242, rulers);
  window_->Enable(1243, rulers);
  const bool preformatted = GetNumber(kLookForPreformatted) != 0;
  window_->Enable(1249, preformatted);
  window_->Enable(1250, preformatted);
  window_->Enable(kLookForNote, false);
}

bool LookForPage::OnDialogEvent(int controlId, DialogEvent event) {
  const bool result = OptionPage::OnDialogEvent(controlId, event);
  if (event != DialogEvent::Click)
    return result;
  if (controlId == kLookForRulers || controlId == kLookForPreformatted)
    PutToControls();
  for (const MirroredSwitch& mirrored : kMirroredSwitches) {
    if (mirrored.controlId == controlId)
      MirrorTo(sheet_, mirrored.pageClass, mirrored.pageControlId, GetNumber(controlId));
  }
  return result;
}

// ---- PreFormatPage ----

void PreFormatPage::UpdateControls() {
  if (window_ != nullptr)
    window_->ShowControl(2056, false);
}

// ---- TabAnalPage ----

enum : int {
  kTabAttempt = 1132,
  kTabLayout = 9107,
  kTabExtending = 1489,
  kTabMerging = 1494,
  kTabSliderHigh = 10,
};

void TabAnalPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool tables = GetNumber(kTabAttempt) != 0;
  const bool layout = !GetString(kTabLayout).empty();
  static constexpr int kWithTables[] = {1784, 1785, 1754, 1755, 1205};
  EnableAll(*window_, kWithTables, tables);
  window_->Enable(1782, tables && layout);
  static constexpr int kAutomaticColumns[] = {1204, 1496, 1492, 1493, 1495, 1783,
                                              9006, 1206, kTabMerging};
  EnableAll(*window_, kAutomaticColumns, tables && !layout);
  // The layout is typed here: its own text must not disable it.
  window_->Enable(kTabLayout, tables);
  window_->Enable(1746, tables);
}

void TabAnalPage::Activate() {
  OptionPage::Activate();
  if (window_ == nullptr)
    return;
  for (const int slider : {kTabExtending, kTabMerging}) {
    window_->SetRange(slider, 0, kTabSliderHigh);
    window_->SetValue(slider, GetNumber(slider));
  }
}

bool TabAnalPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId == kTabLayout && (event == DialogEvent::EditChange || event == DialogEvent::KillFocus)) {
    const std::string before = GetString(kTabLayout);
    const int index = FindValue(kTabLayout);
    if (event == DialogEvent::EditChange)
      MarkChanged(index);
    (void)TakeFromControls();
    if (GetString(kTabLayout) != before) {
      MarkChanged(index);
      EnableApply(1);
      UpdateControls();
    }
    return true;
  }
  const bool result = OptionPage::OnDialogEvent(controlId, event);
  if (controlId == kTabAttempt && event == DialogEvent::Click) {
    MirrorTo(sheet_, "LookForPage", 1249, GetNumber(kTabAttempt));
    PutToControls();
  }
  return result;
}
