// The policy-file dialogs on the headless backend: choosing and loading a policy file, and
// saving the policies in force.
#include <filesystem>
#include <string>

#include "DesktopFixture.h"
#include "app/PolicyFileDialogs.h"
#include "lang/InterfaceTexts.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"

namespace {

class PolicyFileDialogsTest : public DesktopTest {
 protected:
  PolicyFileDialogsTest() { MakeDialog(); }

  // Runs OxvOptions with script as the user; returns the dialog's result.
  int RunOptions(std::function<void(HeadlessDialog&)> script) {
    platform.modalScripts[kDialogPolicyFile] = [script](HeadlessDialog& window) {
      script(window);
      return 1;
    };
    OxvOptions options(*dialog);
    return options.RunModal();
  }
  int RunSave(std::function<int(HeadlessDialog&)> script) {
    platform.modalScripts[kDialogSavePolicies] = std::move(script);
    SavePolicyFile save(*dialog);
    return save.RunModal();
  }
  std::string Recent(int i) { return dialog->Settings().Recent(RecentList::Policy)[static_cast<std::size_t>(i)]; }
};

TEST_F(PolicyFileDialogsTest, TypedNameLoadsOnLeavingTheFieldAndGoesToTheTop) {
  const std::string good = WriteText("good.pol", "Page Width: 100\n");
  RunOptions([&](HeadlessDialog& window) {
    window.SetText(kPolicyFileCombo, good);
    window.Fire(kPolicyFileCombo, DialogEvent::KillFocus);
    EXPECT_EQ(window.GetItemText(kPolicyFileCombo, 0), good);
  });
  EXPECT_EQ(dialog->GetPolicyFileName(), good);
  EXPECT_EQ(dialog->IsPolicyFileLoaded(), 1);
  EXPECT_EQ(dialog->PolicyFilePolicies().GetInt(PolicyId::PageWidth), 100);
  EXPECT_EQ(Recent(0), good);
}

TEST_F(PolicyFileDialogsTest, FailedLoadRestoresThePreviousNameWhenTypedOrBrowsed) {
  const std::string good = WriteText("good.pol", "Page Width: 100\n");
  const std::string missing = folder.File("missing.pol");
  dialog->SetPolicyFileName(good);
  platform.fileAnswers.push_back({missing});
  RunOptions([&](HeadlessDialog& window) {
    window.SetText(kPolicyFileCombo, missing);
    window.Fire(kPolicyFileCombo, DialogEvent::KillFocus);
    EXPECT_EQ(window.GetText(kPolicyFileCombo), good) << "typing";
    EXPECT_EQ(dialog->GetPolicyFileName(), good);
    window.Fire(kPolicyFileBrowse, DialogEvent::Click);
    EXPECT_EQ(window.GetText(kPolicyFileCombo), good) << "Browse";
    EXPECT_EQ(dialog->GetPolicyFileName(), good);
  });
  EXPECT_EQ(platform.messages.size(), 2u) << "each failure is reported";
  EXPECT_EQ(Recent(0), "");
}

TEST_F(PolicyFileDialogsTest, FailedLoadOfAListEntryEmptiesTheName) {
  const std::string good = WriteText("good.pol", "Page Width: 100\n");
  const std::string missing = folder.File("missing.pol");
  dialog->Settings().Recent(RecentList::Policy)[0] = missing;
  dialog->SetPolicyFileName(good);
  ASSERT_EQ(dialog->LoadPolicyFile(1), 1);
  RunOptions([&](HeadlessDialog& window) {
    window.SetSelection(kPolicyFileCombo, 0);
    window.Fire(kPolicyFileCombo, DialogEvent::SelectionEnd);
    EXPECT_EQ(window.GetText(kPolicyFileCombo), "");
    // The field losing the focus meanwhile loads nothing more.
    window.Fire(kPolicyFileCombo, DialogEvent::KillFocus);
  });
  EXPECT_EQ(dialog->GetPolicyFileName(), "");
  EXPECT_EQ(dialog->IsPolicyFileLoaded(), 0) << "the policy-file layer was reset before loading";
  EXPECT_EQ(dialog->PolicyFilePolicies().IsSet(PolicyId::PageWidth), 0);
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(PolicyFileDialogsTest, WindowMovesAQuarterOfItsSizeAndTitleNamesTheProduct) {
  SelectInterfaceLanguage(kLanguageEnglish);
  RunOptions([&](HeadlessDialog& window) {
    EXPECT_EQ(window.GetRect().left, 100);
    EXPECT_EQ(window.GetRect().top, 75);
    EXPECT_EQ(window.GetTitle().find("Qvarnel"), std::string::npos) << window.GetTitle();
    EXPECT_NE(window.GetTitle().find("Policy File"), std::string::npos) << window.GetTitle();
  });
}

TEST_F(PolicyFileDialogsTest, BareNameSavesIntoTheInputFolderWithTheExtension) {
  dialog->SetInputDir(Dir());
  dialog->SheetChanges().Int(PolicyId::PageWidth).value = 90;
  dialog->SheetChanges().Int(PolicyId::PageWidth).set = 1;
  dialog->SetSheetChangesPending(1);
  std::string shown;
  const int result = RunSave([&](HeadlessDialog& window) {
    window.SetText(kSavePoliciesName, "policy");
    window.Fire(1, DialogEvent::Click);
    shown = window.GetText(kSavePoliciesName);
    return 1;
  });
  EXPECT_EQ(result, 1);
  const std::string expected = Dir() + "policy.pol";
  EXPECT_EQ(shown, expected) << "the rebuilt name is shown";
  ASSERT_TRUE(std::filesystem::exists(expected));
  const std::string written = ReadBytes(expected);
  EXPECT_NE(written.find("Page Width"), std::string::npos) << written;
  EXPECT_EQ(written.find("TAB size"), std::string::npos) << "changed policies only";
  EXPECT_EQ(dialog->GetPolicyFileName(), expected);
}

TEST_F(PolicyFileDialogsTest, EmptyNameAsksForOneAndStaysOpen) {
  bool stayedOpen = false;
  RunSave([&](HeadlessDialog& window) {
    window.SetText(kSavePoliciesName, "");
    window.Fire(1, DialogEvent::Click);
    stayedOpen = window.IsInModalLoop();
    return 2;
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Must choose a file name");
  EXPECT_EQ(platform.fileRequests.size(), 1u) << "Browse follows the message";
}

TEST_F(PolicyFileDialogsTest, UnwritableFolderIsReportedAndTheDialogStaysOpen) {
  bool stayedOpen = false;
  RunSave([&](HeadlessDialog& window) {
    window.SetText(kSavePoliciesName, folder.File("no-such-folder/p.pol"));
    window.Fire(1, DialogEvent::Click);
    stayedOpen = window.IsInModalLoop();
    return 2;
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.rfind("Invalid Output Directory.", 0), 0u);
}

// Browse appends ".pol" only when the chosen path has no "." anywhere.
struct BrowseCase {
  const char* chosen;
  const char* shown;
};
constexpr BrowseCase kBrowseCases[] = {
    {"/data/policies/mine", "/data/policies/mine.pol"},
    {"/data/v1.2/mine", "/data/v1.2/mine"},
    {"/data/mine.txt", "/data/mine.txt"},
};

TEST_F(PolicyFileDialogsTest, BrowseAddsTheExtensionOnlyToANameWithoutADot) {
  for (const BrowseCase& c : kBrowseCases) {
    SCOPED_TRACE(c.chosen);
    platform.fileAnswers.push_back({c.chosen});
    RunSave([&](HeadlessDialog& window) {
      window.Fire(kSavePoliciesBrowse, DialogEvent::Click);
      EXPECT_EQ(window.GetText(kSavePoliciesName), c.shown);
      return 2;
    });
  }
}

}  // namespace
