// CPaintManagerUI: attachment, tables, lookups, listeners, invalidation, notifications.
#include "window/PaintManagerUI.h"

#include <mutex>
#include <vector>

#include "controls/ControlUI.h"
#include "render/GdiplusInclude.h"
#include "window/ShadowUI.h"

namespace Lomar {

namespace {

// Every live manager, in creation order (walked by translate_message).
std::vector<CPaintManagerUI*>& all_managers()
{
    static std::vector<CPaintManagerUI*> list;
    return list;
}

void delete_string_values(CUIStringMap& map)
{
    for (int i = 0; i < map.get_size(); ++i)
        if (const wchar_t* key = map.get_at(i)) delete static_cast<CUIString*>(map.find(key, false));
    map.remove_all();
}

// Shared (process-wide) styles and default attribute lists.
CUIStringMap& shared_styles()
{
    static CUIStringMap map;
    return map;
}
CUIStringMap& shared_default_attributes()
{
    static CUIStringMap map;
    return map;
}

void set_string_value(CUIStringMap& map, const wchar_t* key, const wchar_t* value)
{
    if (!key || !*key) return;
    if (auto* old = static_cast<CUIString*>(map.find(key, false)))
    {
        *old = value ? value : L"";
        return;
    }
    map.insert(key, new CUIString(value ? value : L""));
}

const wchar_t* get_string_value(CUIStringMap& map, const wchar_t* key)
{
    if (!key || !*key) return nullptr;
    auto* v = static_cast<CUIString*>(map.find(key));
    return v ? v->data() : nullptr;
}

CControlUI* collect_named(CControlUI* control, void* data)
{
    auto* names = static_cast<CUIStringMap*>(data);
    CUIString name = control->get_name();
    if (!name.is_empty() && !names->find(name, false)) names->insert(name, control);
    return nullptr;
}

CControlUI* hit_any(CControlUI* control, void* data)
{
    return point_in_rect(control->get_pos(), *static_cast<CUIPoint*>(data)) ? control : nullptr;
}

struct ClassSearch
{
    const wchar_t* class_name;
    CUIPtrArray* found;
};

CControlUI* collect_by_class(CControlUI* control, void* data)
{
    auto* s = static_cast<ClassSearch*>(data);
    if (std::wcscmp(s->class_name, L"*") == 0 || std::wcscmp(s->class_name, control->get_type_name()) == 0)
        s->found->add(control);
    return nullptr;
}

} // namespace

CPaintManagerUI::CPaintManagerUI()
{
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplus_token, &input, nullptr);
    CShadowUI::register_shadow_class(GetModuleHandleW(nullptr));
}

CShadowUI& CPaintManagerUI::get_shadow()
{
    if (!m_shadow) m_shadow = new CShadowUI;
    return *m_shadow;
}

CPaintManagerUI::~CPaintManagerUI()
{
    m_in_cleanup = true;
    for (int i = 0; i < m_delayed_cleanup.size(); ++i) delete static_cast<CControlUI*>(m_delayed_cleanup[i]);
    m_delayed_cleanup.empty();
    for (int i = 0; i < m_async_notifications.size(); ++i) delete static_cast<UINotify*>(m_async_notifications[i]);
    m_async_notifications.empty();
    m_names.remove_all();
    CControlUI* root = m_root;
    m_root = nullptr;
    m_focus = m_hover = m_capture = m_key_pressed = nullptr;
    delete root;
    remove_all_draw_specs();
    remove_all_window_custom_attributes();
    remove_all_option_groups();
    remove_all_timers();
    remove_all_styles();
    remove_all_default_attribute_lists();
    release_resources();
    if (m_tooltip_window) DestroyWindow(m_tooltip_window);
    delete_offscreen();
    if (m_paint_dc) ReleaseDC(m_window, m_paint_dc);
    auto& list = all_managers();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == this)
        {
            list.erase(list.begin() + static_cast<long>(i));
            break;
        }
    delete m_shadow;
    if (m_gdiplus_token) Gdiplus::GdiplusShutdown(m_gdiplus_token);
}

