#include "tags/HeadingAnchors.h"

#include <cstdlib>

#include "analysis/HeadingRegistration.h"
#include "engine/HeadingLinks.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "policy/FileControl.h"
#include "tags/TagTextFilters.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

static constexpr int kLongestAnchorText = 60;
// A heading met again within this many lines of its registered place is the same heading.
static constexpr int kSameHeadingLines = 6;

// text without its "<" ... ">" tags, blank runs made one.
static void TidyHeadingText(FileControl& fc, Context& ctx, const TextString& text, bool strip,
                            TextString& out) {
  if (strip)
    FilterDelimitedTags(fc, ctx, "<", ">", nullptr, nullptr, text, out);
  else
    out.Assign(text);
  out.CollapseBlanks();
}

int AddHeadingAnchor(FileControl& fc, Context& ctx, int headingType, const TextPosition& position,
                     const TextString& anchorText, const TextString& numberText,
                     const TextString& headingText, const TextString& extra1,
                     const TextString& extra2, const TextString& extra3, int stripTags) {
  TextString anchor;
  TextString number;
  TextString heading;
  TidyHeadingText(fc, ctx, anchorText, true, anchor);
  TidyHeadingText(fc, ctx, numberText, stripTags != 0, number);
  TidyHeadingText(fc, ctx, headingText, stripTags != 0, heading);

  TextPosition at = position;
  if (!at.IsSet()) {
    at = ctx.pGetTracker()->currentPosition;
    at.SetColumn(at.GetColumn() + 1);
  }
  if (anchor.GetLength() > kLongestAnchorText) {
    TextString linkName;
    GetHeadingLinkName(anchor, headingType, fc, ctx, 0, linkName);
    anchor.Assign(linkName);
  }

  int index = -1;
  int count = 0;
  const HeadingEntry* match = ctx.Headings.FindBestMatch(ctx, number, anchor, 1, at, index, count);
  if (match != nullptr && at.GetLine() == 0 && match->position.GetLine() == 0 &&
      std::abs(at.GetColumn() - match->position.GetColumn()) < kSameHeadingLines)
    return 0;

  ctx.AddAnchorEntry(fc, anchor, at);
  RegisterHeading(ctx, fc, headingType, heading, number, anchor, at, extra1, extra2, extra3);
  if (number.EqualsText(anchor, 1, 0)) return 1;
  TextString numberLink;
  GetHeadingLinkName(number, headingType, fc, ctx, 1, numberLink);
  if (!numberLink.IsEmpty()) ctx.AddAnchorEntry(fc, numberLink, at);
  return 1;
}
