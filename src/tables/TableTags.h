#pragma once

#include "text/TextString.h"

class FileControl;
class TableAnalysisPolicies;
class TableGenerationPolicies;
class TableLayout;

// What the table settings share in reading their tags.

// Recognises text as an in-line tag and gives its normalised argument list. False when the
// tag does not recognise, or when the policy set has no Context to recognise it with.
[[nodiscard]] bool RecogniseTableTag(FileControl& fc, const TextString& text,
                                     TextString& arguments);

// Recognises text as the in-line tag keyword (prefixing "<keyword> " when the text does not
// name it, case ignored) and gives its normalised argument list; as RecogniseTableTag.
[[nodiscard]] bool ReadTableTagArguments(FileControl& fc, const char* keyword,
                                         const TextString& text, TextString& arguments);

// True for BEGIN_USER_TABLE, BEGIN_DELIMITED_TABLE and BEGIN_COMMA_DELIMITED_TABLE, compared
// exactly (case and length).
bool IsBeginTableTag(const TextString& tagName);

// "TAG ERROR: Setting table config from tag <name>\n\t<text>" at level 10.
void ReportTableTagRefused(FileControl& fc, const TextString& tagName, const TextString& tagText);

// Copies the set policies of group into one table: a policy goes over when it is set in the
// group and either override is non-zero or the target is not set. With a layout the group's
// stored tag lines are applied to it (and to the generation policies, when given) and clones
// of the group's definitions added to it. Either target may be null.
void ApplyTablePolicies(const TableAnalysisPolicies& group, FileControl& fc, int override,
                        TableLayout* layout, TableGenerationPolicies* generation);

// ---- Tags of a table layout ----
// TABLE_SHOW_COLUMNS: field i "No"/"N" hides column i, any other text shows it; columns are
// added as the list needs them; empty fields change nothing.
void ParseShowColumns(FileControl& fc, TableLayout& layout, const TextString& text);
// TABLE_LAYOUT: field 1 the count n, fields 2 .. n + 1 the 1-based source positions. All
// columns are replaced at once; any bad field leaves the old columns.
void ParseTableLayout(FileControl& fc, TableLayout& layout, const TextString& text);
// The three BEGIN_ table tags are accepted unchanged; any other tag is reported.
void ApplyTableTag(FileControl& fc, TableLayout& layout, const TextString& tagName,
                   const TextString& tagText);

// ---- Tags of table generation policies ----
// The column tags: the argument list (with or without the tag name in front) fills the
// columns in order, adding columns as needed; an empty or bad field leaves its column as it
// was. A list that cannot be read is reported ("TAG ERROR: Failed to parse
// TABLE_COLUMN_HEADERS" and the like, level 10) and changes nothing. Headers also set the
// headers-given flag.
void ParseColumnHeaders(FileControl& fc, TableGenerationPolicies& group, const TextString& text);
void ParseColumnAlignments(FileControl& fc, TableGenerationPolicies& group,
                           const TextString& text);
void ParseColumnFormats(FileControl& fc, TableGenerationPolicies& group, const TextString& text);
void ParseColumnWidths(FileControl& fc, TableGenerationPolicies& group, const TextString& text);
// The arguments of BEGIN_USER_TABLE, BEGIN_DELIMITED_TABLE and BEGIN_COMMA_DELIMITED_TABLE
// (tagName compared exactly): field 1 the table alignment, field 2 the table indent with an
// optional unit (pt, px, in, cm). An empty tagText does nothing; another tag name is
// reported.
void ApplyTableTag(FileControl& fc, TableGenerationPolicies& group, const TextString& tagName,
                   const TextString& tagText);
