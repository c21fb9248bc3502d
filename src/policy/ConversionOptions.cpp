#include "policy/ConversionOptions.h"

#include "policy/PolicySection.h"

using C = ConversionOptions;

enum class FieldRead : unsigned char { Bool, Int };

// An integer field read from a sectioned policy, with its record default.
struct IntField {
  int C::*field;
  PolicySectionId section;
  int policyId;
  FieldRead read;
  int recordDefault;
};

struct TextField {
  TextString C::*field;
  PolicySectionId section;
  int policyId;
  const char* recordDefault;
};

// The record defaults differ from the policy defaults in places on purpose: a record built
// without policies serves the plain-text routines, which strip more.
static constexpr IntField kIntFields[] = {
    {&C::conversionMode, kControlSection, 5, FieldRead::Int, 7},
    {&C::removeAllTags, kDetagSection, 10, FieldRead::Bool, 1},
    {&C::removeAllHtmlTags, kDetagSection, 11, FieldRead::Bool, 1},
    {&C::removeAllNonHtmlTags, kDetagSection, 32, FieldRead::Bool, 1},
    {&C::removeMailXTags, kDetagSection, 33, FieldRead::Bool, 1},
    {&C::removeOfficeTags, kDetagSection, 34, FieldRead::Bool, 1},
    {&C::removeComments, kDetagSection, 14, FieldRead::Bool, 1},
    {&C::removeDoctypeTags, kDetagSection, 12, FieldRead::Bool, 0},
    {&C::removeHeadSection, kDetagSection, 13, FieldRead::Bool, 1},
    {&C::removeScriptSection, kDetagSection, 15, FieldRead::Bool, 1},
    {&C::removeObjectSection, kDetagSection, 16, FieldRead::Bool, 1},
    {&C::removeStyleSheet, kDetagSection, 40, FieldRead::Bool, 1},
    {&C::removeFontTags, kDetagSection, 17, FieldRead::Bool, 1},
    {&C::removeFormTags, kDetagSection, 18, FieldRead::Bool, 1},
    {&C::removeSpanSection, kDetagSection, 20, FieldRead::Bool, 1},
    {&C::removeDivTags, kDetagSection, 19, FieldRead::Bool, 1},
    {&C::removeEmphasisTags, kDetagSection, 21, FieldRead::Bool, 0},
    {&C::replaceLinksByDisplayValue, kDetagSection, 22, FieldRead::Bool, 1},
    {&C::removeImgTags, kDetagSection, 41, FieldRead::Bool, 1},
    {&C::removeLineFeeds, kDetagSection, 42, FieldRead::Bool, 0},
    {&C::removeUnnecessaryWhiteSpace, kDetagSection, 43, FieldRead::Bool, 0},
    {&C::removeTableTags, kDetagTablesSection, 27, FieldRead::Bool, 0},
    {&C::removeTableParagraphTags, kDetagTablesSection, 28, FieldRead::Bool, 1},
    {&C::removeTableAlignment, kDetagTablesSection, 29, FieldRead::Bool, 1},
    {&C::removeTableColours, kDetagTablesSection, 30, FieldRead::Bool, 1},
    {&C::removeTableSizes, kDetagTablesSection, 31, FieldRead::Bool, 1},
    {&C::removeNonStandardTags, kDetagSection, 23, FieldRead::Bool, 1},
    {&C::removeNonStandardAttributes, kDetagSection, 25, FieldRead::Bool, 1},
    {&C::keepDeprecatedTags, kDetagSection, 24, FieldRead::Bool, 1},
    {&C::keepDeprecatedAttributes, kDetagSection, 26, FieldRead::Bool, 1},
    {&C::rightJustify, kTextFormattingSection, 107, FieldRead::Bool, 0},
    {&C::gapBetweenSentences, kTextFormattingSection, 114, FieldRead::Bool, 0},
    {&C::paragraphOnOneLine, kTextFormattingSection, 110, FieldRead::Bool, 0},
    {&C::firstLineIndent, kTextFormattingSection, 113, FieldRead::Int, 0},
    {&C::replaceEntitiesByText, kTagManipulationSection, 52, FieldRead::Bool, 0},
    {&C::allow8BitAnsi, kTagManipulationSection, 53, FieldRead::Bool, 1},
    {&C::allowAnsiAlternatives, kTagManipulationSection, 54, FieldRead::Bool, 1},
    {&C::suppressUnicode, kTextFormattingSection, 56, FieldRead::Bool, 0},
    {&C::suppressUnicodeBom, kTextFormattingSection, 58, FieldRead::Bool, 0},
    {&C::tagsToUpperCase, kTagManipulationSection, 50, FieldRead::Bool, 0},
    {&C::tagsToLowerCase, kTagManipulationSection, 51, FieldRead::Bool, 0},
    {&C::xhtmlCompatibleTags, kTagManipulationSection, 55, FieldRead::Bool, 0},
    {&C::replaceImgByMarker, kTextHyperlinksSection, 136, FieldRead::Bool, 1},
    {&C::useAltForImg, kTextHyperlinksSection, 137, FieldRead::Bool, 1},
    {&C::ignoreLocalLinks, kTextHyperlinksSection, 161, FieldRead::Bool, 1},
    {&C::omitLocalLinks, kTextHyperlinksSection, 131, FieldRead::Bool, 0},
    {&C::omitEmailLinks, kTextHyperlinksSection, 130, FieldRead::Bool, 0},
    {&C::preserveLinks, kTextHyperlinksSection, 133, FieldRead::Bool, 0},
    {&C::removeRules, kTextFormattingSection, 125, FieldRead::Bool, 0},
    {&C::displayLinkUrls, kTextHyperlinksSection, 135, FieldRead::Bool, 0},
    {&C::addUrlReferences, kTextHyperlinksSection, 134, FieldRead::Bool, 1},
    {&C::highlightBoldItalic, kTextFormattingSection, 126, FieldRead::Bool, 1},
    {&C::italicToUpperCase, kTextFormattingSection, 131, FieldRead::Bool, 0},
    {&C::boldToUpperCase, kTextFormattingSection, 132, FieldRead::Bool, 0},
    {&C::imposePageWidth, kTextFormattingSection, 105, FieldRead::Bool, 1},
    {&C::formatOutput, kTextFormattingSection, 163, FieldRead::Bool, 1},
    {&C::remove8BitCharacters, kTextFormattingSection, 164, FieldRead::Bool, 0},
    {&C::omitForms, kTextFormattingSection, 170, FieldRead::Bool, 1},
    {&C::pageWidth, kTextFormattingSection, 106, FieldRead::Int, 65},
    {&C::lookForDialogue, kTextFormattingSection, 120, FieldRead::Bool, 0},
    {&C::extraDialogueChecks, kTextFormattingSection, 121, FieldRead::Bool, 1},
    {&C::breakAtDialogue, kTextFormattingSection, 122, FieldRead::Bool, 0},
    {&C::removeNoscript, kTextFormattingSection, 123, FieldRead::Bool, 1},
    {&C::preserveShortLines, kTextFormattingSection, 111, FieldRead::Bool, 1},
    {&C::shortLinesEndParagraphs, kTextFormattingSection, 112, FieldRead::Bool, 1},
    {&C::preserveWhiteSpace, kTextFormattingSection, 100, FieldRead::Bool, 0},
    {&C::parseTables, kTextTablesSection, 140, FieldRead::Bool, 1},
    {&C::borderAllTables, kTextTablesSection, 142, FieldRead::Bool, 0},
    {&C::adjustTableToPage, kTextTablesSection, 144, FieldRead::Bool, 0},
    {&C::ignoreTableWidths, kTextTablesSection, 146, FieldRead::Bool, 0},
    {&C::nestedTableScaling, kTextTablesSection, 148, FieldRead::Int, 75},
    {&C::breakWordsToFit, kTextTablesSection, 147, FieldRead::Bool, 0},
    {&C::noNestedBorders, kTextTablesSection, 143, FieldRead::Bool, 1},
    {&C::allowBlankRowSeparators, kTextTablesSection, 141, FieldRead::Bool, 1},
    {&C::headingsInTables, kTextTablesSection, 153, FieldRead::Bool, 1},
    {&C::tableIndent, kTextTablesSection, 154, FieldRead::Int, 0},
    {&C::discardEmptyTables, kTextTablesSection, 165, FieldRead::Bool, 1},
    {&C::singleLineRows, kTextTablesSection, 166, FieldRead::Bool, 0},
    {&C::suppressTableBorders, kTextTablesSection, 167, FieldRead::Bool, 0},
    {&C::parseTableStyles, kTextTablesSection, 169, FieldRead::Bool, 0},
    {&C::onlyTableData, kDataExtractionSection, 185, FieldRead::Bool, 0},
    {&C::maxTableDepth, kDataExtractionSection, 186, FieldRead::Int, -1},
    {&C::minTableDepth, kDataExtractionSection, 187, FieldRead::Int, -1},
    {&C::tableFormat, kDataExtractionSection, 188, FieldRead::Int, 1},
    {&C::innermostTablesOnly, kDataExtractionSection, 189, FieldRead::Bool, 1},
    {&C::delimitedTableMarkers, kDataExtractionSection, 190, FieldRead::Bool, 1},
    {&C::quoteDelimitedData, kDataExtractionSection, 192, FieldRead::Bool, 1},
    {&C::quoteNestedTables, kDataExtractionSection, 193, FieldRead::Bool, 1},
    {&C::mailSeparator, kMailTidySection, 200, FieldRead::Bool, 1},
    {&C::mailHtmlNotes, kMailTidySection, 201, FieldRead::Bool, 1},
    {&C::mailDiscardNotes, kMailTidySection, 202, FieldRead::Bool, 1},
    {&C::simplifyMailHeaders, kMailTidySection, 203, FieldRead::Bool, 1},
    {&C::discardNonAnsiMail, kMailTidySection, 205, FieldRead::Bool, 1},
    {&C::mailHeaderDetail, kMailTidySection, 204, FieldRead::Int, 9},
    {&C::bylineAsAuthor, kTextHeadersFootersSection, 175, FieldRead::Bool, 0},
    {&C::mayAddUnicodeMarker, kTextFormattingSection, 127, FieldRead::Bool, 1},
};

