#pragma once

#include <string>
#include <vector>

// A heading paragraph of an RTF document as a reader sees it: the outline level its style
// gives (1-6) and its text with the control words and braces taken out.
struct RtfHeading {
  int level;
  std::string text;
};

// The heading paragraphs ("\pard\plain \s6N", N = 1-6) of rtf in document order. A
// paragraph's text runs from its second brace to its "\par}", line ends read as blanks.
inline std::vector<RtfHeading> HeadingParagraphs(const std::string& rtf) {
  static const std::string kOpening = "\\pard\\plain \\s6";
  std::vector<RtfHeading> headings;
  std::size_t at = rtf.find(kOpening);
  while (at != std::string::npos) {
    const std::size_t levelAt = at + kOpening.size();
    const char digit = levelAt < rtf.size() ? rtf[levelAt] : '\0';
    at = rtf.find(kOpening, levelAt);
    if (digit < '1' || digit > '6')
      continue;
    const std::size_t brace = rtf.find('{', levelAt);
    const std::size_t end = rtf.find("\\par}", levelAt);
    if (brace == std::string::npos || end == std::string::npos || brace > end)
      continue;
    std::string text;
    for (std::size_t i = brace + 1; i < end; ++i) {
      const char c = rtf[i];
      if (c == '{' || c == '}')
        continue;
      if (c == '\\' && i + 1 < end && rtf[i + 1] >= 'a' && rtf[i + 1] <= 'z') {
        // A control word and the one blank that may end it.
        ++i;
        while (i < end && ((rtf[i] >= 'a' && rtf[i] <= 'z') || rtf[i] == '-' ||
                           (rtf[i] >= '0' && rtf[i] <= '9')))
          ++i;
        if (i < end && rtf[i] != ' ')
          --i;
        continue;
      }
      if (c == '\\' && i + 1 < end && rtf[i + 1] == '\'') {
        i += 3;  // a byte in hex: not needed to tell headings apart
        continue;
      }
      if (c == '\\' && i + 1 < end) {
        text += rtf[++i];  // an escaped brace or backslash
        continue;
      }
      text += c == '\r' || c == '\n' ? ' ' : c;
    }
    while (!text.empty() && text.back() == ' ')
      text.pop_back();
    headings.push_back({digit - '0', text});
  }
  return headings;
}

// The first blank-separated word of a heading's text without a trailing '.': its section
// number when it has one ("2.1." gives "2.1").
inline std::string SectionNumberOf(const RtfHeading& heading) {
  std::string word = heading.text.substr(0, heading.text.find(' '));
  while (!word.empty() && word.back() == '.')
    word.pop_back();
  return word;
}
