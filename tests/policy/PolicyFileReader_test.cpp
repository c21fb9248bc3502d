#include "policy/PolicyFileReader.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "policy/LinkDictionary.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/BoundedRun.h"
#include "support/Growth.h"
#include "text/StatementFile.h"

namespace fs = std::filesystem;

namespace {

std::string TempPath(const std::string& name) { return ::TempPath("polfile", name); }

constexpr int kKelvane = 2;

// A policy set attached to a Context whose handler collects every message shown.
class PolicyReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { messages.emplace_back(text); });
  }

  int Load(const char* text, int& category, int repeatCheck = 0) {
    TextString line(text);
    return fc.LoadPolicyLine(line, category, repeatCheck);
  }
  int Load(const char* text) {
    int category = -1;
    return Load(text, category);
  }

  static std::string Fixture(const char* name) {
    return std::string(KELVANE_FIXTURES_DIR) + "/policy/" + name;
  }
  // Reads a fixture file; the result of the read.
  int Read(const std::string& path, TextString* error = nullptr) {
    StatementFile file;
    EXPECT_TRUE(file.OpenForRead(path.c_str(), 0)) << path;
    const int result = fc.ReadPolicyFile(file, error, 0);
    file.CloseAll();
    return result;
  }

  bool Saw(const std::string& text) const {
    for (const std::string& m : messages)
      if (m == text) return true;
    return false;
  }
  std::string AllMessages() const {
    std::string all;
    for (const std::string& m : messages) all += m + "\n";
    return all;
  }

  Context ctx{kKelvane, kOutputRtf};
  FileControl fc;
  std::vector<std::string> messages;
};

// ---- LoadPolicyLine ----

struct LineCase {
  const char* line;
  int result;
  int category;
};

TEST_F(PolicyReaderTest, ResultsAndCategories) {
  const LineCase cases[] = {
      // comments and blanks
      {"", 0, 0},
      {"   ", 0, 0},
      {"# a comment: with a colon", 0, 0},
      {"! another", 0, 0},
      // section headers: known ones are skipped, the id-based ones are taken with category 2
      {"[Messages]", 0, 0},
      {"[Detag]", 0, 2},
      {"[Control]", 10, 0},
      {"----- a rule -----", 0, 0},
      // plain policies take their own category
      {"Page Width: 80", 0, 2},
      {"Error reporting level: 6", 0, 4},
      {"Input file has change bars: yes", 0, 1},
      // special keys
      {"Rule set to be used: Pembrelle", 0, 3},
      {"Indent position(s): 0 4", 0, 1},
      {"Include document section(s): intro", 0, 3},
      {"Recognised USENET groups: comp.lang.c", 0, 4},
      {"Definition Char: ':' (strong)", 0, 1},
      // refused
      {"Output file extension: .doc", 10, 0},
      {"<P> inside list usage code: 2", 10, 0},
      {"Nothing by this name: 1", 10, 0},
      {"Keep it simple: perhaps", 11, 2},
      {"Rule set to be used: Sometimes", 11, 3},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    FileControl fresh;
    fresh.AttachContext(&ctx);
    TextString line(c.line);
    int category = -1;
    EXPECT_EQ(fresh.LoadPolicyLine(line, category, 0), c.result);
    EXPECT_EQ(category, c.category);
  }
}

TEST_F(PolicyReaderTest, KeyMatchesWhateverTheBlanksAndCase) {
  for (const char* text : {"Page Width: 72", "page width:72", "  PAGE   WIDTH  :   72  "}) {
    SCOPED_TRACE(text);
    FileControl fresh;
    fresh.AttachContext(&ctx);
    TextString line(text);
    int category = 0;
    EXPECT_EQ(fresh.LoadPolicyLine(line, category, 0), 0);
    EXPECT_EQ(fresh.GetInt(PolicyId::PageWidth), 72);
    EXPECT_TRUE(fresh.IsSet(PolicyId::PageWidth));
  }
}

TEST_F(PolicyReaderTest, LineIsLeftCollapsedAndTrimmed) {
  TextString line("   Page    Width :   72   ");
  int category = 0;
  EXPECT_EQ(fc.LoadPolicyLine(line, category, 0), 0);
  EXPECT_STREQ(line.GetText(), "Page Width : 72");
}

