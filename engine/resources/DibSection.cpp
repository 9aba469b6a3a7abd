#include "resources/DibSection.h"

namespace Lomar {

HBITMAP create_dib32(HDC dc, int width, int height, bool rows_top_down, uint32_t** bits)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = rows_top_down ? -height : height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = bitmap ? static_cast<uint32_t*>(p) : nullptr;
    return bitmap;
}

}  // namespace Lomar
