#include "text/CharacterUtils.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/LocalTime.h"

namespace {

TEST(FormatDottedQuad, FormatsTheFourBytes) {
  const struct {
    double value;
    int result;
    const char* text;
  } kCases[] = {
      {3232235777.0, 1, "192.168.1.1"},
      {16777216.0, 1, "1.0.0.0"},
      {16777215.0, 0, ""},  // below 2^24
      {4294967295.0, 1, "255.255.255.255"},
      {4294967296.0, 1, "0.0.0.0"},  // top part 256 is taken less 256
      {512.0 * 16777216.0, 0, ""},
      {-5.0, 0, ""},
      {std::nan(""), 0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    TextString out("old");
    EXPECT_EQ(FormatDottedQuad(c.value, out), c.result);
    EXPECT_STREQ(out.GetText(), c.text);
  }
}

TEST(FormatDate, DayMonthAbbreviationYear) {
  LocalDateTime date;
  date.year = 2024;
  date.month = 3;
  date.day = 7;
  TextString out;
  FormatDate(date, out);
  EXPECT_STREQ(out.GetText(), "7-Mar-2024");
  date.month = 12;
  date.day = 31;
  FormatDate(date, out);
  EXPECT_STREQ(out.GetText(), "31-Dec-2024");
  FormatCurrentDate(out);
  EXPECT_GE(out.GetLength(), 10);  // d-Mmm-yyyy at least
}

TEST(CentimetresToTwips, RoundsHalfUpAndRejectsNonNumbers) {
  const struct {
    const char* text;
    int result;
    int twips;
  } kCases[] = {
      {"2.54", 1, 1440}, {"1", 1, 567},   {"0", 1, 0},        {"abc", 0, -7},
      {"1cm", 0, -7},    {"1e30", 0, -7},  // a number beyond any twips value is refused
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    int twips = -7;
    EXPECT_EQ(CentimetresToTwips(TextString(c.text), twips), c.result);
    EXPECT_EQ(twips, c.twips);
  }
}

TEST(GetLanguageCode, MatchesNamesIgnoringCase) {
  const struct {
    const char* name;
    int result;
    int code;
  } kCases[] = {
      {"english (united kingdom)", 1, 2057},
      {"English (United States)", 1, 1033},
      {"Spanish (Peurto Rico)", 1, 20490},
      {"FRENCH (CANADIA)", 1, 3084},
      {"Ukrainian", 1, 1058},
      {"None", 0, 1033},
      {"English", 0, 1033},
      {"", 0, 1033},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    int code = -1;
    EXPECT_EQ(GetLanguageCode(TextString(c.name), code), c.result);
    EXPECT_EQ(code, c.code);
  }
}

struct AnsiCase {
  int codePoint;
  int in[4];  // UTF-8 bytes handed in
  bool result;
  int out[4];
  int count;
};

TEST(MapUnicodeToAnsi, GivesSingleByteReplacements) {
  constexpr AnsiCase kCases[] = {
      {8212, {0xE2, 0x80, 0x94, 0}, true, {'-', '-', 0, 0}, 2},
      {8482, {0, 0, 0, 0}, true, {'-', 'T', 'M', '-'}, 4},
      {338, {0, 0, 0, 0}, true, {140, 0, 0, 0}, 1},
      {8567, {0, 0, 0, 0}, true, {'v', 'i', 'i', 'i'}, 4},
      {8195, {0, 0, 0, 0}, true, {' ', ' ', 0, 0}, 2},
      {8901, {0, 0, 0, 0}, true, {183, 0, 0, 0}, 1},
      // No entry of its own: the UTF-8 bytes decide.
      {160, {0xC2, 0xA0, 0, 0}, true, {' ', 0, 0, 0}, 1},
      {255, {0xC3, 0xBF, 0, 0}, true, {253, 0, 0, 0}, 1},
      {8226, {0xE2, 0x80, 0xA2, 0}, true, {183, 0, 0, 0}, 1},
      {8221, {0xE2, 0x80, 0x9D, 0}, true, {'"', 0, 0, 0}, 1},
      {1234, {0xD3, 0x92, 0, 0}, false, {0, 0, 0, 0}, 0},
      {65, {'A', 0, 0, 0}, false, {0, 0, 0, 0}, 0},
  };
  for (const AnsiCase& c : kCases) {
    SCOPED_TRACE(c.codePoint);
    int b1 = c.in[0];
    int b2 = c.in[1];
    int b3 = c.in[2];
    int b4 = c.in[3];
    int count = -1;
    EXPECT_EQ(MapUnicodeToAnsi(c.codePoint, b1, b2, b3, b4, count), c.result);
    EXPECT_EQ(b1, c.out[0]);
    EXPECT_EQ(b2, c.out[1]);
    EXPECT_EQ(b3, c.out[2]);
    EXPECT_EQ(b4, c.out[3]);
    EXPECT_EQ(count, c.count);
  }
}

}  // namespace