TEST_F(PolicyReaderTest, FurtherColonsBelongToTheValue) {
  EXPECT_EQ(Load("Document Title: Part 2: the sequel"), 0);
  EXPECT_STREQ(fc.GetText(PolicyId::DocumentTitle).GetText(), "Part 2: the sequel");
}

TEST_F(PolicyReaderTest, DiagnosticNamesTheOutcome) {
  struct Case {
    const char* line;
    const char* diagnostic;
  };
  const Case cases[] = {
      {"Page Width: 70", "LoadPolicyLine - success: Page Width: 70"},
      {"Frobnicate: 1", "LoadPolicyLine - unknown policy: Frobnicate: 1"},
      {"Keep it simple: perhaps", "LoadPolicyLine - invalid value: perhaps"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TextString line(c.line);
    TextString diagnostic;
    int category = 0;
    (void)fc.LoadPolicyLine(line, category, 0, &diagnostic);
    EXPECT_STREQ(diagnostic.GetText(), c.diagnostic);
  }
}

TEST_F(PolicyReaderTest, MissingColonIsReportedAndTheLineRefused) {
  EXPECT_EQ(Load("Page Width 80"), 10);
  EXPECT_TRUE(Saw("POLICY: Ignored - Missing colon in \"Page Width 80\"")) << AllMessages();
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 80);  // the default, untouched
  EXPECT_FALSE(fc.IsSet(PolicyId::PageWidth));

  // A key alone has no value: refused as invalid, nothing changes.
  messages.clear();
  EXPECT_EQ(Load("Keep it simple"), 11);
  EXPECT_FALSE(fc.IsSet(PolicyId::KeepItSimple));

  // Header-like and heading lines carry no colon by nature.
  messages.clear();
  EXPECT_EQ(Load("[Messages]"), 0);
  EXPECT_EQ(Load("We have 0  recognised headings"), 0);
  EXPECT_TRUE(messages.empty()) << AllMessages();
}

TEST_F(PolicyReaderTest, BadValuesKeepTheOldValueAndAreReported) {
  EXPECT_EQ(Load("Keep it simple: Yes"), 0);
  EXPECT_EQ(Load("Keep it simple: perhaps"), 11);
  EXPECT_EQ(fc.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_TRUE(Saw("ERROR: Don't understand policy value : perhaps")) << AllMessages();

  EXPECT_EQ(Load("Text justification: xyz"), 11);
  EXPECT_EQ(Load("Default font: Arial, heavy, 10"), 11);
  EXPECT_TRUE(Saw("WARNING: \"Arial, heavy, 10\" is not a valid font specification"));
  EXPECT_EQ(Load("Paper size: Napkin"), 11);
  EXPECT_EQ(fc.List(PolicyId::PaperSize).value, 3);
}

TEST_F(PolicyReaderTest, RepeatCheckKeepsTheFirstValue) {
  int category = 0;
  EXPECT_EQ(Load("Page Width: 72", category, 1), 0);
  EXPECT_EQ(Load("Page Width: 90", category, 1), 11);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 72);
  EXPECT_TRUE(Saw("POLICY: Ignoring repeated policy \\Page Width\\")) << AllMessages();

  messages.clear();
  EXPECT_EQ(Load("Make Directory: Yes", category, 1), 0);
  EXPECT_EQ(Load("Make Directory: No", category, 1), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::MakeDirectory), 1);
  EXPECT_TRUE(messages.empty()) << AllMessages();

  // Without the check a later line simply wins.
  EXPECT_EQ(Load("Page Width: 90", category, 0), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 90);
}

TEST_F(PolicyReaderTest, RuleSetLines) {
  EXPECT_EQ(Load("Rule set to be used: Pembrelle"), 0);
  EXPECT_EQ(fc.GetRuleSet(), 1);
  EXPECT_TRUE(fc.IsRuleSetSet());
  EXPECT_EQ(Load("Rule set to be used: ZUR"), 0);
  EXPECT_EQ(fc.GetRuleSet(), 2);
  EXPECT_TRUE(Saw("WARNING: Changing rule set - Rule set to be used: ZUR")) << AllMessages();

  messages.clear();
  EXPECT_EQ(Load("Rule set to be used: (none)"), 0);
  EXPECT_EQ(fc.GetRuleSet(), 0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Load("Rule set to be used: Sometimes"), 11);
  EXPECT_FALSE(fc.IsRuleSetSet());
}

