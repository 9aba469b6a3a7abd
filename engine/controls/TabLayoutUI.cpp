#include "controls/TabLayoutUI.h"

#include <algorithm>

#include "window/PaintManagerUI.h"

namespace Lomar {

CTabLayoutUI::CTabLayoutUI() {}
CTabLayoutUI::~CTabLayoutUI() {}

const wchar_t* CTabLayoutUI::get_type_name() const { return L"TabLayoutUI"; }

void* CTabLayoutUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"TabLayout")) return static_cast<CTabLayoutUI*>(this);
    return CContainerUI::query_interface(name);
}

bool CTabLayoutUI::add(CControlUI* control)
{
    if (!CContainerUI::add(control)) return false;
    if (m_current == -1 && control->is_visible())
        m_current = get_item_index(control);
    else
        control->set_visible(false);
    return true;
}

bool CTabLayoutUI::add_at(CControlUI* control, int index)
{
    if (!CContainerUI::add_at(control, index)) return false;
    if (m_current == -1 && control->is_visible())
        m_current = get_item_index(control);
    else if (m_current == -1 || m_current < index)
        control->set_visible(false);
    else
        ++m_current;
    return true;
}

bool CTabLayoutUI::remove(CControlUI* control)
{
    const int index = get_item_index(control);
    if (!CContainerUI::remove(control)) return false;
    if (index == m_current)
    {
        if (get_count() == 0)
            m_current = -1;
        else
        {
            m_current = 0;
            get_item_at(0)->set_visible(true);
        }
        request_parent_layout();
    }
    else if (index < m_current)
        --m_current;
    return true;
}

void CTabLayoutUI::remove_all()
{
    m_current = -1;
    CContainerUI::remove_all();
    request_parent_layout();
}

void CTabLayoutUI::set_pos(CUIRect rect, bool invalidate_now)
{
    CControlUI::set_pos(rect, invalidate_now);
    const CUIRect rc = content_rect();
    for (int i = 0; i < m_items.size(); ++i)
    {
        CControlUI* c = get_item_at(i);
        if (!c->is_visible()) continue;
        if (c->is_float())
        {
            set_float_pos(i);
            continue;
        }
        if (i != m_current) continue;
        const CUIRect p = c->get_padding();
        CUIRect r(rc.left + p.left, rc.top + p.top, rc.right - p.right, rc.bottom - p.bottom);
        CUISize sz = c->measure(CUISize(r.width(), r.height()));
        if (sz.cx == 0) sz.cx = r.width();
        if (sz.cy == 0) sz.cy = r.height();
        sz.cx = std::max(0, sz.cx);
        sz.cy = std::max(0, sz.cy);
        sz.cx = std::max(std::min(sz.cx, c->get_max_width()), c->get_min_width());
        sz.cy = std::max(std::min(sz.cy, c->get_max_height()), c->get_min_height());
        c->set_pos(CUIRect(r.left, r.top, r.left + sz.cx, r.top + sz.cy), true);
    }
}

void CTabLayoutUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    if (attr::equals_no_case(name, L"selectedid")) select_item(static_cast<int>(attr::read_int(value)));
    CContainerUI::apply_attribute(name, value);
}

bool CTabLayoutUI::select_item(CControlUI* control)
{
    const int index = get_item_index(control);
    if (index < 0) return false;
    return select_item(index);
}

bool CTabLayoutUI::select_item(int index)
{
    if (index < 0 || index >= get_count()) return false;
    if (index == m_current) return true;
    const int old = m_current;
    m_current = index;
    for (int i = 0; i < get_count(); ++i)
    {
        CControlUI* c = get_item_at(i);
        if (i == index)
        {
            c->set_visible(true);
            c->set_focus();
            set_pos(m_item, true);
        }
        else
            c->set_visible(false);
    }
    request_parent_layout();
    if (m_manager)
    {
        m_manager->set_next_tab_control();
        m_manager->send_notify(this, L"tabselect", static_cast<uintptr_t>(m_current), old);
    }
    return true;
}

} // namespace Lomar
