#include "analysis/BulletWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"
#include "text/StatementTypes.h"

namespace {

// The classification in the analysis pass unless a test says otherwise.
class TidyBulletLineTest : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(1, 0, 0);
  }
  int Tidy(const char* text, int numbered = 1, int roman = 1, int alphabetic = 1) {
    line = text;
    return TidyBulletLine(fc, ctx, line, numbered, roman, alphabetic, word);
  }

  TextString line;
  TextString word;
};

struct BulletCase {
  const char* line;
  int type;
  const char* word;
};

}  // namespace

TEST_F(TidyBulletLineTest, ClassifiesTheBulletWord) {
  const BulletCase kCases[] = {
      // Numbers: one or two digits.
      {"1. First", kTypeNumberedBullet, "1."},
      {"(12) Twelfth", kTypeNumberedBullet, "(12)"},
      {"[3] Third", kTypeNumberedBullet, "[3]"},
      {"07/ x", kTypeNumberedBullet, "07/"},
      {"123. Not a bullet", kTypeUntyped, "123."},
      {"1 no closing mark", kTypeUntyped, "1"},
      {"1.2. dotted", kTypeUntyped, "1.2."},
      {"(4 open only", kTypeUntyped, "(4"},
      {"() empty", kTypeUntyped, "()"},
      // Roman numerals (i, v, x) before single letters.
      {"iv) Fourth", kTypeLowerRomanBullet, "iv)"},
      {"IV. Fourth", kTypeUpperRomanBullet, "IV."},
      {"Xi. mixed case", kTypeLowerRomanBullet, "Xi."},
      {"x. ten", kTypeLowerRomanBullet, "x."},
      {"ic) not roman", kTypeUntyped, "ic)"},
      // Single letters.
      {"b) Second", kTypeLowerAlphaBullet, "b)"},
      {"C. Third", kTypeUpperAlphaBullet, "C."},
      {"{d} braces", kTypeLowerAlphaBullet, "{d}"},
      {"ab) Two letters", kTypeUntyped, "ab)"},
      {"1a) mixed", kTypeUntyped, "1a)"},
      // Bullet characters.
      {"(*) starred", kTypeBullet, "(*)"},
      {"- dash", kTypeUntyped, "-"},
      // The word ends after a closing mark and at a no-break space.
      {"1)Glued text", kTypeNumberedBullet, "1)"},
      {"(1)(2) two labels", kTypeNumberedBullet, "(1)"},
      {"&nbsp;2) spaced", kTypeNumberedBullet, "2)"},
      {"3.&nbsp;spaced", kTypeNumberedBullet, "3."},
      {"   a) indented", kTypeLowerAlphaBullet, "a)"},
      // Superscript bullets are split from the text after them and lose their tags.
      {"<SUP>1)</SUP>Text", kTypeNumberedBullet, "1)"},
      {"<SUB>b.</SUB>Text", kTypeLowerAlphaBullet, "b."},
      // In-line tags do not count.
      {"[[FONT x]]2. Item", kTypeNumberedBullet, "2."},
      {"", kTypeUntyped, ""},
  };
  for (const BulletCase& c : kCases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Tidy(c.line), c.type);
    EXPECT_STREQ(word.GetText(), c.word);
    EXPECT_STREQ(ctx.BulletWord.GetText(), c.word);
    EXPECT_STREQ(line.GetText(), c.line);  // changed only in the output pass
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(TidyBulletLineTest, KindsNeedTheCallersAndTheTrackersPermission) {
  const struct {
    const char* line;
    int numbered, roman, alphabetic;
    int type;
  } kCases[] = {
      {"i. item", 1, 0, 1, kTypeLowerAlphaBullet},  // a letter when roman is not allowed
      {"I. item", 1, 0, 1, kTypeUpperAlphaBullet},
      {"iv. item", 1, 0, 1, kTypeUntyped},
      {"1. item", 0, 1, 1, kTypeUntyped},
      {"b) item", 1, 1, 0, kTypeUntyped},
      {"(*) item", 0, 0, 0, kTypeUntyped},  // nothing allowed: nothing classified
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Tidy(c.line, c.numbered, c.roman, c.alphabetic), c.type);
  }
  EXPECT_EQ(Tidy("(*) item", 0, 0, 0), kTypeUntyped);
  EXPECT_TRUE(word.IsEmpty());

  Tracker& tracker = ctx.GetPassTracker(kLocationAnalysis);
  tracker.SetPermission(Permission::RomanLists, 0);
  EXPECT_EQ(Tidy("i. item"), kTypeLowerAlphaBullet);
  tracker.SetPermission(Permission::NumberedLists, 0);
  EXPECT_EQ(Tidy("1. item"), kTypeUntyped);
  tracker.SetPermission(Permission::AlphabeticLists, 0);
  EXPECT_EQ(Tidy("(*) item"), kTypeUntyped);
  // The other passes have trackers of their own.
  SetPass(0, 0, 1);
  EXPECT_EQ(Tidy("1. item"), kTypeNumberedBullet);
}

