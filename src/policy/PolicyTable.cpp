#include "policy/PolicyTable.h"

#include <algorithm>
#include <array>
#include <iterator>

constexpr std::string_view kPaperSizeChoices =
    "A3,A3 Extra,A4,A4 Extra,A5,A5 Extra,Executive,Folio,Legal,Legal Extra,Letter,Letter Extra,"
    "Tabloid,Tabloid Extra";
constexpr std::string_view kHtmlVersionChoices = "HTML 3.2,HTML 4.0 Transitional,HTML 4.0 Strict";
// The spellings are the program's own and stay as they are.
constexpr std::string_view kLanguageChoices =
    "None,Afrikaans,Albanian,Basque,Belarusian,Bulgarian,Catalan,Croatian,Czech,Danish,"
    "Dutch (Belgian),Dutch (Standard),English (Australia),English (Canada),English (Carribean),"
    "English (Ireland),English (Jamaica),English (New Zealand),English (South Africa),"
    "English (United Kingdom),English (United States),Estonian,Finnish,French (Belgian),"
    "French (Canadia),French (Luxembourg),French (Standard),French (Swiss),German (Austria),"
    "German (Liechtenstein),German (Luxembourg),German (Standard),German (Swiss),Greek,Hungarian,"
    "Icelandic,Indonesian,Italian (Standard),Italian (Swiss),Japanese,Korean,Latvian,Lithuanian,"
    "Macedonian (FYROM),Malay (Malaysia),Norwegian (Bokmal),Norwegian (Nynorsk),Polish,"
    "Portuguese (Brazilian),Portuguese (Standard),Romanian,Russian,Serbian (Cyrillic),Slovak,"
    "Slovenian,Spanish (Argentina),Spanish (Bolivia),Spanish (Chile),Spanish (Colombia),"
    "Spanish (Costa Rica),Spanish (Dominican Republic),Spanish (Ecuador),Spanish (El Salvador),"
    "Spanish (Guatemala),Spanish (Honduras),Spanish (International Sort),Spanish (Mexico),"
    "Spanish (Nicaragua),Spanish (Panama),Spanish (Paraguay),Spanish (Peru),"
    "Spanish (Peurto Rico),Spanish (Traditional Sort),Spanish (Uruguay),Spanish (Venezuela),"
    "Swedish,Turkish,Ukrainian";

using P = PolicyId;
using S = PolicyFileSection;

static constexpr PolicyRow MakeRow(PolicyId id, std::string_view key, PolicyKind kind, int category,
                                   int value, std::string_view text, PolicyFileSection section) {
  return PolicyRow{id,      key,     kind,    category, value, text, {}, {}, {}, section,
                   PolicyWriteRule::Plain, PolicyReadRule::Accepted, 0};
}
static constexpr PolicyRow BoolRow(PolicyId id, std::string_view key, int value, int category,
                                   PolicyFileSection section) {
  return MakeRow(id, key, PolicyKind::Bool, category, value, {}, section);
}
static constexpr PolicyRow IntRow(PolicyId id, std::string_view key, int value, int category,
                                  PolicyFileSection section) {
  return MakeRow(id, key, PolicyKind::Int, category, value, {}, section);
}
static constexpr PolicyRow AlignRow(PolicyId id, std::string_view key, int value, int category,
                                    PolicyFileSection section) {
  return MakeRow(id, key, PolicyKind::Align, category, value, {}, section);
}
static constexpr PolicyRow TextRow(PolicyId id, std::string_view key, std::string_view text,
                                   int category, PolicyFileSection section) {
  return MakeRow(id, key, PolicyKind::Text, category, 0, text, section);
}
static constexpr PolicyRow ColourRow(PolicyId id, std::string_view key, std::string_view text,
                                     int category, PolicyFileSection section) {
  return MakeRow(id, key, PolicyKind::Colour, category, 0, text, section);
}
static constexpr PolicyRow FontRow(PolicyId id, std::string_view key, std::string_view text12,
                                   std::string_view text10, int category,
                                   PolicyFileSection section) {
  PolicyRow row = MakeRow(id, key, PolicyKind::Font, category, 0, text12, section);
  row.rtfDefaultText = text10;
  row.rtfKey = key;
  return row;
}
static constexpr PolicyRow ListRow(PolicyId id, std::string_view key, int index,
                                   std::string_view choices, int category,
                                   PolicyFileSection section) {
  PolicyRow row = MakeRow(id, key, PolicyKind::List, category, index, {}, section);
  row.choices = choices;
  return row;
}
static constexpr PolicyRow WithRtfKey(PolicyRow row, std::string_view rtfKey) {
  row.rtfKey = rtfKey;
  return row;
}
static constexpr PolicyRow WithWriteRule(PolicyRow row, PolicyWriteRule rule) {
  row.writeRule = rule;
  return row;
}
static constexpr PolicyRow NoneAtOrBelowZero(PolicyRow row) {
  return WithWriteRule(row, PolicyWriteRule::NoneAtOrBelowZero);
}
static constexpr PolicyRow OnlyWhenSet(PolicyRow row) {
  return WithWriteRule(row, PolicyWriteRule::OnlyWhenSet);
}
static constexpr PolicyRow OnlyWithPageMarkers(PolicyRow row) {
  return WithWriteRule(row, PolicyWriteRule::OnlyWithPageMarkers);
}
static constexpr PolicyRow WithReadRule(PolicyRow row, PolicyReadRule rule) {
  row.readRule = rule;
  return row;
}
static constexpr PolicyRow ReadNotAccepted(PolicyRow row) {
  return WithReadRule(row, PolicyReadRule::NotAccepted);
}
static constexpr PolicyRow ReadFileOnly(PolicyRow row) {
  return WithReadRule(row, PolicyReadRule::FileOnly);
}
static constexpr PolicyRow ReadWhileUnset(PolicyRow row) {
  return WithReadRule(row, PolicyReadRule::WhileUnset);
}
static constexpr PolicyRow ReadProductTen(PolicyRow row) {
  return WithReadRule(row, PolicyReadRule::ProductTen);
}
static constexpr PolicyRow NeverWritten(PolicyRow row) {
  return WithWriteRule(row, PolicyWriteRule::Never);
}

