// The main dialog's menu commands on the headless backend: each sheet command reaches its
// sheet and page, the Settings toggles, the Language menu, tooltips across a language switch,
// the help and web links and Exit's question.
#include <gtest/gtest.h>

#include <string>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "app/MainMenu.h"
#include "app/PolicyFileDialogs.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "lang/ToolTips.h"
#include "pages/OptionSheets.h"
#include "policy/FileControl.h"

namespace {

class MainCommandsTest : public DesktopTest {
 protected:
  MainCommandsTest() {
    SelectInterfaceLanguage(kLanguageEnglish);
    MakeDialog();
  }
  ~MainCommandsTest() override { SelectInterfaceLanguage(kLanguageEnglish); }

  // Runs the main dialog with script as the user's actions; the dialog's result.
  int Run(const std::function<void(HeadlessDialog&)>& script) {
    platform.modalScripts[kDialogMain] = [script](HeadlessDialog& window) {
      script(window);
      return 2;
    };
    return dialog->RunModal();
  }

  // The caption of the sheet's active tab; empty when the sheet has no window.
  std::string ActiveTab(int sheetId) {
    HeadlessSheet* sheet = platform.FindSheet(sheetId);
    if (sheet == nullptr || !sheet->IsShown())
      return {};
    return sheet->GetPageCaption(sheet->GetActivePage());
  }
};

struct SheetCommandCase {
  int command;
  bool inMenu;  // false: start-up removed the entry, or none carries the id
  int sheetId;
  const char* tab;
};

constexpr SheetCommandCase kSheetCommandCases[] = {
    {32797, true, kSheetAnalysisId, "What to look for"},
    {32773, false, kSheetAnalysisId, "What to look for"},
    {32798, true, kSheetAnalysisId, "Analysis"},
    {32800, true, kSheetAnalysisId, "Bullets"},
    {32801, true, kSheetAnalysisId, "Contents List"},
    {32838, true, kSheetAnalysisId, "File structure"},
    {32799, true, kSheetAnalysisId, "Headings"},
    {32802, true, kSheetAnalysisId, "Pre-formatted text"},
    {32803, true, kSheetAnalysisId, "Table analysis"},
    {32774, false, kSheetOutputId, "Document details"},
    {32821, false, kSheetOutputId, "Document details"},
    {32816, false, kSheetOutputId, "Document details"},
    {32806, false, kSheetOutputId, "Document details"},
    {32826, false, kSheetOutputId, "Document details"},
    {32808, false, kSheetOutputId, "Document details"},
    {32809, false, kSheetOutputId, "Document details"},
    {32828, true, kSheetOutputId, "Document details"},
    {32832, true, kSheetOutputId, "File Generation"},
    {32819, false, kSheetOutputId, "File Generation"},
    {32818, false, kSheetOutputId, "Document details"},
    {32807, true, kSheetOutputId, "Fonts"},
    {32847, false, kSheetOutputId, "Document details"},
    {32810, true, kSheetOutputId, "Hyperlinks"},
    {32811, false, kSheetOutputId, "Document details"},
    {32827, false, kSheetOutputId, "Document details"},
    {32851, true, kSheetOutputId, "Document details"},
    {32839, false, kSheetOutputId, "Document details"},
    {32869, false, kSheetOutputId, "Document details"},
    {32868, false, kSheetOutputId, "Document details"},
    {32812, true, kSheetOutputId, "Preprocessor"},
    {32864, true, kSheetOutputId, "Formatting"},
    {32845, true, kSheetOutputId, "RTF Settings"},
    {32813, false, kSheetOutputId, "Document details"},
    {32814, false, kSheetOutputId, "Document details"},
    {32815, false, kSheetOutputId, "Document details"},
    {32860, false, kSheetConfigId, "Link Dictionary"},
    {32861, true, kSheetConfigId, "Link Dictionary"},
    {32859, true, kSheetConfigId, "Style Definition"},
    {32862, true, kSheetConfigId, "Table Definitions"},
    {32863, true, kSheetConfigId, "Text Commands"},
    {32796, true, kSheetSettingsId, "Drag'n'Drop"},
    {32823, true, kSheetSettingsId, "Documentation"},
    {32782, true, kSheetSettingsId, "Viewers"},
    {32824, true, kSheetSettingsId, "Messages"},
    {32822, true, kSheetSettingsId, "Policy files"},
};

TEST_F(MainCommandsTest, EachSheetCommandOpensItsSheetOnItsPage) {
  Run([this](HeadlessDialog& window) {
    for (const SheetCommandCase& c : kSheetCommandCases) {
      SCOPED_TRACE(c.command);
      EXPECT_EQ(window.ChooseMenuCommand(c.command), c.inMenu);
      if (!c.inMenu) {
        EXPECT_TRUE(dialog->OnMenuCommand(c.command));
      }
      EXPECT_EQ(ActiveTab(c.sheetId), c.tab);
    }
  });
  // One sheet of each kind, however often it was opened.
  EXPECT_EQ(platform.sheets.size(), 4u);
}

TEST_F(MainCommandsTest, AnOpenSheetKeepsUnsavedChangesWhenOpenedAgain) {
  Run([this](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32800));
    HeadlessSheet* sheet = platform.FindSheet(kSheetAnalysisId);
    OptionPage& bullets = *dialog->Sheets().GetAnalysisSheet()->FindPage("BulletsPage");
    const int id = bullets.Definition().values.front().controlId;
    EXPECT_TRUE(sheet->ActivePage()->ClickCheck(id));
    ASSERT_TRUE(window.ChooseMenuCommand(32803));
    EXPECT_EQ(bullets.IsChanged(id), 1);
    EXPECT_EQ(ActiveTab(kSheetAnalysisId), "Table analysis");
  });
}

