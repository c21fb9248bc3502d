#include "lang/ToolTips.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "platform/DialogTemplate.h"
#include "platform/HeadlessPlatform.h"
#include "support/TestFiles.h"
#include "text/TextFile.h"
#include "TextTablesTest.h"

namespace {

// Part of the main dialog: five registered controls (1015, 1077, 1078, 1520, 1505; the others
// of its registration are missing) and the labels 1349 and 4242, which register none.
constexpr ControlTemplate kMainControls[] = {
    {1349, ControlKind::Label, 0, "template 1349", 0},
    {1015, ControlKind::Button, 0, "template 1015", 0},
    {1077, ControlKind::Radio, 0, "template 1077", 0},
    {1078, ControlKind::Radio, 0, "template 1078", 0},
    {1520, ControlKind::Button, 0, "template 1520", 0},
    {1505, ControlKind::ComboEdit, 0, "", 0},
    {4242, ControlKind::Label, 0, "template 4242", 0},
};
constexpr DialogTemplate kMainTemplate = {102, "template caption", kMainControls, 0, 0};
constexpr int kMainTools = 5;

class ToolTipsTest : public TextTablesTest {
 protected:
  ToolTipsTest() : window(kMainTemplate, nullptr, nullptr) {
    SelectInterfaceLanguage(kLanguageEnglish);
    window.CreateToolTipControl();
  }
  HeadlessDialog window;
};

using ToolTipTextsTest = TextTablesTest;

}  // namespace

// ---- Modes ----

TEST_F(ToolTipsTest, ModeOneAddsToolsWithoutTextForTheControlsTheDialogHas) {
  SetDialogToolTips(kToolTipAdd, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), kMainTools);
  EXPECT_TRUE(window.HasTool(1015));
  EXPECT_EQ(window.GetToolText(1015), "");
  EXPECT_FALSE(window.HasTool(4242));
  EXPECT_EQ(window.GetText(1349), "template 1349") << "only mode 2 applies the dialog texts";
}

TEST_F(ToolTipsTest, ModeTwoOnAnEmptyToolControlAddsSetsAndApplies) {
  SetDialogToolTips(kToolTipSetTexts, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), kMainTools);
  EXPECT_EQ(window.GetToolText(1015), "Start the conversion");
  EXPECT_EQ(window.GetText(1349), "File(s) to convert");
  EXPECT_EQ(window.GetText(1015), "Convert File(s)...");
}

TEST_F(ToolTipsTest, ModeTwoWithToolsOnlyChangesTexts) {
  SetDialogToolTips(kToolTipAdd, &window, 102, true);
  window.RemoveTool(1015);
  SetDialogToolTips(kToolTipSetTexts, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), kMainTools - 1);
  EXPECT_FALSE(window.HasTool(1015)) << "a control without a tool is left alone";
  EXPECT_EQ(window.GetToolText(1077), "Select the output file extension");
  SetToolTipEntry(5009, "changed");
  SetDialogToolTips(kToolTipSetTexts, &window, 102, true);
  EXPECT_EQ(window.GetToolText(1077), "changed");
  EXPECT_EQ(window.ToolCount(), kMainTools - 1);
}

// A language switch runs mode 2 on every open dialog: with "Show tool tips" off it must not
// bring the tools back, but the dialog texts change.
TEST_F(ToolTipsTest, ModeTwoAddsNoToolsWhileTooltipsAreOff) {
  SetDialogToolTips(kToolTipSetTexts, &window, 102, false);
  EXPECT_EQ(window.ToolCount(), 0);
  EXPECT_EQ(window.GetText(1349), "File(s) to convert");

  // Tools that exist still take the texts of the new language.
  SetDialogToolTips(kToolTipAdd, &window, 102, true);
  SetToolTipEntry(5001, "new language");
  SetDialogToolTips(kToolTipSetTexts, &window, 102, false);
  EXPECT_EQ(window.ToolCount(), kMainTools);
  EXPECT_EQ(window.GetToolText(1015), "new language");
}

