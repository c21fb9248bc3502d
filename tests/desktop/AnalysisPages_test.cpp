// The pages of the analysis sheet on the headless backend: their policy keys, value mappings,
// records, enable rules, mirrored switches, the heading-level dialogs and a round trip of
// every control of every page.
#include <functional>
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/HeadingDialogs.h"
#include "pages/OptionSheets.h"
#include "pages/PageDefinitions.h"
#include "platform/DialogTemplate.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/HeadDetails.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"

namespace {

// The tab of each page of the analysis sheet.
enum AnalysisTab : int {
  kTabLookFor = 0,
  kTabAnalysis = 1,
  kTabBullets = 2,
  kTabContents = 3,
  kTabFileStruct = 4,
  kTabHeading = 5,
  kTabPreFormat = 6,
  kTabTables = 7,
};

const PageDefinition* const kPages[] = {&kLookForPage,    &kAnalysisPage,  &kBulletsPage,
                                        &kContentsPage,   &kFileStructPage, &kHeadingPage,
                                        &kPreFormatPage,  &kTabAnalPage};

class AnalysisPagesTest : public DesktopTest {
 protected:
  AnalysisPagesTest() { MakeDialog(); }

  FileControl& Set() { return dialog->SheetChanges(); }
  // The set's values as the sheet loads them.
  void Pending() { dialog->SetSheetChangesPending(1); }
  // The sheet loads the set as it stands (opening it applies the main dialog's derived
  // defaults first).
  void Reload() { Sheet().LoadPolicies(Set()); }
  HeadlessSheet* Window() { return platform.FindSheet(kSheetAnalysisId); }
  SheetAnalysis& Sheet() { return *dialog->Sheets().GetAnalysisSheet(); }
  OptionPage& Page(std::string_view name) { return *Sheet().FindPage(name); }
  HeadlessDialog* Open(int tab) {
    ShowAnalysisPolicies(*dialog, 0);
    EXPECT_TRUE(Window()->ClickTab(tab));
    return Window()->ActivePage();
  }
  void Type(HeadlessDialog* page, int id, const std::string& text) {
    page->SetFocus(id);
    page->SetText(id, text);
    page->Fire(id, DialogEvent::EditChange);
    page->Fire(id, DialogEvent::KillFocus);
  }
  void Apply() { Window()->Press(kSheetApply); }
  // A value of the loaded set, set explicitly so no derived default replaces it.
  static void Given(ScalarPolicy& policy, int value) {
    policy.value = value;
    policy.set = 1;
  }
};

PolicyKind ExpectedKind(PageValueKind kind) {
  switch (kind) {
    case PageValueKind::Check:
    case PageValueKind::InvertedCheck:
    case PageValueKind::Radio:
    case PageValueKind::RadioFirstYes:
      return PolicyKind::Bool;
    case PageValueKind::Number:
    case PageValueKind::NumberUnset:
    case PageValueKind::NumberFloored:
    case PageValueKind::Slider:
      return PolicyKind::Int;
    case PageValueKind::Text:
      return PolicyKind::Text;
    case PageValueKind::DropList:
      return PolicyKind::Align;
  }
  return PolicyKind::Int;
}

// The registry's kind of a value's key: the set's own policies or the table policies.
PolicyKind RegisteredKind(const PageValue& value) {
  if (!(value.flags & kValueTablePolicy))
    return FindPolicyRow(value.policyKey)->kind;
  for (const TablePolicyRow& row : TablePolicyRows()) {
    if (row.key == value.policyKey)
      return row.kind;
  }
  ADD_FAILURE() << "no table policy " << value.policyKey;
  return PolicyKind::Int;
}

TEST_F(AnalysisPagesTest, EveryKeyResolvesToAPolicyOfTheKindThePageExpects) {
  for (const PageDefinition* page : kPages) {
    for (const PageValue& value : page->values) {
      if (value.policyKey.empty())
        continue;
      SCOPED_TRACE(std::string(page->className) + ": " + std::string(value.policyKey));
      const CorePolicy* policy = FindValuePolicy(Set(), value);
      ASSERT_NE(policy, nullptr);
      EXPECT_EQ(policy->key.GetText(), value.policyKey);
      EXPECT_EQ(RegisteredKind(value), ExpectedKind(value.kind));
    }
  }
}

TEST(AnalysisPageDefinitions, EveryValueIsAControlOfItsTemplateOfAFittingKind) {
  for (const PageDefinition* page : kPages) {
    for (const PageValue& value : page->values) {
      SCOPED_TRACE(::testing::Message() << page->className << " " << value.controlId);
      const ControlTemplate* found = nullptr;
      for (const ControlTemplate& control : page->dialog->controls) {
        if (control.id == value.controlId)
          found = &control;
      }
      ASSERT_NE(found, nullptr);
      switch (value.kind) {
        case PageValueKind::Check:
        case PageValueKind::InvertedCheck: EXPECT_EQ(found->kind, ControlKind::CheckBox); break;
        case PageValueKind::Radio:
        case PageValueKind::RadioFirstYes: EXPECT_EQ(found->kind, ControlKind::Radio); break;
        case PageValueKind::Number:
        case PageValueKind::NumberUnset:
        case PageValueKind::NumberFloored:
          EXPECT_EQ(found->kind, ControlKind::Edit);
          EXPECT_NE(found->flags & kControlNumber, 0u);
          break;
        case PageValueKind::Text: EXPECT_EQ(found->kind, ControlKind::Edit); break;
        case PageValueKind::Slider: EXPECT_EQ(found->kind, ControlKind::Slider); break;
        case PageValueKind::DropList: EXPECT_EQ(found->kind, ControlKind::DropList); break;
      }
    }
  }
}

// ---- AnalysisPage ----

struct IndentCase {
  const char* text;
  int count;
  std::vector<int> positions;  // the six slots
};
const IndentCase kIndentCases[] = {
    {"4 8 x 12", 4, {4, 8, -1, 12, -1, -1}},
    {"1 2 3 4 5 6 7 8", 6, {1, 2, 3, 4, 5, 6}},
    {"  10   20 ", 2, {10, 20, -1, -1, -1, -1}},
    {"", 0, {-1, -1, -1, -1, -1, -1}},
};

TEST_F(AnalysisPagesTest, IndentationPositionsSaveUpToSixWords) {
  for (const IndentCase& c : kIndentCases) {
    SCOPED_TRACE(c.text);
    HeadlessDialog* page = Open(kTabAnalysis);
    Type(page, 2022, c.text);
    Apply();
    const FileControl::IndentPositions& record = Set().GetIndentPositions();
    EXPECT_EQ(record.count, c.count);
    EXPECT_EQ(std::vector<int>(record.positions, record.positions + 6), c.positions);
    EXPECT_EQ(record.present, 1);
    EXPECT_EQ(record.setExplicitly, 1);
    Window()->Press(kSheetCancel);
  }
}

TEST_F(AnalysisPagesTest, IndentationPositionsShowEachFollowedByABlank) {
  FileControl::IndentPositions& record = Set().GetIndentPositions();
  record.count = 3;
  record.positions[0] = 4;
  record.positions[1] = 8;
  record.positions[2] = 16;
  Pending();
  EXPECT_EQ(Open(kTabAnalysis)->GetText(2022), "4 8 16 ");
}

TEST_F(AnalysisPagesTest, UncheckingDefinitionsDisablesItsDependantsAndClearsTheMirroredSwitch) {
  Given(Set().Bool(PolicyId::SearchForDefinitions), 1);
  Pending();
  HeadlessDialog* page = Open(kTabAnalysis);
  if (!page->GetCheck(1200))
    page->ClickCheck(1200);
  const int dependants[] = {1051, 1052, 1053, 1054, 1055, 1024, 1201, 1068};
  page->SetCheck(1051, 1);
  page->Fire(1051, DialogEvent::Click);
  EXPECT_TRUE(page->IsEnabled(1053));
  page->ClickCheck(1200);
  for (const int id : dependants) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(page->IsEnabled(id));
  }
  OptionPage& lookFor = Page("LookForPage");
  EXPECT_EQ(lookFor.GetNumber(1245), 0);
  EXPECT_EQ(lookFor.IsChanged(1245), 1);
  ASSERT_TRUE(Window()->ClickTab(kTabLookFor));
  EXPECT_EQ(Window()->ActivePage()->GetCheck(1245), 0);
  Window()->Press(kSheetOk);
  EXPECT_EQ(Set().GetInt(PolicyId::SearchForDefinitions), 0);
}

