#include "policy/KeyValueLine.h"

#include "policy/ErrorHandler.h"
#include "policy/PolicySection.h"

#include <iterator>

KeyValueLine::KeyValueLine(ErrorHandler* lineHandler) : handler(lineHandler) { Reset(); }

void KeyValueLine::Reset() {
  lineText.SetEmpty();
  valueText.SetEmpty();
  alternativeText.SetEmpty();
  repeatCheck = 0;
  hasValue = 1;
  none = 0;
  yes = 0;
  no = 0;
  consumed = 0;
  result = 1;
  category = 0;
  missingValue = 0;
}

static bool EqualsNoCase(const TextString& text, const char* word) {
  return text.Compare(word, 0, 0);
}

// Lines without a colon that are not worth a message: lone "!", bracketed or header-like
// lines, and the special heading lines that carry their own syntax.
static bool IsQuietLineWithoutColon(const TextString& line) {
  if (line.Compare("!", 1, 0)) return true;
  if (line.ContainsChar('[') || line.ContainsChar(']')) return true;
  if (IsPolicySectionHeader(line)) return true;
  return line.ContainsNoCase(" recognised headings") || line.ContainsNoCase("Contents level") ||
         line.ContainsNoCase("Heading level");
}

void ParseKeyValueLine(KeyValueLine& line, ErrorHandler* handler, int repeatCheck,
                       const TextString& rawLine) {
  line.Reset();
  line.handler = handler;
  line.repeatCheck = repeatCheck;
  line.result = 1;
  line.hasValue = 1;
  line.lineText.Assign(rawLine);

  const char first = rawLine.CharAt(0);
  if (rawLine.IsEmpty() || first == '!' || first == '#') {
    line.consumed = 1;
    return;
  }

  int colon = -1;
  if (rawLine.FindChar(0, ':', &colon, 1) && colon >= 0) {
    line.valueText.AssignSubstring(rawLine.GetText(), colon + 1, -1);
    line.valueText.Trim();
  } else if (!IsQuietLineWithoutColon(rawLine) && handler != nullptr) {
    handler->SetMessageText("POLICY: Ignored - Missing colon in \"");
    handler->AppendMessageText(rawLine.GetText());
    handler->AppendMessageText("\"");
    handler->ReportBuffer(10);
  }

  const TextString& value = line.valueText;
  line.none = EqualsNoCase(value, "(none)") || EqualsNoCase(value, "none");
  line.yes = EqualsNoCase(value, "Yes") || EqualsNoCase(value, "true");
  line.no = EqualsNoCase(value, "no") || EqualsNoCase(value, "false");
}

// ---- Colours ----

struct NamedColour {
  const char* name;
  const char* value;  // upper-case "#RRGGBB"; null for an alias that has no value of its own
};

static constexpr NamedColour kNamedColours[] = {
    {"Black", "#000000"},  {"Silver", "#C0C0C0"}, {"Gray", "#808080"},   {"White", "#FFFFFF"},
    {"Maroon", "#800000"}, {"Red", "#FF0000"},    {"Purple", "#800080"}, {"Fuchsia", "#FF00FF"},
    {"Green", "#008000"},  {"Lime", "#00FF00"},   {"Olive", "#808000"},  {"Yellow", "#FFFF00"},
    {"Navy", "#000080"},   {"Blue", "#0000FF"},   {"Teal", "#008080"},   {"Aqua", "#00FFFF"},
    // Accepted as a name; its value turns back into Fuchsia above.
    {"Magenta", nullptr},
};
static_assert(std::size(kNamedColours) == 17);

static bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

static bool AreHexDigits(const char* text, int count) {
  for (int i = 0; i < count; ++i)
    if (!IsHexDigit(text[i])) return false;
  return true;
}

static bool IsColourName(const TextString& text) {
  for (const NamedColour& colour : kNamedColours)
    if (text.Compare(colour.name, 0, 0)) return true;
  return false;
}

// The canonical form of a valid "#RRGGBB" value: a colour name or the upper-case value.
static void CanonicaliseHexValue(TextString& hex) {
  hex.ToUpper();
  for (const NamedColour& colour : kNamedColours) {
    if (colour.value == nullptr || !hex.Compare(colour.value, 1, 0)) continue;
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
      if (&out != &text) out.Assign(text);
      return false;
    }
    TextString hex(text);
    CanonicaliseHexValue(hex);
    out.Assign(hex);
    return true;
  }
  if (IsColourName(text)) {
    if (&out != &text) out.Assign(text);
    return true;
  }
  if (length == 6 && AreHexDigits(text.GetText(), 6)) {
    TextString hex("#");
    hex.Append(text);
    CanonicaliseHexValue(hex);
    out.Assign(hex);
    return true;
  }
  if (&out != &text) out.Assign(text);
  return false;
}

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
