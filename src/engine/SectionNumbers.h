#pragma once

#include <array>

class Context;
class FileControl;
class TextString;
struct HeadingLevelStats;

// Section numbers of numbered headings ("3", "2.1", "4-2-1"): how a heading word is trimmed
// and parsed, and how its number compares with the numbers the file has shown so far. The
// per-level state compared against is the heading-number state of the Context's statistics
// record (HeadingLevelStats: last, previous, lowest and highest number of each level), which
// every pass rebuilds from the start of the file.

inline constexpr int kSectionLevels = 6;
// The deepest depth a section number may have (six levels: depth 0 to 5).
inline constexpr int kMaxSectionDepth = kSectionLevels - 1;
// A number above this is taken for a year, never for a section.
inline constexpr int kHighestSectionNumber = 1700;

// The numbers of levels 1-6 of a heading word (index 0-5); -1 for a field that is not numeric
// and for the levels below the word's depth.
using SectionNumberFields = std::array<int, kSectionLevels>;

// Result codes of the progression check, the chapters-too-close check and the level check:
// one code space. Codes 0 and 6-10 accept the heading; the others refuse it.
enum HeadingCheckResult : int {
  kHeadingNoObjection = 0,
  kHeadingChangeTooLarge = 1,
  kHeadingChangeTooSmall = 2,
  kHeadingFirstSubheadingNotOne = 3,
  kHeadingConsecutiveChapters = 4,  // the earlier chapter is withdrawn
  kHeadingChaptersTooClose = 5,
  kHeadingContentsBegins = 6,
  kHeadingContentsEndsNumberBack = 7,
  kHeadingContentsEndsAtOne = 9,
  kHeadingContentsNotExpected = 10,  // the contents list ends
  kHeadingChapterTooSmall = 11,
  kHeadingChapterTooLarge = 12,
  kHeadingFirstRejected = 13,
  kHeadingRepeatedNumber = 14,  // reported, then no objection
  kHeadingMissingNumber = 15,   // reported, then no objection
};

// True for the codes that let the heading through (0 and 6-10).
bool IsAcceptingCheckResult(int result);

// Trims a heading word in place and gives its separator: '-' when the word holds a '-', else
// '.'. In the analysis pass the leading characters "<([{*" and "&lt;" and the trailing
// characters ">)]}*", "&gt;" and ASCII letters go; with count set, each opening character
// ("&lt;" as '<') is added to the statistics of characters before headings, each closing one
// ("&gt;" as '>') to those after headings, and each letter to the count of letters after
// headings. In the other passes the characters that go are those of the level-1 heading
// details' texts before and after the number (with "&lt;" and "&gt;"), and trailing letters
// only when those details allow a trailing letter. A word that would be trimmed to nothing
// stays as it was.
void TrimSectionWord(Context& ctx, FileControl& fc, TextString& word, char& separator,
                     int count);

// The number in field `field` (from 1) of word, fields split at separator: -1 when the field
// holds a character other than an ASCII digit, ':' and ')'; otherwise the decimal number at
// its start after leading zeros, 0 for an empty or all-zero field ("07" 7, "12)" 12).
// Numbers too large for an int stop growing at kSaturatedSectionNumber.
int SectionFieldValue(const TextString& word, int field, char separator);
inline constexpr int kSaturatedSectionNumber = 999999999;

// Parses a heading word. valid is 0, and depth keeps its value, when the word does not start
// with an ASCII digit or "Expect Numbered Headings" is off. Otherwise depth counts the
// separators up to the first blank; two separators in a row or more than five make the word
// not valid. For a valid word numbers receives the fields of levels 1 to depth + 1 (-1
// below). A word that ends in the separator, or in a separator (or '-') and "0", or in a
// separator and "00", is a chapter of the level above when it ends in the separator or its
// parent number is not the last one seen at that level: the depth goes down by one, and the
// lowest number of the level it leaves becomes 0 when it was unset (so "2." and, after
// chapter 2, "3.0" are chapters, while "2.0" under chapter 2 stays a sub-section).
void ParseSectionNumber(Context& ctx, FileControl& fc, const TextString& word, char separator,
                        int& depth, int& valid, SectionNumberFields& numbers);

// Six answers about a line's number at depth against the last numbers L of levels 0..depth.
struct SectionComparison {
  bool noneSeen = false;        // no level has a last number
  bool startsLow = false;       // N[0] <= "First Section Number", every deeper N <= 1
  bool someUnset = false;       // some level has no last number
  bool firstForm = false;       // depth 0: N[0] <= first number and L[0] unset or >= N[0];
                                // deeper: the deepest number <= 1
  bool sameParent = false;      // N equals L on every level above the deepest
  bool notAboveLowest = false;  // no level has a lowest number (>= 0) below its N
};
SectionComparison CompareSectionNumber(Context& ctx, FileControl& fc,
                                       const SectionNumberFields& numbers, int depth);

// The progression of a line's number over the last numbers, before any report: 0, 1, 2, 3,
// 11, 12, 14 (nothing changed) or 15 (one number skipped at the deepest level). Levels 0 to
// depth are compared; in the contents and output passes, once the policy calculation has
// recognised R heading levels, levels 0 to R - 1. For a contents-like line 11 becomes 2.
int SectionProgression(Context& ctx, FileControl& fc, const SectionNumberFields& numbers,
                       int contentsLike, int depth);

// The heading-number state of level index (0-5) in the Context's statistics record.
HeadingLevelStats& SectionLevelState(Context& ctx, int index);

// Appends the line's numbers of levels 0..depth joined by "." ("2.3").
void AppendSectionNumber(TextString& out, const SectionNumberFields& numbers, int depth);
// Appends the last numbers of levels 0..depth, unset ones skipped, joined by ".".
void AppendLastSectionNumber(Context& ctx, TextString& out, int depth);
// Appends the form most messages about a number take: "\"<number>\" in <last>".
void AppendNumberInLast(Context& ctx, TextString& out, const SectionNumberFields& numbers,
                        int depth);

// The message the progression check reports for result (none for 0, and for 14 at depth 0):
// out is emptied first. Returns 0 when there is no message.
int ComposeProgressionMessage(Context& ctx, int result, const SectionNumberFields& numbers,
                              int depth, TextString& out);
