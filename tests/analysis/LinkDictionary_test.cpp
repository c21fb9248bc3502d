#include "policy/LinkDictionary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "support/Growth.h"
#include "support/TestFiles.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

std::string Fixture(const char* name) {
  return std::string(KELVANE_FIXTURES_DIR) + "/analysis/" + name;
}

std::string Str(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// The HYPERLINK field of http://www.kelvane.com/ showing "Kelvane" at the 10 points of RTF output,
// built by hand from the field's layout: the instruction, the data field (the shown text and
// the address, each character as four hexadecimal digits) and the result.
constexpr const char* kKelvaneField =
    "{\\field{\\*\\fldinst {\\fs20  HYPERLINK http://www.kelvane.com/ }{\\kerning0 "
    "{\\*\\datafield 00d0c9ea79f9bace118c8200aa004ba90b0200000017000000080000004b0065006c0076"
    "0061006e0065000000e0c9ea79f9bace118c8200aa004ba90b3000000068007400740070003a002f002f0077"
    "00770077002e006b0065006c00760061006e0065002e0063006f006d002f000000000000}}}"
    "{\\fldrslt {\\cs32\\ul\\cf2\\fs20 Kelvane}}}";

class LinkDictionaryTest : public ContextFixture {
 protected:
  int Define(const char* match, const char* replacement, const char* address) {
    return dictionary.AddOrUpdate(fc, TextString(match), TextString(replacement),
                                  TextString(address), TextString(), -1, -1);
  }
  std::string Apply(const char* text, int expectedResult) {
    TextString result;
    EXPECT_EQ(dictionary.Apply(fc, TextString(text), result), expectedResult) << text;
    return Str(result);
  }

  LinkDictionary dictionary;
};

// ---- Adding and updating ----

TEST_F(LinkDictionaryTest, RefusesAnEntryWithoutMatchReplacementOrAddress) {
  const struct {
    const char* match;
    const char* replacement;
    const char* address;
  } kCases[] = {
      {"", "Kelvane", "http://www.kelvane.com/"},
      {"   ", "Kelvane", "http://www.kelvane.com/"},
      {"Kelvane", "", "http://www.kelvane.com/"},
      {"Kelvane", "Kelvane", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.match) + "|" + c.replacement + "|" + c.address);
    EXPECT_EQ(Define(c.match, c.replacement, c.address), 0);
  }
  EXPECT_EQ(dictionary.GetCount(), 0);
  // An input anchor carries no address: it is refused like any other entry without one.
  EXPECT_EQ(dictionary.AddOrUpdate(fc, TextString("here"), TextString("here"), TextString(),
                                   TextString("<a href=\"x.html\">"), 1, 4),
            0);
  EXPECT_EQ(dictionary.GetInactiveCount(), 0);
}

TEST_F(LinkDictionaryTest, SecondDefinitionOfAMatchUpdatesItIgnoringCase) {
  ASSERT_EQ(Define("  Kelvane ", "Kelvane", "http://www.kelvane.com/"), 1);
  ASSERT_EQ(Define("KELVANE", "The program", "http://www.kelvane.com/about.html"), 1);
  ASSERT_EQ(dictionary.GetCount(), 1);
  const LinkEntry* entry = dictionary.pGetEntry(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(Str(entry->match), "Kelvane");  // trimmed, as first written
  EXPECT_EQ(Str(entry->replacement), "The program");
  EXPECT_EQ(Str(entry->address), "http://www.kelvane.com/about.html");
  EXPECT_EQ(dictionary.GetActiveCount(), 1);
  EXPECT_EQ(messages, std::vector<std::string>{
                          "INFO: Link definition being updated for \"The program\""});
}

TEST_F(LinkDictionaryTest, ReplacementIsEscapedOnUpdateAsOnInsertion) {
  ASSERT_EQ(Define("brace", "open { here", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->shown), "open \\'7b here");
  // An update used to keep the text as given, so its link broke the RTF around it.
  ASSERT_EQ(Define("Brace", "close } and \\ here", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->shown), "close \\'7d and \\\\ here");
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->replacement), "close } and \\ here");

  const std::string linked = Apply("a brace b", 1);
  int depth = 0;
  for (const char c : linked) {
    depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    ASSERT_GE(depth, 0) << linked;
  }
  EXPECT_EQ(depth, 0) << linked;
}

