#include "policy/TextCommandSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "support/TestFiles.h"
#include "tags/TextCommandTags.h"

namespace {

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

class TextCommandTest : public ContextFixture {
 protected:
  // The conversion's host: META tags and tag expansion through the attached Context.
  TextCommandTags host;
  TextCommand Parse(const std::string& afterKey) {
    return ParseTextCommand(fc, TextString(("Text command : " + afterKey).c_str()));
  }
  // The text after applying the one command to text (the command must be valid).
  std::string Applied(const std::string& command, const char* text) {
    TextCommandSet set;
    EXPECT_EQ(set.AddCommandLine(fc, TextString(("Text command : " + command).c_str())), 1)
        << command;
    Statement statement;
    TextString result;
    EXPECT_EQ(set.Apply(fc, &host, statement, TextString(text), result), 1);
    return Str(result);
  }
};

// ---- Parsing ----

struct ParsedCase {
  const char* command;
  int action;
  int matchType;
  int scope;
  const char* matchText;
  int replaceMode;
  const char* replacement;
};
const ParsedCase kParsedCases[] = {
    {"ignore_line starting_with string \"DRAFT\"", kActionIgnoreLine, kMatchString,
     kScopeStartingWith, "DRAFT", kReplaceNone, ""},
    // Keywords in any case; "string" and "exact_phrase" trim their match text, "phrase" not.
    {"REMOVE_TEXT String \"  x  \"", kActionRemoveText, kMatchString, kScopeNone, "x",
     kReplaceNone, ""},
    {"remove_text exact_phrase \" x \"", kActionRemoveText, kMatchExactPhrase, kScopeNone, "x",
     kReplaceNone, ""},
    {"remove_text phrase \" x \"", kActionRemoveText, kMatchPhrase, kScopeNone, " x ",
     kReplaceNone, ""},
    {"remove_text wildcard \"a*b\"", kActionRemoveText, kMatchWildcard, kScopeNone, "a*b",
     kReplaceNone, ""},
    // Doubled quotes stand for one; escapes for a backslash, a tab and a line break.
    {"replace_text exact_string \"say \"\"hi\"\"\" by_string \"a\\\\b\\tc\\nd\"",
     kActionReplaceText, kMatchExactString, kScopeNone, "say \"hi\"", kReplaceByString,
     "a\\b\tc\nd"},
    {"replace_text exact_string \"\"\"\" by_string \"'\"", kActionReplaceText, kMatchExactString,
     kScopeNone, "\"", kReplaceByString, "'"},
    // A quoted character stands for itself with by_character.
    {"replace_text string \"--\" by_character \"'='\"", kActionReplaceText, kMatchString,
     kScopeNone, "--", kReplaceByCharacter, "="},
    {"replace_text string \"--\" by_character \"\"\"*\"\"\"", kActionReplaceText, kMatchString,
     kScopeNone, "--", kReplaceByCharacter, "*"},
    // An empty replacement removes the text, or ignores the whole line.
    {"replace_text string \"x\" by_string \"\"", kActionRemoveText, kMatchString, kScopeNone, "x",
     kReplaceByString, ""},
    {"replace_line containing string \"x\" by_string \"\"", kActionIgnoreLine, kMatchString,
     kScopeNone, "x", kReplaceByString, ""},
    // The scope word of a replace_line is not checked.
    {"replace_line anywhere string \"x\" by_string \"y\"", kActionReplaceLine, kMatchString,
     kScopeNone, "x", kReplaceByString, "y"},
};

TEST_F(TextCommandTest, ParsesEachActionsLayout) {
  for (const ParsedCase& c : kParsedCases) {
    SCOPED_TRACE(c.command);
    messages.clear();
    const TextCommand command = Parse(c.command);
    EXPECT_EQ(command.valid, 1);
    EXPECT_EQ(command.action, c.action);
    EXPECT_EQ(command.matchType, c.matchType);
    EXPECT_EQ(command.scope, c.scope);
    EXPECT_EQ(Str(command.matchText), c.matchText);
    EXPECT_EQ(command.replaceMode, c.replaceMode);
    EXPECT_EQ(Str(command.replacement), c.replacement);
    EXPECT_TRUE(messages.empty()) << messages.front();
  }
}

TEST_F(TextCommandTest, ParsesTreatLineTypesAndOffsetsAndMetaTags) {
  const struct {
    const char* command;
    int lineType;
    int offset;
  } kCases[] = {
      {"treat_line containing string \"x\" as_Heading_2", kTypeUnderlinedHeading2, 0},
      {"treat_line containing string \"x\" AS_HEADING_6 apply_to -2", kTypeUnderlinedHeading6,
       -2},
      {"treat_line starting_with string \"x\" as_caproman_bullet", kTypeUpperRomanBullet, 0},
      {"treat_line starting_with string \"x\" as_new_page apply_to 1", kTypeFormFeed, 1},
      {"treat_line starting_with string \"x\" as_top_of_page", kTypeTopOfPage, 0},
      {"treat_line starting_with string \"x\" as_quoted", kTypeQuoted, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.command);
    const TextCommand command = Parse(c.command);
    EXPECT_EQ(command.valid, 1);
    EXPECT_EQ(command.lineType, c.lineType);
    EXPECT_EQ(command.applyOffset, c.offset);
  }
  const TextCommand meta =
      Parse("meta_tag_line \"keywords\" starting_with string \"Keywords:\" remove_match_text");
  EXPECT_EQ(meta.valid, 1);
  EXPECT_EQ(Str(meta.metaName), "keywords");
  EXPECT_EQ(meta.removeMatch, 1);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

struct RefusedCase {
  const char* line;  // the whole line
  const char* message;
};
const RefusedCase kRefusedCases[] = {
    {"Link definition : remove_text string \"x\"", "POLICY: This is not a text command"},
    {"Text command : drop_line string \"x\"", "POLICY: Unknown text command \"drop_line\""},
    {"Text command : remove_text string \"a\\nb\"",
     "POLICY: \n not allowed in match expression"},
    {"Text command : remove_text strings \"x\"", "POLICY: Unknown text data type \"strings\""},
    {"Text command : remove_text string \"\"", "POLICY: No Match expression supplied"},
    {"Text command : remove_text string x", "POLICY: No Match expression supplied"},
    {"Text command : replace_text string \"x\" by_word \"y\"",
     "POLICY: Unknown text data type \"by_word\""},
    {"Text command : replace_text string \"x\" by_string",
     "POLICY: No replacement text supplied"},
    {"Text command : meta_tag_line \"\" containing string \"x\"",
     "POLICY: No META tag name supplied"},
    {"Text command : ignore_line inside string \"x\"",
     "POLICY: Text command error.  Unexpected keyword \"inside\""},
    {"Text command : treat_line containing string \"x\" as_heading_7",
     "POLICY: text command - unknown line type \"as_heading_7\""},
    {"Text command : treat_line containing string \"x\" as_bullet apply_to back",
     "POLICY: text command - invalid apply_to \"back\""},
    {"Text command : treat_line containing string \"x\" as_bullet apply_to",
     "POLICY: text command - invalid apply_to \"\""},
    {"Text command : meta_tag_line \"k\" containing string \"x\" remove_match",
     "POLICY: Text command error.  Unexpected keyword \"remove_match\""},
};

TEST_F(TextCommandTest, RefusesFaultyCommandsWithTheirReason) {
  for (const RefusedCase& c : kRefusedCases) {
    SCOPED_TRACE(c.line);
    messages.clear();
    TextCommandSet set;
    EXPECT_EQ(set.AddCommandLine(fc, TextString(c.line)), 0);
    EXPECT_EQ(set.GetCount(), 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), c.message);
    EXPECT_EQ(messages.back(), std::string("ERROR: Invalid text command - ") + c.line);
  }
}

TEST_F(TextCommandTest, TextLeftOverIsReportedButTheCommandStands) {
  TextCommandSet set;
  EXPECT_EQ(set.AddCommandLine(fc, "Text command : remove_text string \"x\" \"y\" extra"), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "POLICY: text command not processed \"string \"x\" \"y\" extra\"");
  // A refused command names the same text after its reason.
  messages.clear();
  EXPECT_EQ(set.AddCommandLine(fc, "Text command : remove_text strung \"x\""), 0);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1], "POLICY: text command not processed \"strung \"x\"\"");
  // An unknown action is named once.
  messages.clear();
  EXPECT_EQ(set.AddCommandLine(fc, "Text command : frobnicate"), 0);
  EXPECT_EQ(messages.size(), 2u);
}

