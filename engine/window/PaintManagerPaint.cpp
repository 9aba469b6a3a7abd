// CPaintManagerUI: the layout-and-paint cycle, layered frames and window settings.
#include <cstring>

#include "controls/ControlUI.h"
#include "render/SkinRenderer.h"
#include "resources/DibSection.h"
#include "window/PaintManagerUI.h"
#include "window/ShadowUI.h"

namespace Lomar {

namespace {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// user32 is always loaded in a GUI process; look its layered-window functions up there.
FARPROC user32_proc(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

UpdateLayeredWindowFn update_layered_window()
{
    static const auto fn = reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(user32_proc("UpdateLayeredWindow")));
    return fn;
}

SetLayeredWindowAttributesFn set_layered_window_attributes()
{
    static const auto fn = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(user32_proc("SetLayeredWindowAttributes")));
    return fn;
}

} // namespace

bool CPaintManagerUI::resolve_layered_functions() { return update_layered_window() != nullptr; }

void CPaintManagerUI::delete_offscreen()
{
    if (m_offscreen_dc) DeleteDC(m_offscreen_dc);
    if (m_background_dc) DeleteDC(m_background_dc);
    if (m_offscreen_bitmap) DeleteObject(m_offscreen_bitmap);
    if (m_background_bitmap) DeleteObject(m_background_bitmap);
    m_offscreen_dc = m_background_dc = nullptr;
    m_offscreen_bitmap = m_background_bitmap = nullptr;
    m_offscreen_bits = m_background_bits = nullptr;
}

void CPaintManagerUI::repair_alpha(const CUIRect& rc)
{
    if (!m_offscreen_bits) return;
    CUIRect client;
    GetClientRect(m_window, client.as_rect());
    const int w = client.width(), h = client.height();
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        if (y < 0 || y >= h) continue;
        uint32_t* row = m_offscreen_bits + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w);
        for (int x = rc.left < 0 ? 0 : rc.left; x < rc.right && x < w; ++x)
        {
            uint32_t& px = row[x];
            // GDI drawing leaves alpha 0; anything drawn (not black) becomes opaque.
            if ((px & 0xFF000000u) == 0 && (px & 0x00FFFFFFu) != 0) px |= 0xFF000000u;
        }
    }
}

