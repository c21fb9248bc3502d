#include "policy/PolicyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

static std::string Folded(std::string_view key) {
  std::string s(key);
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

TEST(PolicyTable, KeysAreUniqueIgnoringCase) {
  std::set<std::string> seen;
  for (const PolicyRow& row : PolicyRows()) {
    EXPECT_TRUE(seen.insert(Folded(row.key)).second) << "duplicate: " << row.key;
  }
  EXPECT_EQ(seen.size(), kPolicyCount);
}

TEST(PolicyTable, KindCountsAndCategories) {
  int counts[8] = {};
  for (const PolicyRow& row : PolicyRows()) {
    ++counts[static_cast<int>(row.kind)];
    EXPECT_GE(row.category, 1) << row.key;
    EXPECT_LE(row.category, 4) << row.key;
  }
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Bool)], 129);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Int)], 39);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Align)], 1);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Text)], 59);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Colour)], 12);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::Font)], 5);
  EXPECT_EQ(counts[static_cast<int>(PolicyKind::List)], 3);
}

TEST(PolicyTable, FindResolvesEveryKeyIgnoringCaseAndBlanks) {
  for (const PolicyRow& row : PolicyRows()) {
    SCOPED_TRACE(std::string(row.key));
    EXPECT_EQ(FindPolicyRow(row.key), &row);
    EXPECT_EQ(FindPolicyRow(" \t" + Folded(row.key) + "  "), &row);
  }
  // Both spellings of the contents font name the same policy.
  const PolicyRow* font = FindPolicyRow("Table of Contents font");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->id, PolicyId::TableOfContentsFont);
  EXPECT_EQ(font->rtfKey, "Table of Contents font");
  EXPECT_EQ(font->key, "Table of contents font");
}

TEST(PolicyTable, FindRefusesNearMisses) {
  for (const char* key : {"", "Page Widt", "Page Width:", "Page  Width", "Rule set to be used",
                          "Remove all tags", "Link definition"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(FindPolicyRow(key), nullptr);
  }
}

// Rows checked against their written form, one from each kind and each odd corner.
struct RowCase {
  const char* key;
  PolicyKind kind;
  int value;
  const char* text;
  int category;
  PolicyFileSection section;
};
static const RowCase kRowCases[] = {
    {"Error reporting level", PolicyKind::Int, 5, "", 4, PolicyFileSection::Messages},
    {"Suppress URL messages", PolicyKind::Bool, 1, "", 3, PolicyFileSection::Messages},
    {"Folio block structure", PolicyKind::Text, 0,
     "FOLIO_FOOTER,FOLIO_HR,FOLIO_COMMENT,PAGE_HEAD,PAGHD,FOLIO_TABHD", 4, PolicyFileSection::Pembrelle},
    {"Directive delimiter", PolicyKind::Text, 0, "$_$_", 2, PolicyFileSection::Tagging},
    {"Text justification", PolicyKind::Align, 1, "", 4, PolicyFileSection::GeneralAnalysis},
    {"New Paragraph Offset", PolicyKind::Int, -1, "", 2, PolicyFileSection::GeneralAnalysis},
    {"Look for *this* and _that_ emphasis", PolicyKind::Bool, 1, "", 4, PolicyFileSection::GeneralAnalysis},
    {"Recognise '-' as a bullet", PolicyKind::Bool, 1, "", 2, PolicyFileSection::Bullets},
    {"Minimum automatic <PRE> size", PolicyKind::Int, -1, "", 2, PolicyFileSection::PreformattedText},
    {"Character encoding", PolicyKind::Text, 0, "", 1, PolicyFileSection::AddedHtml},
    {"Active Link Colour", PolicyKind::Colour, 0, "", 3, PolicyFileSection::AddedHtml},
    {"Left margin (in cm)", PolicyKind::Text, 0, "3.175", 3, PolicyFileSection::AddedRtf},
    {"Paper size", PolicyKind::List, 3, "", 3, PolicyFileSection::AddedRtf},
    {"Output frame name", PolicyKind::Text, 0, "*_frame.html", 3, PolicyFileSection::Frames},
    {"New browser window name", PolicyKind::Text, 0, "other", 4, PolicyFileSection::Hyperlinks},
    {"HTML version to be targeted", PolicyKind::List, 2, "", 3, PolicyFileSection::FileGeneration},
    {"Omit <HEAD> and <BODY> from output", PolicyKind::Bool, 0, "", 1, PolicyFileSection::FileGeneration},
    {"Directory return hyperlink text", PolicyKind::Text, 0, "Directory", 4, PolicyFileSection::DirectoryPage},
    {"Fixed font", PolicyKind::Font, 0, "Courier New, Regular, 10", 3, PolicyFileSection::Style},
    {"Max length of candidate table lines", PolicyKind::Int, 256, "", 2, PolicyFileSection::PageFormatting},
    {"Link Dictionary file", PolicyKind::Text, 0, "", 4, PolicyFileSection::LinkDictionary},
    {"<P> inside list usage code", PolicyKind::Int, 1, "", 3, PolicyFileSection::NotWritten},
    {"Output log filename", PolicyKind::Text, 0, "Kelvane.log", 3, PolicyFileSection::NotWritten},
};

TEST(PolicyTable, RowsHoldTheirWrittenDefaults) {
  for (const RowCase& c : kRowCases) {
    SCOPED_TRACE(c.key);
    const PolicyRow* row = FindPolicyRow(c.key);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->key, c.key);
    EXPECT_EQ(row->kind, c.kind);
    EXPECT_EQ(row->category, c.category);
    EXPECT_EQ(row->section, c.section);
    if (c.kind == PolicyKind::Text || c.kind == PolicyKind::Colour || c.kind == PolicyKind::Font) {
      EXPECT_EQ(row->defaultText, c.text);
    } else {
      EXPECT_EQ(row->defaultValue, c.value);
    }
  }
}

