// CPaintManagerUI: window messages turned into control events (mouse, keyboard, tooltips).
#include <windows.h>

#include <commctrl.h>
#include <cwchar>

#include "controls/ControlUI.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

CUIPoint point_of(LPARAM lparam)
{
    return CUIPoint(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
}

CUIPoint client_point_of_screen(HWND window, LPARAM lparam)
{
    POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ScreenToClient(window, &p);
    return CUIPoint(p);
}

struct ShortcutSearch
{
    wchar_t ch;
    bool found;
};

CControlUI* find_shortcut(CControlUI* control, void* data)
{
    auto* s = static_cast<ShortcutSearch*>(data);
    if (!control->is_visible()) return nullptr;
    if (control->get_shortcut() != 0 &&
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(control->get_shortcut())))) ==
            static_cast<UINT_PTR>(s->ch))
        s->found = true;
    if (s->found && std::wcsstr(control->get_type_name(), L"LabelUI") == nullptr) return control;
    return nullptr;
}

} // namespace

bool CPaintManagerUI::message_handler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result)
{
    if (!m_window) return false;

    for (int i = 0; i < m_message_filters.size(); ++i)
    {
        bool handled = false;
        LRESULT r = static_cast<IMessageFilterUI*>(m_message_filters[i])->message_handler(message, wparam, lparam,
                                                                                         handled);
        if (!handled) continue;
        result = r;
        if (message == WM_CONTEXTMENU || message == WM_MOUSEWHEEL)
            m_last_mouse = client_point_of_screen(m_window, lparam);
        else if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                 message == WM_LBUTTONDBLCLK)
            m_last_mouse = point_of(lparam);
        return true;
    }

    if (m_layered)
    {
        if (message == WM_NCCALCSIZE || message == WM_NCPAINT)
        {
            result = 0;
            return true;
        }
        if (message == WM_NCACTIVATE && !IsIconic(m_window))
        {
            result = wparam == 0 ? 1 : 0;
            return true;
        }
    }

    switch (message)
    {
    case WM_SIZE:
        if (m_focus) deliver(m_focus, UIEVENT_WINDOWSIZE, wparam, lparam, m_last_mouse, get_key_state());
        if (m_root) m_root->request_layout();
        result = 0;
        return true;
    case WM_SETFOCUS:
        if (m_focus) deliver(m_focus, UIEVENT_SETFOCUS, wparam, lparam, m_last_mouse, get_key_state());
        return false;
    case WM_KILLFOCUS:
        if (m_mouse_captured)
        {
            ReleaseCapture();
            m_mouse_captured = false;
        }
        return false;
    case WM_PAINT:
        handle_paint();
        result = 0;
        return true;
    case WM_TIMER:
        handle_timer(wparam, lparam);
        return false;
    case WM_UI_ASYNC:
        handle_async();
        return false;
    case WM_PRINTCLIENT:
    {
        if (!m_root) return false;
        HDC dc = reinterpret_cast<HDC>(wparam);
        int saved = SaveDC(dc);
        CUIRect client;
        GetClientRect(m_window, client.as_rect());
        m_root->paint(dc, client, nullptr);
        if (lparam & PRF_CHILDREN)
            for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            {
                RECT r;
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&r), 2);
                SetWindowOrgEx(dc, -r.left, -r.top, nullptr);
                SendMessageW(child, WM_PRINT, wparam, lparam | PRF_NONCLIENT);
            }
        RestoreDC(dc, saved);
        return false;
    }
    case WM_CLOSE:
    {
        const uint16_t ks = get_key_state();
        if (m_hover) deliver(m_hover, UIEVENT_MOUSELEAVE, wparam, lparam, m_last_mouse, ks);
        if (m_capture) deliver(m_capture, UIEVENT_BUTTONUP, wparam, lparam, m_last_mouse, ks);
        set_focus(nullptr);
        HWND owner = GetWindow(m_window, GW_OWNER);
        if (GetActiveWindow() == m_window && owner) SetFocus(owner);
        if (m_tooltip_window)
        {
            DestroyWindow(m_tooltip_window);
            m_tooltip_window = nullptr;
        }
        return false;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SETCURSOR:
    {
        if (!m_root || LOWORD(lparam) != HTCLIENT) return false;
        if (m_mouse_captured)
        {
            result = TRUE;
            return true;
        }
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(m_window, &pt);
        CControlUI* c = find_control_at(CUIPoint(pt));
        if (!c || !(c->get_control_flags() & UIFLAG_SETCURSOR)) return false;
        deliver(c, UIEVENT_SETCURSOR, wparam, lparam, CUIPoint(pt), get_key_state());
        result = TRUE;
        return true;
    }
    case WM_GETMINMAXINFO:
    {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lparam);
        const CUISize mn = get_min_info(), mx = get_max_info();
        if (mn.cx > 0) mmi->ptMinTrackSize.x = mn.cx;
        if (mn.cy > 0) mmi->ptMinTrackSize.y = mn.cy;
        if (mx.cx > 0) mmi->ptMaxTrackSize.x = mmi->ptMaxSize.x = mx.cx;
        if (mx.cy > 0) mmi->ptMaxTrackSize.y = mmi->ptMaxSize.y = mx.cy;
        return false;
    }
    case WM_NOTIFY:
        if (lparam == 0) return false;
        result = SendMessageW(reinterpret_cast<NMHDR*>(lparam)->hwndFrom, WM_NOTIFY + 0x2000, wparam, lparam);
        return true;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lparam == 0) return false;
        result = SendMessageW(reinterpret_cast<HWND>(lparam), message + 0x2000, wparam, lparam);
        return result != 0;
    case WM_KEYDOWN:
        if (!m_root || !m_focus) return false;
        deliver(m_focus, UIEVENT_KEYDOWN, wparam, lparam, m_last_mouse, get_key_state(), nullptr,
                static_cast<wchar_t>(wparam));
        m_key_pressed = m_focus;
        return false;
    case WM_KEYUP:
        if (!m_root || !m_key_pressed) return false;
        deliver(m_key_pressed, UIEVENT_KEYUP, wparam, lparam, m_last_mouse, get_key_state(), nullptr,
                static_cast<wchar_t>(wparam));
        m_key_pressed = nullptr;
        return false;
    case WM_CHAR:
        if (!m_root || !m_focus) return false;
        deliver(m_focus, UIEVENT_CHAR, wparam, lparam, m_last_mouse, get_key_state(), nullptr,
                static_cast<wchar_t>(wparam));
        return false;
    case WM_MOUSEMOVE:
        handle_mouse_move(wparam, lparam);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        if (!m_no_activate) SetFocus(m_window);
        if (!m_root) return false;
        const CUIPoint pt = point_of(lparam);
        m_last_mouse = pt;
        CControlUI* c = find_control_at(pt);
        if (!c || c->get_manager() != this) return false;
        SetCapture(m_window);
        m_mouse_captured = true;
        if (message == WM_LBUTTONDOWN)
        {
            m_capture = c;
            c->set_focus();
            deliver(c, UIEVENT_BUTTONDOWN, wparam, lparam, pt, static_cast<uint16_t>(wparam));
        }
        else
        {
            deliver(c, UIEVENT_DBLCLICK, wparam, lparam, pt, static_cast<uint16_t>(wparam));
            m_capture = c;
        }
        return false;
    }
    case WM_LBUTTONUP:
    {
        const CUIPoint pt = point_of(lparam);
        m_last_mouse = pt;
        if (!m_capture) return false;
        ReleaseCapture();
        m_mouse_captured = false;
        CControlUI* c = m_capture;
        m_capture = nullptr;
        deliver(c, UIEVENT_BUTTONUP, wparam, lparam, pt, static_cast<uint16_t>(wparam));
        return false;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    {
        if (!m_no_activate) SetFocus(m_window);
        if (!m_root) return false;
        const CUIPoint pt = point_of(lparam);
        m_last_mouse = pt;
        CControlUI* c = find_control_at(pt);
        if (!c || c->get_manager() != this) return false;
        c->set_focus();
        SetCapture(m_window);
        m_mouse_captured = true;
        deliver(c, message == WM_RBUTTONDOWN ? UIEVENT_RBUTTONDOWN : UIEVENT_MBUTTONDOWN, wparam, lparam, pt,
                static_cast<uint16_t>(wparam));
        m_capture = c;
        return false;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    {
        const CUIPoint pt = point_of(lparam);
        m_last_mouse = pt;
        if (m_mouse_captured)
        {
            ReleaseCapture();
            m_mouse_captured = false;
        }
        m_capture = find_control_at(pt);
        if (m_capture)
            deliver(m_capture, message == WM_RBUTTONUP ? UIEVENT_RBUTTONUP : UIEVENT_MBUTTONUP, wparam, lparam, pt,
                    static_cast<uint16_t>(wparam));
        return false;
    }
    case WM_CONTEXTMENU:
    {
        if (!m_root) return false;
        const CUIPoint pt = client_point_of_screen(m_window, lparam);
        m_last_mouse = pt;
        if (!m_capture) return false;
        if (m_mouse_captured)
        {
            ReleaseCapture();
            m_mouse_captured = false;
        }
        CControlUI* c = m_capture;
        deliver(c, UIEVENT_CONTEXTMENU, wparam, reinterpret_cast<LPARAM>(c), pt, static_cast<uint16_t>(wparam));
        m_capture = nullptr;
        return false;
    }
    case WM_MOUSEWHEEL:
    {
        if (!m_root) return false;
        const CUIPoint pt = client_point_of_screen(m_window, lparam);
        m_last_mouse = pt;
        CControlUI* c = find_control_at(pt);
        if (!c || c->get_manager() != this) return false;
        const short delta = static_cast<short>(HIWORD(wparam));
        const WPARAM wp = MAKEWPARAM(delta < 0 ? 1 : 0, HIWORD(wparam));
        deliver(c, UIEVENT_SCROLLWHEEL, wp, lparam, pt, get_key_state());
        SendMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(m_last_mouse.x, m_last_mouse.y));
        return false;
    }
    case WM_MOUSEHOVER:
    {
        m_mouse_tracking = false;
        const CUIPoint pt = point_of(lparam);
        CControlUI* c = find_control_at(pt);
        if (!c) return false;
        if (m_hover) deliver(m_hover, UIEVENT_MOUSEHOVER, wparam, lparam, pt, get_key_state());
        CUIString tip = c->get_tooltip();
        if (!tip.is_empty())
        {
            auto* ti = reinterpret_cast<TOOLINFOW*>(m_tooltip_info);
            static_assert(sizeof(TOOLINFOW) <= sizeof(m_tooltip_info), "tool record fits");
            static CUIString s_tip;   // the tool text must outlive this call
            s_tip = tip;
            ZeroMemory(ti, sizeof(TOOLINFOW));
            ti->cbSize = TTTOOLINFOW_V2_SIZE;
            ti->uFlags = TTF_IDISHWND;
            ti->hwnd = m_window;
            ti->uId = reinterpret_cast<UINT_PTR>(m_window);
            ti->hinst = GetModuleHandleW(nullptr);
            ti->lpszText = const_cast<LPWSTR>(s_tip.data());
            ti->rect = RECT(c->get_pos());
            if (!m_tooltip_window)
            {
                m_tooltip_window = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                                   m_window, nullptr, GetModuleHandleW(nullptr), nullptr);
                if (m_tooltip_window)
                {
                    SendMessageW(m_tooltip_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(ti));
                    SendMessageW(m_tooltip_window, TTM_SETMAXTIPWIDTH, 0, c->get_tooltip_width());
                }
            }
            if (m_tooltip_window && !IsWindowVisible(m_tooltip_window))
            {
                SendMessageW(m_tooltip_window, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(ti));
                SendMessageW(m_tooltip_window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(ti));
            }
        }
        result = 0;
        return true;
    }
    case WM_MOUSELEAVE:
    {
        if (m_tooltip_window)
            SendMessageW(m_tooltip_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(m_tooltip_info));
        if (m_mouse_tracking)
        {
            POINT pt;
            RECT wr;
            GetCursorPos(&pt);
            GetWindowRect(m_window, &wr);
            if (!IsIconic(m_window) && GetActiveWindow() == m_window && PtInRect(&wr, pt) &&
                SendMessageW(m_window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCLIENT)
            {
                ScreenToClient(m_window, &pt);
                SendMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            }
            else
                SendMessageW(m_window, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        }
        m_mouse_tracking = false;
        return false;
    }
    default:
        return false;
    }
}

