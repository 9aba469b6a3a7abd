// Input routing on a real window through posted messages: access keys, right button and
// context menu, wheel direction, cursor requests, key-up after a focus move.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "TestWindow.h"
#include "controls/ControlUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,200\"><VerticalLayout>"
    L"<Label name=\"caption\" text=\"Name\" shortcut=\"n\" height=\"20\"/>"
    L"<Button name=\"target\" height=\"30\" menu=\"true\"/>"
    L"<Button name=\"other\" height=\"30\" shortcut=\"o\" enabled=\"false\"/>"
    L"<Control name=\"plain\" height=\"30\"/>"
    L"</VerticalLayout></Window>";

struct EventLog
{
    std::vector<UIEvent> events;
    void watch(CControlUI* c)
    {
        c->event_hooks.add([this](UIEvent& e) {
            events.push_back(e);
            return true;
        });
    }
    const UIEvent* last(int type) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }
};

POINT centre(TestWindow& w, const wchar_t* name)
{
    const CUIRect& r = w.manager().find_control_by_name(name)->get_pos();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

TEST(Input, AltAccessKeyOfALabelActivatesTheNextControl)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    MSG msg{hwnd, WM_SYSCHAR, L'n', 0, 0, {0, 0}};
    EXPECT_TRUE(CPaintManagerUI::translate_message(&msg));
    EXPECT_EQ(w.count(L"click:target"), 1);
    EXPECT_EQ(w.manager().get_focus(), w.manager().find_control_by_name(L"target"));
    MSG disabled{hwnd, WM_SYSCHAR, L'O', 0, 0, {0, 0}};
    EXPECT_FALSE(CPaintManagerUI::translate_message(&disabled));   // disabled controls are passed over
    EXPECT_EQ(w.count(L"click:other"), 0);
    DestroyWindow(hwnd);
}

TEST(Input, RightClickGivesDownUpAndAContextMenuNamingTheControl)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    CControlUI* target = w.manager().find_control_by_name(L"target");
    EventLog log;
    log.watch(target);
    POINT p = centre(w, L"target");
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(w.manager().get_focus(), target);
    SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    POINT s = p;
    ClientToScreen(hwnd, &s);
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(s.x, s.y));
    ASSERT_NE(log.last(UIEVENT_RBUTTONDOWN), nullptr);
    ASSERT_NE(log.last(UIEVENT_RBUTTONUP), nullptr);
    const UIEvent* menu = log.last(UIEVENT_CONTEXTMENU);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->lparam, reinterpret_cast<intptr_t>(target));
    EXPECT_EQ(w.count(L"menu:target"), 1);
    EXPECT_EQ(w.manager().get_capture(), nullptr);
    DestroyWindow(hwnd);
}

TEST(Input, WheelDirectionInTheLowWord)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    EventLog log;
    log.watch(w.manager().find_control_by_name(L"plain"));
    POINT p = centre(w, L"plain");
    ClientToScreen(hwnd, &p);
    struct Row
    {
        short delta;
        WORD low;
    } rows[] = {{-120, 1}, {120, 0}};
    for (const Row& r : rows)
    {
        SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(r.delta)), MAKELPARAM(p.x, p.y));
        const UIEvent* e = log.last(UIEVENT_SCROLLWHEEL);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(LOWORD(e->wparam), r.low) << r.delta;
    }
    DestroyWindow(hwnd);
}

TEST(Input, KeyUpGoesToTheControlThatGotTheKeyDown)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    CControlUI* target = w.manager().find_control_by_name(L"target");
    EventLog log;
    log.watch(target);
    target->set_focus();
    SendMessageW(hwnd, WM_KEYDOWN, L'A', 0);
    w.manager().set_focus(nullptr);
    SendMessageW(hwnd, WM_KEYUP, L'A', 0);
    ASSERT_NE(log.last(UIEVENT_KEYDOWN), nullptr);
    ASSERT_NE(log.last(UIEVENT_KEYUP), nullptr);
    EXPECT_EQ(log.last(UIEVENT_KEYUP)->key, L'A');
    DestroyWindow(hwnd);
}

TEST(Input, SetCursorOnlyForControlsThatAskForIt)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    CControlUI* target = w.manager().find_control_by_name(L"target");
    CControlUI* plain = w.manager().find_control_by_name(L"plain");
    EventLog tlog, plog;
    tlog.watch(target);
    plog.watch(plain);
    auto cursor_over = [&](const wchar_t* name) {
        POINT p = centre(w, name);
        ClientToScreen(hwnd, &p);
        SetCursorPos(p.x, p.y);
        return SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    EXPECT_EQ(cursor_over(L"target"), TRUE);
    EXPECT_NE(tlog.last(UIEVENT_SETCURSOR), nullptr);
    cursor_over(L"plain");
    EXPECT_EQ(plog.last(UIEVENT_SETCURSOR), nullptr);   // a plain Control leaves the class cursor
    DestroyWindow(hwnd);
}

TEST(Input, HoverShowsTheTooltipWithTheFirstControlsMaximumWidth)
{
    TestWindow w(L"<Window size=\"300,200\"><VerticalLayout>"
                 L"<Button name=\"a\" height=\"40\" tooltip=\"first tip\"/>"
                 L"<Button name=\"b\" height=\"40\" tooltip=\"second\"/>"
                 L"<Button name=\"c\" height=\"40\"/></VerticalLayout></Window>");
    HWND hwnd = w.open();
    pump(200);
    w.manager().find_control_by_name(L"a")->set_tooltip_width(180);
    w.manager().find_control_by_name(L"b")->set_tooltip_width(90);
    auto hover = [&](int y) {
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, y));
        return SendMessageW(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(50, y));
    };
    hover(20);
    HWND tip = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr);
    while (tip && GetWindow(tip, GW_OWNER) != hwnd) tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 180);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, 60));   // to "b": the tip hides
    hover(60);
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 180);   // set once, by the first control
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(tip));   // closing destroys the tooltip window
}
