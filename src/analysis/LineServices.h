#pragma once

#include "text/RtfEscapes.h"
#include "text/TextString.h"

class FileControl;

// Services of the line analysis that the text, policy and driver code call.

// ---- Text helpers ----
// EscapeRtfText of text/RtfEscapes.h, for callers that hold a policy set.
void EscapeRtfText(FileControl& fc, TextString& text);
