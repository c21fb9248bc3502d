#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <typeinfo>

#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class AnalysisStatistics;
class Context;
class FileControl;
class LogErrorHandler;
class StatementFile;
struct LineContext;
struct PreformattedMeasure;
struct UrlWorkTexts;

// One logical input line on its way through the conversion: the statement with the
// renderings that analysis and output build, its geometry (indent and length), its flags word
// (LineFlag bits of text/StatementTypes.h), its pre-formatted mark, its positions in the
// source, its tagged type and the note that messages leave on it. The driver keeps a ring of
// these per pass; a slot is reset and refilled for every statement that enters it.
class PreHTML : public Statement {
 public:
  static constexpr int kSectionLevels = 6;
  static constexpr int kOwnedTexts = 4;
  static constexpr int kAnchorPositions = 6;
  static constexpr int kOutputMarks = 4;

  // An empty line (Reset in constructor mode).
  PreHTML();
  // The same, linked after previous (previous's next link becomes this line); the text of
  // previous is not copied.
  explicit PreHTML(Statement* previous);
  PreHTML(const PreHTML&) = delete;  // a window slot: identity, linked by address
  PreHTML& operator=(const PreHTML&) = delete;
  ~PreHTML() override;

  // ---- Virtual operations of the statement ----
  // True when the text has no lower-case letter; the four bytes of every "amp;" are skipped,
  // so the entity "&amp;" in an upper-case line does not count.
  bool HasNoLowerCase() const override;
  int MaxLineLength() const override { return 255; }
  // Sets the renderings and the geometry from the text just read (the raw copy stays the
  // line as read).
  void AfterRead(StatementFile& file, FileControl& fc, PolicyContext& ctx) override;
  // A line just read prepares itself (PrepareLine).
  void StripTrailingCR(FileControl& fc) override;
  // The next output segment: a roll-out line is one segment of its whole rest; otherwise the
  // width grows by the width offset + 15 when that offset is above 0; then as Statement.
  bool GetWrappedSegment(int width, int start, const char* blanks, const char* breakAfter,
                         const char* breakBefore, TextString& out, int* next,
                         int utf8) const override;

  // The break of Statement::FindBreakPosition; with respectMarkup, *insideTag (when given)
  // becomes 1 when a '<' between start and the break lies after the last '>' there (the
  // break falls inside a tag), else 0.
  void FindBreak(int start, int width, const char* blanks, const char* breakAfter,
                 const char* breakBefore, int* breakAt, int utf8, int respectMarkup,
                 int* insideTag) const;

  // ---- Life cycle ----
  // Statement reset (the text emptied unless fromConstructor), then: type 0, length and
  // indent -1, positions unset, tagged type -3, markup and tidy renderings emptied, width
  // offset, special format and pre-formatted kind 0, anchor positions -1, section numbers -1,
  // output marks 0, -1, 0, -1, the owned texts freed. The flags keep the driver's bits
  // (0x80000 up) and get kFlagIncluded; all others are cleared.
  void Reset(int fromConstructor);
  // The line as PreHTML() makes it (unlinked, every text and work text empty), its texts
  // keeping their room: a work line renewed for another use without an allocation.
  void Renew();
  // With a text: the text, the three renderings and the raw copy become it; the length is
  // the column after the last non-blank byte, the indent the number of leading blanks (0 for
  // a line without a non-blank byte). Null: all five emptied, indent and length 0.
  void SetText(const char* text);
  // Reset, then a copy of other's type, raw copy, first-word length, length, indent,
  // positions, tagged type, renderings, width offset, special format, flag bits 0x1-0x40000,
  // pre-formatted kind, anchor positions, output marks and deep copies of the note and the
  // owned texts. The text itself and the links are not copied.
  void CopyFrom(const PreHTML* other);
  // Stores a position that is set (an unset one is ignored); the start position also
  // becomes the current position of the pass's tracker.
  void SetStartPosition(FileControl& fc, const TextPosition& position);
  void SetEndPosition(FileControl& fc, const TextPosition& position);

