// The option sheets on the headless backend: the page protocol (change flags kept across
// closings, what OK and Apply save), the sheets' pages and page codes, and their windows.
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "lang/InterfaceTexts.h"
#include "pages/OptionSheets.h"
#include "pages/PageDefinitions.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"

namespace {

// Tab positions used below.
constexpr int kAnalysisTabAnalysis = 1;
constexpr int kAnalysisTabBullets = 2;
constexpr int kAnalysisTabTables = 7;

class OptionSheetsTest : public DesktopTest {
 protected:
  OptionSheetsTest() { MakeDialog(); }

  HeadlessSheet* AnalysisWindow() { return platform.FindSheet(kSheetAnalysisId); }
  SheetAnalysis& Analysis() { return *dialog->Sheets().GetAnalysisSheet(); }
  OptionPage& AnalysisPage(std::string_view name) { return *Analysis().FindPage(name); }

  const CorePolicy& Changes(PolicyId id) { return dialog->SheetChanges().Policy(id); }
  int ChangesValue(PolicyId id) { return dialog->SheetChanges().GetInt(id); }

  // A number typed into a field of the active page; with focus the field keeps the focus.
  void Type(int id, const std::string& text, bool focus) {
    HeadlessDialog* page = AnalysisWindow()->ActivePage();
    if (focus)
      page->SetFocus(id);
    page->SetText(id, text);
    page->Fire(id, DialogEvent::EditChange);
  }
};

TEST_F(OptionSheetsTest, ChangedCheckBoxSurvivesCancelAndOkSavesIt) {
  ShowAnalysisPolicies(*dialog, 3);
  HeadlessSheet* window = AnalysisWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->GetActivePage(), kAnalysisTabBullets);
  const int before = window->ActivePage()->GetCheck(1019);
  window->ActivePage()->ClickCheck(1019);
  EXPECT_TRUE(window->IsEnabled(kSheetApply));
  window->Press(kSheetCancel);
  EXPECT_FALSE(Analysis().HasWindow());
  EXPECT_EQ(Changes(PolicyId::ExpectNumberedBullets).set, 0) << "Cancel saves nothing";

  ShowAnalysisPolicies(*dialog, 3);
  window = AnalysisWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->ActivePage()->GetCheck(1019), before ? 0 : 1) << "the change is still shown";
  EXPECT_EQ(AnalysisPage("BulletsPage").IsChanged(1019), 1) << "and still marked";
  EXPECT_EQ(platform.sheets.size(), 1u);

  window->Press(kSheetOk);
  EXPECT_FALSE(Analysis().HasWindow());
  EXPECT_EQ(Changes(PolicyId::ExpectNumberedBullets).set, 1);
  EXPECT_EQ(ChangesValue(PolicyId::ExpectNumberedBullets), before ? 0 : 1);
  EXPECT_EQ(dialog->AreSheetChangesPending(), 1);
  // Only the changed value was saved.
  EXPECT_EQ(Changes(PolicyId::ExpectAlphabeticBullets).set, 0);
}

TEST_F(OptionSheetsTest, ApplySavesATypedNumberWithoutMarkingTheSheetModified) {
  ShowAnalysisPolicies(*dialog, 2);
  ASSERT_EQ(AnalysisWindow()->GetActivePage(), kAnalysisTabAnalysis);
  Type(1039, "100", false);
  EXPECT_TRUE(AnalysisWindow()->IsEnabled(kSheetApply));
  EXPECT_EQ(Analysis().IsModified(), 0);
  AnalysisWindow()->Press(kSheetApply);
  EXPECT_EQ(ChangesValue(PolicyId::PageWidth), 100);
  EXPECT_EQ(Changes(PolicyId::PageWidth).set, 1);
  EXPECT_EQ(Analysis().IsModified(), 0);
  EXPECT_FALSE(AnalysisWindow()->IsEnabled(kSheetApply)) << "nothing is left to apply";
  EXPECT_TRUE(Analysis().HasWindow()) << "Apply keeps the sheet open";
}

