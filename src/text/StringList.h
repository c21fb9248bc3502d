#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "text/TextString.h"

// One entry of a StringList: the text and how many times it was appended while the list
// refused duplicates. hash is StringHash(text) and is kept only while the list's index is on.
struct StringListEntry {
  TextString text;
  int count = 1;
  int hash = 0;
};

// The list's hash function: the sum over the bytes of (u + k)^2, where u is the byte with
// a-z upper-cased, taken as a signed 8-bit value, and k is 0, 2, 4, ... by position.
// 32-bit wrapping arithmetic, no modulus; the empty text (and null) hashes to 0.
int StringHash(const char* text);

// An ordered list of counted texts. Texts compare equal when they have the same length and
// are equal with ASCII letters folded. By default duplicates are allowed and Append always
// adds an entry; with duplicates refused the list is a counting set: appending an equal text
// only increments the count of the entry already there.
//
// An optional hash index (off by default) makes Find logarithmic; owners that look texts up
// in long lists, or use the list as a counting set, should turn it on with KeepIndex.
// Without the index Find reports the first equal entry; with it, among equal entries it
// reports the one whose index pair comes last (the oldest addition).
//
// Capacity grows in blocks of 256 slots, always leaving at least one free slot.
// The list owns its entries; it is not copyable (use CopyFrom), only movable.
class StringList {
 public:
  StringList() = default;
  StringList(const StringList&) = delete;
  StringList& operator=(const StringList&) = delete;
  StringList(StringList&&) noexcept = default;
  StringList& operator=(StringList&&) noexcept = default;
  ~StringList() = default;

  // Frees every entry and index pair; count, capacity and total length become 0.
  // The duplicate, index-kept and find-through-index settings are kept.
  void Clear();

  int GetCount() const { return static_cast<int>(items_.size()); }
  int GetCapacity() const { return capacity_; }
  // Sum of the lengths of all entry texts.
  int GetTotalLength() const { return totalLength_; }

  // The entry at i, or null when i is outside 0 .. count - 1.
  StringListEntry* GetItem(int i);
  const StringListEntry* GetItem(int i) const;

  // Appends text (null is the empty text), or with duplicates refused increments the count
  // of an equal entry. Returns the length of the text.
  int Append(const char* text);
  // Inserts a new entry with count 1 at index (clamped to 0 .. count); duplicates are not
  // checked.
  void InsertAt(int index, const char* text);

  // True when an equal text is in the list; *out (when given) receives its position, or -1.
  bool Find(const TextString& text, int* out) const;

  // Stable sort. By count (ascending or descending), or by text: bytes compare as signed
  // 8-bit values, with a-z folded to A-Z when foldCase is set; a text always sorts before
  // its extensions, in either direction.
  void Sort(bool foldCase, bool byCount, bool descending);

  // out becomes the texts in order with separator (null = none) between neighbours.
  void Join(TextString& out, const char* separator) const;

  // Appends every text of other in order (its counts are not carried over; this list's
  // duplicate rule applies).
  void AppendList(const StringList& other);
  // Clear, then AppendList.
  void CopyFrom(const StringList& other);

  // Appends the fields of text as TextString::GetField splits them at the first character
  // of separator (a blank when separator is null or empty). Returns 1.
  int AppendFields(const TextString& text, const char* separator);

  // Removes entries start .. end inclusive, clamped to the list. A range that is empty after
  // clamping changes nothing. Returns 1.
  int RemoveRange(int start, int end);

  // ---- Settings ----
  bool AreDuplicatesAllowed() const { return duplicatesAllowed_; }
  void SetDuplicatesAllowed(bool allowed) { duplicatesAllowed_ = allowed; }
  bool IsIndexKept() const { return indexKept_; }
  // Turning the index on builds it for the entries already present; turning it off drops it.
  void KeepIndex(bool keep);
  bool GetFindThroughIndex() const { return findThroughIndex_; }
  void SetFindThroughIndex(bool on) { findThroughIndex_ = on; }

 private:
  // Key of an entry's text to its position in items_.
  using IndexMap = std::unordered_multimap<std::size_t, int>;

  void Grow();
  void AddIndexPair(std::size_t key, int item);
  void RemoveIndexPairs(int start, int end);
  void RebuildIndex();
  // A new entry with count 1, taken from the spare entries when there are any.
  std::unique_ptr<StringListEntry> MakeEntry(const char* text);

  std::vector<std::unique_ptr<StringListEntry>> items_;
  // Entries removed from the list, reused by MakeEntry; never more than the list once held.
  std::vector<std::unique_ptr<StringListEntry>> spare_;
  IndexMap index_;
  int capacity_ = 0;
  int totalLength_ = 0;
  bool findThroughIndex_ = true;
  bool indexKept_ = false;
  bool duplicatesAllowed_ = true;
};
