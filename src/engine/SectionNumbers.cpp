#include "engine/SectionNumbers.h"

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "text/TextString.h"

bool IsAcceptingCheckResult(int result) {
  return result == kHeadingNoObjection ||
         (result >= kHeadingContentsBegins && result <= kHeadingContentsNotExpected);
}

static bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

HeadingLevelStats& SectionLevelState(Context& ctx, int index) {
  return ctx.Statistics.headings[static_cast<std::size_t>(index)];
}

// ---- Trimming ----

namespace {

// What TrimSectionWord may remove in the pass at hand.
struct TrimRule {
  const char* opening;
  const char* closing;
  bool letters;
};

// Where the trimmed characters are counted; null members count nothing.
struct TrimCounts {
  TextStats* opening = nullptr;
  TextStats* closing = nullptr;
  int* letters = nullptr;
};

}  // namespace

// True when c (never NUL) is one of the bytes of set.
static bool InSet(const char* set, char c) {
  for (const char* p = set; *p != '\0'; ++p)
    if (*p == c) return true;
  return false;
}

static bool HasEntityAt(const TextString& word, int pos, const char* entity, int length) {
  for (int i = 0; i < length; ++i)
    if (word.CharAt(pos + i) != entity[i]) return false;
  return true;
}

static void Count(TextStats* stats, char c) {
  if (stats != nullptr) (void)stats->Add(static_cast<unsigned char>(c));
}

void TrimSectionWord(Context& ctx, FileControl& fc, TextString& word, char& separator,
                     int count) {
  separator = word.ContainsChar('-') ? '-' : '.';
  TrimRule rule{"<([{*", ">)]}*", true};
  TrimCounts counts;
  if (ctx.AnalysisPass != 0) {
    if (count != 0) {
      CalculationStatistics named(ctx.Statistics);
      counts = {&named.preHeaderChars, &named.postHeaderChars, &named.alphaAfterHeadings};
    }
  } else {
    const HeadDetails& first = fc.GetRecognisedHeadings().headings[0];
    rule = {first.before.GetText(), first.after.GetText(), first.trailingX != 0};
  }

  const int length = word.GetLength();
  int start = 0;
  int end = length;
  while (start < end) {
    if (end - start >= 4 && HasEntityAt(word, start, "&lt;", 4)) {
      Count(counts.opening, '<');
      start += 4;
      continue;
    }
    const char c = word.CharAt(start);
    if (c == '\0' || !InSet(rule.opening, c)) break;
    Count(counts.opening, c);
    ++start;
  }
  while (end > start) {
    if (end - start >= 4 && HasEntityAt(word, end - 4, "&gt;", 4)) {
      Count(counts.closing, '>');
      end -= 4;
      continue;
    }
    const char c = word.CharAt(end - 1);
    if (c != '\0' && InSet(rule.closing, c)) {
      Count(counts.closing, c);
      --end;
      continue;
    }
    if (!rule.letters || !IsAsciiLetter(c)) break;
    if (counts.letters != nullptr) ++*counts.letters;
    --end;
  }
  if (end > start && (start > 0 || end < length)) (void)word.KeepSubstring(start, end - start);
}

// ---- Parsing ----

