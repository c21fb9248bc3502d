#pragma once

#include "text/TextString.h"

// The measurements and labels of the statement writer (RTFFile::WriteOutStatement) that do
// not depend on the writer's state.

// The widest label a hanging paragraph gets, in twips; a wider one is limited to it.
inline constexpr int kMaxHangingLabelWidth = 3600;

// Where the label of a hanging paragraph ends in text: at the first " - ", "= " or ": " (tried
// in that order) that comes before any double blank, else at the first blank, else at the end
// of the text. Returns the label's length: a " - " stays with the text that follows, the "="
// or ":" of the other two with the label. restStart receives where the text after the label
// starts (after the separator or the blank).
int FindHangingLabelEnd(const TextString& text, int& restStart);

// The indent that holds a label estimated at estimatedWidth twips: rounded down to a
// multiple of 360 plus 360, and at most kMaxHangingLabelWidth (limited is then true).
int HangingLabelWidth(int estimatedWidth, bool& limited);

// The right tab of a ruler line of length characters, in twips: the share of a full line (72
// characters, 132 in landscape) that the line takes, at most all of it, of 8280 twips (15704
// in landscape), truncated.
int RulerTabPosition(int length, bool landscape);

// The label of a bullet drawn from the "Characters to use for bullets" value: the character
// at level (counted from 0; the first one past the end), a backslash doubled and a brace
// escaped; the bullet character "\u8226\'95" (its Windows-1252 byte as the fallback) in the
// paragraph's font when characters is empty.
void BulletCharacterLabel(const TextString& characters, int level, TextString& out);

// Whether the written text of a line runs on into next (the text of the following input line)
// without a blank between them, as the words of the input do: after a letter or digit and a
// hyphen before a letter or digit ("Content-" + "Transfer-Encoding"), and between Chinese or
// Japanese characters (Han, kana, their punctuation and full-width forms), which those scripts
// write without blanks between words; Hangul is written with blanks and keeps them. utf8 says
// the texts are UTF-8; in other text only the hyphen joins.
bool JoinsNextLine(const TextString& text, const TextString& next, bool utf8);
