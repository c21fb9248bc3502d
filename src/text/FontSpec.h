#pragma once

#include "text/TextString.h"

// One font as the converter uses it: face, second name, colour, sizes, a width factor
// relative to Times New Roman, the family and style flags, and the style code it belongs to.
// The "was set" flag tells whether a face or second name was ever given (or the object was
// copy-constructed); a current font whose flag is 0 counts as absent.
class FontSpec {
 public:
  // Empty names, the Reset values, was-set 0.
  FontSpec();
  // Reset, then CopyFrom(source), then was-set 1 whatever the source's flag was.
  FontSpec(const FontSpec& source);
  // Copies every field, the was-set flag included.
  FontSpec& operator=(const FontSpec& source);
  // Same as operator=.
  FontSpec& Assign(const FontSpec& source) { return *this = source; }
  ~FontSpec();

  // Empties the three names; style code -1, point size 12, first integer 0, line height 14,
  // width factor 1.0, pitch 1, the three flags 0. The was-set flag keeps its value.
  void Reset();
  // Every field except the was-set flag, which stays as it is.
  void CopyFrom(const FontSpec& source);

  // Stores the face; a listed face (whole text, ASCII case ignored) sets the width factor,
  // an unlisted one keeps the factor it had. Sets was-set. Returns 1 for "wingdings", else 0.
  int SetFace(const TextString& face);
  // Stores the second name and sets was-set.
  void SetSecondName(const TextString& name);
  TextString GetSecondName() const { return secondName_; }
  // Takes the text of a statement (any TextString); black ("BLACK", "#000000", "000000",
  // ASCII case ignored) is stored as the empty colour. Leaves was-set alone.
  void SetColour(const TextString& text);
  // The line height, raised to the point size when below it.
  void SetLineHeight(int height);

  // These store the value and leave was-set alone.
  void SetPointSize(int size) { pointSize_ = size; }
  void SetStyleCode(int code) { styleCode_ = code; }
  void SetBold(int bold) { bold_ = bold; }
  void SetItalic(int italic) { italic_ = italic; }
  void SetSansSerif(int sansSerif) { sansSerif_ = sansSerif; }
  void SetPitch(int pitch) { pitch_ = pitch; }
  void SetWasSet(int wasSet) { wasSet_ = wasSet; }

  const TextString& GetFace() const { return face_; }
  const TextString& GetColour() const { return colour_; }
  int GetStyleCode() const { return styleCode_; }
  int GetPointSize() const { return pointSize_; }
  int GetLineHeight() const { return lineHeight_; }
  int GetFirstInteger() const { return firstInteger_; }
  double GetWidthFactor() const { return widthFactor_; }
  // The pitch: 0 marks a fixed-width font (1 after Reset).
  int GetPitch() const { return pitch_; }
  int IsSansSerif() const { return sansSerif_; }
  int IsBold() const { return bold_; }
  int IsItalic() const { return italic_; }
  int WasSet() const { return wasSet_; }

  // The width factor of a listed face, or 0.0 when the face is not listed.
  static double LookUpWidthFactor(const TextString& face);

 private:
  TextString face_;
  TextString secondName_;
  TextString colour_;
  int styleCode_ = -1;
  int pointSize_ = 12;
  int lineHeight_ = 14;
  // Carried and copied with the rest; no reader yet.
  int firstInteger_ = 0;
  double widthFactor_ = 1.0;
  int pitch_ = 1;
  int sansSerif_ = 0;
  int bold_ = 0;
  int italic_ = 0;
  int wasSet_ = 0;
};