TEST_F(AnalysisPagesTest, DefinitionCharactersLoadAndSaveTheirRecord) {
  HeadlessDialog* page = Open(kTabAnalysis);
  FileControl::DefinitionChars& chars = Set().GetDefinitionChars();
  chars = FileControl::DefinitionChars{1, 0, 0, 1, 0};
  Given(Set().Bool(PolicyId::SearchForDefinitions), 1);
  Reload();
  EXPECT_EQ(page->GetCheck(1051), 1);
  EXPECT_EQ(page->GetCheck(1053), 0);
  EXPECT_EQ(page->GetCheck(1052), 0);
  EXPECT_FALSE(page->IsEnabled(1054)) << "colon strong needs the colon";
  page->ClickCheck(1053);
  page->ClickCheck(1052);
  Apply();
  EXPECT_EQ(chars.dashAccepted, 1);
  EXPECT_EQ(chars.dashStrong, 1);
  EXPECT_EQ(chars.colonAccepted, 1);
  EXPECT_EQ(chars.colonStrong, 1) << "an unchanged field keeps its value";
  EXPECT_EQ(chars.setExplicitly, 1);
}

// ---- BulletsPage and LookForPage ----

TEST_F(AnalysisPagesTest, BulletCharactersAreARecordOfAtMostSixCharacters) {
  FileControl::BulletChars& record = Set().GetBulletChars();
  record.count = 2;
  record.chars[0] = '*';
  record.chars[1] = '+';
  Given(Set().Bool(PolicyId::LookForBullets), 1);
  Pending();
  HeadlessDialog* page = Open(kTabBullets);
  EXPECT_EQ(page->GetText(2024), "*+");
  page->SetText(2024, "#=~!@$%");
  page->Fire(2024, DialogEvent::EditChange);
  Apply();
  EXPECT_EQ(record.count, 6);
  EXPECT_EQ(std::string(record.chars, record.chars + 6), "#=~!@$");
  EXPECT_EQ(record.setExplicitly, 1);
}

