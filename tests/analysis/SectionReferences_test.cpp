#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/SectionNumbers.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RtfHelpers.h"
#include "support/ContextFixture.h"
#include "text/ProductIdentity.h"

namespace {

// A document whose analysis pass saw chapters 1-4 with sections 1-5, and whose headings
// include 2.1 and chapter 3.
void AddDocumentHeadings(Context& ctx) {
  HeadingLevelStats& chapters = SectionLevelState(ctx, 0);
  chapters.lowestNumber = 1;
  chapters.highestNumber = 4;
  HeadingLevelStats& sections = SectionLevelState(ctx, 1);
  sections.lowestNumber = 1;
  sections.highestNumber = 5;
  const TextString none;
  ctx.Headings.AddHeading(ctx, kTypeHeading2, "2.1 Scope", "2.1 Scope", "Section_2.1",
                          TextPosition(0, 10), none, none, none);
  ctx.Headings.AddHeading(ctx, kTypeHeading1, "3. Results", "3. Results", "Section_3",
                          TextPosition(0, 20), none, none, none);
}

class SectionReferencesTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
    AddDocumentHeadings(ctx);
  }
  std::string Convert(const char* text, int* links = nullptr) {
    PreHTML line;
    line.SetText(text);
    const int made = line.ConvertReferences(fc, ctx);
    if (links != nullptr) *links = made;
    return line.GetText();
  }
  std::string Link(const char* anchor, const char* text) {
    TextString out;
    BuildHyperlinkField(fc, 1, anchor, text, out);
    return out.GetText();
  }
  int CountMessages(const std::string& text) const {
    int n = 0;
    for (const std::string& m : messages) n += m.find(text) != std::string::npos ? 1 : 0;
    return n;
  }
};

TEST_F(SectionReferencesTest, NumbersOfKnownHeadingsBecomeLinks) {
  int links = 0;
  EXPECT_EQ(Convert("See (2.1) for details.", &links),
            "See (" + Link("Section_2.1", "2.1") + ") for details.");
  EXPECT_EQ(links, 1);
  EXPECT_EQ(Convert("as 2.1, and 2.1.", &links),
            "as " + Link("Section_2.1", "2.1") + ", and " + Link("Section_2.1", "2.1") + ".");
  EXPECT_EQ(links, 2);
  // Words run between blanks of either kind; the words around a reference keep their bytes.
  EXPECT_EQ(Convert("e.g.\tsee\t(2.1);\tthen", &links),
            "e.g.\tsee\t(" + Link("Section_2.1", "2.1") + ");\tthen");
  EXPECT_EQ(links, 1);
  // A chapter is a level-1 reference: linked once "Cross-refs at level" reaches level 1, to
  // the chapter's heading also when written "3.0".
  EXPECT_EQ(Convert("in 3.0 we"), "in 3.0 we");
  fc.Int(PolicyId::CrossRefsAtLevel).value = 1;
  EXPECT_EQ(Convert("in 3.0 we"), "in " + Link("Section_3", "3.0") + " we");
}

struct UntouchedCase {
  const char* line;
  const char* why;
};

constexpr UntouchedCase kUntouchedCases[] = {
    {"Release 9.1 is out", "the chapter number lies outside the range seen"},
    {"Release 2.8 is out", "the section number lies outside the range seen"},
    {"Version 2 of 3", "no word holds a dot"},
    {"end of chapter 2.", "level 1 lies above the lowest level linked"},
    {"see [[REF 2.1]] there", "inside an in-line tag"},
    {"v2.1a or 2.1.x", "not a number"},
    {"(.) and ...", "nothing left of the word"},
};

TEST_F(SectionReferencesTest, OtherWordsStayAsTheyAre) {
  for (const UntouchedCase& c : kUntouchedCases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Convert(c.line), c.line);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(SectionReferencesTest, AMissingHeadingIsReportedForEachOccurrence) {
  EXPECT_EQ(Convert("3.4 and again 3.4"), "3.4 and again 3.4");
  EXPECT_EQ(CountMessages("WARNING: Can't find section for possible hyperlink \"3.4\""), 2);
}

TEST_F(SectionReferencesTest, NothingHappensOutsideTheOutputPassOrWithoutNumberedHeadings) {
  SetPass(0, 1, 0);
  EXPECT_EQ(Convert("see 2.1"), "see 2.1");
  SetPass(0, 0, 1);
  fc.Bool(PolicyId::ExpectNumberedHeadings).value = 0;
  EXPECT_EQ(Convert("see 2.1"), "see 2.1");
}

TEST_F(SectionReferencesTest, ParsingAReferenceLeavesTheHeadingNumberStateAlone) {
  HeadingLevelStats& third = SectionLevelState(ctx, 2);
  third.lowestNumber = -1;
  Convert("see 2.1.0 here");
  EXPECT_EQ(third.lowestNumber, -1);
}

// A Context of another output format in the output pass, with the document's headings.
struct OutputContext {
  explicit OutputContext(int outputType) : ctx(2, outputType) {
    fc.AttachContext(&ctx);
    ctx.OutputPass = 1;
    ctx.CodeLocation = kLocationOutput;
    AddDocumentHeadings(ctx);
  }
  Context ctx;
  FileControl fc;
};

TEST(SectionReferencesFormats, HtmlAnchorsAndMarkersDropped) {
  OutputContext html(kOutputHtml);
  PreHTML line;
  line.SetText("See (2.1).");
  EXPECT_EQ(line.ConvertReferences(html.fc, html.ctx), 1);
  EXPECT_STREQ(line.GetText(), "See (<A HREF=\"#Section_2.1\">2.1</A>).");

  OutputContext plain(kOutputTextMarkersDropped);
  line.SetText("See (2.1).");
  EXPECT_EQ(line.ConvertReferences(plain.fc, plain.ctx), 0);
  EXPECT_STREQ(line.GetText(), "See (2.1).");
}

}  // namespace