TEST_F(OptionSheetsTest, OkSavesATypedNumberOnlyWhenItsLossOfFocusMarkedTheSheet) {
  // Typed while the field has no focus: nothing marks the sheet, OK saves nothing.
  ShowAnalysisPolicies(*dialog, 2);
  Type(1039, "120", false);
  AnalysisWindow()->Press(kSheetOk);
  EXPECT_EQ(Changes(PolicyId::PageWidth).set, 0);

  // Typed in the focused field: pressing OK takes the focus first, which marks the sheet.
  ShowAnalysisPolicies(*dialog, 2);
  Type(1039, "130", true);
  AnalysisWindow()->Press(kSheetOk);
  EXPECT_EQ(Changes(PolicyId::PageWidth).set, 1);
  EXPECT_EQ(ChangesValue(PolicyId::PageWidth), 130);
}

TEST_F(OptionSheetsTest, NumberOutsideItsRangeKeepsThePageAndSavesNothing) {
  ShowAnalysisPolicies(*dialog, 2);
  Type(1039, "30", false);
  AnalysisWindow()->Press(kSheetApply);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Please enter an integer between 40 and 256.");
  EXPECT_EQ(Changes(PolicyId::PageWidth).set, 0);
  EXPECT_FALSE(AnalysisWindow()->ClickTab(kAnalysisTabBullets)) << "the page stays active";
  EXPECT_EQ(AnalysisWindow()->GetActivePage(), kAnalysisTabAnalysis);
  AnalysisWindow()->Press(kSheetOk);
  EXPECT_TRUE(Analysis().HasWindow()) << "OK is refused too";
}

TEST_F(OptionSheetsTest, ShortLineLengthZeroSavesUnsetAndUnsetShowsZero) {
  dialog->SheetChanges().Int(PolicyId::ShortLineLength).value = -1;
  dialog->SetSheetChangesPending(1);
  ShowAnalysisPolicies(*dialog, 2);
  EXPECT_EQ(AnalysisWindow()->ActivePage()->GetText(1040), "0");
  Type(1040, "0", false);
  AnalysisWindow()->Press(kSheetApply);
  EXPECT_EQ(ChangesValue(PolicyId::ShortLineLength), -1);
}

TEST_F(OptionSheetsTest, OpeningTheAnalysisSheetTwiceKeepsOneSheetAndChangesThePage) {
  ShowAnalysisPolicies(*dialog, 3);
  ShowAnalysisPolicies(*dialog, 39);
  EXPECT_EQ(platform.sheets.size(), 1u);
  EXPECT_EQ(AnalysisWindow()->GetActivePage(), kAnalysisTabTables);
  EXPECT_EQ(AnalysisWindow()->TimesBroughtToTop(), 1);
  // A code the sheet does not map leaves the active page.
  ShowAnalysisPolicies(*dialog, 12);
  EXPECT_EQ(AnalysisWindow()->GetActivePage(), kAnalysisTabTables);
}

// The tab each sheet reopens on after a tab was active when it closed.
struct ReopenCase {
  int sheetId;
  int closedOnTab;
  int reopensOnTab;
};
constexpr ReopenCase kReopenCases[] = {
    {kSheetAnalysisId, 7, 7},  // TabAnalPage, code 39
    {kSheetAnalysisId, 5, 5},  // HeadingPage, code 17
    {kSheetOutputId, 2, 2},    // FontPage, code 15
    {kSheetOutputId, 4, 4},    // HyperlinksPage, code 19
    {kSheetOutputId, 1, 0},    // FileGenRTFPage records 11: not mapped
    {kSheetOutputId, 3, 0},    // RTFFormatPage records 38: not mapped
    {kSheetOutputId, 6, 0},    // RTFSettingsPage records 9: the default page
    {kSheetConfigId, 2, 2},    // TDFPage, code 42
    {kSheetSettingsId, 2, 2},  // SettingsMessagesPage, code 36
    {kSheetSettingsId, 1, 1},  // SettingsDragPage, code 32
    {kSheetSettingsId, 0, 0},  // SettingsDocoPage, code 33
};

