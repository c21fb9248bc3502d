#pragma once

#include "text/StringList.h"
#include "text/TextString.h"

class PolicyList;

// A flat record of the sectioned policies that the tag-stripping, entity, hyperlink,
// text-formatting, table-extraction and mail routines consult while they work on a text:
// one plain field per policy, so those routines need not search a section. Built from fixed
// defaults or from a policy list; owns its texts and list. Booleans are ints 0/1.
class ConversionOptions {
 public:
  static constexpr int kIndentPositions = 8;
  // The first-line indent text holds at most this many blanks.
  static constexpr int kMaxFirstLineIndent = 1000;

  // The record defaults (SetDefaults).
  ConversionOptions();
  // A record read from the policies (ReadPolicies); every read counts as a use of its policy.
  static ConversionOptions ConversionOptionsFromPolicies(PolicyList& policies);

  ConversionOptions(ConversionOptions&&) noexcept = default;
  ConversionOptions& operator=(ConversionOptions&&) noexcept = default;
  // The string list is not copyable; a record is rebuilt rather than copied.
  ConversionOptions(const ConversionOptions&) = delete;
  ConversionOptions& operator=(const ConversionOptions&) = delete;

  // Clears the list and the texts without a default, assigns the record defaults, FixUp.
  void SetDefaults();
  // SetDefaults, then every field from its policy, then the derived fields, then FixUp.
  void ReadPolicies(PolicyList& policies);
  // Consistency rules: conversion mode 6 drops URL references and link display; link display
  // and references exclude each other; unformatted output displays links instead of
  // referencing them; a table format above 1 forces single-line rows.
  void FixUp();

  // Field values are assigned by SetDefaults (the record defaults) and ReadPolicies.
  // [Control]
  int conversionMode = 0;
  // [Detag]
  int removeAllTags = 0;
  int removeAllHtmlTags = 0;
  int removeAllNonHtmlTags = 0;
  int removeMailXTags = 0;
  int removeOfficeTags = 0;
  int removeComments = 0;
  int removeDoctypeTags = 0;
  int removeHeadSection = 0;
  int removeScriptSection = 0;
  int removeObjectSection = 0;
  int removeStyleSheet = 0;
  int removeFontTags = 0;
  int removeFormTags = 0;
  int removeSpanSection = 0;
  int removeDivTags = 0;
  int removeEmphasisTags = 0;
  int replaceLinksByDisplayValue = 0;
  int removeImgTags = 0;
  int removeLineFeeds = 0;
  int removeUnnecessaryWhiteSpace = 0;
  // [Detag tables]
  int removeTableTags = 0;
  int removeTableParagraphTags = 0;
  int removeTableAlignment = 0;
  int removeTableColours = 0;
  int removeTableSizes = 0;
  // [Detag]
  int removeNonStandardTags = 0;
  int removeNonStandardAttributes = 0;
  int keepDeprecatedTags = 0;
  int keepDeprecatedAttributes = 0;
  // Character-set settings that the entity routines set for themselves.
  int multiByteOutput = 0;
  int fixedCharacterSet = 0;
  TextString characterSetName;
  TextString substituteText;
  // [Text formatting]
  int rightJustify = 0;
  int gapBetweenSentences = 0;
  int paragraphOnOneLine = 0;
  int firstLineIndent = 0;
  // [Tag Manipulation]
  int replaceEntitiesByText = 0;
  int allow8BitAnsi = 0;
  int allowAnsiAlternatives = 0;
  // [Text formatting]
  int suppressUnicode = 0;
  TextString unicodeReplacement;
  int suppressUnicodeBom = 0;
  // [Tag Manipulation]
  int tagsToUpperCase = 0;
  int tagsToLowerCase = 0;
  int xhtmlCompatibleTags = 0;
  // [Text hyperlinks]
  int replaceImgByMarker = 0;
  int useAltForImg = 0;
  TextString inlineUrlTemplate;
  TextString referenceLinkTemplate;
  TextString referenceUrlTemplate;
  TextString inlineImgTemplate;
  int ignoreLocalLinks = 0;
  int omitLocalLinks = 0;
  int omitEmailLinks = 0;
  TextString removedLinkText;
  int preserveLinks = 0;
  int removeRules = 0;  // [Text formatting]
  int displayLinkUrls = 0;
  int addUrlReferences = 0;
  // [Text formatting]
  int highlightBoldItalic = 0;
  int italicToUpperCase = 0;
  int boldToUpperCase = 0;
  int imposePageWidth = 0;
  int formatOutput = 0;
  int remove8BitCharacters = 0;
  int omitForms = 0;
  int pageWidth = 0;
  int indentPositions[kIndentPositions] = {};
  int lookForDialogue = 0;
  int extraDialogueChecks = 0;
  int breakAtDialogue = 0;
  int removeNoscript = 0;
  TextString headingUnderlineChars;
  TextString headingStyles;
  TextString headingAlignments;
  TextString textBulletChars;
  TextString listItemTemplates;
  TextString boldMarkers;
  TextString italicMarkers;
  int preserveShortLines = 0;
  int shortLinesEndParagraphs = 0;
  int preserveWhiteSpace = 0;
  // [Text tables]
  int parseTables = 0;
  int borderAllTables = 0;
  int adjustTableToPage = 0;
  int tableWidth = 0;  // "Target table width" when set and above 0, else the page width
  int ignoreTableWidths = 0;
  int nestedTableScaling = 0;
  int breakWordsToFit = 0;
  int noNestedBorders = 0;
  int allowBlankRowSeparators = 0;
  TextString startTableMarker;
  TextString endTableMarker;
  TextString startListMarker;  // [Text formatting]
  TextString endListMarker;    // [Text formatting]
  int headingsInTables = 0;
  int tableIndent = 0;
  int discardEmptyTables = 0;
  int singleLineRows = 0;
  int suppressTableBorders = 0;
  TextString tableBorderChars;
  int parseTableStyles = 0;
  // [Data extraction]
  int onlyTableData = 0;
  int maxTableDepth = 0;
  int minTableDepth = 0;
  int tableFormat = 0;
  int innermostTablesOnly = 0;
  int delimitedTableMarkers = 0;
  TextString tableDelimiter;
  int quoteDelimitedData = 0;
  int quoteNestedTables = 0;
  // [Mail Tidy]
  int mailSeparator = 0;
  int mailHtmlNotes = 0;
  int mailDiscardNotes = 0;
  int simplifyMailHeaders = 0;
  int discardNonAnsiMail = 0;
  int mailHeaderDetail = 0;
  // [Text headers/footers]
  int bylineAsAuthor = 0;
  // [Conversion characteristics]
  TextString inputEncoding;
  TextString outputEncoding;
  int mayAddUnicodeMarker = 0;  // [Text formatting]
  // As many blanks as firstLineIndent.
  TextString firstLineIndentText;
  // Further settings of the entity routines.
  int plainCharacters = 0;
  int latin1Output = 0;
  TextString workText;
  StringList workList;
};