TEST_F(PolicyReaderTest, IndentAndHangingPositions) {
  struct Case {
    const char* line;
    int count;
    int positions[6];
  };
  const Case cases[] = {
      {"Indent position(s): 0 4 8 12 16 20 24", 6, {0, 4, 8, 12, 16, 20}},
      {"Indent position(s): 4 x 8", 1, {4, -1, -1, -1, -1, -1}},
      {"Indent position(s): 4 8x", 1, {4, -1, -1, -1, -1, -1}},
      {"Indent position(s): (none)", 0, {-1, -1, -1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    FileControl fresh;
    fresh.AttachContext(&ctx);
    TextString line(c.line);
    int category = 0;
    EXPECT_EQ(fresh.LoadPolicyLine(line, category, 0), 0);
    const FileControl::IndentPositions& indent = fresh.GetIndentPositions();
    EXPECT_EQ(indent.count, c.count);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(indent.positions[i], c.positions[i]) << i;
    EXPECT_EQ(indent.present, c.count > 0 ? 1 : 0);
    EXPECT_TRUE(indent.setExplicitly);
  }

  EXPECT_EQ(Load("Hanging paragraph position(s): 6 10"), 0);
  EXPECT_EQ(fc.GetHangingPositions().count, 2);
  EXPECT_EQ(fc.GetHangingPositions().positions[1], 10);
}

TEST_F(PolicyReaderTest, NameLists) {
  int category = 0;
  EXPECT_EQ(Load("Include document section(s): intro appendix", category), 0);
  EXPECT_EQ(category, 3);
  ASSERT_EQ(fc.GetDocumentSections().GetCount(), 2);
  EXPECT_STREQ(fc.GetDocumentSections().GetItem(1)->text.GetText(), "appendix");
  EXPECT_EQ(Load("Include document section(s): none"), 0);
  EXPECT_EQ(fc.GetDocumentSections().GetCount(), 0);

  EXPECT_EQ(Load("Recognised USENET groups: comp.lang.c alt.test"), 0);
  EXPECT_EQ(fc.GetUsenetGroups().GetCount(), 2);
  EXPECT_TRUE(fc.UsenetGroupsSet());
}

TEST_F(PolicyReaderTest, DefinitionChars) {
  EXPECT_EQ(Load("Definition Char: (none)"), 0);
  const FileControl::DefinitionChars& chars = fc.GetDefinitionChars();
  EXPECT_EQ(chars.dashAccepted + chars.colonAccepted, 0);
  EXPECT_EQ(Load("Definition Char: '-' (strong)"), 0);
  EXPECT_EQ(chars.dashAccepted, 1);
  EXPECT_EQ(chars.dashStrong, 1);
  EXPECT_EQ(chars.colonAccepted, 0);
  EXPECT_EQ(Load("Definition Char: ':' (weak)"), 0);
  EXPECT_EQ(chars.colonAccepted, 1);
  EXPECT_EQ(chars.colonStrong, 0);
  // Neither character named: no definition line at all.
  EXPECT_EQ(Load("Definition Char: '*'"), 10);
}

TEST_F(PolicyReaderTest, BulletCharLines) {
  FileControl::BulletChars& bullets = fc.GetBulletChars();
  EXPECT_EQ(Load("Recognise 'o' as a bullet: No"), 0);
  EXPECT_EQ(Load("bullet char: 'o'"), 0);
  EXPECT_EQ(bullets.count, 1);
  EXPECT_EQ(bullets.chars[0], 'o');
  EXPECT_EQ(fc.GetInt(PolicyId::RecogniseOAsABullet), 1);
  for (const char* more : {"bullet char: '+'", "bullet char: '*'", "bullet char: '>'",
                           "bullet char: '='", "bullet char: '~'", "bullet char: '-'"})
    EXPECT_EQ(Load(more), 0) << more;
  EXPECT_EQ(bullets.count, 7);
  EXPECT_EQ(fc.GetInt(PolicyId::RecogniseDashAsABullet), 1);
  EXPECT_EQ(Load("bullet char: '#'"), 10);  // an eighth
  EXPECT_EQ(bullets.count, 7);
  EXPECT_EQ(Load("bullet char: none"), 0);
  EXPECT_EQ(bullets.count, -1);
  EXPECT_EQ(Load("bullet char: x"), 11);  // no character between apostrophes
}

TEST_F(PolicyReaderTest, RecognisedHeadingsStayWithinSixLevels) {
  ASSERT_EQ(Load("We have 2  recognised headings"), 0);
  ASSERT_EQ(Load("Heading level 1 = \"Chapter\" N.N at indent 4"), 0);
  const FileControl::RecognisedHeadings& headings = fc.GetRecognisedHeadings();
  EXPECT_EQ(headings.count, 2);
  EXPECT_STREQ(headings.headings[1].prefixWords.GetText(), "Chapter");
  EXPECT_EQ(headings.headings[1].indent, 4);

  const char* refused[] = {
      "We have 7  recognised headings",
      "We have -1  recognised headings",
      "We have many  recognised headings",
      "Heading level 6 = \"\" N at indent 0",
      "Heading level -1 = \"\" N at indent 0",
      "Contents level 99 = \"\" N at indent 0",
      "Heading level one = \"\" N at indent 0",
      "Heading level 1 \"\" N at indent 0",       // no '='
      "Heading level 1 = \"Part\" ?? at indent 9",  // no number pattern
  };
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Load(text), 11);
    EXPECT_EQ(headings.count, 2);
    EXPECT_STREQ(headings.headings[1].prefixWords.GetText(), "Chapter");
    EXPECT_EQ(headings.headings[1].indent, 4);
    EXPECT_TRUE(headings.setExplicitly);
  }
}

