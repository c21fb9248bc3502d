#pragma once

#include <string_view>

#include "text/TextString.h"

class DesktopPlatform;
class DialogWindow;

// Colour settings are texts: one of eighteen colour names ("White", "Navy", ...) or six
// hexadecimal digits rrggbb. These turn such a text into a screen colour, paint a swatch
// and let the user pick a colour.

// A screen colour: red in the low byte, then green, then blue.
using ScreenColour = unsigned;

inline constexpr int RedOf(ScreenColour colour) { return static_cast<int>(colour & 0xFF); }
inline constexpr int GreenOf(ScreenColour colour) { return static_cast<int>((colour >> 8) & 0xFF); }
inline constexpr int BlueOf(ScreenColour colour) { return static_cast<int>((colour >> 16) & 0xFF); }

// 0-9 for '0'-'9', 10-15 for 'a'-'f' and 'A'-'F', 0 for any other character.
int HexDigitValue(char c);

// The screen colour of a colour text. A name matches only exactly (case matters); any other
// text is read as digits: an empty text is "c0c0c0" (silver), every '#' is dropped, the
// first six characters give red, green and blue two by two, a missing character and a
// character that is no hexadecimal digit count as 0 (so "red" gives red 14, green 208).
ScreenColour ColourNameToHex(std::string_view colour);

// Paints control controlId of window as a swatch: background colour and text colour from the
// two colour texts.
void PaintColourSwatch(DialogWindow& window, int controlId, std::string_view background,
                       std::string_view text);

// Opens the platform's colour chooser at the colour of colour. On OK result becomes the
// chosen colour as six lower-case digits, or its name where the colour has one (the first
// name of the table for a colour with two: "Cyan", "Fuchsia"), and 1 is returned; on Cancel
// result is left as it was and 0 is returned.
int ChooseColour(DesktopPlatform& platform, std::string_view colour, TextString& result);
