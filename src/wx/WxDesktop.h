#pragma once

#include <functional>
#include <string>
#include <vector>

class DesktopPlatform;
class SettingsStore;

// The desktop program on the real screen: starts the window framework, runs body with a
// platform whose dialogs are real windows, and shuts the framework down. settings is the
// store the platform hands out. Returns body's result, or 2 when the framework cannot start
// (no display).
//
// Two environment variables help the tests that run the real program under a virtual
// display: KELVANE_NONINTERACTIVE=1 answers every message box with its default button (the
// box's text goes to standard error instead), and KELVANE_SCREENSHOT=<png path> together
// with KELVANE_SCREENSHOT_DIALOG=<template id> saves a picture of that dialog's window
// when the window goes away while shown; a modal dialog of that id is pictured as soon as
// it shows and then closes as if cancelled. KELVANE_INSPECT=<report path> makes that dialog,
// once it runs modally, also write what it shows into the report (a line "title",
// "control", "item" or "menu" with tab-separated fields) before it ends with Cancel;
// KELVANE_INSPECT_COMMAND=<command id> then first chooses that menu item as a click does,
// and a line "chosen" tells the command that reached the program; lines "window", "tab" and
// "active" then describe the other windows shown. With KELVANE_INSPECT_COMMAND the dialog
// with the menu is inspected whichever dialog KELVANE_SCREENSHOT_DIALOG names, so that a
// window the command opens (an option sheet) can be pictured when it goes away.
//
// KELVANE_GALLERY=<folder> pictures every window into that folder, each with the inspection
// report of its controls beside it (a line "class" gives the toolkit's class of each): a
// modal dialog as dialog-<template id>.png once it shows, after which it closes as if
// cancelled; another dialog as it goes away while shown; an option sheet as it shows, once
// per page with that page in front, as page-<page template id>.png (the page's own report
// is page-<page template id>.txt, the sheet's closing row's dialog-<sheet id>.txt).
int RunWithWxDesktop(
    int argc, char** argv, SettingsStore& settings,
    const std::function<int(DesktopPlatform& platform, const std::vector<std::string>& args)>&
        body);
