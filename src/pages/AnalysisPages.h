#pragma once

#include <memory>

#include "pages/OptionPage.h"

// The pages of the analysis sheet with behaviour beyond their value tables: the records
// kept outside the policies, the enable rules and the three switches that the
// what-to-look-for page shares with the analysis, bullets and table analysis pages.

// Makes a page of class T for a PageDefinition's maker.
template <class T>
std::unique_ptr<OptionPage> MakePage(const PageDefinition& definition, BaseSheet* sheet) {
  return std::make_unique<T>(definition, sheet);
}

// Sizes, paragraphs, the definition characters and the indentation positions.
class AnalysisPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  void LoadPolicies(FileControl& policies) override;
  // The values, the indentation-position record after "Min chapter size", then
  // "Search for definitions" and the definition-character record.
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
};

// The bullet kinds and the bullet-character record.
class BulletsPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
};

// Existing contents lists; the generation controls stay hidden but are loaded and saved.
class ContentsPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  // An empty contents file name shows the set's working contents file name.
  void LoadPolicies(FileControl& policies) override;
  void UpdateControls() override;
};

// What the file holds and how it is laid out, with the justification list.
class FileStructPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  // "Text justification" is noted as a change of kind 2.
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  // Also refills the justification list in the current language, keeping the choice.
  void SetLanguage() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 protected:
  int ListIndexFromValue(int controlId, int value) const override;
  int ValueFromListIndex(int controlId, int index) const override;
};

// The switches of every kind of analysis.
class LookForPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
};

// Pre-formatted regions; the definitions switch is hidden but loaded and saved.
class PreFormatPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  void UpdateControls() override;
};

// Table recognition: two sliders, row and column switches, a fixed layout.
class TabAnalPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  void UpdateControls() override;
  // Sets both sliders' range and position at every activation.
  void Activate() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
};

// Justification list entries: the message text of each list index.
inline constexpr int kJustificationTexts[] = {64, 65, 66, 68, 67};
