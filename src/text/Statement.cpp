#include "text/Statement.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <span>

#include "text/CharacterUtils.h"

namespace {

// Byte pairs (first byte high) that mark one character set, and the counter they feed.
struct PairRow {
  int CharacterPairCounts::*counter;
  std::span<const std::uint16_t> pairs;
};

// Single bytes that mark one character set when they begin a pair.
struct ByteRow {
  int CharacterPairCounts::*counter;
  std::span<const std::uint8_t> bytes;
};

constexpr std::uint16_t kKoi8r[] = {0xD3D4, 0xC5CE, 0xCEC1, 0xCFD7, 0xC7CF,
                                    0xCECF, 0xCEC9, 0xCFC7, 0xD0D2, 0xD2C5};
constexpr std::uint16_t kWindows1251[] = {0xE5ED, 0xF1F2, 0xEDE8, 0xEEE2, 0xF0E0,
                                          0xF2EE, 0xECE5, 0xF2E0, 0xEBE5, 0xEDEE};
constexpr std::uint16_t kArabic[] = {0xC7E1, 0xE6C7, 0xEDC9, 0xE1DD, 0xE1E3,
                                     0xC7E4, 0xEDC7, 0xDDE4, 0xE3C7, 0xC7CA};
constexpr std::uint16_t kGreek[] = {0xEFF5, 0xF4EF, 0xF4E7, 0xF3F4, 0xE9EA,
                                    0xE1F4, 0xE1E9, 0xEAE1, 0xF4E5, 0xECE5};
constexpr std::uint16_t kTurkish[] = {0xFD73, 0x6CFD, 0x6DFD, 0xDD53, 0x4CDD, 0x4DDD,
                                      0xFD6D, 0xFD6E, 0x72FD, 0x74FD, 0x6EFD};
constexpr std::uint16_t kThai[] = {0xD5E8, 0xCDA7, 0xB7D5, 0xE8CD, 0xC5EC,
                                   0xE8D2, 0xC3D1, 0xD7E8, 0xD1E9, 0xD2C3};
constexpr std::uint16_t kKorean[] = {0xC0CC, 0xB5E9, 0xC0C7, 0xB4C2, 0xB4D9,
                                     0xC6AE, 0xBFA1, 0xC7CF, 0xBCAD, 0xBDBA};
constexpr std::uint16_t kHebrew[] = {0xEDE9, 0xFAE5, 0xE9F0, 0xE9EE, 0xFAE0,
                                     0xE5E4, 0xE5E0, 0xE0E5, 0xF0E0, 0xE5EE};
constexpr std::uint16_t kIso2022jp[] = {0x1B24, 0x2442, 0x2842, 0x2424, 0x244E,
                                        0x2447, 0x2123, 0x2122, 0x231B, 0x245E};
constexpr std::uint16_t kOemBoxDrawing[] = {0xCDCD, 0xC4C4, 0xC2C4, 0xC4C2, 0xC4C1, 0xC1C4,
                                            0xC4B4, 0xC4C5, 0xC5C4, 0xB320, 0x20B3};

constexpr PairRow kPairRows[] = {
    {&CharacterPairCounts::koi8r, kKoi8r},
    {&CharacterPairCounts::windows1251, kWindows1251},
    {&CharacterPairCounts::arabic, kArabic},
    {&CharacterPairCounts::greek, kGreek},
    {&CharacterPairCounts::turkish, kTurkish},
    {&CharacterPairCounts::thai, kThai},
    {&CharacterPairCounts::korean, kKorean},
    {&CharacterPairCounts::hebrew, kHebrew},
    {&CharacterPairCounts::iso2022jp, kIso2022jp},
    {&CharacterPairCounts::oemBoxDrawing, kOemBoxDrawing},
};

constexpr std::uint8_t kTurkishLetters[] = {0xFD, 0xDD, 0xFE, 0xF6, 0xD6, 0xFC, 0xDC, 0xE7, 0xC7};
constexpr std::uint8_t kSingleByteSet1[] = {0xD0, 0xC4, 0xB5, 0xC7, 0xCD,
                                            0xBD, 0xBC, 0xB1, 0xC8, 0xA3};
constexpr std::uint8_t kSingleByteSet2[] = {0xA4, 0xA1, 0xA5, 0xA6, 0xA7,
                                            0xAA, 0xA8, 0xBA, 0xB6, 0xB0};
constexpr std::uint8_t kSingleByteSet3[] = {0xC0, 0xB8, 0xB4, 0xC7, 0xBF, 0xBC,
                                            0xB0, 0xC1, 0xCF, 0xB5, 0xB1};

constexpr ByteRow kByteRows[] = {
    {&CharacterPairCounts::turkishLetters, kTurkishLetters},
    {&CharacterPairCounts::singleByteSet1, kSingleByteSet1},
    {&CharacterPairCounts::singleByteSet2, kSingleByteSet2},
    {&CharacterPairCounts::singleByteSet3, kSingleByteSet3},
};

// The pairs of every pair row as one bit set, and the bytes of every byte row as one table:
// most pairs of a text are in no row, and one look-up tells so.
struct PairLookup {
  std::uint64_t pairBits[65536 / 64] = {};
  bool byteListed[256] = {};
  constexpr PairLookup() {
    for (const PairRow& row : kPairRows)
      for (const std::uint16_t pair : row.pairs)
        pairBits[pair / 64] |= std::uint64_t{1} << (pair % 64);
    for (const ByteRow& row : kByteRows)
      for (const std::uint8_t b : row.bytes)
        byteListed[b] = true;
  }
  constexpr bool HasPair(std::uint16_t pair) const {
    return (pairBits[pair / 64] >> (pair % 64)) & 1;
  }
};
constexpr PairLookup kPairLookup;

}  // namespace