int CPaintManagerUI::manager_count() { return static_cast<int>(all_managers().size()); }
CPaintManagerUI* CPaintManagerUI::manager_at(int i)
{
    auto& list = all_managers();
    return (i >= 0 && i < static_cast<int>(list.size())) ? list[static_cast<size_t>(i)] : nullptr;
}

void CPaintManagerUI::init(HWND window, const wchar_t* name)
{
    m_names.remove_all();
    release_resources();
    remove_all_default_attribute_lists();
    remove_all_styles();
    remove_all_window_custom_attributes();
    remove_all_option_groups();
    remove_all_timers();
    remove_all_draw_specs();
    m_name = name ? name : L"";
    if (window != m_window)
    {
        if (m_paint_dc) ReleaseDC(m_window, m_paint_dc);
        m_window = window;
        m_paint_dc = GetDC(window);
        m_resources.set_paint_dc(m_paint_dc);
        auto& list = all_managers();
        bool listed = false;
        for (CPaintManagerUI* m : list) listed = listed || m == this;
        if (!listed) list.push_back(this);
    }
}

bool CPaintManagerUI::attach_root(CControlUI* root)
{
    if (m_shadow && m_shadow->is_show_shadow()) m_shadow->create(this);
    set_focus(nullptr);
    m_hover = m_capture = m_key_pressed = nullptr;
    if (m_root)
    {
        m_post_paint_controls.empty();
        add_delayed_cleanup(m_root);
    }
    m_root = root;
    m_first_layout = true;
    m_update_needed = true;
    m_focus_needed = true;
    set_scale_dpi(96);
    return init_controls(root, nullptr);
}

