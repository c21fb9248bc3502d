#include "engine/Entities.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "policy/FileControl.h"
#include "support/Growth.h"

namespace {

std::string Str(const TextString& text) { return {text.GetText(), static_cast<std::size_t>(text.GetLength())}; }

TEST(CodeToEntity, TableFirstThenLatin1NamesThenNumericForm) {
  const EntityTable empty;
  EntityTable filled;
  filled.Fill();
  EntityTable custom;
  custom.Add("&myeacute;", 233);
  const struct {
    const EntityTable* table;
    int code;
    const char* entity;
  } kCases[] = {
      {&empty, 233, "&eacute;"},
      {&empty, 160, "&nbsp;"},
      {&empty, 255, "&yuml;"},
      {&empty, 159, "&#159;"},
      {&empty, 256, "&#256;"},
      {&empty, 8364, "&#8364;"},
      {&empty, 38, "&#38;"},
      {&filled, 8364, "&euro;"},
      {&filled, 233, "&eacute;"},
      {&custom, 233, "&myeacute;"},  // the table is asked first
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.code);
    TextString out("stale");
    EXPECT_TRUE(CodeToEntity(*c.table, c.code, out));
    EXPECT_EQ(Str(out), c.entity);
  }
}

TEST(EntityToCode, ReadsNamesExactlyAndNumbersInBothBases) {
  const EntityTable empty;
  EntityTable filled;
  filled.Fill();
  const struct {
    const EntityTable* table;
    const char* entity;
    int code;  // -1: unknown
  } kCases[] = {
      // The fixed names stand behind an empty table, in their exact case.
      {&empty, "&AMP;", 38},
      {&empty, "&amp;", 38},
      {&empty, "&Amp;", -1},
      {&empty, "&LT;", 60},
      {&empty, "&gt;", 62},
      {&empty, "&eacute;", 233},
      {&empty, "&Eacute;", 201},
      {&empty, "&EACUTE;", -1},
      {&empty, "&euro;", -1},  // not a Latin-1 name
      {&filled, "&euro;", 8364},
      {&filled, "&hearts;", 9829},
      // Numeric forms.
      {&empty, "&#65;", 65},
      {&empty, "&#x41;", 65},
      {&empty, "&#X41;", 65},
      {&empty, "&#x20ac;", 8364},
      {&empty, "&#;", -1},
      {&empty, "&#x;", -1},
      {&empty, "&#-5;", -1},
      {&empty, "&#99999999999;", -1},
      {&empty, "&#xZZ;", -1},
      {&empty, "&;", -1},
      {&empty, "", -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.entity);
    int code = 12345;
    EXPECT_EQ(EntityToCode(*c.table, c.entity, code), c.code >= 0);
    EXPECT_EQ(code, c.code);
  }
}

TEST(ParseNumericEntity, NeedsAnAmpersandAndHash) {
  const struct {
    const char* entity;
    int code;
  } kCases[] = {
      {"&#65;", 65}, {"&#x41;", 65}, {"#65;", -1}, {"&65;", -1}, {"&", -1}, {"&#", -1},
      // The last character is dropped whatever it is.
      {"&#65x", 65},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.entity);
    int code = 12345;
    EXPECT_EQ(ParseNumericEntity(c.entity, code), c.code >= 0);
    EXPECT_EQ(code, c.code);
  }
}

class EscapeHtmlTextTest : public ::testing::Test {
 protected:
  EscapeHtmlTextTest() : ctx(kProductKelvane, kOutputHtml), fc(ctx.GetFileControl()) {
    fc.AttachContext(&ctx);
  }

  std::string Escape(const char* text, int no8Bit) {
    TextString t(text);
    EscapeHtmlText(fc, ctx, t, no8Bit);
    return Str(t);
  }

  Context ctx;
  FileControl& fc;
};

TEST_F(EscapeHtmlTextTest, EscapesMarkupOutsideInlineTags) {
  const struct {
    const char* in;
    int no8Bit;
    const char* out;
  } kCases[] = {
      {"plain", 0, "plain"},
      {"a < b & c > d", 0, "a &lt; b &amp; c &gt; d"},
      {"[[FONT x<y]] and <", 0, "[[FONT x<y]] and &lt;"},
      {"<[[A&B]]>[[C>]]", 0, "&lt;[[A&B]]&gt;[[C>]]"},
      // An unclosed tag start protects nothing.
      {"[[ x < y", 0, "[[ x &lt; y"},
      {"caf\xE9 \x80 \xA0 \xFF", 0, "caf&eacute; &#128; &#160; &yuml;"},
      {"caf\xE9 <", 1, "caf\xE9 &lt;"},
      // Eight-bit characters are replaced inside tags too.
      {"[[T \xE9<]]", 0, "[[T &eacute;<]]"},
      {"", 0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Escape(c.in, c.no8Bit), c.out);
  }
}

TEST_F(EscapeHtmlTextTest, FollowsTheDelimiterPolicies) {
  fc.Text(PolicyId::StartTagDelimiter).value.Assign("{{");
  fc.Text(PolicyId::EndTagDelimiter).value.Assign("}}");
  EXPECT_EQ(Escape("[[a<b]] {{c<d}}", 0), "[[a&lt;b]] {{c<d}}");
}

TEST(EscapeHtmlText, LeavesTextOutputAlone) {
  Context ctx(kProductKelvane, kOutputPlainText);
  ctx.GetFileControl().AttachContext(&ctx);
  TextString text("a < b \xE9");
  EscapeHtmlText(ctx.GetFileControl(), ctx, text, 0);
  EXPECT_EQ(Str(text), "a < b \xE9");
}

// The fixture under a suite name of its own: growth tests run alone (support/Growth.h).
using EscapeHtmlTextGrowth = EscapeHtmlTextTest;

// A text full of tag starts that never close: each would have to look for an end.
TEST_F(EscapeHtmlTextGrowth, UnclosedTagStartsAreEscapedInLinearTime) {
  EXPECT_EQ(Escape("[[<[[<", 0), "[[&lt;[[&lt;");
  auto work = [this](int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
      text += "[[<";
    TextString t(text.c_str());
    return TimeOf([&] { EscapeHtmlText(fc, ctx, t, 0); });
  };
  EXPECT_LT(SixteenfoldGrowth(5000, work), kQuadraticGrowth);
}

}  // namespace
