#pragma once

#include <string>
#include <string_view>

// Single-byte text of a Windows code page as UTF-8, for windows that show UTF-8.
// codePage 1251 (Cyrillic) or 1252 (Western; also every other value). Bytes below 128 stay
// as they are; the few bytes a code page leaves undefined become the code point of the
// same number.
std::string CodePageToUtf8(std::string_view text, int codePage);
// Appends one byte of codePage, as above, to out as UTF-8.
void AppendCodePageByteAsUtf8(std::string& out, unsigned char byte, int codePage);

// True when text holds a byte above 127 and every such byte belongs to a well-formed UTF-8
// sequence.
bool IsUtf8BeyondAscii(std::string_view text);

// UTF-8 text as single-byte text of codePage (1251 or 1252, as above): out receives one byte
// per character. A character the code page lacks, and a byte outside a well-formed sequence,
// becomes "?"; the result is then false.
bool Utf8ToCodePage(std::string_view text, int codePage, std::string& out);
