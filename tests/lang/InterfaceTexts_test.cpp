#include "lang/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <string>

#include "lang/DialogTexts.h"
#include "platform/DialogTemplate.h"
#include "platform/HeadlessPlatform.h"
#include "TextTablesTest.h"

using InterfaceTextsTest = TextTablesTest;

TEST_F(InterfaceTextsTest, TablesStartEmptyWithTheirSizesAndLanguages) {
  struct Case {
    const char* name;
    TextTable& table;
    int count;
    int language;
  };
  const Case cases[] = {
      {"messages", MessageTexts(), 120, -2},
      {"dialog", DialogTexts(), 1000, 0},
      {"tooltips", ToolTipTexts(), 550, -2},
      {"menus", MenuTexts(), 210, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.table.Count(), c.count);
    EXPECT_EQ(c.table.GetLanguage(), c.language);
    EXPECT_STREQ(c.table.Get(0), "");
    EXPECT_STREQ(c.table.Get(c.count - 1), "");
    EXPECT_STREQ(c.table.Get(c.count), "???");
    EXPECT_STREQ(c.table.Get(-1), "???");
  }
}

TEST_F(InterfaceTextsTest, FirstMessageLookupFillsEnglish) {
  EXPECT_STREQ(GetMessageText(104), "Output RTF to file");
  EXPECT_EQ(MessageTexts().GetLanguage(), kLanguageEnglish);
  EXPECT_STREQ(GetMessageText(0), "");
  EXPECT_STREQ(GetMessageText(118), "");
  EXPECT_STREQ(GetMessageText(119), "");
  EXPECT_STREQ(GetMessageText(120), "???");
}

TEST_F(InterfaceTextsTest, DialogLookupNeverFills) {
  EXPECT_STREQ(GetDialogText(689), "");
  EXPECT_EQ(DialogTexts().GetLanguage(), kTableNoLanguage);
  EXPECT_STREQ(GetDialogText(1000), "???");
  SelectDialogLanguage(kLanguageEnglish);
  EXPECT_STREQ(GetDialogText(689), "OK");
  EXPECT_STREQ(GetDialogText(999), "");
}

// The text that selecting language from English gives index of table: the language's own
// row, or the English text with the common marker when the language is not built in.
static std::string TextAfterSwitch(int language, TextTableKind table, int index,
                                   std::string_view english) {
  const TextFiller filler = FillerOf(language, table);
  for (const TextRow& row : filler.rows) {
    if (row.index == index)
      return filler.prefix.empty() ? std::string(row.text) : "**: " + std::string(row.text);
  }
  return std::string(english);
}

TEST_F(InterfaceTextsTest, OtherLanguagesFillTheirOwnTextsOrTheMarkedEnglish) {
  for (int language = kLanguageGerman; language <= kLanguageDutch; ++language) {
    SCOPED_TRACE(language);
    SelectInterfaceLanguage(kLanguageEnglish);
    SelectInterfaceLanguage(language);
    EXPECT_EQ(MessageTexts().GetLanguage(), language);
    EXPECT_EQ(GetMessageText(104),
              TextAfterSwitch(language, TextTableKind::Messages, 104, "Output RTF to file"));
    EXPECT_EQ(GetDialogText(690), TextAfterSwitch(language, TextTableKind::Dialog, 690, "Cancel"));
    EXPECT_STREQ(GetMessageText(0), "");
    if (!HasBuiltInTranslation(language)) {
      EXPECT_STREQ(GetMessageText(104), "**: Output RTF to file");
      EXPECT_STREQ(GetDialogText(690), "**: Cancel");
    }
  }
  // Ids outside 1-9 and -1 are English.
  SelectInterfaceLanguage(12);
  EXPECT_STREQ(GetMessageText(104), "Output RTF to file");
  EXPECT_EQ(MessageTexts().GetLanguage(), 12);
}

TEST_F(InterfaceTextsTest, SelectingTheLanguageInForceKeepsChangedTexts) {
  SelectMessageLanguage(kLanguageEnglish);
  SetMessageText(15104, "changed");
  SelectMessageLanguage(kLanguageEnglish);
  EXPECT_STREQ(GetMessageText(104), "changed");
  SelectMessageLanguage(kLanguageFrench);
  EXPECT_EQ(GetMessageText(104),
            TextAfterSwitch(kLanguageFrench, TextTableKind::Messages, 104, "changed"));
}

