#pragma once

#include <array>

#include "text/FontSpec.h"
#include "text/TextString.h"

class FileControl;

// One paragraph style of the RTF output. The RTF writer gives the numbered fields their
// meaning; the defaults are those a fresh record starts with.
struct StyleRecord {
  int styleNumber = 0;
  int level = 0;
  TextString name;
  int enabled = 1;
  std::array<int, 7> flags{};
  std::array<int, 4> spacing{10, 20, 60, 60};
  int kind = 0;
};

// The style sheet of the conversion context: 25 styles and their fonts. Until the RTF writer
// exists it builds no styles and reads no styles file.
class StyleSheet {
 public:
  static constexpr int kStyleCount = 25;

  StyleSheet();
  StyleSheet(const StyleSheet&) = delete;  // one per context
  StyleSheet& operator=(const StyleSheet&) = delete;
  ~StyleSheet();

  // Every record and font back to its fresh state, count and loaded flag 0.
  void Clear();
  void Build();
  void SetDefaultFonts(FileControl& fc);
  // Forgets the fonts of a styles file and clears the loaded flag.
  void ClearFonts();
  void ReadStylesFile(FileControl& fc);

  int GetCount() const { return count_; }
  int IsStylesFileLoaded() const { return stylesFileLoaded_; }
  const StyleRecord& GetRecord(int index) const { return records_[static_cast<size_t>(index)]; }
  const FontSpec& GetFont(int index) const { return fonts_[static_cast<size_t>(index)]; }

 private:
  std::array<StyleRecord, kStyleCount> records_;
  std::array<FontSpec, kStyleCount> fonts_;
  int count_ = 0;
  int stylesFileLoaded_ = 0;
};
