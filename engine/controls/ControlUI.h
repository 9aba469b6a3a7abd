// CControlUI: the base of every skin element: properties, attributes, layout requests,
// layered painting and default event handling.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/HookList.h"
#include "controls/UIEvent.h"
#include "core/UIRect.h"
#include "core/UIString.h"
#include "core/UIStringMap.h"

namespace Lomar {

class CPaintManagerUI;
struct UINotify;

struct UIFloatRatios
{
    double left = 0, top = 0, right = 0, bottom = 0;
};

// Bits of float_align.
enum
{
    FLOATALIGN_CENTER = 0x1,
    FLOATALIGN_RIGHT = 0x2,
    FLOATALIGN_VCENTER = 0x4,
    FLOATALIGN_BOTTOM = 0x8,
};

class CControlUI;
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

class CControlUI
{
public:
    CControlUI();
    virtual ~CControlUI();

    virtual CUIString get_name() const;
    virtual void set_name(const wchar_t* name);
    virtual const wchar_t* get_type_name() const;
    virtual void* query_interface(const wchar_t* name);

    virtual uint32_t get_control_flags() const;
    virtual void set_control_flags(uint32_t flags);
    virtual uint32_t get_stored_flags() const;

    virtual bool activate();

    virtual CPaintManagerUI* get_manager() const;
    virtual void set_manager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* get_parent() const;

    virtual CUIString get_text() const;
    virtual void set_text(const wchar_t* text);
    virtual bool is_resource_text() const;
    virtual void set_resource_text(bool b);

    virtual bool is_drag_enabled() const;
    virtual void set_drag_enabled(bool b);
    virtual bool is_drop_enabled() const;
    virtual void set_drop_enabled(bool b);
    virtual bool is_rich_event() const;
    virtual void set_rich_event(bool b);

    virtual CUIRect get_relative_pos() const;
    virtual CUIRect get_client_pos() const;
    virtual const CUIRect& get_pos() const;
    virtual void set_pos(CUIRect rect, bool invalidate = true);
    virtual void move(int dx, int dy, bool invalidate = true);

    virtual int get_width() const;
    virtual int get_height() const;
    virtual int get_layout_width() const;
    virtual int get_layout_height() const;
    virtual int get_x() const;
    virtual int get_y() const;

    virtual CUIRect get_padding() const;
    virtual void set_padding(CUIRect padding);
    virtual CUISize get_fixed_xy() const;
    virtual void set_fixed_xy(CUISize xy);
    virtual CUISize get_fixed_size() const;
    virtual int get_fixed_width() const;
    virtual void set_fixed_width(int cx);
    virtual int get_fixed_height() const;
    virtual void set_fixed_height(int cy);

    virtual int get_min_width() const;
    virtual void set_min_width(int cx);
    virtual int get_max_width() const;
    virtual void set_max_width(int cx);
    virtual int get_min_height() const;
    virtual void set_min_height(int cy);
    virtual int get_max_height() const;
    virtual void set_max_height(int cy);

    virtual UIFloatRatios get_float_ratios() const;
    virtual void set_float_ratios(UIFloatRatios ratios);
    virtual void set_float_align(uint32_t bits);
    virtual uint32_t get_float_align() const;

    virtual CUIString get_tooltip() const;
    virtual void set_tooltip(const wchar_t* text);
    virtual void set_tooltip_width(int width);
    virtual int get_tooltip_width() const;

    virtual uint16_t get_cursor() const;
    virtual CUIString get_cursor_name() const;
    virtual void set_cursor(uint16_t id);
    virtual wchar_t get_shortcut() const;
    virtual void set_shortcut(wchar_t ch);
    virtual bool is_menu_used() const;
    virtual void set_menu_used(bool b);

    virtual CUIString get_user_data() const;
    virtual void set_user_data(const wchar_t* text);
    virtual uintptr_t get_tag() const;
    virtual void set_tag(uintptr_t tag);

    virtual bool is_self_visible() const;
    virtual bool is_visible() const;
    virtual void set_visible(bool b = true);
    virtual void set_inherited_visible(bool b = true);
    virtual bool is_enabled() const;
    virtual void set_enabled(bool b = true);
    virtual bool is_mouse_enabled() const;
    virtual void set_mouse_enabled(bool b = true);
    virtual bool is_keyboard_enabled() const;
    virtual void set_keyboard_enabled(bool b = true);
    virtual bool is_focused() const;
    virtual void set_focus();
    virtual bool is_float() const;
    virtual void set_float(bool b = true);

    virtual CControlUI* find_control(FindControlProc proc, void* data, uint32_t flags);

    virtual void init();
    virtual void on_init();
    virtual void dispatch_event(UIEvent& event);
    virtual void handle_event(UIEvent& event);

    virtual void apply_attribute(const wchar_t* name, const wchar_t* value);

    virtual CUISize measure(CUISize available);

    virtual bool paint(HDC dc, const CUIRect& paint_rect, CControlUI* stop_control);
    virtual bool paint_layers(HDC dc, const CUIRect& paint_rect, CControlUI* stop_control);
    virtual void paint_back_color(HDC dc);
    virtual void paint_back_image(HDC dc);
    virtual void paint_state_image(HDC dc);
    virtual void paint_fore_color(HDC dc);
    virtual void paint_fore_image(HDC dc);
    virtual void paint_text(HDC dc);
    virtual void paint_border(HDC dc);
    virtual void paint_after(HDC dc, const CUIRect& paint_rect);

