#include "text/TextFile.h"

#include <algorithm>
#include <cstring>

#include "text/Statement.h"

namespace {

enum class Mark { None, Utf16LE, Utf16BE, Utf8 };

Mark ByteOrderMarkOf(const TextString& line) {
  const auto byte = [&line](int i) { return static_cast<unsigned char>(line.CharAt(i)); };
  if (line.GetLength() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) return Mark::Utf16LE;
  if (line.GetLength() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) return Mark::Utf16BE;
  if (line.GetLength() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
    return Mark::Utf8;
  return Mark::None;
}

}  // namespace

// Writable room for one read plus the terminator.
static char* PrepareBuffer(TextString& buffer) {
  // Room for one more UTF-16 unit after a full piece: the LF after a CR or the second half
  // of a surrogate pair (see ReadEncodedLine).
  buffer.Reserve(TextFile::kMaxRead + 3);
  buffer.SetEmpty();
  return buffer.GetBuffer();
}

static bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
static bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// NUL bytes would cut the line short wherever it is handled as a C string.
static void BlankNulBytes(char* text, int length) {
  for (char* p = text; (p = static_cast<char*>(std::memchr(p, 0, text + length - p)));) *p = ' ';
}

TextFile::TextFile() = default;

TextFile::~TextFile() {
  // Files still stacked are closed even when a failed open cleared the open flag.
  if (open_ || !handles_.empty()) CloseAll();
}

void TextFile::CloseAll() {
  while (!handles_.empty()) PopFile();
  Reset();
}

void TextFile::Reset() {
  names_.clear();
  handles_.clear();
  inputBuffers_.clear();
  for (int& counter : counters_) counter = 0;
  open_ = 0;
}

bool TextFile::PopFile() {
  if (handles_.empty()) return true;
  if (!console_ && handles_.back()) std::fclose(handles_.back());
  handles_.pop_back();
  names_.pop_back();
  inputBuffers_.pop_back();
  return true;
}

void TextFile::PushFile(std::FILE* handle, const char* name) {
  const char* text = name ? name : "";
  const std::size_t size = std::strlen(text) + 1;
  auto copy = std::make_unique<char[]>(size);
  std::memcpy(copy.get(), text, size);
  names_.push_back(std::move(copy));
  handles_.push_back(handle);
  inputBuffers_.emplace_back();
  if (GetFileCount() > maxDepth_) maxDepth_ = GetFileCount();
}

bool TextFile::IsFileOpen(const char* name) const {
  if (!name) return false;
  for (const auto& stacked : names_) {
    if (std::strcmp(stacked.get(), name) == 0) return true;
  }
  return false;
}

const char* TextFile::GetTopFileName() const {
  return names_.empty() ? nullptr : names_.back().get();
}

bool TextFile::OpenForWrite(const char* name, int console, int binary) {
  console_ = console ? 1 : 0;
  if (!console_ && !sink_) {
    if (!name || !*name) {
      open_ = 0;
      return false;
    }
    std::FILE* handle = std::fopen(name, binary ? "wb" : "w");
    binaryOutput_ = binary ? 1 : 0;
    if (!handle) {
      open_ = 0;
      return false;
    }
    PushFile(handle, name);
  }
  open_ = 1;
  reading_ = 0;
  return true;
}

bool TextFile::OpenForAppend(const char* name, int fallBackToWrite) {
  if (!name || !*name || IsFileOpen(name)) return false;
  std::FILE* handle = std::fopen(name, "a");
  if (!handle) {
    if (fallBackToWrite) return OpenForWrite(name, 0, 0);
    open_ = 0;
    return false;
  }
  PushFile(handle, name);
  open_ = 1;
  reading_ = 0;
  linesRead_ = 0;
  return true;
}

bool TextFile::OpenForRead(const char* name, int binary) {
  if (source_) {
    open_ = 1;
    reading_ = 1;
    return true;
  }
  if (!name || !*name || IsFileOpen(name)) return false;
  std::FILE* handle = std::fopen(name, binary ? "rb" : "r");
  if (!handle) {
    // An include that cannot be opened leaves its includer open.
    open_ = handles_.empty() ? 0 : 1;
    linesRead_ = 0;
    return false;
  }
  if (handles_.empty()) {
    // A fresh input: the encoding of an earlier file does not carry over.
    utf16LE_ = utf16BE_ = utf8_ = 0;
    sevenBit_ = 1;
  }
  PushFile(handle, name);
  open_ = 1;
  reading_ = 1;
  linesRead_ = 0;
  firstLine_ = true;
  return true;
}

bool TextFile::ReopenTop(const char* name) {
  PopFile();
  ++reopenCount_;
  if (reopenCount_ > kMaxReopens) return false;
  return OpenForRead(name, 0);
}

bool TextFile::ReadLine(TextString& out, int* overLong) {
  if (!ReadNextLine(overLong)) return false;
  out.Assign(GetLastLine());
  return true;
}

const char* TextFile::GetLastLine() const {
  const StringListEntry* newest = recentLines_.GetItem(recentLines_.GetCount() - 1);
  return newest ? newest->text.GetText() : "";
}

const char* TextFile::GetRecentLine(int n) const {
  const StringListEntry* entry = recentLines_.GetItem(n - 1);
  return entry ? entry->text.GetText() : nullptr;
}

void TextFile::KeepLine(const char* text) {
  recentLines_.Append(text);
  // Trimming in blocks keeps the cost per line constant.
  if (recentLines_.GetCount() > keepLimit_) recentLines_.RemoveRange(0, trimEnd_);
}

int TextFile::NextByte() {
  InputBuffer& in = inputBuffers_.back();
  if (in.begin < in.end) return static_cast<unsigned char>(in.bytes[in.begin++]);
  // Refill, keeping the last bytes taken in front for UnreadByte.
  const int keep = in.end < InputBuffer::kKeep ? in.end : InputBuffer::kKeep;
  std::memmove(in.bytes.get(), in.bytes.get() + in.end - keep, static_cast<std::size_t>(keep));
  const std::size_t got = std::fread(in.bytes.get() + keep, 1, InputBuffer::kSize, handles_.back());
  in.begin = keep;
  in.end = keep + static_cast<int>(got);
  if (got == 0) return EOF;
  return static_cast<unsigned char>(in.bytes[in.begin++]);
}

bool TextFile::ReadPlainLine(int* overLong) {
  char* buffer = PrepareBuffer(lineBuffer_);
  int length = 0;
  bool readAny = false;
  bool reachedEnd = false;
  *overLong = 0;
  while (length < kMaxRead) {
    // The bytes of the line up to its end or the buffer's are taken straight from the read
    // buffer; a line end, a CR and a refill take the byte road below.
    InputBuffer& in = inputBuffers_.back();
    const char* bytes = in.bytes.get();
    const int from = in.begin;
    const int stop = std::min(in.end, from + (kMaxRead - length));
    int at = from;
    for (; at < stop; ++at) {
      const char b = bytes[at];
      if (b == '\n' || b == '\r') break;
      buffer[length++] = b == 0 ? ' ' : b;
    }
    in.begin = at;
    if (at > from) readAny = true;
    if (length == kMaxRead) break;
    int c = NextByte();
    if (c == EOF) break;
    readAny = true;
    if (c == '\r') {
      // A CR LF pair ends the line like a lone LF; any other CR stays in the line.
      const int following = NextByte();
      if (following == '\n') {
        c = '\n';
      } else if (following != EOF) {
        UnreadByte();
      }
    }
    if (c == '\n') {
      reachedEnd = true;
      break;
    }
    buffer[length++] = c == 0 ? ' ' : static_cast<char>(c);
  }
  if (!readAny) return false;
  if (!reachedEnd && length == kMaxRead) {
    // Only a line that really goes on is a piece: a last line of exactly the maximum
    // length without a line end must not wait for a piece that never comes.
    const int following = NextByte();
    if (following != EOF) {
      UnreadByte();
      *overLong = 1;
    }
  }
  buffer[length] = '\0';
  lineBuffer_.SetLength(length);
  return true;
}

bool TextFile::ReadEncodedLine(int* overLong) {
  char* buffer = PrepareBuffer(lineBuffer_);
  const bool utf16 = IsUtf16();
  int length = 0;
  bool reachedEnd = false;
  *overLong = 0;
  while (length < kMaxRead) {
    const int c = NextByte();
    if (c == EOF) break;
    buffer[length++] = static_cast<char>(c);
    if (!utf16) {
      if (c == '\n') {
        reachedEnd = true;
        break;
      }
      continue;
    }
    // UTF-16 lines end after the unit 0x000A, in the byte order of the file.
    if (length % 2 != 0) continue;
    const char low = utf16LE_ ? buffer[length - 2] : buffer[length - 1];
    const char high = utf16LE_ ? buffer[length - 1] : buffer[length - 2];
    if (low == '\n' && high == 0) {
      reachedEnd = true;
      break;
    }
  }
  if (length == 0) return false;
  // Lines end on whole units, so only the end of the file can leave half of one.
  if (utf16 && length % 2 != 0) notices_ |= kNoticeStrayByte;
  if (!reachedEnd && length == kMaxRead) {
    // A CR that fills the piece is followed by its LF: the line ends here after all.
    const int unit = utf16 ? 2 : 1;
    const auto unitAt = [&](const char* bytes) {
      const auto low = static_cast<unsigned char>(utf16LE_ ? bytes[0] : bytes[1]);
      const auto high = static_cast<unsigned char>(utf16LE_ ? bytes[1] : bytes[0]);
      return (high << 8) | low;
    };
    const int lastUnit = utf16 ? unitAt(buffer + length - 2) : 0;
    const bool crLast = utf16 ? lastUnit == '\r' : buffer[length - 1] == '\r';
    char next[2] = {};
    int got = 0;
    for (int c = 0; got < unit && (c = NextByte()) != EOF;) next[got++] = static_cast<char>(c);
    const bool lineFeedNext =
        got == unit && (utf16 ? unitAt(next) == '\n' : next[0] == '\n');
    // Each piece is converted on its own: the two halves of a surrogate pair stay together.
    const bool pairSplit = utf16 && got == unit && IsHighSurrogate(lastUnit) &&
                           IsLowSurrogate(unitAt(next));
    if (crLast && lineFeedNext) {
      for (int i = 0; i < unit; ++i) buffer[length++] = next[i];
    } else if (pairSplit) {
      for (int i = 0; i < unit; ++i) buffer[length++] = next[i];
      // The line goes on unless the file ends right after the pair.
      if (NextByte() != EOF) {
        UnreadByte();
        *overLong = 1;
      }
    } else if (got > 0) {
      for (int i = 0; i < got; ++i) UnreadByte();
      *overLong = 1;
    }
  }
  buffer[length] = '\0';
  lineBuffer_.SetLength(length);
  return true;
}

// Removes the line end (LF or CR LF, as bytes or as UTF-16 units) from the end of line.
static void DropLineEnd(TextString& line, int unitSize, int bigEndian) {
  const auto endsWithUnit = [&](char c) {
    const int n = line.GetLength();
    if (n < unitSize) return false;
    if (unitSize == 1) return line.CharAt(n - 1) == c;
    const char low = bigEndian ? line.CharAt(n - 1) : line.CharAt(n - 2);
    const char high = bigEndian ? line.CharAt(n - 2) : line.CharAt(n - 1);
    return low == c && high == 0;
  };
  if (!endsWithUnit('\n')) return;
  line.SetLength(line.GetLength() - unitSize);
  if (endsWithUnit('\r')) line.SetLength(line.GetLength() - unitSize);
}

bool TextFile::DetectByteOrderMark() {
  const Mark mark = ByteOrderMarkOf(lineBuffer_);
  if (mark == Mark::None) return false;
  utf16LE_ = mark == Mark::Utf16LE ? 1 : 0;
  utf16BE_ = mark == Mark::Utf16BE ? 1 : 0;
  utf8_ = mark == Mark::Utf8 ? 1 : 0;
  std::rewind(handles_.back());
  inputBuffers_.back().begin = inputBuffers_.back().end = 0;
  return true;
}

bool TextFile::ReadNextLine(int* overLong) {
  int localOverLong = 0;
  int* flag = overLong ? overLong : &localOverLong;
  *flag = 0;
  if (!reading_) return false;
  if (source_) {
    if (sourcePosition_ < 0 || sourcePosition_ >= static_cast<int>(source_->size())) return false;
    const Statement* item = (*source_)[sourcePosition_++];
    KeepLine(item ? item->GetText() : "");
    ++linesRead_;
    return true;
  }

  bool markPending = false;
  for (;;) {
    if (handles_.empty()) return false;
    bool gotLine = false;
    if (IsUtf16() || utf8_ || raw_) {
      gotLine = ReadEncodedLine(flag);
    } else {
      gotLine = ReadPlainLine(flag);
      if (gotLine && firstLine_) {
        firstLine_ = false;
        if (DetectByteOrderMark()) {
          markPending = true;
          continue;
        }
      }
    }
    firstLine_ = false;
    if (gotLine) break;
    // An included file has ended: go on with its includer.
    if (GetFileCount() <= 1) return false;
    PopFile();
  }

  if (IsUtf16()) {
    DropLineEnd(lineBuffer_, 2, utf16BE_);
    if (markPending) lineBuffer_.KeepFrom(2);
    if (!lineBuffer_.Utf16ToUtf8(utf16BE_)) sevenBit_ = 0;
    BlankNulBytes(lineBuffer_.GetBuffer(), lineBuffer_.GetLength());
  } else if (utf8_ || raw_) {
    DropLineEnd(lineBuffer_, 1, 0);
    if (utf8_) {
      sevenBit_ = 0;
      if (markPending) lineBuffer_.KeepFrom(3);
    }
    BlankNulBytes(lineBuffer_.GetBuffer(), lineBuffer_.GetLength());
  }
  KeepLine(lineBuffer_.GetText());
  ++linesRead_;
  return true;
}

bool TextFile::WriteString(const TextString& text) { return WriteText(text.GetText()); }

bool TextFile::WriteText(const char* text) { return WriteLine(this, text); }

bool WriteLine(TextFile* file, const char* text) {
  return WriteLineUnflushed(file, text) && FlushLines(file);
}

bool FlushLines(TextFile* file) {
  if (!file) return false;
  if (file->GetSink()) return true;
  if (file->IsConsole()) return std::fflush(stdout) == 0;
  std::FILE* handle = file->GetTopHandle();
  if (!file->IsOpen() || !handle) return false;
  return std::fflush(handle) == 0 && !std::ferror(handle);
}

bool WriteLineUnflushed(TextFile* file, const char* text) {
  if (!file) return false;
  const char* line = text ? text : "";
  if (StringList* sink = file->GetSink()) {
    sink->Append(line);
    return true;
  }
  if (file->IsConsole())
    return std::fputs(line, stdout) >= 0 && std::fputc('\n', stdout) != EOF;
  std::FILE* handle = file->GetTopHandle();
  if (!file->IsOpen() || !handle) return false;
  return std::fputs(line, handle) >= 0 && std::fputc('\n', handle) != EOF;
}
