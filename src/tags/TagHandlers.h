#pragma once

#include "tags/TagInterpreter.h"

// The handlers ExecuteTag dispatches to, one per keyword (or pair of keywords). Each takes the
// common arguments and returns kTagHandled when it dealt with the tag or kTagNotHandled when
// the caller's fallback is to deal with it; "output empty, replace" means the tag is removed.

// ---- Simple tags (tags/TagHandlers.cpp) ----
int ExecuteColourTag(TagCall& call);          // COLOR, COLOUR
int ExecuteCloseDelimiterTag(TagCall& call);  // CT
int ExecuteOpenDelimiterTag(TagCall& call);   // OT
int ExecuteLeftToLineTag(TagCall& call);      // DEFINE_VARIABLE, SAVE_CONTEXT, RESTORE_CONTEXT
int ExecuteEntityTag(TagCall& call);
int ExecuteFileNameTag(TagCall& call);        // FILENAME
int ExecuteFontTag(TagCall& call);
int ExecuteFractionTag(TagCall& call);
int ExecuteDebugTag(TagCall& call);
int ExecuteNonBreakingTag(TagCall& call);     // NB
int ExecuteSpacesTag(TagCall& call);
int ExecuteTextTag(TagCall& call);
int ExecuteLineRuleTag(TagCall& call);        // LINERULE
int ExecuteLinkPointTag(TagCall& call);       // LINKPOINT
int ExecuteBreakTag(TagCall& call);           // BR
int ExecutePageTag(TagCall& call);
int ExecutePageMarkerTag(TagCall& call);
int ExecuteNewPageTag(TagCall& call);
int ExecuteSuperscriptTag(TagCall& call);     // SUPER
int ExecuteSubscriptTag(TagCall& call);       // SUB
int ExecuteTimestampTag(TagCall& call);
int ExecuteTocTag(TagCall& call);
int ExecuteRuleSetTag(TagCall& call);         // RULESET
int ExecuteVersionTag(TagCall& call);
int ExecuteValignTag(TagCall& call);          // VALIGN
int ExecuteVerticalAlignmentTag(TagCall& call);

// ---- Tagged headings (tags/HeadingTags.cpp) ----
int ExecuteHeadingTag(TagCall& call);
int ExecuteEndHeadingTag(TagCall& call);

// ---- Links, fonts, styles, contents fields and raw markup (tags/OutputTagHandlers.cpp) ----
int ExecuteHtmlTag(TagCall& call);  // HTML, HTML_COMMENT
int ExecuteImageTag(TagCall& call);
int ExecuteChangeIndentTag(TagCall& call);
int ExecuteContentsListTag(TagCall& call);
int ExecuteSourceFileTag(TagCall& call);
int ExecuteVariableTag(TagCall& call);
int ExecuteGotoTag(TagCall& call);
int ExecutePopupTag(TagCall& call);
int ExecuteHyperlinkTag(TagCall& call);
int ExecuteFontChangeTag(TagCall& call);  // FO
int ExecuteStyleTag(TagCall& call);
