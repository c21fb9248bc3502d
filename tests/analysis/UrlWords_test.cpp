#include "analysis/UrlWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RtfHelpers.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "text/ProductIdentity.h"

namespace {

// The depth of braces that are not escaped; -1 as soon as a group closes that never opened.
int BraceBalance(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
      continue;
    }
    if (rtf[i] == '{') ++depth;
    if (rtf[i] == '}' && --depth < 0) return -1;
  }
  return depth;
}

class UrlWordsTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
  }
  // The HYPERLINK field the builders make for a target and its text.
  std::string Field(int kind, const char* target, const char* text) {
    TextString out;
    BuildHyperlinkField(fc, kind, target, text, out);
    return out.GetText();
  }
  // The line after both word walks of the output pass (blanks only, then all separators).
  std::string Convert(const char* text) {
    PreHTML line;
    line.SetText(text);
    line.DoOutputWordConversions(fc, ctx, 1, 0);
    line.DoOutputWordConversions(fc, ctx, 0, 0);
    return line.GetText();
  }
  bool HasMessage(const std::string& text) const {
    for (const std::string& m : messages)
      if (m.find(text) != std::string::npos) return true;
    return false;
  }
  void Set(PolicyId id, int value) { fc.Bool(id).value = value; }
};

// ---- The detectors on one word ----

enum Detector { kHttp, kEmail, kNews };

struct WordCase {
  Detector detector;
  const char* word;
  int type;
  const char* target;  // for accepted words
  const char* before;  // the text the rewritten word starts with, ahead of the link
  const char* after;   // and ends with
};

constexpr WordCase kWordCases[] = {
    // Web words: the scheme is put in front and a "/" after a bare host; punctuation and
    // brackets around the address stay outside the link.
    {kHttp, "www.example.com.", kUrlWww, "http://www.example.com/", "", "."},
    {kHttp, "(ftp.example.com)", kUrlFtpSite, "ftp://ftp.example.com/", "(", ")"},
    {kHttp, "http://www.example.com/a/b.html,", kUrlHttp, "http://www.example.com/a/b.html", "", ","},
    {kHttp, "HTTPS://www.example.org/x", kUrlHttp, "HTTPS://www.example.org/x", "", ""},
    {kHttp, "\"telnet://host.example.com\"", kUrlTelnet, "telnet://host.example.com", "\"", "\""},
    {kHttp, "gopher.example.com", kUrlGopherSite, "gopher://gopher.example.com/", "", ""},
    // Refused web words.
    {kHttp, "abcdefghwww.example.com", kUrlRefusedWww, nullptr, nullptr, nullptr},
    {kHttp, "gopher.example.zz", kUrlRefusedGopher, nullptr, nullptr, nullptr},
    {kHttp, "telnet.example.zz", kUrlRefusedTelnet, nullptr, nullptr, nullptr},
    {kHttp, "a,b/www.example.com", kUrlNone, nullptr, nullptr, nullptr},
    {kHttp, "www.example,com", kUrlNone, nullptr, nullptr, nullptr},
    {kHttp, "www..example.com", kUrlNone, nullptr, nullptr, nullptr},
    {kHttp, "archive.example.org", kUrlNone, nullptr, nullptr, nullptr},  // no explicit FTP
    // E-mail words.
    {kEmail, "joe@example.com", kUrlEmail, "joe@example.com", "", ""},
    {kEmail, "<joe.bloggs@example.co.uk>,", kUrlEmail, "joe.bloggs@example.co.uk", "<", ">,"},
    {kEmail, "1joe@example.com", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "joe@localhost", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "%joe@example.com", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "jo'e@example.com", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "a/b@example.com", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "@example.com", kUrlRefusedEmail, nullptr, nullptr, nullptr},
    {kEmail, "a@b.c", kUrlNone, nullptr, nullptr, nullptr},  // too short to look at
    {kEmail, "a@b@example.com", kUrlNone, nullptr, nullptr, nullptr},
    // News groups: a known hierarchy links whatever its depth; two segments under an unknown
    // one never do; an explicit prefix always does and stays visible.
    {kNews, "comp.lang.c", kUrlNews, "news:comp.lang.c", "", ""},
    {kNews, "\"alt.folklore.computers\"", kUrlNews, "news:alt.folklore.computers", "\"", "\""},
    {kNews, "news:local.talk", kUrlNews, "news:local.talk", "", ""},
    {kNews, "foo.bar", kUrlRefusedNews, nullptr, nullptr, nullptr},
    {kNews, "foo.bar.baz", kUrlRefusedNews, nullptr, nullptr, nullptr},
    {kNews, "comp.2lang", kUrlRefusedNews, nullptr, nullptr, nullptr},
    {kNews, "comp.lang.c,x", kUrlRefusedNews, nullptr, nullptr, nullptr},
    {kNews, "COMP.LANG.C", kUrlNone, nullptr, nullptr, nullptr},  // no lower case
};

