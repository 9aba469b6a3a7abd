// Traditional PKWARE decryption (see ZipCrypt.h).
#include "zip/ZipCrypt.h"

#include <zlib.h>

namespace Lomar {

namespace {

// One step of CRC-32 on a single byte, as the key schedule defines it.
uint32_t crc32_byte(uint32_t crc, unsigned char b)
{
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

} // namespace

void ZipDecrypter::init(const char* password)
{
    m_keys[0] = 0x12345678;
    m_keys[1] = 0x23456789;
    m_keys[2] = 0x34567890;
    if (password)
        for (const char* p = password; *p; ++p)
            update(static_cast<unsigned char>(*p));
}

void ZipDecrypter::update(unsigned char plain)
{
    m_keys[0] = crc32_byte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = crc32_byte(m_keys[2], static_cast<unsigned char>(m_keys[1] >> 24));
}

void ZipDecrypter::decrypt(unsigned char* data, size_t length)
{
    for (size_t i = 0; i < length; ++i)
    {
        uint32_t temp = (m_keys[2] & 0xFFFF) | 2;
        unsigned char plain = static_cast<unsigned char>(data[i] ^ ((temp * (temp ^ 1)) >> 8));
        update(plain);
        data[i] = plain;
    }
}

} // namespace Lomar
