#pragma once

#include <span>
#include <string_view>

class FileControl;
class PreHTML;
class TextFile;
class TextString;

// The list file annotates every input line with its block and line number, its line type and
// flag letters, and carries the messages noted on a line just before that line. The analysis
// pass and the output pass each write one; the per-file driver calls WriteListFile for every
// line as it leaves the line window (and for the lines flushed at the end of the pass), then
// WriteListLegend once after the last line.

// What the list file carries from one line to the next within a pass: whether the lines are
// inside a define block or a fragment definition. One per pass; starts cleared.
struct ListFileFlags {
  int insideDefineBlock = 0;
  int insideFragmentDefinition = 0;
};

// Width of the annotation before the line's text, and the most text bytes written after it.
inline constexpr int kListPrefixWidth = 20;
inline constexpr int kListTextLimit = 60;

// The legend lines in order; an empty view is an empty line.
std::span<const std::string_view> ListLegendLines();

// Writes the legend when listFile is open (null counts as not open); otherwise nothing.
void WriteListLegend(TextFile* listFile);

// Updates flags from the line's tagged type (also when no list file is open), then writes the
// line's pending note (taking and freeing it) and the annotated line. Returns 1 when listFile
// is null or not open or the line was written, 0 when a write failed (the caller stops writing
// for the rest of the pass). An unknown special-format code is reported through fc at level 10.
[[nodiscard]] int WriteListFile(TextFile* listFile, PreHTML& line, FileControl& fc,
                                ListFileFlags& flags);

// The annotation of line into out (replacing its contents). The line's start position gives
// the block number (GetLine; 0 for the main text) and the line number within the block
// (GetColumn). 20 columns, except that a number too wide for its columns widens its field and
// moves the later columns right, so that every digit and every separator stays visible. An
// unknown special-format code is reported through fc at level 10.
void BuildListPrefix(const PreHTML& line, const ListFileFlags& flags, FileControl& fc,
                     TextString& out);
