#include "app/Viewers.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/BaseDialog.h"
#include "app/RegistryAccess.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "text/ProductIdentity.h"
#include "text/TextString.h"

// Page code of the viewer page of the program-settings sheet.
static constexpr int kViewerPage = 35;
// An expanded command line is read into a buffer of this size.
static constexpr std::size_t kCommandLimit = 260;
// The longest item text a DDE request may carry.
static constexpr std::size_t kDdeItemLimit = 255;
// The maker's page that answers version checks: its links get no product query.
static constexpr std::string_view kVersionCheckPage = "/versioncheck";

// The two lookups that may not run twice at once: a lookup that fails can open the
// program-settings sheet, whose pages may ask for a lookup again.
static int gViewerLookupRunning = 0;
static int gMailLookupRunning = 0;

namespace {

// Sets a re-entry flag for as long as it lives.
class LookupGuard {
 public:
  explicit LookupGuard(int& flag) : flag_(flag) { flag_ = 1; }
  ~LookupGuard() { flag_ = 0; }
  LookupGuard(const LookupGuard&) = delete;
  LookupGuard& operator=(const LookupGuard&) = delete;

 private:
  int& flag_;
};

}  // namespace

// ---- Text rules ----

// The first position of c at or after from that counts as an option start; npos when none.
static std::size_t OptionMark(const std::string& text, char c, std::size_t from) {
  const std::size_t at = text.find(c, from);
  return at == 0 ? std::string::npos : at;
}

std::string ProgramOfRegisteredCommand(const std::string& command, BlankBeforeOptions blank) {
  std::string text = command;
  // A quoted program path is one piece: marks inside it are part of the path.
  std::size_t from = 0;
  if (!text.empty() && text.front() == '"') {
    const std::size_t close = text.find('"', 1);
    from = close == std::string::npos ? text.size() : close + 1;
  }
  const std::size_t o = std::min({text.find('%', from), OptionMark(text, '-', from),
                                   OptionMark(text, '/', from)});
  const std::size_t b = text.find(' ');
  if (o != std::string::npos && o > 0) {
    if (b != std::string::npos && o == b + 1 && blank == BlankBeforeOptions::Keep)
      text.resize(o);
    else
      text.resize(o - 1);
  }
  if (text.empty() || text.front() != '"')
    return text;
  text.erase(0, 1);
  char examined = '"';
  while (text.size() > 1 && (examined == '"' || examined == ' ')) {
    text.pop_back();
    examined = text.back();
  }
  return text;
}

std::string FileUrlOf(const std::string& fileName, bool addPrefix) {
  std::string url;
  url.reserve(fileName.size() + 24);
  if (addPrefix) {
    url = "file://localhost/";
    if (!fileName.empty() && (fileName.front() == '/' || fileName.front() == '\\'))
      url.pop_back();
  }
  for (char c : fileName) {
    if (c == ' ')
      url += "%20";
    else if (addPrefix && c == ':')
      url.push_back('|');
    else if (addPrefix && c == '\\')
      url.push_back('/');
    else
      url.push_back(c);
  }
  return url;
}

void SplitFolderAndName(const std::string& path, std::string& folder, std::string& name) {
  const std::size_t quote = path.find('"');
  const std::size_t cut =
      quote != std::string::npos ? quote : path.find_last_of("\\/") + 1;  // npos + 1 = 0
  folder = path.substr(0, cut);
  name = path.substr(cut);
}

