#pragma once

#include "text/TextString.h"

class Context;
class FileControl;

// Services that take the tags of a text apart or out: escaping that spares the emphasis
// markup, the text of a tagged heading with its tags resolved, the number of a list item and
// the filter that keeps or drops delimited tags by keyword.

// Makes a tag's text from an escaped line safe to write (EscapeRtfBraces) while the emphasis
// markup in it ("{\b\i " / "\b0\i0}", "{\b " / "\b0}", "{\i " / "\i0}") stays markup: the
// markers are set aside as placeholders ("$_$_BI_$_$", "$_$_/BI_$_$" ...) meanwhile.
void EscapeKeepingEmphasis(FileControl& fc, Context& ctx, TextString& text);

// The text of a tagged heading with its in-line tags resolved, trimmed, into out: text is
// RTF-escaped first unless noEscape; then each tag (start delimiter ... end delimiter, case
// ignored) is looked at: SUPER and SUB give their bare text, CAD and CAAD stay as written,
// any other tag (known or not) becomes one blank. Nothing is reported about unknown tags.
void CleanHeadingTags(FileControl& fc, Context& ctx, int noEscape, const TextString& text,
                      TextString& out);

// The number of a LIST_ITEM tag or directive line (its field 1). A LIST_ITEM whose field 1
// does not read gives -1 with "TAG ERROR: Failed to parse: <arguments>" (level 10); any other
// tag gives 0 with "TAG ERROR: " and the recogniser's message at the recogniser's level.
int GetListItemNumber(FileControl& fc, Context& ctx, const TextString& tagText);

// Copies text into out without the tags (opener ... closer, found ignoring case) that the
// lists do not keep. keepList and dropList are comma lists of keywords (null or empty: not
// given; case ignored): with a keep list only the tags it names stay; with only a drop list
// the tags it names go; with neither every tag goes. A tag's keyword is the recogniser's
// (RecogniseTag, failures not reported); for "<" ... ">" tags the "<", "</" and ">" are taken
// off it. Text is not changed. Returns the number of tags kept. Linear in the text: a
// removed tag is skipped, so the text around it never forms a new tag.
int FilterDelimitedTags(FileControl& fc, Context& ctx, const char* opener, const char* closer,
                        const char* keepList, const char* dropList, const TextString& text,
                        TextString& out);

// FilterDelimitedTags with the policy set's start and end tag delimiters.
int FilterInlineTags(FileControl& fc, Context& ctx, const char* keepList, const char* dropList,
                     const TextString& text, TextString& out);
