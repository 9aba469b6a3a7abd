// Value syntax of skin attributes: integers, number lists, colours, booleans.
#include <cwchar>

#include "controls/ControlUI.h"
#include "render/ImageDrawSpec.h"

namespace Lomar {

namespace attr {

long read_int(const wchar_t* value) { return value ? std::wcstol(value, nullptr, 10) : 0; }

uint32_t read_color(const wchar_t* value, bool skip_leading_blanks)
{
    if (!value) return 0;
    if (skip_leading_blanks)
        while (*value != L'\0' && *value <= L' ') ++value;
    if (*value == L'#') ++value;
    return static_cast<uint32_t>(std::wcstoul(value, nullptr, 16));
}

bool read_bool(const wchar_t* value) { return value && image_string::read_bool(value); }
CUIRect read_rect(const wchar_t* value) { return value ? image_string::read_rect(value) : CUIRect(); }
CUISize read_size(const wchar_t* value) { return value ? image_string::read_size(value) : CUISize(); }
bool has_comma(const wchar_t* value) { return value && std::wcschr(value, L',') != nullptr; }

bool equals_no_case(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b) return false;
    return CUIString(a).compare_no_case(b) == 0;
}

} // namespace attr

bool rect_is_empty(const CUIRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool intersect_rect(CUIRect& out, const CUIRect& a, const CUIRect& b)
{
    CUIRect r(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
              a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
    if (rect_is_empty(r))
    {
        out = CUIRect();
        return false;
    }
    out = r;
    return true;
}

bool point_in_rect(const CUIRect& r, CUIPoint p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace Lomar
