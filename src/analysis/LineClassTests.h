#pragma once

#include "analysis/LineContext.h"

class AnalysisStatistics;
class FileControl;
class LogErrorHandler;
class PreHTML;
class Statement;
class TextString;

// The tests that the line analysis applies to one line or to a line and its neighbours. They
// read the policies of fc, the pass flags and the current pass's tracker of fc's Context, and
// return a line type, a score or a truth value. The line object's own tests
// (PreHTML::DetectBullet, PreHTML::PreformattedScore, PreHTML::SetRollOut) are defined with
// these. Without a Context attached to fc the tests that need one find nothing.

// Results of the definition and underline tests besides a line type.
inline constexpr int kNotClassified = kTagNone;          // -3: the test leaves the type alone
inline constexpr int kUnderlinesPrevious = kTypeHeaderNull;  // -2: the line underlines the one above

// True for the contents-list tag (241) and the directive tag types 1001-1045; false for any
// other type up to 1000. A type above 1045 is taken as tagged, and reported through handler
// (when given) as "UNSUPPORTED CASE: Probably tagged type in IsTaggedType" at level 10.
bool IsTaggedType(LogErrorHandler* handler, int type);

// A leading heading embedded in line's text: the bytes from the start up to the first ASCII
// lower-case letter or '<' (the run), cut back to the run's last blank or '.', when the run
// holds a capital from 'B' to 'Y' or ends at a '<', and the cut run is longer than 9 bytes.
// Then out receives the cut run and the result is 1; else 0 and out is untouched. In the
// analysis pass a line that begins with a double or single quote has none.
[[nodiscard]] int GetEmbeddedHeadingText(FileControl& fc, PreHTML& line, Statement& out);

// Whether an untyped line is a definition: a term, then " - ", ": " or "= " within its first
// 40 bytes (of the plain rendering). Runs with "Search for definitions" on, after a blank
// line, a heading or a definition; after a plain line only with "Expect blank lines between
// paras" off and a strong definition character; after anything else only with a strong
// definition character. " - " and ": " count when their character is accepted ("Definition
// Char"), the line starts with an ASCII letter or digit and the separator stands before a
// quarter of "Page Width" and not beyond column 40 (for a strong character before half the
// width and not beyond 50); "= " always counts. In the analysis pass the uses of '-' and ':'
// are counted in text and in definitions. A definition gets kFlagDefinitionCandidate; the
// result is 230, or kNotClassified when there is none or the line lies in a user region and
// "Allow definitions inside PRE" is off.
int TestDefinitionLine(FileControl& fc, PreHTML& line, int previousType);

// Whether line (described by current, its first word firstWordLength bytes long) is a line of
// underline characters (* + - / = _ ~ .) under the effective previous line. previous describes
// that line, beforePrevious the one before it and next the line after this one.
// kNotClassified when line is typed or is no underline. Otherwise line becomes a rule line
// (one repeated character) or is marked pre-formatted (mixed characters, kind 10), and:
// - under a numbered, capitalised, embedded, key-phrase or contents heading: the heading is
//   marked underlined, an overline before it (type 4) becomes -2, kUnderlinesPrevious;
// - under an untyped or definition line that may be a heading (tracker permission, "Expect
//   Underlined Headings", neither it nor next scores 9 as pre-formatted) when the underline
//   ends close to it: its first word goes to PreHTML::TestHeadingCandidate with the level
//   hint of the underline character ('*' 0; '-', '_', '~' 2; '.' 3; others 1), whose result
//   becomes its type; it is marked underlined and counted; kUnderlinesPrevious;
// - else 4 (a rule line) when "Look for underlined text" is off, the underline is not close
//   or as long as the page within 2; otherwise previous is marked underlined text and the
//   result is kUnderlinesPrevious.
// The records of re-typed lines are filled again.
int TestUnderlineLine(FileControl& fc, AnalysisStatistics& statistics, PreHTML& line,
                      LineContext& beforePrevious, LineContext& previous, LineContext& current,
                      LineContext& next, int firstWordLength);

// Over the common length of a and b: runs = the blank runs of a; ratio = the share of them
// that meet at least one blank of b (0 when there are none).
void BlankAlignmentRatio(const char* a, const char* b, double& ratio, int& runs);

// True when text (trimmed) looks like a line of program source: statement and block ends,
// declarations, control words, preprocessor lines, comparisons and comments. A "//" after a
// ':' (a web address) is no comment, and a ';' that ends an entity ("&lt;") ends no statement.
// strict adds the weaker signs (a final ')' or ';', qualifiers, operators, "::").
bool LooksLikeSourceCode(const TextString& text, bool strict);

// After a bullet (210-215): when the first line above the blank lines right above it (at most
// three) is a bullet of any kind (210-219), those blank lines become bullet blank lines (217).
// Returns the line above the bullet (null when there is none).
PreHTML* MarkBulletBlankLines(FileControl& fc, PreHTML& bulletLine);

// What PreHTML::PreformattedScore measures of a line's markup rendering (its table marks and
// blank runs) and of the alignment of its tidy rendering with the line above: taken by the
// first scoring of a line and read by the second, so that the analysis of one line walks
// those texts once. A record serves only the line it was taken of, against the same line
// above, and only while neither line's markup or tidy rendering, nor the text of the line
// above, has changed.
struct PreformattedMeasure {
  // What was measured of the line above is no longer known (its text may have changed).
  void ForgetLineAbove() {
    alignedWith = nullptr;
    symbolsOf = nullptr;
  }
  // The counts of the markup rendering (trimmed): bars, pluses before more text, doubled
  // '-', '=' and '|'; blank runs of at least 2, 3, 4 and 5 blanks; the longest blank run.
  bool layoutTaken = false;
  int marks = 0;
  int runs2 = 0;
  int runs3 = 0;
  int runs4 = 0;
  int runs5 = 0;
  int longest = 0;
  // The alignment of the blank runs with those of alignedWith (BlankAlignmentRatio).
  const PreHTML* alignedWith = nullptr;
  double alignmentRatio = 0.0;
  int alignmentRuns = 0;
  // Whether the text of symbolsOf, the line above, is mostly symbols (IsMostlySymbols).
  const PreHTML* symbolsOf = nullptr;
  bool mostlySymbols = false;
};

// The pre-formatted mark reviewed once the line's type is known; acts only while the Context
// is at the analysis stage of a line. A line over 110 bytes, or any line in an HTML section,
// loses its roll-out mark and kind. A line of type -3, 0-3, 220, 230 or 1032 is scored again
// (mode 0 after effectivePrevious) unless it has a change bar or "Look for preformatted text"
// is off: a positive score, or a line already marked pre-formatted, gets the pre-formatted
// flag, the roll-out mark and the score as its kind (a larger kind it had is kept). A continuation (161, 231) loses the
// roll-out mark, and so does effectivePrevious; any other type loses it. measure (may be
// null) is the record of the line's first scoring against effectivePrevious.
void ReviewPreformattedMark(FileControl& fc, PreHTML& line, PreHTML* effectivePrevious,
                            PreformattedMeasure* measure = nullptr);
