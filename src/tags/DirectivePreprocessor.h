#pragma once

#include <memory>
#include <vector>

#include "engine/KeywordTables.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;

// The directive preprocessor: what a directive line (the "Directive delimiter" and a keyword
// at the start of a line) does to the policy set, the Context and the line. The statement
// reader (OutFile::GetNextStatement) hands every such line to OutFile::PreprocessDirective,
// which settles ignored blocks, sections, INCLUDE and CHANGE_POLICY itself and every other
// directive through ApplyDirective below.

// What the preprocessor did with a directive line.
enum DirectiveResult : int {
  kDirectiveHandedOn = 0,  // the line goes on to the pass (with its tagged type)
  kDirectiveConsumed = 1,  // the line was acted on and is read past
};

// The reader's own state for the preprocessor: the scratch policy set that classifies
// CHANGE_POLICY lines (made on the first one, kept with the reader), the statements read so
// far from each file on the include stack (for messages naming a file and line) and work
// texts reused for every directive.
class DirectiveReaderState {
 public:
  DirectiveReaderState();
  ~DirectiveReaderState();
  // Owns a policy set by identity.
  DirectiveReaderState(const DirectiveReaderState&) = delete;
  DirectiveReaderState& operator=(const DirectiveReaderState&) = delete;

  // The scratch policy set; attached to no Context, so it reports nothing of its own.
  FileControl& Scratch();

  // Statements read from each file of the include stack, bottom first.
  std::vector<int> includeLines;
  TextString text;
  TextString value;
  TextString message;

 private:
  std::unique_ptr<FileControl> scratch_;
};

// True when line begins with the Context's directive prefix, case ignored.
bool StartsWithDirectivePrefix(const Context& ctx, const TextString& line);

// The directive that line begins with: the longest directive text (prefix and keyword) that
// starts it, case ignored. So "BEGIN_TABLE_X" is BEGIN_TABLE and "TABLE_BORDERCOLOR" is not
// TABLE_BORDER. False when the line begins with none.
bool MatchDirective(const Context& ctx, const TextString& line, Directive& out);

// Removes the first occurrence of directive (the full text) from text, case ignored, so that
// a keyword written in lower case leaves only its value. When text does not hold it and the
// output pass is running, "TAG ERROR: Failed to remove directive \"<directive>\" from input
// line (may be case sensitive)" is reported at level 10.
void RemoveDirective(FileControl& fc, TextString& text, const TextString& directive);

// value = text with directive removed (RemoveDirective) and trimmed of blanks at both ends.
void GetDirectiveValue(FileControl& fc, const TextString& text, const TextString& directive,
                       TextString& value);

// Records a directive as a tag of name: its arguments are text without the directive (case
// ignored), normalised by ParseTagArguments; its position is the current tracker's, the
// column plus 1 unless the tracker's line is 0. Nothing is recorded when the arguments
// cannot be parsed (reported there).
void RecordDirectiveTag(FileControl& fc, const char* name, const TextString& text);

// Closes a region that a directive opened and nobody closed: when InRegion is set, reports
// "TAG ERROR: Missing \"End Table\" tag detected at <tagName> tag" on line at level 10 and
// clears InRegion and RegionCode.
void CheckMissingEndTable(FileControl& fc, PreHTML& line, const char* tagName);

// Acts on directive d of line (text: the line's text), for every directive except SECTION,
// the IGNORE and ASCII blocks, INCLUDE and CHANGE_POLICY: regions and tables, document
// information, contents and HTML sections, fragment and block lines, definitions, table
// attributes, META_TAG, help tags, ALLOW/DISALLOW and the other lines handed on with their
// type. A handed-on line gets its StatementType (line and tagged type); HTML_LINE gives the
// line its value and sets rawHtml to 1. Returns kDirectiveHandedOn or kDirectiveConsumed;
// *recognised becomes false for a directive that nothing here acts on (its line is
// consumed and the caller reports it as unknown).
int ApplyDirective(FileControl& fc, Context& ctx, PreHTML& line, Directive d,
                   const TextString& text, int& rawHtml, bool* recognised);
