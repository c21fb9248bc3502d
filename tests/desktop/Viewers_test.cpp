#include "app/Viewers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/RegistryAccess.h"
#include "lang/InterfaceTexts.h"

namespace fs = std::filesystem;

// ---- Registered command lines ----

TEST(ProgramOfRegisteredCommand, CutsArgumentsAndQuotes) {
  struct Case {
    const char* command;
    const char* keep;  // FindViewerCommand
    const char* drop;  // FindMailCommand
  };
  const Case cases[] = {
      // A quoted program path with blanks, a blank and a quoted %1: the bare path.
      {"\"C:\\Program Files\\Viewer\\view.exe\" \"%1\"", "C:\\Program Files\\Viewer\\view.exe",
       "C:\\Program Files\\Viewer\\view.exe"},
      // Unquoted, a blank and %1: the viewer lookup keeps the blank, the mail lookup drops it.
      {"C:\\Viewer\\view.exe %1", "C:\\Viewer\\view.exe ", "C:\\Viewer\\view.exe"},
      {"C:\\Viewer\\view.exe /dde", "C:\\Viewer\\view.exe ", "C:\\Viewer\\view.exe"},
      {"C:\\Viewer\\view.exe -n \"%1\"", "C:\\Viewer\\view.exe ", "C:\\Viewer\\view.exe"},
      // Options that do not follow the first blank: cut one character before them.
      {"\"C:\\Program Files\\v.exe\" -n %1", "C:\\Program Files\\v.exe", "C:\\Program Files\\v.exe"},
      // A "-" in an unquoted program path starts the options: the path is cut there.
      {"C:\\my-tools\\v.exe %1", "C:\\m", "C:\\m"},
      // In a quoted program path it is part of the path.
      {"\"C:\\my-tools\\v.exe\" \"%1\"", "C:\\my-tools\\v.exe", "C:\\my-tools\\v.exe"},
      {"\"/usr/lib/x-viewer/bin/view\" --new \"%1\"", "/usr/lib/x-viewer/bin/view",
       "/usr/lib/x-viewer/bin/view"},
      // A "/" or "-" that is the first character is no option.
      {"/usr/bin/viewer %1", "/usr/bin/viewer ", "/usr/bin/viewer"},
      {"-viewer", "-viewer", "-viewer"},
      // No arguments: unquoted as it is, quoted without its quotes.
      {"C:\\Viewer\\view.exe", "C:\\Viewer\\view.exe", "C:\\Viewer\\view.exe"},
      {"\"C:\\Viewer\\view.exe\"", "C:\\Viewer\\view.exe", "C:\\Viewer\\view.exe"},
      {"%1", "%1", "%1"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(ProgramOfRegisteredCommand(c.command, BlankBeforeOptions::Keep), c.keep);
    EXPECT_EQ(ProgramOfRegisteredCommand(c.command, BlankBeforeOptions::Drop), c.drop);
  }
}

// ---- Addresses and paths ----

TEST(FileUrlOf, PrefixedOrPlainAndNeverCut) {
  struct Case {
    const char* name;
    bool prefix;
    const char* url;
  };
  const Case cases[] = {
      {"C:\\My Docs\\a.rtf", true, "file://localhost/C|/My%20Docs/a.rtf"},
      {"C:\\My Docs\\a.rtf", false, "C:\\My%20Docs\\a.rtf"},
      {"/home/u/My Docs/a.rtf", true, "file://localhost/home/u/My%20Docs/a.rtf"},
      {"/home/u/a.rtf", false, "/home/u/a.rtf"},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FileUrlOf(c.name, c.prefix), c.url);
  }
  const std::string longName = "/data/" + std::string(300, 'x') + ".rtf";
  EXPECT_EQ(FileUrlOf(longName, true), "file://localhost" + longName);
}

TEST(SplitFolderAndName, AtTheLastSeparatorOrBeforeTheFirstQuote) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"", "", ""},
      {"C:\\d\\a.txt", "C:\\d\\", "a.txt"},
      {"/d/e/a.txt", "/d/e/", "a.txt"},
      {"a.txt", "", "a.txt"},
      {"/d/\"/a.txt\" \"/b.txt\"", "/d/", "\"/a.txt\" \"/b.txt\""},
      {"\"/x/a.txt\" \"/y/b.txt\"", "", "\"/x/a.txt\" \"/y/b.txt\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string folder = "old", name = "old";
    SplitFolderAndName(c.path, folder, name);
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(name, c.name);
  }
}

