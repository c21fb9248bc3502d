#pragma once

#include <span>
#include <string_view>

#include "text/TextString.h"

class Context;
class FileControl;

// The recognition of in-line tags: a tag is a command written in a line between the start
// and end tag delimiters ("[[" and "]]" by default), or a directive line read as a tag (the
// directive delimiter, the keyword and its arguments). The line analysis recognises the tags
// that shape a line's structure this way, and the in-line tag interpreter every tag before it
// runs its handler.

// Recognises one tag. Works on a copy with blank runs collapsed: a copy that holds the start
// tag delimiter loses it at its front and the end delimiter at its end (a second start
// delimiter makes the tag incomplete or nested); otherwise a leading directive delimiter is
// cut. The keyword is the text up to the first blank, "," or "=" after its first character;
// the arguments are the rest normalised (ParseTagArguments), or for HTML and HTML_COMMENT the
// rest after the keyword and one more character, unchanged. 1 when the keyword is a known
// tag (case ignored); else 0 with message "Unrecognised tag \"<keyword>\" : <tag text>" or
// "Incomplete tag, or nested tag - \"<tag text>\"" and level 10 for the caller to report.
// level is -1 on success.
[[nodiscard]] int RecogniseTag(FileControl& fc, Context& ctx, const TextString& tagText,
                               TextString& keyword, TextString& arguments, TextString& message,
                               int& level);

// The 55 known tag names, in their listed order.
std::span<const std::string_view> KnownTagNames();
// True when keyword (case ignored) is one of the known tags or the accepted extra keywords
// (CONTENTS_LIST, NAVIGATION_BAR, TOC, OT, CT, DEBUG).
bool IsKnownTag(const TextString& keyword);
