// CWindowWnd: a Win32 window bound to an object: class registration, window procedure,
// modal loop and close with a result code.
#pragma once

#include <windows.h>

namespace Lomar {

class CWindowWnd
{
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd() = default;

    virtual const wchar_t* get_window_class_name() const = 0;
    virtual const wchar_t* get_super_class_name() const;
    virtual UINT get_class_style() const;
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    virtual void on_final_message(HWND window);

    HWND get_hwnd() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }
    HWND create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
    HWND create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, const RECT& rc, HMENU menu = nullptr);
    void show_window(bool show = true, bool take_focus = true);
    UINT show_modal();
    void close(UINT code = IDOK);
    void set_icon(UINT resource_id);
    LRESULT send_message(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
    BOOL post_message(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
    bool register_window_class();
    bool register_superclass();

protected:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK superclass_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND m_hwnd = nullptr;
    WNDPROC m_old_wnd_proc = DefWindowProcW;
};

} // namespace Lomar
