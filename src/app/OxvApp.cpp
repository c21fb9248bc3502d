#include "app/OxvApp.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "app/MainDialogSheets.h"
#include "app/ShellServices.h"
#include "app/StatusDialog.h"
#include "app/TipsDialog.h"
#include "app/OxvDialog.h"
#include "engine/CommandLine.h"
#include "engine/Context.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "platform/FileSystem.h"
#include "text/PathUtils.h"
#include "text/WildcardFileList.h"

int OxvApp::InitInstance(const std::vector<std::string>& args,
                         const std::string& settingsProblem) {
  StatusDialog& status = GlobalStatusWindow();
  OxvDialog dialog(platform_, status);
  status.Create(platform_, &dialog);
  if (!settingsProblem.empty())
    platform_.ShowMessageBox(settingsProblem, "Program settings", MessageIcon::Warning,
                             MessageButtons::Ok);
  CommandLine commandLine(*this, dialog);
  commandLine.ParseAll(args);
  int exitStatus = 0;
  if (dialog.GetContext()->Commands.helpRequested) {
    PrintUsage(*dialog.GetContext());
  } else {
    // English first, so that a language that defines fewer texts leaves none empty.
    dialog.SetLanguage(kLanguageEnglish);
    const int stored = LanguageIdFromName(dialog.Settings().language);
    if (stored != kLanguageOther)
      dialog.SetLanguage(stored);
    status.SetLanguage(dialog.GetLanguage());
    exitStatus = RunApplication(*this, dialog);
  }
  // The window of the status window goes before the main dialog it points to.
  status.Destroy();
  return exitStatus;
}

int RunApplication(OxvApp& app, OxvDialog& dialog) {
  DesktopPlatform& platform = app.GetPlatform();
  ProgramSettings& settings = dialog.Settings();
  if (!settings.defaultPolicyFile.empty())
    dialog.SetPolicyFileName(settings.defaultPolicyFile);
  const std::string input = dialog.GetInputFile();
  if (input.empty() || input == " ") {
    // The tips wait until the user has chosen a language: a first start asks for that.
    if (settings.selectedLanguage && settings.showTipsOnStartup) {
      TipsDialog tips(dialog, nullptr);
      (void)tips.RunModal();
    }
    if (settings.useDdeToViewHtml && settings.ddeWorking == "No") {
      ShowMessageText(platform, kMsgDdeDisabled, kMsgCaptionDdeProblems);
      settings.useDdeToViewHtml = 0;
    }
    // The desktop tests look at one option sheet on the real screen instead.
    if (const char* sheet = std::getenv("KELVANE_PREVIEW_SHEET"))
      return PreviewSheet(dialog, sheet);
    (void)dialog.RunModal();
    return 0;
  }

  const std::string full = dialog.GetInputDir() + input;
  dialog.SetInputFile(full);
  if (GetFileKind(full.c_str()) != FileKind::Regular) {
    std::string outputName;
    (void)dialog.MakeOutputName(full, outputName);
  }
  dialog.SetCommandLineRun(1);
  if (!dialog.GetPolicyFileName().empty() && dialog.LoadPolicyFile(0)) {
    dialog.TakeFromPolicies(dialog.PolicyFilePolicies());
    dialog.PushPolicyFile(dialog.GetPolicyFileName());
  }
  dialog.NoteOption(dialog.GetContext()->Commands);
  StatusDialog& status = dialog.GetStatusWindow();
  if (settings.dropViewStatusWindow) {
    status.ClearStatus();
    status.Show();
    status.BringToTop();
  }
  dialog.PushInputFile(full);
  const int converted = dialog.RunConversion();
  if (!converted)
    ShowMessageText(platform, kMsgConversionFailed, kMsgCaptionConvert);
  if (!converted || settings.dropStartProgram)
    (void)dialog.RunModal();
  // A run that converted nothing is no success, though its own message box said why.
  return converted && !dialog.FoundNoFiles() ? 0 : 1;
}

// ---- The command line ----

// A flag starts with "-", or with "/" followed by a qualifier's name (letters, digits, "_"
// or "?" up to an "="). Absolute paths start with "/" here: an argument that names an
// existing file or folder, or whose name part holds another separator, is a file argument.
static bool IsFlagArgument(const std::string& argument) {
  if (argument.size() < 2)
    return false;
  if (argument[0] == '-')
    return true;
  if (argument[0] != '/')
    return false;
  const std::size_t end = std::min(argument.find('='), argument.size());
  for (std::size_t i = 1; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(argument[i]);
    if (!std::isalnum(c) && c != '_' && c != '?')
      return false;
  }
  std::error_code error;
  return !std::filesystem::exists(std::filesystem::path(argument), error);
}

void CommandLine::ParseAll(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool isLast = i + 1 == args.size();
    if (IsFlagArgument(args[i]))
      ParseParam(args[i].substr(1), true, isLast);
    else
      ParseParam(args[i], false, isLast);
  }
}

// The full path of the file an argument names: the file itself, else the first file its
// wildcards match; empty when there is none.
static std::string FindArgumentFile(const std::string& fullPath) {
  if (GetFileKind(fullPath.c_str()) == FileKind::Regular)
    return fullPath;
  WildcardFileList lister;
  int folders = 0;
  TextString first;
  lister.ListMatchingFiles(TextString(fullPath.c_str()), 0, 0, folders, first);
  return first.GetText();
}

void CommandLine::ParseParam(const std::string& text, bool isFlag, bool isLast) {
  DesktopPlatform& platform = app_.GetPlatform();
  if (isFlag) {
    const std::string argument = "/" + text;
    Context* ctx = dialog_.GetContext();
    if (ctx != nullptr && ParseCommandLine(*ctx, {argument}) > 0)
      LogToStatusWindow(("Failed to parse - " + argument).c_str());
    return;
  }
  if (TextString(text.c_str()).EndsWith(".pol", 0)) {
    dialog_.SetPolicyFileName(text);
    return;
  }
  if (text.find('@') != std::string::npos) {
    platform.ShowMessageBox("Steering files not yet supported", "Kelvane", MessageIcon::None,
                            MessageButtons::Ok);
    return;
  }
  std::error_code error;
  const std::string fullPath = std::filesystem::absolute(text, error).lexically_normal().string();
  const std::string found = FindArgumentFile(fullPath);
  if (found.empty()) {
    platform.ShowMessageBox(MessageWithPlaceholder(kMsgFileNotLocated, "ffffff", text), "Kelvane",
                            MessageIcon::None, MessageButtons::Ok);
    return;
  }
  if (dialog_.GetInputFile().empty()) {
    TextString folder, baseName, extension;
    SplitPath(TextString(fullPath.c_str()), folder, baseName, extension);
    dialog_.SetInputFile(std::string(baseName.GetText()) + extension.GetText());
    dialog_.SetInputDir(folder.GetText());
    dialog_.SetOutputDir(folder.GetText());
  } else {
    // Every file keeps its own folder: the list holds full paths, so files of different
    // folders are each found where they are. The output folder stays the first file's.
    std::string list = dialog_.GetInputFile();
    if (list.front() != '"') {
      list = "\"" + dialog_.GetInputDir() + list + "\"";
      dialog_.SetInputDir("");
    }
    list += " \"" + found + "\"";
    dialog_.SetInputFile(list);
  }
  if (!isLast)
    dialog_.SetInputFile(dialog_.GetInputFile());
}
