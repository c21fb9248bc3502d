#pragma once

#include <string_view>

#include "text/TextString.h"

class Context;
class EntityTable;
class FileControl;

// Translation between character codes and HTML character entities. Entity texts include the
// leading "&" and the closing ";". The table passed in is consulted first; the fixed HTML 4
// Latin-1 names (160-255) and "&amp;", "&lt;", "&gt;" with their upper-case spellings stand
// behind it, so an empty table still knows them.

// The entity text of a code: the table's name for it, else the HTML 4 Latin-1 name for
// 160-255, else the numeric form "&#<decimal>;". Always true (out is never empty).
bool CodeToEntity(const EntityTable& table, int code, TextString& out);

// The code of an entity text. "&#..." goes to ParseNumericEntity; otherwise the table is
// searched by name, then the fixed names (exact case: "&AMP;" is known, "&Amp;" is not).
// False with code -1 when nothing matches.
bool EntityToCode(const EntityTable& table, std::string_view entity, int& code);

// Reads "&#<decimal>;" or "&#x<hex>;" ("X" too); the last character is dropped whatever it
// is. False with code -1 when the text does not begin "&#", the number does not read, or it
// is negative.
bool ParseNumericEntity(std::string_view entity, int& code);

// CodeToEntity on the Context's entity table.
bool EntityForCode(const Context& ctx, int code, TextString& out);

// Escapes text in place for markup output; nothing happens for text output (type 2). An
// in-line tag (from the "Start tag delimiter" text to the "End tag delimiter" text) keeps its
// "&", "<" and ">"; elsewhere they become "&amp;", "&lt;" and "&gt;". Unless no8Bit is set,
// every byte 128-160, in tags too, becomes "&#<code>;" and every byte above 160 its
// CodeToEntity text.
void EscapeHtmlText(FileControl& fc, Context& ctx, TextString& text, int no8Bit);
// Escapes text for markup output (EscapeHtmlText, 8-bit characters kept under a non-Latin-1
// character encoding) unless the output is text, the input holds Japanese characters or the
// character encoding takes no entities.
void EncodeEntities(FileControl& fc, Context& ctx, TextString& text);
