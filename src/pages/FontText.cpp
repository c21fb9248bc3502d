#include "pages/FontText.h"

#include <string>
#include <string_view>

#include "platform/DialogWindow.h"

struct FontStyle {
  std::string_view name;
  int weight;
  bool italic;
};

static constexpr FontStyle kFontStyles[] = {
    {"Regular", kWeightRegular, false},
    {"Bold", kWeightBold, false},
    {"Italic", kWeightRegular, true},
    {"Bold Italic", kWeightBold, true},
};

static std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A decimal number of points as the C library reads one: leading blanks, a sign, digits up
// to the first other character; -1 when there is no digit.
static int ReadPoints(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+'))
    negative = text[at++] == '-';
  if (at >= text.size() || text[at] < '0' || text[at] > '9')
    return -1;
  long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    // A size beyond any font is held at a bound instead of overflowing.
    if (value < 100000)
      value = value * 10 + (text[at] - '0');
  }
  return static_cast<int>(negative ? -value : value);
}

FontChoice FontChoiceFromText(const TextString& fontText) {
  const std::string_view text(fontText.GetText(),
                              static_cast<std::size_t>(fontText.GetLength()));
  std::string_view fields[3];
  std::size_t from = 0;
  for (std::string_view& field : fields) {
    if (from > text.size())
      break;
    const std::size_t comma = text.find(',', from);
    const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
    field = text.substr(from, end - from);
    from = end + 1;
  }
  FontChoice font;
  font.face = std::string(fields[0]);
  const std::string style(TrimBlanks(fields[1]));
  for (const FontStyle& known : kFontStyles) {
    if (!EqualsNoCase(style, std::string(known.name)))
      continue;
    font.weight = known.weight;
    font.italic = known.italic;
    break;
  }
  const int points = ReadPoints(fields[2]);
  font.pointTenths = points > 0 ? points * 10 : 0;
  return font;
}

TextString FontTextFromChoice(const FontChoice& font) {
  TextString text;
  text.Assign(font.face.c_str());
  if (font.weight == kWeightBold)
    text.Append(font.italic ? ", Bold Italic" : ", Bold");
  else
    text.Append(font.italic ? ", Italic" : ", Regular");
  text.Append(", ");
  text.Append(std::to_string(font.pointTenths / 10).c_str());
  return text;
}

int PickFontText(DesktopPlatform& platform, const TextString& start, TextString& target,
                 int& changeFlag) {
  FontChoice font = FontChoiceFromText(start);
  if (!platform.ChooseFont(font))
    return 0;
  const TextString chosen = FontTextFromChoice(font);
  auto bytes = [](const TextString& text) {
    return std::string_view(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  };
  if (bytes(chosen) == bytes(target))
    return 0;
  changeFlag = 1;
  target.Assign(chosen);
  return 1;
}