TEST_F(InterfaceTextsTest, OtherKeepsTheTextsAndTheFormerLanguageLoadsAgain) {
  SelectDialogLanguage(kLanguageEnglish);
  SetDialogTextEntry(690, "Abbrechen");
  SelectDialogLanguage(kLanguageOther);
  EXPECT_EQ(DialogTexts().GetLanguage(), kLanguageOther);
  EXPECT_STREQ(GetDialogText(690), "Abbrechen");
  EXPECT_STREQ(GetDialogText(689), "OK");
  SelectDialogLanguage(kLanguageEnglish);
  EXPECT_STREQ(GetDialogText(690), "Cancel");
}

TEST_F(InterfaceTextsTest, MarkerIsReplacedOncePerMarkerAndText) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"fr: Annuler", "**: Annuler"},
      {"Annuler fr: x", "Annuler **: x"},
      {"fr: a fr: b", "**: a fr: b"},
      {"de: a nl: b", "**: a **: b"},
      {"FR: a", "FR: a"},
      {"fr:a", "fr:a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetDialogTextEntry(61, c.text);
    EXPECT_STREQ(GetDialogText(61), c.shown);
  }
}

TEST_F(InterfaceTextsTest, SettersTakeOnlyTheirIds) {
  SetMessageText(14999, "low");
  SetMessageText(15120, "high");
  SetMessageText(15000, "first\\nsecond\\rthird\\x");
  SetMessageText(15119, "last");
  EXPECT_STREQ(GetMessageText(0), "first\nsecond\rthird\\x");
  EXPECT_STREQ(GetMessageText(119), "last");
  // The first lookup filled English without clearing what the setter put.
  EXPECT_STREQ(GetMessageText(1), "No file selected");

  SetDialogTextEntry(-1, "low");
  SetDialogTextEntry(1000, "high");
  SetDialogTextEntry(999, "last");
  EXPECT_STREQ(GetDialogText(999), "last");
  EXPECT_STREQ(GetDialogText(1000), "???");
}

TEST_F(InterfaceTextsTest, PlaceholdersAreReplacedInTheShownCopyOnly) {
  EXPECT_EQ(MessageWithPlaceholder(32, "xxxxxx", "a.pol"), "Can't find policy file \"a.pol\"");
  EXPECT_STREQ(GetMessageText(32), "Can't find policy file \"xxxxxx\"");
  // A value that holds the placeholder is not replaced again.
  EXPECT_EQ(MessageWithPlaceholder(49, "ffffff", "ffffff.txt"),
            "Unable to locate file \"ffffff.txt\"");
}

