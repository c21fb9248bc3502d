#include "policy/TextClassification.h"

#include <cstdint>
#include <cstring>

#include "text/CharacterUtils.h"
#include "text/JReplaceParser.h"
#include "text/TextString.h"

// ---- Byte classes (ASCII only: bytes 128 and up are neither letters nor digits) ----

static constexpr bool IsBlank(unsigned char c) { return c == ' '; }
static constexpr bool IsRuleChar(unsigned char c) {
  return c == '*' || c == '-' || c == '=' || c == '_' || c == '~';
}
static constexpr bool IsMarkupChar(unsigned char c) {
  return c == '&' || c == '.' || c == '/' || c == ':' || c == '<' || c == '>' || c == '?';
}

// ---- ClassifyCellValue ----

static constexpr unsigned char kPound = 163;  // the pound sign in Windows-1252

static bool IsCurrencySign(unsigned char c) { return c == '$' || c == kPound; }

namespace {
struct CellScan {
  int good = 0;
  int dots = 0;
  int slashes = 0;
  int colons = 0;
  bool currencyBefore = false;
  bool currencyInside = false;
};
}  // namespace

static bool IsGoodLeadIn(unsigned char c, bool strict) {
  if (c == '.' || c == '*') return true;
  return strict && (c == ' ' || IsCurrencySign(c) || c == '(' || c == '+' || c == '-');
}

static bool IsGoodTail(unsigned char c, bool strict) {
  if (c == '%' || c == ':' || c == '.' || c == '*') return true;
  return strict && (c == ' ' || c == ')');
}

static CellScan ScanCell(const unsigned char* text, int length, bool strict) {
  CellScan scan;
  int i = 0;
  for (; i < length && !IsAsciiDigit(text[i]); ++i) {
    if (IsGoodLeadIn(text[i], strict)) ++scan.good;
    if (IsCurrencySign(text[i])) scan.currencyBefore = true;
  }
  for (; i < length; ++i) {
    const unsigned char c = text[i];
    if (IsAsciiDigit(c) || c == ',' || c == '-') {
      ++scan.good;
    } else if (c == '.') {
      ++scan.dots;
    } else if (c == '/') {
      ++scan.slashes;
    } else if (c == ':') {
      ++scan.colons;
    } else if (IsCurrencySign(c)) {
      scan.currencyInside = true;
    } else {
      break;
    }
  }
  // After the number only a few trailing characters still count as good.
  for (; i < length; ++i)
    if (IsGoodTail(text[i], strict)) ++scan.good;
  return scan;
}

int ClassifyCellValue(int kind, int defaultCode, const char* text) {
  const bool strict = kind == 1 || kind == 2;
  const int m = text == nullptr ? 0 : static_cast<int>(std::strlen(text));
  const CellScan s = ScanCell(reinterpret_cast<const unsigned char*>(text ? text : ""), m, strict);
  // g / m >= 0.95 (strict) or 0.6, in integers so that the boundary is exact.
  const long long g = s.good;
  const bool numeric = m > 0 && (strict ? 20 * g >= 19LL * m : 5 * g >= 3LL * m);

  if (s.currencyBefore || s.currencyInside) {
    if (s.colons > 0) return kCellText;
    if (!s.currencyInside) return s.slashes == 0 ? kCellCurrency : kCellText;
    if (s.slashes == 1 && (numeric || (m > 4 && g >= m - 2))) return kCellCurrencyRatio;
    return kCellText;
  }
  if (s.colons > 0) return (s.slashes == 0 && s.colons <= 2) ? kCellTime : kCellText;
  if (s.slashes > 0) {
    if (s.slashes == 2) return kCellDate;
    if (s.slashes == 1 && (numeric || (m > 3 && g >= m - 1))) return kCellRatio;
    return kCellText;
  }
  if (m == 0) return defaultCode;
  if (!numeric) return kCellText;
  if (s.dots < 2) return kCellNumber;
  if (s.dots == 3 && m >= 7 && m <= 17) return kCellDottedNumber;
  return kCellText;
}

// ---- Character classes ----

namespace {
// The classes of each byte in one table, so that a line is classified with one look-up a byte.
enum ByteClass : unsigned char {
  kClassLetter = 1,
  kClassDigit = 2,
  kClassBlank = 4,
  kClassRule = 8,
  kClassMarkup = 16,
};

struct ByteClassTable {
  unsigned char classes[256] = {};
  constexpr ByteClassTable() {
    for (int c = 0; c < 256; ++c) {
      const auto b = static_cast<unsigned char>(c);
      unsigned char k = 0;
      if (IsAsciiLetter(b)) k |= kClassLetter;
      if (IsAsciiDigit(b)) k |= kClassDigit;
      if (IsBlank(b)) k |= kClassBlank;
      if (IsRuleChar(b)) k |= kClassRule;
      if (IsMarkupChar(b)) k |= kClassMarkup;
      classes[c] = k;
    }
  }
};
constexpr ByteClassTable kByteClasses;
}  // namespace

