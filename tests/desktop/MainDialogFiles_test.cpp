// The main dialog's file fields on the headless desktop: dropped files, the input chooser,
// the field handlers, Convert and View.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "DesktopFixture.h"
#include "engine/Context.h"
#include "policy/FileControl.h"

namespace fs = std::filesystem;

namespace {

class MainDialogFiles : public DesktopTest {
 protected:
  // Runs the main dialog modally; script acts on its window as the user would. The window,
  // made at the first run, runs the script of each run.
  OxvDialog& RunDialog(const std::function<void(HeadlessDialog&)>& script) {
    OxvDialog& main = dialog != nullptr ? *dialog : MakeDialog();
    script_ = script;
    platform.modalScripts[kDialogMain] = [this](HeadlessDialog& window) {
      script_(window);
      return 2;
    };
    (void)main.RunModal();
    return main;
  }
  static void Type(HeadlessDialog& window, int id, const std::string& text) {
    window.SetText(id, text);
    window.Fire(id, DialogEvent::KillFocus);
  }
  bool Exists(const std::string& name) const { return fs::exists(folder.path / name); }

  std::function<void(HeadlessDialog&)> script_;
};

}  // namespace

// ---- Dropped files ----

TEST_F(MainDialogFiles, DroppingOneFileConvertsIt) {
  const std::string input = WriteText("in/doc.txt", kSampleText);
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    ASSERT_TRUE(window.AcceptsDroppedFiles());
    ASSERT_TRUE(window.DropFiles({input}));
    EXPECT_EQ(window.GetText(1122), input);
    EXPECT_EQ(window.GetText(1080), "doc.rtf");
    EXPECT_EQ(window.GetTitle(), "doc.txt - Kelvane");
  });
  EXPECT_EQ(main.GetInputDir(), Dir() + "in/");
  EXPECT_EQ(ReadBytes(folder.File("in/doc.rtf")).rfind("{\\rtf", 0), 0u);
  EXPECT_EQ(main.GetLastOutputFile(), "doc.rtf");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainDialogFiles, DroppingThreeFilesOfOneFolderListsAndConvertsThem) {
  std::vector<std::string> paths;
  for (const char* name : {"a.txt", "b.txt", "c.txt"})
    paths.push_back(WriteText(std::string("d/") + name, kSampleText));
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    ASSERT_TRUE(window.DropFiles(paths));
    EXPECT_EQ(window.GetText(1122), Dir() + "d/\"/a.txt\" \"/b.txt\" \"/c.txt\"");
    EXPECT_EQ(window.GetText(1080), "*.rtf");
    EXPECT_EQ(window.GetTitle(), "\"/a.txt\"... - Kelvane");
  });
  for (const char* name : {"d/a.rtf", "d/b.rtf", "d/c.rtf"})
    EXPECT_TRUE(Exists(name)) << name;
  EXPECT_EQ(main.GetInputDir(), Dir() + "d/");
  EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
}

// Files of several folders are each looked for, and converted, in their own folder.
TEST_F(MainDialogFiles, DroppingFilesOfSeveralFoldersKeepsEachFolder) {
  const std::string first = WriteText("one/a.txt", kSampleText);
  const std::string second = WriteText("two/b.txt", kSampleText);
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    ASSERT_TRUE(window.DropFiles({first, second}));
    EXPECT_EQ(window.GetText(1122), "\"" + first + "\" \"" + second + "\"");
  });
  EXPECT_TRUE(Exists("one/a.rtf"));
  EXPECT_TRUE(Exists("two/b.rtf"));
  EXPECT_FALSE(Exists("one/b.rtf"));
  main.SetOutputToSource(0);
  EXPECT_EQ(main.GetOutputDir(), Dir() + "one/");
}

TEST_F(MainDialogFiles, DroppingNothingChangesNothing) {
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    window.SetText(1122, "kept.txt");
    ASSERT_TRUE(window.DropFiles({}));
    EXPECT_EQ(window.GetText(1122), "kept.txt");
  });
  EXPECT_EQ(main.GetLastOutputFile(), "");
  EXPECT_TRUE(platform.messages.empty());
}