TEST(EnglishTexts, IndicesAreUniqueAndInsideTheirTables) {
  struct Case {
    const char* name;
    std::span<const TextRow> rows;
    int count;
  };
  const Case cases[] = {
      {"messages", EnglishMessageTexts(), kMessageTextCount},
      {"dialog", EnglishDialogTexts(), kDialogTextCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::set<int> seen;
    for (const TextRow& row : c.rows) {
      EXPECT_TRUE(seen.insert(row.index).second) << "duplicate " << row.index;
      EXPECT_GE(row.index, 0);
      EXPECT_LT(row.index, c.count);
    }
  }
}

TEST(EnglishTexts, MessageTextsKeepTheirExactBytes) {
  struct Case {
    int index;
    const char* text;
  };
  const Case cases[] = {
      {25, "Problems detected using DDE last time.\n\rDisabling DDE.  Use Settings/Viewers to "
           "re-enable"},
      {47, "Command \"ccc url\" failed.\n\r  Error code=nnn"},
      {71, "%%%%%%%%%%%%%%%%%%% Conversion complete %%%%%%%%%%%%%%%%%%"},
      {86, "Text files (*.txt,*.asc)|*.txt;*.asc|Include files (*.inc)|*.inc|All files "
           "(*.*)|*.*||"},
      {87, "Policy files (*.pol)|*.pol|All files (*.*)|*.*|"},
      {116, "File already exists.\nEither enable 'May overwrite existing files', or change "
            "the output name or folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    bool found = false;
    for (const TextRow& row : EnglishMessageTexts()) {
      if (row.index != c.index)
        continue;
      EXPECT_EQ(row.text, c.text);
      found = true;
    }
    EXPECT_TRUE(found);
  }
  // Entries 0, 118 and 119 are defined by no filler.
  for (const TextRow& row : EnglishMessageTexts())
    EXPECT_TRUE(row.index != 0 && row.index != 118 && row.index != 119) << row.index;
}

// A dialog with OK, Cancel and Apply but no Help button, and one label.
static constexpr ControlTemplate kSheetControls[] = {
    {1, ControlKind::Button, kControlButtonRow, "ok", 0},
    {2, ControlKind::Button, kControlButtonRow, "cancel", 0},
    {12321, ControlKind::Button, kControlButtonRow, "apply", 0},
    {1246, ControlKind::CheckBox, 0, "template text", 0},
};
static constexpr DialogTemplate kSheetTemplate = {129, "template caption", kSheetControls, 0, 0};

TEST_F(InterfaceTextsTest, SetDialogTextsSetsOnlyTheButtonsThatExist) {
  SelectDialogLanguage(kLanguageEnglish);
  HeadlessDialog window(kSheetTemplate, nullptr, nullptr);
  EXPECT_EQ(SetDialogTexts(nullptr, 686), 0);
  EXPECT_EQ(SetDialogTexts(&window, 686), 1);
  EXPECT_EQ(window.GetTitle(), "Output policies for generated RTF file(s)");
  EXPECT_EQ(window.GetText(1), "OK");
  EXPECT_EQ(window.GetText(2), "Cancel");
  EXPECT_EQ(window.GetText(12321), "Apply");
  EXPECT_FALSE(window.HasControl(kButtonHelp));
  EXPECT_EQ(SetControlText(&window, kButtonHelp, 692), 0);
  EXPECT_EQ(SetControlText(nullptr, 1, 689), 0);
  EXPECT_EQ(SetDialogCaption(nullptr, 686), 0);
}

TEST_F(InterfaceTextsTest, ApplyDialogTextsRunsTheDialogsSteps) {
  SelectDialogLanguage(kLanguageEnglish);
  HeadlessDialog window(kSheetTemplate, nullptr, nullptr);
  ApplyDialogTexts(&window, 196);
  EXPECT_EQ(window.GetText(1246), "template text");
  SetDialogTextEntry(61, "from a language file");
  ApplyDialogTexts(&window, 129);
  EXPECT_EQ(window.GetTitle(), "Bullets");
  EXPECT_EQ(window.GetText(1246), "from a language file");
  ApplyDialogTexts(nullptr, 129);
}

TEST(DialogTextSteps, EveryStepNamesADefinedText) {
  std::set<int> defined;
  for (const TextRow& row : EnglishDialogTexts())
    defined.insert(row.index);
  for (const DialogTextStep& step : DialogTextSteps()) {
    SCOPED_TRACE(step.dialogId);
    EXPECT_EQ(defined.count(step.textIndex), 1u) << step.textIndex;
  }
}

// Dialog 173's five "..." buttons and, for the unlisted dialog id, one control of each dialog
// that has steps.
TEST_F(InterfaceTextsTest, ApplyDialogTextsOfFontsPageAndOfAnUnlistedDialog) {
  SelectDialogLanguage(kLanguageEnglish);
  static constexpr ControlTemplate kFontControls[] = {
      {1263, ControlKind::Button, 0, "a", 0}, {1264, ControlKind::Button, 0, "b", 0},
      {1265, ControlKind::Button, 0, "c", 0}, {1266, ControlKind::Button, 0, "d", 0},
      {1267, ControlKind::Button, 0, "e", 0}, {1756, ControlKind::Label, 0, "f", 0},
  };
  static constexpr DialogTemplate kFontTemplate = {173, "template", kFontControls, 0, 0};
  HeadlessDialog fonts(kFontTemplate, nullptr, nullptr);
  ApplyDialogTexts(&fonts, 173);
  EXPECT_EQ(fonts.GetTitle(), "Fonts");
  for (int id = 1263; id <= 1267; ++id)
    EXPECT_EQ(fonts.GetText(id), "...") << id;
  EXPECT_EQ(fonts.GetText(1756), "Font stretch factor (in percent)");
  SetDialogTextEntry(509, "Choose");
  ApplyDialogTexts(&fonts, 173);
  for (int id = 1263; id <= 1267; ++id)
    EXPECT_EQ(fonts.GetText(id), "Choose") << id;

  std::vector<ControlTemplate> controls;
  std::set<int> ids;
  for (const DialogTextStep& step : DialogTextSteps()) {
    if (step.controlId != kCaptionStep && ids.insert(step.controlId).second)
      controls.push_back({step.controlId, ControlKind::Label, 0, "template", 0});
  }
  const DialogTemplate every = {196, "template caption", controls, 0, 0};
  for (int unlisted : {196, 0, -1, 101, 218, 1000}) {
    SCOPED_TRACE(unlisted);
    HeadlessDialog window(every, nullptr, nullptr);
    ApplyDialogTexts(&window, unlisted);
    EXPECT_EQ(window.GetTitle(), "template caption");
    for (int id : ids)
      EXPECT_EQ(window.GetText(id), "template") << id;
  }
}
