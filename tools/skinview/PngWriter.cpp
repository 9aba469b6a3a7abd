#include "PngWriter.h"

#include <zlib.h>

namespace Lomar {

namespace {

void put_u32(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

void put_chunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    put_u32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    put_u32(out, static_cast<uint32_t>(crc));
}

} // namespace

std::vector<unsigned char> encode_png(const unsigned char* rgba, int width, int height)
{
    std::vector<unsigned char> png;
    if (!rgba || width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return png;
    const size_t row = static_cast<size_t>(width) * 4;
    std::vector<unsigned char> raw;
    raw.reserve((row + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        raw.push_back(0);   // filter: none
        raw.insert(raw.end(), rgba + row * static_cast<size_t>(y), rgba + row * static_cast<size_t>(y + 1));
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return png;
    packed.resize(packed_size);

    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.assign(signature, signature + 8);
    std::vector<unsigned char> ihdr;
    put_u32(ihdr, static_cast<uint32_t>(width));
    put_u32(ihdr, static_cast<uint32_t>(height));
    ihdr.push_back(8);   // bit depth
    ihdr.push_back(6);   // colour type: RGBA
    ihdr.push_back(0);   // deflate
    ihdr.push_back(0);   // adaptive filtering
    ihdr.push_back(0);   // no interlace
    put_chunk(png, "IHDR", ihdr);
    put_chunk(png, "IDAT", packed);
    put_chunk(png, "IEND", {});
    return png;
}

} // namespace Lomar
