#include "platform/DesktopAssociations.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "platform/FileSystem.h"

static std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? std::string(value) : fallback;
}

// The parts of a colon-separated folder list; empty parts are skipped.
static std::vector<std::string> SplitFolderList(const std::string& list) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  while (from <= list.size()) {
    const std::size_t end = std::min(list.find(':', from), list.size());
    if (end > from)
      parts.push_back(list.substr(from, end - from));
    from = end + 1;
  }
  return parts;
}

XdgFolders XdgFolders::FromEnvironment() {
  const std::string home = EnvOr("HOME", "");
  XdgFolders folders;
  folders.configHome = EnvOr("XDG_CONFIG_HOME", home + "/.config");
  folders.configDirs = SplitFolderList(EnvOr("XDG_CONFIG_DIRS", "/etc/xdg"));
  folders.dataHome = EnvOr("XDG_DATA_HOME", home + "/.local/share");
  folders.dataDirs = SplitFolderList(EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
  folders.searchPath = EnvOr("PATH", "/usr/local/bin:/usr/bin:/bin");
  return folders;
}

// The data folders, the user's first.
static std::vector<std::string> DataFolders(const XdgFolders& folders) {
  std::vector<std::string> all;
  if (!folders.dataHome.empty())
    all.push_back(folders.dataHome);
  all.insert(all.end(), folders.dataDirs.begin(), folders.dataDirs.end());
  return all;
}

static std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

static bool EqualsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (fold(x) != fold(y))
      return false;
  }
  return true;
}

// ---- MIME types of extensions ----

namespace {

// The best glob found so far: an exact match beats a case-folded one, then the weight.
struct GlobMatch {
  std::string mimeType;
  int weight = -1;
  bool exact = false;

  void Offer(const std::string& type, int offeredWeight, bool offeredExact) {
    const bool better = mimeType.empty() || (offeredExact && !exact) ||
                        (offeredExact == exact && offeredWeight > weight);
    if (!better)
      return;
    mimeType = type;
    weight = offeredWeight;
    exact = offeredExact;
  }
};

}  // namespace

// Reads one glob file: "weight:type:glob[:flags]" (globs2) or "type:glob" (globs). false when
// the file cannot be read.
static bool ReadGlobFile(const std::string& path, bool weighted, const std::string& wanted,
                         GlobMatch& best) {
  std::ifstream in(path);
  if (!in)
    return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::vector<std::string> fields;
    std::size_t from = 0;
    while (true) {
      const std::size_t colon = line.find(':', from);
      fields.push_back(line.substr(from, colon == std::string::npos ? colon : colon - from));
      if (colon == std::string::npos)
        break;
      from = colon + 1;
    }
    const std::size_t base = weighted ? 1 : 0;
    if (fields.size() < base + 2)
      continue;
    const int weight = weighted ? std::atoi(fields[0].c_str()) : 50;
    const std::string& type = fields[base];
    const std::string& glob = fields[base + 1];
    const bool caseSensitive =
        fields.size() > base + 2 && fields[base + 2].find("cs") != std::string::npos;
    if (glob == wanted)
      best.Offer(type, weight, true);
    else if (!caseSensitive && EqualsFolded(glob, wanted))
      best.Offer(type, weight, false);
  }
  return true;
}

std::string XdgMimeTypeOfExtension(const XdgFolders& folders, const std::string& extension) {
  if (extension.size() < 2 || extension[0] != '.')
    return {};
  const std::string wanted = "*" + extension;
  GlobMatch best;
  for (const std::string& folder : DataFolders(folders)) {
    if (!ReadGlobFile(folder + "/mime/globs2", true, wanted, best))
      (void)ReadGlobFile(folder + "/mime/globs", false, wanted, best);
  }
  return best.mimeType;
}

// ---- Default applications ----

// The value of key in group of an ini-style file; false when the file, group or key is not
// there.
static bool ReadIniValue(const std::string& path, std::string_view group, std::string_view key,
                         std::string& value) {
  std::ifstream in(path);
  if (!in)
    return false;
  std::string line;
  bool inGroup = false;
  while (std::getline(in, line)) {
    const std::string text = Trimmed(line);
    if (text.empty() || text[0] == '#')
      continue;
    if (text[0] == '[') {
      inGroup = text == "[" + std::string(group) + "]";
      continue;
    }
    if (!inGroup)
      continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || Trimmed(std::string_view(text).substr(0, equals)) != key)
      continue;
    value = Trimmed(std::string_view(text).substr(equals + 1));
    return true;
  }
  return false;
}

// The file of an installed desktop entry id; empty when none of the data folders holds it.
static std::string FindDesktopEntry(const XdgFolders& folders, const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos)
    return {};
  for (const std::string& folder : DataFolders(folders)) {
    const std::string path = folder + "/applications/" + id;
    if (GetFileKind(path.c_str()) == FileKind::Regular)
      return path;
  }
  return {};
}

