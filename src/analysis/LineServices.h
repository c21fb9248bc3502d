#pragma once

#include "text/TextString.h"

class Context;
class ConversionOptions;
class FileControl;
class StatementFile;

// Services of the line analysis that the text, policy and driver code call. The small
// classification and text helpers are complete; the rest are minimal forms until the line
// analysis exists, each saying what it does meanwhile.

// ---- Text helpers ----
// RTF-escapes text in place: "\" doubled, "{" as \'7b, "}" as \'7d. A text that already
// holds a doubled backslash or one of those escapes is left alone, so escaping twice is
// harmless.
void EscapeRtfText(FileControl& fc, TextString& text);
// The same without a policy set.
void EscapeRtfText(TextString& text);

// ---- Minimal forms until the line analysis exists ----
// Queues no directives yet.
void WriteDefaultDirectives(FileControl& fc, StatementFile& reader);
// Queues nothing yet (the statement reader already closes a <PRE> file at its end).
void AddClosingEndPre(FileControl& fc, StatementFile& file);
// Detects no tags yet: out = in, result 0 (no tag found).
int DetectTags(Context& ctx, const ConversionOptions& options, int flags, const TextString& in,
               TextString& out);
// Escapes text for markup output (EscapeHtmlText, 8-bit characters kept under a non-Latin-1
// character encoding) unless the output is text, the input holds Japanese characters or the
// character encoding takes no entities.
void EncodeEntities(FileControl& fc, Context& ctx, TextString& text);
