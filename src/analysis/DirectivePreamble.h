#pragma once

class FileControl;
class StatementFile;

// The directive lines a pass reads before the document's own: default block and variable
// definitions, the opening of the pre-formatted and HTML sections, and the fragment
// definitions of the fragments file. Every directive line is built with the "Directive
// delimiter" in force, so that the preprocessor knows it whatever the delimiter is.

// Queues the preamble of the output type on reader: nothing for RTF; for HTML the folio
// defaults under a rule set, BEGIN_PRE ("Preserve file structure using <PRE>"), BEGIN_HTML
// (HTML input) and the fragments file; for text only the fragments file.
void WriteDefaultDirectives(FileControl& fc, StatementFile& reader);

// Queues END_PRE on file when "Preserve file structure using <PRE>" is on.
void AddClosingEndPre(FileControl& fc, StatementFile& file);

// Reads the "Fragments file" (found in "Input directory", else in the Context's include
// search folder) and queues on reader the lines of its fragment definitions: from a
// DEFINE_HTML_FRAGMENT or DEFINE_TEXT_FRAGMENT line through the END_BLOCK, RESET_HTML_FRAGMENT
// or RESET_TEXT_FRAGMENT line. INCLUDE lines are followed (and queued inside a fragment);
// other directives are reported. A file that cannot be found is one error; nothing is queued.
void ProcessIncludeFiles(FileControl& fc, StatementFile& reader);
