#pragma once

#include <array>

#include "policy/AnalysisStatistics.h"

class TextFile;

// The statistics file that the analysis pass writes when asked for: what it counted about the
// document, so that a user can see why the policy calculation chose what it chose. Every line
// goes through sink.WriteText.

// The whole report. Sorts the bullet-character statistics by frequency (hence not const).
void WriteStatistics(AnalysisStatistics& statistics, TextFile& sink);

// The per-level block of one heading section, levels 1 to 6. levels is one of the record's
// three arrays (headings, underlined headings, contents); the "Underlined heads" and
// "Hanging heads" parts read the record's second and third arrays whichever was given.
void WriteHeadingStatistics(const AnalysisStatistics& statistics,
                            const std::array<HeadingLevelStats, kStatisticsLevels>& levels,
                            TextFile& sink);
