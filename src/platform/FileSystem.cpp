#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>

// A file of the same name also gives "exists"; only a folder may count as one.
static bool IsFolder(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

MakeFolderResult MakeFolder(const char* path) {
  if (path == nullptr || path[0] == '\0')
    return MakeFolderResult::Failed;
  if (mkdir(path, 0777) == 0)
    return MakeFolderResult::Made;
  if (errno == EEXIST)
    return IsFolder(path) ? MakeFolderResult::Exists : MakeFolderResult::Failed;
  if (errno == ENOENT)
    return MakeFolderResult::MissingPath;
  return MakeFolderResult::Failed;
}

FileKind GetFileKind(const char* path) {
  struct stat info {};
  if (path == nullptr || path[0] == '\0' || stat(path, &info) != 0)
    return FileKind::Missing;
  return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

bool IsSameExistingFile(const char* first, const char* second) {
  if (first == nullptr || second == nullptr || first[0] == '\0' || second[0] == '\0')
    return false;
  struct stat a {};
  struct stat b {};
  if (stat(first, &a) != 0 || stat(second, &b) != 0)
    return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
