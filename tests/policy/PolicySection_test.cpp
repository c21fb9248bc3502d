#include "policy/PolicySection.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "policy/KeyValueLine.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace {

std::string Str(const TextString& text) { return std::string(text.GetText(), text.GetLength()); }

std::vector<int> Ids(const PolicySection& section) {
  std::vector<int> ids;
  for (int i = 0; i < section.GetCount(); ++i) ids.push_back(section.pGetPolicyAt(i)->id);
  return ids;
}

// A section with one policy of each kind the typed reads know.
void AddSamplePolicies(PolicySection& section) {
  section.SetIdAndName(9, "[Sample]");
  ASSERT_EQ(section.AddPolicy(40, kTextPolicy, 9, 4, 0, "text", nullptr, "Words"), 1);
  ASSERT_EQ(section.AddPolicy(10, kIntPolicy, 9, 4, 76, nullptr, nullptr, "Width"), 1);
  ASSERT_EQ(section.AddPolicy(20, kBoolPolicy, 9, 4, 1, nullptr, nullptr, "Switch"), 1);
  ASSERT_EQ(section.AddPolicy(30, kColourPolicy, 9, 4, 0, "Silver", nullptr, "Shade"), 1);
  ASSERT_EQ(section.AddPolicy(50, kFontPolicy, 9, 4, 0, "Arial, Bold, 9", nullptr, "Face"), 1);
}

class MemoryFile {
 public:
  MemoryFile() {
    file.SetSink(&lines);
    EXPECT_TRUE(file.OpenForWrite("memory", 0, 0));
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < lines.GetCount(); ++i) out.emplace_back(lines.GetItem(i)->text.GetText());
    return out;
  }
  StringList lines;
  TextFile file;
};

}  // namespace

TEST(PolicySection, StartsUnnamedWithItsDefaults) {
  PolicySection section;
  EXPECT_EQ(section.GetId(), 0);
  EXPECT_EQ(Str(section.GetName()), "[Unknown]");
  EXPECT_EQ(section.GetInt(1), -1);
  EXPECT_EQ(section.GetBool(1), 0);
  EXPECT_EQ(Str(section.GetText(1)), "**void**");
  EXPECT_EQ(section.pGetPolicyAt(0), nullptr);
}

TEST(PolicySection, AddKeepsIdsAscendingAndRefusesDuplicatesAndBadKinds) {
  PolicySection section;
  EXPECT_EQ(section.AddPolicy(10, kIntPolicy, 1, 4, 0, nullptr, nullptr, "Ten"), 1);
  EXPECT_EQ(section.AddPolicy(5, kIntPolicy, 1, 4, 0, nullptr, nullptr, "Five"), 1);
  EXPECT_EQ(section.AddPolicy(7, kBoolPolicy, 1, 4, 0, nullptr, nullptr, "Seven"), 1);
  EXPECT_EQ(Ids(section), (std::vector<int>{5, 7, 10}));

  EXPECT_EQ(section.AddPolicy(7, kTextPolicy, 1, 4, 0, "x", nullptr, "Other"), 0);
  EXPECT_EQ(section.AddPolicy(8, 0, 1, 4, 0, nullptr, nullptr, "Zero"), 0);
  EXPECT_EQ(section.AddPolicy(8, 8, 1, 4, 0, nullptr, nullptr, "Eight"), 0);
  EXPECT_EQ(Ids(section), (std::vector<int>{5, 7, 10}));
  EXPECT_EQ(Str(section.Find(7)->key), "Seven");
  EXPECT_EQ(section.Find(7)->typeCode, kBoolPolicy);
  EXPECT_EQ(section.Find(8), nullptr);
}

