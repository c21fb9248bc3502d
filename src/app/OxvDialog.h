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

  void SetConversionType(int type) { conversionType_ = type; }
  void SetMayOverwrite(int on) { mayOverwrite_ = on; }
  void SetOutputToSource(int on) { outputToSource_ = on; }
  DialogWindow* GetWindow() { return window_.get(); }

 private:
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
};
