#include "pages/OutputPages.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/ColourNames.h"
#include "pages/FontText.h"
#include "pages/PageDefinitions.h"
#include "pages/SheetHost.h"
#include "platform/DesktopPlatform.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/StringList.h"

using P = PolicyId;

std::unique_ptr<OptionPage> MakeOutputPage(const PageDefinition& definition, BaseSheet* sheet) {
  if (&definition == &kRTFDocumentPage)
    return std::make_unique<RTFDocumentPage>(definition, sheet);
  if (&definition == &kRTFSettingsPage)
    return std::make_unique<RTFSettingsPage>(definition, sheet);
  if (&definition == &kRTFFormatPage)
    return std::make_unique<RTFFormatPage>(definition, sheet);
  if (&definition == &kFontPage)
    return std::make_unique<FontPage>(definition, sheet);
  if (&definition == &kHyperlinksPage)
    return std::make_unique<HyperlinksPage>(definition, sheet);
  if (&definition == &kFileGenRTFPage)
    return std::make_unique<FileGenRTFPage>(definition, sheet);
  if (&definition == &kPreProPage)
    return std::make_unique<PreProPage>(definition, sheet);
  if (&definition == &kMakeHelpPage)
    return std::make_unique<MakeHelpPage>(definition, sheet);
  return std::make_unique<OptionPage>(definition, sheet);
}

// ---- Shared helpers ----

static void StorePolicyText(CorePolicy& policy, const std::string& text) {
  static_cast<TextValuePolicy&>(policy).value.Assign(text.c_str());
  policy.set = 1;
}

static void StorePolicyNumber(CorePolicy& policy, int number) {
  static_cast<ScalarPolicy&>(policy).value = number;
  policy.set = 1;
}

// A list's names joined by one blank.
static std::string JoinNames(const StringList& list) {
  TextString joined;
  list.Join(joined, " ");
  return joined.GetText();
}

// The names of a text separated by blanks (one or more) into the list, emptied first.
static void SplitNames(const std::string& text, StringList& list) {
  list.Clear();
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t begin = text.find_first_not_of(" \t", at);
    if (begin == std::string::npos)
      break;
    std::size_t end = text.find_first_of(" \t", begin);
    if (end == std::string::npos)
      end = text.size();
    (void)list.Append(text.substr(begin, end - begin).c_str());
    at = end;
  }
}

int& OutputPage::NumberOf(int controlId) {
  const int index = FindValue(controlId);
  assert(index >= 0 && "the control has a value in the page's table");
  return numbers_[static_cast<std::size_t>(index)];
}

std::string& OutputPage::TextOf(int controlId) {
  const int index = FindValue(controlId);
  assert(index >= 0 && "the control has a value in the page's table");
  return texts_[static_cast<std::size_t>(index)];
}

DesktopPlatform* OutputPage::Platform() {
  return sheet_ != nullptr ? &sheet_->GetHost().GetPlatform() : nullptr;
}

void OutputPage::NoteChange(int kind) {
  if (sheet_ != nullptr)
    (void)sheet_->GetHost().NotePolicyChange(kind);
}

bool OutputPage::CompareText(int controlId) {
  const int index = FindValue(controlId);
  if (index < 0 || window_ == nullptr)
    return false;
  const std::string before = texts_[static_cast<std::size_t>(index)];
  (void)TakeFromControls();
  if (texts_[static_cast<std::size_t>(index)] == before)
    return false;
  MarkChanged(index);
  EnableApply(1);
  return true;
}

bool OutputPage::OnDialogEvent(int controlId, DialogEvent event) {
  const int index = FindValue(controlId);
  const bool isText =
      index >= 0 && definition_.values[static_cast<std::size_t>(index)].kind == PageValueKind::Text;
  // A text field of these pages is compared when it is left, not marked at every key.
  if (isText && event == DialogEvent::EditChange)
    return true;
  if (isText && event == DialogEvent::KillFocus) {
    (void)CompareText(controlId);
    return true;
  }
  return OptionPage::OnDialogEvent(controlId, event);
}

// ---- RTFDocumentPage ----

void RTFDocumentPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  if (window_ == nullptr)
    return;
  UpdateControls();
  PutToControls();
}

// ---- RTFSettingsPage ----

