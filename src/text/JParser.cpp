#include "text/JParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <limits>

// ---- ParseBuffer ----

void ParseBuffer::Reserve(int n) {
  if (data_ && n < capacity_)
    return;
  if (n < 0)
    n = 0;
  // The buffer at least doubles, so a text that grows by many replacements is copied a
  // bounded number of times per byte.
  if (data_)
    n = static_cast<int>(std::min<long long>(std::max<long long>(n, 2LL * capacity_ + 1),
                                             std::numeric_limits<int>::max() - 512));
  const int size = ((n + 1) / 256) * 256 + 256;
  auto bigger = std::make_unique<char[]>(size);
  if (data_)
    std::memcpy(bigger.get(), data_.get(), length_);
  bigger[length_] = '\0';
  data_ = std::move(bigger);
  capacity_ = size - 1;
}

void ParseBuffer::Assign(const char* text, int length) {
  if (text == nullptr)
    length = 0;
  else if (length < 0)
    length = static_cast<int>(std::strlen(text));
  length_ = 0;
  Reserve(length);
  if (length > 0)
    std::memcpy(data_.get(), text, length);
  length_ = length;
  data_[length_] = '\0';
}

void ParseBuffer::Clear(bool release) {
  if (release) {
    data_.reset();
    capacity_ = 0;
  } else if (data_) {
    data_[0] = '\0';
  }
  length_ = 0;
}

void ParseBuffer::Append(const char* text, int length) {
  if (text == nullptr)
    return;
  if (length < 0)
    length = static_cast<int>(std::strlen(text));
  if (length == 0 && data_)
    return;
  Reserve(length_ + length);
  std::memcpy(data_.get() + length_, text, length);
  length_ += length;
  data_[length_] = '\0';
}

int ParseBuffer::Insert(int position, const char* text) {
  return Replace(position, 0, text);
}

int ParseBuffer::Replace(int position, int count, const char* text) {
  if (position < 0 || position > length_)
    return 0;
  if (count < 0)
    count = 0;
  count = std::min(count, length_ - position);
  const int insertLength = text ? static_cast<int>(std::strlen(text)) : 0;
  const int newLength = length_ - count + insertLength;
  Reserve(newLength);
  char* data = data_.get();
  // The tail moves first so that an insertion longer than the span does not overwrite it.
  std::memmove(data + position + insertLength, data + position + count,
               length_ - position - count);
  if (insertLength > 0)
    std::memcpy(data + position, text, insertLength);
  length_ = newLength;
  data[length_] = '\0';
  return 1;
}

void ParseBuffer::Swap(ParseBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(length_, other.length_);
  std::swap(capacity_, other.capacity_);
}

// ---- Pattern language ----

static bool IsSpecial(char c) { return c == '%' || c == '*' || c == '?' || c == '|'; }

static unsigned char AsciiUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

static constexpr bool ClassHolds(char cls, unsigned char c) {
  switch (cls) {
    case '(':
      return c == '(' || c == '<' || c == '[' || c == '{';
    case ')':
      return c == ')' || c == '>' || c == ']' || c == '}';
    case '.':
      return c == '!' || c == '"' || c == '&' || c == '\'' || c == '(' || c == ')' ||
             c == ',' || c == '.' || c == ':' || c == ';' || c == '<' || c == '>' ||
             c == '[' || c == ']' || c == '{' || c == '}';
    case '1':
      return c >= '0' && c <= '9';
    case 'S':
      return c == ' ';
    case 'W':
      return c == ' ' || c == '\t' || c == '\n';
    case 'Z':
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    case 'A':
      return c >= 'A' && c <= 'Z';
    case 'a':
      return c >= 'a' && c <= 'z';
    case '*':
      return true;
  }
  return false;
}

static constexpr char kClassChars[] = {'(', ')', '.', '1', 'S', 'W', 'Z', 'A', 'a', '*'};

// The class test runs for nearly every pattern at every position, so it is one table look-up:
// per byte the set of classes holding it, per class character its bit (0 for no class).
struct ClassTables {
  std::uint16_t members[256] = {};
  std::uint16_t bit[256] = {};
};

