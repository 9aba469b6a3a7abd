#include "render/SkinRenderer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "render/GdiplusInclude.h"
#include "render/SystemImaging.h"
#include "render/TextCache.h"
#include "resources/DibSection.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

bool intersects(const CUIRect& a, const CUIRect& b, CUIRect* out = nullptr)
{
    CUIRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom));
    bool ok = r.left < r.right && r.top < r.bottom;
    if (out) *out = ok ? r : CUIRect();
    return ok;
}

COLORREF rgb_of(uint32_t argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// Draws one piece of the nine grid, blended or copied. Pieces with no extent are skipped:
// a negative size would make StretchBlt mirror the image.
struct PieceDrawer
{
    HDC dc;
    HDC mem;
    bool blended;
    BLENDFUNCTION blend;
    AlphaBlendFn alpha_blend;

    void stretch(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) const
    {
        if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
        if (blended)
        {
            if (alpha_blend) alpha_blend(dc, dx, dy, dw, dh, mem, sx, sy, sw, sh, blend);
        }
        else if (dw == sw && dh == sh)
            BitBlt(dc, dx, dy, dw, dh, mem, sx, sy, SRCCOPY);
        else
            StretchBlt(dc, dx, dy, dw, dh, mem, sx, sy, sw, sh, SRCCOPY);
    }
    void piece(const CUIRect& d, int sx, int sy, int sw, int sh, const CUIRect& paint) const
    {
        if (!intersects(d, paint)) return;
        stretch(d.left, d.top, d.width(), d.height(), sx, sy, sw, sh);
    }
};

} // namespace

bool CSkinRenderer::draw_image_string(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                                      const wchar_t* draw, const wchar_t* modify, HINSTANCE module)
{
    if (!dc || !manager) return false;
    const ImageDrawSpec* spec = manager->get_draw_spec(draw, modify);
    if (!spec) return false;
    return draw_image_spec(dc, manager, item, paint, *spec, module);
}

CUIRect CSkinRenderer::place_image(const CUIRect& item, const ImageDrawSpec& spec)
{
    CUIRect dest = item;
    const CUIRect& d = spec.dest;
    if (d.left != 0 || d.top != 0 || d.right != 0 || d.bottom != 0)
        dest = CUIRect(item.left + d.left, item.top + d.top, item.left + d.right, item.top + d.bottom);

    const int cx = spec.size.cx, cy = spec.size.cy;
    if (cx > 0 && cy > 0)
    {
        const CUIString& a = spec.align;
        if (a.find(L"left") >= 0)
            dest.left = item.left, dest.right = item.left + cx;
        else if (a.find(L"center") >= 0)
            dest.left = item.left + (item.width() - cx) / 2, dest.right = dest.left + cx;
        else if (a.find(L"right") >= 0)
            dest.left = item.right - cx, dest.right = dest.left + cx;

        if (a.find(L"top") >= 0)
            dest.top = item.top, dest.bottom = item.top + cy;
        else if (a.find(L"vcenter") >= 0)
            dest.top = item.top + (item.height() - cy) / 2, dest.bottom = dest.top + cy;
        else if (a.find(L"bottom") >= 0)
            dest.top = item.bottom - cy, dest.bottom = dest.top + cy;

        dest.offset(spec.padding.left - spec.padding.right, spec.padding.top - spec.padding.bottom);
        if (dest.right > item.right) dest.right = item.right;
        if (dest.bottom > item.bottom) dest.bottom = item.bottom;
    }
    return dest;
}

bool CSkinRenderer::draw_image_spec(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                                    const ImageDrawSpec& spec, HINSTANCE module)
{
    if (!dc || !manager) return false;
    CUIRect dest = place_image(item, spec);
    return draw_image(dc, manager, item, paint, spec.image_name, spec.resource_type, dest, spec.source, spec.corner,
                      spec.mask, spec.fade, spec.hole, spec.x_tiled, spec.y_tiled, module);
}

