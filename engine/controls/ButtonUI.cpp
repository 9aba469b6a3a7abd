#include "controls/ButtonUI.h"

#include "controls/TabLayoutUI.h"
#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

CButtonUI::CButtonUI() { m_text_style = DT_CENTER | DT_VCENTER | DT_SINGLELINE; }
CButtonUI::~CButtonUI() {}

const wchar_t* CButtonUI::get_type_name() const { return L"ButtonUI"; }

void* CButtonUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"Button")) return static_cast<CButtonUI*>(this);
    return CLabelUI::query_interface(name);
}

uint32_t CButtonUI::get_control_flags() const
{
    return (is_enabled() ? UIFLAG_SETCURSOR : 0) | (is_keyboard_enabled() ? UIFLAG_TABSTOP : 0);
}

bool CButtonUI::activate()
{
    if (!CControlUI::activate()) return false;
    if (m_manager)
    {
        m_manager->send_notify(this, L"click");
        run_tab_binding();
    }
    return true;
}

void CButtonUI::run_tab_binding()
{
    if (m_bind_tab_layout.is_empty() || m_bind_tab_index < 0 || !m_manager) return;
    CControlUI* found = m_manager->find_control_by_name(m_bind_tab_layout);
    if (!found) return;
    if (auto* tab = static_cast<CTabLayoutUI*>(found->query_interface(L"TabLayout"))) tab->select_item(m_bind_tab_index);
}

void CButtonUI::bind_tab(int index, const wchar_t* layout_name)
{
    m_bind_tab_index = index;
    m_bind_tab_layout = layout_name ? layout_name : L"";
}

void CButtonUI::set_enabled(bool b)
{
    CControlUI::set_enabled(b);
    m_state = is_enabled() ? 0 : UISTATE_DISABLED;
}

void CButtonUI::handle_event(UIEvent& event)
{
    if (!m_mouse_enabled && is_mouse_event(event.type))
    {
        if (m_parent)
            m_parent->handle_event(event);
        else
            CLabelUI::handle_event(event);
        return;
    }
    const bool inside = point_in_rect(m_item, event.mouse);
    switch (event.type)
    {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        invalidate();
        break;
    case UIEVENT_KEYDOWN:
        if (is_keyboard_enabled() && (event.key == VK_SPACE || event.key == VK_RETURN))
        {
            activate();
            return;
        }
        break;
    case UIEVENT_MOUSEMOVE:
        if (m_state & UISTATE_CAPTURED)
        {
            if (inside)
                m_state |= UISTATE_PUSHED;
            else
                m_state &= ~uint32_t(UISTATE_PUSHED);
            invalidate();
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (is_enabled())
        {
            m_state |= UISTATE_HOT;
            invalidate();
            if (m_rich_event && m_manager) m_manager->send_notify(this, L"mouseenter");
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside && is_enabled())
        {
            m_state |= UISTATE_CAPTURED | UISTATE_PUSHED;
            invalidate();
            if (m_rich_event && m_manager) m_manager->send_notify(this, L"buttondown");
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_state & UISTATE_CAPTURED)
        {
            m_state &= ~uint32_t(UISTATE_CAPTURED | UISTATE_PUSHED);
            invalidate();
            if (inside) activate();
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_menu_used && m_manager) m_manager->send_notify(this, L"menu", event.wparam, event.lparam);
        return;
    case UIEVENT_MOUSELEAVE:
        if (is_enabled())
        {
            m_state &= ~uint32_t(UISTATE_HOT);
            invalidate();
            if (m_rich_event && m_manager) m_manager->send_notify(this, L"mouseleave");
        }
        break;
    default:
        break;
    }
    CLabelUI::handle_event(event);
}

void CButtonUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    auto is = [name](const wchar_t* n) { return equals_no_case(name, n); };
    if (!value) value = L"";
    if (is(L"normalimage")) set_normal_image(value);
    else if (is(L"hotimage")) set_hot_image(value);
    else if (is(L"pushedimage")) set_pushed_image(value);
    else if (is(L"focusedimage")) set_focused_image(value);
    else if (is(L"disabledimage")) set_disabled_image(value);
    else if (is(L"hotforeimage")) set_hot_fore_image(value);
    else if (is(L"stateimage"))
    {
        m_normal_image.empty();
        set_state_image(value);
    }
    else if (is(L"statecount")) m_state_count = static_cast<int>(read_int(value));
    else if (is(L"bindtabindex"))
    {
        const int index = static_cast<int>(read_int(value));
        if (index >= 0) m_bind_tab_index = index;
    }
    else if (is(L"bindtablayoutname")) m_bind_tab_layout = value;
    else if (is(L"hotbkcolor")) set_hot_back_color(read_color(value));
    else if (is(L"pushedbkcolor")) set_pushed_back_color(read_color(value));
    else if (is(L"disabledbkcolor")) set_disabled_back_color(read_color(value));
    else if (is(L"hottextcolor")) set_hot_text_color(read_color(value));
    else if (is(L"pushedtextcolor")) set_pushed_text_color(read_color(value));
    else if (is(L"focusedtextcolor")) set_focused_text_color(read_color(value));
    else if (is(L"hotfont")) set_hot_font(static_cast<int>(read_int(value)));
    else if (is(L"pushedfont")) set_pushed_font(static_cast<int>(read_int(value)));
    else if (is(L"focuedfont")) set_focused_font(static_cast<int>(read_int(value)));
    else CLabelUI::apply_attribute(name, value);
}