TEST_F(LinkDictionaryTest, SetEntryTextsChangesOneEntryInPlaceAndItsLink) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  ASSERT_EQ(Define("guide", "guide", "http://www.kelvane.com/guide"), 1);
  EXPECT_EQ(Apply("guide", 1).find("example"), std::string::npos);
  ASSERT_EQ(dictionary.SetEntryTexts(fc, 1, TextString(" manual "), TextString("the { manual"),
                                     TextString("http://www.example.com/")),
            1);
  EXPECT_EQ(dictionary.GetCount(), 2);
  const LinkEntry& entry = *dictionary.pGetEntry(1);
  EXPECT_EQ(Str(entry.match), "manual");
  EXPECT_EQ(Str(entry.replacement), "the { manual");
  EXPECT_EQ(Str(entry.shown), "the \\'7b manual");
  EXPECT_EQ(Apply("guide", 0), "guide");
  EXPECT_NE(Apply("manual", 1).find("HYPERLINK http://www.example.com/ "), std::string::npos);
  // Texts the dictionary file could not read back, and indices it does not have, change
  // nothing.
  EXPECT_EQ(dictionary.SetEntryTexts(fc, 0, TextString("  "), TextString("K"), TextString("u")), 0);
  EXPECT_EQ(dictionary.SetEntryTexts(fc, 0, TextString("K"), TextString(""), TextString("u")), 0);
  EXPECT_EQ(dictionary.SetEntryTexts(fc, 0, TextString("K"), TextString("K"), TextString("")), 0);
  EXPECT_EQ(dictionary.SetEntryTexts(fc, 2, TextString("K"), TextString("K"), TextString("u")), 0);
  EXPECT_EQ(dictionary.SetEntryTexts(fc, -1, TextString("K"), TextString("K"), TextString("u")), 0);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->address), "http://www.kelvane.com/");
}

// A dictionary copied into another policy set, or written and read again, keeps the user's
// replacement: its escapes are made once, for the link that is shown.
TEST_F(LinkDictionaryTest, CopiesAndWritesTheReplacementAsGiven) {
  const struct {
    const char* replacement;
    const char* shown;
  } kCases[] = {
      {"plain words", "plain words"},
      {"C:\\dir\\file", "C:\\\\dir\\\\file"},
      {"set {a} and {b}", "set \\'7ba\\'7d and \\'7bb\\'7d"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.replacement);
    LinkDictionary source;
    ASSERT_EQ(source.AddOrUpdate(fc, TextString("term"), TextString(c.replacement),
                                 TextString("http://www.kelvane.com/"), TextString(), -1, -1),
              1);
    LinkDictionary copy;
    copy.AddAll(fc, source);
    LinkDictionary again;
    again.AddAll(fc, copy);
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_EQ(Str(again.pGetEntry(0)->replacement), c.replacement);
    EXPECT_EQ(Str(again.pGetEntry(0)->shown), c.shown);
    EXPECT_GE(again.Find(TextString("term"), TextString(c.replacement),
                         TextString("http://www.kelvane.com/")),
              0);
    TextString linked;
    ASSERT_EQ(again.Apply(fc, TextString("a term b"), linked), 1);
    EXPECT_NE(Str(linked).find(std::string("\\fs20 ") + c.shown + "}}}"), std::string::npos)
        << Str(linked);

    const std::string path = TempPath("links", "copied.txt");
    TextFile writer;
    ASSERT_EQ(again.Write(TextString(path.c_str()), writer), 1);
    EXPECT_EQ(ReadBytes(path), std::string("Link definition: \"term\" = \"") + c.replacement +
                                   "\" + \"http://www.kelvane.com/\"\n");
    LinkDictionary reread;
    ASSERT_EQ(reread.LoadFile(fc, TextString(path.c_str()), nullptr), 1);
    ASSERT_EQ(reread.GetCount(), 1);
    EXPECT_EQ(Str(reread.pGetEntry(0)->replacement), c.replacement);
    EXPECT_EQ(Str(reread.pGetEntry(0)->shown), c.shown);
    std::remove(path.c_str());
  }
}

