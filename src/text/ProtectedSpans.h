#pragma once

#include "text/TextString.h"

// The parts of a text that the word, emphasis and dictionary conversions leave alone:
// in-line tags (the start tag delimiter up to the next end tag delimiter), HTML anchors ("<a"
// followed by a blank or ">", up to "</a>", any case) and RTF fields ("{\field{" up to the
// second "}}}" after it). A span whose end is missing runs to the end of the text, so an
// unfinished field is never cut into.
//
// The finder remembers where each kind next occurs, so walking a text span by span costs one
// pass over it whatever the number of spans.
class ProtectedSpanFinder {
 public:
  // text must outlive the finder and stay unchanged while it is used.
  ProtectedSpanFinder(const TextString& text, const TextString& tagStart,
                      const TextString& tagEnd);

  // The first span that starts at or after from: true with start and end (one past its last
  // byte) set; false when there is none.
  bool Next(int from, int& start, int& end);

 private:
  enum Kind { kTag, kAnchor, kField, kKinds };
  // Where the span of kind k that starts first at or after from begins (-1 when none).
  int StartOf(int k, int from);
  int EndOf(int k, int start) const;

  const TextString& text_;
  const TextString& tagStart_;
  const TextString& tagEnd_;
  int next_[kKinds] = {-2, -2, -2};  // -2: never searched
  int searchedFrom_[kKinds] = {0, 0, 0};
};
