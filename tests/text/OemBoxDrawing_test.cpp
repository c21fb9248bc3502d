#include <gtest/gtest.h>

#include <string>

#include "text/TextString.h"

// Box drawing that the conversion marks can be told from every other byte of converted text:
// each code page 437 byte, converted alone, reads back as its box-drawing byte or as none.
TEST(OemBoxDrawingByte, ReadsBackExactlyTheBoxDrawingOfTheSource) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    SCOPED_TRACE(byte);
    TextString text(std::string(1, static_cast<char>(byte)).c_str());
    text.ConvertOemCharacters(0, 0, 0, nullptr, 1);
    ASSERT_EQ(text.GetLength(), 1);
    const int expected = byte >= 0xB3 && byte <= 0xDA ? byte : 0;
    EXPECT_EQ(OemBoxDrawingByte(static_cast<unsigned char>(text.CharAt(0))), expected);
  }
}

// Marking concerns only box drawing that stays: drawn as ASCII, nothing is marked, and the
// letters convert as before.
TEST(OemBoxDrawingByte, MarkingLeavesLettersAndStoredFormsAlone) {
  TextString text("\x8E\xC4\xB3\x99");
  text.ConvertOemCharacters(1, 0, 1, nullptr, 1);
  EXPECT_STREQ(text.GetText(), "\xC4-|\xD6");
  TextString kept("\x8E\xC4");
  kept.ConvertOemCharacters(0, 0, 0, nullptr, 0);
  EXPECT_STREQ(kept.GetText(), "\xC4\xC4");
  EXPECT_EQ(OemBoxDrawingByte(0xC4), 0);  // unmarked: read as the letter
}
