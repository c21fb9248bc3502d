#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/DialogWindow.h"

class DesktopPlatform;
class OxvDialog;

// The language files dialog (template 195), the first-start language chooser (196) and the
// translations dialog (191), with the language-file operations they share.

enum LanguageDialogId : int {
  kDialogTranslations = 191,
  kDialogLanguageFiles = 195,
  kDialogSelectLanguage = 196,
};

enum LanguageFilesControl : int {
  kLanguageFilesUse = 1499,
  kLanguageFilesGroup = 1500,
  kLanguageFilesName = 1501,
  kLanguageFilesBrowse = 1502,
  kLanguageFilesExport = 1504,
};

enum SelectLanguageControl : int {
  kSelectLanguagePrompt = 1510,
  kSelectLanguageLater = 1511,
  kSelectLanguageEnglish = 1514,
  kSelectLanguageGerman = 1515,
  kSelectLanguageSpanish = 1516,
  kSelectLanguagePortuguese = 1517,
  kSelectLanguageDutch = 1518,
  kSelectLanguageFileName = 1519,
  kSelectLanguageOther = 1220,
  kSelectLanguageItalian = 1577,
  kSelectLanguageFrench = 1578,
  kSelectLanguageSwedish = 1579,
  kSelectLanguageRussian = 1580,
};

enum TranslationsControl : int {
  kTranslationsLink = 1447,
  kTranslationsMail = 1448,
  kTranslationsVolunteers = 1449,
  kTranslationsHelp = 1450,
  kTranslationsContacts = 1451,
};

// The templates of the three dialogs (LanguageTemplates.cpp).
struct DialogTemplate;
std::span<const DialogTemplate> LanguageTemplates();

// ---- Language files ----

// The folder of the program's language files for the program file at modulePath: beside
// bin/ in share/kelvane/lang when the program is installed in a "bin" folder, else the folder
// "lang" beside the program (as in the build folder).
std::string LanguageFileFolder(const std::string& modulePath);

// Reads a language file into the text tables and switches the interface to "Other" (-1).
// A UTF-8 file (the files the program ships are UTF-8) is converted to the interface code
// page, which changes to 1251 or 1252 when only that one holds the file's characters. False,
// and nothing changed, when the file cannot be opened.
bool LoadLanguageFile(OxvDialog& main, const std::string& name);

// Asks for a file name (".lng" appended when it holds no ".") and writes the texts in force
// to it. A file that cannot be created is named in a message box. False when nothing was
// written.
bool ExportLanguageFile(DesktopPlatform& platform);

// The open-file chooser for language files, starting in the program's language folder; the
// chosen path, or false and name unchanged when the user cancels.
bool ChooseLanguageFile(DesktopPlatform& platform, std::string& name);

// ---- The language files dialog (195) ----

class LanguagesFiles : public DialogEventHandler {
 public:
  // Takes the main dialog's language-file name and its use flag.
  LanguagesFiles(OxvDialog& main, DialogWindow* parent);
  ~LanguagesFiles() override;
  // Owns a window that points back at it: never copied.
  LanguagesFiles(const LanguagesFiles&) = delete;
  LanguagesFiles& operator=(const LanguagesFiles&) = delete;

  // Makes the window and runs it modally; 1 after OK (the file loaded when one is to be
  // used, the choice stored in the main dialog), 2 after Cancel.
  int RunModal();
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  DialogWindow* GetWindow() { return window_.get(); }
  const std::string& GetFileName() const { return fileName_; }
  int GetUseFile() const { return useFile_; }

 private:
  void OnInitDialog();
  void TakeFromControls();
  void PutToControls();
  void EnableFileControls();
  void OnOk();

  OxvDialog& main_;
  DialogWindow* parent_;
  std::unique_ptr<DialogWindow> window_;
  std::string fileName_;
  int useFile_ = 0;
};

// ---- The language chooser (196) ----

// The language id of a radio index of the chooser (0 English ... 8 Dutch in the dialog's
// order); 1 for any other index. Index 9 is a language file.
int LanguageOfChooserIndex(int index);
inline constexpr int kChooserFileIndex = 9;

class SelectLanguage : public DialogEventHandler {
 public:
  SelectLanguage(OxvDialog& main, DialogWindow* parent);
  ~SelectLanguage() override;
  SelectLanguage(const SelectLanguage&) = delete;
  SelectLanguage& operator=(const SelectLanguage&) = delete;

  // Makes the window (always in English) and runs it modally. On OK a built-in language is
  // applied to the main dialog, or the main dialog is told to use the chosen language file
  // (which it reads afterwards).
  int RunModal();
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  DialogWindow* GetWindow() { return window_.get(); }
  int GetSelectedIndex() const { return selected_; }
  bool WasChosen() const { return chosen_ != 0; }

 private:
  void TakeFromControls();
  void PutToControls();
  void OnOther();
  void OnOk();

  OxvDialog& main_;
  DialogWindow* parent_;
  std::unique_ptr<DialogWindow> window_;
  int selected_ = 0;
  std::string fileName_;
  int chosen_ = 0;
  // A click on "Other" while the file chooser of an earlier click is open is ignored.
  bool choosingFile_ = false;
};

// ---- The translations dialog (191) ----

class TranslationsDialog : public DialogEventHandler {
 public:
  TranslationsDialog(OxvDialog& main, DialogWindow* parent);
  ~TranslationsDialog() override;
  TranslationsDialog(const TranslationsDialog&) = delete;
  TranslationsDialog& operator=(const TranslationsDialog&) = delete;

  int RunModal();
  bool OnDialogEvent(int controlId, DialogEvent event) override;
  DialogWindow* GetWindow() { return window_.get(); }
  int GetLanguage() const { return language_; }

 private:
  void OpenTranslationsPage();

  OxvDialog& main_;
  DialogWindow* parent_;
  std::unique_ptr<DialogWindow> window_;
  int language_ = -1;
};

// ---- Entry points for the main dialog's Language menu ----

// "Load...": the language files dialog over the main dialog. Its modal result.
int RunLanguageFilesDialog(OxvDialog& main);
// The language chooser over the main dialog (the first start asks through it). Its modal
// result.
int ChooseInterfaceLanguage(OxvDialog& main);
// The translations dialog over the main dialog, shown after a language is chosen from the
// menu. Its modal result.
int RunTranslationsDialog(OxvDialog& main);
