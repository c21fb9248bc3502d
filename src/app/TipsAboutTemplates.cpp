#include "app/DialogTemplates.h"

#include "app/AboutDialog.h"
#include "app/TipsDialog.h"

using CK = ControlKind;

static constexpr ControlTemplate kTipsControls[] = {
    {kTipsArea, CK::Canvas, 0, "", 0},
    {kTipsShowOnStartup, CK::CheckBox, kControlButtonRow, "Show on Startup", 0},
    {kTipsPrevious, CK::Button, kControlButtonRow, "<<", 0},
    {kTipsNext, CK::Button, kControlButtonRow | kControlDefault, ">>", 0},
    {kTipsClose, CK::Button, kControlButtonRow, "Cancel", 0},
};

static constexpr ControlTemplate kAboutControls[] = {
    {kAboutVersion, CK::Label, 0, "Qvarnel Version n.nn - Mmmm 19xx release", 0},
    {kAboutCopyright, CK::Label, 0, "Copyright (c) Norvane. All rights reserved.", 0},
    {kAboutContacts, CK::Group, 0, "Contacts", 0},
    {kAboutHomeLabel, CK::Label, 0, "Home page :", kAboutContacts},
    {kAboutHomeLink, CK::Link, 0, "https://www.kelvane.example/kelvane/", kAboutContacts},
    {kAboutDocLabel, CK::Label, 0, "On-line doco :", kAboutContacts},
    {kAboutDocLink, CK::Link, 0, "https://www.kelvane.example/doco/kelvane.html", kAboutContacts},
    {kAboutMailLabel, CK::Label, 0, "E-mail :", kAboutContacts},
    {kAboutMailLink, CK::Link, 0, "kelvane@norvane.example", kAboutContacts},
    {kAboutOk, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
};

static constexpr DialogTemplate kTipsAboutTemplates[] = {
    {kDialogAbout, "About Qvarnel", kAboutControls, 0, 0},
    {kDialogTips, "Tip of the Day", kTipsControls, 0, 0},
};

std::span<const DialogTemplate> TipsAboutTemplates() { return kTipsAboutTemplates; }