static constexpr ClassTables MakeClassTables() {
  ClassTables tables;
  for (int k = 0; k < static_cast<int>(std::size(kClassChars)); ++k) {
    const auto bit = static_cast<std::uint16_t>(1u << k);
    tables.bit[static_cast<unsigned char>(kClassChars[k])] = bit;
    for (int c = 0; c < 256; ++c) {
      if (ClassHolds(kClassChars[k], static_cast<unsigned char>(c)))
        tables.members[c] = static_cast<std::uint16_t>(tables.members[c] | bit);
    }
  }
  return tables;
}

static constexpr ClassTables kClassTables = MakeClassTables();

static bool IsClassChar(char c) { return kClassTables.bit[static_cast<unsigned char>(c)] != 0; }

static bool InClass(char cls, unsigned char c) {
  return (kClassTables.members[c] & kClassTables.bit[static_cast<unsigned char>(cls)]) != 0;
}

// The character a "|c" element stands for.
static unsigned char EscapedChar(char c) {
  if (c == 'n')
    return '\n';
  if (c == 't')
    return '\t';
  return static_cast<unsigned char>(c);
}

static bool IsAnyRun(const char* pattern, int p) { return pattern[p] == '*' && pattern[p + 1] == '*'; }

bool IsValidPattern(const char* pattern) {
  if (pattern == nullptr || pattern[0] == '\0')
    return false;
  int lastElement = 0;
  for (int i = 0; pattern[i] != '\0';) {
    lastElement = i;
    const char c = pattern[i];
    // "|" makes any following character a literal ("|n" and "|t" stand for newline and tab).
    if (c == '|') {
      if (pattern[i + 1] == '\0')
        return false;
      i += 2;
      continue;
    }
    if (c == '%' || c == '*' || c == '?') {
      if (!IsClassChar(pattern[i + 1]))
        return false;
      i += 2;
      continue;
    }
    ++i;
  }
  // A trailing "**" after a literal would match at most the text's last character; only a
  // wildcard before it (or nothing) makes sense.
  if (IsAnyRun(pattern, lastElement) && lastElement > 0) {
    const char before = pattern[lastElement - 1];
    if (before != '*' && before != '?')
      return false;
  }
  return true;
}

// Case-insensitive patterns hold upper-case literals; class characters and the character
// after "|" or "\" keep their case.
static void CompilePattern(const char* source, int caseSensitive, std::vector<char>& out) {
  const int length = static_cast<int>(std::strlen(source));
  out.assign(source, source + length + 1);
  if (caseSensitive)
    return;
  for (int i = 0; i < length;) {
    if (IsSpecial(out[i]) || out[i] == '\\') {
      i += 2;
      continue;
    }
    out[i] = static_cast<char>(AsciiUpper(static_cast<unsigned char>(out[i])));
    ++i;
  }
}

// Whether a pattern in the reset state does anything at all on the byte c. Where it does not,
// the scanner need not step it.
static bool FirstElementAccepts(const JPattern& pattern, unsigned char c) {
  const char* p = pattern.GetPattern();
  const unsigned char folded = pattern.caseSensitive ? c : AsciiUpper(c);
  switch (p[0]) {
    case '%':
      return InClass(p[1], c);
    case '|':
      return c == EscapedChar(p[1]);
    case '?':
      // No exit before the element took a character.
      return InClass(p[1], c);
    case '*':
      switch (p[2]) {
        case '\0':
          return true;  // the element ends at the text's last character, whatever it is
        case '*':
        case '?':
          return false;  // a star before another wildcard stays where it is
        case '%':
          return InClass(p[1], c) || InClass(p[3], c);
        case '|':
          return InClass(p[1], c) || c == EscapedChar(p[3]);
      }
      return InClass(p[1], c) || folded == static_cast<unsigned char>(p[2]);
  }
  return folded == static_cast<unsigned char>(p[0]);
}

// ---- JParser ----

JParser::JParser() : JParser(1) {}

JParser::JParser(int kind) : kind_(kind) {}

JParser::~JParser() {
  busy_ = 0;
  scanning_ = false;
  ClearPatterns();
}

JPattern* JParser::AddPatternShort(int type, const char* pattern, const char* text,
                                   int caseSensitive) {
  return AddCompiled(type, pattern, text, caseSensitive, nullptr, nullptr);
}

