// Turns a stored entry name into a relative path that stays inside the destination and
// that Windows can hold as an ordinary file (no devices, no alternate data streams).
#pragma once

#include <string>

namespace vx7z {

// Returns components joined by '/', or an empty string when nothing usable is left.
std::string CleanEntryName(const std::string& utf8Name);

// The folder part of a cleaned path ("" for a name at the top).
inline std::string ParentOfCleanPath(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace vx7z
