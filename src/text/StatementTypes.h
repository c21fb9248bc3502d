#pragma once

// The line-type codes (StatementType) that every statement carries, the tagged types that
// directive and tag lines are given, and the bits of a line's flags word. The values are
// the ones the list file prints and the legend explains; stored files and the legend rely on
// them, so they never change.

// ---- Line types ----
enum StatementType : int {
  // Codes outside the legend's list.
  kTypeEndOfFile = -5,
  kTypeIgnored = -4,     // discarded from the input
  kTagNone = -3,         // tagged type of an ordinary text line
  kTypeHeaderNull = -2,  // null line treated as part of a header
  kTypeNull = -1,        // appended to the previous line
  kTypeUntyped = 0,      // not typed yet; also a line blanked as ignored at the end of a file

  kTypeBlank = 1,
  kTypeFormFeed = 2,
  kTypeNewParagraph = 3,
  kTypeLine = 4,  // a horizontal rule line
  kTypeTopOfPage = 5,  // top of a page; given only by a text command's treat_line

  kTypeHeading1 = 101,  // numbered (level) headings 101-106
  kTypeHeading2 = 102,
  kTypeHeading3 = 103,
  kTypeHeading4 = 104,
  kTypeHeading5 = 105,
  kTypeHeading6 = 106,
  kTypeUnderlinedHeading1 = 111,  // underlined headings 111-116
  kTypeUnderlinedHeading2 = 112,
  kTypeUnderlinedHeading3 = 113,
  kTypeUnderlinedHeading4 = 114,
  kTypeUnderlinedHeading5 = 115,
  kTypeUnderlinedHeading6 = 116,
  kTypeCapitalisedHeading = 120,
  kTypeEmbeddedHeading = 121,
  kTypeKeyPhraseHeading1 = 131,  // key-phrase headings 131-136
  kTypeKeyPhraseHeading2 = 132,
  kTypeKeyPhraseHeading3 = 133,
  kTypeKeyPhraseHeading4 = 134,
  kTypeKeyPhraseHeading5 = 135,
  kTypeKeyPhraseHeading6 = 136,
  kTypeContentsHeading1 = 151,  // contents-list headings 151-156
  kTypeContentsHeading2 = 152,
  kTypeContentsHeading3 = 153,
  kTypeContentsHeading4 = 154,
  kTypeContentsHeading5 = 155,
  kTypeContentsHeading6 = 156,
  kTypeHangingParagraph = 160,
  kTypeHangingContinuation = 161,
  kTypeNumberedParagraph = 170,

  kTypeUnderline1 = 201,  // the underline of a heading, levels 1-4
  kTypeUnderline2 = 202,
  kTypeUnderline3 = 203,
  kTypeUnderline4 = 204,

  kTypeBullet = 210,  // bullet character
  kTypeNumberedBullet = 211,
  kTypeLowerAlphaBullet = 212,
  kTypeLowerRomanBullet = 213,
  kTypeUpperAlphaBullet = 214,
  kTypeUpperRomanBullet = 215,
  kTypeBulletContinuation = 216,
  kTypeBulletBlank = 217,
  kTypeBulletBlankWithTags = 218,
  kTypeBulletBlankWithComment = 219,

  kTypeSeparator = 220,
  kTypeDefinition = 230,
  kTypeDefinitionContinuation = 231,
  kTypeQuoted = 235,
  kTypeContentsList = 241,  // also the tagged type of CONTENTS_LIST
  kTypeNavigationBar = 242,  // also the tagged type of NAVIGATION_BAR
  kTypeMailHeader = 250,  // mail or news header line

  // ---- Tagged types: directive and tag lines (the line type becomes the tagged type) ----
  kTagLine = 1001,  // LINERULE
  kTagToc = 1002,
  kTagPara = 1003,
  kTagBeginList = 1004,
  kTagEndList = 1005,
  kTagListItem = 1006,
  kTagChangeIndent = 1007,
  kTagChangePolicy = 1008,  // a change of output policy
  kTagEndIgnore = 1009,
  kTagBeginTable = 1010,
  kTagEndRegion = 1011,  // end of a pre-formatted region or table (every END_ directive)
  kTagNewFile = 1012,
  kTagBeginContents = 1013,
  kTagEndContents = 1014,
  kTagBeginHtml = 1015,
  kTagEndHtml = 1016,
  kTagDefineBlock = 1017,
  kTagEndBlock = 1018,
  kTagEmbedBlock = 1019,
  kTagInsertBlock = 1020,
  kTagResetBlock = 1021,
  kTagSaveContext = 1022,
  kTagRestoreContext = 1023,
  kTagDefineVariable = 1024,
  kTagDefineHtmlFragment = 1025,
  kTagDefineTextFragment = 1026,
  kTagResetHtmlFragment = 1027,
  kTagResetTextFragment = 1028,
  kTagLinkPoint = 1029,
  kTagAllow = 1030,
  kTagDisallow = 1031,
  kTagNewPage = 1032,
  kTagBeginUserTaggedTable = 1033,
  kTagMetaTag = 1034,
  kTagAlarmDefinition = 1035,
  kTagFormatDefinition = 1036,
  kTagGraphDefinition = 1037,
  kTagBeginDiagram = 1038,
  kTagBeginPre = 1039,
  kTagBeginCode = 1040,
  kTagBeginTableRegion = 1041,  // BEGIN_TABLE
  kTagBeginUserTable = 1042,
  kTagBeginDelimitedTable = 1043,
  kTagBeginCommaDelimitedTable = 1044,
  kTagInsertFragment = 1045,
};