std::string DdeErrorText(int error) {
  struct Row {
    int error;
    const char* text;
  };
  static constexpr Row kTexts[] = {
      {kDdeAdvAckTimeout, "DDE Error: adv ack timeout!"},
      {kDdeBusy, "DDE Error: busy"},
      {kDdeDataAckTimeout, "DDE Error: ack timeout"},
      {kDdeDllNotInitialized, "DDE Error: DLL not initialised"},
      {kDdeDllUsage, "DDE Error: DLL usage"},
      {kDdeExecAckTimeout, "DDE Error: EXE ack Timeout"},
      {kDdeInvalidParameter, "DDE Error: invalid parameter"},
      {kDdeLowMemory, "DDE Error: low memory"},
      {kDdeMemoryError, "DDE Error: memory error"},
      {kDdeNotProcessed, "DDE Error: not processed"},
      {kDdeNoConversationEstablished, "DDE Error: no conversation established"},
      {kDdePokeAckTimeout, "DDE Error: Poke ack timeout"},
      {kDdePostMessageFailed, "DDE Error: post message failed"},
      {kDdeReentrancy, "DDE Error: reentrancy detected"},
      {kDdeServerDied, "DDE Error: server died"},
      {kDdeSysError, "DDE Error: sys error"},
      {kDdeUnadvAckTimeout, "DDE Error: unadv Ack Timeout"},
      {kDdeUnfoundQueueId, "DDE Error: Unfound Queue ID"},
  };
  static_assert(std::size(kTexts) == kDdeUnfoundQueueId - kDdeAdvAckTimeout + 1,
                "one text per named DDE error");
  for (const Row& row : kTexts) {
    if (row.error == error)
      return row.text;
  }
  return "Unknown DDE Error : " + std::to_string(error);
}

std::string QuotedFileArgument(const std::string& fileName) {
  if (fileName.find(' ') == std::string::npos)
    return fileName;
  if (fileName.find('"') == std::string::npos)
    return "\"" + fileName + "\"";
  std::string quoted = fileName;
  if (quoted.front() != '"')
    quoted.insert(0, 1, '"');
  if (quoted.back() != '"')
    quoted.push_back('"');
  return quoted;
}

// The language code of a site query; empty for English and any language without one.
static std::string_view SiteLanguageCode(int language) {
  switch (language) {
    case kLanguageGerman: return "g";
    case kLanguageSpanish: return "s";
    case kLanguageFrench: return "f";
    case kLanguagePortuguese: return "p";
    case kLanguageItalian: return "i";
    case kLanguageSwedish: return "sw";
    case kLanguageRussian: return "r";
    case kLanguageDutch: return "nl";
    default: return "";
  }
}

std::string AddressWithSiteQuery(const std::string& address, int language) {
  std::string_view host = kMakerWebSite;
  host.remove_prefix(std::min(host.size(), host.find("://") + 3));
  if (address.find(host) == std::string::npos || address.find('?') == std::string::npos)
    return address;
  std::string out = address;
  if (address.find(kVersionCheckPage) == std::string::npos) {
    TextString product, shortVersion, fullVersion;
    GetProductNameAndVersion(product, shortVersion, fullVersion);
    out += "&p=";
    out += product.GetText();
    out += "&v=";
    out += shortVersion.GetText();
  }
  const std::string_view code = SiteLanguageCode(language);
  if (!code.empty()) {
    out += "&l=";
    out += code;
  }
  return out;
}

// The folder of a path with its trailing separator; empty when it has none.
static std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

void TakeFileDialogResult(const std::vector<std::string>& paths, std::string& folder,
                          std::string& name, std::string* remembered) {
  folder.clear();
  name.clear();
  if (paths.empty())
    return;
  if (paths.size() > 1) {
    // Several files: the folder they share, without its trailing separator.
    const std::string first = FolderOf(paths[0]);
    const bool shared = std::all_of(paths.begin(), paths.end(), [&first](const std::string& p) {
      return FolderOf(p) == first;
    });
    if (shared && !first.empty())
      folder = first.substr(0, first.size() - 1);
    if (remembered != nullptr && !folder.empty())
      *remembered = folder;
    return;
  }
  folder = FolderOf(paths[0]);
  name = paths[0].substr(folder.size());
  if (remembered != nullptr && !folder.empty())
    *remembered = folder;
}

// ---- Message boxes ----

static std::string ProductName() {
  TextString product, shortVersion, fullVersion;
  GetProductNameAndVersion(product, shortVersion, fullVersion);
  return product.GetText();
}

// The program's plain message box: the product's name as caption, an OK button.
static void ShowPlainMessage(DesktopPlatform& platform, const std::string& text) {
  platform.ShowMessageBox(text, ProductName(), MessageIcon::Warning, MessageButtons::Ok);
}

