#include "app/StatusDialog.h"

#include <gtest/gtest.h>

#include "DesktopFixture.h"

using StatusWindow = DesktopTest;

TEST_F(StatusWindow, ShowsTheFirstNineLinesOfAMessageAndKeepsEveryLine) {
  MakeDialog();
  status().AppendStatusLines("one\n  two  \n\n\tthree\nfour\nfive\nsix\nseven\n\neight\nnine\nten");
  EXPECT_EQ(status().GetShownText(), "one\ntwo\nthree\nfour\nfive\nsix\nseven\n");
  EXPECT_EQ(status().GetLines().GetCount(), 10);
  EXPECT_EQ(StatusLines(), "one\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine\nten\n");
  HeadlessDialog* window = platform.FindDialog(kDialogStatus);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetText(kStatusText), status().GetShownText());
  EXPECT_GE(window->Repaints(), 1) << "the window repaints at once, inside the conversion";
}

TEST_F(StatusWindow, ShownTextIsCappedWhileEveryLineIsSaved) {
  MakeDialog();
  const std::string filler(99, 'x');
  int added = 0;
  while (static_cast<int>(status().GetShownText().size()) <= StatusDialog::kShownLimit) {
    status().AppendStatusLines((std::to_string(added++) + filler).c_str());
  }
  status().AppendStatusLines("last line");
  ++added;
  EXPECT_EQ(status().GetShownLineCount(), StatusDialog::kTailLines);
  const std::string& shown = status().GetShownText();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), StatusDialog::kTailLines);
  EXPECT_EQ(shown.substr(shown.size() - 10), "last line\n");
  EXPECT_EQ(shown.rfind(std::to_string(added - StatusDialog::kTailLines) + "x", 0), 0u);

  platform.fileAnswers.push_back({folder.File("run")});
  ASSERT_EQ(status().SaveStatusLog(), 1);
  const std::string saved = ReadBytes(folder.File("run.log"));
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), added);
  EXPECT_EQ(saved.substr(0, 1 + filler.size()), "0" + filler);
  ASSERT_FALSE(platform.fileRequests.empty());
  EXPECT_EQ(platform.fileRequests.back().filter, "Log files (*.log)|*.log|All files (*.*)|*.*|");
}

TEST_F(StatusWindow, SaveNamesAndFailures) {
  MakeDialog();
  status().AppendStatusLines("ERROR: something");
  struct Case {
    std::string chosen;
    std::string written;  // empty: the save fails
  };
  const Case cases[] = {
      {folder.File("plain"), folder.File("plain.log")},
      {folder.File("given.txt"), folder.File("given.txt")},
      {folder.File("no-such-folder/x.log"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    platform.messages.clear();
    platform.fileAnswers.push_back({c.chosen});
    const int saved = status().SaveStatusLog();
    if (c.written.empty()) {
      EXPECT_EQ(saved, 0);
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.messages[0].text, "*** Failed to open log file : " + c.chosen + " ***");
      EXPECT_EQ(platform.messages[0].caption, "Output File Error");
      continue;
    }
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(ReadBytes(c.written), "ERROR: something\n");
  }
  // A cancelled chooser writes nothing.
  EXPECT_EQ(status().SaveStatusLog(), 0);
}

TEST_F(StatusWindow, PlacedInTheCornerUnlessAPositionIsSaved) {
  platform.workArea = {0, 0, 1000, 800};
  MakeDialog();
  HeadlessDialog* window = platform.FindDialog(kDialogStatus);
  ASSERT_NE(window, nullptr);
  const WindowRect rect = window->GetRect();
  EXPECT_EQ(rect.left + rect.width, 1000 - 30);
  EXPECT_EQ(rect.top + rect.height, 800 - 30);

  dialog->Settings().statusWindow = {5, -1};
  status().Show();
  EXPECT_EQ(window->GetRect().left, rect.left) << "a negative coordinate means none saved";
  dialog->Settings().statusWindow = {5, 7};
  status().Hide();
  status().Show();
  EXPECT_EQ(window->GetRect().left, 5);
  EXPECT_EQ(window->GetRect().top, 7);
}

TEST_F(StatusWindow, ButtonsCloseClearAndTheCheckBoxFeedTheSettings) {
  MakeDialog();
  HeadlessDialog* window = platform.FindDialog(kDialogStatus);
  ASSERT_NE(window, nullptr);
  status().Show();
  window->Move(40, 50);
  (void)window->Fire(kStatusClose, DialogEvent::Click);
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(dialog->Settings().statusWindow.left, 40);
  EXPECT_EQ(dialog->Settings().statusWindow.top, 50);

  status().Show();
  EXPECT_FALSE(window->Fire(0, DialogEvent::CloseRequest)) << "the window is hidden, not destroyed";
  EXPECT_FALSE(window->IsShown());

  status().AppendStatusLines("a line");
  (void)window->Fire(kStatusClear, DialogEvent::Click);
  EXPECT_EQ(window->GetText(kStatusText), "");
  EXPECT_EQ(status().GetLines().GetCount(), 0);

  EXPECT_EQ(dialog->Settings().autoDismissStatusDialog, 0);
  (void)window->ClickCheck(kStatusAutoClose);
  EXPECT_EQ(dialog->Settings().autoDismissStatusDialog, 1);
}

TEST_F(StatusWindow, CheckBoxStartsFromTheSetting) {
  (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Dialogs\\AutoDismissStatusDialog",
                                "Yes");
  MakeDialog();
  EXPECT_EQ(platform.FindDialog(kDialogStatus)->GetCheck(kStatusAutoClose), 1);
}
