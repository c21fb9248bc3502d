#include "app/TipsDialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "app/OxvApp.h"
#include "lang/InterfaceTexts.h"

namespace {

constexpr int kTipEntries = 51;  // 50 tips and the end marker

// The words of a text, split at blanks.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

// The words the tip area shows, in order, the numbering suffix left out.
std::vector<std::string> ShownWords(const StartupTip& tip) {
  std::string all;
  for (int i = 0; i < tip.GetLineCount(); ++i) {
    std::string line = tip.GetLine(i);
    const std::size_t suffix = line.find("(tip ");
    if (suffix != std::string::npos)
      line.erase(suffix);
    all += line + " ";
  }
  return Words(all);
}

// The tips dialog over a main dialog on the headless desktop; the modal script of a test
// drives the window while it runs.
class TipsDialogTest : public DesktopTest {
 protected:
  TipsDialogTest() { MakeDialog(); }

  // Runs the dialog with the stored tip number; script acts on the open window.
  void RunTips(int storedNumber, const std::function<void(HeadlessDialog&)>& script = {}) {
    dialog->Settings().lastTipNumber = storedNumber;
    platform.modalScripts[kDialogTips] = [&](HeadlessDialog& window) {
      shownFirst = dialog->Settings().lastTipNumber;
      ninthLineFirst = window.Control(kTipsArea) != nullptr ? tips->GetTip().GetLine(8) : "";
      if (script)
        script(window);
      return kTipsClose;
    };
    tips = std::make_unique<TipsDialog>(*dialog, nullptr);
    (void)tips->RunModal();
  }

  std::unique_ptr<TipsDialog> tips;
  int shownFirst = -1;
  std::string ninthLineFirst;
};

}  // namespace

// ---- The tip list ----

TEST(TipTexts, HoldFiftyTipsAndTheEndMarker) {
  ASSERT_EQ(TipTexts().size(), static_cast<std::size_t>(kTipEntries));
  EXPECT_EQ(TipTexts()[0], "You can view these tips (or switch them on and off) via the Settings menu");
  EXPECT_EQ(TipTexts()[50], "** This is the last tip. Now read them all again :-) **");
  EXPECT_NE(TipTexts()[6].find("available at https://"), std::string_view::npos);
}

// ---- Word wrap ----

TEST(StartupTip, EveryTipIsShownWhole) {
  StartupTip tip;
  for (std::size_t i = 0; i < TipTexts().size(); ++i) {
    SCOPED_TRACE(i + 1);
    const std::string text(TipTexts()[i]);
    tip.SetTip(text.c_str(), static_cast<int>(i) + 1, kTipEntries);
    EXPECT_EQ(ShownWords(tip), Words(text));
    EXPECT_LE(tip.GetLineCount(), StartupTip::kMaxLines - 1) << "room for the suffix";
  }
}

TEST(StartupTip, SuffixEndsTheNinthLineExceptOnTheEndMarker) {
  struct Case {
    int number;
    const char* ninthLine;
  };
  const Case cases[] = {
      {3, "(tip 3/50)"},
      {1, "(tip 1/50)"},
      {50, "(tip 50/50)"},
      {51, ""},  // the end marker
  };
  StartupTip tip;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    tip.SetTip("A short tip", c.number, kTipEntries);
    EXPECT_EQ(tip.GetLine(0), "A short tip ");
    EXPECT_EQ(tip.GetLine(8), c.ninthLine);
    EXPECT_EQ(tip.GetLineCount(), c.ninthLine[0] != '\0' ? 9 : 1);
  }
}

TEST(StartupTip, TooLongATipLosesItsLastWordsAndTheSuffix) {
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "extraordinarily a ";
  StartupTip tip;
  tip.SetTip(text.c_str(), 3, kTipEntries);
  EXPECT_EQ(tip.GetLineCount(), StartupTip::kMaxLines);
  const std::vector<std::string> shown = ShownWords(tip);
  const std::vector<std::string> all = Words(text);
  ASSERT_LT(shown.size(), all.size());
  // The shown words are the tip's first ones: no later word fills a gap.
  EXPECT_EQ(shown, std::vector<std::string>(all.begin(), all.begin() + shown.size()));
  for (int i = 0; i < StartupTip::kMaxLines; ++i)
    EXPECT_EQ(tip.GetLine(i).find("(tip"), std::string::npos) << "line " << i;
}

TEST(StartupTip, TipOfNineLinesGetsTheSuffixAfterItsLastWord) {
  // The longest start of a long text that wraps into nine lines.
  std::string text, nine;
  StartupTip tip;
  for (int i = 0; i < 200; ++i) {
    text += i % 3 == 0 ? "wrapping " : "the words ";
    tip.SetTip(text.c_str(), kTipEntries, kTipEntries);
    if (tip.GetLineCount() == 9)
      nine = text;
  }
  ASSERT_FALSE(nine.empty());
  tip.SetTip(nine.c_str(), kTipEntries, kTipEntries);
  const std::string ninth = tip.GetLine(8);
  tip.SetTip(nine.c_str(), 17, kTipEntries);
  EXPECT_EQ(tip.GetLineCount(), 9);
  EXPECT_EQ(tip.GetLine(8), ninth + "(tip 17/50)");
}

