// CPaintManagerUI: the per-window engine object: control tree, name and group tables,
// layout and paint cycle (off-screen or layered), timers, notifications and input.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/UIEvent.h"
#include "core/UIPtrArray.h"
#include "core/UIRect.h"
#include "core/UIString.h"
#include "core/UIStringMap.h"
#include "render/DrawSpecTable.h"
#include "render/ImageDrawSpec.h"
#include "render/TextCache.h"
#include "resources/WindowResourceCache.h"
#include "window/NotifyInterfaces.h"
#include "window/UINotify.h"

namespace Lomar {

class CControlUI;
class CShadowUI;
// What the renderer needs of a cached image.
struct ImageView
{
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    bool has_alpha = false;
};

// One control timer; the record stays after kill_timer so that a restart reuses its Win32 id.
struct TimerRecord
{
    CControlUI* control = nullptr;
    UINT_PTR id = 0;         // the control's own id
    HWND window = nullptr;
    UINT_PTR win32_id = 0;   // the id handed to SetTimer
    bool killed = false;
};

enum { WM_UI_ASYNC = WM_APP + 1 };   // delayed cleanup and queued notifications

class CPaintManagerUI
{
public:
    CPaintManagerUI();
    virtual ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Window and tree.
    void init(HWND window, const wchar_t* name = nullptr);
    bool attach_root(CControlUI* root);
    bool init_controls(CControlUI* control, CControlUI* parent = nullptr);
    CControlUI* get_root() const { return m_root; }
    HWND get_window() const { return m_window; }
    HDC get_paint_dc() const { return m_paint_dc; }
    const CUIString& get_name() const { return m_name; }
    CControlUI* get_focus() const { return m_focus; }
    CControlUI* get_hover() const { return m_hover; }
    CControlUI* get_capture() const { return m_capture; }
    CUIPoint get_last_mouse() const { return m_last_mouse; }
    void forget_control(CControlUI* control);
    void add_delayed_cleanup(CControlUI* control);
    int delayed_cleanup_count() const { return m_delayed_cleanup.size(); }

    // Lookups.
    CControlUI* find_control_by_name(const wchar_t* name) const;
    CControlUI* find_control_at(CUIPoint point) const;
    CUIPtrArray* find_controls_by_class(const wchar_t* class_name, CControlUI* root = nullptr);
    CUIPtrArray* get_option_group(const wchar_t* name);
    bool add_option_group(const wchar_t* name, CControlUI* option);
    void remove_option_group(const wchar_t* name, CControlUI* option);
    void remove_all_option_groups();

    // Listeners and lists.
    bool add_notifier(INotifyUI* notifier);
    bool remove_notifier(INotifyUI* notifier);
    bool add_pre_message_filter(IMessageFilterUI* filter);
    bool remove_pre_message_filter(IMessageFilterUI* filter);
    bool add_message_filter(IMessageFilterUI* filter);
    bool remove_message_filter(IMessageFilterUI* filter);
    bool add_translate_accelerator(ITranslateAccelerator* translator);
    bool remove_translate_accelerator(ITranslateAccelerator* translator);
    bool add_post_paint(CControlUI* control);
    bool remove_post_paint(CControlUI* control);
    bool add_native_window(CControlUI* control, HWND window);
    bool remove_native_window(HWND window);

    // Repaint and layout.
    void invalidate(CUIRect rect);
    void invalidate_all();
    void need_update() { m_update_needed = true; }
    bool is_update_needed() const { return m_update_needed; }
    void set_is_painting(bool b) { m_is_painting = b; }
    bool is_painting() const { return m_is_painting; }
    const CUIRect& get_layered_update() const { return m_layered_update; }

    // Lays the tree out when due (sending "windowinit" the first time) and paints the whole
    // client area into a 32-bit bottom-up DIB of the client size selected into dc, with the
    // alpha the window would show (repaired for a layered window, opaque otherwise).
    bool render_frame(HDC dc, uint32_t* bits, int width, int height);

    // Timers.
    bool set_timer(CControlUI* control, UINT_PTR id, UINT elapse_ms);
    bool kill_timer(CControlUI* control, UINT_PTR id);
    void kill_timers_of(CControlUI* control);
    void remove_all_timers();
    int timer_count() const { return m_timers.size(); }
    const TimerRecord* timer_at(int i) const { return static_cast<const TimerRecord*>(m_timers.get_at(i)); }

    // Notifications.
    void send_notify(CControlUI* control, const wchar_t* name, uintptr_t wparam = 0, intptr_t lparam = 0,
                     bool async = false);
    void send_notify(UINotify& msg, bool async = false);
    void set_virtual_wnd_used(bool b = true) { m_virtual_wnd_used = b; }
    bool is_virtual_wnd_used() const { return m_virtual_wnd_used; }