JPattern* JParser::AddPattern(int type, const char* pattern, const char* text,
                              int caseSensitive, JCallback callback, void* userData) {
  return AddCompiled(type, pattern, text, caseSensitive, callback, userData);
}

JPattern* JParser::AddCompiled(int type, const char* pattern, const char* text,
                               int caseSensitive, JCallback callback, void* userData) {
  // Adding during a scan would move the states a handler is holding.
  if (busy_ || scanning_)
    return nullptr;
  if (type < kJReplace || type > kJCallbackLong)
    return nullptr;
  if (!IsValidPattern(pattern))
    return nullptr;
  auto added = std::make_unique<JPattern>();
  added->type = type;
  added->id = nextId_++;
  CompilePattern(pattern, caseSensitive, added->pattern);
  if (text != nullptr) {
    const std::size_t length = std::strlen(text);
    added->text = std::make_unique<char[]>(length + 1);
    std::memcpy(added->text.get(), text, length + 1);
  }
  added->caseSensitive = caseSensitive;
  added->callback = callback;
  added->userData = userData;
  patterns_.push_back(std::move(added));
  states_.emplace_back();
  IndexPattern(static_cast<int>(patterns_.size()) - 1);
  return patterns_.back().get();
}

void JParser::IndexPattern(int index) {
  const JPattern& pattern = *patterns_[index];
  const char* p = pattern.GetPattern();
  const int length = static_cast<int>(pattern.pattern.size()) - 1;

  Compiled compiled;
  compiled.previousAnyRun.assign(length + 1, -1);
  std::vector<bool> anyRunStart(length + 1, false);
  for (int i = 0; i < length;) {
    if (IsAnyRun(p, i))
      anyRunStart[i] = true;
    i += IsSpecial(p[i]) ? 2 : 1;
  }
  for (int i = 1; i <= length; ++i)
    compiled.previousAnyRun[i] = anyRunStart[i - 1] ? i - 1 : compiled.previousAnyRun[i - 1];
  while (compiled.leadingRun < length && p[compiled.leadingRun] == p[0])
    ++compiled.leadingRun;
  // A NUL byte only resets states, so no pattern is indexed under it.
  std::array<bool, 256> accepts {};
  int accepted = 0;
  for (int c = 1; c < 256; ++c) {
    accepts[c] = FirstElementAccepts(pattern, static_cast<unsigned char>(c));
    accepted += accepts[c] ? 1 : 0;
  }
  compiled.alwaysLive = accepted == 255;
  compiled_.push_back(std::move(compiled));
  inLive_.push_back(0);

  if (compiled_.back().alwaysLive) {
    alwaysLive_.push_back(index);
    return;
  }
  for (int c = 1; c < 256; ++c) {
    if (accepts[c])
      byFirstByte_[c].push_back(index);
  }
}

int JParser::ClearPatterns() {
  if (busy_ || scanning_)
    return 0;
  patterns_.clear();
  states_.clear();
  compiled_.clear();
  for (auto& bucket : byFirstByte_)
    bucket.clear();
  alwaysLive_.clear();
  live_.clear();
  inLive_.clear();
  matchCount_ = 0;
  work_.Clear();
  result_.Clear();
  textEnd_ = 0;
  return 1;
}

JPattern* JParser::pGetPattern(int index) {
  if (index < 0 || index >= GetPatternCount())
    return nullptr;
  return patterns_[index].get();
}

const JMatchState* JParser::pGetState(int index) const {
  if (index < 0 || index >= GetPatternCount())
    return nullptr;
  return &states_[index];
}

