#include "rtf/StatementOutput.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfHelpers.h"
#include "policy/StyleSheet.h"
#include "policy/TableAnalysisPolicies.h"
#include "support/Growth.h"
#include "tables/PreForm.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextPosition.h"

namespace {

// Lines of set types written through a writer over an in-memory line list, as the output
// pass writes them: a document open, the RTF pass collecting, the lines handed over in order,
// then the end of the document.
struct StatementRun {
  StatementRun() : ctx(2, kOutputRtf), rtf(ctx) {
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { messages.emplace_back(t); });
    rtf.SetSink(&lines);
    rtf.SetRegionMaker(MakePreFormRegion);
    ctx.AnalysisPass = 0;
    ctx.ContentsPass = 0;
    ctx.OutputPass = 1;
  }

  // Appends a line of type with text, linked after the last one. Flags are added to the
  // ones every line has after a reset.
  PreHTML& Add(int type, const char* text, unsigned flags = 0) {
    Statement* previous = input.empty() ? nullptr : input.back().get();
    input.push_back(previous ? std::make_unique<PreHTML>(previous) : std::make_unique<PreHTML>());
    PreHTML& line = *input.back();
    line.SetText(text);
    line.SetLineType(type);
    line.SetFlag(flags, true);
    const int number = static_cast<int>(input.size());
    line.SetStartPosition(fc, TextPosition(0, number));
    return line;
  }
  // The closing lines the driver appends after the input: two blank lines and the end.
  void AddClosingLines() {
    Add(kTypeBlank, "");
    Add(kTypeBlank, "");
    Add(kTypeEndOfFile, "");
  }

  // Opens the document, writes every line, ends the document. The result is the document
  // after its prologue, one written line per text line.
  std::string Convert() {
    ctx.Styles.PrepareForOutput(fc);
    ctx.RtfPass = 1;
    rtf.SetBraceTracking(1);
    EXPECT_EQ(rtf.Open("doc", fc, 0), 1);
    EXPECT_EQ(rtf.FlushBuffer(fc, &rtf, 0), 1);
    const int first = lines.GetCount();
    for (auto& line : input)
      EXPECT_EQ(rtf.WriteOutStatement(*line, fc, ctx), 1);
    endResult = rtf.EndDocument(fc);
    std::string body;
    for (int i = first; i < lines.GetCount(); ++i) {
      body += lines.GetItem(i)->text.GetText();
      body += '\n';
    }
    return body;
  }

  // No message reports a fault of the writer or of the brace balance.
  void ExpectBalancedWithoutFaults() const {
    EXPECT_EQ(endResult, 1);
    EXPECT_EQ(rtf.GetBraceLevel(), 0);
    for (const std::string& message : messages) {
      EXPECT_EQ(message.find("PROGRAM ERROR"), std::string::npos) << message;
      EXPECT_EQ(message.find("close braces"), std::string::npos) << message;
      EXPECT_EQ(message.find("UNSUPPORTED CASE"), std::string::npos) << message;
    }
  }
  bool HasMessage(const std::string& text) const {
    for (const std::string& message : messages)
      if (message.find(text) != std::string::npos)
        return true;
    return false;
  }

  Context ctx;
  FileControl fc;
  RTFFile rtf;
  StringList lines;
  std::vector<std::unique_ptr<PreHTML>> input;
  std::vector<std::string> messages;
  int endResult = -1;
};

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

}  // namespace

// ---- Measurements and labels ----

