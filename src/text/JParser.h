#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The program's own wildcard pattern language and a scanner that finds many patterns in one
// text in a single left-to-right pass.
//
// Pattern syntax, element by element:
//   *C   zero or more characters of class C
//   ?C   one or more characters of class C
//   %C   exactly one character of class C
//   |c   the literal c ("|n" newline, "|t" tab); writes % * ? | literally
//   x    any other character is itself
// Classes: ( opening brackets, ) closing brackets, . punctuation, 1 digits, S blank,
// W blank/tab/newline, Z letters, A upper case, a lower case, * any character.
// Class tests use the text's character as it stands, also in case-insensitive patterns.
//
// A mismatching character is not retried as a new start ("AB" is not found in "AAB"), except
// that a run of one repeated literal slides forward ("AAB" is found in "AAAB" at 1). Stored
// text-command and link-dictionary files rely on this.

class JParser;
struct JPattern;
struct JMatchState;
class ParseBuffer;

// Handler results.
enum JResult : int {
  kJTextChanged = 1001,  // the text was changed, or the match was consumed
  kJNothingDone = 1002,
  kJStopScan = 1003,
  kJRejectMatch = 1004,  // rescan from just after the match's start
  kJExtendMatch = 1005,  // keep the state: a trailing "**x" goes on to the next x
};

// Pattern types: they select the handler (see JParser::DispatchMatch).
enum JPatternType : int {
  kJReplace = 1,       // replace the span by the pattern's text
  kJInsertAfter = 2,   // insert the pattern's text after the span
  kJInsertBefore = 3,  // insert the pattern's text before the span
  kJDrop = 4,          // JParser: like kJReplace; JReplaceParser: drop the span
  kJCallback = 5,
  kJCallbackLong = 6,  // the only type JReplaceParser::AddPattern accepts
};

// Called for a full match of a callback pattern. position is the parser's scan position: the
// handler sets where scanning continues (it is then advanced by one). Returns a JResult.
using JCallback = int (*)(JParser& parser, JPattern& pattern, JMatchState& state,
                          ParseBuffer& text, int& position, void* userData);

// A growable NUL-terminated byte buffer. Reserving n does nothing while n < capacity; otherwise
// the buffer becomes ((n + 1) / 256) * 256 + 256 bytes, capacity one less, content kept.
class ParseBuffer {
 public:
  ParseBuffer() = default;
  // A buffer owns its bytes; copies would hide who frees them.
  ParseBuffer(const ParseBuffer&) = delete;
  ParseBuffer& operator=(const ParseBuffer&) = delete;
  ParseBuffer(ParseBuffer&&) noexcept = default;
  ParseBuffer& operator=(ParseBuffer&&) noexcept = default;

  // Never null: "" while no buffer exists.
  const char* GetText() const { return data_ ? data_.get() : ""; }
  int GetLength() const { return length_; }
  int GetCapacity() const { return capacity_; }

  void Reserve(int n);
  // length characters of text, or up to its NUL when length < 0. Null text gives "".
  void Assign(const char* text, int length);
  // Empties the text; with release the allocation is freed too.
  void Clear(bool release = false);
  // Appends length characters (up to the NUL when length < 0).
  void Append(const char* text, int length);
  // Inserts text at position 0..length; other positions are refused with 0.
  [[nodiscard]] int Insert(int position, const char* text);
  // Replaces count characters at position (clipped to the text) by text; 0 when position is
  // outside 0..length.
  [[nodiscard]] int Replace(int position, int count, const char* text);
  // Swaps contents with another buffer (moving a result without copying).
  void Swap(ParseBuffer& other) noexcept;

 private:
  std::unique_ptr<char[]> data_;
  int length_ = 0;
  int capacity_ = 0;
};

// One added pattern.
struct JPattern {
  int active = 1;
  int type = 0;
  int id = 0;  // 1, 2, 3 ... in order of adding, per parser
  std::vector<char> pattern;  // compiled pattern, NUL-terminated
  std::unique_ptr<char[]> text;  // the handler's text; may be null
  int caseSensitive = 0;
  JCallback callback = nullptr;
  void* userData = nullptr;
  int fullMatches = 0;
  int handledMatches = 0;

  const char* GetPattern() const { return pattern.data(); }
  // "" when the pattern has no text.
  const char* GetText() const { return text ? text.get() : ""; }
};

// The match state of one pattern.
struct JMatchState {
  int matched = 0;
  int start = -1;       // text position of the first matched character
  int end = -1;         // text position of the last matched character
  int patternPos = 0;   // index of the pattern element now expected; 0 = not started
  int runCount = 0;     // characters taken by the current wildcard element (or as adjusted)

  void Reset() { *this = JMatchState{}; }
  bool IsReset() const {
    return matched == 0 && start == -1 && end == -1 && patternPos == 0 && runCount == 0;
  }
};

// How many times its length a scan with restarts may read its text again.
inline constexpr long long kRestartRereadFactor = 16;
// Bounds on one scan, in times the text's length plus a fixed slack: the positions it reads
// (again after handlers move back included) and the length its text may grow to.
inline constexpr long long kScanStepFactor = 256;
inline constexpr long long kScanGrowthFactor = 64;
inline constexpr long long kScanBudgetSlack = 65536;

