#include "text/CodePageText.h"

#include <gtest/gtest.h>

TEST(CodePageToUtf8, MapsEachCodePagesUpperHalf) {
  struct Case {
    int codePage;
    const char* text;
    const char* utf8;
  };
  const Case cases[] = {
      {1252, "plain ASCII", "plain ASCII"},
      {1252, "D\xE9"
             "cembre",
       "D\xC3\xA9"
       "cembre"},
      {1252, "\x80", "\xE2\x82\xAC"},          // euro sign
      {1252, "\x81", "\xC2\x81"},              // undefined: the same number
      {1252, "\xFF", "\xC3\xBF"},
      {1251, "\xCD\xEE\xFF\xE1\xF0\xFC", "\xD0\x9D\xD0\xBE\xD1\x8F\xD0\xB1\xD1\x80\xD1\x8C"},
      {1251, "\xC0\xFF", "\xD0\x90\xD1\x8F"},  // both ends of the alphabet
      {1251, "\xA8\xB8", "\xD0\x81\xD1\x91"},  // Yo
      {1251, "\xB9", "\xE2\x84\x96"},          // numero sign
      {0, "\xE9", "\xC3\xA9"},                 // any other code page is Western
      {1251, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << c.text);
    EXPECT_EQ(CodePageToUtf8(c.text, c.codePage), c.utf8);
  }
}
