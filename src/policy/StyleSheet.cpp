#include "policy/StyleSheet.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "policy/CorePolicy.h"
#include "policy/FileControl.h"

namespace {

// Alignment of a style: the pair the justification policies give, or left-aligned.
enum class Alignment : bool { Left, Policy };

struct StyleRow {
  int number;
  int basedOn;
  const char* displayName;
  const char* fileName;  // the name "define style" uses
  Alignment alignment;
  int plain;
  int inTable;
  int keep;
  int spaceBefore;
  int spaceAfter;
  int group;
  int fontNumber;
};

constexpr auto P = Alignment::Policy;
constexpr auto L = Alignment::Left;

// The 25 styles in index order (see StyleSheet::StyleIndex).
constexpr StyleRow kStyleRows[] = {
    {0, -1, "Normal", "Normal", P, 1, 0, 0, 60, 60, 1, 100},
    {1, -1, "Body", "Body", P, 1, 0, 0, 60, 60, 1, 101},
    {11, 1, "Short line", "ShortLine", P, 1, 0, 0, 0, 0, 9, 111},
    {12, 1, "Bullet", "Bullet", P, 1, 0, 0, 30, 0, 9, 112},
    {13, 1, "Quotes", "Quoted", L, 1, 0, 0, 0, 0, 5, 113},
    {14, 1, "Hanging list", "Hanging", P, 1, 0, 0, 60, 60, 9, 114},
    {15, 1, "Definition", "Definition", P, 1, 0, 0, 120, 120, 9, 115},
    {2, -1, "Table", "Table", L, 0, 1, 1, 0, 0, 11, 102},
    {3, -1, "Preformatted", "Preform", L, 1, 0, 1, 0, 0, 6, 103},
    {4, -1, "Diagram", "Diagram", L, 1, 0, 1, 0, 0, 6, 104},
    {5, -1, "Code", "Code", L, 1, 0, 1, 0, 0, 6, 105},
    {6, -1, "All Headings", "Heading", L, 1, 0, 1, 240, 120, 14, 106},
    {61, 6, "Heading 1", "Heading1", L, 1, 0, 1, 240, 120, 14, 161},
    {62, 6, "Heading 2", "Heading2", L, 1, 0, 1, 180, 120, 14, 162},
    {63, 6, "Heading 3", "Heading3", L, 1, 0, 1, 180, 120, 14, 163},
    {64, 6, "Heading 4", "Heading4", L, 1, 0, 1, 180, 60, 14, 164},
    {65, 6, "Heading 5", "Heading5", L, 1, 0, 1, 180, 60, 14, 165},
    {66, 6, "Heading 6", "Heading6", L, 1, 0, 1, 180, 60, 14, 166},
    {7, -1, "All TOC", "TOC", L, 1, 0, 1, 0, 0, 14, 107},
    {71, 7, "TOC 1", "TOC1", L, 1, 0, 1, 60, 0, 14, 171},
    {72, 7, "TOC 2", "TOC2", L, 1, 0, 1, 30, 0, 14, 172},
    {73, 7, "TOC 3", "TOC3", L, 1, 0, 1, 0, 0, 14, 173},
    {74, 7, "TOC 4", "TOC4", L, 1, 0, 1, 0, 0, 14, 174},
    {75, 7, "TOC 5", "TOC5", L, 1, 0, 1, 0, 0, 14, 175},
    {76, 7, "TOC 6", "TOC6", L, 1, 0, 1, 0, 0, 14, 176},
};
static_assert(std::size(kStyleRows) == StyleSheet::kStyleCount);

constexpr int kJustifyLeft = kAlignLeft;
constexpr int kJustifyCentre = 2;
constexpr int kJustifyRight = 3;

constexpr int kDefaultBaseSize = 10;
constexpr int kLargestFixedSize = 8;

int SanePointSize(int size) { return std::clamp(size, kMinPointSize, kMaxPointSize); }

// A font policy takes part when set and not empty ("Default font": whenever set).
bool IsFontPolicyUsed(const FileControl& fc, PolicyId id) {
  return fc.IsSet(id) && !fc.GetText(id).IsEmpty();
}

void ApplyFontPolicy(const FileControl& fc, PolicyId id, FontSpec& font) {
  fc.Font(id).ApplyToFontSpec(font);
  font.SetPointSize(SanePointSize(font.GetPointSize()));
}

bool IsRightToLeftEncoding(const TextString& encoding) {
  return encoding.Compare("iso-8859-8", 0, 0) || encoding.Compare("ar-sy", 0, 0) ||
         encoding.Compare("windows-1256", 0, 0);
}

// The edge flags of the styles that follow the justification policies.
void JustificationPair(const FileControl& fc, int& left, int& right) {
  // "Text justification" codes: 1 left, 2 centre, 3 right, anything else justified.
  const int justification = fc.GetInt(PolicyId::TextJustification);
  left = justification == kJustifyCentre || justification == kJustifyRight ? 0 : 1;
  right = justification == kJustifyLeft || justification == kJustifyCentre ? 0 : 1;
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters)) {
    left = 1;
    right = 0;
  }
  // Right-to-left text is right-aligned, whatever the justification asked for.
  if (IsRightToLeftEncoding(fc.GetText(PolicyId::CharacterEncoding))) {
    left = 0;
    right = 1;
  }
}

}  // namespace

