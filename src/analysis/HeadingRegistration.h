#pragma once

class Context;
class FileControl;
class PreHTML;
class TextPosition;
class TextString;

// The headings found in the document's lines, registered in the Context's heading and
// contents lists.

// Adds a heading to the Context's heading list (heading types and mail headers) or contents
// list (contents-line types) and widens that list's lowest and highest level; any other type
// is reported ("UNSUPPORTED CASE: Unexpected contents line type : <type>", level 10). text1
// and text3 lose their backspace overstrikes; for RTF output text2 is compared unescaped.
void RegisterHeading(Context& ctx, FileControl& control, int lineType, const TextString& text1,
                     const TextString& text2, const TextString& text3,
                     const TextPosition& position, const TextString& extra1,
                     const TextString& extra2, const TextString& extra3);
// RegisterHeading of line's text (escaped for the output unless the line's conversion did it)
// with the line's type, at the line's start position or, without one, one column after the
// current pass position. Nothing for a null line.
void RegisterHeadingLine(Context& ctx, FileControl& control, PreHTML* line);
// The anchor of a table cell: Context::AddAnchorEntry of text where line stands (as
// RegisterHeadingLine places it). Nothing for a null line.
void AddTableAnchorEntry(Context& ctx, FileControl& control, PreHTML* line,
                         const TextString& text);
