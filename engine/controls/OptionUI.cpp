#include "controls/OptionUI.h"

#include "core/UIPtrArray.h"
#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

COptionUI::COptionUI() {}

COptionUI::~COptionUI()
{
    if (!m_group.is_empty() && m_manager) m_manager->remove_option_group(m_group, this);
}

const wchar_t* COptionUI::get_type_name() const { return L"OptionUI"; }

void* COptionUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Option")) return static_cast<COptionUI*>(this);
    return CButtonUI::query_interface(name);
}

void COptionUI::set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init_now)
{
    CControlUI::set_manager(manager, parent, init_now);
    if (init_now && m_manager && !m_group.is_empty()) m_manager->add_option_group(m_group, this);
}

void COptionUI::set_group(const wchar_t* name)
{
    CUIString group(name ? name : L"");
    if (group.compare(m_group) == 0) return;
    if (!m_group.is_empty() && m_manager) m_manager->remove_option_group(m_group, this);
    m_group = group;
    if (!m_group.is_empty() && m_manager) m_manager->add_option_group(m_group, this);
}

void COptionUI::change_selection(bool selected, bool notify, uintptr_t wparam)
{
    if (m_selected == selected) return;
    m_selected = selected;
    if (selected) m_state |= UISTATE_SELECTED;
    else m_state &= ~uint32_t(UISTATE_SELECTED);
    if (m_manager)
    {
        if (!m_group.is_empty())
        {
            if (!selected)
            {
                invalidate();
                return;
            }
            if (CUIPtrArray* members = m_manager->get_option_group(m_group))
                for (int i = 0; i < members->size(); ++i)
                {
                    auto* other = static_cast<COptionUI*>(members->get_at(i));
                    if (other != this) other->set_selected(false, notify);
                }
        }
        if (notify) m_manager->send_notify(this, L"selectchanged", wparam, 0);
    }
    invalidate();
}

void COptionUI::set_selected(bool selected, bool notify) { change_selection(selected, notify, 0); }

bool COptionUI::activate()
{
    if (!CButtonUI::activate()) return false;
    if (!m_group.is_empty())
        set_selected(true, true);
    else
        set_selected(!m_selected, true);
    return true;
}

void COptionUI::set_enabled(bool b)
{
    CButtonUI::set_enabled(b);
    if (m_selected) m_state |= UISTATE_SELECTED;   // selection survives enabling and disabling
}

void COptionUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    auto is = [name](const wchar_t* n) { return equals_no_case(name, n); };
    if (!value) value = L"";
    if (is(L"group")) set_group(value);
    else if (is(L"selected")) set_selected(read_bool(value), true);
    else if (is(L"selectedimage")) m_selected_image = value;
    else if (is(L"selectedhotimage")) m_selected_hot_image = value;
    else if (is(L"selectedpushedimage")) m_selected_pushed_image = value;
    else if (is(L"selecteddisableimage")) m_selected_disabled_image = value;
    else if (is(L"selectedforeimage")) m_selected_fore_image = value;
    else if (is(L"selectedstateimage")) set_selected_state_image(value);
    else if (is(L"selectedstatecount")) m_selected_state_count = static_cast<int>(read_int(value));
    else if (is(L"selectedbkcolor")) m_selected_back_color = read_color(value);
    else if (is(L"selectedtextcolor")) m_selected_text_color = read_color(value);
    else if (is(L"selectedhottextcolor")) m_selected_hot_text_color = read_color(value);
    else if (is(L"selectedpushedtextcolor")) m_selected_pushed_text_color = read_color(value);
    else if (is(L"selectedfont")) m_selected_font = static_cast<int>(read_int(value));
    else CButtonUI::apply_attribute(name, value);
}

void COptionUI::paint_back_color(HDC dc)
{
    if (!m_selected)
    {
        CButtonUI::paint_back_color(dc);
        return;
    }
    if (m_selected_back_color != 0) CSkinRenderer::draw_color(dc, m_paint_rect, adjust_color(m_selected_back_color));
}

