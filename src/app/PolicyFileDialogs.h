#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/DialogWindow.h"

class BaseDialog;
struct DialogTemplate;

// The two modal dialogs that handle the policy file as a whole, both over the main dialog's
// state (its policy-file name, recent policy files, policy sets and marks).

enum PolicyFileDialogId : int {
  kDialogPolicyFile = 144,
  kDialogSavePolicies = 145,
};

// The templates of the two dialogs.
std::span<const DialogTemplate> PolicyFileTemplates();

enum PolicyFileControl : int {
  kPolicyFileCombo = 1121,
  kPolicyFileBrowse = 1003,
  kSavePoliciesName = 1088,
  kSavePoliciesBrowse = 1089,
  kSavePoliciesChanged = 1090,
  kSavePoliciesAll = 1091,
};

// Chooses the policy file and loads it at once: by typing a name and leaving the field, by
// Browse, or by choosing a recent name. A name that fails to load gives way to the previous
// name (typing, Browse) or to none (a recent name). What was loaded stays loaded on Cancel.
class OxvOptions : public DialogEventHandler {
 public:
  explicit OxvOptions(BaseDialog& owner);
  ~OxvOptions() override;
  OxvOptions(const OxvOptions&) = delete;
  OxvOptions& operator=(const OxvOptions&) = delete;

  // Shows the dialog modally; 1 for OK, 2 for Cancel.
  int RunModal();
  void SetLanguage();
  // The name to the top of the recent list, and the owner's policy-file name.
  void SetPolicyFile(const std::string& name);
  const std::string& GetPolicyFile() const { return policyFile_; }
  DialogWindow* GetWindow() { return window_.get(); }

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void InitDialog();
  void Browse();
  void ChooseListEntry();
  void LeaveCombo();
  // Loads the owner's policy-file name; the name becomes the member, or previous on failure.
  void LoadTyped(const std::string& name, std::string previous);
  void RefreshControls();
  void RefreshTitle();

  std::string policyFile_;
  BaseDialog& owner_;
  std::unique_ptr<DialogWindow> window_;
  int language_ = -1;
  int loading_ = 0;
};

// Writes the policies in force to a ".pol" file: only those the user set (choice 0) or all
// of them (choice 1, with the calculated policies once a run has made them).
class SavePolicyFile : public DialogEventHandler {
 public:
  explicit SavePolicyFile(BaseDialog& owner);
  ~SavePolicyFile() override;
  SavePolicyFile(const SavePolicyFile&) = delete;
  SavePolicyFile& operator=(const SavePolicyFile&) = delete;

  // Shows the dialog modally; 1 when a file was written, 2 for Cancel.
  int RunModal();
  void SetLanguage();
  const std::string& GetFileName() const { return fileName_; }
  int GetChoice() const { return choice_; }

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void TakeFromControls();
  void PutToControls();
  void Browse();
  // 1 when the file was written (the dialog then closes).
  int Save();

  std::string fileName_;
  int choice_ = 0;
  BaseDialog& owner_;
  int language_ = -1;
  std::unique_ptr<DialogWindow> window_;
};

// The SavePolicyFile dialog over the main dialog.
void ShowSavePolicyDialog(BaseDialog& owner);
