#include "engine/HtmlTags.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "engine/TagDetector.h"
#include "policy/ConversionOptions.h"
#include "policy/ErrorHandler.h"
#include "support/Growth.h"

namespace {

// Keeps every report with its level.
class CollectingHandler : public ErrorHandler {
 public:
  void Report(const char* text, int level) override { reports.emplace_back(text, level); }
  std::vector<std::pair<std::string, int>> reports;
};

// A record with every tag setting off: nothing is removed or cleaned unless a case asks.
ConversionOptions QuietOptions(int mode) {
  ConversionOptions o;
  o.conversionMode = mode;
  o.removeAllTags = o.removeAllHtmlTags = o.removeAllNonHtmlTags = 0;
  o.removeMailXTags = o.removeOfficeTags = o.removeComments = o.removeStyleSheet = 0;
  o.removeTableParagraphTags = o.removeTableAlignment = o.removeTableColours = 0;
  o.removeTableSizes = o.removeNonStandardTags = o.removeNonStandardAttributes = 0;
  o.keepDeprecatedTags = o.keepDeprecatedAttributes = 0;
  o.tagsToUpperCase = o.tagsToLowerCase = o.xhtmlCompatibleTags = 0;
  o.replaceEntitiesByText = 0;
  return o;
}

// The heading list's settings.
ConversionOptions HeadingOptions() {
  ConversionOptions o;
  SetHeadingTagOptions(o);
  return o;
}

class HtmlTagsTest : public ::testing::Test {
 protected:
  std::string Detect(const ConversionOptions& options, const std::string& in, int keepUrls = 0,
                     int decode = 0) {
    TextString work;
    TextString out;
    count = DetectTags(work, detector, entities, handler, options, keepUrls, decode,
                       TextString(in.c_str()), out);
    return out.GetText();
  }

  TagDetector detector;
  EntityTable entities;
  CollectingHandler handler;
  int count = 0;
};

struct DetectCase {
  const char* in;
  const char* out;
};

// ---- Removing every tag (mode 7) ----

TEST_F(HtmlTagsTest, TextModeRemovesTagsButNotTextThatOnlyLooksLikeOne) {
  const DetectCase cases[] = {
      {"a <b>bold</b> c", "a bold c"},
      // Adjacent tags: the scan goes on where the removed tag stood.
      {"<i><b>x</b></i>", "x"},
      {"line<br><br>end", "lineend"},
      // A quoted value may hold ">": the tag ends at the ">" after the quote.
      {"<a title=\"1 > 0\">link</a>", "link"},
      // A "<" that is a comparison, followed by a blank, stays with its ">".
      {"if a < b and c > d", "if a < b and c > d"},
      {"x <= y > z", "x <= y > z"},
      {"a << b >> c", "a << b >> c"},
      // Addresses in angle brackets survive.
      {"Mail <joe@example.com> now", "Mail <joe@example.com> now"},
      {"See <http://www.example.com/x> here", "See <http://www.example.com/x> here"},
      // Not addresses: two "@", too short, a blank.
      {"<a@b@c.com>x", "x"},
      {"<a@b.c>x", "x"},
      {"<joe @example.com>x", "x"},
      // A "<" that never closes stays; a later "<" does not move it.
      {"<< no close", "<< no close"},
      {"a <b <c> d", "a  d"},
      // Only a ">" closes.
      {"text > more", "text > more"},
  };
  const ConversionOptions options;  // the record: mode 7
  for (const DetectCase& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Detect(options, c.in), c.out);
  }
}

TEST_F(HtmlTagsTest, KeepUrlsRemovesAddressesToo) {
  const ConversionOptions options;
  EXPECT_EQ(Detect(options, "Mail <joe@example.com> now", 1), "Mail  now");
  EXPECT_EQ(Detect(options, "<http://www.example.com/x>", 1), "");
}

TEST_F(HtmlTagsTest, IdenticalTagsGoTogetherAndTheCountSaysWhatWasHandled) {
  const ConversionOptions options;
  // The second <b> goes with the first: three tag spans handled, not four.
  EXPECT_EQ(Detect(options, "<b>x</b><b>y</b>"), "xy");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Detect(options, "no tags here"), "no tags here");
  EXPECT_EQ(count, 0);
}

TEST_F(HtmlTagsTest, UnbalancedQuotesKeepTheTagOpenOrAreReportedAsAmbiguous) {
  const ConversionOptions options;
  // The quote never closes and fewer than three brackets stand outside it: no tag at all.
  EXPECT_EQ(Detect(options, "<a title=\"x> y"), "<a title=\"x> y");
  EXPECT_TRUE(handler.reports.empty());
  // Three brackets outside quotes, a tag-like first word: reported, and removed as a tag.
  EXPECT_EQ(Detect(options, "x <a <b <c 'd> y"), "x  y");
  ASSERT_FALSE(handler.reports.empty());
  EXPECT_EQ(handler.reports[0].first, "WARNING: Ambiguous quote/brackets in tag - <a <b <c 'd>");
  EXPECT_EQ(handler.reports[0].second, 8);
}

