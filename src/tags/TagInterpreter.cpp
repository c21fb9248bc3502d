#include "tags/TagInterpreter.h"

#include <string_view>

#include "policy/FileControl.h"
#include "tags/TagHandlers.h"

// Keyword names compared ignoring case.
static bool EqualsNoCase(std::string_view a, const TextString& b) {
  if (static_cast<int>(a.size()) != b.GetLength())
    return false;
  return CompareChars(a.data(), b.GetText(), b.GetLength(), 1) == 0;
}

// ---- Dispatch ----

namespace {
struct TagRow {
  std::string_view keyword;
  int (*handler)(TagCall& call);
};
}  // namespace

// Searched in this order; the first keyword equal to the tag's (case ignored) runs.
static constexpr TagRow kTagRows[] = {
    {"END_HEADING", ExecuteEndHeadingTag},
    {"CHANGE_INDENT", ExecuteChangeIndentTag},
    {"COLOR", ExecuteColourTag},
    {"COLOUR", ExecuteColourTag},
    {"CT", ExecuteCloseDelimiterTag},
    {"DEFINE_VARIABLE", ExecuteLeftToLineTag},
    {"ENTITY", ExecuteEntityTag},
    {"FILENAME", ExecuteFileNameTag},
    {"FO", ExecuteFontChangeTag},
    {"FONT", ExecuteFontTag},
    {"FRACTION", ExecuteFractionTag},
    {"DEBUG", ExecuteDebugTag},
    {"HTML", ExecuteHtmlTag},
    {"HTML_COMMENT", ExecuteHtmlTag},
    {"GOTO", ExecuteGotoTag},
    {"HYPERLINK", ExecuteHyperlinkTag},
    {"NB", ExecuteNonBreakingTag},
    {"OT", ExecuteOpenDelimiterTag},
    {"POPUP", ExecutePopupTag},
    {"RESTORE_CONTEXT", ExecuteLeftToLineTag},
    {"SAVE_CONTEXT", ExecuteLeftToLineTag},
    {"SPACES", ExecuteSpacesTag},
    {"SOURCE_FILE", ExecuteSourceFileTag},
    {"STYLE", ExecuteStyleTag},
    {"TEXT", ExecuteTextTag},
    {"VARIABLE", ExecuteVariableTag},
    {"IMAGE", ExecuteImageTag},
    {"LINERULE", ExecuteLineRuleTag},
    {"LINKPOINT", ExecuteLinkPointTag},
    {"BR", ExecuteBreakTag},
    {"PAGE", ExecutePageTag},
    {"PAGE_MARKER", ExecutePageMarkerTag},
    {"NEW_PAGE", ExecuteNewPageTag},
    {"SUPER", ExecuteSuperscriptTag},
    {"SUB", ExecuteSubscriptTag},
    {"TIMESTAMP", ExecuteTimestampTag},
    {"TOC", ExecuteTocTag},
    {"RULESET", ExecuteRuleSetTag},
    {"VERSION", ExecuteVersionTag},
    {"CONTENTS_LIST", ExecuteContentsListTag},
    {"HEADING", ExecuteHeadingTag},
    {"VALIGN", ExecuteValignTag},
    {"VERTICAL_ALIGNMENT", ExecuteVerticalAlignmentTag},
};

int ExecuteTag(int mode, PreHTML* line, const TextString& tagText, const TextString& keyword,
               const TextString& arguments, TagOutput* outputFile, FileControl& fc, Context& ctx,
               int& replace, TextString& output) {
  for (const TagRow& row : kTagRows) {
    if (!EqualsNoCase(row.keyword, keyword))
      continue;
    TagCall call{mode, line, tagText, keyword, arguments, outputFile, fc, ctx, replace, output};
    return row.handler(call);
  }
  return kTagNotHandled;
}
