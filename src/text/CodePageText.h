#pragma once

#include <string>
#include <string_view>

// Single-byte text of a Windows code page as UTF-8, for windows that show UTF-8.
// codePage 1251 (Cyrillic) or 1252 (Western; also every other value). Bytes below 128 stay
// as they are; the few bytes a code page leaves undefined become the code point of the
// same number.
std::string CodePageToUtf8(std::string_view text, int codePage);
