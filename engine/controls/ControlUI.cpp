#include "controls/ControlUI.h"

#include <cstdlib>
#include <cwchar>

#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

struct CursorName
{
    const wchar_t* name;
    uint16_t id;
};

const CursorName kCursors[] = {
    {L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},   {L"cross", 32515},   {L"uparrow", 32516},
    {L"size", 32640},     {L"icon", 32641},     {L"sizenwse", 32642}, {L"sizenesw", 32643}, {L"sizewe", 32644},
    {L"sizens", 32645},   {L"sizeall", 32646},  {L"no", 32648},     {L"hand", 32649},
};

bool is_word_separator(wchar_t c) { return c == L',' || c == L' '; }

} // namespace

CControlUI::CControlUI() {}

CControlUI::~CControlUI()
{
    if (!destroy_hooks.is_empty()) destroy_hooks.fire(*this);
    remove_all_custom_attributes();
    if (m_manager) m_manager->forget_control(this);
}

CUIString CControlUI::get_name() const { return m_name; }
void CControlUI::set_name(const wchar_t* name) { m_name = name ? name : L""; }
const wchar_t* CControlUI::get_type_name() const { return L"ControlUI"; }

void* CControlUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Control")) return this;
    return nullptr;
}

uint32_t CControlUI::get_control_flags() const { return m_stored_flags; }
void CControlUI::set_control_flags(uint32_t flags) { m_stored_flags = flags; }
uint32_t CControlUI::get_stored_flags() const { return m_stored_flags; }

bool CControlUI::activate() { return is_visible() && is_enabled(); }

CPaintManagerUI* CControlUI::get_manager() const { return m_manager; }

void CControlUI::set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init_now)
{
    m_manager = manager;
    m_parent = parent;
    if (init_now && m_parent) init();
}

CControlUI* CControlUI::get_parent() const { return m_parent; }

CUIString CControlUI::get_text() const
{
    if (m_resource_text && m_manager) return m_manager->get_resource_text(m_text);
    return m_text;
}

void CControlUI::set_text(const wchar_t* text)
{
    if (!text) text = L"";
    if (m_text == text) return;
    m_text = text;
    m_text.replace(L"{\\n}", L"\n");
    invalidate();
}

bool CControlUI::is_resource_text() const { return m_resource_text; }
void CControlUI::set_resource_text(bool b)
{
    if (m_resource_text == b) return;
    m_resource_text = b;
    invalidate();
}

bool CControlUI::is_drag_enabled() const { return m_drag_enabled; }
void CControlUI::set_drag_enabled(bool b) { m_drag_enabled = b; }
bool CControlUI::is_drop_enabled() const { return m_drop_enabled; }
void CControlUI::set_drop_enabled(bool b) { m_drop_enabled = b; }
bool CControlUI::is_rich_event() const { return m_rich_event; }
void CControlUI::set_rich_event(bool b) { m_rich_event = b; }

CUIRect CControlUI::get_relative_pos() const
{
    if (!m_parent) return CUIRect();
    CUIRect r = m_item;
    const CUIRect& p = m_parent->get_pos();
    r.offset(-p.left, -p.top);
    return r;
}

CUIRect CControlUI::get_client_pos() const { return m_item; }
const CUIRect& CControlUI::get_pos() const { return m_item; }

void CControlUI::set_pos(CUIRect rc, bool invalidate_now)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    CUIRect invalid = rect_is_empty(m_item) ? rc : m_item;
    m_item = rc;
    if (!m_manager) return;
    if (!m_in_set_pos)
    {
        m_in_set_pos = true;
        size_hooks.fire(*this);
        m_in_set_pos = false;
    }
    m_update_needed = false;
    if (invalidate_now && is_visible())
    {
        invalid.join(m_item);
        for (CControlUI* p = m_parent; p; p = p->get_parent())
        {
            if (!p->is_visible()) return;
            if (!intersect_rect(invalid, invalid, p->get_pos())) return;
        }
        m_manager->invalidate(invalid);
    }
}

