#include "tags/TagInterpreter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "support/TestFiles.h"
#include "text/StatementTypes.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// A tag run the way the line's tag handling runs it: recognised, then executed with one
// blank as the replacement.
struct TagRun {
  int recognised = 0;
  int result = -1;
  int replace = 0;
  std::string output;
  std::string keyword;
  std::string message;  // of a failed recognition
};

class TagInterpreterTest : public ContextFixture {
 protected:
  TagRun Run(const char* tag, int mode = kTagModeLine, PreHTML* onLine = nullptr) {
    TagRun run;
    TextString keyword;
    TextString arguments;
    TextString message;
    int level = 0;
    const TextString tagText(tag);
    run.recognised = RecogniseTag(fc, ctx, tagText, keyword, arguments, message, level);
    run.keyword = Str(keyword);
    run.message = Str(message);
    if (run.recognised == 0)
      return run;
    TextString output(" ");
    run.result = ExecuteTag(mode, onLine, tagText, keyword, arguments, nullptr, fc, ctx,
                            run.replace, output);
    run.output = Str(output);
    return run;
  }
  // The output of a tag the handler replaces, "<kept>" when it does not.
  std::string Output(const char* tag, int mode = kTagModeLine) {
    const TagRun run = Run(tag, mode);
    if (run.result != kTagHandled || run.replace != 1)
      return "<kept>";
    return run.output;
  }
};

// ---- Recognition ----

TEST_F(TagInterpreterTest, KeywordEndsAtBlankCommaOrEquals) {
  const struct {
    const char* tag;
    const char* keyword;
  } kCases[] = {
      {"[[NB 3]]", "NB"},         {"[[NB,3]]", "NB"},       {"[[NB=3]]", "NB"},
      {"[[  nb   3 ]]", "nb"},    {"[[BR]]", "BR"},         {"$_$_LINERULE 50%", "LINERULE"},
      {"[[Super 2]]", "Super"},   {"[[CT]]", "CT"},         {"[[toc a, b]]", "toc"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.tag);
    const TagRun run = Run(c.tag);
    EXPECT_EQ(run.recognised, 1);
    EXPECT_EQ(run.keyword, c.keyword);
  }
}

TEST_F(TagInterpreterTest, RefusesNestedAndUnknownTags) {
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = 0;
  EXPECT_EQ(RecogniseTag(fc, ctx, TextString("[[NB [[SUB 2]]]]"), keyword, arguments, message,
                         level),
            0);
  EXPECT_EQ(Str(message), "Incomplete tag, or nested tag - \"[[NB [[SUB 2]]]]\"");
  EXPECT_EQ(level, 10);
  EXPECT_EQ(RecogniseTag(fc, ctx, TextString("[[FOO 1]]"), keyword, arguments, message, level),
            0);
  EXPECT_EQ(Str(message), "Unrecognised tag \"FOO\" : [[FOO 1]]");
  EXPECT_EQ(level, 10);
  EXPECT_EQ(RecogniseTag(fc, ctx, TextString("[[NB 1]]"), keyword, arguments, message, level), 1);
  EXPECT_EQ(level, -1);
  EXPECT_TRUE(message.IsEmpty());
}

TEST_F(TagInterpreterTest, KnowsItsListedTagsInAnyCase) {
  ASSERT_EQ(KnownTagNames().size(), 55u);
  for (const std::string_view name : KnownTagNames()) {
    std::string lower(name);
    for (char& c : lower)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(IsKnownTag(TextString(lower.c_str()))) << name;
  }
  for (const char* extra : {"CONTENTS_LIST", "NAVIGATION_BAR", "TOC", "OT", "CT", "DEBUG"})
    EXPECT_TRUE(IsKnownTag(TextString(extra))) << extra;
  for (const char* unknown : {"", "N", "NBX", "VALIGN", "LIST_ITEM"})
    EXPECT_FALSE(IsKnownTag(TextString(unknown))) << unknown;
}

