// The main dialog's side of the settings and configuration pages: its program settings,
// lookups, policy file and recent lists.
#include "app/BaseDialog.h"
#include "app/MainDialogSheets.h"
#include "app/OxvDialog.h"
#include "platform/Menu.h"

// The member of a setting, const or not.
template <class Settings>
static auto FlagMember(Settings& settings, SettingFlag flag) -> decltype(&settings.dropViewResults) {
  switch (flag) {
    case SettingFlag::DropViewResults: return &settings.dropViewResults;
    case SettingFlag::DropViewStatusWindow: return &settings.dropViewStatusWindow;
    case SettingFlag::DropStartProgram: return &settings.dropStartProgram;
    case SettingFlag::UseDdeToViewHtml: return &settings.useDdeToViewHtml;
    case SettingFlag::AutoDdeUpdates: return &settings.autoDdeUpdates;
    case SettingFlag::AddUrlPrefix: return &settings.addUrlPrefix;
    case SettingFlag::UseDefaultPolicy: return &settings.useDefaultPolicy;
    case SettingFlag::AlwaysReloadPolicy: return &settings.alwaysReloadPolicy;
  }
  return nullptr;
}

template <class Settings>
static auto TextMember(Settings& settings, SettingText text) -> decltype(&settings.htmlDoco) {
  switch (text) {
    case SettingText::HtmlDoco: return &settings.htmlDoco;
    case SettingText::BrowserCommand: return &settings.browserCommand;
    case SettingText::ViewRtfCommand: return &settings.viewRtfCommand;
    case SettingText::DdeServerName: return &settings.ddeServerName;
    case SettingText::DdeWorking: return &settings.ddeWorking;
    case SettingText::DefaultPolicyFile: return &settings.defaultPolicyFile;
  }
  return nullptr;
}

static RecentList RecentListOf(ConfigFile file) {
  switch (file) {
    case ConfigFile::LinkDictionary: return RecentList::LinkDictionaryFile;
    case ConfigFile::StyleDefinition: return RecentList::StyleDefinitionFile;
    case ConfigFile::TableDefinition: return RecentList::TableDefinitionFile;
    case ConfigFile::TextSubstitution: return RecentList::TextSubstitutionFile;
  }
  return RecentList::LinkDictionaryFile;
}

int MainDialogSheets::GetSettingFlag(SettingFlag flag) const {
  return *FlagMember(dialog_.Settings(), flag);
}

void MainDialogSheets::SetSettingFlag(SettingFlag flag, int value) {
  *FlagMember(dialog_.Settings(), flag) = value;
}

std::string MainDialogSheets::GetSettingText(SettingText text) const {
  return *TextMember(dialog_.Settings(), text);
}

void MainDialogSheets::SetSettingText(SettingText text, const std::string& value) {
  *TextMember(dialog_.Settings(), text) = value;
}

std::string MainDialogSheets::GetLocalHelpPath() const {
  std::string path;
  return dialog_.GetLocalHelpPath(path) ? path : std::string();
}

std::string MainDialogSheets::FindBrowserCommand() {
  // The registered program only: the full lookup opens this very page when it finds none.
  std::string command;
  return dialog_.FindViewerCommand(command, ".html", ".htm") ? command : std::string();
}

std::string MainDialogSheets::FindRtfViewerCommand() {
  std::string command;
  return dialog_.FindRtfViewerCommand(command) ? command : std::string();
}

std::string MainDialogSheets::GetPolicyFileName() const { return dialog_.GetPolicyFileName(); }

void MainDialogSheets::SetPolicyFileName(const std::string& name) {
  dialog_.SetPolicyFileName(name);
}

int MainDialogSheets::LoadPolicyFile(int report) { return dialog_.LoadPolicyFile(report ? 0 : 1); }

void MainDialogSheets::CheckMenuCommand(int commandId, bool checked) {
  auto* main = dynamic_cast<OxvDialog*>(&dialog_);
  DialogWindow* window = main != nullptr ? main->GetWindow() : nullptr;
  Menu* bar = window != nullptr ? window->GetMenuBar() : nullptr;
  if (bar != nullptr)
    (void)bar->CheckCommand(commandId, checked);
}

std::string MainDialogSheets::GetInputDir() const { return dialog_.GetInputDir(); }

std::span<std::string> MainDialogSheets::RecentNames(ConfigFile file) {
  return std::span<std::string>(dialog_.Settings().Recent(RecentListOf(file)).data(),
                                kRecentNames);
}

void MainDialogSheets::SetCurrentName(ConfigFile file, const std::string& name) {
  currentNames_[static_cast<std::size_t>(file)] = name;
}

std::string MainDialogSheets::GetCurrentName(ConfigFile file) const {
  return currentNames_[static_cast<std::size_t>(file)];
}
