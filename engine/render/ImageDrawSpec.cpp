#include "render/ImageDrawSpec.h"

#include <cwchar>
#include <cwctype>

namespace Lomar {

namespace {

bool is_space(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

int scaled(int value, int percent)
{
    if (percent == 100) return value;
    long long v = static_cast<long long>(value) * percent;
    // Round half away from zero, like MulDiv.
    return static_cast<int>(v >= 0 ? (v + 50) / 100 : (v - 50) / 100);
}

CUIRect scaled_rect(const CUIRect& r, int percent)
{
    return CUIRect(scaled(r.left, percent), scaled(r.top, percent), scaled(r.right, percent),
                   scaled(r.bottom, percent));
}

// Reads one decimal number from p; returns where reading stopped.
const wchar_t* read_long(const wchar_t* p, long* out)
{
    wchar_t* end = nullptr;
    *out = std::wcstol(p, &end, 10);
    return end;
}

} // namespace

namespace image_string {

CUIRect read_rect(const wchar_t* value)
{
    CUIRect r;
    long v[4] = {0, 0, 0, 0};
    const wchar_t* p = value;
    for (int i = 0; i < 4; ++i)
    {
        p = read_long(p, &v[i]);
        if (*p == L'\0') break;   // a missing separator ends the list; the rest stay 0
        ++p;
    }
    r.left = static_cast<int32_t>(v[0]);
    r.top = static_cast<int32_t>(v[1]);
    r.right = static_cast<int32_t>(v[2]);
    r.bottom = static_cast<int32_t>(v[3]);
    return r;
}

CUISize read_size(const wchar_t* value)
{
    long cx = 0, cy = 0;
    const wchar_t* p = read_long(value, &cx);
    if (*p != L'\0') read_long(p + 1, &cy);
    return CUISize(static_cast<int32_t>(cx), static_cast<int32_t>(cy));
}

bool read_bool(const wchar_t* value)
{
    CUIString v(value);
    return v.compare_no_case(L"true") == 0;
}

} // namespace image_string

void ImageDrawSpec::parse(const wchar_t* draw, const wchar_t* modify, int scale_percent)
{
    draw_string = draw ? draw : L"";
    modify_string = modify ? modify : L"";
    image_name = draw_string;
    apply_string(draw_string, scale_percent);
    if (!modify_string.is_empty()) apply_string(modify_string, scale_percent);
}

void ImageDrawSpec::apply_string(const wchar_t* text, int scale_percent)
{
    using namespace image_string;
    const wchar_t* p = text;
    while (*p != L'\0')
    {
        while (is_space(*p)) ++p;
        CUIString key;
        while (*p != L'\0' && *p != L'=' && !is_space(*p)) key += *p++;
        while (is_space(*p)) ++p;
        if (*p != L'=') return;
        ++p;
        while (is_space(*p)) ++p;
        if (*p != L'\'') return;
        ++p;
        CUIString value;
        while (*p != L'\0' && *p != L'\'') value += *p++;
        if (*p != L'\'') return;
        ++p;

        if (!value.is_empty())
        {
            if (key == L"file" || key == L"res")
                image_name = value;
            else if (key == L"restype")
                resource_type = value;
            else if (key == L"dest")
                dest = scaled_rect(read_rect(value), scale_percent);
            else if (key == L"source")
                source = scaled_rect(read_rect(value), scale_percent);
            else if (key == L"corner")
                corner = scaled_rect(read_rect(value), scale_percent);
            else if (key == L"mask")
            {
                const wchar_t* v = value;
                if (*v == L'#') ++v;
                mask = static_cast<uint32_t>(std::wcstoul(v, nullptr, 16));
            }
            else if (key == L"fade")
                fade = static_cast<uint8_t>(std::wcstol(value, nullptr, 10));
            else if (key == L"hole")
                hole = read_bool(value);
            else if (key == L"xtiled")
                x_tiled = read_bool(value);
            else if (key == L"ytiled")
                y_tiled = read_bool(value);
            else if (key == L"hsl")
                hsl = read_bool(value);
            else if (key == L"size")
                size = read_size(value);
            else if (key == L"align")
                align = value;
            else if (key == L"padding")
                padding = scaled_rect(read_rect(value), scale_percent);
        }
        if (*p != L' ') return;
        ++p;
    }
}

} // namespace Lomar
