// Turns a stored entry name into a relative path that stays inside the destination and
// that Windows can hold as an ordinary file (no devices, no alternate data streams).
#pragma once

#include <string>

namespace vx7z {

// Returns components joined by '/', or an empty string when nothing usable is left.
std::string CleanEntryName(const std::string& utf8Name);

}  // namespace vx7z
