#include "engine/HtmlTagDictionary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class HtmlTagDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { dictionary.Build(kHtmlFlavour4); }
  HtmlTagDictionary dictionary;
};

struct ClassifyCase {
  const char* name;
  int kind;
};
constexpr ClassifyCase kClassifyCases[] = {
    {"P", kHtmlTagStandard},
    {"/p", kHtmlTagStandard},
    {" FONT ", kHtmlTagDeprecated},
    {"/font", kHtmlTagDeprecated},
    {"marquee", kHtmlTagExtension},
    {"!DOCTYPE", kHtmlTagDeclaration},
    {"?xml", kHtmlTagDeclaration},
    {"xml", kHtmlTagExtension},
    {"blah", kHtmlTagUnknown},
    {"", kHtmlTagUnknown},
    {"h7", kHtmlTagUnknown},
    // Added as standard and again as deprecated: the standard answer wins.
    {"caption", kHtmlTagStandard},
    {"tbody", kHtmlTagStandard},
    {"var", kHtmlTagStandard},
};

TEST_F(HtmlTagDictionaryTest, ClassifiesTagNames) {
  for (const ClassifyCase& c : kClassifyCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(dictionary.ClassifyTag(c.name), c.kind);
  }
}

struct AttributeCase {
  const char* tag;
  const char* attribute;
  int answer;
};
constexpr AttributeCase kAttributeCases[] = {
    {"a", "HREF", kHtmlAttributeAllowed},
    {"a", "onclick", kHtmlAttributeAllowed},  // events group
    {"a", "lang", kHtmlAttributeAllowed},     // language group
    {"A ", " id ", kHtmlAttributeAllowed},    // blanks trimmed on both
    {"base", "id", kHtmlAttributeUnknown},    // no groups
    {"base", "target", kHtmlAttributeAllowed},
    {"br", "id", kHtmlAttributeAllowed},       // core only
    {"br", "onclick", kHtmlAttributeUnknown},  // no events group
    {"br", "clear", kHtmlAttributeDeprecated},
    {"img", "align", kHtmlAttributeDeprecated},
    {"img", "dynsrc", kHtmlAttributeExtension},
    {"img", "bogus", kHtmlAttributeUnknown},
    {"font", "face", kHtmlAttributeDeprecated},
    {"font", "color", kHtmlAttributeAllowed},
    {"isindex", "prompt", kHtmlAttributeAllowed},
    {"center", "id", kHtmlAttributeUnknown},
    {"caption", "align", kHtmlAttributeDeprecated},
    {"button", "type", kHtmlAttributeAllowed},  // allowed before extension
    {"body", "topmargin", kHtmlAttributeExtension},
    {"body", "bgcolor", kHtmlAttributeDeprecated},
    {"input", "accept", kHtmlAttributeAllowed},
    {"!doctype", "x", kHtmlAttributeUnknown},
    {"blah", "x", kHtmlAttributeTagUnknown},
    // The tag is known, but the entry scan does not strip the slash.
    {"/a", "href", kHtmlAttributeTagUnknown},
};

TEST_F(HtmlTagDictionaryTest, ChecksAttributes) {
  for (const AttributeCase& c : kAttributeCases) {
    SCOPED_TRACE(std::string(c.tag) + " " + c.attribute);
    EXPECT_EQ(dictionary.CheckAttribute(c.tag, c.attribute), c.answer);
  }
}

TEST_F(HtmlTagDictionaryTest, HoldsEveryHtml4TagOnce) {
  EXPECT_EQ(dictionary.GetCount(), 107);
  int counts[5] = {};
  std::set<std::string> names;
  int repeats = 0;
  for (int i = 0; i < dictionary.GetCount(); ++i) {
    const HtmlTagInfo* info = dictionary.GetEntry(i);
    ASSERT_NE(info, nullptr);
    ASSERT_GE(info->kind, 1);
    ASSERT_LE(info->kind, 4);
    ++counts[info->kind];
    if (!names.insert(info->name.GetText()).second) {
      ++repeats;
      EXPECT_STREQ(info->name.GetText(), "caption");
    }
  }
  EXPECT_EQ(counts[kHtmlTagDeclaration], 2);
  EXPECT_EQ(counts[kHtmlTagStandard], 80);
  EXPECT_EQ(counts[kHtmlTagExtension], 13);
  EXPECT_EQ(counts[kHtmlTagDeprecated], 12);
  EXPECT_EQ(repeats, 1);
  EXPECT_EQ(dictionary.GetEntry(107), nullptr);
  EXPECT_EQ(dictionary.GetEntry(-1), nullptr);
}

TEST(HtmlTagDictionary, TrimsNamesAndSkipsEmptyFields) {
  HtmlTagDictionary dictionary;
  dictionary.AddTag(" widget ", kHtmlTagStandard, 0, "width , ,height,", " old ", nullptr);
  ASSERT_EQ(dictionary.GetCount(), 1);
  const HtmlTagInfo& info = *dictionary.GetEntry(0);
  EXPECT_STREQ(info.name.GetText(), "widget");
  ASSERT_EQ(info.allowed.GetCount(), 2);
  EXPECT_EQ(dictionary.ClassifyTag("WIDGET"), kHtmlTagStandard);
  EXPECT_EQ(dictionary.CheckAttribute("widget", "width"), kHtmlAttributeAllowed);
  EXPECT_EQ(dictionary.CheckAttribute("widget", "old"), kHtmlAttributeDeprecated);
  EXPECT_EQ(dictionary.CheckAttribute("widget", ""), kHtmlAttributeUnknown);
}

TEST(HtmlTagDictionary, AddTagOfAnotherKindEntersNoNameSet) {
  HtmlTagDictionary dictionary;
  dictionary.AddTag("odd", kHtmlTagExtension, 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(dictionary.ClassifyTag("odd"), kHtmlTagUnknown);
  dictionary.AddExtensionTag("odd2", 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(dictionary.ClassifyTag("odd2"), kHtmlTagExtension);
}

TEST(HtmlTagDictionary, ClearAndRebuildForgetEarlierTags) {
  HtmlTagDictionary dictionary;
  dictionary.AddDeclaration("mine", 0, nullptr, nullptr, nullptr);
  dictionary.Build(kHtmlFlavour4);
  EXPECT_EQ(dictionary.ClassifyTag("mine"), kHtmlTagUnknown);
  EXPECT_EQ(dictionary.GetCount(), 107);
  dictionary.Clear();
  EXPECT_EQ(dictionary.GetCount(), 0);
  EXPECT_EQ(dictionary.ClassifyTag("p"), kHtmlTagUnknown);
  // A flavour without contents builds an empty dictionary.
  dictionary.Build(3);
  EXPECT_EQ(dictionary.GetFlavour(), 3);
  EXPECT_EQ(dictionary.GetCount(), 0);
}

}  // namespace