void COptionUI::derive_selected_frames()
{
    if (m_selected_state_image.is_empty() || m_selected_state_count <= 0 || !m_manager) return;
    const ImageDrawSpec* spec = m_manager->get_draw_spec(m_selected_state_image, nullptr);
    ImageView image;
    if (!spec || !m_manager->lookup_image(spec->image_name,
                                          spec->resource_type.is_empty() ? nullptr : spec->resource_type.data(),
                                          spec->mask, nullptr, image))
        return;
    const int frame = image.width / m_selected_state_count;
    CUIString* targets[3] = {&m_selected_image, &m_selected_hot_image, &m_selected_pushed_image};
    for (int i = 0; i < 3 && i < m_selected_state_count; ++i)
        targets[i]->format(L"res='%s' restype='%s' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'",
                           spec->image_name.data(), spec->resource_type.data(), 0, 0, m_item.width(),
                           m_item.height(), i * frame, 0, (i + 1) * frame, image.height);
    m_selected_state_image.empty();
}

void COptionUI::paint_state_image(HDC dc)
{
    derive_selected_frames();
    if (!m_selected)
    {
        CButtonUI::paint_state_image(dc);
        return;
    }
    refresh_state_bits();
    if ((m_state & UISTATE_PUSHED) && !m_selected_pushed_image.is_empty())
    {
        if (draw_image(dc, m_selected_pushed_image)) return;
    }
    else if ((m_state & UISTATE_HOT) && !m_selected_hot_image.is_empty())
    {
        if (draw_image(dc, m_selected_hot_image)) return;
    }
    else if ((m_state & UISTATE_DISABLED) && !m_selected_disabled_image.is_empty())
    {
        if (draw_image(dc, m_selected_disabled_image)) return;
    }
    if (!m_selected_image.is_empty()) draw_image(dc, m_selected_image);
}

void COptionUI::paint_fore_image(HDC dc)
{
    if (m_selected && !m_selected_fore_image.is_empty() && draw_image(dc, m_selected_fore_image)) return;
    CButtonUI::paint_fore_image(dc);
}

void COptionUI::paint_text(HDC dc)
{
    if (!m_selected)
    {
        CButtonUI::paint_text(dc);
        return;
    }
    refresh_state_bits();
    resolve_default_colors();
    const uint32_t saved = m_text_color;
    if (m_selected_text_color != 0) m_text_color = m_selected_text_color;
    if ((m_state & UISTATE_PUSHED) && !m_selected_pushed_image.is_empty())
    {
        if (m_selected_pushed_text_color != 0) m_text_color = m_selected_pushed_text_color;
    }
    else if ((m_state & UISTATE_HOT) && !m_selected_hot_image.is_empty())
    {
        if (m_selected_hot_text_color != 0) m_text_color = m_selected_hot_text_color;
    }
    const int font = m_selected_font != -1 ? m_selected_font : m_font;
    draw_label_text(dc, is_enabled() ? m_text_color : m_disabled_text_color, font, get_text_padding());
    m_text_color = saved;
}

const CUIString& COptionUI::get_selected_state_image() const { return m_selected_state_image; }
void COptionUI::set_selected_state_image(const wchar_t* image)
{
    m_selected_state_image = image ? image : L"";
    invalidate();
}

const wchar_t* CCheckBoxUI::get_type_name() const { return L"CheckBoxUI"; }

void* CCheckBoxUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"CheckBox")) return static_cast<CCheckBoxUI*>(this);
    return COptionUI::query_interface(name);
}

void CCheckBoxUI::handle_event(UIEvent& event)
{
    if (m_auto_check && (event.type == UIEVENT_BUTTONDOWN || event.type == UIEVENT_DBLCLICK))
    {
        if (point_in_rect(m_item, event.mouse) && is_enabled())
        {
            set_selected(!m_selected, true);
            if (m_manager) m_manager->send_notify(this, L"checkclick");
            invalidate();
        }
        return;
    }
    COptionUI::handle_event(event);
}

void CCheckBoxUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    if (attr::equals_no_case(name, L"EnableAutoCheck")) m_auto_check = attr::read_bool(value);
    COptionUI::apply_attribute(name, value);
}

void CCheckBoxUI::set_selected(bool selected, bool notify) { change_selection(selected, notify, selected ? 1 : 0); }

} // namespace Lomar
