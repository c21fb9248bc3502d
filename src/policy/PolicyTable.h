#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The registry of the named policies of a policy set: one constexpr row per policy, in
// registration order (which is also the order of writing within each policy-file section).
// FileControl registers, copies and merges its members by walking these rows; the policy
// file reader and writer read the same rows.

// Kind of a registered policy; the values are the policy type codes.
enum class PolicyKind : std::uint8_t {
  Int = 1,
  Bool = 2,
  Text = 3,
  Align = 4,
  Colour = 5,
  Font = 6,
  List = 7,
};

// The policy-file section a policy is written in ("[Messages]" ...), in file order.
enum class PolicyFileSection : std::uint8_t {
  Messages,
  Pembrelle,
  Tagging,
  GeneralAnalysis,
  Bullets,
  Headings,
  PreformattedText,
  ConfigFiles,
  AddedHtml,
  AddedRtf,
  CompositionUnits,
  Frames,
  Hyperlinks,
  FileGeneration,
  Contents,
  DirectoryPage,
  Preprocessor,
  Style,
  PageFormatting,
  LinkDictionary,
  NotWritten,  // never written to a policy file
};
inline constexpr int kPolicyFileSectionCount = 21;

// The header line of a section ("[Messages]"); empty for NotWritten.
std::string_view PolicyFileSectionName(PolicyFileSection section);

// How a policy's line is written beyond the plain form of its kind.
enum class PolicyWriteRule : std::uint8_t {
  Plain,
  NoneAtOrBelowZero,    // an Int whose values of 0 and below are written "(none)"
  OnlyWhenSet,          // written only when set explicitly, even when all are asked for
  OnlyWithPageMarkers,  // written only while "Input file has page markers" is on
  Never,                // not written at all
};

// Which policy lines the policy-line loader accepts for a policy.
enum class PolicyReadRule : std::uint8_t {
  Accepted,
  NotAccepted,  // the loader refuses its key
  FileOnly,     // taken only by the policy-file reader itself
  WhileUnset,   // accepted only while the policy is not set explicitly
  ProductTen,   // registered, read, copied and merged only for product identity 10
};

// Bool and Align defaults.
inline constexpr int kNo = 0;
inline constexpr int kYes = 1;
inline constexpr int kAlignLeft = 1;

