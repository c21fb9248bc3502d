#pragma once

#include <memory>

// The program's own growable byte string. Text is bytes (a single-byte code page or UTF-8);
// case folding is ASCII-only unless an operation says otherwise. Positions are 0-based byte
// offsets. A case-sensitive flag of 1 means exact comparison, 0 folds ASCII letters.
// Operations return 1 (true) for success and 0 (false) for failure unless stated; none of them
// throws or reports a message.
//
// The growth rule and the capacities it gives are part of the contract (see Reserve). The
// initial buffer (capacity 254) lies inside the object, so a text that never outgrows it
// costs no allocation; copying such a text, or moving it, copies its bytes.
class TextString {
 public:
  // An empty text with the initial buffer (capacity 254).
  TextString();
  TextString(const TextString& other);
  TextString(TextString&& other) noexcept;
  // Null gives the empty text.
  TextString(const char* text);  // NOLINT: implicit on purpose, C strings pass as texts
  // The number in decimal, as AppendNumber('1', n, 0).
  explicit TextString(int number);
  virtual ~TextString();

  TextString& operator=(const TextString& other);
  TextString& operator=(TextString&& other) noexcept;
  TextString& operator=(const char* text);

  // ---- Virtual tests (Statement and the line objects refine them) ----
  // True when no byte is an ASCII letter.
  virtual bool HasNoLetters() const;
  // True when no byte is an ASCII letter or digit.
  virtual bool HasNoLettersOrDigits() const;
  // True when no byte below 0x80 is lower case.
  virtual bool HasNoLowerCase() const;
  // True when no byte of the text occurs in set.
  virtual bool ContainsNoneOf(const char* set) const;
  // Optional sign, then only digits and at most one '.'. Empty text and a lone sign count.
  virtual bool IsNumber() const;

  // ---- Access ----
  int GetLength() const { return length_; }
  // Usable bytes of the buffer (its size minus 2); -1 while no buffer exists.
  int GetCapacity() const { return capacity_; }
  bool IsEmpty() const { return length_ == 0; }
  // Never null: "" while no buffer exists.
  const char* GetText() const { return buffer_ ? buffer_ : ""; }
  // The writable buffer (null while none exists). Callers that write into it keep
  // the terminator and call SetLength.
  char* GetBuffer() { return buffer_; }
  // Sets the length after a caller wrote into the buffer; clipped to 0..capacity.
  void SetLength(int length);
  // The byte at pos, or 0 outside the text.
  char CharAt(int pos) const { return (pos >= 0 && pos < length_) ? buffer_[pos] : '\0'; }

  // ---- Construction and assignment ----
  int Assign(const char* text);
  int Assign(const TextString& text) { return Assign(text.GetText()); }
  // Empty text, allocating the initial buffer when there is none.
  int Clear();
  // Empty text without touching the allocation.
  void SetEmpty();
  // Exactly n bytes (NUL bytes included) and a terminator.
  int AssignBytes(const char* source, int n);
  // count bytes from source + offset; count < 0 means to the end of source. An offset
  // before the start or past the end of source is clamped to it.
  int AssignSubstring(const char* source, int offset, int count);
  // The same from a text whose length is known: only the bytes of the range are read (cut
  // at a NUL among them), so cutting a long text into many pieces stays linear.
  int AssignSubstring(const TextString& source, int offset, int count);
  // Keeps in place count bytes from start (negative count is 0, clipped to the text);
  // 0 when start > length.
  int KeepSubstring(int start, int count);
  int KeepFrom(int pos);
  // Cuts the text at pos when pos < length.
  int Truncate(int pos);

  // ---- Growth and appending ----
  // Ensures capacity >= n: t = n, or (n > 512 and the increase is under a fifth of n)
  // 2 x capacity below 500,000 and capacity x 3/2 from there; the buffer holds
  // ((t + 1) / 256) * 256 + 256 bytes and the capacity is that minus 2.
  int Reserve(int n);
  int Append(const char* text);
  int Append(const TextString& text);
  int AppendChar(char c);
  // Exactly n bytes of source (NUL bytes included); n <= 0 appends nothing.
  int AppendBytes(const char* source, int n);
  // Appends and returns a copy of the result (callers ignore it).
  TextString operator+=(const char* text);
  TextString operator+=(const TextString& text);
  TextString operator+=(int number);
  TextString Concat(const TextString& other) const;
  TextString Concat(const char* other) const;
  // Inserts at pos; pos is clamped to 0..length.
  int Insert(int pos, const char* text);
  // 0 when pos < 0 or pos > length.
  int InsertChar(int pos, char c);
  // Replaces count bytes at pos (clipped) by text; 0 when pos < 0 or pos > length.
  int ReplaceSpan(int pos, int count, const char* text);

  // ---- Comparison ----
  // Equality with s; 0 when either is null. Without ignoreBlanks the lengths must match;
  // with it spaces and tabs are skipped on both sides.
  bool Compare(const char* s, int caseSensitive, int ignoreBlanks) const;
  // Same length and Compare(other, 0, 0): ASCII case is ignored.
  bool Equals(const TextString& other) const;
  // False when the lengths differ, else Compare with the two flags.
  bool EqualsText(const TextString& other, int caseSensitive, int ignoreBlanks) const;
  bool StartsWith(const char* s, int caseSensitive) const;
  bool EndsWith(const char* s, int caseSensitive) const;

  // ---- Searching ----
  // First occurrence at or after start; *pos its offset or -1. With span > 0 the occurrence
  // must lie within start .. start + span - 1.
  bool Find(int start, const char* s, int* pos, int caseSensitive, int span) const;
  bool FindChar(int start, char c, int* pos, int caseSensitive) const;
  // Pointer into the buffer at the first match under toupper, or null.
  const char* FindNoCase(const char* s) const;
  bool ContainsNoCase(const char* s) const;
  bool ContainsChar(char c) const;
  int CountChar(char c) const;

