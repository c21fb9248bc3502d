#include "analysis/LineServices.h"

void EscapeRtfText(FileControl& /*fc*/, TextString& text) { EscapeRtfText(text); }
