// Helpers for control tests: a manager without a window and a recording listener.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlUI.h"
#include "window/NotifyInterfaces.h"
#include "window/PaintManagerUI.h"

namespace Lomar {
namespace test {

struct RecordedNotify
{
    std::wstring type;
    CControlUI* sender;
    uintptr_t wparam;
    intptr_t lparam;
};

class RecordingNotifier : public INotifyUI
{
public:
    void notify(UINotify& msg) override
    {
        log.push_back(RecordedNotify{msg.type.data(), msg.sender, msg.wparam, msg.lparam});
    }
    std::vector<std::wstring> types() const
    {
        std::vector<std::wstring> t;
        for (const auto& r : log) t.push_back(r.type);
        return t;
    }
    std::vector<RecordedNotify> log;
};

inline UIEvent make_event(int type, CUIPoint mouse = CUIPoint(), wchar_t key = 0)
{
    UIEvent e;
    e.type = type;
    e.mouse = mouse;
    e.key = key;
    return e;
}

template <typename T>
T* with_attributes(T* control, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes)
{
    for (const auto& a : attributes) control->apply_attribute(a.first, a.second);
    return control;
}

} // namespace test
} // namespace Lomar
