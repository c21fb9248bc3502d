#pragma once

#include "pages/OptionPage.h"

// Every option page as data: template, page code, tab text and values. The sheets
// (pages/OptionSheets.cpp) name their pages by these definitions.

// Page templates by dialog id.
enum PageDialogId : int {
  kPageBullets = 129,
  kPageHeading = 136,
  kPageHyperlinks = 138,
  kPageAnalysis = 140,
  kPagePrePro = 142,
  kPageContents = 143,
  kPagePreFormat = 146,
  kPageLinkDict = 149,
  kPageTabAnal = 163,
  kPageLookFor = 171,
  kPageFont = 173,
  kPageSettingsDrag = 176,
  kPageSettingsViewer = 177,
  kPageSettingsPolicy = 178,
  kPageSettingsDoco = 179,
  kPageSettingsMessages = 180,
  kPageRTFDocument = 184,
  kPageFileStruct = 187,
  kPageRTFSettings = 193,
  kPageMakeHelp = 204,
  kPageFileGenRTF = 218,
  kPageSDF = 226,
  kPageTDF = 227,
  kPageTextSubs = 228,
  kPageRTFFormat = 229,
  // The file-generation page is built from 218 and takes the texts of 235.
  kTextsFileGenRTF = 235,
};

// SheetAnalysis
extern const PageDefinition kLookForPage;
extern const PageDefinition kAnalysisPage;
extern const PageDefinition kBulletsPage;
extern const PageDefinition kHeadingPage;
extern const PageDefinition kContentsPage;
extern const PageDefinition kFileStructPage;
extern const PageDefinition kPreFormatPage;
extern const PageDefinition kTabAnalPage;
// Sheet
extern const PageDefinition kHyperlinksPage;
extern const PageDefinition kFileGenRTFPage;
extern const PageDefinition kFontPage;
extern const PageDefinition kMakeHelpPage;
extern const PageDefinition kPreProPage;
extern const PageDefinition kRTFDocumentPage;
extern const PageDefinition kRTFFormatPage;
extern const PageDefinition kRTFSettingsPage;
// SheetConfig
extern const PageDefinition kLinkDictPage;
extern const PageDefinition kSDFPage;
extern const PageDefinition kTDFPage;
extern const PageDefinition kTextSubsPage;
// SheetSettings
extern const PageDefinition kSettingsDragPage;
extern const PageDefinition kSettingsDocoPage;
extern const PageDefinition kSettingsViewerPage;
extern const PageDefinition kSettingsMessagesPage;
extern const PageDefinition kSettingsPolicyPage;