TEST(StartupTip, WordWiderThanALineStillStartsTheTip) {
  const std::string word(150, 'w');
  StartupTip tip;
  tip.SetTip((word + " end").c_str(), kTipEntries, kTipEntries);
  EXPECT_EQ(tip.GetLine(0), word + " ");
  EXPECT_EQ(tip.GetLine(1), "end ");
  tip.SetTip("   ", kTipEntries, kTipEntries);
  EXPECT_EQ(tip.GetLineCount(), 0);
}

// ---- Paging and the stored number ----

TEST_F(TipsDialogTest, StartShowsTheTipAfterTheStoredOne) {
  struct Case {
    int stored;
    int shown;
  };
  const Case cases[] = {
      {0, 1},    // first start
      {2, 3},
      {50, 51},  // the end marker
      {51, 1},   // after the end marker
      {-7, 1},   // a setting edited out of range
      {900, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    RunTips(c.stored);
    EXPECT_EQ(shownFirst, c.shown);
    EXPECT_EQ(dialog->Settings().lastTipNumber, c.shown);
  }
}

TEST_F(TipsDialogTest, TipThreeCarriesItsNumber) {
  RunTips(2);
  EXPECT_EQ(shownFirst, 3);
  EXPECT_EQ(ninthLineFirst, "(tip 3/50)");
}

TEST_F(TipsDialogTest, PagingWrapsAroundBothEnds) {
  std::vector<int> seen;
  std::string endMarkerNinthLine = "unset";
  RunTips(0, [&](HeadlessDialog& window) {
    window.Fire(kTipsPrevious, DialogEvent::Click);
    seen.push_back(tips->GetTipNumber());
    endMarkerNinthLine = tips->GetTip().GetLine(8);
    window.Fire(kTipsNext, DialogEvent::Click);
    seen.push_back(tips->GetTipNumber());
    window.Fire(kTipsNext, DialogEvent::Click);
    seen.push_back(tips->GetTipNumber());
  });
  EXPECT_EQ(seen, (std::vector<int>{51, 1, 2}));
  EXPECT_EQ(endMarkerNinthLine, "");
  EXPECT_EQ(dialog->Settings().lastTipNumber, 2);
}

TEST_F(TipsDialogTest, EachPageAsksForARepaint) {
  int before = -1;
  int after = -1;
  RunTips(0, [&](HeadlessDialog& window) {
    before = window.Control(kTipsArea)->invalidated;
    window.Fire(kTipsNext, DialogEvent::Click);
    after = window.Control(kTipsArea)->invalidated;
  });
  EXPECT_GE(before, 1);
  EXPECT_EQ(after, before + 1);
}

TEST_F(TipsDialogTest, CheckBoxShowsAndKeepsTheStartUpSwitch) {
  dialog->Settings().showTipsOnStartup = 1;
  int shownCheck = -1;
  RunTips(0, [&](HeadlessDialog& window) {
    shownCheck = window.GetCheck(kTipsShowOnStartup);
    window.ClickCheck(kTipsShowOnStartup);
  });
  EXPECT_EQ(shownCheck, 1);
  EXPECT_EQ(dialog->Settings().showTipsOnStartup, 0);
  dialog.reset();  // saves the settings
  std::string stored;
  ASSERT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup", stored));
  EXPECT_EQ(stored, "No");
  ASSERT_TRUE(platform.settings.Read("SOFTWARE\\Norvane\\Kelvane\\Dialogs\\LastTipNumber", stored));
  EXPECT_EQ(std::atoi(stored.c_str()), 1);
}

TEST_F(TipsDialogTest, WindowTakesTheDialogTexts) {
  dialog->SetLanguage(kLanguageEnglish);
  std::string title, check, close;
  RunTips(0, [&](HeadlessDialog& window) {
    title = window.GetTitle();
    check = window.GetText(kTipsShowOnStartup);
    close = window.GetText(kTipsClose);
  });
  EXPECT_EQ(title, "Tip of the Day");
  EXPECT_EQ(check, "Show on startup");
  EXPECT_EQ(close, "Close");
}

TEST_F(TipsDialogTest, CloseButtonAndCloseRequestEndTheDialog) {
  for (const DialogEvent event : {DialogEvent::Click, DialogEvent::CloseRequest}) {
    bool stillModal = true;
    RunTips(0, [&](HeadlessDialog& window) {
      window.Fire(event == DialogEvent::Click ? kTipsClose : 0, event);
      stillModal = window.IsInModalLoop();
    });
    EXPECT_FALSE(stillModal);
  }
}

// ---- Painting ----

TEST_F(TipsDialogTest, PaintsBandRuleTitleAndLines) {
  std::vector<DrawOp> ops;
  RunTips(2, [&](HeadlessDialog& window) { ops = window.Paint(kTipsArea); });
  const int width = StartupTip::kAreaWidth;
  const int height = StartupTip::kAreaHeight;
  ASSERT_GE(ops.size(), 6u);
  auto expectFill = [](const DrawOp& op, int x, int y, int w, int h, unsigned colour) {
    EXPECT_EQ(op.kind, DrawKind::Fill);
    EXPECT_EQ(op.x, x);
    EXPECT_EQ(op.y, y);
    EXPECT_EQ(op.width, w);
    EXPECT_EQ(op.height, h);
    EXPECT_EQ(op.colour, colour);
  };
  expectFill(ops[0], 0, 0, width, height, 0xFFFFFFu);  // background
  expectFill(ops[1], 0, 0, 50, height, 0x848284u);     // band
  expectFill(ops[2], 50, 30, width - 50, 3, 0x848284u);  // rule
  EXPECT_EQ(ops[3].kind, DrawKind::Font);
  EXPECT_EQ(ops[3].family, FontFamily::Serif);
  EXPECT_TRUE(ops[3].bold);
  EXPECT_EQ(ops[3].height, 22);
  EXPECT_EQ(ops[4].kind, DrawKind::Text);
  EXPECT_EQ(ops[4].text, "Did you know...");
  EXPECT_EQ(ops[4].x, 55);
  EXPECT_EQ(ops[4].y, 5);
  EXPECT_EQ(ops[5].kind, DrawKind::Font);
  EXPECT_EQ(ops[5].family, FontFamily::Sans);
  EXPECT_FALSE(ops[5].bold);
  EXPECT_EQ(ops[5].height, 16);
  // Tip 3's lines, the empty ones below them and the suffix line: nine, 16 pixels apart.
  ASSERT_EQ(ops.size(), 6u + 9u);
  for (int i = 0; i < 9; ++i) {
    const DrawOp& op = ops[6 + static_cast<std::size_t>(i)];
    EXPECT_EQ(op.kind, DrawKind::Text);
    EXPECT_EQ(op.x, 55);
    EXPECT_EQ(op.y, 38 + 16 * i);
  }
  EXPECT_EQ(ops[6].text.rfind("You can set a default policy file", 0), 0u);
  EXPECT_EQ(ops.back().text, "(tip 3/50)");
}

TEST(StartupTipPainting, LineWiderThanTheAreaStopsFiveSmallerThanItsEdge) {
  StartupTip tip;
  HeadlessDialog window(*FindDialogTemplate(kDialogTips), {}, nullptr);
  tip.Attach(&window, kTipsArea);
  const std::string word(200, 'w');
  tip.SetTip(word.c_str(), kTipEntries, kTipEntries);
  const std::vector<DrawOp> ops = window.Paint(kTipsArea);
  ASSERT_EQ(ops.back().kind, DrawKind::Text);
  const int room = StartupTip::kAreaWidth - 5 - 55;
  const int drawn = HeadlessTextExtent(ops.back().text, 16);
  EXPECT_LE(drawn, room);
  EXPECT_GT(HeadlessTextExtent(ops.back().text + "w", 16), room) << "no more is cut than needed";
  EXPECT_EQ(ops.back().text, word.substr(0, ops.back().text.size()));
}

// ---- At start-up ----

TEST_F(DesktopTest, TipsShowAtAnInteractiveStartOnlyWhenChosen) {
  struct Case {
    const char* selectedLanguage;
    const char* showTips;
    bool withInput;
    int tipsShown;
  };
  const Case cases[] = {
      {"Yes", "Yes", false, 1},
      {"No", "Yes", false, 0},  // the language is asked for first
      {"Yes", "No", false, 0},
      {"Yes", "Yes", true, 0},  // a command-line run
  };
  const std::string input = WriteText("tips-start.txt", kSampleText);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selectedLanguage << c.showTips << c.withInput);
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Languages\\SelectedLanguage",
                                  c.selectedLanguage);
    (void)platform.settings.Write("SOFTWARE\\Norvane\\Kelvane\\Dialogs\\ShowTipsOnStartup",
                                  c.showTips);
    int tipsShown = 0;
    bool tipsBeforeMain = true;
    bool mainShown = false;
    platform.modalScripts[kDialogTips] = [&](HeadlessDialog&) {
      ++tipsShown;
      tipsBeforeMain = !mainShown;
      return 2;
    };
    platform.modalScripts[kDialogMain] = [&](HeadlessDialog&) {
      mainShown = true;
      return 2;
    };
    OxvApp app(platform);
    (void)app.InitInstance(c.withInput ? std::vector<std::string>{input} : std::vector<std::string>{});
    EXPECT_EQ(tipsShown, c.tipsShown);
    EXPECT_TRUE(tipsBeforeMain);
  }
}
