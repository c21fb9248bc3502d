#pragma once

#include <memory>
#include <string>

#include "app/BaseDialog.h"

class DialogWindow;

// The main dialog: the fields the user fills (input, output, options) over the dialog base.
// Its window is made when it runs.
class OxvDialog : public BaseDialog {
 public:
  // Builds the Context, then reads the program settings.
  OxvDialog(DesktopPlatform& platform, StatusDialog& status);
  ~OxvDialog() override;

  std::string GetOutputFile() const override { return outputFile_; }
  void SetOutputFile(const std::string& name) override;
  std::string GetInputFile() const override { return inputFile_; }
  void SetInputFile(const std::string& text) override;
  std::string GetInputDir() const override { return inputDir_; }
  void SetInputDir(const std::string& folder) override { inputDir_ = folder; }
  std::string GetOutputDir() const override;
  void SetOutputDir(const std::string& folder) override { outputDir_ = folder; }
  int GetIncludeSubfolders() const override { return includeSubfolders_; }
  int GetConversionType() const override { return conversionType_; }
  int GetOutputType() const override { return outputType_; }
  bool IsDefaultOutputType() const override { return outputType_ == 0; }
  bool MayOverwrite() const override;
  void ApplyToContext() override;
  void ApplyToPolicies(FileControl& set) override;
  void TakeFromPolicies(FileControl& set) override;
  void LoadFromPolicies(FileControl& set, FileControl& defaults) override;
  void NoteOption(const CommandSettings& options) override;
  void PushInputFile(const std::string& name) override;
  void PushPolicyFile(const std::string& name) override;
  void TakeFromControls() override;
  void PutToControls() override;
  int RunModal() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

  // Input type, delimiter and conversion type into the set and UserPolicies: the table input
  // types take their "Input file type" and delimiter, conversion type 1 makes the Windows
  // Help source and 3 concatenates the results.
  void ApplyInputType(FileControl& set);
  // Empties the policy file, its policies and the sheet changes; says "Done" when a policy
  // file had been named.
  void ResetPolicies();
  // Switches the whole interface to a language (tables, the dialog's texts, lists and title,
  // the status window's texts). With the window open, the language in force does nothing.
  void SetLanguage(int language);
  // The "\PreviousSettings" values into the fields (six values, or only SearchFolders for a
  // start with arguments), and back.
  void ReadPreviousSettings();
  void WritePreviousSettings();
  // The title from the input field, and the enabled and shown states that follow the fields.
  void RefreshTitle();
  void RefreshDependentControls();
  // Output type n; the output file name is derived again from the input's name.
  void SetOutputType(int type);
  // With the window open: the tooltips of the dialog registered with their texts (on) or
  // removed (off); then each sheet made so far does the same for its pages.
  void EnableTooltips(int on);
  // The analysis sheet, when it exists, loads the calculated policies of the last run with
  // the policy file's and the pending sheet changes over them.
  void RefreshAnalysisSheet();
  // The program-settings sheet on the page of the code, over SheetChanges.
  void ShowProgramSettings(int page) override;

  int GetInputType() const { return inputType_; }
  void SetInputType(int type) { inputType_ = type; }
  const std::string& GetDelimiter() const { return delimiter_; }
  void SetDelimiter(const std::string& text) { delimiter_ = text; }
  int GetMayOverwriteFlag() const { return mayOverwrite_; }
  void SetConversionType(int type) { conversionType_ = type; }
  void SetMayOverwrite(int on) { mayOverwrite_ = on; }
  void SetOutputToSource(int on) { outputToSource_ = on; }
  DialogWindow* GetWindow() { return window_.get(); }

 private:
  // The steps that make the new window ready, before it is first shown.
  void OnInitDialog();
  // The first time the window shows: the policy file is loaded and the conversion type
  // follows it.
  void OnFirstShow();
  // Check marks of the Settings menu from the settings, and of the Language menu for a
  // language (whose name the settings keep).
  void CheckSettingsItems();
  void CheckLanguageItem(int language);

