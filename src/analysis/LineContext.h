#pragma once

#include "text/StatementTypes.h"

class FileControl;
class PreHTML;

// A summary of one line near the line being analysed or written: its type, where its text
// lies and the class tests that its neighbours ask about. FillLineContext fills it from a
// line; the record of no line describes a blank line.
struct LineContext {
  PreHTML* line = nullptr;  // not owned; null when the record describes no line
  int type = 0;
  int indent = 0;
  int length = 0;
  // Of the tidy rendering: the last non-blank column and the length.
  int lastNonBlankColumn = 0;
  int tidyLength = 0;
  // The line's flags kFlagCentred, kFlagRollOut and kFlagUserRegion.
  bool centred = false;
  bool rollOut = false;
  bool inUserRegion = false;
  // Its type is a heading, a bullet, a bullet's blank line, or a list line.
  bool isHeading = false;
  bool isBullet = false;
  bool isBulletBlankLine = false;
  bool isListLine = false;
  // The line's flags kFlagShortLine, kFlagMailHeader and kFlagChangeBar.
  bool shortLine = false;
  bool mailHeader = false;
  bool changeBar = false;
  int specialFormat = 0;  // the special-format code of the line's region

  // The record of no line: a blank line whose four positions are -1, every test false.
  static LineContext Blank() {
    LineContext blank;
    blank.type = kTypeBlank;
    blank.indent = -1;
    blank.length = -1;
    blank.lastNonBlankColumn = -1;
    blank.tidyLength = -1;
    return blank;
  }
};

// Fills record from line, or with LineContext::Blank() when line is null. The last non-blank
// column is the tidy rendering's length less its trailing blanks (the column after its last
// non-blank byte, 0 for an empty rendering). A heading is a type 101-106, 111-116, 120, 121 or
// 131-136; a bullet 210-216 or 219; a bullet's blank line 217 or 218; a list line 1004, 1006,
// or 1005 while the current pass's tracker has a list open (fc's Context; none without one).
void FillLineContext(FileControl& fc, LineContext& record, PreHTML* line);
