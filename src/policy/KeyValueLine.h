#pragma once

#include "text/TextString.h"

class ErrorHandler;

// The parse state of one policy line ("key: value") as the policy parsers see it. The
// parsers report through the consumed, result and category fields; refusals go to the
// handler (none: nothing is reported).
struct KeyValueLine {
  // Stores the handler, then Reset.
  explicit KeyValueLine(ErrorHandler* lineHandler = nullptr);

  // Empties the three texts; repeat check 0, has value 1, the marks 0, result 1,
  // category 0, missing value 0. The handler stays.
  void Reset();

  ErrorHandler* handler = nullptr;  // not owned
  TextString lineText;              // the whole line as read
  TextString valueText;             // the text after the first ':', trimmed
  TextString alternativeText;       // a second line text whose key also matches; usually empty
  int repeatCheck = 0;              // report (and refuse) repeated settings
  int hasValue = 1;
  int none = 0;                     // value is "(none)" or "none"
  int yes = 0;                      // value is "Yes" or "true"
  int no = 0;                       // value is "no" or "false"
  int consumed = 0;                 // a policy has taken the line
  int result = 1;                   // 1 applied, 0 refused
  int category = 0;                 // category of the policy that took the line
  int missingValue = 0;             // refused for lack of a value
};

// Splits a raw policy line into the record: resets it, stores the handler and the repeat
// check. An empty line or one beginning with '!' or '#' is marked consumed. Otherwise the
// value is the text after the first ':' (trimmed); a line without ':' gets an empty value
// and, unless it is a comment-like or header-like line, is reported as
// "POLICY: Ignored - Missing colon in \"<line>\"" at level 10. The none, yes and no marks
// follow the value (case ignored); the line text keeps the whole raw line.
void ParseKeyValueLine(KeyValueLine& line, ErrorHandler* handler, int repeatCheck,
                       const TextString& rawLine);
