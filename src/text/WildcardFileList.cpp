#include "text/WildcardFileList.h"

#include <string>
#include <vector>

#include "platform/DirectoryLister.h"
#include "text/PathUtils.h"

namespace {

// Appended to wildcard and name alike, so a match must run to the very end of the name.
constexpr const char* kEndMarker = "_()_()_";

// A short name such as "REPORT~1" stands for a file whose long name the pattern would miss.
bool IsShortName(const TextString& baseName) {
  const int length = baseName.GetLength();
  return length >= 2 && baseName.CharAt(length - 2) == '~';
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

WildcardFileList::WildcardFileList() : lister_(SystemDirectoryLister()) {}

WildcardFileList::WildcardFileList(const DirectoryLister& lister) : lister_(lister) {}

WildcardFileList::~WildcardFileList() = default;

const char* WildcardFileList::GetFileName(int index) const {
  const StringListEntry* entry = files_.GetItem(index);
  return entry ? entry->text.GetText() : nullptr;
}

void WildcardFileList::Clear() {
  files_.Clear();
  emptyFiles_.Clear();
}

bool WildcardFileList::SetWildcard(const char* wildcard) {
  if (wildcard == nullptr || *wildcard == '\0') return false;
  TextString pattern(wildcard);
  pattern.ReplaceAll("*", "**", 0, 1);
  pattern.ReplaceAll("%", "%*", 0, 1);
  pattern.Append(kEndMarker);
  SetBusy(0);
  ClearPatterns();
  return AddPatternShort(kJReplace, pattern.GetText(), "", 0) != nullptr;
}

int WildcardFileList::MatchSetWildcard(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  TextString text(name);
  text.Append(kEndMarker);
  // The options a replacing scan runs with: a match starts where its first wildcard takes
  // a character, so a leading "*" reaches back to the start of the name.
  JScanOptions options;
  options.oneMatchPerPosition = 1;
  options.resetAfterReplacement = 1;
  options.startAtFirstWildcard = 1;
  SetBusy(1);
  const int handled = Scan(text.GetText(), &options, text.GetLength());
  SetBusy(0);
  return handled == 1 && GetResult().GetLength() == 0 ? 1 : 0;
}

int WildcardFileList::MatchName(const char* wildcard, const char* name) {
  if (name == nullptr || *name == '\0' || !SetWildcard(wildcard)) return 0;
  return MatchSetWildcard(name);
}

int WildcardFileList::MatchPath(const char* wildcardPath, const char* fileName) {
  TextString folder, baseName, extension;
  SplitPath(TextString(wildcardPath), folder, baseName, extension);
  const TextString wildcard = baseName.Concat(extension);
  SplitPath(TextString(fileName), folder, baseName, extension);
  const TextString name = baseName.Concat(extension);
  return MatchName(wildcard.GetText(), name.GetText());
}

void WildcardFileList::ListMatchingFiles(const TextString& wildcardPath, int subFolders,
                                         int index, int& folderCount, TextString& out) {
  out.Clear();
  if (index == 0) {
    if (folderCount == 0) Clear();
    ListFolder(wildcardPath, subFolders, folderCount);
  }
  const char* entry = GetFileName(index);
  if (entry != nullptr) out.Assign(entry);
}

void WildcardFileList::ListFolder(const TextString& wildcardPath, int subFolders,
                                  int& folderCount) {
  TextString folder, baseName, extension;
  SplitPath(wildcardPath, folder, baseName, extension);
  const TextString name = baseName.Concat(extension);
  const bool shortName = IsShortName(baseName);
  const char separator =
      folder.IsEmpty() || !IsSeparator(folder.CharAt(folder.GetLength() - 1))
          ? '/'
          : folder.CharAt(folder.GetLength() - 1);

  std::vector<DirectoryEntry> entries;
  if (!lister_.List(folder.GetText(), entries)) return;  // an unreadable folder adds nothing

  // The pattern is compiled once for the folder, not once for each of its files (a
  // sub-folder's listing sets the same one).
  const bool validWildcard = SetWildcard(name.GetText());
  TextString path, entryFolder, entryBase, entryExtension;
  for (const DirectoryEntry& entry : entries) {
    if (entry.isFolder) {
      if (!subFolders || entry.name.empty() || entry.name[0] == '.') continue;
      ++folderCount;
      path.Assign(folder);
      path.Append(entry.name.c_str());
      path.AppendChar(separator);
      path.Append(name);
      ListFolder(path, subFolders, folderCount);
      continue;
    }
    // The listing returns every file; a short name is taken when it is the file's own
    // name, as a search for that name would return it.
    bool taken = shortName && name.Compare(entry.name.c_str(), 0, 0);
    if (!taken && validWildcard) {
      SplitPath(TextString(entry.name.c_str()), entryFolder, entryBase, entryExtension);
      entryBase.Append(entryExtension);
      taken = MatchSetWildcard(entryBase.GetText()) == 1;
    }
    if (!taken) continue;
    path.Assign(folder);
    path.Append(entry.name.c_str());
    if (entry.size == 0) {
      emptyFiles_.Append(entry.name.c_str());
      continue;
    }
    files_.Append(path.GetText());
  }
}
