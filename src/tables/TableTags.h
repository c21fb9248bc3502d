#pragma once

#include "text/TextString.h"

class FileControl;

// What the table settings share in reading their tags.

// Recognises text as an in-line tag and gives its normalised argument list. False when the
// tag does not recognise, or when the policy set has no Context to recognise it with.
[[nodiscard]] bool RecogniseTableTag(FileControl& fc, const TextString& text,
                                     TextString& arguments);

// Recognises text as the in-line tag keyword (prefixing "<keyword> " when the text does not
// name it, case ignored) and gives its normalised argument list; as RecogniseTableTag.
[[nodiscard]] bool ReadTableTagArguments(FileControl& fc, const char* keyword,
                                         const TextString& text, TextString& arguments);

// True for BEGIN_USER_TABLE, BEGIN_DELIMITED_TABLE and BEGIN_COMMA_DELIMITED_TABLE, compared
// exactly (case and length).
bool IsBeginTableTag(const TextString& tagName);

// "TAG ERROR: Setting table config from tag <name>\n\t<text>" at level 10.
void ReportTableTagRefused(FileControl& fc, const TextString& tagName, const TextString& tagText);