TEST_F(PolicyReaderTest, AlternativeKeysReachTheirPolicies) {
  struct Case {
    const char* line;
    PolicyId id;
    const char* value;
  };
  const Case cases[] = {
      {"HTML Header: head.htm", PolicyId::HTMLHeaderFile, "head.htm"},
      {"Text substitution file: subs.txt", PolicyId::TextCommandFile, "subs.txt"},
      {"Background color: Red", PolicyId::BackgroundColour, "Red"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Load(c.line), 0);
    EXPECT_STREQ(fc.GetText(c.id).GetText(), c.value);
    EXPECT_TRUE(fc.IsSet(c.id));
  }
  EXPECT_EQ(Load("Recognize 'o' as a bullet: No"), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::RecogniseOAsABullet), 0);
  // The other product's spellings are not this product's.
  EXPECT_EQ(Load("Folio block sequence: A,B"), 10);
}

TEST_F(PolicyReaderTest, AfterEffects) {
  EXPECT_EQ(Load("Input file type: spreadsheet"), 0);
  EXPECT_TRUE(fc.GetText(PolicyId::InputFileType).IsEmpty());
  EXPECT_FALSE(fc.IsSet(PolicyId::InputFileType));
  EXPECT_TRUE(Saw("ERROR: Invalid file type - Input file type: spreadsheet")) << AllMessages();
  EXPECT_EQ(Load("Input file type: Text Table"), 0);
  EXPECT_STREQ(fc.GetText(PolicyId::InputFileType).GetText(), "Text Table");

  EXPECT_EQ(Load("DOS filename root: abcdefgh"), 0);
  EXPECT_STREQ(fc.GetText(PolicyId::DOSFilenameRoot).GetText(), "abcde");

  EXPECT_EQ(Load("Bullet point characters: +*>=~#@"), 0);
  EXPECT_EQ(fc.GetBulletChars().count, 6);
  EXPECT_EQ(fc.GetBulletChars().chars[5], '#');
  // Taken only while not yet set.
  EXPECT_EQ(Load("Bullet point characters: xy"), 10);
}

TEST_F(PolicyReaderTest, LinkDefinitionsFillTheDictionary) {
  EXPECT_EQ(Load("Link definition: \"home\" = \"Home page\" + \"http://example.org/\""), 0);
  EXPECT_EQ(fc.pGetLinkDictionary()->GetCount(), 1);
  EXPECT_TRUE(fc.LinkDefinitionsRead());
}

