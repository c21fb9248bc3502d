#include "engine/HeadingLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/SectionNumbers.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

TEST(TidySectionNumber, CleansBracketsAndTrailingMarks) {
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"(3)", "3"},       {"1.2.", "1.2"},    {"2.0", "2"},       {"4.1:", "4.1"},
      {"3.1.", "3.1"},    {"[2]x", "2"},      {"{5}", "5"},       {"6-", "6"},
      {"7.-", "7."},      {"1..", "1"},       {".0", ".0"},       {"10", "10"},
      {"3.0.", "3"},      {"8)", "8"},        {".", ""},          {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    TextString text(c.in);
    TidySectionNumber(text);
    EXPECT_EQ(Str(text), c.out);
  }
}

class HeadingLinksTest : public ::testing::Test {
 protected:
  HeadingLinksTest() : ctx(kProductKelvane, kOutputRtf), fc(ctx.GetFileControl()) {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }

  std::string LinkName(const char* text, int type, int prefixCheck = 0) {
    TextString name("stale");
    GetHeadingLinkName(TextString(text), type, fc, ctx, prefixCheck, name);
    return Str(name);
  }

  Context ctx;
  FileControl& fc;
  std::vector<std::string> messages;
};

TEST_F(HeadingLinksTest, LinkNamesByHeadingType) {
  const struct {
    const char* text;
    int type;
    const char* name;
  } kCases[] = {
      {"3.1. Introduction", kTypeHeading2, "Section_3.1"},
      {"(2) Scope", kTypeHeading1, "Section_2"},
      {"  2.0   Overview ", kTypeHeading1, "Section_2"},
      {"4.1: Terms", kTypeContentsHeading2, "Section_4.1"},
      {"Getting  Started", kTypeUnderlinedHeading1, "Getting Started"},
      {"*** Notes ***", kTypeCapitalisedHeading, "Notes"},
      {"-= Key phrase =-", kTypeKeyPhraseHeading3, "Key phrase"},
      {"Caf&eacute; &alpha; &amp; more", kTypeEmbeddedHeading, "Caf\xE9 # & more"},
      {"From: someone\nSubject: x", kTypeMailHeader, "From: someone"},
      // Numbered headings keep their entities: only the number word is used.
      {"5 Caf&eacute;", kTypeHeading1, "Section_5"},
      {"", kTypeHeading1, ""},
      {"Page", kTypeFormFeed, ""},
      {"Page", kTagNewPage, ""},
      {"End", kTypeEndOfFile, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LinkName(c.text, c.type), c.name);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(HeadingLinksTest, LongHeadingsKeepThirtyCharactersAndAShortForm) {
  const std::string text(70, 'x');
  TextString shortForm(text.c_str());
  ShortenName(shortForm);
  const std::string name = LinkName(text.c_str(), kTypeUnderlinedHeading2);
  EXPECT_EQ(name, std::string(30, 'x') + "__" + Str(shortForm));
  EXPECT_EQ(name.size(), 30u + 2u + 8u);
  // Sixty characters stay whole.
  EXPECT_EQ(LinkName(std::string(60, 'y').c_str(), kTypeUnderlinedHeading2), std::string(60, 'y'));
}

TEST_F(HeadingLinksTest, PrefixWordsMoveTheNumberToALaterWord) {
  fc.GetRecognisedHeadings().headings[0].prefixGiven = 1;
  fc.GetRecognisedHeadings().contents[1].prefixGiven = 1;
  const struct {
    const char* text;
    int type;
    int prefixCheck;
    const char* name;
  } kCases[] = {
      {"Chapter 3 Methods", kTypeHeading1, 1, "Section_3"},
      {"Chapter 3 Methods", kTypeHeading1, 0, "Section_Chapter"},
      {"Part One (4.) Tools", kTypeHeading1, 1, "Section_4"},
      {"Chapter One Methods", kTypeHeading1, 1, "Section_One"},  // neither word is a number
      {"Section 2.1 Terms", kTypeContentsHeading2, 1, "Section_2.1"},
      {"Section 2.1 Terms", kTypeHeading2, 1, "Section_Section"},  // no prefix at that level
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LinkName(c.text, c.type, c.prefixCheck), c.name);
  }
  EXPECT_EQ(LinkName("Chapter One 3 Methods", kTypeHeading1, 1), "Section_3");
  // Reading "3." as a number leaves the heading-number state as it was.
  EXPECT_EQ(LinkName("Chapter 3. Methods", kTypeHeading1, 1), "Section_3");
  EXPECT_EQ(SectionLevelState(ctx, 1).lowestNumber, -1);
  // Without numbered headings no word reads as a number: word 2 is taken.
  fc.Bool(PolicyId::ExpectNumberedHeadings).value = 0;
  EXPECT_EQ(LinkName("Chapter One 3 Methods", kTypeHeading1, 1), "Section_One");
}

TEST_F(HeadingLinksTest, AnUnknownTypeIsReportedAndNamedFromItsFirstWord) {
  EXPECT_EQ(LinkName("7.2 Odd", kTypeBullet), "Section_7.2");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "UNSUPPORTED CASE: Unknown heading type GetHeadingLinkName - 210");
}

