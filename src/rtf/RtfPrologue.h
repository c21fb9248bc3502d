#pragma once

#include "text/TextString.h"

class FileControl;
class FontSpec;
class RTFFile;

// The parts of an RTF document before its first paragraph (RTFFile::WritePrologue writes
// them), and the pieces of them that other writers share.

// One font-table entry for font: "{\f" + its style code + family + charset + face + ";}".
// The charset comes from the first word of "Character encoding" (Cyrillic, Greek, Turkish,
// Hebrew, Arabic, Baltic, Thai and the East Asian sets; "\fcharset0 " for any other); the
// family from the pitch (fixed: "\fmodern\fprq1") and the sans-serif flag ("\fswiss\fprq2",
// else "\froman\fprq2"), with "\fbidi " for Arabic; the face is the first comma-separated
// name of the font's face, or the face the East Asian and Thai sets need. Written with the
// writer's WriteRaw.
void WriteCharsetFont(FileControl& fc, RTFFile& writer, const FontSpec& font);

// Appends text to out with every character that RTF reads as markup escaped: "\" as "\\",
// "{" and "}" as "\'7b" and "\'7d", so that no text can open or close a group.
void AppendRtfEscaped(TextString& out, const TextString& text);
