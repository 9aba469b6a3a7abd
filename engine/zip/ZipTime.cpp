// Time conversions (see ZipTime.h). Standard C only: the local-time rule is the C library's.
#include "zip/ZipTime.h"

#include <ctime>

namespace Lomar {

namespace {

const int64_t kSecondsFrom1601To1970 = 11644473600LL;

} // namespace

uint64_t unix_time_to_file_time(int64_t seconds)
{
    int64_t since1601 = seconds + kSecondsFrom1601To1970;
    if (since1601 < 0)
        since1601 = 0;
    return static_cast<uint64_t>(since1601) * 10000000ULL;
}

uint64_t dos_time_to_file_time(uint16_t dos_date, uint16_t dos_time)
{
    std::tm t = {};
    t.tm_year = 80 + (dos_date >> 9);
    t.tm_mon = ((dos_date >> 5) & 0x0F) - 1;
    t.tm_mday = dos_date & 0x1F;
    t.tm_hour = dos_time >> 11;
    t.tm_min = (dos_time >> 5) & 0x3F;
    t.tm_sec = 2 * (dos_time & 0x1F);
    t.tm_isdst = -1;
    std::time_t seconds = std::mktime(&t);   // normalises out-of-range fields
    if (seconds == static_cast<std::time_t>(-1))
        return 0;
    return unix_time_to_file_time(static_cast<int64_t>(seconds));
}

} // namespace Lomar
