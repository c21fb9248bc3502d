#include "text/TextString.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "text/StackList.h"

// ---- Byte classes (ASCII only: bytes 0x80-0xFF are neither letters, digits nor cased) ----

static bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
static bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
static bool IsLetter(unsigned char c) { return IsUpper(c) || IsLower(c); }
static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
static bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
static unsigned char FoldUpper(unsigned char c) { return IsLower(c) ? c - 'a' + 'A' : c; }
static unsigned char FoldLower(unsigned char c) { return IsUpper(c) ? c - 'A' + 'a' : c; }

// Value of a hexadecimal digit, -1 for any other byte.
static int HexValue(unsigned char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

static int ClampedLength(const char* s) {
  const size_t n = std::strlen(s);
  return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

// True when p points into the block [base, base + size); callers pass their own buffer to
// tell a source that aliases it from an unrelated one.
static bool PointsInto(const char* p, const char* base, int size) {
  if (p == nullptr || base == nullptr || size <= 0) return false;
  const std::less_equal<const char*> lessEqual;
  const std::less<const char*> less;
  return lessEqual(base, p) && less(p, base + size);
}

namespace {

// Leftmost-occurrence search. The candidates (the positions of the pattern's first byte) are
// found with the library's byte search and tried one by one, which suits most texts: lines
// and paragraphs where the first byte is rare. Where candidates keep failing on a long span,
// or the first byte has two spellings, a Horspool skip table takes over, so a failed partial
// match never hides an occurrence that begins inside it and such texts are scanned in
// sublinear steps; building the table costs more than most searches, so it is built only
// then (and kept for the searcher's next calls).
class PatternSearch {
 public:
  PatternSearch(const char* pattern, int patternLength, bool foldCase)
      : pattern_(reinterpret_cast<const unsigned char*>(pattern)),
        length_(patternLength),
        foldCase_(foldCase) {}

  // Offset of the first occurrence lying wholly inside text[from, end), or -1.
  int FindIn(const char* text, int from, int end) {
    if (length_ <= 0 || from < 0 || end - from < length_) return -1;
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    int resume = from;
    if (end - from < kTableWorthwhile || (!tableReady_ && OneSpelling())) {
      const int found = FindByCandidates(t, from, end, &resume);
      if (found != kGaveUp) return found;
    }
    if (!tableReady_) BuildTable();
    for (int pos = resume; pos + length_ <= end;) {
      if (MatchesAt(t + pos)) return pos;
      pos += skip_[t[pos + length_ - 1]];
    }
    return -1;
  }

 private:
  static constexpr int kTableWorthwhile = 256;
  // A first byte with two spellings is searched for in both, and the search for the rarer one
  // runs ahead to the end of the text: repeated on a long text (a replacement at every
  // occurrence) that would be quadratic, so such patterns use the table on long spans.
  bool OneSpelling() const {
    return !foldCase_ || FoldUpper(pattern_[0]) == FoldLower(pattern_[0]);
  }

  // Failed candidates after which a span of kTableWorthwhile bytes or more goes to the table.
  static constexpr int kMissesBeforeTable = 8;
  static constexpr int kGaveUp = -2;

  // The first occurrence at or after from by trying candidates, -1 when there is none, or
  // kGaveUp with *resume (every earlier position ruled out) when candidates kept failing and
  // at least kTableWorthwhile bytes are left.
  int FindByCandidates(const unsigned char* t, int from, int end, int* resume) const {
    const int last = end - length_;
    int missesLeft = kMissesBeforeTable;
    const auto giveUp = [&](int pos) {
      if (--missesLeft >= 0 || end - (pos + 1) < kTableWorthwhile) return false;
      *resume = pos + 1;
      return true;
    };
    if (!foldCase_) {
      const unsigned char first = pattern_[0];
      for (int pos = from; pos <= last; ++pos) {
        const void* hit = std::memchr(t + pos, first, static_cast<size_t>(last - pos + 1));
        if (hit == nullptr) return -1;
        pos = static_cast<int>(static_cast<const unsigned char*>(hit) - t);
        if (std::memcmp(t + pos + 1, pattern_ + 1, static_cast<size_t>(length_ - 1)) == 0)
          return pos;
        if (giveUp(pos)) return kGaveUp;
      }
      return -1;
    }
    // Folded, the first byte has at most two spellings: the library's search finds the
    // next of each, and the nearer one is the candidate.
    const unsigned char upper = FoldUpper(pattern_[0]);
    const unsigned char lower = FoldLower(upper);
    const auto nextOf = [&](unsigned char c, int pos) {
      if (pos > last) return INT_MAX;
      const void* hit = std::memchr(t + pos, c, static_cast<size_t>(last - pos + 1));
      return hit == nullptr ? INT_MAX : static_cast<int>(static_cast<const unsigned char*>(hit) - t);
    };
    int atUpper = nextOf(upper, from);
    int atLower = lower == upper ? INT_MAX : nextOf(lower, from);
    for (;;) {
      const int pos = atUpper < atLower ? atUpper : atLower;
      if (pos == INT_MAX) return -1;
      if (MatchesAt(t + pos)) return pos;
      if (giveUp(pos)) return kGaveUp;
      if (pos == atUpper)
        atUpper = nextOf(upper, pos + 1);
      else
        atLower = nextOf(lower, pos + 1);
    }
  }

  void BuildTable() {
    for (int& s : skip_) s = length_;
    for (int i = 0; i + 1 < length_; ++i) {
      const unsigned char c = pattern_[i];
      const int shift = length_ - 1 - i;
      skip_[c] = shift;
      if (!foldCase_) continue;
      skip_[FoldUpper(c)] = shift;
      skip_[FoldLower(c)] = shift;
    }
    tableReady_ = true;
  }

  bool MatchesAt(const unsigned char* t) const {
    for (int j = length_ - 1; j >= 0; --j) {
      if (t[j] == pattern_[j]) continue;
      if (!foldCase_ || FoldUpper(t[j]) != FoldUpper(pattern_[j])) return false;
    }
    return true;
  }

  const unsigned char* pattern_;
  int length_;
  bool foldCase_;
  bool tableReady_ = false;
  int skip_[256];
};

}  // namespace

// Appends n bytes; a source inside the string's own buffer is re-pointed after growth.
static int AppendRaw(TextString& s, const char* source, int n) {
  if (n <= 0) return 1;
  const int length = s.GetLength();
  const char* before = s.GetBuffer();
  const bool aliased = PointsInto(source, before, s.GetCapacity() + 2);
  const ptrdiff_t offset = aliased ? source - before : 0;
  if (n > INT_MAX - 1 - length) return 0;
  if (!s.Reserve(length + n + 1)) return 0;
  char* buffer = s.GetBuffer();
  if (aliased) source = buffer + offset;
  std::memmove(buffer + length, source, static_cast<size_t>(n));
  s.SetLength(length + n);
  return 1;
}

// ---- Construction ----

TextString::TextString() : extraWord_(1) { Reserve(0); }

TextString::TextString(const TextString& other) {
  Reserve(other.length_);
  if (other.length_ > 0) std::memcpy(buffer_, other.buffer_, static_cast<size_t>(other.length_));
  length_ = other.length_;
  buffer_[length_] = '\0';
}

TextString::TextString(TextString&& other) noexcept
    : length_(other.length_), capacity_(other.capacity_), extraWord_(other.extraWord_) {
  std::memcpy(extraWords_, other.extraWords_, sizeof extraWords_);
  TakeBuffer(other);
}

TextString::TextString(const char* text) {
  const int n = text ? ClampedLength(text) : 0;
  Reserve(n);
  if (n > 0) std::memcpy(buffer_, text, static_cast<size_t>(n));
  length_ = n;
  buffer_[n] = '\0';
}

TextString::TextString(int number) {
  Reserve(0);
  AppendNumber('1', number, 0);
}

TextString::~TextString() {
  length_ = 0;
  capacity_ = 0;
}

TextString& TextString::operator=(const TextString& other) {
  if (this != &other) AssignBytes(other.GetText(), other.length_);
  return *this;
}

TextString& TextString::operator=(TextString&& other) noexcept {
  if (this == &other) return *this;
  length_ = other.length_;
  capacity_ = other.capacity_;
  TakeBuffer(other);
  return *this;
}

void TextString::TakeBuffer(TextString& other) {
  // length_ and capacity_ are already other's. A heap buffer changes hands; the inner
  // buffer cannot, so its text (with the terminator) is copied into this object's own.
  if (other.heap_) {
    heap_ = std::move(other.heap_);
    buffer_ = other.buffer_;
  } else if (other.buffer_ != nullptr) {
    heap_.reset();
    buffer_ = inner_;
    std::memcpy(inner_, other.buffer_, static_cast<size_t>(length_) + 1);
  } else {
    heap_.reset();
    buffer_ = nullptr;
  }
  other.buffer_ = nullptr;
  other.length_ = 0;
  other.capacity_ = -1;
}

TextString& TextString::operator=(const char* text) {
  Assign(text);
  return *this;
}

// ---- Virtual tests ----

bool TextString::HasNoLetters() const {
  for (int i = 0; i < length_; ++i)
    if (IsLetter(static_cast<unsigned char>(buffer_[i]))) return false;
  return true;
}

bool TextString::HasNoLettersOrDigits() const {
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (IsLetter(c) || IsDigit(c)) return false;
  }
  return true;
}

bool TextString::HasNoLowerCase() const {
  for (int i = 0; i < length_; ++i)
    if (IsLower(static_cast<unsigned char>(buffer_[i]))) return false;
  return true;
}

bool TextString::ContainsNoneOf(const char* set) const {
  if (set == nullptr || *set == '\0') return true;
  for (int i = 0; i < length_; ++i)
    if (buffer_[i] != '\0' && std::strchr(set, buffer_[i]) != nullptr) return false;
  return true;
}

bool TextString::IsNumber() const {
  int i = 0;
  if (length_ > 0 && (buffer_[0] == '+' || buffer_[0] == '-')) i = 1;
  bool seenPoint = false;
  for (; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (IsDigit(c)) continue;
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    return false;
  }
  return true;
}

// ---- Access ----

void TextString::SetLength(int length) {
  if (!buffer_) return;
  if (length < 0) length = 0;
  if (length > capacity_) length = capacity_;
  length_ = length;
  buffer_[length_] = '\0';
}

// ---- Construction and assignment ----

int TextString::Assign(const char* text) {
  if (text == nullptr || *text == '\0') return Clear();
  if (buffer_ && text == buffer_) return 1;
  return AssignBytes(text, ClampedLength(text));
}

int TextString::Clear() {
  if (!buffer_) Reserve(0);
  SetEmpty();
  return 1;
}

void TextString::SetEmpty() {
  length_ = 0;
  if (buffer_) buffer_[0] = '\0';
}

int TextString::AssignBytes(const char* source, int n) {
  if (n < 0 || (source == nullptr && n > 0)) return 0;
  if (n > capacity_ && PointsInto(source, buffer_, capacity_ + 2)) {
    // Growing would free the source before it is copied.
    const std::string copy(source, static_cast<size_t>(n));
    return AssignBytes(copy.data(), n);
  }
  if (!Reserve(n)) return 0;
  if (n > 0) std::memmove(buffer_, source, static_cast<size_t>(n));
  length_ = n;
  buffer_[n] = '\0';
  return 1;
}

int TextString::AssignSubstring(const char* source, int offset, int count) {
  if (source == nullptr) {
    Clear();
    return 0;
  }
  // Positions outside the source are clamped so nothing past its terminator is read.
  if (offset < 0) offset = 0;
  offset = static_cast<int>(strnlen(source, static_cast<size_t>(offset)));
  const char* from = source + offset;
  const int available = count < 0 ? ClampedLength(from)
                                  : static_cast<int>(strnlen(from, static_cast<size_t>(count)));
  return AssignBytes(from, available);
}

int TextString::AssignSubstring(const TextString& source, int offset, int count) {
  const int length = source.GetLength();
  offset = std::clamp(offset, 0, length);
  if (count < 0 || count > length - offset) count = length - offset;
  const char* from = source.GetText() + offset;
  return AssignBytes(from, static_cast<int>(strnlen(from, static_cast<size_t>(count))));
}

int TextString::KeepSubstring(int start, int count) {
  if (start < 0 || start > length_) return 0;
  if (count < 0) count = 0;
  if (count > length_ - start) count = length_ - start;
  if (count > 0 && start > 0) std::memmove(buffer_, buffer_ + start, static_cast<size_t>(count));
  length_ = count;
  if (buffer_) buffer_[length_] = '\0';
  return 1;
}

int TextString::KeepFrom(int pos) { return KeepSubstring(pos, length_ - pos); }

int TextString::Truncate(int pos) {
  if (pos < 0) return 0;
  if (pos < length_) {
    length_ = pos;
    buffer_[length_] = '\0';
  }
  return 1;
}

// ---- Growth and appending ----

int TextString::Reserve(int n) {
  if (n <= capacity_) return 1;
  long long target = n;
  // A small increase on a large text grows geometrically so repeated appends stay amortised.
  if (n > 512 && 5LL * (n - capacity_) < n)
    target = n < 500000 ? 2LL * capacity_ : capacity_ * 3LL / 2;
  const long long size = ((target + 1) / 256) * 256 + 256;
  if (size - 2 > INT_MAX) return 0;
  // The first buffer (256 bytes) is the inner one: only texts that outgrow it touch the heap.
  std::unique_ptr<char[]> fresh;
  char* into = inner_;
  if (size > kInnerSize) {
    fresh.reset(new char[static_cast<size_t>(size)]);
    into = fresh.get();
  }
  if (buffer_ && length_ > 0) {
    if (into != buffer_) std::memcpy(into, buffer_, static_cast<size_t>(length_));
  } else {
    length_ = 0;
  }
  into[length_] = '\0';
  if (fresh) heap_ = std::move(fresh);
  buffer_ = into;
  capacity_ = static_cast<int>(size - 2);
  return 1;
}

int TextString::Append(const char* text) {
  if (text == nullptr) return 1;
  return AppendRaw(*this, text, ClampedLength(text));
}

int TextString::Append(const TextString& text) { return AppendRaw(*this, text.GetText(), text.length_); }

int TextString::AppendBytes(const char* source, int n) {
  if (source == nullptr) return n <= 0 ? 1 : 0;
  return AppendRaw(*this, source, n);
}

int TextString::AppendChar(char c) {
  if (length_ == INT_MAX || !Reserve(length_ + 1)) return 0;
  buffer_[length_++] = c;
  buffer_[length_] = '\0';
  return 1;
}

TextString TextString::operator+=(const char* text) {
  Append(text);
  return *this;
}

TextString TextString::operator+=(const TextString& text) {
  Append(text);
  return *this;
}

TextString TextString::operator+=(int number) {
  AppendNumber('1', number, 0);
  return *this;
}

TextString TextString::Concat(const TextString& other) const {
  TextString result(*this);
  result.Append(other);
  return result;
}

TextString TextString::Concat(const char* other) const {
  TextString result(*this);
  result.Append(other);
  return result;
}

int TextString::Insert(int pos, const char* text) {
  if (text == nullptr || *text == '\0') return 1;
  // Positions outside the text are clamped instead of writing past the buffer.
  if (pos < 0) pos = 0;
  if (pos > length_) pos = length_;
  return ReplaceSpan(pos, 0, text);
}

int TextString::InsertChar(int pos, char c) {
  if (pos < 0 || pos > length_) return 0;
  if (length_ == INT_MAX || !Reserve(length_ + 1)) return 0;
  char* b = buffer_;
  std::memmove(b + pos + 1, b + pos, static_cast<size_t>(length_ - pos));
  b[pos] = c;
  b[++length_] = '\0';
  return 1;
}

int TextString::ReplaceSpan(int pos, int count, const char* text) {
  if (pos < 0 || pos > length_) return 0;
  if (text == nullptr) text = "";
  if (count < 0) count = 0;
  if (count > length_ - pos) count = length_ - pos;
  // The inserted text may come from our own buffer, which the move below disturbs.
  std::string copy;
  if (PointsInto(text, buffer_, capacity_ + 2)) {
    copy = text;
    text = copy.c_str();
  }
  const int n = ClampedLength(text);
  const long long newLength = static_cast<long long>(length_) - count + n;
  if (newLength > INT_MAX - 2) return 0;
  if (!Reserve(static_cast<int>(newLength))) return 0;
  char* b = buffer_;
  std::memmove(b + pos + n, b + pos + count, static_cast<size_t>(length_ - pos - count));
  if (n > 0) std::memcpy(b + pos, text, static_cast<size_t>(n));
  length_ = static_cast<int>(newLength);
  b[length_] = '\0';
  return 1;
}

// ---- Comparison ----

static bool SameByte(unsigned char a, unsigned char b, bool caseSensitive) {
  return a == b || (!caseSensitive && FoldUpper(a) == FoldUpper(b));
}

static bool SameBytes(const char* a, const char* b, int n, bool caseSensitive) {
  for (int i = 0; i < n; ++i)
    if (!SameByte(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i]), caseSensitive))
      return false;
  return true;
}

