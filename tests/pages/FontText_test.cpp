#include "pages/FontText.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/HeadlessPlatform.h"

namespace {

struct StartCase {
  const char* text;
  const char* face;
  int weight;
  bool italic;
  int pointTenths;
};

constexpr StartCase kStartCases[] = {
    {"Arial, bold italic, 14", "Arial", 700, true, 140},
    {"Arial,\tBOLD \t, 12", "Arial", 700, false, 120},
    {"Times New Roman, Regular, 10", "Times New Roman", 400, false, 100},
    {"Courier New, Italic, 9", "Courier New", 400, true, 90},
    {"Courier New, Oblique, 9", "Courier New", 400, false, 90},
    {"Arial, Bold, 10.5", "Arial", 700, false, 100},
    // No size, or none that reads as a number: the chooser starts at its own size.
    {"Arial, Bold", "Arial", 700, false, 0},
    {"Arial, Bold, big", "Arial", 700, false, 0},
    {"Arial", "Arial", 400, false, 0},
    {"", "", 400, false, 0},
};

TEST(FontChoiceFromText, SplitsFaceStyleAndSize) {
  for (const StartCase& c : kStartCases) {
    SCOPED_TRACE(c.text);
    const FontChoice font = FontChoiceFromText(TextString(c.text));
    EXPECT_EQ(font.face, c.face);
    EXPECT_EQ(font.weight, c.weight);
    EXPECT_EQ(font.italic, c.italic);
    EXPECT_EQ(font.pointTenths, c.pointTenths);
  }
}

struct ChosenCase {
  FontChoice font;
  const char* text;
};

const ChosenCase kChosenCases[] = {
    {{"Times New Roman", 400, false, 100}, "Times New Roman, Regular, 10"},
    {{"Arial", 700, false, 120}, "Arial, Bold, 12"},
    {{"Arial", 700, true, 120}, "Arial, Bold Italic, 12"},
    {{"Arial", 400, true, 120}, "Arial, Italic, 12"},
    // Only weight 700 is bold; any other weight in italic is Italic.
    {{"Arial", 600, true, 110}, "Arial, Italic, 11"},
    {{"Arial", 800, false, 110}, "Arial, Regular, 11"},
    {{"Arial", 800, true, 110}, "Arial, Italic, 11"},
    // Whole points, the tenths dropped.
    {{"Arial", 400, false, 105}, "Arial, Regular, 10"},
    {{"Arial", 400, false, 119}, "Arial, Regular, 11"},
};

TEST(FontTextFromChoice, WritesFaceStyleAndWholePoints) {
  for (const ChosenCase& c : kChosenCases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(FontTextFromChoice(c.font).GetText(), c.text);
  }
}

TEST(PickFontText, OpensTheChooserOnTheStartFontAndTakesTheChoice) {
  HeadlessPlatform platform;
  platform.fontAnswers.push_back({"DejaVu Sans", 600, true, 105});
  TextString target("Arial, Bold Italic, 14");
  int changed = 0;
  EXPECT_EQ(PickFontText(platform, TextString("Arial, bold italic, 14"), target, changed), 1);
  EXPECT_STREQ(target.GetText(), "DejaVu Sans, Italic, 10");
  EXPECT_EQ(changed, 1);
  ASSERT_EQ(platform.fontRequests.size(), 1u);
  EXPECT_EQ(platform.fontRequests[0].face, "Arial");
  EXPECT_EQ(platform.fontRequests[0].weight, 700);
  EXPECT_TRUE(platform.fontRequests[0].italic);
  EXPECT_EQ(platform.fontRequests[0].pointTenths, 140);
}

TEST(PickFontText, CancelOrTheSameFontChangesNothing) {
  HeadlessPlatform platform;
  platform.fontAnswers.push_back({"", 400, false, 100});  // Cancel
  platform.fontAnswers.push_back({"Arial", 400, false, 100});
  TextString target("Arial, Regular, 10");
  int changed = 0;
  EXPECT_EQ(PickFontText(platform, target, target, changed), 0);
  EXPECT_EQ(PickFontText(platform, target, target, changed), 0);
  EXPECT_STREQ(target.GetText(), "Arial, Regular, 10");
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(platform.fontRequests.size(), 2u);
}

}  // namespace
