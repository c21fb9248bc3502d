#include "analysis/ParagraphStyles.h"

#include <iterator>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StyleSheet.h"
#include "text/StatementTypes.h"

// The style index of each paragraph kind 0-9; any other kind is Body.
static constexpr int kStyleOfKind[] = {
    -1,                          // none
    StyleSheet::kBody,           // body
    StyleSheet::kAllHeadings,    // heading text
    StyleSheet::kBullet,         // bullet
    StyleSheet::kQuotes,         // quotes
    StyleSheet::kDefinition,     // definition
    StyleSheet::kHangingList,    // hanging list
    StyleSheet::kPreformatted,   // pre-formatted
    StyleSheet::kTable,          // table
    StyleSheet::kShortLine,      // short line
};

// The level 1-6 of a numbered, underlined or key-phrase heading line type, else 0.
static int HeadingLevelOfType(int type) {
  if (IsLevelHeadingType(type)) return type - kTypeHeading1 + 1;
  if (IsUnderlinedHeadingType(type)) return type - kTypeUnderlinedHeading1 + 1;
  if (IsKeyPhraseHeadingType(type)) return type - kTypeKeyPhraseHeading1 + 1;
  return 0;
}

// The heading level of the line the current pass works on, else 0. Outside a pass there is
// no such line (and asking the Context for its tracker then would be a program error).
static int CurrentHeadingLevel(Context& ctx) {
  if (ctx.CodeLocation < kLocationAnalysis || ctx.CodeLocation > kLocationOutput) return 0;
  const PreHTML* line = static_cast<const PreHTML*>(ctx.GetPassTracker(ctx.CodeLocation).currentLine);
  return line != nullptr ? HeadingLevelOfType(line->GetLineType()) : 0;
}

int GetParagraphStyleCode(FileControl& fc, int kind) {
  const bool listed = kind >= 0 && kind < static_cast<int>(std::size(kStyleOfKind));
  const int index = listed ? kStyleOfKind[kind] : StyleSheet::kBody;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return index;
  const int level = CurrentHeadingLevel(*ctx);
  return level > 0 ? StyleSheet::kHeading1 + level - 1 : index;
}