TEST_F(LinkDictionaryTest, ParseDefinitionTakesTheQuotedFields) {
  EXPECT_EQ(dictionary.ParseDefinition(
                fc, TextString("Link definition: \"Kelvane\" = \"Kelvane\" + "
                               "\"http://www.kelvane.com/\""),
                0),
            1);
  // Only the quotes count: the keyword, "=" and "+" are not looked at.
  EXPECT_EQ(dictionary.ParseDefinition(fc, TextString("x \"guide\" y \"Guide\" z \"http://g.com/\""),
                                       0),
            1);
  EXPECT_EQ(dictionary.ParseDefinition(fc, TextString("Link definition: \"open"), 0), 0);
  EXPECT_EQ(dictionary.GetCount(), 2);
}

// ---- The file ----

TEST_F(LinkDictionaryTest, LoadsDefinitionsSkippingCommentsSectionsAndBlankLines) {
  TextString error;
  ASSERT_EQ(dictionary.LoadFile(fc, TextString(Fixture("links-good.txt").c_str()), &error), 1);
  EXPECT_TRUE(error.IsEmpty());
  ASSERT_EQ(dictionary.GetCount(), 2);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->replacement), "The program");
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->match), "policy file");
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->replacement), "Policy {file}");
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->shown), "Policy \\'7bfile\\'7d");
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->address), "http://www.kelvane.com/pol.html");
  EXPECT_EQ(messages, std::vector<std::string>{
                          "INFO: Link definition being updated for \"The program\""});
}

TEST_F(LinkDictionaryTest, ReportsEachRefusedLineAndReadsOn) {
  TextString error;
  EXPECT_EQ(dictionary.LoadFile(fc, TextString(Fixture("links-faults.txt").c_str()), &error), 0);
  const std::vector<std::string> expected = {
      "POLICY: Ignored - \\Link definition: \"Kelvane\" = \"\" + \"http://www.kelvane.com/\"\\",
      "POLICY: Ignored - Missing colon in \"Link definition \"missing colon\" = \"x\" + "
      "\"www.kelvane.com/x.html\"\"",
      "POLICY: Ignored - \\Link definition: \"unterminated = \"x\" + "
      "\"http://www.kelvane.com/\\",
      "POLICY: Ignored - \\Heading level 3 lines are not links\\",
  };
  EXPECT_EQ(messages, expected);
  EXPECT_EQ(Str(error), expected.back());
  // The line without a colon still has its three quoted fields; the last line is good.
  ASSERT_EQ(dictionary.GetCount(), 2);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->match), "missing colon");
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->match), "kept");
}

