#include "app/LanguageDialogs.h"

#include <iterator>
#include <vector>

#include "app/DialogTemplates.h"
#include "app/OxvDialog.h"
#include "lang/DialogTexts.h"
#include "lang/InterfaceTexts.h"
#include "lang/LanguageFiles.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"

// ---- Language files ----

std::string LanguageFileFolder(const std::string& modulePath) {
  const std::size_t separator = modulePath.find_last_of('/');
  const std::string folder =
      separator == std::string::npos ? std::string(".") : modulePath.substr(0, separator);
  static constexpr std::string_view kBin = "/bin";
  if (folder.ends_with(kBin))
    return folder.substr(0, folder.size() - kBin.size()) + "/share/kelvane/lang";
  return folder + "/lang";
}

bool LoadLanguageFile(OxvDialog& main, const std::string& name) {
  DesktopPlatform& platform = main.GetPlatform();
  const LanguageFileRead read = ReadLanguageFile(name, platform.GetInterfaceCodePage());
  if (!read.opened)
    return false;
  platform.SetInterfaceCodePage(read.codePage);
  main.SetLanguage(kLanguageOther);
  return true;
}

bool ExportLanguageFile(DesktopPlatform& platform) {
  FileChooserRequest request;
  request.save = true;
  request.filter = GetMessageText(kMsgFilterLanguageFiles);
  std::vector<std::string> paths;
  if (!platform.ChooseFiles(request, paths) || paths.empty())
    return false;
  const std::string name = LanguageFileExportName(paths.front());
  if (WriteLanguageFile(name))
    return true;
  // Leaving the user to believe the texts were saved would lose their work later.
  ShowMessageText(platform, MessageWithPlaceholder(kMsgFileNotLocated, "ffffff", name),
                  kMsgCaptionFileLocation);
  return false;
}

bool ChooseLanguageFile(DesktopPlatform& platform, std::string& name) {
  FileChooserRequest request;
  request.folder = LanguageFileFolder(platform.ModuleFileName());
  request.proposedName = "*.lng";
  request.filter = GetMessageText(kMsgFilterLanguageFiles);
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!platform.ChooseFiles(request, paths) || paths.empty())
    return false;
  name = paths.front();
  return true;
}

// ---- The language files dialog ----

LanguagesFiles::LanguagesFiles(OxvDialog& main, DialogWindow* parent)
    : main_(main),
      parent_(parent),
      fileName_(main.Settings().languageFile),
      useFile_(main.Settings().useLanguageFile) {}

LanguagesFiles::~LanguagesFiles() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int LanguagesFiles::RunModal() {
  window_ = main_.GetPlatform().CreateDialog(*FindDialogTemplate(kDialogLanguageFiles), parent_);
  window_->SetEventHandler(this);
  OnInitDialog();
  const int result = window_->RunModal();
  window_.reset();
  return result;
}

void LanguagesFiles::OnInitDialog() {
  PutToControls();
  EnableFileControls();
  ApplyDialogTexts(window_.get(), kDialogLanguageFiles);
}

void LanguagesFiles::TakeFromControls() {
  useFile_ = window_->GetCheck(kLanguageFilesUse) != 0 ? 1 : 0;
  fileName_ = window_->GetText(kLanguageFilesName);
}

void LanguagesFiles::PutToControls() {
  window_->SetCheck(kLanguageFilesUse, useFile_);
  window_->SetText(kLanguageFilesName, fileName_);
}

void LanguagesFiles::EnableFileControls() {
  window_->Enable(kLanguageFilesName, useFile_ != 0);
  window_->Enable(kLanguageFilesBrowse, useFile_ != 0);
}

void LanguagesFiles::OnOk() {
  TakeFromControls();
  if (useFile_ != 0)
    (void)LoadLanguageFile(main_, fileName_);
  main_.Settings().useLanguageFile = useFile_;
  main_.Settings().languageFile = fileName_;
  window_->EndModal(1);
}

bool LanguagesFiles::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::Ok || (event == DialogEvent::Click && controlId == 1)) {
    OnOk();
    return true;
  }
  if (event == DialogEvent::Cancel || event == DialogEvent::CloseRequest ||
      (event == DialogEvent::Click && controlId == 2)) {
    window_->EndModal(2);
    return true;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kLanguageFilesUse:
      TakeFromControls();
      EnableFileControls();
      break;
    case kLanguageFilesBrowse:
      TakeFromControls();
      if (ChooseLanguageFile(main_.GetPlatform(), fileName_))
        window_->SetText(kLanguageFilesName, fileName_);
      break;
    case kLanguageFilesExport:
      TakeFromControls();
      (void)ExportLanguageFile(main_.GetPlatform());
      PutToControls();
      break;
    default:
      break;
  }
  return true;
}

// ---- The language chooser ----

