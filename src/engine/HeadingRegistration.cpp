#include "engine/HeadingRegistration.h"

#include "analysis/LineServices.h"
#include "policy/ValueConversions.h"
#include "analysis/PreHTML.h"
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

void Context::RegisterHeading(FileControl& control, int lineType, const TextString& text1,
                              const TextString& text2, const TextString& text3,
                              const TextPosition& position, const TextString& extra1,
                              const TextString& extra2, const TextString& extra3) {
  TextString line1(text1);
  TextString line2(text2);
  TextString line3(text3);
  TidyOverstrikes(control, line1);
  TidyOverstrikes(control, line3);
  // The heading text is compared as the reader sees it, not in its RTF-escaped form.
  if (GetOutputType() == kOutputRtf) {
    line2.ReplaceAll("\\'7b", "{", 0, 1);
    line2.ReplaceAll("\\'7d", "}", 0, 1);
    line2.ReplaceAll("\\\\", "\\", 0, 1);
  }
  HeadingList* list = nullptr;
  if (IsHeadingListType(lineType))
    list = &Headings;
  else if (IsContentsHeadingType(lineType))
    list = &ContentsLines;
  if (list == nullptr) {
    TextString message("UNSUPPORTED CASE: Unexpected contents line type : ");
    message.AppendNumber('1', lineType, 0);
    control.ReportMessage(message.GetText(), 10);
    return;
  }
  list->AddHeading(*this, lineType, line1, line2, line3, position, extra1, extra2, extra3);
  const int level = HeadingLevelFromType(lineType);
  if (level <= 0)
    return;
  if (list->lowestLevel < 0 || list->lowestLevel > level)
    list->lowestLevel = level;
  if (list->highestLevel < 0 || list->highestLevel < level)
    list->highestLevel = level;
}

void Context::RegisterHeadingLine(FileControl& control, PreHTML* line) {
  if (line == nullptr)
    return;
  TextString text(line->GetText());
  // A line that went through its conversion stage holds its escaped text already.
  if (GetOutputType() == kOutputHtml && !line->IsTextEscaped())
    EncodeEntities(control, *this, text);
  else if (GetOutputType() == kOutputRtf && !line->IsTextEscaped())
    EscapeRtfText(control, text);
  const TextString none;
  RegisterHeading(control, line->GetLineType(), text, text, text, LinePosition(*this, *line),
                  none, none, none);
}

void Context::AddAnchorEntry(FileControl& /*control*/, const TextString& text,
                             const TextPosition& position) {
  const TextString none;
  Anchors.AddHeading(*this, kAnchorEntryKind, text, text, text, position, none, none, none);
}

void Context::AddTableAnchorEntry(FileControl& control, PreHTML* line, const TextString& text) {
  if (line == nullptr)
    return;
  AddAnchorEntry(control, text, LinePosition(*this, *line));
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