TEST_F(MainCommandsTest, SettingsTogglesFlipTheSettingAndItsCheckMark) {
  ProgramSettings& settings = dialog->Settings();
  struct Case {
    int command;
    int ProgramSettings::*setting;
  };
  const Case cases[] = {
      {kCmdShowToolTips, &ProgramSettings::displayToolTips},
      {kCmdShowStatusDialog, &ProgramSettings::displayStatusDialog},
      {kCmdDisplayResults, &ProgramSettings::dropViewResults},
      {kCmdRememberSettings, &ProgramSettings::rememberSettings},
  };
  Run([&](HeadlessDialog& window) {
    const Menu& bar = *window.GetMenuBar();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.command);
      const int before = settings.*c.setting;
      ASSERT_TRUE(window.ChooseMenuCommand(c.command));
      EXPECT_EQ(settings.*c.setting, before ? 0 : 1);
      EXPECT_EQ(bar.IsCommandChecked(c.command), before == 0);
      ASSERT_TRUE(window.ChooseMenuCommand(c.command));
      EXPECT_EQ(settings.*c.setting, before);
      EXPECT_EQ(bar.IsCommandChecked(c.command), before != 0);
    }
  });
}

TEST_F(MainCommandsTest, TipOfTheDayCheckMarkFollowsTheSettingAfterTheTips) {
  ProgramSettings& settings = dialog->Settings();
  settings.showTipsOnStartup = 1;
  int tipsShown = 0;
  platform.modalScripts[kDialogTips] = [&](HeadlessDialog&) {
    ++tipsShown;
    settings.showTipsOnStartup = 0;
    return 1;
  };
  Run([&](HeadlessDialog& window) {
    EXPECT_TRUE(window.GetMenuBar()->IsCommandChecked(kCmdTipOfTheDay));
    ASSERT_TRUE(window.ChooseMenuCommand(kCmdTipOfTheDay));
    EXPECT_FALSE(window.GetMenuBar()->IsCommandChecked(kCmdTipOfTheDay));
  });
  EXPECT_EQ(tipsShown, 1);
}

