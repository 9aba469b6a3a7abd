// CResourceBytes: an owned block of bytes read from a resource source (a file, an archive
// entry or a module resource).
#pragma once

#include <cstdint>

namespace Lomar {

class CResourceBytes
{
public:
    CResourceBytes() = default;
    ~CResourceBytes() { reset(); }
    CResourceBytes(const CResourceBytes&) = delete;
    CResourceBytes& operator=(const CResourceBytes&) = delete;

    // Replaces the content by `size` uninitialised bytes; false when out of memory.
    bool allocate(uint32_t size);
    // Shortens the content (never grows it).
    void truncate(uint32_t size);
    void reset();

    unsigned char* data() { return m_data; }
    const unsigned char* data() const { return m_data; }
    uint32_t size() const { return m_size; }

private:
    unsigned char* m_data = nullptr;   // malloc'ed, at least one byte when allocated
    uint32_t m_size = 0;
};

} // namespace Lomar
