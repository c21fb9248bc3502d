#include "rtf/RtfCharacters.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "text/CharacterUtils.h"

// The box-drawing characters of code page 437, bytes 0xB3-0xDA in order: the Unicode code
// point and the single-byte fallback.
struct BoxDrawingRow {
  int codePoint;
  char fallback;
};
static constexpr unsigned char kFirstBoxByte = 0xB3;
static constexpr BoxDrawingRow kBoxDrawing[] = {
    {9474, '\xA6'}, {9508, '\xA6'}, {9569, '\xA6'}, {9570, '\xA6'},  // B3-B6
    {9558, '\xA6'}, {9557, '+'},    {9571, '\xA6'}, {9553, '\xA6'},  // B7-BA
    {9559, '+'},    {9565, '+'},    {9564, '+'},    {9563, '+'},     // BB-BE
    {9488, '+'},    {9492, '+'},    {9524, '-'},    {9516, '-'},     // BF-C2
    {9500, '+'},    {9472, '-'},    {9532, '+'},    {9566, '\xA6'},  // C3-C6
    {9567, '\xA6'}, {9562, '+'},    {9556, '+'},    {9577, '-'},     // C7-CA
    {9574, '\xA6'}, {9568, '\xA6'}, {9552, '-'},    {9580, '\xA6'},  // CB-CE
    {9575, '-'},    {9576, '-'},    {9572, '-'},    {9573, '-'},     // CF-D2
    {9561, '+'},    {9560, '&'},    {9554, '+'},    {9555, '+'},     // D3-D6
    {9579, '+'},    {9578, '+'},    {9496, '+'},    {9484, '+'},     // D7-DA
};
static_assert(std::size(kBoxDrawing) == 0xDA - 0xB3 + 1, "one row per box-drawing byte");

// Windows-1252 bytes 0x80-0x9F and the characters they hold (0 where the code page has none).
static constexpr int kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

int Windows1252Byte(int codePoint) {
  if (codePoint >= 0xA0 && codePoint <= 0xFF)
    return codePoint;
  for (int i = 0; i < 32; ++i) {
    if (kWindows1252High[i] != 0 && kWindows1252High[i] == codePoint)
      return 0x80 + i;
  }
  return 0;
}

static void AppendHexEscape(TextString& out, int byte) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\'%02x", byte & 0xFF);
  out.Append(hex);
}

// "\u" + the code read as a signed 16-bit number.
static void AppendUnicodeEscape(TextString& out, int unit) {
  out.Append("\\u");
  out.AppendNumber('1', unit > 32767 ? unit - 65536 : unit, 0);
}

void MapBoxDrawing(TextString& text, TextString& work) {
  const int length = text.GetLength();
  int first = 0;
  while (first < length && OemBoxDrawingByte(static_cast<unsigned char>(text.CharAt(first))) == 0)
    ++first;
  if (first == length)
    return;
  work.SetEmpty();
  work.Reserve(length + 16);
  work.AssignSubstring(text.GetText(), 0, first);
  for (int i = first; i < length; ++i) {
    const char c = text.CharAt(i);
    const int box = OemBoxDrawingByte(static_cast<unsigned char>(c));
    if (box == 0) {
      work.AppendChar(c);
      continue;
    }
    const BoxDrawingRow& row = kBoxDrawing[box - kFirstBoxByte];
    AppendUnicodeEscape(work, row.codePoint);
    AppendHexEscape(work, static_cast<unsigned char>(row.fallback));
  }
  std::swap(text, work);
}

static void AppendCharacter(TextString& out, int codePoint) {
  if (codePoint > 0xFFFF) {
    const int offset = codePoint - 0x10000;
    AppendUnicodeEscape(out, 0xD800 + (offset >> 10));
    out.AppendChar('?');
    AppendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
    out.AppendChar('?');
    return;
  }
  AppendUnicodeEscape(out, codePoint);
  const int byte = Windows1252Byte(codePoint);
  if (byte == 0) {
    out.AppendChar('?');
    return;
  }
  AppendHexEscape(out, byte);
}

void EscapeUtf8Characters(TextString& text, TextString& work) {
  const int length = text.GetLength();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.GetText());
  int first = 0;
  while (first < length && bytes[first] < 0x80)
    ++first;
  if (first == length)
    return;
  work.SetEmpty();
  work.Reserve(length + length / 2 + 16);
  work.AssignSubstring(text.GetText(), 0, first);
  for (int i = first; i < length;) {
    if (bytes[i] < 0x80) {
      work.AppendChar(static_cast<char>(bytes[i]));
      ++i;
      continue;
    }
    int codePoint = 0;
    const int used = DecodeUtf8Sequence(bytes + i, length - i, codePoint);
    if (used == 0) {
      AppendHexEscape(work, bytes[i]);
      ++i;
      continue;
    }
    AppendCharacter(work, codePoint);
    i += used;
  }
  std::swap(text, work);
}