    // Window settings.
    void set_initial_size(int cx, int cy);
    CUISize get_initial_size() const { return m_initial_size; }
    void set_sizebox(CUIRect rect) { m_sizebox = rect; }
    CUIRect get_sizebox() const;
    void set_caption_rect(CUIRect rect) { m_caption = rect; }
    CUIRect get_caption_rect() const;
    void set_round_corner(int cx, int cy) { m_round_corner = CUISize(cx, cy); }
    CUISize get_round_corner() const;
    void set_min_info(int cx, int cy) { m_min_info = CUISize(cx, cy); }
    CUISize get_min_info() const;
    void set_max_info(int cx, int cy) { m_max_info = CUISize(cx, cy); }
    CUISize get_max_info() const;
    void set_show_update_rect(bool b) { m_show_update_rect = b; }
    void set_opacity(uint8_t alpha);
    uint8_t get_opacity() const { return m_opacity; }
    void set_layered(bool b);
    bool is_layered() const { return m_layered; }
    void set_layered_opacity(uint8_t alpha);
    void set_layered_image(const wchar_t* image);
    const CUIString& get_layered_image() const { return m_layered_image_string; }
    void set_no_activate(bool b) { m_no_activate = b; }
    bool is_no_activate() const { return m_no_activate; }
    void set_use_gdiplus_text(bool b) { m_use_gdiplus_text = b; }
    bool is_use_gdiplus_text() const { return m_use_gdiplus_text; }
    void set_text_rendering_hint(int n) { m_text_rendering_hint = n; }
    int get_text_rendering_hint() const { return m_text_rendering_hint; }
    void set_hover_time(int ms) { m_hover_time = ms; }
    int get_hover_time() const { return m_hover_time; }
    void set_scale_dpi(int dpi);
    int get_scale_percent() const { return m_scale_percent; }
    int scale(int value) const { return m_scale_percent == 100 ? value : MulDiv(value, m_scale_percent, 100); }
    void add_window_custom_attribute(const wchar_t* name, const wchar_t* value);
    const wchar_t* get_window_custom_attribute(const wchar_t* name) const;
    void remove_all_window_custom_attributes();

    // Draw specs (parsed image strings) of this window.
    const ImageDrawSpec* get_draw_spec(const wchar_t* draw, const wchar_t* modify);
    void remove_all_draw_specs()
    {
        m_draw_specs.remove_all();
        m_text_cache.clear();
    }
    CTextCache& text_cache() { return m_text_cache; }

    // Images, fonts and default colours of this window.
    const ImageRecord* get_image_ex(const wchar_t* name, const wchar_t* type, uint32_t mask, bool adjust = false,
                                    HINSTANCE module = nullptr);
    // The bitmap the renderer draws for an image name (loaded on first use); false when missing.
    bool lookup_image(const wchar_t* name, const wchar_t* type, uint32_t mask, HINSTANCE module, ImageView& out);
    const ImageRecord* add_image(const wchar_t* name, const wchar_t* type, uint32_t mask, bool adjust = false,
                                 bool shared = false, HINSTANCE module = nullptr);
    HFONT add_font(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared = false);
    void set_default_font(const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared = false);
    void import_font_file(const wchar_t* name);
    HFONT get_font(int id);
    int get_font_height(int id);
    uint32_t get_default_font_color() const { return m_resources.default_font_color(); }
    void set_default_font_color(uint32_t c) { m_resources.set_default_font_color(c, false); }
    uint32_t get_default_disabled_color() const { return m_resources.default_disabled_color(); }
    void set_default_disabled_color(uint32_t c) { m_resources.set_default_disabled_color(c, false); }
    uint32_t get_default_link_font_color() const { return m_resources.default_link_font_color(); }
    void set_default_link_font_color(uint32_t c) { m_resources.set_default_link_font_color(c, false); }
    uint32_t get_default_link_hover_font_color() const { return m_resources.default_link_hover_font_color(); }
    void set_default_link_hover_font_color(uint32_t c) { m_resources.set_default_link_hover_font_color(c, false); }
    uint32_t get_default_selected_back_color() const { return m_resources.default_selected_bk_color(); }
    void set_default_selected_back_color(uint32_t c) { m_resources.set_default_selected_bk_color(c, false); }
    CWindowResourceCache& resources() { return m_resources; }
    // The skin's "shadow..." window attributes; false for a name that is not one of them.
    bool apply_shadow_attribute(const wchar_t* name, const wchar_t* value);

