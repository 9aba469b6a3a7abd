// WindowImplBase: a skinned top-level window: skin built on creation, borderless frame with
// caption and resize areas, rounded region, system buttons, the rest handed to the manager.
#pragma once

#include <windows.h>

#include "builder/DialogBuilderCallback.h"
#include "resources/ResourceCatalog.h"
#include "window/NotifyInterfaces.h"
#include "window/NotifyPump.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace Lomar {

class CControlUI;

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText
{
public:
    WindowImplBase() = default;

    const wchar_t* get_window_class_name() const override = 0;
    const wchar_t* get_super_class_name() const override;
    UINT get_class_style() const override;
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    void on_final_message(HWND window) override;
    ~WindowImplBase() override;

    virtual void reserved_hook();
    virtual void init_window();
    virtual void on_click(UINotify& msg);
    virtual bool is_in_static_control(CControlUI* control);
    virtual const wchar_t* get_skin_type();
    virtual const wchar_t* get_skin_file() = 0;
    virtual const wchar_t* get_manager_name();
    virtual LRESULT response_default_key_event(WPARAM wparam);
    virtual LRESULT on_close(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_destroy(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_nc_activate(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_nc_calc_size(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_nc_paint(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_nc_hit_test(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_get_min_max_info(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_mouse_wheel(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_mouse_hover(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_size(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_char(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_sys_command(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_create(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_key_down(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_kill_focus(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_set_focus(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_lbutton_down(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_lbutton_up(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT on_mouse_move(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LRESULT handle_custom_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
    virtual LONG get_style();

    const NotifyMap* get_message_map() const override;
    void notify(UINotify& msg) override;
    LRESULT message_handler(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
    CControlUI* create_control(const wchar_t* element_name) override;
    const wchar_t* query(const wchar_t* id, int type) override;   // texts by id: none here

    CPaintManagerUI& manager() { return m_manager; }

    static const NotifyMap s_message_map;

protected:
    CPaintManagerUI m_manager;
};

// The text of the box shown when a window's skin cannot be built.
const wchar_t* skin_load_failure_prefix();

} // namespace Lomar
