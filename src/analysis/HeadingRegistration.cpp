// The registration of the headings the line analysis finds: the heading and contents lists
// of the Context, and the anchors of tables.
#include "analysis/HeadingRegistration.h"

#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "engine/Entities.h"
#include "engine/HeadingList.h"
#include "policy/FileControl.h"
#include "policy/ValueConversions.h"
#include "text/StatementTypes.h"

// Replaces text by its form without backspace-overstruck words when that differs.
static void TidyOverstrikes(FileControl& control, TextString& text) {
  if (!text.ContainsChar('\x08'))
    return;
  PreHTML worker;
  worker.Assign(text);
  TextString tidied;
  int changed = 0;
  worker.TidyUnixWord(control, changed, tidied, 0);
  if (changed != 0)
    text.Assign(tidied);
}

// Where a line stands: its own start position, else the current pass position one column on.
static TextPosition LinePosition(Context& ctx, const PreHTML& line) {
  if (line.GetStartPosition().IsSet())
    return line.GetStartPosition();
  TextPosition position = ctx.pGetTracker()->currentPosition;
  position.SetColumn(position.GetColumn() + 1);
  return position;
}

static bool IsHeadingListType(int type) {
  return IsHeadingType(type) || type == kTypeMailHeader;
}

void RegisterHeading(Context& ctx, FileControl& control, int lineType, const TextString& text1,
                     const TextString& text2, const TextString& text3,
                     const TextPosition& position, const TextString& extra1,
                     const TextString& extra2, const TextString& extra3) {
  TextString line1(text1);
  TextString line2(text2);
  TextString line3(text3);
  TidyOverstrikes(control, line1);
  TidyOverstrikes(control, line3);
  // The heading text is compared as the reader sees it, not in its RTF-escaped form.
  if (ctx.GetOutputType() == kOutputRtf) {
    line2.ReplaceAll("\\'7b", "{", 0, 1);
    line2.ReplaceAll("\\'7d", "}", 0, 1);
    line2.ReplaceAll("\\\\", "\\", 0, 1);
  }
  HeadingList* list = nullptr;
  if (IsHeadingListType(lineType))
    list = &ctx.Headings;
  else if (IsContentsHeadingType(lineType))
    list = &ctx.ContentsLines;
  if (list == nullptr) {
    TextString message("UNSUPPORTED CASE: Unexpected contents line type : ");
    message.AppendNumber('1', lineType, 0);
    control.ReportMessage(message.GetText(), 10);
    return;
  }
  list->AddHeading(ctx, lineType, line1, line2, line3, position, extra1, extra2, extra3);
  const int level = HeadingLevelFromType(lineType);
  if (level <= 0)
    return;
  if (list->lowestLevel < 0 || list->lowestLevel > level)
    list->lowestLevel = level;
  if (list->highestLevel < 0 || list->highestLevel < level)
    list->highestLevel = level;
}

void RegisterHeadingLine(Context& ctx, FileControl& control, PreHTML* line) {
  if (line == nullptr)
    return;
  TextString text(line->GetText());
  // A line that went through its conversion stage holds its escaped text already.
  if (ctx.GetOutputType() == kOutputHtml && !line->IsTextEscaped())
    EncodeEntities(control, ctx, text);
  else if (ctx.GetOutputType() == kOutputRtf && !line->IsTextEscaped())
    EscapeRtfText(control, text);
  const TextString none;
  RegisterHeading(ctx, control, line->GetLineType(), text, text, text, LinePosition(ctx, *line),
                  none, none, none);
}

void AddTableAnchorEntry(Context& ctx, FileControl& control, PreHTML* line,
                         const TextString& text) {
  if (line == nullptr)
    return;
  ctx.AddAnchorEntry(control, text, LinePosition(ctx, *line));
}