bool CSkinRenderer::draw_image(HDC dc, CPaintManagerUI* manager, const CUIRect& item, const CUIRect& paint,
                               const wchar_t* name, const wchar_t* type, const CUIRect& dest, const CUIRect& source,
                               const CUIRect& corner, uint32_t mask, uint8_t fade, bool hole, bool x_tiled,
                               bool y_tiled, HINSTANCE module)
{
    if (!dc || !manager || !name || !*name) return false;
    ImageView image;
    if (!manager->lookup_image(name, (type && *type) ? type : nullptr, mask, module, image)) return false;

    CUIRect src = source;
    if (src.left == 0 && src.top == 0 && src.right == 0 && src.bottom == 0)
        src = CUIRect(0, 0, image.width, image.height);
    if (src.right > image.width) src.right = image.width;
    if (src.bottom > image.height) src.bottom = image.height;

    if (!intersects(dest, item)) return true;
    if (intersects(dest, paint))
    {
        bool use_alpha = manager->is_layered() || image.has_alpha;
        // An opaque image copied unscaled already carries alpha 255: blending it over the layered
        // frame gives the same pixels as the plain copy, at a fraction of the cost.
        if (use_alpha && !image.has_alpha && fade == 255 && corner.left == 0 && corner.top == 0 &&
            corner.right == 0 && corner.bottom == 0 && dest.width() == src.width() && dest.height() == src.height())
            use_alpha = false;
        draw_bitmap(dc, image.bitmap, dest, paint, src, corner, use_alpha, fade, hole, x_tiled, y_tiled);
    }
    return true;
}

void CSkinRenderer::draw_bitmap(HDC dc, HBITMAP bitmap, const CUIRect& d, const CUIRect& paint, const CUIRect& s,
                                const CUIRect& c, bool use_alpha, uint8_t fade, bool hole, bool x_tiled,
                                bool y_tiled)
{
    if (!dc || !bitmap) return;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem) return;
    HGDIOBJ old_bitmap = SelectObject(mem, bitmap);
    SetStretchBltMode(dc, HALFTONE);

    PieceDrawer draw{dc, mem, use_alpha || fade != 255, BLENDFUNCTION{AC_SRC_OVER, 0, fade, AC_SRC_ALPHA},
                     system_imaging().alpha_blend};

    if (!draw.blended && d.width() == s.width() && d.height() == s.height() && c.left == 0 && c.top == 0 &&
        c.right == 0 && c.bottom == 0)
    {
        CUIRect part;
        if (intersects(d, paint, &part))
            BitBlt(dc, part.left, part.top, part.width(), part.height(), mem, s.left + part.left - d.left,
                   s.top + part.top - d.top, SRCCOPY);
    }
    else
    {
        if (!hole)
        {
            CUIRect dc_rect(d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom);
            const int sl = s.left + c.left, st = s.top + c.top;
            const int sw = s.right - s.left - c.left - c.right, sh = s.bottom - s.top - c.top - c.bottom;
            if (intersects(dc_rect, paint) && sw > 0 && sh > 0)
            {
                const int dw = dc_rect.width(), dh = dc_rect.height();
                if (!x_tiled && !y_tiled)
                    draw.stretch(dc_rect.left, dc_rect.top, dw, dh, sl, st, sw, sh);
                else if (x_tiled && !y_tiled)
                {
                    const int count = (dw + sw - 1) / sw;
                    for (int i = 0; i < count; ++i)
                    {
                        const int x = dc_rect.left + i * sw;
                        const int w = std::min(sw, dc_rect.right - x);
                        draw.stretch(x, dc_rect.top, w, dh, sl, st, w, sh);
                    }
                }
                else if (!x_tiled && y_tiled)
                {
                    const int count = (dh + sh - 1) / sh;
                    for (int i = 0; i < count; ++i)
                    {
                        const int y = dc_rect.top + i * sh;
                        const int h = std::min(sh, dc_rect.bottom - y);
                        draw.stretch(dc_rect.left, y, dw, h, sl, st, sw, h);
                    }
                }
                else
                {
                    const int cols = (dw + sw - 1) / sw, rows = (dh + sh - 1) / sh;
                    for (int j = 0; j < rows; ++j)
                        for (int i = 0; i < cols; ++i)
                        {
                            const int x = dc_rect.left + i * sw, y = dc_rect.top + j * sh;
                            const int w = std::min(sw, dc_rect.right - x), h = std::min(sh, dc_rect.bottom - y);
                            draw.stretch(x, y, w, h, sl, st, w, h);
                        }
                }
            }
        }

        const int inner_w = s.right - s.left - c.left - c.right;
        const int inner_h = s.bottom - s.top - c.top - c.bottom;
        if (c.left > 0 && c.top > 0)
            draw.piece(CUIRect(d.left, d.top, d.left + c.left, d.top + c.top), s.left, s.top, c.left, c.top, paint);
        if (c.top > 0)
            draw.piece(CUIRect(d.left + c.left, d.top, d.right - c.right, d.top + c.top), s.left + c.left, s.top,
                       inner_w, c.top, paint);
        if (c.right > 0 && c.top > 0)
            draw.piece(CUIRect(d.right - c.right, d.top, d.right, d.top + c.top), s.right - c.right, s.top, c.right,
                       c.top, paint);
        if (c.left > 0)
            draw.piece(CUIRect(d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom), s.left, s.top + c.top,
                       c.left, inner_h, paint);
        if (c.right > 0)
            draw.piece(CUIRect(d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom), s.right - c.right,
                       s.top + c.top, c.right, inner_h, paint);
        if (c.left > 0 && c.bottom > 0)
            draw.piece(CUIRect(d.left, d.bottom - c.bottom, d.left + c.left, d.bottom), s.left, s.bottom - c.bottom,
                       c.left, c.bottom, paint);
        if (c.bottom > 0)
            draw.piece(CUIRect(d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom), s.left + c.left,
                       s.bottom - c.bottom, inner_w, c.bottom, paint);
        if (c.right > 0 && c.bottom > 0)
            draw.piece(CUIRect(d.right - c.right, d.bottom - c.bottom, d.right, d.bottom), s.right - c.right,
                       s.bottom - c.bottom, c.right, c.bottom, paint);
    }

    SelectObject(mem, old_bitmap);
    DeleteDC(mem);
}