bool TextString::Compare(const char* s, int caseSensitive, int ignoreBlanks) const {
  if (!buffer_ || s == nullptr) return false;
  const bool exact = caseSensitive != 0;
  if (!ignoreBlanks) {
    const size_t n = std::strlen(s);
    return n == static_cast<size_t>(length_) && SameBytes(buffer_, s, length_, exact);
  }
  const char* a = buffer_;
  const char* aEnd = a + length_;
  for (;;) {
    while (a < aEnd && IsBlank(static_cast<unsigned char>(*a))) ++a;
    while (IsBlank(static_cast<unsigned char>(*s))) ++s;
    if (a == aEnd || *s == '\0') return a == aEnd && *s == '\0';
    if (!SameByte(static_cast<unsigned char>(*a), static_cast<unsigned char>(*s), exact)) return false;
    ++a;
    ++s;
  }
}

bool TextString::Equals(const TextString& other) const {
  if (!buffer_ || length_ != other.length_) return false;
  return SameBytes(buffer_, other.GetText(), length_, false);
}

bool TextString::EqualsText(const TextString& other, int caseSensitive, int ignoreBlanks) const {
  if (length_ != other.length_) return false;
  return Compare(other.GetText(), caseSensitive, ignoreBlanks);
}

bool TextString::StartsWith(const char* s, int caseSensitive) const {
  if (s == nullptr || *s == '\0' || length_ == 0) return false;
  const size_t n = std::strlen(s);
  if (n > static_cast<size_t>(length_)) return false;
  return SameBytes(buffer_, s, static_cast<int>(n), caseSensitive != 0);
}

