#pragma once

#include "text/CharacterPairCounts.h"
#include "text/TextString.h"

class Context;
class PolicyContext;
class FileControl;
class StatementFile;

// The policies that the per-line input rules read (the policy layer fills them from a
// policy set: InputRulesOf).
struct InputRules {
  // "Input file has page markers" and "Page marker size (in lines)".
  bool pageMarkers = false;
  int pageMarkerSize = 0;
  // "Input file is double spaced".
  bool doubleSpaced = false;
  // "Look for character encodings", while no character set was chosen explicitly
  // ("Input file contains DOS characters" on and set, or "Character encoding" set).
  bool countPairs = false;
  // The conversion is in its analysis pass.
  bool analysisPass = false;
  // "Input file contains MIME encoding".
  bool mimeEncoding = false;
};

// What the per-line input rules carry from one line to the next (held by the Context).
struct InputRuleState {
  bool droppedLine = false;
  int pageLinesLeft = 0;
  // Where the analysis pass counts byte pairs: the Context points it at its statistics
  // record, which the character-set guess and the statistics file read. Null counts nothing.
  CharacterPairCounts* census = nullptr;
};

// One logical input line: its text (the TextString base), the line as read (raw copy), its
// line type (a StatementType code), links to its neighbours (not owned) and the length of its
// first word. Line objects of the analysis derive from it and refine the virtual operations.
class Statement : public TextString {
 public:
  Statement();
  // Linked after previous (when given).
  explicit Statement(Statement* previous);
  Statement(const Statement& other);
  Statement& operator=(const Statement& other);
  ~Statement() override;

  // ---- Virtual operations ----
  // Longest line the analysis expects.
  virtual int MaxLineLength() const { return 1024; }
  // The per-line input rules: page-marker and double-spacing lines are dropped (emptied,
  // false), a soft line break ("=" at the end of a line over 40 bytes) asks for the next line
  // (false) outside the analysis pass, and the byte pairs are counted into state.census.
  // False: the statement is not complete (the reader appends the next line) or was dropped.
  virtual bool CountCharacterPairs(const InputRules& rules, InputRuleState& state);
  virtual void SetLineType(int code) { lineType_ = code; }
  // Line objects analyse the line here; the base only forgets its type.
  virtual void ClearLineType() { lineType_ = 0; }
  // Prepares a line just read: a final CR is removed and the raw copy set to the result.
  virtual void StripTrailingCR(FileControl& fc);
  // Called last by StatementFile::ReadStatement; line objects tidy the line here.
  virtual void AfterRead(StatementFile& file, FileControl& fc, PolicyContext& ctx);
  // Notes a message raised while this statement is the line a pass is handling. A plain
  // statement keeps no messages; the line objects of the analysis note and report them.
  virtual void ReportLineMessage(Context& ctx, const char* text, int level);
  // The segment of at most width bytes (characters with utf8) from start: out receives
  // bytes start..breakAt (a final blank dropped unless utf8) and *next = breakAt + 1.
  // False (out empty, *next = -1) when start lies beyond the text.
  virtual bool GetWrappedSegment(int width, int start, const char* blanks,
                                 const char* breakAfter, const char* breakBefore,
                                 TextString& out, int* next, int utf8) const;
  // *breakAt = the last byte of the next segment of at most width bytes (characters with
  // utf8) from start; never beyond the last byte of the text.
  // A rest of at most width bytes (characters with utf8) is one segment, up to the last byte.
  virtual void FindBreakPosition(int start, int width, const char* blanks,
                                 const char* breakAfter, const char* breakBefore,
                                 int* breakAt, int utf8) const;

  // ---- Operations ----
  // Line type and analysis fields back to their initial values; the text is emptied unless
  // keepText.
  void Reset(int keepText);
  void LinkAfter(Statement* previous);
  // The byte-pair count of the input rules alone, for the part of a line cut at the longest
  // statement (the other rules judge whole lines).
  void CountInputPairs(const InputRules& rules, InputRuleState& state) const;
  // The final CR removed, the raw copy set to the result.
  void DropTrailingCR();

  // ---- Fields ----
  int GetLineType() const { return lineType_; }
  int GetFirstWordLength() const { return firstWordLength_; }
  void SetFirstWordLength(int length) { firstWordLength_ = length; }
  const TextString& GetRawCopy() const { return rawCopy_; }
  TextString& GetRawCopy() { return rawCopy_; }
  void SetRawCopy(const TextString& text) { rawCopy_.Assign(text); }
  Statement* GetPrevious() const { return previous_; }
  Statement* GetNext() const { return next_; }
  void SetPrevious(Statement* previous) { previous_ = previous; }
  void SetNext(Statement* next) { next_ = next; }

 protected:
  // True when the text from start holds at most width bytes (characters with utf8).
  bool RestFitsWithin(int start, int width, int utf8) const;

  TextString rawCopy_;
  Statement* previous_ = nullptr;
  Statement* next_ = nullptr;
  int lineType_ = 0;
  // Bytes of the first blank-separated word, set when the line is converted; -1 until then.
  int firstWordLength_ = -1;
};

// Counts the byte pairs of text (length bytes) into counts, as the input rules do; nothing
// when the pairs could take a counter past the int range.
void CountBytePairs(const char* text, int length, CharacterPairCounts& counts);

// Counts the well-formed UTF-8 sequences of text and the bytes above 127 outside any of them
// into counts (utf8Sequences, utf8Forbidden); each counter stops at the int range.
void CountUtf8Sequences(const char* text, int length, CharacterPairCounts& counts);
