#pragma once

#include <array>
#include <string>

#include "pages/OptionPage.h"

// The heading-levels values that travel from the policy set to the headings page, from the
// page to the heading-levels dialog and back.
struct HeadingLevelValues {
  static constexpr int kLevels = 4;
  int levelTextsChanged = 0;
  int levelCountChanged = 0;
  int numberedChanged = 0;
  int numbered = 0;
  int levels = 0;
  std::string contentsCount;
  std::array<std::string, kLevels> headings;
  std::array<std::string, kLevels> contents;
};

// Controls of the headings page that its code names.
enum HeadingPageControl : int {
  kHeadingNumbered = 2015,
  kHeadingAdvanced = 1592,  // opens the heading-levels dialog
};

// The headings page: the kinds of heading expected and the key phrases; "Advanced Options
// >>>" opens the heading-levels dialog.
class HeadingPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  // Also, whatever the change flags, the second-word switch, the level count and the level
  // texts of the set (remembered for the details of a level).
  void LoadPolicies(FileControl& policies) override;
  // The values, then the heading levels when they changed.
  void SavePolicies(FileControl& policies) override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

  const HeadingLevelValues& Levels() const { return levels_; }

 private:
  void OpenHeadingLevels();

  FileControl* policies_ = nullptr;
  int secondWord_ = 0;
  HeadingLevelValues levels_;
};