TEST_F(HeadingLinksTest, EntryLinkNameUsesTheEntrysTextAndKind) {
  HeadingEntry entry;
  entry.kind = kTypeHeading3;
  entry.headingText.Assign("1.2.3 Deep");
  TextString name("stale");
  GetHeadingEntryLinkName(&entry, fc, ctx, 0, name);
  EXPECT_EQ(Str(name), "Section_1.2.3");
  GetHeadingEntryLinkName(nullptr, fc, ctx, 0, name);
  EXPECT_EQ(Str(name), "");
}

// ---- File name tags ----

class TaggedFileTest : public HeadingLinksTest {
 protected:
  TaggedFileTest() {
    ctx.AnalysisPass = 0;
    ctx.ContentsPass = 1;
    ctx.CodeLocation = kLocationOutput;
  }

  void AddTag(const char* name, const char* file, int line, int block = 0) {
    TextString value("\xA1");
    value.Append(file);
    ASSERT_EQ(ctx.Tags.Add(fc, TextString(name), value, 0, TextPosition(block, line), 1), 1);
  }

  TaggedFileDetails At(int line, int block = 0) {
    ctx.GetPassTracker(kLocationOutput).currentPosition = TextPosition(block, line);
    TaggedFileDetails details;
    details.folder.Assign("stale");
    details.secondFolder.Assign("stale");
    GetTaggedFileDetails(fc, details);
    return details;
  }
};

TEST_F(TaggedFileTest, TakesTheNearestTagWithinNineLines) {
  AddTag("FILENAME", "out/first.htm", 10);
  AddTag("NEWFILE", "second.htm", 30);
  // Nine lines after the tag: taken; the folder, name and extension are split.
  TaggedFileDetails d = At(19);
  EXPECT_EQ(Str(d.folder), "out/");
  EXPECT_EQ(Str(d.baseName), "first");
  EXPECT_EQ(Str(d.extension), ".htm");
  EXPECT_EQ(Str(d.secondBaseName), "");
  // The tag after is nearer.
  d = At(25);
  EXPECT_EQ(Str(d.baseName), "second");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TaggedFileTest, ATagTenLinesAwayIsTooFar) {
  AddTag("FILENAME", "first.htm", 10);
  const TaggedFileDetails d = At(20);
  EXPECT_EQ(Str(d.baseName), "");
  EXPECT_STREQ(fc.GetMessageText().GetText(), "Nearest FILENAME tag too far away");
  // The tag before still names the second parts.
  EXPECT_EQ(Str(d.secondBaseName), "first");
  EXPECT_EQ(Str(d.secondExtension), ".htm");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TaggedFileTest, EqualDistanceAndSameLinePreferences) {
  AddTag("NEWFILE", "before_new.htm", 8);
  AddTag("FILENAME", "before_file.htm", 8);
  AddTag("FILENAME", "after_file.htm", 12);
  AddTag("NEWFILE", "after_new.htm", 12);
  // Two before on one line: FILENAME; two after on one line: NEWFILE; equal distance: before.
  const TaggedFileDetails d = At(10);
  EXPECT_EQ(Str(d.baseName), "before_file");
  EXPECT_EQ(Str(At(11).baseName), "after_new");
}

