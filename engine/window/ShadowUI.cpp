#include "window/ShadowUI.h"

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "render/SkinRenderer.h"
#include "resources/DibSection.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

const wchar_t kShadowClass[] = L"LomarShadowWnd";

std::map<HWND, CShadowUI*>& registry()
{
    static std::map<HWND, CShadowUI*> map;
    return map;
}

bool g_class_registered = false;

} // namespace

CShadowUI::~CShadowUI()
{
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
    if (m_watched)
    {
        // The window outlives its shadow: give it its own procedure back.
        if (IsWindow(m_watched) &&
            GetWindowLongPtrW(m_watched, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(watch_proc))
            SetWindowLongPtrW(m_watched, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_parent_proc));
        registry().erase(m_watched);
    }
}

bool CShadowUI::register_shadow_class(HINSTANCE instance)
{
    if (g_class_registered) return false;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kShadowClass;
    RegisterClassExW(&wc);
    g_class_registered = true;
    return true;
}

void CShadowUI::redraw_if_shown()
{
    if (m_window && (m_status & STATUS_SHOWN) && m_watched) update(m_watched);
}

bool CShadowUI::set_size(int n)
{
    if (n < -35 || n > 35) return false;
    m_size = static_cast<int8_t>(n);
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_sharpness(int n)
{
    if (n < 0 || n > 35) return false;
    m_sharpness = static_cast<uint8_t>(n);
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_darkness(int n)
{
    if (n < 0 || n > 255) return false;
    m_darkness = static_cast<uint8_t>(n);
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_position(int x, int y)
{
    if (x < -35 || x > 35 || y < -35 || y > 35) return false;
    m_x_offset = static_cast<int8_t>(x);
    m_y_offset = static_cast<int8_t>(y);
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_color(uint32_t rgb)
{
    m_color = rgb;
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_image(const wchar_t* name)
{
    if (!name) return false;
    m_image_mode = true;
    m_image = name;
    redraw_if_shown();
    return true;
}

bool CShadowUI::set_shadow_corner(int l, int t, int r, int b)
{
    if (l < 0 || t < 0 || r < 0 || b < 0) return false;
    m_corner = CUIRect(l, t, r, b);
    redraw_if_shown();
    return true;
}

void CShadowUI::create(CPaintManagerUI* manager)
{
    if (!m_show || !manager || !manager->get_window()) return;
    m_manager = manager;
    HWND w = manager->get_window();
    if (m_window && m_watched == w) return;   // already watching this window
    m_watched = w;
    registry()[w] = this;
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    m_window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                               WS_POPUP | WS_BORDER | WS_SYSMENU | (style & WS_DLGFRAME), CW_USEDEFAULT, 0, 0, 0, w,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!(style & WS_VISIBLE))
        m_status = STATUS_ENABLED;
    else if (style & (WS_MINIMIZE | WS_MAXIMIZE))
        m_status = STATUS_ENABLED | STATUS_PARENT_VISIBLE;
    else
    {
        m_status = STATUS_ENABLED | STATUS_SHOWN | STATUS_PARENT_VISIBLE;
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        update(w);
    }
    m_parent_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC));
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_proc));
}

POINT CShadowUI::shadow_origin(const RECT& wr) const
{
    if (m_image_mode) return POINT{wr.left - m_size, wr.top - m_size};
    return POINT{wr.left + m_x_offset - m_size, wr.top + m_y_offset - m_size};
}

uint8_t CShadowUI::kernel_alpha(double d, int size, int sharpness, int darkness)
{
    const int core = size > sharpness ? size - sharpness : 0;
    const int radius = size > sharpness ? size : sharpness;
    if (d < core) return static_cast<uint8_t>(darkness);
    if (d <= radius) return static_cast<uint8_t>((1.0 - (d - core) / (sharpness + 1)) * darkness);
    return 0;
}