bool TextString::EndsWith(const char* s, int caseSensitive) const {
  if (s == nullptr || *s == '\0' || length_ == 0) return false;
  const size_t n = std::strlen(s);
  if (n > static_cast<size_t>(length_)) return false;
  return SameBytes(buffer_ + length_ - n, s, static_cast<int>(n), caseSensitive != 0);
}

int CompareChars(const char* a, const char* b, int n, int ignoreCase) {
  if (n <= 0) return 0;
  if (a == nullptr || b == nullptr) {
    if (a == b) return 0;
    return a == nullptr ? -1 : 1;
  }
  for (int i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (ignoreCase) {
      x = FoldUpper(x);
      y = FoldUpper(y);
    }
    if (x != y) {
      // A string that ends first has its terminator here, which sorts it first.
      if (x == 0) return -1;
      if (y == 0) return 1;
      return static_cast<signed char>(x) < static_cast<signed char>(y) ? -1 : 1;
    }
    if (x == 0) return 0;
  }
  return 0;
}

// ---- Searching ----

bool TextString::Find(int start, const char* s, int* pos, int caseSensitive, int span) const {
  if (pos) *pos = -1;
  if (start < 0 || start > length_ || s == nullptr || *s == '\0' || length_ == 0) return false;
  int end = length_;
  if (span > 0 && static_cast<long long>(start) + span < end) end = start + span;
  const int n = ClampedLength(s);
  PatternSearch search(s, n, caseSensitive == 0);
  const int at = search.FindIn(buffer_, start, end);
  if (at < 0) return false;
  if (pos) *pos = at;
  return true;
}

bool TextString::FindChar(int start, char c, int* pos, int caseSensitive) const {
  if (pos) *pos = -1;
  if (start < 0 || start > length_) return false;
  const auto lower = static_cast<unsigned char>(c);
  // Without the flag only a lower-case letter also matches its capital.
  const unsigned char other = (!caseSensitive && IsLower(lower)) ? FoldUpper(lower) : lower;
  if (other == lower) {
    // One byte to look for: the library's search is much faster than a loop.
    const void* hit = std::memchr(buffer_ + start, lower, static_cast<size_t>(length_ - start));
    if (hit == nullptr) return false;
    if (pos) *pos = static_cast<int>(static_cast<const char*>(hit) - buffer_);
    return true;
  }
  for (int i = start; i < length_; ++i) {
    const auto b = static_cast<unsigned char>(buffer_[i]);
    if (b != lower && b != other) continue;
    if (pos) *pos = i;
    return true;
  }
  return false;
}

const char* TextString::FindNoCase(const char* s) const {
  if (s == nullptr || *s == '\0' || length_ == 0) return nullptr;
  PatternSearch search(s, ClampedLength(s), true);
  const int at = search.FindIn(buffer_, 0, length_);
  return at < 0 ? nullptr : buffer_ + at;
}

bool TextString::ContainsNoCase(const char* s) const {
  int pos = -1;
  return Find(0, s, &pos, 0, 0);
}

bool TextString::ContainsChar(char c) const {
  int pos = -1;
  return FindChar(0, c, &pos, 0);
}

int TextString::CountChar(char c) const {
  int n = 0;
  for (int i = 0; i < length_; ++i)
    if (buffer_[i] == c) ++n;
  return n;
}

// ---- Editing ----

