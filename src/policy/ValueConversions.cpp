#include "policy/ValueConversions.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/StatementTypes.h"

// ---- Colours ----

namespace {

struct NamedColour {
  const char* name;
  const char* value;  // upper-case "#RRGGBB"; null for an alias that has no value of its own
};

}  // namespace

static constexpr NamedColour kNamedColours[] = {
    {"Black", "#000000"},  {"Silver", "#C0C0C0"}, {"Gray", "#808080"},   {"White", "#FFFFFF"},
    {"Maroon", "#800000"}, {"Red", "#FF0000"},    {"Purple", "#800080"}, {"Fuchsia", "#FF00FF"},
    {"Green", "#008000"},  {"Lime", "#00FF00"},   {"Olive", "#808000"},  {"Yellow", "#FFFF00"},
    {"Navy", "#000080"},   {"Blue", "#0000FF"},   {"Teal", "#008080"},   {"Aqua", "#00FFFF"},
    // Accepted as a name; its value turns back into Fuchsia.
    {"Magenta", "#FF00FF"},
};
static_assert(std::size(kNamedColours) == 17);

static int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

static bool AreHexDigits(const char* text, int count) {
  for (int i = 0; i < count; ++i) {
    if (HexValue(text[i]) < 0)
      return false;
  }
  return true;
}

static const NamedColour* FindColourName(const TextString& text) {
  for (const NamedColour& colour : kNamedColours) {
    if (text.Compare(colour.name, 0, 0))
      return &colour;
  }
  return nullptr;
}

// The canonical form of a valid "#RRGGBB" value: a colour name or the upper-case value. The
// first name with the value wins, so "#FF00FF" is Fuchsia.
static void CanonicaliseHexValue(TextString& hex) {
  hex.ToUpper();
  for (const NamedColour& colour : kNamedColours) {
    if (!hex.Compare(colour.value, 1, 0))
      continue;
    hex.Assign(colour.name);
    return;
  }
}

bool CanonicaliseColour(const TextString& text, TextString& out) {
  const int length = text.GetLength();
  if (length == 0) {
    out.SetEmpty();
    return true;
  }
  if (text.CharAt(0) == '#') {
    if (length != 7 || !AreHexDigits(text.GetText() + 1, 6)) {
      if (&out != &text)
        out.Assign(text);
      return false;
    }
    TextString hex(text);
    CanonicaliseHexValue(hex);
    out.Assign(hex);
    return true;
  }
  if (FindColourName(text) != nullptr) {
    if (&out != &text)
      out.Assign(text);
    return true;
  }
  if (length == 6 && AreHexDigits(text.GetText(), 6)) {
    TextString hex("#");
    hex.Append(text);
    CanonicaliseHexValue(hex);
    out.Assign(hex);
    return true;
  }
  if (&out != &text)
    out.Assign(text);
  return false;
}

// component x 256, truncated and clamped. The clamp is done on the real value: converting a
// real outside the int range to int is undefined.
static int ColourComponent(double value) {
  const double scaled = value * 256.0;
  if (!(scaled >= 0.0))  // also a NaN
    return 0;
  if (scaled >= 255.0)
    return 255;
  return static_cast<int>(scaled);
}

void RgbToHex(double red, double green, double blue, TextString& out) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02X%02X%02X", ColourComponent(red),
                ColourComponent(green), ColourComponent(blue));
  out.Assign(digits);
}

// Reads "r,g,b" into "#RRGGBB"; each component is read only when the one before it read.
static bool ReadRgbTriple(const TextString& text, TextString& colour) {
  double parts[3] = {0.0, 0.0, 0.0};
  TextString field;
  for (int k = 0; k < 3; ++k) {
    if (!text.GetField(k + 1, ',', field))
      return false;
    field.Trim();
    if (field.IsEmpty() || !field.ParseDouble(&parts[k]))
      return false;
  }
  TextString hex;
  RgbToHex(parts[0], parts[1], parts[2], hex);
  colour.Assign("#");
  colour.Append(hex);
  return true;
}

