#include "policy/RuleSets.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/TableAnalysisPolicies.h"

namespace {

// The value a forced policy must hold, as number or text.
void ExpectForced(FileControl& fc, const RuleSetValue& value) {
  if (value.target != RuleSetTarget::Policy) {
    const CorePolicy& policy =
        fc.GetDefaultTabPolicy()->GetPolicy(static_cast<TablePolicyId>(value.id));
    SCOPED_TRACE(policy.key.GetText());
    EXPECT_EQ(static_cast<const ScalarPolicy&>(policy).value, value.number);
    EXPECT_EQ(policy.setByRuleSet, 1);
    return;
  }
  const PolicyId id = static_cast<PolicyId>(value.id);
  const PolicyRow& row = GetPolicyRow(id);
  SCOPED_TRACE(std::string(row.key));
  if (row.kind == PolicyKind::Text) {
    EXPECT_STREQ(fc.GetText(id).GetText(), std::string(value.text).c_str());
  } else {
    EXPECT_EQ(fc.GetInt(id), value.number);
  }
  EXPECT_EQ(fc.Policy(id).set, 1);
  EXPECT_EQ(fc.Policy(id).setByRuleSet, 1);
}

// Registered policies whose values a rule set may change besides the forced ones: the title
// follows the forced tag delimiters, and no contents list is expected, so none is used.
bool IsDerivedFromForced(PolicyId id) {
  return id == PolicyId::DocumentTitle || id == PolicyId::UseAnyExistingContentsList;
}

// A policy set attached to a Context whose handler's messages are collected.
class RuleSetsWithContext : public ::testing::Test {
 protected:
  void SetUp() override {
    fc.AttachContext(&ctx);
    ctx.GetLogErrorHandler().SetMessageCallback(
        [this](const char* text) { shown.emplace_back(text); });
  }
  Context ctx{2, kOutputRtf};
  FileControl fc;
  std::vector<std::string> shown;
};

}  // namespace

TEST(RuleSets, TablesNameEachPolicyOnce) {
  for (const int code : {kRuleSetPembrelle, kRuleSetZur}) {
    SCOPED_TRACE(code);
    std::set<std::pair<int, int>> seen;
    for (const auto values : {CommonRuleSetValues(), OwnRuleSetValues(code)}) {
      for (const RuleSetValue& value : values) {
        EXPECT_TRUE(seen.insert({static_cast<int>(value.target == RuleSetTarget::Policy), value.id}).second)
            << "forced twice: " << value.id;
      }
    }
  }
  EXPECT_TRUE(OwnRuleSetValues(kRuleSetNone).empty());
  EXPECT_TRUE(OwnRuleSetValues(7).empty());
}

TEST(RuleSets, EachRuleSetForcesExactlyItsValues) {
  for (const int code : {kRuleSetPembrelle, kRuleSetZur}) {
    SCOPED_TRACE(code);
    FileControl plain;
    FileControl fc;
    fc.SetRuleSet(code, 1);
    fc.ApplyDerivedDefaults(0, 0);

    std::set<int> forced;
    for (const auto values : {CommonRuleSetValues(), OwnRuleSetValues(code)}) {
      for (const RuleSetValue& value : values) {
        if (value.target == RuleSetTarget::TablePolicyProductTen) continue;  // checked below
        ExpectForced(fc, value);
        if (value.target == RuleSetTarget::Policy) forced.insert(value.id);
      }
    }
    // Nothing else moved.
    for (const PolicyRow& row : PolicyRows()) {
      if (forced.count(static_cast<int>(row.id)) || IsDerivedFromForced(row.id)) continue;
      SCOPED_TRACE(std::string(row.key));
      EXPECT_EQ(fc.Policy(row.id).set, 0);
      if (row.kind == PolicyKind::Text || row.kind == PolicyKind::Colour || row.kind == PolicyKind::Font) {
        EXPECT_STREQ(fc.GetText(row.id).GetText(), plain.GetText(row.id).GetText());
      } else {
        EXPECT_EQ(fc.GetInt(row.id), plain.GetInt(row.id));
      }
    }
    // The DOT_LEADERS colouring belongs to another product.
    EXPECT_EQ(fc.GetDefaultTabPolicy()->GetPolicy(TablePolicyId::ColourDotLeaders).setByRuleSet, 0);
    // A single indent column at 0, written and marked.
    const FileControl::IndentPositions& indent = fc.GetIndentPositions();
    EXPECT_EQ(indent.count, 1);
    EXPECT_EQ(indent.positions[0], 0);
    EXPECT_EQ(indent.present, 1);
    EXPECT_EQ(indent.setExplicitly, 1);
    EXPECT_STREQ(fc.GetText(PolicyId::DocumentTitle).GetText(),
                 "Converted from \"[_[FILENAME]_]\" on [_[TIMESTAMP]_] by [_[VERSION]_]");
  }
}

