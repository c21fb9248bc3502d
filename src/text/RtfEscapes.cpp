#include "text/RtfEscapes.h"

#include <utility>

void EscapeRtfText(TextString& text) {
  if (!text.ContainsChar('\\') && !text.ContainsChar('{') && !text.ContainsChar('}'))
    return;
  TextString escaped;
  escaped.Reserve(text.GetLength() + text.GetLength() / 4 + 8);
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '\\') {
      escaped.Append("\\\\");
      continue;
    }
    if (c == '{') {
      escaped.Append("\\'7b");
      continue;
    }
    if (c == '}') {
      escaped.Append("\\'7d");
      continue;
    }
    escaped.AppendChar(c);
  }
  text = std::move(escaped);
}

void EscapeRtfBraces(TextString& text) {
  if (!text.ContainsChar('\\') && !text.ContainsChar('{') && !text.ContainsChar('}'))
    return;
  TextString escaped;
  escaped.Reserve(text.GetLength() + 8);
  int backslashes = 0;  // the run of backslashes just before i
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    const bool escapedByRun = backslashes % 2 == 1;
    backslashes = c == '\\' ? backslashes + 1 : 0;
    if ((c == '{' || c == '}') && !escapedByRun) {
      escaped.Append(c == '{' ? "\\'7b" : "\\'7d");
      continue;
    }
    escaped.AppendChar(c);
  }
  if (backslashes % 2 == 1)
    escaped.AppendChar('\\');
  text = std::move(escaped);
}