// With the guard set, an occurrence right after such a byte may be the tail of a
// multi-byte character and is not replaced.
static bool IsGuardedByte(unsigned char c) { return c >= 0x80 && c <= 0xEF; }

// ReplaceFrom's edits where the replacement is shorter than the pattern: the result is
// written over the text from the left, never reaching the bytes still to be searched. The
// number of replacements made.
static int ReplaceShrinking(TextString& text, PatternSearch& search, int start, int findLength,
                            const char* replacement, int replacementLength, int maxCount,
                            int* count, int guard) {
  char* b = text.GetBuffer();
  const int length = text.GetLength();
  int made = 0;
  int written = start;  // the result so far is b[0, written)
  int copied = start;   // the original bytes [0, copied) are settled in the result
  for (int pos = start; !(maxCount > 0 && made >= maxCount);) {
    const int at = search.FindIn(b, pos, length);
    if (at < 0) break;
    if (guard) {
      // The byte before the occurrence as the text stands after earlier replacements.
      int before = -1;
      if (at > copied)
        before = static_cast<unsigned char>(b[at - 1]);
      else if (written > 0)
        before = static_cast<unsigned char>(b[written - 1]);
      if (before >= 0 && IsGuardedByte(static_cast<unsigned char>(before))) {
        pos = at + 1;
        continue;
      }
    }
    if (count) ++*count;
    ++made;
    std::memmove(b + written, b + copied, static_cast<size_t>(at - copied));
    written += at - copied;
    if (replacementLength > 0)
      std::memcpy(b + written, replacement, static_cast<size_t>(replacementLength));
    written += replacementLength;
    copied = at + findLength;
    pos = copied;
  }
  if (made == 0) return 0;
  std::memmove(b + written, b + copied, static_cast<size_t>(length - copied));
  text.SetLength(written + length - copied);
  return made;
}

// ReplaceFrom's edits where the replacement is longer than the pattern: the occurrences are
// found first, then the text grows once and is rebuilt from the right. The number of
// replacements made, or -1 when the result would be too long.
static int ReplaceGrowing(TextString& text, PatternSearch& search, int start, int findLength,
                          const char* replacement, int replacementLength, int maxCount,
                          int* count, int guard) {
  const char* b = text.GetText();
  const int length = text.GetLength();
  StackList<int, 64> placeList;  // the occurrences taken, ascending
  std::pmr::vector<int>& places = placeList.Items();
  int made = 0;
  int copied = start;
  for (int pos = start; !(maxCount > 0 && made >= maxCount);) {
    const int at = search.FindIn(b, pos, length);
    if (at < 0) break;
    if (guard) {
      // The byte before the occurrence as the text stands after earlier replacements: the
      // end of the previous replacement when this occurrence follows it directly.
      int before = -1;
      if (at > copied)
        before = static_cast<unsigned char>(b[at - 1]);
      else if (made > 0)
        before = static_cast<unsigned char>(replacement[replacementLength - 1]);
      else if (start > 0)
        before = static_cast<unsigned char>(b[start - 1]);
      if (before >= 0 && IsGuardedByte(static_cast<unsigned char>(before))) {
        pos = at + 1;
        continue;
      }
    }
    if (count) ++*count;
    ++made;
    places.push_back(at);
    copied = at + findLength;
    pos = copied;
  }
  if (made == 0) return 0;
  const long long grown =
      length + static_cast<long long>(made) * (replacementLength - findLength);
  if (grown > INT_MAX - 2) return -1;
  if (!text.Reserve(static_cast<int>(grown))) return -1;
  char* d = text.GetBuffer();
  int to = static_cast<int>(grown);
  int from = length;
  for (auto place = places.rbegin(); place != places.rend(); ++place) {
    const int tail = from - (*place + findLength);
    to -= tail;
    std::memmove(d + to, d + *place + findLength, static_cast<size_t>(tail));
    to -= replacementLength;
    std::memcpy(d + to, replacement, static_cast<size_t>(replacementLength));
    from = *place;
  }
  text.SetLength(static_cast<int>(grown));
  return made;
}

bool TextString::ReplaceFrom(int start, const char* find, const char* replacement, int maxCount,
                             int caseSensitive, const char* fill, int* count, int guard) {
  if (start < 0 || start > length_ || find == nullptr || *find == '\0') return false;
  if (replacement == nullptr && fill == nullptr) return false;
  if (length_ == 0) return true;
  const int findLength = ClampedLength(find);
  PatternSearch search(find, findLength, caseSensitive == 0);
  // The replacement may live in our own buffer; keep it apart from the edits.
  std::string replacementCopy;
  if (replacement && PointsInto(replacement, buffer_, capacity_ + 2)) {
    replacementCopy = replacement;
    replacement = replacementCopy.c_str();
  }
  const int replacementLength = replacement ? ClampedLength(replacement) : 0;
  int made = 0;
  const auto limitReached = [&] { return maxCount > 0 && made >= maxCount; };

  if (replacement == nullptr || replacementLength == findLength) {
    // Same size: overwrite in place.
    char* b = buffer_;
    for (int pos = start; !limitReached();) {
      const int at = search.FindIn(b, pos, length_);
      if (at < 0) break;
      if (guard && at > 0 && IsGuardedByte(static_cast<unsigned char>(b[at - 1]))) {
        pos = at + 1;
        continue;
      }
      if (count) ++*count;
      ++made;
      if (replacement)
        std::memcpy(b + at, replacement, static_cast<size_t>(findLength));
      else
        std::memset(b + at, *fill, static_cast<size_t>(findLength));
      pos = at + findLength;
    }
    return !(maxCount > 0 && made < maxCount);
  }

  // Different sizes: the text is rebuilt in its own buffer in one pass, whatever the number
  // of occurrences (shifting the tail for every occurrence would be quadratic on long texts
  // with many). Most texts hold no occurrence at all and are left as they are.
  if (search.FindIn(buffer_, start, length_) < 0) return !(maxCount > 0);
  if (replacementLength < findLength)
    made = ReplaceShrinking(*this, search, start, findLength, replacement, replacementLength,
                            maxCount, count, guard);
  else
    made = ReplaceGrowing(*this, search, start, findLength, replacement, replacementLength,
                          maxCount, count, guard);
  if (made < 0) return false;
  return !(maxCount > 0 && made < maxCount);
}

bool TextString::ReplaceAll(const char* find, const char* replacement, int maxCount, int caseSensitive) {
  return ReplaceFrom(0, find, replacement, maxCount, caseSensitive, nullptr, nullptr, 0);
}

bool TextString::ReplaceAllCounted(const char* find, const char* replacement, int maxCount,
                                   int caseSensitive, int* count, int guard) {
  return ReplaceFrom(0, find, replacement, maxCount, caseSensitive, nullptr, count, guard);
}

bool TextString::ReplaceChar(int start, char from, char to, int maxCount) {
  if (length_ == 0) return true;
  if (start < 0 || start > length_) return false;
  int made = 0;
  for (int i = start; i < length_; ++i) {
    if (maxCount > 0 && made >= maxCount) break;
    if (buffer_[i] != from) continue;
    buffer_[i] = to;
    ++made;
  }
  return !(maxCount > 0 && made < maxCount);
}

void TextString::CollapseBlanks() {
  char* b = buffer_;
  if (!b) return;
  int out = 0;
  bool previousBlank = false;
  for (int i = 0; i < length_; ++i) {
    const bool blank = IsBlank(static_cast<unsigned char>(b[i]));
    if (!(blank && previousBlank)) b[out++] = b[i];
    previousBlank = blank;
  }
  length_ = out;
  b[length_] = '\0';
}