TEST(RuleSets, NoRuleSetForcesNothing) {
  FileControl fc;
  fc.ApplyDerivedDefaults(0, 0);
  for (const PolicyRow& row : PolicyRows()) EXPECT_EQ(fc.Policy(row.id).setByRuleSet, 0) << row.key;
  EXPECT_EQ(fc.GetIndentPositions().setExplicitly, 0);
}

TEST(RuleSets, UnknownCodeIsReportedAndForcesNothing) {
  FileControl fc;
  fc.Bool(PolicyId::DisplayMessages).value = 0;  // keep the test output quiet
  fc.SetRuleSet(3, 1);
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_STREQ(fc.GetLastMessage().GetText(), "UNSUPPORTED CASE: Unexpected Rule Set");
  EXPECT_EQ(fc.Int(PolicyId::PageWidth).setByRuleSet, 0);
}

TEST_F(RuleSetsWithContext, ExplicitValueSurvivesUnlessForced) {
  fc.Int(PolicyId::PageWidth).value = 72;
  fc.Int(PolicyId::PageWidth).set = 1;
  fc.SetRuleSet(kRuleSetPembrelle, 1);
  ctx.CodeLocation = kLocationAnalysis;  // the override note is a pass message
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 72);
  bool noted = false;
  for (const std::string& text : shown) noted |= text == "INFO: Ruleset overrided - Page Width : 72";
  EXPECT_TRUE(noted);

  // A second run leaves rule-set values alone; force makes the rule set win.
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 72);
  fc.ApplyDerivedDefaults(0, 1);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 80);
}

// ---- Derived defaults ----

struct LimitCase {
  int tab, tolerance, smallest, largest;
  int wantTab, wantTolerance, wantSmallest, wantLargest;
};
constexpr LimitCase kLimitCases[] = {
    {1, 1, 4, 2, 4, 2, 4, 2},  // TAB size below 2 becomes 4, not 2
    {2, 2, 4, 2, 2, 2, 4, 2},
    {0, 5, 2, 4, 4, 5, 3, 3},  // smallest below largest: both 3
    {8, 0, 9, 0, 8, 2, 6, 1},  // clamped into 1..6
    {8, 2, 0, 0, 8, 2, 1, 1},
};

TEST(DerivedDefaults, LimitsAndHeadingTags) {
  for (const LimitCase& c : kLimitCases) {
    SCOPED_TRACE(c.tab * 1000 + c.smallest * 10 + c.largest);
    FileControl fc;
    fc.Int(PolicyId::TABSize).value = c.tab;
    fc.Int(PolicyId::AutomaticCentringTolerance).value = c.tolerance;
    fc.Int(PolicyId::SmallestAllowedHnTag).value = c.smallest;
    fc.Int(PolicyId::LargestAllowedHnTag).value = c.largest;
    fc.ApplyDerivedDefaults(0, 0);
    EXPECT_EQ(fc.GetInt(PolicyId::TABSize), c.wantTab);
    EXPECT_EQ(fc.GetInt(PolicyId::AutomaticCentringTolerance), c.wantTolerance);
    EXPECT_EQ(fc.GetInt(PolicyId::SmallestAllowedHnTag), c.wantSmallest);
    EXPECT_EQ(fc.GetInt(PolicyId::LargestAllowedHnTag), c.wantLargest);
  }
}

