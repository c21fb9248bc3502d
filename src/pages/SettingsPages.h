#pragma once

#include <array>
#include <memory>
#include <string>

#include "pages/OptionPage.h"

class PageServices;

// The program-settings pages: four edit the main dialog's program settings (through
// PageServices), the messages page edits the message policies of the set it is given. Every
// change marks the sheet modified, so OK stores what was changed.

// A page that edits program settings.
class SettingsPage : public OptionPage {
 public:
  using OptionPage::OptionPage;

 protected:
  // Null when the page has no sheet or the sheet's host keeps no program settings.
  PageServices* Services();
  // A value changed: Apply is enabled and the sheet marked modified.
  void NoteChange() { EnableApply(1); }
  // The open-file chooser with the filter of a message text; false when cancelled.
  bool BrowseForFile(int filterText, std::string& path);
};

// Drag and drop (dialog 176): three check boxes.
class SettingsDragPage : public SettingsPage {
 public:
  SettingsDragPage(const PageDefinition& definition, BaseSheet* sheet);
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void ResetChangeFlags() override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  std::array<int, 3> values_{};
  std::array<int, 3> flags_{};
};

// Documentation (dialog 179): where the local documentation lies.
class SettingsDocoPage : public SettingsPage {
 public:
  SettingsDocoPage(const PageDefinition& definition, BaseSheet* sheet);
  void LoadPolicies(FileControl& policies) override;
  // Writes the path whether or not it changed.
  void SavePolicies(FileControl& policies) override;
  void ResetChangeFlags() override { flag_ = 0; }
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  const std::string& GetPath() const { return path_; }

 private:
  std::string path_;
  int flag_ = 0;
};

// The DDE services of the viewer page's list, in list order; "Other" (index 6) takes its
// name from the field beside the list.
inline constexpr int kServiceOther = 6;
// The list index of a service name: exact comparison, an empty name is the first.
int ServiceIndexOf(const std::string& name);

// Viewers (dialog 177): the commands that view the results and the browser's DDE service.
class SettingsViewerPage : public SettingsPage {
 public:
  SettingsViewerPage(const PageDefinition& definition, BaseSheet* sheet);
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  // Every flag set: values found by lookup are stored too.
  void ResetChangeFlags() override;
  void UpdateControls() override;
  void Attach(DialogWindow* window) override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  int GetServiceIndex() const { return service_; }
  const std::string& GetServiceName() const { return serviceName_; }

 private:
  enum Flag : int { kAuto, kService, kHtml, kRtf, kServiceName, kPrefix, kUseDde, kFlagCount };
  void Changed(Flag flag);

  int autoView_ = 0;
  std::string html_;
  int useDde_ = 0;
  int service_ = 0;
  std::string serviceName_;
  int urlPrefix_ = 0;
  std::string rtf_;
  std::array<int, kFlagCount> flags_{};
};

// Policy files (dialog 178): the default policy file, tried as soon as it is named.
class SettingsPolicyPage : public SettingsPage {
 public:
  SettingsPolicyPage(const PageDefinition& definition, BaseSheet* sheet);
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  // Loads the named policy file when the name or the box changed; a file that fails keeps
  // the main dialog's previous name and stores nothing.
  void OnApply() override;
  void ResetChangeFlags() override { fileFlag_ = useFlag_ = reloadFlag_ = 0; }
  void UpdateControls() override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  const std::string& GetFile() const { return file_; }

 private:
  void OnFileLeft();
  void OnBrowse();

  int use_ = 0;
  std::string file_;
  int reload_ = 1;
  int fileFlag_ = 0;
  int useFlag_ = 0;
  int reloadFlag_ = 0;
};

// Messages (dialog 180): the reporting level on a slider and five "Show" boxes, each the
// inverse of its "Suppress" policy.
class SettingsMessagesPage : public OptionPage {
 public:
  SettingsMessagesPage(const PageDefinition& definition, BaseSheet* sheet);
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void ResetChangeFlags() override;
  void Activate() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  int GetLevel() const { return level_; }

 private:
  int level_ = 5;
  int levelFlag_ = 0;
};

std::unique_ptr<OptionPage> CreateSettingsDragPage(const PageDefinition& definition,
                                                   BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateSettingsDocoPage(const PageDefinition& definition,
                                                   BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateSettingsViewerPage(const PageDefinition& definition,
                                                     BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateSettingsPolicyPage(const PageDefinition& definition,
                                                     BaseSheet* sheet);
std::unique_ptr<OptionPage> CreateSettingsMessagesPage(const PageDefinition& definition,
                                                       BaseSheet* sheet);
