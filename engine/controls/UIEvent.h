// UIEvent: the input event record the paint manager and containers deliver to controls.
#pragma once

#include <cstdint>

#include "core/UIRect.h"

namespace Lomar {

class CControlUI;

enum UIEventType
{
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT_MOUSEMOVE = 9,      // first of the mouse range
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_RBUTTONUP = 16,
    UIEVENT_MBUTTONDOWN = 17,
    UIEVENT_MBUTTONUP = 18,
    UIEVENT_DBLCLICK = 19,
    UIEVENT_CONTEXTMENU = 20,
    UIEVENT_SCROLLWHEEL = 21,   // last of the mouse range
    UIEVENT_KILLFOCUS = 23,
    UIEVENT_SETFOCUS = 24,
    UIEVENT_WINDOWSIZE = 25,
    UIEVENT_SETCURSOR = 26,
    UIEVENT_TIMER = 27,
};

inline bool is_mouse_event(int type) { return type >= UIEVENT_MOUSEMOVE && type <= UIEVENT_SCROLLWHEEL; }

struct UIEvent
{
    int type = 0;
    CControlUI* sender = nullptr;  // for kill-focus: the control that gets the focus
    uint32_t timestamp = 0;
    CUIPoint mouse;
    wchar_t key = 0;               // virtual key, or the character of a char event
    uint16_t key_state = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

// Control flags returned by get_control_flags.
enum
{
    UIFLAG_TABSTOP = 0x00000001,    // takes the focus from the Tab key
    UIFLAG_SETCURSOR = 0x00000002,  // receives set-cursor events
};

// Flags of find_control.
enum
{
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,      // data is a CUIPoint
    UIFIND_UPDATETEST = 0x00000008,   // a container whose proc hits lays out its own subtree
    UIFIND_TOP_FIRST = 0x00000010,    // children from last to first
    UIFIND_ME_FIRST = 0x80000000,     // a container asks proc about itself before its children
};

} // namespace Lomar
