// Drop shadows on real windows: settings ranges, image and computed modes, following the window.
#include <gtest/gtest.h>

#include "../../render/tests/BmpFile.h"
#include "TestWindow.h"
#include "resources/ResourceSource.h"
#include "window/ShadowUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

RECT rect_of(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return r;
}

// A white popup behind the test windows, so a dark shadow has something to darken.
struct Backdrop
{
    Backdrop()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"VxShadowBackdrop";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 500,
                               nullptr, nullptr, wc.hInstance, nullptr);
        pump(100);
    }
    ~Backdrop() { DestroyWindow(hwnd); }
    HWND hwnd;
};

} // namespace

TEST(Shadow, SettingsRefuseOutOfRangeValues)
{
    CShadowUI s;
    struct Row
    {
        bool (CShadowUI::*set)(int);
        int value;
        bool ok;
    } rows[] = {
        {&CShadowUI::set_size, 36, false},      {&CShadowUI::set_size, -36, false},
        {&CShadowUI::set_size, 35, true},       {&CShadowUI::set_size, -35, true},
        {&CShadowUI::set_sharpness, 36, false}, {&CShadowUI::set_sharpness, -1, false},
        {&CShadowUI::set_sharpness, 0, true},   {&CShadowUI::set_darkness, 256, false},
        {&CShadowUI::set_darkness, 255, true},
    };
    for (const Row& r : rows) EXPECT_EQ((s.*r.set)(r.value), r.ok) << r.value;
    EXPECT_FALSE(s.set_position(36, 0));
    EXPECT_TRUE(s.set_position(-35, 35));
    EXPECT_FALSE(s.set_image(nullptr));
    EXPECT_FALSE(s.set_shadow_corner(-1, 0, 0, 0));
}

TEST(Shadow, KernelFadesFromTheCore)
{
    // size 10, sharpness 3: full darkness to 7, then fading in steps of a quarter to 10.
    struct Row
    {
        double d;
        int alpha;
    } rows[] = {{0, 150}, {6.9, 150}, {7, 150}, {8, 112}, {9, 75}, {10, 37}, {10.5, 0}};
    for (const Row& r : rows) EXPECT_EQ(CShadowUI::kernel_alpha(r.d, 10, 3, 150), r.alpha) << r.d;
    EXPECT_EQ(CShadowUI::kernel_alpha(3, 3, 5, 100), 50);   // sharper than big: no core, (1 - 3/6) * 100
}

TEST(Shadow, ImageModeFramesTheWindowAndFollowsItsState)
{
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring folder = std::wstring(tmp) + L"vx_shadow_images";
    CreateDirectoryW(folder.c_str(), nullptr);
    write_bmp(folder + L"\\shadow.bmp", 100, 100, [](int, int) { return 0xFF0000u; });
    CResourceSource::set_resource_path(folder.c_str());

    TestWindow w(L"<Window size=\"200,150\" showshadow=\"true\" shadowsize=\"16\" shadowimage=\"shadow.bmp\" "
                 L"shadowcorner=\"38,38,38,38\"><Control bkcolor=\"#FF00FF00\"/></Window>");
    HWND hwnd = w.open(200, 150);
    pump(300);
    HWND shadow = w.manager().get_shadow().get_window();
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(GetWindowLongW(shadow, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    RECT wr = rect_of(hwnd), sr = rect_of(shadow);
    EXPECT_EQ(sr.left, wr.left - 16);
    EXPECT_EQ(sr.top, wr.top - 16);
    EXPECT_EQ(sr.right - sr.left, (wr.right - wr.left) + 32);
    EXPECT_EQ(sr.bottom - sr.top, (wr.bottom - wr.top) + 32);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, wr.left - 8, wr.top + 60), RGB(255, 0, 0));   // the image's left border

    SetWindowPos(hwnd, nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump(100);
    EXPECT_EQ(rect_of(shadow).left, 80 - 16);
    EXPECT_EQ(rect_of(shadow).top, 90 - 16);

    ShowWindow(hwnd, SW_MAXIMIZE);
    pump(150);
    EXPECT_FALSE(IsWindowVisible(shadow));
    ShowWindow(hwnd, SW_RESTORE);
    pump(150);
    EXPECT_TRUE(IsWindowVisible(shadow));
    ShowWindow(hwnd, SW_HIDE);
    pump(100);
    EXPECT_FALSE(IsWindowVisible(shadow));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    pump(100);
    EXPECT_TRUE(IsWindowVisible(shadow));

    // Growing waits for the next paint; shrinking redraws at once.
    SetWindowPos(hwnd, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(w.manager().get_shadow().is_update_pending());
    pump(150);
    EXPECT_FALSE(w.manager().get_shadow().is_update_pending());
    EXPECT_EQ(rect_of(shadow).right - rect_of(shadow).left, 260 + 32);
    SetWindowPos(hwnd, nullptr, 0, 0, 220, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(w.manager().get_shadow().is_update_pending());
    EXPECT_EQ(rect_of(shadow).right - rect_of(shadow).left, 220 + 32);

    ReleaseDC(nullptr, screen);
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindow(shadow));
    CResourceSource::set_resource_path(L"");
}

TEST(Shadow, ComputedModeDarkensAroundTheWindow)
{
    Backdrop backdrop;
    TestWindow w(L"<Window size=\"200,150\" showshadow=\"true\" shadowsize=\"10\" shadowsharpness=\"4\" "
                 L"shadowdarkness=\"200\" shadowcolor=\"#000000\"><Control bkcolor=\"#FF00FF00\"/></Window>");
    HWND hwnd = w.open(200, 150);
    pump(300);
    HWND shadow = w.manager().get_shadow().get_window();
    ASSERT_NE(shadow, nullptr);
    RECT wr = rect_of(hwnd);
    HDC screen = GetDC(nullptr);
    const COLORREF near_edge = GetPixel(screen, wr.right + 2, (wr.top + wr.bottom) / 2);
    const COLORREF far_away = GetPixel(screen, wr.right + 40, (wr.top + wr.bottom) / 2);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(far_away, RGB(255, 255, 255));
    EXPECT_LT(GetRValue(near_edge), 120);   // about 255 * (1 - 200/255)
    EXPECT_EQ(GetRValue(near_edge), GetBValue(near_edge));
    DestroyWindow(hwnd);
}

TEST(Shadow, SwitchingOnAfterCreateNeedsAnotherCreate)
{
    TestWindow w(L"<Window size=\"120,80\" shadowsize=\"8\"><Control/></Window>");
    w.open(120, 80);
    pump(200);
    CShadowUI& s = w.manager().get_shadow();
    EXPECT_EQ(s.get_window(), nullptr);
    s.show_shadow(true);
    pump(50);
    EXPECT_EQ(s.get_window(), nullptr);
    s.create(&w.manager());
    EXPECT_NE(s.get_window(), nullptr);
    DestroyWindow(w.get_hwnd());
}
