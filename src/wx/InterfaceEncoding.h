#pragma once

#include <string>
#include <string_view>

// The program's interface texts are single-byte strings of a Windows code page (1252, or
// 1251 for Russian); the window toolkit takes UTF-8. Texts that reach a window pass through
// here. A window text may also carry a file name, which is UTF-8 on this system (a path put
// into a message or a field), so a well-formed UTF-8 sequence of two or more bytes is kept as
// it is and every other byte from 0x80 up is read in the code page. ASCII is unchanged.
std::string InterfaceTextToUtf8(std::string_view text, int codePage);
