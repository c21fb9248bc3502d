#include "app/DialogPreview.h"

#include <string>

#include "app/AboutDialog.h"
#include "app/DialogTemplates.h"
#include "app/OxvDialog.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "lang/InterfaceTexts.h"
#include "platform/DesktopPlatform.h"

namespace {

// The desktop's own openers: the stored or registered browser, the registered mail program.
class DesktopLinks : public AboutLinkServices {
 public:
  DesktopLinks(DesktopPlatform& platform, const ProgramSettings& settings)
      : platform_(platform), settings_(settings) {}
  std::string GetBrowserCommand() override {
    if (!settings_.browserCommand.empty())
      return settings_.browserCommand;
    return platform_.FindAssociation(".html");
  }
  void OpenUrlInBrowser(const std::string& address, const std::string& /*browser*/) override {
    (void)platform_.ShellOpen(address);
  }
  std::string FindMailCommand() override { return platform_.FindAssociation("mailto"); }

 private:
  DesktopPlatform& platform_;
  const ProgramSettings& settings_;
};

}  // namespace

int ShowDialogAlone(DesktopPlatform& platform, int templateId) {
  if (templateId != kDialogTips && templateId != kDialogAbout)
    return 2;
  StatusDialog& status = GlobalStatusWindow();
  OxvDialog dialog(platform, status);
  status.Create(platform, &dialog);
  dialog.SetLanguage(kLanguageEnglish);
  const int stored = LanguageIdFromName(dialog.Settings().language);
  if (stored != kLanguageOther)
    dialog.SetLanguage(stored);
  // The main dialog keeps the language in force once its window is open; here it never opens.
  static_cast<BaseDialog&>(dialog).SetLanguage(DialogTexts().GetLanguage());
  if (templateId == kDialogTips) {
    TipsDialog tips(dialog, nullptr);
    (void)tips.RunModal();
  } else {
    DesktopLinks links(platform, dialog.Settings());
    AboutDialog about(dialog, links, nullptr);
    (void)about.RunModal();
  }
  status.Destroy();
  return 0;
}
