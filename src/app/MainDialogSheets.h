#pragma once

#include <array>
#include <memory>
#include <string>

#include "pages/PageServices.h"
#include "pages/SheetHost.h"

class BaseDialog;
class BaseSheet;
class FileControl;
class OxvDialog;
class Sheet;
class SheetAnalysis;
class SheetConfig;
class SheetSettings;

// The main dialog's four option sheets: at most one of each, made on first use and kept
// while the dialog lives. It is the sheets' way to the main dialog.
class MainDialogSheets : public SheetHost, public PageServices {
 public:
  explicit MainDialogSheets(BaseDialog& dialog);
  ~MainDialogSheets() override;
  // The sheets point back at it.
  MainDialogSheets(const MainDialogSheets&) = delete;
  MainDialogSheets& operator=(const MainDialogSheets&) = delete;

  // ---- SheetHost ----
  DesktopPlatform& GetPlatform() override;
  // Null: the sheets are windows of their own, as the main dialog's window may go before
  // they do.
  DialogWindow* GetHostWindow() override { return nullptr; }
  int GetInterfaceLanguage() const override;
  int AreToolTipsShown() const override;
  void GetSheetPosition(int sheetId, int& left, int& top) const override;
  void SetSheetPosition(int sheetId, int left, int top) override;
  void OnPolicyChanged(const CorePolicy& policy) override;
  int NotePolicyChange(int kind) override;
  // A saved change becomes the sheet-changes-pending mark; a sheet saved without changes
  // leaves a mark another sheet set.
  void SetOptionsChanged(int changed) override;
  PageServices* GetPageServices() override { return this; }

  // ---- PageServices (MainDialogPageServices.cpp) ----
  int GetSettingFlag(SettingFlag flag) const override;
  void SetSettingFlag(SettingFlag flag, int value) override;
  std::string GetSettingText(SettingText text) const override;
  void SetSettingText(SettingText text, const std::string& value) override;
  std::string GetLocalHelpPath() const override;
  std::string FindBrowserCommand() override;
  std::string FindRtfViewerCommand() override;
  std::string GetPolicyFileName() const override;
  void SetPolicyFileName(const std::string& name) override;
  int LoadPolicyFile(int report) override;
  void CheckMenuCommand(int commandId, bool checked) override;
  std::string GetInputDir() const override;
  std::span<std::string> RecentNames(ConfigFile file) override;
  void SetCurrentName(ConfigFile file, const std::string& name) override;
  std::string GetCurrentName(ConfigFile file) const override;

  // ---- The openers: the sheet made with the caption on first use (later captions are
  // ignored), told the set it saves into, loaded from the set to load (after the dialog's
  // input type went into it), shown, and turned to the page of the code ----
  Sheet& OpenOutputSheet(OxvDialog& dialog, const std::string& caption, FileControl& load,
                         FileControl& save, int pageCode);
  SheetAnalysis& OpenAnalysisSheet(OxvDialog& dialog, const std::string& caption,
                                   FileControl& load, FileControl& save, int pageCode);
  SheetConfig& OpenConfigSheet(OxvDialog& dialog, const std::string& caption, FileControl& load,
                               FileControl& save, int pageCode);
  SheetSettings& OpenSettingsSheet(OxvDialog& dialog, const std::string& caption,
                                   FileControl& load, FileControl& save, int pageCode);

  // Null until the sheet was opened once.
  Sheet* GetOutputSheet() { return output_.get(); }
  SheetAnalysis* GetAnalysisSheet() { return analysis_.get(); }
  SheetConfig* GetConfigSheet() { return config_.get(); }
  SheetSettings* GetSettingsSheet() { return settings_.get(); }

  // Fan-outs to every sheet made so far.
  void SetLanguage(int language);
  void EnableTooltips(int on);
  void LoadPolicies(FileControl& policies);
  void ResetChangeFlags();
  // When the analysis sheet exists: it loads the calculated policies of the last run with
  // the policy file's and the pending sheet changes over them.
  void RefreshAnalysisSheet();

 private:
  void Open(OxvDialog& dialog, BaseSheet& sheet, FileControl& load, FileControl& save,
            int pageCode);
  template <class Fn>
  void ForEachSheet(Fn fn);

  BaseDialog& dialog_;
  std::unique_ptr<Sheet> output_;
  std::unique_ptr<SheetAnalysis> analysis_;
  std::unique_ptr<SheetConfig> config_;
  std::unique_ptr<SheetSettings> settings_;
  // The current name of each configuration file, by ConfigFile.
  std::array<std::string, 4> currentNames_;
};

// The sheet openers of the main dialog's commands, one per sheet: each prepares the policy
// sets as its sheet needs them and opens the sheet on the page of the code.
// SheetChanges is rebuilt from AnalysisPassPolicies and PolicyFilePolicies unless changes
// are pending; the sheet loads and saves SheetChanges.
// caption: the sheet's caption when it is made (the language text replaces it on screen).
void ShowAnalysisPolicies(OxvDialog& dialog, int pageCode,
                          const std::string& caption = "Analysis Policies");
void ShowOutputPolicies(OxvDialog& dialog, int pageCode,
                        const std::string& caption = "Output Policies");
void ShowConfigurationFiles(OxvDialog& dialog, int pageCode,
                            const std::string& caption = "Configuartion files");
// DisplayPolicies is rebuilt (calculated, policy-file and sheet layers) and loaded; the
// sheet saves into SheetChanges.
void ShowSettingsSheet(OxvDialog& dialog, int pageCode,
                       const std::string& caption = "Program Settings");
// The program settings on SheetChanges, without the preparation.
void ShowProgramSettings(OxvDialog& dialog, int pageCode);

// Opens one sheet without the main dialog's window (opened, cancelled and opened again) and
// lists its tab captions, one a line, on standard output: the entry point through which the
// desktop tests see a real sheet.
// which is "analysis", "output", "config" or "settings", optionally followed by ":" and a
// page code. 0 when the sheet was shown, 2 for an unknown name.
int PreviewSheet(OxvDialog& dialog, const std::string& which);
