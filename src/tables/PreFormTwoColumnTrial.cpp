// The two-column trial of the fixed-width analysis.

#include "tables/PreForm.h"

// A two-column region reads as two-column text only when no row gathers more than one line
// in its first column; the trial parse clears the flag otherwise.
void PreForm::TryTwoColumnText() { ParseTable(kParseTrial); }