void StyleRecord::Set(int number, int basedOnNumber, const char* displayName, int left,
                      int right, int plainFlag, int inTableFlag, int keepFlag,
                      const FontSpec& font, int before, int after, int group) {
  styleNumber = number;
  basedOn = basedOnNumber;
  name.Assign(displayName);
  leftEdge = left;
  rightEdge = right;
  plain = plainFlag;
  inTable = inTableFlag;
  keepWithNext = keepFlag;
  bold = font.IsBold();
  italic = font.IsItalic();
  fontNumber = font.GetStyleCode();
  pointSize = SanePointSize(font.GetPointSize());
  halfPointSize = pointSize * 2;
  spaceBefore = before;
  spaceAfter = after;
  groupCode = group;
}

StyleSheet::StyleSheet() = default;

StyleSheet::~StyleSheet() = default;

void StyleSheet::Clear() {
  for (StyleRecord& record : records_) record = StyleRecord();
  for (FontSpec& font : fonts_) font = FontSpec();
  ClearFonts();
}

void StyleSheet::PrepareForOutput(FileControl& fc) {
  SetDefaultFonts(fc);
  ReadStylesFile(fc);
  ApplyStyleFonts();
  Build(fc);
}

void StyleSheet::SetDefaultFonts(FileControl& fc) {
  for (FontSpec& font : fonts_) font.Reset();

  const int base = SanePointSize(fc.IsSet(PolicyId::BaseFONTSizeInPts)
                                     ? fc.GetInt(PolicyId::BaseFONTSizeInPts)
                                     : kDefaultBaseSize);
  const int fixedSize = base >= kLargestFixedSize ? kLargestFixedSize : base;

  FontSpec& normal = fonts_[kNormal];
  int textSize = base;
  // A set "Default font" counts even when empty; one that names no face would leave Normal,
  // and every style copied from it, without a face, so the built-in face stands in.
  if (fc.IsSet(PolicyId::DefaultFont) && IsValidFontSpec(fc.GetText(PolicyId::DefaultFont).GetText())) {
    ApplyFontPolicy(fc, PolicyId::DefaultFont, normal);
    textSize = normal.GetPointSize();
  } else {
    normal.SetFace("Times New Roman");
    normal.SetPointSize(base);
  }

  for (int i = kBody; i <= kDefinition; ++i) fonts_[i].CopyFrom(normal);
  fonts_[kQuotes].SetItalic(1);

  if (IsFontPolicyUsed(fc, PolicyId::TableFont))
    ApplyFontPolicy(fc, PolicyId::TableFont, fonts_[kTable]);
  else
    fonts_[kTable].CopyFrom(normal);

  const bool fixedUsed = IsFontPolicyUsed(fc, PolicyId::FixedFont);
  for (int i = kPreformatted; i <= kCode; ++i) {
    if (fixedUsed) {
      ApplyFontPolicy(fc, PolicyId::FixedFont, fonts_[i]);
    } else {
      fonts_[i].CopyFrom(normal);
      fonts_[i].SetFace("Courier New");
      fonts_[i].SetPointSize(fixedSize);
    }
    // The font table declares these fonts fixed-width.
    fonts_[i].SetPitch(0);
  }

  FontSpec& headings = fonts_[kAllHeadings];
  int headingSize = base;
  if (IsFontPolicyUsed(fc, PolicyId::HeadingFont)) {
    ApplyFontPolicy(fc, PolicyId::HeadingFont, headings);
    headingSize = headings.GetPointSize();
  } else {
    headings.CopyFrom(normal);
    headings.SetFace("Arial");
    headings.SetBold(1);
  }
  for (int i = kHeading1; i <= kHeading6; ++i) fonts_[i].CopyFrom(headings);
  fonts_[kHeading1].SetPointSize(SanePointSize(headingSize + 4));
  fonts_[kHeading1].SetBold(1);
  fonts_[kHeading1 + 1].SetPointSize(SanePointSize(headingSize + 2));
  fonts_[kHeading1 + 1].SetBold(1);
  fonts_[kHeading1 + 1].SetItalic(1);
  fonts_[kHeading1 + 2].SetPointSize(SanePointSize(headingSize + 2));
  fonts_[kHeading1 + 2].SetBold(1);
  for (int i = kHeading1 + 3; i <= kHeading6; ++i) {
    fonts_[i].SetPointSize(headingSize);
    fonts_[i].SetItalic(1);
  }

  FontSpec& contents = fonts_[kAllToc];
  if (IsFontPolicyUsed(fc, PolicyId::TableOfContentsFont))
    ApplyFontPolicy(fc, PolicyId::TableOfContentsFont, contents);
  else
    contents.CopyFrom(normal);
  for (int i = kToc1; i <= kToc6; ++i) fonts_[i].CopyFrom(contents);
  fonts_[kToc1].SetBold(1);
  fonts_[kToc1].SetPointSize(SanePointSize(textSize + 1));
  fonts_[kToc1 + 1].SetItalic(1);
  for (int i = kToc1 + 3; i <= kToc6; ++i) fonts_[i].SetPointSize(SanePointSize(textSize - 1));

  for (int i = 0; i < kStyleCount; ++i) fonts_[i].SetStyleCode(kStyleRows[i].fontNumber);
}