  // ---- Editing ----
  // Replaces the leftmost non-overlapping occurrences of find from start on; the inserted
  // text is never rescanned. Without a replacement each byte of an occurrence becomes *fill.
  // *count (when given) grows by one per occurrence taken. With guard set, an occurrence
  // right after a byte 0x80-0xEF is skipped. maxCount > 0 stops after that many.
  // 0 for start outside 0..length, a null or empty find, or neither replacement nor fill;
  // 0 also when maxCount > 0 and fewer replacements were made. An empty text gives 1.
  bool ReplaceFrom(int start, const char* find, const char* replacement, int maxCount,
                   int caseSensitive, const char* fill, int* count, int guard);
  bool ReplaceAll(const char* find, const char* replacement, int maxCount, int caseSensitive);
  bool ReplaceAllCounted(const char* find, const char* replacement, int maxCount,
                         int caseSensitive, int* count, int guard);
  bool ReplaceChar(int start, char from, char to, int maxCount);
  void CollapseBlanks();
  // Removes bytes of set (null = " ", a blank also matches a tab) from both ends or,
  // with trailingOnly, from the end only.
  int Trim(int trailingOnly = 0, const char* set = nullptr);
  // 1 removes letters, 2 digits, 3 keeps letters, digits, spaces and tabs, 4 removes
  // spaces, tabs, CR and LF, 5 keeps bytes 1-126; any other kind keeps everything.
  void FilterCharacters(int kind);
  void ToLower();
  void ToUpper();
  // Each tab becomes blanks up to the next multiple of width (at most 17 blanks).
  void ExpandTabs(int width);

  // ---- Fields ----
  bool GetFieldFrom(const char* from, int n, char separator, TextString& out, int* offset) const;
  bool GetField(int n, char separator, TextString& out) const;
  bool GetFieldAndOffset(int n, char separator, TextString& out, int* offset) const;
  bool GetNextField(int* pos, char separator, TextString& out) const;

  // ---- UTF-8 helpers ----
  // A character is one byte below 0xC1, two from a lead 0xC1-0xDF, three from 0xE0-0xEF
  // and 0xF5-0xFF and four from 0xF0-0xF4 (those two only when a byte 0x80 or above
  // follows the lead, else one); a step never passes the end of the text.
  // Byte offset reached after stepping over count characters from start, or -1 when
  // the text ends first.
  int Utf8ByteOffset(int count, int start) const;
  // Characters from byte from (negative = 0) up to byte to (negative = the last byte).
  int Utf8CharCount(int from, int to) const;

  // ---- Conversions between code pages and encodings (in place) ----
  void ConvertMacCharacters();
  // Code page 437 to Windows-1252. With markBoxDrawing, box drawing that stays in the text
  // (storeBoxDrawing off) is marked, so that a writer can tell it from the Windows-1252
  // letters that share its bytes (OemBoxDrawingByte reads the marks).
  void ConvertOemCharacters(int storeBoxDrawing, int unknownToQuestionMark,
                            int convertBoxDrawing, int* horizontalRuns, int markBoxDrawing = 0);
  void ConvertWindowsPunctuation(int keepDashes);
  void ConvertKoi8rToCp1251();
  // The text, taken as UTF-16 code units, becomes UTF-8; true when every unit was below 128.
  // A surrogate pair becomes one four-byte character, a lone surrogate U+FFFD.
  bool Utf16ToUtf8(int bigEndian);
  void DecodeQuotedPrintable(int printableOnly);
  void DecodePercentEscapes();
  void EscapeHighCharacters();
  void ConvertEscapeSequences(int* lineDrawingMode, int* escapeSeen, TextString& message);

  // ---- Number forms ----
  // style 'a'/'A' letters, 'i'/'I' roman, anything else decimal.
  int AppendNumber(char style, int n, int trailingBlank);
  // style '1' decimal, 'O' octal, 'a'/'A' letter, 'i'/'I' roman, 'X' hexadecimal.
  // *out is -1 first; a value outside the int range fails.
  bool ParseNumber(char style, int* out) const;
  int AppendDouble(double x, int trailingBlank);
  bool ParseDouble(double* out) const;

  // ---- The program's reversible text scrambling ----
  void Unscramble(int direction);
  int AssignUnscrambled(const char* stored);

 protected:
  // The text: the inner buffer while the capacity is the initial 254, else heap_; null
  // while no buffer exists.
  char* buffer_ = nullptr;
  int length_ = 0;
  int capacity_ = -1;
  // Reserved words that only the default constructor sets; nothing reads them yet.
  int extraWord_ = 0;
  int extraWords_[6] = {};

 private:
  static constexpr int kInnerSize = 256;

  // Takes over other's text (its length and capacity already copied) and leaves other
  // without a buffer.
  void TakeBuffer(TextString& other);

  std::unique_ptr<char[]> heap_;
  // Short texts live here, so most texts never touch the heap.
  char inner_[kInnerSize];
};

// Compares at most n bytes: -1, 0 or 1. A null a sorts before a non-null b, a null b after;
// a string that ends first sorts first; with ignoreCase bytes equal under toupper are
// equal; differences are ordered as signed 8-bit values. n <= 0 gives 0.
int CompareChars(const char* a, const char* b, int n, int ignoreCase);

// The code page 437 box-drawing byte (0xB3-0xDA) that byte c of a text converted by
// ConvertOemCharacters with box drawing marked stands for; 0 when c is not box drawing.
int OemBoxDrawingByte(unsigned char c);
