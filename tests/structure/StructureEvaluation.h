#pragma once

#include <string>
#include <string_view>
#include <vector>

// The structure of a plain-text document as its author laid it out, and the structure a word
// processor finds in the document converted from it: the numbered section headings against
// the heading paragraphs, the contents list against the paragraphs that begin its entries.
//
// Texts are compared as keys: the runs of ASCII letters and digits, lower-cased and joined by
// single blanks. Blanks, punctuation and characters outside ASCII then cannot decide a match
// ("1.1  Purpose" and "1.1 Purpose" have the key "1 1 purpose"), while every word and number
// still has to be there, in order.
std::string Key(std::string_view text);

// A numbered section heading of the input: a line at column 0 that begins with a section
// number ("3", "3.", "3.1", "3.1.2.", "1.0") or an appendix label ("Appendix A.", "A.",
// "A.1.", "APPENDIX B:"; a bare "A." only on a line of its own, since "J. Postel" heads an
// address) followed by a title that begins with a capital letter or a digit (or with any
// letter when the line stands alone between blank lines, as "3.2.2 http URL" does), after a
// blank line or the top of a page, and without the wide gaps of a table row or a running
// header inside the title. A title of three words or more followed by a wide gap and the
// section's first sentence is the heading ("6.4.1. The contents of inverse queries and
// responses          Inverse"). Lines of the contents list never count.
//
// The contents list is found from its title line ("Table of Contents", "Contents") down to
// the first line that is no entry (see ReadInputStructure), and lines with a dot leader
// before a page number are entries wherever they stand: so a contents entry, which repeats
// a heading with its page number, never enters the reference, and the body's headings after
// the list do.
struct ReferenceHeading {
  int line = 0;        // 1-based line number in the input
  int level = 0;       // depth of the number: "3" 1, "3.1" 2, "A.1" 2; trailing ".0" adds none
  std::string text;    // the line as written, blanks trimmed
  std::string key;     // Key(text)
};

// An entry of the input's contents list: a line of the list that ends in a page number, or
// the first line of an entry that runs over several lines.
struct ContentsEntry {
  int line = 0;
  std::string text;      // the line as written, blanks trimmed
  std::string key;       // Key of the entry without its dot leader and page number
  std::string pageKey;   // Key of the page number; empty for the first line of a long entry
};

// What the structure evaluation reads of an input document.
struct InputStructure {
  std::vector<ReferenceHeading> headings;
  std::vector<ContentsEntry> contents;
  // Keys of the input lines that a reader would accept as headings though they are not in
  // the reference, each after a blank line and made of words and title punctuation only:
  // unnumbered titles at column 0 alone on their line ("Abstract", "Status of This Memo"),
  // numbered titles set in from the margin alone on their line, underlined titles, centred
  // titles, short titles set in from the margin alone on their line over text set in further
  // (the sub-headings of a section indented under it) and the contents list's own title. A heading paragraph that begins with one of
  // these is not counted as false.
  std::vector<std::string> headingLikeKeys;
};

// Reads the structure of a plain-text document (CR LF or LF line ends, form feeds between
// pages, tabs every eight columns). Running headers and footers count as blank lines: lines
// ending in "[Page N]", "RFC 2616   HTTP/1.1   June 1999" and "- i -" lines with wide gaps,
// and the lines that open a page after a form feed up to its first blank line.
InputStructure ReadInputStructure(std::string_view text);

// A paragraph of a document as LibreOffice holds it (read from its flat OpenDocument text).
struct OutputParagraph {
  std::string key;               // Key of the paragraph's text
  int styleLevel = 0;            // N of a "Heading N" paragraph style (directly or as parent)
  int outlineLevel = 0;          // the outline level LibreOffice gives the paragraph; 0: none
  std::vector<std::size_t> lineStarts;  // offsets in key where a line break starts a line
  bool IsHeading() const { return styleLevel > 0 || outlineLevel > 0; }
  int Level() const { return outlineLevel > 0 ? outlineLevel : styleLevel; }
};

// The paragraphs (text:p and text:h elements) of a flat OpenDocument text in document order,
// table cells included.
std::vector<OutputParagraph> ReadOutputParagraphs(std::string_view fodt);

// What a heading paragraph is to the evaluation.
enum class HeadingKind : char { Reference = 'R', Other = 'O', False = 'F' };

// The evaluation of one document.
struct StructureScore {
  int references = 0;       // numbered section headings of the input
  int foundAtLevel = 0;     // found as heading paragraphs at the level of their depth (6
                            // for deeper ones)
  int wrongLevel = 0;       // found as heading paragraphs at another level
  int missing = 0;          // not found as heading paragraphs
  int headingParagraphs = 0;
  int withoutOutline = 0;   // heading paragraphs that LibreOffice gives no outline level
  int otherHeadings = 0;    // heading paragraphs that begin a heading-like line of the input
  int falseHeadings = 0;    // heading paragraphs that are neither
  int contentsEntries = 0;
  int contentsOnOwnLine = 0;  // entries that begin a paragraph or a line of one
  std::vector<std::string> missingTexts;     // the first few of each, for the report
  std::vector<std::string> wrongLevelTexts;
  std::vector<std::string> falseTexts;
  std::vector<std::string> mergedContentsTexts;
  std::vector<std::string> withoutOutlineTexts;
  std::vector<HeadingKind> headingKinds;  // per heading paragraph, in order
};

// Matches the input's reference headings to the heading paragraphs in order (a heading
// paragraph matches when its key begins with the heading's key and does not go on with a
// bare number, as a contents entry's page number would), classifies the heading paragraphs
// left over and looks for each contents entry at the start of a paragraph or line.
StructureScore ScoreStructure(const InputStructure& input,
                              const std::vector<OutputParagraph>& output);