TEST_F(AnalysisPagesTest, LookForSwitchesCheckTheirPagesAndEnableTheirDependants) {
  Given(Set().Bool(PolicyId::LookForBullets), 0);
  Given(Set().Bool(PolicyId::AttemptTABLEGeneration), 0);
  Given(Set().Bool(PolicyId::LookForPreformattedText), 1);
  Pending();
  HeadlessDialog* page = Open(kTabLookFor);
  page->ClickCheck(1244);
  page->ClickCheck(1249);
  ASSERT_TRUE(Window()->ClickTab(kTabBullets));
  EXPECT_EQ(Window()->ActivePage()->GetCheck(1246), 1);
  EXPECT_TRUE(Window()->ActivePage()->IsEnabled(1019));
  ASSERT_TRUE(Window()->ClickTab(kTabTables));
  EXPECT_EQ(Window()->ActivePage()->GetCheck(1132), 1);
  EXPECT_TRUE(Window()->ActivePage()->IsEnabled(1784));

  // Unchecking the pre-formatted regions disables the two switches without changing them.
  ASSERT_TRUE(Window()->ClickTab(kTabLookFor));
  page = Window()->ActivePage();
  page->ClickCheck(1257);
  EXPECT_FALSE(page->IsEnabled(1249));
  EXPECT_FALSE(page->IsEnabled(1250));
  EXPECT_EQ(page->GetCheck(1249), 1);
  EXPECT_FALSE(page->IsEnabled(1387));
}

