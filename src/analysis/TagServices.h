#pragma once

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;
class FontSpec;
class PreHTML;

// Argument handling of the in-line tags and of the directives read as tags. An argument text
// is normalised so that its first character is the field separator and every field follows
// one: field n (1-based) is the piece after the n-th separator, up to the next. The readers
// below take such a text.

// Removes the first occurrence of keyword (case-sensitive; a null or empty keyword removes
// nothing), collapses runs of blanks, removes a leading directive delimiter and normalises
// the rest: the first character only opens the list, fields are split at "," outside double
// quotes, trimmed, a leading "name=" dropped and their quotes removed. False, with
// "PROGRAM ERROR: Can't parse tag <keyword>=<text>" reported at level 10, when no separator
// character is free; text is then left as it was.
[[nodiscard]] bool ParseTagArguments(FileControl& fc, TextString& text, const char* keyword);

// The number of fields of a normalised argument text (0 for an empty one).
int CountTagFields(const TextString& arguments);

// ---- Text fields ----
// Field n with one leading and one trailing double quote removed and each doubled double
// quote made single. False (out empty) when the field is missing or empty, unless
// defaultText is given: then out is the default and the result true.
bool ReadTagText(const TextString& arguments, int field, TextString& out,
                 const char* defaultText = nullptr);
// ReadTagText without a default: 0 when the field is missing or empty, else 1.
[[nodiscard]] int GetTagText(FileControl& fc, const TextString& arguments, int field,
                             TextString& out);
// ReadTagText with a default; always 1.
int GetTagTextOrDefault(FileControl& fc, const TextString& arguments, int field,
                        TextString& out, const char* defaultText);

// ---- Number fields ----
// Field n trimmed, the part after its first "=" when it holds one, read as a decimal
// integer (a value outside the int range does not read). Missing or not a number: -1 and
// false, unless defaultValue is given: then the default and true.
bool ReadTagNumber(const TextString& arguments, int field, int& out,
                   const int* defaultValue = nullptr);
[[nodiscard]] bool GetTagNumber(FileControl& fc, const TextString& arguments, int field,
                                int& out);
bool GetTagNumberOrDefault(FileControl& fc, const TextString& arguments, int field, int& out,
                           int defaultValue);
// The same for a real number.
bool ReadTagReal(const TextString& arguments, int field, double& out,
                 const double* defaultValue = nullptr);
bool ReadTagRealOrDefault(FileControl& fc, const TextString& arguments, int field, double& out,
                          double defaultValue);

// ---- Alignment fields ----
// Values of an alignment field (the first letter, either case).
enum TagAlignment : int {
  kTagAlignLeft = 1,     // L
  kTagAlignCentre = 2,   // C
  kTagAlignRight = 3,    // R
  kTagAlignJustify = 4,  // J
};
enum TagVerticalAlignment : int {
  kTagAlignTop = 1,     // T
  kTagAlignBottom = 2,  // B
  kTagAlignMiddle = 3,  // C
};
// The alignment of field n (its part after "=" when it holds one). Any other letter reports
// "TAG ERROR: Bad alignment code '<value>' " at level 10 and gives false. A missing or empty
// field gives false without a message.
[[nodiscard]] bool GetTagAlignment(FileControl& fc, const TextString& arguments, int field,
                                   int& out);
// The same with a default: a bad letter is reported with "using default value instead"
// appended, and the default (also for a missing field) is given with true.
bool GetTagAlignmentOrDefault(FileControl& fc, const TextString& arguments, int field, int& out,
                              int defaultValue);
// Vertical alignment (T, B, C) with "TAG ERROR: Bad vertical alignment code '<value>' ".
[[nodiscard]] bool GetTagVerticalAlignment(FileControl& fc, const TextString& arguments,
                                           int field, int& out);
bool GetTagVerticalAlignmentOrDefault(FileControl& fc, const TextString& arguments, int field,
                                      int& out, int defaultValue);

// ---- Messages ----
// "TAG ERROR: Failed to parse Arg#<n> in \"<keyword> <arguments>\"" (n > 0) or
// "TAG ERROR: Failed to parse \"<keyword> <arguments>\"" at level 10: on line when one is
// given (and the policy set has a Context), else through the policy set.
void ReportTagParseError(FileControl& fc, PreHTML* line, const TextString& keyword,
                         const TextString& arguments, int field);
// text at level on line when one is given and the policy set has a Context, else through the
// policy set.
void ReportTagMessage(FileControl& fc, PreHTML* line, const char* text, int level);

// ---- Composite arguments ----
// The largest point size a tagged font may have (the largest RTF readers show).
inline constexpr int kMaxTagFontSize = 1638;
// The FONT tag's arguments into font: field 1 the kind (0 face name, 1 second name), field 2
// the name, 3 the size (default 10), 4 the sans-serif flag (default 0), 5 the style bits
// (default 0; 1 italic, 2 bold). Field 1 or 2 missing, or a size outside 1 to
// kMaxTagFontSize: ReportTagParseError with that field, result 0. The size and a line height of size + 2 are set first; any other kind reports
// "UNSUPPORTED CASE: Tagged font type" at level 10 and gives 0. The font's colour is the
// Context's tag colour (empty). 1 on success.
[[nodiscard]] int ParseFontArguments(FileControl& fc, Context& ctx, PreHTML* line,
                                     const TextString& keyword, const TextString& arguments,
                                     FontSpec& font);
// The COLOR and COLOUR arguments: field 1 the colour name (default empty), fields 2 to 4
// real numbers (default 0). In the output pass colourOut is emptied. Always 1.
int ParseColourArguments(FileControl& fc, Context& ctx, PreHTML* line, const TextString& keyword,
                         const TextString& arguments, TextString& colourOut);

// The key under which a tagged font is listed among the fonts used: face name, "-", second
// name, "-1" or "-0" for the sans-serif flag and "-0" to "-3" for the style (1 italic,
// 2 bold).
void MakeFontKey(const FontSpec& font, TextString& key);

// ---- Page scope ----
// Reads the scope words of a definition (separated by commas when the text holds one, else
// by blanks): ALL_PAGES, ODD_PAGES_ONLY, EVEN_PAGES_ONLY set page to 0, 1, 2; GLOBAL and
// FROM_NEXT_FOLIO set global to 1 and 0; FROM_LAST_FOLIO sets global 0 and position to that
// of the Context's last folio definition at the current position ((0, 1) when there is none).
// Outputs start as global 1, page 0 and position the current tracker position (column + 1).
// A second page or folio word fails with "TAG ERROR: Page scope conflict \"<word>\"" or
// "TAG ERROR: Folio scope conflict \"<word>\"", any other word with
// "TAG ERROR: Unknown scope attribute \"<word>\"", and every word after a failure as an
// unknown attribute; each failure is appended to message and sets level 10. True when no
// word failed.
[[nodiscard]] bool ParsePageScope(FileControl& fc, const TextString& scope,
                                  TextPosition& position, int& page, int& global,
                                  TextString& message, int& level);