  // ---- Analysis ----
  // Classifies the line once its successor has been read (defined in
  // analysis/LineAnalysis.cpp): its type, flags, pre-formatted mark and renderings, with the
  // neighbours it re-types, joins into or marks, the tracker and the statistics of the
  // analysis pass. Returns the line's type.
  int AnalyseLine(FileControl& fc, Context& ctx);
  // Adds the line to the statistics of the analysis pass (see the definition for the tables).
  // The end-of-file line is skipped. Returns 0.
  int AddToStatistics(FileControl& fc, AnalysisStatistics& statistics);
  // The column where a hanging line's text continues: the next line's indent when the next
  // line is untyped or a continuation (161, 216, 219, 231); else this line's indent plus the
  // column at which its second word starts; a line without a second word gives its indent.
  int GetHangingIndent() const;
  // Whether word (the line's word at wordIndex, 1-3) opens a heading: the type 101-106 of a
  // numbered heading, 151-156 of a contents-list entry, 111 + levelHint of an underlined one
  // (levelHint 0-3; -1 asks for a numbered heading), or 0. breakBefore is 0 when the line
  // follows running text without a paragraph break: a chapter there is no heading. The word
  // is trimmed in place; an accepted number becomes the line's section number and moves the
  // heading-number state on; a refused one may mark the line ambiguous. Defined with the
  // checks it runs in analysis/HeadingDetection.cpp.
  int TestHeadingCandidate(FileControl& fc, Context& ctx, TextString& word, int wordIndex,
                           int levelHint, int breakBefore);
  // The bullet type the line opens with (210-215), or 0. Needs "Look for bullets" and an
  // active bullet kind; outside the analysis pass a line indented more than 6 beyond the last
  // indent position is none. With the tracker's list permission: "- " (without "- -" in the
  // first 40 bytes), "o ", a middle dot (0xB7) and a blank, or a "Bullet point characters"
  // character and a blank; in the analysis pass also a one-byte first word that may be a
  // bullet character, when it is '-' or occurs once in a line with an ASCII letter or digit.
  // Otherwise the bullet word is classified (TidyBulletLine) as the expected kinds allow. In
  // the analysis pass the bullet characters and kinds found are counted in statistics.
  int DetectBullet(FileControl& fc, AnalysisStatistics& statistics);
  // How strongly the line looks pre-formatted, 0-9 (mode 0 for the line analysis, 1 for the
  // region analysis): from the roll-out line before it, the alignment of its blank runs with
  // previous (may be null), its bars, pluses, doubled rule characters and wide blank runs, its
  // indent and, with "Look for diagrams", a line of symbols under another. 0 for a line
  // longer than "Max length of candidate table lines", a user HTML line and the definition
  // tag lines (1035-1037). measure (may be null) takes what the score measured of the texts,
  // or hands it back when it was taken of this line against the same previous line.
  int PreformattedScore(FileControl& fc, const PreHTML* previous, int mode,
                        PreformattedMeasure* measure = nullptr) const;
  // Sets or clears the roll-out mark (kFlagRollOut). Setting it withdraws an emphasis phrase
  // that closes on this line (its markup on this line and on the line where it opens goes
  // back to the marks, with an INFO message at level 7) and makes a bullet continuation (216)
  // untyped.
  void SetRollOut(FileControl& fc, bool on);
  // The conversion step before analysis; acts only at the Context's line stage 1 and never
  // for plain-text output. HTML output converts Mac punctuation (not for the non-Latin-1
  // encodings); an output type outside 0-3 is reported; the analysis pass (or the Context's
  // request) converts terminal escape sequences; then, unless stopEarly while the policy
  // set's stop mark is set, the plain rendering takes the text (trimmed with trim) and the
  // first-word length is set.
  void ConvertLine(FileControl& fc, Context& ctx, int stopEarly, int trim);
  // Converts the terminal escape sequences of the text under the Context's escape state;
  // when anything was converted the text is set again (SetText). Messages about unknown
  // sequences are reported at level 10 outside the analysis and contents passes.
  void ConvertEscapeSequences(FileControl& fc, Context& ctx);

