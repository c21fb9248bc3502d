#include "pages/LinkDictEdit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "pages/EditorTemplates.h"
#include "platform/HeadlessPlatform.h"
#include "support/ContextFixture.h"
#include "support/TestFiles.h"

namespace {

const std::string kThreeDefinitions =
    "! Links of the handbook\n"
    "Link definition: \"Kelvane\" = \"Kelvane home\" + \"http://www.kelvane.com/\"\n"
    "Link definition: \"manual\" = \"the manual\" + \"http://www.kelvane.com/manual\"\n"
    "Link definition: \"news\" = \"latest news\" + \"http://www.kelvane.com/news\"\n";

const std::string kInvalid = "\xCFnvalid link details";

class LinkDictEditTest : public ContextFixture {
 protected:
  // The program selects its interface language at start-up; the editor shows those texts.
  LinkDictEditTest() : folder("linkedit") { SelectInterfaceLanguage(kLanguageEnglish); }

  std::string Dir() const { return folder.path.string() + "/"; }

  // Opens the editor on name (resolved against the test's folder) holding text.
  HeadlessDialog& Open(const std::string& name, const std::string& text) {
    WriteBytes(Dir() + name, text);
    return OpenWithoutFile(name);
  }
  HeadlessDialog& OpenWithoutFile(const std::string& name) {
    editor.Init(Dir(), &fc, TextString(name.c_str()));
    editor.Create(nullptr);
    return Window();
  }
  HeadlessDialog& Window() { return static_cast<HeadlessDialog&>(*editor.GetWindow()); }

  std::vector<std::string> Items() {
    std::vector<std::string> items;
    for (int i = 0; i < Window().GetItemCount(kLinkEditList); ++i)
      items.push_back(Window().GetItemText(kLinkEditList, i));
    return items;
  }
  void Select(int item) {
    Window().SetSelection(kLinkEditList, item);
    Window().Fire(kLinkEditList, DialogEvent::SelectionChange);
  }
  void Type(const std::string& match, const std::string& replacement, const std::string& url) {
    Window().SetText(kLinkEditMatch, match);
    Window().SetText(kLinkEditReplacement, replacement);
    Window().SetText(kLinkEditUrl, url);
  }
  std::vector<std::string> Fields() {
    return {Window().GetText(kLinkEditMatch), Window().GetText(kLinkEditReplacement),
            Window().GetText(kLinkEditUrl)};
  }
  void Click(int id) { Window().Fire(id, DialogEvent::Click); }
  std::string Status() { return Window().GetText(kLinkEditStatus); }
  // Save, confirming the file dialog with path.
  void SaveAs(const std::string& path) {
    platform.fileAnswers.push_back({path});
    Click(kLinkEditSave);
  }
  int InfoLines() const {
    int count = 0;
    for (const std::string& message : messages)
      count += message.find("INFO:") != std::string::npos ? 1 : 0;
    return count;
  }

  HeadlessPlatform platform;
  TempFolder folder;
  LinkDictEdit editor{platform};
};

// ---- Loading and the list ----

TEST_F(LinkDictEditTest, ThreeDefinitionsGiveFourItemsWithoutReAddingThem) {
  Open("links.txt", kThreeDefinitions);
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60), "Kelvane", "manual", "news"}));
  EXPECT_EQ(editor.GetDictionary().GetCount(), 3);
  // Filling the list reads the entries: no entry is added again, so no update is reported.
  EXPECT_EQ(InfoLines(), 0);
  EXPECT_EQ(Status(), "Link added ok");
  EXPECT_TRUE(editor.IsReady());
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(Window().GetSelection(kLinkEditList), -1);
  EXPECT_FALSE(Window().IsEnabled(kLinkEditAdd));
  EXPECT_FALSE(Window().IsEnabled(kLinkEditMatch));
  EXPECT_TRUE(Window().IsEnabled(kLinkEditSave));
  EXPECT_EQ(Window().GetTitle(), "Link Dictionary Edit");
  EXPECT_EQ(Window().GetText(kLinkEditUrlLabel), GetDialogText(330));
}

