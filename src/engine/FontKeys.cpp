#include "engine/FontKeys.h"

#include "engine/Context.h"

int FindFontKeyNumber(const Context& ctx, const TextString& key) {
  int index = -1;
  if (!ctx.FontKeys.Find(key, &index) || index < 0) return -1;
  return FontKeyNumber(index);
}
