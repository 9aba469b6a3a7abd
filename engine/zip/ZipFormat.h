// Record layouts of the ZIP format that the reader walks, and little-endian field access.
// Offsets are from the start of each record.
#pragma once

#include <cstdint>

namespace Lomar {
namespace zipfmt {

inline uint16_t u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t u32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// End of central directory record.
enum : uint32_t
{
    kEndSignature = 0x06054b50,
    kEndSize = 22,
    kEndMaxComment = 0xFFFF,
    kEndTotalEntries = 10,
    kEndDirectorySize = 12,
    kEndDirectoryOffset = 16,
};

// Central directory file header.
enum : uint32_t
{
    kCentralSignature = 0x02014b50,
    kCentralSize = 46,
    kCentralMadeBy = 4,
    kCentralFlags = 8,
    kCentralMethod = 10,
    kCentralTime = 12,
    kCentralDate = 14,
    kCentralCrc = 16,
    kCentralCompressed = 20,
    kCentralUncompressed = 24,
    kCentralNameLength = 28,
    kCentralExtraLength = 30,
    kCentralCommentLength = 32,
    kCentralExternalAttributes = 38,
    kCentralLocalOffset = 42,
};

// Local file header.
enum : uint32_t
{
    kLocalSignature = 0x04034b50,
    kLocalSize = 30,
    kLocalFlags = 6,
    kLocalMethod = 8,
    kLocalTime = 10,
    kLocalCrc = 14,
    kLocalCompressed = 18,
    kLocalUncompressed = 22,
    kLocalNameLength = 26,
    kLocalExtraLength = 28,
};

// General-purpose flags and methods.
enum : uint32_t
{
    kFlagEncrypted = 0x0001,
    kFlagDataDescriptor = 0x0008,   // CRC and sizes follow the data; the local header has zeros
    kFlagStrongEncryption = 0x0040,
    kMethodStored = 0,
    kMethodDeflated = 8,
};

// Host systems (high byte of "version made by") whose external attributes are DOS attributes.
inline bool host_is_dos_like(unsigned host) { return host == 0 || host == 6 || host == 11 || host == 14; }

// Extended timestamp extra field ("UT").
enum : uint16_t
{
    kExtraTimestamp = 0x5455,
};

} // namespace zipfmt
} // namespace Lomar