// In the order of the policy's option list, which is the list's sorted order: the value
// stored is the position counted from 1.
static constexpr std::string_view kLanguages[] = {
    "(none)", "Afrikaans", "Albanian", "Basque", "Belarusian", "Bulgarian", "Catalan",
    "Croatian", "Czech", "Danish", "Dutch (Belgian)", "Dutch (Standard)", "English (Australia)",
    "English (Canada)", "English (Carribean)", "English (Ireland)", "English (Jamaica)",
    "English (New Zealand)", "English (South Africa)", "English (United Kingdom)",
    "English (United States)", "Estonian", "Finnish", "French (Belgian)", "French (Canadia)",
    "French (Luxembourg)", "French (Standard)", "French (Swiss)", "German (Austria)",
    "German (Liechtenstein)", "German (Luxembourg)", "German (Standard)", "German (Swiss)",
    "Greek", "Hungarian", "Icelandic", "Indonesian", "Italian (Standard)", "Italian (Swiss)",
    "Japanese", "Korean", "Latvian", "Lithuanian", "Macedonian (FYROM)", "Malay (Malaysia)",
    "Norwegian (Bokmal)", "Norwegian (Nynorsk)", "Polish", "Portuguese (Brazilian)",
    "Portuguese (Standard)", "Romanian", "Russian", "Serbian (Cyrillic)", "Slovak", "Slovenian",
    "Spanish (Argentina)", "Spanish (Bolivia)", "Spanish (Chile)", "Spanish (Colombia)",
    "Spanish (Costa Rica)", "Spanish (Dominican Republic)", "Spanish (Ecuador)",
    "Spanish (El Salvador)", "Spanish (Guatemala)", "Spanish (Honduras)",
    "Spanish (International Sort)", "Spanish (Mexico)", "Spanish (Nicaragua)",
    "Spanish (Panama)", "Spanish (Paraguay)", "Spanish (Peru)", "Spanish (Peurto Rico)",
    "Spanish (Traditional Sort)", "Spanish (Uruguay)", "Spanish (Venezuela)", "Swedish",
    "Turkish", "Ukrainian"};
static_assert(std::size(kLanguages) == 78);

static constexpr std::string_view kPaperSizes[] = {
    "A3", "A3 Extra", "A4", "A4 Extra", "A5", "A5 Extra",
    "Executive (7.25\" x 10.5\")", "Folio (8.5\" x 13\")", "Legal (8.5\" x 14\")",
    "Legal Extra (9.5\" x 15\")", "Letter (8.5\" x 11\")", "Letter Extra (9.5\" x 12\")",
    "Tabloid (11\" x 17\")", "Tabloid Extra (12\" x 18\")"};
static_assert(std::size(kPaperSizes) == 14);

static constexpr std::string_view kEncodings[] = {
    "ascii (English/Western)", "big5 (Chinese)", "csGB2312 (Chinese)", "csShiftJIS (Japanese)",
    "csbig5 (Chinese)", "euc-kr (Korean)", "gb2312 (Chinese)", "iso-2022-kr (Korean)",
    "iso-8859-1 (Western Europe)", "iso-8859-10 (Scaninavia)", "iso-8859-2 (Eastern Europe)",
    "iso-8859-3 (Turkish)", "iso-8859-4 (Baltic states)", "iso-8859-5 (Cyrillic)",
    "iso-8859-6 (Arabic)", "iso-8859-7 (Greek)", "iso-8859-8 (Hebrew)",
    "iso-8859-9 (Latin + Turkish)", "koi8-r (Cyrillic)", "ms_Kanji (Japanese)",
    "shift_jis (Japanese)", "tis-620 (Thai)", "UTF-8 (Unicode)", "windows-1251 (Cyrillic)",
    "windows-1253 (Greek)", "windows-1254 (Turkish)", "windows-1256 (Arabic)",
    "x-euc-jp (Japanese)", "x-euc-tw (Chinese)", "x-sjis (Japanese)"};

static constexpr int kMarginControls[] = {1475, 1476, 1477, 1478};
static constexpr PolicyId kMarginPolicies[] = {P::TopMarginInCm, P::BottomMarginInCm,
                                               P::LeftMarginInCm, P::RightMarginInCm};

// A stored list value (counted from 1) as a list position; -1 (no selection) for 0 or a value
// past the list.
static int PositionOfValue(int value, int count) {
  return value >= 1 && value <= count ? value - 1 : -1;
}

// The whole text as a decimal number (blanks around it allowed).
static bool ReadDecimal(const std::string& text, double& value) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos)
    return false;
  const char* first = text.c_str() + begin;
  char* end = nullptr;
  const double read = std::strtod(first, &end);
  if (end == first)
    return false;
  for (const char* rest = end; *rest != '\0'; ++rest) {
    if (*rest != ' ' && *rest != '\t')
      return false;
  }
  value = read;
  return true;
}

