#include "analysis/LineAnalysis.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "support/ContextFixture.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"

namespace {

// Lines linked as the window links them, numbered from 1, analysed in order: each once its
// successor exists, the last one at the end (Analyse).
class LineAnalysisTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(1, 0, 0);
    ctx.CodeLocation = kLocationNone;  // the driver analyses with no location set
  }
  PreHTML& Add(const char* text, int taggedType = kTagNone) {
    auto line = lines.empty() ? std::make_unique<PreHTML>()
                              : std::make_unique<PreHTML>(lines.back().get());
    line->SetText(text);
    line->SetTaggedType(taggedType);
    line->SetStartPosition(fc, TextPosition(0, static_cast<int>(lines.size()) + 1));
    lines.push_back(std::move(line));
    return *lines.back();
  }
  void AddAll(std::initializer_list<const char*> texts) {
    for (const char* text : texts)
      Add(text);
  }
  void Analyse() {
    for (auto& line : lines)
      (void)line->AnalyseLine(fc, ctx);
  }
  // A new document: no lines, no heading state, no statistics.
  void Restart() {
    lines.clear();
    fc.GetHeadingState() = FileControl::HeadingState();
    ctx.Statistics.Reset();
  }
  int Type(std::size_t i) const { return lines[i]->GetLineType(); }
  CalculationStatistics Counts() { return CalculationStatistics(ctx.Statistics); }

  std::vector<std::unique_ptr<PreHTML>> lines;
};

}  // namespace

// ---- Mail and news headers ----

TEST(MailHeaderNames, HoldsEachNameOnce) {
  std::set<std::string> seen;
  for (std::string_view name : MailHeaderNames()) {
    std::string folded(name);
    for (char& c : folded)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert(folded).second) << "duplicate: " << name;
  }
  EXPECT_EQ(seen.size(), 229u);
}