void CControlUI::move(int dx, int dy, bool /*invalidate*/)
{
    m_fixed_xy.cx += dx;
    m_fixed_xy.cy += dy;
    request_parent_layout();
}

int CControlUI::get_width() const { return m_item.width(); }
int CControlUI::get_height() const { return m_item.height(); }
int CControlUI::get_layout_width() const { return m_float ? get_width() : get_fixed_width(); }
int CControlUI::get_layout_height() const { return m_float ? get_height() : get_fixed_height(); }
int CControlUI::get_x() const { return m_item.left; }
int CControlUI::get_y() const { return m_item.top; }

int CControlUI::scale(int value) const { return m_manager ? m_manager->scale(value) : value; }
CUISize CControlUI::scale(CUISize s) const { return CUISize(scale(s.cx), scale(s.cy)); }
CUIRect CControlUI::scale(CUIRect r) const
{
    return CUIRect(scale(r.left), scale(r.top), scale(r.right), scale(r.bottom));
}

CUIRect CControlUI::get_padding() const { return scale(m_padding); }
void CControlUI::set_padding(CUIRect padding)
{
    m_padding = padding;
    request_parent_layout();
}
CUISize CControlUI::get_fixed_xy() const { return scale(m_fixed_xy); }
void CControlUI::set_fixed_xy(CUISize xy)
{
    m_fixed_xy = xy;
    request_parent_layout();
}
CUISize CControlUI::get_fixed_size() const { return scale(m_fixed_size); }
int CControlUI::get_fixed_width() const { return scale(m_fixed_size.cx); }
void CControlUI::set_fixed_width(int cx)
{
    if (cx < 0) return;
    m_fixed_size.cx = cx;
    request_parent_layout();
}
int CControlUI::get_fixed_height() const { return scale(m_fixed_size.cy); }
void CControlUI::set_fixed_height(int cy)
{
    if (cy < 0) return;
    m_fixed_size.cy = cy;
    request_parent_layout();
}

int CControlUI::get_min_width() const { return scale(m_min_size.cx); }
void CControlUI::set_min_width(int cx)
{
    if (m_min_size.cx == cx || cx < 0) return;
    m_min_size.cx = cx;
    request_parent_layout();
}
int CControlUI::get_max_width() const { return scale(m_max_size.cx); }
void CControlUI::set_max_width(int cx)
{
    if (m_max_size.cx == cx || cx < 0) return;
    m_max_size.cx = cx;
    request_parent_layout();
}
int CControlUI::get_min_height() const { return scale(m_min_size.cy); }
void CControlUI::set_min_height(int cy)
{
    if (m_min_size.cy == cy || cy < 0) return;
    m_min_size.cy = cy;
    request_parent_layout();
}
int CControlUI::get_max_height() const { return scale(m_max_size.cy); }
void CControlUI::set_max_height(int cy)
{
    if (m_max_size.cy == cy || cy < 0) return;
    m_max_size.cy = cy;
    request_parent_layout();
}

UIFloatRatios CControlUI::get_float_ratios() const { return m_float_ratios; }
void CControlUI::set_float_ratios(UIFloatRatios ratios)
{
    m_float_ratios = ratios;
    request_parent_layout();
}
void CControlUI::set_float_align(uint32_t bits)
{
    m_float_align = bits;
    request_parent_layout();
}
uint32_t CControlUI::get_float_align() const { return m_float_align; }

CUIString CControlUI::get_tooltip() const
{
    if (m_resource_text && m_manager) return m_manager->get_resource_text(m_tooltip);
    return m_tooltip;
}

void CControlUI::set_tooltip(const wchar_t* text)
{
    m_tooltip = text ? text : L"";
    m_tooltip.replace(L"<n>", L"\r\n");
}
void CControlUI::set_tooltip_width(int width) { m_tooltip_width = width; }
int CControlUI::get_tooltip_width() const { return scale(m_tooltip_width); }

