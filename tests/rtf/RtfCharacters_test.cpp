#include "rtf/RtfCharacters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const TextString& text) { return {text.GetText(), static_cast<size_t>(text.GetLength())}; }

struct Case {
  const char* input;
  const char* expected;
};

}  // namespace

TEST(EscapeUtf8Characters, WritesUnicodeEscapesWithAFallback) {
  const Case kCases[] = {
      // nothing to do
      {"plain ASCII {\\par}", "plain ASCII {\\par}"},
      {"", ""},
      // Windows-1252 has the character: its byte is the fallback
      {"caf\xC3\xA9", "caf\\u233\\'e9"},
      {"\xC2\xA0", "\\u160\\'a0"},
      {"\xE2\x82\xAC", "\\u8364\\'80"},
      {"\xC5\x92", "\\u338\\'8c"},
      // no single-byte form
      {"\xCE\xA9", "\\u937?"},
      {"\xE4\xB8\xAD\xE6\x96\x87", "\\u20013?\\u25991?"},
      // codes above 32767 are negative 16-bit numbers
      {"\xEF\xBF\xBD", "\\u-3?"},
      {"\xEF\xBF\xBF", "\\u-1?"},
      // beyond the Basic Multilingual Plane: a surrogate pair
      {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},
      {"\xF4\x8F\xBF\xBF", "\\u-9217?\\u-8193?"},
      // bytes of no valid sequence stay, as Windows-1252 bytes
      {"caf\xE9 ok", "caf\\'e9 ok"},
      {"end\xC3", "end\\'c3"},
      {"\xC0\x80", "\\'c0\\'80"},          // overlong
      {"\xED\xA0\x80", "\\'ed\\'a0\\'80"},  // a surrogate code
      {"\xF4\x90\x80\x80", "\\'f4\\'90\\'80\\'80"},  // above U+10FFFF
  };
  TextString work;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.input);
    TextString text(c.input);
    EscapeUtf8Characters(text, work);
    EXPECT_EQ(Bytes(text), c.expected);
  }
}

TEST(Windows1252Byte, KnowsTheCodePageAndNothingElse) {
  struct Row {
    int codePoint;
    int byte;
  };
  constexpr Row kRows[] = {{0xE9, 0xE9},   {0xA0, 0xA0},   {0xFF, 0xFF},   {0x20AC, 0x80},
                           {0x0178, 0x9F}, {0x2122, 0x99}, {0x9F, 0},      {0x7F, 0},
                           {0x0100, 0},    {0x4E2D, 0},    {0x1F600, 0}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.codePoint);
    EXPECT_EQ(Windows1252Byte(row.codePoint), row.byte);
  }
}

TEST(MapBoxDrawing, WritesBoxDrawingAsUnicodeWithItsFallback) {
  const Case kCases[] = {
      {"\xB3", "\\u9474\\'a6"},
      {"\xDA", "\\u9484\\'2b"},
      {"\xD4", "\\u9560\\'26"},
      {"\xCD", "\\u9552\\'2d"},
      {"a\xB3 b", "a\\u9474\\'a6 b"},
      // marked box drawing (a horizontal line, a double corner)
      {"\x9D\x81", "\\u9472\\'2d\\u9559\\'2b"},
      // letters whose bytes box drawing is marked away from stay letters
      {"\xC4\xC9\xC7\xD6", "\xC4\xC9\xC7\xD6"},
      // nothing of code page 437 box drawing
      {"plain \xE9", "plain \xE9"},
  };
  TextString work;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.input);
    TextString text(c.input);
    MapBoxDrawing(text, work);
    EXPECT_EQ(Bytes(text), c.expected);
  }
}

TEST(MapBoxDrawing, EveryBoxDrawingCharacterOfCodePage437) {
  // The box-drawing characters of code page 437, bytes 0xB3-0xDA.
  const char32_t kUnicode[] = U"│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌";
  TextString work;
  for (int byte = 0xB3; byte <= 0xDA; ++byte) {
    SCOPED_TRACE(byte);
    TextString source(std::string(1, static_cast<char>(byte)).c_str());
    source.ConvertOemCharacters(0, 0, 0, nullptr, 1);
    MapBoxDrawing(source, work);
    const std::string expected = "\\u" + std::to_string(kUnicode[byte - 0xB3]) + "\\'";
    EXPECT_EQ(Bytes(source).substr(0, expected.size()), expected);
    EXPECT_EQ(source.GetLength(), static_cast<int>(expected.size()) + 2);
  }
}
