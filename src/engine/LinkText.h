#pragma once

#include <string_view>

#include "text/ArgumentLists.h"
#include "text/TextString.h"

class ConversionOptions;
class EntityTable;
class FileControl;
class StringList;

// Helpers that the word conversions, the input reader and the heading and file naming share:
// cutting link text out of a candidate word, taking HTML anchors out of input, re-delimiting
// tag argument lists, decoding character entities, and making texts safe as anchor and file
// names.

// ---- Link text ----
// The kinds of word DetectUrls is asked about.
inline constexpr int kDetectWebAddress = 1;
inline constexpr int kDetectEmailAddress = 2;
inline constexpr int kDetectNewsGroup = 6;

// Cuts the link text out of a candidate word (its first line only): with htmlOutput, the
// text inside an anchor ("<a ...>text</a>") or the word without its one tag; then leading
// "'", "(", "<", "[", "`", "{", "&lt;", "URL:", "snews:", "HREF=\"", "news:" and "mailto:"
// and trailing "'", ")", ",", ".", ":", ";", "<", ">", "?", "]", "`", "}", "'s", "&lt;",
// "&gt;" are stripped repeatedly; a lone double quote keeps the longer side, a pair at both
// ends is dropped. 1 with linkText set when what remains may be a link; 0 (linkText
// untouched) when it is empty, shorter than its scheme allows ("ftp" under 8 characters,
// "http" up to 8, "gopher", "telnet", "mailto" up to 10), starts with a double quote while
// the word does not hold exactly one "@", holds "!", "(", ")", "*", "{", "}", "&lt;" or
// "&gt;" (and "[" or "]" outside web mode), or has unbalanced double quotes. An empty word
// gives 1 with linkText untouched.
int DetectUrls(int mode, const TextString& word, TextString& linkText, int htmlOutput);

// Takes the HTML anchors ("<a ...>" up to the next "</a>", any case; "<abbr>" is no anchor)
// out of in, keeping their link text, into out. While a pass runs, each anchor is offered to
// the policy set's link dictionary (link text without markup as match and replacement, no
// address, the anchor tag, its column); the dictionary keeps no anchor without an address.
// An anchor without "</a>" after it ends the search; the rest stays.
void ExtractInputLinks(FileControl& fc, const TextString& in, TextString& out);

// ---- Entities ----
// The UTF-8 bytes of an entity: the code from EntityToCode, with 128-159 read as Windows-1252
// bytes (128 becomes 8364 ...; 129, 141, 143, 144 and 157 stay). code receives the Unicode
// value; byte2 and byte3 are 0 where the encoding is shorter. 1 when converted; 0 (bytes 0)
// when the entity has no code or the code is above 0xFFFF.
int EntityToUtf8(const EntityTable& table, std::string_view entity, int& code, int& byte1,
                 int& byte2, int& byte3);

// Replaces the character entities of in, writing the result to out (which may be in); the
// number of entities replaced. Read from options: multiByteOutput (UTF-8 output),
// fixedCharacterSet and characterSetName (a fixed character set unless the name is empty or
// "auto"), plainCharacters ("&nbsp;" as a blank, single-byte forms preferred), latin1Output
// (128-255 as single bytes in UTF-8 output), suppressUnicode with unicodeReplacement (the
// substitute, at most 4 bytes, for a character that needs more than one byte). An "&" with a
// ";" within the next 8 characters opens an entity; a name unknown as written but known in
// lower case is read in lower case ("&EACUTE;"). Unknown entities, code 0, and in single-byte
// output codes above 255 stay as written. Each multi-byte replacement adds the entity to
// namesUsed (once) and sets *converted; without the substitute the first one makes the rest
// of the text UTF-8 too. Text without both "&" and ";" is copied and 0 returned.
int DecodeEntities(const EntityTable& table, const ConversionOptions& options,
                   const TextString& in, TextString& out, StringList* namesUsed = nullptr,
                   int* converted = nullptr);

// ---- Safe names ----
// The text with its entities decoded (the policies' options with Latin-1 output and the
// substitute on, plain characters off) and made a safe file name (MakeSafeFileName).
void MakeSafeAnchorText(FileControl& fc, const EntityTable& table, const TextString& text,
                        TextString& out);
// The text with its entities decoded as for MakeSafeAnchorText, accented Latin-1 vowels made
// plain, blank, ! " # % & ' ( ) * + , . / : < = > ? @ [ \ ] ^ { | } and every byte above 127
// made "_", and trailing "_" removed. Letter case stays.
void MakeSafeSplitName(FileControl& fc, const EntityTable& table, const TextString& text,
                       TextString& out);
