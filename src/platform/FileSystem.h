#pragma once

// Outcome of making one folder.
enum class MakeFolderResult {
  Made,         // created now
  Exists,       // a folder of that name is already there
  MissingPath,  // a parent folder does not exist
  Failed,       // any other refusal (permissions, a file of that name, ...)
};

// Makes one folder (not its parents). A null or empty name fails.
[[nodiscard]] MakeFolderResult MakeFolder(const char* path);