CharacterClassCounts CountCharacterClasses(const char* text) {
  CharacterClassCounts n;
  if (text == nullptr) return n;
  // Local counters: the result lives in memory that the text's bytes may alias, so counting
  // into it directly would reload every byte after every count.
  int total = 0, blanks = 0, letters = 0, digits = 0, symbols = 0, changes = 0;
  int doubled = 0, ruleChars = 0, markupChars = 0;
  int first = -1;
  int last = -1;
  int blanksSoFar = 0;
  int blanksAtLast = 0;  // blanks before the last non-blank seen
  unsigned char previous = 0;
  unsigned char previousClass = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (int i = 0; bytes[i] != '\0'; ++i) {
    const unsigned char c = bytes[i];
    const unsigned char k = kByteClasses.classes[c];
    ++total;
    const bool letter = (k & kClassLetter) != 0;
    if (k & kClassBlank) {
      ++blanks;
      ++blanksSoFar;
      if (previousClass & kClassLetter) ++changes;
    } else {
      if (first < 0) first = i;
      last = i;
      blanksAtLast = blanksSoFar;
      if (letter)
        ++letters;
      else if (k & kClassDigit)
        ++digits;
      else
        ++symbols;
    }
    if (letter && i > 0) {
      if ((previousClass & kClassBlank) || ((previousClass & kClassLetter) && previous != c))
        ++changes;
      if (previous == c) ++doubled;
    }
    ruleChars += (k & kClassRule) != 0;
    markupChars += (k & kClassMarkup) != 0;
    previous = c;
    previousClass = k;
  }
  n.total = total;
  n.blanks = blanks;
  n.letters = letters;
  n.digits = digits;
  n.symbols = symbols;
  n.changes = changes;
  n.doubledLetters = doubled;
  n.ruleChars = ruleChars;
  n.markupChars = markupChars;
  if (first >= 0) {
    n.span = last - first + 1;
    // Blanks before the first non-blank are leading, not inner.
    n.innerBlanks = blanksAtLast - first;
  }
  return n;
}

namespace {
// What the symbol test weighs, packed per byte into one word of three 21-bit counters
// (symbols, markup characters, blanks), so that the walk adds one table entry a byte. This
// test runs on the line and on the line above it for most lines of a document.
constexpr int kPackBits = 21;
constexpr std::uint64_t kPackMask = (std::uint64_t{1} << kPackBits) - 1;
// Fewer bytes than this never carry a packed counter into its neighbour.
constexpr int kPackChunk = 1 << 20;

struct SymbolPackTable {
  std::uint64_t add[256] = {};
  constexpr SymbolPackTable() {
    for (int c = 0; c < 256; ++c) {
      const unsigned char k = kByteClasses.classes[c];
      std::uint64_t v = 0;
      if ((k & (kClassBlank | kClassLetter | kClassDigit)) == 0) v |= 1;
      if (k & kClassMarkup) v |= std::uint64_t{1} << kPackBits;
      if (k & kClassBlank) v |= std::uint64_t{1} << (2 * kPackBits);
      add[c] = v;
    }
  }
};
constexpr SymbolPackTable kSymbolPack;
}  // namespace

// The counts IsMostlySymbols reads (total, span, innerBlanks, symbols, markupChars), equal to
// CountCharacterClasses's; doubledLetters is left 0, since the test needs it only for some
// texts (CountDoubledLetters).
static CharacterClassCounts CountForSymbolTest(const unsigned char* bytes, int length) {
  CharacterClassCounts n;
  int symbols = 0, markup = 0, blanks = 0;
  for (int from = 0; from < length; from += kPackChunk) {
    const int to = length - from > kPackChunk ? from + kPackChunk : length;
    std::uint64_t packed = 0;
    for (int i = from; i < to; ++i)
      packed += kSymbolPack.add[bytes[i]];
    symbols += static_cast<int>(packed & kPackMask);
    markup += static_cast<int>((packed >> kPackBits) & kPackMask);
    blanks += static_cast<int>((packed >> (2 * kPackBits)) & kPackMask);
  }
  n.total = length;
  n.blanks = blanks;
  n.symbols = symbols;
  n.markupChars = markup;
  int first = 0;
  while (first < length && IsBlank(bytes[first])) ++first;
  if (first == length) return n;
  int last = length - 1;
  while (IsBlank(bytes[last])) --last;
  n.span = last - first + 1;
  n.innerBlanks = blanks - first - (length - 1 - last);
  return n;
}

