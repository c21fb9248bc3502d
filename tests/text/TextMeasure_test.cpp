#include "text/TextMeasure.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Growth.h"

TEST(TextMeasure, FixedPitch) {
  EXPECT_EQ(TextWidth("abcdefghij", 1, 0, 0, 0, 1, -1), 6000);
  EXPECT_EQ(TextWidthTwips("abcdefghij", 10, 0, 1, 0, 0, 0), 1224);
  EXPECT_EQ(TextWidthInPoints("abcdefghij", 10, 0, 1, 0, 0, 0), 62);
  EXPECT_EQ(TextWidthTwips("", 10, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(TextWidthInPoints("", 10, 0, 0, 0, 0, 0), 1);
  EXPECT_EQ(TextWidth(nullptr, 0, 0, 0, 0, 1, -1), 0);
}

TEST(TextMeasure, WidthsByStyleRecordAndKerning) {
  struct Case {
    const char* text;
    int bold, italic, kerning, record;
    int width;
  };
  const Case cases[] = {
      {"AV", 0, 0, 0, -1, 722 + 722},
      {"AV", 0, 0, 1, -1, 722 + 722 - 135},
      {"AV", 1, 0, 1, -1, 722 + 722 - 135},  // the bold record carries the roman pairs
      {"A", 0, 1, 0, -1, 611},
      {"W", 1, 1, 0, -1, 889},
      {"W", 1, 1, 0, 4, 944},  // a valid record index wins over the style
      {"W", 1, 0, 0, 9, 1000},
      {"\x80", 0, 0, 0, -1, 56},
      {"\x80\x80", 0, 0, 1, 4, 112},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " b" << c.bold << " i" << c.italic << " r"
                                    << c.record);
    EXPECT_EQ(TextWidth(c.text, 0, c.bold, c.italic, 0, c.kerning, c.record), c.width);
  }
}

TEST(TextMeasure, EntitiesCountAsOneAmpersand) {
  // Times Roman widths: '&' 778, 'x' 500, blank 250, ';' 278, "abcdefg" 444 500 444 500 444
  // 333 500, "nbsp" 500 500 389 500.
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"&nbsp;", 778},
      {"&nbsp;x", 778 + 500},
      {"&abcdef;", 778},  // 8 bytes: still one
      // Not entities: each byte counts.
      {"&abcdefg;", 778 + 444 + 500 + 444 + 500 + 444 + 333 + 500 + 278},
      {"&nbsp", 778 + 500 + 500 + 389 + 500},
      {"& x;", 778 + 250 + 500 + 278},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextWidth(c.text, 0, 0, 0, 1, 0, -1), c.expected);
  }
  // Without entities every byte of an entity counts.
  EXPECT_EQ(TextWidth("&nbsp;", 0, 0, 0, 0, 0, -1), 778 + 500 + 500 + 389 + 500 + 278);
}

TEST(TextMeasure, TwipsAndEstimates) {
  // "AV" kerned in Times Roman: 1309 thousandths; at 12 points 314 twips, 320 with 2 %.
  EXPECT_EQ(TextWidthTwips("AV", 12, 0, 0, 0, 0, 0), 320);
  EXPECT_EQ(TextWidthTwips(TextString("AV"), 12, 50, 0, 0, 0, 0), 480);
  EXPECT_EQ(StringWidthInPoints(TextString("AV"), 12, 0, 0, 0, 0, 0), 17);
  EXPECT_EQ(EstimateTextWidth(0, TextString("0123456789"), 12, 0), 1200);
  EXPECT_EQ(EstimateTextWidth(0, TextString("0123456789"), 12, 20), 1440);
  EXPECT_EQ(EstimateTextWidth(1, TextString("AV"), 12, 0), 320);
}

// The width of a text of 'A's stays within an int up to about 2.9 million bytes: the larger
// size stays below that, and each size is measured many times over to last long enough.
TEST(TextMeasureGrowth, LongTextStaysLinear) {
  constexpr int kLongest = 2900000;
  const auto measure = [](int length) {
    const std::string text(static_cast<std::size_t>(length), 'A');
    int width = 0;
    const GrowthClock::duration time = TimeOf([&] {
      for (int k = 0; k < 16; ++k)
        width = TextWidth(text.c_str(), 0, 0, 0, 1, 1, -1);
    });
    EXPECT_EQ(width, 722 * length);  // 'A' is 722 wide and does not kern with itself
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(20000, measure, 3, kLongest), kQuadraticGrowth);
}
