#pragma once

#include "text/Statement.h"
#include "text/TextString.h"

class Context;
class PreHTML;

// The word conversions of the output pass turn addresses written in running text into links:
// web and file-transfer addresses, e-mail addresses and news-group names; words typed with
// backspace overstrike become underlined or bold. They are PreHTML operations (declared in
// analysis/PreHTML.h, defined in analysis/UrlWords.cpp): the line walks its words, and each
// word is tested on the Context's word object, whose work texts are the ones below.

// What a word detector made of a word.
enum UrlType : int {
  kUrlNone = 0,
  kUrlHttp = 1,            // "http://" or "https://"
  kUrlEmail = 2,
  kUrlFtp = 3,             // "ftp://"
  kUrlGopher = 4,          // "gopher://"
  kUrlTelnet = 5,          // "telnet://"
  kUrlNews = 6,
  kUrlWww = 7,             // "www." (target gets "http://")
  kUrlFtpSite = 8,         // "ftp." (target gets "ftp://")
  kUrlGopherSite = 9,      // "gopher." (target gets "gopher://")
  kUrlTelnetSite = 10,     // "telnet." (target gets "telnet://")
  kUrlDottedFtpSite = 11,  // a dotted name taken as a file-transfer site
  kUrlRefusedWww = 12,
  kUrlRefusedEmail = 13,
  kUrlRefusedFtp = 14,
  kUrlRefusedGopher = 15,
  kUrlRefusedTelnet = 16,
  kUrlRefusedNews = 17,
};

// The work texts of the word object, kept so that testing a word allocates nothing once
// they have grown.
struct UrlWorkTexts {
  TextString candidate;      // the word cleaned for testing
  TextString testedHost;     // the copy handed to the domain check
  TextString correctedHost;  // what the domain check gave back
  TextString linkText;
  TextString linkTarget;
  TextString linkMarkup;
  TextString localPart;   // e-mail: before the "@"
  TextString domainPart;  // e-mail: after the "@"
  TextString plain;       // overstrike: the word without its backspaces
  TextString lineOut;     // the line being rebuilt
  TextString rewritten;   // the word with its link in place
  TextString wordCopy;    // e-mail: the word without a "mailto:" in front of its link
  TextString refused;     // news-group words: the text a refused word would have linked
  Statement target;       // the target of the link made
  TextString message;
  int linkLength = 0;     // the length of the link text of the last conversion
};

// The Context's word object, made on first use.
PreHTML& WordObjectOf(Context& ctx);

// True when text can stand inside an RTF group without changing the brace balance: every
// brace is escaped and no backslash is left unpaired at the end.
bool IsBraceNeutralRtf(const TextString& text);
