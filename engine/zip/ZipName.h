// Entry-name rules of the ZIP reader: cleaning stored names so that they cannot climb out of
// a destination folder, and the ASCII-only case folding used by lookups.
#pragma once

#include <cstddef>

namespace Lomar {

// Cleans a NUL-terminated name in place, repeating until no rule applies: a drive prefix
// ("C:"), a leading slash or backslash, a leading "../" or "..\", and everything up to and
// including the first inner "\..\", "\../", "/../" or "/..\" are dropped.
void clean_zip_name(wchar_t* name);

// Compares two byte strings of equal length; with ignore_case only a-z and A-Z are folded.
bool zip_names_equal(const char* a, const char* b, size_t length, bool ignore_case);

} // namespace Lomar
