#include "policy/FileControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "policy/TableAnalysisPolicies.h"

// Value and marks of one policy, as text, so whole sets can be compared.
static std::string Describe(const CorePolicy& policy) {
  std::string out(policy.key.GetText());
  out += '=';
  if (const auto* scalar = dynamic_cast<const ScalarPolicy*>(&policy)) {
    out += std::to_string(scalar->value);
  } else if (const auto* text = dynamic_cast<const TextValuePolicy*>(&policy)) {
    out += text->value.GetText();
  }
  out += policy.set ? " set" : "";
  out += policy.setByRuleSet ? " rule" : "";
  return out;
}

static std::vector<std::string> Snapshot(const FileControl& fc) {
  std::vector<std::string> all;
  for (const PolicyRow& row : PolicyRows()) all.push_back(Describe(fc.Policy(row.id)));
  for (int s = 0; s < kPolicySectionCount; ++s) {
    const PolicySection& section = fc.GetPolicyList().GetSectionAt(s);
    for (int i = 0; i < section.GetCount(); ++i) all.push_back(Describe(*section.pGetPolicyAt(i)));
  }
  const FileControl::IndentPositions& indent = fc.GetIndentPositions();
  all.push_back("indent " + std::to_string(indent.count) + " " + std::to_string(indent.setExplicitly));
  all.push_back("groups " + std::to_string(fc.GetUsenetGroups().GetCount()));
  return all;
}

static void ExpectSameSnapshots(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i], b[i]);
}

static bool IsKind(const CorePolicy& policy, PolicyKind kind) {
  switch (kind) {
    case PolicyKind::Int: return dynamic_cast<const IntPolicy*>(&policy) != nullptr;
    case PolicyKind::Bool: return dynamic_cast<const BoolPolicy*>(&policy) != nullptr;
    case PolicyKind::Text: return dynamic_cast<const TextPolicy*>(&policy) != nullptr;
    case PolicyKind::Align: return dynamic_cast<const AlignPolicy*>(&policy) != nullptr;
    case PolicyKind::Colour: return dynamic_cast<const ColourPolicy*>(&policy) != nullptr;
    case PolicyKind::Font: return dynamic_cast<const FontPolicy*>(&policy) != nullptr;
    case PolicyKind::List: return dynamic_cast<const ListPolicy*>(&policy) != nullptr;
  }
  return false;
}

TEST(FileControl, EveryRegisteredKeyResolvesWithKindAndDefault) {
  auto fc = std::make_unique<FileControl>();
  for (const PolicyRow& row : PolicyRows()) {
    SCOPED_TRACE(std::string(row.key));
    const CorePolicy& policy = fc->Policy(row.id);
    EXPECT_TRUE(IsKind(policy, row.kind));
    EXPECT_EQ(policy.set, 0);
    if (!fc->IsRegistered(row.id)) {
      // The other product's pair keeps an empty key in this program.
      EXPECT_TRUE(policy.key.IsEmpty());
      continue;
    }
    EXPECT_EQ(FindPolicyRow(policy.key.GetText()), &row);
    EXPECT_STREQ(policy.key.GetText(), std::string(row.key).c_str());
    EXPECT_EQ(policy.category, row.category);
    // The registered default, not the value: the derived defaults that end every reset
    // may move a value away from it (the indentation code follows the HTML version).
    switch (row.kind) {
      case PolicyKind::Int:
      case PolicyKind::Bool:
      case PolicyKind::Align:
      case PolicyKind::List:
        EXPECT_EQ(dynamic_cast<const ScalarPolicy&>(policy).defaultValue, row.defaultValue);
        break;
      case PolicyKind::Text:
      case PolicyKind::Colour:
      case PolicyKind::Font:
        if (row.id == PolicyId::DocumentTitle) break;
        EXPECT_STREQ(dynamic_cast<const TextValuePolicy&>(policy).defaultValue.GetText(),
                     std::string(row.defaultText).c_str());
        break;
    }
  }
}

