#pragma once

#include <span>
#include <string_view>

class Context;
class TextString;

// The line analysis proper is PreHTML::AnalyseLine (analysis/PreHTML.h), defined in
// analysis/LineAnalysis.cpp with the services below.

// The names of the mail and news header fields that make a line a header line, in the order
// in which the Context's "Mail headers" index takes them in (229 names).
std::span<const std::string_view> MailHeaderNames();

// Whether name (the text before a line's first colon) names a mail or news header: it is
// neither "http" nor "note" (case ignored), holds no blank, and is one of MailHeaderNames()
// (case ignored). The Context's index is filled on first use.
bool IsMailHeaderName(Context& ctx, const TextString& name);

// A contents list ends when a line lies more than this many lines after its last entry
// (counting, across a page break, only lines with text).
inline constexpr int kContentsListGap = 7;

// Whether text ends in a page number after a leader of three or more dots, blanks allowed
// between them ("Appendix A.1.  . . . . 47", "Scope ........ 1"): a contents entry whatever
// its number looks like.
bool EndsInDotLeaderPageNumber(std::string_view text);