TEST(PolicySection, TypedReadsAnswerOnlyForTheirKindAndCountReads) {
  PolicySection section;
  AddSamplePolicies(section);
  struct Case {
    const char* what;
    int id;
    int asInt;
    int asBool;
    const char* asText;
  };
  constexpr Case kCases[] = {
      {"int", 10, 76, 0, "**void**"},     {"bool", 20, -1, 1, "**void**"},
      {"colour", 30, -1, 0, "Silver"},    {"text", 40, -1, 0, "text"},
      {"font", 50, -1, 0, "**void**"},    {"missing", 99, -1, 0, "**void**"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(section.GetInt(c.id), c.asInt);
    EXPECT_EQ(section.GetBool(c.id), c.asBool);
    EXPECT_EQ(Str(section.GetText(c.id)), c.asText);
    const CorePolicy* policy = section.Find(c.id);
    if (policy != nullptr) {
      // Exactly one of the three reads matched the kind, except for the font.
      EXPECT_EQ(policy->readCount, c.id == 50 ? 0 : 1);
    }
  }
}

TEST(PolicySection, SettersKeepAnExistingMarkWhenGivenNone) {
  PolicySection section;
  AddSamplePolicies(section);
  EXPECT_EQ(section.SetInt(20, 5, 1), 0);  // a bool
  EXPECT_EQ(section.SetBool(10, 1, 1), 0); // an int
  EXPECT_EQ(section.SetText(50, TextString("x"), 1), 0);  // a font

  EXPECT_EQ(section.SetInt(10, 80, 0), 1);
  EXPECT_EQ(section.GetInt(10), 80);
  EXPECT_EQ(section.IsSet(10), 0);
  EXPECT_EQ(section.SetInt(10, 81, 1), 1);
  EXPECT_EQ(section.IsSet(10), 1);
  EXPECT_EQ(section.SetInt(10, 82, 0), 1);
  EXPECT_EQ(section.IsSet(10), 1);

  EXPECT_EQ(section.SetText(30, TextString("Navy"), 1), 1);
  EXPECT_EQ(Str(section.GetText(30)), "Navy");
  EXPECT_EQ(section.SetBool(20, 0, 1), 1);
  EXPECT_EQ(section.GetBool(20), 0);

  EXPECT_EQ(section.SetSetMark(40, 1), section.Find(40));
  EXPECT_EQ(section.IsSet(40), 1);
  EXPECT_EQ(section.SetSetMark(41, 1), nullptr);
  EXPECT_EQ(section.IsSet(41), 0);

  section.ResetAll();
  EXPECT_EQ(section.GetInt(10), 76);
  EXPECT_EQ(Str(section.GetText(30)), "Silver");
  EXPECT_EQ(section.IsSet(10) + section.IsSet(40), 0);
}

TEST(PolicySection, CopyAndMergeMatchPoliciesById) {
  PolicySection target;
  PolicySection source;
  AddSamplePolicies(target);
  AddSamplePolicies(source);
  source.AddPolicy(60, kIntPolicy, 9, 4, 3, nullptr, nullptr, "Only in source");
  source.SetInt(10, 90, 1);
  source.SetBool(20, 0, 0);  // changed but not set

  target.MergeFrom(0, source);
  EXPECT_EQ(target.GetInt(10), 90);
  EXPECT_EQ(target.IsSet(10), 0);
  EXPECT_EQ(target.GetBool(20), 1);
  EXPECT_EQ(target.Find(60), nullptr);

  target.MergeFrom(1, source);
  EXPECT_EQ(target.IsSet(10), 1);

  PolicySection copy;
  AddSamplePolicies(copy);
  copy.SetSetMark(40, 1);
  copy.CopyFrom(source);
  EXPECT_EQ(copy.GetInt(10), 90);
  EXPECT_EQ(copy.IsSet(10), 1);
  EXPECT_EQ(copy.GetBool(20), 0);
  EXPECT_EQ(copy.IsSet(40), 0);
}

TEST(PolicySection, WritesNothingWhenNothingIsSetAndOnlyAskedForSet) {
  PolicySection section;
  AddSamplePolicies(section);
  MemoryFile none;
  EXPECT_EQ(section.Write(none.file, 0), 1);
  EXPECT_TRUE(none.Lines().empty());

  section.SetInt(10, 80, 1);
  MemoryFile some;
  EXPECT_EQ(section.Write(some.file, 0), 1);
  const std::vector<std::string> expected = {"", "", "[Sample]", "",
                                             "Width" + std::string(37, ' ') + ": 80 "};
  EXPECT_EQ(some.Lines(), expected);

  MemoryFile all;
  section.Write(all.file, 1);
  ASSERT_EQ(all.Lines().size(), 9u);
  EXPECT_EQ(all.Lines()[5], "Switch" + std::string(36, ' ') + ": Yes");
  EXPECT_EQ(all.Lines()[8], "Face" + std::string(38, ' ') + ": Arial, Bold, 9");
}

TEST(PolicySection, ParseLineTakesItsHeaderAndOffersPoliciesInIdOrder) {
  PolicySection section;
  AddSamplePolicies(section);
  KeyValueLine line;
  ParseKeyValueLine(line, nullptr, 0, TextString("[SAMPLE]"));
  EXPECT_EQ(section.ParseLine(line), 1);
  EXPECT_EQ(line.consumed, 1);
  EXPECT_EQ(line.category, 2);

  ParseKeyValueLine(line, nullptr, 0, TextString("shade: ff0000"));
  EXPECT_EQ(section.ParseLine(line), 1);
  EXPECT_EQ(Str(section.GetText(30)), "Red");
  EXPECT_EQ(line.category, 4);

  ParseKeyValueLine(line, nullptr, 0, TextString("Unknown: 1"));
  EXPECT_EQ(section.ParseLine(line), 0);
  EXPECT_EQ(line.consumed, 0);
}

// ---- The sectioned table ----

TEST(PolicyList, BuildsFifteenNamedSectionsWithTheirPolicies) {
  PolicyList list;
  list.BuildSectionedPolicies();
  struct Case {
    int position;
    PolicySectionId id;
    const char* name;
    int count;
  };
  constexpr Case kCases[] = {
      {0, kControlSection, "[Control]", 1},
      {1, kDetagSection, "[Detag]", 24},
      {2, kDetagTablesSection, "[Detag tables]", 5},
      {3, kTagManipulationSection, "[Tag Manipulation]", 6},
      {4, kMailTidySection, "[Mail Tidy]", 6},
      {5, kTextFormattingSection, "[Text formatting]", 35},
      {6, kTextHeadersFootersSection, "[Text headers/footers]", 1},
      {7, kTextHyperlinksSection, "[Text hyperlinks]", 13},
      {8, kTextTablesSection, "[Text tables]", 18},
      {9, kDataExtractionSection, "[Data extraction]", 9},
      {10, kRtfHelpFilesSection, "[RTF Help files]", 6},
      {11, kPdfHeadersFootersSection, "[PDF headers and footers]", 3},
      {12, kPdfTypesettingSection, "[PDF typesetting]", 2},
      {13, kTextConversionSection, "[Text conversion]", 2},
      {14, kConversionCharacteristicsSection, "[Conversion characteristics]", 2},
  };
  int total = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const PolicySection& section = list.GetSectionAt(c.position);
    EXPECT_EQ(&section, &list.GetSection(c.id));
    EXPECT_EQ(section.GetId(), c.id);
    EXPECT_EQ(Str(section.GetName()), c.name);
    EXPECT_EQ(section.GetCount(), c.count);
    total += section.GetCount();

    std::set<std::string> keys;
    int previousId = -1;
    for (int i = 0; i < section.GetCount(); ++i) {
      const CorePolicy* policy = section.pGetPolicyAt(i);
      EXPECT_GT(policy->id, previousId);
      previousId = policy->id;
      std::string key = Str(policy->key);
      for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
    }
  }
  EXPECT_EQ(total, 133);
}

