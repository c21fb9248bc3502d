#include "rtf/HelpFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analysis/HeadingRegistration.h"
#include "engine/Context.h"
#include "engine/TagList.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "rtf/RTFFile.h"
#include "rtf/RtfTestSetup.h"
#include "support/TestFiles.h"
#include "analysis/TagServices.h"
#include "text/StatementTypes.h"
#include "text/StringList.h"
#include "text/TextPosition.h"

namespace {

// A document's headings and help tags, its RTF collected in memory, and a folder for the
// help files.
class HelpFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s.fc.Int(PolicyId::ErrorReportingLevel).value = 10;
    s.ctx.GetLogErrorHandler().SetLevel(10);
  }

  void AddHeading(int type, const char* text, int line) {
    const TextString none;
    RegisterHeading(s.ctx, s.fc, type, text, text, text, TextPosition(0, line), none, none, none);
  }
  // A tag as the preprocessor records it: its arguments, as the directive leaves them after
  // its keyword, normalised.
  void AddTag(const char* name, const char* arguments, int line) {
    TextString value(" ");
    value.Append(arguments);
    ASSERT_TRUE(ParseTagArguments(s.fc, value, nullptr));
    (void)s.ctx.Tags.Add(s.fc, name, value, 0, TextPosition(0, line), 1);
  }
  void SetHelpPolicy(int id, const char* text) {
    (void)s.fc.GetPolicyList().GetSection(kRtfHelpFilesSection).SetText(id, text, 1);
  }
  void HelpSourceOn() { s.Set("Make Windows Help source file: Yes"); }

  // Opens the in-memory document: what follows its prologue is what Written returns.
  void OpenDocument() {
    s.ctx.Styles.PrepareForOutput(s.fc);
    s.ctx.RtfPass = 1;
    rtf.SetSink(&lines);
    ASSERT_EQ(rtf.Open("doc", s.fc, 0), 1);
    ASSERT_EQ(rtf.FlushBuffer(s.fc, &rtf, 0), 1);
    firstLine = lines.GetCount();
  }
  std::string Written() {
    EXPECT_EQ(rtf.FlushBuffer(s.fc, &rtf, 0), 1);
    std::string text;
    for (int i = firstLine; i < lines.GetCount(); ++i) {
      text += lines.GetItem(i)->text.GetText();
      text += '\n';
    }
    firstLine = lines.GetCount();
    return text;
  }

  RtfSetup s;
  RTFFile rtf{s.ctx};
  StringList lines;
  int firstLine = 0;
  TempFolder folder{"help"};
};

std::string Footnote(const std::string& mark, const std::string& inner, const std::string& text) {
  return "{\\cs33 \\fs16\\up6 " + mark + "}{\\footnote \\pard\\plain \\nowidctlpar\\adjustright {" +
         inner + "}\n {" + text + "}}\n";
}

// ---- Project file ----

const char kProjectStart[] =
    "; This file was created by Kelvane and should probably be\n"
    "; maintained by HCW. Do not modify this file directly.\n"
    "\n"
    "[OPTIONS]\n"
    "COMPRESS=12 Hall Zeck\n"
    "LCID=0x809 0x0 0x0 ; English (United Kingdom)\n"
    "REPORT=Yes\n"
    "TITLE=guide Help File\n";
const char kProjectMiddle[] =
    "DEFFONT=Arial,8,0\n"
    "BMROOT=..\n"
    "BMROOT=.\n"
    "ROOT=..\n"
    "ROOT=.\n"
    "HLP=guide.hlp\n"
    "\n"
    "[FILES]\n"
    "guide.rtf\n"
    "\n"
    "[ALIAS]\n"
    "HID_HT_HSCROLL = scrollbars\n"
    "HID_HT_MAXBUTTON = HID_SC_MAXIMIZE\n"
    "HID_HT_MINBUTTON = HID_SC_MINIMIZE\n"
    "HID_HT_SIZE = HID_SC_SIZE\n"
    "HID_HT_VSCROLL = scrollbars\n"
    "\n"
    "[MAP]\n";
const char kProjectEnd[] =
    "\n"
    "[CONFIG]\n"
    "BrowseButtons()\n";

