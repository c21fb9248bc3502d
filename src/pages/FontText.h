#pragma once

#include "platform/DesktopPlatform.h"
#include "text/TextString.h"

// The font texts of the font policies: face, style and size separated by ", "
// ("Times New Roman, Regular, 10"). A font is never typed: the font chooser starts from a
// font text and its choice is written back as one.

// Weights as the font chooser counts them.
inline constexpr int kWeightRegular = 400;
inline constexpr int kWeightBold = 700;

// The chooser's starting font of a font text. The text is split at commas into face, style
// and size (missing fields are empty). The style, trimmed of blanks and tabs and compared
// without case, is "Regular", "Bold", "Italic" or "Bold Italic"; anything else is regular.
// The size is read as a whole number of points; a size that is missing or not a number
// reads as -1 and leaves the chooser at its own size.
FontChoice FontChoiceFromText(const TextString& fontText);

// The font text of a choice: the face; ", Bold Italic" or ", Bold" for weight exactly 700,
// ", Italic" for any other weight in italic, ", Regular" otherwise; then ", " and the size
// in whole points (the tenths dropped: 10.5 points is "10").
TextString FontTextFromChoice(const FontChoice& font);

// The font chooser of a font field: opens the platform's chooser at start's font. On OK,
// when the chosen font's text differs from target, target takes it, changeFlag is set and 1
// is returned (the page then enables Apply). Cancel, or the same font chosen again,
// changes nothing and returns 0. Either way the page writes its values back to its
// controls afterwards.
int PickFontText(DesktopPlatform& platform, const TextString& start, TextString& target,
                 int& changeFlag);