uint16_t CControlUI::get_cursor() const { return m_cursor; }
CUIString CControlUI::get_cursor_name() const
{
    for (const CursorName& c : kCursors)
        if (c.id == m_cursor) return CUIString(c.name);
    return CUIString();
}
void CControlUI::set_cursor(uint16_t id)
{
    m_cursor = id;
    invalidate();
}
wchar_t CControlUI::get_shortcut() const { return m_shortcut; }
void CControlUI::set_shortcut(wchar_t ch) { m_shortcut = ch; }
bool CControlUI::is_menu_used() const { return m_menu_used; }
void CControlUI::set_menu_used(bool b) { m_menu_used = b; }

CUIString CControlUI::get_user_data() const { return m_user_data; }
void CControlUI::set_user_data(const wchar_t* text) { m_user_data = text ? text : L""; }
uintptr_t CControlUI::get_tag() const { return m_tag; }
void CControlUI::set_tag(uintptr_t tag) { m_tag = tag; }

bool CControlUI::is_self_visible() const { return m_visible; }
bool CControlUI::is_visible() const { return m_visible && m_inherited_visible; }

void CControlUI::set_visible(bool b)
{
    if (m_visible == b) return;
    const bool was_visible = is_visible();
    m_visible = b;
    m_focused = false;
    if (!b && m_manager && m_manager->get_focus() == this) m_manager->set_focus(nullptr);
    if (is_visible() != was_visible) request_parent_layout();
}

void CControlUI::set_inherited_visible(bool b)
{
    m_inherited_visible = b;
    if (!b && m_manager && m_manager->get_focus() == this) m_manager->set_focus(nullptr);
}

bool CControlUI::is_enabled() const { return m_enabled; }
void CControlUI::set_enabled(bool b)
{
    if (m_enabled == b) return;
    m_enabled = b;
    invalidate();
}
bool CControlUI::is_mouse_enabled() const { return m_mouse_enabled; }
void CControlUI::set_mouse_enabled(bool b) { m_mouse_enabled = b; }
bool CControlUI::is_keyboard_enabled() const { return m_keyboard_enabled; }
void CControlUI::set_keyboard_enabled(bool b) { m_keyboard_enabled = b; }
bool CControlUI::is_focused() const { return m_focused; }
void CControlUI::set_focus()
{
    if (m_manager) m_manager->set_focus(this);
}
bool CControlUI::is_float() const { return m_float; }
void CControlUI::set_float(bool b)
{
    if (m_float == b) return;
    m_float = b;
    request_parent_layout();
}

CControlUI* CControlUI::find_control(FindControlProc proc, void* data, uint32_t flags)
{
    if ((flags & UIFIND_VISIBLE) && !is_visible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !is_enabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) &&
        (!m_mouse_enabled || !point_in_rect(m_item, *static_cast<const CUIPoint*>(data))))
        return nullptr;
    return proc(this, data);
}

void CControlUI::init()
{
    on_init();
    init_hooks.fire(*this);
}

void CControlUI::on_init() {}

void CControlUI::dispatch_event(UIEvent& event)
{
    if (event_hooks.fire(event)) handle_event(event);
}

void CControlUI::handle_event(UIEvent& event)
{
    switch (event.type)
    {
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(m_cursor ? m_cursor : 32512)));
        return;
    case UIEVENT_SETFOCUS:
        m_focused = true;
        invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_focused = false;
        invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_manager) m_manager->send_notify(this, L"timer", event.wparam, event.lparam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_menu_used)
        {
            if (m_manager) m_manager->send_notify(this, L"menu", event.wparam, event.lparam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_parent) m_parent->handle_event(event);
}

void CControlUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    auto is = [name](const wchar_t* n) { return equals_no_case(name, n); };
    if (!value) value = L"";

    if (is(L"style"))
    {
        const wchar_t* style = m_manager ? m_manager->get_style(value) : nullptr;
        if (style)
        {
            apply_attribute_list(style);
            return;
        }
    }
    else if (is(L"innerstyle"))
        apply_attribute_list(value);
    else if (is(L"pos"))
    {
        CUIRect r = read_rect(value);
        set_fixed_xy(CUISize(r.left >= 0 ? r.left : r.right, r.top >= 0 ? r.top : r.bottom));
        set_fixed_width(std::abs(r.right - r.left));
        set_fixed_height(std::abs(r.bottom - r.top));
    }
    else if (is(L"float"))
    {
        if (!has_comma(value))
            set_float(read_bool(value));
        else
        {
            double v[4] = {0, 0, 0, 0};
            const wchar_t* p = value;
            for (int i = 0; i < 4; ++i)
            {
                wchar_t* end = nullptr;
                v[i] = std::wcstod(p, &end);
                p = end;
                if (*p == L'\0') break;
                ++p;
            }
            set_float_ratios(UIFloatRatios{v[0], v[1], v[2], v[3]});
            set_float(true);
        }
    }
    else if (is(L"floatalign"))
    {
        uint32_t bits = m_float_align;
        const wchar_t* p = value;
        while (*p)
        {
            while (*p && is_word_separator(*p)) ++p;
            CUIString word;
            while (*p && !is_word_separator(*p)) word += *p++;
            if (word == L"null") bits = 0;
            else if (word == L"left") bits &= ~uint32_t(FLOATALIGN_CENTER | FLOATALIGN_RIGHT);
            else if (word == L"center") bits = (bits | FLOATALIGN_CENTER) & ~uint32_t(FLOATALIGN_RIGHT);
            else if (word == L"right") bits = (bits | FLOATALIGN_RIGHT) & ~uint32_t(FLOATALIGN_CENTER);
            else if (word == L"top") bits &= ~uint32_t(FLOATALIGN_VCENTER | FLOATALIGN_BOTTOM);
            else if (word == L"vcenter") bits = (bits | FLOATALIGN_VCENTER) & ~uint32_t(FLOATALIGN_BOTTOM);
            else if (word == L"bottom") bits = (bits | FLOATALIGN_BOTTOM) & ~uint32_t(FLOATALIGN_VCENTER);
        }
        set_float_align(bits);
    }
    else if (is(L"padding"))
        set_padding(read_rect(value));
    else if (is(L"gradient"))
        set_gradient(value);
    else if (is(L"bkcolor") || is(L"bkcolor1"))
        set_back_color(read_color(value, true));
    else if (is(L"bkcolor2"))
        set_back_color2(read_color(value, true));
    else if (is(L"bkcolor3"))
        set_back_color3(read_color(value, true));
    else if (is(L"forecolor"))
        set_fore_color(read_color(value, true));
    else if (is(L"bordercolor"))
        set_border_color(read_color(value));
    else if (is(L"focusbordercolor"))
        set_focus_border_color(read_color(value));
    else if (is(L"colorhsl"))
        set_color_hsl(read_bool(value));
    else if (is(L"bordersize"))
    {
        if (!has_comma(value))
        {
            set_border_size(static_cast<int>(read_int(value)));
            set_border_rect(CUIRect());
        }
        else
            set_border_rect(read_rect(value));
    }
    else if (is(L"leftbordersize"))
        set_left_border_size(static_cast<int>(read_int(value)));
    else if (is(L"topbordersize"))
        set_top_border_size(static_cast<int>(read_int(value)));
    else if (is(L"rightbordersize"))
        set_right_border_size(static_cast<int>(read_int(value)));
    else if (is(L"bottombordersize"))
        set_bottom_border_size(static_cast<int>(read_int(value)));
    else if (is(L"borderstyle"))
        set_border_style(static_cast<int>(read_int(value)));
    else if (is(L"borderround"))
        set_border_round(read_size(value));
    else if (is(L"bkimage"))
        set_back_image(value);
    else if (is(L"foreimage"))
        set_fore_image(value);
    else if (is(L"width"))
        set_fixed_width(static_cast<int>(read_int(value)));
    else if (is(L"height"))
        set_fixed_height(static_cast<int>(read_int(value)));
    else if (is(L"minwidth"))
        set_min_width(static_cast<int>(read_int(value)));
    else if (is(L"minheight"))
        set_min_height(static_cast<int>(read_int(value)));
    else if (is(L"maxwidth"))
        set_max_width(static_cast<int>(read_int(value)));
    else if (is(L"maxheight"))
        set_max_height(static_cast<int>(read_int(value)));
    else if (is(L"name"))
        set_name(value);
    else if (is(L"drag"))
        set_drag_enabled(read_bool(value));
    else if (is(L"drop"))
        set_drop_enabled(read_bool(value));
    else if (is(L"resourcetext"))
        set_resource_text(read_bool(value));
    else if (is(L"richevent"))
        set_rich_event(read_bool(value));
    else if (is(L"text"))
        set_text(value);
    else if (is(L"tooltip"))
        set_tooltip(value);
    else if (is(L"userdata"))
        set_user_data(value);
    else if (is(L"enabled"))
        set_enabled(read_bool(value));
    else if (is(L"mouse"))
        set_mouse_enabled(read_bool(value));
    else if (is(L"keyboard"))
        set_keyboard_enabled(read_bool(value));
    else if (is(L"visible"))
        set_visible(read_bool(value));
    else if (is(L"shortcut"))
        set_shortcut(value[0]);
    else if (is(L"menu"))
        set_menu_used(read_bool(value));
    else if (is(L"cursor"))
    {
        for (const CursorName& c : kCursors)
            if (std::wcscmp(c.name, value) == 0)
            {
                set_cursor(c.id);
                break;
            }
    }
    else if (is(L"virtualwnd"))
        set_virtual_wnd(value);
    else
        add_custom_attribute(name, value);
    if (is(L"style")) add_custom_attribute(name, value);   // an unknown style name
}

