#pragma once

#include <array>

#include "policy/AnalysisStatistics.h"
#include "text/TextStats.h"

// The policy calculation turns what the analysis pass counted into policy values
// (FileControl::CalculatePolicies and its helpers, defined in PolicyCalculation.cpp and
// declared in FileControl.h). This header names the statistics it reads.

// The counts of the "Character pairs" census as the character-set guess reads them.
struct CharacterPairTotals {
  int& korean;
  int& thai;
  int& koi8r;
  int& win1250;
  int& win1251;
  int& win1256;
  int& win1253;
  int& win1254;
  int& turkishChars;  // the "(chars)" count: Turkish letters
  int& chinese;
  int& big5;
  int& gb2312;
  int& ks5601;
  int& japanese;      // x-sjis pairs
  int& utf8Pairs;
  int& utf8Triplets;
  int& nonUtf8Pairs;
  int& hebrew;
  int& iso2022jp;
  int& dos;
  int& total;         // every pair counted
  int& highChars;     // bytes above 127 (not printed in the statistics file)
  int& utf8Sequences; // well-formed UTF-8 sequences, counted over the whole text
  int& utf8Forbidden; // bytes above 127 outside any well-formed UTF-8 sequence
};

// Named access to the fields of an AnalysisStatistics record that the policy calculation
// reads. The record's slots are anonymous; this is the one place that says which is which,
// so the analysis pass, the statistics report and the calculation agree.
struct CalculationStatistics {
  explicit CalculationStatistics(AnalysisStatistics& s);

  TextStats& lineLengths;     // the count of values is the number of lines measured (L)
  TextStats& secondLengths;   // only its maximum is used
  TextStats& indents;         // "Indents"
  TextStats& paraIndents;     // "Para Indent"
  TextStats& bulletChars;     // "Bullet Chars"
  TextStats& hangingIndents;  // "Hanging para indents"
  TextStats& preHeaderChars;  // "Pre Header character"
  TextStats& postHeaderChars; // "Post Header character"

  int& numLines;
  int& numDoubleSpaceLines;
  int& numBlankLines;
  int& numberedHeadings;
  int& underlinedHeadings;
  int& capitalisedHeadings;
  int& embeddedHeadings;
  int& mailHeadings;
  int& alphaAfterHeadings;  // "Num alphabetics chars after Headings"
  int& dashBullets;
  int& oBullets;
  int& numberBullets;   // "Bullets of type (n)"
  int& alphaBullets;    // "Bullets of type (a)"
  int& romanBullets;    // "Bullets of type (i)"
  int& hangingParas;    // "Hanging Para"
  int& codeLines;       // "\"C\" Code lines"
  // "Num level 0 sections": six counts, -1 until counted; entry n - 2 counts the chapter
  // headings numbered n (2-5) that follow a blank line.
  std::array<int, 6>& levelZeroSections;

  std::array<HeadingLevelStats, kStatisticsLevels>& headings;  // "Headers"
  std::array<HeadingLevelStats, kStatisticsLevels>& contents;  // "Contents"

  CharacterPairTotals pairs;
  int& changeBarLines;
  int& dosCharacters;   // "DOS characters"
  int& mimeCharacters;  // "Mime encoded characters"
  // "Use of \"-\" in defn/text" and "Use of \":\" in defn/text".
  int& dashInDefinitions;
  int& dashInText;
  int& colonInDefinitions;
  int& colonInText;
};

// An indent column is refused when it lies this far or further right of its left neighbour.
inline constexpr int kMaxIndentStep = 12;
