#pragma once

#include <span>
#include <string_view>

// The top-level domains that Context::IsValidDomain (defined in HostNameCheck.cpp) accepts:
// the generic ones and the two-letter country codes, lower case.
std::span<const std::string_view> GenericTopLevelDomains();
std::span<const std::string_view> CountryTopLevelDomains();
