#pragma once

#include <array>
#include <memory>
#include <string>

#include "pages/OptionPage.h"
#include "text/TextString.h"

class DesktopPlatform;
class FileControl;

// The pages of the output-options sheet: document details, RTF settings, formatting, fonts,
// hyperlinks, file generation, preprocessor and the help-file page the sheet holds without a
// tab. Values that map one to one onto a policy are rows of the page's table; the others
// (lists, margins, font texts, values kept outside the policies) are the page's own.

// The page object of one of the output sheet's page definitions.
std::unique_ptr<OptionPage> MakeOutputPage(const PageDefinition& definition, BaseSheet* sheet);

// What the output pages share: a text field marks only when leaving it finds its text
// changed, and values kept outside the policies report their change with a note of kind 4.
class OutputPage : public OptionPage {
 public:
  using OptionPage::OptionPage;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 protected:
  // Leaving a text field: reads back and marks the field when its text changed.
  bool CompareText(int controlId);
  // The owner dialog hears of a saved value kept outside the policies.
  void NoteChange(int kind);
  DesktopPlatform* Platform();
  // The value of a control of the page's table (the control must have one).
  int& NumberOf(int controlId);
  std::string& TextOf(int controlId);
};

class RTFDocumentPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void SavePolicies(FileControl& policies) override;
};

// Proofing language, paper size, orientation, margins, mirror margins, character encoding.
class RTFSettingsPage : public OutputPage {
 public:
  enum Slot : int {
    kLanguage, kPaper, kOrientation, kTop, kBottom, kLeft, kRight, kMirror, kEncoding, kSlots
  };
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  void ResetChangeFlags() override;

  int GetPosition(Slot slot) const { return positions_[slot]; }
  double GetMargin(int index) const { return margins_[static_cast<std::size_t>(index)]; }
  const std::string& GetEncoding() const { return encoding_; }
  int IsSlotChanged(Slot slot) const { return flags_[slot]; }

 private:
  void Mark(Slot slot, int markModified);
  // positions_ of kLanguage and kPaper are list positions (-1 none), of kOrientation the
  // radio index (-1 none, 1 landscape), of kMirror the check.
  std::array<int, kSlots> positions_{-1, -1, -1, 0, 0, 0, 0, 0, 0};
  std::array<double, 4> margins_{};
  std::string encoding_;
  std::array<int, kSlots> flags_{};
};

// Automatic centring, paragraph and heading options, bullets, blank lines and the default
// table alignments and header rows.
class RTFFormatPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  void SetLanguage() override;
  void Activate() override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  void ResetChangeFlags() override;

  // The list position of the table alignment (0) or the cell alignment (1); -1 none.
  int GetAlignmentPosition(int which) const { return alignment_[static_cast<std::size_t>(which)]; }
  int IsAlignmentChanged(int which) const { return alignmentChanged_[static_cast<std::size_t>(which)]; }
  // Empties both alignment lists and fills them with the current language's texts.
  void FillAlignmentLists();

 private:
  std::array<int, 2> alignment_{-1, -1};
  std::array<int, 2> alignmentChanged_{};
};

// The five fonts (edited only through the font chooser), the stretch factor and the hidden
// group of HTML font details.
class FontPage : public OutputPage {
 public:
  enum FontSlot : int { kBody, kHeadings, kTables, kContents, kFixed, kFontCount };
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  void PutToControls() override;
  bool TakeFromControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  void ResetChangeFlags() override;

  // Opens the font chooser for a font at the member's text; linked fonts follow.
  void PickFont(FontSlot slot);
  const TextString& GetFont(FontSlot slot) const { return fonts_[slot]; }
  int IsFontChanged(FontSlot slot) const { return fontChanged_[slot]; }

 private:
  std::array<TextString, kFontCount> fonts_;
  std::array<int, kFontCount> fontChanged_{};
  int baseSize_ = 0;
  int baseSizeChanged_ = 0;
  int implementation_ = -1;  // 0 style sheets, 1 font tags
  int implementationChanged_ = 0;
};

class HyperlinksPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;
};

class FileGenRTFPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void ChoosePolicyFile();
};

class PreProPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
};

// The help-file page: held by the sheet for loading and saving, never shown as a tab.
class MakeHelpPage : public OutputPage {
 public:
  using OutputPage::OutputPage;
  void LoadPolicies(FileControl& policies) override;
  void SavePolicies(FileControl& policies) override;
  void UpdateControls() override;
  bool OnDialogEvent(int controlId, DialogEvent event) override;

  // The colour chooser for the title (1718) or body (1722) colour; marks it whatever it
  // returns.
  void PickColour(int buttonId, DesktopPlatform& platform);
};
