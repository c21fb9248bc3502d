#include "policy/PolicySection.h"

#include <iterator>

// The sections of id-based policies and their policies, as data: PolicyList builds every
// section by walking these rows.

static constexpr int kBoolNo = 0;
static constexpr int kBoolYes = 1;

// Storage order; the id is not the position.
static constexpr PolicySectionRow kSectionRows[] = {
    {kControlSection, "[Control]"},
    {kDetagSection, "[Detag]"},
    {kDetagTablesSection, "[Detag tables]"},
    {kTagManipulationSection, "[Tag Manipulation]"},
    {kMailTidySection, "[Mail Tidy]"},
    {kTextFormattingSection, "[Text formatting]"},
    {kTextHeadersFootersSection, "[Text headers/footers]"},
    {kTextHyperlinksSection, "[Text hyperlinks]"},
    {kTextTablesSection, "[Text tables]"},
    {kDataExtractionSection, "[Data extraction]"},
    {kRtfHelpFilesSection, "[RTF Help files]"},
    {kPdfHeadersFootersSection, "[PDF headers and footers]"},
    {kPdfTypesettingSection, "[PDF typesetting]"},
    {kTextConversionSection, "[Text conversion]"},
    {kConversionCharacteristicsSection, "[Conversion characteristics]"},
};
static_assert(std::size(kSectionRows) == kPolicySectionCount);