TEST_F(MainCommandsTest, TheLanguageInForceChangesNothing) {
  Run([this](HeadlessDialog& window) {
    Menu& bar = *window.GetMenuBar();
    ASSERT_TRUE(bar.IsCommandChecked(kCmdEnglish));
    // A mark out of step with the language shows whether the menu was touched.
    (void)bar.CheckCommand(kCmdEnglish, false);
    const int redraws = window.MenuRedraws();
    for (int command : {kCmdEnglish, kCmdOtherLanguage}) {
      SCOPED_TRACE(command);
      ASSERT_TRUE(window.ChooseMenuCommand(command));
      EXPECT_FALSE(bar.IsCommandChecked(kCmdEnglish));
      EXPECT_EQ(window.MenuRedraws(), redraws);
      EXPECT_EQ(dialog->GetLanguage(), kLanguageEnglish);
    }
  });
}

TEST_F(MainCommandsTest, BuiltInLanguagesSwitchAndCheckTheirEntry) {
  struct Case {
    int command;
    int language;
    const char* name;
  };
  const Case cases[] = {
      {kCmdGerman, kLanguageGerman, "German"},   {kCmdDutch, kLanguageDutch, "Dutch"},
      {kCmdFrench, kLanguageFrench, "French"},   {kCmdItalian, kLanguageItalian, "Italian"},
      {kCmdSpanish, kLanguageSpanish, "Spanish"}, {kCmdPortuguese, kLanguagePortuguese, "Portuguese"},
      {kCmdSwedish, kLanguageSwedish, "Swedish"}, {kCmdEnglish, kLanguageEnglish, "English"},
  };
  Run([&](HeadlessDialog& window) {
    const Menu& bar = *window.GetMenuBar();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(window.ChooseMenuCommand(c.command));
      EXPECT_EQ(dialog->GetLanguage(), c.language);
      EXPECT_EQ(dialog->Settings().language, c.name);
      EXPECT_TRUE(bar.IsCommandChecked(c.command));
      EXPECT_FALSE(bar.IsCommandChecked(c.command == kCmdEnglish ? kCmdSwedish : kCmdEnglish));
    }
  });
}

TEST_F(MainCommandsTest, TooltipsFollowTheToggleAcrossALanguageSwitch) {
  dialog->Settings().displayToolTips = 1;
  Run([this](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32798));  // the analysis page of the analysis sheet
    HeadlessDialog* page = platform.FindSheet(kSheetAnalysisId)->ActivePage();
    constexpr int kConvert = 1015;
    constexpr int kPageControl = 1039;
    EXPECT_GT(window.ToolCount(), 0);
    EXPECT_GT(page->ToolCount(), 0);
    EXPECT_EQ(window.GetToolText(kConvert), GetToolTipText(kConvert));
    const std::string englishTip = window.GetToolText(kConvert);
    const std::string englishPageTip = page->GetToolText(kPageControl);

    ASSERT_TRUE(window.ChooseMenuCommand(kCmdGerman));
    EXPECT_NE(window.GetToolText(kConvert), englishTip);
    EXPECT_EQ(window.GetToolText(kConvert), GetToolTipText(kConvert));
    EXPECT_NE(page->GetToolText(kPageControl), englishPageTip);

    // Off: every tool goes, and a language switch brings none back.
    ASSERT_TRUE(window.ChooseMenuCommand(kCmdShowToolTips));
    EXPECT_EQ(window.ToolCount(), 0);
    EXPECT_EQ(page->ToolCount(), 0);
    ASSERT_TRUE(window.ChooseMenuCommand(kCmdEnglish));
    EXPECT_EQ(window.ToolCount(), 0);
    EXPECT_EQ(page->ToolCount(), 0);

    // On again: the tools return with the texts of the language now in force.
    ASSERT_TRUE(window.ChooseMenuCommand(kCmdShowToolTips));
    EXPECT_EQ(window.GetToolText(kConvert), englishTip);
    EXPECT_EQ(page->GetToolText(kPageControl), englishPageTip);
  });
}