TEST_F(LinkDictionaryTest, FilesWithoutDefinitionsLoadEmpty) {
  for (const char* name : {"links-new.txt", "links-comments-only.txt"}) {
    SCOPED_TRACE(name);
    TextString error;
    EXPECT_EQ(dictionary.LoadFile(fc, TextString(Fixture(name).c_str()), &error), 1);
    EXPECT_EQ(dictionary.GetCount(), 0);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(LinkDictionaryTest, MissingFileIsReportedAndNamed) {
  TextString error;
  const std::string name = Fixture("no-such-links.txt");
  EXPECT_EQ(dictionary.LoadFile(fc, TextString(name.c_str()), &error), 0);
  const std::string expected = "** Failed to open Link Dictionary file " + name + " ***";
  EXPECT_EQ(Str(error), expected);
  EXPECT_EQ(messages, std::vector<std::string>{expected});
  EXPECT_EQ(dictionary.LoadFile(fc, TextString(name.c_str()), nullptr), 0);
}

TEST_F(LinkDictionaryTest, WritesActiveEntriesThatReadBackTheSame) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  ASSERT_EQ(Define("guide", "The guide", "http://www.kelvane.com/guide.html"), 1);
  // An anchor tag with an address makes an inactive entry, which is never written.
  ASSERT_EQ(dictionary.AddOrUpdate(fc, TextString("here"), TextString("here"),
                                   TextString("http://x.com/"), TextString("<a href=x>"), 1, 4),
            1);
  EXPECT_EQ(dictionary.GetInactiveCount(), 1);

  const std::string path = TempPath("links", "written.txt");
  TextFile writer;
  ASSERT_EQ(dictionary.Write(TextString(path.c_str()), writer), 1);
  EXPECT_FALSE(writer.IsOpen());  // opened for the call, closed after it
  EXPECT_EQ(ReadBytes(path),
            "Link definition: \"Kelvane\" = \"Kelvane\" + \"http://www.kelvane.com/\"\n"
            "Link definition: \"guide\" = \"The guide\" + \"http://www.kelvane.com/guide.html\"\n");

  LinkDictionary reread;
  ASSERT_EQ(reread.LoadFile(fc, TextString(path.c_str()), nullptr), 1);
  ASSERT_EQ(reread.GetCount(), 2);
  EXPECT_EQ(reread.Find(TextString("guide"), TextString("The guide"),
                        TextString("http://www.kelvane.com/guide.html")),
            1);
  std::remove(path.c_str());

  TextFile closed;
  EXPECT_EQ(dictionary.Write(TextString(), closed), 0);  // no name to open
  StringList lines;
  TextFile open;
  open.SetSink(&lines);
  ASSERT_TRUE(open.OpenForWrite("sink", 0, 0));
  EXPECT_EQ(dictionary.Write(TextString(), open), 1);  // an open writer needs no name
  EXPECT_EQ(lines.GetCount(), 2);
  EXPECT_TRUE(open.IsOpen());
}

// ---- Applying ----

TEST_F(LinkDictionaryTest, LinksEveryOccurrenceWithAHyperlinkField) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Apply("Read the Kelvane guide", 1),
            std::string("Read the ") + kKelvaneField + " guide");
  EXPECT_EQ(Apply("Kelvane, Kelvane", 1), std::string(kKelvaneField) + ", " + kKelvaneField);
  EXPECT_EQ(Apply("nothing to link", 0), "nothing to link");
}

// A policy set without a conversion (the dictionary editor's) escapes for RTF and, with no
// run to check an address against, links a phrase as its shown text alone.
TEST(LinkDictionaryWithoutContext, EscapesForRtfAndShowsTheTextAlone) {
  FileControl fc;
  LinkDictionary dictionary;
  ASSERT_EQ(dictionary.AddOrUpdate(fc, TextString("Kelvane"), TextString("a {b} \\ c"),
                                   TextString("http://www.kelvane.com/"), TextString(), -1, -1),
            1);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->shown), "a \\'7bb\\'7d \\\\ c");
  TextString result;
  EXPECT_EQ(dictionary.Apply(fc, TextString("see Kelvane here"), result), 1);
  EXPECT_EQ(Str(result), "see a \\'7bb\\'7d \\\\ c here");
}

TEST_F(LinkDictionaryTest, NothingToDoLeavesTheTextAndSucceeds) {
  EXPECT_EQ(Apply("Kelvane", 1), "Kelvane");  // no entries
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Apply("", 1), "");
}

TEST_F(LinkDictionaryTest, LeavesTagsAnchorsAndFieldsAlone) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  const std::string linked = std::string("see ") + kKelvaneField;
  const char* kUntouched[] = {
      "[[SUPER Kelvane]]",
      "<a href=\"k.html\">Kelvane</a>",
      "<A HREF=\"k.html\">Kelvane</A>",
      linked.c_str(),  // a field made earlier is not linked again
      "[[TEXT Kelvane",  // an unfinished tag runs to the end
  };
  for (const char* text : kUntouched) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Apply(text, 0), text);
  }
  EXPECT_EQ(Apply("[[NB 2]]Kelvane<abbr>Kelvane", 1),
            std::string("[[NB 2]]") + kKelvaneField + "<abbr>" + kKelvaneField);
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using LinkDictionaryGrowth = LinkDictionaryTest;

TEST_F(LinkDictionaryGrowth, LongLineOfTagsAndFieldsLinksInLinearTime) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  const std::string unit =
      std::string("[[NB 1]] Kelvane <a href=\"k\">x</a> ") + kKelvaneField + " guide ";
  const double growth = SixteenfoldGrowth(200, [&](int n) {
    std::string line;
    for (int i = 0; i < n; ++i)
      line += unit;
    const TextString text(line.c_str());
    TextString result;
    return TimeOf([&] { EXPECT_EQ(dictionary.Apply(fc, text, result), 1); });
  }, 5);
  EXPECT_LT(growth, kQuadraticGrowth);
}

