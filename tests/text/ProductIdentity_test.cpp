#include "text/ProductIdentity.h"

#include <gtest/gtest.h>

#include <string>

#include "text/TextString.h"

namespace {
std::string Bytes(const TextString& t) { return std::string(t.GetText(), t.GetLength()); }
}  // namespace

TEST(ProductIdentity, AnswersForThisProgram) {
  EXPECT_EQ(GetProductId(), 2);
  EXPECT_EQ(GetOutputFormat(), 1);
  EXPECT_EQ(IsOptionalCodeEnabled(), 0);

  TextString name, shortVersion, fullVersion;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  EXPECT_EQ(Bytes(name), "Kelvane");
  EXPECT_EQ(Bytes(shortVersion), "2.0");
  EXPECT_EQ(Bytes(fullVersion), "2.0.11.3");

  TextString out;
  GetConsoleProgramName(out);
  EXPECT_EQ(Bytes(out), "kvlcons");
  GetDefaultOutputExtension(out);
  EXPECT_EQ(Bytes(out), ".rtf");

  int month = 0, year = 0;
  GetReleaseDate(month, year);
  EXPECT_EQ(month, 11);
  EXPECT_EQ(year, 2011);

  TextString base, page;
  GetDocumentationAddress(base, page);
  EXPECT_EQ(Bytes(base), std::string(kMakerWebSite) + "/doco/");
  EXPECT_EQ(Bytes(page), "kelvane.html");
  GetProductHomePage(out);
  EXPECT_EQ(Bytes(out), std::string(kMakerWebSite) + "/kelvane/");
}

TEST(GetMonthName, GivesStoredBytesPerLanguage) {
  struct Case {
    int language;
    int month;
    const char* expected;
  };
  const Case cases[] = {
      {1, 1, "January"},
      {1, 12, "December"},
      {2, 3, "M\xE4rz"},
      {2, 5, "Mai"},
      {3, 3, "Marzo"},
      {3, 5, "Mayo"},
      {4, 2, "F\xE9vrier"},
      {4, 8, "Ao\xFBt"},
      {4, 12, "D\xE9"
              "cembre"},
      {5, 3, "Mar\xE7o"},
      {4, 5, "Mai"},
      {5, 5, "Maio"},
      {6, 5, "Maggio"},
      {7, 8, "Augusti"},
      {8, 1, "\xDF\xED\xE2\xE0\xF0\xFC"},  // Windows-1251
      {8, 6, "\xC8\xFE\xED\xFC"},
      {8, 7, "\xC8\xFE\xEB\xFC"},
      {8, 11, "\xCD\xEE\xFF\xE1\xF0\xFC"},
      {9, 12, "December"},
      {0, 4, "April"},   // unknown languages speak English
      {42, 6, "June"},
      {1, 0, ""},
      {1, 13, ""},
      {2, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "language " << c.language << " month " << c.month);
    TextString out("stale");
    GetMonthName(c.language, c.month, out);
    EXPECT_EQ(Bytes(out), c.expected);
  }
}