// The first installed entry of a ";"-separated list of desktop entry ids.
static std::string FirstInstalledEntry(const XdgFolders& folders, const std::string& ids) {
  std::size_t from = 0;
  while (from < ids.size()) {
    const std::size_t end = std::min(ids.find(';', from), ids.size());
    const std::string id = Trimmed(std::string_view(ids).substr(from, end - from));
    const std::string path = FindDesktopEntry(folders, id);
    if (!path.empty())
      return path;
    from = end + 1;
  }
  return {};
}

std::string XdgDefaultApplicationEntry(const XdgFolders& folders, const std::string& mimeType) {
  if (mimeType.empty())
    return {};
  std::vector<std::string> lists;
  if (!folders.configHome.empty())
    lists.push_back(folders.configHome + "/mimeapps.list");
  for (const std::string& folder : folders.configDirs)
    lists.push_back(folder + "/mimeapps.list");
  const std::vector<std::string> data = DataFolders(folders);
  for (const std::string& folder : data)
    lists.push_back(folder + "/applications/mimeapps.list");
  for (const std::string& folder : data)
    lists.push_back(folder + "/applications/defaults.list");
  for (const char* group : {"Default Applications", "Added Associations"}) {
    for (const std::string& list : lists) {
      std::string ids;
      if (!ReadIniValue(list, group, mimeType, ids))
        continue;
      const std::string path = FirstInstalledEntry(folders, ids);
      if (!path.empty())
        return path;
    }
  }
  for (const std::string& folder : data) {
    std::string ids;
    if (!ReadIniValue(folder + "/applications/mimeinfo.cache", "MIME Cache", mimeType, ids))
      continue;
    const std::string path = FirstInstalledEntry(folders, ids);
    if (!path.empty())
      return path;
  }
  return {};
}

// ---- Desktop entries ----

std::string XdgDesktopEntryExec(const std::string& entryPath) {
  std::string raw;
  if (!ReadIniValue(entryPath, "Desktop Entry", "Exec", raw))
    return {};
  std::string exec;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      exec.push_back(raw[i]);
      continue;
    }
    const char next = raw[++i];
    switch (next) {
      case 's': exec.push_back(' '); break;
      case 'n': exec.push_back('\n'); break;
      case 't': exec.push_back('\t'); break;
      case 'r': exec.push_back('\r'); break;
      case '\\': exec.push_back('\\'); break;
      default:
        exec.push_back('\\');
        exec.push_back(next);
        break;
    }
  }
  return exec;
}

// The words of an Exec value: blank-separated, a word in double quotes may hold blanks and
// the escapes \" \` \$ \\.
static std::vector<std::string> ExecWords(const std::string& exec) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < exec.size()) {
    if (exec[i] == ' ' || exec[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t') {
      if (exec[i] != '"') {
        word.push_back(exec[i++]);
        continue;
      }
      for (++i; i < exec.size() && exec[i] != '"'; ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size())
          ++i;
        word.push_back(exec[i]);
      }
      ++i;  // the closing quote
    }
    words.push_back(word);
  }
  return words;
}

// The full name of a program: as given when it names a folder, else the first executable
// file of that name in the search path; empty when there is none.
static std::string ResolveProgram(const std::string& program, const std::string& searchPath) {
  if (program.find('/') != std::string::npos)
    return program;
  for (const std::string& folder : SplitFolderList(searchPath)) {
    const std::string path = folder + "/" + program;
    if (GetFileKind(path.c_str()) == FileKind::Regular && access(path.c_str(), X_OK) == 0)
      return path;
  }
  return {};
}

// A word with its field codes replaced; "%1" marks the file.
static std::string ReplaceFieldCodes(const std::string& word) {
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%' || i + 1 == word.size()) {
      out.push_back(word[i]);
      continue;
    }
    const char code = word[++i];
    switch (code) {
      case 'f': case 'F': case 'u': case 'U': out += "%1"; break;
      case '%': out.push_back('%'); break;
      default: break;  // %i %c %k and the deprecated codes carry nothing here
    }
  }
  return out;
}

std::string XdgExecToCommand(const std::string& exec, const std::string& searchPath) {
  const std::vector<std::string> words = ExecWords(exec);
  if (words.empty())
    return {};
  const std::string program = ResolveProgram(words[0], searchPath);
  if (program.empty())
    return {};
  std::string command = "\"" + program + "\"";
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string word = ReplaceFieldCodes(words[i]);
    if (word.empty())
      continue;
    const bool quote = word == "%1" || word.find_first_of(" \t") != std::string::npos;
    command += quote ? " \"" + word + "\"" : " " + word;
  }
  return command;
}

std::string XdgOpenCommand(const XdgFolders& folders, const std::string& mimeType) {
  const std::string entry = XdgDefaultApplicationEntry(folders, mimeType);
  if (entry.empty())
    return {};
  return XdgExecToCommand(XdgDesktopEntryExec(entry), folders.searchPath);
}
