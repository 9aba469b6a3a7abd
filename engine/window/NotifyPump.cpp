#include "window/NotifyPump.h"

#include <cwchar>

#include "controls/ControlUI.h"

namespace Lomar {

namespace {
const NotifyMapEntry kNoEntries[] = {VX_NOTIFY_END};
} // namespace

const NotifyMap CNotifyPump::s_message_map = {nullptr, kNoEntries};

const NotifyMap* CNotifyPump::get_message_map() const { return &s_message_map; }

bool CNotifyPump::add_virtual_wnd(const wchar_t* name, CNotifyPump* pump)
{
    if (!name || m_virtual_wnds.find(name, false)) return false;
    return m_virtual_wnds.insert(name, pump);
}

bool CNotifyPump::remove_virtual_wnd(const wchar_t* name)
{
    if (!name || !m_virtual_wnds.find(name, false)) return false;
    return m_virtual_wnds.remove(name);
}

void CNotifyPump::notify_pump(UINotify& msg)
{
    if (!msg.virtual_wnd.is_empty())
    {
        for (int i = 0; i < m_virtual_wnds.get_size(); ++i)
        {
            const wchar_t* key = m_virtual_wnds.get_at(i);
            if (!key || _wcsicmp(key, msg.virtual_wnd) != 0) continue;
            auto* pump = static_cast<CNotifyPump*>(m_virtual_wnds.find(key, false));
            if (pump && pump->loop_dispatch(msg)) return;
        }
    }
    loop_dispatch(msg);
}

bool CNotifyPump::loop_dispatch(UINotify& msg)
{
    CUIString sender_name = msg.sender ? msg.sender->get_name() : CUIString();
    for (const NotifyMap* map = get_message_map(); map; map = map->base)
    {
        const NotifyMapEntry* chosen = nullptr;
        const NotifyMapEntry* any = nullptr;
        for (const NotifyMapEntry* e = map->entries; e->signature != NOTIFY_SIG_END; ++e)
        {
            if (msg.type != e->type) continue;
            if (e->control && *e->control)
            {
                if (sender_name == e->control)
                {
                    chosen = e;
                    break;
                }
            }
            else
                any = e;
        }
        if (!chosen) chosen = any;
        if (!chosen) continue;
        if (chosen->signature == NOTIFY_SIG_PARAMS)
            (this->*(chosen->on_params))(msg.wparam, msg.lparam);
        else if (chosen->signature == NOTIFY_SIG_RECORD)
            (this->*(chosen->on_record))(msg);
        else
            return false;
        return true;
    }
    return false;
}

} // namespace Lomar