static std::string ShowDecimal(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Fills a list once, so that a window made again gets its entries.
static void FillListOnce(DialogWindow& window, int id, std::span<const std::string_view> items) {
  if (window.GetItemCount(id) > 0)
    return;
  for (std::string_view item : items)
    window.AddItem(id, std::string(item));
}

// The entry of items at a position selected in a (possibly sorted) list control, by text.
static void SelectByText(DialogWindow& window, int id, std::span<const std::string_view> items,
                         int position) {
  if (position < 0 || position >= static_cast<int>(items.size())) {
    window.SetSelection(id, -1);
    return;
  }
  window.SetSelection(id, FindItemNoCase(window, id,
                                         std::string(items[static_cast<std::size_t>(position)])));
}

static int SelectedPosition(const DialogWindow& window, int id,
                            std::span<const std::string_view> items) {
  const int selection = window.GetSelection(id);
  if (selection < 0)
    return -1;
  const std::string text = window.GetItemText(id, selection);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text)
      return static_cast<int>(i);
  }
  return -1;
}

void RTFSettingsPage::ResetChangeFlags() {
  OptionPage::ResetChangeFlags();
  flags_.fill(0);
}

void RTFSettingsPage::LoadPolicies(FileControl& policies) {
  // Everything but the character encoding loads whatever the user changed.
  positions_[kLanguage] =
      PositionOfValue(policies.GetInt(P::LanguageForProofing), std::size(kLanguages));
  positions_[kPaper] = PositionOfValue(policies.GetInt(P::PaperSize), std::size(kPaperSizes));
  positions_[kOrientation] = policies.GetInt(P::UseLandscapeMode) != 0 ? 1 : 0;
  for (std::size_t i = 0; i < margins_.size(); ++i) {
    double margin = -1;
    (void)policies.GetText(kMarginPolicies[i]).ParseDouble(&margin);
    margins_[i] = margin;
  }
  positions_[kMirror] = policies.GetInt(P::MirrorMargins) != 0 ? 1 : 0;
  if (!flags_[kEncoding])
    encoding_ = policies.GetText(P::CharacterEncoding).GetText();
  if (window_ == nullptr)
    return;
  UpdateControls();
  PutToControls();
}

void RTFSettingsPage::SavePolicies(FileControl& policies) {
  auto report = [&](CorePolicy& policy) {
    if (sheet_ != nullptr)
      sheet_->GetHost().OnPolicyChanged(policy);
  };
  if (flags_[kLanguage]) {
    StorePolicyNumber(policies.Policy(P::LanguageForProofing), positions_[kLanguage] + 1);
    report(policies.Policy(P::LanguageForProofing));
  }
  if (flags_[kPaper]) {
    StorePolicyNumber(policies.Policy(P::PaperSize), positions_[kPaper] + 1);
    report(policies.Policy(P::PaperSize));
  }
  if (flags_[kOrientation]) {
    StorePolicyNumber(policies.Policy(P::UseLandscapeMode), positions_[kOrientation] == 1 ? 1 : 0);
    report(policies.Policy(P::UseLandscapeMode));
  }
  for (std::size_t i = 0; i < margins_.size(); ++i) {
    if (!flags_[kTop + static_cast<int>(i)])
      continue;
    CorePolicy& policy = policies.Policy(kMarginPolicies[i]);
    TextString& text = static_cast<TextValuePolicy&>(policy).value;
    text.Clear();
    (void)text.AppendDouble(margins_[i], 0);
    policy.set = 1;
    report(policy);
  }
  if (flags_[kMirror]) {
    StorePolicyNumber(policies.Policy(P::MirrorMargins), positions_[kMirror]);
    report(policies.Policy(P::MirrorMargins));
  }
  if (flags_[kEncoding]) {
    StorePolicyText(policies.Policy(P::CharacterEncoding), encoding_);
    report(policies.Policy(P::CharacterEncoding));
  }
}

void RTFSettingsPage::PutToControls() {
  if (window_ == nullptr)
    return;
  FillListOnce(*window_, 1465, kLanguages);
  FillListOnce(*window_, 1485, kPaperSizes);
  FillListOnce(*window_, 1600, kEncodings);
  SelectByText(*window_, 1465, kLanguages, positions_[kLanguage]);
  window_->SetSelection(1485, positions_[kPaper]);
  window_->SetCheck(1468, positions_[kOrientation] == 0 ? 1 : 0);
  window_->SetCheck(1469, positions_[kOrientation] == 1 ? 1 : 0);
  for (std::size_t i = 0; i < margins_.size(); ++i)
    window_->SetText(kMarginControls[i], ShowDecimal(margins_[i]));
  window_->SetCheck(1562, positions_[kMirror]);
  window_->SetText(1600, encoding_);
}

