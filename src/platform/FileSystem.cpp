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