struct EncodingCase {
  const char* encoding;
  bool languageSet;
  const char* language;  // expected choice text
  int lookForDiagrams;
  int preserveLines;
  int singleByte;
  int plain;
};
constexpr EncodingCase kEncodingCases[] = {
    {"koi8-r", false, "Russian", 0, 0, 1, 0},
    {"KOI8-R", false, "Russian", 0, 0, 1, 0},  // names ignore case
    {"koi8-r", true, "None", 0, 0, 1, 0},      // an explicit language stays
    {"gb2312", false, "None", 0, 0, 0, 0},
    {"shift_jis", false, "Japanese", 0, 0, 0, 0},
    {"iso-8859-9", false, "Turkish", 1, 0, 0, 1},
    {"windows-1256", false, "None", 0, 1, 1, 0},
    {"iso-8859-1", false, "None", 1, 0, 1, 1},
    {"", false, "None", 1, 0, 0, 1},
};

TEST(DerivedDefaults, EncodingDecidesLanguageDiagramsAndLineStructure) {
  for (const EncodingCase& c : kEncodingCases) {
    SCOPED_TRACE(std::string(c.encoding) + (c.languageSet ? " set" : ""));
    FileControl fc;
    fc.Text(PolicyId::CharacterEncoding).value = c.encoding;
    fc.Bool(PolicyId::InputFileContainsDOSCharacters).value = 1;
    if (c.languageSet) fc.List(PolicyId::LanguageForProofing).set = 1;
    fc.ApplyDerivedDefaults(0, 0);
    TextString language;
    fc.List(PolicyId::LanguageForProofing).GetValueText(language);
    EXPECT_STREQ(language.GetText(), c.language);
    EXPECT_EQ(fc.GetInt(PolicyId::LookForDiagrams), c.lookForDiagrams);
    EXPECT_EQ(fc.GetInt(PolicyId::PreserveLineStructure), c.preserveLines);
    EXPECT_EQ(fc.GetInt(PolicyId::LookForIndentation), c.preserveLines ? 0 : 1);
    EXPECT_EQ(fc.IsSingleByteEncoding(), c.singleByte);
    EXPECT_EQ(fc.IsPlainEncoding(), c.plain);
    const bool latin = c.encoding[0] == '\0' || std::string(c.encoding) == "iso-8859-1";
    EXPECT_EQ(fc.GetInt(PolicyId::InputFileContainsDOSCharacters), latin ? 1 : 0);
  }
}

TEST(DerivedDefaults, KeepItSimpleSwitchesOffStructure) {
  FileControl fc;
  fc.Bool(PolicyId::KeepItSimple).value = 1;
  fc.Bool(PolicyId::ExpectCapitalisedHeadings).value = 1;
  fc.Bool(PolicyId::ExpectCapitalisedHeadings).set = 1;  // explicit: stays
  fc.Bool(PolicyId::ExpectNumberedHeadings).set = 1;     // off in any case
  fc.Bool(PolicyId::ExpectNumberedHeadings).value = 1;
  fc.Bool(PolicyId::AttemptTABLEGeneration).value = 1;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::ExpectUnderlinedHeadings), 1);
  EXPECT_EQ(fc.GetInt(PolicyId::ExpectCapitalisedHeadings), 1);
  EXPECT_EQ(fc.GetInt(PolicyId::ExpectNumberedHeadings), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::ExpectContentsList), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::AttemptTABLEGeneration), 1);  // only an explicit "simple" stops tables

  fc.Bool(PolicyId::KeepItSimple).set = 1;
  fc.Bool(PolicyId::AttemptTABLEGeneration).set = 1;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::AttemptTABLEGeneration), 0);
  EXPECT_EQ(fc.IsSet(PolicyId::AttemptTABLEGeneration), 0);
}

struct ContentsCase {
  const char* name;
  int compositionUnit, splitLevel, expectContents, useExisting, addSet, add, externalSet, external;
  int wantAdd, wantExternal, wantUseExisting;
};
constexpr ContentsCase kContentsCases[] = {
    {"composition unit", 1, -1, 1, 1, 0, 0, 0, 0, 1, 1, 1},
    {"split adds a list", 0, 2, 1, 0, 0, 0, 0, 1, 1, 0, 0},
    {"split, explicit external stays", 0, 2, 1, 0, 0, 0, 1, 1, 1, 1, 0},
    {"no contents expected", 0, -1, 0, 1, 0, 1, 0, 0, 1, 0, 0},
    {"existing list replaces ours", 0, -1, 1, 1, 0, 1, 0, 0, 0, 0, 1},
    {"explicit external brings the list", 0, -1, 1, 0, 0, 0, 1, 1, 1, 1, 0},
    {"no list, no external", 0, -1, 1, 0, 0, 0, 0, 1, 0, 0, 0},
};

