#include "structure/StructureEvaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A paginated document in the corpus's layout: a centred title, a contents list that crosses
// a page break (footer, form feed, running header) with an entry run over two lines, then the
// body with its numbered, lettered and unnumbered headings among lines that only look so.
constexpr const char kDocument[] =
    "Network Working Group                                          A. Writer\r\n"  // 1
    "\r\n"
    "                    A Protocol for Testing Structure\r\n"                       // 3
    "\r\n"
    "Table of Contents\r\n"                                                          // 5
    "\r\n"
    "   1.  Introduction ................................................ 2\r\n"    // 7
    "     1.1.  Scope ................................................... 2\r\n"    // 8
    "\r\n"
    "Writer                       Informational                     [Page 1]\r\n"  // 10
    "\f\r\n"
    "RFC 9999                     Structure                     January 2000\r\n"  // 12
    "\r\n"
    "   2.  A Title Long Enough to Run Over Two Lines of the Contents\r\n"          // 14
    "       List of This Document ........................................ 3\r\n"  // 15
    "   Appendix A.  Examples ............................................. 4\r\n"  // 16
    "   Appendix B.  Tables\r\n"                                                     // 17
    "                                                                     5\r\n"
    "\r\n"
    "1.  Introduction\r\n"                                                           // 20
    "\r\n"
    "   The text of the introduction goes on for a while\r\n"
    "1995 Numbers at the start of a line after prose\r\n"                           // 23
    "\r\n"
    "1.1.  Scope\r\n"                                                                // 25
    "\r\n"
    "1.  CLOSED      LISTEN\r\n"                                                     // 27
    "\r\n"
    "1.0    Overview\r\n"                                                            // 29
    "\r\n"
    "2.3.1 http URL\r\n"                                                             // 31
    "\r\n"
    "3.1 lower case title followed by prose\r\n"                                     // 33
    "   on the next line.\r\n"
    "\r\n"
    "Abstract\r\n"                                                                   // 36
    "\r\n"
    "J. Writer\r\n"                                                                  // 38
    "   Example Street 1\r\n"
    "\r\n"
    "Appendix A.  Examples\r\n"                                                      // 41
    "\r\n"
    "A.1.  A Simple Example\r\n"                                                     // 43
    "\r\n"
    "      4.2.  Indented Heading\r\n"                                               // 45
    "\r\n"
    "5.1. The contents of queries          Queries\r\n"                              // 47
    "reverse the mappings.\r\n"
    "\r\n"
    "  3.  ESTABLISHED <-- <SEQ=300><CTL=SYN>  <-- SYN-RECEIVED\r\n"
    "\r\n"
    "                       <SEQ=0><ACK=SEG.SEQ><CTL=RST>\r\n"
    "\r\n"
    "1.2.3.4.5.6.7 Seventh Level\r\n"                                                // 54
    "\r\n"
    "   The count byte holds values from 0...254\r\n"
    "\r\n"
    "     2.4.  *RULE:  REPETITION\r\n"
    "\r\n"
    "   Content Types and Subtypes\r\n"
    "   --------------------------\r\n"
    "\r\n"
    "    LISTEN STATE\r\n"
    "\r\n"
    "      If active and the foreign socket is specified, then change the\r\n"
    "\r\n"
    "   The following information is provided:\r\n"
    "\r\n"
    "        Local Connection Name                    Always\r\n"
    "\r\n"
    "   A line alone over text set no further in\r\n"
    "\r\n"
    "   than the line itself.\r\n";

TEST(ReadInputStructure, FindsNumberedSectionsOutsideTheContentsList) {
  const InputStructure s = ReadInputStructure(kDocument);
  struct Expected {
    int line;
    int level;
    const char* text;
  };
  const Expected expected[] = {
      {20, 1, "1.  Introduction"},      {25, 2, "1.1.  Scope"},
      {29, 1, "1.0    Overview"},          {31, 3, "2.3.1 http URL"},
      {41, 1, "Appendix A.  Examples"}, {43, 2, "A.1.  A Simple Example"},
      {47, 2, "5.1. The contents of queries"}, {54, 7, "1.2.3.4.5.6.7 Seventh Level"},
  };
  ASSERT_EQ(s.headings.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].text);
    EXPECT_EQ(s.headings[i].line, expected[i].line);
    EXPECT_EQ(s.headings[i].level, expected[i].level);
    EXPECT_EQ(s.headings[i].text, expected[i].text);
  }
}

TEST(ReadInputStructure, ReadsTheContentsListAcrossAPageBreak) {
  const InputStructure s = ReadInputStructure(kDocument);
  struct Expected {
    int line;
    const char* key;
    const char* pageKey;
  };
  const Expected expected[] = {
      {7, "1 introduction", "2"},
      {8, "1 1 scope", "2"},
      {14, "2 a title long enough to run over two lines of the contents", ""},
      {16, "appendix a examples", "4"},
      {17, "appendix b tables", ""},
  };
  ASSERT_EQ(s.contents.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].key);
    EXPECT_EQ(s.contents[i].line, expected[i].line);
    EXPECT_EQ(s.contents[i].key, expected[i].key);
    EXPECT_EQ(s.contents[i].pageKey, expected[i].pageKey);
  }
}

