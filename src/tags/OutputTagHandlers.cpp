// The handlers of the tags that make links, font changes, styles, contents fields and
// raw-markup replacements. Each one leaves its tag to the caller's fallback (kTagNotHandled),
// which keeps or removes the tag as it does for any tag it meets.
#include "tags/TagHandlers.h"

int ExecuteHtmlTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteImageTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteChangeIndentTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteContentsListTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteSourceFileTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteVariableTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteGotoTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecutePopupTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteHyperlinkTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteFontChangeTag(TagCall& /*call*/) { return kTagNotHandled; }

int ExecuteStyleTag(TagCall& /*call*/) { return kTagNotHandled; }
