// skinbench: figures for a skin of about 40 controls in a 700 x 420 layered window.
// Prints medians over a few hundred frames; it is not a test and asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "PngWriter.h"
#include "builder/SkinBuilder.h"
#include "render/GdiplusInclude.h"
#include "render/SkinRenderer.h"
#include "controls/ControlUI.h"
#include "resources/DibSection.h"
#include "resources/ResourceSource.h"
#include "window/WindowImplBase.h"

using namespace Lomar;

namespace {

double now_ms()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double median_ms(int runs, const std::function<void()>& fn)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i)
    {
        double a = now_ms();
        fn();
        t.push_back(now_ms() - a);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// A rounded, half-transparent-edged button image and an opaque background, as PNG files.
void write_images(const std::wstring& folder)
{
    auto save = [&](const wchar_t* name, int w, int h, const std::function<uint32_t(int, int)>& fn) {
        std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                uint32_t c = fn(x, y);   // 0xAARRGGBB
                unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = (c >> 16) & 0xFF;
                p[1] = (c >> 8) & 0xFF;
                p[2] = c & 0xFF;
                p[3] = c >> 24;
            }
        std::vector<unsigned char> png = encode_png(rgba.data(), w, h);
        FILE* f = _wfopen((folder + L"\\" + name).c_str(), L"wb");
        if (f)
        {
            fwrite(png.data(), 1, png.size(), f);
            fclose(f);
        }
    };
    save(L"bg.png", 700, 420, [](int x, int y) { return 0xFF000000u | ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | 0x40; });
    save(L"btn.png", 120, 36, [](int x, int y) {
        const bool edge = x < 2 || y < 2 || x > 117 || y > 33;
        return edge ? 0x80204080u : 0xFF3070C0u;
    });
    save(L"tick.png", 16, 16, [](int x, int y) { return (x + y) % 5 ? 0xFF20A020u : 0x00000000u; });
    save(L"bar.png", 594, 12, [](int x, int) { return 0xFF000000u | (x & 0xFF) << 8; });
}

// Breakdown switches: without texts, or without images, the same tree is drawn.
bool g_no_text = false;
bool g_no_images = false;

std::wstring strip(std::wstring s)
{
    auto drop = [&s](const std::wstring& key) {
        for (size_t at; (at = s.find(key)) != std::wstring::npos;)
        {
            size_t end = s.find(L'"', at + key.size());
            s.erase(at, end - at + 1);
        }
    };
    if (g_no_text) drop(L" text=\"");
    if (g_no_images)
        for (const wchar_t* k : {L" bkimage=\"", L" normalimage=\"", L" hotimage=\"", L" foreimage=\"",
                                 L" selectedforeimage=\""})
            drop(k);
    return s;
}

std::wstring skin_markup()
{
    std::wstring s = L"<Window size=\"700,420\" bktrans=\"true\" caption=\"0,0,0,50\">"
                     L"<Font id=\"0\" name=\"Arial\" size=\"14\"/>"
                     L"<VerticalLayout bkimage=\"bg.png\">"
                     L"<HorizontalLayout height=\"50\"><Label text=\"Ostrel Setup\" font=\"0\" textcolor=\"#FFFFFFFF\"/>"
                     L"<Button name=\"minbtn\" width=\"30\" normalimage=\"btn.png\"/>"
                     L"<Button name=\"closebtn\" width=\"30\" normalimage=\"btn.png\"/></HorizontalLayout>"
                     L"<TabLayout name=\"pages\">";
    for (int page = 0; page < 4; ++page)
    {
        s += L"<VerticalLayout inset=\"20,10,20,10\" childpadding=\"4\">";
        for (int i = 0; i < 3; ++i)
            s += L"<Label height=\"22\" text=\"Line of status text\" textcolor=\"#FFEEEEEE\" font=\"0\"/>";
        s += L"<HorizontalLayout height=\"36\" childpadding=\"10\">";
        for (int i = 0; i < 3; ++i)
            s += L"<Button name=\"b" + std::to_wstring(page) + L"_" + std::to_wstring(i) +
                 L"\" width=\"120\" text=\"Button\" normalimage=\"file='btn.png' corner='4,4,4,4'\" "
                 L"hotimage=\"file='btn.png' corner='4,4,4,4' fade='200'\" textcolor=\"#FFFFFFFF\"/>";
        s += L"</HorizontalLayout>";
        s += L"<Option height=\"20\" text=\"Agree\" foreimage=\"file='tick.png' dest='0,2,16,18'\" "
             L"selectedforeimage=\"file='tick.png' dest='0,2,16,18' fade='128'\" textpadding=\"20,0,0,0\"/>";
        s += L"<Progress name=\"p" + std::to_wstring(page) + L"\" height=\"12\" width=\"594\" bkcolor=\"#FF202020\" "
             L"foreimage=\"bar.png\" value=\"50\"/>";
        s += L"</VerticalLayout>";
    }
    s += L"</TabLayout></VerticalLayout></Window>";
    return strip(s);
}

