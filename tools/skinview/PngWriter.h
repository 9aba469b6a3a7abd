// write_png: 8-bit RGBA image to PNG bytes (zlib deflate, filter 0 on every row).
#pragma once

#include <cstdint>
#include <vector>

namespace Lomar {

// rgba: width * height * 4 bytes, rows top to bottom. Empty on failure.
std::vector<unsigned char> encode_png(const unsigned char* rgba, int width, int height);

} // namespace Lomar