TEST_F(LineAnalysisTest, HeaderNamesBeforeAColonMakeMailHeaderLines) {
  struct Case {
    const char* text;
    bool header;
  };
  const Case kCases[] = {
      {"Subject: The meeting", true},
      {"subject: any case", true},
      {"Content-Type: text/plain", true},
      {"X-Mailer: something", true},
      {"http://example.com/", false},   // a web address, not a header
      {"NOTE: this is a remark", false},
      {"Reply To: two words", false},   // a name with a blank
      {"Unknown-Field: value", false},
      {"   Subject: indented", false},
      {"Keywords without a colon", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    Add("");
    PreHTML& line = Add(c.text);
    Add("");
    Analyse();
    EXPECT_EQ(line.HasFlag(kFlagMailHeader), c.header);
    if (c.header) {
      EXPECT_TRUE(line.HasFlag(kFlagPreformatted));
      EXPECT_EQ(line.GetPreformattedKind(), 7);
    }
  }
}

TEST_F(LineAnalysisTest, AColonFromColumnThirtyOnIsNotLookedAt) {
  PreHTML& near = Add("Subject:  a colon at column 7");
  PreHTML& far = Add("Subject-with-a-long-name-here: value");  // colon at column 29
  PreHTML& beyond = Add("Subject-with-a-longer-name-here: value");  // colon at column 31
  Add("");
  Analyse();
  EXPECT_TRUE(near.HasFlag(kFlagMailHeader));
  EXPECT_FALSE(far.HasFlag(kFlagMailHeader));  // not a known name
  EXPECT_FALSE(beyond.HasFlag(kFlagMailHeader));
}

TEST_F(LineAnalysisTest, AMailBlockWithSenderAndSubjectCountsAsAHeading) {
  AddAll({"", "From: Jane Doe <jane@example.org>", "Date: 1 Jan 2000", "Subject: Greetings",
          "", "Body text of the message.", ""});
  Analyse();
  EXPECT_EQ(Counts().mailHeadings, 1);
  EXPECT_EQ(ctx.MailBlock.fromSeen, 0);  // forgotten after the block

  lines.clear();
  AddAll({"", "From: Jane Doe <jane@example.org>", "Date: 1 Jan 2000", "", "Text.", ""});
  Analyse();
  EXPECT_EQ(Counts().mailHeadings, 1);  // no Subject: no heading
}

// ---- Form feeds and blank lines ----

TEST_F(LineAnalysisTest, ALoneFormFeedIsAFormFeedLine) {
  AddAll({"Some plain text of a paragraph.", "\f", "More text."});
  Analyse();
  EXPECT_EQ(Type(1), kTypeFormFeed);

  lines.clear();
  AddAll({"", "- a bullet item with words", "\f", "More text."});
  Analyse();
  EXPECT_EQ(Type(1), kTypeBullet);
  EXPECT_NE(Type(2), kTypeFormFeed);  // after a bullet it goes on through the bullet checks
}

TEST_F(LineAnalysisTest, BlankLinesAreBlankAndCounted) {
  AddAll({"Text.", "", "   ", "More text."});
  Analyse();
  EXPECT_EQ(Type(1), kTypeBlank);
  EXPECT_EQ(Type(2), kTypeBlank);
  EXPECT_EQ(Counts().numBlankLines, 2);
  EXPECT_EQ(Counts().numLines, 4);
}

TEST_F(LineAnalysisTest, PlainTextOutputLeavesEveryLineUntyped) {
  Context textCtx{2, kOutputPlainText};
  FileControl textFc;
  textFc.AttachContext(&textCtx);
  PreHTML line;
  line.SetText("");
  line.SetLineType(kTypeBlank);
  EXPECT_EQ(line.AnalyseLine(textFc, textCtx), kTypeUntyped);
}

// ---- Definition blocks and tagged lines ----

TEST_F(LineAnalysisTest, LinesOfADefineBlockAreNullUntilItsEnd) {
  Add("$_$_DEFINE_BLOCK x", kTagDefineBlock);
  Add("inside the block");
  Add("$_$_END_BLOCK", kTagEndBlock);
  Add("after the block");
  Add("");
  Analyse();
  EXPECT_EQ(Type(0), kTagDefineBlock);
  EXPECT_EQ(Type(1), kTypeNull);
  EXPECT_EQ(Type(2), kTagEndBlock);
  EXPECT_EQ(Type(3), kTypeUntyped);
  EXPECT_EQ(ctx.GetPassTracker(kLocationAnalysis).inDefinitionBlock, 0);
}

TEST_F(LineAnalysisTest, TaggedLinesTakeTheirTagTypeAndOthersAreReported) {
  SetPass(0, 0, 1);
  ctx.CodeLocation = kLocationNone;
  Add("$_$_BEGIN_PRE", kTagBeginPre);
  Add("an alarm definition", kTagAlarmDefinition);
  Add("");
  Analyse();
  EXPECT_EQ(Type(0), kTagBeginPre);
  EXPECT_EQ(Type(1), kTypeUntyped);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Line 2 - UNSUPPORTED CASE: Tagged line type : 1035");
}

TEST_F(LineAnalysisTest, ALineWithoutALineNumberIsReported) {
  SetPass(0, 0, 1);
  PreHTML line;
  line.SetText("text");
  (void)line.AnalyseLine(fc, ctx);
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages[0].find("PROGRAM ERROR: Invalid Source line Number!!"), std::string::npos);
}

// ---- Contents lists and change bars ----

TEST_F(LineAnalysisTest, AContentsTitleStartsTheContentsList) {
  AddAll({"Introduction text.", "", "Table of Contents", "", "Some entry", ""});
  Analyse();
  EXPECT_FALSE(lines[0]->HasFlag(kFlagContentsList));
  EXPECT_TRUE(lines[2]->HasFlag(kFlagContentsList));
  EXPECT_EQ(fc.GetHeadingState().inContentsList, 1);
}

// The list ends so whether or not a chapter number was seen: a pass that parses no section
// numbers (numbered headings off) or takes none of the entries sees none, and a list that
// waited for one would take in the whole document.
TEST_F(LineAnalysisTest, AContentsListEndsEightLinesAfterItsLastLine) {
  for (const int lastChapter : {1, -1}) {
    SCOPED_TRACE(lastChapter);
    Restart();
    ctx.Statistics.headings[0].lastNumber = lastChapter;
    Add("Contents");
    for (int i = 0; i < 9; ++i)
      Add("running text line");
    Analyse();
    EXPECT_TRUE(lines[7]->HasFlag(kFlagContentsList));   // line 8: 7 after the title
    EXPECT_FALSE(lines[8]->HasFlag(kFlagContentsList));  // line 9: 8 after
    EXPECT_EQ(fc.GetHeadingState().contentsListEnded, 1);
  }
}

