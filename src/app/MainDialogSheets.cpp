#include "app/MainDialogSheets.h"

#include <cstdio>
#include <cstdlib>

#include "app/BaseDialog.h"
#include "app/OxvDialog.h"
#include "engine/Context.h"
#include "pages/ColourNames.h"
#include "pages/OptionSheets.h"
#include "pages/OutputPages.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"

MainDialogSheets::MainDialogSheets(BaseDialog& dialog) : dialog_(dialog) {}

MainDialogSheets::~MainDialogSheets() = default;

DesktopPlatform& MainDialogSheets::GetPlatform() { return dialog_.GetPlatform(); }

int MainDialogSheets::GetInterfaceLanguage() const { return dialog_.GetLanguage(); }

int MainDialogSheets::AreToolTipsShown() const { return dialog_.Settings().displayToolTips; }

// The saved position of a sheet in the program settings (const or not); null for another id.
template <class Settings>
static auto SheetPosition(Settings& settings, int sheetId) -> decltype(&settings.analysisSheet) {
  switch (sheetId) {
    case kSheetAnalysisId: return &settings.analysisSheet;
    case kSheetOutputId: return &settings.outputSheet;
    case kSheetConfigId: return &settings.configSheet;
    case kSheetSettingsId: return &settings.settingsSheet;
    default: return nullptr;
  }
}

void MainDialogSheets::GetSheetPosition(int sheetId, int& left, int& top) const {
  const WindowPosition* position = SheetPosition(dialog_.Settings(), sheetId);
  left = position != nullptr ? position->left : -1;
  top = position != nullptr ? position->top : -1;
}

void MainDialogSheets::SetSheetPosition(int sheetId, int left, int top) {
  if (WindowPosition* position = SheetPosition(dialog_.Settings(), sheetId))
    *position = {left, top};
}

void MainDialogSheets::OnPolicyChanged(const CorePolicy& policy) { dialog_.OnPolicyChanged(policy); }

int MainDialogSheets::NotePolicyChange(int kind) { return dialog_.NotePolicyChange(kind); }

void MainDialogSheets::SetOptionsChanged(int changed) {
  if (changed)
    dialog_.SetSheetChangesPending(1);
}

template <class Fn>
void MainDialogSheets::ForEachSheet(Fn fn) {
  if (output_ != nullptr)
    fn(static_cast<BaseSheet&>(*output_));
  if (analysis_ != nullptr)
    fn(static_cast<BaseSheet&>(*analysis_));
  if (config_ != nullptr)
    fn(static_cast<BaseSheet&>(*config_));
  if (settings_ != nullptr)
    fn(static_cast<BaseSheet&>(*settings_));
}

void MainDialogSheets::SetLanguage(int language) {
  ForEachSheet([language](BaseSheet& sheet) { sheet.SetLanguage(language); });
}

void MainDialogSheets::EnableTooltips(int on) {
  ForEachSheet([on](BaseSheet& sheet) { sheet.EnableTooltips(on); });
}

void MainDialogSheets::LoadPolicies(FileControl& policies) {
  ForEachSheet([&policies](BaseSheet& sheet) { sheet.LoadPolicies(policies); });
}

void MainDialogSheets::ResetChangeFlags() {
  ForEachSheet([](BaseSheet& sheet) { sheet.ResetChangeFlags(); });
}

void MainDialogSheets::RefreshAnalysisSheet() {
  if (analysis_ == nullptr)
    return;
  auto shown = std::make_unique<FileControl>();
  shown->CopyPolicies(dialog_.AnalysisPassPolicies());
  if (dialog_.IsPolicyFileLoaded())
    shown->MergePolicies(dialog_.PolicyFilePolicies(), 1);
  if (dialog_.AreSheetChangesPending())
    shown->MergePolicies(dialog_.SheetChanges(), 1);
  analysis_->LoadPolicies(*shown);
}

void MainDialogSheets::Open(OxvDialog& dialog, BaseSheet& sheet, FileControl& load,
                            FileControl& save, int pageCode) {
  sheet.SetTarget(&save);
  dialog.ApplyInputType(load);
  sheet.LoadPolicies(load);
  sheet.Open();
  sheet.ShowPage(pageCode);
}

Sheet& MainDialogSheets::OpenOutputSheet(OxvDialog& dialog, const std::string& caption,
                                         FileControl& load, FileControl& save, int pageCode) {
  dialog.TakeFromControls();
  if (output_ == nullptr)
    output_ = std::make_unique<Sheet>(*this, caption);
  Open(dialog, *output_, load, save, pageCode);
  return *output_;
}

SheetAnalysis& MainDialogSheets::OpenAnalysisSheet(OxvDialog& dialog, const std::string& caption,
                                                   FileControl& load, FileControl& save,
                                                   int pageCode) {
  dialog.TakeFromControls();
  if (analysis_ == nullptr)
    analysis_ = std::make_unique<SheetAnalysis>(*this, caption);
  Open(dialog, *analysis_, load, save, pageCode);
  return *analysis_;
}

SheetConfig& MainDialogSheets::OpenConfigSheet(OxvDialog& dialog, const std::string& caption,
                                               FileControl& load, FileControl& save,
                                               int pageCode) {
  dialog.TakeFromControls();
  if (config_ == nullptr)
    config_ = std::make_unique<SheetConfig>(*this, caption);
  Open(dialog, *config_, load, save, pageCode);
  return *config_;
}