TEST(FileControl, ResetGivesReadableDefaults) {
  auto fc = std::make_unique<FileControl>();
  TextString choice;
  EXPECT_TRUE(fc->List(PolicyId::PaperSize).GetValueText(choice));
  EXPECT_STREQ(choice.GetText(), "A4");
  EXPECT_TRUE(fc->List(PolicyId::LanguageForProofing).GetValueText(choice));
  EXPECT_STREQ(choice.GetText(), "None");
  EXPECT_STREQ(fc->GetText(PolicyId::DefaultFont).GetText(), "Times New Roman, Regular, 12");
  EXPECT_STREQ(fc->GetText(PolicyId::FixedFont).GetText(), "Courier New, Regular, 10");
  EXPECT_EQ(fc->GetInt(PolicyId::BaseFONTSizeInPts), 12);
  EXPECT_STREQ(fc->GetText(PolicyId::OutputLogFilename).GetText(), "Kelvane.log");
  EXPECT_STREQ(fc->GetVersionText().GetText(), "Qvarnel ?.?");
  // HTML version 2 without an explicit indentation code derives the BLOCKQUOTE pair, code 1.
  EXPECT_STREQ(fc->GetIndentOpenMarkup().GetText(), "BLOCKQUOTE");
  EXPECT_EQ(fc->GetInt(PolicyId::IndentationMarkupCode), 1);
  EXPECT_EQ(fc->GetBulletChars().count, -1);
  EXPECT_EQ(fc->GetBulletChars().chars[6], 0xFF);
  EXPECT_EQ(fc->AreBulletsActive(), 1);
  EXPECT_EQ(fc->SectionIncluded, -1);
  EXPECT_STREQ(fc->pGetDefaultTablePolicies()->GetName().GetText(), "Default");
}

TEST(FileControl, ResetBuildsTitleFromDefaultDelimiters) {
  auto fc = std::make_unique<FileControl>();
  const char* expected = "Converted from \"[[FILENAME]]\" on [[TIMESTAMP]] by [[VERSION]]";
  EXPECT_STREQ(fc->GetText(PolicyId::DocumentTitle).GetText(), expected);
  fc->Text(PolicyId::StartTagDelimiter).value = "<<";
  fc->Text(PolicyId::StartTagDelimiter).set = 1;
  fc->ApplyDerivedDefaults(0, 0);
  EXPECT_STREQ(fc->GetText(PolicyId::DocumentTitle).GetText(),
               "Converted from \"<<FILENAME]]\" on <<TIMESTAMP]] by <<VERSION]]");
  fc->ResetPolicies(0);
  EXPECT_STREQ(fc->GetText(PolicyId::DocumentTitle).GetText(), expected);
}

// A set with explicit values in every kind of setting, and unset values that must not travel.
static void SetSome(FileControl& fc) {
  fc.Int(PolicyId::PageWidth).value = 72;
  fc.Int(PolicyId::PageWidth).set = 1;
  fc.Text(PolicyId::DocumentAuthor).value = "A. Writer";
  fc.Text(PolicyId::DocumentAuthor).set = 1;
  fc.Font(PolicyId::FixedFont).value = "Courier New, Bold, 9";
  fc.Font(PolicyId::FixedFont).set = 1;
  fc.Align(PolicyId::TextJustification).value = 4;
  fc.Align(PolicyId::TextJustification).set = 1;
  fc.List(PolicyId::PaperSize).value = 11;
  fc.List(PolicyId::PaperSize).set = 1;
  fc.Int(PolicyId::TABSize).value = 3;  // changed but not set: stays behind
  fc.GetPolicyList().GetSection(kTextFormattingSection).SetInt(106, 60, 1);
  fc.GetPolicyList().GetSection(kTextFormattingSection).SetBool(107, 1, 0);  // not set
  fc.GetUsenetGroups().Append("comp.lang.c");
  fc.UsenetGroupsSet() = 1;
  FileControl::IndentPositions& indent = fc.GetIndentPositions();
  indent.present = 1;
  indent.count = 2;
  indent.positions[1] = 8;
  indent.setExplicitly = 1;
  fc.pGetDefaultTablePolicies()->Int(TablePolicyId::BorderSize).value = 3;
  fc.pGetDefaultTablePolicies()->Int(TablePolicyId::BorderSize).set = 1;
}

