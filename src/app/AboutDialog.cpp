#include "app/AboutDialog.h"

#include "app/BaseDialog.h"
#include "app/DialogTemplates.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "text/CodePageText.h"
#include "text/ProductIdentity.h"
#include "text/TextString.h"

// Dialog text of the caption; "Qvarnel" in it stands for the product name.
static constexpr int kAboutCaptionText = 3;
static constexpr std::string_view kProductPlaceholder = "Qvarnel";

int InterfaceCodePage(int language) { return language == kLanguageRussian ? 1251 : 1252; }

std::string AboutVersionLine(int language) {
  TextString name, shortVersion, fullVersion, month;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  int monthNumber = 0, year = 0;
  GetReleaseDate(monthNumber, year);
  GetMonthName(language, monthNumber, month);
  std::string line = name.GetText();
  line += ' ';
  line += fullVersion.GetText();
  line += " - ";
  line += month.GetText();
  line += ' ';
  line += std::to_string(year);
  return line;
}

static std::string HomePageAddress() {
  TextString address;
  GetProductHomePage(address);
  return address.GetText();
}

static std::string DocumentationAddress() {
  TextString base, page;
  GetDocumentationAddress(base, page);
  return std::string(base.GetText()) + page.GetText();
}

AboutDialog::AboutDialog(BaseDialog& mainDialog, AboutLinkServices& links, DialogWindow* parent)
    : main_(mainDialog), links_(links), parent_(parent) {}

AboutDialog::~AboutDialog() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int AboutDialog::RunModal() {
  window_ = main_.GetPlatform().CreateDialog(*FindDialogTemplate(kDialogAbout), parent_);
  window_->SetEventHandler(this);
  OnInitDialog();
  const int result = window_->RunModal();
  window_.reset();
  return result;
}

std::string MainDialogLinks::GetBrowserCommand() {
  std::string command;
  (void)dialog_.GetBrowserCommand(command);
  return command;
}

void MainDialogLinks::OpenUrlInBrowser(const std::string& address, const std::string& browser) {
  dialog_.OpenUrlInBrowser(address, browser, true);
}

std::string MainDialogLinks::FindMailCommand() {
  std::string command;
  (void)dialog_.FindMailCommand(command);
  return command;
}

void AboutDialog::SetLanguage(int code) {
  language_ = code;
  ApplyDialogTexts(window_.get(), kDialogAbout);
}

void AboutDialog::OnInitDialog() {
  // A new window holds the template's texts: the dialog texts go on it in any language.
  SetLanguage(main_.GetLanguage());
  std::string caption = GetDialogText(kAboutCaptionText);
  TextString name, shortVersion, fullVersion;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  const std::size_t at = caption.find(kProductPlaceholder);
  if (at != std::string::npos)
    caption.replace(at, kProductPlaceholder.size(), name.GetText());
  window_->SetTitle(caption);
  window_->SetText(kAboutHomeLink, HomePageAddress());
  window_->SetText(kAboutDocLink, DocumentationAddress());
  // The month may fall outside ASCII (Russian): the window shows UTF-8.
  window_->SetText(kAboutVersion,
                   CodePageToUtf8(AboutVersionLine(language_), InterfaceCodePage(language_)));
}

void AboutDialog::OpenInBrowser(const std::string& address) {
  const std::string browser = links_.GetBrowserCommand();
  if (browser.empty())
    return;
  links_.OpenUrlInBrowser(address, browser);
}

void AboutDialog::OpenHomePage() { OpenInBrowser(HomePageAddress() + "?home"); }

void AboutDialog::OpenDocumentation() {
  // The guide that ships with the program, when it is there, else the one on the web site.
  const std::string guide = main_.UserGuidePath();
  if (!guide.empty() && main_.GetPlatform().FileExists(guide)) {
    OpenInBrowser(main_.MakeFileUrl(guide));
    return;
  }
  OpenInBrowser(DocumentationAddress() + "?doco");
}

void AboutDialog::OpenMail() {
  DesktopPlatform& platform = main_.GetPlatform();
  if (links_.FindMailCommand().empty()) {
    ShowMessageText(platform, kMsgEmailNotFound, kMsgCaptionEmail);
    return;
  }
  const std::string address = std::string("mailto:") + kContactMailbox + "?subject=" + kMailSubject;
  (void)platform.ShellOpen(address);
}

bool AboutDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::CloseRequest || event == DialogEvent::Cancel ||
      event == DialogEvent::Ok) {
    window_->EndModal(event == DialogEvent::Ok ? kAboutOk : 2);
    return true;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kAboutOk:
      window_->EndModal(kAboutOk);
      break;
    case kAboutHomeLink:
      OpenHomePage();
      break;
    case kAboutDocLink:
      OpenDocumentation();
      break;
    case kAboutMailLink:
      OpenMail();
      break;
    default:
      break;
  }
  return true;
}
