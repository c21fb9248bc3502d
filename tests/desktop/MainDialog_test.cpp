#include "app/OxvDialog.h"

#include <gtest/gtest.h>

#include "DesktopFixture.h"
#include "app/RegistryAccess.h"
#include "engine/Context.h"
#include "lang/InterfaceTexts.h"
#include "platform/HeadlessPlatform.h"
#include "policy/FileControl.h"

using MainDialogTest = DesktopTest;

TEST_F(MainDialogTest, ApplyInputTypeSetsTypeAndDelimiter) {
  struct Case {
    int inputType;
    const char* typeText;
    int typeSet;
    const char* delimiter;
  };
  const Case cases[] = {
      {0, "plain text", 0, " "},
      {1, "text table", 0, " "},
      {2, "tab-delimited table", 1, "\t"},
      {3, "comma-delimited table", 1, ","},
      {4, "tab-delimited table", 1, ";"},
      {7, "plain text", 0, " "},
  };
  OxvDialog& main = MakeDialog();
  main.SetDelimiter(";");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inputType);
    FileControl set;
    set.ResetPolicies(0);
    main.SetInputType(c.inputType);
    main.ApplyInputType(set);
    EXPECT_STREQ(set.GetText(PolicyId::InputFileType).GetText(), c.typeText);
    EXPECT_EQ(set.IsSet(PolicyId::InputFileType), c.typeSet);
  }
}

TEST_F(MainDialogTest, ApplyInputTypeFollowsTheConversionType) {
  OxvDialog& main = MakeDialog();
  FileControl set;
  set.ResetPolicies(0);
  main.SetConversionType(kConversionWithHelpSource);
  main.ApplyInputType(set);
  EXPECT_EQ(set.Bool(PolicyId::MakeWindowsHelpSourceFile).value, 1);
  EXPECT_EQ(main.UserPolicies().IsSet(PolicyId::MakeWindowsHelpSourceFile), 1);

  main.SetConversionType(kConversionConcatenated);
  main.ApplyInputType(set);
  EXPECT_EQ(set.Bool(PolicyId::MakeWindowsHelpSourceFile).value, 0);
  EXPECT_EQ(set.IsSet(PolicyId::MakeWindowsHelpSourceFile), 1);
  EXPECT_EQ(main.UserPolicies().IsSet(PolicyId::MakeWindowsHelpSourceFile), 0);
  EXPECT_EQ(main.UserPolicies().Bool(PolicyId::ConcatenateResultsIntoOneFile).value, 1);
  EXPECT_EQ(main.UserPolicies().IsSet(PolicyId::ConcatenateResultsIntoOneFile), 1);
}

