#include "text/ProtectedSpans.h"

#include <string_view>

static constexpr std::string_view kFieldOpening = "{\\field{";
static constexpr std::string_view kFieldClosing = "}}}";

ProtectedSpanFinder::ProtectedSpanFinder(const TextString& text, const TextString& tagStart,
                                         const TextString& tagEnd)
    : text_(text), tagStart_(tagStart), tagEnd_(tagEnd) {}

static std::string_view Bytes(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// Where pattern first occurs wholly at or after from, or -1. The spans are looked for in every
// line a word conversion walks, mostly in vain: the library's search of a fixed pattern costs
// least there.
static int FindFrom(const TextString& text, int from, std::string_view pattern) {
  if (from < 0 || pattern.empty()) return -1;
  const std::size_t at = Bytes(text).find(pattern, static_cast<std::size_t>(from));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// An anchor opening is "<a" (either case) followed by a blank or ">" (not "<abbr>" or
// "<area>").
static int FindAnchorOpening(const TextString& text, int from) {
  const std::string_view all = Bytes(text);
  if (from < 0) return -1;
  for (std::size_t at = all.find('<', static_cast<std::size_t>(from));
       at != std::string_view::npos && at + 2 <= all.size(); at = all.find('<', at + 1)) {
    if (all[at + 1] != 'a' && all[at + 1] != 'A') continue;
    const char after = text.CharAt(static_cast<int>(at) + 2);
    if (after == ' ' || after == '\t' || after == '>') return static_cast<int>(at);
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
      found = FindFrom(text_, from, tagStart_.GetText());
      break;
    case kAnchor:
      found = FindAnchorOpening(text_, from);
      break;
    case kField:
      found = FindFrom(text_, from, kFieldOpening);
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
      found = FindFrom(text_, start + tagStart_.GetLength(), tagEnd_.GetText());
      return found >= 0 ? found + tagEnd_.GetLength() : length;
    case kAnchor:
      if (text_.Find(start + 2, "</a>", &found, 0, 0))
        return found + 4;
      return length;
    case kField: {
      // The field instruction group ends with the first "}}}", the whole field with the second.
      found = FindFrom(text_, start, kFieldClosing);
      if (found < 0) return length;
      found = FindFrom(text_, found + 3, kFieldClosing);
      return found >= 0 ? found + 3 : length;
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
