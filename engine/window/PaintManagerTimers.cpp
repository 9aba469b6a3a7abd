// CPaintManagerUI: control timers on top of Win32 timers, with reusable records.
#include "controls/ControlUI.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

bool CPaintManagerUI::set_timer(CControlUI* control, UINT_PTR id, UINT elapse_ms)
{
    for (int i = 0; i < m_timers.size(); ++i)
    {
        auto* t = static_cast<TimerRecord*>(m_timers[i]);
        if (t->control != control || t->id != id || t->window != m_window) continue;
        if (!t->killed) return false;
        if (!SetTimer(m_window, t->win32_id, elapse_ms, nullptr)) return false;
        t->killed = false;
        return true;
    }
    m_timer_counter = (m_timer_counter + 1) % 240;
    if (!m_window || !SetTimer(m_window, m_timer_counter, elapse_ms, nullptr)) return false;
    auto* t = new TimerRecord;
    t->control = control;
    t->id = id;
    t->window = m_window;
    t->win32_id = m_timer_counter;
    t->killed = false;
    m_timers.add(t);
    return true;
}

bool CPaintManagerUI::kill_timer(CControlUI* control, UINT_PTR id)
{
    for (int i = 0; i < m_timers.size(); ++i)
    {
        auto* t = static_cast<TimerRecord*>(m_timers[i]);
        if (t->control != control || t->id != id || t->window != m_window || t->killed) continue;
        if (IsWindow(m_window)) KillTimer(t->window, t->win32_id);
        t->killed = true;
        return true;
    }
    return false;
}

void CPaintManagerUI::kill_timers_of(CControlUI* control)
{
    for (int i = m_timers.size() - 1; i >= 0; --i)
    {
        auto* t = static_cast<TimerRecord*>(m_timers[i]);
        if (t->control != control || t->window != m_window) continue;
        if (!t->killed && IsWindow(m_window)) KillTimer(t->window, t->win32_id);
        delete t;
        m_timers.remove(i);
    }
}

void CPaintManagerUI::remove_all_timers()
{
    for (int i = 0; i < m_timers.size(); ++i)
    {
        auto* t = static_cast<TimerRecord*>(m_timers[i]);
        if (t->window == m_window && !t->killed && IsWindow(m_window)) KillTimer(t->window, t->win32_id);
        delete t;
    }
    m_timers.empty();
}

void CPaintManagerUI::handle_timer(WPARAM wparam, LPARAM lparam)
{
    for (int i = 0; i < m_timers.size(); ++i)
    {
        auto* t = static_cast<TimerRecord*>(m_timers[i]);
        if (t->window != m_window || t->win32_id != LOWORD(wparam) || t->killed) continue;
        UIEvent event;
        event.type = UIEVENT_TIMER;
        event.sender = t->control;
        event.timestamp = GetTickCount();
        event.mouse = m_last_mouse;
        event.key_state = get_key_state();
        event.wparam = t->id;
        event.lparam = lparam;
        t->control->dispatch_event(event);
        return;
    }
}

} // namespace Lomar
