#pragma once

// Counters of the byte-pair census over the input that the character-set guess reads.
// One increment per match; the census stops once distinctPairs reaches kMaxDistinctPairs,
// and before a text whose pairs could take a counter past the int range.
struct CharacterPairCounts {
  static constexpr int kMaxDistinctPairs = 10000;

  // Every pair counted (no counter can exceed it).
  int pairs = 0;
  int nonBlank = 0;
  int distinctPairs = 0;
  int doubleByteUpper = 0;
  int doubleByteLower = 0;
  int doubleByteNonUtf8 = 0;
  int utf8TwoByte = 0;
  int utf8ThreeByte = 0;
  int koi8r = 0;
  int windows1251 = 0;
  int arabic = 0;
  int greek = 0;
  int turkish = 0;
  int turkishLetters = 0;
  int thai = 0;
  int korean = 0;
  int hebrew = 0;
  int iso2022jp = 0;
  int oemBoxDrawing = 0;
  // Frequent lead bytes of the double-byte sets: gb2312, big5 and ks5601 in this order.
  int singleByteSet1 = 0;
  int singleByteSet2 = 0;
  int singleByteSet3 = 0;
  // Lines ending in one '=' (quoted-printable soft line breaks).
  int softLineBreaks = 0;
  // Well-formed UTF-8 sequences of two to four bytes, and bytes above 127 that begin none
  // and end none (a byte UTF-8 forbids where it stands). Counted over every line, past the
  // cap: one Latin-1 letter anywhere tells the text is not UTF-8.
  int utf8Sequences = 0;
  int utf8Forbidden = 0;
};