int TextString::Trim(int trailingOnly, const char* set) {
  if (!buffer_) return 1;
  if (set == nullptr) set = " ";
  // The usual set, a blank alone, is tested without a search of the set for every byte.
  const bool blanksOnly = set[0] == ' ' && set[1] == '\0';
  const bool blankInSet = blanksOnly || std::strchr(set, ' ') != nullptr;
  const auto inSet = [&](char c) {
    if (blanksOnly) return c == ' ' || c == '\t';
    if (c == '\t' && blankInSet) return true;
    return c != '\0' && std::strchr(set, c) != nullptr;
  };
  int end = length_;
  while (end > 0 && inSet(buffer_[end - 1])) --end;
  int begin = 0;
  if (!trailingOnly)
    while (begin < end && inSet(buffer_[begin])) ++begin;
  return KeepSubstring(begin, end - begin);
}

void TextString::FilterCharacters(int kind) {
  if (kind < 1 || kind > 5 || !buffer_) return;
  const auto keep = [kind](unsigned char c) {
    switch (kind) {
      case 1:
        return !IsLetter(c);
      case 2:
        return !IsDigit(c);
      case 3:
        return IsLetter(c) || IsDigit(c) || IsBlank(c);
      case 4:
        return !(IsBlank(c) || c == '\r' || c == '\n');
      case 5:
        return c >= 1 && c <= 126;
    }
    return true;
  };
  char* b = buffer_;
  int out = 0;
  for (int i = 0; i < length_; ++i)
    if (keep(static_cast<unsigned char>(b[i]))) b[out++] = b[i];
  length_ = out;
  b[length_] = '\0';
}

void TextString::ToLower() {
  for (int i = 0; i < length_; ++i) buffer_[i] = static_cast<char>(FoldLower(static_cast<unsigned char>(buffer_[i])));
}

void TextString::ToUpper() {
  for (int i = 0; i < length_; ++i) buffer_[i] = static_cast<char>(FoldUpper(static_cast<unsigned char>(buffer_[i])));
}

void TextString::ExpandTabs(int width) {
  // A width below 1 has no tab stops to expand to.
  if (width < 1 || length_ == 0 || std::memchr(buffer_, '\t', static_cast<size_t>(length_)) == nullptr)
    return;
  std::string out;
  out.reserve(static_cast<size_t>(length_) + 16);
  for (int i = 0; i < length_; ++i) {
    if (buffer_[i] != '\t') {
      out.push_back(buffer_[i]);
      continue;
    }
    const long long at = static_cast<long long>(out.size());
    long long blanks = width * ((width + at) / width) - at;
    if (blanks > 17) blanks = 17;
    out.append(static_cast<size_t>(blanks), ' ');
  }
  if (out.size() > static_cast<size_t>(INT_MAX - 2)) return;
  AssignBytes(out.data(), static_cast<int>(out.size()));
}

// ---- Fields ----

// A byte that ends a field under the wide separator 0xBF; entity forms count as one stop.
static bool EndsWideField(const char* p, const char* end) {
  const char c = *p;
  if (c == '\t' || c == ' ' || c == ',' || c == ';' || c == '<' || c == '>') return true;
  if (c != '&' || end - p < 4) return false;
  return std::memcmp(p, "&lt;", 4) == 0 || std::memcmp(p, "&gt;", 4) == 0;
}

bool TextString::GetFieldFrom(const char* from, int n, char separator, TextString& out, int* offset) const {
  const char* text = buffer_;
  if (n <= 0 || !PointsInto(from, text, length_)) {
    out.SetEmpty();
    return false;
  }
  const char* end = text + length_;
  const char* p = from;
  const auto isSeparator = [separator](char c) {
    return separator == ' ' ? IsBlank(static_cast<unsigned char>(c)) : c == separator;
  };
  // Step over n - 1 fields and their separators.
  for (int field = 1; field < n; ++field) {
    while (p < end && !isSeparator(*p)) ++p;
    if (p == end) {
      out.SetEmpty();
      return false;
    }
    ++p;
    if (separator == ' ')
      while (p < end && IsBlank(static_cast<unsigned char>(*p))) ++p;
    // A separator at the very end opens no further field.
    if (p == end) {
      out.SetEmpty();
      return false;
    }
  }
  const char* fieldEnd = p;
  if (static_cast<unsigned char>(separator) == 0xBF)
    while (fieldEnd < end && !isSeparator(*fieldEnd) && !EndsWideField(fieldEnd, end)) ++fieldEnd;
  else
    while (fieldEnd < end && !isSeparator(*fieldEnd)) ++fieldEnd;
  out.AssignBytes(p, static_cast<int>(fieldEnd - p));
  if (offset) *offset = static_cast<int>(p - from);
  return true;
}

bool TextString::GetField(int n, char separator, TextString& out) const {
  return GetFieldFrom(buffer_, n, separator, out, nullptr);
}

bool TextString::GetFieldAndOffset(int n, char separator, TextString& out, int* offset) const {
  return GetFieldFrom(buffer_, n, separator, out, offset);
}

bool TextString::GetNextField(int* pos, char separator, TextString& out) const {
  if (pos == nullptr) return false;
  if (*pos < 0) *pos = 0;
  if (*pos >= length_) {
    out.SetEmpty();
    return false;
  }
  if (!GetFieldFrom(buffer_ + *pos, 1, separator, out, nullptr)) return false;
  const long long next = static_cast<long long>(*pos) + out.GetLength() + 1;
  *pos = next > length_ ? length_ : static_cast<int>(next);
  return true;
}

// ---- UTF-8 helpers ----

// Bytes taken by the character whose lead is at i, never past the end of the text.
static int Utf8Step(const char* text, int i, int length) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const bool continued = i + 1 < length && static_cast<unsigned char>(text[i + 1]) >= 0x80;
  int step = 1;
  if (lead >= 0xC1 && lead <= 0xDF)
    step = 2;
  else if (lead >= 0xF0 && lead <= 0xF4)
    step = continued ? 4 : 1;  // four-byte sequences lie outside the Basic Multilingual Plane
  else if (lead >= 0xE0)
    step = continued ? 3 : 1;
  return step < length - i ? step : length - i;
}

int TextString::Utf8ByteOffset(int count, int start) const {
  if (start < 0) start = 0;
  if (start > length_) return -1;
  int offset = start;
  for (int i = 0; i < count; ++i) {
    if (offset >= length_) return -1;
    offset += Utf8Step(buffer_, offset, length_);
  }
  return offset;
}

int TextString::Utf8CharCount(int from, int to) const {
  if (from < 0) from = 0;
  if (to < 0 || to >= length_) to = length_ - 1;
  int n = 0;
  for (int offset = from; offset <= to;) {
    offset += Utf8Step(buffer_, offset, length_);
    ++n;
  }
  return n;
}

// ---- Conversions between code pages and encodings ----

struct ByteMapping {
  unsigned char from;
  char to;
};

// Mac Roman punctuation with an ASCII form.
static constexpr ByteMapping kMacPunctuation[] = {
    {0x92, '\''}, {0xD5, '\''}, {0x96, '-'}, {0xA5, '-'}, {0xAE, '>'},
    {0xB4, '*'},  {0xD2, '"'},  {0xD3, '"'}, {0xD4, '`'},
};

