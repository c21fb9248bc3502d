#pragma once

class Context;
class FileControl;
class TextPosition;
class TextString;

// Registers a heading that the line analysis or a heading tag established: an anchor entry
// with its anchor text, the heading in the heading (or contents) list, and, when the number
// text differs from the anchor text, a second anchor entry named after the number text.
// HTML-like tags ("<" ... ">") are removed from the anchor text, and from the number and
// heading texts with stripTags; blank runs become one. An unset position is the current
// pass's position one line on. An anchor text above 60 characters is replaced by its link
// name. A heading already registered fewer than 6 lines away in the same block (block 0) is
// not registered again. Returns 1 when the heading was registered.
int AddHeadingAnchor(FileControl& fc, Context& ctx, int headingType, const TextPosition& position,
                     const TextString& anchorText, const TextString& numberText,
                     const TextString& headingText, const TextString& extra1,
                     const TextString& extra2, const TextString& extra3, int stripTags);
