#include "rtf/RtfPrologue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Context.h"
#include "platform/LocalTime.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "text/CharacterUtils.h"
#include "text/FontSpec.h"
#include "text/StringList.h"

namespace {

using Lines = std::vector<std::string>;

// A document opened as the output pass opens it, its lines in memory.
struct PrologueRun {
  PrologueRun() : ctx(2, kOutputRtf), rtf(ctx) {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback([this](const char* t) { messages.emplace_back(t); });
    rtf.SetSink(&written);
  }
  // Opens the document and writes out its prologue.
  void Open() {
    ctx.RtfPass = 1;
    rtf.SetBraceTracking(1);
    ctx.Styles.PrepareForOutput(fc);
    ASSERT_EQ(rtf.Open("doc", fc, 0), 1);
    ASSERT_EQ(rtf.FlushBuffer(fc, &rtf, 0), 1);
    for (int i = 0; i < written.GetCount(); ++i)
      lines.emplace_back(written.GetItem(i)->text.GetText());
  }
  // The lines from the first that equals first up to and including the first that equals
  // last after it; empty when there is none.
  Lines Between(const std::string& first, const std::string& last) const {
    const auto from = std::find(lines.begin(), lines.end(), first);
    if (from == lines.end())
      return {};
    const auto to = std::find(from, lines.end(), last);
    if (to == lines.end())
      return {};
    return Lines(from, to + 1);
  }
  bool Has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  void Set(PolicyId id, const char* value) {
    fc.Text(id).value.Assign(value);
    fc.Text(id).set = 1;
  }
  void SetBool(PolicyId id, int value) {
    fc.Bool(id).value = value;
    fc.Bool(id).set = 1;
  }

  Context ctx;
  FileControl fc;
  RTFFile rtf;
  StringList written;
  Lines lines;
  Lines messages;
};

std::string CreationTime(const LocalDateTime& t) {
  return "{\\creatim\\yr" + std::to_string(t.year) + "\\mo" + std::to_string(t.month) + "\\dy" +
         std::to_string(t.day) + "\\hr" + std::to_string(t.hour) + "\\min" +
         std::to_string(t.minute) + "}";
}

std::string DateText(const LocalDateTime& t) {
  TextString date;
  FormatDate(t, date);
  return date.GetText();
}

std::string Str(const TextString& text) { return text.GetText(); }

}  // namespace

