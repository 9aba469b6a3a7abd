// Image decoding with stb_image (see ImageDecoder.h). The only place that defines the decoder.
#include "resources/ImageDecoder.h"

#include <climits>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384   // kMaxImageSide
#include <stb_image.h>

namespace Lomar {

void DecodedImage::release()
{
    if (rgba)
        stbi_image_free(rgba);
    rgba = nullptr;
    width = height = 0;
}

bool decode_image(const unsigned char* bytes, uint32_t size, DecodedImage* out)
{
    out->release();
    if (!bytes || size == 0 || size > static_cast<uint32_t>(INT_MAX))
        return false;
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels))
        return false;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<int64_t>(width) * height > kMaxImagePixels)
        return false;
    unsigned char* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (!pixels)
        return false;
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxImagePixels)
    {
        stbi_image_free(pixels);
        return false;
    }
    out->rgba = pixels;
    out->width = width;
    out->height = height;
    return true;
}

bool premultiply_pixels(const unsigned char* rgba, uint32_t* out, uint32_t count, uint32_t mask)
{
    bool has_alpha = false;
    for (uint32_t i = 0; i < count; ++i, rgba += 4)
    {
        uint32_t r = rgba[0], g = rgba[1], b = rgba[2], a = rgba[3];
        if (a != 255)
        {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            has_alpha = true;
        }
        uint32_t value = (a << 24) | (r << 16) | (g << 8) | b;
        if (mask && value == mask)
        {
            value = 0;
            has_alpha = true;
        }
        out[i] = value;
    }
    return has_alpha;
}

} // namespace Lomar