// ---- ContentsPage ----

TEST_F(AnalysisPagesTest, ContentsPageShowsOnlyItsDiagnosticsAndResetsTheChoiceUnmarked) {
  HeadlessDialog* page = Open(kTabContents);
  Given(Set().Bool(PolicyId::ExpectContentsList), 1);
  Given(Set().Bool(PolicyId::UseAnyExistingContentsList), 1);
  Set().Policy(PolicyId::UseAnyExistingContentsList).set = 0;
  Reload();
  EXPECT_EQ(page->GetCheck(1188), 1);
  for (const int id : {1407, 1058, 1187, 1188, 1251, 1082, 1119, 1120})
    EXPECT_FALSE(page->IsControlShown(id)) << id;
  EXPECT_TRUE(page->IsControlShown(1057));
  page->ClickCheck(1057);
  EXPECT_EQ(page->GetCheck(1187), 1) << "back to the first choice";
  EXPECT_EQ(Page("ContentsPage").IsChanged(1187), 0);
  Apply();
  EXPECT_EQ(Set().Policy(PolicyId::UseAnyExistingContentsList).set, 0);
  EXPECT_EQ(Set().GetInt(PolicyId::ExpectContentsList), 0);
}

// ---- FileStructPage ----

struct JustificationCase {
  int value;
  int shownIndex;
  const char* shown;
};
const JustificationCase kJustificationCases[] = {
    {0, 0, "Auto-Detect"}, {1, 1, "Left"},      {2, 4, "Center"},
    {3, 2, "Right"},       {4, 3, "Justified"}, {7, 0, "Auto-Detect"},
};

TEST_F(AnalysisPagesTest, JustificationListMapsIndexAndValue) {
  for (const JustificationCase& c : kJustificationCases) {
    SCOPED_TRACE(c.value);
    HeadlessDialog* page = Open(kTabFileStruct);
    Given(Set().Align(PolicyId::TextJustification), c.value);
    Reload();
    ASSERT_EQ(page->GetItemCount(1042), 5);
    EXPECT_EQ(page->GetSelection(1042), c.shownIndex);
    EXPECT_EQ(page->GetItemText(1042, c.shownIndex), c.shown);
    Window()->Press(kSheetCancel);
  }
}

TEST_F(AnalysisPagesTest, ChoosingRightSavesThreeAndALanguageSwitchKeepsTheChoice) {
  HeadlessDialog* page = Open(kTabFileStruct);
  page->SetSelection(1042, 2);
  page->Fire(1042, DialogEvent::SelectionChange);
  Sheet().SetLanguage(0);
  EXPECT_EQ(page->GetItemCount(1042), 5);
  EXPECT_EQ(page->GetSelection(1042), 2);
  Apply();
  EXPECT_EQ(Set().GetInt(PolicyId::TextJustification), 3);
  EXPECT_EQ(Set().Policy(PolicyId::TextJustification).set, 1);
}

// ---- PreFormatPage ----

TEST_F(AnalysisPagesTest, PreFormatMinimumShowsZeroForUnsetAndSavesNothingUnchanged) {
  HeadlessDialog* page = Open(kTabPreFormat);
  Given(Set().Int(PolicyId::MinimumAutomaticPRESize), -1);
  Set().Int(PolicyId::MinimumAutomaticPRESize).set = 0;
  Reload();
  EXPECT_EQ(page->GetText(1097), "0");
  EXPECT_FALSE(page->IsControlShown(2056));
  Apply();
  EXPECT_EQ(Set().Policy(PolicyId::MinimumAutomaticPRESize).set, 0);
}