// ---- Removing by list (mode 6) ----

TEST_F(HtmlTagsTest, HeadingSettingsRemoveKnownTagsAndComments) {
  const DetectCase cases[] = {
      {"Intro <b>bold</b> words", "Intro bold words"},
      {"Title<br/>", "Title"},
      {"A <!-- note --> B", "A  B"},
      {"Office<o:p></o:p>", "Office"},
      {"<P ALIGN=center>Para</P>", "Para"},
      // A comparison stays.
      {"Sizes a < b", "Sizes a < b"},
  };
  const ConversionOptions options = HeadingOptions();
  for (const DetectCase& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Detect(options, c.in), c.out);
  }
}

TEST_F(HtmlTagsTest, ModeSixRemovesOnlyWhatTheListsSettingsAsk) {
  ConversionOptions options = QuietOptions(kConversionModeDetag);
  options.removeMailXTags = 1;
  // Mail tags go; HTML tags are known but kept; unknown names are left alone.
  EXPECT_EQ(Detect(options, "<x-tab>a<b>b</b><thing>"), "a<b>b</b><thing>");
  options.removeMailXTags = 0;
  options.removeAllHtmlTags = 1;
  EXPECT_EQ(Detect(options, "<x-tab>a<b>b</b>"), "<x-tab>ab");
}

TEST_F(HtmlTagsTest, EntitiesAreDecodedOnlyWhenAsked) {
  ConversionOptions options = QuietOptions(kConversionModeDetag);
  options.removeAllHtmlTags = 1;
  EXPECT_EQ(Detect(options, "<b>R&amp;D</b>", 0, 1), "R&amp;D");
  options.replaceEntitiesByText = 1;
  EXPECT_EQ(Detect(options, "<b>R&amp;D</b>", 0, 1), "R&D");
  EXPECT_EQ(count, 3);  // two tags and one entity
  EXPECT_EQ(Detect(options, "<b>R&amp;D</b>", 0, 0), "R&amp;D");
}

TEST(HtmlTagsContext, HeadingListKeyLosesItsTags) {
  Context ctx(2, kOutputRtf);
  TextString out;
  EXPECT_GT(DetectTags(ctx, HeadingOptions(), kDetectDecodeEntities,
                       TextString("1.2 The <i>new</i> caf&eacute;"), out),
            0);
  EXPECT_STREQ(out.GetText(), "1.2 The new caf\xe9");
  ASSERT_NE(ctx.TagDetection.dictionary, nullptr);
  EXPECT_GT(ctx.TagDetection.htmlTags.GetCount(), 100);
}

// ---- Cleaning kept tags ----

struct CleanCase {
  const char* in;
  const char* out;
  const char* message;  // the first report, or null for none
};

ConversionOptions CleaningOptions(void (*set)(ConversionOptions&)) {
  ConversionOptions o = QuietOptions(kConversionModeDetag);
  set(o);
  return o;
}

TEST_F(HtmlTagsTest, XhtmlFormLowerCasesQuotesAndClosesEmptyElements) {
  const ConversionOptions options =
      CleaningOptions([](ConversionOptions& o) { o.xhtmlCompatibleTags = 1; });
  const CleanCase cases[] = {
      {"<BR>", "<br />", nullptr},
      // The "/" of a closed element is no br attribute; the element is closed again.
      {"<br/>", "<br />", "INFO: Removing unknown tag/attr BR//"},
      {"<br />", "<br />", "INFO: Removing unknown tag/attr BR//"},
      {"<IMG SRC=a.gif ALT='A pic'>", "<img src=\"a.gif\" alt='A pic' />", nullptr},
      {"<input disabled>", "<input disabled=\"\" />", nullptr},
      // A deprecated tag goes under XHTML; each message is reported once with its count.
      {"<CENTER>a<CENTER>b", "ab", "INFO: Removing deprecated tag CENTER (2 times)"},
      // Unknown attributes of a known tag go.
      {"<p foo=1>", "<p>", "INFO: Removing unknown tag/attr P/FOO"},
  };
  for (const CleanCase& c : cases) {
    SCOPED_TRACE(c.in);
    handler.reports.clear();
    EXPECT_EQ(Detect(options, c.in), c.out);
    if (c.message == nullptr) {
      EXPECT_TRUE(handler.reports.empty());
      continue;
    }
    ASSERT_FALSE(handler.reports.empty());
    EXPECT_EQ(handler.reports[0].first, c.message);
    EXPECT_EQ(handler.reports[0].second, 8);
  }
}

