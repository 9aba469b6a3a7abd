#include "DibCanvas.h"

#include "resources/DibSection.h"

namespace Lomar {
namespace test {

DibCanvas::DibCanvas(int width, int height, uint32_t fill_color) : m_width(width), m_height(height)
{
    m_bitmap = create_dib32(nullptr, width, height, true, &m_bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
    fill(fill_color);
}

DibCanvas::~DibCanvas()
{
    if (m_dc)
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    if (m_bitmap) DeleteObject(m_bitmap);
}

uint32_t DibCanvas::at(int x, int y) const
{
    GdiFlush();
    return m_bits[y * m_width + x];
}

void DibCanvas::set(int x, int y, uint32_t argb) { m_bits[y * m_width + x] = argb; }

void DibCanvas::fill(uint32_t argb)
{
    GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = argb;
}

HBITMAP DibCanvas::detach_for_source()
{
    if (m_dc)
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        m_dc = nullptr;
    }
    return m_bitmap;
}

int count_in_row(const DibCanvas& c, int y, uint32_t argb)
{
    int n = 0;
    for (int x = 0; x < c.width(); ++x) n += c.at(x, y) == argb;
    return n;
}

int count_in_column(const DibCanvas& c, int x, uint32_t argb)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y) n += c.at(x, y) == argb;
    return n;
}

} // namespace test
} // namespace Lomar
