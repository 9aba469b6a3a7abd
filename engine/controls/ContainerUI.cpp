#include "controls/ContainerUI.h"

#include <cwchar>

#include "render/SkinRenderer.h"
#include "window/PaintManagerUI.h"

namespace Lomar {

namespace {

int clamp_to(int v, int lo, int hi)
{
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return v;
}

} // namespace

CContainerUI::CContainerUI() {}

CContainerUI::~CContainerUI()
{
    m_delayed_destroy = false;   // the children go with the container, at once
    remove_all();
}

const wchar_t* CContainerUI::get_type_name() const { return L"ContainerUI"; }

void* CContainerUI::query_interface(const wchar_t* name)
{
    if (name && std::wcscmp(name, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (attr::equals_no_case(name, L"Container")) return static_cast<CContainerUI*>(this);
    return CControlUI::query_interface(name);
}

CControlUI* CContainerUI::get_item_at(int index) const
{
    return static_cast<CControlUI*>(m_items.get_at(index));
}

int CContainerUI::get_item_index(CControlUI* control) const { return m_items.find(control); }

bool CContainerUI::set_item_index(CControlUI* control, int index)
{
    int at = m_items.find(control);
    if (at < 0) return false;
    request_layout();
    m_items.remove(at);
    return m_items.insert_at(index, control);
}

int CContainerUI::get_count() const { return m_items.size(); }

bool CContainerUI::add(CControlUI* control)
{
    if (!control) return false;
    if (m_manager) m_manager->init_controls(control, this);
    if (is_visible())
        request_layout();
    else
        control->set_inherited_visible(false);
    return m_items.add(control);
}

bool CContainerUI::add_at(CControlUI* control, int index)
{
    if (!control) return false;
    if (m_manager) m_manager->init_controls(control, this);
    if (is_visible())
        request_layout();
    else
        control->set_inherited_visible(false);
    return m_items.insert_at(index, control);
}

void CContainerUI::delete_or_defer(CControlUI* control)
{
    if (m_delayed_destroy && m_manager)
        m_manager->add_delayed_cleanup(control);
    else
        delete control;
}

bool CContainerUI::remove(CControlUI* control)
{
    int at = m_items.find(control);
    if (at < 0) return false;
    request_layout();
    if (m_auto_destroy) delete_or_defer(control);
    return m_items.remove(at);
}

bool CContainerUI::remove_at(int index)
{
    CControlUI* control = get_item_at(index);
    return control ? CContainerUI::remove(control) : false;
}

void CContainerUI::remove_all()
{
    if (m_auto_destroy)
        for (int i = 0; i < m_items.size(); ++i) delete_or_defer(get_item_at(i));
    m_items.empty();
    request_layout();
}

void CContainerUI::set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init_now)
{
    for (int i = 0; i < m_items.size(); ++i) get_item_at(i)->set_manager(manager, this, init_now);
    CControlUI::set_manager(manager, parent, init_now);
}

CUIRect CContainerUI::content_rect() const
{
    CUIRect inset = get_inset();
    return CUIRect(m_item.left + inset.left, m_item.top + inset.top, m_item.right - inset.right,
                   m_item.bottom - inset.bottom);
}

CUIRect CContainerUI::get_client_pos() const { return content_rect(); }

void CContainerUI::set_pos(CUIRect rect, bool invalidate_now)
{
    CControlUI::set_pos(rect, invalidate_now);
    if (m_items.is_empty()) return;
    const CUIRect rc = content_rect();
    for (int i = 0; i < m_items.size(); ++i)
    {
        CControlUI* child = get_item_at(i);
        if (!child->is_visible()) continue;
        if (child->is_float())
        {
            set_float_pos(i);
            continue;
        }
        const int w = clamp_to(rc.width(), child->get_min_width(), child->get_max_width());
        const int h = clamp_to(rc.height(), child->get_min_height(), child->get_max_height());
        child->set_pos(CUIRect(rc.left, rc.top, rc.left + w, rc.top + h), false);
    }
}

void CContainerUI::move(int dx, int dy, bool invalidate_now)
{
    CControlUI::move(dx, dy, invalidate_now);
    for (int i = 0; i < m_items.size(); ++i)
        if (get_item_at(i)->is_visible()) get_item_at(i)->move(dx, dy, false);
}

void CContainerUI::set_visible(bool b)
{
    if (m_visible == b) return;
    CControlUI::set_visible(b);
    for (int i = 0; i < m_items.size(); ++i) get_item_at(i)->set_inherited_visible(is_visible());
}

void CContainerUI::set_inherited_visible(bool b)
{
    CControlUI::set_inherited_visible(b);
    for (int i = 0; i < m_items.size(); ++i) get_item_at(i)->set_inherited_visible(is_visible());
}

void CContainerUI::set_enabled(bool b)
{
    if (m_enabled == b) return;
    m_enabled = b;
    for (int i = 0; i < m_items.size(); ++i) get_item_at(i)->set_enabled(b);
    invalidate();
}

void CContainerUI::set_mouse_enabled(bool b) { m_mouse_enabled = b; }

CControlUI* CContainerUI::find_control(FindControlProc proc, void* data, uint32_t flags)
{
    if ((flags & UIFIND_VISIBLE) && !is_visible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !is_enabled()) return nullptr;
    const bool hit_test = (flags & UIFIND_HITTEST) != 0;
    if (hit_test && !point_in_rect(m_item, *static_cast<const CUIPoint*>(data))) return nullptr;
    if ((flags & UIFIND_UPDATETEST) && proc(this, data)) return nullptr;

    if ((flags & UIFIND_ME_FIRST) && (!hit_test || m_mouse_enabled))
        if (CControlUI* c = proc(this, data)) return c;

    if (!hit_test || m_mouse_child)
    {
        const CUIRect rc = content_rect();
        const int n = m_items.size();
        for (int k = 0; k < n; ++k)
        {
            const int i = (flags & UIFIND_TOP_FIRST) ? n - 1 - k : k;
            CControlUI* child = get_item_at(i);
            if (!child) continue;
            CControlUI* found = child->find_control(proc, data, flags);
            if (!found) continue;
            if (!hit_test) return found;
            if (found->is_float() || point_in_rect(rc, *static_cast<const CUIPoint*>(data))) return found;
        }
    }

    if (!(flags & UIFIND_ME_FIRST) && (!hit_test || m_mouse_enabled)) return proc(this, data);
    return nullptr;
}

void CContainerUI::handle_event(UIEvent& event)
{
    if (!m_mouse_enabled && is_mouse_event(event.type))
    {
        if (m_parent)
            m_parent->handle_event(event);
        else
            CControlUI::handle_event(event);
        return;
    }
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

void CContainerUI::apply_attribute(const wchar_t* name, const wchar_t* value)
{
    using namespace attr;
    if (!value) value = L"";
    if (equals_no_case(name, L"inset"))
        set_inset(read_rect(value));
    else if (equals_no_case(name, L"mousechild"))
        set_mouse_child_enabled(read_bool(value));
    else if (equals_no_case(name, L"childpadding"))
        set_child_padding(static_cast<int>(read_int(value)));
    else if (name && std::wcscmp(name, L"childalign") == 0)
    {
        if (std::wcscmp(value, L"left") == 0) m_child_align = CHILDALIGN_LEFT;
        else if (std::wcscmp(value, L"center") == 0) m_child_align = CHILDALIGN_CENTER;
        else if (std::wcscmp(value, L"right") == 0) m_child_align = CHILDALIGN_RIGHT;
    }
    else if (name && std::wcscmp(name, L"childvalign") == 0)
    {
        if (std::wcscmp(value, L"top") == 0) m_child_valign = CHILDVALIGN_TOP;
        else if (std::wcscmp(value, L"vcenter") == 0) m_child_valign = CHILDVALIGN_VCENTER;
        else if (std::wcscmp(value, L"bottom") == 0) m_child_valign = CHILDVALIGN_BOTTOM;
    }
    else if (equals_no_case(name, L"scrollstepsize"))
        set_scroll_step_size(static_cast<int>(read_int(value)));
    else
        CControlUI::apply_attribute(name, value);
}

bool CContainerUI::paint_layers(HDC dc, const CUIRect& paint_rect, CControlUI* stop_control)
{
    CUIRect r1;
    if (!intersect_rect(r1, paint_rect, m_item)) return true;
    RenderClip outer;
    CSkinRenderer::clip(dc, r1, outer);
    CControlUI::paint_layers(dc, paint_rect, stop_control);

    bool result = true;
    if (!m_items.is_empty())
    {
        const CUIRect rc = content_rect();
        CUIRect r2, scratch;
        if (!intersect_rect(r2, paint_rect, rc))
        {
            for (int i = 0; i < m_items.size() && result; ++i)
            {
                CControlUI* child = get_item_at(i);
                if (child == stop_control)
                {
                    result = false;
                    break;
                }
                if (!child->is_visible() || !child->is_float()) continue;
                if (!intersect_rect(scratch, paint_rect, child->get_pos())) continue;
                if (!intersect_rect(scratch, m_item, child->get_pos())) continue;
                if (!child->paint(dc, paint_rect, stop_control)) result = false;
            }
        }
        else
        {
            RenderClip inner;
            CSkinRenderer::clip(dc, r2, inner);
            for (int i = 0; i < m_items.size() && result; ++i)
            {
                CControlUI* child = get_item_at(i);
                if (child == stop_control)
                {
                    result = false;
                    break;
                }
                if (!child->is_visible()) continue;
                if (!intersect_rect(scratch, paint_rect, child->get_pos())) continue;
                if (child->is_float())
                {
                    if (!intersect_rect(scratch, m_item, child->get_pos())) continue;
                    // Float children may overflow the inset, not the container.
                    CSkinRenderer::restore_clip(dc, inner);
                    if (!child->paint(dc, paint_rect, stop_control)) result = false;
                    CSkinRenderer::clip(dc, r2, inner);
                }
                else
                {
                    if (!intersect_rect(scratch, rc, child->get_pos())) continue;
                    if (!child->paint(dc, paint_rect, stop_control)) result = false;
                }
            }
            CSkinRenderer::restore_clip(dc, inner);
        }
    }
    CSkinRenderer::restore_clip(dc, outer);
    return result;
}

CUIRect CContainerUI::get_inset() const { return scale(m_inset); }
void CContainerUI::set_inset(CUIRect inset)
{
    m_inset = inset;
    request_layout();
}
int CContainerUI::get_child_padding() const { return scale(m_child_padding); }
void CContainerUI::set_child_padding(int padding)
{
    m_child_padding = padding;
    request_layout();
}
int CContainerUI::get_child_align() const { return m_child_align; }
void CContainerUI::set_child_align(int align)
{
    m_child_align = align;
    request_layout();
}
int CContainerUI::get_child_valign() const { return m_child_valign; }
void CContainerUI::set_child_valign(int valign)
{
    m_child_valign = valign;
    request_layout();
}
bool CContainerUI::is_auto_destroy() const { return m_auto_destroy; }
void CContainerUI::set_auto_destroy(bool b) { m_auto_destroy = b; }
bool CContainerUI::is_delayed_destroy() const { return m_delayed_destroy; }
void CContainerUI::set_delayed_destroy(bool b) { m_delayed_destroy = b; }
bool CContainerUI::is_mouse_child_enabled() const { return m_mouse_child; }
void CContainerUI::set_mouse_child_enabled(bool b) { m_mouse_child = b; }

int CContainerUI::find_selectable(int index, bool forward) const
{
    const int n = m_items.size();
    if (n == 0) return -1;
    if (index < 0) index = 0;
    if (index >= n) index = n - 1;
    for (int i = index; forward ? i < n : i >= 0; i += forward ? 1 : -1)
        if (get_item_at(i)->is_visible() && get_item_at(i)->is_enabled()) return i;
    return -1;
}

// No skin of this system enables scroll bars; without them the scroll position stays 0.
CUISize CContainerUI::get_scroll_pos() const { return CUISize(); }
CUISize CContainerUI::get_scroll_range() const { return CUISize(); }
void CContainerUI::set_scroll_pos(CUISize, bool) {}
void CContainerUI::set_scroll_step_size(int size)
{
    if (size > 0) m_scroll_step = size;
}
int CContainerUI::get_scroll_step_size() const { return scale(m_scroll_step); }
void CContainerUI::process_scroll_bar(CUIRect, int, int) {}

void CContainerUI::set_float_pos(int index)
{
    CControlUI* child = get_item_at(index);
    if (!child || !child->is_visible() || !child->is_float()) return;
    const int W = m_item.width(), H = m_item.height();
    const CUISize xy = child->get_fixed_xy();
    const int w = child->get_fixed_width(), h = child->get_fixed_height();
    CUIRect r;
    const uint32_t align = child->get_float_align();
    if (align != 0)
    {
        r = CUIRect(0, 0, w, h);
        int dx = (align & FLOATALIGN_CENTER) ? (W - w) / 2 : (align & FLOATALIGN_RIGHT) ? W - w : xy.cx;
        int dy = (align & FLOATALIGN_VCENTER) ? (H - h) / 2 : (align & FLOATALIGN_BOTTOM) ? H - h : xy.cy;
        r.offset(dx + m_item.left, dy + m_item.top);
    }
    else
    {
        const UIFloatRatios f = child->get_float_ratios();
        const int bx = xy.cx < 0 ? m_item.right : m_item.left;
        const int by = xy.cy < 0 ? m_item.bottom : m_item.top;
        r.left = static_cast<int>(W * f.left) + bx + xy.cx;
        r.top = static_cast<int>(H * f.top) + by + xy.cy;
        r.right = static_cast<int>(W * f.right) + bx + xy.cx + w;
        r.bottom = static_cast<int>(H * f.bottom) + by + xy.cy + h;
    }
    child->set_pos(r, false);
}

} // namespace Lomar