TEST(MainDialogTitle, NamesTheInputOrTheFirstOfAList) {
  struct Case {
    const char* input;
    const char* title;
  };
  const Case cases[] = {
      {"", "Kelvane"},
      {"C:\\texts\\notes.txt", "notes.txt - Kelvane"},
      {"/home/u/notes.txt", "notes.txt - Kelvane"},
      {"notes.txt", "notes.txt - Kelvane"},
      {"C:\\texts\\*.txt", "*.txt - Kelvane"},
      {"C:\\texts\\ \"a.txt\" \"b.txt\"", "\"a.txt\"... - Kelvane"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(MainDialogTitle(c.input, "Kelvane"), c.title);
  }
}

TEST_F(MainDialogTest, PreviousSettingsRoundTrip) {
  const std::string input = WriteText("in/notes.txt", kSampleText);
  {
    OxvDialog& main = MakeDialog();
    main.Settings().rememberSettings = 1;
    main.SetInputFile(input);
    main.SetOutputFile("notes.rtf");
    main.SetOutputDir(Dir() + "out/");
    main.SetMayOverwrite(1);
    main.WritePreviousSettings();
    status().Destroy();
    dialog.reset();
  }
  const std::string key = ProductSettingsKey();
  std::string text;
  ASSERT_TRUE(RegReadString(platform.settings, RegistryRoot::CurrentUser, key,
                            "\\PreviousSettings\\OverwriteFiles", text));
  EXPECT_EQ(text, "Yes");
  ASSERT_TRUE(RegReadString(platform.settings, RegistryRoot::CurrentUser, key,
                            "\\PreviousSettings\\SearchFolders", text));
  EXPECT_EQ(text, "No");

  OxvDialog& again = MakeDialog();
  again.ReadPreviousSettings();
  EXPECT_EQ(again.GetInputFile(), input);
  EXPECT_EQ(again.GetOutputFile(), "notes.rtf");
  again.SetOutputToSource(0);
  EXPECT_EQ(again.GetOutputDir(), Dir() + "out/");
  EXPECT_EQ(again.GetMayOverwriteFlag(), 1);
  EXPECT_EQ(again.GetIncludeSubfolders(), 0);
}

TEST_F(MainDialogTest, PreviousSettingsAreNotWrittenUnlessRemembered) {
  OxvDialog& main = MakeDialog();
  main.Settings().rememberSettings = 0;
  main.SetInputFile("x.txt");
  main.WritePreviousSettings();
  std::string text;
  EXPECT_FALSE(RegReadString(platform.settings, RegistryRoot::CurrentUser, ProductSettingsKey(),
                             "\\PreviousSettings\\InputFile", text));
}

TEST_F(MainDialogTest, StartWithArgumentsReadsOnlySearchFolders) {
  const std::string key = ProductSettingsKey();
  (void)RegWriteString(platform.settings, RegistryRoot::CurrentUser, key,
                       "\\PreviousSettings\\InputFile", "old.txt");
  (void)RegWriteString(platform.settings, RegistryRoot::CurrentUser, key,
                       "\\PreviousSettings\\SearchFolders", "Yes");
  OxvDialog& main = MakeDialog();
  main.SetCommandLineRun(1);
  main.ReadPreviousSettings();
  EXPECT_EQ(main.GetInputFile(), "");
  EXPECT_EQ(main.GetIncludeSubfolders(), 1);
}

// The window as it opens: English texts, both lists, the title and the controls that follow
// the fields.
TEST_F(MainDialogTest, OpensWithEnglishTextsListsAndTitle) {
  OxvDialog& main = MakeDialog();
  main.SetInputType(4);
  platform.modalScripts[kDialogMain] = [](HeadlessDialog& window) {
    EXPECT_EQ(window.GetText(1015), "Convert File(s)...");
    EXPECT_EQ(window.GetText(1507), "Load policy file");
    EXPECT_EQ(window.GetItemCount(9104), 5);
    EXPECT_EQ(window.GetItemText(9104, 1), "Text table file");
    EXPECT_EQ(window.GetItemText(9104, 4), "Other delimited data file");
    EXPECT_EQ(window.GetSelection(9104), 4);
    EXPECT_EQ(window.GetItemCount(1590), 1);
    EXPECT_EQ(window.GetItemText(1590, 0), "Output RTF to file");
    EXPECT_TRUE(window.IsControlShown(9108));
    EXPECT_TRUE(window.IsControlShown(1620));
    EXPECT_EQ(window.GetTitle(), "Kelvane");
    return 2;
  };
  (void)main.RunModal();
  EXPECT_EQ(main.GetLanguage(), kLanguageEnglish);
}

TEST_F(MainDialogTest, LanguageSwitchReTextsTheOpenDialog) {
  OxvDialog& main = MakeDialog();
  platform.modalScripts[kDialogMain] = [&main](HeadlessDialog& window) {
    main.SetLanguage(kLanguageGerman);
    // The German texts, or the English ones marked as untranslated when German is not built in.
    EXPECT_EQ(window.GetText(1015), GetDialogText(34));
    EXPECT_NE(window.GetText(1015), "Convert File(s)...");
    EXPECT_EQ(window.GetItemText(1590, 0), GetMessageText(104));
    EXPECT_NE(window.GetItemText(1590, 0), "Output RTF to file");
    EXPECT_EQ(window.GetItemCount(9104), 5);
    // The language in force: texts a language file changed stay.
    window.SetText(1015, "kept");
    main.SetLanguage(kLanguageGerman);
    EXPECT_EQ(window.GetText(1015), "kept");
    main.SetLanguage(kLanguageEnglish);
    EXPECT_EQ(window.GetText(1015), "Convert File(s)...");
    return 2;
  };
  (void)main.RunModal();
}

TEST_F(MainDialogTest, DependentControlsFollowConversionTypeAndOutputToSource) {
  OxvDialog& main = MakeDialog();
  platform.modalScripts[kDialogMain] = [&main](HeadlessDialog& window) {
    main.SetConversionType(kConversionToClipboard);
    main.SetOutputToSource(0);
    main.RefreshDependentControls();
    EXPECT_FALSE(window.IsEnabled(1080));
    EXPECT_FALSE(window.IsEnabled(9100));
    EXPECT_TRUE(window.IsEnabled(9109));
    EXPECT_FALSE(window.IsControlShown(9108));
    main.SetConversionType(kConversionToFile);
    main.SetOutputToSource(1);
    main.RefreshDependentControls();
    EXPECT_TRUE(window.IsEnabled(1080));
    EXPECT_TRUE(window.IsEnabled(9100));
    EXPECT_FALSE(window.IsEnabled(1012));
    EXPECT_FALSE(window.IsEnabled(1291));
    EXPECT_FALSE(window.IsEnabled(9109));
    return 2;
  };
  (void)main.RunModal();
}

TEST_F(MainDialogTest, ResetSaysDoneOnlyWhenAPolicyFileWasNamed) {
  OxvDialog& main = MakeDialog();
  main.ResetPolicies();
  EXPECT_TRUE(platform.messages.empty());
  main.SetPolicyFileName("a.pol");
  main.SheetChanges().Bool(PolicyId::KeepItSimple).value = 1;
  main.SheetChanges().Bool(PolicyId::KeepItSimple).set = 1;
  main.ResetPolicies();
  EXPECT_EQ(main.GetPolicyFileName(), "");
  EXPECT_EQ(main.SheetChanges().IsSet(PolicyId::KeepItSimple), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Done");
  EXPECT_EQ(platform.messages[0].caption, "Reset to defaults");
}

TEST_F(MainDialogTest, TakeFromPoliciesChoosesOutputAndConversionType) {
  OxvDialog& main = MakeDialog();
  FileControl set;
  set.ResetPolicies(0);
  set.Bool(PolicyId::UseHTMExtension).value = 1;
  set.Bool(PolicyId::UseHTMExtension).set = 1;
  set.Bool(PolicyId::MakeWindowsHelpSourceFile).value = 1;
  main.TakeFromPolicies(set);
  EXPECT_EQ(main.GetOutputType(), 1);
  EXPECT_EQ(main.GetConversionType(), kConversionWithHelpSource);
  set.Text(PolicyId::OutputFileExtension).value = ".doc";
  set.Text(PolicyId::OutputFileExtension).set = 1;
  set.Bool(PolicyId::MakeWindowsHelpSourceFile).value = 0;
  main.TakeFromPolicies(set);
  EXPECT_EQ(main.GetOutputType(), 2);
  EXPECT_EQ(main.GetConversionType(), kConversionToFile);
}

TEST_F(MainDialogTest, DefaultPolicyFileFillsThePolicyFieldWhenUsed) {
  OxvDialog& main = MakeDialog();
  // Without the previous settings, which would load the file and empty the field on failure.
  main.Settings().rememberSettings = 0;
  main.Settings().useDefaultPolicy = 1;
  main.Settings().defaultPolicyFile = "default.pol";
  platform.modalScripts[kDialogMain] = [](HeadlessDialog& window) {
    EXPECT_EQ(window.GetText(1505), "default.pol");
    return 2;
  };
  (void)main.RunModal();
  EXPECT_EQ(main.GetPolicyFileName(), "default.pol");
}
