#include "text/ProtectedSpans.h"

static constexpr const char* kFieldOpening = "{\\field{";
static constexpr const char* kFieldClosing = "}}}";

ProtectedSpanFinder::ProtectedSpanFinder(const TextString& text, const TextString& tagStart,
                                         const TextString& tagEnd)
    : text_(text), tagStart_(tagStart), tagEnd_(tagEnd) {}

// An anchor opening is "<a" followed by a blank or ">" (not "<abbr>" or "<area>").
static int FindAnchorOpening(const TextString& text, int from) {
  int at = from;
  int found = -1;
  while (text.Find(at, "<a", &found, 0, 0) && found >= 0) {
    const char after = text.CharAt(found + 2);
    if (after == ' ' || after == '\t' || after == '>')
      return found;
    at = found + 2;
  }
  return -1;
}

int ProtectedSpanFinder::StartOf(int k, int from) {
  // A remembered position stays right while it is not before from: nothing between the
  // earlier search start and it matched.
  if (next_[k] != -2 && searchedFrom_[k] <= from && (next_[k] == -1 || next_[k] >= from))
    return next_[k];
  int found = -1;
  switch (k) {
    case kTag:
      if (tagStart_.IsEmpty() || !text_.Find(from, tagStart_.GetText(), &found, 1, 0))
        found = -1;
      break;
    case kAnchor:
      found = FindAnchorOpening(text_, from);
      break;
    case kField:
      if (!text_.Find(from, kFieldOpening, &found, 1, 0))
        found = -1;
      break;
  }
  next_[k] = found;
  searchedFrom_[k] = from;
  return found;
}

int ProtectedSpanFinder::EndOf(int k, int start) const {
  const int length = text_.GetLength();
  int found = -1;
  switch (k) {
    case kTag:
      if (!tagEnd_.IsEmpty() &&
          text_.Find(start + tagStart_.GetLength(), tagEnd_.GetText(), &found, 1, 0))
        return found + tagEnd_.GetLength();
      return length;
    case kAnchor:
      if (text_.Find(start + 2, "</a>", &found, 0, 0))
        return found + 4;
      return length;
    case kField: {
      // The field instruction group ends with the first "}}}", the whole field with the second.
      if (!text_.Find(start, kFieldClosing, &found, 1, 0))
        return length;
      if (!text_.Find(found + 3, kFieldClosing, &found, 1, 0))
        return length;
      return found + 3;
    }
  }
  return length;
}

bool ProtectedSpanFinder::Next(int from, int& start, int& end) {
  int bestKind = -1;
  int best = -1;
  for (int k = 0; k < kKinds; ++k) {
    const int at = StartOf(k, from);
    if (at < 0 || (best >= 0 && at >= best))
      continue;
    best = at;
    bestKind = k;
  }
  if (bestKind < 0)
    return false;
  start = best;
  end = EndOf(bestKind, best);
  return true;
}