TEST_F(MainCommandsTest, TooltipsOffAtTheStartShowNone) {
  dialog->Settings().displayToolTips = 0;
  Run([this](HeadlessDialog& window) {
    EXPECT_TRUE(window.HasToolTipControl());
    EXPECT_EQ(window.ToolCount(), 0);
    ASSERT_TRUE(window.ChooseMenuCommand(32798));
    EXPECT_EQ(platform.FindSheet(kSheetAnalysisId)->ActivePage()->ToolCount(), 0);
  });
}

TEST_F(MainCommandsTest, ExitAsksAboutPendingChangesWithNoAsDefault) {
  struct Case {
    int pending;
    std::deque<int> answers;
    std::size_t questions;
    int saveDialogs;
  };
  const Case cases[] = {
      {0, {}, 0, 0},
      {1, {}, 1, 0},  // unanswered: the default button, No
      {1, {kAnswerNo}, 1, 0},
      {1, {kAnswerYes}, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pending * 10 + static_cast<int>(c.answers.size()));
    int saveDialogs = 0;
    platform.modalScripts[kDialogSavePolicies] = [&](HeadlessDialog&) {
      ++saveDialogs;
      return 2;
    };
    platform.messages.clear();
    platform.messageAnswers = c.answers;
    dialog->SetSheetChangesPending(c.pending);
    platform.modalScripts[kDialogMain] = [](HeadlessDialog& window) {
      EXPECT_TRUE(window.ChooseMenuCommand(kCmdExit));
      return 2;
    };
    (void)dialog->RunModal();
    ASSERT_EQ(platform.messages.size(), c.questions);
    EXPECT_EQ(saveDialogs, c.saveDialogs);
    if (c.questions == 0)
      continue;
    const ShownMessage& question = platform.messages.front();
    EXPECT_EQ(question.text, GetMessageText(kMsgSaveChangesQuestion));
    EXPECT_EQ(question.caption, GetMessageText(kMsgCaptionSaveChanges));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNoDefaultNo);
  }
}

TEST_F(MainCommandsTest, WebLinksCarryTheirQueries) {
  struct Case {
    int command;
    const char* part;
  };
  const Case cases[] = {
      {32786, "/doco/"},
      {32786, "?from=help"},
      {32835, "/doralith/?prod=oxv"},
      {32837, "/kelvane/?prod=kvl"},
      {32857, "/strivelle/?prod=zdt"},
      {32836, "/tessaway/index.html?prod=wqe"},
      {32834, "/?prod=nrv"},
      {32850, "/cgi-local/checkversion.pl?p=Kelvane&v="},
  };
  Run([&](HeadlessDialog& window) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.command);
      platform.processes.clear();
      ASSERT_TRUE(window.ChooseMenuCommand(c.command));
      ASSERT_EQ(platform.processes.size(), 1u);
      EXPECT_EQ(platform.processes.front().program, "/bin/true");
      EXPECT_NE(platform.processes.front().argument.find(c.part), std::string::npos)
          << platform.processes.front().argument;
    }
  });
}

TEST_F(MainCommandsTest, MissingLocalDocumentationReportsAndOpensItsSettingsPage) {
  dialog->Settings().htmlDoco = Dir() + "no-such-manual.html";
  Run([this](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32785));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("no-such-manual.html"), std::string::npos);
    EXPECT_EQ(platform.messages[0].caption, GetMessageText(kMsgCaptionFileLocation));
    EXPECT_EQ(ActiveTab(kSheetSettingsId), "Documentation");
    EXPECT_TRUE(platform.processes.empty());
  });
}

TEST_F(MainCommandsTest, LocalDocumentationOpensInTheBrowser) {
  dialog->Settings().htmlDoco = WriteText("manual.html", "<html></html>");
  Run([this](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32785));
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.processes.size(), 1u);
    EXPECT_NE(platform.processes[0].argument.find("manual.html"), std::string::npos);
  });
}

