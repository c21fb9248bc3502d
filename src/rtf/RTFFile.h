#pragma once

#include <memory>

#include "analysis/LineContext.h"
#include "rtf/OutFile.h"
#include "rtf/RegionWriter.h"
#include "tags/TagInterpreter.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;
class TextPosition;

// The lines around the statement being written.
struct LineContexts {
  LineContext lastReal;  // the last line with a real line type
  LineContext lastNonBlank;
  LineContext nextNonBlank;
  LineContext previous;
  LineContext current;
  LineContext next;
};

// The RTF document of one conversion: every byte of the document passes through it. It
// prepares each line's characters (KOI8-R recoding, escapes of bytes above 127, code page 437
// box drawing and UTF-8 characters as Unicode escapes), collects the output of the RTF pass
// (the Context's RtfPass) and writes it in batches of just over 1024 characters, and keeps the
// balance of RTF group braces across the whole document, repairing it where it breaks.
//
// The conversion also reads its input and writes its list files through objects of this class;
// those never open a document, so none of the above applies to them.
//
// Every writing operation takes the policy set of the conversion and the file to write to; the
// file is this writer (or null). Messages go through the policy set.
class RTFFile : public OutFile, public TagOutput {
 public:
  static constexpr int kWrapWidth = 80;
  // The buffer is written out before a line is added once it holds more than this.
  static constexpr int kFlushThreshold = 1024;
  static constexpr int kIndentStep = 360;  // twips per indentation level

  explicit RTFFile(Context& ctx);
  RTFFile(const RTFFile&) = delete;  // owns an open file and a document's state
  RTFFile& operator=(const RTFFile&) = delete;
  ~RTFFile() override;

  // What makes the writer's pre-formatted regions (rtf/RegionWriter.h); the per-file driver
  // gives it before the output pass.
  void SetRegionMaker(RegionMaker maker) { regionMaker_ = maker; }

  // ---- Naming and opening ----
  // The output file name for baseName (a path; its extension, if any, is replaced): the
  // folder of the output-name pattern of the command line, else "Output directory", else the
  // folder of baseName; then the pattern's base name, else baseName less its folder, keeping
  // the sub-folders below the deeper of "Input directory" and that output folder when one
  // holds it; then the pattern's extension, else ".rtf". Pattern parts "[*]" (folder), "*"
  // (base name) and ".*" (extension) count as absent. Returns 1; 0 for an empty name.
  [[nodiscard]] int MakeFileName(const TextString& baseName, FileControl& fc,
                                 TextString& out) override;
  // Ends previous (when given), closes what this writer had open, makes the file name,
  // reports "Generating RTF file " + name (unless the output goes to a line list), records
  // it in the Context (the current name without its folder, the run's first name whole),
  // opens the file (the standard output with console) and writes the prologue. The document
  // state starts afresh: brace level 0, body style at level 0.
  // 0 after reporting "ERROR: Can't open file "name"" when the file cannot be opened.
  [[nodiscard]] int OpenFile(const char* baseName, FileControl& fc, int ignored,
                             RTFFile* previous, int console) override;

  // ---- Writing ----
  // Everything of the document before its first paragraph: header, font table, colour table,
  // style sheet, document information, page set-up, list levels and the opening of the first
  // body paragraph, each piece one line through WriteRaw. It leaves three groups open: the
  // document and the first paragraph's two.
  void WritePrologue(FileControl& fc);
  // One line of the document, its characters prepared: KOI8-R text (a "koi8-r" "Character
  // encoding") recoded to Windows-1251; with "Input file contains DOS characters" on and
  // "Attempt TABLE generation" off, box drawing as Unicode escapes; UTF-8 input as Unicode
  // escapes; otherwise, with "Input file contains Japanese characters" on or a "Character
  // encoding" other than "", "ascii" and "iso-8859-1", every byte above 127 as a hex escape.
  // During the RTF pass the line joins the buffer (which is written out first when it holds
  // more than kFlushThreshold characters) and the result is that write's; otherwise the buffer
  // is written, the line's braces counted and the line written, wrapped unless noWrap.
  int WriteLine(FileControl& fc, TextFile* file, const char* text, int noWrap) override;
  // One piece of RTF as one line. During the RTF pass it goes through WriteLine; otherwise the
  // buffer is written, the braces counted and the text written as it is. With "Input file
  // contains Japanese characters" on, its bytes above 127 become hex escapes first.
  int WriteRaw(FileControl& fc, TextFile* file, const char* text) override;
  // Writes the buffer line by line, each line's braces counted first; during the RTF pass the
  // batch is tidied first. After a failed write the remaining lines are only counted. Empties
  // the buffer; 1 when every line was written.
  int FlushBuffer(FileControl& fc, TextFile* file, int ignored) override;
  // Closes the document: a pre-formatted region still open is written first (and a body
  // paragraph opened after it); then "\par}" and "}}", then, when the brace level is still
  // above 0, the
  // report "PROGRAM ERROR: <n> missing close braces.  Adding extra, but file may not be
  // correct" and one "}" line per missing brace ("(Added extra close braces here)" before
  // them with "Show Tags in output" on). Everything is written out. 1 when every write of
  // the document succeeded, 0 when any failed.
  [[nodiscard]] int EndDocument(FileControl& fc);
  // Writes out the buffer (when a document was opened), then closes the file.
  void CloseAll() override;
  void Close() { CloseAll(); }