// The letters equal to the byte before them, as CountCharacterClasses counts them.
static int CountDoubledLetters(const unsigned char* bytes, int length) {
  int doubled = 0;
  for (int i = 1; i < length; ++i) {
    const unsigned char c = bytes[i];
    doubled += (c == bytes[i - 1] && (kByteClasses.classes[c] & kClassLetter) != 0) ? 1 : 0;
  }
  return doubled;
}

bool IsMostlySymbols(const char* text) {
  if (text == nullptr) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const int length = static_cast<int>(std::strlen(text));
  const CharacterClassCounts c = CountForSymbolTest(bytes, length);
  int symbols = c.symbols;
  // Text made mostly of markup punctuation (paths, addresses, tags) is not decoration.
  if (3 * symbols < 4 * c.markupChars) symbols -= c.markupChars;
  const int n = c.span;
  // A long text with few symbols is words whatever its letters: most lines of a document
  // are decided without counting doubled letters.
  if (n > 19 && symbols <= c.total / 2 && 4 * symbols <= n) return false;
  const int b = symbols + c.innerBlanks + CountDoubledLetters(bytes, length);
  if (n <= 3) return (symbols == n && symbols >= 1) || (symbols >= 2 && b == n);
  if (n <= 19) {
    const bool wordy = 3 * symbols < 2 * n && (3 * symbols <= n || 3 * b < 2 * n) &&
                       (symbols == 0 || 5 * b < 4 * n) && b < n - 1;
    return !wordy;
  }
  if (symbols > c.total / 2) return true;
  return !(4 * symbols <= n || 3 * b < n);
}

bool IsRuleLine(const char* line) {
  if (line == nullptr) return false;
  bool ruleAfterFirst = false;
  unsigned char previous = 0;
  for (int i = 0; line[i] != '\0'; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == ' ') {
      if (previous == ' ') return false;
    } else if (c == '-' || c == '=' || c == '_') {
      // A run keeps one character; another needs a blank in between.
      if (previous != 0 && previous != ' ' && previous != c) return false;
      if (i > 0) ruleAfterFirst = true;
    } else {
      return false;
    }
    previous = c;
  }
  return ruleAfterFirst;
}

// ---- Extraction with the pattern scanner ----

namespace {
// What the FindBetween callbacks share during one scan.
struct BetweenState {
  JPattern* startPattern = nullptr;
  JPattern* endPattern = nullptr;
  bool resumeAfterStart = false;
  int recordedStart = -1;
  bool done = false;
  TextString* out = nullptr;
};
}  // namespace

// True when the pattern's last element is a "*C" or "%C" wildcard.
static bool EndsInStarOrPercent(const char* pattern) {
  // Walk the elements so that an escaped "|*" is not taken for a wildcard.
  bool lastWasStarOrPercent = false;
  for (int i = 0; pattern[i] != '\0';) {
    const char c = pattern[i];
    if ((c == '*' || c == '%' || c == '?' || c == '|') && pattern[i + 1] != '\0') {
      lastWasStarOrPercent = c == '*' || c == '%';
      i += 2;
      continue;
    }
    lastWasStarOrPercent = false;
    ++i;
  }
  return lastWasStarOrPercent;
}

static int OnBetweenMatch(JParser& /*parser*/, JPattern& pattern, JMatchState& match,
                          ParseBuffer& text, int& position, void* userData) {
  auto& state = *static_cast<BetweenState*>(userData);
  if (&pattern == state.startPattern) {
    if (state.recordedStart < 0 && !state.done) state.recordedStart = match.end + 1;
    // Without a trailing wildcard the last character may begin the end pattern, so it is
    // scanned again; a one-character match would then match again for ever, so it is not.
    if (!state.resumeAfterStart && match.start < match.end) position = match.end - 1;
    return kJNothingDone;
  }
  if (state.done) {
    state.recordedStart = -1;
    return kJNothingDone;
  }
  if (state.recordedStart < 0 || match.start < state.recordedStart) return kJNothingDone;
  state.out->AssignBytes(text.GetText() + state.recordedStart, match.start - state.recordedStart);
  state.done = true;
  return kJStopScan;
}

bool FindBetween(JReplaceParser& parser, const char* text, const char* startPattern,
                 const char* endPattern, TextString& out) {
  out.SetEmpty();
  if (text == nullptr || startPattern == nullptr || endPattern == nullptr) return false;
  BetweenState state;
  state.out = &out;
  state.resumeAfterStart = EndsInStarOrPercent(startPattern);
  parser.ClearPatterns();
  state.startPattern =
      parser.AddPattern(kJCallbackLong, startPattern, "", 0, OnBetweenMatch, &state);
  state.endPattern = parser.AddPattern(kJCallbackLong, endPattern, "", 0, OnBetweenMatch, &state);
  if (state.startPattern == nullptr || state.endPattern == nullptr) {
    parser.ClearPatterns();
    return false;
  }
  parser.Scan(text, nullptr, -1);
  // The patterns point at this call's state; none may outlive it.
  parser.ClearPatterns();
  if (!state.done) out.SetEmpty();
  return state.done;
}

