#pragma once

#include "text/TextString.h"

// ---- RTF escapes ----
// RTF-escapes text in place: every "\" doubled, every "{" as \'7b and every "}" as \'7d,
// whatever the text already holds. A text is escaped once, where it enters the RTF side of
// the pipeline; callers that cannot tell whether a text was escaped use EscapeRtfBraces.
void EscapeRtfText(TextString& text);
// Makes a text that may already be RTF-escaped safe to write, and leaves an escaped text as it
// is: a "{" or "}" that no backslash escapes (one after an even run of backslashes, or none)
// becomes \'7b or \'7d, and a run of backslashes that ends the text with an odd count gets
// one more, so that it cannot escape what is written after it. Backslashes elsewhere stay.
void EscapeRtfBraces(TextString& text);
