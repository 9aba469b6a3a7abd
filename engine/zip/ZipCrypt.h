// Traditional PKWARE decryption: three 32-bit keys driven by CRC-32.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Lomar {

class ZipDecrypter
{
public:
    enum { kHeaderSize = 12 };   // encryption header in front of an entry's data

    // Resets the keys and feeds them the password bytes (null = empty password).
    void init(const char* password);
    // Decrypts in place.
    void decrypt(unsigned char* data, size_t length);

private:
    void update(unsigned char plain);

    uint32_t m_keys[3] = {0, 0, 0};
};

} // namespace Lomar