bool RTFSettingsPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  positions_[kLanguage] = SelectedPosition(*window_, 1465, kLanguages);
  positions_[kPaper] = window_->GetSelection(1485);
  positions_[kOrientation] = window_->GetCheck(1469) ? 1 : (window_->GetCheck(1468) ? 0 : -1);
  positions_[kMirror] = window_->GetCheck(1562) ? 1 : 0;
  encoding_ = window_->GetText(1600);
  for (std::size_t i = 0; i < margins_.size(); ++i) {
    if (ReadDecimal(window_->GetText(kMarginControls[i]), margins_[i]))
      continue;
    if (sheet_ != nullptr) {
      (void)sheet_->GetHost().GetPlatform().ShowMessageBox(
          "Please enter a number.", sheet_->GetCaption(), MessageIcon::Warning,
          MessageButtons::Ok);
    }
    window_->SetFocus(kMarginControls[i]);
    return false;
  }
  return true;
}

void RTFSettingsPage::Mark(Slot slot, int markModified) {
  flags_[slot] = 1;
  EnableApply(markModified);
}

bool RTFSettingsPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (event == DialogEvent::PageActivate || event == DialogEvent::PageDeactivate)
    return OutputPage::OnDialogEvent(controlId, event);
  const bool listEvent = event == DialogEvent::SelectionChange || event == DialogEvent::CloseUp;
  if ((controlId == 1465 || controlId == 1485) && listEvent) {
    Mark(controlId == 1465 ? kLanguage : kPaper, 1);
    (void)TakeFromControls();
    return true;
  }
  if ((controlId == 1468 || controlId == 1469 || controlId == 1562) &&
      event == DialogEvent::Click) {
    Mark(controlId == 1562 ? kMirror : kOrientation, 1);
    (void)TakeFromControls();
    return true;
  }
  for (std::size_t i = 0; i < margins_.size(); ++i) {
    if (controlId != kMarginControls[i] || event != DialogEvent::EditChange)
      continue;
    // Marked at every key; a text that is no number keeps the number it had (leaving the
    // page names the field).
    Mark(static_cast<Slot>(kTop + static_cast<int>(i)), 1);
    (void)ReadDecimal(window_->GetText(controlId), margins_[i]);
    return true;
  }
  if (controlId != 1600)
    return true;
  if (event == DialogEvent::SelectionChange || event == DialogEvent::SelectionEnd) {
    Mark(kEncoding, 1);
    const int selection = window_->GetSelection(1600);
    encoding_ = selection >= 0 ? window_->GetItemText(1600, selection) : window_->GetText(1600);
    return true;
  }
  if (event == DialogEvent::EditChange || event == DialogEvent::KillFocus) {
    const std::string text = window_->GetText(1600);
    if (text != encoding_)
      Mark(kEncoding, 1);
    encoding_ = text;
  }
  return true;
}

// ---- RTFFormatPage ----

// The alignment lists' entries by position: their message texts and the alignment stored.
struct AlignmentEntry {
  int messageIndex;
  int alignment;
};
static constexpr AlignmentEntry kAlignmentEntries[] = {
    {64, 0},  // "Auto-Detect"
    {65, 1},  // "Left"
    {66, 3},  // "Right"
    {68, 4},  // "Justified"
    {67, 2},  // "Center"
};
static constexpr int kAlignmentLists[] = {1274, 1270};
static constexpr TablePolicyId kAlignmentPolicies[] = {TablePolicyId::Alignment,
                                                       TablePolicyId::CellAlignment};

static int AlignmentPosition(int alignment) {
  for (std::size_t i = 1; i < std::size(kAlignmentEntries); ++i) {
    if (kAlignmentEntries[i].alignment == alignment)
      return static_cast<int>(i);
  }
  return 0;
}

void RTFFormatPage::ResetChangeFlags() {
  OptionPage::ResetChangeFlags();
  alignmentChanged_.fill(0);
}