TEST_F(LinkDictEditTest, AnEmptyDictionaryShowsTheAddItemAndTheLoadStatus) {
  Open("links.txt", "! New dictionary\n");
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60)}));
  EXPECT_EQ(Status(), "Dictionary load OK");
}

TEST_F(LinkDictEditTest, AnEntryWithoutUrlGetsNoItemAndLaterItemsEditTheirOwnEntries) {
  Open("links.txt",
       "Link definition: \"alpha\" = \"Alpha\" + \"http://a.example/\"\n"
       "Link definition: \"beta\" = \"Beta\" + \"\"\n"
       "Link definition: \"gamma\" = \"Gamma\" + \"http://g.example/\"\n");
  EXPECT_TRUE(editor.IsReady());
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60), "alpha", "gamma"}));

  Select(2);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"gamma", "Gamma", "http://g.example/"}));
  Type("gamma", "Gamma", "http://g.example/new");
  Click(kLinkEditUpdate);
  EXPECT_EQ(Status(), "Link updated Okay");
  SaveAs(Dir() + "links.txt");
  EXPECT_EQ(ReadBytes(Dir() + "links.txt"),
            "Link definition: \"alpha\" = \"Alpha\" + \"http://a.example/\"\n"
            "Link definition: \"gamma\" = \"Gamma\" + \"http://g.example/new\"\n");
}

TEST_F(LinkDictEditTest, AFileThatCannotBeOpenedLeavesOnlyCancelAndTheStatus) {
  OpenWithoutFile("missing.txt");
  EXPECT_FALSE(editor.IsReady());
  EXPECT_EQ(Status(), "Dictionary load failed");
  for (const int id : {kLinkEditList, kLinkEditMatch, kLinkEditReplacement, kLinkEditUrl,
                       kLinkEditAdd, kLinkEditUpdate, kLinkEditRemove, kLinkEditSave,
                       kLinkEditMatchLabel}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(Window().IsEnabled(id));
  }
  EXPECT_TRUE(Window().IsEnabled(kLinkEditCancel));
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.front().find("** Failed to open Link Dictionary file " + Dir() + "missing.txt"),
            std::string::npos);
}

TEST_F(LinkDictEditTest, WithoutAPolicySetOrANameTheStatusStaysUntouched) {
  editor.Init(Dir(), nullptr, TextString("links.txt"));
  editor.Create(nullptr);
  EXPECT_FALSE(editor.IsReady());
  EXPECT_EQ(Status(), "Static");
  EXPECT_FALSE(Window().IsEnabled(kLinkEditList));

  editor.Init(Dir(), &fc, TextString(""));
  editor.Create(nullptr);
  EXPECT_FALSE(editor.IsReady());
  EXPECT_EQ(Status(), "Static");
}

// ---- Adding ----

TEST_F(LinkDictEditTest, TheAddItemShowsThePromptsWhichAreRefusedUnchanged) {
  Open("links.txt", kThreeDefinitions);
  Select(0);
  EXPECT_EQ(Fields(),
            (std::vector<std::string>{GetMessageText(61), GetMessageText(62), GetMessageText(63)}));
  EXPECT_TRUE(Window().IsEnabled(kLinkEditAdd));
  EXPECT_FALSE(Window().IsEnabled(kLinkEditUpdate));
  EXPECT_FALSE(Window().IsEnabled(kLinkEditRemove));
  EXPECT_EQ(Status(), "");
  Click(kLinkEditAdd);
  EXPECT_EQ(Status(), kInvalid);
  EXPECT_EQ(Items().size(), 4u);
  EXPECT_FALSE(editor.IsModified());
}

struct AddCase {
  const char* name;
  std::string match;
  std::string replacement;
  std::string url;
  bool accepted;
};