void StyleSheet::Build(FileControl& fc) {
  if (fc.pGetPolicyContext() == nullptr) return;

  int left = 1;
  int right = 1;
  JustificationPair(fc, left, right);

  for (int i = 0; i < kStyleCount; ++i) {
    const StyleRow& row = kStyleRows[i];
    // The style's font number is fixed: a font copied in from elsewhere must not bring its own.
    fonts_[i].SetStyleCode(row.fontNumber);
    const bool policy = row.alignment == Alignment::Policy;
    records_[i].Set(row.number, row.basedOn, row.displayName, policy ? left : 1,
                    policy ? right : 0, row.plain, row.inTable, row.keep, fonts_[i],
                    row.spaceBefore, row.spaceAfter, row.group);
  }
}

int StyleSheet::FindStyleIndex(const TextString& name) {
  for (int i = 0; i < kStyleCount; ++i) {
    if (name.Compare(kStyleRows[i].fileName, 0, 0)) return i;
  }
  return -1;
}

bool StyleSheet::SetStyleFont(FileControl& fc, const TextString& styleName,
                              const FontSpec& font) {
  const int index = FindStyleIndex(styleName);
  if (index < 0) {
    TextString message("ERROR: Unknown Style \"");
    message.Append(styleName);
    message.AppendChar('"');
    fc.ReportMessage(message.GetText(), 10);
    return false;
  }
  definedStyleFonts_[index] = font;
  styleFontDefined_[index] = true;
  const int number = fonts_[index].GetStyleCode();
  fonts_[index].CopyFrom(font);
  fonts_[index].SetStyleCode(number);
  return true;
}

void StyleSheet::ApplyStyleFonts() {
  for (int i = 0; i < kStyleCount; ++i) {
    if (!styleFontDefined_[i]) continue;
    const int number = fonts_[i].GetStyleCode();
    fonts_[i].CopyFrom(definedStyleFonts_[i]);
    fonts_[i].SetStyleCode(number);
  }
}

const FontSpec* StyleSheet::FindFont(const TextString& name) const {
  for (const auto& font : userFonts_) {
    const TextString secondName = font->GetSecondName();
    if (secondName.EqualsText(name, 0, 0)) return font.get();
  }
  return nullptr;
}

bool StyleSheet::AddFont(const FontSpec& font) {
  if (FindFont(font.GetSecondName()) != nullptr) return false;
  if (GetUserFontCount() >= kMaxUserFonts) return false;
  auto added = std::make_unique<FontSpec>(font);
  added->SetStyleCode(kFirstUserFontNumber + GetUserFontCount());
  userFonts_.push_back(std::move(added));
  return true;
}

void StyleSheet::ClearFonts() {
  userFonts_.clear();
  for (FontSpec& font : definedStyleFonts_) font = FontSpec();
  styleFontDefined_.fill(false);
  stylesFileRead_ = 0;
}
