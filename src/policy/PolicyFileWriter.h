#pragma once

#include "text/TextString.h"

// Writing policy files. The entry point is FileControl::WritePolicyFile (declared in
// policy/FileControl.h); this header holds the line form it shares with its tests.

// Special lines (indent and hanging positions, definition characters, the rule set, USENET
// groups, document sections) pad their key to this column, ordinary policy lines to 42.
inline constexpr int kSpecialKeyWidth = 33;

// out := key padded with blanks to kSpecialKeyWidth (a longer key is followed by one blank),
// ": " and value.
void FormatSpecialLine(const char* key, const char* value, TextString& out);
