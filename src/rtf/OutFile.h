#pragma once

#include "tags/DirectivePreprocessor.h"
#include "text/Statement.h"
#include "text/StatementFile.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;
class RTFFile;

// An output document: a statement file with a pending buffer of output lines and the name of
// the document it writes. The concrete format makes the file name, opens the file (writing
// whatever comes before the first statement) and writes each converted statement. The
// conversion also reads its input through this class (GetNextStatement).
class OutFile : public StatementFile {
 public:
  OutFile();
  ~OutFile() override;


  // The next statement appended to line, read with the policies of fc (ReadStatement of the
  // policy layer); false at the end of the input.
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
  // The Context's CodeLocation is 1 during the call and 0 after it.
  [[nodiscard]] int GetNextStatement(PreHTML& line, FileControl& fc, Context& ctx,
                                     int applyTextCommands);
  // Acts on the directive line (text: its text): 1 when the line is consumed, 0 when it is
  // handed on (with its tagged type); rawHtml becomes 1 for an HTML_LINE directive. Returns
  // 0 at once, the line staying text, while "Use Preprocessor" is off.
  [[nodiscard]] int PreprocessDirective(PreHTML& line, FileControl& fc, Context& ctx,
                                        const TextString& text, int& rawHtml);

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
};
