#pragma once

#include <string>

class SettingsStore;

// The program's registry calls over the settings store. A value lives under root + key path
// + value path; the store answers for the current user's root. Failures are results, never
// messages: a missing value leaves the output unchanged.

// Where a key lives. Only the current user's keys are kept in the settings store; the file
// associations come from the desktop instead (DesktopPlatform::FindFileType), so reads
// under ClassesRoot find nothing.
enum class RegistryRoot : int { CurrentUser, ClassesRoot };

// The longest text a read takes (a longer one is refused).
inline constexpr int kRegistryReadLimit = 259;

// 1 with the value; 0, the text unchanged, when the key holds none or its text is longer
// than 259 characters.
int RegReadString(const SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                  const std::string& valuePath, std::string& text);
// 1 when written.
int RegWriteString(SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                   const std::string& valuePath, const std::string& text);
// The read's result; the integer is stored only when the text reads as a decimal integer
// (blanks around it allowed).
int RegReadInt(const SettingsStore& store, RegistryRoot root, const std::string& keyPath,
               const std::string& valuePath, int& value);
// Decimal text followed by one blank ("-1 ").
int RegWriteInt(SettingsStore& store, RegistryRoot root, const std::string& keyPath,
                const std::string& valuePath, int value);
// Entries "\MRU00" .. below the list's key; a missing entry becomes empty. Returns 1.
int RegReadRecentList(const SettingsStore& store, RegistryRoot root,
                      const std::string& listKeyPath, int count, std::string* entries);
int RegWriteRecentList(SettingsStore& store, RegistryRoot root, const std::string& listKeyPath,
                       int count, const std::string* entries);
