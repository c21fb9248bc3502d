#include "text/PathUtils.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"

static bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Offset of the last separator, or -1.
static int LastSeparator(const char* text, int length) {
  for (int i = length - 1; i >= 0; --i) {
    if (IsSeparator(text[i]))
      return i;
  }
  return -1;
}

void SplitPath(const TextString& path, TextString& folder, TextString& baseName,
               TextString& extension) {
  folder.SetEmpty();
  baseName.SetEmpty();
  extension.SetEmpty();
  if (path.IsEmpty())
    return;
  const char* text = path.GetText();
  const int length = path.GetLength();
  // A leading separator counts too: "/x.txt" lies in the root folder.
  const int nameStart = LastSeparator(text, length) + 1;
  folder.AssignBytes(text, nameStart);

  const char* name = text + nameStart;
  const int nameLength = length - nameStart;
  const char* lastDot = nullptr;
  for (int i = nameLength - 1; i >= 0; --i) {
    if (name[i] == '.') {
      lastDot = name + i;
      break;
    }
  }
  const bool dotEndsName = lastDot != nullptr && lastDot == name + nameLength - 1;
  if (lastDot == nullptr || dotEndsName) {
    baseName.AssignBytes(name, nameLength);
    return;
  }
  const int baseLength = static_cast<int>(lastDot - name);
  baseName.AssignBytes(name, baseLength);
  extension.AssignBytes(lastDot, nameLength - baseLength);
}

void ExtractFolder(const char* path, TextString& folder) {
  folder.SetEmpty();
  if (path == nullptr)
    return;
  const int length = static_cast<int>(std::strlen(path));
  for (int i = length - 1; i >= 0; --i) {
    if (IsSeparator(path[i]) || path[i] == ']') {
      folder.AssignBytes(path, i + 1);
      return;
    }
  }
}

void ExtractFolder(const TextString& path, TextString& folder) {
  ExtractFolder(path.GetText(), folder);
}

// A leading separator, or a drive form ("C:\", "C:/") anywhere, as names written in files
// may carry text before it.
static bool IsAbsolute(const TextString& path) {
  if (IsSeparator(path.CharAt(0)))
    return true;
  const char* text = path.GetText();
  return std::strstr(text, ":\\") != nullptr || std::strstr(text, ":/") != nullptr;
}

bool IsRelativePath(const TextString& path) { return !IsAbsolute(path); }

static bool HasParentStep(const TextString& path) {
  const char* text = path.GetText();
  return std::strstr(text, "../") != nullptr || std::strstr(text, "..\\") != nullptr;
}

// Removes the parent steps ("../" and "..\\") from text: a step after a folder of text
// cancels that folder ("sub/../x" is "x"); the steps left over climb the base folder, and
// their number is returned.
static int RemoveParentSteps(TextString& text) {
  int count = 0;
  int write = 0;
  char* buffer = text.GetBuffer();
  const int length = text.GetLength();
  std::vector<int> folderStarts;  // where each folder kept in buffer begins
  for (int read = 0; read < length;) {
    if (read + 2 < length && buffer[read] == '.' && buffer[read + 1] == '.' &&
        IsSeparator(buffer[read + 2])) {
      if (folderStarts.empty()) {
        ++count;
      } else {
        write = folderStarts.back();
        folderStarts.pop_back();
      }
      read += 3;
      continue;
    }
    // One folder or the final name, copied with its separator.
    const int segmentStart = write;
    while (read < length && !IsSeparator(buffer[read]))
      buffer[write++] = buffer[read++];
    if (read < length) {
      buffer[write++] = buffer[read++];
      // The root or a drive ("/", "C:\\") is no folder that a step can cancel.
      const int segmentLength = write - segmentStart;
      const bool root = segmentLength == 1 ||
                        (segmentLength == 3 && buffer[segmentStart + 1] == ':');
      if (!root)
        folderStarts.push_back(segmentStart);
    }
  }
  if (buffer != nullptr)
    buffer[write] = '\0';
  text.SetLength(write);
  return count;
}

// Length of the prefix of text that ends just after its n-th separator (n >= 1), or 0.
static int PrefixThroughSeparator(const TextString& text, int n) {
  if (n <= 0)
    return 0;
  int seen = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (!IsSeparator(text.CharAt(i)))
      continue;
    if (++seen == n)
      return i + 1;
  }
  return text.GetLength();
}