// "Document Title" is registered empty here; the policy set builds its default from the tag
// delimiters at every reset.
static constexpr PolicyRow kRawPolicyRows[] = {

    // [Messages]
    NoneAtOrBelowZero(IntRow(P::ErrorReportingLevel, "Error reporting level", 5, 4, S::Messages)),
    BoolRow(P::SuppressURLMessages, "Suppress URL messages", kYes, 3, S::Messages),
    BoolRow(P::SuppressINFOMessages, "Suppress INFO messages", kNo, 3, S::Messages),
    BoolRow(P::SuppressWARNINGMessages, "Suppress WARNING messages", kNo, 3, S::Messages),
    BoolRow(P::SuppressProgramERRORMessages, "Suppress program ERROR messages", kNo, 3, S::Messages),
    BoolRow(P::SuppressTAGERRORMessages, "Suppress TAG ERROR messages", kNo, 3, S::Messages),

    // [Pembrelle]
    BoolRow(P::AddFONTMarkup, "Add FONT markup", kNo, 3, S::Pembrelle),
    BoolRow(P::AddFONTSizeMarkup, "Add FONT size markup", kYes, 3, S::Pembrelle),
    BoolRow(P::AddFONTStyleMarkup, "Add FONT style markup", kYes, 3, S::Pembrelle),
    BoolRow(P::AddFONTFaceMarkup, "Add FONT face markup", kYes, 3, S::Pembrelle),
    BoolRow(P::AddEmphasisAndBoldMarkup, "Add emphasis and bold markup", kYes, 3, S::Pembrelle),
    IntRow(P::UseOfMicrosoftEntitiesCode, "Use of Microsoft entities code", 0, 3, S::Pembrelle),
    IntRow(P::UseOfHTML40EntitiesCode, "Use of HTML 4.0 entities code", 0, 3, S::Pembrelle),
    IntRow(P::IndentationMarkupCode, "Indentation markup code", 0, 3, S::Pembrelle),
    BoolRow(P::UseIncrementalIndentationMarkup, "Use incremental indentation markup", kNo, 3, S::Pembrelle),
    IntRow(P::ListMarkupCode, "List markup code", 0, 3, S::Pembrelle),
    BoolRow(P::ApplyFONTToEmptyTableCells, "Apply FONT to empty table cells", kNo, 3, S::Pembrelle),
    ReadProductTen(TextRow(P::FolioBlockStructure, "Folio block structure", "FOLIO_FOOTER,FOLIO_HR,FOLIO_COMMENT,PAGE_HEAD,PAGHD,FOLIO_TABHD", 4, S::Pembrelle)),
    ReadProductTen(BoolRow(P::ColourREDLINESections, "Colour REDLINE sections", kNo, 3, S::Pembrelle)),

    // [Tagging]
    BoolRow(P::AvoidTagBreaks, "Avoid Tag breaks", kYes, 3, S::Tagging),
    IntRow(P::CommentGenerationCode, "Comment generation code", 0, 3, S::Tagging),
    BoolRow(P::RemoveRedundantTags, "Remove redundant tags", kNo, 4, S::Tagging),
    TextRow(P::StartTagDelimiter, "Start tag delimiter", "[[", 2, S::Tagging),
    TextRow(P::EndTagDelimiter, "End tag delimiter", "]]", 2, S::Tagging),
    TextRow(P::DirectiveDelimiter, "Directive delimiter", "$_$_", 2, S::Tagging),
    BoolRow(P::MonitorTagGeneration, "Monitor tag generation", kNo, 3, S::Tagging),
    BoolRow(P::SuppressHnMarkupForHeadings, "Suppress <Hn> markup for headings", kNo, 3, S::Tagging),

    // [General Analysis]
    BoolRow(P::SearchForDefinitions, "Search for definitions", kYes, 2, S::GeneralAnalysis),
    IntRow(P::PageWidth, "Page Width", 80, 2, S::GeneralAnalysis),
    IntRow(P::TABSize, "TAB size", 8, 2, S::GeneralAnalysis),
    AlignRow(P::TextJustification, "Text justification", kAlignLeft, 4, S::GeneralAnalysis),
    BoolRow(P::ExpectBlankLinesBetweenParas, "Expect blank lines between paras", kYes, 2, S::GeneralAnalysis),
    NoneAtOrBelowZero(IntRow(P::NewParagraphOffset, "New Paragraph Offset", -1, 2, S::GeneralAnalysis)),
    BoolRow(P::PreserveNewParagraphOffset, "Preserve new paragraph offset", kYes, 4, S::GeneralAnalysis),
    BoolRow(P::InputFileContainsJapaneseCharacters, "Input file contains Japanese characters", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileContainsDOSCharacters, "Input file contains DOS characters", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileContainsPCLCodes, "Input file contains PCL codes", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileContainsUNICODECharacters, "Input file contains UNICODE characters", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileContainsMIMEEncoding, "Input file contains MIME encoding", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileIsDoubleSpaced, "Input file is double spaced", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileHasChangeBars, "Input file has change bars", kNo, 1, S::GeneralAnalysis),
    BoolRow(P::InputFileHasPageMarkers, "Input file has page markers", kNo, 1, S::GeneralAnalysis),
    OnlyWithPageMarkers(IntRow(P::PageMarkerSizeInLines, "Page marker size (in lines)", 0, 1, S::GeneralAnalysis)),
    BoolRow(P::KeepItSimple, "Keep it simple", kNo, 2, S::GeneralAnalysis),
    NoneAtOrBelowZero(IntRow(P::MinChapterSize, "Min chapter size", 8, 2, S::GeneralAnalysis)),
    BoolRow(P::LookForIndentation, "Look for indentation", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForThisAndThatEmphasis, "Look for *this* and _that_ emphasis", kYes, 4, S::GeneralAnalysis),
    BoolRow(P::LookForShortLines, "Look for short lines", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForBullets, "Look for bullets", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForWhiteSpace, "Look for white space", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForMAILAndUSENETHeaders, "Look for MAIL and USENET headers", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForQuotedText, "Look for quoted text", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForUnderlinedText, "Look for underlined text", kYes, 4, S::GeneralAnalysis),
    BoolRow(P::LookForPreformattedText, "Look for preformatted text", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForDiagrams, "Look for diagrams", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForCharacterEncodings, "Look for character encodings", kYes, 1, S::GeneralAnalysis),
    NoneAtOrBelowZero(IntRow(P::ShortLineLength, "Short line length", -1, 2, S::GeneralAnalysis)),
    BoolRow(P::ExpectCodeSamples, "Expect code samples", kNo, 2, S::GeneralAnalysis),
    BoolRow(P::LookForHorizontalRulers, "Look for horizontal rulers", kYes, 2, S::GeneralAnalysis),
    BoolRow(P::LookForHangingParagraphs, "Look for hanging paragraphs", kYes, 2, S::GeneralAnalysis),
    NoneAtOrBelowZero(IntRow(P::MinimumRulerLength, "Minimum ruler length", 4, 2, S::GeneralAnalysis)),

    // [Bullets]
    BoolRow(P::ExpectNumberedBullets, "Expect Numbered bullets", kYes, 2, S::Bullets),
    BoolRow(P::ExpectAlphabeticBullets, "Expect alphabetic bullets", kYes, 2, S::Bullets),
    BoolRow(P::ExpectRomanNumeralBullets, "Expect Roman Numeral bullets", kYes, 2, S::Bullets),
    BoolRow(P::RecogniseDashAsABullet, "Recognise '-' as a bullet", kYes, 2, S::Bullets),
    ReadWhileUnset(TextRow(P::BulletPointCharacters, "Bullet point characters", "", 2, S::Bullets)),
    BoolRow(P::RecogniseOAsABullet, "Recognise 'o' as a bullet", kYes, 2, S::Bullets),

    // [Headings]
    IntRow(P::FirstSectionNumber, "First Section Number", 1, 2, S::Headings),
    BoolRow(P::ExpectNumberedHeadings, "Expect Numbered Headings", kYes, 2, S::Headings),
    BoolRow(P::ExpectUnderlinedHeadings, "Expect Underlined Headings", kYes, 2, S::Headings),
    BoolRow(P::ExpectCapitalisedHeadings, "Expect Capitalised Headings", kYes, 2, S::Headings),
    BoolRow(P::ExpectEmbeddedHeadings, "Expect Embedded Headings", kNo, 2, S::Headings),
    BoolRow(P::CenterFirstHeading, "Center first heading", kNo, 3, S::Headings),
    BoolRow(P::UseNumberedSequenceInFileNames, "Use numbered sequence in file names", kNo, 2, S::Headings),
    IntRow(P::NumberOfWordsToIncludeInFilename, "Number of words to include in filename", 4, 3, S::Headings),
    BoolRow(P::PreserveUnderliningOfHeadings, "Preserve underlining of headings", kYes, 4, S::Headings),
    BoolRow(P::CheckIndentationForConsistency, "Check indentation for consistency", kYes, 2, S::Headings),
    TextRow(P::HeadingKeyPhrases, "Heading key phrases", "", 2, S::Headings),
    BoolRow(P::ExpectSecondWordHeadings, "Expect Second Word Headings", kNo, 2, S::Headings),

    // [Pre-formatted text]
    NoneAtOrBelowZero(IntRow(P::MinimumAutomaticPRESize, "Minimum automatic <PRE> size", -1, 2, S::PreformattedText)),

    // [Config files]
    TextRow(P::DefinitionsFile, "Definitions file", "", 3, S::ConfigFiles),
    OnlyWhenSet(TextRow(P::FragmentsFile, "Fragments file", "", 3, S::ConfigFiles)),
    TextRow(P::TextCommandFile, "Text command file", "", 3, S::ConfigFiles),

    // [Added HTML]
    OnlyWhenSet(TextRow(P::DocumentTitle, "Document Title", ""  /* built at reset from the tag delimiters */, 3, S::AddedHtml)),
    OnlyWhenSet(BoolRow(P::UseFirstHeadingAsTitle, "Use first heading as Title", kNo, 3, S::AddedHtml)),
    OnlyWhenSet(BoolRow(P::UseFirstLineAsTitle, "Use first line as Title", kNo, 3, S::AddedHtml)),
    OnlyWhenSet(BoolRow(P::UseFirstLineAsHeading, "Use first line as Heading", kNo, 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::DocumentBaseURL, "Document Base URL", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::DocumentKeywords, "Document Keywords", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::DocumentDescription, "Document Description", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::HTMLScriptFile, "HTML Script file", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::CharacterEncoding, "Character encoding", "", 1, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::HTMLHeaderFile, "HTML header file", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::HTMLFooterFile, "HTML footer file", "", 3, S::AddedHtml)),
    OnlyWhenSet(ColourRow(P::TextColour, "Text Colour", "", 3, S::AddedHtml)),
    OnlyWhenSet(ColourRow(P::BackgroundColour, "Background Colour", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::BackgroundImage, "Background Image", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::ShortcutIconURL, "Shortcut icon URL", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::AuthorURL, "Author URL", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::BookmarkURL, "Bookmark URL", "", 3, S::AddedHtml)),
    OnlyWhenSet(TextRow(P::CopyrightURL, "Copyright URL", "", 3, S::AddedHtml)),
    OnlyWhenSet(ColourRow(P::UnvisitedLinkColour, "Unvisited Link Colour", "", 3, S::AddedHtml)),
    OnlyWhenSet(ColourRow(P::VisitedLinkColour, "Visited Link Colour", "", 3, S::AddedHtml)),
    OnlyWhenSet(ColourRow(P::ActiveLinkColour, "Active Link Colour", "", 3, S::AddedHtml)),
    OnlyWhenSet(BoolRow(P::SuppressAllColourMarkup, "Suppress all colour markup", kNo, 3, S::AddedHtml)),
    OnlyWhenSet(BoolRow(P::SuppressAllFontMarkup, "Suppress all font markup", kNo, 3, S::AddedHtml)),

    // [Added RTF]
    IntRow(P::FirstLineIndentationInBlocks, "First line indentation (in blocks)", 0, 4, S::AddedRtf),
    TextRow(P::DocumentSubject, "Document Subject", "", 3, S::AddedRtf),
    TextRow(P::DocumentAuthor, "Document Author", "", 3, S::AddedRtf),
    TextRow(P::DocumentManager, "Document Manager", "", 3, S::AddedRtf),
    TextRow(P::DocumentCategory, "Document Category", "", 3, S::AddedRtf),
    TextRow(P::DocumentComments, "Document Comments", "", 3, S::AddedRtf),
    TextRow(P::DocumentCompanyName, "Document Company name", "", 3, S::AddedRtf),
    ListRow(P::LanguageForProofing, "Language (for proofing)", 1, kLanguageChoices, 3, S::AddedRtf),
    IntRow(P::UseOfRTFStyles, "Use of RTF Styles", 1, 3, S::AddedRtf),
    ListRow(P::PaperSize, "Paper size", 3, kPaperSizeChoices, 3, S::AddedRtf),
    BoolRow(P::UseLandscapeMode, "Use Landscape mode", kNo, 3, S::AddedRtf),
    TextRow(P::TopMarginInCm, "Top margin (in cm)", "2.54", 3, S::AddedRtf),
    TextRow(P::BottomMarginInCm, "Bottom margin (in cm)", "2.54", 3, S::AddedRtf),
    TextRow(P::LeftMarginInCm, "Left margin (in cm)", "3.175", 3, S::AddedRtf),
    TextRow(P::RightMarginInCm, "Right margin (in cm)", "3.175", 3, S::AddedRtf),
    BoolRow(P::MirrorMargins, "Mirror margins", kNo, 3, S::AddedRtf),
    BoolRow(P::MakeWindowsHelpSourceFile, "Make Windows Help source file", kNo, 3, S::AddedRtf),
    TextRow(P::CharactersToUseForBullets, "Characters to use for bullets", "", 3, S::AddedRtf),
    BoolRow(P::UseOriginalBulletMarker, "Use original bullet marker", kNo, 3, S::AddedRtf),

    // [Composition Units]
    BoolRow(P::InputFileIsACompositionUnit, "Input file is a composition unit", kNo, 1, S::CompositionUnits),

    // [Frames]
    OnlyWhenSet(BoolRow(P::PlaceDocumentInFrames, "Place document in frames", kNo, 3, S::Frames)),
    OnlyWhenSet(TextRow(P::OutputFrameName, "Output frame name", "*_frame.html", 3, S::Frames)),
    OnlyWhenSet(TextRow(P::HeaderFrameDepth, "Header frame depth", "100", 3, S::Frames)),
    OnlyWhenSet(TextRow(P::FooterFrameDepth, "Footer frame depth", "100", 3, S::Frames)),
    OnlyWhenSet(TextRow(P::ContentsFrameWidth, "Contents frame width", "200", 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::UseMainHeaderInHeaderFrame, "Use main header in header frame", kYes, 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::UseMainFooterInFooterFrame, "Use main footer in footer frame", kYes, 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::AddContentsFrameIfPossible, "Add contents frame if possible", kYes, 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::AddFrameBorder, "Add frame border", kYes, 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::OpenFrameLinksInNewWindow, "Open frame links in new window", kYes, 3, S::Frames)),
    OnlyWhenSet(TextRow(P::NewFrameLinkWindowName, "New frame link window name", "_top", 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::AddNOFRAMESLinks, "Add NOFRAMES links", kYes, 3, S::Frames)),
    OnlyWhenSet(TextRow(P::NOFRAMESLinkURL, "NOFRAMES link URL", "", 3, S::Frames)),
    OnlyWhenSet(BoolRow(P::OnlyAllowPagesToBeViewedInFrames, "Only allow pages to be viewed in frames", kNo, 3, S::Frames)),
    OnlyWhenSet(IntRow(P::FirstFramePageNumber, "First frame page number", 1, 3, S::Frames)),
    OnlyWhenSet(IntRow(P::NumberOfLevelsInContentsFrame, "Number of levels in contents frame", 0, 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::HeaderFrameBackgroundColour, "Header frame background colour", "", 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::HeaderFrameTextColour, "Header frame text colour", "", 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::ContentsFrameBackgroundColour, "Contents frame background colour", "", 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::ContentsFrameTextColour, "Contents frame text colour", "", 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::FooterFrameBackgroundColour, "Footer frame background colour", "", 3, S::Frames)),
    OnlyWhenSet(ColourRow(P::FooterFrameTextColour, "Footer frame text colour", "", 3, S::Frames)),

    // [Hyperlinks]
    BoolRow(P::CreateHyperlinks, "Create hyperlinks", kYes, 4, S::Hyperlinks),
    BoolRow(P::CreateMailtoLinks, "Create mailto links", kYes, 4, S::Hyperlinks),
    BoolRow(P::CreateFTPLinks, "Create FTP links", kYes, 4, S::Hyperlinks),
    BoolRow(P::CreateNEWSLinks, "Create NEWS links", kYes, 4, S::Hyperlinks),
    BoolRow(P::CreateGopherLinks, "Create Gopher links", kYes, 4, S::Hyperlinks),
    BoolRow(P::CreateTelnetLinks, "Create Telnet links", kYes, 4, S::Hyperlinks),
    BoolRow(P::CheckDomainNameSyntax, "Check domain name syntax", kYes, 4, S::Hyperlinks),
    BoolRow(P::OnlyUseKnownGroups, "Only use known groups", kYes, 4, S::Hyperlinks),
    BoolRow(P::OnlyAllowExplicitFTPLinks, "Only allow explicit FTP links", kYes, 4, S::Hyperlinks),
    BoolRow(P::AllowEmailBeginningWithNumbers, "Allow email beginning with numbers", kNo, 4, S::Hyperlinks),
    BoolRow(P::OpenLinksInNewBrowserWindow, "Open links in new browser window", kNo, 4, S::Hyperlinks),
    TextRow(P::NewBrowserWindowName, "New browser window name", "other", 4, S::Hyperlinks),
    BoolRow(P::AddBRToLinesWithURLs, "Add <BR> to lines with URLs", kNo, 4, S::Hyperlinks),
    IntRow(P::MaxLengthOfHeadingLinks, "Max length of heading links", 0, 4, S::Hyperlinks),
    NoneAtOrBelowZero(IntRow(P::CrossRefsAtLevel, "Cross-refs at level", 2, 4, S::Hyperlinks)),

    // [File generation]
    ListRow(P::HTMLVersionToBeTargeted, "HTML version to be targeted", 2, kHtmlVersionChoices, 3, S::FileGeneration),
    TextRow(P::InputFileType, "Input file type", "plain text", 3, S::FileGeneration),
    BoolRow(P::UseHTMExtension, "Use .HTM extension", kNo, 3, S::FileGeneration),
    ReadNotAccepted(TextRow(P::OutputFileExtension, "Output file extension", "", 3, S::FileGeneration)),
    BoolRow(P::UseDOSFilenames, "Use DOS filenames", kNo, 3, S::FileGeneration),
    TextRow(P::DOSFilenameRoot, "DOS filename root", "", 3, S::FileGeneration),
    NoneAtOrBelowZero(IntRow(P::SplitLevel, "Split level", -1, 3, S::FileGeneration)),
    BoolRow(P::SplitAtPageMarkers, "Split at page markers", kNo, 3, S::FileGeneration),
    NoneAtOrBelowZero(IntRow(P::MinHTMLFileSize, "Min HTML file size", -1, 3, S::FileGeneration)),
    BoolRow(P::ConcatenateResultsIntoOneFile, "Concatenate results into one file", kNo, 3, S::FileGeneration),
    BoolRow(P::AddNavigationBar, "Add navigation bar", kNo, 3, S::FileGeneration),
    BoolRow(P::TreatEachLineAsAParagraph, "Treat each line as a paragraph", kNo, 2, S::FileGeneration),
    BoolRow(P::PreserveLineStructure, "Preserve line structure", kNo, 2, S::FileGeneration),
    BoolRow(P::PreserveFileStructureUsingPRE, "Preserve file structure using <PRE>", kNo, 3, S::FileGeneration),
    BoolRow(P::MinimiseHTMLFileSize, "Minimise HTML file size", kNo, 3, S::FileGeneration),
    BoolRow(P::BreakUpLongHTMLLines, "Break up long HTML lines", kYes, 4, S::FileGeneration),
    IntRow(P::LinesToIgnoreAtStartOfFile, "Lines to ignore at start of file", 0, 3, S::FileGeneration),
    IntRow(P::LinesToIgnoreAtEndOfFile, "Lines to ignore at end of file", 0, 3, S::FileGeneration),
    BoolRow(P::OmitHEADAndBODYFromOutput, "Omit <HEAD> and <BODY> from output", kNo, 1, S::FileGeneration),

    // [Contents]
    BoolRow(P::AddContentsList, "Add contents list", kNo, 3, S::Contents),
    BoolRow(P::ExpectContentsList, "Expect Contents List", kYes, 2, S::Contents),
    BoolRow(P::UseAnyExistingContentsList, "Use any existing contents list", kYes, 3, S::Contents),
    BoolRow(P::GenerateExternalContentsFile, "Generate external contents file", kNo, 1, S::Contents),
    TextRow(P::ExternalContentsListFilename, "External contents list filename", "", 3, S::Contents),
    BoolRow(P::HyperlinksOnNumbers, "Hyperlinks on numbers", kNo, 3, S::Contents),
    NoneAtOrBelowZero(IntRow(P::MaximumLevelToShowInContents, "Maximum level to show in contents", 0, 3, S::Contents)),
    IntRow(P::ContentsStyleCode, "Contents style code", 0, 3, S::Contents),
    BoolRow(P::AddAnchorsToContentsList, "Add anchors to contents list", kYes, 3, S::Contents),
    IntRow(P::ContentsAnchorsLevel, "Contents anchors level", 1, 3, S::Contents),
    BoolRow(P::AddMailHeadersToContentsList, "Add mail headers to contents list", kYes, 3, S::Contents),

    // [Directory Page]
    OnlyWhenSet(BoolRow(P::MakeDirectory, "Make Directory", kNo, 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryFilename, "Directory filename", "", 3, S::DirectoryPage)),
    OnlyWhenSet(BoolRow(P::ShowFileTitlesInDirectory, "Show file Titles in Directory", kYes, 3, S::DirectoryPage)),
    OnlyWhenSet(BoolRow(P::IndentHeadingsInDirectory, "Indent headings in Directory", kYes, 3, S::DirectoryPage)),
    OnlyWhenSet(IntRow(P::MaximumNumberOfFilesPerIndexPage, "Maximum number of files per index page", 0, 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryTitle, "Directory Title", "", 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryKeywords, "Directory Keywords", "", 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryDescription, "Directory Description", "", 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryReturnHyperlinkText, "Directory return hyperlink text", "Directory", 4, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryScriptFile, "Directory Script file", "", 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryHeaderFile, "Directory header file", "", 3, S::DirectoryPage)),
    OnlyWhenSet(TextRow(P::DirectoryFooterFile, "Directory footer file", "", 3, S::DirectoryPage)),

    // [Preprocessor]
    BoolRow(P::UsePreprocessor, "Use Preprocessor", kYes, 2, S::Preprocessor),

    // [Style]
    TextRow(P::DocumentStyleSheet, "Document Style Sheet", "", 3, S::Style),
    BoolRow(P::LabelStyleClasses, "Label style classes", kNo, 4, S::Style),
    BoolRow(P::CreateEmbeddedStyleSheet, "Create embedded style sheet", kNo, 3, S::Style),
    BoolRow(P::HighlightDefinitionText, "Highlight Definition Text", kNo, 4, S::Style),
    BoolRow(P::UsePMarkupForParagraphs, "Use <P> markup for paragraphs", kYes, 4, S::Style),
    BoolRow(P::UseDLMarkupForDefnParas, "Use <DL> markup for defn. paras", kYes, 4, S::Style),
    BoolRow(P::AllowAutomaticCentring, "Allow automatic centring", kNo, 2, S::Style),
    NoneAtOrBelowZero(IntRow(P::AutomaticCentringTolerance, "Automatic centring tolerance", 2, 2, S::Style)),
    IntRow(P::SmallestAllowedHnTag, "Smallest allowed <Hn> tag", 4, 3, S::Style),
    IntRow(P::LargestAllowedHnTag, "Largest allowed <Hn> tag", 2, 3, S::Style),
    ColourRow(P::HeadingsColour, "Headings Colour", "", 3, S::Style),
    TextRow(P::StyleFile, "Style file", "", 3, S::Style),
    FontRow(P::DefaultFont, "Default font", "Times New Roman, Regular, 12", "Times New Roman, Regular, 10", 3, S::Style),
    FontRow(P::HeadingFont, "Heading font", "Arial, Regular, 12", "Arial, Regular, 10", 3, S::Style),
    WithRtfKey(FontRow(P::TableOfContentsFont, "Table of contents font", "Arial, Regular, 12", "Arial, Regular, 10", 3, S::Style), "Table of Contents font"),
    FontRow(P::TableFont, "Table font", "Times New Roman, Regular, 12", "Times New Roman, Regular, 10", 3, S::Style),
    FontRow(P::FixedFont, "Fixed font", "Courier New, Regular, 10", "Courier New, Regular, 8", 3, S::Style),
    IntRow(P::BaseFONTSizeInPts, "Base FONT Size in pts", 12, 3, S::Style),
    IntRow(P::DeltaFONTSizeInPts, "Delta FONT size in pts", 0, 3, S::Style),
    IntRow(P::FontStretchFactorInPercent, "Font stretch factor (in percent)", 0, 3, S::Style),
    IntRow(P::ScopeForFontTags, "Scope for font tags", 1, 3, S::Style),
    BoolRow(P::UseCSSToImplementFonts, "Use CSS to implement fonts", kYes, 3, S::Style),
    BoolRow(P::IgnoreMultipleBlankLines, "Ignore multiple blank lines", kNo, 4, S::Style),
    BoolRow(P::UseEMAndSTRONGMarkup, "Use <EM> and <STRONG> markup", kYes, 3, S::Style),
    BoolRow(P::AllowDefinitionsInsidePRE, "Allow definitions inside PRE", kYes, 4, S::Style),

    // [Page Formatting]
    BoolRow(P::CENTERWholeDocument, "CENTER whole document", kNo, 3, S::PageFormatting),
    BoolRow(P::IndentWholeDocument, "Indent whole document", kNo, 3, S::PageFormatting),
    BoolRow(P::AttemptTABLEGeneration, "Attempt TABLE generation", kYes, 4, S::PageFormatting),
    IntRow(P::MaxLengthOfCandidateTableLines, "Max length of candidate table lines", 256, 2, S::PageFormatting),

    // [Link Dictionary]
    ReadFileOnly(TextRow(P::LinkDictionaryFile, "Link Dictionary file", "", 4, S::LinkDictionary)),

    // Not written to policy files
    NeverWritten(ReadNotAccepted(IntRow(P::PInsideListUsageCode, "<P> inside list usage code", 1, 3, S::NotWritten))),
    NeverWritten(BoolRow(P::ShowTagsInOutput, "Show Tags in output", kNo, 4, S::NotWritten)),
    NeverWritten(BoolRow(P::ScopeCOLOURTagsGlobally, "Scope COLOUR tags globally", kYes, 3, S::NotWritten)),
    NeverWritten(BoolRow(P::InputFileContainsBinaryEncodedData, "Input file contains binary-encoded data", kNo, 1, S::NotWritten)),
    NeverWritten(TextRow(P::InputDirectory, "Input directory", "", 2, S::NotWritten)),
    NeverWritten(TextRow(P::OutputDirectory, "Output directory", "", 3, S::NotWritten)),
    NeverWritten(BoolRow(P::OutputPolicyFile, "Output policy file", kNo, 3, S::NotWritten)),
    NeverWritten(TextRow(P::OutputPolicyFilename, "Output policy filename", "", 3, S::NotWritten)),
    NeverWritten(BoolRow(P::DisplayMessages, "Display messages", kYes, 4, S::NotWritten)),
    NeverWritten(BoolRow(P::CreateALogFile, "Create a log file", kNo, 3, S::NotWritten)),
    NeverWritten(TextRow(P::OutputLogFilename, "Output log filename", "Kelvane.log", 3, S::NotWritten)),
    NeverWritten(BoolRow(P::GenerateDiagnosticsFiles, "Generate diagnostics files", kNo, 3, S::NotWritten)),
};