// ---- The input chooser ----

TEST_F(MainDialogFiles, ChooserTakesOneFileOrAListLikeADrop) {
  const std::string a = WriteText("d/a.txt", kSampleText);
  const std::string b = WriteText("d/b.txt", kSampleText);
  const std::string other = WriteText("e/c.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.Settings().currentDir = Dir() + "start";
  platform.fileAnswers = {{a}, {a, b}, {a, other}, {}};
  RunDialog([&](HeadlessDialog& window) {
    window.Fire(1001, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1122), a);
    EXPECT_EQ(window.GetText(1080), "a.rtf");
    EXPECT_EQ(window.GetText(1012), Dir() + "d/");
    EXPECT_EQ(window.GetItemText(1122, 0), a);

    window.Fire(1001, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1122), Dir() + "d/\"/a.txt\" \"/b.txt\"");
    EXPECT_EQ(window.GetText(1012), Dir() + "d");

    window.Fire(1001, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1122), "\"" + a + "\" \"" + other + "\"");
    EXPECT_EQ(window.GetText(1012), Dir() + "d/");

    // Cancelled: nothing changes.
    window.Fire(1001, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1122), "\"" + a + "\" \"" + other + "\"");
  });
  ASSERT_EQ(platform.fileRequests.size(), 4u);
  const FileChooserRequest& request = platform.fileRequests[0];
  EXPECT_EQ(request.folder, Dir() + "start/");
  EXPECT_EQ(request.proposedName, Dir() + "start/*.txt");
  EXPECT_EQ(request.filter,
            "Text files (*.txt,*.asc)|*.txt;*.asc|Include files (*.inc)|*.inc|All files (*.*)|*.*||");
  EXPECT_TRUE(request.multiple);
  EXPECT_TRUE(request.mustExist);
  EXPECT_EQ(platform.fileRequests[1].folder, Dir() + "d/");
  EXPECT_EQ(main.GetInputDir(), "");
}

// ---- Field handlers ----

TEST_F(MainDialogFiles, TypedInputSetsTheFoldersAndTheOutputName) {
  const std::string input = WriteText("in/notes.txt", kSampleText);
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    Type(window, 1122, input);
    EXPECT_EQ(window.GetText(1012), Dir() + "in/");
    EXPECT_EQ(window.GetText(1080), "notes.rtf");
    EXPECT_EQ(window.GetItemText(1122, 0), input);
    EXPECT_EQ(window.GetTitle(), "notes.txt - Kelvane");
    // A recent entry chosen from the list.
    window.AddItem(1122, Dir() + "other/old.txt");
    window.SetSelection(1122, 1);
    window.Fire(1122, DialogEvent::CloseUp);
    EXPECT_EQ(window.GetText(1122), Dir() + "other/old.txt");
    EXPECT_EQ(window.GetText(1080), "old.rtf");
    EXPECT_EQ(window.GetText(1012), Dir() + "other/");
  });
  EXPECT_EQ(main.GetInputDir(), Dir() + "other/");
  EXPECT_EQ(main.Settings().currentDir, Dir() + "other/");
}

TEST_F(MainDialogFiles, OutputDirectoryTypedChosenOrPicked) {
  const std::string input = WriteText("in/notes.txt", kSampleText);
  platform.folderAnswers.push_back(Dir() + "picked");
  OxvDialog& main = MakeDialog();
  RunDialog([&](HeadlessDialog& window) {
    Type(window, 1012, "x");
    EXPECT_EQ(window.GetText(1012), "x");
    Type(window, 1012, Dir() + "typed");
    EXPECT_EQ(window.GetText(1012), Dir() + "typed/");
    EXPECT_FALSE(main.IsOutputDirChosen());

    window.AddItem(1012, Dir() + "listed");
    window.SetSelection(1012, window.GetItemCount(1012) - 1);
    window.Fire(1012, DialogEvent::CloseUp);
    EXPECT_EQ(window.GetText(1012), Dir() + "listed/");

    window.Fire(1291, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1012), Dir() + "picked/");
    EXPECT_EQ(window.GetItemText(1012, 0), Dir() + "picked/");
    EXPECT_TRUE(main.IsOutputDirChosen());
    // A chosen folder no longer follows the input.
    Type(window, 1122, input);
    EXPECT_EQ(window.GetText(1012), Dir() + "picked/");
  });
  // Cancelling the picker leaves the folder.
  RunDialog([&](HeadlessDialog& window) {
    window.Fire(1291, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1012), Dir() + "picked/");
  });
}

