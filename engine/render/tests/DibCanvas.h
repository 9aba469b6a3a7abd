// DibCanvas: a 32-bit top-down DIB section selected into a memory DC, for pixel assertions.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Lomar {
namespace test {

class DibCanvas
{
public:
    DibCanvas(int width, int height, uint32_t fill = 0);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    uint32_t at(int x, int y) const;          // 0xAARRGGBB
    void set(int x, int y, uint32_t argb);
    void fill(uint32_t argb);
    uint32_t* bits() const { return m_bits; }
    // Releases the DC so the bitmap can be selected elsewhere (as a source image).
    HBITMAP detach_for_source();

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

// Count of pixels in row y (or column x) that equal the colour.
int count_in_row(const DibCanvas& c, int y, uint32_t argb);
int count_in_column(const DibCanvas& c, int x, uint32_t argb);

} // namespace test
} // namespace Lomar