// A page break (blank lines, footer, form feed, header) inside a contents list does not end
// it; the same lines without the form feed do.
TEST_F(LineAnalysisTest, AContentsListGoesOnAcrossAPageBreak) {
  struct Case {
    const char* what;
    const char* breakLine;
    bool listGoesOn;
  } const kCases[] = {
      {"form feed", "\f", true},
      {"blank line in its place", "", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    fc.GetHeadingState() = FileControl::HeadingState();
    ctx.Statistics.headings[0].lastNumber = 1;  // a chapter number was seen
    AddAll({"Table of Contents", "", "   entry one", "   entry two", "", "", "",
            "Author                 Informational                  [Page 1]", c.breakLine,
            "RFC 0000               Storage Notes                  March 2020", "", "",
            "   entry three"});
    Analyse();
    EXPECT_EQ(lines.back()->HasFlag(kFlagContentsList), c.listGoesOn);
    EXPECT_EQ(fc.GetHeadingState().contentsListEnded, c.listGoesOn ? 0 : 1);
  }
}

// A line ending in a page number after a dot leader is a contents entry whatever its number,
// so the list goes on after it; it ends its own paragraph when no heading test takes it.
TEST_F(LineAnalysisTest, ADotLeaderEntryKeepsTheContentsListGoing) {
  ctx.Statistics.headings[0].lastNumber = 1;
  Add("Contents");
  for (int i = 0; i < 7; ++i)
    Add("   wrapped words of a long entry");
  PreHTML& appendix = Add("   Appendix A.1.   Examples  . . . . . . . . . . . . 47");
  for (int i = 0; i < 7; ++i)
    Add("   wrapped words of a long entry");
  Analyse();
  EXPECT_TRUE(appendix.HasFlag(kFlagContentsList));
  EXPECT_TRUE(appendix.HasFlag(kFlagParagraphEnd));
  EXPECT_TRUE(lines.back()->HasFlag(kFlagContentsList));
  EXPECT_EQ(fc.GetHeadingState().contentsListEnded, 0);
}

// An entry that ends in its page number is complete: the deeper entry below it, starting
// where its title starts, is no continuation of a hanging paragraph.
TEST_F(LineAnalysisTest, AContentsEntryWithItsPageNumberDoesNotHangOverTheNextEntry) {
  fc.Bool(PolicyId::LookForHangingParagraphs).value = 1;
  AddAll({"", "Table of Contents", "", "      A.1. Older Labels ..................... 78",
          "           A.1.1.  Paper Labels ............ 78", "", "      B.1. Label Stock",
          "           of the store's own make", ""});
  Analyse();
  EXPECT_NE(Type(3), kTypeHangingParagraph);
  EXPECT_NE(Type(4), kTypeHangingContinuation);
  // Without the page number the same layout hangs.
  EXPECT_EQ(Type(6), kTypeHangingParagraph);
  EXPECT_EQ(Type(7), kTypeHangingContinuation);
}

// A lettered contents entry that the bullet test takes ("D.  Changes ..... 53") is whole on
// its line when it ends in its page number: the entry below it is no continuation of it.
TEST_F(LineAnalysisTest, ABulletEndingInItsPageNumberTakesNoContinuation) {
  struct Case {
    const char* entry;
    const char* below;
    bool continues;
  } const kCases[] = {
      {"   D.  Changes from the Old Guide  . . . . . . . 53",
       "       D.1.  Additions  . . . . . . . . . . . . 53", false},
      {"   D.  Changes from the Old Guide", "       D.1.  Additions  . . . . . . . . . . . . 53",
       true},
  };
  fc.Bool(PolicyId::LookForBullets).value = 1;
  fc.Bool(PolicyId::ExpectAlphabeticBullets).value = 1;
  SetPass(0, 0, 1);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.entry);
    lines.clear();
    AddAll({"", "   C.  Delimiting a Name  . . . . . . . . . . 51", c.entry, c.below, ""});
    Analyse();
    EXPECT_TRUE(IsAnyBulletType(Type(2)));
    EXPECT_EQ(Type(3) == kTypeBulletContinuation, c.continues);
  }
}

