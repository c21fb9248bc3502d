#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/TextPosition.h"

namespace {

// A policy set attached to an RTF Context whose handler's messages are collected.
class PolicyServices : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { shown.emplace_back(text); });
  }
  void SetPass(int analysis, int output) {
    ctx.AnalysisPass = analysis;
    ctx.OutputPass = output;
  }
  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> shown;
};

std::string Fixture(const char* name) {
  return std::string(KELVANE_FIXTURES_DIR) + "/policyservices/" + name;
}

}  // namespace

// ---- Table-policy queue ----

TEST_F(PolicyServices, NestedTablesQueueOldestFirst) {
  SetPass(0, 1);
  EXPECT_EQ(fc.GetNewTabPolicy(), fc.GetDefaultTabPolicy());
  EXPECT_EQ(fc.GetOldTabPolicy(), nullptr);
  fc.CreateNewTabPolicy();
  fc.CreateNewTabPolicy();
  ASSERT_EQ(fc.NumTabPolicy(), 2);
  TableAnalysisPolicies* outer = fc.GetOldTabPolicy();
  TableAnalysisPolicies* inner = fc.GetNewTabPolicy();
  ASSERT_NE(outer, inner);
  EXPECT_STREQ(inner->GetName().GetText(), "table");

  // Tags change the newest, the writer reads the oldest.
  EXPECT_EQ(fc.SetTableBorderSize(3), inner);
  EXPECT_EQ(inner->Int(TablePolicyId::BorderSize).value, 3);
  EXPECT_EQ(inner->Int(TablePolicyId::BorderSize).set, 1);
  EXPECT_EQ(outer->Int(TablePolicyId::BorderSize).set, 0);
  EXPECT_EQ(fc.GetDefaultTabPolicy()->Int(TablePolicyId::BorderSize).set, 0);

  fc.DeleteOldTabPolicy();
  EXPECT_EQ(fc.NumTabPolicy(), 1);
  EXPECT_EQ(fc.GetOldTabPolicy(), inner);
  EXPECT_TRUE(shown.empty());
}

TEST_F(PolicyServices, QueueRefusesWorkOutsideTheOutputStage) {
  SetPass(1, 0);
  fc.CreateNewTabPolicy();
  fc.DeleteOldTabPolicy();
  EXPECT_EQ(fc.NumTabPolicy(), 0);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "PROGRAM ERROR: FC::CreateNewTabPolicy called out of sequence");
  EXPECT_EQ(shown[1], "PROGRAM ERROR: FC::DeleteOldTabPolicy called out of sequence");

  SetPass(0, 1);
  fc.DeleteOldTabPolicy();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], "PROGRAM ERROR: Unexpected NumTabPolicy = 0");
}

TEST(PolicyServicesText, TextOutputOpensNoTablePolicies) {
  Context ctx{2, kOutputPlainText};
  FileControl fc;
  fc.AttachContext(&ctx);
  ctx.OutputPass = 1;
  fc.CreateNewTabPolicy();
  EXPECT_EQ(fc.NumTabPolicy(), 0);
}

TEST_F(PolicyServices, SettersMarkWhatTheySet) {
  FileControl plain;  // no Context: the queue works without pass checks
  TableAnalysisPolicies* table = plain.GetDefaultTabPolicy();
  const int right = 3;
  EXPECT_EQ(plain.SetTableAlignment(&right), table);
  EXPECT_EQ(table->Align(TablePolicyId::Alignment).value, 3);
  EXPECT_EQ(plain.SetTableCellAlignment(nullptr), nullptr);
  EXPECT_EQ(table->Align(TablePolicyId::CellAlignment).set, 0);

  plain.SetExpectSparseTables(1);
  EXPECT_EQ(table->Bool(TablePolicyId::ExpectSparseTables).value, 1);
  EXPECT_EQ(table->Bool(TablePolicyId::ExpectSparseTables).set, 1);

  plain.SetTableDelimiter(TextString(";"), 0);
  EXPECT_STREQ(table->Text(TablePolicyId::DelimiterCharacter).value.GetText(), ";");
  EXPECT_EQ(table->Text(TablePolicyId::DelimiterCharacter).set, 0);
  plain.SetTableDelimiter(TextString(","), 1);
  EXPECT_EQ(table->Text(TablePolicyId::DelimiterCharacter).set, 1);
}

