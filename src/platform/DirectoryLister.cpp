#include "platform/DirectoryLister.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

namespace {

bool IsDotName(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

bool PosixDirectoryLister::List(const std::string& folder,
                                std::vector<DirectoryEntry>& out) const {
  out.clear();
  std::string base = folder.empty() ? std::string("./") : folder;
  // Names written with the other convention still reach the folder.
  for (char& c : base) {
    if (c == '\\') c = '/';
  }
  if (base.back() != '/') base.push_back('/');
  DIR* dir = opendir(base.c_str());
  if (dir == nullptr) return false;
  std::string path;
  while (const dirent* item = readdir(dir)) {
    if (IsDotName(item->d_name)) continue;
    path.assign(base).append(item->d_name);
    struct stat own {};
    if (lstat(path.c_str(), &own) != 0) continue;
    DirectoryEntry entry;
    entry.name = item->d_name;
    if (S_ISDIR(own.st_mode)) {
      entry.isFolder = true;
      out.push_back(std::move(entry));
      continue;
    }
    struct stat target = own;
    if (S_ISLNK(own.st_mode) && stat(path.c_str(), &target) != 0) continue;
    // A link to a folder is left out rather than followed: links may form loops.
    if (!S_ISREG(target.st_mode)) continue;
    entry.size = static_cast<std::uint64_t>(target.st_size);
    out.push_back(std::move(entry));
  }
  closedir(dir);
  return true;
}

const DirectoryLister& SystemDirectoryLister() {
  static const PosixDirectoryLister lister;
  return lister;
}