// A contents entry that ends in its page number takes in no line below it: an unnumbered entry
// set in under its title ("Footnotes ..... 7") stays an entry of its own, while an entry whose
// title runs over two lines is joined.
TEST_F(LineAnalysisTest, AContentsEntryEndingInItsPageNumberIsWhole) {
  struct Case {
    const char* entry;
    const char* below;
    bool joined;
  } const kCases[] = {
      {"       3.2.  Spacing of the Shelves ........ 6",
       "             Footnotes ..................... 7", false},
      {"       3.2.  Spacing of the Shelves", "             and of the Boxes ......... 6", true},
  };
  SetPass(0, 0, 1);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.entry);
    lines.clear();
    AddAll({"", "   3.  Shelves ........................ 5", c.entry, c.below, ""});
    lines[0]->SetLineType(kTypeBlank);
    lines[1]->SetLineType(kTypeContentsHeading1);
    lines[2]->SetLineType(kTypeContentsHeading2);
    (void)lines[3]->AnalyseLine(fc, ctx);
    EXPECT_EQ(Type(3) == kTypeNull, c.joined);
    const std::string below(c.below);
    EXPECT_EQ(std::string(lines[2]->GetText()).find(below.substr(below.find_first_not_of(' '))) !=
                  std::string::npos,
              c.joined);
  }
}

TEST(EndsInDotLeaderPageNumber, NeedsThreeDotsBeforeTheNumber) {
  struct Case {
    const char* text;
    bool entry;
  } const kCases[] = {
      {"   1.1  Scope ........................ 12", true},
      {"Appendix A.1.   Examples  . . . . . . . . 47  ", true},
      {"Purpose...7", true},
      {"Index ... 3", true},
      {"Purpose..7", false},                  // two dots: an ellipsis or a typo
      {"see section 1.2.3 4", false},         // dots inside a number
      {"Scope ........................", false},  // no page number
      {"   1.1  Scope   12", false},           // no leader
      {"...", false},
      {"", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EndsInDotLeaderPageNumber(c.text), c.entry);
  }
}

// A chapter "1." early in the text that began a contents list of its own, with nothing after
// it, does not use the list up: a contents title later begins the document's own list.
TEST_F(LineAnalysisTest, ALoneChapterLineDoesNotUseTheContentsListUp) {
  AddAll({"1. STATUS OF THIS MEMO", ""});
  for (int i = 0; i < 9; ++i)
    Add("This memo describes how the boxes of the store are labelled.");
  PreHTML& title = Add("                     Table of Contents");
  AddAll({"", "  1. STATUS OF THIS MEMO                                    1", ""});
  Analyse();
  EXPECT_EQ(Type(0), kTypeContentsHeading1);
  EXPECT_TRUE(title.HasFlag(kFlagContentsList));
  EXPECT_EQ(fc.GetHeadingState().inContentsList, 1);
  EXPECT_EQ(fc.GetHeadingState().contentsListEnded, 0);
}

// ---- Lines that are plainly no heading ----

// Lines in capitals after a blank line are headings, but not a formula, a segment picture, a
// row of a diagram or a contents entry.
TEST_F(LineAnalysisTest, CapitalsThatAreNoHeading) {
  struct Case {
    const char* text;
    bool heading;
  } const kCases[] = {
      {"GLOSSARY", true},
      {"    LISTEN STATE", true},
      {"    SND.UNA < SEG.ACK =< SND.NXT", false},
      {"        <SEQ=SND.NXT><CTL=RST>", false},
      {"    TCP A                                                TCP B", false},
      {"GLOSSARY ............................................ 79", false},
  };
  SetPass(0, 0, 1);
  fc.Bool(PolicyId::ExpectCapitalisedHeadings).value = 1;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    AddAll({"Some text.", "", c.text, "", "More text."});
    Analyse();
    EXPECT_EQ(Type(2) == kTypeCapitalisedHeading, c.heading);
  }
}