void CSkinRenderer::draw_color(HDC dc, const CUIRect& rect, uint32_t color)
{
    if (!dc || color < 0x01000000u) return;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.FillRectangle(&brush, rect.left, rect.top, rect.width(), rect.height());
}

void CSkinRenderer::draw_gradient(HDC dc, const CUIRect& rect, uint32_t color1, uint32_t color2, bool vertical,
                                  int /*steps*/)
{
    if (!dc) return;
    const unsigned alpha = (((color1 >> 24) & 0xFF) + ((color2 >> 24) & 0xFF)) / 2;
    if (alpha == 0) return;
    const SystemImaging& sys = system_imaging();
    if (!sys.gradient_fill) return;
    const int w = rect.width(), h = rect.height();
    if (w <= 0 || h <= 0) return;

    HDC target = dc;
    HDC mem = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    int ox = rect.left, oy = rect.top;
    if (alpha < 255)
    {
        mem = CreateCompatibleDC(dc);
        uint32_t* bits = nullptr;
        bitmap = create_dib32(dc, w, h, false, &bits);
        if (!mem || !bitmap)
        {
            if (bitmap) DeleteObject(bitmap);
            if (mem) DeleteDC(mem);
            return;
        }
        old = SelectObject(mem, bitmap);
        target = mem;
        ox = 0;
        oy = 0;
    }

    TRIVERTEX v[2];
    v[0].x = ox;
    v[0].y = oy;
    v[0].Red = static_cast<COLOR16>(((color1 >> 16) & 0xFF) << 8);
    v[0].Green = static_cast<COLOR16>(((color1 >> 8) & 0xFF) << 8);
    v[0].Blue = static_cast<COLOR16>((color1 & 0xFF) << 8);
    v[0].Alpha = 0xFF00;
    v[1].x = ox + w;
    v[1].y = oy + h;
    v[1].Red = static_cast<COLOR16>(((color2 >> 16) & 0xFF) << 8);
    v[1].Green = static_cast<COLOR16>(((color2 >> 8) & 0xFF) << 8);
    v[1].Blue = static_cast<COLOR16>((color2 & 0xFF) << 8);
    v[1].Alpha = 0xFF00;
    GRADIENT_RECT gr{0, 1};
    sys.gradient_fill(target, v, 2, &gr, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);

    if (mem)
    {
        if (sys.alpha_blend)
            sys.alpha_blend(dc, rect.left, rect.top, w, h, mem, 0, 0, w, h,
                            BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0});
        SelectObject(mem, old);
        DeleteObject(bitmap);
        DeleteDC(mem);
    }
}