void CControlUI::apply_attribute_list(const wchar_t* list)
{
    if (!list) return;
    if (m_manager)
        if (const wchar_t* style = m_manager->get_style(list))
        {
            apply_attribute_list(style);
            return;
        }
    CUIString text(list);
    text.replace(L"&quot;", L"\"");
    const wchar_t* p = text;
    while (*p)
    {
        CUIString name;
        while (*p && *p != L'=') name += *p++;
        if (p[0] != L'=' || p[1] != L'"') return;
        p += 2;
        CUIString value;
        while (*p && *p != L'"') value += *p++;
        if (*p != L'"') return;
        ++p;
        apply_attribute(name, value);
        if (*p != L' ' && *p != L',') return;
        ++p;
    }
}

CUISize CControlUI::measure(CUISize /*available*/) { return get_fixed_size(); }

bool CControlUI::paint(HDC dc, const CUIRect& paint_rect, CControlUI* stop_control)
{
    if (stop_control == this) return false;
    if (!intersect_rect(m_paint_rect, paint_rect, m_item)) return true;
    return paint_layers(dc, m_paint_rect, stop_control);
}

bool CControlUI::paint_layers(HDC dc, const CUIRect& paint_rect, CControlUI* /*stop_control*/)
{
    RECT box;
    GetClipBox(dc, &box);
    HRGN old_clip = CreateRectRgnIndirect(&box);
    HRGN clip = CreateRectRgnIndirect(paint_rect.as_rect());
    const CUISize round = get_border_round();
    if (round.cx > 0 || round.cy > 0)
    {
        HRGN rounded = CreateRoundRectRgn(m_item.left, m_item.top, m_item.right + 1, m_item.bottom + 1, round.cx,
                                          round.cy);
        CombineRgn(clip, clip, rounded, RGN_AND);
        DeleteObject(rounded);
    }
    ExtSelectClipRgn(dc, clip, RGN_AND);

    paint_back_color(dc);
    paint_back_image(dc);
    paint_state_image(dc);
    paint_fore_color(dc);
    paint_fore_image(dc);
    paint_text(dc);
    paint_border(dc);

    SelectClipRgn(dc, old_clip);
    DeleteObject(old_clip);
    DeleteObject(clip);
    return true;
}