static constexpr TextField kTextFields[] = {
    {&C::unicodeReplacement, kTextFormattingSection, 57, "#"},
    {&C::inlineUrlTemplate, kTextHyperlinksSection, 158, "<display_text> (<url>)"},
    {&C::referenceLinkTemplate, kTextHyperlinksSection, 159, "<display_text> [<n>]"},
    {&C::referenceUrlTemplate, kTextHyperlinksSection, 160, "<n>: <url>"},
    {&C::inlineImgTemplate, kTextHyperlinksSection, 162, "[IMG: <alt> <src>]"},
    {&C::removedLinkText, kTextHyperlinksSection, 132, "[link removed]"},
    {&C::headingUnderlineChars, kTextFormattingSection, 128, "*,=,-,~,.,,"},
    {&C::headingStyles, kTextFormattingSection, 59, "none,none,none,none,none,none"},
    {&C::headingAlignments, kTextFormattingSection, 60, "auto,auto,auto,auto,auto,auto"},
    {&C::textBulletChars, kTextFormattingSection, 129, "-,-,-,-,-,-,"},
    {&C::listItemTemplates, kTextFormattingSection, 155, "x),x),x),x),x),x),"},
    {&C::boldMarkers, kTextFormattingSection, 156, "* *"},
    {&C::italicMarkers, kTextFormattingSection, 157, "_ _"},
    {&C::startTableMarker, kTextTablesSection, 149, ""},
    {&C::endTableMarker, kTextTablesSection, 150, ""},
    {&C::startListMarker, kTextFormattingSection, 151, ""},
    {&C::endListMarker, kTextFormattingSection, 152, ""},
    {&C::tableBorderChars, kTextTablesSection, 168, "+-|"},
    {&C::tableDelimiter, kDataExtractionSection, 191, "|"},
    {&C::inputEncoding, kConversionCharacteristicsSection, 225, "auto"},
    {&C::outputEncoding, kConversionCharacteristicsSection, 226, "auto"},
};

