// CPaintManagerUI: keyboard focus, Tab order and the deferred focus move.
#include "controls/ControlUI.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

struct TabSearch
{
    CControlUI* start;     // the focused control, may be null
    bool forward;
    CControlUI* last;      // last tab stop seen
    bool passed;           // the start has been seen
};

CControlUI* next_tab_stop(CControlUI* control, void* data)
{
    auto* s = static_cast<TabSearch*>(data);
    if (control == s->start)
    {
        if (s->forward)
            s->passed = true;
        else if (s->last)
            return s->last;
        return nullptr;
    }
    if (!(control->get_control_flags() & UIFLAG_TABSTOP)) return nullptr;
    s->last = control;
    if (s->passed || !s->start) return control;
    return nullptr;
}

const uint32_t kTabFlags = UIFIND_ME_FIRST | UIFIND_VISIBLE | UIFIND_ENABLED;

} // namespace

void CPaintManagerUI::deliver(CControlUI* control, int type, WPARAM wparam, LPARAM lparam, CUIPoint mouse,
                              uint16_t key_state, CControlUI* sender, wchar_t key)
{
    if (!control) return;
    UIEvent event;
    event.type = type;
    event.sender = sender ? sender : control;
    event.timestamp = GetTickCount();
    event.mouse = mouse;
    event.key = key;
    event.key_state = key_state;
    event.wparam = wparam;
    event.lparam = lparam;
    control->dispatch_event(event);
}

void CPaintManagerUI::set_focus(CControlUI* control)
{
    if (m_window && GetFocus() != m_window && control != m_focus) SetFocus(m_window);
    if (control == m_focus) return;
    if (m_focus)
    {
        CControlUI* old = m_focus;
        UIEvent event;
        event.type = UIEVENT_KILLFOCUS;
        event.sender = control;
        event.timestamp = GetTickCount();
        old->dispatch_event(event);
        send_notify(old, L"killfocus");
        m_focus = nullptr;
    }
    if (!control) return;
    if (control->get_manager() != this || !control->is_visible() || !control->is_enabled()) return;
    m_focus = control;
    deliver(control, UIEVENT_SETFOCUS, 0, 0, m_last_mouse, 0);
    send_notify(control, L"setfocus");
}

bool CPaintManagerUI::set_next_tab_control(bool forward)
{
    if (m_update_needed && forward)
    {
        m_focus_needed = true;
        if (m_window) InvalidateRect(m_window, nullptr, FALSE);
        return true;
    }
    CControlUI* found = nullptr;
    if (m_root)
    {
        TabSearch s{m_focus, forward, nullptr, false};
        found = m_root->find_control(next_tab_stop, &s, kTabFlags);
        if (!found)
        {
            if (forward)
            {
                TabSearch again{nullptr, true, nullptr, false};
                found = m_root->find_control(next_tab_stop, &again, kTabFlags);
            }
            else
                found = s.last;
        }
    }
    if (found) set_focus(found);
    m_focus_needed = false;
    return true;
}

void CPaintManagerUI::set_focus_needed(CControlUI* control)
{
    if (m_window) SetFocus(m_window);
    if (!control) return;
    if (m_focus)
    {
        CControlUI* old = m_focus;
        UIEvent event;
        event.type = UIEVENT_KILLFOCUS;
        event.sender = control;
        event.timestamp = GetTickCount();
        old->dispatch_event(event);
        send_notify(old, L"killfocus");
        m_focus = nullptr;
    }
    // Start the forward move after the layout just before the control.
    CControlUI* before = nullptr;
    if (m_root)
    {
        TabSearch s{control, false, nullptr, false};
        before = m_root->find_control(next_tab_stop, &s, kTabFlags);
    }
    m_focus = before;
    m_focus_needed = true;
    if (m_root) m_root->request_layout();
}

uint16_t CPaintManagerUI::get_key_state()
{
    uint16_t state = 0;
    if (GetKeyState(VK_LBUTTON) < 0) state |= 0x01;
    if (GetKeyState(VK_RBUTTON) < 0) state |= 0x02;
    if (GetKeyState(VK_SHIFT) < 0) state |= 0x04;
    if (GetKeyState(VK_CONTROL) < 0) state |= 0x08;
    if (GetKeyState(VK_MENU) < 0) state |= 0x20;
    return state;
}

} // namespace Lomar