TEST(HangingLabel, EndsAtTheFirstSeparatorBeforeADoubleBlank) {
  struct Row {
    const char* text;
    const char* label;
    const char* rest;
  };
  const Row rows[] = {
      {"Term - meaning of it", "Term", "- meaning of it"},
      {"Key= value: more", "Key=", "value: more"},
      {"Name: value - here", "Name: value", "- here"},
      {"word  later - x", "word", " later - x"},
      {"Cut: here  then", "Cut:", "here  then"},
      {"single", "single", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const TextString text(row.text);
    int rest = -1;
    const int end = FindHangingLabelEnd(text, rest);
    EXPECT_EQ(std::string(row.text, static_cast<size_t>(end)), row.label);
    EXPECT_EQ(std::string(row.text + rest), row.rest);
  }
}

TEST(HangingLabel, WidthIsRoundedDownTo360PlusOneStepAndLimited) {
  struct Case {
    int estimated;
    int width;
    bool limited;
  };
  const Case cases[] = {{0, 360, false},     {359, 360, false},   {360, 720, false},
                        {500, 720, false},   {3239, 3240, false}, {3240, 3600, false},
                        {3600, 3600, true},  {4000, 3600, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.estimated);
    bool limited = !c.limited;
    EXPECT_EQ(HangingLabelWidth(c.estimated, limited), c.width);
    EXPECT_EQ(limited, c.limited);
  }
}

TEST(RulerTab, IsTheLinesShareOfTheFullWidth) {
  struct Case {
    int length;
    bool landscape;
    int tab;
  };
  const Case cases[] = {{35, false, 4140},  {71, false, 8280},   {100, false, 8280},
                        {100, true, 12015}, {131, true, 15704},  {0, false, 115}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    EXPECT_EQ(RulerTabPosition(c.length, c.landscape), c.tab);
  }
}

TEST(JoinsNextLine, RunsOnOnlyWhereTheInputHasNoBlank) {
  struct Case {
    const char* name;
    const char* text;
    const char* next;
    bool utf8;
    bool joins;
  };
  const Case cases[] = {
      // A hyphen after a letter or digit before one.
      {"hex groups", "the constant 258EAFA5-E914-47DA-", "95CA-C5AB0DC85B11", false, true},
      {"compound word", "the header Content-", "  Transfer-Encoding names", false, true},
      {"accented letter before the hyphen", "caf\xC3\xA9-", "bar", true, true},
      {"dash after a blank", "a pause -", "then more", false, false},
      {"double hyphen", "one--", "two", false, false},
      {"hyphen before a bracket", "well-", "(known)", false, false},
      {"next line blank", "Content-", "   ", false, false},
      {"no hyphen", "Content", "Transfer", false, false},
      // Chinese and Japanese run on; Hangul keeps its blanks.
      {"han to han", "\xE4\xB8\xAD\xE6\x96\x87", "\xE6\x96\x87\xE5\xAD\x97", true, true},
      {"full stop to kana", "\xE6\x96\x87\xE3\x80\x82", "\xE3\x81\x82", true, true},
      {"han to latin", "\xE4\xB8\xAD", "Latin", true, false},
      {"latin to han", "Latin", "\xE4\xB8\xAD", true, false},
      {"hangul", "\xED\x95\x9C", "\xEA\xB8\x80", true, false},
      {"han bytes read as a code page", "\xE4\xB8\xAD", "\xE6\x96\x87", false, false},
      {"broken sequence at the end", "\xE4\xB8", "\xE6\x96\x87", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JoinsNextLine(TextString(c.text), TextString(c.next), c.utf8), c.joins);
  }
}

TEST(BulletLabel, TakesTheCharacterOfTheLevel) {
  struct Case {
    const char* characters;
    int level;
    const char* label;
  };
  const Case cases[] = {{"*-+", 2, "+"},      {"*-+", 5, "*"},     {"*-+", 0, "*"},
                        {"", 1, "\\u8226\\'95"}, {"a\\b", 1, "\\\\"}, {"{}", 1, "\\}"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    TextString out;
    BulletCharacterLabel(TextString(c.characters), c.level, out);
    EXPECT_STREQ(out.GetText(), c.label);
  }
}

// ---- Statements ----

TEST(WriteOutStatement, UnderlinedHeadingAndTwoBodyParagraphs) {
  StatementRun run;
  run.Add(kTypeUnderlinedHeading2, "Introduction", kFlagUnderlinedHeading);
  run.Add(kTypeHeaderNull, "============");
  run.Add(kTypeBlank, "");
  run.Add(kTypeUntyped, "This is the first paragraph");
  run.Add(kTypeUntyped, "of plain text.");
  run.Add(kTypeBlank, "");
  run.Add(kTypeUntyped, "This is the second paragraph.");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();

  const size_t heading = body.find("\\s62");
  ASSERT_NE(heading, std::string::npos) << body;
  const size_t headingText = body.find("Introduction\\par}}", heading);
  ASSERT_NE(headingText, std::string::npos) << body;
  EXPECT_EQ(body.find("===="), std::string::npos) << body;
  // The body paragraphs follow the heading directly: nothing for the underline and the
  // blank line after the heading.
  const size_t bodyStyle = body.find("\\s1\\", headingText);
  ASSERT_NE(bodyStyle, std::string::npos) << body;
  const size_t first = body.find("This is the first paragraph", bodyStyle);
  const size_t second = body.find("This is the second paragraph.", first);
  ASSERT_NE(first, std::string::npos) << body;
  ASSERT_NE(second, std::string::npos) << body;
  EXPECT_EQ(body.substr(headingText + 18, first - headingText - 18).find("\\par\n"),
            std::string::npos)
      << body;
  const std::string between = body.substr(first, second - first);
  EXPECT_NE(between.find("of plain text."), std::string::npos);
  EXPECT_EQ(Count(between, "\\par"), 1u) << between;
  EXPECT_EQ(Count(body, "\\s62"), 1u);
}

TEST(WriteOutStatement, HeadingClosesBodyWithParAndAnotherHeadingWithout) {
  StatementRun run;
  run.Add(kTypeUntyped, "Some text.");
  run.Add(kTypeHeading2, "2 Second");
  run.Add(kTypeHeading2, "3 Third");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  const size_t text = body.find("Some text.");
  const size_t secondHeading = body.find("{\\pard", text);
  ASSERT_NE(secondHeading, std::string::npos) << body;
  EXPECT_NE(body.substr(text, secondHeading - text).find("\\par}}"), std::string::npos) << body;
  // The first heading is its own group; the next one follows it at once.
  const size_t firstEnd = body.find("2 Second\\par}}");
  const size_t thirdStart = body.find("{\\pard", firstEnd);
  ASSERT_NE(firstEnd, std::string::npos) << body;
  EXPECT_EQ(body.substr(firstEnd + 14, thirdStart - firstEnd - 14).find("\\par"),
            std::string::npos)
      << body;
}

TEST(WriteOutStatement, EndOfInputWritesNothingAndUnknownTagsAreReported) {
  StatementRun plain;
  plain.Add(kTypeUntyped, "Text.");
  plain.Add(kTypeEndOfFile, "");
  (void)plain.Convert();
  plain.ExpectBalancedWithoutFaults();

  for (const int type : {kTagInsertBlock, kTagInsertFragment}) {
    SCOPED_TRACE(type);
    StatementRun run;
    run.Add(type, "$_$_SOMETHING");
    run.AddClosingLines();
    (void)run.Convert();
    EXPECT_TRUE(run.HasMessage("UNSUPPORTED CASE: Unknown line type in RTFFile - " +
                               std::to_string(type)));
  }
}

TEST(WriteOutStatement, UseOfRtfStyles3WritesEveryParagraphAsBody) {
  StatementRun run;
  run.fc.Int(PolicyId::UseOfRTFStyles).value = 3;
  run.Add(kTypeHeading1, "1 Heading");
  run.Add(kTypeQuoted, "> quoted");
  run.Add(kTypeUntyped, "text");
  RTFFile::StatementClass cls;
  for (const auto& line : run.input) {
    SCOPED_TRACE(line->GetLineType());
    run.rtf.ClassifyStatement(line.get(), run.fc, LineContext::Blank(), LineContext::Blank(),
                              line->GetLineType(), cls);
    EXPECT_EQ(cls.styleCode, kParagraphBody);
  }
}

// The bits of a line's flags that the writer reads, each with what it does.
TEST(WriteOutStatement, LineFlagsDecideWhatIsWritten) {
  {
    StatementRun run;
    run.Add(kTypeUntyped, "kept");
    run.Add(kTypeUntyped, "ignored part", kFlagExcluded);
    run.Add(kTypeUntyped, "next");
    run.input[2]->SetFlag(kFlagIncluded, false);
    run.AddClosingLines();
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    EXPECT_NE(body.find("kept"), std::string::npos);
    EXPECT_EQ(body.find("ignored part"), std::string::npos) << "excluded";
    EXPECT_EQ(body.find("next"), std::string::npos) << "not included";
  }
  {
    StatementRun run;
    run.Add(kTypeUntyped, "ends here", kFlagParagraphEnd);
    run.Add(kTypeUntyped, "{\\b raw}", kFlagRawOutput);
    run.AddClosingLines();
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    EXPECT_NE(body.find("ends here\\par"), std::string::npos) << body;
    EXPECT_NE(body.find("{\\b raw}"), std::string::npos) << body;
  }
}

// The lines of a region are collected and written when the region ends, between the
// paragraphs around it. Lines that never wrap and table lines alike are analysed; lines that
// line up in columns become an RTF table of one row per line, their text escaped in the cells.
TEST(WriteOutStatement, PreformattedAndTableLinesAreWrittenAsARegion) {
  const std::vector<std::string> pieces = {
      "\\trowd ", "{a}\\cell\n{b}\\cell\n{c}\\cell\n", "{\\row }",
      "\\trowd ", "{1}\\cell\n{2}\\cell\n{\\'7b3\\'7d}\\cell\n", "{\\row }"};
  for (const unsigned flag : {kFlagNeverWrap, kFlagTableLine}) {
    SCOPED_TRACE(flag);
    StatementRun run;
    run.Add(kTypeUntyped, "Before.");
    run.Add(kTypeBlank, "");
    run.Add(kTypeUntyped, "  a   b   c", flag);
    run.Add(kTypeUntyped, "  1   2   {3}", flag);
    run.Add(kTypeBlank, "");
    run.Add(kTypeUntyped, "After.");
    run.AddClosingLines();
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    std::size_t at = body.find("Before.");
    ASSERT_NE(at, std::string::npos) << body;
    for (const std::string& piece : pieces) {
      const std::size_t found = body.find(piece, at);
      ASSERT_NE(found, std::string::npos) << piece << " after " << at << " in\n" << body;
      at = found + piece.size();
    }
    EXPECT_NE(body.find("After.", at), std::string::npos) << body;
    EXPECT_EQ(body.find("\\trowd ", at), std::string::npos) << "two rows only\n" << body;
    EXPECT_EQ(run.fc.CollectingRegion, 0);
  }
}

// A table that a directive declares delimited is cut at its own delimiter: a comma for
// BEGIN_COMMA_DELIMITED_TABLE (quoted fields keep theirs), a tab for BEGIN_DELIMITED_TABLE.
TEST(WriteOutStatement, DelimitedTablesAreCutAtTheirOwnDelimiter) {
  struct Case {
    int tag;
    const char* opening;
    std::vector<const char*> lines;
  };
  const Case cases[] = {
      {kTagBeginCommaDelimitedTable,
       "$_$_BEGIN_COMMA_DELIMITED_TABLE",
       {"Fruit,Origin,Price", "Apples,\"Kent, England\",120", "Pears,Normandy,95"}},
      {kTagBeginDelimitedTable,
       "$_$_BEGIN_DELIMITED_TABLE",
       {"Fruit\tOrigin\tPrice", "Apples\tKent, England\t120", "Pears\tNormandy\t95"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opening);
    StatementRun run;
    run.fc.CreateNewTabPolicy();
    run.Add(kTypeUntyped, "Before.");
    PreHTML& opening = run.Add(c.tag, c.opening, kFlagTableLine);
    opening.SetTaggedType(c.tag);
    opening.SetSpecialFormat(7);
    for (const char* text : c.lines)
      run.Add(kTypeUntyped, text, kFlagTableLine).SetSpecialFormat(7);
    run.Add(kTagEndRegion, "$_$_END_TABLE").SetTaggedType(kTagEndRegion);
    run.Add(kTypeUntyped, "After.");
    run.AddClosingLines();
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    std::size_t at = body.find("Before.");
    // Numbers stand to the right of their cells.
    for (const char* piece :
         {"{Fruit}\\cell\n{Origin}\\cell\n", "{Price}\\cell", "{Apples}\\cell\n{Kent, England}\\cell\n",
          "{\\qr {120}\\cell}", "{Pears}\\cell\n{Normandy}\\cell\n", "{\\qr {95}\\cell}", "After."}) {
      at = body.find(piece, at);
      ASSERT_NE(at, std::string::npos) << piece << " in\n" << body;
    }
    // The policies of the table keep their own delimiter only while the table lasts.
    EXPECT_EQ(run.fc.GetNewTabPolicy()->Text(TablePolicyId::DelimiterCharacter).set, 0);
  }
}

// A region whose end never comes (an unclosed BEGIN_PRE flags every line after it, the
// closing lines too) is written when the input ends; without the closing lines, when the
// document ends.
TEST(WriteOutStatement, ARegionLeftOpenIsWrittenAtTheEnd) {
  for (const bool closingLines : {true, false}) {
    SCOPED_TRACE(closingLines);
    StatementRun run;
    run.Add(kTypeUntyped, "Before.");
    run.Add(kTagBeginPre, "$_$_BEGIN_PRE", kFlagTableLine).SetSpecialFormat(4);
    for (const char* text : {"  first   {line}", "  last    line"})
      run.Add(kTypeUntyped, text, kFlagTableLine).SetSpecialFormat(4);
    if (closingLines) {
      run.Add(kTypeBlank, "", kFlagTableLine).SetSpecialFormat(4);
      run.Add(kTypeEndOfFile, "", kFlagTableLine).SetSpecialFormat(4);
    }
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    const size_t first = body.find("  first   \\'7bline\\'7d\\par");
    ASSERT_NE(first, std::string::npos) << body;
    EXPECT_LT(first, body.find("  last    line\\par")) << body;
    // Written as the user PRE section it is, in the pre-formatted style.
    const std::string style =
        "\\s" + std::to_string(run.ctx.Styles.GetRecord(StyleSheet::kPreformatted).styleNumber) +
        "\\";
    EXPECT_LT(body.rfind(style, first), first) << body;
    EXPECT_EQ(run.fc.CollectingRegion, 0);
  }
}

TEST(WriteOutStatement, ABlankLineAfterAMailHeaderOpensTheNextParagraphBare) {
  StatementRun run;
  run.Add(kTypeUntyped, "From: someone", kFlagOpensNextParagraph);
  run.Add(kTypeBlank, "");
  run.Add(kTypeUntyped, "Body text.");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  const size_t bare = body.find("\\pard\\plain\\keepn ");
  ASSERT_NE(bare, std::string::npos) << body;
  EXPECT_LT(body.find("From: someone"), bare);
  EXPECT_LT(bare, body.find("Body text."));
}

TEST(WriteOutStatement, WithoutAnOpenDocumentNothingIsWritten) {
  StatementRun run;
  PreHTML& line = run.Add(kTypeUntyped, "text");
  EXPECT_EQ(run.rtf.WriteOutStatement(line, run.fc, run.ctx), 0);
  EXPECT_TRUE(run.HasMessage("PROGRAM ERROR:  File not open in call to WriteOutStatement!"));
  EXPECT_EQ(run.ctx.CodeLocation, kLocationNone);
}

// Whatever order the line types come in, every group the writer opens is closed: the
// document ends without repairs.
TEST(WriteOutStatement, AnyMixOfLineTypesEndsBalanced) {
  struct Kind {
    int type;
    const char* text;
    unsigned flags;
  };
  const Kind kinds[] = {
      {kTypeUntyped, "plain text line", 0},
      {kTypeUntyped, "short", kFlagShortLine},
      {kTypeUntyped, "  table   row   here", kFlagNeverWrap},
      {kTypeBlank, "", 0},
      {kTypeFormFeed, "", 0},
      {kTypeNewParagraph, "   New paragraph", 0},
      {kTypeLine, "----------------------------------------", 0},
      {kTypeHeading1, "1 Heading", 0},
      {kTypeHeading3, "1.2.3 Deeper", 0},
      {kTypeUnderlinedHeading2, "Underlined", kFlagUnderlinedHeading},
      {kTypeHeaderNull, "==========", 0},
      {kTypeCapitalisedHeading, "CAPITALS", 0},
      {kTypeContentsHeading1, "1 Contents entry", 0},
      {kTypeContentsHeading2, "1.1 Contents entry", 0},
      {kTypeHangingParagraph, "Label - hanging text", 0},
      {kTypeHangingContinuation, "    continued", 0},
      {kTypeDefinition, "Term: what it means", 0},
      {kTypeDefinitionContinuation, "    more of it", 0},
      {kTypeBullet, "- bullet", 0},
      {kTypeNumberedBullet, "1. numbered", 0},
      {kTypeLowerAlphaBullet, "a) lettered", 0},
      {kTypeBulletContinuation, "   continuation", 0},
      {kTypeBulletBlank, "", 0},
      {kTypeBulletBlankWithComment, "", 0},
      {kTypeQuoted, "> quoted", 0},
      {kTypeNull, "", 0},
      {kTypeMailHeader, "From: a@b.c", kFlagOpensNextParagraph},
      {kTagNewPage, "$_$_NEW_PAGE", 0},
      {kTagToc, "$_$_TOC", 0},
      {kTagBeginList, "$_$_BEGIN_LIST", 0},
      {kTagEndRegion, "$_$_END_TABLE", 0},
  };
  std::mt19937 random(12345);
  std::uniform_int_distribution<size_t> pick(0, std::size(kinds) - 1);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    StatementRun run;
    std::string trace;
    for (int i = 0; i < 60; ++i) {
      const Kind& kind = kinds[pick(random)];
      run.Add(kind.type, kind.text, kind.flags);
      trace += std::to_string(kind.type) + " ";
    }
    run.AddClosingLines();
    const std::string body = run.Convert();
    SCOPED_TRACE(trace);
    run.ExpectBalancedWithoutFaults();
    if (HasFailure()) {
      ADD_FAILURE() << body;
      return;
    }
  }
}

TEST(WriteOutStatement, HangingParagraphGetsItsLabelIndent) {
  StatementRun run;
  run.fc.GetIndentPositions().count = 2;
  run.fc.GetIndentPositions().positions[1] = 4;
  run.Add(kTypeUntyped, "Text.");
  run.Add(kTypeHangingParagraph, "    Ab - the label is short");
  run.Add(kTypeHangingContinuation, "         and goes on");
  run.Add(kTypeBlank, "");
  const std::string longLabel(40, 'W');
  run.Add(kTypeHangingParagraph, (longLabel + " - a label far too wide").c_str());
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  // Indent level 1 (indent 4) + 1; the label "Ab" estimates below 360 twips, so the label
  // width is 360: left indent 2 x 360 + 360.
  EXPECT_NE(body.find("\\li720{\n{\\pard"), std::string::npos) << body;
  EXPECT_NE(body.find("\\fi-360\\li1080 {\\b Ab\\b0}\\tab \n- the label is short"),
            std::string::npos)
      << body;
  EXPECT_NE(body.find("and goes on\\par}\n}}"), std::string::npos) << body;
  EXPECT_NE(body.find("\\fi-3600\\li3960 {\\b " + longLabel + "\\b0}\\tab "), std::string::npos)
      << body;
  EXPECT_TRUE(run.HasMessage("WARNING: Large hanging indent limited"));
}

TEST(WriteOutStatement, BulletItemsCarryTheirLabels) {
  StatementRun run;
  run.fc.Text(PolicyId::CharactersToUseForBullets).value.Assign("*-+");
  run.Add(kTypeUntyped, "Before the list.");
  run.Add(kTypeBlank, "");
  run.Add(kTypeBullet, "- first item");
  run.Add(kTypeBulletContinuation, "  more of the first");
  run.Add(kTypeNumberedBullet, "2. second item");
  run.Add(kTypeBlank, "");
  run.Add(kTypeUntyped, "After the list.");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  EXPECT_NE(body.find("{*\\tab}first item"), std::string::npos) << body;
  EXPECT_NE(body.find("more of the first\\par}}"), std::string::npos) << body;
  EXPECT_NE(body.find("{2.\\tab}second item\\par}}"), std::string::npos) << body;
  EXPECT_EQ(Count(body, "\\jclisttab"), 2u) << body;
  EXPECT_LT(body.find("second item"), body.find("After the list.")) << body;
}

TEST(WriteOutStatement, RulersTaggedLinesAndPageBreaks) {
  StatementRun run;
  run.Add(kTypeUntyped, "Above.");
  run.Add(kTypeLine, std::string(35, '-').c_str());
  run.Add(kTypeFormFeed, "");
  run.Add(kTagToc, "$_$_TOC");
  run.Add(kTagPara, "$_$_PARA");
  run.Add(kTagNewPage, "$_$_NEW_PAGE");
  run.Add(kTypeUntyped, "Below.");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  EXPECT_NE(body.find("\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx4140 {\\strike\\tab}\\par}"),
            std::string::npos)
      << body;
  EXPECT_EQ(body.find("-----"), std::string::npos) << body;
  EXPECT_EQ(Count(body, "\\page"), 2u) << body;
  EXPECT_EQ(body.find("$_$_"), std::string::npos) << body;
  EXPECT_TRUE(run.HasMessage("WARNING: PARA tag not implemented in RTF yet!"));
}

// A policy change is made where its line stands and a contents list line writes the contents
// field there; neither shows its directive. Without the contents-list switch the line writes
// nothing.
TEST(WriteOutStatement, PolicyChangeAndContentsListLinesDoTheirWork) {
  for (const int contentsSwitch : {1, 0}) {
    SCOPED_TRACE(contentsSwitch);
    StatementRun run;
    run.ctx.ContentsListSwitch = contentsSwitch;
    run.Add(kTypeUntyped, "Above.");
    run.Add(kTagChangePolicy, "$_$_CHANGE_POLICY Maximum level to show in contents : 2")
        .SetTaggedType(kTagChangePolicy);
    run.Add(kTypeContentsList, "$_$_CONTENTS_LIST").SetTaggedType(kTypeContentsList);
    run.Add(kTypeUntyped, "Below.");
    run.AddClosingLines();
    const std::string body = run.Convert();
    run.ExpectBalancedWithoutFaults();
    EXPECT_EQ(run.fc.GetInt(PolicyId::MaximumLevelToShowInContents), 2);
    EXPECT_EQ(body.find("$_$_"), std::string::npos) << body;
    const std::string field =
        "{\\field{\\*\\fldinst {\\kerning0 TOC \\\\o \"1-2\" \\\\* MERGEFORMAT }}";
    EXPECT_EQ(Count(body, field), contentsSwitch == 1 ? 1u : 0u) << body;
    EXPECT_LT(body.find("Above."), body.find("Below.")) << body;
  }
}

TEST(WriteOutStatement, DefinitionsAndQuotations) {
  StatementRun run;
  run.fc.Bool(PolicyId::HighlightDefinitionText).value = 1;
  run.Add(kTypeDefinition, "Term: what it means");
  run.Add(kTypeBlank, "");
  run.Add(kTypeQuoted, "> a quoted line");
  run.AddClosingLines();
  const std::string body = run.Convert();
  run.ExpectBalancedWithoutFaults();
  EXPECT_NE(body.find("{\\b Term:\\b0} what it means\\par"), std::string::npos) << body;
  EXPECT_NE(body.find("\\s13"), std::string::npos) << body;  // the Quotes style
  EXPECT_NE(body.find("a quoted line\\par"), std::string::npos) << body;
}

// The writer does the same work for every line, however long the document.
TEST(WriteOutStatementGrowth, WorkGrowsLinearlyWithTheLines) {
  const auto work = [](int n) {
    StatementRun run;
    for (int i = 0; i < n; ++i) {
      switch (i % 8) {
        case 0: run.Add(kTypeHeading1, "1 A heading"); break;
        case 1: run.Add(kTypeBlank, ""); break;
        case 2: run.Add(kTypeBullet, "- an item of the list"); break;
        case 3: run.Add(kTypeBulletContinuation, "  and its second line"); break;
        case 4: run.Add(kTypeBlank, ""); break;
        case 5: run.Add(kTypeHangingParagraph, "Label - a hanging paragraph"); break;
        case 6: run.Add(kTypeUntyped, "A line of body text with words in it."); break;
        default: run.Add(kTypeNull, ""); break;
      }
    }
    run.AddClosingLines();
    return TimeOf([&run] { (void)run.Convert(); });
  };
  EXPECT_LT(SixteenfoldGrowth(500, work), kQuadraticGrowth);
}