TEST_F(TagInterpreterTest, HtmlArgumentsStayAsWritten) {
  TextString keyword;
  TextString arguments;
  TextString message;
  int level = 0;
  ASSERT_EQ(RecogniseTag(fc, ctx, TextString("[[HTML <b class=\"x\">bold</b>, more]]"), keyword,
                         arguments, message, level),
            1);
  EXPECT_EQ(Str(arguments), "<b class=\"x\">bold</b>, more");
}

TEST_F(TagInterpreterTest, DelimitersComeFromThePolicies) {
  fc.Text(PolicyId::StartTagDelimiter).value.Assign("<<");
  fc.Text(PolicyId::EndTagDelimiter).value.Assign(">>");
  SetPass(0, 0, 1);
  EXPECT_EQ(Output("<<SUPER 2>>"), "{\\super\\kerning0 2}");
  EXPECT_EQ(Output("<<CT>>", kTagModeKeepText), ">>");
  EXPECT_EQ(Output("<<OT>>", kTagModeKeepText), "<<");
}

// ---- The RTF of the simple tags ----

TEST_F(TagInterpreterTest, OutputPassWritesEachTagsRtf) {
  SetPass(0, 0, 1);
  const std::string blanks80(80, ' ');
  const struct {
    const char* tag;
    std::string rtf;
  } kCases[] = {
      {"[[SUPER 2]]", "{\\super\\kerning0 2}"},
      {"[[SUB n]]", "{\\sub\\kerning0 n}"},
      {"[[FRACTION 3/4]]", "{\\super\\kerning0 3}{\\sub\\kerning0 /4}"},
      {"[[FRACTION  1 / 16 ]]", "{\\super\\kerning0 1}{\\sub\\kerning0 /16}"},
      {"[[LINERULE]]",
       "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx8280 \\par{\\strike\\tab}\\par}"},
      {"[[LINERULE 50%]]",
       "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx8280 \\par{\\strike\\tab}\\par}"},
      {"[[LINERULE 300, 1, 1, 2, Red]]",
       "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx6000 \\par{\\strike\\tab}\\par}"},
      // A point bookmark, named as the link to it names its target.
      {"[[LINKPOINT Part one]]", "{\\*\\bkmkstart part_one}{\\*\\bkmkend part_one}"},
      {"[[LINKPOINT store-room.2]]",
       "{\\*\\bkmkstart store_room_2}{\\*\\bkmkend store_room_2}"},
      {"[[BR]]", "\\par "},
      {"[[NB 3]]", "   "},
      {"[[NB 200]]", blanks80},
      {"[[NB -4]]", ""},
      {"[[SPACES 2, 10]]", "  "},
      {"[[SPACES 2000000000]]", blanks80},  // once a request for two billion blanks
      {"[[RULESET]]", "no Ruleset"},
      {"[[COLOUR Red]]", ""},
      {"[[DEBUG x]]", ""},
      {"[[PAGE]]", ""},
      {"[[NEW_PAGE]]", ""},
      {"[[TEXT a, b]]", ""},
      {"[[VERSION]]", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(Output(c.tag), c.rtf);
  }
}

TEST_F(TagInterpreterTest, LineRuleFollowsPageAndScriptPolicies) {
  SetPass(0, 0, 1);
  fc.Bool(PolicyId::UseLandscapeMode).value = 1;
  EXPECT_EQ(Output("[[LINERULE]]"),
            "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx15704 \\par{\\strike\\tab}\\par}");
  fc.Bool(PolicyId::InputFileContainsJapaneseCharacters).value = 1;
  EXPECT_EQ(Output("[[LINERULE 100]]"),
            "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx2000\\loch\\af5\\hich\\af5\\dbch\\f16 "
            "\\par{\\strike\\tab}\\par}");
  // Under a rule set a width of 420 or more counts as none.
  fc.SetRuleSet(2, 1);
  EXPECT_EQ(Output("[[LINERULE 420]]"),
            "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx15704\\loch\\af5\\hich\\af5\\dbch\\f16 "
            "\\par{\\strike\\tab}\\par}");
  EXPECT_EQ(Output("[[RULESET]]"), "ZUR Ruleset");
  // A width too large for a page stops at the widest tab position instead of overflowing.
  fc.SetRuleSet(0, 1);
  fc.Bool(PolicyId::InputFileContainsJapaneseCharacters).value = 0;
  EXPECT_EQ(Output("[[LINERULE 2000000000]]"),
            "\\par{\\pard\\plain \\s1\\sb0\\sa0\\tqr\\tx31680 \\par{\\strike\\tab}\\par}");
  // Acknowledged but left in place; other modes leave it to the line.
  const TagRun kept = Run("[[LINERULE]]", kTagModeLeaveInPlace);
  EXPECT_EQ(kept.result, kTagHandled);
  EXPECT_EQ(kept.replace, 0);
  EXPECT_EQ(Run("[[LINERULE]]", kTagModeKeepText).result, kTagNotHandled);
}

TEST_F(TagInterpreterTest, EveryTagOutputKeepsTheBracesBalanced) {
  SetPass(0, 0, 1);
  fc.Bool(PolicyId::AddFONTMarkup).value = 1;
  for (const char* tag :
       {"[[SUPER 2]]", "[[SUB 2]]", "[[FRACTION 1/2]]", "[[LINERULE]]", "[[LINKPOINT x]]",
        "[[BR]]", "[[FONT 0, Arial, 12, 1, 2]]", "[[FONT 1, Body]]"}) {
    SCOPED_TRACE(tag);
    const std::string out = Output(tag);
    ASSERT_NE(out, "<kept>");
    int depth = 0;
    for (const char c : out)
      depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_EQ(depth, 0) << out;
  }
}

TEST_F(TagInterpreterTest, FontTagOpensAGroupOfItsOwn) {
  SetPass(0, 0, 1);
  ctx.FontKeys.Append("Arial--1-2");
  EXPECT_EQ(Output("[[FONT 0, Arial, 12, 1, 2]]"), "}{\\f1000\\fs24\\b\\i0 ");
  EXPECT_EQ(ctx.FontTagsExecuted, 1);
  EXPECT_EQ(Str(ctx.CurrentFont.GetFace()), "Arial");
  // A font the analysis did not list keeps the style's face.
  EXPECT_EQ(Output("[[FONT 0, Courier, 9]]"), "}{\\fs18\\b0\\i0 ");
  // Without FONT or emphasis markup the tag only goes.
  fc.Bool(PolicyId::AddEmphasisAndBoldMarkup).value = 0;
  EXPECT_EQ(Output("[[FONT 0, Arial, 12]]"), "");
}

TEST_F(TagInterpreterTest, PassesAndModesChangeWhatATagGives) {
  SetPass(1, 0, 0);
  EXPECT_EQ(Output("[[SUPER 2]]"), "<kept>");
  EXPECT_EQ(Output("[[SUPER 2]]", kTagModeHeadingText), "2");
  EXPECT_EQ(Output("[[CT]]"), "||");
  EXPECT_EQ(Output("[[OT]]"), "||");
  EXPECT_EQ(Output("[[TEXT a, b]]"), " a b");
  EXPECT_EQ(Output("[[NEW_PAGE]]"), " ");
  EXPECT_EQ(Output("[[BR]]"), " ");  // handled in every pass, with the caller's blank
  EXPECT_EQ(Output("[[LINKPOINT top]]"), "<kept>");
  EXPECT_EQ(Run("[[LINKPOINT top]]").result, kTagHandled);
  const std::string version = Str(fc.GetVersionText());
  EXPECT_EQ(Output("[[VERSION]]"), version);

  SetPass(0, 1, 0);
  EXPECT_EQ(Run("[[LINKPOINT top]]").result, kTagHandled);
  EXPECT_EQ(ctx.Anchors.GetCount(), 1);

  SetPass(0, 0, 1);
  EXPECT_EQ(Output("[[CT]]"), "<kept>");
  EXPECT_EQ(Output("[[CT]]", kTagModeKeepText), "]]");
  EXPECT_EQ(Output("[[TEXT a, b]]", kTagModeKeepText), " a b");
  EXPECT_EQ(Output("[[VERSION]]", kTagModeTitle), version);
  EXPECT_EQ(Output("[[SUB x]]", kTagModeHeadingText), "x");
}

TEST_F(TagInterpreterTest, TagsLeftToTheLineAreNotHandled) {
  SetPass(0, 0, 1);
  for (const char* tag :
       {"[[DEFINE_VARIABLE a, b]]", "[[SAVE_CONTEXT]]", "[[RESTORE_CONTEXT]]", "[[ENTITY 233]]",
        "[[META_TAG a, b]]"}) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(Run(tag).result, kTagNotHandled);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(TagInterpreterTest, OtherTagsGiveFixedTexts) {
  SetPass(0, 0, 1);
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::OutputFileName)] = "guide.rtf";
  EXPECT_EQ(Output("[[FILENAME]]"), "guide.rtf");
  fc.SetRuleSet(1, 1);
  EXPECT_EQ(Output("[[RULESET]]"), "Pembrelle Ruleset");
  // Today as day, three-letter month and year: "7-Mar-2024".
  const std::string date = Output("[[TIMESTAMP]]");
  const std::size_t dash = date.find('-');
  ASSERT_TRUE(dash == 1 || dash == 2) << date;
  EXPECT_EQ(date.size(), dash + 9) << date;
  EXPECT_EQ(date[dash + 4], '-') << date;
  // Keywords are matched without regard to case.
  EXPECT_EQ(Output("[[fraction 1/2]]"), "{\\super\\kerning0 1}{\\sub\\kerning0 /2}");

  // The table-cell tags are no known tags; run anyway, they say where they belong.
  for (const char* keyword : {"VALIGN", "vertical_alignment"}) {
    int replace = 0;
    TextString output(" ");
    EXPECT_EQ(ExecuteTag(kTagModeLine, nullptr, TextString(), TextString(keyword), TextString(),
                         nullptr, fc, ctx, replace, output),
              kTagHandled);
    EXPECT_EQ(replace, 1);
    EXPECT_TRUE(output.IsEmpty());
  }
  const std::vector<std::string> expected = {
      "TAG ERROR: VALIGN tag only valid inside tables",
      "TAG ERROR: VERTICAL_ALIGNMENT tag only valid inside tables",
  };
  EXPECT_EQ(messages, expected);
}

