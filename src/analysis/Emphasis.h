#pragma once

#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;

// Plain-text emphasis turned into output markup: a word or phrase between "*" marks is bold,
// between "_" marks italic, between "*_" and "_*" (or "_*" and "*_") bold italic; a single
// word that starts and ends with "_" and holds more than two "_" is underlined with its "_"
// turned into blanks. In-line tags, HTML anchors and RTF fields (analysis/ProtectedSpans.h)
// are never searched for marks.

// The kinds of markup, each with its opening and closing text per output format.
enum class EmphasisKind : int {
  BoldItalicWord,
  BoldItalicPhrase,
  BoldWord,
  BoldPhrase,
  Italic,
  Underline,
};

// The opening and closing markup of kind for the output format of fc's Context (RTF without
// one): HTML as "Use <EM> and <STRONG> markup" asks (phrases in the policy set's bold texts),
// RTF groups such as "{\b " ... "\b0}", nothing for output with the markers dropped. False
// (both emptied) for plain-text output and any other format.
bool GetEmphasisMarkup(const FileControl& fc, EmphasisKind kind, TextString& opening,
                       TextString& closing);

// One word. Nothing when changed is already set, for a word of two bytes or fewer, with "Look
// for *this* and _that_ emphasis" off, or inside a contents list. One leading and one
// trailing quote (double or single) stay outside the markup. Otherwise, on the word within
// them: "*_word_*" (7 bytes at least, a "_" before any "*" after the opening pair; likewise
// "_*word*_") is bold italic; "*word*" with exactly two "*" in the whole word bold; "_word_"
// (4 bytes at least, neither its second nor its second-to-last byte "_") with more than two
// "_" underlined with each "_" a blank (trimmed), with exactly two italic. A marked word sets
// changed to 1 and out to its marked form. An unsupported output format is reported
// ("UNSUPPORTED CASE: Output Format in TidyEmphasisWord (<n>)", level 10; n 1 bold italic,
// 2 bold, 3 underline, 4 italic) and counts as changed with out the word as it was.
void TidyEmphasisWord(FileControl& fc, TextString& word, int& changed, TextString& out);

// Marks up the emphasis of line in place; lineObject is the document line it belongs to (null
// for a text that is no line of the window: phrases then never reach back to earlier lines).
// Acts only during a pass, and not in the analysis pass inside a tagged user table. With more
// than one "*" or more than one "_" every word (separated by tab, blank, ",", ";", "<", ">",
// "&lt;" and "&gt;") goes through TidyEmphasisWord; then, with "Look for *this* and _that_
// emphasis" on, ApplyEmphasisPair runs for bold italic ("*_" "_*", then "_*" "*_"; only when
// the line holds both marks), italic ("_") and bold ("*"). An unsupported output format is
// reported as "UNSUPPORTED CASE: Output Format in TidyEmphasisLine (<n>)" (level 10; n 1 and
// 2 the bold-italic orders, 3 italic, 4 bold).
void TidyEmphasisLine(FileControl& fc, Context& ctx, TextString& line, PreHTML* lineObject);

// One kind of pair over line (case-sensitive). A start mark stands at the line's start or
// after a blank, '"', '\'', '(', ',', '-', '<', '[', '{', 0xA1 or 0xBF, and is not followed by
// '$', '*' or '_'; an end mark ends the line or is followed by a tab, blank or one of
// ! " ' ) , - . : ; > ? ] }, and does not follow '$', '*' or '_'. A start is closed by the
// next end of the line: the marks become opening and closing markup unless the trimmed text
// between is empty, or holds markup already ("INFO: Ignoring potential emphasis phrase because
// it contains other markup", level 7). An end without a start on its line looks back through
// at most 20 earlier lines of lineObject's window that are untyped, blank or new paragraphs
// and not rolled out: a line holding a phrase start already is passed over, a line holding
// markup is searched after its last '>' (HTML) or '}' (RTF) only and ends the search, and so
// does a blank line. The last start mark found there opens the phrase: both lines record their
// part (analysis/EmphasisMarks.h), the closing markup goes into line and the earlier line's
// text is left as it is (its opening markup is put in from the record when it is written).
// An end mark of lineObject whose pair is recorded already is left for that record; a line's
// earlier record is replaced with "WARNING: Overlapping emphasis discarded" (level 10). Refusals are INFO messages: no start found
// (level 1), a start on a blank line (7), the closing line rolled out (7), an end mark that is
// not a valid end (1).
void ApplyEmphasisPair(FileControl& fc, const char* startMark, const char* endMark,
                       const TextString& opening, const TextString& closing, TextString& line,
                       PreHTML* lineObject);
