#pragma once

#include "text/TextString.h"

// Characters that an RTF document of code page 1252 cannot hold as they are, written as RTF
// Unicode escapes: "\u" + the code as a signed 16-bit number + one fallback character for
// readers without Unicode (the prologue declares one with "\uc1"). Hex escapes use lower-case
// digits. Each function leaves a text without such characters untouched; work is a scratch
// text that the caller reuses, so a line costs no allocation.

// Replaces each box-drawing byte of text converted from code page 437 (OemBoxDrawingByte
// tells them) by "\u" + its Unicode code point + an escaped single-byte fallback: a
// horizontal line 0xC4 becomes "\u9472\'2d", a vertical one 0xB3 "\u9474\'a6".
void MapBoxDrawing(TextString& text, TextString& work);

// Replaces each UTF-8 character of text outside ASCII by "\u" + its code + a fallback: "\'" +
// its Windows-1252 byte in hex where that code page has the character, else "?" ("é" becomes
// "\u233\'e9"). Codes above 32767 are written as negative numbers, as RTF reads them; a
// character beyond U+FFFF becomes its UTF-16 surrogate pair, each half with "?" (U+1F600
// becomes "\u-10179?\u-8704?"). A byte that begins no valid UTF-8 sequence is taken as a
// Windows-1252 byte and written as its hex escape, so nothing is lost.
void EscapeUtf8Characters(TextString& text, TextString& work);

// The Windows-1252 byte of a Unicode code point; 0 when that code page lacks the character.
int Windows1252Byte(int codePoint);