// Blank runs are collapsed outside double quotes only: a quoted text is the user's text, byte
// for byte, whether the line comes alone or from a file.
TEST_F(PolicyReaderTest, QuotedTextsKeepTheirBlanks) {
  const struct {
    const char* line;
    const char* leftAs;
    const char* match;        // the link's match; null when the line is no link
    const char* replacement;
  } kCases[] = {
      {"Link definition:  \"two  words\"  =  \"Two   Words\" + \"http://example.org/\"",
       "Link definition: \"two  words\" = \"Two   Words\" + \"http://example.org/\"",
       "two  words", "Two   Words"},
      {"Link definition: \"tab\t\tsep\" = \" lead  and trail \" + \"http://example.org/\"",
       "Link definition: \"tab\t\tsep\" = \" lead  and trail \" + \"http://example.org/\"",
       "tab\t\tsep", " lead  and trail "},
      {"Document Title:   two    words  ", "Document Title: two words", nullptr, nullptr},
      {"Document Title: \"a   b\"   and   c", "Document Title: \"a   b\" and c", nullptr, nullptr},
      // A quote without a partner quotes nothing.
      {"Document Title: say  \"hi   there", "Document Title: say \"hi there", nullptr, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    for (const bool fromFile : {false, true}) {
      SCOPED_TRACE(fromFile ? "file" : "line");
      // A file's statements have their tabs expanded before the loader sees them.
      if (fromFile && std::string(c.line).find('\t') != std::string::npos) continue;
      FileControl fresh;
      fresh.AttachContext(&ctx);
      if (fromFile) {
        const std::string path = TempPath("quoted.pol");
        WriteBytes(path, std::string(c.line) + "\n");
        StatementFile file;
        ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
        EXPECT_EQ(fresh.ReadPolicyFile(file, nullptr, 0), 1);
        file.CloseAll();
        std::remove(path.c_str());
      } else {
        TextString line(c.line);
        int category = 0;
        EXPECT_EQ(fresh.LoadPolicyLine(line, category, 0), 0);
        EXPECT_STREQ(line.GetText(), c.leftAs);
      }
      if (c.match == nullptr) {
        const std::string value(c.leftAs + std::string("Document Title: ").size());
        EXPECT_EQ(fresh.GetText(PolicyId::DocumentTitle).GetText(), value);
        continue;
      }
      ASSERT_EQ(fresh.pGetLinkDictionary()->GetCount(), 1);
      const LinkEntry* entry = fresh.pGetLinkDictionary()->pGetEntry(0);
      EXPECT_STREQ(entry->match.GetText(), c.match);
      EXPECT_STREQ(entry->replacement.GetText(), c.replacement);
    }
  }
}

// ---- ReadPolicyFile over hand-written files ----

struct FileCase {
  const char* name;
  int result;
  int pageWidth;             // expected "Page Width" afterwards
  int tabSize;               // expected "TAB size" afterwards
  const char* message;       // a message that must have been shown ("" for none required)
};

TEST_F(PolicyReaderTest, HandWrittenFilesAreReadToTheEnd) {
  const std::string dir = Fixture("");
  const std::string missing = "** Failed to open policy include file " + dir;
  const FileCase cases[] = {
      {"unknown-key.pol", 0, 72, 4, "POLICY: Ignored - \\Frobnicate level: 3\\"},
      {"bad-value.pol", 0, 70, 8, "ERROR: Don't understand policy value : perhaps"},
      {"missing-colon.pol", 0, 80, 5, "POLICY: Ignored - Missing colon in \"Page Width 66\""},
      {"missing-include.pol", 0, 66, 8, ""},
      {"self-include.pol", 0, 64, 8, ""},
      {"cycle-a.pol", 0, 61, 3, ""},
      {"include-parent.pol", 0, 60, 2, "POLICY: Ignoring repeated policy \\Page Width\\"},
      {"switch-from.pol", 1, 58, 8, ""},
      {"switch-missing.pol", 0, 80, 7, ""},
      {"switch-self.pol", 0, 80, 6, ""},
      {"repeat.pol", 0, 72, 8, "POLICY: Ignoring repeated policy \\Page Width\\"},
      {"crlf.pol", 1, 68, 8, ""},
      {"utf16le-bom-crlf.pol", 0, 67, 3, "POLICY: Ignored - \\Frobnicate: 1\\"},
      {"headings-out-of-range.pol", 0, 75, 8, ""},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    fc.ResetPolicies(0);
    TextString error;
    EXPECT_EQ(Read(Fixture(c.name), &error), c.result) << AllMessages();
    EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), c.pageWidth);
    EXPECT_EQ(fc.GetInt(PolicyId::TABSize), c.tabSize);
    if (c.message[0] != '\0') {
      EXPECT_TRUE(Saw(c.message)) << AllMessages();
    }
    EXPECT_EQ(error.IsEmpty(), c.result == 1) << error.GetText();
  }
}