static bool IsBlankByte(unsigned char c) { return c == ' ' || c == '\t'; }
static bool InRange(unsigned char c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; }

template <typename T>
static bool Contains(std::span<const T> values, T value) {
  for (const T v : values) {
    if (v == value) return true;
  }
  return false;
}

void CountBytePairs(const char* text, int length, CharacterPairCounts& counts) {
  if (length < 2 || length - 1 > INT_MAX - counts.pairs) return;
  counts.pairs += length - 1;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  bool skipUpper = false;
  bool skipLower = false;
  int utf8Inside = 0;  // pairs still inside a UTF-8 sequence
  for (int i = 0; i + 1 < length; ++i) {
    const unsigned char x = bytes[i];
    const unsigned char y = bytes[i + 1];
    if (!IsBlankByte(x)) ++counts.nonBlank;
    if (!IsBlankByte(x) && !IsBlankByte(y) && x != y) ++counts.distinctPairs;

    const bool yTrail = InRange(y, 0x40, 0xFD);
    if (skipUpper) {
      skipUpper = false;
    } else if (InRange(x, 0xA1, 0xFE) && yTrail) {
      ++counts.doubleByteUpper;
      skipUpper = true;
    }
    if (skipLower) {
      skipLower = false;
    } else if (InRange(x, 0x81, 0x9F) && yTrail) {
      ++counts.doubleByteLower;
      skipLower = true;
    }

    if (utf8Inside > 0) {
      --utf8Inside;
    } else {
      const bool lowLead = InRange(x, 0x81, 0x9F) && yTrail;
      const bool highLead = InRange(x, 0xA1, 0xFE) && yTrail && !(x >= 0xC0 && y >= 0x80);
      if (lowLead || highLead) ++counts.doubleByteNonUtf8;
      if (InRange(x, 0xC0, 0xDF) && y >= 0x80) {
        ++counts.utf8TwoByte;
        utf8Inside = 1;
      } else if (x >= 0xE0 && y >= 0x80 && i + 2 < length && bytes[i + 2] >= 0x80) {
        ++counts.utf8ThreeByte;
        utf8Inside = 2;
      }
    }

    const auto pair = static_cast<std::uint16_t>((x << 8) | y);
    if (kPairLookup.HasPair(pair)) {
      for (const PairRow& row : kPairRows) {
        if (Contains(row.pairs, pair)) ++(counts.*row.counter);
      }
    }
    if (kPairLookup.byteListed[x]) {
      for (const ByteRow& row : kByteRows) {
        if (Contains(row.bytes, static_cast<std::uint8_t>(x))) ++(counts.*row.counter);
      }
    }
  }
}