static_assert(std::size(kRawPolicyRows) == kPolicyCount, "one row per PolicyId");

static constexpr std::array<PolicyRow, kPolicyCount> kPolicyRows =
    AssignKindSlots(std::to_array(kRawPolicyRows));

static_assert(CountKind(kPolicyRows, PolicyKind::Int) == kIntPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::Bool) == kBoolPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::Text) == kTextPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::Align) == kAlignPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::Colour) == kColourPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::Font) == kFontPolicyCount);
static_assert(CountKind(kPolicyRows, PolicyKind::List) == kListPolicyCount);

static constexpr bool RowsFollowIds() {
  for (std::size_t i = 0; i < std::size(kPolicyRows); ++i) {
    if (static_cast<std::size_t>(kPolicyRows[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsFollowIds(), "kPolicyRows must be in PolicyId order");

std::span<const PolicyRow> PolicyRows() { return kPolicyRows; }

static constexpr std::array<PolicySlotRef, kPolicyCount> SlotRefsOf(
    const std::array<PolicyRow, kPolicyCount>& rows) {
  std::array<PolicySlotRef, kPolicyCount> refs{};
  for (std::size_t i = 0; i < rows.size(); ++i)
    refs[i] = PolicySlotRef{rows[i].kind, rows[i].slot};
  return refs;
}
constexpr std::array<PolicySlotRef, kPolicyCount> kPolicySlotRefs = SlotRefsOf(kPolicyRows);

static constexpr std::string_view kSectionNames[] = {
    "[Messages]",          "[Pembrelle]",    "[Tagging]",     "[General Analysis]",
    "[Bullets]",           "[Headings]",     "[Pre-formatted text]", "[Config files]",
    "[Added HTML]",        "[Added RTF]",    "[Composition Units]",  "[Frames]",
    "[Hyperlinks]",        "[File generation]", "[Contents]",  "[Directory Page]",
    "[Preprocessor]",      "[Style]",        "[Page Formatting]", "[Link Dictionary]",
    "",
};
static_assert(std::size(kSectionNames) == kPolicyFileSectionCount, "Keep in sync with PolicyFileSection");

std::string_view PolicyFileSectionName(PolicyFileSection section) {
  const auto index = static_cast<std::size_t>(section);
  return index < std::size(kSectionNames) ? kSectionNames[index] : std::string_view();
}

static constexpr unsigned char FoldAscii(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// -1, 0, 1 comparing ASCII case-folded bytes.
static constexpr int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = FoldAscii(a[i]);
    const unsigned char y = FoldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

static constexpr auto kKeyIndex = [] {
  std::array<std::uint16_t, kPolicyCount> index{};
  for (std::size_t i = 0; i < index.size(); ++i) index[i] = static_cast<std::uint16_t>(i);
  std::sort(index.begin(), index.end(), [](std::uint16_t a, std::uint16_t b) {
    return CompareFolded(kPolicyRows[a].key, kPolicyRows[b].key) < 0;
  });
  return index;
}();

static constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const PolicyRow* FindPolicyRow(std::string_view key) {
  while (!key.empty() && IsBlank(key.front())) key.remove_prefix(1);
  while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
  const auto it = std::lower_bound(kKeyIndex.begin(), kKeyIndex.end(), key,
                                   [](std::uint16_t row, std::string_view k) {
                                     return CompareFolded(kPolicyRows[row].key, k) < 0;
                                   });
  if (it == kKeyIndex.end() || CompareFolded(kPolicyRows[*it].key, key) != 0) return nullptr;
  return &kPolicyRows[*it];
}
