#pragma once

#include "engine/BlockList.h"
#include "tags/DirectivePreprocessor.h"
#include "text/Statement.h"
#include "text/StatementFile.h"
#include "text/TextString.h"

class Context;
class FileControl;
class FontSpec;
class PreHTML;
class RTFFile;
struct LineContext;

// What the in-line tags handed to OutFile::ScanInlineTags belong to (the tag fallback acts
// by it).
enum InlineTagKind : int {
  kInlineTagsOfLine = 0,           // a line of the document being written
  kInlineTagsOfTitleText = 5,      // the title tags of a line of a document that has them
  kInlineTagsOfDocumentTitle = 6,  // the document title: scanned even without in-line tags
};

// An output document: a statement file with a pending buffer of output lines and the name of
// the document it writes. The concrete format makes the file name, opens the file (writing
// whatever comes before the first statement) and writes each converted statement. The
// conversion also reads its input through this class (GetNextStatement).
class OutFile : public StatementFile, public BlockTagWriter {
 public:
  OutFile();
  ~OutFile() override;


  // The next statement appended to line, read with the policies of fc
  // (ReadStatementKeepingNotices of the policy layer: what the reader met is left for
  // TakeNotices); false at the end of the input.
  [[nodiscard]] virtual bool ReadStatement(Statement& line, FileControl& fc, Context& ctx,
                                           int applyTextCommands);

  // ---- Operations of the concrete format ----
  // The output file name for baseName into out; 1 when made.
  [[nodiscard]] virtual int MakeFileName(const TextString& baseName, FileControl& fc,
                                         TextString& out) = 0;
  // Opens the document for baseName (previous: a document to end first, may be null);
  // console writes to the standard output. 1 when open, 0 after reporting a failure.
  [[nodiscard]] virtual int OpenFile(const char* baseName, FileControl& fc, int ignored,
                                     RTFFile* previous, int console) = 0;
  // Writes one converted statement; 1 when it was written.
  [[nodiscard]] virtual int WriteOutStatement(Statement& line, FileControl& fc,
                                              Context& ctx) = 0;

  // OpenFile with no previous document.
  [[nodiscard]] int Open(const char* name, FileControl& fc, int console);
  // WriteOutStatement. Virtual so that a test can watch the statements of a pass.
  [[nodiscard]] virtual int WriteOut(Statement& line, FileControl& fc, Context& ctx);

  // ---- Writing (file: the file written, which callers give as this object) ----
  // text as one line, wrapped at the file's width unless noWrap; 1 when written.
  virtual int WriteLine(FileControl& fc, TextFile* file, const char* text, int noWrap);
  // WriteLine(fc, this, text, 0): the end tag of an output block.
  int WriteBlockTag(FileControl& fc, const char* text) override {
    return WriteLine(fc, this, text, 0);
  }
  // The pending lines first, then text as one line without wrapping; 1 when written.
  virtual int WriteRaw(FileControl& fc, TextFile* file, const char* text);
  // Writes the pending lines (wrapped) and empties the buffer: 1 when it was empty or every
  // line was written, else 0.
  virtual int FlushBuffer(FileControl& fc, TextFile* file, int ignored);

  // ---- Reading through the directive preprocessor (rtf/OutFileReading.cpp) ----
  // The next statement that the pass is to see, into line (reset first): every read line gets
  // the treatments the policies ask for (a blank appended under a rule set, input markup
  // taken out, an in-line LINERULE split into three statements, title tags expanded), a line
  // beginning with the directive prefix goes through PreprocessDirective, and the lines of
  // ignored blocks and of sections left out are read past. The delivered line carries the
  // region, HTML, section, ignore and contents flags and the region code. Returns the
  // result of the last read: 1 when a statement was delivered, 0 at the end of the input.
  // The Context's CodeLocation is 1 during the call and 0 after it. What the reader met (a
  // line cut at the longest statement, a stray UTF-16 byte) is left for TakeNotices.
  [[nodiscard]] int GetNextStatement(PreHTML& line, FileControl& fc, Context& ctx,
                                     int applyTextCommands);
  // Acts on the directive line (text: its text): 1 when the line is consumed, 0 when it is
  // handed on (with its tagged type); rawHtml becomes 1 for an HTML_LINE directive. In the
  // contents pass a TOC directive also goes to the tag fallback (HandleLineTag), whose message is reported on the line at the level it
  // gives. Returns 0 at once, the line staying text, while "Use Preprocessor" is off.
  [[nodiscard]] int PreprocessDirective(PreHTML& line, FileControl& fc, Context& ctx,
                                        const TextString& text, int& rawHtml);

