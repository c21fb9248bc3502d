#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;

// The kind of an entry added as a link target rather than as a heading line.
inline constexpr int kAnchorEntryKind = -3;

// The comparison key of a text: Windows-1252 punctuation made ASCII (en and em dashes kept
// only for HTML output), the characters < > & ` ' " * _ ( ) [ ] removed, trimmed, blank runs
// collapsed, ASCII lower case. An empty text gives an empty key.
void MakeHeadingKey(Context& ctx, const TextString& text, TextString& key);
// The same for a given output type (kOutputHtml keeps the dashes).
void MakeHeadingKey(int outputType, const TextString& text, TextString& key);

// 151-156 (contents headings) become 101-106; other types come back unchanged.
int ContentsTypeToHeadingType(int type);

// One heading, anchor or contents line with the normalised forms of its text. Keys are made
// once, when the entry is added.
struct HeadingEntry {
  // The line type, or kAnchorEntryKind.
  int kind = kAnchorEntryKind;
  TextString lineText;        // blanks collapsed and trimmed
  TextString headingText;     // blanks collapsed and trimmed
  TextString unnumberedText;  // for 101-106 the heading text without its section number
  TextString linkName;        // with "_" and the duplicate count when there were duplicates
  TextString lineKey;
  TextString textKey;
  TextString unnumberedKey;
  TextString linkKey;  // made before the duplicate suffix was appended
  TextString plainKey;  // key of the line text without its HTML tags
  TextString sectionNumber;  // first word of the heading text, tidied
  TextString secondWord;     // second word of the heading text, tidied
  // 1 when that key equals the text key byte for byte.
  int lineKeySame = 0;
  int unnumberedKeySame = 0;
  int linkKeySame = 0;
  int plainKeySame = 0;
  TextString filePart;  // output file part the heading falls in
  TextString spareText;
  TextString firstExtra;
  TextString thirdExtra;
  TextString secondExtra;
  TextPosition position;
  int spareInteger = 0;
  int id = -1;  // 1-based place in its list
  int duplicateCount = 0;
  // The heading's bookmark and help footnotes have been written.
  int footnotesWritten = 0;

  // 1 when key matches this entry: exactly (ASCII case ignored) the text key, or the line or
  // plain key where they differ from the text key, and at level 1 also a non-empty differing
  // link key. With looseness 1 and no exact match, equal lengths compared with blanks and
  // tabs skipped also match. An empty key matches nothing. text is not read.
  int MatchText(int looseness, int level, const TextString& text, const TextString& key) const;
};

// The headings of one document in document order. Owned by the Context (three lists:
// anchors, contents lines, headings). Queries answer what a linear scan from the first
// entry to the last would; an index by key and by line keeps them from rescanning the list.
class HeadingList {
 public:
  static constexpr int kLevels = 6;
  static constexpr int kGrowthStep = 256;

  HeadingList() = default;
  // Entries are found by address and index; a list is emptied, never copied.
  HeadingList(const HeadingList&) = delete;
  HeadingList& operator=(const HeadingList&) = delete;
  ~HeadingList() = default;

  // Adds a heading of the given type (see HeadingEntry for the texts it derives). Unless the
  // duplicate check is off, an earlier entry that matches the heading text or link name is
  // looked for: one at the same position means the heading is registered already (0,
  // nothing added, nothing reported); another one is reported as a duplicate (level 5) and
  // the new link name gets "_" and the number of matches. Returns 1 when an entry was added.
  int AddHeading(Context& ctx, int type, const TextString& lineText,
                 const TextString& headingText, const TextString& linkName,
                 const TextPosition& position, const TextString& firstExtra,
                 const TextString& secondExtra, const TextString& thirdExtra);

  // The entry that best matches text (or else alternative), preferring the first match near
  // position (same line within 6 columns, or any other line) over the last far one; with
  // usePosition and a column above 0, entries on position's line more than 100 columns away
  // are not considered. index receives the entry's place (-1 for none), count the number of
  // matches of the last scan made. Null when nothing matches or the list is empty.
  HeadingEntry* FindBestMatch(Context& ctx, const TextString& text, const TextString& alternative,
                              int usePosition, const TextPosition& position, int& index,
                              int& count);
  // The first entry standing exactly at position; null (index -1) when none, or when the
  // position's line is below 0 or its column 0 or less.
  HeadingEntry* FindAtPosition(Context& ctx, const TextPosition& position, int& index);
  // The last entry on position's line, in list order up to the first whose column lies
  // beyond position's column; null (index -1) when there is none.
  HeadingEntry* FindLastBefore(const TextPosition& position, int& index);
  // The first entry of that kind whose section number equals number (same length, ASCII case
  // ignored); null (index -1) when none or number is empty.
  HeadingEntry* FindBySectionNumber(int kind, const TextString& number, int& index);
  // The first entry of that kind whose text key equals key (same length, ASCII case ignored);
  // null (index -1) when none or key is empty.
  HeadingEntry* FindByTextKey(int kind, const TextString& key, int& index);

  int GetCount() const { return static_cast<int>(entries_.size()); }
  // Slots prepared for entries: grows in steps of 256, one entry ahead of the count.
  int GetCapacity() const { return capacity_; }
  // The entry at i, or null outside 0 .. count - 1.
  HeadingEntry* GetEntry(int i);
  const HeadingEntry* GetEntry(int i) const;

  // Releases every entry; count and capacity 0. The bookkeeping below is left alone.
  void Clear();

  // 1 turns the duplicate check of AddHeading off.
  int duplicateCheckOff = 0;
  // Per-level bookkeeping kept beside the list for its owner; -1 after ResetHeadingList.
  std::array<int, kLevels> levelFirst{-1, -1, -1, -1, -1, -1};
  std::array<int, kLevels> levelSecond{-1, -1, -1, -1, -1, -1};
  // Lowest and highest heading level registered (1-6), -1 while none.
  int lowestLevel = -1;
  int highestLevel = -1;

 private:
  struct ScanResult {
    int count = 0;
    int nearIndex = -1;
    int farIndex = -1;
  };
  // One scan of the list with key; the candidates come from the key index.
  ScanResult Scan(const TextString& key, int looseness, int level, int usePosition,
                  const TextPosition& position) const;
  void MakeRoomFor(int index);
  void IndexEntry(int index);

  std::vector<std::unique_ptr<HeadingEntry>> entries_;
  int capacity_ = 0;
  // Every entry key with blanks and tabs removed -> places of the entries that hold it
  // (ascending; may repeat). Exact and loose matches both imply equal stripped keys.
  std::unordered_map<std::string, std::vector<int>> byStrippedKey_;
  // Line -> places of the entries on that line, ascending.
  std::unordered_map<int, std::vector<int>> byLine_;
  // Kind and section number (ASCII lower case) -> place of the first entry that has them.
  std::unordered_map<std::string, int> bySectionNumber_;
};