inline constexpr int kFirstTagType = kTagLine;
inline constexpr int kLastTagType = kTagInsertFragment;

// ---- Line-type ranges ----
// Numbered headings 101-106.
constexpr bool IsLevelHeadingType(int type) {
  return type >= kTypeHeading1 && type <= kTypeHeading6;
}
// Underlined headings 111-116.
constexpr bool IsUnderlinedHeadingType(int type) {
  return type >= kTypeUnderlinedHeading1 && type <= kTypeUnderlinedHeading6;
}
// Key-phrase headings 131-136.
constexpr bool IsKeyPhraseHeadingType(int type) {
  return type >= kTypeKeyPhraseHeading1 && type <= kTypeKeyPhraseHeading6;
}
// Contents-list headings 151-156.
constexpr bool IsContentsHeadingType(int type) {
  return type >= kTypeContentsHeading1 && type <= kTypeContentsHeading6;
}
// A heading of any kind found in the text: 101-106, 111-116, 120, 121, 131-136 (not the
// contents headings).
constexpr bool IsHeadingType(int type) {
  return IsLevelHeadingType(type) || IsUnderlinedHeadingType(type) ||
         type == kTypeCapitalisedHeading || type == kTypeEmbeddedHeading ||
         IsKeyPhraseHeadingType(type);
}
// The underline lines 201-204.
constexpr bool IsUnderlineType(int type) {
  return type >= kTypeUnderline1 && type <= kTypeUnderline4;
}
// Every bullet kind 210-219, blank bullet lines included.
constexpr bool IsAnyBulletType(int type) {
  return type >= kTypeBullet && type <= kTypeBulletBlankWithComment;
}
// A bullet with its marker: 210-215.
constexpr bool IsMarkedBulletType(int type) {
  return type >= kTypeBullet && type <= kTypeUpperRomanBullet;
}
// A bullet line with text: 210-216 and 219.
constexpr bool IsBulletTextType(int type) {
  return (type >= kTypeBullet && type <= kTypeBulletContinuation) ||
         type == kTypeBulletBlankWithComment;
}
// A blank bullet line: 217, 218.
constexpr bool IsBulletBlankType(int type) {
  return type == kTypeBulletBlank || type == kTypeBulletBlankWithTags;
}
// The tagged (directive and tag) line types 1001-1045.
constexpr bool IsDirectiveTagType(int type) {
  return type >= kFirstTagType && type <= kLastTagType;
}

// ---- Line flags: the bits of a line's flags word ----
enum LineFlag : unsigned {
  kFlagPreformatted = 0x1,            // with the pre-formatted kind; '+' above kind 5
  kFlagRuleLine = 0x2,                // one repeated underline character
  kFlagDefinitionCandidate = 0x4,     // a definition separator was found
  kFlagCentred = 0x8,                 // 'c'
  kFlagUnderlined = 0x10,             // this line is underlined by the next one
  kFlagRollOut = 0x20,                // roll-out pre-formatted line, never wrapped: '|'
  kFlagMailHeader = 0x40,             // 'm'
  kFlagShortLine = 0x80,
  kFlagUrl = 0x100,                   // 'u'
  kFlagChangeBar = 0x200,             // 'b'
  kFlagPreserveStructure = 0x400,     // line structure preserved: the line ends a paragraph
  kFlagAmbiguous = 0x800,             // 'a' in the type column
  kFlagUserRegion = 0x1000,           // inside a user-specified region: a table line
  kFlagUserHtml = 0x2000,             // user HTML line, written as it is: 'H'
  kFlagIncluded = 0x4000,             // set by every reset; in a section that is output
  kFlagUserIgnore = 0x8000,           // inside an ignored block: excluded, 'I'
  kFlagSampleCode = 0x10000,          // 'C'
  kFlagContentsList = 0x20000,        // 'l'
  kFlagHeadingTag = 0x40000,          // the line carries a HEADING tag
  // From here up the bits belong to the driver: a line reset keeps them.
  kFlagNoWrap = 0x80000,              // written as one line, never wrapped
};

// The names under which the output stage reads the bits above.
inline constexpr unsigned kFlagNeverWrap = kFlagRollOut;
inline constexpr unsigned kFlagTableLine = kFlagUserRegion;
inline constexpr unsigned kFlagRawOutput = kFlagUserHtml;
inline constexpr unsigned kFlagParagraphEnd = kFlagPreserveStructure;
inline constexpr unsigned kFlagExcluded = kFlagUserIgnore;
inline constexpr unsigned kFlagCentredCandidate = kFlagCentred;
inline constexpr unsigned kFlagUnderlinedHeading = kFlagUnderlined;
// A blank line after a line with this bit (a mail or news header line) opens the next
// paragraph bare, kept with what follows, as it does after a heading.
inline constexpr unsigned kFlagOpensNextParagraph = kFlagMailHeader;

// The analysis bits, 0x1-0x40000: what a copy of a line takes over.
inline constexpr unsigned kLineFlagsMask = 0x7FFFFu;
// The driver's bits, 0x80000 up.
inline constexpr unsigned kDriverFlagsMask = ~kLineFlagsMask;

// Special-format codes of a pre-formatted region: how the writer has a region written.
enum SpecialFormatCode : int {
  kFormatNone = 0,
  kFormatUserTable = 1,
  kFormatUserCode = 2,
  kFormatUserDiagram = 3,
  kFormatUserPre = 4,
  kFormatUserTagged = 5,
  kFormatUserTagged2 = 6,
  kFormatTabDelimited = 7,
  kFormatCommaDelimited = 8,
  kFormatUnderwriter = 9,
  kFormatInvertedPyramid = 10,
};
