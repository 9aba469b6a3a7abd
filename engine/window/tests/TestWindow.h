// A skinned test window built from markup, recording every notification it receives.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/ControlUI.h"
#include "window/WindowImplBase.h"

namespace Lomar {
namespace test {

class TestWindow : public WindowImplBase
{
public:
    explicit TestWindow(std::wstring skin) : m_skin(std::move(skin)) {}

    const wchar_t* get_window_class_name() const override { return L"VxTestSkinWindow"; }
    const wchar_t* get_skin_file() override { return m_skin.c_str(); }
    void notify(UINotify& msg) override
    {
        log.push_back(msg.type.data() + std::wstring(L":") + (msg.sender ? msg.sender->get_name().data() : L""));
        if (msg.type == L"windowinit") painted_at_init = painted;
        WindowImplBase::notify(msg);
    }
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override
    {
        LRESULT r = WindowImplBase::handle_message(message, wparam, lparam);
        if (message == WM_PAINT) painted = true;
        return r;
    }
    HWND open(int w = 300, int h = 200)
    {
        return create(nullptr, L"vx test window", WS_POPUP | WS_VISIBLE, 0, 40, 40, w, h);
    }
    int count(const std::wstring& entry) const
    {
        int n = 0;
        for (const auto& e : log) n += e == entry;
        return n;
    }

    std::vector<std::wstring> log;
    bool painted = false;
    bool painted_at_init = true;

private:
    std::wstring m_skin;
};

// Dispatches queued messages for up to ms milliseconds (or until the window is gone).
inline void pump(int ms = 100)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0)
    {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT) return;
            if (!CPaintManagerUI::translate_message(&msg))
            {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(5);
    }
}

inline LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

} // namespace test
} // namespace Lomar
