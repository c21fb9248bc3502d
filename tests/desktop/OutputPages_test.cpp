// The pages of the output-options sheet on the headless backend: how each value maps onto its
// policy, the values kept outside the policies, linked fonts, and a round trip per page
// (changed on the page, applied, loaded back into the page from the saved set).
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/OptionSheets.h"
#include "pages/OutputPages.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"

namespace {

// Page codes and tab positions of the output sheet.
constexpr int kCodeFileGen = 12;
constexpr int kCodeFont = 15;
constexpr int kCodeHyperlinks = 19;
constexpr int kCodePrePro = 28;
constexpr int kCodeFormat = 29;
constexpr int kCodeSettings = 30;

class OutputPagesTest : public DesktopTest {
 protected:
  OutputPagesTest() {
    MakeDialog();
    defaults.ResetPolicies(0);
  }

  HeadlessSheet* Window() { return platform.FindSheet(kSheetOutputId); }
  Sheet& Output() { return *dialog->Sheets().GetOutputSheet(); }
  HeadlessDialog& Page() { return *Window()->ActivePage(); }
  FileControl& Changes() { return dialog->SheetChanges(); }
  const TextString& ChangedText(PolicyId id) { return Changes().GetText(id); }
  int ChangedValue(PolicyId id) { return Changes().GetInt(id); }

  void Open(int pageCode) {
    ShowOutputPolicies(*dialog, pageCode);
    ASSERT_NE(Window(), nullptr);
  }
  // Text typed into a field and the field left.
  void Type(int id, const std::string& text) {
    Page().SetFocus(id);
    Page().SetText(id, text);
    Page().Fire(id, DialogEvent::EditChange);
    Page().Fire(id, DialogEvent::KillFocus);
  }
  void Choose(int id, int index) {
    Page().SetSelection(id, index);
    Page().Fire(id, DialogEvent::SelectionChange);
  }
  // Applies, forgets the changes, shows the defaults and then loads the saved set back.
  void ApplyAndReload() {
    Window()->Press(kSheetApply);
    Output().ResetChangeFlags();
    Output().LoadPolicies(defaults);
    Output().LoadPolicies(Changes());
  }

