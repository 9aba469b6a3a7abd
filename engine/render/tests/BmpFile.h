// write_bmp: an opaque 24-bit BMP file for tests, pixels from a function (0xRRGGBB).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace Lomar {
namespace test {

// Writes an opaque 24-bit BMP whose pixel colours come from fn(x, y) (0xRRGGBB).
template <typename Fn>
inline void write_bmp(const std::wstring& path, int w, int h, Fn fn)
{
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> data(54 + stride * h, 0);
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) data[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<uint32_t>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    data[26] = 1;
    data[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const uint32_t c = fn(x, y);
            unsigned char* p = &data[54 + (h - 1 - y) * stride + x * 3];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
        }
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(data.data(), 1, data.size(), f);
    fclose(f);
}

} // namespace test
} // namespace Lomar