bool CPaintManagerUI::handle_paint()
{
    if (!m_root)
    {
        PAINTSTRUCT ps;
        BeginPaint(m_window, &ps);
        CSkinRenderer::draw_color(m_paint_dc, CUIRect(ps.rcPaint), 0xFF000000);
        EndPaint(m_window, &ps);
        return true;
    }
    CUIRect client;
    GetClientRect(m_window, client.as_rect());
    CUIRect paint;
    if (!GetUpdateRect(m_window, paint.as_rect(), FALSE)) return true;
    if (m_focus_needed) set_next_tab_control(true);

    m_is_painting = true;
    const int W = client.width(), H = client.height();
    bool size_changed = false;
    if (m_update_needed)
    {
        m_update_needed = false;
        if (!rect_is_empty(client) && !IsIconic(m_window))
        {
            if (!m_root->is_update_needed())
            {
                m_found_controls.empty();
                m_root->find_control(
                    [](CControlUI* c, void* data) -> CControlUI* {
                        if (c->is_update_needed()) static_cast<CUIPtrArray*>(data)->add(c);
                        return c->is_update_needed() ? c : nullptr;
                    },
                    &m_found_controls, UIFIND_ME_FIRST | UIFIND_UPDATETEST | UIFIND_VISIBLE);
                for (int i = 0; i < m_found_controls.size(); ++i)
                {
                    auto* c = static_cast<CControlUI*>(m_found_controls[i]);
                    if (!c->is_float())
                        c->set_pos(c->get_pos(), true);
                    else
                    {
                        // Floats keep their place relative to the parent: the parent's offset is added back.
                        CUIRect r = c->get_relative_pos();
                        if (CControlUI* p = c->get_parent()) r.offset(p->get_pos().left, p->get_pos().top);
                        c->set_pos(r, true);
                    }
                }
            }
            else
            {
                delete_offscreen();
                m_root->set_pos(client, true);
            }
            size_changed = true;
            // A Tab move asked for before this layout lands now, before the frame is painted.
            if (m_focus_needed) set_next_tab_control(true);
            if (m_first_layout)
            {
                m_first_layout = false;
                send_notify(m_root, L"windowinit", 0, 0, false);
                if (!m_root)
                {
                    m_is_painting = false;
                    return true;
                }
            }
            if (m_layered && m_layered_changed)
            {
                invalidate_all();
                m_is_painting = false;
                return true;
            }
            if (m_shadow) m_shadow->update(m_window);
        }
    }
    else if (m_layered && m_layered_changed)
    {
        if (m_offscreen_bits) std::memset(m_offscreen_bits, 0, static_cast<size_t>(W) * static_cast<size_t>(H) * 4);
        m_root->set_pos(client, true);
    }

    if (m_layered)
    {
        LONG ex = GetWindowLongW(m_window, GWL_EXSTYLE);
        if (!(ex & WS_EX_LAYERED)) SetWindowLongW(m_window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        m_offscreen_paint = true;
        if (!rect_is_empty(m_layered_update)) paint.join(m_layered_update);
        m_layered_update = CUIRect();
        if (paint.right > client.right) paint.right = client.right;
        if (paint.bottom > client.bottom) paint.bottom = client.bottom;
    }
    if (m_offscreen_paint && !m_offscreen_bitmap && W > 0 && H > 0)
    {
        m_offscreen_dc = CreateCompatibleDC(m_paint_dc);
        m_offscreen_bitmap = create_dib32(m_paint_dc, W, H, false, &m_offscreen_bits);
    }

    PAINTSTRUCT ps;
    BeginPaint(m_window, &ps);
    if (!m_offscreen_paint || !m_offscreen_bitmap)
    {
        int saved = SaveDC(m_paint_dc);
        m_root->paint(m_paint_dc, paint, nullptr);
        for (int i = 0; i < m_post_paint_controls.size(); ++i)
            static_cast<CControlUI*>(m_post_paint_controls[i])->paint_after(m_paint_dc, paint);
        RestoreDC(m_paint_dc, saved);
    }
    else
    {
        HGDIOBJ old_bitmap = SelectObject(m_offscreen_dc, m_offscreen_bitmap);
        int saved = SaveDC(m_offscreen_dc);
        if (m_layered)
            for (int y = paint.top; y < paint.bottom; ++y)
                std::memset(m_offscreen_bits + static_cast<size_t>(H - 1 - y) * W + paint.left, 0,
                            static_cast<size_t>(paint.width()) * 4);
        m_root->paint(m_offscreen_dc, paint, nullptr);
        if (m_layered)
        {
            for (int i = m_native_windows.size() - 1; i >= 0; --i)
            {
                HWND child = static_cast<HWND>(m_native_windows[i]);
                if (!IsWindow(child))
                {
                    m_native_windows.remove(i);
                    m_native_window_controls.remove(i);
                    continue;
                }
                if (!IsWindowVisible(child)) continue;
                CUIRect cr;
                GetWindowRect(child, cr.as_rect());
                MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&cr), 2);
                CUIRect part;
                if (!intersect_rect(part, cr, paint)) continue;
                uint32_t* bits = nullptr;
                HDC cdc = CreateCompatibleDC(m_paint_dc);
                HBITMAP cbm = create_dib32(m_paint_dc, cr.width(), cr.height(), false, &bits);
                if (cdc && cbm)
                {
                    HGDIOBJ o = SelectObject(cdc, cbm);
                    std::memset(bits, 0, static_cast<size_t>(cr.width()) * cr.height() * 4);
                    SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(cdc),
                                 PRF_CHECKVISIBLE | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
                    for (int k = 0; k < cr.width() * cr.height(); ++k)
                        if (bits[k]) bits[k] |= 0xFF000000u;
                    BitBlt(m_offscreen_dc, cr.left, cr.top, cr.width(), cr.height(), cdc, 0, 0, SRCCOPY);
                    SelectObject(cdc, o);
                }
                if (cbm) DeleteObject(cbm);
                if (cdc) DeleteDC(cdc);
            }
        }
        for (int i = 0; i < m_post_paint_controls.size(); ++i)
            static_cast<CControlUI*>(m_post_paint_controls[i])->paint_after(m_offscreen_dc, paint);
        RestoreDC(m_offscreen_dc, saved);
        if (!m_layered)
            BitBlt(m_paint_dc, paint.left, paint.top, paint.width(), paint.height(), m_offscreen_dc, paint.left,
                   paint.top, SRCCOPY);
        else
        {
            repair_alpha(paint);
            RECT wr;
            GetWindowRect(m_window, &wr);
            POINT dst{wr.left, wr.top};
            SIZE size{W, H};
            POINT src{0, 0};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
            if (auto ulw = update_layered_window())
                ulw(m_window, m_paint_dc, &dst, &size, m_offscreen_dc, &src, 0, &blend, ULW_ALPHA);
        }
        SelectObject(m_offscreen_dc, old_bitmap);
        if (m_show_update_rect && !m_layered)
        {
            static HPEN red = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
            HGDIOBJ op = SelectObject(m_paint_dc, red);
            HGDIOBJ ob = SelectObject(m_paint_dc, GetStockObject(HOLLOW_BRUSH));
            Rectangle(m_paint_dc, paint.left, paint.top, paint.right, paint.bottom);
            SelectObject(m_paint_dc, ob);
            SelectObject(m_paint_dc, op);
        }
    }
    EndPaint(m_window, &ps);
    m_is_painting = false;
    m_layered_changed = false;
    if (m_update_needed) invalidate_all();
    if (size_changed && m_root) send_notify(m_root, L"windowsize", 0, 0, true);
    return true;
}