int SectionFieldValue(const TextString& word, int field, char separator) {
  if (field < 1) return -1;
  const char* text = word.GetText();
  const int length = word.GetLength();
  int start = 0;
  for (int seen = 1; seen < field; ++seen) {
    while (start < length && text[start] != separator) ++start;
    if (start == length) return 0;  // no such field: empty
    ++start;
  }
  int end = start;
  while (end < length && text[end] != separator) ++end;
  for (int i = start; i < end; ++i)
    if (!IsAsciiDigit(text[i]) && text[i] != ':' && text[i] != ')') return -1;
  int value = 0;
  for (int i = start; i < end && IsAsciiDigit(text[i]); ++i) {
    if (value > (kSaturatedSectionNumber - 9) / 10) return kSaturatedSectionNumber;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The word ends in a form that may make it a chapter of the level above: "3.", "3.0", "3-0"
// or "3.00".
static bool EndsInChapterForm(const TextString& word, char separator, bool& endsInSeparator) {
  const int length = word.GetLength();
  const char last = word.CharAt(length - 1);
  endsInSeparator = length > 0 && last == separator;
  if (endsInSeparator) return true;
  const char beforeLast = word.CharAt(length - 2);
  if (length >= 2 && last == '0' && (beforeLast == separator || beforeLast == '-')) return true;
  return length >= 3 && last == '0' && beforeLast == '0' && word.CharAt(length - 3) == separator;
}

void ParseSectionNumber(Context& ctx, FileControl& fc, const TextString& word, char separator,
                        int& depth, int& valid, SectionNumberFields& numbers) {
  valid = 0;
  if (!IsAsciiDigit(word.CharAt(0)) || fc.GetInt(PolicyId::ExpectNumberedHeadings) == 0) return;

  depth = 0;
  valid = 1;
  const int length = word.GetLength();
  int i = 0;
  for (; i < length && word.CharAt(i) != ' '; ++i) {
    if (depth > kMaxSectionDepth) {
      valid = 0;
      break;
    }
    if (word.CharAt(i) != separator) continue;
    if (i > 0 && word.CharAt(i - 1) == separator) {
      valid = 0;
      break;
    }
    ++depth;
  }
  // A separator that closes the number adds no level ("3." is chapter 3): the deepest level
  // may be written with one ("1.2.3.4.5.6.").
  const bool closedDeepest = valid != 0 && depth == kMaxSectionDepth + 1 && i > 0 &&
                             word.CharAt(i - 1) == separator;
  if (depth > kMaxSectionDepth && !closedDeepest) valid = 0;
  if (valid == 0) return;

  numbers.fill(-1);
  if (closedDeepest) depth = kMaxSectionDepth;
  for (int level = 0; level <= depth; ++level)
    numbers[static_cast<std::size_t>(level)] = SectionFieldValue(word, level + 1, separator);
  if (closedDeepest) return;  // no level below it to open

  bool endsInSeparator = false;
  if (depth == 0 || !EndsInChapterForm(word, separator, endsInSeparator)) return;
  const HeadingLevelStats& parent = SectionLevelState(ctx, depth - 1);
  const bool otherParent = numbers[static_cast<std::size_t>(depth - 1)] != parent.lastNumber;
  if (!endsInSeparator && !otherParent && parent.lastNumber >= 0) return;
  HeadingLevelStats& left = SectionLevelState(ctx, depth);
  if (left.lowestNumber < 0) left.lowestNumber = 0;
  --depth;
}

// ---- Comparison ----

SectionComparison CompareSectionNumber(Context& ctx, FileControl& fc,
                                       const SectionNumberFields& numbers, int depth) {
  SectionComparison answer;
  if (depth < 0 || depth > kMaxSectionDepth) return answer;
  const int firstNumber = fc.GetInt(PolicyId::FirstSectionNumber);
  answer.noneSeen = true;
  answer.sameParent = true;
  answer.notAboveLowest = true;
  answer.startsLow = numbers[0] <= firstNumber;
  for (int i = 0; i <= depth; ++i) {
    const HeadingLevelStats& level = SectionLevelState(ctx, i);
    const int n = numbers[static_cast<std::size_t>(i)];
    if (level.lastNumber >= 0) answer.noneSeen = false;
    if (level.lastNumber < 0) answer.someUnset = true;
    if (i < depth && n != level.lastNumber) answer.sameParent = false;
    if (level.lowestNumber >= 0 && level.lowestNumber < n) answer.notAboveLowest = false;
    if (i > 0 && n > 1) answer.startsLow = false;
  }
  const int last0 = SectionLevelState(ctx, 0).lastNumber;
  if (depth == 0)
    answer.firstForm = numbers[0] <= firstNumber && (last0 < 0 || numbers[0] <= last0);
  else
    answer.firstForm = numbers[static_cast<std::size_t>(depth)] <= 1;
  return answer;
}

// ---- Progression ----

int SectionProgression(Context& ctx, FileControl& fc, const SectionNumberFields& numbers,
                       int contentsLike, int depth) {
  int deepest = depth;
  const int recognised = fc.GetRecognisedHeadings().count;
  if ((ctx.ContentsPass != 0 || ctx.OutputPass != 0) && recognised > 0) deepest = recognised - 1;
  if (deepest > kMaxSectionDepth) deepest = kMaxSectionDepth;

  int result = kHeadingNoObjection;
  bool equalSoFar = true;
  bool stepped = false;
  for (int i = 0; i <= deepest; ++i) {
    const int n = numbers[static_cast<std::size_t>(i)];
    const int last = SectionLevelState(ctx, i).lastNumber;
    if (stepped) {
      if (i == depth && depth > 0 && last < 0 && n > 1) {
        result = kHeadingFirstSubheadingNotOne;
        break;
      }
      continue;
    }
    if (n == last) continue;
    equalSoFar = false;
    if (n == last + 1) {
      stepped = true;
      continue;
    }
    if (n >= 0 && last >= 0) {
      if (depth == 0) {
        if (n > last + 2)
          result = kHeadingChapterTooLarge;
        else if (n < last)
          result = kHeadingChapterTooSmall;
      } else if (n > last + 2) {
        result = kHeadingChangeTooLarge;
      } else if (n == last + 2) {
        result = i == depth ? kHeadingMissingNumber : kHeadingChangeTooLarge;
      } else {
        result = kHeadingChangeTooSmall;
      }
    }
    break;
  }
  // No level to compare counts as nothing changed, like a walk that found every level equal.
  if (equalSoFar) result = kHeadingRepeatedNumber;
  if (contentsLike != 0 && result == kHeadingChapterTooSmall) result = kHeadingChangeTooSmall;
  return result;
}

// ---- Message texts ----

void AppendSectionNumber(TextString& out, const SectionNumberFields& numbers, int depth) {
  for (int i = 0; i <= depth && i < kSectionLevels; ++i) {
    if (i > 0) out.AppendChar('.');
    out.AppendNumber('1', numbers[static_cast<std::size_t>(i)], 0);
  }
}

void AppendLastSectionNumber(Context& ctx, TextString& out, int depth) {
  bool first = true;
  for (int i = 0; i <= depth && i < kSectionLevels; ++i) {
    const int last = SectionLevelState(ctx, i).lastNumber;
    if (last < 0) continue;
    if (!first) out.AppendChar('.');
    out.AppendNumber('1', last, 0);
    first = false;
  }
}

void AppendNumberInLast(Context& ctx, TextString& out, const SectionNumberFields& numbers,
                        int depth) {
  out.AppendChar('"');
  AppendSectionNumber(out, numbers, depth);
  out.Append("\" in ");
  AppendLastSectionNumber(ctx, out, depth);
}

// "<lead>\"<number>\" in <last>"
static void ComposeNumberInLast(Context& ctx, const char* lead, const SectionNumberFields& numbers,
                                int depth, TextString& out) {
  out.Append(lead);
  AppendNumberInLast(ctx, out, numbers, depth);
}

int ComposeProgressionMessage(Context& ctx, int result, const SectionNumberFields& numbers,
                              int depth, TextString& out) {
  out.Clear();
  switch (result) {
    case kHeadingNoObjection:
      return 0;
    case kHeadingChangeTooLarge:
      ComposeNumberInLast(ctx, "INFO: Ignoring \"heading\" (change too large) : ", numbers, depth,
                          out);
      return 1;
    case kHeadingChangeTooSmall:
      ComposeNumberInLast(ctx, "INFO: Ignoring \"heading\" (change too small) : ", numbers, depth,
                          out);
      return 1;
    case kHeadingFirstSubheadingNotOne:
      out.Append("INFO: Reject first sub-header of ");
      AppendSectionNumber(out, numbers, depth);
      return 1;
    case kHeadingChapterTooSmall:
      ComposeNumberInLast(ctx, "INFO: Ignoring \"heading\" (chapter number too small): ", numbers,
                          depth, out);
      return 1;
    case kHeadingChapterTooLarge:
      ComposeNumberInLast(ctx, "INFO: Ignoring \"heading\" (chapter number too large): ", numbers,
                          depth, out);
      return 1;
    case kHeadingRepeatedNumber:
      if (depth <= 0) return 0;
      ComposeNumberInLast(ctx, "INFO: Repeated section number detected : ", numbers, depth, out);
      return 1;
    case kHeadingMissingNumber:
      out.Append("WARNING: Missing section number detected between ");
      AppendLastSectionNumber(ctx, out, depth);
      out.Append(" and \"");
      AppendSectionNumber(out, numbers, depth);
      out.AppendChar('"');
      return 1;
    default:
      break;
  }
  out.Append("PROGRAM ERROR: Unknown progression error for ");
  AppendSectionNumber(out, numbers, depth);
  return 1;
}