// ---- Applying ----

struct AppliedCase {
  const char* command;
  const char* text;
  const char* result;
};
const AppliedCase kAppliedCases[] = {
    // "string" ignores case, also inside words; "exact_string" does not.
    {"remove_text string \"CAT\"", "The cat concatenates", "The  conenates"},
    {"remove_text exact_string \"CAT\"", "The cat concatenates", "The cat concatenates"},
    {"remove_text exact_string \"cat\"", "The cat concatenates", "The  conenates"},
    // Phrases stand between non-letters; bytes above 127 are no letters.
    {"remove_text phrase \"CAT\"", "cat, concatenate (cat) cats", ", concatenate () cats"},
    {"remove_text exact_phrase \"cat\"", "Cat cat1 \xE9" "cat", "Cat 1 \xE9"},
    // Every occurrence; the search goes on after each replacement.
    {"replace_text string \"aa\" by_string \"a\"", "aaaa aaa", "aa aa"},
    {"replace_text exact_string \"teh\" by_string \"the\"", "teh end of teh", "the end of the"},
    {"replace_text phrase \"a\" by_string \"b\"", "a a-a ab", "b b-b ab"},
    {"replace_text string \"-\" by_character \"=\"", "a - b --", "a = b =="},
    {"replace_text exact_string \"ab\" by_character \"'x'\"", "ab cab", "xx cxx"},
    // An empty replacement removes.
    {"replace_text string \"x\" by_string \"\"", "axbxc", "abc"},
    // A whole line: by the replacement, or every character by the replacement character.
    {"replace_line containing string \"old\" by_string \"new line\"", "  an OLD line",
     "new line"},
    {"replace_line starting_with string \"old\" by_string \"new\"", "an old line", "new"},
    {"replace_line containing string \"---\" by_character \"=\"", "  -----", "======="},
    {"replace_line containing string \"zzz\" by_string \"new\"", "an old line", "an old line"},
    // A replacement's in-line tags are expanded, and its protected tags become plain ones.
    {"replace_text string \"@v\" by_string \"[-[-b-]-]\"", "@v", "[[b]]"},
};

