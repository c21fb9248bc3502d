#pragma once

class FileControl;

// Sets the Context's contents mode for the output pass from the contents policies, and, when
// the document asked to place its own contents, raises the override and drops a generated
// contents mode. Without a Context nothing happens.
void SetOutputModeFlags(FileControl& fc);
