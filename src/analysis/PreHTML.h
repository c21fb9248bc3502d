#pragma once

#include <memory>

#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;
class LogErrorHandler;

// The line object of the conversion window: a statement with the fields that the driver,
// the window, the list file and the heading registration read. Until the line analysis
// exists it analyses nothing: lines keep the type they were given.
class PreHTML : public Statement {
 public:
  PreHTML();
  // Linked after previous (its next link becomes this object).
  explicit PreHTML(Statement* previous);
  PreHTML(const PreHTML&) = delete;  // a window slot: identity, linked by address
  PreHTML& operator=(const PreHTML&) = delete;
  ~PreHTML() override;

  // Clears the analysis: type 0, positions unset, tagged type -3, no flags, no note.
  // fromConstructor is 0 when called on a line in use.
  void Reset(int fromConstructor);
  // Sets the text and all its renderings; null clears them.
  void SetText(const char* text);
  // Stores a position that is set (an unset one is ignored).
  void SetStartPosition(FileControl& fc, const TextPosition& position);
  void SetEndPosition(FileControl& fc, const TextPosition& position);

  // Minimal forms until the line analysis exists: nothing is analysed, counted, executed or
  // converted, and each returns 0.
  int AnalyseLine(FileControl& fc, Context& ctx);
  int AddToStatistics(FileControl& fc, Context& ctx);
  int ExecuteTag(FileControl& fc, Context& ctx, const TextString& command);
  int TidyUnixWord(TextString& workLine, FileControl& fc, int& changed, TextString& out,
                   int flag);
  int ConvertReferences(FileControl& fc, Context& ctx);

  // Reports a message raised on this line through ReportLineMessageTo with the Context's
  // handler, its list file (notes are kept while one is open), its pass flags and the line
  // of the current pass's tracker.
  void ReportLineMessage(Context& ctx, const char* text, int level);
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
  int GetTaggedType() const { return taggedType_; }
  void SetTaggedType(int type) { taggedType_ = type; }
  const TextPosition& GetStartPosition() const { return start_; }
  const TextPosition& GetEndPosition() const { return end_; }
  unsigned GetFlags() const { return flags_; }
  // Flags are the LineFlag bits of text/StatementTypes.h; a mask may hold several.
  bool HasFlag(unsigned flag) const { return (flags_ & flag) != 0; }
  void SetFlag(unsigned flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }
  int GetSpecialFormat() const { return specialFormat_; }
  void SetSpecialFormat(int code) { specialFormat_ = code; }
  int GetPreformattedCount() const { return preformattedCount_; }
  void SetPreformattedCount(int count) { preformattedCount_ = count; }
  // The note the list file writes for this line; null when there is none.
  const TextString* pGetNote() const { return note_.get(); }
  // Hands the note over (the list file writes and frees it).
  std::unique_ptr<TextString> TakeNote() { return std::move(note_); }

 private:
  int taggedType_ = kTagNone;
  TextPosition start_;
  TextPosition end_;
  unsigned flags_ = 0;
  int specialFormat_ = 0;
  int preformattedCount_ = 0;
  std::unique_ptr<TextString> note_;
};
