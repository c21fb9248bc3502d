#pragma once

#include "text/TextString.h"

// Re-delimits the argument list args: picks the first separator of A1, B1 (hex) | = ~ # ? /
// \ + ^ & * that args does not hold, splits args (its first character dropped) on the first
// of delimiters found outside double quotes (a comma when none is), trims each field, with
// dropNames cuts a leading "name=" (unless the field is a web address), unquotes it, and
// writes separator + field for each field. 0 (out untouched) when no separator is free.
[[nodiscard]] int NormaliseArgumentList(const TextString& args, const char* delimiters,
                                        int dropNames, TextString& out);

// One trailing and one leading double quote removed, each doubled quote made single.
void UnquoteArgument(TextString& field);

// Field n (1-based) of a normalised argument list (the text after the n-th separator, up to
// the next), unquoted. False with out empty when the field is missing or empty.
bool GetArgumentField(const TextString& arguments, int field, TextString& out);
