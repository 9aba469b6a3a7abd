// Decoding of skin images (PNG, JPEG, BMP, GIF, ...) to premultiplied 32-bit pixels, portable.
// The Windows image loader puts the result into a DIB section.
#pragma once

#include <cstdint>

namespace Lomar {

enum : int
{
    kMaxImageSide = 16384,               // pixels per side
    kMaxImagePixels = 16 * 1024 * 1024,  // width x height: 64 MiB of pixels at most
};

// Converts `count` 8-bit R, G, B, A pixels to 32-bit values 0xAARRGGBB with premultiplied
// colour (B, G, R, A in memory on little-endian hosts). Opaque pixels whose value equals
// a non-zero `mask` become 0. Returns true when any pixel is not opaque or was masked.
bool premultiply_pixels(const unsigned char* rgba, uint32_t* out, uint32_t count, uint32_t mask);

struct DecodedImage
{
    int width = 0;
    int height = 0;
    unsigned char* rgba = nullptr;   // width x height x 4 bytes, owned; free with release()

    DecodedImage() = default;
    ~DecodedImage() { release(); }
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;
    void release();
};

// Decodes to 8-bit RGBA. Fails for undecodable bytes and for images over the size limits,
// which are checked from the header before any pixel memory is allocated.
bool decode_image(const unsigned char* bytes, uint32_t size, DecodedImage* out);

} // namespace Lomar
