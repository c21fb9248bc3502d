#pragma once

#include <array>

#include "text/FontSpec.h"

// An in-line font change waiting for the output side: which properties change, the font that
// carries them and the font's index. The Context holds two in its pass state.
class FontChange {
 public:
  static constexpr int kChangeFlags = 4;
  // The change flags that say how the face, size and style change (0 = unchanged):
  // face mode 1 takes the change font; size mode 1 the change font's size, 2 sizeValue,
  // 3 sizeValue added to the size; style mode 1 the change font's bold and italic, 2 the
  // separate italic and bold flags.
  static constexpr int kFaceMode = 1;
  static constexpr int kSizeMode = 2;
  static constexpr int kStyleMode = 3;

  // True when any of the four change flags is set.
  bool IsActive() const;
  // All six flags and the size value 0, the font reset, font index -1. Returns 1.
  int Reset();
  // Withdraws the change: flag 2 cleared, the font reset; flags 3 and 4 cleared only where
  // they are 1 (other values are kept).
  void Cancel();

  std::array<int, kChangeFlags> changeFlags{};
  FontSpec font;
  int sizeValue = 0;
  int fontIndex = -1;
  int firstExtraFlag = 0;   // italic, for style mode 2
  int secondExtraFlag = 0;  // bold, for style mode 2
};

// Resets the first font-change record of the pass state when it is active.
void ClearPendingFontChange(FontChange& first);
