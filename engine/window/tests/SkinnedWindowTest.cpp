// Skinned top-level windows under Wine: creation, first frame, caption hit tests, clicks,
// modal loop results, Tab order, notification routing.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "controls/ButtonUI.h"
#include "controls/ContainerUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,200\" caption=\"0,0,0,40\" roundcorner=\"6,6\">"
    L"<VerticalLayout bkcolor=\"#FF202020\">"
    L"<HorizontalLayout height=\"40\"><Label name=\"title\" text=\"Title\"/>"
    L"<Button name=\"closebtn\" width=\"30\"/></HorizontalLayout>"
    L"<VerticalLayout virtualwnd=\"Page\"><Button name=\"one\" height=\"30\"/><Button name=\"two\" height=\"30\"/>"
    L"<Label name=\"note\" height=\"20\"/><Button name=\"three\" height=\"30\"/></VerticalLayout>"
    L"</VerticalLayout></Window>";

// Centre of a named control in client coordinates.
POINT centre(TestWindow& w, const wchar_t* name)
{
    const CUIRect& r = w.manager().find_control_by_name(name)->get_pos();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void click(HWND hwnd, POINT p)
{
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(p.x, p.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at(p.x, p.y));
}

} // namespace

TEST(SkinnedWindow, BuildsFrameAndSendsWindowInitOnceBeforeTheFirstFrame)
{
    TestWindow w(kSkin);
    ASSERT_NE(w.open(), nullptr);
    pump(300);
    EXPECT_FALSE(GetWindowLongW(w.get_hwnd(), GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(w.get_hwnd(), GWL_STYLE) & WS_CLIPCHILDREN);
    RECT rc;
    GetClientRect(w.get_hwnd(), &rc);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, 200);
    EXPECT_EQ(w.count(L"windowinit:"), 1);
    EXPECT_FALSE(w.painted_at_init);
    EXPECT_GE(w.count(L"windowsize:"), 1);
    ASSERT_FALSE(w.log.empty());
    EXPECT_EQ(std::find(w.log.begin(), w.log.end(), L"windowinit:") <
                  std::find(w.log.begin(), w.log.end(), L"windowsize:"),
              true);
    // Rounded corners: the window region leaves out the very corner pixel.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w.get_hwnd(), rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 150, 100));
    DeleteObject(rgn);
    // Laid out: the title row is 40 high, the page below it.
    EXPECT_EQ(w.manager().find_control_by_name(L"one")->get_pos(), CUIRect(0, 40, 300, 70));
    // After the first layout the focus went to the first tab stop.
    EXPECT_EQ(w.manager().get_focus(), w.manager().find_control_by_name(L"closebtn"));
    DestroyWindow(w.get_hwnd());
}

TEST(SkinnedWindow, CaptionHitTestKeepsButtonsClickable)
{
    TestWindow w(kSkin);
    w.open();
    pump(200);
    POINT origin{0, 0};
    ClientToScreen(w.get_hwnd(), &origin);
    auto hit = [&](int x, int y) {
        return SendMessageW(w.get_hwnd(), WM_NCHITTEST, 0, MAKELPARAM(origin.x + x, origin.y + y));
    };
    EXPECT_EQ(hit(20, 20), HTCAPTION);    // the title label
    POINT b = centre(w, L"closebtn");
    EXPECT_EQ(hit(b.x, b.y), HTCLIENT);   // the close button
    EXPECT_EQ(hit(20, 39), HTCAPTION);
    EXPECT_EQ(hit(20, 40), HTCLIENT);     // the caption ends at 40
    DestroyWindow(w.get_hwnd());
}

TEST(SkinnedWindow, ModalLoopReturnsTheCloseCode)
{
    {
        TestWindow w(kSkin);
        w.open();
        pump(200);
        click(w.get_hwnd(), centre(w, L"closebtn"));
        EXPECT_EQ(w.show_modal(), 1u);
        EXPECT_FALSE(IsWindow(w.get_hwnd()));
    }
    {
        TestWindow w(kSkin);
        w.open();
        w.close(0);
        EXPECT_EQ(w.show_modal(), 0u);
    }
    {
        TestWindow w(kSkin);
        HWND hwnd = w.open();
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(w.show_modal(), 0u);
    }
    {
        // A quit during a nested loop ends it and is posted again for the outer loop.
        TestWindow w(kSkin);
        HWND hwnd = w.open();
        PostQuitMessage(7);
        EXPECT_EQ(w.show_modal(), 0u);
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 7u);
        DestroyWindow(hwnd);
    }
}

TEST(SkinnedWindow, OwnerIsDisabledWhileTheModalLoopRuns)
{
    TestWindow owner(kSkin);
    owner.open();
    struct Box : TestWindow
    {
        using TestWindow::TestWindow;
        void init_window() override { SetTimer(get_hwnd(), 1, 50, nullptr); }
        LRESULT handle_custom_message(UINT message, WPARAM, LPARAM, bool& handled) override
        {
            handled = false;
            if (message == WM_TIMER)
            {
                owner_enabled = IsWindowEnabled(GetWindow(get_hwnd(), GW_OWNER)) != FALSE;
                close(5);
            }
            return 0;
        }
        bool owner_enabled = true;
    } box(kSkin);
    box.create(owner.get_hwnd(), L"box", WS_POPUP, 0, 60, 60, 300, 200);
    EXPECT_EQ(box.show_modal(), 5u);
    EXPECT_FALSE(box.owner_enabled);
    EXPECT_TRUE(IsWindowEnabled(owner.get_hwnd()));
    DestroyWindow(owner.get_hwnd());
}

