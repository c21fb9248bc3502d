#include "pages/ColourNames.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/DialogTemplate.h"
#include "platform/HeadlessPlatform.h"

namespace {

constexpr ScreenColour Rgb(int red, int green, int blue) {
  return static_cast<ScreenColour>(red | (green << 8) | (blue << 16));
}

struct ColourCase {
  const char* text;
  ScreenColour colour;
};

constexpr ColourCase kColourCases[] = {
    // Names match exactly; two names may share a colour.
    {"White", Rgb(255, 255, 255)},
    {"Navy", Rgb(0, 0, 128)},
    {"Magenta", Rgb(255, 0, 255)},
    {"Aqua", Rgb(0, 255, 255)},
    {"Teal", Rgb(0, 128, 128)},
    // Digits in either case, with or without '#'.
    {"#FF8000", Rgb(255, 128, 0)},
    {"ff8000", Rgb(255, 128, 0)},
    {"#ff#80#00", Rgb(255, 128, 0)},
    {"010203", Rgb(1, 2, 3)},
    // Anything else is read as digits: no-digits count 0, missing characters 0.
    {"red", Rgb(14, 208, 0)},
    {"WHITE", Rgb(0, 0, 224)},
    {"f", Rgb(240, 0, 0)},
    {"12345678", Rgb(0x12, 0x34, 0x56)},
    // An empty colour is silver.
    {"", Rgb(192, 192, 192)},
    {"#", Rgb(0, 0, 0)},
};

TEST(ColourNameToHex, ReadsNamesAndDigitsLeniently) {
  for (const ColourCase& c : kColourCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ColourNameToHex(c.text), c.colour);
  }
}

TEST(HexDigitValue, CountsEveryOtherCharacterAsZero) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('g'), 0);
  EXPECT_EQ(HexDigitValue('G'), 0);
  EXPECT_EQ(HexDigitValue('\xCF'), 0);
}

constexpr ControlTemplate kSwatchControls[] = {
    {500, ControlKind::Label, 0, "", 0},
};
constexpr DialogTemplate kSwatchDialog = {900, "Swatch", kSwatchControls, 0, 0};

TEST(PaintColourSwatch, PaintsBackgroundAndTextColours) {
  HeadlessPlatform platform;
  auto window = platform.CreateDialog(kSwatchDialog, nullptr);
  PaintColourSwatch(*window, 500, "#FF8000", "Navy");
  const HeadlessControl* swatch = static_cast<HeadlessDialog&>(*window).Control(500);
  EXPECT_EQ(swatch->coloured, 1);
  EXPECT_EQ(swatch->background, 0xFF8000u);
  EXPECT_EQ(swatch->textColour, 0x000080u);
  PaintColourSwatch(*window, 500, "", "red");
  EXPECT_EQ(swatch->background, 0xC0C0C0u);
  EXPECT_EQ(swatch->textColour, 0x0ED000u);
}

struct ChosenCase {
  int chosen;  // 0xRRGGBB
  const char* text;
};

constexpr ChosenCase kChosenCases[] = {
    {0x010203, "010203"},
    {0xFF8000, "ff8000"},
    {0x00FFFF, "Cyan"},
    {0xFF00FF, "Fuchsia"},
    {0xFFFFFF, "White"},
    {0x000000, "Black"},
    {0xC0C0C0, "Silver"},
    {0x008080, "Teal"},
};

TEST(ChooseColour, NamesTheChosenColourWhereItHasAName) {
  for (const ChosenCase& c : kChosenCases) {
    SCOPED_TRACE(c.text);
    HeadlessPlatform platform;
    platform.colourAnswers.push_back(c.chosen);
    TextString result("unchanged");
    EXPECT_EQ(ChooseColour(platform, "Navy", result), 1);
    EXPECT_STREQ(result.GetText(), c.text);
  }
}

TEST(ChooseColour, StartsAtTheTextsColourAndCancelKeepsTheResult) {
  HeadlessPlatform platform;
  platform.colourAnswers.push_back(-1);
  TextString result("Teal");
  EXPECT_EQ(ChooseColour(platform, "#FF8000", result), 0);
  EXPECT_STREQ(result.GetText(), "Teal");
  ASSERT_EQ(platform.colourRequests.size(), 1u);
  EXPECT_EQ(platform.colourRequests[0], 0xFF8000u);
}

}  // namespace
