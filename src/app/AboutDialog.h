#pragma once

#include <memory>
#include <string>

#include "platform/DialogWindow.h"

class BaseDialog;

// Controls of the about box (template 100).
enum AboutControl : int {
  kAboutOk = 1,
  kAboutHomeLink = 1085,
  kAboutDocLink = 1087,
  kAboutVersion = 1197,
  kAboutMailLink = 1281,
  kAboutHomeLabel = 1353,
  kAboutDocLabel = 1354,
  kAboutMailLabel = 1355,
  kAboutCopyright = 1399,
  kAboutContacts = 1401,
};

// The mailbox the mail link writes to, and the subject it proposes.
inline constexpr const char* kContactMailbox = "kelvane@norvane.example";
inline constexpr const char* kMailSubject = "Kelvane user question";

// The browser and mail routes that the about box's links take: the main dialog's viewer
// operations.
class AboutLinkServices {
 public:
  virtual ~AboutLinkServices() = default;
  // The browser command; empty when none was found (the lookup has told the user).
  virtual std::string GetBrowserCommand() = 0;
  // Shows address in the browser that browserCommand starts.
  virtual void OpenUrlInBrowser(const std::string& address, const std::string& browserCommand) = 0;
  // The program registered for "mailto" links; empty when there is none.
  virtual std::string FindMailCommand() = 0;
};

// The main dialog's own browser and mail lookups as the about box's link services.
class MainDialogLinks : public AboutLinkServices {
 public:
  explicit MainDialogLinks(BaseDialog& dialog) : dialog_(dialog) {}
  std::string GetBrowserCommand() override;
  void OpenUrlInBrowser(const std::string& address, const std::string& browser) override;
  std::string FindMailCommand() override;

 private:
  BaseDialog& dialog_;
};

// The code page of a language's interface texts: 1251 for Russian, 1252 for the others.
int InterfaceCodePage(int language);
// "<product> <full version> - <release month in the language> <release year>", in the
// language's code page.
std::string AboutVersionLine(int language);

// The modal about box: product, version and release month in the interface language, and
// links to the home page, the on-line documentation and the contact mailbox.
class AboutDialog : public DialogEventHandler {
 public:
  // mainDialog and links are borrowed; parent may be null.
  AboutDialog(BaseDialog& mainDialog, AboutLinkServices& links, DialogWindow* parent);
  ~AboutDialog() override;
  // Owns a window that points back at it: never copied.
  AboutDialog(const AboutDialog&) = delete;
  AboutDialog& operator=(const AboutDialog&) = delete;

  // Makes the window, fills it and runs modally; the result.
  int RunModal();
  // Keeps the language and, when the window exists, puts the dialog texts of template 100 on
  // it.
  void SetLanguage(int code);
  int GetLanguage() const { return language_; }

  // The links: the home page with the query "?home" in the browser when one is found; the
  // user guide that ships with the program (BaseDialog::UserGuidePath) when it exists, else
  // the documentation address with the query "?doco", the same way; the contact mailbox when
  // a mail program is registered, else a message box says it is not.
  void OpenHomePage();
  void OpenDocumentation();
  void OpenMail();

  DialogWindow* GetWindow() { return window_.get(); }
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void OnInitDialog();
  void OpenInBrowser(const std::string& address);

  BaseDialog& main_;
  AboutLinkServices& links_;
  DialogWindow* parent_;
  std::unique_ptr<DialogWindow> window_;
  int language_ = 0;
};
