// CNotifyPump: notifications to handler methods through static message maps, with routing
// of virtual-window subtrees to separately registered pumps.
#pragma once

#include <windows.h>

#include "core/UIStringMap.h"
#include "window/UINotify.h"

namespace Lomar {

class CNotifyPump;

using NotifyRecordHandler = void (CNotifyPump::*)(UINotify& msg);
using NotifyParamsHandler = void (CNotifyPump::*)(WPARAM wparam, LPARAM lparam);

enum
{
    NOTIFY_SIG_END = 0,
    NOTIFY_SIG_PARAMS = 1,   // the handler takes wparam and lparam
    NOTIFY_SIG_RECORD = 2,   // the handler takes the UINotify record
};

struct NotifyMapEntry
{
    const wchar_t* type;      // matched exactly
    const wchar_t* control;   // sender name; empty matches any sender
    unsigned signature;
    NotifyRecordHandler on_record;
    NotifyParamsHandler on_params;
};

struct NotifyMap
{
    const NotifyMap* base;
    const NotifyMapEntry* entries;   // ended by an entry with signature 0
};

// Map entries for handlers of a class derived from CNotifyPump.
#define VX_NOTIFY_RECORD(type, control, cls, method) \
    { type, control, ::Lomar::NOTIFY_SIG_RECORD, static_cast<::Lomar::NotifyRecordHandler>(&cls::method), nullptr }
#define VX_NOTIFY_PARAMS(type, control, cls, method) \
    { type, control, ::Lomar::NOTIFY_SIG_PARAMS, nullptr, static_cast<::Lomar::NotifyParamsHandler>(&cls::method) }
#define VX_NOTIFY_END { nullptr, nullptr, ::Lomar::NOTIFY_SIG_END, nullptr, nullptr }

class CNotifyPump
{
public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;

    virtual const NotifyMap* get_message_map() const;

    bool add_virtual_wnd(const wchar_t* name, CNotifyPump* pump);
    bool remove_virtual_wnd(const wchar_t* name);
    void notify_pump(UINotify& msg);
    bool loop_dispatch(UINotify& msg);

    static const NotifyMap s_message_map;

private:
    CUIStringMap m_virtual_wnds;   // name -> pump (not owned)
};

} // namespace Lomar
