#include "policy/AnalysisStatistics.h"

void HeadingLevelStats::Reset() {
  indents.Clear();
  kinds.Clear();
  further.Clear();
  secondWords.Clear();
  lastNumber = -1;
  previousNumber = -1;
  lowestNumber = -1;
  highestNumber = -1;
  contentsMark = 0;
  previousContentsMark = 0;
  headingCount = 0;
  secondWordCount = 0;
  numberedParagraphCount = 0;
  joinedLines = 0;
}

AnalysisStatistics::AnalysisStatistics() { Reset(); }

void AnalysisStatistics::Reset() {
  for (TextStats& s : stats) s.Clear();
  first = -1;
  counts.fill(0);
  levelMarks.fill(-1);
  for (auto* levels : {&headings, &underlinedHeadings, &contents})
    for (HeadingLevelStats& level : *levels) level.Reset();
  for (TextStats& s : moreStats) s.Clear();
  census = CharacterPairCounts();
  windows1250Pairs = 0;
  countsC.fill(0);
  countsD.fill(0);
  previousIndent = 0;
  previousType = 0;
}