void CControlUI::paint_back_color(HDC dc)
{
    if (m_back_color == 0) return;
    const bool vertical = m_gradient.compare_no_case(L"hor") != 0;
    if (m_back_color2 == 0)
    {
        const uint32_t c = adjust_color(m_back_color);
        CSkinRenderer::draw_color(dc, c >= 0xFF000000u ? m_paint_rect : m_item, c);
    }
    else if (m_back_color3 != 0)
    {
        CUIRect upper = m_item;
        upper.bottom = (m_item.top + m_item.bottom) / 2;
        CSkinRenderer::draw_gradient(dc, upper, adjust_color(m_back_color), adjust_color(m_back_color2), vertical, 8);
        CUIRect lower = m_item;
        lower.top = upper.bottom;
        CSkinRenderer::draw_gradient(dc, lower, adjust_color(m_back_color2), adjust_color(m_back_color3), vertical,
                                     8);
    }
    else
        CSkinRenderer::draw_gradient(dc, m_item, adjust_color(m_back_color), adjust_color(m_back_color2), vertical,
                                     16);
}

void CControlUI::paint_back_image(HDC dc)
{
    if (!m_back_image.is_empty()) draw_image(dc, m_back_image);
}

void CControlUI::paint_state_image(HDC) {}

void CControlUI::paint_fore_color(HDC dc) { CSkinRenderer::draw_color(dc, m_item, adjust_color(m_fore_color)); }

void CControlUI::paint_fore_image(HDC dc)
{
    if (!m_fore_image.is_empty()) draw_image(dc, m_fore_image);
}

void CControlUI::paint_text(HDC) {}

void CControlUI::paint_border(HDC dc)
{
    const int s = get_border_size();
    const CUISize round = get_border_round();
    const CUIRect sides = get_border_rect();
    if (m_border_color == 0 && m_focus_border_color == 0) return;
    if (s > 0 && (round.cx > 0 || round.cy > 0))
    {
        const uint32_t c = (is_focused() && m_focus_border_color != 0) ? m_focus_border_color : m_border_color;
        CSkinRenderer::draw_round_rect(dc, m_item, s, round.cx, round.cy, adjust_color(c));
        return;
    }
    if (is_focused() && m_focus_border_color != 0 && s > 0)
    {
        CSkinRenderer::draw_rect(dc, m_item, s, adjust_color(m_focus_border_color));
        return;
    }
    const uint32_t c = adjust_color(m_border_color);
    const CUIRect& r = m_item;
    if (sides.left > 0) CSkinRenderer::draw_line(dc, CUIRect(r.left, r.top, r.left, r.bottom), sides.left, c, m_border_style);
    if (sides.top > 0) CSkinRenderer::draw_line(dc, CUIRect(r.left, r.top, r.right, r.top), sides.top, c, m_border_style);
    if (sides.right > 0)
        CSkinRenderer::draw_line(dc, CUIRect(r.right - 1, r.top, r.right - 1, r.bottom), sides.right, c, m_border_style);
    if (sides.bottom > 0)
        CSkinRenderer::draw_line(dc, CUIRect(r.left, r.bottom - 1, r.right, r.bottom - 1), sides.bottom, c,
                                 m_border_style);
    if (sides.left == 0 && sides.top == 0 && sides.right == 0 && sides.bottom == 0 && s > 0)
        CSkinRenderer::draw_rect(dc, m_item, s, c);
}

void CControlUI::paint_after(HDC, const CUIRect&) {}

void CControlUI::invalidate()
{
    if (!is_visible()) return;
    CUIRect r = m_item;
    for (CControlUI* p = m_parent; p; p = p->get_parent())
        if (!intersect_rect(r, r, p->get_pos())) return;
    if (m_manager) m_manager->invalidate(r);
}

void CControlUI::request_layout()
{
    if (!is_visible()) return;
    m_update_needed = true;
    invalidate();
    if (m_manager) m_manager->need_update();
}

void CControlUI::request_parent_layout()
{
    if (m_parent)
    {
        m_parent->request_layout();
        m_parent->invalidate();
    }
    else
        request_layout();
    if (m_manager) m_manager->need_update();
}

CUIString CControlUI::get_virtual_wnd() const
{
    if (!m_virtual_wnd.is_empty()) return m_virtual_wnd;
    if (m_parent) return m_parent->get_virtual_wnd();
    return CUIString();
}