TEST_F(UrlWordsTest, DetectorsAcceptAndRefuseWords) {
  PreHTML& word = WordObjectOf(ctx);
  for (const WordCase& c : kWordCases) {
    SCOPED_TRACE(c.word);
    word.Assign(c.word);
    int converted = 0;
    TextString rewritten("untouched");
    Statement target;
    TextString refused;
    int type = 0;
    switch (c.detector) {
      case kHttp: type = word.TidyHTTPWord(fc, converted, rewritten, target); break;
      case kEmail: type = word.TidyEmailWord(fc, converted, rewritten, target); break;
      case kNews: type = word.TidyUSENETWord(fc, converted, rewritten, target, refused); break;
    }
    EXPECT_EQ(type, c.type);
    if (c.target == nullptr) {
      EXPECT_EQ(converted, 0);
      EXPECT_STREQ(rewritten.GetText(), "untouched");
      continue;
    }
    EXPECT_EQ(converted, 1);
    EXPECT_STREQ(target.GetText(), c.target);
    const std::string out = rewritten.GetText();
    EXPECT_EQ(out.rfind(std::string(c.before) + "{\\field{", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - std::string(c.after).size()), c.after);
    EXPECT_NE(out.find(c.target), std::string::npos);
    EXPECT_EQ(BraceBalance(out), 0);
  }
}

TEST_F(UrlWordsTest, DetectorsDoNothingOnceAWordIsConverted) {
  PreHTML& word = WordObjectOf(ctx);
  word.Assign("www.example.com");
  int converted = 1;
  TextString rewritten("kept");
  Statement target;
  TextString refused;
  EXPECT_EQ(word.TidyHTTPWord(fc, converted, rewritten, target), kUrlNone);
  word.Assign("joe@example.com");
  EXPECT_EQ(word.TidyEmailWord(fc, converted, rewritten, target), kUrlNone);
  word.Assign("comp.lang.c");
  EXPECT_EQ(word.TidyUSENETWord(fc, converted, rewritten, target, refused), kUrlNone);
  word.Assign("h\bhi\bi");
  word.TidyUnixWord(fc, converted, rewritten, 1);
  EXPECT_STREQ(rewritten.GetText(), "kept");
}

TEST_F(UrlWordsTest, PoliciesWidenAndNarrowWhatIsLinked) {
  PreHTML& word = WordObjectOf(ctx);
  const auto detect = [&](Detector detector, const char* text) {
    word.Assign(text);
    int converted = 0;
    TextString rewritten;
    Statement target;
    TextString refused;
    if (detector == kHttp) return word.TidyHTTPWord(fc, converted, rewritten, target);
    if (detector == kEmail) return word.TidyEmailWord(fc, converted, rewritten, target);
    return word.TidyUSENETWord(fc, converted, rewritten, target, refused);
  };
  Set(PolicyId::AllowEmailBeginningWithNumbers, 1);
  EXPECT_EQ(detect(kEmail, "1joe@example.com"), kUrlEmail);
  Set(PolicyId::CreateMailtoLinks, 0);
  EXPECT_EQ(detect(kEmail, "joe@example.com"), kUrlNone);

  Set(PolicyId::OnlyUseKnownGroups, 0);
  EXPECT_EQ(detect(kNews, "foo.bar.baz"), kUrlNews);
  EXPECT_EQ(detect(kNews, "foo.bar"), kUrlRefusedNews);
  Set(PolicyId::OnlyUseKnownGroups, 1);
  fc.GetUsenetGroups().Append("local");
  EXPECT_EQ(detect(kNews, "local.talk"), kUrlNews);

  Set(PolicyId::OnlyAllowExplicitFTPLinks, 0);
  EXPECT_EQ(detect(kHttp, "archive.example.org"), kUrlDottedFtpSite);
  EXPECT_EQ(detect(kHttp, "two.parts"), kUrlNone);
  Set(PolicyId::CreateFTPLinks, 0);
  EXPECT_EQ(detect(kHttp, "ftp.example.com"), kUrlNone);
  Set(PolicyId::CreateHyperlinks, 0);
  EXPECT_EQ(detect(kHttp, "www.example.com"), kUrlNone);
}