bool ParseColourSpec(const TextString& text, TextString& out) {
  TextString colour;
  if (text.ContainsChar(',')) {
    if (!ReadRgbTriple(text, colour))
      return false;
  } else {
    colour.Assign(text);
  }
  return CanonicaliseColour(colour, out);
}

bool ColourToRgb(const TextString& text, int& red, int& green, int& blue) {
  red = green = blue = 0;
  TextString colour;
  if (!ParseColourSpec(text, colour))
    return false;
  const char* hex = colour.GetText();
  if (const NamedColour* named = FindColourName(colour); named != nullptr)
    hex = named->value;
  if (hex[0] == '#')
    ++hex;
  // An empty colour has no digits: it stays black.
  if (!AreHexDigits(hex, 6))
    return true;
  int* components[] = {&red, &green, &blue};
  for (int k = 0; k < 3; ++k)
    *components[k] = HexValue(hex[2 * k]) * 16 + HexValue(hex[2 * k + 1]);
  return true;
}

// ---- Alignment and line types ----

int ParseAlignmentLetter(const TextString& text) {
  switch (text.CharAt(0)) {
    case 'L':
    case 'l':
      return 1;
    case 'C':
    case 'c':
      return 2;
    case 'R':
    case 'r':
      return 3;
    case 'J':
    case 'j':
      return 4;
    default:
      return 0;
  }
}

int HeadingLevelFromType(int type) {
  // Each heading family occupies a block of six codes: the last digit is the level.
  constexpr int kFamilies[] = {kTypeHeading1, kTypeUnderlinedHeading1, kTypeKeyPhraseHeading1,
                               kTypeContentsHeading1};
  for (const int first : kFamilies) {
    if (type >= first && type <= first + 5)
      return type - first + 1;
  }
  if (type == kTypeCapitalisedHeading || type == kTypeEmbeddedHeading || type == kTypeMailHeader)
    return 2;
  return 0;
}

bool IsOutputTagType(int type) {
  return (type >= kTagLine && type <= kTagEndHtml) || (type >= kTagLinkPoint && type <= kTagMetaTag);
}

// ---- Font sizes ----

int PointSizeToHtmlSize(int points) {
  struct Band {
    int upTo;
    int size;
  };
  constexpr Band kBands[] = {{8, 1}, {11, 2}, {13, 3}, {16, 4}, {22, 5}};
  for (const Band& band : kBands) {
    if (points <= band.upTo)
      return band.size;
  }
  return 6;
}

int HtmlSizeToPointSize(int size) {
  constexpr int kPoints[] = {8, 10, 12, 14, 18, 24, 28};  // sizes 1 to 7
  if (size <= 1)
    return kPoints[0];
  if (size >= 7)
    return kPoints[6];
  return kPoints[size - 1];
}

int SnapPointSizeToHtmlSize(const FileControl& fc, int points) {
  if (fc.GetInt(PolicyId::HTMLVersionToBeTargeted) > 1 && fc.GetInt(PolicyId::AddFONTStyleMarkup) != 0)
    return points;
  return HtmlSizeToPointSize(PointSizeToHtmlSize(points));
}

// ---- Words and names ----

void TrimReferenceWord(const TextString& word, TextString& out) {
  int first = 0;
  int end = word.GetLength();
  while (first < end && (word.CharAt(first) == '(' || word.CharAt(first) == '{' ||
                         word.CharAt(first) == '['))
    ++first;
  if (word.EndsWith("<BR>", 1) && end - 4 >= first)
    end -= 4;
  static constexpr const char* kTrailing = ")]};:,.*";
  while (end > first && std::strchr(kTrailing, word.CharAt(end - 1)) != nullptr)
    --end;
  out.AssignBytes(word.GetText() + first, end - first);
}

void MakeBookmarkName(const TextString& text, TextString& name) {
  TextString work(text);
  work.ReplaceAll("\\'7b", "_", 0, 1);
  work.ReplaceAll("\\'7d", "_", 0, 1);
  char* buffer = work.GetBuffer();
  for (int i = 0; i < work.GetLength(); ++i) {
    const char c = buffer[i];
    if (c == ']' || c == '[' || c == '/' || c == ' ')
      buffer[i] = '_';
  }
  MakeSafeFileName(work);
  name = std::move(work);
}