TEST(QuotedFileArgument, QuotesNamesWithBlanks) {
  struct Case {
    const char* name;
    const char* argument;
  };
  const Case cases[] = {
      {"/d/a.rtf", "/d/a.rtf"},
      {"/d e/a.rtf", "\"/d e/a.rtf\""},
      {"\"/d e/a.rtf", "\"/d e/a.rtf\""},
      {"/d e/a.rtf\"", "\"/d e/a.rtf\""},
      {"\"/d e/a.rtf\"", "\"/d e/a.rtf\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QuotedFileArgument(c.name), c.argument);
  }
}

TEST(AddressWithSiteQuery, ProductVersionAndLanguageOnSiteQueries) {
  const std::string site = "https://www.kelvane.example";
  struct Case {
    std::string address;
    int language;
    std::string result;
  };
  const Case cases[] = {
      {site + "/kelvane/?page=2", kLanguageEnglish, site + "/kelvane/?page=2&p=Kelvane&v=2.0"},
      {site + "/kelvane/?page=2", kLanguageGerman, site + "/kelvane/?page=2&p=Kelvane&v=2.0&l=g"},
      {site + "/kelvane/?page=2", kLanguageSwedish, site + "/kelvane/?page=2&p=Kelvane&v=2.0&l=sw"},
      {site + "/kelvane/?page=2", kLanguageDutch, site + "/kelvane/?page=2&p=Kelvane&v=2.0&l=nl"},
      {site + "/versioncheck?v=1", kLanguageFrench, site + "/versioncheck?v=1&l=f"},
      {site + "/kelvane/", kLanguageGerman, site + "/kelvane/"},
      {"https://elsewhere.example/?q=1", kLanguageGerman, "https://elsewhere.example/?q=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address + " " + std::to_string(c.language));
    EXPECT_EQ(AddressWithSiteQuery(c.address, c.language), c.result);
  }
}

TEST(TakeFileDialogResult, OneFileSeveralFilesAndSeveralFolders) {
  std::string folder, name, remembered = "kept";
  TakeFileDialogResult({"/d/a.txt"}, folder, name, &remembered);
  EXPECT_EQ(folder, "/d/");
  EXPECT_EQ(name, "a.txt");
  EXPECT_EQ(remembered, "/d/");

  TakeFileDialogResult({"/d/a.txt", "/d/b.txt"}, folder, name, &remembered);
  EXPECT_EQ(folder, "/d");
  EXPECT_EQ(name, "");
  EXPECT_EQ(remembered, "/d");

  remembered = "kept";
  TakeFileDialogResult({"/d/a.txt", "/e/b.txt"}, folder, name, &remembered);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(name, "");
  EXPECT_EQ(remembered, "kept");
}

TEST(DdeErrorText, EveryNamedErrorAndTheRest) {
  struct Case {
    int error;
    const char* text;
  };
  const Case cases[] = {
      {kDdeAdvAckTimeout, "DDE Error: adv ack timeout!"},
      {kDdeBusy, "DDE Error: busy"},
      {kDdeDataAckTimeout, "DDE Error: ack timeout"},
      {kDdeDllNotInitialized, "DDE Error: DLL not initialised"},
      {kDdeDllUsage, "DDE Error: DLL usage"},
      {kDdeExecAckTimeout, "DDE Error: EXE ack Timeout"},
      {kDdeInvalidParameter, "DDE Error: invalid parameter"},
      {kDdeLowMemory, "DDE Error: low memory"},
      {kDdeMemoryError, "DDE Error: memory error"},
      {kDdeNotProcessed, "DDE Error: not processed"},
      {kDdeNoConversationEstablished, "DDE Error: no conversation established"},
      {kDdePokeAckTimeout, "DDE Error: Poke ack timeout"},
      {kDdePostMessageFailed, "DDE Error: post message failed"},
      {kDdeReentrancy, "DDE Error: reentrancy detected"},
      {kDdeServerDied, "DDE Error: server died"},
      {kDdeSysError, "DDE Error: sys error"},
      {kDdeUnadvAckTimeout, "DDE Error: unadv Ack Timeout"},
      {kDdeUnfoundQueueId, "DDE Error: Unfound Queue ID"},
      {0x4012, "Unknown DDE Error : 16402"},
      {7, "Unknown DDE Error : 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(DdeErrorText(c.error), c.text);
  }
}

// ---- The operations on the headless desktop ----

namespace {

// The main dialog with the program-settings sheet replaced by a record of the pages asked
// for; a page may run a script (the user's choice, or a lookup of its own).
class RecordingDialog : public OxvDialog {
 public:
  using OxvDialog::OxvDialog;
  void ShowProgramSettings(int page) override {
    pages.push_back(page);
    if (onShow)
      onShow();
  }
  std::vector<int> pages;
  std::function<void()> onShow;
};

class ViewerTest : public DesktopTest {
 protected:
  RecordingDialog& Make() {
    auto made = std::make_unique<RecordingDialog>(platform, status());
    recording = made.get();
    dialog = std::move(made);
    status().Create(platform, dialog.get());
    return *recording;
  }
  // An executable file of the test's folder; its full path.
  std::string Program(const std::string& name) {
    const std::string path = WriteText(name, "#!/bin/sh\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }
  void Register(const std::string& extension, const std::string& type) {
    platform.fileTypes[extension] = type;
  }
  void Command(const std::string& type, const std::string& verb, const std::string& command) {
    platform.typeCommands[{type, verb}] = command;
  }

  RecordingDialog* recording = nullptr;
};

}  // namespace

TEST_F(ViewerTest, FindViewerCommandFollowsTheRegisteredTypes) {
  const std::string spaced = Program("Program Files/Viewer/view.exe");
  const std::string preview = Program("preview");
  const std::string plain = Program("viewer");
  // The viewer lookup keeps the blank before "%1"; such a name is a file here.
  const std::string withBlank = Program("viewer ");
  Program("my-tools/v");
  RecordingDialog& main = Make();
  platform.environment["KV_TOOLS"] = Dir();

  struct Case {
    const char* what;
    std::map<std::string, std::string> types;
    std::map<std::pair<std::string, std::string>, std::string> commands;
    int found;
    std::string command;
  };
  const Case cases[] = {
      {"quoted path with blanks",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, "\"" + spaced + "\" \"%1\""}},
       1, spaced},
      {"preview before open",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, "\"" + spaced + "\" \"%1\""}, {{"rtffile", "preview"}, "\"" + preview + "\" %1"}},
       1, preview},
      {"unquoted path keeps its blank",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, plain + " %1"}},
       1, withBlank},
      {"environment reference expanded",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, "\"%KV_TOOLS%viewer\" -n"}},
       1, plain},
      {"second extension when the first is not registered",
       {{".doc", "docfile"}},
       {{{"docfile", "open"}, "\"" + plain + "\" \"%1\""}},
       1, plain},
      {"first extension registered without a type: the second is not tried",
       {{".rtf", ""}, {".doc", "docfile"}},
       {{{"docfile", "open"}, "\"" + plain + "\" \"%1\""}},
       0, ""},
      {"a type without a command",
       {{".rtf", "rtffile"}},
       {},
       0, ""},
      {"a program that is not there",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, "\"" + Dir() + "missing.exe\" \"%1\""}},
       0, ""},
      {"a \"-\" in an unquoted path cuts it",
       {{".rtf", "rtffile"}},
       {{{"rtffile", "open"}, Dir() + "my-tools/v %1"}},
       0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.fileTypes = c.types;
    platform.typeCommands = c.commands;
    std::string command = "old";
    EXPECT_EQ(main.FindRtfViewerCommand(command), c.found);
    EXPECT_EQ(command, c.command);
  }
  // The text viewer tries ".txt" alone.
  platform.fileTypes = {{".doc", "docfile"}};
  platform.typeCommands = {{{"docfile", "open"}, "\"" + plain + "\" \"%1\""}};
  std::string command;
  EXPECT_EQ(main.FindTextViewerCommand(command), 0);
  EXPECT_EQ(main.FindPdfViewerCommand(command), 1);
}

