#include "policy/ConversionOptions.h"

#include <gtest/gtest.h>

#include <memory>

#include "policy/PolicySection.h"

class ConversionOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    policies_ = std::make_unique<PolicyList>();
    policies_->BuildSectionedPolicies();
  }
  PolicySection& Section(PolicySectionId id) { return policies_->GetSection(id); }
  std::unique_ptr<PolicyList> policies_;
};

TEST_F(ConversionOptionsTest, RecordDefaultsDifferFromPolicyDefaults) {
  const ConversionOptions record;
  const ConversionOptions read = ConversionOptions::ConversionOptionsFromPolicies(*policies_);
  struct Case {
    const char* what;
    int recordValue, readValue, recordExpected, readExpected;
  };
  const Case cases[] = {
      {"conversion mode", record.conversionMode, read.conversionMode, 7, 7},
      {"remove all tags", record.removeAllTags, read.removeAllTags, 1, 0},
      {"remove DOCTYPE", record.removeDoctypeTags, read.removeDoctypeTags, 0, 0},
      {"page width", record.pageWidth, read.pageWidth, 65, 76},
      {"table width", record.tableWidth, read.tableWidth, 0, 76},
      {"adjust table", record.adjustTableToPage, read.adjustTableToPage, 0, 1},
      {"mail detail", record.mailHeaderDetail, read.mailHeaderDetail, 9, 0},
      {"URL references", record.addUrlReferences, read.addUrlReferences, 1, 1},
      {"display URLs", record.displayLinkUrls, read.displayLinkUrls, 0, 0},
      {"plain characters", record.plainCharacters, read.plainCharacters, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.recordValue, c.recordExpected);
    EXPECT_EQ(c.readValue, c.readExpected);
  }
  EXPECT_STREQ(record.inlineImgTemplate.GetText(), "[IMG: <alt> <src>]");
  EXPECT_STREQ(read.inlineImgTemplate.GetText(), "[<alt>]");
  EXPECT_STREQ(record.removedLinkText.GetText(), "[link removed]");
  EXPECT_STREQ(read.removedLinkText.GetText(), "[removed link]");
  EXPECT_STREQ(record.textBulletChars.GetText(), "-,-,-,-,-,-,");
  EXPECT_STREQ(read.textBulletChars.GetText(), "middot,middot,middot,middot,middot,middot");
  EXPECT_STREQ(read.tableBorderChars.GetText(), "+-|");
  EXPECT_STREQ(read.tableDelimiter.GetText(), "|");
  EXPECT_STREQ(read.outputEncoding.GetText(), "auto");
}

TEST_F(ConversionOptionsTest, IndentPositionsRepeatTheLargestSoFar) {
  struct Case {
    const char* text;
    int positions[8];
  };
  const Case cases[] = {
      {"0,4,8,12,16,20,24,28", {0, 4, 8, 12, 16, 20, 24, 28}},
      {"0,8,,20", {0, 8, 8, 20, 20, 20, 20, 20}},
      {" 2 , x ,6", {2, 2, 6, 6, 6, 6, 6, 6}},
      {"10,5,7", {10, 10, 10, 10, 10, 10, 10, 10}},
      {"", {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Section(kTextFormattingSection).SetText(108, c.text, 1);
    const ConversionOptions read = ConversionOptions::ConversionOptionsFromPolicies(*policies_);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(read.indentPositions[k], c.positions[k]) << k;
  }
}

TEST_F(ConversionOptionsTest, TableWidthNeedsAnExplicitPositiveTarget) {
  struct Case {
    int target, mark, expected;
  };
  const Case cases[] = {{0, 1, 76}, {50, 1, 50}, {50, 0, 76}, {-3, 1, 76}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    Section(kTextTablesSection).ResetAll();
    Section(kTextTablesSection).SetInt(145, c.target, c.mark);
    EXPECT_EQ(ConversionOptions::ConversionOptionsFromPolicies(*policies_).tableWidth, c.expected);
  }
}

TEST_F(ConversionOptionsTest, FixUpRules) {
  ConversionOptions o;
  o.conversionMode = 6;
  o.addUrlReferences = 1;
  o.displayLinkUrls = 1;
  o.formatOutput = 0;
  o.FixUp();
  EXPECT_EQ(o.addUrlReferences, 0);
  EXPECT_EQ(o.displayLinkUrls, 0);  // mode 6 ends the rules

  o.conversionMode = 7;
  o.displayLinkUrls = 1;
  o.addUrlReferences = 1;
  o.formatOutput = 1;
  o.FixUp();
  EXPECT_EQ(o.addUrlReferences, 0);
  EXPECT_EQ(o.displayLinkUrls, 1);

  o.formatOutput = 0;
  o.displayLinkUrls = 0;
  o.addUrlReferences = 1;
  o.FixUp();
  EXPECT_EQ(o.addUrlReferences, 0);
  EXPECT_EQ(o.displayLinkUrls, 1);

  Section(kDataExtractionSection).SetInt(188, 2, 1);
  EXPECT_EQ(ConversionOptions::ConversionOptionsFromPolicies(*policies_).singleLineRows, 1);
}

TEST_F(ConversionOptionsTest, FirstLineIndentTextAndReadCounts) {
  Section(kTextFormattingSection).SetInt(113, 3, 1);
  const ConversionOptions read = ConversionOptions::ConversionOptionsFromPolicies(*policies_);
  EXPECT_STREQ(read.firstLineIndentText.GetText(), "   ");
  EXPECT_GE(Section(kDetagSection).Find(10)->readCount, 1);

  Section(kTextFormattingSection).SetInt(113, 2000000000, 1);
  EXPECT_EQ(ConversionOptions::ConversionOptionsFromPolicies(*policies_).firstLineIndentText.GetLength(),
            ConversionOptions::kMaxFirstLineIndent);
}