  // ---- Brace balance ----
  // Counts the group braces of text into the brace level; a backslash and the character after
  // it are skipped, so "\{" counts nothing and "\\{" opens a group. A close brace that takes
  // the level below 0 is reported ("ERROR: Too many close braces.  Level = <n>" and
  // "WARNING: Inserting extra braces ...") and repaired at once: a line of as many "{" as
  // bring the level back to 1 is written ahead of text. Text that took the level to 0 and
  // leaves it above 0 is reported: the document would end early.
  void TrackBraces(FileControl& fc, const char* text);
  // Brace counting is on for the document the output pass writes.
  void SetBraceTracking(int on) { braceTracking_ = on; }
  int GetBraceLevel() const { return braceLevel_; }

  // ---- Statement output (rtf/StatementOutput.cpp) ----
  // What the writer makes of one statement: its flags, its paragraph-style code (1-11, the
  // ParagraphKind values) and its indent level.
  struct StatementClass {
    int bullet = 0;
    int heading = 0;
    int blank = 0;
    int pageBreak = 0;
    int preformatted = 0;
    int quotation = 0;
    int shortLine = 0;
    int hanging = 0;
    int styleCode = 1;
    int level = 0;
  };
  // The classification of a statement kept for the statements after it, with the style code
  // in force before it and the one it left.
  struct SavedStatement {
    StatementClass cls;
    int styleBefore = 1;
    int styleAfter = 1;
  };

  // Writes one analysed line (a PreHTML) as RTF by its line type: paragraph-style changes,
  // headings with their bookmarks, bullets, hanging paragraphs, definitions, rulers, page
  // breaks, tagged lines, then the line's converted text. The lines of a pre-formatted region
  // are collected and written as a whole when the region ends (at the latest at the end of
  // the input). Returns 1 when the line was handled; 0 when no document
  // is open ("PROGRAM ERROR:  File not open in call to WriteOutStatement!") or the statement
  // is not a line object.
  [[nodiscard]] int WriteOutStatement(Statement& line, FileControl& fc, Context& ctx) override;
  // Classifies line (of the given type, with the records of its previous and next lines)
  // into out: the flags, the style code and the level. Without a line out holds the current
  // style code and level and no flag.
  void ClassifyStatement(const PreHTML* line, FileControl& fc, const LineContext& previous,
                         const LineContext& next, int type, StatementClass& out) const;
  // Switches the paragraph style when code (10 counted as 1), level or the justification
  // differs from the current one (ChangeStyle).
  void SetStyle(FileControl& fc, int code, int level);
  // Closes the paragraph of oldCode and opens one of newCode at level (codes 2, 3, 7 and 8
  // open their own); newCode and level become current.
  void ChangeStyle(FileControl& fc, int oldCode, int newCode, int level);
  // For a bullet line with its marker: removes the marker from text, writes the bullet
  // paragraph opening at level and puts the label ("{" + label + "\tab}") in front of text.
  void BuildBulletLabel(FileControl& fc, int type, int level, const TextString& marker,
                        TextString& text);

  // ---- Document state ----
  int GetStyleCode() const override { return styleCode_; }
  // WriteTocField through this writer.
  int WriteContentsField(FileControl& fc, int level, int write) override;
  int GetStyleLevel() const { return styleLevel_; }
  // The previous statement's classification.
  const SavedStatement& GetSavedStatement() const { return saved_; }
  int GetIndentStep() const { return indentStep_; }
  // The number of the next topic of the help browse sequence; one more at each call.
  int NextBrowseNumber() { return browseNumber_++; }
  LineContexts& GetLineContexts() { return lineContexts_; }
  Context& GetContext() const { return ctx_; }
  // The policy set of the open document; null before OpenFile.
  FileControl* pGetFileControl() const { return fc_; }

