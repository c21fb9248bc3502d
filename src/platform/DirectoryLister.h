#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One name found in a folder. "." and ".." are never reported.
struct DirectoryEntry {
  std::string name;
  bool isFolder = false;
  std::uint64_t size = 0;  // bytes; 0 for folders
};

// Enumerates the entries of one folder. The engine sees only this interface; tests may give
// a fake.
class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Fills out with the entries of folder (empty text = the current folder) in the order the
  // system delivers them. False, with out empty, when the folder cannot be read.
  [[nodiscard]] virtual bool List(const std::string& folder,
                                  std::vector<DirectoryEntry>& out) const = 0;
};

// POSIX listing. A symbolic link to a file counts as that file; a symbolic link to a folder
// is never reported as a folder, so a recursive walk cannot loop through links.
class PosixDirectoryLister : public DirectoryLister {
 public:
  [[nodiscard]] bool List(const std::string& folder,
                          std::vector<DirectoryEntry>& out) const override;
};

// The program's lister for real folders.
const DirectoryLister& SystemDirectoryLister();