// ---- TabAnalPage ----

TEST_F(AnalysisPagesTest, SliderPutBackWhereItStartedChangesNothing) {
  HeadlessDialog* page = Open(kTabTables);
  const int start = page->GetValue(1489);
  page->SetValue(1489, start);
  page->Fire(1489, DialogEvent::Scroll);
  EXPECT_EQ(Page("TabAnalPage").IsChanged(1489), 0);
  EXPECT_FALSE(Window()->IsEnabled(kSheetApply));
  page->SetValue(1494, 9);
  page->Fire(1494, DialogEvent::Scroll);
  EXPECT_EQ(Page("TabAnalPage").IsChanged(1494), 1);
  Apply();
  EXPECT_EQ(Set().GetDefaultTabPolicy()->Int(TablePolicyId::ColumnMergingFactor).value, 9);
}

TEST_F(AnalysisPagesTest, LayoutBoxStaysEnabledWhileALayoutIsTypedAndFollowsTableSwitch) {
  Given(Set().Bool(PolicyId::AttemptTABLEGeneration), 1);
  Pending();
  HeadlessDialog* page = Open(kTabTables);
  EXPECT_TRUE(page->IsEnabled(1204));
  EXPECT_FALSE(page->IsEnabled(1782));
  page->SetText(9107, "3");
  page->Fire(9107, DialogEvent::EditChange);
  EXPECT_TRUE(page->IsEnabled(9107)) << "the first character keeps the box enabled";
  EXPECT_TRUE(page->IsEnabled(1746));
  EXPECT_TRUE(page->IsEnabled(1782));
  for (const int id : {1204, 1496, 1783, 9006, 1494})
    EXPECT_FALSE(page->IsEnabled(id)) << id;
  page->ClickCheck(1132);
  EXPECT_FALSE(page->IsEnabled(9107));
  EXPECT_FALSE(page->IsEnabled(1746));
  EXPECT_TRUE(page->IsEnabled(1489)) << "the extending slider stays";
  EXPECT_EQ(Page("LookForPage").GetNumber(1249), 0);
}

TEST_F(AnalysisPagesTest, ZeroWidthColumnsCheckedAloneIsSavedByOk) {
  HeadlessDialog* page = Open(kTabTables);
  Given(Set().Bool(PolicyId::AttemptTABLEGeneration), 1);
  Set().GetDefaultTabPolicy()->Text(TablePolicyId::Layout).value = "3, 10,20,30";
  Reload();
  ASSERT_TRUE(page->IsEnabled(1782));
  ASSERT_EQ(Sheet().IsModified(), 0);
  page->ClickCheck(1782);
  const int checked = page->GetCheck(1782);
  Window()->Press(kSheetOk);
  EXPECT_FALSE(Sheet().HasWindow());
  EXPECT_EQ(Set().GetDefaultTabPolicy()->Bool(TablePolicyId::ZeroWidthBoundaries).value, checked);
}

// ---- HeadingPage and its dialogs ----

class HeadingLevelsTest : public AnalysisPagesTest {
 protected:
  HeadingLevelsTest() {
    FileControl::RecognisedHeadings& headings = Set().GetRecognisedHeadings();
    headings.count = 2;
    Given(Set().Bool(PolicyId::ExpectNumberedHeadings), 1);
    Pending();
  }
  // Opens the heading-levels dialog, running script inside it.
  void Advanced(std::function<int(HeadlessDialog&)> script) {
    platform.modalScripts[kDialogHeadingLevels] = std::move(script);
    HeadlessDialog* page = Open(kTabHeading);
    page->Fire(1592, DialogEvent::Click);
  }
};

