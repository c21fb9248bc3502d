#include "text/JParser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/Growth.h"
#include "text/JReplaceParser.h"

namespace {

// Records every span a callback pattern sees and answers with a fixed result.
struct Recorder {
  int result = kJNothingDone;
  std::vector<std::pair<int, int>> spans;
  std::vector<int> ids;
};

int Record(JParser&, JPattern& pattern, JMatchState& state, ParseBuffer&, int&, void* data) {
  auto* recorder = static_cast<Recorder*>(data);
  recorder->spans.emplace_back(state.start, state.end);
  recorder->ids.push_back(pattern.id);
  return recorder->result;
}

// The spans one callback pattern finds in text (JParser, no options).
std::vector<std::pair<int, int>> SpansOf(const char* pattern, int caseSensitive,
                                         const std::string& text) {
  JParser parser;
  Recorder recorder;
  EXPECT_NE(parser.AddPattern(kJCallback, pattern, nullptr, caseSensitive, Record, &recorder),
            nullptr);
  EXPECT_EQ(parser.Scan(text.c_str(), nullptr, -1), 0);
  return recorder.spans;
}

using Spans = std::vector<std::pair<int, int>>;

}  // namespace

// ---- Validation ----

TEST(JParser, ValidatesPatterns) {
  struct Case {
    const char* pattern;
    bool valid;
  };
  const Case cases[] = {
      {"**", true},
      {"abc**", false},  // a literal before a trailing "**"
      {"%x", false},     // x is no class
      {"%", false},
      {"*", false},
      {"?W", true},
      {"?*x", true},
      {"?***", true},  // the trailing "**" follows a wildcard
      {"|a", true},    // the literal a
      {"||", true},
      {"|", false},
      {"", false},
      {"a%*c", true},
      {"%(x%)", true},
      {"?Whref*W=", true},
  };
  JParser parser;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(IsValidPattern(c.pattern), c.valid);
    EXPECT_EQ(parser.AddPatternShort(kJReplace, c.pattern, "", 0) != nullptr, c.valid);
  }
  EXPECT_FALSE(IsValidPattern(nullptr));
  EXPECT_EQ(parser.AddPatternShort(7, "abc", "", 0), nullptr);
  EXPECT_EQ(parser.AddPatternShort(0, "abc", "", 0), nullptr);
}

TEST(JParser, NumbersPatternsInOrderOfAdding) {
  JParser parser;
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "a", "", 0)->id, 1);
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "%x", "", 0), nullptr);
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "b", "", 0)->id, 2);
  ASSERT_EQ(parser.ClearPatterns(), 1);
  EXPECT_EQ(parser.GetPatternCount(), 0);
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "c", "", 0)->id, 3);
}

TEST(JParser, BusyParserRefusesChanges) {
  JParser parser;
  ASSERT_NE(parser.AddPatternShort(kJReplace, "a", "", 0), nullptr);
  parser.SetBusy(1);
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "b", "", 0), nullptr);
  EXPECT_EQ(parser.ClearPatterns(), 0);
  EXPECT_EQ(parser.GetPatternCount(), 1);
  parser.SetBusy(0);
  EXPECT_EQ(parser.ClearPatterns(), 1);
}

// ---- Matching ----