TEST_F(HelpFilesTest, ProjectFileLiesBesideTheRtfAndNamesIt) {
  const struct {
    const char* name;
    const char* copyright;  // null: the default
    const char* citation;
    const char* resourceFile;
    const char* titleColour;
    const char* bodyColour;
    std::string notices;
    std::string map;
    std::string window;
  } cases[] = {
      {"the defaults", nullptr, nullptr, nullptr, nullptr, nullptr,
       "COPYRIGHT=This help file was generated from a plain-text document.\n"
       "CITATION=Taken from a help file generated from a plain-text document.\n",
       "",
       "main=\"guide Help\",(350,32,649,948),60672,(r16777184),(r12632256),f2\n"},
      {"no copyright, a citation, a resource file, an empty body colour", "", "Cite it.",
       "guide.h", "#000080", "",
       "CITATION=Cite it.\n",
       "#include <guide.h>\n",
       "main=\"guide Help\",(350,32,649,948),60672,(r16777215),(r128),f2\n"},
      {"no notices, a named colour", "", "", "", "Red", "Black",
       "", "",
       "main=\"guide Help\",(350,32,649,948),60672,(r0),(r16711680),f2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.fc.ResetPolicies(0);
    if (c.copyright != nullptr) {
      SetHelpPolicy(212, c.copyright);
      SetHelpPolicy(213, c.citation);
      SetHelpPolicy(211, c.resourceFile);
      SetHelpPolicy(214, c.titleColour);
      SetHelpPolicy(215, c.bodyColour);
    }
    EXPECT_EQ(WriteHelpProjectFile(s.fc, folder.File("guide.rtf").c_str()), 1);
    EXPECT_EQ(ReadBytes(folder.File("guide.hpj")),
              kProjectStart + c.notices + kProjectMiddle + c.map + "\n[WINDOWS]\n" + c.window +
                  kProjectEnd);
  }
  EXPECT_TRUE(s.messages.empty());
}

TEST_F(HelpFilesTest, HelpFilesThatCannotBeOpenedAreReported) {
  const std::string rtfName = folder.File("missing/guide.rtf");
  EXPECT_EQ(WriteHelpProjectFile(s.fc, rtfName.c_str()), 0);
  EXPECT_EQ(WriteHelpContentsFile(s.fc, rtfName.c_str()), 0);
  ASSERT_EQ(s.messages.size(), 2u);
  EXPECT_EQ(s.messages[0], "ERROR: Can't open file \"" + folder.File("missing/guide.hpj") + "\"");
  EXPECT_EQ(s.messages[1], "ERROR: Can't open file \"" + folder.File("missing/guide.cnt") + "\"");
}

// ---- Contents file ----

TEST_F(HelpFilesTest, HeadingsWithDeeperOnesAfterThemBecomeChapters) {
  // The top level of the document is 2: its headings are the first level of the contents.
  AddHeading(kTypeUnderlinedHeading2, "Overview", 1);
  AddHeading(kTypeUnderlinedHeading3, "Parts, and \"more\"", 5);
  AddHeading(kTypeUnderlinedHeading3, "Care", 9);
  AddHeading(kTypeUnderlinedHeading2, "Contact", 13);
  AddHeading(kTypeUnderlinedHeading2, "End", 17);
  EXPECT_EQ(WriteHelpContentsFile(s.fc, folder.File("guide.rtf").c_str()), 1);
  EXPECT_EQ(ReadBytes(folder.File("guide.cnt")),
            ":Base guide.HLP\n"
            ":Title Contents for guide\n"
            "1 Overview\n"
            "2 \"Parts, and \"\"more\"\"\"=ID_Parts__and__more_\n"
            "2 Care=ID_Care\n"
            "1 Contact\n"
            "1 End=ID_End\n");
  EXPECT_TRUE(s.messages.empty());
}

TEST_F(HelpFilesTest, UserChaptersAndSubjectsStandAmongTheHeadings) {
  AddHeading(kTypeUnderlinedHeading1, "Overview", 2);
  AddHeading(kTypeUnderlinedHeading2, "Care", 6);
  AddTag("HELP_SUBJECT", "2, Tips, Handy tips", 4);
  AddTag("HELP_CHAPTER", "1, Getting started", 1);
  AddTag("HELP_TOPIC_ID", "elsewhere", 3);
  EXPECT_EQ(WriteHelpContentsFile(s.fc, folder.File("guide.rtf").c_str()), 1);
  EXPECT_EQ(ReadBytes(folder.File("guide.cnt")),
            ":Base guide.HLP\n"
            ":Title Contents for guide\n"
            "1 Getting started\n"
            "1 Overview=ID_Overview\n"
            "2 Tips=ID_Handy_tips\n"
            "2 Care=ID_Care\n");
}

// ---- Heading footnotes ----

TEST_F(HelpFilesTest, AHeadingIsMarkedByItsBookmarkOnce) {
  AddHeading(kTypeUnderlinedHeading1, "Introduction", 1);
  AddHeading(kTypeHeading1, "2 Second part", 5);
  OpenDocument();
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 1), "Introduction");
  EXPECT_EQ(Written(), "{\\*\\bkmkstart Introduction}\n{\\*\\bkmkend Introduction}\n");
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 1), "Introduction");
  EXPECT_EQ(Written(), "");
  // A numbered heading is named by its section number.
  WriteHeadingFootnotes(s.fc, rtf, kTypeHeading1, TextPosition(0, 5), "2 Second part");
  EXPECT_EQ(Written(), "{\\*\\bkmkstart Section_2}\n{\\*\\bkmkend Section_2}\n");
  EXPECT_TRUE(s.messages.empty());
}