void CShadowUI::compute_shadow(HWND watched, uint32_t* bits, int width, int height)
{
    RECT wr;
    GetWindowRect(watched, &wr);
    const int ww = wr.right - wr.left, wh = wr.bottom - wr.top;
    // One span per row of the window's shape (its region, or the whole rectangle).
    std::vector<int> left(static_cast<size_t>(wh), 0), right(static_cast<size_t>(wh), ww - 1);
    HRGN rgn = CreateRectRgn(0, 0, ww, wh);
    if (GetWindowRgn(watched, rgn) != ERROR)
        for (int y = 0; y < wh; ++y)
        {
            int l = 0, r = ww - 1;
            while (l < ww && !PtInRegion(rgn, l, y)) ++l;
            while (r >= l && !PtInRegion(rgn, r, y)) --r;
            left[static_cast<size_t>(y)] = l;
            right[static_cast<size_t>(y)] = r;   // r < l: an empty row
        }
    DeleteObject(rgn);

    const int size = m_size, sharpness = m_sharpness, darkness = m_darkness;
    const int radius = size > sharpness ? size : sharpness;
    const uint32_t r8 = (m_color >> 16) & 0xFF, g8 = (m_color >> 8) & 0xFF, b8 = m_color & 0xFF;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            // Shape coordinates: the shadow's shape sits `size` in from the bitmap's corner.
            const int sx = x - size, sy = y - size;
            double best = 1e9;
            for (int yy = sy - radius; yy <= sy + radius; ++yy)
            {
                if (yy < 0 || yy >= wh) continue;
                const int l = left[static_cast<size_t>(yy)], r = right[static_cast<size_t>(yy)];
                if (r < l) continue;
                const int dx = sx < l ? l - sx : sx > r ? sx - r : 0;
                const int dy = yy - sy;
                const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                if (d < best) best = d;
            }
            uint32_t a = kernel_alpha(best, size, sharpness, darkness);
            // What the window itself covers stays clear.
            const int cx = x - size + m_x_offset, cy = y - size + m_y_offset;
            if (cy >= 0 && cy < wh && cx >= left[static_cast<size_t>(cy)] && cx <= right[static_cast<size_t>(cy)]) a = 0;
            // Bottom-up rows.
            bits[static_cast<size_t>(height - 1 - y) * width + x] =
                (a << 24) | ((r8 * a / 255) << 16) | ((g8 * a / 255) << 8) | (b8 * a / 255);
        }
}

