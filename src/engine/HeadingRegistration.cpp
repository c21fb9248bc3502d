#include "engine/HeadingRegistration.h"

#include "engine/BlockList.h"
#include "engine/Context.h"
#include "engine/HeadingList.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "text/StatementTypes.h"

void ResetHeadingList(HeadingList& list) {
  list.Clear();
  list.levelFirst.fill(-1);
  list.levelSecond.fill(-1);
  list.lowestLevel = -1;
  list.highestLevel = -1;
}

void Context::AddAnchorEntry(FileControl& /*control*/, const TextString& text,
                             const TextPosition& position) {
  const TextString none;
  Anchors.AddHeading(*this, kAnchorEntryKind, text, text, text, position, none, none, none);
}

// A reference written "3.", "3-0", "3.0" or "3-00" names the heading one kind up: the
// length of that trailing form, or 0.
static int TrailingFormLength(const TextString& reference) {
  const int length = reference.GetLength();
  if (reference.EndsWith(".", 1))
    return 1;
  if (length >= 3 && (reference.EndsWith("-0", 1) || reference.EndsWith(".0", 1)))
    return 2;
  return length >= 4 && reference.EndsWith("-00", 1) ? 3 : 0;
}

int Context::FindSectionReference(FileControl& control, int kind, const TextString& reference,
                                  TextString& filePart, TextString& extension) {
  filePart.SetEmpty();
  extension.SetEmpty();
  if (Headings.GetCount() == 0)
    return 0;
  const int trailing = TrailingFormLength(reference);
  const int requiredKind = trailing > 0 ? kind - 1 : kind;
  // Section numbers are kept tidied ("3." as "3"), so the number is also compared without its
  // trailing form.
  TextString number(reference);
  number.Truncate(reference.GetLength() - trailing);
  const bool secondWords = control.GetInt(PolicyId::ExpectSecondWordHeadings) != 0;
  for (int i = 0; i < Headings.GetCount(); ++i) {
    const HeadingEntry& entry = *Headings.GetEntry(i);
    if (entry.kind != requiredKind)
      continue;
    const bool numberMatches =
        reference.Equals(entry.sectionNumber) || (trailing > 0 && number.Equals(entry.sectionNumber));
    if (!numberMatches && !(secondWords && reference.Equals(entry.secondWord)))
      continue;
    filePart.Assign(entry.filePart);
    extension.Assign(control.GetWorkingExtension());
    return 1;
  }
  return 0;
}

void Context::ChangeFont(FileControl& control, const FontSpec& font, int deferred) {
  // In the output stages only the font tags of the text change fonts.
  if (IsOutputStage() && FontTagsExecuted == 0)
    return;
  if (deferred != 0) {
    if (PendingFontChange != 0)
      control.ReportMessage("INFO: Unimplemented font change being discarded", 10);
    PendingFontChange = 1;
    PendingFont = font;
    return;
  }
  PendingFontChange = 0;
  PendingFont.Reset();
  for (BlockList* blocks : {&Blocks, &SecondBlocks}) {
    for (int i = 0; i < blocks->GetCount(); ++i) {
      BlockRecord* block = blocks->GetItem(i);
      block->handOutward = 1;
      block->font = font;
    }
  }
  CurrentFont = font;
  CurrentBold = font.IsBold();
  CurrentItalic = font.IsItalic();
}

const FontSpec* Context::GetActiveFont() const {
  const BlockRecord* innermost = Blocks.pGetInnermost();
  const FontSpec& chosen =
      innermost != nullptr && innermost->font.WasSet() != 0 ? innermost->font : CurrentFont;
  return chosen.WasSet() != 0 ? &chosen : nullptr;
}