TEST_F(LinkDictionaryTest, HelpSourceGetsHelpMacroLinks) {
  fc.Bool(PolicyId::MakeWindowsHelpSourceFile).value = 1;
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Apply("Kelvane", 1),
            "{\\ul\\cf2 Kelvane}{\\v *!EF(`http://www.kelvane.com/}{\\v\\cf1 ',}{\\v `',1,`')}");
}

// Entries added, updated or removed after the first application take effect on the next one:
// no phrase stays unlinked, and no link keeps an old address or outlives its entry.
TEST_F(LinkDictionaryTest, ChangesAfterTheFirstApplicationTakeEffect) {
  ASSERT_EQ(Define("Kelvane", "Kelvane", "http://www.kelvane.com/"), 1);
  EXPECT_EQ(Apply("Kelvane", 1), kKelvaneField);
  ASSERT_EQ(Define("guide", "guide", "http://www.kelvane.com/"), 1);
  EXPECT_NE(Apply("guide", 1).find("HYPERLINK http://www.kelvane.com/ "), std::string::npos);

  ASSERT_EQ(Define("guide", "guide", "http://www.example.com/"), 1);  // an update
  const std::string updated = Apply("guide", 1);
  EXPECT_NE(updated.find("HYPERLINK http://www.example.com/ "), std::string::npos) << updated;
  EXPECT_EQ(updated.find("kelvane"), std::string::npos) << updated;

  ASSERT_EQ(dictionary.Remove(TextString("guide"), TextString("guide"),
                              TextString("http://www.example.com/")),
            1);
  EXPECT_EQ(Apply("guide", 0), "guide");

  // A definition met while a pass runs is linked at once.
  SetPass(0, 0, 1);
  ASSERT_EQ(dictionary.ParseDefinition(
                fc, TextString("Link definition: \"manual\" = \"manual\" + \"http://m.com/\""), 1),
            1);
  EXPECT_NE(Apply("manual", 1), "manual");
}

// ---- Finding, removing, merging ----

TEST_F(LinkDictionaryTest, FindRemoveAddAllAndClearKeepTheCounts) {
  ASSERT_EQ(Define("one", "One", "http://www.kelvane.com/1"), 1);
  ASSERT_EQ(Define("two", "Two", "http://www.kelvane.com/2"), 1);
  ASSERT_EQ(Define("three", "Three", "http://www.kelvane.com/3"), 1);
  EXPECT_EQ(dictionary.Find(TextString("TWO"), TextString("Two"),
                            TextString("http://www.kelvane.com/2")),
            1);
  EXPECT_EQ(dictionary.Find(TextString("two"), TextString("two"),
                            TextString("http://www.kelvane.com/2")),
            -1);
  EXPECT_EQ(dictionary.Remove(TextString("two"), TextString("Two"),
                              TextString("http://www.kelvane.com/2")),
            1);
  EXPECT_EQ(dictionary.RemoveAt(5), 0);
  EXPECT_EQ(dictionary.RemoveAt(-1), 0);
  ASSERT_EQ(dictionary.GetCount(), 2);
  EXPECT_EQ(Str(dictionary.pGetEntry(1)->match), "three");
  EXPECT_EQ(dictionary.GetActiveCount(), 2);

  LinkDictionary other;
  ASSERT_EQ(other.AddOrUpdate(fc, TextString("ONE"), TextString("First"),
                              TextString("http://www.kelvane.com/first"), TextString(), -1, -1),
            1);
  ASSERT_EQ(other.AddOrUpdate(fc, TextString("four"), TextString("Four"),
                              TextString("http://www.kelvane.com/4"), TextString(), -1, -1),
            1);
  dictionary.AddAll(fc, other);
  ASSERT_EQ(dictionary.GetCount(), 3);
  EXPECT_EQ(Str(dictionary.pGetEntry(0)->replacement), "First");
  EXPECT_EQ(Str(dictionary.pGetEntry(2)->match), "four");

  dictionary.Clear();
  EXPECT_EQ(dictionary.GetCount(), 0);
  EXPECT_EQ(dictionary.GetActiveCount(), 0);
  EXPECT_EQ(Apply("four", 1), "four");
}

}  // namespace
