#pragma once

#include "text/TextString.h"

struct LocalDateTime;

// Number, date, measurement, language and character-set helpers shared by several
// subsystems. None keeps state.

// ASCII classes of one byte, given as a char, an unsigned char or an int: a byte with the high
// bit set (negative as a char) is never a digit or letter, whatever the code page.
constexpr bool IsAsciiDigit(int c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiUpper(int c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(int c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiLetter(int c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr bool IsAsciiLetterOrDigit(int c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

// The character that a well-formed, shortest UTF-8 sequence at p (n bytes available) encodes,
// in codePoint; returns the sequence's length (2-4), or 0 when p begins none: an ASCII byte,
// a stray continuation byte, a lead byte without its continuations, an overlong form, a
// surrogate code or a code beyond U+10FFFF.
[[nodiscard]] int DecodeUtf8Sequence(const unsigned char* p, int n, int& codePoint);

// Formats an IPv4 address held as a number (a.b.c.d, most significant first). 0 and an empty
// out unless the top byte lies in 1..511 (values from 256 are taken less 256).
[[nodiscard]] int FormatDottedQuad(double value, TextString& out);

// Today's local date as "7-Mar-2024": day without padding, the first three letters of the
// English month name, four-digit year.
void FormatCurrentDate(TextString& out);
// The same form for a given date.
void FormatDate(const LocalDateTime& date, TextString& out);

// 1 and twips (rounded half up) when text is a number of centimetres whose twips fit an int;
// else 0 with twips unchanged.
[[nodiscard]] int CentimetresToTwips(const TextString& text, int& twips);

// 1 and the RTF language code for a language name (case ignored); 0 with code 1033 for an
// unknown name.
[[nodiscard]] int GetLanguageCode(const TextString& name, int& code);

// Gives 1 to 4 single-byte characters for a character that Windows-1252 text cannot hold
// directly. byte1..byte4 are also inputs: the character's UTF-8 bytes (or 0), used when the
// code point has no entry of its own. True with count set when a replacement exists; false
// with all outputs 0 otherwise.
[[nodiscard]] bool MapUnicodeToAnsi(int codePoint, int& byte1, int& byte2, int& byte3,
                                    int& byte4, int& count);
