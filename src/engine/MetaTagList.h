#pragma once

#include <memory>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;

// One META tag of the document.
struct MetaTagRecord {
  TextString name;
  TextString value;
  TextPosition position;
};

// The META tags of the document in order of addition. Additions are accepted in any pass.
class MetaTagList {
 public:
  MetaTagList() = default;
  MetaTagList(const MetaTagList&) = delete;
  MetaTagList& operator=(const MetaTagList&) = delete;

  // Appends name and value, each with runs of blanks and tabs reduced to their first
  // character and trimmed at both ends. The position comes from the current tracker: its
  // current position when that line is 0, else its second position; the column plus 1; a
  // negative line gives (0, 0). Result 1.
  int Add(Context& context, const TextString& name, const TextString& value);
  // Frees every record.
  void Clear();

  int GetCount() const { return static_cast<int>(records_.size()); }
  // The record at i, or null outside 0 .. count - 1.
  const MetaTagRecord* GetItem(int i) const;

 private:
  std::vector<std::unique_ptr<MetaTagRecord>> records_;
};
