#pragma once

// Where a line object keeps its part of an emphasis pair that the emphasis markup matched
// across lines, so that the pair can be withdrawn later (a line that turns out to be
// pre-formatted gives its markup back). Indices of PreHTML::GetOutputMark and
// PreHTML::pGetOwnedText; a reset leaves both marks 0 and both columns -1.

// Output marks.
inline constexpr int kEmphasisStartMark = 0;    // 1: a phrase that closes on a later line opens here
inline constexpr int kEmphasisStartColumn = 1;  // where its opening markup stands in the text
inline constexpr int kEmphasisEndMark = 2;      // 1: a phrase opened on an earlier line closes here
inline constexpr int kEmphasisEndColumn = 3;    // where its closing markup stands in the text

// Owned texts.
inline constexpr int kEmphasisStartText = 0;    // the start mark as written ("*", "_", "*_" ...)
inline constexpr int kEmphasisOpeningText = 1;  // the opening markup put in its place
inline constexpr int kEmphasisEndText = 2;      // the end mark as written
inline constexpr int kEmphasisClosingText = 3;  // the closing markup put in its place
