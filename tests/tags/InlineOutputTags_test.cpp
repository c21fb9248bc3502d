#include "tags/InlineOutputTags.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"

namespace {

class OutputTagTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
    ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Title)] = "The   Title\nof it";
    ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Author)] = kUnknownDocInfo;
    ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::SecondAuthor)] = "A. Writer";
    ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Keywords)] = "alpha, beta";
  }
  std::string Expand(const char* text, int keepProtected = 0) {
    TextString t(text);
    ExpandInlineTags(fc, ctx, nullptr, t, keepProtected);
    return t.GetText();
  }
  bool Said(const char* text) const {
    for (const std::string& m : messages)
      if (m.find(text) != std::string::npos)
        return true;
    return false;
  }
};

// "| " + piece padded to width - 4 + " |" (a longer piece is not cut).
std::string Box(const std::string& piece, int width) {
  std::string line = "| " + piece;
  if (line.size() < static_cast<std::size_t>(width - 2))
    line.resize(static_cast<std::size_t>(width - 2), ' ');
  return line + " |";
}

TEST_F(OutputTagTest, DataTags) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"T: [[DATA TITLE]].", "T: The Title of it."},
      {"[[DATA AUTHOR]]", "A. Writer"},
      {"[[data keywords]]", "alpha, beta"},
      {"[[DATA COMMENT  a  remark ]]", "a  remark"},
      {"[[RULEWIDTH]]/[[RULEALIGN]]", "800/CENTER"},
      {"[[UNKNOWN_TAG x]] stays", "[[UNKNOWN_TAG x]] stays"},
      {"[[OUTPUT [[PARA]] ]]", "[[OUTPUT [[PARA]] ]]"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Expand(c.in), c.out);
  }
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Expand("[[OUTPUT x]]", 1), "[-[-OUTPUT x-]-]");
}

TEST_F(OutputTagTest, UnknownSubTypesGiveNothingAndATagError) {
  EXPECT_EQ(Expand("a[[DATA COLOUR]]b"), "ab");
  EXPECT_TRUE(Said("TAG ERROR: Unsupported DATA tag type \"[[DATA COLOUR]]\""));
  EXPECT_EQ(Expand("a[[TEXT_HEADER NOTHING]]b"), "ab");
  EXPECT_TRUE(Said("TAG ERROR: Unknown TEXT_HEADER tag type \"[[TEXT_HEADER NOTHING]]\""));
}

TEST_F(OutputTagTest, TextHeaderBoxes) {
  fc.Int(PolicyId::PageWidth).value = 30;
  EXPECT_EQ(Expand("[[TEXT_HEADER BOX_TOP]]"), "/" + std::string(28, '-') + "\\");
  EXPECT_EQ(Expand("[[TEXT_HEADER BOX_BOTTOM]]"), "\\" + std::string(28, '-') + "/");
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Keywords)] = "alpha";
  EXPECT_EQ(Expand("[[TEXT_HEADER KEYWORDS]]"), Box("Keywords     : alpha", 30));
  EXPECT_EQ(Expand("[[TEXT_HEADER URL]]"), Box("URL          : ", 30));

  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Title)] = "A fairly long document title here";
  EXPECT_EQ(Expand("[[TEXT_HEADER TITLE]]"), Box("Title        : A fairly", 30) + "\n" +
                                                   Box("             : long", 30) + "\n" +
                                                   Box("             : document", 30) + "\n" +
                                                   Box("             : title here", 30));
  // A piece without a blank to break at is boxed whole.
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::Keywords)] = std::string(40, 'k').c_str();
  EXPECT_EQ(Expand("[[TEXT_HEADER KEYWORDS]]"),
            Box("Keywords     :", 30) + "\n" + Box(std::string(40, 'k'), 30));
}

TEST_F(OutputTagTest, TextHeaderWidthBelowTheFrameFallsBackToAPageLine) {
  for (int width : {-1, 0, 5}) {
    SCOPED_TRACE(width);
    fc.Int(PolicyId::PageWidth).value = width;
    EXPECT_EQ(Expand("[[TEXT_HEADER BOX_TOP]]"), "/" + std::string(78, '-') + "\\");
    EXPECT_EQ(Expand("[[TEXT_HEADER BOX_MIDDLE]]"), Box(std::string(40, ' '), 80));
  }
  fc.Int(PolicyId::PageWidth).value = 6;
  EXPECT_EQ(Expand("[[TEXT_HEADER BOX_TOP]]"), "/----\\");
}

TEST_F(OutputTagTest, PageLinks) {
  for (const char* name : {"doc.rtf", "doc_1.rtf", "doc_2.rtf"})
    ctx.SplitFiles.Add(ctx, name);
  TextString links[5];
  int index = -1;
  GetPageLinks(fc, ctx, "doc_1.rtf", nullptr, index, links[0], links[1], links[2], links[3],
               links[4]);
  EXPECT_EQ(index, 1);
  EXPECT_STREQ(links[0].GetText(), "doc.rtf");
  EXPECT_STREQ(links[1].GetText(), "doc_1.rtf");
  EXPECT_STREQ(links[2].GetText(), "doc_2.rtf");
  EXPECT_STREQ(links[3].GetText(), "doc.rtf");
  EXPECT_STREQ(links[4].GetText(), "doc.rtf");

  // At the ends the current name stands in; the first file is its own contents top.
  index = 0;
  fc.LinkSuffix = "#top";
  GetPageLinks(fc, ctx, "", nullptr, index, links[0], links[1], links[2], links[3], links[4]);
  EXPECT_STREQ(links[0].GetText(), "doc.rtf#top");
  EXPECT_STREQ(links[2].GetText(), "doc_1.rtf#top");
  EXPECT_STREQ(links[3].GetText(), "doc.rtf#top");

  index = -1;
  GetPageLinks(fc, ctx, "other.rtf", nullptr, index, links[0], links[1], links[2], links[3],
               links[4]);
  EXPECT_TRUE(Said("PROGRAM ERROR: Can't locate file \"other.rtf\" in file list"));
  EXPECT_STREQ(links[1].GetText(), "other.rtf#top");
}

TEST(OutputTagServices, PlainTextHelpTopicsAndPoints) {
  TextString text("  <b>Fish</b> &amp;&nbsp;&lt;chips&gt;   too ");
  MakePlainText(text, 1, 1);
  EXPECT_STREQ(text.GetText(), "Fish & <chips> too");
  text = "<i>a</i>&amp;lt;  b";
  MakePlainText(text, 1, 0);
  EXPECT_STREQ(text.GetText(), "a&lt;  b");

  Context rtf(2, kOutputRtf);
  text = " {Intro}   <x>part ";
  CleanHelpTopicText(rtf, text);
  EXPECT_STREQ(text.GetText(), "_Intro_ part");
  Context html(2, kOutputHtml);
  text = "a&nbsp;<b>c";
  CleanHelpTopicText(html, text);
  EXPECT_STREQ(text.GetText(), "a _b_c");

  const struct {
    int twips;
    int points;
  } kPoints[] = {{30, 2}, {9, 0}, {0, 0}, {-20, 0}, {10, 1}, {29, 1}, {240, 12}};
  for (const auto& c : kPoints)
    EXPECT_EQ(TwipsToPoints(c.twips), c.points) << c.twips;
}

}  // namespace