void TextString::ConvertMacCharacters() {
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (c < 0x80) continue;
    for (const ByteMapping& mapping : kMacPunctuation) {
      if (mapping.from != c) continue;
      buffer_[i] = mapping.to;
      break;
    }
  }
}

// Code page 437 bytes 0x80-0xFF in Windows-1252; 0 marks a byte with no counterpart (it
// becomes '?' on request), 1 marks box drawing, handled apart.
static constexpr unsigned char kOemToWindows[128] = {
    // 0x80
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    // 0x90
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFD, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, '.', 0x83,
    // 0xA0
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xB0, 0xBF, 0, 0xCA, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    // 0xB0
    0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    // 0xC0
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    // 0xD0
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0,
    // 0xE0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xF0
    0, 0xB1, 0, 0, 0, 0, 0xF7, 0, 0xB0, 0x95, '.', 0, 'n', 0xB2, 0, 0,
};

static char BoxDrawingForm(unsigned char c) {
  if (c == 0xB3 || c == 0xBA) return '|';
  if (c == 0xC4) return '-';
  if (c == 0xCD) return '=';
  return '+';
}

// True when the box-drawing byte c followed by next continues a horizontal line.
static bool ContinuesHorizontal(unsigned char c, unsigned char next) {
  if (next == 0xC4)
    return (c >= 0xC0 && c <= 0xC5) || c == 0xC7 || c == 0xD0 || c == 0xD2 || c == 0xD3 ||
           c == 0xD6 || c == 0xD7 || c == 0xDA;
  if (next == 0xCD)
    return c == 0xC6 || (c >= 0xC8 && c <= 0xCF) || c == 0xD1 || c == 0xD4 || c == 0xD5 || c == 0xD8;
  return false;
}

// Box-drawing bytes whose values the conversion also gives to letters and signs (0xC4 is both
// a horizontal line and the A with diaeresis that 0x8E becomes), each with the byte that
// marks it: bytes that neither the conversion nor the Windows punctuation clean-up produce,
// those that Windows-1252 leaves undefined first.
struct BoxMark {
  unsigned char box;
  unsigned char mark;
};
static constexpr BoxMark kBoxMarks[] = {
    {0xBB, 0x81}, {0xBC, 0x8D}, {0xBD, 0x8F}, {0xBF, 0x90}, {0xC4, 0x9D}, {0xC5, 0x80},
    {0xC6, 0x82}, {0xC7, 0x84}, {0xC9, 0x85}, {0xCA, 0x86}, {0xD1, 0x87}, {0xD6, 0x88},
};

static unsigned char MarkBoxDrawing(unsigned char c) {
  for (const BoxMark& m : kBoxMarks) {
    if (m.box == c) return m.mark;
  }
  return c;
}

int OemBoxDrawingByte(unsigned char c) {
  if (c < 0x80) return 0;
  for (const BoxMark& m : kBoxMarks) {
    if (m.mark == c) return m.box;
    if (m.box == c) return 0;  // a letter: its box drawing would carry the mark
  }
  return c >= 0xB3 && c <= 0xDA ? c : 0;
}

void TextString::ConvertOemCharacters(int storeBoxDrawing, int unknownToQuestionMark, int convertBoxDrawing,
                                      int* horizontalRuns, int markBoxDrawing) {
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (c < 0x80) continue;
    const unsigned char mapped = kOemToWindows[c - 0x80];
    if (mapped == 1) {
      if (unknownToQuestionMark || convertBoxDrawing) {
        const auto next = static_cast<unsigned char>(i + 1 < length_ ? buffer_[i + 1] : 0);
        if (horizontalRuns && ContinuesHorizontal(c, next)) ++*horizontalRuns;
        if (storeBoxDrawing) {
          buffer_[i] = BoxDrawingForm(c);
          continue;
        }
      }
      if (markBoxDrawing) buffer_[i] = static_cast<char>(MarkBoxDrawing(c));
      continue;
    }
    if (mapped != 0) {
      buffer_[i] = static_cast<char>(mapped);
      continue;
    }
    if (unknownToQuestionMark) buffer_[i] = '?';
  }
}

void TextString::ConvertWindowsPunctuation(int keepDashes) {
  bool longDash = false;
  for (int i = 0; i < length_; ++i) {
    switch (static_cast<unsigned char>(buffer_[i])) {
      case 0x91:
        buffer_[i] = '`';
        break;
      case 0x92:
        buffer_[i] = '\'';
        break;
      case 0x93:
      case 0x94:
        buffer_[i] = '"';
        break;
      case 0x95:
        buffer_[i] = '-';
        break;
      case 0x96:
        if (!keepDashes) buffer_[i] = '-';
        break;
      case 0x97:
        longDash = true;
        break;
      case 0xA0:
        buffer_[i] = ' ';
        break;
      default:
        break;
    }
  }
  // Only the long dash changes the length; it is rare, so it takes a second pass.
  if (longDash && !keepDashes) ReplaceAll("\x97", "--", 0, 1);
}

// KOI8-R bytes 0x80-0xFF in Windows-1251; box drawing becomes ASCII, the rest '?'.
static constexpr unsigned char kKoi8rToWindows1251[128] = {
    // 0x80: box drawing and blocks
    '-', '|', '+', '+', '+', '+', '+', '+', '+', '+', '+', '?', '?', '?', '?', '?',
    // 0x90
    '?', '?', '?', '?', '?', 0x9E, '?', '?', '?', '?', 0xA0, '?', 0xB0, '2', '?', '/',
    // 0xA0
    '=', '|', '+', 0xB8, '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '+',
    // 0xB0
    '+', '+', '+', 0xA8, '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', '+', 0xA9,
    // 0xC0: lower-case letters in KOI8-R order
    0xFE, 0xE0, 0xE1, 0xF6, 0xE4, 0xE5, 0xF4, 0xE3, 0xF5, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE,
    0xEF, 0xFF, 0xF0, 0xF1, 0xF2, 0xF3, 0xE6, 0xE2, 0xFC, 0xFB, 0xE7, 0xF8, 0xFD, 0xF9, 0xF7, 0xFA,
    // 0xE0: capitals
    0xDE, 0xC0, 0xC1, 0xD6, 0xC4, 0xC5, 0xD4, 0xC3, 0xD5, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE,
    0xCF, 0xDF, 0xD0, 0xD1, 0xD2, 0xD3, 0xC6, 0xC2, 0xDC, 0xDB, 0xC7, 0xD8, 0xDD, 0xD9, 0xD7, 0xDA,
};

void TextString::ConvertKoi8rToCp1251() {
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (c >= 0x80) buffer_[i] = static_cast<char>(kKoi8rToWindows1251[c - 0x80]);
  }
}

static void AppendUtf8(std::string& out, unsigned long u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 + u / 64));
    out.push_back(static_cast<char>(0x80 + u % 64));
  } else if (u < 0x10000) {
    out.push_back(static_cast<char>(0xE0 + u / 4096));
    out.push_back(static_cast<char>(0x80 + (u % 4096) / 64));
    out.push_back(static_cast<char>(0x80 + u % 64));
  } else {
    out.push_back(static_cast<char>(0xF0 + u / 262144));
    out.push_back(static_cast<char>(0x80 + (u % 262144) / 4096));
    out.push_back(static_cast<char>(0x80 + (u % 4096) / 64));
    out.push_back(static_cast<char>(0x80 + u % 64));
  }
}

static bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
static bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