TEST(DerivedDefaults, ContentsList) {
  for (const ContentsCase& c : kContentsCases) {
    SCOPED_TRACE(c.name);
    FileControl fc;
    fc.Bool(PolicyId::InputFileIsACompositionUnit).value = c.compositionUnit;
    fc.Int(PolicyId::SplitLevel).value = c.splitLevel;
    fc.Bool(PolicyId::ExpectContentsList).value = c.expectContents;
    fc.Bool(PolicyId::UseAnyExistingContentsList).value = c.useExisting;
    fc.Bool(PolicyId::AddContentsList).value = c.add;
    fc.Bool(PolicyId::AddContentsList).set = c.addSet;
    fc.Bool(PolicyId::GenerateExternalContentsFile).value = c.external;
    fc.Bool(PolicyId::GenerateExternalContentsFile).set = c.externalSet;
    fc.ApplyDerivedDefaults(0, 0);
    EXPECT_EQ(fc.GetInt(PolicyId::AddContentsList), c.wantAdd);
    EXPECT_EQ(fc.GetInt(PolicyId::GenerateExternalContentsFile), c.wantExternal);
    EXPECT_EQ(fc.GetInt(PolicyId::UseAnyExistingContentsList), c.wantUseExisting);
  }
}

struct IndentMarkupCase {
  int version, code, codeSet, ruleSet;
  const char* open;
  const char* close;
  int wantCode;
};
constexpr const char* kMargin = "DIV STYLE=\"margin-left:24pt; margin-right:0pt;\"";
constexpr IndentMarkupCase kIndentMarkupCases[] = {
    {2, 1, 1, 0, "BLOCKQUOTE", "BLOCKQUOTE", 1},
    {2, 3, 1, 0, "DIV CLASS=\"indent\"", "DIV", 3},
    {2, -1, 1, 0, "UL DUMMY", "UL DUMMY", -1},
    {2, 7, 1, 0, kMargin, "DIV", 2},
    {2, 3, 0, 0, "BLOCKQUOTE", "BLOCKQUOTE", 1},  // not set explicitly
    {1, -1, 0, 0, "UL DUMMY", "UL DUMMY", -1},
    {1, 1, 1, 0, "BLOCKQUOTE", "BLOCKQUOTE", 1},
    {1, 3, 1, 0, "BLOCKQUOTE", "BLOCKQUOTE", 1},  // reported, see below
};

TEST(DerivedDefaults, IndentationMarkup) {
  for (const IndentMarkupCase& c : kIndentMarkupCases) {
    SCOPED_TRACE(c.version * 100 + c.code);
    FileControl fc;
    fc.Bool(PolicyId::DisplayMessages).value = 0;
    fc.List(PolicyId::HTMLVersionToBeTargeted).value = c.version;
    fc.Int(PolicyId::IndentationMarkupCode).value = c.code;
    fc.Int(PolicyId::IndentationMarkupCode).set = c.codeSet;
    fc.ApplyDerivedDefaults(0, 0);
    EXPECT_STREQ(fc.GetIndentOpenMarkup().GetText(), c.open);
    EXPECT_STREQ(fc.GetIndentCloseMarkup().GetText(), c.close);
    EXPECT_EQ(fc.GetInt(PolicyId::IndentationMarkupCode), c.wantCode);
  }
  FileControl fc;
  fc.Bool(PolicyId::DisplayMessages).value = 0;
  fc.List(PolicyId::HTMLVersionToBeTargeted).value = 1;
  fc.Int(PolicyId::IndentationMarkupCode).value = 3;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_STREQ(fc.GetLastMessage().GetText(),
               "WARNING: Indentation pattern 3 not supported in HTML 3.2.  Switching to BLOCKQUOTEs");
}

