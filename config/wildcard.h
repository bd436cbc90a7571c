#pragma once
#include <string_view>

// File-name wildcard match as folder listings use it: '*' any run of characters, '?' exactly one,
// ASCII letter case ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern);