SheetSettings& MainDialogSheets::OpenSettingsSheet(OxvDialog& dialog, const std::string& caption,
                                                   FileControl& load, FileControl& save,
                                                   int pageCode) {
  dialog.TakeFromControls();
  if (settings_ == nullptr)
    settings_ = std::make_unique<SheetSettings>(*this, caption);
  Open(dialog, *settings_, load, save, pageCode);
  return *settings_;
}

// ---- The openers of the commands ----

// SheetChanges as the policy sheets start from: kept while changes are pending, else the
// calculated policies of the last run with the policy file's over them.
static void PrepareSheetChanges(BaseDialog& dialog) {
  if (dialog.AreSheetChangesPending())
    return;
  FileControl& changes = dialog.SheetChanges();
  changes.ResetPolicies(0);
  if (dialog.IsConvertedOnce())
    changes.CopyPolicies(dialog.AnalysisPassPolicies());
  if (dialog.IsPolicyFileLoaded())
    changes.MergePolicies(dialog.PolicyFilePolicies(), 1);
}

// DisplayPolicies as the program-settings sheet shows them: every layer in force.
static void PrepareDisplayPolicies(BaseDialog& dialog) {
  FileControl& display = dialog.DisplayPolicies();
  display.ResetPolicies(0);
  display.AttachContext(dialog.GetContext());
  if (dialog.IsConvertedOnce())
    display.CopyPolicies(dialog.AnalysisPassPolicies());
  if (dialog.IsPolicyFileLoaded())
    display.MergePolicies(dialog.PolicyFilePolicies(), 1);
  display.MergePolicies(dialog.SheetChanges(), 1);
}

void ShowAnalysisPolicies(OxvDialog& dialog, int pageCode, const std::string& caption) {
  PrepareSheetChanges(dialog);
  dialog.Sheets().OpenAnalysisSheet(dialog, caption, dialog.SheetChanges(),
                                    dialog.SheetChanges(), pageCode);
}

void ShowOutputPolicies(OxvDialog& dialog, int pageCode, const std::string& caption) {
  PrepareSheetChanges(dialog);
  dialog.Sheets().OpenOutputSheet(dialog, caption, dialog.SheetChanges(),
                                  dialog.SheetChanges(), pageCode);
}

void ShowConfigurationFiles(OxvDialog& dialog, int pageCode, const std::string& caption) {
  PrepareSheetChanges(dialog);
  dialog.Sheets().OpenConfigSheet(dialog, caption, dialog.SheetChanges(),
                                  dialog.SheetChanges(), pageCode);
}

void ShowSettingsSheet(OxvDialog& dialog, int pageCode, const std::string& caption) {
  PrepareDisplayPolicies(dialog);
  dialog.Sheets().OpenSettingsSheet(dialog, caption, dialog.DisplayPolicies(),
                                    dialog.SheetChanges(), pageCode);
}

void ShowProgramSettings(OxvDialog& dialog, int pageCode) {
  dialog.Sheets().OpenSettingsSheet(dialog, "Program Settings", dialog.SheetChanges(),
                                    dialog.SheetChanges(), pageCode);
}

// Opens the sheet of a preview name; false for an unknown name.
static bool OpenByName(OxvDialog& dialog, const std::string& name, int pageCode) {
  if (name == "analysis")
    ShowAnalysisPolicies(dialog, pageCode);
  else if (name == "output")
    ShowOutputPolicies(dialog, pageCode);
  else if (name == "config")
    ShowConfigurationFiles(dialog, pageCode);
  else if (name == "settings")
    ShowSettingsSheet(dialog, pageCode);
  else
    return false;
  return true;
}

int PreviewSheet(OxvDialog& dialog, const std::string& which) {
  const std::size_t colon = which.find(':');
  const std::string name = which.substr(0, colon);
  const int pageCode = colon == std::string::npos ? 0 : std::atoi(which.c_str() + colon + 1);
  // Opened, cancelled and opened again, as a user does: the second window is a new one.
  if (!OpenByName(dialog, name, pageCode))
    return 2;
  MainDialogSheets& sheets = dialog.Sheets();
  BaseSheet* sheet = nullptr;
  if (name == "analysis")
    sheet = sheets.GetAnalysisSheet();
  else if (name == "output")
    sheet = sheets.GetOutputSheet();
  else if (name == "config")
    sheet = sheets.GetConfigSheet();
  else
    sheet = sheets.GetSettingsSheet();
  (void)sheet->OnDialogEvent(kSheetCancel, DialogEvent::Click);
  (void)OpenByName(dialog, name, pageCode);
  PropertySheetWindow* window = sheet->GetWindow();
  std::printf("sheet: %s\n", window->GetTitle().c_str());
  for (int i = 0; i < window->GetPageCount(); ++i)
    std::printf("tab: %s\n", window->GetPageCaption(i).c_str());
  std::printf("active: %d\n", window->GetActivePage());
  std::fflush(stdout);
  // The choosers the output pages open, shown over the sheet when the tests ask for them.
  const char* chooser = std::getenv("KELVANE_PREVIEW_CHOOSER");
  const std::string chosen = chooser != nullptr ? chooser : "";
  if (chosen == "font") {
    if (auto* fonts = dynamic_cast<FontPage*>(sheet->FindPage("FontPage")))
      fonts->PickFont(FontPage::kBody);
  } else if (chosen == "colour") {
    TextString colour;
    (void)ChooseColour(dialog.GetPlatform(), "Silver", colour);
  }
  return 0;
}
