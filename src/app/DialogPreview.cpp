#include "app/DialogPreview.h"

#include <string>

#include "app/AboutDialog.h"
#include "app/DialogTemplates.h"
#include "app/LanguageDialogs.h"
#include "app/OxvDialog.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "lang/InterfaceTexts.h"
#include "app/BaseDialog.h"
#include "platform/DesktopPlatform.h"

bool CanShowDialogAlone(int templateId) {
  return templateId == kDialogTips || templateId == kDialogAbout ||
         templateId == kDialogTranslations || templateId == kDialogLanguageFiles ||
         templateId == kDialogSelectLanguage;
}

int ShowDialogAlone(DesktopPlatform& platform, int templateId) {
  if (!CanShowDialogAlone(templateId))
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
  } else if (templateId == kDialogTranslations) {
    (void)RunTranslationsDialog(dialog);
  } else if (templateId == kDialogLanguageFiles) {
    (void)RunLanguageFilesDialog(dialog);
  } else if (templateId == kDialogSelectLanguage) {
    (void)ChooseInterfaceLanguage(dialog);
  } else {
    MainDialogLinks links(dialog);
    AboutDialog about(dialog, links, nullptr);
    (void)about.RunModal();
  }
  status.Destroy();
  return 0;
}
