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

// What a name denotes, links followed.
enum class FileKind {
  Missing,  // nothing of that name can be examined
  Regular,  // an ordinary file
  Other,    // a folder, a device, a pipe, a socket: nothing a reader should take as text
};

// The kind of the file that path names. A null or empty name is Missing.
[[nodiscard]] FileKind GetFileKind(const char* path);

// True when both names exist and denote one file (the same device and inode), whatever their
// spelling: relative and absolute forms, "./" and "sub/../", symbolic and hard links. False
// when either name is null, empty or cannot be examined.
[[nodiscard]] bool IsSameExistingFile(const char* first, const char* second);