bool TextString::Utf16ToUtf8(int bigEndian) {
  const auto* b = reinterpret_cast<const unsigned char*>(buffer_);
  const int units = length_ / 2;
  const auto unitAt = [&](int k) -> unsigned {
    const unsigned first = b[2 * k];
    const unsigned second = b[2 * k + 1];
    return bigEndian ? 256 * first + second : first + 256 * second;
  };
  std::string out;
  out.reserve(static_cast<size_t>(units) * 3);
  bool allAscii = true;
  for (int k = 0; k < units; ++k) {
    const unsigned u = unitAt(k);
    if (u >= 0x80) allAscii = false;
    if (IsHighSurrogate(u) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
      // A surrogate pair is one character outside the Basic Multilingual Plane.
      const unsigned long code = 0x10000UL + ((u - 0xD800UL) << 10) + (unitAt(k + 1) - 0xDC00UL);
      AppendUtf8(out, code);
      ++k;
      continue;
    }
    // A lone surrogate has no UTF-8 form.
    AppendUtf8(out, (IsHighSurrogate(u) || IsLowSurrogate(u)) ? 0xFFFDUL : u);
  }
  if (out.size() > static_cast<size_t>(INT_MAX - 2)) return allAscii;
  AssignBytes(out.data(), static_cast<int>(out.size()));
  return allAscii;
}