TEST_F(MainDialogFiles, OptionControlsReachTheContextAndTheSheetChanges) {
  OxvDialog& main = MakeDialog();
  RunDialog([&](HeadlessDialog& window) {
    window.ClickCheck(9007);
    EXPECT_EQ(main.GetContext()->Commands.searchSubfolders, 1);
    window.ClickCheck(9109);
    const int replicate = window.GetCheck(9109);
    EXPECT_EQ(main.GetContext()->Commands.treeMatchesInput, replicate);
    EXPECT_EQ(main.Settings().outputToTree, replicate);
    window.ClickCheck(1016);
    EXPECT_EQ(main.SheetChanges().IsSet(PolicyId::KeepItSimple), 1);
    EXPECT_EQ(main.SheetChanges().GetInt(PolicyId::KeepItSimple), 1);
    EXPECT_FALSE(main.IsDelimiterTyped());
    window.SetText(9108, ";");
    window.Fire(9108, DialogEvent::EditChange);
    EXPECT_TRUE(main.IsDelimiterTyped());
    EXPECT_EQ(main.GetDelimiter(), ";");
    window.SetSelection(9104, 4);
    window.Fire(9104, DialogEvent::SelectionChange);
    EXPECT_TRUE(window.IsControlShown(9108));
  });
}

// ---- Convert ----

TEST_F(MainDialogFiles, CustomDelimiterMustNotBeABlankOrATab) {
  struct Case {
    const char* delimiter;
    bool converts;
  };
  const Case cases[] = {{" ", false}, {"\t", false}, {" ;", false}, {"", true}, {";", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("[") + c.delimiter + "]");
    const std::string input = WriteText("table.txt", "a;b\nc;d\n");
    fs::remove(folder.path / "table.rtf");
    platform.messages.clear();
    RunDialog([&](HeadlessDialog& window) {
      window.SetText(1122, input);
      window.SetSelection(9104, 4);
      window.SetText(9108, c.delimiter);
      window.Fire(9108, DialogEvent::EditChange);
      window.Fire(1015, DialogEvent::Click);
      if (!c.converts) {
        EXPECT_EQ(window.FocusedControl(), 9108);
      }
    });
    EXPECT_EQ(Exists("table.rtf"), c.converts);
    if (c.converts)
      continue;
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Need to specify a delimiter character");
    EXPECT_EQ(platform.messages[0].caption, "No delimiter character specified");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  }
}

TEST_F(MainDialogFiles, ConvertEndsFoldersWithASeparator) {
  const std::string input = WriteText("in/doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.SetInputDir(Dir() + "in");
  RunDialog([&](HeadlessDialog& window) {
    window.SetText(1122, input);
    window.SetText(1012, Dir() + "out");
    window.Fire(1015, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1012), Dir() + "out/");
    EXPECT_EQ(window.GetItemText(1012, 0), Dir() + "out/");
  });
  EXPECT_EQ(main.Settings().currentDir, Dir() + "in/");
  EXPECT_TRUE(Exists("in/doc.rtf"));
}