TEST(PolicyList, TableDefaultsKindsAndCategoriesArrive) {
  PolicyList list;
  list.BuildSectionedPolicies();
  struct Case {
    PolicySectionId section;
    int id;
    PolicyType type;
    int storedSection;
    int category;
    const char* key;
  };
  constexpr Case kCases[] = {
      {kControlSection, 5, kIntPolicy, 1, 4, "Conversion Mode"},
      {kDetagTablesSection, 27, kBoolPolicy, 2, 4, "Remove HTML table tags"},
      {kTextHeadersFootersSection, 175, kBoolPolicy, 10, 4,
       "Allow by-line to be used for Author field"},
      {kTextFormattingSection, 130, kBoolPolicy, 10, 4, "Highlight *bold* and _italic_ text"},
      {kTextHyperlinksSection, 130, kBoolPolicy, 12, 4, "Omit email hyperlinks from the output"},
      {kDataExtractionSection, 191, kTextPolicy, 13, 4, "Table delimiter character"},
      {kDataExtractionSection, 185, kBoolPolicy, 4, 4, "Only show data in tables"},
      {kRtfHelpFilesSection, 214, kColourPolicy, 7, 4, "Help title background colour"},
      {kConversionCharacteristicsSection, 225, kTextPolicy, 15, 1, "Input text encoding"},
      {kConversionCharacteristicsSection, 226, kTextPolicy, 15, 3, "Output text encoding"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.key);
    const CorePolicy* policy = list.GetSection(c.section).Find(c.id);
    ASSERT_NE(policy, nullptr);
    EXPECT_EQ(policy->typeCode, c.type);
    EXPECT_EQ(policy->sectionId, c.storedSection);
    EXPECT_EQ(policy->category, c.category);
    EXPECT_EQ(Str(policy->key), c.key);
  }

  PolicySection& control = list.GetSection(kControlSection);
  EXPECT_EQ(control.GetInt(5), 7);
  PolicySection& tables = list.GetSection(kTextTablesSection);
  EXPECT_EQ(Str(tables.GetText(168)), "+-|");
  EXPECT_EQ(tables.GetInt(148), 75);
  PolicySection& extraction = list.GetSection(kDataExtractionSection);
  EXPECT_EQ(Str(extraction.GetText(191)), "|");
  EXPECT_EQ(extraction.GetInt(186), -1);
  PolicySection& help = list.GetSection(kRtfHelpFilesSection);
  EXPECT_EQ(Str(help.GetText(215)), "FFFFE0");
  PolicySection& detag = list.GetSection(kDetagSection);
  EXPECT_EQ(detag.GetBool(23), 1);
  EXPECT_EQ(detag.GetBool(10), 0);
  EXPECT_EQ(Str(list.GetSection(kPdfHeadersFootersSection).GetText(231)), "- [[page]] -");
  EXPECT_EQ(Str(list.GetSection(kTextFormattingSection).GetText(128)), "*,=,-,~,.,,");
}

