#include "app/AboutDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DesktopFixture.h"
#include "lang/InterfaceTexts.h"

namespace {

// Records what the about box asks of the browser and mail routes.
struct FakeLinks : AboutLinkServices {
  std::string browser = "/usr/bin/browser";
  std::string mail = "/usr/bin/mailer";
  std::vector<std::string> opened;  // "<browser> <address>"
  int browserLookups = 0;
  std::string GetBrowserCommand() override {
    ++browserLookups;
    return browser;
  }
  void OpenUrlInBrowser(const std::string& address, const std::string& command) override {
    opened.push_back(command + " " + address);
  }
  std::string FindMailCommand() override { return mail; }
};

class AboutDialogTest : public DesktopTest {
 protected:
  AboutDialogTest() {
    MakeDialog();
    dialog->SetLanguage(kLanguageEnglish);
  }
  ~AboutDialogTest() override {
    // The text tables are the process's: the next test starts in English.
    if (dialog != nullptr)
      dialog->SetLanguage(kLanguageEnglish);
  }

  // Runs the about box; script acts on the open window.
  int RunAbout(const std::function<void(HeadlessDialog&)>& script) {
    platform.modalScripts[kDialogAbout] = [&](HeadlessDialog& window) {
      script(window);
      return kAboutOk;
    };
    AboutDialog about(*dialog, links, nullptr);
    return about.RunModal();
  }

  FakeLinks links;
};

}  // namespace