TEST(SkinnedWindow, PressMoveOutReleaseSendsNoClick)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    POINT one = centre(w, L"one");
    POINT two = centre(w, L"two");
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at(one.x, one.y));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(one.x, one.y));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(two.x, two.y));
    pump(50);
    // The held button keeps the hover; the second button shows nothing.
    auto* b2 = static_cast<CButtonUI*>(w.manager().find_control_by_name(L"two"));
    EXPECT_EQ(b2->get_state() & UISTATE_HOT, 0u);
    EXPECT_EQ(w.manager().get_capture(), w.manager().find_control_by_name(L"one"));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at(two.x, two.y));
    pump(50);
    EXPECT_EQ(w.count(L"click:one"), 0);
    EXPECT_EQ(w.count(L"click:two"), 0);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(one.x, one.y));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(two.x, two.y));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(one.x, one.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at(one.x, one.y));
    pump(50);
    EXPECT_EQ(w.count(L"click:one"), 1);
    DestroyWindow(hwnd);
}

TEST(SkinnedWindow, TabAndShiftTabWrapAroundTheTabStops)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    auto name_of_focus = [&]() { return std::wstring(w.manager().get_focus()->get_name().data()); };
    auto press_tab = [&](bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        EXPECT_TRUE(CPaintManagerUI::translate_message(&msg));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    ASSERT_NE(w.manager().get_focus(), nullptr);
    EXPECT_EQ(name_of_focus(), L"closebtn");
    press_tab(false);
    EXPECT_EQ(name_of_focus(), L"one");
    press_tab(false);
    press_tab(false);
    EXPECT_EQ(name_of_focus(), L"three");
    press_tab(false);
    EXPECT_EQ(name_of_focus(), L"closebtn");   // wraps to the first
    press_tab(true);
    EXPECT_EQ(name_of_focus(), L"three");      // and back to the last
    // Space on the focused button clicks it.
    PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    pump(50);
    EXPECT_EQ(w.count(L"click:three"), 1);
    DestroyWindow(hwnd);
}

namespace {

struct PagePump : CNotifyPump
{
    void on_page_click(UINotify& msg) { clicks.push_back(msg.sender->get_name().data()); }
    void on_one(WPARAM, LPARAM) { ++one; }
    const NotifyMap* get_message_map() const override { return &s_map; }
    static const NotifyMapEntry s_entries[];
    static const NotifyMap s_map;
    std::vector<std::wstring> clicks;
    int one = 0;
};
const NotifyMapEntry PagePump::s_entries[] = {
    VX_NOTIFY_RECORD(L"click", L"", PagePump, on_page_click),
    VX_NOTIFY_PARAMS(L"click", L"one", PagePump, on_one),
    VX_NOTIFY_END,
};
const NotifyMap PagePump::s_map = {&CNotifyPump::s_message_map, PagePump::s_entries};

} // namespace

TEST(SkinnedWindow, VirtualWindowRoutingIgnoresCaseAndPrefersNamedEntries)
{
    TestWindow w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    PagePump page;
    EXPECT_TRUE(w.add_virtual_wnd(L"page", &page));   // differs in case from "Page"
    EXPECT_TRUE(w.add_virtual_wnd(L"PAGE", &page));   // the table itself is case-sensitive
    EXPECT_FALSE(w.add_virtual_wnd(L"page", &page));
    click(hwnd, centre(w, L"one"));
    click(hwnd, centre(w, L"two"));
    pump(80);
    EXPECT_EQ(page.one, 1);                                       // the named entry only
    EXPECT_EQ(page.clicks, (std::vector<std::wstring>{L"two"}));
    w.remove_virtual_wnd(L"page");
    w.remove_virtual_wnd(L"PAGE");
    DestroyWindow(hwnd);
}

TEST(SkinnedWindow, ControlRemovedDuringAClickIsDeletedAfterTheMessage)
{
    struct Remover : TestWindow
    {
        using TestWindow::TestWindow;
        void on_click(UINotify& msg) override
        {
            if (msg.sender && msg.sender->get_name() == L"one")
            {
                auto* parent = static_cast<CContainerUI*>(msg.sender->get_parent()->query_interface(L"Container"));
                destroyed_in_handler = false;
                msg.sender->destroy_hooks.add([this](CControlUI&) { destroyed_in_handler = in_handler; return true; });
                in_handler = true;
                parent->remove(msg.sender);
                in_handler = false;
                removed = true;
            }
        }
        bool in_handler = false, removed = false, destroyed_in_handler = true;
    } w(kSkin);
    HWND hwnd = w.open();
    pump(200);
    click(hwnd, centre(w, L"one"));
    pump(100);
    EXPECT_TRUE(w.removed);
    EXPECT_FALSE(w.destroyed_in_handler);
    EXPECT_EQ(w.manager().find_control_by_name(L"one"), nullptr);
    EXPECT_EQ(w.manager().delayed_cleanup_count(), 0);
    DestroyWindow(hwnd);
}