void ShowLaunchFailure(DesktopPlatform& platform, const std::string& command,
                              const std::string& argument, int error) {
  std::string text = MessageWithPlaceholder(kMsgCommandFailed, "ccc", command);
  const std::size_t url = text.find("url");
  if (url != std::string::npos)
    text.replace(url, 3, argument);
  const std::size_t code = text.rfind("nnn");
  if (code != std::string::npos)
    text.replace(code, 3, std::to_string(error));
  ShowMessageText(platform, text, kMsgCaptionLaunchBrowser);
}

// ---- Lookups ----

// The program of a registered command line, its environment references expanded; empty when
// the command is empty or the program names no existing file.
static std::string ExistingProgram(const DesktopPlatform& platform, const std::string& registered,
                                   BlankBeforeOptions blank) {
  if (registered.empty())
    return {};
  std::string expanded = platform.ExpandEnvironment(registered);
  if (expanded.size() > kCommandLimit)
    expanded.resize(kCommandLimit);
  const std::string program = ProgramOfRegisteredCommand(expanded, blank);
  return platform.FileExists(program) ? program : std::string();
}

int BaseDialog::FindViewerCommand(std::string& command, const std::string& firstExtension,
                                  const std::string& secondExtension) {
  if (gViewerLookupRunning)
    return 0;
  LookupGuard guard(gViewerLookupRunning);
  command.clear();
  std::string fileType;
  if (!platform_.FindFileType(firstExtension, fileType) &&
      (secondExtension.empty() || !platform_.FindFileType(secondExtension, fileType)))
    return 0;
  if (fileType.empty())
    return 0;
  std::string registered = platform_.FindFileTypeCommand(fileType, "preview");
  if (registered.empty())
    registered = platform_.FindFileTypeCommand(fileType, "open");
  if (registered.empty())
    return 0;
  const std::string program = ExistingProgram(platform_, registered, BlankBeforeOptions::Keep);
  if (program.empty())
    return 0;
  command = program;
  return 1;
}

std::string BaseDialog::GetRtfViewerCommand() {
  std::string command;
  (void)FindRtfViewerCommand(command);
  return command;
}

int BaseDialog::FindMailCommand(std::string& command) {
  if (gMailLookupRunning)
    return 0;
  LookupGuard guard(gMailLookupRunning);
  command.clear();
  const std::string program = ExistingProgram(
      platform_, platform_.FindFileTypeCommand("mailto", "open"), BlankBeforeOptions::Drop);
  if (!program.empty()) {
    command = program;
    return 1;
  }
  ShowMessageText(platform_, kMsgLocateBrowser, kMsgCaptionBrowserNotFound);
  ShowProgramSettings(kViewerPage);
  return 1;
}

int BaseDialog::GetBrowserCommand(std::string& command) {
  if (!settings_.browserCommand.empty()) {
    command = settings_.browserCommand;
    return 1;
  }
  if (FindViewerCommand(command, ".html", ".htm"))
    return 1;
  ShowMessageText(platform_, kMsgLocateBrowser, kMsgCaptionBrowserNotFound);
  ShowProgramSettings(kViewerPage);
  command = settings_.browserCommand;
  return 1;
}

int BaseDialog::GetLocalHelpPath(std::string& path) const {
  const std::string module = platform_.ModuleFileName();
  if (module.empty())
    return 0;
  TextString base, page;
  GetDocumentationAddress(base, page);
  std::string folder = FolderOf(module);
  if (folder.empty())
    folder = "/";
  path = folder + page.GetText();
  // The guide lies beside the program in its build folder; an installed program finds it in
  // its data folder, share/kelvane beside the folder of the program. With neither, the name
  // beside the program stands.
  if (platform_.FileExists(path))
    return 1;
  const std::string prefix = FolderOf(folder.substr(0, folder.size() - 1));
  const std::string installed = prefix + "share/kelvane/" + page.GetText();
  if (!prefix.empty() && platform_.FileExists(installed))
    path = installed;
  return 1;
}

// The longest local documentation path that is looked for.
static constexpr std::size_t kLongestHelpPath = 254;

std::string BaseDialog::UserGuidePath() const {
  std::string path = settings_.htmlDoco;
  if (path.empty())
    (void)GetLocalHelpPath(path);
  if (path.size() > kLongestHelpPath)
    path.resize(kLongestHelpPath);
  return path;
}