// ---- Tagged headings ----

TEST_F(TagInterpreterTest, TaggedHeadingCollectsItsTextUntilEndHeading) {
  SetPass(0, 0, 1);
  PreHTML first;
  first.SetText("lost words [[HEADING 3, Getting]]");
  TagRun run = Run("[[HEADING 3, Getting]]", kTagModeLine, &first);
  EXPECT_EQ(run.result, kTagHandled);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(Str(first), "[[HEADING 3, Getting]]");  // the text in front of the tag goes
  const FileControl::TaggedHeading& heading = fc.GetTaggedHeading();
  EXPECT_EQ(heading.open, 1);
  EXPECT_EQ(heading.level, 3);

  PreHTML last;
  last.SetText("started {now}[[END_HEADING]] and on");
  run = Run("[[END_HEADING]]", kTagModeLine, &last);
  EXPECT_EQ(run.result, kTagHandled);
  EXPECT_EQ(run.replace, 1);
  EXPECT_EQ(run.output, "Getting started \\'7bnow\\'7d");
  EXPECT_EQ(Str(last), "[[END_HEADING]] and on");
  EXPECT_EQ(last.GetLineType(), kTypeHeading3);
  EXPECT_EQ(fc.GetTaggedHeading().open, 0);
  EXPECT_EQ(fc.GetTaggedHeading().level, 1);
  EXPECT_TRUE(messages.empty());
}

