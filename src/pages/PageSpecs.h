#pragma once

#include "pages/OptionPage.h"

// Every option page as data: template, page code, tab text and values. The sheets
// (pages/OptionSheets.cpp) name their pages by these specs.

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
extern const PageSpec kLookForPage;
extern const PageSpec kAnalysisPage;
extern const PageSpec kBulletsPage;
extern const PageSpec kHeadingPage;
extern const PageSpec kContentsPage;
extern const PageSpec kFileStructPage;
extern const PageSpec kPreFormatPage;
extern const PageSpec kTabAnalPage;
// Sheet
extern const PageSpec kHyperlinksPage;
extern const PageSpec kFileGenRTFPage;
extern const PageSpec kFontPage;
extern const PageSpec kMakeHelpPage;
extern const PageSpec kPreProPage;
extern const PageSpec kRTFDocumentPage;
extern const PageSpec kRTFFormatPage;
extern const PageSpec kRTFSettingsPage;
// SheetConfig
extern const PageSpec kLinkDictPage;
extern const PageSpec kSDFPage;
extern const PageSpec kTDFPage;
extern const PageSpec kTextSubsPage;
// SheetSettings
extern const PageSpec kSettingsDragPage;
extern const PageSpec kSettingsDocoPage;
extern const PageSpec kSettingsViewerPage;
extern const PageSpec kSettingsMessagesPage;
extern const PageSpec kSettingsPolicyPage;
