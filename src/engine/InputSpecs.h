#pragma once

#include "text/TextString.h"

class Context;

// Turning input specifications into the files to convert. Matches go into the four parallel
// lists of the Context, read by position: InputFiles (the file), InputSpecs (the input pattern
// it came from), InputPolicyFiles (the policy file named with it, empty when none) and
// InputSteeringLines (the steering-file line that named it, empty otherwise).

// Expands one input entry:
// - steering != 0: steeringFileName is a steering file; each of its lines is a command text
//   of its own, parsed into a short-lived Context whose qualifiers act on that line only; the
//   line's files are expanded with the line's policy file and the line as steering line.
//   Returns 0, after reporting "ERROR: Can't open \"name\"", when the file cannot be opened.
// - a specification holding a double quote is a quoted list: the text glued to the first
//   quote (a folder) goes in front of every quoted name; names outside the quotes are taken
//   as in a name list.
// - listFlag != 0: a name list: every "<name>" first, then every blank-separated word.
// - otherwise the whole specification is one name.
// Returns 1 unless a steering file could not be opened.
[[nodiscard]] int ConvertFileSpecs(int steering, const TextString& steeringFileName,
                                   const TextString& specification,
                                   const TextString& policyFileName, Context& ctx, int listFlag);

// Appends every file matching one specification (wildcards "*" and "%", sub-folders when
// ctx.Commands.searchSubfolders is on) in name order, folded case. Nothing matching adds and
// reports nothing; a first match that cannot be opened is reported as
// "ERROR: Can't find or open " + specification and adds nothing.
void ExpandFileSpec(Context& ctx, const TextString& specification,
                    const TextString& policyFileName, const TextString& steeringLine);