TEST(AboutVersionLine, MonthFollowsTheLanguage) {
  struct Case {
    int language;
    const char* line;
  };
  const Case cases[] = {
      {kLanguageEnglish, "Kelvane 2.0.11.3 - November 2011"},
      {kLanguageGerman, "Kelvane 2.0.11.3 - November 2011"},
      {kLanguageSpanish, "Kelvane 2.0.11.3 - Noviembre 2011"},
      {kLanguageFrench, "Kelvane 2.0.11.3 - Novembre 2011"},
      {kLanguagePortuguese, "Kelvane 2.0.11.3 - Novembro 2011"},
      {kLanguageItalian, "Kelvane 2.0.11.3 - Novembre 2011"},
      {kLanguageSwedish, "Kelvane 2.0.11.3 - November 2011"},
      {kLanguageRussian, "Kelvane 2.0.11.3 - \xCD\xEE\xFF\xE1\xF0\xFC 2011"},  // Windows-1251
      {kLanguageDutch, "Kelvane 2.0.11.3 - November 2011"},
      {kLanguageOther, "Kelvane 2.0.11.3 - November 2011"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    EXPECT_EQ(AboutVersionLine(c.language), c.line);
  }
}

TEST_F(AboutDialogTest, WindowShowsProductVersionAndAddresses) {
  std::string title, version, home, doc, mail;
  EXPECT_EQ(RunAbout([&](HeadlessDialog& window) {
              title = window.GetTitle();
              version = window.GetText(kAboutVersion);
              home = window.GetText(kAboutHomeLink);
              doc = window.GetText(kAboutDocLink);
              mail = window.GetText(kAboutMailLink);
            }),
            kAboutOk);
  EXPECT_EQ(title, "About Kelvane");
  EXPECT_EQ(version, "Kelvane 2.0.11.3 - November 2011");
  EXPECT_EQ(home, "https://www.kelvane.example/kelvane/");
  EXPECT_EQ(doc, "https://www.kelvane.example/doco/kelvane.html");
  EXPECT_EQ(mail, kContactMailbox);
}

TEST_F(AboutDialogTest, VersionLineOnTheWindowFollowsTheMainDialogsLanguage) {
  struct Case {
    int language;
    const char* line;  // as the window shows it, in UTF-8
  };
  const Case cases[] = {
      {kLanguageSpanish, "Kelvane 2.0.11.3 - Noviembre 2011"},
      {kLanguageRussian, "Kelvane 2.0.11.3 - \xD0\x9D\xD0\xBE\xD1\x8F\xD0\xB1\xD1\x80\xD1\x8C 2011"},
      {kLanguageEnglish, "Kelvane 2.0.11.3 - November 2011"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    dialog->SetLanguage(c.language);
    // The language in force, as the main dialog's open window keeps it.
    static_cast<BaseDialog&>(*dialog).SetLanguage(c.language);
    std::string version;
    RunAbout([&](HeadlessDialog& window) { version = window.GetText(kAboutVersion); });
    EXPECT_EQ(version, c.line);
  }
}

TEST_F(AboutDialogTest, LinksOpenTheirAddressesInTheBrowser) {
  RunAbout([](HeadlessDialog& window) {
    window.Fire(kAboutHomeLink, DialogEvent::Click);
    window.Fire(kAboutDocLink, DialogEvent::Click);
  });
  EXPECT_EQ(links.opened,
            (std::vector<std::string>{
                "/usr/bin/browser https://www.kelvane.example/kelvane/?home",
                "/usr/bin/browser https://www.kelvane.example/doco/kelvane.html?doco"}));
}

TEST_F(AboutDialogTest, DocumentationLinkOpensTheGuideThatShipsWithTheProgram) {
  struct Case {
    const char* name;
    const char* guide;     // written under the case's folder; empty: none
    const char* settings;  // the "\HTMLDoco" setting under the case's folder; empty: unset
    const char* opened;    // under the case's folder; empty: the web address
  };
  const Case cases[] = {
      {"beside", "bin/kelvane.html", "", "bin/kelvane.html"},
      {"installed", "share/kelvane/kelvane.html", "", "share/kelvane/kelvane.html"},
      {"named", "guide/manual.html", "guide/manual.html", "guide/manual.html"},
      {"none", "", "", ""},
      {"named-missing", "bin/kelvane.html", "guide/manual.html", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string root = std::string(c.name) + "/";
    if (*c.guide != '\0')
      (void)WriteText(root + c.guide, "<!DOCTYPE html>");
    platform.moduleFileName = Dir() + root + "bin/kelvane";
    dialog->Settings().htmlDoco = *c.settings != '\0' ? Dir() + root + c.settings : "";
    links.opened.clear();
    RunAbout([](HeadlessDialog& window) { window.Fire(kAboutDocLink, DialogEvent::Click); });
    const std::string address =
        *c.opened != '\0' ? dialog->MakeFileUrl(Dir() + root + c.opened)
                           : "https://www.kelvane.example/doco/kelvane.html?doco";
    EXPECT_EQ(links.opened, std::vector<std::string>{"/usr/bin/browser " + address});
  }
}

TEST_F(AboutDialogTest, WithoutABrowserNothingIsOpened) {
  links.browser.clear();
  RunAbout([](HeadlessDialog& window) { window.Fire(kAboutHomeLink, DialogEvent::Click); });
  EXPECT_EQ(links.browserLookups, 1);
  EXPECT_TRUE(links.opened.empty());
  EXPECT_TRUE(platform.shellOpened.empty());
}

TEST_F(AboutDialogTest, MailLinkOpensTheMailboxWithItsSubject) {
  RunAbout([](HeadlessDialog& window) { window.Fire(kAboutMailLink, DialogEvent::Click); });
  EXPECT_EQ(platform.shellOpened,
            (std::vector<std::string>{
                "mailto:kelvane@norvane.example?subject=Kelvane user question"}));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AboutDialogTest, MailLinkWithoutAMailProgramSaysSo) {
  links.mail.clear();
  RunAbout([](HeadlessDialog& window) { window.Fire(kAboutMailLink, DialogEvent::Click); });
  EXPECT_TRUE(platform.shellOpened.empty());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Failed to auto-detect email client");
  EXPECT_EQ(platform.messages[0].caption, "Email error");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
}

TEST_F(AboutDialogTest, OkAndCloseRequestEndTheDialog) {
  for (const int control : {static_cast<int>(kAboutOk), 0}) {
    SCOPED_TRACE(control);
    bool stillModal = true;
    RunAbout([&](HeadlessDialog& window) {
      window.Fire(control, control == 0 ? DialogEvent::CloseRequest : DialogEvent::Click);
      stillModal = window.IsInModalLoop();
    });
    EXPECT_FALSE(stillModal);
  }
}