TEST_F(PolicyServices, ColourSettersCanonicaliseAndWarn) {
  SetPass(0, 1);
  fc.CreateNewTabPolicy();
  TableAnalysisPolicies* table = fc.GetNewTabPolicy();
  fc.SetTableColour(TextString("#ff0000"));
  EXPECT_STREQ(table->Colour(TablePolicyId::TableColour).value.GetText(), "Red");
  EXPECT_TRUE(shown.empty());
  fc.SetTableOddRowColour(TextString("mauve"));
  EXPECT_STREQ(table->Colour(TablePolicyId::OddRowColour).value.GetText(), "mauve");
  EXPECT_EQ(table->Colour(TablePolicyId::OddRowColour).set, 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "WARNING: \"mauve\" is not a standard HTML colour");
}

TEST_F(PolicyServices, HideColumnOnlyInsideTables) {
  SetPass(0, 1);
  fc.GetMessageText() = "";
  fc.HideTableColumn();
  EXPECT_STREQ(fc.GetMessageText().GetText(), "TAG ERROR: HIDE_COLUMN only allowed inside tables");
  fc.GetMessageText() = "";
  fc.CreateNewTabPolicy();
  fc.HideTableColumn();
  EXPECT_STREQ(fc.GetMessageText().GetText(), "");
  fc.AddTableTagLine(TextString("12"), TextString("HIDE_COLUMN"), TextString("HIDE_COLUMN 2"));
  fc.AddTableTagLine(TextString("13"), TextString("HIDE_COLUMN"), TextString("HIDE_COLUMN 2"));
  EXPECT_EQ(fc.GetNewTabPolicy()->GetTagLines().GetCount(), 2);
  EXPECT_EQ(fc.GetDefaultTabPolicy()->GetTagLines().GetCount(), 0);
}

// ---- Look-ups ----

TEST_F(PolicyServices, BulletCharactersBeforeAndAfterAnalysis) {
  fc.Text(PolicyId::BulletPointCharacters).value = "*#+";
  EXPECT_EQ(fc.SetBulletCharsFromPolicy(), 1);
  EXPECT_EQ(fc.AreBulletsActive(), 1);

  struct Case { char c; int during; int after; };
  const Case cases[] = {
      {'*', 1, 1}, {'#', 1, 1}, {'+', 1, 1}, {'-', 1, 1}, {'o', 0, 0}, {'=', 1, 0},
      {'7', 0, 0}, {'Z', 0, 0}, {'{', 0, 0}, {'|', 0, 0}, {'!', 0, 0}, {'\xB3', 0, 0},
      {'\xB7', 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.c)));
    SetPass(1, 0);
    EXPECT_EQ(fc.IsBulletChar(c.c), c.during);
    SetPass(0, 1);
    EXPECT_EQ(fc.IsBulletChar(c.c), c.after);
  }
}

TEST(PolicyServicesLookups, IndentLevelCountsPositionsPassed) {
  FileControl fc;
  FileControl::IndentPositions& indent = fc.GetIndentPositions();
  indent.count = 3;
  indent.positions[0] = 0;
  indent.positions[1] = 4;
  indent.positions[2] = 10;
  struct Case { int column, level; };
  for (const Case c : {Case{-3, 0}, Case{0, 0}, Case{3, 0}, Case{4, 1}, Case{9, 1}, Case{10, 2}, Case{80, 2}}) {
    SCOPED_TRACE(c.column);
    EXPECT_EQ(fc.GetIndentLevel(c.column), c.level);
  }
  fc.GetDefaultTabPolicy()->Int(TablePolicyId::ExtendingFactor).value = 7;
  EXPECT_EQ(fc.GetTableExtendingFactor(), 7);
}

