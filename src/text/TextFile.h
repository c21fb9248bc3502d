#pragma once

#include <cstdio>
#include <memory>
#include <vector>

#include "text/StringList.h"
#include "text/TextString.h"

class Statement;

// Lines held in memory that a reader takes in place of a file (not owned by the reader).
using StatementSource = std::vector<Statement*>;

// What a read met that its caller may report: bits of the value TakeNotices returns.
enum ReadNotice : unsigned {
  // A UTF-16 file ended in half a code unit, which was dropped.
  kNoticeStrayByte = 1u << 0,
  // A line longer than the longest statement was delivered in parts (StatementFile).
  kNoticeLineCut = 1u << 1,
};

// Reads and writes text line by line.
//
// Reading keeps a stack of open files: an included file is pushed on top of its includer and
// reading returns to the includer when it ends. The encoding is recognised from the first
// line of the file opened: FF FE is UTF-16 little-endian, FE FF UTF-16 big-endian (both turned
// into UTF-8), EF BB BF UTF-8, anything else single-byte text. Every line arrives as bytes
// without its line end (LF, CR LF, or the UTF-16 forms of them); the byte-order mark is never
// part of a line. A physical line longer than 9,999 bytes arrives in pieces of 10,000 bytes,
// each piece before the line end carrying the over-long flag (a UTF-16 piece that would end
// between the two halves of a surrogate pair takes the second half too, as each piece is
// converted on its own). The newest lines are kept in a short list (GetRecentLine).
//
// Writing goes to the top file, to the standard output (console) or to an in-memory list of
// lines (the sink). Lines are written with a LF line end.
//
// Failures are return values; nothing here writes a message (see TakeNotices).
class TextFile {
 public:
  // Longest read, the line end included; a longer physical line arrives in pieces.
  static constexpr int kMaxRead = 10000;
  // More recent lines than this trigger trimming; trimming removes entries 0..kTrimEnd.
  static constexpr int kKeepLimit = 100;
  static constexpr int kTrimEnd = 90;
  // ReopenTop refuses once it has been called more often than this.
  static constexpr int kMaxReopens = 9;

  TextFile();
  // Files, the stack and the sink belong to this object: no copies.
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  // Closes every file when open.
  virtual ~TextFile();

  // ---- Virtual operations ----
  // Pops every file, then Reset.
  virtual void CloseAll();
  // console: write to the standard output, open nothing. With an in-memory sink nothing is
  // opened either. binary: no newline translation (on this system there is none anyway).
  // False (and closed) when the file cannot be created.
  [[nodiscard]] virtual bool OpenForWrite(const char* name, int console, int binary);
  // Appends to the named file; when it cannot be opened and fallBackToWrite is set, the
  // result of OpenForWrite(name, 0, 0). Fails for a null or empty name or one on the stack.
  [[nodiscard]] virtual bool OpenForAppend(const char* name, int fallBackToWrite);
  // Pushes the named file for reading (an include when a file is open already). With an
  // in-memory source it only marks the object open for reading. Fails for a null or empty
  // name, a name already on the stack (an include of itself) or a file that cannot be opened.
  [[nodiscard]] virtual bool OpenForRead(const char* name, int binary);
  // Pops the top file and opens name for reading in its place; refuses after 9 reopens.
  [[nodiscard]] virtual bool ReopenTop(const char* name);
  // Forgets the stack without closing any file; counters and the open flag back to 0.
  virtual void Reset();
  // Closes the top file (not in console mode) and drops it from the stack. Returns 1, also
  // when the stack is empty.
  virtual bool PopFile();
  // Puts an open handle on top of the stack under name (copied).
  virtual void PushFile(std::FILE* handle, const char* name);
  // True when name equals (bytes and length) a name on the stack.
  virtual bool IsFileOpen(const char* name) const;
  // ReadNextLine, then out = the newest recent line. False at the end of input.
  [[nodiscard]] virtual bool ReadLine(TextString& out, int* overLong);
  // Reads the next line into the recent lines. False at the end of input or when not
  // reading; *overLong (when given) tells whether the line goes on in the next piece.
  [[nodiscard]] virtual bool ReadNextLine(int* overLong);
  // One line through WriteLine.
  virtual bool WriteString(const TextString& text);
  virtual bool WriteText(const char* text);
  virtual bool IsOpen() const { return open_ != 0; }

  // ---- Recent lines ----
  // The n-th kept line (1 = oldest kept); null when n <= 0 or beyond the count.
  const char* GetRecentLine(int n) const;
  const StringList& GetRecentLines() const { return recentLines_; }
  // The newest line read, empty when none.
  const char* GetLastLine() const;

