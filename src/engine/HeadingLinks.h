#pragma once

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;
struct HeadingEntry;

// Names that headings and split files get: the link name (bookmark) of a heading, the name
// of the output file that starts at a heading or page break, the file a FILENAME or NEWFILE
// tag asks for, and the heading that a line of the document's own contents list names.

// Cleans a section-number word in place: one leading "(", "[" or "{" dropped; cut before the
// first ")", then "]", then "}"; one trailing ")", ".", ":", "]" or "}" dropped; then a last
// "-" or "." (of two or more characters) or else a final ".0" (of more than two) dropped.
// "(3)" gives "3", "1.2." "1.2", "2.0" "2", "4.1:" "4.1".
void TidySectionNumber(TextString& text);

// The link name of a heading of the given type. Empty for the end of file (-5), a form feed
// (2), a new page (1032) or an empty text. Blank runs become one, " -=*" are trimmed from both
// ends; a mail header (250) keeps its first line; the entities of underlined, capitalised,
// embedded, key-phrase and mail headings become 8-bit characters ("#" for those without one);
// a text of more than 60 characters becomes its first 30, "__" and its ShortenName form.
// Numbered (101-106) and contents (151-156) headings give "Section_" and the tidied number
// word: word 1, or with prefixCheck on a level whose headings carry prefix words, the first of
// words 2 and 3 that reads as a section number (word 2 when neither does). Other heading types
// give the prepared text; any other type is reported (UNSUPPORTED CASE, level 10) and named
// from word 1 like a numbered heading.
void GetHeadingLinkName(const TextString& text, int type, FileControl& fc, Context& ctx,
                        int prefixCheck, TextString& linkName);

// GetHeadingLinkName of an entry's heading text and kind; empty without an entry.
void GetHeadingEntryLinkName(const HeadingEntry* entry, FileControl& fc, Context& ctx,
                             int prefixCheck, TextString& linkName);

// The file names a FILENAME or NEWFILE tag near the current line asks for: the accepted tag's
// folder, base name and extension, or, when none is accepted, those of the tag before the line.
struct TaggedFileDetails {
  TextString folder;
  TextString baseName;
  TextString extension;
  TextString secondFolder;
  TextString secondBaseName;
  TextString secondExtension;
};

// Fills details (emptied first) from the FILENAME or NEWFILE tag nearest to the current line
// of the contents pass: the later of the last tags at or before the line (FILENAME on the
// same line), or the earlier of the first tags at or after it (NEWFILE on the same line),
// whichever is nearer (the one before on equal distance). A tag in another block or more
// than 9 lines away is not taken ("Nearest FILENAME tag too far away" in the message text);
// one whose value does not parse is reported ("TAG ERROR: Pailed to parse FILENAME tag",
// level 10); a value equal to the last one read is not taken again. When none is taken, the
// tag before the line names the second parts; when there is none but a tag was found,
// "INFO: Failed to get filename from FILENAME tag" is reported (level 7). Outside the contents
// pass only the program error is put into the message text.
void GetTaggedFileDetails(FileControl& fc, TaggedFileDetails& details);

// The base name and extension of the output file that starts at a heading (entry, may be
// null) of the given type, or at a page break (2, 1032). A tagged file name wins. Otherwise
// the stem is the tag's second base name or the document's output base name: a page break
// gives stem_N, an underlined, capitalised, embedded, key-phrase or mail heading stem_N with
// "Use numbered sequence in file names", else stem_ and up to four of its words (lower case,
// made safe), or stem_UN when the list of split files holds that name already (reported,
// level 7, for HTML and text output only) or there is no entry; N is the Context's split-file
// counter, raised by each of these. Any other type gives the stem with "_" and the cleaned
// section number (word 1, or word 2 after prefix words or a CHAPTER, SECTION or SUBJECT word)
// when the document is split, cut at "Split level". "Use DOS filenames" shortens the name.
void MakeSplitFileName(const HeadingEntry* entry, int type, FileControl& fc, Context& ctx,
                       TextString& baseName, TextString& extension);

// The heading a line of the document's contents list names.
struct ContentsMatch {
  TextString linkName;
  TextString fileName;  // the output file the heading is written to
  HeadingEntry* entry = nullptr;
};

// True when the contents line text (of line type type) names a known heading: the heading
// list is searched for its normalised text, and again with the raw text when several match;
// failing that, a numbered heading of the same kind with the same section number, or for an
// underlined level-1 line one with the same normalised text. With usePosition an unset
// position is first given the current line's. On failure "WARNING: Failed to match heading"
// and the text in double quotes are left in the message text for the caller.
bool MatchContentsLine(const TextString& text, int type, FileControl& fc, Context& ctx,
                       int usePosition, TextPosition& position, ContentsMatch& match);