TEST(PolicyList, ConversionModeAdjustsTheDetagSwitches) {
  struct Case {
    const char* what;
    int presetMark;
    int mode;
    int force;
    int adjust;
    int expectedMode;
    int removeAll;
    int removeHtml;
    int removeNonHtml;
  };
  constexpr Case kCases[] = {
      {"mode 6 clears two", 0, 6, 0, 1, 6, 0, 0, 1},
      {"other mode sets three", 0, 3, 0, 1, 3, 1, 1, 1},
      {"no adjust", 0, 6, 0, 0, 6, 0, 0, 1},
      {"set mode kept", 1, 6, 0, 1, 7, 0, 0, 1},
      {"forced over set mode", 1, 6, 1, 1, 6, 0, 0, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    PolicyList list;
    list.BuildSectionedPolicies();
    PolicySection& detag = list.GetSection(kDetagSection);
    detag.SetBool(kRemoveAllNonHtmlTagsPolicy, 0, 0);
    detag.SetBool(kRemoveAllTagsPolicy, c.mode == 6 ? 1 : 0, 0);
    list.GetSection(kControlSection).SetSetMark(kConversionModePolicy, c.presetMark);
    list.SetConversionMode(c.mode, c.force, 1, c.adjust);
    EXPECT_EQ(list.GetSection(kControlSection).GetInt(kConversionModePolicy), c.expectedMode);
    if (c.presetMark && !c.force) continue;
    EXPECT_EQ(list.GetSection(kControlSection).IsSet(kConversionModePolicy), 1);
    if (!c.adjust) continue;
    EXPECT_EQ(detag.GetBool(kRemoveAllTagsPolicy), c.removeAll);
    EXPECT_EQ(detag.GetBool(kRemoveAllHtmlTagsPolicy), c.removeHtml);
    if (c.mode != 6) {
      EXPECT_EQ(detag.GetBool(kRemoveAllNonHtmlTagsPolicy), c.removeNonHtml);
    }
    // The switches follow the mode without becoming explicit settings.
    EXPECT_EQ(detag.IsSet(kRemoveAllTagsPolicy) + detag.IsSet(kRemoveAllHtmlTagsPolicy) +
                  detag.IsSet(kRemoveAllNonHtmlTagsPolicy),
              0);
  }
}

TEST(PolicyList, ResetToDefaultsResetsEverySection) {
  PolicyList list;
  list.BuildSectionedPolicies();
  list.GetSection(kMailTidySection).SetInt(204, 8, 1);
  list.GetSection(kTextConversionSection).SetText(220, TextString("<x>"), 1);
  list.ResetToDefaults();
  EXPECT_EQ(list.GetSection(kMailTidySection).GetInt(204), 0);
  EXPECT_EQ(list.GetSection(kMailTidySection).IsSet(204), 0);
  EXPECT_EQ(Str(list.GetSection(kTextConversionSection).GetText(220)), "<si>");
}

TEST(IsPolicySectionHeader, KnowsTheNamesAndRuledLines) {
  struct Case {
    const char* line;
    int header;
  };
  constexpr Case kCases[] = {
      {"[Style]", 1},
      {"[STYLE]", 1},
      {"[style]:", 0},
      {"[Style] \"x\"", 0},
      {"[General Analysis]", 1},
      {"[Table generation]", 1},
      {"[Switch to file]", 1},
      {"[Pre-formatted text]", 1},
      {" [Style]", 0},
      {"[Detag]", 0},
      {"[Control]", 0},
      {"[Unknown section]", 0},
      {"-----", 1},
      {"anything ------ here", 1},
      {"----", 0},
      {"----- a: b", 0},
      {"\"-----\"", 0},
      {"", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(IsPolicySectionHeader(TextString(c.line)), c.header);
  }
}
