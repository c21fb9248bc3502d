#pragma once

#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;
struct HeadingEntry;

// In-line output tags: tags between the start and end tag delimiters that insert document
// data into a text (page links, rule attributes, document information, boxed header lines),
// and the small services that headings, help topics and sizes share.

// Expands the output tags of text: each tag (start delimiter to end delimiter) is handed to
// ExpandOutputTag; after an expansion the scan looks again at the same place (the result may
// hold tags itself), else it moves one byte on. A place expanded more than a few times in a
// row is passed, so a tag whose result holds itself ends. Unless keepProtected, every "[-[-"
// then becomes "[[" and every "-]-]" "]]". line (may be null) is the line the text belongs
// to: messages go on it.
void ExpandInlineTags(FileControl& fc, Context& ctx, PreHTML* line, TextString& text,
                      int keepProtected);

// Expands one tag (its whole text, delimiters included) at its first occurrence in text.
// The tag's first word is its name, the second its sub-type: page links (PREV_PAGE,
// CURRENT_PAGE, NEXT_PAGE, CONTENTS_TOP, CONTENTS_NEXT_SECTION), rule attributes (RULEWIDTH,
// RULEWIDTHPC, RULEHEIGHT, RULEALIGN), NOFRAMES_URL, the tags the in-line tag interpreter
// expands (LINERULE, TIMESTAMP, VERSION, VARIABLE, SOURCE_FILE), OUTPUT (kept as a tag in the
// "[-[-" ... "-]-]" form), DATA and TEXT_HEADER. Names are compared ignoring case. 1 when
// the tag was replaced, 0 when it is none of these or the interpreter left it.
int ExpandOutputTag(FileControl& fc, Context& ctx, PreHTML* line, TextString& text,
                    const TextString& tag);

// The links between the output files of a split document. fileIndex is the current file's
// place in the Context's list of split files; when it is below 0 the file is looked up by
// fileName ("PROGRAM ERROR: Can't locate file \"<name>\" in file list", level 10, when it is
// missing). previous, current and next are the neighbouring names (empty beyond the ends);
// contentsTop the external contents file with "Generate external contents file" on, else the
// first file, and empty when that is the current file. An empty name falls back to the
// current one (fileName when the list gives none); every name then gets the policy set's link
// suffix. contentsNext is the contents top, "#TOC_" and heading's link name, when heading has
// one (else the contents top).
void GetPageLinks(FileControl& fc, Context& ctx, const TextString& fileName,
                  const HeadingEntry* heading, int& fileIndex, TextString& previous,
                  TextString& current, TextString& next, TextString& contentsTop,
                  TextString& contentsNext);

// The heading that a link text names (the contents-to-heading matching, with position as the
// place of the link and type the kind of heading looked for): the entry, with its line type
// in headingType and its link name in anchorName; null (headingType 0, anchorName empty)
// when none matches.
const HeadingEntry* FindLinkedHeading(FileControl& fc, Context& ctx, const TextString& linkText,
                                      const TextPosition& position, int type, int& headingType,
                                      TextString& anchorName);

// Markup removed from text in place (from "<" to the next ">"); with decode "&nbsp;" becomes
// a blank and "&amp;", "&lt;", "&gt;" "&", "<", ">"; trimmed; with collapse blank runs
// become one.
void MakePlainText(TextString& text, int decode, int collapse);

// A heading text made fit for a help topic title: HTML output turns "&nbsp;" into a blank
// and "<" and ">" into "_"; other output turns "{" and "}" into "_"; then markup is removed,
// blank runs collapsed and the text trimmed.
void CleanHelpTopicText(const Context& ctx, TextString& text);

// Twips to whole points, rounded: 0 for twips <= 0, else (twips + 10) / 20.
int TwipsToPoints(int twips);
