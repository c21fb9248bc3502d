#pragma once

#include "text/TextString.h"

// Reading policy files and single policy lines. The entry points are members of FileControl
// (FileControl::LoadPolicyLine, FileControl::ReadPolicyFile, declared in
// policy/FileControl.h); this header holds the helpers they share with their callers.

// True for a line without a colon that is still no mistake: empty, a lone "!", a line holding
// '[' or ']', a section header, or one of the heading lines ("... recognised headings",
// "Heading level ...", "Contents level ...") that carry their own syntax.
bool IsMissingColonExempt(const TextString& line);

// A name read from a policy file, made usable: leading "../" ("..\") steps climb folder, a
// relative name is put below folder, an absolute name stays. folder ends with a separator or
// is empty (the current folder).
void ResolvePolicyFileName(const TextString& folder, const TextString& name, TextString& out);

// Most files a policy read holds open at once (the file read and its nested includes); an
// include beyond it is refused and reported with the file and line that asked for it.
inline constexpr int kMaxPolicyIncludeDepth = 16;