void ResolveRelativePath(const TextString& baseFolder, const TextString& path, TextString& out) {
  TextString folder;
  TextString baseName;
  TextString extension;
  SplitPath(path, folder, baseName, extension);

  const bool parentSteps = HasParentStep(path);
  if (folder.IsEmpty() || (!parentSteps && IsRelativePath(path))) {
    out = baseFolder.Concat(path);
    return;
  }
  if (!parentSteps) {
    out = path;
    return;
  }

  TextString rest(path);
  const int steps = RemoveParentSteps(rest);
  if (steps == 0) {
    // Every step cancelled a folder of the path itself.
    out = IsAbsolute(rest) ? rest : baseFolder.Concat(rest);
    return;
  }
  int separators = 0;
  for (int i = 0; i < baseFolder.GetLength(); ++i) {
    if (IsSeparator(baseFolder.CharAt(i)))
      ++separators;
  }
  // More steps than folders stop at the root ("/" or "C:\"), which an absolute base keeps;
  // a relative base can only be climbed to its start.
  const int minimumKept = IsAbsolute(baseFolder) ? 1 : 0;
  int kept = separators - steps;
  if (kept < minimumKept)
    kept = minimumKept;
  out.AssignBytes(baseFolder.GetText(), PrefixThroughSeparator(baseFolder, kept));
  out.Append(rest);
}

// The root or drive field with which an absolute path begins ("" before "/", or "C:").
static bool IsRootField(const TextString& field) {
  return field.IsEmpty() || (field.GetLength() == 2 && field.CharAt(1) == ':');
}

static bool FolderIsThere(MakeFolderResult result) {
  return result == MakeFolderResult::Made || result == MakeFolderResult::Exists;
}

int CreateFolderPath(const TextString& path) {
  const MakeFolderResult first = MakeFolder(path.GetText());
  if (FolderIsThere(first))
    return 1;
  if (first != MakeFolderResult::MissingPath)
    return 0;

  // Make each folder on the way, one more field at a time, below the root or drive.
  TextString prefix;
  TextString field;
  MakeFolderResult last = first;
  const int length = path.GetLength();
  bool leading = true;
  for (int start = 0; start < length;) {
    int end = start;
    while (end < length && !IsSeparator(path.CharAt(end)))
      ++end;
    field.AssignBytes(path.GetText() + start, end - start);
    const char separator = end < length ? path.CharAt(end) : '/';
    start = end + 1;
    const bool isLeading = leading;
    leading = false;
    if (!isLeading && field.IsEmpty())
      continue;  // a doubled separator
    prefix.Append(field);
    prefix.AppendChar(separator);
    if (isLeading && IsRootField(field))
      continue;  // the root or drive itself is not made
    last = MakeFolder(prefix.GetText());
    if (!FolderIsThere(last))
      return 0;
  }
  return FolderIsThere(last) ? 1 : 0;
}

// What each byte becomes in a safe file name (after lower-casing); 0 keeps the byte.
static constexpr std::array<char, 256> MakeSafeNameTable() {
  std::array<char, 256> table{};
  for (int c = 128; c < 256; ++c)
    table[c] = '_';
  for (const char c : {' ', '!', '"', '%', '&', '\'', '*', ':', '<', '>', '?'})
    table[static_cast<unsigned char>(c)] = '_';
  const struct {
    int first;
    int last;
    char vowel;
  } vowels[] = {
      {0xC0, 0xC2, 'a'}, {0xC4, 0xC4, 'a'}, {0xE0, 0xE2, 'a'}, {0xE4, 0xE4, 'a'},
      {0xC8, 0xCB, 'e'}, {0xE8, 0xEB, 'e'}, {0xCC, 0xCF, 'i'}, {0xEC, 0xEF, 'i'},
      {0xD2, 0xD4, 'o'}, {0xD6, 0xD6, 'o'}, {0xF2, 0xF4, 'o'}, {0xF6, 0xF6, 'o'},
      {0xD9, 0xDC, 'u'}, {0xF9, 0xFC, 'u'},
  };
  for (const auto& range : vowels) {
    for (int c = range.first; c <= range.last; ++c)
      table[c] = range.vowel;
  }
  return table;
}

static constexpr std::array<char, 256> kSafeName = MakeSafeNameTable();

void MakeSafeFileName(TextString& name) {
  name.ToLower();
  char* buffer = name.GetBuffer();
  for (int i = 0; i < name.GetLength(); ++i) {
    const char replacement = kSafeName[static_cast<unsigned char>(buffer[i])];
    if (replacement != 0)
      buffer[i] = replacement;
  }
}

void ShortenName(TextString& name) {
  const int length = name.GetLength();
  if (length < 9)
    return;
  long long sum = 0;  // bytes count as signed values
  for (int i = 0; i < length; ++i)
    sum += static_cast<signed char>(name.CharAt(i)) - 65;
  // C++ remainder keeps the sign of the dividend, as the checksum form requires.
  const int checksum = static_cast<int>((sum - 1) % 10000) + 1;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%5.5i", checksum);
  digits[5] = '\0';  // a negative checksum gives six characters; five are kept
  name.Truncate(3);
  name.Append(digits);
}
