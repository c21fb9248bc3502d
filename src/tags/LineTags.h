#pragma once

class Context;
class FileControl;
class PreHTML;
class TextString;

// The in-line tags a line executes itself, and the fallback through which the output file's
// tag scan hands a tag of a line to the in-line tag interpreter.

// Executes one in-line tag that stands in line: the analysis-pass bookkeeping of the tags the
// interpreter leaves to the line (fonts, colours, folios, page markers, QUAD) and the text
// that takes the tag's place in the line's text, tidy and plain renderings. A HEADING or
// END_HEADING tag of the contents pass also goes to HandleTagFallback (its message reported
// on the line). An unrecognised tag is reported ("TAG ERROR: ") only outside the analysis
// and contents passes. Returns 1 when the tag was recognised, else 0.
int ExecuteLineTag(PreHTML& line, FileControl& fc, Context& ctx, const TextString& command);

// A tag of line handed over by the output file's tag scan (mode: the scan's kind, also the
// interpreter's call mode): recognised and dispatched to the interpreter; what it does not
// handle goes to ExecuteLineTag (which then hands no tag back) and, except for CT and OT
// outside the analysis and contents passes, adds "WARNING: Unimplemented tag" to message
// (level 4). An unrecognised tag adds "TAG ERROR: " and the recogniser's text (level 10).
// Messages after the first follow a line break and indentation. A replacement the
// interpreter asks for takes the first occurrence of the tag in the text. Returns the
// interpreter's result (0 when the tag was not recognised).
int HandleTagFallback(PreHTML& line, int mode, const TextString& tag, FileControl& fc,
                      Context& ctx, TextString& message, int& level);
