#include "pages/ColourNames.h"

#include <cstdio>
#include <string>

#include "platform/DesktopPlatform.h"
#include "platform/DialogWindow.h"

struct NamedColour {
  std::string_view name;
  std::string_view digits;
};

// In the order names are tested when a colour text is read.
static constexpr NamedColour kColourNames[] = {
    {"White", "ffffff"},  {"Black", "000000"},  {"Red", "ff0000"},   {"Green", "008000"},
    {"Blue", "0000ff"},   {"Cyan", "00ffff"},   {"Magenta", "ff00ff"}, {"Yellow", "ffff00"},
    {"Fuchsia", "ff00ff"}, {"Aqua", "00ffff"},  {"Silver", "c0c0c0"}, {"Lime", "00ff00"},
    {"Gray", "808080"},   {"Olive", "808000"},  {"Maroon", "800000"}, {"Navy", "000080"},
    {"Purple", "800080"}, {"Teal", "008080"},
};

// In the order a chosen colour is given its name: a colour with two names takes the first
// ("00ffff" is "Cyan", never "Aqua"; "ff00ff" is "Fuchsia", never "Magenta").
static constexpr NamedColour kChosenNames[] = {
    {"White", "ffffff"},  {"Black", "000000"}, {"Red", "ff0000"},    {"Green", "008000"},
    {"Blue", "0000ff"},   {"Cyan", "00ffff"},  {"Yellow", "ffff00"}, {"Fuchsia", "ff00ff"},
    {"Aqua", "00ffff"},   {"Silver", "c0c0c0"}, {"Lime", "00ff00"},  {"Gray", "808080"},   {"Olive", "808000"},
    {"Maroon", "800000"}, {"Navy", "000080"},  {"Purple", "800080"}, {"Teal", "008080"},
};

static constexpr std::string_view kEmptyColour = "c0c0c0";

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return 0;
}

// The digits a colour text stands for: a name's digits, else the text without its '#'.
static std::string ColourDigits(std::string_view colour) {
  for (const NamedColour& named : kColourNames) {
    if (named.name == colour)
      return std::string(named.digits);
  }
  if (colour.empty())
    return std::string(kEmptyColour);
  std::string digits;
  for (const char c : colour) {
    if (c != '#')
      digits.push_back(c);
  }
  return digits;
}

ScreenColour ColourNameToHex(std::string_view colour) {
  std::string digits = ColourDigits(colour);
  digits.resize(6, '0');
  auto component = [&digits](int first) {
    return static_cast<ScreenColour>(16 * HexDigitValue(digits[first]) +
                                     HexDigitValue(digits[first + 1]));
  };
  return component(0) | (component(2) << 8) | (component(4) << 16);
}

// The platform counts colours as 0xRRGGBB.
static unsigned ToPlatformColour(ScreenColour colour) {
  return (static_cast<unsigned>(RedOf(colour)) << 16) |
         (static_cast<unsigned>(GreenOf(colour)) << 8) | static_cast<unsigned>(BlueOf(colour));
}

void PaintColourSwatch(DialogWindow& window, int controlId, std::string_view background,
                       std::string_view text) {
  window.SetColours(controlId, ToPlatformColour(ColourNameToHex(background)),
                    ToPlatformColour(ColourNameToHex(text)));
}

int ChooseColour(DesktopPlatform& platform, std::string_view colour, TextString& result) {
  unsigned chosen = ToPlatformColour(ColourNameToHex(colour));
  if (!platform.ChooseColour(chosen))
    return 0;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%2.2x%2.2x%2.2x", (chosen >> 16) & 0xFF,
                (chosen >> 8) & 0xFF, chosen & 0xFF);
  result.Assign(digits);
  for (const NamedColour& named : kChosenNames) {
    if (named.digits == digits) {
      result.Assign(std::string(named.name).c_str());
      break;
    }
  }
  return 1;
}