// One constant per registered policy, in registration order; the value is the row index.
enum class PolicyId : std::uint16_t {
  ErrorReportingLevel,
  SuppressURLMessages,
  SuppressINFOMessages,
  SuppressWARNINGMessages,
  SuppressProgramERRORMessages,
  SuppressTAGERRORMessages,
  AddFONTMarkup,
  AddFONTSizeMarkup,
  AddFONTStyleMarkup,
  AddFONTFaceMarkup,
  AddEmphasisAndBoldMarkup,
  UseOfMicrosoftEntitiesCode,
  UseOfHTML40EntitiesCode,
  IndentationMarkupCode,
  UseIncrementalIndentationMarkup,
  ListMarkupCode,
  ApplyFONTToEmptyTableCells,
  FolioBlockStructure,
  ColourREDLINESections,
  AvoidTagBreaks,
  CommentGenerationCode,
  RemoveRedundantTags,
  StartTagDelimiter,
  EndTagDelimiter,
  DirectiveDelimiter,
  MonitorTagGeneration,
  SuppressHnMarkupForHeadings,
  SearchForDefinitions,
  PageWidth,
  TABSize,
  TextJustification,
  ExpectBlankLinesBetweenParas,
  NewParagraphOffset,
  PreserveNewParagraphOffset,
  InputFileContainsJapaneseCharacters,
  InputFileContainsDOSCharacters,
  InputFileContainsPCLCodes,
  InputFileContainsUNICODECharacters,
  InputFileContainsMIMEEncoding,
  InputFileIsDoubleSpaced,
  InputFileHasChangeBars,
  InputFileHasPageMarkers,
  PageMarkerSizeInLines,
  KeepItSimple,
  MinChapterSize,
  LookForIndentation,
  LookForThisAndThatEmphasis,
  LookForShortLines,
  LookForBullets,
  LookForWhiteSpace,
  LookForMAILAndUSENETHeaders,
  LookForQuotedText,
  LookForUnderlinedText,
  LookForPreformattedText,
  LookForDiagrams,
  LookForCharacterEncodings,
  ShortLineLength,
  ExpectCodeSamples,
  LookForHorizontalRulers,
  LookForHangingParagraphs,
  MinimumRulerLength,
  ExpectNumberedBullets,
  ExpectAlphabeticBullets,
  ExpectRomanNumeralBullets,
  RecogniseDashAsABullet,
  BulletPointCharacters,
  RecogniseOAsABullet,
  FirstSectionNumber,
  ExpectNumberedHeadings,
  ExpectUnderlinedHeadings,
  ExpectCapitalisedHeadings,
  ExpectEmbeddedHeadings,
  CenterFirstHeading,
  UseNumberedSequenceInFileNames,
  NumberOfWordsToIncludeInFilename,
  PreserveUnderliningOfHeadings,
  CheckIndentationForConsistency,
  HeadingKeyPhrases,
  ExpectSecondWordHeadings,
  MinimumAutomaticPRESize,
  DefinitionsFile,
  FragmentsFile,
  TextCommandFile,
  DocumentTitle,
  UseFirstHeadingAsTitle,
  UseFirstLineAsTitle,
  UseFirstLineAsHeading,
  DocumentBaseURL,
  DocumentKeywords,
  DocumentDescription,
  HTMLScriptFile,
  CharacterEncoding,
  HTMLHeaderFile,
  HTMLFooterFile,
  TextColour,
  BackgroundColour,
  BackgroundImage,
  ShortcutIconURL,
  AuthorURL,
  BookmarkURL,
  CopyrightURL,
  UnvisitedLinkColour,
  VisitedLinkColour,
  ActiveLinkColour,
  SuppressAllColourMarkup,
  SuppressAllFontMarkup,
  FirstLineIndentationInBlocks,
  DocumentSubject,
  DocumentAuthor,
  DocumentManager,
  DocumentCategory,
  DocumentComments,
  DocumentCompanyName,
  LanguageForProofing,
  UseOfRTFStyles,
  PaperSize,
  UseLandscapeMode,
  TopMarginInCm,
  BottomMarginInCm,
  LeftMarginInCm,
  RightMarginInCm,
  MirrorMargins,
  MakeWindowsHelpSourceFile,
  CharactersToUseForBullets,
  UseOriginalBulletMarker,
  InputFileIsACompositionUnit,
  PlaceDocumentInFrames,
  OutputFrameName,
  HeaderFrameDepth,
  FooterFrameDepth,
  ContentsFrameWidth,
  UseMainHeaderInHeaderFrame,
  UseMainFooterInFooterFrame,
  AddContentsFrameIfPossible,
  AddFrameBorder,
  OpenFrameLinksInNewWindow,
  NewFrameLinkWindowName,
  AddNOFRAMESLinks,
  NOFRAMESLinkURL,
  OnlyAllowPagesToBeViewedInFrames,
  FirstFramePageNumber,
  NumberOfLevelsInContentsFrame,
  HeaderFrameBackgroundColour,
  HeaderFrameTextColour,
  ContentsFrameBackgroundColour,
  ContentsFrameTextColour,
  FooterFrameBackgroundColour,
  FooterFrameTextColour,
  CreateHyperlinks,
  CreateMailtoLinks,
  CreateFTPLinks,
  CreateNEWSLinks,
  CreateGopherLinks,
  CreateTelnetLinks,
  CheckDomainNameSyntax,
  OnlyUseKnownGroups,
  OnlyAllowExplicitFTPLinks,
  AllowEmailBeginningWithNumbers,
  OpenLinksInNewBrowserWindow,
  NewBrowserWindowName,
  AddBRToLinesWithURLs,
  MaxLengthOfHeadingLinks,
  CrossRefsAtLevel,
  HTMLVersionToBeTargeted,
  InputFileType,
  UseHTMExtension,
  OutputFileExtension,
  UseDOSFilenames,
  DOSFilenameRoot,
  SplitLevel,
  SplitAtPageMarkers,
  MinHTMLFileSize,
  ConcatenateResultsIntoOneFile,
  AddNavigationBar,
  TreatEachLineAsAParagraph,
  PreserveLineStructure,
  PreserveFileStructureUsingPRE,
  MinimiseHTMLFileSize,
  BreakUpLongHTMLLines,
  LinesToIgnoreAtStartOfFile,
  LinesToIgnoreAtEndOfFile,
  OmitHEADAndBODYFromOutput,
  AddContentsList,
  ExpectContentsList,
  UseAnyExistingContentsList,
  GenerateExternalContentsFile,
  ExternalContentsListFilename,
  HyperlinksOnNumbers,
  MaximumLevelToShowInContents,
  ContentsStyleCode,
  AddAnchorsToContentsList,
  ContentsAnchorsLevel,
  AddMailHeadersToContentsList,
  MakeDirectory,
  DirectoryFilename,
  ShowFileTitlesInDirectory,
  IndentHeadingsInDirectory,
  MaximumNumberOfFilesPerIndexPage,
  DirectoryTitle,
  DirectoryKeywords,
  DirectoryDescription,
  DirectoryReturnHyperlinkText,
  DirectoryScriptFile,
  DirectoryHeaderFile,
  DirectoryFooterFile,
  UsePreprocessor,
  DocumentStyleSheet,
  LabelStyleClasses,
  CreateEmbeddedStyleSheet,
  HighlightDefinitionText,
  UsePMarkupForParagraphs,
  UseDLMarkupForDefnParas,
  AllowAutomaticCentring,
  AutomaticCentringTolerance,
  SmallestAllowedHnTag,
  LargestAllowedHnTag,
  HeadingsColour,
  StyleFile,
  DefaultFont,
  HeadingFont,
  TableOfContentsFont,
  TableFont,
  FixedFont,
  BaseFONTSizeInPts,
  DeltaFONTSizeInPts,
  FontStretchFactorInPercent,
  ScopeForFontTags,
  UseCSSToImplementFonts,
  IgnoreMultipleBlankLines,
  UseEMAndSTRONGMarkup,
  AllowDefinitionsInsidePRE,
  CENTERWholeDocument,
  IndentWholeDocument,
  AttemptTABLEGeneration,
  MaxLengthOfCandidateTableLines,
  LinkDictionaryFile,
  PInsideListUsageCode,
  ShowTagsInOutput,
  ScopeCOLOURTagsGlobally,
  InputFileContainsBinaryEncodedData,
  InputDirectory,
  OutputDirectory,
  OutputPolicyFile,
  OutputPolicyFilename,
  DisplayMessages,
  CreateALogFile,
  OutputLogFilename,
  GenerateDiagnosticsFiles,
};
inline constexpr std::size_t kPolicyCount = 248;