  // ---- Line preparation and tidying (analysis/LinePreparation.cpp) ----
  // A line just read: a final carriage return goes; a line longer than one byte that starts
  // with a form feed has every form feed replaced by the NEW_PAGE tag (a line of one form
  // feed keeps it); under a rule set the text is trimmed, the rule set's "<Table>",
  // "</Table>", "<Page>", "<S>" and "<C>" marks are removed, "<R>" and "</R>" become the
  // START_REDLINE and END_REDLINE tags, and a line left empty becomes null (-1).
  void PrepareLine(FileControl& fc);
  // The conversion stage of the line (the Context's line stage 1 only; else nothing): outside
  // the analysis and contents passes printer codes, DOS characters and quoted-printable
  // sequences are converted as the policies ask; outside the analysis pass Windows
  // punctuation (for Latin-1 encodings); then the text is escaped for the output format
  // (entities for HTML, RTF escapes for RTF) and marked escaped, and ConvertLine runs. A
  // previous record that is a heading or a bullet's blank line skips the punctuation and
  // ConvertLine. previous may be null.
  void TidyLine(const LineContext* previous, FileControl& fc, Context& ctx);
  // The text has been escaped for the output format (TidyLine or the output copy did it), so
  // it must not be escaped again. A reset clears the mark; CopyFrom copies it.
  bool IsTextEscaped() const { return textEscaped_; }
  void SetTextEscaped(bool escaped) { textEscaped_ = escaped; }

  // ---- Fragment conversion (analysis/TagExecution.cpp) ----
  // The output conversions of a piece of text held in this object (a line's output copy, a
  // table cell, a pre-formatted line), only at the Context's line stage 3 in the output pass
  // and never for plain-text output: word conversions (links), section cross-references,
  // emphasis, emphasis pairs pending on referenceLine (the document line the text comes
  // from; may be null), the link dictionary, then a trim. A rule set, or a text that is no
  // untagged line, switches off the later steps. An RTF text ending "}}}" gets a blank.
  void ConvertFragment(FileControl& fc, Context& ctx, PreHTML* referenceLine,
                       bool wordConversions, bool references, bool emphasis,
                       bool restoreEmphasis, bool linkDictionary, bool trim);
  // Links the phrases of the link dictionary in the text (at line stage 3, when the
  // dictionary has entries), outside markup; a line that changed gets kFlagUrl.
  void ApplyLinkDictionary(FileControl& fc, Context& ctx);
  // The review of the lines around a roll-out line in the output pass: a rule line above it
  // (with an untyped line above that and a blank one above that) joins the roll-out block,
  // and the lines between a mail-header roll-out line and the mail header up to four lines
  // above it become part of the header block.
  void ReviewRollOutLine(FileControl& fc, Context& ctx);

  // ---- Word conversions of the output pass (analysis/UrlWords.cpp) ----
  // Walks the line's words and rewrites in place those that are addresses as links in the
  // Context's output format (never plain text, never outside the output pass). Words are
  // split at blanks with blanksOnly (only web addresses are then looked for), else also at
  // ",", ";", "<", ">", "&lt;" and "&gt;". In-line tags, anchors and RTF fields are left
  // alone, and so is text between "<" and ">" in HTML output with skipAngleText. Each link
  // made is reported ("URL: ") and its target kept in the Context's LinksFound.
  void DoOutputWordConversions(FileControl& fc, Context& ctx, int blanksOnly, int skipAngleText);
  // The detectors run on the word object, whose text is the word. Each does nothing (and
  // gives kUrlNone) when converted is already 1. On success converted becomes 1, rewritten
  // the word with the link markup in place of its link text (punctuation around it stays
  // outside), target the link target, and the UrlType is returned; a refused word gives 0 or
  // one of the refused types (12-17) and leaves rewritten and target alone.
  int TidyHTTPWord(FileControl& fc, int& converted, TextString& rewritten, Statement& target);
  int TidyEmailWord(FileControl& fc, int& converted, TextString& rewritten, Statement& target);
  // refusedText receives the text a refused news-group-like word would have linked (17).
  int TidyUSENETWord(FileControl& fc, int& converted, TextString& rewritten, Statement& target,
                     TextString& refusedText);
  // A word typed with backspace overstrike: "_", backspace, letter (or letter, backspace,
  // "_") underlined under "Look for underlined text"; letter, backspace, same letter bold.
  // rewritten receives the plain letters, with the format's markup when addMarkup is set.
  void TidyUnixWord(FileControl& fc, int& converted, TextString& rewritten, int addMarkup);
  // The INFO message for a word a detector looked at and refused (and for a dotted name
  // taken as a file-transfer site); quiet silences the refused "www." words.
  void ReportUrlDecision(FileControl& fc, Context& ctx, int& urlType, int quiet,
                         const TextString& word);
  // The length of the link text of the last conversion on this word object.
  int GetLinkLength() const;

  // ---- Section-number cross-references (analysis/SectionReferences.cpp) ----
  // With "Expect Numbered Headings" on, in the output pass: each section number written in
  // the line (such as "3.2.1") that names a heading of the document becomes a link to it;
  // one that names none is reported ("WARNING: Can't find section for possible hyperlink ").
  // Returns the number of links made.
  int ConvertReferences(FileControl& fc, Context& ctx);