// An empty folder is the current one: a bare name is looked for, and written, there.
TEST_F(MainDialogFiles, EmptyFoldersStayTheCurrentFolder) {
  WriteText("bare.txt", kSampleText);
  const fs::path before = fs::current_path();
  fs::current_path(folder.path);
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    window.SetText(1122, "bare.txt");
    window.SetText(1012, "");
    window.Fire(1015, DialogEvent::Click);
    EXPECT_EQ(window.GetText(1012), "");
  });
  fs::current_path(before);
  EXPECT_EQ(main.GetInputDir(), "");
  EXPECT_TRUE(Exists("bare.rtf"));
  EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
}

TEST_F(MainDialogFiles, ConvertWithoutInputRunsTheChooserFirst) {
  const std::string input = WriteText("chosen.txt", kSampleText);
  platform.fileAnswers = {{}, {input}};
  RunDialog([&](HeadlessDialog& window) {
    window.Fire(1015, DialogEvent::Click);
    EXPECT_FALSE(Exists("chosen.rtf"));
    window.Fire(1015, DialogEvent::Click);
    EXPECT_TRUE(Exists("chosen.rtf"));
  });
  EXPECT_EQ(platform.fileRequests.size(), 2u);
}

// ---- View ----

TEST_F(MainDialogFiles, ViewStartsTheRegisteredRtfViewerOnTheQuotedResult) {
  const std::string input = WriteText("doc.txt", kSampleText);
  const std::string viewer = WriteText("bin/rtf viewer", "#!/bin/sh\n");
  platform.fileTypes[".rtf"] = "rtffile";
  platform.typeCommands[{"rtffile", "open"}] = "\"" + viewer + "\" \"%1\"";
  RunDialog([&](HeadlessDialog& window) {
    window.SetText(1122, input);
    window.Fire(1015, DialogEvent::Click);
    window.Fire(1198, DialogEvent::Click);
  });
  ASSERT_EQ(platform.processes.size(), 1u);
  EXPECT_EQ(platform.processes[0].program, viewer);
  EXPECT_EQ(platform.processes[0].argument, "\"" + folder.File("doc.rtf") + "\"");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainDialogFiles, ViewBeforeAnyConversionSaysSoAndConverts) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = MakeDialog();
  main.Settings().viewRtfCommand = "/usr/bin/viewer";
  RunDialog([&](HeadlessDialog& window) {
    // No input: the chooser is cancelled and nothing more happens.
    window.Fire(1198, DialogEvent::Click);
    window.SetText(1122, input);
    window.Fire(1198, DialogEvent::Click);
  });
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "Must choose a file first");
  EXPECT_EQ(platform.messages[0].caption, "Input File Error");
  EXPECT_EQ(platform.messages[1].text, "Must convert a file first");
  EXPECT_EQ(platform.messages[1].caption, "No conversion done yet");
  EXPECT_EQ(platform.fileRequests.size(), 1u);
  ASSERT_EQ(platform.processes.size(), 1u);
  EXPECT_EQ(platform.processes[0].program, "/usr/bin/viewer");
  EXPECT_EQ(platform.processes[0].argument, "\"" + folder.File("doc.rtf") + "\"");
}

TEST_F(MainDialogFiles, ViewWithoutAViewerOrWithOneThatCannotStart) {
  const std::string input = WriteText("doc.txt", kSampleText);
  OxvDialog& main = RunDialog([&](HeadlessDialog& window) {
    window.SetText(1122, input);
    window.Fire(1015, DialogEvent::Click);
    window.Fire(1198, DialogEvent::Click);
  });
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "Please use the Settings Menu to locate your browser manually");
  EXPECT_EQ(platform.messages[0].caption, "Failed to auto-detect default browser");
  EXPECT_TRUE(platform.processes.empty());

  main.Settings().viewRtfCommand = "/usr/bin/viewer";
  platform.processStartWorks = false;
  platform.processErrorCode = 8;
  RunDialog([&](HeadlessDialog& window) { window.Fire(1198, DialogEvent::Click); });
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text, "Command \"/usr/bin/viewer \"" + folder.File("doc.rtf") +
                                           "\"\" failed.\n\r  Error code=8");
  EXPECT_EQ(platform.messages[1].caption, "Error launching browser");
}
