#pragma once

class HeadingList;

// Heading registration, section references and font changes are Context members
// (Context::RegisterHeading, RegisterHeadingLine, AddAnchorEntry, AddTableAnchorEntry,
// FindSectionReference, ChangeFont, GetActiveFont), defined in HeadingRegistration.cpp.

// Empties the list and sets its per-level bookkeeping and both levels to -1.
void ResetHeadingList(HeadingList& list);
