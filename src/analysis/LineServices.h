#pragma once

#include "text/TextString.h"

class Context;
class ConversionOptions;
class FileControl;
class PreHTML;
class Statement;
class StatementFile;

// Services of the line analysis that the text, policy and driver code call. The small
// classification and text helpers are complete; the rest are minimal forms until the line
// analysis exists, each saying what it does meanwhile.

// ---- Line types ----
// 1-6 for 101-106, 111-116, 131-136 and 151-156; 2 for 120, 121 and 250; else 0.
int HeadingLevelFromType(int lineType);

// ---- Text helpers ----
// The HTML font size (1-7 scale) for a size in points: up to 8 gives 1, up to 11 gives 2,
// up to 13 gives 3, up to 16 gives 4, below 23 gives 5, else 6.
int PointSizeToHtmlSize(int points);

// RTF-escapes text in place: "\" doubled, "{" as \'7b, "}" as \'7d. A text that already
// holds a doubled backslash or one of those escapes is left alone, so escaping twice is
// harmless.
void EscapeRtfText(FileControl& fc, TextString& text);
// The same without a policy set.
void EscapeRtfText(TextString& text);

// Re-delimits the argument list args: picks the first separator of A1, B1 (hex) | = ~ # ? /
// \ + ^ & * that args does not hold, splits args (its first character dropped) on the first
// of delimiters found outside double quotes (a comma when none is), trims each field, with
// dropNames cuts a leading "name=" (unless the field is a web address), unquotes it, and
// writes separator + field for each field. 0 (out untouched) when no separator is free.
[[nodiscard]] int NormaliseArgumentList(const TextString& args, const char* delimiters,
                                        int dropNames, TextString& out);

// One trailing and one leading double quote removed, each doubled quote made single.
void UnquoteArgument(TextString& field);

// ---- Minimal forms until the line analysis exists ----
// Finds no embedded heading yet: 0, out untouched.
[[nodiscard]] int GetEmbeddedHeadingText(FileControl& fc, PreHTML& line, Statement& out);

// Queues no directives yet.
void WriteDefaultDirectives(FileControl& fc, StatementFile& reader);
// Queues nothing yet (the statement reader already closes a <PRE> file at its end).
void AddClosingEndPre(FileControl& fc, StatementFile& file);
// Makes no split name yet: 0, both texts emptied.
[[nodiscard]] int MakeSplitFileName(const char* baseName, int flag, FileControl& fc,
                                    Context& ctx, TextString& name, TextString& second);
// Derives no flags yet.
void SetOutputModeFlags(FileControl& fc);

// The output name parts of the nearest file-name tag before the current position.
struct TaggedFileDetails {
  TextString folder;
  TextString baseName;
  TextString extension;
};
// Knows no file-name tags yet: every part emptied (as when there is none).
void GetTaggedFileDetails(Context& ctx, FileControl& fc, TaggedFileDetails& parts);
// Leaves the token as it is for now.
void TidySectionNumber(Context& ctx, const ConversionOptions& options, TextString& text);
// Detects no tags yet: out = in, result 0 (no tag found).
int DetectTags(Context& ctx, const ConversionOptions& options, int flags, const TextString& in,
               TextString& out);
// Encodes nothing yet: the text is left as it is.
void EncodeEntities(FileControl& fc, Context& ctx, TextString& text);
