// skinview: builds a skin in an off-screen window exactly as the engine shows it and writes
// the frame as PNG.
//   skinview SKIN [--file ENTRY] [--select TABNAME=INDEX]... --out FILE.png
// SKIN is a skin file (its folder becomes the skin folder) or a skin archive (.zip), from
// which ENTRY (default VXMainFrame.xml) is built.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "PngWriter.h"
#include "builder/SkinBuilder.h"
#include "controls/TabLayoutUI.h"
#include "resources/DibSection.h"
#include "resources/ResourceSource.h"
#include "window/WindowImplBase.h"

using namespace Lomar;

namespace {

class PreviewWindow : public WindowImplBase
{
public:
    explicit PreviewWindow(std::wstring skin) : m_skin(std::move(skin)) {}
    const wchar_t* get_window_class_name() const override { return L"VxSkinPreview"; }
    const wchar_t* get_skin_file() override { return m_skin.c_str(); }

private:
    std::wstring m_skin;
};

bool ends_with_no_case(const std::wstring& s, const wchar_t* tail)
{
    const size_t n = std::wcslen(tail);
    return s.size() >= n && _wcsicmp(s.c_str() + s.size() - n, tail) == 0;
}

bool read_file(const std::wstring& path, std::vector<unsigned char>& out)
{
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) out.insert(out.end(), buffer, buffer + n);
    fclose(f);
    return true;
}

int usage()
{
    std::fwprintf(stderr, L"usage: skinview SKIN [--file ENTRY] [--select TABNAME=INDEX]... --out FILE.png\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring skin, out, entry = L"VXMainFrame.xml";
    std::vector<std::pair<std::wstring, int>> selects;
    for (int i = 1; i < argc; ++i)
    {
        std::wstring a = argv[i];
        if (a == L"--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == L"--file" && i + 1 < argc)
            entry = argv[++i];
        else if (a == L"--select" && i + 1 < argc)
        {
            std::wstring s = argv[++i];
            size_t eq = s.find(L'=');
            if (eq == std::wstring::npos) return usage();
            selects.emplace_back(s.substr(0, eq), static_cast<int>(std::wcstol(s.c_str() + eq + 1, nullptr, 10)));
        }
        else if (skin.empty() && a.size() > 0 && a[0] != L'-')
            skin = a;
        else
            return usage();
    }
    if (skin.empty() || out.empty()) return usage();

    std::vector<unsigned char> archive;   // must outlive the selection
    std::wstring file;
    if (ends_with_no_case(skin, L".zip"))
    {
        if (!read_file(skin, archive) || archive.empty())
        {
            std::fwprintf(stderr, L"skinview: cannot read %ls\n", skin.c_str());
            return 1;
        }
        CResourceSource::set_resource_zip(archive.data(), static_cast<uint32_t>(archive.size()), nullptr);
        file = entry;
    }
    else
    {
        size_t slash = skin.find_last_of(L"\\/");
        if (slash != std::wstring::npos) CResourceSource::set_resource_path(skin.substr(0, slash + 1).c_str());
        file = slash == std::wstring::npos ? skin : skin.substr(slash + 1);
    }

    // Refuse a skin that does not build before the window would show its error box.
    {
        CSkinBuilder probe;
        CControlUI* root = probe.create(file.c_str());
        if (!root)
        {
            std::fwprintf(stderr, L"skinview: cannot build %ls\n", file.c_str());
            return 1;
        }
        delete root;
    }

    PreviewWindow window(file);
    if (!window.create(nullptr, L"skinview", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 400, 300)) return 1;
    CPaintManagerUI& m = window.manager();
    for (const auto& s : selects)
    {
        CControlUI* c = m.find_control_by_name(s.first.c_str());
        auto* tab = c ? static_cast<CTabLayoutUI*>(c->query_interface(L"TabLayout")) : nullptr;
        if (!tab || !tab->select_item(s.second))
        {
            std::fwprintf(stderr, L"skinview: no page %d in tab layout %ls\n", s.second, s.first.c_str());
            DestroyWindow(window.get_hwnd());
            return 1;
        }
    }

    RECT rc;
    GetClientRect(window.get_hwnd(), &rc);
    const int w = rc.right, h = rc.bottom;
    uint32_t* bits = nullptr;
    HDC dc = CreateCompatibleDC(m.get_paint_dc());
    HBITMAP bmp = create_dib32(dc, w, h, false, &bits);   // bottom-up, like the manager's frame
    if (!bmp)
    {
        DeleteDC(dc);
        return 1;
    }
    HGDIOBJ old = SelectObject(dc, bmp);
    m.render_frame(dc, bits, w, h);

    // Premultiplied bottom-up BGRA to straight top-down RGBA.
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const uint32_t px = bits[static_cast<size_t>(h - 1 - y) * w + x];
            const unsigned a = px >> 24;
            unsigned r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
            if (a != 0 && a != 255)
            {
                r = r * 255 / a > 255 ? 255 : r * 255 / a;
                g = g * 255 / a > 255 ? 255 : g * 255 / a;
                b = b * 255 / a > 255 ? 255 : b * 255 / a;
            }
            unsigned char* o = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            o[0] = static_cast<unsigned char>(r);
            o[1] = static_cast<unsigned char>(g);
            o[2] = static_cast<unsigned char>(b);
            o[3] = static_cast<unsigned char>(a);
        }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    DestroyWindow(window.get_hwnd());

    std::vector<unsigned char> png = encode_png(rgba.data(), w, h);
    FILE* f = _wfopen(out.c_str(), L"wb");
    if (png.empty() || !f)
    {
        if (f) fclose(f);
        std::fwprintf(stderr, L"skinview: cannot write %ls\n", out.c_str());
        return 1;
    }
    fwrite(png.data(), 1, png.size(), f);
    fclose(f);
    std::wprintf(L"wrote %ls (%dx%d)\n", out.c_str(), w, h);
    return 0;
}