// ---- Overstrike ----

struct OverstrikeCase {
  const char* word;
  const char* rtf;  // nullptr: left alone
};

constexpr OverstrikeCase kOverstrikeCases[] = {
    {"_\bh_\bi", "{\\ul hi\\ul0}"},
    {"h\b_i\b_", "{\\ul hi\\ul0}"},
    {"h\bhi\bi", "{\\b hi\\b0}"},
    {"h\bh\bhi", "{\\b hi\\b0}"},  // struck three times
    {"hi\bj", nullptr},
    {"\b\b\b\b", nullptr},
    {"plain", nullptr},
};

TEST_F(UrlWordsTest, OverstrikeBecomesUnderlineOrBold) {
  PreHTML& word = WordObjectOf(ctx);
  for (const OverstrikeCase& c : kOverstrikeCases) {
    SCOPED_TRACE(c.word);
    word.Assign(c.word);
    int converted = 0;
    TextString rewritten;
    word.TidyUnixWord(fc, converted, rewritten, 1);
    EXPECT_EQ(converted, c.rtf != nullptr ? 1 : 0);
    if (c.rtf != nullptr) {
      EXPECT_STREQ(rewritten.GetText(), c.rtf);
    }
  }
  // Without "Look for underlined text" an underlined word is left alone.
  Set(PolicyId::LookForUnderlinedText, 0);
  word.Assign("_\bh_\bi");
  int converted = 0;
  TextString rewritten;
  word.TidyUnixWord(fc, converted, rewritten, 1);
  EXPECT_EQ(converted, 0);
}

TEST_F(UrlWordsTest, NeighbouringOverstruckWordsShareTheirMarkup) {
  EXPECT_EQ(Convert("a _\bb_\bi_\bg word"), "a {\\ul big\\ul0} word");
  EXPECT_EQ(Convert("_\bb_\bi_\bg _\bd_\ba_\by"), "{\\ul big day\\ul0}");
  EXPECT_EQ(Convert("b\bbo\bol\bld t\bte\bex\bxt"), "{\\b bold text\\b0}");
}

// ---- The line walk ----

TEST_F(UrlWordsTest, LineWalkLinksAddressesAndReportsThem) {
  const std::string line = Convert("Mail joe@example.com or see www.example.com. Thanks");
  const std::string expected = "Mail " + Field(3, "mailto:joe@example.com", "joe@example.com") +
                               " or see " +
                               Field(2, "http://www.example.com/", "www.example.com") +
                               ". Thanks";
  EXPECT_EQ(line, expected);
  EXPECT_TRUE(HasMessage("URL: (email) \"joe@example.com\""));
  EXPECT_TRUE(HasMessage("URL: \"http://www.example.com/\""));
  EXPECT_EQ(ctx.LinksFound.GetCount(), 2);
  // A link met again is kept once, whatever its case.
  Convert("WWW.EXAMPLE.COM");
  EXPECT_EQ(ctx.LinksFound.GetCount(), 2);
}

TEST_F(UrlWordsTest, MailtoPrefixStaysVisibleInFrontOfTheLink) {
  EXPECT_EQ(Convert("mailto:joe@example.com"),
            "mailto:" + Field(3, "mailto:joe@example.com", "joe@example.com"));
}

TEST_F(UrlWordsTest, ProtectedSpansAreNeverTouchedNorSplit) {
  // The first replacement lengthens the line; the tag, the field and the unfinished tag after
  // it must still be found where they are.
  const std::string field = "{\\field{\\*\\fldinst {HYPERLINK www.example.org }{\\kerning0 "
                            "{www.example.org}}}{\\fldrslt {www.example.org}}}";
  const std::string input = "www.example.com [[LINK www.example.net]] " + field +
                            " joe@example.com www.example.com[[TAG www.example.com]] "
                            "[[OPEN www.example.com";
  const std::string line = Convert(input.c_str());
  const std::string web = Field(2, "http://www.example.com/", "www.example.com");
  const std::string expected = web + " [[LINK www.example.net]] " + field + " " +
                               Field(3, "mailto:joe@example.com", "joe@example.com") + " " +
                               web + "[[TAG www.example.com]] [[OPEN www.example.com";
  EXPECT_EQ(line, expected);
  EXPECT_EQ(BraceBalance(line), 0);
}

