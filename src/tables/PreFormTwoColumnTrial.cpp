// The two-column trial of the fixed-width analysis.

#include "tables/PreForm.h"

// The trial parse of a two-column region decides whether it reads as two-column text; the
// verdict of the analysis stands as it is.
void PreForm::TryTwoColumnText() {}
