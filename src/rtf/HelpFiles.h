#pragma once

#include "text/TextString.h"

class FileControl;

// The help project (".hpj") and contents (".cnt") files named after an output file. Until the
// help writer exists they write nothing and return 0.
[[nodiscard]] int WriteHelpProjectFile(FileControl& fc, const TextString& outputName);
[[nodiscard]] int WriteHelpContentsFile(FileControl& fc, const TextString& outputName);
