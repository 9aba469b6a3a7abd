// UTF-8 <-> UTF-16 conversion done by hand, so that wchar_t always holds UTF-16 code units
// (the engine's text), also where the host's wchar_t is 32 bits wide.
#pragma once

#include <cstddef>

namespace Lomar {

// Converts `length` bytes of UTF-8 into UTF-16 code units. Invalid sequences become U+FFFD.
// With a null `out` only counts. Otherwise writes at most `capacity` units (no terminator) and
// returns the number written; the result is cut at a code-point boundary.
size_t utf8_to_utf16(const char* text, size_t length, wchar_t* out, size_t capacity);

// Converts a NUL-terminated UTF-16 text to UTF-8 (units above 0xFFFF, possible on hosts with a
// 32-bit wchar_t, are taken as code points). With a null `out` only counts; otherwise writes
// at most `capacity` bytes (no terminator), cut at a code-point boundary.
size_t utf16_to_utf8(const wchar_t* text, char* out, size_t capacity);

} // namespace Lomar
