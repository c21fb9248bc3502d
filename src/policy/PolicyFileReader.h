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

// Deepest include nesting a policy file may reach; deeper includes are refused, so a chain of
// includes that names one file in several spellings still ends.
inline constexpr int kMaxPolicyIncludeDepth = 16;