bool CPaintManagerUI::render_frame(HDC dc, uint32_t* bits, int width, int height)
{
    if (!m_root || !dc || !bits || width <= 0 || height <= 0) return false;
    const CUIRect client(0, 0, width, height);
    if (m_update_needed || m_root->is_update_needed() || m_root->get_pos() != client)
    {
        m_update_needed = false;
        m_root->set_pos(client, false);
        if (m_focus_needed) set_next_tab_control(true);
        if (m_first_layout)
        {
            m_first_layout = false;
            send_notify(m_root, L"windowinit", 0, 0, false);
            if (!m_root) return false;
        }
    }
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    int saved = SaveDC(dc);
    m_root->paint(dc, client, nullptr);
    for (int i = 0; i < m_post_paint_controls.size(); ++i)
        static_cast<CControlUI*>(m_post_paint_controls[i])->paint_after(dc, client);
    RestoreDC(dc, saved);
    GdiFlush();
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (m_layered)
    {
        for (size_t i = 0; i < n; ++i)
            if ((bits[i] & 0xFF000000u) == 0 && (bits[i] & 0x00FFFFFFu) != 0) bits[i] |= 0xFF000000u;
    }
    else
        for (size_t i = 0; i < n; ++i) bits[i] |= 0xFF000000u;
    return true;
}

void CPaintManagerUI::set_initial_size(int cx, int cy)
{
    m_initial_size = CUISize(cx, cy);
    if (m_window && !m_root)
        SetWindowPos(m_window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

CUIRect CPaintManagerUI::get_sizebox() const
{
    return CUIRect(scale(m_sizebox.left), scale(m_sizebox.top), scale(m_sizebox.right), scale(m_sizebox.bottom));
}
CUIRect CPaintManagerUI::get_caption_rect() const
{
    return CUIRect(scale(m_caption.left), scale(m_caption.top), scale(m_caption.right), scale(m_caption.bottom));
}
CUISize CPaintManagerUI::get_round_corner() const
{
    return CUISize(scale(m_round_corner.cx), scale(m_round_corner.cy));
}
CUISize CPaintManagerUI::get_min_info() const { return CUISize(scale(m_min_info.cx), scale(m_min_info.cy)); }
CUISize CPaintManagerUI::get_max_info() const { return CUISize(scale(m_max_info.cx), scale(m_max_info.cy)); }

void CPaintManagerUI::set_opacity(uint8_t alpha)
{
    m_opacity = alpha;
    if (!m_window) return;
    LONG ex = GetWindowLongW(m_window, GWL_EXSTYLE);
    SetWindowLongW(m_window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    if (auto fn = set_layered_window_attributes()) fn(m_window, 0, alpha, LWA_ALPHA);
}

void CPaintManagerUI::set_layered(bool b)
{
    m_layered_requested = b;
    if (!m_window || b == m_layered) return;
    if (GetWindowLongW(m_window, GWL_STYLE) & WS_CHILD) return;
    if (!resolve_layered_functions()) return;
    m_layered = b;
    if (m_root) m_root->request_layout();
    invalidate_all();
}

void CPaintManagerUI::set_layered_opacity(uint8_t alpha)
{
    m_opacity = alpha;
    m_layered_changed = true;
    invalidate_all();
}

void CPaintManagerUI::set_layered_image(const wchar_t* image)
{
    m_layered_image_string = image ? image : L"";
    m_layered_image = ImageDrawSpec();
    m_layered_image.parse(m_layered_image_string, nullptr, m_scale_percent);
    m_layered_changed = true;
    invalidate_all();
}

void CPaintManagerUI::set_scale_dpi(int dpi)
{
    const int old = m_scale_percent;
    m_scale_percent = MulDiv(dpi, 100, 96);
    m_resources.set_dpi_scale(m_scale_percent);
    m_resources.rebuild_for_dpi();
    remove_all_draw_specs();
    if (m_window && old != m_scale_percent && !IsZoomed(m_window))
    {
        RECT r;
        GetWindowRect(m_window, &r);
        SetWindowPos(m_window, nullptr, 0, 0, MulDiv(r.right - r.left, m_scale_percent, old),
                     MulDiv(r.bottom - r.top, m_scale_percent, old), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (m_root) m_root->request_layout();
    if (m_window) PostMessageW(m_window, WM_USER + 2, 0, 0);
}

} // namespace Lomar
