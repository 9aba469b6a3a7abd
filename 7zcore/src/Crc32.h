// CRC-32 (IEEE 802.3, reflected, as 7z stores it), table-driven with slicing by eight.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx7z {

// Continues a CRC: start with 0, feed pieces, the result is the CRC of their concatenation.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

inline uint32_t Crc32(const void* data, size_t size) { return Crc32Update(0, data, size); }

}  // namespace vx7z
