#pragma once

#include "text/JParser.h"
#include "text/StringList.h"
#include "text/TextString.h"

class DirectoryLister;

// The files an input specification names with wildcards, optionally searching sub-folders.
// Names are matched by the program's own pattern language ("*" any run, "%" one character,
// ASCII case ignored); the directory listing only supplies candidates. Empty files are left
// out and their names kept for the caller to report.
class WildcardFileList : public JParser {
 public:
  // Lists real folders through the system lister.
  WildcardFileList();
  // Lists folders through lister, which must outlive the list.
  explicit WildcardFileList(const DirectoryLister& lister);
  ~WildcardFileList() override;

  int GetFileCount() const { return files_.GetCount(); }
  int GetEmptyFileCount() const { return emptyFiles_.GetCount(); }
  // The names (without folder) of the empty files left out, in the order met.
  const StringList& GetEmptyFiles() const { return emptyFiles_; }
  // The full path at index, or null.
  const char* GetFileName(int index) const;
  const StringList& GetFiles() const { return files_; }
  // Empties the list and the empty-file count.
  void Clear();

  // 1 when name matches wildcard; 0 for a null or empty argument or an invalid wildcard.
  int MatchName(const char* wildcard, const char* name);
  // MatchName on the names (base name and extension) of both paths.
  int MatchPath(const char* wildcardPath, const char* fileName);

  // With index 0 builds the list (cleared first on the outermost call, folderCount 0);
  // folderCount counts the sub-folders entered and is kept by the caller across the
  // recursion. Then out = the entry at index, empty when there is none.
  void ListMatchingFiles(const TextString& wildcardPath, int subFolders, int index,
                         int& folderCount, TextString& out);

 private:
  void ListFolder(const TextString& wildcardPath, int subFolders, int& folderCount);
  // Makes wildcard the one pattern of the scanner; false for an empty or invalid wildcard.
  bool SetWildcard(const char* wildcard);
  // 1 when name matches the wildcard set last.
  int MatchSetWildcard(const char* name);

  const DirectoryLister& lister_;
  StringList files_;
  StringList emptyFiles_;
};