TEST_F(OptionSheetsTest, ReopensOnTheLastPageOnlyWhenItsCodeIsMapped) {
  MainDialogSheets& sheets = dialog->Sheets();
  for (const ReopenCase& c : kReopenCases) {
    SCOPED_TRACE(::testing::Message() << "sheet " << c.sheetId << " tab " << c.closedOnTab);
    BaseSheet* sheet = nullptr;
    switch (c.sheetId) {
      case kSheetAnalysisId: ShowAnalysisPolicies(*dialog, 0); sheet = sheets.GetAnalysisSheet(); break;
      case kSheetOutputId: ShowOutputPolicies(*dialog, 0); sheet = sheets.GetOutputSheet(); break;
      case kSheetConfigId: ShowConfigurationFiles(*dialog, 0); sheet = sheets.GetConfigSheet(); break;
      default: ShowSettingsSheet(*dialog, 0); sheet = sheets.GetSettingsSheet(); break;
    }
    HeadlessSheet* window = platform.FindSheet(c.sheetId);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->ClickTab(c.closedOnTab));
    window->Press(kSheetCancel);
    // The window's own initialisation, without an opener's page.
    sheet->Open();
    EXPECT_EQ(platform.FindSheet(c.sheetId)->GetActivePage(), c.reopensOnTab);
    platform.FindSheet(c.sheetId)->Press(kSheetCancel);
  }
}

// Where a sheet opens for a saved position (work area 1280x1024, windows 400x300).
struct PlacementCase {
  int sheetId;
  WindowPosition saved;
  int left;
  int top;
};
constexpr PlacementCase kPlacementCases[] = {
    {kSheetAnalysisId, {50, 60}, 50, 60},
    {kSheetAnalysisId, {0, 0}, 0, 0},
    {kSheetAnalysisId, {50, -1}, 30, 694},
    {kSheetAnalysisId, {-1, 60}, 30, 694},
    {kSheetOutputId, {50, -5}, 850, 694},
    {kSheetConfigId, {-1, -1}, 30, 694},
    {kSheetSettingsId, {10, -1}, 540, 412},
};

TEST_F(OptionSheetsTest, SavedPositionWithANegativeCoordinateOpensAtTheDefault) {
  for (const PlacementCase& c : kPlacementCases) {
    SCOPED_TRACE(::testing::Message() << "sheet " << c.sheetId << " saved " << c.saved.left
                                      << "," << c.saved.top);
    ProgramSettings& settings = dialog->Settings();
    switch (c.sheetId) {
      case kSheetAnalysisId: settings.analysisSheet = c.saved; ShowAnalysisPolicies(*dialog, 0); break;
      case kSheetOutputId: settings.outputSheet = c.saved; ShowOutputPolicies(*dialog, 0); break;
      case kSheetConfigId: settings.configSheet = c.saved; ShowConfigurationFiles(*dialog, 0); break;
      default: settings.settingsSheet = c.saved; ShowSettingsSheet(*dialog, 0); break;
    }
    HeadlessSheet* window = platform.FindSheet(c.sheetId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetRect().left, c.left);
    EXPECT_EQ(window->GetRect().top, c.top);
    // Closing stores where the window stood.
    window->Move(c.left + 7, c.top + 3);
    window->Press(kSheetCancel);
    const WindowPosition stored = c.sheetId == kSheetAnalysisId ? settings.analysisSheet
                                  : c.sheetId == kSheetOutputId ? settings.outputSheet
                                  : c.sheetId == kSheetConfigId ? settings.configSheet
                                                                : settings.settingsSheet;
    EXPECT_EQ(stored.left, c.left + 7);
    EXPECT_EQ(stored.top, c.top + 3);
  }
}