TEST(ReadInputStructure, KnowsOtherHeadingsOfTheInput) {
  const InputStructure s = ReadInputStructure(kDocument);
  auto has = [&](const std::string& key) {
    for (const std::string& k : s.headingLikeKeys) {
      if (k == key)
        return true;
    }
    return false;
  };
  EXPECT_TRUE(has("abstract"));
  EXPECT_TRUE(has("a protocol for testing structure"));
  EXPECT_TRUE(has("4 2 indented heading"));
  EXPECT_TRUE(has("2 4 rule repetition"));
  EXPECT_TRUE(has("content types and subtypes"));
  EXPECT_TRUE(has("table of contents"));
  EXPECT_TRUE(has("listen state"));
  EXPECT_FALSE(has("the following information is provided"));
  EXPECT_FALSE(has("a line alone over text set no further in"));
  EXPECT_FALSE(has("1 closed listen"));
  EXPECT_FALSE(has("3 established seq 300 ctl syn syn received"));
  EXPECT_FALSE(has("seq 0 ack seg seq ctl rst"));
  EXPECT_FALSE(has("rfc 9999 structure january 2000"));
  EXPECT_FALSE(has("1 introduction 2"));
}

// A flat OpenDocument body as LibreOffice writes it: a heading with an outline level, a
// paragraph of an automatic style derived from a heading style, blanks as elements, entities,
// a line break, a table cell.
constexpr const char kFodt[] =
    "<office:document><office:automatic-styles>"
    "<style:style style:name=\"P3\" style:family=\"paragraph\" "
    "style:parent-style-name=\"Heading_20_4\"></style:style>"
    "<style:style style:name=\"P4\" style:family=\"paragraph\" "
    "style:parent-style-name=\"Body\"></style:style>"
    "</office:automatic-styles><office:body><office:text>"
    "<text:h text:style-name=\"Heading_20_2\" text:outline-level=\"2\">1.1 <text:span "
    "text:style-name=\"T1\">Purpose</text:span></text:h>"
    "<text:p text:style-name=\"P3\">1.1.1.1<text:s text:c=\"2\"/>Deep &amp; Low</text:p>"
    "<text:p text:style-name=\"P4\">1 Introduction 7<text:line-break/>1.1 Purpose 7</text:p>"
    "<table:table><table:table-row><table:table-cell><text:p text:style-name=\"P4\">"
    "cell</text:p></table:table-cell></table:table-row></table:table>"
    "<text:p text:style-name=\"P4\"/>"
    "</office:text></office:body></office:document>";

TEST(ReadOutputParagraphs, ReadsHeadingLevelsTextsAndLineBreaks) {
  const std::vector<OutputParagraph> p = ReadOutputParagraphs(kFodt);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0].key, "1 1 purpose");
  EXPECT_EQ(p[0].outlineLevel, 2);
  EXPECT_EQ(p[0].styleLevel, 2);
  EXPECT_EQ(p[1].key, "1 1 1 1 deep low");
  EXPECT_EQ(p[1].outlineLevel, 0);
  EXPECT_EQ(p[1].Level(), 4);
  EXPECT_EQ(p[2].key, "1 introduction 7 1 1 purpose 7");
  EXPECT_FALSE(p[2].IsHeading());
  EXPECT_EQ(p[2].lineStarts, std::vector<std::size_t>{17});
  EXPECT_EQ(p[3].key, "cell");
  EXPECT_EQ(p[4].key, "");
}

OutputParagraph Paragraph(const std::string& key, int level) {
  OutputParagraph p;
  p.key = key;
  p.styleLevel = level;
  p.outlineLevel = level;
  return p;
}

TEST(ScoreStructure, CountsFoundMissingWrongOtherAndFalseHeadings) {
  const InputStructure input = ReadInputStructure(kDocument);
  const std::vector<OutputParagraph> output = {
      Paragraph("a protocol for testing structure", 1),       // other: the centred title
      Paragraph("1 introduction 2", 1),                       // false: a contents entry
      Paragraph("1 1 scope 2 2 a title long enough", 0),      // contents merged
      Paragraph("1 introduction", 1),                         // found
      Paragraph("1 1 scope", 3),                              // wrong level
      Paragraph("1 closed listen", 2),                        // false: a table row
      Paragraph("2 3 1 http url", 3),                         // found
      Paragraph("abstract", 1),                               // other
      Paragraph("appendix a examples", 1),                    // found
      Paragraph("a 1 a simple example followed by prose", 2), // found
      Paragraph("1 2 3 4 5 6 7 seventh level", 6),            // found: no level is deeper
  };
  const StructureScore s = ScoreStructure(input, output);
  EXPECT_EQ(s.references, 8);
  EXPECT_EQ(s.foundAtLevel, 5);
  EXPECT_EQ(s.wrongLevel, 1);
  EXPECT_EQ(s.missing, 2);  // 1.0 Overview, 5.1
  EXPECT_EQ(s.headingParagraphs, 10);
  EXPECT_EQ(s.otherHeadings, 2);
  EXPECT_EQ(s.falseHeadings, 2);
  EXPECT_EQ(s.contentsEntries, 5);
  // "1 Introduction 2" begins a paragraph, "1.1 Scope 2" too; the long entry is merged into
  // the one before it and the appendices are nowhere.
  EXPECT_EQ(s.contentsOnOwnLine, 2);
}

}  // namespace
