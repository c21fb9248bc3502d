#pragma once

#include <array>

#include "text/CharacterPairCounts.h"
#include "text/TextStats.h"

inline constexpr int kStatisticsLevels = 6;

// What the analysis pass counted for one heading level, and the section-number state of the
// level that the heading detection carries through the three passes of a file.
struct HeadingLevelStats {
  TextStats indents;      // indentation of the headings of the level
  TextStats kinds;        // their line types
  TextStats further;
  TextStats secondWords;  // words before the heading number, labelled with the words seen
  // Section numbers of the level: the last one accepted, the one before it, and the lowest
  // and highest seen; -1 while unset.
  int lastNumber = -1;
  int previousNumber = -1;
  int lowestNumber = -1;
  int highestNumber = -1;
  // Whether the last heading accepted at the level was a contents line (1) or a heading (0),
  // and the same for the one before it.
  int contentsMark = 0;
  int previousContentsMark = 0;
  // Headings of the level the statistics took in.
  int headingCount = 0;
  int secondWordCount = 0;  // headings whose number was not their first word
  int numberedParagraphCount = 0;
  // Lines that continued a heading of the level and were (or, in the analysis pass, would
  // be) joined into it.
  int joinedLines = 0;

  // Every TextStats emptied, the ints back to the values above.
  void Reset();
};

// The counts of one file's analysis pass, read by the policy calculation and printed in the
// statistics file. Owns its TextStats; one per Context.
class AnalysisStatistics {
 public:
  AnalysisStatistics();
  AnalysisStatistics(const AnalysisStatistics&) = delete;
  AnalysisStatistics& operator=(const AnalysisStatistics&) = delete;

  // Every TextStats of the record and of its eighteen level entries emptied; the ints back
  // to their start values (-1 for the first and the six level marks, 0 for the rest).
  void Reset();

  std::array<TextStats, 6> stats;
  int first = -1;
  std::array<int, 16> counts{};
  std::array<int, 6> levelMarks{-1, -1, -1, -1, -1, -1};
  // Per heading level 1-6 (index 0-5): headings, underlined headings, contents lines.
  std::array<HeadingLevelStats, kStatisticsLevels> headings;
  std::array<HeadingLevelStats, kStatisticsLevels> underlinedHeadings;
  std::array<HeadingLevelStats, kStatisticsLevels> contents;
  std::array<TextStats, 2> moreStats;
  // The byte-pair census of the input, counted while the analysis pass reads it (the
  // Context's input state points here).
  CharacterPairCounts census;
  // No byte pairs are counted for windows-1250: its count stays 0 and its candidate never wins.
  int windows1250Pairs = 0;
  std::array<int, 3> countsC{};
  std::array<int, 5> countsD{};
  // The indent and type of the last line added (AddToStatistics of the line objects).
  int previousIndent = 0;
  int previousType = 0;
};
