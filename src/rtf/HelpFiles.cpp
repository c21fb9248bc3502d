#include "rtf/HelpFiles.h"

int WriteHelpProjectFile(FileControl& /*fc*/, const TextString& /*outputName*/) { return 0; }

int WriteHelpContentsFile(FileControl& /*fc*/, const TextString& /*outputName*/) { return 0; }