TEST_F(TextCommandTest, AppliesTextCommandsToTheText) {
  for (const AppliedCase& c : kAppliedCases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Applied(c.command, c.text), c.result);
  }
}

TEST_F(TextCommandTest, CommandsApplyInOrderToTheRunningText) {
  TextCommandSet set;
  ASSERT_EQ(set.AddCommandLine(fc, "Text command : replace_text string \"a\" by_string \"b\""), 1);
  ASSERT_EQ(set.AddCommandLine(fc, "Text command : replace_text string \"b\" by_string \"c\""), 1);
  ASSERT_EQ(set.AddCommandLine(fc, "Text command : ignore_line containing string \"zzz\""), 1);
  Statement statement;
  TextString result;
  EXPECT_EQ(set.Apply(fc, &host, statement, "abc", result), 1);
  EXPECT_EQ(Str(result), "ccc");
  EXPECT_EQ(statement.GetLineType(), kTypeUntyped);
}

TEST_F(TextCommandTest, LineTypesGoToTheLineOrTheOneBefore) {
  const struct {
    const char* command;
    const char* text;
    int typeHere;
    int typeBefore;
  } kCases[] = {
      {"ignore_line starting_with string \"draft\"", "  DRAFT copy", kTypeIgnored, 0},
      {"ignore_line starting_with string \"copy\"", "  DRAFT copy", 0, 0},
      {"ignore_line containing string \"copy\"", "  DRAFT copy", kTypeIgnored, 0},
      {"treat_line containing phrase \"summary\" as_Heading_2", "The Summary", 112, 0},
      {"treat_line containing phrase \"summary\" as_Heading_2", "Summarys", 0, 0},
      {"treat_line starting_with string \"====\" as_Heading_1 apply_to -1", "=======", 0, 111},
      {"treat_line starting_with string \"x\" as_bullet apply_to 3", "x", kTypeBullet, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.command);
    TextCommandSet set;
    const std::string line = std::string("Text command : ") + c.command;
    ASSERT_EQ(set.AddCommandLine(fc, TextString(line.c_str())), 1);
    Statement before;
    Statement here(&before);
    TextString result;
    (void)set.Apply(fc, &host, here, TextString(c.text), result);
    EXPECT_EQ(here.GetLineType(), c.typeHere);
    EXPECT_EQ(before.GetLineType(), c.typeBefore);
  }
}

// A negative offset that reaches past the first line held types nothing (and does not follow
// a missing link).
TEST_F(TextCommandTest, OffsetPastTheFirstLineTypesNothing) {
  TextCommandSet set;
  ASSERT_EQ(set.AddCommandLine(
                fc, "Text command : treat_line containing string \"x\" as_quoted apply_to -3"),
            1);
  Statement first;
  Statement second(&first);
  Statement third(&second);
  TextString result;
  EXPECT_EQ(set.Apply(fc, &host, third, "x", result), 1);
  for (const Statement* line : {&first, &second, &third})
    EXPECT_EQ(line->GetLineType(), kTypeUntyped);
  Statement fourth(&third);
  (void)set.Apply(fc, &host, fourth, "x", result);
  EXPECT_EQ(first.GetLineType(), kTypeQuoted);
}

