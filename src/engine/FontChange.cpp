#include "engine/FontChange.h"

bool FontChange::IsActive() const {
  for (int flag : changeFlags) {
    if (flag != 0)
      return true;
  }
  return false;
}

int FontChange::Reset() {
  changeFlags.fill(0);
  firstExtraFlag = 0;
  secondExtraFlag = 0;
  sizeValue = 0;
  font.Reset();
  fontIndex = -1;
  return 1;
}

void FontChange::Cancel() {
  changeFlags[1] = 0;
  font.Reset();
  // Values other than 1 in these two flags are kept for the writer that set them.
  if (changeFlags[2] == 1)
    changeFlags[2] = 0;
  if (changeFlags[3] == 1)
    changeFlags[3] = 0;
}

void ClearPendingFontChange(FontChange& first) {
  if (first.IsActive())
    first.Reset();
}
