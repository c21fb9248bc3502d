#pragma once

#include "text/TextString.h"

class Context;
class FileControl;

// The names one input file's conversion writes under.
struct AuxFileNames {
  TextString inputFolder;
  TextString outputFolder;
  TextString outputBaseName;
  TextString outputExtension;
  TextString analysisListName;  // empty: no list file of the analysis pass
  TextString outputListName;    // empty: no list file of the output pass
  TextString statisticsName;    // empty: no statistics file
};

// Works out the output folder, base name and extension and the list and statistics file names
// for inputName, found through inputPattern (the input specification as written, wildcards
// and quotation marks included), with outputPattern ("*" parts left open). Reads "Generate
// diagnostics files" from fc and the naming settings of ctx.Commands. Every name is made
// afresh; nothing on disk is touched.
//
// - Output folder: the input's; with treeMatchesInput the folder of inputPattern (quotation
//   marks dropped) followed by the input's sub-folder below it. ctx's output folder, then the
//   alternative output folder when its switch is on, take the place of the first part.
// - Base name: "out" for the input name "in.asc" (any case, no folder); the input's when the
//   output base-name setting is empty or "*"; else that setting.
// - List files (list-file switches or diagnostics): input base name + ".lis1" (".ls1" with
//   dosNames) and + ".lis"; statistics (listAndStatisticsFiles or diagnostics): + ".stats"
//   (".sts"); each in the output folder worked out so far, and so named after the input even
//   when the output base name differs.
// - Extension: that of the output specification unless empty or ".*".
// - outputPattern: its folder, base name and extension, each when not empty and free of "*",
//   take the place of those above (with treeMatchesInput the sub-folder stays after the
//   pattern's folder).
// - An extension still empty is the program's default (".rtf").
void DeriveAuxFileNames(const TextString& inputName, const TextString& inputPattern,
                        const TextString& outputPattern, const FileControl& fc,
                        const Context& ctx, AuxFileNames& names);

// DeriveAuxFileNames, then creates (with missing parents) the output folder and the folders
// of the list and statistics files. A folder that cannot be made is not reported here: the
// file that should go there fails to open and says so.
void MakeAuxFileNames(const TextString& inputName, const TextString& inputPattern,
                      const TextString& outputPattern, const FileControl& fc, const Context& ctx,
                      AuxFileNames& names);
