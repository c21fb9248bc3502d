#pragma once

#include <string>
#include <string_view>

class TextFile;

// Language files: interface texts by id, one per line ("<id>  : <text>", "!" starts a
// comment). Ids 1-999 are dialog texts, 5000-5549 tooltips, 10000-10209 menu texts and
// 15000-15119 message texts; other ids are ignored.

// One line of a language file into the tables: the part before the first "!" is kept and
// trimmed of blanks and tabs; the part before its first ":" must be a decimal id above 0, and
// the rest, trimmed, is the text. A line that is empty, has no colon or whose id part is not
// a number changes nothing.
void ApplyLanguageFileLine(std::string_view line);

// What reading a language file found.
struct LanguageFileRead {
  bool opened = false;  // false: the file could not be opened and nothing changed
  bool utf8 = false;    // the file was UTF-8 and its texts were converted
  int codePage = 0;     // the code page the texts are in
};

// Reads a language file into the tables. The texts are taken as bytes of codePage (the code
// page of the texts in force), except when the file is UTF-8 beyond ASCII (as the files of
// the source tree are): then each line is converted to codePage, or to the other interface
// code page (1251 or 1252) when only that one holds every character of the file. A UTF-8
// byte-order mark is dropped.
LanguageFileRead ReadLanguageFile(const std::string& name, int codePage);

// Writes the texts in force as a language file: the dialog, tooltip, menu and message
// sections in that order. False, and nothing written, when the file cannot be created.
[[nodiscard]] bool WriteLanguageFile(const std::string& name);

// The dialog-text section in its groups, each behind the lines "!", its heading and "!".
void WriteDialogTextSection(TextFile& file);
// The message section: its comment lines and the message entries in their groups.
void WriteMessageTranslations(TextFile& file);
// "<id>  : <text>" for dialog text id, the text unchanged.
void WriteDialogTextEntry(TextFile& file, int id);
// "<15000 + index>  : <text>" with each line feed written "\n" and each carriage return "\r".
void WriteMessageEntry(TextFile& file, int index);

// The name an export writes to: ".lng" is appended when the name holds no ".".
std::string LanguageFileExportName(const std::string& chosen);