TEST_F(ViewerTest, FindMailCommandDropsTheBlankOrOpensTheViewerPage) {
  const std::string plain = Program("viewer");
  RecordingDialog& main = Make();
  Command("mailto", "open", plain + " -compose %1");
  std::string command;
  EXPECT_EQ(main.FindMailCommand(command), 1);
  EXPECT_EQ(command, plain);
  EXPECT_TRUE(platform.messages.empty());

  // Nothing registered: the message, the viewer page, and 1 with nothing found. A lookup that
  // the page asks for meanwhile is refused.
  platform.typeCommands.clear();
  int nested = -1;
  std::string nestedCommand = "untouched";
  main.onShow = [&] { nested = main.FindMailCommand(nestedCommand); };
  EXPECT_EQ(main.FindMailCommand(command), 1);
  EXPECT_EQ(command, "");
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(nestedCommand, "untouched");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Failed to auto-detect default browser");
  EXPECT_EQ(platform.messages[0].text,
            "Please use the Settings Menu to locate your browser manually");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(main.pages, std::vector<int>{35});
}

TEST_F(ViewerTest, GetBrowserCommandStoredFoundOrSetByTheUser) {
  const std::string browser = Program("browser");
  RecordingDialog& main = Make();
  std::string command;
  main.Settings().browserCommand = "/stored/browser";
  EXPECT_EQ(main.GetBrowserCommand(command), 1);
  EXPECT_EQ(command, "/stored/browser");

  main.Settings().browserCommand.clear();
  Register(".htm", "htmfile");
  Command("htmfile", "open", "\"" + browser + "\" -nohome");
  EXPECT_EQ(main.GetBrowserCommand(command), 1);
  EXPECT_EQ(command, browser);
  EXPECT_TRUE(platform.messages.empty());

  platform.fileTypes.clear();
  main.onShow = [&main] { main.Settings().browserCommand = "/chosen/browser"; };
  EXPECT_EQ(main.GetBrowserCommand(command), 1);
  EXPECT_EQ(command, "/chosen/browser");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Failed to auto-detect default browser");
  EXPECT_EQ(main.pages, std::vector<int>{35});
}