std::string BaseDialog::MakeFileUrl(const std::string& fileName) const {
  return FileUrlOf(fileName, settings_.addUrlPrefix != 0);
}

// ---- Starting the browser and the viewers ----

void BaseDialog::ReportDdeError(int error) {
  if (error == kDdeNoError)
    return;
  ShowPlainMessage(platform_, DdeErrorText(error));
}

// Shows the address by DDE; true when the browser took it. Every failure but a browser that
// is not running is reported.
static bool ShowByDde(BaseDialog& dialog, DesktopPlatform& platform, const std::string& service,
                      const std::string& address) {
  const std::string item = "\"" + address + "\",,-1,0,,,,";
  // An item the request cannot carry goes to the command line instead.
  if (item.size() > kDdeItemLimit)
    return false;
  SettingsStore& store = platform.Settings();
  const std::string key = ProductSettingsKey();
  // A "No" left behind says that the request never returned; start-up reads it.
  (void)RegWriteString(store, RegistryRoot::CurrentUser, key, "\\DDEWorking", "No");
  int error = kDdeNoError;
  const DdeResult result = platform.DdeRequest(service, "WWW_OpenURL", item, 2000, error);
  (void)RegWriteString(store, RegistryRoot::CurrentUser, key, "\\DDEWorking", "Yes");
  switch (result) {
    case DdeResult::Shown:
      return true;
    case DdeResult::NoConversation:
      if (error != kDdeNoConversationEstablished)
        dialog.ReportDdeError(error);
      return false;
    case DdeResult::NoAnswer:
    case DdeResult::Failed:
      dialog.ReportDdeError(error);
      return false;
  }
  return false;
}

void BaseDialog::OpenUrlInBrowser(const std::string& address, std::string browserCommand,
                                  bool tryDde) {
  if (address.empty()) {
    ShowPlainMessage(platform_, GetMessageText(kMsgNoUrl));
    return;
  }
  std::string url = AddressWithSiteQuery(address, GetLanguage());
  const std::string service =
      settings_.ddeServerName.empty() ? std::string("IExplore") : settings_.ddeServerName;
  if (browserCommand.empty())
    (void)GetBrowserCommand(browserCommand);
  if (tryDde && settings_.useDdeToViewHtml && ShowByDde(*this, platform_, service, url))
    return;
  if (browserCommand.empty())
    return;
  if (url.find(' ') != std::string::npos)
    url = "\"" + url + "\"";
  std::replace(url.begin(), url.end(), '|', ':');
  int error = 0;
  if (!platform_.StartProcess(browserCommand, url, error))
    ShowLaunchFailure(platform_, browserCommand, url, error);
}

void BaseDialog::StartViewer(const std::string& fileName, std::string viewerCommand,
                             int (BaseDialog::*lookup)(std::string&)) {
  if (fileName.empty()) {
    ShowPlainMessage(platform_, GetMessageText(kMsgNoFileName));
    return;
  }
  const std::string argument = QuotedFileArgument(fileName);
  if (viewerCommand.empty())
    (void)(this->*lookup)(viewerCommand);
  int error = 0;
  if (!platform_.StartProcess(viewerCommand, argument, error))
    ShowLaunchFailure(platform_, viewerCommand, argument, error);
}

void BaseDialog::OpenPdfFileInViewer(const std::string& fileName,
                                     const std::string& viewerCommand) {
  StartViewer(fileName, viewerCommand, &BaseDialog::FindPdfViewerCommand);
}

void BaseDialog::OpenRtfFileInViewer(const std::string& fileName,
                                     const std::string& viewerCommand) {
  StartViewer(fileName, viewerCommand, &BaseDialog::FindRtfViewerCommand);
}

void BaseDialog::OpenTextFileInViewer(const std::string& fileName,
                                      const std::string& viewerCommand) {
  StartViewer(fileName, viewerCommand, &BaseDialog::FindRtfViewerCommand);
}

int BaseDialog::BrowseForFolder(const std::string& title, std::string& folder) {
  std::string chosen;
  if (!platform_.ChooseFolder(title, chosen) || chosen.empty())
    return 0;
  folder = chosen;
  return 1;
}
