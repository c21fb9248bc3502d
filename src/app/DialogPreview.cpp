#include "app/DialogPreview.h"

#include <string>

#include "app/AboutDialog.h"
#include "app/DialogTemplates.h"
#include "app/OxvDialog.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "lang/InterfaceTexts.h"
#include "app/BaseDialog.h"
#include "platform/DesktopPlatform.h"

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
    MainDialogLinks links(dialog);
    AboutDialog about(dialog, links, nullptr);
    (void)about.RunModal();
  }
  status.Destroy();
  return 0;
}
