// CVXObjectWnd: the base of the installer's windows: skin and class names set by the
// subclass, timer messages routed to one hook, centring on the owner or the primary monitor.
#pragma once

#include "VxBase.h"
#include "core/UIRect.h"
#include "core/UIString.h"
#include "window/WindowImplBase.h"

#include <windows.h>

class CVXObjectWnd : public Lomar::WindowImplBase, public VxBase
{
public:
    CVXObjectWnd() = default;
    ~CVXObjectWnd() override = default;

    const wchar_t* get_window_class_name() const override { return window_class_name.data(); }
    const wchar_t* get_skin_file() override { return skin_file_name.data(); }
    LRESULT handle_custom_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

    void Center() { CenterInArea(Lomar::CUIRect(), Lomar::CUIPoint(0, 0)); }
    void CenterInArea(const Lomar::CUIRect& area, Lomar::CUIPoint offset);
    virtual LRESULT OnWindowTimer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

protected:
    Lomar::CUIString skin_file_name;
    Lomar::CUIString window_class_name;
};

// The whole rectangle of the primary monitor as the monitor enumeration reports it
// (taskbar included); empty when none of the first 63 monitors is the primary one.
Lomar::CUIRect PrimaryMonitorRect();
