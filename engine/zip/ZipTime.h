// Time conversions of the ZIP reader: DOS local date/time and Unix seconds to file times.
#pragma once

#include <cstdint>

namespace Lomar {

// File time (100 ns units since 1601-01-01 UTC) of a DOS date and time in local time.
uint64_t dos_time_to_file_time(uint16_t dos_date, uint16_t dos_time);

// File time of a Unix time stamp (seconds since 1970-01-01 UTC).
uint64_t unix_time_to_file_time(int64_t seconds);

} // namespace Lomar