TEST(FileControl, MergeOfFreshSetChangesNothing) {
  for (int level : {0, 1}) {
    SCOPED_TRACE(level);
    auto target = std::make_unique<FileControl>();
    SetSome(*target);
    // The explicit font moves the derived font markup; take the set as a merge leaves it.
    target->ApplyDerivedDefaults(0, 0);
    const std::vector<std::string> before = Snapshot(*target);
    auto fresh = std::make_unique<FileControl>();
    target->MergePolicies(*fresh, level);
    ExpectSameSnapshots(Snapshot(*target), before);
  }
}

TEST(FileControl, MergeTakesExactlyTheExplicitValues) {
  auto source = std::make_unique<FileControl>();
  SetSome(*source);
  for (int level : {0, 1}) {
    SCOPED_TRACE(level);
    auto target = std::make_unique<FileControl>();
    std::vector<std::string> expected = Snapshot(*target);
    target->MergePolicies(*source, level);
    std::vector<std::string> after = Snapshot(*target);
    // Exactly the explicit values arrive; marks only with a level.
    const PolicyId changed[] = {PolicyId::PageWidth, PolicyId::DocumentAuthor, PolicyId::FixedFont,
                                PolicyId::TextJustification, PolicyId::PaperSize};
    for (const PolicyId id : changed) {
      const auto i = static_cast<std::size_t>(id);
      CorePolicy& policy = target->Policy(id);
      EXPECT_EQ(policy.set, level);
      policy.set = 1;
      expected[i] = Describe(source->Policy(id));
      after[i] = Describe(policy);
    }
    if (level != 0) {
      // The font arrives marked: with CSS fonts the derived defaults drop the FONT markup
      // and turn the embedded style sheet on.
      EXPECT_EQ(target->GetInt(PolicyId::UseCSSToImplementFonts), 1);
      for (const auto& [id, value] : {std::pair{PolicyId::AddFONTMarkup, 0},
                                      std::pair{PolicyId::AddFONTSizeMarkup, 0},
                                      std::pair{PolicyId::CreateEmbeddedStyleSheet, 1}}) {
        const auto i = static_cast<std::size_t>(id);
        EXPECT_EQ(target->GetInt(id), value);
        expected[i] = after[i];
      }
    }
    EXPECT_EQ(target->GetInt(PolicyId::TABSize), 8);
    PolicySection& formatting = target->GetPolicyList().GetSection(kTextFormattingSection);
    EXPECT_EQ(formatting.GetInt(106), 60);
    EXPECT_EQ(formatting.IsSet(106), level);
    EXPECT_EQ(formatting.GetBool(107), 0);
    EXPECT_EQ(target->GetUsenetGroups().GetCount(), 1);
    EXPECT_EQ(target->GetIndentPositions().count, 2);
    EXPECT_EQ(target->GetIndentPositions().positions[1], 8);
    EXPECT_EQ(target->GetIndentPositions().setExplicitly, level);
    EXPECT_EQ(target->pGetDefaultTablePolicies()->Int(TablePolicyId::BorderSize).value, 3);
    // Nothing else among the registered policies moved.
    for (const PolicyRow& row : PolicyRows()) {
      const auto i = static_cast<std::size_t>(row.id);
      EXPECT_EQ(after[i], expected[i]);
    }
  }
}

TEST(FileControl, MergeAppendsUsenetGroupsInOrderWithDuplicates) {
  auto a = std::make_unique<FileControl>();
  auto b = std::make_unique<FileControl>();
  a->GetUsenetGroups().Append("alt.one");
  a->GetUsenetGroups().Append("alt.two");
  a->UsenetGroupsSet() = 1;
  b->GetUsenetGroups().Append("alt.two");
  b->GetUsenetGroups().Append("alt.three");
  b->UsenetGroupsSet() = 1;
  a->MergePolicies(*b, 1);
  TextString joined;
  a->GetUsenetGroups().Join(joined, " ");
  EXPECT_STREQ(joined.GetText(), "alt.one alt.two alt.two alt.three");
}

