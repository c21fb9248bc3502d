#include "text/FontSpec.h"

#include <gtest/gtest.h>

TEST(FontSpec, StartsWithDefaultsAndUnset) {
  const FontSpec font;
  EXPECT_TRUE(font.GetFace().IsEmpty());
  EXPECT_TRUE(font.GetSecondName().IsEmpty());
  EXPECT_TRUE(font.GetColour().IsEmpty());
  EXPECT_EQ(font.GetStyleCode(), -1);
  EXPECT_EQ(font.GetPointSize(), 12);
  EXPECT_EQ(font.GetLineHeight(), 14);
  EXPECT_EQ(font.GetFirstInteger(), 0);
  EXPECT_EQ(font.GetPitch(), 1);
  EXPECT_DOUBLE_EQ(font.GetWidthFactor(), 1.0);
  EXPECT_EQ(font.IsSansSerif() + font.IsBold() + font.IsItalic(), 0);
  EXPECT_EQ(font.WasSet(), 0);
}

TEST(FontSpec, SetFaceLooksUpWidthFactorAsWholeNameIgnoringCase) {
  struct Case {
    const char* face;
    double factor;  // 0: not listed, the previous factor (1.0) stays
    int wingdings;
  };
  const Case cases[] = {
      {"COURIER NEW", 1.45, 0}, {"courier new ", 0.0, 0}, {"Arial", 1.1, 0},
      {"arial narrow", 0.85, 0}, {"Comic Sans MS", 1.2, 0}, {"corida new", 0.7, 0},
      {"cordia new", 0.0, 0},    {"WingDings", 2.0, 1},     {"ms serif", 0.95, 0},
      {"", 0.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    FontSpec font;
    EXPECT_EQ(font.SetFace(c.face), c.wingdings);
    EXPECT_STREQ(font.GetFace().GetText(), c.face);
    EXPECT_DOUBLE_EQ(font.GetWidthFactor(), c.factor == 0.0 ? 1.0 : c.factor);
    EXPECT_EQ(font.WasSet(), 1);
  }
}

TEST(FontSpec, UnlistedFaceKeepsEarlierFactor) {
  FontSpec font;
  font.SetFace("Arial");
  font.SetFace("Foo");
  EXPECT_STREQ(font.GetFace().GetText(), "Foo");
  EXPECT_DOUBLE_EQ(font.GetWidthFactor(), 1.1);
}

TEST(FontSpec, BlackColoursAreStoredEmpty) {
  struct Case {
    const char* text;
    const char* stored;
  };
  const Case cases[] = {
      {"black", ""},         {"Black", ""},         {"#000000", ""},
      {"000000", ""},        {"#000001", "#000001"}, {"BLACK ", "BLACK "},
      {"red", "red"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FontSpec font;
    font.SetColour("green");
    font.SetColour(c.text);
    EXPECT_STREQ(font.GetColour().GetText(), c.stored);
    EXPECT_EQ(font.WasSet(), 0);
  }
}

TEST(FontSpec, LineHeightIsAtLeastThePointSize) {
  FontSpec font;
  font.SetPointSize(20);
  font.SetLineHeight(22);
  EXPECT_EQ(font.GetLineHeight(), 22);
  font.SetLineHeight(16);
  EXPECT_EQ(font.GetLineHeight(), 20);
}

TEST(FontSpec, CopyConstructionMarksSetAssignmentTakesSourceFlag) {
  FontSpec source;
  source.SetColour("red");
  source.SetPointSize(9);
  source.SetBold(1);
  ASSERT_EQ(source.WasSet(), 0);

  const FontSpec copy(source);
  EXPECT_EQ(copy.WasSet(), 1);
  EXPECT_STREQ(copy.GetColour().GetText(), "red");
  EXPECT_EQ(copy.GetPointSize(), 9);
  EXPECT_EQ(copy.IsBold(), 1);

  FontSpec assigned;
  assigned.SetFace("Arial");
  assigned = source;
  EXPECT_EQ(assigned.WasSet(), 0);
  EXPECT_TRUE(assigned.GetFace().IsEmpty());
  EXPECT_DOUBLE_EQ(assigned.GetWidthFactor(), 1.0);

  FontSpec kept;
  kept.SetSecondName("x");
  kept.CopyFrom(source);
  EXPECT_EQ(kept.WasSet(), 1);
  EXPECT_TRUE(kept.GetSecondName().IsEmpty());
}

TEST(FontSpec, ResetKeepsWasSetFlag) {
  FontSpec font;
  font.SetSecondName("Helv");
  font.SetFace("Verdana");
  font.SetSansSerif(1);
  font.SetStyleCode(7);
  font.Reset();
  EXPECT_EQ(font.WasSet(), 1);
  EXPECT_TRUE(font.GetFace().IsEmpty());
  EXPECT_TRUE(font.GetSecondName().IsEmpty());
  EXPECT_DOUBLE_EQ(font.GetWidthFactor(), 1.0);
  EXPECT_EQ(font.IsSansSerif(), 0);
  EXPECT_EQ(font.GetStyleCode(), -1);
}