  FileControl defaults;
};

// ---- RTF settings ----

TEST_F(OutputPagesTest, MarginsAreWrittenWithThreeDecimalsAndAnUnreadableOneLoadsAsMinusOne) {
  Open(kCodeSettings);
  Type(1475, "2.5");
  Type(1478, "1");
  Window()->Press(kSheetApply);
  EXPECT_STREQ(ChangedText(PolicyId::TopMarginInCm).GetText(), "2.500");
  EXPECT_STREQ(ChangedText(PolicyId::RightMarginInCm).GetText(), "1.000");
  EXPECT_EQ(Changes().Policy(PolicyId::BottomMarginInCm).set, 0) << "an untouched margin";

  Changes().Text(PolicyId::LeftMarginInCm).value.Assign("abc");
  Output().LoadPolicies(Changes());
  EXPECT_EQ(Page().GetText(1477), "-1");
}

TEST_F(OutputPagesTest, TextThatIsNoNumberKeepsTheMarginItHad) {
  Open(kCodeSettings);
  Type(1475, "4");
  Page().SetText(1475, "4x");
  Page().Fire(1475, DialogEvent::EditChange);
  auto& page = static_cast<RTFSettingsPage&>(*Output().FindPage("RTFSettingsPage"));
  EXPECT_DOUBLE_EQ(page.GetMargin(0), 4.0);
  // Leaving the page names the field and keeps the page.
  EXPECT_FALSE(Window()->ClickTab(0));
  EXPECT_FALSE(platform.messages.empty());
}

TEST_F(OutputPagesTest, ATypedCharacterSetIsStoredVerbatim) {
  Open(kCodeSettings);
  Type(1600, "x-mac-roman (Apple)");
  Window()->Press(kSheetApply);
  EXPECT_STREQ(ChangedText(PolicyId::CharacterEncoding).GetText(), "x-mac-roman (Apple)");
}

TEST_F(OutputPagesTest, SettingsPageRoundTrip) {
  Open(kCodeSettings);
  ASSERT_EQ(Page().GetItemCount(1465), 78);
  ASSERT_EQ(Page().GetItemCount(1485), 14);
  Choose(1465, 20);  // "English (United States)"
  Choose(1485, 10);  // Letter
  Page().ClickCheck(1469);
  Page().SetCheck(1468, 0);
  Type(1476, "1.25");
  Page().ClickCheck(1562);
  // A combo's field takes the text of the entry chosen from its list.
  Page().SetText(1600, Page().GetItemText(1600, 22));
  Choose(1600, 22);
  ApplyAndReload();
  EXPECT_EQ(ChangedValue(PolicyId::LanguageForProofing), 21);
  EXPECT_EQ(ChangedValue(PolicyId::PaperSize), 11);
  EXPECT_EQ(ChangedValue(PolicyId::UseLandscapeMode), 1);
  EXPECT_STREQ(ChangedText(PolicyId::BottomMarginInCm).GetText(), "1.250");
  EXPECT_EQ(ChangedValue(PolicyId::MirrorMargins), 1);
  EXPECT_STREQ(ChangedText(PolicyId::CharacterEncoding).GetText(), "UTF-8 (Unicode)");

  EXPECT_EQ(Page().GetItemText(1465, Page().GetSelection(1465)), "English (United States)");
  EXPECT_EQ(Page().GetItemText(1485, Page().GetSelection(1485)), "Letter (8.5\" x 11\")");
  EXPECT_EQ(Page().GetCheck(1469), 1);
  EXPECT_EQ(Page().GetCheck(1468), 0);
  EXPECT_EQ(Page().GetText(1476), "1.25");
  EXPECT_EQ(Page().GetCheck(1562), 1);
  EXPECT_EQ(Page().GetText(1600), "UTF-8 (Unicode)");
}

TEST_F(OutputPagesTest, AListValueOutsideTheListLeavesNoSelection) {
  Open(kCodeSettings);
  for (int value : {0, 15}) {
    SCOPED_TRACE(value);
    Changes().List(PolicyId::PaperSize).value = value;
    Output().LoadPolicies(Changes());
    EXPECT_EQ(Page().GetSelection(1485), -1);
  }
}

// ---- Formatting ----

TEST_F(OutputPagesTest, TableAlignmentsMapOntoTheirValues) {
  Open(kCodeFormat);
  ASSERT_EQ(Page().GetItemCount(1274), 5);
  Choose(1274, 4);  // "Center"
  ASSERT_EQ(Page().GetItemText(1274, 4), "Center");
  Choose(1270, 2);  // "Right"
  Window()->Press(kSheetApply);
  TableAnalysisPolicies& table = *Changes().pGetDefaultTablePolicies();
  EXPECT_EQ(table.Align(TablePolicyId::Alignment).value, 2);
  EXPECT_EQ(table.Align(TablePolicyId::Alignment).set, 1);
  EXPECT_EQ(table.Align(TablePolicyId::CellAlignment).value, 3);

  struct LoadCase {
    int stored;
    const char* shown;
  };
  constexpr LoadCase kCases[] = {{2, "Center"}, {7, "Auto-Detect"}, {4, "Justified"}, {0, "Auto-Detect"}};
  Output().ResetChangeFlags();
  for (const LoadCase& c : kCases) {
    SCOPED_TRACE(c.stored);
    table.Align(TablePolicyId::Alignment).value = c.stored;
    Output().LoadPolicies(Changes());
    EXPECT_EQ(Page().GetItemText(1274, Page().GetSelection(1274)), c.shown);
  }
}

TEST_F(OutputPagesTest, FormatPageRoundTripAndBulletFieldEnabling) {
  Open(kCodeFormat);
  Page().ClickCheck(2048);
  Type(1193, "5");
  Type(1751, "-2");
  if (Page().GetCheck(1758) == 0)
    Page().ClickCheck(1758);
  EXPECT_FALSE(Page().IsEnabled(1760)) << "the document's own markers in use";
  Page().ClickCheck(1758);
  EXPECT_TRUE(Page().IsEnabled(1760));
  Type(1760, "*+");
  Type(1137, "2");
  ApplyAndReload();
  EXPECT_EQ(ChangedValue(PolicyId::AutomaticCentringTolerance), 5);
  EXPECT_EQ(ChangedValue(PolicyId::FirstLineIndentationInBlocks), -2);
  EXPECT_EQ(ChangedValue(PolicyId::UseOriginalBulletMarker), 0);
  EXPECT_STREQ(ChangedText(PolicyId::CharactersToUseForBullets).GetText(), "*+");
  EXPECT_EQ(Changes().pGetDefaultTablePolicies()->Int(TablePolicyId::HeaderRows).value, 2);
  EXPECT_EQ(Page().GetText(1193), "5");
  EXPECT_EQ(Page().GetText(1751), "-2");
  EXPECT_EQ(Page().GetText(1760), "*+");
  EXPECT_EQ(Page().GetText(1137), "2");
}

// ---- Fonts ----

TEST_F(OutputPagesTest, TheBodyFontCarriesTheTablesFontUntilThatWasChosenOnce) {
  Open(kCodeFont);
  platform.fontAnswers.push_back({"DejaVu Sans", 700, false, 110});
  Page().Fire(1263, DialogEvent::Click);
  EXPECT_EQ(Page().GetText(1254), "DejaVu Sans, Bold, 11");
  EXPECT_EQ(Page().GetText(1256), "DejaVu Sans, Bold, 11") << "tables follow the body";

  platform.fontAnswers.push_back({"DejaVu Serif", 400, false, 90});
  Page().Fire(1265, DialogEvent::Click);
  platform.fontAnswers.push_back({"DejaVu Sans Mono", 400, true, 120});
  Page().Fire(1263, DialogEvent::Click);
  EXPECT_EQ(Page().GetText(1254), "DejaVu Sans Mono, Italic, 12");
  EXPECT_EQ(Page().GetText(1256), "DejaVu Serif, Regular, 9");

  ApplyAndReload();
  EXPECT_STREQ(ChangedText(PolicyId::DefaultFont).GetText(), "DejaVu Sans Mono, Italic, 12");
  EXPECT_STREQ(ChangedText(PolicyId::TableFont).GetText(), "DejaVu Serif, Regular, 9");
  EXPECT_EQ(Page().GetText(1254), "DejaVu Sans Mono, Italic, 12");
  EXPECT_EQ(Page().GetText(1256), "DejaVu Serif, Regular, 9");
}

TEST_F(OutputPagesTest, TypingInAFontFieldOpensTheChooserFromTheStoredFont) {
  Open(kCodeFont);
  const std::string before = Page().GetText(1255);
  Page().SetText(1255, "Nonsense");
  Page().Fire(1255, DialogEvent::EditChange);  // the chooser answers Cancel
  ASSERT_EQ(platform.fontRequests.size(), 1u);
  EXPECT_EQ(Page().GetText(1255), before);
  EXPECT_EQ(Output().FindPage("FontPage")->IsChanged(1255), 0);
}

TEST_F(OutputPagesTest, TheTablesFieldShowsTheBodyFontUntilTheTableFontIsSet) {
  Open(kCodeFont);
  Changes().Font(PolicyId::DefaultFont).value.Assign("Body Face, Regular, 11");
  Changes().Font(PolicyId::TableFont).value.Assign("Table Face, Regular, 9");
  Changes().Font(PolicyId::TableFont).set = 0;
  Output().LoadPolicies(Changes());
  EXPECT_EQ(Page().GetText(1256), "Body Face, Regular, 11");
  Changes().Font(PolicyId::TableFont).set = 1;
  Output().LoadPolicies(Changes());
  EXPECT_EQ(Page().GetText(1256), "Table Face, Regular, 9");
}

TEST_F(OutputPagesTest, AHiddenDeltaOutOfRangeDoesNotStopTheReadBack) {
  Open(kCodeFont);
  Changes().Int(PolicyId::DeltaFONTSizeInPts).value = 5;
  Output().LoadPolicies(Changes());
  Type(1757, "120");
  Window()->Press(kSheetApply);
  EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text;
  EXPECT_EQ(ChangedValue(PolicyId::FontStretchFactorInPercent), 120);
  EXPECT_FALSE(Page().IsControlShown(1253));
}

// ---- Hyperlinks ----

TEST_F(OutputPagesTest, CrossReferenceLevelSavesFromTwoOn) {
  struct LevelCase {
    const char* typed;
    int saved;
  };
  constexpr LevelCase kCases[] = {{"3", 3}, {"2", 2}, {"1", -1}, {"0", -1}};
  Open(kCodeHyperlinks);
  if (Page().GetCheck(1031) == 0)
    Page().ClickCheck(1031);
  for (const LevelCase& c : kCases) {
    SCOPED_TRACE(c.typed);
    Page().SetText(1034, c.typed);
    Page().Fire(1034, DialogEvent::EditChange);
    Window()->Press(kSheetApply);
    EXPECT_EQ(ChangedValue(PolicyId::CrossRefsAtLevel), c.saved);
  }
  // -1 loads back unchecked at level 0.
  Output().ResetChangeFlags();
  Output().LoadPolicies(Changes());
  EXPECT_EQ(Page().GetCheck(1031), 0);
  EXPECT_EQ(Page().GetText(1034), "0");
  EXPECT_FALSE(Page().IsEnabled(1034));
}

TEST_F(OutputPagesTest, HyperlinksPageRoundTripAndEnabling) {
  Open(kCodeHyperlinks);
  if (Page().GetCheck(1030) == 0)
    Page().ClickCheck(1030);
  if (Page().GetCheck(1032) != 0)
    Page().ClickCheck(1032);
  EXPECT_TRUE(Page().IsEnabled(1033));
  Page().SetText(1033, "uk.  de.   fr.");
  Page().Fire(1033, DialogEvent::EditChange);
  Page().ClickCheck(1459);
  const int weak = Page().GetCheck(1459);
  Type(9122, "40");
  Page().ClickCheck(1032);
  EXPECT_FALSE(Page().IsEnabled(1033));
  EXPECT_TRUE(Page().IsEnabled(1032));
  Page().ClickCheck(1030);
  EXPECT_FALSE(Page().IsEnabled(1032));
  ApplyAndReload();
  EXPECT_EQ(Changes().GetUsenetGroups().GetCount(), 3);
  EXPECT_EQ(Changes().UsenetGroupsSet(), 1);
  EXPECT_EQ(ChangedValue(PolicyId::OnlyAllowExplicitFTPLinks), weak ? 0 : 1);
  EXPECT_EQ(ChangedValue(PolicyId::MaxLengthOfHeadingLinks), 40);
  EXPECT_EQ(Page().GetText(1033), "uk. de. fr.");
  EXPECT_EQ(Page().GetCheck(1459), weak);
  EXPECT_EQ(Page().GetText(9122), "40");
  EXPECT_FALSE(Page().IsControlShown(1210));
}

// ---- File generation, preprocessor, document details ----

TEST_F(OutputPagesTest, FileGenerationRoundTripAndChosenPolicyFile) {
  Open(kCodeFileGen);
  Page().ClickCheck(1509);
  const int lines = Page().GetCheck(1509);
  if (Page().GetCheck(2005) == 0)
    Page().ClickCheck(2005);
  EXPECT_TRUE(Page().IsEnabled(1108));
  platform.fileAnswers.push_back({"/tmp/out.d/policies"});
  Page().Fire(1109, DialogEvent::Click);
  EXPECT_EQ(Page().GetText(1108), "/tmp/out.d/policies") << "a '.' in a folder is enough";
  platform.fileAnswers.push_back({"/tmp/outputs/policies"});
  Page().Fire(1109, DialogEvent::Click);
  EXPECT_EQ(Page().GetText(1108), "/tmp/outputs/policies.pol");
  ApplyAndReload();
  EXPECT_EQ(ChangedValue(PolicyId::PreserveLineStructure), lines);
  EXPECT_EQ(ChangedValue(PolicyId::OutputPolicyFile), 1);
  EXPECT_STREQ(ChangedText(PolicyId::OutputPolicyFilename).GetText(), "/tmp/outputs/policies.pol");
  EXPECT_EQ(Page().GetCheck(1509), lines);
  EXPECT_EQ(Page().GetText(1108), "/tmp/outputs/policies.pol");
  Page().ClickCheck(2005);
  EXPECT_FALSE(Page().IsEnabled(1108));
  EXPECT_EQ(Page().GetText(1108), "/tmp/outputs/policies.pol") << "the name is kept";
}

TEST_F(OutputPagesTest, PreprocessorRoundTripMarksSectionsWhenThePageIsLeft) {
  Open(kCodePrePro);
  if (Page().GetCheck(2053) == 0)
    Page().ClickCheck(2053);
  Page().SetFocus(2055);
  Page().SetText(2055, "alpha   beta");
  Page().Fire(2055, DialogEvent::EditChange);
  ASSERT_TRUE(Window()->ClickTab(0));
  ASSERT_TRUE(Window()->ClickTab(5));
  ApplyAndReload();
  EXPECT_EQ(Changes().GetDocumentSections().GetCount(), 2);
  EXPECT_EQ(Changes().DocumentSectionsSet(), 1);
  EXPECT_EQ(Page().GetText(2055), "alpha beta");
  Page().ClickCheck(2053);
  EXPECT_FALSE(Page().IsEnabled(2055));
}

TEST_F(OutputPagesTest, DocumentDetailsCompareOnLeavingAndRoundTrip) {
  Open(9);
  Page().SetFocus(1303);
  Page().Fire(1303, DialogEvent::KillFocus);
  EXPECT_FALSE(Window()->IsEnabled(kSheetApply)) << "leaving unchanged marks nothing";
  Type(1303, "A. Writer");
  EXPECT_TRUE(Window()->IsEnabled(kSheetApply));
  Type(1311, "Some comments");
  Page().ClickCheck(1185);
  const int firstHeading = Page().GetCheck(1185);
  ApplyAndReload();
  EXPECT_STREQ(ChangedText(PolicyId::DocumentAuthor).GetText(), "A. Writer");
  EXPECT_EQ(Changes().Policy(PolicyId::DocumentSubject).set, 0);
  EXPECT_EQ(Page().GetText(1303), "A. Writer");
  EXPECT_EQ(Page().GetText(1311), "Some comments");
  EXPECT_EQ(Page().GetCheck(1185), firstHeading);
}

// ---- Help file ----

TEST_F(OutputPagesTest, HelpPageIsHeldWithoutATabAndSavesItsColours) {
  Open(9);
  auto* help = static_cast<MakeHelpPage*>(Output().FindPage("MakeHelpPage"));
  ASSERT_NE(help, nullptr);
  EXPECT_LT(Output().TabOf(&help->Definition()), 0);
  EXPECT_EQ(help->GetString(1716), "Silver");
  EXPECT_EQ(help->GetString(1720), "FFFFE0");
  platform.colourAnswers.push_back(0x010203);
  help->PickColour(1718, platform);
  platform.colourAnswers.push_back(-1);
  help->PickColour(1722, platform);
  EXPECT_EQ(help->IsChanged(1720), 1) << "marked even when cancelled";
  help->SavePolicies(Changes());
  PolicySection& section = Changes().GetPolicyList().GetSection(kRtfHelpFilesSection);
  EXPECT_STREQ(section.GetText(214).GetText(), "010203");
  EXPECT_EQ(section.IsSet(214), 1);
  EXPECT_STREQ(section.GetText(215).GetText(), "FFFFE0");

  help->ResetChangeFlags();
  help->LoadPolicies(defaults);
  help->LoadPolicies(Changes());
  EXPECT_EQ(help->GetString(1716), "010203");
}

}  // namespace
