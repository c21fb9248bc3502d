#include "analysis/PrinterCodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "support/ContextFixture.h"

namespace {

// The removal in the output pass unless a test says otherwise.
class PrinterCodes : public ContextFixture {
 protected:
  void SetUp() override {
    ContextFixture::SetUp();
    SetPass(0, 0, 1);
  }
  std::string Run(const std::string& in, int remove, int& recognised) {
    TextString text;
    text.AssignBytes(in.data(), static_cast<int>(in.size()));
    TextString out("left over");
    RemovePclCodes(fc, text, out, remove, recognised);
    return {out.GetText(), static_cast<std::size_t>(out.GetLength())};
  }
};

}  // namespace

TEST(IsKnownPclCode, FamiliesGroupsAndTerminators) {
  const struct {
    const char* code;
    bool known;
  } kCases[] = {
      // Whole codes.
      {"E", true}, {"e", false}, {"Y", false}, {"%0B", true}, {"%1B", true}, {"%-12345X", false},
      // Three-character codes without a letter, any case.
      {"(3@", true}, {")3@", true}, {"&d@", true}, {"&D@", true}, {"(4@", false},
      // Family, group, value, terminator.
      {"&l0H", true}, {"&l66P", true}, {"&l1O", true}, {"&l6D", true}, {"&lZ", false},
      {"&a10C", true}, {"&a10Z", false}, {"&dD", true}, {"&f1S", true}, {"&k2G", true},
      {"&s0C", true}, {"&s0D", false}, {"&26A", false}, {"&2E", true}, {"&9M", true},
      {"*b0M", true}, {"*c1G", true}, {"*c1Z", false}, {"*p100X", true}, {"*r1A", true},
      {"*t300R", true}, {"*3D", true}, {"*3E", false},
      {"(s12H", true}, {"(s0B", true}, {"(s1Z", false}, {"(v1N", true}, {"(10U", true},
      {"(8X", true}, {"(8A", false}, {")s1O", true}, {")s1B", false},
      // No such family or group; lower-case or missing terminator.
      {"&q1A", false}, {"#a1C", false}, {"&a10c", false}, {"&a", false}, {"", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(IsKnownPclCode(c.code, static_cast<int>(std::string(c.code).size())), c.known);
  }
}

TEST_F(PrinterCodes, RemovesSequencesAndKeepsText) {
  const struct {
    const char* in;
    const char* out;
    int recognised;
    const char* unknown;  // the one message expected, or null
  } kCases[] = {
      {"plain text", "plain text", 0, nullptr},
      // The code ends at its first capital, so the text's own capital stays.
      {"\x1b(s12HHello", "Hello", 1, nullptr},
      {"A\x1b&l0HB", "A\fB", 1, nullptr},    // page eject: a form feed
      {"A\x1b&l0h B", "A\f B", 0, "Unknown PCL Code \"Esc &l0h\""},  // any case
      {"A\x1b&l66PB", "AB", 1, nullptr},     // page length: no trace
      {"\x1b(3@Abc", "Abc", 1, nullptr},     // three characters, the next letter stays
      {"\x1b text", " text", 0, "Unknown PCL Code \"Esc \""},
      {"x\x1b&q5Zy", "xy", 0, "Unknown PCL Code \"Esc &q5Z\""},
      {"\x1b&l1\tX", "\tX", 0, "Unknown PCL Code \"Esc &l1\""},  // a tab ends the code
      {"\x1b*p\x1b" "E", "", 1, "Unknown PCL Code \"Esc *p\""},   // so does an escape
      {"\x1b" "E\x1b&l1O\x1b(10UText\x1b&l0H", "Text\f", 4, nullptr},
      {"tail\x1b", "tail", 0, "Unknown PCL Code \"Esc \""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.in);
    messages.clear();
    int recognised = 0;
    EXPECT_EQ(Run(c.in, 1, recognised), c.out);
    EXPECT_EQ(recognised, c.recognised);
    if (c.unknown == nullptr) {
      EXPECT_TRUE(messages.empty());
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], c.unknown);
    }
  }
}

TEST_F(PrinterCodes, WithoutRemovingCountsButKeepsTheLine) {
  const std::string line = "\x1b(s12H\x1b&l0HTitle\x1b&q1Z";
  int recognised = 3;  // the counter adds to what it held
  EXPECT_EQ(Run(line, 0, recognised), line);
  EXPECT_EQ(recognised, 5);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Unknown PCL Code \"Esc &q1Z\"");
}

TEST_F(PrinterCodes, UnknownCodesAreQuietInTheAnalysisAndContentsPasses) {
  const struct {
    int analysis, contents, output;
    size_t shown;
  } kCases[] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 1}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.analysis << c.contents << c.output);
    SetPass(c.analysis, c.contents, c.output);
    messages.clear();
    int recognised = 0;
    EXPECT_EQ(Run("a\x1b&q1Zb", 1, recognised), "ab");  // removed all the same
    EXPECT_EQ(messages.size(), c.shown);
  }
}

TEST_F(PrinterCodes, WorksInPlaceAndKeepsNulBytes) {
  TextString text;
  const std::string in("a\0\x1b(s3Bb", 8);
  text.AssignBytes(in.data(), static_cast<int>(in.size()));
  int recognised = 0;
  RemovePclCodes(fc, text, text, 1, recognised);
  EXPECT_EQ(std::string(text.GetText(), static_cast<std::size_t>(text.GetLength())),
            std::string("a\0b", 3));
  EXPECT_EQ(recognised, 1);
}
