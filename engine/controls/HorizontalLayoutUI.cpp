#include "controls/HorizontalLayoutUI.h"

#include <algorithm>

namespace Lomar {

namespace {

int clamp_to(int v, int lo, int hi) { return std::max(std::min(v, hi), lo); }

} // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI() {}
CHorizontalLayoutUI::~CHorizontalLayoutUI() {}

const wchar_t* CHorizontalLayoutUI::get_type_name() const { return L"HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::query_interface(const wchar_t* name)
{
    if (attr::equals_no_case(name, L"HorizontalLayout")) return static_cast<CHorizontalLayoutUI*>(this);
    return CContainerUI::query_interface(name);
}

uint32_t CHorizontalLayoutUI::get_control_flags() const
{
    return (is_enabled() && m_sep_width != 0) ? UIFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::set_pos(CUIRect rect, bool invalidate_now)
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

    int adjustables = 0, fixed = 0, placed = 0;
    for (int i = 0; i < m_items.size(); ++i)
    {
        CControlUI* c = get_item_at(i);
        if (!c->is_visible() || c->is_float()) continue;
        const CUIRect p = c->get_padding();
        const int lw = c->get_fixed_width() < 1 ? c->get_max_width() : c->get_fixed_width();
        const int lh = c->get_fixed_height() < 1 ? c->get_max_height() : c->get_fixed_height();
        CUISize sz = c->measure(CUISize(std::min(lw, avail.cx), std::min(lh, avail.cy - p.top - p.bottom)));
        if (sz.cx == 0)
            ++adjustables;
        else
            sz.cx = clamp_to(sz.cx, c->get_min_width(), c->get_max_width());
        fixed += p.left + p.right + (sz.cx == 0 ? 0 : sz.cx);
        ++placed;
    }
    if (placed > 0) fixed += (placed - 1) * child_padding;

    const int share = adjustables > 0 ? std::max(0, (avail.cx - fixed) / adjustables) : 0;
    int x = rc.left;
    if (adjustables == 0)
    {
        if (m_child_align == CHILDALIGN_CENTER)
            x = rc.left + (avail.cx - fixed) / 2;
        else if (m_child_align == CHILDALIGN_RIGHT)
            x = rc.left + avail.cx - fixed;
    }

    int remaining = fixed, k = 0, adjust_seen = 0, needed = 0, tallest = 0;
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
        avail.cx -= p.left;
        const int lw = c->get_fixed_width() < 1 ? c->get_max_width() : c->get_fixed_width();
        const int lh = c->get_fixed_height() < 1 ? c->get_max_height() : c->get_fixed_height();
        const int mw = std::min(lw, avail.cx);
        const int mh = std::min(lh, avail.cy - p.top - p.bottom);
        remaining -= p.left + p.right;
        if (k > 1) remaining -= child_padding;
        CUISize sz = c->measure(CUISize(mw, mh));
        int w;
        if (sz.cx == 0)
        {
            ++adjust_seen;
            w = share;
            if (adjust_seen == adjustables) w = std::max(0, avail.cx - p.right - remaining);
            w = clamp_to(w, c->get_min_width(), c->get_max_width());
        }
        else
        {
            w = clamp_to(sz.cx, c->get_min_width(), c->get_max_width());
            remaining -= w;
        }
        // The height fills the space unless the child is limited (a fixed height caps mh).
        int h = c->get_max_height();
        if (h == 0) h = avail.cy - p.top - p.bottom;
        if (h < 0) h = 0;
        h = std::min(h, mh);
        h = std::max(h, c->get_min_height());

        int top;
        if (m_child_valign == CHILDVALIGN_VCENTER)
            top = (rc.top + rc.bottom) / 2 - h / 2;
        else if (m_child_valign == CHILDVALIGN_BOTTOM)
            top = rc.bottom - p.bottom - h;
        else
            top = rc.top + p.top;
        const int left = x + p.left;
        c->set_pos(CUIRect(left, top, left + w, top + h), false);

        x += w + p.left + p.right + child_padding;
        avail.cx -= w + p.right + child_padding;
        needed += w + p.left + p.right;
        tallest = std::max(tallest, h + p.top + p.bottom);
    }
    if (k > 0) needed += (k - 1) * child_padding;
    process_scroll_bar(rc, needed, tallest);
}

void CHorizontalLayoutUI::handle_event(UIEvent& event) { CContainerUI::handle_event(event); }

void CHorizontalLayoutUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    if (attr::equals_no_case(name, L"sepwidth"))
        m_sep_width = static_cast<int>(attr::read_int(value));
    else if (attr::equals_no_case(name, L"sepimm"))
        m_sep_immediate = attr::read_bool(value);
    else
        CContainerUI::apply_attribute(name, value);
}

void CHorizontalLayoutUI::paint_after(HDC, const CUIRect&) {}

} // namespace Lomar