class BenchWindow : public WindowImplBase
{
public:
    explicit BenchWindow(std::wstring skin) : m_skin(std::move(skin)) {}
    const wchar_t* get_window_class_name() const override { return L"VxSkinBench"; }
    const wchar_t* get_skin_file() override { return m_skin.c_str(); }

private:
    std::wstring m_skin;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        g_no_text = g_no_text || std::wcscmp(argv[i], L"--no-text") == 0;
        g_no_images = g_no_images || std::wcscmp(argv[i], L"--no-images") == 0;
    }
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring folder = std::wstring(tmp) + L"vx_skinbench";
    CreateDirectoryW(folder.c_str(), nullptr);
    write_images(folder);
    CResourceSource::set_resource_path(folder.c_str());
    const std::wstring skin = skin_markup();
    const int frames = 300;

    BenchWindow window(skin);
    if (!window.create(nullptr, L"skinbench", WS_POPUP, 0, 50, 50, 700, 420)) return 1;
    ShowWindow(window.get_hwnd(), SW_SHOWNOACTIVATE);
    // Let the first layout and frame happen (the window turns layered there).
    for (double end = now_ms() + 300; now_ms() < end;)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    CPaintManagerUI& m = window.manager();
    int controls = static_cast<int>(m.find_controls_by_class(L"*")->size());

    // Build: parse, create and attach a whole tree again on a second manager of the same window.
    const double build = median_ms(50, [&] {
        CPaintManagerUI other;
        other.init(window.get_hwnd(), L"bench");
        CSkinBuilder builder;
        CControlUI* root = builder.create(skin.c_str(), nullptr, nullptr, &other);
        other.attach_root(root);
    });

    const int W = 700, H = 420;
    uint32_t* bits = nullptr;
    HDC dc = CreateCompatibleDC(m.get_paint_dc());
    HBITMAP bmp = create_dib32(dc, W, H, false, &bits);
    SelectObject(dc, bmp);
    CControlUI* root = m.get_root();
    const CUIRect client(0, 0, W, H);

    const double first = median_ms(1, [&] { m.render_frame(dc, bits, W, H); });   // decodes the images
    const double layout = median_ms(frames, [&] { root->set_pos(client, false); });
    const double paint = median_ms(frames, [&] { m.render_frame(dc, bits, W, H); });
    CControlUI* button = m.find_control_by_name(L"b0_1");
    const CUIRect br = button->get_pos();
    const double partial = median_ms(frames, [&] {
        for (int y = br.top; y < br.bottom; ++y) std::memset(bits + static_cast<size_t>(H - 1 - y) * W + br.left, 0, static_cast<size_t>(br.width()) * 4);
        root->paint(dc, br, nullptr);
        GdiFlush();
        for (int y = br.top; y < br.bottom; ++y)
            for (int x = br.left; x < br.right; ++x)
            {
                uint32_t& px = bits[static_cast<size_t>(H - 1 - y) * W + x];
                if ((px >> 24) == 0 && (px & 0xFFFFFF)) px |= 0xFF000000u;
            }
    });

    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using Ulw = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
    auto ulw = reinterpret_cast<Ulw>(reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    POINT dst{50, 50}, src{0, 0};
    SIZE size{W, H};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    auto push = [&] { ulw(window.get_hwnd(), m.get_paint_dc(), &dst, &size, dc, &src, 0, &blend, ULW_ALPHA); };
    const double bare_push = median_ms(frames, push);
    const double frame = median_ms(frames, [&] {
        m.render_frame(dc, bits, W, H);
        push();
    });

    // Where text time goes: GDI+ set-up alone, then one whole draw_text.
    HFONT font = m.get_font(0);
    const double gp_setup = median_ms(frames, [&] {
        Gdiplus::Graphics g(dc);
        Gdiplus::Font f(dc, font);
    });
    CUIRect box(20, 60, 300, 82);
    const double one_text = median_ms(frames, [&] {
        CUIRect r = box;
        CSkinRenderer::draw_text(dc, &m, r, L"Line of status text", 0xFFEEEEEE, 0, DT_SINGLELINE | DT_VCENTER);
    });

    std::printf("%s%s", g_no_text ? "[no text] " : "", g_no_images ? "[no images] " : "");
    std::printf("skinbench: %d controls, 700 x 420 layered window, medians of %d frames (ms)\n", controls, frames);
    std::printf("  skin load + build + attach   %8.3f   (goal < 20)\n", build);
    std::printf("  first frame (image decoding) %8.3f\n", first);
    std::printf("  full layout                  %8.3f\n", layout);
    std::printf("  full-frame paint             %8.3f   (goal < 2)\n", paint);
    std::printf("  one-button repaint           %8.3f   (goal < 0.5)\n", partial);
    std::printf("  bare UpdateLayeredWindow     %8.3f\n", bare_push);
    std::printf("  GDI+ graphics + font set-up  %8.3f\n", gp_setup);
    std::printf("  one layered draw_text        %8.3f\n", one_text);
    std::printf("  frame incl. push             %8.3f   (goal <= 1.4 x bare = %.3f)\n", frame, 1.4 * bare_push);
    DeleteObject(bmp);
    DeleteDC(dc);
    DestroyWindow(window.get_hwnd());
    return 0;
}
