#include "app/LanguageDialogs.h"

#include "platform/DialogTemplate.h"

using CK = ControlKind;

static constexpr ControlTemplate kLanguageFilesControls[] = {
    {kLanguageFilesGroup, CK::Group, 0, "Load language \"skin\"", 0},
    {kLanguageFilesUse, CK::CheckBox, 0, "Use a language file", kLanguageFilesGroup},
    {kLanguageFilesName, CK::Edit, 0, "", kLanguageFilesGroup},
    {kLanguageFilesBrowse, CK::Button, 0, "...", kLanguageFilesGroup},
    {kLanguageFilesExport, CK::Button, 0, "Export current language settings to file", 0},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {2, CK::Button, kControlButtonRow, "Cancel", 0},
};

// Always shown in English: the chooser asks before any language is in force.
static constexpr ControlTemplate kSelectLanguageControls[] = {
    {kSelectLanguagePrompt, CK::Label, 0, "Choose the language you'd like to use.", 0},
    {kSelectLanguageLater, CK::Label, 0,
     "(you can change this later on the \"Languages\" menu)", 0},
    {kSelectLanguageEnglish, CK::Radio, 0, "English", 0},
    {kSelectLanguageGerman, CK::Radio, 0, "German", 0},
    {kSelectLanguageSpanish, CK::Radio, 0, "Spanish", 0},
    {kSelectLanguagePortuguese, CK::Radio, 0, "Portuguese", 0},
    {kSelectLanguageItalian, CK::Radio, 0, "Italian", 0},
    {kSelectLanguageSwedish, CK::Radio, 0, "Swedish", 0},
    {kSelectLanguageFrench, CK::Radio, 0, "French", 0},
    {kSelectLanguageRussian, CK::Radio, 0, "Russian", 0},
    {kSelectLanguageDutch, CK::Radio, 0, "Dutch", 0},
    {kSelectLanguageOther, CK::Radio, 0, "Other (load a \"language skin\")", 0},
    {kSelectLanguageFileName, CK::Edit, 0, "", 0},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
};

static constexpr ControlTemplate kTranslationsControls[] = {
    {kTranslationsVolunteers, CK::Label, 0,
     "These translations are being rolled out by a team of volunteers", 0},
    {kTranslationsHelp, CK::Label, 0,
     "If you'd like to help with other languages, please contact me.", 0},
    {kTranslationsContacts, CK::Group, 0, "Contact details:", 0},
    {kTranslationsMail, CK::Label, 0, "E-mail: translations@norvane.example", kTranslationsContacts},
    {kTranslationsLink, CK::Button, 0, "https://www.norvane.example/kelvane/translations/",
     kTranslationsContacts},
    {1, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
};

static constexpr DialogTemplate kLanguageTemplates[] = {
    {kDialogTranslations, "Translations", kTranslationsControls, 0, 0},
    {kDialogLanguageFiles, "Import/Export Language Files", kLanguageFilesControls, 50, 0},
    {kDialogSelectLanguage, "Choose your language", kSelectLanguageControls, 0, 0},
};

std::span<const DialogTemplate> LanguageTemplates() { return kLanguageTemplates; }