TEST_F(ViewerTest, LocalHelpPathAndFileUrl) {
  RecordingDialog& main = Make();
  platform.moduleFileName = "/opt/kelvane/bin/kelvane";
  std::string path;
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, "/opt/kelvane/bin/kelvane.html");
  platform.moduleFileName.clear();
  EXPECT_EQ(main.GetLocalHelpPath(path), 0);

  main.Settings().addUrlPrefix = 1;
  EXPECT_EQ(main.MakeFileUrl("/a b/c.html"), "file://localhost/a%20b/c.html");
  main.Settings().addUrlPrefix = 0;
  EXPECT_EQ(main.MakeFileUrl("/a b/c.html"), "/a%20b/c.html");
}

// ---- The browser by DDE, then by its command line ----

TEST_F(ViewerTest, DdeShowsTheAddressWithTheWorkingMarkAroundTheRequest) {
  RecordingDialog& main = Make();
  main.Settings().useDdeToViewHtml = 1;
  main.Settings().ddeServerName = "";
  platform.ddeAnswer = DdeResult::Shown;
  std::string during;
  platform.duringDdeRequest = [&] {
    (void)RegReadString(platform.settings, RegistryRoot::CurrentUser, ProductSettingsKey(),
                        "\\DDEWorking", during);
  };
  main.OpenUrlInBrowser("http://a.example/x.html", "/usr/bin/browser", true);
  ASSERT_EQ(platform.ddeCalls.size(), 1u);
  EXPECT_EQ(platform.ddeCalls[0].service, "IExplore");
  EXPECT_EQ(platform.ddeCalls[0].topic, "WWW_OpenURL");
  EXPECT_EQ(platform.ddeCalls[0].item, "\"http://a.example/x.html\",,-1,0,,,,");
  EXPECT_EQ(platform.ddeCalls[0].timeoutMs, 2000);
  EXPECT_EQ(during, "No");
  std::string after;
  ASSERT_TRUE(RegReadString(platform.settings, RegistryRoot::CurrentUser, ProductSettingsKey(),
                            "\\DDEWorking", after));
  EXPECT_EQ(after, "Yes");
  EXPECT_TRUE(platform.processes.empty());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ViewerTest, DdeFailuresAreReportedAndTheBrowserStarted) {
  struct Case {
    DdeResult answer;
    int error;
    const char* message;  // empty: none
  };
  const Case cases[] = {
      // A browser that does not run is normal.
      {DdeResult::NoConversation, kDdeNoConversationEstablished, ""},
      {DdeResult::NoConversation, kDdeBusy, "DDE Error: busy"},
      // A running browser that does not answer the request.
      {DdeResult::NoAnswer, kDdeDataAckTimeout, "DDE Error: ack timeout"},
      {DdeResult::Failed, kDdeDllUsage, "DDE Error: DLL usage"},
  };
  RecordingDialog& main = Make();
  main.Settings().useDdeToViewHtml = 1;
  main.Settings().ddeServerName = "Firefox";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    platform.messages.clear();
    platform.processes.clear();
    platform.ddeAnswer = c.answer;
    platform.ddeError = c.error;
    main.OpenUrlInBrowser("http://a.example/", "/usr/bin/browser", true);
    EXPECT_EQ(platform.ddeCalls.back().service, "Firefox");
    if (c.message[0] == '\0') {
      EXPECT_TRUE(platform.messages.empty());
    } else {
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.messages[0].text, c.message);
    }
    ASSERT_EQ(platform.processes.size(), 1u);
    EXPECT_EQ(platform.processes[0].program, "/usr/bin/browser");
    EXPECT_EQ(platform.processes[0].argument, "http://a.example/");
  }
}