TEST(RtfPrologue, PiecesOfADocumentWithDefaultPolicies) {
  PrologueRun run;
  const LocalDateTime before = CurrentLocalTime();
  run.Open();
  const LocalDateTime after = CurrentLocalTime();
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "{\\rtf1\\ansi\\ansicpg1252\\uc1");
  EXPECT_EQ(run.lines[1], "\\deff100\\deflang1033\\deflangfe1033");
  EXPECT_EQ(Lines(run.lines.begin() + 2, run.lines.begin() + 8),
            (Lines{"{\\fonttbl", "{\\f1\\froman\\fcharset2\\fprq2 Symbol;}",
                   "{\\f2\\fmodern Courier New;}",
                   "{\\f4\\froman\\fcharset0\\fprq2 Times New Roman;}",
                   "{\\f5\\fswiss\\fcharset0\\fprq2 Arial;}",
                   "{\\f100\\froman\\fprq2\\fcharset0 Times New Roman;}"}));
  EXPECT_TRUE(run.Has("{\\f105\\fmodern\\fprq1\\fcharset0 Courier New;}"));
  EXPECT_EQ(run.Between("{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;",
                        "\\red128\\green128\\blue128;\\red192\\green192\\blue192;}")
                .size(),
            8u);
  const Lines styles = run.Between("{\\stylesheet{\\widctlpar \\f4\\fs20\\lang1033 \\snext0 Normal;}", "}");
  ASSERT_EQ(styles.size(), 1u + 25u + 3u + 1u);
  // RTF output is justified unless a policy says otherwise.
  EXPECT_EQ(styles[2], "{\\s1\\sb60\\sa60\\widctlpar \\f101\\fs20\\kerning28\\qj \\sbasedon0 Body;}");
  // Heading 1-6 carry outline levels 0-5, so readers list them as the document's outline.
  EXPECT_EQ(styles[13],
            "{\\s61\\sb240\\sa120\\outlinelevel0\\keepn\\widctlpar \\b\\f161\\fs28\\kerning28 "
            "\\sbasedon6 Heading 1;}");
  EXPECT_EQ(styles[18],
            "{\\s66\\sb180\\sa60\\outlinelevel5\\keepn\\widctlpar \\b\\i\\f166\\fs20\\kerning28 "
            "\\sbasedon6 Heading 6;}");
  EXPECT_EQ(styles[12], "{\\s6\\sb240\\sa120\\widctlpar \\b\\f106\\fs20\\kerning28 \\sbasedon0 All Headings;}");
  EXPECT_EQ(styles[25], "{\\s76\\li1000\\widctlpar \\f176\\fs18\\kerning28 \\sbasedon7 TOC 6;}");
  EXPECT_EQ(styles[26], "{\\*\\cs10 \\additive Default Paragraph Font;}");

  const Lines info = run.Between("{\\info", "}");
  ASSERT_EQ(info.size(), 7u);
  // The default title's tags are executed: the output file's name, the date, the program.
  const std::string title = "{\\title Converted from \"" +
                            Str(run.ctx.GetDocInfo(DocInfo::OutputFileName)) + "\" on ";
  const std::string by = " by " + Str(run.fc.GetVersionText()) + "}";
  EXPECT_TRUE(info[1] == title + DateText(before) + by || info[1] == title + DateText(after) + by)
      << info[1];
  EXPECT_EQ(info[2], "{\\author Norvane limited's text-to-RTF converter}");
  EXPECT_EQ(info[3], "{\\operator Kelvane auto-convert}");
  EXPECT_TRUE(info[4] == CreationTime(before) || info[4] == CreationTime(after)) << info[4];
  EXPECT_EQ(info[5], "{\\version1}{\\edmins0}{\\nofpages1}");

  EXPECT_EQ(run.Between("\\paperw11906\\paperh16838\\margl1800\\margr1800\\margt1440\\margb1440\\gutter0",
                        "\\linex0\\headery709\\footery709\\colsx709\\endnhere"),
            (Lines{"\\paperw11906\\paperh16838\\margl1800\\margr1800\\margt1440\\margb1440\\gutter0",
                   "\\widowctrl\\ftnbj\\aenddoc\\formshade", "\\fet0\\sectd",
                   "\\linex0\\headery709\\footery709\\colsx709\\endnhere"}));
  const Lines levels = run.Between("{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}",
                                   "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}");
  EXPECT_EQ(levels.size(), 9u);
  // The first body paragraph is open: the document and its two groups wait for the end.
  EXPECT_EQ(run.lines.back().rfind("{\\pard", 0), 0u) << run.lines.back();
  EXPECT_EQ(run.lines.back().back(), '{');
  EXPECT_EQ(run.rtf.GetBraceLevel(), 3);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
  EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
  EXPECT_TRUE(run.messages.empty());
}

TEST(RtfPrologue, DocumentInformationFromPolicies) {
  PrologueRun run;
  run.Set(PolicyId::DocumentAuthor, "A. Writer");
  run.Set(PolicyId::DocumentDescription, "described");
  run.Set(PolicyId::DocumentSubject, "the subject");
  run.Set(PolicyId::DocumentComments, "remarks");
  run.Set(PolicyId::DocumentKeywords, "k1, k2");
  run.Set(PolicyId::DocumentCategory, "notes");
  run.Set(PolicyId::DocumentCompanyName, "Firm");
  run.Set(PolicyId::DocumentManager, "Boss");
  run.ctx.TitleTexts[1].Assign("From the text");
  run.Open();
  Lines info = run.Between("{\\info", "}");
  ASSERT_EQ(info.size(), 13u);
  info.erase(info.begin() + 10);  // the creation time
  EXPECT_EQ(info, (Lines{"{\\info", "{\\title From the text}", "{\\author A. Writer}",
                         "{\\operator Kelvane auto-convert}", "{\\subject the subject}",
                         "{\\manager Boss}", "{\\company Firm}", "{\\category notes}",
                         "{\\keywords k1, k2}", "{\\comment remarks}",
                         "{\\version1}{\\edmins0}{\\nofpages1}", "}"}));
}