// A no-break space (UTF-8) after a section number or a leading word parts the words as a blank
// does: the analysis pass counts the lines as headings at the depth of their number.
TEST_F(LineAnalysisTest, ANoBreakSpaceEndsTheSectionNumber) {
  struct Case {
    const char* chapter;
    const char* section;
    bool headings;
    int secondWords;  // of level 1
  } const kCases[] = {
      {"1.\xC2\xA0" "Definitions", "1.1.\xC2\xA0What is this FAQ?", true, 0},
      {"Chapter\xC2\xA0" "1.\xC2\xA0" "Definitions", "1.1.\xC2\xA0What is this FAQ?", true, 1},
      {"1.\xC2" "Definitions", "1.1.\xC2What is this FAQ?", false, 0},  // a lone lead byte
  };
  fc.Bool(PolicyId::ExpectContentsList).value = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.section);
    Restart();
    AddAll({"Some text.", "", c.chapter, "", "In this version the clock has been overhauled.", "",
            c.section, "", "More text."});
    Analyse();
    EXPECT_EQ(Type(2), c.headings ? kTypeHeading1 : kTypeUntyped);
    EXPECT_EQ(Type(6), c.headings ? kTypeHeading2 : kTypeUntyped);
    EXPECT_EQ(Counts().headings[0].secondWordCount, c.secondWords);
  }
}

// A line in capitals directly above another in capitals at its own indent begins a list of
// names, one directly above text set in further is the term of a glossary entry, and one
// directly above a table row set in further labels the rows; above a blank line, capitals set
// in further or text at its own indent, it stays a heading.
TEST_F(LineAnalysisTest, CapitalsBeginningAListOrAGlossaryEntryAreNoHeading) {
  struct Case {
    const char* text;
    const char* next;
    bool heading;
  } const kCases[] = {
      {"      UNKNOWN", "      VAX-11/725", false},
      {"   TYCOM", "   UNIVAC-DCT-500", false},
      {"   1   REQUEST", "   2   REPLY", false},
      {"ACK", "          A control bit (acknowledge) occupying no sequence space", false},
      {"   SEGMENT ARRIVES", "       If the state is CLOSED then", false},
      {"   $ AES", "      (N) See: Advanced Encryption Standard.", false},
      {"      UNKNOWN", "", true},
      {"      FTP", "          CONTROL  1000", true},
      {"      FTP", "        Control          1000          (minimize delay)", false},
      {"      SMTP (3)", "        DATA phase       0100", false},
      {"GLOSSARY", "Terms used in this document.", true},
      {"GLOSSARY", "  Terms used in this document.", true},
      {"   LISTEN STATE", "     SND.UNA", true},
  };
  SetPass(0, 0, 1);
  fc.Bool(PolicyId::ExpectCapitalisedHeadings).value = 1;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    lines.clear();
    AddAll({"Some text.", "", c.text, c.next, "", "More text."});
    Analyse();
    EXPECT_EQ(Type(2) == kTypeCapitalisedHeading, c.heading);
  }
}

// A word naming a section announces a heading number after it, unless it opens a bracket: a
// cross-reference at the start of a line of running text is no heading, and leaves the
// heading numbers where they were.
TEST_F(LineAnalysisTest, ABracketedSectionReferenceIsNoHeading) {
  struct Case {
    const char* text;
    int type;
    int lastChapter;
  } const kCases[] = {
      {"Section 3 Reading Labels", kTypeHeading1, 3},
      {"(Section 3) so that regular files can be told apart", kTypeUntyped, 2},
      {"[Section 3] Gives the format of a label", kTypeUntyped, 2},
  };
  fc.Bool(PolicyId::ExpectContentsList).value = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    Restart();
    AddAll({"Some text.", "", "Section 1 Labels", "", "Text of the section.", "",
            "Section 2 Names", "", "Text of the section.", "", c.text, "", "More text."});
    Analyse();
    EXPECT_EQ(Type(10), c.type);
    EXPECT_EQ(ctx.Statistics.headings[0].lastNumber, c.lastChapter);
  }
}

// A section number needs a title after it; a number alone above a paragraph is a list item.
TEST_F(LineAnalysisTest, ANumberWithoutATitleIsNoHeading) {
  struct Case {
    const char* text;
    bool heading;
  } const kCases[] = {
      {"1. Introduction", true},
      {"1.", false},
      {"1 */", false},
  };
  fc.Bool(PolicyId::ExpectContentsList).value = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    Restart();
    AddAll({"Some text.", "", c.text, "", "In this version the clock has been overhauled."});
    Analyse();
    EXPECT_EQ(Type(2) == kTypeHeading1, c.heading);
  }
}

// A row of a box above its border is no underlined heading; a line of words above a rule is.
TEST_F(LineAnalysisTest, ABoxRowIsNoUnderlinedHeading) {
  struct Case {
    const char* row;
    const char* rule;
    bool heading;
  } const kCases[] = {
      {"   Type and Length", "   -----------------", true},
      {"   | Type | Length |", "   +------+--------+", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.row);
    lines.clear();
    AddAll({"Some text.", "", c.row, c.rule, "", "More text."});
    Analyse();
    EXPECT_EQ(IsUnderlinedHeadingType(Type(2)), c.heading);
  }
}