 private:
  // The document state of a fresh document.
  void ResetDocumentState();
  // The character preparation of WriteLine, in place on lineWork_.
  void PrepareCharacters(FileControl& fc);
  // Writes text as one line to the file; a failure is remembered for EndDocument.
  bool WriteOneLine(const char* text);
  bool IsUtf8Input(FileControl& fc) const;
  // Writes each byte of text above 127 as an escape: UTF-8 input as its characters, other
  // input byte by byte.
  void EscapeHighBytes(FileControl& fc, TextString& text);

  // ---- Statement output (rtf/StatementOutput.cpp) ----
  // The statement state of a fresh document.
  void ResetStatementState();
  struct OutputStep;
  // The steps of WriteOutStatement.
  void WriteBlankLine(FileControl& fc, OutputStep& step);
  void WriteHeading(FileControl& fc, OutputStep& step);
  void WriteHangingParagraph(FileControl& fc, OutputStep& step, int styleIndex, int indentFactor);
  void WriteBullet(FileControl& fc, OutputStep& step);
  void WriteRuler(FileControl& fc, OutputStep& step);
  void WriteTaggedLine(FileControl& fc, OutputStep& step);
  void WriteFinal(FileControl& fc, OutputStep& step);
  void WriteByType(FileControl& fc, OutputStep& step);
  // The bookmark (and in a help file the topic footnotes) of a heading, written ahead of it;
  // the topic-identifier footnotes of the heading text appended to its paragraph text.
  void WriteHeadingMarks(FileControl& fc, int type, const TextPosition& position,
                         const TextString& text);
  void WriteHeadingTopicIds(FileControl& fc, int type, const TextPosition& position,
                            const TextString& heading, TextString& text);
  // Runs the tag a tagged line carries; its output (when it asks for one) becomes text.
  void RunLineTag(FileControl& fc, PreHTML& line, TextString& text);
  // A pre-formatted region: opened at line, given the output copies of its lines, ended and
  // written. lineCode is the region code of the region's lines; previousPreformatted says
  // whether the line before the one that ends the region was pre-formatted.
  void StartRegion(FileControl& fc, PreHTML& line);
  void AddRegionLine(PreHTML& copy);
  void EndRegion(FileControl& fc, int lineCode, bool previousPreformatted);
  // Drops the in-line font change in force.
  void DropFontChange();
  // Closes the groups of bullet items, hanging paragraphs and contents lines left open.
  void CloseOpenGroups(FileControl& fc);

  Context& ctx_;
  FileControl* fc_ = nullptr;
  // The classification of the statement before the one being written, and the one kept
  // for the next statement.
  SavedStatement prior_;
  SavedStatement saved_;
  // "Text justification" at the previous and at the current statement (4 = justified).
  int previousJustification_ = 4;
  int currentJustification_ = 4;
  // The line of the last heading that started a help topic; -1 none.
  int lastPageBreakLine_ = -1;
  // The table policies' column delimiter while a delimited table sets its own.
  TextString savedDelimiter_;
  int savedDelimiterSet_ = 0;
  int delimiterSaved_ = 0;
  // The pre-formatted region being collected while regionOpen_; kept between regions and
  // restarted for the next one.
  std::unique_ptr<RegionWriter> region_;
  int regionOpen_ = 0;
  RegionMaker regionMaker_ = nullptr;
  // The region code of the line that opened it.
  int regionCode_ = 0;
  // Groups that lines of one kind share, each waiting for its last line: a hanging
  // paragraph's, a bullet item's, the contents lines'.
  int hangingOpen_ = 0;
  int bulletOpen_ = 0;
  int contentsOpen_ = 0;
  // A heading has been written in this document.
  int headingWritten_ = 0;
  // The type of the line being written and its bullet continuation state, read by
  // ChangeStyle.
  int currentLineType_ = 0;
  int currentHanging_ = 0;
  // The output copy of the line being written and work texts, reused for every line.
  std::unique_ptr<PreHTML> copy_;
  TextString stepWork_;
  TextString labelWork_;
  TextString plainLabelWork_;
  TextString markerWork_;
  TextString closeWork_;
  TextString openingWork_;
  LineContexts lineContexts_;
  int styleCode_ = 1;
  int styleLevel_ = 0;
  int indentStep_ = kIndentStep;
  // Browse numbers start where every number of a document has as many digits, so that the
  // help compiler, which orders the sequence as text, keeps the topics in document order.
  static constexpr int kFirstBrowseNumber = 1000;
  int browseNumber_ = kFirstBrowseNumber;
  int braceTracking_ = 0;
  int braceLevel_ = 0;
  // A write of the open document failed.
  int writeFailed_ = 0;
  // Scratch texts of the character preparation and of WriteRaw, reused for every line.
  TextString characterWork_;
  TextString rawWork_;
};