bool JParser::Step(int index, int a) {
  JPattern& pattern = *patterns_[index];
  JMatchState& state = states_[index];
  // "matched" means a full match at this position; a match left undispatched is not
  // handled again later with a stale end.
  state.matched = 0;
  if (!pattern.active)
    return false;
  const char* text = work_.GetText();
  const auto ch = static_cast<unsigned char>(text[a]);
  if (ch == 0) {
    state.Reset();
    return false;
  }
  const char* pat = pattern.GetPattern();
  const int length = static_cast<int>(pattern.pattern.size()) - 1;
  const Compiled& compiled = compiled_[index];
  int p = state.patternPos;
  if (p < 0 || p > length) {
    state.Reset();
    return false;
  }
  const int startP = p;
  const unsigned char folded = pattern.caseSensitive ? ch : AsciiUpper(ch);
  const bool lastChar = a == textEnd_ - 1;
  int s = 0;

  const char element = pat[p];
  if (element == '%') {
    s = InClass(pat[p + 1], ch) ? p + 2 : 0;
  } else if (element == '|') {
    s = ch == EscapedChar(pat[p + 1]) ? p + 2 : 0;
  } else if (element == '*' || element == '?') {
    const char cls = pat[p + 1];
    const int next = p + 2;
    s = -1;
    // A "?" element must take one character before anything after it may begin.
    if (element == '*' || state.runCount > 0) {
      const char follow = pat[next];
      if (follow == '\0') {
        if (lastChar)
          s = next;
      } else if (follow == '%') {
        if (InClass(pat[next + 1], ch))
          s = p + 4;
      } else if (follow == '|') {
        if (ch == EscapedChar(pat[next + 1]))
          s = p + 4;
      } else if (follow == '*' || follow == '?') {
        s = p;
      } else {
        // The literal run after the element must stand in the text from here on.
        int q = next;
        int k = a;
        bool equal = true;
        for (; pat[q] != '\0' && !IsSpecial(pat[q]); ++q, ++k) {
          if (k >= textEnd_) {
            equal = false;
            break;
          }
          const auto t = static_cast<unsigned char>(text[k]);
          if ((pattern.caseSensitive ? t : AsciiUpper(t)) != static_cast<unsigned char>(pat[q])) {
            equal = false;
            break;
          }
        }
        if (equal)
          s = p + 3;
      }
    }
    if (s < 0) {
      if (InClass(cls, ch)) {
        ++state.runCount;
        if (options_ != nullptr && options_->startAtFirstWildcard && state.start == -1)
          state.start = a;
        s = p;
        const bool lastElement = next == length;
        if (lastElement && (a + 1 >= textEnd_ || !InClass(cls, static_cast<unsigned char>(text[a + 1]))))
          s = next;
      } else {
        const int anyRun = compiled.previousAnyRun[p];
        if (anyRun < 0) {
          // Also a leading wildcard forgets what it took: " x" must not count as the blank
          // of "?Wname" once a non-blank came between.
          state.Reset();
          return false;
        }
        state.runCount += p - anyRun;
        s = anyRun;
      }
    }
  } else {
    // Literal (the terminator counts as one that never matches). Only a run of one repeated
    // character slides forward; any other mismatch drops the partial match.
    for (;;) {
      if (folded == static_cast<unsigned char>(pat[p])) {
        s = p + 1;
        break;
      }
      if (p >= 2 && p <= compiled.leadingRun) {
        ++state.start;
        --p;
        continue;
      }
      s = 0;
      break;
    }
  }

  if (s != p) {
    state.runCount = 0;
    if (state.start == -1 && startP == 0)
      state.start = a;
    if (s == 0)
      state.Reset();
    else
      state.patternPos = s;
  }

  p = state.patternPos;
  const bool full = (p == length && p > 0) ||
                    (lastChar && p == length - 2 && IsAnyRun(pat, p));
  if (!full)
    return false;
  state.matched = 1;
  state.end = a;
  ++pattern.fullMatches;
  return true;
}

int JParser::DispatchMatch(JPattern& pattern, JMatchState& state) {
  if (!state.matched)
    return kJNothingDone;
  switch (pattern.type) {
    case kJReplace:
    case kJDrop:
      return ReplaceMatch(pattern, state);
    case kJInsertAfter:
    case kJInsertBefore:
      return OnMatch(pattern, state);
    case kJCallback:
    case kJCallbackLong:
      if (pattern.callback == nullptr)
        return kJNothingDone;
      return pattern.callback(*this, pattern, state, work_, position_, pattern.userData);
  }
  return kJNothingDone;
}

static bool SpanInside(const JMatchState& state, int length) {
  return state.matched && state.start >= 0 && state.start <= state.end && state.end < length;
}