void RTFFormatPage::LoadPolicies(FileControl& policies) {
  if (!IsChanged(1758))
    NumberOf(1758) = policies.GetInt(P::UseOriginalBulletMarker) != 0 ? 1 : 0;
  if (!IsChanged(1760))
    TextOf(1760) = policies.GetText(P::CharactersToUseForBullets).GetText();
  if (const TableAnalysisPolicies* table = policies.pGetDefaultTablePolicies()) {
    for (std::size_t i = 0; i < alignment_.size(); ++i) {
      if (!alignmentChanged_[i])
        alignment_[i] = AlignmentPosition(
            static_cast<const ScalarPolicy&>(table->GetPolicy(kAlignmentPolicies[i])).value);
    }
    if (!IsChanged(1137))
      NumberOf(1137) = std::max(0, table->Int(TablePolicyId::HeaderRows).value);
  }
  OptionPage::LoadPolicies(policies);
}

void RTFFormatPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  if (IsChanged(1758)) {
    StorePolicyNumber(policies.Policy(P::UseOriginalBulletMarker), NumberOf(1758));
    NoteChange(4);
  }
  if (IsChanged(1760)) {
    StorePolicyText(policies.Policy(P::CharactersToUseForBullets), TextOf(1760));
    NoteChange(4);
  }
  TableAnalysisPolicies* table = policies.pGetDefaultTablePolicies();
  if (table == nullptr)
    return;
  for (std::size_t i = 0; i < alignment_.size(); ++i) {
    if (!alignmentChanged_[i])
      continue;
    const int position = alignment_[i];
    const int alignment = position >= 0 && position < static_cast<int>(std::size(kAlignmentEntries))
                              ? kAlignmentEntries[static_cast<std::size_t>(position)].alignment
                              : 0;
    StorePolicyNumber(table->GetPolicy(kAlignmentPolicies[i]), alignment);
    NoteChange(4);
  }
  if (IsChanged(1137)) {
    StorePolicyNumber(table->GetPolicy(TablePolicyId::HeaderRows), NumberOf(1137));
    NoteChange(4);
  }
}

void RTFFormatPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool centring = NumberOf(2048) != 0;
  for (int id : {1192, 1193, 1194})
    window_->Enable(id, centring);
  const bool ownBullets = NumberOf(1758) == 0;
  window_->Enable(1759, ownBullets);
  window_->Enable(1760, ownBullets);
}

void RTFFormatPage::FillAlignmentLists() {
  if (window_ == nullptr)
    return;
  for (int list : kAlignmentLists) {
    window_->ClearItems(list);
    for (const AlignmentEntry& entry : kAlignmentEntries)
      window_->AddItem(list, GetMessageText(entry.messageIndex));
  }
  PutToControls();
}

void RTFFormatPage::SetLanguage() {
  OptionPage::SetLanguage();
  FillAlignmentLists();
}

void RTFFormatPage::Activate() {
  OptionPage::Activate();
  FillAlignmentLists();
}

void RTFFormatPage::PutToControls() {
  OptionPage::PutToControls();
  if (window_ == nullptr)
    return;
  if (window_->GetItemCount(kAlignmentLists[0]) == 0) {
    for (int list : kAlignmentLists) {
      for (const AlignmentEntry& entry : kAlignmentEntries)
        window_->AddItem(list, GetMessageText(entry.messageIndex));
    }
  }
  for (std::size_t i = 0; i < alignment_.size(); ++i)
    window_->SetSelection(kAlignmentLists[i], alignment_[i]);
}

bool RTFFormatPage::TakeFromControls() {
  if (window_ != nullptr) {
    for (std::size_t i = 0; i < alignment_.size(); ++i)
      alignment_[i] = window_->GetSelection(kAlignmentLists[i]);
  }
  return OptionPage::TakeFromControls();
}

bool RTFFormatPage::OnDialogEvent(int controlId, DialogEvent event) {
  for (std::size_t i = 0; i < alignment_.size(); ++i) {
    if (controlId != kAlignmentLists[i])
      continue;
    if (event == DialogEvent::SelectionChange) {
      (void)TakeFromControls();
      alignmentChanged_[i] = 1;
      EnableApply(1);
    } else if (event == DialogEvent::KillFocus) {
      const int before = alignment_[i];
      (void)TakeFromControls();
      if (alignment_[i] != before) {
        alignmentChanged_[i] = 1;
        EnableApply(1);
      }
      UpdateControls();
    }
    return true;
  }
  const bool handled = OutputPage::OnDialogEvent(controlId, event);
  if (event == DialogEvent::KillFocus && (controlId == 1760 || controlId == 1137))
    UpdateControls();
  return handled;
}

// ---- FontPage ----

static constexpr int kFontFields[] = {1254, 1255, 1256, 1258, 1257};
static constexpr int kFontButtons[] = {1263, 1264, 1265, 1267, 1266};
static constexpr PolicyId kFontPolicies[] = {P::DefaultFont, P::HeadingFont, P::TableFont,
                                             P::TableOfContentsFont, P::FixedFont};
