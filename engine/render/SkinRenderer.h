// CSkinRenderer: the stateless drawing operations every control paints through.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/UIRect.h"
#include "render/ImageDrawSpec.h"

namespace Lomar {

class CPaintManagerUI;

// A clip saved by clip()/round_clip() and put back by restore_clip().
struct RenderClip
{
    CUIRect rect;
    HDC dc = nullptr;
    HRGN region = nullptr;      // the clip that was added
    HRGN old_region = nullptr;  // the clip box that was in force before
};

class CSkinRenderer
{
public:
    static bool draw_image_string(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                                  const wchar_t* draw, const wchar_t* modify, HINSTANCE module = nullptr);
    static bool draw_image_spec(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                                const ImageDrawSpec& spec, HINSTANCE module = nullptr);
    static bool draw_image(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                           const wchar_t* name, const wchar_t* type, const CUIRect& dest, const CUIRect& source,
                           const CUIRect& corner, uint32_t mask, uint8_t fade, bool hole, bool x_tiled,
                           bool y_tiled, HINSTANCE module = nullptr);
    static void draw_bitmap(HDC dc, HBITMAP bitmap, const CUIRect& dest, const CUIRect& paint,
                            const CUIRect& source, const CUIRect& corner, bool use_alpha, uint8_t fade = 255,
                            bool hole = false, bool x_tiled = false, bool y_tiled = false);

    // Where a sized image lands inside the item (steps 1-2 of draw_image_spec).
    static CUIRect place_image(const CUIRect& item, const ImageDrawSpec& spec);

    static void draw_color(HDC dc, const CUIRect& rect, uint32_t color);
    static void draw_gradient(HDC dc, const CUIRect& rect, uint32_t color1, uint32_t color2, bool vertical,
                              int steps);
    static void draw_line(HDC dc, const CUIRect& rect, int width, uint32_t color, int pen_style = PS_SOLID);
    static void draw_rect(HDC dc, const CUIRect& rect, int width, uint32_t color);
    static void draw_round_rect(HDC dc, const CUIRect& rect, int width, int round_width, int round_height,
                                uint32_t color);
    // rect is read, and with DT_CALCRECT written back with the measured extent.
    static void draw_text(HDC dc, CPaintManagerUI* manager, CUIRect& rect, const wchar_t* text, uint32_t color,
                          int font, unsigned format);
    static CUISize text_size(HDC dc, CPaintManagerUI* manager, const wchar_t* text, int font);

    static void clip(HDC dc, const CUIRect& rect, RenderClip& saved);
    static void round_clip(HDC dc, const CUIRect& rect, int round_width, int round_height, RenderClip& saved);
    static void restore_clip(HDC dc, RenderClip& saved);

    // The GDI+ text path (layered windows, "gdiplustext"); drawn texts are cached per window.
    static void draw_text_gdiplus(HDC dc, CPaintManagerUI* manager, CUIRect& rect, const wchar_t* text,
                                  uint32_t color, HFONT font, unsigned format);

    // The code unit drawn for a text holding "&#x" (an icon-font glyph), or 0 when it has none.
    static wchar_t glyph_from_entity(const wchar_t* text);
};

} // namespace Lomar