TEST(DerivedDefaults, EmphasisTagsAndListParagraphs) {
  FileControl fc;
  fc.ApplyDerivedDefaults(0, 0);  // <EM> and <STRONG> by default
  EXPECT_STREQ(fc.GetBoldOpenTag().GetText(), "<STRONG>");
  EXPECT_STREQ(fc.GetItalicCloseTag().GetText(), "</EM>");
  fc.Bool(PolicyId::UseEMAndSTRONGMarkup).value = 0;
  fc.Int(PolicyId::ListMarkupCode).value = 1;
  fc.Int(PolicyId::PInsideListUsageCode).value = 2;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_STREQ(fc.GetBoldCloseTag().GetText(), "</B>");
  EXPECT_STREQ(fc.GetItalicOpenTag().GetText(), "<I>");
  EXPECT_EQ(fc.GetInt(PolicyId::PInsideListUsageCode), 3);
  EXPECT_EQ(fc.IsSet(PolicyId::PInsideListUsageCode), 1);
  fc.Int(PolicyId::ListMarkupCode).value = 2;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::PInsideListUsageCode), 0);
}

TEST(DerivedDefaults, OlderEmphasisKeySpeaksForTheNewer) {
  FileControl fc;
  PolicySection& formatting = fc.GetPolicyList().GetSection(kTextFormattingSection);
  formatting.SetBool(130, 0, 1);
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(formatting.GetBool(126), 0);
  EXPECT_EQ(formatting.IsSet(126), 1);
  EXPECT_EQ(formatting.IsSet(130), 0);  // its mark follows its value
}

struct ExtensionCase {
  int dos, htm;
  const char* outputExtension;
  const char* want;
};
constexpr ExtensionCase kExtensionCases[] = {
    {1, 0, "", ".HTM"}, {0, 1, "", ".htm"}, {0, 0, ".xhtml", ".xhtml"}, {0, 0, "", ".html"},
};

TEST(DerivedDefaults, ExtensionWithoutContextFollowsTheHtmlPolicies) {
  for (const ExtensionCase& c : kExtensionCases) {
    SCOPED_TRACE(c.want);
    FileControl fc;
    fc.Bool(PolicyId::UseDOSFilenames).value = c.dos;
    fc.Bool(PolicyId::UseHTMExtension).value = c.htm;
    fc.Text(PolicyId::OutputFileExtension).value = c.outputExtension;
    fc.ApplyDerivedDefaults(0, 0);
    EXPECT_STREQ(fc.GetWorkingExtension().GetText(), c.want);
    if (c.dos) {
      EXPECT_EQ(fc.GetInt(PolicyId::UseHTMExtension), 1);
    }
  }
}

TEST_F(RuleSetsWithContext, RtfOutputGivesTenPointFontsUnlessSet) {
  fc.Font(PolicyId::HeadingFont).value = "Verdana, Bold, 14";
  fc.Font(PolicyId::HeadingFont).set = 1;
  fc.Bool(PolicyId::SearchForDefinitions).value = 1;
  fc.GetDefinitionChars().dashAccepted = 1;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_STREQ(fc.GetText(PolicyId::DefaultFont).GetText(), "Times New Roman, Regular, 10");
  EXPECT_STREQ(fc.GetText(PolicyId::FixedFont).GetText(), "Courier New, Regular, 8");
  EXPECT_STREQ(fc.GetText(PolicyId::HeadingFont).GetText(), "Verdana, Bold, 14");
  EXPECT_EQ(fc.GetInt(PolicyId::BaseFONTSizeInPts), 10);
  EXPECT_EQ(fc.GetInt(PolicyId::TextJustification), 4);
  EXPECT_EQ(fc.GetInt(PolicyId::SearchForDefinitions), 0);
  EXPECT_EQ(fc.GetDefinitionChars().dashAccepted, 0);
  EXPECT_STREQ(fc.GetWorkingExtension().GetText(), ".rtf");

  fc.Int(PolicyId::BaseFONTSizeInPts).value = 14;
  fc.Int(PolicyId::BaseFONTSizeInPts).set = 1;
  fc.ApplyDerivedDefaults(0, 0);
  EXPECT_EQ(fc.GetInt(PolicyId::BaseFONTSizeInPts), 14);
}

