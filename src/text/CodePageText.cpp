#include "text/CodePageText.h"

#include <cstdint>
#include <iterator>

#include "text/CharacterUtils.h"

// Code points of bytes 0x80-0x9F of Windows-1252; from 0xA0 byte and code point agree.
static constexpr std::uint16_t kWindows1252High[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
static_assert(std::size(kWindows1252High) == 32, "bytes 0x80-0x9F");

// Code points of bytes 0x80-0xBF of Windows-1251; 0xC0-0xFF are U+0410-U+044F in order.
static constexpr std::uint16_t kWindows1251High[] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
static_assert(std::size(kWindows1251High) == 64, "bytes 0x80-0xBF");

static int CodePoint(unsigned char byte, int codePage) {
  if (byte < 0x80)
    return byte;
  if (codePage == 1251)
    return byte >= 0xC0 ? 0x0410 + (byte - 0xC0) : kWindows1251High[byte - 0x80];
  return byte >= 0xA0 ? byte : kWindows1252High[byte - 0x80];
}

static void AppendUtf8(std::string& out, int codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
    return;
  }
  if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    return;
  }
  out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
  out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
}

void AppendCodePageByteAsUtf8(std::string& out, unsigned char byte, int codePage) {
  AppendUtf8(out, CodePoint(byte, codePage));
}

std::string CodePageToUtf8(std::string_view text, int codePage) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text)
    AppendUtf8(out, CodePoint(static_cast<unsigned char>(c), codePage));
  return out;
}

// The byte of codePage that shows codePoint; 0 when the code page has none.
static unsigned char ByteOf(int codePoint, int codePage) {
  if (codePoint < 0x80)
    return static_cast<unsigned char>(codePoint);
  if (codePage == 1251) {
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
      return static_cast<unsigned char>(0xC0 + (codePoint - 0x0410));
    for (std::size_t i = 0; i < std::size(kWindows1251High); ++i) {
      if (kWindows1251High[i] == codePoint)
        return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
  }
  if (codePoint >= 0xA0 && codePoint <= 0xFF)
    return static_cast<unsigned char>(codePoint);
  for (std::size_t i = 0; i < std::size(kWindows1252High); ++i) {
    if (kWindows1252High[i] == codePoint)
      return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

bool IsUtf8BeyondAscii(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const int n = static_cast<int>(text.size());
  bool beyondAscii = false;
  for (int at = 0; at < n;) {
    if (p[at] < 0x80) {
      ++at;
      continue;
    }
    int codePoint = 0;
    const int length = DecodeUtf8Sequence(p + at, n - at, codePoint);
    if (length == 0)
      return false;
    beyondAscii = true;
    at += length;
  }
  return beyondAscii;
}

bool Utf8ToCodePage(std::string_view text, int codePage, std::string& out) {
  out.clear();
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const int n = static_cast<int>(text.size());
  bool complete = true;
  for (int at = 0; at < n;) {
    if (p[at] < 0x80) {
      out.push_back(static_cast<char>(p[at++]));
      continue;
    }
    int codePoint = 0;
    const int length = DecodeUtf8Sequence(p + at, n - at, codePoint);
    const unsigned char byte = length == 0 ? 0 : ByteOf(codePoint, codePage);
    at += length == 0 ? 1 : length;
    if (byte == 0) {
      out.push_back('?');
      complete = false;
      continue;
    }
    out.push_back(static_cast<char>(byte));
  }
  return complete;
}