// The hidden group of HTML font details.
static constexpr int kHtmlFontControls[] = {1375, 1376, 1498, 1252, 1253, 1521, 1522, 1523};
static constexpr int kDeltaLow = -3;
static constexpr int kDeltaHigh = 3;

void FontPage::ResetChangeFlags() {
  OptionPage::ResetChangeFlags();
  fontChanged_.fill(0);
  baseSizeChanged_ = 0;
  implementationChanged_ = 0;
}

void FontPage::LoadPolicies(FileControl& policies) {
  // The tables and contents fonts follow the body and headings fonts until they were set.
  const PolicyId sources[kFontCount] = {
      P::DefaultFont, P::HeadingFont,
      policies.IsSet(P::TableFont) ? P::TableFont : P::DefaultFont,
      policies.IsSet(P::TableOfContentsFont) ? P::TableOfContentsFont : P::HeadingFont,
      P::FixedFont};
  for (int slot = 0; slot < kFontCount; ++slot) {
    if (!fontChanged_[slot])
      fonts_[slot] = policies.GetText(sources[slot]);
  }
  if (!baseSizeChanged_)
    baseSize_ = policies.GetInt(P::BaseFONTSizeInPts);
  if (!implementationChanged_)
    implementation_ = policies.GetInt(P::UseCSSToImplementFonts) != 0 ? 0 : 1;
  OptionPage::LoadPolicies(policies);
  // The delta field is hidden: a value out of its range would fail every read-back of the
  // page with a message about a field the user can neither see nor mend.
  int& delta = NumberOf(1253);
  delta = std::clamp(delta, kDeltaLow, kDeltaHigh);
  PutToControls();
}

void FontPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  auto report = [&](CorePolicy& policy) {
    if (sheet_ != nullptr)
      sheet_->GetHost().OnPolicyChanged(policy);
  };
  for (int slot = 0; slot < kFontCount; ++slot) {
    if (!fontChanged_[slot])
      continue;
    CorePolicy& policy = policies.Policy(kFontPolicies[slot]);
    static_cast<TextValuePolicy&>(policy).value = fonts_[slot];
    policy.set = 1;
    report(policy);
  }
  if (baseSizeChanged_) {
    StorePolicyNumber(policies.Policy(P::BaseFONTSizeInPts), baseSize_);
    report(policies.Policy(P::BaseFONTSizeInPts));
  }
  if (implementationChanged_) {
    StorePolicyNumber(policies.Policy(P::UseCSSToImplementFonts), implementation_ == 1 ? 0 : 1);
    report(policies.Policy(P::UseCSSToImplementFonts));
  }
}

void FontPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  for (int id : kHtmlFontControls)
    window_->ShowControl(id, false);
}

void FontPage::PutToControls() {
  OptionPage::PutToControls();
  if (window_ == nullptr)
    return;
  for (int slot = 0; slot < kFontCount; ++slot)
    window_->SetText(kFontFields[slot], fonts_[slot].GetText());
  window_->SetText(1252, std::to_string(baseSize_));
  window_->SetCheck(1522, implementation_ == 0 ? 1 : 0);
  window_->SetCheck(1523, implementation_ == 1 ? 1 : 0);
}

bool FontPage::TakeFromControls() {
  if (window_ == nullptr)
    return true;
  const std::string size = window_->GetText(1252);
  char* end = nullptr;
  const long read = std::strtol(size.c_str(), &end, 10);
  if (end != size.c_str() && read >= 0)
    baseSize_ = static_cast<int>(read);
  implementation_ = window_->GetCheck(1522) ? 0 : (window_->GetCheck(1523) ? 1 : -1);
  return OptionPage::TakeFromControls();
}

void FontPage::PickFont(FontSlot slot) {
  DesktopPlatform* platform = Platform();
  if (platform == nullptr)
    return;
  // The chooser starts from the member, not from what was typed into the field.
  const TextString start = fonts_[slot];
  if (PickFontText(*platform, start, fonts_[slot], fontChanged_[slot])) {
    EnableApply(1);
    if (slot == kBody && !fontChanged_[kTables])
      fonts_[kTables] = fonts_[kBody];
    if (slot == kHeadings && !fontChanged_[kContents])
      fonts_[kContents] = fonts_[kHeadings];
  }
  PutToControls();
}