TEST(DerivedDefaults, HtmlOutputGivesTwelvePointFonts) {
  Context ctx{2, kOutputHtml};
  FileControl fc;
  fc.AttachContext(&ctx);
  EXPECT_STREQ(fc.GetText(PolicyId::DefaultFont).GetText(), "Times New Roman, Regular, 12");
  EXPECT_STREQ(fc.GetText(PolicyId::FixedFont).GetText(), "Courier New, Regular, 10");
  EXPECT_EQ(fc.GetInt(PolicyId::BaseFONTSizeInPts), 12);
  // A reset registers the fonts for the attached Context's output type, not this program's.
  fc.ResetPolicies(0);
  EXPECT_STREQ(fc.GetText(PolicyId::DefaultFont).GetText(), "Times New Roman, Regular, 12");
  EXPECT_EQ(fc.GetInt(PolicyId::BaseFONTSizeInPts), 12);
  EXPECT_STREQ(fc.GetWorkingExtension().GetText(), ".html");
}

// ---- Command settings ----

TEST_F(RuleSetsWithContext, DisabledQualifiersStillReachTheirPolicies) {
  ctx.Commands.addContentsList = 1;
  ctx.Commands.makeDirectory = 1;
  ctx.Commands.concatenate = 1;
  ctx.Commands.frames = 1;
  ctx.Commands.compositionUnit = 1;
  fc.Bool(PolicyId::AddContentsList).set = 1;  // an "on" switch beats an explicit "off"
  fc.Bool(PolicyId::ConcatenateResultsIntoOneFile).set = 1;  // but not for these
  fc.ApplyCommandSettings(ctx);
  for (const PolicyId id : {PolicyId::AddContentsList, PolicyId::MakeDirectory,
                            PolicyId::PlaceDocumentInFrames, PolicyId::InputFileIsACompositionUnit}) {
    SCOPED_TRACE(GetPolicyRow(id).key);
    EXPECT_EQ(fc.GetInt(id), 1);
    EXPECT_EQ(fc.IsSet(id), 1);
  }
  EXPECT_EQ(fc.GetInt(PolicyId::ConcatenateResultsIntoOneFile), 0);
}

TEST_F(RuleSetsWithContext, RuleSetNameFromTheCommandLine) {
  ctx.Commands.ruleSetName = "Pembrelle";
  fc.ApplyCommandSettings(ctx);
  EXPECT_EQ(fc.GetRuleSet(), kRuleSetPembrelle);
  EXPECT_EQ(fc.GetInt(PolicyId::PageWidth), 80);
  EXPECT_TRUE(shown.empty());

  FileControl other;
  other.AttachContext(&ctx);
  ctx.Commands.ruleSetName = "Fancy";
  other.ApplyCommandSettings(ctx);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), "CTX.Command ERROR: Unrecognised RuleSet \"Fancy\"");
  EXPECT_TRUE(ctx.Commands.ruleSetName.IsEmpty());
}

TEST(RuleSetsContext, SetWithoutRuleSetTakesTheOneChosenForTheRun) {
  Context ctx{2, kOutputRtf};
  FileControl chooser;
  chooser.AttachContext(&ctx);
  TextString line("Rule set to be used: ZUR");
  int category = 0;
  ASSERT_EQ(chooser.LoadPolicyLine(line, category, 0), FileControl::kPolicyLineDone);
  EXPECT_EQ(ctx.Commands.ruleSetCode, kRuleSetZur);
  FileControl later;
  later.AttachContext(&ctx);
  EXPECT_EQ(later.GetRuleSet(), kRuleSetZur);
  EXPECT_EQ(later.GetInt(PolicyId::HTMLVersionToBeTargeted), 1);
}

