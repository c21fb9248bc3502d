#pragma once

class HeadingList;

// Anchors, section references and font changes are Context members (Context::AddAnchorEntry,
// FindSectionReference, ChangeFont, GetActiveFont), defined in HeadingRegistration.cpp; the
// headings of the lines are registered by analysis/HeadingRegistration.h.

// Empties the list and sets its per-level bookkeeping and both levels to -1.
void ResetHeadingList(HeadingList& list);
