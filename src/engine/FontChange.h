#pragma once

#include <array>

#include "text/FontSpec.h"

// An in-line font change waiting for the output side: which properties change, the font that
// carries them and the font's index. The Context holds two in its pass state.
class FontChange {
 public:
  static constexpr int kChangeFlags = 4;

  // True when any of the four change flags is set.
  bool IsActive() const;
  // All six flags 0, the font reset, font index -1. Returns 1.
  int Reset();
  // Withdraws the change: flag 2 cleared, the font reset; flags 3 and 4 cleared only where
  // they are 1 (other values are kept).
  void Cancel();

  std::array<int, kChangeFlags> changeFlags{};
  FontSpec font;
  int fontIndex = -1;
  int firstExtraFlag = 0;
  int secondExtraFlag = 0;
};

// Resets the first font-change record of the pass state when it is active.
void ClearPendingFontChange(FontChange& first);
