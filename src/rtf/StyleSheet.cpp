#include "rtf/StyleSheet.h"

StyleSheet::StyleSheet() = default;

StyleSheet::~StyleSheet() = default;

void StyleSheet::Clear() {
  for (StyleRecord& record : records_)
    record = StyleRecord();
  for (FontSpec& font : fonts_)
    font = FontSpec();
  count_ = 0;
  stylesFileLoaded_ = 0;
}

void StyleSheet::Build() {}

void StyleSheet::SetDefaultFonts(FileControl& /*fc*/) {}

void StyleSheet::ClearFonts() { stylesFileLoaded_ = 0; }

void StyleSheet::ReadStylesFile(FileControl& /*fc*/) {}