  // ---- Output preparation of a line (rtf/OutFile.cpp) ----
  // Executes the in-line tags of line's text, one at a time, through the tag fallback
  // (HandleLineTag with kind), while the document uses in-line tags
  // (the Context's InlineTagSeen) or for the document title (kind 6). Tags are the spans from
  // the policy set's start tag delimiter to the next end tag delimiter (case-sensitive); a
  // stray end delimiter before a start delimiter is passed over. A delimiter left without its
  // partner ends the scan with "TAG ERROR: Unbalanced in-line tag delimiters - " and the text
  // still unscanned (its first 30 characters and " ..." when longer) on the line at level 10.
  // message collects what the fallback reports; level becomes the highest level it gives.
  virtual void ScanInlineTags(int kind, int mode, PreHTML& line, FileControl& fc, Context& ctx,
                              TextString& message, int& level);
  // Outside IGNORE blocks: executes each in-line tag of line's text with the line's own tag
  // execution (ExecuteLineTag, tags/LineTags.h), as ScanInlineTags pairs them; an unpaired
  // delimiter ends the scan without a message.
  virtual void ExpandTitleTags(PreHTML& line, FileControl& fc, int mode);
  // Hands one in-line tag of line to the tag fallback (HandleTagFallback, tags/LineTags.h)
  // and gives its result. Virtual, so that a test can watch the tags of a line.
  virtual int HandleLineTag(int mode, const TextString& tag, PreHTML& line, FileControl& fc,
                            Context& ctx, TextString& message, int& level);
  // Fills copy, the output copy of line, for the statement writer: the line's text escaped
  // for the output and converted as a fragment (word conversions, references, emphasis, link
  // dictionary), its in-line tags executed (not for most directive lines), comments taken out
  // of a comment copy; the blank-line types of FOLIO mode settled (type and level may change;
  // a type a tag set is taken over by the line); ALLOW and DISALLOW lines applied to the
  // output tracker; a change of output policy (1008) loaded with its derived defaults; what
  // the copy's note gained added to the line's note. While a region is being collected or
  // for a raw-output line the copy takes the text and nothing more is done to it.
  void PrepareOutputLine(FileControl& fc, Context& ctx, PreHTML& line, int& type, PreHTML& copy,
                         int& level);
  // Moves the six line records on to line: the current record becomes the previous one
  // (unless the previous line was in a region), the previous one the last non-blank and last
  // real line where its type says so (not while a region is being collected), and the
  // current, next and next non-blank records are filled from line and the lines after it.
  void UpdateLineContexts(PreHTML& line, FileControl& fc, LineContext& lastReal,
                          LineContext& lastNonBlank, LineContext& nextNonBlank,
                          LineContext& previous, LineContext& current, LineContext& next);
  // The font in force (Context::GetActiveFont of fc's Context); null when none.
  const FontSpec* GetActiveFont(FileControl& fc) const;

  // ---- State ----
  // OpenFile has run (and Close not since).
  int IsDocumentOpen() const { return documentOpen_; }
  // The base name of the open document.
  const TextString& GetOutputName() const { return outputName_; }
  // Output lines not written yet, each followed by a newline.
  const TextString& GetPending() const { return pending_; }

 protected:
  TextString outputName_;
  TextString pending_;
  int documentOpen_ = 0;
  // The line being written, reused so that writing allocates nothing per line.
  Statement lineWork_;

 private:
  // ---- Steps of the statement reader (rtf/OutFileReading.cpp) ----
  // Counts the statement just read against the file it came from.
  void CountIncludeLine();
  // Takes the input's links, markup tags and character entities out of the line.
  void StripInputMarkup(PreHTML& line, FileControl& fc, Context& ctx);
  // Splits an in-line LINERULE tag out of the line; the pieces after the first are queued.
  void SplitInlineLineRule(PreHTML& line, Context& ctx);
  // INCLUDE: opens the named file on the stack of files read; 1 (consumed).
  int IncludeFile(PreHTML& line, FileControl& fc, Context& ctx, const TextString& text);
  // CHANGE_POLICY: 1 when consumed, 0 when handed on as a change of output policy.
  int ChangePolicy(PreHTML& line, FileControl& fc, Context& ctx, const TextString& text);

  DirectiveReaderState preprocessor_;

  // ---- Output preparation (rtf/OutFile.cpp) ----
  // The previous line was written while a region was being collected.
  int previousInRegion_ = 0;
  // Work texts of the tag scans and the line preparation, reused for every line.
  TextString scanWork_;
  TextString scanKept_;
  TextString tagWork_;
  TextString commentCopy_;
  TextString policyWork_;
};