TEST(FileControl, MergeTakesConversionModeOnlyWhenSet) {
  auto target = std::make_unique<FileControl>();
  auto source = std::make_unique<FileControl>();
  source->GetPolicyList().SetConversionMode(6, 1, 1, 1);
  target->MergePolicies(*source, 1);
  PolicySection& control = target->GetPolicyList().GetSection(kControlSection);
  EXPECT_EQ(control.GetInt(kConversionModePolicy), 6);
  EXPECT_EQ(control.IsSet(kConversionModePolicy), 1);
  // A later layer that set no mode leaves it.
  auto later = std::make_unique<FileControl>();
  target->MergePolicies(*later, 1);
  EXPECT_EQ(control.GetInt(kConversionModePolicy), 6);
}

TEST(FileControl, MergeTakesBulletCharactersFromPolicy) {
  auto target = std::make_unique<FileControl>();
  auto source = std::make_unique<FileControl>();
  source->Text(PolicyId::BulletPointCharacters).value = "*#+@%&=";
  source->Text(PolicyId::BulletPointCharacters).set = 1;
  target->MergePolicies(*source, 1);
  const FileControl::BulletChars& bullets = target->GetBulletChars();
  ASSERT_EQ(bullets.count, 6);  // at most six come from the policy
  EXPECT_EQ(bullets.chars[0], '*');
  EXPECT_EQ(bullets.chars[5], '&');
  EXPECT_EQ(bullets.chars[6], 0xFF);
}

TEST(FileControl, CopyIsExactAndRecomputesBullets) {
  auto source = std::make_unique<FileControl>();
  SetSome(*source);
  for (const PolicyId id : {PolicyId::ExpectNumberedBullets, PolicyId::ExpectAlphabeticBullets,
                            PolicyId::ExpectRomanNumeralBullets, PolicyId::RecogniseOAsABullet,
                            PolicyId::RecogniseDashAsABullet}) {
    source->Bool(id).value = 0;
    source->Bool(id).set = 1;
  }
  source->Text(PolicyId::BulletPointCharacters).value = "*";
  source->Text(PolicyId::BulletPointCharacters).set = 1;
  source->SetRuleSet(1, 1);
  // The rule set's forced values are what the source holds once its defaults are derived.
  source->ApplyDerivedDefaults(0, 0);
  auto copy = std::make_unique<FileControl>();
  copy->CopyPolicies(*source);
  ExpectSameSnapshots(Snapshot(*copy), Snapshot(*source));
  EXPECT_EQ(copy->GetRuleSet(), 1);
  EXPECT_EQ(copy->AreBulletsActive(), 1);
  EXPECT_EQ(copy->pGetDefaultTablePolicies()->Int(TablePolicyId::BorderSize).set, 1);

  source->Text(PolicyId::BulletPointCharacters).value = "";
  copy->CopyPolicies(*source);
  EXPECT_EQ(copy->AreBulletsActive(), 0);
}

TEST(FileControl, ResetClearsSpecialSettingsAndMarks) {
  auto fc = std::make_unique<FileControl>();
  SetSome(*fc);
  fc->SetRuleSet(2, 1);
  fc->GetDocumentSections().Append("intro");
  fc->DocumentSectionsSet() = 1;
  fc->IgnoreDepth = 3;
  fc->ResetPolicies(0);
  ExpectSameSnapshots(Snapshot(*fc), Snapshot(*std::make_unique<FileControl>()));
  EXPECT_EQ(fc->GetRuleSet(), 0);
  EXPECT_EQ(fc->IsRuleSetSet(), 0);
  EXPECT_EQ(fc->GetDocumentSections().GetCount(), 0);
  EXPECT_EQ(fc->DocumentSectionsSet(), 0);
  EXPECT_EQ(fc->IgnoreDepth, 0);
  EXPECT_EQ(fc->pGetDefaultTablePolicies()->Int(TablePolicyId::BorderSize).set, 0);
}

