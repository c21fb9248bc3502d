#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;

// ---- Shared by the registries of the Context ----

// The key under which the registries index names: ASCII letters folded, so two names share
// a key exactly when they have the same length and compare equal ignoring case.
std::string RegistryNameKey(const TextString& name);

// Position for an entry added without one: the current tracker's position with the column
// plus columnOffset; a negative line gives (0, 0). Without a Context, (0, 0).
TextPosition TrackerPosition(Context* context, int columnOffset);

// Whether registries that fill only during analysis accept an addition now: force, or the
// Context's analysis flag.
bool AcceptsAnalysisAddition(FileControl& control, int force);

// ---- TagList ----

// One tag the analysis pass recorded.
struct TagRecord {
  TextString name;
  TextString value;
  int kind = 0;  // given by the caller
  TextPosition position;
};

// Tags with values and positions, in order of addition (document order during analysis).
// Lookups by line and by name go through indexes kept beside the list, so a lookup per line
// costs the tags of that line (or of that name), not the whole document.
class TagList {
 public:
  TagList() = default;
  // Owned by the Context by identity.
  TagList(const TagList&) = delete;
  TagList& operator=(const TagList&) = delete;

  // Appends a record unless refused: outside the analysis pass and without force,
  // "PROGRAM ERROR: TagList::Add called during non-analysis pass" at level 10 and nothing
  // is added (result 0). A position with a negative column takes the current tracker's
  // position with the column plus 1, or (0, 0) when that line is negative. Result 1 when
  // added.
  int Add(FileControl& control, const TextString& name, const TextString& value, int kind,
          const TextPosition& position, int force);

  // The first record in list order on position's line whose column is greater than
  // position's (or equal, with inclusive) and whose name equals name (any name when name is
  // empty). *index is that record's index, or -1 and false when none.
  bool FindFirstAfter(const TextString& name, const TextPosition& position, int* index,
                      int inclusive) const;
  // Scans the records of position's line in list order (name filter as above); a record
  // right of position's column ends the scan; the last record left of it (or at it, with
  // inclusive) before the stop is the answer. *index -1 and false when none.
  bool FindLastBefore(const TextString& name, const TextPosition& position, int* index,
                      int inclusive) const;
  // The first record after index whose name equals name (any record when name is empty).
  bool FindNext(const TextString& name, int index, int* out) const;

  // Frees every record; count 0.
  void Clear();
  int GetCount() const { return static_cast<int>(records_.size()); }
  // The record at i, or null outside 0 .. count - 1.
  const TagRecord* GetItem(int i) const;

 private:
  // Indexes of the records of one line (or of one name), ascending.
  using IndexRun = std::vector<int>;
  const IndexRun* RunOfLine(int line) const;
  bool NameMatches(const TagRecord& record, const TextString& name) const;

  std::vector<std::unique_ptr<TagRecord>> records_;
  std::unordered_map<int, IndexRun> byLine_;
  std::unordered_map<std::string, IndexRun> byName_;
};
