// Every window of the real desktop program, pictured under a virtual display in one start per
// language into <build folder>/gallery/<language>/: each dialog, each page of each option
// sheet, the status window after a conversion. Each picture must show a window, and each
// template's controls must be on the real window, of the toolkit class of their kind and with
// the template's text in the interface language.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "GuiRun.h"
#include "Inspection.h"
#include "app/DialogTemplates.h"
#include "app/LanguageDialogs.h"
#include "app/PolicyFileDialogs.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/EditorTemplates.h"
#include "pages/OptionSheets.h"
#include "pages/PageDefinitions.h"
#include "text/CodePageText.h"

namespace fs = std::filesystem;

namespace {

struct GalleryLanguage {
  const char* name;  // as the settings store it
  int id;
  int codePage;
};

// A window of the gallery: the template it is built from and the name of its entry.
struct GalleryEntry {
  const DialogTemplate* dialog;
  std::string name;  // of the picture and the report, without extension
  bool pictured;          // a sheet's own entry has a report only: its pages are pictured
  int textsId;            // the id of its texts in the dialog-text steps
  int captionTextId = 0;  // a sheet's: the dialog text of its caption
};

// The dialogs of the program by their templates, then each option sheet and its pages.
std::vector<GalleryEntry> GalleryEntries() {
  std::vector<GalleryEntry> entries;
  constexpr int kProgramDialogs[] = {
      kDialogMain,         kDialogStatus,        kDialogAbout,
      kDialogTips,         kDialogTranslations,  kDialogLanguageFiles,
      kDialogSelectLanguage, kDialogPolicyFile,  kDialogSavePolicies};
  for (const int id : kProgramDialogs) {
    const DialogTemplate* dialog = FindDialogTemplate(id);
    EXPECT_NE(dialog, nullptr) << id;
    if (dialog != nullptr)
      entries.push_back({dialog, "dialog-" + std::to_string(id), true, id});
  }
  constexpr int kEditorDialogs[] = {kDialogLinkDictEdit, kDialogHeadDetails, kDialogHeadingLevels};
  for (const int id : kEditorDialogs)
    entries.push_back({FindEditorTemplate(id), "dialog-" + std::to_string(id), true, id});
  for (const SheetDefinition* sheet :
       {&AnalysisSheetDefinition(), &OutputSheetDefinition(), &ConfigSheetDefinition(),
        &SettingsSheetDefinition()}) {
    entries.push_back(
        {sheet->dialog, "dialog-" + std::to_string(sheet->dialog->id), false, sheet->dialog->id,
         sheet->captionTextId});
    for (const PageDefinition* page : sheet->tabs)
      entries.push_back(
          {page->dialog, "page-" + std::to_string(page->dialog->id), true, page->textsId});
  }
  return entries;
}

// The toolkit classes a control of each kind is made of.
bool ClassFitsKind(ControlKind kind, const std::string& name) {
  switch (kind) {
    case ControlKind::Label:
      return name == "wxStaticText";
    case ControlKind::Edit:
    case ControlKind::MultiLineEdit:
      return name == "wxTextCtrl";
    case ControlKind::Button:
      return name == "wxButton";
    case ControlKind::CheckBox:
      return name == "wxCheckBox";
    case ControlKind::Radio:
      return name == "wxRadioButton";
    case ControlKind::Group:
      return name == "wxStaticBox";
    case ControlKind::ComboEdit:
      return name == "wxComboBox";
    case ControlKind::DropList:
      return name == "wxChoice";
    case ControlKind::ListBox:
      return name == "wxListBox";
    case ControlKind::Slider:
      return name == "wxSlider";
    case ControlKind::Canvas:
      return !name.empty();
    case ControlKind::Link:
      return name.find("Hyperlink") != std::string::npos;
  }
  return false;
}

// Kinds whose text is a caption of the template rather than data the program fills in.
bool HasCaption(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::Button ||
         kind == ControlKind::CheckBox || kind == ControlKind::Radio ||
         kind == ControlKind::Group || kind == ControlKind::Link;
}

// Captioned controls (and captions) whose text the program puts there in place of the
// template's.
struct FilledCaption {
  int dialogId;
  int controlId;
};
constexpr FilledCaption kFilledCaptions[] = {
    {kDialogAbout, 1197},         // the version line with its month
    {kDialogAbout, 1085},         // the home page's address
    {kDialogAbout, 1087},         // the documentation's address
    {kDialogLinkDictEdit, 1764},  // the editor's status line
    {kDialogPolicyFile, kCaptionStep},  // its caption names the product
};

// The classes the inspection report gives, by control id.
std::map<int, std::string> ReadClasses(const std::string& path) {
  std::map<int, std::string> classes;
  std::istringstream in(ReadBytes(path));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("class\t", 0) != 0)
      continue;
    const std::size_t tab = line.find('\t', 6);
    if (tab != std::string::npos)
      classes[std::stoi(line.substr(6, tab - 6))] = line.substr(tab + 1);
  }
  return classes;
}