TEST_F(UrlWordsTest, ShortWordsContentsLinesAndOtherPassesAreLeftAlone) {
  EXPECT_EQ(Convert("a.bc x@y. ab/c"), "a.bc x@y. ab/c");
  PreHTML contents;
  contents.SetText("1.2 see www.example.com");
  contents.SetLineType(kTypeContentsHeading2);
  contents.DoOutputWordConversions(fc, ctx, 0, 0);
  EXPECT_STREQ(contents.GetText(), "1.2 see www.example.com");
  SetPass(1, 0, 0);
  EXPECT_EQ(Convert("www.example.com"), "www.example.com");
}

TEST_F(UrlWordsTest, RefusalsAreReportedAsInfo) {
  Convert("abcdefghwww.example.com 1joe@example.com foo.bar program.exe");
  EXPECT_TRUE(HasMessage("INFO: Ignoring potential www URL \"abcdefghwww.example.com\""));
  EXPECT_TRUE(HasMessage("INFO: Ignoring potential email URL \"1joe@example.com\""));
  EXPECT_TRUE(HasMessage("INFO: Ignoring \"newsgroup\" foo.bar"));
  EXPECT_FALSE(HasMessage("program.exe"));
}

struct DecisionCase {
  int type;
  int quiet;
  const char* message;  // nullptr: none
};

constexpr DecisionCase kDecisionCases[] = {
    {kUrlNone, 0, nullptr},
    {kUrlWww, 0, nullptr},
    {kUrlDottedFtpSite, 0, "INFO: Treating \"w.x.y\" as an ftp:// link"},
    {kUrlRefusedWww, 0, "INFO: Ignoring potential www URL \"w.x.y\""},
    {kUrlRefusedWww, 1, nullptr},
    {kUrlRefusedEmail, 1, "INFO: Ignoring potential email URL \"w.x.y\""},
    {kUrlRefusedFtp, 0, "INFO: Ignoring potential ftp URL \"w.x.y\""},
    {kUrlRefusedGopher, 0, "INFO: Ignoring potential gopher URL \"w.x.y\""},
    {kUrlRefusedTelnet, 0, "INFO: Ignoring potential Telnet URL \"w.x.y\""},
    {kUrlRefusedNews, 0, "INFO: Ignoring \"newsgroup\" w.x.y"},
    {18, 0, "UNSUPPORTED CASE: URLType 18"},
};

TEST_F(UrlWordsTest, DecisionReportsNameTheWord) {
  PreHTML& word = WordObjectOf(ctx);
  for (const DecisionCase& c : kDecisionCases) {
    SCOPED_TRACE(c.type);
    messages.clear();
    int type = c.type;
    word.ReportUrlDecision(fc, ctx, type, c.quiet, TextString("w.x.y"));
    if (c.message == nullptr) {
      EXPECT_TRUE(messages.empty());
      continue;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], c.message);
  }
}

// ---- Other output formats ----

class UrlWordsFormatTest : public ::testing::Test {
 protected:
  std::string Convert(int outputType, const char* text, std::vector<std::string>* seen,
                      unsigned* flags = nullptr) {
    Context ctx(2, outputType);
    FileControl fc;
    fc.AttachContext(&ctx);
    fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    ctx.GetLogErrorHandler().SetMessageCallback(
        [seen](const char* message) { seen->emplace_back(message); });
    ctx.OutputPass = 1;
    ctx.CodeLocation = kLocationOutput;
    PreHTML line;
    line.SetText(text);
    line.DoOutputWordConversions(fc, ctx, 1, outputType == kOutputHtml ? 1 : 0);
    line.DoOutputWordConversions(fc, ctx, 0, outputType == kOutputHtml ? 1 : 0);
    if (flags != nullptr) *flags = line.GetFlags();
    return line.GetText();
  }
};

TEST_F(UrlWordsFormatTest, MarkersDroppedKeepsWebWordsAndGivesPlainText) {
  std::vector<std::string> seen;
  EXPECT_EQ(Convert(kOutputTextMarkersDropped, "www.example.com <joe@example.com> comp.lang.c",
                    &seen),
            "www.example.com <joe@example.com> comp.lang.c");
  EXPECT_EQ(Convert(kOutputPlainText, "_\bh_\bi joe@example.com", &seen),
            "_\bh_\bi joe@example.com");
}

