#include "app/DialogPreview.h"

#include <string>

#include "app/AboutDialog.h"
#include "app/BaseDialog.h"
#include "app/DialogOnItsOwn.h"
#include "app/DialogTemplates.h"
#include "app/LanguageDialogs.h"
#include "app/MainDialogSheets.h"
#include "app/OxvDialog.h"
#include "app/PolicyFileDialogs.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/HeadingDialogs.h"
#include "pages/HeadingPage.h"
#include "pages/OptionPage.h"
#include "pages/OptionSheets.h"
#include "platform/DesktopPlatform.h"
#include "platform/PropertySheetWindow.h"
#include "policy/HeadDetails.h"

bool CanShowDialogAlone(int templateId) {
  return templateId == kDialogTips || templateId == kDialogAbout ||
         templateId == kDialogTranslations || templateId == kDialogLanguageFiles ||
         templateId == kDialogSelectLanguage;
}

// The main dialog's state in the stored language, as the program takes it at start; its
// window does not open.
static void TakeStoredLanguage(OxvDialog& dialog) {
  dialog.SetLanguage(kLanguageEnglish);
  const int stored = LanguageIdFromName(dialog.Settings().language);
  if (stored != kLanguageOther)
    dialog.SetLanguage(stored);
}

// One of the dialogs ShowDialogAlone runs, over the main dialog's state.
static void RunAloneOver(OxvDialog& dialog, int templateId) {
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
}

int ShowDialogAlone(DesktopPlatform& platform, int templateId) {
  if (!CanShowDialogAlone(templateId))
    return 2;
  StatusDialog& status = GlobalStatusWindow();
  OxvDialog dialog(platform, status);
  status.Create(platform, &dialog);
  TakeStoredLanguage(dialog);
  // The main dialog keeps the language in force once its window is open; here it never opens.
  static_cast<BaseDialog&>(dialog).SetLanguage(DialogTexts().GetLanguage());
  RunAloneOver(dialog, templateId);
  status.Destroy();
  return 0;
}

// Each option sheet opened on its first page and cancelled; over the analysis sheet the
// heading-levels dialog its headings page opens, and the heading-details dialog.
static void ShowEverySheet(OxvDialog& dialog) {
  MainDialogSheets& sheets = dialog.Sheets();
  ShowAnalysisPolicies(dialog, 0);
  if (BaseSheet* analysis = sheets.GetAnalysisSheet()) {
    if (OptionPage* headings = analysis->FindPage("HeadingPage"))
      (void)headings->OnDialogEvent(kHeadingAdvanced, DialogEvent::Click);
    HeadDetails details;
    HeadDtlsDialog detailsDialog(details, *analysis);
    (void)detailsDialog.DoModal(nullptr);
    (void)analysis->OnDialogEvent(kSheetCancel, DialogEvent::Click);
  }
  ShowOutputPolicies(dialog, 0);
  if (BaseSheet* output = sheets.GetOutputSheet())
    (void)output->OnDialogEvent(kSheetCancel, DialogEvent::Click);
  ShowConfigurationFiles(dialog, 0);
  if (BaseSheet* config = sheets.GetConfigSheet())
    (void)config->OnDialogEvent(kSheetCancel, DialogEvent::Click);
  ShowSettingsSheet(dialog, 0);
  if (BaseSheet* settings = sheets.GetSettingsSheet())
    (void)settings->OnDialogEvent(kSheetCancel, DialogEvent::Click);
}

int ShowEveryDialog(DesktopPlatform& platform, const std::vector<std::string>& args) {
  StatusDialog& status = GlobalStatusWindow();
  OxvDialog dialog(platform, status);
  status.Create(platform, &dialog);
  TakeStoredLanguage(dialog);
  status.SetLanguage(dialog.GetLanguage());
  // First, as at a start: its window takes the stored language, which the other windows keep.
  (void)dialog.RunModal();
  constexpr int kAlone[] = {kDialogTips, kDialogAbout, kDialogTranslations, kDialogLanguageFiles,
                            kDialogSelectLanguage};
  for (const int id : kAlone)
    RunAloneOver(dialog, id);
  {
    OxvOptions policyFile(dialog);
    (void)policyFile.RunModal();
    SavePolicyFile savePolicies(dialog);
    (void)savePolicies.RunModal();
  }
  ShowEverySheet(dialog);
  (void)ShowLinkDictEditOnItsOwn(platform, args.size() > 1 ? args[1] : std::string());
  // Last, so that the status window holds the conversion's messages as it goes.
  if (!args.empty()) {
    dialog.SetInputFile(args.front());
    status.ClearStatus();
    status.Show();
    dialog.PushInputFile(args.front());
    (void)dialog.RunConversion();
  }
  status.Destroy();
  return 0;
}