TEST_F(LineAnalysisTest, OneBarAtTheEdgeMakesAChangeBarLine) {
  PreHTML& marked = Add("| changed text");
  PreHTML& table = Add("| a | b |");
  Add("");
  Analyse();
  EXPECT_TRUE(marked.HasFlag(kFlagChangeBar));
  EXPECT_STREQ(marked.GetText(), "  changed text");
  EXPECT_STREQ(marked.GetTidy().GetText(), "  changed text");
  EXPECT_STREQ(marked.GetRawCopy().GetText(), "  changed text");
  EXPECT_EQ(marked.GetIndent(), 2);
  EXPECT_EQ(Counts().changeBarLines, 1);
  EXPECT_FALSE(table.HasFlag(kFlagChangeBar));
}

TEST_F(LineAnalysisTest, ARuleSetSwitchesTheChangeBarAndMailDetectorsOff) {
  fc.SetRuleSet(1, 1);
  PreHTML& marked = Add("| changed text");
  PreHTML& header = Add("Subject: a header");
  Add("");
  Analyse();
  EXPECT_FALSE(marked.HasFlag(kFlagChangeBar));
  EXPECT_FALSE(header.HasFlag(kFlagMailHeader));
}

// ---- Headings ----

TEST_F(LineAnalysisTest, KeyPhrasesMakeHeadingsOfTheirLevel) {
  SetPass(0, 0, 1);
  fc.Text(PolicyId::HeadingKeyPhrases).value = "\"Appendix|Annex,2\",\"Part\"";
  AddAll({"", "Appendix A: tables", "", "Annex B", "", "Part one of many", ""});
  Analyse();
  EXPECT_EQ(Type(1), kTypeKeyPhraseHeading2);
  EXPECT_EQ(Type(3), kTypeKeyPhraseHeading2);
  EXPECT_EQ(Type(5), kTypeKeyPhraseHeading2);  // no level: the pair's position
  EXPECT_TRUE(messages.empty());
}

TEST_F(LineAnalysisTest, AKeyPhraseLevelOutsideOneToSixIsReportedNotUsed) {
  SetPass(0, 0, 1);
  fc.Text(PolicyId::HeadingKeyPhrases).value =
      "\"Part,9\",\"A1\",\"A2\",\"A3\",\"A4\",\"A5\",\"Seventh\",\"Zero,0\"";
  AddAll({"", "Part one", "", "Seventh heaven", "", "Zero hour", ""});
  Analyse();
  for (std::size_t i : {1u, 3u, 5u}) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(IsKeyPhraseHeadingType(Type(i)));
    EXPECT_GE(Type(i), 0);
  }
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0],
            "Line 2 - WARNING: Ignoring \"Heading key phrases\" entry with a level outside 1-6 "
            ": \"Part,9\"");
}

TEST_F(LineAnalysisTest, AnEmptyKeyPhraseMatchesNothing) {
  SetPass(0, 0, 1);
  fc.Text(PolicyId::HeadingKeyPhrases).value = "\"Appendix|,1\"";
  AddAll({"", "Ordinary text line", ""});
  Analyse();
  EXPECT_FALSE(IsKeyPhraseHeadingType(Type(1)));
}

// ---- Paragraphs ----

TEST_F(LineAnalysisTest, AnIndentedLineAfterAParagraphOpensANewOne) {
  fc.Int(PolicyId::NewParagraphOffset).value = 4;
  struct Case {
    const char* next;
    int type;
  };
  const Case kCases[] = {
      {"back at the margin", kTypeNewParagraph},
      {"    at the offset as well", kTypeNewParagraph},  // all three equal
      {"      further in", kTypeUntyped},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.next);
    lines.clear();
    AddAll({"", "An unindented paragraph line of text", "    indented by four", c.next, ""});
    Analyse();
    EXPECT_EQ(Type(2), c.type);
  }
}

TEST_F(LineAnalysisTest, ShortLinesAreFlagged) {
  AddAll({"", "Short.", "A line of text that is long enough to fill more than half a page.", ""});
  Analyse();
  EXPECT_TRUE(lines[1]->HasFlag(kFlagShortLine));
  EXPECT_FALSE(lines[2]->HasFlag(kFlagShortLine));
}