void CSkinRenderer::draw_line(HDC dc, const CUIRect& rect, int width, uint32_t color, int pen_style)
{
    if (!dc) return;
    LOGPEN lp{static_cast<UINT>(pen_style), POINT{width, 0}, rgb_of(color)};
    HPEN pen = CreatePenIndirect(&lp);
    if (!pen) return;
    HGDIOBJ old = SelectObject(dc, pen);
    POINT prev;
    MoveToEx(dc, rect.left, rect.top, &prev);
    LineTo(dc, rect.right, rect.bottom);
    MoveToEx(dc, prev.x, prev.y, nullptr);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void CSkinRenderer::draw_rect(HDC dc, const CUIRect& rect, int width, uint32_t color)
{
    if (!dc) return;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(width));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    graphics.DrawRectangle(&pen, rect.left, rect.top, rect.width() - 1, rect.height() - 1);
}

void CSkinRenderer::draw_round_rect(HDC dc, const CUIRect& rect, int width, int round_width, int /*round_height*/,
                                    uint32_t color)
{
    if (!dc) return;
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    const int x = rect.left, y = rect.top, w = rect.width() - 1, h = rect.height() - 1;
    const int r = round_width / 2;
    Gdiplus::GraphicsPath path;
    path.AddLine(x + r, y, x + w - r, y);
    if (r > 0) path.AddArc(x + w - 2 * r, y, 2 * r, 2 * r, 270, 90);
    path.AddLine(x + w, y + r, x + w, y + h - r);
    if (r > 0) path.AddArc(x + w - 2 * r, y + h - 2 * r, 2 * r, 2 * r, 0, 90);
    path.AddLine(x + w - r, y + h, x + r, y + h);
    if (r > 0) path.AddArc(x, y + h - 2 * r, 2 * r, 2 * r, 90, 90);
    path.AddLine(x, y + h - r, x, y + r);
    if (r > 0) path.AddArc(x, y, 2 * r, 2 * r, 180, 90);
    Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(width));
    graphics.DrawPath(&pen, &path);
}

wchar_t CSkinRenderer::glyph_from_entity(const wchar_t* text)
{
    if (!text) return 0;
    CUIString s(text);
    int pos = s.find(L"&#x");
    if (pos < 0) return 0;
    CUIString code = s.mid(pos + 3, 4);
    int n = code.length();
    if (n > 0 && code[n - 1] == L' ') code = code.left(--n);
    if (n > 0 && code[n - 1] == L';') code = code.left(--n);
    return static_cast<wchar_t>(std::wcstol(code, nullptr, 16));
}