// {holding section, id, kind, section id stored in the policy, category, default number,
//  default text, key}. Category 4 except for the two encodings.
static constexpr SectionedPolicyRow kPolicyRows[] = {
    // [Control]
    {kControlSection, 5, kIntPolicy, kControlSection, 4, 7, nullptr, "Conversion Mode"},
    // [Detag]
    {kDetagSection, 10, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove all tags"},
    {kDetagSection, 11, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove all HTML tags"},
    {kDetagSection, 12, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove DOCTYPE tags"},
    {kDetagSection, 13, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <HEAD> section"},
    {kDetagSection, 14, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML-style comments"},
    {kDetagSection, 15, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <SCRIPT> section"},
    {kDetagSection, 16, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <OBJECT> section"},
    {kDetagSection, 17, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <FONT> tags"},
    {kDetagSection, 18, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <FORM>..</FORM> tags"},
    {kDetagSection, 19, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <DIV> tags"},
    {kDetagSection, 20, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <SPAN> section"},
    {kDetagSection, 21, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove emphasis tags"},
    {kDetagSection, 22, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Replace hyperlinks by the display value"},
    {kDetagSection, 23, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Remove non-standard tags"},
    {kDetagSection, 24, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Keep deprecated tags"},
    {kDetagSection, 25, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Remove non-standard tag attributes"},
    {kDetagSection, 26, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Keep deprecated tag attributes"},
    {kDetagSection, 32, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Remove all non-HTML tags"},
    {kDetagSection, 33, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Remove all x-tags used in mail messages"},
    {kDetagSection, 34, kBoolPolicy, kDetagSection, 4, kBoolYes, nullptr, "Remove Microsoft Office tags"},
    {kDetagSection, 40, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove style sheet"},
    {kDetagSection, 41, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <IMG> tags"},
    {kDetagSection, 42, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove line feeds from output"},
    {kDetagSection, 43, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove unnecessary white space"},
    // [Detag tables]
    {kDetagTablesSection, 27, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML table tags"},
    {kDetagTablesSection, 28, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML <P> tags from tables"},
    {kDetagTablesSection, 29, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML alignment attributes from tables"},
    {kDetagTablesSection, 30, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML color attributes from tables"},
    {kDetagTablesSection, 31, kBoolPolicy, kDetagSection, 4, kBoolNo, nullptr, "Remove HTML size attributes from tables"},
    // [Tag Manipulation]
    {kTagManipulationSection, 50, kBoolPolicy, kTagManipulationSection, 4, kBoolNo, nullptr, "Convert tags to upper case"},
    {kTagManipulationSection, 51, kBoolPolicy, kTagManipulationSection, 4, kBoolNo, nullptr, "Convert tags to lower case"},
    {kTagManipulationSection, 52, kBoolPolicy, kTagManipulationSection, 4, kBoolNo, nullptr, "Replace entities by text"},
    {kTagManipulationSection, 53, kBoolPolicy, kTagManipulationSection, 4, kBoolYes, nullptr, "Allow 8-bit ANSI values in output"},
    {kTagManipulationSection, 54, kBoolPolicy, kTagManipulationSection, 4, kBoolYes, nullptr, "Allow ANSI alternatives (e.g. space for &nbsp;)"},
    {kTagManipulationSection, 55, kBoolPolicy, kTagManipulationSection, 4, kBoolNo, nullptr, "Convert tags to be XHTML compatible"},
    // [Mail Tidy]
    {kMailTidySection, 200, kBoolPolicy, kMailTidySection, 4, kBoolNo, nullptr, "Insert separator between email messages"},
    {kMailTidySection, 201, kBoolPolicy, kMailTidySection, 4, kBoolNo, nullptr, "Add notes when email converted from HTML"},
    {kMailTidySection, 202, kBoolPolicy, kMailTidySection, 4, kBoolNo, nullptr, "Add notes when components are discarded"},
    {kMailTidySection, 203, kBoolPolicy, kMailTidySection, 4, kBoolNo, nullptr, "Simplify the mail headers"},
    {kMailTidySection, 204, kIntPolicy, kMailTidySection, 4, 0, nullptr, "Level of header details wanted (0-10)"},
    {kMailTidySection, 205, kBoolPolicy, kMailTidySection, 4, kBoolNo, nullptr, "Discard any non-ANSI messages (e.g. Chinese)"},
    // [Text formatting]
    {kTextFormattingSection, 56, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Suppress Unicode in output"},
    {kTextFormattingSection, 57, kTextPolicy, kTextFormattingSection, 4, 0, "#", "Text to replace Unicode characters by in output"},
    {kTextFormattingSection, 58, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Suppress Unicode BOM"},
    {kTextFormattingSection, 59, kTextPolicy, kTextFormattingSection, 4, 0, "none,none,none,none,none,none", "Heading styles"},
    {kTextFormattingSection, 60, kTextPolicy, kTextFormattingSection, 4, 0, "auto,auto,auto,auto,auto,auto", "Heading alignments"},
    {kTextFormattingSection, 100, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Preserve all white space from the original source"},
    {kTextFormattingSection, 105, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Impose a page width on the output"},
    {kTextFormattingSection, 106, kIntPolicy, kTextFormattingSection, 4, 76, nullptr, "Target Page width"},
    {kTextFormattingSection, 107, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Right justify the output text"},
    {kTextFormattingSection, 108, kTextPolicy, kTextFormattingSection, 4, 0, "0,4,8,12,16,20,24,28", "Output indentation positions"},
    {kTextFormattingSection, 110, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Output each paragraph on a single line"},
    {kTextFormattingSection, 111, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Preserve short lines"},
    {kTextFormattingSection, 112, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Treat short lines as paragraph endings"},
    {kTextFormattingSection, 113, kIntPolicy, kTextFormattingSection, 4, 0, nullptr, "First line indent for paragraphs"},
    {kTextFormattingSection, 114, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Insert gap between sentences"},
    {kTextFormattingSection, 120, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Look for dialogue lines"},
    {kTextFormattingSection, 121, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Apply extra dialogue checks"},
    {kTextFormattingSection, 122, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Break lines where dialogue starts in the middle"},
    {kTextFormattingSection, 123, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Remove <NOSCRIPT> sections from output"},
    {kTextFormattingSection, 125, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Remove all horizontal rules and lines"},
    {kTextFormattingSection, 126, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Highlight bold and italic text"},
    {kTextFormattingSection, 127, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "May add Unicode marker to output file"},
    {kTextFormattingSection, 128, kTextPolicy, kTextFormattingSection, 4, 0, "*,=,-,~,.,,", "Heading underline characters"},
    {kTextFormattingSection, 129, kTextPolicy, kTextFormattingSection, 4, 0, "middot,middot,middot,middot,middot,middot", "Text bullet characters"},
    {kTextFormattingSection, 130, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Highlight *bold* and _italic_ text"},
    {kTextFormattingSection, 131, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Convert <I> or <EM> to UPPER CASE"},
    {kTextFormattingSection, 132, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Convert <B> or <STRONG> to UPPER CASE"},
    {kTextFormattingSection, 151, kTextPolicy, kTextFormattingSection, 4, 0, "", "Start list marker"},
    {kTextFormattingSection, 152, kTextPolicy, kTextFormattingSection, 4, 0, "", "End list marker"},
    {kTextFormattingSection, 155, kTextPolicy, kTextFormattingSection, 4, 0, "x),x),x),x),x),x)", "List item templates"},
    {kTextFormattingSection, 156, kTextPolicy, kTextFormattingSection, 4, 0, "* *", "Bold markers"},
    {kTextFormattingSection, 157, kTextPolicy, kTextFormattingSection, 4, 0, "_ _", "Italic markers"},
    {kTextFormattingSection, 163, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Format the output text"},
    {kTextFormattingSection, 164, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Remove all 8-bit characters"},
    {kTextFormattingSection, 170, kBoolPolicy, kTextFormattingSection, 4, kBoolYes, nullptr, "Omit all <FORM> sections and tags (<FIELDSET>, <LEGEND> etc)"},
    // [Text headers/footers]
    {kTextHeadersFootersSection, 175, kBoolPolicy, kTextFormattingSection, 4, kBoolNo, nullptr, "Allow by-line to be used for Author field"},
    // [Text hyperlinks]
    {kTextHyperlinksSection, 130, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Omit email hyperlinks from the output"},
    {kTextHyperlinksSection, 131, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Omit local hyperlinks from the output"},
    {kTextHyperlinksSection, 132, kTextPolicy, kTextHyperlinksSection, 4, 0, "[removed link]", "Text to replace removed links by"},
    {kTextHyperlinksSection, 133, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Preserve hyperlinks in text output"},
    {kTextHyperlinksSection, 134, kBoolPolicy, kTextHyperlinksSection, 4, kBoolYes, nullptr, "Add URL references at end of file"},
    {kTextHyperlinksSection, 135, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Display link URLs"},
    {kTextHyperlinksSection, 136, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Replace <IMG> tags by a text marker"},
    {kTextHyperlinksSection, 137, kBoolPolicy, kTextHyperlinksSection, 4, kBoolNo, nullptr, "Use the ALT attribute to replace <IMG> tags"},
    {kTextHyperlinksSection, 158, kTextPolicy, kTextHyperlinksSection, 4, 0, "<display_text> (<url>)", "in-line URL template"},
    {kTextHyperlinksSection, 159, kTextPolicy, kTextHyperlinksSection, 4, 0, "<display_text> [<n>]", "Reference table Link template"},
    {kTextHyperlinksSection, 160, kTextPolicy, kTextHyperlinksSection, 4, 0, "<n>: <url>", "Reference table URL template"},
    {kTextHyperlinksSection, 161, kBoolPolicy, kTextHyperlinksSection, 4, kBoolYes, nullptr, "Ignore local (relative) links"},
    {kTextHyperlinksSection, 162, kTextPolicy, kTextHyperlinksSection, 4, 0, "[<alt>]", "In-line IMG tag template"},
    // [Text tables]
    {kTextTablesSection, 140, kBoolPolicy, kTextTablesSection, 4, kBoolYes, nullptr, "Attempt to parse tables"},
    {kTextTablesSection, 141, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Allow blank row separator lines"},
    {kTextTablesSection, 142, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Add border to all tables"},
    {kTextTablesSection, 143, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Suppress borders on nested tables"},
    {kTextTablesSection, 144, kBoolPolicy, kTextTablesSection, 4, kBoolYes, nullptr, "Adjust table to page width"},
    {kTextTablesSection, 145, kIntPolicy, kTextTablesSection, 4, 0, nullptr, "Target table width"},
    {kTextTablesSection, 146, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Ignore table WIDTH attributes"},
    {kTextTablesSection, 147, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "May break words to fit target width"},
    {kTextTablesSection, 148, kIntPolicy, kTextTablesSection, 4, 75, nullptr, "Nested table scaling factor (percent)"},
    {kTextTablesSection, 149, kTextPolicy, kTextTablesSection, 4, 0, "", "Start table marker"},
    {kTextTablesSection, 150, kTextPolicy, kTextTablesSection, 4, 0, "", "End table marker"},
    {kTextTablesSection, 153, kBoolPolicy, kTextTablesSection, 4, kBoolYes, nullptr, "Allow headings inside tables"},
    {kTextTablesSection, 154, kIntPolicy, kTextTablesSection, 4, 0, nullptr, "Default table indentation"},
    {kTextTablesSection, 165, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Discard empty tables and table rows from output"},
    {kTextTablesSection, 166, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Force table rows to be output on a single line of text"},
    {kTextTablesSection, 167, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Suppress all table borders"},
    {kTextTablesSection, 168, kTextPolicy, kTextTablesSection, 4, 0, "+-|", "Table border characters"},
    {kTextTablesSection, 169, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Parse table STYLE attributes"},
    // [Data extraction]
    {kDataExtractionSection, 185, kBoolPolicy, kDataExtractionSection, 4, kBoolNo, nullptr, "Only show data in tables"},
    {kDataExtractionSection, 186, kIntPolicy, kDataExtractionSection, 4, -1, nullptr, "Maximum depth table to extract"},
    {kDataExtractionSection, 187, kIntPolicy, kDataExtractionSection, 4, -1, nullptr, "Minimum depth table to extract"},
    {kDataExtractionSection, 188, kIntPolicy, kDataExtractionSection, 4, 1, nullptr, "Output table format"},
    {kDataExtractionSection, 189, kBoolPolicy, kDataExtractionSection, 4, kBoolYes, nullptr, "Convert only innermost tables"},
    {kDataExtractionSection, 190, kBoolPolicy, kDataExtractionSection, 4, kBoolYes, nullptr, "Add delimited table markers"},
    {kDataExtractionSection, 191, kTextPolicy, kTextTablesSection, 4, 0, "|", "Table delimiter character"},
    {kDataExtractionSection, 192, kBoolPolicy, kTextTablesSection, 4, kBoolYes, nullptr, "Enclose delimited data in quotes"},
    {kDataExtractionSection, 193, kBoolPolicy, kTextTablesSection, 4, kBoolNo, nullptr, "Enclose nested tables in extra levels of quotes"},
    // [RTF Help files]
    {kRtfHelpFilesSection, 210, kBoolPolicy, kRtfHelpFilesSection, 4, kBoolNo, nullptr, "Generate WinHelp project file"},
    {kRtfHelpFilesSection, 211, kTextPolicy, kRtfHelpFilesSection, 4, 0, "", "WinHelp Resource File"},
    {kRtfHelpFilesSection, 212, kTextPolicy, kRtfHelpFilesSection, 4, 0, "This help file was generated from a plain-text document.", "Help file copyright notice"},
    {kRtfHelpFilesSection, 213, kTextPolicy, kRtfHelpFilesSection, 4, 0, "Taken from a help file generated from a plain-text document.", "Help file citation"},
    {kRtfHelpFilesSection, 214, kColourPolicy, kRtfHelpFilesSection, 4, 0, "Silver", "Help title background colour"},
    {kRtfHelpFilesSection, 215, kColourPolicy, kRtfHelpFilesSection, 4, 0, "FFFFE0", "Help body background colour"},
    // [PDF headers and footers]
    {kPdfHeadersFootersSection, 230, kTextPolicy, kPdfHeadersFootersSection, 4, 0, "", "PDF page header"},
    {kPdfHeadersFootersSection, 231, kTextPolicy, kPdfHeadersFootersSection, 4, 0, "- [[page]] -", "PDF page footer"},
    {kPdfHeadersFootersSection, 232, kTextPolicy, kPdfHeadersFootersSection, 4, 0, "", "PDF text blocks file"},
    // [PDF typesetting]
    {kPdfTypesettingSection, 240, kIntPolicy, kPdfTypesettingSection, 4, 5, nullptr, "Minimum font size"},
    {kPdfTypesettingSection, 241, kIntPolicy, kPdfTypesettingSection, 4, 0, nullptr, "Additional leading"},
    // [Text conversion]
    {kTextConversionSection, 220, kTextPolicy, kTextConversionSection, 4, 0, "<si>", "XE tag prefix"},
    {kTextConversionSection, 221, kTextPolicy, kTextConversionSection, 4, 0, "<xi>", "XE tag postfix"},
    // [Conversion characteristics]
    {kConversionCharacteristicsSection, 225, kTextPolicy, kConversionCharacteristicsSection, 1, 0, "auto", "Input text encoding"},
    {kConversionCharacteristicsSection, 226, kTextPolicy, kConversionCharacteristicsSection, 3, 0, "auto", "Output text encoding"},
};
static_assert(std::size(kPolicyRows) == 133);

std::span<const PolicySectionRow> PolicySectionRows() { return kSectionRows; }
std::span<const SectionedPolicyRow> SectionedPolicyRows() { return kPolicyRows; }
