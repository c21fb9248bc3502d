#pragma once

#include "text/TextString.h"

class FileControl;

// Small stateless conversions that policies, tags and writers share: colours, font sizes,
// alignment letters, line types, reference words, bookmark names, and the contents mode of
// the output pass.

// ---- Colours ----
// True when text is empty, one of the 17 colour names (any case; kept as written, "Magenta"
// included), "#" and six hexadecimal digits, or six hexadecimal digits. out receives the
// canonical form: a "#" value equal to a named colour becomes its name ("#FF0000" gives
// "Red", "#ff00ff" "Fuchsia"), other "#" values are upper case, bare digits get a "#". text
// and out may be the same object. A text that is not a colour is copied unchanged and false
// is returned.
bool CanonicaliseColour(const TextString& text, TextString& out);

// Six upper-case hexadecimal digits for three components 0-1: each times 256, truncated,
// clamped to 0-255 (1.0 gives FF, 0.5 gives 80).
void RgbToHex(double red, double green, double blue, TextString& out);

// A colour written as "r,g,b" (three reals 0-1) or in a form CanonicaliseColour accepts.
// True with the canonical text in out; false (out as CanonicaliseColour leaves it, or
// untouched when fewer than three components read) otherwise.
bool ParseColourSpec(const TextString& text, TextString& out);

// The components 0-255 of a colour that ParseColourSpec accepts; all three 0 and false
// otherwise.
bool ColourToRgb(const TextString& text, int& red, int& green, int& blue);

// ---- Alignment and line types ----
// By the first character, any case: L 1, C 2, R 3, J 4, anything else (or empty) 0.
int ParseAlignmentLetter(const TextString& text);

// 1-6 for the heading families 101-106, 111-116, 131-136 and 151-156 (the last digit); 2 for
// 120, 121 and 250; 0 for every other type.
int HeadingLevelFromType(int type);

// True for the tagged types whose lines reach the output: 1001-1016 and 1029-1034.
bool IsOutputTagType(int type);

// ---- Font sizes ----
// The HTML font size (1-7 scale) for a size in points: up to 8 gives 1, up to 11 gives 2,
// up to 13 gives 3, up to 16 gives 4, below 23 gives 5, else 6.
int PointSizeToHtmlSize(int points);
// The point size of an HTML font size: up to 1 gives 8, then 10, 12, 14, 18, 24, and 7 and
// above 28.
int HtmlSizeToPointSize(int size);
// points unchanged when "HTML version to be targeted" is above 1 and "Add FONT style markup"
// is set; otherwise the point size of its HTML size (15 becomes 14, 9 becomes 10).
int SnapPointSizeToHtmlSize(const FileControl& fc, int points);

// ---- Words and names ----
// A cross-reference word without its brackets and punctuation: leading "(", "{" and "[" are
// skipped; a trailing "<BR>" is dropped, then trailing characters among ")]};:,.*".
void TrimReferenceWord(const TextString& word, TextString& out);

// A bookmark name: RTF-escaped braces ("\'7b", "\'7d"), "[", "]", "/" and blanks become "_",
// then MakeSafeFileName.
void MakeBookmarkName(const TextString& text, TextString& name);