bool FontPage::OnDialogEvent(int controlId, DialogEvent event) {
  for (int slot = 0; slot < kFontCount; ++slot) {
    const bool button = controlId == kFontButtons[slot] && event == DialogEvent::Click;
    const bool typed = controlId == kFontFields[slot] && event == DialogEvent::EditChange;
    if (button || typed) {
      PickFont(static_cast<FontSlot>(slot));
      return true;
    }
  }
  if (controlId == 1757 && event == DialogEvent::EditChange) {
    MarkChanged(FindValue(1757));
    EnableApply(1);
    return true;
  }
  if (controlId == 1757 && event == DialogEvent::KillFocus) {
    const int before = NumberOf(1757);
    if (TakeFromControls() && NumberOf(1757) != before)
      MarkChanged(FindValue(1757));
    PutToControls();
    return true;
  }
  return OutputPage::OnDialogEvent(controlId, event);
}

// ---- HyperlinksPage ----

void HyperlinksPage::LoadPolicies(FileControl& policies) {
  if (!IsChanged(1033))
    TextOf(1033) = JoinNames(policies.GetUsenetGroups());
  if (!IsChanged(1031) && !IsChanged(1034)) {
    const int level = policies.GetInt(P::CrossRefsAtLevel);
    NumberOf(1031) = level > 0 ? 1 : 0;
    NumberOf(1034) = level > 0 ? level : 0;
  }
  OptionPage::LoadPolicies(policies);
}

void HyperlinksPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  if (IsChanged(1033)) {
    SplitNames(TextOf(1033), policies.GetUsenetGroups());
    policies.UsenetGroupsSet() = 1;
    NoteChange(4);
  }
  if (IsChanged(1031) || IsChanged(1034)) {
    // Cross-references start at level 2 at the earliest: a lower level switches them off.
    const int level = NumberOf(1034);
    CorePolicy& policy = policies.Policy(P::CrossRefsAtLevel);
    StorePolicyNumber(policy, NumberOf(1031) != 0 && level >= 2 ? level : -1);
    if (sheet_ != nullptr)
      sheet_->GetHost().OnPolicyChanged(policy);
  }
}

void HyperlinksPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool news = NumberOf(1030) != 0;
  window_->Enable(1032, news);
  const bool moreGroups = news && NumberOf(1032) == 0;
  window_->Enable(1059, moreGroups);
  window_->Enable(1033, moreGroups);
  const bool crossRefs = NumberOf(1031) != 0;
  window_->Enable(1060, crossRefs);
  window_->Enable(1034, crossRefs);
  window_->Enable(1458, NumberOf(2029) != 0);
  window_->Enable(1459, NumberOf(9105) != 0);
  window_->Enable(1210, NumberOf(2029) || NumberOf(2030) || NumberOf(9105) ||
                            NumberOf(1275) || NumberOf(1276));
  // The line-break and browser-window options take no part on this page.
  for (int id : {1210, 1293, 1265, 1312, 1313})
    window_->ShowControl(id, false);
}

bool HyperlinksPage::OnDialogEvent(int controlId, DialogEvent event) {
  if ((controlId == 1033 || controlId == 1034) && event == DialogEvent::EditChange) {
    MarkChanged(FindValue(controlId));
    EnableApply(1);
    (void)TakeFromControls();
    UpdateControls();
    return true;
  }
  if (controlId == 1034 && event == DialogEvent::KillFocus)
    return true;
  const bool handled = OutputPage::OnDialogEvent(controlId, event);
  if (event == DialogEvent::Click && FindValue(controlId) >= 0)
    PutToControls();
  return handled;
}

// ---- FileGenRTFPage ----

void FileGenRTFPage::LoadPolicies(FileControl& policies) {
  OptionPage::LoadPolicies(policies);
  // An empty name shows the name the policy set worked out for a generated policy file.
  if (!IsChanged(1108) && TextOf(1108).empty())
    TextOf(1108) = policies.GetPolicyFileName().GetText();
  PutToControls();
}

void FileGenRTFPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool policyFile = NumberOf(2005) != 0;
  for (int id : {1107, 1108, 1109})
    window_->Enable(id, policyFile);
  window_->ShowControl(1510, false);
  PutToControls();
}

void FileGenRTFPage::ChoosePolicyFile() {
  DesktopPlatform* platform = Platform();
  if (platform == nullptr)
    return;
  (void)TakeFromControls();
  FileChooserRequest request;
  request.proposedName = TextOf(1108);
  request.filter = GetMessageText(87);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!platform->ChooseFiles(request, paths) || paths.empty())
    return;
  std::string path = paths.front();
  if (path.find('.') == std::string::npos)
    path += ".pol";
  TextOf(1108) = path;
  PutToControls();
  MarkChanged(FindValue(1108));
  EnableApply(1);
}

