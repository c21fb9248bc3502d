#pragma once

#include "text/JParser.h"

// A scanner that builds a new output text while scanning: unmatched text is copied, matched
// spans are replaced. Every scan takes one match per position and resets all states after a
// replacement; matched spans never overlap text already written out.
class JReplaceParser : public JParser {
 public:
  JReplaceParser();

  // Types 1 to 4 only (1 replace, 2 append after the span, 3 before it, 4 drop the span).
  JPattern* AddPatternShort(int type, const char* pattern, const char* text,
                            int caseSensitive) override;
  // Type 6 (callback) only.
  JPattern* AddPattern(int type, const char* pattern, const char* text, int caseSensitive,
                       JCallback callback, void* userData) override;

  // 0 without patterns. options may be null: then no restart, no stop after the first match
  // and a match starts at its first wildcard character. Returns the number of handled
  // matches; when above 0 the result text holds the output.
  int Scan(const char* text, const JScanOptions* options, int length);

  int ReplaceAt(int position, int count, const char* text) override;
  // For handlers: writes the work text from the copied-up-to position to position and then
  // text to the output, replaces count characters at position in the work text as well, and
  // sets the copied-up-to and scan positions after the inserted text. Returns that position,
  // or -1 when position lies before text already written out or past the end.
  int ReplaceInPlace(int position, int count, const char* text);
  // For handlers: writes the work text from the copied-up-to position to position, then text
  // (null: nothing), to the output and passes over count characters of the work text, which
  // stays as it is, so a replacement costs only what it writes. The scan goes on at the first
  // character after the span. Returns that position, or -1 when the span starts before text
  // already written out or runs past the end.
  int ReplaceSpan(int position, int count, const char* text);
  // Removes every occurrence of literal (exact case) from the work text from the copied-up-to
  // position on; returns the number removed (0 for an empty literal).
  virtual int RemoveLiteral(const char* literal);

  int GetCopiedUpTo() const { return copiedUpTo_; }
  const ParseBuffer& GetOutput() const { return output_; }

 protected:
  void EndScan() override;
  int ReplaceMatch(JPattern& pattern, JMatchState& state) override;
  int OnMatch(JPattern& pattern, JMatchState& state) override;

 private:
  // Writes the work text up to (or through) the span, then text when given.
  int ConsumeSpan(const JMatchState& state, bool throughEnd, const char* text);

  ParseBuffer output_;
  int copiedUpTo_ = 0;
};
