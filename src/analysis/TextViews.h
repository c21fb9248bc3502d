#pragma once

#include <string_view>

#include "text/CharacterUtils.h"
#include "text/TextString.h"

// Read-only views of line texts for the line analysis and its tests: blanks are spaces and
// tabs; case folding is ASCII only (bytes from 0x80 are neither letters nor cased).

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The bytes of the blank that starts at i: 1 for a blank or a tab, 2 for a no-break space in
// UTF-8 (C2 A0, as generated documents set it between a section number and its title), else 0.
// Words are split at either.
inline std::size_t BlankBytesAt(std::string_view text, std::size_t i) {
  if (IsBlank(text[i]))
    return 1;
  const bool noBreakSpace = i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xC2 &&
                            static_cast<unsigned char>(text[i + 1]) == 0xA0;
  return noBreakSpace ? 2 : 0;
}

inline std::string_view View(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

inline std::string_view LeftTrimmed(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start]))
    ++start;
  return text.substr(start);
}

inline std::string_view Trimmed(std::string_view text) {
  text = LeftTrimmed(text);
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1]))
    --end;
  return text.substr(0, end);
}

inline char FoldCase(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i]))
      return false;
  }
  return true;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}