// The text each captioned control of a template shows in the language in force: the dialog
// text a language step gives it, else the template's own. The closing row of a sheet takes
// the shared button texts. The window's own caption is under kCaptionStep.
std::map<int, std::string> ExpectedCaptions(const GalleryEntry& entry, int codePage) {
  const DialogTemplate& dialog = *entry.dialog;
  std::map<int, std::string> captions;
  for (const ControlTemplate& row : dialog.controls) {
    if (HasCaption(row.kind) && !row.text.empty())
      captions[row.id] = std::string(row.text);
  }
  for (const DialogTextStep& step : DialogTextSteps()) {
    if (step.dialogId == entry.textsId && step.controlId == kCaptionStep)
      captions[kCaptionStep] = CodePageToUtf8(GetDialogText(step.textIndex), codePage);
  }
  if (entry.captionTextId != 0) {
    captions[kCaptionStep] = CodePageToUtf8(GetDialogText(entry.captionTextId), codePage);
    captions[kButtonOk] = CodePageToUtf8(GetDialogText(689), codePage);
    captions[kButtonCancel] = CodePageToUtf8(GetDialogText(690), codePage);
    captions[kButtonApply] = CodePageToUtf8(GetDialogText(691), codePage);
  }
  for (const DialogTextStep& step : DialogTextSteps()) {
    if (step.dialogId == entry.textsId && captions.count(step.controlId) != 0)
      captions[step.controlId] = CodePageToUtf8(GetDialogText(step.textIndex), codePage);
  }
  for (const FilledCaption& filled : kFilledCaptions) {
    if (filled.dialogId == dialog.id)
      captions.erase(filled.controlId);
  }
  return captions;
}

void CheckGallery(const GalleryLanguage& language) {
  SCOPED_TRACE(language.name);
  TempFolder folder(std::string("gui-gallery-") + language.name);
  gui::WriteSettings(folder, gui::kQuietSettings + "SOFTWARE\\Norvane\\Kelvane\\Languages\\Language\t" +
                                 language.name + "\n");
  const std::string document = folder.File("doc.txt");
  WriteBytes(document, ReadBytes(std::string(KELVANE_FIXTURES_DIR) + "/driver/short-document.txt"));
  const std::string dictionary = folder.File("links.txt");
  WriteBytes(dictionary,
             "Link definition: \"Kelvane\" = \"Kelvane home\" + \"http://www.kelvane.com/\"\n");
  const fs::path gallery = fs::path(KELVANE_BINARY_DIR) / "gallery" / language.name;
  fs::remove_all(gallery);
  fs::create_directories(gallery);

  const gui::GuiRun run = gui::RunKelvane(
      folder, {document, dictionary},
      gui::EnvironmentWords({{"KELVANE_SHOW_DIALOG", "all"}, {"KELVANE_GALLERY", gallery.string()}}));
  ASSERT_EQ(run.status, 0) << run.err;
  SCOPED_TRACE(run.err);
  EXPECT_EQ(ReadBytes(folder.File("doc.rtf")).rfind("{\\rtf", 0), 0u) << "no conversion ran";

  // The language tables as the program switches them: English first, then the language.
  SelectInterfaceLanguage(kLanguageEnglish);
  SelectInterfaceLanguage(language.id);
  // A page to look through the pictures, each under its template's caption.
  std::string index = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Kelvane windows: " +
                      std::string(language.name) + "</title></head><body>\n";
  for (const GalleryEntry& entry : GalleryEntries()) {
    if (entry.pictured)
      index += "<h2>" + std::string(entry.dialog->caption) + " (" + entry.name + ")</h2><img src=\"" +
               entry.name + ".png\">\n";
  }
  WriteBytes((gallery / "index.html").string(), index + "</body></html>\n");
  for (const GalleryEntry& entry : GalleryEntries()) {
    SCOPED_TRACE(entry.name);
    const std::string report = (gallery / (entry.name + ".txt")).string();
    ASSERT_TRUE(fs::exists(report)) << "the window was not shown";
    const gui::Inspection shown = gui::ReadInspection(report);
    std::map<int, std::string> classes = ReadClasses(report);
    const std::map<int, std::string> captions = ExpectedCaptions(entry, language.codePage);
    const auto title = captions.find(kCaptionStep);
    if (title != captions.end()) {
      EXPECT_EQ(shown.title, title->second) << "the window's caption";
    }
    for (const ControlTemplate& row : entry.dialog->controls) {
      SCOPED_TRACE(row.id);
      const auto found = shown.controls.find(row.id);
      ASSERT_NE(found, shown.controls.end()) << "no control";
      EXPECT_TRUE(ClassFitsKind(row.kind, classes[row.id])) << classes[row.id];
      // A drop-down list offers its choices in the interface language.
      if (row.kind == ControlKind::DropList) {
        EXPECT_NE(shown.items.count(row.id), 0u) << "an empty list";
      }
      const auto caption = captions.find(row.id);
      if (caption != captions.end()) {
        EXPECT_EQ(found->second.second, caption->second);
      }
    }
    if (entry.pictured)
      gui::ExpectPictureOfAWindow((gallery / (entry.name + ".png")).string(), 150, 60, 2000);
  }
}

}  // namespace

TEST(GalleryGui, EveryWindowInEnglish) {
  REQUIRE_GUI();
  CheckGallery({"English", kLanguageEnglish, 1252});
}

TEST(GalleryGui, EveryWindowInRussian) {
  REQUIRE_GUI();
  CheckGallery({"Russian", kLanguageRussian, 1251});
}
