// CUIRect, CUISize, CUIPoint: geometry records laid out like the Win32 RECT, SIZE and POINT.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windef.h>
#endif

namespace Lomar {

struct CUIPoint
{
    int32_t x = 0;
    int32_t y = 0;

    CUIPoint() = default;
    CUIPoint(int32_t x_, int32_t y_) : x(x_), y(y_) {}
#ifdef _WIN32
    CUIPoint(const POINT& p) : x(p.x), y(p.y) {}
    operator POINT() const { return POINT{x, y}; }
#endif
    bool operator==(const CUIPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CUIPoint& o) const { return !(*this == o); }
};

struct CUISize
{
    int32_t cx = 0;
    int32_t cy = 0;

    CUISize() = default;
    CUISize(int32_t cx_, int32_t cy_) : cx(cx_), cy(cy_) {}
#ifdef _WIN32
    CUISize(const SIZE& s) : cx(s.cx), cy(s.cy) {}
    operator SIZE() const { return SIZE{cx, cy}; }
#endif
    bool operator==(const CUISize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const CUISize& o) const { return !(*this == o); }
};

struct CUIRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    CUIRect() = default;
    CUIRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
#ifdef _WIN32
    CUIRect(const RECT& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    operator RECT() const { return RECT{left, top, right, bottom}; }
    RECT* as_rect() { return reinterpret_cast<RECT*>(this); }
    const RECT* as_rect() const { return reinterpret_cast<const RECT*>(this); }
#endif

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    // Union without an emptiness test: an all-zero rectangle still pulls the result to 0,0.
    void join(const CUIRect& o)
    {
        if (o.left < left) left = o.left;
        if (o.top < top) top = o.top;
        if (o.right > right) right = o.right;
        if (o.bottom > bottom) bottom = o.bottom;
    }
    void offset(int32_t dx, int32_t dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void inflate(int32_t dx, int32_t dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void deflate(int32_t dx, int32_t dy) { inflate(-dx, -dy); }
    void reset_offset() { offset(-left, -top); }
    void normalize()
    {
        if (left > right)
        {
            int32_t t = left;
            left = right;
            right = t;
        }
        if (top > bottom)
        {
            int32_t t = top;
            top = bottom;
            bottom = t;
        }
    }
    bool operator==(const CUIRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CUIRect& o) const { return !(*this == o); }
};

#ifdef _WIN32
static_assert(sizeof(CUIRect) == sizeof(RECT), "CUIRect must match RECT");
static_assert(sizeof(CUISize) == sizeof(SIZE), "CUISize must match SIZE");
static_assert(sizeof(CUIPoint) == sizeof(POINT), "CUIPoint must match POINT");
#endif

} // namespace Lomar
