#include "window/WindowWnd.h"

#include "window/PaintManagerUI.h"

namespace Lomar {

const wchar_t* CWindowWnd::get_super_class_name() const { return nullptr; }
UINT CWindowWnd::get_class_style() const { return 0; }

LRESULT CWindowWnd::handle_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcW(m_old_wnd_proc, m_hwnd, message, wparam, lparam);
}

void CWindowWnd::on_final_message(HWND) {}

HWND CWindowWnd::create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, int x, int y, int cx, int cy,
                        HMENU menu)
{
    if (get_super_class_name() ? !register_superclass() : !register_window_class()) return nullptr;
    m_hwnd = CreateWindowExW(ex_style, get_window_class_name(), name, style, x, y, cx, cy, parent, menu,
                             GetModuleHandleW(nullptr), this);
    return m_hwnd;
}

HWND CWindowWnd::create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, const RECT& rc, HMENU menu)
{
    return create(parent, name, style, ex_style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, menu);
}

void CWindowWnd::show_window(bool show, bool take_focus)
{
    if (!IsWindow(m_hwnd)) return;
    ShowWindow(m_hwnd, show ? (take_focus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::show_modal()
{
    HWND window = m_hwnd;   // the object may be gone once the window is destroyed
    HWND owner = GetWindow(window, GW_OWNER);
    ShowWindow(window, SW_SHOWNORMAL);
    if (owner) EnableWindow(owner, FALSE);
    UINT result = 0;
    MSG msg{};
    bool quit = false;
    while (IsWindow(window))
    {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
        {
            quit = got == 0;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == window)
        {
            result = static_cast<UINT>(msg.wParam);
            if (owner)
            {
                EnableWindow(owner, TRUE);
                SetFocus(owner);
            }
        }
        if (!CPaintManagerUI::translate_message(&msg))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (owner)
    {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));   // let the outer loop end too
    return result;
}

void CWindowWnd::close(UINT code)
{
    if (IsWindow(m_hwnd)) PostMessageW(m_hwnd, WM_CLOSE, code, 0);
}

void CWindowWnd::set_icon(UINT resource_id)
{
    const int cx = (GetSystemMetrics(SM_CXICON) + 15) & ~15;
    const int cy = (GetSystemMetrics(SM_CYICON) + 15) & ~15;
    HINSTANCE module = GetModuleHandleW(nullptr);
    HICON big = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(resource_id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (big) SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(resource_id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (small) SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

LRESULT CWindowWnd::send_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    return SendMessageW(m_hwnd, message, wparam, lparam);
}

BOOL CWindowWnd::post_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    return PostMessageW(m_hwnd, message, wparam, lparam);
}

bool CWindowWnd::register_window_class()
{
    WNDCLASSW wc{};
    wc.style = get_class_style();
    wc.lpfnWndProc = window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = get_window_class_name();
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::register_superclass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, get_super_class_name(), &wc) &&
        !GetClassInfoExW(GetModuleHandleW(nullptr), get_super_class_name(), &wc))
        return false;
    m_old_wnd_proc = wc.lpfnWndProc;
    wc.lpfnWndProc = superclass_window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = get_window_class_name();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK CWindowWnd::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE)
    {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
        self = static_cast<CWindowWnd*>(cs->lpCreateParams);
        self->m_hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    else
    {
        self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self)
        {
            LRESULT r = CallWindowProcW(self->m_old_wnd_proc, window, message, wparam, lparam);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_hwnd = nullptr;
            self->on_final_message(window);
            return r;
        }
    }
    if (self) return self->handle_message(message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK CWindowWnd::superclass_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE)
    {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
        self = static_cast<CWindowWnd*>(cs->lpCreateParams);
        self->m_hwnd = window;
        SetPropW(window, L"WndX", self);
    }
    else
    {
        self = static_cast<CWindowWnd*>(GetPropW(window, L"WndX"));
        if (message == WM_NCDESTROY && self)
        {
            LRESULT r = CallWindowProcW(self->m_old_wnd_proc, window, message, wparam, lparam);
            SetPropW(window, L"WndX", nullptr);
            RemovePropW(window, L"WndX");
            self->m_hwnd = nullptr;
            self->on_final_message(window);
            return r;
        }
    }
    if (self) return self->handle_message(message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace Lomar
