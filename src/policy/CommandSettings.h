#pragma once

#include "text/TextString.h"

// The values of the command-line qualifiers of one command text; the policy sets take them
// over. ResetCommandState gives the values noted here.
struct CommandSettings {
  // Short file extensions (".ls1", ".sts") for the list and statistics files.
  int dosNames = 0;
  // List files are written; listAndStatisticsFiles asks for the statistics file as well.
  int listFiles = 0;
  int listAndStatisticsFiles = 0;
  int logRequested = 0;
  int createPolicyFile = 0;
  int simpleFile = 0;
  int debugTags = 0;
  int commaDelimited = 0;
  int plainTable = 0;
  int tabDelimited = 0;
  int consoleOutput = 0;
  // The stop mark of a help qualifier: start-up converts nothing when it is set.
  int helpRequested = 0;
  int sourceIsHtml = 0;
  int searchSubfolders = 0;
  // Output keeps the sub-folder in which a file was found below its input pattern's folder.
  int treeMatchesInput = 0;
  int displayMessages = 1;
  int policyFileInUse = 0;
  int analysisPassEnabled = 1;
  int contentsPassEnabled = 1;
  int outputPassEnabled = 1;
  int directoryIndexRequested = 0;
  // Existing output may be overwritten.
  int overwrite = 0;
  // Qualifiers this program leaves disabled; the policy sets still take them when set.
  int addContentsList = 0;
  int makeDirectory = 0;
  int concatenate = 0;
  int frames = 0;
  int compositionUnit = 0;
  // The level, shift and count from which the policy set derives its signed offset.
  int offsetLevel = 0;
  int offsetShift = 0;
  int offsetCount = 0;
  // Switches the derived defaults of a policy set write: printer control codes are looked for,
  // fonts are written as FONT tags.
  int pclCodes = 0;
  int fontTags = 0;
  // The rule set a policy line chose (0 none); a policy set without one of its own takes it.
  int ruleSetCode = 0;
  TextString inputList;
  TextString policyFileName;
  TextString logFileName;
  // The output qualifier's value and its parts: the folder takes the place of the input's,
  // a base name other than "*" that of the input's, the extension counts unless ".*".
  TextString outputSpec;
  TextString outputFolder;
  TextString outputBaseName;
  TextString outputExtension;
  // With the switch on, output goes to this folder instead.
  int useAlternativeOutputFolder = 0;
  TextString alternativeOutputFolder;
  TextString policyOutputFileName;
  TextString directoryIndexFileName;
  TextString ruleSetName;
  // Folder, name and extension parts of the contents-list output of a composition unit.
  TextString contentsOutputFolder;
  TextString contentsOutputBaseName;
  TextString contentsOutputExtension;
  // The folder of the policy file read last.
  TextString policyFolder;
};
