#include "controls/VerticalLayoutUI.h"

#include <algorithm>

namespace Lomar {

namespace {

int clamp_to(int v, int lo, int hi) { return std::max(std::min(v, hi), lo); }

} // namespace

CVerticalLayoutUI::CVerticalLayoutUI() {}
CVerticalLayoutUI::~CVerticalLayoutUI() {}

const wchar_t* CVerticalLayoutUI::get_type_name() const { return L"VerticalLayoutUI"; }

void* CVerticalLayoutUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"VerticalLayout")) return static_cast<CVerticalLayoutUI*>(this);
    return CContainerUI::query_interface(name);
}

uint32_t CVerticalLayoutUI::get_control_flags() const
{
    return (is_enabled() && m_sep_height != 0) ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::set_pos(CUIRect rect, bool invalidate_now)
{
    CControlUI::set_pos(rect, invalidate_now);
    const CUIRect rc = content_rect();
    if (m_items.is_empty())
    {
        process_scroll_bar(rc, 0, 0);
        return;
    }
    CUISize avail(rc.width(), rc.height());
    const int child_padding = get_child_padding();

    // Measuring pass: total of the fixed heights, count of the adjustable children.
    int adjustables = 0, fixed = 0, placed = 0;
    for (int i = 0; i < m_items.size(); ++i)
    {
        CControlUI* c = get_item_at(i);
        if (!c->is_visible() || c->is_float()) continue;
        const CUIRect p = c->get_padding();
        const int lw = c->get_fixed_width() < 1 ? c->get_max_width() : c->get_fixed_width();
        const int lh = c->get_fixed_height() < 1 ? c->get_max_height() : c->get_fixed_height();
        CUISize sz = c->measure(CUISize(std::min(lw, avail.cx - p.left - p.right), std::min(lh, avail.cy)));
        if (sz.cy == 0)
            ++adjustables;
        else
            sz.cy = clamp_to(sz.cy, c->get_min_height(), c->get_max_height());
        fixed += p.top + p.bottom + (sz.cy == 0 ? 0 : sz.cy);
        ++placed;
    }
    if (placed > 0) fixed += (placed - 1) * child_padding;

    const int share = adjustables > 0 ? std::max(0, (avail.cy - fixed) / adjustables) : 0;
    int y = rc.top;
    if (adjustables == 0)
    {
        if (m_child_valign == CHILDVALIGN_VCENTER)
            y = rc.top + (avail.cy - fixed) / 2;
        else if (m_child_valign == CHILDVALIGN_BOTTOM)
            y = rc.top + avail.cy - fixed;
    }

    // Placing pass.
    int remaining = fixed, k = 0, adjust_seen = 0, needed = 0, widest = 0;
    for (int i = 0; i < m_items.size(); ++i)
    {
        CControlUI* c = get_item_at(i);
        if (!c->is_visible()) continue;
        if (c->is_float())
        {
            set_float_pos(i);
            continue;
        }
        ++k;
        const CUIRect p = c->get_padding();
        avail.cy -= p.top;
        const int lw = c->get_fixed_width() < 1 ? c->get_max_width() : c->get_fixed_width();
        const int lh = c->get_fixed_height() < 1 ? c->get_max_height() : c->get_fixed_height();
        const int mw = std::min(lw, avail.cx - p.left - p.right);
        const int mh = std::min(lh, avail.cy);
        remaining -= p.top + p.bottom;
        if (k > 1) remaining -= child_padding;
        CUISize sz = c->measure(CUISize(mw, mh));
        int h;
        if (sz.cy == 0)
        {
            ++adjust_seen;
            h = share;
            if (adjust_seen == adjustables) h = std::max(0, avail.cy - p.bottom - remaining);
            h = clamp_to(h, c->get_min_height(), c->get_max_height());
        }
        else
        {
            h = clamp_to(sz.cy, c->get_min_height(), c->get_max_height());
            remaining -= h;
        }
        int w = sz.cx < 0 ? 0 : sz.cx;
        if (w == 0) w = avail.cx - p.left - p.right;
        w = std::min(w, mw);
        w = std::max(w, c->get_min_width());

        int left;
        if (m_child_align == CHILDALIGN_CENTER)
            left = (rc.left + rc.right) / 2 - w / 2;
        else if (m_child_align == CHILDALIGN_RIGHT)
            left = rc.right - p.right - w;
        else
            left = rc.left + p.left;
        const int top = y + p.top;
        c->set_pos(CUIRect(left, top, left + w, top + h), false);

        y += h + p.top + p.bottom + child_padding;
        avail.cy -= h + p.bottom + child_padding;
        needed += h + p.top + p.bottom;
        widest = std::max(widest, w + p.left + p.right);
    }
    if (k > 0) needed += (k - 1) * child_padding;
    process_scroll_bar(rc, widest, needed);
}

void CVerticalLayoutUI::handle_event(UIEvent& event) { CContainerUI::handle_event(event); }

void CVerticalLayoutUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    if (attr::equals_no_case(name, L"sepheight"))
        m_sep_height = static_cast<int>(attr::read_int(value));
    else if (attr::equals_no_case(name, L"sepimm"))
        m_sep_immediate = attr::read_bool(value);
    else
        CContainerUI::apply_attribute(name, value);
}

void CVerticalLayoutUI::paint_after(HDC, const CUIRect&) {}

} // namespace Lomar
