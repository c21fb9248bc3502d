#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "pages/OptionPage.h"
#include "pages/PageServices.h"

// The pages of the configuration-files sheet: each chooses one configuration file named by
// a text policy, through a combo box that shows the main dialog's recent list of that kind,
// and a Browse button. Saving a changed name reloads the configuration files of the set.

// What tells the file-choosing pages apart.
struct ConfigPageKind {
  int combo;
  int browse;
  std::string_view policyKey;
  ConfigFile file;
  int filterText;  // message text of the Browse chooser's filter
  // LoadPolicies takes the name even when the user changed it.
  bool loadAlways;
  // Leaving the page with a changed name adopts it at once.
  bool adoptOnLeave;
};

class ConfigFilePage : public OptionPage {
 public:
  ConfigFilePage(const PageDefinition& definition, BaseSheet* sheet, const ConfigPageKind& kind);

  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void ResetChangeFlags() override { nameFlag_ = 0; }
  void PutToControls() override;
  bool TakeFromControls() override;
  void Activate() override;
  bool Deactivate() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

  const std::string& GetName() const { return name_; }
  int IsNameChanged() const { return nameFlag_; }

 protected:
  PageServices* Services();
  // The common step after every change of the name: marked changed, moved to the top of the
  // combo and of the recent list, made the main dialog's current name, Apply enabled.
  void AdoptName();
  void Browse();

  const ConfigPageKind& kind_;
  std::string name_;
  int nameFlag_ = 0;
};

// The link dictionary (dialog 149): also creates a dictionary file and opens the editor.
class LinkDictPage : public ConfigFilePage {
 public:
  LinkDictPage(const PageDefinition& definition, BaseSheet* sheet);

  void LoadPolicies(FileControl& policies) override;
  void UpdateControls() override;
  // Refused while the editor is open; a changed name enables Apply.
  bool Deactivate() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

  // Set while an editor runs: one editor at a time in the whole program.
  static int IsEditorOpen();

 private:
  void CreateNew();
  void Edit();

  FileControl* policies_ = nullptr;
};

// The styles file (dialog 226) and the scope of font tags.
class SDFPage : public ConfigFilePage {
 public:
  SDFPage(const PageDefinition& definition, BaseSheet* sheet);

  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void ResetChangeFlags() override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  // The radio index: "Scope for font tags" minus 1 (outside 0-2: no button).
  int GetScope() const { return scope_; }

 private:
  int scope_ = -1;
  int scopeFlag_ = 0;
};

std::unique_ptr<OptionPage> CreateLinkDictPage(const PageDefinition& definition,
                                               BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateSDFPage(const PageDefinition& definition, BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateTDFPage(const PageDefinition& definition, BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateTextSubsPage(const PageDefinition& definition,
                                               BaseSheet* sheet);