  // ---- Messages ----
  // Reports a message raised on this line through ReportLineMessageTo with the Context's
  // handler, its list file (notes are kept while one is open), its pass flags and the line
  // of the current pass's tracker.
  void ReportLineMessage(Context& ctx, const char* text, int level) override;
  // The line message road with its parts given: a text that the handler suppresses is
  // dropped; with keepNotes, "*** " and the text are added to the line's note (on a new note
  // line after an existing note); in the output pass (neither analysis nor contents pass),
  // "Line <lineNumber> - <text>" goes to the handler's Report at level.
  void ReportLineMessageTo(LogErrorHandler& handler, int keepNotes, int analysisOrContentsPass,
                           int lineNumber, const char* text, int level);
  // The line number of messages, the one the list file shows: a position holds (block, line
  // within the block), so this is the line within the block of the start position when that
  // is set, else the line after the one of trackerPosition (the last statement counted).
  int MessageLineNumber(const TextPosition& trackerPosition) const;

  // ---- Fields ----
  int GetSpecialFormat() const { return specialFormat_; }
  void SetSpecialFormat(int code) { specialFormat_ = code; }
  unsigned GetFlags() const { return flags_; }
  // flag is one LineFlag or a mask of several: true when any of them is set.
  bool HasFlag(unsigned flag) const { return (flags_ & flag) != 0; }
  void SetFlag(unsigned flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }
  // The column after the last non-blank byte; -1 unset.
  int GetLineLength() const { return lineLength_; }
  void SetLineLength(int length) { lineLength_ = length; }
  // Leading blanks; -1 unset.
  int GetIndent() const { return indent_; }
  void SetIndent(int indent) { indent_ = indent; }
  // Extra width granted to the line's wrapped output.
  int GetWidthOffset() const { return widthOffset_; }
  void SetWidthOffset(int offset) { widthOffset_ = offset; }
  // 0 not pre-formatted; else the strength or kind of the mark (7 mail header, 10 code or
  // mixed rule line); above 5 the list file shows '+'.
  int GetPreformattedKind() const { return preformattedKind_; }
  void SetPreformattedKind(int kind) { preformattedKind_ = kind; }
  // The text with its in-line tags, searched for tags.
  TextString& GetMarkup() { return markup_; }
  const TextString& GetMarkup() const { return markup_; }
  // Used for measurements, change bars, quoted text and key phrases.
  TextString& GetTidy() { return tidy_; }
  const TextString& GetTidy() const { return tidy_; }
  // Used for titles, definitions and code detection.
  TextString& GetPlain() { return plain_; }
  const TextString& GetPlain() const { return plain_; }
  // Anchor and link positions of the output stage (index 0-5), -1 unset.
  // An index out of range reads -1 (null for texts) and changes nothing.
  int GetAnchorPosition(int i) const { return At(anchorPositions_, i); }
  void SetAnchorPosition(int i, int value) { Put(anchorPositions_, i, value); }
  const TextPosition& GetStartPosition() const { return start_; }
  const TextPosition& GetEndPosition() const { return end_; }
  // The StatementType of the directive or tag that produced the line; kTagNone otherwise.
  int GetTaggedType() const { return taggedType_; }
  void SetTaggedType(int type) { taggedType_ = type; }
  // The texts the output stage attaches to the line (index 0-3); null when absent.
  const TextString* pGetOwnedText(int i) const {
    return InRange(i, kOwnedTexts) ? ownedTexts_[static_cast<std::size_t>(i)].get() : nullptr;
  }
  void SetOwnedText(int i, const TextString& text);
  // Output-stage positions (index 0-3): 0, -1, 0, -1 after a reset.
  int GetOutputMark(int i) const { return At(outputMarks_, i); }
  void SetOutputMark(int i, int value) { Put(outputMarks_, i, value); }
  // Section numbers of a heading word, levels 1-6 (index 0-5), -1 for a field that is not
  // numeric; with the depth (0 for "3", 1 for "3.2", up to 5) and the separator.
  int GetSectionNumber(int i) const { return At(sectionNumbers_, i); }
  void SetSectionNumber(int i, int value) { Put(sectionNumbers_, i, value); }
  int GetSectionDepth() const { return sectionDepth_; }
  void SetSectionDepth(int depth) { sectionDepth_ = depth; }
  char GetSectionSeparator() const { return sectionSeparator_; }
  void SetSectionSeparator(char c) { sectionSeparator_ = c; }
  // The note the list file writes for this line; null when there is none.
  const TextString* pGetNote() const { return note_.get(); }
  // Hands the note over (the list file writes and frees it).
  std::unique_ptr<TextString> TakeNote() { return std::move(note_); }
  // Appends text to the note on a line of its own (the note is made when there is none).
  void AppendNote(const char* text);