namespace {

// GDI+ finds fonts by family name only and ignores the system's font substitutes, so a skin
// face such as "微软雅黑" would fall back to a family without its glyphs. The GDI+ font is
// therefore made for the family GDI really selected for the same LOGFONT (dc has it selected).
LOGFONTW gdiplus_logfont(HDC dc, HFONT hfont)
{
    LOGFONTW lf{};
    GetObjectW(hfont, sizeof lf, &lf);
    UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size < sizeof(OUTLINETEXTMETRICW)) return lf;
    std::vector<BYTE> buffer(size);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    if (GetOutlineTextMetricsW(dc, size, metrics) == 0) return lf;
    size_t offset = reinterpret_cast<size_t>(metrics->otmpFamilyName);
    if (offset == 0 || offset + sizeof(wchar_t) > size) return lf;
    const wchar_t* family = reinterpret_cast<const wchar_t*>(buffer.data() + offset);
    size_t room = (size - offset) / sizeof(wchar_t);
    size_t n = 0;
    while (n < room && family[n] != L'\0') ++n;
    if (n == 0 || n >= room || n >= LF_FACESIZE) return lf;
    std::wmemcpy(lf.lfFaceName, family, n);
    lf.lfFaceName[n] = L'\0';
    return lf;
}

} // namespace

namespace {

Gdiplus::StringFormat* make_format(unsigned format)
{
    Gdiplus::StringFormat* fmt = Gdiplus::StringFormat::GenericTypographic()->Clone();
    if (format & DT_END_ELLIPSIS) fmt->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    int flags = fmt->GetFormatFlags();
    if (format & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
    if (format & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
    fmt->SetFormatFlags(flags);
    fmt->SetAlignment((format & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                      : (format & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                            : Gdiplus::StringAlignmentNear);
    fmt->SetLineAlignment((format & DT_VCENTER)  ? Gdiplus::StringAlignmentCenter
                          : (format & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                 : Gdiplus::StringAlignmentNear);
    return fmt;
}

void prepare(Gdiplus::Graphics& g, CPaintManagerUI* manager)
{
    const int hint = manager->get_text_rendering_hint();
    g.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(hint >= 1 && hint <= 5 ? hint : 0));
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
}

// The text rasterised once into a transparent premultiplied bitmap of the box's size.
HBITMAP rasterise(HDC dc, CPaintManagerUI* manager, const CUIString& text, uint32_t color, HFONT hfont,
                  unsigned format, int w, int h)
{
    Gdiplus::Bitmap canvas(w, h, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics g(&canvas);
        prepare(g, manager);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        const LOGFONTW lf = gdiplus_logfont(dc, hfont);
        Gdiplus::Font gfont(dc, &lf);
        Gdiplus::SolidBrush brush(Gdiplus::Color(0xFE, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
        Gdiplus::StringFormat* fmt = make_format(format);
        g.DrawString(text, -1, &gfont,
                     Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h)), fmt, &brush);
        delete fmt;
    }
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, w, h);
    if (canvas.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) return nullptr;
    uint32_t* bits = nullptr;
    HBITMAP bitmap = create_dib32(dc, w, h, true, &bits);
    if (bitmap)
        for (int y = 0; y < h; ++y)
            std::memcpy(bits + static_cast<size_t>(y) * w,
                        static_cast<const unsigned char*>(data.Scan0) + static_cast<size_t>(y) * data.Stride,
                        static_cast<size_t>(w) * 4);
    canvas.UnlockBits(&data);
    return bitmap;
}

} // namespace

void CSkinRenderer::draw_text_gdiplus(HDC dc, CPaintManagerUI* manager, CUIRect& rect, const wchar_t* text,
                                      uint32_t color, HFONT hfont, unsigned format)
{
    CUIString s(text);
    s.replace(L"&&", L"&");
    const int w = rect.width(), h = rect.height();
    if (format & DT_CALCRECT)
    {
        HGDIOBJ old_font = SelectObject(dc, hfont);
        {
            Gdiplus::Graphics graphics(dc);
            prepare(graphics, manager);
            const LOGFONTW lf = gdiplus_logfont(dc, hfont);
            Gdiplus::Font gfont(dc, &lf);
            Gdiplus::StringFormat* fmt = make_format(format);
            Gdiplus::RectF bounds;
            graphics.MeasureString(s, -1, &gfont,
                                   Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                                                  static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h)),
                                   fmt, &bounds);
            rect.right = static_cast<int32_t>(rect.left + bounds.Width + 1);
            rect.bottom = static_cast<int32_t>(rect.top + bounds.Height + 1);
            delete fmt;
        }
        SelectObject(dc, old_font);
        return;
    }
    if (w <= 0 || h <= 0 || s.is_empty()) return;
    const AlphaBlendFn blend_fn = system_imaging().alpha_blend;
    if (!blend_fn) return;
    // Same text, font, colour, flags and box size: the same pixels.
    wchar_t head[96];
    std::swprintf(head, 96, L"%p|%08x|%x|%d|%d|%d|", static_cast<void*>(hfont), color, format, w, h,
                  manager->get_text_rendering_hint());
    std::wstring key = std::wstring(head) + s.data();
    CTextCache& cache = manager->text_cache();
    const CTextCache::Entry* e = cache.find(key);
    if (!e)
    {
        HGDIOBJ old_font = SelectObject(dc, hfont);   // the substitute lookup reads the selected font
        HBITMAP bitmap = rasterise(dc, manager, s, color, hfont, format, w, h);
        SelectObject(dc, old_font);
        if (!bitmap) return;
        e = cache.insert(key, bitmap, w, h);
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, e->bitmap);
    blend_fn(dc, rect.left, rect.top, w, h, mem, 0, 0, w, h, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(mem, old);
    DeleteDC(mem);
}

void CSkinRenderer::draw_text(HDC dc, CPaintManagerUI* manager, CUIRect& rect, const wchar_t* text, uint32_t color,
                              int font, unsigned format)
{
    if (!dc || !text || !manager) return;
    HFONT hfont = manager->get_font(font);
    if (manager->is_layered() || manager->is_use_gdiplus_text())
    {
        draw_text_gdiplus(dc, manager, rect, text, color, hfont, format);
        return;
    }

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, rgb_of(color));
    HGDIOBJ old_font = SelectObject(dc, hfont);
    if (wchar_t glyph = glyph_from_entity(text))
        DrawTextW(dc, &glyph, 1, rect.as_rect(), format);
    else if (CUIString(text).find(L"&#x") < 0)
        DrawTextW(dc, text, -1, rect.as_rect(), format);
    SelectObject(dc, old_font);
}

CUISize CSkinRenderer::text_size(HDC dc, CPaintManagerUI* manager, const wchar_t* text, int font)
{
    CUISize size;
    if (!dc || !text || !manager) return size;
    HGDIOBJ old_font = SelectObject(dc, manager->get_font(font));
    SetBkMode(dc, TRANSPARENT);
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &sz);
    SelectObject(dc, old_font);
    return CUISize(sz.cx, sz.cy);
}

