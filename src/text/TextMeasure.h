#pragma once

#include "text/TextString.h"

// Printed-width estimates from the program's own font metrics (FontMetricTable), without
// asking the operating system. Results are rounded down; twips are 1/20 point.

// Width of text in thousandths of an em. fixedPitch: 600 per byte. Otherwise the metric
// record at index record when it exists, else the one the style picks (bold 1, italic 2,
// both 3). A byte without a width counts the record's default width. With entities, an
// "&...;" of at most 8 bytes counts once as "&" and "&" never kerns; with kerning, each
// adjacent pair adds its kerning. Null or empty text measures 0.
int TextWidth(const char* text, int fixedPitch, int bold, int italic, int entities, int kerning,
              int record);

// Width in twips at pointSize, kerned, widened by percent (when not 0) and by 2 %.
int TextWidthTwips(const char* text, int pointSize, int percent, int fixedPitch, int bold,
                   int italic, int entities);
int TextWidthTwips(const TextString& text, int pointSize, int percent, int fixedPitch, int bold,
                   int italic, int entities);

// TextWidthTwips / 20 + 1 (so the empty text is 1 point).
int TextWidthInPoints(const char* text, int pointSize, int percent, int fixedPitch, int bold,
                      int italic, int entities);
int StringWidthInPoints(const TextString& text, int pointSize, int percent, int fixedPitch,
                        int bold, int italic, int entities);

// Twips: from the metrics (plain, proportional, no entities) with useMetrics, otherwise 500
// thousandths of an em per byte, widened by percent but without the 2 % allowance.
int EstimateTextWidth(int useMetrics, const TextString& text, int pointSize, int percent);
