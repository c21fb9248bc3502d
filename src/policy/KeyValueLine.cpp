#include "policy/KeyValueLine.h"

#include "policy/ErrorHandler.h"
#include "policy/PolicySection.h"


KeyValueLine::KeyValueLine(ErrorHandler* lineHandler) : handler(lineHandler) { Reset(); }

void KeyValueLine::Reset() {
  lineText.SetEmpty();
  valueText.SetEmpty();
  alternativeText.SetEmpty();
  repeatCheck = 0;
  hasValue = 1;
  none = 0;
  yes = 0;
  no = 0;
  consumed = 0;
  result = 1;
  category = 0;
  missingValue = 0;
}

static bool EqualsNoCase(const TextString& text, const char* word) {
  return text.Compare(word, 0, 0);
}

// Lines without a colon that are not worth a message: lone "!", bracketed or header-like
// lines, and the special heading lines that carry their own syntax.
static bool IsQuietLineWithoutColon(const TextString& line) {
  if (line.Compare("!", 1, 0)) return true;
  if (line.ContainsChar('[') || line.ContainsChar(']')) return true;
  if (IsPolicySectionHeader(line)) return true;
  return line.ContainsNoCase(" recognised headings") || line.ContainsNoCase("Contents level") ||
         line.ContainsNoCase("Heading level");
}

void ParseKeyValueLine(KeyValueLine& line, ErrorHandler* handler, int repeatCheck,
                       const TextString& rawLine) {
  line.Reset();
  line.handler = handler;
  line.repeatCheck = repeatCheck;
  line.result = 1;
  line.hasValue = 1;
  line.lineText.Assign(rawLine);

  const char first = rawLine.CharAt(0);
  if (rawLine.IsEmpty() || first == '!' || first == '#') {
    line.consumed = 1;
    return;
  }

  int colon = -1;
  if (rawLine.FindChar(0, ':', &colon, 1) && colon >= 0) {
    line.valueText.AssignSubstring(rawLine.GetText(), colon + 1, -1);
    line.valueText.Trim();
  } else if (!IsQuietLineWithoutColon(rawLine) && handler != nullptr) {
    handler->SetMessageText("POLICY: Ignored - Missing colon in \"");
    handler->AppendMessageText(rawLine.GetText());
    handler->AppendMessageText("\"");
    handler->ReportBuffer(10);
  }

  const TextString& value = line.valueText;
  line.none = EqualsNoCase(value, "(none)") || EqualsNoCase(value, "none");
  line.yes = EqualsNoCase(value, "Yes") || EqualsNoCase(value, "true");
  line.no = EqualsNoCase(value, "no") || EqualsNoCase(value, "false");
}
