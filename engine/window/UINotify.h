// UINotify: the notification record a control sends to the window's listeners.
#pragma once

#include <cstdint>

#include "core/UIRect.h"
#include "core/UIString.h"

namespace Lomar {

class CControlUI;

struct UINotify
{
    CUIString type;           // "click", "selectchanged", ...
    CUIString virtual_wnd;    // the sender's virtual-window name, when those are in use
    CControlUI* sender = nullptr;  // null when the sender died while the record was queued
    uint32_t timestamp = 0;
    CUIPoint mouse;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

} // namespace Lomar