// Replaces each marker followed by two hexadecimal digits whose value accept() takes by
// that byte, in place; scanning goes on after the new byte. Returns the new length.
template <typename Accept>
static int DecodeHexEscapes(char* b, int length, char marker, Accept accept) {
  int out = 0;
  for (int i = 0; i < length; ++i) {
    if (b[i] == marker && i + 2 < length) {
      const int high = HexValue(static_cast<unsigned char>(b[i + 1]));
      const int low = HexValue(static_cast<unsigned char>(b[i + 2]));
      if (high >= 0 && low >= 0 && accept(high * 16 + low)) {
        b[out++] = static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    b[out++] = b[i];
  }
  return out;
}

void TextString::DecodeQuotedPrintable(int printableOnly) {
  if (length_ < 3 || std::memchr(buffer_, '=', static_cast<size_t>(length_)) == nullptr) return;
  length_ = DecodeHexEscapes(buffer_, length_, '=',
                             [printableOnly](int value) { return !printableOnly || (value >= 32 && value <= 127); });
  buffer_[length_] = '\0';
}

void TextString::DecodePercentEscapes() {
  if (length_ < 3 || std::memchr(buffer_, '%', static_cast<size_t>(length_)) == nullptr) return;
  // Control characters stay escaped.
  length_ = DecodeHexEscapes(buffer_, length_, '%', [](int value) { return value >= 32; });
  buffer_[length_] = '\0';
}

void TextString::EscapeHighCharacters() {
  // Most texts have no such byte: they are left without building a copy.
  const auto isHigh = [](char c) { return static_cast<unsigned char>(c) >= 0x80; };
  if (std::none_of(buffer_, buffer_ + length_, isHigh)) return;
  std::string out;
  bool any = false;
  out.reserve(static_cast<size_t>(length_) + 16);
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(buffer_[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\'%2.2x", c);
    out.append(escape);
    any = true;
  }
  if (!any || out.size() > static_cast<size_t>(INT_MAX - 2)) return;
  AssignBytes(out.data(), static_cast<int>(out.size()));
}

namespace {

enum class EscapeKind { LineDrawingOn, LineDrawingOff, CursorOff, Other };

struct EscapeSequence {
  int length;  // bytes from the ESC on
  EscapeKind kind;
};

}  // namespace

// The escape sequence whose ESC is at text[i]: ESC, an optional '[', parameter bytes
// 0x26-0x3F, intermediate bytes 0x20-0x2F and one final byte (when the text holds it).
static EscapeSequence ReadEscapeSequence(const char* text, int i, int length) {
  const auto at = [&](int k) { return k < length ? static_cast<unsigned char>(text[k]) : 0; };
  if (at(i + 1) == '(' && (at(i + 2) == '0' || at(i + 2) == 'B'))
    return {3, at(i + 2) == '0' ? EscapeKind::LineDrawingOn : EscapeKind::LineDrawingOff};
  int k = i + 1;
  const bool bracket = at(k) == '[';
  if (bracket) ++k;
  const int parameters = k;
  while (k < length && at(k) >= 0x26 && at(k) <= 0x3F) ++k;
  const int parametersEnd = k;
  while (k < length && at(k) >= 0x20 && at(k) <= 0x2F) ++k;
  const int finalAt = k;
  if (k < length) ++k;
  EscapeKind kind = EscapeKind::Other;
  // ESC [ digits ; digits blank G
  if (bracket && finalAt < length && at(finalAt) == 'G' && finalAt == parametersEnd + 1 &&
      at(parametersEnd) == ' ') {
    int p = parameters;
    int digitsBefore = 0;
    while (p < parametersEnd && IsDigit(at(p))) ++p, ++digitsBefore;
    int digitsAfter = 0;
    if (p < parametersEnd && at(p) == ';') {
      ++p;
      while (p < parametersEnd && IsDigit(at(p))) ++p, ++digitsAfter;
      if (p == parametersEnd && digitsBefore > 0 && digitsAfter > 0) kind = EscapeKind::CursorOff;
    }
  }
  return {k - i, kind};
}

static char LineDrawingForm(char c) {
  if (c >= 'o' && c <= 's') return '-';
  if (c == 'x') return '|';
  if (c == 'j' || c == 'k' || c == 'l' || c == 'm' || c == 't' || c == 'u' || c == 'v' || c == 'w') return '+';
  return c;
}

void TextString::ConvertEscapeSequences(int* lineDrawingMode, int* escapeSeen, TextString& message) {
  char* b = buffer_;
  if (!b) return;
  int mode = lineDrawingMode ? *lineDrawingMode : 0;
  // First pass: follow the line-drawing mode and turn its letters into ASCII.
  for (int i = 0; i < length_;) {
    if (b[i] != '\x1B') {
      if (mode) b[i] = LineDrawingForm(b[i]);
      ++i;
      continue;
    }
    if (escapeSeen) *escapeSeen = 1;
    const EscapeSequence seq = ReadEscapeSequence(b, i, length_);
    if (seq.kind == EscapeKind::LineDrawingOn) mode = 1;
    if (seq.kind == EscapeKind::LineDrawingOff || seq.kind == EscapeKind::CursorOff) mode = 0;
    i += seq.length;
  }
  if (lineDrawingMode) *lineDrawingMode = mode;
  // Second pass: drop every sequence, naming the ones not understood.
  int out = 0;
  for (int i = 0; i < length_;) {
    if (b[i] != '\x1B') {
      b[out++] = b[i++];
      continue;
    }
    const EscapeSequence seq = ReadEscapeSequence(b, i, length_);
    if (seq.kind == EscapeKind::Other) {
      TextString text("Unknown Escape sequence : ESC ");
      AppendRaw(text, b + i + 1, seq.length - 1);
      message = text;
    }
    i += seq.length;
  }
  length_ = out;
  b[length_] = '\0';
}

// ---- Number forms ----

static void AppendLetters(TextString& s, int n, bool capitals) {
  if (n <= 0 || n > 18278) return;
  char letters[4] = {};
  int count = 0;
  // Bijective base 26: 1 'a' .. 26 'z', 27 'aa'.
  while (n > 0) {
    const int digit = (n - 1) % 26;
    letters[count++] = static_cast<char>((capitals ? 'A' : 'a') + digit);
    n = (n - 1) / 26;
  }
  for (int i = count - 1; i >= 0; --i) s.AppendChar(letters[i]);
}

static void AppendRoman(TextString& s, int n, bool capitals) {
  if (n <= 0) return;
  static constexpr const char* kThousands[] = {"", "m", "mm", "mmm"};
  static constexpr const char* kHundreds[] = {"", "c", "cc", "ccc", "cd", "d", "dc", "dcc", "dccc", "cm"};
  static constexpr const char* kTens[] = {"", "x", "xx", "xxx", "xl", "l", "lx", "lxx", "lxxx", "xc"};
  static constexpr const char* kUnits[] = {"", "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix"};
  std::string text;
  // 4,000 and more have no thousands form.
  if (n < 4000) text += kThousands[n / 1000];
  text += kHundreds[(n / 100) % 10];
  text += kTens[(n / 10) % 10];
  text += kUnits[n % 10];
  for (char c : text) s.AppendChar(capitals ? static_cast<char>(FoldUpper(static_cast<unsigned char>(c))) : c);
}

int TextString::AppendNumber(char style, int n, int trailingBlank) {
  switch (style) {
    case 'a':
    case 'A':
      AppendLetters(*this, n, style == 'A');
      break;
    case 'i':
    case 'I':
      AppendRoman(*this, n, style == 'I');
      break;
    default: {
      char digits[16];
      std::snprintf(digits, sizeof digits, "%i", n);
      Append(digits);
      break;
    }
  }
  if (trailingBlank) AppendChar(' ');
  return 1;
}

// Reads a signed integer of the given base from [p, end) with overflow checks; the span
// holds only digits of the base after an optional sign.
static bool ReadInteger(const char* p, const char* end, int base, int* out) {
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  if (p == end) return false;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long value = 0;
  for (; p < end; ++p) {
    const int digit = HexValue(static_cast<unsigned char>(*p));
    if (digit < 0 || digit >= base) return false;
    value = value * base + digit;
    if (value > limit) return false;
  }
  *out = static_cast<int>(negative ? -value : value);
  return true;
}

// The number span of a decimal or octal text: from the first digit or sign to the last digit,
// with no letter outside it.
static bool ParseIntegerSpan(const char* text, int length, int base, int* out) {
  int first = -1;
  int last = -1;
  for (int i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (first < 0 && (IsDigit(c) || c == '+' || c == '-')) first = i;
    if (IsDigit(c)) last = i;
  }
  if (first < 0 || last < first) return false;
  for (int i = 0; i < length; ++i) {
    if (i >= first && i <= last) continue;
    if (IsLetter(static_cast<unsigned char>(text[i]))) return false;
  }
  return ReadInteger(text + first, text + last + 1, base, out);
}

static int ParseRoman(const TextString& text) {
  struct RomanPart {
    const char* text;
    int value;
  };
  // Longer and subtractive forms first, each taken out before the next is looked for.
  static constexpr RomanPart kParts[] = {
      {"xl", 40}, {"ix", 9},  {"iv", 4},  {"iii", 3}, {"ii", 2}, {"i", 1},
      {"v", 5},   {"xxx", 30}, {"xx", 20}, {"x", 10},  {"l", 50},
  };
  TextString work(text);
  int value = 0;
  for (const RomanPart& part : kParts) {
    if (!work.ContainsNoCase(part.text)) continue;
    value += part.value;
    work.ReplaceAll(part.text, "", 0, 0);
  }
  return value;
}

bool TextString::ParseNumber(char style, int* out) const {
  int dummy = 0;
  if (out == nullptr) out = &dummy;
  *out = -1;
  const char* text = GetText();
  switch (style) {
    case '1':
      return ParseIntegerSpan(text, length_, 10, out);
    case 'O':
      return ParseIntegerSpan(text, length_, 8, out);
    case 'a':
    case 'A':
      for (int i = 0; i < length_; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!IsLetter(c)) continue;
        *out = FoldLower(c) - 'a' + 1;
        return true;
      }
      return false;
    case 'i':
    case 'I':
      *out = ParseRoman(*this);
      return true;
    case 'X': {
      if (length_ == 0) return false;
      long long value = 0;
      for (int i = 0; i < length_; ++i) {
        const int digit = HexValue(static_cast<unsigned char>(text[i]));
        if (digit < 0) return false;
        value = value * 16 + digit;
        if (value > INT_MAX) return false;
      }
      *out = static_cast<int>(value);
      return true;
    }
    default:
      return false;
  }
}

int TextString::AppendDouble(double x, int trailingBlank) {
  // The widest double in this form has 309 digits before the point, a sign, the point and
  // three decimals; the buffer holds it with room to spare, so nothing is ever cut.
  char text[400];
  const int written = std::snprintf(text, sizeof text, "%18.3f", x);
  if (written < 0 || written >= static_cast<int>(sizeof text)) return 0;
  const std::string_view digits(text, static_cast<size_t>(written));
  const size_t begin = digits.find_first_not_of(' ');
  const size_t end = digits.find_last_not_of(' ');
  if (begin != std::string_view::npos) AppendRaw(*this, text + begin, static_cast<int>(end - begin + 1));
  if (trailingBlank) AppendChar(' ');
  return 1;
}

bool TextString::ParseDouble(double* out) const {
  double dummy = 0;
  if (out == nullptr) out = &dummy;
  *out = -1;
  const char* text = GetText();
  int first = -1;
  int last = -1;
  for (int i = 0; i < length_; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (first < 0 && (IsDigit(c) || c == '+' || c == '-' || c == '.')) first = i;
    if (IsDigit(c) || c == '.') last = i;
  }
  if (first < 0 || last < first) return false;
  for (int i = 0; i < length_; ++i) {
    if (i >= first && i <= last) continue;
    if (IsLetter(static_cast<unsigned char>(text[i]))) return false;
  }
  bool seenPoint = false;
  bool seenDigit = false;
  for (int i = first; i <= last; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsDigit(c)) {
      seenDigit = true;
      continue;
    }
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if ((c == '+' || c == '-') && i == first) continue;
    return false;
  }
  if (!seenDigit) return false;
  const std::string span(text + first, static_cast<size_t>(last - first + 1));
  char* end = nullptr;
  const double value = std::strtod(span.c_str(), &end);
  if (end != span.c_str() + span.size()) return false;
  *out = value;
  return true;
}

// ---- Reversible scrambling ----

// The program's own alphabet: every byte appears once, so the rotation can be undone.
static constexpr std::string_view kScrambleAlphabet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;:!?-_/()'\"@#$%&*+=<>[]{}~^|\\`";

void TextString::Unscramble(int direction) {
  if (direction != 0 && direction != 1) return;
  const long long m = static_cast<long long>(kScrambleAlphabet.size());
  const long long k = (m + length_) / 2;
  for (int i = 0; i < length_; ++i) {
    const size_t a = kScrambleAlphabet.find(buffer_[i]);
    if (a == std::string_view::npos || buffer_[i] == '\0') continue;
    const long long shift = (k + i) % m;
    long long index = direction == 1 ? static_cast<long long>(a) + shift : static_cast<long long>(a) - shift;
    index = ((index % m) + m) % m;
    buffer_[i] = kScrambleAlphabet[static_cast<size_t>(index)];
  }
}

int TextString::AssignUnscrambled(const char* stored) {
  const int result = Assign(stored);
  Unscramble(0);
  return result;
}