TEST_F(ToolTipsTest, ModeThreeRemovesEveryToolAndTwiceIsHarmless) {
  SetDialogToolTips(kToolTipSetTexts, &window, 102, true);
  const std::string title = window.GetTitle();
  SetDialogToolTips(kToolTipRemove, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), 0);
  SetDialogToolTips(kToolTipRemove, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), 0);
  EXPECT_EQ(window.GetTitle(), title);
  EXPECT_EQ(window.GetText(1349), "File(s) to convert");
  // Turning tooltips on again adds and sets them in one step.
  SetDialogToolTips(kToolTipSetTexts, &window, 102, true);
  EXPECT_EQ(window.ToolCount(), kMainTools);
  EXPECT_EQ(window.GetToolText(1078), "Select the output file extension");
}

TEST_F(ToolTipsTest, OtherModesDoNothing) {
  for (int mode : {0, 4, -1}) {
    SCOPED_TRACE(mode);
    SetDialogToolTips(mode, &window, 102, true);
    EXPECT_EQ(window.ToolCount(), 0);
    EXPECT_EQ(window.GetText(1349), "template 1349");
  }
  SetDialogToolTips(kToolTipAdd, &window, 102, true);
  SetDialogToolTips(0, &window, 102, true);
  EXPECT_EQ(window.GetToolText(1015), "");
}

TEST_F(ToolTipsTest, WithoutToolTipControlOnlyTheDialogTextsChange) {
  HeadlessDialog bare(kMainTemplate, nullptr, nullptr);
  SetDialogToolTips(kToolTipAdd, &bare, 102, true);
  SetDialogToolTips(kToolTipSetTexts, &bare, 102, true);
  EXPECT_EQ(bare.ToolCount(), 0);
  EXPECT_EQ(bare.GetText(1349), "File(s) to convert");
  SetDialogToolTips(kToolTipSetTexts, nullptr, 102, true);
}

TEST_F(ToolTipsTest, DialogsWithoutRegistrationsGetOnlyTheirTexts) {
  static constexpr ControlTemplate kControls[] = {
      {1767, ControlKind::CheckBox, 0, "template 1767", 0},
      {2, ControlKind::Button, kControlButtonRow, "template 2", 0},
      {1428, ControlKind::Label, 0, "template 1428", 0},
      {1439, ControlKind::Label, 0, "template 1439", 0},
  };
  struct Case {
    int dialogId;
    int controlId;
    const char* title;
    const char* text;
  };
  const Case cases[] = {
      {178, 1428, "Policy files", "Default policy file"},
      {231, 1439, "Link Dictionary Edit", "Text to be matched"},
      {233, 1767, "Tip of the Day", "Show on startup"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialogId);
    const DialogTemplate dialog = {c.dialogId, "template", kControls, 0, 0};
    HeadlessDialog page(dialog, nullptr, nullptr);
    page.CreateToolTipControl();
    SetDialogToolTips(kToolTipSetTexts, &page, c.dialogId, true);
    EXPECT_EQ(page.GetTitle(), c.title);
    EXPECT_EQ(page.GetText(c.controlId), c.text);
    EXPECT_EQ(page.ToolCount(), 0);
  }
}

// ---- Texts ----

TEST_F(ToolTipTextsTest, FirstToolTipLookupFillsEnglish) {
  EXPECT_EQ(ToolTipTexts().GetLanguage(), kTableNeverFilled);
  EXPECT_STREQ(GetToolTipText(1015), "Start the conversion");
  EXPECT_EQ(ToolTipTexts().GetLanguage(), kLanguageEnglish);
  EXPECT_STREQ(GetToolTipText(1520), "") << "entries 5012 and 5013 have no built-in text";
  EXPECT_STREQ(GetToolTipText(1505), "");
  EXPECT_STREQ(GetToolTipText(4242), "*** No Tool Tip text for this control ***");
}

