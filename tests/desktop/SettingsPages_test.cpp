// The program-settings pages on the headless backend: what each page shows of the program
// settings and the message policies, and what OK and Apply store.
#include <string>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/OptionSheets.h"
#include "pages/SettingsPages.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "platform/Menu.h"

namespace {

enum : int {
  kCodeDrag = 32,
  kCodeDoco = 33,
  kCodeViewer = 35,
  kCodeMessages = 36,
  kCodePolicy = 37,
};

class SettingsPagesTest : public DesktopTest {
 protected:
  SettingsPagesTest() { MakeDialog(); }

  HeadlessSheet* Window() { return platform.FindSheet(kSheetSettingsId); }
  HeadlessDialog* Page() { return Window()->ActivePage(); }
  ProgramSettings& Settings() { return dialog->Settings(); }
  void Open(int code) {
    ShowSettingsSheet(*dialog, code);
    ASSERT_NE(Window(), nullptr);
  }
  // Text typed into a field, which then loses the focus.
  void TypeAndLeave(int id, const std::string& text) {
    Page()->SetText(id, text);
    Page()->Fire(id, DialogEvent::KillFocus);
  }
  std::string PolicyFile(const std::string& name) {
    return WriteText(name, "[Analysis]\nPage Width = 72\n");
  }
};

TEST_F(SettingsPagesTest, OkAfterChangingOnlyADragBoxStoresIt) {
  const int before = Settings().dropStartProgram;
  Open(kCodeDrag);
  Page()->ClickCheck(1237);
  Window()->Press(kSheetOk);
  EXPECT_EQ(Settings().dropStartProgram, before ? 0 : 1);
}

TEST_F(SettingsPagesTest, OkAfterBrowsingForTheDocumentationStoresThePath) {
  Open(kCodeDoco);
  platform.fileAnswers.push_back({"/usr/share/doc/kelvane/index.html"});
  Page()->Fire(1076, DialogEvent::Click);
  EXPECT_EQ(platform.fileRequests.back().filter,
            "HTML files (*.htm,*.html)|*.htm;*.html|All files (*.*)|*.*|");
  Window()->Press(kSheetOk);
  EXPECT_EQ(Settings().htmlDoco, "/usr/share/doc/kelvane/index.html");
}

TEST_F(SettingsPagesTest, EmptyDocumentationPathShowsAndStoresTheDefault) {
  Settings().htmlDoco.clear();
  std::string expected;
  ASSERT_EQ(dialog->GetLocalHelpPath(expected), 1);
  Open(kCodeDoco);
  EXPECT_EQ(Page()->GetText(1128), expected);
  Window()->Press(kSheetApply);
  EXPECT_EQ(Settings().htmlDoco, expected);
}

TEST_F(SettingsPagesTest, ClearingTheDefaultPolicyFileTriesAnEmptyNameAndRestoresIt) {
  const std::string good = PolicyFile("default.pol");
  Settings().useDefaultPolicy = 1;
  Settings().defaultPolicyFile = good;
  dialog->SetPolicyFileName(good);
  Open(kCodePolicy);
  ASSERT_EQ(Page()->GetText(1125), good);
  EXPECT_TRUE(Page()->IsEnabled(1125));
  TypeAndLeave(1125, "");
  EXPECT_EQ(Page()->GetText(1125), good);
  EXPECT_EQ(dialog->GetPolicyFileName(), good);
  EXPECT_EQ(Settings().defaultPolicyFile, good);
  EXPECT_TRUE(Window()->IsEnabled(kSheetApply));
}

TEST_F(SettingsPagesTest, ANewDefaultPolicyFileThatLoadsIsKeptAtOnce) {
  const std::string first = PolicyFile("first.pol");
  const std::string second = PolicyFile("second.pol");
  Settings().useDefaultPolicy = 1;
  Settings().defaultPolicyFile = first;
  dialog->SetPolicyFileName(first);
  Open(kCodePolicy);
  TypeAndLeave(1125, second);
  EXPECT_EQ(dialog->GetPolicyFileName(), second);
  EXPECT_EQ(Settings().defaultPolicyFile, second);
}

TEST_F(SettingsPagesTest, ApplyingADefaultPolicyFileThatFailsRevertsTheSettingToo) {
  const std::string good = PolicyFile("kept.pol");
  Settings().useDefaultPolicy = 1;
  Settings().defaultPolicyFile = good;
  dialog->SetPolicyFileName(good);
  Open(kCodePolicy);
  const std::string missing = Dir() + "missing.pol";
  platform.fileAnswers.push_back({missing});
  Page()->Fire(1126, DialogEvent::Click);
  ASSERT_EQ(Page()->GetText(1125), missing);
  Window()->Press(kSheetApply);
  EXPECT_EQ(Page()->GetText(1125), good);
  EXPECT_EQ(dialog->GetPolicyFileName(), good);
  EXPECT_EQ(Settings().defaultPolicyFile, good) << "no default the program cannot load";
}

TEST_F(SettingsPagesTest, UntickingTheDefaultPolicyEmptiesTheStoredName) {
  Settings().useDefaultPolicy = 1;
  Settings().defaultPolicyFile = PolicyFile("old.pol");
  Open(kCodePolicy);
  Page()->ClickCheck(1124);
  EXPECT_FALSE(Page()->IsEnabled(1125));
  EXPECT_FALSE(Page()->IsEnabled(1126));
  Window()->Press(kSheetOk);
  EXPECT_EQ(Settings().useDefaultPolicy, 0);
  EXPECT_EQ(Settings().defaultPolicyFile, "");
}

TEST(SettingsViewerService, IndexComesFromTheExactName) {
  struct Case {
    const char* name;
    int index;
  };
  const Case cases[] = {
      {"", 0},        {"IExplore", 0},         {"NETSCAPE", 1}, {"netscape", 6},
      {"Opera", 2},   {"Mozilla", 3},          {"Mozilla Firebird", 4},
      {"Firefox", 5}, {"firefox", 6},          {"Konqueror", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ServiceIndexOf(c.name), c.index);
  }
}

TEST_F(SettingsPagesTest, LowerCaseNetscapeShowsOtherAndIsStoredAsTyped) {
  Settings().useDdeToViewHtml = 1;
  Settings().ddeServerName = "netscape";
  Open(kCodeViewer);
  EXPECT_EQ(Page()->GetItemCount(1286), 7);
  EXPECT_EQ(Page()->GetSelection(1286), 6);
  EXPECT_EQ(Page()->GetText(1289), "netscape");
  EXPECT_TRUE(Page()->IsEnabled(1289));
  Window()->Press(kSheetApply);
  EXPECT_EQ(Settings().ddeServerName, "netscape");
  TypeAndLeave(1289, "");
  Window()->Press(kSheetApply);
  EXPECT_EQ(Settings().ddeServerName, "") << "an empty Other name is stored as it is";
}

TEST_F(SettingsPagesTest, ViewerServiceFieldFollowsTheDdeBoxAndTheList) {
  Settings().useDdeToViewHtml = 0;
  Settings().ddeServerName = "Opera";
  Open(kCodeViewer);
  EXPECT_FALSE(Page()->IsEnabled(1286));
  EXPECT_FALSE(Page()->IsEnabled(1289));
  EXPECT_EQ(Page()->GetText(1289), "");
  Page()->ClickCheck(1283);
  EXPECT_TRUE(Page()->IsEnabled(1286));
  EXPECT_FALSE(Page()->IsEnabled(1289));
  Page()->SetSelection(1286, 6);
  Page()->Fire(1286, DialogEvent::SelectionChange);
  EXPECT_TRUE(Page()->IsEnabled(1289));
}

TEST_F(SettingsPagesTest, TouchingTheDdeBoxMarksDdeWorkingEvenWhenCancelled) {
  Settings().ddeWorking = "No";
  Open(kCodeViewer);
  Page()->ClickCheck(1283);
  Window()->Press(kSheetCancel);
  EXPECT_EQ(Settings().ddeWorking, "Yes");
}

TEST_F(SettingsPagesTest, LeavingTheHtmlCommandEnablesApplyLeavingTheSameRtfCommandDoesNot) {
  Open(kCodeViewer);
  ASSERT_FALSE(Window()->IsEnabled(kSheetApply));
  Page()->Fire(1131, DialogEvent::KillFocus);
  EXPECT_FALSE(Window()->IsEnabled(kSheetApply));
  Page()->Fire(1127, DialogEvent::KillFocus);
  EXPECT_TRUE(Window()->IsEnabled(kSheetApply));
}

TEST_F(SettingsPagesTest, ApplyingTheViewerPageStoresTheFoundCommandAndSetsTheMenuMark) {
  Settings().browserCommand.clear();
  Settings().autoDdeUpdates = 1;
  const std::string browser = WriteText("bin/browser", "");
  platform.fileTypes[".html"] = "htmlfile";
  platform.typeCommands[{"htmlfile", "open"}] = "\"" + browser + "\" \"%1\"";
  bool checked = false;
  platform.modalScripts[kDialogMain] = [&](HeadlessDialog& main) {
    Open(kCodeViewer);
    EXPECT_EQ(Page()->GetText(1127), browser);
    Window()->Press(kSheetApply);
    const Menu* bar = main.GetMenuBar();
    checked = bar != nullptr && bar->IsCommandChecked(32855);
    return 2;
  };
  (void)dialog->RunModal();
  EXPECT_EQ(Settings().browserCommand, browser);
  EXPECT_TRUE(checked);
}

TEST_F(SettingsPagesTest, ShowUrlMessagesTickedSavesTheSuppressPolicyOff) {
  Open(kCodeMessages);
  EXPECT_EQ(Page()->GetCheck(1280), 0) << "URL messages are suppressed by default";
  EXPECT_EQ(Page()->GetCheck(1276), 1);
  Page()->ClickCheck(1280);
  Window()->Press(kSheetOk);
  const CorePolicy& policy = dialog->SheetChanges().Policy(PolicyId::SuppressURLMessages);
  EXPECT_EQ(dialog->SheetChanges().GetInt(PolicyId::SuppressURLMessages), 0);
  EXPECT_EQ(policy.set, 1);
  EXPECT_EQ(dialog->SheetChanges().Policy(PolicyId::SuppressINFOMessages).set, 0);
}

TEST_F(SettingsPagesTest, AMovedSliderSurvivesAReloadAndIsSaved) {
  Open(kCodeMessages);
  EXPECT_EQ(Page()->GetValue(1217), 5);
  Page()->SetValue(1217, 8);
  Page()->Fire(1217, DialogEvent::Scroll);
  Window()->Press(kSheetCancel);
  Open(kCodeMessages);
  EXPECT_EQ(Page()->GetValue(1217), 8);
  Window()->Press(kSheetOk);
  EXPECT_EQ(dialog->SheetChanges().GetInt(PolicyId::ErrorReportingLevel), 8);
  EXPECT_EQ(dialog->SheetChanges().Policy(PolicyId::ErrorReportingLevel).set, 1);
}

}  // namespace

namespace {

TEST_F(SettingsPagesTest, ApplyLoadsTheChosenDefaultPolicyFile) {
  const std::string first = PolicyFile("applied-first.pol");
  const std::string second = PolicyFile("applied-second.pol");
  Settings().useDefaultPolicy = 1;
  Settings().defaultPolicyFile = first;
  Settings().alwaysReloadPolicy = 1;
  dialog->SetPolicyFileName(first);
  Open(kCodePolicy);
  platform.fileAnswers.push_back({second});
  Page()->Fire(1126, DialogEvent::Click);
  Page()->ClickCheck(1310);
  Window()->Press(kSheetApply);
  EXPECT_EQ(dialog->GetPolicyFileName(), second);
  EXPECT_EQ(Settings().defaultPolicyFile, second);
  EXPECT_EQ(Settings().alwaysReloadPolicy, 0);
  EXPECT_EQ(dialog->IsPolicyFileLoaded(), 1);
}

}  // namespace