  std::unique_ptr<DialogWindow> window_;
  std::string outputDir_;
  std::string outputFile_;
  int outputType_ = 0;
  std::string inputFile_;
  int simpleConversion_ = 0;
  int conversionType_ = 0;
  std::string inputDir_;
  int includeSubfolders_ = 0;
  int replicateTree_ = 0;
  int outputToSource_ = 1;
  int mayOverwrite_ = 0;
  std::string delimiter_;
  int inputType_ = 0;
  int outputFileFromPrevious_ = 0;
  int outputDirFromPrevious_ = 0;
  bool shownOnce_ = false;

  // ---- File fields, drop, Convert and View (OxvDialogFiles.cpp) ----
 public:
  // The handlers of the input, output and option controls, Browse, Reset, Convert and View;
  // false when the event is none of theirs.
  bool OnFileFieldEvent(int controlId, DialogEvent event);
  // Files dropped on the dialog become the input and are converted at once.
  void OnFilesDropped(const std::vector<std::string>& paths) override;
  // The multi-select input-file chooser; false when cancelled (nothing changes).
  bool ChooseInputFiles();
  // Convert: the input (chosen first when empty) is checked and converted. The conversion
  // run's result; 0 when nothing was converted.
  int Convert();
  // View: the last result in the RTF viewer (converting first when nothing was converted).
  void ViewResults();
  int IsOutputDirChosen() const { return outputDirChosen_; }

  // ---- Menu commands and the policy-file controls (OxvDialogCommands.cpp) ----
  // Carries out a menu command (or a command without a menu entry); false for an id that
  // is no command of the dialog.
  bool OnMenuCommand(int commandId);
  // Exit and closing the window: with sheet changes pending, the question whether to save
  // them (No by default; Yes opens the save dialog). The recent lists and the previous
  // settings are written when the window has closed.
  void PrepareToClose();
  // The step after a language is chosen from the menu ("Other..." and every built-in
  // language but English): the translations dialog.
  void OnLanguageOther();
  // "Load...": the language-file dialog.
  void OnLanguageLoad();
  int IsDelimiterTyped() const { return delimiterTyped_; }

 private:
  // Takes the input text as one file or a list: the input and output folders follow it
  // (the output folder unless the user chose one) and the output file name is derived.
  void TakeNewInput(const std::string& inputText, const std::string& inputFolder,
                    const std::string& outputFolder);
  void PushOutputDir();
  void MarkInputChanged();
  // The handlers of the policy-file field (1505) and its "..." button (1506); false when
  // the event is none of theirs.
  bool OnPolicyFieldEvent(int controlId, DialogEvent event);
  void BrowsePolicyFile();
  void ChoosePolicyEntry();
  // Loads the field's policy file: on success the name goes to the top of the recent list;
  // on failure the field takes fallback.
  void LoadFieldPolicyFile(const std::string& fallback);
  void ToggleSetting(int commandId, int& setting);
  void OpenLocalDocumentation();
  // A page of the maker's site in the browser; mustHaveBrowser stops without a browser.
  void OpenSiteAddress(const std::string& address, bool mustHaveBrowser);
  int applyingPolicySelection_ = 0;

  int simpleConversionTouched_ = 0;
  int outputDirChosen_ = 0;
  int outputDirTyped_ = 0;
  int outputFileFixed_ = 0;
  int outputTypeTouched_ = 0;
  int delimiterTyped_ = 0;
};

// The language id of a stored language name: "English" 1 ... "Russian" 8, "Other" -1; any
// other name 1.
int LanguageIdFromName(const std::string& name);
// The main dialog's title for an input text: "<name> - <product>", for a list of names the
// first name and "... - <product>", the product alone without input.
std::string MainDialogTitle(const std::string& inputText, const std::string& product);