TEST_F(TidyBulletLineTest, EntitiesAsBullets) {
  const struct {
    const char* line;
    int type;
    bool reported;
  } kCases[] = {
      {"&bull; item", kTypeBullet, true},
      {"&#8226; item", kTypeBullet, true},
      {"&#149; item", kTypeBullet, false},
      {"&eacute; letter", kTypeUntyped, false},
      {"&Uuml; letter", kTypeUntyped, false},
      {"&mdash; dash", kTypeUntyped, false},
      {"&sect; section", kTypeUntyped, false},
      {"&COPY; sign", kTypeUntyped, false},
      {"&lt; sign", kTypeUntyped, false},
      {"&amp; sign", kTypeUntyped, false},
      {"&bull;x glued", kTypeUntyped, false},
      {"bull; no ampersand", kTypeUntyped, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    messages.clear();
    EXPECT_EQ(Tidy(c.line), c.type);
    if (!c.reported) {
      EXPECT_TRUE(messages.empty());
      continue;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "INFO: Treating entity \"" + std::string(word.GetText()) +
                               "\" as unordered bullet");
  }
}

TEST_F(TidyBulletLineTest, OutputPassMovesTheBulletWordBeforeLeadingMarkup) {
  SetPass(0, 0, 1);
  const struct {
    const char* line;
    int listMarkupCode;
    const char* after;
    bool reported;
  } kCases[] = {
      {"[[B]]1.  Item", kTypeUntyped, "1. [[B]] Item", true},
      {"  [[B]]iv) Item", kTypeUntyped, "iv) [[B]] Item", true},
      {"[[B]]1. Item", 1, "[[B]]1. Item", false},
      {"1. [[B]]Item", kTypeUntyped, "1. [[B]]Item", false},
      {"  1. Item", kTypeUntyped, "  1. Item", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    messages.clear();
    fc.Int(PolicyId::ListMarkupCode).value = c.listMarkupCode;
    EXPECT_NE(Tidy(c.line), kTypeUntyped);
    EXPECT_STREQ(line.GetText(), c.after);
    EXPECT_EQ(messages.size(), c.reported ? 1u : 0u);
    if (c.reported && !messages.empty()) {
      EXPECT_EQ(messages[0], "INFO: Re-ordering tags on bullet line");
    }
  }
  // The analysis pass leaves the line as it is.
  SetPass(1, 0, 0);
  fc.Int(PolicyId::ListMarkupCode).value = 0;
  EXPECT_EQ(Tidy("[[B]]1. Item"), kTypeNumberedBullet);
  EXPECT_STREQ(line.GetText(), "[[B]]1. Item");
}

TEST_F(TidyBulletLineTest, RuleSetsTakeAnyOneCharacterWordAndWarnOnTheRest) {
  fc.SetRuleSet(1, 1);
  EXPECT_EQ(Tidy("- dash"), kTypeBullet);
  EXPECT_EQ(Tidy("* star"), kTypeBullet);
  EXPECT_EQ(Tidy("7 seven"), kTypeBullet);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Tidy("zz) none"), kTypeUntyped);
  EXPECT_TRUE(messages.empty());  // the warning belongs to the output pass

  SetPass(0, 0, 1);
  EXPECT_EQ(Tidy("zz) none"), kTypeUntyped);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "WARNING: Unable to determine bullet type from : \"zz)\"");

  fc.SetRuleSet(0, 1);
  messages.clear();
  EXPECT_EQ(Tidy("zz) none"), kTypeUntyped);
  EXPECT_EQ(Tidy("- dash"), kTypeUntyped);
  EXPECT_TRUE(messages.empty());
}