// The radio buttons in the dialog's order; a button's position is its index.
static constexpr int kChooserRadios[] = {
    kSelectLanguageEnglish, kSelectLanguageGerman,  kSelectLanguageSpanish,
    kSelectLanguagePortuguese, kSelectLanguageItalian, kSelectLanguageSwedish,
    kSelectLanguageFrench,  kSelectLanguageRussian, kSelectLanguageDutch,
    kSelectLanguageOther,
};
static constexpr int kChooserLanguages[] = {
    kLanguageEnglish, kLanguageGerman, kLanguageSpanish, kLanguagePortuguese, kLanguageItalian,
    kLanguageSwedish, kLanguageFrench, kLanguageRussian, kLanguageDutch,
};
static_assert(std::size(kChooserLanguages) == kChooserFileIndex, "one language per built-in radio");
static_assert(std::size(kChooserRadios) == kChooserFileIndex + 1, "the built-in radios and Other");

int LanguageOfChooserIndex(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kChooserLanguages)))
    return kLanguageEnglish;
  return kChooserLanguages[index];
}

static bool IsChooserRadio(int controlId) {
  for (int radio : kChooserRadios) {
    if (radio == controlId)
      return true;
  }
  return false;
}

SelectLanguage::SelectLanguage(OxvDialog& main, DialogWindow* parent) : main_(main), parent_(parent) {}

SelectLanguage::~SelectLanguage() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int SelectLanguage::RunModal() {
  window_ = main_.GetPlatform().CreateDialog(*FindDialogTemplate(kDialogSelectLanguage), parent_);
  window_->SetEventHandler(this);
  PutToControls();
  // Russian is not offered at the first start.
  window_->Enable(kSelectLanguageRussian, false);
  const int result = window_->RunModal();
  window_.reset();
  return result;
}

void SelectLanguage::TakeFromControls() {
  for (int i = 0; i < static_cast<int>(std::size(kChooserRadios)); ++i) {
    if (window_->GetCheck(kChooserRadios[i]) != 0)
      selected_ = i;
  }
  fileName_ = window_->GetText(kSelectLanguageFileName);
}

void SelectLanguage::PutToControls() {
  for (int i = 0; i < static_cast<int>(std::size(kChooserRadios)); ++i)
    window_->SetCheck(kChooserRadios[i], i == selected_ ? 1 : 0);
  window_->SetText(kSelectLanguageFileName, fileName_);
}

void SelectLanguage::OnOther() {
  if (choosingFile_)
    return;
  choosingFile_ = true;
  const int earlier = selected_;
  TakeFromControls();
  std::string name;
  if (ChooseLanguageFile(main_.GetPlatform(), name)) {
    fileName_ = name;
    selected_ = kChooserFileIndex;
    chosen_ = 1;
  } else {
    selected_ = earlier;
  }
  PutToControls();
  choosingFile_ = false;
}

void SelectLanguage::OnOk() {
  if (selected_ == kChooserFileIndex) {
    main_.Settings().useLanguageFile = 1;
    main_.Settings().languageFile = fileName_;
  } else {
    main_.SetLanguage(LanguageOfChooserIndex(selected_));
  }
  window_->EndModal(1);
}

bool SelectLanguage::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::Ok || (event == DialogEvent::Click && controlId == 1)) {
    OnOk();
    return true;
  }
  if (event == DialogEvent::Cancel || event == DialogEvent::CloseRequest) {
    window_->EndModal(2);
    return true;
  }
  if (event != DialogEvent::Click || !IsChooserRadio(controlId))
    return true;
  if (controlId == kSelectLanguageOther) {
    OnOther();
    return true;
  }
  TakeFromControls();
  chosen_ = 1;
  return true;
}

// ---- The translations dialog ----

// The dialog text that holds the translations page's address (the button's label).
static constexpr int kTranslationsAddressText = 680;

TranslationsDialog::TranslationsDialog(OxvDialog& main, DialogWindow* parent)
    : main_(main), parent_(parent) {}

TranslationsDialog::~TranslationsDialog() {
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int TranslationsDialog::RunModal() {
  window_ = main_.GetPlatform().CreateDialog(*FindDialogTemplate(kDialogTranslations), parent_);
  window_->SetEventHandler(this);
  language_ = main_.GetLanguage();
  ApplyDialogTexts(window_.get(), kDialogTranslations);
  const int result = window_->RunModal();
  window_.reset();
  return result;
}

void TranslationsDialog::OpenTranslationsPage() {
  std::string browser;
  if (main_.GetBrowserCommand(browser) == 0 || browser.empty())
    return;
  main_.OpenUrlInBrowser(GetDialogText(kTranslationsAddressText), browser, true);
}

bool TranslationsDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::Ok || event == DialogEvent::Cancel ||
      event == DialogEvent::CloseRequest || (event == DialogEvent::Click && controlId == 1)) {
    window_->EndModal(1);
    return true;
  }
  if (event == DialogEvent::Click && controlId == kTranslationsLink)
    OpenTranslationsPage();
  return true;
}

// ---- Entry points ----

int RunLanguageFilesDialog(OxvDialog& main) {
  LanguagesFiles dialog(main, main.GetWindow());
  return dialog.RunModal();
}

int ChooseInterfaceLanguage(OxvDialog& main) {
  SelectLanguage dialog(main, main.GetWindow());
  return dialog.RunModal();
}

int RunTranslationsDialog(OxvDialog& main) {
  TranslationsDialog dialog(main, main.GetWindow());
  return dialog.RunModal();
}