void CButtonUI::paint_back_color(HDC dc)
{
    if (m_state & (UISTATE_DISABLED | UISTATE_PUSHED | UISTATE_HOT))
    {
        const uint32_t c = (m_state & UISTATE_DISABLED) ? m_disabled_back_color
                           : (m_state & UISTATE_PUSHED) ? m_pushed_back_color
                                                        : m_hot_back_color;
        if (c != 0)
        {
            CSkinRenderer::draw_color(dc, m_paint_rect, adjust_color(c));
            return;
        }
    }
    CControlUI::paint_back_color(dc);
}

void CButtonUI::refresh_state_bits()
{
    if (is_focused()) m_state |= UISTATE_FOCUSED;
    else m_state &= ~uint32_t(UISTATE_FOCUSED);
    if (!is_enabled()) m_state |= UISTATE_DISABLED;
    else m_state &= ~uint32_t(UISTATE_DISABLED);
    // A modal box over the window disables it; the button then shows only that.
    if (m_manager && m_manager->get_window() && !::IsWindowEnabled(m_manager->get_window()))
        m_state &= UISTATE_DISABLED;
}

void CButtonUI::derive_state_frames()
{
    if (m_state_image.is_empty() || m_state_count <= 0 || !m_manager) return;
    const ImageDrawSpec* spec = m_manager->get_draw_spec(m_state_image, nullptr);
    ImageView image;
    if (!spec || !m_manager->lookup_image(spec->image_name, spec->resource_type.is_empty() ? nullptr : spec->resource_type.data(),
                                          spec->mask, nullptr, image))
        return;
    const int frame = image.width / m_state_count;
    CUIString* targets[4] = {&m_normal_image, &m_hot_image, &m_pushed_image, &m_disabled_image};
    for (int i = 0; i < 4 && i < m_state_count; ++i)
        targets[i]->format(L"res='%s' restype='%s' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'",
                           spec->image_name.data(), spec->resource_type.data(), 0, 0, m_item.width(),
                           m_item.height(), i * frame, 0, (i + 1) * frame, image.height);
    m_state_image.empty();   // frames are cut once
}

void CButtonUI::paint_state_image(HDC dc)
{
    derive_state_frames();
    refresh_state_bits();
    const CUIString* image = nullptr;
    if (m_state & UISTATE_DISABLED) image = &m_disabled_image;
    else if (m_state & UISTATE_PUSHED) image = &m_pushed_image;
    else if (m_state & UISTATE_HOT) image = &m_hot_image;
    else if (m_state & UISTATE_FOCUSED) image = &m_focused_image;
    if (image && !image->is_empty() && draw_image(dc, *image)) return;
    if (!m_normal_image.is_empty()) draw_image(dc, m_normal_image);
}

void CButtonUI::paint_fore_image(HDC dc)
{
    if (m_state & UISTATE_PUSHED)
    {
        if (!m_pushed_fore_image.is_empty() && draw_image(dc, m_pushed_fore_image)) return;
    }
    else if (m_state & UISTATE_HOT)
    {
        if (!m_hot_fore_image.is_empty() && draw_image(dc, m_hot_fore_image)) return;
    }
    if (!m_fore_image.is_empty()) draw_image(dc, m_fore_image);
}

void CButtonUI::paint_text(HDC dc)
{
    refresh_state_bits();
    resolve_default_colors();
    if (get_text().is_empty()) return;
    uint32_t color = is_enabled() ? m_text_color : m_disabled_text_color;
    if ((m_state & UISTATE_PUSHED) && m_pushed_text_color != 0) color = m_pushed_text_color;
    else if ((m_state & UISTATE_HOT) && m_hot_text_color != 0) color = m_hot_text_color;
    else if ((m_state & UISTATE_FOCUSED) && m_focused_text_color != 0) color = m_focused_text_color;
    int font = m_font;
    if ((m_state & UISTATE_PUSHED) && m_pushed_font != -1) font = m_pushed_font;
    else if ((m_state & UISTATE_HOT) && m_hot_font != -1) font = m_hot_font;
    else if ((m_state & UISTATE_FOCUSED) && m_focused_font != -1) font = m_focused_font;
    draw_label_text(dc, color, font, get_text_padding());
}

#define VX_IMAGE_ACCESSORS(Name, field)                                 \
    const CUIString& CButtonUI::get_##Name() const { return field; }   \
    void CButtonUI::set_##Name(const wchar_t* image)                    \
    {                                                                   \
        field = image ? image : L"";                                    \
        invalidate();                                                   \
    }
VX_IMAGE_ACCESSORS(normal_image, m_normal_image)
VX_IMAGE_ACCESSORS(hot_image, m_hot_image)
VX_IMAGE_ACCESSORS(pushed_image, m_pushed_image)
VX_IMAGE_ACCESSORS(focused_image, m_focused_image)
VX_IMAGE_ACCESSORS(disabled_image, m_disabled_image)
VX_IMAGE_ACCESSORS(hot_fore_image, m_hot_fore_image)
VX_IMAGE_ACCESSORS(state_image, m_state_image)
#undef VX_IMAGE_ACCESSORS

void CButtonUI::set_hot_back_color(uint32_t c)
{
    m_hot_back_color = c;
    invalidate();
}
void CButtonUI::set_pushed_back_color(uint32_t c)
{
    m_pushed_back_color = c;
    invalidate();
}
void CButtonUI::set_disabled_back_color(uint32_t c)
{
    m_disabled_back_color = c;
    invalidate();
}
void CButtonUI::set_hot_font(int font)
{
    m_hot_font = font;
    invalidate();
}
void CButtonUI::set_pushed_font(int font)
{
    m_pushed_font = font;
    invalidate();
}
void CButtonUI::set_focused_font(int font)
{
    m_focused_font = font;
    invalidate();
}

} // namespace Lomar