  // ---- State ----
  bool IsReading() const { return reading_ != 0; }
  int GetFileCount() const { return static_cast<int>(handles_.size()); }
  int GetMaxDepth() const { return maxDepth_; }
  // Handle of the file on top of the stack, null when none.
  std::FILE* GetTopHandle() const { return handles_.empty() ? nullptr : handles_.back(); }
  // Name of the file on top of the stack, null when none.
  const char* GetTopFileName() const;
  int GetLinesRead() const { return linesRead_; }
  bool IsUtf16LE() const { return utf16LE_ != 0; }
  bool IsUtf16BE() const { return utf16BE_ != 0; }
  bool IsUtf16() const { return utf16LE_ != 0 || utf16BE_ != 0; }
  bool IsUtf8() const { return utf8_ != 0; }
  // Cleared once a line arrives from UTF-8 input or a UTF-16 line holds a unit of 0x80 up.
  bool IsSevenBit() const { return sevenBit_ != 0; }
  bool IsConsole() const { return console_ != 0; }
  bool IsBinaryOutput() const { return binaryOutput_ != 0; }
  // Raw reading: lines are read byte by byte up to LF, NUL bytes become blanks.
  void SetRaw(int raw) { raw_ = raw; }
  // The ReadNotice bits raised since the last call; they are cleared.
  unsigned TakeNotices() {
    const unsigned notices = notices_;
    notices_ = 0;
    return notices;
  }

  // ---- In-memory source and sink (not owned; null turns them off) ----
  void SetSource(const StatementSource* source) {
    source_ = source;
    sourcePosition_ = 0;
  }
  const StatementSource* GetSource() const { return source_; }
  void SetSink(StringList* sink) { sink_ = sink; }
  StringList* GetSink() const { return sink_; }

 protected:
  // Reads one line end-to-end from the top file into lineBuffer_ (raw, UTF-8 and UTF-16
  // input); false when nothing could be read.
  bool ReadEncodedLine(int* overLong);
  // Reads one text line from the top file into lineBuffer_; false when nothing was read.
  bool ReadPlainLine(int* overLong);
  // Tests the first line read after an open for a byte-order mark; on a match sets the
  // encoding and opens the top file again from its start.
  bool DetectByteOrderMark();
  // Appends a delivered line to the recent lines, trimming the oldest when over the limit.
  void KeepLine(const char* text);
  // The next byte of the top file (EOF at its end), read through its buffer.
  int NextByte();
  // Steps back over the last byte taken (at most two in a row).
  void UnreadByte() { --inputBuffers_.back().begin; }

  // Bytes read ahead from one stacked file, so that a line costs no call into the C library
  // per byte. The two bytes before begin survive a refill, so that UnreadByte always works.
  struct InputBuffer {
    static constexpr int kSize = 1 << 16;
    static constexpr int kKeep = 2;
    std::unique_ptr<char[]> bytes = std::make_unique<char[]>(kSize + kKeep);
    int begin = 0;
    int end = 0;
  };

  int console_ = 0;
  int maxDepth_ = 0;
  std::vector<std::unique_ptr<char[]>> names_;
  std::vector<std::FILE*> handles_;
  std::vector<InputBuffer> inputBuffers_;  // one per stacked file
  int open_ = 0;
  int reading_ = 0;
  int raw_ = 0;
  int utf16LE_ = 0;
  int utf16BE_ = 0;
  int utf8_ = 0;
  int sevenBit_ = 1;
  int reopenCount_ = 0;
  int linesRead_ = 0;
  int limit1_ = 62;
  int limit2_ = 15000;
  StringList recentLines_;
  int keepLimit_ = kKeepLimit;
  int setting_ = 20;
  int trimEnd_ = kTrimEnd;
  int counters_[6] = {};
  const StatementSource* source_ = nullptr;
  StringList* sink_ = nullptr;
  int sourcePosition_ = 0;
  int binaryOutput_ = 0;
  // The first line after an open is tested for a byte-order mark.
  bool firstLine_ = false;
  unsigned notices_ = 0;
  // Reused for every read, so the read loop allocates nothing per line.
  TextString lineBuffer_;
  TextString workText_;
};

// Writes text as one line: to the sink, the standard output (flushed) or the top file
// (flushed). False for a null file, when nothing is open or the stream reports an error.
bool WriteLine(TextFile* file, const char* text);
// WriteLine without the flush of a file: the line stays in the stream's buffer until
// FlushLines. Used for a batch of lines that reaches the disk at once.
bool WriteLineUnflushed(TextFile* file, const char* text);
// Flushes what WriteLineUnflushed left in the top file's buffer. False for a null file, when
// nothing is open or the stream reports an error (a write that failed since the last flush).
bool FlushLines(TextFile* file);