// Each sheet's caption, and its tabs in order: the page template and the tab's caption.
struct TabRow {
  int templateId;
  const char* caption;
};
struct SheetTabsCase {
  int sheetId;
  const char* caption;
  std::vector<TabRow> tabs;
};

TEST_F(OptionSheetsTest, EachSheetShowsItsPagesInOrder) {
  const SheetTabsCase cases[] = {
      {kSheetOutputId, "Output policies for generated RTF file(s)",
       {{184, "Document details"}, {218, "File Generation"}, {173, "Fonts"}, {229, "Formatting"},
        {138, "Hyperlinks"}, {142, "Preprocessor"}, {193, "RTF Settings"}}},
      {kSheetAnalysisId, "Analysis policies for input text file(s)",
       {{171, "What to look for"}, {140, "Analysis"}, {129, "Bullets"}, {143, "Contents List"},
        {187, "File structure"}, {136, "Headings"}, {146, "Pre-formatted text"},
        {163, "Table analysis"}}},
      {kSheetConfigId, "Configuration Files",
       {{149, "Link Dictionary"}, {226, "Style Definition"}, {227, "Table Definitions"},
        {228, "Text Commands"}}},
      {kSheetSettingsId, "Program Settings",
       {{179, "Documentation"}, {176, "Drag'n'Drop"}, {180, "Messages"}, {178, "Policy files"},
        {177, "Viewers"}}},
  };
  SelectInterfaceLanguage(kLanguageEnglish);
  dialog->SetLanguage(kLanguageEnglish);
  ShowOutputPolicies(*dialog, 0);
  ShowAnalysisPolicies(*dialog, 0);
  ShowConfigurationFiles(*dialog, 0);
  ShowSettingsSheet(*dialog, 0);
  for (const SheetTabsCase& c : cases) {
    SCOPED_TRACE(c.caption);
    HeadlessSheet* window = platform.FindSheet(c.sheetId);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(window->GetTitle(), c.caption);
    EXPECT_EQ(window->GetText(kSheetOk), "OK");
    ASSERT_EQ(window->GetPageCount(), static_cast<int>(c.tabs.size()));
    for (std::size_t i = 0; i < c.tabs.size(); ++i) {
      EXPECT_EQ(window->Page(static_cast<int>(i))->GetTemplateId(), c.tabs[i].templateId);
      EXPECT_EQ(window->GetPageCaption(static_cast<int>(i)), c.tabs[i].caption);
    }
  }
  // The help-file page belongs to the output sheet without a tab.
  EXPECT_NE(dialog->Sheets().GetOutputSheet()->FindPage("MakeHelpPage"), nullptr);
}

TEST_F(OptionSheetsTest, PagesCarryTheirTemplatesControlsAndTexts) {
  SelectInterfaceLanguage(kLanguageEnglish);
  ShowOutputPolicies(*dialog, 12);
  HeadlessDialog* fileGeneration = platform.FindSheet(kSheetOutputId)->ActivePage();
  ASSERT_EQ(fileGeneration->GetTemplateId(), kPageFileGenRTF);
  // Built from 218, re-texted with the texts of 235.
  EXPECT_EQ(fileGeneration->GetText(1107), "Filename");
  EXPECT_TRUE(fileGeneration->HasControl(1108));
  EXPECT_FALSE(fileGeneration->IsControlShown(1510));
  // The note of the first analysis page is never enabled.
  ShowAnalysisPolicies(*dialog, 20);
  HeadlessDialog* lookFor = AnalysisWindow()->ActivePage();
  EXPECT_FALSE(lookFor->IsEnabled(1387));
  EXPECT_TRUE(lookFor->IsEnabled(1238));
}

