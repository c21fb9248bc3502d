#pragma once

#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class FileControl;
class TextFile;

// The link dictionary of a policy set: texts that become links (match text, replacement
// text, address). Entries are kept and written back; linking a text with them waits for the
// line analysis (Apply says so by its result).
class LinkDictionary {
 public:
  struct Entry {
    TextString match;
    TextString replacement;
    TextString url;
    TextString anchorText;
    TextPosition first;
    TextPosition second;
    bool active = true;
  };

  LinkDictionary();
  LinkDictionary(const LinkDictionary&) = delete;  // owned by one policy set
  LinkDictionary& operator=(const LinkDictionary&) = delete;
  ~LinkDictionary();

  void Clear();
  int GetCount() const { return static_cast<int>(entries_.size()); }
  const Entry* pGetEntry(int index) const;

  // Non-zero when line is a link definition ("Link definition: "match" = "replacement" +
  // "url"": double-quoted fields 2, 4 and 6) with a match text and an address; adds it or
  // updates the entry with the same match. 0 otherwise.
  [[nodiscard]] int ParseDefinition(FileControl& fc, const TextString& line, int rebuild);
  // Reads a link dictionary file: "!" comments and "[section]" lines skipped, definitions
  // added. Other policy lines in the file are not taken yet. 0 with
  // "** Failed to open Link Dictionary file <path> ***" in errorText when it cannot be opened.
  [[nodiscard]] int LoadFile(FileControl& fc, const TextString& path, TextString& errorText);
  // One "Link definition: " line per active entry into writer, opening fileName when the
  // writer is not open. 0 on failure.
  [[nodiscard]] int Write(const TextString& fileName, TextFile& writer) const;
  void AddAll(FileControl& fc, const LinkDictionary& other);
  // Adds or updates (same match) one entry; non-zero on success (a match and an address).
  int AddOrUpdate(FileControl& fc, const TextString& match, const TextString& replacement,
                  const TextString& url, const TextString& anchorText, const TextPosition& first,
                  const TextPosition& second);
  // Links nothing yet: result = text; 1 when there is no active entry (nothing needed
  // replacing), else 0 (entries were not applied).
  int Apply(FileControl& fc, const TextString& text, TextString& result) const;

 private:
  Entry* FindByMatch(const TextString& match);

  std::vector<Entry> entries_;
};
