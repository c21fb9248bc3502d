#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;

// One split output file and the stretch of the document it holds.
struct SplitFileRecord {
  TextString fileName;
  TextPosition start;
  TextPosition end;  // unset until the next file starts
};

// The split output files of the document in the order they begin.
class SplitFileList {
 public:
  SplitFileList() = default;
  SplitFileList(const SplitFileList&) = delete;
  SplitFileList& operator=(const SplitFileList&) = delete;

  // A new file begins at the current tracker position (no column change; a negative line
  // gives (0, 0)); its end is unset. The file before it, if any, ends one column before that
  // position. Result 1.
  int Add(Context& context, const TextString& name);
  // *index is the first record whose name equals name (same length, ASCII case ignored), or
  // -1; the result is whether one was found.
  bool Find(const TextString& name, int* index) const;
  // Frees every record.
  void Clear();

  int GetCount() const { return static_cast<int>(records_.size()); }
  // The record at i, or null outside 0 .. count - 1.
  const SplitFileRecord* GetItem(int i) const;

 private:
  std::vector<std::unique_ptr<SplitFileRecord>> records_;
  std::unordered_map<std::string, int> firstByName_;
};