TEST_F(OptionSheetsTest, LanguageSwitchRetextsAnOpenSheet) {
  SelectInterfaceLanguage(kLanguageEnglish);
  ShowConfigurationFiles(*dialog, 0);
  HeadlessSheet* window = platform.FindSheet(kSheetConfigId);
  window->SetPageCaption(1, "stale");
  SelectInterfaceLanguage(kLanguageGerman);
  dialog->Sheets().SetLanguage(kLanguageGerman);
  EXPECT_NE(window->GetPageCaption(1), "stale");
  EXPECT_NE(window->GetPageCaption(1), "Style Definition");
  SelectInterfaceLanguage(kLanguageEnglish);
  dialog->Sheets().SetLanguage(kLanguageEnglish);
  EXPECT_EQ(window->GetPageCaption(1), "Style Definition");
}

TEST_F(OptionSheetsTest, LoadingKeepsChangedValuesAndResetClearsTheFlags) {
  ShowAnalysisPolicies(*dialog, 2);
  Type(1199, "4", true);
  AnalysisWindow()->ActivePage()->SetFocus(0);
  AnalysisWindow()->ActivePage()->Fire(1199, DialogEvent::KillFocus);
  // The calculated policies of a run reach the open sheet; the typed value stays.
  dialog->AnalysisPassPolicies().Int(PolicyId::TABSize).value = 12;
  dialog->AnalysisPassPolicies().Int(PolicyId::PageWidth).value = 99;
  dialog->Sheets().RefreshAnalysisSheet();
  EXPECT_EQ(AnalysisWindow()->ActivePage()->GetText(1199), "4");
  EXPECT_EQ(AnalysisWindow()->ActivePage()->GetText(1039), "99");
  dialog->Sheets().ResetChangeFlags();
  EXPECT_EQ(Analysis().IsModified(), 1) << "only the settings sheet clears its modified flag";
  dialog->Sheets().RefreshAnalysisSheet();
  EXPECT_EQ(AnalysisWindow()->ActivePage()->GetText(1199), "12");
}

TEST_F(OptionSheetsTest, TitleBarCloseActsAsCancel) {
  ShowAnalysisPolicies(*dialog, 3);
  AnalysisWindow()->ActivePage()->ClickCheck(1020);
  EXPECT_FALSE(AnalysisWindow()->Close());
  EXPECT_FALSE(Analysis().HasWindow());
  EXPECT_EQ(Changes(PolicyId::ExpectAlphabeticBullets).set, 0);
}

TEST(PageDefinitions, EveryValueNamesARegisteredPolicyAndAControlOfItsTemplate) {
  const PageDefinition* pages[] = {&kAnalysisPage, &kBulletsPage};
  for (const PageDefinition* page : pages) {
    for (const PageValue& value : page->values) {
      SCOPED_TRACE(::testing::Message() << page->className << " " << value.controlId);
      // A value without a key is a record the page keeps or saves in a way of its own.
      if (!value.policyKey.empty()) {
        EXPECT_NE(FindPolicyRow(value.policyKey), nullptr) << value.policyKey;
      }
      bool found = false;
      for (const ControlTemplate& control : page->dialog->controls)
        found = found || control.id == value.controlId;
      EXPECT_TRUE(found);
    }
  }
}

}  // namespace