void CShadowUI::update(HWND watched)
{
    if (!m_show || !(m_status & STATUS_SHOWN) || !m_window) return;
    RECT wr;
    GetWindowRect(watched, &wr);
    if (m_image_mode ? m_image.is_empty() : m_size == 0) return;
    const int width = wr.right - wr.left + 2 * m_size, height = wr.bottom - wr.top + 2 * m_size;
    if (width <= 0 || height <= 0) return;

    uint32_t* bits = nullptr;
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = mem ? create_dib32(mem, width, height, false, &bits) : nullptr;
    if (!mem || !bitmap)
    {
        if (bitmap) DeleteObject(bitmap);
        if (mem) DeleteDC(mem);
        return;
    }
    HGDIOBJ old = SelectObject(mem, bitmap);
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    if (m_image_mode)
    {
        ImageView image;
        if (!m_manager || !m_manager->lookup_image(m_image, nullptr, 0, nullptr, image))
        {
            SelectObject(mem, old);
            DeleteObject(bitmap);
            DeleteDC(mem);
            return;
        }
        const CUIRect all(0, 0, width, height);
        // Blended even for an opaque image: a plain copy would leave alpha 0, an invisible shadow.
        CSkinRenderer::draw_bitmap(mem, image.bitmap, all, all, CUIRect(0, 0, image.width, image.height), m_corner,
                                   true, 255, true, false, false);
    }
    else
        compute_shadow(watched, bits, width, height);

    POINT pos = shadow_origin(wr);
    SetWindowPos(m_window, nullptr, pos.x, pos.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SIZE sz{width, height};
    POINT src{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using Ulw = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
    auto ulw = user32 ? reinterpret_cast<Ulw>(reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
                      : nullptr;
    if (ulw) ulw(m_window, nullptr, &pos, &sz, mem, &src, 0, &blend, ULW_ALPHA);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

void CShadowUI::show_now()
{
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    m_status |= STATUS_SHOWN;
}

void CShadowUI::hide_now()
{
    ShowWindow(m_window, SW_HIDE);
    m_status &= static_cast<uint8_t>(~STATUS_SHOWN);
}

LRESULT CALLBACK CShadowUI::watch_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto it = registry().find(window);
    if (it == registry().end()) return 0;
    CShadowUI* s = it->second;
    WNDPROC parent = s->m_parent_proc;
    switch (message)
    {
    case WM_DESTROY:
        if (s->m_window) DestroyWindow(s->m_window);
        s->m_window = nullptr;
        break;
    case WM_MOVE:
        if (s->m_status & STATUS_SHOWN)
        {
            RECT wr;
            GetWindowRect(window, &wr);
            POINT pos = s->shadow_origin(wr);
            SetWindowPos(s->m_window, window, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;
    case WM_SIZE:
        if (s->m_status & STATUS_ENABLED)
        {
            if (wparam == SIZE_MAXIMIZED || wparam == SIZE_MINIMIZED)
                s->hide_now();
            else if (s->m_status & STATUS_PARENT_VISIBLE)
            {
                if (LOWORD(lparam) > LOWORD(s->m_last_size) || HIWORD(lparam) > HIWORD(s->m_last_size))
                    s->m_update_pending = true;
                else
                {
                    s->m_status |= STATUS_SHOWN;   // update draws only a shown shadow
                    s->update(window);
                }
                if (!IsWindowVisible(s->m_window)) s->show_now();
                s->m_status |= STATUS_SHOWN;
            }
            s->m_last_size = lparam;
        }
        break;
    case WM_PAINT:
        if (s->m_update_pending)
        {
            s->update(window);
            s->m_update_pending = false;
        }
        break;
    case WM_SHOWWINDOW:
        if (s->m_status & STATUS_ENABLED)
        {
            if (wparam && !(s->m_status & STATUS_PARENT_VISIBLE))
            {
                s->m_update_pending = true;
                s->show_now();
                s->m_status |= STATUS_PARENT_VISIBLE;
            }
            else if (!wparam)
            {
                s->hide_now();
                s->m_status &= static_cast<uint8_t>(~STATUS_PARENT_VISIBLE);
            }
        }
        break;
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (IsWindowEnabled(window) && s->m_window)
            SetWindowPos(s->m_window, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE);
        break;
    case WM_WINDOWPOSCHANGED:
    {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
        if (s->m_window)
        {
            RECT wr;
            GetWindowRect(window, &wr);
            POINT o = s->shadow_origin(wr);
            SetWindowPos(s->m_window, window, o.x, o.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            if ((pos->flags & SWP_SHOWWINDOW) && (s->m_status & STATUS_ENABLED) &&
                !(s->m_status & STATUS_PARENT_VISIBLE))
            {
                s->m_update_pending = true;
                s->show_now();
                s->m_status |= STATUS_PARENT_VISIBLE;
            }
            else if ((pos->flags & SWP_HIDEWINDOW) && (s->m_status & STATUS_ENABLED))
            {
                s->hide_now();
                s->m_status &= static_cast<uint8_t>(~STATUS_PARENT_VISIBLE);
            }
        }
        break;
    }
    case WM_NCDESTROY:
        registry().erase(window);
        s->m_watched = nullptr;
        break;
    case 0x232:   // WM_EXITSIZEMOVE
        if (s->m_status & STATUS_SHOWN) s->update(window);
        break;
    default:
        break;
    }
    return CallWindowProcW(parent, window, message, wparam, lparam);
}

} // namespace Lomar