// The contents pass registers a tagged heading in the heading list, so that the output finds
// it by its text; a heading of level 0 is no heading and is not registered.
TEST_F(TagInterpreterTest, TaggedHeadingIsRegisteredInTheContentsPass) {
  const struct {
    const char* tag;
    int registered;
  } kCases[] = {
      {"[[HEADING]]", 1},
      {"[[HEADING 3]]", 1},
      {"[[HEADING 0]]", 0},
  };
  SetPass(0, 1, 0);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.tag);
    ctx.Headings.Clear();
    PreHTML first;
    first.SetText(c.tag);
    (void)Run(c.tag, kTagModeLine, &first);
    PreHTML last;
    last.SetText("My Own Heading[[END_HEADING]]");
    (void)Run("[[END_HEADING]]", kTagModeLine, &last);
    ASSERT_EQ(ctx.Headings.GetCount(), c.registered);
    if (c.registered == 0)
      continue;
    int index = -1;
    int count = 0;
    const TextString text("My Own Heading");
    EXPECT_NE(ctx.Headings.FindBestMatch(ctx, text, text, 1, TextPosition(), index, count),
              nullptr);
  }
}

TEST_F(TagInterpreterTest, HeadingTagClosesWhatIsStillOpen) {
  SetPass(0, 0, 1);
  ctx.PendingFontChange = 1;
  ctx.EndTagWritten = 1;
  ctx.pGetTracker()->openListCount = 2;
  (void)Run("[[HEADING 2, One]]");
  (void)Run("[[HEADING 2, Two]]");
  EXPECT_EQ(ctx.PendingFontChange, 0);
  EXPECT_EQ(ctx.EndTagWritten, 0);
  EXPECT_EQ(ctx.pGetTracker()->openListCount, 0);
  (void)Run("[[BR]]");
  EXPECT_EQ(fc.GetTaggedHeading().breakMark, -12);
  const std::vector<std::string> expected = {
      "INFO: Discarding pending font change at HEADING tag",
      "TAG ERROR: Missing END_LIST detected at HEADING tag",
      "TAG ERROR: Missing END_HEADING detected at HEADING tag",
  };
  EXPECT_EQ(messages, expected);
}

