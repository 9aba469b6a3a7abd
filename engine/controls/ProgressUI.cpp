#include "controls/ProgressUI.h"

#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

CProgressUI::CProgressUI()
{
    m_text_style = DT_CENTER | DT_SINGLELINE;
    set_fixed_height(12);
}
CProgressUI::~CProgressUI() {}

const wchar_t* CProgressUI::get_type_name() const { return L"ProgressUI"; }

void* CProgressUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Progress")) return static_cast<CProgressUI*>(this);
    return CLabelUI::query_interface(name);
}

void CProgressUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    if (equals_no_case(name, L"hor")) set_horizontal(read_bool(value));
    else if (equals_no_case(name, L"min")) set_min(static_cast<int>(read_int(value)));
    else if (equals_no_case(name, L"max")) set_max(static_cast<int>(read_int(value)));
    else if (equals_no_case(name, L"value")) set_value(static_cast<int>(read_int(value)));
    else if (equals_no_case(name, L"isstretchfore")) set_stretch_fore(read_bool(value));
    else CLabelUI::apply_attribute(name, value);
}

void CProgressUI::set_horizontal(bool b)
{
    if (m_horizontal == b) return;
    m_horizontal = b;
    invalidate();
}

void CProgressUI::set_stretch_fore(bool b)
{
    if (m_stretch_fore == b) return;
    m_stretch_fore = b;
    invalidate();
}

void CProgressUI::set_min(int v)
{
    m_min = v;
    invalidate();
}

void CProgressUI::set_max(int v)
{
    m_max = v;
    invalidate();
}

void CProgressUI::set_value(int v)
{
    if (v == m_value || v < m_min || v > m_max) return;
    m_value = v;
    invalidate();
    update_text();
}

void CProgressUI::update_text()
{
    if (!m_show_text || m_max == m_min) return;
    CUIString text;
    text.format(L"%.0f%%", (m_value - m_min) * 100.0 / (m_max - m_min));
    set_text(text);
}

void CProgressUI::normalise()
{
    if (m_min >= m_max) m_max = m_min + 1;
    if (m_value > m_max) m_value = m_max;
    if (m_value < m_min) m_value = m_min;
}

void CProgressUI::paint_fore_color(HDC dc)
{
    if (m_fore_color == 0) return;
    normalise();
    CUIRect r = m_item;
    const long long range = static_cast<long long>(m_max) - m_min;
    if (m_horizontal)
        r.right = static_cast<int>(m_item.left + m_item.width() * (static_cast<long long>(m_value) - m_min) / range);
    else
        r.top = static_cast<int>(m_item.top + m_item.height() * (static_cast<long long>(m_max) - m_value) / range);
    CSkinRenderer::draw_color(dc, r, adjust_color(m_fore_color));
}

void CProgressUI::paint_fore_image(HDC dc)
{
    if (m_fore_image.is_empty()) return;
    normalise();
    const float range = static_cast<float>(m_max - m_min);
    int w, t, bottom;
    if (m_horizontal)
    {
        w = static_cast<int>(m_item.width() * static_cast<float>(m_value - m_min) / range);
        t = 0;
        bottom = m_item.height();
    }
    else
    {
        w = m_item.width();
        t = static_cast<int>(m_item.height() * static_cast<float>(m_max - m_value) / range);
        bottom = m_item.height();
    }
    if (m_stretch_fore)
        m_fore_modifier.small_format(L"dest='%d,%d,%d,%d'", 0, t, w, bottom);
    else
        m_fore_modifier.small_format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", 0, t, w, bottom, 0, t, w, bottom);
    draw_image(dc, m_fore_image, m_fore_modifier);
}

} // namespace Lomar