// The title and the subject have their in-line tags executed before they are escaped; a tag
// that is not known stays as written and is reported.
TEST(RtfPrologue, TitleAndSubjectTagsAreExecuted) {
  const std::string version = Str(PrologueRun().fc.GetVersionText());
  const struct {
    const char* title;
    const char* subject;
    std::string titleLine;
    std::string subjectLine;
    std::string message;
  } cases[] = {
      {"Notes [[VERSION]]", "Under [[RULESET]]", "{\\title Notes " + version + "}",
       "{\\subject Under no Ruleset}", ""},
      {"A [[NB 2]]b {x}", "", "{\\title A   b \\'7bx\\'7d}", "", ""},
      {"[[NOSUCH x]] title", "plain", "{\\title [[NOSUCH x]] title}", "{\\subject plain}",
       "TAG ERROR: Unrecognised tag \"NOSUCH\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    PrologueRun run;
    run.ctx.TitleTexts[0].Assign(c.title);
    if (*c.subject != '\0')
      run.Set(PolicyId::DocumentSubject, c.subject);
    run.Open();
    EXPECT_TRUE(run.Has(c.titleLine));
    if (!c.subjectLine.empty()) {
      EXPECT_TRUE(run.Has(c.subjectLine));
    }
    if (c.message.empty()) {
      EXPECT_TRUE(run.messages.empty()) << run.messages.front();
    } else {
      ASSERT_EQ(run.messages.size(), 1u);
      EXPECT_NE(run.messages[0].find(c.message), std::string::npos) << run.messages[0];
    }
  }
}

// Nothing a user writes into a policy, a title or a font name can open or close a group of
// the header.
TEST(RtfPrologue, UserTextCannotUnbalanceTheHeader) {
  const char* const kHostile[] = {"}}}", "{\\rtf1 {", "\\", "a\\\\}b", "\\'7d}", "x\\}y"};
  for (const char* text : kHostile) {
    SCOPED_TRACE(text);
    PrologueRun run;
    run.ctx.TitleTexts[0].Assign(text);
    for (PolicyId id : {PolicyId::DocumentAuthor, PolicyId::DocumentSubject,
                        PolicyId::DocumentKeywords, PolicyId::DocumentManager})
      run.Set(id, text);
    FontSpec user;
    user.SetFace(TextString(text));
    user.SetSecondName(TextString("hostile"));
    ASSERT_TRUE(run.ctx.Styles.AddFont(user));
    run.Open();
    EXPECT_EQ(run.rtf.GetBraceLevel(), 3);
    EXPECT_TRUE(run.messages.empty()) << run.messages.front();
    EXPECT_EQ(run.rtf.EndDocument(run.fc), 1);
    EXPECT_EQ(run.rtf.GetBraceLevel(), 0);
    EXPECT_TRUE(run.messages.empty());
  }
  PrologueRun run;
  run.ctx.TitleTexts[0].Assign("a}b{\\c");
  run.Open();
  EXPECT_TRUE(run.Has("{\\title a\\'7db\\'7b\\\\c}"));
}

TEST(RtfPrologue, Utf8TitleIsWrittenAsUnicode) {
  PrologueRun run;
  run.ctx.Utf8Input = 1;
  run.ctx.TitleTexts[0].Assign("Caf\xC3\xA9 \xE2\x82\xAC");
  run.Open();
  EXPECT_TRUE(run.Has("{\\title Caf\\u233\\'e9 \\u8364\\'80}"));
}

TEST(RtfPrologue, JapaneseInput) {
  PrologueRun run;
  run.SetBool(PolicyId::InputFileContainsJapaneseCharacters, 1);
  run.Open();
  EXPECT_EQ(run.lines[0], "{\\rtf1\\ansi");
  EXPECT_TRUE(run.Has("{\\f16\\fmodern\\fcharset128\\fprq1 MS Gothic;}"));
  EXPECT_TRUE(run.Has("{\\f100\\fmodern\\fprq1\\fcharset0 MS Gothic;}"));
  EXPECT_TRUE(run.Has("{\\f161\\fmodern\\fprq1\\fcharset0 MS Gothic;}"));
}

TEST(RtfPrologue, PageSetUpFollowsItsPolicies) {
  PrologueRun run;
  run.fc.List(PolicyId::PaperSize).value = 11;  // Letter
  run.fc.List(PolicyId::PaperSize).set = 1;
  run.SetBool(PolicyId::UseLandscapeMode, 1);
  run.SetBool(PolicyId::MirrorMargins, 1);
  run.Open();
  EXPECT_EQ(run.Between("\\paperw15840\\paperh12240\\margl1800\\margr1800\\margt1440\\margb1440\\gutter0",
                        "\\lndscpsxn\\psz9\\linex0\\headery709\\footery709\\colsx709\\endnhere"),
            (Lines{"\\paperw15840\\paperh12240\\margl1800\\margr1800\\margt1440\\margb1440\\gutter0",
                   "\\widowctrl\\ftnbj\\aenddoc\\margmirror\\formshade", "\\fet0\\sectd",
                   "\\lndscpsxn\\psz9\\linex0\\headery709\\footery709\\colsx709\\endnhere"}));
}

TEST(WriteCharsetFont, FamilyCharsetAndFaceByEncoding) {
  struct Case {
    const char* encoding;
    const char* face;
    int fixedPitch;
    int sansSerif;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {"", "Times New Roman", 0, 0, "{\\f7\\froman\\fprq2\\fcharset0 Times New Roman;}"},
      {"", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset0 Arial;}"},
      {"", "Courier New", 1, 0, "{\\f7\\fmodern\\fprq1\\fcharset0 Courier New;}"},
      {"windows-1251", "Times New Roman,Serif", 0, 0,
       "{\\f7\\froman\\fprq2\\fcharset204 Times New Roman;}"},
      {" KOI8-R  extra", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset204 Arial;}"},
      {"windows-1253", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset161 Arial;}"},
      {"iso-8859-9", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset162 Arial;}"},
      {"iso-8859-8", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset177 Arial;}"},
      {"iso-8859-4", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset238 Arial;}"},
      {"windows-1256", "Courier New", 1, 0, "{\\f7\\fbidi \\fmodern\\fprq1\\fcharset178 Courier New;}"},
      {"ar-sy", "Times", 0, 0, "{\\f7\\fbidi \\froman\\fprq2\\fcharset178 Times;}"},
      {"ar-sy", "Arial", 0, 1, "{\\f7\\fbidi \\fswiss\\fprq2\\fcharset178 Arial;}"},
      {"big5", "Arial", 0, 1, "{\\f7\\fmodern\\fprq1\\fcharset136 MingLiU;}"},
      {"gb2312", "Arial", 0, 1, "{\\f7\\fmodern\\fprq1\\fcharset134 MS Hei{\\*\\falt SimSun};}"},
      {"iso-2022-kr", "Arial", 0, 1, "{\\f7\\fmodern\\fprq1\\fcharset129 GulimChe;}"},
      {"iso-2022-jp", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset128 MS Gothic;}"},
      {"shift_jis", "Arial", 0, 1, "{\\f7\\fswiss\\fprq2\\fcharset128 Arial;}"},
      {"tis-620", "Arial", 1, 0, "{\\f7\\fswiss\\fprq2\\fcharset222 Tahoma;}"},
      // a face from the user is escaped, its ";" too
      {"", "Odd;{Face}\\", 0, 0, "{\\f7\\froman\\fprq2\\fcharset0 Odd\\'3b\\'7bFace\\'7d\\\\;}"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.encoding) + " / " + c.face);
    PrologueRun run;
    run.fc.Text(PolicyId::CharacterEncoding).value.Assign(c.encoding);
    ASSERT_TRUE(run.rtf.OpenForWrite("fonts", 0, 0));
    FontSpec font;
    font.SetFace(TextString(c.face));
    font.SetStyleCode(7);
    font.SetSansSerif(c.sansSerif);
    if (c.fixedPitch)
      font.SetPitch(0);
    WriteCharsetFont(run.fc, run.rtf, font);
    ASSERT_EQ(run.written.GetCount(), 1);
    EXPECT_STREQ(run.written.GetItem(0)->text.GetText(), c.expected);
  }
}
