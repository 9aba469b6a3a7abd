// Hand-written UTF-8 <-> UTF-16 conversion (see Utf8.h).
#include "zip/Utf8.h"

#include <cstdint>

namespace Lomar {

namespace {

const uint32_t kReplacement = 0xFFFD;

// Decodes one code point at text[*pos]; advances *pos past it (at least one byte).
uint32_t decode_utf8(const unsigned char* text, size_t length, size_t* pos)
{
    size_t i = *pos;
    uint32_t c = text[i];
    *pos = i + 1;
    if (c < 0x80)
        return c;
    int extra;
    uint32_t min;
    if (c >= 0xC2 && c <= 0xDF) { extra = 1; min = 0x80; c &= 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { extra = 2; min = 0x800; c &= 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { extra = 3; min = 0x10000; c &= 0x07; }
    else return kReplacement;
    if (length - (i + 1) < static_cast<size_t>(extra))
        return kReplacement;
    for (int k = 1; k <= extra; ++k)
    {
        uint32_t b = text[i + k];
        if ((b & 0xC0) != 0x80)
            return kReplacement;        // the bad byte starts the next sequence
        c = (c << 6) | (b & 0x3F);
    }
    *pos = i + 1 + extra;
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    return c;
}

} // namespace

size_t utf8_to_utf16(const char* text, size_t length, wchar_t* out, size_t capacity)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t pos = 0, written = 0;
    while (pos < length)
    {
        uint32_t c = decode_utf8(bytes, length, &pos);
        size_t units = c >= 0x10000 ? 2 : 1;
        if (out)
        {
            if (capacity - written < units)
                break;
            if (units == 2)
            {
                c -= 0x10000;
                out[written] = static_cast<wchar_t>(0xD800 + (c >> 10));
                out[written + 1] = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            }
            else
                out[written] = static_cast<wchar_t>(c);
        }
        written += units;
    }
    return written;
}

size_t utf16_to_utf8(const wchar_t* text, char* out, size_t capacity)
{
    size_t written = 0;
    for (size_t i = 0; text[i]; ++i)
    {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF)
        {
            uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF)
            {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
            else
                c = kReplacement;
        }
        else if ((c >= 0xDC00 && c <= 0xDFFF) || c > 0x10FFFF)
            c = kReplacement;
        unsigned char buf[4];
        size_t n;
        if (c < 0x80) { buf[0] = static_cast<unsigned char>(c); n = 1; }
        else if (c < 0x800)
        {
            buf[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
            buf[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            n = 2;
        }
        else if (c < 0x10000)
        {
            buf[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
            buf[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            buf[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            n = 3;
        }
        else
        {
            buf[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
            buf[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            buf[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            buf[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            n = 4;
        }
        if (out)
        {
            if (capacity - written < n)
                break;
            for (size_t k = 0; k < n; ++k)
                out[written + k] = static_cast<char>(buf[k]);
        }
        written += n;
    }
    return written;
}

} // namespace Lomar
