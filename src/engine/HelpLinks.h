#pragma once

#include "text/TextString.h"

class FileControl;

// ---- Help topics and links ----
// Makes text a help topic identifier: only letters and digits stay, every other character
// becomes "_" (an RTF escape of a brace or a backslash counts as one character). A result
// longer than 40 characters is cut to 40, its end replaced by "_" and a checksum of it.
void MakeHelpTopicId(TextString& text);
// A link of the help file: kind 1 a jump to the topic of target, 2 a macro that opens the
// target address (the text alone when the address is not a plausible host), 3 and 4 a
// HYPERLINK field (BuildHyperlinkField). plain underlines a jump singly.
void BuildHelpLink(FileControl& fc, int kind, bool plain, const TextString& target,
                   const TextString& text, TextString& out);
// A HYPERLINK field that shows text: kind 1 to the bookmark of target's topic identifier,
// 2 to the address target when it is a plausible host (else the text alone), 3 and 4 to
// target. Any other kind gives the text alone.
void BuildHyperlinkField(FileControl& fc, int kind, const TextString& target,
                         const TextString& text, TextString& out);
