#pragma once

#include <array>
#include <cstddef>

#include "policy/PolicyContext.h"
#include "text/TextPosition.h"

class FileControl;
class Statement;
class TextString;

// Values of Context::LineStage.
inline constexpr int kLineStageNone = 0;
inline constexpr int kLineStageConversion = 1;
inline constexpr int kLineStageAnalysis = 2;
inline constexpr int kLineStageOutput = 3;

// What the author allowed or forbade with ALLOW and DISALLOW, one flag each (1 allowed).
enum class Permission : int {
  // "Headings"
  NumberedHeadings,
  UnderlinedHeadings,
  CapitalisedHeadings,
  // "Lists"
  Lists,
  NumberedLists,
  AlphabeticLists,
  RomanLists,
  // set only by "All" and "Reset"
  Definitions,
  CodeSamples,
  QuotedText,
  Further,
};
inline constexpr int kPermissionCount = 11;

// Where one pass stands in the document and what is allowed there. The Context owns one per
// pass and hands out the current one with pGetTracker.
struct Tracker {
  // Lists opened and not yet closed; the list item number of the list-item tag.
  int openListCount = 0;
  int listDepth = 1;
  // The number a LIST_ITEM tag gave the item it announces (output pass).
  int listItemNumber = 0;
  std::array<int, kPermissionCount> permissions{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  // Inside a DEFINE_BLOCK or fragment definition (output pass).
  int inDefinitionBlock = 0;
  // The statement now being handled: line messages and registry entries without a position
  // of their own use its line and column.
  TextPosition currentPosition;
  // A second position kept beside the current one (the main text's).
  TextPosition secondPosition;
  int inBulletList = 0;
  // Between a start and an end of contents list / of an HTML section.
  int inContents = 0;
  int inHtml = 0;
  int suppressOutput = 0;
  // The line object now being handled (not owned; its window lives for one pass, so the
  // per-pass reset forgets it). Messages raised while it is set are tied to it.
  Statement* currentLine = nullptr;

  int Allows(Permission p) const { return permissions[static_cast<std::size_t>(p)]; }
  void SetPermission(Permission p, int value) { permissions[static_cast<std::size_t>(p)] = value; }
};

// The per-pass reset: no open list, depth 1, everything allowed, positions unset, flags 0,
// no current line.
void ResetTracker(Tracker& tracker);

// Bookkeeping for one directive line of the given StatementType: 1013/1014 set and clear the
// in-contents flag, 1015/1016 the in-HTML flag, 1030 (ALLOW) and 1031 (DISALLOW) apply the
// line's word list. Other types and a null tracker change nothing.
void UpdateTrackerForLine(FileControl& control, Tracker* tracker, const TextString& line,
                          int type);

// Applies the comma-separated words after the ALLOW (value 1) or DISALLOW (value 0)
// directive name in text: "Headings", "Lists", "All" set their permissions to value,
// "Reset" sets all eleven to the opposite. Words match whole, ignoring case and blanks. An
// unknown word is reported only in the contents location while an output stage runs; the
// following words are still applied. Without a Context on control nothing is removed from
// the text before the words are read.
void ApplyAllowList(FileControl& control, Tracker& tracker, const TextString& text, int value);
