#pragma once

#include "text/TextPosition.h"
#include "text/TextString.h"

class FileControl;

// Argument handling of the in-line tags and directives. Arguments are normalised so that
// their first character is the field separator and each field follows one.

// Removes the first occurrence of keyword (case-sensitive), collapses runs of blanks and
// normalises the rest (fields delimited by "," outside quotes, leading "name=" dropped).
// False when no free separator exists. The failure message waits for the policy set's
// message road: nothing is reported yet.
[[nodiscard]] bool ParseTagArguments(FileControl& fc, TextString& text, const char* keyword);

// The number of fields of a normalised argument text.
int CountTagFields(const TextString& arguments);

// Field n (1-based) of the normalised arguments, one leading and one trailing double quote
// removed and doubled quotes made single. 0 when the field is missing or empty.
[[nodiscard]] int GetTagText(FileControl& fc, const TextString& arguments, int field,
                             TextString& out);
// As GetTagText, the default taking the place of a missing or empty field; always 1.
int GetTagTextOrDefault(FileControl& fc, const TextString& arguments, int field,
                        TextString& out, const char* defaultText);

// Page scope of a tag. Until the scope words are read here only an empty scope is valid
// (all pages: page 0, global 1); any other scope gives false with
// "TAG ERROR: Unknown scope attribute <scope>" and level 10.
[[nodiscard]] bool ParsePageScope(FileControl& fc, const TextString& scope,
                                  TextPosition& position, int& page, int& global,
                                  TextString& message, int& level);