bool FindBetween(PolicyContext& /*context*/, const char* text, const char* startPattern,
                 const char* endPattern, TextString& out) {
  // A parser of the call's own: the Context keeps none, and calls share no scanning state.
  JReplaceParser parser;
  return FindBetween(parser, text, startPattern, endPattern, out);
}

// Appends text to a pattern with the scanner's special characters as escaped literals.
static void AppendEscaped(TextString& pattern, const TextString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '|' || c == '*' || c == '%' || c == '?') pattern.AppendChar('|');
    pattern.AppendChar(c);
  }
}

// The end marker of the work text: a byte no attribute value ends in.
static constexpr char kEndMarker[] = "\xFF";

// The quoted value between the first two quote characters into value, or false when the
// value does not start with quote or has no closing one.
static bool TakeQuoted(TextString& value, char quote) {
  if (value.CharAt(0) != quote || value.CountChar(quote) < 2) return false;
  int close = -1;
  value.FindChar(1, quote, &close, 1);
  value.KeepSubstring(1, close - 1);
  return true;
}

// Shapes the raw text after "name=" into the attribute's value and completes the removal
// pattern with it.
static void ShapeValue(TextString& value, TextString& removal) {
  value.ReplaceChar(0, '\n', ' ', 0);
  value.ReplaceChar(0, '\t', ' ', 0);
  value.Trim();
  for (const char quote : {'"', '\''}) {
    if (!TakeQuoted(value, quote)) continue;
    removal.AppendChar(quote);
    AppendEscaped(removal, value);
    removal.AppendChar(quote);
    return;
  }
  const char first = value.CharAt(0);
  if (first == '"' || first == '\'') {
    // An unclosed quote: the text up to the tag's end.
    int close = -1;
    if (!value.FindChar(1, '>', &close, 1)) close = value.GetLength();
    value.KeepSubstring(1, close - 1);
    removal.AppendChar(first);
    AppendEscaped(removal, value);
    return;
  }
  int blank = -1;
  if (value.FindChar(0, ' ', &blank, 1)) value.Truncate(blank);
  if (value.EndsWith(",", 1)) value.Truncate(value.GetLength() - 1);
  AppendEscaped(removal, value);
}

static bool GetTagAttributeWith(JReplaceParser& finder, JReplaceParser& remover,
                                const char* name, TextString& tag, TextString& value,
                                bool remove) {
  value.SetEmpty();
  if (name == nullptr || name[0] == '\0') return false;
  if (tag.GetLength() < static_cast<int>(std::strlen(name)) || !tag.ContainsNoCase(name))
    return false;
  const TextString escapedName = [&] {
    TextString n;
    AppendEscaped(n, TextString(name));
    return n;
  }();

  TextString work(" ");
  work.Append(tag);
  if (work.EndsWith(">", 1)) work.Truncate(work.GetLength() - 1);
  work.Append(" ");
  work.Append(kEndMarker);
  TextString start("?W");
  start.Append(escapedName);
  start.Append("*W=");
  TextString removal(escapedName);
  removal.Append("*W=*W");

  if (FindBetween(finder, work.GetText(), start.GetText(), kEndMarker, value)) {
    ShapeValue(value, removal);
    if (!value.IsEmpty()) {
      if (remove) {
        remover.ClearPatterns();
        if (remover.AddPatternShort(kJReplace, removal.GetText(), "", 0) != nullptr &&
            remover.Scan(tag.GetText(), nullptr, -1) > 0)
          tag.Assign(remover.GetResultText());
        remover.ClearPatterns();
      }
      return true;
    }
  }

  // An attribute that stands without a value: its value is the rest of the tag.
  work.Assign(" ");
  work.Append(tag);
  work.Append(" dummy >");
  start.Assign("?W");
  start.Append(escapedName);
  start.Append("*W");
  if (!FindBetween(finder, work.GetText(), start.GetText(), ">", value)) return false;
  // Without a ">" of its own the tag's rest runs into the word we appended.
  value.Trim();
  if (!tag.ContainsChar('>')) {
    if (value.Compare("dummy", 1, 0))
      value.SetEmpty();
    else if (value.EndsWith(" dummy", 1))
      value.Truncate(value.GetLength() - 6);
    value.Trim();
  }
  return true;
}

bool GetTagAttribute(PolicyContext& /*context*/, const char* name, TextString& tag,
                     TextString& value, bool remove) {
  // Parsers of the call's own: the Context keeps none, and calls share no scanning state.
  JReplaceParser finder;
  JReplaceParser remover;
  return GetTagAttributeWith(finder, remover, name, tag, value, remove);
}
