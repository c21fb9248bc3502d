#pragma once

#include <memory>
#include <string>

#include "app/ProgramSettings.h"
#include "platform/DialogWindow.h"
#include "text/TextString.h"

class Context;
class CorePolicy;
class DesktopPlatform;
class FileControl;
class MainDialogSheets;
class RTFFile;
class StatusDialog;
class StringList;
struct CommandSettings;

// Conversion types of the main dialog's conversion-type list.
enum ConversionType : int {
  kConversionToFile = 0,
  kConversionWithHelpSource = 1,
  kConversionToClipboard = 2,
  kConversionConcatenated = 3,
};

// The input text split into its folder and the file names or pattern: before the first double
// quote of a list, else up to the last separator.
void SplitInputText(const std::string& input, std::string& folder, std::string& spec);

// The base of the main dialog: the program settings, the engine's run-state object and the
// seven policy sets, and the conversion as the user interface runs it. The fields of the
// dialog (input, output, options) are reached through the virtual operations that the main
// dialog implements.
class BaseDialog : public DialogEventHandler {
 public:
  // status: the process's status window (borrowed).
  BaseDialog(DesktopPlatform& platform, StatusDialog& status);
  ~BaseDialog() override;
  // Owns the policy sets, the Context and a window: never copied.
  BaseDialog(const BaseDialog&) = delete;
  BaseDialog& operator=(const BaseDialog&) = delete;

  // ---- The dialog's fields (the main dialog implements them) ----
  virtual std::string GetOutputFile() const = 0;
  virtual void SetOutputFile(const std::string& name) = 0;
  virtual std::string GetInputFile() const = 0;
  virtual void SetInputFile(const std::string& text) = 0;
  virtual std::string GetInputDir() const = 0;
  virtual void SetInputDir(const std::string& folder) = 0;
  // The input folder when output goes beside the source, else the output folder.
  virtual std::string GetOutputDir() const = 0;
  virtual void SetOutputDir(const std::string& folder) = 0;
  virtual int GetIncludeSubfolders() const = 0;
  virtual int GetConversionType() const = 0;
  virtual int GetOutputType() const = 0;
  virtual bool IsDefaultOutputType() const = 0;
  virtual bool MayOverwrite() const = 0;
  // The dialog's choices into the Context and into a policy set.
  virtual void ApplyToContext() = 0;
  virtual void ApplyToPolicies(FileControl& set) = 0;
  // The dialog's output settings from a policy set; the dialog and its sheets from a set.
  virtual void TakeFromPolicies(FileControl& set) = 0;
  virtual void LoadFromPolicies(FileControl& set, FileControl& defaults) = 0;
  // May-overwrite from the run options of the Context.
  virtual void NoteOption(const CommandSettings& options) = 0;
  virtual void PushInputFile(const std::string& name) = 0;
  virtual void PushPolicyFile(const std::string& name) = 0;
  // Moves the controls' values into the fields, and back.
  virtual void TakeFromControls() {}
  virtual void PutToControls() {}
  // Runs the dialog modally; its result.
  virtual int RunModal() = 0;
  // 1: RTF.
  int GetOutputFormat() const;

  // ---- Program settings ----
  // Every setting to its default, then what the settings store holds.
  void LoadSettings();
  void SaveSettings();
  ProgramSettings& Settings() { return settings_; }
  const ProgramSettings& Settings() const { return settings_; }

  // ---- The conversion run ----
  // Converts the dialog's input. 1 unless a file failed.
  int RunConversion();
  // Every file of the input specification; failed is set when a file fails. 0 when no file
  // was found, else 1.
  int ConvertFileList(FileControl& runSet, const TextString& policyFileName, int& failed);
  // One file: inputPath its full path, fileName its name and extension. 1 on success.
  int ConvertOneFile(const TextString& inputPath, const TextString& fileName, StringList& lines,
                     RTFFile& writer);
  // The output name for an input name: its name with ".rtf"; "*" (result 0) for a list or
  // a pattern. Kept as the derived output name.
  int MakeOutputName(const std::string& inputName, std::string& outputName);
  // The dialog's settings into the set, and the status window as the Context's output.
  void HookStatusLog(FileControl& set);

  // ---- Policy files and the option sheets ----
  // 1 when the policy file was loaded; 0 for an empty name or a file that cannot be read.
  int LoadPolicyFile(int quiet);
  void ReloadPolicyFile();
  // An analysis-only run over inputName for the option sheets.
  void AnalyseInput(const std::string& inputName);
  // Marks the passes a change of the category makes necessary: 2 the analysis pass (result
  // 0), 4 the contents and output passes (result 1); 0 without a Context.
  int NotePolicyChange(int category);
  void OnPolicyChanged(const CorePolicy& policy);

