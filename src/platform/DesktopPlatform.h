#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DialogWindow.h"
#include "platform/PropertySheetWindow.h"

class SettingsStore;
struct DialogTemplate;

// Everything the desktop program asks of the operating system and its window framework,
// behind one interface: the application is written once against it; a headless backend
// carries the tests and a windowing backend makes the real program.

// Message box icons and buttons, and the button a box returns.
enum class MessageIcon : int { None, Warning, Error, Information, Question };
// YesNoDefaultNo: Yes and No with No as the default button (what Enter and an unattended
// answer choose).
enum class MessageButtons : int { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
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

// Outcome of a DDE request: the data came back (Shown), no conversation with the service
// (NoConversation), the request returned no data (NoAnswer), or the client instance could not
// be made (Failed). Linux has no DDE, so a real backend answers NoConversation.
enum class DdeResult : int { Shown, NoConversation, NoAnswer, Failed };

// The DDE error a failed step leaves (the DDE management library's codes).
enum DdeError : int {
  kDdeNoError = 0,
  kDdeAdvAckTimeout = 0x4000,
  kDdeBusy = 0x4001,
  kDdeDataAckTimeout = 0x4002,
  kDdeDllNotInitialized = 0x4003,
  kDdeDllUsage = 0x4004,
  kDdeExecAckTimeout = 0x4005,
  kDdeInvalidParameter = 0x4006,
  kDdeLowMemory = 0x4007,
  kDdeMemoryError = 0x4008,
  kDdeNotProcessed = 0x4009,
  kDdeNoConversationEstablished = 0x400a,
  kDdePokeAckTimeout = 0x400b,
  kDdePostMessageFailed = 0x400c,
  kDdeReentrancy = 0x400d,
  kDdeServerDied = 0x400e,
  kDdeSysError = 0x400f,
  kDdeUnadvAckTimeout = 0x4010,
  kDdeUnfoundQueueId = 0x4011,
};

class DesktopPlatform {
 public:
  virtual ~DesktopPlatform() = default;

  // ---- Windows ----
  // A window built from the template, hidden; parent may be null.
  virtual std::unique_ptr<DialogWindow> CreateDialog(const DialogTemplate& dialog,
                                                     DialogWindow* parent) = 0;
  // A property sheet whose closing row is built from the template, hidden, without tabs;
  // parent may be null.
  virtual std::unique_ptr<PropertySheetWindow> CreatePropertySheet(const DialogTemplate& sheet,
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
  // Starts program with argument, without waiting; false with a system error number. The
  // argument is written as a command line writes one: a text in double quotes is one
  // argument without its quotes.
  [[nodiscard]] virtual bool StartProcess(const std::string& program, const std::string& argument,
                                          int& errorCode) = 0;
  // Opens a document or address with the desktop's choice of program.
  [[nodiscard]] virtual bool ShellOpen(const std::string& target) = 0;
  // $NAME, ${NAME} and %NAME% references replaced by the environment's values.
  virtual std::string ExpandEnvironment(const std::string& text) const = 0;
  // The file type registered for an extension (".rtf"): the name a registered extension
  // gives (on Linux its MIME type). false when the extension is not registered; true with an
  // empty type when its registration names none.
  virtual bool FindFileType(const std::string& extension, std::string& fileType) const = 0;
  // The command line a file type registers for a verb ("preview", "open"): the program
  // (quoted when the registration quotes it) and its arguments, "%1" standing for the file.
  // A scheme ("mailto") is a file type of its own. Empty when there is none.
  virtual std::string FindFileTypeCommand(const std::string& fileType,
                                          const std::string& verb) const = 0;
  // One request transaction (text format) to a DDE service on a topic. error receives the
  // DDE error of the step that failed (kDdeNoError when none).
  virtual DdeResult DdeRequest(const std::string& service, const std::string& topic,
                               const std::string& item, int timeoutMs, int& error) = 0;
  // The running program's own file.
  virtual std::string ModuleFileName() const = 0;
  virtual bool FileExists(const std::string& path) const = 0;

  // ---- Settings ----
  virtual SettingsStore& Settings() = 0;

  // ---- Interface texts ----
  // The code page of the single-byte interface texts that the program puts on windows,
  // menus and message boxes (1252, or 1251 for Russian). A backend whose windows take
  // another encoding converts such texts where they reach a window.
  virtual void SetInterfaceCodePage(int codePage) = 0;
  virtual int GetInterfaceCodePage() const = 0;
};

// Code pages of the interface texts.
enum InterfaceCodePage : int {
  kCodePageWesternEurope = 1252,
  kCodePageCyrillic = 1251,
};