TEST_F(TaggedFileTest, TheSameValueIsNotTakenTwice) {
  AddTag("FILENAME", "first.htm", 10);
  EXPECT_EQ(Str(At(11).baseName), "first");
  const TaggedFileDetails again = At(12);
  EXPECT_EQ(Str(again.baseName), "");
  EXPECT_EQ(Str(again.secondBaseName), "first");
}

TEST_F(TaggedFileTest, TagsInAnotherBlockAreNeverNear) {
  AddTag("FILENAME", "block.htm", 10, 3);
  const TaggedFileDetails d = At(10);
  EXPECT_EQ(Str(d.baseName), "");
  EXPECT_EQ(Str(d.secondBaseName), "");
}

TEST_F(TaggedFileTest, ReportsWhatItCannotUse) {
  // A tag after the line that does not parse.
  AddTag("FILENAME", "", 12);
  const TaggedFileDetails d = At(10);
  EXPECT_EQ(Str(d.baseName), "");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "TAG ERROR: Pailed to parse FILENAME tag");
  EXPECT_EQ(messages[1], "INFO: Failed to get filename from FILENAME tag");
}

TEST_F(TaggedFileTest, QuietWithoutTagsAndOnlyOnTheContentsPass) {
  EXPECT_EQ(Str(At(10).baseName), "");
  EXPECT_TRUE(messages.empty());
  ctx.ContentsPass = 0;
  AddTag("FILENAME", "first.htm", 10);
  const TaggedFileDetails d = At(10);
  EXPECT_EQ(Str(d.baseName), "");
  EXPECT_EQ(Str(d.folder), "");
  EXPECT_STREQ(fc.GetMessageText().GetText(),
               "PROGRAM ERROR: GetTaggedFileDetails not called on contents pass");
  EXPECT_TRUE(messages.empty());
}

// ---- Split file names ----

class SplitFileNameTest : public TaggedFileTest {
 protected:
  SplitFileNameTest() {
    ctx.OutputBaseName.Assign("doc");
    ctx.OutputExtension.Assign(".rtf");
  }

  std::string Name(int type, const char* heading = nullptr) {
    HeadingEntry entry;
    entry.kind = type;
    if (heading != nullptr)
      entry.headingText.Assign(heading);
    TextString base;
    TextString extension;
    MakeSplitFileName(heading != nullptr ? &entry : nullptr, type, fc, ctx, base, extension);
    return Str(base) + Str(extension);
  }
};

TEST_F(SplitFileNameTest, PageBreaksAndUnnumberedHeadingsShareTheCounter) {
  fc.Bool(PolicyId::UseNumberedSequenceInFileNames).value = 1;
  EXPECT_EQ(Name(kTypeFormFeed), "doc_1.rtf");
  EXPECT_EQ(Name(kTagNewPage), "doc_2.rtf");
  EXPECT_EQ(Name(kTypeUnderlinedHeading1, "Getting Started"), "doc_3.rtf");
  // Numbered headings leave the counter alone.
  EXPECT_EQ(Name(kTypeHeading1, "4 Tools"), "doc.rtf");
  EXPECT_EQ(Name(kTypeFormFeed), "doc_4.rtf");
}

