#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DialogWindow.h"

class SettingsStore;
struct DialogTemplate;

// Everything the desktop program asks of the operating system and its window framework,
// behind one interface: the application is written once against it; a headless backend
// carries the tests and a windowing backend makes the real program.

// Message box icons and buttons, and the button a box returns.
enum class MessageIcon : int { None, Warning, Error, Information, Question };
enum class MessageButtons : int { Ok, OkCancel, YesNo, YesNoCancel };
enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// A file chooser's question. filter is in the form "Description|patterns|...|" (pairs
// separated by "|").
struct FileChooserRequest {
  std::string title;
  std::string proposedName;
  std::string folder;
  std::string filter;
  bool save = false;
  bool multiple = false;
  bool mustExist = false;
};

// A font of the font chooser (screen fonts, no effects): weight as the platform counts it
// (400 regular, 700 bold), size in tenths of a point; 0 or less lets the chooser start at
// its own size.
struct FontChoice {
  std::string face;
  int weight = 400;
  bool italic = false;
  int pointTenths = 100;
};

// Outcome of a DDE request; Linux has no DDE, so a real backend answers NoConversation.
enum class DdeResult : int { Shown, NoConversation, NoAnswer, Failed };

class DesktopPlatform {
 public:
  virtual ~DesktopPlatform() = default;

  // ---- Windows ----
  // A window built from the template, hidden; parent may be null.
  virtual std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                                     DialogWindow* parent) = 0;
  // The usable desktop area.
  virtual WindowRect GetWorkArea() const = 0;
  // The wait cursor over every window while on is true.
  virtual void SetWaitCursor(bool on) = 0;

  // ---- Questions ----
  virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                             MessageIcon icon, MessageButtons buttons) = 0;
  // true with the chosen paths when the user confirmed.
  virtual bool ChooseFiles(const FileChooserRequest& request, std::vector<std::string>& paths) = 0;
  virtual bool ChooseFolder(const std::string& title, std::string& folder) = 0;
  // Both start from the value given and, when the user confirms, put the choice there;
  // false (value untouched) on Cancel.
  virtual bool ChooseFont(FontChoice& font) = 0;
  // colour as 0xRRGGBB.
  virtual bool ChooseColour(unsigned& colour) = 0;

  // ---- Operating system ----
  // false when the clipboard could not be opened or did not take the text.
  [[nodiscard]] virtual bool SetClipboardText(const std::string& text) = 0;
  // Starts program with argument, without waiting; false with a system error number.
  [[nodiscard]] virtual bool StartProcess(const std::string& program, const std::string& argument,
                                          int& errorCode) = 0;
  // Opens a document or address with the desktop's choice of program.
  [[nodiscard]] virtual bool ShellOpen(const std::string& target) = 0;
  // $NAME, ${NAME} and %NAME% references replaced by the environment's values.
  virtual std::string ExpandEnvironment(const std::string& text) const = 0;
  // The command line registered to open files of an extension (".html") or a scheme
  // ("mailto"); empty when none is registered.
  virtual std::string FindAssociation(const std::string& extensionOrScheme) const = 0;
  virtual DdeResult DdeRequest(const std::string& service, const std::string& topic,
                               const std::string& item, int timeoutMs) = 0;
  // The running program's own file.
  virtual std::string ModuleFileName() const = 0;
  virtual bool FileExists(const std::string& path) const = 0;

  // ---- Settings ----
  virtual SettingsStore& Settings() = 0;
};
