#include "analysis/LineContext.h"

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"

// Lists opened and not yet closed in the pass at work; 0 without a Context.
static int OpenListCount(const FileControl& fc) {
  Context* ctx = fc.pGetContext();
  return ctx == nullptr ? 0 : ctx->GetPassTracker(ctx->CodeLocation).openListCount;
}

// The tracker is asked only for the end of a list: records are filled several times a line.
static bool IsListLineType(int type, const FileControl& fc) {
  return type == kTagBeginList || type == kTagListItem ||
         (type == kTagEndList && OpenListCount(fc) > 0);
}

void FillLineContext(FileControl& fc, LineContext& record, PreHTML* line) {
  if (line == nullptr) {
    record = LineContext::Blank();
    return;
  }
  const int type = line->GetLineType();
  const TextString& tidy = line->GetTidy();
  const char* tidyText = tidy.GetText();
  int lastColumn = tidy.GetLength();
  while (lastColumn > 0 && (tidyText[lastColumn - 1] == ' ' || tidyText[lastColumn - 1] == '\t'))
    --lastColumn;

  record.line = line;
  record.type = type;
  record.indent = line->GetIndent();
  record.length = line->GetLineLength();
  record.lastNonBlankColumn = lastColumn;
  record.tidyLength = tidy.GetLength();
  record.centred = line->HasFlag(kFlagCentred);
  record.rollOut = line->HasFlag(kFlagRollOut);
  record.inUserRegion = line->HasFlag(kFlagUserRegion);
  record.isHeading = IsHeadingType(type);
  record.isBullet = IsBulletTextType(type);
  record.isBulletBlankLine = IsBulletBlankType(type);
  record.isListLine = IsListLineType(type, fc);
  record.shortLine = line->HasFlag(kFlagShortLine);
  record.mailHeader = line->HasFlag(kFlagMailHeader);
  record.changeBar = line->HasFlag(kFlagChangeBar);
  record.specialFormat = line->GetSpecialFormat();
}