TEST(PolicyServicesLookups, DocumentSections) {
  struct Case {
    const char* section;
    int preprocessor, help;
    const char* included;  // "Include document section(s)" entries, blank-separated
    int want;
  };
  const Case cases[] = {
      {"", 1, 0, "", 1},
      {"print", 0, 0, "", 1},
      {"ALL", 1, 0, "", 1},
      {"makingrtf", 1, 0, "", 1},
      {"MAKINGRTFHELP", 1, 0, "", 0},
      {"MAKINGRTFHELP", 1, 1, "", 1},
      {"print", 1, 0, "web print", 1},
      {"PRINT", 1, 0, "web", 0},
      {"prin", 1, 0, "print", 0},
      {"print", 1, 0, "web all", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " / " + c.included);
    FileControl fc;
    fc.Bool(PolicyId::UsePreprocessor).value = c.preprocessor;
    fc.Bool(PolicyId::MakeWindowsHelpSourceFile).value = c.help;
    fc.GetDocumentSections().AppendFields(TextString(c.included), " ");
    fc.SetCurrentSection(TextString(c.section));
    EXPECT_EQ(fc.IsSectionIncluded(), c.want);
  }
}

// ---- File names ----

TEST(PolicyServicesNames, ContentsFileName) {
  struct Case {
    const char* input;
    int dos, compositionUnit;
    const char* outputDirectory;
    const char* external;
    const char* want;
  };
  const Case cases[] = {
      {"/docs/guide.txt", 0, 0, "", "", "/docs/contents_guide.html"},
      {"C:\\docs\\guide.txt", 0, 0, "", "", "C:\\docs\\contents_guide.html"},
      {"/docs/guide.txt", 0, 0, "/out", "", "/out/contents_guide.html"},
      {"/docs/guide.txt", 0, 0, "/out/", "", "/out/contents_guide.html"},
      {"/docs/read.me.longext", 0, 0, "", "", "/docs/contents_read.me.longext.html"},
      {"guide.txt", 0, 0, "", "", "contents_guide.html"},
      {"/docs/guide.txt", 1, 0, "", "", "contents.htm"},
      {"/docs/guide.txt", 0, 1, "", "", "/docs/guide.toc"},
      {"/docs/guide.txt", 0, 0, "", "toc.html", "toc.html"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    FileControl fc;
    fc.Bool(PolicyId::UseDOSFilenames).value = c.dos;
    fc.Bool(PolicyId::InputFileIsACompositionUnit).value = c.compositionUnit;
    fc.Text(PolicyId::OutputDirectory).value = c.outputDirectory;
    fc.Text(PolicyId::ExternalContentsListFilename).value = c.external;
    EXPECT_STREQ(fc.MakeContentsFileName(TextString(c.input)).GetText(), c.want);
  }
}

TEST_F(PolicyServices, CompositionUnitContentsTakeTheCommandLineParts) {
  fc.Bool(PolicyId::InputFileIsACompositionUnit).value = 1;
  const TextString input("/docs/guide.txt");
  EXPECT_STREQ(fc.MakeContentsFileName(input).GetText(), "/docs/guide.toc");
  ctx.Commands.contentsOutputFolder = "/toc";
  ctx.Commands.contentsOutputBaseName = "all";
  ctx.Commands.contentsOutputExtension = ".lst";
  EXPECT_STREQ(fc.MakeContentsFileName(input).GetText(), "/toc/all.lst");
  // Parts holding wildcards stand for names still to be made: the input's take their place.
  ctx.Commands.contentsOutputBaseName = "*";
  ctx.Commands.contentsOutputExtension = ".%";
  EXPECT_STREQ(fc.MakeContentsFileName(input).GetText(), "/toc/guide.toc");
}

TEST_F(PolicyServices, PolicyFileName) {
  EXPECT_STREQ(fc.MakePolicyFileName(TextString("/in/doc.txt")).GetText(), "/in/doc.pol");
  fc.Text(PolicyId::OutputDirectory).value = "/out";
  EXPECT_STREQ(fc.MakePolicyFileName(TextString("/in/doc.txt")).GetText(), "/out/doc.pol");
  ctx.Commands.policyOutputFileName = "/cmd/used.cfg";
  EXPECT_STREQ(fc.MakePolicyFileName(TextString("/in/doc.txt")).GetText(), "/cmd/used.cfg");
  ctx.Commands.policyOutputFileName = "used";
  EXPECT_STREQ(fc.MakePolicyFileName(TextString("/in/doc.txt")).GetText(), "/out/used.pol");
  fc.Text(PolicyId::OutputPolicyFilename).value = "fixed.pol";
  EXPECT_STREQ(fc.MakePolicyFileName(TextString("/in/doc.txt")).GetText(), "fixed.pol");
  EXPECT_STREQ(fc.GetPolicyFileName().GetText(), "fixed.pol");
}

// ---- Configuration files ----

TEST_F(PolicyServices, LoadConfigFilesReadsTheLinkDictionary) {
  TextPolicy& dictionary = fc.Text(PolicyId::LinkDictionaryFile);
  dictionary.value = "two-links.dic";
  dictionary.set = 1;
  TextString result;
  EXPECT_EQ(fc.LoadConfigFiles(TextString(Fixture("").c_str()), result), 1) << result.GetText();
  EXPECT_EQ(fc.GetLinkCount(), 2);
  EXPECT_EQ(fc.LinkDefinitionsRead(), 1);

  dictionary.value = "missing.dic";
  EXPECT_EQ(fc.LoadConfigFiles(TextString(Fixture("").c_str()), result), 0);
  EXPECT_NE(std::string(result.GetText()).find("missing.dic"), std::string::npos);
}

TEST_F(PolicyServices, LoadConfigFilesReportsFilesItCannotRead) {
  TextPolicy& definitions = fc.Text(PolicyId::DefinitionsFile);
  definitions.value = "tables.def";
  definitions.set = 1;
  TextString result;
  EXPECT_EQ(fc.LoadConfigFiles(TextString("/base/"), result), 0);
  EXPECT_STREQ(result.GetText(), "ERROR: Failed to open definitions file /base/tables.def");
  EXPECT_EQ(ctx.CodeLocation, kLocationNone);  // restored after the read

  // A named policy that is not set explicitly (a default) loads nothing.
  definitions.set = 0;
  EXPECT_EQ(fc.LoadConfigFiles(TextString("/base/"), result), 1);
}

TEST_F(PolicyServices, ForwardersReachTheDictionary) {
  EXPECT_NE(fc.AddLinkDefinition(TextString("kv"), TextString("Kelvane"),
                                 TextString("https://www.kelvane.example/"), TextString(), -1, -1),
            0);
  EXPECT_EQ(fc.GetLinkCount(), 1);
  fc.FreeOwnedObjects();
  EXPECT_EQ(fc.GetLinkCount(), 0);
}

// ---- Per-file state ----

TEST_F(PolicyServices, ResetFileStateEmptiesTheWorkingState) {
  fc.SetCurrentSection(TextString("print"));
  fc.MakeContentsFileName(TextString("/docs/a.txt"));
  fc.InContents = 1;
  fc.ResetFileState(0);
  EXPECT_STREQ(fc.GetCurrentSection().GetText(), "");
  EXPECT_STREQ(fc.GetContentsFileName().GetText(), "");
  EXPECT_EQ(fc.InContents, 0);
  EXPECT_STREQ(fc.GetWorkingExtension().GetText(), ".rtf");
  fc.ResetFileState(1);
  EXPECT_STREQ(fc.GetWorkingExtension().GetText(), ".html");

  SetPass(0, 1);
  fc.CreateNewTabPolicy();
  fc.GetDocumentSections().Append("print");
  fc.FreeOwnedObjects();
  EXPECT_EQ(fc.NumTabPolicy(), 0);
  EXPECT_EQ(fc.GetDocumentSections().GetCount(), 0);
}
