#pragma once

#include "text/Statement.h"
#include "text/StringList.h"
#include "text/TextFile.h"
#include "text/TextString.h"

class PolicyContext;
class FileControl;

// The settings of one statement read (the policy layer fills them from a policy set).
struct StatementReadRules {
  InputRules input;
  // "Preserve file structure using <PRE>": an END_PRE directive follows the last line.
  bool preserveStructureWithPre = false;
  // The "Directive delimiter" that the directive lines the reader makes begin with (never
  // null; the policy layer points it at the policy's text for the read).
  const char* directivePrefix = "$_$_";
  // Tabs expanded at tabSize, unless white space is preserved or the input is a table.
  bool expandTabs = true;
  int tabSize = 8;
  // The output is plain text: a no-break space (0xA0) becomes a blank.
  bool plainTextOutput = false;
  // The input is read as HTML: <pre> and </pre> lines switch to table directives.
  bool htmlInput = false;
};

// Turns the lines of a TextFile into statements and writes statements as wrapped lines.
//
// Reading joins the pieces of over-long lines and the soft line breaks that the input rules
// ask for, splits a line at a form feed, can split a long line at a chosen character, replaces
// HTML pre tags by directive lines, applies the text commands and expands tabs. Writing wraps
// a statement at the file's width and indents continuation lines like the first.
class StatementFile : public TextFile {
 public:
  // Longest statement a read delivers. A longer line (far longer than any line of a real
  // document) is delivered in parts of this length, and kNoticeLineCut is raised once for it.
  static constexpr int kMaxStatementLength = 1000000;

  StatementFile();
  ~StatementFile() override;

  // ---- Virtual operations ----
  // False while open for reading; otherwise WriteWrappedStatement(this, s, 0, 0).
  virtual bool WriteStatement(Statement& s);

  // ---- Reading ----
  // The next statement appended to out, read by rules; state carries the input rules from
  // line to line. The line is prepared by DropTrailingCR. False at the end of the input.
  [[nodiscard]] bool ReadStatementWith(Statement& out, const StatementReadRules& rules,
                                       InputRuleState& state);
  // The same road in two steps, for a reader that adds steps between them (the policy
  // layer's ReadStatement with the text commands) and for line objects: the first reads,
  // prepares the line by its own StripTrailingCR (fc is only handed on) and replaces pre tags;
  // false at the end of the input. The second sets the raw copy, expands tabs and calls the
  // statement's AfterRead (fc and ctx only handed on).
  [[nodiscard]] bool ReadPreparedStatement(Statement& out, const StatementReadRules& rules,
                                           InputRuleState& state, FileControl& fc);
  void FinishStatement(Statement& out, const StatementReadRules& rules, FileControl& fc,
                       PolicyContext& ctx);
  // Queues fields 2, 3, ... of a statement holding LF as the next statements; it keeps
  // field 1.
  void QueueLineFeedFields(Statement& out);

  // ---- Settings ----
  int GetWidth() const { return width_; }
  void SetWidth(int width) { width_ = width; }
  const TextString& GetBlanks() const { return blanks_; }
  const TextString& GetBreakAfter() const { return breakAfter_; }
  const TextString& GetBreakBefore() const { return breakBefore_; }
  // Input lines still to be ignored ("Lines to ignore at start of file").
  void SetSkipCount(int count) { skipCount_ = count; }
  int GetSkipCount() const { return skipCount_; }
  // A line that would take the statement to position or beyond is split after the last
  // splitCharacter before that position; -1 or 0 turns splitting off.
  void SetSplit(int position, int splitCharacter) {
    splitPosition_ = position;
    splitCharacter_ = splitCharacter;
  }
  // The last line read was split.
  bool WasSplit() const { return split_ != 0; }

  // ---- Pending pieces: texts delivered as the next statements, in order ----
  void AddPendingPiece(const char* text) { pendingPieces_.Append(text); }
  // Puts text among the pieces not read yet, at index (0: the next statement read).
  void InsertPendingPiece(int index, const char* text) {
    pendingPieces_.InsertAt(pendingPosition_ + index, text);
  }
  const StringList& GetPendingPieces() const { return pendingPieces_; }

 protected:
  // The characters a writer wraps at: blanks, and the characters a line may break before and
  // after.
  void SetBreakCharacters(const char* blanks, const char* breakBefore, const char* breakAfter);

 private:
  // Steps up to the pre tags; false when no statement was completed.
  bool ReadRawStatement(Statement& out, const StatementReadRules& rules, InputRuleState& state);
  // Appends the next pending piece to out and applies the input rules.
  bool TakePendingPiece(Statement& out, const StatementReadRules& rules, InputRuleState& state);
  bool HasPendingPiece() const;
  // <pre> and </pre> lines become directives, the next one queued.
  void ReplacePreTag(Statement& out, const char* directivePrefix);
  // prefix followed by keyword.
  const char* DirectiveText(const char* prefix, const char* keyword);
  void SplitLine(const Statement& out);
  // out = the next part of the remainder.
  void TakeRemainderPart(Statement& out);

  TextString blanks_;
  TextString breakAfter_;
  TextString breakBefore_;
  int width_ = 80;
  StringList pendingPieces_;
  int pendingPosition_ = 0;
  int endSeen_ = 0;
  int skipCount_ = 0;
  int remainderPending_ = 0;
  TextString remainder_;
  // Where the next part of the remainder starts.
  int remainderAt_ = 0;
  // The line being read was cut at the longest statement and goes on.
  bool cutting_ = false;
  int splitPosition_ = -1;
  int splitCharacter_ = 10;
  int split_ = 0;
  TextString workText_;
  // Reused by the writer for every segment, so wrapping allocates nothing per line.
  TextString segmentText_;
  TextString lineText_;

  friend bool WriteWrappedStatement(StatementFile* file, Statement& s, int noWrap, int utf8);
};

// Writes s whole (noWrap or empty) or in segments of the file's width; continuation lines
// begin with as many blanks as s does. False when file is null or not open, or a write
// failed (no segment is written after a failure).
bool WriteWrappedStatement(StatementFile* file, Statement& s, int noWrap, int utf8);