bool FileGenRTFPage::OnDialogEvent(int controlId, DialogEvent event) {
  if (controlId == 1109 && event == DialogEvent::Click) {
    ChoosePolicyFile();
    return true;
  }
  return OutputPage::OnDialogEvent(controlId, event);
}

// ---- PreProPage ----

void PreProPage::LoadPolicies(FileControl& policies) {
  if (!IsChanged(2055))
    TextOf(2055) = JoinNames(policies.GetDocumentSections());
  OptionPage::LoadPolicies(policies);
}

void PreProPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  if (!IsChanged(2055))
    return;
  SplitNames(TextOf(2055), policies.GetDocumentSections());
  policies.DocumentSectionsSet() = 1;
  NoteChange(4);
}

void PreProPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool on = NumberOf(2053) != 0;
  window_->Enable(1061, on);
  window_->Enable(2055, on);
}

// ---- MakeHelpPage ----

// The texts of the page and the ids of their policies in the help-file section.
struct HelpText {
  int controlId;
  int policyId;
};
static constexpr HelpText kHelpTexts[] = {
    {1710, 211}, {1712, 212}, {1714, 213}, {1716, 214}, {1720, 215}};
static constexpr int kHelpProjectPolicy = 210;

void MakeHelpPage::LoadPolicies(FileControl& policies) {
  PolicySection& section = policies.GetPolicyList().GetSection(kRtfHelpFilesSection);
  if (!IsChanged(1708))
    NumberOf(1708) = section.GetBool(kHelpProjectPolicy) != 0 ? 1 : 0;
  for (const HelpText& text : kHelpTexts) {
    if (!IsChanged(text.controlId))
      TextOf(text.controlId) = section.GetText(text.policyId).GetText();
  }
  OptionPage::LoadPolicies(policies);
}

void MakeHelpPage::SavePolicies(FileControl& policies) {
  OptionPage::SavePolicies(policies);
  PolicySection& section = policies.GetPolicyList().GetSection(kRtfHelpFilesSection);
  if (IsChanged(1708))
    (void)section.SetBool(kHelpProjectPolicy, NumberOf(1708), 1);
  for (const HelpText& text : kHelpTexts) {
    if (IsChanged(text.controlId))
      (void)section.SetText(text.policyId, TextString(TextOf(text.controlId).c_str()), 1);
  }
}

void MakeHelpPage::UpdateControls() {
  if (window_ == nullptr)
    return;
  const bool helpSource = NumberOf(1596) != 0;
  window_->Enable(1708, helpSource);
  const bool project = helpSource && NumberOf(1708) != 0;
  for (int id : {1707, 1709, 1710, 1711, 1712, 1713, 1714, 1761, 1715, 1716, 1719, 1720})
    window_->Enable(id, project);
  window_->Enable(1717, false);
  window_->Enable(1721, false);
  window_->ShowControl(1598, false);
  PaintColourSwatch(*window_, 1717, TextOf(1716), "Black");
  PaintColourSwatch(*window_, 1721, TextOf(1720), "Black");
}

void MakeHelpPage::PickColour(int buttonId, DesktopPlatform& platform) {
  const int field = buttonId == 1718 ? 1716 : 1720;
  TextString result(TextOf(field).c_str());
  (void)ChooseColour(platform, TextOf(field), result);
  TextOf(field) = result.GetText();
  UpdateControls();
  PutToControls();
  // Marked whatever the chooser returned, the same colour or Cancel included.
  MarkChanged(FindValue(field));
  EnableApply(1);
  UpdateControls();
  PutToControls();
}

bool MakeHelpPage::OnDialogEvent(int controlId, DialogEvent event) {
  if ((controlId == 1718 || controlId == 1722) && event == DialogEvent::Click) {
    if (DesktopPlatform* platform = Platform())
      PickColour(controlId, *platform);
    return true;
  }
  const int index = FindValue(controlId);
  const bool isText =
      index >= 0 && definition_.values[static_cast<std::size_t>(index)].kind == PageValueKind::Text;
  if (isText && event == DialogEvent::EditChange) {
    MarkChanged(index);
    EnableApply(1);
    (void)TakeFromControls();
    return true;
  }
  const bool handled = OutputPage::OnDialogEvent(controlId, event);
  if (isText && event == DialogEvent::KillFocus)
    UpdateControls();
  return handled;
}
