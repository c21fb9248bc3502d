#pragma once

#include "text/TextFile.h"
#include "text/TextString.h"

class Context;
class FileControl;
class RTFFile;
class StringList;

// The per-file conversion: up to three passes (analysis, contents, output) over one input,
// each through the 40-line window, with the policy calculation after the analysis pass and,
// on request, a policy file of the policies in force.

// Converts inputName into one output file. userSet holds the option choices (its explicit
// marks say what the user chose), policyFileSet the policy file's; the three pass sets receive
// the merged layers. The output, list and statistics names come from MakeAuxFileNames with
// inputSpec (the specification inputName was found through) and outputPattern (parts holding
// "*" left open). writer is the output writer; source (null: read inputName) supplies the
// input lines; sink (null: write the file) receives the output lines. The input and the
// output are never the same file: such an output is refused before anything is written.
// Returns 1 when every enabled pass completed, else 0 after reporting which pass failed.
[[nodiscard]] int ConvertInputFile(FileControl& userSet, FileControl& policyFileSet,
                                   FileControl& analysisSet, FileControl& contentsSet,
                                   FileControl& outputSet, Context& ctx,
                                   const TextString& inputName, const TextString& inputSpec,
                                   const TextString& outputPattern,
                                   int passThrough, RTFFile& writer,
                                   const StatementSource* source, StringList* sink,
                                   int passThrough2);

// The passes. Each returns 1 when it completed, 0 when its input could not be opened or a
// write failed.
[[nodiscard]] int RunAnalysisPass(FileControl& fc, Context& ctx, const TextString& inputName,
                                  const TextString& listName, const TextString& statisticsName,
                                  const StatementSource* source);
[[nodiscard]] int RunContentsPass(FileControl& fc, Context& ctx, const TextString& inputName,
                                  const StatementSource* source);
// outputName is the file written when the split-file list names none. The output is removed
// again when the pass fails, so no partial file claims a conversion.
[[nodiscard]] int RunOutputPass(FileControl& fc, Context& ctx, const TextString& inputName,
                                const TextString& outputName, const TextString& listName,
                                int passThrough, RTFFile& writer, const StatementSource* source,
                                StringList* sink, int passThrough2);

// True when the two names denote the same file: equal ignoring ASCII case, or resolving to
// the same existing file (links and relative forms included).
bool IsSameFile(const TextString& first, const TextString& second);