TEST(RuleSetsContext, FontTagAndPclSwitches) {
  struct Case {
    const char* name;
    int css, htmlVersion, suppress, pclPolicy;
    const char* encoding;
    int fontTags, pcl;
  };
  const Case cases[] = {
      {"CSS fonts", 1, 2, 0, 0, "", 0, 1},
      {"CSS needs HTML 4", 1, 1, 0, 0, "", 1, 1},
      {"no CSS", 0, 2, 0, 0, "", 1, 1},
      {"no font markup", 0, 2, 1, 0, "", 0, 1},
      {"PCL input", 0, 2, 0, 1, "", 1, 0},
      {"non-Latin encoding", 0, 2, 0, 0, "koi8-r", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Context ctx{2, kOutputHtml};
    FileControl fc;
    fc.AttachContext(&ctx);
    ctx.Commands.pclCodes = 1;
    fc.Bool(PolicyId::UseCSSToImplementFonts).value = c.css;
    fc.List(PolicyId::HTMLVersionToBeTargeted).value = c.htmlVersion;
    fc.Bool(PolicyId::SuppressAllFontMarkup).value = c.suppress;
    fc.Bool(PolicyId::InputFileContainsPCLCodes).value = c.pclPolicy;
    fc.Bool(PolicyId::InputFileContainsPCLCodes).set = c.pclPolicy;
    fc.Text(PolicyId::CharacterEncoding).value = c.encoding;
    fc.ApplyDerivedDefaults(0, 0);
    EXPECT_EQ(ctx.Commands.fontTags, c.fontTags);
    EXPECT_EQ(ctx.Commands.pclCodes, c.pcl);
  }
}

TEST(RuleSetsContext, CommandOffset) {
  struct Case {
    int level, shift, count, offset;
  };
  const Case cases[] = {
      {0, 0, 0, 0},   {2, 0, 0, -2},  {0, -1, 0, 1},  {0, -5, 0, 2},   {0, -7, 0, 3},
      {0, -9, 0, 4},  {0, -11, 0, 5}, {0, -11, 1, 0}, {0, -3, 2, 0},   {1, -9, 0, 3},
      {6, -9, 0, -1}, {9, 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.level << " " << c.shift << " " << c.count);
    Context ctx{2, kOutputRtf};
    FileControl fc;
    fc.AttachContext(&ctx);
    ctx.Commands.offsetLevel = c.level;
    ctx.Commands.offsetShift = c.shift;
    ctx.Commands.offsetCount = c.count;
    fc.ApplyCommandSettings(ctx);
    EXPECT_EQ(fc.CommandOffset, c.offset);
  }
}

TEST_F(RuleSetsWithContext, CommandSettingsFillWhatNobodySet) {
  ctx.Commands.simpleFile = 1;
  ctx.Commands.displayMessages = 0;
  ctx.Commands.dosNames = 1;
  ctx.Commands.logRequested = 1;
  ctx.Commands.logFileName = "run.log";
  ctx.Commands.outputFolder = "out/";
  ctx.Commands.debugTags = 0;
  fc.Bool(PolicyId::DisplayMessages).set = 1;  // silence wins even over an explicit setting
  fc.Bool(PolicyId::ShowTagsInOutput).value = 1;
  fc.Bool(PolicyId::ShowTagsInOutput).set = 1;  // an explicit setting beats an "off" switch
  fc.ApplyCommandSettings(ctx);

  EXPECT_EQ(fc.GetInt(PolicyId::KeepItSimple), 1);
  EXPECT_EQ(fc.IsSet(PolicyId::KeepItSimple), 1);
  EXPECT_EQ(fc.GetInt(PolicyId::DisplayMessages), 0);
  EXPECT_EQ(fc.GetInt(PolicyId::ShowTagsInOutput), 1);
  EXPECT_EQ(fc.GetInt(PolicyId::UseDOSFilenames), 1);
  EXPECT_STREQ(fc.GetWorkingExtension().GetText(), ".HTM");
  EXPECT_EQ(fc.GetInt(PolicyId::CreateALogFile), 1);
  EXPECT_STREQ(fc.GetText(PolicyId::OutputLogFilename).GetText(), "run.log");
  EXPECT_EQ(fc.IsSet(PolicyId::OutputLogFilename), 1);
  EXPECT_STREQ(fc.GetText(PolicyId::OutputDirectory).GetText(), "out/");
  EXPECT_EQ(fc.IsSet(PolicyId::OutputDirectory), 1);
  EXPECT_EQ(fc.IsSet(PolicyId::OutputPolicyFile), 0);  // an off switch marks nothing
}