TEST_F(HelpFilesTest, AnUnknownHeadingIsReportedAndNamedByItsText) {
  OpenDocument();
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 3), "Stray  {title}");
  EXPECT_EQ(Written(), "{\\*\\bkmkstart Stray__title_}\n{\\*\\bkmkend Stray__title_}\n");
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0], "WARNING: Failed to match heading with known entry \"Stray _title_\"");
}

TEST_F(HelpFilesTest, HelpTopicsGetTitleKeywordsAndBrowseFootnotes) {
  HelpSourceOn();
  AddHeading(kTypeUnderlinedHeading1, "Overview", 1);
  AddHeading(kTypeUnderlinedHeading1, "Care", 5);
  AddHeading(kTypeUnderlinedHeading1, "End", 9);
  AddTag("HELP_TOPIC_KEYWORDS", "widgets, parts", 2);
  AddTag("HELP_TOPIC_KEYWORDS", "repair {kit}", 6);
  OpenDocument();
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 1), "Overview");
  EXPECT_EQ(Written(), "{\\*\\bkmkstart Overview}\n" + Footnote("$", "$ ", "Overview") +
                           Footnote("K", "K ", "widgets") + Footnote("K", "K ", "parts") +
                           "{\\cs33 \\fs16\\up6 +}{\\footnote topics:1000}\n"
                           "{\\*\\bkmkend Overview}\n");
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 5), "Care");
  const std::string care = Written();
  // A brace of the user's keyword is escaped: the document stays balanced.
  EXPECT_NE(care.find(Footnote("K", "K ", "repair \\'7bkit\\'7d")), std::string::npos) << care;
  EXPECT_NE(care.find("topics:1001}"), std::string::npos) << care;
  // Without keyword tags the title is the keyword.
  WriteHeadingFootnotes(s.fc, rtf, kTypeUnderlinedHeading1, TextPosition(0, 9), "End");
  const std::string end = Written();
  EXPECT_NE(end.find(Footnote("K", "K ", "End")), std::string::npos) << end;
  EXPECT_NE(end.find("topics:1002}"), std::string::npos) << end;
  EXPECT_TRUE(s.messages.empty());
}

TEST_F(HelpFilesTest, TopicIdentifiersOfAHelpTopic) {
  AddHeading(kTypeUnderlinedHeading1, "Overview", 1);
  AddHeading(kTypeUnderlinedHeading1, "Care", 5);
  AddTag("HELP_TOPIC_ID", "overview_alias}", 2);
  AddTag("HELP_TOPIC_ID", "care_alias", 6);
  (void)s.ctx.Tags.Add(s.fc, "HELP_TOPIC_ID", "", 0, TextPosition(0, 3), 1);

  TextString out("text");
  WriteTopicIdFootnotes(s.fc, out, kTypeUnderlinedHeading1, "Overview", TextPosition(0, 1));
  EXPECT_EQ(Str(out), "text");

  HelpSourceOn();
  WriteTopicIdFootnotes(s.fc, out, kTypeUnderlinedHeading1, "Overview", TextPosition(0, 1));
  EXPECT_EQ(Str(out), "text" + Footnote("#", "# ", "ID_Overview") +
                          Footnote("#", "#", "overview_alias\\'7d"));
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0], "TAG ERROR: Pailed to parse HELP_TOPIC_ID tag");
}

}  // namespace