    // Non-virtual operations.
    void invalidate();
    bool is_update_needed() const { return m_update_needed; }
    void request_layout();
    void request_parent_layout();
    void apply_attribute_list(const wchar_t* list);

    CUIString get_virtual_wnd() const;
    void set_virtual_wnd(const wchar_t* name);

    uint32_t get_back_color() const { return m_back_color; }
    void set_back_color(uint32_t c);
    uint32_t get_back_color2() const { return m_back_color2; }
    void set_back_color2(uint32_t c);
    uint32_t get_back_color3() const { return m_back_color3; }
    void set_back_color3(uint32_t c);
    uint32_t get_fore_color() const { return m_fore_color; }
    void set_fore_color(uint32_t c);
    uint32_t get_border_color() const { return m_border_color; }
    void set_border_color(uint32_t c);
    uint32_t get_focus_border_color() const { return m_focus_border_color; }
    void set_focus_border_color(uint32_t c);
    bool is_color_hsl() const { return m_color_hsl; }
    void set_color_hsl(bool b);
    int get_border_size() const;
    void set_border_size(int n);
    CUIRect get_border_rect() const;
    void set_border_rect(CUIRect r);
    void set_left_border_size(int n);
    void set_top_border_size(int n);
    void set_right_border_size(int n);
    void set_bottom_border_size(int n);
    int get_border_style() const { return m_border_style; }
    void set_border_style(int style);
    CUISize get_border_round() const;
    void set_border_round(CUISize round);
    const CUIString& get_back_image() const { return m_back_image; }
    void set_back_image(const wchar_t* image);
    const CUIString& get_fore_image() const { return m_fore_image; }
    void set_fore_image(const wchar_t* image);
    const CUIString& get_gradient() const { return m_gradient; }
    void set_gradient(const wchar_t* gradient);

    bool draw_image(HDC dc, const wchar_t* image, const wchar_t* modify = nullptr);
    uint32_t adjust_color(uint32_t color) const;

    void add_custom_attribute(const wchar_t* name, const wchar_t* value);
    const wchar_t* get_custom_attribute(const wchar_t* name) const;
    void remove_all_custom_attributes();

    const CUIRect& get_paint_rect() const { return m_paint_rect; }

    CHookList<CControlUI> init_hooks;
    CHookList<CControlUI> destroy_hooks;
    CHookList<CControlUI> size_hooks;
    CHookList<UIEvent> event_hooks;
    CHookList<UINotify> notify_hooks;

protected:
    int scale(int value) const;
    CUISize scale(CUISize s) const;
    CUIRect scale(CUIRect r) const;

    CPaintManagerUI* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    CUIString m_virtual_wnd;
    CUIString m_name;
    bool m_update_needed = true;
    bool m_menu_used = false;
    CUIRect m_item;
    CUIRect m_padding;
    CUISize m_fixed_xy;
    CUISize m_fixed_size;
    CUISize m_min_size;
    CUISize m_max_size{9999, 9999};
    bool m_visible = true;
    bool m_inherited_visible = true;
    bool m_enabled = true;
    bool m_mouse_enabled = true;
    bool m_keyboard_enabled = true;
    bool m_focused = false;
    bool m_float = false;
    UIFloatRatios m_float_ratios;
    uint32_t m_float_align = 0;
    bool m_in_set_pos = false;
    bool m_rich_event = false;
    bool m_drag_enabled = false;
    bool m_drop_enabled = false;
    bool m_resource_text = false;
    CUIString m_text;
    CUIString m_tooltip;
    wchar_t m_shortcut = 0;
    CUIString m_user_data;
    uintptr_t m_tag = 0;
    CUIString m_gradient;
    uint32_t m_back_color = 0;
    uint32_t m_back_color2 = 0;
    uint32_t m_back_color3 = 0;
    uint32_t m_fore_color = 0;
    CUIString m_back_image;
    CUIString m_fore_image;
    uint32_t m_border_color = 0;
    uint32_t m_focus_border_color = 0;
    bool m_color_hsl = false;
    int m_border_size = 0;
    int m_border_style = 0;
    int m_tooltip_width = 300;
    uint16_t m_cursor = 0;
    CUISize m_border_round;
    CUIRect m_paint_rect;
    CUIRect m_border_rect;
    mutable CUIStringMap m_custom_attributes;  // name -> heap CUIString
    uint32_t m_stored_flags = 0;
};

// Helpers shared by the controls' attribute code.
namespace attr {
long read_int(const wchar_t* value);
uint32_t read_color(const wchar_t* value, bool skip_leading_blanks = false);
bool read_bool(const wchar_t* value);
CUIRect read_rect(const wchar_t* value);
CUISize read_size(const wchar_t* value);
bool has_comma(const wchar_t* value);
bool equals_no_case(const wchar_t* a, const wchar_t* b);
} // namespace attr

// Intersection of two rectangles; false when it is empty (no width or no height).
bool intersect_rect(CUIRect& out, const CUIRect& a, const CUIRect& b);
bool point_in_rect(const CUIRect& r, CUIPoint p);
bool rect_is_empty(const CUIRect& r);

} // namespace Lomar