void CountUtf8Sequences(const char* text, int length, CharacterPairCounts& counts) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (int i = 0; i < length;) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    int codePoint = 0;
    const int used = DecodeUtf8Sequence(bytes + i, length - i, codePoint);
    if (used == 0) {
      if (counts.utf8Forbidden < INT_MAX) ++counts.utf8Forbidden;
      ++i;
      continue;
    }
    if (counts.utf8Sequences < INT_MAX) ++counts.utf8Sequences;
    i += used;
  }
}

Statement::Statement() = default;

Statement::Statement(Statement* previous) { LinkAfter(previous); }

// A copy carries the text and the analysis, not the place in a chain of lines.
Statement::Statement(const Statement& other)
    : TextString(other),
      rawCopy_(other.rawCopy_),
      lineType_(other.lineType_),
      firstWordLength_(other.firstWordLength_) {}

Statement& Statement::operator=(const Statement& other) {
  if (this == &other) return *this;
  TextString::operator=(other);
  rawCopy_ = other.rawCopy_;
  lineType_ = other.lineType_;
  firstWordLength_ = other.firstWordLength_;
  return *this;
}

Statement::~Statement() = default;

void Statement::Reset(int keepText) {
  lineType_ = 0;
  firstWordLength_ = -1;
  if (!keepText) SetEmpty();
}

void Statement::LinkAfter(Statement* previous) {
  if (previous) previous->next_ = this;
  previous_ = previous;
  next_ = nullptr;
}

void Statement::DropTrailingCR() {
  if (length_ == 0 || buffer_[length_ - 1] != '\r') return;
  Truncate(length_ - 1);
  rawCopy_.Assign(*this);
}

void Statement::StripTrailingCR(FileControl&) { DropTrailingCR(); }

void Statement::AfterRead(StatementFile&, FileControl&, PolicyContext&) {}

void Statement::ReportLineMessage(Context&, const char*, int) {}

// A soft line break: a line over 40 bytes that ends in one '=' (not "==").
static bool EndsWithSoftBreak(const TextString& text) {
  const int n = text.GetLength();
  return n > 40 && text.CharAt(n - 1) == '=' && text.CharAt(n - 2) != '=';
}

void Statement::CountInputPairs(const InputRules& rules, InputRuleState& state) const {
  CharacterPairCounts* census = state.census;
  if (!rules.countPairs || !rules.analysisPass || census == nullptr) return;
  CountUtf8Sequences(GetText(), length_, *census);
  if (census->distinctPairs < CharacterPairCounts::kMaxDistinctPairs)
    CountBytePairs(GetText(), length_, *census);
}

bool Statement::CountCharacterPairs(const InputRules& rules, InputRuleState& state) {
  if (rules.pageMarkers && rules.pageMarkerSize > 0 && length_ == 1 && buffer_[0] == '\f') {
    SetEmpty();
    state.droppedLine = true;
    state.pageLinesLeft = rules.pageMarkerSize;
  }
  if (state.pageLinesLeft > 0) {
    SetEmpty();
    state.droppedLine = true;
    --state.pageLinesLeft;
    return false;
  }
  if (rules.doubleSpaced) {
    if (length_ == 0 && !state.droppedLine) {
      state.droppedLine = true;
      return false;
    }
    state.droppedLine = false;
  }
  CountInputPairs(rules, state);
  CharacterPairCounts* census = state.census;
  if ((rules.analysisPass || rules.mimeEncoding) && EndsWithSoftBreak(*this)) {
    if (rules.analysisPass) {
      if (census != nullptr) ++census->softLineBreaks;
    } else {
      Truncate(length_ - 1);
      return false;
    }
  }
  return true;
}