TEST_F(TextCommandTest, MetaTagLinesAreRecordedInTheAnalysisPassOnly) {
  TextCommandSet set;
  ASSERT_EQ(set.AddCommandLine(fc, "Text command : meta_tag_line \"keywords\" starting_with "
                                   "string \"Keywords:\" remove_match_text"),
            1);
  ASSERT_EQ(set.AddCommandLine(
                fc, "Text command : meta_tag_line \"note\" containing phrase \"note\""),
            1);
  Statement statement;
  TextString result;
  SetPass(0, 0, 1);
  (void)set.Apply(fc, &host, statement, "Keywords: cats, dogs", result);
  EXPECT_EQ(ctx.MetaTags.GetCount(), 0);
  SetPass(1, 0, 0);
  (void)set.Apply(fc, &host, statement, "Keywords: cats, dogs", result);
  (void)set.Apply(fc, &host, statement, "A note here", result);
  ASSERT_EQ(ctx.MetaTags.GetCount(), 2);
  EXPECT_EQ(Str(ctx.MetaTags.GetItem(0)->name), "keywords");
  EXPECT_EQ(Str(ctx.MetaTags.GetItem(0)->value), "cats, dogs");
  EXPECT_EQ(Str(ctx.MetaTags.GetItem(1)->value), "A note here");
  // The text itself is not changed.
  EXPECT_EQ(Str(result), "A note here");
}

TEST_F(TextCommandTest, CopiesCarryEveryCommand) {
  TextCommandSet source;
  ASSERT_EQ(source.AddCommandLine(fc, "Text command : replace_text string \"a\" by_string \"b\""),
            1);
  ASSERT_EQ(source.AddCommandLine(
                fc, "Text command : treat_line containing string \"x\" as_bullet apply_to -1"),
            1);
  TextCommandSet copy;
  EXPECT_EQ(copy.CopyCommandsFrom(fc, source), 1);
  EXPECT_EQ(copy.CopyCommandsFrom(fc, copy), 1);
  ASSERT_EQ(copy.GetCount(), 4);
  EXPECT_EQ(Str(copy.GetCommand(3)->source), Str(source.GetCommand(1)->source));
  EXPECT_EQ(copy.GetCommand(3)->applyOffset, -1);
  EXPECT_EQ(copy.GetCommand(3)->lineType, kTypeBullet);
  source.Clear();
  EXPECT_EQ(Str(copy.GetCommand(0)->replacement), "b");
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using TextCommandGrowth = TextCommandTest;

// Replacing every occurrence in a long line stays linear in its length.
TEST_F(TextCommandGrowth, ReplacingManyOccurrencesGrowsLinearly) {
  TextCommandSet set;
  ASSERT_EQ(set.AddCommandLine(fc, "Text command : replace_text phrase \"ab\" by_string \"xyz\""),
            1);
  Statement statement;
  TextString result;
  const double growth = SixteenfoldGrowth(2000, [&](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "ab ";
    const TextString line(text.c_str());
    return TimeOf([&] { (void)set.Apply(fc, &host, statement, line, result); });
  });
  EXPECT_LT(growth, kQuadraticGrowth);
}

// ---- The text command file ----

TEST_F(TextCommandTest, FileSkipsCommentsHeadersAndBlankLines) {
  TextCommandSet set;
  TextString error;
  const std::string name = std::string(KELVANE_FIXTURES_DIR) + "/tags/commands-with-comments.txt";
  SetPass(0, 0, 1);
  EXPECT_TRUE(set.LoadFile(fc, TextString(name.c_str()), error));
  EXPECT_EQ(ctx.CodeLocation, kLocationOutput);
  ASSERT_EQ(set.GetCount(), 3);
  EXPECT_EQ(set.GetCommand(0)->action, kActionReplaceText);
  EXPECT_EQ(set.GetCommand(1)->action, kActionIgnoreLine);
  EXPECT_EQ(set.GetCommand(2)->lineType, kTypeUnderlinedHeading1);
  EXPECT_EQ(Str(set.GetCommand(0)->source),
            "Text command : replace_text string \"colour\" by_string \"color\"");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "POLICY: Unknown text command \"bogus_action\"");
  EXPECT_EQ(messages[1], "ERROR: Invalid text command - Text command : bogus_action string \"x\"");
  EXPECT_TRUE(error.IsEmpty());
}

TEST_F(TextCommandTest, FileThatCannotBeReadIsReported) {
  TempFolder dir("textcmd");
  for (const std::string& name : {dir.File("missing.txt"), dir.path.string()}) {
    SCOPED_TRACE(name);
    messages.clear();
    TextCommandSet set;
    TextString error;
    EXPECT_FALSE(set.LoadFile(fc, TextString(name.c_str()), error));
    const std::string expected = "** Failed to open text Command file " + name + " ***";
    EXPECT_EQ(Str(error), expected);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], expected);
  }
  TextCommandSet set;
  TextString error;
  for (const char* none : {"", "none", "(NONE)"}) EXPECT_TRUE(set.LoadFile(fc, none, error));
}

}  // namespace
