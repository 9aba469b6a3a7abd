#include "controls/TextUI.h"

#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

CTextUI::CTextUI()
{
    m_text_style = DT_WORDBREAK;
    m_text_padding.left = 2;
    m_text_padding.right = 2;
}
CTextUI::~CTextUI() {}

const wchar_t* CTextUI::get_type_name() const { return L"TextUI"; }

void* CTextUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Text")) return static_cast<CTextUI*>(this);
    return CLabelUI::query_interface(name);
}

uint32_t CTextUI::get_control_flags() const { return (is_enabled() && m_link_count > 0) ? UIFLAG_SETCURSOR : 0; }

void CTextUI::handle_event(UIEvent& event)
{
    if (!is_mouse_enabled() && is_mouse_event(event.type))
    {
        if (m_parent)
            m_parent->handle_event(event);
        else
            CLabelUI::handle_event(event);
        return;
    }
    for (int i = 0; i < m_link_count; ++i)
    {
        if (!point_in_rect(m_links[i], event.mouse)) continue;
        if (event.type == UIEVENT_SETCURSOR)
        {
            ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
            return;
        }
        if (event.type == UIEVENT_BUTTONDOWN || event.type == UIEVENT_DBLCLICK)
        {
            invalidate();
            return;
        }
        if (event.type == UIEVENT_BUTTONUP)
        {
            if (m_manager) m_manager->send_notify(this, L"link", static_cast<uintptr_t>(i));
            return;
        }
    }
    if (event.type == UIEVENT_MOUSEMOVE && m_link_count > 0)
    {
        int hovered = -1;
        for (int i = 0; i < m_link_count; ++i)
            if (point_in_rect(m_links[i], event.mouse)) hovered = i;
        if (hovered != m_hover_link)
        {
            m_hover_link = hovered;
            invalidate();
        }
        return;
    }
    if (event.type == UIEVENT_MOUSELEAVE && m_hover_link != -1)
    {
        m_hover_link = -1;
        invalidate();
        return;
    }
    if (event.type == UIEVENT_CONTEXTMENU) return;
    CLabelUI::handle_event(event);
}

CUISize CTextUI::measure(CUISize available)
{
    HDC dc = m_manager ? m_manager->get_paint_dc() : nullptr;
    if (dc)
    {
        const int right = m_auto_calc_width ? 9999 : get_fixed_width();
        CUIRect r(m_text_padding.left, 0, right - m_text_padding.right, 9999);
        CSkinRenderer::draw_text(dc, m_manager, r, get_text(), 0, m_font, DT_CALCRECT | m_text_style);
        if (m_auto_calc_width) m_fixed_size.cx = r.width() + m_text_padding.left + m_text_padding.right;
    }
    return CControlUI::measure(available);
}

void CTextUI::paint_text(HDC dc)
{
    resolve_default_colors();
    draw_label_text(dc, is_enabled() ? m_text_color : m_disabled_text_color, m_font, m_text_padding);
}

} // namespace Lomar