TEST(JParser, FindsSpans) {
  struct Case {
    const char* pattern;
    int caseSensitive;
    const char* text;
    Spans spans;
  };
  const Case cases[] = {
      // case folding of literals, not of classes
      {"AB", 0, "xab Ab AB", {{1, 2}, {4, 5}, {7, 8}}},
      {"AB", 1, "xab Ab AB", {{7, 8}}},
      {"ab", 0, "AB", {{0, 1}}},
      {"%a", 0, "aB", {{0, 0}}},
      {"%A", 0, "aB", {{1, 1}}},
      // a mismatch is not retried as a new start, but a repeated letter slides
      {"AB", 1, "AAB", {}},
      {"AAB", 1, "AAAB", {{1, 3}}},
      {"ab", 1, "aab ab", {{4, 5}}},
      // classes
      {"%1%1", 1, "a12b3", {{1, 2}}},
      {"|*", 1, "a*b", {{1, 1}}},
      {"x|ny", 1, "x\ny", {{0, 2}}},
      {"x|ty", 1, "x\ty", {{0, 2}}},
      {"|a", 1, "bab", {{1, 1}}},
      {"%(%)", 1, "<>[]", {{0, 1}, {2, 3}}},
      // wildcards: the run ends where the literals after it stand in the text
      {"<**>", 1, "a<b c>d", {{1, 5}}},
      {"<*1>", 1, "<12> <> <a>", {{0, 3}, {5, 6}}},
      {"<?1>", 1, "<12> <> <a>", {{0, 3}}},
      // a trailing wildcard takes the whole run of its class
      {"#?1", 1, "#123 #x", {{0, 3}}},
      {"#*Z", 1, "#ab1", {{0, 2}}},
      // a class mismatch falls back to the "**" before it
      {"a**b*1c", 1, "axb-b1c", {{0, 6}}},
      {"a*1c", 1, "a1xc", {}},
      // "**" alone matches at the end of the text
      {"**", 1, "abc", {{2, 2}}},
      {"**", 1, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    EXPECT_EQ(SpansOf(c.pattern, c.caseSensitive, c.text), c.spans);
  }
}

TEST(JParser, AttributePatternNeedsWhiteSpaceBeforeTheName) {
  struct Case {
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {" <a href=\"x\">", true},
      {" <a HREF  =\"x\">", true},
      {" <a\thref =x>", true},
      {" <ahref=\"x\">", false},
      {" <a hrefx=\"x\">", false},
      {" <a href \"x\">", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(!SpansOf("?Whref*W=", 0, c.text).empty(), c.found);
  }
}

TEST(JParser, SeesEachSpanFromCloseToOpenBracket) {
  const std::string text = "<b>bold</b> and <i>it</i>";
  const Spans spans = SpansOf(">**<", 1, text);
  std::vector<std::string> seen;
  for (const auto& [start, end] : spans)
    seen.push_back(text.substr(start, end - start + 1));
  EXPECT_EQ(seen, (std::vector<std::string>{">bold<", "> and <", ">it<"}));
}

// ---- Handlers ----

TEST(JParser, RewritesByPatternType) {
  struct Case {
    int type;
    const char* expected;
  };
  const Case cases[] = {
      {kJReplace, "one 2 three 2"},
      {kJInsertAfter, "one two2 three two2"},
      {kJInsertBefore, "one 2two three 2two"},
      {kJDrop, "one 2 three 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    JParser parser;
    ASSERT_NE(parser.AddPatternShort(c.type, "two", "2", 1), nullptr);
    EXPECT_EQ(parser.Scan("one two three two", nullptr, -1), 2);
    EXPECT_STREQ(parser.GetResultText(), c.expected);
  }
}

TEST(JParser, ReplacesWithLongerAndEmptyTexts) {
  struct Case {
    const char* pattern;
    const char* replacement;
    const char* text;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {"a", "aaa", "abab", 2, "aaabaaab"},  // the inserted text is not scanned again
      {"a", "", "aab", 2, "b"},
      {"%1", "#", "a1b22", 3, "a#b##"},
      {"x", "y", "abc", 0, ""},  // no match leaves the result empty
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    JParser parser;
    ASSERT_NE(parser.AddPatternShort(kJReplace, c.pattern, c.replacement, 1), nullptr);
    EXPECT_EQ(parser.Scan(c.text, nullptr, -1), c.count);
    EXPECT_STREQ(parser.GetResultText(), c.expected);
  }
}

TEST(JParser, EmptyTextOrNoPatternsGiveNothing) {
  JParser parser;
  EXPECT_EQ(parser.Scan("abc", nullptr, -1), 0);
  ASSERT_NE(parser.AddPatternShort(kJReplace, "a", "b", 1), nullptr);
  EXPECT_EQ(parser.Scan("", nullptr, -1), 0);
  EXPECT_STREQ(parser.GetResultText(), "");
  EXPECT_EQ(parser.Scan(nullptr, nullptr, -1), 0);
  // An explicit length stops the scan before the rest of the text.
  EXPECT_EQ(parser.Scan("xxaa", nullptr, 3), 1);
  EXPECT_STREQ(parser.GetResultText(), "xxb");
}

TEST(JParser, DispatchesOneMatchPerPositionInOrderOfAdding) {
  Recorder first;
  Recorder second;
  first.result = kJTextChanged;
  second.result = kJTextChanged;
  JParser parser;
  ASSERT_NE(parser.AddPattern(kJCallback, "ab", nullptr, 1, Record, &first), nullptr);
  ASSERT_NE(parser.AddPattern(kJCallback, "%Zb", nullptr, 1, Record, &second), nullptr);
  EXPECT_EQ(parser.Scan("ab cb", nullptr, -1), 2);
  EXPECT_EQ(first.spans, (Spans{{0, 1}}));
  EXPECT_EQ(second.spans, (Spans{{3, 4}}));

  // With options that allow several matches per position both handlers run.
  first.spans.clear();
  second.spans.clear();
  JScanOptions options;
  EXPECT_EQ(parser.Scan("ab", &options, -1), 2);
  EXPECT_EQ(first.spans, (Spans{{0, 1}}));
  EXPECT_EQ(second.spans, (Spans{{0, 1}}));
}

TEST(JParser, CallbackResultsSteerTheScan) {
  // Stop: the scan ends at the first match.
  {
    Recorder recorder;
    recorder.result = kJStopScan;
    JParser parser;
    ASSERT_NE(parser.AddPattern(kJCallback, "a", nullptr, 1, Record, &recorder), nullptr);
    EXPECT_EQ(parser.Scan("aaa", nullptr, -1), 0);
    EXPECT_EQ(recorder.spans, (Spans{{0, 0}}));
  }
  // Stop after the first handled match, by option.
  {
    Recorder recorder;
    recorder.result = kJTextChanged;
    JParser parser;
    ASSERT_NE(parser.AddPattern(kJCallback, "a", nullptr, 1, Record, &recorder), nullptr);
    JScanOptions options;
    options.stopAfterFirst = 1;
    EXPECT_EQ(parser.Scan("aaa", &options, -1), 1);
    EXPECT_EQ(recorder.spans, (Spans{{0, 0}}));
    EXPECT_STREQ(parser.GetResultText(), "aaa");
  }
  // Extend: a trailing "**<" goes on to the next "<" from the same start, and the
  // extended match is not handled again when another pattern matches in between.
  {
    Recorder spans;
    Recorder other;
    spans.result = kJExtendMatch;
    JParser parser;
    ASSERT_NE(parser.AddPattern(kJCallback, ">**<", nullptr, 1, Record, &spans), nullptr);
    ASSERT_NE(parser.AddPattern(kJCallback, "x", nullptr, 1, Record, &other), nullptr);
    EXPECT_EQ(parser.Scan(">ab<cx<", nullptr, -1), 0);
    EXPECT_EQ(spans.spans, (Spans{{0, 3}, {0, 6}}));
    EXPECT_EQ(other.spans, (Spans{{5, 5}}));
  }
}

namespace {

// Rejects every match of "a**b" that starts at 0, so the scan looks again from position 1.
int RejectFirstStart(JParser&, JPattern&, JMatchState& state, ParseBuffer&, int&, void* data) {
  auto* spans = static_cast<Spans*>(data);
  spans->emplace_back(state.start, state.end);
  return state.start == 0 ? kJRejectMatch : kJNothingDone;
}

}  // namespace

TEST(JParser, RejectedMatchIsRescannedFromAfterItsStart) {
  Spans spans;
  JParser parser;
  ASSERT_NE(parser.AddPattern(kJCallback, "a**b", nullptr, 1, RejectFirstStart, &spans),
            nullptr);
  EXPECT_EQ(parser.Scan("aaxb", nullptr, -1), 0);
  EXPECT_EQ(spans, (Spans{{0, 3}, {1, 3}}));
}

TEST(JParser, TwoRejectedMatchesAtOnePositionStillMoveOn) {
  // Each rejection sends the scan to just after the match's start; two of them at one
  // position once stepped back twice, and the scan went back and forth for ever.
  Recorder first;
  Recorder second;
  first.result = second.result = kJRejectMatch;
  JParser parser;
  ASSERT_NE(parser.AddPattern(kJCallback, "  ", nullptr, 1, Record, &first), nullptr);
  ASSERT_NE(parser.AddPattern(kJCallback, "  ", nullptr, 1, Record, &second), nullptr);
  const JScanOptions options;
  EXPECT_EQ(parser.Scan("a   b", &options, -1), 0);
  const std::vector<std::pair<int, int>> expected = {{1, 2}, {2, 3}};
  EXPECT_EQ(first.spans, expected);
  EXPECT_EQ(second.spans, expected);
}

// ---- Restarts and several matches at one position end with the sound text ----

struct RewriteCase {
  const char* name;
  std::vector<std::pair<int, std::pair<const char*, const char*>>> patterns;  // type, pattern, text
  JScanOptions options;
  const char* text;
  const char* expected;  // the text after the scan
};

JScanOptions Restarting() {
  JScanOptions options;
  options.restartAfterReplacement = 1;
  return options;
}

TEST(JParser, RewritesEndWithTheSoundText) {
  const std::vector<RewriteCase> cases = {
      // A restart resumes at the first byte, where the first replacement made a new match.
      {"restart finds a match at byte 0", {{kJReplace, {"yz", "b"}}, {kJReplace, {"ab", "Q"}}},
       Restarting(), "ayz", "Q"},
      {"restart finds a match at byte 1", {{kJReplace, {"yz", "b"}}, {kJReplace, {"ab", "Q"}}},
       Restarting(), "-ayz", "-Q"},
      // Inserting nothing changes nothing, so there is nothing to restart for.
      {"empty insertion with restart", {{kJInsertAfter, {"**>", ""}}}, Restarting(), "\xFD>",
       "\xFD>"},
      {"empty insertion with restart, one character", {{kJInsertAfter, {"%*", ""}}}, Restarting(),
       "\xFD>", "\xFD>"},
      {"same bytes with restart", {{kJReplace, {"ab", "ab"}}}, Restarting(), "xaby", "xaby"},
      // Both match the blank: the insertion goes before it, then the blank goes.
      {"insert before, then replace the same span", {{kJInsertBefore, {"?W", "N"}}, {kJReplace, {" ", ""}}},
       JScanOptions{}, " ", "N"},
      // The blank goes first; the insertion's span is gone with it.
      {"replace, then insert before the same span", {{kJReplace, {" ", ""}}, {kJInsertBefore, {"?W", "N"}}},
       JScanOptions{}, " ", ""},
      {"insert after, then replace the same span", {{kJInsertAfter, {"ab", "+"}}, {kJReplace, {"ab", "X"}}},
       JScanOptions{}, "ab", "X+"},
      // The second insertion once sent the scan back into the text the first inserted, whose
      // "d" matched again: the text grew without end.
      {"two insertions after one span, the first matching again",
       {{kJInsertAfter, {"d", "a d"}}, {kJInsertAfter, {"d", "+"}}}, JScanOptions{}, "d", "d+a d"},
      {"two insertions after one span inside a text",
       {{kJInsertAfter, {"d", "a d"}}, {kJInsertAfter, {"d", "+"}}}, JScanOptions{}, "xdy",
       "xd+a dy"},
  };
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    JParser parser;
    for (const auto& [type, pattern] : c.patterns)
      ASSERT_NE(parser.AddPatternShort(type, pattern.first, pattern.second, 1), nullptr);
    const int handled = parser.Scan(c.text, &c.options, -1);
    EXPECT_STREQ(handled > 0 ? parser.GetResultText() : c.text, c.expected);
  }
}

TEST(JParser, RestartsOfARewriteThatNeverSettlesEnd) {
  // Each insertion makes a new match at byte 0: the scan still ends, within its budget of
  // (length + 1) x patterns restarts.
  JParser parser;
  ASSERT_NE(parser.AddPatternShort(kJInsertAfter, "x", "x", 1), nullptr);
  const JScanOptions options = Restarting();
  EXPECT_GT(parser.Scan("xy", &options, -1), 0);
  const std::string result = parser.GetResultText();
  EXPECT_LE(result.size(), 10u);
  EXPECT_EQ(result.back(), 'y');
}

// ---- The index of idle patterns is invisible ----

TEST(JParser, UnrelatedPatternsDoNotChangeResults) {
  const char* text = "The <b>quick</b> brown fox, 12 jumps; over the lazy dog (twice).\n"
                     "AAAB aab <a href=\"x\"> 2024-01-02 x*y |z|";
  const char* patterns[] = {"<**>", "AAB", "%1%1", "?Whref*W=", "(**)", "|*", "||z", "og%.",
                            "the", "?Z;", "#?1"};
  // Decoys share first bytes and classes with the patterns but never match.
  const char* decoys[] = {"<qq", "AAAAAAAC", "%1%1%1%1%1%1", "(zz", "tho", "|*|*", "?Zqq",
                          "*1qqq", "%.%.%.%."};
  for (const int caseSensitive : {0, 1}) {
    SCOPED_TRACE(caseSensitive);
    JParser plain;
    JParser decorated;
    Recorder plainRecorder;
    Recorder decoratedRecorder;
    for (const char* pattern : patterns) {
      ASSERT_NE(plain.AddPattern(kJCallback, pattern, nullptr, caseSensitive, Record,
                                 &plainRecorder), nullptr) << pattern;
      ASSERT_NE(decorated.AddPattern(kJCallback, pattern, nullptr, caseSensitive, Record,
                                     &decoratedRecorder), nullptr) << pattern;
    }
    for (const char* decoy : decoys)
      ASSERT_NE(decorated.AddPattern(kJCallback, decoy, nullptr, caseSensitive, Record,
                                     &decoratedRecorder), nullptr) << decoy;
    JScanOptions options;
    EXPECT_EQ(plain.Scan(text, &options, -1), 0);
    EXPECT_EQ(decorated.Scan(text, &options, -1), 0);
    EXPECT_FALSE(plainRecorder.spans.empty());
    EXPECT_EQ(plainRecorder.spans, decoratedRecorder.spans);
    EXPECT_EQ(plainRecorder.ids, decoratedRecorder.ids);
  }
}

// What is measured is the scan: the tags' handler counts them and leaves the text alone. A
// replacement moves the rest of the text, so replacements all along a long text cost time
// that grows with the square of its length.
TEST(JParserGrowth, LongLineAgainstManyPatternsScansInLinearTime) {
  JParser parser;
  for (int i = 0; i < 60; ++i) {
    const std::string pattern = std::string(1 + i % 9, 'A') + "C" + std::to_string(i);
    ASSERT_NE(parser.AddPatternShort(kJReplace, pattern.c_str(), "", 1), nullptr);
  }
  int tags = 0;
  const JCallback countTag = [](JParser&, JPattern&, JMatchState&, ParseBuffer&, int&,
                                void* userData) {
    ++*static_cast<int*>(userData);
    return static_cast<int>(kJNothingDone);
  };
  ASSERT_NE(parser.AddPattern(kJCallback, "<**>", "", 1, countTag, &tags), nullptr);
  const auto scan = [&parser, &tags](int length) {
    const std::string piece = "AAAAAAAAAB aaaa <tag attr=1> 12345 ";
    std::string text;
    while (text.size() < static_cast<std::size_t>(length))
      text += piece;
    tags = 0;
    const GrowthClock::duration time =
        TimeOf([&] { (void)parser.Scan(text.c_str(), nullptr, -1); });
    EXPECT_EQ(tags, static_cast<int>(text.size() / piece.size()));
    return time;
  };
  EXPECT_LT(SixteenfoldGrowth(25000, scan), kQuadraticGrowth);
}

// ---- JReplaceParser ----

TEST(JReplaceParser, AcceptsOnlyItsTypes) {
  JReplaceParser parser;
  EXPECT_EQ(parser.GetKind(), 2);
  EXPECT_NE(parser.AddPatternShort(kJDrop, "a", "", 1), nullptr);
  EXPECT_EQ(parser.AddPatternShort(kJCallback, "a", "", 1), nullptr);
  EXPECT_EQ(parser.AddPattern(kJCallback, "a", "", 1, Record, nullptr), nullptr);
  EXPECT_NE(parser.AddPattern(kJCallbackLong, "a", "", 1, Record, nullptr), nullptr);
  EXPECT_EQ(parser.AddPattern(kJReplace, "a", "", 1, Record, nullptr), nullptr);
}

TEST(JReplaceParser, BuildsOutputByPatternType) {
  struct Case {
    int type;
    const char* expected;
  };
  const Case cases[] = {
      {kJReplace, "one 2 three 2."},
      {kJInsertAfter, "one two2 three TWO2."},
      {kJInsertBefore, "one 2 three 2."},
      {kJDrop, "one  three ."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    JReplaceParser parser;
    ASSERT_NE(parser.AddPatternShort(c.type, "two", "2", 0), nullptr);
    EXPECT_EQ(parser.Scan("one two three TWO.", nullptr, -1), 2);
    EXPECT_STREQ(parser.GetResultText(), c.expected);
  }
}

TEST(JReplaceParser, MatchesWholeNamesAsWildcards) {
  // Whole-name wildcard matching: "*" is "**", "%" is "%*", and an end marker on both sides
  // makes one match consume the entire name.
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"**.txt_()_()_", "notes.txt_()_()_", true},
      {"**.txt_()_()_", "NOTES.TXT_()_()_", true},
      {"**.txt_()_()_", "notes.txt.bak_()_()_", false},
      {"a%*c.txt_()_()_", "abc.txt_()_()_", true},
      {"a%*c.txt_()_()_", "ac.txt_()_()_", false},
      {"**_()_()_", "x_()_()_", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    JReplaceParser parser;
    ASSERT_NE(parser.AddPatternShort(kJReplace, c.pattern, "", 0), nullptr);
    const int handled = parser.Scan(c.name, nullptr, -1);
    EXPECT_EQ(handled == 1 && parser.GetResult().GetLength() == 0, c.matches);
  }
  JReplaceParser parser;
  EXPECT_EQ(parser.AddPatternShort(kJReplace, "a?c.txt_()_()_", "", 0), nullptr);
}

TEST(JReplaceParser, RestartDoesNotReplaceTheSameSpanAgain) {
  JReplaceParser parser;
  ASSERT_NE(parser.AddPatternShort(kJReplace, "b", "B", 1), nullptr);
  JScanOptions options;
  options.restartAfterReplacement = 1;
  EXPECT_EQ(parser.Scan("abcb", &options, -1), 2);
  EXPECT_STREQ(parser.GetResultText(), "aBcB");
}

namespace {

// Replaces each "$name" by "<name>" through ReplaceInPlace.
int Bracket(JParser& parser, JPattern&, JMatchState& state, ParseBuffer& text, int&, void*) {
  auto& replacer = static_cast<JReplaceParser&>(parser);
  const std::string name(text.GetText() + state.start + 1, state.end - state.start);
  replacer.ReplaceInPlace(state.start, state.end - state.start + 1, ("<" + name + ">").c_str());
  return kJTextChanged;
}

// Drops every "--" after the match.
int DropDashes(JParser& parser, JPattern&, JMatchState& state, ParseBuffer&, int& position,
               void* data) {
  auto& replacer = static_cast<JReplaceParser&>(parser);
  replacer.ReplaceInPlace(state.start, state.end - state.start + 1, "");
  *static_cast<int*>(data) += replacer.RemoveLiteral("--");
  position = state.start;
  return kJTextChanged;
}

// Replaces a "$" word by its name in brackets without touching the work text; a span that
// starts before what is written out is refused.
int BracketBySpan(JParser& parser, JPattern&, JMatchState& state, ParseBuffer& text, int&,
                  void*) {
  auto& replacer = static_cast<JReplaceParser&>(parser);
  const std::string name(text.GetText() + state.start + 1, state.end - state.start);
  const int after =
      replacer.ReplaceSpan(state.start, state.end - state.start + 1, ("[" + name + "]").c_str());
  EXPECT_EQ(after, state.end + 1);
  EXPECT_EQ(replacer.ReplaceSpan(state.start, 1, "x"), -1);
  EXPECT_EQ(replacer.ReplaceSpan(state.end + 1, text.GetLength(), "x"), -1);
  return kJTextChanged;
}

}  // namespace

TEST(JReplaceParser, CallbacksRewriteThroughTheParser) {
  const struct {
    JCallback callback;
    const char* in;
    int count;
    const char* out;
  } cases[] = {
      {Bracket, "a $bc d $e.", 2, "a <bc> d <e>."},
      // The scan resumes right after the replacement, so an adjacent match is not missed,
      // whether the replacement is longer, shorter or empty.
      {Bracket, "$ab$cd $e.", 3, "<ab><cd> <e>."},
      {Bracket, "$a$b$c", 3, "<a><b><c>"},
      // A span passed over: adjacent spans, the second right after the first.
      {BracketBySpan, "$ab$cd $e.", 3, "[ab][cd] [e]."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    JReplaceParser parser;
    ASSERT_NE(parser.AddPattern(kJCallbackLong, "$?Z", nullptr, 1, c.callback, nullptr),
              nullptr);
    EXPECT_EQ(parser.Scan(c.in, nullptr, -1), c.count);
    EXPECT_STREQ(parser.GetResultText(), c.out);
  }
  {
    int removed = 0;
    JReplaceParser parser;
    ASSERT_NE(parser.AddPattern(kJCallbackLong, "!", nullptr, 1, DropDashes, &removed),
              nullptr);
    EXPECT_EQ(parser.Scan("a--b!c---d--", nullptr, -1), 1);
    EXPECT_EQ(removed, 2);
    EXPECT_STREQ(parser.GetResultText(), "a--bc-d");
  }
}

// ---- A handler that keeps rewriting cannot hold a scan for ever ----

TEST(JParser, HandlerThatMovesBackAndGrowsTheTextStillEnds) {
  // Each match doubles its span and sends the scan back to its start: without the scan's
  // bounds this never ends and the text grows without limit.
  JParser parser;
  auto grow = [](JParser& p, JPattern&, JMatchState& state, ParseBuffer&, int& position,
                 void*) -> int {
    if (p.ReplaceAt(state.start, 1, "ab") == 0)
      return kJNothingDone;
    position = state.start - 1;
    return kJTextChanged;
  };
  ASSERT_NE(parser.AddPattern(kJCallback, "a", "", 1, grow, nullptr), nullptr);
  const std::string text(100, 'a');
  EXPECT_GT(parser.Scan(text.c_str(), nullptr, -1), 0);
  const std::string result = parser.GetResultText();
  EXPECT_LE(static_cast<long long>(result.size()),
            kScanGrowthFactor * (static_cast<long long>(text.size()) + 1) + kScanBudgetSlack + 2);
  EXPECT_EQ(result.front(), 'a');
  EXPECT_EQ(result.back(), 'a');
}