TEST_F(SplitFileNameTest, UnnumberedHeadingsAreNamedByTheirWords) {
  EXPECT_EQ(Name(kTypeUnderlinedHeading1, "  Getting  Started With Caf&eacute; Today "),
            "doc_getting_started_with_cafe.rtf");
  fc.Int(PolicyId::NumberOfWordsToIncludeInFilename).value = 2;
  EXPECT_EQ(Name(kTypeKeyPhraseHeading1, "What's New?"), "doc_what_s_new.rtf");
  EXPECT_EQ(Name(kTypeCapitalisedHeading), "doc_U3.rtf");  // no entry
  EXPECT_EQ(ctx.SplitFileCounter, 3);
}

TEST_F(SplitFileNameTest, AClashGivesTheUForm) {
  (void)ctx.SplitFiles.Add(ctx, TextString("doc_getting_started.rtf"));
  EXPECT_EQ(Name(kTypeUnderlinedHeading1, "Getting Started"), "doc_U1.rtf");
  // RTF output names no duplicate.
  EXPECT_TRUE(messages.empty());
}

TEST(SplitFileName, AClashIsReportedForMarkupOutput) {
  Context ctx(kProductKelvane, kOutputHtml);
  FileControl& fc = ctx.GetFileControl();
  fc.AttachContext(&ctx);
  std::vector<std::string> messages;
  ctx.GetLogErrorHandler().SetMessageCallback(
      [&messages](const char* text) { messages.emplace_back(text); });
  ctx.OutputBaseName.Assign("doc");
  ctx.OutputExtension.Assign(".htm");
  ctx.CodeLocation = kLocationOutput;
  (void)ctx.SplitFiles.Add(ctx, TextString("doc_intro.htm"));
  HeadingEntry entry;
  entry.headingText.Assign("Intro");
  TextString base;
  TextString extension;
  MakeSplitFileName(&entry, kTypeUnderlinedHeading1, fc, ctx, base, extension);
  EXPECT_EQ(Str(base), "doc_U1");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "WARNING: Duplicate filename \"doc_intro.htm\". Using \"doc_U1.htm\" instead");
}

TEST_F(SplitFileNameTest, NumberedHeadingsAddTheirNumberWhenSplit) {
  EXPECT_EQ(Name(kTypeHeading3, "3.1.2 Details"), "doc.rtf");  // not split
  fc.Bool(PolicyId::SplitAtPageMarkers).value = 1;
  EXPECT_EQ(Name(kTypeHeading3, "3.1.2 Details"), "doc_3_1_2.rtf");
  EXPECT_EQ(Name(kTypeHeading1, "3. Details"), "doc_3.rtf");
  EXPECT_EQ(Name(kTypeHeading1, "(iv) Roman"), "doc_iv.rtf");
  EXPECT_EQ(Name(kTypeHeading1, "*** Stars"), "doc.rtf");
  fc.Int(PolicyId::SplitLevel).value = 2;
  EXPECT_EQ(Name(kTypeHeading3, "3.1.2 Details"), "doc_3_1.rtf");
  EXPECT_EQ(Name(kTypeHeading3, "4-2-1 Dashes"), "doc_4_2.rtf");
  fc.Bool(PolicyId::ExpectSecondWordHeadings).value = 1;
  EXPECT_EQ(Name(kTypeHeading1, "CHAPTER 5 Ends"), "doc_5.rtf");
  fc.Bool(PolicyId::ExpectSecondWordHeadings).value = 0;
  EXPECT_EQ(Name(kTypeHeading1, "CHAPTER 5 Ends"), "doc_CHAPTER.rtf");
  fc.GetRecognisedHeadings().headings[0].prefixGiven = 1;
  EXPECT_EQ(Name(kTypeHeading1, "Part 6 More"), "doc_6.rtf");
  EXPECT_EQ(ctx.SplitFileCounter, 0);
}