// ---- Faulty tags ----

// Every tag of the fixture, one per line, run in the output pass on a line of its own
// number: the messages must be those of the expected file, and nothing may crash.
TEST_F(TagInterpreterTest, FaultyTagsGiveTheirMessages) {
  SetPass(0, 0, 1);
  // Line messages use the handler as it stands: every level and kind shown.
  ctx.GetLogErrorHandler().SetLevel(10);
  ctx.GetLogErrorHandler().SetSuppression(1, 0, 0, 0, 0, 0);
  const std::string folder = std::string(KELVANE_FIXTURES_DIR) + "/tags/";
  std::ifstream input(folder + "faulty-tags.txt", std::ios::binary);
  ASSERT_TRUE(input.good());
  std::string tag;
  int number = 0;
  while (std::getline(input, tag)) {
    ++number;
    PreHTML line;
    line.SetText(tag.c_str());
    line.SetStartPosition(fc, TextPosition(0, number));
    ctx.pGetTracker()->currentLine = &line;
    const TagRun run = Run(tag.c_str(), kTagModeLine, &line);
    if (run.recognised == 0) {
      const std::string text = "TAG ERROR: " + run.message;
      line.ReportLineMessage(ctx, text.c_str(), 10);
    }
    ctx.pGetTracker()->currentLine = nullptr;
  }
  std::string actual;
  for (const std::string& message : messages)
    actual += message + "\n";
  EXPECT_EQ(actual, ReadBytes(folder + "faulty-tags.expected"));
}

}  // namespace