  // ---- Work texts of the line analysis (analysis/LineAnalysis.cpp) ----
  // Kept with the line object, so that analysing a line allocates nothing once a slot's
  // texts have grown to the lines it holds.
  struct AnalysisWork {
    TextString headingMarker;  // start tag delimiter + "HEADING", built on first use
    TextString leftTrimmed;    // the text without its leading blanks
    TextString firstWord;      // the words of the left-trimmed text
    TextString secondWord;
    TextString thirdWord;
    int secondWordColumn = -1;  // where they start in the left-trimmed text; -1 none
    int thirdWordColumn = -1;
    TextString headingWord;    // the word the heading test trims
    TextString headerName;     // the text before the colon of a mail-header candidate
    TextString scratch;        // a copy a step edits
    TextString keyPhraseSource;  // "Heading key phrases" as last parsed, and its arguments
    TextString keyPhrases;
    TextString keyPhraseField;
    Statement embeddedHeading;
  };
  AnalysisWork& GetAnalysisWork() { return analysisWork_; }

 private:
  static bool InRange(int i, int count) { return i >= 0 && i < count; }
  template <std::size_t N>
  static int At(const std::array<int, N>& values, int i) {
    return InRange(i, static_cast<int>(N)) ? values[static_cast<std::size_t>(i)] : -1;
  }
  template <std::size_t N>
  static void Put(std::array<int, N>& values, int i, int value) {
    if (InRange(i, static_cast<int>(N)))
      values[static_cast<std::size_t>(i)] = value;
  }
  // Renderings and geometry from the text as it stands.
  void TakeTextAsRenderings();
  // Length and indent from the text as it stands.
  void TakeGeometry();

  int specialFormat_ = 0;
  unsigned flags_ = 0;
  int lineLength_ = -1;
  int indent_ = -1;
  int widthOffset_ = 0;
  int preformattedKind_ = 0;
  TextString markup_;
  TextString tidy_;
  TextString plain_;
  std::array<int, kAnchorPositions> anchorPositions_{};
  TextPosition start_;
  TextPosition end_;
  int taggedType_ = kTagNone;
  std::unique_ptr<TextString> note_;
  std::array<std::unique_ptr<TextString>, kOwnedTexts> ownedTexts_;
  std::array<int, kOutputMarks> outputMarks_{};
  std::array<int, kSectionLevels> sectionNumbers_{};
  int sectionDepth_ = 0;
  char sectionSeparator_ = '\0';
  bool textEscaped_ = false;

  AnalysisWork analysisWork_;

  // Work texts.
  TextString messageText_;     // a line message being shown
  TextString escapeMessages_;  // what the escape conversion could not read
  TextString tagWork_;         // a built tag, a tag's replacement, a split line's head
  TextString tagRest_;         // the rest of a split line
  TextString linkWork_;        // a linked text

  // The word conversions' work texts, made on first use (only the word object needs them).
  friend PreHTML& WordObjectOf(Context& ctx);
  UrlWorkTexts& UrlWork();
  std::unique_ptr<UrlWorkTexts> urlWork_;
};

// The line object behind a statement link, or null when there is none or it is another kind
// of statement. The window links line objects, so the exact type is tried first: it costs a
// comparison where the general cast walks the class hierarchy, and the lines above are looked
// up many times for every line.
inline PreHTML* AsLine(Statement* statement) {
  if (statement == nullptr)
    return nullptr;
  if (typeid(*statement) == typeid(PreHTML))
    return static_cast<PreHTML*>(statement);
  return dynamic_cast<PreHTML*>(statement);
}

inline const PreHTML* AsLine(const Statement* statement) {
  if (statement == nullptr)
    return nullptr;
  if (typeid(*statement) == typeid(PreHTML))
    return static_cast<const PreHTML*>(statement);
  return dynamic_cast<const PreHTML*>(statement);
}