TEST_F(SplitFileNameTest, TagsAndDosNames) {
  fc.Bool(PolicyId::UseDOSFilenames).value = 1;
  EXPECT_EQ(Name(kTypeFormFeed), "doc_1.rtf");  // short names stay
  ctx.OutputBaseName.Assign("longdocumentname");
  TextString shortened("longdocumentname_2");
  ShortenName(shortened);
  EXPECT_EQ(Name(kTypeFormFeed), Str(shortened) + ".rtf");
  // A tagged name wins as written, with its own extension.
  AddTag("FILENAME", "chosen_name.htm", 5);
  ctx.GetPassTracker(kLocationOutput).currentPosition = TextPosition(0, 6);
  EXPECT_EQ(Name(kTypeFormFeed), "chosen_name.htm");
  // Later, too far from it, the tag names the stem.
  ctx.GetPassTracker(kLocationOutput).currentPosition = TextPosition(0, 40);
  fc.Bool(PolicyId::UseDOSFilenames).value = 0;
  EXPECT_EQ(Name(kTypeFormFeed), "chosen_name_3.rtf");
}

// ---- Contents matching ----

class ContentsMatchTest : public HeadingLinksTest {
 protected:
  void AddHeading(int type, const char* text, const char* link, int line) {
    const TextString t(text);
    const TextString none;
    ASSERT_EQ(ctx.Headings.AddHeading(ctx, type, t, t, TextString(link), TextPosition(0, line),
                                      none, none, none),
              1);
  }

  bool Match(const char* text, int type, ContentsMatch& match) {
    TextPosition position;
    return MatchContentsLine(TextString(text), type, fc, ctx, 0, position, match);
  }
};

TEST_F(ContentsMatchTest, FindsHeadingsByTextThenByNumber) {
  ctx.CurrentOutputFileName.Assign("doc.rtf");
  AddHeading(kTypeHeading1, "1 Introduction", "Section_1", 10);
  AddHeading(kTypeHeading2, "2.1 Getting Started", "Section_2.1", 20);
  AddHeading(kTypeUnderlinedHeading1, "Appendix", "Appendix", 30);
  const struct {
    const char* text;
    int type;
    const char* link;  // empty: no match
  } kCases[] = {
      {"1 Introduction", kTypeContentsHeading1, "Section_1"},
      {"2.1 getting  STARTED", kTypeContentsHeading2, "Section_2.1"},
      // A differing title: the section number decides, within the same kind.
      {"2.1. First steps", kTypeContentsHeading2, "Section_2.1"},
      {"2.1 First steps", kTypeContentsHeading1, ""},
      {"Appendix", kTypeUnderlinedHeading1, "Appendix"},
      {"Glossary", kTypeUnderlinedHeading1, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    ContentsMatch match;
    const bool found = Match(c.text, c.type, match);
    EXPECT_EQ(found, *c.link != '\0');
    EXPECT_EQ(Str(match.linkName), c.link);
    if (found) {
      EXPECT_EQ(Str(match.fileName), "doc.rtf");
      ASSERT_NE(match.entry, nullptr);
      EXPECT_EQ(Str(match.entry->linkName), c.link);
      continue;
    }
    EXPECT_EQ(match.entry, nullptr);
    EXPECT_EQ(Str(fc.GetMessageText()), std::string("WARNING: Failed to match heading \"") + c.text + "\"");
  }
}

TEST_F(ContentsMatchTest, TakesTheCurrentPositionWhenAskedTo) {
  AddHeading(kTypeHeading1, "1 Introduction", "Section_1", 10);
  ctx.CodeLocation = kLocationContents;
  ctx.GetPassTracker(kLocationContents).currentPosition = TextPosition(0, 7);
  TextPosition position;
  ContentsMatch match;
  EXPECT_TRUE(MatchContentsLine(TextString("1 Introduction"), kTypeContentsHeading1, fc, ctx, 1,
                                position, match));
  EXPECT_EQ(position.GetColumn(), 7);
}

}  // namespace
