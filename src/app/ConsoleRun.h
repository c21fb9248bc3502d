#pragma once

#include <string>
#include <vector>

#include "policy/FileControl.h"
#include "text/TextString.h"

class Context;
class RTFFile;

// The console face of a conversion run: the policy sets of a run, converting one file,
// walking the expanded input list, and the whole run from the program's arguments.

// The policy sets a run keeps: the user's, the policy file's and one per pass. Large: keep it
// on the heap.
struct RunPolicySets {
  FileControl user;
  FileControl policyFile;
  FileControl analysis;
  FileControl contents;
  FileControl output;
  // The policy file loaded into policyFile (empty: none).
  TextString loadedPolicyFile;
};

// Resets the three pass sets, gives them the user set's message-handler settings, rebuilds
// the in-line command table from the user set, enables the contents and output passes and
// converts inputName (from specification inputSpec) with the output named after the /OUTPUT
// value. 1 when converted.
[[nodiscard]] int ConvertOneFile(RunPolicySets& sets, Context& ctx, const TextString& inputName,
                                 const TextString& inputSpec, RTFFile& writer);

// What a walk over the input list did.
struct RunTally {
  int filesFound = 0;
  int filesConverted = 0;
  int filesFailed = 0;
};

// Expands every input entry of ctx.Commands.inputList (ConvertFileSpecs) and converts each
// file found. A policy file named with a file is loaded into the policy-file set first. An
// entry that finds no file is reported and counts as a failed file.
void ConvertFileList(RunPolicySets& sets, Context& ctx, RunTally& tally);

// The console run: parses args (without the program name), prints the usage for /? or /HELP,
// opens the log when asked, loads the policy file, converts every file and closes the log.
// Messages go to standard error, progress to standard output. Returns the exit status:
// 0 when every file converted, 1 when a file failed, when no file was found, or when the
// command line was wrong.
int RunConversion(const std::vector<std::string>& args);