// A missing include is a file that failed to open; a file already being read is a loop, and
// the message names the line that asked for it. Each is reported once.
TEST_F(PolicyReaderTest, IncludesThatCannotBeFollowedAreNamed) {
  const std::string dir = Fixture("");
  const std::string missing = "** Failed to open policy include file " + dir;
  const std::string loop =
      "** Policy file includes itself (an include loop), not read again: " + dir;
  struct Case {
    const char* file;
    std::string expected;  // the one message of the refusal
  };
  const Case cases[] = {
      {"missing-include.pol", missing + "no-such-file.pol ***"},
      {"self-include.pol",
       loop + "self-include.pol, included at line 1 of " + dir + "self-include.pol ***"},
      {"cycle-a.pol", loop + "cycle-a.pol, included at line 2 of " + dir + "cycle-b.pol ***"},
      {"switch-missing.pol", missing + "not-there.pol ***"},
      {"switch-self.pol",
       loop + "switch-self.pol, named at line 1 of " + dir + "switch-self.pol ***"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    messages.clear();
    fc.ResetPolicies(0);
    TextString error;
    EXPECT_EQ(Read(Fixture(c.file), &error), 0);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), c.expected), 1) << AllMessages();
    EXPECT_EQ(error.GetText(), c.expected);
  }
}

// ---- Includes that must stop ----

TEST_F(PolicyReaderTest, IncludeChainStopsAtItsDepthAndSaysWhere) {
  TempFolder folder("polfile");
  // Each level includes the next on its second line, then sets the page width; the first
  // width read wins, so the width tells the deepest level read.
  constexpr int kLevels = kMaxPolicyIncludeDepth + 2;
  for (int level = 0; level < kLevels; ++level) {
    std::string text = "! level " + std::to_string(level) + "\n";
    if (level + 1 < kLevels) text += "include file: level" + std::to_string(level + 1) + ".pol\n";
    text += "Page Width: " + std::to_string(40 + level) + "\n";
    WriteBytes(folder.File("level" + std::to_string(level) + ".pol"), text);
  }
  TextString error;
  EXPECT_EQ(Read(folder.File("level0.pol"), &error), 0);
  const int deepest = kMaxPolicyIncludeDepth - 1;
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 40 + deepest);
  const std::string expected =
      "** Policy include depth exceeded (more than " + std::to_string(kMaxPolicyIncludeDepth) +
      " files): " + folder.File("level" + std::to_string(deepest + 1) + ".pol") +
      ", included at line 2 of " + folder.File("level" + std::to_string(deepest) + ".pol") +
      " ***";
  EXPECT_TRUE(Saw(expected)) << AllMessages();
  EXPECT_FALSE(error.IsEmpty());
  EXPECT_EQ(AllMessages().find("Failed to open"), std::string::npos) << AllMessages();
}

TEST_F(PolicyReaderTest, AFileIsKnownUnderEveryName) {
  TempFolder folder("polfile");
  fs::create_directories(folder.path / "sub");
  const std::string self = folder.File("self.pol");
  WriteBytes(self, "");
  fs::create_symlink(self, folder.path / "link.pol");
  fs::create_hard_link(self, folder.path / "hard.pol");
  fs::create_directory_symlink(folder.path, folder.path / "sub" / "up");
  const std::string spellings[] = {"self.pol", "./self.pol", "sub/up/self.pol",
                                   "link.pol", "hard.pol",   self};
  // One spelling at a time: the include is refused at once and the file is read once (a
  // second reading would repeat its page width).
  for (const std::string& spelling : spellings) {
    SCOPED_TRACE(spelling);
    messages.clear();
    fc.ResetPolicies(0);
    WriteBytes(self, "include file: " + spelling + "\nPage Width: 64\n");
    EXPECT_EQ(Read(self), 0);
    ASSERT_EQ(messages.size(), 1u) << AllMessages();
    EXPECT_EQ(messages[0].rfind("** Policy file includes itself (an include loop), ", 0), 0u)
        << messages[0];
    EXPECT_NE(messages[0].find(spelling + ", included at line 1 of "), std::string::npos)
        << messages[0];
    EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 64);
  }
  // Every spelling in one file: each line is still read once.
  std::string all;
  for (const std::string& spelling : spellings) all += "include file: " + spelling + "\n";
  WriteBytes(self, all + "Page Width: 65\n");
  messages.clear();
  fc.ResetPolicies(0);
  EXPECT_EQ(Read(self), 0);
  EXPECT_EQ(messages.size(), std::size(spellings)) << AllMessages();
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 65);
}