static constexpr int kDefaultIndentPositions[ConversionOptions::kIndentPositions] = {
    0, 4, 8, 12, 16, 20, 24, 28};

ConversionOptions::ConversionOptions() { SetDefaults(); }

ConversionOptions ConversionOptions::ConversionOptionsFromPolicies(PolicyList& policies) {
  ConversionOptions options;
  options.ReadPolicies(policies);
  return options;
}

void ConversionOptions::SetDefaults() {
  workList.Clear();
  for (const IntField& f : kIntFields) this->*f.field = f.recordDefault;
  for (const TextField& f : kTextFields) (this->*f.field) = f.recordDefault;
  for (int k = 0; k < kIndentPositions; ++k) indentPositions[k] = kDefaultIndentPositions[k];
  tableWidth = 0;
  multiByteOutput = 0;
  fixedCharacterSet = 0;
  characterSetName.Clear();
  substituteText.Clear();
  firstLineIndentText.Clear();
  plainCharacters = 1;
  latin1Output = 0;
  workText.Clear();
  FixUp();
}

// Position k is the largest value read among the first k fields, so a missing or unreadable
// field repeats the position before it.
static void ReadIndentPositions(const TextString& text, int (&positions)[ConversionOptions::kIndentPositions]) {
  int largest = 0;
  TextString field;
  for (int k = 0; k < ConversionOptions::kIndentPositions; ++k) {
    int value = -1;
    if (text.GetField(k + 1, ',', field)) {
      field.Trim();
      if (!field.IsEmpty() && field.ParseNumber('1', &value) && value > largest) largest = value;
    }
    positions[k] = largest;
  }
}

