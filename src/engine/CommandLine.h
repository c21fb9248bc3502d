#pragma once

#include <string>
#include <vector>

#include "engine/KeywordTables.h"
#include "text/TextString.h"

class Context;

// Command-line qualifiers ("/LOG", "/OUTPUT=name" ...) and the file specifications beside
// them. A command is taken word by word: a word is a qualifier only when it starts with the
// qualifier character, names no existing file or folder, and its name (up to "=") is a known
// qualifier of at least its minimum length, so absolute paths such as "/usr/share/x.txt" stay
// file specifications. A word that starts with the qualifier character, names nothing that
// exists and is spelled like a qualifier name (letters, digits, "_", "?") but is unknown, too
// short, disabled or repeated is reported as unrecognised. Every other word is a file
// specification or, ending in ".pol", the policy file. Values go into ctx.Commands; every
// message goes through Context::SessionMessage. Nothing here stops a run.

// Parses one command text (a steering-file line, or a whole command line). Returns 0 for a
// comment line (first character "!" or "#"), after reporting it; else 1. The text is consumed:
// on return it holds the file-specification words that were left, joined by blanks.
int ParseCommandLine(TextString& commandText, Context& ctx);

// Parses the program's arguments (without the program name), one word each; a word holding
// blanks reaches the input list between "<" and ">" so that it stays one name. Returns the
// number of rejected qualifier words (unrecognised, ambiguous, repeated or illegal, or with a
// missing value or end-quote), each reported; 0 when the command line was sound.
[[nodiscard]] int ParseCommandLine(Context& ctx, const std::vector<std::string>& args);

// Splits a command text into words at blanks and tabs; a run between double quotes or between
// "<" and ">" stays inside its word, blanks included. An unclosed quote or bracket runs to the
// end of the text.
void SplitCommandWords(const TextString& text, std::vector<TextString>& words);

// The qualifier that a typed name (qualifier character + name, no "=") stands for: the entry
// whose search form begins the name (ASCII case ignored) and of whose full form the name is a
// prefix. Disabled entries are skipped, except "?", HELP, HTML and LOG, which are always
// checked. Returns 1 and sets out when found, else 0.
[[nodiscard]] int FindQualifier(const Context& ctx, const TextString& typedName, Qualifier& out);

// Takes the value of one qualifier word "/NAME", "/NAME=value", "/NAME=<va lue>" or
// "/NAME=\"va lue\"" (the brackets and quotes are not part of the value; the value is trimmed).
// Reports "Missing value after ..." for "=" with nothing behind it and "Missing end-quote in
// qualifier value ..." for an unclosed bracket or quote (the value then runs to the end).
// Returns 1 when the word carried "=".
int GetQualifierValue(Context& ctx, const TextString& word, Qualifier q, TextString& value);

// Enables the qualifiers of this program and disables the others.
void SetProgramQualifiers(Context& ctx);

// The usage text, lines ending in "\n", for the qualifiers enabled in ctx.
void BuildUsageText(const Context& ctx, TextString& out);
// BuildUsageText printed to standard output.
void PrintUsage(const Context& ctx);
