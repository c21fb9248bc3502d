#pragma once

#include <array>
#include <memory>
#include <vector>

#include "text/FontSpec.h"
#include "text/TextString.h"

class FileControl;

// RTF font numbers of the fonts a styles file defines: the i-th defined font is number
// kFirstUserFontNumber + i. The style fonts use 100-176 and the fonts of FONT tags start at
// 1000 (see FontKeyNumber), so at most kMaxUserFonts fonts fit between them.
inline constexpr int kFirstUserFontNumber = 200;
inline constexpr int kMaxUserFonts = 800;

// Point sizes the style sheet writes: RTF sizes are half-points, and sizes outside this range
// make no sense on a page (and would overflow when doubled).
inline constexpr int kMinPointSize = 1;
inline constexpr int kMaxPointSize = 1638;

// One paragraph style of the RTF output, as the style sheet writes it and paragraph openings
// use it. A fresh record is all zero with no style it is based on.
struct StyleRecord {
  int styleNumber = 0;  // written after "\s"
  int basedOn = -1;     // written after "\sbasedon"; -1 for none
  TextString name;      // display name in the style sheet
  // Alignment: left only = left-aligned, right only = "\qr", both = "\qj", neither = "\qc".
  int leftEdge = 0;
  int rightEdge = 0;
  int plain = 0;         // the paragraph opening writes "\plain"
  int inTable = 0;       // ... "\intbl"
  int keepWithNext = 0;  // ... "\keepn\widctlpar"
  int bold = 0;
  int italic = 0;
  int fontNumber = 0;  // the font's number in the RTF font table
  int pointSize = 0;
  int halfPointSize = 0;  // the value of "\fs"
  int spaceBefore = 0;    // twips ("\sb"), 0 = none
  int spaceAfter = 0;     // twips ("\sa"), 0 = none
  int groupCode = 0;      // 1, 5, 6, 9, 11 or 14

  // Stores the arguments and takes bold, italic, style code and point size from font; the
  // half-point size is twice the point size.
  void Set(int number, int basedOnNumber, const char* displayName, int left, int right,
           int plainFlag, int inTableFlag, int keepFlag, const FontSpec& font, int before,
           int after, int group);
};

// The 25 paragraph styles of the RTF output with their fonts, and the fonts and style fonts
// that a styles file defines. One per Context; the writer prepares it for every output file
// (PrepareForOutput) before the first style is written.
class StyleSheet {
 public:
  static constexpr int kStyleCount = 25;
  // Indexes of the styles that other code picks by name.
  enum StyleIndex : int {
    kNormal = 0,
    kBody = 1,
    kShortLine = 2,
    kBullet = 3,
    kQuotes = 4,
    kHangingList = 5,
    kDefinition = 6,
    kTable = 7,
    kPreformatted = 8,
    kDiagram = 9,
    kCode = 10,
    kAllHeadings = 11,
    kHeading1 = 12,
    kHeading6 = 17,
    kAllToc = 18,
    kToc1 = 19,
    kToc6 = 24,
  };

  StyleSheet();
  StyleSheet(const StyleSheet&) = delete;  // one per Context; owns the defined fonts
  StyleSheet& operator=(const StyleSheet&) = delete;
  ~StyleSheet();

  // Every record and style font back to its fresh state, and ClearFonts.
  void Clear();

  // The sheet made ready for one output file, in the order that lets a styles file win:
  // SetDefaultFonts, ReadStylesFile (read now when it was not read since the last Clear),
  // the styles file's style fonts laid over the defaults again, then Build.
  void PrepareForOutput(FileControl& fc);

  // Fills the 25 style fonts from the font policies of fc ("Default font", "Table font",
  // "Fixed font", "Heading font", "Table of Contents font", "Base FONT Size in pts"). Each
  // font starts from its reset state, so nothing of an earlier file or styles file stays.
  void SetDefaultFonts(FileControl& fc);
  // Fills the 25 records from the style fonts and the justification and encoding policies.
  // Each style font first gets its style's fixed font number. Nothing without a Context.
  void Build(FileControl& fc);
  // Reads the styles file that "Style file" names, unless one was read since the last
  // ClearFonts. A file that cannot be opened is reported ("** Failed to open styles file
  // ... ***") and tried again at the next call. Lines that cannot be taken are reported with
  // the file and line and change nothing.
  void ReadStylesFile(FileControl& fc);
  // Copies font into the style font whose styles-file name ("Normal", "ShortLine", "TOC3"
  // ...) equals styleName ignoring case; the style keeps its font number. The font is also
  // kept to be laid over the defaults of every later PrepareForOutput. An unknown name is
  // reported ("ERROR: Unknown Style ...") and changes nothing; false then.
  bool SetStyleFont(FileControl& fc, const TextString& styleName, const FontSpec& font);
  // Lays the style fonts kept by SetStyleFont over the current style fonts.
  void ApplyStyleFonts();

  // The defined font whose second name equals name ignoring case (the first defined wins),
  // or null.
  const FontSpec* FindFont(const TextString& name) const;
  // Appends a copy of font numbered kFirstUserFontNumber + its index. Nothing when a font of
  // that second name is defined already (the first definition stays) or kMaxUserFonts are
  // defined; false then.
  bool AddFont(const FontSpec& font);
  // Deletes the defined fonts and the kept style fonts and clears the styles-file-read flag.
  void ClearFonts();

  int GetUserFontCount() const { return static_cast<int>(userFonts_.size()); }
  const FontSpec& GetUserFont(int index) const { return *userFonts_[static_cast<size_t>(index)]; }
  int IsStylesFileRead() const { return stylesFileRead_; }
  // index 0 .. kStyleCount - 1.
  const StyleRecord& GetRecord(int index) const { return records_[static_cast<size_t>(index)]; }
  const FontSpec& GetFont(int index) const { return fonts_[static_cast<size_t>(index)]; }

  // The index of the style whose styles-file name equals name ignoring case, or -1.
  static int FindStyleIndex(const TextString& name);

 private:
  std::array<StyleRecord, kStyleCount> records_;
  std::array<FontSpec, kStyleCount> fonts_;
  std::vector<std::unique_ptr<FontSpec>> userFonts_;
  // The style fonts a styles file gave, laid over the defaults by ApplyStyleFonts.
  std::array<FontSpec, kStyleCount> definedStyleFonts_;
  std::array<bool, kStyleCount> styleFontDefined_{};
  int stylesFileRead_ = 0;
};