TEST_F(UrlWordsFormatTest, HtmlMakesAnchorsForMailAndNewsOnly) {
  std::vector<std::string> seen;
  unsigned flags = 0;
  EXPECT_EQ(Convert(kOutputHtml, "joe@example.com comp.lang.c", &seen, &flags),
            "<A HREF=\"mailto:joe@example.com\">joe@example.com</A> "
            "<A HREF=\"news:comp.lang.c\">comp.lang.c</A>");
  // A line with links is marked for the writer.
  EXPECT_NE(flags & kFlagUrl, 0u);
  Convert(kOutputHtml, "no links here", &seen, &flags);
  EXPECT_EQ(flags & kFlagUrl, 0u);
  seen.clear();
  EXPECT_EQ(Convert(kOutputHtml, "see www.example.com <img src=www.example.net>", &seen),
            "see www.example.com <img src=www.example.net>");
  bool reported = false;
  for (const std::string& m : seen)
    reported = reported || m.find("UNSUPPORTED CASE: Output Format in TidyHTTPWord") !=
                               std::string::npos;
  EXPECT_TRUE(reported);
}

// ---- Hostile input ----

std::vector<std::string> HostileWords() {
  std::vector<std::string> words = {
      std::string(500, '.'),
      std::string(500, '@'),
      std::string(500, '/'),
      "www." + std::string(496, 'a'),
      "http://" + std::string(493, 'x') + ".com",
      std::string(250, 'a') + "@" + std::string(245, 'b') + ".com",
      "comp." + std::string(495, 'c'),
      "\"www.example.com",
      "www.example.com\"",
      "\"\"\"joe@example.com",
      "((((www.example.com",
      "www.example.com]]]]",
      "[[www.example.com",
      "{www.example.com}",
      "{\\field{www.example.com",
      "www.example.com\\",
      "joe@example.com\\",
      "news:comp.lang.c\\",
      "HtTp://WwW.ExAmPlE.CoM",
      "hTTpS://x",
      "FTP://ftp.example.com",
      "Gopher://a.b.c",
      "MAILTO:joe@example.com",
      "SNEWS:comp.lang.c",
      "www.%7Bexample%7D.com",
      "http://%7B.com/",
      "_\b",
      "\b_",
      std::string(500, '\b'),
      "&lt;www.example.com&gt;",
      "&amp;&amp;&amp;&amp;&amp;",
      "\x93www.example.com\x94",
      "a.b.c.d.e.f.g.h.i.j.k",
      "1.2.3.4.5.6.7.8",
      "....@....",
      "\"@\"",
  };
  std::string mixed;
  for (int i = 0; i < 50; ++i) mixed += "www.a,b/c@d.";
  words.push_back(mixed);
  return words;
}

TEST_F(UrlWordsTest, HostileWordsNeitherFaultNorGrowOutOfBounds) {
  PreHTML& word = WordObjectOf(ctx);
  for (const std::string& text : HostileWords()) {
    SCOPED_TRACE(text.substr(0, 40));
    // A field carries its target and text twice more as hex digits of UTF-16.
    const std::size_t limit = 12 * text.size() + 1024;
    for (int detector = 0; detector < 4; ++detector) {
      word.Assign(text.c_str());
      int converted = 0;
      TextString rewritten;
      Statement target;
      TextString refused;
      switch (detector) {
        case 0: word.TidyHTTPWord(fc, converted, rewritten, target); break;
        case 1: word.TidyEmailWord(fc, converted, rewritten, target); break;
        case 2: word.TidyUSENETWord(fc, converted, rewritten, target, refused); break;
        default: word.TidyUnixWord(fc, converted, rewritten, 1); break;
      }
      if (converted == 0) continue;
      EXPECT_LE(static_cast<std::size_t>(rewritten.GetLength()), limit);
      EXPECT_EQ(BraceBalance(rewritten.GetText()), BraceBalance(text)) << rewritten.GetText();
    }
    // The same word in a line, between words that are links.
    const std::string line = "www.example.com " + text + " joe@example.com";
    const std::string out = Convert(line.c_str());
    EXPECT_LE(out.size(), 12 * line.size() + 4096);
    EXPECT_EQ(BraceBalance(out), BraceBalance(line));
  }
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using UrlWordsGrowth = UrlWordsTest;

TEST_F(UrlWordsGrowth, LineWalkGrowsLinearlyWithTheLine) {
  const double growth = SixteenfoldGrowth(200, [this](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "www.example.com [[x]] foo.bar ";
    PreHTML line;
    line.SetText(text.c_str());
    return TimeOf([&] { line.DoOutputWordConversions(fc, ctx, 0, 0); });
  });
  EXPECT_LT(growth, kQuadraticGrowth);
}

}  // namespace