void CControlUI::set_virtual_wnd(const wchar_t* name)
{
    m_virtual_wnd = name ? name : L"";
    if (m_manager) m_manager->set_virtual_wnd_used(true);
}

#define VX_SET_INVALIDATE(field, value) \
    if (field == value) return;         \
    field = value;                      \
    invalidate()

void CControlUI::set_back_color(uint32_t c) { VX_SET_INVALIDATE(m_back_color, c); }
void CControlUI::set_back_color2(uint32_t c) { VX_SET_INVALIDATE(m_back_color2, c); }
void CControlUI::set_back_color3(uint32_t c) { VX_SET_INVALIDATE(m_back_color3, c); }
void CControlUI::set_fore_color(uint32_t c) { VX_SET_INVALIDATE(m_fore_color, c); }
void CControlUI::set_border_color(uint32_t c) { VX_SET_INVALIDATE(m_border_color, c); }
void CControlUI::set_focus_border_color(uint32_t c) { VX_SET_INVALIDATE(m_focus_border_color, c); }
void CControlUI::set_color_hsl(bool b) { VX_SET_INVALIDATE(m_color_hsl, b); }
void CControlUI::set_border_size(int n) { VX_SET_INVALIDATE(m_border_size, n); }
#undef VX_SET_INVALIDATE

int CControlUI::get_border_size() const { return scale(m_border_size); }
CUIRect CControlUI::get_border_rect() const { return scale(m_border_rect); }
void CControlUI::set_border_rect(CUIRect r)
{
    m_border_rect = r;
    invalidate();
}
void CControlUI::set_left_border_size(int n)
{
    m_border_rect.left = n;
    invalidate();
}
void CControlUI::set_top_border_size(int n)
{
    m_border_rect.top = n;
    invalidate();
}
void CControlUI::set_right_border_size(int n)
{
    m_border_rect.right = n;
    invalidate();
}
void CControlUI::set_bottom_border_size(int n)
{
    m_border_rect.bottom = n;
    invalidate();
}
void CControlUI::set_border_style(int style)
{
    m_border_style = style;
    invalidate();
}
CUISize CControlUI::get_border_round() const { return scale(m_border_round); }
void CControlUI::set_border_round(CUISize round)
{
    m_border_round = round;
    invalidate();
}

void CControlUI::set_back_image(const wchar_t* image)
{
    if (m_back_image == (image ? image : L"")) return;
    m_back_image = image ? image : L"";
    invalidate();
}
void CControlUI::set_fore_image(const wchar_t* image)
{
    if (m_fore_image == (image ? image : L"")) return;
    m_fore_image = image ? image : L"";
    invalidate();
}
void CControlUI::set_gradient(const wchar_t* gradient)
{
    if (m_gradient == (gradient ? gradient : L"")) return;
    m_gradient = gradient ? gradient : L"";
    invalidate();
}

bool CControlUI::draw_image(HDC dc, const wchar_t* image, const wchar_t* modify)
{
    if (!m_manager || !dc) return false;
    return CSkinRenderer::draw_image_string(dc, m_manager, m_item, m_paint_rect, image, modify);
}

// Hue, saturation and lightness stay neutral in this system, so the shift is the identity.
uint32_t CControlUI::adjust_color(uint32_t color) const { return color; }

void CControlUI::add_custom_attribute(const wchar_t* name, const wchar_t* value)
{
    if (!name || !*name || !value || !*value) return;
    if (m_custom_attributes.find(name)) return;
    m_custom_attributes.insert(name, new CUIString(value));
}

const wchar_t* CControlUI::get_custom_attribute(const wchar_t* name) const
{
    if (!name) return nullptr;
    const CUIString* v = static_cast<const CUIString*>(m_custom_attributes.find(name));
    return v ? v->data() : nullptr;
}

void CControlUI::remove_all_custom_attributes()
{
    for (int i = 0; i < m_custom_attributes.get_size(); ++i)
        if (const wchar_t* key = m_custom_attributes.get_at(i))
            delete static_cast<CUIString*>(m_custom_attributes.find(key, false));
    m_custom_attributes.remove_all();
}

} // namespace Lomar