TEST_F(PolicyReaderTest, WhatIsNoFileIsRefusedWithItsPlace) {
  TempFolder folder("polfile");
  fs::create_directories(folder.path / "folder.pol");
  const std::string child = folder.File("child.pol");
  WriteBytes(child, "TAB size: 3\n!\n!\n!\n");
  const std::string parent = folder.File("parent.pol");
  const std::string folderName = folder.File("folder.pol");
  struct Case {
    const char* line;      // the third line of the parent, after an include of child.pol
    std::string message;   // the refusal, which names the parent's line, not the child's
  };
  const Case cases[] = {
      // A folder holds no lines.
      {"include file: folder.pol",
       "** Policy include file is not a regular file: " + folderName + ", included at line 3 of " +
           parent + " ***"},
      {"Switch to file: folder.pol",
       "** Policy file to switch to is not a regular file: " + folderName +
           ", named at line 3 of " + parent + " ***"},
      // A device never ends.
      {"include file: /dev/zero",
       "** Policy include file is not a regular file: /dev/zero, included at line 3 of " + parent +
           " ***"},
      {"Switch to file: /dev/zero",
       "** Policy file to switch to is not a regular file: /dev/zero, named at line 3 of " +
           parent + " ***"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteBytes(parent, std::string("include file: child.pol\n!\n") + c.line + "\nPage Width: 71\n");
    // Read in a child process with bounded processor time: were the device read, the reading
    // would never end. What the test checks comes back one value a line.
    const BoundedRunResult run = RunBounded([&] {
      messages.clear();
      fc.ResetPolicies(0);
      TextString error;
      const int result = Read(parent, &error);
      return std::to_string(result) + "\n" + std::to_string(fc.GetInt(PolicyId::TABSize)) + "\n" +
             std::to_string(fc.GetInt(PolicyId::PageWidth)) + "\n" + error.GetText() + "\n" +
             AllMessages();
    });
    // No assertion ends the test here: every case runs.
    EXPECT_TRUE(run.finished) << run.Describe();
    const std::vector<std::string> values = OutputLines(run, 4);
    EXPECT_EQ(values[0], "0");
    EXPECT_EQ(values[1], "3");   // TAB size, from child.pol
    EXPECT_EQ(values[2], "71");  // reading goes on after the refusal
    EXPECT_EQ(values[3], c.message);  // the error text
    EXPECT_NE(std::find(values.begin() + 4, values.end(), c.message), values.end())
        << run.output;
  }
}

TEST_F(PolicyReaderTest, IncludedAndSwitchedFilesAreRead) {
  EXPECT_EQ(Read(Fixture("include-parent.pol")), 0) << AllMessages();
  EXPECT_EQ(fc.GetInt(PolicyId::KeepItSimple), 1);  // from sub/included.pol
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 60);    // first occurrence wins

  fc.ResetPolicies(0);
  EXPECT_EQ(Read(Fixture("switch-from.pol")), 1) << AllMessages();
  EXPECT_EQ(fc.GetInt(PolicyId::KeepItSimple), 1);  // from switched.pol
  EXPECT_EQ(fc.GetInt(PolicyId::TABSize), 8);       // the rest of the old file is not read
}