TEST_F(HeadingLevelsTest, RowsFollowTheCountAndTheNumberedSwitch) {
  Advanced([](HeadlessDialog& d) {
    EXPECT_TRUE(d.IsEnabled(1166));
    EXPECT_FALSE(d.IsEnabled(1167));
    EXPECT_FALSE(d.IsEnabled(9004));
    EXPECT_FALSE(d.IsEnabled(1033));
    d.SetText(2028, "3");
    d.Fire(2028, DialogEvent::EditChange);
    EXPECT_TRUE(d.IsEnabled(1167));
    EXPECT_TRUE(d.IsEnabled(9004));
    EXPECT_FALSE(d.IsEnabled(1037)) << "level texts are never edited directly";
    d.ClickCheck(2015);
    for (const int id : {2028, 1400, 1165, 9002})
      EXPECT_FALSE(d.IsEnabled(id)) << id;
    return 2;
  });
}

TEST_F(HeadingLevelsTest, LevelCountOutsideZeroToSixIsRefused) {
  Advanced([this](HeadlessDialog& d) {
    d.SetText(2028, "7");
    d.Fire(2028, DialogEvent::EditChange);
    d.Fire(1, DialogEvent::Click);
    EXPECT_TRUE(d.IsInModalLoop()) << "the dialog stays";
    EXPECT_EQ(platform.messages.size(), 1u);
    if (!platform.messages.empty()) {
      EXPECT_EQ(platform.messages.back().text, "Please enter an integer between 0 and 6.");
    }
    d.SetText(2028, "6");
    d.Fire(1, DialogEvent::Click);
    EXPECT_FALSE(d.IsInModalLoop());
    return 1;
  });
  Apply();
  EXPECT_EQ(Set().GetRecognisedHeadings().count, 6);
  EXPECT_EQ(Set().Policy(PolicyId::ExpectSecondWordHeadings).set, 1);
}

TEST_F(HeadingLevelsTest, DetailsDialogEditsACopyOfOneLevel) {
  platform.modalScripts[kDialogHeadDetails] = [](HeadlessDialog& d) {
    d.SetCheck(1160, 0);
    d.SetCheck(1163, 1);
    d.SetText(1154, "Part");
    d.Fire(1, DialogEvent::Click);
    return 1;
  };
  std::string shown;
  Advanced([&shown](HeadlessDialog& d) {
    d.Fire(1166, DialogEvent::Click);
    shown = d.GetText(2036);
    EXPECT_TRUE(HeadingLevels::IsOpen());
    d.Fire(1, DialogEvent::Click);
    return 1;
  });
  EXPECT_NE(shown.find("\"Part\""), std::string::npos) << shown;
  EXPECT_NE(shown.find("A"), std::string::npos) << shown;
  EXPECT_EQ(Set().GetRecognisedHeadings().headings[1].style, HeadDetails::kDecimal)
      << "the set is changed by saving only";
  Apply();
  EXPECT_EQ(Set().GetRecognisedHeadings().headings[1].style, HeadDetails::kUpperAlpha);
  EXPECT_FALSE(HeadingLevels::IsOpen());
}

TEST_F(HeadingLevelsTest, SecondClickWhileOpenDoesNothing) {
  int opened = 0;
  platform.modalScripts[kDialogHeadingLevels] = [&](HeadlessDialog&) {
    ++opened;
    Window()->ActivePage()->Fire(1592, DialogEvent::Click);
    return 2;
  };
  Open(kTabHeading)->Fire(1592, DialogEvent::Click);
  EXPECT_EQ(opened, 1);
}

// ---- Round trip: every control of every page changed and saved ----

// The changed control's value, and the policy value it must save.
struct Change {
  int shown;
  int saved;
};