    // Styles and default attribute lists (skin builder).
    void add_style(const wchar_t* name, const wchar_t* list, bool shared = false);
    const wchar_t* get_style(const wchar_t* name) const;
    void remove_all_styles(bool shared = false);
    void add_default_attribute_list(const wchar_t* class_name, const wchar_t* list, bool shared = false);
    const wchar_t* get_default_attribute_list(const wchar_t* class_name) const;
    void remove_all_default_attribute_lists(bool shared = false);
    CUIString get_resource_text(const wchar_t* key) const;

    // Input and focus.
    bool message_handler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    bool pre_message_handler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    static bool translate_message(const MSG* msg);
    bool translate_accelerator(MSG* msg);
    void set_focus(CControlUI* control);
    bool set_next_tab_control(bool forward = true);
    void set_focus_needed(CControlUI* control);
    static uint16_t get_key_state();

    // The window's drop shadow, made on first use.
    CShadowUI& get_shadow();

    static int manager_count();
    static CPaintManagerUI* manager_at(int i);

private:
    bool handle_paint();
    void handle_async();
    void handle_timer(WPARAM wparam, LPARAM lparam);
    void handle_mouse_move(WPARAM wparam, LPARAM lparam);
    void deliver(CControlUI* control, int type, WPARAM wparam, LPARAM lparam, CUIPoint mouse,
                 uint16_t key_state, CControlUI* sender = nullptr, wchar_t key = 0);
    void repair_alpha(const CUIRect& rect);
    void delete_offscreen();
    void post_async();
    void release_resources();
    bool resolve_layered_functions();

    CUIString m_name;
    HWND m_window = nullptr;
    HDC m_paint_dc = nullptr;
    HDC m_offscreen_dc = nullptr;
    HDC m_background_dc = nullptr;
    HBITMAP m_offscreen_bitmap = nullptr;
    uint32_t* m_offscreen_bits = nullptr;   // bottom-up rows of the client size
    HBITMAP m_background_bitmap = nullptr;
    uint32_t* m_background_bits = nullptr;
    HWND m_tooltip_window = nullptr;
    uint8_t m_tooltip_info[96] = {};        // TOOLINFOW of the shown tool (48 bytes on 32-bit)
    int m_hover_time = 400;
    bool m_no_activate = false;
    bool m_show_update_rect = false;
    CControlUI* m_root = nullptr;
    CControlUI* m_focus = nullptr;
    CControlUI* m_hover = nullptr;
    CControlUI* m_capture = nullptr;
    CControlUI* m_key_pressed = nullptr;
    CUIPoint m_last_mouse{-1, -1};
    CUISize m_min_info, m_max_info, m_initial_size;
    CUIRect m_sizebox;
    CUISize m_round_corner;
    CUIRect m_caption;
    uint32_t m_timer_counter = 4096;
    bool m_first_layout = true;
    bool m_update_needed = false;
    bool m_focus_needed = false;
    bool m_offscreen_paint = true;
    uint8_t m_opacity = 255;
    bool m_layered_requested = false;
    bool m_layered = false;
    bool m_layered_changed = false;
    CUIRect m_layered_update;
    CUIString m_layered_image_string;
    ImageDrawSpec m_layered_image;
    bool m_mouse_tracking = false;
    bool m_mouse_captured = false;
    bool m_is_painting = false;
    bool m_virtual_wnd_used = false;
    bool m_async_posted = false;
    bool m_in_cleanup = false;         // deleting the delayed-cleanup list
    CUIPtrArray m_notifiers;
    CUIPtrArray m_timers;
    CUIPtrArray m_translate_accelerators;
    CUIPtrArray m_pre_message_filters;
    CUIPtrArray m_message_filters;
    CUIPtrArray m_post_paint_controls;
    CUIPtrArray m_native_windows;
    CUIPtrArray m_native_window_controls;
    CUIPtrArray m_delayed_cleanup;
    CUIPtrArray m_async_notifications;
    CUIPtrArray m_found_controls;
    CUIPtrArray m_mouse_leave_controls;
    CUIStringMap m_names;
    CUIStringMap m_window_attributes;   // name -> heap CUIString
    CUIStringMap m_option_groups;       // group -> heap CUIPtrArray
    CUIStringMap m_styles;              // name -> heap CUIString
    CUIStringMap m_default_attributes;  // class name -> heap CUIString
    CDrawSpecTable m_draw_specs;
    CTextCache m_text_cache;            // GDI+ texts already rasterised
    CWindowResourceCache m_resources;
    CShadowUI* m_shadow = nullptr;   // images, fonts, default colours
    int m_scale_percent = 100;
    bool m_use_gdiplus_text = false;
    int m_text_rendering_hint = 0;
    ULONG_PTR m_gdiplus_token = 0;
};

} // namespace Lomar
