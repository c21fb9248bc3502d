#pragma once

#include "text/TextString.h"

class FileControl;
class RTFFile;
class TextPosition;

// The Windows Help side of an RTF document: the project (".hpj") and contents (".cnt") files
// the help compiler reads beside it, and the footnotes that make each heading a help topic.
// Topic identifiers are the heading link names made into identifiers (MakeHelpTopicId).

// Writes folder + base + ".hpj" for the RTF file outputName: options with the help file's
// title, copyright and citation notices ("Help file copyright notice", "Help file citation",
// left out when empty), the RTF file, the aliases, the resource file of "WinHelp Resource
// File" (when given), the main window in the colours of "Help title background colour" and
// "Help body background colour" (an empty or unreadable colour is white) and the browse
// buttons. Returns 1 when written; 0 after "ERROR: Can't open file \"<name>\"" (level 10)
// when the file cannot be opened.
[[nodiscard]] int WriteHelpProjectFile(FileControl& fc, const TextString& outputName);

// Writes folder + base + ".cnt" for the RTF file outputName: the help file and title lines,
// then one line per entry in document order. Entries are the HELP_CHAPTER and HELP_SUBJECT
// tags of the document (fields: level, title, identifier) and every heading of the heading
// list, at its level counted from the document's top heading level. Without such tags a
// heading followed by a deeper one becomes a chapter (a book) instead of a topic line. A title
// holding a comma or a double quote is quoted. Returns 1 when written; 0 after "ERROR: Can't
// open file \"<name>\"" (level 10), or when the policy set has no Context.
[[nodiscard]] int WriteHelpContentsFile(FileControl& fc, const TextString& outputName);

// Written through writer ahead of a heading of headingType whose text is text, standing at
// position (unset: the current tracker position one column on): the bookmark pair named by
// the heading's link name and, with "Make Windows Help source file" on, its "$" title, "K"
// keyword (the HELP_TOPIC_KEYWORDS tags up to the next heading, else the text) and "+"
// browse-sequence footnotes. A heading found in the heading list is written once; one not
// found is reported ("WARNING: Failed to match heading with known entry \"<text>\"", level 10)
// and named after its cleaned text.
void WriteHeadingFootnotes(FileControl& fc, RTFFile& writer, int headingType,
                           const TextPosition& position, const TextString& text);

// With "Make Windows Help source file" on, appends to out the "#" footnotes of a heading of
// headingType and text heading standing at position: its own topic identifier ("ID_" and the
// heading's link name made into an identifier) and one per HELP_TOPIC_ID tag up to the next
// heading ("TAG ERROR: Pailed to parse HELP_TOPIC_ID tag", level 10, for one without a value).
void WriteTopicIdFootnotes(FileControl& fc, TextString& out, int headingType,
                           const TextString& heading, const TextPosition& position);
