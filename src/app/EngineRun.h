#pragma once

#include "text/TextString.h"

class Context;
class FileControl;
class RTFFile;
class StringList;

// The desktop program's one road into the engine's per-file driver.

// Resets the three pass sets, gives each the base set's message-handler settings, gives the
// Context the base set's text-command delimiters and converts inputPath through the passes:
// base is the policy-file layer, user the user's layer. clipboardLines (may be null) receives
// the output lines instead of a file. 1 on success.
[[nodiscard]] int RunEngineOnFile(FileControl& base, FileControl& user, FileControl& analysis,
                                  FileControl& contents, FileControl& output, Context& ctx,
                                  const TextString& inputPath, const TextString& inputSpec,
                                  const TextString& outputName, int outputKind, RTFFile& writer,
                                  StringList* clipboardLines);
