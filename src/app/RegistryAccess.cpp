#include "app/RegistryAccess.h"

#include <cstdio>

#include "platform/SettingsStore.h"
#include "text/TextString.h"

int RegReadString(const SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                  const std::string& valuePath, std::string& text) {
  if (root != RegistryRoot::CurrentUser)
    return 0;
  std::string value;
  if (!store.Read(keyPath + valuePath, value))
    return 0;
  if (static_cast<int>(value.size()) > kRegistryReadLimit)
    return 0;
  // The stored text ends at its first NUL, as a registry string does.
  text = value.substr(0, value.find('\0'));
  return 1;
}

int RegWriteString(SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                   const std::string& valuePath, const std::string& text) {
  if (root != RegistryRoot::CurrentUser)
    return 0;
  return store.Write(keyPath + valuePath, text) ? 1 : 0;
}

int RegReadInt(const SettingsStore& store, RegistryRoot root, const std::string& keyPath,
               const std::string& valuePath, int& value) {
  std::string text;
  const int result = RegReadString(store, root, keyPath, valuePath, text);
  if (result == 0)
    return 0;
  int number = -1;
  if (TextString(text.c_str()).ParseNumber('1', &number))
    value = number;
  return result;
}

int RegWriteInt(SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                const std::string& valuePath, int value) {
  TextString text;
  text.AppendNumber('1', value, 1);
  return RegWriteString(store, root, keyPath, valuePath, text.GetText());
}

static std::string RecentEntryPath(const std::string& listKeyPath, int index) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "\\MRU%2.2u", static_cast<unsigned>(index));
  return listKeyPath + suffix;
}

int RegReadRecentList(const SettingsStore& store, RegistryRoot root,
                      const std::string& listKeyPath, int count, std::string* entries) {
  for (int i = 0; i < count; ++i) {
    entries[i].clear();
    (void)RegReadString(store, root, RecentEntryPath(listKeyPath, i), "", entries[i]);
  }
  return 1;
}

int RegWriteRecentList(SettingsStore& store, RegistryRoot root, const std::string& listKeyPath,
                       int count, const std::string* entries) {
  for (int i = 0; i < count; ++i)
    (void)RegWriteString(store, root, RecentEntryPath(listKeyPath, i), "", entries[i]);
  return 1;
}