TEST_F(PolicyReaderTest, CycleStillReadsEveryLineOnce) {
  EXPECT_EQ(Read(Fixture("cycle-a.pol")), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_EQ(fc.GetInt(PolicyId::MinChapterSize), 9);
  EXPECT_EQ(fc.GetInt(PolicyId::TABSize), 3);
}

TEST_F(PolicyReaderTest, CrLfAndUtf16FilesReadLikeAnyOther) {
  EXPECT_EQ(Read(Fixture("crlf.pol")), 1) << AllMessages();
  EXPECT_EQ(fc.GetInt(PolicyId::ErrorReportingLevel), 7);
  EXPECT_STREQ(fc.GetText(PolicyId::DocumentTitle).GetText(), "Line ends: CR LF");

  fc.ResetPolicies(0);
  messages.clear();
  EXPECT_EQ(Read(Fixture("utf16le-bom-crlf.pol")), 0);
  EXPECT_STREQ(fc.GetText(PolicyId::DocumentTitle).GetText(), "wide");
}

TEST_F(PolicyReaderTest, Utf16WithoutMarkIsReportedNotTaken) {
  TextString error;
  EXPECT_EQ(Read(Fixture("utf16le-no-bom.pol"), &error), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 80);
  EXPECT_FALSE(messages.empty());
}

TEST_F(PolicyReaderTest, ReadRestoresThePassAndWithoutContextStillReads) {
  ctx.CodeLocation = kLocationOutput;
  EXPECT_EQ(Read(Fixture("crlf.pol")), 1);
  EXPECT_EQ(ctx.CodeLocation, kLocationOutput);

  // Without a Context every message, the value parser's too, goes to standard error, once.
  FileControl alone;
  StatementFile file;
  ASSERT_TRUE(file.OpenForRead(Fixture("bad-value.pol").c_str(), 0));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(alone.ReadPolicyFile(file, nullptr, 0), 0);
  const std::string console = ::testing::internal::GetCapturedStderr();
  file.CloseAll();
  EXPECT_EQ(alone.GetInt(PolicyId::PageWidth), 70);
  EXPECT_NE(console.find("ERROR: Don't understand policy value : perhaps"), std::string::npos)
      << console;
  EXPECT_EQ(console.find("Keep it simple: perhaps"), std::string::npos) << console;
}

// Lines of n bytes: an unknown key, a long value, a long number, a run of colons.
static std::string HostileLines(int n) {
  return std::string(n, 'k') + ": 1\n" + "Document Title: " + std::string(n, 't') + "\n" +
         "Indent position(s): " + std::string(n / 2, '9') + "\n" + std::string(n / 5, ':') +
         "\nPage Width: 71\n";
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using PolicyReaderGrowth = PolicyReaderTest;

TEST_F(PolicyReaderGrowth, HostileLinesAreReadInTimeLinearInTheirLength) {
  const std::string path = TempPath("hostile.pol");
  WriteBytes(path, HostileLines(100000));
  EXPECT_EQ(Read(path), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 71);
  EXPECT_EQ(fc.GetText(PolicyId::DocumentTitle).GetLength(), 100000);
  EXPECT_EQ(fc.GetIndentPositions().count, 0);  // a number too large for an int

  const auto read = [&](int n) {
    WriteBytes(path, HostileLines(n));
    fc.ResetPolicies(0);
    return TimeOf([&] { EXPECT_EQ(Read(path), 0); });
  };
  EXPECT_LT(SixteenfoldGrowth(10000, read), kQuadraticGrowth);
  std::remove(path.c_str());
}

TEST_F(PolicyReaderTest, ConfigurationFilesAreLoadedWhenAsked) {
  const std::string path = TempPath("config.pol");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("Link Dictionary file: polfile-missing-links.txt\nPage Width: 77\n", f);
  std::fclose(f);

  StatementFile file;
  ASSERT_TRUE(file.OpenForRead(path.c_str(), 0));
  TextString error;
  EXPECT_EQ(fc.ReadPolicyFile(file, &error, 1), 0);
  file.CloseAll();
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 77);
  EXPECT_STREQ(fc.GetText(PolicyId::LinkDictionaryFile).GetText(), "polfile-missing-links.txt");
  EXPECT_TRUE(fc.IsSet(PolicyId::LinkDictionaryFile));
  EXPECT_NE(std::string(error.GetText()).find("polfile-missing-links.txt"), std::string::npos)
      << error.GetText();
  std::remove(path.c_str());
}

}  // namespace