int JParser::ReplaceMatch(JPattern& pattern, JMatchState& state) {
  if (!SpanInside(state, work_.GetLength()))
    return kJNothingDone;
  const char* text = pattern.GetText();
  const int count = state.end - state.start + 1;
  const int length = static_cast<int>(std::strlen(text));
  const bool same = length == count && std::memcmp(work_.GetText() + state.start, text,
                                                   static_cast<std::size_t>(count)) == 0;
  if (!work_.Replace(state.start, count, text))
    return kJNothingDone;
  change_ = {true, state.start, state.end + 1, length - count, same};
  position_ = state.start + length - 1;
  return kJTextChanged;
}

int JParser::OnMatch(JPattern& pattern, JMatchState& state) {
  if (!SpanInside(state, work_.GetLength()))
    return kJNothingDone;
  const char* text = pattern.GetText();
  const int at = pattern.type == kJInsertAfter ? state.end + 1 : state.start;
  if (!work_.Insert(at, text))
    return kJNothingDone;
  const int length = static_cast<int>(std::strlen(text));
  change_ = {true, at, at, length, length == 0};
  position_ = state.end + length;
  return kJTextChanged;
}

int JParser::ReplaceAt(int position, int count, const char* text) {
  return work_.Replace(position, count, text);
}

void JParser::EndScan() {
  result_.Swap(work_);
  work_.Clear();
}

bool JParser::DispatchAt(bool& replaced, int& handled) {
  // Handlers run in the order the patterns were added.
  std::sort(fullMatches_.begin(), fullMatches_.end());
  const JScanOptions* options = options_;
  // Where the furthest handler so far left the scan. A later handler at the same position
  // sets the position from its own span, which may lie before text an earlier one inserted:
  // scanning that text again could match it again and insert it again, without end.
  int resume = -1;
  for (const int index : fullMatches_) {
    JPattern& pattern = *patterns_[index];
    JMatchState& state = states_[index];
    // An earlier handler at this position may have dropped this match.
    if (!state.matched)
      continue;
    const int start = state.start;
    const int end = state.end;
    const int oldEnd = textEnd_;
    change_ = TextChange{};
    const int result = DispatchMatch(pattern, state);
    if (result != kJExtendMatch)
      state.Reset();
    if (result == kJRejectMatch) {
      const int span = end - start;
      for (const int other : stepped_)
        states_[other].patternPos = std::max(0, states_[other].patternPos - span);
      // The scan goes on just after the match's start: set, not stepped back, so that two
      // rejected matches at one position do not step back twice and never get past it.
      position_ = std::max(start, resume);
      continue;
    }
    if (result == kJExtendMatch) {
      const char* pat = pattern.GetPattern();
      const int p = state.patternPos;
      if (p >= 3 && IsAnyRun(pat, p - 3)) {
        state.patternPos = p - 3;
        ++state.runCount;
        state.matched = 0;
      } else {
        state.Reset();
      }
      continue;
    }
    if (result == kJTextChanged) {
      ++handled;
      ++pattern.handledMatches;
      ++matchCount_;
      textEnd_ = work_.GetLength();
      if (!(change_.known && change_.none))
        replaced = true;
      AdjustStates(index, start, textEnd_ - oldEnd);
      // A change before the furthest resume point moves it with the text.
      if (resume >= 0 && change_.known && change_.at <= resume)
        resume = std::max(change_.at - 1, resume + change_.delta);
      resume = std::max(resume, position_);
      position_ = resume;
    }
    const bool stop = result == kJStopScan ||
                      (options != nullptr && options->stopAfterFirst && result == kJTextChanged);
    if (stop)
      return false;
    if (options == nullptr || options->oneMatchPerPosition)
      break;
  }
  return true;
}

void JParser::AdjustStates(int index, int start, int delta) {
  for (const int other : stepped_) {
    JMatchState& moved = states_[other];
    if (other == index || moved.start == -1)
      continue;
    if (!change_.known) {
      // A callback's change is not known: states that began after the match move with the
      // text, earlier ones overlapped it, one with the same start keeps its span.
      if (moved.start > start) {
        moved.start += delta;
        if (moved.end != -1)
          moved.end += delta;
      } else if (moved.start < start) {
        moved.Reset();
      }
      continue;
    }
    if (change_.none)
      continue;
    // A state wholly after the change moves with it (an insertion before a span counts as
    // after: the span is still there, further on); one wholly before it stays; any other saw
    // bytes that are gone, or would take the inserted ones into its span.
    const bool insertion = change_.at == change_.end;
    if (moved.start >= change_.end && (!insertion || moved.start >= change_.at)) {
      moved.start += delta;
      if (moved.end != -1)
        moved.end += delta;
      continue;
    }
    const bool before = moved.matched && moved.end < change_.at;
    if (!before)
      moved.Reset();
  }
}