  // ---- Viewers, browser and mail (Viewers.cpp) ----
  // The program registered for the first extension, else for the second (an empty second
  // means none): 1 with its path when it names an existing file, else 0 with command empty.
  // 0 at once, command untouched, while another lookup runs.
  int FindViewerCommand(std::string& command, const std::string& firstExtension,
                        const std::string& secondExtension);
  int FindRtfViewerCommand(std::string& command) {
    return FindViewerCommand(command, ".rtf", ".doc");
  }
  int FindPdfViewerCommand(std::string& command) {
    return FindViewerCommand(command, ".pdf", ".doc");
  }
  int FindTextViewerCommand(std::string& command) {
    return FindViewerCommand(command, ".txt", "");
  }
  int FindHelpCompilerCommand(std::string& command) {
    return FindViewerCommand(command, ".hpj", "");
  }
  // The RTF viewer found for the View command.
  std::string GetRtfViewerCommand();
  // The program registered for "mailto" links. When none is found the user is told and the
  // viewer page of the program settings opens; 1 with command empty. 0 only while another
  // mail lookup runs.
  int FindMailCommand(std::string& command);
  // The stored browser command, else the program registered for ".html" or ".htm", else what
  // the user sets on the viewer page that opens after the failure message. Always 1.
  int GetBrowserCommand(std::string& command);
  // The user guide's page in the running program's folder, else in the installed data folder
  // (share/kelvane beside the program's folder) when only that one exists; 0 when the
  // program's own file name cannot be had.
  int GetLocalHelpPath(std::string& path) const;
  // The user guide that the documentation commands open: the "\HTMLDoco" setting, else the
  // page GetLocalHelpPath finds; at most 254 characters. The file need not exist.
  std::string UserGuidePath() const;
  // A file name as the address given to the browser ("\AddURLPrefix" decides the form).
  std::string MakeFileUrl(const std::string& fileName) const;
  // Shows an address in the browser: by DDE when tryDde and "\UseDDEToViewHTML" allow, else
  // by starting the browser command (the stored or found one when browserCommand is empty).
  void OpenUrlInBrowser(const std::string& address, std::string browserCommand, bool tryDde);
  // Starts a viewer on a file; an empty viewer command is looked up (PDF: ".pdf"; RTF and
  // text: ".rtf").
  void OpenPdfFileInViewer(const std::string& fileName, const std::string& viewerCommand);
  void OpenRtfFileInViewer(const std::string& fileName, const std::string& viewerCommand);
  void OpenTextFileInViewer(const std::string& fileName, const std::string& viewerCommand);
  // Shows the message of a DDE error; nothing for kDdeNoError.
  void ReportDdeError(int error);
  // The folder chooser: 1 with the chosen folder, 0 when cancelled.
  int BrowseForFolder(const std::string& title, std::string& folder);
  // Opens the program-settings sheet on a page code (the main dialog has the sheets).
  virtual void ShowProgramSettings(int page) { (void)page; }

  // ---- State ----
  Context* GetContext() { return context_.get(); }
  const Context* GetContext() const { return context_.get(); }
  DesktopPlatform& GetPlatform() { return platform_; }
  StatusDialog& GetStatusWindow() { return status_; }
  int GetLanguage() const { return language_; }
  void SetLanguage(int code) { language_ = code; }
  const std::string& GetPolicyFileName() const { return policyFileName_; }
  void SetPolicyFileName(const std::string& name) { policyFileName_ = name; }
  const std::string& GetDerivedOutputName() const { return derivedOutputName_; }
  const std::string& GetLastOutputFile() const { return lastOutputFile_; }
  void SetCommandLineRun(int on) { commandLineRun_ = on; }
  int IsCommandLineRun() const { return commandLineRun_; }
  int IsPolicyFileLoaded() const { return policyFileLoaded_; }
  void SetPolicyFileLoaded(int loaded) { policyFileLoaded_ = loaded; }
  // The last run found no file to convert.
  int FoundNoFiles() const { return noFilesFound_; }
  void SetSheetChangesPending(int on) { sheetChangesPending_ = on; }
  int AreSheetChangesPending() const { return sheetChangesPending_; }
  int IsConvertedOnce() const { return convertedOnce_; }
  // The option sheets, made on first use and kept while the dialog lives.
  MainDialogSheets& Sheets();

  FileControl& DisplayPolicies() { return *sets_[0]; }
  FileControl& PolicyFilePolicies() { return *sets_[1]; }
  FileControl& OutputPassPolicies() { return *sets_[2]; }
  FileControl& ContentsPassPolicies() { return *sets_[3]; }
  FileControl& AnalysisPassPolicies() { return *sets_[4]; }
  FileControl& SheetChanges() { return *sets_[5]; }
  FileControl& UserPolicies() { return *sets_[6]; }

 protected:
  // The Context of the main dialog; made by the main dialog's construction.
  void CreateContext();
  // Reads the policy file into set (reset first, definition lists emptied, styles read).
  // 0 when it cannot be opened; problem is set when the reading reported one.
  int ReadPolicyFileInto(FileControl& set, bool& problem);
  // A viewer started on a file (step 2 on of the three OpenFileInViewer members).
  void StartViewer(const std::string& fileName, std::string viewerCommand,
                   int (BaseDialog::*lookup)(std::string&));

  DesktopPlatform& platform_;
  StatusDialog& status_;
  ProgramSettings settings_;
  std::string policyFileName_;
  std::unique_ptr<FileControl> sets_[7];
  std::unique_ptr<Context> context_;
  int language_ = 0;
  std::string inputSpec_;
  std::string derivedOutputName_;
  std::string lastOutputFile_;
  int policyFileLoaded_ = 0;
  int convertedOnce_ = 0;
  int sheetChangesPending_ = 0;
  int commandLineRun_ = 0;
  int noFilesFound_ = 0;
  // Last: the sheets point at the policy sets and go first.
  std::unique_ptr<MainDialogSheets> sheets_;
};
