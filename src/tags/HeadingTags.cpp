// HEADING and END_HEADING: a heading written as tags. HEADING opens it with its level and
// text; the lines up to END_HEADING add their text to it, and at END_HEADING the line becomes
// a heading of that level that shows the collected text.
#include "tags/TagHandlers.h"

#include "tags/HeadingAnchors.h"
#include "analysis/LineServices.h"
#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "analysis/TagServices.h"
#include "tags/TagTextFilters.h"
#include "text/StatementTypes.h"

// Levels a tagged heading may have: 0 (no heading markup) to 6.
static constexpr int kMaxTaggedLevel = 6;
static constexpr int kDefaultTaggedLevel = 2;

// Takes the text in front of the tag's first occurrence out of text and returns it in
// before (empty when the tag is not found or starts the text).
static void TakeTextBeforeTag(TextString& text, const TextString& tagText, TextString& before) {
  before.SetEmpty();
  int at = -1;
  if (tagText.IsEmpty() || !text.Find(0, tagText.GetText(), &at, 1, 0) || at <= 0)
    return;
  before.AssignSubstring(text.GetText(), 0, at);
  text.KeepFrom(at);
}

// Appends part to text after a blank; an empty text takes part as it is.
static void AppendAfterBlank(TextString& text, const TextString& part) {
  if (part.IsEmpty())
    return;
  if (!text.IsEmpty())
    text.AppendChar(' ');
  text.Append(part);
  text.Trim();
}

int ExecuteHeadingTag(TagCall& call) {
  FileControl& fc = call.fc;
  Context& ctx = call.ctx;
  if (call.line != nullptr) {
    TextString dropped;
    TakeTextBeforeTag(*call.line, call.tagText, dropped);
  }
  ctx.EndTagWritten = 0;
  if (ctx.PendingFontChange != 0) {
    fc.ReportMessage("INFO: Discarding pending font change at HEADING tag", 8);
    ctx.PendingFontChange = 0;
    ctx.PendingFont.Reset();
  }
  Tracker& tracker = ctx.GetPassTracker(ctx.CodeLocation);
  if (tracker.openListCount > 0) {
    ReportTagMessage(fc, call.line, "TAG ERROR: Missing END_LIST detected at HEADING tag", 10);
    tracker.openListCount = 0;
  }
  FileControl::TaggedHeading& heading = fc.GetTaggedHeading();
  if (heading.open != 0)
    ReportTagMessage(fc, call.line, "TAG ERROR: Missing END_HEADING detected at HEADING tag", 10);
  heading = FileControl::TaggedHeading();
  heading.open = 1;
  heading.start = tracker.currentPosition;
  heading.start.SetColumn(heading.start.GetColumn() + 1);

  int level = kDefaultTaggedLevel;
  // A level without a heading type of its own is refused like one that does not read.
  if (!ReadTagNumber(call.arguments, 1, level, &level) || level < 0 || level > kMaxTaggedLevel) {
    ReportTagParseError(fc, call.line, call.keyword, call.arguments, 1);
    level = kDefaultTaggedLevel;
  }
  heading.level = level;
  (void)ReadTagText(call.arguments, 2, heading.text, "");
  (void)ReadTagText(call.arguments, 3, heading.secondText, "");
  call.output.SetEmpty();
  call.replace = 1;
  return kTagHandled;
}

int ExecuteEndHeadingTag(TagCall& call) {
  FileControl& fc = call.fc;
  Context& ctx = call.ctx;
  FileControl::TaggedHeading& heading = fc.GetTaggedHeading();
  call.output.SetEmpty();
  call.replace = 1;
  if (heading.open == 0) {
    ReportTagMessage(fc, call.line, "TAG ERROR: END_HEADER tag seen with no matching HEADING tag",
                     10);
    return kTagHandled;
  }
  TextString before;
  if (call.line != nullptr) {
    TakeTextBeforeTag(*call.line, call.tagText, before);
    AppendAfterBlank(heading.text, before);
    if (ctx.ContentsPass != 0 && heading.level != 0) {
      TakeTextBeforeTag(call.line->GetTidy(), call.tagText, before);
      AppendAfterBlank(heading.collected, before);
    }
  }
  // The contents pass registers the heading, as it does the headings the analysis found, so
  // that the output finds its entry (bookmark, link name, contents list) by its text.
  if (ctx.ContentsPass != 0 && heading.level != 0) {
    TextString display;
    CleanHeadingTags(fc, ctx, 0, heading.collected, display);
    const TextString& anchor = heading.secondText.IsEmpty() ? heading.text : heading.secondText;
    const TextString none;
    (void)AddHeadingAnchor(fc, ctx, kTypeUnderlinedHeading1 + heading.level - 1, heading.start,
                           anchor, anchor, display.IsEmpty() ? anchor : display, none, none,
                           none, 1);
  }
  if (ctx.OutputPass != 0) {
    // The heading's text comes from lines whose text the output has escaped already.
    TextString display(heading.text);
    EscapeRtfBraces(display);
    if (call.line != nullptr && heading.level > 0)
      call.line->SetLineType(kTypeHeading1 + heading.level - 1);
    if (heading.alignment < 1 || heading.alignment > 4)
      ReportTagMessage(fc, call.line, "UNSUPPORTED CASE: Align code", 10);
    call.output = display;
  }
  heading = FileControl::TaggedHeading();
  return kTagHandled;
}
