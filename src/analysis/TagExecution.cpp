// The output conversions of a piece of text held in a line object.

#include "analysis/PreHTML.h"

#include "analysis/Emphasis.h"
#include "analysis/EmphasisMarks.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"

// ---- Fragment conversion ----

// Puts a pending emphasis mark of the reference line back into text: the mark's first
// occurrence from its column (from the start when the column lies beyond the text) becomes
// its markup.
static void RestoreEmphasisMark(const PreHTML& reference, int mark, int column, int markText,
                                int markupText, TextString& text) {
  if (reference.GetOutputMark(mark) != 1)
    return;
  const TextString* written = reference.pGetOwnedText(markText);
  const TextString* markup = reference.pGetOwnedText(markupText);
  if (written == nullptr || markup == nullptr || written->IsEmpty())
    return;
  int from = reference.GetOutputMark(column);
  if (from < 0 || from >= text.GetLength())
    from = 0;
  (void)text.ReplaceFrom(from, written->GetText(), markup->GetText(), 1, 1, nullptr, nullptr, 0);
}

void PreHTML::ConvertFragment(FileControl& fc, Context& ctx, PreHTML* referenceLine,
                              bool wordConversions, bool references, bool emphasis,
                              bool restoreEmphasis, bool linkDictionary, bool trim) {
  const int outputType = ctx.GetOutputType();
  if (ctx.LineStage != kLineStageOutput || ctx.OutputPass == 0 || outputType == kOutputPlainText)
    return;
  const int ruleSet = fc.GetRuleSet();
  // Rule-set documents and tagged lines carry their own markup.
  if (ruleSet == 1 || ruleSet == 2 || taggedType_ != kTagNone) {
    references = false;
    emphasis = false;
    restoreEmphasis = false;
    linkDictionary = false;
  }
  if (ruleSet == 2)
    wordConversions = false;
  if (referenceLine != nullptr)
    SetFlag(kFlagPreserveStructure, referenceLine->HasFlag(kFlagPreserveStructure));
  if (wordConversions) {
    const int skipAngleText = outputType == kOutputHtml ? 1 : 0;
    DoOutputWordConversions(fc, ctx, 1, skipAngleText);
    DoOutputWordConversions(fc, ctx, 0, skipAngleText);
    if (referenceLine != nullptr)
      referenceLine->SetFlag(kFlagPreserveStructure, HasFlag(kFlagPreserveStructure));
  }
  if (references)
    (void)ConvertReferences(fc, ctx);
  if (emphasis && !IsEmpty() && (ContainsChar('_') || ContainsChar('*')))
    TidyEmphasisLine(fc, ctx, *this, referenceLine);
  if (restoreEmphasis && referenceLine != nullptr) {
    RestoreEmphasisMark(*referenceLine, kEmphasisStartMark, kEmphasisStartColumn,
                        kEmphasisStartText, kEmphasisOpeningText, *this);
    RestoreEmphasisMark(*referenceLine, kEmphasisEndMark, kEmphasisEndColumn, kEmphasisEndText,
                        kEmphasisClosingText, *this);
  }
  if (linkDictionary)
    ApplyLinkDictionary(fc, ctx);
  if (trim)
    Trim();
  // A field that closes the text is kept apart from what the writer puts after it.
  if (outputType == kOutputRtf && length_ > 3 && EndsWith("}}}", 1))
    AppendChar(' ');
}

// ---- Link dictionary ----

// Links the text between each '>' and the next '<' of rest into out, except the text of an
// anchor (followed by "</A>"); true when anything was linked.
static bool LinkBetweenTags(FileControl& fc, const TextString& rest, TextString& out) {
  out.SetEmpty();
  bool changed = false;
  TextString piece;
  TextString linked;
  int at = 0;
  const int length = rest.GetLength();
  while (at < length) {
    int open = -1;
    if (!rest.FindChar(at, '>', &open, 1)) {
      out.AppendBytes(rest.GetText() + at, length - at);
      break;
    }
    int close = -1;
    if (!rest.FindChar(open + 1, '<', &close, 1)) {
      out.AppendBytes(rest.GetText() + at, length - at);
      break;
    }
    out.AppendBytes(rest.GetText() + at, open + 1 - at);
    (void)piece.AssignSubstring(rest.GetText(), open + 1, close - open - 1);
    const bool anchorText = CompareChars(rest.GetText() + close, "</A>", 4, 1) == 0;
    if (!piece.IsEmpty() && !anchorText && fc.ApplyLinkDictionary(piece, linked) == 1 &&
        !linked.EqualsText(piece, 1, 0)) {
      out.Append(linked);
      changed = true;
    } else {
      out.Append(piece);
    }
    at = close;
  }
  return changed;
}

void PreHTML::ApplyLinkDictionary(FileControl& fc, Context& ctx) {
  if (ctx.LineStage != kLineStageOutput || fc.GetLinkCount() == 0)
    return;
  const bool html = ctx.GetOutputType() == kOutputHtml;
  int headEnd = length_;
  if (html)
    (void)FindChar(0, '<', &headEnd, 1);
  if (headEnd < 0)
    headEnd = length_;
  TextString& head = tagWork_;
  (void)head.AssignSubstring(GetText(), 0, headEnd);
  TextString& rest = tagRest_;
  (void)rest.AssignSubstring(GetText(), headEnd, -1);
  bool changed = false;
  if (!head.IsEmpty() && fc.ApplyLinkDictionary(head, linkWork_) == 1 &&
      !linkWork_.EqualsText(head, 1, 0)) {
    head.Assign(linkWork_);
    changed = true;
  }
  if (html && !rest.IsEmpty()) {
    // A closing '<' lets the text after the last tag be linked too; it is taken off again.
    const bool dummy = !rest.EndsWith("<", 1);
    if (dummy)
      rest.Append("<DUMMY>");
    if (LinkBetweenTags(fc, rest, linkWork_)) {
      rest.Assign(linkWork_);
      changed = true;
    }
    if (dummy)
      rest.Truncate(rest.GetLength() - 7);
  }
  if (!changed)
    return;
  Assign(head);
  Append(rest);
  SetFlag(kFlagUrl, true);
}