TEST(FileControl, EncodingMarksFollowCharacterEncoding) {
  struct Case {
    const char* encoding;
    int nonLatin1, entities, plain, singleByte;
  };
  const Case cases[] = {
      {"", 0, 1, 1, 0},
      {"iso-8859-1", 0, 1, 1, 1},
      {"koi8-r", 1, 0, 0, 1},
      {"UTF-8", 0, 0, 0, 0},
      {"utf-8", 0, 0, 0, 0},
      {"iso-8859-2", 1, 1, 1, 1},
  };
  auto fc = std::make_unique<FileControl>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    fc->Text(PolicyId::CharacterEncoding).value = c.encoding;
    fc->ApplyDerivedDefaults(0, 0);
    EXPECT_EQ(fc->IsNonLatin1Encoding(), c.nonLatin1);
    EXPECT_EQ(fc->UsesEntities(), c.entities);
    EXPECT_EQ(fc->IsPlainEncoding(), c.plain);
    EXPECT_EQ(fc->IsSingleByteEncoding(), c.singleByte);
  }
}

static PolicyId FirstOfKind(PolicyKind kind) {
  for (const PolicyRow& row : PolicyRows()) {
    if (row.kind == kind) return row.id;
  }
  return PolicyId::ErrorReportingLevel;
}

// Reading or writing a policy as the wrong kind, or by an id outside the table, must not
// touch another slot or run past an array, in any build: it reports and gets a spare.
TEST(FileControl, WrongKindOrUnknownIdIsReportedAndTouchesNothing) {
  const PolicyId boolId = FirstOfKind(PolicyKind::Bool);
  const PolicyId textId = FirstOfKind(PolicyKind::Text);
  const PolicyId intId = FirstOfKind(PolicyKind::Int);
  const auto unknown = static_cast<PolicyId>(kPolicyCount + 5);
  struct MisuseCase {
    const char* expected;
    std::function<void(FileControl&)> misuse;
  };
  const std::vector<MisuseCase> cases = {
      {"PROGRAM ERROR: FC::Int called for a policy of another kind\n",
       [&](FileControl& fc) {
         IntPolicy& spare = fc.Int(boolId);
         EXPECT_EQ(spare.value, 0);
         spare.value = 77;
       }},
      {"PROGRAM ERROR: FC::Text called for a policy of another kind\n",
       [&](FileControl& fc) { fc.Text(intId).value = "written"; }},
      {"PROGRAM ERROR: FC::Font called for a policy of another kind\n",
       [&](FileControl& fc) {
         const FileControl& view = fc;
         EXPECT_TRUE(view.Font(textId).value.IsEmpty());
       }},
      {"PROGRAM ERROR: FC::List called for an unknown policy\n",
       [&](FileControl& fc) { fc.List(unknown).value = 3; }},
      {"PROGRAM ERROR: FC::Policy called for an unknown policy\n",
       [&](FileControl& fc) { fc.Policy(unknown).set = 1; }},
      {"PROGRAM ERROR: FC::GetInt called for a text policy\n",
       [&](FileControl& fc) { EXPECT_EQ(fc.GetInt(textId), 0); }},
      {"PROGRAM ERROR: FC::GetText called for a number policy\n",
       [&](FileControl& fc) { EXPECT_TRUE(fc.GetText(intId).IsEmpty()); }},
      {"PROGRAM ERROR: FC::GetInt called for an unknown policy\n",
       [&](FileControl& fc) { EXPECT_EQ(fc.GetInt(unknown), 0); }},
  };
  for (const MisuseCase& c : cases) {
    SCOPED_TRACE(c.expected);
    FileControl fc;
    const std::vector<std::string> before = Snapshot(fc);
    testing::internal::CaptureStderr();
    c.misuse(fc);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.expected);
    ExpectSameSnapshots(before, Snapshot(fc));
  }
  // The spare is fresh at each misuse: a wrong write does not come back.
  FileControl fc;
  testing::internal::CaptureStderr();
  fc.Int(boolId).value = 77;
  EXPECT_EQ(fc.Int(boolId).value, 0);
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(fc.IsRegistered(unknown));
}