TEST(PolicyTable, WriteAndReadRules) {
  EXPECT_EQ(FindPolicyRow("Split level")->writeRule, PolicyWriteRule::NoneAtOrBelowZero);
  EXPECT_EQ(FindPolicyRow("Page Width")->writeRule, PolicyWriteRule::Plain);
  EXPECT_EQ(FindPolicyRow("Fragments file")->writeRule, PolicyWriteRule::OnlyWhenSet);
  EXPECT_EQ(FindPolicyRow("Author URL")->writeRule, PolicyWriteRule::OnlyWhenSet);
  EXPECT_EQ(FindPolicyRow("Display messages")->writeRule, PolicyWriteRule::Never);
  EXPECT_EQ(FindPolicyRow("Output file extension")->readRule, PolicyReadRule::NotAccepted);
  EXPECT_EQ(FindPolicyRow("Bullet point characters")->readRule, PolicyReadRule::WhileUnset);
  EXPECT_EQ(FindPolicyRow("Colour REDLINE sections")->readRule, PolicyReadRule::ProductTen);
  int optional = 0;
  for (const PolicyRow& row : PolicyRows()) optional += row.writeRule == PolicyWriteRule::NoneAtOrBelowZero;
  EXPECT_EQ(optional, 11);
}

TEST(PolicyTable, ChoiceTexts) {
  int fields = 1;
  for (const char c : kLanguageChoices) fields += c == ',';
  EXPECT_EQ(fields, 78);
  EXPECT_TRUE(kLanguageChoices.starts_with("None,Afrikaans,Albanian,"));
  EXPECT_TRUE(kLanguageChoices.ends_with(",Swedish,Turkish,Ukrainian"));
  EXPECT_NE(kLanguageChoices.find(",Spanish (Peurto Rico),"), std::string_view::npos);
  EXPECT_EQ(kHtmlVersionChoices, "HTML 3.2,HTML 4.0 Transitional,HTML 4.0 Strict");
  EXPECT_TRUE(kPaperSizeChoices.starts_with("A3,A3 Extra,A4,"));
}

TEST(PolicyTable, SectionNames) {
  EXPECT_EQ(PolicyFileSectionName(PolicyFileSection::Messages), "[Messages]");
  EXPECT_EQ(PolicyFileSectionName(PolicyFileSection::PreformattedText), "[Pre-formatted text]");
  EXPECT_EQ(PolicyFileSectionName(PolicyFileSection::LinkDictionary), "[Link Dictionary]");
  EXPECT_EQ(PolicyFileSectionName(PolicyFileSection::NotWritten), "");
}
