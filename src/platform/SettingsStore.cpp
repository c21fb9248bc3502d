#include "platform/SettingsStore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

static constexpr const char* kHeader = "# Kelvane settings 1";

std::string NormaliseKeyPath(const std::string& keyPath) {
  std::string key;
  key.reserve(keyPath.size());
  for (char c : keyPath) {
    if (c == '/')
      c = '\\';
    if (c == '\\' && (key.empty() || key.back() == '\\'))
      continue;
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    key.push_back(c);
  }
  if (!key.empty() && key.back() == '\\')
    key.pop_back();
  return key;
}

// A key path is one line of the file: control characters would break it.
static bool IsStorableKey(const std::string& keyPath) {
  if (keyPath.empty())
    return false;
  for (char c : keyPath) {
    if (static_cast<unsigned char>(c) < 0x20)
      return false;
  }
  return true;
}

bool MemorySettingsStore::Read(const std::string& keyPath, std::string& value) const {
  const auto found = values_.find(NormaliseKeyPath(keyPath));
  if (found == values_.end())
    return false;
  value = found->second.value;
  return true;
}

bool MemorySettingsStore::Write(const std::string& keyPath, const std::string& value) {
  if (!IsStorableKey(keyPath) || NormaliseKeyPath(keyPath).empty())
    return false;
  Entry& entry = values_[NormaliseKeyPath(keyPath)];
  if (entry.spelling.empty())
    entry.spelling = keyPath;
  entry.value = value;
  return true;
}

// ---- The file form: a header line, then one "key<TAB>value" line per key; the value's
// backslashes, tabs, line feeds, carriage returns and NUL bytes are escaped. ----

static void AppendEscaped(std::string& out, const std::string& value) {
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\0': out += "\\0"; break;
      default: out.push_back(c); break;
    }
  }
}

// false for an escape the writer never makes.
static bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size())
      return false;
    switch (text[i]) {
      case '\\': out.push_back('\\'); break;
      case 't': out.push_back('\t'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case '0': out.push_back('\0'); break;
      default: return false;
    }
  }
  return true;
}

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) { Load(); }

std::string FileSettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  fs::path folder;
  if (config != nullptr && config[0] == '/') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = fs::path(home != nullptr && home[0] != '\0' ? home : ".") / ".config";
  }
  return (folder / "kelvane" / "settings").string();
}

void FileSettingsStore::Load() {
  std::ifstream in(path_, std::ios::binary);
  if (!in)
    return;  // no file: a first start
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string problem;
  std::size_t from = 0;
  int lineNumber = 0;
  std::string value;
  while (from < bytes.size() && problem.empty()) {
    std::size_t end = bytes.find('\n', from);
    if (end == std::string::npos)
      end = bytes.size();
    const std::string_view line(bytes.data() + from, end - from);
    from = end + 1;
    ++lineNumber;
    if (lineNumber == 1) {
      if (line != kHeader)
        problem = "line 1 is not the settings header";
      continue;
    }
    if (line.empty())
      continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0 || !Unescape(line.substr(tab + 1), value)) {
      problem = "line " + std::to_string(lineNumber) + " is damaged";
      continue;
    }
    const std::string key(line.substr(0, tab));
    if (!MemorySettingsStore::Write(key, value))
      problem = "line " + std::to_string(lineNumber) + " is damaged";
  }
  if (lineNumber == 0 && !bytes.empty())
    problem = "it is not a settings file";
  if (problem.empty())
    return;
  values_.clear();
  std::error_code error;
  const std::string keep = path_ + ".damaged";
  fs::copy_file(path_, keep, fs::copy_options::overwrite_existing, error);
  loadProblem_ = "The settings file " + path_ + " could not be read (" + problem +
                 "): the default settings apply.";
  if (!error)
    loadProblem_ += " The damaged file was kept as " + keep + ".";
}

bool FileSettingsStore::Write(const std::string& keyPath, const std::string& value) {
  if (!MemorySettingsStore::Write(keyPath, value))
    return false;
  dirty_ = true;
  if (batchDepth_ > 0)
    return true;
  return Flush();
}

void FileSettingsStore::EndBatch() {
  if (batchDepth_ > 0 && --batchDepth_ == 0 && dirty_)
    (void)Flush();
}

bool FileSettingsStore::Flush() {
  std::string text(kHeader);
  text.push_back('\n');
  for (const auto& [key, entry] : values_) {
    text += entry.spelling;
    text.push_back('\t');
    AppendEscaped(text, entry.value);
    text.push_back('\n');
  }
  const fs::path target(path_);
  std::error_code error;
  if (target.has_parent_path())
    fs::create_directories(target.parent_path(), error);
  // The temporary file lies in the target's folder, so the rename never crosses devices.
  const std::string temporary = path_ + ".tmp-" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  dirty_ = false;
  return true;
}
