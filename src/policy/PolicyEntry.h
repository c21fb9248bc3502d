#pragma once

#include "policy/CorePolicy.h"

class TextFile;
struct KeyValueLine;

// A record of a policy set's member registry: the kind of a policy and the policy itself,
// so that writing, parsing, copying and merging dispatch by type code. The constructors
// pair the code with a policy of that kind, so the two always agree. Not owned.
struct PolicyEntry {
  explicit PolicyEntry(IntPolicy& policy) : type(kIntPolicy), policy(&policy) {}
  explicit PolicyEntry(BoolPolicy& policy) : type(kBoolPolicy), policy(&policy) {}
  explicit PolicyEntry(TextPolicy& policy) : type(kTextPolicy), policy(&policy) {}
  explicit PolicyEntry(AlignPolicy& policy) : type(kAlignPolicy), policy(&policy) {}
  explicit PolicyEntry(ColourPolicy& policy) : type(kColourPolicy), policy(&policy) {}
  explicit PolicyEntry(FontPolicy& policy) : type(kFontPolicy), policy(&policy) {}
  explicit PolicyEntry(ListPolicy& policy) : type(kListPolicy), policy(&policy) {}

  // The kind's line writer; 0 when the file refused the line.
  int Write(TextFile& out, int all) const;
  // The kind's line parser (an Int without range); 1 when the policy took the line.
  int ParseLine(KeyValueLine& line) const;
  // Value and set mark from another entry of the same kind; another kind changes nothing.
  void CopyFrom(const PolicyEntry& other) const;
  // Merge (see CorePolicy::Merge) from another entry of the same kind.
  void MergeFrom(int level, const PolicyEntry& other) const;

  PolicyType type;
  CorePolicy* policy;
};