void JParser::RebuildLive() {
  live_.clear();
  for (const int index : stepped_) {
    const bool keep = compiled_[index].alwaysLive || !states_[index].IsReset();
    inLive_[index] = keep ? 1 : 0;
    if (keep)
      live_.push_back(index);
  }
}

int JParser::Scan(const char* text, const JScanOptions* options, int length) {
  if (patterns_.empty() || text == nullptr || scanning_)
    return 0;
  for (std::size_t i = 0; i < patterns_.size(); ++i) {
    states_[i].Reset();
    patterns_[i]->active = 1;
    inLive_[i] = 0;
  }
  live_ = alwaysLive_;
  for (const int index : live_)
    inLive_[index] = 1;
  result_.Clear();
  work_.Assign(text, length);
  callerText_ = text;
  textEnd_ = work_.GetLength();
  position_ = 0;
  options_ = options;
  scanning_ = true;

  // Only patterns with a started state (or a wildcard first element) are stepped at every
  // position; an idle pattern is stepped only where its first element can match, which keeps
  // a scan linear in the text rather than in text x patterns.
  int handled = 0;
  long long restartsLeft =
      (static_cast<long long>(textEnd_) + 1) * static_cast<long long>(patterns_.size());
  // Each restart reads again the bytes before it; the bytes read again are held to a multiple
  // of the text's length, so rewrites that keep making new matches cannot make a scan
  // quadratic (or worse, with text that grows at each restart).
  long long rereadLeft = kRestartRereadFactor * (static_cast<long long>(textEnd_) + 1);
  // Handlers may move the position back and may make the text longer, so a scan holds both
  // to generous bounds: it ends when it has read kScanStepFactor times the text's length
  // (positions read again included), or when the text has grown past kScanGrowthFactor
  // times its length. Rewrites of real text stay far inside both.
  const long long originalLength = static_cast<long long>(textEnd_) + 1;
  long long stepsLeft = kScanStepFactor * originalLength + kScanBudgetSlack;
  const long long longestText = kScanGrowthFactor * originalLength + kScanBudgetSlack;
  while (position_ < textEnd_ && --stepsLeft >= 0) {
    const int a = position_;
    const auto ch = static_cast<unsigned char>(work_.GetText()[a]);
    // Most positions of a text start nothing and continue nothing.
    if (live_.empty() && byFirstByte_[ch].empty()) {
      ++position_;
      continue;
    }
    stepped_.clear();
    fullMatches_.clear();
    for (const int index : live_) {
      stepped_.push_back(index);
      if (Step(index, a))
        fullMatches_.push_back(index);
    }
    for (const int index : byFirstByte_[ch]) {
      if (inLive_[index])
        continue;
      stepped_.push_back(index);
      if (Step(index, a))
        fullMatches_.push_back(index);
    }

    bool replaced = false;
    const bool goOn = fullMatches_.empty() || DispatchAt(replaced, handled);
    // A handler that shortened the text without saying so must not make us read past it.
    textEnd_ = std::min(textEnd_, work_.GetLength());
    if (!goOn || work_.GetLength() > longestText)
      break;
    if (replaced) {
      const bool restart = options != nullptr && options->restartAfterReplacement &&
                           restartsLeft > 0 && rereadLeft > position_;
      if (options == nullptr || options->resetAfterReplacement || restart) {
        for (const int index : stepped_)
          states_[index].Reset();
      }
      if (restart) {
        // Resumes at the first byte: the advance below takes it there.
        --restartsLeft;
        rereadLeft -= position_ + 1;
        position_ = -1;
      }
    }
    // A handler may move the position anywhere; scanning never goes before the text.
    position_ = std::max(position_, -1) + 1;
    RebuildLive();
  }

  scanning_ = false;
  options_ = nullptr;
  if (handled > 0)
    EndScan();
  return handled;
}