void ConversionOptions::ReadPolicies(PolicyList& policies) {
  SetDefaults();
  for (const IntField& f : kIntFields) {
    PolicySection& section = policies.GetSection(f.section);
    this->*f.field = f.read == FieldRead::Bool ? section.GetBool(f.policyId) : section.GetInt(f.policyId);
  }
  for (const TextField& f : kTextFields) {
    this->*f.field = policies.GetSection(f.section).GetText(f.policyId);
  }
  PolicySection& formatting = policies.GetSection(kTextFormattingSection);
  ReadIndentPositions(formatting.GetText(108), indentPositions);
  PolicySection& tables = policies.GetSection(kTextTablesSection);
  const int targetTableWidth = tables.IsSet(145) ? tables.GetInt(145) : 0;
  tableWidth = targetTableWidth > 0 ? targetTableWidth : formatting.GetInt(106);
  // The indent comes from a policy line; an absurd value must not allocate without bound.
  const int blanks = firstLineIndent < kMaxFirstLineIndent ? firstLineIndent : kMaxFirstLineIndent;
  firstLineIndentText.Clear();
  for (int i = 0; i < blanks; ++i) firstLineIndentText.AppendChar(' ');
  FixUp();
}

void ConversionOptions::FixUp() {
  if (conversionMode == 6) {
    addUrlReferences = 0;
    displayLinkUrls = 0;
    return;
  }
  if (displayLinkUrls) addUrlReferences = 0;
  if (addUrlReferences) displayLinkUrls = 0;
  if (!formatOutput) {
    addUrlReferences = 0;
    displayLinkUrls = 1;
  }
  if (tableFormat > 1) singleLineRows = 1;
}
