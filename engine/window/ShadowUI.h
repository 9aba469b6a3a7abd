// CShadowUI: a click-through layered window behind a skinned window, drawn from a nine-grid
// image or computed from the window's shape, following the window's moves and state.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/UIRect.h"
#include "core/UIString.h"

namespace Lomar {

class CPaintManagerUI;

class CShadowUI
{
public:
    CShadowUI() = default;
    virtual ~CShadowUI();
    CShadowUI(const CShadowUI&) = delete;
    CShadowUI& operator=(const CShadowUI&) = delete;

    static bool register_shadow_class(HINSTANCE instance);

    bool set_size(int n);                  // -35..35
    bool set_sharpness(int n);             // 0..35
    bool set_darkness(int n);              // 0..255
    bool set_position(int x, int y);       // each -35..35
    bool set_color(uint32_t rgb);          // 0xRRGGBB
    bool set_image(const wchar_t* name);   // switches to image mode
    bool set_shadow_corner(int l, int t, int r, int b);
    void show_shadow(bool b) { m_show = b; }
    bool is_show_shadow() const { return m_show; }

    void create(CPaintManagerUI* manager);
    void update(HWND watched);

    HWND get_window() const { return m_window; }
    uint8_t get_status() const { return m_status; }
    bool is_update_pending() const { return m_update_pending; }

    // Alpha of the computed shadow at distance d from the window's shape.
    static uint8_t kernel_alpha(double d, int size, int sharpness, int darkness);

private:
    enum { STATUS_ENABLED = 1, STATUS_SHOWN = 2, STATUS_PARENT_VISIBLE = 4 };

    static LRESULT CALLBACK watch_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void redraw_if_shown();
    void compute_shadow(HWND watched, uint32_t* bits, int width, int height);
    POINT shadow_origin(const RECT& watched) const;
    void show_now();
    void hide_now();

    CPaintManagerUI* m_manager = nullptr;
    HWND m_window = nullptr;              // the shadow window
    HWND m_watched = nullptr;
    WNDPROC m_parent_proc = nullptr;      // the watched window's own procedure
    uint8_t m_status = 0;
    bool m_image_mode = false;
    bool m_show = false;
    uint8_t m_darkness = 150;
    uint8_t m_sharpness = 5;
    int8_t m_size = 0;
    int8_t m_x_offset = 0;
    int8_t m_y_offset = 0;
    LPARAM m_last_size = 0;
    bool m_update_pending = false;
    uint32_t m_color = 0;
    CUIString m_image;
    CUIRect m_corner;
};

} // namespace Lomar