struct JScanOptions {
  int oneMatchPerPosition = 0;
  int resetAfterReplacement = 0;
  // After a replacement the scan goes on from the first byte of the text, with every state
  // reset. A handler that left the text as it was does not restart, and a scan restarts at
  // most (length + 1) x patterns times and reads again at most kRestartRereadFactor times the
  // text's length, so rewrites that never settle still end, in time linear in the text; once
  // the budget is spent the scan goes on forward.
  int restartAfterReplacement = 0;
  int stopAfterFirst = 0;
  int startAtFirstWildcard = 0;
};

// True when pattern is a valid pattern of the language.
[[nodiscard]] bool IsValidPattern(const char* pattern);

class JParser {
 public:
  JParser();
  virtual ~JParser();
  // Patterns and states point into each other; a copy would share callbacks' user data.
  JParser(const JParser&) = delete;
  JParser& operator=(const JParser&) = delete;

  // Adds a pattern with the next id and a fresh match state. Null while busy or scanning,
  // for a type outside 1..6, or when the pattern is invalid.
  virtual JPattern* AddPatternShort(int type, const char* pattern, const char* text,
                                    int caseSensitive);
  virtual JPattern* AddPattern(int type, const char* pattern, const char* text,
                               int caseSensitive, JCallback callback, void* userData);
  // Frees every pattern and state; match count 0; both buffers emptied. Refused (0) while
  // busy or scanning.
  int ClearPatterns();

  // Scans length characters of text (the whole NUL-terminated text when length < 0) against
  // every pattern. Returns the number of handled matches; when it is above 0 the result text
  // holds the rewritten text. 0 without patterns or without text. options may be null.
  int Scan(const char* text, const JScanOptions* options, int length);

  // Runs the handler of a matched pattern: types 1 and 4 to ReplaceMatch, 2 and 3 to OnMatch,
  // 5 and 6 to the callback. kJNothingDone when the state is not matched or there is no
  // callback.
  virtual int DispatchMatch(JPattern& pattern, JMatchState& state);
  // Replaces count characters of the work text at position. 1 done, 0 refused.
  virtual int ReplaceAt(int position, int count, const char* text);

  void SetBusy(int busy) { busy_ = busy; }
  int IsBusy() const { return busy_; }
  int GetKind() const { return kind_; }
  int GetPatternCount() const { return static_cast<int>(patterns_.size()); }
  JPattern* pGetPattern(int index);
  // Match states may be read during a scan; only the handler of a match changes its own.
  const JMatchState* pGetState(int index) const;
  int GetMatchCount() const { return matchCount_; }
  const ParseBuffer& GetResult() const { return result_; }
  const char* GetResultText() const { return result_.GetText(); }
  const ParseBuffer& GetWorkText() const { return work_; }
  int GetScanPosition() const { return position_; }
  int GetTextEnd() const { return textEnd_; }

 protected:
  explicit JParser(int kind);

  virtual void EndScan();
  virtual int ReplaceMatch(JPattern& pattern, JMatchState& state);
  virtual int OnMatch(JPattern& pattern, JMatchState& state);

  JPattern* AddCompiled(int type, const char* pattern, const char* text, int caseSensitive,
                        JCallback callback, void* userData);

  int kind_ = 1;
  ParseBuffer work_;
  int textEnd_ = 0;
  int position_ = 0;
  const char* callerText_ = nullptr;
  std::vector<std::unique_ptr<JPattern>> patterns_;
  std::vector<JMatchState> states_;
  int nextId_ = 1;
  ParseBuffer result_;
  int matchCount_ = 0;
  int busy_ = 0;

 private:
  // Per pattern: what the scanner needs to skip idle patterns and to step quickly.
  struct Compiled {
    // Per pattern index: start of the nearest earlier "**" element, -1 for none.
    std::vector<int> previousAnyRun;
    // Length of the run of one repeated character that opens the pattern.
    int leadingRun = 0;
    // Stepped at every position (a wildcard first element accepts nearly anything).
    bool alwaysLive = false;
  };

  void IndexPattern(int index);
  // One match step of pattern index at text position a; true on a full match.
  bool Step(int index, int a);
  // Runs the handlers of the full matches at the current position. Returns false when the
  // scan is to stop. replaced is set when a handler changed the text (or may have).
  bool DispatchAt(bool& replaced, int& handled);
  void RebuildLive();

  // What a handler of this class did to the work text: the bytes [at, end) became
  // end - at + delta bytes. Unknown after a callback or a handler of a derived class.
  struct TextChange {
    bool known = false;
    int at = 0;
    int end = 0;
    int delta = 0;
    // The text is as it was (an empty insertion, a span replaced by the same bytes).
    bool none = false;
  };
  // Moves or forgets the started states other than index after the change of its handler.
  void AdjustStates(int index, int start, int delta);

  std::vector<Compiled> compiled_;
  TextChange change_;
  // Idle patterns whose first element accepts the byte, in order of adding.
  std::vector<int> byFirstByte_[256];
  // Patterns to step at every position: wildcard-led ones and those with a started state.
  std::vector<int> live_;
  std::vector<uint8_t> inLive_;
  std::vector<int> stepped_;
  std::vector<int> fullMatches_;
  std::vector<int> alwaysLive_;
  const JScanOptions* options_ = nullptr;
  bool scanning_ = false;
};
