#include "engine/OutputMode.h"
#include "policy/ValueConversions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

TEST(CanonicaliseColour, AcceptsNamesAndHexInTheirCanonicalForms) {
  struct Case {
    const char* text;
    bool valid;
    const char* out;
  };
  constexpr Case kCases[] = {
      {"", true, ""},
      {"#FF0000", true, "Red"},
      {"#ff00ff", true, "Fuchsia"},
      {"ff00FF", true, "Fuchsia"},
      {"#000000", true, "Black"},
      {"#c0c0c0", true, "Silver"},
      {"00ffff", true, "Aqua"},
      {"123abc", true, "#123ABC"},
      {"#123abc", true, "#123ABC"},
      {"magenta", true, "magenta"},
      {"RED", true, "RED"},
      {"navy", true, "navy"},
      {"Gray", true, "Gray"},
      {"grey", false, "grey"},
      {"#12345", false, "#12345"},
      {"#1234567", false, "#1234567"},
      {"#12345g", false, "#12345g"},
      {"12345g", false, "12345g"},
      {"1234567", false, "1234567"},
      {"Redd", false, "Redd"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString out("stale");
    EXPECT_EQ(CanonicaliseColour(TextString(c.text), out), c.valid);
    EXPECT_EQ(Str(out), c.out);
    // In place gives the same.
    TextString inPlace(c.text);
    EXPECT_EQ(CanonicaliseColour(inPlace, inPlace), c.valid);
    EXPECT_EQ(Str(inPlace), c.out);
  }
}

TEST(ParseAlignmentLetter, ReadsTheFirstLetterInEitherCase) {
  struct Case {
    const char* text;
    int code;
  };
  constexpr Case kCases[] = {{"Left", 1},    {"l", 1},      {"Center", 2}, {"centre", 2},
                             {"RIGHT", 3},   {"r", 3},      {"Justified", 4}, {"j", 4},
                             {"", 0},        {" left", 0},  {"x", 0},      {"\xC3\x89", 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseAlignmentLetter(TextString(c.text)), c.code);
  }
}

TEST(RgbToHex, ScalesTruncatesAndClamps) {
  const struct {
    double r, g, b;
    const char* hex;
  } kCases[] = {
      {1.0, 0.5, 0.0, "FF8000"},
      {0.999, 0.25, 0.004, "FF4001"},
      {-0.5, 2.0, 1e300, "00FFFF"},  // far outside the int range: still clamped
      {-1e300, 0.0039, 0.0040, "000001"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.hex);
    TextString out;
    RgbToHex(c.r, c.g, c.b, out);
    EXPECT_EQ(Str(out), c.hex);
  }
}

TEST(ParseColourSpec, ReadsTriplesAndCanonicalColours) {
  const struct {
    const char* text;
    bool valid;
    const char* out;
  } kCases[] = {
      {"1,0,0", true, "Red"},
      {"0.5, 0.5, 0.5", true, "Gray"},
      {"0.1,0.2,0.3", true, "#19334C"},
      {"1,0", false, ""},
      {"1,x,0", false, ""},
      {"#ff0000", true, "Red"},
      {"magenta", true, "magenta"},
      {"123abc", true, "#123ABC"},
      {"", true, ""},
      {"nocolour", false, "nocolour"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString out;
    EXPECT_EQ(ParseColourSpec(TextString(c.text), out), c.valid);
    EXPECT_EQ(Str(out), c.out);
  }
}

TEST(ColourToRgb, GivesTheComponentsOfEveryForm) {
  const struct {
    const char* text;
    bool valid;
    int r, g, b;
  } kCases[] = {
      {"Red", true, 255, 0, 0},
      {"MAGENTA", true, 255, 0, 255},
      {"#123abc", true, 0x12, 0x3A, 0xBC},
      {"c0c0c0", true, 192, 192, 192},
      {"0,0.5,1", true, 0, 128, 255},
      {"", true, 0, 0, 0},
      {"grey", false, 0, 0, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    int r = 7;
    int g = 7;
    int b = 7;
    EXPECT_EQ(ColourToRgb(TextString(c.text), r, g, b), c.valid);
    EXPECT_EQ(r, c.r);
    EXPECT_EQ(g, c.g);
    EXPECT_EQ(b, c.b);
  }
}

TEST(HeadingLevelFromType, EachFamilyAtItsEdges) {
  const struct {
    int type;
    int level;
  } kCases[] = {
      {100, 0}, {101, 1}, {106, 6}, {107, 0}, {110, 0}, {111, 1}, {116, 6}, {117, 0},
      {120, 2}, {121, 2}, {122, 0}, {130, 0}, {131, 1}, {136, 6}, {150, 0}, {151, 1},
      {156, 6}, {157, 0}, {250, 2}, {241, 0}, {-1, 0},  {0, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(HeadingLevelFromType(c.type), c.level);
  }
}

TEST(IsOutputTagType, TwoRangesOfTaggedTypes) {
  const struct {
    int type;
    bool output;
  } kCases[] = {
      {1000, false}, {1001, true}, {1016, true}, {1017, false}, {1028, false},
      {1029, true},  {1034, true}, {1035, false}, {1045, false}, {241, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(IsOutputTagType(c.type), c.output);
  }
}

TEST(PointSizeToHtmlSize, MapsEachBandAtItsEdges) {
  const struct {
    int points;
    int size;
  } kCases[] = {
      {0, 1},  {8, 1},  {9, 2},  {11, 2}, {12, 3}, {13, 3},
      {14, 4}, {16, 4}, {17, 5}, {22, 5}, {23, 6}, {72, 6},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.points);
    EXPECT_EQ(PointSizeToHtmlSize(c.points), c.size);
  }
}

TEST(HtmlSizeToPointSize, MapsEverySize) {
  const int kPoints[][2] = {{-3, 8}, {1, 8}, {2, 10}, {3, 12}, {4, 14},
                            {5, 18}, {6, 24}, {7, 28}, {99, 28}};
  for (const auto& c : kPoints) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(HtmlSizeToPointSize(c[0]), c[1]);
  }
}

TEST(SnapPointSizeToHtmlSize, SnapsUnlessFontStylesAreWritten) {
  FileControl fc;
  fc.Bool(PolicyId::AddFONTStyleMarkup).value = 0;
  const int kCases[][2] = {{9, 10}, {10, 10}, {12, 12}, {15, 14}, {20, 18}, {30, 24}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(SnapPointSizeToHtmlSize(fc, c[0]), c[1]);
  }
  fc.Bool(PolicyId::AddFONTStyleMarkup).value = 1;
  fc.List(PolicyId::HTMLVersionToBeTargeted).value = 2;
  EXPECT_EQ(SnapPointSizeToHtmlSize(fc, 15), 15);
  fc.List(PolicyId::HTMLVersionToBeTargeted).value = 1;
  EXPECT_EQ(SnapPointSizeToHtmlSize(fc, 15), 14);
}

TEST(TrimReferenceWord, StripsBracketsAndTrailingPunctuation) {
  const struct {
    const char* word;
    const char* out;
  } kCases[] = {
      {"(3.2)", "3.2"},        {"[{4.1.}]", "4.1"},   {"2.1:,", "2.1"},
      {"5.3<BR>", "5.3"},      {"5.3.<BR>", "5.3"},   {"5.3<br>", "5.3<br>"},
      {"*1*", "*1"},           {"(((", ""},           {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.word);
    TextString out("stale");
    TrimReferenceWord(TextString(c.word), out);
    EXPECT_EQ(Str(out), c.out);
  }
}

TEST(MakeBookmarkName, ReplacesEscapesAndSeparatorsThenMakesItSafe) {
  const struct {
    const char* text;
    const char* name;
  } kCases[] = {
      {"Section_3.1", "section_3.1"},
      {"A \\'7bB\\'7d [c]/d", "a__b___c__d"},
      {"Caf\xE9 ok?", "cafe_ok_"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    TextString name;
    MakeBookmarkName(TextString(c.text), name);
    EXPECT_EQ(Str(name), c.name);
  }
}

class SetOutputModeFlagsTest : public ::testing::Test {
 protected:
  SetOutputModeFlagsTest() : ctx(kProductKelvane, kOutputRtf), fc(ctx.GetFileControl()) {
    fc.AttachContext(&ctx);
  }

  void Set(PolicyId id, int value) { fc.Bool(id).value = value; }

  Context ctx;
  FileControl& fc;
};

TEST_F(SetOutputModeFlagsTest, ChoosesOneContentsMode) {
  const struct {
    int expect, useExisting, add, external, splitLevel, pageMarkers, files;
    ContentsMode mode;
  } kCases[] = {
      {1, 1, 1, 1, 2, 1, 3, ContentsMode::UseExisting},
      {0, 1, 0, 0, 0, 0, 1, ContentsMode::None},
      {0, 0, 1, 1, 2, 0, 1, ContentsMode::External},
      {0, 0, 1, 0, 0, 0, 1, ContentsMode::SingleFile},
      {0, 0, 1, 0, 2, 0, 1, ContentsMode::GeneratedSingleFile},
      {0, 0, 1, 0, 0, 1, 2, ContentsMode::GeneratedSeveralFiles},
      {0, 0, 0, 1, 0, 0, 1, ContentsMode::External},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    Set(PolicyId::ExpectContentsList, c.expect);
    Set(PolicyId::UseAnyExistingContentsList, c.useExisting);
    Set(PolicyId::AddContentsList, c.add);
    Set(PolicyId::GenerateExternalContentsFile, c.external);
    fc.Int(PolicyId::SplitLevel).value = c.splitLevel;
    Set(PolicyId::SplitAtPageMarkers, c.pageMarkers);
    ctx.SplitFiles.Clear();
    for (int i = 0; i < c.files; ++i)
      (void)ctx.SplitFiles.Add(ctx, TextString(std::to_string(i).c_str()));
    ctx.OutputContentsMode = ContentsMode::UseExisting;
    SetOutputModeFlags(fc);
    EXPECT_EQ(ctx.OutputContentsMode, c.mode);
    EXPECT_EQ(ctx.ContentsOverride, 0);
  }
}

TEST_F(SetOutputModeFlagsTest, ARequestOverridesGeneratedContentsOnly) {
  Set(PolicyId::ExpectContentsList, 0);
  Set(PolicyId::AddContentsList, 1);
  fc.Int(PolicyId::SplitLevel).value = 1;
  ctx.ContentsRequested = 1;
  SetOutputModeFlags(fc);
  EXPECT_EQ(ctx.OutputContentsMode, ContentsMode::None);
  EXPECT_EQ(ctx.ContentsOverride, 1);
  Set(PolicyId::GenerateExternalContentsFile, 1);
  SetOutputModeFlags(fc);
  EXPECT_EQ(ctx.OutputContentsMode, ContentsMode::External);
  EXPECT_EQ(ctx.ContentsOverride, 1);
}

}  // namespace