// Returns true when byte c is in set (the terminator of set never counts).
static bool InSet(const char* set, char c) { return c != '\0' && set && std::strchr(set, c); }

static bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

bool Statement::RestFitsWithin(int start, int width, int utf8) const {
  if (!utf8) return length_ - start <= width;
  // Stepping over width characters runs off the text (-1) or lands on its end.
  const int offset = Utf8ByteOffset(width, start);
  return offset < 0 || offset >= length_;
}

void Statement::FindBreakPosition(int start, int width, const char* blanks,
                                  const char* breakAfter, const char* breakBefore, int* breakAt,
                                  int utf8) const {
  const int length = length_;
  const auto byteAt = [this](int p) { return CharAt(p); };
  // A comma between two digits belongs to a number and is never a break.
  const auto isBreak = [&](const char* set, int p) {
    const char c = byteAt(p);
    if (!InSet(set, c)) return false;
    return !(c == ',' && p > 0 && IsDigitByte(byteAt(p - 1)) && IsDigitByte(byteAt(p + 1)));
  };

  // A rest that fits on one line is one segment: cutting it at its last blank would split
  // every short line in two and lose the blank between its words.
  if (RestFitsWithin(start, width, utf8)) {
    *breakAt = length - 1 < start ? start : length - 1;
    return;
  }

  int n = start + width;
  if (n > length) n = length;
  if (utf8) {
    bool multiByte = false;
    for (int p = start; p < length && !multiByte; ++p) {
      multiByte = static_cast<unsigned char>(byteAt(p)) >= 0x80;
    }
    if (multiByte) {
      const int offset = Utf8ByteOffset(width, start);
      n = (offset < 0 || offset > length) ? length : offset;
    }
  }

  int e = start;
  bool blankFound = false;
  for (int p = n; p > start; --p) {
    if (!isBreak(blanks, p)) continue;
    if (utf8 && static_cast<unsigned char>(byteAt(p - 1)) >= 0x80) continue;
    e = p;
    blankFound = true;
    break;
  }

  int f = -1;
  for (int p = n; p >= e && p > start; --p) {
    if (isBreak(breakAfter, p) && byteAt(p + 1) != '.') {
      f = p;
      break;
    }
  }

  int b = -1;
  for (int p = n; p >= e && p >= f && p > start; --p) {
    if (isBreak(breakBefore, p)) {
      b = p;
      break;
    }
  }

  int at = e;
  if (!blankFound || e < start + width - 15) {
    if (f > e) at = f;
    if (b >= 0 && b - 1 > at) at = b - 1;
  }
  if (at == start) at = start + width - 1;
  // The hard cut of the last segment must not run past the text.
  if (at > length - 1) at = length - 1;
  if (utf8) {
    for (int steps = 0; steps < 40 && at > start + 10 &&
                        static_cast<unsigned char>(byteAt(at)) > 0x80;
         ++steps) {
      --at;
    }
  }
  // Every segment holds at least one byte, so wrapping always moves on.
  if (at < start) at = start;
  *breakAt = at;
}

bool Statement::GetWrappedSegment(int width, int start, const char* blanks,
                                  const char* breakAfter, const char* breakBefore,
                                  TextString& out, int* next, int utf8) const {
  out.SetEmpty();
  *next = -1;
  if (start > length_) return false;
  int breakAt = start;
  FindBreakPosition(start, width, blanks, breakAfter, breakBefore, &breakAt, utf8);
  out.AssignSubstring(GetText(), start, breakAt - start + 1);
  // Only the blank the line was broken at goes; a rest written whole is kept as it is.
  if (!utf8 && !RestFitsWithin(start, width, utf8) && out.GetLength() > 0 &&
      InSet(blanks, out.CharAt(out.GetLength() - 1))) {
    out.Truncate(out.GetLength() - 1);
  }
  *next = breakAt + 1;
  return true;
}
