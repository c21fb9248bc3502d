#pragma once

#include <map>
#include <string>

// Program settings with the semantics of a registry of keys: a key is a path of names
// separated by "\" ("SOFTWARE\Maker\Product\Dialogs\Main\Left"), names compare without
// regard to ASCII case, and each key holds one default value text. Reads and writes never
// throw; a failed write leaves the store as it was.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // true with the value of the key; false when the key holds none.
  [[nodiscard]] virtual bool Read(const std::string& keyPath, std::string& value) const = 0;
  // Creates the key (and its parents) as needed and sets its value.
  [[nodiscard]] virtual bool Write(const std::string& keyPath, const std::string& value) = 0;
  // Many writes follow: they may be kept in memory until EndBatch. Batches nest.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
};

// The key of a path as stored: ASCII letters folded to lower case, "/" taken as "\", runs of
// separators and separators at either end dropped.
std::string NormaliseKeyPath(const std::string& keyPath);

// A store in memory only.
class MemorySettingsStore : public SettingsStore {
 public:
  [[nodiscard]] bool Read(const std::string& keyPath, std::string& value) const override;
  [[nodiscard]] bool Write(const std::string& keyPath, const std::string& value) override;
  // The number of keys holding a value.
  int Count() const { return static_cast<int>(values_.size()); }

 protected:
  struct Entry {
    std::string spelling;  // the path as first written
    std::string value;
  };
  // Keyed by NormaliseKeyPath.
  std::map<std::string, Entry> values_;
};

// The store kept in one text file. The file is read once when the store is built; every
// write (or every batch of writes) rewrites it whole through a temporary file in the same
// folder that is then renamed over it, so a crash leaves the old file or the new one, never
// half of one. A file that cannot be read as settings gives an empty store (every setting at
// its default) and a problem text; the damaged file is kept beside it under the suffix
// ".damaged" so that nothing of it is lost when the store is written again.
class FileSettingsStore : public MemorySettingsStore {
 public:
  explicit FileSettingsStore(std::string path);
  [[nodiscard]] bool Write(const std::string& keyPath, const std::string& value) override;
  void BeginBatch() override { ++batchDepth_; }
  void EndBatch() override;
  // Writes the file now; false when it could not be written.
  [[nodiscard]] bool Flush();

  const std::string& GetPath() const { return path_; }
  // Empty when the file was read (or did not exist); else what was wrong with it.
  const std::string& GetLoadProblem() const { return loadProblem_; }

  // The settings file of the program: $XDG_CONFIG_HOME/kelvane/settings, else
  // $HOME/.config/kelvane/settings.
  static std::string DefaultPath();

 private:
  void Load();

  std::string path_;
  std::string loadProblem_;
  int batchDepth_ = 0;
  bool dirty_ = false;
};
