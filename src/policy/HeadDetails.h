#pragma once

#include "text/TextString.h"

// How the headings of one level are numbered, with a one-line text form shared by policy
// files and the heading-level dialogs, for example
//   "Chapter" [N.N] at indent 4
//   "" Numbered Paragraph
// The form is: the prefix words in double quotes (two double quotes when none), the text
// before the number, the number pattern (N decimal repeated per level with the separator,
// a, i, A or I), the text after it, an optional trailing x, then " at indent " and the indent.
class HeadDetails {
 public:
  // Number styles.
  enum : int {
    kDecimal = 1,     // N
    kLowerAlpha = 2,  // a
    kLowerRoman = 3,  // i
    kUpperAlpha = 4,  // A
    kUpperRoman = 5,  // I
  };
  static constexpr int kMaxPrefixWords = 9;

  HeadDetails() = default;
  HeadDetails(const HeadDetails&) = default;
  HeadDetails& operator=(const HeadDetails&) = default;
  virtual ~HeadDetails() = default;

  // Every field back to its reset value.
  void Reset();
  void CopyFrom(const HeadDetails& other) { *this = other; }
  // Every field, except that the indent and the two further values are taken only when the
  // other's are not -1.
  void MergeFrom(const HeadDetails& other);

  // out becomes the text form; levelCount is the number of levels shown beyond the first
  // for the decimal style (0 gives "N", 2 gives "N.N.N"). Returns 1.
  int Format(int levelCount, TextString& out) const;
  // Reads the text form into this record (reset first). Returns 1 and sets defined when the
  // text was understood; 0 when the numbering part has no A, I, N, a or i, leaving the fields
  // read so far. The separator is never read: it stays '.'. A text without "at indent"
  // leaves the indent unset.
  [[nodiscard]] int Parse(int levelCount, const TextString& text);

  // ---- Fields (read and set by the policy set, the heading analysis and the dialogs) ----
  int defined = 0;
  int style = kDecimal;
  int indent = -1;             // -1 unset
  TextString prefixWords;      // e.g. Chapter
  int wordCount = 1;           // blank-separated prefix words, counted up to 9
  int numberedParagraph = 0;   // a numbered paragraph rather than a numbered heading
  int prefixGiven = 0;         // the text form carried a quoted prefix
  TextString before;           // written immediately before the number
  TextString after;            // written immediately after the number
  int trailingX = 0;           // the form ends in x: a trailing letter is allowed
  char separator = '.';        // between the levels of a decimal number
  int furtherValue1 = -1;      // set and used by the policy set's callers
  int furtherValue2 = -1;
  // Words that announce a numbered heading of this level (such as a word before the
  // number), each used only when enabled, and a switch that keeps a following line from
  // being joined into the heading. Not part of the text form; off after a reset.
  TextString numberingWords[2];
  int numberingWordEnabled[2] = {0, 0};
  int noJoin = 0;
};
