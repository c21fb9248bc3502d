#include "text/FontSpec.h"

#include <string_view>

namespace {

struct FaceWidth {
  const char* face;  // compared as a whole text, ASCII case ignored
  double factor;
};

// Widths relative to Times New Roman. The spellings are the ones the program compares with.
constexpr FaceWidth kFaceWidths[] = {
    {"times new roman", 1.0},     {"verdana", 1.3},
    {"arial", 1.1},               {"angsana new", 0.7},
    {"angsanaupc", 0.7},          {"ar sans serif", 1.1},
    {"arabic transparent", 1.0},  {"arial black", 1.3},
    {"arial narrow", 0.85},       {"batang", 1.25},
    {"batangche", 1.2},           {"bookman old style", 1.2},
    {"browallia new", 0.7},       {"browalliaupc", 0.7},
    {"comic sans MS", 1.2},       {"corida new", 0.7},
    {"cordiaupc", 0.7},           {"david", 1.0},
    {"dotum", 1.2},               {"fixedsys", 1.15},
    {"garamond", 1.0},            {"lucida console", 1.4},
    {"lucida sans unicode", 1.3}, {"microsoft sans serif", 1.1},
    {"minglui", 1.0},             {"ms dialog", 1.15},
    {"ms dialog light", 1.1},     {"ms gothic", 1.2},
    {"ms pgothic", 1.0},          {"ms mincho", 1.2},
    {"ms pmincho", 1.0},          {"ms sans serif", 1.2},
    {"courier", 1.45},            {"courier new", 1.45},
    {"ms serif", 0.95},           {"ms systemex", 1.15},
    {"ms ui gothic", 1.0},        {"nsimsun", 1.2},
    {"palatino linotype", 1.1},   {"pmingliu", 0.9},
    {"roman", 1.1},               {"script", 1.05},
    {"small fonts", 1.0},         {"sylfaen", 1.0},
    {"system", 1.15},             {"tahoma", 1.2},
    {"terminal", 1.1},            {"trebuchet ms", 1.15},
    {"wingdings", 2.0},
};
static_assert(std::size(kFaceWidths) == 49);

bool IsBlack(const TextString& colour) {
  return colour.Compare("BLACK", 0, 0) || colour.Compare("#000000", 0, 0) ||
         colour.Compare("000000", 0, 0);
}

}  // namespace

FontSpec::FontSpec() { Reset(); }

FontSpec::FontSpec(const FontSpec& source) {
  Reset();
  CopyFrom(source);
  wasSet_ = 1;
}

FontSpec& FontSpec::operator=(const FontSpec& source) {
  if (this == &source) return *this;
  CopyFrom(source);
  wasSet_ = source.wasSet_;
  return *this;
}

FontSpec::~FontSpec() { wasSet_ = 0; }

void FontSpec::Reset() {
  face_.Clear();
  secondName_.Clear();
  colour_.Clear();
  styleCode_ = -1;
  pointSize_ = 12;
  firstInteger_ = 0;
  lineHeight_ = 14;
  widthFactor_ = 1.0;
  pitch_ = 1;
  sansSerif_ = 0;
  bold_ = 0;
  italic_ = 0;
}

void FontSpec::CopyFrom(const FontSpec& source) {
  if (this == &source) return;
  face_.Assign(source.face_);
  secondName_.Assign(source.secondName_);
  colour_.Assign(source.colour_);
  styleCode_ = source.styleCode_;
  pointSize_ = source.pointSize_;
  widthFactor_ = source.widthFactor_;
  firstInteger_ = source.firstInteger_;
  lineHeight_ = source.lineHeight_;
  sansSerif_ = source.sansSerif_;
  bold_ = source.bold_;
  italic_ = source.italic_;
  pitch_ = source.pitch_;
}

double FontSpec::LookUpWidthFactor(const TextString& face) {
  for (const FaceWidth& row : kFaceWidths) {
    if (face.Compare(row.face, 0, 0)) return row.factor;
  }
  return 0.0;
}

int FontSpec::SetFace(const TextString& face) {
  face_.Assign(face);
  const double factor = LookUpWidthFactor(face_);
  if (factor > 0.0) widthFactor_ = factor;
  wasSet_ = 1;
  return face_.Compare("wingdings", 0, 0) ? 1 : 0;
}

void FontSpec::SetSecondName(const TextString& name) {
  secondName_.Assign(name);
  wasSet_ = 1;
}

void FontSpec::SetColour(const TextString& text) {
  if (IsBlack(text)) {
    colour_.Clear();
    return;
  }
  colour_.Assign(text);
}

void FontSpec::SetLineHeight(int height) {
  lineHeight_ = height < pointSize_ ? pointSize_ : height;
}