struct PolicyRow {
  PolicyId id;
  std::string_view key;   // exactly as registered (the 12-point spelling for the fonts)
  PolicyKind kind;
  int category;           // 1, 2: analysis policies; 3, 4: output policies
  int defaultValue;       // Int, Bool, Align; List: 1-based choice index
  std::string_view defaultText;     // Text, Colour; Font: the 12-point set
  std::string_view rtfDefaultText;  // Font: the 10-point set used for RTF output
  std::string_view rtfKey;          // Font: the key registered with the 10-point set
  std::string_view choices;         // List: comma-separated choices
  PolicyFileSection section;
  PolicyWriteRule writeRule;
  PolicyReadRule readRule;
  std::uint16_t slot;  // position among the registered policies of the same kind
};

// Registered policies per kind.
inline constexpr std::size_t kIntPolicyCount = 39;
inline constexpr std::size_t kBoolPolicyCount = 129;
inline constexpr std::size_t kTextPolicyCount = 59;
inline constexpr std::size_t kAlignPolicyCount = 1;
inline constexpr std::size_t kColourPolicyCount = 12;
inline constexpr std::size_t kFontPolicyCount = 5;
inline constexpr std::size_t kListPolicyCount = 3;

// Numbers the rows of each kind 0, 1, 2 ... in row order, so that a policy set can keep its
// policies in one array per kind and reach any of them by (kind, slot) without a search.
// Row needs the members kind and slot.
template <class Row, std::size_t N>
constexpr std::array<Row, N> AssignKindSlots(std::array<Row, N> rows) {
  std::uint16_t next[8] = {};
  for (Row& row : rows) row.slot = next[static_cast<int>(row.kind)]++;
  return rows;
}

// The number of rows of a kind.
template <class Row, std::size_t N>
constexpr std::size_t CountKind(const std::array<Row, N>& rows, PolicyKind kind) {
  std::size_t n = 0;
  for (const Row& row : rows) n += row.kind == kind ? 1 : 0;
  return n;
}

// Every registered policy in registration order; PolicyRows()[i].id == PolicyId(i).
std::span<const PolicyRow> PolicyRows();

// True when id names a row of the table (an id made from a number may not).
inline bool IsKnownPolicy(PolicyId id) { return static_cast<std::size_t>(id) < kPolicyCount; }
// REQUIRES: IsKnownPolicy(id).
inline const PolicyRow& GetPolicyRow(PolicyId id) { return PolicyRows()[static_cast<std::size_t>(id)]; }

// The kind and slot of each row, in PolicyId order: what the value accessors read for the
// policy tests of every line, without a call.
struct PolicySlotRef {
  PolicyKind kind;
  std::uint16_t slot;
};
extern const std::array<PolicySlotRef, kPolicyCount> kPolicySlotRefs;

// The row whose key equals key ignoring ASCII case and surrounding blanks and tabs
// (either spelling of the contents font); null when no policy has that key. Bisection over
// an index sorted at compile time.
const PolicyRow* FindPolicyRow(std::string_view key);

// The choice texts of the three list policies.
extern const std::string_view kPaperSizeChoices;
extern const std::string_view kHtmlVersionChoices;
extern const std::string_view kLanguageChoices;  // 78 names, "None" first