TEST_F(HtmlTagsTest, CleaningFiltersAttributesByTheSettings) {
  struct Case {
    void (*set)(ConversionOptions&);
    const char* in;
    const char* out;
    const char* message;
  };
  const Case cases[] = {
      {[](ConversionOptions& o) { o.tagsToUpperCase = 1; }, "<a href=x.htm>",
       "<A HREF=\"x.htm\">", nullptr},
      // Lower case wins over upper case.
      {[](ConversionOptions& o) { o.tagsToUpperCase = o.tagsToLowerCase = 1; }, "<A HREF=X>",
       "<a href=\"X\">", nullptr},
      // A value holding a double quote is put in single quotes; one holding both stays bare.
      {[](ConversionOptions& o) { o.tagsToLowerCase = 1; }, "<a title='say \"hi\"'>",
       "<a title='say \"hi\"'>", nullptr},
      {[](ConversionOptions& o) { o.removeTableSizes = 1; },
       "<td width=10 align=left class=c>", "<td align=\"left\" class=\"c\">",
       "INFO: Discarding tag/attr TD/WIDTH"},
      {[](ConversionOptions& o) { o.removeTableAlignment = o.removeTableColours = 1; },
       "<TR VALIGN=top BGCOLOR=red ID=r>", "<TR ID=\"r\">", "INFO: Discarding tag/attr TR/VALIGN"},
      // Not a table tag: table settings do not touch it.
      {[](ConversionOptions& o) { o.removeTableSizes = 1; }, "<img width=10>",
       "<img width=\"10\">", nullptr},
      {[](ConversionOptions& o) { o.removeStyleSheet = 1; }, "<p style=\"x\" id=a class=b>",
       "<p>", nullptr},
      {[](ConversionOptions& o) { o.removeOfficeTags = 1; }, "<p o:x=1 lang=en>",
       "<p lang=\"en\">", "INFO: Removing unknown tag/attr P/O:X"},
      {[](ConversionOptions& o) { o.removeAllNonHtmlTags = o.removeStyleSheet = 1; },
       "a<thing>b", "ab", "INFO: Removing unknown tag thing"},
      // A deprecated attribute kept when asked, with a warning.
      {[](ConversionOptions& o) { o.removeNonStandardAttributes = o.keepDeprecatedAttributes = 1; },
       "<p align=center>", "<p align=\"center\">", "WARNING: Deprecated attribute detected P/ALIGN"},
      {[](ConversionOptions& o) { o.removeNonStandardAttributes = 1; }, "<p align=center>",
       "<p>", "INFO: Removing deprecated tag/attr P/ALIGN"},
      // Comments, document types and numbers stay as they are.
      {[](ConversionOptions& o) { o.xhtmlCompatibleTags = 1; }, "<!-- Keep ME -->",
       "<!-- Keep ME -->", nullptr},
      {[](ConversionOptions& o) { o.xhtmlCompatibleTags = 1; }, "<!DOCTYPE HTML>",
       "<!DOCTYPE HTML>", nullptr},
      {[](ConversionOptions& o) { o.tagsToUpperCase = 1; }, "<1>", "<1>", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    handler.reports.clear();
    EXPECT_EQ(Detect(CleaningOptions(c.set), c.in), c.out);
    if (c.message == nullptr) {
      EXPECT_TRUE(handler.reports.empty());
      continue;
    }
    ASSERT_FALSE(handler.reports.empty());
    EXPECT_EQ(handler.reports[0].first, c.message);
  }
}

TEST_F(HtmlTagsTest, RemoveAllTagsAfterCleaningLeavesNothing) {
  ConversionOptions options = QuietOptions(kConversionModeDetag);
  options.removeAllTags = 1;
  options.tagsToUpperCase = 1;
  // Mode 6 keeps an unknown name, then removes it with "Remove all tags".
  EXPECT_EQ(Detect(options, "a<thing>b"), "ab");
  // The address exemption holds in mode 6 as well.
  EXPECT_EQ(Detect(options, "<joe@example.com>"), "<joe@example.com>");
}

// ---- Work that grows with the text ----

TEST(HtmlTagsGrowth, ManyDistinctTagsAndAnOpenQuoteStayLinear) {
  const ConversionOptions options;
  TagDetector detector;
  EntityTable entities;
  CollectingHandler handler;
  const auto distinct = [&](int n) {
    std::string text;
    for (int i = 0; text.size() < static_cast<std::size_t>(n); ++i)
      text += "<t" + std::to_string(i) + "> word ";
    const TextString in(text.c_str());
    TextString work, out;
    return TimeOf([&] {
      (void)DetectTags(work, detector, entities, handler, options, 0, 0, in, out);
    });
  };
  EXPECT_LT(SixteenfoldGrowth(20000, distinct), kQuadraticGrowth);
  const auto openQuote = [&](int n) {
    const std::string text = "<a title=\"" + std::string(static_cast<std::size_t>(n), '>');
    const TextString in(text.c_str());
    TextString work, out;
    return TimeOf([&] {
      (void)DetectTags(work, detector, entities, handler, options, 0, 0, in, out);
    });
  };
  EXPECT_LT(SixteenfoldGrowth(20000, openQuote), kQuadraticGrowth);
}

}  // namespace