void CPaintManagerUI::handle_mouse_move(WPARAM wparam, LPARAM lparam)
{
    if (!m_mouse_tracking)
    {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_window;
        tme.dwHoverTime = m_tooltip_window
                              ? static_cast<DWORD>(SendMessageW(m_tooltip_window, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                              : static_cast<DWORD>(m_hover_time);
        TrackMouseEvent(&tme);
        m_mouse_tracking = true;
    }
    const CUIPoint pt = point_of(lparam);
    m_last_mouse = pt;
    CControlUI* c = find_control_at(pt);
    if (c && c->get_manager() != this) return;
    const uint16_t ks = get_key_state();
    if (!m_mouse_captured)
    {
        if (c != m_hover && m_hover)
        {
            CUIPtrArray extra(m_mouse_leave_controls);
            for (int i = 0; i < extra.size(); ++i)
                deliver(static_cast<CControlUI*>(extra[i]), UIEVENT_MOUSELEAVE, wparam, lparam, pt, ks, m_hover);
            if (m_hover) deliver(m_hover, UIEVENT_MOUSELEAVE, wparam, lparam, pt, ks);
            m_hover = nullptr;
            if (m_tooltip_window)
                SendMessageW(m_tooltip_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(m_tooltip_info));
        }
        if (c != m_hover && c)
        {
            deliver(c, UIEVENT_MOUSEENTER, wparam, lparam, pt, ks);
            m_hover = c;
        }
    }
    if (m_capture)
        deliver(m_capture, UIEVENT_MOUSEMOVE, wparam, lparam, pt, ks);
    else if (c)
        deliver(c, UIEVENT_MOUSEMOVE, wparam, lparam, pt, ks);
}

bool CPaintManagerUI::translate_accelerator(MSG* msg)
{
    for (int i = 0; i < m_translate_accelerators.size(); ++i)
        if (static_cast<ITranslateAccelerator*>(m_translate_accelerators[i])->translate_accelerator(msg) == 0)
            return true;
    return false;
}

bool CPaintManagerUI::pre_message_handler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& /*result*/)
{
    for (int i = 0; i < m_pre_message_filters.size(); ++i)
    {
        bool handled = false;
        static_cast<IMessageFilterUI*>(m_pre_message_filters[i])->message_handler(message, wparam, lparam, handled);
        if (handled) return true;
    }
    switch (message)
    {
    case WM_KEYDOWN:
        if (wparam == VK_TAB)
        {
            set_next_tab_control(GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        return false;
    case WM_SYSKEYDOWN:
        if (m_focus)
            deliver(m_focus, UIEVENT_SYSKEY, wparam, lparam, m_last_mouse, get_key_state(), nullptr,
                    static_cast<wchar_t>(wparam));
        return false;
    case WM_SYSCHAR:
    {
        if (!m_root) return false;
        ShortcutSearch s{static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
                             CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(static_cast<wchar_t>(wparam)))))),
                         false};
        // Document order, so that a label's key lands on the control that follows it (a
        // last-to-first walk would reach the label after its followers and find nothing).
        CControlUI* target = m_root->find_control(find_shortcut, &s, UIFIND_ME_FIRST | UIFIND_ENABLED);
        if (!target) return false;
        target->set_focus();
        target->activate();
        return true;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::translate_message(const MSG* msg)
{
    MSG copy = *msg;
    LRESULT result = 0;
    const int n = manager_count();
    if (GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD)
    {
        for (int i = 0; i < n; ++i)
        {
            CPaintManagerUI* m = manager_at(i);
            for (HWND w = GetParent(msg->hwnd); w; w = GetParent(w))
            {
                if (m->get_window() != msg->hwnd && m->get_window() != w) continue;
                if (m->translate_accelerator(&copy)) return true;
                m->pre_message_handler(msg->message, msg->wParam, msg->lParam, result);
            }
        }
        return false;
    }
    for (int i = 0; i < n; ++i)
    {
        CPaintManagerUI* m = manager_at(i);
        if (m->get_window() != msg->hwnd) continue;
        return m->translate_accelerator(&copy) || m->pre_message_handler(msg->message, msg->wParam, msg->lParam, result);
    }
    return false;
}

} // namespace Lomar