TEST_F(ToolTipTextsTest, ControlsThatShareATooltipShowOneText) {
  SelectToolTipLanguage(kLanguageEnglish);
  struct Case {
    int first;
    int second;
    const char* text;
  };
  const Case cases[] = {
      {1077, 1078, "Select the output file extension"},
      {1075, 1127, "Browser command to be used when viewing generated HTML files"},
      {1131, 2077, "Browser command to be used when viewing generated RTF files"},
      {1736, 1737, "Name of file containing the Style Definitions"},
      {1739, 1740, "Name of file containing the Table Definitions"},
      {1745, 1747, "What is the scope of any FO tags?"},
      {1742, 1743, "Name of file containing the Text Commands"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    EXPECT_STREQ(GetToolTipText(c.first), c.text);
    EXPECT_STREQ(GetToolTipText(c.second), c.text);
  }
  SetToolTipEntry(5009, "shared");
  EXPECT_STREQ(GetToolTipText(1077), "shared");
  EXPECT_STREQ(GetToolTipText(1078), "shared");
}

TEST_F(ToolTipTextsTest, ToolTipSetterTakesOnlyItsIdsAndKeepsTheText) {
  SelectToolTipLanguage(kLanguageEnglish);
  SetToolTipEntry(5549, "last");
  SetToolTipEntry(5550, "past");
  SetToolTipEntry(4999, "before");
  SetToolTipEntry(5001, "fr: D\xE9marrer\\n");
  EXPECT_STREQ(ToolTipTexts().Get(549), "last");
  EXPECT_STREQ(ToolTipTexts().Get(0), "");
  EXPECT_STREQ(GetToolTipText(1015), "fr: D\xE9marrer\\n");
  // The next selection shows the marker as "**: ".
  SelectToolTipLanguage(kLanguageOther);
  SelectToolTipLanguage(kLanguageGerman);
  const std::string shown = GetToolTipText(1015);
  if (!HasBuiltInTranslation(kLanguageGerman)) {
    EXPECT_EQ(shown, "**: Start the conversion");
  }
  EXPECT_EQ(shown.find("fr: "), std::string::npos);
}

TEST_F(ToolTipTextsTest, ToolTipSelectionRecordsEnglishForUnknownIds) {
  SelectToolTipLanguage(12);
  EXPECT_EQ(ToolTipTexts().GetLanguage(), kLanguageEnglish);
  EXPECT_STREQ(GetToolTipText(1015), "Start the conversion");
  SelectToolTipLanguage(kLanguageOther);
  EXPECT_EQ(ToolTipTexts().GetLanguage(), kLanguageOther);
}

// The French filler leaves 5165 alone, so it keeps the text of the language before.
TEST_F(ToolTipTextsTest, FrenchKeepsTheEnglishTooltipOf5165) {
  SelectToolTipLanguage(kLanguageEnglish);
  SelectToolTipLanguage(kLanguageFrench);
  EXPECT_STREQ(GetToolTipText(1757),
               "Extra scaling factor (in percent) using in calculating text size inside tables");
  SetToolTipEntry(5165, "from a file");
  SelectToolTipLanguage(kLanguageEnglish);
  SelectToolTipLanguage(kLanguageFrench);
  EXPECT_STREQ(GetToolTipText(1757),
               "Extra scaling factor (in percent) using in calculating text size inside tables");
}

TEST_F(ToolTipTextsTest, FillerGapsKeepTheMenuTextsBefore) {
  struct Case {
    int language;
    int index;
  };
  const Case cases[] = {{kLanguageFrench, 10}, {kLanguageFrench, 68}, {kLanguageGerman, 131}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    SelectMenuLanguage(kLanguageEnglish);
    MenuTexts().Set(c.index, "before");
    SelectMenuLanguage(c.language);
    EXPECT_STREQ(MenuTexts().Get(c.index), "before");
  }
}

// ---- The tables ----

TEST(ToolTipRegistrations, AControlHasOneTextInEveryDialog) {
  std::map<int, int> textOfControl;
  std::set<int> english;
  for (const TextRow& row : EnglishToolTipTexts())
    english.insert(kToolTipTextFirstId + row.index);
  for (const ToolTipRegistration& row : ToolTipRegistrations()) {
    SCOPED_TRACE(row.dialogId);
    const auto [known, isNew] = textOfControl.emplace(row.controlId, row.textId);
    EXPECT_EQ(known->second, row.textId) << "control " << row.controlId;
    if (row.textId == 5012 || row.textId == 5013)
      continue;
    EXPECT_EQ(english.count(row.textId), 1u) << row.textId;
  }
}

TEST(ToolTipRegistrations, EachDialogsControlsAreOneRunInOrder) {
  std::set<int> finished;
  int current = 0;
  for (const ToolTipRegistration& row : ToolTipRegistrations()) {
    if (row.dialogId == current)
      continue;
    EXPECT_TRUE(finished.insert(current).second) << "dialog " << current << " split";
    current = row.dialogId;
  }
  const std::vector<int> firstOfMain = {1015, 1122, 1001};
  for (std::size_t i = 0; i < firstOfMain.size(); ++i)
    EXPECT_EQ(ToolTipRegistrations()[i].controlId, firstOfMain[i]);
}

TEST(EnglishToolTipTexts, IndicesAreUniqueAndTextsExact) {
  std::map<int, std::string_view> texts;
  for (const TextRow& row : EnglishToolTipTexts()) {
    EXPECT_TRUE(texts.emplace(row.index, row.text).second) << "duplicate " << row.index;
    EXPECT_GE(row.index, 0);
    EXPECT_LT(row.index, kToolTipTextCount);
  }
  EXPECT_EQ(texts.count(12), 0u);
  EXPECT_EQ(texts.count(13), 0u);
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {5005, "Select the text encoding used on the file (e.g. if it's Unicode).  If in doubt, "
             "select 'auto'"},
      {5054, "Is the \"-\" character used in definitions?"},
      {5265, "Location of the HTML doco on the local disk (file kelvane.html)"},
      {5266, "Location of the HTML doco on the local disk (file kelvane.html)"},
      {5319, "Layout in the form: <no_cols>,<position_of_end_of_col_1>,<p_2>,<p_3>..."},
      {5325, "Default header size in each table. A value of 0 means \"calculate\""},
      {5354, "Character encoding to be used for document.  Should match original character set "
             "(default is ascii)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_EQ(texts.count(c.id - kToolTipTextFirstId), 1u);
    EXPECT_EQ(texts[c.id - kToolTipTextFirstId], c.text);
  }
}

// ---- The language-file section ----

TEST_F(ToolTipTextsTest, ToolTipSectionHasItsGroupsAndEntries) {
  SelectToolTipLanguage(kLanguageEnglish);
  SetToolTipEntry(5002, "");
  const std::string path = TempPath("tooltips", "section.lng");
  {
    TextFile file;
    ASSERT_TRUE(file.OpenForWrite(path.c_str(), 0, 0));
    WriteToolTipSection(file);
    file.CloseAll();
  }
  const std::string written = ReadBytes(path);
  std::remove(path.c_str());
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = written.find('\n'); end != std::string::npos;
       start = end + 1, end = written.find('\n', start))
    lines.push_back(written.substr(start, end - start));
  EXPECT_EQ(start, written.size()) << "every line ends";
  ASSERT_EQ(lines.size(), 27u * 3 + 208);
  const std::vector<std::string> head = {
      "!", "!- [Ombrevix] Main dialog", "!", "5001  : Start the conversion", "5002  : ",
  };
  for (std::size_t i = 0; i < head.size(); ++i)
    EXPECT_EQ(lines[i], head[i]);
  EXPECT_EQ(lines.back(), "5322  : How easily should adjacent columns be merged if they appear "
                          "mostly empty");
  int headings = 0;
  std::set<std::string> ids;
  for (const std::string& line : lines) {
    headings += line.rfind("!- ", 0) == 0 ? 1 : 0;
    if (line[0] != '!') {
      EXPECT_TRUE(ids.insert(line.substr(0, 4)).second) << line;
    }
  }
  EXPECT_EQ(headings, 27);
  EXPECT_EQ(ids.count("5031"), 0u) << "the entries shown only as tooltips are not written";
  EXPECT_EQ(ids.count("5012"), 0u);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "!- [Ombrevix] Output->Fonts properties sheet "),
            1);
}
