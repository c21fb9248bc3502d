// Interface texts on their way to the window toolkit: code page bytes become UTF-8, and the
// UTF-8 of file names inside a text stays as it is.
#ifdef KELVANE_HAVE_WX_BACKEND
#include "wx/InterfaceEncoding.h"

#include <gtest/gtest.h>

TEST(InterfaceTextToUtf8, ReadsCodePageBytesAndKeepsUtf8) {
  struct Case {
    const char* name;
    const char* text;
    int codePage;
    const char* utf8;
  };
  const Case cases[] = {
      {"ascii", "&File - Convert File(s)...", 1252, "&File - Convert File(s)..."},
      {"empty", "", 1252, ""},
      {"latin letter", "Fran\xE7" "ais", 1252, "Fran\xC3\xA7" "ais"},
      {"euro and quotes", "\x80 \x93x\x94", 1252, "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"},
      {"undefined byte", "\x81", 1252, "\xC2\x81"},
      {"last byte", "\xFF", 1252, "\xC3\xBF"},
      {"cyrillic", "\xD4\xE0\xE9\xEB", 1251, "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB"},
      {"cyrillic yo", "\xA8\xB8", 1251, "\xD0\x81\xD1\x91"},
      {"cyrillic undefined", "\x98", 1251, "\xC2\x98"},
      {"any other page is western", "\xE9", 437, "\xC3\xA9"},
      {"utf-8 path kept", "Datei /home/jos\xC3\xA9/a.txt", 1252, "Datei /home/jos\xC3\xA9/a.txt"},
      {"mixed", "\xC4nderung: /tmp/\xE2\x82\xAC.txt", 1252,
       "\xC3\x84nderung: /tmp/\xE2\x82\xAC.txt"},
      {"lead byte at the end", "ab\xC3", 1252, "ab\xC3\x83"},
      {"overlong form", "\xC0\xAF", 1252, "\xC3\x80\xC2\xAF"},
      {"surrogate", "\xED\xA0\x80", 1252, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"four bytes", "\xF0\x9F\x98\x80", 1252, "\xF0\x9F\x98\x80"},
      {"beyond unicode", "\xF4\x90\x80\x80", 1252, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InterfaceTextToUtf8(c.text, c.codePage), c.utf8);
  }
}
#endif
