#include "policy/PolicyContext.h"

PolicyContext::~PolicyContext() = default;