TEST_F(LineAnalysisTest, TreatEachLineAsAParagraph) {
  fc.Bool(PolicyId::TreatEachLineAsAParagraph).value = 1;
  AddAll({"", "first line of text", "second line of text", ""});
  Analyse();
  EXPECT_EQ(Type(1), kTypeNewParagraph);
  EXPECT_EQ(Type(2), kTypeNewParagraph);
}

// ---- The review round a roll-out line ----

namespace {

class RollOutReviewTest : public LineAnalysisTest {
 protected:
  void SetUp() override {
    LineAnalysisTest::SetUp();
    SetPass(0, 0, 1);
  }
  PreHTML& Typed(const char* text, int type, unsigned flags = 0) {
    PreHTML& line = Add(text);
    line.SetLineType(type);
    if (flags != 0)
      line.SetFlag(flags, true);
    return line;
  }
};

TEST_F(RollOutReviewTest, ARuleUnderACaptionJoinsTheBlockBelow) {
  const struct {
    const char* name;
    int aboveCaption;
    int captionType;
    int ruleType;
    bool joins;
  } kCases[] = {
      {"rule line", kTypeBlank, kTypeUntyped, kTypeLine, true},
      {"underline", kTypeBlank, kTypeUntyped, kTypeHeaderNull, true},
      {"no blank above the caption", kTypeUntyped, kTypeUntyped, kTypeLine, false},
      {"caption already typed", kTypeBlank, kTypeNewParagraph, kTypeLine, false},
      {"no rule", kTypeBlank, kTypeUntyped, kTypeUntyped, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    lines.clear();
    Typed("", c.aboveCaption);
    PreHTML& caption = Typed("Name      Size", c.captionType);
    PreHTML& rule = Typed("--------  ----", c.ruleType);
    PreHTML& block = Typed("alpha     12", kTypeUntyped, kFlagRollOut);
    block.ReviewRollOutLine(fc, ctx);
    EXPECT_EQ(rule.HasFlag(kFlagRollOut), c.joins);
    EXPECT_EQ(caption.HasFlag(kFlagRollOut), c.joins);
    EXPECT_EQ(rule.GetPreformattedKind(), c.joins ? 7 : 0);
    EXPECT_EQ(caption.GetPreformattedKind(), c.joins ? 4 : 0);
  }
}

TEST_F(RollOutReviewTest, LinesBetweenMailHeadersJoinTheHeaderBlock) {
  for (int gap : {0, 1, 3, 4}) {
    SCOPED_TRACE(gap);
    lines.clear();
    Typed("", kTypeBlank);
    PreHTML& header = Typed("From: someone", kTypeUntyped, kFlagMailHeader);
    for (int i = 0; i < gap; ++i)
      Typed("    folded value", kTypeUntyped);
    PreHTML& last = Typed("Subject: a note", kTypeUntyped, kFlagMailHeader | kFlagRollOut);
    last.ReviewRollOutLine(fc, ctx);
    const bool reached = gap < 4;  // the header must lie within four lines
    EXPECT_EQ(header.HasFlag(kFlagRollOut), reached);
    for (int i = 0; i < gap; ++i) {
      const PreHTML& between = *lines[static_cast<std::size_t>(2 + i)];
      EXPECT_EQ(between.HasFlag(kFlagMailHeader), reached);
      EXPECT_EQ(between.HasFlag(kFlagRollOut), reached);
      EXPECT_EQ(between.GetPreformattedKind(), reached ? 7 : 0);
    }
    EXPECT_FALSE(lines[0]->HasFlag(kFlagRollOut));
  }
}

TEST_F(RollOutReviewTest, OnlyAMailHeaderRollOutLineReachesForItsHeader) {
  PreHTML& header = Typed("From: someone", kTypeUntyped, kFlagMailHeader);
  PreHTML& between = Typed("    folded value", kTypeUntyped);
  PreHTML& plain = Typed("alpha     12", kTypeUntyped, kFlagRollOut);
  plain.ReviewRollOutLine(fc, ctx);
  EXPECT_FALSE(header.HasFlag(kFlagRollOut));
  EXPECT_FALSE(between.HasFlag(kFlagMailHeader));
}

}  // namespace