namespace {

// A page of one value of each kind, on a window of its own and without a sheet.
constexpr ControlTemplate kMappingControls[] = {
    {10, ControlKind::CheckBox, 0, "check", 0},
    {11, ControlKind::CheckBox, 0, "inverted", 0},
    {12, ControlKind::Edit, kControlNumber, "", 0},
    {13, ControlKind::Edit, kControlNumber, "", 0},
    {14, ControlKind::Edit, 0, "", 0},
    {15, ControlKind::Radio, 0, "first", 0},
    {16, ControlKind::Radio, 0, "second", 0},
    {17, ControlKind::Radio, 0, "third", 0},
};
constexpr DialogTemplate kMappingTemplate = {900, "Mapping", kMappingControls};
constexpr PageValue kMappingValues[] = {
    {10, "Keep it simple", PageValueKind::Check, 0, 0, 0},
    {11, "Suppress INFO messages", PageValueKind::InvertedCheck, 0, 0, 0},
    {12, "Error reporting level", PageValueKind::Number, 0, 0, 0},
    {13, "Page Width", PageValueKind::NumberUnset, 0, 0, 0},
    {14, "Style file", PageValueKind::Text, 0, 0, 0},
    {15, "Scope for font tags", PageValueKind::Radio, 1, 3, 0},
};
constexpr PageDefinition kMappingPage = {"MappingPage", 99, 0, 900, &kMappingTemplate, kMappingValues};

TEST(OptionPage, MapsEachKindOfValueOntoItsControlsAndBack) {
  auto policies = std::make_unique<FileControl>();
  policies->Bool(PolicyId::KeepItSimple).value = 1;
  policies->Bool(PolicyId::SuppressINFOMessages).value = 1;
  policies->Int(PolicyId::ErrorReportingLevel).value = 7;
  policies->Int(PolicyId::PageWidth).value = -1;
  policies->Text(PolicyId::StyleFile).value = "a.sty";
  policies->Int(PolicyId::ScopeForFontTags).value = 2;
  OptionPage page(kMappingPage, nullptr);
  HeadlessDialog window(kMappingTemplate, nullptr, nullptr);
  page.Attach(&window);
  page.LoadPolicies(*policies);
  EXPECT_EQ(window.GetCheck(10), 1);
  EXPECT_EQ(window.GetCheck(11), 0) << "shown when the suppression is off";
  EXPECT_EQ(window.GetText(12), "7");
  EXPECT_EQ(window.GetText(13), "0") << "unset shows 0";
  EXPECT_EQ(window.GetText(14), "a.sty");
  EXPECT_EQ(window.GetCheck(16), 1);
  EXPECT_EQ(window.GetCheck(15) + window.GetCheck(17), 0);

  // The user changes every value.
  window.ClickCheck(10);
  window.ClickCheck(11);
  window.SetText(12, "3");
  window.Fire(12, DialogEvent::EditChange);
  window.SetText(13, "0");
  window.Fire(13, DialogEvent::EditChange);
  window.SetText(14, "b.sty");
  window.Fire(14, DialogEvent::EditChange);
  window.SetCheck(16, 0);
  window.SetCheck(17, 1);
  window.Fire(17, DialogEvent::Click);
  ASSERT_TRUE(page.Deactivate());
  page.SavePolicies(*policies);
  EXPECT_EQ(policies->GetInt(PolicyId::KeepItSimple), 0);
  EXPECT_EQ(policies->GetInt(PolicyId::SuppressINFOMessages), 0);
  EXPECT_EQ(policies->GetInt(PolicyId::ErrorReportingLevel), 3);
  EXPECT_EQ(policies->GetInt(PolicyId::PageWidth), -1) << "0 saves unset";
  EXPECT_STREQ(policies->GetText(PolicyId::StyleFile).GetText(), "b.sty");
  EXPECT_EQ(policies->GetInt(PolicyId::ScopeForFontTags), 3);
  for (PolicyId id : {PolicyId::KeepItSimple, PolicyId::SuppressINFOMessages,
                      PolicyId::ErrorReportingLevel, PolicyId::PageWidth, PolicyId::StyleFile,
                      PolicyId::ScopeForFontTags})
    EXPECT_EQ(policies->IsSet(id), 1);
}

TEST(OptionPage, NumberThatIsNoNumberIsRefusedAndTheValueKept) {
  auto policies = std::make_unique<FileControl>();
  policies->Int(PolicyId::ErrorReportingLevel).value = 6;
  OptionPage page(kMappingPage, nullptr);
  HeadlessDialog window(kMappingTemplate, nullptr, nullptr);
  page.Attach(&window);
  page.LoadPolicies(*policies);
  window.SetText(12, "six");
  EXPECT_FALSE(page.Deactivate());
  EXPECT_EQ(page.GetNumber(12), 6);
  window.SetText(12, " 8 ");
  EXPECT_TRUE(page.Deactivate());
  EXPECT_EQ(page.GetNumber(12), 8);
}

}  // namespace