Change ChangeControl(HeadlessDialog& page, const PageValue& value) {
  const int id = value.controlId;
  switch (value.kind) {
    case PageValueKind::Check:
    case PageValueKind::InvertedCheck: {
      page.ClickCheck(id);
      const int checked = page.GetCheck(id);
      return {checked, value.kind == PageValueKind::Check ? checked : 1 - checked};
    }
    case PageValueKind::Radio:
    case PageValueKind::RadioFirstYes: {
      const int button = page.GetCheck(id) ? 1 : 0;
      page.SetCheck(id, button == 0);
      page.SetCheck(id + 1, button == 1);
      page.Fire(id + button, DialogEvent::Click);
      const int yes = value.kind == PageValueKind::Radio ? button : 1 - button;
      return {button, yes};
    }
    case PageValueKind::Number:
    case PageValueKind::NumberUnset:
    case PageValueKind::NumberFloored: {
      const int number = (value.flags & kValueRanged) ? value.low + 3 : 42;
      page.SetFocus(id);
      page.SetText(id, std::to_string(number));
      page.Fire(id, DialogEvent::EditChange);
      page.Fire(id, DialogEvent::KillFocus);
      return {number, number};
    }
    case PageValueKind::Slider: {
      const int position = page.GetValue(id) == 2 ? 8 : 2;
      page.SetValue(id, position);
      page.Fire(id, DialogEvent::Scroll);
      return {position, position};
    }
    case PageValueKind::DropList:
      page.SetSelection(id, 3);
      page.Fire(id, DialogEvent::SelectionChange);
      return {3, 4};
    case PageValueKind::Text:
      break;
  }
  return {0, 0};
}

TEST_F(AnalysisPagesTest, EveryPageSavesEveryChangedControl) {
  ShowAnalysisPolicies(*dialog, 0);
  // A loaded set whose values differ from the defaults where they can; the contents list is
  // expected once clicked, so its choice is kept.
  Given(Set().Int(PolicyId::PageWidth), 100);
  Given(Set().Bool(PolicyId::LookForPreformattedText), 1);
  Given(Set().Bool(PolicyId::LookForHorizontalRulers), 1);
  Given(Set().Bool(PolicyId::SearchForDefinitions), 1);
  Given(Set().Bool(PolicyId::ExpectContentsList), 0);
  Set().Text(PolicyId::HeadingKeyPhrases).value = "Chapter";
  Reload();
  for (int tab = 0; tab < 8; ++tab) {
    ASSERT_TRUE(Window()->ClickTab(tab));
    const PageDefinition& definition = *kPages[tab];
    SCOPED_TRACE(definition.className);
    HeadlessDialog& page = *Window()->ActivePage();
    std::vector<Change> changes;
    for (const PageValue& value : definition.values) {
      if (value.kind == PageValueKind::Text) {
        page.SetText(value.controlId, "t" + std::to_string(value.controlId));
        page.Fire(value.controlId, DialogEvent::EditChange);
        page.Fire(value.controlId, DialogEvent::KillFocus);
        changes.push_back({});
        continue;
      }
      // Controls made disabled by others stay reachable for the test: their values still
      // belong to the page.
      changes.push_back(ChangeControl(page, value));
    }
    Apply();
    for (std::size_t i = 0; i < definition.values.size(); ++i) {
      const PageValue& value = definition.values[i];
      SCOPED_TRACE(value.controlId);
      const CorePolicy* policy = FindValuePolicy(Set(), value);
      if (policy == nullptr)
        continue;
      EXPECT_EQ(policy->set, 1);
      if (value.kind == PageValueKind::Text) {
        EXPECT_EQ(static_cast<const TextValuePolicy*>(policy)->value.GetText(),
                  "t" + std::to_string(value.controlId));
        continue;
      }
      // Mirrored switches are changed twice over; the last change wins on both pages.
      if (value.policyKey == "Search for definitions" || value.policyKey == "Look for bullets" ||
          value.policyKey == "Attempt TABLE generation")
        continue;
      EXPECT_EQ(static_cast<const ScalarPolicy*>(policy)->value, changes[i].saved);
    }
  }
}

}  // namespace
