#include "engine/Tracker.h"

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/StatementTypes.h"
#include "text/TextString.h"

void ResetTracker(Tracker& tracker) {
  tracker.openListCount = 0;
  tracker.listDepth = 1;
  tracker.listItemNumber = 0;
  tracker.permissions.fill(1);
  tracker.inDefinitionBlock = 0;
  tracker.currentPosition.Reset();
  tracker.secondPosition.Reset();
  tracker.inBulletList = 0;
  tracker.inContents = 0;
  tracker.inHtml = 0;
  tracker.suppressOutput = 0;
  tracker.currentLine = nullptr;
}

void UpdateTrackerForLine(FileControl& control, Tracker* tracker, const TextString& line,
                          int type) {
  if (tracker == nullptr) return;
  switch (type) {
    case kTagBeginContents: tracker->inContents = 1; return;
    case kTagEndContents: tracker->inContents = 0; return;
    case kTagBeginHtml: tracker->inHtml = 1; return;
    case kTagEndHtml: tracker->inHtml = 0; return;
    case kTagAllow: ApplyAllowList(control, *tracker, line, 1); return;
    case kTagDisallow: ApplyAllowList(control, *tracker, line, 0); return;
    default: return;  // StatementType is an open set of codes, not an enum
  }
}

static void SetRange(Tracker& tracker, Permission first, Permission last, int value) {
  for (int p = static_cast<int>(first); p <= static_cast<int>(last); ++p)
    tracker.SetPermission(static_cast<Permission>(p), value);
}

// Applies one word; false when the word is none of the four.
static bool ApplyAllowWord(Tracker& tracker, const TextString& word, int value) {
  if (word.Compare("Headings", 0, 0)) {
    SetRange(tracker, Permission::NumberedHeadings, Permission::CapitalisedHeadings, value);
    return true;
  }
  if (word.Compare("Lists", 0, 0)) {
    SetRange(tracker, Permission::Lists, Permission::RomanLists, value);
    return true;
  }
  if (word.Compare("All", 0, 0)) {
    SetRange(tracker, Permission::NumberedHeadings, Permission::Further, value);
    return true;
  }
  if (word.Compare("Reset", 0, 0)) {
    SetRange(tracker, Permission::NumberedHeadings, Permission::Further, value ? 0 : 1);
    return true;
  }
  return false;
}

void ApplyAllowList(FileControl& control, Tracker& tracker, const TextString& text, int value) {
  Context* ctx = control.pGetContext();
  TextString words(text);
  if (ctx != nullptr) {
    const TextString& name =
        ctx->GetDirectiveName(value ? Directive::Allow : Directive::Disallow);
    int at = -1;
    if (!name.IsEmpty() && words.Find(0, name.GetText(), &at, 0, 0))
      words.ReplaceSpan(at, name.GetLength(), "");
  }
  words.Trim();

  TextString word;
  int pos = 0;
  while (words.GetNextField(&pos, ',', word)) {
    word.Trim();
    if (ApplyAllowWord(tracker, word, value)) continue;
    // Unknown words are told once, in the contents location of an output stage; the
    // other passes see the same line and stay quiet.
    if (ctx == nullptr || ctx->CodeLocation != kLocationContents || !ctx->IsOutputStage())
      continue;
    TextString message(value ? "TAG ERROR: Unknown ALLOW command : \""
                             : "TAG ERROR: Unknown DISALLOW command : \"");
    message.Append(word);
    message.AppendChar('"');
    control.ReportMessage(message.GetText(), 10);
  }
}
