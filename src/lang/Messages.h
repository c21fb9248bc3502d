#pragma once

#include <string>

class DesktopPlatform;

// Indices of the message-text table that the program shows: message-box captions and texts,
// list entries, status lines and file-chooser filters.
enum MessageIndex : int {
  kMsgCaptionNoFileSelected = 1,
  kMsgCaptionNoAnalysisNecessary = 2,
  kMsgCaptionFileSelection = 4,
  kMsgCaptionBrowserNotFound = 5,
  kMsgCaptionPolicyFile = 6,
  kMsgCaptionLaunchBrowser = 8,
  kMsgCaptionConvert = 9,
  kMsgCaptionOutputFile = 10,
  kMsgCaptionSaveChanges = 11,
  kMsgCaptionInputFile = 12,
  kMsgCaptionNoConversionYet = 13,
  kMsgCaptionResetToDefaults = 14,
  kMsgCaptionNoFunction = 15,
  kMsgCaptionFileLocation = 16,
  kMsgCaptionReanalyse = 17,
  kMsgCaptionReloadPolicies = 18,
  kMsgCaptionEmail = 19,
  kMsgOutputFolderTitle = 22,
  kMsgCaptionDdeProblems = 24,
  kMsgDdeDisabled = 25,
  kMsgChooseFileFirst = 26,
  kMsgNoAnalysisNeeded = 27,
  kMsgInvalidOutputDirectory = 29,
  kMsgNoFilesFound = 30,         // xxxxxx: the input specification
  kMsgLocateBrowser = 31,
  kMsgPolicyFileNotFound = 32,   // xxxxxx: the policy file
  kMsgNoUrl = 45,
  kMsgNoFileName = 46,
  kMsgCommandFailed = 47,        // "ccc url": command and argument; nnn: error code
  kMsgConversionFailed = 48,
  kMsgFileNotLocated = 49,       // ffffff: the name
  kMsgChooseFileName = 50,
  kMsgSaveChangesQuestion = 51,
  kMsgConvertFirst = 52,
  kMsgResetDone = 53,
  kMsgBetaRelease = 54,
  kMsgRequestedFileNotFound = 55,  // hhhhhh: the file name
  kMsgReanalyseDone = 56,
  kMsgReloadDone = 57,
  kMsgEmailNotFound = 58,
  kMsgNeedDelimiter = 59,
  kMsgLogFileFailed = 69,        // ffffff: the log file
  kMsgLogFileInstead = 70,       // ffffff: the log file used instead
  kMsgConversionComplete = 71,
  kMsgFilterInputFiles = 86,
  kMsgFilterPolicyFiles = 87,
  kMsgFilterHtmlFiles = 88,
  kMsgFilterPrograms = 89,
  kMsgFilterLogFiles = 91,
  kMsgFilterLanguageFiles = 92,
  kMsgFilterStyleFiles = 93,
  kMsgInputPlainText = 95,
  kMsgInputTabDelimited = 96,
  kMsgInputCommaDelimited = 97,
  kMsgInputOtherDelimited = 98,
  kMsgOutputRtfToFile = 104,
  kMsgCaptionNoDelimiter = 108,
  kMsgFilterIncludeFiles = 109,
  kMsgInputTextTable = 115,
  kMsgOutputFileExists = 116,
  kMsgFilesAllEmpty = 117,
};

// Shows message text textIndex under caption captionIndex with the warning icon and an OK
// button.
void ShowMessageText(DesktopPlatform& platform, int textIndex, int captionIndex);
// The same with text already taken from the table and its placeholders replaced.
void ShowMessageText(DesktopPlatform& platform, const std::string& text, int captionIndex);