bool CPaintManagerUI::init_controls(CControlUI* control, CControlUI* parent)
{
    if (!control) return false;
    control->set_manager(this, parent ? parent : control->get_parent(), true);
    control->find_control(collect_named, &m_names, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::forget_control(CControlUI* control)
{
    if (m_key_pressed == control) m_key_pressed = nullptr;
    if (m_hover == control) m_hover = nullptr;
    if (m_capture == control) m_capture = nullptr;
    if (m_focus == control) m_focus = nullptr;
    kill_timers_of(control);
    CUIString name = control->get_name();
    if (!name.is_empty() && m_names.find(name, false) == control) m_names.remove(name);
    for (int i = 0; i < m_async_notifications.size(); ++i)
    {
        auto* msg = static_cast<UINotify*>(m_async_notifications[i]);
        if (msg->sender == control) msg->sender = nullptr;
    }
    // A control that dies before its delayed deletion must not be deleted twice.
    int at = m_delayed_cleanup.find(control);
    if (at >= 0 && !m_in_cleanup) m_delayed_cleanup.remove(at);
    int pp = m_post_paint_controls.find(control);
    if (pp >= 0) m_post_paint_controls.remove(pp);
}

void CPaintManagerUI::add_delayed_cleanup(CControlUI* control)
{
    if (!control) return;
    control->set_manager(this, nullptr, false);
    m_delayed_cleanup.add(control);
    post_async();
}

void CPaintManagerUI::post_async()
{
    if (m_async_posted) return;
    if (m_window && PostMessageW(m_window, WM_UI_ASYNC, 0, 0)) m_async_posted = true;
}

CControlUI* CPaintManagerUI::find_control_by_name(const wchar_t* name) const
{
    if (!name || !*name) return nullptr;
    return static_cast<CControlUI*>(const_cast<CUIStringMap&>(m_names).find(name));
}

CControlUI* CPaintManagerUI::find_control_at(CUIPoint point) const
{
    if (!m_root) return nullptr;
    return m_root->find_control(hit_any, &point, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CUIPtrArray* CPaintManagerUI::find_controls_by_class(const wchar_t* class_name, CControlUI* root)
{
    m_found_controls.empty();
    if (!root) root = m_root;
    if (!root || !class_name) return &m_found_controls;
    ClassSearch search{class_name, &m_found_controls};
    root->find_control(collect_by_class, &search, UIFIND_ALL);
    return &m_found_controls;
}

CUIPtrArray* CPaintManagerUI::get_option_group(const wchar_t* name)
{
    if (!name || !*name) return nullptr;
    return static_cast<CUIPtrArray*>(m_option_groups.find(name));
}

bool CPaintManagerUI::add_option_group(const wchar_t* name, CControlUI* option)
{
    if (!name || !*name || !option) return false;
    auto* group = static_cast<CUIPtrArray*>(m_option_groups.find(name));
    if (!group)
    {
        group = new CUIPtrArray(6);
        m_option_groups.insert(name, group);
    }
    if (group->find(option) >= 0) return false;
    return group->add(option);
}

void CPaintManagerUI::remove_option_group(const wchar_t* name, CControlUI* option)
{
    auto* group = name ? static_cast<CUIPtrArray*>(m_option_groups.find(name)) : nullptr;
    if (!group) return;
    int at = group->find(option);
    if (at >= 0) group->remove(at);
    if (group->is_empty())
    {
        delete group;
        m_option_groups.remove(name);
    }
}

void CPaintManagerUI::remove_all_option_groups()
{
    for (int i = 0; i < m_option_groups.get_size(); ++i)
        if (const wchar_t* key = m_option_groups.get_at(i))
            delete static_cast<CUIPtrArray*>(m_option_groups.find(key, false));
    m_option_groups.remove_all();
}

namespace {
bool remove_first(CUIPtrArray& list, void* p)
{
    int at = list.find(p);
    return at >= 0 && list.remove(at);
}
} // namespace

bool CPaintManagerUI::add_notifier(INotifyUI* n) { return m_notifiers.add(n); }
bool CPaintManagerUI::remove_notifier(INotifyUI* n) { return remove_first(m_notifiers, n); }
bool CPaintManagerUI::add_pre_message_filter(IMessageFilterUI* f) { return m_pre_message_filters.add(f); }
bool CPaintManagerUI::remove_pre_message_filter(IMessageFilterUI* f) { return remove_first(m_pre_message_filters, f); }
bool CPaintManagerUI::add_message_filter(IMessageFilterUI* f) { return m_message_filters.add(f); }
bool CPaintManagerUI::remove_message_filter(IMessageFilterUI* f) { return remove_first(m_message_filters, f); }
bool CPaintManagerUI::add_translate_accelerator(ITranslateAccelerator* t) { return m_translate_accelerators.add(t); }
bool CPaintManagerUI::remove_translate_accelerator(ITranslateAccelerator* t)
{
    return remove_first(m_translate_accelerators, t);
}
bool CPaintManagerUI::add_post_paint(CControlUI* c) { return m_post_paint_controls.add(c); }
bool CPaintManagerUI::remove_post_paint(CControlUI* c) { return remove_first(m_post_paint_controls, c); }

bool CPaintManagerUI::add_native_window(CControlUI* control, HWND window)
{
    if (!control || !window) return false;
    m_native_windows.add(window);
    return m_native_window_controls.add(control);
}

bool CPaintManagerUI::remove_native_window(HWND window)
{
    int at = m_native_windows.find(window);
    if (at < 0) return false;
    m_native_windows.remove(at);
    m_native_window_controls.remove(at);
    return true;
}

void CPaintManagerUI::invalidate(CUIRect rc)
{
    if (rc.left < 0) rc.left = 0;
    if (rc.top < 0) rc.top = 0;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (rect_is_empty(m_layered_update))
        m_layered_update = rc;
    else
        m_layered_update.join(rc);
    if (m_window) InvalidateRect(m_window, rc.as_rect(), FALSE);
}

void CPaintManagerUI::invalidate_all()
{
    CUIRect client;
    if (m_window) GetClientRect(m_window, client.as_rect());
    if (rect_is_empty(m_layered_update))
        m_layered_update = client;
    else
        m_layered_update.join(client);
    if (m_window) InvalidateRect(m_window, nullptr, FALSE);
}

void CPaintManagerUI::send_notify(CControlUI* control, const wchar_t* name, uintptr_t wparam, intptr_t lparam,
                                  bool async)
{
    UINotify msg;
    msg.sender = control;
    msg.type = name ? name : L"";
    msg.wparam = wparam;
    msg.lparam = lparam;
    send_notify(msg, async);
}

void CPaintManagerUI::send_notify(UINotify& msg, bool async)
{
    msg.mouse = m_last_mouse;
    msg.timestamp = GetTickCount();
    if (m_virtual_wnd_used && msg.sender) msg.virtual_wnd = msg.sender->get_virtual_wnd();
    if (!async)
    {
        if (msg.sender && !msg.sender->notify_hooks.is_empty()) msg.sender->notify_hooks.fire(msg);
        for (int i = 0; i < m_notifiers.size(); ++i) static_cast<INotifyUI*>(m_notifiers[i])->notify(msg);
        return;
    }
    m_async_notifications.add(new UINotify(msg));
    post_async();
}

void CPaintManagerUI::handle_async()
{
    m_in_cleanup = true;
    for (int i = 0; i < m_delayed_cleanup.size(); ++i) delete static_cast<CControlUI*>(m_delayed_cleanup[i]);
    m_in_cleanup = false;
    m_delayed_cleanup.empty();
    m_async_posted = false;
    while (!m_async_notifications.is_empty())
    {
        auto* msg = static_cast<UINotify*>(m_async_notifications[0]);
        m_async_notifications.remove(0);
        if (msg->sender && !msg->sender->notify_hooks.is_empty()) msg->sender->notify_hooks.fire(*msg);
        for (int i = 0; i < m_notifiers.size(); ++i) static_cast<INotifyUI*>(m_notifiers[i])->notify(*msg);
        delete msg;
    }
}

void CPaintManagerUI::add_window_custom_attribute(const wchar_t* name, const wchar_t* value)
{
    if (!name || !*name || !value) return;
    if (m_window_attributes.find(name, false)) return;
    m_window_attributes.insert(name, new CUIString(value));
}

const wchar_t* CPaintManagerUI::get_window_custom_attribute(const wchar_t* name) const
{
    return get_string_value(const_cast<CUIStringMap&>(m_window_attributes), name);
}

void CPaintManagerUI::remove_all_window_custom_attributes() { delete_string_values(m_window_attributes); }

const ImageDrawSpec* CPaintManagerUI::get_draw_spec(const wchar_t* draw, const wchar_t* modify)
{
    return m_draw_specs.get(draw, modify, m_scale_percent);
}

void CPaintManagerUI::add_style(const wchar_t* name, const wchar_t* list, bool shared)
{
    CUIStringMap& map = shared ? shared_styles() : m_styles;
    if (!name || !*name || map.find(name, false)) return;   // the first text of a style stays
    map.insert(name, new CUIString(list ? list : L""));
}

const wchar_t* CPaintManagerUI::get_style(const wchar_t* name) const
{
    if (const wchar_t* v = get_string_value(const_cast<CUIStringMap&>(m_styles), name)) return v;
    return get_string_value(shared_styles(), name);
}

void CPaintManagerUI::remove_all_styles(bool shared) { delete_string_values(shared ? shared_styles() : m_styles); }

void CPaintManagerUI::add_default_attribute_list(const wchar_t* class_name, const wchar_t* list, bool shared)
{
    set_string_value(shared ? shared_default_attributes() : m_default_attributes, class_name, list);
}

const wchar_t* CPaintManagerUI::get_default_attribute_list(const wchar_t* class_name) const
{
    if (const wchar_t* v = get_string_value(const_cast<CUIStringMap&>(m_default_attributes), class_name)) return v;
    return get_string_value(shared_default_attributes(), class_name);
}

void CPaintManagerUI::remove_all_default_attribute_lists(bool shared)
{
    delete_string_values(shared ? shared_default_attributes() : m_default_attributes);
}

} // namespace Lomar
