#pragma once

#include <span>
#include <string>

// The program settings the settings pages edit, by their registry value names.
enum class SettingFlag : int {
  DropViewResults,       // "\DragAndDrop\ViewResults"
  DropViewStatusWindow,  // "\DragAndDrop\ViewStatusWindow"
  DropStartProgram,      // "\DragAndDrop\StartProgram"
  UseDdeToViewHtml,      // "\UseDDEToViewHTML"
  AutoDdeUpdates,        // "\AutoDDEUpdates"
  AddUrlPrefix,          // "\AddURLPrefix"
  UseDefaultPolicy,      // "\DefaultPolicy\Used"
  AlwaysReloadPolicy,    // "\DefaultPolicy\AlwaysReload"
};

enum class SettingText : int {
  HtmlDoco,           // "\HTMLDoco"
  BrowserCommand,     // "\BrowserCommand"
  ViewRtfCommand,     // "\ViewRTFCommand"
  DdeServerName,      // "\DDEServerName"
  DdeWorking,         // "\DDEWorking"
  DefaultPolicyFile,  // "\DefaultPolicy\File"
};

// The configuration files a page of the configuration sheet chooses: each has a recent list
// of the main dialog and a current name.
enum class ConfigFile : int {
  LinkDictionary,    // "\LinkDictionaryFile"
  StyleDefinition,   // "\StyleDefinitionFile"
  TableDefinition,   // "\TableDefinitionFile"
  TextSubstitution,  // "\TextSubstitutionFile"
};

// What the settings and configuration pages need of the main dialog beyond SheetHost: its
// program settings, lookups, policy file and recent lists. The main dialog implements it.
class PageServices {
 public:
  virtual ~PageServices() = default;

  virtual int GetSettingFlag(SettingFlag flag) const = 0;
  virtual void SetSettingFlag(SettingFlag flag, int value) = 0;
  virtual std::string GetSettingText(SettingText text) const = 0;
  virtual void SetSettingText(SettingText text, const std::string& value) = 0;

  // The default location of the documentation; empty when it cannot be had.
  virtual std::string GetLocalHelpPath() const = 0;
  // The browser and RTF viewer registered on this machine; empty when none is.
  virtual std::string FindBrowserCommand() = 0;
  virtual std::string FindRtfViewerCommand() = 0;

  // The name of the main dialog's policy-file box, and loading it (1 on success; an empty
  // name fails). report: the loading is told in the status window.
  virtual std::string GetPolicyFileName() const = 0;
  virtual void SetPolicyFileName(const std::string& name) = 0;
  virtual int LoadPolicyFile(int report) = 0;

  // The check mark of a main-menu item.
  virtual void CheckMenuCommand(int commandId, bool checked) = 0;

  // The main dialog's input folder (ending in a separator, or empty).
  virtual std::string GetInputDir() const = 0;
  // The recent list of a configuration file: its ten names, most recent first, empty
  // places empty.
  virtual std::span<std::string> RecentNames(ConfigFile file) = 0;
  virtual void SetCurrentName(ConfigFile file, const std::string& name) = 0;
  virtual std::string GetCurrentName(ConfigFile file) const = 0;
};
