#include "window/WindowImplBase.h"

#include <cwchar>

#include "builder/SkinBuilder.h"
#include "controls/ControlUI.h"

namespace Lomar {

namespace {

const NotifyMapEntry kEntries[] = {
    VX_NOTIFY_RECORD(L"click", L"", WindowImplBase, on_click),
    VX_NOTIFY_END,
};

const wchar_t* const kStaticTypes[] = {
    L"controlui",         L"textui",          L"labelui",        L"containerui",      L"horizontallayoutui",
    L"verticallayoutui",  L"tablayoutui",     L"childlayoutui",  L"dialoglayoutui",   L"progresscontainerui",
};

} // namespace

const NotifyMap WindowImplBase::s_message_map = {&CNotifyPump::s_message_map, kEntries};

const wchar_t* skin_load_failure_prefix() { return L"加载资源文件失败："; }

const NotifyMap* WindowImplBase::get_message_map() const { return &s_message_map; }
const wchar_t* WindowImplBase::get_super_class_name() const { return nullptr; }
UINT WindowImplBase::get_class_style() const { return CS_DBLCLKS; }

WindowImplBase::~WindowImplBase() {}

void WindowImplBase::on_final_message(HWND)
{
    m_manager.remove_pre_message_filter(this);
    m_manager.remove_notifier(this);
    if (m_manager.get_root()) m_manager.forget_control(m_manager.get_root());
}

void WindowImplBase::reserved_hook() {}
void WindowImplBase::init_window() {}

void WindowImplBase::on_click(UINotify& msg)
{
    CUIString name = msg.sender ? msg.sender->get_name() : CUIString();
    if (name == L"closebtn")
        close(1);
    else if (name == L"minbtn")
        SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn")
        SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn")
        SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool WindowImplBase::is_in_static_control(CControlUI* control)
{
    if (!control) return false;
    for (CControlUI* c = control; c; c = c->get_parent())
    {
        CUIString type(c->get_type_name());
        type.make_lower();
        bool known = false;
        for (const wchar_t* t : kStaticTypes) known = known || type == t;
        if (!known) return false;
    }
    return true;
}

const wchar_t* WindowImplBase::get_skin_type() { return L""; }
const wchar_t* WindowImplBase::get_manager_name() { return nullptr; }
LRESULT WindowImplBase::response_default_key_event(WPARAM wparam) { return wparam == VK_ESCAPE ? 1 : 0; }

LRESULT WindowImplBase::on_close(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_destroy(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_nc_activate(UINT, WPARAM wparam, LPARAM, bool& handled)
{
    if (IsIconic(m_hwnd)) handled = false;
    return wparam == 0 ? 1 : 0;
}
LRESULT WindowImplBase::on_nc_calc_size(UINT, WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::on_nc_paint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::on_nc_hit_test(UINT, WPARAM, LPARAM lparam, bool&)
{
    POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ScreenToClient(m_hwnd, &pt);
    RECT rc;
    GetClientRect(m_hwnd, &rc);
    if (!IsZoomed(m_hwnd))
    {
        const CUIRect s = m_manager.get_sizebox();
        if (pt.y < rc.top + s.top)
        {
            if (pt.x < rc.left + s.left) return HTTOPLEFT;
            if (pt.x > rc.right - s.right) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > rc.bottom - s.bottom)
        {
            if (pt.x < rc.left + s.left) return HTBOTTOMLEFT;
            if (pt.x > rc.right - s.right) return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (pt.x < rc.left + s.left) return HTLEFT;
        if (pt.x > rc.right - s.right) return HTRIGHT;
    }
    const CUIRect k = m_manager.get_caption_rect();
    const LONG bottom = k.bottom < 0 ? rc.bottom : k.bottom;
    if (pt.x >= rc.left + k.left && pt.x < rc.right - k.right && pt.y >= k.top && pt.y < bottom)
        if (is_in_static_control(m_manager.find_control_at(CUIPoint(pt)))) return HTCAPTION;
    return HTCLIENT;
}

LRESULT WindowImplBase::on_get_min_max_info(UINT, WPARAM, LPARAM lparam, bool&)
{
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lparam);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    HMONITOR monitor = MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY);
    GetMonitorInfoW(monitor, &mi);
    RECT work = mi.rcWork;
    if (!(mi.dwFlags & MONITORINFOF_PRIMARY)) OffsetRect(&work, -work.left, -work.top);
    mmi->ptMaxPosition.x = work.left;
    mmi->ptMaxPosition.y = work.top;
    mmi->ptMaxSize.x = work.right - work.left;
    mmi->ptMaxSize.y = work.bottom - work.top;
    const CUISize mx = m_manager.get_max_info(), mn = m_manager.get_min_info();
    mmi->ptMaxTrackSize.x = mx.cx ? mx.cx : work.right - work.left;
    mmi->ptMaxTrackSize.y = mx.cy ? mx.cy : work.bottom - work.top;
    mmi->ptMinTrackSize.x = mn.cx;
    mmi->ptMinTrackSize.y = mn.cy;
    return 0;
}

LRESULT WindowImplBase::on_mouse_wheel(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_mouse_hover(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LRESULT WindowImplBase::on_size(UINT, WPARAM, LPARAM, bool& handled)
{
    if (!IsIconic(m_hwnd))
    {
        RECT r;
        GetWindowRect(m_hwnd, &r);
        const CUISize round = m_manager.get_round_corner();
        HRGN rgn = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, round.cx, round.cy);
        SetWindowRgn(m_hwnd, rgn, TRUE);   // the system owns the region now
    }
    handled = false;
    return 0;
}

LRESULT WindowImplBase::on_char(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LRESULT WindowImplBase::on_sys_command(UINT message, WPARAM wparam, LPARAM lparam, bool&)
{
    if (wparam == SC_CLOSE)
    {
        SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
    const BOOL was_zoomed = IsZoomed(m_hwnd);
    LRESULT r = CWindowWnd::handle_message(message, wparam, lparam);
    if (IsWindow(m_hwnd) && was_zoomed != IsZoomed(m_hwnd))
    {
        CControlUI* max_btn = m_manager.find_control_by_name(L"maxbtn");
        CControlUI* restore_btn = m_manager.find_control_by_name(L"restorebtn");
        const bool zoomed = IsZoomed(m_hwnd) != FALSE;
        if (max_btn) max_btn->set_visible(!zoomed);
        if (restore_btn) restore_btn->set_visible(zoomed);
    }
    return r;
}

LRESULT WindowImplBase::on_create(UINT, WPARAM, LPARAM, bool&)
{
    LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    SetWindowLongW(m_hwnd, GWL_STYLE, (style & static_cast<LONG>(0xFF3FFFFF)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_manager.init(m_hwnd, get_manager_name());
    m_manager.add_pre_message_filter(this);
    CSkinBuilder builder;
    const wchar_t* type = get_skin_type();
    CControlUI* root;
    if (!type || !*type)
        root = builder.create(get_skin_file(), nullptr, this, &m_manager);
    else
        root = builder.create(MAKEINTRESOURCEW(std::wcstol(get_skin_file(), nullptr, 10)), type, this, &m_manager);
    if (!root)
    {
        CUIString text(skin_load_failure_prefix());
        text += get_skin_file();
        MessageBoxW(nullptr, text, L"Lomar", MB_ICONERROR);
        ExitProcess(1);
    }
    m_manager.attach_root(root);
    m_manager.add_notifier(this);
    init_window();
    return 0;
}

LRESULT WindowImplBase::on_key_down(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_kill_focus(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_set_focus(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_lbutton_down(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_lbutton_up(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::on_mouse_move(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}
LRESULT WindowImplBase::handle_custom_message(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LONG WindowImplBase::get_style() { return GetWindowLongW(m_hwnd, GWL_STYLE) & static_cast<LONG>(0xFF3FFFFF); }

LRESULT WindowImplBase::handle_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    bool handled = true;
    switch (message)
    {
    case WM_CREATE: result = on_create(message, wparam, lparam, handled); break;
    case WM_DESTROY: result = on_destroy(message, wparam, lparam, handled); break;
    case WM_SIZE: result = on_size(message, wparam, lparam, handled); break;
    case WM_SETFOCUS: result = on_set_focus(message, wparam, lparam, handled); break;
    case WM_KILLFOCUS: result = on_kill_focus(message, wparam, lparam, handled); break;
    case WM_CLOSE: result = on_close(message, wparam, lparam, handled); break;
    case WM_GETMINMAXINFO: result = on_get_min_max_info(message, wparam, lparam, handled); break;
    case WM_NCCALCSIZE: result = on_nc_calc_size(message, wparam, lparam, handled); break;
    case WM_NCHITTEST: result = on_nc_hit_test(message, wparam, lparam, handled); break;
    case WM_NCPAINT: result = on_nc_paint(message, wparam, lparam, handled); break;
    case WM_NCACTIVATE: result = on_nc_activate(message, wparam, lparam, handled); break;
    case WM_KEYDOWN: result = on_key_down(message, wparam, lparam, handled); break;
    case WM_CHAR: result = on_char(message, wparam, lparam, handled); break;
    case WM_SYSCOMMAND: result = on_sys_command(message, wparam, lparam, handled); break;
    case WM_MOUSEMOVE: result = on_mouse_move(message, wparam, lparam, handled); break;
    case WM_LBUTTONDOWN: result = on_lbutton_down(message, wparam, lparam, handled); break;
    case WM_LBUTTONUP: result = on_lbutton_up(message, wparam, lparam, handled); break;
    case WM_MOUSEWHEEL: result = on_mouse_wheel(message, wparam, lparam, handled); break;
    case WM_MOUSEHOVER: result = on_mouse_hover(message, wparam, lparam, handled); break;
    default: handled = false; break;
    }
    if (handled) return result;
    result = handle_custom_message(message, wparam, lparam, handled);
    if (handled) return result;
    if (m_manager.message_handler(message, wparam, lparam, result)) return result;
    return CWindowWnd::handle_message(message, wparam, lparam);
}

void WindowImplBase::notify(UINotify& msg) { notify_pump(msg); }
LRESULT WindowImplBase::message_handler(UINT, WPARAM, LPARAM, bool&) { return 0; }
CControlUI* WindowImplBase::create_control(const wchar_t*) { return nullptr; }
const wchar_t* WindowImplBase::query(const wchar_t*, int) { return nullptr; }

} // namespace Lomar
