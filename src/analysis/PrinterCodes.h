#pragma once

#include "text/TextString.h"

class FileControl;

// Printer control sequences in text printed for a laser printer: the escape character (27)
// followed by a short code. The code runs from the character after the escape up to and
// including the first upper-case letter A-Z, or up to (not including) the next tab, escape,
// blank or the end of the text, whichever comes first.

// Scans text for escape sequences and checks each code against the printer command families.
// out is the text with every sequence removed when remove is non-zero (the page eject "&l0H",
// any case, leaves one form feed in its place, so the page structure survives), else a copy
// of text. recognised grows by one for every recognised sequence, whether removed or not. An
// unrecognised code is reported as "Unknown PCL Code \"Esc <code>\"" at level 7, except
// during the analysis and contents passes; with remove it is removed all the same. An
// escape directly followed by a blank has an empty code. text and out may be the same object.
void RemovePclCodes(FileControl& fc, const TextString& text, TextString& out, int remove,
                    int& recognised);

// True when code (the characters after the escape, as delimited above) is a recognised
// printer command.
bool IsKnownPclCode(const char* code, int length);