TEST_F(MainCommandsTest, PolicyFileButtonLoadsOrKeepsTheOldName) {
  const std::string good = WriteText("good.pol", "Keep it simple: Yes\n");
  const std::string missing = Dir() + "missing.pol";
  Run([&](HeadlessDialog& window) {
    platform.fileAnswers.push_back({good});
    ASSERT_TRUE(window.Fire(1506, DialogEvent::Click));
    EXPECT_EQ(window.GetText(1505), good);
    EXPECT_EQ(dialog->GetPolicyFileName(), good);
    EXPECT_EQ(window.GetItemText(1505, 0), good);
    EXPECT_EQ(platform.fileRequests.back().filter, GetMessageText(kMsgFilterPolicyFiles));

    platform.fileAnswers.push_back({missing});
    ASSERT_TRUE(window.Fire(1506, DialogEvent::Click));
    EXPECT_EQ(window.GetText(1505), good);
  });
}

TEST_F(MainCommandsTest, ChoosingAnUnloadablePolicyFileEmptiesTheField) {
  const std::string missing = Dir() + "gone.pol";
  dialog->Settings().Recent(RecentList::Policy)[0] = missing;
  Run([&](HeadlessDialog& window) {
    for (DialogEvent event : {DialogEvent::SelectionChange, DialogEvent::SelectionEnd}) {
      SCOPED_TRACE(static_cast<int>(event));
      dialog->SetSheetChangesPending(1);
      window.SetText(1505, "typed.pol");
      window.SetSelection(1505, 0);
      ASSERT_TRUE(window.Fire(1505, event));
      EXPECT_EQ(window.GetText(1505), "");
      EXPECT_EQ(dialog->GetPolicyFileName(), "");
      EXPECT_EQ(dialog->AreSheetChangesPending(), 0);
    }
  });
}

TEST_F(MainCommandsTest, ResetClearsTheSheetsChangeFlags) {
  Run([this](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32800));
    OptionPage& bullets = *dialog->Sheets().GetAnalysisSheet()->FindPage("BulletsPage");
    const int id = bullets.Definition().values.front().controlId;
    EXPECT_TRUE(platform.FindSheet(kSheetAnalysisId)->ActivePage()->ClickCheck(id));
    ASSERT_EQ(bullets.IsChanged(id), 1);
    ASSERT_TRUE(window.ChooseMenuCommand(32781));
    EXPECT_EQ(bullets.IsChanged(id), 0);
  });
}

TEST_F(MainCommandsTest, LoadPolicyFileCommandPutsTheLoadedNameInTheField) {
  const std::string good = WriteText("chosen.pol", "Keep it simple: Yes\n");
  for (int command : {static_cast<int>(kCmdLoadPolicyFile), 32831}) {
    SCOPED_TRACE(command);
    dialog->SetPolicyFileName("");
    platform.modalScripts[kDialogPolicyFile] = [&](HeadlessDialog& options) {
      options.SetText(kPolicyFileCombo, good);
      EXPECT_TRUE(options.Fire(kPolicyFileCombo, DialogEvent::KillFocus));
      return 1;
    };
    Run([&](HeadlessDialog& window) {
      ASSERT_TRUE(window.ChooseMenuCommand(command));
      EXPECT_EQ(window.GetText(1505), good);
      EXPECT_EQ(window.GetItemText(1505, 0), good);
    });
  }
}

TEST_F(MainCommandsTest, ReloadAndReanalyseSayDone) {
  const std::string policy = WriteText("reload.pol", "Keep it simple: Yes\n");
  const std::string input = WriteText("reanalyse.txt", kSampleText);
  dialog->SetPolicyFileName(policy);
  Run([&](HeadlessDialog& window) {
    ASSERT_TRUE(window.ChooseMenuCommand(32830));
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().text, GetMessageText(kMsgReloadDone));
    EXPECT_EQ(platform.messages.back().caption, GetMessageText(kMsgCaptionReloadPolicies));

    window.SetText(1122, input);
    ASSERT_TRUE(window.ChooseMenuCommand(32789));
    EXPECT_EQ(platform.messages.back().text, GetMessageText(kMsgReanalyseDone));
    EXPECT_EQ(platform.messages.back().caption, GetMessageText(kMsgCaptionReanalyse));
    EXPECT_EQ(dialog->IsConvertedOnce(), 1);
    EXPECT_EQ(platform.waitCursorDepth, 0);
  });
}

}  // namespace
