#include "text/TextMeasure.h"

#include "text/FontMetricTable.h"

namespace {

constexpr int kFixedPitchWidth = 600;
constexpr int kEstimatedWidth = 500;
// The longest entity counted as one character, "&" and ";" included.
constexpr int kMaxEntityLength = 8;

const FontMetrics* PickRecord(int bold, int italic, int record) {
  const FontMetricTable& table = GetFontMetricTable();
  if (record >= 0 && record < table.GetCount()) return table.GetRecord(record);
  return table.GetRecord((bold ? 1 : 0) + (italic ? 2 : 0));
}

// Offset of the ";" that closes an entity starting at text[0] ("&"), or 0 when none does
// within kMaxEntityLength bytes (a blank or the end stops the search).
int EntityEnd(const char* text) {
  for (int i = 1; text[i] != '\0' && text[i] != ' '; ++i) {
    if (text[i] != ';') continue;
    return i < kMaxEntityLength ? i : 0;
  }
  return 0;
}

int WidenByPercent(int twips, int percent) {
  if (percent == 0) return twips;
  return static_cast<int>((percent + 100) / 100.0 * twips);
}

}  // namespace

int TextWidth(const char* text, int fixedPitch, int bold, int italic, int entities, int kerning,
              int record) {
  if (text == nullptr) return 0;
  if (fixedPitch) {
    int length = 0;
    while (text[length] != '\0') ++length;
    return length * kFixedPitchWidth;
  }
  const FontMetrics* metrics = PickRecord(bold, italic, record);
  if (metrics == nullptr) return 0;
  const int* widths = metrics->GetWidths();
  const int defaultWidth = metrics->GetDefaultWidth();
  int sum = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    sum += widths[c] > 0 ? widths[c] : defaultWidth;
    if (entities && c == '&') {
      i += EntityEnd(text + i);
      continue;
    }
    if (kerning && text[i + 1] != '\0') sum += metrics->GetKerning(text[i], text[i + 1]);
  }
  return sum;
}

int TextWidthTwips(const char* text, int pointSize, int percent, int fixedPitch, int bold,
                   int italic, int entities) {
  const int width = TextWidth(text, fixedPitch, bold, italic, entities, 1, -1);
  int twips = static_cast<int>(pointSize * static_cast<double>(width) / 50.0);
  twips = WidenByPercent(twips, percent);
  return static_cast<int>(twips * 1.02);
}

int TextWidthTwips(const TextString& text, int pointSize, int percent, int fixedPitch, int bold,
                   int italic, int entities) {
  return TextWidthTwips(text.GetText(), pointSize, percent, fixedPitch, bold, italic, entities);
}

int TextWidthInPoints(const char* text, int pointSize, int percent, int fixedPitch, int bold,
                      int italic, int entities) {
  return TextWidthTwips(text, pointSize, percent, fixedPitch, bold, italic, entities) / 20 + 1;
}

int StringWidthInPoints(const TextString& text, int pointSize, int percent, int fixedPitch,
                        int bold, int italic, int entities) {
  return TextWidthInPoints(text.GetText(), pointSize, percent, fixedPitch, bold, italic,
                           entities);
}

int EstimateTextWidth(int useMetrics, const TextString& text, int pointSize, int percent) {
  if (useMetrics) return TextWidthTwips(text, pointSize, percent, 0, 0, 0, 0);
  const double twips =
      static_cast<double>(text.GetLength()) * pointSize * kEstimatedWidth / 50.0;
  return WidenByPercent(static_cast<int>(twips), percent);
}