TEST_F(LinkDictEditTest, AddAcceptsOnlyThreeTextsThatAreNeitherEmptyNorPrompts) {
  const AddCase cases[] = {
      {"match prompt", GetMessageText(61), "Shown", "http://x.example/", false},
      {"replacement prompt", "word", GetMessageText(62), "http://x.example/", false},
      {"url prompt", "word", "Shown", GetMessageText(63), false},
      {"empty match", "", "Shown", "http://x.example/", false},
      {"empty url", "word", "Shown", "", false},
      {"prompt in other case", "** ENTER TEXT TO BE MATCHED IN SOURCE DOCUMENT **", "Shown",
       "http://x.example/", true},
      {"three texts", "word", "Shown", "http://x.example/", true},
  };
  for (const AddCase& c : cases) {
    SCOPED_TRACE(c.name);
    Open("links.txt", kThreeDefinitions);
    Select(0);
    Type(c.match, c.replacement, c.url);
    Click(kLinkEditAdd);
    if (!c.accepted) {
      EXPECT_EQ(Status(), kInvalid);
      EXPECT_EQ(Items().size(), 4u);
      EXPECT_EQ(editor.GetDictionary().GetCount(), 3);
      continue;
    }
    EXPECT_EQ(Status(), "Link added ok");
    ASSERT_EQ(Items().size(), 5u);
    EXPECT_EQ(Items().back(), c.match);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(editor.IsModified());
  }
}

TEST_F(LinkDictEditTest, AddingAKnownMatchUpdatesItsEntryWithoutASecondItem) {
  Open("links.txt", kThreeDefinitions);
  Select(0);
  Type("MANUAL", "the new manual", "http://www.kelvane.com/manual2");
  Click(kLinkEditAdd);
  EXPECT_EQ(Status(), "Link added ok");
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60), "Kelvane", "manual", "news"}));
  Select(2);
  EXPECT_EQ(Fields(),
            (std::vector<std::string>{"manual", "the new manual", "http://www.kelvane.com/manual2"}));
}

// ---- Updating and removing ----

TEST_F(LinkDictEditTest, UpdateChangesTheSelectedEntryAndItsItem) {
  Open("links.txt", kThreeDefinitions);
  Select(2);
  EXPECT_EQ(Fields(),
            (std::vector<std::string>{"manual", "the manual", "http://www.kelvane.com/manual"}));
  EXPECT_TRUE(Window().IsEnabled(kLinkEditUpdate));
  EXPECT_FALSE(Window().IsEnabled(kLinkEditAdd));
  Type("handbook", "the handbook", "http://www.kelvane.com/handbook");
  Click(kLinkEditUpdate);
  EXPECT_EQ(Status(), "Link updated Okay");
  EXPECT_TRUE(editor.IsModified());
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60), "Kelvane", "handbook", "news"}));
  EXPECT_EQ(Window().GetSelection(kLinkEditList), 2);
  const LinkEntry* entry = editor.GetDictionary().pGetEntry(1);
  EXPECT_STREQ(entry->match.GetText(), "handbook");
  EXPECT_STREQ(entry->address.GetText(), "http://www.kelvane.com/handbook");
}

TEST_F(LinkDictEditTest, UpdateRefusesAnEmptyTextAndTheAddItem) {
  Open("links.txt", kThreeDefinitions);
  Select(1);
  Type("Kelvane", "Kelvane home", "");
  Click(kLinkEditUpdate);
  EXPECT_EQ(Status(), "Failed to update Dictionary");
  EXPECT_STREQ(editor.GetDictionary().pGetEntry(0)->address.GetText(), "http://www.kelvane.com/");
  Select(0);
  Click(kLinkEditUpdate);
  EXPECT_EQ(Status(), "Failed to update Dictionary");
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(LinkDictEditTest, RemoveDeletesTheSelectedItemsEntryEvenWithEditedFields) {
  Open("links.txt", kThreeDefinitions);
  Select(2);
  // The fields no longer show the entry: the entry of the item goes all the same.
  Type("manual", "edited", "http://edited.example/");
  Click(kLinkEditRemove);
  EXPECT_EQ(Items(), (std::vector<std::string>{GetMessageText(60), "Kelvane", "news"}));
  EXPECT_EQ(Window().GetSelection(kLinkEditList), -1);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Status(), "");
  // The item after the removed one still stands for its own entry.
  Select(2);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"news", "latest news", "http://www.kelvane.com/news"}));
  SaveAs(Dir() + "links.txt");
  const std::string saved = ReadBytes(Dir() + "links.txt");
  EXPECT_EQ(saved.find("manual"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"news\""), std::string::npos) << saved;
}

