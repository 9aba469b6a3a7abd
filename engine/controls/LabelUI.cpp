#include "controls/LabelUI.h"

#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

CLabelUI::CLabelUI() {}
CLabelUI::~CLabelUI() {}

const wchar_t* CLabelUI::get_type_name() const { return L"LabelUI"; }

void* CLabelUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Label")) return static_cast<CLabelUI*>(this);
    return CControlUI::query_interface(name);
}

uint32_t CLabelUI::get_control_flags() const { return is_enabled() ? UIFLAG_SETCURSOR : 0; }

void CLabelUI::set_text(const wchar_t* text)
{
    CControlUI::set_text(text);
    if (m_auto_calc_width || m_auto_calc_height)
    {
        m_measure_stale = true;
        request_parent_layout();
    }
}

void CLabelUI::handle_event(UIEvent& event)
{
    if (event.type == UIEVENT_SETFOCUS)
    {
        m_focused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS)
    {
        m_focused = false;
        return;
    }
    CControlUI::handle_event(event);
}

void CLabelUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    auto is = [name](const wchar_t* n) { return equals_no_case(name, n); };
    if (!value) value = L"";
    CUIString v(value);
    if (is(L"align"))
    {
        if (v.find(L"left") >= 0) m_text_style &= ~unsigned(DT_CENTER | DT_RIGHT);
        if (v.find(L"center") >= 0) m_text_style = (m_text_style | DT_CENTER) & ~unsigned(DT_RIGHT);
        if (v.find(L"right") >= 0) m_text_style = (m_text_style | DT_RIGHT) & ~unsigned(DT_CENTER);
    }
    else if (is(L"valign"))
    {
        if (v.find(L"top") >= 0)
            m_text_style = (m_text_style & ~unsigned(DT_VCENTER | DT_BOTTOM | DT_WORDBREAK)) | DT_SINGLELINE;
        if (v.find(L"vcenter") >= 0)
            m_text_style = (m_text_style & ~unsigned(DT_BOTTOM | DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
        if (v.find(L"bottom") >= 0)
            m_text_style = (m_text_style & ~unsigned(DT_VCENTER | DT_WORDBREAK)) | DT_BOTTOM | DT_SINGLELINE;
    }
    else if (is(L"endellipsis"))
    {
        if (read_bool(value)) m_text_style |= DT_END_ELLIPSIS;
        else m_text_style &= ~unsigned(DT_END_ELLIPSIS);
    }
    else if (is(L"wordbreak"))
    {
        if (read_bool(value))
            m_text_style = (m_text_style | DT_WORDBREAK | DT_EDITCONTROL) & ~unsigned(DT_SINGLELINE);
        else
            m_text_style = (m_text_style & ~unsigned(DT_WORDBREAK | DT_EDITCONTROL)) | DT_SINGLELINE;
    }
    else if (is(L"noprefix"))
    {
        if (read_bool(value)) m_text_style |= DT_NOPREFIX;
        else m_text_style &= ~unsigned(DT_NOPREFIX);
    }
    else if (is(L"font"))
        set_font(static_cast<int>(read_int(value)));
    else if (is(L"textcolor"))
        set_text_color(read_color(value));
    else if (is(L"disabledtextcolor"))
        set_disabled_text_color(read_color(value));
    else if (is(L"textpadding"))
        set_text_padding(read_rect(value));
    else if (is(L"showhtml"))
        set_show_html(read_bool(value));
    else if (is(L"autocalcwidth"))
        set_auto_calc_width(read_bool(value));
    else if (is(L"autocalcheight"))
        set_auto_calc_height(read_bool(value));
    else
        CControlUI::apply_attribute(name, value);
}

CUISize CLabelUI::measure(CUISize available)
{
    const CUISize fixed = get_fixed_size();
    if (fixed.cx >= 1 && fixed.cy >= 1) return fixed;
    if (available != m_measured_for) m_measure_stale = true;
    if (m_measure_stale)
    {
        m_measured_for = available;
        m_measure_stale = false;
        int w = fixed.cx, h = fixed.cy;
        const CUIRect tp = get_text_padding();
        HDC dc = m_manager ? m_manager->get_paint_dc() : nullptr;
        if (m_text_style & DT_SINGLELINE)
        {
            if (h == 0) h = tp.top + (m_manager ? m_manager->get_font_height(m_font) : 0) + tp.bottom + 8;
            if (w == 0 && m_auto_calc_width && dc)
            {
                CUIRect r(0, 0, 9999, h);
                CSkinRenderer::draw_text(dc, m_manager, r, get_text(), 0, m_font,
                                         DT_CALCRECT | (m_text_style & ~unsigned(DT_CENTER | DT_RIGHT)));
                w = r.width() + tp.left + tp.right;
            }
        }
        else if (h == 0 && m_auto_calc_height && dc)
        {
            CUIRect r(tp.left, 0, w - tp.right, 9999);
            CSkinRenderer::draw_text(dc, m_manager, r, get_text(), 0, m_font, DT_CALCRECT | m_text_style);
            h = r.height() + tp.top + tp.bottom;
        }
        m_measured = CUISize(w, h);
    }
    return m_measured;
}

void CLabelUI::resolve_default_colors()
{
    if (!m_manager) return;
    if (m_text_color == 0) m_text_color = m_manager->get_default_font_color();
    if (m_disabled_text_color == 0) m_disabled_text_color = m_manager->get_default_disabled_color();
}

void CLabelUI::draw_label_text(HDC dc, uint32_t color, int font, const CUIRect& tp)
{
    CUIRect box(m_item.left + tp.left, m_item.top + tp.top, m_item.right - tp.right, m_item.bottom - tp.bottom);
    CUIString text = get_text();
    if (text.is_empty()) return;
    CSkinRenderer::draw_text(dc, m_manager, box, text, color, font, m_text_style);
}

void CLabelUI::paint_text(HDC dc)
{
    resolve_default_colors();
    draw_label_text(dc, is_enabled() ? m_text_color : m_disabled_text_color, m_font, get_text_padding());
}

bool CLabelUI::is_auto_calc_width() const { return m_auto_calc_width; }
void CLabelUI::set_auto_calc_width(bool b) { m_auto_calc_width = b; }
bool CLabelUI::is_auto_calc_height() const { return m_auto_calc_height; }
void CLabelUI::set_auto_calc_height(bool b) { m_auto_calc_height = b; }

void CLabelUI::set_text_color(uint32_t c)
{
    m_text_color = c;
    invalidate();
}
void CLabelUI::set_disabled_text_color(uint32_t c)
{
    m_disabled_text_color = c;
    invalidate();
}
void CLabelUI::set_font(int font)
{
    m_font = font;
    m_measure_stale = true;
    invalidate();
}
void CLabelUI::set_text_style(unsigned style)
{
    m_text_style = style;
    invalidate();
}
CUIRect CLabelUI::get_text_padding() const { return scale(m_text_padding); }
void CLabelUI::set_text_padding(CUIRect padding)
{
    m_text_padding = padding;
    m_measure_stale = true;
    invalidate();
}
void CLabelUI::set_show_html(bool b)
{
    if (m_show_html == b) return;
    m_show_html = b;
    m_measure_stale = true;
    invalidate();
}

} // namespace Lomar