void CSkinRenderer::clip(HDC dc, const CUIRect& rect, RenderClip& saved)
{
    RECT box;
    GetClipBox(dc, &box);
    saved.old_region = CreateRectRgnIndirect(&box);
    saved.region = CreateRectRgnIndirect(rect.as_rect());
    ExtSelectClipRgn(dc, saved.region, RGN_AND);
    saved.dc = dc;
    saved.rect = rect;
}

void CSkinRenderer::round_clip(HDC dc, const CUIRect& rect, int round_width, int round_height, RenderClip& saved)
{
    RECT box;
    GetClipBox(dc, &box);
    saved.old_region = CreateRectRgnIndirect(&box);
    saved.region = CreateRectRgnIndirect(rect.as_rect());
    HRGN round = CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, round_width, round_height);
    CombineRgn(saved.region, saved.region, round, RGN_AND);
    ExtSelectClipRgn(dc, saved.region, RGN_AND);
    saved.dc = dc;
    saved.rect = rect;
    DeleteObject(round);
}

void CSkinRenderer::restore_clip(HDC dc, RenderClip& saved)
{
    SelectClipRgn(dc, saved.old_region);
    if (saved.old_region) DeleteObject(saved.old_region);
    if (saved.region) DeleteObject(saved.region);
    saved.old_region = nullptr;
    saved.region = nullptr;
}

} // namespace Lomar
