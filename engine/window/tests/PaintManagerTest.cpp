// Paint manager behaviour on real windows: timers, invalidation, queued notifications,
// layered frames with the alpha repair.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "controls/ContainerUI.h"
#include "resources/DibSection.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

const wchar_t kPlain[] =
    L"<Window size=\"200,100\"><VerticalLayout bkcolor=\"#FF000080\"><Button name=\"b\" height=\"30\"/>"
    L"<Control name=\"c\"/></VerticalLayout></Window>";

} // namespace

TEST(PaintManager, TimerIdsWrapAndRestartsReuseTheRecord)
{
    TestWindow w(kPlain);
    HWND hwnd = w.open();
    pump(100);
    CPaintManagerUI& m = w.manager();
    CControlUI* c = m.find_control_by_name(L"c");
    ASSERT_TRUE(m.set_timer(c, 1, 10000));
    EXPECT_FALSE(m.set_timer(c, 1, 10000));    // already running
    ASSERT_TRUE(m.set_timer(c, 2, 10000));
    EXPECT_EQ(m.timer_at(0)->win32_id, 17u);
    EXPECT_EQ(m.timer_at(1)->win32_id, 18u);
    EXPECT_TRUE(m.kill_timer(c, 1));
    EXPECT_FALSE(m.kill_timer(c, 1));
    EXPECT_TRUE(m.set_timer(c, 1, 10000));     // restarted under its old id
    EXPECT_EQ(m.timer_count(), 2);
    EXPECT_EQ(m.timer_at(0)->win32_id, 17u);
    for (UINT_PTR id = 3; id <= 223; ++id) ASSERT_TRUE(m.set_timer(c, id, 10000));
    EXPECT_EQ(m.timer_at(m.timer_count() - 1)->win32_id, 239u);
    ASSERT_TRUE(m.set_timer(c, 224, 10000));
    EXPECT_EQ(m.timer_at(m.timer_count() - 1)->win32_id, 0u);
    m.kill_timers_of(c);
    EXPECT_EQ(m.timer_count(), 0);

    ASSERT_TRUE(m.set_timer(c, 42, 20));
    pump(150);
    EXPECT_GE(w.count(L"timer:c"), 1);
    DestroyWindow(hwnd);
}

TEST(PaintManager, InvalidateClampsToTheClientOrigin)
{
    TestWindow w(kPlain);
    HWND hwnd = w.open();
    pump(100);
    w.manager().invalidate(CUIRect(-10, -20, 30, 40));
    EXPECT_EQ(w.manager().get_layered_update().left, 0);
    EXPECT_EQ(w.manager().get_layered_update().top, 0);
    RECT upd;
    ASSERT_TRUE(GetUpdateRect(hwnd, &upd, FALSE));
    EXPECT_EQ(upd.left, 0);
    EXPECT_EQ(upd.top, 0);
    EXPECT_GE(upd.right, 30);
    DestroyWindow(hwnd);
}

TEST(PaintManager, QueuedNotificationsArriveLaterAndLoseDeadSenders)
{
    TestWindow w(kPlain);
    HWND hwnd = w.open();
    pump(100);
    CPaintManagerUI& m = w.manager();
    CControlUI* c = m.find_control_by_name(L"c");
    w.log.clear();
    m.send_notify(c, L"later", 0, 0, true);
    EXPECT_TRUE(w.log.empty());
    struct Sender : INotifyUI
    {
        void notify(UINotify& msg) override
        {
            if (msg.type == L"later2") null_sender = msg.sender == nullptr;
        }
        bool null_sender = false;
    } listener;
    m.add_notifier(&listener);
    auto* doomed = new CControlUI;
    static_cast<CContainerUI*>(m.get_root()->query_interface(L"Container"))->add(doomed);
    m.send_notify(doomed, L"later2", 0, 0, true);
    static_cast<CContainerUI*>(m.get_root()->query_interface(L"Container"))->remove(doomed);
    pump(100);
    EXPECT_EQ(w.count(L"later:c"), 1);
    EXPECT_TRUE(listener.null_sender);
    m.remove_notifier(&listener);
    DestroyWindow(hwnd);
}

TEST(PaintManager, LayeredFrameKeepsTransparencyAndRepairsGdiText)
{
    // Left half an opaque panel with GDI text, right half empty (transparent).
    const wchar_t skin[] =
        L"<Window size=\"200,100\" bktrans=\"true\"><HorizontalLayout>"
        L"<Label name=\"t\" width=\"100\" bkcolor=\"#FF000000\" text=\"HHHH\" textcolor=\"#FFFFFFFF\"/>"
        L"<Control/></HorizontalLayout></Window>";
    TestWindow w(skin);
    HWND hwnd = w.open();
    pump(300);
    ASSERT_TRUE(w.manager().is_layered());
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    // Read the frame the manager pushed by painting it again into a DIB of our own.
    uint32_t* px = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = create_dib32(dc, 200, 100, true, &px);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    int bright = 0;
    for (int i = 0; i < 100 * 200; ++i)
        if ((i % 200) < 100 && ((px[i] >> 8) & 0xFF) > 0xF0) ++bright;
    EXPECT_GT(bright, 0);   // the text is there (drawn by GDI+ in a layered window)
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);

    // Screen pixels: the desktop shows through the empty half, the panel covers the other.
    HDC screen = GetDC(nullptr);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    COLORREF panel = GetPixel(screen, wr.left + 5, wr.top + 5);
    EXPECT_EQ(panel, RGB(0, 0, 0));
    ShowWindow(hwnd, SW_HIDE);
    pump(100);
    COLORREF desktop = GetPixel(screen, wr.left + 150, wr.top + 50);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    pump(200);
    COLORREF through = GetPixel(screen, wr.left + 150, wr.top + 50);
    EXPECT_EQ(through, desktop);
    ReleaseDC(nullptr, screen);
    DestroyWindow(hwnd);
}