TEST_F(ViewerTest, BrowserCommandLineWithoutDde) {
  RecordingDialog& main = Make();
  main.Settings().useDdeToViewHtml = 1;
  // Not asked for, switched off, or an item too long for a request: no DDE.
  main.OpenUrlInBrowser("file://localhost/C|/My Docs/a.html", "/usr/bin/browser", false);
  main.Settings().useDdeToViewHtml = 0;
  main.OpenUrlInBrowser("http://a.example/", "/usr/bin/browser", true);
  main.Settings().useDdeToViewHtml = 1;
  const std::string longAddress = "http://a.example/" + std::string(250, 'x');
  main.OpenUrlInBrowser(longAddress, "/usr/bin/browser", true);
  EXPECT_TRUE(platform.ddeCalls.empty());
  ASSERT_EQ(platform.processes.size(), 3u);
  EXPECT_EQ(platform.processes[0].argument, "\"file://localhost/C:/My Docs/a.html\"");
  EXPECT_EQ(platform.processes[2].argument, longAddress);

  // An empty command is the stored browser command.
  main.Settings().useDdeToViewHtml = 0;
  main.OpenUrlInBrowser("http://a.example/", "", true);
  EXPECT_EQ(platform.processes.back().program, "/bin/true");
}

TEST_F(ViewerTest, BrowserMessagesForNoAddressAndAFailedStart) {
  RecordingDialog& main = Make();
  main.Settings().useDdeToViewHtml = 0;
  main.OpenUrlInBrowser("", "/usr/bin/browser", true);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "No URL supplied.  Cannot launch browser");
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(platform.processes.empty());

  platform.processStartWorks = false;
  platform.processErrorCode = 13;
  main.OpenUrlInBrowser("http://a.example/", "/usr/bin/browser", true);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text,
            "Command \"/usr/bin/browser http://a.example/\" failed.\n\r  Error code=13");
  EXPECT_EQ(platform.messages[1].caption, "Error launching browser");
  EXPECT_EQ(platform.messages[1].icon, MessageIcon::Warning);
}

// ---- Viewers ----

TEST_F(ViewerTest, ViewersStartOnTheQuotedFileOrSayWhatFailed) {
  const std::string rtfViewer = Program("rtfview");
  const std::string pdfViewer = Program("pdfview");
  RecordingDialog& main = Make();
  Register(".rtf", "rtffile");
  Command("rtffile", "open", "\"" + rtfViewer + "\" \"%1\"");
  Register(".pdf", "pdffile");
  Command("pdffile", "open", "\"" + pdfViewer + "\" \"%1\"");

  main.OpenRtfFileInViewer("/d e/a.rtf", "");
  main.OpenTextFileInViewer("/d/a.txt", "");
  main.OpenPdfFileInViewer("/d/a.pdf", "");
  main.OpenRtfFileInViewer("/d/a.rtf", "/usr/bin/given");
  ASSERT_EQ(platform.processes.size(), 4u);
  EXPECT_EQ(platform.processes[0].program, rtfViewer);
  EXPECT_EQ(platform.processes[0].argument, "\"/d e/a.rtf\"");
  EXPECT_EQ(platform.processes[1].program, rtfViewer);
  EXPECT_EQ(platform.processes[1].argument, "/d/a.txt");
  EXPECT_EQ(platform.processes[2].program, pdfViewer);
  EXPECT_EQ(platform.processes[3].program, "/usr/bin/given");
  EXPECT_TRUE(platform.messages.empty());

  main.OpenRtfFileInViewer("", "/usr/bin/given");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "No Filename supplied.  Cannot launch viewer");

  platform.processStartWorks = false;
  main.OpenRtfFileInViewer("/d e/a.rtf", "/usr/bin/given");
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text,
            "Command \"/usr/bin/given \"/d e/a.rtf\"\" failed.\n\r  Error code=2");
}

TEST_F(ViewerTest, BrowseForFolderGivesTheChosenFolder) {
  RecordingDialog& main = Make();
  std::string folder = "old";
  EXPECT_EQ(main.BrowseForFolder("title", folder), 0);
  EXPECT_EQ(folder, "old");
  platform.folderAnswers.push_back("/chosen");
  EXPECT_EQ(main.BrowseForFolder("title", folder), 1);
  EXPECT_EQ(folder, "/chosen");
}
