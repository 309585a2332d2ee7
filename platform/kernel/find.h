// Wildcard matching of Windows file names, shared by the directory search and
// its tests.
#pragma once

#include <string_view>

namespace platform {

// Matches name against a pattern of '*' (any run of characters) and '?' (any
// one character) ignoring Windows-1252 case. As on Windows, a name without a
// dot also matches as if it ended with one, so "*.*" matches every name and
// "*." the names without an extension.
bool MatchWildcard(std::string_view pattern, std::string_view name);

}  // namespace platform
