#include "text/CharacterUtils.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <string_view>

#include "platform/LocalTime.h"

static bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

int DecodeUtf8Sequence(const unsigned char* p, int n, int& codePoint) {
  if (n <= 0)
    return 0;
  const unsigned char lead = p[0];
  int extra = 0;
  int minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    minimum = 0x80;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    minimum = 0x800;
    codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    minimum = 0x10000;
    codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (n <= extra)
    return 0;
  for (int k = 1; k <= extra; ++k) {
    if (!IsUtf8Continuation(p[k]))
      return 0;
    codePoint = (codePoint << 6) | (p[k] & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return extra + 1;
}

int FormatDottedQuad(double value, TextString& out) {
  out.SetEmpty();
  constexpr double kByte3 = 16777216.0;  // 2^24
  constexpr double kByte2 = 65536.0;
  constexpr double kByte1 = 256.0;
  const double top = std::trunc(value / kByte3);
  // Also refuses NaN before anything is converted to int.
  if (!(top > 0.0 && top < 512.0))
    return 0;
  double rest = value - top * kByte3;
  const double second = std::trunc(rest / kByte2);
  rest -= second * kByte2;
  const double third = std::trunc(rest / kByte1);
  rest -= third * kByte1;
  const double fourth = std::trunc(rest);
  int first = static_cast<int>(top);
  if (first >= 256)
    first -= 256;
  out.AppendNumber('1', first, 0);
  out.AppendChar('.');
  out.AppendNumber('1', static_cast<int>(second), 0);
  out.AppendChar('.');
  out.AppendNumber('1', static_cast<int>(third), 0);
  out.AppendChar('.');
  out.AppendNumber('1', static_cast<int>(fourth), 0);
  return 1;
}

static constexpr const char* kMonthNames[] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

void FormatDate(const LocalDateTime& date, TextString& out) {
  out.SetEmpty();
  out.AppendNumber('1', date.day, 0);
  out.AppendChar('-');
  const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
  char abbreviation[4] = {};
  std::memcpy(abbreviation, kMonthNames[month - 1], 3);
  out.Append(abbreviation);
  out.AppendChar('-');
  out.AppendNumber('1', date.year, 0);
}

void FormatCurrentDate(TextString& out) { FormatDate(CurrentLocalTime(), out); }

int CentimetresToTwips(const TextString& text, int& twips) {
  double centimetres = 0.0;
  if (!text.ParseDouble(&centimetres))
    return 0;
  const double value = std::trunc(centimetres / 2.54 * 1440.0 + 0.5);
  // Out of range (or NaN) would make the conversion undefined.
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  if (!(value >= kLow && value <= kHigh))
    return 0;
  twips = static_cast<int>(value);
  return 1;
}

struct LanguageRow {
  std::string_view name;  // compared with case ignored; spellings as users write them
  int code;
};

static constexpr LanguageRow kLanguages[] = {
    {"English (United Kingdom)", 2057},
    {"English (United States)", 1033},
    {"No language", 1024},
    {"Afrikaans", 1078},
    {"Albanian", 1052},
    {"Basque", 1069},
    {"Belarusian", 1059},
    {"Bulgarian", 1026},
    {"Catalan", 1027},
    {"Croatian", 1050},
    {"Czech", 1029},
    {"Danish", 1030},
    {"Dutch (Belgian)", 2067},
    {"Dutch (Standard)", 1043},
    {"English (Australia)", 3081},
    {"English (Canada)", 4105},
    {"English (Carribean)", 9225},
    {"English (Ireland)", 6153},
    {"English (Jamaica)", 8201},
    {"English (New Zealand)", 5129},
    {"English (South Africa)", 7177},
    {"Estonian", 1061},
    {"Finnish", 1035},
    {"French (Belgian)", 2060},
    {"French (Canadia)", 3084},
    {"French (Luxembourg)", 5132},
    {"French (Standard)", 1036},
    {"French (Swiss)", 4108},
    {"German (Austria)", 3079},
    {"German (Liechtenstein)", 5127},
    {"German (Luxembourg)", 4103},
    {"German (Standard)", 1031},
    {"Spanish (Honduras)", 18442},
    {"Spanish (International Sort)", 3082},
    {"Spanish (Mexico)", 2058},
    {"Spanish (Nicaragua)", 19466},
    {"Spanish (Panama)", 6154},
    {"Spanish (Venezuela)", 8202},
    {"Turkish", 1055},
    {"German (Swiss)", 2055},
    {"Greek", 1032},
    {"Hungarian", 1038},
    {"Icelandic", 1039},
    {"Indonesian", 1057},
    {"Italian (Standard)", 1040},
    {"Italian (Swiss)", 2064},
    {"Japanese", 1033},
    {"Korean", 1033},
    {"Latvian", 1062},
    {"Lithuanian", 1063},
    {"Macedonian (FYROM)", 1071},
    {"Malay (Malaysia)", 1086},
    {"Norwegian (Bokmal)", 1044},
    {"Norwegian (Nynorsk)", 2068},
    {"Polish", 1045},
    {"Portuguese (Brazilian)", 1046},
    {"Portuguese (Standard)", 2070},
    {"Romanian", 1048},
    {"Russian", 1049},
    {"Serbian (Cyrillic)", 3098},
    {"Slovak", 1051},
    {"Slovenian", 1060},
    {"Spanish (Argentina)", 11274},
    {"Spanish (Bolivia)", 16394},
    {"Spanish (Chile)", 13322},
    {"Spanish (Colombia)", 9226},
    {"Spanish (Costa Rica)", 5130},
    {"Spanish (Dominican Republic)", 7178},
    {"Spanish (Ecuador)", 12298},
    {"Spanish (El Salvador)", 17418},
    {"Spanish (Guatemala)", 4106},
    {"Spanish (Paraguay)", 15370},
    {"Spanish (Peru)", 10250},
    {"Spanish (Peurto Rico)", 20490},
    {"Spanish (Traditional Sort)", 1034},
    {"Spanish (Uruguay)", 14346},
    {"Swedish", 1053},
    {"Ukrainian", 1058},
};

int GetLanguageCode(const TextString& name, int& code) {
  for (const LanguageRow& row : kLanguages) {
    if (static_cast<int>(row.name.size()) != name.GetLength())
      continue;
    if (CompareChars(row.name.data(), name.GetText(), name.GetLength(), 1) != 0)
      continue;
    code = row.code;
    return 1;
  }
  code = 1033;
  return 0;
}

struct AnsiRow {
  int codePoint;
  const char* bytes;  // 1 to 4 bytes of Windows-1252 text
};

// Sorted by code point for the binary search.
static constexpr AnsiRow kAnsiRows[] = {
    {338, "\x8C"},
    {339, "\x9C"},
    {352, "\x8A"},
    {353, "\x9A"},
    {376, "\x9F"},
    {381, "\x8E"},
    {382, "\x9E"},
    {402, "f"},
    {710, "\x88"},
    {732, "\x98"},
    {924, "\xB5"},
    {925, "\xB5"},
    {8194, " "},
    {8195, "  "},
    {8208, "-"},
    {8209, "-"},
    {8211, "-"},
    {8212, "--"},
    {8214, "||"},
    {8216, "`"},
    {8217, "'"},
    {8218, "'"},
    {8220, "\""},
    {8221, "\""},
    {8222, "\""},
    {8224, "\x86"},
    {8225, "\x87"},
    {8226, "\xB7"},
    {8230, "\x85"},
    {8240, "\x89"},
    {8242, "'"},
    {8243, "\""},
    {8249, "<"},
    {8250, ">"},
    {8260, "/"},
    {8352, "E"},
    {8355, "F"},
    {8356, "\xA3"},
    {8360, "Rp"},
    {8361, "W"},
    {8364, "E"},
    {8465, "I"},
    {8472, "P"},
    {8476, "R"},
    {8482, "-TM-"},
    {8531, "1/3"},
    {8532, "2/3"},
    {8533, "1/5"},
    {8534, "2/5"},
    {8535, "3/5"},
    {8536, "4/5"},
    {8539, "1/8"},
    {8540, "3/8"},
    {8541, "5/8"},
    {8542, "7/8"},
    {8560, "i"},
    {8561, "ii"},
    {8562, "iii"},
    {8563, "iv"},
    {8564, "v"},
    {8565, "vi"},
    {8566, "vii"},
    {8567, "viii"},
    {8568, "ix"},
    {8569, "x"},
    {8570, "xi"},
    {8571, "xii"},
    {8572, "l"},
    {8573, "c"},
    {8574, "cl"},
    {8575, "m"},
    {8576, "CD"},
    {8592, "<-"},
    {8594, "->"},
    {8596, "<-"},
    {8722, "-"},
    {8727, "*"},
    {8764, "~"},
    {8901, "\xB7"},
};

static constexpr bool IsSortedByCodePoint() {
  for (std::size_t i = 1; i < std::size(kAnsiRows); ++i) {
    if (kAnsiRows[i - 1].codePoint >= kAnsiRows[i].codePoint)
      return false;
  }
  return true;
}
static_assert(IsSortedByCodePoint(), "kAnsiRows must stay sorted and unique");

struct Utf8Row {
  unsigned char lead;    // C2 or C3
  unsigned char second;  // the continuation byte
  const char* bytes;
};

static constexpr Utf8Row kTwoByteRows[] = {
    {0xC2, 0x95, "o"},  {0xC2, 0x96, "-"}, {0xC2, 0x97, "--"}, {0xC2, 0xA0, " "},
    {0xC2, 0xA6, ":"},  {0xC2, 0xAD, "-"}, {0xC2, 0xB4, "'"},  {0xC3, 0xBF, "\xFD"},
};

// Third bytes after E2 80.
static constexpr Utf8Row kThreeByteRows[] = {
    {0x80, 0x93, "-"},  {0x80, 0x94, "--"}, {0x80, 0x98, "`"},    {0x80, 0x99, "'"},
    {0x80, 0x9C, "\""}, {0x80, 0x9D, "\""}, {0x80, 0xA2, "\xB7"},
};

static const char* FindUtf8Replacement(int byte1, int byte2, int byte3) {
  if (byte1 == 0xE2) {
    for (const Utf8Row& row : kThreeByteRows) {
      if (row.lead == byte2 && row.second == byte3)
        return row.bytes;
    }
    return nullptr;
  }
  for (const Utf8Row& row : kTwoByteRows) {
    if (row.lead == byte1 && row.second == byte2)
      return row.bytes;
  }
  return nullptr;
}

bool MapUnicodeToAnsi(int codePoint, int& byte1, int& byte2, int& byte3, int& byte4,
                      int& count) {
  const int in1 = byte1;
  const int in2 = byte2;
  const int in3 = byte3;
  byte1 = byte2 = byte3 = byte4 = 0;
  count = 0;

  const char* bytes = nullptr;
  const AnsiRow* row = std::lower_bound(
      std::begin(kAnsiRows), std::end(kAnsiRows), codePoint,
      [](const AnsiRow& r, int cp) { return r.codePoint < cp; });
  if (row != std::end(kAnsiRows) && row->codePoint == codePoint)
    bytes = row->bytes;
  else
    bytes = FindUtf8Replacement(in1, in2, in3);
  if (bytes == nullptr)
    return false;

  int* outputs[] = {&byte1, &byte2, &byte3, &byte4};
  for (int i = 0; i < 4 && bytes[i] != '\0'; ++i) {
    *outputs[i] = static_cast<unsigned char>(bytes[i]);
    ++count;
  }
  return true;
}
