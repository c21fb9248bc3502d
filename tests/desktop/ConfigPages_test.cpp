// The configuration-file pages on the headless backend: choosing a file, the recent lists,
// the scope of font tags, and creating and editing a link dictionary.
#include <string>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/ConfigPages.h"
#include "pages/OptionSheets.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"

namespace {

enum : int {
  kCodeLinkDict = 21,
  kCodeSDF = 31,
  kCodeTDF = 42,
  kCodeTextSubs = 51,
  kEditorId = 231,
};

class ConfigPagesTest : public DesktopTest {
 protected:
  ConfigPagesTest() { MakeDialog(); }

  HeadlessSheet* Window() { return platform.FindSheet(kSheetConfigId); }
  HeadlessDialog* Page() { return Window()->ActivePage(); }
  FileControl& Changes() { return dialog->SheetChanges(); }
  void Open(int code) {
    ShowConfigurationFiles(*dialog, code);
    ASSERT_NE(Window(), nullptr);
  }
  // Changes the sheet starts from, kept because they are pending.
  void SetPending(PolicyId id, int value) {
    dialog->SetSheetChangesPending(1);
    static_cast<ScalarPolicy&>(Changes().Policy(id)).value = value;
    Changes().Policy(id).set = 0;
  }
};

TEST_F(ConfigPagesTest, ScopeOutsideItsRangeClearsTheRadiosAndSavesNothing) {
  SetPending(PolicyId::ScopeForFontTags, 7);
  Open(kCodeSDF);
  for (int id : {1745, 1746, 1747})
    EXPECT_EQ(Page()->GetCheck(id), 0) << id;
  Window()->Press(kSheetApply);
  EXPECT_EQ(Changes().Policy(PolicyId::ScopeForFontTags).set, 0);
  EXPECT_EQ(Changes().GetInt(PolicyId::ScopeForFontTags), 7);
}

TEST_F(ConfigPagesTest, ChangingOnlyTheScopeSetsItAndLeavesTheStyleFile) {
  SetPending(PolicyId::ScopeForFontTags, 1);
  Open(kCodeSDF);
  EXPECT_EQ(Page()->GetCheck(1745), 1);
  Page()->SetCheck(1745, 0);
  Page()->SetCheck(1747, 1);
  Page()->Fire(1747, DialogEvent::Click);
  Window()->Press(kSheetOk);
  EXPECT_EQ(Changes().GetInt(PolicyId::ScopeForFontTags), 3);
  EXPECT_EQ(Changes().Policy(PolicyId::ScopeForFontTags).set, 1);
  EXPECT_EQ(Changes().Policy(PolicyId::StyleFile).set, 0);
}

TEST_F(ConfigPagesTest, CancelledBrowseStillAdoptsTheShownName) {
  dialog->Settings().Recent(RecentList::TableDefinitionFile)[0] = "older.inc";
  Open(kCodeTDF);
  EXPECT_EQ(Page()->GetItemCount(1739), 1);
  Page()->SetText(1739, "tables.inc");
  Page()->Fire(1739, DialogEvent::EditChange);
  Page()->Fire(1740, DialogEvent::Click);  // no answer: cancelled
  EXPECT_EQ(platform.fileRequests.back().filter,
            "Include files (*.inc)|*.inc|All files (*.*)|*.*||");
  EXPECT_TRUE(Window()->IsEnabled(kSheetApply));
  EXPECT_EQ(dialog->Settings().Recent(RecentList::TableDefinitionFile)[0], "tables.inc");
  EXPECT_EQ(dialog->Settings().Recent(RecentList::TableDefinitionFile)[1], "older.inc");
  Window()->Press(kSheetOk);
  EXPECT_EQ(Changes().Policy(PolicyId::DefinitionsFile).set, 1);
  EXPECT_STREQ(Changes().GetText(PolicyId::DefinitionsFile).GetText(), "tables.inc");
}

TEST_F(ConfigPagesTest, AReloadReplacesAnEditedTextCommandNameOnly) {
  Open(kCodeTextSubs);
  Page()->SetText(1742, "edited.inc");
  Page()->Fire(1742, DialogEvent::EditChange);
  Window()->ClickTab(2);  // the table definitions page
  Page()->SetText(1739, "tables.inc");
  Page()->Fire(1739, DialogEvent::EditChange);
  dialog->Sheets().GetConfigSheet()->LoadPolicies(Changes());
  EXPECT_EQ(Page()->GetText(1739), "tables.inc");
  Window()->ClickTab(3);
  EXPECT_EQ(Page()->GetText(1742), "");
}

TEST_F(ConfigPagesTest, CreateNewWritesANewDictionaryAndOpensTheEditorOnIt) {
  const std::string name = Dir() + "new-links.inc";
  Open(kCodeLinkDict);
  EXPECT_FALSE(Page()->IsEnabled(1762)) << "nothing to edit without a name";
  int editors = 0;
  bool sheetHidden = false;
  platform.modalScripts[kEditorId] = [&](HeadlessDialog&) {
    ++editors;
    sheetHidden = !Window()->IsShown();
    return 2;
  };
  platform.fileAnswers.push_back({name});
  Page()->Fire(1793, DialogEvent::Click);
  EXPECT_EQ(ReadBytes(name), "! New dictionary\n");
  EXPECT_EQ(editors, 1);
  EXPECT_TRUE(sheetHidden);
  EXPECT_TRUE(Window()->IsShown());
  EXPECT_TRUE(Page()->IsEnabled(1762));
  EXPECT_EQ(LinkDictPage::IsEditorOpen(), 0);
}

TEST_F(ConfigPagesTest, CreateNewKeepsAnExistingFile) {
  const std::string existing =
      WriteText("links.inc", "Link definition: \"a\" = \"b\" + \"http://c/\"\n");
  Open(kCodeLinkDict);
  platform.modalScripts[kEditorId] = [](HeadlessDialog&) { return 2; };
  platform.fileAnswers.push_back({existing});
  Page()->Fire(1793, DialogEvent::Click);
  EXPECT_EQ(ReadBytes(existing), "Link definition: \"a\" = \"b\" + \"http://c/\"\n");
}

TEST_F(ConfigPagesTest, EditWhileTheEditorIsOpenDoesNothingAndThePageStays) {
  const std::string name = WriteText("open.inc", "! empty\n");
  Open(kCodeLinkDict);
  Page()->SetText(1098, name);
  Page()->Fire(1098, DialogEvent::EditChange);
  int editors = 0;
  bool tabChanged = true;
  HeadlessDialog* page = Page();
  platform.modalScripts[kEditorId] = [&](HeadlessDialog&) {
    ++editors;
    page->Fire(1762, DialogEvent::Click);
    tabChanged = Window()->ClickTab(1);
    return 2;
  };
  page->Fire(1762, DialogEvent::Click);
  EXPECT_EQ(editors, 1);
  EXPECT_FALSE(tabChanged) << "the page is not left while the editor is open";
  EXPECT_EQ(Window()->GetActivePage(), 0);
}

TEST_F(ConfigPagesTest, SavingANewDictionaryNameLoadsIt) {
  const std::string name =
      WriteText("saved.inc", "Link definition: \"Kelvane\" = \"home\" + \"http://k/\"\n");
  Open(kCodeLinkDict);
  Page()->SetText(1098, name);
  Page()->Fire(1098, DialogEvent::KillFocus);
  EXPECT_EQ(dialog->Settings().Recent(RecentList::LinkDictionaryFile)[0], name);
  Window()->Press(kSheetOk);
  EXPECT_EQ(Changes().Policy(PolicyId::LinkDictionaryFile).set, 1);
  EXPECT_STREQ(Changes().GetText(PolicyId::LinkDictionaryFile).GetText(), name.c_str());
}

}  // namespace