// ---- Saving ----

TEST_F(LinkDictEditTest, SaveWithoutChangesWritesNothingAndAsksNothing) {
  Open("links.txt", kThreeDefinitions);
  Select(1);
  Click(kLinkEditSave);
  EXPECT_TRUE(platform.fileRequests.empty());
  EXPECT_EQ(ReadBytes(Dir() + "links.txt"), kThreeDefinitions);
}

TEST_F(LinkDictEditTest, SaveWritesToTheChosenNameStartingFromTheResolvedPath) {
  Open("links.txt", kThreeDefinitions);
  EXPECT_STREQ(editor.GetLoadedPath().GetText(), (Dir() + "links.txt").c_str());
  Select(0);
  Type("index", "the index", "http://www.kelvane.com/index");
  Click(kLinkEditAdd);
  const std::string other = Dir() + "other.txt";
  SaveAs(other);
  ASSERT_EQ(platform.fileRequests.size(), 1u);
  EXPECT_EQ(platform.fileRequests[0].proposedName, Dir() + "links.txt");
  EXPECT_TRUE(platform.fileRequests[0].save);
  EXPECT_EQ(platform.fileRequests[0].filter, GetMessageText(86));
  EXPECT_EQ(ReadBytes(other),
            "Link definition: \"Kelvane\" = \"Kelvane home\" + \"http://www.kelvane.com/\"\n"
            "Link definition: \"manual\" = \"the manual\" + \"http://www.kelvane.com/manual\"\n"
            "Link definition: \"news\" = \"latest news\" + \"http://www.kelvane.com/news\"\n"
            "Link definition: \"index\" = \"the index\" + \"http://www.kelvane.com/index\"\n");
  // Neither the loaded file nor a file of the unresolved name in the current folder changed.
  EXPECT_EQ(ReadBytes(Dir() + "links.txt"), kThreeDefinitions);
  EXPECT_FALSE(std::filesystem::exists("links.txt"));
}

TEST_F(LinkDictEditTest, CancellingTheSaveDialogWritesNothing) {
  Open("links.txt", kThreeDefinitions);
  Select(1);
  Click(kLinkEditRemove);
  platform.fileAnswers.push_back({});
  Click(kLinkEditSave);
  EXPECT_EQ(platform.fileRequests.size(), 1u);
  EXPECT_EQ(ReadBytes(Dir() + "links.txt"), kThreeDefinitions);
}

TEST_F(LinkDictEditTest, AFileThatCannotBeWrittenKeepsTheEditorOpen) {
  Open("links.txt", kThreeDefinitions);
  Select(1);
  Click(kLinkEditRemove);
  SaveAs(Dir() + "no-such-folder/links.txt");
  EXPECT_EQ(Status(), "Failed to update Dictionary");
  EXPECT_EQ(Items().size(), 3u);
}

TEST_F(LinkDictEditTest, RunsModallyUntilSaveOrCancel) {
  WriteBytes(Dir() + "links.txt", kThreeDefinitions);
  int seenItems = 0;
  platform.modalScripts[kDialogLinkDictEdit] = [&seenItems](HeadlessDialog& window) {
    seenItems = window.GetItemCount(kLinkEditList);
    window.Fire(kLinkEditCancel, DialogEvent::Click);
    return window.IsInModalLoop() ? 0 : kAnswerCancel;
  };
  editor.Init(Dir(), &fc, TextString("links.txt"));
  EXPECT_EQ(editor.DoModal(nullptr), kAnswerCancel);
  EXPECT_EQ(seenItems, 4);
}

}  // namespace
