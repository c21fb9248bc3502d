#pragma once

#include "engine/HelpLinks.h"
#include "analysis/ParagraphStyles.h"
#include "engine/FontKeys.h"
#include "text/TextString.h"

class Context;
class FileControl;
class RTFFile;
struct StyleRecord;

// The RTF text of constructs that the writer, the tag handlers and the table code share:
// page geometry, paragraph openings, the contents and hyperlink fields, help links and
// topic identifiers, the font-table entries of FONT tags and the tidy step of each flush.
// Each takes the policy set first; none throws, and only an unknown paragraph kind is
// reported.

// ---- Page ----
// Width and height in twips of the "Paper size" choice (1 A3 .. 14 Tabloid Extra; A4 for
// anything else), swapped when "Use Landscape mode" is on.
void GetPaperSize(FileControl& fc, int& width, int& height);
// Margins in twips from "Top margin (in cm)" and its three companions, each when set and a
// number of centimetres; otherwise 1440 top and bottom, 1800 left and right.
void GetPageMargins(FileControl& fc, int& top, int& bottom, int& left, int& right);

// ---- Contents field ----
// Writes the TOC field as one line through the writer when "Make Windows Help source file"
// is off and b is 1; 1 when written. The field shows levels 1 to n, n being level when above
// 0, else "Maximum level to show in contents" when set and above 0; without n it shows all.
int WriteTocField(FileControl& fc, RTFFile& writer, int level, int b);

// ---- Fonts of FONT tags ----
// One font-table line per font key, Arial for a key whose third "-" field is a non-zero
// number (sans serif), else Times.
void WriteFontTable(FileControl& fc, RTFFile& writer);

// ---- Tidying ----
// The final touches on a batch of written RTF: blanks after "\b0}", "\i0}" and "}}}" before
// a line end, no "\line" or "\par" before "\cell", no double blank or "\par " before a line
// end. Returns 1.
int TidyRtfText(FileControl& fc, TextString& text);

// ---- Paragraphs ----

// The style's font number, point size, bold and italic with the Context's font change
// applied (the current one, else the saved one).
void GetStyleFont(FileControl& fc, const StyleRecord& style, bool current, int& font,
                  int& size, int& bold, int& italic);

// The parts of a paragraph format that a mask selects.
enum ParagraphPart : unsigned {
  kPartReset = 1u << 0,    // "\pard", "\plain", "\intbl"
  kPartStyle = 1u << 1,    // "\s"
  kPartSpacing = 1u << 2,  // "\sb", "\sa"
  kPartKeep = 1u << 3,     // "\keepn\widctlpar"
  kPartFont = 1u << 4,     // "\f", "\fs", bold and italic
  kPartAlign = 1u << 5,    // "\qr", "\qj", "\qc"
  kPartIndent = 1u << 6,   // "\li", "\fi" of a paragraph opening
  kAllParts = (1u << 7) - 1,
};

// The control words that open a paragraph of style styleIndex (style is its record), into
// out (emptied first).
void BuildParagraphFormat(FileControl& fc, RTFFile& writer, int styleIndex,
                          const StyleRecord& style, TextString& out, unsigned mask = kAllParts);
// "{" and the format of a paragraph kind at an indent level, with its indents. An unknown
// kind is reported and opens a Body paragraph.
void BuildParagraphOpening(FileControl& fc, RTFFile& writer, int kind, int level,
                           TextString& out, unsigned mask = kAllParts);
// The opening of a bullet item at a level: the Bullet format, a hanging or flush first line
// and a tab stop at the indent, then "{".
void BuildBulletPrefix(FileControl& fc, RTFFile& writer, int level, bool hanging,
                       TextString& out);
