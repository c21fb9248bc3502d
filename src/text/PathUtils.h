#pragma once

#include "text/TextString.h"

// Stateless helpers for file and folder names. Both "/" and "\" separate folders, so names
// written in files from either convention are understood; "../" and "..\" both climb one
// folder. A path is absolute when it starts with a separator or carries a drive form
// ("C:\", "C:/").

// Splits a path into folder (up to and including the last separator), base name and
// extension (the last "."-field of the name with its "."; empty for a name ending in ".").
// All three are emptied first. A name ".abc" gives an empty base name and extension ".abc".
void SplitPath(const TextString& path, TextString& folder, TextString& baseName,
               TextString& extension);

// The path up to and including its last "/", "\" or "]"; empty when there is none.
void ExtractFolder(const char* path, TextString& folder);
void ExtractFolder(const TextString& path, TextString& folder);

// False for an absolute path (see above).
bool IsRelativePath(const TextString& path);

// Resolves path against baseFolder (which ends with a separator):
// - a bare name, or a relative path without parent steps: baseFolder + path;
// - with parent steps: each "../" ("..\") is removed and climbs one folder of baseFolder;
//   climbing stops at the root of an absolute base (or at the start of a relative one);
// - an absolute path without parent steps: unchanged.
void ResolveRelativePath(const TextString& baseFolder, const TextString& path, TextString& out);

// Makes a folder and, when its parent is missing, every missing folder on the way.
// 1 when the folder exists afterwards (made now or before), 0 otherwise.
[[nodiscard]] int CreateFolderPath(const TextString& path);

// Lower-cases the name and replaces what file systems or links dislike: accented
// Windows-1252 vowels become their plain vowel, other bytes from 128 up and the characters
// blank ! " % & ' * : < > ? become "_". Separators, dots and hyphens stay.
void MakeSafeFileName(TextString& name);

// A name of 9 or more characters becomes its first 3 characters and a 5-digit checksum of
// the whole name; shorter names stay.
void ShortenName(TextString& name);
