#pragma once

#include <array>
#include <memory>

#include "convert/ListFile.h"
#include "text/TextPosition.h"

class Context;
class FileControl;
class OutFile;
class PreHTML;
class TextFile;

// Every pass reads the input statement by statement into a ring of 40 line objects. A line is
// analysed once its successor has been read and leaves the ring 39 statements after it came
// in: to the list file, the statistics, the contents registration or the writer, by pass.

inline constexpr int kWindowSize = 40;
// "Lines to ignore at end of file" is clamped to this.
inline constexpr int kMaxIgnoreEndLines = 20;

// Where the statements of one pass stand: the start position of each statement is
// (blockNumber, lineInBlock), its end position (mainBlock, mainLine). Block 0 is the main
// text; a definition (DEFINE_BLOCK and its kin) gets the next definition number as its block.
struct PassCounters {
  int blockNumber = 0;
  int lineInBlock = 0;
  int further = 0;  // kept beside the others, never changed here
  int statementsRead = 0;
  int mainBlock = 0;
  int mainLine = 0;
  // Numbers the definitions; 0 at the start of every pass so all passes agree on positions.
  int definitionCounter = 0;

  TextPosition StartPosition() const { return {blockNumber, lineInBlock}; }
  TextPosition EndPosition() const { return {mainBlock, mainLine}; }
};

// The ring of one pass. Objects are created as the ring first fills (40 at most), reset and
// reused as their slot comes round again, and freed with the ring.
class LineWindow {
 public:
  LineWindow();
  LineWindow(const LineWindow&) = delete;  // the lines are linked by address
  LineWindow& operator=(const LineWindow&) = delete;
  ~LineWindow();

  // The slot that receives the next statement; never null.
  PreHTML& Current() { return *slots_[static_cast<std::size_t>(current_)]; }
  // The line in the slot before the current one (slot 39 before slot 0), or null.
  PreHTML* Previous() const;
  PreHTML* Slot(int index) const { return slots_[static_cast<std::size_t>(Wrap(index))].get(); }
  int GetCurrentIndex() const { return current_; }
  bool IsFull() const { return full_ != 0; }
  // Lines the ring holds before the current slot (39 once full).
  int HeldLines() const { return full_ ? kWindowSize - 1 : current_; }
  // Index of the oldest held line.
  int OldestIndex() const { return full_ ? Wrap(current_ + 1) : 0; }

  static int Wrap(int index) { return ((index % kWindowSize) + kWindowSize) % kWindowSize; }

  PassCounters Counters;
  // Statements read from the input in this pass that are still in the ring.
  int InputLinesHeld = 0;
  // Lines blanked by IgnoreEndLines; closing lines appended after the input.
  int IgnoredLines = 0;
  int ClosingLines = 0;
  // A write failed: nothing more is written in this pass.
  int Failed = 0;
  // What the list file carries from line to line in this pass.
  ListFileFlags ListFlags;

 private:
  friend int AdvanceLineWindow(int analysis, LineWindow& window, FileControl& fc, Context& ctx,
                               TextFile* listFile, OutFile* lineSink);
  std::array<std::unique_ptr<PreHTML>, kWindowSize> slots_;
  int current_ = 0;
  int full_ = 0;
};

// Called once per statement read: while the ring fills, moves to a new slot; once full, the
// oldest line leaves (output pass: through lineSink first, then the list file; contents pass:
// ProcessContentsLine; analysis pass: the statistics). Returns 1, or 0 when a write failed.
// After a failure (window.Failed) nothing more is written.
[[nodiscard]] int AdvanceLineWindow(int analysis, LineWindow& window, FileControl& fc,
                                    Context& ctx, TextFile* listFile, OutFile* lineSink);

// Blanks (type 0, no text) the last count input lines. The count is clamped to the input lines
// the ring still holds, so no empty slot is ever touched. Returns the number blanked.
int IgnoreEndLines(int count, LineWindow& window);

// The per-statement step of every pass, right after a statement was read: counts it, gives it
// its positions and handles the definition directives (DEFINE_BLOCK, RESET_BLOCK, the fragment
// definitions, END_BLOCK, DEFINE_VARIABLE). Lines inside an open definition become null lines
// (type -1). Only the output pass reports problems, so each is reported once.
void ProcessDefinitionTag(FileControl& fc, Context& ctx, PreHTML& line, PassCounters& counters);

// The contents-pass work on a line leaving the ring: headings are registered and the in-line
// link points and page markers become known.
void ProcessContentsLine(PreHTML& line, FileControl& fc, Context& ctx);

// Hands each complete in-line command of the line's input text that is a LINKPOINT or a
// PAGE_MARKER to the line's tag handling.
void ScanInlineCommands(FileControl& fc, Context& ctx, PreHTML& line);

// The window loop of one pass over reader: read, per-statement step, analyse the line whose
// successor arrived, advance; then the end-of-input analysis, the ignored end lines, the
// closing blank (two in the output pass) and end-of-file lines, and the flush. Returns 1, or
// 0 when a write failed. The reader is left open; the ring is freed.
[[nodiscard]] int RunLineWindow(int analysis, OutFile& reader, FileControl& fc, Context& ctx,
                                TextFile* listFile, OutFile* lineSink);
